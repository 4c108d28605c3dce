// Shows a 30 x 8 grid with a heading row and column, scrolled down and
// right, a few coloured cells and a block of selected ones with the focus
// in it, and saves a picture of the screen to the path given:
//   xvfb-run -a -s "-screen 0 1280x1024x24" grid_screenshot shot.png
#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "grid_ctrl.h"

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

    QTimer::singleShot(300, [&] {
        grid->EnsureCellVisible(16, 6);
        grid->OnVScroll(GridScroll::LineDown);
    });
    QTimer::singleShot(900, [&] {
        const bool saved = QGuiApplication::primaryScreen()->grabWindow(0, 150, 150, 620, 460).save(path);
        application.exit(saved ? 0 : 1);
    });
    return application.exec();
}
