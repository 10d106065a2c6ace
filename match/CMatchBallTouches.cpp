// The ball's touch records: every pass, cross, shot, long ball, clearance,
// control and deflection opens one; the next touch (or the referee's
// decision) closes it, judges how it came out and hands it to the player
// who made it. A goal is credited to the last player of the scoring side
// who played the ball, and the passes just before it become assists.
#include "match/CMatchBall.h"

#include "common/DebugLog.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchAssistantReferee.h"
#include "match/actors/CMatchPlayer.h"

namespace {

// A shot whose way leaves the pitch between these y values low enough is on target.
constexpr int32_t kOnTargetLow = 3334;
constexpr int32_t kOnTargetHigh = 4166;
constexpr int32_t kOnTargetHeight = 284;
// How many records before a goal may be assists.
constexpr int kAssistRecords = 3;

// The footballer behind a person; none for anybody else.
CMatchPlayer* FootballerOf(CMatchPerson* pPerson)
{
    return dynamic_cast<CMatchPlayer*>(pPerson);
}

bool IsPassCause(uint8_t byCause)
{
    return byCause == BALLCAUSE_PASS || byCause == BALLCAUSE_CROSS || byCause == BALLCAUSE_LONGBALL;
}

const CMatchClub* ClubOf(CMatchPerson* pPerson)
{
    const CMatchPlayer* p = FootballerOf(pPerson);
    return p ? p->GetClub() : nullptr;
}

void HandTo(BALLTOUCHRECORD& touch)
{
    if (CMatchPlayer* p = FootballerOf(touch.pPlayer))
        p->AddBallInfo(touch);
}

void TakeBack(BALLTOUCHRECORD& touch)
{
    if (CMatchPlayer* p = FootballerOf(touch.pPlayer))
        p->RemoveBallInfo(touch);
}

}  // namespace

void CMatchBall::ClearBallInfo()
{
    for (BALLTOUCHRECORD& touch : m_aTouches)
        touch = BALLTOUCHRECORD{};
    m_nCurrentTouch = -1;
}

BALLTOUCHRECORD& CMatchBall::OpenTouch()
{
    m_nCurrentTouch = (m_nCurrentTouch + 1) % kTouchSlots;
    BALLTOUCHRECORD& touch = m_aTouches[m_nCurrentTouch];
    touch = BALLTOUCHRECORD{};
    return touch;
}

void CMatchBall::CloseTouch()
{
    if (m_nCurrentTouch >= 0)
        HandTo(m_aTouches[m_nCurrentTouch]);
    ClearBallInfo();
}

void CMatchBall::StartBallInfo(uint8_t byCause, CMatchPerson* pPlayer)
{
    EndBallInfo(pPlayer);
    if (!pPlayer) {
        if (byCause != BALLCAUSE_DEFLECTION) {
            DebugLog(0, "CMatchBall::StartBallInfo - Player is null, but not a delfelction");
            return;
        }
        BALLTOUCHRECORD& touch = OpenTouch();
        touch.byCause = byCause;
        touch.vStart = m_vPosition;
        m_byLastCause = byCause;
        return;
    }
    const bool bOpenPlay = m_Engine.GetMatchEvent() == MATCHEVENT_NONE;
    if (byCause >= BALLCAUSE_PASS && byCause <= BALLCAUSE_CLEARANCE && bOpenPlay) {
        m_pLastKicker = pPlayer;
        m_dwLastKickTime = m_Engine.GetEngineClock();
    }
    if (byCause >= BALLCAUSE_DEFLECTION && byCause <= BALLCAUSE_CONTROLLED) {
        m_pLastToucher = pPlayer;
        const CMatchPlayer* pFootballer = FootballerOf(pPlayer);
        if (bOpenPlay || (pFootballer && pFootballer->GetSpecialRole() == ROLE_EVENT_PLAYER)) {
            BALLTOUCHRECORD& touch = OpenTouch();
            touch.byCause = byCause;
            touch.vStart = pPlayer->GetPosition();
            touch.pPlayer = pPlayer;
        }
    }
    m_byLastCause = byCause;
}

void CMatchBall::EndBallInfo(CMatchPerson* pNewToucher)
{
    if (m_nCurrentTouch < 0)
        return;
    BALLTOUCHRECORD& touch = m_aTouches[m_nCurrentTouch];
    if (touch.dwLink != 0)
        return;  // closed already; no touch was opened after it
    if (!touch.pPlayer && touch.byCause != BALLCAUSE_DEFLECTION)
        DebugLog(0, "EndBallInfo Player is NULL");
    touch.vEnd = m_vPosition;
    if (touch.byCause == BALLCAUSE_SHOT) {
        const bool bOnTarget = m_vExitPoint.y >= kOnTargetLow && m_vExitPoint.y <= kOnTargetHigh &&
                               m_vExitPoint.z <= kOnTargetHeight;
        touch.byResult = bOnTarget ? 0 : 1;
    } else if (IsPassCause(touch.byCause)) {
        const bool bKept = !touch.pPlayer || (pNewToucher && ClubOf(pNewToucher) == ClubOf(touch.pPlayer));
        touch.byResult = bKept ? 0 : 1;
    }
    if (touch.pPlayer)
        HandTo(touch);
}

void CMatchBall::EndBallInfoForCause(uint8_t byRefereeCause, const CMatchClub* pRestartClub)
{
    if (m_nCurrentTouch < 0)
        return;
    BALLTOUCHRECORD& touch = m_aTouches[m_nCurrentTouch];
    // A record handed over already is judged again: its earlier count gives way.
    if (touch.dwLink != 0 && (IsPassCause(touch.byCause) || touch.byCause == BALLCAUSE_SHOT))
        TakeBack(touch);
    touch.dwLink = 0;
    touch.vEnd = m_vPosition;
    switch (byRefereeCause) {
    case CAUSE_BALL_OFF_END:
    case CAUSE_BALL_OFF_SIDE:
        if (IsPassCause(touch.byCause) || touch.byCause == BALLCAUSE_SHOT)
            touch.byResult = 1;
        break;
    case CAUSE_GOAL: {
        const bool bOfRestartClub = ClubOf(touch.pPlayer) == pRestartClub;
        if (touch.byCause == BALLCAUSE_SHOT) {
            touch.byResult = 2;
            // The passes of the scorer's side just before the shot are assists.
            const CMatchClub* pScorers = ClubOf(touch.pPlayer);
            for (int k = 1; k <= kAssistRecords; ++k) {
                BALLTOUCHRECORD& before = m_aTouches[(m_nCurrentTouch - k + kTouchSlots) % kTouchSlots];
                if (!IsPassCause(before.byCause) || !before.pPlayer || ClubOf(before.pPlayer) != pScorers)
                    continue;
                TakeBack(before);
                before.byCause = BALLCAUSE_PASS;
                before.byResult = 2;
                before.dwLink = 0;
                HandTo(before);
            }
        } else if (touch.byCause >= BALLCAUSE_PASS && touch.pPlayer) {
            // A ball played into the goal by the scoring side is his goal;
            // one played in by the defending side is an own goal, not a shot.
            touch.byCause = bOfRestartClub ? BALLCAUSE_PASS : BALLCAUSE_SHOT;
            touch.byResult = bOfRestartClub ? 1 : 2;
        } else if (bOfRestartClub || !touch.pPlayer) {
            // Touched in last by a defender: the last shot or pass of the
            // scoring side before it is credited with the goal.
            for (int k = 0; k < kTouchSlots - 1; ++k) {
                BALLTOUCHRECORD& before = m_aTouches[(m_nCurrentTouch - k + kTouchSlots) % kTouchSlots];
                if (before.byCause < BALLCAUSE_PASS || before.byCause > BALLCAUSE_LONGBALL || !before.pPlayer ||
                    ClubOf(before.pPlayer) == pRestartClub)
                    continue;
                TakeBack(before);
                before.byCause = BALLCAUSE_SHOT;
                before.byResult = 2;
                before.dwLink = 0;
                before.vEnd = m_vPosition;
                HandTo(before);
                ClearBallInfo();
                return;
            }
            DebugLog(0, "[CMatchBall::EndBallInfoForCause - Cant credit any player with goal!");
            ClearBallInfo();
            return;
        } else {
            touch.byCause = BALLCAUSE_SHOT;
            touch.byResult = 2;
        }
        break;
    }
    default:
        if (byRefereeCause >= CAUSE_COUNT)
            DebugLog(0, "[MatchBall::EndBallInfoForCause] - Default Cause: %d", int(byRefereeCause));
        break;
    }
    CloseTouch();
}
