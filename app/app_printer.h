#pragma once

#include <functional>
#include <memory>

#include <QStringList>

class QPrinter;

// The printer every window prints on, kept as the user last chose it in a
// print dialog (a printer of the system, or a PDF file); made when first
// asked for.
class AppPrinter {
public:
    // The names of the printers the system offers.
    using InstalledPrinters = std::function<QStringList()>;

    // Asks the system for its printers.
    AppPrinter();
    explicit AppPrinter(InstalledPrinters installed);
    ~AppPrinter();

    QPrinter& Printer();
    // A4 paper, landscape or portrait.
    void SetPaper(bool landscape);
    // Whether a job that shows no print dialog has somewhere to go: a file
    // chosen before, or a printer of the system.
    bool HasPrinter();

private:
    InstalledPrinters installed_;
    std::unique_ptr<QPrinter> printer_;
};
