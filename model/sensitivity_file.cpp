#include "sensitivity_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <new>
#include <span>

#include "replacement_file.h"

namespace {

constexpr std::size_t kNameLength = 20;
constexpr char kLineEnd[] = "\r\n";

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

void SensitivityFile::Add(std::string_view name, double value, double sortKey) {
    rows_.push_back({RowName(name), value, sortKey});
}

void SensitivityFile::Sort() {
    std::stable_sort(rows_.begin(), rows_.end(), [](const Row& a, const Row& b) { return a.sortKey > b.sortKey; });
}

void SensitivityFile::Divide(double divisor) {
    for (Row& row : rows_) row.value /= divisor;
}

std::string SensitivityFile::RowName(std::string_view name) {
    std::string text(name.substr(0, kNameLength));
    std::replace_if(text.begin(), text.end(), IsWhiteSpace, '_');
    return text.empty() ? "_" : text;
}

std::string SensitivityFile::FormatValue(double value) {
    std::array<char, 64> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 6);
    std::string text(buffer.data(), result.ptr);
    // The exponent gets at least three digits.
    const std::size_t e = text.find('e');
    if (e != std::string::npos) {
        const std::size_t digits = e + 2;
        while (text.size() - digits < 3) text.insert(digits, 1, '0');
    }
    return text;
}

std::string SensitivityFile::Text(std::size_t maxRows) const {
    std::string text = "Names x Sensitivity";
    text += kLineEnd;
    const std::size_t count = std::min(maxRows, rows_.size());
    for (std::size_t i = 0; i < count; ++i) {
        text += rows_[i].name;
        text += '\t';
        text += std::to_string(i + 1);
        text += '\t';
        text += FormatValue(rows_[i].value);
        text += kLineEnd;
    }
    text += "F\t" + std::to_string(count + 1) + "\t0.0" + kLineEnd;
    return text;
}

bool SensitivityFile::Write(const char* path, std::size_t maxRows) const {
    if (path == nullptr || *path == '\0') return false;
    try {
        const std::string text = Text(maxRows);
        WriteFileReplacing(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
        return true;
    } catch (const FileWriteError&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
