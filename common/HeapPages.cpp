#include "common/HeapPages.h"

#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__)
#include <cstdint>

#include <sys/mman.h>
#include <unistd.h>

extern "C" char end;  // the end of the program's data: the heap lies above

// Older C library headers lack the kernel's synchronous merge (Linux 6.1);
// an older kernel refuses the call, and small pages serve.
#if !defined(MADV_COLLAPSE)
#define MADV_COLLAPSE 25
#endif

void AdviseHeapLargePages()
{
    // Only the merge, not the lasting advice (MADV_HUGEPAGE): that would mark
    // the heap's mapping apart from the growth the next sbrk adds, so that
    // every growth became a mapping of its own, too small to merge.
    constexpr uintptr_t kLargePage = uintptr_t{2} << 20;
    const uintptr_t nEnd = reinterpret_cast<uintptr_t>(sbrk(0));
    // One large page at a time: the kernel gives up on a call's range at its
    // first refusal (a page it cannot merge, or the unmapped gap below the
    // heap), which would leave the rest of the heap on small pages.
    for (uintptr_t n = (reinterpret_cast<uintptr_t>(&end) + kLargePage - 1) / kLargePage * kLargePage;
         n + kLargePage <= nEnd; n += kLargePage)
        madvise(reinterpret_cast<void*>(n), kLargePage, MADV_COLLAPSE);
}

#else
void AdviseHeapLargePages() {}
#endif
