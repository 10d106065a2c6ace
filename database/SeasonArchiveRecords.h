#pragma once
// The two records a finished season leaves behind: each division's archive
// record (its eleven of the season, top scorer, fees, best manager, record
// block and the clubs that went up and down) and each country's season
// record (its five top scorers, its five largest fees paid and received, the
// finalists of its competitions and the clubs waiting for the European
// cups). The season code writes them at the old season's close and the
// archive screen reads them back; both take the byte layout from here.
#include "database/RecordBytes.h"

#include <cstdint>

struct DIVISIONARCHIVERECORD;

namespace division_archive {
constexpr int kDivision = 0;
// {club, player, season points}: one goalkeeper, four defenders, four
// midfielders and two attackers, each group best first (the eleven of a
// period keeps its groups in the same places).
constexpr int kEleven = 4;
constexpr int kElevenPlaces = 11;
constexpr int kElevenFirst[4] = {0, 1, 5, 9};  // by the player's position
constexpr int kElevenGroupPlaces[4] = {1, 4, 4, 2};
constexpr int kTopScorer = 136;     // {club, player, goals}
constexpr int kFeePaid = 148;       // {player, club, fee}
constexpr int kFeeReceived = 160;   // {player, club, fee}
constexpr int kManager = 196;       // {manager, club, season score}
constexpr int kRecords = 208;       // 15 slots {club, player, measure}
constexpr int kRecordSlots = 15;
constexpr int kPromoted = 388;      // four club ids (u16)
constexpr int kRelegated = 396;     // four club ids (u16)
constexpr int kClubSlots = 4;
constexpr int kKey = 404;
constexpr int kBytes = 408;
}  // namespace division_archive

namespace country_archive {
constexpr int kCountry = 0;
constexpr int kTopScorers = 4;          // five {club, player, goals}
constexpr int kFeesPaid = 64;           // five {player, club, fee}
constexpr int kFeesReceived = 124;      // five {player, club, fee}
constexpr int kListPlaces = 5;
// The finalists by competition index: domestic cups 0-3, European 4-6.
constexpr int kWinners = 184;
constexpr int kRunnersUp = 198;
constexpr int kCompetitions = 7;
constexpr int kFirstCupEntrants = 212;  // five club ids: waiting for European cup kind 1
constexpr int kFirstCupSlots = 5;
constexpr int kSecondCupEntrants = 222; // four club ids: waiting for European cup kind 0
constexpr int kSecondCupSlots = 4;
constexpr int kKey = 230;
constexpr int kBytes = 232;
}  // namespace country_archive

// The season key both records carry: the season's start year less 1999,
// so that the 1999/2000 season is 0 (kept in a byte).
constexpr uint8_t SeasonArchiveKey(int nStartYear)
{
    return static_cast<uint8_t>((nStartYear + 49) & 0xFF);
}

// A division's archive record, read out.
struct DIVISIONSEASONARCHIVE {
    PERSONREFERENCE aEleven[division_archive::kElevenPlaces];
    PERSONREFERENCE TopScorer;
    PERSONREFERENCE FeePaid;
    PERSONREFERENCE FeeReceived;
    PERSONREFERENCE Manager;
    PERSONREFERENCE aRecords[division_archive::kRecordSlots];
    uint16_t awPromoted[division_archive::kClubSlots] = {};
    uint16_t awRelegated[division_archive::kClubSlots] = {};
    uint8_t byDivision = 0;
    uint8_t byKey = 0;

    static DIVISIONSEASONARCHIVE Read(const DIVISIONARCHIVERECORD& record);
};

// A country's season record, read out.
struct COUNTRYSEASONARCHIVE {
    PERSONREFERENCE aTopScorers[country_archive::kListPlaces];
    PERSONREFERENCE aFeesPaid[country_archive::kListPlaces];
    PERSONREFERENCE aFeesReceived[country_archive::kListPlaces];
    uint16_t awWinners[country_archive::kCompetitions] = {};
    uint16_t awRunnersUp[country_archive::kCompetitions] = {};
    uint16_t awFirstCupEntrants[country_archive::kFirstCupSlots] = {};
    uint16_t awSecondCupEntrants[country_archive::kSecondCupSlots] = {};
    uint8_t byCountry = 0;
    uint8_t byKey = 0;

    // The record is country_archive::kBytes long.
    static COUNTRYSEASONARCHIVE Read(const uint8_t* pRecord);
};

// Puts a club id in the first free one of nSlots u16 places; false (the
// list unchanged) when every place is taken.
bool AppendArchiveClub(uint8_t* pList, int nSlots, uint16_t wClub);
