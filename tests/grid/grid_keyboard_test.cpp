#include <QInputMethodEvent>
#include <QLineEdit>

#include "grid_in_place_edit.h"
#include "grid_input_fixture.h"
#include "grid_keys.h"

namespace {

using GridKeyboard = GridInputTest;

TEST_F(GridKeyboard, KeysMoveTheFocusAsTheTableSays) {
    // Row 5 and column 3 are hidden; the viewport shows rows 1 to 9.
    grid->SetRowHeight(5, 0);
    grid->SetColumnWidth(3, 0);
    grid->SetRowCount(30);
    for (int row = 12; row < 30; ++row) grid->SetRowHeight(row, kCellHeight);
    struct Case {
        CCellID from;
        int key;
        Qt::KeyboardModifiers modifiers;
        CCellID expected;
    };
    const Case cases[] = {
        {{4, 2}, Qt::Key_Down, {}, {6, 2}},
        {{6, 2}, Qt::Key_Up, {}, {4, 2}},
        {{1, 2}, Qt::Key_Up, {}, {1, 2}},  // never into the fixed row
        {{2, 2}, Qt::Key_Right, {}, {2, 4}},
        {{2, 4}, Qt::Key_Left, {}, {2, 2}},
        {{2, 1}, Qt::Key_Left, {}, {2, 1}},  // never into the fixed column
        {{2, 5}, Qt::Key_Right, {}, {2, 5}},
        {{2, 4}, Qt::Key_Tab, {}, {2, 5}},
        {{2, 5}, Qt::Key_Tab, {}, {3, 1}},  // wraps to the next row
        {{4, 5}, Qt::Key_Tab, {}, {6, 1}},  // over the hidden row
        {{3, 1}, Qt::Key_Backtab, Qt::ShiftModifier, {2, 5}},
        {{4, 4}, Qt::Key_Home, {}, {4, 1}},
        {{4, 2}, Qt::Key_End, {}, {4, 5}},
        {{4, 4}, Qt::Key_Home, Qt::ControlModifier, {1, 1}},
        {{4, 2}, Qt::Key_End, Qt::ControlModifier, {29, 5}},
        {{1, 2}, Qt::Key_PageUp, {}, {1, 2}},  // the top did not move: the first row
    };
    for (const Case& c : cases) {
        grid->SetFocusCell(c.from.row, c.from.col);
        QTest::keyClick(grid, static_cast<Qt::Key>(c.key), c.modifiers);
        EXPECT_EQ(grid->GetFocusCell(), c.expected)
            << "from " << c.from.row << "," << c.from.col << " key " << std::hex << c.key;
        EXPECT_TRUE(grid->IsCellVisible(c.expected.row, c.expected.col));
    }

    // A page down moves the focus by as many rows as the top row moved.
    grid->OnVScroll(GridScroll::Top);
    grid->SetFocusCell(3, 2);
    int top = grid->GetTopLeftNonFixedCell().row;
    QTest::keyClick(grid, Qt::Key_PageDown);
    int moved = grid->GetTopLeftNonFixedCell().row - top;
    EXPECT_GT(moved, 0);
    EXPECT_EQ(grid->GetFocusCell(), (CCellID{3 + moved, 2}));
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(grid, Qt::Key_PageDown);
    EXPECT_EQ(grid->GetFocusCell(), (CCellID{29, 5}));
}

TEST_F(GridKeyboard, TabPastTheLastCellGoesToTheNextControl) {
    auto* after = new QLineEdit(&window);
    window.layout()->addWidget(after);
    auto* before = new QLineEdit(&window);
    after->show();
    before->show();
    QWidget::setTabOrder(before, grid);
    QWidget::setTabOrder(grid, after);

    grid->setFocus();
    grid->SetFocusCell(11, 4);
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(grid->GetFocusCell(), (CCellID{11, 5}));
    EXPECT_TRUE(grid->hasFocus());
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_TRUE(after->hasFocus());
    EXPECT_EQ(grid->GetFocusCell(), (CCellID{11, 5}));

    grid->setFocus();
    grid->SetFocusCell(1, 1);
    QTest::keyClick(grid, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(before->hasFocus());
}

TEST_F(GridKeyboard, ShiftArrowsGrowTheSelectionFromTheStartCell) {
    ClickCell(3, 2);
    QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(grid, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(grid->GetSelectedCellRange(), (CCellRange{3, 2, 4, 3}));
    QTest::keyClick(grid, Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(grid, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(grid->GetSelectedCellRange(), (CCellRange{2, 2, 3, 3}));
    // Without Shift the selection starts again at the new focus.
    QTest::keyClick(grid, Qt::Key_Left);
    EXPECT_EQ(grid->GetSelectedCellRange(), (CCellRange{2, 2, 2, 2}));
}

TEST_F(GridKeyboard, AMoveTellsTheOwnerBeforeAndAfter) {
    grid->SetFocusCell(3, 2);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(sink.notes, (std::vector<Notification>{{GridNotify::SelectionChanging, 4, 2},
                                                    {GridNotify::SelectionChanged, 4, 2}}));
}

TEST_F(GridKeyboard, DeleteClearsTheSelectedCellsThatMayBeEdited) {
    grid->SetItemState(2, 3, grid->GetCellState(2, 3) | GridCellState::ReadOnly);
    sink.answer = [](int code, int row, int col) {
        return code == GridNotify::BeginEdit && row == 3 && col == 2 ? -1 : 0;
    };
    grid->SetSelectedRange(2, 2, 3, 3);
    grid->SetFocusCell(2, 2);
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(grid->GetCellText(2, 2), "");
    EXPECT_EQ(grid->GetCellText(3, 3), "");
    EXPECT_EQ(grid->GetCellText(2, 3), "2,3");  // read-only
    EXPECT_EQ(grid->GetCellText(3, 2), "3,2");  // refused by the owner
    EXPECT_EQ(grid->GetCellText(4, 2), "4,2");  // not selected
    EXPECT_TRUE(grid->GetCell(2, 2)->IsModified());

    grid->SetEditable(false);
    grid->SetSelectedRange(4, 2, 4, 2);
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(grid->GetCellText(4, 2), "4,2");
}

TEST_F(GridKeyboard, KeysAndTypingOpenAnEdit) {
    struct Case {
        int key;
        QString text;
        QString edited;   // the edit's text as it opens
        QString selected;
        unsigned editKey;
    };
    const Case cases[] = {
        {Qt::Key_F2, "", "4,2", "", GridKey::LeftButton},
        {Qt::Key_7, "7", "7", "", GridKey::Typed(U'7')},
        // Its code is Left's: typed, it is still a character.
        {Qt::Key_Percent, "%", "%", "", GridKey::Typed(U'%')},
        {Qt::Key_Space, " ", "4,2", "4,2", GridKey::Typed(U' ')},
        {Qt::Key_Backspace, "\b", "4,", "", GridKey::Typed(U'\b')},
        {Qt::Key_Return, "\r", "4,2", "", GridKey::Typed(U'\r')},
    };
    for (const Case& c : cases) {
        editKeys.clear();
        grid->SetFocusCell(4, 2);
        grid->setFocus();
        QTest::keyClick(grid, static_cast<Qt::Key>(c.key), {}, -1);
        if (!c.text.isEmpty()) {
            // keyClick sends no text for these keys on its own.
            QKeyEvent press(QEvent::KeyPress, c.key, {}, c.text);
            if (!EditOf(4, 2)) QApplication::sendEvent(grid, &press);
        }
        CInPlaceEdit* edit = EditOf(4, 2);
        ASSERT_NE(edit, nullptr) << c.text.toStdString();
        EXPECT_EQ(edit->text(), c.edited) << c.text.toStdString();
        EXPECT_EQ(edit->selectedText(), c.selected) << c.text.toStdString();
        EXPECT_EQ(editKeys, std::vector<unsigned>{c.editKey});
        QTest::keyClick(edit, Qt::Key_Escape);
        EXPECT_EQ(grid->GetCellText(4, 2), "4,2");
    }

    // Text an input method commits opens the edit as typing does.
    grid->SetFocusCell(4, 2);
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("\xCE\xA9\xCE\xB1"));
    QApplication::sendEvent(grid, &commit);
    ASSERT_NE(EditOf(4, 2), nullptr);
    EXPECT_EQ(EditOf(4, 2)->text(), QString::fromUtf8("\xCE\xA9\xCE\xB1"));
}

}  // namespace
