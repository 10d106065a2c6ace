#include "database/CEventsDatabase.h"

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CCountryDatabase.h"

CEventsDatabase::CEventsDatabase(uint8_t byType, const CDate& date, uint32_t dwDataID, CCountryDatabase* pCountry)
    : m_byType(byType), m_Date(date), m_dwDataID(dwDataID), m_byCountryID(pCountry ? pCountry->GetID() : 0),
      m_pCountry(pCountry)
{
}

bool CEventsDatabase::Load(CBinaryReader& reader, CCountryDatabase* pCountry)
{
    uint32_t dwDate = 0;
    reader.ReadU32(m_dwDataID);
    reader.ReadU8(m_byType);
    reader.ReadU8(m_byCountryID);
    reader.Skip(2);
    reader.ReadU32(dwDate);
    m_pCountry = pCountry;
    if (reader.Failed()) {
        DebugLog(0, "[CEventsDatabase::Load] The event record is cut short");
        return false;
    }
    m_Date.Set(dwDate);
    if (!m_Date.IsValid()) {
        DebugLog(0, "[CEventsDatabase::Load] Event of type %d has an invalid date %08x", m_byType, dwDate);
        reader.Fail();
        return false;
    }
    return true;
}

bool CEventsDatabase::Save(CBinaryWriter& writer) const
{
    writer.WriteU32(m_dwDataID);
    writer.WriteU8(m_byType);
    writer.WriteU8(m_byCountryID);
    writer.WriteZeros(2);
    writer.WriteU32(m_Date.GetValue());
    return !writer.Failed();
}
