#pragma once
// The team selection screen (screen 4): the human manager's starters with
// the role each plays, his named substitutes, his reserves and eight
// set-piece places, edited by dragging rows between the lists, with the
// formation chosen from a drop-down or the whole job left to the assistant.
// In its pitch view the starters stand as numbered markers on a small pitch
// over the sixteen role zones. Every change goes straight into the human's
// record; the team roles are those of the formation's places.
#include "shell/CGameClient.h"
#include "shell/PlayerRowIcons.h"

#include "popups/CPopupMatchRules.h"
#include "popups/CPopupPlayerRole.h"
#include "popups/CPopupSelectPenaltyTakers.h"

#include "season/CSaveGame.h"
#include "season/CupStructureTable.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class CClubDatabase;
class CPlayerDatabase;
class CPopupPlayerMatchOrders;
class CPopupTeamMatchOrders;
class CXAnimation;
class CXComboBox;
class CXListBoxEx;
struct CUP;
struct FORMATIONRECORD;

class CClientTeamSelection : public CGameClient {
public:
    enum : uint32_t {
        ID_STARTERS = 61,
        ID_SUBSTITUTES = 62,
        ID_RESERVES = 63,
        ID_SETPIECE_FIRST = 64,  // set-piece place 1
        ID_SETPIECE_FREEKICKS = 65,  // places 2-4
        ID_SETPIECE_CORNERS = 66,    // places 5-6
        ID_SETPIECE_EIGHTH = 67,     // place 8
        ID_SETPIECE_SEVENTH = 68,    // place 7
        ID_PICK_TEAM = 60,
        ID_MATCH_RULES = 59,
        ID_PENALTY_TAKERS = 527,
        ID_FORMATIONS = 790,
        ID_VIEW = 1144,
        ID_SCROLLBAR = 901,
        // The message box's three answers to who picks the team.
        ID_PICK_DEFENSIVE = 1163,
        ID_PICK_BALANCED = 1164,
        ID_PICK_ATTACKING = 1165,
        // The team's match orders, and the own orders of the chosen starter's place.
        ID_TEAM_ORDERS = 1161,
        ID_PLAYER_ORDERS = 1131,
    };
    // Messages of the screen.
    enum { MESSAGE_KEEPER_ROLE = 7, MESSAGE_WHO_PICKS = 45, MESSAGE_CUSTOM_FORMATION = 62 };
    enum { VIEW_PITCH = 0, VIEW_LIST = 1 };
    enum { DRAG_REFUSED = 0, DRAG_COPY = 1, DRAG_EXCHANGE = 2 };

    // The pitch and its sixteen role zones in client coordinates.
    static constexpr int kPitchLeft = 360;
    static constexpr int kPitchTop = 280;
    static constexpr int kPitchWidth = 240;
    static constexpr int kPitchHeight = 180;
    static constexpr int kMarkerSize = 14;

    CClientTeamSelection();
    ~CClientTeamSelection() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnPaint() override;
    void ConstructScreen() override;
    void OnLButtonDown(uint32_t flags, int x, int y) override;
    void OnLButtonUp(uint32_t flags, int x, int y) override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnDoubleClicked(uint32_t dwID) override;
    void OnEndMessageBoxPopup() override;
    void OnEndPopup(CXPopup* pPopup) override;
    void OnDragInternally(uint32_t dwID, int nTargetRow, uint32_t dwSourceRow) override;
    void OnDragNotify(uint32_t dwSourceID, uint32_t dwTargetID, uint32_t dwTargetRow, uint32_t dwSourceRow) override;
    void UserSlot24(uint32_t dwID, uint32_t x, uint32_t y) override;
    void UpdateBars() override;
    void OnPrint() override;
    uint32_t GetPreviousListPlayer() override;
    uint32_t GetNextListPlayer() override;
    uint32_t GetCurrentListPlayer() override;

    // ---- rules the screen keeps (no game needed) ----
    // The substitute and reserve rows for the substitutes the next match
    // names and the squad players available for it.
    static void ComputeListSizes(int nSubstitutesNamed, int nAvailable, int& nSubstituteRows, int& nReserveRows);
    static int GetDragRule(uint32_t dwSourceID, uint32_t dwTargetID);
    // Formation coordinates (x 100-500 from the own goal line, y 4-304)
    // to the client point of a marker's top-left corner, and back.
    static plat::Point FormationToPitch(int x, int y);
    static plat::Point PitchToFormation(int x, int y);
    static plat::Rect RoleZone(int nRole);
    // The marker centres of a custom formation whose eleven places hold
    // these roles, sorted by role: the players of a role stand in their
    // zone's centre, one column for up to two, two columns for more.
    static std::array<plat::Point, 11> LayoutCustomFormation(const uint8_t* pbyRoles);

    // ---- the screen's state, for the program and its tests ----
    bool IsPlayerAvailable(const CPlayerDatabase* pPlayer) const;
    // The team role of a player on the sheet: the formation's role of his
    // place for a starter, his own role for anyone else.
    int GetTeamRole(const CPlayerDatabase* pPlayer) const;
    int GetSubstituteRows() const { return m_nSubstituteRows; }
    int GetReserveRows() const { return m_nReserveRows; }
    int GetViewMode() const { return m_nViewMode; }
    uint32_t GetActiveList() const { return m_dwActiveList; }
    CXListBoxEx* GetList(uint32_t dwID) const;
    CPlayerDatabase* GetRowPlayer(uint32_t dwListID, int nRow) const;
    // The marker corners of the last pitch drawing, in display coordinates.
    const std::array<plat::Point, 11>& GetMarkerPoints() const { return m_MarkerPoints; }
    void SetViewMode(int nMode);
    // The role a starter plays changes (the answer of the player-role
    // popup): the places are sorted by role again, a listed formation of
    // the same roles becomes current, else the custom formation laid out
    // by role zones. False for the keeper's place, whose role stays.
    bool ChangeStarterRole(int nRow, int nRole);
    // The popups the screen opens: a starter's role, the next match's
    // rules and the shoot-out order.
    CPopupPlayerRole& GetRolePopup() { return m_RolePopup; }
    CPopupMatchRules& GetRulesPopup() { return m_RulesPopup; }
    CPopupSelectPenaltyTakers& GetPenaltyTakersPopup() { return m_PenaltyTakersPopup; }
    // The rules record of the next match as the screen read it.
    const ITEMCUPMATCHRULES& GetNextMatchRules() const { return m_Rules; }
    // The assistant picks the team with preference 1-3 (the message box's
    // three choices store 3, 2 or 1).
    void DelegateTeamPicking(uint8_t byPreference);
    // The two match orders popups the screen owns while it is up.
    CPopupTeamMatchOrders* GetTeamOrdersPopup() const { return m_pTeamOrders.get(); }
    CPopupPlayerMatchOrders* GetPlayerOrdersPopup() const { return m_pPlayerOrders.get(); }

private:
    // The sheet place of a row of lists 61-63; -1 for none.
    int PlaceOfRow(uint32_t dwListID, int nRow) const;
    // The set-piece place of a row of lists 64-68; -1 for none.
    static int SetPiecePlace(uint32_t dwListID, int nRow);
    static int SetPieceRows(uint32_t dwListID);

    void ReadNextMatch();
    void BuildControls();
    void BuildLists();
    void FillFormationList();
    void FillSquadLists();
    void AddPlayerRow(CXListBoxEx* pList, CPlayerDatabase* pPlayer, bool bShort);
    void AddRowIcons(CXListBoxEx* pList, int nRow, const CPlayerDatabase* pPlayer);
    void RenumberShirts();
    bool ExchangePlaces(int nPlaceA, int nPlaceB);
    void CopyToSetPiece(CPlayerDatabase* pPlayer, uint32_t dwTargetID, int nTargetRow);
    void AfterDrop(uint32_t dwTargetID, bool bAccepted);
    void UpdatePickTeamButton(bool bChanged);
    void SetActiveList(uint32_t dwID);
    void ChooseFormation(const FORMATIONRECORD* pFormation);
    void Refresh();
    void DrawPitch();
    void DrawPlayerMarker(const plat::Point& point, const CPlayerDatabase* pPlayer);
    void DrawRoleBoxes();
    void DrawSelectionFrame();
    void DrawDraggedRow();
    uint32_t MoveSelection(int nStep);
    // The sheet place of the selected starter; -1 when no starter is chosen.
    int SelectedStarterPlace() const;
    void UpdatePlayerOrdersButton();
    void OpenPlayerOrders();

    CSaveGame* m_pHuman = nullptr;
    CClubDatabase* m_pClub = nullptr;
    ITEMCUPMATCHRULES m_Rules{0, 5, 7, 7, 0};
    int m_nMatchKind = 0;
    const CUP* m_pCup = nullptr;
    bool m_bFixedNumbers = false;
    int m_nSubstituteRows = 7;
    int m_nReserveRows = 7;
    int m_nViewMode = VIEW_PITCH;
    uint32_t m_dwActiveList = 0;
    bool m_bInitialised = false;
    // The drag: the player, the starter row or -1, and where the mouse is.
    bool m_bDragging = false;
    const CPlayerDatabase* m_pDragged = nullptr;
    int m_nDraggedStarterRow = -1;
    uint32_t m_dwDragSource = 0;
    plat::Point m_DragPoint{0, 0};
    // Sheet places of the rows of lists 61, 62, 63.
    std::vector<int> m_anRowPlaces[3];
    std::array<plat::Point, 11> m_MarkerPoints{};
    std::unique_ptr<CXSurface> m_pPitch;
    std::unique_ptr<CXSurface> m_pMarkers;
    std::unique_ptr<CXSurface> m_pDragImage;
    // The position and role icons, one cell each of the shared strips.
    PlayerRowIcons m_RowIcons;
    CPopupPlayerRole m_RolePopup;
    CPopupMatchRules m_RulesPopup;
    CPopupSelectPenaltyTakers m_PenaltyTakersPopup;
    // The starter row whose role the role popup is choosing; -1 for none.
    int m_nRoleRow = -1;
    // The match orders popups, and the place and copy of the own orders
    // being edited.
    std::unique_ptr<CPopupTeamMatchOrders> m_pTeamOrders;
    std::unique_ptr<CPopupPlayerMatchOrders> m_pPlayerOrders;
    int m_nOrdersPlace = -1;
    std::array<int8_t, SAVEGAME_TEAM_ORDERS> m_abyPlaceOrders{};
};
