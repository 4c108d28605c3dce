#include "field_value.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "decimal_comma_locale.h"

namespace {

struct Case {
    const char* what;
    FieldValue value;
    std::optional<double> asDouble;
    std::optional<int> asInt;
    std::optional<std::string> asText;
};

TEST(FieldValue, EachStoredTypeReadsAsEachForm) {
    const std::int64_t wide = std::int64_t{std::numeric_limits<int>::max()} + 1;
    const Case cases[] = {
        {"null", std::monostate{}, 0.0, 0, ""},
        {"integer", std::int64_t{-70000}, -70000.0, -70000, "-70000"},
        {"integer wider than an int", wide, static_cast<double>(wide), std::nullopt, "2147483648"},
        {"whole double", 400.0, 400.0, 400, "400."},
        {"double with a fraction", 0.5, 0.5, std::nullopt, "0.5"},
        {"double needing many digits", 0.1, 0.1, std::nullopt, "0.10000000000000000555"},
        {"large double", 1e22, 1e22, std::nullopt, "1.e+22"},
        {"text with trailing blanks", std::string("Bus 1  "), std::nullopt, std::nullopt, "Bus 1"},
        {"blank text", std::string("   "), std::nullopt, std::nullopt, ""},
        {"blob", Blob{1, 2}, std::nullopt, std::nullopt, std::nullopt},
    };
    DecimalCommaLocale comma;  // numbers stay in the C locale whatever the user's is
    for (const Case& c : cases) {
        EXPECT_EQ(AsDouble(c.value), c.asDouble) << c.what;
        EXPECT_EQ(AsInt(c.value), c.asInt) << c.what;
        EXPECT_EQ(AsText(c.value), c.asText) << c.what;
    }
}

TEST(FieldValue, ColumnsAreFoundIgnoringCase) {
    RowSet rows{{"ID", "Description"}, {}};
    EXPECT_EQ(rows.ColumnIndex("description"), 1);
    EXPECT_EQ(rows.ColumnIndex("id"), 0);
    EXPECT_EQ(rows.ColumnIndex("Descriptio"), -1);
}

}  // namespace
