#pragma once

#include <bit>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "archive.h"
#include "bus.h"
#include "connection_node.h"
#include "element_factory.h"
#include "fixed_metric_measurer.h"
#include "free_line.h"
#include "free_text.h"
#include "metafile_bytes.h"
#include "network_equivalent.h"
#include "power_system.h"
#include "recording_message_sink.h"

// A model of the program's element classes that measures text with fixed
// metrics and keeps its messages; it holds the one reference of its owner.
class DocumentModel {
public:
    DocumentModel() : model_(PowerSystem::Create(StandardElementFactory())) {
        model_->AddRef();
        model_->SetTextMeasurer(&measurer_);
        model_->SetMessageSink(&sink);
    }
    DocumentModel(const DocumentModel&) = delete;
    DocumentModel& operator=(const DocumentModel&) = delete;
    ~DocumentModel() { model_->Release(); }

    PowerSystem* operator->() const { return model_; }
    PowerSystem& operator*() const { return *model_; }

    std::vector<std::uint8_t> Save() const {
        Archive out = Archive::ForStoring();
        model_->Serialize(out);
        return out.Bytes();
    }
    // Throws ArchiveError when the model refuses the document.
    void Load(const std::vector<std::uint8_t>& bytes) const {
        Archive in = Archive::ForLoading(bytes);
        model_->Serialize(in);
    }

    RecordingMessageSink sink;

private:
    FixedMetricMeasurer measurer_;
    PowerSystem* model_;
};

// Writes a document field by field as the format lays it out, for
// documents that the program itself no longer writes.
class DocumentBuilder {
public:
    DocumentBuilder& Int32(std::int32_t value) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i)));
        return *this;
    }
    DocumentBuilder& Double(double value) {
        auto bits = std::bit_cast<std::uint64_t>(value);
        for (int i = 0; i < 8; ++i) bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
        return *this;
    }
    DocumentBuilder& Byte(std::uint8_t value) {
        bytes.push_back(value);
        return *this;
    }
    // Shorter than 255 characters: a one-byte length.
    DocumentBuilder& Text(std::string_view text) {
        bytes.push_back(static_cast<std::uint8_t>(text.size()));
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    DocumentBuilder& Rect(int left, int top, int right, int bottom) {
        return Int32(left).Int32(top).Int32(right).Int32(bottom);
    }
    // Height, width 0, escapement 0, orientation 0, weight; the eight bytes;
    // the face name.
    DocumentBuilder& Font(int height, int weight, std::uint8_t charSet, std::string_view face) {
        Int32(height).Int32(0).Int32(0).Int32(0).Int32(weight);
        for (std::uint8_t b : {0, 0, 0, static_cast<int>(charSet), 0, 0, 2, 34}) Byte(b);
        return Text(face);
    }
    DocumentBuilder& Bytes(const std::vector<std::uint8_t>& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }

    std::vector<std::uint8_t> bytes;
};

// Files an element made by the arguments with a new key of its category.
template <typename Kind, typename... Args>
Kind& AddAnnotation(PowerSystem& model, int category, Args... args) {
    auto element = std::make_unique<Kind>(&model, model.NewKey(category, false), args...);
    if (!model.AddElement(element.get())) throw std::logic_error("the element was not filed");
    return *element.release();
}

// Makes an element of the class as its tool does (the kind's CreateNew) at
// the point and files it.
inline IElement& Make(PowerSystem& model, int classType, Point at, int flag = 0) {
    std::unique_ptr<IElement> prototype = StandardElementFactory().Make(classType);
    int key = model.NewKey(prototype->GetType(false), false);
    std::unique_ptr<IElement> element = prototype->CreateNew(&model, key, at, flag);
    if (!model.AddElement(element.get())) throw std::logic_error("the element was not filed");
    return *element.release();
}

// A one-port placed at the point; it attaches to a bus lying there.
inline IElement& Place(PowerSystem& model, int classType, Point at) {
    IElement& element = Make(model, classType, at);
    element.AutoConnect();
    return element;
}

// A line, transformer or switch drawn from a bus at `from` to a bus at
// `to`: the click there attaches its end 1 and finishes its path.
inline IElement& Join(PowerSystem& model, int classType, Point from, Point to) {
    IElement& element = Make(model, classType, from);
    element.DragHandle(4, 0, to);
    element.DragHandle(0, 0, to);
    return element;
}

// Draws a free line or polygon through the points as the tool does: the
// first click makes it, each further click adds a node after the mouse has
// moved there, and the last one finishes it.
template <typename Kind, typename... Args>
Kind& DrawPath(PowerSystem& model, int category, const std::vector<Point>& nodes, Args... args) {
    Kind& element = AddAnnotation<Kind>(model, category, nodes.front(), args...);
    for (std::size_t i = 1; i < nodes.size(); ++i) {
        element.DragHandle(4, 0, nodes[i]);
        element.DragHandle(i + 1 < nodes.size() ? 0 : 3, 0, nodes[i]);
    }
    return element;
}

// A model with an element of every kind this program makes, a shown and a
// hidden background picture and settings that differ from the defaults.
inline void FillWithEveryKind(PowerSystem& model) {
    for (auto [at, type] : {std::pair{Point{100, 100}, ElementType::Bus}, {Point{200, 100}, ElementType::HorizontalBus},
                            {Point{300, 100}, ElementType::NetworkEquivalent}, {Point{400, 100}, ElementType::ConnectionNode},
                            {Point{500, 100}, ElementType::Bus}}) {
        std::unique_ptr<IElement> bus;
        int key = model.NewKey(Category::Bus, false);
        if (type == ElementType::Bus) bus = std::make_unique<Bus>(&model, key, at, true);
        if (type == ElementType::HorizontalBus) bus = std::make_unique<HorizontalBus>(&model, key, at);
        if (type == ElementType::NetworkEquivalent) bus = std::make_unique<NetworkEquivalent>(&model, key, at);
        if (type == ElementType::ConnectionNode) bus = std::make_unique<ConnectionNode>(&model, key, at);
        if (!model.AddElement(bus.get())) throw std::logic_error("the bus was not filed");
        bus.release();
    }
    // A load and a generator on the first bus, the other one-ports apart.
    Place(model, ElementType::Load, {100, 110});
    Place(model, ElementType::Generator, {100, 130});
    int x = 600;
    for (int type : {ElementType::SyncCompensator, ElementType::VarCompensator, ElementType::Shunt,
                     ElementType::Capacitor, ElementType::Reactor, ElementType::VariableBank,
                     ElementType::VariableReactorBank}) {
        Place(model, type, {x += 60, 100});
    }
    // Lines and transformers between the bars; the equivalent, the node and
    // the last bus joined by closed switches into one group, with an open
    // disconnector and fuse beside them.
    Join(model, ElementType::PowerLine, {100, 120}, {220, 100});
    Join(model, ElementType::Transformer, {100, 135}, {230, 100});
    Join(model, ElementType::RegulatedTransformer, {235, 100}, {298, 120});
    Join(model, ElementType::Connector, {338, 120}, {400, 100});
    Join(model, ElementType::CircuitBreaker, {400, 100}, {500, 110}).SetOn(true);
    Join(model, ElementType::Disconnector, {500, 120}, {338, 130});
    Join(model, ElementType::Fuse, {500, 130}, {400, 100});
    DrawPath<FreeLine>(model, Category::FreeLine, {{50, 300}, {150, 300}, {150, 350}}, FreeLine::kDashedStyle);
    DrawPath<FreeLine>(model, Category::FreeLine, {{250, 300}, {350, 380}}, FreeLine::kArrowedStyle);
    DrawPath<PolygonElement>(model, Category::Polygon, {{0, 400}, {100, 400}, {50, 480}, {0, 400}});
    AddAnnotation<FreeText>(model, Category::FreeText, Point{500, 300}).SetName("Hello world");
    SystemInfo& box = AddAnnotation<SystemInfo>(model, Category::SystemInfo, Point{700, 300});
    box.SetName("Gen Q");
    double item = 7;  // generation Q with its caption
    box.UpdateResultLabel(&item);
    // Reading sets a transformer's tap steps (value 16) to 1 whatever was
    // stored; they are 1 here already, as after any reading.
    for (const auto& [key, element] : model.List(PowerSystem::kLines).Entries()) {
        if (element->GetElementType() != ElementType::PowerLine) element->GetValues()[16] = 1.0;
    }
    // The labels as a read document shows them: rebuilt from the values.
    for (int id = 0; id < PowerSystem::kListCount; ++id) {
        for (const auto& [key, element] : model.List(PowerSystem::ListId(id)).Entries()) element->UpdateResultLabel(nullptr);
    }

    model.GetBackgroundPictures().push_back({true, {0, 0, 640, 480}, "site plan", EmptyMetafile()});
    model.GetBackgroundPictures().push_back({false, {10, 20, 30, 40}, "old plan", EmptyMetafile()});
    model.SetDiagramSize({3000, 2000});
    model.SetEditMode(false);
    model.SetBackgroundColor(0xF0F0F0);
    model.SetLineColor(0x800000);
    model.SetFontColor(0x008000);
    model.SetContinuationResult("max lambda 1.75");
    LogFont font = model.GetDefaultFont();
    font.SetFaceName("Courier New");
    font.height = -12;
    model.SetDefaultFont(font);
}
