#pragma once
// The pitch tactics screen (screen 5): the human manager's tactics board in
// nine modes. The formation's base points (dragged, their areas giving the
// roles), marking and ranges of action for a ball zone, the kick-off, goal
// kick and penalty places, corner and free-kick routines with their ball
// paths and takers, and during a match the substitutes. Formations and set
// pieces are chosen in drop-downs and saved through the save-tactics popup;
// every step can be undone. Before a match the board edits the human's
// working formation, which the next match plays; during one it edits a copy
// of the eleven and hands the orders to the running match on leaving.
#include "shell/CGameClient.h"

#include "popups/CPopupMatchRules.h"
#include "screens/CPitchTacticsBoard.h"
#include "season/CupStructureTable.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class CClubDatabase;
class CPlayerDatabase;
class CPopupPlayerMatchOrders;
class CPopupSaveTactics;
class CPopupTeamMatchOrders;
class CSaveGame;
struct FORMATIONRECORD;

enum PITCHTACTICS_MODE {
    PITCHTACTICS_MODE_FORMATION = 0,
    PITCHTACTICS_MODE_MARKING = 1,
    PITCHTACTICS_MODE_RANGES = 2,
    PITCHTACTICS_MODE_KICK_OFF = 3,
    PITCHTACTICS_MODE_GOAL_KICK = 4,
    PITCHTACTICS_MODE_PENALTY = 5,
    PITCHTACTICS_MODE_CORNERS = 6,
    PITCHTACTICS_MODE_FREE_KICKS = 7,
    PITCHTACTICS_MODE_SUBSTITUTIONS = 8,
    PITCHTACTICS_MODE_COUNT = 9,
};

class CClientPitchTactics : public CGameClient {
public:
    enum : uint32_t {
        ID_LAST_MEETING = 79,
        ID_MATCH_RULES = 80,
        ID_PICK_TEAM = 81,
        ID_TEAM_ORDERS = 82,
        ID_PLAYER_ORDERS = 83,
        ID_SET_ATTACKING = 84,
        ID_SET_DEFENDING = 85,
        ID_SHOW_OPPOSITION = 86,
        ID_SHOW_OWN = 87,
        ID_SAVE = 88,
        ID_UNDO = 89,
        ID_UNDO_ALL = 90,
        ID_PASTE = 91,
        ID_COPY = 92,
        ID_PANEL_CAPTION = 93,
        ID_MODES = 789,
        ID_FORMATIONS = 790,
        ID_OPPOSITION = 791,
        ID_FREE_KICKS = 792,
        ID_CORNERS = 793,
        ID_ROUTINE = 808,
        ID_PICK_DEFENSIVE = 1163,
        ID_PICK_BALANCED = 1164,
        ID_PICK_ATTACKING = 1165,
    };
    enum { MESSAGE_UNDO_ALL = 9, MESSAGE_WHO_PICKS = 45, MESSAGE_ROLES_CHANGED = 62, MESSAGE_RETIRED = 66,
           MESSAGE_NOT_WRITTEN = 161 };
    enum DRAG : int {
        DRAG_NONE = 0,
        DRAG_PLAYERS = 1,
        DRAG_RANGE = 2,
        DRAG_BALL = 3,
        DRAG_RECTANGLE = 5,
        DRAG_MARKING = 6,
        DRAG_PATH = 7,
        DRAG_SUBSTITUTION = 8,
        DRAG_SUBSTITUTE = 9,
    };
    enum UNDO : uint8_t {
        UNDO_MODE = 1,
        UNDO_BASE = 3,
        UNDO_BALL_ZONE = 4,
        UNDO_MARKING = 5,
        UNDO_RANGE = 6,
        UNDO_POSITION = 8,
        UNDO_OPPOSITION = 9,
        UNDO_SET = 10,
        UNDO_FRONT = 11,
        UNDO_FREE_KICK = 12,
        UNDO_PATH = 13,
        UNDO_CORNER = 14,
        UNDO_SUBSTITUTION = 15,
        UNDO_STRIP = 16,
        UNDO_SWAP = 17,
    };
    static constexpr int kBoardMarkers = 18;

    CClientPitchTactics();
    ~CClientPitchTactics() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnPaint() override;
    void OnLButtonDown(uint32_t flags, int x, int y) override;
    void OnLButtonUp(uint32_t flags, int x, int y) override;
    void OnLButtonDblClk(uint32_t flags, int x, int y) override;
    void OnRButtonDown(uint32_t flags, int x, int y) override;
    void OnRButtonUp(uint32_t flags, int x, int y) override;
    void OnMouseMove(uint32_t flags, int x, int y) override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnGetToolTipText(uint32_t dwID, char* pszText) override;
    void ConstructScreen() override;
    void UpdateBars() override;
    void OnEndPopup(CXPopup* pPopup) override;
    void OnEndMessageBoxPopup() override;

    void DoModeChange(int nMode, bool bRecordUndo);
    void SetBallZone(int nColumn, int nRow, bool bRecordUndo);
    void SetFreeKick(int nArea, int nRoutine, bool bRecordUndo);
    void SetCorner(int nSide, int nRoutine, bool bRecordUndo);
    void UpdatePickTeamButton(bool bChanged);
    void LoadBoardFromFormation();
    void StoreBoardToFormation();
    void Undo();
    void Copy();
    void Paste();

    // ---- the board and its players ----
    CPlayerDatabase* GetTeamPlayer(int nIndex) const;
    void SetTeamPlayer(int nIndex, CPlayerDatabase* pPlayer);
    const SUBSTITUTIONCELL& GetGridCell(int nSide, int nIndex) const;
    void ResetGrid();

    // ---- the screen's state, for the program and its tests ----
    const CPitchTacticsBoard& GetBoard() const { return m_Board; }
    int GetMode() const { return m_nMode; }
    int GetBallZone() const { return m_nBallZone; }
    int GetSet() const { return m_nSet; }
    int GetFreeKickArea() const { return m_nFreeKickArea; }
    int GetCornerSide() const { return m_nCornerSide; }
    int GetRoutine() const { return m_nRoutine; }
    uint16_t GetSelection() const { return m_wSelection; }
    size_t GetUndoCount() const { return m_Undo.size(); }
    // The board point of an own marker as last drawn (player 0-10, or a
    // substitute 11-17 in a match).
    BOARDPOINT GetMarkerPoint(int nIndex) const;
    // The ball marker's board point in the modes that show it.
    BOARDPOINT GetBallPoint() const;
    // The routine being edited in modes 6 and 7, null in the others.
    SETPIECEROUTINE* GetCurrentRoutine() const;
    bool IsModeAvailable(int nMode) const;
    CPopupSaveTactics* GetSaveTacticsPopup() const { return m_pSaveTactics.get(); }
    CPopupTeamMatchOrders* GetTeamOrdersPopup() const { return m_pTeamOrders.get(); }
    CPopupPlayerMatchOrders* GetPlayerOrdersPopup() const { return m_pPlayerOrders.get(); }
    CPopupMatchRules& GetRulesPopup() { return m_RulesPopup; }

private:
    struct UNDORECORD {
        uint8_t byKind = 0;
        uint8_t byGroup = 1;
        uint8_t byIndex = 0;
        int32_t nOld = 0;
        int16_t nEntry = 0;
        uint8_t bySet = 0;
        const FORMATIONRECORD* pFormation = nullptr;
        // A routine as it was before its path or taker changed.
        std::shared_ptr<SETPIECEROUTINE> pRoutine;
    };

    bool InMatch() const { return m_byMatchState != 0; }
    bool HasNextFixture() const { return m_pOpponent != nullptr; }
    int OwnSet() const { return m_bEditOwnTeam ? m_nSet : m_nSet ^ 1; }
    int OppositionSet() const { return m_bEditOwnTeam ? m_nSet ^ 1 : m_nSet; }
    // The position entry that modes 1-5 and 8 edit.
    int CurrentEntry() const;
    // The table a drag of player i moves in the current mode.
    BOARDPOINT& EditedPoint(int nPlayer);
    BOARDPOINT SetPieceSpot() const;
    BOARDPOINT* CornerOrFreeKickTaker();
    void LayOutSetPiece();
    void StoreRoutinePositions();
    void PushUndo(uint8_t byKind, uint8_t byIndex, int32_t nOld, bool bGroup, int nEntry = 0, int nSet = 0);
    void UpdateUndoButtons();
    void MakeCustomOnFirstChange();
    void ReadNextMatch();
    void FindLastMeeting();
    void CopyMatchPlayers();
    void BuildControls();
    void FillModeList();
    void FillFormationList();
    void FillOppositionList();
    void FillSetPieceList(uint32_t dwID);
    void FillRoutineList();
    void ShowModeControls();
    void ChooseFormation(const FORMATIONRECORD* pFormation);
    void ChooseOpposition(int nItem, bool bRecordUndo);
    void CheckRoleChange();
    void ComputeDisplayedMarkers();
    int HitOwnMarker(int x, int y) const;
    int HitOppositionMarker(int x, int y) const;
    int HitSubstitute(int x, int y) const;
    bool HitBall(int x, int y) const;
    int HitPathPoint(int x, int y) const;
    void SaveChosenName(const std::string& name);
    void AfterPopupFilesChanged();
    void OpenPlayerOrders();
    void UpdatePlayerOrdersButton();
    void DrawOverlay();
    void DrawTakerBox();
    void DrawPlayerPanel();
    void DrawMarker(CXSurface* pScreen, const BOARDPOINT& p, const CPlayerDatabase* pPlayer, int nNumber, bool bOwn);
    void DrawFrame(CXSurface* pScreen);
    CXSurface* Screen() const;

    CPitchTacticsBoard m_Board;
    CSaveGame* m_pHuman = nullptr;
    CClubDatabase* m_pClub = nullptr;
    CClubDatabase* m_pOpponent = nullptr;
    uint8_t m_byMatchState = 0;
    bool m_bMatchOver = false;
    bool m_bInitialised = false;
    bool m_bFixedNumbers = false;
    int m_nMode = PITCHTACTICS_MODE_FORMATION;
    int m_nDrag = DRAG_NONE;
    int m_nPicked = 255;
    int m_nHovered = -1;
    plat::Point m_DragStart{0, 0};
    plat::Point m_Mouse{0, 0};
    int m_nBallZone = 12;
    int m_nZoneBeforeDrag = 12;
    BOARDPOINT m_BallDrag{};
    int m_nFreeKickArea = 12;
    int m_nCornerSide = 0;
    int m_nRoutine = 0;
    int m_bEditOwnTeam = 1;
    int m_nSet = 1;
    const FORMATIONRECORD* m_pFormation = nullptr;
    int m_nOppositionFormation = 0;
    bool m_bMadeCustom = false;
    bool m_bRolesMessageShown = false;
    bool m_bBoardChanged = false;
    ITEMCUPMATCHRULES m_Rules{0, 3, 7, 7, 0};
    int m_nSubstitutionsMade = 0;
    int m_nSide = 0;
    std::array<uint8_t, kBoardMarkers> m_abyAvailable{};
    int64_t m_nLastMeeting = -1;
    std::vector<UNDORECORD> m_Undo;
    uint16_t m_wSelection = 0;
    std::array<BOARDPOINT, CPitchTacticsBoard::kPlayers> m_aCopy{};
    bool m_bCopied = false;
    std::array<BOARDPOINT, CPitchTacticsBoard::kPlayers> m_aDragStart{};
    std::array<uint8_t, CPitchTacticsBoard::kPlayers> m_abyRolesBefore{};
    // Drawn this frame: own and opposition points by index (11-17 the bench).
    std::array<BOARDPOINT, kBoardMarkers> m_aOwnShown{};
    std::array<BOARDPOINT, CPitchTacticsBoard::kPlayers> m_aOppositionShown{};
    // The eleven and the bench in a match: the screen's own copy.
    std::array<CPlayerDatabase*, kBoardMarkers> m_apMatchPlayers{};
    int m_nMatchSquad = 0;
    uint32_t m_dwGridMatch = 0;
    bool m_bGridMatchKnown = false;
    std::unique_ptr<CXSurface> m_pPitch;
    std::unique_ptr<CXSurface> m_pMarkers;
    std::unique_ptr<CXSurface> m_pBall;
    std::unique_ptr<CXSurface> m_pOverlay;
    std::unique_ptr<CPopupSaveTactics> m_pSaveTactics;
    std::unique_ptr<CPopupTeamMatchOrders> m_pTeamOrders;
    std::unique_ptr<CPopupPlayerMatchOrders> m_pPlayerOrders;
    CPopupMatchRules m_RulesPopup;
    // The selection the player orders popup was opened for, and the
    // averaged orders it edits.
    uint16_t m_wOrdersSelection = 0;
    std::array<int8_t, SAVEGAME_TEAM_ORDERS> m_abySelectionOrders{};
};

// The screen object the match engine and the program share.
CClientPitchTactics& GetPitchTacticsScreen();
