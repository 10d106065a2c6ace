#pragma once
// The numbered list under the sound manager (its sounds) and the wave manager
// (its waves): a growable pointer array, the number of items and the
// capacity. It frees the array but never the items: their owner does.
#include "common/CPointerArray.h"

#include <cstdint>

class CSoundList {
public:
    explicit CSoundList(uint32_t dwCapacity);
    virtual ~CSoundList();
    CSoundList(const CSoundList&) = delete;
    CSoundList& operator=(const CSoundList&) = delete;

    uint32_t GetCount() const { return m_dwCount; }

protected:
    // Stores the item at index = count and counts it.
    void Append(void* pItem);

    CPointerArray m_Items;
    uint32_t m_dwCount = 0;
    uint32_t m_dwCapacity = 0;
};
