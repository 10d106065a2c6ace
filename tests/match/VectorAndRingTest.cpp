#include "match/CRingBuffer.h"
#include "match/CVector.h"
#include "match/MatchTypes.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const float kHalfPi = float(3.14159265358979323846 / 2);

TEST(VectorTest, FloatFactorsAndDivisionTruncateTowardsZero)
{
    CVector out;
    EXPECT_EQ(CVector(7, -7, 3).Scale(0.5f, out), CVector(3, -3, 1));
    EXPECT_EQ(CVector(-7, 7, 0).Divide(2, out), CVector(-3, 3, 0));
    EXPECT_EQ(CVector(10, -10, 5).DivideByFloat(3.0f, out), CVector(3, -3, 1));
    CVector v(2, 4, 6);
    v.ScaleBy(1.5f, out);
    EXPECT_EQ(v, CVector(3, 6, 9));
    EXPECT_EQ(out, v);
}

TEST(VectorTest, AnglesRunFromPlusYTowardsPlusX)
{
    CVector v;
    v.SetFromAngle(0.0f, 100);
    EXPECT_EQ(v, CVector(0, 100, 0));
    // The float nearest pi/2 lies just above it: sin * 100 is just below 100.
    v.SetFromAngle(kHalfPi, 100);
    EXPECT_EQ(v, CVector(99, 0, 0));

    const CVector origin;
    EXPECT_DOUBLE_EQ(origin.GetAngleTo(CVector(0, 100, 0)), 0.0);
    EXPECT_DOUBLE_EQ(origin.GetAngleTo(CVector(100, 0, 0)), 3.14159265358979323846 / 2);
    EXPECT_DOUBLE_EQ(origin.GetAngleTo(CVector(0, -100, 0)), 3.14159265358979323846);
    EXPECT_DOUBLE_EQ(CVector(100, 0, 0).GetAngleFrom(origin), 3.14159265358979323846 / 2);
}

TEST(VectorTest, SquaredDistanceIgnoresHeightAndOverflowStaysDefined)
{
    EXPECT_EQ(CVector(0, 0, 500).SquaredDistance2D(CVector(3, 4, 0)), 25);
    EXPECT_EQ(CVector(3, 4, 12).SquaredLength(), 169);
    // 50000 squared overflows 32 bits: the wrapped square is kept positive.
    const int32_t nSquare = CVector(50000, 0, 0).SquaredLength();
    EXPECT_GE(nSquare, 0);
    EXPECT_EQ(TruncateToInt(1e12), INT32_MAX);
    EXPECT_EQ(TruncateToInt(std::nan("")), 0);
}

TEST(VectorTest, MatrixProductMayOverwriteAnOperand)
{
    D3DMATRIX rotation, translation, separate, inPlace;
    MatrixRotationZ(&rotation, 0.7f);
    MatrixTranslation(&translation, {10.0f, -20.0f, 5.0f});
    MatrixMultiply(&separate, &rotation, &translation);
    inPlace = rotation;
    MatrixMultiply(&inPlace, &inPlace, &translation);
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_FLOAT_EQ(inPlace.m[i][j], separate.m[i][j]);
    EXPECT_FLOAT_EQ(separate.m[3][0], 10.0f);
    EXPECT_FLOAT_EQ(separate.m[0][1], -std::sin(0.7f));
}

TEST(RingBufferTest, WrapsDroppingTheOldestSlot)
{
    CRingBuffer<int> ring(4);
    for (int i = 1; i <= 6; ++i)
        *ring.Write(uint32_t(i * 100)) = i;
    // Capacity 4 holds three slots: 400, 500, 600.
    auto* pSlot = ring.Seek(0);
    ASSERT_NE(pSlot, nullptr);
    EXPECT_EQ(pSlot->dwTime, 400u);
    EXPECT_EQ(*pSlot->pRecord, 4);
    EXPECT_EQ(*ring.GetLatest()->pRecord, 6);
}

TEST(RingBufferTest, ReadingFollowsTheClock)
{
    CRingBuffer<int> ring(10);
    for (int i = 1; i <= 4; ++i)
        *ring.Write(uint32_t(i * 100)) = i;
    auto* pSlot = ring.Seek(250);
    EXPECT_EQ(*pSlot->pRecord, 2);
    EXPECT_TRUE(ring.IsReading());
    uint32_t dwTime = 0;
    EXPECT_EQ(ring.ReadNext(299, &dwTime), nullptr);  // the next slot lies in the future
    int* pRecord = ring.ReadNext(300, &dwTime);
    ASSERT_NE(pRecord, nullptr);
    EXPECT_EQ(*pRecord, 3);
    EXPECT_EQ(dwTime, 300u);
    EXPECT_EQ(*ring.ReadNext(1000), 4);
    EXPECT_EQ(ring.ReadNext(1000), nullptr);  // past the newest slot
    ring.GetLatest();
    EXPECT_FALSE(ring.IsReading());
}

TEST(RingBufferTest, SeekBeforeEverySlotWaitsForTheOldest)
{
    CRingBuffer<int> ring(5);
    *ring.Write(500) = 1;
    *ring.Write(600) = 2;
    auto* pSlot = ring.Seek(100);
    EXPECT_EQ(pSlot->dwTime, 500u);
    EXPECT_EQ(ring.ReadNext(499), nullptr);
    EXPECT_EQ(*ring.ReadNext(500), 1);
    EXPECT_EQ(ring.Seek(100) != nullptr, true);
    CRingBuffer<int> empty(5);
    EXPECT_EQ(empty.Seek(100), nullptr);
}

TEST(RingBufferTest, LatestAtWriteIndexZeroIsTheLastSlot)
{
    CRingBuffer<int> ring(3);
    *ring.Write(10) = 1;
    *ring.Write(20) = 2;
    *ring.Write(30) = 3;  // the write index has come round to 0
    EXPECT_EQ(ring.GetLatest()->dwTime, 30u);
    EXPECT_EQ(*ring.GetLatest()->pRecord, 3);
}

TEST(RingBufferTest, WritingWhileReadingKeepsTheReaderOnHeldSlots)
{
    CRingBuffer<int> ring(3);
    *ring.Write(10) = 1;
    *ring.Write(20) = 2;
    ring.Seek(0);          // the reader waits on slot 10
    *ring.Write(30) = 3;   // drops 10: the reader moves on to 20
    *ring.Write(40) = 4;   // drops 20: on to 30
    int* pRecord = ring.ReadNext(1000);
    ASSERT_NE(pRecord, nullptr);
    EXPECT_EQ(*pRecord, 3);
}

TEST(MatchPeriodTest, PeriodTable)
{
    struct Case {
        uint8_t byPeriod;
        bool bKnown;
        uint32_t dwStart, dwEnd;
    } cases[] = {{0, true, 0, 0},
                 {1, true, 0, 2700000},
                 {2, true, 2700000, 5400000},
                 {3, true, 5400000, 5400000},
                 {4, true, 5400000, 6300000},
                 {5, true, 6300000, 7200000},
                 {6, false, 77, 77}};
    for (const Case& c : cases) {
        uint32_t dwStart = 77, dwEnd = 77;
        EXPECT_EQ(GetMatchPeriodTimes(c.byPeriod, &dwStart, &dwEnd), c.bKnown) << int(c.byPeriod);
        EXPECT_EQ(dwStart, c.dwStart) << int(c.byPeriod);
        EXPECT_EQ(dwEnd, c.dwEnd) << int(c.byPeriod);
    }
    EXPECT_STREQ(GetMatchEventName(8), "Direct Free Kick");
    EXPECT_STREQ(GetMatchEventName(200), "Unknown Event");
}

}  // namespace
