#include "key_generator.h"

#include "element_list.h"

int NextFreeKey(const ElementList& list, int category, std::uint32_t maxSerial) {
    std::uint32_t largest = list.IsEmpty() ? 0 : KeySerial(list.GetLastKey());
    // Keys ascend with their serials, so the serial after the largest is
    // always free.
    if (largest < maxSerial) return MakeKey(largest + 1, category);

    std::uint32_t lowestFree = 1;
    for (const auto& [key, element] : list.Entries()) {
        if (KeyCategory(key) != category) continue;
        std::uint32_t serial = KeySerial(key);
        if (serial > lowestFree) break;
        if (serial == lowestFree) ++lowestFree;
    }
    return lowestFree > maxSerial ? 0 : MakeKey(lowestFree, category);
}
