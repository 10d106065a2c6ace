// The three popups the team selection screen opens over a game in play,
// driven by the mouse through the program's window procedure: the next
// match's rules, a starter's role, and the shoot-out order of the eleven,
// with the human's team sheet as the witness of what OK keeps and cancel
// leaves alone.
#include "ScreenInPlay.h"

#include "popups/CPopupMatchRules.h"
#include "popups/CPopupPlayerRole.h"
#include "popups/CPopupSelectPenaltyTakers.h"
#include "popups/GamePopups.h"
#include "screens/CClientTeamSelection.h"
#include "shell/ScreenIDs.h"
#include "shell/WinMain.h"

#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CPlayerDatabase.h"
#include "platform/Messages.h"
#include "season/CDomesticCupsDatabase.h"
#include "season/CSaveGame.h"
#include "season/CupRecords.h"
#include "season/CupStructureTable.h"
#include "xframework/CXListBoxEx.h"
#include "xframework/CXPopup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace {

using Screen = CClientTeamSelection;

class TakersAndRules : public ScreenInPlay {
protected:
    void SetUp() override
    {
        CreateGamePopups();
        ScreenInPlay::SetUp();
        m_pScreen = dynamic_cast<Screen*>(GetScreenObject(SCREEN_TEAM_SELECTION));
        ASSERT_NE(m_pScreen, nullptr);
        OpenScreen(SCREEN_TEAM_SELECTION);
    }
    void TearDown() override
    {
        while (CXPopup* pTop = CXPopup::TopPopup())
            pTop->Close();
        ScreenInPlay::TearDown();
    }
    static void Send(uint32_t message, int x, int y) { MainWndProc(message, 0, plat::makeLParam(x, y)); }
    void Click(int x, int y)
    {
        Send(plat::WM_MOUSEMOVE, x, y);
        Send(plat::WM_LBUTTONDOWN, x, y);
        Send(plat::WM_LBUTTONUP, x, y);
        m_game.Update();
    }
    void DoubleClick(int x, int y)
    {
        Click(x, y);
        Send(plat::WM_LBUTTONDBLCLK, x, y);
        Send(plat::WM_LBUTTONUP, x, y);
        m_game.Update();
    }
    // The centre of a control of a client, in display coordinates.
    static void ClickControl(TakersAndRules& t, const CXClient& client, uint32_t dwID)
    {
        const CXControl* pControl = client.FindControl(dwID);
        ASSERT_NE(pControl, nullptr) << "control " << dwID;
        ASSERT_TRUE(pControl->m_bVisible) << "control " << dwID;
        t.Click(client.m_nLeft + pControl->m_nLeft + pControl->Width() / 2,
                client.m_nTop + pControl->m_nTop + pControl->Height() / 2);
    }
    // A point in row r of a list of a client, x pixels into the list.
    static std::array<int, 2> RowPoint(const CXClient& client, const CXListBox& list, int nRow, int x = 60)
    {
        return {client.m_nLeft + list.m_nLeft + x, client.m_nTop + list.m_nTop + 16 * nRow + 8};
    }
    std::string Cell(const CXListBox& list, int nRow, int nColumn)
    {
        char sz[LISTBOX_ROW_TEXT_SIZE] = {};
        list.GetColumnText(nRow, nColumn, sz);
        return sz;
    }
    std::array<uint8_t, SAVEGAME_LINEUP> StoredOrder() const
    {
        std::array<uint8_t, SAVEGAME_LINEUP> order{};
        m_pHuman->GetPenaltyOrder(order.data());
        return order;
    }
    Screen* m_pScreen = nullptr;
};

TEST_F(TakersAndRules, TheRulesPopupShowsTheNextMatchsRecordAndEachCompetitionsRules)
{
    ITEMCUPMATCHRULES next{};
    int nKind = -1;
    Database()->GetNextMatchRules(m_pClub, next, &nKind);
    ClickControl(*this, *m_pScreen, Screen::ID_MATCH_RULES);
    CPopupMatchRules& popup = m_pScreen->GetRulesPopup();
    ASSERT_TRUE(popup.IsOnStack());
    EXPECT_EQ(std::memcmp(&popup.GetRules(), &next, sizeof next), 0) << "the screen's rules are the next match's";
    Shoot("matchrules_league.png");
    {
        // The numbers stand clear of the scroll bar beside them.
        const CXListBox* pList = popup.GetList();
        const CXControl* pBar = popup.FindControl(CPopupMatchRules::ID_SCROLLBAR);
        ASSERT_TRUE(pList && pBar);
        const plat::Surface& surface = *popup.m_pDrawingSurface->m_pSurface;
        const uint16_t wWhite = plat::colorToPixel(plat::RGB(255, 255, 255), surface.format());
        int nRight = -1;
        for (int y = pList->m_nTop + pList->m_nHeaderHeight; y < pList->m_nTop + pList->m_nHeaderHeight + 64; ++y)
            for (int x = pList->m_nLeft + 100; x < pBar->m_nLeft; ++x)
                if (surface.pixel(x, y) == wWhite)
                    nRight = std::max(nRight, x);
        ASSERT_GE(nRight, 0) << "no numbers drawn";
        EXPECT_LT(nRight, pBar->m_nLeft - 2);
    }
    ClickControl(*this, popup, CGamePopup::kOkButtonID);
    EXPECT_FALSE(popup.IsOnStack());
    EXPECT_EQ(popup.m_dwResultID, CGamePopup::kOkButtonID);

    // A league match, a two-legged European tie, a domestic tie settled on
    // the day by extra time and penalties, one replayed, and a record whose
    // length byte would say otherwise: the length is always ninety.
    const ITEMCUPMATCHRULES replay = {0x02, 3, 5, 5, CUP_VENUE_HOME};
    const ITEMCUPMATCHRULES odd = {0x3F, 255, 0, 9, CUP_VENUE_HOME};
    const struct {
        const char* pszName;
        ITEMCUPMATCHRULES rules;
        std::array<bool, 6> ticks;  // extra time, replay, two legs, away goals, shoot-out, golden goal
    } cases[] = {
        {"league", next, {false, false, false, false, false, false}},
        {"two legs", *GetCupMatchRules(1), {true, false, true, true, true, false}},
        {"on the day", *GetCupMatchRules(5), {true, false, false, false, true, false}},
        {"replay", replay, {false, true, false, false, false, false}},
        {"every rule", odd, {true, true, true, true, true, true}},
    };
    for (const auto& c : cases) {
        popup.SetRules(c.rules);
        ASSERT_TRUE(popup.Open()) << c.pszName;
        const CXListBox* pList = popup.GetList();
        ASSERT_NE(pList, nullptr);
        ASSERT_EQ(pList->GetCount(), CPopupMatchRules::kNumberRows + CPopupMatchRules::kRuleRows) << c.pszName;
        EXPECT_EQ(Cell(*pList, 0, 1), "90") << c.pszName;
        EXPECT_EQ(Cell(*pList, 1, 1), std::to_string(c.rules.bySubstitutesNamed)) << c.pszName;
        EXPECT_EQ(Cell(*pList, 2, 1), std::to_string(c.rules.bySubstitutions)) << c.pszName;
        EXPECT_EQ(Cell(*pList, 3, 1), std::to_string(c.rules.byByte3)) << c.pszName;
        for (int k = 0; k < CPopupMatchRules::kRuleRows; ++k)
            EXPECT_EQ(popup.IsRuleTicked(k), c.ticks[static_cast<size_t>(k)]) << c.pszName << ", rule " << k;
        if (c.rules.byRules == GetCupMatchRules(1)->byRules)
            Shoot("matchrules_two_legs.png");
        MainWndProc(plat::WM_KEYDOWN, plat::VK_RETURN, 0);
        MainWndProc(plat::WM_KEYUP, plat::VK_RETURN, 0);
        m_game.Update();
        EXPECT_FALSE(popup.IsOnStack()) << c.pszName << ": Return closes it";
    }
}

// A tie in the early rounds of the English main cup is replayed when level:
// the rules popup of the club's next match ticks "Replay" from the cup's own
// rules, crosses it for the final and for a replay itself.
TEST_F(TakersAndRules, TheRulesOfTheNextCupTieSayWhetherALevelTieIsReplayed)
{
    CCountryDatabase* pEngland = nullptr;
    for (CCountryDatabase* p : Database()->GetCountries().Items<CCountryDatabase>())
        if (std::strcmp(p->GetName(), "England") == 0)
            pEngland = p;
    ASSERT_TRUE(pEngland && pEngland->GetDomesticCups());
    CUP* pCup = pEngland->GetDomesticCups()->GetCup(1);
    ASSERT_TRUE(pCup && pCup->pExtra) << "the main cup keeps its replays";
    CClubDatabase* pOther = nullptr;
    for (CClubDatabase* p : m_pClub->m_pDivision->m_lstClubsByTable.Items<CClubDatabase>())
        if (p != m_pClub)
            pOther = p;
    ASSERT_NE(pOther, nullptr);
    // The club's next match: a tie of that cup tomorrow.
    auto* pFixture = new CCupFixturesDatabase;
    pFixture->Set(2, CDate(Database()->GetGameDate().GetValue(), 1), m_pClub->m_wClubId, pOther->m_wClubId,
                  Database()->TakeNextFixtureID(), 0, 0, MakeCupNumberFromKind(1, pEngland->GetID()), 0);
    pFixture->SetCup(pCup);
    Database()->AddCupFixture(pFixture);

    const struct {
        const char* pszName;
        int nRound;
        bool bReplay;  // the fixture is itself a replay
        bool bTicked;
    } cases[] = {
        {"third round", 3, false, true},
        {"final", pCup->byRounds, false, false},
        {"a replay", 3, true, false},
    };
    const uint8_t byRound = pCup->byRound;
    for (const auto& c : cases) {
        pCup->byRound = static_cast<uint8_t>(c.nRound);
        pFixture->Set(c.bReplay ? 2 + CCupFixturesDatabase::REPLAY_KIND_OFFSET : 2, pFixture->GetDate(),
                      m_pClub->m_wClubId, pOther->m_wClubId, pFixture->GetFixtureID(), 0, 0,
                      MakeCupNumberFromKind(1, pEngland->GetID()), 0);
        // The screen reads the next match's rules as it opens.
        OpenScreen(SCREEN_FOOTBALL_TODAY);
        OpenScreen(SCREEN_TEAM_SELECTION);
        ClickControl(*this, *m_pScreen, Screen::ID_MATCH_RULES);
        CPopupMatchRules& popup = m_pScreen->GetRulesPopup();
        ASSERT_TRUE(popup.IsOnStack()) << c.pszName;
        EXPECT_EQ(popup.IsRuleTicked(1), c.bTicked) << c.pszName;
        if (c.bTicked)
            Shoot("matchrules_replay.png");
        ClickControl(*this, popup, CGamePopup::kOkButtonID);
        ASSERT_FALSE(popup.IsOnStack());
    }
    pCup->byRound = byRound;
}

TEST_F(TakersAndRules, TheShootOutOrderIsDraggedKeptOnOkAndLeftOnCancel)
{
    ClickControl(*this, *m_pScreen, Screen::ID_PENALTY_TAKERS);
    CPopupSelectPenaltyTakers& popup = m_pScreen->GetPenaltyTakersPopup();
    ASSERT_TRUE(popup.IsOnStack());
    const CXListBoxEx* pList = popup.GetList();
    ASSERT_NE(pList, nullptr);
    ASSERT_EQ(pList->GetCount(), SAVEGAME_LINEUP);
    const auto before = StoredOrder();
    CPlayerDatabase* pTakerBefore = m_pHuman->GetSetPiecePlayer(SAVEGAME_PENALTY_TAKER);
    EXPECT_EQ(popup.GetListedOrder(), before) << "the list shows the stored order";
    EXPECT_EQ(Cell(*pList, 0, 1), m_pHuman->GetSheetPlayer(before[0])->GetShortName());

    // A press on OK carries nothing; let go elsewhere it clicks nothing.
    const CXControl* pOk = popup.FindControl(CGamePopup::kOkButtonID);
    ASSERT_NE(pOk, nullptr);
    Send(plat::WM_MOUSEMOVE, popup.m_nLeft + pOk->m_nLeft + 5, popup.m_nTop + pOk->m_nTop + 5);
    Send(plat::WM_LBUTTONDOWN, popup.m_nLeft + pOk->m_nLeft + 5, popup.m_nTop + pOk->m_nTop + 5);
    Send(plat::WM_MOUSEMOVE, popup.m_nLeft + 40, popup.m_nTop + 40);
    EXPECT_EQ(popup.GetDragMode(), CPopupSelectPenaltyTakers::DRAG_NONE);
    Send(plat::WM_LBUTTONUP, popup.m_nLeft + 40, popup.m_nTop + 40);
    ASSERT_TRUE(popup.IsOnStack());

    // The first kicker carried onto the fourth row: the two change places,
    // the row following the pointer while it is carried.
    auto drag = [&](int nFrom, int nTo, const char* pszShot) {
        // Each opening builds its list afresh.
        pList = popup.GetList();
        ASSERT_NE(pList, nullptr);
        const auto from = RowPoint(popup, *pList, nFrom), to = RowPoint(popup, *pList, nTo);
        Send(plat::WM_MOUSEMOVE, from[0], from[1]);
        Send(plat::WM_LBUTTONDOWN, from[0], from[1]);
        Send(plat::WM_MOUSEMOVE, from[0], (from[1] + to[1]) / 2);
        Send(plat::WM_MOUSEMOVE, to[0], to[1]);
        m_game.Update();
        EXPECT_EQ(popup.GetDragMode(), CPopupSelectPenaltyTakers::DRAG_ROW);
        EXPECT_EQ(popup.GetDraggedPlayer(), m_pHuman->GetSheetPlayer(popup.GetListedOrder()[static_cast<size_t>(nFrom)]));
        EXPECT_EQ(popup.GetLastDragRect().left, to[0] + 2);
        EXPECT_EQ(popup.GetLastDragRect().top, to[1] + 16);
        if (pszShot)
            Shoot(pszShot);
        Send(plat::WM_LBUTTONUP, to[0], to[1]);
        m_game.Update();
        EXPECT_EQ(popup.GetDragMode(), CPopupSelectPenaltyTakers::DRAG_NONE);
    };
    drag(0, 3, "penaltytakers_dragging.png");
    auto expected = before;
    std::swap(expected[0], expected[3]);
    EXPECT_EQ(popup.GetListedOrder(), expected);
    for (int nRow = 0; nRow < SAVEGAME_LINEUP; ++nRow)
        EXPECT_EQ(Cell(*pList, nRow, 0), std::to_string(nRow + 1)) << "the kicks stay numbered in order";
    Shoot("penaltytakers.png");
    ClickControl(*this, popup, CGamePopup::kCancelButtonID);
    EXPECT_FALSE(popup.IsOnStack());
    EXPECT_EQ(StoredOrder(), before) << "cancel keeps nothing";
    EXPECT_EQ(m_pHuman->GetSetPiecePlayer(SAVEGAME_PENALTY_TAKER), pTakerBefore);

    // Open again: the stored order; the fifth kicker brought to the top and kept.
    ClickControl(*this, *m_pScreen, Screen::ID_PENALTY_TAKERS);
    ASSERT_TRUE(popup.IsOnStack());
    EXPECT_EQ(popup.GetListedOrder(), before);
    drag(4, 0, nullptr);
    expected = before;
    std::swap(expected[0], expected[4]);
    ClickControl(*this, popup, CGamePopup::kOkButtonID);
    EXPECT_FALSE(popup.IsOnStack());
    EXPECT_EQ(StoredOrder(), expected);
    CPlayerDatabase* pFirst = m_pHuman->GetSheetPlayer(expected[0]);
    EXPECT_EQ(m_pHuman->GetSetPiecePlayer(SAVEGAME_PENALTY_TAKER), pFirst) << "the first kicker takes the penalties";
    EXPECT_EQ(m_pScreen->GetRowPlayer(Screen::ID_SETPIECE_EIGHTH, 0), pFirst) << "the screen's penalty list shows him";

    // Carried to the display's bottom right corner the row is cut there.
    ClickControl(*this, *m_pScreen, Screen::ID_PENALTY_TAKERS);
    ASSERT_TRUE(popup.IsOnStack());
    pList = popup.GetList();
    ASSERT_NE(pList, nullptr);
    const auto from = RowPoint(popup, *pList, 2);
    Send(plat::WM_MOUSEMOVE, from[0], from[1]);
    Send(plat::WM_LBUTTONDOWN, from[0], from[1]);
    Send(plat::WM_MOUSEMOVE, 760, 580);
    m_game.Update();
    const plat::Rect rc = popup.GetLastDragRect();
    EXPECT_EQ(rc.left, 762);
    EXPECT_EQ(rc.right, 800);
    EXPECT_EQ(rc.top, 596);
    EXPECT_EQ(rc.bottom, 600);
    Shoot("penaltytakers_corner.png");
    Send(plat::WM_LBUTTONUP, 760, 580);
    ClickControl(*this, popup, CGamePopup::kCancelButtonID);
    EXPECT_EQ(StoredOrder(), expected);
}

TEST_F(TakersAndRules, AStartersRoleIsChosenInThePopupAndTheKeepersRowStaysOut)
{
    const CXListBoxEx* pStarters = m_pScreen->GetList(Screen::ID_STARTERS);
    ASSERT_NE(pStarters, nullptr);
    CPlayerDatabase* pMoved = m_pHuman->GetSheetPlayer(8);
    ASSERT_EQ(m_pHuman->GetWorkingEntry(8).byOrder, 10) << "4-4-2's right midfielder";
    const auto role8 = RowPoint(*m_pScreen, *pStarters, 8, 247);
    DoubleClick(role8[0], role8[1]);
    CPopupPlayerRole& popup = m_pScreen->GetRolePopup();
    ASSERT_TRUE(popup.IsOnStack());
    EXPECT_EQ(popup.GetPlayer(), pMoved);
    EXPECT_EQ(popup.GetStartingRole(), 10);
    EXPECT_EQ(popup.GetCurrentList(), CPopupPlayerRole::ID_MIDFIELD_LIST);
    EXPECT_EQ(popup.GetSelectedRole(), 10);
    Shoot("playerrole.png");

    // OK on the role he plays changes nothing and is told as a cancel.
    ClickControl(*this, popup, CGamePopup::kOkButtonID);
    EXPECT_FALSE(popup.IsOnStack());
    EXPECT_EQ(popup.m_dwResultID, CGamePopup::kCancelButtonID);
    EXPECT_EQ(m_pHuman->GetWorkingEntry(8).byOrder, 10);
    EXPECT_STREQ(m_pHuman->GetFormationName(), "4-4-2");

    // An outfield place cannot go in goal: the keeper's row is neither
    // chosen by a click nor confirmed by a double click.
    DoubleClick(role8[0], role8[1]);
    ASSERT_TRUE(popup.IsOnStack());
    const CXListBox* pKeeper = popup.GetList(CPopupPlayerRole::ID_KEEPER_LIST);
    ASSERT_NE(pKeeper, nullptr);
    EXPECT_FALSE(pKeeper->IsRowEnabled(0));
    const auto keeper = RowPoint(popup, *pKeeper, 0);
    DoubleClick(keeper[0], keeper[1]);
    EXPECT_TRUE(popup.IsOnStack());
    EXPECT_EQ(popup.GetSelectedRole(), 10);

    // A centre forward: 4-3-3, with him among the forwards.
    const CXListBox* pAttack = popup.GetList(CPopupPlayerRole::ID_ATTACK_LIST);
    ASSERT_NE(pAttack, nullptr);
    const auto forward = RowPoint(popup, *pAttack, 14 - 12);
    Click(forward[0], forward[1]);
    EXPECT_EQ(popup.GetCurrentList(), CPopupPlayerRole::ID_ATTACK_LIST);
    EXPECT_EQ(popup.GetSelectedRole(), 14);
    Shoot("playerrole_forward.png");
    ClickControl(*this, popup, CGamePopup::kOkButtonID);
    EXPECT_FALSE(popup.IsOnStack());
    EXPECT_EQ(popup.m_dwResultID, CGamePopup::kOkButtonID);
    EXPECT_STREQ(m_pHuman->GetFormationName(), "4-3-3");
    EXPECT_EQ(m_pScreen->GetTeamRole(pMoved), 14);
    EXPECT_EQ(pMoved->m_byRole, pMoved->m_byRoleCopy) << "his natural role is not the team's to change";

    // Cancel after a choice leaves the sheet; a double click confirms at once.
    CPlayerDatabase* pBack = m_pHuman->GetSheetPlayer(2);
    const int nBackRole = m_pHuman->GetWorkingEntry(2).byOrder;
    const auto role2 = RowPoint(*m_pScreen, *pStarters, 2, 247);
    DoubleClick(role2[0], role2[1]);
    ASSERT_TRUE(popup.IsOnStack());
    Click(forward[0], forward[1]);
    ClickControl(*this, popup, CGamePopup::kCancelButtonID);
    EXPECT_EQ(popup.m_dwResultID, CGamePopup::kCancelButtonID);
    EXPECT_EQ(m_pHuman->GetSheetPlayer(2), pBack);
    EXPECT_EQ(m_pHuman->GetWorkingEntry(2).byOrder, nBackRole);

    // Opened for a role that may be the keeper's, his row is a choice too.
    ASSERT_TRUE(popup.Show(1, pBack, nBackRole));
    m_game.Update();
    pKeeper = popup.GetList(CPopupPlayerRole::ID_KEEPER_LIST);
    ASSERT_NE(pKeeper, nullptr);
    EXPECT_TRUE(pKeeper->IsRowEnabled(0));
    DoubleClick(keeper[0], keeper[1]);
    EXPECT_FALSE(popup.IsOnStack());
    EXPECT_EQ(popup.GetChosenRole(), 0);
    EXPECT_EQ(popup.m_dwResultID, CGamePopup::kOkButtonID);
    EXPECT_EQ(m_pHuman->GetWorkingEntry(2).byOrder, nBackRole) << "the screen asked for no role: it keeps the sheet";
}

}  // namespace
