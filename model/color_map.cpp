#include "color_map.h"

#include <iterator>

void ColorMap::Add(float threshold, ColorRef color) { entries_.emplace(threshold, color); }

ColorRef ColorMap::GetColor(float value, ColorRef fallback) {
    if (entries_.empty()) return fallback;
    cursor_ = entries_.upper_bound(value);
    if (cursor_ == entries_.end()) cursor_ = std::prev(entries_.end());
    return cursor_->second;
}

void ColorMap::MoveFirst() { cursor_ = entries_.begin(); }

double ColorMap::GetCurrentLimit() const { return IsAtEnd() ? 0.0 : cursor_->first; }

ColorRef ColorMap::GetCurrentColor() const { return IsAtEnd() ? kBlack : cursor_->second; }

void ColorMap::MoveNext() {
    if (!IsAtEnd()) ++cursor_;
}
