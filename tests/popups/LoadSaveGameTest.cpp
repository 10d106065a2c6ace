// The load and save popup over a small played world in a private working
// folder with private user folders: what it lists and shows, a save and a
// load through it, a refused save, the names it refuses, deleting after the
// question, and the navigation bar's commands that open it and the
// message box.
#include "PopupGame.h"

#include "../shell/GameInPlay.h"

#include "popups/CPopupLoadSaveGame.h"
#include "popups/CPopupMessageBox.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CScreenRegistry.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenIDs.h"

#include "common/ShellServices.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "platform/Messages.h"
#include "platform/Surface.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXEdit.h"
#include "xframework/CXListBox.h"
#include "xframework/CXStatic.h"
#include "xframework/CXSurface.h"

#include <gtest/gtest.h>

#include <array>

#include <cstring>
#include <vector>

namespace {

using namespace popups_test;
using namespace shell_test;

class LoadSaveGame : public PopupGame {
protected:
    void SetUp() override
    {
        PopupGame::SetUp();
        // The game plays in the private folder, its saves in its data folder.
        fs::current_path(m_folder.Path() / "play");
        setenv("XDG_DATA_HOME", (m_folder.Path() / "data").c_str(), 1);
        // One world at a time: the started game's empty one goes first.
        m_game.SetDatabase(nullptr);
        auto handler = StartGameInPlay(9);
        ASSERT_NE(handler, nullptr) << "the generated starting world did not load";
        m_game.SetDatabase(std::move(handler));
        // The game's own popups come back afterwards for the tests that follow.
        for (size_t i = 0; i < kOwnIDs.size(); ++i)
            m_apBefore[i] = GetPopupObject(kOwnIDs[i]);
        RegisterPopup(SCREEN_LOAD_GAME_POPUP, &m_popup);
        RegisterPopup(SCREEN_SAVE_GAME_POPUP, &m_popup);
        RegisterPopup(CPopupMessageBox::kScreenID, &m_box);
    }
    void TearDown() override
    {
        PopupGame::TearDown();
        for (size_t i = 0; i < kOwnIDs.size(); ++i)
            RegisterPopup(kOwnIDs[i], m_apBefore[i]);
    }
    static constexpr std::array<int, 3> kOwnIDs = {SCREEN_LOAD_GAME_POPUP, SCREEN_SAVE_GAME_POPUP,
                                                   CPopupMessageBox::kScreenID};
    std::array<CXPopup*, 3> m_apBefore{};
    CDatabaseHandler& World() { return *m_game.GetDatabase(); }
    void PlayDays(int nDays)
    {
        for (int i = 0; i < nDays; ++i) {
            World().ProcessDay();
            World().DoMatchDay(World().GetGameDate());
        }
    }
    CXEdit& NameEdit() { return *static_cast<CXEdit*>(m_popup.FindControl(CPopupLoadSaveGame::ID_NAME)); }
    CXListBox& List() { return *static_cast<CXListBox*>(m_popup.FindControl(CPopupLoadSaveGame::ID_LIST)); }
    bool IsInUse(uint32_t dwID)
    {
        const auto* pButton = dynamic_cast<const CXButton*>(m_popup.FindControl(dwID));
        return pButton && !pButton->m_bDisabled;
    }
    std::string Label(uint32_t dwID)
    {
        const auto* pLabel = dynamic_cast<const CXStatic*>(m_popup.FindControl(dwID));
        return pLabel ? pLabel->Text() : "";
    }
    void Type(const char* pszText)
    {
        for (const char* p = pszText; *p; ++p)
            NameEdit().OnChar(static_cast<unsigned char>(*p), 1, 0);
    }
    // Saves the running game under the name through the save popup.
    void SaveThroughPopup(const char* pszName)
    {
        ASSERT_TRUE(m_popup.Show(false));
        NameEdit().SetText("%s", pszName);
        m_popup.OnClicked(CGamePopup::kOkButtonID);
    }

    GameFolder m_folder;
    CPopupMessageBox m_box;
    CPopupLoadSaveGame m_popup;
};

TEST_F(LoadSaveGame, SavesListsAndLoadsAPlayedWorld)
{
    // An empty folder: nothing to list, delete or load.
    ASSERT_TRUE(m_popup.Show(true));
    EXPECT_EQ(m_popup.m_wScreenID, SCREEN_LOAD_GAME_POPUP);
    EXPECT_EQ(List().GetCount(), 0);
    EXPECT_FALSE(IsInUse(CPopupLoadSaveGame::ID_DELETE));
    EXPECT_FALSE(IsInUse(CGamePopup::kOkButtonID));
    Shoot("load_empty.png");
    m_popup.Close();

    const CDate savedDate = World().GetGameDate();
    const std::string club = World().GetCurrentSaveGame()->GetClub()->GetName();
    SaveThroughPopup("Spring");
    EXPECT_FALSE(m_popup.IsOnStack());
    ASSERT_TRUE(fs::exists(m_folder.Saves() / "!Spring.sav"));
    EXPECT_EQ(CGame::GetUsableLastSaveGame(), "!Spring");
    // Named with a full stop, the game is saved under the part before it.
    SaveThroughPopup("Autumn.old");
    EXPECT_TRUE(fs::exists(m_folder.Saves() / "!Autumn.sav"));
    EXPECT_FALSE(fs::exists(m_folder.Saves() / "!Autumn.old.sav"));

    PlayDays(1);
    ASSERT_NE(World().GetGameDate().GetValue(), savedDate.GetValue());
    ASSERT_TRUE(m_popup.Show(true));
    ASSERT_EQ(List().GetCount(), 2);
    char szCell[LISTBOX_ROW_TEXT_SIZE];
    List().GetColumnText(0, 1, szCell);
    EXPECT_STREQ(szCell, "Autumn");
    List().GetColumnText(1, 1, szCell);
    EXPECT_STREQ(szCell, "Spring");
    // The first row is taken, and its summary shown.
    EXPECT_STREQ(NameEdit().Text(), "Autumn");
    List().OnKeyDown(plat::VK_DOWN, 1, 0);
    EXPECT_STREQ(NameEdit().Text(), "Spring");
    ASSERT_EQ(m_popup.GetSummaries().size(), 1u);
    EXPECT_EQ(m_popup.GetSummaries()[0].manager, "A. Lovell");
    EXPECT_EQ(Label(CPopupLoadSaveGame::ID_CLUB), club);
    EXPECT_EQ(Label(CPopupLoadSaveGame::ID_GAME_DATE),
              FormatDate(savedDate.GetDay(), savedDate.GetMonth(), savedDate.GetYear()));
    EXPECT_TRUE(IsInUse(CGamePopup::kOkButtonID));
    Shoot("load_list.png");

    // The load gives back the world as it was saved, telling its progress
    // while the set unpacks; the read-out goes when it is done.
    ProgressCallback(60, 17, 1, 0);
    Shoot("load_progress.png");
    double dLastUnpacked = -1;
    SetProgressHandler([&dLastUnpacked](double dDone, int nStage, int, int) {
        if (nStage == 17)
            dLastUnpacked = dDone;
        if (auto* pGame = dynamic_cast<CGame*>(g_pGame))
            pGame->ShowProgress(dDone, nStage, true, false);
    });
    m_popup.OnKeyUp(plat::VK_RETURN, 1, 0);
    EXPECT_DOUBLE_EQ(dLastUnpacked, 100.0);
    EXPECT_EQ(g_pNavigationBar->GetLastProgress(), -1);
    EXPECT_EQ(g_pNavigationBar->GetMessage(), "");
    EXPECT_FALSE(m_popup.IsOnStack());
    EXPECT_EQ(World().GetGameDate().GetValue(), savedDate.GetValue());
    EXPECT_EQ(World().GetCurrentSaveGame()->GetClub()->GetName(), club);
    EXPECT_EQ(CXPopup::TopPopup(), nullptr) << "a load that worked says nothing";
}

TEST_F(LoadSaveGame, AnotherGamesSummaryWipesTheValuesShownBefore)
{
    SaveThroughPopup("Spring");
    PlayDays(40);
    SaveThroughPopup("Autumn");
    ASSERT_TRUE(m_popup.Show(true));
    ASSERT_EQ(List().GetCount(), 2);
    // The pixels of the values that differ between the two games.
    auto values = [this] {
        std::vector<uint16_t> pixels;
        for (uint32_t dwID : {CPopupLoadSaveGame::ID_BALANCE, CPopupLoadSaveGame::ID_GAME_DATE}) {
            const CXControl* p = m_popup.FindControl(dwID);
            const plat::Surface* pSurface = p && p->m_pDrawingSurface ? p->m_pDrawingSurface->m_pSurface : nullptr;
            if (!pSurface)
                return std::vector<uint16_t>{};
            for (int y = p->m_nTop; y < p->m_nTop + p->Height(); ++y)
                for (int x = p->m_nLeft; x < p->m_nLeft + p->Width(); ++x)
                    pixels.push_back(pSurface->pixel(x, y));
        }
        return pixels;
    };
    const std::string firstDate = Label(CPopupLoadSaveGame::ID_GAME_DATE);
    const std::vector<uint16_t> first = values();
    ASSERT_FALSE(first.empty());
    List().OnKeyDown(plat::VK_DOWN, 1, 0);
    ASSERT_NE(Label(CPopupLoadSaveGame::ID_GAME_DATE), firstDate);
    List().OnKeyDown(plat::VK_UP, 1, 0);
    ASSERT_EQ(Label(CPopupLoadSaveGame::ID_GAME_DATE), firstDate);
    EXPECT_EQ(values(), first) << "the other game's values are left under these";
}

TEST_F(LoadSaveGame, ARefusedSaveSaysSoAndKeepsTheOldSet)
{
    SaveThroughPopup("Kept");
    ASSERT_TRUE(fs::exists(m_folder.Saves() / "!Kept.sav"));
    const auto setBefore = FolderFiles(m_folder.Saves());
    PlayDays(3);
    {
        ReadOnlyFolder readOnly(m_folder.Path(), m_folder.Saves());
        SaveThroughPopup("Kept");
        // The name exists: the save asks first.
        ASSERT_EQ(CXPopup::TopPopup(), &m_box);
        EXPECT_EQ(m_box.GetTextItem(), CPopupLoadSaveGame::kOverwriteQuestion);
        Shoot("save_overwrite.png");
        m_box.OnKeyUp(plat::VK_RETURN, 1, 0);
        // The refusal is told in the message box.
        ASSERT_EQ(CXPopup::TopPopup(), &m_box);
        EXPECT_EQ(m_box.GetText().rfind("The game was not saved: ", 0), 0u) << m_box.GetText();
        EXPECT_NE(m_box.GetText().find("!Kept"), std::string::npos) << "the reason names the file";
        EXPECT_EQ(m_box.GetText().find('/'), std::string::npos) << "a path cannot wrap in the box";
        Shoot("save_refused.png");
        m_box.OnKeyUp(plat::VK_RETURN, 1, 0);
    }
    EXPECT_EQ(CXPopup::TopPopup(), nullptr);
    EXPECT_EQ(FolderFiles(m_folder.Saves()), setBefore);
    EXPECT_EQ(CGame::GetUsableLastSaveGame(), "!Kept");
}

TEST_F(LoadSaveGame, ARefusedLoadSaysSoAndKeepsTheRunningGame)
{
    SaveThroughPopup("Broken");
    ASSERT_TRUE(fs::remove(m_folder.Saves() / "!Broken.chs"));
    PlayDays(1);
    const uint32_t dwToday = World().GetGameDate().GetValue();
    ASSERT_TRUE(m_popup.Show(true));
    ASSERT_STREQ(NameEdit().Text(), "Broken");
    m_popup.OnClicked(CGamePopup::kOkButtonID);
    ASSERT_EQ(CXPopup::TopPopup(), &m_box);
    EXPECT_EQ(m_box.GetText().rfind("The game was not loaded: ", 0), 0u) << m_box.GetText();
    m_box.OnKeyUp(plat::VK_RETURN, 1, 0);
    EXPECT_EQ(CXPopup::TopPopup(), nullptr);
    EXPECT_EQ(World().GetGameDate().GetValue(), dwToday);
    EXPECT_NE(World().GetCurrentSaveGame(), nullptr);
}

TEST_F(LoadSaveGame, RefusesNamesThatAreEmptyTooLongOrLeaveTheFolder)
{
    ASSERT_TRUE(m_popup.Show(false));
    EXPECT_EQ(m_popup.m_wScreenID, SCREEN_SAVE_GAME_POPUP);
    EXPECT_FALSE(IsInUse(CGamePopup::kOkButtonID));
    m_popup.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_TRUE(m_popup.IsOnStack());
    Type("ElevenChars");
    EXPECT_STREQ(NameEdit().Text(), "ElevenChar");
    EXPECT_TRUE(IsInUse(CGamePopup::kOkButtonID));
    Shoot("save_named.png");
    for (const char* pszName : {"", ".hidden", "a/b", "..", "a\\b"}) {
        NameEdit().SetText("%s", pszName);
        EXPECT_FALSE(IsInUse(CGamePopup::kOkButtonID)) << pszName;
        m_popup.OnClicked(CGamePopup::kOkButtonID);
        EXPECT_TRUE(m_popup.IsOnStack()) << pszName;
    }
    m_popup.Close();
    EXPECT_TRUE(!fs::exists(m_folder.Saves()) || FolderFiles(m_folder.Saves()).empty());
}

// The save popup offers the first saved game's name chosen: typing a name
// replaces it, and a caret key keeps it to be added to.
TEST_F(LoadSaveGame, TheOfferedNameGivesWayToTheNameTyped)
{
    SaveThroughPopup("match");
    ASSERT_TRUE(m_popup.Show(false));
    EXPECT_STREQ(NameEdit().Text(), "match");
    EXPECT_TRUE(NameEdit().IsAllChosen());
    EXPECT_EQ(m_popup.GetSummaries().size(), 1u) << "the offered game's summary";
    Type("late1");
    EXPECT_STREQ(NameEdit().Text(), "late1");
    EXPECT_TRUE(m_popup.GetSummaries().empty()) << "no game of the new name";
    EXPECT_TRUE(IsInUse(CGamePopup::kOkButtonID));
    Shoot("save_name_replaced.png");
    m_popup.Close();

    ASSERT_TRUE(m_popup.Show(false));
    NameEdit().OnKeyDown(plat::VK_END, 1, 0);
    Type("2");
    EXPECT_STREQ(NameEdit().Text(), "match2");
    m_popup.Close();
}

TEST_F(LoadSaveGame, DeletingAsksFirstAndTheLastGoneLeavesNothingToLoad)
{
    SaveThroughPopup("Old");
    ASSERT_TRUE(m_popup.Show(true));
    ASSERT_STREQ(NameEdit().Text(), "Old");
    m_popup.OnClicked(CPopupLoadSaveGame::ID_DELETE);
    ASSERT_EQ(CXPopup::TopPopup(), &m_box);
    EXPECT_EQ(m_box.GetTextItem(), CPopupLoadSaveGame::kDeleteQuestion);
    Shoot("load_delete.png");
    m_box.OnKeyUp(plat::VK_ESCAPE, 1, 0);
    EXPECT_TRUE(fs::exists(m_folder.Saves() / "!Old.sav"));

    m_popup.OnClicked(CPopupLoadSaveGame::ID_DELETE);
    m_box.OnKeyUp(plat::VK_RETURN, 1, 0);
    EXPECT_TRUE(FolderFiles(m_folder.Saves()).empty());
    // Nothing is left to load: the popup stays, with nothing in use.
    EXPECT_EQ(CXPopup::TopPopup(), &m_popup);
    EXPECT_EQ(List().GetCount(), 0);
    EXPECT_FALSE(IsInUse(CPopupLoadSaveGame::ID_DELETE));
    EXPECT_FALSE(IsInUse(CGamePopup::kOkButtonID));
    // Deleting a name that is not saved asks nothing.
    NameEdit().SetText("Missing");
    m_popup.OnClicked(CPopupLoadSaveGame::ID_DELETE);
    EXPECT_EQ(CXPopup::TopPopup(), &m_popup);
}

TEST_F(LoadSaveGame, TheNavigationBarsCommandsOpenThePopupsAndQuestions)
{
    using Nav = CGameNavigationBar;
    auto inUse = [](uint32_t dwID) {
        const auto* pButton = dynamic_cast<const CXButton*>(g_pNavigationBar->FindControl(dwID));
        return pButton && !pButton->m_bDisabled;
    };
    // At the start: no saved game to load yet.
    g_pNavigationBar->SetMode(1);
    g_pNavigationBar->SetMode(0);
    EXPECT_FALSE(inUse(Nav::ID_LOAD_GAME));
    SaveThroughPopup("Start");
    g_pNavigationBar->SetMode(1);
    g_pNavigationBar->SetMode(0);
    EXPECT_TRUE(inUse(Nav::ID_LOAD_GAME));
    g_pNavigationBar->OnClicked(Nav::ID_LOAD_GAME);
    ASSERT_EQ(CXPopup::TopPopup(), &m_popup);
    EXPECT_TRUE(m_popup.IsLoad());
    m_popup.OnKeyUp(plat::VK_ESCAPE, 1, 0);

    g_pNavigationBar->SetMode(2);
    for (uint32_t dwID : {Nav::ID_SAVE, Nav::ID_QUIT, Nav::ID_SECOND_QUESTION, Nav::ID_PRINT})
        EXPECT_TRUE(inUse(dwID)) << dwID;
    g_pNavigationBar->OnClicked(Nav::ID_SAVE);
    ASSERT_EQ(CXPopup::TopPopup(), &m_popup);
    EXPECT_FALSE(m_popup.IsLoad());
    Shoot("save_from_bar.png");
    m_popup.OnKeyUp(plat::VK_ESCAPE, 1, 0);
    const std::pair<uint32_t, int> questions[] = {{Nav::ID_QUIT, 38}, {Nav::ID_SECOND_QUESTION, 1}, {Nav::ID_PRINT, 2}};
    for (const auto& [dwID, nItem] : questions) {
        g_pNavigationBar->OnClicked(dwID);
        ASSERT_EQ(CXPopup::TopPopup(), &m_box) << dwID;
        EXPECT_EQ(m_box.GetTextItem(), nItem);
        EXPECT_EQ(m_box.GetMode(), CGameMessageBox::MODE_OK_CANCEL);
        if (dwID == Nav::ID_SECOND_QUESTION)
            Shoot("quit_question.png");
        m_box.OnKeyUp(plat::VK_ESCAPE, 1, 0);
    }
    // Without their popups the commands are out of use.
    for (int nID : {int(SCREEN_LOAD_GAME_POPUP), int(SCREEN_SAVE_GAME_POPUP), int(CPopupMessageBox::kScreenID)})
        RegisterPopup(nID, nullptr);
    g_pNavigationBar->SetMode(1);
    g_pNavigationBar->SetMode(2);
    for (uint32_t dwID : {Nav::ID_SAVE, Nav::ID_QUIT, Nav::ID_SECOND_QUESTION})
        EXPECT_FALSE(inUse(dwID)) << dwID;
}

}  // namespace
