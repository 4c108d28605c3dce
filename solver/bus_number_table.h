#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

struct NetBus;

// The buses of a reader by their external numbers (never 0). Networks are
// mostly numbered from 1 without large gaps: numbers up to a few times the
// count of buses index an array directly, so that buses read in the order
// of their numbers are found in the order of memory. Any other number goes
// to a hash table of open addressing at most half full, where a look-up
// costs about one probe. Both are sized once when the reader knows how
// many buses come.
class BusNumberTable {
public:
    // The count is the reader's estimate: beyond kLargestReserve buses it
    // reserves that many, so that a wrong count cannot take the memory.
    // Numbers the hash held that the grown array now covers move into it.
    void Reserve(std::size_t count) {
        const std::size_t direct = 4 * std::min(count, kLargestReserve) + 64;
        if (direct <= direct_.size()) return;
        direct_.resize(direct, nullptr);
        std::vector<Slot> hashed;
        hashed.swap(slots_);
        mask_ = 0;
        shift_ = 64;
        count_ = 0;
        for (const Slot& slot : hashed)
            if (slot.bus) Set(slot.number, slot.bus);
    }

    NetBus* Find(int number) const {
        if (IsDirect(number)) return direct_[static_cast<std::size_t>(number)];
        if (slots_.empty()) return nullptr;
        for (std::size_t i = Home(number); slots_[i].bus; i = (i + 1) & mask_)
            if (slots_[i].number == number) return slots_[i].bus;
        return nullptr;
    }

    // Files the bus under the number, in place of any bus filed under it.
    void Set(int number, NetBus* bus) {
        if (IsDirect(number)) {
            direct_[static_cast<std::size_t>(number)] = bus;
            return;
        }
        if (2 * (count_ + 1) > slots_.size()) Rehash(std::bit_ceil(4 * count_ + 16));
        std::size_t i = Home(number);
        while (slots_[i].bus && slots_[i].number != number) i = (i + 1) & mask_;
        if (!slots_[i].bus) ++count_;
        slots_[i] = {number, bus};
    }

    void Clear() {
        direct_.clear();
        slots_.clear();
        shift_ = 64;
        mask_ = 0;
        count_ = 0;
    }

private:
    static constexpr std::size_t kLargestReserve = std::size_t{1} << 18;

    struct Slot {
        int number = 0;
        NetBus* bus = nullptr;
    };

    bool IsDirect(int number) const { return number > 0 && static_cast<std::size_t>(number) < direct_.size(); }

    std::size_t Home(int number) const {
        // Fibonacci hashing, the product's top bits: numbers that come in
        // runs spread over the whole table.
        const auto key = static_cast<std::uint64_t>(static_cast<std::uint32_t>(number));
        return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_) & mask_;
    }

    void Rehash(std::size_t size) {
        std::vector<Slot> old(size);
        old.swap(slots_);
        shift_ = 64 - std::bit_width(size - 1);
        mask_ = size - 1;
        count_ = 0;
        for (const Slot& slot : old)
            if (slot.bus) Set(slot.number, slot.bus);
    }

    std::vector<NetBus*> direct_;
    std::vector<Slot> slots_;
    int shift_ = 64;
    std::size_t mask_ = 0;
    std::size_t count_ = 0;
};
