#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "bus_number_table.h"
#include "network.h"

namespace {

// Numbers filed before the table grows, near and far, stay found after
// it, whatever count it is told; a number filed again takes the new bus.
TEST(BusNumberTable, EveryNumberFiledIsFoundAcrossReservesAndReplacements) {
    std::vector<NetBus> buses(6);
    const std::vector<int> numbers = {1, 7, 40, 300, 2000003, std::numeric_limits<int>::max()};
    BusNumberTable table;
    for (std::size_t i = 0; i < numbers.size(); ++i) table.Set(numbers[i], &buses[i]);
    for (const std::size_t count : {std::size_t{0}, std::size_t{10}, std::size_t{100},
                                    static_cast<std::size_t>(std::numeric_limits<int>::max())}) {
        SCOPED_TRACE(count);
        table.Reserve(count);
        for (std::size_t i = 0; i < numbers.size(); ++i) EXPECT_EQ(table.Find(numbers[i]), &buses[i]);
        EXPECT_EQ(table.Find(2), nullptr);
        EXPECT_EQ(table.Find(-7), nullptr);
    }
    table.Set(300, &buses[0]);
    table.Set(2000003, &buses[1]);
    EXPECT_EQ(table.Find(300), &buses[0]);
    EXPECT_EQ(table.Find(2000003), &buses[1]);
    table.Clear();
    EXPECT_EQ(table.Find(1), nullptr);
    EXPECT_EQ(table.Find(2000003), nullptr);
}

}  // namespace
