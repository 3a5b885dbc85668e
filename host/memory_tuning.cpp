#include "host/memory_tuning.h"

#include <malloc.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/huge_pages.h"

namespace {

// The room the heap takes at once when it grows: a large diagram's records and texts fit in one step.
// Only what is written is ever backed by memory.
constexpr std::size_t kHeapStep = 256u * 1024 * 1024;

// Grows the heap by one step now, and has the new room backed by huge pages as it is written: the
// records of a large diagram are otherwise brought in 4 KiB at a time, one page fault each.
void reserve_heap_room() {
    char* const before = static_cast<char*>(::sbrk(0));
    // Below the threshold of M_MMAP_THRESHOLD, so that it comes from the heap and makes it grow.
    void* const probe = std::malloc(16u * 1024 * 1024);
    if (probe) *static_cast<volatile char*>(probe) = 0;  // used, so that the pair is not optimised away
    char* const after = static_cast<char*>(::sbrk(0));
    // Advised while the probe holds it: once it is freed, a trim may give back part of the room.
    if (before != reinterpret_cast<char*>(-1) && after > before)
        advise_huge_pages(before, static_cast<std::size_t>(after - before));
    std::free(probe);  // the room stays: a trim keeps M_TOP_PAD
}

}  // namespace

void tune_allocator_for_large_runs() {
    mallopt(M_MXFAST, 0);
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    mallopt(M_TOP_PAD, static_cast<int>(kHeapStep));
    reserve_heap_room();
}
