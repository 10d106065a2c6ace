#include "common/CDate.h"

#include <algorithm>

#include "common/CBinaryFile.h"
#include "platform/Random.h"

namespace {

const int kDaysInMonth[13] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

int DaysInMonthOfYear(int nMonth, int nYear)
{
    if (nMonth < 1 || nMonth > 12)
        return 0;
    if (nMonth == 2 && CDate::IsLeapYear(nYear))
        return 29;
    return kDaysInMonth[nMonth];
}

// Days of a common year before each month, and the whole year at 12.
constexpr int kDaysBeforeMonth[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};

constexpr int FloorDivide(int n, int d) { return n / d - (n % d < 0 ? 1 : 0); }

// Leap years from year 1 to nYear (negative below year 0).
constexpr int LeapYearsUpTo(int nYear)
{
    return FloorDivide(nYear, 4) - FloorDivide(nYear, 100) + FloorDivide(nYear, 400);
}

// Day number of 1 January of a year, counted from 1 January 1970.
constexpr int YearStartDayNumber(int nYear)
{
    return 365 * (nYear - 1970) + LeapYearsUpTo(nYear - 1) - LeapYearsUpTo(1969);
}

constexpr CDate::MonthStarts MakeMonthStarts()
{
    CDate::MonthStarts table{};
    for (int i = 0; i < CDate::kTabledYears; ++i) {
        const int nYear = CDate::kFirstTabledYear + i;
        const int nYearStart = YearStartDayNumber(nYear);
        const bool bLeap = nYear % 400 == 0 || (nYear % 4 == 0 && nYear % 100 != 0);
        for (int nMonthsBefore = 0; nMonthsBefore <= 12; ++nMonthsBefore)
            table.anDayNumber[i][nMonthsBefore] =
                nYearStart + kDaysBeforeMonth[nMonthsBefore] + (nMonthsBefore >= 2 && bLeap ? 1 : 0);
    }
    return table;
}

// Cumulative percentages per climate kind and month for the six weather categories.
const uint8_t kCategoryTable[3][12][6] = {
    {{10, 10, 10, 40, 80, 100}, {20, 20, 20, 40, 80, 100}, {20, 30, 45, 65, 80, 100}, {30, 40, 65, 75, 80, 100},
     {35, 55, 70, 70, 70, 100}, {60, 70, 75, 75, 75, 100}, {60, 70, 75, 75, 75, 100}, {50, 60, 70, 70, 70, 100},
     {40, 60, 70, 70, 70, 100}, {30, 50, 70, 70, 70, 100}, {20, 40, 50, 60, 80, 100}, {10, 10, 10, 40, 80, 100}},
    {{10, 20, 40, 60, 70, 100}, {20, 25, 45, 65, 75, 100}, {25, 45, 65, 70, 70, 100}, {30, 50, 70, 75, 75, 100},
     {40, 60, 70, 70, 70, 100}, {55, 65, 75, 75, 75, 100}, {65, 75, 80, 80, 80, 100}, {60, 65, 75, 75, 75, 100},
     {45, 60, 70, 70, 70, 100}, {35, 55, 70, 70, 70, 100}, {20, 50, 70, 75, 75, 100}, {10, 30, 60, 65, 70, 100}},
    {{15, 25, 60, 70, 75, 100}, {20, 40, 65, 70, 75, 100}, {30, 50, 70, 75, 75, 100}, {40, 50, 75, 75, 75, 100},
     {50, 65, 75, 75, 75, 100}, {75, 80, 85, 85, 85, 100}, {85, 90, 90, 90, 90, 100}, {80, 85, 85, 85, 85, 100},
     {75, 85, 85, 85, 85, 100}, {50, 55, 70, 70, 70, 100}, {35, 50, 70, 75, 80, 100}, {10, 40, 70, 80, 90, 100}},
};

// Cumulative percentages for intensities 0..2; a 0 entry never matches.
const uint8_t kIntensityTable[3][12][3] = {
    {{100, 0, 0}, {100, 0, 0}, {90, 100, 0}, {75, 100, 0}, {50, 100, 0}, {10, 70, 100}, {5, 40, 100},
     {10, 60, 100}, {20, 90, 100}, {45, 100, 0}, {85, 100, 0}, {100, 0, 0}},
    {{80, 100, 0}, {75, 100, 0}, {65, 95, 100}, {50, 90, 100}, {30, 80, 100}, {10, 60, 100}, {5, 30, 100},
     {10, 40, 100}, {20, 85, 100}, {30, 90, 100}, {65, 100, 0}, {70, 100, 0}},
    {{75, 100, 0}, {65, 100, 0}, {65, 85, 100}, {50, 80, 100}, {20, 70, 100}, {5, 40, 100}, {0, 25, 100},
     {0, 35, 100}, {5, 40, 100}, {25, 75, 100}, {50, 100, 0}, {70, 100, 0}},
};

}  // namespace

constexpr CDate::MonthStarts CDate::s_MonthStarts = MakeMonthStarts();

bool CDate::IsLeapYear(int nYear) { return nYear % 400 == 0 || (nYear % 4 == 0 && nYear % 100 != 0); }

int CDate::Write(FILE* pFile) const
{
    CBinaryWriter writer(pFile);
    return Write(writer) ? 1 : 0;
}

int CDate::Read(FILE* pFile)
{
    CBinaryReader reader(pFile);
    return Read(reader) ? 1 : 0;
}

bool CDate::Write(CBinaryWriter& writer) const { return writer.WriteU32(m_dwDate); }

bool CDate::Read(CBinaryReader& reader)
{
    uint32_t dwValue;
    if (!reader.ReadU32(dwValue))
        return false;
    m_dwDate = dwValue;
    return true;
}

void CDate::GetYMD(DATERECORD& ymd) const
{
    ymd.wYear = static_cast<uint16_t>(GetYear());
    ymd.byMonth = static_cast<uint8_t>(GetMonth());
    ymd.byDay = static_cast<uint8_t>(GetDay());
}

int CDate::GetDaysInMonth(int nMonth) const { return DaysInMonthOfYear(nMonth == -1 ? GetMonth() : nMonth, GetYear()); }

int CDate::GetDaysInYear(int nYear) const { return IsLeapYear(nYear == -1 ? GetYear() : nYear) ? 366 : 365; }

bool CDate::IsValidMonthEnd() const
{
    const int nMonth = GetMonth();
    return nMonth >= 1 && nMonth <= 12 && GetDay() >= 1 && GetDay() <= GetDaysInMonth(nMonth);
}

int CDate::GetUntabledDayNumber() const
{
    const int nYear = GetYear();
    const int nMonthsBefore = std::clamp(GetMonth() - 1, 0, 12);
    const int nLeapDay = nMonthsBefore >= 2 && IsLeapYear(nYear) ? 1 : 0;
    return YearStartDayNumber(nYear) + kDaysBeforeMonth[nMonthsBefore] + nLeapDay + GetDay() - 1;
}

int CDate::GetDayOfWeek() const { return DaysBetween(CDate(1970, 1, 4)) % 7; }

void CDate::AddDays(int nDays)
{
    if (nDays == 0)
        return;
    int nYear = GetYear();
    int nMonth = GetMonth();
    int nDay = GetDay() + nDays;
    if (nMonth < 1 || nMonth > 12)
        return;  // not a calendar date: leave it as it is rather than loop forever
    if (nDays > 0) {
        while (nDay > DaysInMonthOfYear(nMonth, nYear)) {
            nDay -= DaysInMonthOfYear(nMonth, nYear);
            if (++nMonth > 12) {
                nMonth = 1;
                ++nYear;
            }
        }
    } else {
        while (nDay < 1) {
            if (--nMonth < 1) {
                nMonth = 12;
                --nYear;
            }
            nDay += DaysInMonthOfYear(nMonth, nYear);
        }
    }
    m_dwDate = Pack(nYear, nMonth, nDay);
}

void CDate::SetNthWeekday(int nMonth, int nYear, int nWeekday, int n)
{
    m_dwDate = Pack(nYear, nMonth, 1);
    int nShift = nWeekday - GetDayOfWeek();
    if (nShift < 0)
        nShift += 7;
    AddDays(nShift + 7 * (n - 1));
}

bool CDate::SetNthWeekdayFrom(int nWeekday, int n, int nMonth, int nYear, const CDate& reference, int nAfter)
{
    SetNthWeekday(nMonth, nYear, nWeekday, n);
    if (nAfter == 1) {
        const bool bLater = *this > reference;
        if (!bLater) {
            int nShift = nWeekday - reference.GetDayOfWeek();
            if (nShift < 0)
                nShift += 7;
            *this = CDate(reference.GetValue(), nShift);
        }
        return bLater;
    }
    const bool bEarlier = *this < reference;
    if (!bEarlier)
        *this = CDate(reference.GetValue(), -reference.GetDayOfWeek());
    return bEarlier;
}

int CDate::GetAge(int nBirthYear, int nBirthMonth, int nBirthDay) const
{
    int nAge = GetYear() - nBirthYear;
    if (nBirthMonth > GetMonth() || (nBirthMonth == GetMonth() && nBirthDay > GetDay()))
        --nAge;
    return nAge;
}

void CDate::SubtractSpan(int nYears, int nMonths, int nDays, uint8_t& byDay, uint8_t& byMonth, uint8_t& byYear) const
{
    int nYear = GetYear() - nYears;
    int nMonth;
    if (nMonths > GetMonth()) {
        --nYear;
        nMonth = GetMonth() - nMonths + 12;
    } else {
        nMonth = GetMonth() - nMonths;
    }
    int nDay;
    if (nDays > GetDay()) {
        --nMonth;
        const int nPrevious = nMonth < 1 ? 12 : nMonth;
        nDay = GetDay() - nDays + DaysInMonthOfYear(nPrevious, nYear);
    } else {
        nDay = GetDay() - nDays;
    }
    byYear = static_cast<uint8_t>(nYear);
    byMonth = static_cast<uint8_t>(nMonth);
    byDay = static_cast<uint8_t>(nDay);
}

WEATHER CDate::PickWeather(int nKind) const
{
    if (nKind < 0 || nKind > 2)
        nKind = 0;
    int nMonth = GetMonth();
    if (nMonth < 1 || nMonth > 12)
        nMonth = 1;
    const int r = plat::rand() % 100;
    int nCategory = 0;
    for (int c = 0; c < 6; ++c)
        if (r < kCategoryTable[nKind][nMonth - 1][c]) {
            nCategory = c;
            break;
        }
    int nIntensity = 0;
    for (int i = 0; i < 3; ++i)
        if (r < kIntensityTable[nKind][nMonth - 1][i]) {
            nIntensity = i;
            break;
        }

    int nLevel = 0, nFlag = 0;
    auto levelDraw = [&nLevel] {
        const int d = plat::rand() % 10;
        if (d <= 2)
            nLevel = d + 1;
    };
    if (nCategory == 3) {
        nIntensity = 0;
        levelDraw();
    } else if (nCategory == 4) {
        nIntensity = 0;
        if (plat::rand() % 4 == 0)
            nFlag = 1;
        else
            levelDraw();
    } else if (nIntensity == 1) {
        if (plat::rand() % 4 == 0)
            nLevel = 1;
    } else if (nIntensity == 0) {
        if (nCategory == 1) {
            if (plat::rand() % 4 == 0)
                nFlag = 1;
            else
                levelDraw();
        } else {
            levelDraw();
        }
    }
    return static_cast<WEATHER>((nFlag << 7) | (nLevel << 5) | (nCategory << 2) | nIntensity);
}
