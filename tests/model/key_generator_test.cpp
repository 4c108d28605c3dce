#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "element_key.h"
#include "element_list.h"
#include "key_generator.h"
#include "recording_message_sink.h"
#include "recording_prompt.h"
#include "test_model.h"

namespace {

// A list that only refers to its elements, filled with keys.
struct KeyedList {
    explicit KeyedList(std::vector<int> keys) {
        list.SetOwning(false);
        for (int key : keys) list.Add(key, &element);
    }
    FakeElement element{1, 1};
    ElementList list;
};

TEST(KeyGenerator, NextSerialAfterTheLargestElseTheLowestFree) {
    const int top = MakeKey(kMaxKeySerial, Category::Bus);
    struct Case {
        const char* what;
        std::vector<int> keys;
        int category;
        std::uint32_t maxSerial;
        int expected;
    } cases[] = {
        {"empty list", {}, Category::Bus, kMaxKeySerial, 257},
        {"first line", {}, Category::Line, kMaxKeySerial, 266},
        {"after the largest", {257, 513}, Category::Bus, kMaxKeySerial, 769},
        {"gaps below the largest stay", {257, 1025}, Category::Bus, kMaxKeySerial, 1281},
        {"top taken: lowest free", {257, top}, Category::Bus, kMaxKeySerial, 513},
        {"top taken, 1 free", {513, top}, Category::Bus, kMaxKeySerial, 257},
        {"other categories do not collide", {MakeKey(1, 4), MakeKey(3, 4), MakeKey(3, 1)}, Category::Bus, 3,
         MakeKey(1, 1)},
        {"full", {MakeKey(1, 1), MakeKey(2, 1), MakeKey(3, 1)}, Category::Bus, 3, 0},
    };
    for (const auto& c : cases) {
        KeyedList keyed(c.keys);
        EXPECT_EQ(NextFreeKey(keyed.list, c.category, c.maxSerial), c.expected) << c.what;
    }
}

TEST(KeyGenerator, ModelKeysComeFromTheCategorysListOrTheClipboard) {
    TestModel model;
    RecordingPrompt prompt;
    model->SetPrompt(&prompt);

    EXPECT_EQ(model->NewKey(Category::Bus, false), 257);
    model.Add(ElementType::Bus);
    model.Add(ElementType::HorizontalBus);
    EXPECT_EQ(model->NewKey(Category::Bus, false), 769);
    EXPECT_EQ(model.Add(ElementType::PowerLine).key, 266);

    // For the clipboard, the keys of the clipboard count.
    EXPECT_EQ(model->NewKey(Category::Bus, true), 0);  // no clipboard lent
    KeyedList clipboard({MakeKey(5, Category::Load), MakeKey(2, Category::Bus)});
    model->SetClipboard(&clipboard.list);
    EXPECT_EQ(model->NewKey(Category::Bus, true), MakeKey(6, Category::Bus));
    EXPECT_TRUE(prompt.boxes.empty());

    // A category without a list.
    for (int category : {0, 2, 11, 25, 99}) EXPECT_EQ(model->NewKey(category, false), 0) << category;
    ASSERT_EQ(prompt.boxes.size(), 5u);
    EXPECT_EQ(prompt.boxes[0].text, "PowerSystem::GetElementList nije zavrsen");
}

TEST(KeyGenerator, ModelNearTheTopOfTheSpace) {
    TestModel model;
    RecordingMessageSink sink;
    model->SetMessageSink(&sink);
    for (std::uint32_t serial : {1u, kMaxKeySerial}) {
        auto bus = model->CreateElement(ElementType::Bus);
        static_cast<FakeElement&>(*bus).key = MakeKey(serial, Category::Bus);
        ASSERT_TRUE(model->AddElement(bus.get()));
        bus.release();
    }
    EXPECT_EQ(model->NewKey(Category::Bus, false), MakeKey(2, Category::Bus));
    EXPECT_TRUE(sink.messages.empty());
}

TEST(ElementFactory, MakesTheClassOfATypeWithTheModelAsOwner) {
    TestModel model;
    for (int type : {0, 23, 25, 26, 29, -1}) EXPECT_EQ(model->CreateElement(type), nullptr) << type;

    auto transformer = model->CreateElement(ElementType::Transformer);
    ASSERT_NE(transformer, nullptr);
    auto& made = static_cast<FakeElement&>(*transformer);
    EXPECT_EQ(made.GetElementType(), ElementType::Transformer);
    EXPECT_EQ(made.owner, &*model);
    EXPECT_EQ(made.autoConnectCalls, 0);

    // Bus kinds connect the free ends lying on them at once.
    for (int type : {1, 2, 18, 19}) {
        auto bus = model->CreateElement(type);
        EXPECT_EQ(static_cast<FakeElement&>(*bus).autoConnectCalls, 1) << type;
    }
}

}  // namespace
