#pragma once
// Building work on a club's ground (screen id 55), opened by the ground
// development screen on a cell of its plan or with nothing chosen: a new
// stand at one of the eight places round the pitch or an improvement of the
// one standing there, a facility put on the first free place by a road, a
// pitch feature built or raised to a better option, and any of them taken
// down. Each page shows the cost, building weeks and yearly upkeep of what
// is chosen (a stand also its seats before and after) with a picture or a
// turning 3-D model of it, above the list of the ground's work in hand;
// work not yet begun can be called off. The work goes into the ground at
// once; the schedule page moves a planned job's start and marks it wanted
// or not, and closing drops every job marked unwanted. Only the human
// manager's own ground, when the club owns it, is built on; any other is
// only looked at.
#include "shell/CGamePopup.h"

#include "common/CDate.h"
#include "common/CXList.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class C3DEngine;
class CClubDatabase;
class CComponentDatabase;
class CComponentScheduleDatabase;
class CDatabaseHandler;
class CFileManager;
class CGroundDatabase;
class CModel;
class CXComboBox;
class CXEdit;
class CXGraph;
class CXListBox;
struct STANDTABLERECORD;
struct STANDADJUSTMENTTABLERECORD;
struct STANDPARTTABLERECORD;
struct FACILITYTABLERECORD;

class CPopupGroundDevelopment : public CGamePopup {
public:
    static constexpr uint16_t kScreenID = 55;
    enum : uint32_t {
        ID_STAND_PAGE = 540,
        ID_FACILITY_PAGE = 541,
        ID_FEATURE_PAGE = 542,
        ID_SCHEDULE_PAGE = 543,
        ID_SCHEDULES = 544,
        ID_CHOICE = 545,
        ID_STAND_KIND = 546,
        ID_SIZE = 547,
        ID_OPTION = 548,
        ID_ROOF = 549,
        ID_PART2 = 550,
        ID_PART0 = 551,
        ID_PART1 = 552,
        ID_BUILD = 553,
        ID_CANCEL_WORK = 554,
        ID_DEMOLISH = 555,
        ID_START_DATE = 557,
        ID_GRAPH = 558,
        ID_BALANCE_LINE = 559,
        ID_WORK_LINE = 560,
        ID_TITLE = 1056,
        ID_COST = 1095,
        ID_WEEKS = 1096,
        ID_MAINTENANCE = 1097,
        ID_OLD_CAPACITY = 1173,
        ID_NEW_CAPACITY = 1174,
    };
    enum { PAGE_STAND = 0, PAGE_FACILITY = 1, PAGE_FEATURE = 2, PAGE_SCHEDULE = 3 };
    // What the chosen place holds.
    enum : uint8_t {
        AREA_COMPONENT = 1,
        AREA_SCHEDULE = 2,
        AREA_BUILD = 4,
        AREA_IMPROVE = 8,
        AREA_DEMOLISH = 16,
    };
    // Work starts a week from today at the earliest; a job is never shorter
    // than four weeks (one month's payment).
    static constexpr int kNoticeDays = 7;
    static constexpr int kMinimumWeeks = 4;
    static constexpr int kStartDates = 24;
    // The preview panel.
    static constexpr int kPreviewX = 400, kPreviewY = 60, kPreviewWidth = 190, kPreviewHeight = 161;

    // Cost, weeks, monthly upkeep and seats of a choice.
    struct FIGURES {
        int64_t nCost = 0;
        int nWeeks = 0;
        int64_t nMonthlyMaintenance = 0;
        int nCapacity = 0;
    };
    // A stand's choices: place, kind, size, standard (combo 548), roof
    // (combo 549, 0 none) and the counts of its three extra parts.
    struct STANDCHOICE {
        int nPosition = 0, nKind = 0, nSize = 0, nOption = 0, nRoof = 0;
        int anParts[3] = {};
    };
    struct PAYMENTS {
        uint32_t dwInitial = 0, dwMonthly = 0, dwFinal = 0;
    };

    CPopupGroundDevelopment();
    ~CPopupGroundDevelopment() override;

    // The figures of a new stand; rows the tables lack count as nothing.
    static FIGURES NewStandFigures(const CDatabaseHandler& database, const STANDCHOICE& choice);
    // An existing stand changed to the choice: the difference in cost, the
    // difference in weeks, and the new upkeep and seats. A cost of 0 or
    // less gives 0 cost and 0 weeks.
    static FIGURES StandImprovementFigures(const CDatabaseHandler& database, const STANDCHOICE& from,
                                           const STANDCHOICE& to);
    // The figures of a facility or feature row; none for a missing row.
    static FIGURES RowFigures(const FACILITYTABLERECORD* pRow);
    // A quarter at the start, a quarter at the end, the rest a month at a time.
    static PAYMENTS Payments(int64_t nCost, int nWeeks);
    // The first place, column by column from the left and top down in each,
    // where a facility of the kind and size clashes with nothing and lies by
    // a road; false when there is none.
    static bool FindFacilityPlace(const CGroundDatabase& ground, int nKind, int nSize, int& nX, int& nY);
    // The projected balances month by month from the month of today, less
    // what the confirmed work that has not run its course pays in each month
    // after the first: its first payment in its start month, its monthly
    // payment from its start month to its end month, its last payment in its
    // end month and its upkeep every month after.
    static std::vector<int64_t> BalancesAfterWork(const std::vector<int32_t>& balances, const CGroundDatabase& ground,
                                                  const CDate& today);
    // The choice a stand component or schedule holds.
    static STANDCHOICE StandChoiceOf(int nKind, const uint8_t* pData);

    // Who and where: the club whose ground is shown (the screen's club).
    void SetClub(CClubDatabase* pClub) { m_pClub = pClub; }
    CClubDatabase* GetClub() const { return m_pClub; }
    // Gathers what stands at the plan cell; true when there is something and
    // it is neither the pitch nor a road. (-1, -1) clears the choice.
    bool GetComponentAt(int nX, int nY);

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnPaint() override;
    void OnClicked(uint32_t dwID) override;
    // The ground's work, and on the schedule page the balance graph too.
    void OnPrint() override;
    void OnSelChange(uint32_t dwID) override;
    void OnEditChange(CXControl* pControl) override;
    void ConstructScreen() override;

    int GetPage() const { return m_nPage; }
    uint8_t GetPages() const { return m_nPages; }
    uint8_t GetAreaFlags() const { return m_nAreaFlags; }
    CXComboBox* Box(uint32_t dwID) const;
    CXEdit* Edit(uint32_t dwID) const;
    CXListBox* ScheduleList() const;
    // Whether this ground may be built on here.
    bool IsEditable() const;
    // The preview's picture or mesh names of the last choice shown, and
    // whether the model of the last 3-D preview was made.
    const std::string& GetPreviewName() const { return m_PreviewName; }
    const std::string& GetPreviewRoofName() const { return m_PreviewRoofName; }
    bool HasPreviewModel() const { return static_cast<bool>(m_pModel); }
    bool HasPreviewPicture() const { return static_cast<bool>(m_pPicture); }
    bool IsPreview3D() const { return static_cast<bool>(m_p3DEngine); }

private:
    CGroundDatabase* Ground() const;
    CDate Today() const;
    void FreeArea();
    void ScanArea(bool bSwitchPage, bool bFirstTime);
    CComponentDatabase* FindComponentInLinkedList() const;
    CComponentScheduleDatabase* FindScheduleInList(int nKindMask) const;
    void ShowPage(int nPage);
    void FillStandPage();
    void FillFacilityPage();
    void FillFeaturePage();
    void FillSizes();
    void FillFeatureOptions();
    void SelectFeature();
    void FillScheduleList();
    void FillStartDates();
    void UpdateGraph();
    void DoUpdateStadiumDisplay();
    STANDCHOICE CurrentStandChoice() const;
    void UpdateCost();
    void UpdateStandCost();
    void UpdateFacilityCost();
    void UpdateFeatureCost();
    void UpdatePartRanges(bool bFresh);
    void UpdateButtons();
    void ShowFigures(const FIGURES& figures, bool bCapacity, int nOldCapacity);
    bool IsOwnGround() const;
    void BuildOrApply();
    void BuildStand();
    void BuildFacility();
    void BuildFeature();
    void Demolish();
    void CancelSelectedSchedule();
    void ToggleConfirmed(int nRow);
    void DropUnconfirmed();
    CComponentScheduleDatabase* SelectedSchedule() const;
    // The schedule put back with its events booked again; the new record.
    CComponentScheduleDatabase* Rebook(CComponentScheduleDatabase* pSchedule);
    CComponentScheduleDatabase* NewSchedule(uint8_t byKind, const CDate& start) const;
    // A new build schedule with the planned component it will build.
    CComponentScheduleDatabase* NewBuild(uint8_t byMainType, const CDate& start) const;
    // Gives the work its weeks, payments and figures; new work goes into the
    // ground with its events, work in hand is booked again. Answers the
    // record the ground holds.
    CComponentScheduleDatabase* StoreWork(CComponentScheduleDatabase* pSchedule, bool bNew, int64_t nCost, int nWeeks,
                                          uint8_t byType, uint8_t bySubType, uint32_t dwMaintenance,
                                          uint32_t dwValue);

    // The preview (CPopupGroundDevelopmentPreview.cpp).
    void SetUpPreview();
    void ReleasePreview();
    void RebuildPreview();
    void SetNew3DComponent(const char* pszMesh, const char* pszRoof, bool bClubColours);
    void DrawPreview();

    CClubDatabase* m_pClub = nullptr;
    CXList m_lstArea;  // CGroundDatabase::AREACLASH records, owned
    uint8_t m_nAreaFlags = 0;
    uint8_t m_nPages = 7;
    int m_nPage = PAGE_STAND;
    bool m_bFilling = false;
    // Table rows of the choice shown.
    const STANDTABLERECORD* m_pStandRow = nullptr;
    const STANDADJUSTMENTTABLERECORD* m_pRoofRow = nullptr;
    const FACILITYTABLERECORD* m_pFacilityRow = nullptr;

    std::unique_ptr<CFileManager> m_pPreviewArchive;
    std::unique_ptr<CFileManager> m_pTextureArchive;
    std::unique_ptr<C3DEngine> m_p3DEngine;
    std::unique_ptr<CXSurface> m_p3DSurface;
    std::unique_ptr<CXSurface> m_pPicture;
    std::unique_ptr<CXSurface> m_pSmallFaces;
    std::unique_ptr<CModel> m_pModel;
    bool m_bOwnDevice = false;
    float m_afTarget[3] = {};
    float m_fYaw = 0.0f;
    std::string m_PreviewName, m_PreviewRoofName;
};
