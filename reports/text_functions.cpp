#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "column_text.h"
#include "number_format.h"
#include "report_text.h"

namespace {

// The library's result buffers; a result is cut to fit with its terminator.
template <std::size_t N>
class ResultBuffer {
public:
    const char* Set(std::string_view text) {
        std::size_t length = std::min(text.size(), N - 1);
        std::memcpy(bytes_.data(), text.data(), length);
        bytes_[length] = '\0';
        return bytes_.data();
    }
    const char* Fill(char ch, int n) {
        std::size_t length = std::min(static_cast<std::size_t>(std::max(n, 0)), N - 1);
        std::memset(bytes_.data(), ch, length);
        bytes_[length] = '\0';
        return bytes_.data();
    }

private:
    std::array<char, N> bytes_{};
};

ResultBuffer<1024> textBuffer;
ResultBuffer<256> numberBuffer;
ResultBuffer<128> dateBuffer;

std::string_view OrEmpty(const char* text) { return text != nullptr ? std::string_view(text) : std::string_view(); }

}  // namespace

const char* Space(int n) { return textBuffer.Fill(' ', n); }

const char* PakLStr(const char* text, int n) { return textBuffer.Set(LeftInColumns(OrEmpty(text), n)); }

const char* PakLStr(const std::string& text, int n) { return textBuffer.Set(LeftInColumns(text, n)); }

const char* PakStr(const char* text, int n) { return textBuffer.Set(RightInColumns(OrEmpty(text), n)); }

const char* PakStr(const std::string& text, int n) { return textBuffer.Set(RightInColumns(text, n)); }

const char* Repli(char ch, int n) { return textBuffer.Fill(ch, n); }

const char* Str(double x, int width, int decimals) { return numberBuffer.Set(FormatFixed(x, width, decimals)); }

const char* Str(long x, int width) { return numberBuffer.Set(FormatInteger(x, width)); }

const char* Str(long x) { return numberBuffer.Set(FormatInteger(x, 0)); }

const char* DTOC(const DateTime& date, bool longYear) {
    char text[64];
    if (longYear) {
        std::snprintf(text, sizeof text, "%02d.%02d.%04d", date.Day(), date.Month(), date.Year());
    } else {
        std::snprintf(text, sizeof text, "%02d.%02d.%02d", date.Day(), date.Month(), date.Year() % 100);
    }
    return dateBuffer.Set(text);
}

const char* DTOCDM(const DateTime& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d", date.Day(), date.Month());
    return dateBuffer.Set(text);
}

DateTime Date() { return DateTime::Now(); }
