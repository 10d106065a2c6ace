// The team and player match orders, opened from team selection with the
// mouse as a person opens them: sliders dragged, options ticked, OK into the
// human's record (which a saved and loaded game keeps), Cancel and Reset
// leaving it alone.
#include "ScreenInPlay.h"

#include "popups/CPopupPlayerMatchOrders.h"
#include "popups/CPopupTeamMatchOrders.h"
#include "screens/CClientTeamSelection.h"
#include "database/CDivisionDatabase.h"
#include "season/CClub.h"
#include "season/MatchRecords.h"
#include "shell/ScreenIDs.h"
#include "shell/WinMain.h"

#include "platform/Messages.h"
#include "xframework/CXButton.h"
#include "xframework/CXListBox.h"
#include "xframework/CXListBoxEx.h"
#include "xframework/CXSlider.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using Screen = CClientTeamSelection;
using TeamPopup = CPopupTeamMatchOrders;
using PlayerPopup = CPopupPlayerMatchOrders;

TEST(MatchOrderArithmetic, OffsetsAndSliderPlacesConvertBothWays)
{
    const struct {
        int nOffset, nSlider;
    } cases[] = {{-20, 0}, {20, 100}, {0, 50}, {1, 52}, {-1, 47}, {-19, 2}, {19, 97}, {-35, 0}, {60, 100}};
    for (const auto& c : cases)
        EXPECT_EQ(PlayerPopup::OffsetToSlider(c.nOffset), c.nSlider) << c.nOffset;
    // Every offset shown and stored again unmoved is the offset it was.
    for (int nOffset = -20; nOffset <= 20; ++nOffset)
        EXPECT_EQ(PlayerPopup::SliderToOffset(PlayerPopup::OffsetToSlider(nOffset)), nOffset);
    const struct {
        int nSlider, nOffset;
    } back[] = {{0, -20}, {100, 20}, {50, 0}, {51, 0}, {53, 1}, {-5, -20}, {140, 20}};
    for (const auto& b : back)
        EXPECT_EQ(PlayerPopup::SliderToOffset(b.nSlider), b.nOffset) << b.nSlider;
}

TEST(MatchOrderArithmetic, TheTeamMarkerIsCentredOnItsValueAlongTheTrack)
{
    // The track runs from x 90 for 136 pixels; a 9-pixel marker.
    const struct {
        int nValue, nX;
    } cases[] = {{0, 86}, {50, 154}, {100, 222}, {-10, 86}, {130, 222}};
    for (const auto& c : cases)
        EXPECT_EQ(PlayerPopup::TeamMarkerX(c.nValue, 9), c.nX) << c.nValue;
}

class MatchOrders : public ScreenInPlay {
protected:
    void SetUp() override
    {
        ScreenInPlay::SetUp();
        m_pScreen = dynamic_cast<Screen*>(GetScreenObject(SCREEN_TEAM_SELECTION));
        ASSERT_NE(m_pScreen, nullptr) << "the screen is not registered";
        OpenScreen(SCREEN_TEAM_SELECTION);
    }
    void TearDown() override
    {
        while (CXPopup* pTop = CXPopup::TopPopup())
            pTop->Close();
        ScreenInPlay::TearDown();
    }

    // The mouse, in frame coordinates, through the program's window procedure.
    void Send(uint32_t message, int x, int y)
    {
        MainWndProc(message, 0, plat::makeLParam(x, y));
        m_game.Update();
    }
    void Click(int x, int y)
    {
        Send(plat::WM_MOUSEMOVE, x, y);
        Send(plat::WM_LBUTTONDOWN, x, y);
        Send(plat::WM_LBUTTONUP, x, y);
    }
    // A click in the middle of a control of the screen or of a popup.
    void ClickControl(const CXClient& client, uint32_t dwID)
    {
        const CXControl* pControl = client.FindControl(dwID);
        ASSERT_NE(pControl, nullptr) << dwID;
        Click(client.m_nLeft + (pControl->m_nLeft + pControl->m_nRight) / 2,
              client.m_nTop + (pControl->m_nTop + pControl->m_nBottom) / 2);
    }
    // The slider's thumb pressed, moved by dx pixels and let go.
    void DragSlider(const CXClient& popup, const CXSlider* pSlider, int dx)
    {
        ASSERT_NE(pSlider, nullptr);
        const int x = popup.m_nLeft + pSlider->ThumbX(), y = popup.m_nTop + (pSlider->m_nTop + pSlider->m_nBottom) / 2;
        Send(plat::WM_MOUSEMOVE, x, y);
        Send(plat::WM_LBUTTONDOWN, x, y);
        Send(plat::WM_MOUSEMOVE, x + dx / 2, y);
        Send(plat::WM_MOUSEMOVE, x + dx, y);
        Send(plat::WM_LBUTTONUP, x + dx, y);
    }
    // A click on a row of a popup's list, in the column that starts at nColumnX.
    void ClickListRow(const CXClient& popup, const CXListBox* pList, int nRow, int nColumnX)
    {
        ASSERT_NE(pList, nullptr);
        Click(popup.m_nLeft + pList->m_nLeft + nColumnX + 6, popup.m_nTop + pList->m_nTop + 16 * nRow + 8);
    }
    TeamPopup& OpenTeamOrders()
    {
        ClickControl(*m_pScreen, Screen::ID_TEAM_ORDERS);
        TeamPopup* pPopup = m_pScreen->GetTeamOrdersPopup();
        EXPECT_TRUE(pPopup && pPopup->IsOnStack()) << "the button opened nothing";
        return *pPopup;
    }
    std::array<int, SAVEGAME_TEAM_ORDERS> TeamValues() const
    {
        std::array<int, SAVEGAME_TEAM_ORDERS> an{};
        for (int i = 0; i < SAVEGAME_TEAM_ORDERS; ++i)
            an[static_cast<size_t>(i)] = m_pHuman->GetTeamOrderValue(i);
        return an;
    }

    Screen* m_pScreen = nullptr;
};

TEST_F(MatchOrders, TeamOrdersSetOnTheSlidersGoIntoTheRecordOnOkAndStayThroughSaveAndLoad)
{
    ASSERT_EQ(TeamValues(), (std::array<int, 8>{50, 50, 50, 50, 50, 50, 50, 50}));
    ASSERT_FALSE(m_pHuman->GetTeamOrderOption(1));
    TeamPopup& popup = OpenTeamOrders();
    for (int i = 0; i < SAVEGAME_TEAM_ORDERS; ++i)
        EXPECT_EQ(popup.GetSlider(i)->GetValue(), 50) << i;

    // Urgency a quarter of the track up, shooting a quarter down; the
    // second option ticked in its tick column.
    DragSlider(popup, popup.GetSlider(0), 34);
    DragSlider(popup, popup.GetSlider(6), -34);
    const auto* pOptions = dynamic_cast<const CXListBox*>(popup.FindControl(TeamPopup::ID_OPTIONS));
    ClickListRow(popup, pOptions, 1, 150);
    EXPECT_TRUE(popup.GetWorkingOption(1));
    EXPECT_FALSE(popup.GetWorkingOption(0));
    Shoot("orders_team.png");
    EXPECT_EQ(m_pHuman->GetTeamOrderValue(0), 50) << "nothing is stored before OK";

    ClickControl(popup, TeamPopup::kOkButtonID);
    EXPECT_FALSE(popup.IsOnStack());
    EXPECT_EQ(TeamValues(), (std::array<int, 8>{75, 50, 50, 50, 50, 50, 25, 50}));
    EXPECT_FALSE(m_pHuman->GetTeamOrderOption(0));
    EXPECT_TRUE(m_pHuman->GetTeamOrderOption(1));

    ASSERT_TRUE(m_game.SaveGame("Orders")) << m_game.GetFileError();
    m_pHuman->SetTeamOrderValue(0, 50);
    m_pHuman->SetTeamOrderOption(1, false);
    ASSERT_TRUE(m_game.LoadGame("Orders", false)) << m_game.GetFileError();
    m_pHuman = Database()->GetCurrentSaveGame();
    ASSERT_NE(m_pHuman, nullptr);
    EXPECT_EQ(TeamValues(), (std::array<int, 8>{75, 50, 50, 50, 50, 50, 25, 50}));
    EXPECT_TRUE(m_pHuman->GetTeamOrderOption(1));
}

// The quick result engine plays the human's urgency and passing distance:
// its tables for carrying the ball and for where a pass goes follow them.
TEST_F(MatchOrders, TheQuickMatchPlaysTheUrgencyAndPassingDistanceSetOnTheSliders)
{
    CClubDatabase* pOther = nullptr;
    for (CClubDatabase* p : m_pClub->m_pDivision->m_lstClubsByTable.Items<CClubDatabase>())
        if (p != m_pClub)
            pOther = p;
    ASSERT_NE(pOther, nullptr);
    const auto sides = [&]() {
        MATCHPARAMETERS block;
        block.pHomeClub = m_pClub;
        block.pAwayClub = pOther;
        auto* pHome = new CClub(&block, 0);
        auto* pAway = new CClub(&block, 1);
        const std::array<const void*, 3> tables = {pHome->m_pActionTable, pHome->m_pReceiverTable,
                                                   pAway->m_pActionTable};
        delete pHome;
        delete pAway;
        return tables;
    };
    EXPECT_EQ(sides(), (std::array<const void*, 3>{g_abyQuickActionTables[0], g_abyQuickReceiverTables[0],
                                                   g_abyQuickActionTables[0]}));

    // Urgency well up (above 60), passing distance well down (below 30).
    TeamPopup& popup = OpenTeamOrders();
    DragSlider(popup, popup.GetSlider(0), 34);
    DragSlider(popup, popup.GetSlider(1), -34);
    ClickControl(popup, TeamPopup::kOkButtonID);
    ASSERT_EQ(m_pHuman->GetTeamOrderValue(0), 75);
    ASSERT_EQ(m_pHuman->GetTeamOrderValue(1), 25);
    EXPECT_EQ(sides(), (std::array<const void*, 3>{g_abyQuickActionTables[1], g_abyQuickReceiverTables[2],
                                                   g_abyQuickActionTables[0]}))
        << "the computer's side keeps the normal tables";

    // The bounds themselves stay normal.
    const struct {
        int nSetting, nTable;
    } cases[] = {{30, 0}, {60, 0}, {61, 1}, {29, 2}, {0, 2}, {100, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(CClub::GetTacticsTableIndex(c.nSetting), c.nTable) << c.nSetting;
}

TEST_F(MatchOrders, CancelLeavesTheTeamOrdersAsTheyWereEvenAfterAReset)
{
    m_pHuman->SetTeamOrderValue(2, 20);
    m_pHuman->SetTeamOrderValue(7, 90);
    m_pHuman->SetTeamOrderOption(0, true);
    const auto before = TeamValues();
    {
        TeamPopup& popup = OpenTeamOrders();
        EXPECT_EQ(popup.GetSlider(2)->GetValue(), 20);
        EXPECT_EQ(popup.GetSlider(7)->GetValue(), 90);
        EXPECT_TRUE(popup.GetWorkingOption(0));
        // A click on the option's name is no click on its tick.
        ClickListRow(popup, dynamic_cast<const CXListBox*>(popup.FindControl(TeamPopup::ID_OPTIONS)), 0, 0);
        EXPECT_TRUE(popup.GetWorkingOption(0));
        ClickControl(popup, TeamPopup::ID_RESET);
        for (int i = 0; i < SAVEGAME_TEAM_ORDERS; ++i)
            EXPECT_EQ(popup.GetSlider(i)->GetValue(), 50) << i;
        EXPECT_FALSE(popup.GetWorkingOption(0));
        ClickControl(popup, TeamPopup::kCancelButtonID);
        EXPECT_FALSE(popup.IsOnStack());
    }
    EXPECT_EQ(TeamValues(), before);
    EXPECT_TRUE(m_pHuman->GetTeamOrderOption(0));

    // Reset and OK put the standard orders in.
    TeamPopup& popup = OpenTeamOrders();
    ClickControl(popup, TeamPopup::ID_RESET);
    ClickControl(popup, TeamPopup::kOkButtonID);
    EXPECT_EQ(TeamValues(), (std::array<int, 8>{50, 50, 50, 50, 50, 50, 50, 50}));
    EXPECT_FALSE(m_pHuman->GetTeamOrderOption(0));
}

TEST_F(MatchOrders, PlayerOrdersEditTheOwnOrdersOfTheChosenStartersPlace)
{
    const auto* pButton = dynamic_cast<const CXButton*>(m_pScreen->FindControl(Screen::ID_PLAYER_ORDERS));
    ASSERT_NE(pButton, nullptr);
    EXPECT_TRUE(pButton->m_bDisabled) << "no starter is chosen yet";
    constexpr int kPlace = 3;
    m_pHuman->SetTeamOrderAdjustment(kPlace, 0, -20);
    m_pHuman->SetTeamOrderAdjustment(kPlace, 2, 1);
    m_pHuman->SetTeamOrderAdjustment(kPlace + 1, 5, 9);
    m_pHuman->SetTeamOrderValue(5, 100);

    // The starter's row chosen with the mouse (on his name, which opens nothing).
    const CXListBoxEx* pStarters = m_pScreen->GetList(Screen::ID_STARTERS);
    ASSERT_NE(pStarters, nullptr);
    int nRow = -1;
    for (int r = 0; r < pStarters->GetCount(); ++r)
        if (m_pScreen->GetRowPlayer(Screen::ID_STARTERS, r) == m_pHuman->GetSheetPlayer(kPlace))
            nRow = r;
    ASSERT_GE(nRow, 0);
    Click(m_pScreen->m_nLeft + pStarters->m_nLeft + 60, m_pScreen->m_nTop + pStarters->m_nTop + 16 * nRow + 8);
    EXPECT_FALSE(pButton->m_bDisabled) << "a starter is chosen";

    ClickControl(*m_pScreen, Screen::ID_PLAYER_ORDERS);
    PlayerPopup* pPopup = m_pScreen->GetPlayerOrdersPopup();
    ASSERT_TRUE(pPopup && pPopup->IsOnStack());
    EXPECT_EQ(pPopup->GetSlider(0)->GetValue(), 0);
    EXPECT_EQ(pPopup->GetSlider(2)->GetValue(), 52);
    EXPECT_EQ(pPopup->GetSlider(5)->GetValue(), 50);
    // His shooting a quarter of the track up: +10.
    DragSlider(*pPopup, pPopup->GetSlider(6), 34);
    Shoot("orders_player.png");
    ClickControl(*pPopup, PlayerPopup::kOkButtonID);
    EXPECT_FALSE(pPopup->IsOnStack());
    const int anExpected[SAVEGAME_TEAM_ORDERS] = {-20, 0, 1, 0, 0, 0, 10, 0};
    for (int i = 0; i < SAVEGAME_TEAM_ORDERS; ++i)
        EXPECT_EQ(m_pHuman->GetTeamOrderAdjustment(kPlace, i), anExpected[i]) << "order " << i;
    EXPECT_EQ(m_pHuman->GetTeamOrderAdjustment(kPlace + 1, 5), 9) << "another place is left alone";
    EXPECT_EQ(m_pHuman->GetTeamOrderValue(5), 100) << "the team's value is only shown";

    // Reset then Cancel changes nothing.
    ClickControl(*m_pScreen, Screen::ID_PLAYER_ORDERS);
    ASSERT_TRUE(pPopup->IsOnStack());
    ClickControl(*pPopup, PlayerPopup::ID_RESET);
    for (int i = 0; i < SAVEGAME_TEAM_ORDERS; ++i)
        EXPECT_EQ(pPopup->GetSlider(i)->GetValue(), 50) << i;
    ClickControl(*pPopup, PlayerPopup::kCancelButtonID);
    EXPECT_FALSE(pPopup->IsOnStack());
    for (int i = 0; i < SAVEGAME_TEAM_ORDERS; ++i)
        EXPECT_EQ(m_pHuman->GetTeamOrderAdjustment(kPlace, i), anExpected[i]) << "order " << i;

    ASSERT_TRUE(m_game.SaveGame("Places")) << m_game.GetFileError();
    ASSERT_TRUE(m_game.LoadGame("Places", false)) << m_game.GetFileError();
    const CSaveGame* pLoaded = Database()->GetCurrentSaveGame();
    ASSERT_NE(pLoaded, nullptr);
    for (int i = 0; i < SAVEGAME_TEAM_ORDERS; ++i)
        EXPECT_EQ(pLoaded->GetTeamOrderAdjustment(kPlace, i), anExpected[i]) << "order " << i;
}

}  // namespace
