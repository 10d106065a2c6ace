#pragma once
// Asks the processor to start loading the cache lines of nBytes from p, so
// that a walk doing much work on each of many scattered records finds the
// next ones arriving instead of waiting for each in turn. Only a hint: it
// changes no memory and faults on no address.
#include <cstddef>
#include <cstdint>

constexpr uintptr_t kPrefetchLineBytes = 64;

inline void PrefetchBytes(const void* p, size_t nBytes)
{
    // Every line the bytes touch, the first one from its start.
    const uintptr_t nEnd = reinterpret_cast<uintptr_t>(p) + nBytes;
    for (uintptr_t n = reinterpret_cast<uintptr_t>(p) & ~(kPrefetchLineBytes - 1); n < nEnd; n += kPrefetchLineBytes) {
        __builtin_prefetch(reinterpret_cast<const void*>(n));
        // Without a use GCC deletes a loop that only prefetches.
        asm volatile("" : : "r"(n));
    }
}
