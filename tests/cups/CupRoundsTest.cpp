// Cups in play on the starting world: domestic cups drawn, played and won
// round by round, two-leg and level ties decided, European groups, cup-tied
// marks, and a whole season through the day loop.
#include "../database/ClubBooks.h"
#include "../dayloop/DayLoopSupport.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CEventsDatabase.h"
#include "database/CManagerDatabase.h"
#include "season/CDomesticCupsDatabase.h"
#include "season/CEuropeanCupDatabase.h"
#include "season/CupStructureTable.h"

#include <algorithm>
#include <map>
#include <set>

namespace cups_test {

using dayloop_test::DayLoopWorld;

constexpr uint32_t kDrawOnly = 0x400;
constexpr uint32_t kPrepare = 0x200;

class CupRounds : public DayLoopWorld {
protected:
    CCountryDatabase* Country(const char* pszName)
    {
        for (CCountryDatabase* pCountry : H().GetCountries().Items<CCountryDatabase>())
            if (std::string(pCountry->GetName()) == pszName)
                return pCountry;
        return nullptr;
    }

    // The earliest unplayed fixture date of the cup number in the list; an
    // empty date when none is left.
    static CDate NextDate(const CXList& fixtures, CUP_NUMBER byCup)
    {
        CDate next;
        for (const CCupFixturesDatabase* p : fixtures.Items<CCupFixturesDatabase>())
            if (p->GetCupNumber() == byCup && !p->IsPlayed() && (!next.IsValid() || p->GetDate() < next))
                next = p->GetDate();
        return next;
    }

    static std::set<ID_CLUB> ClubsOfRound(const CUP& cup)
    {
        std::set<ID_CLUB> clubs;
        for (int t = 0; t < cup.GetTiesInUse(); ++t) {
            if (cup.GetTie(t)->wHomeClub)
                clubs.insert(cup.GetTie(t)->wHomeClub);
            if (cup.GetTie(t)->wAwayClub)
                clubs.insert(cup.GetTie(t)->wAwayClub);
        }
        return clubs;
    }

    struct RoundSeen {
        int nRound;
        int nClubs;
        std::set<ID_CLUB> clubs;
        std::set<ID_CLUB> winners;
    };

    // Draws round 1 as the draw event does, then plays each match day of the
    // cup and runs the next day's settlement, recording every round.
    std::vector<RoundSeen> PlayDomesticCup(CCountryDatabase& country, int nKind)
    {
        std::vector<RoundSeen> rounds;
        CDomesticCupsDatabase& cups = *country.GetDomesticCups();
        country.RunCupRoundEvent(GetCupDrawEventKey(nKind));
        const CUP_NUMBER byCup = MakeCupNumberFromKind(nKind, country.GetID());
        for (int nGuard = 0; nGuard < 40; ++nGuard) {
            const CUP* pCup = cups.GetCup(nKind);
            const CDate date = NextDate(country.GetCupFixtures(), byCup);
            if (!pCup || !date.IsValid())
                break;
            if (rounds.empty() || rounds.back().nRound != pCup->byRound)
                rounds.push_back({pCup->byRound, pCup->wClubsDrawn, ClubsOfRound(*pCup), {}});
            H().SetGameDate(date);
            EXPECT_GT(country.PlayCupFixtures(date, nullptr), 0);
            H().SetGameDate(CDate(date.GetValue(), 1));
            country.RunCupRoundEvent(static_cast<uint32_t>(nKind));
        }
        return rounds;
    }
};

TEST_F(CupRounds, DomesticCupGoesFromDrawToFinalHalvingTheField)
{
    // Holland's national cup: 32 clubs, one match a round, no new entrants
    // after round 1.
    CCountryDatabase* pHolland = Country("Holland");
    ASSERT_NE(pHolland, nullptr);
    const std::vector<RoundSeen> rounds = PlayDomesticCup(*pHolland, CUP_KIND_0);
    ASSERT_EQ(rounds.size(), 5u);
    for (size_t i = 0; i < rounds.size(); ++i) {
        EXPECT_EQ(rounds[i].nRound, static_cast<int>(i) + 1);
        EXPECT_EQ(rounds[i].nClubs, 32 >> i) << "round " << i + 1;
        EXPECT_EQ(rounds[i].clubs.size(), static_cast<size_t>(32 >> i));
        // Only clubs of the round before go on.
        if (i > 0) {
            for (ID_CLUB id : rounds[i].clubs)
                EXPECT_TRUE(rounds[i - 1].clubs.count(id)) << "club " << id << " in round " << i + 1;
        }
    }
    const CClubDatabase* pWinner = pHolland->GetCupWinner(CUP_KIND_0);
    ASSERT_NE(pWinner, nullptr);
    EXPECT_TRUE(rounds.back().clubs.count(pWinner->m_wClubId));
    // Every tie of every round had a winner: no fixture is left unplayed.
    for (const CCupFixturesDatabase* p : pHolland->GetCupFixtures().Items<CCupFixturesDatabase>())
        EXPECT_TRUE(p->IsPlayed());
}

TEST_F(CupRounds, EuropeanClubsGetTheirByeIntoTheSecondRound)
{
    // Scotland's national cup: 24 clubs in round 1, the clubs waiting for the
    // European cups join the 12 winners in round 2.
    CCountryDatabase* pScotland = Country("Scotland");
    ASSERT_NE(pScotland, nullptr);
    std::set<ID_CLUB> byes;
    for (const CUPENTRY* pEntry : pScotland->GetDomesticCups()->GetPendingList(CUP_KIND_0)->Items<CUPENTRY>())
        if (pEntry->byRound == 2)
            byes.insert(static_cast<ID_CLUB>(pEntry->dwClub));
    ASSERT_FALSE(byes.empty());
    const std::vector<RoundSeen> rounds = PlayDomesticCup(*pScotland, CUP_KIND_0);
    ASSERT_GE(rounds.size(), 2u);
    EXPECT_EQ(rounds[0].nClubs, 24);
    for (ID_CLUB id : byes) {
        EXPECT_FALSE(rounds[0].clubs.count(id)) << "a club with a bye played round 1";
        EXPECT_TRUE(rounds[1].clubs.count(id)) << "a club with a bye is missing from round 2";
    }
    EXPECT_EQ(rounds[1].nClubs, 16);
    EXPECT_EQ(rounds.size(), 5u);
    EXPECT_NE(pScotland->GetCupWinner(CUP_KIND_0), nullptr);
}

TEST_F(CupRounds, EveryCupHasFullRoundsAndEachClubEntersOnce)
{
    // The cups' definitions name more divisions, or other numbers of clubs,
    // than the countries have: the rounds are sized from the clubs there are.
    struct Case {
        const char* pszCountry;
        int nKind;
        int nClubs;  // clubs that take part
        bool bReplays;
    };
    const Case cases[] = {
        {"England", CUP_KIND_1, 96, true},   {"England", CUP_KIND_5, 48, false}, {"Scotland", CUP_KIND_1, 30, false},
        {"France", CUP_KIND_1, 40, false},   {"France", CUP_KIND_0, 40, false},  {"Italy", CUP_KIND_0, 38, false},
        {"Germany", CUP_KIND_0, 56, false},  {"Spain", CUP_KIND_0, 62, false},   {"Holland", CUP_KIND_0, 32, false},
        {"Belgium", CUP_KIND_0, 36, false},  {"Portugal", CUP_KIND_0, 36, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pszCountry) + " kind " + std::to_string(c.nKind));
        CCountryDatabase* pCountry = Country(c.pszCountry);
        ASSERT_NE(pCountry, nullptr);
        const CDomesticCupsDatabase& cups = *pCountry->GetDomesticCups();
        const int nRounds = cups.GetDefinition(c.nKind)->byRounds;
        const std::vector<RoundSeen> rounds = PlayDomesticCup(*pCountry, c.nKind);
        ASSERT_EQ(rounds.size(), static_cast<size_t>(nRounds));
        std::set<ID_CLUB> seen;
        for (size_t i = 0; i < rounds.size(); ++i) {
            const int nTies = cups.GetRound(c.nKind, static_cast<int>(i))->byTies;
            EXPECT_EQ(rounds[i].nClubs % 2, 0) << "round " << i + 1;
            EXPECT_EQ(rounds[i].clubs.size(), static_cast<size_t>(rounds[i].nClubs)) << "round " << i + 1;
            // From the third round on every round is as full as the cup's own.
            if (i >= 2)
                EXPECT_EQ(rounds[i].nClubs, 2 * nTies) << "round " << i + 1;
            // A club new to a round has played no earlier one. (A replay's
            // winner takes his place in the next round only after it was
            // drawn, so a cup with replays is not followed this way.)
            for (ID_CLUB id : rounds[i].clubs)
                if (!c.bReplays && (i == 0 || !rounds[i - 1].clubs.count(id)))
                    EXPECT_FALSE(seen.count(id)) << "club " << id << " enters again in round " << i + 1;
            seen.insert(rounds[i].clubs.begin(), rounds[i].clubs.end());
        }
        EXPECT_EQ(seen.size(), static_cast<size_t>(c.nClubs));
        EXPECT_NE(pCountry->GetCupWinner(c.nKind), nullptr);
    }
}

TEST_F(CupRounds, TheTopDivisionsOfAShortCountryEnterTheirOwnRound)
{
    // England's cup names six divisions for its first round; the country has
    // four. Its first two divisions come in at round 3 only, and the third
    // division's best placed wait for round 2.
    CCountryDatabase* pEngland = Country("England");
    ASSERT_NE(pEngland, nullptr);
    std::map<ID_CLUB, int> division;
    int nIndex = 0;
    for (const CDivisionDatabase* pDivision : pEngland->GetDivisions().Items<CDivisionDatabase>()) {
        for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
            division[pClub->m_wClubId] = nIndex;
        ++nIndex;
    }
    ASSERT_EQ(nIndex, 4);
    const std::vector<RoundSeen> rounds = PlayDomesticCup(*pEngland, CUP_KIND_1);
    ASSERT_GE(rounds.size(), 3u);
    EXPECT_EQ(rounds[0].nClubs, 32);
    EXPECT_EQ(rounds[1].nClubs, 32);
    EXPECT_EQ(rounds[2].nClubs, 64);
    for (int i = 0; i < 2; ++i)
        for (ID_CLUB id : rounds[static_cast<size_t>(i)].clubs)
            EXPECT_GE(division[id], 2) << "a club of the top two divisions in round " << i + 1;
    int nTopTwo = 0;
    for (ID_CLUB id : rounds[2].clubs)
        nTopTwo += division[id] < 2;
    EXPECT_EQ(nTopTwo, 48);
}

TEST_F(CupRounds, AShortEuropeanRoundIsToppedUpFromEveryCountryInTurn)
{
    CEuropeanCupDatabase& europe = *H().GetEuropeanCups();
    // Each country's first-division clubs not yet in Europe, in table order.
    std::map<const CCountryDatabase*, std::vector<ID_CLUB>> eligible;
    for (const CCountryDatabase* pCountry : H().GetCountries().Items<CCountryDatabase>()) {
        if (pCountry->GetEuropeanExclusion() == 1)
            continue;
        const auto* pFirst = static_cast<const CDivisionDatabase*>(pCountry->GetDivisions().GetHead()->pData);
        std::vector<ID_CLUB>& clubs = eligible[pCountry];
        for (const CClubDatabase* pClub : pFirst->m_lstClubsByTable.Items<CClubDatabase>())
            if (!europe.IsClubPending(CUP_KIND_0, pClub->m_wClubId) && !europe.IsClubPending(CUP_KIND_1, pClub->m_wClubId))
                clubs.push_back(pClub->m_wClubId);
    }
    ASSERT_GT(eligible.size(), 1u);
    std::set<uint32_t> before;
    for (const CUPENTRY* pEntry : europe.GetPendingList(CUP_KIND_0)->Items<CUPENTRY>())
        before.insert(pEntry->dwClub);
    const int nNeeded = 3 * static_cast<int>(eligible.size());
    ASSERT_EQ(europe.AddPendingClubs(CUP_KIND_0, nNeeded, 1, nullptr), nNeeded);

    std::map<const CCountryDatabase*, std::vector<ID_CLUB>> added;
    for (const CUPENTRY* pEntry : europe.GetPendingList(CUP_KIND_0)->Items<CUPENTRY>())
        if (!before.count(pEntry->dwClub))
            added[H().GetClubFromID(static_cast<ID_CLUB>(pEntry->dwClub))->m_pCountry].push_back(
                static_cast<ID_CLUB>(pEntry->dwClub));
    // Every country gives its best-placed clubs, and none gives two more
    // than another that still had clubs to give.
    size_t nFewest = SIZE_MAX, nMost = 0;
    for (const auto& [pCountry, clubs] : eligible) {
        SCOPED_TRACE(pCountry->GetName());
        const std::vector<ID_CLUB>& given = added[pCountry];
        ASSERT_LE(given.size(), clubs.size());
        EXPECT_TRUE(std::equal(given.begin(), given.end(), clubs.begin()));
        nMost = std::max(nMost, given.size());
        if (given.size() < clubs.size())
            nFewest = std::min(nFewest, given.size());
    }
    EXPECT_LE(nMost, nFewest + 1);
    EXPECT_GE(nFewest, 2u);
}

TEST_F(CupRounds, TwoLegCupIsDecidedOverBothLegs)
{
    // Spain's national cup has two legs in every round but the final.
    CCountryDatabase* pSpain = Country("Spain");
    ASSERT_NE(pSpain, nullptr);
    const std::vector<RoundSeen> rounds = PlayDomesticCup(*pSpain, CUP_KIND_0);
    EXPECT_EQ(rounds.size(), 7u);
    ASSERT_NE(pSpain->GetCupWinner(CUP_KIND_0), nullptr);
    // Every tie of a two-leg round had both legs played, the second the
    // other way round.
    std::map<uint32_t, const CCupFixturesDatabase*> byId;
    for (const CCupFixturesDatabase* p : pSpain->GetCupFixtures().Items<CCupFixturesDatabase>())
        byId[p->GetFixtureID()] = p;
    int nSecondLegs = 0;
    for (const auto& [id, p] : byId)
        if (p->GetOtherLeg() && p->GetOtherLeg()->GetDate() < p->GetDate()) {
            ++nSecondLegs;
            EXPECT_EQ(p->GetHomeClubID(), p->GetOtherLeg()->GetAwayClubID());
            EXPECT_TRUE(p->IsPlayed());
        }
    EXPECT_GT(nSecondLegs, 0);
}

// Ties set up by hand in a running cup, settled by the round settlement.
TEST_F(CupRounds, LevelTiesAreDecidedByTheResultByte)
{
    CCountryDatabase* pSpain = Country("Spain");
    CCountryDatabase* pHolland = Country("Holland");
    ASSERT_TRUE(pSpain && pHolland);
    struct Case {
        CCountryDatabase* pCountry;  // Spain: two legs in round 1, Holland: one match
        int nFirstHome, nFirstAway, nSecondHome, nSecondAway;
        uint8_t byResult;  // of the deciding fixture
        uint8_t byWinner;  // expected winning side
    };
    const Case cases[] = {
        {pSpain, 2, 1, 2, 1, 3, 1},    // 3-3, away goals for the second leg's home side: the tie's away club
        {pSpain, 2, 1, 2, 1, 9, 0},    // away goals for the second leg's away side: the tie's home club
        {pSpain, 3, 0, 1, 0, 0, 0},    // 3-1 over both legs
        {pSpain, 0, 1, 1, 1, 0, 1},    // 1-2 over both legs
        {pHolland, 1, 1, -1, -1, 1, 0},  // shoot-out to the home side
        {pHolland, 1, 1, -1, -1, 7, 1},  // shoot-out to the away side
        {pHolland, 0, 0, -1, -1, 0, 0},  // level and undecided: the home club
        {pHolland, 0, 2, -1, -1, 0, 1},
    };
    for (const Case& c : cases) {
        CDomesticCupsDatabase& cups = *c.pCountry->GetDomesticCups();
        CUP* pCup = cups.GetCup(CUP_KIND_0);
        ASSERT_NE(pCup, nullptr);
        cups.ResetCup(CUP_KIND_0);
        const auto* pDivision = static_cast<CDivisionDatabase*>(c.pCountry->GetDivisions().GetHead()->pData);
        auto it = pDivision->m_lstClubsByTable.Items<CClubDatabase>().begin();
        const ID_CLUB idHome = (*it)->m_wClubId;
        ++it;
        const ID_CLUB idAway = (*it)->m_wClubId;
        cups.AddToDraw(CUP_KIND_0, idHome);
        cups.AddToDraw(CUP_KIND_0, idAway);
        CUPTIE* pTie = pCup->GetTie(0);
        const CUP_NUMBER byCup = MakeCupNumberFromKind(CUP_KIND_0, c.pCountry->GetID());
        auto* pFirst = new CCupFixturesDatabase;
        pFirst->Set(1, CDate(1999, 8, 1), idHome, idAway, H().TakeNextFixtureID(), 0, 0, byCup, 0);
        pFirst->SetGoals(static_cast<uint8_t>(c.nFirstHome), static_cast<uint8_t>(c.nFirstAway));
        pFirst->SetLeg(c.byResult);
        c.pCountry->AddCupFixture(pFirst);
        pTie->dwFirstMatch = pFirst->GetFixtureID();
        if (c.nSecondHome >= 0) {
            auto* pSecond = new CCupFixturesDatabase;
            pSecond->Set(1, CDate(1999, 8, 8), idAway, idHome, H().TakeNextFixtureID(), 0, pFirst->GetFixtureID(),
                         byCup, 0);
            pSecond->SetGoals(static_cast<uint8_t>(c.nSecondHome), static_cast<uint8_t>(c.nSecondAway));
            pSecond->SetLeg(c.byResult);
            pFirst->SetOtherLeg(pSecond);
            pSecond->SetOtherLeg(pFirst);
            c.pCountry->AddCupFixture(pSecond);
            pTie->dwSecondMatch = pSecond->GetFixtureID();
        }
        EXPECT_EQ(H().ProcessCupRound(CUP_KIND_0, H().GetGameDate(), c.pCountry), 0);
        EXPECT_EQ(pTie->byWinner, c.byWinner) << c.pCountry->GetName() << " " << c.nFirstHome << "-"
                                              << c.nFirstAway << " " << c.nSecondHome << "-" << c.nSecondAway
                                              << " result " << int(c.byResult);
        // The winner takes the first place of the next round.
        H().AdvanceCupWinners(CUP_KIND_0, c.pCountry);
        EXPECT_EQ(pCup->byRound, 2);
        EXPECT_EQ(pCup->wClubsDrawn, 1);
        EXPECT_EQ(pCup->GetTie(0)->wHomeClub, c.byWinner == 0 ? idHome : idAway);
    }
}

TEST_F(CupRounds, FirstLegsOnlyRecordTheScore)
{
    CCountryDatabase* pSpain = Country("Spain");
    ASSERT_NE(pSpain, nullptr);
    CDomesticCupsDatabase& cups = *pSpain->GetDomesticCups();
    pSpain->RunCupRoundEvent(GetCupDrawEventKey(CUP_KIND_0));
    const CUP* pCup = cups.GetCup(CUP_KIND_0);
    ASSERT_EQ(pCup->byLegs, CUP_LEGS_TWO);
    const CDate first = NextDate(pSpain->GetCupFixtures(), MakeCupNumberFromKind(CUP_KIND_0, pSpain->GetID()));
    H().SetGameDate(first);
    pSpain->PlayCupFixtures(first, nullptr);
    EXPECT_EQ(H().ProcessCupRound(CUP_KIND_0, first, pSpain), 1);
    EXPECT_EQ(pCup->byRound, 1);
    const CUPTIE* pTie = pCup->GetTie(0);
    const CCupFixturesDatabase* pLeg = pSpain->FindCupFixture(pTie->dwFirstMatch);
    ASSERT_NE(pLeg, nullptr);
    EXPECT_EQ(pTie->byHomeMark, pLeg->GetHomeGoals());
    EXPECT_EQ(pTie->byAwayMark, pLeg->GetAwayGoals());
}

TEST_F(CupRounds, GroupRankingByPointsGoalDifferenceAndGoals)
{
    MINILEAGUEGROUP group(4);
    auto set = [&](int r, int w, int d, int l, int f, int a) {
        MINILEAGUEROW& row = group.pRows[r];
        row.byWon = static_cast<uint8_t>(w);
        row.byDrawn = static_cast<uint8_t>(d);
        row.byLost = static_cast<uint8_t>(l);
        row.byGoalsFor = static_cast<uint8_t>(f);
        row.byGoalsAgainst = static_cast<uint8_t>(a);
    };
    // Rows 1 and 2 level on points and difference: more goals ranks higher;
    // rows 0 and 3 fully level: the earlier keeps its place.
    set(0, 1, 1, 1, 3, 3);
    set(1, 2, 0, 1, 4, 2);
    set(2, 2, 0, 1, 5, 3);
    set(3, 1, 1, 1, 3, 3);
    EXPECT_GE(CEuropeanCupDatabase::SortGroup(group), 2);
    EXPECT_EQ(group.pRows[2].byPosition, 1);
    EXPECT_EQ(group.pRows[1].byPosition, 2);
    EXPECT_EQ(group.pRows[0].byPosition, 3);
    EXPECT_EQ(group.pRows[3].byPosition, 4);
    // Already in order: one pass.
    EXPECT_EQ(CEuropeanCupDatabase::SortGroup(group), 1);
}

TEST_F(CupRounds, CupTiedMarksFollowTheRunningCups)
{
    CCountryDatabase* pItaly = Country("Italy");
    ASSERT_NE(pItaly, nullptr);
    const auto* pDivision = static_cast<CDivisionDatabase*>(pItaly->GetDivisions().GetHead()->pData);
    const auto* pClub = static_cast<CClubDatabase*>(pDivision->m_lstClubsByTable.GetHead()->pData);
    ASSERT_FALSE(pClub->m_lstPlayers.IsEmpty());
    auto* pPlayer = static_cast<CPlayerDatabase*>(pClub->m_lstPlayers.GetHead()->pData);
    const uint32_t dwItalyBit = GetCupTiedBit(CUP_KIND_0, pItaly->GetID());
    const uint32_t dwEuropeBit = GetCupTiedBit(CUP_KIND_1, 0);
    pPlayer->m_dwCupTiedMask = dwItalyBit | dwEuropeBit;
    pPlayer->m_dwRuleCupTiedMask = 0;
    pItaly->GetDomesticCups()->MarkPlayerCupTied(pPlayer);
    EXPECT_EQ(pPlayer->m_dwRuleCupTiedMask, dwItalyBit);
    H().GetEuropeanCups()->MarkPlayerCupTied(pPlayer);
    EXPECT_EQ(pPlayer->m_dwRuleCupTiedMask, dwItalyBit | dwEuropeBit);
    pItaly->GetDomesticCups()->ClearPlayerCupMarks(pPlayer);
    EXPECT_EQ(pPlayer->m_dwCupTiedMask, dwEuropeBit);
    EXPECT_EQ(pPlayer->m_dwRuleCupTiedMask, dwEuropeBit);
    // Countries above 15 wrap round instead of shifting past the mask.
    EXPECT_EQ(GetCupTiedBit(1, 19), 1u << 7);
}

TEST_F(CupRounds, EuropeanGroupTablesAddUp)
{
    CCountryDatabase* pFirst = H().GetCountryFromID(1);
    ASSERT_NE(pFirst, nullptr);
    CEuropeanCupDatabase& europe = *H().GetEuropeanCups();
    const uint32_t dwDraw = kDrawOnly | kPrepare | (CDatabaseHandler::EUROPEAN_CUP_EVENT_BASE + CUP_KIND_1);
    pFirst->RunCupRoundEvent(dwDraw);
    const CUP* pCup = europe.GetCup(CUP_KIND_1);
    ASSERT_NE(pCup, nullptr);
    // Qualifying rounds, then the six match days of the first group stage.
    for (int nGuard = 0; nGuard < 40 && pCup->byRound < 10; ++nGuard) {
        const CDate date = NextDate(H().GetCupFixtures(), MakeCupNumberFromKind(CUP_KIND_1, 0));
        if (!date.IsValid())
            break;
        H().SetGameDate(date);
        H().PlayCupAndFriendlyFixtures(date);
        if (pCup->byLegs == CUP_LEGS_GROUP && pCup->byRound == 4) {
            for (const MINILEAGUEGROUP* pGroup : europe.GetGroups().Items<MINILEAGUEGROUP>()) {
                int nWon = 0, nLost = 0, nFor = 0, nAgainst = 0, nPlayed = -1;
                std::set<int> positions;
                for (int r = 0; r < pGroup->bySize; ++r) {
                    const MINILEAGUEROW& row = pGroup->pRows[r];
                    nWon += row.byWon;
                    nLost += row.byLost;
                    nFor += row.byGoalsFor;
                    nAgainst += row.byGoalsAgainst;
                    const int n = row.byWon + row.byDrawn + row.byLost;
                    EXPECT_TRUE(nPlayed < 0 || nPlayed == n);
                    nPlayed = n;
                    positions.insert(row.byPosition);
                }
                EXPECT_EQ(nWon, nLost);
                EXPECT_EQ(nFor, nAgainst);
                EXPECT_EQ(positions.size(), 4u);
            }
            EXPECT_EQ(europe.GetGroups().GetCount(), 8);
        }
        H().SetGameDate(CDate(date.GetValue(), 1));
        pFirst->DoSpecialEvent(H().GetGameDate());
    }
    // Two of each group of the first stage go into the second.
    EXPECT_EQ(pCup->byRound, 10);
    EXPECT_EQ(pCup->wClubsDrawn, 16);
    EXPECT_EQ(europe.GetGroups().GetCount(), 4);
}

TEST_F(CupRounds, ASeasonThroughTheDayLoopCrownsEveryCup)
{
    // From the new game's 1 July to the last days of June, before the
    // season turns.
    RunDays(363);
    ASSERT_LT(H().GetGameDate(), CDate(2000, 7, 3));
    int nCups = 0;
    for (const CCountryDatabase* pCountry : H().GetCountries().Items<CCountryDatabase>()) {
        const CDomesticCupsDatabase& cups = *pCountry->GetDomesticCups();
        for (int nKind : {CUP_KIND_0, CUP_KIND_1, CUP_KIND_5}) {
            if (!cups.GetCup(nKind))
                continue;
            ++nCups;
            EXPECT_NE(pCountry->GetCupWinner(nKind), nullptr) << pCountry->GetName() << " kind " << nKind;
        }
        // A super cup starts again at round 1 once its final is played.
        if (const CUP* pSuper = cups.GetCup(CUP_KIND_SUPER)) {
            ++nCups;
            EXPECT_EQ(pSuper->byRound, 1);
            int nPlayed = 0;
            for (const CCupFixturesDatabase* p : pCountry->GetCupFixtures().Items<CCupFixturesDatabase>())
                nPlayed += p->GetCupNumber() == MakeCupNumberFromKind(CUP_KIND_SUPER, pCountry->GetID()) && p->IsPlayed();
            EXPECT_EQ(nPlayed, 1) << pCountry->GetName() << " super cup";
        }
    }
    EXPECT_EQ(nCups, 16);
    const CEuropeanCupDatabase& europe = *H().GetEuropeanCups();
    EXPECT_NE(europe.GetCupWinner(CUP_KIND_0), 0u);
    EXPECT_NE(europe.GetCupWinner(CUP_KIND_1), 0u);
    // The two European winners meet in the next super cup; the first cup's
    // winner defends it from the group stage.
    for (int nKind : {CUP_KIND_0, CUP_KIND_1})
        EXPECT_TRUE(europe.IsClubPending(CUP_KIND_SUPER, europe.GetCupWinner(nKind))) << "kind " << nKind;
    bool bDefends = false;
    for (const CUPENTRY* pEntry : europe.GetPendingList(CUP_KIND_1)->Items<CUPENTRY>())
        bDefends |= pEntry->dwClub == europe.GetCupWinner(CUP_KIND_1) && pEntry->byRound == 4;
    EXPECT_TRUE(bDefends);
    int nSuperPlayed = 0;
    for (const CCupFixturesDatabase* p : H().GetCupFixtures().Items<CCupFixturesDatabase>())
        nSuperPlayed += p->GetCupNumber() == MakeCupNumberFromKind(CUP_KIND_SUPER, 0) && p->IsPlayed();
    EXPECT_EQ(nSuperPlayed, 1);
    // No cup fixture was left behind unplayed.
    for (const CCountryDatabase* pCountry : H().GetCountries().Items<CCountryDatabase>())
        for (const CCupFixturesDatabase* p : pCountry->GetCupFixtures().Items<CCupFixturesDatabase>())
            EXPECT_TRUE(p->IsPlayed()) << pCountry->GetName() << " fixture " << p->GetFixtureID();

    // No club plays twice on one day: league, play-offs, both countries'
    // cups, replays and the European cups all share the calendar.
    std::map<std::pair<uint32_t, ID_CLUB>, int> matchesOnDay;
    auto count = [&](const CDate& date, ID_CLUB idHome, ID_CLUB idAway) {
        for (ID_CLUB idClub : {idHome, idAway})
            EXPECT_EQ(++matchesOnDay[std::make_pair(date.GetValue(), idClub)], 1)
                << "club " << idClub << " plays twice on " << date.GetDay() << "/" << date.GetMonth() << "/"
                << date.GetYear();
    };
    for (const CDivisionDatabase* pDivision : Divisions())
        for (const CDivisionFixturesDatabase* p : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
            count(p->GetDate(), p->GetHomeClubID(), p->GetAwayClubID());
    for (const CCountryDatabase* pCountry : H().GetCountries().Items<CCountryDatabase>())
        for (const CCupFixturesDatabase* p : pCountry->GetCupFixtures().Items<CCupFixturesDatabase>())
            count(p->GetDate(), p->GetHomeClubID(), p->GetAwayClubID());
    for (const CCupFixturesDatabase* p : H().GetCupFixtures().Items<CCupFixturesDatabase>())
        count(p->GetDate(), p->GetHomeClubID(), p->GetAwayClubID());

    // England's main cup replays its level ties; the replay's winner plays
    // on in the cup and its loser never again.
    const CCountryDatabase* pEngland = Country("England");
    ASSERT_NE(pEngland, nullptr);
    const CUP_NUMBER byMainCup = MakeCupNumberFromKind(CUP_KIND_1, pEngland->GetID());
    int nReplays = 0;
    for (const CCupFixturesDatabase* pReplay : pEngland->GetCupFixtures().Items<CCupFixturesDatabase>()) {
        if (pReplay->GetCupNumber() != byMainCup || !pReplay->IsReplay())
            continue;
        ++nReplays;
        ASSERT_TRUE(pReplay->IsPlayed());
        const bool bAwayWon = pReplay->GetAwayGoals() > pReplay->GetHomeGoals() ||
                              (pReplay->GetAwayGoals() == pReplay->GetHomeGoals() && pReplay->GetLeg() >= 7 &&
                               pReplay->GetLeg() <= 11);
        const ID_CLUB idWinner = bAwayWon ? pReplay->GetAwayClubID() : pReplay->GetHomeClubID();
        const ID_CLUB idLoser = bAwayWon ? pReplay->GetHomeClubID() : pReplay->GetAwayClubID();
        bool bWinnerLater = false, bLoserLater = false;
        for (const CCupFixturesDatabase* p : pEngland->GetCupFixtures().Items<CCupFixturesDatabase>()) {
            if (p->GetCupNumber() != byMainCup || p->GetDate() <= pReplay->GetDate())
                continue;
            bWinnerLater |= p->IsClubInvolved(idWinner);
            bLoserLater |= p->IsClubInvolved(idLoser);
        }
        EXPECT_TRUE(bWinnerLater) << "replay " << pReplay->GetFixtureID();
        EXPECT_FALSE(bLoserLater) << "replay " << pReplay->GetFixtureID();
    }
    EXPECT_GT(nReplays, 0);
}

TEST_F(CupRounds, TheCupScreensFindCupsRoundsAndDateWindows)
{
    CCountryDatabase* pEngland = Country("England");
    ASSERT_NE(pEngland, nullptr);
    CDomesticCupsDatabase& cups = *pEngland->GetDomesticCups();
    const CEuropeanCupDatabase& europe = *H().GetEuropeanCups();
    EXPECT_EQ(H().GetCupByCompetitionIndex(0, pEngland), cups.GetCup(CUP_KIND_0));
    EXPECT_EQ(H().GetCupByCompetitionIndex(1, pEngland), cups.GetCup(CUP_KIND_1));
    EXPECT_EQ(H().GetCupByCompetitionIndex(2, pEngland), cups.GetCup(CUP_KIND_SUPER));
    EXPECT_EQ(H().GetCupByCompetitionIndex(3, pEngland), cups.GetCup(CUP_KIND_5));
    EXPECT_EQ(H().GetCupByCompetitionIndex(4, pEngland), europe.GetCup(CUP_KIND_0));
    EXPECT_EQ(H().GetCupByCompetitionIndex(6, pEngland), europe.GetCup(CUP_KIND_SUPER));
    EXPECT_NE(H().GetCupByCompetitionIndex(1, pEngland), nullptr);
    EXPECT_EQ(H().GetCupByCompetitionIndex(7, pEngland), nullptr);
    EXPECT_EQ(H().GetCupByCompetitionIndex(-1, pEngland), nullptr);
    EXPECT_EQ(H().GetCupByCompetitionIndex(0, nullptr), nullptr);

    // The main cup, still at round 1: on round 2's day the next round to
    // come is the third, and the one before it the second.
    const CUP* pMain = cups.GetCup(CUP_KIND_1);
    ASSERT_NE(pMain, nullptr);
    ASSERT_EQ(pMain->byRound, 1);
    EXPECT_EQ(H().GetCurrentCupRound(H().GetGameDate(), pMain, false), 1);
    CDate second;
    ASSERT_TRUE(cups.GetRoundDate(cups.GetRound(CUP_KIND_1, 1), false, second, CUP_KIND_1));
    EXPECT_EQ(H().GetCurrentCupRound(second, pMain, false), 3);
    EXPECT_EQ(H().GetCurrentCupRound(second, pMain, true), 2);
    EXPECT_EQ(H().GetCurrentCupRound(CDate(2010, 1, 1), pMain, false), pMain->byRound) << "all rounds past";

    CDate start(2000, 1, 1), end(2000, 1, 11);
    H().ShiftDateWindow(start, end);
    EXPECT_EQ(start, H().GetGameDate());
    EXPECT_EQ(end, CDate(H().GetGameDate().GetValue(), 10));
}

TEST_F(CupRounds, GroupMatchDaysPlayedCountForTheCupTables)
{
    // The first European cup: group match days are rounds 4 to 15 (indexes
    // 3 to 14), a second group stage from index 9.
    const ITEMCUPSTRUCTUREINFORMATION* pCup = GetCupStructureRecord(CUP_KIND_1, nullptr);
    ASSERT_NE(pCup, nullptr);
    ASSERT_EQ(pCup->pRounds[3].byLegs, CUP_LEGS_GROUP);
    ASSERT_EQ(pCup->pRounds[14].byLegs, CUP_LEGS_GROUP);
    ASSERT_NE(pCup->pRounds[9].byTies, pCup->pRounds[8].byTies);
    const CDate season = H().GetEuropeanCups()->GetSeasonDate();
    const auto day = [&](int i) { return GetEuropeanCupRoundDate(pCup->pRounds[i], false, season); };
    const ITEMCUPROUNDINFORMATION* pSixth = &pCup->pRounds[8];
    const ITEMCUPROUNDINFORMATION* pLast = &pCup->pRounds[14];

    H().SetGameDate(season);
    EXPECT_EQ(H().GetCupRoundsPlayed(pSixth, pCup, false), 0) << "nothing played yet";
    H().SetGameDate(CDate(day(14).GetValue(), 1));
    EXPECT_EQ(H().GetCupRoundsPlayed(pSixth, pCup, false), 5) << "the days before the sixth";
    EXPECT_EQ(H().GetCupRoundsPlayed(pLast, pCup, false), 12) << "eleven days and the finished first stage";
    H().SetGameDate(day(4));
    EXPECT_EQ(H().GetCupRoundsPlayed(pLast, pCup, false), 0);
    EXPECT_EQ(H().GetCupRoundsPlayed(pLast, pCup, true), 1);
}

TEST_F(CupRounds, ALevelTieIsReplayedAtTheOtherGroundAndItsWinnerTakesTheDrawnPlace)
{
    CCountryDatabase* pEngland = Country("England");
    ASSERT_NE(pEngland, nullptr);
    CDomesticCupsDatabase& cups = *pEngland->GetDomesticCups();
    pEngland->RunCupRoundEvent(GetCupDrawEventKey(CUP_KIND_1));
    CUP* pCup = cups.GetCup(CUP_KIND_1);
    ASSERT_NE(pCup, nullptr);
    const CUP_NUMBER byCup = MakeCupNumberFromKind(CUP_KIND_1, pEngland->GetID());
    const CDate date = NextDate(pEngland->GetCupFixtures(), byCup);
    ASSERT_TRUE(date.IsValid());
    // Every home club wins but in tie 0, which ends 2-2 with nothing else decided.
    const CUPTIE tie0 = *pCup->GetTie(0);
    ASSERT_TRUE(tie0.wHomeClub && tie0.wAwayClub);
    for (CCupFixturesDatabase* p : pEngland->GetCupFixtures().Items<CCupFixturesDatabase>())
        if (p->GetCupNumber() == byCup && p->GetDate() == date) {
            const bool bLevel = p->GetFixtureID() == tie0.dwFirstMatch;
            p->SetGoals(bLevel ? 2 : 1, bLevel ? 2 : 0);
            p->SetLeg(0);
        }
    H().SetGameDate(CDate(date.GetValue(), 1));
    pEngland->RunCupRoundEvent(CUP_KIND_1);
    ASSERT_EQ(pCup->byRound, 2);
    ASSERT_EQ(pCup->byExtraCount, 1);
    const CUPEXTRA* pRecord = pCup->GetExtra(0);
    ASSERT_NE(pRecord, nullptr);

    // The replay: ten days on, at the away club's ground.
    const CCupFixturesDatabase* pReplay = pEngland->FindCupFixture(pRecord->dwValue);
    ASSERT_NE(pReplay, nullptr);
    EXPECT_TRUE(pReplay->IsReplay());
    EXPECT_EQ(pReplay->GetHomeClubID(), tie0.wAwayClub);
    EXPECT_EQ(pReplay->GetAwayClubID(), tie0.wHomeClub);
    EXPECT_EQ(pReplay->GetDate(), CDate(date.GetValue(), 10));
    // Its home club stands in for the winner in the next round's draw.
    ASSERT_NE(pRecord->abyValues[CUPEXTRA_TIE], CUPEXTRA_NO_TIE);
    CUPTIE* pNext = pCup->GetTie(pRecord->abyValues[CUPEXTRA_TIE]);
    ASSERT_TRUE(pNext->wHomeClub == tie0.wAwayClub || pNext->wAwayClub == tie0.wAwayClub);
    const std::set<ID_CLUB> round2 = ClubsOfRound(*pCup);
    EXPECT_FALSE(round2.count(tie0.wHomeClub)) << "one place for the two";

    // The tie's home club wins the replay away and takes the place, fixture included.
    CCupFixturesDatabase* pPlayed = pEngland->FindCupFixture(pRecord->dwValue);
    pPlayed->SetGoals(0, 1);
    const int64_t nBalance = BookedBalance(*H().GetClubFromID(tie0.wHomeClub));
    EXPECT_EQ(H().SettleCupReplays(CUP_KIND_1, pReplay->GetDate(), pEngland), 1);
    EXPECT_EQ(pCup->byExtraCount, 0);
    EXPECT_TRUE(pNext->wHomeClub == tie0.wHomeClub || pNext->wAwayClub == tie0.wHomeClub);
    EXPECT_FALSE(pNext->wHomeClub == tie0.wAwayClub || pNext->wAwayClub == tie0.wAwayClub);
    const CCupFixturesDatabase* pNextFixture = pEngland->FindCupFixture(pNext->dwFirstMatch);
    ASSERT_NE(pNextFixture, nullptr);
    EXPECT_TRUE(pNextFixture->IsClubInvolved(tie0.wHomeClub));
    EXPECT_FALSE(pNextFixture->IsClubInvolved(tie0.wAwayClub));
    EXPECT_GT(BookedBalance(*H().GetClubFromID(tie0.wHomeClub)), nBalance) << "the round's payment";
}

TEST_F(CupRounds, CountryCupEntriesNameTheCountrysCups)
{
    struct Case {
        const char* pszCountry;
        int nIndex;
        int nKind;  // -1: no entry
    };
    const Case cases[] = {
        {"England", 0, -1}, {"England", 1, CUP_KIND_1}, {"England", 2, CUP_KIND_0}, {"England", 3, CUP_KIND_5},
        {"England", 4, -1}, {"Spain", 1, CUP_KIND_0},   {"Spain", 2, -1},           {"Holland", 1, CUP_KIND_0},
        {"Belgium", 1, CUP_KIND_0}, {"Italy", 1, -1},   {"Portugal", 1, -1},
    };
    for (const Case& c : cases) {
        const ITEMCUPSTRUCTUREINFORMATION* p = GetCountryCupEntryByName(c.pszCountry, c.nIndex);
        if (c.nKind < 0) {
            EXPECT_EQ(p, nullptr) << c.pszCountry << " " << c.nIndex;
            continue;
        }
        ASSERT_NE(p, nullptr) << c.pszCountry << " " << c.nIndex;
        EXPECT_STREQ(p->pszOwnerName, c.pszCountry);
        EXPECT_EQ(p->byKind, c.nKind) << c.pszCountry << " " << c.nIndex;
    }
    const CCountryDatabase* pEngland = Country("England");
    ASSERT_NE(pEngland, nullptr);
    EXPECT_EQ(H().GetCountryCupEntry(2, pEngland->GetID()), GetCountryCupEntryByName("England", 2));
    EXPECT_EQ(H().GetCountryCupEntry(1, 0), nullptr);
}

TEST_F(CupRounds, FinalWinnersPayTheirCupBonuses)
{
    CCountryDatabase* pEngland = Country("England");
    ASSERT_NE(pEngland, nullptr);
    const auto* pDivision = static_cast<CDivisionDatabase*>(pEngland->GetDivisions().GetHead()->pData);
    auto* pClub = static_cast<CClubDatabase*>(pDivision->m_lstClubsByTable.GetHead()->pData);
    int64_t nDomestic = 0, nEuropean = 0;
    for (CPlayerDatabase* pPlayer : pClub->m_lstPlayers.Items<CPlayerDatabase>()) {
        pPlayer->m_Contract.adwBonus[0] = 1000;
        pPlayer->m_Contract.adwBonus[1] = 3000;
        nDomestic += 1000;
        nEuropean += 3000;
    }
    if (CManagerDatabase* pManager = pClub->GetManager()) {
        pManager->m_Contract.dwWage = 10050;
        pManager->m_Contract.abyBonus[0] = 10;
        pManager->m_Contract.abyBonus[1] = 20;
        nDomestic += 100 * 10;
        nEuropean += 100 * 20;
    }
    struct Case {
        uint8_t byEuropean;
        int nCategory;
        int64_t nPaid;
    };
    for (const Case& c : {Case{0, 60, nDomestic}, Case{1, 61, nEuropean}}) {
        const int nGroup = CClubDatabase::FindFinanceCategory(c.nCategory);
        const int32_t nBefore = pClub->m_anFinanceAccumulators[nGroup];
        int32_t nOtherBefore = 0;
        for (int32_t n : pClub->m_anFinanceAccumulators)
            nOtherBefore += n;
        pClub->PayCupFinalBonuses(c.byEuropean);
        int32_t nOtherAfter = 0;
        for (int32_t n : pClub->m_anFinanceAccumulators)
            nOtherAfter += n;
        EXPECT_EQ(nOtherBefore - nOtherAfter, c.nPaid) << "European " << int(c.byEuropean);
        EXPECT_LT(pClub->m_anFinanceAccumulators[nGroup], nBefore);
    }
}

TEST_F(CupRounds, ACupMatchTakesTheDayOfALeagueMatchAndCallsOffAFriendly)
{
    std::vector<CDivisionDatabase*> divisions = Divisions();
    ASSERT_GE(divisions.size(), 2u);
    auto* pClub = static_cast<CClubDatabase*>(divisions[0]->m_lstClubsByTable.GetHead()->pData);
    auto* pOther = static_cast<CClubDatabase*>(divisions[1]->m_lstClubsByTable.GetHead()->pData);
    // The club's first league match day, and a free day for a friendly.
    CDate leagueDay;
    ASSERT_TRUE(divisions[0]->GetNextFixtureDateForClub(pClub->GetID(), H().GetGameDate(), leagueDay));
    CDate friendlyDay(H().GetGameDate().GetValue(), 3);
    while (!(H().IsClubFreeOnDate(pClub, friendlyDay) && H().IsClubFreeOnDate(pOther, friendlyDay)))
        friendlyDay = CDate(friendlyDay.GetValue(), 1);
    const uint32_t dwFriendly = H().OrganiseFriendlyFixture(pClub, pOther, friendlyDay, false)->GetFixtureID();

    H().ClearClubDateForCup(pClub->GetID(), leagueDay);
    H().ClearClubDateForCup(pClub->GetID(), friendlyDay);
    CDate next;
    ASSERT_TRUE(divisions[0]->GetNextFixtureDateForClub(pClub->GetID(), CDate(leagueDay.GetValue(), -1), next));
    EXPECT_NE(next, leagueDay) << "the league match moved off the cup day";
    for (const CCupFixturesDatabase* p : H().GetCupFixtures().Items<CCupFixturesDatabase>())
        EXPECT_NE(p->GetFixtureID(), dwFriendly) << "the friendly is called off";
}

}  // namespace cups_test
