// Starts the program on the sample network with settings of its own,
// solves the power flow as the Solve command does (its messages go to the
// message window), shows the bus-voltage colour map on the diagram and in
// the legend, and saves a picture of the screen to the path given:
//   xvfb-run -a -s "-screen 0 1280x1024x24" shell_screenshot examples/ieee14.pf shot.png
// A third argument pictures the power-flow report's print preview instead:
// "preview" two pages at a time, "preview-zoomed" one page fully zoomed in.
#include <QApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include "child_frame.h"
#include "color_map_legend.h"
#include "column_tool_bar.h"
#include "command_ids.h"
#include "dlg_messages.h"
#include "main_frame.h"
#include "message_sink.h"
#include "qt_prompt_service.h"
#include "report_preview.h"
#include "tavrin_app.h"
#include "tavrin_doc.h"
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

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 3) return 2;
    QTemporaryDir settings;
    QtPromptService prompts;
    CTavrinApp tavrin(prompts, settings.filePath("tavrin.ini"), settings.filePath("Results.db"));
    if (!tavrin.InitInstance({"-nosplash", QString::fromLocal8Bit(argv[1])})) return 1;
    CMainFrame& frame = *tavrin.MainFrame();
    auto* document = dynamic_cast<CTavrinDoc*>(frame.GetActiveView()->GetDocument());
    if (document == nullptr || document->GetModel() == nullptr) return 1;

    IModel& model = *document->GetModel();
    IMessageSink& sink = *tavrin.GetMessageSink();
    model.SetMessageSink(&sink);
    sink.AddMessage(IMessageSink::Information, "Started solving PF");
    const bool solved = model.RunSolver(nullptr, nullptr, nullptr) != 0;
    sink.AddMessage(solved ? IMessageSink::Success : IMessageSink::Failure,
                    solved ? "Power Flow successfully solved" : "Power Flow was not solved");
    model.SetColorMapMode(3);
    frame.Legend().SetMapType(3);
    frame.GetActiveView()->update();
    const QString preview = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    if (preview == "preview" || preview == "preview-zoomed") {
        ShowReportPreview(tavrin, model, preview == "preview-zoomed");
    }

    const QString path = QString::fromLocal8Bit(argv[2]);
    QTimer::singleShot(1500, [&] {
        QApplication::primaryScreen()->grabWindow(0).save(path);
        QApplication::quit();
    });
    return QApplication::exec();
}
