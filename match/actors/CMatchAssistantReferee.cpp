#include "match/actors/CMatchAssistantReferee.h"

#include "common/DebugLog.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "platform/Random.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr double kPi = 3.14159265358979323846;

const char* const kCauseNames[CAUSE_COUNT] = {"None",        "Ball Off End",   "Ball Off Side",
                                              "Aggressive Play", "Tackle From Behind", "Goal",
                                              "Offside",     "Six Second Rule", "Hand Ball",
                                              "Time Wasting"};

}  // namespace

const CVector CMatchAssistantReferee::kTunnelPoint(5000, -1500, 0);
const CVector CMatchAssistantReferee::kShootOutPoint(-30, 2484, 0);

CMatchAssistantReferee::CMatchAssistantReferee(CMatchEngine& engine, uint8_t bySide)
    : CMatchPerson(engine, PERSONTYPE_ASSISTANTREFEREE), m_bySide(bySide ? 1 : 0)
{
    m_fSignallingFacing = m_bySide == 0 ? 0.0f : float(kPi);
    m_fFacing = m_fSignallingFacing;
    m_vBasePosition = m_bySide == 0 ? CVector(7500, -100, 0) : CVector(2500, 7600, 0);
    m_nRoamingRadius = kRunningRadius;
    SetPosition(CVector(5000, m_vBasePosition.y, 0));
    m_byDecision = 0;
}

const char* CMatchAssistantReferee::GetCauseName(uint8_t byCause)
{
    return byCause < CAUSE_COUNT ? kCauseNames[byCause] : "Unknown Cause";
}

const char* CMatchAssistantReferee::GetCauseName() const
{
    return GetCauseName(m_byResolvedCause);
}

void CMatchAssistantReferee::CheckForCause(const MatchCauseRecord& record)
{
    m_bAcceptedLast = false;
    if (record.byLikelihood == 0) {
        m_byNoiseHalfRange = 0;
        return;
    }
    const int nHalfRange = (100 - int(GetViewRating(record.vPosition))) / 2;
    m_byNoiseHalfRange = uint8_t(nHalfRange);
    int16_t nNoise = 0;
    if (nHalfRange > 0) {
        const int nUp = plat::rand() % nHalfRange;
        const int nDown = plat::rand() % nHalfRange;
        nNoise = int16_t(nUp - nDown);
    }
    if (int(record.byLikelihood) < 50 + nNoise)
        return;
    m_bAcceptedLast = true;
    m_byResolvedCause = record.byCause;
    m_pOffender = record.pPlayer;
    m_vCausePosition.Set(record.vPosition.x, record.vPosition.y, 0);
    m_pRestartClub = record.pPlayerClub;
    m_byDecision = DECISION_SIGNAL;
}

CVector CMatchAssistantReferee::ChooseLineTarget() const
{
    switch (m_Engine.GetMatchPeriod()) {
    case MATCHPERIOD_ENDOFNORMALTIME:
        return kTunnelPoint;
    case MATCHPERIOD_SHOOTOUT:
        return m_bySide == 0 ? kShootOutPoint : m_vBasePosition;
    default:
        break;
    }
    int32_t x = m_vBasePosition.x;
    const uint8_t byEvent = m_Engine.GetMatchEvent();
    if (byEvent == MATCHEVENT_NONE) {
        // Level with the last defender of the side whose goal is in his half.
        const CMatchClub* pDefending =
            m_bySide == 0 ? m_Engine.GetClubAttackingLowEnd() : m_Engine.GetClubAttackingHighEnd();
        if (pDefending)
            x = pDefending->GetOffsideLine();
    } else {
        x = m_vEventPosition.x;
        if (byEvent == MATCHEVENT_THROWIN)
            x += m_bySide == 0 ? 300 : -300;
    }
    CVector point(x, m_vBasePosition.y, 0);
    const int64_t dx = int64_t(point.x) - m_vBasePosition.x;
    const int64_t dy = int64_t(point.y) - m_vBasePosition.y;
    if (dx * dx + dy * dy > int64_t(kRunningRadius) * kRunningRadius) {
        const double fAngle = std::atan2(double(dx), double(dy));
        point.x = m_vBasePosition.x + TruncateToInt(std::sin(fAngle) * kRunningRadius);
        point.y = m_vBasePosition.y + TruncateToInt(std::cos(fAngle) * kRunningRadius);
    }
    return point;
}

uint8_t CMatchAssistantReferee::ChooseFlagAnimation() const
{
    // Towards the other side: the restart club attacks away from the end his
    // side's half lies at.
    const bool bOtherWay = m_pRestartClub && (m_pRestartClub->AttacksHighEnd() ? 1 : 0) != m_bySide;
    switch (m_byResolvedCause) {
    case CAUSE_BALL_OFF_END:
        return bOtherWay ? FLAG_DOWN_LEFT : FLAG_DOWN_RIGHT;
    case CAUSE_BALL_OFF_SIDE:
        return bOtherWay ? FLAG_LEFT : FLAG_RIGHT;
    case CAUSE_NONE:
        DebugLog(6, "[CMatchAssistantReferee::MakeDecision] Signalling on cause none");
        return FLAG_FORWARD;
    default:
        if (m_byResolvedCause >= CAUSE_COUNT)
            DebugLog(6, "[CMatchAssistantReferee::MakeDecision] Signalling on invalid cause: %d", m_byResolvedCause);
        return FLAG_FORWARD;
    }
}

void CMatchAssistantReferee::MakeDecision()
{
    SetTarget(ChooseLineTarget(), kNoFacing);
    if (m_byDecision != DECISION_SIGNAL || std::fabs(WrapAngle(double(m_fFacing) - m_fSignallingFacing)) > kPi / 4)
        return;
    if (SelectActionOfMoveType(ChooseFlagAnimation())) {
        SetAction(ACTION_SIGNALLING);
        m_byDecision = DECISION_JUDGING_MATCH;
    }
}

float CMatchAssistantReferee::UpdateFacing()
{
    int32_t d = std::abs(m_vTarget.x - m_vPosition.x);
    if (d > 500)
        d = 500;
    float fBest = -99999.0f;
    for (int32_t dx : {d, -d}) {
        const CVector point(m_vPosition.x + dx, m_vPosition.y, 0);
        const float fRating = TryAssessPosition(point);
        if (fRating > fBest) {
            fBest = fRating;
            m_vLookPoint = point;
        }
    }
    return fBest;
}
