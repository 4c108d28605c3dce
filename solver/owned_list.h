#pragma once

#include <algorithm>
#include <cstddef>
#include <deque>
#include <memory>
#include <new>
#include <utility>
#include <vector>

// A list of model records that owns them. Records never move once made:
// other records point at them freely, and the list's order changes by its
// handles alone.
//
// Records made by the list live in blocks of many, laid out in the order
// they were made, so that a pass over a large network reads memory in
// order and a network of ten thousand buses costs a few allocations rather
// than ten thousand. A reader that knows how many records come reserves
// their room at once. A record handed in ready-made keeps its own
// allocation.
template <class T>
class OwnedList {
public:
    // Ends a record's life: a record of the blocks gives its room back with
    // the blocks, one handed in is deleted.
    class Release {
    public:
        Release() = default;
        explicit Release(bool inBlock) : inBlock_(inBlock) {}
        void operator()(T* record) const {
            if (inBlock_)
                record->~T();
            else
                delete record;
        }

    private:
        bool inBlock_ = false;
    };
    using Handle = std::unique_ptr<T, Release>;

    OwnedList() = default;
    OwnedList(const OwnedList&) = delete;
    OwnedList& operator=(const OwnedList&) = delete;

    // Room for this many records more, side by side in new blocks (an
    // estimate: more records still fit, in further blocks). A count read
    // from a file may be wrong: beyond kLargestReserve it reserves that
    // many, so that it cannot take the memory.
    void Reserve(std::size_t count) {
        count = std::min(count, kLargestReserve);
        for (std::size_t room = Room(); room < count; room += blocks_.back().capacity)
            OpenBlock(std::min(count - room, kLargestBlock));
    }

    // A new record with its type's defaults, at the tail or at the head.
    T* AddBack() {
        handles_.push_back(Make());
        return handles_.back().get();
    }
    T* AddFront() {
        handles_.push_front(Make());
        return handles_.front().get();
    }
    void push_back(std::unique_ptr<T> record) { handles_.emplace_back(record.release(), Release(false)); }
    void push_front(std::unique_ptr<T> record) { handles_.emplace_front(record.release(), Release(false)); }

    // Ends the records the predicate picks; their room in a block stays
    // unused until the list goes.
    template <class Predicate>
    void EraseIf(Predicate picks) {
        std::erase_if(handles_, picks);
    }
    // Ends every record; the blocks stay for the records made next.
    void clear() {
        handles_.clear();
        for (Block& block : blocks_) block.used = 0;
        current_ = 0;
    }

    std::size_t size() const { return handles_.size(); }
    bool empty() const { return handles_.empty(); }
    Handle& operator[](std::size_t i) { return handles_[i]; }
    const Handle& operator[](std::size_t i) const { return handles_[i]; }
    Handle& at(std::size_t i) { return handles_.at(i); }
    const Handle& at(std::size_t i) const { return handles_.at(i); }
    Handle& front() { return handles_.front(); }
    const Handle& front() const { return handles_.front(); }
    Handle& back() { return handles_.back(); }
    const Handle& back() const { return handles_.back(); }
    auto begin() { return handles_.begin(); }
    auto end() { return handles_.end(); }
    auto begin() const { return handles_.begin(); }
    auto end() const { return handles_.end(); }
    auto rbegin() { return handles_.rbegin(); }
    auto rend() { return handles_.rend(); }
    auto rbegin() const { return handles_.rbegin(); }
    auto rend() const { return handles_.rend(); }

private:
    // Room for `capacity` records, of which the first `used` were made.
    struct Block {
        struct Free {
            void operator()(T* room) const { ::operator delete(room, std::align_val_t{alignof(T)}); }
        };
        std::unique_ptr<T, Free> room;
        std::size_t capacity = 0;
        std::size_t used = 0;
    };
    // A list that was not told its size grows by blocks that double. No
    // block passes 8 MiB: larger ones would come from mappings of their
    // own, fresh pages for every network, where smaller ones reuse the room
    // of the network before.
    static constexpr std::size_t kFirstBlock = 16;
    static constexpr std::size_t kLargestBlock = std::max<std::size_t>(1, (std::size_t{8} << 20) / sizeof(T));
    static constexpr std::size_t kLargestReserve = std::size_t{1} << 18;

    std::size_t Room() const {
        std::size_t room = 0;
        for (std::size_t b = current_; b < blocks_.size(); ++b) room += blocks_[b].capacity - blocks_[b].used;
        return room;
    }

    void OpenBlock(std::size_t capacity) {
        Block block;
        block.room.reset(static_cast<T*>(::operator new(capacity * sizeof(T), std::align_val_t{alignof(T)})));
        block.capacity = capacity;
        blocks_.push_back(std::move(block));
    }

    Handle Make() {
        while (current_ < blocks_.size() && blocks_[current_].used == blocks_[current_].capacity) ++current_;
        if (current_ == blocks_.size()) {
            const std::size_t made = blocks_.empty() ? 0 : blocks_.back().capacity;
            OpenBlock(std::clamp(2 * made, kFirstBlock, kLargestBlock));
        }
        Block& block = blocks_[current_];
        T* record = ::new (static_cast<void*>(block.room.get() + block.used)) T();
        ++block.used;
        return Handle(record, Release(true));
    }

    std::vector<Block> blocks_;
    std::size_t current_ = 0;  // the first block that may have room
    // After the blocks: the records end before their room goes.
    std::deque<Handle> handles_;
};
