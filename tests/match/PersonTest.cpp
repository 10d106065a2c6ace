#include "MatchFixture.h"
#include "match/actors/CMatchPerson.h"

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

using PersonTest = MatchFixture;

TEST_F(PersonTest, TurnsAreLimitedToAQuarterAndRefusedBehind)
{
    CMatchPerson person(m_Engine, PERSONTYPE_FOOTBALLER);
    person.SetPosition({5000, 3000, 0});
    person.SetFacing(0.0f);
    float fTurn = 0.0f;
    EXPECT_FLOAT_EQ(person.GetTurnToTarget({5000, 2900, 0}, &fTurn), CMatchPerson::kTurnTooFar);
    // 60 degrees to the right: limited to 45.
    const CVector right(5000 + TruncateToInt(std::sin(kPi / 3) * 100), 3000 + 50, 0);
    EXPECT_NEAR(person.GetTurnToTarget(right, &fTurn), kPi / 4, 1e-6);
    EXPECT_NEAR(fTurn, kPi / 4, 1e-6);
    // 30 degrees to the left: the angle itself.
    const CVector left(5000 - 50, 3000 + TruncateToInt(std::cos(kPi / 6) * 100), 0);
    EXPECT_NEAR(person.GetTurnToTarget(left, &fTurn), std::atan2(-50.0, 86.0), 1e-6);
}

TEST_F(PersonTest, ViewRatingAndLabelColour)
{
    CMatchPerson person(m_Engine, PERSONTYPE_FOOTBALLER);
    person.SetPosition({5000, 3000, 0});
    person.SetFacing(0.0f);
    EXPECT_EQ(person.GetViewRating({5000, 3400, 0}), 95);  // 45 for 400 cm, 50 straight ahead
    EXPECT_EQ(person.GetViewRating({5000, 7100, 0}), 50);
    EXPECT_EQ(person.GetViewRating({5000, 2600, 0}), 45);  // straight behind
    person.SetColour(0x808080);
    EXPECT_EQ(person.GetLabelColour(), 0x000000u);
    person.SetColour(0x7F8080);
    EXPECT_EQ(person.GetLabelColour(), 0xFFFFFFu);
}

TEST_F(PersonTest, PositionRatingsFallWithDistance)
{
    CMatchPerson person(m_Engine, PERSONTYPE_PERSON);
    person.SetHoldTarget({0, 0, 0});
    EXPECT_FLOAT_EQ(person.AssessPosition({0, 0, 0}), 1.0f);
    EXPECT_FLOAT_EQ(person.AssessPosition({1500, 0, 0}), 0.75f);
    EXPECT_FLOAT_EQ(person.AssessPosition({3000, 0, 0}), 0.5f);
    EXPECT_FLOAT_EQ(person.AssessPosition({10000, 0, 0}), 0.0f);
    EXPECT_FLOAT_EQ(CMatchPerson::GetDistanceRating({0, 0, 0}, {1000, 0, 0}, 2000, 0.4f), 0.8f);
    EXPECT_FLOAT_EQ(CMatchPerson::GetDistanceRating({0, 0, 0}, {6000, 0, 0}, 2000, 0.4f), 0.1f);
    // Not running to a target: reached when the rating of where he stands is 1.
    person.SetPosition({0, 0, 0});
    EXPECT_TRUE(person.HasReachedTarget(person.GetPosition()));
    person.SetPosition({10, 0, 0});
    EXPECT_FALSE(person.HasReachedTarget(person.GetPosition()));
}

TEST_F(PersonTest, TargetsAreClampedAndLedRoundObstacles)
{
    CMatchPerson person(m_Engine, PERSONTYPE_PERSON);
    person.SetPosition({9000, 3000, 0});
    person.SetTarget({20000, 3000, 0}, -1.0f);
    EXPECT_EQ(person.GetTarget(), CVector(10600, 3000, 0));
    EXPECT_FALSE(person.GetFacingAtTarget() >= 0.0f);
    // Behind the net at x = 10000, going onto the pitch: round a corner.
    person.SetPosition({10300, 3750, 0});
    person.SetTarget({9500, 3750, 0}, 1.0f);
    const CVector t = person.GetTarget();
    EXPECT_TRUE(t == CVector(10320, 3214, 0) || t == CVector(10320, 4286, 0)) << t.x << "," << t.y;
    EXPECT_EQ(person.GetDistanceToTarget(), IntegerRoot(uint32_t(CVector(10300, 3750, 0).SquaredDistance2D(t))));
}

TEST_F(PersonTest, StuckOnTheWayToAFarTargetStopsAvoiding)
{
    CMatchPerson person(m_Engine, PERSONTYPE_PERSON);
    m_Engine.AddHomePerson(&person);
    person.SetPosition({1000, 1000, 0});
    person.SetTarget({4000, 1000, 0}, -1.0f);
    m_Engine.SetMatchClockRunning(true);
    m_Engine.UpdateAt(1000);  // 1.2 s of match time
    EXPECT_TRUE(person.AvoidsPersons());
    EXPECT_TRUE(person.AvoidsGoalZones());
    m_Engine.UpdateAt(5000);  // past 5 s standing
    EXPECT_FALSE(person.AvoidsPersons());
    EXPECT_FALSE(person.AvoidsGoalZones());
}

TEST_F(PersonTest, PlayersAreActivatedOneAfterAnother)
{
    std::vector<std::unique_ptr<CMatchPerson>> players;
    for (int i = 0; i < 18; ++i) {
        players.push_back(std::make_unique<CMatchPerson>(m_Engine, PERSONTYPE_FOOTBALLER));
        players.back()->SetActive(false);
        players.back()->SetBasePosition({100 * i, 200, 0});
        if (i < 16)
            m_Engine.AddHomePerson(players.back().get());
        else
            m_Engine.AddAwayPerson(players.back().get());
    }
    m_Engine.ActivatePlayers();
    EXPECT_TRUE(players[0]->IsActive());
    EXPECT_EQ(players[3]->GetNextDecisionTime(), 3000u);
    EXPECT_EQ(players[16]->GetNextDecisionTime(), 17500u);  // away player 0 after 16 at home
    EXPECT_EQ(players[17]->GetNextDecisionTime(), 18500u);

    m_Engine.SetShowLineUps(false);
    players[5]->SetDecisionDelay(4.0f);
    m_Engine.ActivatePlayers();
    EXPECT_EQ(players[5]->GetPosition(), CVector(500, 200, 0));
    EXPECT_EQ(players[5]->GetNextDecisionTime(), 4000u);  // no delay without line-ups
    m_Engine.ClearPersons();
}

TEST_F(PersonTest, DecisionsWaitForTheirDelay)
{
    CMatchPerson person(m_Engine, PERSONTYPE_PERSON);
    EXPECT_TRUE(person.IsDecisionDue());
    person.SetDecisionDelay(1.5f);
    EXPECT_EQ(person.GetNextDecisionTime(), 1500u);
    EXPECT_FALSE(person.IsDecisionDue());
    person.SetActive(false);
    EXPECT_FALSE(person.IsDecisionDue());
    person.SetActive(true);
    person.SetDecisionDelay(-2.0f);
    EXPECT_TRUE(person.IsDecisionDue());
}

TEST_F(PersonTest, DecisionDelaysRunOutWhileTheMatchClockStands)
{
    // Before the kick-off the match clock stands, yet the engine clock runs.
    CMatchPerson person(m_Engine, PERSONTYPE_PERSON);
    m_Engine.AddHomePerson(&person);
    ASSERT_FALSE(m_Engine.IsMatchClockRunning());
    person.SetDecisionDelay(1.0f);
    m_Engine.UpdateAt(500);  // 0.6 s of engine time
    EXPECT_FALSE(person.IsDecisionDue());
    m_Engine.UpdateAt(1000);
    EXPECT_EQ(m_Engine.GetMatchTime(), 0u);
    EXPECT_TRUE(person.IsDecisionDue());
    m_Engine.ClearPersons();
}

}  // namespace
