#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "casefiles/case_lines.h"

namespace {

std::vector<std::string> ReadAll(const std::string& bytes, std::size_t blockSize) {
    FILE* file = std::tmpfile();
    EXPECT_NE(file, nullptr);
    if (!file) return {};
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    CaseLines reader(file, blockSize);
    std::vector<std::string> lines;
    std::string line;
    while (reader.Next(line)) lines.push_back(line);
    std::fclose(file);
    return lines;
}

struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::string> lines;
};

// Small blocks put every line end, CR LF pair and Ctrl-Z across a block's
// edge somewhere.
void ExpectLines(const Case& c) {
    for (std::size_t blockSize : {std::size_t{1}, std::size_t{2}, std::size_t{3}, CaseLines::kBlockSize}) {
        SCOPED_TRACE(std::string(c.what) + ", block of " + std::to_string(blockSize));
        EXPECT_EQ(ReadAll(c.bytes, blockSize), c.lines);
    }
}

TEST(CaseLines, LineEnds) {
    const Case cases[] = {
        {"empty file", "", {}},
        {"LF", "a\nb\n", {"a", "b"}},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"mixed", "a\r\nb\nc\r\n", {"a", "b", "c"}},
        {"CR alone", "a\rb\r", {"a", "b"}},
        {"CR, then CR LF", "a\r\r\n", {"a", ""}},
        {"CR inside a line ends it", "a\rb\n", {"a", "b"}},
        {"empty lines kept", "\n\r\n\n", {"", "", ""}},
        {"last line without its end", "a\nb", {"a", "b"}},
        {"Ctrl-Z line at the end", "a\n\x1A", {"a"}},
        {"Ctrl-Z line with CR LF at the end", "a\r\n\x1A\r\n", {"a"}},
        {"Ctrl-Z line inside the file kept", "\x1A\nb\n", {"\x1A", "b"}},
        {"Ctrl-Z inside a line kept", "a\x1A\n\x1A", {"a\x1A"}},
        {"NUL kept in a line", std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
    };
    for (const auto& c : cases) ExpectLines(c);
}

TEST(CaseLines, ALongLineIsOneRecordCutToTheLineLength) {
    const std::string kept(kCaseLineLength, 'x');
    const Case cases[] = {
        {"longer line", kept + "yyyyy\nnext\n", {kept, "next"}},
        {"one more than kept, LF", kept + "y\nnext\n", {kept, "next"}},
        {"exactly kept, CR LF", kept + "\r\nnext\r\n", {kept, "next"}},
        {"one more than kept, CR LF", kept + "y\r\nnext\r\n", {kept, "next"}},
        {"long last line without its end", kept + "yyy", {kept}},
        {"longer than a block", kept + std::string(CaseLines::kBlockSize, 'y') + "\r\nnext", {kept, "next"}},
    };
    for (const auto& c : cases) ExpectLines(c);
}

}  // namespace
