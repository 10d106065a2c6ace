// A human's scouts: queries that come due on their day, reports that carry
// the scout's judgement, and the scouting section of the .sav body.
#include "HumanWorld.h"
#include "database/CCountryDatabase.h"
#include "database/CEventsDatabase.h"
#include "database/CStaffDatabase.h"
#include "database/CYouthDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CNoticeList.h"
#include "season/CScoutManager.h"

#include <cstdlib>
#include <vector>

using namespace humans_test;

namespace {

std::vector<uint8_t> SaveScouts(const CScoutManager& scouts)
{
    std::vector<uint8_t> bytes;
    CBinaryWriter writer(bytes);
    EXPECT_TRUE(scouts.Save(writer));
    return bytes;
}

class Scouting : public HumanWorld {
protected:
    // A staff member of the pool made a scout with the given judging.
    CStaffDatabase* Scout(int nIndex, int nJudging)
    {
        LPXLISTNODE pNode = H().GetStaffPool().GetAt(nIndex);
        CStaffDatabase* pStaff =
            pNode ? H().GetStaffFromID(static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(pNode->pData))) : nullptr;
        if (pStaff)
            pStaff->m_abyAbilities[1] = static_cast<uint8_t>(nJudging);
        return pStaff;
    }
    // The first n players of another club.
    std::vector<CPlayerDatabase*> Targets(int n)
    {
        std::vector<CPlayerDatabase*> players;
        for (CPlayerDatabase* p : H().GetClubFromID(2)->m_lstPlayers.Items<CPlayerDatabase>())
            if (static_cast<int>(players.size()) < n)
                players.push_back(p);
        return players;
    }
    CScoutManager& Scouts() { return m_pHuman->GetScoutManager(); }
};

}  // namespace

TEST_F(Scouting, AQueryReportsOnItsDayWithTheScoutsJudgement)
{
    CStaffDatabase* pPoor = Scout(0, 30);
    CStaffDatabase* pSharp = Scout(1, 95);
    ASSERT_NE(pPoor, nullptr);
    ASSERT_NE(pSharp, nullptr);
    const std::vector<CPlayerDatabase*> targets = Targets(4);
    ASSERT_EQ(targets.size(), 4u);
    CYouthDatabase* pYouth = static_cast<CYouthDatabase*>(H().GetClubFromID(2)->m_lstYouths.GetHead()
                                                              ? H().GetClubFromID(2)->m_lstYouths.GetHead()->pData
                                                              : nullptr);

    auto* pPoorQuery = new CScoutPlayerQuery;
    pPoorQuery->SetScout(pPoor);
    for (int i = 0; i < 3; ++i)
        pPoorQuery->AddPlayer(targets[static_cast<size_t>(i)], false);
    if (pYouth)
        pPoorQuery->AddPlayer(pYouth, true);
    ASSERT_TRUE(Scouts().SendScout(pPoorQuery, 10));
    auto* pSharpQuery = new CScoutPlayerQuery;
    pSharpQuery->SetScout(pSharp);
    pSharpQuery->AddPlayer(targets[3], false);
    ASSERT_TRUE(Scouts().SendScout(pSharpQuery, 3));
    EXPECT_NE(pPoorQuery->m_dwID, pSharpQuery->m_dwID);
    EXPECT_TRUE(Scouts().IsPersonBeingScouted(targets[0]));
    EXPECT_TRUE(Scouts().IsScoutWatchingPlayer(pPoor, targets[1]));
    EXPECT_FALSE(Scouts().IsScoutWatchingPlayer(pSharp, targets[1]));
    if (pYouth)
        EXPECT_TRUE(Scouts().IsScoutWatchingYouth(pPoor, pYouth));

    // A busy scout takes no second query.
    {
        LogCapture log;
        CScoutPlayerQuery second;
        second.SetScout(pPoor);
        EXPECT_FALSE(Scouts().AddScoutPlayerQuery(&second));
        EXPECT_TRUE(log.Contains("There is already a player query active for this scout"));
        EXPECT_EQ(Scouts().GetQueryCount(), 2);
    }

    const CDate sent = H().GetGameDate();
    RunDays(2);
    EXPECT_EQ(Scouts().GetReports().GetCount(), 0) << "nothing before the day";
    EXPECT_EQ(pSharpQuery->m_wDaysElapsed, 2) << "the scouting day counts";
    RunDays(1);
    ASSERT_NE(Scouts().FindReport(targets[3]->m_idPerson), nullptr) << "the sharp scout is back on day 3";
    EXPECT_EQ(Scouts().FindReport(targets[0]->m_idPerson), nullptr);
    for (int8_t nError : Scouts().FindReport(targets[3]->m_idPerson)->anErrors)
        EXPECT_EQ(nError, 0) << "a judge of 95 sees the true figures";
    EXPECT_EQ(m_pHuman->GetScoutReportStaff(), pSharp->GetId());

    RunDays(7);
    EXPECT_EQ(H().GetGameDate(), CDate(sent.GetValue(), 10));
    EXPECT_EQ(Scouts().GetQueryCount(), 0);
    EXPECT_EQ(Scouts().GetReports().GetCount(), pYouth ? 5 : 4);
    for (int i = 0; i < 3; ++i) {
        const SCOUTREPORT* pReport = Scouts().FindReport(targets[static_cast<size_t>(i)]->m_idPerson);
        ASSERT_NE(pReport, nullptr);
        EXPECT_EQ(pReport->Date, H().GetGameDate());
        EXPECT_EQ(pReport->dwScoutId, pPoor->GetId());
        EXPECT_EQ(pReport->byYouth, 0);
        for (int8_t nError : pReport->anErrors)
            EXPECT_TRUE(std::abs(nError) >= 21 && std::abs(nError) <= 24) << "a judge of 30 is 21-24 out";
    }
    if (pYouth)
        EXPECT_EQ(Scouts().FindReport(pYouth->m_idPerson)->byYouth, 1);
    EXPECT_EQ(m_pHuman->GetNavigationAlert(1), 1);
    EXPECT_EQ(m_pHuman->GetScoutReportStaff(), pPoor->GetId());
    bool bNews = false;
    for (const CNewsItem* pItem : m_pHuman->GetNews().GetIncoming().Items<CNewsItem>())
        bNews = bNews || (pItem->GetType() == 2 && pItem->GetSlot(NEWS_SLOT_STAFF) == pPoor->GetId());
    EXPECT_TRUE(bNews) << "news item 2 names the scout";
}

TEST_F(Scouting, ReportsReplaceOlderOnesAndTheOldestGoesPastThreeHundred)
{
    CStaffDatabase* pScout = Scout(0, 75);
    ASSERT_NE(pScout, nullptr);
    std::vector<CPlayerDatabase*> all;
    for (int nClub = 2; all.size() < 301 && nClub < 40; ++nClub)
        if (CClubDatabase* pClub = H().GetClubFromID(static_cast<ID_CLUB>(nClub)))
            for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>())
                all.push_back(p);
    ASSERT_GE(all.size(), 301u);
    auto complete = [&](size_t nFirst, size_t nCount) {
        auto* pQuery = new CScoutPlayerQuery;
        pQuery->SetScout(pScout);
        pQuery->m_dwID = 900;
        for (size_t i = nFirst; i < nFirst + nCount; ++i)
            pQuery->AddPlayer(all[i], false);
        ASSERT_TRUE(Scouts().AddScoutPlayerQuery(pQuery));
        Scouts().CompleteScoutQuery(pQuery);
    };
    complete(0, 300);
    EXPECT_EQ(Scouts().GetReports().GetCount(), 300);
    complete(0, 1);
    EXPECT_EQ(Scouts().GetReports().GetCount(), 300) << "a new report replaces the old one on the player";
    EXPECT_EQ(static_cast<const SCOUTREPORT*>(Scouts().GetReports().GetTail()->pData)->dwPersonId, all[0]->m_idPerson);
    complete(300, 1);
    EXPECT_EQ(Scouts().GetReports().GetCount(), 300);
    EXPECT_EQ(Scouts().FindReport(all[1]->m_idPerson), nullptr) << "the oldest report went";
    ASSERT_NE(Scouts().FindReport(all[300]->m_idPerson), nullptr);
    for (int8_t nError : Scouts().FindReport(all[300]->m_idPerson)->anErrors)
        EXPECT_TRUE(std::abs(nError) >= 5 && std::abs(nError) <= 8);
}

TEST_F(Scouting, LeavingTheClubDropsTheQueriesWithTheirEvents)
{
    CStaffDatabase* pScout = Scout(0, 50);
    auto* pQuery = new CScoutPlayerQuery;
    pQuery->SetScout(pScout);
    pQuery->AddPlayer(Targets(1)[0], false);
    ASSERT_TRUE(Scouts().SendScout(pQuery, 20));
    const uint32_t dwId = pQuery->m_dwID;
    EXPECT_EQ(H().GetScoutQueryFromID(dwId), pQuery);
    ASSERT_NE(m_pHuman->GetCountry()->FindEvent(EVENT_SCOUT_COMPLETE, dwId), nullptr);
    Scouts().DoDeleteScoutPlayerQueries(true);
    EXPECT_EQ(m_pHuman->GetCountry()->FindEvent(EVENT_SCOUT_COMPLETE, dwId), nullptr);
    EXPECT_EQ(H().GetScoutQueryFromID(dwId), nullptr);
    LogCapture log;
    RunDays(21);
    EXPECT_FALSE(log.Contains("Could not find the scout player query")) << "no event was left behind";
}

TEST_F(Scouting, ARecalledScoutTakesOnlyHisOwnEventAlong)
{
    auto* pRecalled = new CScoutPlayerQuery;
    pRecalled->SetScout(Scout(0, 50));
    pRecalled->AddPlayer(Targets(1)[0], false);
    ASSERT_TRUE(Scouts().SendScout(pRecalled, 20));
    auto* pKept = new CScoutPlayerQuery;
    pKept->SetScout(Scout(1, 60));
    pKept->AddPlayer(Targets(2)[1], false);
    ASSERT_TRUE(Scouts().SendScout(pKept, 20));
    const uint32_t dwRecalled = pRecalled->m_dwID, dwKept = pKept->m_dwID;
    Scouts().DeleteQuery(pRecalled);
    EXPECT_EQ(m_pHuman->GetCountry()->FindEvent(EVENT_SCOUT_COMPLETE, dwRecalled), nullptr);
    EXPECT_EQ(H().GetScoutQueryFromID(dwRecalled), nullptr);
    EXPECT_NE(m_pHuman->GetCountry()->FindEvent(EVENT_SCOUT_COMPLETE, dwKept), nullptr);
    EXPECT_EQ(Scouts().GetQueryCount(), 1);
    RunDays(21);
    EXPECT_EQ(H().GetScoutQueryFromID(dwKept), nullptr) << "the other scout still reports";
    EXPECT_NE(Scouts().FindReport(Targets(2)[1]->m_idPerson), nullptr);
}

TEST_F(Scouting, TheScoutingSectionRoundTripsAndRefusesDamage)
{
    CStaffDatabase* pScout = Scout(0, 65);
    const std::vector<CPlayerDatabase*> targets = Targets(3);
    auto* pDone = new CScoutPlayerQuery;
    pDone->SetScout(Scout(1, 85));
    pDone->AddPlayer(targets[2], false);
    ASSERT_TRUE(Scouts().SendScout(pDone, 1));
    Scouts().CompleteScoutQuery(pDone);
    auto* pQuery = new CScoutPlayerQuery;
    pQuery->SetScout(pScout);
    pQuery->m_dwSecond = 0x01020304;
    pQuery->m_wValue = 9;
    pQuery->AddPlayer(targets[0], false);
    pQuery->AddPlayer(targets[1], false);
    ASSERT_TRUE(Scouts().SendScout(pQuery, 5));
    Scouts().AddDaysToQueries(2);

    const std::vector<uint8_t> bytes = SaveScouts(Scouts());
    EXPECT_EQ(bytes.size(), 4u * 36 + 1 + 20 + 2 * 8 + 4 + 24);
    CSaveGame other;
    CBinaryReader reader(bytes);
    ASSERT_TRUE(other.GetScoutManager().Load(reader));
    EXPECT_EQ(SaveScouts(other.GetScoutManager()), bytes);
    const CScoutPlayerQuery* pRead = other.GetScoutManager().FindScoutPlayerQuery(pQuery->m_dwID);
    ASSERT_NE(pRead, nullptr);
    EXPECT_EQ(pRead->GetScout(), pScout);
    EXPECT_EQ(pRead->m_wDaysElapsed, 2);

    struct Damage {
        const char* pszWhat;
        size_t nOffset;
        uint8_t byValue;
        size_t nCut;
    };
    const size_t nQuery = 4 * 36 + 1;
    for (const Damage& d : {Damage{"a query count beyond the bytes", 4 * 36, 9, 0},
                            Damage{"an entry count beyond the bytes", nQuery + 8, 50, 0},
                            Damage{"a scout beyond the staff numbers", nQuery + 14, 1, 0},
                            Damage{"a report count beyond the bytes", nQuery + 20 + 16 + 1, 1, 0},
                            Damage{"a report cut short", 0, 0, 3}}) {
        std::vector<uint8_t> damaged(bytes.begin(), bytes.end() - static_cast<long>(d.nCut));
        if (d.nCut == 0)
            damaged[d.nOffset] = d.byValue;
        CBinaryReader damagedReader(damaged);
        EXPECT_FALSE(other.GetScoutManager().Load(damagedReader)) << d.pszWhat;
    }
}

// A youth promoted and a player retired while the scout is out leave
// nothing to report on; the rest of the query reports as ever.
TEST_F(Scouting, PeopleWhoLeaveTheWorldMeanwhileAreLeftOutOfTheReport)
{
    CClubDatabase* pClub = H().GetClubFromID(2);
    ASSERT_NE(pClub->m_lstYouths.GetHead(), nullptr);
    auto* pYouth = static_cast<CYouthDatabase*>(pClub->m_lstYouths.GetHead()->pData);
    const ID_PLAYER idYouth = pYouth->m_idPerson;
    const std::vector<CPlayerDatabase*> targets = Targets(1);
    auto* pQuery = new CScoutPlayerQuery;
    pQuery->SetScout(Scout(0, 60));
    pQuery->AddPlayer(pYouth, true);
    pQuery->AddPlayer(targets[0], false);
    ASSERT_TRUE(Scouts().SendScout(pQuery, 2));
    pClub->PromoteYouth(pYouth);  // the youth record is gone
    RunDays(2);
    EXPECT_EQ(Scouts().GetQueryCount(), 0);
    EXPECT_EQ(Scouts().GetReports().GetCount(), 1);
    ASSERT_NE(Scouts().FindReport(targets[0]->m_idPerson), nullptr);
    const SCOUTREPORT* pOnYouth = Scouts().FindReport(idYouth);
    EXPECT_TRUE(pOnYouth == nullptr || pOnYouth->byYouth == 0) << "no report on the youth who is no more";
}
