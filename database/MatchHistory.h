#pragma once
// What a reader of the match history files (".mhs") gets back of one record
// beside its 52-byte header: both line-ups and both sides' events. The
// optional parts behind them are skipped, except the 256-byte attendance
// block, which is kept when present.
#include <cstdint>
#include <vector>

#include "season/MatchRecords.h"

struct MATCHRECORDBODY {
    std::vector<MATCHPLAYERENTRY> HomeLineUp;
    std::vector<MATCHPLAYERENTRY> AwayLineUp;
    std::vector<MATCHEVENT> HomeEvents;
    std::vector<MATCHEVENT> AwayEvents;
    std::vector<uint8_t> AttendanceBlock;
};
