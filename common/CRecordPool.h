#pragma once
// Records of one size handed out from large chunks: records made one after
// another lie side by side, so a walk over them in that order reads memory
// in sequence instead of jumping across the whole heap. A freed record's
// place is the next one handed out; once every record is back, the pool
// hands out its chunks from the start again, in order. The chunks are kept
// until the pool goes. Chunks start on a cache line; chunks of 2 MiB or
// more start on a large page and ask the system for large pages.
#include <cstddef>
#include <vector>

class CRecordPool {
public:
    CRecordPool(size_t nRecordBytes, size_t nRecordsPerChunk);
    ~CRecordPool();
    CRecordPool(const CRecordPool&) = delete;
    CRecordPool& operator=(const CRecordPool&) = delete;

    // Room for one record of the pool's size (or smaller).
    void* Allocate();
    // A record from Allocate of this pool; null is ignored.
    void Free(void* pRecord);
    size_t GetRecordBytes() const { return m_nRecordBytes; }

private:
    struct FreeRecord {
        FreeRecord* pNext;
    };
    size_t m_nRecordBytes;
    size_t m_nRecordsPerChunk;
    FreeRecord* m_pFree = nullptr;
    char* m_pUnused = nullptr;  // the current chunk's records not handed out yet
    char* m_pChunkEnd = nullptr;
    size_t m_nChunk = 0;        // the current chunk's place in m_chunks
    size_t m_nLive = 0;         // records handed out and not freed
    std::vector<char*> m_chunks;
};

// The pool of one record type, by default in chunks of 2 MiB, made on first
// use and kept to the end of the program, so that no record outlives the
// pool it came from. A class hands its operator new and delete to the two
// below; a larger derived record goes to the general heap.
template <typename T, size_t nRecordsPerChunk = (size_t{2} << 20) / sizeof(T)>
CRecordPool& RecordPoolOf()
{
    static CRecordPool* s_pPool = new CRecordPool(sizeof(T), nRecordsPerChunk);
    return *s_pPool;
}

template <typename T, size_t nRecordsPerChunk = (size_t{2} << 20) / sizeof(T)>
void* NewPooledRecord(size_t nBytes)
{
    if (nBytes > RecordPoolOf<T, nRecordsPerChunk>().GetRecordBytes())
        return ::operator new(nBytes);
    return RecordPoolOf<T, nRecordsPerChunk>().Allocate();
}

template <typename T, size_t nRecordsPerChunk = (size_t{2} << 20) / sizeof(T)>
void DeletePooledRecord(void* pRecord, size_t nBytes)
{
    if (nBytes > RecordPoolOf<T, nRecordsPerChunk>().GetRecordBytes())
        ::operator delete(pRecord);
    else
        RecordPoolOf<T, nRecordsPerChunk>().Free(pRecord);
}
