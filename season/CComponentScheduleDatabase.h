#pragma once
// One piece of ground work: building, improving or demolishing a component
// over a number of weeks from a start date.
#include <cstdint>

#include "common/CDate.h"
#include "season/CComponentDatabase.h"

class CBinaryReader;
class CBinaryWriter;
class CDatabaseHandler;
class CGroundDatabase;

enum {
    SCHEDULE_BUILD = 0,
    SCHEDULE_IMPROVE = 1,
    SCHEDULE_DEMOLISH = 2,
};

// Offsets in the 20-byte data block of build and improve schedules.
enum {
    SCHEDULE_DATA_MAIN_TYPE = 0,  // build: main type; improve: the new sub type
    SCHEDULE_DATA_SUB_TYPE = 1,   // build only
    SCHEDULE_DATA_INITIAL_COST = 4,
    SCHEDULE_DATA_MONTHLY_COST = 8,
    SCHEDULE_DATA_MAINTENANCE = 12,
    SCHEDULE_DATA_VALUE = 16,
};
constexpr int SCHEDULE_DATA_SIZE = 20;
constexpr int SCHEDULE_DEMOLISH_DATA_SIZE = 1;

class CComponentScheduleDatabase {
public:
    static constexpr int FILE_SIZE = 20;

    CComponentScheduleDatabase() = default;
    CComponentScheduleDatabase(const CComponentScheduleDatabase&) = default;
    CComponentScheduleDatabase& operator=(const CComponentScheduleDatabase&) = default;

    static void SetDatabaseHandler(CDatabaseHandler* pHandler) { m_pDatabaseHandler = pHandler; }

    // Reads the record, its data block and its component data; the component
    // is found by identifier in the ground. False for a short record, an
    // unknown kind or main type, a component the ground does not hold, or
    // component data outside its tables.
    bool Load(CBinaryReader& reader, CGroundDatabase* pGround);
    bool Save(CBinaryWriter& writer) const;

    uint8_t GetComponentMainType() const;
    uint8_t GetComponentSubType() const;
    uint32_t GetComponentInitialCost() const;
    uint32_t GetComponentMonthlyCost() const;
    // What its payment event of type 30 (the start), 31 (a month's work) or
    // 32 (the schedule's own cost) charges the ground's owner.
    uint32_t GetEventPayment(uint8_t byEventType) const;
    uint32_t GetComponentMaintenanceCost() const;
    uint32_t GetComponentValue() const;
    // The data the component will have when the work is done (its own data
    // for a demolish); null for a corrupt kind.
    const uint8_t* GetAssociatedComponentSpecificData() const;
    bool Get2DComponentFilename(char* pszStand, char* pszRoof) const;

    // True once the given date (the game date without one) is after the start.
    bool IsDue() const;
    bool IsDue(const CDate& date) const { return date > m_StartDate; }
    bool HasDurationElapsed() const;
    bool HasDurationElapsed(const CDate& date) const;
    // 0 before the start, 100 once the duration has passed; a schedule of 0
    // weeks is complete from its start day.
    int GetPercentComplete(const CDate& date) const;
    // Start date plus the duration.
    CDate GetEndDate() const { return CDate(m_StartDate.GetValue(), m_wDuration * 7); }

    uint32_t GetID() const { return m_dwID; }
    void SetID(uint32_t dwID) { m_dwID = dwID; }
    uint8_t GetKind() const { return m_byKind; }
    void SetKind(uint8_t byKind) { m_byKind = byKind; }
    const CDate& GetStartDate() const { return m_StartDate; }
    void SetStartDate(const CDate& date) { m_StartDate = date; }
    uint16_t GetDuration() const { return m_wDuration; }
    void SetDuration(uint16_t wWeeks) { m_wDuration = wWeeks; }
    uint32_t GetExtraCost() const { return m_dwExtraCost; }
    void SetExtraCost(uint32_t dwCost) { m_dwExtraCost = dwCost; }
    CComponentDatabase* GetComponent() const { return m_pComponent; }
    void SetComponent(CComponentDatabase* pComponent) { m_pComponent = pComponent; }
    uint8_t* GetScheduleData() { return m_abyScheduleData; }
    const uint8_t* GetScheduleData() const { return m_abyScheduleData; }
    uint8_t* GetComponentData() { return m_abyComponentData; }
    const uint8_t* GetComponentData() const { return m_abyComponentData; }
    // Fills the 20-byte block of a build or improve schedule.
    void SetScheduleData(uint8_t byType, uint8_t bySubType, uint32_t dwInitialCost, uint32_t dwMonthlyCost,
                         uint32_t dwMaintenanceCost, uint32_t dwValue);
    // Work the manager has confirmed; unconfirmed work is dropped when he
    // leaves the ground development popup.
    bool IsActive() const { return m_byActive != 0; }
    void SetActive(bool bActive) { m_byActive = bActive ? 1 : 0; }
    CGroundDatabase* GetGround() const { return m_pGround; }
    void SetGround(CGroundDatabase* pGround) { m_pGround = pGround; }

private:
    uint32_t GetDataWord(int nOffset) const;
    // 10, 4 or 1 bytes of component data; 0 for a demolish or a corrupt kind.
    int GetComponentDataSize() const;

    static CDatabaseHandler* m_pDatabaseHandler;

    uint32_t m_dwID = 0;
    uint8_t m_byKind = SCHEDULE_BUILD;
    CDate m_StartDate;
    uint16_t m_wDuration = 0;
    uint32_t m_dwExtraCost = 0;
    CComponentDatabase* m_pComponent = nullptr;
    uint8_t m_abyScheduleData[SCHEDULE_DATA_SIZE] = {};
    uint8_t m_abyComponentData[COMPONENT_MAX_DATA] = {};
    uint8_t m_byActive = 1;                 // not stored
    CGroundDatabase* m_pGround = nullptr;   // not stored
};
