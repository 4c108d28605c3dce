#pragma once

#include "report_interface.h"

// A report the size of the 2000-bus case's power-flow report: 4,000
// landscape lines of 154 columns with bold and double-width runs, a heading
// and a rule every 50 lines. The caller releases it.
inline constexpr int kLargeReportLines = 4000;

inline IDBReport* LargeReport(ITextMeasurer& display) {
    IDBReport* report = createReport(display);
    report->SetPageType(2);
    report->SetSection(2);
    for (int i = 0; i < kLargeReportLines; ++i) {
        if (i % 50 == 0) {
            *report << fmtHighStart << "BUS " << fmtBoldStart << "NAME" << fmtBoldEnd << NL;
            report->Rule('-', 154, true);
        }
        report->LeftJustify("BUS-NAME", 12);
        for (int column = 0; column < 11; ++column) report->Number(1234.5678 + i + column, 12, 3);
        *report << NL;
    }
    report->SetAlignment(2);
    report->SetTitle("Power flow");
    return report;
}
