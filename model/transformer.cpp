// Fixed and regulating transformers: construction, the ratio label, limits
// in MVA, geometry and the archive tail.

#include "transformer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "element_key.h"
#include "power_system.h"

namespace BD = BranchData;

namespace {

constexpr int kTransformerLabels = 5;
// A rectangle narrower (or lower) than this is widened around the path.
constexpr int kMinExtent = 20;

}  // namespace

Transformer::Transformer(PowerSystem* owner, int key, Point at) : PowerLine(owner, key, at, Category::Line) {
    archivedLabelCount_ = kTransformerLabels;
    AddLabel(at);
    if (owner_) {
        labels_[kRatioLabel]->SetFont(owner_->GetDefaultFont());
        labels_[kRatioLabel]->SetColor(owner_->GetFontColor());
    }
}

Transformer::Transformer() { archivedLabelCount_ = kTransformerLabels; }

void Transformer::AddLabel(Point at) { EEElement::AddLabel(at, false); }

void Transformer::CreateLabels(Point anchor) {
    PowerLine::CreateLabels(anchor);
    AddLabel(anchor);
}

std::unique_ptr<IElement> Transformer::CreateNew(PowerSystem* owner, int key, Point point, int) {
    return std::make_unique<Transformer>(owner, key, point);
}

std::unique_ptr<IElement> RegulatedTransformer::CreateNew(PowerSystem* owner, int key, Point point, int) {
    return std::make_unique<RegulatedTransformer>(owner, key, point);
}

bool Transformer::AutoConnect() {
    if (!PowerLine::AutoConnect()) return false;
    RecalcGeometry();
    PlaceRatioLabel();
    return true;
}

void Transformer::PlaceRatioLabel() {
    PrimitiveText* label = GetLabel(kRatioLabel);
    if (!label) return;
    const Point c2 = circleCentres_[1];
    const Point m{(circleCentres_[0].x + c2.x) / 2, (circleCentres_[0].y + c2.y) / 2};
    label->SetPosition({m.x - std::abs(c2.x - m.x) + 11, m.y + std::abs(c2.y - m.y) - 11});
}

void Transformer::UpdateResultLabel(const double* values) {
    PowerLine::UpdateResultLabel(values);
    if (data_.empty()) return;
    // The ratio reads left to right: reversed when the first segment points
    // left.
    bool reversed = false;
    if (path_.GetNodeCount() >= 2) {
        const Point a = path_.GetNode(0);
        const Point b = path_.GetNode(1);
        const double dx = static_cast<double>(b.x) - a.x;
        const double dy = static_cast<double>(b.y) - a.y;
        reversed = !(dx >= 0.0 || std::fabs(dy) > std::fabs(dx));
    }
    const double from = data_[BD::kFromTapKv];
    const double to = data_[BD::kToTapKv];
    char text[96];
    std::snprintf(text, sizeof text, "n=%.3g/%.3g", reversed ? to : from, reversed ? from : to);
    SetLabelText(kRatioLabel, text);
}

// --- Limits, MVA ---

bool Transformer::IsOverLimit() const {
    if (drawnByColorMap_) return false;
    return LargerMva() > Value(BD::kNotification);
}

double Transformer::GetLoadingIndex() const {
    const double limit = std::max(Value(BD::kRating), Value(BD::kNotification));
    return limit > 0.0 ? LargerMva() / limit : 0.0;
}

bool Transformer::CheckLimits(std::string& text) {
    IElement* first = nullptr;
    IElement* second = nullptr;
    if (data_.empty() || !ConnectedPair(first, second)) return false;
    const double s = LargerMva();
    const char* over = nullptr;
    if (s > std::fabs(data_[BD::kRating])) over = "' over MAXIMUM rated transfer limits!";
    else if (s > data_[BD::kNotification]) over = "' over notification transfer limits!";
    if (!over) return false;
    text = "Transformer between buses '" + first->GetName() + "' and '" + second->GetName() + over;
    return true;
}

// --- Geometry ---

void Transformer::RecalcGeometry() {
    PowerLine::RecalcGeometry();
    const int width = rect_.right - rect_.left;
    if (width < kMinExtent) {
        const int grow = 11 - width / 2;
        rect_.left -= grow;
        rect_.right += grow;
    }
    const int height = rect_.bottom - rect_.top;
    if (height < kMinExtent) {
        const int grow = 11 - height / 2;
        rect_.top -= grow;
        rect_.bottom += grow;
    }
    // The ratio label is placed by the circles: they follow the path at
    // once, not only when drawn.
    if (auto symbol = PlaceSymbol()) {
        circleCentres_[0] = symbol->centres[0];
        circleCentres_[1] = symbol->centres[1];
    }
}

std::optional<Transformer::Symbol> Transformer::PlaceSymbol() const {
    if (path_.GetPointCount() < 2) return std::nullopt;
    const Point p0 = path_.GetNode(0);
    const Point p1 = path_.GetNode(1);
    const double dx = static_cast<double>(p1.x) - p0.x;
    const double dy = static_cast<double>(p1.y) - p0.y;
    // Room for the symbol: about 37 units.
    if (dx * dx + dy * dy < 1400.0) return std::nullopt;
    // A position read from a damaged document stays on the segment.
    const double position = std::isfinite(symbolPosition_) ? std::clamp(symbolPosition_, 0.0, 1.0)
                                                           : kDefaultSymbolPosition;
    Symbol symbol;
    if (dy == 0.0 || dx == 0.0) {
        // Along an axis: whole units from the start.
        const bool horizontal = dy == 0.0;
        const double along = horizontal ? dx : dy;
        const int s = along > 0.0 ? 1 : -1;
        const int start = horizontal ? p0.x : p0.y;
        const int u = start + static_cast<int>(along * position);
        auto at = [&](int offset) { return horizontal ? Point{u + offset * s, p0.y} : Point{p0.x, u + offset * s}; };
        symbol.lineEnd = at(0);
        symbol.centres[0] = at(10);
        symbol.centres[1] = at(20);
        symbol.resume = at(30);
        return symbol;
    }
    const double length = std::sqrt(dx * dx + dy * dy);
    const double u = length * position;
    auto at = [&](double distance) {
        return Point{static_cast<int>(std::lround(p0.x + dx * distance / length)),
                     static_cast<int>(std::lround(p0.y + dy * distance / length))};
    };
    symbol.lineEnd = at(u);
    symbol.centres[0] = at(u + 10);
    symbol.centres[1] = at(u + 20);
    symbol.resume = at(u + 30);
    return symbol;
}

// --- Archive ---

void Transformer::Serialize(Archive& archive) {
    PowerLine::Serialize(archive);
    if (archive.IsStoring()) {
        archive.WriteDouble(symbolPosition_);
        return;
    }
    symbolPosition_ = archive.ReadDouble();
    if (auto symbol = PlaceSymbol()) {
        circleCentres_[0] = symbol->centres[0];
        circleCentres_[1] = symbol->centres[1];
    }
}
