#pragma once

#include <map>

#include "color.h"

// A table from a threshold to a colour: nominal voltage in kV, loading in
// percent or bus voltage in p.u. The application fills one of each at start
// and every model draws with them. The cursor serves the walk of the legend.
class ColorMap {
public:
    ColorMap() = default;
    ColorMap(const ColorMap&) = delete;
    ColorMap& operator=(const ColorMap&) = delete;

    // A threshold already present keeps its first colour.
    void Add(float threshold, ColorRef color);
    // The colour of the first threshold strictly greater than the value, or
    // of the last threshold when none is greater; `fallback` for an empty
    // map. The cursor is left on the answering entry.
    ColorRef GetColor(float value, ColorRef fallback);

    // The legend walk: MoveFirst, then the current entry and MoveNext until
    // IsAtEnd. At the end the current limit is 0 and the colour black.
    void MoveFirst();
    bool IsAtEnd() const { return cursor_ == entries_.end(); }
    double GetCurrentLimit() const;
    ColorRef GetCurrentColor() const;
    void MoveNext();

    int GetCount() const { return static_cast<int>(entries_.size()); }

private:
    std::map<float, ColorRef> entries_;
    std::map<float, ColorRef>::const_iterator cursor_ = entries_.end();
};
