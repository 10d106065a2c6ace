#include "database/IdentifierEntries.h"

#include "common/CRecordPool.h"

#include <new>

namespace {

// One pool for each kind of entry, made on first use and kept to the end of
// the program, so that no table outlives the pool its entries came from.
template <typename T>
CRecordPool& EntryPool()
{
    static CRecordPool* s_pPool = new CRecordPool(sizeof(T), 4096);
    return *s_pPool;
}

template <typename T>
void* NewEntry(size_t nBytes)
{
    if (nBytes > EntryPool<T>().GetRecordBytes())
        return ::operator new(nBytes);
    return EntryPool<T>().Allocate();
}

template <typename T>
void DeleteEntry(void* pEntry, size_t nBytes)
{
    if (nBytes > EntryPool<T>().GetRecordBytes())
        ::operator delete(pEntry);
    else
        EntryPool<T>().Free(pEntry);
}

}  // namespace

void* ITEMPLAYERINFORMATION::operator new(size_t nBytes) { return NewEntry<ITEMPLAYERINFORMATION>(nBytes); }

void ITEMPLAYERINFORMATION::operator delete(void* pEntry, size_t nBytes)
{
    DeleteEntry<ITEMPLAYERINFORMATION>(pEntry, nBytes);
}

void* ITEMMANAGERINFORMATION::operator new(size_t nBytes) { return NewEntry<ITEMMANAGERINFORMATION>(nBytes); }

void ITEMMANAGERINFORMATION::operator delete(void* pEntry, size_t nBytes)
{
    DeleteEntry<ITEMMANAGERINFORMATION>(pEntry, nBytes);
}

void* ITEMSTAFFINFORMATION::operator new(size_t nBytes) { return NewEntry<ITEMSTAFFINFORMATION>(nBytes); }

void ITEMSTAFFINFORMATION::operator delete(void* pEntry, size_t nBytes)
{
    DeleteEntry<ITEMSTAFFINFORMATION>(pEntry, nBytes);
}
