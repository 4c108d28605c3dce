#include "report_interface.h"

const IDBReport::_ENDL NL{};

const char* const fmtBoldStart = "\x1B" "G";
const char* const fmtBoldEnd = "\x1B" "H";
const char* const fmtItalicStart = "\x1B" "4";
const char* const fmtItalicEnd = "\x1B" "5";
const char* const fmtBoldItalicStart = "\x1B" "G" "\x1B" "4";
const char* const fmtBoldItalicEnd = "\x1B" "H" "\x1B" "5";
const char* const fmtHighStart = "\x0E";
const char* const fmtHighEnd = "\x14";
