// The league and home-and-away tables: the ranking rule, and the screens on
// a game some weeks into the season, checked against the division's own
// table and history.
#include "ScreenInPlay.h"

#include "screens/CClientTablesStaticsLeague.h"
#include "shell/CGameTitlebar.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXSurface.h"

#include "platform/Surface.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Tables = CClientTablesStaticsLeague;

Tables::STANDING Standing(const char* pszName, int nPoints, int nFor, int nAgainst)
{
    Tables::STANDING s;
    s.name = pszName;
    s.row.byPoints = static_cast<uint8_t>(nPoints);
    s.row.abyGoalsFor[0] = static_cast<uint8_t>(nFor);
    s.row.abyGoalsAgainst[1] = static_cast<uint8_t>(nAgainst);
    return s;
}

std::string Order(std::vector<Tables::STANDING> standings, bool bGoalDifference)
{
    Tables::SortStandings(standings, bGoalDifference);
    std::string order;
    for (const auto& s : standings)
        order += s.name;
    return order;
}

TEST(LeagueTableRanking, PointsThenGoalsThenName)
{
    // B and C level on points; C has the better difference, B more goals.
    const std::vector<Tables::STANDING> table = {
        Standing("A", 10, 5, 5), Standing("B", 12, 9, 8), Standing("C", 12, 6, 2), Standing("D", 14, 1, 9),
        // E and F level on everything: by name.
        Standing("F", 3, 2, 2), Standing("E", 3, 2, 2),
    };
    EXPECT_EQ(Order(table, true), "DCBAEF");
    EXPECT_EQ(Order(table, false), "DBCAEF");
}

class LeagueTables : public ScreenInPlay {
protected:
    LeagueTables() : ScreenInPlay(1) {}
    void SetUp() override
    {
        ScreenInPlay::SetUp();
        if (HasFatalFailure())
            return;
        // Some weeks of the season, ending on a day without league matches
        // in the human's division.
        m_pDivision = m_pClub->m_pDivision;
        ASSERT_NE(m_pDivision, nullptr);
        for (int i = 0; i < 45 || PlaysToday(); ++i) {
            Database()->ProcessDay();
            Database()->DoMatchDay(Database()->GetGameDate());
        }
    }
    bool PlaysToday()
    {
        for (const CDivisionFixturesDatabase* p : m_pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
            if (p->GetDate() == Database()->GetGameDate())
                return true;
        return false;
    }
    // The cells of a row.
    static std::vector<std::string> Cells(const CXListBox* pList, int nRow)
    {
        std::vector<std::string> cells;
        char szCell[LISTBOX_ROW_TEXT_SIZE];
        for (int c = 0; c < pList->GetColumnCount(); ++c) {
            pList->GetColumnText(nRow, c, szCell);
            cells.push_back(szCell);
        }
        return cells;
    }
    static int Number(const std::string& cell) { return std::stoi(cell); }

    CDivisionDatabase* m_pDivision = nullptr;
};

TEST_F(LeagueTables, TheLeagueTableIsTheDivisionsOwnWithMovesAndZones)
{
    OpenScreen(SCREEN_TABLES_LEAGUE);
    auto* pScreen = dynamic_cast<Tables*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    EXPECT_EQ(pScreen->GetDivision(), m_pDivision) << "the human's division by default";
    Shoot("tables_league.png");
    const CXListBox* pList = pScreen->GetTable();
    ASSERT_NE(pList, nullptr);
    {
        // The points keep a gap to the scroll bar beside them: no figure's
        // pixel in the last columns before the bar.
        const CXControl* pBar = pScreen->FindControl(Tables::ID_SCROLLBAR);
        const CXSurface* pFrame = GetScreenSurface();
        ASSERT_TRUE(pBar && pFrame && pFrame->m_pSurface);
        const uint16_t wFigure = plat::colorToPixel(plat::RGB(242, 242, 234), pFrame->m_pSurface->format());
        int nNearBar = 0, nInList = 0;
        for (int y = pList->m_nTop; y < pList->m_nBottom; ++y)
            for (int x = pList->m_nLeft; x < pBar->m_nLeft; ++x) {
                const bool bFigure = pFrame->m_pSurface->pixel(x + 160, y + 85) == wFigure;
                nInList += bFigure;
                nNearBar += bFigure && x >= pBar->m_nLeft - 4;
            }
        EXPECT_GT(nInList, 0) << "the figures are found where the list stands";
        EXPECT_EQ(nNearBar, 0);
    }
    ASSERT_EQ(pList->GetCount(), m_pDivision->GetClubCount());
    // Row by row the clubs of the division's table with their figures.
    int nRank = 0;
    for (const CClubDatabase* pClub : m_pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
        SCOPED_TRACE(pClub->GetName());
        const auto cells = Cells(pList, nRank);
        ASSERT_EQ(cells.size(), 10u);
        EXPECT_EQ(Number(cells[0]), nRank + 1);
        EXPECT_EQ(cells[1], pClub->GetName());
        const CLUBLEAGUEROW& h = pClub->m_HomeRow;
        const CLUBLEAGUEROW& a = pClub->m_AwayRow;
        EXPECT_EQ(Number(cells[2]), h.byPlayed + a.byPlayed);
        EXPECT_EQ(Number(cells[3]), h.byWon + a.byWon);
        EXPECT_EQ(Number(cells[4]), h.byDrawn + a.byDrawn);
        EXPECT_EQ(Number(cells[5]), h.byLost + a.byLost);
        EXPECT_EQ(Number(cells[6]), pClub->GetGoalsFor());
        EXPECT_EQ(Number(cells[7]), pClub->GetGoalsAgainst());
        EXPECT_EQ(Number(cells[8]), pClub->GetGoalValue());
        EXPECT_EQ(Number(cells[9]), pClub->m_byPoints);
        EXPECT_EQ(pList->GetItemData(nRank), pClub->m_wClubId);
        ++nRank;
    }
    // Several match days in: every row has its arrow.
    for (int nMove : pScreen->GetMoves())
        EXPECT_NE(nMove, 2);
    // The promotion places on top, the relegation places at the bottom.
    const auto& zones = pScreen->GetZoneColours();
    ASSERT_EQ(static_cast<int>(zones.size()), m_pDivision->GetClubCount());
    for (int i = 0; i < m_pDivision->m_byPromotionZone; ++i)
        EXPECT_EQ(zones[static_cast<size_t>(i)], Tables::kPromotionColour) << "row " << i;
    for (int i = 0; i < m_pDivision->m_byRelegationZone; ++i)
        EXPECT_EQ(zones[zones.size() - 1 - static_cast<size_t>(i)], Tables::kRelegationColour) << "row from the bottom " << i;
    // Sorted by another column the places are no longer marked.
    pScreen->GetTable()->Sort(9, false, LISTSORT_NUMBER, 0);
    for (COLORREF cr : pScreen->GetZoneColours())
        EXPECT_EQ(cr, 0u);

    // The first match date: one match each at most, and no moves to show.
    ASSERT_TRUE(pScreen->ChooseDateRow(0));
    const CXListBox* pFirst = pScreen->GetTable();
    for (int nRow = 0; nRow < pFirst->GetCount(); ++nRow)
        EXPECT_LE(Number(Cells(pFirst, nRow)[2]), 1);
    for (int nMove : pScreen->GetMoves())
        EXPECT_EQ(nMove, 2);
    EXPECT_FALSE(pScreen->ChooseDateRow(pScreen->GetTable()->GetCount() * 4)) << "a date to come";

    // Another division of the country from its drop-down: its own clubs.
    CXComboBox* pDivisions = g_pTitlebar->GetSelector(CGameTitlebar::SELECTOR_DIVISION);
    ASSERT_NE(pDivisions, nullptr);
    ASSERT_GT(pDivisions->GetCount(), 1);
    const int nOther = pDivisions->GetSelection() == 0 ? 1 : 0;
    pDivisions->SetCurSel(nOther);
    const CDivisionDatabase* pOther = pScreen->GetDivision();
    ASSERT_NE(pOther, m_pDivision);
    EXPECT_EQ(pOther, g_pTitlebar->GetSelectedDivision());
    ASSERT_EQ(pScreen->GetTable()->GetCount(), pOther->GetClubCount());
    for (int nRow = 0; nRow < pScreen->GetTable()->GetCount(); ++nRow) {
        const CClubDatabase* pClub = Database()->GetClubFromID(static_cast<ID_CLUB>(pScreen->GetTable()->GetItemData(nRow)));
        ASSERT_NE(pClub, nullptr);
        EXPECT_EQ(pClub->m_pDivision, pOther);
    }
}

TEST_F(LeagueTables, HomeAndAwaySplitTheSameFigures)
{
    OpenScreen(SCREEN_TABLES_HOME_AND_AWAY);
    auto* pScreen = dynamic_cast<Tables*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    Shoot("tables_home_away.png");
    const CXListBox* pList = pScreen->GetTable();
    ASSERT_EQ(pList->GetCount(), m_pDivision->GetClubCount());
    int nRank = 0;
    for (const CClubDatabase* pClub : m_pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
        SCOPED_TRACE(pClub->GetName());
        const auto cells = Cells(pList, nRank++);
        ASSERT_EQ(cells.size(), 15u);
        const CLUBLEAGUEROW& h = pClub->m_HomeRow;
        const CLUBLEAGUEROW& a = pClub->m_AwayRow;
        EXPECT_EQ(cells[1], pClub->GetName());
        EXPECT_EQ(Number(cells[2]), h.byPlayed + a.byPlayed);
        const int anExpected[10] = {h.byWon, h.byDrawn, h.byLost, h.byGoalsFor, h.byGoalsAgainst,
                                    a.byWon, a.byDrawn, a.byLost, a.byGoalsFor, a.byGoalsAgainst};
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(Number(cells[static_cast<size_t>(3 + i)]), anExpected[i]) << "column " << 3 + i;
        EXPECT_EQ(Number(cells[14]), pClub->m_byPoints);
    }
}

}  // namespace
