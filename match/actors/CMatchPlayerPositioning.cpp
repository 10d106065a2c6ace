// Where a footballer wants to stand and how: the score of a candidate point
// for his current decision, the speed grade he moves at, the way he faces,
// and the path measures that the scores and the kick candidates share.
#include "match/actors/CMatchPlayer.h"

#include "common/DebugLog.h"
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

int32_t Distance2D(const CVector& a, const CVector& b)
{
    return IntegerRoot(a.SquaredDistance2D(b));
}

// Speed intent with the ball: on-ball pressure by match urgency / 10.
constexpr uint8_t kOnBallIntent[4][10] = {{2, 2, 2, 3, 3, 3, 3, 4, 4, 4},
                                          {3, 3, 3, 4, 4, 4, 4, 5, 5, 5},
                                          {5, 5, 5, 5, 5, 6, 6, 6, 6, 6},
                                          {6, 6, 6, 6, 6, 7, 7, 7, 7, 7}};
constexpr uint8_t kUrgentIntent[10] = {1, 3, 5, 7, 9, 10, 10, 10, 10, 10};
// Grade by intent and fitness / 1000; intent 10 always runs flat out.
constexpr uint8_t kFitnessLimit[10][10] = {
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 1, 1, 1, 2, 2}, {0, 0, 0, 0, 1, 1, 1, 1, 2, 3},
    {0, 0, 1, 1, 1, 1, 1, 2, 3, 4}, {0, 0, 1, 1, 1, 1, 2, 3, 4, 5}, {1, 1, 1, 1, 2, 2, 3, 4, 5, 6},
    {1, 1, 1, 1, 2, 3, 4, 5, 6, 7}, {1, 1, 1, 2, 3, 4, 5, 6, 7, 8}, {1, 1, 2, 3, 4, 5, 6, 7, 8, 9},
    {1, 2, 3, 4, 5, 6, 7, 8, 9, 9}};

// The approximate segment length the path measures divide by.
int64_t ApproximateLength(int64_t dx, int64_t dy)
{
    dx = dx < 0 ? -dx : dx, dy = dy < 0 ? -dy : dy;
    return std::max(dx, dy) + std::min(dx, dy) / 2;
}

}  // namespace

float CMatchPlayer::GetDistanceCurve(int32_t d, bool bLong)
{
    const float k = bLong ? 3000.0f : 1500.0f, m = bLong ? 14000.0f : 17000.0f;
    if (d == 0)
        return 1.0f;
    if (d < k)
        return 1.0f - float(d) / (2.0f * k);
    return 0.5f - (float(d) - k) / m;
}

uint8_t CMatchPlayer::GetSetPieceDistanceRating(const CVector& point) const
{
    const uint8_t byEvent = m_Engine.GetMatchEvent();
    const CMatchBall* pBall = m_Engine.GetBall();
    if (byEvent < MATCHEVENT_CORNER || byEvent > MATCHEVENT_DIRECTFREEKICK || m_bySquadPosition == 0 || !pBall)
        return 100;
    // The club taking the kick has the player at the ball.
    for (int i = 0; i < m_pClub->GetOnPitchCount(); ++i)
        if (const CMatchPlayer* p = m_pClub->GetSlot(i); p && p->GetSpecialRole() == ROLE_EVENT_PLAYER)
            return 100;
    return uint8_t(std::min<int64_t>(100, int64_t(Distance2D(point, pBall->GetPosition())) * 100 / 1015));
}

// A player sent to a target (not holding a point for a kick) is on the move:
// he is judged by how near a point brings him to it.
float CMatchPlayer::AssessPosition(const CVector& point)
{
    const CVector& aim = GetTarget();
    if (m_bGoingForBall || m_bRunningToTarget)
        return GetDistanceCurve(Distance2D(point, aim), true);
    const CMatchBall* pBall = m_Engine.GetBall();
    const bool bOpenPlay = m_Engine.GetMatchEvent() == MATCHEVENT_NONE;
    float fScore = 1.0f;
    switch (m_byDecision) {
    case DECISION_POSITION_BASE: case DECISION_POSITION_MARK: case DECISION_TACKLE: case DECISION_PROTECT_GOAL:
    case DECISION_SUBSTITUTE_BENCH: case DECISION_SUBSTITUTE_WARMUP: case DECISION_GOING_ON:
        fScore = GetDistanceCurve(Distance2D(point, aim), true);
        break;
    case DECISION_POSITION_SPACE: case DECISION_POSITION_CROSS: case DECISION_POSITION_SHOT: {
        const float w = GetSpaceFactor(point);
        if (!m_bHasBall) {
            const float f = GetDistanceCurve(GetDistanceOutsideBase(point), false);
            fScore = Distance2D(point, m_vBasePosition) <= 1000 ? f * w : f * 0.1f;
        } else {
            fScore = w * GetDistanceRating(point, aim, 1000, 0.8f);
            if (fScore < 0.0f)
                DebugLog(0, "[CMatchPerson::AssessPosition] Negative scale in position space");
        }
        break;
    }
    case DECISION_PASS:
        if (bOpenPlay && m_pDecisionPartner)
            fScore = float(InterceptSafety(point, m_pDecisionPartner->GetPosition(), 1000)) * 0.01f;
        break;
    case DECISION_CROSS:
        fScore = float(InterceptSafety(point, aim, 1000)) * 0.01f *
                 GetDistanceCurve(GetDistanceOutsideBase(point), false) * GetSpaceFactor(point) *
                 GetShotPositionRating(point);
        break;
    case DECISION_SHOOT:
        fScore = GetShotPositionRating(point);
        break;
    case DECISION_MAKE_RUN: {
        const float g = GetShotPositionRating(point);
        const float fDanger = GetPathDanger(*m_pClub, m_vPosition, point, 700) * g;
        const float c = fDanger >= 1.0f ? 0.0f : 1.0f - fDanger;
        fScore = c >= 0.1f ? GetPathSafety(*m_pClub, m_vPosition, point, 700) * g : 0.1f * g;
        break;
    }
    case DECISION_LONG_BALL:
        fScore = GetSpaceFactor(point);
        break;
    default:
        break;
    }
    const bool bAtFeet = pBall && pBall->GetHolder() == this && !pBall->IsHeldInHands();
    if (bAtFeet && bOpenPlay && m_pClub->IsInPenaltyArea(m_vPosition, false)) {
        CVector goal;
        m_pClub->GetGoalPosition(goal);
        fScore *= 1.0f - GetDistanceRating(point, goal, 2000, 1.0f);
    }
    auto onPitch = [](const CVector& p) { return p.x >= 0 && p.x <= PITCH_LENGTH && p.y >= 0 && p.y <= PITCH_WIDTH; };
    if (!onPitch(point) && onPitch(m_vPosition))
        return -1.0f;
    // Points near the lines lose value: 34 % on the line, none 200 beyond it.
    const int32_t e = std::max({-point.y, point.y - PITCH_WIDTH, -point.x, point.x - PITCH_LENGTH}) + 400;
    if (e > 0) {
        const int32_t q = e / 6;
        fScore = q >= 100 ? 0.0f : fScore * float(100 - q) / 100.0f;
    }
    return fScore * float(GetSetPieceDistanceRating(point)) * 0.01f;
}

float CMatchPlayer::TryAssessPosition(const CVector& point)
{
    // The taker stays at the ball for the kick-off, once he has walked out to it.
    if (m_bySpecialRole == ROLE_EVENT_PLAYER && m_Engine.GetMatchEvent() != MATCHEVENT_NONE &&
        !m_Engine.IsMatchClockRunning() && !m_bWalkingOut)
        return 0.0f;
    return AssessPosition(point);
}

uint8_t CMatchPlayer::GetFitnessLimitedGrade(int nIntent, int32_t nFitness)
{
    if (nIntent >= 10)
        return 9;
    return std::min<uint8_t>(9, kFitnessLimit[std::clamp(nIntent, 0, 9)][std::clamp(nFitness / 1000, 0, 9)]);
}

bool CMatchPlayer::IsUrgentMove() const
{
    return m_byDecision == DECISION_TACKLE || m_byDecision == DECISION_PROTECT_GOAL || m_bGoingForBall;
}

void CMatchPlayer::ChooseSpeedGrade()
{
    m_fSpeedFactor = 1.0f;
    const bool bOpenPlay = m_Engine.GetMatchEvent() == MATCHEVENT_NONE;
    auto step = [bOpenPlay](int32_t d) { return std::min(9, d / (bOpenPlay ? 250 : 500)); };
    int nIntent;
    if (m_bHasBall)
        nIntent = kOnBallIntent[std::min<int>(m_byOnBallPressure, 3)][std::min(GetTacticsMatchUrgency() / 10, 9)];
    else if (m_bRunningToTarget)
        nIntent = IsUrgentMove() ? kUrgentIntent[step(m_nDistanceToTarget)] : step(m_nDistanceToTarget) + 1;
    else
        nIntent = step(Distance2D(m_vPosition, m_vBasePosition)) + 1;
    m_bySpeedIntent = uint8_t(nIntent);
    m_bySpeedGrade = GetFitnessLimitedGrade(nIntent, m_nFitness);
}

void CMatchPlayer::SetFacingTarget()
{
    float fOverride = 0.0f;
    if (GetFacingOverride(&fOverride))
        m_fFacingTarget = fOverride;
    else if (m_bySpecialRole != ROLE_NONE)
        SetFacingTargetSpecialRole();
    else if (m_Engine.GetMatchEvent() != MATCHEVENT_NONE)
        SetFacingTargetEvent();
    else
        SetFacingTargetByDecision();
}

void CMatchPlayer::SetFacingTargetByDecision()
{
    auto face = [this](const CVector& p) { m_fFacingTarget = float(m_vPosition.GetAngleTo(p)); };
    const float fDefault = m_fBallAngle;
    const float fAttacking = float(m_pClub->AttacksHighEnd() ? kPi / 2 : -kPi / 2);
    if (!m_bHasBall) {
        if (m_bRunningToTarget)
            m_fFacingTarget = fDefault;
        else if (Distance2D(m_vPosition, m_vBasePosition) > 700)
            face(m_vBasePosition);
        else
            m_fFacingTarget = fDefault;
        return;
    }
    switch (m_byDecision) {
    case DECISION_POSITION_BASE: case DECISION_POSITION_CROSS: case DECISION_POSITION_SHOT: case DECISION_TACKLE:
    case 15:
        if (m_nDistanceToTarget < 70)
            m_fFacingTarget = fAttacking;
        else
            face(GetTarget());
        break;
    case DECISION_POSITION_SPACE: case DECISION_CROSS: case DECISION_SHOOT: case DECISION_MAKE_RUN:
    case DECISION_CLEAR: case DECISION_LONG_BALL:
        if (m_byOnBallPressure >= 2)
            m_fFacingTarget = GetEvasionFacing();
        else
            face(GetTarget());
        break;
    case DECISION_POSITION_MARK:
        if (m_pMarkedOpponent && Distance2D(m_vPosition, GetTarget()) <= 70)
            m_fFacingTarget = fDefault;
        else
            face(GetTarget());
        break;
    case DECISION_PASS:
        if (m_byOnBallPressure < 2 && m_pDecisionPartner)
            face(m_pDecisionPartner->GetPosition());
        else
            m_fFacingTarget = GetEvasionFacing();
        break;
    case DECISION_PROTECT_GOAL:
        m_fFacingTarget = fDefault;
        break;
    case DECISION_ARGUE:
        // Whom he argues with comes with the players' reactions.
        face(GetTarget());
        break;
    case DECISION_JUDGE:
        DebugLog(0, "Match Error : (Player)SetFacingTarget - A Player is Judging the match!");
        break;
    default:
        DebugLog(0, "Match Error : (Player)SetFacingTarget - Current Aim");
        break;
    }
}

void CMatchPlayer::SetFacingTargetEvent()
{
    const CMatchBall* pBall = m_Engine.GetBall();
    if (m_bHasBall && pBall)
        m_fFacingTarget = float(m_vPosition.GetAngleTo(pBall->GetPosition()));
    else
        m_fFacingTarget = m_fBallAngle;
}

void CMatchPlayer::SetFacingTargetSpecialRole()
{
    const uint8_t byEvent = m_Engine.GetMatchEvent();
    const CMatchBall* pBall = m_Engine.GetBall();
    auto face = [this](const CVector& p) { m_fFacingTarget = float(m_vPosition.GetAngleTo(p)); };
    auto faceOpposingGoal = [&]() {
        if (m_pOpponentClub) {
            CVector goal;
            m_pOpponentClub->GetGoalPosition(goal);
            face(goal);
        }
    };
    auto findRole = [this](uint8_t byRole) -> const CMatchPlayer* {
        for (int i = 0; i < m_pClub->GetOnPitchCount(); ++i)
            if (const CMatchPlayer* p = m_pClub->GetSlot(i); p && p->GetSpecialRole() == byRole)
                return p;
        return nullptr;
    };
    switch (m_bySpecialRole) {
    case ROLE_FETCHER:
        if (pBall)
            face(pBall->GetPosition());
        break;
    case ROLE_OFFSIDE_TRAP:
        DebugLog(0, "Match Error : (Player)SetFacingTarget - OFFSIDE_TRAP");
        break;
    case ROLE_EVENT_PLAYER:
        if (!m_bHasBall) {
            m_fFacingTarget = m_fBallAngle;
        } else if (byEvent == MATCHEVENT_KICKOFF) {
            m_fFacingTarget = float(m_pClub->AttacksHighEnd() ? kPi / 4 : -kPi / 4);
        } else if (byEvent >= MATCHEVENT_THROWIN && byEvent <= MATCHEVENT_PENALTY) {
            const CMatchPlayer* pSecond = byEvent == MATCHEVENT_THROWIN ? findRole(ROLE_SECOND_EVENT_PLAYER) : nullptr;
            if (pSecond)
                face(pSecond->GetPosition());
            else
                faceOpposingGoal();
        } else {
            DebugLog(0, "Match Error : CMatchPlayer:SetFacingTarget - EventPlayer on none Event player event");
        }
        break;
    case ROLE_SECOND_EVENT_PLAYER:
        if (byEvent == MATCHEVENT_KICKOFF || byEvent == MATCHEVENT_THROWIN) {
            if (const CMatchPlayer* pTaker = findRole(ROLE_EVENT_PLAYER))
                face(pTaker->GetPosition());
        } else if (byEvent >= MATCHEVENT_GOALKICK && byEvent <= MATCHEVENT_PENALTY) {
            faceOpposingGoal();
        } else {
            DebugLog(0, "Match Error : CMatchPlayer:SetFacingTarget - SecondEventPlayer on none Event player event");
        }
        break;
    case ROLE_BENCH:
        m_fFacingTarget = 0.0f;
        break;
    default:
        DebugLog(0, "Match Error : (Player)SetFacingTarget - Default Special role");
        break;
    }
}

float CMatchPlayer::GetEvasionFacing() const
{
    const CMatchPlayer* pNearest = m_pOpponentClub ? m_pOpponentClub->GetNearestPlayer(m_vPosition, nullptr) : nullptr;
    if (!pNearest)
        return float(m_vPosition.GetAngleTo(GetTarget()));
    const double a = WrapAngle(m_vPosition.GetAngleTo(pNearest->GetPosition()) + kPi);
    return float(WrapAngle(a + 0.3 * WrapAngle(m_vPosition.GetAngleTo(GetTarget()) - a)));
}

float CMatchPlayer::GetPathDanger(const CMatchClub& club, const CVector& from, const CVector& to, int32_t nSpeed)
{
    nSpeed = std::max(1, nSpeed);
    const int64_t c = int64_t(to.x) - from.x, d = int64_t(to.y) - from.y;
    const int64_t nLength = ApproximateLength(c, d);
    float fDanger = 0.0f;
    for (int i = 0; i < club.GetOnPitchCount(); ++i) {
        const CMatchPlayer* p = club.GetSlot(i);
        if (!p || !p->IsActive())
            continue;
        const CVector& pos = p->GetPosition();
        CVector nearest = from;
        int32_t nGap;
        const int64_t pa = int64_t(pos.x) - from.x, pb = int64_t(pos.y) - from.y;
        if (nLength == 0 || c * pa + d * pb < 0) {
            nGap = Distance2D(pos, from);
        } else if ((int64_t(to.x) - pos.x) * c + (int64_t(to.y) - pos.y) * d < 0) {
            nearest = to;
            nGap = Distance2D(pos, to);
        } else {
            const int64_t nCross = pa * d - pb * c;
            nGap = int32_t((nCross < 0 ? -nCross : nCross) / nLength);
            nearest = ProjectOntoPath(pos, from, to);
        }
        const float fBallTime = float(Distance2D(from, nearest)) / float(nSpeed);
        const int32_t nPlayerSpeed = std::max(1, p->GetSpeed() != 0 ? p->GetSpeed() : p->GetPace(GRADES_NO_BALL));
        const float fMargin = fBallTime - 2.0f * float(nGap) / float(nPlayerSpeed);
        if (fMargin > 0.0f)
            fDanger += std::max(0.2f, fMargin);
    }
    return fDanger;
}

float CMatchPlayer::GetPathSafety(const CMatchClub& club, const CVector& from, const CVector& to, int32_t nSpeed)
{
    const CMatchClub* pOpponent = club.GetOpponent();
    const float s = pOpponent ? GetPathDanger(*pOpponent, from, to, nSpeed) : 0.0f;
    return s < 1.0f ? 1.0f - s : 0.0f;
}

int32_t CMatchPlayer::GetDistanceOutsideBase(const CVector& point) const
{
    return std::max(0, Distance2D(point, m_vBasePosition) - m_nRoamingRadius);
}

float CMatchPlayer::GetShotPositionRating(const CVector& point) const
{
    const int32_t nProgress = m_pClub->AttacksHighEnd() ? point.x - m_vPosition.x : m_vPosition.x - point.x;
    return float(uint8_t(50 + nProgress / 10)) * 0.01f;
}

float CMatchPlayer::GetGoalCloseness(const CVector& point) const
{
    if (!m_pOpponentClub)
        return 0.0f;
    CVector goal;
    m_pOpponentClub->GetGoalPosition(goal);
    return float(std::min(99, 100 - Distance2D(goal, point) / 100)) * 0.01f;
}

CVector CMatchPlayer::ProjectOntoPath(const CVector& point, const CVector& from, const CVector& to)
{
    const int64_t c = int64_t(to.x) - from.x, d = int64_t(to.y) - from.y;
    if (c == 0 && d == 0)
        return from;
    const int64_t pa = int64_t(point.x) - from.x, pb = int64_t(point.y) - from.y;
    if (c * pa + d * pb < 0)
        return from;
    const int64_t nCross = pa * d - pb * c;
    const double p = double(nCross < 0 ? -nCross : nCross) / double(ApproximateLength(c, d));
    const double fAlong = std::sqrt(std::max(0.0, double(pa * pa + pb * pb) - p * p));
    const double fLength = std::sqrt(double(c * c + d * d));
    return CVector(from.x + TruncateToInt(c / fLength * fAlong), from.y + TruncateToInt(d / fLength * fAlong), from.z);
}
