// The player comparison popup opened from the navigation bar on a game in
// play: it starts with the first four of the squad, takes players dragged
// from the squad or the shortlist onto its rows (never one it already
// shows) and draws each compared player's nine skills as bars.
#include "PopupInPlay.h"

#include "popups/CPopupPlayerComparison.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/CScreenRegistry.h"
#include "shell/CTableText.h"
#include "shell/PlayerRowIcons.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/PersonOwners.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBoxEx.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

using Popup = CPopupPlayerComparison;

class PlayerComparison : public PopupInPlay {
protected:
    Popup& Open()
    {
        g_pNavigationBar->SetMode(2);
        const auto* pCompare = dynamic_cast<const CXButton*>(g_pNavigationBar->FindControl(CGameNavigationBar::ID_COMPARE));
        EXPECT_TRUE(pCompare && !pCompare->m_bDisabled) << "a manager with a club may compare players";
        g_pNavigationBar->OnClicked(CGameNavigationBar::ID_COMPARE);
        m_game.Update();
        auto* pPopup = dynamic_cast<Popup*>(CXPopup::TopPopup());
        EXPECT_NE(pPopup, nullptr);
        return *pPopup;
    }
    // Presses on a source row, carries it and lets go over a compared row.
    void Drag(Popup& popup, uint32_t dwSource, int nSourceRow, int nTargetRow, const char* pszShot = nullptr)
    {
        CXListBoxEx* pSource = popup.GetList(dwSource);
        CXListBoxEx* pTarget = popup.GetList(Popup::ID_COMPARED);
        ASSERT_TRUE(pSource && pTarget);
        pSource->Scroll(LISTSCROLL_TO_ROW_TOO, nSourceRow);
        const int y0 = (nSourceRow - pSource->GetFirstVisible()) * 16 + 8;
        const int x1 = pTarget->m_nLeft - pSource->m_nLeft + 40, y1 = pTarget->m_nTop - pSource->m_nTop + nTargetRow * 16 + 8;
        pSource->OnLButtonDown(0, 40, y0);
        pSource->OnMouseMove(plat::MK_LBUTTON, x1 / 2, (y0 + y1) / 2);
        pSource->OnMouseMove(plat::MK_LBUTTON, x1, y1);
        EXPECT_EQ(popup.GetDragMode(), Popup::DRAG_ROW);
        if (pszShot)
            Shoot(pszShot);
        pSource->OnLButtonUp(0, x1, y1);
        popup.OnLButtonUp(0, pSource->m_nLeft + x1, pSource->m_nTop + y1);
        EXPECT_EQ(popup.GetDragMode(), Popup::DRAG_NONE);
        m_game.Update();
    }
    int RowOf(Popup& popup, uint32_t dwList, const CPlayerDatabase* pPlayer)
    {
        const CXListBoxEx* pList = popup.GetList(dwList);
        for (int i = 0; pList && i < pList->GetCount(); ++i)
            if (pList->GetItemData(i) == pPlayer->m_idPerson)
                return i;
        return -1;
    }
    static std::vector<double> Bars(const CXGraph& graph, int nSlot)
    {
        return graph.GetSeries(nSlot).values;
    }
    static std::vector<double> Expected(const CPlayerDatabase& player)
    {
        std::vector<double> values;
        for (int n : Popup::GraphSkills(player))
            values.push_back(n);
        return values;
    }
};

// A player from another country than the manager's carries his flag at the
// right of his name; one of the manager's own country carries none.
TEST_F(PlayerComparison, AForeignPlayerCarriesHisCountrysFlag)
{
    std::vector<CPlayerDatabase*> squad;
    for (CPlayerDatabase* p : m_pClub->m_lstPlayers.Items<CPlayerDatabase>())
        squad.push_back(p);
    ASSERT_GE(squad.size(), 2u);
    const int nHome = GetCountryNationality(m_pHuman->GetCountry());
    ASSERT_GT(nHome, 0);
    const uint8_t byForeign = nHome == 13 ? 40 : 13;
    squad[0]->m_byNationality = static_cast<uint8_t>(nHome);
    squad[1]->m_byNationality = byForeign;
    CXAnimation* pFlag = PlayerRowIcons::NationFlag(byForeign);
    ASSERT_NE(pFlag, nullptr) << "the kit draws the flag of every nationality";
    ASSERT_NE(PlayerRowIcons::NationFlag(nHome), nullptr);

    Popup& popup = Open();
    const auto flagsIn = [](const CXListBoxEx& list, int nRow) {
        std::vector<CXAnimation*> flags;
        for (const auto& graphic : list.GetRow(nRow)->Graphics)
            if (graphic.nColumn == 0)
                flags.push_back(graphic.pGraphic);
        return flags;
    };
    for (uint32_t dwList : {Popup::ID_SQUAD, Popup::ID_COMPARED}) {
        const CXListBoxEx& list = *popup.GetList(dwList);
        EXPECT_EQ(flagsIn(list, RowOf(popup, dwList, squad[1])), std::vector<CXAnimation*>{pFlag}) << dwList;
        EXPECT_TRUE(flagsIn(list, RowOf(popup, dwList, squad[0])).empty()) << dwList;
    }
    Shoot("comparison_flags.png");
    popup.OnClicked(CGamePopup::kOkButtonID);
}

// Every nationality of the world's players and of the nation names has a
// flag painted in its cell: something other than the clear colour key, as
// in the cell of nationality 0, which has none.
TEST_F(PlayerComparison, EveryNationalityOfTheWorldHasAFlag)
{
    const CXSurface* pFlags = m_game.GetSharedBitmaps().GetBitmap("Flags.bmp");
    ASSERT_TRUE(pFlags && pFlags->m_pSurface);
    const uint16_t wClear = pFlags->m_pSurface->pixel(CSharedBitmaps::kFlagWidth / 2, CSharedBitmaps::kFlagHeight / 2);
    std::set<int> nations;
    for (const CCountryDatabase* pCountry : Database()->GetCountries().Items<CCountryDatabase>())
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (const CClubDatabase* pClub : pDivision->m_lstClubsByID.Items<CClubDatabase>())
                for (const CPlayerDatabase* pPlayer : pClub->m_lstPlayers.Items<CPlayerDatabase>())
                    nations.insert(pPlayer->m_byNationality);
    ASSERT_GT(nations.size(), 9u);
    for (int n = 1; n <= 101; ++n)
        if (*GetTableTextOrEmpty(92, n))
            nations.insert(n);
    for (int n : nations) {
        ASSERT_NE(PlayerRowIcons::NationFlag(n), nullptr) << n;
        int nPainted = 0;
        for (int y = 1; y < CSharedBitmaps::kFlagHeight - 1; ++y)
            for (int x = 1; x < CSharedBitmaps::kFlagWidth - 1; ++x)
                nPainted += pFlags->m_pSurface->pixel(n * CSharedBitmaps::kFlagWidth + x, y) != wClear;
        EXPECT_EQ(nPainted, (CSharedBitmaps::kFlagWidth - 2) * (CSharedBitmaps::kFlagHeight - 2))
            << "nationality " << n << " " << GetTableTextOrEmpty(92, n);
    }
}

TEST_F(PlayerComparison, StartsWithTheFirstFourOfTheSquadAndTakesDroppedPlayersOnce)
{
    std::vector<CPlayerDatabase*> squad;
    for (CPlayerDatabase* p : m_pClub->m_lstPlayers.Items<CPlayerDatabase>())
        squad.push_back(p);
    ASSERT_GE(squad.size(), 6u);
    // A player of another club on the shortlist.
    CPlayerDatabase* pStranger = nullptr;
    for (CClubDatabase* pClub : m_pClub->m_pDivision->m_lstClubsByID.Items<CClubDatabase>())
        if (pClub != m_pClub && !pStranger && pClub->m_lstPlayers.GetHead())
            pStranger = static_cast<CPlayerDatabase*>(pClub->m_lstPlayers.GetHead()->pData);
    ASSERT_NE(pStranger, nullptr);
    m_pHuman->AddToShortlist(pStranger);
    ASSERT_TRUE(m_pHuman->IsShortlisted(pStranger->m_idPerson));

    Popup& popup = Open();
    const auto compared = popup.GetCompared();
    for (int i = 0; i < Popup::kCompared; ++i)
        EXPECT_EQ(compared[static_cast<size_t>(i)], squad[static_cast<size_t>(i)]) << "row " << i;
    EXPECT_EQ(popup.GetList(Popup::ID_SQUAD)->GetCount(), static_cast<int>(squad.size()));
    EXPECT_EQ(popup.GetList(Popup::ID_SHORTLIST)->GetCount(), 1);
    CXGraph* pGraph = popup.GetGraph();
    ASSERT_NE(pGraph, nullptr);
    for (int i = 0; i < Popup::kCompared; ++i)
        EXPECT_EQ(Bars(*pGraph, i), Expected(*squad[static_cast<size_t>(i)])) << "slot " << i;
    Shoot("comparison_open.png");

    // The fifth of the squad onto the second row: he replaces its player and bars.
    Drag(popup, Popup::ID_SQUAD, RowOf(popup, Popup::ID_SQUAD, squad[4]), 1, "comparison_dragging.png");
    EXPECT_EQ(popup.GetCompared()[1], squad[4]);
    EXPECT_EQ(Bars(*pGraph, 1), Expected(*squad[4]));
    EXPECT_EQ(popup.GetCompared()[0], squad[0]) << "the other rows stay";
    EXPECT_EQ(popup.GetList(Popup::ID_SQUAD)->GetCount(), static_cast<int>(squad.size())) << "the source keeps its row";

    // Someone already compared changes nothing, wherever he is dropped.
    Drag(popup, Popup::ID_SQUAD, RowOf(popup, Popup::ID_SQUAD, squad[0]), 2);
    EXPECT_EQ(popup.GetCompared()[2], squad[2]);
    Drag(popup, Popup::ID_COMPARED, 0, 3);
    EXPECT_EQ(popup.GetCompared()[3], squad[3]);
    EXPECT_EQ(popup.GetCompared()[0], squad[0]);

    // From the shortlist.
    Drag(popup, Popup::ID_SHORTLIST, 0, 3);
    EXPECT_EQ(popup.GetCompared()[3], pStranger);
    EXPECT_EQ(Bars(*pGraph, 3), Expected(*pStranger));
    Shoot("comparison_after.png");

    popup.OnClicked(CGamePopup::kOkButtonID);
    m_game.Update();
    EXPECT_FALSE(popup.IsOnStack());
}

TEST_F(PlayerComparison, BarsFollowTheSkillsInTheirOrderAndTopOutAt99)
{
    auto* pPlayer = static_cast<CPlayerDatabase*>(m_pClub->m_lstPlayers.GetHead()->pData);
    ASSERT_NE(pPlayer, nullptr);
    const struct {
        int nAttribute;
        uint16_t wValue;
        int nBar;
        int nExpected;
    } kCases[] = {
        {PLAYER_ATTRIBUTE_HANDLING, 9999, 0, 99}, {PLAYER_ATTRIBUTE_SHOOTING, 4250, 5, 42},
        {PLAYER_ATTRIBUTE_PACE, 7100, 6, 71},     {PLAYER_ATTRIBUTE_STRENGTH, 3300, 7, 33},
        {PLAYER_ATTRIBUTE_FITNESS, 99, 8, 0},
    };
    for (const auto& c : kCases)
        pPlayer->m_awAttributes[c.nAttribute] = c.wValue;
    const auto bars = Popup::GraphSkills(*pPlayer);
    for (const auto& c : kCases)
        EXPECT_EQ(bars[static_cast<size_t>(c.nBar)], c.nExpected) << "bar " << c.nBar;
}

}  // namespace
