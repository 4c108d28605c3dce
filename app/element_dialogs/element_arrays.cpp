#include "element_arrays.h"

#include <cassert>

#include "element_interface.h"

ElementArrays::ElementArrays(IElement& element) { element.GetValuesAndFlags(values_, flags_); }

namespace {

bool WithinValues(int index, std::size_t size) {
    const bool inside = index >= 0 && static_cast<std::size_t>(index) < size;
    assert(inside && "an element dialog indexed past its element's value array");
    return inside;
}

}  // namespace

double ElementArrays::Value(int index) const { return WithinValues(index, values_.size()) ? values_[index] : 0.0; }

void ElementArrays::SetValue(int index, double value) {
    if (WithinValues(index, values_.size())) values_[index] = value;
}

int ElementArrays::Flag(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < FlagCount() ? (*flags_)[index] : 0;
}

void ElementArrays::SetFlag(int index, int state) {
    if (flags_ == nullptr || index < 0) return;
    const auto at = static_cast<std::size_t>(index);
    if (at >= flags_->size()) {
        if (state == 0) return;  // already reads as hidden
        flags_->resize(at + 1, 0);
    }
    (*flags_)[at] = static_cast<std::uint8_t>(state);
}
