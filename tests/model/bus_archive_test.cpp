#include <gtest/gtest.h>

#include <string>

#include "bus.h"
#include "byte_text.h"
#include "connection_node.h"
#include "network_equivalent.h"
#include "stored_label.h"

namespace {

// The element base of a vertical bus: key 0x101 named "B1", in service,
// rectangle (98, 100, 102, 140), ends (100, 100) and (100, 60), black, two
// shown labels.
const std::string kBaseBlock =
    "01 01 00 00 "                                       // key
    "62 00 00 00 64 00 00 00 66 00 00 00 8C 00 00 00 "   // rectangle
    "02 42 31 "                                          // name
    "01 00 00 01 "                                       // on, orientation, selected, highlight
    "64 00 00 00 64 00 00 00 64 00 00 00 3C 00 00 00 "   // end points
    "00 00 00 00 00 00 00 00 "                           // end keys
    "FF "                                                // no label selected
    "00 00 00 00 "                                       // line colour
    "00 00 00 00 00 00 00 00 00 00 00 00 "               // brush
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ";  // pen

// The bus's own data: a line 0x10A and a load 0x203 attached, length 40,
// 110 kV, 0.98 p.u., -3.27 degrees, set to 1.02, kind 4, limits 0.95 and
// 1.1, value 7 = 7, regulating bus 0x301 with share 50, vertical.
const std::string kBusData =
    "02 00 0A 01 00 00 03 02 00 00 "   // attached keys
    "28 00 00 00 "                      // length
    "00 "                               // spare flag
    "00 00 00 00 00 80 5B 40 "          // 110.0
    "5C 8F C2 F5 28 5C EF 3F "          // 0.98
    "29 5C 8F C2 F5 28 0A C0 "          // -3.27
    "52 B8 1E 85 EB 51 F0 3F "          // 1.02
    "04 "                               // kind
    "66 66 66 66 66 66 EE 3F "          // 0.95
    "9A 99 99 99 99 99 F1 3F "          // 1.1
    "07 00 "                            // value 7
    "01 03 00 00 "                      // regulated bus key
    "32 "                               // regulation share
    "01 00 00 00 ";                     // vertical

std::string Trimmed(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

const std::string kStoredBus = Trimmed(kBaseBlock + "02 00 01 01 " + kBusData + StoredLabelHex("55", "55") + " " +
                                       StoredLabelHex("50", "8F"));

TEST(BusArchive, ReadsTheBlockAndWritesTheSameBytes) {
    Bus bus;
    Archive in = Archive::ForLoading(BytesFromHex(kStoredBus));
    bus.Serialize(in);
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_EQ(bus.GetKey(), 0x101);
    EXPECT_EQ(bus.GetName(), "B1");
    EXPECT_EQ(bus.GetKeyList(), (std::vector<int>{0x10A, 0x203}));
    EXPECT_EQ(bus.GetLength(), 40);
    EXPECT_TRUE(bus.IsVertical());
    const double* v = bus.GetValues();
    EXPECT_EQ(v[Bus::kNominalKv], 110.0);
    EXPECT_EQ(v[Bus::kAngle], -3.27);
    EXPECT_EQ(v[Bus::kKind], 4.0);
    EXPECT_EQ(v[Bus::kMaxVoltage], 1.1);
    EXPECT_EQ(v[Bus::kSpareValue], 7.0);
    EXPECT_EQ(v[Bus::kRegulatedBusKey], 0x301);
    EXPECT_EQ(v[Bus::kRegulationShare], 50.0);
    EXPECT_EQ(bus.GetLabel(1)->GetRect(), (Rect{80, 143, 80, 143}));

    Archive out = Archive::ForStoring();
    bus.Serialize(out);
    EXPECT_EQ(HexOf(out.Bytes()), kStoredBus);
}

TEST(BusArchive, AHorizontalBusANodeAndAnEquivalentRoundTrip) {
    HorizontalBus horizontal(nullptr, 0x101, {10, 20});
    ConnectionNode node(nullptr, 0x201, {10, 20});
    NetworkEquivalent equivalent(nullptr, 0x301, {10, 20});
    equivalent.GetValues()[Bus::kMaxVoltage] = 12.5;
    Bus readHorizontal;
    Bus readNode;
    NetworkEquivalent readEquivalent;
    for (auto [stored, read] : {std::pair<Bus*, Bus*>{&horizontal, &readHorizontal}, {&node, &readNode},
                                {&equivalent, &readEquivalent}}) {
        Archive out = Archive::ForStoring();
        stored->Serialize(out);
        Archive in = Archive::ForLoading(out.Bytes());
        read->Serialize(in);
        EXPECT_EQ(in.Remaining(), 0u);
        Archive again = Archive::ForStoring();
        read->Serialize(again);
        EXPECT_EQ(again.Bytes(), out.Bytes());
        EXPECT_EQ(read->GetBoundingRect(), stored->GetBoundingRect());
    }
    EXPECT_FALSE(readHorizontal.IsVertical());
    EXPECT_FALSE(readNode.IsLabelShown(0));
    EXPECT_EQ(readEquivalent.GetLabelCount(), 3);
    EXPECT_EQ(readEquivalent.GetValues()[Bus::kMaxVoltage], 12.5);
}

TEST(BusArchive, ACutBlockIsRefusedAndLeavesTheBusDataAsItWas) {
    std::vector<std::uint8_t> bytes = BytesFromHex(kStoredBus);
    std::size_t busDataEnd = BytesFromHex(kBaseBlock + "02 00 01 01 " + kBusData).size();
    bytes.resize(busDataEnd - 3);
    Bus bus(nullptr, 0x501, {0, 0}, true);
    Archive in = Archive::ForLoading(bytes);
    EXPECT_THROW(bus.Serialize(in), ArchiveError);
    EXPECT_TRUE(bus.GetKeyList().empty());
    EXPECT_EQ(bus.GetValues()[Bus::kNominalKv], 100.0);

    // Length 1e9 from a top at 100: the bar would reach off the diagram.
    bytes = BytesFromHex(kStoredBus);
    std::size_t lengthAt = BytesFromHex(kBaseBlock + "02 00 01 01 02 00 0A 01 00 00 03 02 00 00").size();
    for (std::uint8_t byte : {0x00, 0xCA, 0x9A, 0x3B}) bytes[lengthAt++] = byte;
    Archive far = Archive::ForLoading(bytes);
    EXPECT_THROW(bus.Serialize(far), ArchiveError);
}

TEST(BusArchive, ValuesBeyondTheirStoredWidthAreHeldAtItsEnds) {
    Bus bus(nullptr, 0x101, {0, 0}, true);
    bus.GetValues()[Bus::kKind] = -3.0;
    bus.GetValues()[Bus::kRegulationShare] = 300.0;
    bus.GetValues()[Bus::kSpareValue] = 1e9;
    Archive out = Archive::ForStoring();
    bus.Serialize(out);
    Bus read;
    Archive in = Archive::ForLoading(out.Bytes());
    read.Serialize(in);
    EXPECT_EQ(read.GetValues()[Bus::kKind], 0.0);
    EXPECT_EQ(read.GetValues()[Bus::kRegulationShare], 255.0);
    EXPECT_EQ(read.GetValues()[Bus::kSpareValue], 32767.0);
}

}  // namespace
