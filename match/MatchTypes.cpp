#include "match/MatchTypes.h"

namespace {

const char* const kEventNames[MATCHEVENT_COUNT] = {
    "No Event", "Half Time", "Full Time",        "Kick Off", "Throw In", "Goal Kick",
    "Corner",   "Free Kick", "Direct Free Kick", "Penalty",  "Injury",   "Next Event"};

struct PERIODROW {
    uint32_t dwStart, dwEnd;
};
const PERIODROW kPeriods[] = {
    {0, 0},              // before the kick-off
    {0, 2700000},        // first half
    {2700000, 5400000},  // second half
    {5400000, 5400000},  // end of normal time
    {5400000, 6300000},  // first half of extra time
    {6300000, 7200000},  // second half of extra time
};

}  // namespace

const char* GetMatchEventName(uint8_t byEvent)
{
    return byEvent < MATCHEVENT_COUNT ? kEventNames[byEvent] : "Unknown Event";
}

bool GetMatchPeriodTimes(uint8_t byPeriod, uint32_t* pdwStart, uint32_t* pdwEnd)
{
    if (byPeriod >= sizeof(kPeriods) / sizeof(kPeriods[0]))
        return false;
    if (pdwStart)
        *pdwStart = kPeriods[byPeriod].dwStart;
    if (pdwEnd)
        *pdwEnd = kPeriods[byPeriod].dwEnd;
    return true;
}
