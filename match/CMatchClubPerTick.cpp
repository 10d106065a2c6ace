// The side's work of every tick: the offside line, the alarm of a ball
// flying at its goal, who goes for the ball and who supports him, how
// dangerous each of its players is to the opponents and whom each of its
// defenders marks.
#include "match/CMatchClub.h"

#include "match/CMatchBall.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchReferee.h"

#include <algorithm>

namespace {

constexpr float kNoChase = 999999.0f;
// A restart's spot this near the ball: its taker is the one who goes.
constexpr int64_t kSpotNearBallSquared = 640000;
// The support chaser covers this far goal-side of the ball, and is sent
// while his side has the ball only with an opponent this near its holder.
constexpr int32_t kSupportDepth = 1000;
constexpr int32_t kSupportPressure = 1000;
// A ball crossing the goal line this near the goal and this soon alarms.
constexpr int32_t kAlarmLow = 3234, kAlarmHigh = 4266, kAlarmHeight = 384;
constexpr float kAlarmSeconds = 2.0f;
constexpr int32_t kExitMargin = 20;
// Players above this threat are listed, and a marker keeps his man only
// while the man's threat is at least the keep level.
constexpr int kListedThreat = 40;
constexpr int kKeptThreat = 31;
// A marker is given the man whose goal-side point lies nearer than this.
constexpr int32_t kMarkingPick = 1500;
constexpr int32_t kGoalSide = 200;
// Open play keeps a side this far onside and this far inside the lines.
constexpr int32_t kOnsideMargin = 400;
constexpr int32_t kPlayAreaInset = 50;
constexpr int32_t kMarkingRanges[11] = {800, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000};

int32_t Distance2D(const CVector& a, const CVector& b)
{
    return IntegerRoot(a.SquaredDistance2D(b));
}

}  // namespace

CVector CMatchClub::GetPosInPlayArea(const CVector& wanted) const
{
    const int32_t nLine = m_pOpponent ? m_pOpponent->GetOffsideLine() : (m_bAttacksHighEnd ? PITCH_LENGTH : 0);
    const int32_t nLow = (m_bAttacksHighEnd ? 0 : nLine + kOnsideMargin) + kPlayAreaInset;
    const int32_t nHigh = (m_bAttacksHighEnd ? nLine - kOnsideMargin : PITCH_LENGTH) - kPlayAreaInset;
    return CVector(std::clamp(wanted.x, nLow, std::max(nLow, nHigh)),
                   std::clamp(wanted.y, kPlayAreaInset, PITCH_WIDTH - kPlayAreaInset), 0);
}

int32_t CMatchClub::GetMarkingRange(int nMarkingOrder)
{
    return kMarkingRanges[std::clamp(nMarkingOrder / 10, 0, 10)];
}

void CMatchClub::UpdatePerTick()
{
    UpdateOffsideLine();
    UpdateShotAlarm();
    UpdateBallChasers();
    UpdateThreatRatings();
    UpdateMarking();
}

void CMatchClub::UpdateShotAlarm()
{
    m_bShotAlarm = false;
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall || pBall->GetHolder())
        return;
    // A shot of the opponents' on its way in his own half towards his goal
    // line, wherever along it it is going. One flying elsewhere (wild, or
    // back off a post) is no shot at him: chasing it took the goalkeeper
    // up the pitch after it.
    const CMatchPlayer* pLast = CMatchPlayer::AsFootballer(pBall->GetLastToucher());
    const CVector& at = pBall->GetPosition();
    const int32_t vx = pBall->GetVelocity().x;
    const bool bAtOwnGoal = m_bAttacksHighEnd ? at.x < 5000 && vx < 0 : at.x >= 5000 && vx > 0;
    if (m_Engine.GetMatchEvent() == MATCHEVENT_NONE && pBall->GetLastCause() == BALLCAUSE_SHOT && pLast &&
        pLast->GetClub() == m_pOpponent && bAtOwnGoal) {
        m_bShotAlarm = true;
        return;
    }
    if (pBall->GetExitTime() >= kAlarmSeconds)
        return;
    const CVector& exit = pBall->GetExitPoint();
    // The ball's prediction ends its way 20 short of the line.
    const bool bBeyondOwnLine = m_bAttacksHighEnd ? exit.x <= kExitMargin : exit.x >= PITCH_LENGTH - kExitMargin;
    m_bShotAlarm = bBeyondOwnLine && exit.y >= kAlarmLow && exit.y <= kAlarmHigh && exit.z <= kAlarmHeight;
}

void CMatchClub::UpdateBallChasers()
{
    for (int i = 0; i < m_nOnPitch; ++i)
        if (CMatchPlayer* p = GetSlot(i))
            p->SetBallChaser(false);
    m_pBallChaser = nullptr;
    m_fBallChaserCost = kNoChase;
    m_pSupportChaser = nullptr;
    const CMatchBall* pBall = m_Engine.GetBall();
    if (!pBall)
        return;
    const uint8_t byEvent = m_Engine.GetMatchEvent();
    const CMatchReferee* pReferee = m_Engine.GetReferee();
    CMatchPlayer* pHolder = CMatchPlayer::AsFootballer(pBall->GetHolder());
    if (pHolder && pHolder->GetClub() == this) {
        m_pBallChaser = pHolder;
        m_fBallChaserCost = 0.0f;
    } else if (byEvent != MATCHEVENT_NONE) {
        // At a stoppage only the taker goes, for a ball at the spot. Nobody
        // can take a ball in his stride while play is stopped, so a man
        // sent after one lying elsewhere would hold up the restart until
        // its time limit; the referee hands the taker the ball instead.
        if (pReferee && pReferee->GetRestartClub() == this && pReferee->GetEventPlayer() &&
            pReferee->GetEventPosition().SquaredDistance2D(pBall->GetPosition()) < kSpotNearBallSquared) {
            m_pBallChaser = pReferee->GetEventPlayer();
            m_fBallChaserCost = 0.0f;
        }
    } else {
        for (int i = 0; i < m_nOnPitch; ++i) {
            CMatchPlayer* p = GetSlot(i);
            if (!p)
                continue;
            const float fCost = p->GetBallInterceptCost();
            if (!m_pBallChaser || fCost < m_fBallChaserCost)
                m_pBallChaser = p, m_fBallChaserCost = fCost;
        }
        if (m_fBallChaserCost >= kNoChase)
            m_pBallChaser = nullptr;
    }
    if (m_pBallChaser) {
        m_pBallChaser->SetBallChaser(true);
        m_pBallChaser->SetBallReachCost(m_fBallChaserCost);
    }

    const CMatchClub* pInPossession = m_Engine.GetClubInPossession();
    bool bSupport = pInPossession != this && byEvent != MATCHEVENT_GOALKICK;
    if (!bSupport && byEvent == MATCHEVENT_NONE && pInPossession == this && pHolder && pHolder->GetClub() == this)
        bSupport = pHolder->GetNearestOpponentDistance() < kSupportPressure;
    if (!bSupport)
        return;
    CVector cover = pBall->GetPosition();
    cover.x += m_bAttacksHighEnd ? -kSupportDepth : kSupportDepth;
    cover.z = 0;
    m_pSupportChaser = GetNearestPlayerExcept(cover, m_pBallChaser, nullptr);
}

void CMatchClub::UpdateThreatRatings()
{
    const CMatchBall* pBall = m_Engine.GetBall();
    const CMatchPlayer* pAdvanced = nullptr;
    for (int i = 1; i < m_nOnPitch; ++i) {
        const CMatchPlayer* p = GetSlot(i);
        if (p && (!pAdvanced || DistanceFromOwnGoal(p->GetPosition().x) > DistanceFromOwnGoal(pAdvanced->GetPosition().x)))
            pAdvanced = p;
    }
    m_nThreatList = 0;
    m_nThreatTotal = 0;
    if (!pAdvanced || !pBall)
        return;
    // The most advanced man scores 30 from his place alone.
    const double D = std::max(1.0, DistanceFromOwnGoal(pAdvanced->GetPosition().x) * 0.01);
    const double f = 30.0 / D;
    const uint8_t byEvent = m_Engine.GetMatchEvent();
    const CMatchReferee* pReferee = m_Engine.GetReferee();
    const CMatchPerson* pHolder = pBall->GetHolder();
    CVector attacked(m_bAttacksHighEnd ? PITCH_LENGTH : 0, GOAL_CENTRE_Y, 0);
    for (int i = 1; i < m_nOnPitch; ++i) {
        CMatchPlayer* p = GetSlot(i);
        if (!p)
            continue;
        const int nLineUp = p->GetSquadPosition();
        if (p != pHolder) {
            // Nearness counts only for the man at the ball itself (within 50),
            // and at a stoppage of his side's for a man within 50 metres of
            // the goal it attacks.
            int b = 0;
            switch (byEvent) {
            case MATCHEVENT_HALFTIME:
            case MATCHEVENT_FULLTIME:
            case MATCHEVENT_CORNER:
                if (pReferee && pReferee->GetRestartClub() == this)
                    b = std::max(0, 50 - Distance2D(p->GetPosition(), attacked) / 100);
                break;
            case MATCHEVENT_FREEKICK:
            case MATCHEVENT_DIRECTFREEKICK:
                break;
            default:
                b = std::max(0, 50 - p->GetBallDistance());
                break;
            }
            const int32_t x = DistanceFromOwnGoal(p->GetPosition().x);
            const uint8_t byBase = uint8_t(TruncateToInt(x * 0.01 * f) + b);
            SetThreatRating(nLineUp, uint8_t(TruncateToInt(byBase * 0.7) + m_byThreatBias / 3));
        }
        const uint8_t byRating = GetThreatRating(nLineUp);
        m_nThreatTotal += byRating;
        if (byRating > kListedThreat)
            m_abyThreatList[m_nThreatList++] = uint8_t(i);
    }
    std::stable_sort(m_abyThreatList, m_abyThreatList + m_nThreatList, [this](uint8_t a, uint8_t b) {
        return GetThreatRating(GetSlot(a)->GetSquadPosition()) > GetThreatRating(GetSlot(b)->GetSquadPosition());
    });
}

void CMatchClub::UpdateMarking()
{
    const CMatchClub* pOpponents = m_pOpponent;
    if (!pOpponents)
        return;
    auto distanceTo = [this](int nOwnSlot, int nOpponentSlot) {
        return m_bHome ? m_Engine.GetPlayerDistance(nOwnSlot, nOpponentSlot)
                       : m_Engine.GetPlayerDistance(nOpponentSlot, nOwnSlot);
    };
    bool abMarked[kSlots] = {};
    bool abAssigned[kSlots] = {};
    // A standing order holds while the man is dangerous and within reach.
    for (int i = 1; i < m_nOnPitch; ++i) {
        CMatchPlayer* p = GetSlot(i);
        if (!p)
            continue;
        p->SetMarkedOpponent(nullptr);
        const uint8_t t = m_abyMarking[i];
        CMatchPlayer* pMan = t == kNoMarking ? nullptr : pOpponents->GetPlayer(t, true);
        if (!pMan || pMan->GetLineIndex() >= pOpponents->GetOnPitchCount())
            continue;
        const int32_t nRange = GetMarkingRange(p->GetTeamOrder(ORDER_MARKING));
        if (pOpponents->GetThreatRating(t) < kKeptThreat || distanceTo(i, pMan->GetLineIndex()) >= nRange)
            continue;
        p->SetMarkedOpponent(pMan);
        p->SetMarkingPoint(pMan->GetPosition());
        abAssigned[i] = true;
        abMarked[pMan->GetLineIndex()] = true;
    }
    // The most dangerous men first: the free defender nearest to the
    // point goal-side of each takes him.
    CVector goal;
    GetGoalPosition(goal);
    for (int n = 0; n < pOpponents->GetThreatListLength(); ++n) {
        const int nSlot = pOpponents->GetThreatListSlot(n);
        const CMatchPlayer* pMan = pOpponents->GetSlot(nSlot);
        if (!pMan || nSlot >= pOpponents->GetOnPitchCount() || abMarked[nSlot] || pMan->GetSpecialRole() != ROLE_NONE)
            continue;
        const CVector& at = pMan->GetPosition();
        const int32_t d = Distance2D(at, goal);
        CVector point(at.x, at.y, 0);
        if (d > 0)
            point = CVector(at.x + int32_t(int64_t(goal.x - at.x) * kGoalSide / d),
                            at.y + int32_t(int64_t(goal.y - at.y) * kGoalSide / d), 0);
        CMatchPlayer* pBest = nullptr;
        int32_t nBest = 0;
        for (int i = 1; i < m_nOnPitch; ++i) {
            CMatchPlayer* p = GetSlot(i);
            if (!p || abAssigned[i])
                continue;
            const int32_t dp = Distance2D(p->GetPosition(), point);
            if (dp > GetMarkingRange(p->GetTeamOrder(ORDER_MARKING)) || dp >= kMarkingPick)
                continue;
            if (!pBest || dp < nBest)
                pBest = p, nBest = dp;
        }
        if (!pBest)
            continue;
        pBest->SetMarkedOpponent(pMan);
        pBest->SetMarkingPoint(point);
        abAssigned[pBest->GetLineIndex()] = true;
        abMarked[nSlot] = true;
    }
}
