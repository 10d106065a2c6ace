#pragma once
// One scheduled event of a country: a type, the day on which it runs and the
// identifier of what it concerns. The country keeps its events in date order.
#include <cstdint>

#include "common/CDate.h"
#include "common/Identifiers.h"

class CBinaryReader;
class CBinaryWriter;
class CCountryDatabase;
class CClubDatabase;

// Event types named by the code that schedules them; 0-46 exist.
enum {
    EVENT_BLOCKED_PERIOD_START = 37,
    EVENT_BLOCKED_PERIOD_END = 38,
    EVENT_BLOCKED_PERIOD_START_NOTICE = 39,
    EVENT_BLOCKED_PERIOD_END_NOTICE = 40,
    EVENT_CUP_ROUND = 41,
    EVENT_CUP_MATCH_DATE = 42,
    EVENT_TYPE_MAX = 46,
};

class CEventsDatabase {
public:
    static constexpr int FILE_SIZE = 12;

    CEventsDatabase() = default;
    CEventsDatabase(uint8_t byType, const CDate& date, uint32_t dwDataID, CCountryDatabase* pCountry);

    // The 12-byte record: u32 data id, u8 type, u8 country id, two unused
    // bytes, u32 packed date. False (logged) when it is cut short or its
    // date is not a date.
    bool Load(CBinaryReader& reader, CCountryDatabase* pCountry);
    bool Save(CBinaryWriter& writer) const;

    // Whether the event concerns the club (for the copy into its human
    // manager's event history). Offer, scout and camp events name their
    // club through records kept elsewhere and answer no here.
    bool IsClubEvent(const CClubDatabase* pClub) const;

    uint8_t GetType() const { return m_byType; }
    const CDate& GetDate() const { return m_Date; }
    void SetDate(const CDate& date) { m_Date = date; }
    uint32_t GetDataID() const { return m_dwDataID; }
    ID_COUNTRY GetCountryID() const { return m_byCountryID; }
    CCountryDatabase* GetCountry() const { return m_pCountry; }

private:
    uint8_t m_byType = 0;
    CDate m_Date;
    uint32_t m_dwDataID = 0;
    ID_COUNTRY m_byCountryID = 0;
    CCountryDatabase* m_pCountry = nullptr;
};
