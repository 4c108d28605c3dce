// What the elements ask of the model while they connect and move: the grid,
// the nearest element of a list, the free ends on a box, connecting at a
// point, and neighbours that have gone missing.

#include <climits>
#include <string>

#include "element_interface.h"
#include "element_key.h"
#include "message_sink.h"
#include "power_system.h"

namespace {

// Squared distance within which a point lies on an element's body.
constexpr int kOnBodyDistance = 50;
// Generators stop the search at a coarser distance, once one lies within
// about 15 units.
constexpr int kGeneratorNearEnough = 226;

}  // namespace

void PowerSystem::SnapPoint(Point& point) const {
    // A step of 0 or less (from a damaged document) leaves the point alone.
    if (!snapToGrid_ || gridStep_ <= 0) return;
    auto snap = [step = gridStep_](int coordinate) {
        long long snapped = (static_cast<long long>(coordinate) + step / 2) / step * step;
        // At the very edge of the coordinates the grid line inside wins.
        if (snapped > INT_MAX) snapped -= step;
        if (snapped < INT_MIN) snapped += step;
        return static_cast<int>(snapped);
    };
    point = {snap(point.x), snap(point.y)};
}

bool PowerSystem::FindNearestInList(Point point, int category, Point& nearest, int& key) {
    ElementList* list = GetElementList(category);
    if (!list) return false;
    int best = INT_MAX;
    bool any = false;
    for (const auto& [elementKey, element] : list->Entries()) {
        Point onBody;
        int distance = element->HitTestBody(point, onBody);
        if (!any || distance <= best) {
            best = distance;
            nearest = onBody;
            key = elementKey;
            any = true;
        }
        if (category == Category::Generator ? best < kGeneratorNearEnough : best <= kOnBodyDistance) break;
    }
    return any && best <= kOnBodyDistance;
}

bool PowerSystem::HitTestEnds(bool& more, int category, const Rect& box, int& end, IElement*& element) {
    ElementList* list = GetElementList(category);
    if (!list) return more = false;
    if (!more && !list->First()) return false;
    int key = 0;
    IElement* candidate = nullptr;
    do {
        candidate = nullptr;
        list->GetNext(more, key, candidate);
        if (candidate && candidate->HitTestEnd(box, end)) {
            element = candidate;
            return true;
        }
    } while (more);
    return false;
}

bool PowerSystem::ConnectAtPoint(int key, int otherKey, const Point* point) {
    IElement* element = FindByKey(key);
    return element && element->ConnectAtPoint(otherKey, point);
}

void PowerSystem::ReportMissingNeighbour(const IElement& element, int key) {
    if (missingNeighbourReported_ || !sink_) return;
    missingNeighbourReported_ = true;
    std::string text = "Element \"" + element.GetName() + "\" is attached to element " + std::to_string(key) +
                       ", which is not in the network; that connection is not drawn.";
    sink_->AddMessage(IMessageSink::Warning, text.c_str());
}
