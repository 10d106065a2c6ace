#include "match/actors/CMatchReferee.h"

#include "common/DebugLog.h"
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchPlayer.h"
#include "platform/Random.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
// The morale moment of a goal for (and against) a whole side.
constexpr int kGoalMoment = 6;
// The incident kinds a goal puts in the match's lists.
constexpr uint8_t kIncidentGoal = 2, kIncidentOwnGoal = 3, kIncidentPenaltyGoal = 8, kIncidentShootoutGoal = 10;
constexpr uint32_t kSignalWaitLimit = CMatchReferee::kTurnWaitLimit;

// Causes he may ask an assistant about; not goals, the six seconds or time wasting.
bool IsLineCause(uint8_t byCause)
{
    switch (byCause) {
    case CAUSE_BALL_OFF_END:
    case CAUSE_BALL_OFF_SIDE:
    case CAUSE_AGGRESSIVE_PLAY:
    case CAUSE_TACKLE_FROM_BEHIND:
    case CAUSE_OFFSIDE:
    case CAUSE_HAND_BALL:
        return true;
    default:
        return false;
    }
}

// Fouls after which he may let play go on.
bool AllowsAdvantage(uint8_t byCause)
{
    return byCause == CAUSE_AGGRESSIVE_PLAY || byCause == CAUSE_TACKLE_FROM_BEHIND || byCause == CAUSE_OFFSIDE ||
           byCause == CAUSE_HAND_BALL;
}

// 1 at the point, falling by a sixth each 1000 to 0.5 at 3000, then slowly.
float DistanceFalloff(int32_t d)
{
    if (d == 0)
        return 1.0f;
    if (d < 3000)
        return 1.0f - float(d) / 6000.0f;
    return 0.5f - float(d - 3000) / 14000.0f;
}

int32_t PlanarDistance(const CVector& a, const CVector& b)
{
    return IntegerRoot(int64_t(b.x - a.x) * (b.x - a.x) + int64_t(b.y - a.y) * (b.y - a.y));
}

}  // namespace

CMatchReferee::CMatchReferee(CMatchEngine& engine, const ITEMMATCHRULESINFORMATION& rules)
    : CMatchAssistantReferee(engine, 0), m_Assistant0(engine, 0), m_Assistant1(engine, 1), m_MatchRules(rules)
{
    m_byPersonType = PERSONTYPE_REFEREE;
    m_fSignallingFacing = 0.0f;
    m_vBasePosition = CVector(5000, GOAL_CENTRE_Y, 0);
    m_nRoamingRadius = kRadius;
    SetPosition(CVector(5000, 7500, 0));
}

bool CMatchReferee::IsCausePending() const
{
    return m_byResolvedCause != CAUSE_NONE &&
           (m_byDecision == DECISION_SIGNAL || m_byDecision == DECISION_CONSULT_ASSISTANT);
}

void CMatchReferee::CheckForCause(const MatchCauseRecord& record)
{
    m_Assistant0.CheckForCause(record);
    m_Assistant1.CheckForCause(record);
    const bool bReal = record.byLikelihood >= 50;
    if (IsCausePending()) {
        // While advantage runs, only a goal by the fouled side is judged.
        const bool bAdvantageGoal =
            m_bAdvantagePending && record.byCause == CAUSE_GOAL && record.pPlayerClub == m_pRestartClub;
        if (!bAdvantageGoal) {
            m_bAdvantagePending = false;
            return;
        }
    }
    int nHalfRange = 0, nTotal = 0;
    bool bSeen = false;
    if (record.byLikelihood != 0) {
        nHalfRange = (100 - int(GetViewRating(record.vPosition))) / 2;
        int nNoise = 0;
        if (nHalfRange > 0) {
            const int nUp = plat::rand() % nHalfRange;
            const int nDown = plat::rand() % nHalfRange;
            nNoise = nUp - nDown;
        }
        nTotal = record.byLikelihood + nNoise;
        nTotal = nTotal < 0 ? 0 : nTotal > 100 ? 100 : nTotal;
        bSeen = nTotal >= 50;
    }
    m_byNoiseHalfRange = uint8_t(nHalfRange);
    bool bConsulting = false;
    if (nHalfRange > 30 && IsLineCause(record.byCause)) {
        // The assistant with the better view decides; his verdict is on this
        // record, not an older one he still holds.
        m_byConsultedAssistant = m_Assistant0.GetNoiseHalfRange() < m_Assistant1.GetNoiseHalfRange() ? 0 : 1;
        bSeen = GetAssistant(m_byConsultedAssistant).AcceptedLastRecord();
        bConsulting = bSeen;
    }
    if (!bSeen) {
        if (bReal)
            m_byCallQuality = CALL_MISSED;
        return;
    }
    m_bAdvantagePending = AllowsAdvantage(record.byCause);
    m_byResolvedCause = record.byCause;
    m_bWaitingToSignal = false;
    m_pOffender = record.pPlayer;
    m_vCausePosition.Set(record.vPosition.x, record.vPosition.y, 0);
    m_pRestartClub = record.pClubAwarded;
    m_byBelief = uint8_t(nTotal);
    m_dwAdvantageStart = record.dwMatchTime;
    m_byDecision = bConsulting ? DECISION_CONSULT_ASSISTANT : DECISION_SIGNAL;
    m_StoredCause = record;
    SetHoldTarget(m_vPosition);
    SelectSignal();
    if (record.byCause == CAUSE_GOAL && m_pRestartClub) {
        if (CMatchPlayer* pKeeper = m_pRestartClub->GetSlot(0))
            pKeeper->SetDecision(DECISION_FRUSTRATION);
        // The scoring side is lifted and the side that kicks off is let down.
        if (record.pPlayer && record.pPlayerClub == m_pRestartClub)
            record.pPlayer->AddOwnGoal();
        if (CMatchClub* pScoring = m_pRestartClub->GetOpponent())
            pScoring->ApplyPositiveEventToAll(kGoalMoment);
        m_pRestartClub->ApplyNegativeEventToAll(kGoalMoment);
        // The goal goes into the incident lists, which name the scorers and
        // from which a shown match's goals are recorded.
        uint8_t byKind = kIncidentGoal;
        if (m_byLastRestart == MATCHEVENT_PENALTY)
            byKind = m_Engine.GetMatchPeriod() == MATCHPERIOD_SHOOTOUT ? kIncidentShootoutGoal : kIncidentPenaltyGoal;
        else if (record.pPlayerClub == m_pRestartClub)
            byKind = kIncidentOwnGoal;
        if (record.pPlayer)
            AddIncident(byKind, record.pPlayer, record.pSecondPlayer, record.dwMatchTime);
    }
    if (CMatchBall* pBall = m_Engine.GetBall())
        pBall->EndBallInfoForCause(record.byCause, m_pRestartClub);
    m_byCallQuality = bReal ? CALL_CORRECT : CALL_WRONG;
}

bool CMatchReferee::ConsultAssistant()
{
    if (m_byDecision != DECISION_CONSULT_ASSISTANT)
        return false;
    const uint32_t dwNow = m_Engine.GetEngineClock();
    if (!m_bWaitingToSignal) {
        m_bWaitingToSignal = true;
        m_dwSignalWaitStart = dwNow;
    }
    // The turn to his assistant counts against the same wait as the signal.
    if ((CAnimationLibrary::IsStandingMoveType(m_byMoveType) && IsAngleNearFacingTarget(m_fFacing)) ||
        dwNow - m_dwSignalWaitStart >= kSignalWaitLimit) {
        m_byDecision = DECISION_SIGNAL;
        return false;
    }
    SetHoldTarget(GetAssistant(m_byConsultedAssistant).GetPosition());
    return true;
}

bool CMatchReferee::CheckAdvantage()
{
    if (!m_bAdvantagePending)
        return false;
    const CMatchBall* pBall = m_Engine.GetBall();
    const CMatchPerson* pToucher = pBall ? pBall->GetLastToucher() : nullptr;
    const CMatchClub* pLastClub = pToucher && pToucher->GetPersonType() == PERSONTYPE_FOOTBALLER
                                      ? static_cast<const CMatchPlayer*>(pToucher)->GetClub()
                                      : nullptr;
    if (pLastClub != m_pRestartClub) {
        // The fouled side lost the ball: the foul is given.
        m_bAdvantagePending = false;
        return false;
    }
    if (m_Engine.GetEngineClock() - m_dwAdvantageStart >= kAdvantageWindow)
        return true;
    if (IsAdvantageGained()) {
        m_byResolvedCause = CAUSE_NONE;
        m_byDecision = DECISION_JUDGING_MATCH;
    }
    m_bAdvantagePending = false;
    return false;
}

bool CMatchReferee::IsAdvantageGained() const
{
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall || !m_pRestartClub)
        return false;
    const CMatchPerson* pHolder = pBall->GetHolder();
    if (!pHolder) {
        if (pBall->GetLastCause() == BALLCAUSE_SHOT)
            return true;
        const CMatchClub* pOffending = m_pRestartClub->GetOpponent();
        int32_t nOffending = 999999999, nFouled = 999999999;
        if (pOffending)
            pOffending->GetNearestReadyPlayer(pBall->GetPosition(), &nOffending);
        m_pRestartClub->GetNearestReadyPlayer(pBall->GetPosition(), &nFouled);
        return nOffending >= nFouled;
    }
    if (pHolder->GetPersonType() != PERSONTYPE_FOOTBALLER)
        return false;
    const CMatchPlayer* pPlayer = static_cast<const CMatchPlayer*>(pHolder);
    const CMatchClub* pClub = pPlayer->GetClub();
    const int nZone = pClub ? pClub->GetZone(pPlayer->GetPosition().x, pPlayer->GetPosition().y) : 0;
    return nZone >= 2 && nZone <= 5 && pPlayer->GetOnBallPressure() < 2;
}

void CMatchReferee::SelectSignal()
{
    if (m_byResolvedCause == CAUSE_BALL_OFF_END || m_byResolvedCause == CAUSE_BALL_OFF_SIDE) {
        // He points the way the restart club plays.
        const bool bTowardsHigh = m_pRestartClub && m_pRestartClub->AttacksHighEnd();
        const bool bFacingUp = std::fabs(WrapAngle(double(m_fFacing))) <= kPi / 2;
        if (bFacingUp) {
            m_bySignalAnimation = bTowardsHigh ? SIGNAL_WHISTLE_RIGHT : SIGNAL_WHISTLE_LEFT;
            m_fSignalAngle = 0.0f;
        } else {
            m_bySignalAnimation = bTowardsHigh ? SIGNAL_WHISTLE_LEFT : SIGNAL_WHISTLE_RIGHT;
            m_fSignalAngle = float(kPi);
        }
        return;
    }
    if (m_byResolvedCause == CAUSE_NONE)
        DebugLog(6, "[CMatchReferee::SelectSignal] Signalling on cause none");
    else if (m_byResolvedCause >= CAUSE_COUNT)
        DebugLog(6, "[CMatchReferee::SelectSignal] Signalling on invalid cause: %d", m_byResolvedCause);
    m_bySignalAnimation = SIGNAL_WHISTLE_FORWARD;
    m_fSignalAngle = float(m_vPosition.GetAngleTo(m_vCausePosition));
}

void CMatchReferee::GiveSignal()
{
    const uint32_t dwNow = m_Engine.GetEngineClock();
    if (!m_bWaitingToSignal) {
        m_bWaitingToSignal = true;
        m_dwSignalWaitStart = dwNow;
    }
    // Without a model (no 3-D view) there is no turn to wait for. With one
    // he turns and stops for the signal's animation, but a referee who cannot
    // come to rest in time (still running, or no signal fits his stride)
    // whistles all the same: play must not go on past a decision.
    const bool bAnimated = GetModel() && std::fabs(WrapAngle(double(m_fSignalAngle) - m_fFacing)) < kPi / 4 &&
                           SelectActionOfMoveType(m_bySignalAnimation);
    if (!GetModel() || bAnimated || dwNow - m_dwSignalWaitStart >= kSignalWaitLimit) {
        m_bWaitingToSignal = false;
        SetAction(ACTION_SIGNALLING);
        m_byDecision = DECISION_JUDGING_MATCH;
        SetEventFromCause();
        return;
    }
    SetHoldTarget(m_vPosition);
}

void CMatchReferee::TakeUpPosition()
{
    const uint8_t byEvent = m_Engine.GetMatchEvent();
    if (byEvent == MATCHEVENT_NONE || byEvent > MATCHEVENT_INJURY) {
        m_byDecision = DECISION_JUDGING_MATCH;
        if (const CMatchBall* pBall = m_Engine.GetBall())
            SetHoldTarget(pBall->GetPosition());
        return;
    }
    m_byDecision = 0;
    switch (byEvent) {
    case MATCHEVENT_HALFTIME:
    case MATCHEVENT_FULLTIME:
        SetTarget(kTunnelPoint, kNoFacing);
        break;
    case MATCHEVENT_KICKOFF:
    case MATCHEVENT_GOALKICK:
        SetTarget(CVector(5000, 5625, 0), kNoFacing);
        break;
    case MATCHEVENT_PENALTY:
        // The club awarded the restart takes the penalty.
        SetTarget(m_pRestartClub && !m_pRestartClub->AttacksHighEnd() ? CVector(1650, 4716, 0)
                                                                      : CVector(8350, 4716, 0),
                  kNoFacing);
        break;
    case MATCHEVENT_INJURY:
        if (m_pInjuredPlayer)
            SetTarget(m_pInjuredPlayer->GetPosition() + CVector(300, 0, 0), kNoFacing);
        break;
    default: {
        // Throw-in, corner, free kicks: 2000 from the ball towards the middle of the far goal line.
        const CVector goal(m_vEventPosition.x >= 5000 ? 0 : PITCH_LENGTH, GOAL_CENTRE_Y, 0);
        const double fAngle = m_vEventPosition.GetAngleTo(goal);
        SetTarget(CVector(m_vEventPosition.x + TruncateToInt(std::sin(fAngle) * 2000),
                          m_vEventPosition.y + TruncateToInt(std::cos(fAngle) * 2000), 0),
                  kNoFacing);
        break;
    }
    }
}

void CMatchReferee::MakeDecision()
{
    if (ShowCard())
        return;
    if (m_byDecision == DECISION_SIGNAL)
        SetHoldTarget(m_vPosition);
    else if (m_byDecision != DECISION_CONSULT_ASSISTANT)
        TakeUpPosition();
    UpdateMatchState();
}

void CMatchReferee::ChooseSpeedGrade()
{
    if (!m_bRunningToTarget || m_nDistanceToTarget <= 0) {
        m_bySpeedGrade = 4;
        return;
    }
    const int32_t nDivisor = m_Engine.GetMatchEvent() == MATCHEVENT_NONE ? 250 : 500;
    const int32_t nGrade = m_nDistanceToTarget / nDivisor + 1;
    m_bySpeedGrade = uint8_t(nGrade > 10 ? 10 : nGrade);
}

void CMatchReferee::SetFacingTarget()
{
    if (m_byDecision == DECISION_SIGNAL)
        m_fFacingTarget = m_fSignalAngle;
    else if (m_byCardLevel != 0 && m_pOffender)
        m_fFacingTarget = float(m_vPosition.GetAngleTo(m_pOffender->GetPosition()));
    else if (m_byDecision == DECISION_CONSULT_ASSISTANT)
        m_fFacingTarget = float(m_vPosition.GetAngleTo(m_vTarget));
    else if (m_pInjuredPlayer)
        m_fFacingTarget = float(m_vPosition.GetAngleTo(m_pInjuredPlayer->GetPosition()));
    else if (m_bRunningToTarget && m_nDistanceToTarget > 69)
        m_fFacingTarget = float(m_vPosition.GetAngleTo(m_vTarget));
    else if (const CMatchBall* pBall = m_Engine.GetBall())
        m_fFacingTarget = float(m_vPosition.GetAngleTo(pBall->GetPosition()));
}

float CMatchReferee::AssessPosition(const CVector& point)
{
    const int32_t d = PlanarDistance(point, m_vTarget);
    if (m_Engine.GetMatchEvent() != MATCHEVENT_NONE)
        return DistanceFalloff(d);
    // In open play: some 1500 from the ball, not far from the centre spot.
    const int32_t nFromBall = d - 1500;
    const float fBall = nFromBall < 0 ? 1.0f + float(nFromBall) / 1500.0f : DistanceFalloff(nFromBall);
    const int32_t e = PlanarDistance(point, m_vBasePosition) - kRadius;
    const float fCentre = e <= 0 ? 1.0f : e < 1500 ? 1.0f - float(e) / 3000.0f : 0.5f - float(e - 1500) / 17000.0f;
    return fBall * fCentre;
}
