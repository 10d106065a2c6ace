// A scenario game as a player plays it: the scenario chosen from the
// start-up menu, the game set up as the scenario says, the goal judged when
// its season ends and the outcome shown on the scenario's own page, then
// back to the start. Also the help and credits popups opened from the bar.
#include "../popups/GameOnScreen.h"

#include "popups/CPopupCredits.h"
#include "popups/CPopupHelp.h"
#include "popups/CPopupScenario.h"
#include "screens/CClientClubGeneral.h"
#include "screens/CClientFootballToday.h"
#include "screens/CClientStartup.h"
#include "screens/GameScreens.h"
#include "shell/CGameDay.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CScreenRegistry.h"
#include "shell/COptions.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CPlayerDatabase.h"
#include "platform/Messages.h"
#include "platform/PngWriter.h"
#include "season/CSaveGame.h"
#include "xframework/CXEdit.h"
#include "xframework/CXListBox.h"
#include "xframework/CXStatic.h"
#include "xframework/CXTreeView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

class ScenarioGame : public GameOnScreen {
protected:
    ScenarioGame() : GameOnScreen(m_start) {}
    void SetUp() override
    {
        RegisterGameScreens();
        GameOnScreen::SetUp();
        Frame();
    }

    CPopupScenario& Scenario() { return *dynamic_cast<CPopupScenario*>(GetPopupObject(SCREEN_SCENARIO_POPUP)); }
    static std::string LabelText(CXPopup& popup, uint32_t dwID)
    {
        auto* pLabel = dynamic_cast<CXStatic*>(popup.FindControl(dwID));
        return pLabel ? pLabel->Text() : "(none)";
    }
    static std::string ListText(CXPopup& popup, uint32_t dwID)
    {
        auto* pList = dynamic_cast<CXListBox*>(popup.FindControl(dwID));
        std::string text;
        for (int i = 0; pList && i < pList->GetCount(); ++i)
            text += std::string(pList->GetRow(i)->szText) + " ";
        return text;
    }
    // The scenario popup opened from the start-up menu, as a click opens it.
    CPopupScenario& OpenFromMenu()
    {
        g_pNavigationBar->OnClicked(CGameNavigationBar::ID_SCENARIO);
        EXPECT_EQ(CXPopup::TopPopup(), &Scenario());
        return Scenario();
    }
    // Pages to the scenario, types the name and confirms; then the frames
    // that change the screen.
    void Start(int nScenario, const char* pszName)
    {
        CPopupScenario& popup = OpenFromMenu();
        for (int i = 0; i < nScenario; ++i)
            popup.OnClicked(CPopupScenario::ID_NEXT);
        ASSERT_EQ(popup.GetShownScenario(), nScenario);
        auto* pEdit = dynamic_cast<CXEdit*>(popup.FindControl(CPopupScenario::ID_NAME));
        ASSERT_NE(pEdit, nullptr);
        pEdit->SetText("%s", pszName);
        popup.OnClicked(CGamePopup::kOkButtonID);
        for (int i = 0; i < 3; ++i)
            Frame();
    }
    void Shoot(const std::string& name)
    {
        Frame();
        const char* pszFolder = std::getenv("BRELLOX_SHOTS");
        const std::string path =
            (pszFolder ? std::string(pszFolder) : m_pFolder->Path().string()) + "/" + name + ".png";
        const CXSurface* pFront = m_game.GetFrontSurface();
        EXPECT_TRUE(pFront && pFront->m_pSurface && plat::writePng(*pFront->m_pSurface, path)) << path;
    }

    CClientStartup m_start;
};

TEST_F(ScenarioGame, TheArrowsStopAtBothEndsAndEachPageShowsItsScenario)
{
    CPopupScenario& popup = OpenFromMenu();
    ASSERT_TRUE(popup.IsOnStack());
    Shoot("scenario-choose-0");
    popup.OnClicked(CPopupScenario::ID_PREVIOUS);
    EXPECT_EQ(popup.GetShownScenario(), 0) << "nothing before the first";
    std::string lastTitle;
    for (int s = 0; s < CPopupScenario::kScenarios; ++s) {
        SCOPED_TRACE(s);
        if (s > 0)
            popup.OnClicked(CPopupScenario::ID_NEXT);
        ASSERT_EQ(popup.GetShownScenario(), s);
        const SCENARIORECORD& record = *CPopupScenario::GetScenario(s);
        EXPECT_EQ(LabelText(popup, CPopupScenario::ID_NUMBER), std::to_string(s + 1) + "/8");
        EXPECT_EQ(LabelText(popup, CPopupScenario::ID_MONEY), FormatMoney(record.nMoney, 0, 0, MONEY_AS_STORED, 0, 1));
        const std::string title = LabelText(popup, CPopupScenario::ID_TITLE);
        EXPECT_FALSE(title.empty());
        EXPECT_NE(title, lastTitle);
        lastTitle = title;
        EXPECT_NE(ListText(popup, CPopupScenario::ID_DESCRIPTION).find("Goal:"), std::string::npos);
        EXPECT_FALSE(ListText(popup, CPopupScenario::ID_OUTCOME_TEXT).empty());
        if (record.byGoalKind == 1)
            EXPECT_EQ(LabelText(popup, CPopupScenario::ID_GOAL_TIME), std::to_string(record.byGoalValue) + " seasons");
    }
    // The bankrupt club's description names the money to raise.
    popup.OnClicked(CPopupScenario::ID_PREVIOUS);
    popup.OnClicked(CPopupScenario::ID_PREVIOUS);
    popup.OnClicked(CPopupScenario::ID_PREVIOUS);
    ASSERT_EQ(popup.GetShownScenario(), 4);
    EXPECT_NE(ListText(popup, CPopupScenario::ID_DESCRIPTION).find(FormatMoney(15000000, 0, 0, MONEY_AS_STORED, 0, 1)),
              std::string::npos);
    Shoot("scenario-choose-4");
    for (int i = 0; i < 5; ++i)
        popup.OnClicked(CPopupScenario::ID_NEXT);
    EXPECT_EQ(popup.GetShownScenario(), 7) << "nothing after the last";
    Shoot("scenario-choose-7");
    popup.OnClicked(CGamePopup::kCancelButtonID);
    EXPECT_FALSE(popup.IsOnStack());
    EXPECT_EQ(g_pCurrentClient, &m_start);
    EXPECT_FALSE(m_game.GetDatabase()->IsDatabaseLoaded() && m_game.GetDatabase()->GetHumanCount() > 0);
}

TEST_F(ScenarioGame, ANameOfBlanksStartsNothingEvenWhenEscapeFollows)
{
    Start(0, "    ");
    EXPECT_TRUE(Scenario().IsOnStack());
    EXPECT_FALSE(Scenario().HasCreatedManager());
    EXPECT_EQ(g_pCurrentClient, &m_start);
    // The refused OK is not the popup's answer when Escape closes it.
    Scenario().OnKeyUp(plat::VK_ESCAPE, 1, 0);
    EXPECT_FALSE(Scenario().IsOnStack());
    for (int i = 0; i < 3; ++i)
        Frame();
    EXPECT_EQ(g_pCurrentClient, &m_start);
    EXPECT_TRUE(g_pNavigationBar->GetMessage().empty()) << g_pNavigationBar->GetMessage();
}

// Each scenario's club, money, board and goal as the game sets them up.
TEST_F(ScenarioGame, AChosenScenarioStartsTheGameItDescribes)
{
    const struct {
        int nScenario;
        int nDivision;  // 0: the lowest league division
        uint8_t byObjective;
        uint8_t bySeasons;
    } cases[] = {{0, 1, 0, 1}, {1, 1, 1, 1}, {2, 0, 0, 1}, {3, 1, 2, 2},
                 {4, 1, 4, 1}, {5, 1, 3, 1}, {6, 2, 6, 2}, {7, 1, 0, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nScenario);
        Start(c.nScenario, "Ada Lovell");
        ASSERT_FALSE(Scenario().IsOnStack());
        ASSERT_EQ(g_pCurrentClient, &GetFootballTodayScreen()) << "the game began on the home screen";
        CDatabaseHandler* pDatabase = m_game.GetDatabase();
        ASSERT_EQ(pDatabase->GetHumanCount(), 1);
        const CSaveGame* pHuman = pDatabase->GetHumanSlot(0);
        const CClubDatabase* pClub = pHuman->GetClub();
        ASSERT_NE(pClub, nullptr);
        const SCENARIORECORD& record = *CPopupScenario::GetScenario(c.nScenario);
        EXPECT_EQ(pHuman->GetScenario(), c.nScenario);
        EXPECT_EQ(pClub->m_nBankBalance, record.nMoney);
        EXPECT_EQ(pClub->m_nBoardConfidence, 80);
        EXPECT_EQ(pHuman->GetObjectiveType(), c.byObjective);
        EXPECT_EQ(pHuman->GetObjectiveCountdown(), c.bySeasons);
        EXPECT_EQ(pHuman->GetScenarioValue(), c.bySeasons);
        const CDivisionDatabase* pDivision = pClub->m_pDivision;
        ASSERT_NE(pDivision, nullptr);
        if (c.nDivision > 0) {
            EXPECT_EQ(pDivision->m_byDivisionNumber, c.nDivision);
        } else {
            int nLowest = 0;
            for (const CDivisionDatabase* p : pHuman->GetCountry()->GetDivisions().Items<CDivisionDatabase>())
                if (p->m_byKind == DIVISION_KIND_LEAGUE)
                    nLowest = std::max<int>(nLowest, p->m_byDivisionNumber);
            EXPECT_EQ(pDivision->m_byDivisionNumber, nLowest);
        }
        if (c.nScenario == 3)
            for (const CPlayerDatabase* pPlayer : pClub->m_lstPlayers.Items<CPlayerDatabase>())
                EXPECT_GE(pPlayer->GetAge(), 31) << "a squad of veterans";
        // The club's overview offers the scenario's page again.
        g_pNavigationBar->OnClientChange(SCREEN_CLUB_GENERAL, true);
        Frame();
        Frame();
        ASSERT_NE(g_pCurrentClient->FindControl(CClientClubGeneral::ID_SCENARIO), nullptr);
        g_pCurrentClient->OnClicked(CClientClubGeneral::ID_SCENARIO);
        ASSERT_TRUE(Scenario().IsOnStack());
        EXPECT_FALSE(Scenario().IsChoosing());
        EXPECT_EQ(Scenario().GetShownScenario(), c.nScenario);
        EXPECT_EQ(Scenario().FindControl(CPopupScenario::ID_NEXT), nullptr) << "a running scenario is not changed";
        EXPECT_NE(LabelText(Scenario(), CPopupScenario::ID_NAME).find("Lovell"), std::string::npos);
        if (c.nScenario == 3)
            Shoot("scenario-running-3");
        Scenario().OnClicked(CGamePopup::kOkButtonID);
        EXPECT_FALSE(Scenario().IsOnStack());
        EXPECT_EQ(pHuman->GetClub(), pClub) << "showing the scenario changes nothing";
        // Back to the start for the next case.
        m_game.m_bRestartRequest = 1;
        Frame();
        Frame();
        ASSERT_EQ(g_pCurrentClient, &m_start);
    }
}

// The goal judged when the season ends: the scenario's own page says how
// it went, and closing it ends the game.
TEST_F(ScenarioGame, TheSeasonsEndShowsTheOutcomeAndTheGameStartsAgain)
{
    const struct {
        int nPosition;
        uint8_t byTextKind;
    } cases[] = {{4, CPopupScenario::TEXT_ACHIEVED}, {12, CPopupScenario::TEXT_FAILED}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nPosition);
        Start(0, "Bo Kerr");
        ASSERT_EQ(g_pCurrentClient, &GetFootballTodayScreen());
        CDatabaseHandler* pDatabase = m_game.GetDatabase();
        CSaveGame* pHuman = pDatabase->GetCurrentSaveGame();
        ASSERT_NE(pHuman, nullptr);
        pDatabase->SetContinueMode(0);
        pHuman->GetCountry()->SetSeasonEndDate(CDate(pDatabase->GetGameDate().GetValue(), 1));
        pHuman->GetClub()->m_byLeaguePosition = static_cast<uint8_t>(c.nPosition);
        g_pNavigationBar->ContinueGame();
        for (int i = 0; i < 4 && !Scenario().IsOnStack(); ++i)
            Frame();
        ASSERT_TRUE(Scenario().IsOnStack());
        EXPECT_EQ(Scenario().GetTextKind(), c.byTextKind);
        EXPECT_EQ(ListText(Scenario(), CPopupScenario::ID_OUTCOME_TEXT).substr(0, 12),
                  std::string(GetTableTextOrEmpty(c.byTextKind == CPopupScenario::TEXT_ACHIEVED ? 83 : 85, 0))
                      .substr(0, 12));
        Shoot(c.byTextKind == CPopupScenario::TEXT_ACHIEVED ? "scenario-achieved" : "scenario-failed");
        Scenario().OnClicked(CGamePopup::kOkButtonID);
        for (int i = 0; i < 4; ++i)
            Frame();
        EXPECT_EQ(g_pCurrentClient, &m_start) << "the game went back to its start";
    }
}

// The sinking ship is played in a world of its own, half a season on: the
// manager takes over one of the two clubs at the foot of the top division.
TEST_F(ScenarioGame, TheSinkingShipStartsInItsOwnWorldAtTheFootOfTheTable)
{
    Start(1, "Di Orme");
    ASSERT_EQ(g_pCurrentClient, &GetFootballTodayScreen());
    CDatabaseHandler* pDatabase = m_game.GetDatabase();
    const CSaveGame* pHuman = pDatabase->GetHumanSlot(0);
    ASSERT_NE(pHuman, nullptr);
    const CClubDatabase* pClub = pHuman->GetClub();
    ASSERT_NE(pClub, nullptr);
    EXPECT_EQ(pClub->m_nBankBalance, 4000000);
    EXPECT_EQ(pHuman->GetScenario(), 1);
    ASSERT_NE(pClub->m_pDivision, nullptr);
    EXPECT_EQ(pClub->m_pDivision->m_byDivisionNumber, 1);
    const int nClubs = pClub->m_pDivision->m_lstClubsByTable.GetCount();
    EXPECT_GE(pClub->m_byLeaguePosition, nClubs - 1) << "one of the two bottom clubs";
    // The season is well on: the clubs have played most of their matches.
    const int nPlayed = pClub->m_HomeRow.byPlayed + pClub->m_AwayRow.byPlayed;
    EXPECT_GT(nPlayed, nClubs) << "more than half the season is played";
    EXPECT_LT(nPlayed, 2 * (nClubs - 1)) << "and matches are left";
    EXPECT_GE(pDatabase->GetGameDate().GetYear(), 2000);
    Shoot("scenario-sinking-ship");
    // The world goes on from there: a day is played.
    const CDate before = pDatabase->GetGameDate();
    pDatabase->SetContinueMode(0);
    g_pNavigationBar->ContinueGame();
    for (int i = 0; i < 3; ++i)
        Frame();
    EXPECT_GT(pDatabase->GetGameDate().GetValue(), before.GetValue());
    EXPECT_EQ(pHuman->GetClub(), pClub);
}

// With the AutoHelp option on, the help opens by itself the first time the
// manager enters each screen, on that screen's topic, and never again there;
// what he has seen goes with his saved game.
TEST_F(ScenarioGame, HelpOpensByItselfOnAManagersFirstVisitToEachScreen)
{
    CPopupHelp* pHelp = dynamic_cast<CPopupHelp*>(g_pHelpPopup);
    ASSERT_NE(pHelp, nullptr);
    EXPECT_FALSE(pHelp->IsOnStack()) << "no manager, no help of its own accord";
    m_game.SetAutoHelp(true);
    Start(0, "Cy Dunn");
    ASSERT_EQ(g_pCurrentClient, &GetFootballTodayScreen());
    CSaveGame* pHuman = m_game.GetDatabase()->GetCurrentSaveGame();
    ASSERT_NE(pHuman, nullptr);
    ASSERT_TRUE(pHelp->IsOnStack()) << "the first visit home";
    ASSERT_NE(pHelp->GetSelectedTopic(), nullptr);
    EXPECT_EQ(pHelp->GetSelectedTopic()->nItem, 0);
    EXPECT_TRUE(pHuman->IsHelpSeen(SCREEN_FOOTBALL_TODAY));
    EXPECT_FALSE(pHuman->IsHelpSeen(SCREEN_CLUB_GENERAL));
    Shoot("help-automatic");
    pHelp->OnKeyUp(plat::VK_ESCAPE, 1, 0);

    const auto visit = [this](int nScreen) {
        g_pNavigationBar->OnClientChange(nScreen, true);
        Frame();
        Frame();
    };
    visit(SCREEN_CLUB_GENERAL);
    ASSERT_TRUE(pHelp->IsOnStack()) << "the first visit to the club";
    EXPECT_EQ(pHelp->GetSelectedTopic()->nItem, 30);
    pHelp->OnKeyUp(plat::VK_ESCAPE, 1, 0);
    for (int nScreen : {SCREEN_FOOTBALL_TODAY, SCREEN_CLUB_GENERAL}) {
        visit(nScreen);
        EXPECT_FALSE(pHelp->IsOnStack()) << "seen already: " << nScreen;
    }

    // The saved game keeps what was seen.
    ASSERT_TRUE(m_game.SaveGame("autohelp")) << m_game.GetFileError();
    ASSERT_TRUE(m_game.LoadGame("autohelp", false)) << m_game.GetFileError();
    pHuman = m_game.GetDatabase()->GetCurrentSaveGame();
    ASSERT_NE(pHuman, nullptr);
    EXPECT_TRUE(pHuman->IsHelpSeen(SCREEN_FOOTBALL_TODAY));
    EXPECT_TRUE(pHuman->IsHelpSeen(SCREEN_CLUB_GENERAL));
    EXPECT_FALSE(pHuman->IsHelpSeen(SCREEN_TICKET_PRICES));
    visit(SCREEN_CLUB_GENERAL);
    EXPECT_FALSE(pHelp->IsOnStack());

    // Switched off, a screen not seen yet opens without it.
    m_game.SetAutoHelp(false);
    visit(SCREEN_TICKET_PRICES);
    EXPECT_FALSE(pHelp->IsOnStack());
    EXPECT_FALSE(pHuman->IsHelpSeen(SCREEN_TICKET_PRICES));
    m_game.SetAutoHelp(true);
    visit(SCREEN_FOOTBALL_TODAY);
    visit(SCREEN_TICKET_PRICES);
    EXPECT_TRUE(pHelp->IsOnStack());
    EXPECT_TRUE(pHuman->IsHelpSeen(SCREEN_TICKET_PRICES));
    pHelp->OnKeyUp(plat::VK_ESCAPE, 1, 0);
}

TEST_F(ScenarioGame, HelpOpensOnTheTopicOfWhatItWasOpenedOver)
{
    CPopupHelp* pHelp = dynamic_cast<CPopupHelp*>(g_pHelpPopup);
    ASSERT_NE(pHelp, nullptr);
    // Over the start-up screen, from the bar's help button.
    g_pNavigationBar->OnClicked(CGameNavigationBar::ID_HELP);
    ASSERT_TRUE(pHelp->IsOnStack());
    ASSERT_NE(pHelp->GetSelectedTopic(), nullptr);
    EXPECT_EQ(pHelp->GetSelectedTopic()->nItem, 57) << "the deepest and last topic of screen 1";
    auto* pText = dynamic_cast<CXListBox*>(pHelp->FindControl(CPopupHelp::ID_TEXT));
    ASSERT_NE(pText, nullptr);
    ASSERT_GT(pText->GetCount(), 0);
    EXPECT_NE(std::string(pText->GetRow(0)->szText), "File not found!");
    Shoot("help-startup");
    // Escape keeps a toggled AutoHelp for the run but does not store it.
    const uint8_t byWas = m_game.GetOptions().m_nAutoHelp;
    pHelp->OnClicked(CPopupHelp::ID_AUTO_HELP);
    EXPECT_NE(m_game.GetOptions().m_nAutoHelp, byWas);
    pHelp->OnKeyUp(plat::VK_ESCAPE, 1, 0);
    EXPECT_FALSE(pHelp->IsOnStack());
    EXPECT_NE(m_game.GetOptions().m_nAutoHelp, byWas);
    {
        auto pKey = GetRegistryKey(COptions::kOptionsKey);
        char szValue[255] = {};
        ASSERT_TRUE(GetRegistryString(*pKey, "AutoHelp", szValue));
        EXPECT_EQ(std::string(szValue), std::to_string(byWas)) << "not stored";
    }

    // Over a popup, by F1: the options on their sound page.
    CXPopup* pOptions = GetPopupObject(SCREEN_OPTIONS_POPUP);
    ASSERT_TRUE(pOptions->Open());
    pOptions->OnClicked(648);
    pOptions->OnKeyUp(plat::VK_F1, 1, 0);
    ASSERT_TRUE(pHelp->IsOnStack());
    EXPECT_EQ(pHelp->GetSelectedTopic()->nItem, 96);
    pHelp->OnClicked(CGamePopup::kOkButtonID);
    pOptions->OnClicked(647);
    pOptions->OnClicked(POPUP_HELP_BUTTON_ID);
    ASSERT_TRUE(pHelp->IsOnStack());
    EXPECT_EQ(pHelp->GetSelectedTopic()->nItem, 95);
    // Every topic has its help file in the data.
    auto* pTree = dynamic_cast<CXTreeView*>(pHelp->FindControl(CPopupHelp::ID_TOPICS));
    ASSERT_NE(pTree, nullptr);
    ASSERT_EQ(pTree->GetCount(), 140);
    pText = dynamic_cast<CXListBox*>(pHelp->FindControl(CPopupHelp::ID_TEXT));
    ASSERT_NE(pText, nullptr);
    for (int i = 0; i < pTree->GetCount(); ++i) {
        pTree->SelectItem(pTree->GetItemAt(i)->nID);
        pHelp->OnSelChange(CPopupHelp::ID_TOPICS);
        ASSERT_GT(pText->GetCount(), 0);
        EXPECT_NE(std::string(pText->GetRow(0)->szText), "File not found!") << pTree->GetItemAt(i)->szText;
        EXPECT_NE(std::string(pText->GetRow(0)->szText), "No Help Found!") << pTree->GetItemAt(i)->szText;
    }
    pHelp->OnClicked(CGamePopup::kOkButtonID);
    pOptions->Close();
}

TEST_F(ScenarioGame, CreditsPagesShowTheTeamToolsNoticesAndThanks)
{
    g_pNavigationBar->OnClicked(CGameNavigationBar::ID_CREDITS);
    auto* pCredits = dynamic_cast<CPopupCredits*>(CXPopup::TopPopup());
    ASSERT_NE(pCredits, nullptr);
    EXPECT_EQ(pCredits->GetPage(), 0);
    EXPECT_STREQ(pCredits->GetShownPicture(), CPopupCredits::GetCredits(0)[0].pszFirst) << "the first row's picture";
    auto* pList = dynamic_cast<CXListBox*>(pCredits->FindControl(CPopupCredits::ID_LIST));
    ASSERT_NE(pList, nullptr);
    pList->SetSelection(2);
    pCredits->OnSelChange(CPopupCredits::ID_LIST);
    EXPECT_STREQ(pCredits->GetShownPicture(), CPopupCredits::GetCredits(0)[2].pszFirst);
    Shoot("credits-0");
    const char* expectedFirstRow[] = {nullptr, CPopupCredits::GetCredits(1)[0].pszFirst, nullptr, "Thank you for playing."};
    for (int nPage = 1; nPage < CPopupCredits::kPages; ++nPage) {
        SCOPED_TRACE(nPage);
        pCredits->OnClicked(CPopupCredits::ID_FIRST_PAGE + nPage);
        EXPECT_EQ(pCredits->GetPage(), nPage);
        Shoot("credits-" + std::to_string(nPage));
        const uint32_t dwList = nPage == 1 ? CPopupCredits::ID_LIST
                                : nPage == 2 ? CPopupCredits::ID_NOTICES
                                             : CPopupCredits::ID_FREE_TEXT;
        auto* pShown = dynamic_cast<CXListBox*>(pCredits->FindControl(dwList));
        ASSERT_NE(pShown, nullptr);
        EXPECT_TRUE(pShown->m_bVisible);
        ASSERT_GT(pShown->GetCount(), 0);
        if (nPage == 2)
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(pShown->GetRow(i)->Graphics.size(), 1u) << "each notice has its icon";
        if (expectedFirstRow[nPage])
            EXPECT_EQ(std::string(pShown->GetRow(0)->szText).rfind(expectedFirstRow[nPage], 0), 0u)
                << pShown->GetRow(0)->szText;
    }
    pCredits->OnClicked(CGamePopup::kOkButtonID);
    EXPECT_FALSE(pCredits->IsOnStack());
}

}  // namespace
