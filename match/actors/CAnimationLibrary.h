#pragma once
// The body animations that all match persons share, imported once per match
// into the renderer's animation manager and kept in three fixed tables: the
// move types (standing poses, cycles, standing turns), the transitions between
// move types, and the actions (steps, ball play, saves, gestures, signals). A
// person asks for a move type, a transition or an action and the table gives
// the animation index; the speed data of each cycle (stride, start and stop
// distances) is measured from the root tracks when the tables are built.
#include <cstdint>
#include <string>
#include <vector>

class CObjectData;

constexpr uint8_t MOVETYPE_COUNT = 16;
constexpr uint8_t MOVETYPE_INVALID = 16;
constexpr uint8_t ACTION_COUNT = 57;
constexpr uint16_t NO_TEMPLATE_ANIMATION = 9999;

enum : uint8_t {
    MOVETYPE_STAND, MOVETYPE_WALK, MOVETYPE_JOG, MOVETYPE_RUN, MOVETYPE_DRIBBLE_STAND, MOVETYPE_DRIBBLE_WALK,
    MOVETYPE_DRIBBLE_JOG, MOVETYPE_DRIBBLE_RUN, MOVETYPE_HOLD_STAND, MOVETYPE_HOLD_WALK, MOVETYPE_CROUCH,
    MOVETYPE_COVER, MOVETYPE_SEATED, MOVETYPE_POORLY, MOVETYPE_LIMP, MOVETYPE_PHYSIO_JOG
};

// The standing turns of a move type, in list order.
enum : uint8_t { TURN_45_LEFT, TURN_45_RIGHT, TURN_90_LEFT, TURN_90_RIGHT, TURN_180 };

struct MOVETYPEITEM {
    uint8_t byEndMoveType = 0;
    uint16_t wAnimation = 0;
};

struct MOVETYPEENTRY {
    std::vector<MOVETYPEITEM> items;  // the turns, or the one cycle
    int32_t nStartPlusStride = 0;
    int32_t nStartDistance = 0;
    int32_t nStride = 0;
    int32_t nStopPlusStart = 0;
    float fDistancePerFrame = 0.0f;
    uint16_t wTemplate = NO_TEMPLATE_ANIMATION;
};

struct TRANSITIONENTRY {
    std::vector<uint16_t> animations;
    int32_t nDistance = 0;  // root displacement of the first animation
};

struct ACTIONRECORD {
    uint8_t byStartMoveType = 0;
    uint8_t byEndMoveType = 0;
    float fHeadingChange = 0.0f;
    uint8_t byHeaderCode = 0;
    uint16_t wAnimation = 0;
    uint8_t byContactCode = 0;
    bool bHands = false;
};

struct ACTIONENTRY {
    uint8_t byEventKind = 0;
    std::vector<ACTIONRECORD> records;  // the count; unfilled records are zero
};

class CAnimationLibrary {
public:
    // Imports every file from the folder (a game path ending in its separator)
    // for the skinned object of that index and fills the tables. A file that
    // cannot be imported keeps the manager's failure index in its slot.
    void Load(CObjectData& objects, uint16_t wMeshIndex, const std::string& folder);
    void Free();
    bool IsLoaded() const { return m_pObjects != nullptr; }
    CObjectData* GetObjectData() const { return m_pObjects; }
    uint16_t GetMeshIndex() const { return m_wMeshIndex; }

    // Null for a number out of range (logged by the callers).
    const MOVETYPEENTRY* GetMoveType(uint8_t byMoveType) const;
    const TRANSITIONENTRY* GetTransition(uint8_t byFrom, uint8_t byTo) const;
    const ACTIONENTRY* GetAction(uint8_t byAction) const;
    // Every file name the tables import, in import order (with repeats).
    static std::vector<std::string> GetFileNames();

    static bool IsStandingMoveType(uint8_t byMoveType);
    // 0 for 0-7, 11, 12, 15; 8 for 8, 9; 10 for 10; 13 for 13, 14; else logged, 16.
    static uint8_t GetStandingMoveType(uint8_t byMoveType);
    // 0 plain, 1 dribbling, 2 holding the ball, 3 injured; an invalid move type is logged and gives 0.
    static uint8_t GetMoveClass(uint8_t byMoveType);
    static bool IsHoldingBallMoveType(uint8_t byMoveType) { return byMoveType == 8 || byMoveType == 9; }

private:
    void MeasureSpeeds();
    int32_t RootLength(uint16_t wAnimation, bool* pbKnown) const;

    CObjectData* m_pObjects = nullptr;
    uint16_t m_wMeshIndex = 0;
    MOVETYPEENTRY m_aMoveTypes[MOVETYPE_COUNT];
    TRANSITIONENTRY m_aTransitions[MOVETYPE_COUNT][MOVETYPE_COUNT];
    ACTIONENTRY m_aActions[ACTION_COUNT];
};
