// The goalkeeper in open play. Without the ball he keeps a place on the
// line from the ball to the centre of his goal, deeper while the opponents
// have it, comes for a loose ball he is clearly first to, closes down an
// attacker who comes near and covers the goal when the ball is close; in
// the middle of a step or a turn he breaks off for a ball he can meet. With
// the ball he rates the same kicks as everyone, a shot from far out, a long
// ball or a clearance from his own end, and holding on while opponents
// crowd him (never into the last second before the six are up).
#include "match/actors/CMatchPlayer.h"

#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "platform/Random.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
// Within 2800 of the goal (or of him) the ball is close.
constexpr int32_t kCloseSquared = 7840000;
// Opponents within 1932 press a goalkeeper holding the ball.
constexpr int32_t kPressSquared = 3732625;
constexpr float kHoldSeconds = 5.0f;
constexpr int32_t kCloseDownTackle = 600;
// Within these of the attacker he sets himself in the ready stance, and
// keeps it while the attacker stays within the second.
constexpr int32_t kReadyStance = 250;
constexpr int32_t kKeepReadyStance = 400;
// The depth of his place at the ball's distance of 5000 from his goal.
constexpr double kDepthOwnBall = 1650.0;
constexpr double kDepthOpponentsBall = 550.0;
// His place when the ball is in the other half, and the y band he keeps
// within (just inside the posts).
constexpr int32_t kDeepPlace = 825;
constexpr int32_t kPlaceTop = 4016;
constexpr int32_t kPlaceBottom = 3484;
// Own players between the holder and the goal line beyond which he stays.
constexpr int kMaxCoverToCloseDown = 2;
constexpr int32_t kClearLength = 2000;

int32_t ClampPlaceY(int32_t y)
{
    if (y >= kPlaceTop)
        return kPlaceTop;
    return y < kPlaceBottom + 1 ? kPlaceBottom : y;
}

}  // namespace

void CMatchPlayer::MakeGoalkeeperDecision()
{
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall)
        return;
    if (CMatchPerson* pHolder = pBall->GetHolder()) {
        if (pHolder == this) {
            MakeKeeperBallDecision();
            return;
        }
        CMatchPlayer* pAttacker = AsFootballer(pHolder);
        if (pAttacker && pAttacker->GetClub() == m_pClub->GetOpponent()) {
            CVector goal;
            m_pClub->GetGoalPosition(goal);
            bool bClose = m_bBallChaser || pAttacker->GetPosition().SquaredDistance2D(goal) < kCloseSquared;
            if (!bClose) {
                // Far out he goes only as the nearest man with little cover
                // between the attacker and his goal.
                const int32_t x = pAttacker->GetPosition().x;
                int nCover = 0;
                for (int i = 1; i < m_pClub->GetOnPitchCount(); ++i)
                    if (const CMatchPlayer* p = m_pClub->GetSlot(i); p && p != this)
                        nCover += m_pClub->AttacksHighEnd() ? p->GetPosition().x < x : p->GetPosition().x > x;
                bClose = nCover <= kMaxCoverToCloseDown &&
                         m_pClub->GetNearestReadyPlayer(pAttacker->GetPosition(), nullptr) == this;
            }
            if (bClose)
                CloseDownAttacker(*pAttacker);
            else
                PositionInGoal(pAttacker->GetPosition());
            return;
        }
        PositionInGoal(pBall->GetPosition());
        return;
    }
    if (ShouldKeeperGoForBall()) {
        GoForBall(false);
        return;
    }
    // Covering the goal from where he stands holds him there: only with the
    // ball near his goal too, or a goalkeeper caught up the pitch stayed out
    // of it while the ball was near him.
    const CVector predicted = pBall->PredictPosition(1.0f, true);
    CVector goal;
    m_pClub->GetGoalPosition(goal);
    if (predicted.SquaredDistance2D(m_vPosition) < kCloseSquared && predicted.SquaredDistance2D(goal) < kCloseSquared)
        ProtectGoal();
    else
        PositionInGoal(predicted);
}

bool CMatchPlayer::ShouldKeeperGoForBall() const
{
    if (m_bBallChaser || m_pClub->HasShotAlarm())
        return true;
    if (m_nBallDistance > m_pClub->GetLowestBallDistance(m_byLineIndex))
        return false;
    const int32_t nOpponents = m_pClub->GetOpponent() ? m_pClub->GetOpponent()->GetLowestBallDistance(-1) : 999999999;
    if (nOpponents == 0)
        return false;
    return int64_t(m_nBallDistance) * 100 / nOpponents < 80;
}

void CMatchPlayer::PositionInGoal(const CVector& r)
{
    const CMatchBall* pBall = m_Engine.GetBall();
    const bool bOpponentsBall = pBall && m_Engine.GetClubInPossession() &&
                                m_Engine.GetClubInPossession() == m_pClub->GetOpponent();
    const double fFactor = bOpponentsBall ? kDepthOpponentsBall : kDepthOwnBall;
    const bool bLowGoal = m_pClub->AttacksHighEnd();
    const int32_t nGoalX = bLowGoal ? 0 : PITCH_LENGTH;
    CVector place(bLowGoal ? kDeepPlace : PITCH_LENGTH - kDeepPlace, GOAL_CENTRE_Y, 0);
    const int32_t nFromGoal = bLowGoal ? r.x : PITCH_LENGTH - r.x;
    if (bLowGoal ? r.x < 5001 : r.x >= 5000) {
        const double t = std::clamp(nFromGoal * 0.0002, 0.0, 1.0);
        const int32_t nDepth = TruncateToInt(t * fFactor);
        place.x = bLowGoal ? nDepth : PITCH_LENGTH - nDepth;
        // On the line from the ball to the goal centre at that depth; a ball
        // on the goal line itself has no line to follow, and he stands level
        // with it.
        const double dx = double(nGoalX) - r.x, dy = double(GOAL_CENTRE_Y) - r.y;
        place.y = dx == 0.0 ? r.y : r.y + TruncateToInt(dy * (double(place.x) - r.x) / dx);
    }
    place.y = ClampPlaceY(place.y);
    SetDecision(DECISION_POSITION_BASE);
    SetTarget(place, kNoFacing);
}

void CMatchPlayer::ProtectGoal()
{
    CVector goal;
    m_pClub->GetGoalPosition(goal);
    // The man coming for the ball, else the ball itself.
    CVector from = m_Engine.GetBall() ? m_Engine.GetBall()->GetPosition() : goal;
    if (const CMatchClub* pOpponents = m_pClub->GetOpponent())
        for (int i = 0; i < pOpponents->GetOnPitchCount(); ++i)
            if (const CMatchPlayer* p = pOpponents->GetSlot(i); p && p->IsBallChaser()) {
                from = p->GetPosition();
                break;
            }
    // A step goal-side of him.
    const int32_t d = IntegerRoot(from.SquaredDistance2D(goal));
    if (d > 200)
        from = CVector(from.x + int32_t(int64_t(goal.x - from.x) * 200 / d),
                       from.y + int32_t(int64_t(goal.y - from.y) * 200 / d), 0);
    SetDecision(DECISION_PROTECT_GOAL);
    SetTarget(ProjectOntoPath(m_vPosition, from, goal), kNoFacing);
}

void CMatchPlayer::CloseDownAttacker(CMatchPlayer& attacker)
{
    if (m_byDecision != DECISION_TACKLE || m_pDecisionPartner != &attacker) {
        m_bChallengeWon = WinsChallenge(attacker);
        m_bKeeperTackleRoll = RollKeeperTackle(attacker);
        m_bTackleRoll = RollTackle(attacker, &m_bGoesIn);
        m_bFoulIntent = plat::rand() % 100 <= m_nAnger / 500;
    }
    SetDecision(DECISION_TACKLE);
    m_pDecisionPartner = &attacker;
    const CVector& at = attacker.GetPosition();
    if (attacker.GetAction() != ACTION_KICKING && IntegerRoot(at.SquaredDistance2D(m_vPosition)) < kCloseDownTackle &&
        TryTackleNow())
        return;
    // Onto the attacker's line to goal, between him and the goal.
    CVector goal;
    m_pClub->GetGoalPosition(goal);
    CVector point = ProjectOntoPath(m_vPosition, at, goal);
    const int64_t nAlong = int64_t(point.x - at.x) * (goal.x - at.x) + int64_t(point.y - at.y) * (goal.y - at.y);
    const int64_t nWhole = int64_t(goal.x - at.x) * (goal.x - at.x) + int64_t(goal.y - at.y) * (goal.y - at.y);
    if (nAlong > nWhole)
        point = goal;
    point.y = ClampPlaceY(point.y);
    point.z = 0;
    // Face to face with him he sets himself for the shot.
    const int32_t nApart = IntegerRoot(at.SquaredDistance2D(m_vPosition));
    const bool bReady = m_byMoveType == MOVETYPE_CROUCH;
    const bool bFacing = std::fabs(WrapAngle(m_vPosition.GetAngleTo(at) - m_fFacing)) < kPi / 4;
    if (nApart < kReadyStance ? bReady || (bFacing && m_byMoveType == MOVETYPE_STAND)
                              : bReady && nApart < kKeepReadyStance)
        ChooseStandingMoveType(MOVETYPE_CROUCH);
    SetTarget(point, kNoFacing);
}

void CMatchPlayer::UpdateGoalkeeperWhileBusy()
{
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall || pBall->GetHolder())
        return;
    if (!m_bFacingOverrideWanted && !m_pClub->HasShotAlarm() && !m_bBallChaser &&
        !m_pClub->IsInPenaltyArea(pBall->GetPosition(), false))
        return;
    if (!MayBreakOffForSave(m_byAction))
        return;
    m_bSavingWhileBusy = true;
    GoForBall(true);
    m_bSavingWhileBusy = false;
}

void CMatchPlayer::MakeKeeperBallDecision()
{
    SetKickTarget(m_vPosition);
    TryPassToTeamMates();
    switch (m_pClub->GetZone(m_vPosition.x, m_vPosition.y)) {
    case 4:
    case 5:
        ChooseShotTarget();
        break;
    case 1:
        TryHoldBall();
        [[fallthrough]];
    case 2:
        TryLongBall();
        TryClear();
        break;
    default:
        break;
    }
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall || !pBall->IsPathObstructed(m_vPosition, m_vTarget))
        return;
    if (m_byDecision == DECISION_CLEAR) {
        // Over the obstacle is no clearance: the freest of a few directions
        // about his facing, the farther from the opponents the better.
        const CMatchClub* pOpponents = m_pClub->GetOpponent();
        int nBest = -1;
        CVector best;
        for (double fTurn : {-kPi / 4, -kPi / 8, 0.0, kPi / 8}) {
            const double a = m_fFacing + fTurn;
            const CVector point(m_vPosition.x + TruncateToInt(kClearLength * std::sin(a)),
                                m_vPosition.y + TruncateToInt(kClearLength * std::cos(a)), 0);
            if (pBall->IsPathObstructed(m_vPosition, point))
                continue;
            int nScore = 0;
            if (point.x < 0 || point.x > PITCH_LENGTH)
                nScore += 10;
            if (point.y < 0 || point.y > PITCH_WIDTH)
                nScore += 25;
            if (nScore == 0 && pOpponents)
                nScore = pOpponents->GetNearestPlayerDistance(point) / 5000 * 100;
            if (nScore > nBest)
                nBest = nScore, best = point;
        }
        if (nBest >= 0)
            SetHoldTarget(best);
    } else if (m_byDecision == DECISION_PASS) {
        // The pass cannot get there: he carries the ball that way instead.
        SetDecision(DECISION_POSITION_BASE);
        SetTarget(m_vTarget, kNoFacing);
    }
}

void CMatchPlayer::TryHoldBall()
{
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall || pBall->GetHolder() != this || !pBall->IsHeldInHands() || pBall->GetHeldSeconds() >= kHoldSeconds)
        return;
    int n = 0;
    if (const CMatchClub* pOpponents = m_pClub->GetOpponent())
        for (int i = 0; i < pOpponents->GetOnPitchCount(); ++i)
            if (const CMatchPlayer* p = pOpponents->GetSlot(i);
                p && p->GetPosition().SquaredDistance2D(m_vPosition) < kPressSquared)
                ++n;
    const float fRating =
        (1.0f - float((m_abyRatings[RATING_CONFIDENCE] + m_abyRatings[RATING_INTELLIGENCE]) / 2) * 0.01f) * float(n);
    if (fRating <= m_fBestKickRating)
        return;
    m_fBestKickRating = fRating;
    m_pDecisionPartner = nullptr;
    SetDecision(DECISION_POSITION_BASE);
    SetTarget(m_vPosition, kNoFacing);
}
