// Outfield footballers in open play on small fixtures: who goes for a
// loose ball, who closes down its holder and who covers behind him, how
// dangerous each man is and who marks him goal-side, and the defence
// stepping up and out as one line with its last man.
#include "FootballerFixture.h"

#include "match/actors/CMatchReferee.h"

namespace {

class OpenPlayDecisionsTest : public FootballerFixture {
protected:
    // The ball loose and still at a point, everyone's tables brought up to date.
    void LooseBallAt(const CVector& at)
    {
        m_pBall->SetPossessor(nullptr);
        m_pBall->SetPosition(at.x, at.y, 0, false);
        m_pBall->SetVelocity(CVector());
        m_pBall->UpdatePrediction();
        m_Engine.PostTick();
    }
    // Forward is towards the goal the home side attacks.
    int32_t Forward(int32_t x) const { return m_pHome->AttacksHighEnd() ? x : PITCH_LENGTH - x; }
};

TEST_F(OpenPlayDecisionsTest, TheNearestPlayerOfEachSideChasesALooseBall)
{
    Start(3);
    Arrange({{true, 5, 4000, 2000}, {true, 7, 5200, 3000}, {false, 8, 5600, 2400}, {false, 9, 6500, 2000}});
    LooseBallAt(At(4600, 2000));
    struct Case {
        bool bHome;
        int nSlot;
        bool bChases;
    } cases[] = {{true, 5, true}, {true, 7, false}, {false, 8, true}, {false, 9, false}};
    for (const Case& c : cases) {
        CMatchPlayer* p = Player(c.bHome, c.nSlot);
        EXPECT_EQ(Club(c.bHome)->GetBallChaser() == p, c.bChases) << c.bHome << " " << c.nSlot;
        p->MakeDecision();
        EXPECT_EQ(p->IsGoingForBall(), c.bChases) << c.bHome << " " << c.nSlot;
        if (c.bChases)
            EXPECT_EQ(p->GetTarget(), At(4600, 2000));
    }
    // Only the chaser's flag is up, and the engine's fastest man is one of them.
    int nFlags = 0;
    for (bool bHome : {true, false})
        for (int i = 0; i < Club(bHome)->GetOnPitchCount(); ++i)
            nFlags += Player(bHome, i)->IsBallChaser();
    EXPECT_EQ(nFlags, 2);
    m_Engine.PostTick();
    EXPECT_TRUE(m_pBall->GetFastest() == Player(true, 5) || m_pBall->GetFastest() == Player(false, 8));
}

TEST_F(OpenPlayDecisionsTest, AfterACornerEveryoneInTheDefendingBoxGoesForALooseBall)
{
    Start(3);
    Arrange({{true, 5, 900, 3000}, {true, 4, 1200, 4200}, {false, 9, 1000, 4500}, {true, 8, 3000, 3750}});
    LooseBallAt(At(800, 3100));
    ASSERT_EQ(m_pHome->GetBallChaser(), Player(true, 5));
    ASSERT_EQ(m_pAway->GetBallChaser(), Player(false, 9));
    // The away side has just taken a corner at the goal the home side defends.
    CMatchReferee* pReferee = m_Engine.GetReferee();
    m_Engine.SetMatchEvent(MATCHEVENT_CORNER);
    pReferee->SetRestartClub(m_pAway);
    pReferee->OnRestartTaken();
    pReferee->SetRestartClub(m_pAway);
    ASSERT_EQ(pReferee->GetLastRestart(), MATCHEVENT_CORNER);
    for (CMatchPlayer* p : {Player(true, 4), Player(false, 7)}) {
        p->SetPosition(At(1200, 4200));
        p->MakeDecision();
        EXPECT_TRUE(p->IsGoingForBall()) << "in the box";
        p->SetPosition(At(2500, 4200));
        p->MakeDecision();
        EXPECT_FALSE(p->IsGoingForBall()) << "outside the box";
    }
}

TEST_F(OpenPlayDecisionsTest, TheChaserClosesDownTheHolderWhileTheSupportCoversInFrontOfGoal)
{
    Start(4);
    // An opponent on the ball on the centre spot; a home player a step in
    // front of him and another 1000 behind him towards the home goal.
    Arrange({{false, 9, 5000, 3750}, {true, 6, 4700, 3900}, {true, 4, 3900, 3700}});
    m_Engine.PostTick();  // the club in possession as this tick sees it
    CMatchPlayer* pChaser = Player(true, 6);
    CMatchPlayer* pSupport = Player(true, 4);
    ASSERT_EQ(m_pHome->GetBallChaser(), pChaser);
    ASSERT_EQ(m_pHome->GetSupportChaser(), pSupport);
    pSupport->MakeOpenPlayDecision();
    EXPECT_EQ(pSupport->GetTarget(), At(4000, 3750));
    EXPECT_EQ(pSupport->GetDecision(), DECISION_POSITION_BASE);
    pChaser->MakeOpenPlayDecision();
    EXPECT_EQ(pChaser->GetDecision(), DECISION_TACKLE);
    EXPECT_EQ(pChaser->GetDecisionPartner(), Player(false, 9));
    // His challenging place lies goal-side of the holder, a few strides
    // off: any nearer, the pass the holder shapes to play would strike him.
    EXPECT_LT(Forward(pChaser->GetTarget().x), 5000);
    EXPECT_GE(pChaser->GetTarget().SquaredDistance2D(Player(false, 9)->GetPosition()), 250 * 250);
    // The holder's own side sends nobody to cover while nobody presses him.
    Player(true, 6)->SetPosition(At(3000, 1000));
    m_Engine.PostTick();
    EXPECT_EQ(m_pAway->GetSupportChaser(), nullptr);
    EXPECT_EQ(m_pAway->GetBallChaser(), Player(false, 9));
}

// Of three men level with each other, only the one at the ball (within
// 50) gains by his nearness to it: one a metre off is as dangerous as one
// forty metres off.
TEST_F(OpenPlayDecisionsTest, OnlyTheManAtTheBallGainsThreatByNearness)
{
    Start(5);
    Arrange({{false, 7, 3000, 3000}, {false, 6, 1500, 3750}, {false, 9, 3000, 3030}, {false, 10, 3000, 4000},
             {false, 8, 3000, 7000}});
    m_Engine.PostTick();
    auto threat = [&](int nSlot) { return int(m_pAway->GetThreatRating(Player(false, nSlot)->GetSquadPosition())); };
    EXPECT_EQ(threat(10), threat(8)) << "a metre from the ball against forty";
    // 30 from the ball: 20 before the 0.7 weighting.
    EXPECT_GE(threat(9) - threat(10), 13);
    EXPECT_LE(threat(9) - threat(10), 14);
}

TEST_F(OpenPlayDecisionsTest, ThreatGrowsWithDepthAndNearnessToTheBallAndAMarkerStaysGoalSide)
{
    Start(5);
    // An away forward deep in the home half near the away holder, another
    // far from the ball; home defenders near each.
    Arrange({{false, 7, 2200, 3000}, {false, 9, 1500, 3700}, {false, 10, 4000, 6800},
             {true, 2, 1200, 3500}, {true, 3, 3500, 6500}});
    m_Engine.PostTick();
    const uint8_t byNear = m_pAway->GetThreatRating(Player(false, 9)->GetSquadPosition());
    const uint8_t byFar = m_pAway->GetThreatRating(Player(false, 10)->GetSquadPosition());
    EXPECT_GT(byNear, 40) << "the most advanced man 700 from the ball";
    EXPECT_LT(byFar, byNear);
    // His side has the ball and is nearest it, which makes every man of
    // it more dangerous: the far one is listed too, below the near one.
    EXPECT_EQ(m_pAway->GetThreatBias(), 100);
    ASSERT_GE(m_pAway->GetThreatListLength(), 2);
    ASSERT_GE(m_pAway->GetThreatListLength(), 1);
    EXPECT_EQ(m_pAway->GetSlot(m_pAway->GetThreatListSlot(0)), Player(false, 9));
    // Each is marked by the defender nearest his goal side.
    CMatchPlayer* pMarker = Player(true, 2);
    EXPECT_EQ(pMarker->GetMarkedOpponent(), Player(false, 9));
    EXPECT_EQ(Player(true, 3)->GetMarkedOpponent(), Player(false, 10));
    // Wherever the man goes, the marker's place stays between him and the goal.
    struct Case {
        int32_t x, y;
    } cases[] = {{1500, 3700}, {2500, 1500}, {900, 5200}, {3000, 3750}};
    for (const Case& c : cases) {
        Player(false, 9)->SetPosition(At(c.x, c.y));
        pMarker->PositionOffBall();
        EXPECT_EQ(pMarker->GetDecision(), DECISION_POSITION_MARK);
        const CVector& t = pMarker->GetTarget();
        EXPECT_LE(Forward(t.x), c.x) << c.x << "," << c.y;
        EXPECT_LE(IntegerRoot(t.SquaredDistance2D(At(c.x, c.y))), 1100) << c.x << "," << c.y;
    }
    // With his own side on the ball he no longer marks.
    Arrange({{true, 5, 6000, 3750}, {false, 9, 1500, 3700}, {true, 2, 1200, 3500}});
    m_Engine.PostTick();
    pMarker->SetMarkedOpponent(Player(false, 9));
    pMarker->PositionOffBall();
    EXPECT_NE(pMarker->GetDecision(), DECISION_POSITION_MARK);
}

TEST_F(OpenPlayDecisionsTest, TheDefenceStepsUpAsOneLineWithItsLastMan)
{
    Start(6);
    ASSERT_TRUE(m_pHome->AttacksHighEnd());
    // Three home defenders and a midfielder across the pitch; the away side on the ball
    // deep in its own half.
    for (int n : {1, 2, 3}) {
        ASSERT_GE(Player(true, n)->GetSelectedPosition(), 1) << n;
        ASSERT_LE(Player(true, n)->GetSelectedPosition(), 6) << n;
    }
    Arrange({{false, 6, 7000, 3750}, {true, 1, 2000, 1000}, {true, 2, 2300, 3000}, {true, 3, 2400, 4500},
             {true, 4, 2600, 6500}, {false, 9, 3500, 3000}});
    m_Engine.PostTick();
    CMatchPlayer* pLast = m_pHome->GetLastDefender();
    ASSERT_EQ(pLast, Player(true, 1));
    ASSERT_EQ(m_pHome->GetOffsideLine(), 2000);
    pLast->SetBasePosition(CVector(2000, 1000, 0));
    pLast->SetRoamingRadius(1000);
    const int nRating = pLast->GetLineRating(pLast->GetSelectedPosition());
    // The last man steps up towards the most advanced opponent: 1500 ahead,
    // beyond his radius, by (1000 / 1500 - 0.5) of his share.
    ASSERT_TRUE(pLast->TryStepWithLine());
    EXPECT_EQ(pLast->GetTarget(), CVector(2000 + int32_t(nRating * 0.01 * 1500 * (1000.0 / 1500 - 0.5)), 1000, 0));
    // With the opponent within his radius he goes half his share of the way.
    Player(false, 9)->SetPosition(CVector(2800, 3000, 0));
    ASSERT_TRUE(pLast->TryStepWithLine());
    EXPECT_EQ(pLast->GetTarget().x, 2000 + int32_t(nRating * 0.01 * 800 * 0.5));
    // An opponent already beyond the line is left offside: the line holds.
    Player(false, 9)->SetPosition(CVector(1800, 3000, 0));
    EXPECT_FALSE(pLast->TryStepWithLine());

    // The ball behind the line: the other defenders come level with their
    // last man, each by his and the leader's judgement of the gap.
    pLast->SetPosition(CVector(1500, 1000, 0));
    LooseBallAt(CVector(1000, 3750, 0));
    ASSERT_EQ(m_pHome->GetOffsideLine(), 1000);
    ASSERT_EQ(m_pHome->GetLastDefender(), pLast);
    for (int n : {2, 3}) {
        CMatchPlayer* p = Player(true, n);
        p->SetBasePosition(CVector(1800, p->GetPosition().y, 0));
        p->SetRoamingRadius(1000);
        ASSERT_TRUE(p->TryStepWithLine()) << n;
        const int r = (nRating + p->GetLineRating(p->GetSelectedPosition())) / 2;
        EXPECT_EQ(p->GetTarget(), CVector(1800 - int32_t(r * 0.01 * 300), p->GetPosition().y, 0)) << n;
        EXPECT_EQ(p->GetDecision(), DECISION_POSITION_BASE);
    }
    // While the leader stands on the line the others keep their places.
    pLast->SetPosition(CVector(1050, 1000, 0));
    m_Engine.PostTick();
    EXPECT_FALSE(Player(true, 3)->TryStepWithLine());

    // Their own side on the ball, the last man steps out from his base.
    Arrange({{true, 6, 6000, 3750}, {true, 1, 2000, 1000}});
    m_Engine.PostTick();
    pLast->SetBasePosition(CVector(2000, 1000, 0));
    pLast->SetRoamingRadius(1000);
    ASSERT_TRUE(pLast->TryStepWithLine());
    EXPECT_EQ(pLast->GetBasePosition().x, 2000 + int32_t(nRating * 0.01 * 1000 * 0.05));
    EXPECT_EQ(pLast->GetTarget(), pLast->GetBasePosition());
    EXPECT_EQ(pLast->GetDecision(), DECISION_POSITION_SPACE);
    // Not from a base beyond halfway, nor without a radius.
    EXPECT_FALSE(pLast->StepOutWithLine(pLast->GetSelectedPosition(), 5200));
    pLast->SetRoamingRadius(0);
    EXPECT_FALSE(pLast->StepOutWithLine(pLast->GetSelectedPosition(), 2000));
}

TEST_F(OpenPlayDecisionsTest, OffTheBallHeTakesHisPlaceByTheZoneHeStandsIn)
{
    Start(7);
    Arrange({{true, 6, 5000, 3750}, {true, 9, 8000, 3750}, {true, 10, 8000, 500}, {true, 8, 6500, 1000},
             {true, 7, 5000, 9000}});
    CVector theirGoal;
    m_pAway->GetGoalPosition(theirGoal);
    struct Case {
        int nSlot;
        uint8_t byDecision;
        bool bGoal;
    } cases[] = {
        {9, DECISION_POSITION_SHOT, true},   // in front of their goal
        {10, DECISION_POSITION_CROSS, true}, // out on the wing
        {8, DECISION_POSITION_SPACE, false}, // midfield: his place
        {7, DECISION_POSITION_BASE, false},  // off the pitch: back to his place
    };
    for (const Case& c : cases) {
        CMatchPlayer* p = Player(true, c.nSlot);
        p->SetMarkedOpponent(nullptr);
        p->PositionOffBall();
        EXPECT_EQ(p->GetDecision(), c.byDecision) << c.nSlot;
        EXPECT_EQ(p->GetTarget(), c.bGoal ? theirGoal : p->GetBasePosition()) << c.nSlot;
    }
}

TEST_F(OpenPlayDecisionsTest, OnTheBallHeDribblesForwardUnlessAKickRatesHigher)
{
    Start(8);
    // Alone on the wing of his own third with nobody to pass to, and too
    // far from his goal to clear it: he dribbles on.
    Arrange({{true, 6, 2900, 800}});
    CMatchPlayer* p = Player(true, 6);
    for (int i = 0; i < 20; ++i) {
        p->SetDecision(DECISION_POSITION_BASE);
        p->MakeWithBallDecision();
        ASSERT_EQ(p->GetDecision(), DECISION_POSITION_SPACE);
        const int32_t nAhead = Forward(p->GetTarget().x) - 2900;
        EXPECT_GE(nAhead, 0);
        EXPECT_LT(nAhead, 700);
        EXPECT_LE(std::abs(p->GetTarget().y - 800), 700);
    }
    // The dribble keeps its point for three seconds.
    const CVector kept = p->GetTarget();
    p->MakeWithBallDecision();
    EXPECT_EQ(p->GetTarget(), kept);
    // Through on goal he shoots.
    Arrange({{true, 9, 8600, 3750}, {false, 0, 9950, 3750}});
    Player(true, 9)->MakeOpenPlayDecision();
    EXPECT_EQ(Player(true, 9)->GetDecision(), DECISION_SHOOT);
}

TEST_F(OpenPlayDecisionsTest, TwentyMetresOutHeShootsOnlyWhenTheShotWouldGoNow)
{
    // 20 m out in front of goal, the goalkeeper on his line: the shot
    // rates above any pass but is not yet safe enough to go unpressed.
    // A defender far out on the other side keeps the offside line deep.
    struct Case {
        const char* pszWhat;
        bool bFreeMate;   // a team-mate free 10 m out on the left
        bool bPressed;    // an opponent at his heels
        uint8_t byDecision;
    } cases[] = {
        {"a free team-mate nearer goal gets the ball", true, false, DECISION_PASS},
        {"alone he carries the ball on at the goal", false, false, DECISION_POSITION_SPACE},
        {"pressed he shoots at once", true, true, DECISION_SHOOT},
    };
    Start(9);
    for (const Case& c : cases) {
        std::vector<PLACE> places = {{true, 9, 8000, 3750}, {false, 0, 9950, 3750}, {false, 4, 9300, 5800}};
        if (c.bFreeMate)
            places.push_back({true, 10, 9000, 2500});
        if (c.bPressed)
            places.push_back({false, 6, 7900, 3600});
        Arrange(places);
        CMatchPlayer* p = Player(true, 9);
        p->SetDecision(DECISION_POSITION_BASE);
        p->UpdatePressure();
        p->MakeOpenPlayDecision();
        EXPECT_EQ(p->GetDecision(), c.byDecision) << c.pszWhat;
        if (c.byDecision == DECISION_PASS)
            EXPECT_EQ(p->GetDecisionPartner(), Player(true, 10)) << c.pszWhat;
        if (c.byDecision == DECISION_POSITION_SPACE) {
            // Towards one of the shot's aim points.
            EXPECT_EQ(p->GetTarget().x, At(10000, 0).x) << c.pszWhat;
            EXPECT_LE(std::abs(p->GetTarget().y - 3750), 240) << c.pszWhat;
        }
        // Whatever he chose may go now, or he still has the ball at his feet.
        if (c.byDecision == DECISION_SHOOT)
            EXPECT_GT(p->GetKickSafety(), p->GetKickTriggerRating(DECISION_SHOOT, p->GetOnBallPressure())) << c.pszWhat;
    }
}

TEST_F(OpenPlayDecisionsTest, ABallFlyingAtTheGoalAlarmsItsSideAndSendsTheGoalkeeper)
{
    Start(9);
    Arrange({{false, 9, 1800, 3750}, {true, 0, 100, 3750}, {true, 4, 3000, 1000}});
    struct Case {
        const char* name;
        CVector velocity;
        bool bShot, bAlarm;
    } cases[] = {
        {"on target", {-2000, 100, 100}, false, true},
        {"wide", {-2000, 1500, 100}, false, false},
        {"over the bar", {-2000, 0, 900}, false, false},
        {"too slow to arrive within two seconds", {-500, 0, 0}, false, false},
        {"a shot of theirs going wide", {-2000, 1500, 100}, true, true},
        {"a slow shot of theirs", {-500, 0, 0}, true, true},
        {"a shot of theirs going away from the goal", {2000, 300, 100}, true, false},
        {"a shot of theirs rolling along the goal line", {0, 800, 0}, true, false},
    };
    CMatchPlayer& keeper = *Player(true, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_pBall->SetPossessor(nullptr);
        m_pBall->StartBallInfo(c.bShot ? BALLCAUSE_SHOT : BALLCAUSE_PASS, Player(false, 9));
        m_pBall->SetPosition(1800, 3750, 20, false);
        m_pBall->SetVelocity(c.velocity);
        m_pBall->UpdatePrediction();
        m_Engine.PostTick();
        EXPECT_EQ(m_pHome->HasShotAlarm(), c.bAlarm);
        EXPECT_FALSE(m_pAway->HasShotAlarm());
        if (c.bAlarm) {
            keeper.SetBallChaser(false);
            EXPECT_TRUE(keeper.ShouldKeeperGoForBall());
        }
    }
}

TEST_F(OpenPlayDecisionsTest, TheSideNearerTheBallPushesOnTowardsItsPlacesWithTheBallButStaysOnside)
{
    Start(3);
    for (bool bHomeOnBall : {true, false}) {
        // The man on the ball at the centre spot, nobody of the other side
        // within 1000 of it; the other side's outfield men all on a line
        // 1000 behind halfway (their offside line).
        Arrange({{bHomeOnBall, 9, 5000, 3750}});
        CMatchClub* pOn = Club(bHomeOnBall);
        CMatchClub* pOff = Club(!bHomeOnBall);
        const int32_t nLine = bHomeOnBall ? 6000 : 4000;  // forward, as the home side sees it
        for (int i = 1; i < pOff->GetOnPitchCount(); ++i)
            pOff->GetSlot(i)->SetPosition(At(nLine, 300 + 600 * i));
        m_Engine.PostTick();
        EXPECT_EQ(pOn->GetThreatBias(), 100) << bHomeOnBall;
        EXPECT_EQ(pOff->GetThreatBias(), 0) << bHomeOnBall;
        const auto ahead = [&](const CMatchClub* pClub, const CVector& p) {
            return pClub->AttacksHighEnd() ? p.x : PITCH_LENGTH - p.x;
        };
        // His defenders step up from their places without the ball to
        // those with it; its forwards wait onside, 400 (and 50) short of the
        // other side's line.
        CMatchPlayer* pBack = pOn->GetSlot(2);
        CMatchPlayer* pForward = pOn->GetSlot(10);
        ASSERT_TRUE(pBack->IsFormationInterpolated());
        for (CMatchPlayer* p : {pBack, pForward})
            p->MakeDecision();
        EXPECT_GT(ahead(pOn, pBack->GetBasePosition()), ahead(pOn, pBack->GetFormationPlace(0)) + 300) << bHomeOnBall;
        EXPECT_NEAR(ahead(pOn, pBack->GetBasePosition()), ahead(pOn, pBack->GetFormationPlace(100)), 100);
        const int32_t nOffLine = pOff->GetOffsideLine();
        EXPECT_EQ(nOffLine, At(nLine, 0).x);
        EXPECT_EQ(ahead(pOn, pForward->GetBasePosition()), ahead(pOn, CVector(nOffLine, 0, 0)) - 450) << bHomeOnBall;
        // The other side keeps to its places without the ball.
        CMatchPlayer* pOther = pOff->GetSlot(2);
        pOther->MakeDecision();
        EXPECT_EQ(pOther->GetBasePosition(), pOther->GetFormationPlace(0)) << bHomeOnBall;
    }
}

}  // namespace
