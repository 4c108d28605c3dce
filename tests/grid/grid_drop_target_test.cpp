#include <gtest/gtest.h>

#include <QWidget>

#include "grid_ctrl.h"
#include "grid_drop_target.h"

namespace {

TEST(GridDropTarget, OneRegistrationAtATime) {
    CGridCtrl grid(3, 3);
    CGridDropTarget target;
    EXPECT_FALSE(grid.viewport()->acceptDrops());
    EXPECT_TRUE(target.Register(&grid));
    EXPECT_TRUE(grid.viewport()->acceptDrops());

    CGridCtrl other(3, 3);
    EXPECT_FALSE(target.Register(&other));
    EXPECT_TRUE(target.IsRegistered());
    EXPECT_TRUE(grid.viewport()->acceptDrops());
    EXPECT_FALSE(other.viewport()->acceptDrops());

    target.Revoke();
    EXPECT_FALSE(target.IsRegistered());
    EXPECT_FALSE(grid.viewport()->acceptDrops());
    EXPECT_TRUE(target.Register(&other));
    EXPECT_TRUE(other.viewport()->acceptDrops());
}

TEST(GridDropTarget, OnlyAGridCanRegister) {
    QWidget plain;
    CGridDropTarget target;
    EXPECT_FALSE(target.Register(&plain));
    EXPECT_FALSE(target.Register(nullptr));
    EXPECT_FALSE(target.IsRegistered());
    EXPECT_FALSE(plain.acceptDrops());
}

TEST(GridDropTarget, TheGridRegistersOnItsFirstSizeOnly) {
    CGridCtrl grid(3, 3);
    EXPECT_FALSE(grid.GetDropTarget().IsRegistered());
    grid.resize(200, 100);
    grid.show();
    EXPECT_TRUE(grid.GetDropTarget().IsRegistered());
    EXPECT_TRUE(grid.viewport()->acceptDrops());
    grid.resize(300, 150);
    EXPECT_TRUE(grid.GetDropTarget().IsRegistered());
}

TEST(GridDropTarget, ScrollingWhileDraggingCopiesUnderCtrl) {
    EXPECT_EQ(CGridDropTarget::OnDragScroll(Qt::ControlModifier), DropEffect::Copy);
    EXPECT_EQ(CGridDropTarget::OnDragScroll(Qt::ControlModifier | Qt::ShiftModifier), DropEffect::Copy);
    EXPECT_EQ(CGridDropTarget::OnDragScroll(Qt::NoModifier), DropEffect::Move);
    EXPECT_EQ(CGridDropTarget::OnDragScroll(Qt::ShiftModifier), DropEffect::Move);
}

}  // namespace
