#pragma once

#include <cstdint>

#include "element_key.h"

class ElementList;

// The next key of the category for the list: the serial after the largest
// serial in the list, or, when that one is the last of the space, the
// lowest serial that no key of the category in the list holds. 0 when every
// serial from 1 to maxSerial is taken.
int NextFreeKey(const ElementList& list, int category, std::uint32_t maxSerial = kMaxKeySerial);
