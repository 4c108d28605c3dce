#include "graph_header.h"

#include <fstream>

namespace {

constexpr std::string_view kSeparators = " \t\r";

}  // namespace

std::vector<std::string> SplitHeaderNames(std::string_view line) {
    std::vector<std::string> names;
    std::size_t at = line.find_first_not_of(kSeparators);
    while (at != std::string_view::npos) {
        std::size_t end = line.find_first_of(kSeparators, at);
        names.emplace_back(line.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
        at = end == std::string_view::npos ? end : line.find_first_not_of(kSeparators, end);
    }
    return names;
}

GraphHeader ReadGraphHeader(const char* path) {
    GraphHeader header;
    std::ifstream file(path == nullptr ? "" : path, std::ios::binary);
    if (!file) {
        header.status = GraphHeader::Status::CannotOpen;
        return header;
    }
    std::string line;
    if (!std::getline(file, line)) {
        header.status = GraphHeader::Status::NoData;
        return header;
    }
    header.names = SplitHeaderNames(line);
    return header;
}
