// Whole matches between two clubs of the starting world in which every
// footballer decides for himself in open play: the ball is passed and shot,
// both sides have it, and the match runs to full time.
#include "RestartsFixture.h"

#include "platform/Random.h"

#include <cstdio>

namespace {

class OpenPlayFootballTest : public RestartsFixture {
protected:
    // What walking, tackling and the kick animation will do: everyone on
    // the pitch walks to where his decision sends him (those seeking space
    // keep near their place) and, once there, turns the way he means to
    // face; the ball stays at its holder's feet, a
    // challenger goes in when near enough, and the holder strikes the ball
    // once the kick he chose may go.
    void OpenPlayTick()
    {
        m_pBall->Update(MATCH_TICK_MS, m_Engine.GetEngineClock() + MATCH_TICK_MS);
        if (m_Engine.GetMatchEvent() != MATCHEVENT_NONE || m_pReferee->IsCausePending()) {
            StandIn();
        } else {
            for (CMatchClub* pClub : {m_pHome, m_pAway})
                for (int i = 0; i < pClub->GetOnPitchCount(); ++i)
                    if (CMatchPlayer* p = pClub->GetSlot(i)) {
                        Walk(*p);
                        Challenge(*p);
                    }
            Strike();
        }
        m_Engine.PostTick();
    }

    void Walk(CMatchPlayer& p)
    {
        if (p.GetAction() == ACTION_HAS_KICKED && p.GetBallDistance() > 300)
            p.SetAction(ACTION_MOVING);
        if (p.GetAction() == ACTION_HAS_TACKLED || p.GetAction() == ACTION_PARRYING)
            p.SetAction(ACTION_MOVING);
        const uint8_t d = p.GetDecision();
        const bool bHolder = m_pBall->GetHolder() == &p;
        const bool bSpace = !bHolder && (d == DECISION_POSITION_SPACE || d == DECISION_POSITION_CROSS ||
                                         d == DECISION_POSITION_SHOT);
        const CVector to = bSpace ? p.GetBasePosition() : p.GetTarget();
        const CVector& at = p.GetPosition();
        const int32_t nStep = bHolder ? 35 : 45;
        const int32_t dist = IntegerRoot(at.SquaredDistance2D(to));
        if (dist > 0) {
            p.SetFacing(float(at.GetAngleTo(to)));
            const CVector next = dist <= nStep ? CVector(to.x, to.y, 0)
                                               : CVector(at.x + int32_t(int64_t(to.x - at.x) * nStep / dist),
                                                         at.y + int32_t(int64_t(to.y - at.y) * nStep / dist), 0);
            p.SetPosition(next);
        } else {
            p.SetFacing(p.GetFacingTargetAngle());  // turning on the spot
        }
        if (bHolder && !m_pBall->IsHeldInHands())
            m_pBall->SetPosition(p.GetPosition().x, p.GetPosition().y, 0, false);
    }

    // A challenger close to the man on the ball goes in now and then, when
    // his roll and his angle let him: the lunge carries him to his man and
    // the tackle resolves there (one that does not is over with the lunge).
    void Challenge(CMatchPlayer& p)
    {
        CMatchPlayer* pMan = p.GetDecisionPartner();
        if (p.GetDecision() != DECISION_TACKLE || !pMan || m_pBall->GetHolder() != pMan ||
            p.GetPosition().SquaredDistance2D(pMan->GetPosition()) > 300 * 300 || plat::rand() % 10 != 0)
            return;
        bool bGoesIn = false;
        p.RollTackle(*pMan, &bGoesIn);
        if (!bGoesIn || !p.CanTackle())
            return;
        p.SetPosition(pMan->GetPosition());
        p.SetAction(ACTION_TACKLING);
        p.UpdateWhileBusy();
        m_nTackles += p.GetAction() != ACTION_TACKLING;
    }

    void Strike()
    {
        CMatchPlayer* p = CMatchPlayer::AsFootballer(m_pBall->GetHolder());
        if (!p) {
            m_pLastHolder = nullptr;
            return;
        }
        if (p != m_pLastHolder) {
            m_pLastHolder = p;
            m_dwHeldSince = m_Engine.GetMatchTime();
            ++m_anPossessions[p->GetClub() == m_pHome ? 0 : 1];
        }
        const uint8_t d = p->GetDecision();
        if (!IsKick(d) || !p->IsKickAllowed())
            return;
        ++m_anKicks[d];
        p->KickBall();
        m_pLastHolder = nullptr;
    }

    int m_nTackles = 0;
    CMatchPlayer* m_pLastHolder = nullptr;
    uint32_t m_dwHeldSince = 0;
    int m_anPossessions[2] = {};
    int m_anKicks[32] = {};
};

TEST_F(OpenPlayFootballTest, FootballersPassShootAndScoreOverWholeMatches)
{
    int nGoals = 0;
    for (uint32_t dwSeed : {5u, 23u, 41u}) {
        ASSERT_TRUE(Start(0, dwSeed));
        m_pLastHolder = nullptr;
        std::fill(std::begin(m_anPossessions), std::end(m_anPossessions), 0);
        std::fill(std::begin(m_anKicks), std::end(m_anKicks), 0);
        m_nTackles = 0;
        int nTick = 0;
        for (; nTick < 250000 && m_Engine.GetMatchEvent() != MATCHEVENT_FULLTIME; ++nTick)
            OpenPlayTick();
        ASSERT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_FULLTIME)
            << "seed " << dwSeed << " stalled at match time " << m_Engine.GetMatchTime() << ", event "
            << int(m_Engine.GetMatchEvent());
        uint8_t byHome = 0, byAway = 0;
        m_Engine.GetScore(byHome, byAway);
        nGoals += byHome + byAway;
        std::printf("seed %u: tackles %d, passes %d, crosses %d, shots %d, long balls %d, clearances %d, possessions %d/%d, "
                    "score %d-%d\n",
                    dwSeed, m_nTackles, m_anKicks[DECISION_PASS], m_anKicks[DECISION_CROSS], m_anKicks[DECISION_SHOOT],
                    m_anKicks[DECISION_LONG_BALL], m_anKicks[DECISION_CLEAR], m_anPossessions[0], m_anPossessions[1],
                    byHome, byAway);
        EXPECT_GT(m_anKicks[DECISION_PASS], 100) << "seed " << dwSeed;
        EXPECT_GT(m_anKicks[DECISION_SHOOT], 0) << "seed " << dwSeed;
        EXPECT_GT(m_anPossessions[0], 20) << "seed " << dwSeed;
        EXPECT_GT(m_anPossessions[1], 20) << "seed " << dwSeed;
        uint8_t abyShots[2], abyFouls[2], abyBookings[2];
        m_Engine.GetShots(abyShots[0], abyShots[1]);
        m_Engine.GetFouls(abyFouls[0], abyFouls[1]);
        m_Engine.GetBookings(abyBookings[0], abyBookings[1]);
        std::printf("  possession %d%%, shots %d/%d, fouls %d/%d, bookings %d/%d\n", m_Engine.GetPossessionPercent(),
                    abyShots[0], abyShots[1], abyFouls[0], abyFouls[1], abyBookings[0], abyBookings[1]);
        m_Engine.EndGame();
    }
    EXPECT_GT(nGoals, 0) << "no goal in three matches";
}

}  // namespace
