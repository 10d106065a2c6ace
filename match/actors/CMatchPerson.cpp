#include "match/actors/CMatchPerson.h"

#include "common/DebugLog.h"
#include "match/CMatchBall.h"
#include "match/CMatchEngine.h"

#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
}

CMatchPerson::CMatchPerson(CMatchEngine& engine, uint8_t byPersonType) : m_Engine(engine), m_byPersonType(byPersonType)
{
    if (engine.GetMatchType() != 0) {
        m_pReplayRing = std::make_unique<CRingBuffer<PERSONREPLAYRECORD>>(kReplayCapacity);
        PERSONREPLAYRECORD* pRecord = m_pReplayRing->Write(engine.GetMatchTime());
        pRecord->vPosition = m_vPosition;
        pRecord->fFacing = m_fFacing;
    }
}

bool CMatchPerson::GetFacingOverride(float*)
{
    return false;
}

float CMatchPerson::GetTurnToTarget(const CVector& point, float* pfTurn)
{
    const double fAngle = m_vPosition.GetAngleTo(point);
    const double fTurn = WrapAngle(fAngle - m_fFacing);
    if (pfTurn)
        *pfTurn = float(fTurn);
    if (std::fabs(fTurn) > kPi / 2)
        return kTurnTooFar;
    if (fTurn < -kPi / 4) {
        if (pfTurn)
            *pfTurn = float(-kPi / 4);
        return float(m_fFacing - kPi / 4);
    }
    if (fTurn > kPi / 4) {
        if (pfTurn)
            *pfTurn = float(kPi / 4);
        return float(m_fFacing + kPi / 4);
    }
    return float(fAngle);
}

float CMatchPerson::AssessPosition(const CVector& point)
{
    const int32_t d = IntegerRoot(uint32_t(point.SquaredDistance2D(m_vTarget)));
    if (d == 0)
        return 1.0f;
    if (d < 3000)
        return 1.0f - d / 6000.0f;
    return 0.5f - (d - 3000) / 14000.0f;
}

float CMatchPerson::GetDistanceRating(const CVector& a, const CVector& b, int32_t nKnee, float fValueAtKnee)
{
    const int32_t d = IntegerRoot(uint32_t(a.SquaredDistance2D(b)));
    if (d == 0)
        return 1.0f;
    if (nKnee > 0 && d < nKnee)
        return 1.0f - d * fValueAtKnee / nKnee;
    if (nKnee >= 10000)
        return fValueAtKnee;
    return fValueAtKnee - (d - nKnee) * (1.0f - fValueAtKnee) / (10000 - nKnee);
}

void CMatchPerson::SetFacingTarget()
{
    if (m_byPersonType == PERSONTYPE_ASSISTANTREFEREE) {
        m_fFacingTarget = m_vPosition.y >= GOAL_CENTRE_Y ? float(kPi) : 0.0f;
        return;
    }
    if (m_byDecision != 0)
        m_fFacingTarget = float(m_vPosition.GetAngleTo(m_vTarget));
    else if (!m_bHasBall)
        m_fFacingTarget = m_fRestFacing;
    else
        m_fFacingTarget = float(m_vPosition.GetAngleTo(CVector(5000, GOAL_CENTRE_Y, 0)));
}

bool CMatchPerson::HasReachedTarget(const CVector& point)
{
    if (m_bRunningToTarget)
        return m_nDistanceToTarget < 100;
    return AssessPosition(point) >= m_fReachRating;
}

bool CMatchPerson::IsPositionFree(const CVector& point, bool)
{
    // The penalty-area condition belongs to the footballer and his club.
    if (m_Engine.IsPathBlocked(m_vPosition, point, 25, m_bAvoidGoalZones))
        return false;
    if (m_bAvoidPersons && m_Engine.IsPathBlockedByPerson(m_vPosition, point, 25, this))
        return false;
    return true;
}

void CMatchPerson::Update()
{
    if (m_bRequestPending || m_dwAnimationTimeLeft > MATCH_TICK_MS) {
        UpdateWhileBusy();
        return;
    }
    if (!m_bUnderDecisionControl)
        return;  // steered by the user's input
    PreUpdate();
    if (!IsDecisionDue()) {
        UpdateIdle();
        return;
    }
    const uint32_t dwStanding = m_Engine.GetMatchTime() - m_dwStandingSince;
    if (dwStanding < 5000 || !m_bRunningToTarget || m_nDistanceToTarget < 70) {
        m_bAvoidPersons = !m_Engine.IsPersonCrowded(this);
        m_bAvoidGoalZones = true;
    } else {
        // Stuck for 5 s on the way to a far target: walk through.
        m_bAvoidPersons = false;
        m_bAvoidGoalZones = false;
    }
    MakeDecision();
    SetFacingTarget();
    ChooseSpeedGrade();
}

void CMatchPerson::UpdateAnimation(uint16_t)
{
    DebugLog(6, "[CMatchPerson::UpdateAnimation] Model not initialised");
}

bool CMatchPerson::IsDecisionDue() const
{
    return m_bActive && !m_bHeldForReferee && m_Engine.GetMatchTime() >= m_dwNextDecisionTime;
}

void CMatchPerson::SetDecisionDelay(float fSeconds)
{
    // A negative delay means at once, never 49 days ahead.
    const int32_t nDelay = TruncateToInt(double(fSeconds) * 1000.0);
    m_dwNextDecisionTime = m_Engine.GetMatchTime() + uint32_t(nDelay > 0 ? nDelay : 0);
}

void CMatchPerson::SetTarget(const CVector& point, float fFacingAtTarget)
{
    m_bRunningToTarget = true;
    m_vTarget = point;
    m_Engine.FindPathAroundZones(this, m_vPosition, m_vTarget);
    m_Engine.IsPointInZone(m_vTarget, 50);
    // The footballer's club keeps him inside its play area; that joins with the clubs.
    m_vTarget.z = 0;
    m_nDistanceToTarget = IntegerRoot(uint32_t(m_vPosition.SquaredDistance2D(m_vTarget)));
    m_fFacingAtTarget = fFacingAtTarget;
    m_bFacingAtTargetWanted = fFacingAtTarget >= 0.0f;
}

void CMatchPerson::SetHoldTarget(const CVector& point)
{
    m_vTarget = point;
    m_bRunningToTarget = false;
    m_bFacingAtTargetWanted = false;
    m_fFacingAtTarget = kNoFacing;
    m_nDistanceToTarget = IntegerRoot(uint32_t(m_vPosition.SquaredDistance2D(m_vTarget)));
}

void CMatchPerson::SetPosition(const CVector& point)
{
    m_vPosition.Set(point.x, point.y, 0);
}

void CMatchPerson::SetPossession(bool bHasBall)
{
    m_bHasBall = bHasBall;
    m_bFacingOverrideWanted = false;
    if (m_bRunUp) {
        m_bRunUp = false;
        SetAction(0);
    }
    if (!bHasBall) {
        SetBallControl(0);
        return;
    }
    m_dwPossessionTime = m_Engine.GetMatchTime();
    m_vPossessionPosition = m_vPosition;
    SetBallControl(2);
}

void CMatchPerson::SetBallControl(uint8_t byState)
{
    if (!m_bReplaying && byState == 0 && m_byMoveType == 8)
        m_byMoveType = 0;
    m_byBallReleaseState = byState;
    if (CMatchBall* pBall = m_Engine.GetBall())
        pBall->SetReceiverWaiting(byState);
}

void CMatchPerson::SetReleaseTarget(const CVector& target, float fSeconds)
{
    m_vReleaseTarget = target;
    m_fReleaseTime = fSeconds;
}

void CMatchPerson::ReleaseBall()
{
    if (CMatchBall* pBall = m_Engine.GetBall())
        pBall->PlayTo(m_vReleaseTarget, m_fReleaseTime, this);
    SetBallControl(1);
}

void CMatchPerson::SetColour(uint32_t dwRGB)
{
    m_dwColour = dwRGB;
    const uint32_t dwMean = ((dwRGB >> 16 & 0xFF) + (dwRGB >> 8 & 0xFF) + (dwRGB & 0xFF)) / 3;
    m_dwLabelColour = dwMean >= 128 ? 0x000000 : 0xFFFFFF;
}

uint32_t CMatchPerson::GetTimeSinceMoment() const
{
    const uint32_t dwNow = m_Engine.GetMatchTime();
    return dwNow > m_dwStoredMoment ? dwNow - m_dwStoredMoment : 0;
}

bool CMatchPerson::IsAngleNearFacingTarget(float fAngle) const
{
    return std::fabs(WrapAngle(double(fAngle) - m_fFacingTarget)) < kPi / 4;
}

void CMatchPerson::SetMotion(int32_t nSpeedPerFrame, uint32_t dwAnimationTimeLeft)
{
    m_nSpeedPerFrame = nSpeedPerFrame;
    m_dwAnimationTimeLeft = dwAnimationTimeLeft;
}

CVector CMatchPerson::PredictPosition(float fSeconds) const
{
    const int64_t n = TruncateToInt(double(fSeconds) * 1000.0);
    if (int64_t(m_dwAnimationTimeLeft) > n)
        return m_vPosition;
    const double fDistance = double(n - m_dwAnimationTimeLeft) * m_nSpeedPerFrame / 42.0;
    return CVector(m_vPosition.x + TruncateToInt(std::sin(double(m_fFacing)) * fDistance),
                   m_vPosition.y + TruncateToInt(std::cos(double(m_fFacing)) * fDistance), 0);
}

uint8_t CMatchPerson::GetViewRating(const CVector& point) const
{
    const int32_t d = IntegerRoot(uint32_t(m_vPosition.SquaredDistance2D(point)));
    int32_t nDistancePart = d < 4000 ? (4000 - d) / 80 : 0;
    if (nDistancePart > 50)
        nDistancePart = 50;
    const double fDiff = WrapAngle(double(m_fFacing) - m_vPosition.GetAngleTo(point));
    int32_t nAnglePart = TruncateToInt((kPi - std::fabs(fDiff)) * 50.0 / kPi);
    if (nAnglePart > 50)
        nAnglePart = 50;
    return uint8_t(nDistancePart + nAnglePart);
}

const char* CMatchPerson::GetEventName() const
{
    return GetMatchEventName(m_Engine.GetMatchEvent());
}
