#include "platform/huge_pages.h"

#include <sys/mman.h>

#include <cstdint>

void advise_huge_pages(void* start, std::size_t size) {
    constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(start);
    const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (begin + size) & ~(kHugePage - 1);
    if (last <= first) return;  // no whole huge page inside: nothing to gain
    // A refusal (EINVAL without transparent huge pages) leaves the memory as it was, which is correct.
    (void)::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}
