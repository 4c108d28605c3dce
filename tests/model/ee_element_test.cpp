#include <gtest/gtest.h>

#include <memory>

#include "byte_text.h"
#include "element_key.h"
#include "fixed_metric_measurer.h"
#include "font_setting.h"
#include "recording_view.h"
#include "segment_element.h"
#include "test_model.h"

namespace {

// A bus block: key 257, named "Bus1", out of service, selected, attached to
// 513 at end 0 and open (-1) at end 1, label 1 selected, colour 0x00102030,
// pen width 2, two labels of which the first is shown.
const char* const kStoredBase =
    "01 01 00 00 "                                       // key
    "05 00 00 00 06 00 00 00 23 00 00 00 2E 00 00 00 "   // rectangle
    "04 42 75 73 31 "                                    // name
    "00 00 01 01 "                                       // on, orientation, selected, highlight
    "0A 00 00 00 14 00 00 00 1E 00 00 00 28 00 00 00 "   // end points (10, 20), (30, 40)
    "01 02 00 00 FF FF FF FF "                           // end keys
    "01 "                                                // selected label
    "30 20 10 00 "                                       // line colour
    "30 20 10 00 00 00 00 00 00 00 00 00 "               // brush: colour, hatch, style
    "30 20 10 00 00 00 00 00 02 00 00 00 00 00 00 00 "   // pen: colour, style, width (2, 0)
    "02 00 01 00";                                       // label flags

std::unique_ptr<SegmentElement> StoredBus() {
    auto bus = std::make_unique<SegmentElement>(nullptr, 257, Point{10, 20}, Point{30, 40}, Category::Bus);
    bus->SetRect({5, 6, 35, 46});
    bus->SetName("Bus1");
    bus->SetOn(false);
    bus->SetColor(0x102030);
    bus->SetPenWidth(2);
    bus->SetEndKeys(513, -1);
    bus->AddLabel({0, 0}, true).SetText("V=1.00");
    bus->AddLabel({0, 20}, false).SetText("P=0");
    bus->SetSelected(true);
    bus->SetSelectedLabelIndex(1);
    return bus;
}

TEST(ElementArchive, StoresTheBaseBlockAndReadsItBack) {
    auto bus = StoredBus();
    Archive out = Archive::ForStoring();
    bus->Serialize(out);
    EXPECT_EQ(HexOf(out.Bytes()), kStoredBase);

    SegmentElement loaded;
    Archive in = Archive::ForLoading(BytesFromHex(kStoredBase));
    loaded.Serialize(in);
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_EQ(loaded.GetKey(), 257);
    EXPECT_EQ(loaded.GetName(), "Bus1");
    EXPECT_FALSE(loaded.IsOn());
    EXPECT_TRUE(loaded.IsSelected());
    EXPECT_EQ(loaded.GetSelectedLabel(), 1);
    EXPECT_EQ(loaded.GetEndKeys(), (std::array<int, 2>{513, -1}));
    EXPECT_EQ(loaded.GetBrush(), (LogBrush{BrushStyle::Solid, 0x102030, 0}));
    EXPECT_EQ(loaded.GetPenWidth(), 2);
    Archive again = Archive::ForStoring();
    loaded.Serialize(again);
    EXPECT_EQ(HexOf(again.Bytes()), kStoredBase);
}

TEST(ElementArchive, LabelsFollowTheKindsDataAndRoundTrip) {
    auto bus = StoredBus();
    bus->SetArchivedLabelCount(2);
    Archive out = Archive::ForStoring();
    bus->Serialize(out);
    bus->SerializeLabels(out);

    SegmentElement loaded;
    loaded.SetArchivedLabelCount(2);
    Archive in = Archive::ForLoading(out.Bytes());
    loaded.Serialize(in);
    loaded.SerializeLabels(in);
    EXPECT_EQ(in.Remaining(), 0u);
    ASSERT_EQ(loaded.GetLabelCount(), 2);
    EXPECT_TRUE(loaded.IsLabelShown(0));
    EXPECT_FALSE(loaded.IsLabelShown(1));
    Archive again = Archive::ForStoring();
    loaded.Serialize(again);
    loaded.SerializeLabels(again);
    EXPECT_EQ(again.Bytes(), out.Bytes());
}

TEST(ElementArchive, FlagBytesOtherThan1LeaveTheFlagsFalse) {
    std::vector<std::uint8_t> bytes = BytesFromHex(kStoredBase);
    // On, orientation, selected and highlight follow the key, the rectangle
    // and the five bytes of the name.
    const std::size_t flags = 4 + 16 + 5;
    bytes[flags] = 2;
    for (std::size_t i = flags + 1; i < flags + 4; ++i) bytes[i] = 2;
    bytes[flags + 4 + 16 + 8] = 0xFF;  // no selected label
    SegmentElement loaded;
    Archive in = Archive::ForLoading(bytes);
    loaded.Serialize(in);
    EXPECT_TRUE(loaded.IsOn());
    EXPECT_FALSE(loaded.IsSelected());
    EXPECT_FALSE(loaded.IsHighlighted());
    EXPECT_EQ(loaded.GetSelectedLabel(), -1);
}

TEST(ElementArchive, AShortBlockOrAPointFarOffTheDiagramChangesNothing) {
    std::vector<std::uint8_t> cut = BytesFromHex(kStoredBase);
    cut.resize(cut.size() - 1);
    std::vector<std::uint8_t> farOff = BytesFromHex(kStoredBase);
    farOff[4 + 16 + 5 + 4 + 3] = 0x7F;  // end point 0's x near 2^31
    for (const auto& bytes : {cut, farOff}) {
        auto bus = StoredBus();
        Archive in = Archive::ForLoading(bytes);
        EXPECT_THROW(bus->Serialize(in), ArchiveError);
        Archive out = Archive::ForStoring();
        bus->Serialize(out);
        EXPECT_EQ(HexOf(out.Bytes()), kStoredBase);
    }
}

TEST(ElementConstruction, BusesAreFilledWithTheLineColourOthersWithTheBackground) {
    TestModel model;
    model->SetLineColor(0x112233);
    model->SetBackgroundColor(0x445566);
    model->SetLineWidth(3);
    SegmentElement bus(&*model, 257, {0, 0}, {5, -3}, Category::Bus);
    SegmentElement generator(&*model, 260, {0, 0}, {5, -3}, Category::Generator);
    EXPECT_EQ(bus.GetFillColor(), 0x112233u);
    EXPECT_EQ(generator.GetFillColor(), 0x445566u);
    EXPECT_EQ(generator.GetPen(), (LogPen{PenStyle::Solid, {3, 0}, 0x112233}));
    EXPECT_EQ(bus.GetCenter(), (Point{2, -1}));
    EXPECT_TRUE(bus.IsOn());
    EXPECT_TRUE(bus.IsHighlighted());
    EXPECT_EQ(bus.GetType(true), SegmentElement::kClassType);
    EXPECT_EQ(bus.GetType(false), Category::Bus);

    // A bus keeps its fill in its line colour; the others follow the
    // background.
    bus.SetColor(0x0000AA);
    generator.SetColor(0x0000AA);
    EXPECT_EQ(bus.GetFillColor(), 0x0000AAu);
    EXPECT_EQ(generator.GetFillColor(), 0x445566u);
    bus.SetBrushColor(0x777777);
    generator.SetBrushColor(0x777777);
    EXPECT_EQ(bus.GetFillColor(), 0x0000AAu);
    EXPECT_EQ(generator.GetFillColor(), 0x777777u);

    generator.SetPenWidth(1);
    EXPECT_EQ(generator.GetPen().width.x, 0);
    EXPECT_EQ(generator.GetPenWidth(), 1);
}

TEST(ElementLabels, AttributesGoOnlyToLabelsThatExist) {
    TestModel model;
    FixedMetricMeasurer measurer;
    model->SetTextMeasurer(&measurer);
    LogFont font;
    font.height = -20;
    font.SetFaceName("Verdana");
    model->SetDefaultFont(font);
    model->SetFontColor(0x0000CC);

    SegmentElement source(&*model, 257, {0, 0}, {10, 0}, Category::Bus);
    for (int i = 0; i < 3; ++i) source.AddLabel({0, 10 * i}, i != 1).SetText("abc");
    source.ApplyDefaultLabelFont();
    EXPECT_EQ(source.GetLabel(2)->GetFont(), font);
    EXPECT_EQ(source.GetLabel(2)->GetColor(), 0x0000CCu);
    // Measured with the model's measurer: 3 cells of 10 x 20.
    EXPECT_EQ(source.GetLabel(0)->GetRect(), (Rect{0, -10, 30, 10}));

    source.SetLabelColor(3, kRed);
    source.SetLabelColor(-1, kRed);
    source.SetLabelFont(7, LogFont{});
    source.SetLabelColor(1, kRed);
    EXPECT_EQ(source.GetLabel(1)->GetColor(), kRed);

    SegmentElement target(&*model, 513, {0, 0}, {10, 0}, Category::Bus);
    target.AddLabel({50, 50}, true).SetText("abc");
    target.AddLabel({60, 60}, true).SetText("abc");
    source.SetPenWidth(4);
    source.SetFillColor(0x00ABCD);
    source.CopyAttributesTo(&target);
    source.CopyAttributesTo(nullptr);
    EXPECT_EQ(target.GetPenWidth(), 4);
    EXPECT_EQ(target.GetFillColor(), 0x00ABCDu);
    ASSERT_EQ(target.GetLabelCount(), 2);
    EXPECT_EQ(target.GetLabel(1)->GetColor(), kRed);
    EXPECT_EQ(target.GetLabel(1)->GetFont(), font);
    EXPECT_EQ(target.GetLabel(0)->GetRect(), source.GetLabel(0)->GetRect());
    EXPECT_TRUE(target.IsLabelShown(0));
    EXPECT_FALSE(target.IsLabelShown(1));
}

TEST(ElementDialogs, FillAndFontCancelledChangesNothingAcceptedRedrawsTheGrownArea) {
    TestModel model;
    RecordingView view;
    model->SetView(&view);
    SegmentElement& element = AddSegment(*model, Category::Generator, {0, 0}, {10, 0}, {100, 100, 120, 110});
    element.AddLabel({0, 0}, false).SetColor(0x000011);
    element.AddLabel({0, 0}, false).SetColor(0x000022);

    EXPECT_FALSE(element.EditFillAndFont());
    ASSERT_EQ(view.Messages().size(), 1u);
    EXPECT_EQ(view.Messages()[0].message, kFillAndFontMessage);
    EXPECT_EQ(view.Messages()[0].first, 2);  // one font per label
    EXPECT_EQ(element.GetColor(), kBlack);
    EXPECT_EQ(view.calls.size(), 1u);

    view.fillAndFontAnswer = 0x00EE00;
    EXPECT_TRUE(element.EditFillAndFont());
    EXPECT_EQ(element.GetColor(), 0x00EE00u);
    EXPECT_EQ(element.GetLabel(1)->GetColor(), 0x000022u);
    ASSERT_EQ(view.calls.size(), 4u);
    EXPECT_EQ(view.calls[2].op, RecordingView::Op::InvalidateRect);
    EXPECT_EQ(view.calls[2].rect, (Rect{50, 50, 170, 160}));
    EXPECT_EQ(view.calls[3].op, RecordingView::Op::Update);
}

TEST(ElementDialogs, PropertiesAnswerTheViewsAnswer) {
    TestModel model;
    SegmentElement& element = AddSegment(*model, Category::Load, {0, 0}, {10, 0});
    EXPECT_FALSE(element.OpenProperties());  // no view
    RecordingView view;
    model->SetView(&view);
    EXPECT_TRUE(element.OpenProperties());
    view.propertiesAnswer = false;
    EXPECT_FALSE(element.ShowProperties());
    auto messages = view.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, kOpenPropertiesMessage);
    EXPECT_EQ(messages[0].element, &element);
    EXPECT_EQ(messages[0].first, 0);
}

TEST(ElementNeighbours, EndNamesAndTheGoodbyeOfADeletedElement) {
    TestModel model;
    SegmentElement& bus = AddSegment(*model, Category::Bus, {0, 0}, {0, 100});
    SegmentElement& line = AddSegment(*model, Category::Line, {0, 50}, {200, 50});
    line.SetEndKeys(bus.GetKey(), 0);
    bus.SetEndKeys(line.GetKey(), line.GetKey());

    ASSERT_NE(line.GetEndName(0), nullptr);
    EXPECT_EQ(*line.GetEndName(0), "Bus1");
    EXPECT_EQ(line.GetEndName(1), nullptr);  // free
    EXPECT_EQ(line.GetEndName(2), nullptr);
    line.SetEndKeys(bus.GetKey(), 0x7701);  // a key of no element
    EXPECT_EQ(line.GetEndName(1), nullptr);

    model->DeleteElement(&line);
    EXPECT_EQ(bus.GetEndKeys(), (std::array<int, 2>{0, 0}));
}

}  // namespace
