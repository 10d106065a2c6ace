#pragma once
// A finished 3-D match into the world, through the same writers as a match
// the quick result engine plays unseen: the players' records and morale,
// the player of the match, the referee's totals, the gate, the match record
// in the history file (the home country's, or "temp.mhs" for European and
// friendly matches), the clubs' results and the home pitch, then the
// fixture and the league table (or the play-off tie, or the cup tie); the
// human managers' next match moves on.
#include "matchday/MatchIncidents.h"
#include "shell/CGameDay.h"

#include <vector>

class CDatabaseHandler;

class CShownMatchRecorder {
public:
    // The result code is taken from the score as the quick result engine
    // takes it after normal time.
    static constexpr int kScoreDecides = -1;

    // Records the match played for the match-day fixture (as
    // DescribeShownMatch reads it off the engine), with the match's incident
    // list; nResult is the referee's result code when he set one. False, with
    // nothing written, when the fixture is missing or already played or the
    // match's clubs are not the fixture's.
    static bool Record(CDatabaseHandler& database, const MATCHDAYFIXTURE& fixture, const SHOWNMATCH& match,
                       const std::vector<ITEMINCIDENTINFORMATION>& incidents, int nResult = kScoreDecides);
};
