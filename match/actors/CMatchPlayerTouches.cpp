// The footballer's ball-touch records: the passes and shots the ball hands
// him and the tackles he makes, the counters his club and his match rating
// read, and the good and bad moments each one gives his morale.
#include "match/actors/CMatchPlayer.h"

#include "common/DebugLog.h"
#include "database/CPlayerDatabase.h"
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "platform/Random.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Morale moments of a touch.
constexpr int kEventPassCompleted = 1;
constexpr int kEventPassLost = 2;
constexpr int kEventAssist = 4;
constexpr int kEventShotMissed = 2;
constexpr int kEventGoal = 9;
constexpr int kEventTackleWon = 1;
constexpr int kEventTackleLost = 1;
constexpr int kEventDangerTackle = 4;
// A won tackle this close (in x) to his own offside line counts as one in danger.
constexpr int32_t kDangerLineDistance = 300;

// The kick trigger rows by pressure 0..3: shots; passes near goal and
// midfield, then deep; long balls and crosses the same way.
constexpr int kTriggerShot[4] = {75, 65, 55, 40};
constexpr int kTriggerPass[2][4] = {{90, 80, 70, 50}, {80, 70, 50, 30}};
constexpr int kTriggerLong[2][4] = {{80, 75, 70, 60}, {80, 70, 50, 30}};

bool IsPassCause(uint8_t byCause)
{
    return byCause == BALLCAUSE_PASS || byCause == BALLCAUSE_CROSS || byCause == BALLCAUSE_LONGBALL;
}

// Each id ties a player's copy to the ball's record; 0 means none.
uint32_t NextTouchId()
{
    static uint32_t s_dwId = 0;
    if (++s_dwId == 0)
        ++s_dwId;
    return s_dwId;
}

// A share of successes in percent, kept within 20..100.
int Term(int nScore, int nCount)
{
    return std::clamp(nScore * 100 / nCount, 20, 100);
}

bool RemoveById(std::list<PLAYERTOUCH>& list, uint32_t dwId)
{
    const auto it = std::find_if(list.begin(), list.end(), [&](const PLAYERTOUCH& t) { return t.dwId == dwId; });
    if (it == list.end())
        return false;
    list.erase(it);
    return true;
}

}  // namespace

void CMatchPlayer::AddBallInfo(BALLTOUCHRECORD& touch)
{
    if (touch.dwLink != 0) {
        DebugLog(0, "[CMatchPlayer::AddBallInfo] - trying to Add a ballinfo item that has already been added!");
        return;
    }
    MATCHCLUBCOUNTERS& club = m_pClub->GetCounters();
    std::list<PLAYERTOUCH>* pList = nullptr;
    if (IsPassCause(touch.byCause)) {
        switch (touch.byResult) {
        case 0:
            ++m_nPassesCompleted, ++club.wPassesCompleted;
            ApplyPositiveEvent(kEventPassCompleted);
            break;
        case 1: ApplyNegativeEvent(kEventPassLost); break;
        case 2:
            ++m_nPassesCredited, ++club.wPassesCompleted;
            ApplyPositiveEvent(kEventAssist);
            break;
        default: break;
        }
        ++m_nPasses, ++club.wPasses;
        pList = &m_Passes;
    } else if (touch.byCause == BALLCAUSE_SHOT) {
        switch (touch.byResult) {
        case 0:
            ++m_nShotsOnTarget, ++club.byShotsOnTarget;
            ApplyNegativeEvent(kEventShotMissed);
            SetDecision(DECISION_EMOTION_FRUSTRATION);
            break;
        case 1:
            ApplyNegativeEvent(kEventShotMissed);
            SetDecision(DECISION_EMOTION_FRUSTRATION);
            break;
        case 2:
            ++m_nGoals, ++m_nShotsOnTarget, ++club.byShotsOnTarget;
            ApplyPositiveEvent(kEventGoal);
            SetDecision(DECISION_EMOTION_CELEBRATION);
            break;
        default: break;
        }
        ++m_nShots, ++club.byShots;
        pList = &m_Shots;
    } else {
        return;
    }
    PLAYERTOUCH copy;
    copy.vStart = touch.vStart;
    copy.vEnd = touch.vEnd;
    copy.byResult = touch.byResult;
    copy.dwId = NextTouchId();
    pList->push_back(copy);
    touch.dwLink = copy.dwId;
}

void CMatchPlayer::RemoveBallInfo(BALLTOUCHRECORD& touch)
{
    if (touch.dwLink == 0) {
        DebugLog(0, "[CMatchPlayer::RemoveBallInfo] - trying to remove a ballinfo item that doesnt have a LinkPos!");
        return;
    }
    MATCHCLUBCOUNTERS& club = m_pClub->GetCounters();
    if (IsPassCause(touch.byCause)) {
        if (!RemoveById(m_Passes, touch.dwLink))
            return;
        if (touch.byResult == 0)
            --m_nPassesCompleted, --club.wPassesCompleted;
        else if (touch.byResult == 2)
            --m_nPassesCredited, --club.wPassesCompleted;
        --m_nPasses, --club.wPasses;
    } else if (touch.byCause == BALLCAUSE_SHOT) {
        if (!RemoveById(m_Shots, touch.dwLink))
            return;
        if (touch.byResult == 0 || touch.byResult == 2) {
            --m_nShotsOnTarget, --club.byShotsOnTarget;
            if (touch.byResult == 2)
                --m_nGoals;
        }
        --m_nShots, --club.byShots;
    } else {
        DebugLog(0, "[CMatchPlayer::RemoveBallinfo - Trying to remove a ballinfo that isn't a shot or a pass !!");
        return;
    }
    touch.dwLink = 0;
}

void CMatchPlayer::AddTackleInfo(const TACKLERECORD& record)
{
    TACKLERECORD kept = record;
    if (kept.byResult == 1) {
        ApplyNegativeEvent(kEventTackleLost);
    } else if (kept.byResult == 0) {
        ++m_nTacklesWon;
        const bool bDanger = m_pClub->IsInPenaltyArea(kept.vStart, false) ||
                             std::abs(kept.vStart.x - m_pClub->GetOffsideLine()) <= kDangerLineDistance;
        if (bDanger) {
            ++m_nDangerTackles;
            kept.byResult = 2;
        }
        ApplyPositiveEvent(bDanger ? kEventDangerTackle : kEventTackleWon);
    }
    ++m_nTackles;
    m_Tackles.push_back(kept);
    KeepTackleRecord(record);  // his last tackle as he made it
}

uint8_t CMatchPlayer::GetMatchRating() const
{
    if (!m_bTookPart)
        return 0;
    const uint8_t byCode = GetNaturalPosition();
    int nTackleWeight = 3, nShotWeight = 1;
    if (byCode >= 8 && byCode <= 10)
        nTackleWeight = 2, nShotWeight = 2;
    else if (byCode >= 11 && byCode <= 15)
        nTackleWeight = 1, nShotWeight = 3;
    constexpr int kPassWeight = 2;
    // A list with nothing in it weighs in at 100 whatever its weight.
    const double fTackles = m_nTackles ? double(Term(2 * m_nDangerTackles + m_nTacklesWon, m_nTackles) * nTackleWeight)
                                       : 100.0 / nTackleWeight;
    const double fShots =
        m_nShots ? double(Term(2 * m_nGoals + m_nShotsOnTarget, m_nShots) * nShotWeight) : 100.0 / nShotWeight;
    const double fPasses = m_nPasses
                               ? double(Term(2 * m_nPassesCredited + m_nPassesCompleted, m_nPasses) * kPassWeight)
                               : 100.0 / kPassWeight;
    double fSum = (fTackles + fShots + fPasses) / 6.0;
    fSum += 10.0 * m_nGoals + (m_nGoals >= 3 ? 10.0 : 0.0);
    fSum -= 5.0 * m_byYellowCards;
    if (m_byRedCards)
        fSum -= 20.0;
    fSum -= 5.0 * m_byOwnGoals;
    if (plat::rand() % 1000 > 500)
        fSum += 1.0;
    const int nBase = m_pRecord ? m_pRecord->GetRatingForPosition(byCode) : 0;
    // Read without wrapping, so that a poor match is never lifted to the top.
    int nRating = TruncateToInt((nBase + 2.0 * fSum) / 3.0);
    if (nRating < 40)
        nRating = 40 + plat::rand() % 20;
    else if (nRating > 100)
        nRating = 100 - plat::rand() % 10;
    return uint8_t(nRating);
}

uint8_t CMatchPlayer::StoreMatchResult()
{
    m_byMatchRating = GetMatchRating();
    return m_byMatchRating;
}

int CMatchPlayer::GetKickTriggerRating(uint8_t byAim, uint8_t byPressure) const
{
    const int nColumn = std::min<int>(byPressure, 3);
    // Deep in his own third the kicks go sooner.
    const int nRow = m_pClub->GetZone(m_vPosition.x, m_vPosition.y) == 1 ? 1 : 0;
    switch (byAim) {
    case DECISION_SHOOT: return kTriggerShot[nColumn];
    case DECISION_PASS: return kTriggerPass[nRow][nColumn];
    case DECISION_LONG_BALL:
    case DECISION_CROSS: return kTriggerLong[nRow][nColumn];
    case DECISION_CLEAR: return 0;
    default: DebugLog(6, "CMatchPlayer::GetKickTriggerRating: Invalid Aim"); return 101;
    }
}
