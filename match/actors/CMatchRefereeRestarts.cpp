// The match flow of the referee: from a resolved cause to the next restart
// and its set-up, the wait until it is ready and taken, substitutions at
// stoppages, cards, the periods with their added time, extra time, golden
// goal and the penalty shoot-out, and the result code.
#include "match/actors/CMatchReferee.h"

#include "common/DebugLog.h"
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchPhysio.h"
#include "match/actors/CMatchPlayer.h"
#include "platform/Random.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr uint8_t ACTION_BOOKING_PLAYER = 15;
constexpr uint8_t kShowCardAnimation = 52;

// Match event codes the referee raises.
enum : uint8_t {
    EVENT_YELLOW_CARD = 6, EVENT_RED_CARD = 7, EVENT_GOAL_KICK = 11, EVENT_PERIOD = 15, EVENT_PENALTY = 17,
    EVENT_FULL_TIME = 19, EVENT_GOAL = 20, EVENT_THROW_IN = 22, EVENT_CORNER = 23, EVENT_EXTRA_TIME = 32
};
// Incident kinds for the match screen's lists.
enum : uint8_t {
    INCIDENT_BOOKING = 0, INCIDENT_SENDING_OFF = 1, INCIDENT_PENALTY_MISSED = 9, INCIDENT_SHOOTOUT_MISSED = 11
};

const char* const kPeriodNames[] = {"Before Kick Off", "First Half", "Second Half", "Full Time",
                                    "Extra Time First Half", "Extra Time Second Half", "Penalty Shoot Out"};

// Grace time and window (ms) of the restart patience by current event.
constexpr uint32_t kPatienceGrace[MATCHEVENT_NEXTEVENT] = {10, 10, 10, 1000, 500, 1000, 1000, 1000, 1000, 2000, 10};
constexpr uint32_t kPatienceWindow[MATCHEVENT_NEXTEVENT] = {10, 10, 10, 6000, 3000, 6000, 6000, 5000, 6000, 7000, 10};

int32_t PlanarDistance(const CVector& a, const CVector& b)
{
    return IntegerRoot(int64_t(b.x - a.x) * (b.x - a.x) + int64_t(b.y - a.y) * (b.y - a.y));
}

// How long a restart may take to set up before it is forced; 0 no limit.
uint32_t GetSetupLimit(uint8_t byEvent)
{
    if (byEvent == MATCHEVENT_HALFTIME || byEvent == MATCHEVENT_FULLTIME)
        return 60000;
    if (byEvent == MATCHEVENT_KICKOFF)
        return 50000;
    if (byEvent >= MATCHEVENT_THROWIN && byEvent <= MATCHEVENT_PENALTY)
        return 40000;
    return 0;
}

CMatchClub* ClubOf(CMatchPlayer* pPlayer)
{
    return pPlayer ? pPlayer->GetClub() : nullptr;
}

}  // namespace

void CMatchReferee::RaiseEvent(uint8_t byCode, uint8_t byDetail, CMatchPerson* pPerson, CMatchPerson* pSecond)
{
    ITEMMATCHEVENTINFORMATION& record = m_Engine.GetEventRecord();
    record.pPerson = pPerson;
    record.pSecondPerson = pSecond;
    record.dwMatchTime = m_Engine.GetEngineClock();
    record.dwGameTime = m_Engine.GetMatchTime();
    record.byCallQuality = m_byCallQuality;
    record.byEvent = byCode;
    record.byDetail = byDetail;
    m_Engine.SendMatchEvent();
}

void CMatchReferee::AddIncident(uint8_t byKind, CMatchPerson* pPerson, CMatchPerson* pSecond, uint32_t dwTime)
{
    ITEMMATCHEVENTINFORMATION& record = m_Engine.GetEventRecord();
    record.pPerson = pPerson;
    record.pSecondPerson = pSecond;
    record.dwMatchTime = dwTime;
    record.dwGameTime = m_Engine.GetMatchTime();
    record.byEvent = byKind;
    record.byDetail = 0;
    m_Engine.SendIncident();
}

void CMatchReferee::StartStoppage()
{
    if (m_bStoppageRunning)
        return;
    m_bStoppageRunning = true;
    m_dwStoppageStart = m_Engine.GetMatchTime();
}

void CMatchReferee::CloseStoppage()
{
    if (!m_bStoppageRunning)
        return;
    m_bStoppageRunning = false;
    m_dwAddedTime += m_Engine.GetMatchTime() - m_dwStoppageStart;
}

void CMatchReferee::SetFollowed(uint8_t byRestart)
{
    m_byLastRestart = byRestart;
    m_Engine.SetFollowedRestart(byRestart, byRestart ? m_pLastTaker : nullptr);
}

uint32_t CMatchReferee::GetTimeSinceSetup() const
{
    return m_Engine.GetMatchTime() - m_dwSetupTime;
}

uint32_t CMatchReferee::GetTimeSinceEventStart() const
{
    return m_Engine.GetMatchTime() - m_dwEventStartTime;
}

uint32_t CMatchReferee::GetTimeSinceRestartTaken() const
{
    return m_byLastRestart == MATCHEVENT_NONE ? 0 : m_Engine.GetMatchTime() - m_dwRestartTakenTime;
}

uint32_t CMatchReferee::GetTimeInPlay() const
{
    if (m_Engine.GetMatchEvent() != MATCHEVENT_NONE || m_byLastRestart != MATCHEVENT_NONE)
        return 0;
    return m_Engine.GetMatchTime() - m_dwInPlaySince;
}

const char* CMatchReferee::GetPeriodName() const
{
    const uint8_t byPeriod = m_Engine.GetMatchPeriod();
    return byPeriod <= MATCHPERIOD_SHOOTOUT ? kPeriodNames[byPeriod] : "Unknown";
}

void CMatchReferee::ClearEventRoles()
{
    if (m_pEventPlayer) {
        if (m_pEventPlayer->GetSpecialRole() == ROLE_EVENT_PLAYER)
            m_pEventPlayer->SetSpecialRole(ROLE_NONE);
        m_pEventPlayer->SetChosenForRestart(false);
    }
    if (m_pSecondEventPlayer && m_pSecondEventPlayer->GetSpecialRole() == ROLE_SECOND_EVENT_PLAYER)
        m_pSecondEventPlayer->SetSpecialRole(ROLE_NONE);
    m_pEventPlayer = m_pSecondEventPlayer = nullptr;
    m_bSetupComplete = false;
}

void CMatchReferee::StartMatch()
{
    m_byResolvedCause = CAUSE_NONE;
    SetPeriod(MATCHPERIOD_BEFOREKICKOFF);
}

bool CMatchReferee::IsInAttackedBox(const CVector& point) const
{
    if (point.y < 1684 || point.y > 5816 || !m_pRestartClub)
        return false;
    return m_pRestartClub->AttacksHighEnd() ? point.x >= 8350 && point.x <= PITCH_LENGTH
                                             : point.x >= 0 && point.x <= 1650;
}

void CMatchReferee::SetEventFromCause()
{
    CMatchClub* pClub = m_pRestartClub;
    if (m_Engine.GetMatchPeriod() == MATCHPERIOD_SHOOTOUT) {
        // A kick ends with its cause: a goal counts for the kicking side,
        // anything else is a miss.
        if (m_byResolvedCause == CAUSE_GOAL && pClub && pClub->GetOpponent())
            pClub->GetOpponent()->GetCounters().byShootOutGoals++;
        SetFollowed(MATCHEVENT_NONE);
        CheckPeriodEnd();
        return;
    }
    CMatchClub* pOffenderClub = ClubOf(m_pOffender);
    const int nAnger = m_pOffender ? m_pOffender->GetAnger() / 10 : 0;
    switch (m_byResolvedCause) {
    case CAUSE_NONE:
        if (m_Engine.GetMatchEvent() == MATCHEVENT_INJURY) {
            m_vCausePosition = m_vSecondEventPosition;
            SetupFreeKick();
        }
        break;
    case CAUSE_BALL_OFF_END: {
        const bool bOwnEnd = pClub && (pClub->AttacksHighEnd() ? m_vCausePosition.x < 5000 : m_vCausePosition.x >= 5000);
        if (bOwnEnd) {
            RaiseEvent(EVENT_GOAL_KICK, 0, m_pOffender, nullptr);
            SetupGoalKick();
        } else {
            const CMatchBall* pBall = m_Engine.GetBall();
            uint8_t byDetail = 1;
            if (pBall && pBall->GetLastCause() == BALLCAUSE_DEFLECTION)
                byDetail = plat::rand() % 100 < 5 ? 2 : 0;
            RaiseEvent(EVENT_CORNER, byDetail, m_pOffender, nullptr);
            SetupCorner();
        }
        break;
    }
    case CAUSE_BALL_OFF_SIDE:
        RaiseEvent(EVENT_THROW_IN, 0, m_pOffender, nullptr);
        SetupThrowIn();
        break;
    case CAUSE_AGGRESSIVE_PLAY:
    case CAUSE_TACKLE_FROM_BEHIND:
        if (pOffenderClub)
            pOffenderClub->GetCounters().byFouls++;
        if (IsInAttackedBox(m_vCausePosition))
            SetupPenalty();
        else
            SetupDirectFreeKick();
        if (m_byResolvedCause == CAUSE_TACKLE_FROM_BEHIND) {
            DebugLog(6, "[CMatchReferee::SetEventFromCause] Booking for tackle from behind: %d", int(m_byBelief));
            SetCardLevel(1);
        } else if (m_byBelief > 90) {
            DebugLog(6, "[CMatchReferee::SetEventFromCause] Sending off for dangerous tackle: %d, %d", int(m_byBelief),
                     nAnger);
            SetCardLevel(3);
        } else if (m_byBelief > 60) {
            DebugLog(6, "[CMatchReferee::SetEventFromCause] Booking for dangerous tackle: %d, %d", int(m_byBelief),
                     nAnger);
            SetCardLevel(1);
        }
        break;
    case CAUSE_GOAL: {
        CMatchClub* pScoring = pClub ? pClub->GetOpponent() : nullptr;
        if (pScoring) {
            if (m_byLastRestart == MATCHEVENT_PENALTY)
                pScoring->GetCounters().byPenaltyGoals++;
            pScoring->AddReviewFlags(CMatchClub::REVIEW_SCORED);
            pScoring->SetGoals(uint8_t(pScoring->GetGoals() + 1));
        }
        if (pClub)
            pClub->AddReviewFlags(CMatchClub::REVIEW_CONCEDED);
        RaiseEvent(EVENT_GOAL, m_Engine.GetGoalScoreCode(), m_pOffender, nullptr);
        SetupKickOff();
        break;
    }
    case CAUSE_OFFSIDE:
        if (pClub && pClub->GetOpponent())
            pClub->GetOpponent()->GetCounters().byOffsides++;
        SetupFreeKick();
        break;
    case CAUSE_SIX_SECOND_RULE:
    case CAUSE_TIME_WASTING:
        if (pOffenderClub)
            pOffenderClub->GetCounters().byFouls++;
        SetupFreeKick();
        break;
    case CAUSE_HAND_BALL:
        if (pOffenderClub)
            pOffenderClub->GetCounters().byFouls++;
        if (IsInAttackedBox(m_vCausePosition))
            SetupPenalty();
        else
            SetupDirectFreeKick();
        break;
    default:
        DebugLog(6, "[CMatchReferee::SetEventFromCause] Invalid cause: %d", int(m_byResolvedCause));
        break;
    }
}

void CMatchReferee::BeginRestart(uint8_t byEvent, const CVector& position, const CVector& second, bool bSecondPlayer,
                                 CMatchClub* pSecondClub)
{
    ClearEventRoles();
    m_Engine.SetMatchEvent(byEvent);
    m_vEventPosition = position;
    m_vSecondEventPosition = second;
    m_Assistant0.SetEventPosition(position);
    m_Assistant1.SetEventPosition(position);
    m_Engine.SetupEventPositions();
    m_pEventPlayer = m_pRestartClub ? m_pRestartClub->ChooseEventPlayer() : nullptr;
    if (m_pEventPlayer) {
        m_pEventPlayer->SetSpecialRole(ROLE_EVENT_PLAYER);
        m_pEventPlayer->SetBasePosition(position);
        m_pEventPlayer->UpdateBasePosition();
    }
    if (bSecondPlayer && pSecondClub) {
        m_pSecondEventPlayer = pSecondClub->ChooseSecondEventPlayer();
        if (m_pSecondEventPlayer == m_pEventPlayer)
            m_pSecondEventPlayer = nullptr;
        if (m_pSecondEventPlayer) {
            m_pSecondEventPlayer->SetSpecialRole(ROLE_SECOND_EVENT_PLAYER);
            m_pSecondEventPlayer->SetBasePosition(second);
            m_pSecondEventPlayer->UpdateBasePosition();
        }
    }
    m_dwEventStartTime = m_Engine.GetMatchTime();
}

void CMatchReferee::SetupKickOff()
{
    const double a = m_pRestartClub && m_pRestartClub->AttacksHighEnd() ? kPi / 4 : -kPi / 4;
    const CVector spot(5000 - TruncateToInt(std::sin(a) * 40), GOAL_CENTRE_Y - TruncateToInt(std::cos(a) * 40), 0);
    BeginRestart(MATCHEVENT_KICKOFF, spot, CVector(5000, 3950, 0), true, m_pRestartClub);
}

void CMatchReferee::SetupFreeKick()
{
    CVector spot(std::clamp(m_vCausePosition.x, 0, PITCH_LENGTH), std::clamp(m_vCausePosition.y, 0, PITCH_WIDTH), 0);
    if (spot.y >= 2784 && spot.y <= 4716) {
        // Never inside a goal area.
        if (spot.x <= 550)
            spot.x = 550;
        else if (spot.x >= 9450)
            spot.x = 9450;
    }
    if (m_pRestartClub)
        m_pRestartClub->GetCounters().byFreeKicks++;
    BeginRestart(MATCHEVENT_FREEKICK, spot, m_vSecondEventPosition, false, nullptr);
    ITEMMATCHEVENTINFORMATION& record = m_Engine.GetEventRecord();
    record.pPerson = m_pEventPlayer;
    record.pSecondPerson = m_pRestartClub ? m_pRestartClub->GetSlot(1) : nullptr;
}

void CMatchReferee::SetupThrowIn()
{
    const bool bFarSide = m_vCausePosition.y > GOAL_CENTRE_Y;
    const CVector spot(m_vCausePosition.x, bFarSide ? 7600 : -100, 0);
    const bool bHigh = m_pRestartClub && m_pRestartClub->AttacksHighEnd();
    const int32_t nAcross = 400 + plat::rand() % 400;
    CVector second(spot.x + (bHigh ? 700 : -700), spot.y + (bFarSide ? -nAcross : nAcross), 0);
    second.x = std::clamp(second.x, 300, 9700);
    second.y = std::clamp(second.y, 300, 7200);
    if (m_pRestartClub)
        m_pRestartClub->GetCounters().byThrowIns++;
    BeginRestart(MATCHEVENT_THROWIN, spot, second, true, m_pRestartClub);
}

void CMatchReferee::SetupGoalKick()
{
    const bool bHigh = m_pRestartClub && m_pRestartClub->AttacksHighEnd();
    const CVector spot(bHigh ? 450 : 9550, m_vCausePosition.y < 3751 ? 2884 : 4616, 0);
    BeginRestart(MATCHEVENT_GOALKICK, spot, m_vSecondEventPosition, false, nullptr);
}

void CMatchReferee::SetupCorner()
{
    const bool bHigh = m_pRestartClub && m_pRestartClub->AttacksHighEnd();
    const bool bNear = m_vCausePosition.y < GOAL_CENTRE_Y;
    const CVector spot(bHigh ? 9980 : 20, bNear ? 20 : 7480, 0);
    const CVector second(bHigh ? 9500 : 500, bNear ? 800 : 6700, 0);
    const bool bShort = plat::rand() % 100 >= 96;
    if (m_pRestartClub)
        m_pRestartClub->GetCounters().byCorners++;
    BeginRestart(MATCHEVENT_CORNER, spot, second, bShort, m_pRestartClub);
}

void CMatchReferee::SetupDirectFreeKick()
{
    if (m_pRestartClub)
        m_pRestartClub->GetCounters().byDirectFreeKicks++;
    BeginRestart(MATCHEVENT_DIRECTFREEKICK, m_vCausePosition, m_vSecondEventPosition, false, nullptr);
    m_Engine.GetEventRecord().pSecondPerson = m_pEventPlayer;
}

void CMatchReferee::SetupPenalty()
{
    const bool bShootOut = m_Engine.GetMatchPeriod() == MATCHPERIOD_SHOOTOUT;
    const bool bHigh = m_pRestartClub && m_pRestartClub->AttacksHighEnd() && !bShootOut;
    CMatchClub* pDefending = m_pRestartClub ? m_pRestartClub->GetOpponent() : nullptr;
    if (m_pRestartClub)
        m_pRestartClub->GetCounters().byPenaltiesAwarded++;
    BeginRestart(MATCHEVENT_PENALTY, CVector(bHigh ? 8860 : 1140, GOAL_CENTRE_Y, 0),
                 CVector(bHigh ? 9950 : 50, GOAL_CENTRE_Y, 0), true, pDefending);
    if (!bShootOut)
        RaiseEvent(EVENT_PENALTY, uint8_t(1 + m_byCallQuality), m_pEventPlayer,
                   pDefending ? pDefending->GetSlot(0) : nullptr);
}

void CMatchReferee::RequestSubstitution(int nSide, int nSlot, int nOffIndex)
{
    if (nSide < 0 || nSide > 1 || nSlot < 0 || nSlot >= kSubstitutionSlots || nOffIndex < 0 || nOffIndex > 254) {
        DebugLog(6, "[CMatchReferee::RequestSubstitution] Invalid request: side %d, slot %d, off %d", nSide, nSlot,
                 nOffIndex);
        return;
    }
    m_aSubstitutions[nSide][nSlot].byOffIndex = uint8_t(nOffIndex);
    m_aSubstitutions[nSide][nSlot].bPending = true;
    m_dwSubstitutionState = 1;
}

bool CMatchReferee::GetSubstitutionInProgress(CMatchPlayer** ppOff, CMatchPlayer** ppOn) const
{
    const bool bUnderWay = m_dwSubstitutionState == 2;
    *ppOff = bUnderWay ? m_pSubstitutionOff : nullptr;
    *ppOn = bUnderWay ? m_pSubstitutionOn : nullptr;
    return bUnderWay;
}

void CMatchReferee::CarryOutSubstitutions()
{
    const int nSlots = std::min<int>(m_MatchRules.abyRules[2], kSubstitutionSlots);
    for (int nSide = 0; nSide < 2; ++nSide) {
        CMatchClub* pClub = nSide ? m_Engine.GetAwayClub() : m_Engine.GetHomeClub();
        for (int nSlot = 0; nSlot < kSubstitutionSlots; ++nSlot) {
            SUBSTITUTIONSLOT& slot = m_aSubstitutions[nSide][nSlot];
            if (!slot.bPending)
                continue;
            const int nOn = pClub ? pClub->GetOnPitchCount() + nSlot : -1;
            CMatchPlayer* pOn = pClub ? pClub->GetSlot(nOn) : nullptr;
            CMatchPlayer* pOff = pClub && slot.byOffIndex < pClub->GetOnPitchCount() ? pClub->GetSlot(slot.byOffIndex)
                                                                                     : nullptr;
            // A player who already came off never returns, nor does one come
            // on for a place nobody holds.
            if (nSlot < nSlots && pOn && pOff && pOn->IsAvailableSubstitute()) {
                m_pSubstitutionOn = pOn;
                m_pSubstitutionOff = pOff;
                pClub->SubstitutePlayer(slot.byOffIndex, nOn);
            } else {
                DebugLog(6, "[CMatchReferee::CheckEventState] Substitution refused: side %d, slot %d", nSide, nSlot);
            }
            slot = SUBSTITUTIONSLOT();
        }
    }
    m_dwSubstitutionState = 2;
    m_dwAddedTime += 3000;
    StartStoppage();
}

void CMatchReferee::CheckEventState()
{
    if (m_Engine.GetMatchEvent() == MATCHEVENT_INJURY) {
        if (!m_pInjuredPlayer) {
            DebugLog(6, "CheckEventState - m_pInjuredPlayer == NULL");
            return;
        }
        const CMatchPlayer* pInjured = m_pInjuredPlayer->GetPersonType() == PERSONTYPE_FOOTBALLER
                                           ? static_cast<const CMatchPlayer*>(m_pInjuredPlayer)
                                           : nullptr;
        // He is up once the physio has treated him (or he is fit again, or
        // has gone off).
        const bool bDealtWith = !pInjured || !pInjured->IsInjured() || !pInjured->IsHeldForReferee() ||
                                pInjured->GetSpecialRole() == ROLE_BENCH;
        if (!bDealtWith)
            return;
        DebugLog(6, "CheckEventState - m_pInjuredPlayer dealt with");
        m_pInjuredPlayer->SetHeldForReferee(false);
        m_pInjuredPlayer = nullptr;
        if (m_pSecondEventPlayer && m_pSecondEventPlayer->GetSpecialRole() == ROLE_SECOND_EVENT_PLAYER)
            m_pSecondEventPlayer->SetSpecialRole(ROLE_NONE);
        m_pSecondEventPlayer = nullptr;
        SetEventFromCause();
        return;
    }
    if (m_bSetupComplete) {
        CheckTimeWasting();
        return;
    }
    if (m_dwSubstitutionState == 1)
        CarryOutSubstitutions();
    if (IsEventSetup() && PlanarDistance(m_vPosition, m_vTarget) <= 500) {
        m_bSetupComplete = true;
        m_dwSubstitutionState = 0;
        m_pSubstitutionOn = m_pSubstitutionOff = nullptr;
        m_dwSetupTime = m_Engine.GetMatchTime();
        m_dwSetupClock = m_Engine.GetEngineClock();
        CloseStoppage();
        SetAction(ACTION_SIGNALLING);
        m_byResolvedCause = CAUSE_NONE;
        if (m_Engine.GetMatchEvent() == MATCHEVENT_PENALTY) {
            const CMatchClub* pDefending = m_pRestartClub ? m_pRestartClub->GetOpponent() : nullptr;
            RaiseEvent(EVENT_PENALTY, 0, m_pEventPlayer, pDefending ? pDefending->GetSlot(0) : nullptr);
        }
    }
}

bool CMatchReferee::IsEventSetup()
{
    const uint8_t byPeriod = m_Engine.GetMatchPeriod();
    const uint8_t byEvent = m_Engine.GetMatchEvent();
    const uint32_t dwLimit = byPeriod == MATCHPERIOD_BEFOREKICKOFF || byPeriod == MATCHPERIOD_ENDOFNORMALTIME
                                 ? 0
                                 : GetSetupLimit(byEvent);
    if (dwLimit && m_Engine.GetMatchTime() - m_dwEventStartTime > dwLimit) {
        DebugLog(6, "[CMatchReferee::IsEventSetup] Event has taken too long to set up: %d", int(byEvent));
        CMatchBall* pBall = m_Engine.GetBall();
        if (m_pEventPlayer && pBall && pBall->GetHolder() != m_pEventPlayer) {
            DebugLog(6, "[CMatchReferee::IsEventSetup] Giving ball to event player");
            pBall->SetPossessor(m_pEventPlayer);
        }
        return true;
    }
    const CMatchClub* pHome = m_Engine.GetHomeClub();
    const CMatchClub* pAway = m_Engine.GetAwayClub();
    return (!pHome || pHome->IsReadyForRestart()) && (!pAway || pAway->IsReadyForRestart());
}

void CMatchReferee::CheckTimeWasting()
{
    const uint8_t byEvent = m_Engine.GetMatchEvent();
    if (!m_bSetupComplete || !m_pEventPlayer || m_pEventPlayer->GetAction() == ACTION_KICKING ||
        GetTimeSinceSetup() <= 7000)
        return;
    CMatchBall* pBall = m_Engine.GetBall();
    if (pBall && pBall->GetHolder() != m_pEventPlayer) {
        // A taker who never reached the ball is not wasting time: he is
        // given it, as when a restart takes too long to set up.
        DebugLog(6, "[CMatchReferee::CheckTimeWasting] Giving ball to event player");
        pBall->SetPossessor(m_pEventPlayer);
        return;
    }
    if ((byEvent != MATCHEVENT_GOALKICK && byEvent != MATCHEVENT_FREEKICK && byEvent != MATCHEVENT_DIRECTFREEKICK) ||
        plat::rand() % 100 >= 5)
        return;
    m_pOffender = m_pEventPlayer;
    m_byResolvedCause = CAUSE_TIME_WASTING;
    m_pRestartClub = m_pRestartClub ? m_pRestartClub->GetOpponent() : nullptr;
    m_vCausePosition = m_vEventPosition;
    m_byDecision = DECISION_SIGNAL;
    SelectSignal();
    ClearEventRoles();
    m_Engine.SetMatchEvent(MATCHEVENT_NONE);
}

uint32_t CMatchReferee::GetRestartPatience() const
{
    const uint8_t byEvent = m_Engine.GetMatchEvent();
    if (byEvent >= MATCHEVENT_NEXTEVENT)
        return 0;
    // A kick-off waits with the match clock stopped; its patience still runs out.
    const int64_t t = m_Engine.IsMatchClockRunning() ? int64_t(GetTimeSinceSetup())
                                                      : int64_t(m_Engine.GetEngineClock() - m_dwSetupClock);
    const int64_t v = (t - int64_t(kPatienceGrace[byEvent])) * 100 / int64_t(kPatienceWindow[byEvent]);
    if (t < int64_t(kPatienceGrace[byEvent]))
        return 101;
    return v < 100 ? uint32_t(100 - v) : 0;
}

void CMatchReferee::OnRestartTaken()
{
    CMatchPlayer* pTaker = m_pEventPlayer;
    const uint8_t byRestart = m_Engine.GetMatchEvent();
    ClearEventRoles();
    if (m_Engine.GetMatchPeriod() == MATCHPERIOD_BEFOREKICKOFF) {
        SetPeriod(MATCHPERIOD_FIRSTHALF);
        m_Engine.GetEventRecord().pPerson = pTaker;
    }
    m_Engine.SetMatchClockRunning(true);
    m_pLastTaker = pTaker;
    m_dwRestartTakenTime = m_Engine.GetMatchTime();
    SetFollowed(byRestart);
    m_Engine.SetMatchEvent(MATCHEVENT_NONE);
    m_byResolvedCause = CAUSE_NONE;
}

bool CMatchReferee::UpdateAfterRestart()
{
    if (m_byLastRestart == MATCHEVENT_NONE)
        return false;
    const CMatchBall* pBall = m_Engine.GetBall();
    const bool bUntouched = pBall && !pBall->GetHolder() && pBall->GetLastToucher() == m_pLastTaker;
    const uint32_t dwNow = m_Engine.GetMatchTime();
    if (m_Engine.GetMatchPeriod() == MATCHPERIOD_SHOOTOUT && m_byLastRestart == MATCHEVENT_PENALTY) {
        if (bUntouched && dwNow - m_dwRestartTakenTime < 2001)
            return false;
    } else {
        if (bUntouched)
            return false;
        if (m_byLastRestart == MATCHEVENT_PENALTY)
            AddIncident(INCIDENT_PENALTY_MISSED, m_pLastTaker, nullptr, m_Engine.GetEngineClock());
    }
    m_byPreviousRestart = m_byLastRestart;
    SetFollowed(MATCHEVENT_NONE);
    m_dwInPlaySince = dwNow;
    return false;
}

void CMatchReferee::SetPeriod(uint8_t byPeriod)
{
    m_abAddedTimeAnnounced[0] = m_abAddedTimeAnnounced[1] = false;
    m_Engine.SetMatchPeriod(byPeriod);
    DebugLog(6, "[CMatchReferee::SetPeriod] %s", GetPeriodName());
    ClearEventRoles();
    m_byResolvedCause = CAUSE_NONE;
    CMatchClub* pHome = m_Engine.GetHomeClub();
    CMatchClub* pAway = m_Engine.GetAwayClub();
    switch (byPeriod) {
    case MATCHPERIOD_BEFOREKICKOFF:
        m_pRestartClub = plat::rand() % 2 == 0 ? m_Engine.GetClubAttackingLowEnd() : m_Engine.GetClubAttackingHighEnd();
        m_Engine.SetMatchEvent(MATCHEVENT_NONE);
        SetupKickOff();
        m_Engine.SetMatchTime(0);
        m_pFirstKickOffClub = m_pRestartClub;
        break;
    case MATCHPERIOD_FIRSTHALF:
        m_Engine.SetMatchEvent(MATCHEVENT_NONE);
        m_dwAddedTime = 0;
        m_Engine.SetMatchTime(0);
        break;
    case MATCHPERIOD_SECONDHALF:
        m_Engine.SetMatchEvent(MATCHEVENT_HALFTIME);
        m_Engine.SwapEnds();
        m_dwAddedTime = 0;
        m_Engine.SetMatchClockRunning(false);
        break;
    case MATCHPERIOD_ENDOFNORMALTIME:
        m_Engine.SetMatchEvent(MATCHEVENT_FULLTIME);
        RaiseEvent(EVENT_FULL_TIME, m_Engine.GetFinalScoreCode(), nullptr, nullptr);
        m_Engine.SetMatchClockRunning(false);
        break;
    case MATCHPERIOD_EXTRATIMEFIRSTHALF:
        m_Engine.SetMatchEvent(MATCHEVENT_NONE);
        RaiseEvent(EVENT_PERIOD, 4, nullptr, nullptr);
        m_Engine.SwapEnds();
        // The club that kicked off the match kicks off extra time; the clock
        // waits for the kick-off.
        m_pRestartClub = m_pFirstKickOffClub;
        m_dwAddedTime = 0;
        SetupKickOff();
        m_MatchRules.abyRules[0] &= uint8_t(~RULE_EXTRA_TIME);
        m_Engine.SetMatchTime(5400000);
        m_Engine.SetMatchClockRunning(false);
        break;
    case MATCHPERIOD_EXTRATIMESECONDHALF:
        m_Engine.SetMatchEvent(MATCHEVENT_NONE);
        m_Engine.SwapEnds();
        m_pRestartClub = m_pFirstKickOffClub ? m_pFirstKickOffClub->GetOpponent() : m_pRestartClub;
        SetupKickOff();
        m_Engine.SetMatchClockRunning(false);
        break;
    case MATCHPERIOD_SHOOTOUT:
        m_Engine.SetMatchEvent(MATCHEVENT_NONE);
        m_pRestartClub = pHome;
        // Every kick is taken at the x = 0 end: the kicking side attacks it.
        if (pHome)
            pHome->SetAttacksHighEnd(false);
        if (pAway)
            pAway->SetAttacksHighEnd(true);
        m_Engine.SetMatchClockRunning(false);
        SetupPenalty();
        m_nShootOutKicksRemaining = 9;
        m_MatchRules.abyRules[0] &= uint8_t(~RULE_SHOOTOUT);
        break;
    default:
        DebugLog(6, "[CMatchReferee::SetPeriod] Invalid period: %d", int(byPeriod));
        break;
    }
}

bool CMatchReferee::CheckPeriodEnd()
{
    if (m_Engine.GetMatchEvent() == MATCHEVENT_PENALTY || m_byLastRestart == MATCHEVENT_PENALTY)
        return false;
    const uint32_t g = m_Engine.GetMatchTime();
    uint8_t byHome = 0, byAway = 0;
    m_Engine.GetScore(byHome, byAway);
    const bool bGoldenGoal = (m_MatchRules.abyRules[0] & RULE_GOLDEN_GOAL) && byHome != byAway;
    switch (m_Engine.GetMatchPeriod()) {
    case MATCHPERIOD_FIRSTHALF:
        if (g >= 2700000 + m_dwAddedTime) {
            RaiseEvent(EVENT_PERIOD, 0, nullptr, nullptr);
            SetPeriod(MATCHPERIOD_SECONDHALF);
            return true;
        }
        if (g >= 2700000 && !m_abAddedTimeAnnounced[0]) {
            m_abAddedTimeAnnounced[0] = true;
            RaiseEvent(EVENT_PERIOD, 1, nullptr, nullptr);
        }
        return false;
    case MATCHPERIOD_SECONDHALF:
        if (m_Engine.GetMatchEvent() == MATCHEVENT_HALFTIME)
            return false;
        if (g >= 5400000 + m_dwAddedTime) {
            RaiseEvent(EVENT_PERIOD, 2, nullptr, nullptr);
            DecideResult(RESULT_END_OF_PLAY);
            return true;
        }
        if (g >= 5400000 && !m_abAddedTimeAnnounced[1]) {
            m_abAddedTimeAnnounced[1] = true;
            RaiseEvent(EVENT_PERIOD, 3, nullptr, nullptr);
        }
        return false;
    case MATCHPERIOD_EXTRATIMEFIRSTHALF:
        if (bGoldenGoal) {
            DecideResult(RESULT_GOLDEN_GOAL);
            return true;
        }
        if (g >= 6300000) {
            SetPeriod(MATCHPERIOD_EXTRATIMESECONDHALF);
            RaiseEvent(EVENT_EXTRA_TIME, 0, nullptr, nullptr);
            return true;
        }
        return false;
    case MATCHPERIOD_EXTRATIMESECONDHALF:
        if (bGoldenGoal) {
            DecideResult(RESULT_GOLDEN_GOAL);
            return true;
        }
        if (g >= 7200000) {
            RaiseEvent(EVENT_EXTRA_TIME, 1, nullptr, nullptr);
            DecideResult(RESULT_END_OF_PLAY);
            return true;
        }
        return false;
    case MATCHPERIOD_SHOOTOUT:
        // A goal still to be signalled belongs to the kick just taken.
        if (IsCausePending())
            return false;
        RunShootOutKick();
        return true;
    default:
        return false;
    }
}

void CMatchReferee::RunShootOutKick()
{
    const int32_t n = m_nShootOutKicksRemaining;
    int nSlot;
    if (n >= 0) {
        nSlot = 9 - n;
    } else if (n % 2 != 0) {
        nSlot = 10;
        m_Engine.SetShootOutSlot(11, 0);
    } else {
        nSlot = 11;
    }
    m_dwShootOutSlot = uint32_t(nSlot);
    const bool bGoal = m_byResolvedCause == CAUSE_GOAL;
    m_Engine.SetShootOutSlot(nSlot, bGoal ? 1 : 2);
    if (!bGoal)
        AddIncident(INCIDENT_SHOOTOUT_MISSED, m_pLastTaker, nullptr, m_Engine.GetEngineClock());
    CMatchClub* pHome = m_Engine.GetHomeClub();
    CMatchClub* pAway = m_Engine.GetAwayClub();
    if (!pHome || !pAway)
        return;
    const int h = pHome->GetCounters().byShootOutGoals, a = pAway->GetCounters().byShootOutGoals;
    if (n > 0 ? (h - a > (n + 1) / 2 || a - h > n / 2) : (h != a && n % 2 == 0)) {
        DecideResult(RESULT_SHOOTOUT);
        return;
    }
    m_pRestartClub = n % 2 != 0 ? pAway : pHome;
    m_pRestartClub->SetAttacksHighEnd(false);
    m_pRestartClub->GetOpponent()->SetAttacksHighEnd(true);
    ClearEventRoles();
    m_Engine.SetMatchEvent(MATCHEVENT_NONE);
    m_byResolvedCause = CAUSE_NONE;
    SetupPenalty();
    m_nShootOutKicksRemaining = n - 1;
}

void CMatchReferee::DecideResult(uint8_t byReason)
{
    ClearEventRoles();
    m_Engine.SetMatchEvent(MATCHEVENT_NONE);
    m_byResolvedCause = CAUSE_NONE;
    uint8_t h = 0, a = 0;
    m_Engine.GetScore(h, a);
    const uint8_t byRules = m_MatchRules.abyRules[0];
    const bool bAggregate = (byRules & RULE_AGGREGATE) != 0;
    // First-leg goals count only in a tie played over two legs.
    const int nFirstHome = bAggregate ? m_Engine.GetFirstLegGoals(0) : 0;
    const int nFirstAway = bAggregate ? m_Engine.GetFirstLegGoals(1) : 0;
    const int nTotalHome = h + nFirstHome, nTotalAway = a + nFirstAway;
    const CMatchClub* pHome = m_Engine.GetHomeClub();
    const CMatchClub* pAway = m_Engine.GetAwayClub();
    const int nShootHome = pHome ? pHome->GetCounters().byShootOutGoals : 0;
    const int nShootAway = pAway ? pAway->GetCounters().byShootOutGoals : 0;
    auto finish = [this](uint8_t byCode) {
        m_Engine.SetResultCode(byCode);
        SetPeriod(MATCHPERIOD_ENDOFNORMALTIME);
    };
    auto byWinner = [](uint8_t byBase, bool bHomeWins) { return uint8_t(bHomeWins ? byBase : byBase + 6); };
    if (byReason == RESULT_SHOOTOUT)
        finish(byWinner(1, nShootHome > nShootAway));
    else if (byReason == RESULT_GOLDEN_GOAL)
        finish(byWinner(4, nTotalHome > nTotalAway));
    else if (bAggregate && nTotalHome != nTotalAway)
        finish(byWinner(5, nTotalHome > nTotalAway));
    else if (bAggregate && (byRules & RULE_AWAY_GOALS) && a != nFirstHome)
        finish(a > nFirstHome ? 9 : 3);
    else if (nTotalHome != nTotalAway)
        finish(byWinner(0, nTotalHome > nTotalAway));
    else if (nShootHome != nShootAway)
        finish(6);
    else if (byRules & RULE_EXTRA_TIME)
        SetPeriod(MATCHPERIOD_EXTRATIMEFIRSTHALF);
    else if (byRules & RULE_SHOOTOUT) {
        RaiseEvent(EVENT_EXTRA_TIME, 2, nullptr, nullptr);
        SetPeriod(MATCHPERIOD_SHOOTOUT);
    } else
        finish(6);
}

void CMatchReferee::SetCardLevel(uint8_t byLevel)
{
    m_byCardLevel = byLevel;
    m_bWaitingToBook = false;
    if (!m_pOffender) {
        m_byCardLevel = 0;
        return;
    }
    const CMatchClub* pClub = m_pOffender->GetClub();
    const bool bBooked = m_pOffender->GetYellowCards() > 0;
    if (pClub && pClub->GetOnPitchCount() <= 7) {
        // No card may take a side below seven.
        if (byLevel == 2 || ((byLevel == 1 || byLevel == 3) && bBooked))
            m_byCardLevel = 0;
        else if (byLevel == 1 || byLevel == 3)
            StartStoppage();
        return;
    }
    if (byLevel == 1 && bBooked)
        m_byCardLevel = 2;
    if (m_byCardLevel >= 1 && m_byCardLevel <= 3)
        StartStoppage();
}

void CMatchReferee::BookOffender()
{
    CMatchPlayer* pOffender = m_pOffender;
    const uint32_t dwNow = m_Engine.GetEngineClock();
    if (m_byResolvedCause == CAUSE_AGGRESSIVE_PLAY || m_byResolvedCause == CAUSE_TACKLE_FROM_BEHIND) {
        if (m_byCardLevel == 1)
            RaiseEvent(EVENT_YELLOW_CARD, 1, pOffender, nullptr);
        else if (m_byCardLevel == 2)
            RaiseEvent(EVENT_RED_CARD, 2, pOffender, nullptr);
        else if (m_byCardLevel == 3)
            RaiseEvent(EVENT_RED_CARD, 1, pOffender, nullptr);
    }
    if (m_byCardLevel == 1) {
        pOffender->ReceiveBooking();
        AddIncident(INCIDENT_BOOKING, pOffender, nullptr, dwNow);
    } else if (m_byCardLevel == 2) {
        pOffender->ReceiveBooking();
        AddIncident(INCIDENT_BOOKING, pOffender, nullptr, dwNow);
        pOffender->SendOff();
        AddIncident(INCIDENT_SENDING_OFF, pOffender, nullptr, dwNow);
    } else if (m_byCardLevel == 3) {
        pOffender->SendOff();
        AddIncident(INCIDENT_SENDING_OFF, pOffender, nullptr, dwNow);
    }
    SetDecisionDelay(3.0f);
    SetAction(ACTION_NOTHING);
    m_byCardLevel = 0;
    m_bWaitingToBook = false;
}

bool CMatchReferee::ShowCard()
{
    if (m_byCardLevel == 0)
        return false;
    m_byDecision = 0;
    SetHoldTarget(m_vPosition);
    if (!m_pOffender) {
        m_byCardLevel = 0;
        return true;
    }
    if (GetAction() == ACTION_BOOKING_PLAYER) {
        BookOffender();
        return true;
    }
    const double a = m_vPosition.GetAngleTo(m_pOffender->GetPosition());
    if (!GetModel()) {
        SetAction(ACTION_BOOKING_PLAYER);  // nothing to animate
        return true;
    }
    const uint32_t dwNow = m_Engine.GetEngineClock();
    if (!m_bWaitingToBook) {
        m_bWaitingToBook = true;
        m_dwBookingWaitStart = dwNow;
    }
    if (CAnimationLibrary::IsStandingMoveType(m_byMoveType) && std::fabs(WrapAngle(a - m_fFacing)) < kPi / 4) {
        SetAction(ACTION_BOOKING_PLAYER);
        SelectActionOfMoveType(kShowCardAnimation);
        m_fFacingTarget = float(a);
    } else if (dwNow - m_dwBookingWaitStart >= kTurnWaitLimit) {
        // Still on the move (his open-play place is rated by the ball, not
        // by where he stops): he books the player without the card's
        // animation, or the card and every decision after it would wait.
        BookOffender();
    }
    return true;
}

void CMatchReferee::UpdateMatchState()
{
    const uint8_t byEvent = m_Engine.GetMatchEvent();
    if (byEvent == MATCHEVENT_FULLTIME || m_byCardLevel != 0)
        return;
    CMatchClub* pHome = m_Engine.GetHomeClub();
    CMatchClub* pAway = m_Engine.GetAwayClub();
    if (byEvent == MATCHEVENT_HALFTIME) {
        if ((!pHome || pHome->IsEventPlayerUnassigned()) && (!pAway || pAway->IsEventPlayerUnassigned())) {
            m_dwAddedTime = 0;
            m_pRestartClub = m_pFirstKickOffClub ? m_pFirstKickOffClub->GetOpponent() : m_pRestartClub;
            SetupKickOff();
            uint32_t dwStart = 0, dwEnd = 0;
            if (GetMatchPeriodTimes(m_Engine.GetMatchPeriod(), &dwStart, &dwEnd))
                m_Engine.SetMatchTime(dwStart);
            // The clock went back past the added time: a decision timed in
            // it (after a booking, say) would wait on a stopped clock.
            SetDecisionDelay(0.0f);
            m_Assistant0.SetDecisionDelay(0.0f);
            m_Assistant1.SetDecisionDelay(0.0f);
            for (CMatchClub* pClub : {pHome, pAway})
                for (int i = 0; pClub && i < pClub->GetOnPitchCount(); ++i)
                    if (CMatchPlayer* p = pClub->GetSlot(i))
                        p->SetDecisionDelay(0.0f);
            m_Engine.ActivatePlayers();
        }
    } else if (!CheckPeriodEnd()) {
        if (m_Engine.GetMatchEvent() == MATCHEVENT_NONE) {
            UpdateOpenPlay();
            if (m_byLastRestart != MATCHEVENT_NONE && m_Engine.GetMatchEvent() == MATCHEVENT_NONE)
                UpdateAfterRestart();
        } else {
            CheckEventState();
        }
    }
    if (m_Engine.GetMatchEvent() != byEvent) {
        m_Assistant0.SetEventPosition(m_vEventPosition);
        m_Assistant1.SetEventPosition(m_vEventPosition);
    }
}

void CMatchReferee::UpdateOpenPlay()
{
    if (m_pInjuredPlayer) {
        m_Engine.SetMatchEvent(MATCHEVENT_INJURY);
        m_dwEventStartTime = m_Engine.GetMatchTime();
        m_vSecondEventPosition = m_pInjuredPlayer->GetPosition() + CVector(100, 0, 0);
        CMatchClub* pClub = m_pInjuredPlayer->GetPersonType() == PERSONTYPE_FOOTBALLER
                                ? static_cast<CMatchPlayer*>(m_pInjuredPlayer)->GetClub()
                                : nullptr;
        m_pSecondEventPlayer = pClub ? pClub->ChooseSecondEventPlayer() : nullptr;
        if (m_pSecondEventPlayer) {
            m_pSecondEventPlayer->SetSpecialRole(ROLE_SECOND_EVENT_PLAYER);
            m_pSecondEventPlayer->SetBasePosition(m_vSecondEventPosition);
            m_pSecondEventPlayer->UpdateBasePosition();
        }
        // He stays down until the physio has treated him.
        m_pInjuredPlayer->SetHeldForReferee(true);
        if (CMatchPhysio* pPhysio = m_Engine.GetPhysio())
            pPhysio->GoToPerson(m_pInjuredPlayer);
        StartStoppage();
        if (!IsCausePending() && pClub)
            m_pRestartClub = pClub;
        return;
    }
    if (IsCausePending() && !ConsultAssistant() && !CheckAdvantage())
        GiveSignal();
}
