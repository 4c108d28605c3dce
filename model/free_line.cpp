// Free lines and polygons: construction, the label, copies,
// drawing and the archive block.

#include "free_line.h"

#include <cmath>
#include <vector>

#include "power_system.h"

namespace {

// The arrowhead's wings reach this far back along the line and aside.
constexpr float kArrowBack = 8.0f;
constexpr float kArrowSide = 4.0f;

// To the nearest integer, an exact half going down.
int RoundHalfDown(float value) {
    float floor = std::floor(value);
    return static_cast<int>(floor) + (value - floor > 0.5f ? 1 : 0);
}

}  // namespace

FreeLine::FreeLine(PowerSystem* owner, int key, Point point, int style)
    : PowerLine(owner, key, point, Category::FreeLine), style_(style) {
    CreateLabels(point);
    path_.SetNode(point, 0);
    path_.Reopen();
}

FreeLine::FreeLine() {
    category_ = Category::FreeLine;
    archivedLabelCount_ = 0;  // its one label follows its own data
    CreateLabels({});
}

void FreeLine::CreateLabels(Point anchor) {
    labels_.clear();
    labelFlags_.clear();
    selectedLabel_ = -1;
    AddLabel(anchor, style_ == kDashedStyle);
}

void FreeLine::UpdateResultLabel(const double*) {
    // Only the dashed style shows it, but every style keeps the name in its
    // label as SetName leaves it, so a read line measures as it was saved.
    labels_[0]->SetText(name_);
}

void FreeLine::SetName(std::string_view name) {
    EEElement::SetName(name);
    labels_[0]->SetText(name_);
}

std::unique_ptr<IElement> FreeLine::Duplicate(bool forClipboard) {
    if (!owner_) return nullptr;
    int key = owner_->NewKey(category_, forClipboard);
    std::unique_ptr<IElement> made = CreateNew(owner_, key, {}, style_);
    auto& copy = static_cast<FreeLine&>(*made);
    CopyAttributesTo(&copy);
    copy.SetName(name_);
    copy.SetOn(on_);
    copy.endKeys_ = {0, 0};
    path_.CopyNodesTo(copy.path_);
    copy.SyncEndsFromPath();
    MoveByDuplicationStep(copy);
    return made;
}

std::unique_ptr<IElement> FreeLine::CreateNew(PowerSystem* owner, int key, Point point, int style) {
    return std::make_unique<FreeLine>(owner, key, point, style);
}

// --- Drawing ---

void FreeLine::DrawSymbol(DrawingContext& dc) {
    if (style_ == kDashedStyle) {
        LogPen dashed = pen_;
        dashed.style = PenStyle::Dash;
        if (selected_) dashed.color = kBlue;
        LogPen previous = dc.SelectPen(dashed);
        path_.Draw(dc, selected_);
        dc.SelectPen(previous);
        return;
    }
    path_.Draw(dc, selected_);
    if (ends_[0] == ends_[1]) return;
    // Along the straight line between the ends, whatever the last segment.
    float dx = static_cast<float>(ends_[1].x) - static_cast<float>(ends_[0].x);
    float dy = static_cast<float>(ends_[1].y) - static_cast<float>(ends_[0].y);
    float length = std::sqrt(dx * dx + dy * dy);
    float ux = dx / length;
    float uy = dy / length;
    Point tip = ends_[1];
    auto wing = [&](float side) {
        return Point{RoundHalfDown(static_cast<float>(tip.x) - kArrowBack * ux + side * uy),
                     RoundHalfDown(static_cast<float>(tip.y) - kArrowBack * uy - side * ux)};
    };
    dc.MoveTo(wing(kArrowSide));
    dc.LineTo(tip);
    dc.LineTo(wing(-kArrowSide));
}

// --- Archive ---

void FreeLine::Serialize(Archive& archive) {
    // Makes the one label first when loading; no branch data follows.
    PowerLine::Serialize(archive);
    labels_[0]->Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteInt32(style_);
    } else {
        style_ = archive.ReadInt32();
    }
}

// --- Polygon ---

PolygonElement::PolygonElement(PowerSystem* owner, int key, Point point)
    : FreeLine(owner, key, point, kArrowedStyle) {
    category_ = Category::Polygon;
    CreateLabels(point);
}

PolygonElement::PolygonElement() { category_ = Category::Polygon; }

std::unique_ptr<IElement> PolygonElement::CreateNew(PowerSystem* owner, int key, Point point, int) {
    return std::make_unique<PolygonElement>(owner, key, point);
}

void PolygonElement::CreateLabels(Point anchor) {
    labels_.clear();
    labelFlags_.clear();
    selectedLabel_ = -1;
    AddLabel(anchor, false);
}

void PolygonElement::DrawSymbol(DrawingContext& dc) {
    int count = path_.GetNodeCount();
    if (path_.IsFinished() && count > 2 && path_.GetNode(0) == path_.GetNode(-1)) {
        std::vector<Point> corners;
        for (int i = 0; i + 1 < count; ++i) corners.push_back(path_.GetNode(i));
        dc.Polygon(corners);
    }
    path_.Draw(dc, selected_);
}
