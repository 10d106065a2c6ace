#pragma once
// A club's summary of a finished season, as the division's season summaries
// file ("TempClubDivision%d.shs") keeps it: one 364-byte record per club of
// the division per season, the season just finished last.
#include <cstdint>
#include <vector>

class CDatabaseHandler;

namespace club_season_summary {

constexpr int kBytes = 364;

// The club's record of the season nSeasonsBack (1 = the season just
// finished) from whichever division's file holds it; false when none does
// (a division whose file is missing or short is passed over).
bool Find(const CDatabaseHandler& database, uint16_t wClubId, int nSeasonsBack, std::vector<uint8_t>& record);

}  // namespace club_season_summary
