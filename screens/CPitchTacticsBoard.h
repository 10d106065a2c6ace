#pragma once
// The tactics board the pitch tactics screen edits: the pitch in screen
// pixels (own goal line on the left), where each of the eleven stands for
// every ball zone in the defending and the attacking set, the restart
// places, the formation's base points, ranges of action and marking targets,
// the opposition's mirrored layout, the set-piece positions and the
// substitutes' cells during a match. It converts to and from the human
// manager's working formation, clamps markers to where players may stand and
// places both teams for a ball between zone centres.
#include "platform/Surface.h"
#include "season/CSaveGame.h"

#include <cstdint>
#include <string>

struct BOARDPOINT {
    int16_t x = 0;
    int16_t y = 0;
    bool operator==(const BOARDPOINT&) const = default;
};

// A substitute's cell in a running match: the strip below the pitch he was
// dropped in, whether his change has been made, and the starter (0-10) he
// replaces or 255.
struct SUBSTITUTIONCELL {
    uint8_t byStrip = 0;
    uint8_t byDone = 0;
    uint8_t byReplaced = 255;
};

class CPitchTacticsBoard {
public:
    static constexpr int kPlayers = 11;
    static constexpr int kEntries = 30;
    static constexpr int kZones = 25;
    static constexpr int kSets = 2;
    static constexpr int kSubstitutes = 7;
    static constexpr int kRoleAreas = 16;
    static constexpr int kFreeKickAreas = 29;
    static constexpr int kPitchLeft = 100;
    static constexpr int kPitchTop = 4;
    static constexpr int kPitchRight = 500;
    static constexpr int kPitchBottom = 304;
    static constexpr int kZoneWidth = 80;
    static constexpr int kZoneHeight = 60;
    static constexpr int kMarkerReach = 9;
    static constexpr int kCornerReach = 40;
    static constexpr int kRangeMin = 30;
    static constexpr int kRangeMax = 200;
    static constexpr uint8_t kNoMarking = 255;
    // The three restart entries: the kick-off, the goal kick and the penalty.
    enum { ENTRY_KICK_OFF = 27, ENTRY_GOAL_KICK = 28, ENTRY_PENALTY = 29 };
    // Set 1 attacks (the ball at the far end), set 0 defends.
    enum { SET_DEFENDING = 0, SET_ATTACKING = 1 };

    // ---- geometry ----
    static plat::Rect GetRoleArea(int nRole);
    static plat::Rect GetFreeKickAreaRect(int nArea);
    // The first role area holding the point; 0 (logged) when none does.
    static int GetRoleFromPitchPosition(int x, int y);
    // The free-kick area holding the point, -1 for none (the penalty area
    // and off the pitch).
    static int GetFreeKickArea(int x, int y);
    static BOARDPOINT GetCornerPoint(int nSet, int nSide);
    // The side (0 top, 1 bottom) of the set's corner spot within reach of
    // the point; 0 when neither is.
    static int GetCornerSpot(int nSet, int x, int y);
    static bool IsCornerSpotHit(int nSet, int nSide, int x, int y);
    static BOARDPOINT GetPenaltySpot(int nSet);
    static bool IsOnPitch(int x, int y);
    static bool IsMarkerHit(const BOARDPOINT& marker, int x, int y);
    // The zone (0-24) of a point on the pitch, -1 off it.
    static int GetZoneAt(int x, int y);
    static BOARDPOINT GetZoneCentre(int nZone);
    // The same zone seen from the other goal.
    static int MirrorZone(int nZone);
    // Where a marker may stand: the keeper (player 0) anywhere, substitutes
    // (11 and up) on the bench band, others by the position entry and set.
    static BOARDPOINT ClampMarker(int nPlayer, BOARDPOINT point, int nEntry, int nSet);

    // ---- placing the teams for a ball point ----
    // Interpolates each player's place between the four zones round the
    // ball; false, with nothing written, for a ball off the pitch. Either
    // out pointer may be null.
    bool PlaceForBall(int bx, int by, int nOwnSet, int nOppositionSet, BOARDPOINT* pOwn, BOARDPOINT* pOpposition) const;

    // ---- the human's formation ----
    void LoadFromFormation(const CSaveGame& human);
    // The formation the board holds: base points, the roles they give,
    // every position clamped, ranges and marking; places keep the board's
    // order (the save game sorts them by role).
    FORMATIONDATA StoreToFormation(const CSaveGame& human) const;
    // The opposition's layout from a formation file, mirrored; false (the
    // layout left as it was) for a missing or damaged file.
    bool LoadOpposition(const std::string& path);
    bool HasOpposition() const { return m_bOpposition; }
    // Every player stands at his base point in every entry of both sets.
    void ResetZonesToBase();
    // The roles the base points give.
    void GetRoles(uint8_t* pbyRoles) const;

    // ---- set pieces ----
    // The routine's eleven positions, laid out at the ball spot when it
    // keeps none.
    void LoadSetPiece(const SETPIECEROUTINE& routine, const BOARDPOINT& spot, int nSet);
    // The eleven set-piece positions into the routine; a routine without
    // positions keeps none while they are those of the layout at the spot.
    void StoreSetPiece(SETPIECEROUTINE& routine, const BOARDPOINT& spot, int nSet) const;

    // ---- substitutions in a match ----
    // Every cell of both sides empty, the substitutes back on the bench row.
    void ResetGrid();
    static BOARDPOINT GetBenchPoint(int nSubstitute);

    BOARDPOINT m_aZone[kEntries][kSets][kPlayers] = {};
    BOARDPOINT m_aOpposition[kEntries][kSets][kPlayers] = {};
    BOARDPOINT m_aBase[kPlayers] = {};
    int16_t m_anRange[kPlayers] = {};
    uint8_t m_abyMarking[kPlayers] = {};
    BOARDPOINT m_aSetPiece[kPlayers] = {};
    // Both sides' substitute markers (a block per side of the match).
    BOARDPOINT m_aBench[2][kSubstitutes] = {};
    SUBSTITUTIONCELL m_aGrid[2][kSubstitutes];

private:
    bool m_bOpposition = false;
};
