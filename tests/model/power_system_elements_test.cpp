#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "element_key.h"
#include "recording_prompt.h"
#include "test_model.h"

namespace {

TEST(AddElement, DefaultNamesByKind) {
    TestModel model;
    struct Case {
        int type;
        std::vector<std::string> names;  // of the first and the second element
    } cases[] = {
        {ElementType::Bus, {"Bus1", "Bus2"}},
        {ElementType::NetworkEquivalent, {"Bus3", "Bus4"}},
        {ElementType::Load, {"L1", "L2"}},
        {ElementType::Generator, {"Gen1", "Gen2"}},
        {ElementType::SyncCompensator, {"SC1", "SC2"}},
        {ElementType::VarCompensator, {"SVC1", "SVC2"}},
        {ElementType::Shunt, {"Sh1", "Sh2"}},
        {ElementType::Capacitor, {"C1", "C2"}},
        {ElementType::Reactor, {"Reac1", "Reac2"}},
        {ElementType::PowerLine, {"Line1", "Line2"}},
        {ElementType::RegulatedTransformer, {"Line3", "Line4"}},
        {ElementType::FreeLine, {"Free Line 1", "Free Line 2"}},
        {ElementType::Connector, {"Connector 0", "Connector 1"}},
        {ElementType::Fuse, {"Connector 2", "Connector 3"}},
        {ElementType::PolygonElement, {"Poly", "Poly"}},
        {ElementType::FreeText, {"", ""}},
        {ElementType::SystemInfo, {"", ""}},
        {ElementType::VariableBank, {"", ""}},
        {ElementType::VariableReactorBank, {"", ""}},
    };
    for (const auto& c : cases) {
        for (const auto& name : c.names) EXPECT_EQ(model.Add(c.type).name, name) << c.type;
    }
    // Banks count with the capacitors and reactors; texts count too.
    EXPECT_EQ(model.Add(ElementType::Capacitor).name, "C5");
    EXPECT_EQ(model.Add(ElementType::Reactor).name, "Reac5");
    const NameCounters& counters = model->GetNameCounters();
    EXPECT_EQ(counters.texts, 2);
    EXPECT_EQ(counters.elementsAdded, 2 * 19 + 2);
}

TEST(AddElement, DefaultNamesSkipNamesTheListHolds) {
    TestModel model;
    // As after opening a document: capacitors C1 and C2 and a bus renamed
    // Bus1 were read while the counters start from 0.
    auto file = [&](int type, std::uint32_t serial, const char* name) {
        auto* element = new FakeElement(type, CategoryOfType(type), MakeKey(serial, CategoryOfType(type)));
        element->name = name;
        model->GetElementList(element->category)->Add(element->key, element);
    };
    file(ElementType::Capacitor, 1, "C1");
    file(ElementType::Capacitor, 2, "C2");
    file(ElementType::Bus, 1, "Bus1");
    EXPECT_EQ(model.Add(ElementType::Capacitor).name, "C3");
    EXPECT_EQ(model.Add(ElementType::Capacitor).name, "C4");
    EXPECT_EQ(model.Add(ElementType::Bus).name, "Bus2");
    EXPECT_EQ(model->GetNameCounters().capacitors, 4);

    // A connector numbered by the count never repeats a survivor's name.
    model.Add(ElementType::Connector);
    FakeElement& second = model.Add(ElementType::Connector);
    model.Add(ElementType::Connector);
    model->DeleteElement(&second);  // Connector 0 and Connector 2 remain
    EXPECT_EQ(model.Add(ElementType::Connector).name, "Connector 3");
}

TEST(AddElement, RefusesATakenKeyAndAnUnknownCategory) {
    TestModel model;
    RecordingPrompt prompt;
    model->SetPrompt(&prompt);
    FakeElement& first = model.Add(ElementType::Bus);

    int deletions = 0;
    auto twin = std::make_unique<FakeElement>(ElementType::Bus, Category::Bus, first.key);
    twin->deletions = &deletions;
    EXPECT_FALSE(model->AddElement(twin.get()));
    EXPECT_EQ(model->FindByKey(first.key), &first);
    EXPECT_EQ(twin->name, "");
    EXPECT_EQ(model->GetNameCounters().buses, 1);

    auto stray = std::make_unique<FakeElement>(23, 23, MakeKey(1, 23));
    EXPECT_FALSE(model->AddElement(stray.get()));
    ASSERT_EQ(prompt.boxes.size(), 1u);
    EXPECT_EQ(prompt.boxes[0].text, "PowerSystem::AddElement nije zavrsen");
    EXPECT_EQ(deletions, 0);
}

TEST(FindElements, ByKeyByNameAndNameOfKey) {
    TestModel model;
    RecordingPrompt prompt;
    model->SetPrompt(&prompt);
    FakeElement& bus = model.Add(ElementType::Bus);
    FakeElement& load = model.Add(ElementType::Load);
    model.Add(ElementType::Load).name = "L1";  // a second element of that name

    EXPECT_EQ(model->FindByKey(bus.key), &bus);
    EXPECT_EQ(model->FindByKey(load.key, &model->List(PowerSystem::kLoads)), &load);
    EXPECT_EQ(model->FindByKey(load.key, &model->List(PowerSystem::kBuses)), nullptr);
    for (int key : {0, -1, MakeKey(1, Category::BusGroup), MakeKey(1, 99), MakeKey(9, Category::Bus)}) {
        EXPECT_EQ(model->FindByKey(key), nullptr) << key;
        EXPECT_EQ(model->GetNameOfKey(key), std::nullopt) << key;
    }
    EXPECT_TRUE(prompt.boxes.empty());  // look-ups never ask the user

    EXPECT_EQ(model->FindByName("L1", Category::Load), &load);  // the first in key order
    EXPECT_EQ(model->FindByName("l1", Category::Load), nullptr);
    EXPECT_EQ(model->FindByName("Bus1", Category::Load), nullptr);
    EXPECT_EQ(model->FindByName("Bus1", Category::Bus), &bus);
    EXPECT_EQ(model->GetNameOfKey(bus.key), std::optional<std::string>("Bus1"));
}

TEST(RemoveElement, TakesItOutOfEveryListWithoutDeletingIt) {
    TestModel model;
    FakeElement& bus = model.Add(ElementType::Bus);
    int deletions = 0;
    bus.deletions = &deletions;
    model->AddToSelection(&bus);
    model->AddToMarked(&bus);
    model->SetCurrentElement(&bus);

    model->RemoveElement(bus.key);
    std::unique_ptr<IElement> owned(&bus);
    EXPECT_EQ(model->FindByKey(bus.key), nullptr);
    EXPECT_FALSE(model->IsSelected(bus.key));
    EXPECT_FALSE(model->IsMarked(bus.key));
    EXPECT_EQ(model->GetCurrentElement(), nullptr);
    EXPECT_EQ(deletions, 0);
}

}  // namespace

namespace {

TEST(ElementLists, EachCategoryHasItsList) {
    TestModel model;
    RecordingPrompt prompt;
    model->SetPrompt(&prompt);
    struct Case {
        int category;
        PowerSystem::ListId list;
    } cases[] = {
        {1, PowerSystem::kBuses},           {10, PowerSystem::kLines},
        {4, PowerSystem::kGenerators},      {5, PowerSystem::kSyncCompensators},
        {6, PowerSystem::kVarCompensators}, {3, PowerSystem::kLoads},
        {7, PowerSystem::kShunts},          {8, PowerSystem::kCapacitors},
        {16, PowerSystem::kVariableBanks},  {17, PowerSystem::kVariableBanks},
        {9, PowerSystem::kReactors},        {13, PowerSystem::kFreeLines},
        {15, PowerSystem::kFreeTexts},      {20, PowerSystem::kConnectors},
        {22, PowerSystem::kConnectors},     {27, PowerSystem::kPolygons},
        {28, PowerSystem::kSystemInfos},
    };
    for (const auto& c : cases) EXPECT_EQ(model->GetElementList(c.category), &model->List(c.list)) << c.category;
    EXPECT_TRUE(prompt.boxes.empty());
    for (int category : {0, 2, 11, 14, 18, 21, 25}) EXPECT_EQ(model->GetElementList(category), nullptr);
    EXPECT_EQ(prompt.boxes.size(), 7u);
}

}  // namespace
