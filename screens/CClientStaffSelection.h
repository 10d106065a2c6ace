#pragma once
// The staff selection screen (screen 22): the human manager's club staff in
// the club's staff hierarchy, six boxes of places, one per staff kind, above
// the list of the whole staff. Staff are dragged from the list or another box
// into a box (below its rows to add, onto a row to replace) and out of a box
// onto the removal area; every change is written into the club's staff
// places at once, and a scout entering or leaving the scouts' box takes or
// gives up his scouting slot. A staff member chosen in the list is sacked
// after the message box's question, the club paying him compensation.
#include "shell/CGameClient.h"

#include "common/Identifiers.h"

#include <cstdint>
#include <memory>

class CClubDatabase;
class CSaveGame;
class CStaffDatabase;
class CXListBoxEx;

class CClientStaffSelection : public CGameClient {
public:
    enum : uint32_t {
        ID_MANAGER = 245,
        ID_FIRST_BOX = 246,
        ID_LAST_BOX = 251,
        ID_ALL_STAFF = 252,
        ID_SCROLLBAR = 901,
        ID_SACK = 1120,
    };
    enum { MESSAGE_SACK = 74 };
    static constexpr int kScoutKind = 2;
    // The area a box row is dragged onto to take it off the chart.
    static constexpr int kRemovalLeft = 426, kRemovalTop = 36, kRemovalRight = 586, kRemovalBottom = 68;

    CClientStaffSelection();
    ~CClientStaffSelection() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnPaint() override;
    void ConstructScreen() override;
    void OnLButtonUp(uint32_t flags, int x, int y) override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnDoubleClicked(uint32_t dwID) override;
    void OnDragExternally(uint32_t dwID, int x, int y) override;
    void OnDragNotify(uint32_t dwSourceID, uint32_t dwTargetID, uint32_t dwTargetRow, uint32_t dwSourceRow) override;
    void UserSlot24(uint32_t dwID, uint32_t x, uint32_t y) override;
    void OnEndMessageBoxPopup() override;
    void UpdateBars() override;
    void OnGetToolTipText(uint32_t dwID, char* pszText) override;
    uint32_t GetPreviousStaff() override { return StepStaffList(-1); }
    uint32_t GetNextStaff() override { return StepStaffList(1); }
    uint32_t GetCurrentStaff() override { return StepStaffList(0); }
    // The staff details popup sacks through the screen: the chosen member's
    // compensation, and the sacking with its lists filled again.
    int32_t GetCurrentStaffSackCost() override;
    bool SackCurrentStaff() override { return SackSelectedStaff(); }
    void OnEndPopup(CXPopup* pPopup) override;

    // The staff kind of a box (-1 for any other control) and the box of a kind.
    static int BoxKind(uint32_t dwID);
    static uint32_t KindBox(int nKind);
    static int BoxPlaces(uint32_t dwID);
    // The rating a box shows: his own rating in a box of his kind, a quarter
    // of it in a box of another kind.
    static int BoxRating(const CStaffDatabase& staff, int nBoxKind);

    // ---- the hierarchy ----
    // A staff member joins a box below its rows; false when the box is full
    // or already holds him.
    bool AddStaffToHierarchyListBox(uint32_t dwBox, CStaffDatabase* pStaff);
    // A staff member takes a box row's place; false when the box already
    // holds him or there is no such row.
    bool ReplaceStaffInHierarchyListBox(uint32_t dwBox, int nRow, CStaffDatabase* pStaff);
    // A box row is taken off the chart.
    bool RemoveStaffFromHierarchyListBox(uint32_t dwBox, int nRow);
    // Each kind's places take the box's rows in order, the rest empty.
    void StoreHierarchy();
    // The staff member chosen in the list is paid his compensation and
    // sacked; false when the list is empty afterwards.
    bool SackSelectedStaff();
    // Asks the message box whether to sack the chosen staff member.
    bool AskToSackSelectedStaff();

    CXListBoxEx* GetList(uint32_t dwID) const;
    CStaffDatabase* GetRowStaff(uint32_t dwListID, int nRow) const;
    CStaffDatabase* GetSelectedStaff() const;
    // Chooses a staff member in the list; false when he is not listed.
    bool SelectStaff(ID_STAFF idStaff);
    int GetActiveList() const { return static_cast<int>(m_dwActiveList); }

private:
    bool IsShowingCurrentClub() const;
    void BuildControls();
    void Fill();
    void FillBox(uint32_t dwBox);
    void FillStaffList();
    void AddBoxRow(CXListBoxEx* pBox, const CStaffDatabase& staff);
    void RecolourStaffList();
    bool BoxHolds(uint32_t dwBox, ID_STAFF idStaff) const;
    // Scouting slots follow the scouts' box.
    void TakeScoutSlot(const CStaffDatabase& staff);
    void HandScoutSlot(const CStaffDatabase& leaving, const CStaffDatabase& joining);
    void ReleaseScoutSlot(ID_STAFF idStaff);
    void ForgetScoutReports(ID_STAFF idStaff);
    void DrawDraggedRow();
    uint32_t StepStaffList(int nStep);

    CSaveGame* m_pHuman = nullptr;
    CClubDatabase* m_pClub = nullptr;
    uint32_t m_dwActiveList = 0;
    // The drag: the dragged staff member and where the mouse is.
    bool m_bDragging = false;
    const CStaffDatabase* m_pDragged = nullptr;
    int32_t m_nDragX = 0, m_nDragY = 0;
    // The staff member the sack question is about.
    ID_STAFF m_idAskedToSack = 0;
};

CClientStaffSelection& GetStaffSelectionScreen();
