// The pitch tactics screen on a game in play, driven with the mouse as a
// manager drives it: markers dragged and swapped, roles changed by the
// areas, a group move undone in one step, the ball dragged between zones,
// free-kick routines, and formations and set pieces saved, overwritten,
// chosen again and deleted through the save tactics popup. The human's
// working formation (which the next match plays) is the witness.
#include "ScreenInPlay.h"

#include "popups/CPopupMatchRules.h"
#include "popups/CPopupMessageBox.h"
#include "popups/CPopupPlayerMatchOrders.h"
#include "popups/CPopupSaveTactics.h"
#include "popups/CPopupTeamMatchOrders.h"
#include "screens/CClientPitchTactics.h"
#include "shell/CGamePopup.h"
#include "shell/ScreenIDs.h"

#include "database/CPlayerDatabase.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "platform/Messages.h"
#include "season/CSaveGame.h"
#include "season/CTacticsFileManager.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXEdit.h"
#include "xframework/CXListBox.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using Screen = CClientPitchTactics;
using B = CPitchTacticsBoard;
namespace fs = std::filesystem;

class PitchTactics : public ScreenInPlay {
protected:
    void SetUp() override
    {
        ScreenInPlay::SetUp();
        fs::create_directories("Data/Saves");
        m_pScreen = dynamic_cast<Screen*>(GetScreenObject(SCREEN_PITCH_TACTICS));
        ASSERT_NE(m_pScreen, nullptr) << "the screen is not registered";
        OpenScreen(SCREEN_PITCH_TACTICS);
    }

    void Press(int x, int y, uint32_t flags = 0)
    {
        m_pScreen->OnLButtonDown(flags, x, y);
        m_pScreen->OnLButtonUp(flags, x, y);
        m_game.Update();
    }
    void Drag(int x0, int y0, int x1, int y1, uint32_t flags = 0, const char* pszShot = nullptr)
    {
        m_pScreen->OnLButtonDown(flags, x0, y0);
        m_pScreen->OnMouseMove(plat::MK_LBUTTON | flags, (x0 + x1) / 2, (y0 + y1) / 2);
        m_pScreen->OnMouseMove(plat::MK_LBUTTON | flags, x1, y1);
        if (pszShot)
            Shoot(pszShot);
        m_pScreen->OnLButtonUp(flags, x1, y1);
        m_game.Update();
    }
    void RightDrag(int x0, int y0, int x1, int y1)
    {
        m_pScreen->OnRButtonDown(0, x0, y0);
        m_pScreen->OnMouseMove(plat::MK_RBUTTON, x1, y1);
        m_pScreen->OnRButtonUp(0, x1, y1);
        m_game.Update();
    }
    CXComboBox* Combo(uint32_t dwID) { return dynamic_cast<CXComboBox*>(m_pScreen->FindControl(dwID)); }
    void ChooseMode(int nMode)
    {
        CXComboBox* pModes = Combo(Screen::ID_MODES);
        ASSERT_NE(pModes, nullptr);
        for (int nRow = 0; nRow < pModes->GetCount(); ++nRow)
            if (static_cast<int>(pModes->GetItemData(nRow)) == nMode) {
                pModes->SetCurSel(nRow);
                m_game.Update();
                return;
            }
        FAIL() << "mode " << nMode << " is not offered";
    }
    void ChooseFormation(const char* pszName)
    {
        CXComboBox* pList = Combo(Screen::ID_FORMATIONS);
        ASSERT_NE(pList, nullptr);
        char szText[LISTBOX_ROW_TEXT_SIZE];
        for (int nRow = 0; nRow < pList->GetCount(); ++nRow) {
            pList->GetColumnText(nRow, 0, szText);
            if (std::string(szText) == pszName) {
                pList->SetCurSel(nRow);
                m_game.Update();
                return;
            }
        }
        FAIL() << pszName << " is not listed";
    }
    bool IsInUse(const CXPopup& popup, uint32_t dwID)
    {
        const auto* pButton = dynamic_cast<const CXButton*>(popup.FindControl(dwID));
        return pButton && !pButton->m_bDisabled && pButton->m_bVisible;
    }
    // Saves through the popup: the save button, a name typed, OK.
    CPopupSaveTactics& OpenSave()
    {
        m_pScreen->OnClicked(Screen::ID_SAVE);
        m_game.Update();
        CPopupSaveTactics* pPopup = m_pScreen->GetSaveTacticsPopup();
        EXPECT_TRUE(pPopup && pPopup->IsOnStack());
        return *pPopup;
    }
    void TypeName(CPopupSaveTactics& popup, const char* pszName)
    {
        auto* pEdit = dynamic_cast<CXEdit*>(popup.FindControl(CPopupSaveTactics::ID_NAME));
        ASSERT_NE(pEdit, nullptr);
        pEdit->SetText("%s", "");
        for (const char* p = pszName; *p; ++p)
            pEdit->OnChar(static_cast<unsigned char>(*p), 1, 0);
    }
    void AnswerBox(uint32_t dwButton)
    {
        CGameMessageBox* pBox = GetGameMessageBox();
        ASSERT_TRUE(pBox && pBox->IsOnStack());
        pBox->OnClicked(dwButton);
        m_game.Update();
    }
    int PlaceOf(const CPlayerDatabase* pPlayer)
    {
        for (int i = 0; i < SAVEGAME_LINEUP; ++i)
            if (m_pHuman->GetSheetPlayer(i) == pPlayer)
                return i;
        return -1;
    }
    // The centre of a role's area.
    static plat::Point AreaCentre(int nRole)
    {
        const plat::Rect rc = B::GetRoleArea(nRole);
        return plat::Point{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    }
    // An outfield starter whose role is one of the given range.
    int FirstStarterWithRole(int nFrom, int nTo)
    {
        uint8_t abyRoles[B::kPlayers];
        m_pScreen->GetBoard().GetRoles(abyRoles);
        for (int i = 1; i < B::kPlayers; ++i)
            if (abyRoles[i] >= nFrom && abyRoles[i] <= nTo)
                return i;
        return -1;
    }
    void LeaveScreen() { OpenScreen(SCREEN_TEAM_SELECTION); }

    Screen* m_pScreen = nullptr;
};

TEST_F(PitchTactics, MovingAPlayerInHisAreaShapesTheFormationTheNextMatchPlays)
{
    Shoot("tactics_formation.png");
    EXPECT_EQ(m_pScreen->GetMode(), PITCHTACTICS_MODE_FORMATION);
    EXPECT_FALSE(m_pHuman->IsCustomFormationInUse());
    const int i = FirstStarterWithRole(8, 10);
    ASSERT_GE(i, 0) << "the formation has a midfielder";
    uint8_t abyRoles[B::kPlayers];
    m_pScreen->GetBoard().GetRoles(abyRoles);
    const CPlayerDatabase* pPlayer = m_pHuman->GetSheetPlayer(i);
    const BOARDPOINT from = m_pScreen->GetBoard().m_aBase[i];
    const plat::Point to = AreaCentre(abyRoles[i]);
    Drag(from.x, from.y, to.x + 3, to.y - 4, 0, "tactics_dragging.png");
    EXPECT_EQ(m_pScreen->GetBoard().m_aBase[i], (BOARDPOINT{int16_t(to.x + 3), int16_t(to.y - 4)}));
    EXPECT_EQ(m_pScreen->GetUndoCount(), 1u);
    EXPECT_TRUE(m_pHuman->IsCustomFormationInUse()) << "the first change makes the formation the manager's own";
    EXPECT_FALSE(GetGameMessageBox()->IsOnStack()) << "no role changed";

    // Leaving the screen stores the board in the human's working formation.
    LeaveScreen();
    const int nPlace = PlaceOf(pPlayer);
    ASSERT_GE(nPlace, 0);
    EXPECT_EQ(m_pHuman->GetWorkingEntry(nPlace).wX, to.x + 3);
    EXPECT_EQ(m_pHuman->GetWorkingEntry(nPlace).wY, to.y - 4);
    EXPECT_EQ(m_pHuman->GetWorkingEntry(nPlace).byOrder, abyRoles[i]);
    EXPECT_EQ(m_pHuman->GetCustomFormation().aEntries[nPlace].wX, to.x + 3) << "the custom record follows";
    // The board loads it back as it was left.
    OpenScreen(SCREEN_PITCH_TACTICS);
    EXPECT_EQ(m_pScreen->GetBoard().m_aBase[nPlace], (BOARDPOINT{int16_t(to.x + 3), int16_t(to.y - 4)}));
}

TEST_F(PitchTactics, ADefenderDroppedUpFrontBecomesACentreForwardAndTheZonesStartAgain)
{
    const int i = FirstStarterWithRole(1, 6);
    ASSERT_GE(i, 0);
    const CPlayerDatabase* pDefender = m_pHuman->GetSheetPlayer(i);
    const BOARDPOINT from = m_pScreen->GetBoard().m_aBase[i];
    const plat::Point forward = AreaCentre(14);
    Drag(from.x, from.y, forward.x, forward.y);
    uint8_t abyRoles[B::kPlayers];
    m_pScreen->GetBoard().GetRoles(abyRoles);
    EXPECT_EQ(abyRoles[i], 14);
    CGameMessageBox* pBox = GetGameMessageBox();
    ASSERT_TRUE(pBox->IsOnStack());
    EXPECT_EQ(pBox->GetTextItem(), Screen::MESSAGE_ROLES_CHANGED);
    Shoot("tactics_role_changed.png");
    AnswerBox(CGamePopup::kOkButtonID);
    // Every zone place of everybody is his base point again.
    const B& board = m_pScreen->GetBoard();
    for (int e : {0, 12, 24, int(B::ENTRY_KICK_OFF)})
        for (int s = 0; s < B::kSets; ++s)
            for (int j = 0; j < B::kPlayers; ++j)
                ASSERT_EQ(board.m_aZone[e][s][j], board.m_aBase[j]) << "entry " << e << " set " << s << " player " << j;

    // A second role change in the same visit asks nothing.
    const int k = FirstStarterWithRole(7, 11);
    ASSERT_GE(k, 0);
    const plat::Point wing = AreaCentre(12);
    Drag(board.m_aBase[k].x, board.m_aBase[k].y, wing.x, wing.y);
    EXPECT_FALSE(pBox->IsOnStack());

    // Stored, the places are sorted by role and the defender plays up front.
    LeaveScreen();
    const int nPlace = PlaceOf(pDefender);
    ASSERT_GE(nPlace, 0);
    EXPECT_EQ(m_pHuman->GetWorkingEntry(nPlace).byOrder, 14);
    for (int j = 1; j < SAVEGAME_LINEUP; ++j)
        EXPECT_LE(m_pHuman->GetWorkingEntry(j - 1).byOrder, m_pHuman->GetWorkingEntry(j).byOrder) << "place " << j;
    EXPECT_EQ(m_pHuman->GetWorkingBlock(nPlace).anFirst[12][0], forward.x - 100);
    EXPECT_EQ(pDefender->m_byRole, pDefender->m_byRoleCopy) << "the player's own role is left alone";
}

TEST_F(PitchTactics, SelectingDraggingAGroupAndUndoingItInOneStep)
{
    ChooseMode(PITCHTACTICS_MODE_MARKING);
    ASSERT_EQ(m_pScreen->GetMode(), PITCHTACTICS_MODE_MARKING);
    const B& board = m_pScreen->GetBoard();
    const int nZone = m_pScreen->GetBallZone();
    const int nSet = m_pScreen->GetSet();
    const BOARDPOINT a = board.m_aZone[nZone][nSet][3], b = board.m_aZone[nZone][nSet][7];
    const BOARDPOINT c = board.m_aZone[nZone][nSet][9];
    // A plain click chooses one player; Ctrl adds, and Ctrl on a chosen one keeps the others.
    Press(a.x, a.y);
    EXPECT_EQ(m_pScreen->GetSelection(), 1u << 3);
    Press(b.x, b.y, plat::MK_CONTROL);
    EXPECT_EQ(m_pScreen->GetSelection(), (1u << 3) | (1u << 7));
    Press(a.x, a.y, plat::MK_CONTROL);
    EXPECT_EQ(m_pScreen->GetSelection(), (1u << 3) | (1u << 7));
    // Dragging one of them moves both.
    Drag(a.x, a.y, a.x + 20, a.y + 10, 0, "tactics_group.png");
    EXPECT_EQ(board.m_aZone[nZone][nSet][3], (BOARDPOINT{int16_t(a.x + 20), int16_t(a.y + 10)}));
    EXPECT_EQ(board.m_aZone[nZone][nSet][7], (BOARDPOINT{int16_t(b.x + 20), int16_t(b.y + 10)}));
    EXPECT_EQ(board.m_aZone[nZone][nSet][9], c) << "not chosen, not moved";
    // Undo, with the mode change before it still on the list.
    const size_t nSteps = m_pScreen->GetUndoCount();
    m_pScreen->OnClicked(Screen::ID_UNDO);
    EXPECT_EQ(board.m_aZone[nZone][nSet][3], a);
    EXPECT_EQ(board.m_aZone[nZone][nSet][7], b);
    EXPECT_EQ(m_pScreen->GetUndoCount(), nSteps - 2) << "the two records of one step";
    EXPECT_EQ(m_pScreen->GetMode(), PITCHTACTICS_MODE_MARKING);
    // A plain click on a player not chosen chooses him alone.
    Press(c.x, c.y);
    EXPECT_EQ(m_pScreen->GetSelection(), 1u << 9);
    // Undo all, after the question, goes back to the formation mode.
    m_pScreen->OnClicked(Screen::ID_UNDO_ALL);
    AnswerBox(CGamePopup::kOkButtonID);
    EXPECT_EQ(m_pScreen->GetUndoCount(), 0u);
    EXPECT_EQ(m_pScreen->GetMode(), PITCHTACTICS_MODE_FORMATION);
}

TEST_F(PitchTactics, TheOrdersAndRulesButtonsOpenTheirPopupsAndPlayerOrdersGoToEverySelectedPlace)
{
    const auto* pOrders = dynamic_cast<const CXButton*>(m_pScreen->FindControl(Screen::ID_PLAYER_ORDERS));
    ASSERT_NE(pOrders, nullptr);
    EXPECT_TRUE(pOrders->m_bDisabled) << "no place is selected";

    // Two places with different orders: the popup shows their average
    // (truncated), and OK gives it to both.
    for (int i = 0; i < SAVEGAME_TEAM_ORDERS; ++i) {
        m_pHuman->SetTeamOrderAdjustment(3, i, -10);
        m_pHuman->SetTeamOrderAdjustment(7, i, 5);
        m_pHuman->SetTeamOrderAdjustment(9, i, 20);
    }
    const BOARDPOINT a = m_pScreen->GetBoard().m_aBase[3], b = m_pScreen->GetBoard().m_aBase[7];
    Press(a.x, a.y);
    Press(b.x, b.y, plat::MK_CONTROL);
    ASSERT_EQ(m_pScreen->GetSelection(), (1u << 3) | (1u << 7));
    EXPECT_FALSE(pOrders->m_bDisabled) << "places are selected";
    m_pScreen->OnClicked(Screen::ID_PLAYER_ORDERS);
    m_game.Update();
    CPopupPlayerMatchOrders* pPlayerPopup = m_pScreen->GetPlayerOrdersPopup();
    ASSERT_TRUE(pPlayerPopup && pPlayerPopup->IsOnStack());
    Shoot("tactics_player_orders.png");
    pPlayerPopup->OnClicked(CGamePopup::kOkButtonID);
    m_game.Update();
    EXPECT_FALSE(pPlayerPopup->IsOnStack());
    for (int i = 0; i < SAVEGAME_TEAM_ORDERS; ++i) {
        EXPECT_EQ(m_pHuman->GetTeamOrderAdjustment(3, i), -2) << "order " << i;
        EXPECT_EQ(m_pHuman->GetTeamOrderAdjustment(7, i), -2) << "order " << i;
        EXPECT_EQ(m_pHuman->GetTeamOrderAdjustment(9, i), 20) << "not selected, not changed";
    }
    // Cancel after a reset leaves the places alone.
    m_pScreen->OnClicked(Screen::ID_PLAYER_ORDERS);
    m_game.Update();
    ASSERT_TRUE(pPlayerPopup->IsOnStack());
    pPlayerPopup->OnClicked(CPopupPlayerMatchOrders::ID_RESET);
    pPlayerPopup->OnClicked(CGamePopup::kCancelButtonID);
    m_game.Update();
    EXPECT_EQ(m_pHuman->GetTeamOrderAdjustment(3, 0), -2);

    m_pScreen->OnClicked(Screen::ID_TEAM_ORDERS);
    m_game.Update();
    CPopupTeamMatchOrders* pTeamPopup = m_pScreen->GetTeamOrdersPopup();
    ASSERT_TRUE(pTeamPopup && pTeamPopup->IsOnStack());
    Shoot("tactics_team_orders.png");
    pTeamPopup->OnClicked(CGamePopup::kCancelButtonID);
    m_game.Update();
    EXPECT_FALSE(pTeamPopup->IsOnStack());

    m_pScreen->OnClicked(Screen::ID_MATCH_RULES);
    m_game.Update();
    CPopupMatchRules& rules = m_pScreen->GetRulesPopup();
    ASSERT_TRUE(rules.IsOnStack());
    EXPECT_GT(rules.GetRules().bySubstitutions, 0) << "the next match's rules, not an empty record";
    Shoot("tactics_rules.png");
    rules.OnClicked(CGamePopup::kOkButtonID);
    m_game.Update();
    EXPECT_FALSE(rules.IsOnStack());
}

TEST_F(PitchTactics, TheBallDraggedBetweenZonesPlacesTheTeamAndSettlesOnAZone)
{
    EXPECT_FALSE(m_pScreen->IsModeAvailable(PITCHTACTICS_MODE_SUBSTITUTIONS)) << "substitutions only in a match";
    m_pScreen->DoModeChange(PITCHTACTICS_MODE_SUBSTITUTIONS, true);
    EXPECT_EQ(m_pScreen->GetMode(), PITCHTACTICS_MODE_FORMATION);
    ChooseMode(PITCHTACTICS_MODE_RANGES);
    EXPECT_EQ(m_pScreen->GetBallZone(), 12);
    const BOARDPOINT ball = m_pScreen->GetBallPoint();
    const BOARDPOINT target = B::GetZoneCentre(8);
    // With the opposition in front no own marker is in the way of the
    // ball; the own team behind shows the other set.
    m_pScreen->OnClicked(Screen::ID_SHOW_OWN);
    const int nOwnSet = m_pScreen->GetSet() ^ 1;
    // Held at zone 8's centre the markers stand as that zone puts them.
    m_pScreen->OnLButtonDown(0, ball.x, ball.y);
    m_pScreen->OnMouseMove(plat::MK_LBUTTON, target.x, target.y);
    Shoot("tactics_ball.png");
    const B& board = m_pScreen->GetBoard();
    for (int i = 1; i < B::kPlayers; ++i)
        EXPECT_EQ(m_pScreen->GetMarkerPoint(i), board.m_aZone[8][nOwnSet][i]) << "player " << i;
    m_pScreen->OnLButtonUp(0, target.x, target.y);
    EXPECT_EQ(m_pScreen->GetBallZone(), 8);
    // Dropped off the pitch the ball goes back.
    m_pScreen->OnLButtonDown(0, target.x, target.y);
    m_pScreen->OnMouseMove(plat::MK_LBUTTON, 560, 200);
    m_pScreen->OnLButtonUp(0, 560, 200);
    EXPECT_EQ(m_pScreen->GetBallZone(), 8);
    m_pScreen->OnClicked(Screen::ID_SHOW_OPPOSITION);
    // A range handle dragged: 30-200 pixels.
    const BOARDPOINT p = board.m_aZone[8][m_pScreen->GetSet()][4];
    Press(p.x, p.y);
    const int nRange = board.m_anRange[4];
    Drag(p.x + nRange, p.y, p.x + 400, p.y);
    EXPECT_EQ(board.m_anRange[4], B::kRangeMax);
    Drag(p.x + B::kRangeMax, p.y, p.x + 5, p.y);
    EXPECT_EQ(board.m_anRange[4], B::kRangeMin);
}

TEST_F(PitchTactics, AFreeKickRoutineKeepsItsPlacesPathAndTakerAndIsSavedAsASet)
{
    ChooseMode(PITCHTACTICS_MODE_FREE_KICKS);
    ASSERT_EQ(m_pScreen->GetMode(), PITCHTACTICS_MODE_FREE_KICKS);
    EXPECT_EQ(m_pScreen->GetFreeKickArea(), 12);
    SETPIECEROUTINE* pRoutine = m_pScreen->GetCurrentRoutine();
    ASSERT_NE(pRoutine, nullptr);
    *pRoutine = SETPIECEROUTINE();
    m_pScreen->SetFreeKick(12, 0, false);
    // A player moved; the keeper can be moved for a set piece too.
    const BOARDPOINT p = m_pScreen->GetBoard().m_aSetPiece[6];
    Press(p.x, p.y);
    Drag(p.x, p.y, 450, 150);
    EXPECT_EQ(m_pScreen->GetBoard().m_aSetPiece[6], (BOARDPOINT{450, 150}));
    // The ball's path: from the ball to player 6, then to a free point.
    const BOARDPOINT ball = m_pScreen->GetBallPoint();
    RightDrag(ball.x, ball.y, 450, 150);
    m_pScreen->OnRButtonDown(0, 450, 150);
    m_pScreen->OnRButtonUp(0, 470, 120);
    ASSERT_EQ(pRoutine->byTargetCount, 3);
    EXPECT_EQ(pRoutine->awTargetX[1], 0xFFFF);
    EXPECT_EQ(pRoutine->awTargetY[1], 6);
    EXPECT_EQ(pRoutine->awTargetX[2], 470);
    // A player dropped on the taker box takes the kick and goes back.
    const BOARDPOINT q = m_pScreen->GetBoard().m_aSetPiece[9];
    Press(q.x, q.y);
    Drag(q.x, q.y, 30, 160);
    EXPECT_EQ(pRoutine->byTaker, 9);
    EXPECT_EQ(m_pScreen->GetBoard().m_aSetPiece[9], q);
    Shoot("tactics_free_kick.png");
    // Dropping the ball in the penalty area keeps the kick where it is
    // (the opposition in front, so that no own marker is grabbed).
    m_pScreen->OnClicked(Screen::ID_SHOW_OWN);
    Drag(ball.x, ball.y, 470, 150);
    EXPECT_EQ(m_pScreen->GetFreeKickArea(), 12);
    // Another area: the routine in hand keeps its moved player.
    Drag(ball.x, ball.y, 420, 150);
    EXPECT_EQ(m_pScreen->GetFreeKickArea(), 21);
    const SETPIECEROUTINE& kept = m_pHuman->FreeKickRoutine(12, 0);
    ASSERT_TRUE(kept.bHasPoints);
    EXPECT_EQ(kept.awPoints[6][0], 450);

    // Saved as a set and read back through the list.
    CPopupSaveTactics& popup = OpenSave();
    EXPECT_EQ(popup.GetKind(), SAVEDIALOG_FREE_KICKS);
    TypeName(popup, "Near.post");
    popup.OnClicked(CGamePopup::kOkButtonID);
    m_game.Update();
    EXPECT_FALSE(popup.IsOnStack());
    ASSERT_TRUE(fs::exists("Data/Saves/Near.frk")) << "saved under the part before the full stop";
    EXPECT_NE(CTacticsFileManager::FindFreeKickSet("Near"), nullptr);
    m_pHuman->FreeKickRoutine(12, 0) = SETPIECEROUTINE();
    CXComboBox* pSets = Combo(Screen::ID_FREE_KICKS);
    ASSERT_NE(pSets, nullptr);
    char szText[LISTBOX_ROW_TEXT_SIZE];
    for (int nRow = 0; nRow < pSets->GetCount(); ++nRow) {
        pSets->GetColumnText(nRow, 0, szText);
        if (std::string(szText) == "Near")
            pSets->SetCurSel(nRow);
    }
    EXPECT_TRUE(m_pHuman->FreeKickRoutine(12, 0).bHasPoints);
    EXPECT_EQ(m_pHuman->FreeKickRoutine(12, 0).byTaker, 9);
    EXPECT_EQ(m_pHuman->FreeKickRoutine(12, 0).byTargetCount, 3);
}

TEST_F(PitchTactics, AFormationIsSavedChosenAgainOverwrittenAndDeletedThroughThePopup)
{
    const int i = FirstStarterWithRole(8, 10);
    ASSERT_GE(i, 0);
    uint8_t abyRoles[B::kPlayers];
    m_pScreen->GetBoard().GetRoles(abyRoles);
    const BOARDPOINT from = m_pScreen->GetBoard().m_aBase[i];
    const plat::Point to = AreaCentre(abyRoles[i]);
    Drag(from.x, from.y, to.x, to.y + 5);

    CPopupSaveTactics& popup = OpenSave();
    EXPECT_EQ(popup.GetKind(), SAVEDIALOG_FORMATION);
    EXPECT_EQ(popup.GetList()->GetCount(), 0) << "nothing saved yet";
    EXPECT_FALSE(IsInUse(popup, CPopupSaveTactics::ID_DELETE));
    EXPECT_FALSE(IsInUse(popup, CGamePopup::kOkButtonID)) << "no name, no save";
    // A shipped formation's name is refused.
    TypeName(popup, "4-4-2");
    popup.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_EQ(GetGameMessageBox()->GetTextItem(), CPopupSaveTactics::MESSAGE_BUILT_IN_NAME);
    AnswerBox(CGamePopup::kOkButtonID);
    EXPECT_TRUE(popup.IsOnStack());
    TypeName(popup, "Diamond");
    Shoot("tactics_save_popup.png");
    popup.OnClicked(CGamePopup::kOkButtonID);
    m_game.Update();
    ASSERT_FALSE(popup.IsOnStack());
    ASSERT_TRUE(fs::exists("Data/Saves/Diamond.ct"));
    EXPECT_STREQ(m_pHuman->GetFormationName(), "Diamond");
    EXPECT_FALSE(m_pHuman->IsCustomFormationInUse());
    const FORMATIONRECORD* pSaved = CTacticsFileManager::FindFormation("Diamond");
    ASSERT_NE(pSaved, nullptr);
    EXPECT_EQ(m_pHuman->GetCurrentFormation(), pSaved);
    const BOARDPOINT saved = m_pScreen->GetBoard().m_aBase[i];
    EXPECT_EQ(saved, (BOARDPOINT{int16_t(to.x), int16_t(to.y + 5)}));

    // Another formation, then the saved one again from the list.
    ChooseFormation("4-4-2");
    EXPECT_STREQ(m_pHuman->GetFormationName(), "4-4-2");
    ChooseFormation("Diamond");
    EXPECT_EQ(m_pScreen->GetBoard().m_aBase[i], saved);

    // Saving over it asks first; OK closes with the name.
    CPopupSaveTactics& again = OpenSave();
    ASSERT_EQ(again.GetList()->GetCount(), 1);
    EXPECT_EQ(again.GetTypedName(), "Diamond") << "the listed file's name is proposed";
    const auto* pOffered = dynamic_cast<const CXEdit*>(again.FindControl(CPopupSaveTactics::ID_NAME));
    ASSERT_NE(pOffered, nullptr);
    EXPECT_TRUE(pOffered->IsAllChosen()) << "offered chosen, for a name typed to replace it";
    again.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_EQ(GetGameMessageBox()->GetTextItem(), CPopupSaveTactics::MESSAGE_OVERWRITE);
    AnswerBox(CGamePopup::kOkButtonID);
    EXPECT_FALSE(again.IsOnStack());
    EXPECT_EQ(again.m_dwResultID, CGamePopup::kOkButtonID);

    // Deleting the formation in use hands over to the first listed one.
    CPopupSaveTactics& last = OpenSave();
    last.OnClicked(CPopupSaveTactics::ID_DELETE);
    EXPECT_EQ(GetGameMessageBox()->GetTextItem(), CPopupSaveTactics::MESSAGE_DELETE);
    AnswerBox(CGamePopup::kOkButtonID);
    EXPECT_FALSE(fs::exists("Data/Saves/Diamond.ct"));
    EXPECT_EQ(last.GetList()->GetCount(), 0);
    EXPECT_FALSE(IsInUse(last, CPopupSaveTactics::ID_DELETE));
    EXPECT_EQ(CTacticsFileManager::FindFormation("Diamond"), nullptr);
    const FORMATIONRECORD* pFirst =
        static_cast<const FORMATIONRECORD*>(CTacticsFileManager::GetFormations()->GetAt(0)->pData);
    EXPECT_EQ(m_pHuman->GetCurrentFormation(), pFirst);
    last.OnClicked(CGamePopup::kCancelButtonID);
    m_game.Update();
    EXPECT_FALSE(last.IsOnStack());
}

TEST_F(PitchTactics, SubstitutionCellsStartEmptyWhenAMatchBegins)
{
    m_pScreen->ResetGrid();
    for (int nSide = 0; nSide < 2; ++nSide)
        for (int k = 0; k < B::kSubstitutes; ++k)
            EXPECT_EQ(m_pScreen->GetGridCell(nSide, k).byReplaced, 255);
    EXPECT_EQ(m_pScreen->GetGridCell(2, 0).byReplaced, 255) << "a side outside the two reads as empty";
    EXPECT_EQ(m_pScreen->GetGridCell(0, 7).byReplaced, 255);
}

}  // namespace

namespace {

// The screen opened from a running match of the human's club.
class PitchTacticsInMatch : public ScreenInPlay {
protected:
    void SetUp() override
    {
        ScreenInPlay::SetUp();
        m_pScreen = dynamic_cast<Screen*>(GetScreenObject(SCREEN_PITCH_TACTICS));
        ASSERT_NE(m_pScreen, nullptr);
        const int32_t nOpponent = m_pHuman->GetNextFixture(nullptr, nullptr, nullptr, nullptr);
        ASSERT_GE(nOpponent, 0) << "the human's club has a next match";
        ITEMMATCHRULESINFORMATION rules;
        rules.abyRules[1] = 2;  // substitutions allowed
        rules.abyRules[2] = 5;  // substitutes named
        const uint32_t dwSeed = 5;
        ASSERT_TRUE(g_MatchEngine.StartGame(*Database(), m_pClub->m_wClubId, static_cast<ID_CLUB>(nOpponent), 0, rules,
                                            0, &dwSeed));
    }
    void TearDown() override
    {
        if (g_MatchEngine.IsMatchBuilt())
            g_MatchEngine.EndGame();
        g_MatchEngine.SetMatchState(MATCHSTATE_NONE);
        ScreenInPlay::TearDown();
    }
    Screen* m_pScreen = nullptr;
};

TEST_F(PitchTacticsInMatch, SubstitutesAreAssignedOnACopyOfTheElevenWithinTheAllowance)
{
    g_MatchEngine.SetMatchState(MATCHSTATE_STARTED);
    std::vector<CPlayerDatabase*> eleven;
    for (int i = 0; i < SAVEGAME_LINEUP; ++i)
        eleven.push_back(m_pHuman->GetSheetPlayer(i));
    OpenScreen(SCREEN_PITCH_TACTICS);
    EXPECT_EQ(m_pScreen->GetMode(), PITCHTACTICS_MODE_SUBSTITUTIONS);
    EXPECT_TRUE(m_pScreen->IsModeAvailable(PITCHTACTICS_MODE_SUBSTITUTIONS));
    ASSERT_NE(m_pScreen->GetTeamPlayer(B::kPlayers), nullptr) << "the bench is on the board";
    Shoot("tactics_match.png");
    // A substitute dragged onto a starter with the right button replaces him.
    auto assign = [this](int nSubstitute, int nStarter) {
        const BOARDPOINT from = m_pScreen->GetMarkerPoint(B::kPlayers + nSubstitute);
        const BOARDPOINT to = m_pScreen->GetMarkerPoint(nStarter);
        m_pScreen->OnRButtonDown(0, from.x, from.y);
        m_pScreen->OnMouseMove(plat::MK_RBUTTON, to.x, to.y);
        m_pScreen->OnRButtonUp(0, to.x, to.y);
    };
    const int nSide = g_MatchEngine.GetHomeClub()->GetSaveGame() == m_pHuman ? 0 : 1;
    assign(0, 5);
    EXPECT_EQ(m_pScreen->GetGridCell(nSide, 0).byReplaced, 5);
    // The same starter taken by another substitute is released by the first.
    assign(1, 5);
    EXPECT_EQ(m_pScreen->GetGridCell(nSide, 1).byReplaced, 5);
    EXPECT_EQ(m_pScreen->GetGridCell(nSide, 0).byReplaced, 255);
    // A substitute's marker dropped in the right-hand strip.
    const BOARDPOINT bench = m_pScreen->GetMarkerPoint(B::kPlayers + 2);
    m_pScreen->OnLButtonDown(0, bench.x, bench.y);
    m_pScreen->OnMouseMove(plat::MK_LBUTTON, 420, 320);
    m_pScreen->OnLButtonUp(0, 420, 320);
    m_game.Update();
    EXPECT_EQ(m_pScreen->GetGridCell(nSide, 2).byStrip, 1);
    EXPECT_EQ(m_pScreen->GetMarkerPoint(B::kPlayers + 2).x, 420);
    m_pScreen->Undo();
    m_game.Update();
    EXPECT_EQ(m_pScreen->GetGridCell(nSide, 2).byStrip, 0);
    EXPECT_EQ(m_pScreen->GetMarkerPoint(B::kPlayers + 2).x, bench.x);

    // Leaving hands the orders to the match and the eleven back to the sheet.
    OpenScreen(SCREEN_TEAM_SELECTION);
    EXPECT_TRUE(g_MatchEngine.IsMatchBuilt()) << "a running match goes on";
    for (int i = 0; i < SAVEGAME_LINEUP; ++i)
        EXPECT_EQ(m_pHuman->GetSheetPlayer(i), eleven[static_cast<size_t>(i)]) << "place " << i;
}

TEST_F(PitchTacticsInMatch, AMatchThatHasEndedIsFinishedWhenTheScreenIsLeft)
{
    g_MatchEngine.SetMatchState(MATCHSTATE_ENDED);
    OpenScreen(SCREEN_PITCH_TACTICS);
    EXPECT_TRUE(g_MatchEngine.IsMatchBuilt());
    OpenScreen(SCREEN_TEAM_SELECTION);
    EXPECT_FALSE(g_MatchEngine.IsMatchBuilt());
    EXPECT_EQ(g_MatchEngine.GetMatchState(), MATCHSTATE_NONE);
}

}  // namespace
