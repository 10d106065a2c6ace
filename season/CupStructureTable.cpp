#include "season/CupStructureTable.h"

#include <cstdlib>
#include <cstring>

#include "common/DebugLog.h"

namespace {

enum { SUN = 0, MON, TUE, WED, THU, FRI, SAT };

constexpr CUPROUNDDATE NO_DATE = {255, 255, 255, 0};
// The European super cup leaves its second-leg bytes zero; with one leg they are never read.
constexpr CUPROUNDDATE ZERO_DATE = {0, 0, 0, 0};

const ITEMCUPMATCHRULES s_aMatchRules[CUP_MATCH_RULES_COUNT] = {
    {0x75, 5, 7, 5, CUP_VENUE_HOME},
    {0x5D, 5, 7, 5, CUP_VENUE_HOME},
    {0x00, 5, 7, 5, CUP_VENUE_HOME},
    {0x31, 5, 7, 5, CUP_VENUE_THIRD_COUNTRY},
    {0x71, 5, 7, 5, CUP_VENUE_THIRD_COUNTRY},
    {0x11, 3, 5, 5, CUP_VENUE_HOME},
    {0x75, 3, 5, 5, CUP_VENUE_HOME},
    {0x11, 3, 5, 5, CUP_VENUE_HOME_COUNTRY_CHOICE},
    {0x11, 3, 7, 5, CUP_VENUE_HOME_COUNTRY_CHOICE},
    {0x55, 3, 5, 5, CUP_VENUE_HOME},
    {0x11, 5, 7, 7, CUP_VENUE_NATIONAL_GROUND},
};

constexpr const ITEMCUPMATCHRULES* MR(int n) { return &s_aMatchRules[n]; }

// One round: stage, legs, ties, first match, second match, match rules.
#define ROUND(stage, legs, ties, first, second, rules) {stage, legs, ties, first, second, 0, MR(rules)}
#define DATE(wd, n, month, year) CUPROUNDDATE{wd, n, month, year}
// One entry rule: entry bytes 0, 1, clubs, entry bytes 4, 5, 6, per-division array, replay days.
#define ENTRY(b0, b1, clubs, b4, b5, b6, arr, replay) \
    {b0, b1, clubs, b4, b5, b6, 0, arr, static_cast<uint8_t>(sizeof(arr)), 0, replay}
#define ENTRYN(b0, b1, clubs, b4, b5, b6, replay) {b0, b1, clubs, b4, b5, b6, 0, nullptr, 0, 0, replay}
// The same for a round whose level ties of the round before go to a replay
// that many days after their match.
#define ENTRYR(b0, b1, clubs, b4, b5, b6, replay) {b0, b1, clubs, b4, b5, b6, 0, nullptr, 0, 1, replay}

// --- Row 0: European kind 0 ---
const ITEMCUPROUNDINFORMATION s_aRounds0[] = {
    ROUND(0, 1, 38, DATE(THU, 2, 8, 0), DATE(THU, 1, 9, 0), 0),
    ROUND(1, 1, 48, DATE(THU, 2, 9, 0), DATE(THU, 4, 9, 0), 0),
    ROUND(1, 1, 24, DATE(THU, 3, 10, 0), DATE(THU, 2, 11, 0), 0),
    ROUND(1, 1, 16, DATE(THU, 4, 11, 0), DATE(THU, 1, 12, 0), 0),
    ROUND(1, 1, 8, DATE(THU, 1, 3, 1), DATE(THU, 2, 3, 1), 0),
    ROUND(1, 1, 4, DATE(THU, 3, 3, 1), DATE(THU, 4, 3, 1), 0),
    ROUND(1, 1, 2, DATE(THU, 1, 4, 1), DATE(THU, 3, 4, 1), 0),
    ROUND(1, 0, 1, DATE(THU, 3, 5, 1), NO_DATE, 4),
};
const uint8_t s_aEuro0Round1[] = {26};
const uint8_t s_aEuro0Round2[] = {16};
const ITEMCUPENTRYRULE s_aEntries0[] = {
    ENTRY(6, 6, 76, 0, 2, 10, s_aEuro0Round1, 7), ENTRY(6, 6, 96, 0, 3, 1, s_aEuro0Round2, 7),
    ENTRYN(6, 6, 48, 0, 4, 10, 7),                ENTRYN(6, 6, 32, 0, 4, 1, 7),
    ENTRYN(6, 6, 16, 0, 4, 1, 7),                 ENTRYN(6, 6, 8, 0, 4, 1, 7),
    ENTRYN(6, 6, 4, 0, 4, 1, 7),                  ENTRYN(6, 6, 2, 0, 4, 1, 7),
};

// --- Row 1: European kind 1 ---
const ITEMCUPROUNDINFORMATION s_aRounds1[] = {
    ROUND(0, 1, 9, DATE(WED, 2, 7, 0), DATE(WED, 3, 7, 0), 1),
    ROUND(0, 1, 14, DATE(WED, 4, 7, 0), DATE(WED, 1, 8, 0), 1),
    ROUND(0, 1, 16, DATE(WED, 2, 8, 0), DATE(WED, 4, 8, 0), 1),
    ROUND(2, 2, 16, DATE(WED, 2, 9, 0), NO_DATE, 2),
    ROUND(2, 2, 16, DATE(WED, 3, 9, 0), NO_DATE, 2),
    ROUND(2, 2, 16, DATE(WED, 4, 9, 0), NO_DATE, 2),
    ROUND(2, 2, 16, DATE(WED, 3, 10, 0), NO_DATE, 2),
    ROUND(2, 2, 16, DATE(WED, 4, 10, 0), NO_DATE, 2),
    ROUND(2, 2, 16, DATE(WED, 1, 11, 0), NO_DATE, 2),
    ROUND(2, 2, 8, DATE(WED, 4, 11, 0), NO_DATE, 2),
    ROUND(2, 2, 8, DATE(WED, 1, 12, 0), NO_DATE, 2),
    ROUND(2, 2, 8, DATE(WED, 1, 3, 1), NO_DATE, 2),
    ROUND(2, 2, 8, DATE(WED, 2, 3, 1), NO_DATE, 2),
    ROUND(2, 2, 8, DATE(WED, 3, 3, 1), NO_DATE, 2),
    ROUND(2, 2, 8, DATE(WED, 4, 3, 1), NO_DATE, 2),
    ROUND(1, 1, 4, DATE(WED, 1, 4, 1), DATE(WED, 3, 4, 1), 1),
    ROUND(1, 1, 2, DATE(WED, 1, 5, 1), DATE(WED, 2, 5, 1), 1),
    ROUND(1, 0, 1, DATE(WED, 4, 5, 1), NO_DATE, 3),
};
const uint8_t s_aEuro1Round1[] = {18};
const uint8_t s_aEuro1Round2[] = {18};
const uint8_t s_aEuro1Round3[] = {16};
const uint8_t s_aGroupOfFour[] = {4};
const ITEMCUPENTRYRULE s_aEntries1[] = {
    ENTRY(6, 6, 18, 52, 2, 10, s_aEuro1Round1, 7), ENTRY(6, 6, 28, 34, 2, 2, s_aEuro1Round2, 7),
    ENTRY(6, 6, 32, 16, 2, 2, s_aEuro1Round3, 7),  ENTRY(6, 6, 32, 0, 4, 2, s_aGroupOfFour, 7),
    ENTRY(6, 6, 32, 0, 4, 0, s_aGroupOfFour, 7),   ENTRY(6, 6, 32, 0, 4, 0, s_aGroupOfFour, 7),
    ENTRY(6, 6, 32, 0, 4, 0, s_aGroupOfFour, 7),   ENTRY(6, 6, 32, 0, 4, 0, s_aGroupOfFour, 7),
    ENTRY(6, 6, 32, 0, 4, 0, s_aGroupOfFour, 7),   ENTRY(6, 6, 16, 0, 4, 0, s_aGroupOfFour, 7),
    ENTRY(6, 6, 16, 0, 4, 0, s_aGroupOfFour, 7),   ENTRY(6, 6, 16, 0, 4, 0, s_aGroupOfFour, 7),
    ENTRY(6, 6, 16, 0, 4, 0, s_aGroupOfFour, 7),   ENTRY(6, 6, 16, 0, 4, 0, s_aGroupOfFour, 7),
    ENTRY(6, 6, 16, 0, 4, 0, s_aGroupOfFour, 7),   ENTRYN(6, 6, 8, 0, 4, 2, 7),
    ENTRYN(6, 6, 4, 0, 4, 2, 7),                   ENTRYN(6, 6, 2, 0, 4, 2, 7),
};

// --- Row 2: European super cup ---
const ITEMCUPROUNDINFORMATION s_aRounds2[] = {
    ROUND(1, 0, 1, DATE(FRI, 4, 8, 0), ZERO_DATE, 3),
};
const ITEMCUPENTRYRULE s_aEntries2[] = {ENTRYN(0, 0, 2, 0, 4, 45, 7)};

// --- Row 3: England kind 1 ---
const ITEMCUPROUNDINFORMATION s_aRounds3[] = {
    ROUND(1, 0, 40, DATE(SAT, 3, 11, 0), NO_DATE, 5), ROUND(1, 0, 20, DATE(SAT, 2, 12, 0), NO_DATE, 5),
    ROUND(1, 0, 32, DATE(SAT, 1, 1, 1), NO_DATE, 5),  ROUND(1, 0, 16, DATE(SAT, 4, 1, 1), NO_DATE, 5),
    ROUND(1, 0, 8, DATE(SAT, 2, 2, 1), NO_DATE, 5),   ROUND(1, 0, 4, DATE(SAT, 2, 3, 1), NO_DATE, 5),
    ROUND(1, 0, 2, DATE(SAT, 1, 4, 1), NO_DATE, 7),   ROUND(1, 0, 1, DATE(SAT, 3, 5, 1), NO_DATE, 10),
};
const uint8_t s_aEnglandKind1Round1[] = {24, 24, 19, 13};
// A level tie of rounds 1 to 6 is replayed at the other ground ten days on
// (the Tuesday after next); the semi-finals and the final are settled on the day.
const ITEMCUPENTRYRULE s_aEntries3[] = {
    ENTRY(2, 5, 80, 0, 4, 14, s_aEnglandKind1Round1, 7),
    ENTRYR(2, 5, 40, 0, 4, 2, 10), ENTRYR(6, 5, 64, 0, 4, 2, 10), ENTRYR(6, 5, 32, 0, 4, 2, 10),
    ENTRYR(6, 5, 16, 0, 4, 2, 10), ENTRYR(6, 5, 8, 0, 4, 2, 10),  ENTRYR(6, 5, 4, 0, 4, 2, 10),
    ENTRYN(6, 5, 2, 0, 4, 2, 7),
};

// --- Row 4: England kind 0 ---
const ITEMCUPROUNDINFORMATION s_aRounds4[] = {
    ROUND(1, 1, 34, DATE(TUE, 2, 8, 0), DATE(TUE, 3, 8, 0), 6),
    ROUND(1, 1, 26, DATE(TUE, 2, 9, 0), DATE(TUE, 3, 9, 0), 6),
    ROUND(1, 0, 16, DATE(TUE, 4, 10, 0), NO_DATE, 5),
    ROUND(1, 0, 8, DATE(TUE, 2, 11, 0), NO_DATE, 5),
    ROUND(1, 0, 4, DATE(TUE, 1, 12, 0), NO_DATE, 5),
    ROUND(1, 1, 2, DATE(TUE, 2, 1, 1), DATE(TUE, 4, 1, 1), 6),
    ROUND(1, 0, 1, DATE(SUN, 3, 2, 1), NO_DATE, 10),
};
const ITEMCUPENTRYRULE s_aEntries4[] = {
    ENTRYN(1, 3, 68, 4, 0, 21, 7), ENTRYN(6, 3, 52, 6, 1, 2, 7), ENTRYN(6, 3, 32, 0, 4, 2, 7),
    ENTRYN(6, 3, 16, 0, 4, 2, 7),  ENTRYN(6, 3, 8, 0, 4, 2, 7),  ENTRYN(6, 3, 4, 0, 4, 2, 7),
    ENTRYN(6, 3, 2, 0, 4, 2, 7),
};

// --- Row 5: England kind 5 ---
const ITEMCUPROUNDINFORMATION s_aRounds5[] = {
    ROUND(1, 0, 16, DATE(TUE, 2, 12, 0), NO_DATE, 5),
    // Round 2 keeps clear of the other cup's semi-final first legs (second Tuesday of January).
    ROUND(1, 0, 16, DATE(TUE, 3, 1, 1), NO_DATE, 5),
    ROUND(1, 0, 8, DATE(TUE, 1, 2, 1), NO_DATE, 5),
    ROUND(1, 0, 4, DATE(TUE, 1, 3, 1), NO_DATE, 5),
    ROUND(1, 1, 2, DATE(TUE, 2, 3, 1), DATE(TUE, 3, 3, 1), 6),
    ROUND(1, 0, 1, DATE(SUN, 3, 4, 1), NO_DATE, 10),
};
const ITEMCUPENTRYRULE s_aEntries5[] = {
    ENTRYN(2, 3, 32, 16, 0, 21, 7), ENTRYN(2, 3, 32, 0, 4, 2, 7), ENTRYN(2, 3, 16, 0, 4, 2, 7),
    ENTRYN(2, 3, 8, 0, 4, 2, 7),    ENTRYN(2, 3, 4, 0, 4, 2, 7),  ENTRYN(2, 3, 2, 0, 4, 2, 7),
};

// --- Row 6: England super cup ---
const ITEMCUPROUNDINFORMATION s_aRounds6[] = {ROUND(1, 0, 1, DATE(SAT, 1, 8, 0), NO_DATE, 10)};
const ITEMCUPENTRYRULE s_aEntries6[] = {ENTRYN(0, 0, 2, 0, 4, 45, 7)};

// --- Row 7: Scotland kind 1 ---
const ITEMCUPROUNDINFORMATION s_aRounds7[] = {
    ROUND(1, 0, 16, DATE(SAT, 4, 1, 1), NO_DATE, 5), ROUND(1, 0, 8, DATE(SAT, 3, 2, 1), NO_DATE, 5),
    ROUND(1, 0, 4, DATE(SAT, 2, 3, 1), NO_DATE, 5),  ROUND(1, 0, 2, DATE(SAT, 2, 4, 1), NO_DATE, 5),
    ROUND(1, 0, 1, DATE(SAT, 4, 5, 1), NO_DATE, 10),
};
const ITEMCUPENTRYRULE s_aEntries7[] = {
    ENTRYN(0, 2, 32, 0, 4, 21, 7), ENTRYN(0, 2, 16, 0, 4, 2, 7), ENTRYN(0, 2, 8, 0, 4, 2, 7),
    ENTRYN(0, 2, 4, 0, 4, 2, 7),   ENTRYN(0, 2, 2, 0, 4, 2, 0),
};

// --- Row 8: Scotland kind 0 ---
const ITEMCUPROUNDINFORMATION s_aRounds8[] = {
    ROUND(1, 0, 12, DATE(SAT, 4, 7, 0), NO_DATE, 5), ROUND(1, 0, 8, DATE(WED, 3, 8, 0), NO_DATE, 5),
    ROUND(1, 0, 4, DATE(SAT, 1, 9, 0), NO_DATE, 5),  ROUND(1, 0, 2, DATE(WED, 2, 10, 0), NO_DATE, 5),
    ROUND(1, 0, 1, DATE(SUN, 4, 11, 0), NO_DATE, 10),
};
const uint8_t s_aScotlandKind0Round1[] = {10, 10, 8};
const ITEMCUPENTRYRULE s_aEntries8[] = {
    ENTRY(6, 6, 24, 4, 1, 21, s_aScotlandKind0Round1, 7),
    ENTRYN(6, 6, 16, 0, 4, 2, 7), ENTRYN(6, 6, 8, 0, 4, 2, 7), ENTRYN(6, 6, 4, 0, 4, 2, 7),
    ENTRYN(6, 6, 2, 0, 4, 2, 7),
};

// --- Row 9: France kind 1 ---
const ITEMCUPROUNDINFORMATION s_aRounds9[] = {
    ROUND(1, 0, 32, DATE(SAT, 4, 1, 1), NO_DATE, 5), ROUND(1, 0, 16, DATE(SAT, 2, 2, 1), NO_DATE, 5),
    ROUND(1, 0, 8, DATE(SAT, 1, 3, 1), NO_DATE, 5),  ROUND(1, 0, 4, DATE(SAT, 3, 3, 1), NO_DATE, 5),
    ROUND(1, 0, 2, DATE(WED, 2, 4, 1), NO_DATE, 5),  ROUND(1, 0, 1, DATE(SAT, 1, 5, 1), NO_DATE, 10),
};
const ITEMCUPENTRYRULE s_aEntries9[] = {
    ENTRYN(6, 2, 64, 0, 4, 21, 7), ENTRYN(6, 2, 32, 0, 4, 2, 7), ENTRYN(6, 2, 16, 0, 4, 2, 7),
    ENTRYN(6, 2, 8, 0, 4, 2, 7),   ENTRYN(6, 2, 4, 0, 4, 2, 7),  ENTRYN(6, 2, 2, 0, 4, 2, 0),
};

// --- Row 10: France kind 0 ---
const ITEMCUPROUNDINFORMATION s_aRounds10[] = {
    ROUND(1, 0, 14, DATE(SAT, 1, 11, 0), NO_DATE, 5), ROUND(1, 0, 16, DATE(SAT, 2, 1, 1), NO_DATE, 5),
    // Round 3 is played midweek: the second cup's first round has the fourth Saturday of January.
    ROUND(1, 0, 8, DATE(WED, 4, 1, 1), NO_DATE, 5),   ROUND(1, 0, 4, DATE(SAT, 3, 2, 1), NO_DATE, 5),
    ROUND(1, 0, 2, DATE(SAT, 1, 4, 1), NO_DATE, 5),   ROUND(1, 0, 1, DATE(SAT, 3, 4, 1), NO_DATE, 10),
};
const uint8_t s_aFranceKind0Round1[] = {20, 8};
const ITEMCUPENTRYRULE s_aEntries10[] = {
    ENTRY(1, 2, 28, 0, 4, 21, s_aFranceKind0Round1, 7),
    ENTRYN(0, 2, 32, 0, 4, 2, 7), ENTRYN(0, 2, 16, 0, 4, 2, 7), ENTRYN(0, 2, 8, 0, 4, 2, 7),
    ENTRYN(0, 2, 4, 0, 4, 2, 7),  ENTRYN(0, 2, 2, 0, 4, 2, 7),
};

// --- Row 11: Italy kind 0 ---
const ITEMCUPROUNDINFORMATION s_aRounds11[] = {
    ROUND(1, 1, 14, DATE(SUN, 3, 8, 0), DATE(WED, 1, 9, 0), 6),
    ROUND(1, 1, 16, DATE(SUN, 1, 10, 0), DATE(WED, 2, 10, 0), 6),
    ROUND(1, 0, 8, DATE(SUN, 4, 11, 0), NO_DATE, 6),
    ROUND(1, 0, 4, DATE(WED, 4, 1, 1), NO_DATE, 5),
    ROUND(1, 0, 2, DATE(WED, 2, 2, 1), NO_DATE, 5),
    ROUND(1, 0, 1, DATE(SUN, 2, 4, 1), NO_DATE, 8),
};
const uint8_t s_aItalyKind0Round1[] = {18, 10};
const ITEMCUPENTRYRULE s_aEntries11[] = {
    ENTRY(1, 2, 28, 0, 4, 21, s_aItalyKind0Round1, 7),
    ENTRYN(6, 2, 32, 0, 4, 2, 7), ENTRYN(6, 2, 16, 0, 4, 2, 7), ENTRYN(6, 2, 8, 0, 4, 2, 7),
    ENTRYN(6, 2, 4, 0, 4, 2, 7),  ENTRYN(6, 2, 2, 0, 4, 2, 7),
};

// --- Row 12: Italy super cup ---
const ITEMCUPROUNDINFORMATION s_aRounds12[] = {ROUND(1, 0, 1, DATE(SUN, 1, 8, 0), NO_DATE, 8)};
const ITEMCUPENTRYRULE s_aEntries12[] = {ENTRYN(0, 0, 2, 0, 4, 45, 7)};

// --- Row 13: Germany kind 0 ---
const ITEMCUPROUNDINFORMATION s_aRounds13[] = {
    ROUND(1, 0, 32, DATE(SAT, 1, 8, 0), NO_DATE, 5), ROUND(1, 0, 16, DATE(WED, 2, 10, 0), NO_DATE, 5),
    ROUND(1, 0, 8, DATE(WED, 2, 11, 0), NO_DATE, 5), ROUND(1, 0, 4, DATE(WED, 4, 12, 0), NO_DATE, 5),
    ROUND(1, 0, 2, DATE(WED, 2, 2, 1), NO_DATE, 5),  ROUND(1, 0, 1, DATE(SAT, 4, 5, 1), NO_DATE, 10),
};
const ITEMCUPENTRYRULE s_aEntries13[] = {
    ENTRYN(0, 2, 64, 0, 4, 21, 7), ENTRYN(0, 2, 32, 0, 4, 12, 7), ENTRYN(0, 2, 16, 0, 4, 12, 7),
    ENTRYN(0, 2, 8, 0, 4, 12, 7),  ENTRYN(0, 2, 4, 0, 4, 12, 7),  ENTRYN(0, 2, 2, 0, 4, 2, 7),
};

// --- Row 14: Spain kind 0 ---
const ITEMCUPROUNDINFORMATION s_aRounds14[] = {
    ROUND(1, 1, 20, DATE(WED, 3, 8, 0), DATE(WED, 1, 9, 0), 9),
    ROUND(1, 1, 32, DATE(WED, 1, 10, 0), DATE(WED, 2, 10, 0), 9),
    ROUND(1, 1, 16, DATE(WED, 2, 12, 0), DATE(WED, 4, 12, 0), 9),
    ROUND(1, 1, 8, DATE(WED, 3, 1, 1), DATE(WED, 2, 2, 1), 9),
    ROUND(1, 1, 4, DATE(SAT, 4, 2, 1), DATE(SAT, 2, 3, 1), 9),
    ROUND(1, 1, 2, DATE(WED, 2, 4, 1), DATE(WED, 4, 4, 1), 9),
    ROUND(1, 0, 1, DATE(WED, 3, 5, 1), NO_DATE, 10),
};
const ITEMCUPENTRYRULE s_aEntries14[] = {
    ENTRYN(2, 2, 40, 2, 0, 21, 7), ENTRYN(0, 1, 64, 0, 4, 2, 7), ENTRYN(0, 1, 32, 0, 4, 2, 7),
    ENTRYN(0, 1, 16, 0, 4, 2, 7),  ENTRYN(0, 1, 8, 0, 4, 2, 7),  ENTRYN(0, 1, 4, 0, 4, 2, 7),
    ENTRYN(0, 1, 2, 0, 4, 2, 7),
};

// --- Row 15: Holland kind 0 ---
const ITEMCUPROUNDINFORMATION s_aRounds15[] = {
    ROUND(1, 0, 16, DATE(SAT, 1, 8, 0), NO_DATE, 5), ROUND(1, 0, 8, DATE(SAT, 2, 9, 0), NO_DATE, 5),
    ROUND(1, 0, 4, DATE(SAT, 2, 11, 0), NO_DATE, 5), ROUND(1, 0, 2, DATE(SAT, 1, 2, 1), NO_DATE, 5),
    ROUND(1, 0, 1, DATE(SAT, 1, 3, 1), NO_DATE, 10),
};
const ITEMCUPENTRYRULE s_aEntries15[] = {
    ENTRYN(6, 1, 32, 0, 4, 21, 7), ENTRYN(6, 1, 16, 0, 4, 2, 7), ENTRYN(6, 1, 8, 0, 4, 2, 7),
    ENTRYN(6, 1, 4, 0, 4, 2, 7),   ENTRYN(6, 1, 2, 0, 4, 2, 7),
};

// --- Row 16: Holland super cup ---
const ITEMCUPROUNDINFORMATION s_aRounds16[] = {ROUND(1, 0, 1, DATE(SAT, 2, 8, 0), NO_DATE, 8)};
const ITEMCUPENTRYRULE s_aEntries16[] = {ENTRYN(6, 6, 2, 0, 4, 45, 7)};

// --- Row 17: Belgium kind 0 ---
const ITEMCUPROUNDINFORMATION s_aRounds17[] = {
    ROUND(1, 0, 12, DATE(SUN, 4, 8, 0), NO_DATE, 5),
    ROUND(1, 0, 16, DATE(SUN, 3, 10, 0), NO_DATE, 5),
    ROUND(1, 0, 8, DATE(SUN, 3, 12, 0), NO_DATE, 5),
    ROUND(1, 0, 4, DATE(SUN, 4, 2, 1), NO_DATE, 5),
    ROUND(1, 1, 2, DATE(WED, 2, 4, 1), DATE(SUN, 4, 4, 1), 6),
    ROUND(1, 0, 1, DATE(SUN, 3, 5, 1), NO_DATE, 10),
};
const uint8_t s_aBelgiumKind0Round1[] = {18, 8};
const ITEMCUPENTRYRULE s_aEntries17[] = {
    ENTRY(1, 2, 24, 2, 0, 21, s_aBelgiumKind0Round1, 7),
    ENTRYN(0, 2, 32, 0, 4, 2, 7), ENTRYN(0, 2, 16, 0, 4, 2, 7), ENTRYN(0, 2, 8, 0, 4, 2, 7),
    ENTRYN(0, 2, 4, 0, 4, 2, 7),  ENTRYN(0, 2, 2, 0, 4, 2, 7),
};

// --- Row 18: Portugal kind 0 ---
const ITEMCUPROUNDINFORMATION s_aRounds18[] = {
    ROUND(1, 0, 4, DATE(SAT, 1, 9, 0), NO_DATE, 5),  ROUND(1, 0, 16, DATE(SAT, 3, 10, 0), NO_DATE, 5),
    ROUND(1, 0, 8, DATE(SAT, 2, 11, 0), NO_DATE, 5), ROUND(1, 0, 4, DATE(SAT, 1, 2, 1), NO_DATE, 5),
    ROUND(1, 0, 2, DATE(SAT, 1, 3, 1), NO_DATE, 5),  ROUND(1, 0, 1, DATE(SAT, 1, 4, 1), NO_DATE, 10),
};
const ITEMCUPENTRYRULE s_aEntries18[] = {
    ENTRYN(1, 1, 8, 10, 0, 21, 7), ENTRYN(6, 1, 32, 0, 4, 2, 7), ENTRYN(6, 1, 16, 0, 4, 2, 7),
    ENTRYN(6, 1, 8, 0, 4, 2, 7),   ENTRYN(6, 1, 4, 0, 4, 2, 7),  ENTRYN(6, 1, 2, 0, 4, 2, 7),
};

#undef ROUND
#undef DATE
#undef ENTRY
#undef ENTRYN
#undef ENTRYR

// --- Prize money, one row per definition row ---
const uint32_t s_aPrize0[] = {2000, 4000, 8000, 16000, 32000, 64000, 128000, 256000};
const uint32_t s_aPrize1[] = {0,      65000,  0,      65000,  854000, 65000,  213540, 427000, 213540, 427000,
                              213540, 427000, 213540, 427000, 213540, 427000, 213540, 427000, 213540};
const uint32_t s_aPrize2[] = {125000};
const uint32_t s_aPrize3[] = {2000, 3000, 5000, 15000, 25000, 40000, 75000, 1000000};
const uint32_t s_aPrize4[] = {100000, 75000};
const uint32_t s_aPrize5[] = {75000, 0};
const uint32_t s_aPrize6[] = {75000};
const uint32_t s_aPrize7[] = {1000, 2000, 6000, 10000, 50000};
const uint32_t s_aPrize8[] = {1000, 2000, 4000, 6000, 12000};
const uint32_t s_aPrize9[] = {5000, 10000, 15000, 30000, 100000, 250000};
const uint32_t s_aPrize10[] = {2000, 5000, 10000, 17500, 50000, 175000};
const uint32_t s_aPrize11[] = {1200, 5000, 25000, 75000, 100000, 500000};
const uint32_t s_aPrize12[] = {50000};
const uint32_t s_aPrize13[] = {2500, 7000, 10000, 25000, 55000, 100000};
const uint32_t s_aPrize14[] = {1000, 2000, 5000, 10000, 25000, 50000, 150000};
const uint32_t s_aPrize15[] = {1000, 2500, 4000, 10000, 50000};
const uint32_t s_aPrize16[] = {50000};
const uint32_t s_aPrize17[] = {500, 1000, 2000, 5000, 10000, 25000};
const uint32_t s_aPrize18[] = {500, 1000, 3000, 9000, 12000, 50000};

#define PRIZE(type, arr) {type, arr, static_cast<uint8_t>(sizeof(arr) / sizeof(arr[0]))}
const ITEMCUPPRIZEINFORMATION s_aPrizes[CUP_STRUCTURE_ROWS] = {
    PRIZE(1, s_aPrize0),  PRIZE(5, s_aPrize1),  PRIZE(1, s_aPrize2),  PRIZE(0, s_aPrize3),  PRIZE(2, s_aPrize4),
    PRIZE(2, s_aPrize5),  PRIZE(1, s_aPrize6),  PRIZE(1, s_aPrize7),  PRIZE(1, s_aPrize8),  PRIZE(0, s_aPrize9),
    PRIZE(0, s_aPrize10), PRIZE(1, s_aPrize11), PRIZE(1, s_aPrize12), PRIZE(0, s_aPrize13), PRIZE(0, s_aPrize14),
    PRIZE(0, s_aPrize15), PRIZE(1, s_aPrize16), PRIZE(0, s_aPrize17), PRIZE(0, s_aPrize18),
};
#undef PRIZE

template <size_t N>
constexpr uint8_t RoundCount(const ITEMCUPROUNDINFORMATION (&)[N])
{
    return static_cast<uint8_t>(N);
}

// Owner, kind, identifier, rounds, calendar, flag, extra flag, tie slots, entrant count, prizes, entry rules.
// A cup with replays (extra flag) keeps a table of its pending replays.
#define CUPX(row, owner, kind, id, flag, extra, slots, entrants)                                                  \
    {owner, kind, id, RoundCount(s_aRounds##row), s_aRounds##row, flag, extra, slots, entrants, &s_aPrizes[row], \
     s_aEntries##row}
#define CUP(row, owner, kind, id, flag, slots, entrants) CUPX(row, owner, kind, id, flag, 0, slots, entrants)
const ITEMCUPSTRUCTUREINFORMATION s_aCupStructure[CUP_STRUCTURE_ROWS + 1] = {
    CUP(0, "European", 0, 1, 1, 96, 0),  CUP(1, "European", 1, 2, 1, 32, 52), CUP(2, "European", 3, 3, 0, 1, 0),
    CUPX(3, "England", 1, 5, 1, 1, 42, 0),   CUP(4, "England", 0, 6, 1, 36, 6),   CUP(5, "England", 5, 7, 1, 32, 16),
    CUP(6, "England", 3, 4, 0, 1, 0),    CUP(7, "Scotland", 1, 8, 1, 32, 0),  CUP(8, "Scotland", 0, 9, 1, 24, 4),
    CUP(9, "France", 1, 10, 1, 64, 0),   CUP(10, "France", 0, 11, 1, 32, 0),  CUP(11, "Italy", 0, 13, 1, 32, 0),
    CUP(12, "Italy", 3, 12, 0, 2, 0),    CUP(13, "Germany", 0, 14, 1, 64, 0), CUP(14, "Spain", 0, 15, 1, 64, 2),
    CUP(15, "Holland", 0, 16, 0, 32, 0), CUP(16, "Holland", 3, 17, 0, 1, 0),  CUP(17, "Belgium", 0, 18, 1, 32, 2),
    CUP(18, "Portugal", 0, 19, 1, 32, 10),
    {nullptr, 0, 0, 0, nullptr, 0, 0, 0, 0, nullptr, nullptr},
};
#undef CUP
#undef CUPX

// The entry rules must run alongside the calendar, round for round.
static_assert(sizeof(s_aEntries0) / sizeof(s_aEntries0[0]) == sizeof(s_aRounds0) / sizeof(s_aRounds0[0]));
static_assert(sizeof(s_aEntries1) / sizeof(s_aEntries1[0]) == sizeof(s_aRounds1) / sizeof(s_aRounds1[0]));
static_assert(sizeof(s_aEntries3) / sizeof(s_aEntries3[0]) == sizeof(s_aRounds3) / sizeof(s_aRounds3[0]));
static_assert(sizeof(s_aEntries4) / sizeof(s_aEntries4[0]) == sizeof(s_aRounds4) / sizeof(s_aRounds4[0]));
static_assert(sizeof(s_aEntries5) / sizeof(s_aEntries5[0]) == sizeof(s_aRounds5) / sizeof(s_aRounds5[0]));
static_assert(sizeof(s_aEntries7) / sizeof(s_aEntries7[0]) == sizeof(s_aRounds7) / sizeof(s_aRounds7[0]));
static_assert(sizeof(s_aEntries8) / sizeof(s_aEntries8[0]) == sizeof(s_aRounds8) / sizeof(s_aRounds8[0]));
static_assert(sizeof(s_aEntries9) / sizeof(s_aEntries9[0]) == sizeof(s_aRounds9) / sizeof(s_aRounds9[0]));
static_assert(sizeof(s_aEntries10) / sizeof(s_aEntries10[0]) == sizeof(s_aRounds10) / sizeof(s_aRounds10[0]));
static_assert(sizeof(s_aEntries11) / sizeof(s_aEntries11[0]) == sizeof(s_aRounds11) / sizeof(s_aRounds11[0]));
static_assert(sizeof(s_aEntries13) / sizeof(s_aEntries13[0]) == sizeof(s_aRounds13) / sizeof(s_aRounds13[0]));
static_assert(sizeof(s_aEntries14) / sizeof(s_aEntries14[0]) == sizeof(s_aRounds14) / sizeof(s_aRounds14[0]));
static_assert(sizeof(s_aEntries15) / sizeof(s_aEntries15[0]) == sizeof(s_aRounds15) / sizeof(s_aRounds15[0]));
static_assert(sizeof(s_aEntries17) / sizeof(s_aEntries17[0]) == sizeof(s_aRounds17) / sizeof(s_aRounds17[0]));
static_assert(sizeof(s_aEntries18) / sizeof(s_aEntries18[0]) == sizeof(s_aRounds18) / sizeof(s_aRounds18[0]));

CDate NthWeekday(const CUPROUNDDATE& date, int nSeasonYear)
{
    CDate result;
    result.SetNthWeekday(date.byMonth, nSeasonYear + date.byYearOffset, date.byWeekday, date.byNth);
    return result;
}

bool HasDate(const CUPROUNDDATE& date)
{
    return date.byMonth >= 1 && date.byMonth <= 12 && date.byWeekday <= 6 && date.byNth >= 1;
}

} // namespace

const char* const g_apszCountryByesNames[COUNTRY_BYES_MAX + 1] = {
    "COUNTRY_BYES_EUROPEANCUP4", "COUNTRY_BYES_EUROPEANCUP3", "COUNTRY_BYES_EUROPEANCUP2",
    "COUNTRY_BYES_EUROPEANCUP1", "COUNTRY_BYES_KAVOCUP2    ", "COUNTRY_BYES_KAVOCUP1    ",
    "COUNTRY_BYES_KAVOCUP1C   ", "COUNTRY_BYES_KAVOCUP2C   ", "COUNTRY_BYES_MAX         ",
};

const ITEMCUPSTRUCTUREINFORMATION* GetCupStructureTable()
{
    return s_aCupStructure;
}

const ITEMCUPSTRUCTUREINFORMATION* GetCupStructureRecord(int nKind, const char* pszCountryName)
{
    const char* pszOwner = pszCountryName ? pszCountryName : CUP_OWNER_EUROPEAN;
    for (const ITEMCUPSTRUCTUREINFORMATION* p = s_aCupStructure; p->pszOwnerName; ++p) {
        if (p->byKind == nKind && std::strcmp(p->pszOwnerName, pszOwner) == 0)
            return p;
    }
    return nullptr;
}

namespace {

// Countries with more than one knock-out cup besides a super cup keep a
// table of them; entry 0 is empty and entry i is the country's i-th cup
// definition (super cups left out).
struct COUNTRYCUPENTRIES {
    const char* pszCountry;
    int nCount;
};
constexpr COUNTRYCUPENTRIES s_aCountryCups[] = {
    {"England", 4},
    {"Spain", 2},
    {"Holland", 2},
    {"Belgium", 2},
};

}  // namespace

const ITEMCUPSTRUCTUREINFORMATION* GetCountryCupEntryByName(const char* pszCountry, int nIndex)
{
    if (!pszCountry || nIndex <= 0)
        return nullptr;
    for (const COUNTRYCUPENTRIES& row : s_aCountryCups) {
        if (std::strcmp(row.pszCountry, pszCountry) != 0)
            continue;
        if (nIndex >= row.nCount)
            return nullptr;
        int nSeen = 0;
        for (const ITEMCUPSTRUCTUREINFORMATION* p = s_aCupStructure; p->pszOwnerName; ++p)
            if (p->byKind != CUP_KIND_SUPER && std::strcmp(p->pszOwnerName, pszCountry) == 0 && ++nSeen == nIndex)
                return p;
        return nullptr;
    }
    return nullptr;
}

const ITEMCUPMATCHRULES* GetCupMatchRules(int nRecord)
{
    if (nRecord < 0 || nRecord >= CUP_MATCH_RULES_COUNT)
        return nullptr;
    return &s_aMatchRules[nRecord];
}

CDate GetCupRoundDate(const ITEMCUPROUNDINFORMATION& round, bool bSecondLeg, int nSeasonYear)
{
    const CUPROUNDDATE& date = bSecondLeg ? round.second : round.first;
    if (!HasDate(date))
        return CDate();
    return NthWeekday(date, nSeasonYear);
}

CDate GetEuropeanCupRoundDate(const ITEMCUPROUNDINFORMATION& round, bool bSecondLeg, const CDate& seasonDate)
{
    const CUPROUNDDATE& date = bSecondLeg ? round.second : round.first;
    if (!HasDate(date))
        return CDate();
    if (bSecondLeg)
        return NthWeekday(date, seasonDate.GetYear());
    CDate result;
    result.SetNthWeekdayFrom(date.byWeekday, date.byNth, date.byMonth, seasonDate.GetYear() + date.byYearOffset,
                             seasonDate, 1);
    return result;
}

CDate GetDomesticCupRoundDate(const ITEMCUPROUNDINFORMATION& round, bool bSecondLeg, int nKind, int nSeasonYear,
                              const CDate& seasonStart)
{
    const CUPROUNDDATE& date = bSecondLeg ? round.second : round.first;
    if (!HasDate(date))
        return CDate();
    if (bSecondLeg || nKind != CUP_KIND_SUPER)
        return NthWeekday(date, nSeasonYear);
    CDate result;
    result.SetNthWeekdayFrom(date.byWeekday, date.byNth, date.byMonth, nSeasonYear + date.byYearOffset, seasonStart,
                             0);
    return result;
}

int GetCupRoundLegState(const CDate& date, const ITEMCUPROUNDINFORMATION& round, bool bFlag, int nSeasonYear)
{
    // "Less than two days from the date" on either side: the day before, the day itself or the day after.
    auto isNear = [&date](const CDate& matchDay) { return std::abs(matchDay.DaysBetween(date)) < 2; };
    if (isNear(GetCupRoundDate(round, false, nSeasonYear)))
        return 0;
    if (round.byLegs != CUP_LEGS_TWO)
        return bFlag ? 2 : 0;
    if (isNear(GetCupRoundDate(round, true, nSeasonYear)))
        return 1;
    return bFlag ? 2 : 1;
}

uint32_t GetCupRoundEventKey(int nRound, int nKind, bool bSecondLeg, bool bEuropean)
{
    uint32_t dwKey = static_cast<uint32_t>(nRound * 32 + nKind);
    if (bSecondLeg)
        dwKey += 0x10000;
    if (bEuropean)
        dwKey += 0x8000;
    return dwKey;
}

bool GetCupPrizeAmounts(const ITEMCUPSTRUCTUREINFORMATION& cup, int nRound, bool bGroupDay, bool bDrawn,
                        uint32_t& dwFirst, uint32_t& dwSecond)
{
    dwFirst = 0;
    dwSecond = 0;
    const ITEMCUPPRIZEINFORMATION* pPrize = cup.pPrizes;
    if (!pPrize || nRound < 1)
        return false;
    // Amounts past the end of a cup's table pay nothing rather than whatever lies beyond it.
    auto amount = [pPrize](int nIndex) -> uint32_t {
        if (nIndex < 0 || nIndex >= pPrize->byAmountCount) {
            DebugLog(2, "[GetCupPrizeAmounts] No prize amount %d in a table of %d", nIndex, pPrize->byAmountCount);
            return 0;
        }
        return pPrize->pAmounts[nIndex];
    };
    switch (pPrize->dwPaymentType) {
    case 0:
        dwFirst = amount(nRound - 1);
        return true;
    case 1:
        dwFirst = dwSecond = amount(nRound - 1);
        return true;
    case 2:
        if (nRound == cup.byRounds) {
            dwFirst = amount(0);
            dwSecond = amount(1);
        }
        return true;
    case 3:
    case 4:
        return true;
    case 5: {
        const int i = 2 * (nRound - 1);
        if (bGroupDay) {
            if (bDrawn)
                dwFirst = dwSecond = amount(i);
            else
                dwFirst = amount(i + 1);
        } else {
            dwFirst = amount(i);
            dwSecond = amount(i + 1);
        }
        return true;
    }
    default:
        DebugLog(2, "Unknown Cup Payment type");
        return false;
    }
}
