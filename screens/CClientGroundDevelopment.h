#pragma once
// A club's ground as a plan seen from above (screen 35): a grid of 10-pixel
// cells round the pitch with the finished stands and facilities drawn from
// the plan archive's bitmaps, and the work planned or under way outlined in
// the colour of where it stands. Hovering a part names it. The human manager
// of a club that owns its ground moves a planned building by dragging it to
// a free place (a facility) or cancels it by dragging it off the plan; any
// other club's ground is only looked at. The change parameter is the club id.
#include "popups/CPopupGroundDevelopment.h"
#include "shell/CGameClient.h"

#include <cstdint>
#include <memory>
#include <vector>

class CClubDatabase;
class CComponentDatabase;
class CComponentScheduleDatabase;
class CFileManager;
class CGroundDatabase;
class CXButton;
class CXSurface;

class CClientGroundDevelopment : public CGameClient {
public:
    enum : uint32_t { ID_CAPACITY = 1056, ID_DEVELOP = 381, ID_GROUND_VIEW = 382, ID_FIRST_COMPONENT = 20000 };
    enum { RECORD_COMPONENT = 1, RECORD_SCHEDULE = 2 };
    enum { DRAG_NONE = 0, DRAG_STAND = 1, DRAG_FACILITY = 2, DRAG_FEATURE = 3 };
    // The plan in client pixels: 62 x 44 cells of 10 from (8, 30).
    static constexpr int kPlanLeft = 8, kPlanTop = 30, kPlanRight = 629, kPlanBottom = 471;
    static constexpr int kCell = 10;
    static constexpr int kColumns = (kPlanRight - kPlanLeft) / kCell;
    static constexpr int kRows = (kPlanBottom - kPlanTop) / kCell;
    // Where the client area stands on the display.
    static constexpr int kClientX = 160, kClientY = 85;
    // Outline colours of work: started, and not started yet.
    static constexpr COLORREF kBuildStarted = 0x00ff00, kImproveStarted = 0xff0000, kDemolishStarted = 0x0000ff;
    static constexpr COLORREF kNotStarted = 0x0096ff;

    CClientGroundDevelopment();
    ~CClientGroundDevelopment() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnPaint() override;
    void OnLButtonDown(uint32_t flags, int x, int y) override;
    void OnLButtonUp(uint32_t flags, int x, int y) override;
    void OnMouseMove(uint32_t flags, int x, int y) override;
    void OnSelChange(uint32_t dwID) override;
    // The ground development popup: on a double click over a part of the
    // plan with that part in hand, or with nothing chosen from the button.
    void OnLButtonDblClk(uint32_t flags, int x, int y) override;
    void OnClicked(uint32_t dwID) override;
    void OnEndPopup(CXPopup* pPopup) override;
    CPopupGroundDevelopment& GetDevelopmentPopup() { return m_DevelopmentPopup; }
    void OnGetToolTipText(uint32_t dwID, char* pszText) override;
    void ConstructScreen() override;

    // The cell of a client point: column and row as signed bytes, cut
    // toward zero (points up to 9 pixels left of or above the plan fall in
    // column or row 0).
    static void CellOfPoint(int x, int y, int& nColumn, int& nRow);
    // Whether a facility of the footprint may stand with its top-left cell
    // there: inside the plan, and nothing but the schedule itself (the
    // stadium plot, a road, a component or other work) on its cells.
    bool CanPlaceFacility(const CComponentScheduleDatabase& schedule, int nColumn, int nRow) const;

    const CClubDatabase* GetClub() const { return m_pClub; }
    // Whether the shown club's plan may be changed here.
    bool IsEditable() const { return m_bEditable; }
    int GetDragMode() const { return m_nDragMode; }
    const CComponentScheduleDatabase* GetDragSchedule() const { return m_pDragSchedule; }
    // The rectangle (client pixels) a component or schedule is drawn in;
    // empty for a feature or data outside the tables.
    static plat::Rect GetRecordRect(int nKind, const void* pRecord);
    // The records with a hover button, in drawing order.
    struct COMPONENTCONTROL {
        CXButton* pButton;
        int nKind;
        const void* pRecord;
    };
    const std::vector<COMPONENTCONTROL>& GetComponentControls() const { return m_ComponentControls; }
    // Rebuilds the plan at once (the next paint does it otherwise).
    void RebuildPlan();

private:
    CGroundDatabase* Ground() const;
    // Whether the record still belongs to the ground shown.
    bool IsRecordOnGround(int nKind, const void* pRecord) const;
    void DrawComponentOnGrid(CXSurface* pSurface, int nKind, const void* pRecord, uint32_t* pdwNextID,
                             plat::Rect* pRect, bool bAtGivenPlace, int x, int y);
    void DrawStadiumComponentOnGrid(CXSurface* pSurface, int nKind, const void* pRecord, plat::Rect* pRect,
                                    bool bAtGivenPlace, int x, int y);
    void DrawFacilityComponentOnGrid(CXSurface* pSurface, int nKind, const void* pRecord, plat::Rect* pRect,
                                     bool bAtGivenPlace, int x, int y);
    void DrawFeatureComponentOnGrid(int nKind, const void* pRecord, plat::Rect* pRect);
    void DrawScheduledComponentOnGrid(CComponentScheduleDatabase* pSchedule, bool bStarted);
    void DrawGridRect(CXSurface* pSurface, int x, int y, int nWidth, int nHeight, COLORREF crFill, COLORREF crFrame,
                      bool bFilled);
    CXSurface* LoadPlanBitmap(const char* pszName);
    void RemoveComponentControls();
    void ShowCapacity();

    CClubDatabase* m_pClub = nullptr;
    std::unique_ptr<CFileManager> m_pPlanArchive;
    std::unique_ptr<CXSurface> m_pPitchSurface, m_pFloorSurface;
    // The background as it stands before anything is built on the plan.
    std::unique_ptr<CXSurface> m_pBareBackground;
    bool m_bRedraw = false;
    // What the plan was last drawn from: the day and the ground's counts.
    uint32_t m_dwPlanDate = 0;
    int m_nPlanComponents = -1, m_nPlanSchedules = -1;
    bool m_bEditable = false;
    int m_nDragMode = DRAG_NONE;
    CComponentScheduleDatabase* m_pDragSchedule = nullptr;
    int m_nGrabX = 0, m_nGrabY = 0;
    int m_nMouseX = 0, m_nMouseY = 0;
    std::vector<COMPONENTCONTROL> m_ComponentControls;
    CPopupGroundDevelopment m_DevelopmentPopup;
};

CClientGroundDevelopment& GetGroundDevelopmentScreen();
