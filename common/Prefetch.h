#pragma once
// Asks the processor to start loading the cache lines of nBytes from p, so
// that a walk doing much work on each of many scattered records finds the
// next ones arriving instead of waiting for each in turn. Only a hint: it
// changes no memory and faults on no address.
#include <cstddef>

constexpr size_t kPrefetchLineBytes = 64;

inline void PrefetchBytes(const void* p, size_t nBytes)
{
    const char* pBytes = static_cast<const char*>(p);
    for (size_t i = 0; i < nBytes; i += kPrefetchLineBytes) {
        __builtin_prefetch(pBytes + i);
        // Without a use GCC deletes a loop that only prefetches.
        asm volatile("" : : "r"(pBytes + i));
    }
}
