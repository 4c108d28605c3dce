// The report object's life, the streaming of text into its current line, and
// where closed lines go: sections, pages and the text block's width.

#include "db_report.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "column_text.h"
#include "number_format.h"
#include "split_to_array.h"

namespace {

// The rule character '-' is stored as Windows-1250's em dash, so that rules
// are drawn and printed unbroken.
constexpr char kRuleDash = '\x97';

}  // namespace

IDBReport* createReport(ITextMeasurer& display) {
    try {
        return new CDBReport(display);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

int CDBReport::Release() {
    int left = --references_;
    if (left <= 0) delete this;
    return left;
}

void CDBReport::AddRef() { ++references_; }

IDBReport& CDBReport::operator<<(const DateTime& date) {
    char text[64];
    std::snprintf(text, sizeof text, "%02d.%02d.%4d", date.Day(), date.Month(), date.Year());
    line_ += text;
    return *this;
}

IDBReport& CDBReport::operator<<(const std::string& text) { return *this << text.c_str(); }

IDBReport& CDBReport::operator<<(_ENDL) {
    EndLine();
    return *this;
}

IDBReport& CDBReport::operator<<(const char* text) {
    if (text != nullptr) line_ += text;
    return *this;
}

IDBReport& CDBReport::operator<<(char c) {
    // A NUL would end the stored line early in the printer file.
    if (c != '\0') line_ += c;
    return *this;
}

void CDBReport::Rule(char c, int n, bool endLine) {
    line_.append(static_cast<std::size_t>(std::max(n, 0)), c == '-' ? kRuleDash : c);
    if (endLine) EndLine();
}

void CDBReport::Spaces(int n) { line_.append(static_cast<std::size_t>(std::max(n, 0)), ' '); }

void CDBReport::LeftJustify(const std::string& text, int width) { line_ += LeftInColumns(text, width); }

void CDBReport::LeftJustify(const char* text, int width) {
    line_ += LeftInColumns(text != nullptr ? text : "", width);
}

void CDBReport::RightJustify(const std::string& text, int width) { line_ += RightInColumns(text, width); }

void CDBReport::RightJustify(const char* text, int width) {
    line_ += RightInColumns(text != nullptr ? text : "", width);
}

void CDBReport::Number(long value, int width) { line_ += FormatInteger(value, width); }

void CDBReport::Number(double value, int width, int decimals) { line_ += FormatFixed(value, width, decimals); }

void CDBReport::WriteLines(std::string text, int width) {
    std::vector<std::string> pieces;
    SplitToArray("\r\n", text, pieces);
    for (const std::string& piece : pieces) {
        line_ += piece.substr(0, static_cast<std::size_t>(std::max(width, 0)));
        EndLine();
    }
}

void CDBReport::EndLine() {
    if (line_.empty()) line_.push_back(' ');
    if (pages_.empty()) NewPage();
    std::string line = std::move(line_);
    line_.clear();

    if (section_ == 1) {
        headerBlock_.AddLine(std::move(line));
    } else if (section_ == 0) {
        firstPageBlock_.AddLine(std::move(line));
    } else {
        int width = currentPage_->AddLine(line);
        if (width < 0 && !currentPage_->IsFresh()) {
            NewPage();
            width = currentPage_->AddLine(line);
        }
        // Taller than an empty page: it is kept on a page of its own rather
        // than lost, or tried again on page after page.
        if (width < 0) width = currentPage_->AddOversizeLine(std::move(line));
        Widen(width);
    }
}

void CDBReport::NewPage() {
    pages_.push_back(std::make_unique<ReportPage>(*this, section_ != 3));
    currentPage_ = pages_.back().get();
}

void CDBReport::Widen(int width) { textBlock_.right = std::max(textBlock_.right, textBlock_.left + width); }

void CDBReport::SetSection(int section) {
    if (section != 3 && !pages_.empty()) {
        if (pages_.size() > 1) return;
        if (section_ == 0 && section != 0) {
            PlaceBlock(firstPageBlock_);
        } else if (section_ == 1 && section == 2) {
            PlaceBlock(headerBlock_);
        }
    }
    section_ = section;
}

void CDBReport::PlaceBlock(ReportBlock& block) {
    if (!block.Layout()) return;
    Widen(block.GetSize().cx);
    currentPage_->Reserve(block.GetSize().cy);
}

void CDBReport::SetAlignment(int alignment) {
    int width = textBlock_.Width();
    if (alignment == 2) {
        int shift = (margins_.right - margins_.left - width) / 2;
        textBlock_.left = margins_.left + shift;
        textBlock_.right = margins_.right - shift;
    } else if (alignment == 1) {
        textBlock_.right = margins_.right;
        textBlock_.left = textBlock_.right - width;
    } else {
        textBlock_.left = margins_.left;
        textBlock_.right = textBlock_.left + width;
    }
}
