#pragma once

#include <memory>

// The part of a record that few records have, kept out of line so that the
// record stays small: allocated the first time one of its members is
// written. Until then it reads as a record of defaults.
template <class T>
class SideRecord {
public:
    const T& Get() const { return part_ ? *part_ : kDefaults; }
    bool Has() const { return part_ != nullptr; }
    T& Edit() {
        if (!part_) part_ = std::make_unique<T>();
        return *part_;
    }

private:
    static inline const T kDefaults{};
    std::unique_ptr<T> part_;
};
