#include "season/CComponentDatabase.h"

#include <cstdio>
#include <cstring>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CDatabaseHandler.h"

CDatabaseHandler* CComponentDatabase::m_pDatabaseHandler = nullptr;

namespace {

const char* const s_apszSides[STAND_SIDES] = {"NN", "NE", "EE", "SE", "SS", "SW", "WW", "NW"};

const char* TierPrefix(int nSubType)
{
    switch (nSubType) {
    case 0:
    case 1:
        return "ST";
    case 2:
        return "DT";
    case 3:
        return "TT";
    default:
        return nullptr;
    }
}

// "1" for sizes 0 and 3, "2" for 1 and 4, "3" for 2 and 5.
char SizeDigit(int nSize)
{
    return static_cast<char>('1' + nSize % 3);
}

// Ticket prices by side class (long sides, corners, ends), sub type x 3 + quality.
const int s_anTicketPrices[3][12] = {
    {12, 14, 16, 16, 18, 20, 18, 20, 22, 21, 23, 25},
    {10, 12, 14, 14, 16, 18, 16, 18, 20, 18, 20, 22},
    {12, 14, 16, 16, 18, 20, 18, 20, 22, 21, 23, 25},
};
const float s_afTicketFactors[10] = {1.0f, 0.95f, 0.9f, 0.85f, 0.8f, 0.75f, 0.6f, 0.5f, 0.45f, 0.3f};

int TicketSideClass(int nSide)
{
    if (nSide == 0 || nSide == 4)
        return 0;
    if (nSide == 2 || nSide == 6)
        return 2;
    return 1;
}

} // namespace

int GetComponentDataSize(int nMainType)
{
    switch (nMainType) {
    case COMPONENT_STAND:
        return COMPONENT_STAND_DATA;
    case COMPONENT_FACILITY:
        return COMPONENT_FACILITY_DATA;
    case COMPONENT_PITCH_ITEM:
        return COMPONENT_PITCH_ITEM_DATA;
    default:
        return 0;
    }
}

bool IsComponentDataValid(int nMainType, int nSubType, const uint8_t* pData)
{
    switch (nMainType) {
    case COMPONENT_STAND:
        return nSubType <= 3 && pData[STAND_QUALITY] <= 2 && pData[STAND_SIDE] < STAND_SIDES &&
               pData[STAND_SIZE] <= 5 && pData[STAND_ROOF] <= 3;
    case COMPONENT_FACILITY:
        return pData[FACILITY_FOOTPRINT] < FACILITY_FOOTPRINTS;
    case COMPONENT_PITCH_ITEM:
        return true;
    default:
        return false;
    }
}

bool GetStand2DFilenames(int nSubType, const uint8_t* pStandData, char* pszStand, char* pszRoof)
{
    const char* pszPrefix = TierPrefix(nSubType);
    const int nSide = pStandData[STAND_SIDE];
    const int nSize = pStandData[STAND_SIZE];
    if (!pszPrefix || nSide >= STAND_SIDES || nSize > 5)
        return false;
    char szBase[8];
    std::snprintf(szBase, sizeof szBase, "%s%c%s", pszPrefix, SizeDigit(nSize), s_apszSides[nSide]);
    std::sprintf(pszRoof, "%s%s.BMP", szBase, pStandData[STAND_ROOF] ? "R" : "");
    std::sprintf(pszStand, "%s%s.BMP", szBase, nSubType >= 1 ? "S" : "");
    return true;
}

CComponentDatabase::CComponentDatabase(uint8_t byMainType, uint16_t wGroundID)
    : m_dwID(m_pDatabaseHandler ? m_pDatabaseHandler->TakeNextComponentID() : 0), m_wGroundID(wGroundID),
      m_byMainType(byMainType)
{
}

bool CComponentDatabase::Load(CBinaryReader& reader)
{
    reader.ReadU32(m_dwID);
    reader.ReadU16(m_wGroundID);
    reader.ReadU8(m_byMainType);
    reader.ReadU8(m_bySubType);
    reader.ReadU32(m_dwValue);
    reader.ReadU32(m_dwMaintenanceCost);
    reader.ReadU8(m_byDemolished);
    reader.ReadU8(m_byUnderConstruction);
    reader.Skip(2);
    if (reader.Failed()) {
        DebugLog(1, "[CComponentDatabase::Load] The component record is cut short");
        return false;
    }
    const int nSize = GetComponentDataSize(m_byMainType);
    if (nSize == 0) {
        DebugLog(1, "[CComponentDatabase::Load] Component %u has an unknown main type %u", m_dwID, m_byMainType);
        reader.Fail();
        return false;
    }
    std::memset(m_abyData, 0, sizeof m_abyData);
    if (!reader.ReadBytes(m_abyData, static_cast<size_t>(nSize))) {
        DebugLog(1, "[CComponentDatabase::Load] The data of component %u is cut short", m_dwID);
        return false;
    }
    if (!IsComponentDataValid(m_byMainType, m_bySubType, m_abyData)) {
        DebugLog(1, "[CComponentDatabase::Load] Component %u has data outside its tables", m_dwID);
        reader.Fail();
        return false;
    }
    return true;
}

bool CComponentDatabase::Save(CBinaryWriter& writer) const
{
    writer.WriteU32(m_dwID);
    writer.WriteU16(m_wGroundID);
    writer.WriteU8(m_byMainType);
    writer.WriteU8(m_bySubType);
    writer.WriteU32(m_dwValue);
    writer.WriteU32(m_dwMaintenanceCost);
    writer.WriteU8(m_byDemolished);
    writer.WriteU8(m_byUnderConstruction);
    writer.WriteZeros(2);
    writer.WriteBytes(m_abyData, static_cast<size_t>(GetComponentDataSize(m_byMainType)));
    return !writer.Failed();
}

void CComponentDatabase::SetSpecificData(const uint8_t* pData)
{
    std::memset(m_abyData, 0, sizeof m_abyData);
    std::memcpy(m_abyData, pData, static_cast<size_t>(GetComponentDataSize(m_byMainType)));
}

void CComponentDatabase::SetStandSeats(int nSeats)
{
    m_abyData[STAND_SEATS] = static_cast<uint8_t>(nSeats);
    m_abyData[STAND_SEATS + 1] = static_cast<uint8_t>(nSeats >> 8);
}

int CComponentDatabase::GetStandardTicketPrice(int nClubFigure) const
{
    if (!IsStand() || m_bySubType > 3 || m_abyData[STAND_QUALITY] > 2)
        return 0;
    const int nBase = s_anTicketPrices[TicketSideClass(m_abyData[STAND_SIDE])][m_bySubType * 3 + m_abyData[STAND_QUALITY]];
    int nDistance = nClubFigure / 10 - 10;
    if (nDistance < 0)
        nDistance = -nDistance;
    // A figure far from 100 (below 10 or from 200) lies beyond the table: the cheapest factor.
    if (nDistance > 9)
        nDistance = 9;
    return static_cast<int>(static_cast<float>(nBase) * s_afTicketFactors[nDistance]);
}

int CComponentDatabase::GetStadiumCompositeType() const
{
    if (!IsStand()) {
        DebugLog(1, "[CComponentDatabase::GetStadiumCompositeType] Component is not a stadium!");
        return 0;
    }
    const int nSize = m_abyData[STAND_SIZE];
    switch (m_bySubType) {
    case 0:
    case 1:
        if (nSize == 0 || nSize == 3)
            return 1;
        if (nSize == 1 || nSize == 4)
            return 2;
        if (nSize == 2 || nSize == 5)
            return 3;
        return 0;
    case 2:
        if (nSize == 1 || nSize == 4)
            return 4;
        if (nSize == 2 || nSize == 5)
            return 5;
        return 0;
    case 3:
        if (nSize == 1 || nSize == 4)
            return 6;
        if (nSize == 2 || nSize == 5)
            return 7;
        return 0;
    default:
        return 0;
    }
}

int CComponentDatabase::GetNumberOfTiers() const
{
    const int nComposite = IsStand() ? GetStadiumCompositeType() : 0;
    if (nComposite >= 1 && nComposite <= 3)
        return 1;
    if (nComposite == 4 || nComposite == 5)
        return 2;
    if (nComposite == 6 || nComposite == 7)
        return 3;
    DebugLog(1, "[CComponentDatabase::GetNumberOfTiers] Component is not a Stadium!");
    return 0;
}

int CComponentDatabase::GetTierSeats(int nTier) const
{
    const int nTiers = GetNumberOfTiers();
    // Not a stand (or a pairing with no tiers): no seats, and no division by zero.
    if (nTiers == 0)
        return 0;
    const STANDPARTTABLERECORD* pPart =
        m_pDatabaseHandler ? m_pDatabaseHandler->GetStandPartTableRecord(m_abyData[STAND_SIDE], m_bySubType,
                                                                         m_abyData[STAND_SIZE], 0)
                           : nullptr;
    const int nBase = pPart ? m_abyData[STAND_PARTS] * static_cast<int>(pPart->dwCapacityPerUnit) : 0;
    const int nSeats = GetStandSeats();
    const int nShare = (nSeats - nBase) / nTiers;
    if (nTier == nTiers)
        return nSeats - (nTiers - 1) * nShare - nBase;
    if (nTier > nTiers)
        return nBase;
    return nShare;
}

int CComponentDatabase::GetSectionSeats(int nSection) const
{
    const int nTiers = IsStand() ? GetNumberOfTiers() : 0;
    if (nSection >= 0 && nSection < nTiers)
        return GetTierSeats(nSection + 1);
    if (nSection == STAND_SECTIONS - 1 && nTiers > 0 && m_abyData[STAND_PARTS] != 0)
        return GetTierSeats(STAND_SECTIONS);
    return 0;
}

bool CComponentDatabase::Get2DComponentFilename(char* pszStand, char* pszRoof) const
{
    if (!IsStand()) {
        DebugLog(1, "[CComponentDatabase::Get2DComponentFilename] Component is not a stadium!");
        return false;
    }
    return GetStand2DFilenames(m_bySubType, m_abyData, pszStand, pszRoof);
}

bool CComponentDatabase::Get3DComponentFilename(char* pszMesh, char* pszRoofMesh, bool bExtension,
                                                int nPercentComplete) const
{
    pszMesh[0] = '\0';
    pszRoofMesh[0] = '\0';
    if (m_byMainType == COMPONENT_PITCH_ITEM) {
        DebugLog(1, "[CComponentDatabase::Get3DComponentFilename] Attempting to load a feature");
        return false;
    }
    // Facilities have no mesh of their own.
    if (!IsStand())
        return false;
    const char* pszPrefix = TierPrefix(m_bySubType);
    const int nSide = m_abyData[STAND_SIDE];
    if (!pszPrefix || nSide >= STAND_SIDES || m_abyData[STAND_SIZE] > 5)
        return false;
    const bool bBuilding = m_byUnderConstruction || nPercentComplete < 100;
    const char* pszSide = "NE";
    if (nSide == 0)
        pszSide = "NN";
    else if (nSide == 2 || nSide == 6)
        pszSide = "EE";
    else if (nSide == 4)
        pszSide = bBuilding ? "NN" : "SS";
    char szBase[8];
    std::snprintf(szBase, sizeof szBase, "%s%c%s", pszPrefix, SizeDigit(m_abyData[STAND_SIZE]), pszSide);
    const char* pszState = "";
    if (bBuilding)
        pszState = nPercentComplete < 50 ? "UC" : "UC2";
    else if (m_abyData[STAND_PARTS] != 0)
        pszState = "B";
    const char* pszExtension = bExtension ? ".x" : "";
    std::sprintf(pszMesh, "%s%s%s", szBase, pszState, pszExtension);
    // The far side's finished stand has a mesh of its own, but its roof is
    // the near side's turned round.
    if (!bBuilding && m_abyData[STAND_ROOF] != 0)
        std::sprintf(pszRoofMesh, "%s%c%sR%s", pszPrefix, SizeDigit(m_abyData[STAND_SIZE]),
                     nSide == 4 ? "NN" : pszSide, pszExtension);
    return true;
}
