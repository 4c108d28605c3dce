#include <gtest/gtest.h>

#include <string>

#include "byte_text.h"
#include "element_factory.h"
#include "generator.h"
#include "load.h"
#include "shunt.h"
#include "stored_label.h"
#include "test_model.h"
#include "variable_bank.h"

namespace {

// The element base's colours, brush and pen, all zero, as the bus goldens
// have them.
const std::string kZeroAttributes =
    "FF "                                                // no label selected
    "00 00 00 00 "                                       // line colour
    "00 00 00 00 00 00 00 00 00 00 00 00 "               // brush
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ";  // pen

// Generator "G1", key 0x104, on bus 0x101: body (45, 105, 75, 135), laid
// horizontally, ends (100, 120) and (80, 120), one shown label.
const std::string kGeneratorBlock =
    "04 01 00 00 "                                       // key
    "2D 00 00 00 69 00 00 00 4B 00 00 00 87 00 00 00 "   // rectangle
    "02 47 31 "                                          // name
    "01 01 00 01 "                                       // on, orientation, selected, highlight
    "64 00 00 00 78 00 00 00 50 00 00 00 78 00 00 00 "   // end points
    "01 01 00 00 FF FF FF FF " +                         // end keys: the bus, none
    kZeroAttributes +
    "01 00 01 "                                          // label flags
    "01 "                                                // faces left
    "00 00 00 00 00 00 54 40 "                           // Pg 80
    "00 00 00 00 00 00 2E 40 "                           // Qg 15
    "00 00 00 00 00 00 3E C0 "                           // Qmin -30
    "00 00 00 00 00 00 49 40 "                           // Qmax 50
    "00 00 00 00 00 00 5E 40 "                           // Pmax 120
    "00 00 00 00 00 00 24 40 "                           // Pmin 10
    "00 00 00 00 80 87 C3 40 "                           // 9999
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
    "00 00 00 00 80 87 C3 40 00 00 00 00 80 87 C3 40 "   // 9999, 9999
    "00 00 00 00 00 00 00 00 "
    "00 00 00 00 00 00 F0 3F " +                         // generation share 1
    StoredLabelHex("23", "80");

// Load "L1", key 0x103, on bus 0x101, facing left from (70, 120).
const std::string kLoadHead =
    "03 01 00 00 "
    "37 00 00 00 6E 00 00 00 46 00 00 00 82 00 00 00 "   // rectangle (55, 110, 70, 130)
    "02 4C 31 "
    "01 00 00 01 "
    "64 00 00 00 78 00 00 00 46 00 00 00 78 00 00 00 "   // ends (100, 120), (70, 120)
    "01 01 00 00 FF FF FF FF " +
    kZeroAttributes +
    "01 00 01 "
    "01 "                                                // faces left
    "9A 99 99 99 99 19 32 40 "                           // P 18.1
    "EC 51 B8 1E 85 EB 10 40 "                           // Q 4.23
    "02 "                                                // load flag
    "00 00 00 00 00 00 E0 3F "                           // value 3: 0.5
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
    "00 00 00 00 00 00 39 40 "                           // P share 25
    "00 00 00 00 00 80 41 40 "                           // Q share 35
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
    "41 00 00 00 73 00 00 00 3C 00 00 00 78 00 00 00 41 00 00 00 7D 00 00 00 ";  // arrow head
const std::string kLoadLabel = StoredLabelHex("2D", "55");
// The characteristic of the current version: 10 + 10 V^2 MW, 2 V + 3 V^2 Mvar.
const std::string kLoadCharacteristic =
    "00 00 00 00 00 00 24 40 00 00 00 00 00 00 00 00 00 00 00 00 00 00 24 40 "
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 40 00 00 00 00 00 00 08 40 ";

// Shunt "Sh1", key 0x107, hanging from (100, 130): 5 MW and 10 Mvar.
const std::string kShuntHead =
    "5D 00 00 00 89 00 00 00 6B 00 00 00 A7 00 00 00 "   // rectangle (93, 137, 107, 167)
    "03 53 68 31 "
    "01 00 00 01 "
    "64 00 00 00 78 00 00 00 64 00 00 00 82 00 00 00 "   // ends (100, 120), (100, 130)
    "01 01 00 00 FF FF FF FF " +
    kZeroAttributes +
    "01 00 01 "
    "00 ";                                               // faces right
const std::string kShuntValues = "00 00 00 00 00 00 14 40 00 00 00 00 00 00 24 40 ";
const std::string kShuntLabel = StoredLabelHex("70", "86");
// Position 4 at 5 Mvar, then 3 steps of 10 and 2 of 20.
const std::string kBankSteps =
    "03 00 00 00 "
    "04 00 00 00 00 00 00 00 00 00 14 40 "
    "03 00 00 00 00 00 00 00 00 00 24 40 "
    "02 00 00 00 00 00 00 00 00 00 34 40";

std::vector<std::uint8_t> Stored(IElement& element) {
    Archive out = Archive::ForStoring();
    element.Serialize(out);
    return out.Bytes();
}

// Reads the block into the element; the whole block must be taken.
void Read(IElement& element, const std::string& hex) {
    Archive in = Archive::ForLoading(BytesFromHex(hex));
    element.Serialize(in);
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST(OnePortArchive, AGeneratorBlockStoresPmaxBeforePmin) {
    Generator generator;
    Read(generator, kGeneratorBlock);
    const double* v = generator.GetValues();
    EXPECT_EQ(v[Generator::kPMax], 120.0);
    EXPECT_EQ(v[Generator::kPMin], 10.0);
    EXPECT_EQ(v[Generator::kQMin], -30.0);
    EXPECT_EQ(v[6], 9999.0);
    EXPECT_EQ(v[Generator::kGenerationShare], 1.0);
    EXPECT_TRUE(generator.FacesLeft());
    EXPECT_EQ(generator.GetEndKeys(), (std::array<int, 2>{0x101, -1}));
    EXPECT_EQ(generator.GetName(), "G1");
    EXPECT_EQ(HexOf(Stored(generator)), kGeneratorBlock);

    // Every generator kind stores the same layout.
    for (int type : {ElementType::SyncCompensator, ElementType::VarCompensator}) {
        std::unique_ptr<IElement> kind = StandardElementFactory().Make(type);
        ASSERT_NE(kind, nullptr);
        Read(*kind, kGeneratorBlock);
        EXPECT_EQ(HexOf(Stored(*kind)), kGeneratorBlock);
    }

    // The faces-left flag is set by the byte 1 only.
    std::string two = kGeneratorBlock;
    two.replace(two.find("01 00 01 01 00 00 00 00 00 00 54 40"), 11, "01 00 01 02");
    Generator read;
    Read(read, two);
    EXPECT_FALSE(read.FacesLeft());
}

TEST(OnePortArchive, ALoadBlockOfTheCurrentVersionAndOfVersion15) {
    const std::string current = kLoadHead + kLoadCharacteristic + kLoadLabel;
    Load load;
    Read(load, current);
    const double* v = load.GetValues();
    EXPECT_EQ(v[Load::kP], 18.1);
    EXPECT_EQ(v[Load::kLoadFlag], 2.0);
    EXPECT_EQ(v[3], 0.5);
    EXPECT_EQ(v[Load::kQShare], 35.0);
    EXPECT_EQ(v[Load::kPConstantImpedance], 10.0);
    EXPECT_EQ(v[Load::kQConstantImpedance], 3.0);
    EXPECT_EQ(load.GetArrowHead()[1], (Point{60, 120}));
    EXPECT_EQ(HexOf(Stored(load)), current);

    // Version 15 stores no characteristic: the load reads as constant power
    // and is written back in the current form.
    TestModel model;
    model->SetFileVersion(15);
    Load old;
    old.SetOwner(&*model);
    Read(old, kLoadHead + kLoadLabel);
    v = old.GetValues();
    EXPECT_EQ((std::vector<double>(v + Load::kPConstantPower, v + Load::kValueCount)),
              (std::vector<double>{18.1, 0, 0, 4.23, 0, 0}));
    const std::string constantPower =
        "9A 99 99 99 99 19 32 40 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
        "EC 51 B8 1E 85 EB 10 40 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ";
    EXPECT_EQ(HexOf(Stored(old)), kLoadHead + constantPower + kLoadLabel);

    model->SetFileVersion(16);
    Load recent;
    recent.SetOwner(&*model);
    Read(recent, current);
    EXPECT_EQ(recent.GetValues()[Load::kPConstantImpedance], 10.0);
}

TEST(OnePortArchive, ShuntKindsAndBanksWithTheirSteps) {
    for (auto [type, key] : {std::pair{ElementType::Shunt, "07 01 00 00 "}, std::pair{ElementType::Capacitor, "08 01 00 00 "},
                             std::pair{ElementType::Reactor, "09 01 00 00 "}}) {
        const std::string block = key + kShuntHead + kShuntValues + kShuntLabel;
        std::unique_ptr<IElement> shunt = StandardElementFactory().Make(type);
        ASSERT_NE(shunt, nullptr);
        Read(*shunt, block);
        EXPECT_EQ(shunt->GetValues()[Shunt::kQ], 10.0);
        EXPECT_EQ(HexOf(Stored(*shunt)), block);
    }

    const std::string bank = "10 01 00 00 " + kShuntHead + kShuntValues + kShuntLabel + " " + kBankSteps;
    for (int type : {ElementType::VariableBank, ElementType::VariableReactorBank}) {
        std::unique_ptr<IElement> read = StandardElementFactory().Make(type);
        auto& steps = static_cast<VariableBank&>(*read);
        EXPECT_TRUE(steps.GetSteps().empty());
        Read(*read, bank);
        ASSERT_EQ(steps.GetSteps().size(), 3u);
        EXPECT_EQ(steps.GetSteps()[0].count, 4);
        EXPECT_EQ(steps.GetSteps()[2].mvar, 20.0);
        EXPECT_DOUBLE_EQ(steps.GetTotalAtPosition(4), 55.0);
        EXPECT_EQ(HexOf(Stored(*read)), bank);
    }
}

TEST(OnePortArchive, CountsBeyondTheBytesLeftAndCutBlocksAreRefused) {
    const std::string shunt = "10 01 00 00 " + kShuntHead + kShuntValues + kShuntLabel + " ";
    VariableBank bank;
    Read(bank, shunt + kBankSteps);
    for (const std::string& bad : {shunt + "FF FF FF 7F 04 00 00 00 00 00 00 00 00 00 14 40",
                                   shunt + "FF FF FF FF", shunt + "02 00 00 00 04 00 00 00 00 00 00 00 00 00 14 40"}) {
        Archive in = Archive::ForLoading(BytesFromHex(bad));
        EXPECT_THROW(bank.Serialize(in), ArchiveError) << bad;
        EXPECT_EQ(bank.GetSteps().size(), 3u);
    }

    Load load;
    Read(load, kLoadHead + kLoadCharacteristic + kLoadLabel);
    std::vector<std::uint8_t> cut = BytesFromHex(kLoadHead + kLoadCharacteristic);
    cut.resize(cut.size() - 4);
    Archive in = Archive::ForLoading(cut);
    EXPECT_THROW(load.Serialize(in), ArchiveError);
    EXPECT_EQ(load.GetValues()[Load::kPConstantImpedance], 10.0);
}

}  // namespace
