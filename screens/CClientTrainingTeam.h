#pragma once
// The team training screen (screen 7): the club's training week as seven
// days of six session slots, filled by dragging session kinds from a palette
// of twelve (or from another slot); each day's fixture and booked training
// camp, the plan list on the title bar (the built-in and saved plans, and
// the club's own plan while the week differs from every listed one), the
// assistant taking the week over through the message box, and step-by-step
// undo. The screen edits a copy of the human's week and hands it back to
// his training manager when it closes or another plan is chosen.
#include "shell/CGameClient.h"

#include "popups/CPopupTrainingCamp.h"

#include "common/CDate.h"
#include "common/Identifiers.h"
#include "season/CTrainingManager.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class CPopupSaveTactics;

class CClubDatabase;
class CSaveGame;
class CXAnimation;
class CXComboBox;
class CXStatic;
class CXSurface;

class CClientTrainingTeam : public CGameClient {
public:
    enum : uint32_t {
        ID_FIRST_DAY = 50000,
        ID_FIRST_CELL = 60000,
        ID_FIRST_PALETTE = 132,
        ID_CAMP = 128,
        ID_DELEGATE = 129,
        ID_UNDO = 130,
        ID_UNDO_ALL = 131,
        ID_SAVE = 144,
        ID_PLAN_LIST = 794,
        // The message box's three answers to how the assistant trains.
        ID_STYLE_DEFENSIVE = 1163,
        ID_STYLE_BALANCED = 1164,
        ID_STYLE_ATTACKING = 1165,
        ID_CONFIRM = 884,
    };
    enum { MESSAGE_WHO_TRAINS = 8, MESSAGE_UNDO_ALL = 9 };
    enum { VENUE_HOME = 0, VENUE_AWAY = 1, VENUE_ELSEWHERE = 2, VENUE_NONE = 255 };
    static constexpr int kPlanSelector = 13;
    // Client coordinates of the week and the palette.
    static constexpr int kCellLeft = 190;
    static constexpr int kCellTop = 32;
    static constexpr int kCellWidth = 72;
    static constexpr int kCellHeight = 53;
    static constexpr int kDayStep = 65;
    static constexpr int kPaletteLeft = 14;
    static constexpr int kPaletteTop = 78;
    static constexpr int kPaletteStep = 72;
    static constexpr int kPaletteWidth = 70;
    static constexpr int kPaletteHeight = 63;
    static constexpr int kIconWidth = 68;
    static constexpr int kIconHeight = 48;

    struct DAYROW {
        CDate date;
        const CClubDatabase* pOpponent = nullptr;
        int nVenue = VENUE_NONE;
        bool bCamp = false;
    };

    CClientTrainingTeam();
    ~CClientTrainingTeam() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnPaint() override;
    void OnLButtonUp(uint32_t flags, int x, int y) override;
    void OnMouseMove(uint32_t flags, int x, int y) override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnControlLButtonDown(uint32_t dwID, int x, int y) override;
    void OnControlMouseMove(uint32_t dwID, int x, int y) override;
    void OnGetToolTipText(uint32_t dwID, char* pszText) override;
    void ConstructScreen() override;
    // Hands the week to the training manager; a week changed here becomes
    // the club's own plan.
    virtual void StorePlan();
    void UpdateBars() override;
    void OnEndMessageBoxPopup() override;
    // A camp booked through the camp popup marks its days at once; the
    // plan-saving popup closed: a plan saved under the chosen name, or the
    // list again after plans were deleted in it.
    void OnEndPopup(CXPopup* pPopup) override;
    CPopupTrainingCamp& GetCampPopup() { return m_CampPopup; }

    // ---- rules the screen keeps (no game needed) ----
    // The date a row of the week shows: the rows run Monday to Sunday of
    // the week round today (from tomorrow on a Sunday), and a day already
    // past shows the same weekday of the week after.
    static CDate RowDate(const CDate& today, int nRow);
    // Where the club plays a fixture: at home (it is the home side, at the
    // home side's ground), away (the opponent is, at his ground) or
    // elsewhere.
    static int FixtureVenue(ID_CLUB idClub, ID_CLUB idHome, ID_GROUND idGround, ID_GROUND idClubGround,
                            ID_GROUND idOpponentGround);

    // ---- the screen's state, for the program and its tests ----
    uint8_t GetCellKind(int nSlot) const;
    bool IsModified() const { return m_bModified; }
    int GetUndoCount() const { return static_cast<int>(m_Undo.size()); }
    bool IsDragging() const { return m_bDragging; }
    const DAYROW& GetDayRow(int nDay) const { return m_aDays[static_cast<size_t>(nDay)]; }
    // The plan each row of the plan list stands for, in list order.
    const std::vector<const TRAININGPLAN*>& GetListedPlans() const { return m_ListedPlans; }
    // Chooses the plan of a list row, as the title-bar list does.
    void ChoosePlan(int nRow);
    // The assistant plans the week with preference 1-3 (the message box's
    // three choices store 3, 2 or 1).
    void DelegateTraining(uint8_t byPreference);
    // The save popup's answer: the week stored and written as the named
    // club plan, which becomes current; false (nothing changed) for a name
    // that cannot be a plan file.
    bool SavePlanAs(const char* pszName);
    // The plan-saving popup, made the first time the save button is used.
    CPopupSaveTactics* GetSavePlanPopup() const { return m_pSavePlan.get(); }
    void Undo();
    void UndoAll();

private:
    struct UNDORECORD {
        int nSlot = 0;
        uint8_t byKind = 0;
    };

    CXStatic* GetStatic(uint32_t dwID) const;
    bool IsHumanStillCurrent() const;
    CXComboBox* GetPlanList() const;
    void BuildControls();
    void BuildDays();
    void FillPlanList();
    void SelectCurrentPlan();
    void SetCell(int nSlot, uint8_t byKind);
    void ShowWeek(const uint8_t* pabyWeek);
    void ResetUndo();
    void UpdateUndoButtons();
    void UpdateDelegation(bool bChanged);
    void MarkModified();
    void DrawFixtureBars(CXSurface* pScreen);
    void DrawDraggedIcon(CXSurface* pScreen);
    void SetHandPointer(bool bHand);
    // The cell under a client point, -1 for none.
    int CellAt(int x, int y) const;
    static bool IsSessionControl(uint32_t dwID);

    CSaveGame* m_pHuman = nullptr;
    CClubDatabase* m_pClub = nullptr;
    uint32_t m_dwHumanSerial = 0;
    std::array<uint8_t, TRAINING_WEEK_SLOTS> m_abyWeek{};
    std::array<DAYROW, TRAINING_DAYS> m_aDays{};
    std::vector<const TRAININGPLAN*> m_ListedPlans;
    std::vector<UNDORECORD> m_Undo;
    bool m_bModified = false;
    bool m_bInitialised = false;
    bool m_bFilling = false;
    bool m_bDragging = false;
    bool m_bHandPointer = false;
    bool m_bPrintShown = false;
    uint32_t m_dwDragSource = 0;
    uint8_t m_byDragKind = 0;
    int m_nDragOffsetX = 0;
    int m_nDragOffsetY = 0;
    std::unique_ptr<CXSurface> m_pIconSurface;
    std::unique_ptr<CXSurface> m_pCampSurface;
    std::vector<std::unique_ptr<CXAnimation>> m_Icons;
    std::unique_ptr<CXAnimation> m_pCampIcon;
    CPopupTrainingCamp m_CampPopup;
    std::unique_ptr<CPopupSaveTactics> m_pSavePlan;
};

CClientTrainingTeam& GetTrainingTeamScreen();
