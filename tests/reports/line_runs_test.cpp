#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "line_runs.h"

inline void PrintTo(const LineRun& run, std::ostream* out) { *out << "{" << run.text << ", " << run.kind << "}"; }

namespace {

TEST(LineRuns, ControlCodesCutTheLineIntoRuns) {
    using K = std::vector<LineRun>;
    const int N = RunKind::Normal, B = RunKind::Bold, H = RunKind::High;
    struct Case {
        std::string line;
        K runs;
    };
    const Case cases[] = {
        {"one\x1BGtwo\x1BHthree", K{{"one", N}, {"two", B}, {"three", N}}},
        {"\x1B" "Ebold\x1B" "Fplain", K{{"bold", B}, {"plain", N}}},
        {"\x0ETITLE\x14", K{{"TITLE", H}}},
        {"a\x0E" "b\x14" "c", K{{"a", N}, {"b", H}, {"c", N}}},
        {"\x1BGa\x0E" "b", K{{"a", B}, {"b", H}}},
        {"\x1BMX", K{{"X", N}}},
        {"x\x0Fy\x12z", K{{"xyz", N}}},
        {"a\rb\nc\fd", K{{"abcd", N}}},
        {"\x1BG\x1BH\x0E\x14\x0F", K{}},
        {"", K{}},
        // The italic codes show nothing and change no run.
        {"a\x1B" "4b\x1B" "5c", K{{"abc", N}}},
        // Any other code: the character after ESC shows as text.
        {"\x1BQz", K{{"Qz", N}}},
        {"end\x1B", K{{"end", N}}},
    };
    for (const auto& c : cases) EXPECT_EQ(CutIntoRuns(c.line), c.runs) << c.line;
}

}  // namespace
