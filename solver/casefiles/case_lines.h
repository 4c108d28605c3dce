#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// The longest line the case-file readers look at. A longer line is still read
// to its end, so that its rest never turns into a record of its own.
inline constexpr std::size_t kCaseLineLength = 255;

// The lines of a case file, read from its stream in large blocks and split
// with memchr rather than a character at a time. A line ends at LF, CR LF, a
// CR alone, or the end of the file. Only the first kCaseLineLength
// characters are kept. A lone Ctrl-Z line at the end of the file, as old
// editors left there, counts as the end of the file.
//
// It reads ahead of the line in hand, so while it lives it must be the only
// reader of its stream; the stream stays its opener's to close.
class CaseLines {
public:
    static constexpr std::size_t kBlockSize = 64 * 1024;

    explicit CaseLines(FILE* file, std::size_t blockSize = kBlockSize) : file_(file), block_(blockSize) {}

    // The next line, without its end; false at the end of the file.
    bool Next(std::string& line);

private:
    // Reads the next block; false when the stream has no more bytes.
    bool Refill();
    void TakeLine(std::string& line);
    bool AtEnd() { return next_ == end_ && !Refill(); }

    FILE* file_;
    std::vector<char> block_;
    const char* next_ = nullptr;  // the unread part of the block: [next_, end_)
    const char* end_ = nullptr;
};
