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
    if (nBytes == 0)
        return;
    // Every line the bytes touch: one a line's width apart from the first
    // byte on, and the last byte's (the line before again, or the next). For
    // a size known where it is inlined the steps are a fixed row of hints.
    const char* pBytes = static_cast<const char*>(p);
#pragma GCC unroll 16
    for (size_t n = 0; n < nBytes; n += kPrefetchLineBytes)
        __builtin_prefetch(pBytes + n);
    __builtin_prefetch(pBytes + nBytes - 1);
    // Without a use GCC deletes a walk that only prefetches.
    asm volatile("" : : "r"(pBytes));
}
