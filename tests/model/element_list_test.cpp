#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "element_list.h"
#include "fake_element.h"

namespace {

// A bus, counted when it is destroyed.
FakeElement* NewBus(int key, int* deletions, Rect rect = {}) {
    auto* bus = new FakeElement(1, 1, key, rect);
    bus->deletions = deletions;
    return bus;
}

TEST(ElementList, KeepsTheFirstElementOfAKey) {
    int deletions = 0;
    ElementList list;
    FakeElement* first = NewBus(257, &deletions);
    auto second = std::unique_ptr<FakeElement>(NewBus(257, &deletions));

    EXPECT_TRUE(list.Add(257, first));
    EXPECT_FALSE(list.Add(257, second.get()));  // refused: stays with the caller
    EXPECT_EQ(list.Find(257), first);
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.Find(513), nullptr);
    EXPECT_EQ(deletions, 0);
}

TEST(ElementList, CursorWalksInKeyOrder) {
    int deletions = 0;
    ElementList list;
    for (int key : {769, 257, 513}) list.Add(key, NewBus(key, &deletions));

    std::vector<int> keys;
    bool more = list.First();
    while (more) {
        int key = 0;
        IElement* element = nullptr;
        list.GetNext(more, key, element);
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(element->GetKey(), key);
        keys.push_back(key);
    }
    // The last entry was handed out together with more = false.
    EXPECT_EQ(keys, (std::vector<int>{257, 513, 769}));

    bool atEnd = true;
    int key = 7;
    IElement* element = list.Find(257);
    list.GetNext(atEnd, key, element);
    EXPECT_FALSE(atEnd);
    EXPECT_EQ(key, 0);
    EXPECT_EQ(element, nullptr);

    list.Reset();
    int walked = 0;
    while (list.Next(element)) ++walked;
    EXPECT_EQ(walked, 3);
    EXPECT_EQ(element, nullptr);
}

TEST(ElementList, EmptyListWalkTouchesNothing) {
    ElementList list;
    EXPECT_FALSE(list.First());
    bool more = true;
    int key = 42;
    IElement* element = nullptr;
    list.GetNext(more, key, element);
    EXPECT_TRUE(more);
    EXPECT_EQ(key, 42);
    EXPECT_FALSE(list.Next(element));
    EXPECT_EQ(list.GetLastKey(), 0);
    EXPECT_EQ(list.GetBoundingRect(), Rect{});
}

TEST(ElementList, RemovingTheEntryUnderTheCursorKeepsTheWalkGoing) {
    int deletions = 0;
    ElementList list;
    for (int key : {257, 513, 769}) list.Add(key, NewBus(key, &deletions));
    list.First();
    IElement* element = nullptr;
    list.Next(element);  // cursor now on 513
    std::unique_ptr<IElement> removed(list.Find(513));
    list.Remove(513);
    ASSERT_TRUE(list.Next(element));
    EXPECT_EQ(element->GetKey(), 769);
    EXPECT_EQ(deletions, 0);  // Remove never deletes
}

TEST(ElementList, LargestKeyComparesUnsigned) {
    int deletions = 0;
    ElementList list;
    int top = static_cast<int>(0xFFFFFF01u);  // serial 2^24 - 1, negative as an int
    list.Add(257, NewBus(257, &deletions));
    list.Add(top, NewBus(top, &deletions));
    EXPECT_EQ(list.GetLastKey(), top);
    EXPECT_EQ(list.Entries().begin()->first, 257);
}

TEST(ElementList, OwningListsDeleteTheirElementsOthersDoNot) {
    int deletions = 0;
    FakeElement* a = NewBus(257, &deletions);
    FakeElement* b = NewBus(513, &deletions);
    {
        ElementList owning;
        ElementList referring;
        referring.SetOwning(false);
        for (FakeElement* e : {a, b}) {
            owning.Add(e->key, e);
            referring.Add(e->key, e);
        }
        referring.DeleteAll();
        EXPECT_EQ(deletions, 0);
        EXPECT_TRUE(referring.IsEmpty());
        owning.Remove(513);  // taken out: no longer the list's to delete
    }
    EXPECT_EQ(deletions, 1);
    delete b;
    EXPECT_EQ(deletions, 2);
}

TEST(ElementList, TakingAllMovesTheNewKeysAndLeavesTheTakenOnes) {
    int deletions = 0;
    FakeElement* kept = NewBus(513, &deletions);
    {
        ElementList to;
        to.Add(513, kept);
        {
            ElementList from;
            for (int key : {769, 513, 257}) from.Add(key, NewBus(key, &deletions));
            from.First();
            to.TakeAll(from);
            EXPECT_EQ(from.GetCount(), 1);
            IElement* left = nullptr;
            EXPECT_FALSE(from.Next(left));  // its walk starts again from First
            ASSERT_TRUE(from.First() && from.Next(left));
            EXPECT_NE(left, kept);
            EXPECT_EQ(left->GetKey(), 513);
        }
        EXPECT_EQ(deletions, 1);  // only what `from` kept went with it
        std::vector<int> keys;
        for (const auto& [key, element] : to.Entries()) keys.push_back(element->GetKey());
        EXPECT_EQ(keys, (std::vector<int>{257, 513, 769}));
        EXPECT_EQ(to.Find(513), kept);
    }
    EXPECT_EQ(deletions, 4);
}

TEST(ElementList, BoundingRectUnitesNormalisedRectangles) {
    int deletions = 0;
    ElementList list;
    list.Add(257, NewBus(257, &deletions, {50, 40, 10, 20}));  // stored inside out
    list.Add(513, NewBus(513, &deletions, {100, 100, 120, 130}));
    EXPECT_EQ(list.GetBoundingRect(), (Rect{10, 20, 120, 130}));
}

}  // namespace
