#include "print_commands.h"

#include <QPrinter>
#include <QStatusBar>

#include "app_printer.h"
#include "child_frame.h"
#include "command_ids.h"
#include "print_job.h"
#include "prompt_service.h"
#include "report_preview.h"
#include "tavrin_app.h"
#include "view_base.h"

namespace {

void Print(CView& view, IPrintableView& printable, CTavrinApp& app, PrintChoice choice) {
    PrintView(printable, app.Printing(), app.Prompts(), choice, &view);
}

void OpenPreview(CView& view, IPrintableView& printable, CTavrinApp& app) {
    CChildFrame* frame = view.Frame();
    CPrintInfo info;
    info.preview = true;
    if (frame == nullptr || !printable.OnPreparePrinting(info) || info.maxPage < info.minPage) {
        app.Prompts().Ask("Command failed.", {}, PromptIcon::Warning, PromptButtons::Ok);
        return;
    }
    // The frame lives at least as long as the preview in it.
    ReportPreview::Services services{
        app.PreviewPages(),
        [&app](const QString& text) { if (app.StatusBar() != nullptr) app.StatusBar()->showMessage(text); },
        [frame] { frame->ShowViewAgain(); },
        [&view, &printable, &app] { Print(view, printable, app, PrintChoice::Dialog); },
    };
    auto* preview = new ReportPreview(
        info, app.Printing().Printer().pageLayout(),
        [&printable](QPainter& painter, const CPrintInfo& page) { printable.OnPrint(painter, page); },
        std::move(services));
    frame->ShowInPlaceOfView(preview);
}

}  // namespace

void RegisterPrintCommands(CView& view, IPrintableView& printable, CTavrinApp& app) {
    view.OnCommand(Command::FilePrint, [&] { Print(view, printable, app, PrintChoice::Dialog); });
    view.OnCommand(Command::FilePrintDirect, [&] { Print(view, printable, app, PrintChoice::Direct); });
    view.OnCommand(Command::FilePrintPreview, [&] { OpenPreview(view, printable, app); });
}
