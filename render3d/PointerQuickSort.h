#pragma once
// The quicksort the draw lists share: the middle element of each range is the
// split key, the order is not stable. `before(a, b)` says key a goes first.
#include "common/CPointerArray.h"

#include <utility>

template <typename KeyOf, typename Before>
void QuickSortPointers(CPointerArray& array, int nLo, int nHi, KeyOf keyOf, Before before)
{
    while (nLo < nHi) {
        const auto middle = keyOf(array.GetAt((nLo + nHi) / 2));
        int i = nLo, j = nHi;
        do {
            while (before(keyOf(array.GetAt(i)), middle))
                ++i;
            while (before(middle, keyOf(array.GetAt(j))))
                --j;
            if (i <= j) {
                void* pA = array.GetAt(i);
                array.SetAt(i, array.GetAt(j));
                array.SetAt(j, pA);
                ++i;
                --j;
            }
        } while (i <= j);
        if (nLo < j)
            QuickSortPointers(array, nLo, j, keyOf, before);
        nLo = i;
    }
}
