#include "MatchFixture.h"
#include "match/CMatchBoundingZone.h"
#include "match/actors/CMatchPerson.h"

namespace {

CMatchBoundingZone MakeDugout()
{
    CMatchBoundingZone zone;
    zone.Create({3150, -390, 0}, {350, 110, 200}, 0.2f, 159, 10);
    return zone;
}

TEST(BoundingZoneTest, DugoutIsEnteredThroughItsPitchSide)
{
    const CMatchBoundingZone dugout = MakeDugout();
    ASSERT_TRUE(dugout.HasEntrance());
    EXPECT_EQ(dugout.GetEntrance(), CVector(3150, -280, 0));
    // From the side, through a wall: to the entrance while the way there is free.
    const CVector inside(2850, -480, 0);
    CVector target = inside;
    EXPECT_TRUE(dugout.FindPathAround(nullptr, {2000, 400, 0}, target));
    EXPECT_EQ(target, dugout.GetEntrance());
    // Straight in from the pitch side: nothing in the way.
    target = inside;
    EXPECT_FALSE(dugout.FindPathAround(nullptr, {2850, 200, 0}, target));
    EXPECT_EQ(target, inside);
    // From behind, the walk goes round the corners until the way in is open.
    CVector from(3150, -700, 0);
    int nLegs = 0;
    for (;;) {
        target = CVector(3150, -400, 0);
        if (!dugout.FindPathAround(nullptr, from, target) || nLegs == 5)
            break;
        EXPECT_TRUE(target == dugout.GetCorner(1) || target == dugout.GetCorner(3)) << nLegs;
        from = target;
        ++nLegs;
    }
    EXPECT_EQ(nLegs, 2);
    EXPECT_EQ(from, dugout.GetCorner(3));
    EXPECT_FALSE(dugout.IsSegmentBlocked(from, target - from, 0, nullptr));
}

TEST(BoundingZoneTest, LeavingTheTunnelGoesOutThroughItsMouth)
{
    CMatchBoundingZone tunnel;
    tunnel.Create({5000, -1000, 0}, {100, 500, 450}, 0.8f, 158, 0);
    CVector target(5000, 3000, 0);
    EXPECT_TRUE(tunnel.FindPathAround(nullptr, {4950, -1200, 0}, target));
    EXPECT_EQ(target, CVector(4950, -380, 0));
}

TEST(BoundingZoneTest, AClearWayNeedsNoDetour)
{
    const CMatchBoundingZone dugout = MakeDugout();
    CVector target(6000, 500, 0);
    EXPECT_FALSE(dugout.FindPathAround(nullptr, {1000, 500, 0}, target));
    EXPECT_EQ(target, CVector(6000, 500, 0));
}

TEST(BoundingZoneTest, StandingAtTheBestCornerSendsOnToTheNext)
{
    CMatchBoundingZone box;
    box.Create({0, 0, 0}, {100, 100, 100}, 0.8f, 61, 15);
    const CVector inside(90, -50, 0);
    CVector target = inside;
    EXPECT_TRUE(box.FindPathAround(nullptr, {400, -215, 0}, target));
    EXPECT_EQ(target, box.GetCorner(1));
    target = inside;
    EXPECT_TRUE(box.FindPathAround(nullptr, {215, -215, 0}, target));  // within 150 of corner 1
    EXPECT_EQ(target, box.GetCorner(3));
}

TEST(BoundingZoneTest, ABallFallingOnARoofRollsOffAwayFromTheCentreLine)
{
    const CMatchBoundingZone dugout = MakeDugout();
    const CVector start(3150, -390, 260);
    CVector position(3150, -390, 190), velocity(0, 0, -1000);
    BALLCOLLISIONQUERY query;
    query.pStart = &start;
    query.pPosition = &position;
    query.pVelocity = &velocity;
    query.fImpactTime = 0.07f;
    ASSERT_TRUE(dugout.TestBallCollision(query));
    EXPECT_EQ(position.z, 200);
    EXPECT_EQ(velocity, CVector(-200, 0, 200));  // 1000 * 0.2 turned up; off towards x = 0
    EXPECT_NEAR(query.fImpactTime, 0.06f, 1e-6);
}

TEST(BoundingZoneTest, PointsArePushedOutOfWalls)
{
    CMatchBoundingZone net;
    net.Create({-100, 3750, 0}, {100, 416, 284}, 0.1f, 183, 15);
    CVector point(-180, 3750, 0);  // near the back wall, from inside
    EXPECT_TRUE(net.PushPointOut(point, 50));
    EXPECT_EQ(point, CVector(-150, 3750, 0));
    CVector free(-100, 3750, 0);
    EXPECT_FALSE(net.PushPointOut(free, 50));
    CVector behind(-230, 3750, 0);  // just behind the back wall, from outside
    EXPECT_TRUE(net.PushPointOut(behind, 50));
    EXPECT_EQ(behind, CVector(-250, 3750, 0));
}

using GeometryTest = MatchFixture;

TEST_F(GeometryTest, PathsOnThePitchNeverMeetObstacles)
{
    EXPECT_FALSE(m_Engine.IsPathBlocked({100, 3750, 0}, {9900, 3750, 0}, 100, true));
    // From behind the goal at x = 0 through its net onto the pitch.
    float fHit = 1.0f;
    EXPECT_TRUE(m_Engine.IsPathBlocked({-400, 3750, 0}, {500, 3750, 0}, 25, true, &fHit));
    EXPECT_LT(fHit, 1.0f);
    EXPECT_FALSE(m_Engine.IsPathBlocked({-400, 3750, 0}, {500, 3750, 0}, 25, false));
}

TEST_F(GeometryTest, PersonsOnTheWayBlockAPassButNotThoseBehind)
{
    CMatchPerson passer(m_Engine, PERSONTYPE_FOOTBALLER), other(m_Engine, PERSONTYPE_FOOTBALLER);
    m_Engine.AddHomePerson(&passer);
    m_Engine.AddAwayPerson(&other);
    const CVector a(5000, 3000, 0), b(6000, 3000, 0);
    passer.SetPosition(a);
    struct Case {
        CVector where;
        bool bBlocks;
    } cases[] = {{{5500, 3040, 0}, true},   // 40 from the line: within 15 + 25
                 {{5500, 3041, 0}, false},
                 {{4990, 3000, 0}, false},  // behind the passer
                 {{6030, 3000, 0}, true},   // beyond the end, 30 from it
                 {{6050, 3000, 0}, false}};
    for (const Case& c : cases) {
        other.SetPosition(c.where);
        EXPECT_EQ(m_Engine.IsPathBlockedByPerson(a, b, 15, &passer), c.bBlocks) << c.where.x << "," << c.where.y;
    }
    other.SetActive(false);
    other.SetPosition({5500, 3000, 0});
    EXPECT_FALSE(m_Engine.IsPathBlockedByPerson(a, b, 15, &passer));
}

TEST_F(GeometryTest, CrowdingByDistanceAndAtTheBreaks)
{
    CMatchPerson one(m_Engine, PERSONTYPE_FOOTBALLER), two(m_Engine, PERSONTYPE_FOOTBALLER);
    CMatchPerson referee(m_Engine, PERSONTYPE_REFEREE);
    m_Engine.AddHomePerson(&one);
    m_Engine.AddAwayPerson(&two);
    m_Engine.SetOfficials(&referee, nullptr, nullptr, nullptr);
    one.SetPosition({5000, 3000, 0});
    two.SetPosition({5000, 3060, 0});
    referee.SetPosition({1000, 1000, 0});
    EXPECT_FALSE(m_Engine.IsPersonCrowded(&one));
    referee.SetPosition({5030, 3040, 0});  // 50 away
    EXPECT_TRUE(m_Engine.IsPersonCrowded(&one));
    referee.SetPosition({1000, 1000, 0});
    m_Engine.SetMatchEvent(MATCHEVENT_HALFTIME);
    EXPECT_TRUE(m_Engine.IsPersonCrowded(&one));
}

TEST_F(GeometryTest, SelectedPersonByIndex)
{
    CMatchPerson h0(m_Engine, PERSONTYPE_FOOTBALLER), h1(m_Engine, PERSONTYPE_FOOTBALLER);
    CMatchPerson a0(m_Engine, PERSONTYPE_FOOTBALLER), a1(m_Engine, PERSONTYPE_FOOTBALLER);
    CMatchPerson referee(m_Engine, PERSONTYPE_REFEREE), line0(m_Engine, PERSONTYPE_ASSISTANTREFEREE),
        line1(m_Engine, PERSONTYPE_ASSISTANTREFEREE);
    for (CMatchPerson* p : {&h0, &h1})
        m_Engine.AddHomePerson(p);
    for (CMatchPerson* p : {&a0, &a1})
        m_Engine.AddAwayPerson(p);
    m_Engine.SetOfficials(&referee, &line0, &line1, nullptr);
    const CMatchPerson* expected[] = {&h0, &h1, &a0, &a1, &referee, &line0, &line1, &h0};
    for (int i = 0; i < 8; ++i) {
        m_Engine.SetSelectedPersonIndex(i);
        EXPECT_EQ(m_Engine.GetSelectedPerson(), expected[i]) << i;
    }
    m_pBall->SetPossessor(&a1);  // beyond the officials: the last to touch the ball
    EXPECT_EQ(m_Engine.GetSelectedPerson(), &a1);
    m_pBall->SetPossessor(nullptr);
}

TEST_F(GeometryTest, ABallBeyondTheStandsIsThrownBack)
{
    struct Case {
        CVector where, thrown;
    } cases[] = {{{-700, 3000, 0}, {500, 0, 1000}},
                 {{10700, 3000, 0}, {-500, 0, 1000}},
                 {{5000, 8100, 0}, {0, -500, 1000}},
                 {{3000, -600, 0}, {0, 500, 1000}}};
    for (const Case& c : cases) {
        CVector start = c.where, position = c.where, velocity;
        BALLCOLLISIONQUERY query;
        query.pStart = &start;
        query.pPosition = &position;
        query.pVelocity = &velocity;
        query.fImpactTime = 0.07f;
        EXPECT_TRUE(m_Engine.TestBallCollision(query, 0.07f)) << c.where.x;
        EXPECT_EQ(velocity, c.thrown) << c.where.x;
    }
}

TEST_F(GeometryTest, PointsAreKeptOutOfZonesAndInsideThePlayArea)
{
    CVector inNet(-190, 3750, 0);
    EXPECT_TRUE(m_Engine.IsPointInZone(inNet, 50));
    EXPECT_EQ(inNet, CVector(-150, 3750, 0));
    CVector far(20000, 9000, 0);
    EXPECT_TRUE(m_Engine.IsPointInZone(far, 50));
    EXPECT_EQ(far, CVector(10600, 7950, 0));
    CVector onPitch(5000, 3750, 0);
    EXPECT_FALSE(m_Engine.IsPointInZone(onPitch, 50));
    // A target deep in the tunnel but off its middle goes to the tunnel mouth.
    CVector target(4910, -1000, 0);
    EXPECT_FALSE(m_Engine.FindPathAroundZones(nullptr, {5000, 200, 0}, target));
    EXPECT_EQ(target, CVector(5000, -500, 0));
}

}  // namespace
