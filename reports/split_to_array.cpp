#include "split_to_array.h"

void SplitToArray(std::string_view separators, std::string& text, std::vector<std::string>& pieces) {
    pieces.clear();
    std::size_t start = text.find_first_not_of(separators);
    while (start != std::string::npos) {
        std::size_t end = text.find_first_of(separators, start);
        pieces.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? end : text.find_first_not_of(separators, end);
    }
    text.clear();
}
