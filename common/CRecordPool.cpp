#include "common/CRecordPool.h"

#include <algorithm>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/asan_interface.h>
#define RECORDPOOL_POISON(p, n) ASAN_POISON_MEMORY_REGION(p, n)
#define RECORDPOOL_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION(p, n)
#else
#define RECORDPOOL_POISON(p, n) ((void)(p), (void)(n))
#define RECORDPOOL_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace {

// Chunks start on a cache line, so that a record whose size is a whole
// number of lines never straddles one more line than it fills. A chunk of
// large pages' size or more starts on a large page and asks for large pages,
// so that a walk over records spread through it misses the address cache
// (TLB) far less often.
constexpr size_t kCacheLine = 64;
constexpr size_t kLargePage = size_t{2} << 20;

std::align_val_t ChunkAlignment(size_t nChunkBytes)
{
    return std::align_val_t{nChunkBytes >= kLargePage ? kLargePage : kCacheLine};
}

char* NewChunk(size_t nChunkBytes)
{
    char* pChunk = static_cast<char*>(::operator new(nChunkBytes, ChunkAlignment(nChunkBytes)));
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (nChunkBytes >= kLargePage)
        madvise(pChunk, nChunkBytes / kLargePage * kLargePage, MADV_HUGEPAGE);  // a hint: refused, small pages serve
#endif
    return pChunk;
}

// Every record is aligned as operator new aligns, and can hold the free link.
size_t RecordSize(size_t nBytes)
{
    constexpr size_t kAlign = alignof(std::max_align_t);
    nBytes = std::max(nBytes, sizeof(void*));
    return (nBytes + kAlign - 1) / kAlign * kAlign;
}

}  // namespace

CRecordPool::CRecordPool(size_t nRecordBytes, size_t nRecordsPerChunk)
    : m_nRecordBytes(RecordSize(nRecordBytes)), m_nRecordsPerChunk(std::max<size_t>(nRecordsPerChunk, 1))
{
}

CRecordPool::~CRecordPool()
{
    for (char* pChunk : m_chunks) {
        RECORDPOOL_UNPOISON(pChunk, m_nRecordBytes * m_nRecordsPerChunk);
        ::operator delete(pChunk, ChunkAlignment(m_nRecordBytes * m_nRecordsPerChunk));
    }
}

void* CRecordPool::Allocate()
{
    if (m_pFree) {
        FreeRecord* pRecord = m_pFree;
        RECORDPOOL_UNPOISON(pRecord, m_nRecordBytes);
        m_pFree = pRecord->pNext;
        ++m_nLive;
        return pRecord;
    }
    if (m_pUnused == m_pChunkEnd) {
        // The next chunk kept from before, or a new one.
        const size_t nChunkBytes = m_nRecordBytes * m_nRecordsPerChunk;
        if (m_pChunkEnd)
            ++m_nChunk;
        if (m_nChunk == m_chunks.size()) {
            m_chunks.reserve(m_chunks.size() + 1);
            char* pChunk = NewChunk(nChunkBytes);
            m_chunks.push_back(pChunk);
            RECORDPOOL_POISON(pChunk, nChunkBytes);
        }
        m_pUnused = m_chunks[m_nChunk];
        m_pChunkEnd = m_pUnused + nChunkBytes;
    }
    ++m_nLive;
    void* pRecord = m_pUnused;
    m_pUnused += m_nRecordBytes;
    RECORDPOOL_UNPOISON(pRecord, m_nRecordBytes);
    return pRecord;
}

void CRecordPool::Free(void* pRecord)
{
    if (!pRecord)
        return;
    RECORDPOOL_POISON(pRecord, m_nRecordBytes);
    if (--m_nLive == 0) {
        // Everything is back: start over at the first chunk, in order.
        m_pFree = nullptr;
        m_nChunk = 0;
        m_pUnused = m_chunks.empty() ? nullptr : m_chunks[0];
        m_pChunkEnd = m_pUnused ? m_pUnused + m_nRecordBytes * m_nRecordsPerChunk : nullptr;
        return;
    }
    auto* pFree = static_cast<FreeRecord*>(pRecord);
    RECORDPOOL_UNPOISON(pRecord, sizeof(FreeRecord));
    pFree->pNext = m_pFree;
    m_pFree = pFree;
    RECORDPOOL_POISON(pRecord, m_nRecordBytes);
}
