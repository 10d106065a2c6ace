// Stadium tables, plan geometry and the small value rules of the root.
#include "database/CDatabaseHandler.h"
#include "database/CIntegerTable.h"

#include "common/DebugLog.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

constexpr CIntegerTable::COLUMNRANGE kByte = {0, 255};
constexpr CIntegerTable::COLUMNRANGE kSignedByte = {-128, 127};
constexpr CIntegerTable::COLUMNRANGE kDword = {0, 0xFFFFFFFFLL};

uint8_t U8(const CIntegerTable& table, int nRow, int nColumn)
{
    return static_cast<uint8_t>(table.Get(nRow, nColumn));
}

uint32_t U32(const CIntegerTable& table, int nRow, int nColumn)
{
    return static_cast<uint32_t>(table.Get(nRow, nColumn));
}

const FACILITYCOMPONENTTABLERECORD kFacilityComponents[FACILITY_COMPONENT_TABLE_ROWS] = {
    {"FA1.BMP", 4, 0, 3},  {"FA2.BMP", 4, 1, 4}, {"SP1.BMP", 5, 0, 3}, {"SP2.BMP", 5, 1, 4},
    {"SP3.BMP", 5, 2, 5},  {"TO1.BMP", 6, 0, 3}, {"TO2.BMP", 6, 1, 8}, {"RT2.BMP", 7, 1, 4},
    {"RT3.BMP", 7, 2, 5},  {"CP4.BMP", 8, 1, 6}, {"CP6.BMP", 8, 2, 0}, {"FF1.BMP", 9, 0, 3},
    {"FF2.BMP", 9, 1, 4},  {"FF3.BMP", 9, 2, 5}, {"TG.BMP", 10, 2, 7}, {"GM2.BMP", 11, 1, 4},
    {"GM3.BMP", 11, 2, 5},
};

// Where a stand of each position starts, relative to the pitch's top-left cell.
constexpr int kPositionCells[8][2] = {{0, -1}, {11, -1}, {11, 0}, {11, 8}, {0, 8}, {-1, 8}, {-1, 0}, {-1, -1}};

float g_fAttendanceCurve[ATTENDANCE_CURVE_ENTRIES];

bool LessStadiumSizeRow(const STADIUMSIZETABLERECORD& a, const STADIUMSIZETABLERECORD& b)
{
    if (a.byKey1 != b.byKey1)
        return a.byKey1 < b.byKey1;
    if (a.byKey2 != b.byKey2)
        return a.byKey2 < b.byKey2;
    return a.dwBound < b.dwBound;
}

}  // namespace

bool CDatabaseHandler::LoadStadiumTables()
{
    const char* pszCaller = "CDatabaseHandler::LoadStadiumTables";
    bool bOk = true;
    CIntegerTable table;

    if (table.Read("Data\\Tables\\Stadiums.txt", STAND_TABLE_ROWS,
                   {kByte, kByte, kByte, kByte, kByte, kDword, kDword, kDword, kByte, kByte, kDword}, pszCaller)) {
        for (int i = 0; i < STAND_TABLE_ROWS; ++i) {
            STANDTABLERECORD& row = m_StandTable[i];
            row.byPositionKind = U8(table, i, 0);
            row.byKind = U8(table, i, 1);
            row.bySize = U8(table, i, 2);
            row.byOption = U8(table, i, 3);
            row.byYearlyCostRise = U8(table, i, 4);
            row.dwCost = U32(table, i, 5);
            row.dwCapacity = U32(table, i, 6);
            row.dwMonthlyMaintenance = U32(table, i, 7) / 12;
            row.byBuildWeeks = U8(table, i, 8);
            row.byDemolitionWeeks = U8(table, i, 9);
            row.dwDemolitionCost = U32(table, i, 10);
        }
    } else {
        bOk = false;
    }

    if (table.Read("Data\\Tables\\Roofing.txt", STAND_ADJUSTMENT_TABLE_ROWS,
                   {kByte, kByte, kByte, kByte, kByte, kByte, kByte, kSignedByte, kDword}, pszCaller)) {
        for (int i = 0; i < STAND_ADJUSTMENT_TABLE_ROWS; ++i) {
            STANDADJUSTMENTTABLERECORD& row = m_StandAdjustmentTable[i];
            row.byPositionKind = U8(table, i, 0);
            row.byKind = U8(table, i, 1);
            row.bySize = U8(table, i, 2);
            row.byOption = U8(table, i, 3);
            row.byBuildWeeks = U8(table, i, 4);
            row.byReserved[0] = U8(table, i, 5);
            row.byReserved[1] = U8(table, i, 6);
            row.chMaintenancePercent = static_cast<int8_t>(table.Get(i, 7));
            row.dwCost = U32(table, i, 8);
        }
    } else {
        bOk = false;
    }

    if (table.Read("Data\\Tables\\StaExtra.txt", STAND_PART_TABLE_ROWS,
                   {kByte, kByte, kByte, kByte, kByte, kDword, kDword, kByte, kByte}, pszCaller)) {
        for (int i = 0; i < STAND_PART_TABLE_ROWS; ++i) {
            STANDPARTTABLERECORD& row = m_StandPartTable[i];
            row.byPositionKind = U8(table, i, 0);
            row.byKind = U8(table, i, 1);
            row.bySize = U8(table, i, 2);
            row.byPart = U8(table, i, 3);
            row.byUnitCost = U8(table, i, 4);
            row.dwCapacityPerUnit = U32(table, i, 5);
            row.dwMonthlyMaintenancePerUnit = U32(table, i, 6) / 12;
            row.byMinimumCount = U8(table, i, 7);
            row.byMaximumCount = U8(table, i, 8);
        }
    } else {
        bOk = false;
    }

    const std::pair<const char*, std::pair<FACILITYTABLERECORD*, int>> facilityFiles[] = {
        {"Data\\Tables\\Facilities.txt", {m_FacilityTable, FACILITY_TABLE_ROWS}},
        {"Data\\Tables\\Features.txt", {m_ExtraFacilityTable, EXTRA_FACILITY_TABLE_ROWS}},
    };
    for (const auto& [pszPath, target] : facilityFiles) {
        if (!table.Read(pszPath, target.second, {kByte, kByte, kDword, kDword, kDword}, pszCaller)) {
            bOk = false;
            continue;
        }
        for (int i = 0; i < target.second; ++i) {
            FACILITYTABLERECORD& row = target.first[i];
            row.byType = U8(table, i, 0);
            row.bySize = U8(table, i, 1);
            row.dwCost = U32(table, i, 2);
            row.dwBuildWeeks = U32(table, i, 3);
            row.dwMonthlyMaintenance = U32(table, i, 4) / 12;
        }
    }

    if (table.Read("Data\\Tables\\StadAlloc.txt", STADIUM_SIZE_TABLE_ROWS, {kByte, kByte, kByte, kByte, kDword},
                   pszCaller)) {
        for (int i = 0; i < STADIUM_SIZE_TABLE_ROWS; ++i) {
            STADIUMSIZETABLERECORD& row = m_StadiumSizeTable[i];
            row.byKey1 = U8(table, i, 0);
            row.byKind = U8(table, i, 1);
            row.bySize = U8(table, i, 2);
            row.byKey2 = U8(table, i, 3);
            row.dwBound = U32(table, i, 4);
        }
    } else {
        bOk = false;
    }
    return bOk;
}

int CDatabaseHandler::GetStadiumPositionKind(int nPosition)
{
    switch (nPosition) {
    case 0: case 4: return 0;
    case 2: case 6: return 1;
    case 1: case 3: case 5: case 7: return 2;
    default: return -1;
    }
}

const STANDTABLERECORD* CDatabaseHandler::GetStandTableRecord(int nPosition, int nKind, int nSize, int nOption) const
{
    const int nPositionKind = GetStadiumPositionKind(nPosition);
    for (const STANDTABLERECORD& row : m_StandTable)
        if (row.byPositionKind == nPositionKind && row.byKind == nKind && row.bySize == nSize && row.byOption == nOption)
            return &row;
    return nullptr;
}

const STANDADJUSTMENTTABLERECORD* CDatabaseHandler::GetStandAdjustmentTableRecord(int nPosition, int nKind, int nSize,
                                                                                    int nOption) const
{
    const int nPositionKind = GetStadiumPositionKind(nPosition);
    for (const STANDADJUSTMENTTABLERECORD& row : m_StandAdjustmentTable)
        if (row.byPositionKind == nPositionKind && row.byKind == nKind && row.bySize == nSize && row.byOption == nOption)
            return &row;
    return nullptr;
}

const STANDPARTTABLERECORD* CDatabaseHandler::GetStandPartTableRecord(int nPosition, int nKind, int nSize,
                                                                        int nPart) const
{
    const int nPositionKind = GetStadiumPositionKind(nPosition);
    for (const STANDPARTTABLERECORD& row : m_StandPartTable)
        if (row.byPositionKind == nPositionKind && row.byKind == nKind && row.bySize == nSize && row.byPart == nPart)
            return &row;
    return nullptr;
}

const FACILITYTABLERECORD* CDatabaseHandler::GetFacilityTableRecord(int nType, int nSize) const
{
    for (const FACILITYTABLERECORD& row : m_FacilityTable)
        if (row.byType == nType && row.bySize == nSize)
            return &row;
    return nullptr;
}

const FACILITYTABLERECORD* CDatabaseHandler::GetExtraFacilityTableRecord(int nType, int nSize) const
{
    for (const FACILITYTABLERECORD& row : m_ExtraFacilityTable)
        if (row.byType == nType && row.bySize == nSize)
            return &row;
    return nullptr;
}

void CDatabaseHandler::SortStadiumSizeTable()
{
    bool bSwapped = true;
    while (bSwapped) {
        bSwapped = false;
        for (int i = 0; i + 1 < STADIUM_SIZE_TABLE_ROWS; ++i) {
            if (LessStadiumSizeRow(m_StadiumSizeTable[i + 1], m_StadiumSizeTable[i])) {
                std::swap(m_StadiumSizeTable[i], m_StadiumSizeTable[i + 1]);
                bSwapped = true;
            }
        }
    }
}

const STADIUMSIZETABLERECORD* CDatabaseHandler::GetStadiumSizeTableRow(int nIndex) const
{
    return nIndex >= 0 && nIndex < STADIUM_SIZE_TABLE_ROWS ? &m_StadiumSizeTable[nIndex] : nullptr;
}

const STADIUMSIZETABLERECORD* CDatabaseHandler::GetStadiumSizeTableRecord(int nKey1, int nKey2, uint32_t dwValue) const
{
    int nFirst = 0;
    while (nFirst < STADIUM_SIZE_TABLE_ROWS &&
           !(m_StadiumSizeTable[nFirst].byKey1 == nKey1 && m_StadiumSizeTable[nFirst].byKey2 == nKey2))
        ++nFirst;
    if (nFirst == STADIUM_SIZE_TABLE_ROWS) {
        DebugLog(1, "[CDatabaseHandler::GetStadiumSizeTableRecord] No rows for keys %d, %d", nKey1, nKey2);
        return nullptr;
    }
    if (dwValue <= m_StadiumSizeTable[nFirst].dwBound)
        return &m_StadiumSizeTable[nFirst];
    // The key's rows are sorted by bound: take the last whose bound the value reaches.
    int i = nFirst;
    for (;;) {
        const int nNext = i + 1;
        if (nNext >= STADIUM_SIZE_TABLE_ROWS || m_StadiumSizeTable[nNext].byKey1 != nKey1 ||
            m_StadiumSizeTable[nNext].byKey2 != nKey2)
            return &m_StadiumSizeTable[i];
        if (m_StadiumSizeTable[i].dwBound <= dwValue && dwValue <= m_StadiumSizeTable[nNext].dwBound)
            return &m_StadiumSizeTable[i];
        i = nNext;
    }
}

const FACILITYCOMPONENTTABLERECORD* CDatabaseHandler::GetFacilityComponentTableRecordFromTypeAndSize(int nType,
                                                                                                     int nSize)
{
    for (const FACILITYCOMPONENTTABLERECORD& row : kFacilityComponents)
        if (row.byType == nType && row.bySize == nSize)
            return &row;
    DebugLog(1, "[CDatabaseHandler::GetFacilityComponentTableRecordFromTypeAndSize] Could not find the required "
                "record.");
    return nullptr;
}

bool CDatabaseHandler::GetStadiumPositionCell(int nPosition, int& nX, int& nY)
{
    if (nPosition < 0 || nPosition > 7) {
        DebugLog(1, "[CDatabaseHandler::GetStadiumPositionCell] Unknown stadium position %d", nPosition);
        return false;
    }
    nX = kPitchCellX + kPositionCells[nPosition][0];
    nY = kPitchCellY + kPositionCells[nPosition][1];
    return true;
}

bool CDatabaseHandler::GetStadiumComponentGridRect(int nSize, int nPosition, int& nX, int& nY, int& nWidth,
                                                   int& nHeight)
{
    if (nPosition < 0 || nPosition > 7 || nSize < 0 || nSize > 5) {
        DebugLog(1, "[CDatabaseHandler::GetStadiumComponentGridRect] Unknown stand position %d or size %d", nPosition,
                 nSize);
        return false;
    }
    // A stand grows away from the pitch; the sides run along it, the corners are square.
    const int nDepth = nSize + 1;
    const bool bLeft = nPosition >= 5;
    const bool bRight = nPosition >= 1 && nPosition <= 3;
    const bool bTop = nPosition == 7 || nPosition <= 1;
    const bool bBottom = nPosition >= 3 && nPosition <= 5;
    nX = bLeft ? kPitchCellX - nDepth : bRight ? kPitchCellX + kPitchWidthCells : kPitchCellX;
    nY = bTop ? kPitchCellY - nDepth : bBottom ? kPitchCellY + kPitchHeightCells : kPitchCellY;
    nWidth = bLeft || bRight ? nDepth : kPitchWidthCells;
    nHeight = bTop || bBottom ? nDepth : kPitchHeightCells;
    return true;
}

bool CDatabaseHandler::GetStadiumComponentScreenRect(int nSize, int nPosition, int& nX, int& nY, int& nWidth,
                                                     int& nHeight)
{
    if (!GetStadiumComponentGridRect(nSize, nPosition, nX, nY, nWidth, nHeight))
        return false;
    nX = kPlanOriginX + nX * kPlanCellPixels;
    nY = kPlanOriginY + nY * kPlanCellPixels;
    nWidth *= kPlanCellPixels;
    nHeight *= kPlanCellPixels;
    return true;
}

void CDatabaseHandler::BuildAttendanceCurve()
{
    const float fStep = std::pow(0.2f, 1.0f / 70.0f);
    g_fAttendanceCurve[ATTENDANCE_CURVE_ENTRIES - 1] = 50000.0f;
    for (int i = ATTENDANCE_CURVE_ENTRIES - 2; i >= 0; --i)
        g_fAttendanceCurve[i] = g_fAttendanceCurve[i + 1] * fStep;
}

float CDatabaseHandler::GetAttendanceCurveEntry(int nIndex)
{
    if (nIndex < 0)
        nIndex = 0;
    if (nIndex >= ATTENDANCE_CURVE_ENTRIES)
        nIndex = ATTENDANCE_CURVE_ENTRIES - 1;
    return g_fAttendanceCurve[nIndex];
}

int32_t CDatabaseHandler::RoundMoneyValue(int32_t nAmount)
{
    if (nAmount < 500)
        return 500;
    if (nAmount < 10000)
        return nAmount / 500 * 500;
    if (nAmount < 100000)
        return nAmount / 1000 * 1000;
    if (nAmount < 1000000)
        return nAmount / 10000 * 10000;
    return nAmount / 250000 * 250000;
}

float CDatabaseHandler::GetPercentageInRange(float fValue, float fA, float fB)
{
    if (fA == fB)
        return 100.0f;
    const float fLow = fA < fB ? fA : fB;
    const float fHigh = fA < fB ? fB : fA;
    const float fClamped = fValue < fLow ? fLow : fValue > fHigh ? fHigh : fValue;
    return 100.0f * (fClamped - fB) / (fA - fB);
}

void CDatabaseHandler::MergeClubRecords(CLUBRECORDENTRY* pTarget, const CLUBRECORDENTRY* pOther)
{
    for (int i = 0; i < CLUB_RECORD_ENTRIES; ++i) {
        // The eleventh record keeps the lowest measure; 0 means "no record
        // yet", so an empty record never replaces a real one.
        const bool bTake = i == 10 ? pOther[i].nMeasure != 0 &&
                                         (pOther[i].nMeasure < pTarget[i].nMeasure || pTarget[i].nMeasure == 0)
                                   : pOther[i].nMeasure > pTarget[i].nMeasure;
        if (bTake)
            pTarget[i] = pOther[i];
    }
}
