#pragma once

// Sets the C library's allocator up for a run over a large diagram. A run allocates in two waves: the
// parsed file, dropped once the entities stand, then the listing, one small text per line. Freed memory
// stays in the process so that the second wave reuses the first's pages instead of faulting in new
// ones, and small blocks are merged as they are freed rather than all at once by the next large
// allocation.
void tune_allocator_for_large_runs();
