// The engine's rule checks: offside at a kick, the ball over a goal line or
// a touchline, fouls in tackles, the goalkeeper's six seconds and handball.
#include "common/DebugLog.h"
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchAssistantReferee.h"
#include "match/actors/CMatchPlayer.h"
#include "platform/Random.h"


namespace {

constexpr uint8_t kActionCatchingBall = 8;

// The footballer a person is, or null for an official or the physio.
CMatchPlayer* AsFootballer(CMatchPerson* pPerson)
{
    return pPerson && pPerson->GetPersonType() == PERSONTYPE_FOOTBALLER ? static_cast<CMatchPlayer*>(pPerson)
                                                                          : nullptr;
}

constexpr int32_t kAggressiveBase = 18;

uint8_t ClampLikelihood(int32_t nValue)
{
    return uint8_t(nValue < 0 ? 0 : nValue > 100 ? 100 : nValue);
}

}  // namespace

CMatchClub* CMatchEngine::GetClubAttackingHighEnd() const
{
    if (m_pHomeClub && m_pHomeClub->AttacksHighEnd())
        return m_pHomeClub.get();
    return m_pAwayClub && m_pAwayClub->AttacksHighEnd() ? m_pAwayClub.get() : nullptr;
}

CMatchClub* CMatchEngine::GetClubAttackingLowEnd() const
{
    if (m_pHomeClub && !m_pHomeClub->AttacksHighEnd())
        return m_pHomeClub.get();
    return m_pAwayClub && !m_pAwayClub->AttacksHighEnd() ? m_pAwayClub.get() : nullptr;
}

void CMatchEngine::SetFollowedRestart(uint8_t byEvent, CMatchPlayer* pTaker)
{
    m_byFollowedRestart = byEvent;
    m_pRestartTaker = pTaker;
}

CMatchAssistantReferee* CMatchEngine::GetJudgingOfficial() const
{
    // Only the officials' kinds derive from the assistant referee.
    if (!m_pReferee)
        return nullptr;
    const uint8_t byType = m_pReferee->GetPersonType();
    return byType == PERSONTYPE_REFEREE || byType == PERSONTYPE_ASSISTANTREFEREE
               ? static_cast<CMatchAssistantReferee*>(m_pReferee)
               : nullptr;
}

void CMatchEngine::HandToReferee(const MatchCauseRecord& record) const
{
    if (CMatchAssistantReferee* pReferee = GetJudgingOfficial())
        pReferee->CheckForCause(record);
}

void CMatchEngine::CheckOffside(CMatchPlayer* pKicker)
{
    if ((m_byMatchEvent != MATCHEVENT_NONE && m_byMatchEvent != MATCHEVENT_FREEKICK) || !pKicker || !m_pBall)
        return;
    CMatchClub* pClub = pKicker->GetClub();
    CMatchClub* pOpponent = pClub ? pClub->GetOpponent() : nullptr;
    CMatchPlayer* pAhead = pClub ? pClub->GetMostAdvancedPlayer() : nullptr;
    if (!pOpponent || !pAhead || pAhead == pKicker)
        return;
    const CVector& ahead = pAhead->GetPosition();
    const CVector& ball = m_pBall->GetPosition();
    const int32_t nLine = pOpponent->GetOffsideLine();
    int32_t nBeyond;
    if (pClub->AttacksHighEnd()) {
        // Nobody is offside in his own half.
        if (ahead.x <= 5000 || ball.x <= 5000)
            return;
        nBeyond = ahead.x - nLine;
    } else {
        if (ahead.x >= 5000 || ball.x >= 5000)
            return;
        nBeyond = nLine - ahead.x;
    }
    const int32_t nBallDistance = IntegerRoot(int64_t(ball.x - ahead.x) * (ball.x - ahead.x) +
                                              int64_t(ball.y - ahead.y) * (ball.y - ahead.y));
    MatchCauseRecord record;
    record.byCause = CAUSE_OFFSIDE;
    record.byLikelihood = ClampLikelihood((nBeyond - 200) / 10 - nBallDistance / 20 + 50);
    record.pPlayer = pAhead;
    record.pPlayerClub = pClub;
    record.pClubAwarded = pOpponent;
    record.vPosition = ahead;
    record.dwMatchTime = m_dwEngineClock;
    HandToReferee(record);
}

bool CMatchEngine::IsLineDecisionPending() const
{
    // A ball left out is reported again every tick until the referee has
    // taken up a goal or a ball out; after that once is enough.
    const CMatchAssistantReferee* pReferee = GetJudgingOfficial();
    const uint8_t byCause = pReferee ? pReferee->GetResolvedCause() : CAUSE_NONE;
    return byCause == CAUSE_GOAL || byCause == CAUSE_BALL_OFF_END || byCause == CAUSE_BALL_OFF_SIDE;
}

void CMatchEngine::CheckBallOffPitchEnd()
{
    if (m_byMatchEvent != MATCHEVENT_NONE || !m_pBall || !(m_pBall->IsInPlayArea() || m_pBall->IsOutOfPlay()))
        return;
    const CMatchAssistantReferee* pReferee = GetJudgingOfficial();
    if (IsLineDecisionPending())
        return;
    const CVector& ball = m_pBall->GetPosition();
    const bool bHighEnd = ball.x >= 5000;
    if ((bHighEnd ? ball.x - 10031 : -31 - ball.x) <= 0)
        return;
    CMatchPlayer* pToucher = AsFootballer(m_pBall->GetLastToucher());
    if (!pToucher) {
        // Nobody to hold it against: the side defending that end restarts
        // with a goal kick rather than play going on with the ball out.
        DebugLog(6, "[CMatchEngine::CheckBallOffPitchEnd] Ball has no last player");
        MatchCauseRecord record;
        record.byCause = CAUSE_BALL_OFF_END;
        record.byLikelihood = 100;
        record.pClubAwarded = bHighEnd ? GetClubAttackingLowEnd() : GetClubAttackingHighEnd();
        record.vPosition = ball;
        record.dwMatchTime = m_dwEngineClock;
        HandToReferee(record);
        return;
    }
    MatchCauseRecord record;
    record.byLikelihood = 100;
    record.pPlayer = pToucher;
    record.pPlayerClub = pToucher->GetClub();
    record.vPosition = ball;
    record.dwMatchTime = m_dwEngineClock;
    const bool bOutsideMouth = ball.y < 3335 || ball.y > 4165 || ball.z > 283;
    const bool bBehindGoal = ball.x > 10200 || ball.x < -200;
    // Straight in from an indirect free kick without another touch is no
    // goal. A corner may be scored directly.
    const bool bIndirectStraightIn = m_byFollowedRestart == MATCHEVENT_FREEKICK && m_pRestartTaker == pToucher;
    if (bOutsideMouth || bBehindGoal || bIndirectStraightIn) {
        record.byCause = CAUSE_BALL_OFF_END;
        record.pClubAwarded = record.pPlayerClub ? record.pPlayerClub->GetOpponent() : nullptr;
    } else {
        record.byCause = CAUSE_GOAL;
        // A save that carries the ball in is the shooter's goal.
        if (pToucher->GetSquadPosition() == 0) {
            if (CMatchPlayer* pKicker = AsFootballer(m_pBall->GetLastKicker())) {
                record.pPlayer = pKicker;
                record.pPlayerClub = pKicker->GetClub();
            }
        }
        if (m_byMatchPeriod == MATCHPERIOD_SHOOTOUT)
            record.pClubAwarded =
                pReferee && pReferee->GetRestartClub() ? pReferee->GetRestartClub()->GetOpponent() : nullptr;
        else
            record.pClubAwarded = bHighEnd ? GetClubAttackingLowEnd() : GetClubAttackingHighEnd();
    }
    HandToReferee(record);
}

void CMatchEngine::CheckBallOffPitchSide()
{
    if (m_byMatchEvent != MATCHEVENT_NONE || !m_pBall ||
        !((m_pBall->IsInPlayArea() && m_pBall->HasEnteredPlay()) || m_pBall->IsOutOfPlay()))
        return;
    if (IsLineDecisionPending())
        return;
    const CVector& ball = m_pBall->GetPosition();
    if ((ball.y < GOAL_CENTRE_Y ? -31 - ball.y : ball.y - 7531) <= 0)
        return;
    CMatchPlayer* pToucher = AsFootballer(m_pBall->GetLastToucher());
    MatchCauseRecord record;
    record.byCause = CAUSE_BALL_OFF_SIDE;
    record.byLikelihood = 100;
    record.pPlayer = pToucher;
    record.pPlayerClub = pToucher ? pToucher->GetClub() : nullptr;
    if (record.pPlayerClub)
        record.pClubAwarded = record.pPlayerClub->GetOpponent();
    else  // nobody touched it: the throw goes to the side defending that half
        record.pClubAwarded = ball.x < 5000 ? GetClubAttackingHighEnd() : GetClubAttackingLowEnd();
    record.vPosition = ball;
    record.dwMatchTime = m_dwEngineClock;
    HandToReferee(record);
}

void CMatchEngine::ReportTackle(CMatchPlayer* pTackler, CMatchPlayer* pFouled)
{
    if (!pTackler || !pFouled)
        return;
    MatchCauseRecord record;
    record.byCause = CAUSE_TACKLE_FROM_BEHIND;
    record.byLikelihood = uint8_t(plat::rand() % 100);
    record.pPlayer = pTackler;
    record.pPlayerClub = pTackler->GetClub();
    record.pSecondPlayer = pFouled;
    record.pClubAwarded = pFouled->GetClub();
    record.vPosition = pFouled->GetPosition();
    record.dwMatchTime = m_dwEngineClock;
    HandToReferee(record);
}

void CMatchEngine::ReportAggressivePlay(CMatchPlayer* pOffender, const CVector& position, int32_t nSeverity)
{
    if (!pOffender || nSeverity <= 0)
        return;
    const bool bInPenaltyArea = (m_pHomeClub && m_pHomeClub->IsInPenaltyArea(position, false)) ||
                                (m_pAwayClub && m_pAwayClub->IsInPenaltyArea(position, false));
    // Any tackle that hits its man starts at kAggressiveBase and its
    // severity counts in full: on a third of it no ordinary tackle came near
    // the referee's line of 50 and fouls went unseen. A box tackle is judged
    // by three quarters, as a penalty asks more.
    const int32_t nLikelihood = nSeverity + kAggressiveBase;
    MatchCauseRecord record;
    record.byCause = CAUSE_AGGRESSIVE_PLAY;
    record.byLikelihood = ClampLikelihood(bInPenaltyArea ? nLikelihood * 3 / 4 : nLikelihood);
    record.pPlayer = pOffender;
    record.pPlayerClub = pOffender->GetClub();
    record.pSecondPlayer = pOffender->GetDecisionPartner();
    record.pClubAwarded = pOffender->GetClub() ? pOffender->GetClub()->GetOpponent() : nullptr;
    record.vPosition = position;
    record.dwMatchTime = m_dwEngineClock;
    HandToReferee(record);
}

void CMatchEngine::CheckSixSecondRule()
{
    if (m_byMatchEvent != MATCHEVENT_NONE || !m_pBall || !m_pBall->IsHeldInHands())
        return;
    CMatchPlayer* pHolder = AsFootballer(m_pBall->GetHolder());
    const float fHeld = m_pBall->GetHeldSeconds();
    if (!pHolder || fHeld < 6.0f)
        return;
    MatchCauseRecord record;
    record.byCause = CAUSE_SIX_SECOND_RULE;
    record.byLikelihood = ClampLikelihood(TruncateToInt((fHeld - 6.0f) / 6.0f * 50.0f));
    record.pPlayer = pHolder;
    record.pPlayerClub = pHolder->GetClub();
    record.pClubAwarded = pHolder->GetClub() ? pHolder->GetClub()->GetOpponent() : nullptr;
    record.vPosition = m_pBall->GetPosition();
    record.dwMatchTime = m_dwEngineClock;
    HandToReferee(record);
}

void CMatchEngine::CheckHandball(CMatchPlayer* pPlayer)
{
    if (m_byMatchEvent != MATCHEVENT_NONE || !pPlayer || !m_pBall || pPlayer->CanHandleBall())
        return;
    if (pPlayer->GetAction() != kActionCatchingBall) {
        // An ordinary touch is a handball only now and then, and never low down.
        if (m_pBall->GetPosition().z < 50 || plat::rand() % 100 > 1)
            return;
    }
    MatchCauseRecord record;
    record.byCause = CAUSE_HAND_BALL;
    record.byLikelihood = uint8_t(plat::rand() % 100);
    record.pPlayer = pPlayer;
    record.pPlayerClub = pPlayer->GetClub();
    record.pClubAwarded = pPlayer->GetOpponentClub();
    record.vPosition = pPlayer->GetPosition();
    record.dwMatchTime = m_dwEngineClock;
    HandToReferee(record);
}
