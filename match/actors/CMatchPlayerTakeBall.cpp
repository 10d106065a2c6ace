// The footballer meets a moving ball. Once he knows where and when he can
// reach it, he tries in turn: the goalkeeper's save, a first-time kick (a
// pass, shot or clearance struck as the ball arrives, with the foot or the
// head), a header that sends it on, control on the move and, with the ball
// all but at his feet, the plain control. Each is a contact animation chosen
// to meet the ball; it stands only when the ball is his to play (nobody it
// was played to gets there first), and the ball is then played to the
// contact point, where the contact step touches, strikes or deflects it.
#include "match/actors/CMatchPlayer.h"

#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Library actions of the contact animations.
constexpr uint8_t kActionControl = 6;
constexpr uint8_t kActionControlTurn = 7;
constexpr uint8_t kActionControlOnMove = 8;
constexpr uint8_t kActionStrikeShort = 26;
constexpr uint8_t kActionStrikeLong = 27;
constexpr uint8_t kActionRunningStrikeShort = 28;
constexpr uint8_t kActionRunningStrikeLong = 29;

// A first-time kick this far or more is struck with the harder animations.
constexpr int32_t kLongStrike = 1500;
// Whatever his skill, a strike animation has this chance to be tried.
constexpr int kMinimumStrikeChance = 10;
// The kick kinds a contact gives: the foot, the head.
constexpr uint8_t kKickKindFoot = 1;
constexpr uint8_t kKickKindHeader = 2;
// A moving ball adds this share of its speed to the kick or header.
constexpr double kMovingBallShare = 0.3;
// The rating a first-time kick must beat by his pressure level 0..3: a
// player left alone does better to control the ball first.
constexpr float kMovingKickRatings[4] = {1.5f, 1.0f, 0.5f, 0.2f};
constexpr float kAnyKick = -9999999.0f;
// A header is laid off to the team-mate nearest the ball when he meets it
// this close to where he stands.
constexpr int32_t kLayOffReach = 200;
// An opponent nearer the control point than this makes him turn away.
constexpr int32_t kControlThreshold = 500;
// With the ball he keeps this far inside the lines.
constexpr int32_t kBallEdgeMargin = 400;

int32_t Distance2D(const CVector& a, const CVector& b)
{
    return IntegerRoot(a.SquaredDistance2D(b));
}

bool InsidePitch(const CVector& p, int32_t nMargin)
{
    return p.x > nMargin && p.x < PITCH_LENGTH - nMargin && p.y > nMargin && p.y < PITCH_WIDTH - nMargin;
}

bool OnPitch(const CVector& p)
{
    return p.x >= 0 && p.x <= PITCH_LENGTH && p.y >= 0 && p.y <= PITCH_WIDTH;
}

CVector Along(const CVector& from, double fAngle, int32_t nLength)
{
    return CVector(from.x + TruncateToInt(std::sin(fAngle) * nLength),
                   from.y + TruncateToInt(std::cos(fAngle) * nLength), 0);
}

}  // namespace

bool CMatchPlayer::IsBallComingTowards() const
{
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall)
        return false;
    const CVector toMe = m_vPosition - pBall->GetPosition();
    const CVector& v = pBall->GetVelocity();
    return int64_t(v.x) * toMe.x + int64_t(v.y) * toMe.y >= 1;
}

bool CMatchPlayer::TryTakeBall(int32_t nReach, bool bImmediate)
{
    // Every way of meeting the ball is an animation: without a body to play
    // it there is nothing to weigh up.
    if (!m_pModel)
        return false;
    const uint8_t byAction = m_byAction;
    if (nReach < 400 && TrySavingBall(nReach))
        return m_byAction == ACTION_DIVING || KeepContact(byAction);
    if (!bImmediate) {
        if (nReach < 450 && TryFirstTimeKick())
            return true;
        if (TryHeader() || TryBodyControl())
            return true;
    }
    return nReach < 100 && TryControlBall();
}

bool CMatchPlayer::KeepContact(uint8_t byAction)
{
    if (ContestBall(true))
        return true;
    CancelPendingAnimation();
    SetAction(byAction);
    return false;
}

void CMatchPlayer::TakeKickContact()
{
    m_vKickPoint = m_vReleaseTarget;
    m_byKickKind = m_byHeaderCode ? kKickKindHeader : kKickKindFoot;
}

void CMatchPlayer::SetMovingKickTarget(const CVector& point, uint8_t byKind, const CVector& velocity)
{
    const CMatchBall* pBall = m_Engine.GetBall();
    m_bMovingTarget = true;
    m_vKickPoint = point;
    m_byKickKind = 0;
    const double fSpeed = std::sqrt(double(velocity.x) * velocity.x + double(velocity.y) * velocity.y +
                                    double(velocity.z) * velocity.z);
    m_nCurrentKickSpeed =
        std::max(1, TruncateToInt(double(TruncateToInt(fSpeed)) * kMovingBallShare) +
                        m_aKicks[std::min<int>(byKind, KICK_KINDS - 1)].nKickSpeed);
    const bool bAnyKick = (pBall && pBall->IsHighBall()) || m_pClub->IsInPenaltyArea(point, false) ||
                          (m_pOpponentClub && m_pOpponentClub->IsInPenaltyArea(point, false));
    m_fBestKickRating = bAnyKick ? kAnyKick : kMovingKickRatings[std::min<int>(m_byPressureLevel, 3)];
}

bool CMatchPlayer::TryKickOnMove(const CVector& point, uint8_t byKind, const CVector& velocity)
{
    SetMovingKickTarget(point, byKind, velocity);
    const float fBefore = m_fBestKickRating;
    if (!TakeSetPieceRoutine()) {
        TryPassToTeamMates();
        switch (m_pClub->GetZone(point.x, point.y)) {
        case 1:
            TryClear();
            TryLongBall();
            break;
        case 4: TryCross(); break;
        case 5: ChooseShotTarget(); break;
        default: TryLongBall(); break;
        }
    }
    return m_fBestKickRating != fBefore;
}

bool CMatchPlayer::TryFirstTimeKick()
{
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall || m_Engine.GetMatchEvent() != MATCHEVENT_NONE || m_bySquadPosition == 0 || !IsBallComingTowards())
        return false;
    // What the kick candidates change, put back when no kick comes of them.
    const CVector target = m_vTarget;
    const bool bRunning = m_bRunningToTarget, bFacingWanted = m_bFacingAtTargetWanted;
    const float fFacingAtTarget = m_fFacingAtTarget;
    const int32_t nDistance = m_nDistanceToTarget;
    const uint8_t bySpeedGrade = m_bySpeedGrade, byDecision = m_byDecision, byAction = m_byAction;
    const CVector movement = m_vMovement;
    CMatchPlayer* pPartner = m_pDecisionPartner;
    if (TryKickOnMove(m_vInterceptPoint, 0, pBall->GetVelocity()) &&
        StartFirstTimeKick(m_vInterceptPoint, m_fInterceptTimeFactor) && KeepContact(byAction))
        return true;
    m_vTarget = target;
    m_bRunningToTarget = bRunning, m_bFacingAtTargetWanted = bFacingWanted;
    m_fFacingAtTarget = fFacingAtTarget;
    m_nDistanceToTarget = nDistance;
    m_bySpeedGrade = bySpeedGrade;
    m_byDecision = byDecision;
    m_vMovement = movement;
    m_pDecisionPartner = pPartner;
    m_bMovingTarget = false;
    return false;
}

bool CMatchPlayer::StartFirstTimeKick(const CVector& point, float fTimeFactor)
{
    const CVector aim = GetTarget();
    const bool bLong = Distance2D(m_vKickPoint, aim) >= kLongStrike;
    const int nFoot = m_abyRatings[m_byDecision == DECISION_SHOOT ? RATING_SHOOTING_IN_PLAY : RATING_PASSING_IN_PLAY];
    const int nHead = m_abyRatings[RATING_HEADING_IN_PLAY];
    const float fLeaving = float(point.GetAngleTo(aim));
    if (!SelectStrikingAnimation(bLong ? kActionStrikeLong : kActionStrikeShort, aim, false, nFoot, nHead,
                                 kMinimumStrikeChance) &&
        !SelectAnimationToPoint(bLong ? kActionRunningStrikeLong : kActionRunningStrikeShort, point, fTimeFactor,
                                fLeaving))
        return false;
    SetAction(ACTION_KICKING);
    TakeKickContact();
    m_dwLastKickTime = m_Engine.GetMatchTime();
    if (m_pDecisionPartner)
        m_pDecisionPartner->SetAimOverride(AIMOVERRIDE_AWAIT_PASS, this);
    return true;
}

bool CMatchPlayer::TryHeader()
{
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall || m_Engine.GetMatchEvent() != MATCHEVENT_NONE || !pBall->IsHighBall() || m_bySquadPosition == 0)
        return false;
    double fAngle = m_pClub->AttacksHighEnd() ? kPi / 2 : -kPi / 2;
    if (m_pClub->IsInPenaltyArea(m_vPosition, false)) {
        CVector goal;
        m_pClub->GetGoalPosition(goal);
        fAngle = goal.GetAngleTo(m_vInterceptPoint);  // away from his own goal
    } else if (Distance2D(m_vPosition, m_vInterceptPoint) <= kLayOffReach) {
        if (const CMatchPlayer* pMate = m_pClub->GetNearestPlayerExcept(m_vInterceptPoint, this, nullptr))
            fAngle = m_vInterceptPoint.GetAngleTo(pMate->GetPosition());
    }
    const CVector target = Along(m_vPosition, fAngle, 1000);
    const uint8_t byAction = m_byAction;
    const int nHead = m_abyRatings[RATING_HEADING_IN_PLAY];
    // Standing he jumps or dives to it; on the run he heads it in his stride.
    if (!SelectStrikingAnimation(kActionStrikeShort, target, false, 0, nHead, kMinimumStrikeChance, true) &&
        !SelectStrikingAnimation(kActionRunningStrikeShort, target, false, 0, nHead, kMinimumStrikeChance, true))
        return false;
    SetAction(ACTION_PARRYING);
    TakeKickContact();
    const CVector& v = pBall->GetVelocity();
    const double fIncoming = std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
    const int32_t nSpeed = m_aKicks[kKickKindHeader].nKickSpeed + TruncateToInt(fIncoming * kMovingBallShare);
    m_vDeflection = CVector(TruncateToInt(std::sin(fAngle) * nSpeed), TruncateToInt(std::cos(fAngle) * nSpeed), 0);
    return KeepContact(byAction);
}

bool CMatchPlayer::TryControlBall()
{
    if (!IsBallComingTowards())
        return false;
    const uint8_t byAction = m_byAction;
    if (!SelectReceivingAnimation(kActionControlTurn, false, false) &&
        !SelectReceivingAnimation(kActionControl, false, false))
        return false;
    SetAction(ACTION_CONTROLLING);
    TakeKickContact();
    return KeepContact(byAction);
}

bool CMatchPlayer::TryBodyControl()
{
    if (m_Engine.GetMatchEvent() != MATCHEVENT_NONE || !OnPitch(m_vInterceptPoint) || !IsBallComingTowards())
        return false;
    const uint8_t byAction = m_byAction;
    if (!SelectAnimationToPoint(kActionControlOnMove, m_vInterceptPoint, m_fInterceptTimeFactor,
                                GetControlDirection(m_vInterceptPoint)))
        return false;
    SetAction(ACTION_CONTROLLING);
    TakeKickContact();
    return KeepContact(byAction);
}

float CMatchPlayer::GetControlDirection(const CVector& point) const
{
    int32_t nDistance = 0;
    const CMatchPlayer* pNearest = m_pOpponentClub ? m_pOpponentClub->GetNearestPlayer(point, &nDistance) : nullptr;
    if (pNearest && nDistance < kControlThreshold)
        return float(pNearest->GetPosition().GetAngleTo(point));
    CVector goal(m_pClub->AttacksHighEnd() ? PITCH_LENGTH : 0, GOAL_CENTRE_Y, 0);
    if (m_pOpponentClub)
        m_pOpponentClub->GetGoalPosition(goal);
    return float(point.GetAngleTo(goal));
}

bool CMatchPlayer::GetFacingOverride(float* pfAngle)
{
    if (m_Engine.GetMatchEvent() != MATCHEVENT_NONE || !m_bFacingOverrideWanted)
        return false;
    if (pfAngle)
        *pfAngle = float(m_vPosition.GetAngleTo(m_vFacingPoint));
    return true;
}

void CMatchPlayer::SetFacingOverride(const CVector& point)
{
    m_vFacingPoint = point;
    m_bFacingOverrideWanted = true;
}

bool CMatchPlayer::IsPositionFree(const CVector& point, bool bInPenaltyArea)
{
    const bool bOpenPlay = m_Engine.GetMatchEvent() == MATCHEVENT_NONE;
    // A move that must stay in his own penalty area (a goalkeeper's handling).
    if (bInPenaltyArea && bOpenPlay && !m_pClub->IsInPenaltyArea(point, true))
        return false;
    if (bOpenPlay) {
        const int32_t nMargin = m_bHasBall ? kBallEdgeMargin : 0;
        const bool bPointInside = m_bHasBall ? InsidePitch(point, nMargin) : OnPitch(point);
        const bool bSelfInside = m_bHasBall ? InsidePitch(m_vPosition, nMargin) : OnPitch(m_vPosition);
        if (!bPointInside && bSelfInside)
            return false;
    }
    return CMatchPerson::IsPositionFree(point, bInPenaltyArea);
}
