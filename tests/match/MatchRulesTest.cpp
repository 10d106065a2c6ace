// The rules of a match between two clubs of the starting world: offside at
// the moment of a pass, the ball over a touchline or a goal line, the
// goalkeeper's six seconds, fouls and handball, each handed to the referee.
#include "OfficialsFixture.h"

#include "common/DebugLog.h"

#include <algorithm>
#include <cstdlib>

namespace {

class MatchRulesTest : public OfficialsFixture {};

// Offside cases for the club playing towards x = 10000; each also runs
// mirrored for the club playing the other way.
struct OffsideCase {
    const char* name;
    int32_t nAheadX;     // the most advanced team-mate of the kicker
    int32_t nBallX;      // the ball as it leaves the kicker's foot
    uint8_t byEvent;
    bool bKickerAhead;   // the kicker himself is the most advanced
    int nLikelihood;     // -1: no record at all
};

TEST_F(MatchRulesTest, OffsideIsJudgedAtThePassFromTheDefendingLine)
{
    // The defending club's last outfield man stands at 8000 (2000 from the
    // high end): its line is there while the ball is behind it.
    const OffsideCase cases[] = {
        {"level with the line", 8000, 8000, MATCHEVENT_NONE, false, 30},
        {"level, passed from 1000 back", 8000, 7000, MATCHEVENT_NONE, false, 0},
        {"200 beyond at the ball", 8200, 8200, MATCHEVENT_NONE, false, 50},
        {"1200 beyond at the ball", 9200, 9200, MATCHEVENT_NONE, false, 100},
        {"600 beyond, 400 from the ball", 8600, 8200, MATCHEVENT_NONE, false, 70},
        {"beyond but far from the ball", 9000, 6000, MATCHEVENT_NONE, false, 0},
        {"in his own half", 4900, 4800, MATCHEVENT_NONE, false, -1},
        {"on the half-way line, the ball just past it", 5000, 5001, MATCHEVENT_NONE, false, -1},
        {"ball played from his own half", 8600, 4500, MATCHEVENT_NONE, false, -1},
        {"the kicker is the most advanced", 8600, 8600, MATCHEVENT_NONE, true, -1},
        {"at a free kick", 8200, 8200, MATCHEVENT_FREEKICK, false, 50},
        {"at a throw-in", 8200, 8200, MATCHEVENT_THROWIN, false, -1},
        {"at a corner", 8200, 8200, MATCHEVENT_CORNER, false, -1},
    };
    for (bool bMirror : {false, true}) {
        CMatchClub& attack = bMirror ? *m_pLow : *m_pHigh;
        CMatchClub& defend = bMirror ? *m_pHigh : *m_pLow;
        auto X = [bMirror](int32_t x) { return bMirror ? PITCH_LENGTH - x : x; };
        for (const OffsideCase& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (bMirror ? ", towards x = 0" : ", towards x = 10000"));
            m_Engine.SetMatchEvent(MATCHEVENT_NONE);
            LineUpOutfield(defend, X(6500));
            defend.GetSlot(4)->SetPosition(CVector(X(8000), 3000, 0));
            m_pBall->SetPosition(X(6000), 3750, 0, false);
            defend.UpdateOffsideLine();
            ASSERT_EQ(defend.GetOffsideLine(), X(8000));

            LineUpOutfield(attack, X(3000));
            CMatchPlayer* pAhead = attack.GetSlot(9);
            CMatchPlayer* pKicker = c.bKickerAhead ? pAhead : attack.GetSlot(6);
            pAhead->SetPosition(CVector(X(c.nAheadX), 2000, 0));
            if (!c.bKickerAhead)
                pKicker->SetPosition(CVector(X(c.nBallX - 50), 2000, 0));
            m_pBall->SetPosition(X(c.nBallX), 2000, 0, false);
            m_Engine.SetMatchEvent(c.byEvent);
            m_Judge.records.clear();
            m_Engine.CheckOffside(pKicker);
            if (c.nLikelihood < 0) {
                EXPECT_TRUE(m_Judge.records.empty());
                continue;
            }
            ASSERT_EQ(m_Judge.records.size(), 1u);
            const MatchCauseRecord& r = m_Judge.records[0];
            EXPECT_EQ(r.byCause, CAUSE_OFFSIDE);
            EXPECT_EQ(r.byLikelihood, c.nLikelihood);
            EXPECT_EQ(r.pPlayer, pAhead);
            EXPECT_EQ(r.pPlayerClub, &attack);
            EXPECT_EQ(r.pClubAwarded, &defend);
            EXPECT_EQ(r.pSecondPlayer, nullptr);
            EXPECT_EQ(r.vPosition, pAhead->GetPosition());
            EXPECT_EQ(r.dwMatchTime, m_Engine.GetEngineClock());
        }
    }
}

TEST_F(MatchRulesTest, TheDefendingLineStaysInItsOwnHalfAndGoesNoDeeperThanTheBall)
{
    struct LineCase {
        int32_t nDefenderX, nBallX, nLine;  // for the club defending x = 10000
    } cases[] = {
        {8000, 6000, 8000}, {8000, 9000, 9000}, {4000, 3000, 5000}, {5000, 5000, 5000}, {5001, 0, 5001},
        {9900, 10400, 10000},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.nDefenderX);
        LineUpOutfield(*m_pLow, 2000);
        m_pLow->GetSlot(3)->SetPosition(CVector(c.nDefenderX, 3000, 0));
        LineUpOutfield(*m_pHigh, PITCH_LENGTH - 2000);
        m_pHigh->GetSlot(3)->SetPosition(CVector(PITCH_LENGTH - c.nDefenderX, 3000, 0));
        m_pBall->SetPosition(c.nBallX, 3750, 0, false);
        m_pLow->UpdateOffsideLine();
        m_pBall->SetPosition(PITCH_LENGTH - c.nBallX, 3750, 0, false);
        m_pHigh->UpdateOffsideLine();
        EXPECT_EQ(m_pLow->GetOffsideLine(), c.nLine);
        EXPECT_EQ(m_pHigh->GetOffsideLine(), PITCH_LENGTH - c.nLine);
    }
}

TEST_F(MatchRulesTest, BallOverALineGivesTheRightCauseAndSide)
{
    CMatchPlayer* pHighMan = m_pHigh->GetSlot(7);  // plays towards x = 10000
    CMatchPlayer* pLowMan = m_pLow->GetSlot(7);
    struct LineCase {
        const char* name;
        CMatchPlayer* pToucher;
        CVector at;
        uint8_t byCause;      // CAUSE_NONE: nothing reported
        CMatchClub* pAwarded;
    } cases[] = {
        {"over the near touchline", pHighMan, {3000, -40, 0}, CAUSE_BALL_OFF_SIDE, m_pLow},
        {"over the far touchline", pLowMan, {7000, 7540, 50}, CAUSE_BALL_OFF_SIDE, m_pHigh},
        {"on the touchline", pHighMan, {3000, -30, 0}, CAUSE_NONE, nullptr},
        {"wide of the goal", pHighMan, {10040, 1000, 0}, CAUSE_BALL_OFF_END, m_pLow},
        {"wide of the other goal", pHighMan, {-40, 6000, 0}, CAUSE_BALL_OFF_END, m_pLow},
        {"into the goal at x = 10000", pHighMan, {10040, 3750, 100}, CAUSE_GOAL, m_pLow},
        {"own goal at x = 0", pHighMan, {-40, 3750, 100}, CAUSE_GOAL, m_pHigh},
        {"over the bar", pLowMan, {-40, 3750, 290}, CAUSE_BALL_OFF_END, m_pHigh},
        {"past the post", pLowMan, {-40, 4170, 50}, CAUSE_BALL_OFF_END, m_pHigh},
        {"on the goal line", pLowMan, {-31, 3750, 50}, CAUSE_NONE, nullptr},
        {"behind the net", pLowMan, {-210, 3750, 50}, CAUSE_BALL_OFF_END, m_pHigh},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_Judge.records.clear();
        MoveBallFromInside(c.pToucher, c.at);
        if (c.byCause == CAUSE_NONE) {
            EXPECT_TRUE(m_Judge.records.empty());
            continue;
        }
        ASSERT_EQ(m_Judge.records.size(), 1u);
        const MatchCauseRecord& r = m_Judge.records[0];
        EXPECT_EQ(r.byCause, c.byCause);
        EXPECT_EQ(r.byLikelihood, 100);
        EXPECT_EQ(r.pPlayer, c.pToucher);
        EXPECT_EQ(r.pPlayerClub, c.pToucher->GetClub());
        EXPECT_EQ(r.pClubAwarded, c.pAwarded);
        EXPECT_EQ(r.vPosition, c.at);
        // Left lying out in open play it is reported again every tick until
        // the officials take it up; after that it is not.
        const MatchCauseRecord taken = r;
        m_pBall->UpdatePrediction();
        ASSERT_EQ(m_Judge.records.size(), 2u);
        EXPECT_EQ(m_Judge.records[1].byCause, c.byCause);
        m_Judge.CMatchAssistantReferee::CheckForCause(taken);
        m_pBall->UpdatePrediction();
        EXPECT_EQ(m_Judge.records.size(), 2u);
        MatchCauseRecord other = taken;
        other.byCause = CAUSE_OFFSIDE;
        m_Judge.CMatchAssistantReferee::CheckForCause(other);
    }
}

TEST_F(MatchRulesTest, ABallLeftOutWhileNoCrossingWasJudgedIsJudgedLater)
{
    CMatchPlayer* pShooter = m_pHigh->GetSlot(9);
    // The ball crossed while a restart was still running, so nobody judged
    // the crossing; once play is open again it is judged where it lies.
    m_pBall->SetPosition(5000, 3750, 0, false);
    m_pBall->StartBallInfo(BALLCAUSE_SHOT, pShooter);
    m_pBall->UpdatePrediction();
    m_Engine.SetMatchEvent(MATCHEVENT_FREEKICK);
    m_pBall->SetPosition(10100, 3750, 0, false);
    m_pBall->UpdatePrediction();
    EXPECT_TRUE(m_Judge.records.empty());
    m_Engine.SetMatchEvent(MATCHEVENT_NONE);
    m_pBall->UpdatePrediction();
    ASSERT_EQ(m_Judge.records.size(), 1u);
    EXPECT_EQ(m_Judge.records[0].byCause, CAUSE_GOAL);
    EXPECT_EQ(m_Judge.records[0].pClubAwarded, m_pLow);

    // A ball thrown in from beyond the touchline is not out before it has
    // come in, unless it lies still out there.
    m_Judge.records.clear();
    m_Engine.SetMatchEvent(MATCHEVENT_THROWIN);
    m_pBall->SetPosition(3000, -100, 0, false);
    m_pBall->UpdatePrediction();
    m_Engine.SetMatchEvent(MATCHEVENT_NONE);
    m_pBall->SetVelocity(CVector(0, 800, 0));
    m_pBall->UpdatePrediction();
    EXPECT_TRUE(m_Judge.records.empty());
    m_pBall->SetVelocity(CVector());
    m_pBall->UpdatePrediction();
    ASSERT_EQ(m_Judge.records.size(), 1u);
    EXPECT_EQ(m_Judge.records[0].byCause, CAUSE_BALL_OFF_SIDE);
}

TEST_F(MatchRulesTest, WhoIsCreditedAndWhenTheBallOutIsNotJudged)
{
    CMatchPlayer* pShooter = m_pHigh->GetSlot(9);
    CMatchPlayer* pKeeper = m_pLow->GetSlot(0);
    const CVector inGoal(10040, 3750, 100);

    // A shot parried in by the goalkeeper is the shooter's goal.
    m_pBall->SetPosition(9000, 3750, 50, false);
    m_pBall->StartBallInfo(BALLCAUSE_SHOT, pShooter);
    m_pBall->UpdatePrediction();
    m_pBall->StartBallInfo(BALLCAUSE_DEFLECTION, pKeeper);
    m_pBall->SetPosition(inGoal.x, inGoal.y, inGoal.z, false);
    m_pBall->UpdatePrediction();
    ASSERT_EQ(m_Judge.records.size(), 1u);
    EXPECT_EQ(m_Judge.records[0].byCause, CAUSE_GOAL);
    EXPECT_EQ(m_Judge.records[0].pPlayer, pShooter);
    EXPECT_EQ(m_Judge.records[0].pPlayerClub, m_pHigh);
    EXPECT_EQ(m_Judge.records[0].pClubAwarded, m_pLow);

    // Straight in from an indirect free kick is a goal kick; straight in
    // from a corner counts; once anyone else touched it, it counts too.
    m_Engine.SetFollowedRestart(MATCHEVENT_FREEKICK, pShooter);
    m_Judge.records.clear();
    MoveBallFromInside(pShooter, inGoal);
    ASSERT_EQ(m_Judge.records.size(), 1u);
    EXPECT_EQ(m_Judge.records[0].byCause, CAUSE_BALL_OFF_END);
    EXPECT_EQ(m_Judge.records[0].pClubAwarded, m_pLow);
    m_Judge.records.clear();
    MoveBallFromInside(m_pHigh->GetSlot(8), inGoal);
    ASSERT_EQ(m_Judge.records.size(), 1u);
    EXPECT_EQ(m_Judge.records[0].byCause, CAUSE_GOAL);
    m_Engine.SetFollowedRestart(MATCHEVENT_CORNER, pShooter);
    m_Judge.records.clear();
    MoveBallFromInside(pShooter, inGoal);
    ASSERT_EQ(m_Judge.records.size(), 1u);
    EXPECT_EQ(m_Judge.records[0].byCause, CAUSE_GOAL);
    m_Engine.SetFollowedRestart(MATCHEVENT_NONE, nullptr);

    // In a shoot-out the restart after a goal goes to the opponent of the
    // referee's restart club.
    m_Engine.SetMatchPeriod(MATCHPERIOD_SHOOTOUT);
    MatchCauseRecord kick;
    kick.byCause = CAUSE_HAND_BALL;
    kick.byLikelihood = 100;
    kick.pPlayerClub = m_pLow;
    kick.vPosition = m_Judge.GetPosition();
    m_Judge.CMatchAssistantReferee::CheckForCause(kick);
    ASSERT_EQ(m_Judge.GetRestartClub(), m_pLow);
    m_Judge.records.clear();
    MoveBallFromInside(pShooter, inGoal);
    ASSERT_EQ(m_Judge.records.size(), 1u);
    EXPECT_EQ(m_Judge.records[0].pClubAwarded, m_pHigh);
    m_Engine.SetMatchPeriod(MATCHPERIOD_FIRSTHALF);

    // While a goal stands as the referee's verdict, away from open play,
    // or with nobody on the ball, nothing is reported.
    kick.byCause = CAUSE_GOAL;
    m_Judge.CMatchAssistantReferee::CheckForCause(kick);
    m_Judge.records.clear();
    MoveBallFromInside(pShooter, inGoal);
    EXPECT_TRUE(m_Judge.records.empty());
    kick.byCause = CAUSE_OFFSIDE;
    m_Judge.CMatchAssistantReferee::CheckForCause(kick);
    m_Engine.SetMatchEvent(MATCHEVENT_THROWIN);
    MoveBallFromInside(pShooter, CVector(3000, -40, 0));
    MoveBallFromInside(pShooter, inGoal);
    EXPECT_TRUE(m_Judge.records.empty());
}

TEST_F(MatchRulesTest, NoLastPlayerOnTheBallIsLoggedAndTheDefendingSideRestarts)
{
    // A fresh match: nobody has touched the ball yet.
    std::vector<std::string> lines;
    SetDebugLogSink([&lines](int, const std::string& line) { lines.push_back(line); });
    m_pBall->SetPosition(5000, 3750, 0, false);
    m_pBall->UpdatePrediction();
    m_pBall->SetPosition(10040, 3750, 50, false);
    m_pBall->UpdatePrediction();
    m_pBall->SetPosition(5000, 3750, 0, false);
    m_pBall->UpdatePrediction();
    m_pBall->SetPosition(2000, -40, 0, false);
    m_pBall->UpdatePrediction();
    SetDebugLogSink(nullptr);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "[CMatchEngine::CheckBallOffPitchEnd] Ball has no last player"),
              1);
    // Play does not go on with the ball out: a goal kick to the side whose
    // goal line it crossed, a throw-in to the side defending that half.
    ASSERT_EQ(m_Judge.records.size(), 2u);
    EXPECT_EQ(m_Judge.records[0].byCause, CAUSE_BALL_OFF_END);
    EXPECT_EQ(m_Judge.records[0].pPlayer, nullptr);
    EXPECT_EQ(m_Judge.records[0].pClubAwarded, m_pLow);
    EXPECT_EQ(m_Judge.records[1].byCause, CAUSE_BALL_OFF_SIDE);
    EXPECT_EQ(m_Judge.records[1].pClubAwarded, m_pHigh);
}

TEST_F(MatchRulesTest, GoalkeeperHoldingTheBallTooLongIsReportedEveryTick)
{
    CMatchPlayer* pKeeper = m_pHigh->GetSlot(0);
    pKeeper->SetPosition(CVector(800, 3750, 0));
    m_pBall->SetPosition(800, 3750, 100, false);
    m_pBall->SetPossessor(pKeeper);
    m_pBall->SetHeld(true);
    const uint32_t dwTaken = m_Engine.GetEngineClock();
    uint32_t dwClock = 0;
    for (int i = 0; i < 300; ++i) {
        dwClock += 70;
        m_Engine.Tick(70, dwClock);
        m_Engine.PostTick();
    }
    ASSERT_FALSE(m_Judge.records.empty());
    int nAt12 = -1, nLast = -1;
    for (const MatchCauseRecord& r : m_Judge.records) {
        const uint32_t dwHeld = r.dwMatchTime - dwTaken;
        EXPECT_EQ(r.byCause, CAUSE_SIX_SECOND_RULE);
        EXPECT_EQ(r.pPlayer, pKeeper);
        EXPECT_EQ(r.pClubAwarded, m_pLow);
        EXPECT_GE(dwHeld, 6000u) << "reported before six seconds";
        EXPECT_GE(int(r.byLikelihood), nLast);
        nLast = r.byLikelihood;
        if (dwHeld == 12040)
            nAt12 = r.byLikelihood;
    }
    EXPECT_EQ(m_Judge.records.front().dwMatchTime - dwTaken, 6020u);
    EXPECT_EQ(m_Judge.records.front().byLikelihood, 0);
    EXPECT_EQ(nAt12, 50);
    EXPECT_EQ(m_Judge.records.back().byLikelihood, 100);
    EXPECT_EQ(m_Judge.records.size(), size_t(300 - 6020 / 70));
}

TEST_F(MatchRulesTest, FoulsAndHandballGoToTheReferee)
{
    CMatchPlayer* pTackler = m_pLow->GetSlot(4);
    CMatchPlayer* pFouled = m_pHigh->GetSlot(9);
    pFouled->SetPosition(CVector(6000, 2000, 0));
    m_Engine.ReportTackle(pTackler, pFouled);
    ASSERT_EQ(m_Judge.records.size(), 1u);
    EXPECT_EQ(m_Judge.records[0].byCause, CAUSE_TACKLE_FROM_BEHIND);
    EXPECT_LT(m_Judge.records[0].byLikelihood, 100);
    EXPECT_EQ(m_Judge.records[0].pSecondPlayer, pFouled);
    EXPECT_EQ(m_Judge.records[0].pClubAwarded, m_pHigh);
    EXPECT_EQ(m_Judge.records[0].vPosition, pFouled->GetPosition());

    // Severity to likelihood: 18 plus the severity in open field, three
    // quarters of that inside either penalty area, at most 100; no severity,
    // no report. A hard tackle of an ordinary player (severity 40) is over
    // the referee's line of 50 in open field, a soft one is not.
    struct { CVector at; int32_t nSeverity; int nLikelihood; } cases[] = {
        {{5000, 3750, 0}, 40, 58}, {{5000, 3750, 0}, 10, 28}, {{9000, 3750, 0}, 40, 43},
        {{1000, 3000, 0}, 40, 43}, {{5000, 3750, 0}, 900, 100}, {{5000, 3750, 0}, 0, -1},
    };
    for (const auto& c : cases) {
        m_Judge.records.clear();
        m_Engine.ReportAggressivePlay(pTackler, c.at, c.nSeverity);
        if (c.nLikelihood < 0) {
            EXPECT_TRUE(m_Judge.records.empty());
            continue;
        }
        ASSERT_EQ(m_Judge.records.size(), 1u);
        EXPECT_EQ(m_Judge.records[0].byCause, CAUSE_AGGRESSIVE_PLAY);
        EXPECT_EQ(m_Judge.records[0].byLikelihood, c.nLikelihood) << c.at.x;
        EXPECT_EQ(m_Judge.records[0].pClubAwarded, m_pHigh);
    }

    // A goalkeeper handling in his own area is never reported; an outfield
    // player catching the ball always is; a low touch never is.
    CMatchPlayer* pKeeper = m_pHigh->GetSlot(0);
    pKeeper->SetPosition(CVector(900, 3750, 0));
    pKeeper->SetAction(8);
    m_pBall->SetPosition(900, 3750, 150, false);
    m_Judge.records.clear();
    for (int i = 0; i < 50; ++i)
        m_Engine.CheckHandball(pKeeper);
    EXPECT_TRUE(m_Judge.records.empty());
    pFouled->SetAction(8);
    m_Engine.CheckHandball(pFouled);
    ASSERT_EQ(m_Judge.records.size(), 1u);
    EXPECT_EQ(m_Judge.records[0].byCause, CAUSE_HAND_BALL);
    EXPECT_EQ(m_Judge.records[0].pClubAwarded, m_pLow);
    pFouled->SetAction(0);
    m_pBall->SetPosition(6000, 2000, 40, false);
    m_Judge.records.clear();
    for (int i = 0; i < 500; ++i)
        m_Engine.CheckHandball(pFouled);
    EXPECT_TRUE(m_Judge.records.empty());
    // A high touch is reported now and then.
    m_pBall->SetPosition(6000, 2000, 120, false);
    srand(3);
    for (int i = 0; i < 2000; ++i)
        m_Engine.CheckHandball(pFouled);
    EXPECT_GT(m_Judge.records.size(), 10u);
    EXPECT_LT(m_Judge.records.size(), 100u);
}

}  // namespace
