#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "byte_text.h"
#include "power_line.h"
#include "stored_label.h"
#include "switching_element.h"
#include "transformer.h"

namespace {

namespace BD = BranchData;
namespace SD = SwitchData;

std::string Trimmed(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

// The element base of a two-port from (100, 120) to (300, 120) between the
// buses 0x101 and 0x201, in service, black, no label selected; `key` and
// `name` as hex pairs, then its label flags.
std::string BaseBlock(const std::string& key, const std::string& name, const std::string& flags) {
    return key +
           "64 00 00 00 78 00 00 00 2C 01 00 00 78 00 00 00 "   // rectangle
           + name +
           "01 00 00 01 "                                       // on, orientation, selected, highlight
           "64 00 00 00 78 00 00 00 2C 01 00 00 78 00 00 00 "   // end points
           "01 01 00 00 01 02 00 00 "                           // end keys
           "FF "                                                // no label selected
           "00 00 00 00 "                                       // line colour
           "00 00 00 00 00 00 00 00 00 00 00 00 "               // brush
           "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "   // pen
           + flags;
}

// The path: two nodes, pen width 0, floating point at the last node, its
// rectangle, black, its pen.
const std::string kPath =
    "02 00 64 00 00 00 78 00 00 00 2C 01 00 00 78 00 00 00 "
    "00 "
    "2C 01 00 00 78 00 00 00 "
    "64 00 00 00 78 00 00 00 2C 01 00 00 78 00 00 00 "
    "00 00 00 00 "
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ";

// The data every line and transformer stores: reserved integers 0 and 7,
// 2 circuits, control type `control`, R 0.1, X 0.3, B 0.0002, G 0, rating
// 1000, metered end 1, flows 100 + j20 in and -99 - j18 out, notification
// 900, then value 16 as given.
std::string BranchBlock(const std::string& control, const std::string& value16) {
    return "00 00 00 00 07 00 00 00 02 " + control +
           "9A 99 99 99 99 99 B9 3F "   // 0.1
           "33 33 33 33 33 33 D3 3F "   // 0.3
           "2D 43 1C EB E2 36 2A 3F "   // 0.0002
           "00 00 00 00 00 00 00 00 "   // 0
           "00 00 00 00 00 40 8F 40 "   // 1000
           "01 "
           "00 00 00 00 00 00 59 40 "   // 100
           "00 00 00 00 00 00 34 40 "   // 20
           "00 00 00 00 00 C0 58 C0 "   // -99
           "00 00 00 00 00 00 32 C0 "   // -18
           "00 00 00 00 00 20 8C 40 "   // 900
           + value16;
}

// Tap ratio 1.05, shift -30 degrees, windings 110 and 21 kV.
const std::string kTapBlock =
    "CD CC CC CC CC CC F0 3F "   // 1.05
    "00 00 00 00 00 00 3E C0 "   // -30
    "00 00 00 00 00 80 5B 40 "   // 110
    "00 00 00 00 00 00 35 40 ";  // 21

const std::string k524 = "7B 14 AE 47 E1 66 80 40 ";  // 524.86
const std::string kOne = "00 00 00 00 00 00 F0 3F ";  // 1.0

// Labels 0-3 of a line (label 2 right-aligned), and the ratio label.
const std::string kLineLabels = StoredLabelHex("C3", "91") + " " + StoredLabelHex("6E", "6E") + " " +
                                StoredLabelHex("2C", "6E", true) + " " + StoredLabelHex("C8", "78") + " ";
const std::string kRatioLabel = StoredLabelHex("8D", "6D") + " ";
const std::string kSymbolPosition = "9A 99 99 99 99 99 B9 3F";  // 0.1

const std::string kStoredLine = Trimmed(BaseBlock("0A 01 00 00 ", "02 4C 31 ", "04 00 00 00 00 02 ") + kPath +
                                        BranchBlock("00 ", k524) + "00 00 00 00 00 00 34 40 "  // 20 km
                                        + kLineLabels);

std::string StoredTransformer(const std::string& value16) {
    return Trimmed(BaseBlock("0A 02 00 00 ", "02 54 31 ", "05 00 00 00 00 00 00 ") + kPath +
                   BranchBlock("00 ", value16) + kTapBlock + kLineLabels + kRatioLabel + kSymbolPosition);
}

std::string StoredRegulating(const std::string& value16) {
    return Trimmed(BaseBlock("0A 03 00 00 ", "02 52 31 ", "05 00 00 00 00 00 00 ") + kPath +
                   BranchBlock("03 ", value16) +
                   "00 00 00 00 00 00 F8 3F "   // tap side 1.5
                   "01 00 00 00 "               // regulated end
                   + kTapBlock +
                   "00 00 00 00 00 C0 58 40 "   // 99
                   "00 00 00 00 00 40 5E 40 "   // 121
                   "00 00 00 00 00 00 29 40 "   // 12.5
                   "00 00 00 00 00 00 44 40 "   // 40
                   + kLineLabels + kRatioLabel + kSymbolPosition);
}

// Closed, rated 250 A, spare 2, 40 A, 12.5 MW and -3 Mvar.
const std::string kStoredConnector =
    Trimmed(BaseBlock("14 01 00 00 ", "02 43 31 ", "01 00 00 ") + kPath +
            "00 00 00 00 00 00 F0 3F "
            "00 00 00 00 00 40 6F 40 "
            "00 00 00 00 00 00 00 40 "
            "00 00 00 00 00 00 44 40 "
            "00 00 00 00 00 00 29 40 "
            "00 00 00 00 00 00 08 C0 " +
            StoredLabelHex("C8", "78"));

template <typename Kind>
void ReadInto(Kind& element, const std::string& hex) {
    Archive in = Archive::ForLoading(BytesFromHex(hex));
    element.Serialize(in);
    EXPECT_EQ(in.Remaining(), 0u);
}

std::string Stored(IElement& element) {
    Archive out = Archive::ForStoring();
    element.Serialize(out);
    return HexOf(out.Bytes());
}

TEST(TwoPortArchive, ALineReadsItsBlockAndWritesTheSameBytes) {
    PowerLine line;
    ReadInto(line, kStoredLine);
    EXPECT_EQ(line.GetKey(), 0x10A);
    EXPECT_EQ(line.GetName(), "L1");
    EXPECT_EQ(line.GetPath().GetNodeCount(), 2);
    const double* v = line.GetValues();
    EXPECT_EQ(v[BD::kReserved1], 7.0);
    EXPECT_EQ(v[BD::kCircuits], 2.0);
    EXPECT_EQ(v[BD::kSusceptance], 0.0002);
    EXPECT_EQ(v[BD::kMeteredEnd], 1.0);
    EXPECT_EQ(v[BD::kQTo], -18.0);
    EXPECT_EQ(v[BD::kCurrent], 524.86);
    EXPECT_EQ(v[BD::kLength], 20.0);
    EXPECT_EQ(v[BD::kTapRatio], 0.0);
    EXPECT_TRUE(line.GetLabel(PowerLine::kToLabel)->IsRightAligned());
    EXPECT_EQ(line.GetLabelCount(), 4);
    EXPECT_EQ(Stored(line), kStoredLine);
}

TEST(TwoPortArchive, AFixedTransformerForgetsItsLengthAndCurrent) {
    Transformer transformer;
    ReadInto(transformer, StoredTransformer(k524));
    const double* v = transformer.GetValues();
    EXPECT_EQ(v[BD::kLength], 0.1);
    EXPECT_EQ(v[BD::kCurrent], 1.0);
    EXPECT_EQ(v[BD::kTapRatio], 1.05);
    EXPECT_EQ(v[BD::kPhaseShift], -30.0);
    EXPECT_EQ(v[BD::kToTapKv], 21.0);
    EXPECT_EQ(transformer.GetLabelCount(), 5);
    EXPECT_EQ(Stored(transformer), StoredTransformer(kOne));
}

TEST(TwoPortArchive, ARegulatingTransformerKeepsItsTapStepsAndControl) {
    struct Case {
        std::string stored;
        double steps;
        std::string written;
    };
    const std::string k17 = "00 00 00 00 00 00 31 40 ";
    const Case cases[] = {{k17, 17.0, k17}, {"00 00 00 00 00 00 00 00 ", 1.0, kOne}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        RegulatedTransformer transformer;
        ReadInto(transformer, StoredRegulating(c.stored));
        const double* v = transformer.GetValues();
        EXPECT_EQ(v[BD::kTapSteps], c.steps);
        EXPECT_EQ(v[BD::kControlType], 3.0);
        EXPECT_EQ(v[BD::kTapSide], 1.5);
        EXPECT_EQ(v[BD::kRegulatedEnd], 1.0);
        EXPECT_EQ(v[BD::kUpperLimit], 121.0);
        EXPECT_EQ(v[BD::kBandMaximum], 40.0);
        EXPECT_EQ(Stored(transformer), StoredRegulating(c.written));
    }
}

TEST(TwoPortArchive, AConnectorStoresItsSixValuesAndOneLabel) {
    Connector connector;
    ReadInto(connector, kStoredConnector);
    const double* v = connector.GetValues();
    EXPECT_EQ(v[SD::kState], 1.0);
    EXPECT_EQ(v[SD::kRatedCurrent], 250.0);
    EXPECT_EQ(v[SD::kQ], -3.0);
    EXPECT_EQ(connector.GetLabelCount(), 1);
    EXPECT_EQ(Stored(connector), kStoredConnector);
}

TEST(TwoPortArchive, ValuesStoredAsIntegersAreTruncatedAndHeldWithinTheirWidth) {
    PowerLine line(nullptr, 0x10A, {0, 0});
    double* v = line.GetValues();
    v[BD::kReserved0] = 5e9;
    v[BD::kReserved1] = std::numeric_limits<double>::quiet_NaN();
    v[BD::kCircuits] = 300.7;
    v[BD::kControlType] = -2.0;
    v[BD::kMeteredEnd] = 1.9;
    Archive out = Archive::ForStoring();
    line.Serialize(out);
    PowerLine read;
    Archive in = Archive::ForLoading(out.Bytes());
    read.Serialize(in);
    const double* r = read.GetValues();
    EXPECT_EQ(r[BD::kReserved0], 4294967295.0);
    EXPECT_EQ(r[BD::kReserved1], 0.0);
    EXPECT_EQ(r[BD::kCircuits], 255.0);
    EXPECT_EQ(r[BD::kControlType], 0.0);
    EXPECT_EQ(r[BD::kMeteredEnd], 1.0);
}

TEST(TwoPortArchive, ACutBlockIsRefusedAndLeavesTheValuesAsTheyWere) {
    std::vector<std::uint8_t> bytes = BytesFromHex(kStoredLine);
    bytes.resize(bytes.size() - 400);
    PowerLine line(nullptr, 0x10A, {0, 0});
    Archive in = Archive::ForLoading(bytes);
    EXPECT_THROW(line.Serialize(in), ArchiveError);
    EXPECT_EQ(line.GetValues()[BD::kResistance], 0.1);
    EXPECT_EQ(line.GetValues()[BD::kLength], 1.0);
}

}  // namespace
