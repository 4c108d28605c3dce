#include "graph_header.h"

#include <fstream>

#include "split_to_array.h"

namespace {

constexpr std::string_view kSeparators = " \t\r";
constexpr std::string_view kColumnSeparators = " ;\t\n\r";
constexpr std::string_view kParameterMarker = "PARAMETER:";

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

std::vector<std::string> SplitColumnNames(std::string_view line) {
    std::string text(line);
    std::vector<std::string> names;
    SplitToArray(kColumnSeparators, text, names);
    return names;
}

bool IsParameterLine(std::string_view line) { return line.substr(0, kParameterMarker.size()) == kParameterMarker; }

std::vector<std::string> ReadColumnNames(const char* path) {
    std::ifstream file(path == nullptr ? "" : path, std::ios::binary);
    // Lines end at LF, as the plot cuts them; a CR before it is a separator.
    std::string line;
    if (!std::getline(file, line)) return {};
    if (IsParameterLine(line) && !std::getline(file, line)) return {};
    return SplitColumnNames(line);
}
