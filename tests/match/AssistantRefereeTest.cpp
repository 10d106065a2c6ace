// The assistant referees of a match between two clubs of the starting world:
// where each runs along his line, how he judges the causes reported to the
// referee, and the flag he raises for the one he accepted.
#include "OfficialsFixture.h"

#include <algorithm>
#include <cmath>

namespace {

class AssistantRefereeTest : public OfficialsFixture {};

TEST_F(AssistantRefereeTest, EachStartsOnHisLineFacingThePitch)
{
    EXPECT_EQ(m_Line0.GetPersonType(), PERSONTYPE_ASSISTANTREFEREE);
    EXPECT_EQ(m_Line0.GetPosition(), CVector(5000, -100, 0));
    EXPECT_EQ(m_Line1.GetPosition(), CVector(5000, 7600, 0));
    EXPECT_EQ(m_Line0.GetBasePosition(), CVector(7500, -100, 0));
    EXPECT_EQ(m_Line1.GetBasePosition(), CVector(2500, 7600, 0));
    EXPECT_FLOAT_EQ(m_Line0.GetSignallingFacing(), 0.0f);
    EXPECT_FLOAT_EQ(m_Line1.GetSignallingFacing(), float(M_PI));
    m_Line1.SetFacingTarget();
    EXPECT_FLOAT_EQ(m_Line1.GetFacingTargetAngle(), float(M_PI));
    EXPECT_STREQ(m_Line0.GetCauseName(), "None");
    EXPECT_STREQ(CMatchAssistantReferee::GetCauseName(CAUSE_SIX_SECOND_RULE), "Six Second Rule");
    EXPECT_STREQ(CMatchAssistantReferee::GetCauseName(CAUSE_TIME_WASTING), "Time Wasting");
}

TEST_F(AssistantRefereeTest, KeepsLevelWithTheLastDefenderOfHisHalfWithinHisLine)
{
    // Side 0 watches the club defending x = 10000, side 1 the other; each
    // runs at most 1250 either way of his base point (7500 and 2500).
    struct LineCase {
        const char* name;
        int32_t nDefenderX, nBallX;  // for the club defending x = 10000
        int32_t nLine0X;
    } cases[] = {
        {"level with the defender", 8200, 6000, 8200},
        {"level with the ball beyond him", 7000, 7600, 7600},
        {"a deep line held at the end of his run", 9500, 6000, 8750},
        {"a line at half-way held at the start of his run", 5500, 3000, 6250},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        LineUpOutfield(*m_pLow, 2000);
        m_pLow->GetSlot(2)->SetPosition(CVector(c.nDefenderX, 2500, 0));
        LineUpOutfield(*m_pHigh, PITCH_LENGTH - 2000);
        m_pHigh->GetSlot(2)->SetPosition(CVector(PITCH_LENGTH - c.nDefenderX, 2500, 0));
        // The lines follow at the tick; each club's line from the ball at its end.
        m_pBall->SetPosition(c.nBallX, 3750, 0, false);
        m_pLow->UpdateOffsideLine();
        m_pBall->SetPosition(PITCH_LENGTH - c.nBallX, 3750, 0, false);
        m_pHigh->UpdateOffsideLine();
        EXPECT_EQ(m_Line0.ChooseLineTarget(), CVector(c.nLine0X, -100, 0));
        EXPECT_EQ(m_Line1.ChooseLineTarget(), CVector(PITCH_LENGTH - c.nLine0X, 7600, 0));
    }

    // His decision runs him to that point.
    m_Line0.MakeDecision();
    EXPECT_EQ(m_Line0.GetTarget(), m_Line0.ChooseLineTarget());

    // At a restart he goes level with it, a little ahead at a throw-in.
    m_Engine.SetMatchEvent(MATCHEVENT_FREEKICK);
    m_Line0.SetEventPosition(CVector(7000, 0, 0));
    m_Line1.SetEventPosition(CVector(2100, 7500, 0));
    EXPECT_EQ(m_Line0.ChooseLineTarget(), CVector(7000, -100, 0));
    EXPECT_EQ(m_Line1.ChooseLineTarget(), CVector(2100, 7600, 0));
    m_Engine.SetMatchEvent(MATCHEVENT_THROWIN);
    EXPECT_EQ(m_Line0.ChooseLineTarget(), CVector(7300, -100, 0));
    EXPECT_EQ(m_Line1.ChooseLineTarget(), CVector(1800, 7600, 0));

    // At full time both go to the tunnel; in a shoot-out side 0 watches the goal line.
    m_Engine.SetMatchPeriod(MATCHPERIOD_ENDOFNORMALTIME);
    EXPECT_EQ(m_Line0.ChooseLineTarget(), CVector(5000, -1500, 0));
    EXPECT_EQ(m_Line1.ChooseLineTarget(), CVector(5000, -1500, 0));
    m_Engine.SetMatchPeriod(MATCHPERIOD_SHOOTOUT);
    EXPECT_EQ(m_Line0.ChooseLineTarget(), CVector(-30, 2484, 0));
    EXPECT_EQ(m_Line1.ChooseLineTarget(), CVector(2500, 7600, 0));
}

TEST_F(AssistantRefereeTest, RunsAlongHisLineToTheDefenderTickByTick)
{
    GiveOfficialsModels();
    LineUpOutfield(*m_pLow, 6000);
    m_pLow->GetSlot(2)->SetPosition(CVector(8000, 2500, 0));
    LineUpOutfield(*m_pHigh, 3500);
    m_pHigh->GetSlot(2)->SetPosition(CVector(2800, 2500, 0));
    m_pBall->SetPosition(5000, 3750, 0, false);
    uint32_t dwClock = 0;
    for (int i = 0; i < 150; ++i) {
        dwClock += 70;
        m_Engine.Tick(70, dwClock);
        m_Engine.PostTick();
    }
    EXPECT_EQ(m_pLow->GetOffsideLine(), 8000);
    EXPECT_EQ(m_pHigh->GetOffsideLine(), 2800);
    // Level with the line, on the touchline, facing the pitch.
    EXPECT_NEAR(m_Line0.GetPosition().x, 8000, 150);
    EXPECT_NEAR(m_Line0.GetPosition().y, -100, 60);
    EXPECT_NEAR(m_Line1.GetPosition().x, 2800, 150);
    EXPECT_NEAR(m_Line1.GetPosition().y, 7600, 60);
    EXPECT_LT(std::fabs(WrapAngle(m_Line0.GetFacing() - m_Line0.GetSignallingFacing())), 0.8);
    EXPECT_LT(std::fabs(WrapAngle(m_Line1.GetFacing() - m_Line1.GetSignallingFacing())), 0.8);
}

TEST_F(AssistantRefereeTest, JudgesReportedCausesByLikelihoodAndView)
{
    MatchCauseRecord record;
    record.byCause = CAUSE_OFFSIDE;
    record.pPlayer = m_pHigh->GetSlot(9);
    record.pPlayerClub = m_pHigh;
    record.pClubAwarded = m_pLow;

    // Right in front of him (view 100): no noise, 50 is the edge.
    record.vPosition = CVector(5000, -100, 0);
    record.byLikelihood = 49;
    m_Line0.CheckForCause(record);
    EXPECT_EQ(m_Line0.GetResolvedCause(), CAUSE_NONE);
    EXPECT_EQ(m_Line0.GetNoiseHalfRange(), 0);
    record.byLikelihood = 50;
    m_Line0.CheckForCause(record);
    EXPECT_EQ(m_Line0.GetResolvedCause(), CAUSE_OFFSIDE);
    EXPECT_EQ(m_Line0.GetDecision(), DECISION_SIGNAL);
    EXPECT_EQ(m_Line0.GetOffender(), record.pPlayer);
    EXPECT_EQ(m_Line0.GetRestartClub(), m_pHigh);
    EXPECT_STREQ(m_Line0.GetCauseName(), "Offside");

    // Nothing to judge leaves his verdict alone.
    record.byCause = CAUSE_HAND_BALL;
    record.byLikelihood = 0;
    m_Line0.CheckForCause(record);
    EXPECT_EQ(m_Line0.GetResolvedCause(), CAUSE_OFFSIDE);

    // Far across the pitch behind his back the noise is wide: over many
    // reports of a real offence he misses some and he gives some that are
    // not real.
    record.vPosition = CVector(5000, 2000, 50);
    int nGivenReal = 0, nGivenFalse = 0;
    srand(9);
    for (int i = 0; i < 200; ++i) {
        for (uint8_t byLikelihood : {60, 40}) {
            CMatchAssistantReferee line(m_Engine, 1);
            line.SetFacing(0.0f);
            record.byLikelihood = byLikelihood;
            line.CheckForCause(record);
            EXPECT_EQ(line.GetNoiseHalfRange(), 50);
            (byLikelihood == 60 ? nGivenReal : nGivenFalse) += line.GetResolvedCause() == CAUSE_HAND_BALL;
            if (line.GetResolvedCause() != CAUSE_NONE) {
                EXPECT_EQ(line.GetCausePosition(), CVector(5000, 2000, 0));
            }
        }
    }
    EXPECT_GT(nGivenReal, nGivenFalse);
    EXPECT_LT(nGivenReal, 200);
    EXPECT_GT(nGivenFalse, 0);
}

TEST_F(AssistantRefereeTest, RaisesTheFlagForTheCauseHeAccepted)
{
    // The flag by cause and by the way the restart club plays.
    struct FlagCase {
        uint8_t byCause;
        bool bHighClub;
        uint8_t bySide0, bySide1;
    } cases[] = {
        {CAUSE_BALL_OFF_END, true, CMatchAssistantReferee::FLAG_DOWN_LEFT, CMatchAssistantReferee::FLAG_DOWN_RIGHT},
        {CAUSE_BALL_OFF_END, false, CMatchAssistantReferee::FLAG_DOWN_RIGHT, CMatchAssistantReferee::FLAG_DOWN_LEFT},
        {CAUSE_BALL_OFF_SIDE, true, CMatchAssistantReferee::FLAG_LEFT, CMatchAssistantReferee::FLAG_RIGHT},
        {CAUSE_BALL_OFF_SIDE, false, CMatchAssistantReferee::FLAG_RIGHT, CMatchAssistantReferee::FLAG_LEFT},
        {CAUSE_OFFSIDE, true, CMatchAssistantReferee::FLAG_FORWARD, CMatchAssistantReferee::FLAG_FORWARD},
        {CAUSE_AGGRESSIVE_PLAY, false, CMatchAssistantReferee::FLAG_FORWARD, CMatchAssistantReferee::FLAG_FORWARD},
    };
    for (const FlagCase& c : cases) {
        SCOPED_TRACE(int(c.byCause) * 10 + c.bHighClub);
        for (CMatchAssistantReferee* pLine : {&m_Line0, &m_Line1}) {
            MatchCauseRecord record;
            record.byCause = c.byCause;
            record.byLikelihood = 100;
            record.pPlayerClub = c.bHighClub ? m_pHigh : m_pLow;
            record.vPosition = pLine->GetPosition();
            pLine->SetFacing(pLine->GetSignallingFacing());
            pLine->CheckForCause(record);
            ASSERT_EQ(pLine->GetResolvedCause(), c.byCause);
            EXPECT_EQ(pLine->ChooseFlagAnimation(), pLine == &m_Line0 ? c.bySide0 : c.bySide1);
        }
    }

    // Reported through the rules: a ball over the near touchline. Both
    // assistants see it and raise the flag once they face the pitch.
    GiveOfficialsModels();
    CMatchPlayer* pToucher = m_pLow->GetSlot(5);
    m_Line0.SetFacing(m_Line0.GetSignallingFacing() + 1.0f);
    MoveBallFromInside(pToucher, CVector(5000, -40, 0));
    ASSERT_EQ(m_Judge.records.size(), 1u);
    ASSERT_EQ(m_Line0.GetResolvedCause(), CAUSE_BALL_OFF_SIDE);
    EXPECT_EQ(m_Line0.GetDecision(), DECISION_SIGNAL);
    // Turned away from the pitch, he waits with the flag.
    m_Line0.MakeDecision();
    EXPECT_EQ(m_Line0.GetDecision(), DECISION_SIGNAL);
    EXPECT_NE(m_Line0.GetAction(), ACTION_SIGNALLING);
    m_Line0.SetFacing(m_Line0.GetSignallingFacing() + 0.5f);
    m_Line0.MakeDecision();
    EXPECT_EQ(m_Line0.GetDecision(), DECISION_JUDGING_MATCH);
    EXPECT_EQ(m_Line0.GetAction(), ACTION_SIGNALLING);
    EXPECT_TRUE(m_Line0.IsBusy());
    const ACTIONENTRY* pFlag = CMatchPerson::GetAnimationLibrary().GetAction(CMatchAssistantReferee::FLAG_RIGHT);
    ASSERT_NE(pFlag, nullptr);
    const auto standing = std::find_if(pFlag->records.begin(), pFlag->records.end(), [](const ACTIONRECORD& r) {
        return r.byStartMoveType == MOVETYPE_STAND;
    });
    ASSERT_NE(standing, pFlag->records.end());
    EXPECT_EQ(m_Line0.GetRequest().animation, standing->wAnimation);
    // His verdict stays after the flag.
    EXPECT_EQ(m_Line0.GetResolvedCause(), CAUSE_BALL_OFF_SIDE);
}

}  // namespace
