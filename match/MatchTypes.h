#pragma once
// The small shared types of a 3-D match: the current match event, the
// referee's period byte and the period table, the person kinds and the record
// of one match event that the engine hands to the match screen.
#include <cstdint>

class CMatchPerson;

// The current match event byte, written by the referee and read by every actor
// (named apart from the quick engine's record of an event, MATCHEVENT).
enum MATCHEVENTSTATE : uint8_t {
    MATCHEVENT_NONE = 0,
    MATCHEVENT_HALFTIME,
    MATCHEVENT_FULLTIME,
    MATCHEVENT_KICKOFF,
    MATCHEVENT_THROWIN,
    MATCHEVENT_GOALKICK,
    MATCHEVENT_CORNER,
    MATCHEVENT_FREEKICK,
    MATCHEVENT_DIRECTFREEKICK,
    MATCHEVENT_PENALTY,
    MATCHEVENT_INJURY,
    MATCHEVENT_NEXTEVENT,
    MATCHEVENT_COUNT
};
// "No Event", "Half Time" ... "Next Event"; "Unknown Event" beyond the last.
const char* GetMatchEventName(uint8_t byEvent);

enum ID_MATCHPERIOD : uint8_t {
    MATCHPERIOD_BEFOREKICKOFF = 0,
    MATCHPERIOD_FIRSTHALF,
    MATCHPERIOD_SECONDHALF,
    MATCHPERIOD_ENDOFNORMALTIME,
    MATCHPERIOD_EXTRATIMEFIRSTHALF,
    MATCHPERIOD_EXTRATIMESECONDHALF,
    MATCHPERIOD_SHOOTOUT
};
// Start and end of a period in ms of match time; false for the shoot-out and
// any other period without a row (the outputs are then left alone).
bool GetMatchPeriodTimes(uint8_t byPeriod, uint32_t* pdwStart, uint32_t* pdwEnd);

enum ID_PERSONTYPE : uint8_t {
    PERSONTYPE_PERSON = 0,
    PERSONTYPE_FOOTBALLER,
    PERSONTYPE_ASSISTANTREFEREE,
    PERSONTYPE_REFEREE,
    PERSONTYPE_PHYSIO
};

// The shared match state byte of the engine and the match screen.
enum MATCHSTATE : uint8_t { MATCHSTATE_NONE = 0, MATCHSTATE_STARTED, MATCHSTATE_ENDED };

struct ITEMMATCHEVENTINFORMATION {
    CMatchPerson* pPerson = nullptr;
    CMatchPerson* pSecondPerson = nullptr;
    uint32_t dwMatchTime = 0;  // engine clock, ms
    uint32_t dwGameTime = 0;   // match time, ms
    uint8_t byCallQuality = 0;
    uint8_t byEvent = 0;       // ID_MATCHEVENT 0..34
    uint8_t byDetail = 0;
    uint8_t byCommentaryPriority = 0;  // 0..5, 0 from every sender
};

// The rules of one match: byte 2 adds to the 11 people per side who may take
// part; the venue is 0 the home club's ground, 1 a ground chosen by the home
// country, 2 the country's national ground, 3 a ground in a third country.
struct ITEMMATCHRULESINFORMATION {
    uint8_t abyRules[4] = {};
    uint8_t byVenue = 0;
};

constexpr uint32_t MATCH_TICK_MS = 70;
constexpr int32_t PITCH_LENGTH = 10000;
constexpr int32_t PITCH_WIDTH = 7500;
constexpr int32_t GOAL_CENTRE_Y = 3750;
