#pragma once

#include <string>
#include <vector>

// Splits text at every run of delimiter characters. The remote-solver
// connection uses IsDone to tell whether the last piece of a received block
// is a whole line.
class Tokenizer {
public:
    explicit Tokenizer(const char* delimiters) { SetDelimiters(delimiters); }
    virtual ~Tokenizer() = default;

    void SetDelimiters(const char* delimiters) { delimiters_ = delimiters ? delimiters : ""; }
    // Whether the text of the last Tokenize ended with a delimiter.
    int IsDone() const { return endsWithDelimiter_; }
    // The non-empty pieces of the text, in order, into `out` (emptied first).
    void Tokenize(const std::string& text, std::vector<std::string>& out);

private:
    int endsWithDelimiter_ = 0;
    std::string delimiters_;
};
