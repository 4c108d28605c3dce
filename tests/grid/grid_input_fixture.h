#pragma once

// A grid shown in an active window, for the tests of its input: 12 rows by
// 6 columns with one fixed row and column, 60 x 20 pixel cells holding
// "row,col", an owner that records every notification, and cells that
// record the key that opened their edit.

#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include "grid_cell.h"
#include "grid_ctrl.h"
#include "grid_notify.h"

struct Notification {
    int code;
    int row;
    int col;
    friend bool operator==(const Notification&, const Notification&) = default;
};

class RecordingSink : public IGridNotifySink {
public:
    int notify(int code, int row, int column) override {
        notes.push_back({code, row, column});
        return answer ? answer(code, row, column) : 0;
    }
    std::vector<Notification> Of(int code) const {
        std::vector<Notification> found;
        for (const Notification& n : notes) {
            if (n.code == code) found.push_back(n);
        }
        return found;
    }

    std::vector<Notification> notes;
    std::function<int(int code, int row, int col)> answer;
};

// Keeps the key each Edit call was given.
class KeyRecordingCell : public CGridCell {
public:
    explicit KeyRecordingCell(std::vector<unsigned>& keys) : keys_(keys) {}
    bool Edit(int row, int col, Rect rect, QPoint point, unsigned key) override {
        keys_.push_back(key);
        return CGridCell::Edit(row, col, rect, point, key);
    }

private:
    std::vector<unsigned>& keys_;
};

class InputGrid : public CGridCtrl {
public:
    using CGridCtrl::CGridCtrl;
    using CGridCtrl::OnTimer;
    void OnEndInPlaceEdit(const GridEditEnd& end) override {
        ends.push_back(end);
        CGridCtrl::OnEndInPlaceEdit(end);
    }
    std::vector<GridEditEnd> ends;
};

constexpr int kCellWidth = 60;
constexpr int kCellHeight = 20;

class GridInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        grid = new InputGrid(0, 0, 0, 0);
        grid->SetCellFactory([this] { return std::make_unique<KeyRecordingCell>(editKeys); });
        grid->SetRowCount(12);
        grid->SetColumnCount(6);
        grid->SetFixedRowCount(1);
        grid->SetFixedColumnCount(1);
        grid->SetNotifySink(&sink);
        grid->setFrameShape(QFrame::NoFrame);
        for (int row = 0; row < grid->GetRowCount(); ++row) {
            grid->SetRowHeight(row, kCellHeight);
            for (int col = 0; col < grid->GetColumnCount(); ++col) {
                grid->SetCellText(row, col, QString("%1,%2").arg(row).arg(col));
            }
        }
        for (int col = 0; col < grid->GetColumnCount(); ++col) grid->SetColumnWidth(col, kCellWidth);
        layout->addWidget(grid);
        window.resize(400, 200);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        grid->setFocus();
        grid->ResetScrollBars();
        sink.notes.clear();
    }

    QWidget* Viewport() const { return grid->viewport(); }
    // A point inside the cell, `dx` pixels right of its left edge.
    QPoint InCell(int row, int col, int dx = kCellWidth / 2) const {
        Rect rect;
        grid->GetCellRect(row, col, &rect);
        return QPoint(rect.left + dx, rect.top + kCellHeight / 2);
    }
    void Click(QPoint point, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(Viewport(), Qt::LeftButton, modifiers, point);
    }
    void ClickCell(int row, int col, Qt::KeyboardModifiers modifiers = {}) { Click(InCell(row, col), modifiers); }
    // A move with the buttons given, as the window system sends it.
    void Move(QPoint point, Qt::MouseButtons buttons = Qt::NoButton) {
        QMouseEvent move(QEvent::MouseMove, point, Viewport()->mapToGlobal(point), Qt::NoButton, buttons, {});
        QApplication::sendEvent(Viewport(), &move);
    }
    void Send(QEvent::Type type, QPoint point, Qt::MouseButtons buttons) {
        QMouseEvent event(type, point, Viewport()->mapToGlobal(point), Qt::LeftButton, buttons, {});
        QApplication::sendEvent(Viewport(), &event);
    }
    // The open edit of a cell, or null.
    CInPlaceEdit* EditOf(int row, int col) const {
        CGridCellBase* cell = grid->GetCell(row, col);
        return cell ? cell->GetEditWnd() : nullptr;
    }

    // The owner and the keys outlive the window, whose closing may end an
    // edit.
    RecordingSink sink;
    std::vector<unsigned> editKeys;
    QWidget window;
    InputGrid* grid = nullptr;
};
