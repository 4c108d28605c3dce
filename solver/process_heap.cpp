#include "process_heap.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

// A run of the command-line solver fills some tens of MiB once: the network,
// the Jacobian, its factors and the listing's buffers. Every first write to
// a 4 KiB page is a page fault, and on a virtual machine a fault costs tens
// of microseconds: in a run of a 10,000-bus case the faults took as long as
// the solution. So the heap grows at once by a reserve that asks for
// transparent huge pages (one fault per 2 MiB), large blocks come from the
// heap rather than from mappings of their own, and freed memory stays for
// the next block instead of going back to the system.

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kSmallPage = 4096;
// What glibc keeps in front of a block.
constexpr std::size_t kChunkHeader = 2 * sizeof(std::size_t);
// Blocks below this come from the heap (glibc's largest setting).
constexpr int kLargestHeapBlock = 32 << 20;
// The reserve in huge pages (virtual: a page costs memory only once
// written).
constexpr int kReserve = 128 << 20;
// A block larger than what the young heap has left, so that the heap grows.
constexpr std::size_t kGrowingBlock = 256 << 10;
// Room the heap keeps on top whenever it grows beyond the reserve.
constexpr int kHeapGrowth = 16 << 20;
// Free memory on top of the heap below this is kept.
constexpr int kKeptFreeMemory = 256 << 20;

// The start of the heap set aside for the whole run (volatile: an
// allocation that is never read would otherwise be left out).
void* volatile setAside = nullptr;

std::uintptr_t RoundUp(std::uintptr_t address) {
    return (address + kHugePage - 1) & ~(kHugePage - 1);
}

std::uintptr_t RoundDown(std::uintptr_t address) {
    return address & ~(kHugePage - 1);
}

}  // namespace

void PrepareProcessHeap() {
    mallopt(M_MMAP_THRESHOLD, kLargestHeapBlock);
    mallopt(M_TRIM_THRESHOLD, kKeptFreeMemory);
    mallopt(M_TOP_PAD, kReserve);
    void* block = std::malloc(kGrowingBlock);
    mallopt(M_TOP_PAD, kHeapGrowth);
    if (!block) return;
    // glibc has written the block's header and the free top's after it;
    // the pages beyond are untouched until the run writes them.
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    const auto heapEnd = reinterpret_cast<std::uintptr_t>(sbrk(0));
    const std::uintptr_t first = RoundUp(start + kGrowingBlock + kSmallPage);
    const std::uintptr_t end = RoundDown(heapEnd - kSmallPage);
    std::free(block);
    // Only where the block opened the reserve at the top of the heap (not
    // with another allocator, nor when the heap could not grow).
    const bool grown = heapEnd > start && heapEnd - start <= kGrowingBlock + kReserve + kHugePage;
    if (!grown || end <= first) return;
    // Huge pages are a hint: without them the heap works the same.
    madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
    // The heap below the first huge page is set aside, never written, so
    // that the blocks of the run start in huge pages.
    setAside = std::malloc(first - start - kChunkHeader);
}
