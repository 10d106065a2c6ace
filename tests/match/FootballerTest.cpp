// Footballers of two clubs of the starting world deciding, kicking and
// saving: the kick candidates compete in set situations, kicks leave the
// foot with their velocity and error, positions are scored and speed grades
// chosen, and a goalkeeper saves what he can reach.
#include "FootballerFixture.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

class FootballerTest : public FootballerFixture {};

TEST_F(FootballerTest, KickCandidatesChooseWhatTheSituationCallsFor)
{
    struct SITUATION {
        const char* pszName;
        std::vector<PLACE> places;  // the first holds the ball
        uint8_t byExpected;
    };
    const SITUATION situations[] = {
        {"free striker in front of goal shoots",
         {{true, 9, 8800, 3750}, {false, 0, 9950, 3750}, {true, 4, 5000, 3000}},
         DECISION_SHOOT},
        {"pressed defender in his own area clears",
         {{true, 3, 900, 3000}, {false, 0, 9950, 3750},
          {false, 9, 1100, 3000}, {false, 10, 900, 3250}, {false, 8, 700, 2800},
          {true, 5, 2500, 3750}, {false, 6, 2550, 3750}},
         DECISION_CLEAR},
        {"midfielder blocked ahead passes to the free team-mate",
         {{true, 6, 5000, 3750}, {false, 7, 5400, 3750}, {true, 9, 6500, 5000}, {false, 0, 9950, 3750}},
         DECISION_PASS},
        {"winger at the byline crosses to the striker in the middle",
         {{true, 7, 9100, 700}, {true, 9, 9200, 3750}, {false, 0, 9950, 3750}, {false, 3, 8500, 1200}},
         DECISION_CROSS},
        {"striker facing a line of defenders lays it off to the free team-mate",
         {{true, 9, 8300, 3750}, {false, 0, 9950, 3750}, {false, 2, 8700, 3450}, {false, 3, 8700, 3750},
          {false, 4, 8700, 4050},
          {true, 8, 7800, 5500}},
         DECISION_PASS},
    };
    for (const SITUATION& s : situations) {
        SCOPED_TRACE(s.pszName);
        Start(5);
        Arrange(s.places);
        CMatchPlayer& p = *Player(s.places[0].bHome, s.places[0].nSlot);
        EXPECT_EQ(Decide(p), s.byExpected) << "rating " << p.GetBestKickRating();
        m_Engine.EndGame();
    }
}

// Aimed where the striker stands, 12 m behind the defenders, a cross from
// the wing 23 m out is a ball played back: it goes in level with their
// line, in front of him, and he runs on to it.
TEST_F(FootballerTest, AnOpenPlayCrossGoesInLevelWithTheDefendersLine)
{
    Start(5);
    Arrange({{true, 7, 7700, 700}, {true, 9, 6900, 3700}, {false, 0, 9950, 3750}, {false, 3, 8300, 3750}});
    m_pAway->UpdateOffsideLine();
    ASSERT_EQ(m_pAway->GetOffsideLine(), At(8300, 0).x) << "the defender is the line";
    CMatchPlayer& p = *Player(true, 7);
    ASSERT_EQ(Decide(p), DECISION_CROSS);
    EXPECT_EQ(p.GetDecisionPartner(), Player(true, 9));
    EXPECT_EQ(p.GetTarget().x, At(8300, 0).x);
    EXPECT_EQ(p.GetTarget().y, 3700);
    const int32_t d = IntegerRoot(p.GetKickPoint().SquaredDistance2D(p.GetTarget()));
    EXPECT_FLOAT_EQ(p.GetFlightTime(), std::max(2.0f, float(d) / float(p.GetCurrentKickSpeed())));
}

TEST_F(FootballerTest, ShotsLeaveTheFootWithTheirVelocityAndBoundedError)
{
    auto kicks = [this](int nCount) {
        Start(5);
        std::vector<CVector> velocities;
        for (int i = 0; i < nCount; ++i) {
            Arrange({{true, 9, 8800, 3750}, {false, 0, 9950, 3750}});
            CMatchPlayer& p = *Player(true, 9);
            EXPECT_EQ(Decide(p), DECISION_SHOOT);
            p.KickBall();
            velocities.push_back(m_pBall->GetVelocity());
        }
        return velocities;
    };
    const std::vector<CVector> first = kicks(120);

    CMatchPlayer& p = *Player(true, 9);
    Arrange({{true, 9, 8800, 3750}, {false, 0, 9950, 3750}});
    ASSERT_EQ(Decide(p), DECISION_SHOOT);
    const CVector aim = p.GetTarget();
    const CVector clean = p.GetKickVelocity();
    // Along the ground, fast enough that the rolling friction still lets it
    // reach the aim in the flight time.
    EXPECT_NEAR(std::atan2(double(clean.x), double(clean.y)), p.GetPosition().GetAngleTo(aim), 0.01);
    const double fFlight = p.GetFlightTime();
    const double fDistance = IntegerRoot(p.GetPosition().SquaredDistance2D(aim));
    EXPECT_NEAR(fFlight, fDistance / p.GetCurrentKickSpeed(), 1e-3);
    EXPECT_NEAR(HorizontalLength(clean) * fFlight - 0.5 * CMatchBall::kRollingFriction * fFlight * fFlight, fDistance,
                5.0);
    EXPECT_EQ(clean.z, 0);

    const int e = p.GetKickError();
    ASSERT_GT(e, 0);
    EXPECT_LT(e, 100);
    const double fClean = std::atan2(double(clean.x), double(clean.y));
    double fWidest = 0.0;
    bool bSpeedVaried = false;
    for (const CVector& v : first) {
        const double fError = std::fabs(WrapAngle(std::atan2(double(v.x), double(v.y)) - fClean));
        EXPECT_LE(fError, e * kPi / 400 + 0.01);
        fWidest = std::max(fWidest, fError);
        const double fRatio = double(HorizontalLength(v)) / HorizontalLength(clean);
        EXPECT_GE(fRatio, 1.0 - e / 100.0 - 0.01);
        EXPECT_LE(fRatio, 1.0 + e / 100.0 + 0.01);
        bSpeedVaried = bSpeedVaried || std::fabs(fRatio - 1.0) > 0.02;
    }
    EXPECT_GT(fWidest, 0.6 * e * kPi / 400) << "the error spread is too narrow";
    EXPECT_TRUE(bSpeedVaried);
    m_Engine.EndGame();
    EXPECT_EQ(kicks(120), first) << "the same seed kicks the same";
}

// A pass from the feet through the kick animation: the ball leaves where
// his foot meets it, not from where the animation's ball has flown on to,
// and rolls out to its aim against the friction of the grass.
TEST_F(FootballerTest, APassLeavesFromHisFootAndReachesItsAim)
{
    for (const int32_t nLength : {900, 1500, 1900}) {
        SCOPED_TRACE(nLength);
        Start(4);
        GiveModels();
        Arrange({{true, 6, 4000, 3750}, {true, 7, 4000 + nLength, 3750}, {false, 0, 9950, 3750}});
        CMatchPlayer& p = *Player(true, 6);
        ASSERT_EQ(Decide(p), DECISION_PASS);
        ASSERT_TRUE(p.StartKick());
        const CVector from = p.GetPosition(), aim = p.GetTarget();
        const float fFlight = p.GetFlightTime();
        int nTick = 0;
        for (; nTick < 100 && m_pBall->GetHolder() == &p; ++nTick) {
            m_pBall->Update(MATCH_TICK_MS, m_Engine.GetEngineClock());
            p.UpdateAnimation(MATCH_TICK_MS);
        }
        ASSERT_EQ(m_pBall->GetHolder(), nullptr) << "never struck";
        EXPECT_LT(IntegerRoot(m_pBall->GetPosition().SquaredDistance2D(from)), 200) << "struck away from his foot";
        // Nobody takes it: it rolls to its aim within the flight time.
        int32_t nNearest = 999999;
        for (int n = 0; n * MATCH_TICK_MS < uint32_t(fFlight * 1000.0f) + 300; ++n) {
            m_pBall->Update(MATCH_TICK_MS, m_Engine.GetEngineClock());
            nNearest = std::min(nNearest, IntegerRoot(m_pBall->GetPosition().SquaredDistance2D(aim)));
        }
        EXPECT_LT(nNearest, 150) << "the pass died short of its aim";
        m_Engine.EndGame();
    }
}

// With nobody between him and the goal, a shot goes at once from near it;
// from well beyond the penalty area the chance is too poor to take
// unpressed, and he carries the ball on or passes instead.
TEST_F(FootballerTest, AnOpenShotGoesFromCloseInButNotFromFarOut)
{
    struct CASE {
        int32_t nFromGoal;
        bool bGoes;
    };
    for (const CASE& c : {CASE{1100, true}, CASE{1900, true}, CASE{2600, false}, CASE{2900, false}}) {
        SCOPED_TRACE(c.nFromGoal);
        Start(6);
        Arrange({{true, 9, PITCH_LENGTH - c.nFromGoal, 3750}, {false, 0, 9900, 2600}});
        CMatchPlayer& p = *Player(true, 9);
        ASSERT_EQ(p.GetClub()->GetZone(p.GetPosition().x, p.GetPosition().y), 5);
        p.UpdatePressure();
        ASSERT_EQ(p.GetOnBallPressure(), 0);
        p.SetKickTarget(p.GetPosition());
        ASSERT_TRUE(p.ChooseShotTarget());
        EXPECT_EQ(p.GetKickSafety() > p.GetKickTriggerRating(DECISION_SHOOT, 0), c.bGoes)
            << "safety " << int(p.GetKickSafety());
        m_Engine.EndGame();
    }
}

TEST_F(FootballerTest, AClearanceGoesWithoutErrorAndStaysUnderItsHeight)
{
    Start(3);
    Arrange({{true, 3, 900, 3000}, {false, 0, 9950, 3750},
             {false, 9, 1100, 3000}, {false, 10, 900, 3250}, {false, 8, 700, 2800},
             {true, 5, 2500, 3750}, {false, 6, 2550, 3750}});
    CMatchPlayer& p = *Player(true, 3);
    ASSERT_EQ(Decide(p), DECISION_CLEAR);
    EXPECT_EQ(p.GetKickError(), 0);
    const CVector clean = p.GetKickVelocity();
    const unsigned dwState = plat::randState();
    p.KickBall();
    EXPECT_EQ(m_pBall->GetVelocity(), clean);
    EXPECT_EQ(plat::randState(), dwState) << "no error drawn";
    EXPECT_LE(clean.z, 1000);
    EXPECT_GT(clean.z, 0) << "a clearance is lofted";
    EXPECT_EQ(m_pBall->GetHolder(), nullptr);
    EXPECT_EQ(m_pBall->GetLastKicker(), &p);
    EXPECT_EQ(m_pBall->GetLastCause(), BALLCAUSE_CLEARANCE);
    EXPECT_EQ(p.GetAction(), ACTION_HAS_KICKED);
}

TEST_F(FootballerTest, AGoalkeeperSavesAShotAtHimAndNotOneOutOfReach)
{
    Start(9);
    SetAttributes(Player(false, 0)->GetRecord(), {{PLAYER_ATTRIBUTE_HANDLING, 9500}});
    m_Engine.EndGame();
    for (const bool bAtHim : {true, false}) {
        SCOPED_TRACE(bAtHim ? "at him" : "out of reach");
        Start(9);
        GiveModels();
        Arrange({{true, 9, 8600, 3750}, {false, 0, 9900, 3750}});
        CMatchPlayer& striker = *Player(true, 9);
        CMatchPlayer& keeper = *Player(false, 0);
        keeper.SetFacing(float(keeper.GetPosition().GetAngleTo(striker.GetPosition())));
        striker.UpdatePressure();
        striker.SetKickTarget(striker.GetPosition());
        // Struck cleanly, at him or well wide of him.
        const CVector aim = bAtHim ? keeper.GetPosition() : keeper.GetPosition() + CVector(0, 1500, 0);
        striker.SetHoldTarget(aim);
        m_pBall->SetPossessor(nullptr);
        m_pBall->StartBallInfo(BALLCAUSE_SHOT, &striker);
        m_pBall->SetVelocity(m_pBall->GetVelocityTo(aim, 0.9f));
        m_pBall->UpdatePrediction();
        bool bSaved = false;
        uint32_t dwClock = m_Engine.GetEngineClock();
        for (int nTick = 0; nTick < 40 && !bSaved && m_pBall->GetVelocity() != CVector(); ++nTick) {
            keeper.GoForBall(true);
            const int32_t nReach = m_pBall->GetInterceptPoint(&keeper, true, nullptr, nullptr);
            // As the keeper's ball-taking step tries it: only within reach.
            bSaved = nReach < 400 && keeper.TrySavingBall(nReach);
            dwClock += 70;
            m_pBall->Update(70, dwClock);
            m_pBall->UpdatePrediction();
        }
        EXPECT_EQ(bSaved, bAtHim);
        if (bAtHim)
            EXPECT_TRUE(keeper.GetAction() == ACTION_CATCHING || keeper.GetAction() == ACTION_PARRYING ||
                        keeper.GetAction() == ACTION_CONTROLLING)
                << int(keeper.GetAction());
        m_Engine.EndGame();
    }
}

TEST_F(FootballerTest, SaveAssessmentHoldsForHalfASecond)
{
    Start(4);
    Arrange({{true, 9, 8600, 3750}, {false, 0, 9900, 3750}});
    m_Engine.SetMatchClockRunning(true);
    CMatchPlayer& keeper = *Player(false, 0);
    const SAVEASSESSMENT near = keeper.AssessSave(0);
    EXPECT_EQ(keeper.AssessSave(390).nDifficulty, near.nDifficulty) << "assessed again within 500 ms";
    for (int i = 0; i < 8; ++i)
        m_Engine.PostTick();
    const SAVEASSESSMENT far = keeper.AssessSave(390);
    EXPECT_GT(far.nDifficulty, near.nDifficulty) << "a shot further from him is harder";
    EXPECT_EQ(far.nSuccess, std::clamp(100 - far.nDifficulty, 0, 100));
}

TEST_F(FootballerTest, PositionsAreScoredForTheDecisionAndKeptOffTheLines)
{
    Start(6);
    Arrange({{false, 0, 100, 3750}, {true, 6, 5000, 3000}});
    CMatchPlayer& p = *Player(true, 6);
    const CVector aim(5000, 3000, 0);
    p.SetHoldTarget(aim);
    p.SetDecision(DECISION_POSITION_BASE);
    EXPECT_FLOAT_EQ(p.AssessPosition(aim), 1.0f);
    struct CASE {
        int32_t y;
        float fFactor;  // of the same point's score away from the line
    };
    const CASE cases[] = {{400, 1.0f}, {0, 0.34f}, {-100, 0.17f}};
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.y);
        const CVector point(5000, c.y, 0);
        const float fCurve = CMatchPlayer::GetDistanceCurve(IntegerRoot(point.SquaredDistance2D(aim)), true);
        if (c.y < 0)
            EXPECT_FLOAT_EQ(p.AssessPosition(point), -1.0f) << "off the pitch while he stands on it";
        else
            EXPECT_NEAR(p.AssessPosition(point), fCurve * c.fFactor, 1e-4);
    }
    // Standing off the pitch himself, a point 200 beyond the line is worth nothing.
    p.SetPosition(CVector(5000, -300, 0));
    EXPECT_FLOAT_EQ(p.AssessPosition(CVector(5000, -200, 0)), 0.0f);
}

TEST_F(FootballerTest, SpeedGradeFollowsDistanceAndFitness)
{
    EXPECT_EQ(CMatchPlayer::GetFitnessLimitedGrade(4, 999), 0);
    EXPECT_EQ(CMatchPlayer::GetFitnessLimitedGrade(5, 999), 1);
    EXPECT_EQ(CMatchPlayer::GetFitnessLimitedGrade(9, 999), 1);
    EXPECT_EQ(CMatchPlayer::GetFitnessLimitedGrade(10, 0), 9);
    EXPECT_EQ(CMatchPlayer::GetFitnessLimitedGrade(9, 9999), 9);

    Start(6);
    Arrange({{false, 0, 100, 3750}});
    CMatchPlayer& p = *Player(true, 6);
    p.SetPosition(p.GetBasePosition());
    p.SetHoldTarget(p.GetBasePosition());
    p.ChooseSpeedGrade();
    EXPECT_EQ(p.GetSpeedIntent(), 1) << "at his place he ambles";
    EXPECT_EQ(p.GetSpeedGradeIndex(), 2);
    p.SetPosition(p.GetBasePosition() + CVector(0, 2400, 0));
    if (p.GetPosition().y > PITCH_WIDTH)
        p.SetPosition(p.GetBasePosition() - CVector(0, 2400, 0));
    p.ChooseSpeedGrade();
    EXPECT_EQ(p.GetSpeedIntent(), 10) << "far from his place he sprints back";
    EXPECT_EQ(p.GetSpeedGradeIndex(), 9);
    // Sent somewhere, the way left sets the pace: urgently when he goes for a tackle.
    p.SetTarget(p.GetPosition() + CVector(p.GetPosition().x < 5000 ? 800 : -800, 0, 0), CMatchPerson::kNoFacing);
    p.ChooseSpeedGrade();
    EXPECT_EQ(p.GetSpeedIntent(), 4);
    p.SetDecision(DECISION_TACKLE);
    p.ChooseSpeedGrade();
    EXPECT_EQ(p.GetSpeedIntent(), 7);
}

TEST_F(FootballerTest, PathMeasuresSeeTheDefenderInTheWay)
{
    Start(6);
    Arrange({{true, 6, 5000, 3750}, {false, 4, 6000, 3750}});
    const CVector from = At(5000, 3750);
    const CVector clear = At(6500, 1000), blocked = At(6500, 3750);
    EXPECT_EQ(m_pAway->GetPathClearance(from, clear), 100);
    EXPECT_EQ(m_pAway->GetPathClearance(from, blocked), 0);
    EXPECT_GT(m_pAway->GetPassInterceptRating(from, blocked, 1500), m_pAway->GetPassInterceptRating(from, clear, 1500));
    EXPECT_GT(CMatchPlayer::GetPathSafety(*m_pHome, from, clear, 700),
              CMatchPlayer::GetPathSafety(*m_pHome, from, blocked, 700));
    // A defender level with the kicker, off to the side, cannot block a shot.
    EXPECT_EQ(m_pAway->GetShotBlockRating(from, At(4000, 3750), 1500), 0);
    const CVector foot = CMatchPlayer::ProjectOntoPath(CVector(3000, 1000, 0), CVector(0, 0, 0), CVector(6000, 0, 0));
    EXPECT_NEAR(foot.x, 3000, 1 + 3000 / 100);
    EXPECT_EQ(foot.y, 0);
}

TEST_F(FootballerTest, AManAtTheKickersFootCanCutOutHisPassBehindHim)
{
    Start(6);
    const CVector from = At(5000, 3750), to = At(6500, 3750);
    struct Case {
        const char* pszName;
        int32_t x;
        int nPass, nShot;
    } cases[] = {
        // r = 100 from the foot: 100 - 150 * 100 * 2 / 600.
        {"a stride behind", 4900, 50, 0},
        {"6 m behind", 4400, 0, 0},
    };
    for (const Case& c : cases) {
        Arrange({{true, 6, 5000, 3750}, {false, 4, c.x, 3750}});
        EXPECT_EQ(m_pAway->GetPassInterceptRating(from, to, 1500), c.nPass) << c.pszName;
        EXPECT_EQ(m_pAway->GetShotBlockRating(from, to, 1500), c.nShot) << c.pszName;
    }
}

// The pass chosen as the kick began is looked at again at the strike: a
// man who stepped into its line since sends it to the other team-mate in
// front, but never to one the kick cannot turn to.
TEST_F(FootballerTest, AtTheStrikeAPassWhoseLineWasClosedGoesElsewhere)
{
    Start(5);
    struct Case {
        const char* pszName;
        int32_t nOtherForward, nOtherY;
        int nExpectedSlot;
    } cases[] = {
        {"another team-mate ahead", 6500, 4900, 8},
        {"the other team-mate behind him", 3500, 3750, 9},
    };
    for (const Case& c : cases) {
        Arrange({{true, 6, 5000, 3750}, {true, 9, 6500, 3750}, {true, 8, c.nOtherForward, c.nOtherY},
                 {false, 2, 9000, 500}, {false, 0, 9950, 3750}});
        CMatchPlayer& passer = *Player(true, 6);
        CMatchPlayer& first = *Player(true, 9);
        passer.SetFacing(float(passer.GetPosition().GetAngleTo(first.GetPosition())));
        passer.UpdatePressure();
        passer.SetKickTarget(passer.GetPosition());
        ASSERT_TRUE(passer.TryPassTo(first)) << c.pszName;
        // An opponent steps into the line as the foot comes through.
        Player(false, 4)->SetPosition(At(5750, 3750));
        passer.ChoosePassAgainAtStrike();
        EXPECT_EQ(passer.GetDecision(), DECISION_PASS) << c.pszName;
        EXPECT_EQ(passer.GetDecisionPartner(), Player(true, c.nExpectedSlot)) << c.pszName;
    }
}

TEST_F(FootballerTest, APassStartsWithTheReceiverAwaitingIt)
{
    Start(5);
    GiveModels();
    Arrange({{true, 6, 5000, 3750}, {false, 7, 5400, 3750}, {true, 9, 6500, 5000}, {false, 0, 9950, 3750}});
    CMatchPlayer& passer = *Player(true, 6);
    CMatchPlayer& receiver = *Player(true, 9);
    ASSERT_EQ(Decide(passer), DECISION_PASS);
    ASSERT_EQ(passer.GetDecisionPartner(), &receiver);
    EXPECT_FALSE(receiver.MakeAimOverrideDecision());
    ASSERT_TRUE(passer.StartKick());
    EXPECT_EQ(passer.GetAction(), ACTION_KICKING);
    EXPECT_TRUE(passer.IsRequestPending());
    // While the ball is being struck the receiver heads for where it goes.
    EXPECT_TRUE(receiver.MakeAimOverrideDecision());
    EXPECT_EQ(receiver.GetTarget(), passer.GetTarget());
    EXPECT_EQ(receiver.GetDecision(), DECISION_POSITION_BASE);
    passer.KickBall();
    EXPECT_FALSE(receiver.MakeAimOverrideDecision()) << "once the ball is away he decides for himself";
    EXPECT_EQ(receiver.GetAimOverride(), AIMOVERRIDE_NONE);
    EXPECT_EQ(m_pBall->GetLastCause(), BALLCAUSE_PASS);
}

}  // namespace
