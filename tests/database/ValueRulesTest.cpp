// Money stepping, the attendance curve and the other small rules of the root.
#include "database/CDatabaseHandler.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(ValueRulesTest, RoundMoneyValueSteps)
{
    const struct {
        int32_t nAmount;
        int32_t nExpected;
    } cases[] = {
        {-2000, 500},   {0, 500},         {499, 500},         {500, 500},         {999, 500},
        {1001, 1000},   {9999, 9500},     {10000, 10000},     {10999, 10000},     {99999, 99000},
        {100000, 100000}, {999999, 990000}, {1000000, 1000000}, {1249999, 1000000}, {1250000, 1250000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CDatabaseHandler::RoundMoneyValue(c.nAmount), c.nExpected) << c.nAmount;
}

TEST(ValueRulesTest, AttendanceCurveRisesFromAboutFiveThousandToFiftyThousand)
{
    CDatabaseHandler::BuildAttendanceCurve();
    EXPECT_FLOAT_EQ(CDatabaseHandler::GetAttendanceCurveEntry(99), 50000.0f);
    EXPECT_NEAR(CDatabaseHandler::GetAttendanceCurveEntry(29), 10000.0f, 1.0f);
    EXPECT_NEAR(CDatabaseHandler::GetAttendanceCurveEntry(0), 5134.0f, 2.0f);
    for (int i = 1; i < ATTENDANCE_CURVE_ENTRIES; ++i)
        EXPECT_LT(CDatabaseHandler::GetAttendanceCurveEntry(i - 1), CDatabaseHandler::GetAttendanceCurveEntry(i));
    // Out-of-range indexes are clamped to the ends.
    EXPECT_EQ(CDatabaseHandler::GetAttendanceCurveEntry(-5), CDatabaseHandler::GetAttendanceCurveEntry(0));
    EXPECT_EQ(CDatabaseHandler::GetAttendanceCurveEntry(140), CDatabaseHandler::GetAttendanceCurveEntry(99));
}

TEST(ValueRulesTest, PercentageInRangeBothWaysAndWithoutARange)
{
    EXPECT_FLOAT_EQ(CDatabaseHandler::GetPercentageInRange(90, 90, 110), 100.0f);
    EXPECT_FLOAT_EQ(CDatabaseHandler::GetPercentageInRange(100, 90, 110), 50.0f);
    EXPECT_FLOAT_EQ(CDatabaseHandler::GetPercentageInRange(200, 90, 110), 0.0f);
    EXPECT_FLOAT_EQ(CDatabaseHandler::GetPercentageInRange(10, 90, 110), 100.0f);
    EXPECT_FLOAT_EQ(CDatabaseHandler::GetPercentageInRange(25, 50, 0), 50.0f);
    EXPECT_FLOAT_EQ(CDatabaseHandler::GetPercentageInRange(-3, 50, 0), 0.0f);
    EXPECT_FLOAT_EQ(CDatabaseHandler::GetPercentageInRange(70, 70, 70), 100.0f);
}

TEST(ValueRulesTest, MergeClubRecordsKeepsTheBestOfEach)
{
    CLUBRECORDENTRY target[CLUB_RECORD_ENTRIES] = {};
    CLUBRECORDENTRY other[CLUB_RECORD_ENTRIES] = {};
    target[0] = {1, 1, 10};
    other[0] = {2, 2, 12};  // higher: taken
    target[1] = {1, 1, 10};
    other[1] = {2, 2, 8};  // lower: kept
    target[10] = {1, 1, 30};
    other[10] = {2, 2, 20};  // the eleventh keeps the lowest
    target[11] = {1, 1, 0};
    other[11] = {0, 0, 0};
    CDatabaseHandler::MergeClubRecords(target, other);
    EXPECT_EQ(target[0].nData1, 2);
    EXPECT_EQ(target[1].nData1, 1);
    EXPECT_EQ(target[10].nMeasure, 20);

    // An empty eleventh record never wipes a real one; an empty target takes any.
    other[10] = {0, 0, 0};
    CDatabaseHandler::MergeClubRecords(target, other);
    EXPECT_EQ(target[10].nMeasure, 20);
    target[10] = {0, 0, 0};
    other[10] = {5, 5, 40};
    CDatabaseHandler::MergeClubRecords(target, other);
    EXPECT_EQ(target[10].nMeasure, 40);
}

TEST(ValueRulesTest, StandRectanglesTouchThePitchAndGrowAway)
{
    for (int nPosition = 0; nPosition < 8; ++nPosition) {
        int nCellX = 0, nCellY = 0;
        ASSERT_TRUE(CDatabaseHandler::GetStadiumPositionCell(nPosition, nCellX, nCellY));
        for (int nSize = 0; nSize <= 5; ++nSize) {
            int x = 0, y = 0, w = 0, h = 0;
            ASSERT_TRUE(CDatabaseHandler::GetStadiumComponentGridRect(nSize, nPosition, x, y, w, h));
            // The start cell lies inside the rectangle, the pitch outside it.
            EXPECT_TRUE(nCellX >= x && nCellX < x + w && nCellY >= y && nCellY < y + h) << nPosition << "/" << nSize;
            const bool bOverlapsPitch = x < 26 + 11 && x + w > 26 && y < 18 + 8 && y + h > 18;
            EXPECT_FALSE(bOverlapsPitch);
            // The deepest stand still stays inside the road ring round the pitch.
            EXPECT_GE(x, 20);
            EXPECT_GE(y, 12);
            EXPECT_LE(x + w, 43);
            EXPECT_LE(y + h, 32);
        }
    }
    int x = 0, y = 0, w = 0, h = 0;
    ASSERT_TRUE(CDatabaseHandler::GetStadiumComponentScreenRect(2, 0, x, y, w, h));
    EXPECT_EQ(x, 268);
    EXPECT_EQ(y, 180);
    EXPECT_EQ(w, 110);
    EXPECT_EQ(h, 30);
    EXPECT_FALSE(CDatabaseHandler::GetStadiumComponentGridRect(0, 8, x, y, w, h));
    EXPECT_FALSE(CDatabaseHandler::GetStadiumComponentGridRect(6, 0, x, y, w, h));
    EXPECT_FALSE(CDatabaseHandler::GetStadiumPositionCell(-1, x, y));
}

TEST(ValueRulesTest, FacilityComponentTable)
{
    const FACILITYCOMPONENTTABLERECORD* pRow = CDatabaseHandler::GetFacilityComponentTableRecordFromTypeAndSize(6, 1);
    ASSERT_NE(pRow, nullptr);
    EXPECT_STREQ(pRow->pszBitmap, "TO2.BMP");
    EXPECT_EQ(pRow->byFootprint, 8);
    EXPECT_EQ(CDatabaseHandler::GetFacilityComponentTableRecordFromTypeAndSize(10, 0), nullptr);
}

TEST(ValueRulesTest, CupNumbersAndMoneyTiers)
{
    EXPECT_EQ(CDatabaseHandler::MakeCupNumber(2, 5), 45);
    EXPECT_EQ(CDatabaseHandler::GetCupTypeFromCupNumber(45), 2);
    EXPECT_EQ(CDatabaseHandler::GetCountryFromCupNumber(45), 5);
    EXPECT_EQ(CDatabaseHandler::MakeCupNumber(3, 0), 60);
    EXPECT_EQ(CDatabaseHandler::MakeCupNumber(1, 20), CUP_NUMBER_NONE);
    EXPECT_EQ(CDatabaseHandler::MakeCupNumber(13, 0), CUP_NUMBER_NONE);

    const int32_t tiers[] = {25000, 50000, 75000, 100000, 162000, 162000};
    for (int nLevel = 0; nLevel < 6; ++nLevel)
        EXPECT_EQ(CDatabaseHandler::GetMoneyTier(nLevel), tiers[nLevel]);
    EXPECT_EQ(CDatabaseHandler::GetMoneyTier(9), 162000);
    EXPECT_EQ(CDatabaseHandler::GetMoneyTier(-1), 25000);
}

}  // namespace
