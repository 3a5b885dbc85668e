#pragma once

#include <cstddef>

// Asks the system to back the whole 2 MiB pages inside [start, start + size) with huge pages when they
// are first written. A large buffer filled once (a parser's output for a big file) otherwise costs one
// page fault per 4 KiB, which on a virtual machine is a good part of the time spent filling it. Only a
// hint: where the system declines (no transparent huge pages, memory not page-aligned), nothing changes.
void advise_huge_pages(void* start, std::size_t size);
