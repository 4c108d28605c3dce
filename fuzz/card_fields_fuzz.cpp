// Compares the fixed-column field readers with their column-by-column
// reading (tests/support/card_field_reference.h) on arbitrary lines: the
// first three bytes pick the field's column, its width and its implied
// decimals, the rest is the line. Any difference, to the bit, is a finding.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "card_field_reference.h"
#include "casefiles/card_fields.h"

namespace {

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    // Columns from -1 and widths from -1, both past the longest field a
    // reader asks for.
    const int col = data[0] % 48 - 1;
    const int len = data[1] % 48 - 1;
    const int decimals = data[2] % 10;
    const std::string_view line(reinterpret_cast<const char*>(data + 3), size - 3);
    const FieldLine cut(line);

    namespace reference = card_field_reference;
    const double real = reference::Real(line, col, len, decimals);
    if (!SameBits(GetRealField(line, col, len, decimals), real) || !SameBits(GetRealField(cut, col, len, decimals), real))
        std::abort();
    const int integer = reference::Int(line, col, len);
    if (GetIntField(line, col, len) != integer || GetIntField(cut, col, len) != integer) std::abort();
    const std::string text = reference::Text(line, col, len, 50);
    if (GetField(line, col, len, 50) != text || GetField(cut, col, len, 50) != text) std::abort();
    return 0;
}
