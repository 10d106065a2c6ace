// The footballer at a stoppage and with a special role: who fetches the
// ball, how the taker plays the restart (or his manager's routine), where
// the second player and the others stand, marking at a set piece, the bench,
// the walk off at half time and full time, and his formation places.
#include "match/actors/CMatchPlayer.h"

#include "common/DebugLog.h"
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchReferee.h"

#include <algorithm>
#include <cmath>

namespace {

// A routine step whose x word is this passes to the line-up number in its y word.
constexpr uint16_t kPassStep = 0xFFFF;
// Within this of his place a standing player is there.
constexpr int32_t kInPlace = 70;
// A player going to his place at a throw-in keeps this far from the ball.
constexpr int32_t kThrowInClearance = 1000;

bool OnPitch(const CVector& p)
{
    return p.x >= 0 && p.x <= PITCH_LENGTH && p.y >= 0 && p.y <= PITCH_WIDTH;
}

// Half time and full time: everyone leaves the pitch.
bool IsBreak(uint8_t byEvent)
{
    return byEvent == MATCHEVENT_HALFTIME || byEvent == MATCHEVENT_FULLTIME;
}

int32_t Distance2D(const CVector& a, const CVector& b)
{
    return IntegerRoot(a.SquaredDistance2D(b));
}

}  // namespace

void CMatchPlayer::MakeDecision()
{
    m_bMovingTarget = false;
    m_bGoingForBall = false;
    m_bIllegalPosition = false;
    UpdateBasePosition();
    if (m_bySpecialRole != ROLE_BENCH)
        UpdatePressure();
    if (!MakeAimOverrideDecision() && !MakeReactionDecision()) {
        const uint8_t byEvent = m_Engine.GetMatchEvent();
        if (m_bySpecialRole != ROLE_NONE) {
            MakeSpecialRoleDecision();
        } else if (m_Engine.GetMatchPeriod() == MATCHPERIOD_SHOOTOUT) {
            if (m_bHasBall) {
                PassToEventPlayer();
            } else if (!GetBallForEventPlayer()) {
                SetTarget(m_vBasePosition, kNoFacing);
                SetDecision(DECISION_POSITION_BASE);
            }
        } else if (byEvent != MATCHEVENT_NONE) {
            if (m_bySquadPosition == 0)
                MakeGoalkeeperEventDecision();
            else
                MakeEventDecision();
        } else if (m_bySquadPosition == 0) {
            MakeGoalkeeperDecision();
        } else {
            MakeOpenPlayDecision();
        }
    }
    if (m_bHasBall && CanHandleBall())
        ChooseStandingMoveType(MOVETYPE_HOLD_STAND);
    UpdateWalkOut();
}

void CMatchPlayer::ChooseStandingMoveType(uint8_t byMoveType)
{
    if (m_byMoveType != MOVETYPE_STAND && m_byMoveType != byMoveType)
        return;
    m_byIntendedMoveType = byMoveType;
    m_wIntendedFrameTime = kDefaultFrameTime;
    m_bMoveChosen = true;
}

void CMatchPlayer::MakeSpecialRoleDecision()
{
    switch (m_bySpecialRole) {
    case ROLE_NONE:
        DebugLog(6, "Match Error : CMatchPlayer::MakeSpecialRoleDecision - Special role = NONE ???");
        break;
    case ROLE_FETCHER:
        if (m_bHasBall) {
            PassToEventPlayer();
        } else if (!GetBallForEventPlayer()) {
            SetTarget(m_vBasePosition, kNoFacing);
            SetDecision(DECISION_POSITION_BASE);
            ChooseStandingMoveType(MOVETYPE_COVER);
        }
        break;
    case ROLE_EVENT_PLAYER:
        MakeEventPlayerDecision();
        break;
    case ROLE_SECOND_EVENT_PLAYER:
        if (m_bHasBall) {
            PassToEventPlayer();
        } else if (!GetBallForEventPlayer()) {
            const CMatchReferee* pReferee = m_Engine.GetReferee();
            SetTarget(pReferee ? pReferee->GetSecondEventPosition() : m_vBasePosition, kNoFacing);
            SetDecision(DECISION_POSITION_BASE);
            if (m_Engine.GetMatchEvent() == MATCHEVENT_PENALTY)
                ChooseStandingMoveType(MOVETYPE_CROUCH);
        }
        break;
    case ROLE_BENCH:
        MakeBenchDecision();
        break;
    default:
        DebugLog(6, "Match Error : CMatchPlayer::MakeSpecialRoleDecision - Default error");
        break;
    }
}

bool CMatchPlayer::GetBallForEventPlayer()
{
    const CMatchReferee* pReferee = m_Engine.GetReferee();
    if (!pReferee || !pReferee->GetEventPlayer()) {
        DebugLog(6, "Match Error : GetBallForEventPlayer - No event player");
        return false;
    }
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!m_bBallChaser || !pBall || pBall->GetHolder())
        return false;
    GoForBall(false);
    m_bNotInPlace = true;
    return true;
}

void CMatchPlayer::PassToEventPlayer()
{
    const CMatchReferee* pReferee = m_Engine.GetReferee();
    CMatchPlayer* pTaker = pReferee ? pReferee->GetEventPlayer() : nullptr;
    if (!pTaker)
        return;
    SetKickTarget(m_vPosition);
    if (pTaker == this || !TryPassTo(*pTaker)) {
        // Nobody to give it to: he lets it go where he stands.
        if (CMatchBall* pBall = m_Engine.GetBall(); pBall && pBall->GetHolder() == this) {
            pBall->SetPossessor(nullptr);
            pBall->RecordTrajectory(m_Engine.GetEngineClock(), this);
        }
        SetDecision(DECISION_POSITION_BASE);
        SetTarget(m_vBasePosition, kNoFacing);
        return;
    }
    const CMatchBall* pBall = m_Engine.GetBall();
    if (pBall && pBall->IsPathObstructed(m_vPosition, GetTarget())) {
        SetTarget(GetTarget(), kNoFacing);
        SetDecision(DECISION_POSITION_BASE);
    }
}

void CMatchPlayer::MakeEventDecision()
{
    const uint8_t byEvent = m_Engine.GetMatchEvent();
    if (IsBreak(byEvent)) {
        SetDecision(DECISION_POSITION_BASE);
        if (!WalkOffForBreak(m_vBasePosition) && !m_bHasBall)
            m_bNotInPlace = true;
        return;
    }
    if (m_bHasBall) {
        switch (byEvent) {
        case MATCHEVENT_NONE:
            DebugLog(6, "Match Error : MakeEventDecision - EVENT_NONE");
            break;
        case MATCHEVENT_KICKOFF: case MATCHEVENT_THROWIN: case MATCHEVENT_GOALKICK: case MATCHEVENT_CORNER:
        case MATCHEVENT_FREEKICK: case MATCHEVENT_DIRECTFREEKICK: case MATCHEVENT_PENALTY:
            PassToEventPlayer();
            break;
        case MATCHEVENT_INJURY:
            // His on-ball pressure is nil while play is stopped, so he takes
            // his place like everyone else.
            PositionForEvent();
            break;
        default:
            DebugLog(6, "Match Error - MakeEventDecision - Defaulted event ?");
            break;
        }
        return;
    }
    switch (byEvent) {
    case MATCHEVENT_NONE:
        DebugLog(6, "Match Error - MakeEventDecision - EVENT_NONE");
        break;
    case MATCHEVENT_KICKOFF:
    case MATCHEVENT_PENALTY:
        if (!GetBallForEventPlayer()) {
            SetTarget(m_vBasePosition, kNoFacing);
            SetDecision(DECISION_POSITION_BASE);
        }
        break;
    case MATCHEVENT_THROWIN:
        if (!GetBallForEventPlayer())
            PositionForThrowIn();
        break;
    case MATCHEVENT_GOALKICK: case MATCHEVENT_CORNER: case MATCHEVENT_FREEKICK: case MATCHEVENT_DIRECTFREEKICK:
        if (!GetBallForEventPlayer())
            PositionForEvent();
        break;
    case MATCHEVENT_INJURY:
        PositionForEvent();
        break;
    default:
        DebugLog(6, "Match Error - MakeEventDecision - Defaulted event ?");
        break;
    }
}

void CMatchPlayer::MakeEventPlayerDecision()
{
    const uint8_t byEvent = m_Engine.GetMatchEvent();
    const CMatchReferee* pReferee = m_Engine.GetReferee();
    const CMatchBall* pBall = m_Engine.GetBall();
    if (byEvent == MATCHEVENT_THROWIN && m_bHasBall)
        ChooseStandingMoveType(MOVETYPE_HOLD_STAND);
    if (!pReferee || !pReferee->IsSetupComplete()) {
        if (m_bBallChaser && pBall && !pBall->GetHolder()) {
            GoForBall(false);
        } else {
            SetTarget(m_vBasePosition, kNoFacing);
            SetDecision(DECISION_POSITION_BASE);
        }
        return;
    }
    SetKickTarget(m_vPosition);
    if (TakeSetPieceRoutine())
        return;
    CMatchPlayer* pSecond = pReferee->GetSecondEventPlayer();
    if (pSecond && pSecond->GetClub() != m_pClub)
        pSecond = nullptr;  // only a team-mate receives the restart
    const int nZone = m_pClub->GetZone(m_vPosition.x, m_vPosition.y);
    switch (byEvent) {
    case MATCHEVENT_NONE:
        DebugLog(6, "Match Error - MakeEventPlayerDecision - EVENT_NONE");
        break;
    case MATCHEVENT_HALFTIME: case MATCHEVENT_FULLTIME: case MATCHEVENT_INJURY:
        DebugLog(6, "Match Error : MakeEventPlayerDecision - EventPlayer set on none event player event");
        break;
    case MATCHEVENT_KICKOFF:
        if (pSecond)
            TryPassTo(*pSecond);
        break;
    case MATCHEVENT_THROWIN:
        TryPass();
        break;
    case MATCHEVENT_GOALKICK:
        TryLongBall();
        TryPassToTeamMates();
        break;
    case MATCHEVENT_CORNER:
        if (pSecond)
            TryPassTo(*pSecond);
        else
            TryCross();
        break;
    case MATCHEVENT_FREEKICK:
        if (nZone <= 3)
            TryLongBall();
        else
            TryCross();
        TryPassToTeamMates();
        break;
    case MATCHEVENT_DIRECTFREEKICK:
        if (nZone == 4)
            TryCross();
        else if (nZone == 5)
            ChooseShotTarget();
        TryPassToTeamMates();
        break;
    case MATCHEVENT_PENALTY:
        ChooseShotTarget();
        break;
    default:
        DebugLog(6, "Match Error : MakeEventPlayerDecision - Default event");
        break;
    }
}

void CMatchPlayer::MakeBenchDecision()
{
    if (IsBreak(m_Engine.GetMatchEvent())) {
        WalkOffForBreak(CMatchEngine::kPhysioPoint);
        return;
    }
    SetTarget(m_vBasePosition, kNoFacing);
    if (m_byDecision == DECISION_SUBSTITUTE_BENCH)
        ChooseStandingMoveType(MOVETYPE_SEATED);
}

bool CMatchPlayer::WalkOffForBreak(const CVector& place)
{
    SetTarget(place, kNoFacing);
    // The way round the tunnel may end short of the place itself.
    const bool bThere =
        GetDistanceToTarget() < kInPlace || m_vPosition.SquaredDistance2D(place) < kInPlace * kInPlace;
    if (!bThere || !CAnimationLibrary::IsStandingMoveType(m_byMoveType))
        return false;
    SetActive(false);
    return true;
}

void CMatchPlayer::MakeGoalkeeperEventDecision()
{
    if (IsBreak(m_Engine.GetMatchEvent())) {
        SetDecision(DECISION_POSITION_BASE);
        WalkOffForBreak(m_vBasePosition);
        return;
    }
    if (m_bHasBall) {
        PassToEventPlayer();
    } else if (!GetBallForEventPlayer()) {
        SetTarget(m_vBasePosition, kNoFacing);
        SetDecision(DECISION_POSITION_BASE);
    }
}

bool CMatchPlayer::MarkAtStoppage()
{
    const CMatchReferee* pReferee = m_Engine.GetReferee();
    const CMatchPlayer* pOpponent = m_pMarkedOpponent;
    if (!pOpponent || !pReferee || pOpponent == pReferee->GetEventPlayer() || pReferee->GetRestartClub() == m_pClub)
        return false;
    // The more dangerous the man and the tighter the orders, the closer he stands.
    const int nThreat = pOpponent->GetClub()->GetThreatRating(pOpponent->GetSquadPosition());
    const int q = (nThreat + m_abyTeamOrders[ORDER_MARKING]) / 2;
    SetTarget(GetMarkingPlace(*pOpponent, q), kNoFacing);
    SetDecision(DECISION_POSITION_MARK);
    return true;
}

void CMatchPlayer::PositionForEvent()
{
    if (MarkAtStoppage())
        return;
    if (!OnPitch(m_vPosition)) {
        SetTarget(m_vBasePosition, kNoFacing);
        SetDecision(DECISION_POSITION_BASE);
        return;
    }
    const int nZone = m_pClub->GetZone(m_vPosition.x, m_vPosition.y);
    if ((nZone == 4 || nZone == 5) && m_pOpponentClub) {
        CVector goal;
        m_pOpponentClub->GetGoalPosition(goal);
        SetHoldTarget(goal);
        SetDecision(nZone == 4 ? DECISION_POSITION_CROSS : DECISION_POSITION_SHOT);
    } else {
        SetHoldTarget(m_vBasePosition);
        SetDecision(DECISION_POSITION_SPACE);
    }
}

void CMatchPlayer::PositionForThrowIn()
{
    if (MarkAtStoppage())
        return;
    // He comes towards the throw-in as far as his roaming reach allows, but
    // never closer than the clearance from the ball.
    const CMatchReferee* pReferee = m_Engine.GetReferee();
    const CVector ball = pReferee ? pReferee->GetEventPosition() : m_vBasePosition;
    const int32_t d = Distance2D(m_vBasePosition, ball);
    CVector target = m_vBasePosition;
    if (d > 0) {
        const int32_t nTowards = std::min(m_nRoamingRadius, std::max(0, d - kThrowInClearance));
        target.x += int32_t(int64_t(ball.x - m_vBasePosition.x) * nTowards / d);
        target.y += int32_t(int64_t(ball.y - m_vBasePosition.y) * nTowards / d);
    }
    SetTarget(target, kNoFacing);
    SetDecision(DECISION_POSITION_BASE);
}

void CMatchPlayer::SetFormationPosition(const MATCHLAYOUTENTRY& table, int nZone)
{
    if (nZone < 0 || nZone >= FORMATION_ZONES) {
        DebugLog(6, "Match Error : CMatchPlayer::SetFormationPosition - zone %d", nZone);
        return;
    }
    m_vFormationStart.Set(table.anSecond[nZone][0], table.anSecond[nZone][1], 0);
    m_vFormationSecond.Set(table.anFirst[nZone][0], table.anFirst[nZone][1], 0);
    if (!m_pClub->AttacksHighEnd()) {
        m_vFormationStart.Set(PITCH_LENGTH - m_vFormationStart.x, PITCH_WIDTH - m_vFormationStart.y, 0);
        m_vFormationSecond.Set(PITCH_LENGTH - m_vFormationSecond.x, PITCH_WIDTH - m_vFormationSecond.y, 0);
    }
    m_vFormationDelta.Set((m_vFormationSecond.x - m_vFormationStart.x) / 100,
                          (m_vFormationSecond.y - m_vFormationStart.y) / 100, 0);
    m_bFormationInterpolated = true;
}

CVector CMatchPlayer::GetFormationPlace(int nPercent) const
{
    return CVector(m_vFormationStart.x + nPercent * m_vFormationDelta.x,
                   m_vFormationStart.y + nPercent * m_vFormationDelta.y, 0);
}

bool CMatchPlayer::TakeSetPieceRoutine()
{
    if (!m_pClub->IsRoutineLive())
        return false;
    const MATCHSETPIECE& routine = m_pClub->GetRoutine();
    const int n = m_pClub->GetRoutineStep();
    if (n < 0 || n >= std::min<int>(routine.byTargetCount, SETPIECE_TARGETS))
        return false;
    if (routine.awTargetX[n] == kPassStep) {
        CMatchPlayer* pReceiver = m_pClub->GetPlayer(routine.awTargetY[n], true);
        if (!pReceiver || pReceiver == this)
            return false;
        const bool bPassed = TryPassTo(*pReceiver) && m_byKickSafety > 0;
        if (!bPassed && !TryCrossTo(pReceiver->GetPosition()))
            return false;
        m_pDecisionPartner = pReceiver;
    } else {
        // Points are drawn for the club attacking the high end; the words
        // carry signed values, so a point just off the pitch stays on its side.
        CVector point(std::clamp<int32_t>(int16_t(routine.awTargetX[n]), 0, PITCH_LENGTH),
                      std::clamp<int32_t>(int16_t(routine.awTargetY[n]), 0, PITCH_WIDTH), 0);
        if (!m_pClub->AttacksHighEnd())
            point.Set(PITCH_LENGTH - point.x, PITCH_WIDTH - point.y, 0);
        bool bTaken;
        switch (m_pClub->GetShootingZone(point.x, point.y)) {
        case 0: bTaken = ChooseShotTarget(); break;
        case 1: bTaken = TryCrossTo(point); break;
        default: bTaken = TryLongBallTo(point, 1.0f); break;
        }
        if (!bTaken)
            return false;
    }
    return m_byKickSafety >= 2;
}

void CMatchPlayer::AdvanceSetPieceRoutine()
{
    if (!m_pClub->IsRoutineLive())
        return;
    if (m_Engine.GetMatchEvent() != MATCHEVENT_NONE && m_bySpecialRole != ROLE_EVENT_PLAYER)
        return;
    const MATCHSETPIECE& routine = m_pClub->GetRoutine();
    const int n = m_pClub->GetRoutineStep();
    const bool bPassStep = n >= 0 && n < SETPIECE_TARGETS && routine.awTargetX[n] == kPassStep;
    if (bPassStep && m_pDecisionPartner && m_pDecisionPartner->GetSquadPosition() == routine.awTargetY[n])
        m_pClub->AdvanceRoutineStep();
    else
        m_pClub->EndRoutine();
}

void CMatchPlayer::OnPossessionGained()
{
    CheckSetPieceRoutine();
}

void CMatchPlayer::CheckSetPieceRoutine()
{
    if (!m_pClub->IsRoutineLive() || m_Engine.GetMatchEvent() != MATCHEVENT_NONE)
        return;
    const MATCHSETPIECE& routine = m_pClub->GetRoutine();
    const int n = m_pClub->GetRoutineStep() - 1;
    const bool bReceiver = n >= 0 && n < SETPIECE_TARGETS && routine.awTargetX[n] == kPassStep &&
                           routine.awTargetY[n] == m_bySquadPosition;
    if (!bReceiver)
        m_pClub->EndRoutine();
}
