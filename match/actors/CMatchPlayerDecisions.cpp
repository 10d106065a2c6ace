// The footballer's decision measures: pressure from the nearest opponent,
// the pressure on a kicker, players near a point, the closeness of the own
// goal, where a pass should lead its receiver, the challenge roll, the cost
// of reaching the ball and going for it.
#include "match/actors/CMatchPlayer.h"

#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "platform/Random.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
// The farthest a pass is turned aside from an opponent near its line, at its end.
constexpr double kLeadShift = 300.0;
constexpr uint8_t kActionKicked = 3;
constexpr int32_t kSlowBall = 500;

int32_t Distance2D(const CVector& a, const CVector& b)
{
    return IntegerRoot(a.SquaredDistance2D(b));
}

}  // namespace

int32_t CMatchPlayer::GetNearestOpponentDistance() const
{
    const CMatchClub* pOpponents = m_pClub->GetOpponent();
    if (!pOpponents || m_byLineIndex >= 11)
        return 999999999;
    int32_t nNearest = 999999999;
    for (int o = 0; o < pOpponents->GetOnPitchCount() && o < 11; ++o) {
        const int32_t d = m_pClub->IsHome() ? m_Engine.GetPlayerDistance(m_byLineIndex, o)
                                            : m_Engine.GetPlayerDistance(o, m_byLineIndex);
        nNearest = std::min(nNearest, d);
    }
    return nNearest;
}

void CMatchPlayer::UpdatePressure()
{
    const CMatchBall* pBall = m_Engine.GetBall();
    const bool bInHands = pBall && pBall->GetHolder() == this && pBall->IsHeldInHands();
    m_byPressureLevel = 0;
    if (!bInHands) {
        const int32_t d = GetNearestOpponentDistance();
        m_byPressureLevel = d < 300 ? 3 : d < 600 ? 2 : d < 1100 ? 1 : 0;
    }
    m_byOnBallPressure =
        m_bHasBall && !bInHands && m_Engine.GetMatchEvent() == MATCHEVENT_NONE ? m_byPressureLevel : 0;
}

int CMatchPlayer::GetKickerPressure() const
{
    const int nDribbling = m_abyRatings[RATING_DRIBBLING];
    const double fReach = nDribbling > 1 ? 10000.0 / (nDribbling / 2) : 10000.0;
    const int32_t d = GetNearestOpponentDistance();
    if (d > fReach)
        return 0;
    return 100 - int(d / fReach * 100.0);
}

int CMatchPlayer::CountPlayersNear(const CMatchClub& club, const CVector& point, int32_t nRadius)
{
    const int64_t nLimit = int64_t(nRadius) * nRadius;
    int nCount = 0;
    for (int i = 0; i < club.GetOnPitchCount(); ++i)
        if (const CMatchPlayer* p = club.GetSlot(i); p && point.SquaredDistance2D(p->GetPosition()) <= nLimit)
            ++nCount;
    return nCount;
}

float CMatchPlayer::GetOwnGoalCloseness(const CMatchClub& club, const CVector& point)
{
    CVector goal;
    club.GetGoalPosition(goal);
    return std::max(0.0f, 1.0f - float(Distance2D(goal, point)) * 0.0002f);
}

CVector CMatchPlayer::GetPassLeadPoint(const CMatchPlayer& receiver, float fFactor) const
{
    CVector lead = receiver.GetPosition();
    if (receiver.GetSpeed() != 0) {
        const CVector& v = receiver.GetVelocity();
        lead.x += TruncateToInt(0.75 * fFactor * v.x);
        lead.y += TruncateToInt(0.75 * fFactor * v.y);
    }
    const CMatchClub* pOpponents = m_pClub->GetOpponent();
    if (pOpponents && (m_Engine.GetMatchEvent() == MATCHEVENT_NONE || m_bySpecialRole == ROLE_EVENT_PLAYER)) {
        // Away from the nearest opponent within 400 of the pass line.
        const CMatchPlayer* pNear = nullptr;
        int32_t nNearest = 401;
        for (int i = 0; i < pOpponents->GetOnPitchCount(); ++i) {
            const CMatchPlayer* p = pOpponents->GetSlot(i);
            if (!p)
                continue;
            const int32_t d = CMatchEngine::GetDistanceToPath(p->GetPosition(), m_vKickPoint, lead);
            if (d < nNearest)
                pNear = p, nNearest = d;
        }
        if (pNear) {
            const double dx = double(lead.x) - m_vKickPoint.x, dy = double(lead.y) - m_vKickPoint.y;
            const double ox = double(pNear->GetPosition().x) - m_vKickPoint.x;
            const double oy = double(pNear->GetPosition().y) - m_vKickPoint.y;
            // Headings grow clockwise: an opponent clockwise of the line
            // turns the pass the other way. The turn moves the ball to his
            // side by no more than a stride or two: turned by the whole
            // eighth, a long pass would go where the receiver cannot get.
            const double fLength = std::sqrt(dx * dx + dy * dy);
            const double fAngle = fLength > 0.0 ? std::min(kPi / 8, kLeadShift / fLength) : 0.0;
            const double fTurn = dx * oy - dy * ox < 0.0 ? -fAngle : fAngle;
            const double a = std::atan2(dx, dy) + fTurn;
            lead.x = m_vKickPoint.x + TruncateToInt(std::sin(a) * fLength);
            lead.y = m_vKickPoint.y + TruncateToInt(std::cos(a) * fLength);
        }
    }
    lead.x = std::clamp(lead.x, 200, PITCH_LENGTH - 200);
    lead.y = std::clamp(lead.y, 200, PITCH_WIDTH - 200);
    return lead;
}

bool CMatchPlayer::WinsChallenge(const CMatchPlayer& opponent) const
{
    int a = int(m_abyRatings[RATING_TACKLING] * 1.6);
    if (m_pClub->IsInPenaltyArea(m_vPosition, false))
        a += 20;
    else if (m_pOpponentClub && m_pOpponentClub->IsInPenaltyArea(m_vPosition, false))
        a -= 20;
    a = std::max(a, 1);
    const int b = std::max<int>(opponent.GetRating(RATING_DRIBBLING), 1);
    const int nMine = plat::rand() % a;
    return nMine > plat::rand() % b;
}

bool CMatchPlayer::CanHandleBall() const
{
    const uint8_t byEvent = m_Engine.GetMatchEvent();
    if (m_bySpecialRole == ROLE_EVENT_PLAYER)
        return byEvent == MATCHEVENT_THROWIN;
    if (m_bySquadPosition != 0 || !m_pClub->IsInPenaltyArea(m_vPosition, false))
        return false;
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall || (pBall->GetHolder() == this && pBall->IsHeldInHands()))
        return true;
    const CMatchPerson* pToucher = pBall->GetLastToucher();
    if (!pToucher || pToucher == this || pToucher->GetPersonType() != PERSONTYPE_FOOTBALLER ||
        static_cast<const CMatchPlayer*>(pToucher)->GetClub() != m_pClub)
        return true;
    // No back pass into the hands in open play.
    return byEvent != MATCHEVENT_NONE;
}

float CMatchPlayer::GetBallInterceptCost() const
{
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall)
        return 999999.0f;
    if ((GetAction() == kActionKicked && pBall->GetLastKicker() == this) ||
        (m_bySpecialRole == ROLE_EVENT_PLAYER && m_Engine.GetMatchEvent() != MATCHEVENT_NONE))
        return 999999.0f;
    if (const CMatchPerson* pHolder = pBall->GetHolder()) {
        const int32_t x = pHolder->GetPosition().x;
        const bool bAhead = m_pClub->AttacksHighEnd() ? m_vPosition.x > x : m_vPosition.x <= x;
        return float(Distance2D(m_vPosition, pHolder->GetPosition())) * 0.002f + (bAhead ? 1.0f : 0.0f);
    }
    if (pBall->GetSpeed() < kSlowBall)
        return float(Distance2D(m_vPosition, pBall->PredictPosition(1.0f, false))) * 0.002f;
    float fTime = 0.0f;
    const float c = float(pBall->GetInterceptPoint(this, m_bySquadPosition == 0, nullptr, &fTime)) * 0.002f;
    if (c <= fTime)
        return fTime;
    return m_bySquadPosition == 0 && c > 0.5f ? 100.0f : c + 1.0f;
}

void CMatchPlayer::GoForBall(bool bTestOnly)
{
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall)
        return;
    if (!bTestOnly) {
        m_bGoingForBall = true;
        SetDecision(DECISION_POSITION_BASE);
    }
    float f = -1.0f;
    const CVector& ball = pBall->GetPosition();
    const CVector& v = pBall->GetVelocity();
    CVector intercept, target;
    int32_t nReach = -1;  // none for a ball at rest
    if (v == CVector()) {
        intercept = target = ball;
    } else {
        const bool bKeeper = m_bySquadPosition == 0;
        nReach = pBall->GetInterceptPoint(this, bKeeper, &intercept, &f);
        bool bContested = false;
        if (pBall->IsHighBall() && m_pOpponentClub) {
            const BALLREACHWINDOW& window = pBall->GetReachWindow(bKeeper);
            bContested = m_pOpponentClub->GetNearestPlayerDistance(window.vEnd) < 500;
            if (bContested) {
                intercept = window.vEnd;
                f = window.fEndTime;
                nReach = Distance2D(m_vPosition, intercept);
            }
        }
        const int32_t nSpeed = pBall->GetSpeed();
        if (pBall->IsHighBall() && !bContested) {
            const bool bNearPitch = intercept.x >= -200 && intercept.x <= PITCH_LENGTH + 200 && intercept.y >= -200 &&
                                    intercept.y <= PITCH_WIDTH + 200;
            if (nSpeed > 0 && bNearPitch)
                target = CVector(intercept.x + int32_t(int64_t(v.x) * 200 / nSpeed),
                                 intercept.y + int32_t(int64_t(v.y) * 200 / nSpeed), intercept.z);
            else
                target = CVector(intercept.x + 30, intercept.y, intercept.z);
        } else if (pBall->IsHighBall()) {
            target = intercept;
        } else if (nSpeed < kSlowBall) {
            const CVector toMe = m_vPosition - ball;
            const int64_t nTowards = int64_t(toMe.x) * v.x + int64_t(toMe.y) * v.y;
            if (nReach < 100 && nTowards > 0) {
                intercept = target = ball;
                f = -1.0f;
            } else {
                intercept = target = ball + v;
                f = 1.0f;
            }
        } else {
            target = intercept;
        }
    }
    if (f == -1.0f) {
        const double d = Distance2D(ball, intercept);
        const double k = ball.z != 0 ? 0.01 : 0.2;
        const double fSpeed = pBall->GetHorizontalSpeed() - d * k * 0.5;
        f = d == 0.0 ? 0.0f : fSpeed > 0.0 ? float(d / fSpeed) : CMatchBall::kNoExit;
    }
    m_vInterceptPoint = intercept;
    m_fInterceptTimeFactor = f;
    if (!bTestOnly) {
        SetTarget(target, kNoFacing);
        if (nReach < 0)
            nReach = m_nDistanceToTarget;
    } else if (nReach < 0) {
        return;
    }
    if (ball.x < 0 || ball.x > PITCH_LENGTH || ball.y < 0 || ball.y > PITCH_WIDTH)
        return;
    if (!bTestOnly) {
        TryTakeBall(nReach, false);
        return;
    }
    // Only whether he could meet it at once, from where he stands: his
    // model is put back where it was if not.
    if (!m_pModel)
        return;
    const D3DMATRIX& world = m_pModel->GetWorldMatrix();
    const float x = world.m[3][0], y = world.m[3][1], fHeading = m_pModel->GetHeading();
    m_pModel->SetPositionAndHeading(float(m_vPosition.x), float(m_vPosition.y), fHeading);
    if (TryTakeBall(nReach, true))
        m_pModel->SetPositionAndHeading(float(m_vPosition.x), float(m_vPosition.y), m_fFacing);
    else
        m_pModel->SetPositionAndHeading(x, y, fHeading);
}
