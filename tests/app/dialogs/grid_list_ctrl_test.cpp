#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QSignalSpy>

#include "grid_list_ctrl.h"
#include "owner_draw_geometry.h"
#include "qt_colors.h"

namespace {

QStringList Column(const CGridListCtrl& grid, int column) {
    QStringList texts;
    for (int row = 0; row < grid.rowCount(); ++row) {
        texts << (grid.item(row, column) != nullptr ? grid.item(row, column)->text() : QString());
    }
    return texts;
}

void PressAndRelease(QWidget& widget, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, key == Qt::Key_A ? "a" : "");
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, key == Qt::Key_A ? "a" : "");
    QApplication::sendEvent(&widget, &press);
    QApplication::sendEvent(&widget, &release);
}

TEST(CGridListCtrl, NumberedRowsCountFromOneAlsoAfterClearing) {
    CGridListCtrl grid;
    grid.setColumnCount(3);
    for (int round = 0; round < 2; ++round) {
        for (int answer : {0, 1, 2}) EXPECT_EQ(grid.AddNumberedRow(), answer);
        EXPECT_EQ(Column(grid, 0), QStringList({"1", "2", "3"}));
        grid.setRowCount(0);
    }
    grid.clear();
    EXPECT_EQ(grid.AddNumberedRow(), 0);
}

TEST(CGridListCtrl, AfterDeletingRowsNewOnesGoAtTheEnd) {
    CGridListCtrl grid;
    grid.setColumnCount(2);
    for (int i = 0; i < 4; ++i) grid.AddNumberedRow();
    grid.selectRow(0);
    grid.selectionModel()->select(grid.model()->index(2, 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    grid.DeleteSelectedItems();
    EXPECT_EQ(Column(grid, 0), QStringList({"2", "4"}));
    EXPECT_EQ(grid.AddNumberedRow(), 4);
    EXPECT_EQ(Column(grid, 0), QStringList({"2", "4", "5"}));
}

TEST(CGridListCtrl, TextIsSetOnlyWhenItDiffers) {
    CGridListCtrl grid;
    grid.setColumnCount(2);
    grid.AddNumberedRow();
    EXPECT_TRUE(grid.SetItemTextIfChanged(0, 1, "1.000"));
    QSignalSpy changes(&grid, &QTableWidget::itemChanged);
    EXPECT_TRUE(grid.SetItemTextIfChanged(0, 1, "1.000"));
    EXPECT_EQ(changes.count(), 0);
    EXPECT_TRUE(grid.SetItemTextIfChanged(0, 1, "1.0"));
    EXPECT_EQ(grid.item(0, 1)->text(), "1.0");
    EXPECT_EQ(changes.count(), 1);
    EXPECT_FALSE(grid.SetItemTextIfChanged(1, 0, "x"));
    EXPECT_FALSE(grid.SetItemTextIfChanged(0, 2, "x"));
}

TEST(CGridListCtrl, ControlASelectsEveryRowAndAAloneDoesNot) {
    CGridListCtrl grid;
    grid.setColumnCount(2);
    for (int i = 0; i < 5; ++i) grid.AddNumberedRow();
    struct Case {
        Qt::KeyboardModifiers modifiers;
        int selected;
    };
    for (const Case& c : {Case{Qt::NoModifier, 0}, Case{Qt::ControlModifier, 5}}) {
        grid.clearSelection();
        PressAndRelease(grid, Qt::Key_A, c.modifiers);
        EXPECT_EQ(grid.selectionModel()->selectedRows().size(), c.selected);
    }
    EXPECT_TRUE(grid.currentIndex().isValid());
}

// A grid 300 pixels wide whose third column reaches past its right edge.
struct WideRowGrid {
    CGridListCtrl grid;
    WideRowGrid() {
        grid.setColumnCount(3);
        grid.setHorizontalHeaderLabels({"No.", "Name", "Voltage"});
        grid.resize(300, 200);
        grid.horizontalHeader()->resizeSection(0, 100);
        grid.horizontalHeader()->resizeSection(1, 100);
        grid.horizontalHeader()->resizeSection(2, 150);
        for (int i = 0; i < 3; ++i) {
            grid.AddNumberedRow();
            grid.SetItemTextIfChanged(i, 1, "Bus");
            grid.SetItemTextIfChanged(i, 2, "110.000");
        }
        grid.show();
    }
};

// Pixels unlike the background inside a cell, its border lines left out.
int Ink(const QImage& image, QRect cell, QRgb background) {
    int count = 0;
    for (int y = cell.top() + 1; y < cell.bottom(); ++y) {
        for (int x = cell.left() + 1; x < cell.right() && x < image.width(); ++x) count += image.pixel(x, y) != background;
    }
    return count;
}

TEST(CGridListCtrl, ACellPastTheRightEdgeStaysBlank) {
    WideRowGrid fixture;
    CGridListCtrl& grid = fixture.grid;
    QImage image = grid.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QRgb background = image.pixel(image.width() - 2, image.height() - 2);
    QRect first = grid.visualRect(grid.model()->index(1, 0));
    QRect second = grid.visualRect(grid.model()->index(1, 1));
    QRect third = grid.visualRect(grid.model()->index(1, 2));
    ASSERT_FALSE(GridCellShown(third, grid.viewport()->width()));
    EXPECT_GT(Ink(image, first, background), 0);
    EXPECT_GT(Ink(image, second, background), 0);
    EXPECT_EQ(Ink(image, third, background), 0);
    // The borders: the bottom and right line of each cell.
    QRgb line = SystemQColor(SystemColor::WindowText, grid.palette()).rgb();
    EXPECT_EQ(image.pixel(first.center().x(), first.bottom()), line);
    EXPECT_EQ(image.pixel(first.right(), first.center().y()), line);
}

TEST(CGridListCtrl, SelectedRowsGetTheHighlightBar) {
    WideRowGrid fixture;
    CGridListCtrl& grid = fixture.grid;
    grid.selectRow(1);
    QImage image = grid.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QRgb highlight = SystemQColor(SystemColor::Highlight, grid.palette()).rgb();
    QRect selected = grid.visualRect(grid.model()->index(1, 0));
    QRect other = grid.visualRect(grid.model()->index(2, 0));
    EXPECT_EQ(image.pixel(selected.left() + 1, selected.top() + 1), highlight);
    EXPECT_EQ(image.pixel(selected.left(), selected.top() + 1), image.pixel(other.left(), other.top() + 1));
    EXPECT_NE(image.pixel(other.left() + 1, other.top() + 1), highlight);
}

TEST(CGridListCtrl, ACellAskingForTheRightIsDrawnThere) {
    CGridListCtrl grid;
    grid.resize(400, 150);
    grid.setColumnCount(1);
    grid.horizontalHeader()->resizeSection(0, 300);
    for (int row = 0; row < 2; ++row) {
        grid.AddNumberedRow();
        grid.SetItemTextIfChanged(row, 0, "0.250000");
    }
    grid.item(0, 0)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid.show();
    QImage image = grid.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QRgb background = image.pixel(image.width() - 2, image.height() - 2);
    auto halves = [&](int row) {
        QRect cell = grid.visualRect(grid.model()->index(row, 0));
        QRect left = cell;
        left.setRight(cell.center().x());
        QRect right = cell;
        right.setLeft(cell.center().x());
        return std::pair{Ink(image, left, background), Ink(image, right, background)};
    };
    auto [rightAlignedLeft, rightAlignedRight] = halves(0);
    EXPECT_EQ(rightAlignedLeft, 0);
    EXPECT_GT(rightAlignedRight, 0);
    auto [plainLeft, plainRight] = halves(1);
    EXPECT_GT(plainLeft, 0);
    EXPECT_EQ(plainRight, 0);
}

// A column whose heading sits at the right draws its cells there too, so
// the numbers stand under their titles.
TEST(CGridListCtrl, CellsFollowTheirHeadingsAlignment) {
    CGridListCtrl grid;
    grid.resize(400, 150);
    grid.setColumnCount(1);
    auto* heading = new QTableWidgetItem("Qgen [MVAr]");
    heading->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid.setHorizontalHeaderItem(0, heading);
    grid.horizontalHeader()->resizeSection(0, 300);
    grid.AddNumberedRow();
    grid.SetItemTextIfChanged(0, 0, "0.250");
    grid.show();
    QImage image = grid.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QRgb background = image.pixel(image.width() - 2, image.height() - 2);
    QRect cell = grid.visualRect(grid.model()->index(0, 0));
    QRect left = cell;
    left.setRight(cell.center().x());
    QRect right = cell;
    right.setLeft(cell.center().x());
    EXPECT_EQ(Ink(image, left, background), 0);
    EXPECT_GT(Ink(image, right, background), 0);
}

}  // namespace
