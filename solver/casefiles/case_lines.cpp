#include "case_lines.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char kCtrlZ = '\x1A';

// The first LF or CR in [from, to), or `to`.
const char* LineEnd(const char* from, const char* to) {
    const auto* lf = static_cast<const char*>(std::memchr(from, '\n', static_cast<std::size_t>(to - from)));
    const char* limit = lf ? lf : to;
    const auto* cr = static_cast<const char*>(std::memchr(from, '\r', static_cast<std::size_t>(limit - from)));
    return cr ? cr : limit;
}

}  // namespace

bool CaseLines::Refill() {
    const std::size_t got = std::fread(block_.data(), 1, block_.size(), file_);
    next_ = block_.data();
    end_ = next_ + got;
    return got > 0;
}

// Appends the line to `line` and moves past its end. A line may run across
// blocks; only its first kCaseLineLength characters are kept, the rest is
// passed over.
void CaseLines::TakeLine(std::string& line) {
    const char* stop = LineEnd(next_, end_);
    for (;;) {
        const std::size_t room = kCaseLineLength - line.size();
        line.append(next_, std::min(static_cast<std::size_t>(stop - next_), room));
        if (stop != end_) break;
        if (!Refill()) return;  // the last line, without its end
        stop = LineEnd(next_, end_);
    }
    next_ = stop + 1;
    // A CR followed by an LF (perhaps in the next block) ends one line.
    if (*stop == '\r' && !AtEnd() && *next_ == '\n') ++next_;
}

bool CaseLines::Next(std::string& line) {
    line.clear();
    if (AtEnd()) return false;
    TakeLine(line);
    if (line.size() == 1 && line[0] == kCtrlZ && AtEnd()) {
        line.clear();
        return false;
    }
    return true;
}
