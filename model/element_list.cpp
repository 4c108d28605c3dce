#include "element_list.h"

#include <algorithm>
#include <utility>

#include "element_interface.h"

ElementList::~ElementList() { DeleteAll(); }

bool ElementList::First() {
    cursor_ = map_.begin();
    return !map_.empty();
}

void ElementList::Reset() { cursor_ = map_.begin(); }

bool ElementList::Next(IElement*& element) {
    if (cursor_ == map_.end()) {
        element = nullptr;
        return false;
    }
    element = cursor_->second;
    ++cursor_;
    return true;
}

void ElementList::GetNext(bool& more, int& key, IElement*& element) {
    if (map_.empty()) return;
    if (cursor_ == map_.end()) {
        more = false;
        key = 0;
        element = nullptr;
        return;
    }
    key = cursor_->first;
    element = cursor_->second;
    ++cursor_;
    more = cursor_ != map_.end();
}

IElement* ElementList::Find(int key) const {
    auto found = map_.find(key);
    return found == map_.end() ? nullptr : found->second;
}

bool ElementList::Add(int key, IElement* element) { return map_.emplace(key, element).second; }

void ElementList::Remove(int key) {
    auto found = map_.find(key);
    if (found == map_.end()) return;
    if (cursor_ == found) ++cursor_;
    map_.erase(found);
}

void ElementList::TakeAll(ElementList& from) {
    map_.merge(from.map_);
    from.cursor_ = from.map_.end();
}

int ElementList::GetLastKey() const { return map_.empty() ? 0 : map_.rbegin()->first; }

void ElementList::DeleteAll() {
    Map entries = std::exchange(map_, Map{});
    cursor_ = map_.end();
    if (!owns_) return;
    for (auto& [key, element] : entries) delete element;
}

Rect ElementList::GetBoundingRect() const {
    Rect bounds;
    for (const auto& [key, element] : map_) {
        Rect r = element->GetBoundingRect();
        r.Normalize();
        bounds = UnionRect(bounds, r);
    }
    return bounds;
}

Rect ElementList::GetExtent() const {
    Rect extent;
    bool any = false;
    for (const auto& [key, element] : map_) {
        Rect r = element->GetBoundingRect();
        r.Normalize();
        extent = any ? Rect{std::min(extent.left, r.left), std::min(extent.top, r.top),
                            std::max(extent.right, r.right), std::max(extent.bottom, r.bottom)}
                     : r;
        any = true;
    }
    return extent;
}
