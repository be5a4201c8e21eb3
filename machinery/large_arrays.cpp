#include "large_arrays.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr size_t HUGE_PAGE = size_t{2} << 20;

}  // namespace

void* AllocateLarge(size_t bytes) {
    void* p = nullptr;
    if (bytes >= HUGE_PAGE / 2) {
        // Whole huge pages, so that no other allocation shares the last one.
        const size_t whole = (bytes + HUGE_PAGE - 1) & ~(HUGE_PAGE - 1);
        if (posix_memalign(&p, HUGE_PAGE, whole) != 0) return nullptr;
        // Advice only: a kernel without huge pages leaves the room as it is.
        (void)madvise(p, whole, MADV_HUGEPAGE);
    } else if (posix_memalign(&p, 64, bytes == 0 ? 1 : bytes) != 0) {
        return nullptr;
    }
    memset(p, 0, bytes);
    return p;
}

void FreeLarge(void* p) { free(p); }
