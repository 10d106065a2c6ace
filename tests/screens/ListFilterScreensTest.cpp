// The list filter panel on the screens that filter their player and staff
// lists: the filter button opens it beside itself with the screen's criteria
// and mask, a criterion unticked in it reaches the screen when the pointer
// leaves it, and the list is filled again without the rows it excludes.
#include "ScreenInPlay.h"

#include "popups/CPopupListFilter.h"
#include "popups/GamePopups.h"
#include "screens/CClientArchivesNewspaper.h"
#include "screens/CClientClubPlayers.h"
#include "screens/CClientTablesStaticsReferees.h"
#include "screens/CClientTransferHistory.h"
#include "screens/CClientStaffMarket.h"
#include "screens/CClientTablesStaticsPlayers.h"
#include "screens/CClientTrainingIndividual.h"
#include "screens/CClientTransferMarket.h"
#include "shell/ScreenIDs.h"
#include "shell/WinMain.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "database/CStaffDatabase.h"
#include "platform/Messages.h"
#include "xframework/CXListBoxEx.h"
#include "xframework/CXPopup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <functional>
#include <string>

namespace {

class ListFilterScreens : public ScreenInPlay {
protected:
    void SetUp() override
    {
        CreateGamePopups();
        ScreenInPlay::SetUp();
    }
    void TearDown() override
    {
        while (CXPopup* pTop = CXPopup::TopPopup())
            pTop->Close();
        ScreenInPlay::TearDown();
    }
    static void Send(uint32_t message, int x, int y) { MainWndProc(message, 0, plat::makeLParam(x, y)); }
    static void Click(int x, int y)
    {
        Send(plat::WM_MOUSEMOVE, x, y);
        Send(plat::WM_LBUTTONDOWN, x, y);
        Send(plat::WM_LBUTTONUP, x, y);
    }
    // Clicks the panel's row of criterion n.
    static void ClickCriterion(const CPopupListFilter& panel, int nCriterion)
    {
        for (int g = 0; g < panel.GetGroupCount(); ++g) {
            const CXListBox* pList = panel.GroupList(g);
            const int nRow = pList ? pList->FindItemData(static_cast<uint32_t>(nCriterion)) : -1;
            if (nRow >= 0) {
                Click(panel.m_nLeft + pList->m_nLeft + 30,
                      panel.m_nTop + pList->m_nTop + nRow * CPopupListFilter::kRowHeight + 6);
                return;
            }
        }
        ADD_FAILURE() << "no row for criterion " << nCriterion;
    }

    struct Wiring {
        const char* pszName;
        int nScreen;
        int nTextSet;
        std::function<CXListBox*()> list;
        std::function<uint32_t()> mask;
        // The filter bit that excludes a row's person.
        std::function<int(uint32_t dwRowData)> bitOf;
    };
    void Check(const Wiring& w)
    {
        SCOPED_TRACE(w.pszName);
        OpenScreen(w.nScreen);
        CXListBox* pList = w.list();
        ASSERT_NE(pList, nullptr);
        ASSERT_GT(pList->GetCount(), 0);
        const int nRowsBefore = pList->GetCount();
        const uint32_t dwBefore = w.mask();
        const int nBit = w.bitOf(static_cast<uint32_t>(pList->GetItemData(0)));
        ASSERT_GE(nBit, 0);
        ASSERT_TRUE(dwBefore >> nBit & 1);

        const CXControl* pButton = g_pCurrentClient->FindControl(981);
        ASSERT_NE(pButton, nullptr);
        ASSERT_TRUE(pButton->m_bVisible);
        Click(g_pCurrentClient->m_nLeft + pButton->m_nLeft + 8, g_pCurrentClient->m_nTop + pButton->m_nTop + 8);
        CPopupListFilter& panel = GetListFilterPopup();
        ASSERT_EQ(CXPopup::TopPopup(), &panel);
        // Beside the button, which it covers (pulled back into the frame at
        // its right edge), with a row per criterion.
        EXPECT_EQ(panel.m_nRight, std::min(800, g_pCurrentClient->m_nLeft + pButton->m_nRight + 16));
        EXPECT_EQ(panel.m_nTop, g_pCurrentClient->m_nTop + pButton->m_nTop - 16);
        int nRows = 0;
        for (int g = 0; g < panel.GetGroupCount(); ++g)
            nRows += panel.GroupList(g) ? panel.GroupList(g)->GetCount() : 0;
        int nCriteria = 0;
        for (const std::string& entry : CPopupListFilter::TableEntries(w.nTextSet))
            nCriteria += entry[0] != '"';
        EXPECT_EQ(nRows, nCriteria);
        EXPECT_EQ(panel.GetMask(), dwBefore);
        Shoot((std::string("listfilter-") + w.pszName + ".png").c_str());

        ClickCriterion(panel, nBit);
        // Nothing changes on the screen while the panel is open.
        EXPECT_EQ(w.mask(), dwBefore);
        Send(plat::WM_MOUSEMOVE, panel.m_nLeft - 5, panel.m_nTop + 10);
        ASSERT_EQ(CXPopup::TopPopup(), nullptr);
        EXPECT_EQ(w.mask(), dwBefore & ~(1u << nBit));
        pList = w.list();
        EXPECT_LT(pList->GetCount(), nRowsBefore);
        for (int r = 0; r < pList->GetCount(); ++r)
            EXPECT_NE(w.bitOf(static_cast<uint32_t>(pList->GetItemData(r))), nBit) << "row " << r;
    }

    int PositionBit(uint32_t idPlayer, int nFirstPositionBit)
    {
        const CPlayerDatabase* pPlayer = Database()->GetPlayerFromID(static_cast<ID_PLAYER>(idPlayer));
        return pPlayer && pPlayer->m_byPosition < 4 ? nFirstPositionBit + pPlayer->m_byPosition : -1;
    }
};

TEST_F(ListFilterScreens, TheClubPlayersSquad)
{
    const auto screen = [] { return dynamic_cast<CClientClubPlayers*>(g_pCurrentClient); };
    Check({"club_players", SCREEN_CLUB_PLAYERS, CClientClubPlayers::kSquadFilterTextSet,
           [&] { return screen()->GetList(); }, [&] { return screen()->GetFilterMask(); },
           [&](uint32_t id) { return PositionBit(id, 8); }});
}

TEST_F(ListFilterScreens, ThePlayersStatisticsTable)
{
    const auto screen = [] { return dynamic_cast<CClientTablesStaticsPlayers*>(g_pCurrentClient); };
    Check({"players_table", SCREEN_TABLES_PLAYERS, 19,
           [&] { return screen()->GetList(); }, [&] { return screen()->GetFilter(); },
           [&](uint32_t id) { return PositionBit(id, 8); }});
}

TEST_F(ListFilterScreens, TheTransferMarket)
{
    // Players of every position on the list.
    int nListed = 0;
    for (CPlayerDatabase* pPlayer : m_pClub->m_lstPlayers.Items<CPlayerDatabase>())
        if (nListed < 8 && Database()->AddPlayerToListMarket(pPlayer, 100000, PLAYER_TRANSFER_LISTED, 0) == 0)
            ++nListed;
    ASSERT_GT(nListed, 0);
    const auto screen = [] { return dynamic_cast<CClientTransferMarket*>(g_pCurrentClient); };
    Check({"transfer_market", SCREEN_TRANSFER_MARKET, CClientTransferMarket::kTransferFilterTextSet,
           [&] { return screen()->GetMarketList(); }, [&] { return screen()->GetFilter(); },
           [&](uint32_t id) { return PositionBit(id, 4); }});
}

TEST_F(ListFilterScreens, TheStaffMarket)
{
    const auto screen = [] { return dynamic_cast<CClientStaffMarket*>(g_pCurrentClient); };
    Check({"staff_market", SCREEN_STAFF_MARKET, CClientStaffMarket::kFilterTextSet,
           [&] { return screen()->GetMarketList(); }, [&] { return static_cast<uint32_t>(screen()->GetFilter()); },
           [&](uint32_t id) {
               const CStaffDatabase* pStaff = Database()->GetStaffFromID(static_cast<ID_STAFF>(id));
               return pStaff ? std::countr_zero(static_cast<unsigned>(CClientStaffMarket::KindFilterBit(pStaff->m_byKind)))
                             : -1;
           }});
}

TEST_F(ListFilterScreens, TheIndividualTrainingSquadKeepsThePlayerShownWhenTheFilterKeepsHim)
{
    const auto screen = [] { return dynamic_cast<CClientTrainingIndividual*>(g_pCurrentClient); };
    Check({"training", SCREEN_TRAINING_INDIVIDUAL, CClientTrainingIndividual::kFilterTextSet,
           [&] { return static_cast<CXListBox*>(screen()->GetPlayerList()); }, [&] { return screen()->GetFilter(); },
           [&](uint32_t id) { return PositionBit(id, 2); }});
    // The player shown is one the list still holds.
    CClientTrainingIndividual* pScreen = screen();
    const CXListBox* pList = pScreen->GetPlayerList();
    ASSERT_GT(pList->GetCount(), 0);
    EXPECT_GE(pList->FindItemData(pScreen->GetCurrentPlayer()), 0);
    EXPECT_EQ(pList->GetItemData(pList->GetSelection()), pScreen->GetCurrentPlayer());
}

// Screens whose lists may be empty this early: the panel offers the
// screen's criteria and a criterion ticked or unticked reaches the screen.
TEST_F(ListFilterScreens, TheRefereesTransferHistoryAndNewspaperTakeThePanelsMask)
{
    const struct {
        int nScreen;
        int nCriteria;
        std::function<uint32_t()> mask;
    } screens[] = {
        {SCREEN_TABLES_REFEREES, 4,
         [] { return dynamic_cast<CClientTablesStaticsReferees*>(g_pCurrentClient)->GetFilter(); }},
        // The transfer market's choices without the listing group.
        {SCREEN_TRANSFER_HISTORY, 8,
         [] { return dynamic_cast<CClientTransferHistory*>(g_pCurrentClient)->GetFilter(); }},
        {SCREEN_ARCHIVES_NEWSPAPER, 2,
         [] { return static_cast<uint32_t>(dynamic_cast<CClientArchivesNewspaper*>(g_pCurrentClient)->GetFilter()); }},
    };
    for (const auto& screen : screens) {
        SCOPED_TRACE(screen.nScreen);
        OpenScreen(screen.nScreen);
        const uint32_t dwBefore = screen.mask();
        const CXControl* pButton = g_pCurrentClient->FindControl(981);
        ASSERT_NE(pButton, nullptr);
        Click(g_pCurrentClient->m_nLeft + pButton->m_nLeft + 8, g_pCurrentClient->m_nTop + pButton->m_nTop + 8);
        CPopupListFilter& panel = GetListFilterPopup();
        ASSERT_EQ(CXPopup::TopPopup(), &panel);
        int nRows = 0;
        for (int g = 0; g < panel.GetGroupCount(); ++g)
            nRows += panel.GroupList(g) ? panel.GroupList(g)->GetCount() : 0;
        EXPECT_EQ(nRows, screen.nCriteria);
        ClickCriterion(panel, 1);
        Send(plat::WM_MOUSEMOVE, panel.m_nLeft - 5, panel.m_nTop + 10);
        ASSERT_EQ(CXPopup::TopPopup(), nullptr);
        EXPECT_EQ(screen.mask(), dwBefore ^ 2u);
    }
}

}  // namespace
