#include "host/memory_tuning.h"

#include <malloc.h>

void tune_allocator_for_large_runs() {
    mallopt(M_MXFAST, 0);
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
}
