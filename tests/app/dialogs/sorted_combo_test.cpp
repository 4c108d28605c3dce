#include <gtest/gtest.h>

#include <QComboBox>

#include "sorted_combo.h"

namespace {

TEST(SortedCombo, EntriesGoInCaseInsensitiveOrderAndEqualNamesAfterTheOthers) {
    QComboBox combo;
    struct Case {
        const char* name;
        int index;
    };
    const Case cases[] = {{"Kosovo", 0}, {"bihac", 0}, {"Zenica", 2}, {"BIHAC", 1}, {"Bihac", 2}, {"", 0}};
    for (const Case& c : cases) EXPECT_EQ(AddSorted(combo, c.name), c.index) << c.name;
    QStringList entries;
    for (int i = 0; i < combo.count(); ++i) entries << combo.itemText(i);
    EXPECT_EQ(entries, QStringList({"", "bihac", "BIHAC", "Bihac", "Kosovo", "Zenica"}));
}

}  // namespace
