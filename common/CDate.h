#pragma once
// The one calendar type: year << 16 | month << 8 | day in 32 bits, so that
// dates compare as plain unsigned numbers. 0 means "no date".
#include <cstdint>
#include <cstdio>

class CBinaryReader;
class CBinaryWriter;

using WEATHER = uint8_t;

// A date as stored in person records: u16 year, u8 month, u8 day.
struct DATERECORD {
    uint16_t wYear = 0;
    uint8_t byMonth = 0;
    uint8_t byDay = 0;
};

class CDate {
public:
    CDate() = default;
    CDate(int nYear, int nMonth, int nDay) { Set(Pack(nYear, nMonth, nDay)); }
    explicit CDate(uint32_t dwValue) : m_dwDate(dwValue) {}
    CDate(uint32_t dwValue, int nDays) : m_dwDate(dwValue) { AddDays(nDays); }

    static uint32_t Pack(int nYear, int nMonth, int nDay)
    {
        return (static_cast<uint32_t>(nYear) << 16) | ((static_cast<uint32_t>(nMonth) & 0xFF) << 8) |
               (static_cast<uint32_t>(nDay) & 0xFF);
    }

    void Set(uint32_t dwValue) { m_dwDate = dwValue; }
    uint32_t GetValue() const { return m_dwDate; }
    int GetYear() const { return static_cast<int>(m_dwDate >> 16); }
    int GetMonth() const { return static_cast<int>((m_dwDate >> 8) & 0xFF); }
    int GetDay() const { return static_cast<int>(m_dwDate & 0xFF); }
    void SetDay(int nDay) { m_dwDate = Pack(GetYear(), GetMonth(), nDay); }
    void SetMonth(int nMonth) { m_dwDate = Pack(GetYear(), nMonth, GetDay()); }
    void SetYear(int nYear) { m_dwDate = Pack(nYear, GetMonth(), GetDay()); }

    // Items written or read (1 or 0), as the stream calls answer.
    int Write(FILE* pFile) const;
    int Read(FILE* pFile);
    bool Write(CBinaryWriter& writer) const;
    bool Read(CBinaryReader& reader);

    void GetYMD(DATERECORD& ymd) const;

    // -1 asks for this date's month (or year).
    int GetDaysInMonth(int nMonth = -1) const;
    int GetDaysInYear(int nYear = -1) const;
    static bool IsLeapYear(int nYear);
    // Asked of every player's contract dates every week: the first 28 days
    // of a month are there in every year, without the month's length.
    bool IsValid() const
    {
        const uint32_t dwMonth = (m_dwDate >> 8) & 0xFF;
        const uint32_t dwDay = m_dwDate & 0xFF;
        return (dwMonth - 1 < 12 && dwDay - 1 < 28) || IsValidMonthEnd();
    }

    // Days since 1 January 1970 (negative before). Inline over a table of
    // the months of the years a game meets: contract and age checks ask for
    // it of every player every week.
    int GetDayNumber() const
    {
        const int nTabled = GetYear() - kFirstTabledYear;
        if (nTabled < 0 || nTabled >= kTabledYears)
            return GetUntabledDayNumber();
        // A month beyond 12 counts as the whole year, a month 0 as January.
        int nMonthsBefore = GetMonth() - 1;
        nMonthsBefore = nMonthsBefore < 0 ? 0 : nMonthsBefore > 12 ? 12 : nMonthsBefore;
        return s_MonthStarts.anDayNumber[nTabled][nMonthsBefore] + GetDay() - 1;
    }
    int DaysBetween(const CDate& other) const { return GetDayNumber() - other.GetDayNumber(); }
    // 0 Sunday to 6 Saturday.
    int GetDayOfWeek() const;

    void AddDays(int nDays);
    CDate& operator++() { AddDays(1); return *this; }
    CDate& operator--() { AddDays(-1); return *this; }
    CDate& operator+=(int nDays) { AddDays(nDays); return *this; }
    CDate& operator-=(int nDays) { AddDays(-nDays); return *this; }
    bool operator<(const CDate& o) const { return m_dwDate < o.m_dwDate; }
    bool operator>(const CDate& o) const { return m_dwDate > o.m_dwDate; }
    bool operator<=(const CDate& o) const { return m_dwDate <= o.m_dwDate; }
    bool operator>=(const CDate& o) const { return m_dwDate >= o.m_dwDate; }
    bool operator==(const CDate& o) const { return m_dwDate == o.m_dwDate; }
    bool operator!=(const CDate& o) const { return m_dwDate != o.m_dwDate; }

    // The n-th given weekday of a month.
    void SetNthWeekday(int nMonth, int nYear, int nWeekday, int n);
    // See the calendar code: moves the date relative to a reference; the
    // result says whether the first choice lay after (or before) it.
    bool SetNthWeekdayFrom(int nWeekday, int n, int nMonth, int nYear, const CDate& reference, int nAfter);
    // Whole years from the birth date to this date.
    int GetAge(int nBirthYear, int nBirthMonth, int nBirthDay) const;
    void SubtractSpan(int nYears, int nMonths, int nDays, uint8_t& byDay, uint8_t& byMonth, uint8_t& byYear) const;
    // The weather of this date's month for a climate kind 0..2.
    WEATHER PickWeather(int nKind) const;

    static constexpr int kFirstTabledYear = 1900;
    static constexpr int kTabledYears = 400;
    // The day number of the first of each month of a tabled year, and at 12
    // that of the next 1 January.
    struct MonthStarts {
        int anDayNumber[kTabledYears][13];
    };

private:
    int GetUntabledDayNumber() const;
    bool IsValidMonthEnd() const;

    static const MonthStarts s_MonthStarts;
    uint32_t m_dwDate = 0;
};
