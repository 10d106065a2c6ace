#include "common/CRecordPool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

// Records across several chunks: each is whole, aligned, apart from every
// other, and records made one after another within a chunk are neighbours.
TEST(RecordPool, RecordsAreWholeAlignedAndSideBySide)
{
    constexpr size_t kBytes = 24;
    constexpr size_t kPerChunk = 5;
    CRecordPool pool(kBytes, kPerChunk);
    ASSERT_GE(pool.GetRecordBytes(), kBytes);
    std::vector<unsigned char*> records;
    for (int i = 0; i < 23; ++i) {
        auto* p = static_cast<unsigned char*>(pool.Allocate());
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % alignof(std::max_align_t), 0u);
        std::memset(p, i + 1, kBytes);
        records.push_back(p);
    }
    for (size_t i = 0; i < records.size(); ++i) {
        for (size_t j = 0; j < kBytes; ++j)
            ASSERT_EQ(records[i][j], i + 1) << "record " << i << " byte " << j;
        if (i % kPerChunk != 0)
            EXPECT_EQ(records[i], records[i - 1] + pool.GetRecordBytes()) << "record " << i;
    }
    EXPECT_EQ(std::set<unsigned char*>(records.begin(), records.end()).size(), records.size());
}

// A freed place is handed out again before the chunk's unused ones, last
// freed first; freeing null does nothing.
TEST(RecordPool, FreedPlacesAreReusedLastFirst)
{
    CRecordPool pool(32, 8);
    void* pFirst = pool.Allocate();
    void* pSecond = pool.Allocate();
    void* pThird = pool.Allocate();
    pool.Free(nullptr);
    pool.Free(pFirst);
    pool.Free(pThird);
    EXPECT_EQ(pool.Allocate(), pThird);
    EXPECT_EQ(pool.Allocate(), pFirst);
    void* pFresh = pool.Allocate();
    EXPECT_EQ(static_cast<char*>(pFresh), static_cast<char*>(pThird) + pool.GetRecordBytes());
    EXPECT_NE(pFresh, pSecond);
}

// Once every record is back, the pool starts over at its first chunk and
// hands records out in order again, through the chunks it already has.
TEST(RecordPool, AnEmptiedPoolStartsOverInOrder)
{
    CRecordPool pool(16, 2);
    std::vector<void*> first;
    for (int i = 0; i < 5; ++i)
        first.push_back(pool.Allocate());
    for (int i : {3, 0, 4, 1, 2})
        pool.Free(first[static_cast<size_t>(i)]);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(pool.Allocate(), first[static_cast<size_t>(i)]) << "record " << i;
}

namespace {

struct PooledRecord {
    char abyData[40];
    static void* operator new(size_t nBytes) { return NewPooledRecord<PooledRecord, 4>(nBytes); }
    static void operator delete(void* p, size_t nBytes) { DeletePooledRecord<PooledRecord, 4>(p, nBytes); }
};

struct LargerRecord : PooledRecord {
    char abyMore[200];
};

}  // namespace

// A class's records come from its own pool, side by side; a larger derived
// record is made and freed on the general heap, leaving the pool's order.
TEST(RecordPool, PooledClassesTakeTheirPoolAndLeaveLargerRecordsToTheHeap)
{
    const size_t nStep = RecordPoolOf<PooledRecord, 4>().GetRecordBytes();
    auto* pFirst = new PooledRecord;
    auto* pLarger = new LargerRecord;
    std::memset(pLarger, 0x5A, sizeof(LargerRecord));
    auto* pSecond = new PooledRecord;
    EXPECT_EQ(reinterpret_cast<char*>(pSecond), reinterpret_cast<char*>(pFirst) + nStep);
    delete pLarger;
    auto* pThird = new PooledRecord;
    EXPECT_EQ(reinterpret_cast<char*>(pThird), reinterpret_cast<char*>(pSecond) + nStep);
    delete pSecond;
    auto* pReused = new PooledRecord;
    EXPECT_EQ(pReused, pSecond);
    delete pReused;
    delete pThird;
    delete pFirst;
}
