#pragma once
// One side of a quickly played match: the club's line-up turned into one
// quick-player record per player, the tactical tables it plays by, and the
// statistics the engine fills. Sides and quick-player records come from two
// fixed-size pools whose chunks hang on the database root's chunk list.
#include "common/CXList.h"
#include "common/Identifiers.h"
#include "platform/Random.h"
#include "season/MatchRecords.h"

#include <cstddef>
#include <cstdint>

class CClub;
class CClubDatabase;
class CDatabaseHandler;
class CPlayerDatabase;

constexpr int QUICKMATCH_STARTERS = 11;
// The game's own friendly rules name 7 substitutes, so the sheet holds 18.
constexpr int QUICKMATCH_MAX_SUBSTITUTES = 7;
constexpr int QUICKMATCH_MAX_PLAYERS = QUICKMATCH_STARTERS + QUICKMATCH_MAX_SUBSTITUTES;
constexpr int QUICKMATCH_DEFAULT_SUBSTITUTIONS = 3;
constexpr int QUICKMATCH_DEFAULT_SUBSTITUTES = 5;
// Skill points the home side's players gain in their outcome tables: the
// crowd and the familiar ground, enough that the home side wins more often.
constexpr float QUICKMATCH_HOME_ADVANTAGE = 5.0f;

// Position classes of the line-up slot codes.
enum {
    QUICKCLASS_GOALKEEPER = 0,
    QUICKCLASS_DEFENDER = 1,
    QUICKCLASS_MIDFIELDER = 2,
    QUICKCLASS_ATTACKER = 3,
    QUICKCLASS_COUNT = 4,
};

// Outcome tables of a quick-player record.
enum {
    QUICKTABLE_TACKLING = 0,   // T1
    QUICKTABLE_SHOOTING,       // T2
    QUICKTABLE_SAVING,         // T3
    QUICKTABLE_PASSING,        // T4
    QUICKTABLE_HEADING,        // T5
    QUICKTABLE_CROSSING,       // T6
    QUICKTABLE_CATCHING,       // T7, three bands
    QUICKTABLE_COUNT
};

// Rating components: duels, distribution (saves for a goalkeeper too),
// shooting, heading.
enum {
    QUICKRATING_DUELS = 0,
    QUICKRATING_DISTRIBUTION,
    QUICKRATING_SHOOTING,
    QUICKRATING_HEADING,
    QUICKRATING_COUNT
};

// Side statistics.
enum {
    QUICKSTAT_PASSES = 0,
    QUICKSTAT_PASSES_COMPLETED,
    QUICKSTAT_SHOTS,
    QUICKSTAT_SHOTS_ON_TARGET,
    QUICKSTAT_GOALS,
    QUICKSTAT_SAVES,
    QUICKSTAT_CORNERS,
    QUICKSTAT_FREE_KICKS,
    QUICKSTAT_ATTACKING_FREE_KICKS,
    QUICKSTAT_OFFSIDES,
    QUICKSTAT_GOAL_KICKS,
    QUICKSTAT_GOAL_KICKS_SHORT,
    QUICKSTAT_GOAL_KICKS_LONG,
    QUICKSTAT_HEADERS,
    QUICKSTAT_TACKLES_WON,
    QUICKSTAT_FOULS,
    QUICKSTAT_BOOKINGS,
    QUICKSTAT_SENDINGS_OFF,
    QUICKSTAT_PENALTIES,
    QUICKSTAT_PENALTIES_SCORED,
    QUICKSTAT_THROW_INS,
    QUICKSTAT_COUNT
};
// The three statistic bytes.
enum {
    QUICKBYTE_INJURIES = 0,
    QUICKBYTE_OWN_GOALS_FOR,   // own goals the other side gave this side
    QUICKBYTE_OFFSIDE_FREE_KICKS,
    QUICKBYTE_COUNT
};

// A six- or three-band table: the first band index (1-based) whose bound
// reaches a draw of 1-100 is the outcome.
struct OUTCOMETABLE {
    int32_t nCount = 0;
    int32_t anBounds[6] = {};
};

struct RATINGCOMPONENT {
    int32_t nAttempts = 0;
    int32_t nSuccesses = 0;
    int32_t nCleanSuccesses = 0;
};

// One player of a quick match.
class CQuickPlayer {
public:
    CQuickPlayer(CClub* pSide, CPlayerDatabase* pPlayer, int nSlot, int nClass, CXList* pEvents);

    static void* operator new(size_t nBytes);
    static void operator delete(void* p, size_t nBytes);

    // Builds the seven outcome tables from the skills and the match value.
    void BuildTables();
    bool IsEmpty() const { return m_pPlayer == nullptr; }
    ID_PLAYER GetPlayerID() const;
    // The fitness the condition starts at and recovers to: 0-100.
    float GetFitness() const;
    // The condition lives in the side's table at his line-up entry, so that
    // the side tires all its players in one pass over a flat array.
    float& Condition();
    float Condition() const;
    void AddEvent(int nKind, int nMinute, int nCompetition) const;

    uint8_t m_bySentOff = 0;
    uint8_t m_byOnPitch = 0;
    uint8_t m_byCameOn = 0;
    uint8_t m_byInjured = 0;
    int32_t m_nGoalsConceded = 0;
    int32_t m_nGoals = 0;
    int32_t m_nOwnGoals = 0;
    int32_t m_nFouls = 0;
    int32_t m_nSendingsOff = 0;
    int32_t m_nBookingEvents = 0;
    int32_t m_nPenaltiesTaken = 0;
    int32_t m_nPenaltiesScored = 0;
    int32_t m_nPenaltiesMissed = 0;
    int32_t m_nSaves = 0;
    int32_t m_nBookings = 0;
    int32_t m_nTouches = 0;
    int32_t m_nTacklesWon = 0;
    RATINGCOMPONENT m_aRating[QUICKRATING_COUNT];
    int32_t m_nMatchValue = 50;
    OUTCOMETABLE m_aTables[QUICKTABLE_COUNT];
    int32_t m_nSlot = 0;
    // The line-up entry that stays his whatever slot he moves to.
    int32_t m_nEntry = 0;
    int32_t m_nClass = 0;
    int32_t m_nRating = 0;
    CXList* m_pEvents = nullptr;
    CClub* m_pSide = nullptr;
    CPlayerDatabase* m_pPlayer = nullptr;
    CQuickPlayer* m_pPoolLink = nullptr;
};

class CClub {
public:
    // Builds the side of the parameter block's home (0) or away (1) club.
    CClub(MATCHPARAMETERS* pFixture, int nSideIndex);
    // The side's quick-player records go back to their pool with it.
    ~CClub();
    CClub(const CClub&) = delete;
    CClub& operator=(const CClub&) = delete;

    static void* operator new(size_t nBytes);
    static void operator delete(void* p, size_t nBytes);

    // The class of a line-up slot code (a role 0-15).
    static int GetClassFromSlotCode(int nSlotCode);
    // The action or receiver table (0 normal, 1 above 60, 2 below 30) that
    // a human's match order of 0-100 chooses.
    static int GetTacticsTableIndex(int nSetting);

    CQuickPlayer* PickRandomPlayer();
    CQuickPlayer* GetGoalkeeper() const { return m_apPlayers[0]; }
    CQuickPlayer* PickDefender();
    CQuickPlayer* PickMidfielder();
    CQuickPlayer* PickAttacker();
    CQuickPlayer* PickOfClass(int nClass);
    CQuickPlayer* PickSetPieceTaker();
    const MATCHPLAYERENTRY* GetBestRatedEntry() const;
    void AddPossession();
    void HalfTimeRecovery();
    // Called after every action of a match. The conditions are read only now
    // and then (fouls, injuries, substitutions, breaks), so the actions are
    // counted here and worked off when a condition is next asked for.
    void TireAll() { ++m_nUntiredActions; }
    // Works off the actions counted since the conditions were last asked for.
    void SettleConditions()
    {
        if (m_nUntiredActions)
            WorkOffActions();
    }

    int GetGoals() const { return m_anStatistics[QUICKSTAT_GOALS]; }
    int GetSquadSize() const { return m_nSquadSize; }
    int GetSubstitutionsAllowed() const { return m_bySubstitutionsAllowed; }
    int GetSubstitutesNamed() const { return m_bySubstitutesNamed; }
    int GetEntryCount() const { return QUICKMATCH_STARTERS + m_bySubstitutesNamed; }

    CClub* m_pOpponent = nullptr;
    int32_t m_anStatistics[QUICKSTAT_COUNT] = {};
    uint8_t m_abyStatistics[QUICKBYTE_COUNT] = {};
    int32_t m_nPossessionTotal = 0;
    MATCHPLAYERENTRY m_aEntries[QUICKMATCH_MAX_PLAYERS];
    uint8_t m_byCompetition = 0;
    CQuickPlayer* m_pCurrentPlayer = nullptr;
    CQuickPlayer* m_pSetPieceTaker = nullptr;
    const uint8_t (*m_pActionTable)[2] = nullptr;
    const uint8_t (*m_pReceiverTable)[2] = nullptr;
    CQuickPlayer* m_apPlayers[QUICKMATCH_MAX_PLAYERS] = {};
    int32_t m_anClassCounts[QUICKCLASS_COUNT] = {};
    int32_t m_nSideIndex = 0;
    int32_t m_nCardMode = 0;
    int32_t m_nSubstitutionsMade = 0;
    MATCHPARAMETERS* m_pFixture = nullptr;
    uint8_t m_bySubstitutionsAllowed = QUICKMATCH_DEFAULT_SUBSTITUTIONS;
    uint8_t m_bySubstitutesNamed = QUICKMATCH_DEFAULT_SUBSTITUTES;
    int32_t m_nSquadSize = 0;
    CClubDatabase* m_pClub = nullptr;
    // Condition of each line-up entry, padded to whole vector widths; unused
    // entries stay at 100, which tiring leaves unchanged.
    static constexpr int kConditionEntries = (QUICKMATCH_MAX_PLAYERS + 3) / 4 * 4;
    float m_afConditions[kConditionEntries];

private:
    void WorkOffActions();

    // Actions played since the conditions were last brought up to date.
    int32_t m_nUntiredActions = 0;

    // Slots 1-10 of each class, in slot order; they keep their class when
    // a substitute of another class takes one.
    int32_t m_anClassSlots[QUICKCLASS_COUNT][QUICKMATCH_STARTERS] = {};
};

inline float& CQuickPlayer::Condition()
{
    m_pSide->SettleConditions();
    return m_pSide->m_afConditions[m_nEntry];
}

inline float CQuickPlayer::Condition() const
{
    m_pSide->SettleConditions();
    return m_pSide->m_afConditions[m_nEntry];
}

// Drawn for nearly every action (the tackler, the receiver), so defined
// here, where the engine's calls take them in place.
inline CQuickPlayer* CClub::PickOfClass(int nClass)
{
    if (nClass < QUICKCLASS_DEFENDER || nClass > QUICKCLASS_ATTACKER)
        nClass = QUICKCLASS_DEFENDER;
    for (int n = 0; n < 3; ++n) {
        if (m_anClassCounts[nClass] > 0)
            return m_apPlayers[m_anClassSlots[nClass][plat::rand() % m_anClassCounts[nClass]]];
        nClass = nClass == QUICKCLASS_ATTACKER ? QUICKCLASS_DEFENDER : nClass + 1;
    }
    return m_apPlayers[1];
}

inline CQuickPlayer* CClub::PickDefender()
{
    return PickOfClass(QUICKCLASS_DEFENDER);
}

inline CQuickPlayer* CClub::PickMidfielder()
{
    return PickOfClass(QUICKCLASS_MIDFIELDER);
}

inline CQuickPlayer* CClub::PickAttacker()
{
    return PickOfClass(QUICKCLASS_ATTACKER);
}

// The tactical tables: rows for classes 0-3, each (a, b).
extern const uint8_t g_abyQuickActionTables[3][QUICKCLASS_COUNT][2];
extern const uint8_t g_abyQuickReceiverTables[3][QUICKCLASS_COUNT][2];

// The two pools. Chunks hang on the database root's chunk list; without a
// root they hang on a list of the pools' own that lives as long as the program.
class CQuickMatchPools {
public:
    static void SetDatabaseHandler(CDatabaseHandler* pHandler, CXList* pChunkList);
    // The root frees the chunks: the free lists are forgotten with them.
    static void ForgetChunks(CDatabaseHandler* pHandler);
    static int GetFreeSides();
    static int GetFreePlayers();
};
