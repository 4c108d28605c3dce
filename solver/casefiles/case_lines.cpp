#include "case_lines.h"

namespace {

constexpr char kCtrlZ = '\x1A';

bool AtEnd(FILE* file) {
    int c = std::getc(file);
    if (c == EOF) return true;
    std::ungetc(c, file);
    return false;
}

}  // namespace

bool ReadCaseLine(FILE* file, std::string& line) {
    line.clear();
    int c = std::getc(file);
    if (c == EOF) return false;

    // One character beyond the kept length is held, so that a '\r' that
    // stands just there can still be told from text.
    size_t length = 0;
    bool lastWasCr = false;
    for (; c != EOF && c != '\n'; c = std::getc(file)) {
        if (length++ <= kCaseLineLength) line.push_back(static_cast<char>(c));
        lastWasCr = c == '\r';
    }
    if (c == '\n' && lastWasCr && length == line.size()) line.pop_back();
    if (line.size() > kCaseLineLength) line.resize(kCaseLineLength);

    if (line.size() == 1 && line[0] == kCtrlZ && AtEnd(file)) {
        line.clear();
        return false;
    }
    return true;
}
