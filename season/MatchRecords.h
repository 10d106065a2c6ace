#pragma once
// What one quickly played match hands over: the parameter block the caller
// fills, the 52-byte header of its match history record, the line-up entries
// and the match events. The quick result engine fills the goals, the events
// and the result record; the caller everything else.
#include "common/CXList.h"
#include "common/Identifiers.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class CBinaryReader;
class CBinaryWriter;
class CClubDatabase;
class CPlayerDatabase;
struct ITEMCUPMATCHRULES;

// Match kinds: 0 and 1 league fixtures, 2 cup, 3 friendly.
enum {
    MATCHKIND_LEAGUE = 0,
    MATCHKIND_LEAGUE_OTHER = 1,
    MATCHKIND_CUP = 2,
    MATCHKIND_FRIENDLY = 3,
};

// Kinds of match event.
enum {
    MATCHEVENT_BOOKED = 0,
    MATCHEVENT_SENT_OFF = 1,
    MATCHEVENT_GOAL = 2,
    MATCHEVENT_OWN_GOAL = 3,
    MATCHEVENT_FOUL = 4,
    MATCHEVENT_INJURED = 5,
    MATCHEVENT_SUBSTITUTED_OFF = 6,
    MATCHEVENT_SUBSTITUTED_ON = 7,
    MATCHEVENT_PENALTY_SCORED = 8,
    MATCHEVENT_PENALTY_MISSED = 9,
};

// One event, 8 bytes on file: player (0 none), kind, minute, match kind, 0.
struct MATCHEVENT {
    ID_PLAYER idPlayer = 0;
    uint8_t byKind = 0;
    uint8_t byMinute = 0;
    uint8_t byCompetition = 0;
    bool Write(CBinaryWriter& writer) const;
    bool Read(CBinaryReader& reader);
    // A match's events live from the whistle to its record: they come from a
    // pool of their own rather than the heap.
    static void* operator new(size_t nBytes);
    static void operator delete(void* pEvent, size_t nBytes);
};

// One line-up place, 8 bytes on file: player, slot code (his role), rating, 0.
struct MATCHPLAYERENTRY {
    ID_PLAYER idPlayer = 0;
    uint8_t bySlotCode = 0;
    uint8_t byRating = 0;
    bool Write(CBinaryWriter& writer) const;
    bool Read(CBinaryReader& reader);
};

// Result codes left by the engine.
enum {
    MATCHRESULT_HOME = 0,
    MATCHRESULT_HOME_SHOOT_OUT = 1,
    MATCHRESULT_HOME_AWAY_GOALS = 3,
    MATCHRESULT_HOME_GOLDEN_GOAL = 4,
    MATCHRESULT_HOME_TWO_LEGS = 5,
    MATCHRESULT_AWAY = 6,
    MATCHRESULT_AWAY_SHOOT_OUT = 7,
    MATCHRESULT_AWAY_AWAY_GOALS = 9,
    MATCHRESULT_AWAY_GOLDEN_GOAL = 10,
    MATCHRESULT_AWAY_TWO_LEGS = 11,
};

// What the engine writes into the header's free bytes.
struct MATCHRESULTRECORD {
    ID_PLAYER idManOfTheMatch = 0;          // header offset 8
    uint8_t byHomePossession = 0;           // 23
    uint8_t byWinnerPercentage = 0;         // 24: the home side's share of the play
    uint8_t abyRefereeStatistics[4] = {};   // 25: bookings, sendings-off, fouls, penalties
    uint8_t abyHomeClub[2] = {};            // 29: the home club's reputation and support level
    uint8_t byResult = 0;                   // 31
    uint8_t abyShootOutGoals[2] = {};       // 33: home, away
};

constexpr int MATCH_HEADER_BYTES = 52;

// Bits of the optional parts behind a record's body.
enum {
    MATCHPART_CLUB_MATCH = 0x1,     // 204 bytes
    MATCHPART_CLUB_SEVEN = 0x2,     // 28 bytes
    MATCHPART_VALUE = 0x4,          // 4 bytes
    MATCHPART_ATTENDANCE = 0x8,     // 256 bytes
};

struct MATCHHISTORYHEADER {
    uint32_t dwAttendance = 0;
    uint32_t dwMatchID = 0;
    uint16_t wRefereeID = 0;
    ID_CLUB wHomeClub = 0;
    ID_CLUB wAwayClub = 0;
    uint8_t byMatchKind = 0;
    uint8_t byRulesByte1 = 0;
    uint8_t bySubstitutesNamed = 0;
    uint8_t byAttendancePercentage = 0;
    uint8_t byHomeGoals = 0;
    uint8_t byAwayGoals = 0;
    uint8_t byHomeEvents = 0;
    uint8_t byAwayEvents = 0;
    uint8_t byOptionalParts = 0;
    MATCHRESULTRECORD Result;

    bool Write(CBinaryWriter& writer) const;
    bool Read(CBinaryReader& reader);
    // Bytes of the record behind the header.
    uint32_t GetBodyBytes() const;
};

// The parameter block of one match. The caller fills the clubs, the event
// lists, the header, the rules (none: 3 substitutions from 5 named, no
// tie-break), the match kind, the incoming goals of a first leg (255, 255
// without one) and the leg state; the engine leaves this match's goals and
// the result code in it.
struct MATCHPARAMETERS {
    CClubDatabase* pHomeClub = nullptr;
    CClubDatabase* pAwayClub = nullptr;
    CXList* pHomeEvents = nullptr;  // MATCHEVENT, freed by the caller
    CXList* pAwayEvents = nullptr;
    MATCHHISTORYHEADER* pHeader = nullptr;
    const ITEMCUPMATCHRULES* pRules = nullptr;
    uint32_t dwMatchID = 0;
    uint32_t dwAttendance = 0;
    uint16_t wRefereeID = 0;
    uint8_t byMatchKind = 0;
    uint8_t byHomeGoals = 255;
    uint8_t byAwayGoals = 255;
    uint8_t byResult = 0;
    // When given, every player who took part (starters and those who came
    // on, both sides) is added.
    std::vector<CPlayerDatabase*>* pTookPart = nullptr;
};

// Frees the events of a list and empties it.
void FreeMatchEvents(CXList& list);
