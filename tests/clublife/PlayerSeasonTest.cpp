// A player's season in the starting world: the points his matches earn name
// the player and the eleven of each period, a player cup-tied by a move is
// left out of his new club's cup side, foreign players need work permits,
// and friendlies are answered, played or dropped.
#include "../dayloop/DayLoopSupport.h"

#include "database/CCupFixturesDatabase.h"
#include "database/CEventsDatabase.h"
#include "season/CupRecords.h"
#include "season/MatchRecords.h"

#include <set>

using namespace dayloop_test;

namespace {

constexpr uint32_t kSelected = 0x01;

class PlayerSeason : public DayLoopWorld {
protected:
    // Every club of the world.
    std::vector<CClubDatabase*> Clubs()
    {
        std::vector<CClubDatabase*> clubs;
        for (CDivisionDatabase* pDivision : Divisions())
            for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                clubs.push_back(pClub);
        return clubs;
    }
};

// Two seasons of the whole world, watched day by day.
TEST_F(PlayerSeason, TwoSeasonsNameThePeriodsTieCupPlayersAndTestPermits)
{
    int nPeriodsNamed = 0, nPeriodsStarted = 0;
    int nElevensFull = 0;
    // Leagues whose players gained points in the month that ends.
    std::set<const CDivisionDatabase*> pointsGained;
    int nTiedLeftOut = 0;
    std::set<ID_PLAYER> permitPlayers;
    std::set<ID_PLAYER> permitsLapsed;
    const CDate end(2001, 6, 30);
    while (H().GetGameDate() < end && !HasFatalFailure()) {
        const CDate today = H().GetGameDate();
        const CDate tomorrow(today.GetValue(), 1);
        // The eleven of the period as the month's awards will read it.
        if (tomorrow.GetDay() == 1)
            pointsGained.clear();
        if (tomorrow.GetDay() == 1)
            for (CDivisionDatabase* pDivision : Divisions()) {
                if (!pDivision->m_bySeasonStarted || pDivision->m_byKind != DIVISION_KIND_LEAGUE)
                    continue;
                bool bFull = true;
                for (int i = 0; i < DIVISION_PERIOD_ELEVEN; ++i) {
                    const DIVISIONPERIODENTRY& entry = pDivision->m_aEleven[i];
                    const CPlayerDatabase* p = H().GetPlayerFromID(static_cast<ID_PLAYER>(entry.idPlayer));
                    bFull = bFull && p != nullptr;
                    if (!p)
                        continue;
                    const int nGroup = i == 0 ? 0 : (i < 5 ? 1 : (i < 9 ? 2 : 3));
                    EXPECT_EQ(p->m_byPosition, nGroup) << pDivision->m_szName << " place " << i;
                    if (i > 0 && i != 1 && i != 5 && i != 9) {
                        EXPECT_LE(entry.nPoints, pDivision->m_aEleven[i - 1].nPoints) << "each group in points order";
                    }
                }
                nElevensFull += bFull;
                if (pDivision->m_aEleven[0].idPlayer != 0)
                    pointsGained.insert(pDivision);
            }

        // Players tied for the cup of a match played today (kept by
        // identifier: the day's step may lay the records out again).
        std::vector<std::pair<ID_PLAYER, const CClubDatabase*>> tied;
        const CDate matchDay(tomorrow);
        for (const CCupFixturesDatabase* pFixture : H().GetCupFixtures().Items<CCupFixturesDatabase>()) {
            if (pFixture->GetDate() != matchDay || pFixture->IsFriendly())
                continue;
            for (ID_CLUB id : {pFixture->GetHomeClubID(), pFixture->GetAwayClubID()})
                if (const CClubDatabase* pClub = H().GetClubFromID(id))
                    for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>())
                        if (p->IsCupTied(pFixture->GetCup())) {
                            // A mark left from an earlier match says nothing
                            // of today's: a tie put back a day is not played today.
                            p->m_dwFlags &= ~kSelected;
                            tied.emplace_back(p->m_idPerson, pClub);
                        }
        }
        ASSERT_EQ(H().ProcessDay(), 1);
        H().DoMatchDay(H().GetGameDate());
        for (auto [idPlayer, pClub] : tied) {
            const CPlayerDatabase* p = H().GetPlayerFromID(idPlayer);
            // A player sold this morning plays for his new club, not in the cup.
            if (!p || p->m_pClub != pClub)
                continue;
            EXPECT_FALSE(p->m_dwFlags & kSelected) << p->GetShortName() << " played although cup-tied";
            ++nTiedLeftOut;
        }

        if (H().GetGameDate().GetDay() == 1)
            for (const CDivisionDatabase* pDivision : pointsGained) {
                ++nPeriodsStarted;
                nPeriodsNamed += pDivision->m_nPlayerOfPeriod != 0;
                EXPECT_EQ(pDivision->m_aEleven[0].idPlayer, 0) << "the next period starts from nobody";
            }
        if (H().GetGameDate().GetDayOfWeek() == 1)
            for (CClubDatabase* pClub : Clubs())
                for (const CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>()) {
                    if (!(p->m_dwFlags & PLAYER_FLAG_NEEDS_WORK_PERMIT))
                        continue;
                    EXPECT_NE(p->m_byNationality, pClub->m_pCountry->GetID());
                    if (permitPlayers.insert(p->m_idPerson).second) {
                        EXPECT_NE(p->m_pCountry->FindEvent(28, p->m_idPerson, nullptr), nullptr)
                            << p->GetShortName() << " has his permit review ahead";
                    }
                    if (p->m_dwFlags & PLAYER_FLAG_WORK_PERMIT_SETTLED)
                        permitsLapsed.insert(p->m_idPerson);
                }
    }
    EXPECT_GT(nPeriodsStarted, 0);
    EXPECT_EQ(nPeriodsNamed, nPeriodsStarted) << "a league whose players gained points names its player of the period";
    EXPECT_GT(nElevensFull, nPeriodsStarted / 2) << "the eleven of the period is filled";
    EXPECT_GT(nTiedLeftOut, 0) << "some players were cup-tied by a move";
    EXPECT_GT(permitPlayers.size(), 0u) << "foreign players need permits";
    EXPECT_GT(permitsLapsed.size(), 0u) << "some permits lapsed at their review";
}

// A cup-tied player stays out of his club's cup side even when nobody else
// is fit for his place, and plays again in the league.
TEST_F(PlayerSeason, ACupTiedPlayerIsLeftOutOfTheCupSideOnly)
{
    const CCupFixturesDatabase* pFixture = nullptr;
    while (!pFixture && H().GetGameDate() < CDate(2000, 6, 1) && !HasFatalFailure()) {
        RunDays(1);
        for (const CCupFixturesDatabase* p : H().GetCupFixtures().Items<CCupFixturesDatabase>())
            if (!p->IsFriendly() && p->GetDate() > H().GetGameDate() && p->GetCup() &&
                H().AppliesCupTiedRule(p->GetCup())) {
                pFixture = p;
                break;
            }
    }
    ASSERT_NE(pFixture, nullptr);
    CClubDatabase* pClub = H().GetClubFromID(pFixture->GetHomeClubID());
    ASSERT_NE(pClub, nullptr);
    // The club's only goalkeepers are tied for the cup.
    const CUP* pCup = pFixture->GetCup();
    std::vector<CPlayerDatabase*> keepers;
    for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>())
        if (p->m_byPosition == 0) {
            p->m_dwCupTiedMask |= GetCupTiedBit(pCup->byKind, pCup->byCountry);
            p->CarryCupTies();
            keepers.push_back(p);
        }
    ASSERT_FALSE(keepers.empty());
    EXPECT_TRUE(keepers.front()->IsCupTied(pCup));
    EXPECT_FALSE(keepers.front()->IsCupTied(nullptr));

    // The cup fixture is the club's next one from its date.
    while (H().GetGameDate() < CDate(pFixture->GetDate().GetValue(), -1))
        RunDays(1);
    ASSERT_EQ(H().GetNextCupForClub(pClub), pCup);
    CPlayerDatabase* apSide[18] = {};
    pClub->SelectTeam(nullptr, apSide, MATCHKIND_CUP, 7);
    for (CPlayerDatabase* p : apSide)
        for (CPlayerDatabase* pKeeper : keepers)
            EXPECT_NE(p, pKeeper) << "a cup-tied keeper was picked for the cup";
    pClub->SelectTeam(nullptr, apSide, MATCHKIND_LEAGUE, 7);
    EXPECT_EQ(apSide[0]->m_byPosition, 0) << "in the league a keeper keeps goal";
}

// A friendly against a club of another division is accepted and played; one
// against a club of the same division, or on a day a club already plays, is
// dropped the next day.
TEST_F(PlayerSeason, FriendliesAreAnsweredAndPlayed)
{
    std::vector<CDivisionDatabase*> divisions = Divisions();
    ASSERT_GE(divisions.size(), 2u);
    auto club = [&](int nDivision, int nIndex) {
        auto clubs = divisions[static_cast<size_t>(nDivision)]->m_lstClubsByTable.Items<CClubDatabase>();
        auto it = clubs.begin();
        for (int i = 0; i < nIndex; ++i)
            ++it;
        return *it;
    };
    CClubDatabase* pA = club(0, 0);
    CClubDatabase* pB = club(1, 0);
    CClubDatabase* pSame = club(0, 1);
    // A date before the leagues start, free for all three clubs.
    CDate date(H().GetGameDate().GetValue(), 10);
    while (!(H().IsClubFreeOnDate(pA, date) && H().IsClubFreeOnDate(pB, date) && H().IsClubFreeOnDate(pSame, date)))
        date = CDate(date.GetValue(), 1);
    const int nBefore = H().GetCupFixtures().GetCount();
    CCupFixturesDatabase* pAccepted = H().OrganiseFriendlyFixture(pA, pB, date, true);
    ASSERT_NE(pAccepted, nullptr);
    EXPECT_EQ(pAccepted->GetHomeClubID(), pB->GetID()) << "swapped: the second club at home";
    EXPECT_EQ(pAccepted->GetClubPair() & 0xFFFF, pA->GetID()) << "the asking club stays in the low half";
    const uint32_t dwAccepted = pAccepted->GetFixtureID();
    CCupFixturesDatabase* pSameDivision = H().OrganiseFriendlyFixture(pSame, pA, CDate(date.GetValue(), 1), false);
    ASSERT_NE(pSameDivision, nullptr);
    const uint32_t dwSameDivision = pSameDivision->GetFixtureID();
    EXPECT_EQ(H().GetCupFixtures().GetCount(), nBefore + 2);

    RunDays(2);
    auto find = [&](uint32_t dwID) -> const CCupFixturesDatabase* {
        for (const CCupFixturesDatabase* p : H().GetCupFixtures().Items<CCupFixturesDatabase>())
            if (p->GetFixtureID() == dwID)
                return p;
        return nullptr;
    };
    EXPECT_NE(find(dwAccepted), nullptr) << "clubs of two divisions play";
    EXPECT_EQ(find(dwSameDivision), nullptr) << "clubs of one division do not";
    // A second friendly on the accepted one's day is refused: A plays then.
    CClubDatabase* pThird = club(1, 1);
    const uint32_t dwClash = H().OrganiseFriendlyFixture(pA, pThird, date, false)->GetFixtureID();
    RunDays(2);
    EXPECT_EQ(find(dwClash), nullptr) << "no club plays twice on one day";

    while (H().GetGameDate() <= date && !HasFatalFailure())
        RunDays(1);
    const CCupFixturesDatabase* pPlayed = find(dwAccepted);
    ASSERT_NE(pPlayed, nullptr);
    EXPECT_TRUE(pPlayed->IsPlayed()) << "the friendly was played on its day";
}

TEST_F(PlayerSeason, ALoanEndsAtOnceWithItsReturnEvent)
{
    std::vector<CClubDatabase*> clubs = Clubs();
    CClubDatabase* pOwner = clubs[0];
    CClubDatabase* pBorrower = clubs[1];
    CPlayerDatabase* pPlayer = nullptr;
    for (CPlayerDatabase* p : pOwner->m_lstPlayers.Items<CPlayerDatabase>())
        if (p->m_byTransferState == 0)
            pPlayer = p;
    ASSERT_NE(pPlayer, nullptr);
    pPlayer->DoImmediateReturnFromLoan();
    EXPECT_EQ(pPlayer->m_byTransferState, 0) << "not on loan: nothing to end";
    ASSERT_EQ(H().TransferPlayerLoan(pPlayer, pBorrower->GetID(), true, 60), 0);
    ASSERT_NE(pOwner->m_pCountry->FindEvent(26, pPlayer->m_idPerson, nullptr), nullptr);
    pPlayer->DoImmediateReturnFromLoan();
    EXPECT_EQ(pPlayer->m_byTransferState, 0);
    EXPECT_EQ(pPlayer->m_wLoanClubId, 0);
    EXPECT_EQ(pOwner->m_pCountry->FindEvent(26, pPlayer->m_idPerson, nullptr), nullptr) << "its return day is gone";
    EXPECT_EQ(pBorrower->m_lstLoanIns.Find(pPlayer), nullptr);
}

}  // namespace
