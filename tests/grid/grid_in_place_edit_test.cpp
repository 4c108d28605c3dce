#include <QDialog>
#include <QPushButton>

#include "grid_in_place_edit.h"
#include "grid_input_fixture.h"
#include "grid_keys.h"

namespace {

using InPlaceEdit = GridInputTest;

CInPlaceEdit* OpenByTyping(InputGrid* grid, int row, int col, const char* text) {
    grid->SetFocusCell(row, col);
    grid->setFocus();
    QTest::keyClicks(grid, text);
    return grid->GetCell(row, col)->GetEditWnd();
}

TEST_F(InPlaceEdit, TheEndingKeyIsReportedAndTheTextStoredOrRestored) {
    struct Case {
        int key;
        unsigned reported;
        QString stored;
        CCellID focusAfter;
        bool editsOn;
    };
    const Case cases[] = {
        {Qt::Key_Escape, GridKey::Escape, "3,2", {3, 2}, false},
        {Qt::Key_Return, GridKey::Enter, "typed", {3, 2}, false},
        {Qt::Key_Tab, GridKey::Tab, "typed", {3, 3}, true},
        {Qt::Key_Down, GridKey::Down, "typed", {4, 2}, true},
    };
    for (const Case& c : cases) {
        grid->SetCellText(3, 2, "3,2");
        grid->ends.clear();
        sink.notes.clear();
        CInPlaceEdit* edit = OpenByTyping(grid, 3, 2, "typed");
        ASSERT_NE(edit, nullptr);
        EXPECT_TRUE(edit->hasFocus());
        QTest::keyClick(edit, static_cast<Qt::Key>(c.key));
        ASSERT_EQ(grid->ends.size(), 1u) << c.key;
        EXPECT_EQ(grid->ends[0].key, c.reported);
        EXPECT_EQ(grid->ends[0].row, 3);
        EXPECT_EQ(grid->GetCellText(3, 2), c.stored);
        EXPECT_FALSE(grid->GetCell(3, 2)->IsEditing());
        EXPECT_EQ(sink.Of(GridNotify::EndEdit).size(), c.stored == "3,2" ? 0u : 1u);
        EXPECT_EQ(grid->GetFocusCell(), c.focusAfter);
        // Tab and the arrows edit on in the next cell.
        CInPlaceEdit* next = EditOf(c.focusAfter.row, c.focusAfter.col);
        EXPECT_EQ(next != nullptr, c.editsOn) << c.key;
        if (next) {
            EXPECT_EQ(next->selectedText(), next->text());
            EXPECT_TRUE(next->hasFocus());
            grid->EndEditing();
        }
    }
}

TEST_F(InPlaceEdit, ArrowsMoveTheCaretInAnEditTheMouseOpenedAndCtrlArrowsEndIt) {
    ClickCell(3, 2);
    ClickCell(3, 2);
    CInPlaceEdit* edit = EditOf(3, 2);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->cursorPosition(), 3);
    EXPECT_TRUE(edit->selectedText().isEmpty());
    QTest::keyClick(edit, Qt::Key_Left);
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->cursorPosition(), 2);
    EXPECT_TRUE(grid->ends.empty());
    EXPECT_EQ(grid->GetFocusCell(), (CCellID{3, 2}));

    QTest::keyClick(edit, Qt::Key_Right, Qt::ControlModifier);
    ASSERT_EQ(grid->ends.size(), 1u);
    EXPECT_EQ(grid->ends[0].key, GridKey::Right);
    EXPECT_EQ(grid->GetFocusCell(), (CCellID{3, 3}));
}

TEST_F(InPlaceEdit, LosingTheFocusEndsItWithKeyZero) {
    CInPlaceEdit* edit = OpenByTyping(grid, 3, 2, "x");
    ASSERT_NE(edit, nullptr);
    ClickCell(6, 4);
    ASSERT_EQ(grid->ends.size(), 1u);
    EXPECT_EQ(grid->ends[0].key, 0u);
    EXPECT_EQ(grid->GetCellText(3, 2), "x");
    EXPECT_EQ(grid->GetFocusCell(), (CCellID{6, 4}));
    // A second end of the same edit does nothing.
    edit->EndEdit();
    EXPECT_EQ(grid->ends.size(), 1u);
}

TEST_F(InPlaceEdit, ItGrowsWithItsTextUpToTheViewportsEdge) {
    CInPlaceEdit* edit = OpenByTyping(grid, 3, 2, "a");
    ASSERT_NE(edit, nullptr);
    int cellWidth = edit->width();
    EXPECT_EQ(cellWidth, kCellWidth - 1);
    QTest::keyClicks(edit, "bcdefghijklmno");
    int grown = edit->width();
    EXPECT_GT(grown, cellWidth);
    EXPECT_EQ(edit->geometry().left(), InCell(3, 2, 0).x());
    EXPECT_GE(grown, QFontMetrics(edit->font()).horizontalAdvance(edit->text()));
    QTest::keyClicks(edit, QString(80, 'w'));
    EXPECT_EQ(edit->geometry().left() + edit->width(), Viewport()->width());
}

TEST_F(InPlaceEdit, ADialogAroundTheGridSeesNeitherEnterNorEscNorAltKeys) {
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* dialogGrid = new InputGrid(5, 3, 1, 1);
    auto* ok = new QPushButton("&OK", &dialog);
    ok->setDefault(true);
    int accepted = 0;
    QObject::connect(ok, &QPushButton::clicked, [&] { ++accepted; });
    layout->addWidget(dialogGrid);
    layout->addWidget(ok);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));

    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        CInPlaceEdit* edit = OpenByTyping(dialogGrid, 2, 1, "5");
        ASSERT_NE(edit, nullptr);
        QTest::keyClick(edit, Qt::Key_O, Qt::AltModifier);
        EXPECT_EQ(edit->text(), "5");
        QTest::keyClick(edit, key);
        EXPECT_TRUE(dialog.isVisible()) << key;
        EXPECT_EQ(dialog.result(), 0);
        EXPECT_EQ(accepted, 0);
        EXPECT_FALSE(dialogGrid->GetCell(2, 1)->IsEditing());
    }
    EXPECT_EQ(dialogGrid->ends.size(), 2u);
}

TEST_F(InPlaceEdit, AnEditWhoseCellGoesAwayClosesWithoutAReport) {
    CInPlaceEdit* edit = OpenByTyping(grid, 11, 2, "x");
    ASSERT_NE(edit, nullptr);
    QPointer<CInPlaceEdit> watched(edit);
    grid->SetRowCount(10);
    EXPECT_TRUE(grid->ends.empty());
    EXPECT_FALSE(watched && watched->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull());
}

}  // namespace
