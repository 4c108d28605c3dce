#include <QClipboard>
#include <QMimeData>

#include "grid_input_fixture.h"

namespace {

// The fixture's cells hold "row,col", whose comma a paste would split; these
// tests give the cells they read plain names.
class GridClipboard : public GridInputTest {
protected:
    void SetUp() override {
        GridInputTest::SetUp();
        ResetTexts();
    }
    void ResetTexts() {
        for (int row = 1; row < grid->GetRowCount(); ++row) {
            for (int col = 1; col < grid->GetColumnCount(); ++col) {
                grid->SetCellText(row, col, QString("r%1c%2").arg(row).arg(col));
            }
        }
    }
    void SetTexts(int row, int col, const QStringList& rows) {
        for (int r = 0; r < rows.size(); ++r) {
            const QStringList fields = rows[r].split(' ');
            for (int c = 0; c < fields.size(); ++c) grid->SetCellText(row + r, col + c, fields[c]);
        }
    }
    QString Text(int row, int col) const { return grid->GetCellText(row, col); }
    void SetReadOnly(int row, int col) {
        grid->SetItemState(row, col, grid->GetCellState(row, col) | GridCellState::ReadOnly);
    }
    static std::unique_ptr<QMimeData> PlainText(const QByteArray& bytes) {
        auto data = std::make_unique<QMimeData>();
        data->setData("text/plain", bytes);
        return data;
    }
    bool Paste(int row, int col, const QByteArray& bytes, bool selectPasted = true) {
        return grid->PasteTextToGrid(row, col, PlainText(bytes).get(), selectPasted);
    }
};

TEST_F(GridClipboard, CopyGivesTabSeparatedRowsWithoutHiddenOnes) {
    SetTexts(2, 2, {"a b c", "d e f", "g h i"});
    struct Case {
        const char* name;
        int hiddenRow;
        int hiddenCol;
        QByteArray expected;
    };
    const Case cases[] = {
        {"all shown", -1, -1, QByteArray("a\tb\tc\nd\t\tf\ng\th\ti\0", 17)},
        {"hidden row", 3, -1, QByteArray("a\tb\tc\ng\th\ti\0", 12)},
        {"hidden column", -1, 3, QByteArray("a\tc\nd\tf\ng\ti\0", 12)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        grid->SetRowHeight(3, c.hiddenRow == 3 ? 0 : kCellHeight);
        grid->SetColumnWidth(3, c.hiddenCol == 3 ? 0 : kCellWidth);
        grid->SetSelectedRange(2, 2, 4, 4);
        grid->SetItemState(3, 3, grid->GetCellState(3, 3) & ~GridCellState::Selected);
        QByteArray bytes = grid->CopyTextBytes(grid->GetSelectedCellRange());
        EXPECT_EQ(bytes, c.expected);
        EXPECT_FALSE(bytes.contains('\r'));
        EXPECT_EQ(bytes.count('\0'), 1);
    }

    // The clipboard's own text carries no NUL.
    grid->OnEditCopy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "a\tc\nd\tf\ng\ti");
    grid->ResetSelectedRange();
    EXPECT_EQ(grid->CopyTextFromGrid(), nullptr);
}

TEST_F(GridClipboard, PasteSplitsAtTabsCommasAndLineFeeds) {
    struct Case {
        const char* name;
        int row, col;
        QByteArray text;
        std::vector<std::pair<CCellID, QString>> expected;
    };
    const Case cases[] = {
        {"comma and tab", 2, 2, "a,b\tc", {{{2, 2}, "a"}, {{2, 3}, "b"}, {{2, 4}, "c"}, {{2, 5}, "r2c5"}}},
        {"trimmed fields, CR LF lines", 2, 2, " a \t b\r\n c\r\n", {{{2, 2}, "a"}, {{2, 3}, "b"}, {{3, 2}, "c"}}},
        {"final line feed adds no line", 3, 2, "x\n", {{{3, 2}, "x"}, {{4, 2}, "r4c2"}}},
        {"an empty line clears", 2, 2, "x\n\ny", {{{2, 2}, "x"}, {{3, 2}, ""}, {{4, 2}, "y"}}},
        {"beyond the grid dropped", 10, 4, "p\tq\tr\ns\tt\tu\nv",
         {{{10, 4}, "p"}, {{10, 5}, "q"}, {{11, 4}, "s"}, {{11, 5}, "t"}}},
        {"up to a NUL", 2, 2, QByteArray("m\0n", 3), {{{2, 2}, "m"}, {{2, 3}, "r2c3"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetTexts();
        EXPECT_TRUE(Paste(c.row, c.col, c.text));
        for (const auto& [cell, text] : c.expected) EXPECT_EQ(Text(cell.row, cell.col), text) << cell.row << "," << cell.col;
    }
}

TEST_F(GridClipboard, PasteSkipsHiddenRowsAndColumnsAndRefusingCells) {
    grid->SetRowHeight(3, 0);
    grid->SetColumnWidth(3, 0);
    SetReadOnly(2, 4);
    sink.answer = [](int code, int row, int col) {
        return code == GridNotify::BeginEdit && row == 4 && col == 4 ? -1 : 0;
    };
    EXPECT_TRUE(Paste(2, 2, "a\tb\tc\nd\te\tf"));
    // The hidden row and column take no field.
    EXPECT_EQ(Text(2, 2), "a");
    EXPECT_EQ(Text(2, 3), "r2c3");
    EXPECT_EQ(Text(2, 4), "r2c4");  // read-only
    EXPECT_EQ(Text(2, 5), "c");
    EXPECT_EQ(Text(3, 2), "r3c2");
    EXPECT_EQ(Text(4, 2), "d");
    EXPECT_EQ(Text(4, 4), "r4c4");  // refused by the owner
    EXPECT_EQ(Text(4, 5), "f");
    // The written block, from the target to the furthest cell, is selected.
    EXPECT_EQ(grid->GetSelectedCellRange(), (CCellRange{2, 2, 4, 5}));

    // Without select pasted the selection ends.
    EXPECT_TRUE(Paste(6, 2, "z", false));
    EXPECT_EQ(Text(6, 2), "z");
    EXPECT_EQ(grid->GetSelectedCellRange(), (CCellRange{}));
}

TEST_F(GridClipboard, PasteFailsWithoutAnEditableTargetOrText) {
    SetReadOnly(2, 2);
    EXPECT_FALSE(Paste(2, 2, "x\ty"));
    EXPECT_EQ(Text(2, 3), "r2c3");
    EXPECT_FALSE(Paste(20, 2, "x"));
    QMimeData html;
    html.setHtml("<b>x</b>");
    EXPECT_FALSE(grid->PasteTextToGrid(5, 2, &html, true));
    grid->SetEditable(false);
    EXPECT_FALSE(Paste(5, 2, "x"));
    EXPECT_EQ(Text(5, 2), "r5c2");
}

TEST_F(GridClipboard, KeysCopyCutAndPasteBlocks) {
    SetTexts(2, 2, {"a b", "c d"});
    SetReadOnly(3, 3);
    ClickCell(2, 2);
    ClickCell(3, 3, Qt::ShiftModifier);
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "a\tb\nc\td");

    ClickCell(6, 3);
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Text(6, 3), "a");
    EXPECT_EQ(Text(6, 4), "b");
    EXPECT_EQ(Text(7, 3), "c");
    EXPECT_EQ(Text(7, 4), "d");
    EXPECT_EQ(grid->GetSelectedCellRange(), (CCellRange{6, 3, 7, 4}));

    // Cut copies, then clears the selected cells that can be edited.
    ClickCell(2, 2);
    ClickCell(3, 3, Qt::ShiftModifier);
    QTest::keyClick(grid, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "a\tb\nc\td");
    EXPECT_EQ(Text(2, 2), "");
    EXPECT_EQ(Text(2, 3), "");
    EXPECT_EQ(Text(3, 2), "");
    EXPECT_EQ(Text(3, 3), "d");
}

TEST_F(GridClipboard, CommandsAreEnabledByTheSelectionAndTheFocusCell) {
    QGuiApplication::clipboard()->setText("x");
    grid->ResetSelectedRange();
    EXPECT_FALSE(grid->CanEditCopy());
    EXPECT_FALSE(grid->CanEditCut());
    EXPECT_FALSE(grid->CanEditPaste());

    ClickCell(2, 2);
    EXPECT_TRUE(grid->CanEditCopy());
    EXPECT_TRUE(grid->CanEditCut());
    EXPECT_TRUE(grid->CanEditPaste());
    SetReadOnly(2, 2);
    EXPECT_FALSE(grid->CanEditPaste());
    grid->SetEditable(false);
    EXPECT_TRUE(grid->CanEditCopy());
    EXPECT_FALSE(grid->CanEditCut());
    grid->SetEditable(true);
    ClickCell(4, 4);
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(grid->CanEditPaste());
}

TEST_F(GridClipboard, PasteGoesIntoAnOpenEdit) {
    QGuiApplication::clipboard()->setText("zz");
    ClickCell(2, 2);
    QTest::keyClick(grid, Qt::Key_F2);
    ASSERT_NE(EditOf(2, 2), nullptr);
    grid->OnEditPaste();
    EXPECT_TRUE(EditOf(2, 2)->text().endsWith("zz"));
    // Not yet stored: the cell keeps its text until the edit ends.
    EXPECT_EQ(Text(2, 2), "r2c2");
    EXPECT_EQ(Text(2, 3), "r2c3");
}

}  // namespace
