#include "MatchFixture.h"
#include "match/actors/CMatchPerson.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using BallTest = MatchFixture;

TEST_F(BallTest, ABallAtRestStaysAtRest)
{
    m_pBall->SetPosition(2500, 1000, 0, true);
    RunBallTicks(50);
    EXPECT_EQ(m_pBall->GetPosition(), CVector(2500, 1000, 0));
    EXPECT_EQ(m_pBall->GetVelocity(), CVector());
}

TEST_F(BallTest, ARollingBallSlowsByFrictionAndStops)
{
    m_pBall->SetPosition(1000, 3000, 0, true);
    m_pBall->SetVelocity({1000, 0, 0});
    RunBallTicks(1);
    // dv = -400 * 70 / 1000 = -28; moved (1000 * 70 - 28 * 35) / 1000 = 69.
    EXPECT_EQ(m_pBall->GetPosition(), CVector(1069, 3000, 0));
    EXPECT_EQ(m_pBall->GetVelocity(), CVector(972, 0, 0));
    RunBallTicks(60);
    // v^2 / 2a = 1000000 / 800 = 1250 cm, a little less as the drag truncates.
    EXPECT_EQ(m_pBall->GetVelocity(), CVector());
    EXPECT_NEAR(m_pBall->GetPosition().x - 1000, 1250, 30);
    const CVector rest = m_pBall->GetPosition();
    RunBallTicks(20);
    EXPECT_EQ(m_pBall->GetPosition(), rest);
}

TEST_F(BallTest, ADroppedBallBouncesLowerEachTimeThenRests)
{
    m_pBall->SetPosition(3000, 3000, 200, true);
    std::vector<int32_t> bounces, peaks;
    int32_t nHighest = 0;
    for (int i = 0; i < 100; ++i) {
        const int32_t vzBefore = m_pBall->GetVelocity().z;
        RunBallTicks(1);
        const CVector p = m_pBall->GetPosition(), v = m_pBall->GetVelocity();
        if (vzBefore < 0 && v.z >= 0 && p.z == 0) {
            if (!bounces.empty())
                peaks.push_back(nHighest);  // the height reached after the previous bounce
            if (v.z > 0)
                bounces.push_back(v.z);
            nHighest = 0;
        }
        nHighest = std::max(nHighest, p.z);
    }
    // Worked tick by tick: from rest the first tick gains -68 (981 * 0.07),
    // then air drag leaves -61 a tick falling (-881) and -75 rising (-1081);
    // a tick starting on the ground has only its 400 friction (-27 or -28).
    // The bounce takes the speed at the end of its tick: -617 leaves at
    // 0.6 * 617 = 370; back down at -398: 238; at -259: 155; at -205: 123;
    // at -176 it would leave at 105, below 120, so it stays down.
    EXPECT_EQ(bounces, (std::vector<int32_t>{370, 238, 155, 123}));
    ASSERT_EQ(peaks.size(), 4u);
    for (size_t i = 1; i < peaks.size(); ++i)
        EXPECT_LT(peaks[i], peaks[i - 1]);
    EXPECT_LT(peaks[0], 100);  // well below half the drop
    EXPECT_EQ(m_pBall->GetPosition().z, 0);
    EXPECT_EQ(m_pBall->GetVelocity(), CVector());
}

TEST_F(BallTest, GroundBounceKeepsTheFactorUpAndEightyPercentAlong)
{
    struct Case {
        int32_t z, vx, vz;           // at the start of the tick
        int32_t vxAfter, vzAfter;    // worked below
    } cases[] = {
        // Air drag 100 along (0, 0, -439): acceleration -882, dv -61: lands at -500.
        {20, 0, -439, 0, 300},
        // Lands at -150: 0.6 gives 90, below 120.
        {5, 0, -89, 0, 0},
        // Drag along (1000, 0, -439), speed 1092: (-91, 0, -941); lands at
        // (994, 0, -504): 994 * 0.8 = 795, 504 * 0.6 = 302.
        {20, 1000, -439, 795, 302},
    };
    for (const Case& c : cases) {
        m_pBall->SetPosition(5000, 3000, c.z, true);
        m_pBall->SetVelocity({c.vx, 0, c.vz});
        RunBallTicks(1);
        EXPECT_EQ(m_pBall->GetVelocity(), CVector(c.vxAfter, 0, c.vzAfter)) << c.vz;
        EXPECT_EQ(m_pBall->GetPosition().z, 0) << c.vz;
        EXPECT_TRUE(m_pBall->IsDeflected()) << c.vz;
    }
}

TEST_F(BallTest, ABallRollingIntoAPostComesBack)
{
    // The post at x -16..0, y 3318..3334; the ball's edge meets its face at
    // x 13 after 27 cm of the tick, moving at -972: back at 0.8, 777.
    m_pBall->SetPosition(40, 3326, 0, true);
    m_pBall->SetVelocity({-1000, 0, 0});
    RunBallTicks(1);
    EXPECT_EQ(m_pBall->GetPosition(), CVector(13, 3326, 0));
    EXPECT_EQ(m_pBall->GetVelocity(), CVector(777, 0, 0));
}

TEST_F(BallTest, AShotIntoTheNetHitsTheBackAndStaysIn)
{
    m_pBall->SetPosition(30, 3750, 0, true);
    m_pBall->SetVelocity({-2500, 0, 0});
    CVector before;
    int nTicks = 0;
    while (m_pBall->GetVelocity().x < 0 && nTicks < 20) {
        before = m_pBall->GetVelocity();
        RunBallTicks(1);
        ++nTicks;
    }
    // The back of the net at x -200 stops the ball's edge at -187 and
    // returns a tenth of its speed.
    EXPECT_EQ(m_pBall->GetPosition().x, -187);
    EXPECT_GT(m_pBall->GetVelocity().x, 0);
    EXPECT_LE(m_pBall->GetVelocity().x, -before.x / 10);
    RunBallTicks(40);
    EXPECT_EQ(m_pBall->GetVelocity(), CVector());
    EXPECT_GT(m_pBall->GetPosition().x, -200);
    EXPECT_LT(m_pBall->GetPosition().x, 0);
}

TEST_F(BallTest, PlayToArrivesExactlyOnTime)
{
    m_pBall->SetPosition(5000, 3750, 0, true);
    m_pBall->PlayTo({6000, 4100, 0}, 1.0f, nullptr);
    EXPECT_TRUE(m_pBall->IsPlayTo());
    m_Engine.UpdateAt(833);  // 999 ms of engine time: not yet there
    EXPECT_NE(m_pBall->GetPosition(), CVector(6000, 4100, 0));
    m_Engine.UpdateAt(900);
    EXPECT_EQ(m_pBall->GetPosition(), CVector(6000, 4100, 0));
    EXPECT_EQ(m_pBall->GetVelocity(), CVector());
}

TEST_F(BallTest, PredictionsOfExitLandingAndHeight)
{
    m_pBall->SetPosition(9000, 3750, 0, true);
    m_pBall->SetVelocity({1000, 0, 0});
    m_pBall->UpdatePrediction();
    EXPECT_FLOAT_EQ(m_pBall->GetExitTime(), 0.98f);
    EXPECT_EQ(m_pBall->GetExitPoint(), CVector(9980, 3750, 0));
    EXPECT_EQ(m_pBall->PredictPosition(2.0f, true), CVector(9980, 3750, 0));
    EXPECT_EQ(m_pBall->PredictPosition(0.5f, true), CVector(9500, 3750, 0));
    EXPECT_EQ(m_pBall->GetMissDistance(), 0);  // on target

    m_pBall->SetPosition(5000, 3750, 200, true);
    m_pBall->SetVelocity({});
    m_pBall->UpdatePrediction();
    EXPECT_NEAR(m_pBall->GetLandingTime(), std::sqrt(400.0 / 981.0), 1e-4);
    EXPECT_FALSE(m_pBall->IsHighBall());
    EXPECT_TRUE(std::isnan(m_pBall->GetCrossing(false).fUpTime));  // never reaches 220 cm

    m_pBall->SetPosition(5000, 3750, 0, true);
    m_pBall->SetVelocity({0, 0, 1000});
    m_pBall->UpdatePrediction();
    EXPECT_EQ(m_pBall->GetPeakHeight(), 509);  // 1000^2 / 1962
    EXPECT_TRUE(m_pBall->IsHighBall());
    // Reachable below 220 cm from its way down at (1000 + 754) / 981 s.
    EXPECT_NEAR(m_pBall->GetReachWindow(false).fStartTime, 1.788f, 0.002f);
    EXPECT_NEAR(m_pBall->GetReachWindow(false).fEndTime, 2.039f, 0.002f);
}

TEST_F(BallTest, DeflectionsStayWithinTheirArc)
{
    m_pBall->SetPosition(5000, 3750, 0, true);
    for (int i = 0; i < 300; ++i) {
        m_pBall->SetVelocity({1000, 0, 0});
        m_pBall->UpdatePrediction();
        m_pBall->Deflect(nullptr);
        const CVector v = m_pBall->GetVelocity();
        EXPECT_NEAR(HorizontalLength(v), 500, 2);
        double a = std::atan2(double(v.x), double(v.y));
        if (a < 0)
            a += 2 * 3.14159265358979323846;
        EXPECT_LE(a, 5.995);
    }
}

TEST_F(BallTest, PossessionStopsTheBallAndEndsAPlayTo)
{
    CMatchPerson receiver(m_Engine, PERSONTYPE_FOOTBALLER), taker(m_Engine, PERSONTYPE_FOOTBALLER);
    m_pBall->SetVelocity({800, 0, 0});
    m_pBall->PlayTo({6000, 3750, 0}, 1.0f, &receiver);
    receiver.SetBallControl(2);
    m_pBall->SetPossessor(&taker);
    EXPECT_EQ(m_pBall->GetHolder(), &taker);
    EXPECT_TRUE(taker.HasBall());
    EXPECT_EQ(receiver.GetBallReleaseState(), 0);  // the intended receiver lets go
    EXPECT_FALSE(m_pBall->IsPlayTo());
    EXPECT_EQ(m_pBall->GetVelocity(), CVector());
    EXPECT_EQ(m_pBall->GetLastToucher(), &taker);
    const CVector held = m_pBall->GetPosition();
    RunBallTicks(5);
    EXPECT_EQ(m_pBall->GetPosition(), held);  // the holder moves it
    m_pBall->SetPossessor(nullptr);
    EXPECT_FALSE(taker.HasBall());
    EXPECT_TRUE(m_pBall->IsLoose());
}

TEST_F(BallTest, ReplayFollowsTheRecordedTrajectory)
{
    m_pBall->SetPosition(1000, 1000, 0, true);
    m_pBall->SetVelocity({0, 0, 600});
    m_pBall->RecordTrajectory(0, nullptr);
    for (int i = 0; i < 40; ++i)
        m_Engine.UpdateAt(uint32_t(i * 59));
    const CVector live = m_pBall->GetPosition();
    m_pBall->SeekReplay(70);
    EXPECT_EQ(m_pBall->GetPosition().x, 1000);
    EXPECT_GT(m_pBall->GetPosition().z, 0);
    EXPECT_LT(m_pBall->GetPosition().z, 60);
    m_pBall->EndReplay();
    EXPECT_EQ(m_pBall->GetPosition().x, live.x);
}

TEST(BallBounceFactorTest, WeatherCategories)
{
    const float expected[] = {0.6f, 0.5f, 0.4f, 0.7f, 0.7f, 0.6f, 0.6f};
    for (uint8_t i = 0; i < 7; ++i)
        EXPECT_FLOAT_EQ(CMatchBall::GetBounceFactor(i), expected[i]) << int(i);
}

}  // namespace
