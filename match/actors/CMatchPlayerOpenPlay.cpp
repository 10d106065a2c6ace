// The outfield footballer in open play. The club's support chaser covers a
// step in front of his goal, its ball chaser goes for a loose ball or
// closes down the opponent who has it, the man on the ball dribbles forward
// unless a kick rates higher, and everyone else marks his man, takes his
// place by the zone he stands in or, in defence, steps up and out as one
// line with the last defender.
#include "match/actors/CMatchPlayer.h"

#include "database/CPlayerDatabase.h"
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CAnimationLibrary.h"
#include "match/actors/CMatchReferee.h"
#include "platform/Random.h"

#include <algorithm>
#include <cmath>

namespace {

// The wall's covering jump when a shot comes.
constexpr uint8_t kActionWallJump = 55;
// The support chaser stands this far from the ball towards his goal.
constexpr double kSupportDepth = 1000.0;
// A dribble keeps its point this long, and the next one lies up to 700
// ahead and 700 to either side.
constexpr uint32_t kDribbleMs = 3000;
constexpr int kDribbleAhead = 700;
constexpr int kDribbleAcross = 700;
// The dribble stands unless a kick rates above this.
constexpr float kDribbleRating = 1.2f;
// A run into the box is reported after 1500 of running.
constexpr int64_t kRunReportSquared = 2250000;
constexpr uint8_t kEventRun = 26;
// The line moves only when its leader stands off it by more than this.
constexpr int32_t kLineSlack = 100;
// A tackling player's assessment holds this long against the same man.
constexpr uint32_t kTackleAssessmentMs = 500;
constexpr int kFewestForFoulIntent = 8;
// A closer challenging place stands in the way of the pass the man is
// shaping to play, and the ball strikes the presser within a stride of the
// foot: he stands off this far at least, to see the pass and close it down.
constexpr int kClosestPress = 250;

bool OnPitch(const CVector& p)
{
    return p.x >= 0 && p.x <= PITCH_LENGTH && p.y >= 0 && p.y <= PITCH_WIDTH;
}

bool IsHoldingMoveType(uint8_t byMoveType)
{
    return byMoveType == MOVETYPE_HOLD_STAND || byMoveType == MOVETYPE_HOLD_WALK;
}

// The share of a gap that the radius about his base covers: all of it
// when the gap lies inside the radius.
double GapWeight(int32_t r, int32_t nGap)
{
    if (r > std::abs(nGap))
        return 1.0;
    return r == 0 || nGap == 0 ? 0.0 : double(r) / nGap;
}

}  // namespace

void CMatchPlayer::MakeOpenPlayDecision()
{
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall)
        return;
    if (m_byMoveType == MOVETYPE_COVER && pBall->GetLastCause() == BALLCAUSE_SHOT) {
        SelectRandomAction(kActionWallJump);
        PositionOffBall();
        return;
    }
    if (m_pClub->GetSupportChaser() == this) {
        CVector goal;
        m_pClub->GetGoalPosition(goal);
        const CVector& ball = pBall->GetPosition();
        const double a = ball.GetAngleTo(goal);
        SetTarget(CVector(ball.x + TruncateToInt(kSupportDepth * std::sin(a)),
                          ball.y + TruncateToInt(kSupportDepth * std::cos(a)), 0),
                  kNoFacing);
        SetDecision(DECISION_POSITION_BASE);
        return;
    }
    CMatchPerson* pHolder = pBall->GetHolder();
    if (!pHolder) {
        const CMatchReferee* pReferee = m_Engine.GetReferee();
        const CMatchClub* pRestartClub = pReferee ? pReferee->GetRestartClub() : nullptr;
        // After a corner everyone in the defending side's box goes for a loose ball.
        const bool bCornerScramble = pReferee && pReferee->GetLastRestart() == MATCHEVENT_CORNER && pRestartClub &&
                                     pRestartClub->GetOpponent() &&
                                     pRestartClub->GetOpponent()->IsInPenaltyArea(m_vPosition, false);
        if (m_bBallChaser || bCornerScramble)
            GoForBall(false);
        else
            PositionOffBall();
        return;
    }
    if (!pBall->IsHeldInHands() && !IsHoldingMoveType(pHolder->GetNextMoveType())) {
        if (m_bHasBall && pHolder == this) {
            MakeWithBallDecision();
            return;
        }
        CMatchPlayer* pOpponent = AsFootballer(pHolder);
        if (m_bBallChaser && pOpponent && pOpponent->GetClub() == m_pOpponentClub) {
            TryTackle(*pOpponent);
            return;
        }
    }
    PositionOffBall();
}

void CMatchPlayer::MakeWithBallDecision()
{
    SetKickTarget(m_vPosition);
    if (m_byDecision != DECISION_POSITION_SPACE || GetTimeSinceMoment() > kDribbleMs) {
        const int nForward = m_pClub->AttacksHighEnd() ? 1 : -1;
        const int32_t x = m_vPosition.x + nForward * (plat::rand() % kDribbleAhead);
        const int32_t y = m_vPosition.y + plat::rand() % (2 * kDribbleAcross) - kDribbleAcross;
        m_vDribblePoint = CVector(std::clamp(x, 0, PITCH_LENGTH), std::clamp(y, 0, PITCH_WIDTH), 0);
        SetStoredMoment(m_Engine.GetMatchTime());
    }
    // The step towards his base at the start of each decision does not end the dribble.
    SetHoldTarget(m_vDribblePoint);
    m_fBestKickRating = kDribbleRating;
    SetDecision(DECISION_POSITION_SPACE);
    if (!TakeSetPieceRoutine()) {
        TryPassToTeamMates();
        switch (m_pClub->GetZone(m_vPosition.x, m_vPosition.y)) {
        case 1:
            TryClear();
            TryLongBall();
            break;
        case 2:
            TryLongBall();
            TryClear();
            TryMakeRun();
            break;
        case 4:
            TryCross();
            break;
        case 5:
            ChooseShotWhenReady();
            break;
        default:
            break;
        }
    }
    // A pass that cannot get there: he carries the ball that way instead.
    const CMatchBall* pBall = m_Engine.GetBall();
    if (m_byDecision == DECISION_PASS && pBall && pBall->IsPathObstructed(m_vPosition, m_vTarget)) {
        SetTarget(m_vTarget, kNoFacing);
        SetDecision(DECISION_POSITION_BASE);
    }
    if (m_vPosition.SquaredDistance2D(m_vRunPoint) > kRunReportSquared &&
        m_pClub->GetZone(m_vPosition.x, m_vPosition.y) == 5) {
        m_vRunPoint = m_vPosition;
        ITEMMATCHEVENTINFORMATION& record = m_Engine.GetEventRecord();
        record.byEvent = kEventRun;
        record.byDetail = 0;
        record.dwMatchTime = m_Engine.GetEngineClock();
        record.dwGameTime = m_Engine.GetMatchTime();
        m_Engine.SendMatchEvent();
    }
}

bool CMatchPlayer::ChooseShotWhenReady()
{
    // A shot outrates every pass; chosen while it may not go yet, it would
    // keep him on the ball past every free team-mate until the time on the
    // ball forces it from wherever he then stands.
    const float fBest = m_fBestKickRating;
    const uint8_t byDecision = m_byDecision, bySafety = m_byKickSafety;
    CMatchPlayer* const pPartner = m_pDecisionPartner;
    const float fFlight = m_fFlightTime;
    const CVector target = m_vTarget;
    if (!ChooseShotTarget())
        return false;
    if (m_byKickSafety > GetKickTriggerRating(DECISION_SHOOT, m_byOnBallPressure))
        return true;
    const CVector aim = m_vTarget;
    m_fBestKickRating = fBest;
    SetDecision(byDecision);
    m_byKickSafety = bySafety;
    m_pDecisionPartner = pPartner;
    m_fFlightTime = fFlight;
    if (byDecision == DECISION_POSITION_SPACE) {
        m_vDribblePoint = aim;
        SetHoldTarget(aim);
    } else {
        SetHoldTarget(target);
    }
    return false;
}

CVector CMatchPlayer::GetMarkingPlace(const CMatchPlayer& opponent, int q) const
{
    CVector mark = opponent.GetPosition();
    CVector goal;
    m_pClub->GetGoalPosition(goal);
    const double a1 = mark.GetAngleTo(goal);
    const double a2 = mark.GetAngleTo(m_vBasePosition);
    mark.x += TruncateToInt(std::sin(a1) * 100);
    mark.y += TruncateToInt(std::cos(a1) * 100);
    mark.z = 0;
    return mark + CVector(TruncateToInt(std::sin(a2) * 1000) / 100 * (100 - q),
                          TruncateToInt(std::cos(a2) * 1000) / 100 * (100 - q), 0);
}

uint32_t CMatchPlayer::PositionOffBall()
{
    const CMatchPlayer* pMan = m_pMarkedOpponent;
    if (pMan && m_Engine.GetClubInPossession() != m_pClub) {
        // Tighter the more dangerous the man, the firmer the orders and the
        // better he reads the game; never beyond his man.
        const int nThreat = pMan->GetClub()->GetThreatRating(pMan->GetSquadPosition());
        const int q = (nThreat + m_abyTeamOrders[ORDER_MARKING]) / 2 *
                      (m_abyRatings[RATING_DEFENSIVE_READING] / 4 + 75) / 100;
        CVector target = GetMarkingPlace(*pMan, q);
        const int32_t x = pMan->GetPosition().x;
        target.x = m_pClub->AttacksHighEnd() ? std::min(target.x, x) : std::max(target.x, x);
        SetTarget(target, kNoFacing);
        SetDecision(DECISION_POSITION_MARK);
        return 0;
    }
    if (!OnPitch(m_vPosition)) {
        SetTarget(m_vBasePosition, kNoFacing);
        SetDecision(DECISION_POSITION_BASE);
        return 0;
    }
    const int nZone = m_pClub->GetZone(m_vPosition.x, m_vPosition.y);
    if ((nZone == 4 || nZone == 5) && m_pOpponentClub) {
        CVector goal;
        m_pOpponentClub->GetGoalPosition(goal);
        SetHoldTarget(goal);
        const CMatchBall* pBall = m_Engine.GetBall();
        const bool bInHands = pBall && pBall->GetHolder() && pBall->IsHeldInHands();
        SetDecision(nZone == 4 ? DECISION_POSITION_CROSS : bInHands ? DECISION_POSITION_SPACE : DECISION_POSITION_SHOT);
        return 0;
    }
    if (TryStepWithLine())
        return 1;
    SetHoldTarget(m_vBasePosition);
    SetDecision(DECISION_POSITION_SPACE);
    return 0;
}

int CMatchPlayer::GetLineRating(uint8_t byPosition) const
{
    const int nForPosition = m_pRecord ? m_pRecord->GetRatingForPosition(byPosition) : 0;
    return (m_abyRatings[RATING_TACKLING] + 2 * nForPosition + m_abyRatings[RATING_INTELLIGENCE]) >> 2;
}

bool CMatchPlayer::TryStepWithLine()
{
    const uint8_t byPosition = m_bySelectedPosition;
    if (byPosition == 0)
        return false;
    const int32_t L = m_pClub->GetOffsideLine();
    const int32_t bx = m_vBasePosition.x;
    const int32_t r = m_nRoamingRadius;
    const bool bHigh = m_pClub->AttacksHighEnd();
    const CMatchPlayer* pLast = m_pClub->GetLastDefender();
    if (!pLast)
        return false;
    if (pLast == this) {
        const CMatchBall* pBall = m_Engine.GetBall();
        const CMatchPlayer* pHolder = pBall ? AsFootballer(pBall->GetHolder()) : nullptr;
        if (pHolder && pHolder->GetClub() == m_pClub)
            return StepOutWithLine(byPosition, bx);
        const CMatchPlayer* pMost = m_pOpponentClub ? m_pOpponentClub->GetMostAdvancedPlayer() : nullptr;
        if (!pMost)
            return false;
        const int32_t ox = pMost->GetPosition().x;
        // A man already beyond the line is left offside.
        if (bHigh ? ox < L : ox > L)
            return false;
        const int32_t nGap = ox - bx;
        double w = GapWeight(r, nGap) - 0.5;
        if (w < 0.0)
            w = 0.05;
        const int nRating = GetLineRating(byPosition);
        SetTarget(CVector(bx + TruncateToInt(nRating * 0.01 * nGap * w), m_vBasePosition.y, 0), kNoFacing);
        SetDecision(DECISION_POSITION_BASE);
        return true;
    }
    if (byPosition < 1 || byPosition > 6 || std::abs(pLast->GetPosition().x - L) <= kLineSlack)
        return false;
    // Level with the line's leader, by his judgement and his own.
    const int32_t nGap = pLast->GetPosition().x - bx;
    const int nRating = (pLast->GetLineRating(pLast->GetSelectedPosition()) + GetLineRating(byPosition)) / 2;
    const double w = GapWeight(r, nGap);
    SetTarget(CVector(bx + TruncateToInt(nRating * 0.01 * nGap * w), m_vBasePosition.y, 0), kNoFacing);
    SetDecision(DECISION_POSITION_BASE);
    return true;
}

bool CMatchPlayer::StepOutWithLine(uint8_t byPosition, int32_t nBaseX)
{
    const int32_t r = m_nRoamingRadius;
    const bool bHigh = m_pClub->AttacksHighEnd();
    // Only from his own half, out towards halfway.
    if ((bHigh ? nBaseX > PITCH_LENGTH / 2 : nBaseX < PITCH_LENGTH / 2) || r < 1)
        return false;
    double w = r * 0.0002 - 0.5;
    if (w < 0.0)
        w = 0.05;
    const int32_t nStep = TruncateToInt(GetLineRating(byPosition) * 0.01 * r * w);
    m_vBasePosition.x = nBaseX + (bHigh ? nStep : -nStep);
    SetHoldTarget(m_vBasePosition);
    SetDecision(DECISION_POSITION_SPACE);
    return true;
}

bool CMatchPlayer::TryTackle(CMatchPlayer& opponent)
{
    const uint32_t dwNow = m_Engine.GetMatchTime();
    if (m_byDecision != DECISION_TACKLE || m_pDecisionPartner != &opponent ||
        dwNow - m_dwTackleAssessedAt > kTackleAssessmentMs) {
        m_bChallengeWon = WinsChallenge(opponent);
        m_bTackleRoll = RollTackle(opponent, &m_bGoesIn);
        m_bKeeperTackleRoll = false;
        m_bFoulIntent = m_pClub->GetOnPitchCount() >= kFewestForFoulIntent && plat::rand() % 100 <= m_nAnger / 500;
        m_dwTackleAssessedAt = dwNow;
    }
    SetDecision(DECISION_TACKLE);
    m_pDecisionPartner = &opponent;
    if (TryTackleNow())
        return true;
    // A challenging place goal-side of his man, tighter the more team-mates
    // cover behind him, but never right at his feet.
    CVector goal;
    m_pClub->GetGoalPosition(goal);
    const bool bHigh = m_pClub->AttacksHighEnd();
    int nCover = 0;
    for (int i = 0; i < m_pClub->GetOnPitchCount(); ++i)
        if (const CMatchPlayer* p = m_pClub->GetSlot(i); p && p != this)
            nCover += bHigh ? p->GetPosition().x < m_vPosition.x : p->GetPosition().x > m_vPosition.x;
    const int nPercent = std::min(100, nCover * 100 / 3);
    const int nDistance = std::max(kClosestPress, 200 - GetTacticsTacklingStrength() / 2 - nPercent);
    const CVector& at = opponent.GetPosition();
    const double a = at.GetAngleTo(goal);
    const int nTowardsGoal = 100 + plat::rand() % 50;
    CVector target(at.x + TruncateToInt(nDistance * std::sin(a)) + (bHigh ? -nTowardsGoal : nTowardsGoal),
                   at.y + TruncateToInt(nDistance * std::cos(a)), 0);
    // Onto the way he is running.
    if (opponent.GetSpeed() != 0)
        target = ProjectOntoPath(target, at, at + opponent.GetVelocity());
    target.z = 0;
    SetTarget(target, kNoFacing);
    return true;
}
