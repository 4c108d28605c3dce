#include "app_printer.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

AppPrinter::AppPrinter() : AppPrinter([] { return QPrinterInfo::availablePrinterNames(); }) {}

AppPrinter::AppPrinter(InstalledPrinters installed) : installed_(std::move(installed)) {}

AppPrinter::~AppPrinter() = default;

QPrinter& AppPrinter::Printer() {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void AppPrinter::SetPaper(bool landscape) {
    QPrinter& printer = Printer();
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

bool AppPrinter::HasPrinter() {
    if (Printer().outputFormat() == QPrinter::PdfFormat && !Printer().outputFileName().isEmpty()) return true;
    return !installed_().isEmpty();
}
