// The footballer's kick candidates: passes, shots, crosses, clearances, long
// balls and runs. Each rates itself and replaces the decision only when it
// beats the best kick rating so far, so that the order the candidates are
// tried in never decides between two of equal worth.
#include "match/actors/CMatchPlayer.h"

#include "common/DebugLog.h"
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "platform/Random.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr float kNoKickRating = -9999999.0f;
// A shot loses a point of quality per shooting order point over the first
// of these distances, and beyond the depth of the penalty area also over the
// second.
constexpr double kShotQualityDistance = 2000.0;
constexpr int32_t kPenaltyAreaDepth = 1650;
constexpr double kLongShotQualityDistance = 1000.0;

int32_t Distance2D(const CVector& a, const CVector& b)
{
    return IntegerRoot(a.SquaredDistance2D(b));
}

bool OnPitch(const CVector& p)
{
    return p.x >= 0 && p.x <= PITCH_LENGTH && p.y >= 0 && p.y <= PITCH_WIDTH;
}

// Position values of the 8 x 4 cells of the pitch seen from the attacking
// club: x band, then y band.
constexpr uint8_t kPositionValues[8][4] = {{25, 0, 0, 25},   {30, 20, 20, 30}, {70, 50, 50, 70}, {80, 70, 70, 80},
                                           {80, 80, 80, 80}, {85, 80, 80, 85}, {92, 90, 90, 92}, {95, 100, 100, 95}};
// A ball ending in front of the own goal.
constexpr int8_t kOwnGoalDanger[3][4] = {{-10, -50, -50, -10}, {0, -30, -30, 0}, {0, -10, -10, 0}};

// The crowd factor of a target: none without a team-mate near it, full
// without an opponent, else the share of team-mates against twice the
// opponents.
float CrowdFactor(int nOwn, int nOpponents)
{
    if (nOwn == 0)
        return 0.0f;
    if (nOpponents == 0)
        return 1.0f;
    return float(nOwn) / float(2 * nOpponents);
}

}  // namespace

float CMatchPlayer::GetInstructionWeight(int nWeight) const
{
    return nWeight >= 0 && nWeight < INSTRUCTION_WEIGHTS ? float(m_abyInstructionWeights[nWeight]) : 0.0f;
}

void CMatchPlayer::SetKickTarget(const CVector& point)
{
    m_bMovingTarget = false;
    m_vKickPoint = point;
    const CMatchBall* pBall = m_Engine.GetBall();
    const bool bInHands = pBall && pBall->GetHolder() == this && pBall->IsHeldInHands();
    m_byKickKind = !bInHands ? 0 : m_bySquadPosition == 0 ? 4 : 3;
    m_nCurrentKickSpeed = std::max(1, m_aKicks[m_byKickKind].nKickSpeed);
    m_fBestKickRating = kNoKickRating;
}

uint8_t CMatchPlayer::GetPositionValue(const CVector& point) const
{
    const int32_t x = m_pClub->AttacksHighEnd() ? point.x : PITCH_LENGTH - point.x;
    const int32_t y = m_pClub->AttacksHighEnd() ? point.y : PITCH_WIDTH - point.y;
    return kPositionValues[std::clamp(x / 1250, 0, 7)][std::clamp(y / 1875, 0, 3)];
}

int8_t CMatchPlayer::GetOwnGoalDangerRating(const CVector& from, const CVector& to) const
{
    auto cell = [this](const CVector& p, int& cx, int& cy) {
        const int32_t x = m_pClub->AttacksHighEnd() ? p.x : PITCH_LENGTH - p.x;
        const int32_t y = m_pClub->AttacksHighEnd() ? p.y : PITCH_WIDTH - p.y;
        cx = std::clamp(x / 1250, 0, 7), cy = std::clamp(y / 1875, 0, 3);
    };
    auto value = [](int cx, int cy) { return cx < 3 ? kOwnGoalDanger[cx][cy] : 0; };
    int x0, y0, x1, y1;
    cell(to, x0, y0);
    cell(from, x1, y1);
    // A short grid line from the end of the kick back towards its start.
    const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    const int sx = x1 > x0 ? 1 : -1, sy = y1 > y0 ? 1 : -1;
    const bool bAlongX = dx >= dy;
    const int nMain = bAlongX ? dx : dy, nSide = bAlongX ? dy : dx;
    int nSum = 0, nError = nMain / 2, x = x0, y = y0;
    for (int n = 0; n < 2; ++n) {
        nSum += value(x, y);
        if ((bAlongX ? x : y) == (bAlongX ? x1 : y1))
            break;
        if (bAlongX)
            x += sx;
        else
            y += sy;
        nError -= nSide;
        if (nError < 0) {
            nError += nMain;
            if (bAlongX)
                y += sy;
            else
                x += sx;
        }
    }
    return int8_t(nSum);
}

float CMatchPlayer::GetSpaceFactor(const CVector& point) const
{
    const int32_t d = m_pOpponentClub ? m_pOpponentClub->GetNearestPlayerDistance(point) : 999999999;
    if (d >= 800)
        return 100.0f;
    return float(100 - (800 - d) * 60 / 800) * 0.01f;
}

bool CMatchPlayer::IsBeyondOffsideLine(int32_t* pnDistance) const
{
    if (!m_pOpponentClub)
        return false;
    const CMatchBall* pBall = m_Engine.GetBall();
    const bool bHigh = m_pClub->AttacksHighEnd();
    auto inOpponentsHalf = [bHigh](int32_t x) { return bHigh ? x > 5000 : x < 5000; };
    if (!pBall || !inOpponentsHalf(m_vPosition.x) || !inOpponentsHalf(pBall->GetPosition().x))
        return false;
    const int32_t nLine = m_pOpponentClub->GetOffsideLine();
    const int32_t d = bHigh ? m_vPosition.x - nLine : nLine - m_vPosition.x;
    if (pnDistance)
        *pnDistance = d;
    return d > 0;
}

int32_t CMatchPlayer::GetMaximumVerticalKickSpeed(uint8_t byDecision) const
{
    switch (byDecision) {
    case DECISION_PASS: return 1000;
    case DECISION_CROSS: return 2000;
    case DECISION_SHOOT: return 100000;
    case DECISION_CLEAR: return 1000;
    case DECISION_LONG_BALL: return 2000;
    default: DebugLog(6, "CMatchPlayer::GetMaximumVerticalKickSpeed: Invalid Aim %d", byDecision); return 0;
    }
}

void CMatchPlayer::TakeKickCandidate(float fRating, const CVector& aim, uint8_t byDecision, CMatchPlayer* pPartner,
                                     float fFlightTime, uint8_t bySafety)
{
    m_fBestKickRating = fRating;
    SetHoldTarget(aim);
    SetDecision(byDecision);
    m_pDecisionPartner = pPartner;
    m_fFlightTime = fFlightTime;
    m_byKickSafety = bySafety;
    m_bCurl = false;
}

int CMatchPlayer::InterceptSafety(const CVector& from, const CVector& to, int32_t nSpeed) const
{
    return 100 - (m_pOpponentClub ? m_pOpponentClub->GetPassInterceptRating(from, to, nSpeed) : 0);
}

uint8_t CMatchPlayer::GetAdvanceRating(const CVector& point) const
{
    int32_t nReference = m_vPosition.x;
    if (m_Engine.GetMatchEvent() != MATCHEVENT_NONE && m_Engine.GetBall())
        nReference = m_Engine.GetBall()->GetPosition().x;  // the ball lies on the spot
    int32_t nProgress;
    if (m_pClub->AttacksHighEnd())
        nProgress = point.x - std::max(nReference, 3000);
    else
        nProgress = std::min(nReference, 7000) - point.x;
    const int nAdvance = GetTacticsAdvance();
    if (nProgress > 2500)
        return uint8_t(100 + nAdvance);
    const int n = 100 + TruncateToInt(double(nAdvance) * nProgress / 2500.0);
    return uint8_t(n < 100 - 79 ? 20 : n);
}

int CMatchPlayer::GetPassRating(const CVector& point) const
{
    return std::clamp(GetOwnGoalDangerRating(m_vKickPoint, point) + GetAdvanceRating(point), 0, 100);
}

bool CMatchPlayer::TryPassTo(CMatchPlayer& mate)
{
    const CVector target = GetPassLeadPoint(mate, 1.0f);
    const int32_t d = Distance2D(m_vKickPoint, target);
    if (d == 0)
        return false;
    if (d < 500 && Distance2D(mate.GetPosition(), target) > d)
        return false;  // a short pass he would have to run back for
    const float fPreference = GetInstructionWeight(WEIGHT_PASS) * float(GetPassRating(target)) * 0.01f;
    if (!(fPreference > m_fBestKickRating))
        return false;
    const float fFlight = float(d) / float(m_nCurrentKickSpeed) + 1.0f;
    const int s = InterceptSafety(m_vKickPoint, target, std::max(1, TruncateToInt(d / fFlight)));
    float fRating = float(s) * fPreference * 0.01f;
    if (m_bMovingTarget)
        fRating *= 0.5f;
    if (!(fRating > m_fBestKickRating))
        return false;
    TakeKickCandidate(fRating, target, DECISION_PASS, &mate, fFlight, uint8_t(s));
    return true;
}

bool CMatchPlayer::TryPass()
{
    const int64_t nRange = m_aKicks[3].nMaxRange;
    const int64_t nRadiusSquared = nRange * nRange + 250000;
    const bool bHigh = m_pClub->AttacksHighEnd();
    const int c = std::clamp(bHigh ? m_vPosition.x / 1000 : 9 - m_vPosition.x / 1000, 0, 9);
    const int k = int(GetLongBallColumnWeight(c) * m_pClub->GetTeamOrder(ORDER_ADVANCE));
    CMatchPlayer* pReceiver = m_pClub->GetNearestPlayerExcept(m_vPosition, this, nullptr);
    int32_t nBestDepth = 0, nBestSpace = 0;
    bool bBestBlocked = false;
    const CMatchBall* pBall = m_Engine.GetBall();
    for (int i = 0; i < m_pClub->GetOnPitchCount(); ++i) {
        CMatchPlayer* p = m_pClub->GetSlot(i);
        if (!p || p == this || p->GetSquadPosition() == 0 || !OnPitch(p->GetPosition()))
            continue;
        const int64_t dx = int64_t(p->GetPosition().x) - m_vPosition.x, dy = int64_t(p->GetPosition().y) - m_vPosition.y;
        if (dx * dx + dy * dy > nRadiusSquared)
            continue;
        const bool bBlocked = pBall && pBall->IsPathObstructed(m_vPosition, p->GetPosition());
        const int32_t nSpace = m_pOpponentClub ? m_pOpponentClub->GetNearestPlayerDistance(p->GetPosition()) : 999999999;
        const int32_t nDepth = bHigh ? PITCH_LENGTH - p->GetPosition().x : p->GetPosition().x;
        if (k > 50) {
            if (nDepth > nBestDepth && !(bBlocked && !bBestBlocked)) {
                nBestDepth = nDepth, bBestBlocked = bBlocked, nBestSpace = nSpace, pReceiver = p;
            } else if (int32_t(nDepth * 1.5) > nBestDepth && nSpace > int32_t(nBestSpace * 1.5)) {
                nBestDepth = nDepth, bBestBlocked = bBlocked, pReceiver = p;
            }
        } else if (!bBlocked && bBestBlocked) {
            nBestDepth = nDepth, bBestBlocked = bBlocked, pReceiver = p;
        } else if (bBlocked == bBestBlocked && nSpace > nBestSpace) {
            nBestDepth = nDepth, bBestBlocked = bBlocked, pReceiver = p;
        }
    }
    SetKickTarget(m_vPosition);
    return pReceiver && TryPassTo(*pReceiver);
}

bool CMatchPlayer::TryPassToTeamMates()
{
    const int nVision = m_abyRatings[RATING_PASS_VISION_IN_PLAY];
    const int nPressure = GetKickerPressure();
    const int nSpread = std::max(1, nVision / 4);
    bool bTried = false, bTaken = false;
    int nBestScore = 0;
    CMatchPlayer* pBest = nullptr;
    for (int i = m_pClub->GetOnPitchCount() - 1; i >= 0; --i) {
        CMatchPlayer* p = m_pClub->GetSlot(i);
        if (!p || p == this || !OnPitch(p->GetPosition()) || p->IsBeyondOffsideLine(nullptr))
            continue;
        const int s = (nVision + GetViewRating(p->GetPosition())) / 2;
        const int r = plat::rand() % nSpread;
        if (nPressure - r < s) {
            bTaken = TryPassTo(*p) || bTaken;
            bTried = true;
        } else if (s > nBestScore) {
            nBestScore = s, pBest = p;
        }
    }
    if (!bTried && pBest)
        bTaken = TryPassTo(*pBest);
    return bTaken;
}

void CMatchPlayer::ChoosePassAgainAtStrike()
{
    // The pass was chosen as the kick began, some half a second before the
    // foot meets the ball: by then the receiver has run on and the
    // opponents have closed in. He picks his pass again from where everyone
    // stands now, within the quarter turn the kick allows, and keeps the
    // first one when no pass there is the better for it.
    const CMatchBall* pBall = m_Engine.GetBall();
    if (m_byDecision != DECISION_PASS || !m_pDecisionPartner || m_bMovingTarget || !pBall ||
        pBall->GetHolder() != this || pBall->IsHeldInHands() || m_Engine.GetMatchEvent() != MATCHEVENT_NONE)
        return;
    const CVector vAim = GetTarget();
    CMatchPlayer* const pPartner = m_pDecisionPartner;
    const float fFlight = m_fFlightTime, fBest = m_fBestKickRating;
    const uint8_t bySafety = m_byKickSafety;
    m_vKickPoint = pBall->GetPosition();
    const int32_t d = Distance2D(m_vKickPoint, vAim);
    const int nSafetyNow = InterceptSafety(m_vKickPoint, vAim, std::max(1, TruncateToInt(d / std::max(fFlight, 0.1f))));
    m_fBestKickRating = kNoKickRating;
    const bool bChosen = TryPassToTeamMates();
    const double fTurn = WrapAngle(m_vPosition.GetAngleTo(GetTarget()) - double(m_fFacing));
    if (bChosen && m_byKickSafety > nSafetyNow && std::fabs(fTurn) <= kPi / 4)
        return;
    TakeKickCandidate(fBest, vAim, DECISION_PASS, pPartner, fFlight, bySafety);
}

bool CMatchPlayer::TryShootAt(const CVector& point, int nAccuracy)
{
    const int32_t d = Distance2D(m_vKickPoint, point);
    if (nAccuracy == -1)
        nAccuracy = 100 - (m_pOpponentClub ? m_pOpponentClub->GetShotBlockRating(m_vKickPoint, point, m_nCurrentKickSpeed)
                                            : 0);
    const float fRating = float(nAccuracy) * GetInstructionWeight(WEIGHT_SHOOTING) * 0.01f;
    if (!(fRating > m_fBestKickRating))
        return false;
    // The chance worsens with distance, and quickly from beyond the penalty
    // area, where a shot seldom beats the keeper: it waits for a nearer one.
    const double fShooting = GetTacticsShooting();
    const int nLoss = TruncateToInt(fShooting * d / kShotQualityDistance +
                                    fShooting * std::max(0, d - kPenaltyAreaDepth) / kLongShotQualityDistance);
    const uint8_t byQuality = uint8_t(std::clamp(100 - nLoss, 0, 100));
    TakeKickCandidate(fRating, point, DECISION_SHOOT, nullptr, float(d) / float(m_nCurrentKickSpeed),
                      uint8_t(byQuality * nAccuracy / 100));
    return true;
}

bool CMatchPlayer::ChooseShotTarget()
{
    if (!m_pOpponentClub)
        return false;
    CVector goal;
    m_pOpponentClub->GetGoalPosition(goal);
    switch (m_Engine.GetMatchEvent()) {
    case MATCHEVENT_DIRECTFREEKICK: {
        bool bTaken = false;
        for (int nTry = 0; nTry < 2; ++nTry) {
            const CVector aim = goal + kShotAimOffsets[plat::rand() % 3];
            const int nAccuracy = plat::rand() % 60 + 40;
            if (TryShootAt(aim, nAccuracy)) {
                bTaken = true;
                if (nTry == 1) {
                    m_bCurl = true;
                    m_vCurl = CVector(1000, 0, 0);
                }
            }
        }
        return bTaken;
    }
    case MATCHEVENT_PENALTY: {
        const bool bTaken = TryShootAt(goal + kShotAimOffsets[plat::rand() % 3], -1);
        m_byKickSafety = uint8_t(plat::rand() % 100);
        return bTaken;
    }
    default: {
        bool bTaken = false;
        for (const CVector& offset : kShotAimOffsets)
            bTaken = TryShootAt(goal + offset, -1) || bTaken;
        return bTaken;
    }
    }
}

bool CMatchPlayer::TryClearTo(const CVector& point)
{
    const float fPreference = float(GetAdvanceRating(point)) * 0.01f * GetOwnGoalCloseness(*m_pClub, m_vKickPoint) *
                              GetInstructionWeight(WEIGHT_CLEARANCE);
    if (!(fPreference > m_fBestKickRating))
        return false;
    const int s = InterceptSafety(m_vKickPoint, point, m_nCurrentKickSpeed);
    const float fRating = float(s) * fPreference * 0.01f;
    if (!(fRating > m_fBestKickRating))
        return false;
    const int32_t d = Distance2D(m_vKickPoint, point);
    TakeKickCandidate(fRating, point, DECISION_CLEAR, nullptr, float(d) / float(m_nCurrentKickSpeed), uint8_t(s));
    return true;
}

bool CMatchPlayer::TryClear()
{
    const CMatchBall* pBall = m_Engine.GetBall();
    if (pBall && pBall->GetHolder() == this && pBall->IsHeldInHands())
        return false;
    const bool bHigh = m_pClub->AttacksHighEnd();
    if (bHigh ? m_vKickPoint.x >= 5000 : m_vKickPoint.x <= 5000)
        return false;
    bool bTaken = TryClearTo(CVector(m_vKickPoint.x, m_vKickPoint.y > 3749 ? PITCH_WIDTH : 0, 0));
    const double fForward = bHigh ? kPi / 2 : -kPi / 2;
    const int32_t nRange = m_aKicks[m_byKickKind].nMaxRange;
    for (const double fTurn : {0.0, kPi / 8, -kPi / 8, kPi / 4, -kPi / 4, 3 * kPi / 8, -3 * kPi / 8}) {
        const double a = fForward + fTurn;
        const CVector point(m_vKickPoint.x + TruncateToInt(std::sin(a) * nRange),
                            m_vKickPoint.y + TruncateToInt(std::cos(a) * nRange), 0);
        bTaken = TryClearTo(point) || bTaken;
    }
    return bTaken;
}

bool CMatchPlayer::TryCrossTo(const CVector& point)
{
    const int32_t d = Distance2D(m_vKickPoint, point);
    const int nOwn = CountPlayersNear(*m_pClub, point, 200);
    const int nOpponents = m_pOpponentClub ? CountPlayersNear(*m_pOpponentClub, point, 200) : 0;
    const float fPreference = GetInstructionWeight(WEIGHT_CROSS) * CrowdFactor(nOwn, nOpponents);
    const float fFlight = std::max(2.0f, float(d) / float(m_nCurrentKickSpeed));
    const int32_t nSpeed = std::max(1, TruncateToInt(d / fFlight));
    CVector near = m_vKickPoint;
    if (d > 0) {
        near.x += int32_t(int64_t(point.x - m_vKickPoint.x) * 400 / d);
        near.y += int32_t(int64_t(point.y - m_vKickPoint.y) * 400 / d);
    }
    const int s = InterceptSafety(m_vKickPoint, near, nSpeed);
    if (!(fPreference > m_fBestKickRating))
        return false;
    TakeKickCandidate(fPreference, point, DECISION_CROSS, nullptr, fFlight, uint8_t(s));
    return true;
}

bool CMatchPlayer::TryCross()
{
    if (!m_pOpponentClub)
        return false;
    CVector goal;
    m_pOpponentClub->GetGoalPosition(goal);
    CMatchPlayer* pAimed = m_pClub->GetNearestPlayerExcept(goal, this, nullptr);
    if (!pAimed)
        return false;
    const int nLimit = (m_abyRatings[RATING_PASS_VISION_IN_PLAY] + GetViewRating(pAimed->GetPosition()) + 15) / 2;
    if (plat::rand() % 20 + GetKickerPressure() > nLimit)
        return false;
    if (!TryCrossTo(pAimed->GetPosition()))
        return false;
    if (m_Engine.GetMatchEvent() == MATCHEVENT_NONE) {
        // In open play the cross goes in front of him, level with the
        // defenders' line that he runs on to: aimed where he stood, some
        // 12 m behind that line, it was a ball played back that never
        // reached the box.
        CVector aim = GetTarget();
        const int32_t nLine = m_pOpponentClub->GetOffsideLine();
        aim.x = m_pClub->AttacksHighEnd() ? std::max(aim.x, nLine) : std::min(aim.x, nLine);
        SetHoldTarget(aim);
        m_fFlightTime = std::max(2.0f, float(Distance2D(m_vKickPoint, aim)) / float(m_nCurrentKickSpeed));
    }
    m_pDecisionPartner = pAimed;
    if (m_bySpecialRole == ROLE_EVENT_PLAYER && m_Engine.GetMatchEvent() == MATCHEVENT_CORNER) {
        // A corner bends in towards the goal.
        const double a = m_vPosition.GetAngleTo(GetTarget());
        const double fBent =
            WrapAngle((m_vPosition.y < 5000) == (m_vPosition.x < 5000) ? a - kPi / 2 : a + kPi / 2);
        const int m = plat::rand() % 500;
        m_vCurl = CVector(TruncateToInt(std::sin(fBent) * m), TruncateToInt(std::cos(fBent) * m), 0);
        m_bCurl = true;
    }
    return true;
}

CVector CMatchPlayer::GetLongBallGridPoint(int nLane, int nColumn)
{
    return CVector(1000 * (nColumn + 1), 1250 + 2500 * nLane, 0);
}

bool CMatchPlayer::TryLongBall()
{
    const bool bHigh = m_pClub->AttacksHighEnd();
    const uint8_t byEvent = m_Engine.GetMatchEvent();
    const int32_t nFromOwnLine = bHigh ? m_vKickPoint.x : PITCH_LENGTH - m_vKickPoint.x;
    const bool bRestart =
        byEvent == MATCHEVENT_GOALKICK || byEvent == MATCHEVENT_FREEKICK || byEvent == MATCHEVENT_DIRECTFREEKICK;
    const int nStart = std::max(0, nFromOwnLine / 1000 + (bRestart ? 2 : 1));
    const int32_t nRange = m_aKicks[m_byKickKind].nMaxRange;
    bool bTaken = false;
    for (int nLane = 0; nLane < 3; ++nLane) {
        for (int c = nStart; c <= 8; ++c) {
            CVector point = GetLongBallGridPoint(nLane, c);
            if (!bHigh)
                point.x = PITCH_LENGTH - point.x;
            if (Distance2D(m_vPosition, point) > nRange)
                break;
            const float fPlace = GetLongBallColumnWeight(c - nStart) * GetLongBallLaneWeight(nLane);
            bTaken = TryLongBallTo(point, fPlace) || bTaken;
        }
    }
    return bTaken;
}

bool CMatchPlayer::TryLongBallTo(const CVector& point, float fPlaceWeight)
{
    const int32_t D = Distance2D(m_vPosition, point);
    if (D <= 20 || D > m_aKicks[m_byKickKind].nMaxRange)
        return false;
    const int nOwn = CountPlayersNear(*m_pClub, point, 1500);
    const int nOpponents = m_pOpponentClub ? CountPlayersNear(*m_pOpponentClub, point, 1500) : 0;
    const float fPreference =
        GetInstructionWeight(WEIGHT_LONG_BALL) * fPlaceWeight * CrowdFactor(nOwn, nOpponents);
    const CVector near(m_vKickPoint.x + int32_t(int64_t(point.x - m_vKickPoint.x) * 500 / D),
                       m_vKickPoint.y + int32_t(int64_t(point.y - m_vKickPoint.y) * 500 / D), 0);
    const int s = InterceptSafety(m_vKickPoint, near, m_nCurrentKickSpeed * 3 / 4);
    const float fRating = float(s) * fPreference * 0.01f;
    if (!(fRating > m_fBestKickRating))
        return false;
    TakeKickCandidate(fRating, point, DECISION_LONG_BALL, m_pClub->GetNearestPlayer(point, nullptr),
                      std::max(2.2f, float(D) / float(m_nCurrentKickSpeed)), uint8_t(s));
    return true;
}

bool CMatchPlayer::TryMakeRun()
{
    const CVector candidate(m_vKickPoint.x + (m_pClub->AttacksHighEnd() ? 500 : -500), m_vKickPoint.y, 0);
    const float fClearance =
        float(m_pOpponentClub ? m_pOpponentClub->GetPathClearance(m_vKickPoint, candidate) : 100) * 0.01f;
    static constexpr float kGreed[10] = {1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.1f, 1.2f, 1.4f};
    const float fPreference = GetInstructionWeight(WEIGHT_RUN) * fClearance * GetGoalCloseness(m_vBasePosition) *
                              kGreed[std::min(m_abyRatings[RATING_GREED] / 10, 9)];
    const int nDribbling = m_abyRatings[RATING_DRIBBLING];
    int k = 10 - nDribbling / 10;
    k = k == 0 ? 1 : k;
    const int nLeft = plat::rand() % 20 + GetKickerPressure() - 10;
    const int nRight = (plat::rand() % k - k / 2) + nDribbling;
    if (nLeft > nRight || !(fPreference > m_fBestKickRating))
        return false;
    m_fBestKickRating = fPreference;
    SetHoldTarget(m_vBasePosition);
    SetDecision(DECISION_MAKE_RUN);
    m_pDecisionPartner = nullptr;
    return true;
}

bool CMatchPlayer::MakeAimOverrideDecision()
{
    switch (m_byAimOverride) {
    case AIMOVERRIDE_NONE:
        return false;
    case AIMOVERRIDE_REFEREE:
        // Called over while the referee shows a card; nobody shows one now.
        m_byAimOverride = AIMOVERRIDE_NONE;
        return false;
    case AIMOVERRIDE_AWAIT_PASS:
        if (m_pAimSource && m_pAimSource->GetAction() == ACTION_KICKING) {
            SetTarget(m_pAimSource->GetTarget(), kNoFacing);
            SetDecision(DECISION_POSITION_BASE);
            return true;
        }
        m_byAimOverride = AIMOVERRIDE_NONE;
        m_pAimSource = nullptr;
        return false;
    default:
        DebugLog(0, "[CMatchPlayer::MakeAimOverrideDecision] Invalid override: %d", m_byAimOverride);
        return false;
    }
}
