#pragma once
// The lines of a shown match's incident lists, and what the recording of a
// shown match reads of the match: both sides' clubs, goals and squads with
// each player's place and rating, and the home shares of possession and
// territory. Kept apart from the match engine's own types, so that the
// recording can stand beside the quick result engine's.
#include <cstdint>

class CClubDatabase;
class CMatchEngine;
class CPlayerDatabase;

// Incident kinds: the event byte of a record handed to AddPendingEvent.
enum INCIDENTKIND : uint8_t {
    INCIDENT_BOOKING = 0,
    INCIDENT_SENDING_OFF,
    INCIDENT_GOAL,
    INCIDENT_OWN_GOAL,
    INCIDENT_DIRECT_GOAL,
    INCIDENT_INJURED,
    INCIDENT_SUBSTITUTION,
    INCIDENT_GOING_OFF,
    INCIDENT_PENALTY_SCORED,
    INCIDENT_PENALTY_MISSED,
    INCIDENT_SHOOTOUT_SCORED,
    INCIDENT_SHOOTOUT_MISSED,
    INCIDENT_KIND_COUNT
};

// One line of the incident lists.
struct ITEMINCIDENTINFORMATION {
    CPlayerDatabase* pPlayer = nullptr;
    uint8_t byMinute = 0;
    uint8_t byKind = 0;
    // 1 in the home club's list, 0 in the away list.
    uint8_t byHomeSide = 0;
};

// One player of a shown match's squad, in squad order.
struct SHOWNMATCHPLAYER {
    CPlayerDatabase* pPlayer = nullptr;
    // His place in the side: the formation role, or the bench role.
    uint8_t bySlotCode = 0;
    uint8_t byRating = 0;
};

constexpr int SHOWNMATCH_SQUAD_MAX = 18;

struct SHOWNMATCHSIDE {
    CClubDatabase* pClub = nullptr;
    uint8_t byGoals = 0;
    int nSquad = 0;
    SHOWNMATCHPLAYER aPlayers[SHOWNMATCH_SQUAD_MAX];
};

struct SHOWNMATCH {
    SHOWNMATCHSIDE aSides[2];  // home, away
    int nPossessionPercent = 50;
    int nTerritoryPercent = 50;
    // The fouls both sides gave away and the shoot-out score (home, away).
    int nFouls = 0;
    uint8_t abyShootOutGoals[2] = {};
};

// What the recording reads of the engine's running match.
SHOWNMATCH DescribeShownMatch(const CMatchEngine& engine);
