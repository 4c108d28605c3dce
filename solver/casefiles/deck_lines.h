#pragma once

#include <cstdio>
#include <string>

#include "card_fields.h"
#include "case_lines.h"

class Solver;
struct Network;

// A plain solve evaluates the load polynomial: a deck's loads are its
// constant terms.
void TakeLoadsAsPolynomial(Network& network);

// The lines of a card deck as its readers walk them: the line in hand with
// its number, its fields read by columns (card_fields.h), and a failure that
// names the line and shows its text. A numeric field must hold a number:
// a card whose field holds anything else fails rather than read as 0.
class DeckLines {
public:
    // `format` names the deck in messages ("Card deck").
    DeckLines(Solver& solver, FILE* input, const char* format) : solver_(solver), lines_(input), format_(format) {}
    // Its fields look into its own line.
    DeckLines(const DeckLines&) = delete;
    DeckLines& operator=(const DeckLines&) = delete;

    // The next line; false at the end of the file.
    bool Next();
    const std::string& Line() const { return line_; }
    int LineNumber() const { return lineNumber_; }
    // True when the line begins with `code`, compared over its length.
    bool Is(const char* code) const;

    // Columns col to col+len-1 of the line in hand, as text of that width.
    std::string Text(int col, int len) const;
    double Real(int col, int len, int decimals) const;
    int Int(int col, int len) const;

    // Ends the run with the reason, the line's number and its text.
    [[noreturn]] void Fail(const std::string& reason) const;
    // Ends the run with the reason alone, once the deck is read.
    [[noreturn]] void FailAfterReading(const std::string& reason) const;

private:
    void RequireNumber(int col, int len, bool pointAllowed) const;

    Solver& solver_;
    CaseLines lines_;
    const char* format_;
    std::string line_;
    FieldLine fields_{std::string_view()};  // line_, cut at its end once for all its fields
    int lineNumber_ = 0;
};
