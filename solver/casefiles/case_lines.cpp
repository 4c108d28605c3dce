#include "case_lines.h"

// A case file is read by one thread: the stream's lock is not taken for
// every character.

namespace {

constexpr char kCtrlZ = '\x1A';

bool AtEnd(FILE* file) {
    int c = getc_unlocked(file);
    if (c == EOF) return true;
    std::ungetc(c, file);
    return false;
}

}  // namespace

bool ReadCaseLine(FILE* file, std::string& line) {
    line.clear();
    int c = getc_unlocked(file);
    if (c == EOF) return false;

    // A line ends at LF, at CR LF, or at a CR alone (as some editors end
    // their lines); only the first kCaseLineLength characters are kept.
    char kept[kCaseLineLength];
    std::size_t length = 0;
    for (; c != EOF && c != '\n' && c != '\r'; c = getc_unlocked(file))
        if (length < kCaseLineLength) kept[length++] = static_cast<char>(c);
    line.assign(kept, length);
    if (c == '\r') {
        c = getc_unlocked(file);
        if (c != '\n' && c != EOF) std::ungetc(c, file);
    }

    if (line.size() == 1 && line[0] == kCtrlZ && AtEnd(file)) {
        line.clear();
        return false;
    }
    return true;
}
