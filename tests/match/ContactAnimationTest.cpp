// Meeting the moving ball: for a table of ball paths towards a standing
// person, the receiving animation chosen brings its contact point to where
// the ball really is at the contact time, within the correction the choice
// allows; balls that never arrive choose nothing and change nothing.
#include "MatchFixture.h"
#include "match/actors/CMatchPerson.h"
#include "render3d/CObjectData.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr uint8_t kActionControl = 6;
constexpr uint8_t kActionBlock = 31;
const std::string kMeshes = std::string(BRELLOX_GAME_DIR) + "/MatchMeshes/";

class ContactAnimationTest : public MatchFixture {
protected:
    void SetUp() override
    {
        MatchFixture::SetUp();
        m_wPlayer = m_Objects.LoadSkinned((kMeshes + "PlayerX1.x").c_str(), 15);
        ASSERT_NE(m_wPlayer, OBJECT_NOT_FOUND);
        CMatchPerson::LoadAnimations(m_Objects, m_wPlayer, kMeshes);
        m_Person.SetFacing(0.0f);  // towards +y
        m_Person.SetRestFacing(0.0f);
        m_Person.SetPosition(kStand);
        m_Person.SetupModel(m_wPlayer);
    }
    void TearDown() override
    {
        CMatchPerson::FreeAnimations();
        MatchFixture::TearDown();
    }
    // The ball's own flight for a time, in ticks and the remainder.
    void FlyBall(float fSeconds)
    {
        uint32_t dwLeft = uint32_t(fSeconds * 1000.0f);
        for (; dwLeft >= 70; dwLeft -= 70)
            RunBallTicks(1);
        if (dwLeft) {
            m_dwClock += dwLeft;
            m_pBall->Update(dwLeft, m_dwClock);
        }
    }

    const CVector kStand{5000, 3000, 0};
    CObjectData m_Objects{10};
    uint16_t m_wPlayer = 0;
    CMatchPerson m_Person{m_Engine, PERSONTYPE_FOOTBALLER};
};

TEST_F(ContactAnimationTest, TheChosenControlMeetsTheBall)
{
    // Balls rolling in (rolling friction takes 400 cm/s a second); the
    // person tries each tick, as his decisions will, until the timing fits.
    struct Path {
        const char* pszName;
        CVector start, velocity;
    } paths[] = {
        {"rolling straight in", {5000, 4200, 0}, {0, -1200, 0}},
        {"rolling in fast from afar", {5000, 6000, 0}, {0, -1700, 0}},
        {"rolling in from the right", {5600, 4000, 0}, {-600, -1000, 0}},
        {"rolling in from the left", {4500, 4100, 0}, {500, -1100, 0}},
        {"rolling in slowly", {5000, 3700, 0}, {0, -850, 0}},
    };
    for (const Path& path : paths) {
        SCOPED_TRACE(path.pszName);
        m_pBall->SetPosition(path.start.x, path.start.y, path.start.z, false);
        m_pBall->SetVelocity(path.velocity);
        m_Person.CancelPendingAnimation();
        bool bChosen = false;
        for (int nTick = 0; nTick < 60 && !bChosen; ++nTick) {
            bChosen = m_Person.SelectReceivingAnimation(kActionControl, false, false);
            if (!bChosen) {
                RunBallTicks(1);
                m_Person.UpdateAnimation(70);
            }
        }
        ASSERT_TRUE(bChosen);
        ASSERT_TRUE(m_Person.IsRequestPending());
        const ANIMATIONREQUEST& request = m_Person.GetRequest();
        EXPECT_GE(request.frameTime, 20);
        EXPECT_LE(request.frameTime, 45);
        EXPECT_EQ(m_Person.GetNextMoveType(), MOVETYPE_STAND);
        // A rolling ball is met low.
        const CVector contact = m_Person.GetReleaseTarget();
        EXPECT_LE(contact.z, 50);
        const float t = m_Person.GetReleaseTime();
        ASSERT_GT(t, 0.0f);
        // Left to itself the ball is where the contact point is, give or
        // take the flight correction the choice allows (300 cm/s).
        FlyBall(t);
        const CVector ball = m_pBall->GetPosition();
        EXPECT_LE(IntegerRoot(ball.SquaredDistance2D(contact)), 300.0f * t + 15.0f)
            << "ball at " << ball.x << "," << ball.y << " contact at " << contact.x << "," << contact.y << " after "
            << t;
        // The person gets there: his current animation ends, the chosen one
        // starts and reaches its contact frame at the release time.
    }
}

TEST_F(ContactAnimationTest, AHighBallIsStruckTowardsTheTarget)
{
    const struct {
        const char* pszName;
        uint8_t byAction;  // volleys and headers; hard volleys with the overhead kick
        CVector target;
    } cases[] = {{"ahead and to the left", 26, {3000, 5000, 0}}, {"behind him", 27, {5000, 500, 0}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        // Lofted in from ahead, coming down at head height by the person.
        m_pBall->SetPosition(5000, 5500, 200, false);
        m_pBall->SetVelocity({0, -1100, 1100});
        m_Person.CancelPendingAnimation();
        bool bChosen = false;
        for (int nTick = 0; nTick < 60 && !bChosen; ++nTick) {
            bChosen = m_Person.SelectStrikingAnimation(c.byAction, c.target, false, 101, 101, 0);
            if (!bChosen) {
                RunBallTicks(1);
                m_Person.UpdateAnimation(70);
            }
        }
        ASSERT_TRUE(bChosen);
        const CVector contact = m_Person.GetReleaseTarget();
        EXPECT_GT(contact.z, 50);  // met in the air
        // The ball leaves towards the target: backwards for one behind.
        const double fToTarget = std::atan2(double(c.target.x - kStand.x), double(c.target.y - kStand.y));
        EXPECT_LT(std::fabs(WrapAngle(fToTarget - m_Person.GetHeadingAfterAnimation())), 3.14159265 / 2);
        const float t = m_Person.GetReleaseTime();
        FlyBall(t);
        const CVector ball = m_pBall->GetPosition();
        EXPECT_LE(IntegerRoot(ball.SquaredDistance2D(contact)), 300.0f * t + 15.0f);
        EXPECT_LE(std::abs(ball.z - contact.z), int(200.0f * t) + 15);
    }
}

TEST_F(ContactAnimationTest, ABallThatNeverArrivesChoosesNothing)
{
    struct Path {
        const char* pszName;
        CVector start, velocity;
    } paths[] = {
        {"rolling away", {5000, 3500, 0}, {0, 700, 0}},
        {"stops short", {5000, 6000, 0}, {0, -300, 0}},
        {"lying still", {5000, 3400, 0}, {0, 0, 0}},
        {"passing far wide", {7000, 5000, 0}, {0, -800, 0}},
    };
    for (const Path& path : paths) {
        SCOPED_TRACE(path.pszName);
        m_pBall->SetPosition(path.start.x, path.start.y, path.start.z, false);
        m_pBall->SetVelocity(path.velocity);
        m_Person.CancelPendingAnimation();
        const ANIMATIONREQUEST before = m_Person.GetRequest();
        EXPECT_FALSE(m_Person.SelectReceivingAnimation(kActionControl, false, false));
        EXPECT_FALSE(m_Person.IsRequestPending());
        EXPECT_EQ(m_Person.GetRequest().animation, before.animation);
    }
}

TEST_F(ContactAnimationTest, ABlockMeetsTheBallWhereItWillBe)
{
    // A ball rolling across in front of a standing player, from either side.
    struct Path {
        const char* pszName;
        CVector start, velocity;
    } paths[] = {
        {"from the left", {4300, 3100, 0}, {1500, 0, 0}},
        {"from the right", {5700, 3100, 0}, {-1500, 0, 0}},
    };
    for (const Path& path : paths) {
        SCOPED_TRACE(path.pszName);
        m_pBall->SetPosition(path.start.x, path.start.y, path.start.z, false);
        m_pBall->SetVelocity(path.velocity);
        m_Person.CancelPendingAnimation();
        bool bChosen = false;
        for (int nTick = 0; nTick < 20 && !bChosen; ++nTick) {
            bChosen = m_Person.SelectSaveAnimation(kActionBlock, 0, false);
            if (!bChosen)
                RunBallTicks(1);
        }
        ASSERT_TRUE(bChosen);
        const CVector target = m_Person.GetReleaseTarget();
        const float t = m_Person.GetReleaseTime();
        const ANIMATIONREQUEST& request = m_Person.GetRequest();
        EXPECT_GE(request.scale, 0.2f);
        EXPECT_LE(request.scale, 2.5f);
        EXPECT_LE(std::fabs(WrapAngle(request.startHeading - m_Person.GetFacing())), 3.14159265 / 2 + 1e-6);
        // The body part, turned and stretched, is where the ball will be.
        float kx = 0, ky = 0, kz = 0;
        uint16_t wFrame = 0;
        ASSERT_TRUE(m_Person.GetModel()->GetAnimationFirstKey(request.animation, &kx, &ky, &kz, &wFrame));
        const double h = request.startHeading, s = request.scale;
        const CVector reach(m_Person.GetPosition().x + int32_t((kx * std::cos(h) + ky * std::sin(h)) * s),
                            m_Person.GetPosition().y + int32_t((-kx * std::sin(h) + ky * std::cos(h)) * s), 0);
        EXPECT_LE(IntegerRoot(reach.SquaredDistance2D(target)), 3);
        // And the ball gets there, within the flight correction allowed.
        FlyBall(t);
        EXPECT_LE(IntegerRoot(m_pBall->GetPosition().SquaredDistance2D(target)), 300.0f * t + 15.0f);
    }
}

TEST_F(ContactAnimationTest, AnUnsuccessfulBlockTurnsAsNearAsItCan)
{
    constexpr uint8_t kActionMissedBlock = 32;
    float fRest = 0.0f;
    ASSERT_TRUE(m_Person.SelectActionByHeadingChange(kActionMissedBlock, 0.5f, &fRest));
    EXPECT_TRUE(m_Person.IsRequestPending());
    const ACTIONENTRY* pEntry = CMatchPerson::GetAnimationLibrary().GetAction(kActionMissedBlock);
    bool bFromAction = false;
    for (const ACTIONRECORD& record : pEntry->records)
        if (record.wAnimation == m_Person.GetRequest().animation) {
            bFromAction = true;
            // What the record's turn leaves of the wanted heading.
            EXPECT_NEAR(fRest, WrapAngle(m_Person.GetModel()->GetHeading() - 0.5 - record.fHeadingChange), 1e-5);
        }
    EXPECT_TRUE(bFromAction);
    // Nothing starts in a move type the action has no record for.
    m_Person.CancelPendingAnimation();
    EXPECT_FALSE(m_Person.SelectActionByHeadingChange(43, 0.5f, &fRest));  // saves start crouched
    EXPECT_FALSE(m_Person.IsRequestPending());
}

}  // namespace
