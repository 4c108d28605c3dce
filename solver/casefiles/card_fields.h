#pragma once

#include <string>
#include <string_view>

// Fixed-column fields of the case files, read by their columns as punched
// cards were: columns count from 1, a number may carry implied decimals, and
// a blank that follows a digit, sign or point counts as the digit zero.
//
// A line ends at its first newline or at the end of the text; a line read by
// CaseLines::Next carries no newline, and its end counts as one. Numbers are
// read and written in the C locale whatever the process locale is.

// A line cut at its end once for all the fields read from it, where a reader
// takes many fields from one line. A zero byte ends the line for text fields
// but spoils a number field that reaches over it, as any character that is
// no part of a number does.
class FieldLine {
public:
    explicit FieldLine(std::string_view line);

    // The characters before the line's end.
    std::string_view Text() const { return text_; }
    // True when the line ends at a zero byte rather than a newline or the
    // end of the text.
    bool EndsAtZero() const { return endsAtZero_; }

private:
    std::string_view text_;
    bool endsAtZero_ = false;
};

// The text of columns col to col+len-1, cut or padded with blanks to exactly
// `width` characters; blanks inside are kept. All blanks when the line ends
// before column col.
std::string GetField(const FieldLine& line, int col, int len, int width);
std::string GetField(std::string_view line, int col, int len, int width);

// The number in columns col to col+len-1, scaled by 10^-decimals when the
// field holds no point of its own. 0 when the line ends before column col or
// the field holds anything but digits, signs, a point and blanks.
double GetRealField(const FieldLine& line, int col, int len, int decimals);
double GetRealField(std::string_view line, int col, int len, int decimals);

// As GetRealField, for an integer: a point makes the result 0 as well.
int GetIntField(const FieldLine& line, int col, int len);
int GetIntField(std::string_view line, int col, int len);

// `lead` blanks, then `value` filling exactly |width| columns with as many
// decimals as fit. `decimals` only says whether a place is kept for the point
// (0: no). A value too small for the field is written as zero, one too large
// as nines ("9999." or "99999"). A negative value keeps the field's width,
// so that the columns after it stay where a reader looks for them: "-3" in
// two columns, "-9" for anything beyond.
std::string FormatNumber(int lead, int width, int decimals, double value);
// FormatNumber's text appended to `out`: a table of many numbers builds its
// rows without a string for each.
void AppendNumber(std::string& out, int lead, int width, int decimals, double value);
