// Shows the graph designer on a small continuation table with three curve
// rows and an edit open in a Y-title cell, saves a picture of it, presses OK
// and saves a picture of the graph it opens:
//   xvfb-run -a -s "-screen 0 1280x1024x24" graph_designer_screenshot designer.png graph.png
#include <cstdio>
#include <fstream>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "colour_picker.h"
#include "control_id.h"
#include "dlg_graph.h"
#include "dlg_graph_designer.h"
#include "grid_ctrl.h"
#include "grid_keys.h"
#include "reference_manager.h"
#include "scripted_prompt_service.h"

namespace {

constexpr const char* kTable =
    "PLoad_Total V_LAKE V_MILL_2 V_NORTH\n"
    "2.50 1.0000 1.0200 1.0500\n"
    "3.00 0.9800 1.0050 1.0400\n"
    "3.50 0.9500 0.9850 1.0250\n"
    "4.00 0.9100 0.9600 1.0050\n"
    "4.25 0.8700 0.9350 0.9850\n";

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 3) return 2;
    const QString designerShot = QString::fromLocal8Bit(argv[1]);
    const QString graphShot = QString::fromLocal8Bit(argv[2]);
    const char* dataPath = "/tmp/graph_designer_screenshot.txt";
    std::ofstream(dataPath, std::ios::binary) << kTable;

    ScriptedPromptService prompts;
    CReferenceManager manager;
    QWidget view;
    view.setGeometry(40, 40, 100, 100);
    auto* designer = static_cast<CDlgGraphDesigner*>(createGraphDesigner(&manager, &view, prompts));
    designer->SetDataFile(dataPath);
    if (!designer->OnInitDialog()) return 1;
    designer->move(100, 100);
    designer->show();
    designer->activateWindow();

    auto* variables = FindControl<QListWidget>(*designer, 1015);
    auto click = [&](int id) { FindControl<QPushButton>(*designer, id)->click(); };
    const char* titles[] = {"Lake", "Mill 2", "North"};
    const ColorRef colours[] = {0x0000FF, 0x009300, 0xFF0000};
    CGridCtrl& grid = designer->Grid();
    for (int i = 0; i < 3; ++i) {
        FindControl<CColourPicker>(*designer, 1018)->setColour(colours[i]);
        click(1020);
        variables->setCurrentRow(i + 1);
        click(1017);
        grid.SetCellText(i + 1, CDlgGraphDesigner::kYTitle, titles[i]);
        grid.SetCellText(i + 1, CDlgGraphDesigner::kTitle, "PV Curves");
        grid.SetCellText(i + 1, CDlgGraphDesigner::kXTitle, "Total Load [p.u.]");
    }
    grid.AutoSize();

    QTimer::singleShot(300, [&] {
        // Typing a new title into row 2's Y title.
        grid.SetFocusCell(2, CDlgGraphDesigner::kYTitle);
        grid.setFocus();
        grid.OnEditCell(2, CDlgGraphDesigner::kYTitle, QPoint(-1, -1), GridKey::Typed(U'M'));
        if (CInPlaceEdit* edit = grid.GetCell(2, CDlgGraphDesigner::kYTitle)->GetEditWnd()) {
            for (char32_t c : U"ill 2 [p.u.]") {
                if (c != 0) edit->TypeKey(GridKey::Typed(c));
            }
        }
    });
    QTimer::singleShot(800, [&] {
        bool saved = QGuiApplication::primaryScreen()->grabWindow(0, 80, 60, designer->frameGeometry().width() + 40,
                                                                  designer->frameGeometry().height() + 60)
                         .save(designerShot);
        grid.EndEditing();
        click(1);
        if (!saved) application.exit(1);
    });
    QTimer::singleShot(1600, [&] {
        bool saved = false;
        for (IDlgGraph* entry : manager.Entries()) {
            if (auto* graph = static_cast<CDlgGraph*>(entry)) saved = graph->grab().save(graphShot);
        }
        designer->Release();
        application.exit(saved ? 0 : 1);
    });
    return application.exec();
}
