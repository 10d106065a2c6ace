// A footballer meeting a moving ball through his animations: a high ball
// headed on in the direction the situation calls for and never left hanging
// at its play-to point, a rolling ball controlled at his feet, the edges of
// the pitch he keeps away from, and whole matches in which players head,
// play first time and control the ball on the move.
#include "FootballerFixture.h"
#include "AnimatedMatchFixture.h"
#include "RestartsFixture.h"

#include "platform/Surface.h"
#include "render3d/C3DEngine.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <set>

namespace {

class TakeBallTest : public FootballerFixture {
protected:
    // The ball on its own way, the player in his animations, tick by tick
    // until the condition holds; false when it never did. The ball's clock
    // runs on from one call to the next.
    template <typename DONE>
    bool Play(CMatchPlayer& p, int nTicks, DONE done)
    {
        m_dwClock = std::max(m_dwClock, m_Engine.GetEngineClock());
        for (int i = 0; i < nTicks; ++i) {
            if (done())
                return true;
            m_dwClock += MATCH_TICK_MS;
            m_pBall->Update(MATCH_TICK_MS, m_dwClock);
            m_pBall->UpdatePrediction();
            p.UpdateAnimation(MATCH_TICK_MS);
        }
        return done();
    }
    // The ball loose at a point with a velocity.
    void Loose(const CVector& at, const CVector& velocity)
    {
        m_dwClock = 0;
        m_pBall->SetPossessor(nullptr);
        m_pBall->SetPosition(at.x, at.y, at.z, true);
        m_pBall->SetVelocity(velocity);
        m_pBall->UpdatePrediction();
    }
    void Face(CMatchPlayer& p, const CVector& point)
    {
        p.SetFacing(float(p.GetPosition().GetAngleTo(point)));
        p.SetPosition(p.GetPosition());
    }
    uint32_t m_dwClock = 0;
};

TEST_F(TakeBallTest, AHighBallIsHeadedOnTheWayTheSituationCallsFor)
{
    struct CASE {
        const char* pszName;
        int32_t nForward, y;  // where the header stands
        bool bMate;           // a team-mate to lay it off to, ahead of him to the side
    };
    const CASE cases[] = {
        {"in his own penalty area: away from his goal", 900, 3300, false},
        {"in midfield: laid off to the team-mate nearest the ball", 5000, 3750, true},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.pszName);
        Start(11);
        GiveModels();
        std::vector<PLACE> places = {{true, 5, c.nForward, c.y}};
        if (c.bMate)
            places.push_back({true, 8, c.nForward + 800, c.y + 900});
        Arrange(places);
        CMatchPlayer& p = *Player(true, 5);
        // Lofted in from the attacking side, dropping to head height by him.
        const CVector from = At(c.nForward + 2500, c.y);
        Face(p, from);
        const int32_t vx = m_pHome->AttacksHighEnd() ? -1100 : 1100;
        Loose(CVector(from.x, from.y, 200), CVector(vx, 0, 1100));
        ASSERT_TRUE(m_pBall->IsHighBall());
        bool bStarted = false;
        ASSERT_TRUE(Play(p, 40, [&] {
            if (bStarted)
                return true;
            CVector point;
            float t = 0.0f;
            m_pBall->GetInterceptPoint(&p, false, &point, &t);
            p.SetInterceptPoint(point, t);
            bStarted = p.TryHeader();
            return bStarted;
        })) << "no header found for the ball's way";
        EXPECT_EQ(p.GetAction(), ACTION_PARRYING);
        EXPECT_EQ(p.GetKickKind(), 2) << "met with the head";
        EXPECT_TRUE(m_pBall->IsPlayTo()) << "the ball is his to meet";

        // Where the header should send it, from the point he meets it.
        const CVector meet = p.GetInterceptPoint();
        double fExpected = 0.0;
        if (c.bMate) {
            fExpected = meet.GetAngleTo(Player(true, 8)->GetPosition());
        } else {
            CVector goal;
            m_pHome->GetGoalPosition(goal);
            fExpected = goal.GetAngleTo(meet);
        }
        ASSERT_TRUE(Play(p, 60, [&] { return p.GetAction() == ACTION_HAS_KICKED; })) << "the header never struck";
        EXPECT_EQ(m_pBall->GetLastToucher(), &p);
        const CVector v = m_pBall->GetVelocity();
        ASSERT_GT(HorizontalLength(v), 300);
        EXPECT_NEAR(WrapAngle(std::atan2(double(v.x), double(v.y)) - fExpected), 0.0, 0.02);
        // It flies on rather than going back to where it was played to.
        const CVector at = m_pBall->GetPosition();
        Play(p, 3, [] { return false; });
        EXPECT_GT(IntegerRoot(m_pBall->GetPosition().SquaredDistance2D(at)), 50);
        m_Engine.EndGame();
    }
}

TEST_F(TakeBallTest, ABallRollingToAPlayerIsControlledAtHisFeet)
{
    Start(12);
    GiveModels();
    Arrange({{true, 6, 5000, 3750}});
    CMatchPlayer& p = *Player(true, 6);
    const CVector from = At(6200, 3750);
    Face(p, from);
    Loose(from, CVector(m_pHome->AttacksHighEnd() ? -1300 : 1300, 0, 0));
    ASSERT_FALSE(m_pBall->IsHighBall());
    bool bStarted = false;
    ASSERT_TRUE(Play(p, 30, [&] {
        if (bStarted)
            return true;
        CVector point;
        float t = 0.0f;
        const int32_t nReach = m_pBall->GetInterceptPoint(&p, false, &point, &t);
        p.SetInterceptPoint(point, t);
        // Only what he can do at once: the plain control.
        bStarted = p.TryTakeBall(nReach, true);
        return bStarted;
    })) << "no control found for the ball's way";
    EXPECT_EQ(p.GetAction(), ACTION_CONTROLLING);
    ASSERT_TRUE(Play(p, 60, [&] { return m_pBall->GetHolder() == &p; })) << "the control never took the ball";
    EXPECT_TRUE(p.HasBall());
    EXPECT_EQ(m_pBall->GetVelocity(), CVector());
    EXPECT_FALSE(m_pBall->IsPlayTo());
}

// A goalkeeper whose animation still runs when a shot comes at his goal
// does not wait for its end to decide: each tick of it he looks for a way
// to meet the ball from where he is.
TEST_F(TakeBallTest, AGoalkeeperStillInAnAnimationGoesForAShotAtHisGoal)
{
    Start(12);
    GiveModels();
    Arrange({{false, 9, 2500, 3750}, {true, 0, 250, 3450}});
    CMatchPlayer& keeper = *Player(true, 0);
    CMatchPlayer& striker = *Player(false, 9);
    Face(keeper, At(2500, 3750));
    // The striker has the ball: the keeper takes up his place.
    keeper.Update();
    keeper.UpdateAnimation(MATCH_TICK_MS);
    ASSERT_GT(keeper.GetModel()->GetAnimationTimeLeft(), 4u * MATCH_TICK_MS) << "no animation to be busy with";
    const uint8_t byBefore = keeper.GetAction();
    // A slow shot from the edge of his area, straight at him.
    const CVector from = At(1600, 3650);
    const CVector& at = keeper.GetPosition();
    const int32_t d = IntegerRoot(from.SquaredDistance2D(at));
    Loose(from, CVector((at.x - from.x) * 1000 / d, (at.y - from.y) * 1000 / d, 0));
    m_pBall->StartBallInfo(BALLCAUSE_SHOT, &striker);
    bool bBusyAll = true;
    const bool bWent = Play(keeper, 40, [&] {
        if (keeper.GetAction() != byBefore)
            return true;
        bBusyAll = bBusyAll && keeper.GetModel()->GetAnimationTimeLeft() > MATCH_TICK_MS;
        if (bBusyAll)
            keeper.UpdateWhileBusy();
        return keeper.GetAction() != byBefore;
    });
    ASSERT_TRUE(bWent) << "he waited for his animation's end";
    const uint8_t a = keeper.GetAction();
    EXPECT_TRUE(a == ACTION_CATCHING || a == ACTION_PARRYING || a == ACTION_CONTROLLING || a == ACTION_DIVING)
        << int(a);
    EXPECT_TRUE(keeper.IsRequestPending()) << "the save starts when the animation ends";
}

// Standing in his pose he breaks off for a shot that arrives before the
// pose would end, and the save goes in with the next frame; in the middle
// of a kick he does not.
TEST_F(TakeBallTest, AGoalkeeperBreaksOffHisPoseForASave)
{
    struct CASE {
        const char* pszName;
        uint8_t byAction;
        bool bSaves;
    };
    const CASE cases[] = {
        {"standing in his pose", ACTION_NOTHING, true},
        {"kicking", ACTION_KICKING, false},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.pszName);
        Start(12);
        GiveModels();
        Arrange({{false, 9, 2500, 3750}, {true, 0, 250, 3750}});
        CMatchPlayer& keeper = *Player(true, 0);
        CMatchPlayer& striker = *Player(false, 9);
        Face(keeper, At(2500, 3750));
        keeper.SetAction(c.byAction);
        // A hard low shot from five metres, straight at him.
        const CVector from = At(750, 3750);
        const CVector& at = keeper.GetPosition();
        Loose(from, CVector(at.x > from.x ? 1500 : -1500, 0, 0));
        m_pBall->StartBallInfo(BALLCAUSE_SHOT, &striker);
        CVector point;
        float t = 0.0f;
        const int32_t nReach = m_pBall->GetInterceptPoint(&keeper, true, &point, &t);
        keeper.SetInterceptPoint(point, t);
        ASSERT_GT(keeper.GetModel()->GetAnimationTimeLeft(), uint32_t(t * 1000.0f) + MATCH_TICK_MS)
            << "his pose ends before the ball arrives";
        EXPECT_EQ(keeper.TrySavingBall(nReach), c.bSaves);
        if (c.bSaves) {
            EXPECT_TRUE(keeper.IsRequestPending());
            keeper.UpdateAnimation(MATCH_TICK_MS);
            EXPECT_FALSE(keeper.IsRequestPending()) << "the save waited for the end of his pose";
        }
        m_Engine.EndGame();
    }
}

TEST_F(TakeBallTest, ABallRollingAwayIsNotControlled)
{
    Start(12);
    GiveModels();
    Arrange({{true, 6, 5000, 3750}});
    CMatchPlayer& p = *Player(true, 6);
    Loose(At(5050, 3750), CVector(m_pHome->AttacksHighEnd() ? 900 : -900, 0, 0));
    p.SetInterceptPoint(m_pBall->GetPosition(), 0.1f);
    EXPECT_FALSE(p.TryControlBall());
    EXPECT_FALSE(p.TryBodyControl());
    EXPECT_FALSE(p.TryFirstTimeKick());
    EXPECT_FALSE(p.IsRequestPending());
}

TEST_F(TakeBallTest, PlayersKeepAwayFromTheEdges)
{
    Start(13);
    Arrange({{true, 6, 5000, 3750}, {true, 7, 5000, 2000}});
    CMatchPlayer& holder = *Player(true, 6);
    CMatchPlayer& other = *Player(true, 7);
    ASSERT_TRUE(holder.HasBall());
    ASSERT_FALSE(other.HasBall());
    struct CASE {
        const char* pszName;
        bool bWithBall;
        CVector stand, point;
        bool bFree;
    };
    const CASE cases[] = {
        {"with the ball: a point well inside", true, {5000, 6000, 0}, {5000, 7000, 0}, true},
        {"with the ball: a point within 400 of the touch line", true, {5000, 6000, 0}, {5000, 7200, 0}, false},
        {"with the ball: within 400 of the goal line", true, {9000, 3750, 0}, {9700, 3750, 0}, false},
        {"with the ball, already near the line: along it", true, {5000, 7200, 0}, {5400, 7300, 0}, true},
        {"without the ball: a point on the line", false, {5000, 7000, 0}, {5000, 7500, 0}, true},
        {"without the ball: a point off the pitch", false, {5000, 7000, 0}, {5000, 7600, 0}, false},
        {"without the ball, off the pitch himself: further off", false, {5000, 7700, 0}, {5000, 7900, 0}, true},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.pszName);
        CMatchPlayer& p = c.bWithBall ? holder : other;
        p.SetPosition(c.stand);
        EXPECT_EQ(p.IsPositionFree(c.point, false), c.bFree);
    }
    // At a stoppage only the way matters.
    holder.SetPosition(CVector(5000, 6000, 0));
    m_Engine.SetMatchEvent(MATCHEVENT_THROWIN);
    EXPECT_TRUE(holder.IsPositionFree(CVector(5000, 7200, 0), false));
    // A move that must stay in his own penalty area, in open play.
    m_Engine.SetMatchEvent(MATCHEVENT_NONE);
    CMatchPlayer& keeper = *Player(true, 0);
    keeper.SetPosition(At(500, 3750));
    EXPECT_TRUE(keeper.IsPositionFree(At(900, 3750), true));
    EXPECT_FALSE(keeper.IsPositionFree(At(2500, 3750), true));
    EXPECT_TRUE(keeper.IsPositionFree(At(2500, 3750), false));
}

TEST_F(TakeBallTest, AFacingOverrideTurnsHimInOpenPlayOnly)
{
    Start(14);
    Arrange({{true, 6, 5000, 3750}, {true, 7, 5000, 2000}});
    CMatchPlayer& p = *Player(true, 7);
    float fAngle = 0.0f;
    EXPECT_FALSE(p.GetFacingOverride(&fAngle));
    const CVector look = p.GetPosition() + CVector(0, -1000, 0);
    p.SetFacingOverride(look);
    ASSERT_TRUE(p.GetFacingOverride(&fAngle));
    EXPECT_NEAR(WrapAngle(double(fAngle) - kPi), 0.0, 1e-4);
    p.SetFacingTarget();
    EXPECT_NEAR(WrapAngle(double(p.GetFacingTargetAngle()) - kPi), 0.0, 1e-4);
    m_Engine.SetMatchEvent(MATCHEVENT_THROWIN);
    EXPECT_FALSE(p.GetFacingOverride(&fAngle));
    m_Engine.SetMatchEvent(MATCHEVENT_NONE);
    p.SetPossession(true);  // a change of possession ends it
    EXPECT_FALSE(p.GetFacingOverride(&fAngle));
}

// Whole matches with every footballer animated: how often players meet a
// moving ball each way, counted as each contact starts.
class TakeBallMatchTest : public AnimatedMatchFixture {
protected:
    struct COUNTS {
        int nHeaders = 0, nHeadedKicks = 0, nFirstTime = 0, nStruck = 0, nControls = 0, nControlled = 0, nTicks = 0;
    };
    COUNTS PlayToFullTime()
    {
        COUNTS counts;
        std::map<const CMatchPlayer*, uint8_t> actions;
        std::set<const CMatchPlayer*> firstTime;  // whose first-time kick is under way
        std::set<const CMatchPlayer*> controlling;  // whose control is under way
        for (; counts.nTicks < 100000 && m_Engine.GetMatchEvent() != MATCHEVENT_FULLTIME; ++counts.nTicks) {
            m_Engine.Tick(MATCH_TICK_MS, m_Engine.GetEngineClock() + MATCH_TICK_MS);
            m_Engine.PostTick();
            for (CMatchClub* pClub : {m_pHome, m_pAway})
                for (int i = 0; i < pClub->GetOnPitchCount(); ++i) {
                    const CMatchPlayer* p = pClub->GetSlot(i);
                    const uint8_t byAction = p->GetAction();
                    uint8_t& byBefore = actions[p];
                    if (byAction != byBefore && firstTime.erase(p))
                        counts.nStruck += byAction == ACTION_HAS_KICKED && m_pBall->GetLastKicker() == p;
                    if (controlling.count(p) && (p->HasBall() || byAction != ACTION_CONTROLLING))
                        counts.nControlled += p->HasBall(), controlling.erase(p);
                    // A contact that starts without the ball at his feet.
                    if (byAction != byBefore && !p->HasBall() && p->GetSquadPosition() != 0) {
                        if (byAction == ACTION_KICKING)
                            ++counts.nFirstTime, counts.nHeadedKicks += p->GetKickKind() == 2, firstTime.insert(p);
                        else if (byAction == ACTION_PARRYING)
                            ++counts.nHeaders;
                        else if (byAction == ACTION_CONTROLLING)
                            ++counts.nControls, controlling.insert(p);
                    }
                    byBefore = byAction;
                }
        }
        return counts;
    }
};

TEST_F(TakeBallMatchTest, PlayersHeadPlayFirstTimeAndControlTheBallInWholeMatches)
{
    for (uint32_t dwSeed : {23u, 5u, 41u}) {
        SCOPED_TRACE(dwSeed);
        ASSERT_TRUE(Start(0, dwSeed));
        const COUNTS counts = PlayToFullTime();
        ASSERT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_FULLTIME)
            << "stalled at match time " << m_Engine.GetMatchTime() << ", period " << int(m_Engine.GetMatchPeriod());
        uint8_t byHome = 0, byAway = 0, byHomeShots = 0, byAwayShots = 0;
        m_Engine.GetScore(byHome, byAway);
        m_Engine.GetShots(byHomeShots, byAwayShots);
        std::printf("seed %u: headers %d, first-time kicks %d (%d headed, %d struck), controls %d (%d with the ball "
                    "taken), shots %d/%d, score %d-%d\n",
                    dwSeed, counts.nHeaders, counts.nFirstTime, counts.nHeadedKicks, counts.nStruck, counts.nControls,
                    counts.nControlled, byHomeShots, byAwayShots, byHome, byAway);
        EXPECT_GT(counts.nHeaders + counts.nHeadedKicks, 0);
        EXPECT_GT(counts.nStruck, 0) << "no first-time kick reached the ball";
        EXPECT_GT(counts.nControlled, 0) << "no control took the ball";
        m_Engine.EndGame();
    }
}

}  // namespace
