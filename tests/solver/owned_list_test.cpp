#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "owned_list.h"

namespace {

// A record with a text too long to live inside the string: a record never
// ended, or ended twice, shows in the sanitizers' leak and use checks.
struct Tagged {
    int tag = 0;
    std::string text = std::string(40, 'x');
};

std::vector<int> Tags(const OwnedList<Tagged>& list) {
    std::vector<int> tags;
    for (const auto& record : list) tags.push_back(record->tag);
    return tags;
}

// Records made at both ends, across several blocks, keep their addresses
// and values while the list grows, erases and starts again; a record
// handed in ready-made lives among them.
TEST(OwnedList, RecordsStayInPlaceAsTheListGrows) {
    struct Case {
        const char* name;
        long reserve;  // < 0: no reserve
        int count;
    };
    const Case cases[] = {
        {"no reserve", -1, 300},
        {"a reserve of 0", 0, 40},
        {"fewer than reserved", 100, 60},
        {"more than reserved", 3, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OwnedList<Tagged> list;
        if (c.reserve >= 0) list.Reserve(static_cast<std::size_t>(c.reserve));
        std::vector<Tagged*> made;
        std::vector<int> expected;
        for (int i = 0; i < c.count; ++i) {
            Tagged* record = i % 2 ? list.AddBack() : list.AddFront();
            record->tag = i;
            made.push_back(record);
            if (i % 2)
                expected.push_back(i);
            else
                expected.insert(expected.begin(), i);
        }
        auto handed = std::make_unique<Tagged>();
        handed->tag = -1;
        list.push_back(std::move(handed));
        expected.push_back(-1);

        for (int i = 0; i < c.count; ++i) EXPECT_EQ(made[static_cast<std::size_t>(i)]->tag, i);
        EXPECT_EQ(Tags(list), expected);

        list.EraseIf([](const auto& record) { return record->tag % 3 == 0; });
        std::erase_if(expected, [](int tag) { return tag % 3 == 0; });
        EXPECT_EQ(Tags(list), expected);

        list.clear();
        EXPECT_TRUE(list.empty());
        for (int i = 0; i < c.count; ++i) list.AddBack()->tag = i;
        EXPECT_EQ(list.size(), static_cast<std::size_t>(c.count));
        EXPECT_EQ(list.back()->tag, c.count - 1);
    }
}

}  // namespace
