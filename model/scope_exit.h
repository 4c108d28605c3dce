#pragma once

#include <utility>

// Undoes a study's state on every way out of it.
template <typename Undo>
class ScopeExit {
public:
    explicit ScopeExit(Undo undo) : undo_(std::move(undo)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() { undo_(); }

private:
    Undo undo_;
};
