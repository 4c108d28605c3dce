#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "bus.h"
#include "document_model.h"
#include "element_key.h"
#include "ieee14_diagram.h"

namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

int CountOfType(const PowerSystem& model, PowerSystem::ListId list, int type) {
    int n = 0;
    for (const auto& [key, element] : model.List(list).Entries()) n += element->GetElementType() == type;
    return n;
}

// The committed sample network is what the generator makes of the case
// today: regenerating it changes no byte.
TEST(Ieee14Diagram, TheCommittedSampleIsWhatTheCaseGives) {
    // As the generator makes it: without a text measurer.
    PowerSystem* model = PowerSystem::Create();
    model->AddRef();
    DrawIeee14Diagram(*model, EXAMPLES_DIR "/ieee14.cdf");
    Archive out = Archive::ForStoring();
    model->Serialize(out);
    model->Release();
    const std::vector<std::uint8_t> committed = ReadFile(EXAMPLES_DIR "/ieee14.pf");
    ASSERT_FALSE(committed.empty());
    EXPECT_TRUE(out.Bytes() == committed) << "regenerate examples/ieee14.pf with make_ieee14_diagram";
}

TEST(Ieee14Diagram, OpensWithEveryElementOfTheCaseConnected) {
    DocumentModel model;
    model.Load(ReadFile(EXAMPLES_DIR "/ieee14.pf"));
    EXPECT_EQ(model->List(PowerSystem::kBuses).Entries().size(), 14u);
    EXPECT_EQ(CountOfType(*model, PowerSystem::kLines, ElementType::PowerLine), 17);
    EXPECT_EQ(CountOfType(*model, PowerSystem::kLines, ElementType::Transformer), 3);
    EXPECT_EQ(model->List(PowerSystem::kGenerators).Entries().size(), 2u);
    EXPECT_EQ(model->List(PowerSystem::kSyncCompensators).Entries().size(), 3u);
    EXPECT_EQ(model->List(PowerSystem::kLoads).Entries().size(), 11u);
    EXPECT_EQ(model->List(PowerSystem::kCapacitors).Entries().size(), 1u);
    // Branches reach a bus at both ends, one-ports at end 0.
    for (PowerSystem::ListId list : {PowerSystem::kLines, PowerSystem::kGenerators, PowerSystem::kSyncCompensators,
                                     PowerSystem::kLoads, PowerSystem::kCapacitors}) {
        for (const auto& [key, element] : model->List(list).Entries()) {
            const auto& ends = element->GetEndKeys();
            EXPECT_EQ(KeyCategory(ends[0]), Category::Bus) << element->GetName();
            if (list == PowerSystem::kLines) {
                EXPECT_EQ(KeyCategory(ends[1]), Category::Bus) << element->GetName();
            }
        }
    }
    // No two buses share a place, and the slack keeps its kind.
    std::set<std::pair<int, int>> tops;
    int swing = 0;
    for (const auto& [key, bus] : model->List(PowerSystem::kBuses).Entries()) {
        tops.insert({bus->GetBoundingRect().left, bus->GetBoundingRect().top});
        swing += bus->GetValues()[Bus::kKind] == Bus::kSwingKind;
    }
    EXPECT_EQ(tops.size(), 14u);
    EXPECT_EQ(swing, 1);
}

}  // namespace
