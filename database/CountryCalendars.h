#pragma once
// The fixed calendars of the countries: the periods of each season in which
// no league match is played (breaks, holidays), by country name.
#include <cstdint>

// A break of the season. Kind 1 lets transfers go on, kind 2 holds them
// back until its end, kind 3 is a single day (start week byte = day of the
// month, start month). Otherwise it runs from the start rule to the end rule
// inclusive, each "the n-th weekday of the month" in the season's first year
// plus the offset; an end month of 255 stands for the country's season end.
struct COUNTRYCALENDARPERIOD {
    uint8_t byKind;
    uint8_t byStartWeekday;
    uint8_t byStartWeek;
    uint8_t byStartMonth;
    uint8_t byStartYearOffset;
    uint8_t byEndWeekday;
    uint8_t byEndWeek;
    uint8_t byEndMonth;
    uint8_t byEndYearOffset;
};

enum {
    CALENDAR_PERIOD_TRANSFERS_OPEN = 1,
    CALENDAR_PERIOD_TRANSFERS_CLOSED = 2,
    CALENDAR_PERIOD_SINGLE_DAY = 3,
};
constexpr uint8_t CALENDAR_MONTH_SEASON_END = 255;

struct COUNTRYCALENDAR {
    const char* pszName;  // null ends the table
    const COUNTRYCALENDARPERIOD* pPeriods;
    uint8_t byPeriods;
};

// The calendar of the country of that name; null when it has none.
const COUNTRYCALENDAR* FindCountryCalendar(const char* pszName);
// The calendar a country starts with before its name is matched: the first
// country's for identifier 1, a general one for the others.
const COUNTRYCALENDAR* GetDefaultCountryCalendar(bool bFirstCountry);
