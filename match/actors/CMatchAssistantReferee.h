#pragma once
// The official who runs one touchline of a 3-D match. He keeps level with the
// offside line of the side defending his half (or with the restart), judges
// each possible offence the engine reports as a second opinion for the
// referee, and raises his flag for the last cause he accepted. He is also
// the base of the referee, who shares his judging fields for his own verdict.
#include "match/actors/CMatchPerson.h"

#include <cstdint>

class CMatchClub;
class CMatchPlayer;

// What may stop play.
enum MatchCause : uint8_t {
    CAUSE_NONE = 0,
    CAUSE_BALL_OFF_END,
    CAUSE_BALL_OFF_SIDE,
    CAUSE_AGGRESSIVE_PLAY,
    CAUSE_TACKLE_FROM_BEHIND,
    CAUSE_GOAL,
    CAUSE_OFFSIDE,
    CAUSE_SIX_SECOND_RULE,
    CAUSE_HAND_BALL,
    CAUSE_TIME_WASTING,
    CAUSE_COUNT
};

// One possible stoppage as the engine reports it. A likelihood of 50 or more
// means it really happened; 0 leaves nothing to judge.
struct MatchCauseRecord {
    uint8_t byCause = CAUSE_NONE;
    uint8_t byLikelihood = 0;
    CMatchPlayer* pPlayer = nullptr;        // the offender, scorer or last player on the ball
    CMatchClub* pPlayerClub = nullptr;
    CMatchPlayer* pSecondPlayer = nullptr;  // the fouled player, or none
    CMatchClub* pClubAwarded = nullptr;     // gets the restart; for a goal the club that kicks off
    CVector vPosition;
    uint32_t dwMatchTime = 0;               // engine clock at the incident
};

constexpr uint8_t DECISION_JUDGING_MATCH = 16;
constexpr uint8_t DECISION_SIGNAL = 21;
constexpr uint8_t ACTION_SIGNALLING = 18;

class CMatchAssistantReferee : public CMatchPerson {
public:
    static constexpr int32_t kRunningRadius = 1250;
    // Where the officials wait at full time: the tunnel.
    static const CVector kTunnelPoint;
    // Where the assistant of side 0 stands during a shoot-out.
    static const CVector kShootOutPoint;
    // The flag signals of the action table.
    enum : uint8_t { FLAG_FORWARD = 48, FLAG_DOWN_LEFT = 45, FLAG_DOWN_RIGHT = 47, FLAG_LEFT = 44, FLAG_RIGHT = 46 };

    // Side 0 runs the touchline y = -100 and covers the half towards
    // x = 10000, side 1 the touchline y = 7600 and the other half.
    CMatchAssistantReferee(CMatchEngine& engine, uint8_t bySide);

    void MakeDecision() override;
    // Looks up to 500 along his line either way and keeps the better point.
    float UpdateFacing() override;
    // He always faces across the pitch.
    void SetFacingTarget() override { m_fFacingTarget = m_fSignallingFacing; }
    // Accepts the record when its likelihood beats 50 plus a noise that grows
    // as his view of the place gets worse; then he will flag for it.
    virtual void CheckForCause(const MatchCauseRecord& record);

    // "None" ... "Time Wasting" for the last accepted cause.
    const char* GetCauseName() const;
    static const char* GetCauseName(uint8_t byCause);
    // Where he wants to run this decision: his point on the line.
    CVector ChooseLineTarget() const;
    // The flag signal for the last accepted cause.
    uint8_t ChooseFlagAnimation() const;

    uint8_t GetSide() const { return m_bySide; }
    float GetSignallingFacing() const { return m_fSignallingFacing; }
    uint8_t GetResolvedCause() const { return m_byResolvedCause; }
    CMatchClub* GetRestartClub() const { return m_pRestartClub; }
    CMatchPlayer* GetOffender() const { return m_pOffender; }
    const CVector& GetCausePosition() const { return m_vCausePosition; }
    uint8_t GetNoiseHalfRange() const { return m_byNoiseHalfRange; }
    // Whether he accepted the last record he judged (his verdict on it).
    bool AcceptedLastRecord() const { return m_bAcceptedLast; }
    const CVector& GetEventPosition() const { return m_vEventPosition; }
    // The referee copies his restart position here whenever the event changes.
    void SetEventPosition(const CVector& position) { m_vEventPosition = position; }

protected:
    uint8_t m_bySignalAnimation = 0;
    float m_fSignalAngle = 0.0f;
    float m_fSignallingFacing = 0.0f;
    uint8_t m_bySide = 0;
    uint8_t m_byBelief = 0;
    uint8_t m_byResolvedCause = CAUSE_NONE;
    CMatchClub* m_pRestartClub = nullptr;
    CMatchPlayer* m_pOffender = nullptr;
    CVector m_vEventPosition;
    CVector m_vCausePosition;
    uint8_t m_byNoiseHalfRange = 0;
    bool m_bAcceptedLast = false;
};
