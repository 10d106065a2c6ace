// The club records screen on a game in play: the match records the club's
// results keep, the current season's records as the played days left them,
// a finished season read from the division's summaries, and all time.
#include "ScreenInPlay.h"

#include "popups/CPopupPlayerDetails.h"
#include "popups/GamePopups.h"
#include "screens/CClientClubRecords.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CPlayerDatabase.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXPopup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace {

using Screen = CClientClubRecords;

class ClubRecords : public ScreenInPlay {
protected:
    ClubRecords() : ScreenInPlay(20) {}
    void SetUp() override
    {
        CreateGamePopups();
        ScreenInPlay::SetUp();
    }
    void TearDown() override
    {
        while (CXPopup* pTop = CXPopup::TopPopup())
            pTop->Close();
        ScreenInPlay::TearDown();
    }
    Screen* Open(uint32_t dwParameter)
    {
        g_pNavigationBar->SetNextClient(&GetClubRecordsScreen(), dwParameter);
        m_game.Update();
        m_game.Update();
        return dynamic_cast<Screen*>(g_pCurrentClient);
    }
    static std::string Cell(const CXListBox* pList, int nRow, int nColumn)
    {
        char szCell[LISTBOX_ROW_TEXT_SIZE];
        pList->GetColumnText(nRow, nColumn, szCell);
        return szCell;
    }
    CClubDatabase* OtherClub()
    {
        for (CClubDatabase* pClub : m_pClub->m_pDivision->m_lstClubsByTable.Items<CClubDatabase>())
            if (pClub != m_pClub)
                return pClub;
        return nullptr;
    }
    void ClearMatchRecords()
    {
        std::memset(m_pClub->m_abySeasonStatistics, 0, sizeof m_pClub->m_abySeasonStatistics);
        std::memset(m_pClub->m_abyStatistics, 0, sizeof m_pClub->m_abyStatistics);
        m_pClub->m_nSeasonResult = m_pClub->m_nRecordResult = 0;
        m_pClub->m_wSeasonResult = m_pClub->m_wRecordResult = 0;
    }
};

TEST_F(ClubRecords, TheClubsResultsKeepItsBiggestWinsAndDefeatsAndItsHighestScoringMatch)
{
    CClubDatabase* pOther = OtherClub();
    ASSERT_NE(pOther, nullptr);
    ClearMatchRecords();
    // Results in order, then what the season's records hold at the end:
    // entry 0 home defeat, 1 away defeat, 2 home win, 3 away win.
    const struct {
        int nFor, nAgainst;
        bool bHome;
    } kResults[] = {
        {2, 0, true},   // home win by 2
        {1, 0, true},   // a smaller home win keeps the record
        {3, 3, true},   // a draw enters no win or defeat, but is the highest-scoring so far
        {0, 4, false},  // away defeat by 4
        {1, 3, false},  // a smaller defeat keeps it
        {4, 1, false},  // away win by 3
        {5, 2, true},   // home win by 3 replaces the home win by 2
        {3, 3, false},  // a draw with as many goals keeps the first
    };
    for (const auto& result : kResults)
        m_pClub->DoMatchResultUpdate(0, result.nFor, result.nAgainst, result.bHome, pOther);
    // A friendly keeps no record.
    m_pClub->DoMatchResultUpdate(3, 9, 0, true, pOther);

    const struct {
        int nEntry, nMargin, nHome, nAway;
    } kExpected[] = {{0, 0, 0, 0}, {1, -4, 4, 0}, {2, 3, 5, 2}, {3, 3, 1, 4}};
    for (const auto& expected : kExpected) {
        const CLUBMATCHRECORD record = CLUBMATCHRECORD::Read(m_pClub->m_abySeasonStatistics, expected.nEntry);
        EXPECT_EQ(record.nMargin, expected.nMargin) << "entry " << expected.nEntry;
        EXPECT_EQ(record.byHomeGoals, expected.nHome) << "entry " << expected.nEntry;
        EXPECT_EQ(record.byAwayGoals, expected.nAway) << "entry " << expected.nEntry;
        EXPECT_EQ(std::memcmp(m_pClub->m_abySeasonStatistics + 8 * expected.nEntry,
                              m_pClub->m_abyStatistics + 8 * expected.nEntry, 8),
                  0)
            << "all time follows the first season";
    }

    Screen* pScreen = Open(Screen::MakeParameter(m_pClub->GetID(), -1));
    ASSERT_NE(pScreen, nullptr);
    const CXListBox* pList = pScreen->GetClubList();
    ASSERT_EQ(pList->GetCount(), 11);
    const std::string none = GetTableTextOrEmpty(114, 6);
    const struct {
        int nRow;
        std::string opponent, score;
    } kRows[] = {{0, pOther->GetShortName(), "5 - 2"}, {1, none, none},
                 {2, pOther->GetShortName(), "4 - 1"}, {3, pOther->GetShortName(), "0 - 4"},
                 {7, pOther->GetShortName(), "5 - 2"}};
    for (const auto& row : kRows) {
        EXPECT_EQ(Cell(pList, row.nRow, 1), row.opponent) << "row " << row.nRow;
        EXPECT_EQ(Cell(pList, row.nRow, 2), row.score) << "row " << row.nRow;
    }
    Shoot("club_records.png");
}

TEST_F(ClubRecords, TheCurrentSeasonShowsTheSquadsBestAndTheCrowdsOfThePlayedDays)
{
    // League match days played until two home matches are in.
    for (int nDay = 0; nDay < 120 && m_pClub->m_HomeRow.byPlayed < 2; ++nDay) {
        Database()->ProcessDay();
        Database()->DoMatchDay(Database()->GetGameDate());
    }
    ASSERT_GE(m_pClub->m_HomeRow.byPlayed, 2);
    Screen* pScreen = Open(Screen::MakeParameter(m_pClub->GetID(), -1));
    ASSERT_NE(pScreen, nullptr);
    EXPECT_EQ(pScreen->GetSelectedSeason(), pScreen->GetCurrentSeason());
    // The most goals of a squad player this season.
    int nMostGoals = 0;
    for (const CPlayerDatabase* pPlayer : m_pClub->m_lstPlayers.Items<CPlayerDatabase>())
        if (pPlayer->GetCurrentCareerEntry())
            nMostGoals = std::max(nMostGoals, pPlayer->GetSeasonTotal(MATCH_INFORMATION_GOALS));
    CXListBox* pPlayers = pScreen->GetPlayerList();
    ASSERT_EQ(pPlayers->GetCount(), 12);
    const std::string none = GetTableTextOrEmpty(114, 6);
    if (nMostGoals > 0) {
        EXPECT_EQ(Cell(pPlayers, 0, 2), std::to_string(nMostGoals));
        const CPlayerDatabase* pHolder = Database()->GetPlayerFromID(static_cast<ID_PLAYER>(pPlayers->GetItemData(0)));
        ASSERT_NE(pHolder, nullptr);
        EXPECT_EQ(Cell(pPlayers, 0, 1), pHolder->GetShortName());
        EXPECT_EQ(pHolder->GetSeasonTotal(MATCH_INFORMATION_GOALS), nMostGoals);
    } else {
        EXPECT_EQ(Cell(pPlayers, 0, 1), none);
    }
    // The crowds as the club kept them.
    const CXListBox* pClubs = pScreen->GetClubList();
    const CLUBATTENDANCE& crowd = m_pClub->m_SeasonAttendance;
    ASSERT_GT(crowd.nHighest, 0);
    // A league home win or defeat played is (or is beaten by) the biggest of its kind.
    const CLUBLEAGUEROW& home = m_pClub->m_HomeRow;
    if (home.byWon > 0) {
        EXPECT_NE(Cell(pClubs, 0, 2), none);
    }
    if (home.byLost > 0) {
        EXPECT_NE(Cell(pClubs, 1, 2), none);
    }
    EXPECT_EQ(Cell(pClubs, 8, 2), FormatThousands(crowd.nHighest));
    EXPECT_EQ(Cell(pClubs, 9, 1), FormatThousands(crowd.nAverage));
    EXPECT_EQ(Cell(pClubs, 10, 2), FormatThousands(crowd.nLowest));
    // A double click on a record holder opens his details.
    // A double click on a record holder opens his details; on an empty record nothing.
    const int nHeld = pPlayers->GetItemData(1) ? 1 : -1;
    ASSERT_EQ(nHeld, 1) << "the highest rating always has a holder";
    pPlayers->OnMouseMove(0, 300, 16 + 8);
    pPlayers->OnLButtonDblClk(0, 300, 16 + 8);
    m_game.Update();
    EXPECT_EQ(CXPopup::TopPopup(), &GetPlayerDetailsPopup());
    EXPECT_EQ(GetPlayerDetailsPopup().GetPlayer(), Database()->GetPlayerFromID(pPlayers->GetItemData(1)));
}

TEST_F(ClubRecords, FinishedSeasonsComeFromTheSummariesAndAllTimeFromTheClub)
{
    CDivisionDatabase* pDivision = m_pClub->m_pDivision;
    CCountryDatabase* pCountry = m_pClub->GetCountry();
    ASSERT_NE(pCountry, nullptr);
    const CPlayerDatabase* pPlayer = m_pClub->m_lstPlayers.GetCount()
                                         ? static_cast<const CPlayerDatabase*>(m_pClub->m_lstPlayers.GetHead()->pData)
                                         : nullptr;
    ASSERT_NE(pPlayer, nullptr);
    // A finished season in which he scored 17 and the best crowd was 12,345.
    const CLUBATTENDANCE kept = m_pClub->m_SeasonAttendance;
    m_pClub->m_aSeasonClubRecords[13] = CLUBRECORDENTRY{static_cast<int32_t>(pPlayer->m_idPerson), m_pClub->GetID(), 17};
    m_pClub->m_SeasonAttendance.nHighest = 12345;
    ASSERT_TRUE(pDivision->WriteScheduleHistory(1, 5));
    m_pClub->m_aSeasonClubRecords[13] = CLUBRECORDENTRY{};
    m_pClub->m_SeasonAttendance = kept;
    pCountry->SetSeasonStartDate(CDate(Screen::kSeasonBase + 1, 7, 1));

    Screen* pScreen = Open(Screen::MakeParameter(m_pClub->GetID(), 0));
    ASSERT_NE(pScreen, nullptr);
    EXPECT_EQ(pScreen->GetCurrentSeason(), 1);
    // The seasons, then all time.
    const CXComboBox* pSeasons = g_pTitlebar->GetSelector(Screen::kSeasonSelector);
    ASSERT_NE(pSeasons, nullptr);
    ASSERT_EQ(pSeasons->GetCount(), 3);
    EXPECT_EQ(pSeasons->GetItemData(2), 2u);
    EXPECT_EQ(Cell(pScreen->GetPlayerList(), 0, 1), pPlayer->GetShortName());
    EXPECT_EQ(Cell(pScreen->GetPlayerList(), 0, 2), "17");
    EXPECT_EQ(Cell(pScreen->GetClubList(), 8, 2), FormatThousands(12345));
    Shoot("club_records_finished.png");

    // All time takes the club's own all-time record block.
    m_pClub->m_aClubRecords[13] = CLUBRECORDENTRY{static_cast<int32_t>(pPlayer->m_idPerson), m_pClub->GetID(), 40};
    pScreen = Open(Screen::MakeParameter(m_pClub->GetID(), 2));
    ASSERT_NE(pScreen, nullptr);
    EXPECT_TRUE(pScreen->IsAllTime());
    EXPECT_EQ(Cell(pScreen->GetPlayerList(), 0, 2), "40");
}

}  // namespace
