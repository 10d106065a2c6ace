#pragma once
// A stadium: its name and seating capacity, the components built on its plan
// and the building schedules that change them.
#include <cstdint>

#include "common/CXList.h"
#include "common/Identifiers.h"

class CBinaryReader;
class CBinaryWriter;
class CClubDatabase;
class CComponentDatabase;
class CComponentScheduleDatabase;
class CDatabaseHandler;

class CGroundDatabase {
public:
    static constexpr int FILE_SIZE = 52;
    static constexpr int NAME_SIZE = 32;
    // Attendance of a ground without seats is worked out on this many.
    static constexpr int DEFAULT_CAPACITY = 10000;

    CGroundDatabase() = default;
    ~CGroundDatabase();
    CGroundDatabase(const CGroundDatabase&) = delete;
    CGroundDatabase& operator=(const CGroundDatabase&) = delete;

    static void SetDatabaseHandler(CDatabaseHandler* pHandler) { m_pDatabaseHandler = pHandler; }

    // Reads the ground with its components and schedules. False (logged) for
    // a short record, counts larger than the bytes that follow, a repeated
    // component identifier, or a component or schedule that is refused; the
    // caller then frees the ground.
    bool Load(CBinaryReader& reader);
    bool Save(CBinaryWriter& writer) const;

    CComponentDatabase* FindComponent(uint32_t dwID, LPXLISTNODE* ppNode = nullptr) const;
    CComponentScheduleDatabase* FindComponentSchedule(uint32_t dwID, LPXLISTNODE* ppNode = nullptr) const;
    // Both take ownership and answer the new count. With bAnnounce and an
    // owner, the schedule's work is booked in the owner's country: event 30
    // on the start day (the initial cost), 31 every fourth week from the end
    // backwards (the monthly cost), 32 and 33 on the end day (the extra cost,
    // then the completion).
    int AddComponent(CComponentDatabase* pComponent);
    int AddComponentSchedule(CComponentScheduleDatabase* pSchedule, bool bAnnounce = false);
    // Unlinks and frees the schedule with its booked events; a build
    // schedule takes its unfinished component with it.
    void RemoveComponentSchedule(CComponentScheduleDatabase* pSchedule);
    // The weekly check of a human-run ground: work that starts within two
    // weeks and that the club cannot pay for, or a demolition that would
    // leave fewer than two components of sub type 6, is called off with
    // news item 165.
    void ProcessComponentSchedules();
    // What the whole schedule costs: the monthly cost for every four weeks,
    // the initial cost and the extra cost.
    static int64_t GetScheduleCost(const CComponentScheduleDatabase& schedule);

    CComponentDatabase* GetStandOnSide(int nSide) const;
    CComponentScheduleDatabase* GetScheduledStandOnSide(int nSide) const;
    int GetSideState(int nSide) const;
    int CountComponentsOfMainType(int nMainType) const;
    int CountComponentsOfSubType(int nSubType) const;
    int CountRunningSchedules(int nSubType, int nKind) const;
    // Fills the component that a schedule will build from its data.
    void PrepareScheduledComponent(CComponentScheduleDatabase* pSchedule) const;
    // Completion of a schedule; each refuses (logged) a schedule of another kind.
    bool ProcessBuildComponentSchedule(CComponentScheduleDatabase* pSchedule);
    bool ProcessImproveComponentSchedule(CComponentScheduleDatabase* pSchedule);
    bool ProcessDemolishComponentSchedule(CComponentScheduleDatabase* pSchedule);
    // Kind 1, 2 or 3: whether a pitch item of sub type 12, 15 or 16 exists.
    bool GetPitchConditionComponent(int nKind) const;

    // Attendance for a home club's attendance factor against its opponent:
    // never above the capacity used (DEFAULT_CAPACITY without seats).
    int CalculateAttendance(float fFactor) const;
    // Attendance as a whole percentage of the capacity used.
    int GetAttendancePercentage(int nAttendance) const;

    // Raises the maintenance of every finished stand by its yearly percentage.
    void ApplyYearlyCostRise();
    // Totals of the finished components by main type.
    void RecalculateTotals();
    // Orders the components by stand side (others count as side 0), keeping
    // the order of equal sides so that a saved ground reloads the same.
    void SortComponents();

    uint16_t GetID() const { return m_wID; }
    void SetID(uint16_t wID) { m_wID = wID; }
    int32_t GetCapacity() const { return m_nCapacity; }
    void SetCapacity(int32_t nCapacity) { m_nCapacity = nCapacity; }
    const char* GetName() const { return m_szName; }
    void SetName(const char* pszName);
    int32_t GetTotal(int nMainType) const { return nMainType >= 0 && nMainType < 3 ? m_anTotals[nMainType] : 0; }
    uint32_t GetStandLayout() const { return m_dwStandLayout; }
    void SetStandLayout(uint32_t dwLayout) { m_dwStandLayout = dwLayout; }
    uint8_t GetRoofLayout() const { return m_byRoofLayout; }
    void SetRoofLayout(uint8_t byLayout) { m_byRoofLayout = byLayout; }
    int GetComponentCount() const { return m_lstComponents.GetCount(); }
    int GetScheduleCount() const { return m_lstSchedules.GetCount(); }
    const CXList& GetComponents() const { return m_lstComponents; }
    const CXList& GetSchedules() const { return m_lstSchedules; }
    CClubDatabase* GetOwner() const { return m_pOwner; }
    void SetOwner(CClubDatabase* pOwner) { m_pOwner = pOwner; }

    // ---- plan layout and generation (CGroundDatabaseLayout.cpp) ----
    static constexpr int PLAN_WIDTH = 62;
    static constexpr int PLAN_HEIGHT = 44;
    enum { CLASH_NONE = 0, CLASH_COMPONENT = 1, CLASH_SCHEDULE = 2, CLASH_PITCH = 3, CLASH_ROAD = 4 };
    enum { AREA_PITCH_SURROUND = 1, AREA_INSIDE_PLAN = 2, AREA_IGNORE_UNSTARTED = 4 };
    struct AREACLASH {
        int nKind = CLASH_NONE;
        const void* pItem = nullptr;  // the component or schedule
    };
    // The fixed surroundings map, the same for every ground: the tile kind
    // of a plan cell (0-5 grass, 6 T-junction, 7 corner, 8 straight road,
    // 9 road with a crossing, 10 cross roads; 6 and above is road) and its
    // orientation 0-3 (turned by 0, 3pi/2, pi or pi/2 about the vertical);
    // -1 outside the plan.
    static int GetPlanTerrain(int nX, int nY);
    static int GetPlanTileOrientation(int nX, int nY);
    static bool IsRoadCell(int nX, int nY) { return GetPlanTerrain(nX, nY) >= 6; }
    static bool GetFacilityFootprint(int nFootprint, int& nWidth, int& nHeight);
    static bool IsFacilityPositionValid(const uint8_t* pFacilityData);
    static bool CheckIfFacilityComponentNearRoad(int nX0, int nY0, int nX1, int nY1, int* pnFailures);
    static bool CheckIfFacilityComponentNearRoad(const uint8_t* pFacilityData, int* pnFailures);
    // The rectangle a component covers on the plan; false for a pitch item.
    static bool GetComponentRect(int nMainType, int nSubType, const uint8_t* pData, int& nX, int& nY, int& nWidth,
                                 int& nHeight);
    // True when the rectangle clashes with the pitch, the road (with
    // AREA_INSIDE_PLAN), a running schedule or a finished component.
    bool IsAreaOccupied(int nX, int nY, int nWidth, int nHeight, int nFlags, AREACLASH* pClash,
                        int* pnFailures) const;
    // Appends a new AREACLASH for each thing in the rectangle: the pitch, the
    // first road cell, every finished component and running schedule. The
    // caller frees the records.
    void GetComponentsInArea(int nX, int nY, int nWidth, int nHeight, bool bPitchSurround, CXList& lstOut) const;
    // Stands (and seats) of a ground that has none yet, then its pitch items.
    void GenerateGroundStadiums();
    void GenerateGroundFacilities();
    // Gives every stand its share of the capacity by side weight.
    void DistributeSeats();
    static int GetNextQualityValueFromTable(int* pnTable);
    // Facilities a new ground builds: {kind, sub kind, count} rows ended by
    // kind 0. The row of the pair or the first free row; -1 (logged) when full.
    static constexpr int FACILITIES_TO_BUILD = 17;
    static int FindComponentInFacilityComponentsToBuildArray(const uint8_t (*pabyArray)[3], int nKind,
                                                             int nSubKind);
    // Draws a free spot by a road for one facility; false (logged) after too
    // many tries, and the facility is not built.
    bool PlaceNewFacility(int nKind, int nSize);

private:
    void FreeAll();
    class CCountryDatabase* GetClimateCountry() const;

    static CDatabaseHandler* m_pDatabaseHandler;

    uint16_t m_wID = 0;
    int32_t m_nCapacity = 0;
    char m_szName[NAME_SIZE] = {};
    int32_t m_anTotals[3] = {};
    uint32_t m_dwStandLayout = 0;
    uint8_t m_byRoofLayout = 0;
    CClubDatabase* m_pOwner = nullptr;
    CXList m_lstComponents;  // CComponentDatabase
    CXList m_lstSchedules;   // CComponentScheduleDatabase
};
