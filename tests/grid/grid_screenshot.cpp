// Shows a 30 x 8 grid with a heading row and column, scrolled down and
// right, a few coloured cells, a block of selected ones, an edit open in a
// cell, a title tip over a cell whose text does not fit and a drag of text
// resting over a cell, and saves a picture of the screen to the path given:
//   xvfb-run -a -s "-screen 0 1280x1024x24" grid_screenshot shot.png
#include <QApplication>
#include <QDialog>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "grid_ctrl.h"
#include "grid_keys.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 2) return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);

    QDialog dialog;
    dialog.setWindowTitle("Grid");
    auto* layout = new QVBoxLayout(&dialog);
    auto* grid = new CGridCtrl(30, 8, 1, 1);
    layout->addWidget(grid);
    for (int col = 1; col < 8; ++col) grid->SetCellText(0, col, QString("Column %1").arg(col));
    for (int row = 1; row < 30; ++row) {
        grid->SetCellText(row, 0, QString("Bus %1").arg(row));
        for (int col = 1; col < 8; ++col) grid->SetCellText(row, col, QString::number(row * 1.05 + col, 'f', 3));
    }
    grid->AutoSizeColumn(0);
    grid->SetCellBackColour(6, 4, 0x0000FF);  // red
    grid->SetCellBackColour(7, 6, 0x00FF00);  // green
    grid->SetCellTextColour(8, 5, 0xFF0000);  // blue text
    for (int row = 11; row <= 13; ++row) {
        for (int col = 3; col <= 5; ++col) grid->SetItemState(row, col, GridCellState::Selected);
    }
    grid->SetFocusCell(12, 4);
    dialog.setGeometry(200, 200, 520, 360);
    dialog.show();
    // No window manager gives the focus under Xvfb.
    dialog.activateWindow();

    QTimer::singleShot(300, [&] {
        grid->EnsureCellVisible(16, 6);
        grid->OnVScroll(GridScroll::LineDown);
    });
    QTimer::singleShot(500, [&] {
        CCellRange shown = grid->GetVisibleNonFixedCellRange();
        // Typing "7.5" into a cell near the bottom.
        int editRow = shown.maxRow - 2;
        int editCol = shown.minCol + 1;
        grid->SetFocusCell(editRow, editCol);
        grid->OnEditCell(editRow, editCol, QPoint(-1, -1), GridKey::Typed(U'7'));
        if (CInPlaceEdit* edit = grid->GetCell(editRow, editCol)->GetEditWnd()) {
            edit->TypeKey(GridKey::Typed(U'.'));
            edit->TypeKey(GridKey::Typed(U'5'));
        }
        // The mouse resting on a text too long for its cell.
        Rect rect;
        grid->SetCellText(shown.minRow + 1, shown.minCol, "Line from bus 14 to bus 22, circuit 1");
        grid->RedrawCell(shown.minRow + 1, shown.minCol);
        grid->GetCellRect(shown.minRow + 1, shown.minCol, &rect);
        QPoint over(rect.left + 5, rect.top + 5);
        QMouseEvent move(QEvent::MouseMove, over, grid->viewport()->mapToGlobal(over), Qt::NoButton, Qt::NoButton, {});
        QApplication::sendEvent(grid->viewport(), &move);

        // A drag of text over a cell near the top right: it takes the drop
        // highlight.
        static QMimeData dragged;
        dragged.setText("1.000");
        grid->EnableDragAndDrop(true);
        grid->GetCellRect(shown.minRow + 2, shown.minCol + 3, &rect);
        QPoint target(rect.left + 5, rect.top + 5);
        QDragEnterEvent enter(target, Qt::CopyAction | Qt::MoveAction, &dragged, Qt::LeftButton, {});
        QApplication::sendEvent(grid->viewport(), &enter);
    });
    QTimer::singleShot(1100, [&] {
        const bool saved = QGuiApplication::primaryScreen()->grabWindow(0, 150, 150, 620, 460).save(path);
        application.exit(saved ? 0 : 1);
    });
    return application.exec();
}
