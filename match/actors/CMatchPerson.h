#pragma once
// The base of every body on the pitch of a 3-D match: footballers, the
// referee and his assistants, the physio. It holds what they share: position,
// facing, target, the action and decision codes, the decision timer, ball
// possession, the animated model with its move-type machine, the speed-grade
// tables and the replay record ring; the kinds override the virtual
// operations to make their own decisions. A person moves only by the
// animations of the shared library: the decision step writes one request,
// which the per-tick animation installs when the model's animation ends.
#include "match/CRingBuffer.h"
#include "match/CVector.h"
#include "match/MatchTypes.h"
#include "match/actors/CAnimationLibrary.h"
#include "render3d/CModel.h"

#include <cstdint>
#include <memory>
#include <string>

class CMatchEngine;
class CObjectData;

// The actions the movement code sets.
enum : uint8_t {
    ACTION_NOTHING = 0, ACTION_MOVING = 1, ACTION_STOPPING = 12, ACTION_TURNING = 20, ACTION_STEPPING = 21,
    ACTION_TRANSITION = 22
};
constexpr uint8_t DECISION_SUBSTITUTE_WARMUP = 18;

// One replay entry of a person.
struct PERSONREPLAYRECORD {
    ANIMATIONREQUEST request;
    uint8_t byMoveType = 0;
    CVector vPosition;
    float fFacing = 0.0f;
};

class CMatchPerson {
public:
    static constexpr uint32_t kReplayCapacity = 1000;
    static constexpr float kNoFacing = -1.0f;
    static constexpr float kTurnTooFar = -50.0f;
    static constexpr uint16_t kDefaultFrameTime = 42;
    static constexpr uint16_t kStepFrameTime = 35;
    static constexpr float kNoBestScore = -999999.0f;
    // Speed-grade tables: without the ball, with it, holding it, injured.
    enum { GRADES_NO_BALL, GRADES_BALL, GRADES_HOLDING, GRADES_INJURED, GRADE_TABLES };
    static constexpr int kGrades = 10;
    // Step directions, in the order of the step actions' records.
    enum : uint8_t { STEP_FORWARD, STEP_BACKWARD, STEP_LEFT, STEP_RIGHT };
    struct SPEEDGRADE {
        uint8_t byMoveType = 0;
        uint8_t byFrameTime = 0;
        int32_t nSpeed = 0;
    };

    CMatchPerson(CMatchEngine& engine, uint8_t byPersonType);
    virtual ~CMatchPerson() = default;
    CMatchPerson(const CMatchPerson&) = delete;
    CMatchPerson& operator=(const CMatchPerson&) = delete;

    // Virtual operations, in slot order.
    virtual bool GetFacingOverride(float* pfAngle);
    virtual float GetTurnToTarget(const CVector& point, float* pfTurn);
    virtual void MakeDecision() {}
    // Rates points up to 500 away in a few directions (a glance aside with the
    // look-around flag, either side of the facing, the target, ahead, the base
    // position) and keeps the best as the look point; gives its rating.
    virtual float UpdateFacing();
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
    // Step range by step direction: 200 forward and backward, 300 sideways.
    virtual int32_t GetMoveSpeed(uint8_t byStepDirection);
    // Called after every model step.
    virtual void OnAnimationStep() {}
    // Called when the person gains the ball.
    virtual void OnPossessionGained() {}
    // Each time his position is set or taken from his model.
    virtual void OnMoved() {}
    // The first pace attribute and the mean of the two; 50 for persons other
    // than footballers.
    virtual void GetPaceAttributes(int32_t* pnFirst, int32_t* pnMean) const;

    // The shared library: built once for the match before any model is made,
    // freed at its end. The folder is a game path ending in its separator.
    static void LoadAnimations(CObjectData& objects, uint16_t wMeshIndex, const std::string& folder = "MatchMeshes\\");
    static void FreeAnimations();
    static const CAnimationLibrary& GetAnimationLibrary();
    // The person's model from the library's object of that index, standing
    // at the position and facing; a failure is logged and leaves no model.
    void SetupModel(uint16_t wModelIndex);
    const CModel* GetModel() const { return m_pModel.get(); }
    CModel* GetModel() { return m_pModel.get(); }
    // The texture of the kit he wears (NO_TEXTURE before one is made), put
    // on every mesh of his model.
    void SetKitTexture(uint16_t wTexture);
    uint16_t GetKitTexture() const { return m_wKitTexture; }

    // Per tick: the decision step (after the ball and club work of the tick).
    void Update();
    // Per tick: the model's animation; a person without a model logs and waits.
    // While replaying, the recorded requests are played in place of choices.
    void UpdateAnimation(uint16_t wStep);
    // Puts the person where the replay records had him at that match time and
    // replays from there; false when nothing was recorded.
    bool SeekReplay(uint32_t dwTime);
    // Back to live play; the latest record, null without a replay ring.
    const PERSONREPLAYRECORD* EndReplay();
    bool IsReplaying() const { return m_bReplaying; }

    // Animation requests.
    static void ClearAnimationRequest(ANIMATIONREQUEST& request);
    void InstallMoveTypeTemplate();
    bool InstallStandingTransition();
    bool SelectRandomAction(uint8_t byAction);
    bool SelectActionOfMoveType(uint8_t byAction);
    bool SelectActionOfMoveType(uint8_t byAction, bool bTest, bool bInPenaltyArea);
    void ChooseIdleAnimation(uint8_t byStandingMoveType);
    void FitAnimationToTime(uint32_t dwMs);
    void CancelPendingAnimation();

    // Meeting the moving ball: the record of an action whose contact brings
    // the body to the ball (or a point) in time, installed as the request
    // with the release target, release time and heading after it. False,
    // with nothing changed, when no record qualifies.
    static constexpr float kNoEndHeading = -9999.0f;
    bool SelectReceivingAnimation(uint8_t byAction, bool bHeadingCheck, bool bUseRestFacing);
    // A skill of 101 takes records without the roll; bHeadersOnly leaves
    // out every record that is not met with the head.
    bool SelectStrikingAnimation(uint8_t byAction, const CVector& target, bool bUseRestFacing, int nFootSkill,
                                 int nHeadSkill, int nMinimumChance, bool bHeadersOnly = false);
    // A negative time takes any; kNoEndHeading wants no end heading.
    bool SelectAnimationToPoint(uint8_t byAction, const CVector& point, float fSeconds, float fWantedEndHeading);
    bool SelectSaveAnimation(uint8_t byAction, uint8_t byKind, bool bUseRestFacing);
    bool SelectSaveAnimationAtPoint(uint8_t byAction, const CVector& point, uint8_t byKind, float fSeconds,
                                    bool bUseRestFacing);
    // The record whose heading change is nearest to the model's heading less
    // the angle; the remainder out.
    bool SelectActionByHeadingChange(uint8_t byAction, float fAngle, float* pfRest);
    // The same for a wanted heading change, records tried in random order;
    // with bTest only those whose end is free.
    bool SelectActionByHeadingChangeFree(uint8_t byAction, float fWantedChange, float* pfRest, bool bTest);

    // Movement: speed grades, move type, steps, transitions, cycles, turns.
    void BuildSpeedGrades();
    const SPEEDGRADE& GetSpeedGrade(int nTable, int nGrade) const { return m_aSpeedGrades[nTable][nGrade]; }
    int32_t GetPace(int nTable) const { return m_anPace[nTable]; }
    void ChooseMovementType();
    void PlanStep();
    bool ChooseTransition(uint8_t byCurrent, uint8_t byIntended, uint16_t wFrameTime);
    bool InstallMoveCycle(uint8_t byMoveType, uint16_t wFrameTime);
    bool TryHoldPosition();
    void InstallFallbackMove();
    bool SelectStandingTurn(uint8_t byMoveType);

    // Decisions are timed on the engine clock, which runs while the match
    // clock stands too: before the kick-off and through half time people
    // still walk out, take their places and leave the pitch.
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
    void SetVelocity(const CVector& v) { m_vVelocity = v; }
    const CVector& GetLookPoint() const { return m_vLookPoint; }
    void SetLookAround(bool bLookAround) { m_bLookAround = bLookAround; }
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
    uint32_t GetColour() const { return m_dwColour; }
    uint32_t GetLabelColour() const { return m_dwLabelColour; }
    uint32_t GetNextDecisionTime() const { return m_dwNextDecisionTime; }
    bool AvoidsPersons() const { return m_bAvoidPersons; }
    bool AvoidsGoalZones() const { return m_bAvoidGoalZones; }
    uint8_t GetMoveType() const { return m_byMoveType; }
    uint8_t GetNextMoveType() const { return m_byNextMoveType; }
    uint8_t GetIntendedMoveType() const { return m_byIntendedMoveType; }
    uint16_t GetIntendedFrameTime() const { return m_wIntendedFrameTime; }
    bool IsRequestPending() const { return m_bRequestPending; }
    const ANIMATIONREQUEST& GetRequest() const { return m_Request; }
    uint8_t GetRequestEventKind() const { return m_byRequestEventKind; }
    uint8_t GetSpeedGradeIndex() const { return m_bySpeedGrade; }
    void SetSpeedGrade(uint8_t byGrade) { m_bySpeedGrade = byGrade; }
    int32_t GetSpeed() const { return m_nSpeed; }
    float GetReachRating() const { return m_fReachRating; }
    void SetReachRating(float fRating) { m_fReachRating = fRating; }
    bool IsStepPlanned() const { return m_bStepPlanned; }
    uint8_t GetStepDirection() const { return m_byStepDirection; }
    bool IsHeldForReferee() const { return m_bHeldForReferee; }
    void SetHeldForReferee(bool bHeld) { m_bHeldForReferee = bHeld; }
    void SetRestFacing(float fFacing) { m_fRestFacing = fFacing; }
    float GetRestFacing() const { return m_fRestFacing; }
    // The speed value a kind may set from its pace; 200 for persons.
    int32_t GetRunningSpeed() const { return m_nRunningSpeed; }
    // The radius about the base position within which the person roams.
    int32_t GetRoamingRadius() const { return m_nRoamingRadius; }
    void SetRoamingRadius(int32_t nRadius) { m_nRoamingRadius = nRadius; }
    const CVector& GetReleaseTarget() const { return m_vReleaseTarget; }
    float GetReleaseTime() const { return m_fReleaseTime; }
    uint8_t GetHeaderCode() const { return m_byHeaderCode; }
    float GetHeadingAfterAnimation() const { return m_fHeadingAfterAnimation; }
    void SetStoredMoment(uint32_t dwTime) { m_dwStoredMoment = dwTime; }
    void SetReleaseTarget(const CVector& target, float fSeconds);
    CRingBuffer<PERSONREPLAYRECORD>* GetReplayRing() { return m_pReplayRing.get(); }
    // Who is arguing with the person (a footballer who walked up to him).
    CMatchPerson* GetArguedBy() const { return m_pArguedBy; }
    void SetArguedBy(CMatchPerson* pPerson) { m_pArguedBy = pPerson; }

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
    bool m_bLookAround = false;
    bool m_bRunUp = false;
    uint32_t m_dwPossessionTime = 0;
    uint32_t m_dwStandingSince = 0;  // engine clock
    uint32_t m_dwStoredMoment = 0;
    float m_fReachRating = 1.0f;
    uint8_t m_byAction = 0;
    uint8_t m_byDecision = 0;
    CVector m_vBasePosition, m_vPosition, m_vTarget, m_vLookPoint, m_vVelocity, m_vMovement;
    float m_fFacingAtTarget = kNoFacing;
    int32_t m_nDistanceToTarget = 0;
    float m_fFacing = 0.0f;
    float m_fFacingTarget = 0.0f;
    uint32_t m_dwNextDecisionTime = 0;  // engine clock
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
    int32_t m_nSpeed = 0;
    int32_t m_nRunningSpeed = 200;
    int32_t m_nRoamingRadius = 0;
    uint8_t m_byHeaderCode = 0;
    float m_fHeadingAfterAnimation = 0.0f;
    bool m_bReplaying = false;
    std::unique_ptr<CRingBuffer<PERSONREPLAYRECORD>> m_pReplayRing;
    CMatchPerson* m_pArguedBy = nullptr;

    std::unique_ptr<CModel> m_pModel;
    uint16_t m_wKitTexture = NO_TEXTURE;
    SPEEDGRADE m_aSpeedGrades[GRADE_TABLES][kGrades];
    int32_t m_anPace[GRADE_TABLES] = {};
    uint8_t m_byIntendedMoveType = 0;
    uint16_t m_wIntendedFrameTime = kDefaultFrameTime;
    bool m_bMoveChosen = false;
    ANIMATIONREQUEST m_Request;
    // The animation the model plays now (the last request installed).
    uint16_t m_wInstalledAnimation = 0;
    uint8_t m_byRequestEventKind = 0;
    uint8_t m_byNextMoveType = 0;
    float m_fBestScore = kNoBestScore;
    ANIMATIONREQUEST m_Candidate;
    bool m_bReinstall = false;
    // A save that may cut short what the person is doing: it is timed from
    // now rather than from the end of the current animation.
    bool m_bSaveCutsIn = false;
    bool m_bStepPlanned = false;
    uint8_t m_byStepAction = 0;
    uint8_t m_byStepDirection = 0;
    float m_fStepHeading = 0.0f;

private:
    struct CONTACTTIMING {
        CVector vContact;
        float fFrameTime = 0.0f;
        float fContactSeconds = 0.0f;
    };
    // The contact point of a record at heading h and when the ball reaches it.
    bool TimeContact(const ACTIONRECORD& record, float h, CONTACTTIMING& timing) const;
    bool FillContactRequest(const ACTIONENTRY& entry, const ACTIONRECORD& record, uint8_t byFlags, float fHeading,
                            float fScale, float fFrameTime, const CVector& release, float fReleaseTime);
    // Whether the middle or last key of the record, turned and scaled, is free.
    bool KeyIsFree(const ACTIONRECORD& record, bool bMiddle, double fHeading, double fScale);
    bool SelectSaveAt(uint8_t byAction, const CVector* pPoint, uint8_t byKind, float fSeconds, bool bUseRestFacing);
    // The candidate's end, when free, rated against the best so far.
    bool TestAnimationAgainstCurrentBest(uint8_t byEndMoveType);
    bool TryHeadings(uint8_t byEndMoveType);
    bool ArriveWithTransition(const TRANSITIONENTRY& pair, uint8_t byIntended);
    bool ArriveOrStop();
    bool StopNow();
    // Puts the request on the model and makes its end the current move type.
    void InstallRequest();
    void TakeRequest(const ANIMATIONREQUEST& request, uint8_t byEventKind, uint8_t byNextMoveType);
    bool TakeActionRecord(const ACTIONENTRY& entry, const ACTIONRECORD& record);
    void PushReplayRecord(uint32_t dwTime, float x, float y, float fHeading);
    // Takes every record due by the end of this tick; true when one was read.
    bool ReplayStep();
    void FollowModel(float x, float y, float fHeading);
};
