// Drawing the diagram, redrawing parts of it, and its extent.

#include "element_interface.h"
#include "power_system.h"
#include "view.h"

namespace {

// Later lists lie on top of earlier ones: buses over everything that hangs
// on them, annotations at the bottom.
constexpr PowerSystem::ListId kDrawOrder[] = {
    PowerSystem::kPolygons,      PowerSystem::kFreeLines,        PowerSystem::kFreeTexts,
    PowerSystem::kSystemInfos,   PowerSystem::kLines,            PowerSystem::kGenerators,
    PowerSystem::kSyncCompensators, PowerSystem::kVarCompensators, PowerSystem::kLoads,
    PowerSystem::kShunts,        PowerSystem::kCapacitors,       PowerSystem::kVariableBanks,
    PowerSystem::kReactors,      PowerSystem::kConnectors,       PowerSystem::kBuses,
};

}  // namespace

void PowerSystem::Draw(DrawingContext& dc, const Rect* area) {
    if (!view_) return;
    missingNeighbourReported_ = false;
    LogFont previousFont = dc.SelectFont(font_);
    for (const auto& picture : pictures_) {
        if (picture.shown) dc.PlayPicture(picture.metafile, picture.rect);
    }
    for (ListId id : kDrawOrder) {
        for (const auto& [key, element] : lists_[id].Entries()) {
            Rect common;
            if (area && !element->IntersectsRect(common, *area, true)) continue;
            element->Draw(dc);
        }
    }
    dc.SelectFont(previousFont);
}

void PowerSystem::InvalidateArea(const Rect* rect, const Size* inflate) {
    if (rect) {
        Rect grown = *rect;
        grown.Normalize();
        Size by = inflate ? *inflate : Size{1, 1};
        grown.Inflate(by.cx, by.cy);
        pendingArea_ = UnionRect(pendingArea_, grown);
        return;
    }
    if (view_ && !pendingArea_.IsEmpty()) {
        Rect inWindow = pendingArea_;
        ToViewCoordinates(inWindow);
        view_->InvalidateRect(inWindow);
        view_->Update();
    }
    pendingArea_ = Rect{};
}

void PowerSystem::ToViewCoordinates(Rect& rect) const {
    if (!view_) return;
    Point scroll = view_->GetScrollPosition();
    rect.Offset(-scroll.x, -scroll.y);
}

void PowerSystem::GetBoundingRect(Rect& rect) {
    bool anyPicture = false;
    Rect bounds;
    for (const auto& picture : pictures_) {
        if (!picture.shown) continue;
        Rect r = picture.rect;
        r.Normalize();
        bounds = anyPicture ? UnionRect(bounds, r) : r;
        anyPicture = true;
    }
    if (!anyPicture) bounds = rect;
    for (auto& list : lists_) {
        for (const auto& [key, element] : list.Entries()) bounds = UnionRect(bounds, element->CalcBoundingRect());
    }
    rect = bounds;
}
