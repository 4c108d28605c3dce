#pragma once

#include <string>
#include <string_view>
#include <vector>

// Kinds of run, by the font that draws them.
namespace RunKind {
inline constexpr int Normal = 1;
inline constexpr int Bold = 2;
inline constexpr int High = 4;  // double width
}  // namespace RunKind

struct LineRun {
    std::string text;
    int kind = RunKind::Normal;

    friend bool operator==(const LineRun&, const LineRun&) = default;
};

// Cuts a stored line at its printer control codes into the runs that show:
// ESC G or E starts bold and ESC H or F ends it, SO starts double width and
// DC4 ends it; ESC M, ESC 4, ESC 5, SI, DC2 and the line breaks show nothing,
// and the character after any other ESC shows as text. A line of control
// codes only has no runs.
std::vector<LineRun> CutIntoRuns(std::string_view line);
