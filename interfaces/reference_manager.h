#pragma once

#include <cstddef>
#include <new>
#include <vector>

#include "graph_interface.h"

// The graph windows open for one document. The program owns it; the report
// library enters each graph window it makes and empties the entry when the
// window goes. An emptied entry is taken by the next window. When the
// manager goes it releases every window still entered, which closes them.
// Defined here so that both sides of the library boundary build it alike.
class CReferenceManager {
public:
    CReferenceManager() { entries_.reserve(kReservedEntries); }
    CReferenceManager(const CReferenceManager&) = delete;
    CReferenceManager& operator=(const CReferenceManager&) = delete;

    // Each entry is emptied before its window is released, so that the
    // window sees it is no longer held here and forgets the manager.
    virtual ~CReferenceManager() {
        for (IDlgGraph*& entry : entries_) {
            IDlgGraph* dialog = entry;
            entry = nullptr;
            if (dialog != nullptr) dialog->Release();
        }
    }

    // The index of the entry now holding `dialog`: the first empty one,
    // else a new one at the end; -1 when there is no memory for it.
    int Register(IDlgGraph* dialog) noexcept {
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (entries_[i] == nullptr) {
                entries_[i] = dialog;
                return static_cast<int>(i);
            }
        }
        try {
            entries_.push_back(dialog);
        } catch (const std::bad_alloc&) {
            return -1;
        }
        return static_cast<int>(entries_.size() - 1);
    }

    bool Holds(int index, const IDlgGraph* dialog) const noexcept {
        return index >= 0 && static_cast<std::size_t>(index) < entries_.size() && entries_[index] == dialog;
    }

    // Empties the entry, only while it still holds `dialog`.
    void Unregister(int index, const IDlgGraph* dialog) noexcept {
        if (Holds(index, dialog)) entries_[index] = nullptr;
    }

    const std::vector<IDlgGraph*>& Entries() const noexcept { return entries_; }

private:
    static constexpr std::size_t kReservedEntries = 100;

    std::vector<IDlgGraph*> entries_;
};
