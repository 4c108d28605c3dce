// Reading a graph data file: an optional "PARAMETER:" line, a header line of
// column names, then rows of values separated by blanks, tabs or ";". Lines
// end with LF or CR LF; a CR is one more separator.

#include <charconv>
#include <algorithm>
#include <fstream>
#include <string_view>

#include "graph_header.h"
#include "graph_plot.h"
#include "graph_value.h"
#include "split_to_array.h"

namespace {

constexpr std::string_view kParameterSeparators = " \t;\r";
constexpr std::string_view kRowSeparators = " ;\t\n\r";
// The message around a missing column's name.
constexpr std::string_view kMissingVariableBefore = "Graph cannot be updated!\nMissing information for ";
constexpr std::string_view kMissingVariableAfter = " variable!";

std::vector<std::string_view> SplitLines(std::string_view contents) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < contents.size()) {
        std::size_t end = contents.find('\n', start);
        if (end == std::string_view::npos) end = contents.size();
        lines.push_back(contents.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Calls `use` with the index and text of each piece of the line between runs
// of separators, as SplitToArray cuts it, without copying: rows are many.
template <typename Use>
void ForEachToken(std::string_view line, std::string_view separators, Use use) {
    bool separator[256] = {};
    for (char c : separators) separator[static_cast<unsigned char>(c)] = true;
    std::size_t index = 0;
    std::size_t at = 0;
    while (true) {
        while (at < line.size() && separator[static_cast<unsigned char>(line[at])]) ++at;
        if (at == line.size()) return;
        std::size_t end = at;
        while (end < line.size() && !separator[static_cast<unsigned char>(line[end])]) ++end;
        use(index++, line.substr(at, end - at));
        at = end;
    }
}

std::vector<std::string> Tokens(std::string_view separators, std::string_view line) {
    std::string text(line);
    std::vector<std::string> pieces;
    SplitToArray(separators, text, pieces);
    return pieces;
}

std::string Trimmed(const std::string& text) {
    constexpr std::string_view kWhite = " \t\r\n\v\f";
    std::size_t first = text.find_first_not_of(kWhite);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(kWhite) - first + 1);
}

// The parameter column as a decimal integer read from the token's start;
// what is no number, or no int, is column 0.
int ParameterColumnOf(std::string_view token) {
    if (!token.empty() && token[0] == '+') token.remove_prefix(1);
    int column = 0;
    auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), column);
    return error == std::errc() ? column : 0;
}

}  // namespace

bool GraphPlot::MapCurves(const std::string& header) {
    std::vector<std::string> names = SplitColumnNames(header);
    auto resolve = [&](const std::string& name, int& column) {
        if (column >= 0 && static_cast<std::size_t>(column) < names.size() && names[column] == name) return true;
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (names[i] == name) {
                column = static_cast<int>(i);
                return true;
            }
        }
        std::string text(kMissingVariableBefore);
        text.append(name).append(kMissingVariableAfter);
        prompt_.MessageBox(text, "", PromptIcon::Warning, PromptButtons::Ok);
        return false;
    };
    for (GraphCurve& curve : curves_) {
        if (!resolve(curve.xName, curve.xColumn) || !resolve(curve.yName, curve.yColumn)) return false;
    }
    return true;
}

bool GraphPlot::LoadData() {
    std::ifstream file(dataFile_, std::ios::binary);
    if (!file) return false;
    std::string contents;
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    file.seekg(0, std::ios::beg);
    if (size > 0) {
        contents.resize(static_cast<std::size_t>(size));
        file.read(contents.data(), size);
        contents.resize(static_cast<std::size_t>(file.gcount()));
    }
    if (file.bad()) return false;
    loaded_ = true;

    std::vector<std::string_view> lines = SplitLines(contents);
    std::size_t next = 0;
    std::string_view header = next < lines.size() ? lines[next++] : std::string_view();
    if (IsParameterLine(header)) {
        std::vector<std::string> tokens = Tokens(kParameterSeparators, header);
        if (tokens.size() < 2) return false;
        parameterName_ = Trimmed(tokens[1]);
        if (tokens.size() > 2) parameterColumn_ = ParameterColumnOf(tokens[2]);
        header = next < lines.size() ? lines[next++] : std::string_view();
    }
    if (!MapCurves(std::string(header))) return false;
    return ReadDataRows(lines, next);
}

bool GraphPlot::ReadDataRows(const std::vector<std::string_view>& lines, std::size_t first) {
    values_.clear();
    for (const GraphCurve& curve : curves_) {
        values_[curve.xColumn];
        values_[curve.yColumn];
    }
    categories_.clear();
    parameterValues_.clear();

    // The arrays by column index, for the columns up to the last one used.
    std::vector<std::vector<float>*> columns(values_.empty() ? 0 : values_.rbegin()->first + 1, nullptr);
    for (auto& [index, values] : values_) {
        if (index < 0) continue;
        columns[index] = &values;
        values.reserve(lines.size() - std::min(first, lines.size()));
    }
    const bool categorized = graphType_ == GraphType::Categories;
    for (std::size_t line = first; line < lines.size(); ++line) {
        ForEachToken(lines[line], kRowSeparators, [&](std::size_t i, std::string_view token) {
            if (i == 0 && categorized) categories_.emplace_back(token);
            if (i < columns.size() && columns[i] != nullptr) {
                columns[i]->push_back(GraphValue(token));
            } else if (static_cast<long long>(i) == parameterColumn_) {
                float value = GraphValue(token);
                if (parameterValues_.empty() || parameterValues_.back() != value) parameterValues_.push_back(value);
            }
        });
    }
    // The closing row of a category file names no category.
    if (categorized && !categories_.empty()) categories_.pop_back();
    return true;
}
