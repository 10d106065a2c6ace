#include "season/CComponentScheduleDatabase.h"

#include <cstring>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CDatabaseHandler.h"
#include "season/CGroundDatabase.h"

CDatabaseHandler* CComponentScheduleDatabase::m_pDatabaseHandler = nullptr;

namespace {

CDate GameDate(const CDatabaseHandler* pHandler)
{
    return pHandler ? pHandler->GetGameDate() : CDate();
}

} // namespace

uint32_t CComponentScheduleDatabase::GetDataWord(int nOffset) const
{
    const uint8_t* p = m_abyScheduleData + nOffset;
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

void CComponentScheduleDatabase::SetScheduleData(uint8_t byType, uint8_t bySubType, uint32_t dwInitialCost,
                                                 uint32_t dwMonthlyCost, uint32_t dwMaintenanceCost,
                                                 uint32_t dwValue)
{
    std::memset(m_abyScheduleData, 0, sizeof m_abyScheduleData);
    m_abyScheduleData[SCHEDULE_DATA_MAIN_TYPE] = byType;
    m_abyScheduleData[SCHEDULE_DATA_SUB_TYPE] = bySubType;
    const uint32_t adwWords[4] = {dwInitialCost, dwMonthlyCost, dwMaintenanceCost, dwValue};
    for (int i = 0; i < 4; ++i)
        for (int b = 0; b < 4; ++b)
            m_abyScheduleData[SCHEDULE_DATA_INITIAL_COST + 4 * i + b] = static_cast<uint8_t>(adwWords[i] >> (8 * b));
}

int CComponentScheduleDatabase::GetComponentDataSize() const
{
    if (m_byKind == SCHEDULE_BUILD)
        return ::GetComponentDataSize(m_abyScheduleData[SCHEDULE_DATA_MAIN_TYPE]);
    if (m_byKind == SCHEDULE_IMPROVE && m_pComponent)
        return ::GetComponentDataSize(m_pComponent->GetMainType());
    return 0;
}

bool CComponentScheduleDatabase::Load(CBinaryReader& reader, CGroundDatabase* pGround)
{
    uint8_t byDay = 0, byMonth = 0;
    uint16_t wYear = 0;
    uint32_t dwComponentID = 0;
    reader.ReadU32(m_dwID);
    reader.ReadU8(m_byKind);
    reader.ReadU8(byDay);
    reader.ReadU8(byMonth);
    reader.Skip(1);
    reader.ReadU16(wYear);
    reader.ReadU16(m_wDuration);
    reader.ReadU32(m_dwExtraCost);
    reader.ReadU32(dwComponentID);
    if (reader.Failed()) {
        DebugLog(1, "[CComponentScheduleDatabase::Load] The schedule record is cut short");
        return false;
    }
    m_pGround = pGround;
    m_byActive = 1;
    m_StartDate = CDate(wYear, byMonth, byDay);
    if (m_byKind > SCHEDULE_DEMOLISH || !m_StartDate.IsValid()) {
        DebugLog(1, "[CComponentScheduleDatabase::Load] Schedule %u has kind %u and start %u-%u-%u", m_dwID, m_byKind,
                 wYear, byMonth, byDay);
        reader.Fail();
        return false;
    }
    m_pComponent = pGround ? pGround->FindComponent(dwComponentID) : nullptr;
    if (!m_pComponent) {
        DebugLog(1, "[CComponentScheduleDatabase::Load] Schedule %u names component %u, which the ground lacks",
                 m_dwID, dwComponentID);
        reader.Fail();
        return false;
    }
    std::memset(m_abyScheduleData, 0, sizeof m_abyScheduleData);
    std::memset(m_abyComponentData, 0, sizeof m_abyComponentData);
    if (m_byKind == SCHEDULE_DEMOLISH) {
        reader.ReadBytes(m_abyScheduleData, SCHEDULE_DEMOLISH_DATA_SIZE);
    } else {
        reader.ReadBytes(m_abyScheduleData, SCHEDULE_DATA_SIZE);
        // The padding of the block is not kept, so that it saves as zeros.
        m_abyScheduleData[2] = m_abyScheduleData[3] = 0;
    }
    if (reader.Failed()) {
        DebugLog(1, "[CComponentScheduleDatabase::Load] The data of schedule %u is cut short", m_dwID);
        return false;
    }
    if (m_byKind == SCHEDULE_DEMOLISH)
        return true;
    const int nSize = GetComponentDataSize();
    if (nSize == 0) {
        DebugLog(1, "[CComponentScheduleDatabase::Load] Schedule %u builds an unknown main type", m_dwID);
        reader.Fail();
        return false;
    }
    if (!reader.ReadBytes(m_abyComponentData, static_cast<size_t>(nSize))) {
        DebugLog(1, "[CComponentScheduleDatabase::Load] The component data of schedule %u is cut short", m_dwID);
        return false;
    }
    if (!IsComponentDataValid(GetComponentMainType(), GetComponentSubType(), m_abyComponentData)) {
        DebugLog(1, "[CComponentScheduleDatabase::Load] Schedule %u has component data outside its tables", m_dwID);
        reader.Fail();
        return false;
    }
    return true;
}

bool CComponentScheduleDatabase::Save(CBinaryWriter& writer) const
{
    writer.WriteU32(m_dwID);
    writer.WriteU8(m_byKind);
    writer.WriteU8(static_cast<uint8_t>(m_StartDate.GetDay()));
    writer.WriteU8(static_cast<uint8_t>(m_StartDate.GetMonth()));
    writer.WriteZeros(1);
    writer.WriteU16(static_cast<uint16_t>(m_StartDate.GetYear()));
    writer.WriteU16(m_wDuration);
    writer.WriteU32(m_dwExtraCost);
    writer.WriteU32(m_pComponent ? m_pComponent->GetID() : 0);
    if (m_byKind == SCHEDULE_DEMOLISH) {
        writer.WriteBytes(m_abyScheduleData, SCHEDULE_DEMOLISH_DATA_SIZE);
    } else {
        writer.WriteBytes(m_abyScheduleData, SCHEDULE_DATA_SIZE);
        writer.WriteBytes(m_abyComponentData, static_cast<size_t>(GetComponentDataSize()));
    }
    return !writer.Failed();
}

uint8_t CComponentScheduleDatabase::GetComponentMainType() const
{
    switch (m_byKind) {
    case SCHEDULE_BUILD:
        return m_abyScheduleData[SCHEDULE_DATA_MAIN_TYPE];
    case SCHEDULE_IMPROVE:
    case SCHEDULE_DEMOLISH:
        if (m_pComponent)
            return m_pComponent->GetMainType();
        break;
    default:
        break;
    }
    DebugLog(1, "[CComponentScheduleDatabase::GetComponentMainType] Schedule type corrupt, could not get component "
                "main type!");
    return 255;
}

uint8_t CComponentScheduleDatabase::GetComponentSubType() const
{
    switch (m_byKind) {
    case SCHEDULE_BUILD:
        return m_abyScheduleData[SCHEDULE_DATA_SUB_TYPE];
    case SCHEDULE_IMPROVE:
        return m_abyScheduleData[SCHEDULE_DATA_MAIN_TYPE];
    case SCHEDULE_DEMOLISH:
        if (m_pComponent)
            return m_pComponent->GetSubType();
        break;
    default:
        break;
    }
    DebugLog(1, "[CComponentScheduleDatabase::GetComponentSubType] Schedule type corrupt, could not get component "
                "main type!");
    return 255;
}

uint32_t CComponentScheduleDatabase::GetComponentInitialCost() const
{
    if (m_byKind == SCHEDULE_BUILD || m_byKind == SCHEDULE_IMPROVE)
        return GetDataWord(SCHEDULE_DATA_INITIAL_COST);
    if (m_byKind != SCHEDULE_DEMOLISH)
        DebugLog(1, "[CComponentScheduleDatabase::GetComponentInitialCost] Schedule type corrupt, could not get "
                    "component initial cost!");
    return 0;
}

uint32_t CComponentScheduleDatabase::GetComponentMonthlyCost() const
{
    if (m_byKind == SCHEDULE_BUILD || m_byKind == SCHEDULE_IMPROVE)
        return GetDataWord(SCHEDULE_DATA_MONTHLY_COST);
    if (m_byKind != SCHEDULE_DEMOLISH)
        DebugLog(1, "[CComponentScheduleDatabase::GetComponentMonthlyCost] Schedule type corrupt, could not get "
                    "component monthly cost!");
    return 0;
}

uint32_t CComponentScheduleDatabase::GetEventPayment(uint8_t byEventType) const
{
    switch (byEventType) {
    case 30:
        return GetComponentInitialCost();
    case 31:
        return GetComponentMonthlyCost();
    default:
        return GetExtraCost();
    }
}

uint32_t CComponentScheduleDatabase::GetComponentMaintenanceCost() const
{
    if (m_byKind == SCHEDULE_BUILD || m_byKind == SCHEDULE_IMPROVE)
        return GetDataWord(SCHEDULE_DATA_MAINTENANCE);
    if (m_byKind != SCHEDULE_DEMOLISH)
        DebugLog(1, "[CComponentScheduleDatabase::GetComponentMaintenanceCost] Schedule type corrupt, could not get "
                    "component maintenance cost!");
    return 0;
}

uint32_t CComponentScheduleDatabase::GetComponentValue() const
{
    if (m_byKind == SCHEDULE_BUILD || m_byKind == SCHEDULE_IMPROVE)
        return GetDataWord(SCHEDULE_DATA_VALUE);
    return 0;
}

const uint8_t* CComponentScheduleDatabase::GetAssociatedComponentSpecificData() const
{
    if (m_byKind == SCHEDULE_BUILD || m_byKind == SCHEDULE_IMPROVE)
        return m_abyComponentData;
    if (m_byKind == SCHEDULE_DEMOLISH && m_pComponent)
        return m_pComponent->GetSpecificData();
    DebugLog(1, "[CComponentScheduleDatabase::GetAssociatedComponentSpecificData] Schedule type corrupt, could not "
                "get associated component!");
    return nullptr;
}

bool CComponentScheduleDatabase::Get2DComponentFilename(char* pszStand, char* pszRoof) const
{
    const uint8_t* pData = GetAssociatedComponentSpecificData();
    if (GetComponentMainType() != COMPONENT_STAND || !pData) {
        DebugLog(1, "[CComponentScheduleDatabase::Get2DComponentFilename] Component is not a stadium!");
        return false;
    }
    return GetStand2DFilenames(GetComponentSubType(), pData, pszStand, pszRoof);
}

bool CComponentScheduleDatabase::IsDue() const
{
    return IsDue(GameDate(m_pDatabaseHandler));
}

bool CComponentScheduleDatabase::HasDurationElapsed() const
{
    return HasDurationElapsed(GameDate(m_pDatabaseHandler));
}

bool CComponentScheduleDatabase::HasDurationElapsed(const CDate& date) const
{
    return date.DaysBetween(m_StartDate) >= m_wDuration * 7;
}

int CComponentScheduleDatabase::GetPercentComplete(const CDate& date) const
{
    const int nDays = date.DaysBetween(m_StartDate);
    const int nTotal = m_wDuration * 7;
    if (nDays < 0)
        return 0;
    if (nDays > nTotal || nTotal == 0)
        return 100;
    return nDays * 100 / nTotal;
}
