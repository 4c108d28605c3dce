#pragma once

// The printer control codes that a report shows as fonts and its text file
// keeps, as texts. The report library exports them as fmtBoldStart and the
// others (report_interface.h); code that streams into a report without
// linking the library (the network model) takes them from here.
namespace ReportMarker {
inline constexpr char kBoldStart[] = "\x1B" "G";
inline constexpr char kBoldEnd[] = "\x1B" "H";
inline constexpr char kItalicStart[] = "\x1B" "4";
inline constexpr char kItalicEnd[] = "\x1B" "5";
inline constexpr char kBoldItalicStart[] = "\x1B" "G" "\x1B" "4";
inline constexpr char kBoldItalicEnd[] = "\x1B" "H" "\x1B" "5";
inline constexpr char kHighStart[] = "\x0E";  // SO: double width
inline constexpr char kHighEnd[] = "\x14";    // DC4
}  // namespace ReportMarker
