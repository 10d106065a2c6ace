#include "database/IdentifierEntries.h"

#include "common/CRecordPool.h"

#include <new>

namespace {

// Made on first use and kept to the end of the program, so that no table
// outlives the pool its entries came from.
CRecordPool& PlayerEntryPool()
{
    static CRecordPool* s_pPool = new CRecordPool(sizeof(ITEMPLAYERINFORMATION), 4096);
    return *s_pPool;
}

}  // namespace

void* ITEMPLAYERINFORMATION::operator new(size_t nBytes)
{
    if (nBytes > PlayerEntryPool().GetRecordBytes())
        return ::operator new(nBytes);
    return PlayerEntryPool().Allocate();
}

void ITEMPLAYERINFORMATION::operator delete(void* pEntry, size_t nBytes)
{
    if (nBytes > PlayerEntryPool().GetRecordBytes())
        ::operator delete(pEntry);
    else
        PlayerEntryPool().Free(pEntry);
}
