// matchmeasure [--seeds N] [--first S] [--club ID] [--away ID]
// Plays N whole 3-D matches headless (run from the runtime data tree) and
// prints per side the passes tried and completed, where the lost ones went,
// shots, goals and how far out the goalkeeper went; then the averages, with
// what became of the shots and what put the ball out for each restart.
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchPlayer.h"
#include "tools/sceneview/NumberArgument.h"
#include "tools/sceneview/SceneView.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// Frames of 20 ms, as a screen at 50 a second draws them: a pass and the
// touch that ends it seldom fall into one frame.
constexpr uint32_t kFrameMs = 40;
constexpr int32_t kFarOut = 2000;  // a goalkeeper this far from his line is out of his goal
// Bands of the interceptor's distance from the kicker at the strike, in cm.
constexpr int32_t kBands[] = {300, 600, 1000, 2000};
constexpr int kBandCount = 5;
// Bands of the kicker's time on the ball before a pass, in ms; a pass
// struck first time, without holding the ball, goes in a band of its own.
constexpr uint32_t kHeldBands[] = {500, 1000, 2000, 4000, 6000};
constexpr int kHeldBandCount = 7;

constexpr int kKickKinds = 5;
constexpr int kKickEndCount = 6;
const char* const kKickKindNames[kKickKinds] = {"crosses", "long balls", "clearances", "keeper deflections",
                                                "outfield deflections"};
const char* const kKickEnds[kKickEndCount] = {"a team-mate", "the opposing keeper", "another opponent",
                                              "over the goal line", "over a touchline", "other"};

struct SideFigures {
    int passes = 0, completed = 0, shots = 0, onTarget = 0, goals = 0;
    int lostToOpponent = 0, lostOut = 0, lostOther = 0;
    int abyBand[kBandCount] = {};
    int lostBehind = 0;  // the interceptor stood behind the kicker at the strike
    // The interceptor stood nearer the aim than the receiver at the strike.
    int lostNearerAim = 0;
    // By kind (pass, cross, long ball): tried and lost to an opponent.
    int aTried[3] = {}, aLost[3] = {};
    // The pass's safety as the kicker chose it and as it stood at the strike,
    // summed for the kept passes [0] and those lost to an opponent [1].
    int64_t aChosenSafety[2] = {}, aStruckSafety[2] = {};
    int64_t strikeDelayMs = 0;  // from the choice of the pass to its strike
    // Passes by the kicker's time on the ball: first time, then kHeldBands.
    int aHeld[kHeldBandCount] = {};
    int64_t heldMs = 0;  // summed over the passes not struck first time
    int64_t keptLength = 0;
    int kept = 0;
    int32_t keeperFarthest = 0;
    // Tackles made, fouls given against the side, players booked, players
    // sent off, penalties awarded to it and offsides given against it.
    int tackles = 0, fouls = 0, bookings = 0, sendingsOff = 0, penalties = 0, offsides = 0;
    double keeperFarSeconds = 0, keeperLongestFar = 0;
    // Of the whole match, kept on the home side only: the match time in open
    // play and the restarts (throw-ins, goal kicks, corners, free kicks).
    double openPlaySeconds = 0;
    int aRestarts[4] = {};
    double aRestartSeconds[4] = {};  // the match time each kind of restart took
    // What became of the side's shots: a goal, held by the keeper, touched
    // by the keeper, by another opponent or a team-mate first, or out over
    // the goal line, over a touchline, or anything else.
    int aShotEnds[8] = {};
    // The ball's last cause (BALLCAUSE_) before a throw-in, goal kick or
    // corner awarded against the side.
    int aOutBy[3][8] = {};
    // After a shot of the side touched first by the keeper [0] or another
    // opponent [1] without their keeping it: a goal, a corner, a goal kick,
    // a throw-in, the defending side's next touch, the shooting side's.
    int aAfterBlock[2][6] = {};
    // What ended the side's crosses, long balls, clearances and the
    // deflections off its keeper and its outfield players (headers, blocks,
    // tackles, parries): see kKickEnds ("a team-mate" takes in the kicker
    // himself). With the distances from the goal line nearer the aim (for a
    // deflection, the ball) of the kick, its aim, the opponents' offside
    // line at the kick and the ball where the kick ended, summed.
    int aKickEnds[kKickKinds][kKickEndCount] = {};
    int64_t aStartDepth[kKickKinds] = {}, aAimDepth[kKickKinds] = {}, aLineDepth[kKickKinds] = {},
            aEndDepth[kKickKinds] = {};
    // Tackles made inside the side's own penalty area.
    int boxTackles = 0;
};

// A pass, cross or long ball on its way: the opponents where they stood
// when it was struck.
struct PassWatch {
    const BALLTOUCHRECORD* pRecord = nullptr;
    const CMatchPlayer* pKicker = nullptr;
    CVector vKick, vDirection, vAim;
    int32_t nReceiverToAim = -1;
    int kind = 0;
    int chosenSafety = 0, struckSafety = 0;
    std::vector<std::pair<const CMatchPerson*, CVector>> opponents;
};

struct TouchSignature {
    const BALLTOUCHRECORD* pRecord = nullptr;
    const CMatchPerson* pPlayer = nullptr;
    uint8_t byCause = BALLCAUSE_NONE;
    CVector vStart;
    bool operator==(const TouchSignature& o) const
    {
        return pRecord == o.pRecord && pPlayer == o.pPlayer && byCause == o.byCause && vStart.x == o.vStart.x &&
               vStart.y == o.vStart.y;
    }
};

// The kick kind watched to its end, or -1.
int KickKind(const BALLTOUCHRECORD& touch)
{
    const CMatchPlayer* p = CMatchPlayer::AsFootballer(touch.pPlayer);
    switch (touch.byCause) {
    case BALLCAUSE_CROSS: return 0;
    case BALLCAUSE_LONGBALL: return 1;
    case BALLCAUSE_CLEARANCE: return 2;
    case BALLCAUSE_DEFLECTION: return p && p->GetSquadPosition() == 0 ? 3 : 4;
    default: return -1;
    }
}

int32_t GoalLineDepth(const CVector& v)
{
    return std::min(std::abs(v.x), std::abs(PITCH_LENGTH - v.x));
}

bool IsPass(uint8_t byCause)
{
    return byCause == BALLCAUSE_PASS || byCause == BALLCAUSE_CROSS || byCause == BALLCAUSE_LONGBALL;
}

int32_t Distance(const CVector& a, const CVector& b)
{
    return int32_t(std::sqrt(double(a.SquaredDistance2D(b))));
}

class Measure {
public:
    explicit Measure(CMatchEngine& engine) : m_Engine(engine) {}

    void AfterTick()
    {
        const CMatchBall& ball = *m_Engine.GetBall();
        if (ball.GetHolder() && ball.GetHolder() != m_pHolder) {
            m_pHolder = ball.GetHolder();
            m_dwHeldSince = m_Engine.GetMatchTime();
        }
        const BALLTOUCHRECORD* pTouch = ball.GetCurrentTouch();
        TouchSignature now;
        if (pTouch)
            now = {pTouch, pTouch->pPlayer, pTouch->byCause, pTouch->vStart};
        if (!(now == m_Last)) {
            if (m_Watch.pRecord)
                Resolve(pTouch);
            if (m_pBlocked && pTouch)
                AfterBlock(pTouch, MATCHEVENT_NONE);
            if (m_pShooter)
                ShotTouched(pTouch);
            if (m_pKicked)
                KickEnded(pTouch ? CMatchPlayer::AsFootballer(pTouch->pPlayer) : nullptr, MATCHEVENT_NONE);
            if (pTouch && KickKind(*pTouch) >= 0 && CMatchPlayer::AsFootballer(pTouch->pPlayer)) {
                m_pKicked = CMatchPlayer::AsFootballer(pTouch->pPlayer);
                m_nKickKind = KickKind(*pTouch);
                m_vKickAim = pTouch->byCause == BALLCAUSE_DEFLECTION ? ball.GetPosition() : m_pKicked->GetTarget();
                m_vKickStart = ball.GetPosition();
                m_nKickLine = m_pKicked->GetClub()->GetOpponent()->GetOffsideLine();
            }
            if (pTouch && IsPass(pTouch->byCause))
                Watch(*pTouch, ball);
            if (pTouch && pTouch->byCause == BALLCAUSE_SHOT)
                m_pShooter = CMatchPlayer::AsFootballer(pTouch->pPlayer);
            m_Last = now;
        }
        Keepers();
        Restarts();
        BoxTackles();
    }

    void Finish(SideFigures (&sides)[2])
    {
        for (int s = 0; s < 2; ++s) {
            const CMatchClub* pClub = s == 0 ? m_Engine.GetHomeClub() : m_Engine.GetAwayClub();
            m_aSides[s].passes = pClub->GetCounters().wPasses;
            m_aSides[s].completed = pClub->GetCounters().wPassesCompleted;
            m_aSides[s].onTarget = pClub->GetCounters().byShotsOnTarget;
            m_aSides[s].goals = pClub->GetGoals();
            const MATCHCLUBCOUNTERS& counters = pClub->GetCounters();
            m_aSides[s].fouls = counters.byFouls;
            m_aSides[s].bookings = counters.byBookings;
            m_aSides[s].penalties = counters.byPenaltiesAwarded;
            m_aSides[s].offsides = counters.byOffsides;
            // GetSlot ends at the squad's last player, the bench included.
            for (int i = 0; const CMatchPlayer* p = pClub->GetSlot(i); ++i) {
                m_aSides[s].tackles += p->GetTackleCount();
                m_aSides[s].sendingsOff += p->GetRedCards();
            }
            sides[s] = m_aSides[s];
        }
        uint8_t byHome = 0, byAway = 0;
        m_Engine.GetShots(byHome, byAway);
        sides[0].shots = byHome;
        sides[1].shots = byAway;
    }

private:
    int SideOf(const CMatchPlayer* p) const { return p->GetClub() == m_Engine.GetHomeClub() ? 0 : 1; }

    void Watch(const BALLTOUCHRECORD& touch, const CMatchBall& ball)
    {
        const CMatchPlayer* pKicker = CMatchPlayer::AsFootballer(touch.pPlayer);
        if (!pKicker)
            return;
        m_Watch = {};
        m_Watch.pRecord = &touch;
        m_Watch.pKicker = pKicker;
        m_Watch.vKick = touch.vStart;
        m_Watch.vDirection = ball.GetVelocity();
        m_Watch.vAim = pKicker->GetTarget();
        m_Watch.kind = touch.byCause == BALLCAUSE_PASS ? 0 : touch.byCause == BALLCAUSE_CROSS ? 1 : 2;
        if (const CMatchPlayer* pReceiver = pKicker->GetDecisionPartner())
            m_Watch.nReceiverToAim = Distance(pReceiver->GetPosition(), m_Watch.vAim);
        ++m_aSides[SideOf(pKicker)].aTried[m_Watch.kind];
        m_Watch.chosenSafety = pKicker->GetKickSafety();
        m_aSides[SideOf(pKicker)].strikeDelayMs += m_Engine.GetMatchTime() - pKicker->GetLastKickTime();
        HeldBeforePass(*pKicker);
        const int32_t d = Distance(m_Watch.vKick, m_Watch.vAim);
        const float fFlight = std::max(0.1f, pKicker->GetFlightTime());
        m_Watch.struckSafety =
            100 - pKicker->GetClub()->GetOpponent()->GetPassInterceptRating(m_Watch.vKick, m_Watch.vAim,
                                                                              std::max(1, int32_t(d / fFlight)));
        const CMatchClub* pOpponents = pKicker->GetClub()->GetOpponent();
        for (int i = 0; i < pOpponents->GetOnPitchCount(); ++i)
            if (const CMatchPlayer* p = pOpponents->GetSlot(i))
                m_Watch.opponents.emplace_back(p, p->GetPosition());
    }

    // The last holder struck the pass after holding the ball; anyone else
    // met it first time.
    void HeldBeforePass(const CMatchPlayer& kicker)
    {
        SideFigures& side = m_aSides[SideOf(&kicker)];
        if (m_pHolder != &kicker || kicker.GetLastKickTime() < m_dwHeldSince) {
            ++side.aHeld[0];
            return;
        }
        const uint32_t dwHeld = kicker.GetLastKickTime() - m_dwHeldSince;
        int band = 1;
        while (band < kHeldBandCount - 1 && dwHeld >= kHeldBands[band - 1])
            ++band;
        ++side.aHeld[band];
        side.heldMs += dwHeld;
        m_pHolder = nullptr;
    }

    void Resolve(const BALLTOUCHRECORD* pNext)
    {
        SideFigures& side = m_aSides[SideOf(m_Watch.pKicker)];
        const CMatchPlayer* pNew = pNext ? CMatchPlayer::AsFootballer(pNext->pPlayer) : nullptr;
        if (pNew && pNew->GetClub() == m_Watch.pKicker->GetClub()) {
            ++side.kept;
            side.keptLength += Distance(m_Watch.vKick, pNext->vStart);
            side.aChosenSafety[0] += m_Watch.chosenSafety, side.aStruckSafety[0] += m_Watch.struckSafety;
        } else if (pNew) {
            ++side.lostToOpponent;
            ++side.aLost[m_Watch.kind];
            side.aChosenSafety[1] += m_Watch.chosenSafety, side.aStruckSafety[1] += m_Watch.struckSafety;
            for (const auto& [pOpponent, at] : m_Watch.opponents) {
                if (pOpponent != pNew)
                    continue;
                const int32_t d = Distance(at, m_Watch.vKick);
                int band = 0;
                while (band < kBandCount - 1 && d >= kBands[band])
                    ++band;
                ++side.abyBand[band];
                const int64_t dot = int64_t(at.x - m_Watch.vKick.x) * m_Watch.vDirection.x +
                                    int64_t(at.y - m_Watch.vKick.y) * m_Watch.vDirection.y;
                side.lostBehind += dot < 0;
                side.lostNearerAim += m_Watch.nReceiverToAim >= 0 && Distance(at, m_Watch.vAim) < m_Watch.nReceiverToAim;
            }
        } else {
            const CVector& at = m_Engine.GetBall()->GetPosition();
            if (at.x < 0 || at.x > PITCH_LENGTH || at.y < 0 || at.y > PITCH_WIDTH)
                ++side.lostOut;
            else
                ++side.lostOther;
        }
        m_Watch = {};
    }

    // The shot's next touch decides what became of it.
    void ShotTouched(const BALLTOUCHRECORD* pTouch)
    {
        const CMatchPlayer* p = pTouch ? CMatchPlayer::AsFootballer(pTouch->pPlayer) : nullptr;
        if (!p)
            return;
        SideFigures& side = m_aSides[SideOf(m_pShooter)];
        if (p->GetClub() == m_pShooter->GetClub())
            ++side.aShotEnds[4];
        else if (p->GetSquadPosition() != 0)
            ++side.aShotEnds[3];
        else
            ++side.aShotEnds[m_Engine.GetBall()->GetHolder() == p ? 1 : 2];
        if (p->GetClub() != m_pShooter->GetClub() && m_Engine.GetBall()->GetHolder() != p) {
            m_pBlocked = m_pShooter;
            m_nBlocker = p->GetSquadPosition() == 0 ? 0 : 1;
        }
        m_pShooter = nullptr;
    }

    void AfterBlock(const BALLTOUCHRECORD* pTouch, uint8_t byEvent)
    {
        int k = -1;
        if (pTouch) {
            const CMatchPlayer* p = CMatchPlayer::AsFootballer(pTouch->pPlayer);
            if (!p)
                return;
            k = p->GetClub() == m_pBlocked->GetClub() ? 5 : 4;
        } else {
            switch (byEvent) {
            case MATCHEVENT_KICKOFF: k = 0; break;
            case MATCHEVENT_CORNER: k = 1; break;
            case MATCHEVENT_GOALKICK: k = 2; break;
            case MATCHEVENT_THROWIN: k = 3; break;
            default: break;
            }
        }
        if (k >= 0)
            ++m_aSides[SideOf(m_pBlocked)].aAfterBlock[m_nBlocker][k];
        m_pBlocked = nullptr;
    }

    // The watched kick's next toucher, or the restart it ran into.
    void KickEnded(const CMatchPlayer* pNext, uint8_t byEvent)
    {
        SideFigures& side = m_aSides[SideOf(m_pKicked)];
        int k = 5;
        if (pNext)
            k = pNext->GetClub() == m_pKicked->GetClub() ? 0 : pNext->GetSquadPosition() == 0 ? 1 : 2;
        else if (byEvent == MATCHEVENT_GOALKICK || byEvent == MATCHEVENT_CORNER || byEvent == MATCHEVENT_KICKOFF)
            k = 3;
        else if (byEvent == MATCHEVENT_THROWIN)
            k = 4;
        if (!pNext && byEvent == MATCHEVENT_NONE)
            return;
        ++side.aKickEnds[m_nKickKind][k];
        // Depths are from the goal line nearer the aim, so that a ball
        // carried past it counts as negative.
        const CVector& end = m_Engine.GetBall()->GetPosition();
        const bool bLowEnd = m_vKickAim.x < PITCH_LENGTH / 2;
        side.aStartDepth[m_nKickKind] += bLowEnd ? m_vKickStart.x : PITCH_LENGTH - m_vKickStart.x;
        side.aAimDepth[m_nKickKind] += GoalLineDepth(m_vKickAim);
        side.aLineDepth[m_nKickKind] += bLowEnd ? m_nKickLine : PITCH_LENGTH - m_nKickLine;
        side.aEndDepth[m_nKickKind] += bLowEnd ? end.x : PITCH_LENGTH - end.x;
        m_pKicked = nullptr;
    }

    void ShotStopped(uint8_t byEvent)
    {
        SideFigures& side = m_aSides[SideOf(m_pShooter)];
        switch (byEvent) {
        case MATCHEVENT_KICKOFF: ++side.aShotEnds[0]; break;
        case MATCHEVENT_GOALKICK: case MATCHEVENT_CORNER: ++side.aShotEnds[5]; break;
        case MATCHEVENT_THROWIN: ++side.aShotEnds[6]; break;
        default: ++side.aShotEnds[7]; break;
        }
        m_pShooter = nullptr;
    }

    void Restarts()
    {
        const uint8_t byEvent = m_Engine.GetMatchEvent();
        if (byEvent != m_byEvent && m_byEvent == MATCHEVENT_NONE) {
            if (m_pShooter)
                ShotStopped(byEvent);
            if (m_pBlocked)
                AfterBlock(nullptr, byEvent);
            if (m_pKicked)
                KickEnded(nullptr, byEvent);
            const CMatchPlayer* pLast = CMatchPlayer::AsFootballer(m_Engine.GetBall()->GetLastToucher());
            const int k = byEvent == MATCHEVENT_THROWIN ? 0 : byEvent == MATCHEVENT_GOALKICK ? 1
                        : byEvent == MATCHEVENT_CORNER ? 2 : -1;
            if (pLast && k >= 0)
                ++m_aSides[SideOf(pLast)].aOutBy[k][std::min<int>(m_Engine.GetBall()->GetLastCause(), 7)];
        }
        const uint32_t dwNow = m_Engine.GetMatchTime();
        auto kind = [](uint8_t by) {
            switch (by) {
            case MATCHEVENT_THROWIN: return 0;
            case MATCHEVENT_GOALKICK: return 1;
            case MATCHEVENT_CORNER: return 2;
            case MATCHEVENT_FREEKICK:
            case MATCHEVENT_DIRECTFREEKICK: return 3;
            default: return -1;
            }
        };
        const double fStep = (dwNow - m_dwMatchTime) / 1000.0;
        if (byEvent == MATCHEVENT_NONE && m_byEvent == MATCHEVENT_NONE)
            m_aSides[0].openPlaySeconds += fStep;
        if (m_byEvent != MATCHEVENT_NONE && kind(m_byEvent) >= 0)
            m_aSides[0].aRestartSeconds[kind(m_byEvent)] += fStep;
        if (byEvent != m_byEvent && kind(byEvent) >= 0)
            ++m_aSides[0].aRestarts[kind(byEvent)];
        m_byEvent = byEvent;
        m_dwMatchTime = dwNow;
    }

    // A tackle shows as a rise of the tackler's count; its record says where.
    void BoxTackles()
    {
        for (const CMatchClub* pClub : {m_Engine.GetHomeClub(), m_Engine.GetAwayClub()})
            for (int i = 0; i < pClub->GetOnPitchCount(); ++i) {
                const CMatchPlayer* p = pClub->GetSlot(i);
                if (!p)
                    continue;
                auto known = std::find_if(m_aTackleCounts.begin(), m_aTackleCounts.end(),
                                          [p](const auto& entry) { return entry.first == p; });
                if (known == m_aTackleCounts.end())
                    known = m_aTackleCounts.insert(m_aTackleCounts.end(), {p, 0});
                if (p->GetTackleCount() > known->second &&
                    pClub->IsInPenaltyArea(p->GetLastTackle().vStart, false))
                    ++m_aSides[SideOf(p)].boxTackles;
                known->second = p->GetTackleCount();
            }
    }

    void Keepers()
    {
        const bool bOpenPlay = m_Engine.GetMatchEvent() == MATCHEVENT_NONE;
        for (int s = 0; s < 2; ++s) {
            const CMatchClub* pClub = s == 0 ? m_Engine.GetHomeClub() : m_Engine.GetAwayClub();
            const CMatchPlayer* pKeeper = pClub->GetSlot(0);
            if (!pKeeper)
                continue;
            CVector goal;
            pClub->GetGoalPosition(goal);
            const int32_t d = std::abs(pKeeper->GetPosition().x - goal.x);
            SideFigures& side = m_aSides[s];
            if (bOpenPlay)
                side.keeperFarthest = std::max(side.keeperFarthest, d);
            if (bOpenPlay && d > kFarOut) {
                side.keeperFarSeconds += kFrameMs / 1000.0;
                m_adFarStretch[s] += kFrameMs / 1000.0;
                side.keeperLongestFar = std::max(side.keeperLongestFar, m_adFarStretch[s]);
            } else {
                m_adFarStretch[s] = 0;
            }
        }
    }

    CMatchEngine& m_Engine;
    SideFigures m_aSides[2];
    PassWatch m_Watch;
    TouchSignature m_Last;
    const CMatchPerson* m_pHolder = nullptr;  // the ball's latest holder
    uint32_t m_dwHeldSince = 0;
    uint8_t m_byEvent = MATCHEVENT_NONE;
    uint32_t m_dwMatchTime = 0;
    double m_adFarStretch[2] = {};
    const CMatchPlayer* m_pShooter = nullptr;  // the shot on its way
    const CMatchPlayer* m_pBlocked = nullptr;  // the shooter whose shot came off an opponent
    int m_nBlocker = 0;
    const CMatchPlayer* m_pKicked = nullptr;  // the cross, long ball, clearance or deflection on its way
    int m_nKickKind = 0;
    CVector m_vKickAim, m_vKickStart;
    int32_t m_nKickLine = 0;
    std::vector<std::pair<const CMatchPlayer*, int>> m_aTackleCounts;
};

void Print(const char* name, const SideFigures& f)
{
    const int lost = f.passes - f.completed;
    std::printf("  %s: passes %d, completed %d (%.0f%%), lost %d: to an opponent %d (within 3 m %d, 3-6 m %d, 6-10 m %d, "
                "10-20 m %d, beyond %d; behind the kicker %d), out %d, other %d; kept pass %.1f m; shots %d (on target "
                "%d), goals %d; tackles %d, fouls %d, booked %d, sent off %d, penalties %d, offside %d; keeper farthest "
                "%.1f m, %.0f s beyond 20 m (longest %.0f s)\n",
                name, f.passes, f.completed, f.passes ? 100.0 * f.completed / f.passes : 0.0, lost, f.lostToOpponent,
                f.abyBand[0], f.abyBand[1], f.abyBand[2], f.abyBand[3], f.abyBand[4], f.lostBehind, f.lostOut,
                f.lostOther, f.kept ? f.keptLength / 100.0 / f.kept : 0.0, f.shots, f.onTarget, f.goals,
                f.tackles, f.fouls, f.bookings, f.sendingsOff, f.penalties, f.offsides, f.keeperFarthest / 100.0, f.keeperFarSeconds, f.keeperLongestFar);
}

constexpr size_t kParallel = 3;

bool ReadAll(int fd, void* pData, size_t nSize)
{
    char* p = static_cast<char*>(pData);
    while (nSize > 0) {
        const ssize_t n = read(fd, p, nSize);
        if (n <= 0)
            return false;
        p += n;
        nSize -= size_t(n);
    }
    return true;
}

void Add(SideFigures& total, const SideFigures& f)
{
    total.passes += f.passes, total.completed += f.completed, total.shots += f.shots, total.onTarget += f.onTarget;
    total.lostToOpponent += f.lostToOpponent, total.lostOut += f.lostOut, total.lostOther += f.lostOther;
    for (int b = 0; b < kBandCount; ++b)
        total.abyBand[b] += f.abyBand[b];
    total.lostNearerAim += f.lostNearerAim;
    for (int k = 0; k < 3; ++k)
        total.aTried[k] += f.aTried[k], total.aLost[k] += f.aLost[k];
    total.strikeDelayMs += f.strikeDelayMs;
    for (int b = 0; b < kHeldBandCount; ++b)
        total.aHeld[b] += f.aHeld[b];
    total.heldMs += f.heldMs;
    total.openPlaySeconds += f.openPlaySeconds;
    for (int k = 0; k < 4; ++k)
        total.aRestarts[k] += f.aRestarts[k], total.aRestartSeconds[k] += f.aRestartSeconds[k];
    for (int k = 0; k < 2; ++k)
        total.aChosenSafety[k] += f.aChosenSafety[k], total.aStruckSafety[k] += f.aStruckSafety[k];
    total.tackles += f.tackles, total.fouls += f.fouls, total.bookings += f.bookings;
    total.sendingsOff += f.sendingsOff, total.penalties += f.penalties, total.offsides += f.offsides;
    total.lostBehind += f.lostBehind, total.keptLength += f.keptLength, total.kept += f.kept;
    total.keeperFarthest = std::max(total.keeperFarthest, f.keeperFarthest);
    total.keeperFarSeconds += f.keeperFarSeconds;
    total.keeperLongestFar = std::max(total.keeperLongestFar, f.keeperLongestFar);
    for (int k = 0; k < 8; ++k) {
        total.aShotEnds[k] += f.aShotEnds[k];
        for (int r = 0; r < 3; ++r)
            total.aOutBy[r][k] += f.aOutBy[r][k];
    }
    for (int b = 0; b < 2; ++b)
        for (int k = 0; k < 6; ++k)
            total.aAfterBlock[b][k] += f.aAfterBlock[b][k];
    for (int k = 0; k < kKickKinds; ++k) {
        for (int e = 0; e < kKickEndCount; ++e)
            total.aKickEnds[k][e] += f.aKickEnds[k][e];
        total.aStartDepth[k] += f.aStartDepth[k];
        total.aAimDepth[k] += f.aAimDepth[k], total.aEndDepth[k] += f.aEndDepth[k];
        total.aLineDepth[k] += f.aLineDepth[k];
    }
    total.boxTackles += f.boxTackles;
}

int PlayMatch(uint32_t dwSeed, int club, int away, SideFigures (&sides)[2])
{
    tools::SceneOptions options;
    options.width = options.height = 64;
    options.players = 0;  // the match's own people take the pitch
    options.match = true;
    options.camera = 0;
    options.club = club;
    options.away = away;
    options.seed = dwSeed;
    tools::SceneView view;
    if (!view.Setup(options)) {
        std::fprintf(stderr, "matchmeasure: %s\n", view.GetError().c_str());
        return 1;
    }
    CMatchEngine& engine = *view.GetMatch();
    Measure measure(engine);
    // The engine steps by the time between two calls: a first call while
    // paused sets its clock to ours, so that a seed plays the same match.
    uint32_t dwClock = 1000;
    engine.SetPaused(true);
    engine.UpdateAt(dwClock);
    engine.SetPaused(false);
    // Three hours of engine time are more than any match with its stoppages needs.
    for (int t = 0; t < 3 * 3600 * 1000 / int(kFrameMs) && engine.GetMatchEvent() != MATCHEVENT_FULLTIME; ++t) {
        dwClock += kFrameMs;
        engine.UpdateAt(dwClock);
        measure.AfterTick();
    }
    measure.Finish(sides);
    const bool bFinished = engine.GetMatchEvent() == MATCHEVENT_FULLTIME;
    std::printf("seed %u: %d-%d%s, match time %u s\n", dwSeed, sides[0].goals, sides[1].goals,
                bFinished ? "" : " (not finished)", engine.GetMatchTime() / 1000);
    Print("home", sides[0]);
    Print("away", sides[1]);
    std::fflush(stdout);
    return bFinished ? 0 : 1;
}

int Usage()
{
    std::fprintf(stderr, "usage: matchmeasure [--seeds N] [--first S] [--club ID] [--away ID]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    int seeds = 8, first = 1, club = 1, away = 0;
    if (argc % 2 == 0)
        return Usage();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        bool bGood = false;
        if (arg == "--seeds")
            bGood = tools::ParseNumberArgument(argv[i + 1], 1, 1000, &seeds);
        else if (arg == "--first")
            bGood = tools::ParseNumberArgument(argv[i + 1], 0, 1000000, &first);
        else if (arg == "--club")
            bGood = tools::ParseNumberArgument(argv[i + 1], 1, 65535, &club);
        else if (arg == "--away")
            bGood = tools::ParseNumberArgument(argv[i + 1], 1, 65535, &away);
        if (!bGood)
            return Usage();
    }
    // Each match is played in a child process of its own (a second match in
    // one process is not set up afresh), up to three at once; each sends
    // its figures back through a pipe and prints its own lines.
    SideFigures total;
    int matches = 0, goals = 0;
    std::vector<std::pair<pid_t, int>> running;
    auto collect = [&](std::pair<pid_t, int> child) {
        SideFigures sides[2];
        const bool bRead = ReadAll(child.second, sides, sizeof sides);
        close(child.second);
        int status = 0;
        waitpid(child.first, &status, 0);
        if (!bRead || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return false;
        ++matches;
        for (const SideFigures& f : sides) {
            goals += f.goals;
            Add(total, f);
        }
        return true;
    };
    bool bAllPlayed = true;
    for (int n = 0; n < seeds; ++n) {
        if (running.size() == kParallel) {
            bAllPlayed = collect(running.front()) && bAllPlayed;
            running.erase(running.begin());
        }
        int fds[2];
        if (pipe(fds) != 0)
            return 1;
        std::fflush(stdout);
        const pid_t pid = fork();
        if (pid < 0)
            return 1;
        if (pid == 0) {
            close(fds[0]);
            SideFigures sides[2];
            const int rc = PlayMatch(uint32_t(first + n), club, away, sides);
            const bool bWritten = rc == 0 && write(fds[1], sides, sizeof sides) == ssize_t(sizeof sides);
            _exit(bWritten ? 0 : 1);
        }
        close(fds[1]);
        running.emplace_back(pid, fds[0]);
    }
    for (const auto& child : running)
        bAllPlayed = collect(child) && bAllPlayed;
    if (matches == 0)
        return 1;
    const double sides = 2.0 * matches;
    std::printf("over %d matches: %.2f goals a match; a side: %.0f passes, %.1f%% completed, %.1f shots (on target "
                "%.1f); lost to an opponent %.0f (within 3 m %.0f, 3-6 m %.0f, behind the kicker %.0f, nearer the aim than the receiver %.0f), "
                "out %.0f, other %.0f; by kind tried/lost to an opponent: passes %.0f/%.0f, crosses %.0f/%.0f, long balls "
                "%.0f/%.0f; kept pass %.1f m; keeper farthest %.1f m, %.0f s beyond 20 m a match, longest %.0f s\n",
                matches, goals / double(matches), total.passes / sides,
                total.passes ? 100.0 * total.completed / total.passes : 0.0, total.shots / sides, total.onTarget / sides,
                total.lostToOpponent / sides, total.abyBand[0] / sides, total.abyBand[1] / sides,
                total.lostBehind / sides, total.lostNearerAim / sides, total.lostOut / sides, total.lostOther / sides,
                total.aTried[0] / sides, total.aLost[0] / sides, total.aTried[1] / sides, total.aLost[1] / sides,
                total.aTried[2] / sides, total.aLost[2] / sides, total.kept ? total.keptLength / 100.0 / total.kept : 0.0, total.keeperFarthest / 100.0,
                total.keeperFarSeconds / sides, total.keeperLongestFar);
    std::printf("kick safety as chosen / at the strike: kept passes %.0f / %.0f, passes lost to an opponent %.0f / %.0f; struck %.0f ms after the choice\n",
                double(total.aChosenSafety[0]) / std::max(1, total.kept), double(total.aStruckSafety[0]) / std::max(1, total.kept),
                double(total.aChosenSafety[1]) / std::max(1, total.lostToOpponent),
                double(total.aStruckSafety[1]) / std::max(1, total.lostToOpponent),
                double(total.strikeDelayMs) / std::max(1, total.aTried[0] + total.aTried[1] + total.aTried[2]));
    int nHeld = 0;
    for (int b = 1; b < kHeldBandCount; ++b)
        nHeld += total.aHeld[b];
    std::printf("time on the ball before a pass, a side: first time %.0f; held under 0.5 s %.0f, 0.5-1 s %.0f, 1-2 s %.0f, "
                "2-4 s %.0f, 4-6 s %.0f, longer %.0f; held %.2f s on average\n",
                total.aHeld[0] / sides, total.aHeld[1] / sides, total.aHeld[2] / sides, total.aHeld[3] / sides,
                total.aHeld[4] / sides, total.aHeld[5] / sides, total.aHeld[6] / sides,
                double(total.heldMs) / 1000.0 / std::max(1, nHeld));
    std::printf("a match: %.1f minutes of open play; restarts (seconds each): throw-ins %.1f (%.0f), goal kicks %.1f "
                "(%.0f), corners %.1f (%.0f), free kicks %.1f (%.0f)\n",
                total.openPlaySeconds / 60.0 / matches, total.aRestarts[0] / double(matches),
                total.aRestartSeconds[0] / std::max(1, total.aRestarts[0]), total.aRestarts[1] / double(matches),
                total.aRestartSeconds[1] / std::max(1, total.aRestarts[1]), total.aRestarts[2] / double(matches),
                total.aRestartSeconds[2] / std::max(1, total.aRestarts[2]), total.aRestarts[3] / double(matches),
                total.aRestartSeconds[3] / std::max(1, total.aRestarts[3]));
    std::printf("a match: %.1f tackles (%.1f in a penalty area), %.1f fouls, %.1f booked, %.2f sent off, %.2f penalties, "
                "%.1f offside\n",
                total.tackles / double(matches), total.boxTackles / double(matches), total.fouls / double(matches), total.bookings / double(matches),
                total.sendingsOff / double(matches), total.penalties / double(matches),
                total.offsides / double(matches));
    std::printf("a side's shots: goal %.1f, held by the keeper %.1f, touched by the keeper %.1f, by another opponent "
                "%.1f, by a team-mate %.1f; out over the goal line %.1f, over a touchline %.1f, other %.1f\n",
                total.aShotEnds[0] / sides, total.aShotEnds[1] / sides, total.aShotEnds[2] / sides,
                total.aShotEnds[3] / sides, total.aShotEnds[4] / sides, total.aShotEnds[5] / sides,
                total.aShotEnds[6] / sides, total.aShotEnds[7] / sides);
    for (int b = 0; b < 2; ++b)
        std::printf("a side's shots off %s: then a goal %.2f, a corner %.2f, a goal kick %.2f, a throw-in %.2f, "
                    "the defenders' touch %.2f, the attackers' %.2f\n", b == 0 ? "the keeper" : "another opponent",
                    total.aAfterBlock[b][0] / sides, total.aAfterBlock[b][1] / sides, total.aAfterBlock[b][2] / sides,
                    total.aAfterBlock[b][3] / sides, total.aAfterBlock[b][4] / sides, total.aAfterBlock[b][5] / sides);
    for (int k = 0; k < kKickKinds; ++k) {
        int n = 0;
        std::printf("a side's %s ended by:", kKickKindNames[k]);
        for (int e = 0; e < kKickEndCount; ++e) {
            std::printf(" %s %.1f", kKickEnds[e], total.aKickEnds[k][e] / sides);
            n += total.aKickEnds[k][e];
        }
        const double fScale = 100.0 * std::max(1, n);
        std::printf("; from the goal line: struck %.1f m, aimed %.1f m, the opponents' line %.1f m, ended %.1f m\n",
                    double(total.aStartDepth[k]) / fScale, double(total.aAimDepth[k]) / fScale,
                    double(total.aLineDepth[k]) / fScale, double(total.aEndDepth[k]) / fScale);
    }
    const char* const aCauses[8] = {"none", "deflection", "pass", "cross", "shot", "long ball", "clearance", "controlled"};
    const char* const aKinds[3] = {"throw-ins", "goal kicks", "corners"};
    for (int r = 0; r < 3; ++r) {
        std::printf("a match's %s by the ball's last cause:", aKinds[r]);
        for (int k = 0; k < 8; ++k)
            std::printf(" %s %.1f", aCauses[k], total.aOutBy[r][k] / double(matches));
        std::printf("\n");
    }
    // The counts of a match hang on how long the ball is in play: these
    // compare the play itself with other football whatever its stoppages.
    const double fOpenMinutes = std::max(1.0, total.openPlaySeconds / 60.0);
    std::printf("a minute of open play: a side %.2f passes, %.3f shots; %.3f goals\n",
                total.passes / 2.0 / fOpenMinutes, total.shots / 2.0 / fOpenMinutes, goals / fOpenMinutes);
    return bAllPlayed ? 0 : 1;
}
