// The match details: the figures and event lists a record gives, the three
// pages of a played match with its money button for the human's home
// match, a match without a record, and the fixtures screen opening it and
// stepping through its rows.
#include "MatchesPlayed.h"

#include "popups/CPopupAdvancedMatchDetails.h"
#include "popups/CPopupPlayerDetails.h"
#include "screens/CClientTablesStaticsFixtures.h"
#include "screens/FixtureKitRow.h"
#include "shell/ScreenIDs.h"

#include "database/CPlayerDatabase.h"
#include "season/CClub.h"
#include "xframework/CXListBox.h"
#include "xframework/CXStatic.h"

#include <string>

namespace {

using Details = CPopupAdvancedMatchDetails;

MATCHEVENT Event(ID_PLAYER idPlayer, uint8_t byKind, uint8_t byMinute)
{
    MATCHEVENT event;
    event.idPlayer = idPlayer;
    event.byKind = byKind;
    event.byMinute = byMinute;
    return event;
}

TEST(MatchDetailsRecord, AnOwnGoalIsListedForTheOtherSideAndEventsAreCountedBySide)
{
    MATCHHISTORYHEADER header;
    header.byHomeGoals = 2;
    header.byAwayGoals = 1;
    header.Result.byHomePossession = 58;
    header.Result.byWinnerPercentage = 0;
    MATCHRECORDBODY body;
    body.HomeEvents = {Event(1, MATCHEVENT_GOAL, 10), Event(2, MATCHEVENT_OWN_GOAL, 30),
                       Event(3, MATCHEVENT_BOOKED, 44), Event(1, MATCHEVENT_PENALTY_SCORED, 80)};
    body.AwayEvents = {Event(7, MATCHEVENT_BOOKED, 5), Event(8, MATCHEVENT_BOOKED, 60),
                       Event(9, MATCHEVENT_SUBSTITUTED_ON, 70)};

    const std::vector<MATCHEVENT> home = Details::GetListedEvents(body, true);
    const std::vector<MATCHEVENT> away = Details::GetListedEvents(body, false);
    ASSERT_EQ(home.size(), 3u);
    ASSERT_EQ(away.size(), 4u);
    for (const MATCHEVENT& e : home)
        EXPECT_NE(e.byKind, MATCHEVENT_OWN_GOAL) << "the home side's own goal counts for the away side";
    EXPECT_EQ(away[1].idPlayer, 2u) << "by minute: the own goal of minute 30 after the booking of minute 5";
    EXPECT_EQ(away[1].byKind, MATCHEVENT_OWN_GOAL);

    const std::vector<Details::FIGURE> figures = Details::GetFigures(header, body);
    struct Expected {
        int nTitle, nHome, nAway;
    } const expected[] = {{0, 58, 42}, {1, 0, 100}, {2, 2, 1}, {3, 1, 0}, {4, 0, 0},
                          {5, 1, 2},   {6, 0, 0},   {7, 0, 1}, {8, 0, 0}};
    ASSERT_EQ(figures.size(), std::size(expected));
    for (size_t i = 0; i < figures.size(); ++i) {
        EXPECT_EQ(figures[i].nTitle, expected[i].nTitle);
        EXPECT_EQ(figures[i].nHome, expected[i].nHome) << "figure " << i;
        EXPECT_EQ(figures[i].nAway, expected[i].nAway) << "figure " << i;
    }
}

std::string Text(CXClient& client, uint32_t dwID)
{
    const auto* pLabel = dynamic_cast<const CXStatic*>(client.FindControl(dwID));
    return pLabel ? pLabel->Text() : "(no label)";
}

bool Shown(CXClient& client, uint32_t dwID)
{
    const CXControl* pControl = client.FindControl(dwID);
    return pControl && pControl->m_bVisible;
}

class MatchDetails : public MatchesPlayed {};

TEST_F(MatchDetails, AHomeMatchShowsItsLineUpsFiguresEventsAndMoney)
{
    MATCHHISTORYHEADER header;
    const MATCHRECORDBODY body = Record(m_pHomeMatch->GetFixtureID(), header);
    Details& popup = GetAdvancedMatchDetailsPopup();
    ASSERT_TRUE(popup.Show(m_pHomeMatch->GetFixtureID(), false));
    ASSERT_TRUE(popup.IsRecordFound());
    Shoot("match_details_lineups.png");

    const std::string title = Text(popup, Details::ID_TITLE);
    EXPECT_NE(title.find(m_pClub->GetName()), std::string::npos) << title;
    EXPECT_NE(title.find(std::to_string(header.byHomeGoals) + " - " + std::to_string(header.byAwayGoals)),
              std::string::npos)
        << title;
    EXPECT_FALSE(Shown(popup, Details::ID_PREVIOUS)) << "not opened from a list";
    EXPECT_FALSE(Shown(popup, Details::ID_NEXT));
    EXPECT_TRUE(Shown(popup, Details::ID_FINANCE)) << "the human's home match keeps its money";

    // The starting elevens, each row a player of the record's line-up.
    for (const auto& [dwID, pLineUp] : {std::pair{Details::ID_HOME_ELEVEN, &body.HomeLineUp},
                                         {Details::ID_AWAY_ELEVEN, &body.AwayLineUp}}) {
        const auto* pList = dynamic_cast<const CXListBox*>(popup.FindControl(dwID));
        ASSERT_NE(pList, nullptr);
        ASSERT_EQ(pList->GetCount(), QUICKMATCH_STARTERS);
        for (int i = 0; i < QUICKMATCH_STARTERS; ++i)
            EXPECT_EQ(pList->GetItemData(i), (*pLineUp)[static_cast<size_t>(i)].idPlayer);
    }

    popup.OnClicked(Details::ID_STATISTICS_PAGE);
    EXPECT_EQ(popup.GetPage(), Details::PAGE_STATISTICS);
    Shoot("match_details_statistics.png");
    const std::vector<Details::FIGURE> figures = Details::GetFigures(header, body);
    EXPECT_EQ(Text(popup, Details::ID_FIRST_FIGURE), std::to_string(figures[0].nHome) + "%");
    EXPECT_EQ(Text(popup, Details::ID_FIRST_FIGURE + 5), std::to_string(header.byAwayGoals));
    EXPECT_FALSE(Shown(popup, Details::ID_HOME_ELEVEN));

    popup.OnClicked(Details::ID_EVENTS_PAGE);
    Shoot("match_details_events.png");
    const auto* pHomeEvents = dynamic_cast<const CXListBox*>(popup.FindControl(Details::ID_HOME_EVENTS));
    const auto* pAwayEvents = dynamic_cast<const CXListBox*>(popup.FindControl(Details::ID_AWAY_EVENTS));
    ASSERT_NE(pHomeEvents, nullptr);
    EXPECT_EQ(pHomeEvents->GetCount(), static_cast<int>(Details::GetListedEvents(body, true).size()));
    EXPECT_EQ(pAwayEvents->GetCount(), static_cast<int>(Details::GetListedEvents(body, false).size()));
    EXPECT_FALSE(Text(popup, Details::ID_REFEREE).empty());
    EXPECT_FALSE(Text(popup, Details::ID_GROUND_NAME).empty());
    const CPlayerDatabase* pAward = Database()->GetPlayerFromID(header.Result.idManOfTheMatch);
    ASSERT_NE(pAward, nullptr);
    EXPECT_EQ(Text(popup, Details::ID_AWARD), pAward->GetShortName());

    // A player's row opens his details.
    auto* pEvents = dynamic_cast<CXListBox*>(popup.FindControl(Details::ID_HOME_EVENTS));
    if (pEvents->GetCount() > 0) {
        pEvents->SetSelection(0);
        popup.OnDoubleClicked(Details::ID_HOME_EVENTS);
        EXPECT_TRUE(GetPlayerDetailsPopup().IsOnStack());
        GetPlayerDetailsPopup().Close();
    }

    popup.OnClicked(Details::ID_FINANCE);
    EXPECT_TRUE(popup.GetFinancePopup().IsOnStack());
    EXPECT_EQ(popup.GetFinancePopup().GetMatchID(), m_pHomeMatch->GetFixtureID());
    Shoot("match_details_money.png");
    popup.GetFinancePopup().Close();
    popup.Close();
}

TEST_F(MatchDetails, AnAwayMatchHasNoMoneyAndAMatchWithoutARecordSaysSo)
{
    Details& popup = GetAdvancedMatchDetailsPopup();
    ASSERT_TRUE(popup.Show(m_pAwayMatch->GetFixtureID(), false));
    EXPECT_TRUE(popup.IsRecordFound());
    EXPECT_FALSE(Shown(popup, Details::ID_FINANCE)) << "the record keeps no money of another club's ground";
    popup.OnClicked(Details::ID_FINANCE);
    EXPECT_FALSE(popup.GetFinancePopup().IsOnStack());
    popup.Close();

    ASSERT_TRUE(popup.Show(0x7FFFFFF0u, false));
    EXPECT_FALSE(popup.IsRecordFound());
    EXPECT_FALSE(Text(popup, Details::ID_TITLE).empty());
    for (int nPage : {Details::PAGE_LINEUPS, Details::PAGE_STATISTICS, Details::PAGE_EVENTS}) {
        popup.ShowPage(nPage);
        EXPECT_FALSE(Shown(popup, Details::ID_HOME_ELEVEN));
        EXPECT_FALSE(Shown(popup, Details::ID_HOME_EVENTS));
    }
    Shoot("match_details_no_record.png");
    popup.Close();
}

TEST_F(MatchDetails, TheFixturesScreenOpensAPlayedMatchAndItsArrowsStepThroughTheRows)
{
    OpenScreen(SCREEN_TABLES_FIXTURES);
    auto* pScreen = dynamic_cast<CClientTablesStaticsFixtures*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    pScreen->ShowDate(m_pHomeMatch->GetDate());
    CXListBox* pList = pScreen->GetList();
    ASSERT_GT(pList->GetCount(), 1);
    pList->SetSelection(0);
    // A club's column opens no details.
    pList->m_nClickedColumn = 0;
    pScreen->OnDoubleClicked(CClientTablesStaticsFixtures::ID_LIST);
    Details& popup = GetAdvancedMatchDetailsPopup();
    EXPECT_FALSE(popup.IsOnStack());

    pList->m_nClickedColumn = 1;
    pScreen->OnDoubleClicked(CClientTablesStaticsFixtures::ID_LIST);
    ASSERT_TRUE(popup.IsOnStack());
    EXPECT_EQ(popup.GetMatchID(), pScreen->GetRow(0)->GetMatchID());
    EXPECT_TRUE(Shown(popup, Details::ID_PREVIOUS));
    EXPECT_TRUE(Shown(popup, Details::ID_NEXT));
    Shoot("match_details_from_fixtures.png");

    popup.OnClicked(Details::ID_NEXT);
    EXPECT_EQ(pList->GetSelection(), 1);
    EXPECT_EQ(popup.GetMatchID(), pScreen->GetRow(1)->GetMatchID());
    EXPECT_TRUE(popup.IsRecordFound());
    popup.OnClicked(Details::ID_PREVIOUS);
    EXPECT_EQ(popup.GetMatchID(), pScreen->GetRow(0)->GetMatchID());
    // Past the first row nothing changes.
    popup.OnClicked(Details::ID_PREVIOUS);
    EXPECT_EQ(popup.GetMatchID(), pScreen->GetRow(0)->GetMatchID());
    popup.Close();
}

}  // namespace
