// The printer text file: the pitch code, then the pages' lines with CR LF,
// the East European letters in the printer's code page when asked.

#include <cstdint>
#include <new>
#include <span>

#include "db_report.h"
#include "replacement_file.h"

namespace {

constexpr char kEsc = 0x1B;
constexpr char kShiftIn = 0x0F;  // condensed: 158 columns on landscape pages
constexpr char kDc2 = 0x12;      // condensed off
constexpr char kFormFeed = 0x0C;

// Windows-1250 letter, then the same letter in code page 852.
constexpr unsigned char kCodePage852[][2] = {
    {0x8A, 0xE6},  // Š
    {0x8E, 0xA6},  // Ž
    {0x9A, 0xE7},  // š
    {0x9E, 0xA7},  // ž
    {0xC6, 0x8F},  // Ć
    {0xC8, 0xAC},  // Č
    {0xD0, 0xD1},  // Đ
    {0xE6, 0x86},  // ć
    {0xE8, 0x9F},  // č
    {0xF0, 0xD0},  // đ
};

char InCodePage852(char c) {
    for (const auto& letter : kCodePage852) {
        if (static_cast<unsigned char>(c) == letter[0]) return static_cast<char>(letter[1]);
    }
    return c;
}

// The file is written as a text file would be: every newline, those inside
// stored lines as well, becomes CR LF.
std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// One stored line as the text file holds it.
void WriteReportLine(std::string& out, const std::string& line, bool convertLetters) {
    if (convertLetters) {
        for (char c : line) out += InCodePage852(c);
    } else {
        out += line;
    }
    out += '\n';
}

}  // namespace

void ReportPage::Write(std::string& out, int n) {
    report_.WriteFirstPageBlock(out, n);
    if (withHeader_) report_.WriteHeaderBlock(out, n);
    for (const std::string& line : lines_) WriteReportLine(out, line, report_.GetOption());
}

void ReportBlock::Write(std::string& out) {
    for (const std::string& line : lines_) WriteReportLine(out, line, report_.GetOption());
}

void CDBReport::WriteHeaderBlock(std::string& out, int page) {
    if (repeatHeader_ || page == 1) headerBlock_.Write(out);
}

void CDBReport::WriteFirstPageBlock(std::string& out, int page) {
    if (page == 1) firstPageBlock_.Write(out);
}

bool CDBReport::SaveAs(const char* path, bool formFeeds) {
    if (path == nullptr || *path == '\0') return false;
    try {
        std::string text{kEsc, 'M', pageType_ == 2 ? kShiftIn : kDc2};
        for (std::size_t i = 0; i < pages_.size(); ++i) {
            pages_[i]->Write(text, static_cast<int>(i) + 1);
            if (formFeeds) text += std::string{kFormFeed, '\n'};
        }
        std::string bytes = WithCrLf(text);
        WriteFileReplacing(path, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
        return true;
    } catch (const FileWriteError&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
