#include "report_interface.h"
#include "report_markers.h"

const IDBReport::_ENDL NL{};

const char* const fmtBoldStart = ReportMarker::kBoldStart;
const char* const fmtBoldEnd = ReportMarker::kBoldEnd;
const char* const fmtItalicStart = ReportMarker::kItalicStart;
const char* const fmtItalicEnd = ReportMarker::kItalicEnd;
const char* const fmtBoldItalicStart = ReportMarker::kBoldItalicStart;
const char* const fmtBoldItalicEnd = ReportMarker::kBoldItalicEnd;
const char* const fmtHighStart = ReportMarker::kHighStart;
const char* const fmtHighEnd = ReportMarker::kHighEnd;
