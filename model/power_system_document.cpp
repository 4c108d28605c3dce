// The ".pf" document: the whole model as one record of settings, background
// pictures and element lists.

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "archive_records.h"
#include "diagram_archive.h"
#include "element_interface.h"
#include "element_key.h"
#include "message_sink.h"
#include "power_system.h"

namespace {

// Versions read; the writer always writes the newest with every section.
constexpr int kOldestVersion = 13;
constexpr int kCurrentVersion = 19;
// Sections that later versions added.
constexpr int kMarkerVersion = 16;      // marker, edit mode, pictures
constexpr int kConnectorsVersion = 17;  // the connector list
constexpr int kPolygonsVersion = 18;    // polygons and system-information boxes
constexpr int kSizeVersion = 19;        // diagram width and height

constexpr char kMarker[] = "QMK";
constexpr char kVersionMessage[] = "Unsupported file format or too old version number!";
constexpr char kMarkerMessage[] = "File is not Quellmark format!";

// The smallest a stored element can be: its type byte and the element
// base's block with an empty name and no label flags. Counts that the bytes
// left cannot hold are refused before anything is read for them.
constexpr std::size_t kMinElementBytes = 1 + 4 + 16 + 1 + 4 + 16 + 8 + 1 + 4 + 12 + 16 + 2;
// Shown flag, rectangle, empty name, size.
constexpr std::size_t kMinPictureBytes = 1 + 16 + 1 + 4;
// The smallest diagram that a document without a stored size gets.
constexpr int kMinDerivedSize = 50;

// The element lists in the order of the document: the twelve of every
// version, then the connectors (17), then polygons and boxes (18).
constexpr PowerSystem::ListId kBaseSections[] = {
    PowerSystem::kBuses,     PowerSystem::kLines,      PowerSystem::kGenerators,
    PowerSystem::kSyncCompensators, PowerSystem::kVarCompensators, PowerSystem::kLoads,
    PowerSystem::kShunts,    PowerSystem::kCapacitors, PowerSystem::kReactors,
    PowerSystem::kFreeLines, PowerSystem::kFreeTexts,  PowerSystem::kVariableBanks,
};
constexpr PowerSystem::ListId kLateSections[] = {PowerSystem::kPolygons, PowerSystem::kSystemInfos};

// The eight stored name counters in their stored order.
constexpr int NameCounters::*kStoredCounters[] = {
    &NameCounters::buses,         &NameCounters::lines,
    &NameCounters::loads,         &NameCounters::shunts,
    &NameCounters::generators,    &NameCounters::syncCompensators,
    &NameCounters::varCompensators, &NameCounters::elementsAdded,
};

void WritePicture(Archive& archive, const BackgroundPicture& picture) {
    archive.WriteByte(picture.shown ? 1 : 0);
    WriteRect(archive, picture.rect);
    archive.WriteString(picture.name);
    archive.WriteBlock(picture.metafile);
}

BackgroundPicture ReadPicture(Archive& archive) {
    BackgroundPicture picture;
    picture.shown = archive.ReadByte() == 1;
    picture.rect = ReadRect(archive);
    picture.name = archive.ReadString();
    // Kept byte for byte: the picture is rebuilt from them when drawn.
    picture.metafile = archive.ReadBlock();
    return picture;
}

int ReadDiagramExtent(Archive& archive) {
    int extent = archive.ReadInt32();
    if (extent < 0 || extent > kMaxDiagramCoordinate) {
        throw ArchiveError(ArchiveError::Kind::OutOfRange, "diagram size beyond any diagram");
    }
    return extent;
}

// Releases a model that nobody else refers to.
struct ModelRelease {
    void operator()(PowerSystem* model) const { model->Release(); }
};

}  // namespace

void PowerSystem::Serialize(Archive& archive) {
    if (archive.IsStoring()) {
        WriteDocument(archive);
        return;
    }
    // Read into a model of its own, which then hands everything over: a
    // document refused halfway leaves this one untouched.
    std::unique_ptr<PowerSystem, ModelRelease> read(new (std::nothrow) PowerSystem(factory_));
    try {
        if (!read) throw ArchiveError(ArchiveError::Kind::Refused, "There is not enough memory for the network.");
        read->measurer_ = measurer_;
        read->remote_ = remote_;  // result labels take the formats of this model
        read->ReadDocument(archive);
        AdoptDocument(*read);
    } catch (const ArchiveError& error) {
        if (sink_) {
            // After several failed opens the log must still say which file each was.
            const std::string& source = archive.SourceName();
            sink_->AddMessage(IMessageSink::Failure,
                              source.empty() ? error.what() : (source + ": " + error.what()).c_str());
        }
        throw;
    }
    // Files that other programs wrote may carry bytes after the last list;
    // a bad copy or two files joined do too, so the user hears of them.
    if (archive.Remaining() > 0 && sink_) {
        const std::string text = "The file has " + std::to_string(archive.Remaining()) +
                                 " bytes after its last list; they were not read.";
        sink_->AddMessage(IMessageSink::Warning, text.c_str());
    }
}

void PowerSystem::RefuseDocument(const std::string& reason) const {
    throw ArchiveError(ArchiveError::Kind::Refused, reason);
}

void PowerSystem::WriteDocument(Archive& archive) {
    archive.WriteInt32(kCurrentVersion);
    archive.WriteString(kMarker);
    // Written within the range that is read back.
    for (int extent : {diagramSize_.cx, diagramSize_.cy}) archive.WriteInt32(std::clamp(extent, 0, kMaxDiagramCoordinate));
    archive.WriteByte(editMode_ ? 1 : 0);
    archive.WriteInt32(static_cast<std::int32_t>(pictures_.size()));
    for (const auto& picture : pictures_) WritePicture(archive, picture);
    for (ColorRef color : {backgroundColor_, lineColor_, fontColor_}) archive.WriteUInt32(color);
    for (auto counter : kStoredCounters) archive.WriteInt32(counters_.*counter);
    archive.WriteString(continuationResult_);
    WriteLogFont(archive, defaultFont_);

    auto writeList = [&archive](const ElementList& list) {
        archive.WriteInt32(list.GetCount());
        for (const auto& [key, element] : list.Entries()) {
            archive.WriteByte(static_cast<std::uint8_t>(element->GetElementType()));
            element->Serialize(archive);
        }
    };
    for (ListId id : kBaseSections) writeList(lists_[id]);
    writeList(lists_[kConnectors]);
    for (ListId id : kLateSections) writeList(lists_[id]);
}

void PowerSystem::ReadDocument(Archive& archive) {
    int version = archive.ReadInt32();
    if (version < kOldestVersion || version > kCurrentVersion) RefuseDocument(kVersionMessage);
    fileVersion_ = version;
    if (version >= kMarkerVersion && archive.ReadString() != kMarker) RefuseDocument(kMarkerMessage);
    if (version >= kSizeVersion) {
        diagramSize_.cx = ReadDiagramExtent(archive);
        diagramSize_.cy = ReadDiagramExtent(archive);
    }
    editMode_ = version < kMarkerVersion || archive.ReadByte() != 0;
    if (version >= kMarkerVersion) {
        std::size_t count = archive.ReadInt32Count(kMinPictureBytes);
        for (std::size_t i = 0; i < count; ++i) pictures_.push_back(ReadPicture(archive));
    }
    for (ColorRef* color : {&backgroundColor_, &lineColor_, &fontColor_}) *color = archive.ReadUInt32();
    for (auto counter : kStoredCounters) counters_.*counter = archive.ReadInt32();
    continuationResult_ = archive.ReadString();
    defaultFont_ = ReadLogFont(archive);

    for (ListId id : kBaseSections) ReadListSection(archive, id);
    if (version >= kConnectorsVersion) ReadListSection(archive, kConnectors);
    if (version >= kPolygonsVersion) {
        for (ListId id : kLateSections) ReadListSection(archive, id);
    }
}

void PowerSystem::ReadListSection(Archive& archive, ListId id) {
    ElementList& list = lists_[id];
    std::size_t count = archive.ReadInt32Count(kMinElementBytes);
    char reason[96];
    for (std::size_t i = 0; i < count; ++i) {
        int type = archive.ReadByte();
        std::unique_ptr<IElement> element = CreateElement(type);
        if (!element) {
            std::snprintf(reason, sizeof reason, "The file holds an element of unknown type %d.", type);
            RefuseDocument(reason);
        }
        element->Serialize(archive);
        int key = element->GetKey();
        // Each element lies in the list of its kind under a key of that
        // list, as the model files it: the lists' users rely on it.
        if (ListOfCategory(element->GetType(false)) != &list || !IsElementKey(key) ||
            ListOfCategory(KeyCategory(key)) != &list) {
            std::snprintf(reason, sizeof reason, "The file holds an element of type %d in the wrong place.", type);
            RefuseDocument(reason);
        }
        if (!list.Add(key, element.get())) {
            std::snprintf(reason, sizeof reason, "The file holds two elements under the key %d.", key);
            RefuseDocument(reason);
        }
        element.release()->UpdateResultLabel(nullptr);
    }
}

void PowerSystem::AdoptDocument(PowerSystem& read) {
    for (int id = 0; id < kListCount; ++id) {
        for (const auto& [key, element] : read.lists_[id].Entries()) {
            if (!lists_[id].Contains(key)) continue;
            char reason[96];
            std::snprintf(reason, sizeof reason, "The key %d of the file is in use in the network already.", key);
            RefuseDocument(reason);
        }
    }
    // Nothing below can fail.
    for (int id = 0; id < kListCount; ++id) {
        for (const auto& [key, element] : read.lists_[id].Entries()) element->SetOwner(this);
        lists_[id].TakeAll(read.lists_[id]);
    }
    fileVersion_ = read.fileVersion_;
    editMode_ = read.editMode_;
    std::move(read.pictures_.begin(), read.pictures_.end(), std::back_inserter(pictures_));
    backgroundColor_ = read.backgroundColor_;
    lineColor_ = read.lineColor_;
    fontColor_ = read.fontColor_;
    for (auto counter : kStoredCounters) counters_.*counter = read.counters_.*counter;
    continuationResult_ = std::move(read.continuationResult_);
    defaultFont_ = read.defaultFont_;

    ComputeSystemTotals();
    if (fileVersion_ >= kSizeVersion) {
        diagramSize_ = read.diagramSize_;
    } else {
        Rect bounds;
        GetBoundingRect(bounds);
        diagramSize_ = {std::max(bounds.right, kMinDerivedSize), std::max(bounds.bottom, kMinDerivedSize)};
    }
}
