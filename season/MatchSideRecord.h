#pragma once
// One side of a played match as the records take it, whichever engine played
// it (the quick result engine or the 3-D match): its line-up entries in
// squad order and what each player did; and the writers that put a match
// into the players' records.
#include "database/CPlayerDatabase.h"
#include "season/CClub.h"
#include "season/MatchRecords.h"

#include <cstdint>

class CClubDatabase;
class CDivisionDatabase;

struct MATCHSIDERECORD {
    CClubDatabase* pClub = nullptr;
    // 11 plus the substitutes named.
    int nEntries = QUICKMATCH_STARTERS;
    int nGoals = 0;
    MATCHPLAYERENTRY aEntries[QUICKMATCH_MAX_PLAYERS];
    CPlayerDatabase* apPlayers[QUICKMATCH_MAX_PLAYERS] = {};
    // bStarted, bCameOn, the goals, cards and rating of each entry; the
    // clean sheet is worked out when the match is recorded.
    PLAYERQUICKMATCH aPlayed[QUICKMATCH_MAX_PLAYERS];
    // The side's counts by QUICKSTAT_*, and its free kicks for offside.
    int32_t anStatistics[QUICKSTAT_COUNT] = {};
    int32_t nOffsideFreeKicks = 0;

    bool TookPart(int nEntry) const
    {
        return apPlayers[nEntry] && (aPlayed[nEntry].bStarted || aPlayed[nEntry].bCameOn);
    }
};

// Every player who took part, home side first: his match into his record,
// then his morale moved by his club's, the score and his own match.
void RecordPlayersMatch(const MATCHSIDERECORD& home, const MATCHSIDERECORD& away, uint8_t byCompetition);
// The player of the match is the best rated entry of either side (the away
// one on equal ratings); his record counts it. Answers his identifier, 0
// when neither side has a player.
ID_PLAYER RecordManOfTheMatch(const MATCHSIDERECORD& home, const MATCHSIDERECORD& away, uint8_t byCompetition);
// The side's manager earns season points from the side's counts, weighed by
// the opponent's standing and the competition (a league match by the
// division of pLeague, the away club's).
void RecordManagerPoints(const MATCHSIDERECORD& side, const MATCHSIDERECORD& opponent, uint8_t byCompetition,
                         const CDivisionDatabase* pLeague);
