// A new game as a person begins it: the game program from its start-up
// screen through the managers' names, each manager's club and the run to
// the start date, read from the game's log; and the new-game screen itself,
// which never hands one club to two managers.
#include "../popups/GameOnScreen.h"
#include "../shell/ScriptedProgram.h"

#include "popups/CPopupClubDetails.h"
#include "popups/CPopupMessageBox.h"
#include "popups/CPopupSelectPlayer.h"
#include "screens/CClientNewGame.h"
#include "screens/CClientStartup.h"
#include "screens/GameScreens.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/CScreenRegistry.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "xframework/CXEdit.h"
#include "platform/PngWriter.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXStatic.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace shell_test;

// The clubs of the first division of the first country, in the order the
// new-game screen lists them.
std::vector<std::string> FirstDivisionClubs(const std::string& worldPath)
{
    CDatabaseHandler handler;
    std::vector<std::string> names;
    if (!handler.AreFixedTablesLoaded() || !handler.LoadFile(worldPath))
        return names;
    handler.SetupPointers();
    for (const CCountryDatabase* pCountry : handler.GetCountries().Items<CCountryDatabase>()) {
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>()) {
            for (const CClubDatabase* pClub : pDivision->m_lstClubsByID.Items<CClubDatabase>())
                names.emplace_back(pClub->GetName());
            break;
        }
        break;
    }
    return names;
}

TEST(NewGameFlow, TwoManagersChooseTheirClubsAndTheGameBeginsOnTheHomeScreen)
{
    GameFolder folder;
    const std::string dir = folder.Path().string();
    const std::vector<std::string> clubs = FirstDivisionClubs((folder.Path() / "play" / "Data" / "Data.bin").string());
    ASSERT_GE(clubs.size(), 4u) << "the generated starting world did not load";
    // The menu's "New Game"; the two names, Tab between them; OK. On the new-game screen the
    // bar's start command (120, 581) takes the selected club: the first
    // manager takes the first club, the message of the second one's turn is
    // answered, and he clicks the first club's row (out of his reach) and
    // then the fourth row, and takes that.
    const std::string script = "wait 100\nclick 80 161\ntype Ada Lovell\nkey Tab\ntype Bo Kerr\n"
                               "click 669 411\nwait 200\nclick 120 581\nwait 200\nshot " + dir + "/turn.png\n"
                               "key Return\nclick 300 139\nclick 300 223\nclick 120 581\nwait 500\nshot " + dir +
                               "/home.png\nquit\n";
    setenv("BRELLOX_LOG", "1", 1);
    const ScriptedRun run = RunScriptedProgram("Brellox", dir, script, false, 600, (folder.Path() / "play").string());
    unsetenv("BRELLOX_LOG");
    ASSERT_EQ(run.nExitCode, 0) << run.output;

    const std::regex entering("Entering (Client [A-Za-z ]+)");
    const std::regex begins(R"(The game begins on (\d{4}-\d{2}-\d{2}))");
    const std::regex manager(R"(Manager (\d): (.+)$)");
    std::vector<std::string> screens, managers;
    std::string startDate;
    std::istringstream lines(run.output);
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (std::regex_search(line, match, entering))
            screens.push_back(match[1]);
        else if (std::regex_search(line, match, begins))
            startDate = match[1];
        else if (std::regex_search(line, match, manager))
            managers.push_back(match[1].str() + " " + match[2].str());
    }
    const std::vector<std::string> expectedScreens = {"Client Startup", "Client Newgame", "Client Footballtoday"};
    EXPECT_EQ(screens, expectedScreens) << run.output;
    EXPECT_EQ(startDate, "1999-07-01") << run.output;
    const std::vector<std::string> expectedManagers = {"1 " + clubs[0], "2 " + clubs[3]};
    EXPECT_EQ(managers, expectedManagers) << run.output;
}

class NewGameScreenTest : public GameOnScreen {
protected:
    NewGameScreenTest() : GameOnScreen(m_start) {}
    void SetUp() override
    {
        RegisterGameScreens();
        GameOnScreen::SetUp();
    }
    // Two managers named through the popup over the start-up screen.
    void NameTwoManagers()
    {
        g_pNavigationBar->OnClicked(CGameNavigationBar::ID_NEW_GAME);
        auto* pPopup = dynamic_cast<CPopupSelectPlayer*>(CXPopup::TopPopup());
        ASSERT_NE(pPopup, nullptr);
        const char* names[] = {"Ada Lovell", "Bo Kerr"};
        for (int i = 0; i < 2; ++i) {
            auto* pEdit = dynamic_cast<CXEdit*>(pPopup->FindControl(CPopupSelectPlayer::ID_FIRST_NAME_EDIT + i));
            ASSERT_NE(pEdit, nullptr);
            pEdit->SetText("%s", names[i]);
            pPopup->OnEditChange(pEdit);
        }
        pPopup->OnClicked(884);
        Frame();
    }
    // Composes a frame and, when BRELLOX_SHOTS names a folder, writes it there.
    void Shoot(const char* pszName)
    {
        Frame();
        if (const char* pszFolder = std::getenv("BRELLOX_SHOTS"); pszFolder && GetScreenSurface())
            plat::writePng(*GetScreenSurface()->m_pSurface, std::string(pszFolder) + "/" + pszName);
    }

    CClientStartup m_start;
};

TEST_F(NewGameScreenTest, AClubTakenByOneManagerIsOutOfTheNextOnesReach)
{
    NameTwoManagers();
    CClientNewGame& screen = NewGameScreen();
    ASSERT_EQ(g_pCurrentClient, &screen);
    ASSERT_EQ(screen.GetHumanIndex(), 0);
    EXPECT_EQ(g_pNavigationBar->GetContinueLook(), CGameNavigationBar::LOOK_NEXT_MANAGER);
    CClubDatabase* pTaken = screen.GetSelectedClub();
    ASSERT_NE(pTaken, nullptr);
    EXPECT_FALSE(screen.ConfirmClub()) << "the second manager is still to choose";
    ASSERT_EQ(screen.GetHumanIndex(), 1);
    // The message names him, and the start command now begins the game.
    ASSERT_NE(GetGameMessageBox(), nullptr);
    EXPECT_TRUE(GetGameMessageBox()->IsOnStack());
    if (auto* pBox = dynamic_cast<CPopupMessageBox*>(GetGameMessageBox())) {
        EXPECT_NE(pBox->GetText().find("B. Kerr"), std::string::npos) << pBox->GetText();
    }
    EXPECT_EQ(g_pNavigationBar->GetContinueLook(), CGameNavigationBar::LOOK_MATCH_GOES_ON);
    GetGameMessageBox()->Close();

    auto* pList = dynamic_cast<CXListBox*>(screen.FindControl(CClientNewGame::ID_CLUB_LIST));
    ASSERT_NE(pList, nullptr);
    const int nTakenRow = pList->FindItemData(pTaken->m_wClubId);
    ASSERT_GE(nTakenRow, 0);
    EXPECT_FALSE(pList->IsRowEnabled(nTakenRow));
    EXPECT_NE(screen.GetSelectedClub(), pTaken) << "the default choice passes over a taken club";
    EXPECT_FALSE(screen.SelectClub(pTaken));
    // A click on the taken row reaches the screen without choosing it.
    pList->SetSelection(nTakenRow);
    screen.OnClicked(CClientNewGame::ID_CLUB_LIST);
    EXPECT_NE(screen.GetSelectedClub(), pTaken);

    CClubDatabase* pSecond = screen.GetSelectedClub();
    ASSERT_NE(pSecond, nullptr);
    EXPECT_TRUE(screen.ConfirmClub()) << "every manager has a club";
    CDatabaseHandler* pDatabase = m_game.GetDatabase();
    EXPECT_EQ(pDatabase->GetHumanSlot(0)->GetClub(), pTaken);
    EXPECT_EQ(pDatabase->GetHumanSlot(1)->GetClub(), pSecond);
    EXPECT_EQ(pTaken->GetManager()->GetId(), pDatabase->GetHumanSlot(0)->GetManagerID());
    EXPECT_EQ(pSecond->GetManager()->GetId(), pDatabase->GetHumanSlot(1)->GetManagerID());
}

TEST_F(NewGameScreenTest, TheDivisionChosenInItsBoxIsTheOneOnTheBoxsFace)
{
    NameTwoManagers();
    CClientNewGame& screen = NewGameScreen();
    auto* pBox = dynamic_cast<CXComboBox*>(screen.FindControl(CClientNewGame::ID_DIVISION_BOX));
    ASSERT_NE(pBox, nullptr);
    ASSERT_GE(pBox->GetCount(), 2);
    // As a click on the drop-down's second row chooses it.
    pBox->SetCurSel(1);
    ASSERT_NE(screen.GetDivision(), nullptr);
    EXPECT_EQ(pBox->GetItemData(pBox->GetSelection()), screen.GetDivision()->m_byDivisionId);
    EXPECT_EQ(pBox->GetSelection(), 1);
    EXPECT_EQ(pBox->GetFirstVisible(), 1) << "the box filled again shows its first row, not the choice";
    Shoot("newgame-second-division.png");
}

TEST_F(NewGameScreenTest, ADoubleClickShowsTheClubsDetailsAndTheArrowsStepThroughTheList)
{
    NameTwoManagers();
    CClientNewGame& screen = NewGameScreen();
    auto* pList = dynamic_cast<CXListBox*>(screen.FindControl(CClientNewGame::ID_CLUB_LIST));
    ASSERT_TRUE(pList && pList->GetCount() >= 3);
    CDatabaseHandler* pDatabase = m_game.GetDatabase();
    auto rowClub = [&](int nRow) { return pDatabase->GetClubFromID(static_cast<ID_CLUB>(pList->GetItemData(nRow))); };
    auto shoot = [this](const char* pszName) { Shoot(pszName); };

    pList->SetSelection(1);
    screen.OnDoubleClicked(CClientNewGame::ID_CLUB_LIST);
    CPopupClubDetails* pPopup = screen.GetClubDetailsPopup();
    ASSERT_TRUE(pPopup && pPopup->IsOnStack());
    EXPECT_EQ(pPopup->GetClub(), rowClub(1));
    EXPECT_EQ(screen.GetSelectedClub(), rowClub(1));
    auto text = [&](uint32_t dwID) {
        const auto* pLabel = dynamic_cast<const CXStatic*>(pPopup->FindControl(dwID));
        return pLabel ? std::string(pLabel->Text()) : std::string("(none)");
    };
    const CManagerDatabase* pManager = rowClub(1)->GetManager();
    ASSERT_NE(pManager, nullptr);
    EXPECT_EQ(text(CPopupClubDetails::ID_MANAGER), pManager->GetShortName());
    EXPECT_EQ(text(CPopupClubDetails::ID_TITLE), rowClub(1)->GetName());
    shoot("club_details.png");

    // The arrows move the screen's selection with the popup, and stop at the ends.
    pPopup->OnClicked(CPopupClubDetails::ID_NEXT);
    EXPECT_EQ(pPopup->GetClub(), rowClub(2));
    EXPECT_EQ(screen.GetSelectedClub(), rowClub(2));
    EXPECT_EQ(text(CPopupClubDetails::ID_TITLE), rowClub(2)->GetName());
    for (int i = 0; i < 3; ++i)
        pPopup->OnClicked(CPopupClubDetails::ID_PREVIOUS);
    EXPECT_EQ(pPopup->GetClub(), rowClub(0)) << "past the first club it stays on it";

    // The squad page: the squad and the youths, each list with its own filter.
    pPopup->OnClicked(CPopupClubDetails::ID_PAGE_SQUAD);
    EXPECT_EQ(pPopup->GetPage(), CPopupClubDetails::ID_PAGE_SQUAD);
    const CClubDatabase* pClub = rowClub(0);
    CXListBox* pSquad = pPopup->List(CPopupClubDetails::ID_SQUAD_LIST);
    CXListBox* pYouths = pPopup->List(CPopupClubDetails::ID_YOUTH_LIST);
    ASSERT_TRUE(pSquad && pYouths);
    EXPECT_EQ(pSquad->GetCount(), pClub->m_lstPlayers.GetCount());
    EXPECT_EQ(pYouths->GetCount(), pClub->m_lstYouths.GetCount());
    shoot("club_details_squad.png");
    int nKeepers = 0;
    for (const CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>())
        nKeepers += p->m_byPosition == 0;
    ASSERT_GT(nKeepers, 0);
    const struct {
        uint32_t dwMask;
        int nExpected;
    } kFilters[] = {
        {CPopupClubDetails::FILTER_ALL & ~uint32_t(CPopupClubDetails::FILTER_FIRST_POSITION),
         pClub->m_lstPlayers.GetCount() - nKeepers},
        {CPopupClubDetails::FILTER_OWN_NATIONALITY | CPopupClubDetails::FILTER_OTHER_NATIONALITY, 0},
        {CPopupClubDetails::FILTER_ALL & ~uint32_t(3), 0},
        {CPopupClubDetails::FILTER_ALL, pClub->m_lstPlayers.GetCount()},
    };
    for (const auto& f : kFilters) {
        pPopup->SetFilter(CPopupClubDetails::ID_SQUAD_LIST, f.dwMask);
        EXPECT_EQ(pSquad->GetCount(), f.nExpected) << "mask " << f.dwMask;
    }
    EXPECT_EQ(pYouths->GetCount(), pClub->m_lstYouths.GetCount()) << "the other list keeps its filter";

    // A club without a manager says so.
    pPopup->OnClicked(CPopupClubDetails::ID_PAGE_DETAILS);
    CClubDatabase* pNext = rowClub(1);
    const auto idManager = pNext->m_wManagerId;
    pNext->m_wManagerId = 0;
    pPopup->OnClicked(CPopupClubDetails::ID_NEXT);
    EXPECT_EQ(text(CPopupClubDetails::ID_MANAGER), "-");
    pNext->m_wManagerId = idManager;
    pPopup->OnClicked(CGamePopup::kOkButtonID);
    EXPECT_FALSE(pPopup->IsOnStack());
}

TEST_F(NewGameScreenTest, AQuickStartBeginsWithTheManagersOutOfWorkInTheLanguagesCountry)
{
    g_pNavigationBar->OnClicked(CGameNavigationBar::ID_UNEMPLOYED_START);
    auto* pPopup = dynamic_cast<CPopupSelectPlayer*>(CXPopup::TopPopup());
    ASSERT_NE(pPopup, nullptr);
    auto* pEdit = dynamic_cast<CXEdit*>(pPopup->FindControl(CPopupSelectPlayer::ID_FIRST_NAME_EDIT + 2));
    ASSERT_NE(pEdit, nullptr);
    pEdit->SetText("Ada Lovell");
    pPopup->OnEditChange(pEdit);
    pPopup->OnClicked(884);
    Frame();
    EXPECT_EQ(g_pCurrentClient, GetScreenObject(SCREEN_FOOTBALL_TODAY));
    const CDatabaseHandler* pDatabase = m_game.GetDatabase();
    EXPECT_EQ(pDatabase->GetGameDate(), CDate(1999, 7, 1));
    ASSERT_EQ(pDatabase->GetHumanCount(), 1);
    const CSaveGame* pHuman = pDatabase->GetHumanSlot(0);
    ASSERT_NE(pHuman, nullptr);
    EXPECT_EQ(pHuman->GetClub(), nullptr);
    const CCountryDatabase* pFirst = nullptr;
    for (const CCountryDatabase* pCountry : pDatabase->GetCountries().Items<CCountryDatabase>()) {
        pFirst = pCountry;
        break;
    }
    EXPECT_EQ(pHuman->GetCountry(), pFirst) << "English is the first country's language";
}

TEST(StartupLanguage, TheLanguagesCountryIsFoundInItsName)
{
    const std::pair<const char*, int> cases[] = {
        {"English", 0}, {"french", 3}, {"GERMAN", 4}, {"Italian", 2}, {"Spanish", 5}, {"Gaelic", 0}, {"", 0},
        {"GERMAN-FRENCH", 3},
    };
    for (const auto& [pszLanguage, nIndex] : cases)
        EXPECT_EQ(CClientStartup::LanguageCountryIndex(pszLanguage), nIndex) << pszLanguage;
}

}  // namespace
