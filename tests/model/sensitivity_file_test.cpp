// The graph data file of a sensitivity result: row names, values, order,
// the row limit and the closing row, byte for byte.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "scratch_folder.h"
#include "sensitivity_file.h"

namespace {

TEST(SensitivityFile, NamesKeepTheirFirstColumn) {
    struct Case {
        const char* name;
        const char* row;
    } cases[] = {
        {"Substation North 110 kV bus A", "Substation_North_110"},  // 29 characters
        {"Bus 1", "Bus_1"},
        {"tab\there", "tab_here"},
        {"", "_"},
        {"   ", "___"},
    };
    for (const Case& c : cases) EXPECT_EQ(SensitivityFile::RowName(c.name), c.row) << c.name;
}

TEST(SensitivityFile, ValuesAsTheStandardStreamWritesThem) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {100.0, "100"},        {-100.0, "-100"},           {0.5, "0.5"},
        {0.0, "0"},            {1.5e-5, "1.5e-005"},       {-2.0e-7, "-2e-007"},
        {1234567.0, "1.23457e+006"}, {0.123456789, "0.123457"}, {1e100, "1e+100"},
    };
    for (const Case& c : cases) EXPECT_EQ(SensitivityFile::FormatValue(c.value), c.text) << c.value;
}

TEST(SensitivityFile, RowsByDecreasingKeyWithTiesInTheirOrder) {
    SensitivityFile file;
    file.Add("a", -1.0, 1.0);
    file.Add("b", 2.0, 2.0);
    file.Add("c", 1.0, 1.0);
    file.Add("d", 0.25, 0.5);
    file.Sort();
    file.Divide(0.5);
    EXPECT_EQ(file.Text(10),
              "Names x Sensitivity\r\n"
              "b\t1\t4\r\n"
              "a\t2\t-2\r\n"
              "c\t3\t2\r\n"
              "d\t4\t0.5\r\n"
              "F\t5\t0.0\r\n");
}

TEST(SensitivityFile, TheRowLimitAndTheEmptyFile) {
    EXPECT_EQ(SensitivityFile().Text(30), "Names x Sensitivity\r\nF\t1\t0.0\r\n");
    SensitivityFile forty;
    for (int i = 0; i < 40; ++i) forty.Add("bus " + std::to_string(i), i, i);
    forty.Sort();
    const std::string text = forty.Text(30);
    EXPECT_NE(text.find("bus_10\t30\t10\r\n"), std::string::npos);
    EXPECT_EQ(text.find("bus_9\t"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\r\nF\t31\t0.0\r\n"));
}

TEST(SensitivityFile, WritesTheWholeFileOrAnswersFalse) {
    ScratchFolder folder("sensitivity_file");
    SensitivityFile file;
    file.Add("x", 1.0, 1.0);
    const std::string path = (folder / "rows.txt").string();
    ASSERT_TRUE(file.Write(path.c_str(), 30));
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), file.Text(30));
    EXPECT_FALSE(file.Write((folder / "missing" / "rows.txt").string().c_str(), 30));
    EXPECT_FALSE(file.Write(nullptr, 30));
    EXPECT_FALSE(file.Write("", 30));
}

}  // namespace
