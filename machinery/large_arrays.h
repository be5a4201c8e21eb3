// Room for the large arrays the hot loops sweep (the grid fields, the
// factorised line systems).  A sweep along the rows of column-major fields
// lands on a new 4 KB page at every point, and with ordinary pages nearly
// every such access misses the processor's address cache; these arrays are
// therefore aligned to the huge-page size and offered to the kernel for huge
// pages.  Where the kernel declines, they are ordinary memory.  What they hold
// and every result are the same either way.
#pragma once

#include <cstddef>

// Zeroed room for `bytes` bytes, aligned to 64 bytes at least; null when
// there is no memory.
void* AllocateLarge(size_t bytes);

// Gives back room from AllocateLarge (null is ignored).
void FreeLarge(void* p);
