#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class IElement;

// An element's value and label-flag arrays as its properties dialog reaches
// them, each index checked against the array's length.
//
// The value array's length is fixed by the element's class: one shorter
// than the dialog's family needs is a programming error. Debug builds stop
// on it; other builds read 0 and skip the write, so nothing past the end
// is ever touched. The flag array comes from the document, which may hold
// fewer flags than labels: a missing flag reads as hidden, and showing it
// adds it.
class ElementArrays {
public:
    ElementArrays() = default;
    // The element's own arrays, written in place.
    explicit ElementArrays(IElement& element);

    double Value(int index) const;
    void SetValue(int index, double value);
    // A check state: 0 hidden, 1 shown.
    int Flag(int index) const;
    void SetFlag(int index, int state);

    // The whole value array, for rules that read it as a record.
    std::span<const double> Values() const { return values_; }
    std::size_t ValueCount() const { return values_.size(); }
    std::size_t FlagCount() const { return flags_ != nullptr ? flags_->size() : 0; }

private:
    std::span<double> values_;
    std::vector<std::uint8_t>* flags_ = nullptr;
};
