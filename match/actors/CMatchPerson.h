#pragma once
// The base of every body on the pitch of a 3-D match: footballers, the
// referee and his assistants, the physio. It holds what they share: position,
// facing, target, the action and decision codes, the decision timer, ball
// possession and the replay record ring; the kinds override the virtual
// operations to make their own decisions. Animated models and the move-type
// machine join it with the animation library.
#include "match/CRingBuffer.h"
#include "match/CVector.h"
#include "match/MatchTypes.h"

#include <cstdint>
#include <memory>

class CMatchEngine;

// One replay entry of a person.
struct PERSONREPLAYRECORD {
    uint8_t byMoveType = 0;
    CVector vPosition;
    float fFacing = 0.0f;
};

class CMatchPerson {
public:
    static constexpr uint32_t kReplayCapacity = 1000;
    static constexpr float kNoFacing = -1.0f;
    static constexpr float kTurnTooFar = -50.0f;

    CMatchPerson(CMatchEngine& engine, uint8_t byPersonType);
    virtual ~CMatchPerson() = default;
    CMatchPerson(const CMatchPerson&) = delete;
    CMatchPerson& operator=(const CMatchPerson&) = delete;

    // Virtual operations, in slot order.
    virtual bool GetFacingOverride(float* pfAngle);
    virtual float GetTurnToTarget(const CVector& point, float* pfTurn);
    virtual void MakeDecision() {}
    virtual float TryAssessPosition(const CVector& point) { return AssessPosition(point); }
    virtual float AssessPosition(const CVector& point);
    virtual void ChooseSpeedGrade() { m_bySpeedGrade = 5; }
    virtual void SetAction(uint8_t byAction) { m_byAction = byAction; }
    virtual void SetFacingTarget();
    virtual bool IsBusy() { return m_bRequestPending; }
    virtual void UpdateIdle() {}
    virtual bool IsReadyToKick() { return false; }
    virtual void UpdateWhileBusy() {}
    virtual void PreUpdate() {}
    virtual bool HasReachedTarget(const CVector& point);
    virtual bool IsPositionFree(const CVector& point, bool bInPenaltyArea);

    // Per tick: the decision step (after the ball and club work of the tick).
    void Update();
    // Per tick: the model's animation; a person without a model logs and waits.
    void UpdateAnimation(uint16_t wStep);

    bool IsDecisionDue() const;
    void SetDecisionDelay(float fSeconds);
    void SetTarget(const CVector& point, float fFacingAtTarget);
    void SetHoldTarget(const CVector& point);
    void SetPosition(const CVector& point);
    void ResetToBasePosition() { SetPosition(m_vBasePosition); }
    void SetPossession(bool bHasBall);
    void SetBallControl(uint8_t byState);
    void ReleaseBall();
    void SetActive(bool bActive) { m_bActive = bActive; }
    void SetColour(uint32_t dwRGB);
    uint32_t GetTimeSinceMoment() const;
    bool IsAngleNearFacingTarget(float fAngle) const;
    CVector PredictPosition(float fSeconds) const;
    uint8_t GetViewRating(const CVector& point) const;
    const char* GetEventName() const;
    // d = 0 rates 1.0; below the knee the rating falls linearly to the value at
    // the knee, beyond it on to 0 at 10000.
    static float GetDistanceRating(const CVector& a, const CVector& b, int32_t nKnee, float fValueAtKnee);

    uint8_t GetPersonType() const { return m_byPersonType; }
    bool IsActive() const { return m_bActive; }
    bool HasBall() const { return m_bHasBall; }
    const CVector& GetPosition() const { return m_vPosition; }
    const CVector& GetTarget() const { return m_vTarget; }
    const CVector& GetVelocity() const { return m_vVelocity; }
    const CVector& GetBasePosition() const { return m_vBasePosition; }
    void SetBasePosition(const CVector& v) { m_vBasePosition = v; }
    float GetFacing() const { return m_fFacing; }
    void SetFacing(float fFacing) { m_fFacing = fFacing; }
    float GetFacingTargetAngle() const { return m_fFacingTarget; }
    float GetFacingAtTarget() const { return m_fFacingAtTarget; }
    int32_t GetDistanceToTarget() const { return m_nDistanceToTarget; }
    bool IsRunningToTarget() const { return m_bRunningToTarget; }
    uint8_t GetAction() const { return m_byAction; }
    uint8_t GetDecision() const { return m_byDecision; }
    void SetDecision(uint8_t byDecision) { m_byDecision = byDecision; }
    uint8_t GetBallReleaseState() const { return m_byBallReleaseState; }
    uint32_t GetLabelColour() const { return m_dwLabelColour; }
    uint32_t GetNextDecisionTime() const { return m_dwNextDecisionTime; }
    bool AvoidsPersons() const { return m_bAvoidPersons; }
    bool AvoidsGoalZones() const { return m_bAvoidGoalZones; }
    uint8_t GetMoveType() const { return m_byMoveType; }
    bool IsHeldForReferee() const { return m_bHeldForReferee; }
    void SetHeldForReferee(bool bHeld) { m_bHeldForReferee = bHeld; }
    void SetRestFacing(float fFacing) { m_fRestFacing = fFacing; }
    void SetStoredMoment(uint32_t dwTime) { m_dwStoredMoment = dwTime; }
    void SetReleaseTarget(const CVector& target, float fSeconds);
    // The ground speed along the facing used by the prediction (cm per 42 ms
    // frame) and the model's animation time left; the animation library sets them.
    void SetMotion(int32_t nSpeedPerFrame, uint32_t dwAnimationTimeLeft);
    CRingBuffer<PERSONREPLAYRECORD>* GetReplayRing() { return m_pReplayRing.get(); }

protected:
    CMatchEngine& m_Engine;
    float m_fRestFacing = 0.0f;
    bool m_bActive = true;
    uint8_t m_bySpeedGrade = 0;
    bool m_bFacingAtTargetWanted = false;
    bool m_bRunningToTarget = true;
    bool m_bUnderDecisionControl = true;
    bool m_bFacingOverrideWanted = false;
    bool m_bHasBall = false;
    bool m_bRunUp = false;
    uint32_t m_dwPossessionTime = 0;
    uint32_t m_dwStandingSince = 0;
    uint32_t m_dwStoredMoment = 0;
    float m_fReachRating = 1.0f;
    uint8_t m_byAction = 0;
    uint8_t m_byDecision = 0;
    CVector m_vBasePosition, m_vPosition, m_vTarget, m_vLookPoint, m_vVelocity, m_vMovement;
    float m_fFacingAtTarget = kNoFacing;
    int32_t m_nDistanceToTarget = 0;
    float m_fFacing = 0.0f;
    float m_fFacingTarget = 0.0f;
    uint32_t m_dwNextDecisionTime = 0;
    uint32_t m_dwColour = 0xFFFFFF;
    uint32_t m_dwLabelColour = 0xFFFFFF;
    uint8_t m_byPersonType = PERSONTYPE_PERSON;
    bool m_bHeldForReferee = false;
    uint8_t m_byBallReleaseState = 0;
    uint8_t m_byMoveType = 0;
    bool m_bRequestPending = false;
    CVector m_vReleaseTarget;
    float m_fReleaseTime = 0.0f;
    bool m_bAvoidPersons = false;
    bool m_bAvoidGoalZones = false;
    CVector m_vPossessionPosition;
    int32_t m_nSpeedPerFrame = 0;
    uint32_t m_dwAnimationTimeLeft = 0;
    bool m_bReplaying = false;
    std::unique_ptr<CRingBuffer<PERSONREPLAYRECORD>> m_pReplayRing;
};
