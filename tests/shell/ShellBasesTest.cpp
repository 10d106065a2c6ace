// The game's screen and popup bases, the screen names and the navigation
// bar's refusals, on a started game object with its bars.
#include "LogCapture.h"

#include "shell/CGame.h"
#include "shell/CGameClient.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/CScreenRegistry.h"
#include "shell/ScreenIDs.h"
#include "shell/CTableText.h"

#include "common/ShellServices.h"

#include "platform/DeviceContext.h"
#include "platform/Messages.h"
#include "platform/Window.h"
#include "xframework/CXButton.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXStatic.h"
#include "xframework/CXSurface.h"
#include "xframework/CXTreeView.h"

#include "StartedGame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

// A start screen of the shell alone: the bars in their start-up modes.
class BareStartScreen : public CGameClient {
public:
    BareStartScreen() { m_wScreenID = 1; }
    bool OnInitDialog() override
    {
        g_pNavigationBar->SetMode(0);
        g_pTitlebar->SetMode(0);
        return CGameClient::OnInitDialog();
    }
};

class ShellBases : public StartedGame {
protected:
    ShellBases() : StartedGame(m_start) {}

    BareStartScreen m_start;
};

class PlainPopup : public CGamePopup {
public:
    PlainPopup(uint16_t wID)
    {
        m_wScreenID = wID;
        SetClientRect(200, 150, 300, 200);
    }
};

TEST(ScreenNames, EveryIdHasItsName)
{
    const std::pair<int, const char*> cases[] = {
        {0, "Client Footballtoday"},       {41, "Client Archives Endofseason"}, {58, "Pop Loadgame"},
        {84, "Client Titlebar"},           {85, "Client Navigationbar"},        {88, "Pop Select Penalty Takers,"},
        {94, "Not Valid Screen"},          {98, "Not Valid Screen"},            {99, "Client General"},
        {100, "Error - MAX_SCREENID"},     {-1, "Error - MAX_SCREENID"},        {65535, "Error - MAX_SCREENID"},
    };
    for (const auto& [nID, pszName] : cases)
        EXPECT_STREQ(GetScreenName(nID), pszName) << nID;
    EXPECT_EQ(GetScreenObject(1), nullptr);
    EXPECT_EQ(GetScreenObject(42), nullptr);
    for (int nID : {0, 2, 41, 93})
        EXPECT_EQ(GetScreenObject(nID)->m_wScreenID, nID);
}

TEST(ScreenNames, FunctionKeysOpenTheirScreens)
{
    const std::pair<uint32_t, int> cases[] = {{plat::VK_F1, -1},     {plat::VK_F1 + 1, 0}, {plat::VK_F1 + 2, 4},
                                              {plat::VK_F1 + 5, 21}, {plat::VK_F10, 38},   {plat::VK_F1 + 10, -1},
                                              {plat::VK_F12, -1}};
    for (const auto& [key, nScreen] : cases)
        EXPECT_EQ(GetFunctionKeyScreen(key), nScreen) << key;
}

TEST_F(ShellBases, TheStartScreenShowsTheBarsInTheirStartUpModes)
{
    EXPECT_EQ(g_pNavigationBar->GetMode(), 0);
    EXPECT_EQ(g_pTitlebar->GetMode(), 0);
    // Without a saved game to continue the menu's continue is out of use.
    const auto* pContinue = dynamic_cast<CXButton*>(g_pNavigationBar->FindControl(CGameNavigationBar::ID_CONTINUE_LAST_SAVE));
    ASSERT_NE(pContinue, nullptr);
    EXPECT_EQ(pContinue->m_bDisabled, 1);
    EXPECT_EQ(pContinue->m_bVisible, 0);
}

TEST_F(ShellBases, BottomButtonsRunRightToLeftAndAnEighthStartsAgain)
{
    LogCapture log;
    CGameClient* pScreen = GetScreenObject(SCREEN_CLUB_GENERAL);
    pScreen->OnInitDialog();
    for (int nExpected : {548, 458, 368, 278, 188, 98, 8})
        EXPECT_EQ(pScreen->AddBottomButton(884)->m_nLeft, nExpected);
    EXPECT_FALSE(log.Contains("Too Many Bottom Buttons"));
    EXPECT_EQ(pScreen->AddBottomButton(884)->m_nLeft, 548);
    EXPECT_TRUE(log.Contains("[CGameClient::AddBottomButton] Too Many Bottom Buttons Added!"));
    EXPECT_TRUE(log.Contains("Entering Client Club General"));
    pScreen->OnDestroy();
    EXPECT_TRUE(log.Contains("Leaving Client Club General"));
}

TEST_F(ShellBases, PopupKeysAndButtons)
{
    LogCapture log;
    PlainPopup popup(SCREEN_HELP_POPUP);
    ASSERT_TRUE(popup.Open());
    EXPECT_TRUE(log.Contains("Entering Popup Pop Help"));
    for (int nExpected : {8, 98, 188}) {
        CXButton* pButton = popup.AddButton(1000);
        EXPECT_EQ(pButton->m_nLeft, nExpected);
        EXPECT_EQ(pButton->m_nTop, popup.Height() - 32);
    }
    // F1 in the help popup opens nothing over it.
    popup.OnKeyUp(plat::VK_F1, 1, 0);
    EXPECT_EQ(CXPopup::TopPopup(), &popup);
    // Return without an OK button closes it.
    popup.OnKeyUp(plat::VK_RETURN, 1, 0);
    EXPECT_FALSE(popup.IsOnStack());

    PlainPopup withOk(SCREEN_OPTIONS_POPUP);
    ASSERT_TRUE(withOk.Open());
    withOk.AddButton(CGamePopup::kOkButtonID)->Show(true, false);
    withOk.OnKeyUp(plat::VK_RETURN, 1, 0);
    EXPECT_EQ(withOk.m_dwResultID, CGamePopup::kOkButtonID);
    withOk.OnKeyUp(plat::VK_ESCAPE, 1, 0);
    EXPECT_FALSE(withOk.IsOnStack());
}

TEST_F(ShellBases, TheNavigationBarRefusesScreensWithoutAMainObject)
{
    LogCapture log;
    g_pNavigationBar->OnClientChange(SCREEN_STARTUP, true);
    g_pNavigationBar->OnClientChange(SCREEN_LOAD_GAME_POPUP, true);
    EXPECT_EQ(g_pNextClient, nullptr);
    EXPECT_TRUE(log.Contains("CGameNavigationBar::OnClientChange - Unhandled Screen"));

    // Back and forward with nothing behind or ahead do nothing.
    g_pNavigationBar->OnClicked(CGameNavigationBar::ID_BACK);
    g_pNavigationBar->OnClicked(CGameNavigationBar::ID_FORWARD);
    EXPECT_EQ(g_pNextClient, nullptr);

    // A change is written into the history, and back returns to it.
    g_pNavigationBar->OnClientChange(SCREEN_FINANCE_GENERAL, false);
    ASSERT_EQ(g_pNextClient, GetScreenObject(SCREEN_FINANCE_GENERAL));
    m_game.Update();
    g_pNavigationBar->OnClientChange(SCREEN_GROUND_GENERAL, false);
    m_game.Update();
    EXPECT_EQ(g_pCurrentClient, GetScreenObject(SCREEN_GROUND_GENERAL));
    g_pNavigationBar->OnClicked(CGameNavigationBar::ID_BACK);
    EXPECT_EQ(g_pNextClient, GetScreenObject(SCREEN_FINANCE_GENERAL));
    m_game.Update();
    g_pNavigationBar->OnClicked(CGameNavigationBar::ID_FORWARD);
    EXPECT_EQ(g_pNextClient, GetScreenObject(SCREEN_GROUND_GENERAL));
    m_game.Update();
    // The same screen again changes nothing unless forced.
    g_pNavigationBar->OnClientChange(SCREEN_GROUND_GENERAL, false);
    EXPECT_EQ(g_pNextClient, nullptr);
    g_pCurrentClient->OnDestroy();
    g_pCurrentClient = &m_start;
}

}  // namespace

namespace {

TEST_F(ShellBases, KitsTakeTheirColoursAndACellBeyondTheStripDrawsTheFirst)
{
    auto draw = [](int nCell, COLORREF crFirst, COLORREF crSecond) {
        auto pSurface = std::make_unique<CXSurface>();
        EXPECT_NE(pSurface->Create(24, 24, true, false), nullptr);
        pSurface->Fill(0);
        CGameTitlebar::DrawIcon(pSurface.get(), nCell, 0, 0, crFirst, crSecond, true);
        std::vector<uint16_t> pixels;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x)
                pixels.push_back(pSurface->m_pSurface->pixel(x, y));
        return pixels;
    };
    const auto blue = draw(0, 0xC04000, 0x0000FF);
    EXPECT_EQ(draw(7, 0xC04000, 0x0000FF), blue);
    EXPECT_EQ(draw(-1, 0xC04000, 0x0000FF), blue);
    // The shirt's body takes the first colour, its sleeves the second; the
    // ground around it stays as it was.
    const auto yellow = draw(0, 0x00FFFF, 0x0000FF);
    const size_t nBody = 15 * 24 + 12, nSleeve = 6 * 24 + 3, nCorner = 23 * 24 + 0;
    EXPECT_NE(yellow[nBody], blue[nBody]);
    EXPECT_EQ(yellow[nSleeve], blue[nSleeve]);
    EXPECT_NE(draw(0, 0x00FFFF, 0x00A000)[nSleeve], yellow[nSleeve]);
    EXPECT_EQ(blue[nCorner], 0);
}

TEST_F(ShellBases, TheTreesTopRowsShowTheirFunctionKeys)
{
    const auto* pTree = dynamic_cast<CXTreeView*>(g_pNavigationBar->FindControl(CGameNavigationBar::ID_TREE));
    ASSERT_NE(pTree, nullptr);
    int nTopRow = 0;
    for (int i = 0; i < pTree->GetCount(); ++i) {
        const CXTreeView::Item* pItem = pTree->GetItemAt(i);
        if (pItem->byLevel != 0) {
            EXPECT_TRUE(pItem->Images.empty()) << pItem->szText;
            continue;
        }
        // F2 is the first cell of the key strip, F3 the second, and so on.
        ASSERT_EQ(pItem->Images.size(), 1u) << pItem->szText;
        ASSERT_NE(pItem->Images[0].pImage, nullptr);
        EXPECT_EQ(pItem->Images[0].pImage->m_nFirstX, 14 * nTopRow) << pItem->szText;
        EXPECT_EQ(pItem->Images[0].pImage->m_nFrameWidth, 14);
        EXPECT_EQ(pItem->Images[0].wX, 0x80);
        ++nTopRow;
    }
    EXPECT_EQ(nTopRow, 9);
}

TEST_F(ShellBases, TheTreeShowsEveryScreenOfTheGroupItOpens)
{
    auto* pTree = dynamic_cast<CXTreeView*>(g_pNavigationBar->FindControl(CGameNavigationBar::ID_TREE));
    ASSERT_NE(pTree, nullptr);
    // The screens outlive the test: the screen history keeps pointers to them.
    static BareStartScreen s_table, s_endOfSeason;
    s_table.m_wScreenID = SCREEN_TABLES_LEAGUE;
    s_endOfSeason.m_wScreenID = SCREEN_LAST_MAIN;
    auto shownTexts = [&] {
        std::vector<std::string> texts;
        for (int nID : pTree->RowIDs())
            texts.emplace_back(pTree->FindItem(nID)->szText);
        return texts;
    };
    // The largest group open, then the last group's last screen, as the
    // continue that turns the season does.
    g_pNavigationBar->SetNextClient(&s_table, 0);
    g_pNavigationBar->SetNextClient(&s_endOfSeason, 0);
    const std::vector<std::string> shown = shownTexts();
    for (const char* pszScreen : {"Mail", "Newspaper", "Scrapbook", "End of Season"})
        EXPECT_NE(std::find(shown.begin(), shown.end(), pszScreen), shown.end()) << pszScreen;
    EXPECT_EQ(std::find(shown.begin(), shown.end(), "League Table"), shown.end()) << "the earlier group stays open";
    EXPECT_EQ(shown.front(), "Football Today");
    g_pNextClient = &m_start;
}

// The width of a text in a font, as the controls measure it.
int TextWidth(plat::Font* pFont, const char* pszText)
{
    return pFont && pszText ? pFont->textWidth(pszText, static_cast<int>(std::strlen(pszText))) : -1;
}

TEST_F(ShellBases, TheBarsTextsFitTheirPlaces)
{
    using Nav = CGameNavigationBar;
    for (uint32_t dwID : {Nav::ID_QUIT, Nav::ID_SAVE, Nav::ID_COMPARE, Nav::ID_OPTIONS, Nav::ID_PRINT, Nav::ID_HELP,
                          Nav::ID_SECOND_QUESTION, Nav::ID_BACK, Nav::ID_FORWARD}) {
        const auto* pButton = dynamic_cast<const CXButton*>(g_pNavigationBar->FindControl(dwID));
        ASSERT_NE(pButton, nullptr) << dwID;
        ASSERT_TRUE(pButton->Caption()[0]) << dwID;
        EXPECT_LE(TextWidth(pButton->m_hFont, pButton->Caption()), pButton->Width() - 4) << pButton->Caption();
    }
    // Every progress text in the read-out under the lights.
    const auto* pText = dynamic_cast<const CXStatic*>(g_pNavigationBar->FindControl(Nav::ID_PROGRESS_TEXT));
    ASSERT_NE(pText, nullptr);
    int nCount = 0;
    const char* const* ppszTexts = GetTableTextSet(140, &nCount);
    ASSERT_GT(nCount, 0);
    for (int i = 0; i < nCount; ++i) {
        if (ppszTexts[i] && ppszTexts[i][0]) {
            EXPECT_LE(TextWidth(pText->m_hFont, ppszTexts[i]), pText->Width() - 2 * pText->m_nLeftMargin) << ppszTexts[i];
        }
    }
    // The tree's top rows end before their function keys' icons, the rows
    // under them inside the tree.
    const auto* pTree = dynamic_cast<CXTreeView*>(g_pNavigationBar->FindControl(Nav::ID_TREE));
    ASSERT_NE(pTree, nullptr);
    for (int i = 0; i < pTree->GetCount(); ++i) {
        const CXTreeView::Item* pItem = pTree->GetItemAt(i);
        const int nRight = pTree->TextLeft(pItem) + TextWidth(pItem->hFont ? pItem->hFont : pTree->m_hFont, pItem->szText);
        EXPECT_LT(nRight, pItem->Images.empty() ? pTree->Width() - 2 : pItem->Images[0].wX - 1) << pItem->szText;
    }
}

TEST_F(ShellBases, TheProgressReadOutDrawsOnlyOnAChange)
{
    CGameNavigationBar& bar = *g_pNavigationBar;
    auto pixel = [&](int x, int y) { return bar.m_pDrawingSurface->m_pSurface->pixel(x, y); };
    ASSERT_TRUE(bar.m_pDrawingSurface && bar.m_pDrawingSurface->m_pSurface);

    const uint16_t wBeforeLeft = pixel(24, 109);
    EXPECT_FALSE(bar.ShowProgress("Loading", 40, false)) << "not shown";
    EXPECT_TRUE(bar.ShowProgress("Loading", 0, true));
    const uint16_t wEmptyLeft = pixel(24, 109), wEmptyRight = pixel(136, 109);
    EXPECT_TRUE(bar.ShowProgress("Loading", 40, true));
    EXPECT_EQ(bar.GetLastProgress(), 40);
    EXPECT_EQ(bar.GetMessage(), "Loading");
    // The bar covers 40 per cent of its 118 pixels from the left.
    EXPECT_NE(pixel(24, 109), wEmptyLeft);
    EXPECT_EQ(pixel(136, 109), wEmptyRight);

    EXPECT_FALSE(bar.ShowProgress("Loading", 40.3, true)) << "the same rounded share and text";
    EXPECT_TRUE(bar.ShowProgress("Loading", 40.6, true));
    EXPECT_TRUE(bar.ShowProgress("Saving", 40.6, true));
    EXPECT_EQ(bar.GetMessage(), "Saving");
    EXPECT_TRUE(bar.ShowProgress("Saving", 250, true));
    EXPECT_EQ(bar.GetLastProgress(), 100);
    EXPECT_NE(pixel(136, 109), wEmptyRight);
    EXPECT_TRUE(bar.ShowProgress("Saving", std::nan(""), true));
    EXPECT_EQ(bar.GetLastProgress(), 0);

    // The game's read-out takes its text from table set 140 by the low byte.
    m_game.ShowProgress(50, 256 + 17, true, false);
    ASSERT_NE(GetTableText(140, 17), nullptr);
    EXPECT_EQ(bar.GetMessage(), GetTableText(140, 17));
    EXPECT_EQ(bar.GetLastProgress(), 50);
    // The world's long steps report through the same read-out.
    ProgressCallback(75, 17, 1, 0);
    EXPECT_EQ(bar.GetLastProgress(), 75);
    // The step's last report takes the read-out away, bar and text.
    EXPECT_FALSE(bar.ShowProgress("", 100, false));
    EXPECT_EQ(bar.GetLastProgress(), -1);
    EXPECT_EQ(bar.GetMessage(), "");
    EXPECT_EQ(pixel(24, 109), wBeforeLeft);
}

}  // namespace
