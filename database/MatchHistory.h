#pragma once
// What a reader of the match history files (".mhs") gets back of one record
// beside its 52-byte header: both line-ups, both sides' events and the
// optional parts a human home club's record carries (its match-day money
// and the 256-byte attendance block).
#include <cstdint>
#include <vector>

#include "season/MatchRecords.h"

// A human home club's money of one match day as its record keeps it: the
// takings less costs of each facility row (in hundredths), the cost rows
// and the gate. A part the record lacks reads as zeros.
constexpr int MATCHDAY_FACILITY_ROWS = 17;
constexpr int MATCHDAY_COST_ROWS = 7;
struct MATCHDAYFINANCE {
    int32_t anFacilityProfit[MATCHDAY_FACILITY_ROWS] = {};
    int32_t anCosts[MATCHDAY_COST_ROWS] = {};
    int32_t nGate = 0;
};

struct MATCHRECORDBODY {
    std::vector<MATCHPLAYERENTRY> HomeLineUp;
    std::vector<MATCHPLAYERENTRY> AwayLineUp;
    std::vector<MATCHEVENT> HomeEvents;
    std::vector<MATCHEVENT> AwayEvents;
    std::vector<uint8_t> AttendanceBlock;
    MATCHDAYFINANCE Finance;
};

// The entries of the attendance block: one a ticket section (stand side x 4
// + section), each its takings (u32), its crowd (u16) and two spare bytes.
constexpr int MATCH_STAND_ENTRIES = 32;
constexpr int MATCH_STAND_ENTRY_BYTES = 8;

// A home match of a club at its own ground, and what each ticket section
// took and held when its record keeps the attendance block.
struct HOMEMATCHSTANDS {
    uint32_t dwMatchID = 0;
    uint32_t dwDate = 0;          // CDate value
    uint8_t byMatchKind = 0;      // the record's: 0 league, 1-2 cup, 3 friendly
    uint8_t byAttendancePercentage = 0;  // the crowd as a share of the capacity
    bool bRecordFound = false;
    bool bHasStands = false;
    uint32_t adwTakings[MATCH_STAND_ENTRIES] = {};
    uint16_t awCrowd[MATCH_STAND_ENTRIES] = {};
};

// Fills the sections of a match from a record's attendance block; false
// (the sections left empty) when the block is missing or of another size.
bool ReadMatchStands(const std::vector<uint8_t>& block, HOMEMATCHSTANDS& match);
