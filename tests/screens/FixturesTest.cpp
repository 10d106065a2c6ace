// Fixtures and results: a played match date shows the scores the match
// history holds, and the match day's queue lands on the screen with the
// human's division and the day's results.
#include "ScreenInPlay.h"

#include "screens/CClientTablesStaticsFixtures.h"
#include "screens/FixtureKitRow.h"
#include "shell/CGameDay.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/MatchHistory.h"
#include "xframework/CXListBox.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Fixtures = CClientTablesStaticsFixtures;

std::string Cell(const CXListBox* pList, int nRow, int nColumn)
{
    char szCell[LISTBOX_ROW_TEXT_SIZE];
    pList->GetColumnText(nRow, nColumn, szCell);
    return szCell;
}

class FixturesScreen : public ScreenInPlay {
protected:
    // The league fixtures of the division on the date.
    static std::vector<const CDivisionFixturesDatabase*> FixturesOn(const CDivisionDatabase* pDivision, const CDate& date)
    {
        std::vector<const CDivisionFixturesDatabase*> fixtures;
        for (const CDivisionFixturesDatabase* p : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
            if (p->GetDate() == date)
                fixtures.push_back(p);
        return fixtures;
    }
    // Every row shows the score of its match as the history recorded it.
    void ExpectHistoryScores(const Fixtures* pScreen)
    {
        const CXListBox* pList = pScreen->GetList();
        const auto fixtures = FixturesOn(pScreen->GetDivision(), pScreen->GetViewDate());
        ASSERT_FALSE(fixtures.empty());
        ASSERT_GE(pList->GetCount(), static_cast<int>(fixtures.size()));
        int nLeagueRows = 0;
        for (int nRow = 0; nRow < pList->GetCount(); ++nRow) {
            const FixtureKitRow* pRow = pScreen->GetRow(nRow);
            ASSERT_NE(pRow, nullptr);
            SCOPED_TRACE(Cell(pList, nRow, 0) + " v " + Cell(pList, nRow, 2));
            EXPECT_EQ(Cell(pList, nRow, 0), pRow->GetHomeClub()->GetName());
            EXPECT_EQ(Cell(pList, nRow, 2), pRow->GetAwayClub()->GetName());
            for (const CDivisionFixturesDatabase* p : fixtures)
                if (p->GetFixtureID() == pRow->GetMatchID()) {
                    ++nLeagueRows;
                    MATCHHISTORYHEADER header;
                    ASSERT_TRUE(Database()->FindMatchRecord(header, nullptr, p->GetFixtureID()));
                    EXPECT_EQ(header.wHomeClub, pRow->GetHomeClub()->m_wClubId);
                    EXPECT_EQ(Cell(pList, nRow, 1),
                              std::to_string(header.byHomeGoals) + " - " + std::to_string(header.byAwayGoals));
                    EXPECT_TRUE(pRow->IsPlayed());
                }
        }
        EXPECT_EQ(nLeagueRows, static_cast<int>(fixtures.size()));
    }
};

TEST_F(FixturesScreen, APlayedDateShowsTheHistorysScoresAndADateToComeShowsDashes)
{
    CDivisionDatabase* pDivision = m_pClub->m_pDivision;
    CDate firstPlayed;
    for (int i = 0; i < 60 && !firstPlayed.IsValid(); ++i) {
        Database()->ProcessDay();
        Database()->DoMatchDay(Database()->GetGameDate());
        if (!FixturesOn(pDivision, Database()->GetGameDate()).empty())
            firstPlayed = Database()->GetGameDate();
    }
    ASSERT_TRUE(firstPlayed.IsValid()) << "no league match day in two months";
    Database()->ProcessDay();

    OpenScreen(SCREEN_TABLES_FIXTURES);
    auto* pScreen = dynamic_cast<Fixtures*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    EXPECT_FALSE(pScreen->IsMatchDay());
    EXPECT_EQ(pScreen->GetDivision(), pDivision);
    // Opened away from a match day: the next match date, not yet played.
    ASSERT_FALSE(pScreen->GetViewDate() < Database()->GetGameDate());
    Shoot("fixtures_next.png");
    const CXListBox* pList = pScreen->GetList();
    ASSERT_EQ(pList->GetCount(), static_cast<int>(FixturesOn(pDivision, pScreen->GetViewDate()).size()));
    for (int nRow = 0; nRow < pList->GetCount(); ++nRow)
        EXPECT_EQ(Cell(pList, nRow, 1), "-");

    pScreen->ShowDate(firstPlayed);
    Shoot("fixtures_played.png");
    ExpectHistoryScores(pScreen);
    // Sorted by the home club, and the shirts of a clash differ.
    for (int nRow = 1; nRow < pList->GetCount(); ++nRow)
        EXPECT_LE(Cell(pList, nRow - 1, 0), Cell(pList, nRow, 0));

    // A day without matches: an empty list one row high.
    pScreen->ShowDate(CDate(firstPlayed.GetValue(), 1));
    EXPECT_EQ(pScreen->GetList()->GetCount(), 0);
    EXPECT_EQ(pScreen->GetList()->Height(), 28);
}

TEST_F(FixturesScreen, APlayOffSecondLegShowsBothTotalsOnceItsFirstLegIsPlayed)
{
    CDivisionDatabase* pDivision = m_pClub->m_pDivision;
    const auto* pOther = static_cast<const CClubDatabase*>(pDivision->m_lstClubsByID.GetTail()->pData);
    ASSERT_NE(pOther, m_pClub);
    // A tie after the season, its first leg at the club's ground; ids no
    // match record holds.
    const CDate first(Database()->GetGameDate().GetValue(), 300);
    auto* pFirst = new CDivisionFixturesDatabase(0x7FFFFF01, first, m_pClub->m_wClubId, pOther->m_wClubId, 0,
                                                 DIVISION_FIXTURE_PLAYOFF, 0);
    auto* pSecond = new CDivisionFixturesDatabase(0x7FFFFF02, CDate(first.GetValue(), 3), pOther->m_wClubId,
                                                  m_pClub->m_wClubId, 0, DIVISION_FIXTURE_PLAYOFF, 0);
    pDivision->m_lstFixtures.AddTail(pFirst);
    pDivision->m_lstFixtures.AddTail(pSecond);
    struct Case {
        int nFirstHome, nFirstAway, nSecondHome, nSecondAway;
        const char* pszSecond;
    } cases[] = {
        {-1, -1, -1, -1, "-"},
        {2, 0, -1, -1, "-"},
        {-1, -1, 1, 1, "1 - 1"},           // its first leg not played: its own score
        {2, 0, 3, 1, "(3) 3 - 1 (3)"},     // 3 + 0 away, 1 + 2
        {1, 4, 2, 0, "(6) 2 - 0 (1)"},
    };
    auto goals = [](int n) { return static_cast<uint8_t>(n < 0 ? 255 : n); };
    for (const Case& c : cases) {
        pFirst->SetGoals(goals(c.nFirstHome), goals(c.nFirstAway));
        pSecond->SetGoals(goals(c.nSecondHome), goals(c.nSecondAway));
        EXPECT_EQ(Fixtures::LeagueScore(*Database(), *pDivision, *pSecond), c.pszSecond)
            << c.nFirstHome << ":" << c.nFirstAway << " then " << c.nSecondHome << ":" << c.nSecondAway;
    }
    // The first leg never counts the second, played later.
    EXPECT_EQ(Fixtures::LeagueScore(*Database(), *pDivision, *pFirst), "1 - 4");
}

TEST_F(FixturesScreen, TheMatchDayQueueLandsHereWithTheHumansDivisionAndTheDaysResults)
{
    Database()->SetContinueMode(0);
    CDate match;
    ASSERT_GE(Database()->GetNextFixture(m_pClub, nullptr, nullptr, &match), 0);
    while (Database()->GetGameDate() < match)
        CGameDay::ProcessDay(*Database());
    ASSERT_EQ(Database()->GetGameDate(), match);
    OpenScreen(SCREEN_FOOTBALL_TODAY);

    g_ClientList.clear();
    g_pNavigationBar->ContinueGame();
    m_game.Update();
    auto* pScreen = dynamic_cast<Fixtures*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr) << "the match day's first screen is the fixtures";
    m_game.Update();
    Shoot("fixtures_matchday.png");
    EXPECT_TRUE(pScreen->IsMatchDay());
    EXPECT_EQ(pScreen->GetDivision(), m_pClub->m_pDivision);
    EXPECT_EQ(pScreen->GetViewDate(), match) << "the day's own results";
    EXPECT_EQ(g_pNavigationBar->GetMode(), 5);
    EXPECT_EQ(g_pNavigationBar->GetContinueLook(), CGameNavigationBar::LOOK_MATCH_GOES_ON)
        << "the home screen comes next";
    ExpectHistoryScores(pScreen);
    g_ClientList.clear();
}

}  // namespace
