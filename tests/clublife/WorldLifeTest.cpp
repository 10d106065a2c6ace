// Clubs and players of the starting world from week to week: wages drawn at
// the month's finance run, bans from bookings, an injury that heals on its
// date, skills that follow age, and a month of the whole world that keeps
// its money sane and still saves and reloads.
#include "../dayloop/DayLoopSupport.h"

#include "database/CCountryDatabase.h"
#include "database/CEventsDatabase.h"
#include "database/CMarketEntries.h"
#include "database/CManagerDatabase.h"
#include "database/CStaffDatabase.h"
#include "database/CYouthDatabase.h"
#include "season/CGroundDatabase.h"

#include <algorithm>
#include <cmath>
#include <map>

using namespace dayloop_test;

namespace {

constexpr int kSkills[] = {PLAYER_ATTRIBUTE_TACKLING, PLAYER_ATTRIBUTE_PASSING, PLAYER_ATTRIBUTE_DRIBBLING,
                           PLAYER_ATTRIBUTE_HEADING,  PLAYER_ATTRIBUTE_SHOOTING, PLAYER_ATTRIBUTE_STRENGTH,
                           PLAYER_ATTRIBUTE_PACE};

class ClubLife : public DayLoopWorld {
protected:
    std::vector<CClubDatabase*> Clubs()
    {
        std::vector<CClubDatabase*> clubs;
        for (CDivisionDatabase* pDivision : Divisions())
            for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                clubs.push_back(pClub);
        return clubs;
    }
    // A fit squad player of a top-division club who is never hurt.
    CPlayerDatabase* SteadyPlayer(CClubDatabase*& pClub)
    {
        pClub = Divisions().front()->m_lstClubsByTable.Items<CClubDatabase>().begin().operator*();
        for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>())
            if (!p->IsInjured() && p->m_bySuspensionFlags == 0 && p->m_byTransferState == 0) {
                p->m_awAttributes[PLAYER_ATTRIBUTE_INJURYPRONE] = 0;
                return p;
            }
        return nullptr;
    }
    static int SkillTotal(const CPlayerDatabase* p)
    {
        int n = 0;
        for (int a : kSkills)
            n += p->m_awAttributes[a];
        return n;
    }
};

TEST(TrainingStep, MovesWithinAQuarterOfTheTargetAndTheTarget)
{
    CPlayerDatabase::s_fTrainingRate = 1.0f;
    struct Case {
        const char* pszName;
        int nCurrent, nTarget;
        float fEffort;
        int nLow, nHigh;
    };
    const Case cases[] = {
        {"far below: lifted to a quarter of the target", 1000, 80, 3.0f, 2000, 2000},
        {"at the target stays", 8000, 80, 6.0f, 8000, 8000},
        {"at the target a loss still stays", 8000, 80, 1.0f, 8000, 8000},
        {"a target of nothing holds nothing", 0, 0, 3.0f, 0, 0},
        {"above the target falls to it", 9000, 80, 6.0f, 8000, 8000},
        {"near the target closes part of the gap", 7000, 80, 3.0f, 7029, 7030},
        {"low in the band climbs with the skill", 3000, 80, 3.0f, 3029, 3030},
        {"effort below the threshold is a loss", 7000, 80, 1.0f, 6949, 6950},
        {"a loss never leaves the band", 2002, 80, 0.0f, 2000, 2000},
        {"effort above the cap counts as the cap", 7000, 80, 50.0f, 7059, 7060},
    };
    for (const Case& c : cases) {
        const int n = CPlayerDatabase::ApplyTrainingStep(c.nCurrent, c.nTarget, c.fEffort, 1.5f, 6.0f);
        EXPECT_GE(n, c.nLow) << c.pszName;
        EXPECT_LE(n, c.nHigh) << c.pszName;
    }
}

TEST_F(ClubLife, ListingsRunOutToAFreeTransferAndThenToRetirement)
{
    CClubDatabase* pClub = Clubs()[2];
    std::vector<CPlayerDatabase*> squad;
    for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>())
        if (p->m_byTransferState == 0)
            squad.push_back(p);
    ASSERT_GE(squad.size(), 3u);
    std::sort(squad.begin(), squad.end(),
              [](const CPlayerDatabase* a, const CPlayerDatabase* b) { return a->m_byRating < b->m_byRating; });
    CPlayerDatabase* pWeak = squad[0];
    CPlayerDatabase* pFree = squad[1];
    CPlayerDatabase* pExpired = squad[2];
    CPlayerDatabase* pStar = squad.back();
    // A rating above 110 % of the squad's average takes a player back.
    ASSERT_GT(pStar->m_byRating * 100, pClub->m_byAverageRating * 110);
    ASSERT_LE(pFree->m_byRating * 100, pClub->m_byAverageRating * 110);
    ASSERT_EQ(H().AddPlayerToListMarket(pWeak, pWeak->m_dwValue / 2, PLAYER_TRANSFER_LISTED, 65535), 0);
    ASSERT_EQ(H().AddPlayerToListMarket(pStar, pStar->m_dwValue / 2, PLAYER_TRANSFER_LISTED, 65535), 0);
    ASSERT_EQ(H().AddPlayerToListMarket(pFree, 0, PLAYER_TRANSFER_LEAVING, 0), 0);
    pStar->m_dwFlags |= PLAYER_FLAG_RELEASED;
    // Listed for a fee when his contract runs out: the free listing takes over.
    ASSERT_EQ(H().AddPlayerToListMarket(pExpired, pExpired->m_dwValue, PLAYER_TRANSFER_LISTED, 65535), 0);
    pExpired->m_Contract.dwEndDate = CDate(1999, 7, 3).GetValue();
    // 140 days listed already: Monday 5 July comes at 144, Monday 12 July past 150.
    for (CPlayerDatabase* p : {pWeak, pStar, pFree})
        p->m_wDaysListed = 140;

    RunDays(4);
    EXPECT_EQ(pWeak->m_byTransferState, PLAYER_TRANSFER_LISTED) << "not yet 150 days";
    EXPECT_EQ(pExpired->m_byTransferState, PLAYER_TRANSFER_LEAVING) << "the contract ran out";
    EXPECT_EQ(pExpired->m_dwAskingPrice, 0u);
    int nListings = 0;
    for (const CListMarketEntry* p : H().GetListMarket().Items<CListMarketEntry>())
        nListings += p->GetPlayerID() == pExpired->m_idPerson;
    EXPECT_EQ(nListings, 1) << "one listing, the free one";
    EXPECT_FALSE(pFree->m_dwFlags & PLAYER_FLAG_RETIRING);
    RunDays(7);
    ASSERT_EQ(H().GetGameDate(), CDate(1999, 7, 12));

    EXPECT_EQ(pWeak->m_byTransferState, PLAYER_TRANSFER_LEAVING) << "half price gave way to a free transfer";
    EXPECT_EQ(pWeak->m_dwAskingPrice, 0u);
    EXPECT_LT(pWeak->m_wDaysListed, 150) << "the free listing counts its own days";
    ASSERT_NE(H().FindListMarketEntry(pWeak->m_idPerson), nullptr);
    EXPECT_FALSE(pWeak->m_dwFlags & PLAYER_FLAG_RETIRING);

    EXPECT_EQ(pStar->m_byTransferState, 0) << "taken back into the squad";
    EXPECT_EQ(H().FindListMarketEntry(pStar->m_idPerson), nullptr);
    EXPECT_FALSE(pStar->m_dwFlags & PLAYER_FLAG_RELEASED) << "he counts in his group again";

    EXPECT_TRUE(pFree->m_dwFlags & PLAYER_FLAG_RETIRING) << "nobody took him for nothing";
    EXPECT_EQ(pFree->m_byTransferState, PLAYER_TRANSFER_LEAVING) << "he stays listed to the season's end";
}

TEST_F(ClubLife, MonthlyFinanceRunDrawsEveryWage)
{
    CClubDatabase* pClub = Divisions().front()->m_lstClubsByTable.Items<CClubDatabase>().begin().operator*();
    ASSERT_NE(pClub, nullptr);
    pClub->m_byInstalmentsLeft = 0;
    const int32_t nBefore = pClub->m_nBankBalance;
    pClub->ClubMonthlyStep(false);
    EXPECT_EQ(pClub->m_nBankBalance, nBefore) << "no finance run without the flag";
    // The wages of the people the club holds now (the step may have changed
    // its staff).
    int64_t nWages = 0;
    for (const CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>())
        if (p->m_byTransferState != PLAYER_TRANSFER_ON_LOAN)
            nWages += p->m_Contract.dwYearlyWage / 12;
    for (const CYouthDatabase* y : pClub->m_lstYouths.Items<CYouthDatabase>())
        nWages += y->m_dwYearlyWage / 12;
    for (const void* pId : pClub->m_lstStaff.Items<void>())
        nWages += H().GetStaffFromID(static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(pId)))->m_dwWage / 12;
    if (const CManagerDatabase* pManager = pClub->GetManager())
        nWages += pManager->m_Contract.dwWage / 12;
    ASSERT_GT(nWages, 0);
    ASSERT_GT(pClub->m_lstStaff.GetCount(), 0);

    // The run banks what the club booked since the last one, less the wages.
    int64_t nOpen = 0;
    for (int32_t nAccumulator : pClub->m_anFinanceAccumulators)
        nOpen += nAccumulator;
    pClub->ClubMonthlyStep(true);
    EXPECT_EQ(pClub->m_nBankBalance, nBefore + nOpen - nWages);
    EXPECT_EQ(pClub->m_nPreviousBalance, pClub->m_nBankBalance);
}

TEST_F(ClubLife, BookingsReachABanThatStartsTomorrowAndIsServed)
{
    CClubDatabase* pClub = nullptr;
    CPlayerDatabase* pPlayer = SteadyPlayer(pClub);
    ASSERT_NE(pPlayer, nullptr);
    PLAYERQUICKMATCH match;
    match.bStarted = true;
    match.nBookings = 1;
    for (int i = 0; i < 4; ++i)
        pPlayer->UpdateAfterQuickMatch(0, match);
    EXPECT_EQ(pPlayer->m_DisciplinaryHistory.GetCount(), 0) << "four bookings cost nothing";
    pPlayer->UpdateAfterQuickMatch(1, match);
    ASSERT_EQ(pPlayer->m_DisciplinaryHistory.GetCount(), 1) << "the fifth domestic booking";
    EXPECT_FALSE(pPlayer->IsSuspended(0)) << "the ban starts tomorrow";

    RunDays(1);
    EXPECT_TRUE(pPlayer->IsSuspended(0));
    EXPECT_TRUE(pPlayer->IsSuspended(1));
    EXPECT_FALSE(pPlayer->IsSuspended(2));
    EXPECT_EQ(pPlayer->m_byDomesticBanMatches, 1);
    EXPECT_FALSE(CClubDatabase::IsAvailable(pPlayer, 0));

    // A friendly does not serve a league ban; the club's next league match does.
    pClub->UpdateAfterMatch(3, 1, 0, true, nullptr);
    EXPECT_TRUE(pPlayer->IsSuspended(0));
    pClub->UpdateAfterMatch(0, 1, 0, true, nullptr);
    EXPECT_FALSE(pPlayer->IsSuspended(0));
    EXPECT_EQ(pPlayer->m_byDomesticBanMatches, 0);

    // A sending-off in a European match bans him there only.
    match.nBookings = 0;
    match.bSentOff = true;
    pPlayer->UpdateAfterQuickMatch(2, match);
    RunDays(1);
    EXPECT_TRUE(pPlayer->IsSuspended(2));
    EXPECT_FALSE(pPlayer->IsSuspended(0));
    EXPECT_EQ(pPlayer->m_byEuropeanBanMatches, 1);
    EXPECT_EQ(pPlayer->m_byDomesticBanMatches, 0);

    // Friendlies have no disciplinary consequences.
    pPlayer->UpdateAfterQuickMatch(3, match);
    EXPECT_EQ(pPlayer->m_DisciplinaryHistory.GetCount(), 2);
}

TEST_F(ClubLife, AnInjuryHealsOnItsDate)
{
    CClubDatabase* pClub = nullptr;
    CPlayerDatabase* pPlayer = SteadyPlayer(pClub);
    ASSERT_NE(pPlayer, nullptr);
    plat::srand(3);
    // Group 6 keeps him out one or two weeks and never ends a career.
    ASSERT_EQ(pPlayer->DoInjury(6, false), 0);
    ASSERT_TRUE(pPlayer->IsInjured());
    const auto* pEntry = static_cast<const INJURYENTRY*>(pPlayer->m_InjuryHistory.GetTail()->pData);
    const CDate back(H().GetGameDate().GetValue(), pEntry->wDays);
    EXPECT_TRUE(pEntry->wDays == 7 || pEntry->wDays == 14);
    while (H().GetGameDate() < CDate(back.GetValue(), -1))
        RunDays(1);
    EXPECT_TRUE(pPlayer->IsInjured()) << "still out the day before";
    RunDays(1);
    EXPECT_EQ(H().GetGameDate(), back);
    EXPECT_FALSE(pPlayer->IsInjured());
    EXPECT_EQ(pPlayer->m_byInjuryType, 0);
}

TEST_F(ClubLife, YoungPlayersRiseAndOldOnesFallOverASeason)
{
    // Each player starts on his age curve, so that the year's change is the
    // curve's: rising for the young, falling for the old.
    std::vector<std::pair<CPlayerDatabase*, int>> young, old;
    for (CClubDatabase* pClub : Clubs())
        for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>()) {
            if (p->IsInjured())
                continue;
            for (int a : kSkills)
                p->m_awAttributes[a] = static_cast<uint16_t>(
                    100 * p->GetAttributeForAge(a, p->GetAge() - PERSON_AGE_CURVE_FIRST_AGE, 0));
            if (p->GetAge() <= 20)
                young.emplace_back(p, SkillTotal(p));
            else if (p->GetAge() >= 32)
                old.emplace_back(p, SkillTotal(p));
        }
    ASSERT_GT(young.size(), 20u);
    ASSERT_GT(old.size(), 20u);

    CPlayerDatabase::s_fTrainingRate = 1.0f;
    CPlayerDatabase::s_fEffortThreshold = 1.5f;
    CPlayerDatabase::s_fEffortCap = 6.0f;
    for (int nWeek = 0; nWeek < 52; ++nWeek) {
        H().SetGameDate(CDate(H().GetGameDate().GetValue(), 7));
        for (auto* pGroup : {&young, &old})
            for (auto& entry : *pGroup)
                entry.first->DevelopPlayer(false, true);
    }
    auto meanChange = [](const std::vector<std::pair<CPlayerDatabase*, int>>& group) {
        double d = 0;
        for (const auto& entry : group)
            d += SkillTotal(entry.first) - entry.second;
        return d / static_cast<double>(group.size());
    };
    EXPECT_GT(meanChange(young), 0.0);
    EXPECT_LT(meanChange(old), 0.0);
    for (auto* pGroup : {&young, &old})
        for (auto& entry : *pGroup)
            for (uint16_t w : entry.first->m_awAttributes)
                ASSERT_LE(w, PLAYER_ATTRIBUTE_MAX);
}

TEST_F(ClubLife, AComputerClubsWeekFollowsTheThresholdAndCapInForce)
{
    // The same week from the same skills under the computer's threshold and
    // cap, under a threshold above every effort (every skill pulled down),
    // and under the first again: the first and the last agree, the middle
    // one does not.
    CPlayerDatabase* pPlayer = nullptr;
    for (CClubDatabase* pClub : Clubs())
        for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>())
            if (!pPlayer && !p->IsInjured())
                pPlayer = p;
    ASSERT_NE(pPlayer, nullptr);
    for (int a : kSkills)
        pPlayer->m_awAttributes[a] = 5000;
    uint16_t awStart[PLAYER_ATTRIBUTE_COUNT];
    std::copy(std::begin(pPlayer->m_awAttributes), std::end(pPlayer->m_awAttributes), awStart);
    const auto week = [&](float fThreshold, float fCap) {
        std::copy(std::begin(awStart), std::end(awStart), pPlayer->m_awAttributes);
        CPlayerDatabase::s_fTrainingRate = 1.0f;
        CPlayerDatabase::s_fEffortThreshold = fThreshold;
        CPlayerDatabase::s_fEffortCap = fCap;
        pPlayer->DevelopPlayer(false, true);
        return std::vector<uint16_t>(std::begin(pPlayer->m_awAttributes), std::end(pPlayer->m_awAttributes));
    };
    const std::vector<uint16_t> computer = week(1.5f, 6.0f);
    const std::vector<uint16_t> down = week(40.0f, 6.0f);
    EXPECT_EQ(week(1.5f, 6.0f), computer);
    EXPECT_NE(down, computer);
    for (int a : kSkills)
        EXPECT_LE(down[static_cast<size_t>(a)], computer[static_cast<size_t>(a)]) << a;
    EXPECT_NE(week(1.5f, 3.0f), computer);
    CPlayerDatabase::s_fEffortCap = 6.0f;
}

// Under a cap below every effort of the computer's plan each trained skill
// is pulled by the cap alone, so a week of every kind of player must leave
// each skill where the one-skill step puts it and the others untouched:
// skills below, inside and above the band and exactly at the target, at two
// training rates.
TEST_F(ClubLife, AWeekStepsEverySkillAsTheOneSkillStepDoes)
{
    constexpr int kUntrained[] = {PLAYER_ATTRIBUTE_INFLUENCE, PLAYER_ATTRIBUTE_INJURYPRONE,
                                  PLAYER_ATTRIBUTE_POTENTIAL, PLAYER_ATTRIBUTE_REPUTATION};
    constexpr float kCap = 1.0f;
    int nChecked = 0;
    for (const float fRate : {1.0f, 1.35f}) {
        CPlayerDatabase::s_fTrainingRate = fRate;
        CPlayerDatabase::s_fEffortThreshold = 0.0f;
        CPlayerDatabase::s_fEffortCap = kCap;
        unsigned nDraw = 12345;
        for (CClubDatabase* pClub : Clubs())
            for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>()) {
                if (p->IsInjured() || nChecked > 3000)
                    continue;
                const int nAge = p->GetAge() - PERSON_AGE_CURVE_FIRST_AGE;
                uint16_t awExpected[PLAYER_ATTRIBUTE_COUNT];
                for (int a = 0; a < PLAYER_ATTRIBUTE_COUNT; ++a) {
                    nDraw = nDraw * 1103515245u + 12345u;
                    const int nTarget = p->GetAttributeForAge(a, nAge, 0) * 100;
                    // One skill in four sits on its target; the rest anywhere.
                    int nValue = (nDraw >> 8) % 4 == 0 ? nTarget : static_cast<int>((nDraw >> 12) % 10001);
                    if (a == PLAYER_ATTRIBUTE_FITNESS)
                        nValue = 9000;  // fit enough that the week's load costs no morale
                    p->m_awAttributes[a] = static_cast<uint16_t>(std::min(nValue, 0xffff));
                }
                for (int a = 0; a < PLAYER_ATTRIBUTE_COUNT; ++a)
                    awExpected[a] = static_cast<uint16_t>(CPlayerDatabase::ApplyTrainingStep(
                        p->m_awAttributes[a], p->GetAttributeForAge(a, nAge, 0), kCap, 0.0f, kCap));
                for (int a : kUntrained)
                    awExpected[a] = p->m_awAttributes[a];
                p->DevelopPlayer(false, true);
                for (int a = 0; a < PLAYER_ATTRIBUTE_COUNT; ++a)
                    ASSERT_EQ(p->m_awAttributes[a], awExpected[a]) << "attribute " << a << " at rate " << fRate;
                ++nChecked;
            }
    }
    EXPECT_GT(nChecked, 1000);
    CPlayerDatabase::s_fTrainingRate = 1.0f;
    CPlayerDatabase::s_fEffortThreshold = 1.5f;
    CPlayerDatabase::s_fEffortCap = 6.0f;
}

// An injured player of a computer club has no pull on his skills: his week
// must leave each skill he keeps up where the one-skill step under no pull
// puts it (lifted to a quarter of its target, cut to the target, or kept)
// and every other attribute untouched, at two training rates.
TEST_F(ClubLife, AnInjuredWeekHoldsEachKeptSkillAsTheOneSkillStepDoes)
{
    constexpr int kKeptUp[] = {PLAYER_ATTRIBUTE_HANDLING, PLAYER_ATTRIBUTE_TACKLING, PLAYER_ATTRIBUTE_DRIBBLING,
                               PLAYER_ATTRIBUTE_HEADING,  PLAYER_ATTRIBUTE_SHOOTING, PLAYER_ATTRIBUTE_PASSING,
                               PLAYER_ATTRIBUTE_PACE,     PLAYER_ATTRIBUTE_STRENGTH, PLAYER_ATTRIBUTE_FITNESS};
    int nChecked = 0, nLifted = 0, nCut = 0, nKept = 0;
    CPlayerDatabase::s_fEffortCap = 6.0f;
    for (const float fRate : {1.0f, 1.35f}) {
        CPlayerDatabase::s_fTrainingRate = fRate;
        unsigned nDraw = 54321;
        for (CClubDatabase* pClub : Clubs())
            for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>()) {
                if (nChecked > 3000)
                    continue;
                const int nAge = p->GetAge() - PERSON_AGE_CURVE_FIRST_AGE;
                for (uint16_t& w : p->m_awAttributes) {
                    nDraw = nDraw * 1103515245u + 12345u;
                    w = static_cast<uint16_t>((nDraw >> 12) % 10001);
                }
                uint16_t awExpected[PLAYER_ATTRIBUTE_COUNT];
                std::copy(std::begin(p->m_awAttributes), std::end(p->m_awAttributes), awExpected);
                for (int a : kKeptUp) {
                    // One skill in four sits on its target.
                    nDraw = nDraw * 1103515245u + 12345u;
                    const int nTarget = p->GetAttributeForAge(a, nAge, 0);
                    if ((nDraw >> 8) % 4 == 0)
                        p->m_awAttributes[a] = static_cast<uint16_t>(nTarget * 100);
                }
                for (int a : kKeptUp) {
                    const int nCurrent = p->m_awAttributes[a];
                    const int nTarget = p->GetAttributeForAge(a, nAge, 0);
                    awExpected[a] = static_cast<uint16_t>(
                        CPlayerDatabase::ApplyTrainingStep(nCurrent, nTarget, 0.0f, 0.0f, 6.0f));
                    nLifted += awExpected[a] > nCurrent;
                    nCut += awExpected[a] < nCurrent;
                    nKept += awExpected[a] == nCurrent;
                }
                p->DevelopInjuredPlayer(true, nAge);
                for (int a = 0; a < PLAYER_ATTRIBUTE_COUNT; ++a)
                    ASSERT_EQ(p->m_awAttributes[a], awExpected[a]) << "attribute " << a << " at rate " << fRate;
                ++nChecked;
            }
    }
    EXPECT_GT(nChecked, 1000);
    EXPECT_GT(nLifted, 100);
    EXPECT_GT(nCut, 100);
    EXPECT_GT(nKept, 100);
    CPlayerDatabase::s_fTrainingRate = 1.0f;
}

TEST_F(ClubLife, ShortGroupsAreFilledFromTheYouthsAndSurplusPlayersReleased)
{
    CClubDatabase* pClub = nullptr;
    for (CDivisionDatabase* pDivision : Divisions())
        if (pDivision->m_byKind == DIVISION_KIND_LEAGUE) {
            pClub = pDivision->m_lstClubsByTable.Items<CClubDatabase>().begin().operator*();
            break;
        }
    ASSERT_NE(pClub, nullptr);
    // All but two of each group are put on the list: the squad is short.
    int anKept[4] = {};
    for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>())
        if (anKept[p->m_byPosition]++ >= 2)
            p->m_byTransferState = PLAYER_TRANSFER_LISTED;
    const int nHeld = pClub->GetPlayersHeld();
    pClub->MaintainSquad();
    const int anMinimum[4] = {3, 7, 7, 5};
    int nPromoted = 0;
    for (int g = 0; g < 4; ++g) {
        EXPECT_EQ(pClub->CountSquadOfGroup(g), anMinimum[g]) << "group " << g;
        nPromoted += anMinimum[g] - 2;
    }
    EXPECT_EQ(pClub->GetPlayersHeld(), nHeld + nPromoted);
    for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>()) {
        EXPECT_EQ(H().GetPlayerFromID(p->m_idPerson), p);
        EXPECT_EQ(p->m_pClub, pClub);
    }
    for (const CYouthDatabase* y : pClub->m_lstYouths.Items<CYouthDatabase>())
        EXPECT_EQ(H().GetYouthFromID(y->m_idPerson), y);
    EXPECT_GT(pClub->FillYouthSquad() + pClub->m_lstYouths.GetCount(), 0);
    EXPECT_EQ(pClub->FillYouthSquad(), 0) << "the youth squad is at its minimum";

    // Ten goalkeepers are two too many: the two weakest are released.
    CClubDatabase* pOther = Divisions().front()->m_lstClubsByTable.Items<CClubDatabase>().begin().operator*();
    if (pOther == pClub)
        pOther = static_cast<CClubDatabase*>(Divisions().front()->m_lstClubsByTable.GetTail()->pData);
    std::vector<CPlayerDatabase*> keepers;
    for (CPlayerDatabase* p : pOther->m_lstPlayers.Items<CPlayerDatabase>())
        if (keepers.size() < 10 && p->m_byTransferState == 0) {
            p->m_byPosition = PLAYER_POSITION_GOALKEEPER;
            keepers.push_back(p);
        }
    ASSERT_EQ(keepers.size(), 10u);
    std::sort(keepers.begin(), keepers.end(),
              [](const CPlayerDatabase* a, const CPlayerDatabase* b) { return a->m_byRating < b->m_byRating; });
    pOther->MaintainSquad();
    EXPECT_EQ(pOther->CountSquadOfGroup(PLAYER_POSITION_GOALKEEPER), 8);
    constexpr uint32_t kReleased = 0x80000;
    EXPECT_TRUE(keepers[0]->m_dwFlags & kReleased);
    EXPECT_TRUE(keepers[1]->m_dwFlags & kReleased);
    EXPECT_FALSE(keepers[2]->m_byRating > keepers[1]->m_byRating && (keepers[2]->m_dwFlags & kReleased));
}

TEST_F(ClubLife, YouthsOfEighteenArePromotedWhenReadyAndOtherwiseReleased)
{
    CClubDatabase* pClub = static_cast<CClubDatabase*>(Divisions().back()->m_lstClubsByTable.GetHead()->pData);
    pClub->FillYouthSquad();
    ASSERT_GE(pClub->m_lstYouths.GetCount(), 3);
    std::vector<CYouthDatabase*> youths;
    for (CYouthDatabase* y : pClub->m_lstYouths.Items<CYouthDatabase>())
        youths.push_back(y);
    const uint16_t wYear = static_cast<uint16_t>(H().GetGameDate().GetYear());
    auto makeYouth = [&](CYouthDatabase* y, int nAge, int nPotential) {
        y->m_DateOfBirth.wYear = static_cast<uint16_t>(wYear - nAge - 1);
        y->m_awAttributes[PLAYER_ATTRIBUTE_POTENTIAL] = static_cast<uint16_t>(nPotential);
        y->m_dwValue = 0;
        return y->m_idPerson;
    };
    const ID_PLAYER idReady = makeYouth(youths[0], 18, 9900);
    const ID_PLAYER idNotReady = makeYouth(youths[1], 19, 0);
    const ID_PLAYER idYoung = makeYouth(youths[2], 16, 0);
    for (size_t i = 3; i < youths.size(); ++i)
        makeYouth(youths[i], 15, 0);
    const int nPlayers = pClub->m_nPlayerCount;

    pClub->SeasonYouthReview();
    const CPlayerDatabase* pPromoted = H().GetPlayerFromID(idReady);
    ASSERT_NE(pPromoted, nullptr) << "the ready youth is a squad player";
    EXPECT_EQ(pPromoted->m_pClub, pClub);
    EXPECT_EQ(pClub->m_nPlayerCount, nPlayers + 1);
    auto inClub = [&](ID_PLAYER id) {
        for (const CYouthDatabase* y : pClub->m_lstYouths.Items<CYouthDatabase>())
            if (y->m_idPerson == id)
                return true;
        return false;
    };
    EXPECT_FALSE(inClub(idNotReady)) << "a youth of 19 not ready is released";
    EXPECT_EQ(H().GetPlayerFromID(idNotReady), nullptr);
    EXPECT_TRUE(inClub(idYoung)) << "a youth of 16 waits";
}

// A computer club whose squad (listed and loaned-out players aside) is made
// up to the given size with promoted youths; its defenders fill out first.
CClubDatabase* SquadOfSize(CClubDatabase* pClub, int nSize)
{
    while (pClub->CountSquadForLimits() < nSize) {
        pClub->FillYouthSquad();
        if (!pClub->PromoteYouth(pClub->FindYouthOfGroup(1)))
            break;
    }
    int nListed = pClub->CountSquadForLimits() - nSize;
    for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>())
        if (nListed > 0 && p->m_byPosition == 2 && p->m_byTransferState == 0) {
            p->m_byTransferState = PLAYER_TRANSFER_LISTED;
            --nListed;
        }
    pClub->UpdateSquadAverages();
    return pClub;
}

TEST_F(ClubLife, ASquadAboveItsSizeLetsWeakerSparePlayersGoWhenTheirContractsEnd)
{
    CClubDatabase* pClub = static_cast<CClubDatabase*>(Divisions().front()->m_lstClubsByTable.GetHead()->pData);
    std::vector<CPlayerDatabase*> defenders;
    for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>())
        if (p->m_byPosition == 1 && p->m_byTransferState == 0)
            defenders.push_back(p);
    ASSERT_GE(defenders.size(), 2u);
    CPlayerDatabase* pWeak = defenders[0];
    CPlayerDatabase* pStrong = defenders[1];
    struct Case {
        const char* pszName;
        int nSquad;
        bool bWeak;
        bool bSurplus;
    };
    const Case cases[] = {
        {"a weak defender in a squad of 28", 28, true, true},
        {"a strong defender in a squad of 28", 28, false, false},
        {"a weak defender in a squad of 25", 25, true, false},
    };
    for (const Case& c : cases) {
        SquadOfSize(pClub, c.nSquad);
        pWeak->m_byRating = 1;
        pStrong->m_byRating = 99;
        pClub->UpdateSquadAverages();
        ASSERT_EQ(pClub->CountSquadForLimits(), c.nSquad) << c.pszName;
        EXPECT_EQ(pClub->IsSurplusPlayer(c.bWeak ? pWeak : pStrong), c.bSurplus) << c.pszName;
    }

    // With four weeks left, the spare player's contract is not drawn anew and
    // runs out; the needed one's is.
    SquadOfSize(pClub, 28);
    pWeak->m_byRating = 1;
    pStrong->m_byRating = 99;
    pClub->UpdateSquadAverages();
    const CDate today = H().GetGameDate();
    for (CPlayerDatabase* p : {pWeak, pStrong})
        p->m_Contract.dwEndDate = CDate(today.GetValue(), 28).GetValue();
    pClub->RenewExpiringContracts();
    EXPECT_EQ(pWeak->GetContractTimeLeft(0), 4);
    EXPECT_GE(pStrong->GetContractTimeLeft(0), 52);
    // Nor is a player who has said he will retire kept on.
    pStrong->m_Contract.dwEndDate = CDate(today.GetValue(), 28).GetValue();
    pStrong->m_dwFlags |= PLAYER_FLAG_RETIRING;
    pClub->RenewExpiringContracts();
    EXPECT_EQ(pStrong->GetContractTimeLeft(0), 4);

    // A group at its minimum keeps even its weakest player.
    for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>())
        if (p->m_byPosition == 0 && p->m_byTransferState == 0 && pClub->CountSquadOfGroup(0) > 3)
            p->m_byTransferState = PLAYER_TRANSFER_LISTED;
    CPlayerDatabase* pKeeper = pClub->FindWeakestOfGroup(0);
    ASSERT_NE(pKeeper, nullptr);
    pKeeper->m_byRating = 1;
    pClub->UpdateSquadAverages();
    ASSERT_GT(pClub->CountSquadForLimits(), 25);
    EXPECT_FALSE(pClub->IsSurplusPlayer(pKeeper));
}

TEST_F(ClubLife, AFullSquadTakesAYouthOnlyInPlaceOfAWeakerPlayer)
{
    CClubDatabase* pClub = SquadOfSize(
        static_cast<CClubDatabase*>(Divisions().front()->m_lstClubsByTable.GetHead()->pData), 25);
    CPlayerDatabase* pWeakest = pClub->FindWeakestOfGroup(1);
    ASSERT_NE(pWeakest, nullptr);
    pWeakest->m_byRating = 20;
    const uint16_t wYear = static_cast<uint16_t>(H().GetGameDate().GetYear());
    // Two ready defenders of 18, one rated above the weakest defender and
    // one below him.
    std::vector<CYouthDatabase*> youths;
    for (CYouthDatabase* y : pClub->m_lstYouths.Items<CYouthDatabase>()) {
        y->m_DateOfBirth.wYear = static_cast<uint16_t>(wYear - 16);
        if (y->m_byPosition == 1 && youths.size() < 2)
            youths.push_back(y);
    }
    ASSERT_EQ(youths.size(), 2u);
    for (CYouthDatabase* y : youths) {
        y->m_DateOfBirth.wYear = static_cast<uint16_t>(wYear - 19);
        y->m_awAttributes[PLAYER_ATTRIBUTE_POTENTIAL] = 9900;
    }
    youths[0]->m_byRating = 30;
    youths[1]->m_byRating = 10;
    const ID_PLAYER idBetter = youths[0]->m_idPerson;
    const ID_PLAYER idWorse = youths[1]->m_idPerson;
    const int nPlayers = pClub->m_nPlayerCount;

    pClub->SeasonYouthReview();
    const CPlayerDatabase* pPromoted = H().GetPlayerFromID(idBetter);
    ASSERT_NE(pPromoted, nullptr) << "the better youth is a squad player";
    EXPECT_EQ(pPromoted->m_pClub, pClub);
    EXPECT_EQ(H().GetPlayerFromID(idWorse), nullptr) << "the weaker youth is released";
    EXPECT_EQ(pClub->m_nPlayerCount, nPlayers + 1);
    // The defender he replaces is offered at half his value.
    EXPECT_EQ(pWeakest->m_byTransferState, PLAYER_TRANSFER_LISTED);
    EXPECT_TRUE(pWeakest->m_dwFlags & PLAYER_FLAG_RELEASED);
    EXPECT_EQ(pClub->CountSquadForLimits(), 25);
}

TEST_F(ClubLife, TwoMonthsOfTheWorldKeepFinancesPlausibleAndSave)
{
    std::map<const CClubDatabase*, int32_t> before;
    std::map<const CClubDatabase*, int> fans;
    for (CClubDatabase* pClub : Clubs()) {
        before[pClub] = pClub->m_nBankBalance;
        fans[pClub] = pClub->m_nFanConfidence;
    }
    const int nPlayersBefore = H().GetPlayerCount();
    // The leagues begin early in August; the finance run is on the 1st and
    // the first quarter's squad upkeep on 1 September.
    RunDays(63);
    ASSERT_GE(H().GetGameDate(), CDate(1999, 9, 2));

    int nPaid = 0, nGates = 0, nMoods = 0;
    for (CClubDatabase* pClub : Clubs()) {
        SCOPED_TRACE(pClub->GetName());
        const int64_t nChange = static_cast<int64_t>(pClub->m_nBankBalance) - before[pClub];
        EXPECT_LT(std::llabs(nChange), 200000000LL) << "two months move no club by hundreds of millions";
        if (nChange != 0)
            ++nPaid;
        if (pClub->m_SeasonAttendance.nHighest > 0) {
            ++nGates;
            EXPECT_LE(pClub->m_SeasonAttendance.nHighest,
                      pClub->m_pGround && pClub->m_pGround->GetCapacity() > 0 ? pClub->m_pGround->GetCapacity()
                                                                              : 10000);
        }
        if (pClub->m_nFanConfidence != fans[pClub])
            ++nMoods;
        EXPECT_GE(pClub->m_nFanConfidence, 0);
        EXPECT_LE(pClub->m_nFanConfidence, 100);
        EXPECT_GE(pClub->m_nBoardConfidence, 10);
        EXPECT_LE(pClub->m_nBoardConfidence, 100);
        EXPECT_GE(pClub->m_byFinancialStability, 20);
        EXPECT_LE(pClub->m_byFinancialStability, 100);
        EXPECT_TRUE(std::isfinite(pClub->GetAttendanceFactor(nullptr, 0)));
    }
    EXPECT_GT(nPaid, static_cast<int>(before.size()) * 9 / 10) << "wages and gates moved nearly every balance";
    EXPECT_GT(nGates, static_cast<int>(before.size()) / 3) << "home gates were taken";
    EXPECT_GT(nMoods, static_cast<int>(before.size()) / 3) << "results moved the fans";
    EXPECT_GE(H().GetPlayerCount(), nPlayersBefore);

    // The world saves, reloads and saves again to the same bytes.
    FILE* pFile = std::fopen("month.bin", "wb");
    ASSERT_NE(pFile, nullptr);
    ASSERT_TRUE(H().Save(pFile));
    std::fclose(pFile);
    m_handler.reset();
    m_handler = std::make_unique<CDatabaseHandler>();
    pFile = std::fopen("month.bin", "rb");
    ASSERT_NE(pFile, nullptr);
    ASSERT_TRUE(H().Load(pFile));
    std::fclose(pFile);
    H().SetupPointers();
    pFile = std::fopen("again.bin", "wb");
    ASSERT_NE(pFile, nullptr);
    ASSERT_TRUE(H().Save(pFile));
    std::fclose(pFile);
    const std::string first = ReadFile("month.bin");
    const std::string again = ReadFile("again.bin");
    EXPECT_EQ(first.size(), again.size());
    const auto mismatch = std::mismatch(first.begin(), first.end(), again.begin(), again.end());
    EXPECT_TRUE(mismatch.first == first.end()) << "first difference at byte " << (mismatch.first - first.begin());
}

}  // namespace
