#pragma once
// The static definitions of every cup competition: which owner holds which
// cup kind, the round calendar, the entry rules, the match rules of each
// round and the prize money. Nothing here is saved; running cups refer back
// to these rows.
#include <cstdint>

#include "common/CDate.h"
#include "common/Identifiers.h"

// Cup kinds are also the slot of a cup inside its owner.
enum {
    CUP_KIND_0 = 0,     // second European cup / main national cup
    CUP_KIND_1 = 1,     // first European cup / second national cup
    CUP_KIND_SUPER = 3, // super cups
    CUP_KIND_5 = 5,     // lower-division cup
};

// A cup number (fixtures, clubs, saves) is kind x 20 + country identifier,
// country 0 being the European owner; CUP_NUMBER_NONE = no cup.
inline CUP_NUMBER MakeCupNumberFromKind(int nKind, int nCountryID)
{
    return static_cast<CUP_NUMBER>(nKind * 20 + nCountryID);
}
inline int GetCupNumberKind(CUP_NUMBER byNumber) { return byNumber / 20; }
inline int GetCupNumberCountry(CUP_NUMBER byNumber) { return byNumber % 20; }
// The bit that marks a cup in a player's cup-tied masks.
inline uint32_t GetCupTiedBit(int nKind, int nCountryID)
{
    // Countries above 15 would shift past the mask: the bit wraps round.
    return 1u << ((nKind + 2 * nCountryID) & 31);
}

// Match rules of a round. Rules bits: 0 extra time, 1 a level tie is
// replayed (set from the round's entry rule when the rules are asked for),
// 3 away goals, 4 shoot-out, 5 golden goal, 6 the rules apply to this leg.
enum {
    CUP_RULE_EXTRA_TIME = 0x01,
    CUP_RULE_REPLAY = 0x02,
    CUP_RULE_AWAY_GOALS = 0x08,
    CUP_RULE_SHOOT_OUT = 0x10,
    CUP_RULE_GOLDEN_GOAL = 0x20,
    CUP_RULE_THIS_LEG = 0x40,
};
// Venue byte: where the match is played.
enum {
    CUP_VENUE_HOME = 0,
    CUP_VENUE_HOME_COUNTRY_CHOICE = 1,
    CUP_VENUE_NATIONAL_GROUND = 2,
    CUP_VENUE_THIRD_COUNTRY = 3,
};
struct ITEMCUPMATCHRULES {
    uint8_t byRules;
    uint8_t bySubstitutions;
    uint8_t bySubstitutesNamed;
    uint8_t byByte3;  // the restricted players (work permits) a side may field
    uint8_t byVenue;
};
// A match without a competition's rules: a friendly.
constexpr ITEMCUPMATCHRULES CUP_FRIENDLY_MATCH_RULES = {0, 5, 7, 7, 0};

// "The n-th weekday (0 Sunday .. 6 Saturday) of a month", in the year
// season year + offset. Weekday 255 means no date.
struct CUPROUNDDATE {
    uint8_t byWeekday;
    uint8_t byNth;
    uint8_t byMonth;
    uint8_t byYearOffset;
};

enum {
    CUP_STAGE_QUALIFYING = 0,
    CUP_STAGE_KNOCKOUT = 1,
    CUP_STAGE_GROUP = 2,
};
enum {
    CUP_LEGS_ONE = 0,
    CUP_LEGS_TWO = 1,
    CUP_LEGS_GROUP = 2,
};
struct ITEMCUPROUNDINFORMATION {
    uint8_t byStage;
    uint8_t byLegs;
    uint8_t byTies;
    CUPROUNDDATE first;
    CUPROUNDDATE second;
    uint8_t byReserved;
    const ITEMCUPMATCHRULES* pMatchRules;
};

struct ITEMCUPENTRYRULE {
    uint8_t byEntryCode0;
    uint8_t byEntryCode1;
    uint16_t wClubs;      // clubs the round must hold
    uint8_t byEntryCount;
    uint8_t byEntryCode5;
    uint8_t byDrawDays;   // days before the first match at which the draw is made
    uint8_t byPad;
    // Clubs per division (domestic round 1), per entry round (European) or
    // clubs per group (group rounds); null when the round takes none.
    const uint8_t* pClubsPerDivision;
    uint8_t byClubsPerDivisionCount;
    uint8_t byReplay;
    uint8_t byReplayDays;
};

struct ITEMCUPPRIZEINFORMATION {
    uint32_t dwPaymentType;
    const uint32_t* pAmounts;
    uint8_t byAmountCount;
};

struct ITEMCUPSTRUCTUREINFORMATION {
    const char* pszOwnerName; // "European" or a country name; null ends the table
    uint8_t byKind;
    uint8_t byCupID;
    uint8_t byRounds;
    const ITEMCUPROUNDINFORMATION* pRounds;
    uint8_t byFlag;
    uint8_t byExtraFlag;
    uint16_t wTieSlots;
    uint16_t wEntrantCount;
    const ITEMCUPPRIZEINFORMATION* pPrizes;
    const ITEMCUPENTRYRULE* pEntryRules;
};

constexpr const char* CUP_OWNER_EUROPEAN = "European";
constexpr int CUP_STRUCTURE_ROWS = 19;

// The definition table; its last row has a null owner name.
const ITEMCUPSTRUCTUREINFORMATION* GetCupStructureTable();
// First row of that kind whose owner is the country name ("European" when null).
const ITEMCUPSTRUCTUREINFORMATION* GetCupStructureRecord(int nKind, const char* pszCountryName);

// Entry nIndex of the country's cup table (England 4 entries, Spain,
// Holland and Belgium 2 each): entry 0 is empty, entry i the country's i-th
// cup definition other than a super cup. Null outside the table.
const ITEMCUPSTRUCTUREINFORMATION* GetCountryCupEntryByName(const char* pszCountry, int nIndex);

// The match rules records used by the rounds, 0..CUP_MATCH_RULES_COUNT-1.
constexpr int CUP_MATCH_RULES_COUNT = 11;
const ITEMCUPMATCHRULES* GetCupMatchRules(int nRecord);

// The n-th weekday of the round's (first or second) match in the season that
// begins in nSeasonYear. Without a second match the date is empty.
CDate GetCupRoundDate(const ITEMCUPROUNDINFORMATION& round, bool bSecondLeg, int nSeasonYear);
// First matches of a European round never lie on or before the European
// season date; second legs follow the plain rule.
CDate GetEuropeanCupRoundDate(const ITEMCUPROUNDINFORMATION& round, bool bSecondLeg, const CDate& seasonDate);
// Domestic cups: a super cup's first match is moved back before the
// country's season start; every other date follows the plain rule.
CDate GetDomesticCupRoundDate(const ITEMCUPROUNDINFORMATION& round, bool bSecondLeg, int nKind, int nSeasonYear,
                              const CDate& seasonStart);

// 0 when the first leg is less than two days from the date (either side); a one-leg round
// otherwise gives 2 with the flag and 0 without; a two-leg round 1 when the
// second leg is less than two days away, otherwise 2 with the flag and 1 without.
int GetCupRoundLegState(const CDate& date, const ITEMCUPROUNDINFORMATION& round, bool bFlag, int nSeasonYear);

// Value of the country event that marks a match date of a cup round.
uint32_t GetCupRoundEventKey(int nRound, int nKind, bool bSecondLeg, bool bEuropean);
inline uint32_t GetCupDrawEventKey(int nKind) { return 1536u + static_cast<uint32_t>(nKind); }

// What a settled tie of round nRound (1-based) pays the first club (the
// winner) and the second club. False for an unknown payment type.
bool GetCupPrizeAmounts(const ITEMCUPSTRUCTUREINFORMATION& cup, int nRound, bool bGroupDay, bool bDrawn,
                        uint32_t& dwFirst, uint32_t& dwSecond);

// Names of the eight per-country European entry counts, blank-padded to 25
// characters; entry COUNTRY_BYES_MAX is the name of their count.
enum {
    COUNTRY_BYES_EUROPEANCUP4,
    COUNTRY_BYES_EUROPEANCUP3,
    COUNTRY_BYES_EUROPEANCUP2,
    COUNTRY_BYES_EUROPEANCUP1,
    COUNTRY_BYES_KAVOCUP2,
    COUNTRY_BYES_KAVOCUP1,
    COUNTRY_BYES_KAVOCUP1C,
    COUNTRY_BYES_KAVOCUP2C,
    COUNTRY_BYES_MAX,
};
extern const char* const g_apszCountryByesNames[COUNTRY_BYES_MAX + 1];
