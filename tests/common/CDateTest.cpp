#include "common/CBinaryFile.h"
#include "common/CDate.h"
#include "platform/Random.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

CDate Plus(CDate date, int nDays)
{
    date.AddDays(nDays);
    return date;
}

const int kDaysInMonth[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// The day number counted year by year and month by month from 1970.
int DayNumberByWalking(const CDate& date)
{
    const int nYear = date.GetYear();
    int nDays = date.GetDay() - 1;
    for (int m = 1; m < date.GetMonth() && m <= 12; ++m)
        nDays += m == 2 && CDate::IsLeapYear(nYear) ? 29 : kDaysInMonth[m];
    for (int y = 1970; y < nYear; ++y)
        nDays += CDate::IsLeapYear(y) ? 366 : 365;
    for (int y = nYear; y < 1970; ++y)
        nDays -= CDate::IsLeapYear(y) ? 366 : 365;
    return nDays;
}

TEST(CDateTest, DayArithmeticAcrossMonthsYearsAndLeapDays)
{
    struct Case {
        CDate from;
        int nDays;
        CDate expected;
    } cases[] = {
        {{2000, 2, 28}, 1, {2000, 2, 29}},   {{1900, 2, 28}, 1, {1900, 3, 1}},
        {{1999, 12, 31}, 1, {2000, 1, 1}},   {{2000, 1, 1}, -1, {1999, 12, 31}},
        {{1999, 12, 1}, 100, {2000, 3, 10}}, {{2000, 3, 10}, -100, {1999, 12, 1}},
        {{2004, 3, 1}, -1, {2004, 2, 29}},   {{1999, 7, 1}, 0, {1999, 7, 1}},
        {{1999, 7, 1}, 365 * 3 + 1, {2002, 7, 1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Plus(c.from, c.nDays), c.expected) << std::hex << c.from.GetValue() << " + " << std::dec << c.nDays;
        EXPECT_EQ(c.expected.DaysBetween(c.from), c.nDays);
    }
}

TEST(CDateTest, PackedLayoutAndOrder)
{
    const CDate date(1999, 7, 5);
    EXPECT_EQ(date.GetValue(), (1999u << 16) | (7u << 8) | 5u);
    EXPECT_LT(CDate(1999, 12, 31), CDate(2000, 1, 1));
    EXPECT_LT(CDate(2000, 1, 31), CDate(2000, 2, 1));
    CDate copy = date;
    ++copy;
    EXPECT_EQ(copy, CDate(1999, 7, 6));
    copy -= 6;
    EXPECT_EQ(copy, CDate(1999, 6, 30));
}

TEST(CDateTest, WeekdaysAndNthWeekday)
{
    EXPECT_EQ(CDate(1970, 1, 1).GetDayNumber(), 0);
    EXPECT_EQ(CDate(1969, 12, 31).GetDayNumber(), -1);
    EXPECT_EQ(CDate(1999, 7, 1).GetDayOfWeek(), 4);
    EXPECT_EQ(CDate(1970, 1, 4).GetDayOfWeek(), 0);
    CDate date;
    date.SetNthWeekday(7, 1999, 1, 1);
    EXPECT_EQ(date, CDate(1999, 7, 5));
    date.SetNthWeekday(8, 1999, 0, 1);  // 1 August 1999 is itself a Sunday
    EXPECT_EQ(date, CDate(1999, 8, 1));
    date.SetNthWeekday(2, 2000, 2, 5);  // fifth Tuesday of February 2000
    EXPECT_EQ(date, CDate(2000, 2, 29));
}

TEST(CDateTest, DayNumberMatchesTheWalkOverEveryYear)
{
    // Every day of four centuries round the century years and 2000's leap day.
    for (CDate date(1890, 1, 1); date < CDate(2310, 1, 1); ++date)
        ASSERT_EQ(date.GetDayNumber(), DayNumberByWalking(date)) << date.GetYear() << "-" << date.GetMonth();
    // Dates outside the calendar still count the same way.
    const uint32_t adwOdd[] = {0,
                               CDate::Pack(0, 1, 1),
                               CDate::Pack(0, 3, 1),
                               CDate::Pack(1, 1, 1),
                               CDate::Pack(1600, 12, 31),
                               CDate::Pack(1999, 0, 0),
                               CDate::Pack(2000, 13, 5),
                               CDate::Pack(2001, 255, 255),
                               CDate::Pack(65535, 12, 31)};
    for (uint32_t dw : adwOdd)
        EXPECT_EQ(CDate(dw).GetDayNumber(), DayNumberByWalking(CDate(dw))) << std::hex << dw;
}

TEST(CDateTest, NthWeekdayFromReference)
{
    CDate date;
    // First Saturday of August 1999 (7th) is after 1 August: kept.
    EXPECT_TRUE(date.SetNthWeekdayFrom(6, 1, 8, 1999, CDate(1999, 8, 1), 1));
    EXPECT_EQ(date, CDate(1999, 8, 7));
    // Not after 10 August: the first Saturday on or after it (14th).
    EXPECT_FALSE(date.SetNthWeekdayFrom(6, 1, 8, 1999, CDate(1999, 8, 10), 1));
    EXPECT_EQ(date, CDate(1999, 8, 14));
    // Before-mode: the 7th is not earlier than the 4th, so the Sunday that begins the 4th's week (1st).
    EXPECT_FALSE(date.SetNthWeekdayFrom(6, 1, 8, 1999, CDate(1999, 8, 4), 0));
    EXPECT_EQ(date, CDate(1999, 8, 1));
    EXPECT_TRUE(date.SetNthWeekdayFrom(6, 1, 8, 1999, CDate(1999, 8, 20), 0));
    EXPECT_EQ(date, CDate(1999, 8, 7));
}

TEST(CDateTest, AgeAndValidity)
{
    EXPECT_EQ(CDate(2000, 6, 30).GetAge(1975, 7, 1), 24);
    EXPECT_EQ(CDate(2000, 7, 1).GetAge(1975, 7, 1), 25);
    EXPECT_FALSE(CDate(2000, 1, 0).IsValid());
    EXPECT_FALSE(CDate(2000, 0, 1).IsValid());
    EXPECT_FALSE(CDate(2000, 13, 1).IsValid());
    EXPECT_FALSE(CDate(2000, 4, 31).IsValid());
    EXPECT_FALSE(CDate(1999, 2, 29).IsValid());
    EXPECT_TRUE(CDate(2000, 2, 29).IsValid());
    EXPECT_EQ(CDate(2000, 2, 1).GetDaysInMonth(), 29);
    EXPECT_EQ(CDate(1900, 2, 1).GetDaysInMonth(), 28);
    EXPECT_EQ(CDate(2000, 1, 1).GetDaysInYear(1900), 365);
}

TEST(CDateTest, SubtractSpanBorrowsMonthsAndDays)
{
    uint8_t d, m, y;
    CDate(1999, 7, 1).SubtractSpan(21, 0, 0, d, m, y);
    EXPECT_EQ(d, 1);
    EXPECT_EQ(m, 7);
    EXPECT_EQ(y, static_cast<uint8_t>(1978));
    CDate(1999, 3, 5).SubtractSpan(1, 5, 10, d, m, y);
    // Months borrow a year (3 - 5 + 12 = 10), days borrow a month (5 - 10 + 30 days of September).
    EXPECT_EQ(y, static_cast<uint8_t>(1997));
    EXPECT_EQ(m, 9);
    EXPECT_EQ(d, 25);
}

TEST(CDateTest, FileFormIsLittleEndianPackedValue)
{
    FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(CDate(1999, 7, 5).Write(file), 1);
    std::rewind(file);
    unsigned char bytes[4] = {};
    ASSERT_EQ(std::fread(bytes, 1, 4, file), 4u);
    EXPECT_EQ(bytes[0], 5);
    EXPECT_EQ(bytes[1], 7);
    EXPECT_EQ(bytes[2] | (bytes[3] << 8), 1999);
    std::rewind(file);
    CDate back;
    EXPECT_EQ(back.Read(file), 1);
    EXPECT_EQ(back, CDate(1999, 7, 5));
    EXPECT_EQ(back.Read(file), 0);  // nothing more to read
    std::fclose(file);
}

TEST(CDateTest, WeatherFieldsStayInRangeAndFollowTheTables)
{
    plat::srand(1234);
    for (int nKind = 0; nKind < 3; ++nKind)
        for (int nMonth = 1; nMonth <= 12; ++nMonth)
            for (int i = 0; i < 200; ++i) {
                const WEATHER w = CDate(2000, nMonth, 15).PickWeather(nKind);
                const int nIntensity = w & 3, nCategory = (w >> 2) & 7;
                EXPECT_LE(nIntensity, 2);
                EXPECT_LE(nCategory, 5);
                if (nCategory == 3 || nCategory == 4) {
                    EXPECT_EQ(nIntensity, 0);
                }
                if (nKind == 0 && (nMonth == 1 || nMonth == 12 || nMonth == 2)) {
                    EXPECT_EQ(nIntensity, 0);  // winter rows of kind 0 only ever give intensity 0
                }
            }
}

}  // namespace
