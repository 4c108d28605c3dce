#include "case_lines.h"

#include <algorithm>
#include <cstring>

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

// The first LF or CR in [begin, end), or end.
const char* LineEnd(const char* begin, const char* end) {
    const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', static_cast<std::size_t>(end - begin)));
    const char* stop = lf ? lf : end;
    const auto* cr = static_cast<const char*>(std::memchr(begin, '\r', static_cast<std::size_t>(stop - begin)));
    return cr ? cr : stop;
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
    for (;;) {
        if (c == EOF || c == '\n' || c == '\r') break;
        if (length < kCaseLineLength) kept[length++] = static_cast<char>(c);
        // The characters the stream holds read ahead (glibc keeps them
        // between these two pointers, as getc_unlocked reads them) are
        // taken up to the line's end in one sweep.
        const char* ahead = file->_IO_read_ptr;
        const char* aheadEnd = file->_IO_read_end;
        const char* stop = LineEnd(ahead, aheadEnd);
        const std::size_t taken = std::min<std::size_t>(stop - ahead, kCaseLineLength - length);
        std::memcpy(kept + length, ahead, taken);
        length += taken;
        file->_IO_read_ptr = const_cast<char*>(stop);
        c = getc_unlocked(file);
    }
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
