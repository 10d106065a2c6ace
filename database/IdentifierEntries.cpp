#include "database/IdentifierEntries.h"

#include "common/CRecordPool.h"

#include <new>

namespace {

// Entries in chunks of 4096, a pool for each kind.
constexpr size_t kEntriesPerChunk = 4096;

}  // namespace

void* ITEMPLAYERINFORMATION::operator new(size_t nBytes)
{
    return NewPooledRecord<ITEMPLAYERINFORMATION, kEntriesPerChunk>(nBytes);
}

void ITEMPLAYERINFORMATION::operator delete(void* pEntry, size_t nBytes)
{
    DeletePooledRecord<ITEMPLAYERINFORMATION, kEntriesPerChunk>(pEntry, nBytes);
}

void* ITEMMANAGERINFORMATION::operator new(size_t nBytes)
{
    return NewPooledRecord<ITEMMANAGERINFORMATION, kEntriesPerChunk>(nBytes);
}

void ITEMMANAGERINFORMATION::operator delete(void* pEntry, size_t nBytes)
{
    DeletePooledRecord<ITEMMANAGERINFORMATION, kEntriesPerChunk>(pEntry, nBytes);
}

void* ITEMSTAFFINFORMATION::operator new(size_t nBytes)
{
    return NewPooledRecord<ITEMSTAFFINFORMATION, kEntriesPerChunk>(nBytes);
}

void ITEMSTAFFINFORMATION::operator delete(void* pEntry, size_t nBytes)
{
    DeletePooledRecord<ITEMSTAFFINFORMATION, kEntriesPerChunk>(pEntry, nBytes);
}
