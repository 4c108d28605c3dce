#include "print_job.h"

#include <algorithm>

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "app_printer.h"
#include "prompt_service.h"

namespace {

// The print dialog over the view's page range; the range chosen is written
// into `info`. False when the user cancelled.
bool ChoosePages(CPrintInfo& info, QPrinter& printer, PromptService& prompts, QWidget* parent) {
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(0, 0);
    QPrintDialog dialog(&printer, parent);
    dialog.setMinMax(info.minPage, info.maxPage);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    if (prompts.RunModal(dialog) != QDialog::Accepted) return false;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        info.fromPage = printer.fromPage();
        info.toPage = printer.toPage() > 0 ? printer.toPage() : info.maxPage;
    }
    return true;
}

}  // namespace

bool PrintView(IPrintableView& view, AppPrinter& printer, PromptService& prompts, PrintChoice choice,
               QWidget* parent) {
    CPrintInfo info;
    info.direct = choice == PrintChoice::Direct;
    if (!view.OnPreparePrinting(info) || info.maxPage < info.minPage) return false;
    info.fromPage = info.minPage;
    info.toPage = info.maxPage;
    if (info.direct) {
        if (!printer.HasPrinter()) {
            prompts.Ask("There is no printer installed", {}, PromptIcon::Warning, PromptButtons::Ok);
            return false;
        }
    } else if (!ChoosePages(info, printer.Printer(), prompts, parent)) {
        return false;
    }
    info.fromPage = std::max(info.fromPage, info.minPage);
    info.toPage = std::min(info.toPage, info.maxPage);
    if (info.fromPage > info.toPage) return false;

    QPrinter& device = printer.Printer();
    QPainter painter;
    if (!painter.begin(&device)) {
        prompts.Ask("The printer could not start the job.", {}, PromptIcon::Warning, PromptButtons::Ok);
        return false;
    }
    view.OnBeginPrinting(info, device);
    info.toPage = std::min(info.toPage, info.maxPage);
    if (info.fromPage > info.toPage) {
        // The paper chosen left none of the pages asked for.
        device.abort();
        return false;
    }
    // The painter's origin is the printable area's corner.
    info.drawRect = {0, 0, device.width(), device.height()};
    for (int page = info.fromPage; page <= info.toPage; ++page) {
        if (page > info.fromPage) device.newPage();
        info.currentPage = page;
        view.OnPrint(painter, info);
    }
    painter.end();
    return true;
}
