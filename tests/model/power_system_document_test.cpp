#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "byte_text.h"
#include "diagram_archive.h"
#include "document_model.h"
#include "free_line.h"
#include "free_text.h"
#include "load.h"

namespace {

// What each list of a model holds: the keys in order, by list.
std::vector<std::vector<int>> KeysByList(const PowerSystem& model) {
    std::vector<std::vector<int>> keys;
    for (int id = 0; id < PowerSystem::kListCount; ++id) {
        keys.emplace_back();
        for (const auto& [key, element] : model.List(PowerSystem::ListId(id)).Entries()) keys.back().push_back(key);
    }
    return keys;
}

TEST(DocumentWriting, AnEmptyModelWritesTheHundredAndSixtyBytesOfTheFormat) {
    const std::string golden =
        "13 00 00 00 "                                        // version 19
        "03 51 4D 4B "                                        // "QMK"
        "00 08 00 00 00 04 00 00 "                            // 2048 x 1024
        "01 "                                                 // edit mode
        "00 00 00 00 "                                        // no pictures
        "FF FF FF 00 00 00 00 00 00 00 00 00 "                // background, line and font colours
        "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "    // eight name counters
        "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
        "00 "                                                 // no continuation result
        "F5 FF FF FF 00 00 00 00 00 00 00 00 00 00 00 00 "    // font: height -11, width, escapement, orientation
        "90 01 00 00 "                                        // weight 400
        "00 00 00 00 00 00 02 12 "                            // flags, proof quality, variable Swiss
        "05 41 72 69 61 6C "                                  // "Arial"
        "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "    // fifteen empty lists
        "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
        "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
        "00 00 00 00 00 00 00 00 00 00 00 00";
    DocumentModel model;
    std::vector<std::uint8_t> bytes = model.Save();
    EXPECT_EQ(bytes.size(), 160u);
    EXPECT_EQ(HexOf(bytes), HexOf(BytesFromHex(golden)));
}

TEST(DocumentRoundTrip, EveryKindPicturesAndSettingsSaveLoadAndSaveAgainUnchanged) {
    DocumentModel original;
    FillWithEveryKind(*original);
    std::vector<std::uint8_t> first = original.Save();

    DocumentModel read;
    read.Load(first);
    EXPECT_EQ(HexOf(read.Save()), HexOf(first));
    EXPECT_TRUE(read.sink.messages.empty());

    EXPECT_EQ(KeysByList(*read), KeysByList(*original));
    // The load and the generator are still attached to the first bus.
    auto* bus = dynamic_cast<Bus*>(read->FindByKey(0x101));
    ASSERT_NE(bus, nullptr);
    EXPECT_EQ(bus->GetKeyList(), (std::vector<int>{0x103, 0x104, 0x10A, 0x20A}));
    // Every line, transformer and switch joins the buses it was drawn
    // between, and the breaker is still closed.
    for (PowerSystem::ListId id : {PowerSystem::kLines, PowerSystem::kConnectors}) {
        for (const auto& [key, element] : read->List(id).Entries()) {
            SCOPED_TRACE(key);
            for (int end : element->GetEndKeys()) EXPECT_EQ(KeyCategory(end), Category::Bus);
        }
    }
    EXPECT_EQ(read->List(PowerSystem::kLines).GetCount(), 3);
    EXPECT_EQ(read->List(PowerSystem::kConnectors).GetCount(), 4);
    IElement* breaker = read->FindByKey(0x214);
    ASSERT_NE(breaker, nullptr);
    EXPECT_EQ(breaker->GetElementType(), ElementType::CircuitBreaker);
    EXPECT_TRUE(breaker->IsOn());
    EXPECT_EQ(read->GetFileVersion(), 19);
    EXPECT_EQ(read->GetDiagramSize(), (Size{3000, 2000}));
    EXPECT_FALSE(read->GetEditMode());
    EXPECT_EQ(read->GetBackgroundColor(), 0xF0F0F0u);
    EXPECT_EQ(read->GetContinuationResult(), "max lambda 1.75");
    EXPECT_EQ(read->GetDefaultFont().FaceName(), "Courier New");
    ASSERT_EQ(read->GetBackgroundPictures().size(), 2u);
    EXPECT_EQ(read->GetBackgroundPictures()[0].metafile, EmptyMetafile());
    EXPECT_FALSE(read->GetBackgroundPictures()[1].shown);

    // Five counters of the names come back; free lines and texts count
    // from 0 again.
    const NameCounters& counters = read->GetNameCounters();
    EXPECT_EQ(counters.buses, 5);
    EXPECT_EQ(counters.lines, 3);
    EXPECT_EQ(counters.elementsAdded, 26);
    EXPECT_EQ(counters.loads, 1);
    EXPECT_EQ(counters.generators, 1);
    EXPECT_EQ(counters.freeLines, 0);
    EXPECT_EQ(counters.capacitors, 0);
    EXPECT_EQ(counters.texts, 0);

    // The free text's text is its stored name; both free-line styles were
    // stored as type 13 and keep their style.
    auto& text = static_cast<FreeText&>(*read->List(PowerSystem::kFreeTexts).Entries().begin()->second);
    EXPECT_EQ(text.GetLabel(0)->GetText(), "Hello world");
    std::vector<int> styles;
    for (const auto& [key, element] : read->List(PowerSystem::kFreeLines).Entries()) {
        EXPECT_EQ(element->GetElementType(), ElementType::FreeLine);
        styles.push_back(static_cast<FreeLine&>(*element).GetStyle());
    }
    EXPECT_EQ(styles, (std::vector<int>{FreeLine::kDashedStyle, FreeLine::kArrowedStyle}));
    auto& box = static_cast<SystemInfo&>(*read->List(PowerSystem::kSystemInfos).Entries().begin()->second);
    EXPECT_EQ(box.GetItem(), 7);
    EXPECT_EQ(box.GetLabel(0)->GetText(), "Gen Q      0.00");
}

TEST(DocumentWriting, WhatReachesPastTheDiagramIsWrittenAtItsEdgeAndReadsBack) {
    DocumentModel original;
    // The text's bottom edge lies one unit past the edge.
    AddAnnotation<FreeText>(*original, Category::FreeText, Point{0, kMaxDiagramCoordinate}).SetName("edge");
    original->SetDiagramSize({-5, kMaxDiagramCoordinate + 1});
    std::vector<std::uint8_t> first = original.Save();
    DocumentModel read;
    read.Load(first);
    EXPECT_EQ(read->GetDiagramSize(), (Size{0, kMaxDiagramCoordinate}));
    EXPECT_EQ(HexOf(read.Save()), HexOf(first));
}

// The element base of an element at (200, 310) with one shown label.
void AddBase(DocumentBuilder& b, int key, std::string_view name, int endKey = 0) {
    b.Int32(key).Rect(200, 300, 200, 300).Text(name);
    b.Byte(1).Byte(0).Byte(0).Byte(1);                 // on, orientation, selected, highlight
    b.Int32(200).Int32(310).Int32(200).Int32(310);     // both ends at the anchor
    b.Int32(endKey).Int32(0).Byte(0xFF);               // what end 0 is attached to, no label selected
    b.Int32(0).Int32(0xFFFFFF).Int32(0).Int32(0);      // line colour, brush
    b.Int32(0).Int32(0).Int32(0).Int32(0);             // pen
    b.Byte(1).Byte(0).Byte(1);                         // one label, shown
}

// A label at (200, 310), measured on reading.
void AddLabel(DocumentBuilder& b, bool rightAligned) {
    b.Byte(rightAligned ? 1 : 0).Byte(0).Byte(1);
    b.Rect(200, 300, 200, 300).Int32(0).Int32(0xFF0000).Font(-11, 400, 0, "Arial");
}

// A free text of the type (15, or 28 with its item after it).
void AddText(DocumentBuilder& b, int type, int key, std::string_view name, bool rightAligned) {
    b.Byte(static_cast<std::uint8_t>(type));
    AddBase(b, key, name);
    AddLabel(b, rightAligned);
}

// A load of 18.5 MW and 4.25 Mvar; from version 16 with its voltage
// characteristic, 10 MW of it constant impedance.
void AddLoad(DocumentBuilder& b, int version, int busKey) {
    b.Byte(ElementType::Load);
    AddBase(b, 0x503, "L1", busKey);
    b.Byte(0);                                   // facing right
    b.Double(18.5).Double(4.25).Byte(1);         // P, Q, load flag
    for (int i = 3; i <= 10; ++i) b.Double(0);
    for (int i = 0; i < 3; ++i) b.Int32(200).Int32(310);  // the arrow
    if (version >= 16) b.Double(8.5).Double(0).Double(10).Double(4.25).Double(0).Double(0);
    AddLabel(b, false);
}

struct OldDocument {
    int version = 19;
    std::string marker = "QMK";
    int textType = 15;
    int textList = 10;          // index among the twelve lists: free texts
    int secondTextKey = 0;      // a second text under this key when set
    std::string face = "Times New Roman";
    int busCount = 0;           // an empty bus list unless set
    int pictureSize = -1;       // one picture with this many bytes stored when set
    int loadBusKey = 0;         // what the load is attached to

    // The sections of the version, with a load, a text "Note" and, from
    // version 18, a system-information box "Load" showing its caption.
    std::vector<std::uint8_t> Bytes() const {
        DocumentBuilder b;
        b.Int32(version);
        if (version >= 16) b.Text(marker);
        if (version >= 19) b.Int32(800).Int32(600);
        if (version >= 16) {
            b.Byte(0);  // not in edit mode
            if (pictureSize < 0) {
                b.Int32(0);
            } else {
                b.Int32(1).Byte(1).Rect(0, 0, 10, 10).Text("plan").Int32(pictureSize).Bytes({1, 2, 3});
            }
        }
        b.Int32(0xC0C0C0).Int32(0x0000FF).Int32(0x00FF00);
        for (int counter = 1; counter <= 8; ++counter) b.Int32(counter);
        b.Text("lambda=1.25");
        b.Font(-13, 700, 238, face);
        for (int list = 0; list < 12; ++list) {
            if (list == 5) {
                b.Int32(1);
                AddLoad(b, version, loadBusKey);
            } else if (list == 0 && busCount != 0) {
                b.Int32(busCount);
            } else if (list == textList) {
                b.Int32(secondTextKey ? 2 : 1);
                AddText(b, textType, 0x50F, "Note", false);
                if (secondTextKey) AddText(b, 15, secondTextKey, "Other", false);
            } else {
                b.Int32(0);
            }
        }
        if (version >= 17) b.Int32(0);
        if (version >= 18) {
            b.Int32(0).Int32(1);
            AddText(b, 28, 0x51C, "Load", true);
            b.Int32(1);
        }
        return b.bytes;
    }
};

TEST(DocumentReading, OlderVersionsLoadWithTheDefaultsOfWhatTheyLack) {
    struct Case {
        int version;
        bool editMode;
        Size size;
        int boxes;
    };
    // Without a stored size the diagram reaches the right and bottom edges
    // of what it holds: the load with its result label.
    const Case cases[] = {
        {13, true, {308, 350}, 0},  {15, true, {308, 350}, 0},  {16, false, {308, 350}, 0},
        {17, false, {308, 350}, 0}, {18, false, {308, 350}, 1}, {19, false, {800, 600}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        DocumentModel model;
        OldDocument document;
        document.version = c.version;
        model.Load(document.Bytes());
        EXPECT_EQ(model->GetFileVersion(), c.version);
        EXPECT_EQ(model->GetEditMode(), c.editMode);
        EXPECT_EQ(model->GetDiagramSize(), c.size);
        EXPECT_EQ(model->List(PowerSystem::kSystemInfos).GetCount(), c.boxes);
        EXPECT_EQ(model->GetBackgroundColor(), 0xC0C0C0u);
        EXPECT_EQ(model->GetLineColor(), 0x0000FFu);
        EXPECT_EQ(model->GetFontColor(), 0x00FF00u);
        const NameCounters& counters = model->GetNameCounters();
        EXPECT_EQ((std::vector<int>{counters.buses, counters.lines, counters.loads, counters.shunts,
                                    counters.generators, counters.syncCompensators, counters.varCompensators,
                                    counters.elementsAdded}),
                  (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
        EXPECT_EQ(model->GetContinuationResult(), "lambda=1.25");
        EXPECT_EQ(model->GetDefaultFont().FaceName(), "Times New Roman");
        EXPECT_EQ(model->GetDefaultFont().charSet, 238);
        IElement* text = model->FindByKey(0x50F);
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(static_cast<FreeText*>(text)->GetLabel(0)->GetText(), "Note");
        // Before version 16 a load is all constant power.
        const double* load = model->FindByKey(0x503)->GetValues();
        EXPECT_EQ(load[Load::kPConstantPower], c.version < 16 ? 18.5 : 8.5);
        EXPECT_EQ(load[Load::kPConstantImpedance], c.version < 16 ? 0.0 : 10.0);
        EXPECT_EQ(load[Load::kQConstantPower], 4.25);
        if (c.boxes) {
            // Its caption and the load's MW, summed once all was read.
            EXPECT_EQ(static_cast<FreeText*>(model->FindByKey(0x51C))->GetLabel(0)->GetText(), "Load     18.50");
        }
    }
}

TEST(DocumentReading, AnEmptyOldDocumentGetsTheSmallestDiagramAndALongFaceNameIsCut) {
    DocumentModel model;
    DocumentBuilder b;
    b.Int32(15).Int32(0).Int32(0).Int32(0);
    for (int counter = 0; counter < 8; ++counter) b.Int32(0);
    b.Text("").Font(-11, 400, 0, std::string(40, 'F'));
    for (int list = 0; list < 12; ++list) b.Int32(0);
    model.Load(b.bytes);
    EXPECT_EQ(model->GetDiagramSize(), (Size{50, 50}));
    EXPECT_EQ(model->GetDefaultFont().FaceName(), std::string(31, 'F'));
}

// A document may attach an element to anything: to itself, or to a box
// whose one value is no bus voltage. It reads as unattached, and reads
// again as it was saved.
TEST(DocumentReading, AnElementAttachedToSomethingThatIsNoBusReadsAsUnattached) {
    for (int key : {0x503, 0x51C}) {
        SCOPED_TRACE(key);
        DocumentModel model;
        OldDocument document;
        document.loadBusKey = key;
        model.Load(document.Bytes());
        EXPECT_EQ(model->FindByKey(0x503)->GetVoltageIndex(), 0.0);
        std::vector<std::uint8_t> saved = model.Save();
        DocumentModel again;
        again.Load(saved);
        EXPECT_EQ(HexOf(again.Save()), HexOf(saved));
    }
}

TEST(DocumentReading, ReadingAddsToTheModelAndAKeyItHoldsAlreadyRefusesTheDocument) {
    DocumentModel model;
    FillWithEveryKind(*model);
    OldDocument document;
    model.Load(document.Bytes());
    EXPECT_EQ(model->List(PowerSystem::kBuses).GetCount(), 5);
    EXPECT_EQ(model->List(PowerSystem::kFreeTexts).GetCount(), 2);
    EXPECT_EQ(model->GetBackgroundPictures().size(), 2u);

    std::vector<std::uint8_t> before = model.Save();
    EXPECT_THROW(model.Load(document.Bytes()), ArchiveError);
    EXPECT_EQ(HexOf(model.Save()), HexOf(before));
    ASSERT_EQ(model.sink.messages.size(), 1u);
    EXPECT_EQ(model.sink.messages[0].text, "The key 1283 of the file is in use in the network already.");
}

// Each document is refused with its message; the model, which holds
// elements and settings of its own, stays exactly as it was.
TEST(DocumentReading, ARefusedDocumentLeavesTheModelAsItWasAndSaysWhy) {
    auto version = [](int v) {
        OldDocument d;
        d.version = v;
        return d.Bytes();
    };
    auto with = [](auto change) {
        OldDocument d;
        change(d);
        return d.Bytes();
    };
    std::vector<std::uint8_t> truncated = OldDocument{}.Bytes();
    truncated.resize(truncated.size() - 3);
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        std::string message;
    };
    const Case cases[] = {
        {"version 12", version(12), "Unsupported file format or too old version number!"},
        {"version 20", version(20), "Unsupported file format or too old version number!"},
        {"foreign marker", with([](OldDocument& d) { d.marker = "QMX"; }), "File is not Quellmark format!"},
        {"unknown type", with([](OldDocument& d) { d.textType = 23; }), "The file holds an element of unknown type 23."},
        {"type 0", with([](OldDocument& d) { d.textType = 0; }), "The file holds an element of unknown type 0."},
        {"duplicate key", with([](OldDocument& d) { d.secondTextKey = 0x50F; }),
         "The file holds two elements under the key 1295."},
        {"text among buses", with([](OldDocument& d) { d.textList = 0; }),
         "The file holds an element of type 15 in the wrong place."},
        {"key of another list", with([](OldDocument& d) { d.secondTextKey = 0x101; }),
         "The file holds an element of type 15 in the wrong place."},
        {"count beyond the bytes", with([](OldDocument& d) { d.busCount = 1000; }),
         "stored length exceeds the archive"},
        {"picture beyond the bytes", with([](OldDocument& d) { d.pictureSize = 1000000; }),
         "stored length exceeds the archive"},
        {"cut short", truncated, "read past the end of the archive"},
        {"nothing", {}, "read past the end of the archive"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DocumentModel model;
        FillWithEveryKind(*model);
        std::vector<std::uint8_t> before = model.Save();
        try {
            model.Load(c.bytes);
            ADD_FAILURE() << "the document was read";
        } catch (const ArchiveError& error) {
            EXPECT_EQ(error.what(), c.message);
        }
        EXPECT_EQ(HexOf(model.Save()), HexOf(before));
        EXPECT_EQ(model->GetFileVersion(), 0);
        ASSERT_EQ(model.sink.messages.size(), 1u);
        EXPECT_EQ(model.sink.messages[0].level, IMessageSink::Failure);
        EXPECT_EQ(model.sink.messages[0].text, c.message);
    }
}

// Two documents joined, or one with a tail another program left: the
// first opens whole and one warning counts the bytes after it.
TEST(DocumentReading, BytesAfterTheLastListOpenTheDocumentWithOneWarning) {
    DocumentModel original;
    FillWithEveryKind(*original);
    const std::vector<std::uint8_t> document = original.Save();
    struct Case {
        const char* what;
        std::vector<std::uint8_t> tail;
    };
    const Case cases[] = {
        {"one byte", {0}},
        {"two documents joined", document},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::uint8_t> bytes = document;
        bytes.insert(bytes.end(), c.tail.begin(), c.tail.end());
        DocumentModel read;
        read.Load(bytes);
        EXPECT_EQ(HexOf(read.Save()), HexOf(document));
        ASSERT_EQ(read.sink.messages.size(), 1u);
        EXPECT_EQ(read.sink.messages[0].level, IMessageSink::Warning);
        EXPECT_EQ(read.sink.messages[0].text, "The file has " + std::to_string(c.tail.size()) +
                                                  " bytes after its last list; they were not read.");
    }
}

TEST(DocumentReading, EveryCutOfADocumentIsRefusedWhole) {
    DocumentModel original;
    FillWithEveryKind(*original);
    std::vector<std::uint8_t> bytes = original.Save();
    const std::vector<std::uint8_t> empty = DocumentModel{}.Save();
    // Every cut within the settings and pictures, then every seventh.
    for (std::size_t size = 0; size < bytes.size(); size += size < 600 ? 1 : 7) {
        DocumentModel model;
        EXPECT_THROW(model.Load({bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size)}), ArchiveError)
            << size;
        EXPECT_EQ(model.Save(), empty) << size;
    }
}

}  // namespace
