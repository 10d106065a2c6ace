// The ground plan (pitch, roads, free ground), the checks made before a
// component is placed on it, and the stands and pitch items of a new game.
#include <algorithm>
#include <cstdlib>

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "platform/Random.h"
#include "season/CComponentDatabase.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CGroundDatabase.h"

namespace {

constexpr int kPlanW = CGroundDatabase::PLAN_WIDTH;
constexpr int kPlanH = CGroundDatabase::PLAN_HEIGHT;
constexpr int kRoadFailureLimit = 1025;
// The pitch with its surround (the area inside the road ring).
constexpr int kSurroundX = CDatabaseHandler::kPitchCellX - 6;
constexpr int kSurroundY = CDatabaseHandler::kPitchCellY - 6;
constexpr int kSurroundW = 6 + 17;
constexpr int kSurroundH = 6 + 14;

const int s_anFootprints[FACILITY_FOOTPRINTS][2] = {{6, 6}, {6, 6}, {6, 6}, {1, 1}, {2, 2},
                                                    {3, 3}, {4, 4}, {11, 8}, {2, 1}};
// Sides in the order stands are generated: long sides, ends, then corners.
const int s_anSideOrder[STAND_SIDES] = {0, 4, 6, 2, 7, 1, 3, 5};

// Tile kind (0-5 grass, 6 T-junction, 7 corner, 8 straight road, 9 road
// with a crossing, 10 cross roads) and orientation (0-3) of every cell.
struct PLANCELL {
    uint8_t byTerrain;
    uint8_t byOrientation;
};

// The roads: two across the plan (rows 3 and 41), the ring round the
// stadium plot (columns 19 and 43, rows 11 and 32), the access roads from
// the ring to the top and bottom edges along column 31 and to the side
// edges along row 21. Points just outside the plan continue the roads that
// run off it.
bool IsRoad(int x, int y)
{
    if (y == 3 || y == 41)
        return true;
    if ((y == 11 || y == 32) && x >= 19 && x <= 43)
        return true;
    if ((x == 19 || x == 43) && y >= 11 && y <= 32)
        return true;
    if (x == 31 && (y <= 11 || y >= 32))
        return true;
    return y == 21 && (x <= 19 || x >= 43);
}

// Directions as bits: east (+x), south (+y), west, north.
constexpr int kEast = 1, kSouth = 2, kWest = 4, kNorth = 8;

// The bits after k quarter turns east -> south -> west -> north.
int TurnMask(int nMask, int k)
{
    return ((nMask << k) | (nMask >> (4 - k))) & 15;
}

struct PLAN {
    PLANCELL aCells[kPlanH][kPlanW];
    PLAN()
    {
        // The pedestrian crossings (column, row).
        static const int kCrossings[][2] = {{31, 4}, {43, 17}, {4, 21}, {19, 26}, {20, 41}};
        // The road pieces' ends at orientation 0, and the quarter turns each
        // orientation gives (0, 3pi/2, pi, pi/2 about the vertical).
        static const int kTurns[4] = {0, 3, 2, 1};
        for (int y = 0; y < kPlanH; ++y)
            for (int x = 0; x < kPlanW; ++x) {
                PLANCELL& cell = aCells[y][x];
                if (!IsRoad(x, y)) {
                    const unsigned h = static_cast<unsigned>(x) * 73856093u ^ static_cast<unsigned>(y) * 19349663u;
                    const unsigned nShade = (h >> 4) % 100, nTurn = (h >> 12) % 10;
                    cell.byTerrain = static_cast<uint8_t>(nShade < 55 ? 0 : nShade < 73 ? 1 : nShade < 83 ? 2
                                                           : nShade < 88 ? 3 : nShade < 93 ? 4 : 5);
                    cell.byOrientation = static_cast<uint8_t>(nTurn < 7 ? 0 : nTurn - 6);
                    continue;
                }
                const int nMask = (IsRoad(x + 1, y) ? kEast : 0) | (IsRoad(x, y + 1) ? kSouth : 0) |
                                  (IsRoad(x - 1, y) ? kWest : 0) | (IsRoad(x, y - 1) ? kNorth : 0);
                int nKind = 8, nBase = kNorth | kSouth;
                switch (__builtin_popcount(static_cast<unsigned>(nMask))) {
                case 4: nKind = 10, nBase = 15; break;
                case 3: nKind = 6, nBase = kNorth | kSouth | kEast; break;
                case 2:
                    if (nMask != (kNorth | kSouth) && nMask != (kEast | kWest))
                        nKind = 7, nBase = kNorth | kEast;
                    break;
                default: break;
                }
                if (nKind == 8)
                    for (const auto& c : kCrossings)
                        if (c[0] == x && c[1] == y)
                            nKind = 9;
                cell.byTerrain = static_cast<uint8_t>(nKind);
                cell.byOrientation = 0;
                for (uint8_t o = 0; o < 4; ++o)
                    if (TurnMask(nBase, kTurns[o]) == nMask) {
                        cell.byOrientation = o;
                        break;
                    }
            }
    }
};

const PLAN& Plan()
{
    static const PLAN s_plan;
    return s_plan;
}

bool Overlap(int x0, int y0, int w0, int h0, int x1, int y1, int w1, int h1)
{
    return x0 < x1 + w1 && x1 < x0 + w0 && y0 < y1 + h1 && y1 < y0 + h0;
}

int SideWeight(int nSide)
{
    if (nSide == 0 || nSide == 4)
        return 4;
    if (nSide == 2 || nSide == 6)
        return 3;
    return 1;
}

}  // namespace

int CGroundDatabase::GetPlanTerrain(int nX, int nY)
{
    if (nX < 0 || nY < 0 || nX >= kPlanW || nY >= kPlanH)
        return -1;
    return Plan().aCells[nY][nX].byTerrain;
}

int CGroundDatabase::GetPlanTileOrientation(int nX, int nY)
{
    if (nX < 0 || nY < 0 || nX >= kPlanW || nY >= kPlanH)
        return -1;
    return Plan().aCells[nY][nX].byOrientation;
}

bool CGroundDatabase::GetFacilityFootprint(int nFootprint, int& nWidth, int& nHeight)
{
    if (nFootprint < 0 || nFootprint >= FACILITY_FOOTPRINTS)
        return false;
    nWidth = s_anFootprints[nFootprint][0];
    nHeight = s_anFootprints[nFootprint][1];
    return true;
}

bool CGroundDatabase::IsFacilityPositionValid(const uint8_t* pData)
{
    int nW = 0, nH = 0;
    if (!GetFacilityFootprint(pData[FACILITY_FOOTPRINT], nW, nH))
        return false;
    const int nX = static_cast<int8_t>(pData[FACILITY_X]);
    const int nY = static_cast<int8_t>(pData[FACILITY_Y]);
    return nX >= 0 && nY >= 0 && nX + nW <= kPlanW && nY + nH <= kPlanH;
}

bool CGroundDatabase::CheckIfFacilityComponentNearRoad(int nX0, int nY0, int nX1, int nY1, int* pnFailures)
{
    if (pnFailures && *pnFailures >= kRoadFailureLimit) {
        DebugLog(1, "[CGroundDatabase::CheckIfFacilityComponentNearRoad] Gone over road failure count!");
        return true;
    }
    bool bNear = false;
    if (nX0 > 0)
        bNear = bNear || IsRoadCell(nX0 - 1, nY0) || IsRoadCell(nX0 - 1, nY1);
    if (nY0 > 0)
        bNear = bNear || IsRoadCell(nX0, nY0 - 1) || IsRoadCell(nX1, nY0 - 1);
    if (nX1 < kPlanW - 2)
        bNear = bNear || IsRoadCell(nX1 + 1, nY0) || IsRoadCell(nX1 + 1, nY1);
    if (nY1 < kPlanH - 2)
        bNear = bNear || IsRoadCell(nX1, nY1 + 1) || IsRoadCell(nX0, nY1 + 1);
    if (!bNear && pnFailures)
        ++*pnFailures;
    return bNear;
}

bool CGroundDatabase::CheckIfFacilityComponentNearRoad(const uint8_t* pData, int* pnFailures)
{
    int nW = 0, nH = 0;
    if (!GetFacilityFootprint(pData[FACILITY_FOOTPRINT], nW, nH))
        return false;
    const int nX = pData[FACILITY_X];
    const int nY = pData[FACILITY_Y];
    return CheckIfFacilityComponentNearRoad(nX, nY, nX + nW - 1, nY + nH - 1, pnFailures);
}

bool CGroundDatabase::GetComponentRect(int nMainType, int nSubType, const uint8_t* pData, int& nX, int& nY,
                                       int& nWidth, int& nHeight)
{
    (void)nSubType;
    if (!pData)
        return false;
    if (nMainType == COMPONENT_STAND)
        return CDatabaseHandler::GetStadiumComponentGridRect(pData[STAND_SIZE], pData[STAND_SIDE], nX, nY, nWidth,
                                                             nHeight);
    if (nMainType == COMPONENT_FACILITY) {
        if (!GetFacilityFootprint(pData[FACILITY_FOOTPRINT], nWidth, nHeight))
            return false;
        nX = pData[FACILITY_X];
        nY = pData[FACILITY_Y];
        return true;
    }
    return false;
}

bool CGroundDatabase::IsAreaOccupied(int nX, int nY, int nWidth, int nHeight, int nFlags, AREACLASH* pClash,
                                     int* pnFailures) const
{
    AREACLASH clash;
    const bool bOccupied = [&] {
        const bool bPitch =
            (nFlags & AREA_PITCH_SURROUND)
                ? Overlap(nX, nY, nWidth, nHeight, kSurroundX, kSurroundY, kSurroundW, kSurroundH)
                : Overlap(nX, nY, nWidth, nHeight, CDatabaseHandler::kPitchCellX, CDatabaseHandler::kPitchCellY,
                          CDatabaseHandler::kPitchWidthCells, CDatabaseHandler::kPitchHeightCells);
        if (bPitch) {
            clash.nKind = CLASH_PITCH;
            return true;
        }
        if (nFlags & AREA_INSIDE_PLAN) {
            for (int y = nY; y < nY + nHeight; ++y)
                for (int x = nX; x < nX + nWidth; ++x)
                    if (GetPlanTerrain(x, y) < 0 || IsRoadCell(x, y)) {
                        clash.nKind = CLASH_ROAD;
                        return true;
                    }
        }
        for (const CComponentScheduleDatabase* pSchedule : m_lstSchedules.Items<CComponentScheduleDatabase>()) {
            if (!pSchedule->IsActive())
                continue;
            const CComponentDatabase* pComponent = pSchedule->GetComponent();
            const uint8_t* pData = pSchedule->GetAssociatedComponentSpecificData();
            int sx = 0, sy = 0, sw = 0, sh = 0;
            if (!pComponent || !GetComponentRect(pComponent->GetMainType(), pComponent->GetSubType(), pData, sx, sy,
                                                 sw, sh))
                continue;
            if (!Overlap(nX, nY, nWidth, nHeight, sx, sy, sw, sh))
                continue;
            if ((nFlags & AREA_IGNORE_UNSTARTED) && !pSchedule->IsDue())
                continue;
            clash = {CLASH_SCHEDULE, pSchedule};
            return true;
        }
        for (const CComponentDatabase* pComponent : m_lstComponents.Items<CComponentDatabase>()) {
            int cx = 0, cy = 0, cw = 0, ch = 0;
            if (!pComponent->IsFinished() || !GetComponentRect(pComponent->GetMainType(), pComponent->GetSubType(),
                                                               pComponent->GetSpecificData(), cx, cy, cw, ch))
                continue;
            if (Overlap(nX, nY, nWidth, nHeight, cx, cy, cw, ch)) {
                clash = {CLASH_COMPONENT, pComponent};
                return true;
            }
        }
        return false;
    }();
    if (bOccupied && pnFailures)
        ++*pnFailures;
    if (pClash)
        *pClash = clash;
    return bOccupied;
}

void CGroundDatabase::GetComponentsInArea(int nX, int nY, int nWidth, int nHeight, bool bPitchSurround,
                                          CXList& lstOut) const
{
    const bool bPitch =
        bPitchSurround ? Overlap(nX, nY, nWidth, nHeight, kSurroundX, kSurroundY, kSurroundW, kSurroundH)
                       : Overlap(nX, nY, nWidth, nHeight, CDatabaseHandler::kPitchCellX, CDatabaseHandler::kPitchCellY,
                                 CDatabaseHandler::kPitchWidthCells, CDatabaseHandler::kPitchHeightCells);
    if (bPitch)
        lstOut.AddTail(new AREACLASH{CLASH_PITCH, nullptr});
    bool bRoad = false;
    for (int y = nY; y < nY + nHeight && !bRoad; ++y)
        for (int x = nX; x < nX + nWidth && !bRoad; ++x)
            bRoad = IsRoadCell(x, y);
    if (bRoad)
        lstOut.AddTail(new AREACLASH{CLASH_ROAD, nullptr});
    for (const CComponentDatabase* pComponent : m_lstComponents.Items<CComponentDatabase>()) {
        int cx = 0, cy = 0, cw = 0, ch = 0;
        if (pComponent->IsFinished() && GetComponentRect(pComponent->GetMainType(), pComponent->GetSubType(),
                                                         pComponent->GetSpecificData(), cx, cy, cw, ch) &&
            Overlap(nX, nY, nWidth, nHeight, cx, cy, cw, ch))
            lstOut.AddTail(new AREACLASH{CLASH_COMPONENT, pComponent});
    }
    for (const CComponentScheduleDatabase* pSchedule : m_lstSchedules.Items<CComponentScheduleDatabase>()) {
        const CComponentDatabase* pComponent = pSchedule->GetComponent();
        int sx = 0, sy = 0, sw = 0, sh = 0;
        if (pSchedule->IsActive() && pComponent &&
            GetComponentRect(pComponent->GetMainType(), pComponent->GetSubType(),
                             pSchedule->GetAssociatedComponentSpecificData(), sx, sy, sw, sh) &&
            Overlap(nX, nY, nWidth, nHeight, sx, sy, sw, sh))
            lstOut.AddTail(new AREACLASH{CLASH_SCHEDULE, pSchedule});
    }
}

int CGroundDatabase::GetNextQualityValueFromTable(int* pnTable)
{
    for (int q = 0; q < 3; ++q)
        if (pnTable[q] > 0) {
            --pnTable[q];
            return q;
        }
    DebugLog(1, "[CGroundDatabase::GetNextQualityValueFromTable] There were no values in the table that could be "
                "used, returning luxury.");
    return 2;
}

CCountryDatabase* CGroundDatabase::GetClimateCountry() const
{
    if (m_pOwner)
        return m_pOwner->GetCountry();
    if (!m_pDatabaseHandler)
        return nullptr;
    for (CCountryDatabase* pCountry : m_pDatabaseHandler->GetCountries().Items<CCountryDatabase>())
        if (pCountry->GetNationalGroundID() == m_wID)
            return pCountry;
    return nullptr;
}

void CGroundDatabase::GenerateGroundStadiums()
{
    if (!m_pDatabaseHandler)
        return;
    int anQuality[3];
    if (m_pOwner && m_pOwner->GetClubRating() >= 90) {
        // The leading clubs play in luxury all round.
        anQuality[0] = 0, anQuality[1] = 0, anQuality[2] = 8;
    } else if (m_nCapacity >= 25000) {
        anQuality[0] = 0, anQuality[1] = 4, anQuality[2] = 4;
    } else if (m_nCapacity < 10000) {
        anQuality[0] = 6, anQuality[1] = 2, anQuality[2] = 0;
    } else {
        anQuality[0] = 4, anQuality[1] = 4, anQuality[2] = 0;
    }
    const bool bFromLayout = m_dwStandLayout != 0;
    const bool bLimited = !bFromLayout && m_nCapacity < 17800;
    bool bRoofAll = false;
    if (!bFromLayout) {
        const CCountryDatabase* pCountry = GetClimateCountry();
        const int nClimate = pCountry ? pCountry->GetClimate() : 0;
        const int nChance = nClimate == 0 ? 80 : nClimate == 1 ? 50 : 10;
        bRoofAll = plat::rand() % 100 < nChance;
    }
    int64_t nRemaining = m_nCapacity;
    for (int nSide : s_anSideOrder) {
        if (nSide < 0 || nSide >= STAND_SIDES) {
            DebugLog(1, "[CGroundDatabase::GenerateGroundStadiums] Unknown stadium position!");
            continue;
        }
        if (bLimited && nRemaining < 1)
            break;
        int nKind = 0, nSize = 0;
        bool bRoof = bRoofAll;
        const int nQuality = GetNextQualityValueFromTable(anQuality);
        if (bFromLayout) {
            const int nValue = static_cast<int>((m_dwStandLayout >> (4 * nSide)) & 0xF);
            if (nValue == 0 || nValue > 10)
                continue;
            // Values run through the sizes each tier is built in (0-2, 1-3,
            // 4-5, 4-5): the higher a value within its tier, the deeper the
            // stand. A stand of two or three tiers is never of size 0 or 3,
            // which have no composite type and so no sections to sell.
            static const int s_anGroupStart[4] = {1, 4, 7, 9};
            static const int s_anFirstSize[4] = {0, 1, 4, 4};
            nKind = nValue <= 3 ? 0 : nValue <= 6 ? 1 : nValue <= 8 ? 2 : 3;
            nSize = std::min(5, s_anFirstSize[nKind] + nValue - s_anGroupStart[nKind]);
            bRoof = (m_byRoofLayout >> nSide) & 1;
        } else {
            const STADIUMSIZETABLERECORD* pSize =
                m_pDatabaseHandler->GetStadiumSizeTableRecord(1, nQuality, static_cast<uint32_t>(m_nCapacity));
            if (!pSize) {
                DebugLog(1, "[CGroundDatabase::GenerateGroundStadiums] No stand size for ground %u", m_wID);
                return;
            }
            nKind = pSize->byKind;
            nSize = pSize->bySize;
        }
        const STANDTABLERECORD* pStand = m_pDatabaseHandler->GetStandTableRecord(nSide, nKind, nSize, nQuality);
        if (!pStand) {
            DebugLog(1, "[CGroundDatabase::GenerateGroundStadiums] No stand row for ground %u side %d", m_wID, nSide);
            continue;
        }
        auto* pComponent = new CComponentDatabase(COMPONENT_STAND, m_wID);
        pComponent->SetSubType(static_cast<uint8_t>(nKind));
        uint8_t* pData = pComponent->GetSpecificData();
        pData[STAND_QUALITY] = static_cast<uint8_t>(nQuality);
        pData[STAND_SIDE] = static_cast<uint8_t>(nSide);
        pData[STAND_SIZE] = static_cast<uint8_t>(nSize);
        pData[STAND_ROOF] = bRoof ? static_cast<uint8_t>(nQuality + 1) : 0;
        int64_t nCost = pStand->dwMonthlyMaintenance;
        for (int nPart = 0; nPart < 3; ++nPart) {
            const STANDPARTTABLERECORD* pPart = m_pDatabaseHandler->GetStandPartTableRecord(nSide, nKind, nSize, nPart);
            if (!pPart)
                continue;
            pData[STAND_PARTS + nPart] = pPart->byMinimumCount;
            nCost += static_cast<int64_t>(pPart->byMinimumCount) * pPart->dwMonthlyMaintenancePerUnit;
        }
        if (bRoof) {
            const STANDADJUSTMENTTABLERECORD* pRoof =
                m_pDatabaseHandler->GetStandAdjustmentTableRecord(nSide, nKind, nSize, pData[STAND_ROOF] - 1);
            if (pRoof) {
                const int nPercent = std::abs(static_cast<int>(pRoof->chMaintenancePercent));
                nCost -= static_cast<int64_t>(nPercent * 0.01 * static_cast<double>(nCost));
            }
        }
        pComponent->SetValue(pStand->dwCost);
        pComponent->SetMaintenanceCost(static_cast<uint32_t>(nCost < 0 ? 0 : nCost));
        pComponent->SetGround(this);
        AddComponent(pComponent);
        if (bLimited)
            nRemaining -= pStand->dwCapacity;
    }
    DistributeSeats();
    SortComponents();
    RecalculateTotals();
}

void CGroundDatabase::DistributeSeats()
{
    int nWeight = 0;
    CComponentDatabase* pLast = nullptr;
    for (CComponentDatabase* pComponent : m_lstComponents.Items<CComponentDatabase>()) {
        if (!pComponent->IsStand())
            continue;
        pLast = pComponent;
        if (pComponent->IsFinished())
            nWeight += SideWeight(pComponent->GetStandSide());
    }
    if (!pLast || nWeight == 0)
        return;
    const int nCapacity = m_nCapacity < 0 ? 0 : m_nCapacity;
    int nGiven = 0;
    for (CComponentDatabase* pComponent : m_lstComponents.Items<CComponentDatabase>()) {
        if (!pComponent->IsStand())
            continue;
        const int nSeats = static_cast<int>(static_cast<double>(nCapacity) / nWeight *
                                            SideWeight(pComponent->GetStandSide()));
        pComponent->SetStandSeats(nSeats);
        nGiven += nSeats;
    }
    pLast->SetStandSeats(pLast->GetStandSeats() + nCapacity - nGiven);
}

int CGroundDatabase::FindComponentInFacilityComponentsToBuildArray(const uint8_t (*pabyArray)[3], int nKind,
                                                                   int nSubKind)
{
    int i = 0;
    for (; i < FACILITIES_TO_BUILD && pabyArray[i][0] != 0; ++i)
        if (pabyArray[i][0] == nKind && pabyArray[i][1] == nSubKind)
            return i;
    if (i >= FACILITIES_TO_BUILD) {
        DebugLog(1, "[CGroundDatabase::FindComponentInFacilityComponentsToBuildArray] Returning index beyond the end "
                    "of the array!");
        return -1;
    }
    return i;
}

void CGroundDatabase::GenerateGroundFacilities()
{
    if (!m_pDatabaseHandler)
        return;
    // A new ground has one of each facility kind, in its smallest size.
    uint8_t abyToBuild[FACILITIES_TO_BUILD + 1][3] = {};
    for (int nKind = 1; nKind < 256; ++nKind) {
        for (int nSize = 0; nSize < 3; ++nSize) {
            if (!m_pDatabaseHandler->GetFacilityTableRecord(nKind, nSize))
                continue;
            const int nIndex = FindComponentInFacilityComponentsToBuildArray(abyToBuild, nKind, nSize);
            if (nIndex >= 0 && abyToBuild[nIndex][0] == 0) {
                abyToBuild[nIndex][0] = static_cast<uint8_t>(nKind);
                abyToBuild[nIndex][1] = static_cast<uint8_t>(nSize);
                abyToBuild[nIndex][2] = 1;
            }
            break;
        }
    }
    for (int i = 0; i < FACILITIES_TO_BUILD && abyToBuild[i][0] != 0; ++i)
        for (int n = 0; n < abyToBuild[i][2]; ++n)
            PlaceNewFacility(abyToBuild[i][0], abyToBuild[i][1]);
    const CCountryDatabase* pCountry = GetClimateCountry();
    const int nClimate = pCountry ? pCountry->GetClimate() : -1;
    const int nRatingByte = !m_pOwner || m_pOwner->GetClubRating() >= 85 ? 1 : 0;
    // Chances of the weather items by climate 0, 1, 2.
    static const int s_anChance[3][3] = {{80, 50, 10}, {50, 80, 10}, {10, 50, 80}};
    for (int nSubType = 12; nSubType <= 16; ++nSubType) {
        int nData = 0;
        bool bCreate = true;
        if (nSubType == 13 || nSubType == 14) {
            nData = nRatingByte;
        } else {
            const int nRow = nSubType == 12 ? 0 : nSubType == 15 ? 1 : 2;
            bCreate = nClimate >= 0 && nClimate <= 2 && plat::rand() % 100 < s_anChance[nRow][nClimate];
        }
        if (!bCreate)
            continue;
        auto* pItem = new CComponentDatabase(COMPONENT_PITCH_ITEM, m_wID);
        pItem->SetSubType(static_cast<uint8_t>(nSubType));
        pItem->GetSpecificData()[0] = static_cast<uint8_t>(nData);
        if (const FACILITYTABLERECORD* pRow = m_pDatabaseHandler->GetExtraFacilityTableRecord(nSubType, nData)) {
            pItem->SetValue(pRow->dwCost);
            pItem->SetMaintenanceCost(pRow->dwMonthlyMaintenance);
        }
        pItem->SetGround(this);
        AddComponent(pItem);
    }
    SortComponents();
    RecalculateTotals();
}

bool CGroundDatabase::PlaceNewFacility(int nKind, int nSize)
{
    const FACILITYCOMPONENTTABLERECORD* pShape =
        CDatabaseHandler::GetFacilityComponentTableRecordFromTypeAndSize(nKind, nSize);
    const FACILITYTABLERECORD* pRow = m_pDatabaseHandler->GetFacilityTableRecord(nKind, nSize);
    int nW = 0, nH = 0;
    if (!pShape || !pRow || !GetFacilityFootprint(pShape->byFootprint, nW, nH))
        return false;
    uint8_t abyData[COMPONENT_FACILITY_DATA] = {static_cast<uint8_t>(nSize), pShape->byFootprint, 0, 0};
    int nFailures = 0;
    for (;;) {
        if (nFailures >= kRoadFailureLimit) {
            const CCountryDatabase* pCountry = GetClimateCountry();
            DebugLog(1,
                     "[CGroundDatabase::GenerateGroundFacilities] Facility Position Failure: Owner Club %s, Country %s, "
                     "Ground Name %s, Capacity %d",
                     m_pOwner ? m_pOwner->GetName() : "", pCountry ? pCountry->GetName() : "", m_szName, m_nCapacity);
            return false;
        }
        abyData[FACILITY_X] = static_cast<uint8_t>(plat::rand() % (kPlanW - nW));
        abyData[FACILITY_Y] = static_cast<uint8_t>(plat::rand() % (kPlanH - nH));
        if (!IsFacilityPositionValid(abyData)) {
            ++nFailures;
            continue;
        }
        if (IsAreaOccupied(abyData[FACILITY_X], abyData[FACILITY_Y], nW, nH, AREA_PITCH_SURROUND | AREA_INSIDE_PLAN,
                           nullptr, &nFailures))
            continue;
        if (CheckIfFacilityComponentNearRoad(abyData, &nFailures))
            break;
    }
    auto* pFacility = new CComponentDatabase(COMPONENT_FACILITY, m_wID);
    pFacility->SetSubType(static_cast<uint8_t>(nKind));
    pFacility->SetSpecificData(abyData);
    pFacility->SetValue(pRow->dwCost);
    pFacility->SetMaintenanceCost(pRow->dwMonthlyMaintenance);
    pFacility->SetGround(this);
    AddComponent(pFacility);
    return true;
}
