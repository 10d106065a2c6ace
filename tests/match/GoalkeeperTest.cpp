// The goalkeeper in open play: his place on the line from the ball to the
// centre of his goal, deeper while the opponents have the ball; coming for
// a loose ball only when he is clearly first to it; closing down an
// attacker who comes near; and with the ball in his hands holding on while
// opponents crowd him, then letting it go before his time is up.
#include "FootballerFixture.h"

#include <cmath>
#include <string>

namespace {

class GoalkeeperTest : public FootballerFixture {
protected:
    // Distance along x from the goal the player defends.
    static int32_t FromOwnGoal(const CMatchPlayer& p, const CVector& point)
    {
        return p.GetClub()->AttacksHighEnd() ? point.x : PITCH_LENGTH - point.x;
    }
};

TEST_F(GoalkeeperTest, HeStandsOnTheLineFromTheBallToHisGoalDeeperWhenTheyHaveIt)
{
    Start(2);
    // For the home goalkeeper: x of the ball from his goal, who has it.
    struct Case {
        const char* name;
        int32_t nBallForward, nBallY;
        bool bOpponentsBall;
        int32_t nDepth, y;  // his place: depth from his line, and y
    } cases[] = {
        {"the ball at 2500 with his own side", 2500, 3750, false, 825, 3750},
        {"the ball at 2500 with the opponents", 2500, 3750, true, 275, 3750},
        {"the ball in the other half", 7000, 1000, true, 825, 3750},
        {"a ball out on the wing puts him at the near post", 1500, 7000, true, 165, 4016},
        {"a ball wide on the other wing", 2000, 500, false, 660, 3484},
        {"the ball on his goal line beside the post", 0, 3900, true, 0, 3900},
    };
    for (const bool bHome : {true, false}) {
        CMatchPlayer& keeper = *Player(bHome, 0);
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (bHome ? ", home" : ", away"));
            // The holder: one of the keeper's side, or one of the others.
            const bool bHolderHome = bHome != c.bOpponentsBall;
            const int32_t nForward = bHome ? c.nBallForward : PITCH_LENGTH - c.nBallForward;
            Arrange({{bHolderHome, 6, nForward, c.nBallY}, {bHome, 0, bHome ? 300 : 9700, 3750}});
            ASSERT_EQ(m_Engine.GetClubInPossession(), Club(bHolderHome));
            keeper.PositionInGoal(m_pBall->GetPosition());
            EXPECT_EQ(keeper.GetDecision(), DECISION_POSITION_BASE);
            EXPECT_EQ(FromOwnGoal(keeper, keeper.GetTarget()), c.nDepth);
            EXPECT_EQ(keeper.GetTarget().y, c.y);
        }
    }
}

TEST_F(GoalkeeperTest, HeComesForALooseBallOnlyWhenHeIsClearlyFirstToIt)
{
    Start(4);
    CMatchPlayer& keeper = *Player(true, 0);
    struct Case {
        const char* name;
        int32_t nKeeper, nMate, nOpponent;  // distances from their goal of each to the ball at 1400
        bool bComes;
    } cases[] = {
        {"nobody near but him", 500, 5000, 5000, true},
        {"an opponent nearly as near", 500, 5000, 1950, false},
        {"a team-mate nearer", 500, 1300, 5000, false},
        {"he is nearer by far", 1000, 3000, 3000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Arrange({{true, 6, 200, 200}, {true, 0, c.nKeeper, 3750}, {true, 4, c.nMate, 3750},
                 {false, 9, c.nOpponent, 3750}});
        m_pBall->SetPossessor(nullptr);
        m_pBall->SetPosition(At(1400, 3750).x, 3750, 0, false);
        m_pBall->SetVelocity(CVector());
        m_pBall->Update(70, m_Engine.GetEngineClock());  // it lies still
        Player(true, 6)->SetPosition(At(8000, 200));
        m_Engine.PostTick();  // the ball distances
        m_Engine.SetMatchEvent(MATCHEVENT_NONE);
        ASSERT_EQ(m_pBall->GetHolder(), nullptr);
        // The nearness rule alone: his club has not sent him for the ball.
        keeper.SetBallChaser(false);
        EXPECT_EQ(keeper.ShouldKeeperGoForBall(), c.bComes);
        keeper.MakeGoalkeeperDecision();
        if (c.bComes) {
            EXPECT_TRUE(keeper.IsGoingForBall());
            EXPECT_EQ(keeper.GetDecision(), DECISION_POSITION_BASE);
            EXPECT_EQ(keeper.GetTarget().x, m_pBall->GetPosition().x);
        } else {
            // The ball is close: he covers the goal between it and the goal centre.
            EXPECT_EQ(keeper.GetDecision(), DECISION_PROTECT_GOAL);
            EXPECT_LE(FromOwnGoal(keeper, keeper.GetTarget()), 1400);
            EXPECT_NEAR(keeper.GetTarget().y, 3750, 1);
        }
    }
}

TEST_F(GoalkeeperTest, CaughtUpThePitchHeGoesBackRatherThanCoveringFromThere)
{
    Start(4);
    CMatchPlayer& keeper = *Player(true, 0);
    // A loose ball 42 m out, lying still, a team-mate nearer it than the
    // goalkeeper 2 m from it; an opponent near too.
    Arrange({{true, 6, 200, 200}, {true, 0, 4000, 3750}, {true, 4, 4330, 3750}, {false, 9, 4500, 3750}});
    m_pBall->SetPossessor(nullptr);
    m_pBall->SetPosition(At(4200, 3750).x, 3750, 0, false);
    m_pBall->SetVelocity(CVector());
    m_pBall->Update(70, m_Engine.GetEngineClock());
    Player(true, 6)->SetPosition(At(8000, 200));
    m_Engine.PostTick();
    m_Engine.SetMatchEvent(MATCHEVENT_NONE);
    keeper.SetBallChaser(false);
    ASSERT_EQ(m_pBall->GetHolder(), nullptr);
    ASSERT_FALSE(keeper.ShouldKeeperGoForBall());
    keeper.MakeGoalkeeperDecision();
    printf("TMP dec=%d target=%d keeper=%d ball=%d\n", keeper.GetDecision(), FromOwnGoal(keeper, keeper.GetTarget()), FromOwnGoal(keeper, keeper.GetPosition()), FromOwnGoal(keeper, m_pBall->GetPosition()));
    EXPECT_EQ(keeper.GetDecision(), DECISION_POSITION_BASE);
    EXPECT_LE(FromOwnGoal(keeper, keeper.GetTarget()), 1650);
}

TEST_F(GoalkeeperTest, HeClosesDownAnAttackerNearHisGoalAndOtherwiseKeepsHisPlace)
{
    Start(7);
    CMatchPlayer& keeper = *Player(true, 0);
    CMatchPlayer& attacker = *Player(false, 9);
    struct Case {
        const char* name;
        int32_t nAttacker, y;
        bool bCloses;
    } cases[] = {
        {"an attacker 2000 out", 2000, 3000, true},
        {"an attacker in the other half, defenders between", 6000, 3750, false},
        {"an attacker 3500 out with the defence beaten", 3500, 3750, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int32_t nDefenders = c.nAttacker > 5000 ? 4000 : 8000;
        Arrange({{false, 9, c.nAttacker, c.y}, {true, 0, 300, 3750}, {true, 2, nDefenders, 2000},
                 {true, 3, nDefenders, 3000}, {true, 4, nDefenders, 4000}, {true, 5, nDefenders, 5000}});
        keeper.SetFacing(float(keeper.GetPosition().GetAngleTo(attacker.GetPosition())));
        keeper.MakeGoalkeeperDecision();
        if (!c.bCloses) {
            // On his line as for any ball beyond halfway.
            EXPECT_EQ(keeper.GetDecision(), DECISION_POSITION_BASE);
            EXPECT_EQ(FromOwnGoal(keeper, keeper.GetTarget()), 825);
            continue;
        }
        EXPECT_EQ(keeper.GetDecision(), DECISION_TACKLE);
        EXPECT_EQ(keeper.GetDecisionPartner(), &attacker);
        // Onto the attacker's line to the goal centre, between them.
        CVector goal;
        keeper.GetClub()->GetGoalPosition(goal);
        const CVector& t = keeper.GetTarget();
        EXPECT_LE(CMatchEngine::GetDistanceToPath(t, attacker.GetPosition(), goal), 30);
        EXPECT_LT(FromOwnGoal(keeper, t), c.nAttacker);
        EXPECT_GE(t.y, 3484);
        EXPECT_LE(t.y, 4016);
    }
}

// Face to face with an attacker who is shooting he sets himself in the
// ready stance; turned away from him, or with him further off, he does not.
TEST_F(GoalkeeperTest, CloseToAnAttackerFacingHimHeSetsHimselfForTheShot)
{
    struct Case {
        const char* name;
        int32_t nApart;
        bool bFacing, bReady;
    } cases[] = {
        {"200 off, facing him", 200, true, true},
        {"200 off, turned away", 200, false, false},
        {"350 off, facing him", 350, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Start(7);
        CMatchPlayer& keeper = *Player(true, 0);
        CMatchPlayer& attacker = *Player(false, 9);
        Arrange({{false, 9, 300 + c.nApart, 3750}, {true, 0, 300, 3750}});
        attacker.SetAction(ACTION_KICKING);
        const double a = keeper.GetPosition().GetAngleTo(attacker.GetPosition());
        keeper.SetFacing(float(c.bFacing ? a : a + 3.0));
        keeper.MakeGoalkeeperDecision();
        ASSERT_EQ(keeper.GetDecision(), DECISION_TACKLE);
        EXPECT_EQ(keeper.GetIntendedMoveType() == MOVETYPE_CROUCH, c.bReady);
        m_Engine.EndGame();
    }
}

TEST_F(GoalkeeperTest, WithTheBallInHisHandsHeHoldsOnUnderPressureThenDistributesIt)
{
    Start(9);
    CMatchPlayer& keeper = *Player(true, 0);
    const auto isKick = [](uint8_t by) {
        return by == DECISION_PASS || by == DECISION_LONG_BALL || by == DECISION_CLEAR || by == DECISION_SHOOT;
    };
    // Alone with his defenders about: he kicks or throws it on.
    Arrange({{true, 0, 600, 3750}, {true, 2, 2500, 1500}, {true, 3, 2500, 6000}, {true, 6, 4500, 3750},
             {true, 9, 7000, 3000}, {false, 9, 6000, 3000}});
    m_pBall->SetHeld(true);
    keeper.MakeGoalkeeperDecision();
    EXPECT_TRUE(isKick(keeper.GetDecision())) << int(keeper.GetDecision());
    EXPECT_GT(FromOwnGoal(keeper, keeper.GetTarget()), 1000) << "the ball goes up the pitch";

    // Opponents all round him: holding on beats any kick.
    Arrange({{true, 0, 600, 3750}, {true, 2, 2500, 1500}, {true, 3, 2500, 6000}, {true, 6, 4500, 3750},
             {true, 9, 7000, 3000}, {false, 9, 1200, 3750}, {false, 8, 1000, 3000}, {false, 7, 1000, 4500},
             {false, 6, 1800, 3900}, {false, 5, 1500, 2500}, {false, 4, 2000, 3000}});
    m_pBall->SetHeld(true);
    keeper.MakeGoalkeeperDecision();
    EXPECT_EQ(keeper.GetDecision(), DECISION_POSITION_BASE);
    EXPECT_EQ(keeper.GetTarget(), keeper.GetPosition());
    EXPECT_EQ(keeper.GetDecisionPartner(), nullptr);

    // Five seconds on he may hold it no longer, whoever is about.
    while (m_pBall->GetHeldSeconds() < 5.0f)
        m_Engine.PostTick();
    m_Engine.SetMatchEvent(MATCHEVENT_NONE);
    ASSERT_EQ(m_pBall->GetHolder(), &keeper);
    keeper.MakeGoalkeeperDecision();
    EXPECT_TRUE(isKick(keeper.GetDecision())) << int(keeper.GetDecision());
}

}  // namespace
