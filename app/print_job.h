#pragma once

#include "geometry.h"

class AppPrinter;
class PromptService;
class QPaintDevice;
class QPainter;
class QWidget;

// What a print job (or a preview) and the view it prints tell each other.
struct CPrintInfo {
    bool direct = false;   // to the printer as set up, without the print dialog
    bool preview = false;  // the pages go to a preview, not to the printer
    int minPage = 1;
    int maxPage = 0xFFFF;
    // The pages to print, as the print dialog answered; all by default.
    int fromPage = 1;
    int toPage = 0xFFFF;
    // While preparing, the page a preview opens on; while printing, the page
    // being printed.
    int currentPage = 1;
    // The pages a preview shows at once when it opens; 0 leaves it to the
    // application's choice.
    int previewPages = 0;
    Rect drawRect;  // device units: the whole printable area of the page
};

// A view that prints one page at a time.
class IPrintableView {
public:
    // Sets the page range and the printer's paper before the print dialog;
    // false stops the job.
    virtual bool OnPreparePrinting(CPrintInfo& info) = 0;
    // The printer as the print dialog left it, before the first page: a view
    // whose pages depend on the paper lays them out again here and may
    // change info.maxPage.
    virtual void OnBeginPrinting(CPrintInfo& /*info*/, const QPaintDevice& /*printer*/) {}
    // Draws page info.currentPage into info.drawRect.
    virtual void OnPrint(QPainter& painter, const CPrintInfo& info) = 0;

protected:
    ~IPrintableView() = default;
};

// Whether the user chooses the printer and the pages first.
enum class PrintChoice { Dialog, Direct };

// Prints the view: its preparation, then the print dialog (none when
// direct, but then a printer must be there, else "There is no printer
// installed"), then every page of the chosen range. False when the job was
// cancelled or could not start (the user has been told why).
bool PrintView(IPrintableView& view, AppPrinter& printer, PromptService& prompts, PrintChoice choice,
               QWidget* parent);
