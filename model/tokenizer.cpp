#include "tokenizer.h"

void Tokenizer::Tokenize(const std::string& text, std::vector<std::string>& out) {
    out.clear();
    endsWithDelimiter_ = 0;
    if (text.empty()) return;
    endsWithDelimiter_ = delimiters_.find(text.back()) != std::string::npos ? 1 : 0;
    std::size_t start = text.find_first_not_of(delimiters_);
    while (start != std::string::npos) {
        const std::size_t end = text.find_first_of(delimiters_, start);
        out.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? end : text.find_first_not_of(delimiters_, end);
    }
}
