// A whole match run headless by its referee with tackles and goalkeeping
// in open play: the engine hands every loose ball to whoever reaches it
// first, challengers go in and their tackles resolve and are judged, and
// the goalkeepers keep their place, come for the ball, gather shots and
// let the ball go again before their six seconds are up.
#include "RestartsFixture.h"

#include "platform/Random.h"

namespace {

class OpenPlayMatchTest : public RestartsFixture {
protected:
    // What walking and the outfield players' open-play decisions will do,
    // once a tick before it: the man on the ball runs at the goal he
    // attacks and shoots from near it; the nearest opponent runs at him and
    // goes into a tackle when his roll and his angle let him; the nearest
    // outfield player of each side runs to a loose ball; the goalkeepers
    // decide for themselves every 350 ms, walk to their targets and kick the
    // ball once their decision is a kick. An animation that ended puts its
    // player back to moving.
    void OpenPlay(int nTick)
    {
        if (m_Engine.GetMatchEvent() != MATCHEVENT_NONE || m_pReferee->IsCausePending())
            return;
        for (CMatchClub* pClub : {m_pHome, m_pAway})
            for (int i = 0; i < pClub->GetOnPitchCount(); ++i)
                if (CMatchPlayer* p = pClub->GetSlot(i);
                    p && (p->GetAction() == ACTION_HAS_TACKLED || p->GetAction() == ACTION_PARRYING))
                    p->SetAction(ACTION_MOVING);
        for (CMatchClub* pClub : {m_pHome, m_pAway})
            Keeper(*pClub->GetSlot(0), nTick);
        CMatchPlayer* pHolder = CMatchPlayer::AsFootballer(m_pBall->GetHolder());
        if (pHolder && pHolder->GetSquadPosition() != 0)
            Carry(*pHolder);
        else if (!pHolder)
            for (CMatchClub* pClub : {m_pHome, m_pAway})
                if (CMatchPlayer* p = NearestOutfield(*pClub, m_pBall->GetPosition()))
                    StepTowards(*p, m_pBall->GetPosition(), 45);
        // Every tackle running closes on its man and resolves on reaching him.
        for (CMatchClub* pClub : {m_pHome, m_pAway})
            for (int i = 1; i < pClub->GetOnPitchCount(); ++i) {
                CMatchPlayer* p = pClub->GetSlot(i);
                if (!p || p->GetAction() != ACTION_TACKLING)
                    continue;
                if (p->GetDecisionPartner())
                    StepTowards(*p, p->GetDecisionPartner()->GetPosition(), 45);
                p->UpdateWhileBusy();
                if (p->GetAction() != ACTION_TACKLING) {
                    ++m_nTackles;
                    m_nTacklesWon += p->GetLastTackle().byResult == 0;
                    m_nFromBehind += p->IsFoulTackle();
                }
            }
    }

    void Keeper(CMatchPlayer& keeper, int nTick)
    {
        const bool bHolds = m_pBall->GetHolder() == &keeper;
        if (bHolds && m_pBall->IsHeldInHands()) {
            m_fLongestHeld = std::max(m_fLongestHeld, m_pBall->GetHeldSeconds());
            if (!m_bHeld)
                ++m_nGathered;
            m_bHeld = true;
        }
        if (nTick % 5 == 0)
            keeper.MakeGoalkeeperDecision();
        if (!bHolds) {
            StepTowards(keeper, keeper.GetTarget(), 40, false);
            return;
        }
        const uint8_t d = keeper.GetDecision();
        const bool bKick = d == DECISION_PASS || d == DECISION_LONG_BALL || d == DECISION_CLEAR ||
                           d == DECISION_SHOOT || d == DECISION_CROSS;
        if (bKick && (!m_pBall->IsHeldInHands() || m_pBall->GetHeldSeconds() >= 1.0f)) {
            m_bHeld = false;
            keeper.KickBall();
            ++m_nKeeperKicks;
        }
    }

    // He runs at the goal he attacks with the ball at his feet and shoots
    // from 1800 out; the nearest opponent comes to challenge him.
    void Carry(CMatchPlayer& holder)
    {
        CVector goal;
        holder.GetClub()->GetOpponent()->GetGoalPosition(goal);
        holder.SetFacing(float(holder.GetPosition().GetAngleTo(goal)));
        if (holder.GetPosition().SquaredDistance2D(goal) < 1800 * 1800) {
            m_pBall->SetPossessor(nullptr);
            m_pBall->StartBallInfo(BALLCAUSE_SHOT, &holder);
            const int32_t nBeyond = goal.x == 0 ? -100 : PITCH_LENGTH + 100;
            m_pBall->PlayTo(CVector(nBeyond, GOAL_CENTRE_Y - 300 + plat::rand() % 600, 40), 1.1f, nullptr);
            ++m_nShots;
            return;
        }
        StepTowards(holder, goal, 30);
        m_pBall->SetPosition(holder.GetPosition().x, holder.GetPosition().y, 0, false);
        CMatchPlayer* pChallenger = NearestOutfield(*holder.GetClub()->GetOpponent(), holder.GetPosition());
        if (!pChallenger || pChallenger->GetAction() == ACTION_TACKLING)
            return;
        StepTowards(*pChallenger, holder.GetPosition(), 45);
        const int32_t d = IntegerRoot(pChallenger->GetPosition().SquaredDistance2D(holder.GetPosition()));
        if (d > 300 || plat::rand() % 10 != 0)
            return;
        bool bGoesIn = false;
        pChallenger->RollTackle(holder, &bGoesIn);
        pChallenger->SetDecisionPartner(&holder);
        pChallenger->SetFoulIntent(plat::rand() % 20 == 0);
        if (bGoesIn && pChallenger->CanTackle())
            pChallenger->SetAction(ACTION_TACKLING);
    }

    static CMatchPlayer* NearestOutfield(const CMatchClub& club, const CVector& point)
    {
        CMatchPlayer* pNearest = nullptr;
        int64_t nBest = 0;
        for (int i = 1; i < club.GetOnPitchCount(); ++i) {
            CMatchPlayer* p = club.GetSlot(i);
            const int64_t d = p ? p->GetPosition().SquaredDistance2D(point) : 0;
            if (p && (!pNearest || d < nBest))
                pNearest = p, nBest = d;
        }
        return pNearest;
    }

    // He turns to where he goes and settles facing that way. A footballer
    // the test walks stops where it put him, so that the fixture's walking
    // does not carry him back to the target of his last restart.
    static void StepTowards(CMatchPlayer& p, const CVector& target, int32_t nStep, bool bHoldThere = true)
    {
        const CVector& at = p.GetPosition();
        const int32_t d = IntegerRoot(at.SquaredDistance2D(target));
        if (d > 0) {
            p.SetFacing(float(at.GetAngleTo(target)));
            p.SetRestFacing(p.GetFacing());
        }
        if (d <= nStep)
            p.SetPosition(CVector(target.x, target.y, 0));
        else
            p.SetPosition(CVector(at.x + int32_t(int64_t(target.x - at.x) * nStep / d),
                                  at.y + int32_t(int64_t(target.y - at.y) * nStep / d), 0));
        if (bHoldThere)
            p.SetTarget(p.GetPosition(), CMatchPerson::kNoFacing);
    }

    int m_nTackles = 0, m_nTacklesWon = 0, m_nFromBehind = 0;
    int m_nShots = 0, m_nGathered = 0, m_nKeeperKicks = 0;
    bool m_bHeld = false;
    float m_fLongestHeld = 0.0f;
};

TEST_F(OpenPlayMatchTest, AMatchWithTacklesAndGoalkeepingRunsToFullTime)
{
    ASSERT_TRUE(Start(0, 23));
    int nTick = 0;
    for (; nTick < 250000 && m_Engine.GetMatchEvent() != MATCHEVENT_FULLTIME; ++nTick) {
        OpenPlay(nTick);
        Tick();
    }
    ASSERT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_FULLTIME)
        << "stalled at match time " << m_Engine.GetMatchTime() << ", period " << int(m_Engine.GetMatchPeriod())
        << ", set up " << m_pReferee->IsSetupComplete() << ", taker " << m_pReferee->GetEventPlayer()
        << ", referee " << m_pReferee->GetPosition().x << "," << m_pReferee->GetPosition().y << " target "
        << m_pReferee->GetTarget().x << "," << m_pReferee->GetTarget().y << ", ball holder " << m_pBall->GetHolder() << ", next decision " << m_pReferee->GetNextDecisionTime()
        << ", clock running " << m_Engine.IsMatchClockRunning() << ", bookings "
        << int(m_pHome->GetBookings() + m_pAway->GetBookings()) << ", on pitch " << m_pHome->GetOnPitchCount() << "/"
        << m_pAway->GetOnPitchCount() << ", held " << m_pReferee->IsHeldForReferee() << ", active "
        << m_pReferee->IsActive();
    EXPECT_GE(m_Engine.GetMatchTime(), 5400000u);

    // Tackles went in, were won and lost, and those from behind were judged.
    EXPECT_GT(m_nTackles, 20);
    EXPECT_GT(m_nTacklesWon, 0);
    EXPECT_LT(m_nTacklesWon, m_nTackles);
    EXPECT_GT(m_nFromBehind, 0);
    EXPECT_GT(m_pHome->GetCounters().byFouls + m_pAway->GetCounters().byFouls, 0) << "no foul was given";

    // The goalkeepers gathered shots and always let the ball go in time.
    EXPECT_GT(m_nShots, 5);
    EXPECT_GT(m_nGathered, 0);
    EXPECT_GE(m_nKeeperKicks, m_nGathered - 1);
    EXPECT_LT(m_fLongestHeld, 6.0f);

    // Each shot and tackle was kept on the player who made it, his club
    // counts the same shots, nobody is credited with more goals than his
    // side scored, and everyone who played is rated at the end.
    int nKeptShots = 0, nKeptTackles = 0;
    for (CMatchClub* pClub : {m_pHome, m_pAway}) {
        int nShots = 0, nOnTarget = 0, nGoals = 0, nPasses = 0;
        for (int i = 0; i < pClub->GetSquadCount(); ++i) {
            const CMatchPlayer* p = pClub->GetSlot(i);
            if (!p)
                continue;
            EXPECT_EQ(int(p->GetShots().size()), p->GetShotCount());
            EXPECT_EQ(int(p->GetTackles().size()), p->GetTackleCount());
            EXPECT_EQ(int(p->GetPasses().size()), p->GetPassCount());
            nShots += p->GetShotCount(), nOnTarget += p->GetShotsOnTarget(), nGoals += p->GetGoals();
            nPasses += p->GetPassCount();
            nKeptTackles += p->GetTackleCount();
        }
        EXPECT_EQ(pClub->GetCounters().byShots, uint8_t(nShots));
        EXPECT_EQ(pClub->GetCounters().byShotsOnTarget, uint8_t(nOnTarget));
        EXPECT_EQ(pClub->GetCounters().wPasses, uint16_t(nPasses));
        EXPECT_LE(nGoals, pClub->GetGoals());
        nKeptShots += nShots;
        pClub->WriteMatchResult(0, nullptr);
        for (int i = 0; i < pClub->GetSquadCount(); ++i)
            if (const CMatchPlayer* p = pClub->GetSlot(i); p && p->TookPart())
                EXPECT_GE(p->GetStoredMatchRating(), 40);
    }
    EXPECT_GE(nKeptShots, m_nShots / 2) << "the shots were not kept on their shooters";
    EXPECT_GE(nKeptTackles, m_nTackles);
}

TEST_F(OpenPlayMatchTest, TheSecondHalfKicksOffAfterTheRefereeWaitedIntoAddedTime)
{
    ASSERT_TRUE(Start(0, 23));
    ASSERT_TRUE(RunUntil(
        [&] { return m_Engine.GetMatchTime() >= 2690000 && m_Engine.GetMatchEvent() == MATCHEVENT_NONE; }, 100000));
    // A decision of his timed past the end of the half, as after a booking
    // in added time; the clock goes back to 45 minutes for the second half.
    m_pReferee->SetDecisionDelay(40.0f);
    EXPECT_TRUE(RunUntil(
        [&] {
            return m_Engine.GetMatchPeriod() == MATCHPERIOD_SECONDHALF && m_Engine.GetMatchEvent() == MATCHEVENT_NONE;
        },
        5000))
        << "stalled at match time " << m_Engine.GetMatchTime();
}

}  // namespace
