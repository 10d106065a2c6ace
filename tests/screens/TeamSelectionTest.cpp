// The team selection screen: its list and pitch arithmetic, and the screen
// on a game in play with one human manager, driven by the mouse as a person
// drives it, with the human's record and his next match as the witnesses.
#include "ScreenInPlay.h"

#include "screens/CClientTeamSelection.h"
#include "screens/GameScreens.h"
#include "shell/CGame.h"
#include "shell/CGameDay.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/CScreenRegistry.h"
#include "screens/CClientStartup.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "platform/PngWriter.h"
#include "platform/Window.h"
#include "season/CSaveGame.h"
#include "season/CTacticsFileManager.h"
#include "season/CupStructureTable.h"
#include "season/MatchRecords.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBoxEx.h"
#include "database/PersonOwners.h"
#include "shell/PlayerRowIcons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

using Screen = CClientTeamSelection;

TEST(TeamSelectionRules, ListSizesFollowTheSubstitutesNamedAndTheFitPlayers)
{
    const struct {
        int nNamed, nAvailable, nSubstitutes, nReserves;
    } cases[] = {
        {3, 25, 3, 11}, {5, 25, 5, 9}, {7, 25, 7, 7},
        // Twelve fit players with seven named: one on the bench, the
        // shortfall among the reserves (7 + 6 is capped at 13).
        {7, 12, 1, 13}, {7, 11, 0, 13}, {5, 14, 3, 11},
    };
    for (const auto& c : cases) {
        int nSubstitutes = -1, nReserves = -1;
        Screen::ComputeListSizes(c.nNamed, c.nAvailable, nSubstitutes, nReserves);
        EXPECT_EQ(nSubstitutes, c.nSubstitutes) << c.nNamed << " named, " << c.nAvailable << " fit";
        EXPECT_EQ(nReserves, c.nReserves) << c.nNamed << " named, " << c.nAvailable << " fit";
    }
}

TEST(TeamSelectionRules, DragRules)
{
    const struct {
        uint32_t dwFrom, dwTo;
        int nRule;
    } cases[] = {
        {61, 62, Screen::DRAG_EXCHANGE}, {61, 63, Screen::DRAG_EXCHANGE}, {62, 61, Screen::DRAG_EXCHANGE},
        {63, 62, Screen::DRAG_EXCHANGE}, {61, 64, Screen::DRAG_COPY},     {61, 68, Screen::DRAG_COPY},
        {65, 66, Screen::DRAG_COPY},     {61, 61, Screen::DRAG_REFUSED},  {62, 64, Screen::DRAG_REFUSED},
        {63, 67, Screen::DRAG_REFUSED},  {64, 61, Screen::DRAG_REFUSED},  {66, 63, Screen::DRAG_REFUSED},
        {65, 65, Screen::DRAG_REFUSED},  {60, 61, Screen::DRAG_REFUSED},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Screen::GetDragRule(c.dwFrom, c.dwTo), c.nRule) << c.dwFrom << " to " << c.dwTo;
}

TEST(TeamSelectionRules, FormationPointsAndRoleZonesOnThePitch)
{
    const struct {
        int x, y, nPitchX, nPitchY;
    } points[] = {{100, 4, 353, 273}, {105, 9, 355, 276}, {500, 304, 592, 453}, {300, 154, 472, 363}};
    for (const auto& p : points) {
        const plat::Point pitch = Screen::FormationToPitch(p.x, p.y);
        EXPECT_EQ(pitch.x, p.nPitchX) << p.x << "," << p.y;
        EXPECT_EQ(pitch.y, p.nPitchY) << p.x << "," << p.y;
    }
    const plat::Point back = Screen::PitchToFormation(480, 370);
    EXPECT_EQ(back.x, 300);
    EXPECT_EQ(back.y, 154);
    const struct {
        int nRole, l, t, r, b;
    } zones[] = {{0, 360, 339, 379, 399},  {3, 399, 339, 439, 399},  {4, 360, 399, 439, 459},
                 {9, 459, 339, 499, 399},  {13, 499, 399, 599, 459}, {15, 551, 339, 599, 399}};
    for (const auto& z : zones) {
        const plat::Rect rc = Screen::RoleZone(z.nRole);
        EXPECT_EQ((std::vector<int>{rc.left, rc.top, rc.right, rc.bottom}), (std::vector<int>{z.l, z.t, z.r, z.b}))
            << "role " << z.nRole;
    }
}

TEST(TeamSelectionRules, CustomLayoutStacksAndSplitsTheRolesOfAZone)
{
    // Keeper, two centre backs, three central midfielders and five strikers.
    const uint8_t abyRoles[11] = {0, 3, 3, 9, 9, 9, 15, 15, 15, 15, 15};
    const auto points = Screen::LayoutCustomFormation(abyRoles);
    // Centre backs: one column in the zone's centre (419, 369), 14 apart.
    EXPECT_EQ(points[1].x, 419 + 0);
    EXPECT_EQ(points[1].y, 369 + (14 - 28) / 2);
    EXPECT_EQ(points[2].x, points[1].x);
    EXPECT_EQ(points[2].y, points[1].y + 14);
    // Three midfielders: two columns, the third 14 right and 7 lower than the first.
    EXPECT_EQ(points[4].x, points[3].x);
    EXPECT_EQ(points[4].y, points[3].y + 14);
    EXPECT_EQ(points[5].x, points[3].x + 14);
    EXPECT_EQ(points[5].y, points[3].y + 7);
    // Five strikers: three rows; the second column starts at the fourth.
    EXPECT_EQ(points[9].x, points[6].x + 14);
    EXPECT_EQ(points[9].y, points[6].y + 7);
    // Every marker back in formation units lands on the pitch.
    for (const plat::Point& p : points) {
        const plat::Point f = Screen::PitchToFormation(p.x, p.y);
        EXPECT_GE(f.x, 100);
        EXPECT_LE(f.x, 500);
        EXPECT_GE(f.y, 4);
        EXPECT_LE(f.y, 304);
    }
}

// The team selection screen shown over a game in play.
class TeamSelection : public ScreenInPlay {
protected:
    void SetUp() override
    {
        ScreenInPlay::SetUp();
        m_pScreen = dynamic_cast<Screen*>(GetScreenObject(SCREEN_TEAM_SELECTION));
        ASSERT_NE(m_pScreen, nullptr) << "the screen is not registered";
        OpenScreen(SCREEN_TEAM_SELECTION);
    }

    // A press on one row of a list, dragged to a row of another and let go.
    void Drag(uint32_t dwFrom, int nFromRow, uint32_t dwTo, int nToRow, const char* pszShot = nullptr)
    {
        const CXListBoxEx* pFrom = m_pScreen->GetList(dwFrom);
        const CXListBoxEx* pTo = m_pScreen->GetList(dwTo);
        ASSERT_TRUE(pFrom && pTo);
        const int x0 = pFrom->m_nLeft + 60, y0 = pFrom->m_nTop + 16 * nFromRow + 8;
        const int x1 = pTo->m_nLeft + 60, y1 = pTo->m_nTop + 16 * nToRow + 8;
        m_pScreen->OnLButtonDown(0, x0, y0);
        m_pScreen->OnMouseMove(1, (x0 + x1) / 2, (y0 + y1) / 2);
        m_pScreen->OnMouseMove(1, x1, y1);
        if (pszShot)
            Shoot(pszShot);
        m_pScreen->OnLButtonUp(0, x1, y1);
        m_game.Update();
    }
    // The first reserve row whose player is fit to play.
    int FirstFitReserveRow()
    {
        const CXListBoxEx* pReserves = m_pScreen->GetList(Screen::ID_RESERVES);
        for (int nRow = 0; pReserves && nRow < pReserves->GetCount(); ++nRow)
            if (m_pScreen->IsPlayerAvailable(m_pScreen->GetRowPlayer(Screen::ID_RESERVES, nRow)))
                return nRow;
        return -1;
    }
    static int InjuryTypeOfStatus(int nStatus)
    {
        for (int nType = 0; nType < PERSON_INJURY_TYPES; ++nType)
            if (CPlayerDatabase::GetInjuryStatus(nType) == nStatus)
                return nType;
        return -1;
    }
    Screen* m_pScreen = nullptr;
};

TEST_F(TeamSelection, DraggingASubstituteOntoAStarterSwapsThemAndTheNextMatchPlaysTheChosenEleven)
{
    Shoot("teamsel_pitch.png");
    CPlayerDatabase* pStarter = m_pHuman->GetSheetPlayer(5);
    CPlayerDatabase* pSubstitute = m_pHuman->GetSheetPlayer(SAVEGAME_LINEUP);
    ASSERT_TRUE(pStarter && pSubstitute && m_pScreen->IsPlayerAvailable(pSubstitute));
    // The starter takes a set piece, which goes with his place.
    m_pHuman->SetSetPiecePlayer(0, pStarter);
    m_pHuman->SetDelegation(1, 3);
    const int nRoleOfPlace = m_pHuman->GetWorkingEntry(5).byOrder;

    Drag(Screen::ID_SUBSTITUTES, 0, Screen::ID_STARTERS, 5);
    EXPECT_EQ(m_pHuman->GetSheetPlayer(5), pSubstitute);
    EXPECT_EQ(m_pHuman->GetSheetPlayer(SAVEGAME_LINEUP), pStarter);
    EXPECT_EQ(m_pHuman->GetSetPiecePlayer(0), pSubstitute);
    EXPECT_EQ(m_pScreen->GetTeamRole(pSubstitute), nRoleOfPlace);
    EXPECT_EQ(m_pHuman->GetDelegation(1), 0) << "a change by hand ends the assistant's picking";
    EXPECT_EQ(m_pScreen->GetRowPlayer(Screen::ID_STARTERS, 5), pSubstitute) << "the list shows the record";
    Shoot("teamsel_swapped.png");

    // The human's match is held for the match screen and played there, to
    // its end by the navigation bar's match button: with the eleven he chose.
    Database()->SetMatchType(1);
    CDate match;
    ASSERT_GE(Database()->GetNextFixture(m_pClub, nullptr, nullptr, &match), 0);
    std::vector<CPlayerDatabase*> eleven;
    for (int i = 0; i < SAVEGAME_LINEUP; ++i)
        eleven.push_back(m_pHuman->GetSheetPlayer(i));
    std::vector<int> startsBefore;
    for (CPlayerDatabase* pPlayer : eleven)
        startsBefore.push_back(pPlayer->GetSeasonStarts());
    const int nOutBefore = pStarter->GetSeasonStarts();
    while (Database()->GetGameDate().GetValue() < match.GetValue())
        ASSERT_GT(CGameDay::ProcessDay(*Database()), 0);
    // Nothing in the days before the match touched the sheet.
    for (int i = 0; i < SAVEGAME_LINEUP; ++i)
        ASSERT_EQ(m_pHuman->GetSheetPlayer(i), eleven[static_cast<size_t>(i)]) << "place " << i;
    g_ClientList.clear();
    ASSERT_GT(CGameDay::QueueMatchDayScreens(*Database()), 0);
    g_pNavigationBar->ContinueGame();
    m_game.Update();
    ASSERT_EQ(g_pCurrentClient, GetScreenObject(SCREEN_MATCH));
    g_pNavigationBar->OnClicked(CGameNavigationBar::ID_CONTINUE_MATCH);
    g_ClientList.clear();
    for (size_t i = 0; i < eleven.size(); ++i)
        EXPECT_EQ(eleven[i]->GetSeasonStarts(), startsBefore[i] + 1) << eleven[i]->GetShortName();
    EXPECT_EQ(pStarter->GetSeasonStarts(), nOutBefore) << "the dropped starter did not start";
}

TEST_F(TeamSelection, AnUnavailablePlayerIsShownButRefusedAsAStarter)
{
    const int nRow = FirstFitReserveRow();
    ASSERT_GE(nRow, 0);
    CPlayerDatabase* pReserve = m_pScreen->GetRowPlayer(Screen::ID_RESERVES, nRow);
    CPlayerDatabase* pStarter = m_pHuman->GetSheetPlayer(3);
    const int nOut = InjuryTypeOfStatus(2), nMayPlay = InjuryTypeOfStatus(1);
    ASSERT_GE(nOut, 0);
    ASSERT_GE(nMayPlay, 0);

    // Unavailable through injury: still listed, but the drop changes nothing.
    pReserve->m_dwFlags |= PLAYER_FLAG_INJURED;
    pReserve->m_byInjuryType = static_cast<uint8_t>(nOut);
    pReserve->m_wInjuryDays = 20;
    Drag(Screen::ID_RESERVES, nRow, Screen::ID_STARTERS, 3);
    EXPECT_EQ(m_pHuman->GetSheetPlayer(3), pStarter);
    EXPECT_EQ(m_pScreen->GetRowPlayer(Screen::ID_RESERVES, nRow), pReserve);

    // Banned for the next match: refused as well.
    pReserve->m_dwFlags &= ~PLAYER_FLAG_INJURED;
    pReserve->m_wInjuryDays = 0;
    pReserve->m_bySuspensionFlags = PLAYER_SUSPENDED_DOMESTIC | PLAYER_SUSPENDED_EUROPEAN;
    ASSERT_FALSE(m_pScreen->IsPlayerAvailable(pReserve));
    Drag(Screen::ID_RESERVES, nRow, Screen::ID_STARTERS, 3);
    EXPECT_EQ(m_pHuman->GetSheetPlayer(3), pStarter);
    pReserve->m_bySuspensionFlags = 0;

    // Lent to another club, where he plays: the match would turn down a
    // sheet naming him, so the screen does.
    pReserve->m_byTransferState = PLAYER_TRANSFER_ON_LOAN;
    ASSERT_FALSE(m_pScreen->IsPlayerAvailable(pReserve));
    Drag(Screen::ID_RESERVES, nRow, Screen::ID_STARTERS, 3);
    EXPECT_EQ(m_pHuman->GetSheetPlayer(3), pStarter);
    pReserve->m_byTransferState = 0;

    // Injured but able to play: he comes in.
    pReserve->m_dwFlags |= PLAYER_FLAG_INJURED;
    pReserve->m_byInjuryType = static_cast<uint8_t>(nMayPlay);
    pReserve->m_wInjuryDays = 5;
    ASSERT_TRUE(m_pScreen->IsPlayerAvailable(pReserve));
    Drag(Screen::ID_RESERVES, nRow, Screen::ID_STARTERS, 3);
    EXPECT_EQ(m_pHuman->GetSheetPlayer(3), pReserve);
}

TEST_F(TeamSelection, ASideOnceChosenForTheClubLeavesTheBenchFull)
{
    ITEMCUPMATCHRULES rules{};
    Database()->GetNextMatchRules(m_pClub, rules, nullptr);
    ASSERT_GT(rules.bySubstitutesNamed, 0);
    ASSERT_EQ(m_pScreen->GetSubstituteRows(), rules.bySubstitutesNamed);
    // The club's own pick, as a match makes it when the human's sheet cannot
    // be played, marks the players it took.
    CPlayerDatabase* apPicked[11 + 7] = {};
    m_pClub->SelectTeam(nullptr, apPicked, MATCHKIND_LEAGUE, rules.bySubstitutesNamed);
    ASSERT_NE(apPicked[0], nullptr);
    OpenScreen(SCREEN_FOOTBALL_TODAY);
    OpenScreen(SCREEN_TEAM_SELECTION);
    EXPECT_EQ(m_pScreen->GetSubstituteRows(), rules.bySubstitutesNamed);
    for (const CPlayerDatabase* pPlayer : apPicked)
        if (pPlayer)
            EXPECT_TRUE(m_pScreen->IsPlayerAvailable(pPlayer)) << pPlayer->GetShortName();
    // The sheet the human sees is the one the next match plays.
    CPlayerDatabase* apSheet[11 + 7] = {};
    EXPECT_TRUE(m_pHuman->GetMatchSheet(apSheet, MATCHKIND_LEAGUE, rules.bySubstitutesNamed));
}

TEST_F(TeamSelection, AQuickMatchAfterASidePickedForTheClubStillPlaysTheHumansSheet)
{
    // The sheet differs from the club's own pick: a reserve starts.
    const int nRow = FirstFitReserveRow();
    ASSERT_GE(nRow, 0);
    CPlayerDatabase* pReserve = m_pScreen->GetRowPlayer(Screen::ID_RESERVES, nRow);
    Drag(Screen::ID_RESERVES, nRow, Screen::ID_STARTERS, 5);
    ASSERT_EQ(m_pHuman->GetSheetPlayer(5), pReserve);
    // A side picked for the club leaves its marks; the screen is not opened
    // again before the match.
    CPlayerDatabase* apPicked[11 + 7] = {};
    m_pClub->SelectTeam(nullptr, apPicked, MATCHKIND_LEAGUE, 5);
    Database()->SetMatchType(0);
    CDate match;
    ASSERT_GE(Database()->GetNextFixture(m_pClub, nullptr, nullptr, &match), 0);
    const int nStartsBefore = pReserve->GetSeasonStarts();
    while (Database()->GetGameDate().GetValue() < match.GetValue()) {
        Database()->ProcessDay();
        Database()->DoMatchDay(Database()->GetGameDate());
    }
    EXPECT_EQ(pReserve->GetSeasonStarts(), nStartsBefore + 1) << "the human's sheet was played";
}

TEST_F(TeamSelection, DragsWithinTheStartersAndOntoTheSetPieces)
{
    CPlayerDatabase* pFirst = m_pHuman->GetSheetPlayer(1);
    CPlayerDatabase* pSecond = m_pHuman->GetSheetPlayer(2);
    const int nFirstRole = m_pHuman->GetWorkingEntry(1).byOrder;
    const int nSecondRole = m_pHuman->GetWorkingEntry(2).byOrder;
    // Within the eleven the two swap roles: the rows trade places.
    Drag(Screen::ID_STARTERS, 1, Screen::ID_STARTERS, 2);
    EXPECT_EQ(m_pHuman->GetSheetPlayer(1), pSecond);
    EXPECT_EQ(m_pHuman->GetSheetPlayer(2), pFirst);
    EXPECT_EQ(m_pScreen->GetTeamRole(pFirst), nSecondRole);
    EXPECT_EQ(m_pScreen->GetTeamRole(pSecond), nFirstRole);

    // On the bench only the order changes.
    CPlayerDatabase* pFirstSub = m_pHuman->GetSheetPlayer(SAVEGAME_LINEUP);
    CPlayerDatabase* pSecondSub = m_pHuman->GetSheetPlayer(SAVEGAME_LINEUP + 1);
    Drag(Screen::ID_SUBSTITUTES, 0, Screen::ID_SUBSTITUTES, 1);
    EXPECT_EQ(m_pHuman->GetSheetPlayer(SAVEGAME_LINEUP), pSecondSub);
    EXPECT_EQ(m_pHuman->GetSheetPlayer(SAVEGAME_LINEUP + 1), pFirstSub);

    // A starter dropped on the long-throw list is copied there; a reserve is not.
    Drag(Screen::ID_STARTERS, 7, Screen::ID_SETPIECE_SEVENTH, 0, "teamsel_dragging.png");
    EXPECT_EQ(m_pHuman->GetSetPiecePlayer(6), m_pHuman->GetSheetPlayer(7));
    EXPECT_EQ(m_pHuman->GetSheetPlayer(7), m_pScreen->GetRowPlayer(Screen::ID_STARTERS, 7)) << "the starter stays";
    CPlayerDatabase* pTaker = m_pHuman->GetSetPiecePlayer(6);
    Drag(Screen::ID_RESERVES, 0, Screen::ID_SETPIECE_SEVENTH, 0);
    EXPECT_EQ(m_pHuman->GetSetPiecePlayer(6), pTaker);

    // Within the free-kick takers the dragged one moves to the drop row.
    CPlayerDatabase* apTakers[3] = {m_pHuman->GetSetPiecePlayer(1), m_pHuman->GetSetPiecePlayer(2),
                                    m_pHuman->GetSetPiecePlayer(3)};
    Drag(Screen::ID_SETPIECE_FREEKICKS, 0, Screen::ID_SETPIECE_FREEKICKS, 2);
    EXPECT_EQ(m_pHuman->GetSetPiecePlayer(1), apTakers[1]);
    EXPECT_EQ(m_pHuman->GetSetPiecePlayer(2), apTakers[2]);
    EXPECT_EQ(m_pHuman->GetSetPiecePlayer(3), apTakers[0]);
}

TEST_F(TeamSelection, TheAssistantPicksAsTheClubsOwnSelectionDoes)
{
    // A first swap by hand, which the assistant's pick replaces.
    Drag(Screen::ID_SUBSTITUTES, 0, Screen::ID_STARTERS, 0);
    // The assistant's button asks who picks; Cancel leaves it to the manager.
    ASSERT_TRUE(m_pScreen->FindControl(Screen::ID_PICK_TEAM)->m_bVisible) << "the club has an assistant";
    m_pScreen->OnClicked(Screen::ID_PICK_TEAM);
    CGameMessageBox* pBox = GetGameMessageBox();
    ASSERT_TRUE(pBox && pBox->IsOnStack());
    EXPECT_EQ(pBox->GetTextItem(), Screen::MESSAGE_WHO_PICKS);
    Shoot("teamsel_who_picks.png");
    pBox->OnClicked(883);
    EXPECT_EQ(m_pHuman->GetDelegation(1), 0);
    // The attacking side: the list's second formation.
    m_pScreen->OnClicked(Screen::ID_PICK_TEAM);
    ASSERT_TRUE(pBox->IsOnStack());
    pBox->OnClicked(Screen::ID_PICK_ATTACKING);
    m_game.Update();
    EXPECT_FALSE(pBox->IsOnStack());
    EXPECT_EQ(m_pHuman->GetDelegation(1), 1);
    EXPECT_STREQ(m_pHuman->GetFormationName(), "4-2-4") << "preference 1 plays the list's second formation";

    ITEMCUPMATCHRULES rules{};
    int nKind = 0;
    Database()->GetNextMatchRules(m_pClub, rules, &nKind);
    const FORMATIONRECORD* p424 = CTacticsFileManager::FindFormation("4-2-4");
    ASSERT_NE(p424, nullptr);
    uint8_t abyRoles[SAVEGAME_LINEUP];
    for (int i = 0; i < SAVEGAME_LINEUP; ++i)
        abyRoles[i] = p424->aEntries[i].byOrder;
    std::vector<CPlayerDatabase*> expected(static_cast<size_t>(SAVEGAME_LINEUP + rules.bySubstitutesNamed));
    m_pClub->SelectTeam(abyRoles, expected.data(), nKind, rules.bySubstitutesNamed);
    m_pClub->ClearSelection();
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(m_pHuman->GetSheetPlayer(static_cast<int>(i)), expected[i]) << "place " << i;
    // The screen shows the assistant's team, and his button is gone.
    EXPECT_EQ(m_pScreen->GetRowPlayer(Screen::ID_STARTERS, 0), expected[0]);
    EXPECT_FALSE(m_pScreen->FindControl(Screen::ID_PICK_TEAM)->m_bVisible);
}

TEST_F(TeamSelection, AFormationChangeMovesTheMarkersAndTheListView)
{
    auto* pFormations = dynamic_cast<CXComboBox*>(m_pScreen->FindControl(Screen::ID_FORMATIONS));
    ASSERT_NE(pFormations, nullptr);
    const auto before = m_pScreen->GetMarkerPoints();
    // The box shows the current formation, the first of the list.
    EXPECT_EQ(pFormations->GetSelection(), 0);
    pFormations->SetCurSel(3);  // 4-3-3
    EXPECT_STREQ(m_pHuman->GetFormationName(), "4-3-3");
    const auto after = m_pScreen->GetMarkerPoints();
    int nMoved = 0;
    for (size_t i = 0; i < after.size(); ++i)
        nMoved += before[i].x != after[i].x || before[i].y != after[i].y ? 1 : 0;
    EXPECT_GT(nMoved, 0);
    for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
        const FORMATIONENTRY& entry = m_pHuman->GetWorkingEntry(i);
        const plat::Point p = Screen::FormationToPitch(entry.wX, entry.wY);
        EXPECT_EQ(after[static_cast<size_t>(i)].x, p.x + 160) << "place " << i;
        EXPECT_EQ(after[static_cast<size_t>(i)].y, p.y + 85) << "place " << i;
    }
    // A press on a marker selects that starter.
    m_pScreen->OnLButtonDown(0, after[9].x - 160 + 5, after[9].y - 85 + 5);
    m_pScreen->OnLButtonUp(0, after[9].x - 160 + 5, after[9].y - 85 + 5);
    EXPECT_EQ(m_pScreen->GetList(Screen::ID_STARTERS)->GetSelection(), 9);
    EXPECT_EQ(m_pScreen->GetActiveList(), Screen::ID_STARTERS);
    Shoot("teamsel_433.png");

    auto* pView = dynamic_cast<CXComboBox*>(m_pScreen->FindControl(Screen::ID_VIEW));
    ASSERT_NE(pView, nullptr);
    pView->SetCurSel(Screen::VIEW_LIST);
    EXPECT_EQ(m_pScreen->GetViewMode(), Screen::VIEW_LIST);
    EXPECT_FALSE(m_pScreen->GetList(Screen::ID_SETPIECE_FIRST)->m_bVisible);
    EXPECT_EQ(m_pScreen->GetList(Screen::ID_STARTERS)->Width(), 594);
    Shoot("teamsel_list.png");
}

}  // namespace

namespace {

TEST_F(TeamSelection, ARoleChangeMakesAListedOrACustomFormationCurrent)
{
    // 4-4-2 with its right midfielder turned centre forward is 4-3-3.
    CPlayerDatabase* pMoved = m_pHuman->GetSheetPlayer(8);
    ASSERT_EQ(m_pHuman->GetWorkingEntry(8).byOrder, 10);
    EXPECT_FALSE(m_pScreen->ChangeStarterRole(0, 3)) << "the keeper's place keeps its role";
    // A double click on the keeper's role says so.
    const CXListBoxEx* pStarters = m_pScreen->GetList(Screen::ID_STARTERS);
    const int xRole = pStarters->m_nLeft + 247, yKeeper = pStarters->m_nTop + 8;
    m_pScreen->OnLButtonDown(0, xRole, yKeeper);
    m_pScreen->OnLButtonUp(0, xRole, yKeeper);
    m_pScreen->OnLButtonDblClk(0, xRole, yKeeper);
    CGameMessageBox* pBox = GetGameMessageBox();
    ASSERT_TRUE(pBox && pBox->IsOnStack());
    EXPECT_EQ(pBox->GetTextItem(), Screen::MESSAGE_KEEPER_ROLE);
    pBox->OnClicked(884);
    ASSERT_TRUE(m_pScreen->ChangeStarterRole(8, 14));
    EXPECT_STREQ(m_pHuman->GetFormationName(), "4-3-3");
    EXPECT_FALSE(m_pHuman->IsCustomFormationInUse());
    EXPECT_FALSE(pBox->IsOnStack()) << "a listed formation needs no word";
    EXPECT_EQ(m_pHuman->GetSheetPlayer(10), pMoved) << "the places stay sorted by role";
    EXPECT_EQ(m_pScreen->GetTeamRole(pMoved), 14);

    // No listed formation plays a sweeper behind five at the back: the
    // custom one, its markers in their role zones.
    ASSERT_TRUE(m_pScreen->ChangeStarterRole(5, 5));
    EXPECT_TRUE(m_pHuman->IsCustomFormationInUse());
    ASSERT_TRUE(pBox->IsOnStack()) << "the manager is told of the formation of its own";
    EXPECT_EQ(pBox->GetTextItem(), Screen::MESSAGE_CUSTOM_FORMATION);
    pBox->OnClicked(884);
    auto* pFormations = dynamic_cast<CXComboBox*>(m_pScreen->FindControl(Screen::ID_FORMATIONS));
    ASSERT_NE(pFormations, nullptr);
    EXPECT_EQ(pFormations->GetSelection(), pFormations->GetCount() - 1) << "the custom record shows, last";
    const auto& markers = m_pScreen->GetMarkerPoints();
    for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
        const plat::Rect zone = Screen::RoleZone(m_pHuman->GetWorkingEntry(i).byOrder);
        const int cx = markers[static_cast<size_t>(i)].x - 160 + 7, cy = markers[static_cast<size_t>(i)].y - 85 + 7;
        EXPECT_TRUE(cx >= zone.left - 1 && cx <= zone.right && cy >= zone.top - 1 && cy <= zone.bottom)
            << "place " << i << " at " << cx << "," << cy;
    }
    Shoot("teamsel_custom.png");

    // Saved and loaded, the custom formation is still the one in use.
    FORMATIONENTRY aBefore[SAVEGAME_LINEUP];
    for (int i = 0; i < SAVEGAME_LINEUP; ++i)
        aBefore[i] = m_pHuman->GetWorkingEntry(i);
    ASSERT_TRUE(m_game.SaveGame("Custom")) << m_game.GetFileError();
    ASSERT_TRUE(m_game.LoadGame("Custom", false)) << m_game.GetFileError();
    const CSaveGame* pLoaded = Database()->GetCurrentSaveGame();
    ASSERT_NE(pLoaded, nullptr);
    EXPECT_TRUE(pLoaded->IsCustomFormationInUse());
    for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
        EXPECT_EQ(pLoaded->GetWorkingEntry(i).wX, aBefore[i].wX) << "place " << i;
        EXPECT_EQ(pLoaded->GetWorkingEntry(i).wY, aBefore[i].wY) << "place " << i;
        EXPECT_EQ(pLoaded->GetWorkingEntry(i).byOrder, aBefore[i].byOrder) << "place " << i;
    }
}

// A player from abroad carries his country's flag in the name column of
// every list; one of the manager's own country carries none.
TEST_F(TeamSelection, AForeignPlayerCarriesHisFlag)
{
    const int nHome = GetCountryNationality(m_pHuman->GetCountry());
    ASSERT_GT(nHome, 0);
    const uint8_t byForeign = nHome == 13 ? 40 : 13;
    CPlayerDatabase* pForeign = m_pHuman->GetSheetPlayer(1);
    CPlayerDatabase* pOwn = m_pHuman->GetSheetPlayer(2);
    ASSERT_TRUE(pForeign && pOwn);
    pForeign->m_byNationality = byForeign;
    pOwn->m_byNationality = static_cast<uint8_t>(nHome);
    CXAnimation* pFlag = PlayerRowIcons::NationFlag(byForeign);
    ASSERT_NE(pFlag, nullptr);
    OpenScreen(SCREEN_TEAM_SELECTION);

    const CXListBoxEx* pStarters = m_pScreen->GetList(Screen::ID_STARTERS);
    ASSERT_NE(pStarters, nullptr);
    const auto hasFlag = [&](const CPlayerDatabase* pPlayer) {
        for (int nRow = 0; nRow < pStarters->GetCount(); ++nRow)
            if (m_pScreen->GetRowPlayer(Screen::ID_STARTERS, nRow) == pPlayer)
                for (const auto& graphic : pStarters->GetRow(nRow)->Graphics)
                    if (graphic.nColumn == 1 && graphic.pGraphic == pFlag)
                        return true;
        return false;
    };
    EXPECT_TRUE(hasFlag(pForeign));
    EXPECT_FALSE(hasFlag(pOwn));
    Shoot("teamsel_flags.png");
    auto* pView = dynamic_cast<CXComboBox*>(m_pScreen->FindControl(Screen::ID_VIEW));
    ASSERT_NE(pView, nullptr);
    pView->SetCurSel(Screen::VIEW_LIST);
    Shoot("teamsel_flags_list.png");
}

}  // namespace
