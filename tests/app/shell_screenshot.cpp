// Starts the program on the sample network with settings of its own,
// solves the power flow with the Solve command (its messages go to the
// message window), shows the bus-voltage colour map on the diagram and in
// the legend, and saves a picture of the screen to the path given:
//   xvfb-run -a -s "-screen 0 1280x1024x24" shell_screenshot examples/ieee14.pf shot.png
// A third argument pictures the power-flow report's print preview instead:
// "preview" two pages at a time, "preview-zoomed" one page fully zoomed in;
// or "pv-curves" the PV curves of every load grown in proportion, with the
// worst six buses chosen as a user would in the dialogs.
#include <QApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include "child_frame.h"
#include "color_map_legend.h"
#include "column_tool_bar.h"
#include "command_ids.h"
#include "dlg_messages.h"
#include "load.h"
#include "main_frame.h"
#include "message_sink.h"
#include "power_system.h"
#include "qt_prompt_service.h"
#include "report_preview.h"
#include "scripted_network_dialogs.h"
#include "tavrin_app.h"
#include "tavrin_doc.h"
#include "tavrin_view.h"
#include "view_base.h"

namespace {

// The power-flow report of the solved network in a window of its own,
// maximised, with its print preview open.
void ShowReportPreview(CTavrinApp& tavrin, IModel& model, bool zoomed) {
    CMainFrame& frame = *tavrin.MainFrame();
    tavrin.PreviewPages() = zoomed ? 1 : 2;
    tavrin.OpenResultsDocument(model.PowerFlowReport("IEEE 14 bus", 0));
    frame.Legend().hide();
    frame.Messages().hide();
    frame.ToolsBar().hide();
    CChildFrame& window = *frame.ChildFrames().back();
    window.showMaximized();
    frame.Commands().Execute(Command::FilePrintPreview);
    auto* preview = dynamic_cast<ReportPreview*>(window.StandIn());
    if (preview != nullptr && zoomed) {
        preview->ZoomIn();
        preview->ZoomIn();
    }
}

// The continuation of the network with every load growing by 1 % of
// itself, its PV curves drawn for the six buses that fall most.
void ShowPVCurves(CMainFrame& frame, IModel& model, ScriptedNetworkDialogs& dialogs) {
    for (const auto& [key, load] : dynamic_cast<PowerSystem&>(model).List(PowerSystem::kLoads).Entries()) {
        load->GetValues()[Load::kPShare] = load->GetValues()[Load::kQShare] = 1.0;
    }
    dialogs.pvCurveVariables = {"PLoad_Total", {"V_Bus_14", "V_Bus_13", "V_Bus_12", "V_Bus_11", "V_Bus_10", "V_Bus_9"}};
    auto& view = dynamic_cast<CTavrinView&>(*frame.GetActiveView());
    view.SetDialogs(&dialogs);
    frame.Commands().Execute(Command::PvCurves);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 3) return 2;
    QTemporaryDir settings;
    QtPromptService prompts;
    ScriptedNetworkDialogs dialogs;  // outlives the windows that use it
    CTavrinApp tavrin(prompts, settings.filePath("tavrin.ini"), settings.filePath("Results.db"));
    if (!tavrin.InitInstance({"-nosplash", QString::fromLocal8Bit(argv[1])})) return 1;
    CMainFrame& frame = *tavrin.MainFrame();
    auto* document = dynamic_cast<CTavrinDoc*>(frame.GetActiveView()->GetDocument());
    if (document == nullptr || document->GetModel() == nullptr) return 1;

    IModel& model = *document->GetModel();
    frame.Commands().Execute(Command::SolvePowerFlow);
    model.SetColorMapMode(3);
    frame.Legend().SetMapType(3);
    frame.GetActiveView()->update();
    const QString preview = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    if (preview == "preview" || preview == "preview-zoomed") {
        ShowReportPreview(tavrin, model, preview == "preview-zoomed");
    }
    if (preview == "pv-curves") ShowPVCurves(frame, model, dialogs);

    const QString path = QString::fromLocal8Bit(argv[2]);
    QTimer::singleShot(1500, [&] {
        QApplication::primaryScreen()->grabWindow(0).save(path);
        // Solved, the network would ask to be saved.
        document->SetModifiedFlag(false);
        QApplication::quit();
    });
    return QApplication::exec();
}
