#include "database/CountryCalendars.h"

#include <cstring>

namespace {

// Weekdays: 0 Sunday, 1 Monday. Breaks start on a Monday and end on a Sunday.
constexpr COUNTRYCALENDARPERIOD kEngland[] = {
    {CALENDAR_PERIOD_SINGLE_DAY, 0, 25, 12, 0, 0, 0, 0, 0},
    {CALENDAR_PERIOD_TRANSFERS_OPEN, 1, 2, 10, 0, 0, 3, 10, 0},
    {CALENDAR_PERIOD_TRANSFERS_OPEN, 1, 4, 3, 1, 0, 1, 4, 1},
};
constexpr COUNTRYCALENDARPERIOD kScotland[] = {
    {CALENDAR_PERIOD_SINGLE_DAY, 0, 25, 12, 0, 0, 0, 0, 0},
    {CALENDAR_PERIOD_TRANSFERS_OPEN, 1, 1, 1, 1, 0, 3, 1, 1},
};
constexpr COUNTRYCALENDARPERIOD kShortWinterBreak[] = {
    {CALENDAR_PERIOD_TRANSFERS_OPEN, 1, 4, 12, 0, 0, 1, 1, 1},
};
constexpr COUNTRYCALENDARPERIOD kWinterBreak[] = {
    {CALENDAR_PERIOD_TRANSFERS_OPEN, 1, 3, 12, 0, 0, 2, 1, 1},
};
constexpr COUNTRYCALENDARPERIOD kLongWinterBreak[] = {
    {CALENDAR_PERIOD_TRANSFERS_OPEN, 1, 3, 12, 0, 0, 4, 1, 1},
};

constexpr COUNTRYCALENDAR kCalendars[] = {
    {"England", kEngland, 3},
    {"Scotland", kScotland, 2},
    {"Spain", kShortWinterBreak, 1},
    {"France", kWinterBreak, 1},
    {"Belgium", kShortWinterBreak, 1},
    {"Holland", kWinterBreak, 1},
    {"Germany", kLongWinterBreak, 1},
    {"Italy", kShortWinterBreak, 1},
    {"Portugal", kShortWinterBreak, 1},
    {nullptr, nullptr, 0},
};

constexpr COUNTRYCALENDAR kGeneralCalendar = {"", kWinterBreak, 1};

}  // namespace

const COUNTRYCALENDAR* FindCountryCalendar(const char* pszName)
{
    if (!pszName)
        return nullptr;
    for (const COUNTRYCALENDAR* pRow = kCalendars; pRow->pszName; ++pRow)
        if (std::strcmp(pRow->pszName, pszName) == 0)
            return pRow;
    return nullptr;
}

const COUNTRYCALENDAR* GetDefaultCountryCalendar(bool bFirstCountry)
{
    return bFirstCountry ? &kCalendars[0] : &kGeneralCalendar;
}
