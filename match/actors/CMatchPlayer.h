#pragma once
// One footballer of a match club: the person with what he takes from his
// database record. His match ratings (1..100, the playing skills lifted or
// lowered by his confidence and agility), the kick table of his five kick
// kinds (from his strength), his condition values and the tactics orders of
// his club, and the working fields that his decisions fill. The club makes
// one for every member of its match squad and owns him.
#include "match/actors/CMatchPerson.h"
#include "render3d/CBillboard.h"

#include <cstdint>
#include <list>
#include <memory>

class CMatchClub;
class CPlayerDatabase;
struct BALLTOUCHRECORD;
struct MATCHLAYOUTENTRY;

// Special roles of a footballer.
enum : uint8_t {
    ROLE_NONE = 0, ROLE_FETCHER = 1, ROLE_OFFSIDE_TRAP = 2, ROLE_EVENT_PLAYER = 3, ROLE_SECOND_EVENT_PLAYER = 4,
    ROLE_BENCH = 5
};
constexpr uint8_t DECISION_POSITION_BASE = 0;
constexpr uint8_t DECISION_POSITION_SPACE = 1;
constexpr uint8_t DECISION_POSITION_CROSS = 2;
constexpr uint8_t DECISION_POSITION_SHOT = 3;
constexpr uint8_t DECISION_POSITION_MARK = 4;
constexpr uint8_t DECISION_PASS = 6;
constexpr uint8_t DECISION_CROSS = 7;
constexpr uint8_t DECISION_SHOOT = 8;
constexpr uint8_t DECISION_TACKLE = 9;
constexpr uint8_t DECISION_PROTECT_GOAL = 10;
constexpr uint8_t DECISION_MAKE_RUN = 11;
constexpr uint8_t DECISION_CLEAR = 12;
constexpr uint8_t DECISION_LONG_BALL = 13;
constexpr uint8_t DECISION_ARGUE = 14;
constexpr uint8_t DECISION_CELEBRATE = 15;
constexpr uint8_t DECISION_JUDGE = 16;
constexpr uint8_t DECISION_SUBSTITUTE_BENCH = 17;
constexpr uint8_t DECISION_GOING_ON = 19;
constexpr uint8_t DECISION_TO_REFEREE = 20;

// Footballer actions beyond the movement ones.
enum : uint8_t {
    ACTION_KICKING = 2, ACTION_HAS_KICKED = 3, ACTION_CONTROLLING = 7, ACTION_CATCHING = 8, ACTION_PARRYING = 9,
    ACTION_DIVING = 14
};

// Aim overrides: none, called to the referee, waiting for a team-mate's pass.
enum : uint8_t { AIMOVERRIDE_NONE = 0, AIMOVERRIDE_REFEREE = 1, AIMOVERRIDE_AWAIT_PASS = 2 };

// The six instruction weights of the kick candidates.
enum : uint8_t {
    WEIGHT_SHOOTING, WEIGHT_RUN, WEIGHT_CROSS, WEIGHT_CLEARANCE, WEIGHT_LONG_BALL, WEIGHT_PASS, INSTRUCTION_WEIGHTS
};

// The outcome of a goalkeeper's save assessment.
struct SAVEASSESSMENT {
    int nDifficulty = 0;
    int nSuccess = 0;
    bool bSucceeds = false;
    bool bCaught = false;
};

// One tackle as it ended: where it began and ended, and its result: 0 won,
// 1 lost, 2 won inside his own penalty area.
struct TACKLERECORD {
    CVector vStart, vEnd;
    uint8_t byResult = 1;
};
constexpr uint8_t ACTION_TACKLING = 4;
constexpr uint8_t ACTION_HAS_TACKLED = 5;
constexpr uint8_t ACTION_FALLING_OVER = 17;
constexpr uint8_t DECISION_EMOTION_FRUSTRATION = 22;
constexpr uint8_t DECISION_EMOTION_CELEBRATION = 23;

// One pass or shot in a player's own list: where it began and ended, and
// how it came out (passes: 0 reached a team-mate, 1 lost, 2 credited with a
// goal; shots: 0 on target, 1 off target, 2 goal). The id ties it to the
// ball's touch record that handed it over, so that a credit can be taken back.
struct PLAYERTOUCH {
    CVector vStart, vEnd;
    uint8_t byResult = 0;
    uint32_t dwId = 0;
};

// The footballer's match ratings, in the order they are derived.
enum MATCHRATING : uint8_t {
    RATING_INTELLIGENCE, RATING_PACE, RATING_CONFIDENCE, RATING_AGILITY, RATING_INJURY_PRONENESS, RATING_GREED,
    RATING_DEFENSIVE_READING, RATING_STRENGTH, RATING_DRIBBLING, RATING_HANDLING, RATING_HEADING, RATING_PASSING,
    RATING_SHOOTING, RATING_TACKLING, RATING_PASS_VISION, RATING_SHOT_VISION,
    // In play: these nine follow his form through the match.
    RATING_STRENGTH_IN_PLAY, RATING_DRIBBLING_IN_PLAY, RATING_HANDLING_IN_PLAY, RATING_HEADING_IN_PLAY,
    RATING_PASSING_IN_PLAY, RATING_SHOOTING_IN_PLAY, RATING_TACKLING_IN_PLAY, RATING_PASS_VISION_IN_PLAY,
    RATING_SHOT_VISION_IN_PLAY, RATING_COUNT
};
constexpr int IN_PLAY_RATINGS = RATING_COUNT - RATING_STRENGTH_IN_PLAY;

// Kick kinds: 0 a ball he does not hold, 1 and 2 from the kick animation's
// contact (2 a header), 3 an outfield player holding it, 4 a goalkeeper.
constexpr int KICK_KINDS = 5;
struct KICKENTRY {
    int32_t nMaxVerticalSpeed = 0;  // cm/s
    int32_t nKickSpeed = 0;         // cm/s
    int32_t nMaxRange = 0;          // cm
};

// The eight team orders, in the order of their setters.
enum TEAMORDER : uint8_t {
    ORDER_MATCH_URGENCY, ORDER_PASSING_DISTANCE, ORDER_PASSING_DIRECTION, ORDER_TACKLING_STRENGTH, ORDER_CLEARANCE,
    ORDER_MARKING, ORDER_SHOOTING, ORDER_ADVANCE, TEAM_ORDERS
};

class CMatchPlayer : public CMatchPerson {
public:
    static constexpr int32_t kMaxFitness = 9999;
    static constexpr int32_t kMinFitness = 150;
    static constexpr int32_t kStartMorale = 500;
    // The modifier of a 0..100 value by tenths: -10 .. +10.
    static int GetTenthModifier(int nValue);
    // 1 below 1, 98 from 99 on.
    static uint8_t ClampRating(int nValue);
    // The kick table of a strength rating.
    static KICKENTRY MakeKickEntry(int nKind, int nStrength);

    // Squad positions from 11 on sit on the bench. The club gives the bench
    // seat; nMatchKind picks the match morale of the record.
    CMatchPlayer(CPlayerDatabase* pRecord, uint8_t bySquadPosition, int nMatchKind, CMatchClub* pClub);

    void GetPaceAttributes(int32_t* pnFirst, int32_t* pnMean) const override;

    CPlayerDatabase* GetRecord() const { return m_pRecord; }
    CMatchClub* GetClub() const { return m_pClub; }
    CMatchClub* GetOpponentClub() const { return m_pOpponentClub; }
    void SetOpponentClub(CMatchClub* pClub) { m_pOpponentClub = pClub; }
    uint8_t GetSquadPosition() const { return m_bySquadPosition; }
    void SetSquadPosition(uint8_t byPosition) { m_bySquadPosition = byPosition; }
    uint8_t GetStartingSquadPosition() const { return m_byStartingSquadPosition; }
    uint8_t GetLineIndex() const { return m_byLineIndex; }
    void SetLineIndex(uint8_t byIndex) { m_byLineIndex = byIndex; }
    uint8_t GetSpecialRole() const { return m_bySpecialRole; }
    void SetSpecialRole(uint8_t byRole) { m_bySpecialRole = byRole; }
    // The position code he was picked for, and the one of his record.
    uint8_t GetSelectedPosition() const { return m_bySelectedPosition; }
    void SetSelectedPosition(uint8_t byPosition) { m_bySelectedPosition = byPosition; }
    uint8_t GetNaturalPosition() const;
    bool TookPart() const { return m_bTookPart; }
    bool IsEligible() const { return m_bEligible; }
    bool IsInjured() const { return m_bInjured; }
    void SetInjured(bool bInjured) { m_bInjured = bInjured; }
    void SetTookPart(bool bTookPart) { m_bTookPart = bTookPart; }

    // Restart flags: still on his way to his place at a stoppage; picked to
    // take the restart being prepared; may still come on from the bench;
    // has taken a shoot-out kick.
    bool IsNotInPlace() const { return m_bNotInPlace; }
    void SetNotInPlace(bool bNotInPlace) { m_bNotInPlace = bNotInPlace; }
    bool IsChosenForRestart() const { return m_bChosenForRestart; }
    void SetChosenForRestart(bool bChosen) { m_bChosenForRestart = bChosen; }
    bool IsAvailableSubstitute() const { return m_bAvailableSubstitute; }
    void SetAvailableSubstitute(bool bAvailable) { m_bAvailableSubstitute = bAvailable; }
    bool HasTakenPenalty() const { return m_bHasTakenPenalty; }
    void SetHasTakenPenalty(bool bTaken) { m_bHasTakenPenalty = bTaken; }
    // Whether he is one of his club's ball chasers, and what reaching the
    // ball costs him (0 none); the possession step picks the fastest.
    bool IsBallChaser() const { return m_bBallChaser; }
    void SetBallChaser(bool bChaser) { m_bBallChaser = bChaser; }
    float GetBallReachCost() const { return m_fBallReachCost; }
    void SetBallReachCost(float fCost) { m_fBallReachCost = fCost; }
    // Heads for his base position.
    void UpdateBasePosition();
    // Cards: a first yellow counts for his club's bookings; a sending-off
    // takes him off the pitch.
    uint8_t GetYellowCards() const { return m_byYellowCards; }
    uint8_t GetRedCards() const { return m_byRedCards; }
    void ReceiveBooking();
    void SendOff();

    uint8_t GetRating(MATCHRATING byRating) const { return m_abyRatings[byRating]; }
    // The in-play ratings rebuilt from those of the set-up and the form
    // value (0..999): each moves by the modifier of form / 10.
    void ApplyFormToRatings(int nForm);
    const KICKENTRY& GetKickEntry(int nKind) const { return m_aKicks[nKind]; }

    int32_t GetFitness() const { return m_nFitness; }
    int32_t GetStamina() const { return m_nStamina; }
    int32_t GetStaminaCap() const { return m_nStaminaCap; }
    uint16_t GetAggression() const { return m_wAggression; }
    uint16_t GetTemper() const { return m_wTemper; }
    int32_t GetAnger() const { return m_nAnger; }
    int32_t GetMatchMorale() const { return m_nMatchMorale; }
    int32_t GetMorale() const { return m_nMorale; }
    void SetMorale(int32_t nMorale) { m_nMorale = nMorale; }

    uint8_t GetTeamOrder(TEAMORDER byOrder) const { return m_abyTeamOrders[byOrder]; }
    // Through the order's tactics setter, then the instruction weights.
    void SetTeamOrder(TEAMORDER byOrder, uint8_t byValue);
    static float GetLongBallColumnWeight(int nColumn) { return kLongBallColumns[nColumn]; }
    static float GetLongBallLaneWeight(int nLane) { return kLongBallLanes[nLane]; }

    // Planar distance and angle to the ball, written by the engine each tick.
    int32_t GetBallDistance() const { return m_nBallDistance; }
    float GetBallAngle() const { return m_fBallAngle; }
    void SetBallDistance(int32_t nDistance, float fAngle) { m_nBallDistance = nDistance, m_fBallAngle = fAngle; }
    // The rating StoreMatchResult kept at the end of the match (0 before).
    uint8_t GetStoredMatchRating() const { return m_byMatchRating; }
    void SetMatchRating(uint8_t byRating) { m_byMatchRating = byRating; }

    // Decision measures. Pressure: 3 with an opponent under 300 away, 2
    // under 600, 1 under 1100, else 0 (0 with the ball in his hands); the
    // on-ball pressure is the same while he has the ball at his feet in
    // open play.
    void UpdatePressure();
    uint8_t GetPressureLevel() const { return m_byPressureLevel; }
    uint8_t GetOnBallPressure() const { return m_byOnBallPressure; }
    // 0..100: how near the nearest opponent is within the reach his
    // dribbling gives him.
    int GetKickerPressure() const;
    // Planar distance to the nearest opponent on the pitch, from the
    // engine's table; 999999999 without one.
    int32_t GetNearestOpponentDistance() const;
    // The club's players on the pitch within the radius of the point.
    static int CountPlayersNear(const CMatchClub& club, const CVector& point, int32_t nRadius);
    // 1 at the club's own goal falling to 0 at 5000 away.
    static float GetOwnGoalCloseness(const CMatchClub& club, const CVector& point);
    // Where to play a pass to a team-mate: ahead of him by his movement,
    // turned a sixteenth of a turn away from an opponent near the line in
    // open play, kept 200 inside the pitch.
    CVector GetPassLeadPoint(const CMatchPlayer& receiver, float fFactor) const;
    // His tackling against the opponent's dribbling, one draw each.
    bool WinsChallenge(const CMatchPlayer& opponent) const;
    // Whether he may take the ball in his hands: the event player at a
    // throw-in, the goalkeeper in his own penalty area (not from a
    // team-mate's touch in open play).
    bool CanHandleBall() const;
    // What it costs him to reach the ball, for the club's choice of who goes.
    float GetBallInterceptCost() const;
    // Heads for where he can meet the ball (decision 0, going for it); with
    // bTestOnly only the intercept point and time factor are worked out.
    void GoForBall(bool bTestOnly);
    bool IsGoingForBall() const { return m_bGoingForBall; }
    const CVector& GetInterceptPoint() const { return m_vInterceptPoint; }
    float GetInterceptTimeFactor() const { return m_fInterceptTimeFactor; }
    const CVector& GetKickPoint() const { return m_vKickPoint; }
    void SetKickPoint(const CVector& point) { m_vKickPoint = point; }

    // The tactics values his club's orders give him and the instruction
    // weights that steer the kick candidates.
    int GetTacticsMatchUrgency() const { return m_ucTacticsMatchUrgency; }
    int GetTacticsPassingDirection() const { return m_ucTacticsPassingDirection; }
    int GetTacticsTacklingStrength() const { return m_ucTacticsTacklingStrength; }
    int GetTacticsClearance() const { return m_ucTacticsClearance; }
    int GetTacticsShooting() const { return m_ucTacticsShooting; }
    int GetTacticsAdvance() const { return m_ucTacticsAdvance; }
    float GetInstructionWeight(int nWeight) const;

    // Kick preparation: the point he kicks from (his kick kind by the ball
    // in his hands) with the best kick rating reset, so that the candidates
    // compete afresh.
    void SetKickTarget(const CVector& point);
    uint8_t GetKickKind() const { return m_byKickKind; }
    int32_t GetCurrentKickSpeed() const { return m_nCurrentKickSpeed; }
    // 0..100: how valuable a point is for his club's attack.
    uint8_t GetPositionValue(const CVector& point) const;
    // The penalty of a kick whose way ends in front of his own goal (0 or less).
    int8_t GetOwnGoalDangerRating(const CVector& from, const CVector& to) const;
    // 100.0 with no opponent within 800 of the point, else 0.40 .. 1.0.
    float GetSpaceFactor(const CVector& point) const;
    bool IsBeyondOffsideLine(int32_t* pnDistance) const;
    int32_t GetMaximumVerticalKickSpeed(uint8_t byDecision) const;

    // The kick candidates: each rates itself and becomes the decision when
    // it beats the best kick rating so far.
    bool TryPassTo(CMatchPlayer& mate);
    bool TryPass();
    bool TryPassToTeamMates();
    // The pass looked at again as the foot meets the ball.
    void ChoosePassAgainAtStrike();
    bool TryShootAt(const CVector& point, int nAccuracy);
    bool ChooseShotTarget();
    bool TryCrossTo(const CVector& point);
    bool TryCross();
    bool TryClearTo(const CVector& point);
    bool TryClear();
    bool TryLongBall();
    // A long ball at one point, its preference scaled by the weight of the place.
    bool TryLongBallTo(const CVector& point, float fPlaceWeight);
    bool TryMakeRun();
    // 0..100: the advance rating and the turn away from the own goal.
    int GetPassRating(const CVector& point) const;
    uint8_t GetAdvanceRating(const CVector& point) const;
    // The point of the long-ball grid in a lane (0..2) and column (0..8),
    // seen from the club attacking the high end.
    static CVector GetLongBallGridPoint(int nLane, int nColumn);
    // Overrides of his own aim: true when one decided for him.
    bool MakeAimOverrideDecision();
    void SetAimOverride(uint8_t byOverride, CMatchPlayer* pSource) { m_byAimOverride = byOverride, m_pAimSource = pSource; }
    uint8_t GetAimOverride() const { return m_byAimOverride; }

    float GetBestKickRating() const { return m_fBestKickRating; }
    uint8_t GetKickSafety() const { return m_byKickSafety; }
    float GetFlightTime() const { return m_fFlightTime; }
    CMatchPlayer* GetDecisionPartner() const { return m_pDecisionPartner; }
    bool HasCurl() const { return m_bCurl; }
    const CVector& GetCurl() const { return m_vCurl; }
    bool IsMovingTarget() const { return m_bMovingTarget; }
    void SetMovingTarget(bool bMoving) { m_bMovingTarget = bMoving; }

    // Positioning: the score of a point for his current decision, the speed
    // grade he moves at and the way he faces.
    float AssessPosition(const CVector& point) override;
    float TryAssessPosition(const CVector& point) override;
    void ChooseSpeedGrade() override;
    void SetFacingTarget() override;
    bool IsUrgentMove() const;
    void SetFacingTargetByDecision();
    void SetFacingTargetEvent();
    void SetFacingTargetSpecialRole();
    float GetEvasionFacing() const;
    // Speed intent 0..10 behind the grade.
    uint8_t GetSpeedIntent() const { return m_bySpeedIntent; }
    static uint8_t GetFitnessLimitedGrade(int nIntent, int32_t nFitness);
    static float GetDistanceCurve(int32_t d, bool bLong);
    static float GetPathDanger(const CMatchClub& club, const CVector& from, const CVector& to, int32_t nSpeed);
    static float GetPathSafety(const CMatchClub& club, const CVector& from, const CVector& to, int32_t nSpeed);
    int32_t GetDistanceOutsideBase(const CVector& point) const;
    float GetShotPositionRating(const CVector& point) const;
    float GetGoalCloseness(const CVector& point) const;
    static CVector ProjectOntoPath(const CVector& point, const CVector& from, const CVector& to);
    uint8_t GetSetPieceDistanceRating(const CVector& point) const;
    void SetMarkedOpponent(const CMatchPlayer* pOpponent) { m_pMarkedOpponent = pOpponent; }

    // Kicking and saving. The kick error in percent of his decision; the
    // ball is struck with the velocity that carries it to the aim point in
    // the flight time, spoilt by that error.
    // Starts the kick animation for the decision, turned towards the aim;
    // false when none fits.
    bool StartKick();
    int GetKickError() const;
    // The velocity that carries the ball to his aim point in the flight
    // time, before the error.
    CVector GetKickVelocity() const;
    void KickBall();
    // The save assessment against the ball's last kicker, kept for 500 ms.
    const SAVEASSESSMENT& AssessSave(int32_t nReach);
    bool TrySavingBall(int32_t nReach);
    // Whether he breaks off what he is doing for a save: standing, moving,
    // turning or stepping he does; a kick, save, tackle or fall runs on.
    static bool MayBreakOffForSave(uint8_t byAction);
    // The catch, parry or dive the assessment leads to.
    bool StartSave(const SAVEASSESSMENT& save);
    bool CatchBall();
    bool ParryBall();
    // The ball's place, height included, when he meets it on its way.
    CVector GetSavePoint() const;
    const CVector& GetDeflection() const { return m_vDeflection; }
    uint32_t GetLastKickTime() const { return m_dwLastKickTime; }
    void SetLastKickTime(uint32_t dwTime) { m_dwLastKickTime = dwTime; }

    // Tackles (CMatchPlayerTackles.cpp). The assessment of a challenge:
    // whether he goes in and would win, the goalkeeper's own roll; whether
    // he may tackle now and how hard; the standing tackle that resolves on
    // contact and the one resolved where he meets the ball.
    // The footballer a person is, or null for an official or the physio.
    static CMatchPlayer* AsFootballer(CMatchPerson* pPerson);
    bool RollTackle(const CMatchPlayer& target, bool* pbGoesIn) const;
    bool RollKeeperTackle(const CMatchPlayer& target) const;
    bool IsInFrontOfPartner() const;
    bool CanTackle();
    void UpdateTackle();
    bool ResolveTackle(bool bFlag);
    void UpdateWhileBusy() override;
    // Once his animation is over: a tackle that never reached its man failed.
    void PreUpdate() override;
    // The kick safety above which a kick of this aim is taken, by the zone
    // he stands in and the pressure on the ball (101 for no kick at all).
    int GetKickTriggerRating(uint8_t byAim, uint8_t byPressure) const;
    // Whether the kick he chose may go now: safe enough for the moment, or
    // held long enough that it must.
    bool IsKickAllowed() const;
    bool IsReadyToKick() override;
    // The ball met, held and struck through his animations
    // (CMatchPlayerBallContact.cpp): at the contact frames of the animation
    // he plays, the ball he just played is touched, the ball he holds is
    // carried or caught, and a kick or parry strikes it.
    void OnAnimationStep() override;
    // With the ball, its held flag follows his move type (in the hands or
    // at his feet); busy while an animation request is pending.
    bool IsBusy() override;
    // A player held for the referee waits with his idle action.
    void UpdateIdle() override;
    // The taker counts as arrived once the referee's set-up is complete.
    bool HasReachedTarget(const CVector& point) override;
    // The goalkeeper's wider steps.
    int32_t GetMoveSpeed(uint8_t byStepDirection) override;
    // The ball leaves him with his deflection vector (a header or parry).
    void DeflectBall();

private:
    // A kick from the feet whose animation has reached the foot's contact.
    bool IsPastKickContact() const;
    void TouchBall();
    void CatchBallAtContact();
    void StrikeBall();
    // The shoulder challenge that won the ball: reported, and the ball is his.
    void TakeTackledBall();
    void RaiseKnockedEvent(uint8_t byDetail);

public:
    // A loose ball: whether he touches it in this tick (how far along its
    // last movement), then he takes it or it glances off him.
    bool CanReachLooseBall(int32_t* pnDistance) const;
    void TakeLooseBall();
    // He plays a ball played to somebody else when he gets there first.
    bool ContestBall(bool bCheckPath);
    void SetDecisionPartner(CMatchPlayer* pPartner) { m_pDecisionPartner = pPartner; }
    void SetInterceptPoint(const CVector& point, float fTimeFactor)
    {
        m_vInterceptPoint = point, m_fInterceptTimeFactor = fTimeFactor;
    }
    int32_t GetTackleForce() const { return m_nTackleForce; }
    void SetTackleForce(int32_t nForce) { m_nTackleForce = nForce; }
    bool HasFoulIntent() const { return m_bFoulIntent; }
    void SetFoulIntent(bool bIntent) { m_bFoulIntent = bIntent; }
    bool IsFoulTackle() const { return m_bFoulTackle; }
    const TACKLERECORD& GetLastTackle() const { return m_LastTackle; }

    // Ball-touch records and the match rating (CMatchPlayerTouches.cpp).
    // The ball hands him each pass (cross, long ball) and shot it closed;
    // his counters, his club's and his morale follow; a credit taken back
    // (a pass turned into a goal's assist) undoes the counts but not the
    // mood. The tackle records come from his own tackles.
    void AddBallInfo(BALLTOUCHRECORD& touch);
    void RemoveBallInfo(BALLTOUCHRECORD& touch);
    void AddTackleInfo(const TACKLERECORD& record);
    const std::list<PLAYERTOUCH>& GetPasses() const { return m_Passes; }
    const std::list<PLAYERTOUCH>& GetShots() const { return m_Shots; }
    const std::list<TACKLERECORD>& GetTackles() const { return m_Tackles; }
    int GetPassCount() const { return m_nPasses; }
    int GetPassesCompleted() const { return m_nPassesCompleted; }
    int GetPassesCredited() const { return m_nPassesCredited; }
    int GetShotCount() const { return m_nShots; }
    int GetShotsOnTarget() const { return m_nShotsOnTarget; }
    int GetGoals() const { return m_nGoals; }
    int GetTackleCount() const { return m_nTackles; }
    int GetTacklesWon() const { return m_nTacklesWon; }
    int GetDangerTackles() const { return m_nDangerTackles; }
    uint8_t GetOwnGoals() const { return m_byOwnGoals; }
    void AddOwnGoal() { ++m_byOwnGoals; }
    // 40..100 from his touches, goals and cards weighed for his position
    // with his rating for it; 0 when he took no part. Draws at random.
    uint8_t GetMatchRating() const;
    // The rating of the match kept for the record the end of the match
    // writes; returns it.
    uint8_t StoreMatchResult();

    // Condition, morale and tactics settings (CMatchPlayerCondition.cpp).
    // Once a second his club calls UpdateFitness, CoolAnger, UpdateMorale.
    void UpdateFitness();
    void AddFitness(int32_t nAmount);
    void AddStamina(int32_t nAmount);
    void CoolAnger();
    void UpdateMorale();
    // Good and bad moments of kinds 0..9 (9 the largest).
    void ApplyPositiveEvent(int nKind);
    void ApplyNegativeEvent(int nKind);
    void Provoke(int nKind, CMatchPerson* pProvoker);
    void AdjustAnger(int16_t nAmount);
    void AddTemper(int16_t nAmount);
    CMatchPerson* GetProvoker() const { return m_pProvoker; }
    void SetCondition(int32_t nFitness, int32_t nStamina, uint16_t wTemper, int32_t nAnger, int32_t nMatchMorale)
    {
        m_nFitness = nFitness, m_nStamina = nStamina, m_wTemper = wTemper, m_nAnger = nAnger;
        m_nMatchMorale = nMatchMorale;
    }
    void SetStaminaCap(int32_t nCap) { m_nStaminaCap = nCap; }
    // A substitute coming on: the less he warmed up, the more injury-prone.
    void ApplyWarmUpBonus();
    uint32_t GetWarmUpTime() const;
    // The knock check of a challenge (force against his strength): fitness
    // and stamina lost and perhaps an injury that may take him off, his
    // fall fitted to the fall time; true when he was knocked.
    bool TakeChallenge(int32_t nForce, uint32_t dwFallTime);
    // The eight team orders (0..100; a larger value is logged and kept)
    // turned into the values the decisions read, then the instruction
    // weights. StoreTeamOrder keeps the raw order and its value for any one.
    void StoreTeamOrder(TEAMORDER byOrder, uint8_t v);
    void SetTacticsMatchUrgency(uint8_t v) { StoreTeamOrder(ORDER_MATCH_URGENCY, v); }
    void SetTacticsPassingDistance(uint8_t v) { StoreTeamOrder(ORDER_PASSING_DISTANCE, v); }
    void SetTacticsPassingDirection(uint8_t v) { StoreTeamOrder(ORDER_PASSING_DIRECTION, v); }
    void SetTacticsTacklingStrength(uint8_t v) { StoreTeamOrder(ORDER_TACKLING_STRENGTH, v); }
    void SetTacticsClearance(uint8_t v) { StoreTeamOrder(ORDER_CLEARANCE, v); }
    void SetTacticsMarking(uint8_t v) { StoreTeamOrder(ORDER_MARKING, v); }
    void SetTacticsShooting(uint8_t v) { StoreTeamOrder(ORDER_SHOOTING, v); }
    void SetTacticsAdvance(uint8_t v) { StoreTeamOrder(ORDER_ADVANCE, v); }
    void ApplyTeamInstructions();
    int GetTacticsPassingDistance() const { return m_ucTacticsPassingDistance; }
    int GetTacticsMarking() const { return m_ucTacticsMarking; }

    // The goalkeeper in open play (CMatchPlayerGoalkeeper.cpp): his place on
    // the line from the ball to his goal, coming for a ball he reaches
    // first, closing down an attacker and what he does with the ball.
    void MakeGoalkeeperDecision();
    void MakeKeeperBallDecision();
    bool ShouldKeeperGoForBall() const;
    void PositionInGoal(const CVector& reference);
    void ProtectGoal();
    void TryHoldBall();
    void CloseDownAttacker(CMatchPlayer& attacker);
    // Each tick while his animation runs: with the ball loose and coming his
    // way (the shot alarm, his chase, the ball in his area) and no save or
    // kick under way, whether he can meet it at once from where he stands.
    void UpdateGoalkeeperWhileBusy();
    // Tackles at once on the ball's holder: a standing tackle when he is
    // near enough, else the lunge that resolves on contact.
    bool TryTackleNow();
    bool StartStandingTackle();
    // The decision step: the aim overrides, his reactions, then by special
    // role, the shoot-out and the match event the routines below.
    void MakeDecision() override;

    // Reactions (CMatchPlayerReactions.cpp): a player without the ball shows
    // his frustration at a miss, celebrates his club's goal with his
    // team-mates (the bench claps) and argues with whoever provoked him;
    // true when he reacted and decides nothing else.
    bool MakeReactionDecision();
    // How long his celebration of a goal lasts, from his morale.
    static uint32_t GetCelebrationTime(int32_t nMorale);
    // Where a team-mate gathers round the scorer or an arguer, by squad
    // position 0-10.
    static CVector GetGatheringOffset(int nSquadPosition);
    static const CVector kCelebrationPoints[5];
    uint32_t GetCelebrationTime() const { return m_dwCelebrationTime; }
    // The person who last provoked him (dropped once he has answered).
    void SetProvoker(CMatchPerson* pPerson) { m_pProvoker = pPerson; }

    // Special roles and set pieces (CMatchPlayerSetPieces.cpp): who fetches
    // the ball, who takes the restart and how, where the others stand, the
    // bench, half time and full time, and a human's set-piece routine.
    void MakeSpecialRoleDecision();
    void MakeEventDecision();
    void MakeEventPlayerDecision();
    void MakeBenchDecision();
    void MakeGoalkeeperEventDecision();
    // True when he is sent for the loose ball (his club's ball chaser).
    bool GetBallForEventPlayer();
    // Gives the ball he holds at a stoppage to the restart's taker.
    void PassToEventPlayer();
    void PositionForEvent();
    void PositionForThrowIn();
    // His places for a formation zone (0-29) from his layout entry: without
    // the ball (the start point) and with it, turned for the end his club
    // attacks; a place p percent of the way is start + p x delta.
    void SetFormationPosition(const MATCHLAYOUTENTRY& table, int nZone);
    bool IsFormationInterpolated() const { return m_bFormationInterpolated; }
    const CVector& GetFormationStart() const { return m_vFormationStart; }
    const CVector& GetFormationSecond() const { return m_vFormationSecond; }
    const CVector& GetFormationDelta() const { return m_vFormationDelta; }
    CVector GetFormationPlace(int nPercent) const;
    // The current step of his club's live routine; true when it chose a kick
    // of safety 2 or more.
    bool TakeSetPieceRoutine();
    // When he kicks: the routine moves on to its next pass or ends.
    void AdvanceSetPieceRoutine();
    const CMatchPlayer* GetMarkedOpponent() const { return m_pMarkedOpponent; }

    // Open play of an outfield player (CMatchPlayerOpenPlay.cpp): the
    // support chaser covers in front of his goal, the chaser goes for a
    // loose ball or closes down its holder, the man on the ball dribbles
    // unless a kick rates higher, and everyone else marks, takes his place
    // by zone or steps up and out with the defensive line.
    void MakeOpenPlayDecision();
    void MakeWithBallDecision();
    // The shot in front of goal, taken as his decision only when it would
    // go now (its safety beats its trigger); else what he had stands and,
    // were that the dribble, he carries the ball on towards the shot's aim.
    // True when the shot became his decision.
    bool ChooseShotWhenReady();
    // 0, or 1 when he holds the defensive line.
    uint32_t PositionOffBall();
    bool TryStepWithLine();
    bool StepOutWithLine(uint8_t byPosition, int32_t nBaseX);
    // The share (0..100) of a gap to the line that he closes: his tackling,
    // twice his rating for the position and his intelligence.
    int GetLineRating(uint8_t byPosition) const;
    // Challenges the ball's holder: at once when he can, else from a place
    // goal-side of him, nearer the more team-mates cover behind.
    bool TryTackle(CMatchPlayer& opponent);
    const CVector& GetMarkingPoint() const { return m_vMarkingPoint; }
    void SetMarkingPoint(const CVector& point) { m_vMarkingPoint = point; }
    const CVector& GetRunPoint() const { return m_vRunPoint; }
    void SetRunPoint(const CVector& point) { m_vRunPoint = point; }

    // Reference points of the attacked end, kick-off offsets by line index
    // and the shot aims beside the goal centre.
    static const CVector kReferencePoints[5];
    static const CVector kKickOffOffsets[11];
    static const CVector kShotAimOffsets[3];

private:
    static constexpr float kLongBallColumns[10] = {0.1f, 0.3f, 0.5f, 0.7f, 0.9f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f};
    static constexpr float kLongBallLanes[3] = {0.5f, 1.0f, 0.5f};

    void DeriveRatings();
    void DeriveCondition(int nMatchKind);

    CPlayerDatabase* m_pRecord;
    CMatchClub* m_pClub;
    CMatchClub* m_pOpponentClub = nullptr;
    uint8_t m_bySquadPosition;
    uint8_t m_byStartingSquadPosition;
    uint8_t m_byLineIndex = 0;
    uint8_t m_bySpecialRole = ROLE_NONE;
    uint8_t m_bySelectedPosition = 0;
    bool m_bTookPart = true;
    bool m_bEligible = true;
    bool m_bInjured = false;
    uint8_t m_byYellowCards = 0;
    uint8_t m_byRedCards = 0;
    bool m_bNotInPlace = false;
    bool m_bChosenForRestart = false;
    bool m_bAvailableSubstitute = false;
    bool m_bHasTakenPenalty = false;
    bool m_bBallChaser = false;
    float m_fBallReachCost = 0.0f;

    int32_t m_nBallDistance = 0;
    float m_fBallAngle = 0.0f;

    uint8_t m_abyRatings[RATING_COUNT] = {};
    // The in-play ratings as the set-up derived them; form moves them.
    uint8_t m_abyBaseInPlay[IN_PLAY_RATINGS] = {};
    KICKENTRY m_aKicks[KICK_KINDS];
    uint8_t m_byKickKind = 0;
    int32_t m_nCurrentKickSpeed = 0;

    int32_t m_nFitness = kMaxFitness;
    int32_t m_nStaminaCap = 1;
    int32_t m_nStamina = 0;
    uint16_t m_wAggression = 0;
    uint16_t m_wTemper = 1;
    int32_t m_nAnger = 0;
    int32_t m_nMatchMorale = 1;
    int32_t m_nMorale = kStartMorale;

    uint8_t m_abyTeamOrders[TEAM_ORDERS] = {50, 50, 50, 50, 50, 50, 50, 50};
    uint8_t m_byPressureLevel = 0;
    uint8_t m_byOnBallPressure = 0;
    bool m_bGoingForBall = false;
    CVector m_vKickPoint;
    CVector m_vInterceptPoint;
    float m_fInterceptTimeFactor = -1.0f;
    uint8_t m_byMatchRating = 0;

    float m_fBestKickRating = 0.0f;
    uint8_t m_byKickSafety = 0;
    float m_fFlightTime = 0.0f;
    CMatchPlayer* m_pDecisionPartner = nullptr;
    bool m_bCurl = false;
    CVector m_vCurl;
    bool m_bMovingTarget = false;
    uint8_t m_byAimOverride = AIMOVERRIDE_NONE;
    CMatchPlayer* m_pAimSource = nullptr;
    bool m_bIllegalPosition = false;
    const CMatchPlayer* m_pMarkedOpponent = nullptr;
    uint8_t m_bySpeedIntent = 0;
    float m_fSpeedFactor = 1.0f;
    CVector m_vDeflection;
    uint32_t m_dwLastKickTime = 0;
    SAVEASSESSMENT m_Save;
    uint32_t m_dwSaveAssessedAt = 0;
    bool m_bSaveAssessed = false;
    // Set while he looks for a save in the middle of an animation: a save
    // not timed to the ball cannot wait for that animation's end.
    bool m_bSavingWhileBusy = false;

    // The tackle fields: the assessment against the partner, the force he
    // goes in with, and his last tackle.
    bool m_bChallengeWon = false;
    bool m_bTackleRoll = false;
    bool m_bGoesIn = false;
    bool m_bKeeperTackleRoll = false;
    bool m_bFoulIntent = false;
    bool m_bFoulTackle = false;
    int32_t m_nTackleForce = 0;
    TACKLERECORD m_LastTackle;
    // His celebration of a goal.
    uint32_t m_dwCelebrationTime = 0;
    bool StartArguing(CMatchPerson& other);
    void RequestCelebrationMove(bool bScorer);
    void KeepTackleRecord(const TACKLERECORD& record);

    // Ball-touch lists and their counters.
    std::list<PLAYERTOUCH> m_Passes, m_Shots;
    std::list<TACKLERECORD> m_Tackles;
    int m_nPasses = 0, m_nPassesCompleted = 0, m_nPassesCredited = 0;
    int m_nShots = 0, m_nShotsOnTarget = 0, m_nGoals = 0;
    int m_nTackles = 0, m_nTacklesWon = 0, m_nDangerTackles = 0;
    uint8_t m_byOwnGoals = 0;
    // Condition: who provoked him last, when he began to warm up.
    CMatchPerson* m_pProvoker = nullptr;
    uint32_t m_dwWarmUpStart = 0;
    // The tactics values the setters store (defaults: every order at 50).
    uint8_t m_ucTacticsMatchUrgency = 50;
    uint8_t m_ucTacticsPassingDistance = 12;
    uint8_t m_ucTacticsPassingDirection = 100;
    uint8_t m_ucTacticsTacklingStrength = 100;
    uint8_t m_ucTacticsClearance = 100;
    uint8_t m_ucTacticsMarking = 50;
    uint8_t m_ucTacticsShooting = 12;
    uint8_t m_ucTacticsAdvance = 25;
    uint8_t m_abyInstructionWeights[INSTRUCTION_WEIGHTS] = {12, 8, 10, 3, 8, 4};
    // Marks his opponent at a stoppage; false when he has nobody to mark.
    bool MarkAtStoppage();
    // At half time and full time: heads for the place and leaves the match
    // update once he stands there; false while he is on his way.
    bool WalkOffForBreak(const CVector& place);
    // Asks for a standing move type while he stands or already holds it.
    void ChooseStandingMoveType(uint8_t byMoveType);
    // When he gains the ball: the routine goes on only if he was its next receiver.
    void OnPossessionGained() override;
    void CheckSetPieceRoutine();
    CVector m_vFormationStart, m_vFormationSecond, m_vFormationDelta;
    bool m_bFormationInterpolated = false;

    // Open play: where he marks, where he last reported a run from, where
    // he dribbles to and when he last weighed up a tackle.
    CVector m_vMarkingPoint;
    CVector m_vRunPoint;
    CVector m_vDribblePoint;
    uint32_t m_dwTackleAssessedAt = 0;
    // The place goal-side of a man that a marker pulled q percent towards
    // him takes: 100 goal-side of him, up to 1000 off towards his base.
    CVector GetMarkingPlace(const CMatchPlayer& opponent, int q) const;

    // Takes a candidate that beat the best kick rating.
    void TakeKickCandidate(float fRating, const CVector& aim, uint8_t byDecision, CMatchPlayer* pPartner,
                           float fFlightTime, uint8_t bySafety);
    int InterceptSafety(const CVector& from, const CVector& to, int32_t nSpeed) const;

    // ---- alert icons, the marker over his head and the drawing of his
    // passes, shots and tackles (CMatchPlayerAlerts.cpp) ----
public:
    enum : uint8_t { ALERTBIT_FITNESS = 1, ALERTBIT_ANGER = 2, ALERTBIT_MORALE = 4 };
    // Once a second: which alerts he shows (low morale, low fitness, high
    // anger, each only while its option is on); the marker shows the last
    // one found, anger over fitness over morale. Returns the alert bits.
    uint8_t UpdateAlertIcons();
    ~CMatchPlayer() override;
    uint8_t GetAlertBits() const { return m_byAlertBits; }
    // Off the pitch he shows no alert.
    void ClearAlertIcons();
    // The marker over his head, made only with a 3-D view.
    void CreateMarker();
    void MoveMarker(const CVector& point);
    void DestroyMarker();
    const CBillboard* GetMarker() const { return m_pMarker.get(); }
    static constexpr float kMarkerHeight = 340.0f;
    static constexpr float kMarkerHalfSize = 50.0f;
    bool IsIllegalPosition() const { return m_bIllegalPosition; }
    // The n-th (from 1) of his passes, shots or tackles drawn on the plan in
    // the plan view, else on the radar; nothing (and a log line) for a
    // number beyond his list.
    void DrawPass(plat::Surface* pSurface, uint16_t n) const;
    void DrawShot(plat::Surface* pSurface, uint16_t n) const;
    void DrawLongPass(plat::Surface* pSurface, uint16_t n) const;

private:
    void OnMoved() override;
    uint8_t m_byAlertBits = 0;
    std::unique_ptr<CBillboard> m_pMarker;
    bool m_bMarkerInScene = false;

    // ---- meeting the moving ball (CMatchPlayerTakeBall.cpp): the save, the
    // first-time kick, the header, control on the move and the plain
    // control, each through the contact animation that meets the ball ----
public:
    // Tried in that order once he knows where he meets the ball (reach: his
    // distance from its path); immediate leaves out all but the save and the
    // plain control. True when one started and the ball is his to play.
    bool TryTakeBall(int32_t nReach, bool bImmediate);
    bool TryFirstTimeKick();
    bool StartFirstTimeKick(const CVector& point, float fTimeFactor);
    bool TryHeader();
    bool TryControlBall();
    bool TryBodyControl();
    // The kick candidates for a ball still moving towards the point; true
    // when one of them beat the rating the moment demands.
    bool TryKickOnMove(const CVector& point, uint8_t byKind, const CVector& velocity);
    // Kick preparation for a ball met on the move: a kick faster by a third
    // of the ball's speed, which must beat the rating his pressure demands
    // (any rating in either penalty area or for a dropping high ball).
    void SetMovingKickTarget(const CVector& point, uint8_t byKind, const CVector& velocity);
    // The way to turn with the ball at a point: away from an opponent close
    // to it, else towards the goal his club attacks.
    float GetControlDirection(const CVector& point) const;
    // Whether the ball's horizontal way brings it towards him.
    bool IsBallComingTowards() const;
    // In open play he may face a point of his own choosing.
    bool GetFacingOverride(float* pfAngle) override;
    void SetFacingOverride(const CVector& point);
    void ClearFacingOverride() { m_bFacingOverrideWanted = false; }
    // Off the edges: with the ball he keeps 400 inside the lines, without it
    // on the pitch, once he stands there; the person's rule decides the rest.
    bool IsPositionFree(const CVector& point, bool bInPenaltyArea) override;

private:
    // The chosen contact animation decides where he meets the ball and with
    // what: the head (kick kind 2) or the foot (kind 1).
    void TakeKickContact();
    // The contact animation that was just chosen stands only when the ball
    // is his to meet; otherwise it is dropped and the action restored.
    bool KeepContact(uint8_t byAction);
    // The match event of a headed kick, raised as the head strikes the ball.
    void RaiseHeaderEvent();
    CVector m_vFacingPoint;

    // ---- the walk-out before a kick-off (CMatchPlayerWalkOut.cpp) ----
public:
    // With the line-ups shown he walks out to his place on the pitch; until
    // he is there the kick-off waits for him.
    void StartWalkOut() { m_bWalkingOut = true; }
    bool IsWalkingOut() const { return m_bWalkingOut; }
    // At each decision: the walk-out ends once he stands on the pitch at
    // the place he was sent to.
    void UpdateWalkOut();

private:
    bool m_bWalkingOut = false;
};
