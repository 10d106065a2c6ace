// The static cup definitions: the invariants the cup code relies on, the
// calendar dates of a season and the prize money rules.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "../database/GameTree.h"
#include "season/CupStructureTable.h"

namespace {

int CountRows()
{
    int n = 0;
    for (const ITEMCUPSTRUCTUREINFORMATION* p = GetCupStructureTable(); p->pszOwnerName; ++p)
        ++n;
    return n;
}

const ITEMCUPSTRUCTUREINFORMATION& Row(int n)
{
    return GetCupStructureTable()[n];
}

} // namespace

TEST(CupStructure, TableInvariants)
{
    ASSERT_EQ(CountRows(), CUP_STRUCTURE_ROWS);
    EXPECT_EQ(GetCupStructureTable()[CUP_STRUCTURE_ROWS].pszOwnerName, nullptr);
    std::set<int> ids;
    std::set<std::pair<std::string, int>> ownerKinds;
    for (int r = 0; r < CUP_STRUCTURE_ROWS; ++r) {
        const ITEMCUPSTRUCTUREINFORMATION& cup = Row(r);
        SCOPED_TRACE(std::string(cup.pszOwnerName) + " row " + std::to_string(r));
        // Identifiers 1-19, unique; each owner holds a kind once; only kinds 0, 1, 3, 5.
        EXPECT_TRUE(cup.byCupID >= 1 && cup.byCupID <= 19);
        EXPECT_TRUE(ids.insert(cup.byCupID).second);
        EXPECT_TRUE(ownerKinds.insert({cup.pszOwnerName, cup.byKind}).second);
        EXPECT_TRUE(cup.byKind == 0 || cup.byKind == 1 || cup.byKind == 3 || cup.byKind == 5);
        ASSERT_NE(cup.pRounds, nullptr);
        ASSERT_NE(cup.pEntryRules, nullptr);
        ASSERT_NE(cup.pPrizes, nullptr);
        int nLargest = 0;
        bool bReplays = false;
        for (int i = 0; i < cup.byRounds; ++i) {
            const ITEMCUPROUNDINFORMATION& round = cup.pRounds[i];
            const ITEMCUPENTRYRULE& entry = cup.pEntryRules[i];
            nLargest = std::max(nLargest, static_cast<int>(round.byTies));
            bReplays |= entry.byReplay != 0;
            ASSERT_NE(round.pMatchRules, nullptr);
            EXPECT_LE(round.byLegs, 2);
            // The clubs a round must hold fill its ties exactly.
            EXPECT_EQ(entry.wClubs, 2 * round.byTies) << "round " << i + 1;
            // Group rounds say how many clubs make a group.
            if (round.byLegs == CUP_LEGS_GROUP) {
                ASSERT_NE(entry.pClubsPerDivision, nullptr);
                EXPECT_EQ(entry.pClubsPerDivision[0], 4);
            }
        }
        // Every round has a tie slot.
        EXPECT_GE(cup.wTieSlots, nLargest);
        // A cup that replays level ties keeps a table of its pending replays.
        EXPECT_EQ(cup.byExtraFlag != 0, bReplays);
        // A per-division array of a domestic round 1 sums to its clubs plus its entry count.
        const ITEMCUPENTRYRULE& first = cup.pEntryRules[0];
        if (std::strcmp(cup.pszOwnerName, CUP_OWNER_EUROPEAN) != 0 && first.pClubsPerDivision) {
            int nSum = 0;
            for (int d = 0; d < first.byClubsPerDivisionCount; ++d)
                nSum += first.pClubsPerDivision[d];
            EXPECT_EQ(nSum - first.byEntryCount, first.wClubs);
        }
    }
    // The nine countries with cups, and no row for anyone else.
    EXPECT_EQ(GetCupStructureRecord(0, "Denmark"), nullptr);
    EXPECT_EQ(GetCupStructureRecord(1, "England")->byCupID, 5);
    EXPECT_EQ(GetCupStructureRecord(3, nullptr)->byCupID, 3);
    EXPECT_EQ(GetCupStructureRecord(5, nullptr), nullptr);
    EXPECT_EQ(GetCupStructureRecord(0, "Portugal")->wEntrantCount, 10);
    // England's main cup replays level ties of its first six rounds, ten days on.
    const ITEMCUPSTRUCTUREINFORMATION* pMain = GetCupStructureRecord(1, "England");
    for (int i = 1; i < pMain->byRounds; ++i) {
        const ITEMCUPENTRYRULE& rule = pMain->pEntryRules[i];
        EXPECT_EQ(rule.byReplay, i <= 6 ? 1 : 0) << "rule " << i;
        if (rule.byReplay)
            EXPECT_EQ(rule.byReplayDays, 10);
    }
}

TEST(CupStructure, RoundDetailsThatTheDrawsRead)
{
    // The English lower-division cup plays 16 ties in each of its first two rounds.
    const ITEMCUPSTRUCTUREINFORMATION* pLower = GetCupStructureRecord(5, "England");
    ASSERT_NE(pLower, nullptr);
    EXPECT_EQ(pLower->pRounds[0].byTies, 16);
    EXPECT_EQ(pLower->pRounds[1].byTies, 16);
    // The European super cup keeps zero second-leg bytes; other one-leg rounds 255.
    const ITEMCUPROUNDINFORMATION& super = GetCupStructureRecord(3, nullptr)->pRounds[0];
    EXPECT_EQ(super.second.byWeekday, 0);
    EXPECT_EQ(super.second.byMonth, 0);
    EXPECT_EQ(pLower->pRounds[0].second.byWeekday, 255);
    // Finals of the Scottish and French kind-1 cups have no replay days.
    const ITEMCUPSTRUCTUREINFORMATION* pScotland = GetCupStructureRecord(1, "Scotland");
    EXPECT_EQ(pScotland->pEntryRules[pScotland->byRounds - 1].byReplayDays, 0);
    EXPECT_EQ(pScotland->pEntryRules[0].byReplayDays, 7);
    const ITEMCUPSTRUCTUREINFORMATION* pFrance = GetCupStructureRecord(1, "France");
    EXPECT_EQ(pFrance->pEntryRules[pFrance->byRounds - 1].byReplayDays, 0);
    // The European entry rounds and the English kind-1 first round.
    const ITEMCUPSTRUCTUREINFORMATION* pFirst = GetCupStructureRecord(1, nullptr);
    EXPECT_EQ(pFirst->pEntryRules[0].pClubsPerDivision[0], 18);
    EXPECT_EQ(pFirst->pEntryRules[2].pClubsPerDivision[0], 16);
    EXPECT_EQ(GetCupStructureRecord(0, nullptr)->pEntryRules[0].pClubsPerDivision[0], 26);
    const ITEMCUPENTRYRULE& english = GetCupStructureRecord(1, "England")->pEntryRules[0];
    ASSERT_EQ(english.byClubsPerDivisionCount, 4);
    EXPECT_EQ(english.pClubsPerDivision[2], 19);
    // Match rules: the Spanish two-leg rounds and the domestic finals.
    EXPECT_EQ(GetCupStructureRecord(0, "Spain")->pRounds[0].pMatchRules->byRules, 0x55);
    const ITEMCUPMATCHRULES* pFinal = GetCupStructureRecord(0, "Germany")->pRounds[5].pMatchRules;
    EXPECT_EQ(pFinal->byVenue, CUP_VENUE_NATIONAL_GROUND);
    EXPECT_EQ(pFinal->bySubstitutesNamed, 7);
    EXPECT_EQ(GetCupMatchRules(11), nullptr);
}

TEST(CupStructure, CupNumbers)
{
    EXPECT_EQ(MakeCupNumberFromKind(0, 0), 0);
    EXPECT_EQ(MakeCupNumberFromKind(1, 3), 23);
    EXPECT_EQ(GetCupNumberKind(23), 1);
    EXPECT_EQ(GetCupNumberCountry(23), 3);
    EXPECT_EQ(GetCupNumberKind(3), 0);
    EXPECT_EQ(GetCupNumberCountry(3), 3);
    EXPECT_EQ(GetCupTiedBit(1, 3), 1u << 7);
    EXPECT_EQ(GetCupRoundEventKey(4, 1, true, true), 4u * 32 + 1 + 0x10000 + 0x8000);
    EXPECT_EQ(GetCupRoundEventKey(2, 5, false, false), 69u);
    EXPECT_EQ(GetCupDrawEventKey(3), 1539u);
    for (int i = 0; i < COUNTRY_BYES_MAX + 1; ++i)
        EXPECT_EQ(std::strlen(g_apszCountryByesNames[i]), 25u) << i;
}

TEST(CupStructure, CalendarOfASeason)
{
    const int nYear = 2024;
    // Hand-counted dates of the season 2024-25.
    struct Case {
        int nRow, nRound;
        bool bSecond;
        CDate expected;
    } cases[] = {
        {3, 1, false, CDate(2024, 11, 16)},  // 3rd Saturday of November
        {1, 18, false, CDate(2025, 5, 28)},  // 4th Wednesday of May, next year
        {1, 1, true, CDate(2024, 7, 17)},    // 3rd Wednesday of July
        {4, 7, false, CDate(2025, 2, 16)},   // 3rd Sunday of February
        {2, 1, false, CDate(2024, 8, 23)},   // 4th Friday of August
    };
    for (const Case& c : cases) {
        const CDate date = GetCupRoundDate(Row(c.nRow).pRounds[c.nRound - 1], c.bSecond, nYear);
        EXPECT_EQ(date, c.expected) << "row " << c.nRow << " round " << c.nRound;
    }
    // A one-leg round has no second date.
    EXPECT_EQ(GetCupRoundDate(Row(3).pRounds[0], true, nYear).GetValue(), 0u);

    // Every calendar runs in date order: each round after the one before,
    // a second leg after its first.
    for (int r = 0; r < CUP_STRUCTURE_ROWS; ++r) {
        const ITEMCUPSTRUCTUREINFORMATION& cup = Row(r);
        CDate last;
        for (int i = 0; i < cup.byRounds; ++i) {
            const ITEMCUPROUNDINFORMATION& round = cup.pRounds[i];
            const CDate first = GetCupRoundDate(round, false, nYear);
            ASSERT_TRUE(first.IsValid()) << cup.pszOwnerName << " round " << i + 1;
            EXPECT_GT(first, last) << cup.pszOwnerName << " kind " << int(cup.byKind) << " round " << i + 1;
            last = first;
            if (round.byLegs == CUP_LEGS_TWO) {
                const CDate second = GetCupRoundDate(round, true, nYear);
                EXPECT_GT(second, first) << cup.pszOwnerName << " round " << i + 1;
                last = second;
            }
        }
    }
}

TEST(CupStructure, EuropeanAndSuperCupDates)
{
    // First Monday of July 2024 is the 1st; a date not after it moves to the
    // first such weekday on or after it.
    const CDate season(2024, 7, 1);
    const ITEMCUPROUNDINFORMATION& round1 = Row(1).pRounds[0];
    EXPECT_EQ(GetEuropeanCupRoundDate(round1, false, season), CDate(2024, 7, 10));
    EXPECT_EQ(GetEuropeanCupRoundDate(round1, true, season), CDate(2024, 7, 17));
    EXPECT_EQ(GetEuropeanCupRoundDate(round1, false, CDate(2024, 7, 12)), CDate(2024, 7, 17));
    // A domestic super cup on or after the season start moves back to the
    // Sunday that begins the season's week; earlier ones stay.
    const ITEMCUPROUNDINFORMATION& super = GetCupStructureRecord(3, "England")->pRounds[0];
    EXPECT_EQ(GetDomesticCupRoundDate(super, false, 3, 2024, CDate(2024, 8, 10)), CDate(2024, 8, 3));
    EXPECT_EQ(GetDomesticCupRoundDate(super, false, 3, 2024, CDate(2024, 8, 1)), CDate(2024, 7, 28));
    // Other kinds keep the plain date.
    EXPECT_EQ(GetDomesticCupRoundDate(Row(3).pRounds[0], false, 1, 2024, CDate(2024, 8, 1)), CDate(2024, 11, 16));
}

TEST(CupStructure, RoundLegState)
{
    const ITEMCUPROUNDINFORMATION& twoLegs = Row(1).pRounds[0];  // 10 and 17 July 2024
    const ITEMCUPROUNDINFORMATION& oneLeg = Row(3).pRounds[0];   // 16 November 2024
    struct Case {
        const ITEMCUPROUNDINFORMATION* pRound;
        CDate date;
        bool bFlag;
        int nExpected;
    } cases[] = {
        {&twoLegs, CDate(2024, 7, 9), false, 0},   // first leg tomorrow
        {&twoLegs, CDate(2024, 7, 1), false, 1},   {&twoLegs, CDate(2024, 7, 1), true, 2},
        {&twoLegs, CDate(2024, 7, 16), true, 1},   // second leg tomorrow
        {&oneLeg, CDate(2024, 11, 1), true, 2},    {&oneLeg, CDate(2024, 11, 1), false, 0},
        {&oneLeg, CDate(2024, 11, 17), true, 0},   // the day after the match
        {&oneLeg, CDate(2024, 11, 20), true, 2},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetCupRoundLegState(c.date, *c.pRound, c.bFlag, 2024), c.nExpected)
            << c.date.GetMonth() << "/" << c.date.GetDay() << " flag " << c.bFlag;
}

TEST(CupStructure, PrizeMoney)
{
    struct Case {
        int nRow, nRound;
        bool bGroup, bDrawn;
        uint32_t dwFirst, dwSecond;
    } cases[] = {
        {3, 8, false, false, 1000000, 0},   // type 0: winner only
        {0, 2, false, false, 4000, 4000},   // type 1: both clubs
        {4, 6, false, false, 0, 0},         // type 2: only the last round pays
        {4, 7, false, false, 100000, 75000},
        {1, 3, false, false, 854000, 65000},  // type 5, knock-out pairs
        {1, 4, true, true, 213540, 213540},   // type 5, drawn group match
        {1, 4, true, false, 427000, 0},       // type 5, won group match
        {1, 10, true, false, 0, 0},           // beyond the amounts of the table: nothing
    };
    LogCapture log;
    for (const Case& c : cases) {
        uint32_t dwFirst = 1, dwSecond = 1;
        EXPECT_TRUE(GetCupPrizeAmounts(Row(c.nRow), c.nRound, c.bGroup, c.bDrawn, dwFirst, dwSecond));
        EXPECT_EQ(dwFirst, c.dwFirst) << "row " << c.nRow << " round " << c.nRound;
        EXPECT_EQ(dwSecond, c.dwSecond) << "row " << c.nRow << " round " << c.nRound;
    }
    EXPECT_TRUE(log.Contains("[GetCupPrizeAmounts] No prize amount 19"));
}
