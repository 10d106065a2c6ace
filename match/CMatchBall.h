#pragma once
// The one ball of a match. It integrates its flight and roll in integer
// centimetres and milliseconds, bounces off the ground and off the obstacle
// zones, knows who holds it, predicts where it will be (the exit from the
// pitch, the landing point, the windows in which it can be reached) and
// records its trajectory for the replay.
#include "match/CRingBuffer.h"
#include "match/CVector.h"
#include "match/CMatchBoundingZone.h"

#include <cstdint>
#include <memory>

class CMatchClub;
class CMatchEngine;
class CMatchPerson;

struct BALLTRAJECTORYRECORD {
    CMatchPerson* pPerson = nullptr;  // holder or kicker
    CVector vVelocity;
    CVector vPosition;
    CVector vSwerve;
    bool bSwerve = false;
};

// Touch causes.
enum BALLCAUSE : uint8_t {
    BALLCAUSE_NONE = 0,
    BALLCAUSE_DEFLECTION,
    BALLCAUSE_PASS,
    BALLCAUSE_CROSS,
    BALLCAUSE_SHOT,
    BALLCAUSE_LONGBALL,
    BALLCAUSE_CLEARANCE,
    BALLCAUSE_CONTROLLED
};

// One touch of the ball from its opening to its closing: who played it
// and why, where it began and ended, how it came out (passes: 0 completed,
// 1 lost; shots: 0 on target, 1 off target, 2 scored) and the id of the
// copy in the player's list once it was handed to him (0 until then).
struct BALLTOUCHRECORD {
    CVector vStart, vEnd;
    CMatchPerson* pPlayer = nullptr;
    uint8_t byCause = BALLCAUSE_NONE;
    uint8_t byResult = 0;
    uint32_t dwLink = 0;
    uint8_t byKind = 2;
};

// Where and when the ball can be reached below a height: from start to end.
struct BALLREACHWINDOW {
    CVector vStart, vEnd;
    float fStartTime = 0.0f, fEndTime = 0.0f;
};

// Where and when the ball passes a height going up and coming down; the
// times are not numbers when it never gets that high.
struct BALLHEIGHTCROSSING {
    CVector vUp, vDown;
    float fUpTime = 0.0f, fDownTime = 0.0f;
};

class CMatchBall {
public:
    static constexpr int32_t kRadius = 13;
    static constexpr int32_t kGravity = 981;
    static constexpr int32_t kRollingFriction = 400;
    static constexpr int32_t kAirDrag = 100;
    static constexpr int32_t kRestSpeed = 120;
    static constexpr uint32_t kTrajectoryCapacity = 1000;
    static constexpr float kNoExit = 99999.0f;
    static constexpr float kPredictionHorizon = 5.0f;

    explicit CMatchBall(CMatchEngine& engine);

    // Bounce factor of a ground bounce for a weather category (bits 2-4 of
    // the match's weather byte); 0.6 for categories without a row.
    static float GetBounceFactor(uint8_t byWeatherCategory);

    void Reset();
    // The physics step: dt in ms (its low 16 bits), now the engine clock.
    void Update(uint32_t dwStep, uint32_t dwNow);
    // The post-step of each whole tick: exit, peak, landing and reach windows.
    void UpdatePrediction();

    void SetPossessor(CMatchPerson* pPerson);
    void SetHeld(bool bHeld);
    float GetHeldSeconds() const;
    float GetSecondsSinceMark() const;
    void SetReceiverWaiting(uint8_t byState) { m_byReceiverWaiting = byState; }
    void SetModelInHand(const D3DMATRIX& matrix, int32_t x, int32_t y, int32_t z, bool bWithModel);
    void SetPosition(int32_t x, int32_t y, int32_t z, bool bWithModel);
    void SetPreviousPosition(int32_t x, int32_t y, int32_t z) { m_vPreviousPosition.Set(x, y, z); }
    void SetVelocity(const CVector& v) { m_vVelocity = v; }
    void SetExtraVelocity(const CVector& v);
    // A contact takes the swerve off the ball.
    void ClearExtraVelocity()
    {
        m_bSwerve = false;
        m_vSwerve = CVector();
    }
    void SetDeflected(bool bDeflected) { m_bDeflected = bDeflected; }
    void PlayTo(const CVector& target, float fSeconds, CMatchPerson* pReceiver);
    // The velocity that puts the ball on the target after that time; the
    // change from its velocity now is how much a contact would correct it.
    CVector GetVelocityTo(const CVector& target, float fSeconds) const;
    void Deflect(CMatchPerson* pPerson);
    void RecordTrajectory(uint32_t dwTime, CMatchPerson* pPerson);
    // Touch bookkeeping (CMatchBallTouches.cpp): the last toucher and
    // kicker and the cause of the touch; each new touch closes the one
    // before and hands it to its player. A referee's decision closes the
    // current one for its cause; a goal is credited to its scorer and the
    // passes before it as assists. pRestartClub is the club the restart goes to.
    static constexpr int kTouchSlots = 20;
    void StartBallInfo(uint8_t byCause, CMatchPerson* pPlayer);
    void EndBallInfo(CMatchPerson* pNewToucher);
    void EndBallInfoForCause(uint8_t byRefereeCause, const CMatchClub* pRestartClub);
    void ClearBallInfo();
    // The open touch record, or null.
    const BALLTOUCHRECORD* GetCurrentTouch() const
    {
        return m_nCurrentTouch < 0 ? nullptr : &m_aTouches[m_nCurrentTouch];
    }

    CVector PredictPosition(float fSeconds, bool bClampToExit) const;
    CVector GetGravity() const;
    CVector& ComputeAcceleration(CVector& out) const;
    bool IsPathObstructed(const CVector& a, const CVector& b) const;
    // Distance from the player to the window in which he can reach the ball
    // (the 320 cm window for a goalkeeper), with the nearest point and its time.
    int32_t GetInterceptPoint(const CMatchPerson* pPlayer, bool bGoalkeeper, CVector* pPoint, float* pfTime) const;
    // Horizontal distance from p to the segment a-b and the nearest point on it.
    static int32_t GetSegmentDistance(const CVector& p, const CVector& a, const CVector& b, CVector* pNearest);

    void SeekReplay(uint32_t dwTime);
    void EndReplay();

    const CVector& GetPosition() const { return m_vPosition; }
    const CVector& GetPreviousPosition() const { return m_vPreviousPosition; }
    const CVector& GetVelocity() const { return m_vVelocity; }
    int32_t GetSpeed() const { return m_nSpeed; }
    int32_t GetHorizontalSpeed() const { return m_nHorizontalSpeed; }
    float GetBounceFactor() const { return m_fBounceFactor; }
    void SetBounceFactor(float f) { m_fBounceFactor = f; }
    CMatchPerson* GetHolder() const { return m_pHolder; }
    bool IsLoose() const { return m_bLoose; }
    bool IsHeldInHands() const { return m_bHeldInHands; }
    bool IsHighBall() const { return m_bHighBall; }
    bool IsDeflected() const { return m_bDeflected; }
    bool IsPlayTo() const { return m_bPlayTo; }
    // The engine time the ball is due at its play-to point, and whom it was played to.
    uint32_t GetPlayToTime() const { return m_dwArrivalTime; }
    CMatchPerson* GetIntendedReceiver() const { return m_pTargetReceiver; }
    // Planar distance from the point to the ball's movement of the last
    // step, with how far along that movement the nearest point lies.
    int32_t GetDistanceToPath(const CVector& point, int32_t* pnAlong) const;
    int32_t GetPeakHeight() const { return m_nPeakHeight; }
    float GetLandingTime() const { return m_fLandingTime; }
    const CVector& GetLandingPoint() const { return m_vLandingPoint; }
    float GetExitTime() const { return m_fExitTime; }
    const CVector& GetExitPoint() const { return m_vExitPoint; }
    int32_t GetMissDistance() const { return m_nMissDistance; }
    const BALLHEIGHTCROSSING& GetCrossing(bool bHigh) const { return m_aCrossings[bHigh ? 1 : 0]; }
    const BALLREACHWINDOW& GetReachWindow(bool bHigh) const { return m_aWindows[bHigh ? 1 : 0]; }
    bool IsInPlayArea() const { return m_bInPlayArea; }
    bool HasEnteredPlay() const { return m_bEnteredPlay; }
    // Out of play for the line checks: beyond a line in open play after it
    // had come into the pitch since the restart, or lying still out there
    // (a restart played straight out).
    bool IsOutOfPlay() const;
    // The players of each side quickest to the ball, and the quickest of all
    // (none while somebody holds it); the engine's possession step writes them.
    void SetFastestPlayers(CMatchPerson* pHome, CMatchPerson* pAway, CMatchPerson* pOverall)
    {
        m_pFastestHome = pHome, m_pFastestAway = pAway, m_pFastest = pOverall;
    }
    CMatchPerson* GetFastestHome() const { return m_pFastestHome; }
    CMatchPerson* GetFastestAway() const { return m_pFastestAway; }
    CMatchPerson* GetFastest() const { return m_pFastest; }
    // The point the ball was played to, when it was.
    const CVector& GetTarget() const { return m_vTarget; }
    CMatchPerson* GetLastToucher() const { return m_pLastToucher; }
    CMatchPerson* GetLastKicker() const { return m_pLastKicker; }
    uint8_t GetLastCause() const { return m_byLastCause; }
    const D3DMATRIX& GetWorldTransform() const { return m_WorldTransform; }
    CRingBuffer<BALLTRAJECTORYRECORD>* GetTrajectoryRing() { return m_pTrajectory.get(); }

private:
    bool ResolveCollisions(float fSeconds);
    bool BounceOffPlane(int32_t nHeight, float fFactor, float fSeconds);
    void ComputeExit();
    void ComputeCrossing(int32_t nHeight, BALLHEIGHTCROSSING& crossing) const;
    void ComputeWindow(const BALLHEIGHTCROSSING& crossing, BALLREACHWINDOW& window) const;
    void ApplyTrajectoryRecord(const BALLTRAJECTORYRECORD& record, bool bTakeHolder);
    void UpdateTransform(const CVector& displacement);
    void CloseTouch();
    BALLTOUCHRECORD& OpenTouch();

    CMatchEngine& m_Engine;
    CVector m_vPosition, m_vPreviousPosition, m_vTickStart, m_vVelocity;
    int32_t m_nSpeed = 0, m_nHorizontalSpeed = 0;
    CVector m_vAcceleration;
    CVector m_vGroundAcceleration{0, 0, 0};
    CVector m_vAirAcceleration{0, 0, -kGravity};
    float m_fBounceFactor = 0.6f;
    bool m_bSwerve = false;
    CVector m_vSwerve;
    CVector m_vTarget;
    uint32_t m_dwArrivalTime = 0;
    bool m_bLoose = true;
    bool m_bPlayTo = false;
    CMatchPerson* m_pTargetReceiver = nullptr;
    int32_t m_nMissDistance = 0;
    std::unique_ptr<CRingBuffer<BALLTRAJECTORYRECORD>> m_pTrajectory;
    bool m_bReplay = false;
    uint8_t m_byReceiverWaiting = 0;
    D3DMATRIX m_RollingRotation{};
    D3DMATRIX m_WorldTransform{};
    BALLCOLLISIONQUERY m_Query;
    bool m_bEnteredPlay = false;
    bool m_bNotHeld = true, m_bHighBall = false, m_bHeldInHands = false, m_bDeflected = false;
    int32_t m_nPeakHeight = 0;
    bool m_bHasHolder = false;
    CMatchPerson* m_pHolder = nullptr;
    float m_fLandingTime = 0.0f;
    CVector m_vLandingPoint;
    BALLHEIGHTCROSSING m_aCrossings[2];
    BALLREACHWINDOW m_aWindows[2];
    CVector m_vExitPoint;
    float m_fExitTime = kNoExit;
    CMatchPerson* m_pLastToucher = nullptr;
    CMatchPerson* m_pLastKicker = nullptr;
    uint32_t m_dwLastKickTime = 0;
    uint8_t m_byLastCause = 0;
    uint32_t m_dwTimeTakenInHands = 0;
    bool m_bInPlayArea = true;
    CMatchPerson* m_pFastestHome = nullptr;
    CMatchPerson* m_pFastestAway = nullptr;
    CMatchPerson* m_pFastest = nullptr;
    BALLTOUCHRECORD m_aTouches[kTouchSlots];
    int m_nCurrentTouch = -1;
};
