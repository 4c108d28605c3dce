#pragma once

#include <cstdint>
#include <map>

#include "geometry.h"

class IElement;

// A keyed container of elements: one element per key, walked in ascending
// key order. An owning list (the default) deletes its elements when it is
// emptied or destroyed; a list that only refers to elements (a selection)
// does not. Keys compare as unsigned numbers, so serials of 2^23 and above,
// whose keys are negative as ints, still follow the smaller ones.
class ElementList {
public:
    struct KeyOrder {
        bool operator()(int a, int b) const {
            return static_cast<std::uint32_t>(a) < static_cast<std::uint32_t>(b);
        }
    };
    using Map = std::map<int, IElement*, KeyOrder>;

    ElementList() = default;
    ElementList(const ElementList&) = delete;
    ElementList& operator=(const ElementList&) = delete;
    ~ElementList();

    void SetOwning(bool owns) { owns_ = owns; }
    bool IsOwning() const { return owns_; }

    // The cursor walk. First: the cursor to the first entry, true when the
    // list is not empty.
    bool First();
    void Reset();
    // The element at the cursor, advancing; false (and null) at the end.
    bool Next(IElement*& element);
    // Hands out the entry at the cursor and advances; `more` is cleared in
    // the same call that hands out the last entry. At the end: more false,
    // key 0, element null. An empty list touches nothing.
    void GetNext(bool& more, int& key, IElement*& element);

    // Null when the key is absent.
    IElement* Find(int key) const;
    bool Contains(int key) const { return map_.contains(key); }
    // Files the element under the key. False, filing nothing, when the key
    // is present: the element stays with the caller.
    bool Add(int key, IElement* element);
    // Takes the entry out without deleting the element.
    void Remove(int key);
    // Moves every entry of `from` whose key this list lacks into this list,
    // without deleting or copying anything; `from` keeps the others.
    void TakeAll(ElementList& from);
    // The largest key, 0 when empty.
    int GetLastKey() const;
    int GetCount() const { return static_cast<int>(map_.size()); }
    bool IsEmpty() const { return map_.empty(); }
    // An owning list deletes every element in key order; the list is empty
    // afterwards in any case. The entries leave the list before the first
    // element is deleted, so an element's destructor finds none of them.
    void DeleteAll();

    // The union of the elements' stored rectangles, each normalised first;
    // the zero rectangle for an empty list.
    Rect GetBoundingRect() const;
    // The smallest rectangle holding every element's stored rectangle, the
    // flat ones too (a straight horizontal line); the zero rectangle for an
    // empty list.
    Rect GetExtent() const;

    // For walks that do not need the cursor: ranges over (key, element).
    const Map& Entries() const { return map_; }

private:
    Map map_;
    Map::iterator cursor_ = map_.end();
    bool owns_ = true;
};
