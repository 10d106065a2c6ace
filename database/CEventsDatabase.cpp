#include "database/CEventsDatabase.h"

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "database/CYouthDatabase.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CGroundDatabase.h"

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

bool CEventsDatabase::IsClubEvent(const CClubDatabase* pClub) const
{
    if (!pClub)
        return false;
    CDatabaseHandler* pHandler = CCountryDatabase::m_pDatabaseHandler;
    switch (m_byType) {
    case 2:
    case 43:
    case 44:
        return m_dwDataID == pClub->m_wClubId;
    case 26:
    case 27:
    case 28:
    case 29: {
        if (!pHandler)
            return false;
        const ITEMPLAYERINFORMATION* pInfo = pHandler->GetPlayerInformation(m_dwDataID);
        if (!pInfo)
            return false;
        if (pInfo->pPlayer)
            return pInfo->pPlayer->m_pClub == pClub;
        return m_byType != 26 && pInfo->pYouth && pInfo->pYouth->m_pClub == pClub;
    }
    case 30:
    case 33: {
        const CComponentScheduleDatabase* pSchedule = pHandler ? pHandler->FindComponentSchedule(m_dwDataID) : nullptr;
        return pSchedule && pSchedule->GetGround() && pSchedule->GetGround()->GetOwner() == pClub;
    }
    case EVENT_BLOCKED_PERIOD_START:
    case EVENT_BLOCKED_PERIOD_END:
    case EVENT_CUP_ROUND:
    case EVENT_CUP_MATCH_DATE:
        return pClub->m_pCountry && pClub->m_pCountry == m_pCountry;
    case 6:
    case 7:
    case 9:
    case 21:
    case EVENT_BLOCKED_PERIOD_START_NOTICE:
    case EVENT_BLOCKED_PERIOD_END_NOTICE:
        DebugLog(1, "[CEventsDatabase::IsClubEvent] Unknown Identifier - %d", m_byType);
        return false;
    default:
        return false;
    }
}
