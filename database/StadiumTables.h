#pragma once
// Rows of the fixed stadium tables that the database root reads from
// Data\Tables at start-up, and the fixed facility component table. Costs are
// whole money units; "monthly" figures are the yearly figures of the files
// divided by 12.
#include <cstdint>

// Stadiums.txt: one kind and size of stand at one position class and quality.
struct STANDTABLERECORD {
    uint8_t byPositionKind;  // 0 long side, 1 end, 2 corner
    uint8_t byKind;          // tier code 0-3
    uint8_t bySize;          // 0-5
    uint8_t byOption;        // quality 0-2
    uint8_t byYearlyCostRise;  // percentage added to the maintenance each season
    uint32_t dwCost;
    uint32_t dwCapacity;
    uint32_t dwMonthlyMaintenance;
    uint8_t byBuildWeeks;
    uint8_t byDemolitionWeeks;
    uint32_t dwDemolitionCost;
};

// Roofing.txt: the roof of a stand, keyed by roof grade - 1 in place of quality.
struct STANDADJUSTMENTTABLERECORD {
    uint8_t byPositionKind;
    uint8_t byKind;
    uint8_t bySize;
    uint8_t byOption;  // roof grade - 1
    uint8_t byBuildWeeks;
    uint8_t byReserved[2];
    int8_t chMaintenancePercent;  // its size is the percentage taken off the stand's maintenance
    uint32_t dwCost;
};

// StaExtra.txt: one of the three parts of a stand (boxes, kiosks, toilets).
struct STANDPARTTABLERECORD {
    uint8_t byPositionKind;
    uint8_t byKind;
    uint8_t bySize;
    uint8_t byPart;  // 0-2
    uint8_t byUnitCost;  // thousands of money units per unit
    uint32_t dwCapacityPerUnit;
    uint32_t dwMonthlyMaintenancePerUnit;
    uint8_t byMinimumCount;
    uint8_t byMaximumCount;
};

// Facilities.txt and Features.txt.
struct FACILITYTABLERECORD {
    uint8_t byType;
    uint8_t bySize;
    uint32_t dwCost;
    uint32_t dwBuildWeeks;
    uint32_t dwMonthlyMaintenance;
};

// StadAlloc.txt: which tier code and size a ground of a given capacity gets.
struct STADIUMSIZETABLERECORD {
    uint8_t byKey1;
    uint8_t byKind;
    uint8_t bySize;
    uint8_t byKey2;  // quality
    uint32_t dwBound;
};

// The fixed table of facility components: bitmap, type, size and footprint.
struct FACILITYCOMPONENTTABLERECORD {
    const char* pszBitmap;
    uint8_t byType;
    uint8_t bySize;
    uint8_t byFootprint;
};

// One entry of a club's records table.
struct CLUBRECORDENTRY {
    int32_t nData1;
    int32_t nData2;
    int32_t nMeasure;
};

constexpr int STAND_TABLE_ROWS = 90;
constexpr int STAND_ADJUSTMENT_TABLE_ROWS = 90;
constexpr int STAND_PART_TABLE_ROWS = 90;
constexpr int FACILITY_TABLE_ROWS = 17;
constexpr int EXTRA_FACILITY_TABLE_ROWS = 7;
constexpr int STADIUM_SIZE_TABLE_ROWS = 30;
constexpr int FACILITY_COMPONENT_TABLE_ROWS = 17;
constexpr int CLUB_RECORD_ENTRIES = 15;
constexpr int ATTENDANCE_CURVE_ENTRIES = 100;
