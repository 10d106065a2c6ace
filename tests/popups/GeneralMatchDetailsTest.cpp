// The list of matches behind a figure: a club's results by type, its form,
// a player's and a referee's matches, the list that does not open, the
// details it opens and steps through, and the tables that open it.
#include "MatchesPlayed.h"

#include "popups/CPopupGeneralMatchDetails.h"
#include "screens/CClientClubPlayers.h"
#include "screens/CClientTablesStaticsLeague.h"
#include "screens/CClientTablesStaticsPlayers.h"
#include "shell/CGameNavigationBar.h"
#include "shell/ScreenIDs.h"

#include "database/CCountryDatabase.h"
#include "database/CPlayerDatabase.h"
#include "xframework/CXListBox.h"

#include <map>
#include <string>

namespace {

using General = CPopupGeneralMatchDetails;

class MatchLists : public MatchesPlayed {
protected:
    // The rows of a type for the human's club as of today.
    std::vector<General::ROW> Rows(int nType, uint32_t dwMask = 1)
    {
        m_popup.SetClub(m_pClub->m_wClubId);
        m_popup.SetReferenceDate(Database()->GetGameDate());
        EXPECT_TRUE(m_popup.Show(nType, dwMask, General::kRunningSeason) || m_popup.GetRows().empty());
        std::vector<General::ROW> rows = m_popup.GetRows();
        if (m_popup.IsOnStack())
            m_popup.Close();
        return rows;
    }
    CPopupGeneralMatchDetails& m_popup = GetGeneralMatchDetailsPopup();
};

TEST_F(MatchLists, AClubsResultsSplitByTypeAsItsFixturesWereDecided)
{
    int nPlayed = 0, nWon = 0, nDrawn = 0, nScored = 0, nHomeWon = 0, nAwayLost = 0;
    for (const CDivisionFixturesDatabase* p : m_pClub->m_pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>()) {
        if (!p->IsPlayed() || !p->IsClubInvolved(m_pClub->m_wClubId))
            continue;
        const bool bHome = p->GetHomeClubID() == m_pClub->m_wClubId;
        const int nOwn = bHome ? p->GetHomeGoals() : p->GetAwayGoals();
        const int nOther = bHome ? p->GetAwayGoals() : p->GetHomeGoals();
        ++nPlayed;
        nWon += nOwn > nOther;
        nDrawn += nOwn == nOther;
        nScored += nOwn > 0;
        nHomeWon += bHome && nOwn > nOther;
        nAwayLost += !bHome && nOwn < nOther;
    }
    ASSERT_GE(nPlayed, 2);
    const std::vector<General::ROW> all = Rows(General::TYPE_CLUB_PLAYED);
    ASSERT_EQ(static_cast<int>(all.size()), nPlayed);
    for (size_t i = 1; i < all.size(); ++i)
        EXPECT_FALSE(all[i].date < all[i - 1].date) << "in date order";
    for (const General::ROW& row : all) {
        MATCHHISTORYHEADER header;
        Record(row.dwMatchID, header);
        EXPECT_TRUE(row.bAttendance);
        EXPECT_EQ(row.dwAttendance, header.dwAttendance);
        EXPECT_FALSE(row.word.empty());
    }
    const struct {
        int nType, nRows;
    } cases[] = {{1, nWon}, {2, nDrawn}, {3, nPlayed - nWon - nDrawn}, {4, nScored}, {6, nWon + nDrawn},
                 {7, nHomeWon}, {14, nAwayLost}};
    for (const auto& c : cases)
        EXPECT_EQ(static_cast<int>(Rows(c.nType).size()), c.nRows) << "type " << c.nType;

    // The form: earlier home matches only, at most six, none on the day.
    m_popup.SetClub(m_pClub->m_wClubId);
    m_popup.SetReferenceDate(m_pAwayMatch->GetDate());
    if (m_popup.Show(General::TYPE_HOME_FORM, 1, General::kRunningSeason)) {
        EXPECT_LE(m_popup.GetRows().size(), 6u);
        for (const General::ROW& row : m_popup.GetRows()) {
            EXPECT_EQ(row.idHome, m_pClub->m_wClubId);
            EXPECT_TRUE(row.date < m_pAwayMatch->GetDate());
        }
        m_popup.Close();
    }
    // A day without a match day of the division has no form: nothing opens.
    m_popup.SetReferenceDate(CDate(m_pAwayMatch->GetDate().GetValue(), 1));
    EXPECT_FALSE(m_popup.Show(General::TYPE_AWAY_FORM, 1, General::kRunningSeason));
    EXPECT_FALSE(m_popup.IsOnStack());
}

TEST_F(MatchLists, AnotherSeasonIsReadFromTheDivisionsHistoryAndOpensNoDetails)
{
    // The game starts in its first season: the season so far goes into the
    // history file as the next one's, which any season but the running one
    // is read the same way as.
    CDivisionDatabase* pDivision = m_pClub->m_pDivision;
    std::vector<std::pair<CDivisionFixturesDatabase*, CDate>> moved;
    for (CDivisionFixturesDatabase* p : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>()) {
        moved.emplace_back(p, p->GetDate());
        p->SetDate(CDate(p->GetDate().GetYear() + 1, p->GetDate().GetMonth(), p->GetDate().GetDay()));
    }
    ASSERT_TRUE(pDivision->WriteScheduleHistory(1, 5));
    for (auto& [p, date] : moved)
        p->SetDate(date);

    const std::vector<General::ROW> running = Rows(General::TYPE_CLUB_PLAYED);
    ASSERT_FALSE(running.empty());
    const int nOtherSeason = m_pClub->GetCountry()->GetSeasonStartDate().GetYear() - 1999 + 1;
    m_popup.SetClub(m_pClub->m_wClubId);
    ASSERT_TRUE(m_popup.Show(General::TYPE_CLUB_PLAYED, 1, static_cast<uint8_t>(nOtherSeason)));
    EXPECT_FALSE(m_popup.IsRunningSeason());
    ASSERT_EQ(m_popup.GetRows().size(), running.size());
    for (size_t i = 0; i < running.size(); ++i) {
        EXPECT_EQ(m_popup.GetRows()[i].dwMatchID, running[i].dwMatchID);
        EXPECT_EQ(m_popup.GetRows()[i].date.GetYear(), running[i].date.GetYear() + 1);
        EXPECT_FALSE(m_popup.GetRows()[i].bAttendance) << "only the running season keeps its records";
    }
    Shoot("match_list_other_season.png");
    m_popup.OnDoubleClicked(General::ID_LIST);
    EXPECT_FALSE(GetAdvancedMatchDetailsPopup().IsOnStack());
    m_popup.Close();
    // A season the file does not hold: nothing opens.
    EXPECT_FALSE(m_popup.Show(General::TYPE_CLUB_PLAYED, 1, static_cast<uint8_t>(nOtherSeason + 1)));
}

TEST_F(MatchLists, APlayersListsMatchTheFiguresTheTablesCount)
{
    // Every squad player's lists against his league figures.
    int nChecked = 0;
    for (const CPlayerDatabase* pPlayer : m_pClub->m_lstPlayers.Items<CPlayerDatabase>()) {
        const CClientClubPlayers::STATISTICS s = CClientClubPlayers::CountStatistics(*pPlayer, 1);
        m_popup.SetPerson(pPlayer->m_idPerson);
        SCOPED_TRACE(pPlayer->GetShortName());
        EXPECT_EQ(static_cast<int>(Rows(General::TYPE_PLAYER_APPEARANCES).size()), s.nStarts + s.nSubstitute);
        EXPECT_EQ(static_cast<int>(Rows(General::TYPE_PLAYER_GOALS).size()), s.nGoals);
        EXPECT_EQ(static_cast<int>(Rows(General::TYPE_PLAYER_BOOKINGS).size()), s.nBookings);
        EXPECT_EQ(static_cast<int>(Rows(General::TYPE_PLAYER_AWARDS).size()), s.nAwards);
        nChecked += s.nStarts > 0;
    }
    EXPECT_GT(nChecked, 10);
    // Only the kinds the mask admits: no friendly is a league match.
    m_popup.SetPerson(static_cast<const CPlayerDatabase*>(m_pClub->m_lstPlayers.GetHead()->pData)->m_idPerson);
    for (const General::ROW& row : Rows(General::TYPE_PLAYER_APPEARANCES, 1))
        EXPECT_EQ(row.byKind, MATCHKIND_LEAGUE);
}

TEST_F(MatchLists, ARefereesMatchesAndTheDetailsSteppingThroughThem)
{
    MATCHHISTORYHEADER header;
    Record(m_pHomeMatch->GetFixtureID(), header);
    ASSERT_NE(header.wRefereeID, 0);
    m_popup.SetReferee(header.wRefereeID);
    m_popup.SetClub(m_pClub->m_wClubId);
    m_popup.SetReferenceDate(Database()->GetGameDate());
    ASSERT_TRUE(m_popup.Show(General::TYPE_REFEREE_MATCHES, 0xFF, General::kRunningSeason));
    Shoot("match_list_referee.png");
    bool bHomeMatch = false;
    for (const General::ROW& row : m_popup.GetRows()) {
        MATCHHISTORYHEADER other;
        Record(row.dwMatchID, other);
        EXPECT_EQ(other.wRefereeID, header.wRefereeID);
        bHomeMatch = bHomeMatch || row.dwMatchID == m_pHomeMatch->GetFixtureID();
    }
    EXPECT_TRUE(bHomeMatch);

    // The first row opens its details; their arrows step through this list.
    CXListBox* pList = m_popup.GetList();
    ASSERT_NE(pList, nullptr);
    ASSERT_EQ(pList->GetSelection(), 0);
    m_popup.OnDoubleClicked(General::ID_LIST);
    CPopupAdvancedMatchDetails& details = GetAdvancedMatchDetailsPopup();
    ASSERT_TRUE(details.IsOnStack());
    EXPECT_EQ(details.GetMatchID(), m_popup.GetRows()[0].dwMatchID);
    if (m_popup.GetRows().size() > 1) {
        details.OnClicked(CPopupAdvancedMatchDetails::ID_NEXT);
        EXPECT_EQ(details.GetMatchID(), m_popup.GetRows()[1].dwMatchID);
    }
    details.OnClicked(CPopupAdvancedMatchDetails::ID_PREVIOUS);
    EXPECT_EQ(details.GetMatchID(), m_popup.GetRows()[0].dwMatchID);
    details.OnClicked(CPopupAdvancedMatchDetails::ID_PREVIOUS);
    EXPECT_EQ(details.GetMatchID(), m_popup.GetRows()[0].dwMatchID) << "nothing before the first row";
    details.Close();
    m_popup.Close();

    // A referee who took charge of nothing: nothing opens.
    m_popup.SetReferee(0xFFFF);
    EXPECT_FALSE(m_popup.Show(General::TYPE_REFEREE_MATCHES, 0xFF, General::kRunningSeason));
}

TEST_F(MatchLists, TheLeagueAndPlayersTablesOpenTheMatchesBehindAFigure)
{
    OpenScreen(SCREEN_TABLES_LEAGUE);
    auto* pLeague = dynamic_cast<CClientTablesStaticsLeague*>(g_pCurrentClient);
    ASSERT_NE(pLeague, nullptr);
    CXListBox* pTable = pLeague->GetTable();
    const int nRow = pTable->FindItemData(m_pClub->m_wClubId);
    ASSERT_GE(nRow, 0);
    pTable->SetSelection(nRow);
    pTable->m_nClickedColumn = 2;  // played
    pLeague->OnDoubleClicked(CClientTablesStaticsLeague::ID_TABLE);
    ASSERT_TRUE(m_popup.IsOnStack());
    EXPECT_EQ(m_popup.GetType(), General::TYPE_CLUB_PLAYED);
    Shoot("match_list_league_played.png");
    m_popup.Close();
    pTable->m_nClickedColumn = 1;  // the club's name: no figure
    pLeague->OnDoubleClicked(CClientTablesStaticsLeague::ID_TABLE);
    EXPECT_FALSE(m_popup.IsOnStack());
    const struct {
        uint16_t wHeader;
        int nType;
    } columns[] = {{145, 0}, {148, 1}, {150, 3}, {147, 6}, {154, 7}, {163, 16}, {166, 17}, {976, 24}, {938, -1}};
    for (const auto& c : columns)
        EXPECT_EQ(CClientTablesStaticsLeague::MatchListOfColumn(c.wHeader), c.nType) << c.wHeader;

    OpenScreen(SCREEN_TABLES_PLAYERS);
    auto* pPlayers = dynamic_cast<CClientTablesStaticsPlayers*>(g_pCurrentClient);
    ASSERT_NE(pPlayers, nullptr);
    CXListBox* pList = pPlayers->GetList();
    ASSERT_NE(pList, nullptr);
    int nColumn = -1;
    for (int i = 0; i < pList->GetColumnCount(); ++i)
        if (pList->GetColumns()[i].wHeaderID == 970)
            nColumn = i;
    ASSERT_GE(nColumn, 0);
    // The first player with an appearance.
    for (int r = 0; r < pList->GetCount() && !m_popup.IsOnStack(); ++r) {
        pList->SetSelection(r);
        pList->m_nClickedColumn = nColumn;
        pPlayers->OnDoubleClicked(CClientTablesStaticsPlayers::ID_LIST);
    }
    ASSERT_TRUE(m_popup.IsOnStack());
    EXPECT_EQ(m_popup.GetType(), General::TYPE_PLAYER_APPEARANCES);
    Shoot("match_list_player_appearances.png");
    m_popup.Close();

    // The club players' season statistics: the goals of the club's scorer.
    g_pNavigationBar->SetNextClient(&GetClubPlayersScreen(), CClientClubPlayers::MakeParameter(
                                                                 m_pClub->m_wClubId, CClientClubPlayers::MODE_SQUAD_STATISTICS));
    m_game.Update();
    m_game.Update();
    auto* pSquad = dynamic_cast<CClientClubPlayers*>(g_pCurrentClient);
    ASSERT_NE(pSquad, nullptr);
    CXListBox* pSquadList = pSquad->GetList();
    int nGoals = -1;
    for (int i = 0; i < pSquadList->GetColumnCount(); ++i)
        if (pSquadList->GetColumns()[i].wHeaderID == 971)
            nGoals = i;
    ASSERT_GE(nGoals, 0);
    for (int r = 0; r < pSquadList->GetCount() && !m_popup.IsOnStack(); ++r) {
        pSquadList->SetSelection(r);
        pSquadList->m_nClickedColumn = nGoals;
        pSquad->OnDoubleClicked(CClientClubPlayers::ID_LIST);
    }
    ASSERT_TRUE(m_popup.IsOnStack()) << "the club has a scorer";
    EXPECT_EQ(m_popup.GetType(), General::TYPE_PLAYER_GOALS);
    Shoot("match_list_player_goals.png");
    m_popup.Close();
}

}  // namespace
