#include "network_equivalent.h"

#include <cstdio>

namespace {

// A point this far (squared) from the side it faces is off the square.
constexpr int kSideHitDistance = 100;
constexpr int kNoHit = 99999999;

}  // namespace

NetworkEquivalent::NetworkEquivalent(PowerSystem* owner, int key, Point at) : Bus(owner, key, at, true) {
    values_[kKind] = kSwingKind;
    values_[kMinVoltage] = 0.0;
    values_[kMaxVoltage] = 0.0;
    rect_.right = rect_.left + (rect_.bottom - rect_.top);
    AddLabel({at.x - 20, at.y + 55}, true).SetText("S=0.0/0.0");
    archivedLabelCount_ = 3;
    ApplyDefaultLabelFont();
}

NetworkEquivalent::NetworkEquivalent() {
    AddLabel({}, true);
    archivedLabelCount_ = 3;
}

void NetworkEquivalent::UpdateResultLabel(const double* values) {
    Bus::UpdateResultLabel(values);
    if (values_[kVoltage] <= 0.0) values_[kMinVoltage] = values_[kMaxVoltage] = 0.0;
    char text[96];
    std::snprintf(text, sizeof text, "S=%.2f/%.2f", values_[kMaxVoltage], values_[kMinVoltage]);
    labels_[2]->SetText(text);
}

std::unique_ptr<IElement> NetworkEquivalent::Duplicate(bool forClipboard) {
    return DuplicateAt(forClipboard, {rect_.left + 2, rect_.top});
}

std::unique_ptr<IElement> NetworkEquivalent::CreateNew(PowerSystem* owner, int key, Point point, int) {
    return std::make_unique<NetworkEquivalent>(owner, key, point);
}

bool NetworkEquivalent::GetFlowAtEnd(int key, double& p, double& q, bool& pending) {
    pending = false;
    if (key != key_) {
        p = q = 0.0;
        return false;
    }
    p = values_[kMaxVoltage];
    q = values_[kMinVoltage];
    return true;
}

bool NetworkEquivalent::SetConnectedGeneration(double p, double q) {
    values_[kMaxVoltage] = p;
    values_[kMinVoltage] = q;
    return true;
}

bool NetworkEquivalent::FacingSide(Point point, Point& from, Point& to) const {
    const Rect& r = rect_;
    if (point.x >= r.right) from = {r.right, r.top}, to = {r.right, r.bottom};
    else if (point.x <= r.left) from = {r.left, r.top}, to = {r.left, r.bottom};
    else if (point.y <= r.top) from = {r.left, r.top}, to = {r.right, r.top};
    else if (point.y >= r.bottom) from = {r.left, r.bottom}, to = {r.right, r.bottom};
    else return false;
    return true;
}

bool NetworkEquivalent::AutoConnect() {
    return ConnectFreeEnds(rect_, [this](Point end) {
        Point from, to, nearest = end;
        // An end inside the square is attached where it lies.
        if (FacingSide(end, from, to)) DistanceToSegment(from, to, end, nearest);
        return nearest;
    });
}

int NetworkEquivalent::HitTestBody(Point point, Point& nearest) {
    const Rect& r = rect_;
    const bool outside[] = {point.x >= r.right, point.x <= r.left, point.y <= r.top, point.y >= r.bottom};
    const std::pair<Point, Point> sides[] = {{{r.right, r.top}, {r.right, r.bottom}},
                                             {{r.left, r.top}, {r.left, r.bottom}},
                                             {{r.left, r.top}, {r.right, r.top}},
                                             {{r.left, r.bottom}, {r.right, r.bottom}}};
    for (int i = 0; i < 4; ++i) {
        if (!outside[i]) continue;
        Point onSide;
        int distance = DistanceToSegment(sides[i].first, sides[i].second, point, onSide);
        if (distance < kSideHitDistance) {
            nearest = onSide;
            return distance;
        }
    }
    return kNoHit;
}
