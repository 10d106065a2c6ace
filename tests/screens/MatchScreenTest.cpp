// The match screen in the game: the human's match day opens it, the match
// runs on it in every panel, the navigation bar's match button plays the
// rest through, and the result reaches the fixture, the table and the
// players once while the day goes on.
#include "match/CMatchBall.h"
#include "render3d/C3DEngine.h"
#include "PressButton.h"
#include "ScreenInPlay.h"

#include "database/CClubDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "season/CupStructureTable.h"
#include "match/actors/CMatchReferee.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/MatchHistory.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchPlayer.h"
#include "screens/CClientMatch.h"
#include "shell/CGameDay.h"
#include "shell/CGameTitlebar.h"
#include "shell/ScreenIDs.h"
#include "season/MatchRecords.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXStatic.h"

#include <numeric>

namespace {

class MatchScreen : public ScreenInPlay {
protected:
    // Days entered until the human's club plays today.
    bool RunToMatchDay()
    {
        CDate match;
        if (Database()->GetNextFixture(m_pClub, nullptr, nullptr, &match) < 0)
            return false;
        Database()->SetContinueMode(0);
        while (Database()->GetGameDate() < match)
            CGameDay::ProcessDay(*Database());
        return Database()->GetGameDate() == match;
    }
    void Frames(int n)
    {
        for (int i = 0; i < n; ++i)
            m_game.Update();
    }
    // A choice in one of the title bar's lists, as the mouse makes it.
    void Choose(int nSelector, int nRow)
    {
        CXComboBox* pBox = g_pTitlebar->GetSelector(nSelector);
        ASSERT_NE(pBox, nullptr);
        pBox->SetSelection(nRow);
        GetMatchScreen().OnSelChange(CGameTitlebar::GetSelectorControlID(nSelector));
        Frames(3);
    }
    static int LeagueFields(const CPlayerDatabase* p)
    {
        int nSum = 0;
        for (int f = 0; f < MATCH_INFORMATION_FIELD_COUNT; ++f)
            nSum += p->GetMatchInformationField(MATCHKIND_LEAGUE, f);
        return nSum;
    }
};

TEST_F(MatchScreen, AHumansMatchDayIsPlayedOnTheScreenAndRecordedOnce)
{
    Database()->SetMatchType(1);
    ASSERT_TRUE(RunToMatchDay());
    g_pNavigationBar->OnClientChange(SCREEN_FOOTBALL_TODAY, true);
    Frames(1);
    g_pNavigationBar->ContinueGame();
    Frames(2);
    CClientMatch& screen = GetMatchScreen();
    ASSERT_EQ(g_pCurrentClient, &screen) << "the match day opens the match screen";
    const MATCHDAYFIXTURE fixture = screen.GetFixture();
    ASSERT_EQ(fixture.byKind, 0) << "a league match";
    auto* pFixture = static_cast<CDivisionFixturesDatabase*>(fixture.pFixture);
    ASSERT_NE(pFixture, nullptr);
    EXPECT_FALSE(pFixture->IsPlayed()) << "the quick engine left the human's match to the screen";
    CClubDatabase* pHome = Database()->GetClubFromID(pFixture->GetHomeClubID());
    CClubDatabase* pAway = Database()->GetClubFromID(pFixture->GetAwayClubID());
    const int nHomePlayed = pHome->m_HomeRow.byPlayed + pHome->m_AwayRow.byPlayed;
    const int nAwayPlayed = pAway->m_HomeRow.byPlayed + pAway->m_AwayRow.byPlayed;
    const CPlayerDatabase* pStarter = g_MatchEngine.GetHomeClub()->GetPlayerBySquadIndex(0)->GetRecord();
    const int nStarterFields = LeagueFields(pStarter);
    EXPECT_NE(screen.ControlText(CClientMatch::ID_CLOCK), "");
    EXPECT_EQ(screen.ControlText(CClientMatch::ID_SCORE), " 0 -  0");
    // The title bar names both sides and their managers over the score.
    auto titleText = [](uint32_t dwID) {
        const auto* pLabel = dynamic_cast<const CXStatic*>(g_pTitlebar->FindControl(dwID));
        return pLabel ? std::string(pLabel->Text()) : std::string("(none)");
    };
    constexpr uint32_t kHomeName = 1154, kAwayName = 1155, kScoreLine = 1153, kHomeManager = 1147;
    EXPECT_EQ(titleText(kHomeName), pHome->GetShortName());
    EXPECT_EQ(titleText(kAwayName), pAway->GetShortName());
    EXPECT_EQ(titleText(kScoreLine), " 0 -  0");
    EXPECT_EQ(titleText(kHomeManager), pHome->GetManager() ? pHome->GetManager()->GetShortName() : "");
    Shoot("match-kickoff.png");

    // The first half played, then every panel and the plan camera.
    g_MatchEngine.SkipToEvent(MATCHPERIOD_SECONDHALF);
    EXPECT_GE(g_MatchEngine.GetMatchTime(), 45u * 60u * 1000u) << "the first half is played";
    Frames(5);
    EXPECT_EQ(titleText(kScoreLine), screen.ControlText(CClientMatch::ID_SCORE)) << "the score as it stands";
    Shoot("match-statistics.png");
    Choose(15, CClientMatch::MODE_PLAYERS);
    EXPECT_EQ(screen.GetDisplayMode(), CClientMatch::MODE_PLAYERS);
    // A side lists the men it has on the pitch: eleven, less any sent off.
    for (const auto& [dwList, pClub] : {std::pair{CClientMatch::ID_HOME_PLAYERS, g_MatchEngine.GetHomeClub()},
                                        std::pair{CClientMatch::ID_AWAY_PLAYERS, g_MatchEngine.GetAwayClub()}}) {
        EXPECT_EQ(screen.GetList(dwList)->GetCount(), std::min(pClub->GetOnPitchCount(), 11));
        EXPECT_GE(screen.GetList(dwList)->GetCount(), 7);
    }
    Shoot("match-players.png");
    Choose(16, CClientMatch::FIGURES_PASSES);
    Choose(15, CClientMatch::MODE_COMMENTARY);
    EXPECT_GT(screen.GetList(CClientMatch::ID_COMMENTARY)->GetCount(), 0) << "the kick-off is commented";
    Shoot("match-commentary.png");
    Choose(15, CClientMatch::MODE_RESULTS);
    EXPECT_EQ(screen.GetList(CClientMatch::ID_RESULTS)->GetCount(), int(screen.GetOtherResults().size()));
    EXPECT_FALSE(screen.GetOtherResults().empty()) << "the other matches of the division";
    Shoot("match-results.png");
    Choose(26, 0);
    Shoot("match-view.png");
    Choose(26, CClientMatch::kPlanCamera);
    EXPECT_EQ(screen.GetCamera(), CClientMatch::kPlanCamera);
    Choose(15, CClientMatch::MODE_STATISTICS);
    Shoot("match-plan.png");

    // P halts the match: the clock stands.
    screen.OnKeyDown('P', 1, 0);
    Frames(2);
    const uint32_t dwHalted = g_MatchEngine.GetMatchTime();
    EXPECT_TRUE(screen.IsHalted());
    Frames(5);
    EXPECT_EQ(g_MatchEngine.GetMatchTime(), dwHalted);
    Shoot("match-halted.png");
    screen.OnKeyDown('P', 1, 0);

    // The human's tactics during the match, and the button in the continue
    // place leads back to the match, not on through the day.
    Choose(15, pHome == m_pClub ? CClientMatch::MODE_HOME_TACTICS : CClientMatch::MODE_AWAY_TACTICS);
    ASSERT_EQ(g_pCurrentClient, GetScreenObject(SCREEN_PITCH_TACTICS));
    const CXControl* pBack = g_pNavigationBar->FindControl(CGameNavigationBar::ID_BACK_TO_MATCH);
    ASSERT_NE(pBack, nullptr);
    const CXControl* pHit = g_pNavigationBar->ControlFromPoint(pBack->m_nLeft + 4, pBack->m_nTop + 4);
    ASSERT_NE(pHit, nullptr);
    EXPECT_EQ(pHit->GetID(), uint32_t(CGameNavigationBar::ID_BACK_TO_MATCH));
    PressButton(*g_pNavigationBar, pHit->GetID());
    Frames(2);
    EXPECT_EQ(g_pCurrentClient, &screen);
    EXPECT_FALSE(pFixture->IsPlayed()) << "the match goes on";

    // The match button: the rest is played, recorded, and the day goes on.
    g_pNavigationBar->OnClicked(CGameNavigationBar::ID_CONTINUE_MATCH);
    uint8_t byHome = 0, byAway = 0;
    g_MatchEngine.GetScore(byHome, byAway);
    ASSERT_TRUE(pFixture->IsPlayed());
    EXPECT_EQ(pFixture->GetHomeGoals(), byHome);
    EXPECT_EQ(pFixture->GetAwayGoals(), byAway);
    Frames(2);
    EXPECT_NE(g_pCurrentClient, &screen) << "the day's next screen";
    EXPECT_FALSE(g_MatchEngine.IsMatchBuilt()) << "the match is taken down with the screen";
    EXPECT_EQ(titleText(kScoreLine), "") << "no score without a match";
    MATCHHISTORYHEADER header;
    ASSERT_TRUE(Database()->FindMatchRecord(header, nullptr, pFixture->GetFixtureID()));
    EXPECT_EQ(header.byHomeGoals, byHome);
    const int nFieldsAfterMatch = LeagueFields(pStarter);
    EXPECT_GT(nFieldsAfterMatch, nStarterFields) << "the starter's appearance";

    // The rest of the day's screens, then the next day: nothing more of it.
    const CDate matchDay = Database()->GetGameDate();
    for (int i = 0; i < 4 && Database()->GetGameDate() == matchDay; ++i) {
        g_pNavigationBar->ContinueGame();
        Frames(1);
    }
    EXPECT_GT(Database()->GetGameDate(), matchDay) << "the game day went on";
    EXPECT_EQ(pHome->m_HomeRow.byPlayed + pHome->m_AwayRow.byPlayed, nHomePlayed + 1);
    EXPECT_EQ(pAway->m_HomeRow.byPlayed + pAway->m_AwayRow.byPlayed, nAwayPlayed + 1);
    EXPECT_EQ(LeagueFields(pStarter), nFieldsAfterMatch);
    EXPECT_EQ(pFixture->GetHomeGoals(), byHome);
}

// The second leg of a two-legged tie, its first leg played, once the world
// has drawn one.
CCupFixturesDatabase* FindSecondLeg(CDatabaseHandler& world)
{
    for (int nDay = 0; nDay < 240; ++nDay) {
        for (CCupFixturesDatabase* p : world.GetCupFixtures().Items<CCupFixturesDatabase>()) {
            const CCupFixturesDatabase* pFirst = p->GetOtherLeg();
            const ITEMCUPMATCHRULES* pRules = world.GetCupRoundRules(world.GetCupFromCupNumber(p->GetCupNumber()));
            if (pFirst && pFirst->GetDate() < p->GetDate() && pFirst->IsPlayed() && !p->IsPlayed() && pRules &&
                (pRules->byRules & CMatchReferee::RULE_AGGREGATE) && pFirst->GetHomeGoals() != pFirst->GetAwayGoals())
                return p;
        }
        world.ProcessDay();
        world.DoMatchDay(world.GetGameDate());
    }
    return nullptr;
}

TEST_F(MatchScreen, ASecondLegCountsTheFirstLegsGoalsInTheScoreLine)
{
    Database()->SetMatchType(1);
    CCupFixturesDatabase* pSecond = FindSecondLeg(*Database());
    ASSERT_NE(pSecond, nullptr) << "no two-legged tie in the first 240 days";
    const CCupFixturesDatabase* pFirst = pSecond->GetOtherLeg();
    // Today's away club was at home in the first leg.
    ASSERT_EQ(pFirst->GetHomeClubID(), pSecond->GetAwayClubID());
    g_aMatchDayFixtures[0] = {pSecond, 1};
    OpenScreen(SCREEN_MATCH);
    CClientMatch& screen = GetMatchScreen();
    EXPECT_EQ(screen.GetFirstLegHome(), pFirst->GetHomeGoals());
    EXPECT_EQ(screen.GetFirstLegAway(), pFirst->GetAwayGoals());
    EXPECT_EQ(g_MatchEngine.GetFirstLegGoals(0), pFirst->GetAwayGoals()) << "the referee's aggregate, home side";
    EXPECT_EQ(g_MatchEngine.GetFirstLegGoals(1), pFirst->GetHomeGoals());
    EXPECT_EQ(screen.ControlText(CClientMatch::ID_SCORE),
              CClientMatch::FormatScore(0, 0, true, pFirst->GetHomeGoals(), pFirst->GetAwayGoals()));
    Shoot("match-second-leg.png");
    // The ordinary continue button plays the match out and records it too.
    g_pNavigationBar->OnClicked(CGameNavigationBar::ID_CONTINUE);
    uint8_t byHome = 0, byAway = 0;
    g_MatchEngine.GetScore(byHome, byAway);
    EXPECT_TRUE(pSecond->IsPlayed());
    EXPECT_EQ(pSecond->GetHomeGoals(), byHome);
    EXPECT_EQ(pSecond->GetAwayGoals(), byAway);
}

TEST(MatchScreenScore, ATieOverTwoLegsShowsBothTotalsAroundTheDaysScore)
{
    struct Case {
        int nHome, nAway;
        bool bTwoLegs;
        int nFirstHome, nFirstAway;
        const char* pszShown;
    };
    // The first leg was at today's away club: its away goals are today's
    // home club's.
    const Case cases[] = {
        {0, 0, false, 0, 0, " 0 -  0"},
        {3, 1, false, 2, 2, " 3 -  1"},
        {1, 0, true, 2, 1, "(2)  1 -  0 (2)"},
        {0, 2, true, 0, 3, "(3)  0 -  2 (2)"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CClientMatch::FormatScore(c.nHome, c.nAway, c.bTwoLegs, c.nFirstHome, c.nFirstAway), c.pszShown);
}

TEST(MatchScreenResults, AnotherMatchShowsOnlyTheGoalsUpToTheMinute)
{
    const OTHERRESULT result{"Home", "Away", {12, 80}, {45}};
    EXPECT_EQ(CClientMatch::FormatResultAt(result, 0), "Home\t0 - 0\tAway");
    EXPECT_EQ(CClientMatch::FormatResultAt(result, 12), "Home\t1 - 0\tAway");
    EXPECT_EQ(CClientMatch::FormatResultAt(result, 79), "Home\t1 - 1\tAway");
    EXPECT_EQ(CClientMatch::FormatResultAt(result, 90), "Home\t2 - 1\tAway");
}

}  // namespace
