// A club's season and its manager's job in the starting world: the board's
// verdict on the target, the records its players set, and the search for a
// new manager after a sacking.
#include "../dayloop/DayLoopSupport.h"

#include "database/CEventsDatabase.h"
#include "database/CManagerDatabase.h"

using namespace dayloop_test;

namespace {

class ClubSeason : public DayLoopWorld {
protected:
    CClubDatabase* ClubOf(int nDivision)
    {
        return static_cast<CClubDatabase*>(Divisions()[static_cast<size_t>(nDivision)]->m_lstClubsByTable.GetHead()->pData);
    }
};

TEST_F(ClubSeason, TheBoardJudgesTheSeasonByItsTarget)
{
    CClubDatabase* pTop = ClubOf(0);
    CClubDatabase* pSecond = ClubOf(1);
    ASSERT_EQ(pTop->m_pDivision->m_byDivisionNumber, 1);
    ASSERT_EQ(pSecond->m_pDivision->m_byDivisionNumber, 2);
    struct Case {
        const char* pszName;
        CClubDatabase* pClub;
        uint8_t byKind, byPosition;
        const CDivisionDatabase* pTarget;
        bool bMet;
    };
    const Case cases[] = {
        {"kind 0: a top club within the first five", pTop, 0, 4, nullptr, true},
        {"kind 0: a top club below them", pTop, 0, 5, nullptr, false},
        {"kind 0: never below the top division", pSecond, 0, 1, nullptr, false},
        {"kind 4: staying up", pSecond, 4, 0, pSecond->m_pDivision, true},
        {"kind 4: going down is fine", pTop, 4, 0, pSecond->m_pDivision, true},
        {"kind 5: promotion wanted, not had", pSecond, 5, 0, pSecond->m_pDivision, false},
        {"kind 5: promotion had", pSecond, 5, 0, pTop->m_pDivision, true},
        {"kind 1: always met", pSecond, 1, 0, nullptr, true},
    };
    for (const Case& c : cases) {
        c.pClub->m_byTargetKind = c.byKind;
        c.pClub->m_byTargetPosition = c.byPosition;
        c.pClub->m_byTargetDivision = c.pTarget ? c.pTarget->m_byDivisionId : 0;
        c.pClub->m_nBoardConfidence = 50;
        EXPECT_EQ(c.pClub->CheckSeasonTarget(), c.bMet) << c.pszName;
        // A computer club's board only ever rewards a met target.
        EXPECT_EQ(c.pClub->m_nBoardConfidence, c.bMet ? 65 : 50) << c.pszName;
    }
}

TEST_F(ClubSeason, RecordsKeepTheBestOfTheSeasonAndTheOldestPlayer)
{
    CClubDatabase* pClub = ClubOf(0);
    RunDays(120);
    CLUBRECORDENTRY records[CLUB_RECORD_ENTRIES] = {};
    pClub->UpdateClubRecords(records);
    const CPlayerDatabase* pBest = nullptr;
    const CPlayerDatabase* pOldest = nullptr;
    for (const CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>()) {
        if (!pBest || p->m_byRating > pBest->m_byRating)
            pBest = p;
        const auto born = [](const CPlayerDatabase* q) {
            return q->m_DateOfBirth.wYear * 10000 + q->m_DateOfBirth.byMonth * 100 + q->m_DateOfBirth.byDay;
        };
        if (!pOldest || born(p) < born(pOldest))
            pOldest = p;
    }
    EXPECT_EQ(records[1].nMeasure, pBest->m_byRating);
    EXPECT_EQ(records[10].nData1, static_cast<int32_t>(pOldest->m_idPerson)) << "the one slot that keeps the lowest";
    EXPECT_GT(records[0].nMeasure, 0) << "somebody has played";
    // The season's records join the all-time ones.
    pClub->CloseSeasonClubRecords();
    EXPECT_EQ(pClub->m_aClubRecords[1].nMeasure, pBest->m_byRating);
}

TEST_F(ClubSeason, FriendliesCountForNoSeasonRecord)
{
    // Competition blocks of a career entry: 0 league, 2 cups, 3 friendlies.
    constexpr int kLeague = 0, kCups = 2, kFriendlies = 3;
    CClubDatabase* pClub = ClubOf(0);
    auto it = pClub->m_lstPlayers.Items<CPlayerDatabase>().begin();
    CPlayerDatabase* pFriendlyStar = *it;
    CPlayerDatabase* pRegular = *++it;
    for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>())
        for (int k = 0; k < 4; ++k)
            if (MATCHINFORMATION* pInfo = p->GetMatchInformation(k))
                *pInfo = MATCHINFORMATION{static_cast<uint8_t>(k)};
    pFriendlyStar->IncrementMatchInformationField(kLeague, MATCH_INFORMATION_STARTS, 3);
    pFriendlyStar->IncrementMatchInformationField(kFriendlies, MATCH_INFORMATION_STARTS, 9);
    pFriendlyStar->IncrementMatchInformationField(kFriendlies, MATCH_INFORMATION_GOALS, 8);
    pRegular->IncrementMatchInformationField(kLeague, MATCH_INFORMATION_STARTS, 4);
    pRegular->IncrementMatchInformationField(kCups, MATCH_INFORMATION_SUBSTITUTE, 1);
    pRegular->IncrementMatchInformationField(kCups, MATCH_INFORMATION_GOALS, 2);

    EXPECT_EQ(pFriendlyStar->GetSeasonCompetitiveTotal(MATCH_INFORMATION_STARTS), 3);
    EXPECT_EQ(pFriendlyStar->GetSeasonTotal(MATCH_INFORMATION_STARTS), 12) << "the plain total keeps every block";
    CLUBRECORDENTRY records[CLUB_RECORD_ENTRIES] = {};
    pClub->UpdateClubRecords(records);
    // Slot 0 appearances, slot 13 goals.
    EXPECT_EQ(records[0].nData1, static_cast<int32_t>(pRegular->m_idPerson));
    EXPECT_EQ(records[0].nMeasure, 5);
    EXPECT_EQ(records[13].nData1, static_cast<int32_t>(pRegular->m_idPerson));
    EXPECT_EQ(records[13].nMeasure, 2);
}

TEST_F(ClubSeason, ASackedManagerIsReplacedAfterASearch)
{
    CClubDatabase* pClub = ClubOf(2);
    CManagerDatabase* pManager = pClub->GetManager();
    ASSERT_NE(pManager, nullptr);
    pManager->m_Contract.StartDate = {1990, 1, 1};  // long in the job
    // The board has lost patience by the month's review.
    while (H().GetGameDate().GetDay() != 1 || H().GetGameDate() == CDate(1999, 7, 1)) {
        pClub->m_nBoardConfidence = 10;
        RunDays(1);
    }
    ASSERT_NE(pClub->GetManager(), pManager) << "sacked";
    EXPECT_EQ(pClub->m_wManagerId, 0) << "no man is appointed before the search ends";
    ASSERT_NE(pClub->m_pCountry->FindClubReview(pClub, nullptr), nullptr);
    const CEventsDatabase* pEvent = pClub->m_pCountry->FindEvent(45, pClub->GetID(), nullptr);
    ASSERT_NE(pEvent, nullptr);
    const int nDays = pEvent->GetDate().DaysBetween(H().GetGameDate());
    EXPECT_TRUE(nDays == 7 || nDays == 14 || nDays == 21) << nDays;
    // Searches go on until a man of the pool takes the job.
    for (int i = 0; i < 120 && pClub->m_wManagerId == 0; ++i)
        RunDays(1);
    ASSERT_NE(pClub->m_wManagerId, 0);
    EXPECT_EQ(pClub->m_pCountry->FindClubReview(pClub, nullptr), nullptr) << "the review ends with the search";
    EXPECT_NE(pClub->m_wManagerId, pManager->GetId()) << "a new man";
    // A made-up man's names are drawn for his first club's country, but for
    // one draw in a hundred.
    CManagerDatabase* pDrawn = pClub->GetManager();
    int nLocal = 0;
    for (int i = 0; i < 200; ++i) {
        pDrawn->ReGenerateNationality();
        nLocal += pDrawn->m_byNationality == pClub->m_pCountry->GetID();
    }
    EXPECT_GE(nLocal, 190);
}

}  // namespace
