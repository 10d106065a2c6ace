#pragma once
// The individual training screen (screen 6): the first-team squad or the
// youth players listed, and for the chosen one nine sliders sharing his
// individual training among the nine trained skills, the hours a week each
// share gives, ticks for the skills that give way when one share moves, and
// a graph of his nine skills over the last 52 weeks of the player history.
// The screen edits copies of the human's individual-training entries and
// hands them back when it closes; the assistant can take the job over, and
// every change can be undone step by step.
#include "shell/CGameClient.h"
#include "shell/PlayerRowIcons.h"

#include "common/CDate.h"
#include "season/CTrainingManager.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class CClubDatabase;
class CPersonDatabase;
class CSaveGame;
class CXAnimation;
class CXComboBox;
class CXGraph;
class CXListBoxEx;
class CXSlider;
class CXStatic;

class CClientTrainingIndividual : public CGameClient {
public:
    enum : uint32_t {
        ID_PLAYERS = 94,
        ID_SCROLLBAR = 901,
        ID_CAPTION = 1047,
        ID_GRAPH = 1046,
        ID_FIRST_SLIDER = 115,
        ID_FIRST_HOURS = 1037,
        ID_FIRST_TICK = 10000,
        ID_DELEGATE = 124,
        ID_UNDO = 125,
        ID_UNDO_ALL = 126,
        ID_COPY = 127,
        ID_VIEW = 1144,
        // The message box's three answers to who sets the training.
        ID_STYLE_DEFENSIVE = 1163,
        ID_STYLE_BALANCED = 1164,
        ID_STYLE_ATTACKING = 1165,
        ID_CONFIRM = 884,
        ID_FILTER = 981,
    };
    enum { MESSAGE_WHO_TRAINS = 8, MESSAGE_UNDO_ALL = 9, MESSAGE_COPY = 46 };
    enum { VIEW_FIRST_TEAM = 0, VIEW_YOUTH = 1, VIEW_NONE = 255 };
    enum { UNDO_VIEW = 0, UNDO_PLAYER = 1, UNDO_SLIDERS = 2, UNDO_TICK = 3 };
    // The nine skill values' controls, one id each; the eighth skips 113.
    static constexpr uint32_t kValueIDs[TRAINING_AREAS] = {105, 106, 107, 108, 109, 110, 111, 112, 114};
    static constexpr int kSliderLeft = 406;
    static constexpr int kRowTop = 279;
    static constexpr int kRowStep = 22;

    CClientTrainingIndividual();
    ~CClientTrainingIndividual() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnBeginScroll(uint32_t dwID) override;
    void OnScroll(uint32_t dwID) override;
    void OnEndScroll(uint32_t dwID) override;
    void ConstructScreen() override;
    void OnEndMessageBoxPopup() override;
    void OnEndPopup(CXPopup* pPopup) override;
    void UpdateBars() override;
    void OnPrint() override;
    uint32_t GetPreviousPlayer() override { return MoveSelection(-1); }
    uint32_t GetNextPlayer() override { return MoveSelection(1); }
    uint32_t GetPreviousListPlayer() override { return MoveSelection(-1); }
    uint32_t GetNextListPlayer() override { return MoveSelection(1); }
    uint32_t GetCurrentListPlayer() override;

    // ---- rules the screen keeps (no game needed) ----
    // Balances the nine shares after share nDragged moved: the difference
    // to 100 is spread evenly over the ticked shares other than the dragged
    // one (over the ticked shares of 2 or more when the total is too high),
    // then the dragged share is cut to what the others leave.
    static void BalanceShares(std::array<int, TRAINING_AREAS>& anShares, int nDragged, uint16_t wTicks);
    // The week of the player history's newest record on a day.
    static int LastRecordedWeek(const CDate& today);
    // The hours and minutes a week a share of the sessions gives.
    static void ShareToHours(int nShare, int nSessions, int& nHours, int& nMinutes);

    // ---- the screen's state, for the program and its tests ----
    int GetView() const { return m_nView; }

    // Filter bits of each view: bit 0 players of the club's country, bit 1
    // the others, bits 2-5 positions 0-3 (the choices of text set 111).
    static constexpr uint32_t kWholeFilter = 63;
    static constexpr int kFilterTextSet = 111;
    static bool PassesFilter(uint32_t dwMask, bool bHomeNationality, int nPosition);
    // A new filter for the shown view: the list is filled again, and the
    // player shown stays when the filter keeps him.
    void SetFilter(uint32_t dwMask);
    uint32_t GetFilter() const;
    uint32_t GetCurrentPlayer() const { return m_dwPlayer; }
    // The entry being edited (the working copy), or null.
    const INDIVIDUALTRAINING* GetCurrentEntry() const;
    int GetUndoCount() const { return static_cast<int>(m_Undo.size()); }
    int GetSessions() const { return m_nSessions; }
    CXListBoxEx* GetPlayerList() const;
    CXSlider* GetSlider(int nArea) const;
    CXGraph* GetGraph() const;
    // Chooses the view, as the title-bar list does.
    void ChooseView(int nView);
    // The assistant sets the training with preference 1-3 (the message box's
    // three choices store 3, 2 or 1).
    void DelegateTraining(uint8_t byPreference);
    void Undo();
    void UndoAll();
    // Copies the shown player's entry to every listed player of his natural
    // position; answers how many got it.
    int CopyToPosition();

private:
    struct UNDORECORD {
        uint8_t byKind = 0;
        uint32_t dwValue = 0;
        std::array<int, TRAINING_AREAS> anShares{};
    };

    INDIVIDUALTRAINING* CurrentEntry();
    INDIVIDUALTRAINING* FindEntry(uint32_t dwId, int nView);
    CPersonDatabase* FindPerson(uint32_t dwId) const;
    CXStatic* GetStatic(uint32_t dwID) const;
    void BuildControls();
    void FillList(bool bSortByPosition);
    void ShowView(int nView);
    void ShowPlayer(uint32_t dwId);
    void ShowShares();
    void ShowHours();
    void ShowTick(int nArea);
    void DrawSkillGraph();
    void PushUndo(const UNDORECORD& record);
    void UpdateUndoButtons();
    void UpdateDelegation(bool bChanged);
    void StoreSliderShares();
    uint32_t MoveSelection(int nStep);

    CSaveGame* m_pHuman = nullptr;
    uint32_t m_dwHumanSerial = 0;
    CClubDatabase* m_pClub = nullptr;
    INDIVIDUALTRAINING m_aEntries[2][TRAINING_ENTRIES];
    int m_nView = VIEW_NONE;
    std::array<uint32_t, 2> m_adwFilters{kWholeFilter, kWholeFilter};
    std::unique_ptr<CXSurface> m_pFilterFace;
    uint32_t m_dwPlayer = 0;
    int m_nSessions = 0;
    bool m_bFixedNumbers = false;
    bool m_bInitialised = false;
    bool m_bFilling = false;
    int m_nSortColumn = 2;
    bool m_bSortAscending = true;
    int m_nDragged = -1;
    std::array<int, TRAINING_AREAS> m_anDragStart{};
    std::vector<UNDORECORD> m_Undo;
    // The position and role icons, one cell each of the shared strips.
    PlayerRowIcons m_RowIcons;
    CXAnimation* m_pTickImage = nullptr;
};

CClientTrainingIndividual& GetTrainingIndividualScreen();
