#include "line_runs.h"

namespace {

constexpr char kEsc = 0x1B;
constexpr char kShiftOut = 0x0E;  // double width on
constexpr char kShiftIn = 0x0F;   // condensed print: not shown
constexpr char kDc2 = 0x12;       // condensed print off: not shown
constexpr char kDc4 = 0x14;       // double width off

// Characters that never join a run as text.
bool NeverShown(char c) {
    return c == '\n' || c == '\f' || c == '\r' || c == kShiftOut || c == kDc4 || c == kEsc;
}

class RunCutter {
public:
    void Take(char c, char previous) {
        if (previous == kEsc) {
            TakeEscapeCode(c);
        } else if (c == kShiftOut) {
            if (!high_) Close(bold_ ? RunKind::Bold : RunKind::Normal);
            high_ = true;
        } else if (c == kDc4) {
            if (high_) Close(RunKind::High);
            high_ = false;
        } else if (c != kShiftIn && c != kDc2 && !NeverShown(c)) {
            pending_ += c;
        }
    }

    std::vector<LineRun> Finish() {
        Close(high_ ? RunKind::High : bold_ ? RunKind::Bold : RunKind::Normal);
        return std::move(runs_);
    }

private:
    void TakeEscapeCode(char c) {
        switch (c) {
            case 'E':
            case 'G':
                if (!bold_ && !high_) Close(RunKind::Normal);
                bold_ = true;
                break;
            case 'F':
            case 'H':
                if (bold_) Close(RunKind::Bold);
                bold_ = false;
                break;
            case 'M':  // elite pitch: the page type sets the pitch already
            case '4':  // italic on and off pass to the printer only
            case '5':
                break;
            default:
                if (!NeverShown(c)) pending_ += c;
        }
    }

    // An empty pending run is never closed.
    void Close(int kind) {
        if (pending_.empty()) return;
        runs_.push_back({std::move(pending_), kind});
        pending_.clear();
    }

    bool bold_ = false;
    bool high_ = false;
    std::string pending_;
    std::vector<LineRun> runs_;
};

}  // namespace

std::vector<LineRun> CutIntoRuns(std::string_view line) {
    RunCutter cutter;
    char previous = '\0';
    for (char c : line) {
        cutter.Take(c, previous);
        previous = c;
    }
    return cutter.Finish();
}
