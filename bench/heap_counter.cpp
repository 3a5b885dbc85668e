#include "bench/heap_counter.h"

#include <cstdlib>
#include <new>

// Every allocation of the program carries its size in front, so that the heap in use and its peak can
// be counted.
namespace heap {
std::atomic<std::size_t> in_use{0};
std::atomic<std::size_t> peak{0};
namespace {
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* allocate(std::size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (!block) throw std::bad_alloc();
    *reinterpret_cast<std::size_t*>(block) = size;
    const std::size_t now = in_use += size;
    for (std::size_t seen = peak; now > seen && !peak.compare_exchange_weak(seen, now);) {
    }
    return block + kHeader;
}

void release(void* pointer) {
    if (!pointer) return;
    auto* block = static_cast<unsigned char*>(pointer) - kHeader;
    in_use -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}
}  // namespace
}  // namespace heap

void* operator new(std::size_t size) { return heap::allocate(size); }
void* operator new[](std::size_t size) { return heap::allocate(size); }
void operator delete(void* pointer) noexcept { heap::release(pointer); }
void operator delete[](void* pointer) noexcept { heap::release(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { heap::release(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { heap::release(pointer); }
