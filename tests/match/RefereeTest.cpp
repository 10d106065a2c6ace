// The referee of a match between two clubs of the starting world: built
// with the match and carrying his assistants, judging what the rules report
// by his own view or an assistant's, playing advantage, choosing his signal
// and taking up his place for each event.
#include "OfficialsFixture.h"

#include "match/actors/CMatchReferee.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

class RefereeTest : public OfficialsFixture {
protected:
    // A referee of his own for each case, standing at p facing +y.
    std::unique_ptr<CMatchReferee> MakeReferee(const CVector& p = CVector(5000, 3000, 0))
    {
        auto pReferee = std::make_unique<CMatchReferee>(m_Engine, m_Engine.GetMatchRules());
        pReferee->SetPosition(p);
        pReferee->SetFacing(0.0f);
        return pReferee;
    }
    MatchCauseRecord Record(uint8_t byCause, uint8_t byLikelihood, const CVector& at)
    {
        MatchCauseRecord record;
        record.byCause = byCause;
        record.byLikelihood = byLikelihood;
        record.pPlayer = m_pLow->GetSlot(4);
        record.pPlayerClub = m_pLow;
        record.pSecondPlayer = m_pHigh->GetSlot(9);
        record.pClubAwarded = m_pHigh;
        record.vPosition = at;
        record.dwMatchTime = m_Engine.GetEngineClock();
        return record;
    }
};

TEST_F(RefereeTest, TheMatchIsBuiltWithTheRefereeAndHisAssistants)
{
    // The fixture put its own officials in; a match of its own has its referee.
    CMatchEngine engine;
    ITEMMATCHRULESINFORMATION rules;
    const uint32_t dwSeed = 3;
    ASSERT_TRUE(engine.StartGame(*s_pWorld, 1, 2, 1, rules, 0, &dwSeed));
    CMatchReferee* pReferee = engine.GetReferee();
    ASSERT_NE(pReferee, nullptr);
    EXPECT_EQ(engine.GetJudgingOfficial(), pReferee);
    EXPECT_EQ(pReferee->GetPersonType(), PERSONTYPE_REFEREE);
    EXPECT_EQ(pReferee->GetPosition(), CVector(5000, 7500, 0));
    EXPECT_EQ(pReferee->GetBasePosition(), CVector(5000, 3750, 0));
    EXPECT_EQ(pReferee->GetLastRestart(), MATCHEVENT_KICKOFF);
    EXPECT_EQ(pReferee->GetAssistant(0).GetSide(), 0);
    EXPECT_EQ(pReferee->GetAssistant(1).GetPosition(), CVector(5000, 7600, 0));
    // Selection order of the debug views: players, referee, assistants.
    const int nPlayers = 2 * engine.GetHomeClub()->GetSquadCount();
    engine.SetSelectedPersonIndex(nPlayers);
    EXPECT_EQ(engine.GetSelectedPerson(), pReferee);
    engine.SetSelectedPersonIndex(nPlayers + 2);
    EXPECT_EQ(engine.GetSelectedPerson(), &pReferee->GetAssistant(1));
    engine.EndGame();
    EXPECT_EQ(engine.GetReferee(), nullptr);
    EXPECT_EQ(engine.GetJudgingOfficial(), nullptr);
}

TEST_F(RefereeTest, JudgesWhatHeSeesAndAsksTheBetterPlacedAssistantWhenHeCannot)
{
    const CVector near(5000, 3000, 0);   // at his feet: view 100, no noise
    const CVector far(5000, 300, 0);     // far behind him: view 0
    struct JudgeCase {
        const char* name;
        uint8_t byCause, byLikelihood;
        CVector at;
        uint8_t byResolved;   // CAUSE_NONE: not given
        bool bAdvantage;
        uint8_t byDecision;
        uint8_t byQuality;
    } cases[] = {
        {"a real foul he sees", CAUSE_TACKLE_FROM_BEHIND, 70, near, CAUSE_TACKLE_FROM_BEHIND, true, DECISION_SIGNAL,
         CMatchReferee::CALL_CORRECT},
        {"the ball out", CAUSE_BALL_OFF_SIDE, 100, near, CAUSE_BALL_OFF_SIDE, false, DECISION_SIGNAL,
         CMatchReferee::CALL_CORRECT},
        {"no foul", CAUSE_AGGRESSIVE_PLAY, 30, near, CAUSE_NONE, false, 0, CMatchReferee::CALL_CORRECT},
        {"nothing to judge", CAUSE_HAND_BALL, 0, near, CAUSE_NONE, false, 0, CMatchReferee::CALL_CORRECT},
        // Assistant 0 is 600 from it and facing it: he is asked and sees it.
        {"offside behind his back", CAUSE_OFFSIDE, 80, far, CAUSE_OFFSIDE, true,
         CMatchReferee::DECISION_CONSULT_ASSISTANT, CMatchReferee::CALL_CORRECT},
        {"no offside behind his back", CAUSE_OFFSIDE, 20, far, CAUSE_NONE, false, 0, CMatchReferee::CALL_CORRECT},
    };
    for (const JudgeCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto pReferee = MakeReferee();
        pReferee->CheckForCause(Record(c.byCause, c.byLikelihood, c.at));
        EXPECT_EQ(pReferee->GetResolvedCause(), c.byResolved);
        EXPECT_EQ(pReferee->IsAdvantagePending(), c.bAdvantage);
        EXPECT_EQ(pReferee->GetDecision(), c.byDecision);
        EXPECT_EQ(pReferee->GetCallQuality(), c.byQuality);
        if (c.byResolved != CAUSE_NONE) {
            EXPECT_EQ(pReferee->GetRestartClub(), m_pHigh);
            EXPECT_EQ(pReferee->GetOffender(), m_pLow->GetSlot(4));
            EXPECT_EQ(pReferee->GetStoredCause().byLikelihood, c.byLikelihood);
            EXPECT_EQ(pReferee->GetTarget(), pReferee->GetPosition());
        }
        if (c.byDecision == CMatchReferee::DECISION_CONSULT_ASSISTANT) {
            EXPECT_EQ(pReferee->GetConsultedAssistant(), 0);
        }
        // His assistants judged the same record.
        EXPECT_EQ(pReferee->GetAssistant(0).AcceptedLastRecord(), c.byLikelihood >= 50);
    }

    // Asked, the assistant is looked at until the referee faces him; then
    // the signal follows.
    auto pAsking = MakeReferee();
    pAsking->CheckForCause(Record(CAUSE_OFFSIDE, 80, far));
    ASSERT_EQ(pAsking->GetDecision(), CMatchReferee::DECISION_CONSULT_ASSISTANT);
    pAsking->SetFacing(1.0f);
    pAsking->SetFacingTarget();
    EXPECT_TRUE(pAsking->ConsultAssistant());
    EXPECT_EQ(pAsking->GetTarget(), pAsking->GetAssistant(0).GetPosition());
    pAsking->SetFacingTarget();
    pAsking->SetFacing(float(M_PI) - 0.1f);
    EXPECT_FALSE(pAsking->ConsultAssistant());
    EXPECT_EQ(pAsking->GetDecision(), DECISION_SIGNAL);

    // An assistant's older verdict does not stand for a new record he refused.
    auto pReferee = MakeReferee();
    pReferee->GetAssistant(0).CheckForCause(Record(CAUSE_BALL_OFF_END, 100, far));
    ASSERT_EQ(pReferee->GetAssistant(0).GetResolvedCause(), CAUSE_BALL_OFF_END);
    pReferee->CheckForCause(Record(CAUSE_HAND_BALL, 20, far));
    EXPECT_EQ(pReferee->GetResolvedCause(), CAUSE_NONE);

    // A real goal he cannot see well is sometimes missed, and then nothing
    // is given; seen, the conceding goalkeeper is frustrated.
    int nMissed = 0, nGiven = 0;
    srand(4);
    for (int i = 0; i < 100; ++i) {
        auto pOther = MakeReferee();
        m_pHigh->GetSlot(0)->SetDecision(0);
        pOther->CheckForCause(Record(CAUSE_GOAL, 60, far));
        if (pOther->GetResolvedCause() == CAUSE_GOAL) {
            ++nGiven;
            EXPECT_EQ(m_pHigh->GetSlot(0)->GetDecision(), CMatchReferee::DECISION_FRUSTRATION);
            EXPECT_EQ(pOther->GetCallQuality(), CMatchReferee::CALL_CORRECT);
        } else {
            ++nMissed;
            EXPECT_EQ(pOther->GetCallQuality(), CMatchReferee::CALL_MISSED);
            EXPECT_EQ(pOther->GetDecision(), 0);
        }
    }
    EXPECT_GT(nMissed, 0);
    EXPECT_GT(nGiven, nMissed);
}

TEST_F(RefereeTest, AGoalHeSeesGoesIntoTheIncidentListsWithItsScorer)
{
    struct Incidents : CMatchEventReceiver {
        void OnMatchEvent(const ITEMMATCHEVENTINFORMATION&) override {}
        void AddPendingEvent(const ITEMMATCHEVENTINFORMATION& event) override { lines.push_back(event); }
        std::vector<ITEMMATCHEVENTINFORMATION> lines;
    } incidents;
    m_Engine.SetEventReceiver(&incidents);
    const CVector at(-100, 3750, 0);
    // Scored by the side that does not kick off: a goal; by the side that
    // does: an own goal. A goal he does not see is no incident.
    struct Case {
        bool bOwnGoal;
        uint8_t byLikelihood;
        size_t nLines;
        uint8_t byKind;
    } cases[] = {{false, 100, 1, 2}, {true, 100, 1, 3}, {false, 0, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bOwnGoal ? "own goal" : "goal");
        incidents.lines.clear();
        auto pReferee = MakeReferee();
        MatchCauseRecord goal = Record(CAUSE_GOAL, c.byLikelihood, at);
        goal.pClubAwarded = c.bOwnGoal ? m_pLow : m_pHigh;
        pReferee->CheckForCause(goal);
        ASSERT_EQ(incidents.lines.size(), c.nLines);
        if (c.nLines == 0)
            continue;
        EXPECT_EQ(incidents.lines[0].byEvent, c.byKind);
        EXPECT_EQ(incidents.lines[0].pPerson, goal.pPlayer);
        EXPECT_EQ(incidents.lines[0].dwMatchTime, goal.dwMatchTime);
    }
    m_Engine.SetEventReceiver(nullptr);
}

TEST_F(RefereeTest, AdvantageRunsOnWhileTheFouledSideKeepsTheBall)
{
    const CVector at(5000, 3000, 0);
    CMatchPlayer* pFouled = m_pHigh->GetSlot(9);

    // Another cause while advantage runs ends it and changes nothing else;
    // a goal by the fouled side is judged.
    auto pReferee = MakeReferee();
    pReferee->CheckForCause(Record(CAUSE_TACKLE_FROM_BEHIND, 90, at));
    ASSERT_TRUE(pReferee->IsAdvantagePending());
    pReferee->CheckForCause(Record(CAUSE_OFFSIDE, 100, at));
    EXPECT_FALSE(pReferee->IsAdvantagePending());
    EXPECT_EQ(pReferee->GetResolvedCause(), CAUSE_TACKLE_FROM_BEHIND);
    pReferee = MakeReferee();
    pReferee->CheckForCause(Record(CAUSE_TACKLE_FROM_BEHIND, 90, at));
    MatchCauseRecord goal = Record(CAUSE_GOAL, 100, at);
    goal.pPlayer = pFouled;
    goal.pPlayerClub = m_pHigh;
    goal.pClubAwarded = m_pLow;
    pReferee->CheckForCause(goal);
    EXPECT_EQ(pReferee->GetResolvedCause(), CAUSE_GOAL);
    EXPECT_EQ(pReferee->GetRestartClub(), m_pLow);

    // The fouled side carries on in midfield unpressed: advantage gained,
    // play on. Back in his own defence: the foul is given.
    struct AdvantageCase {
        int32_t nHolderX;
        bool bGained;
    } cases[] = {{6000, true}, {1000, false}};
    for (const AdvantageCase& c : cases) {
        SCOPED_TRACE(c.nHolderX);
        pReferee = MakeReferee();
        pReferee->CheckForCause(Record(CAUSE_TACKLE_FROM_BEHIND, 90, at));
        pFouled->SetPosition(CVector(c.nHolderX, 3000, 0));
        m_pBall->SetPossessor(pFouled);
        EXPECT_FALSE(pReferee->CheckAdvantage());
        EXPECT_FALSE(pReferee->IsAdvantagePending());
        EXPECT_EQ(pReferee->GetResolvedCause(), c.bGained ? CAUSE_NONE : CAUSE_TACKLE_FROM_BEHIND);
        EXPECT_EQ(pReferee->GetDecision(), c.bGained ? DECISION_JUDGING_MATCH : DECISION_SIGNAL);
    }

    // Still on the ball after two seconds: play goes on and the foul can be
    // called back; the offenders win it: the foul is given.
    pReferee = MakeReferee();
    pReferee->CheckForCause(Record(CAUSE_TACKLE_FROM_BEHIND, 90, at));
    m_pBall->SetPossessor(pFouled);
    uint32_t dwClock = 0;
    for (int i = 0; i < 29; ++i) {
        dwClock += 70;
        m_Engine.Tick(70, dwClock);
        m_Engine.PostTick();
    }
    EXPECT_TRUE(pReferee->CheckAdvantage());
    EXPECT_TRUE(pReferee->IsAdvantagePending());
    m_pBall->SetPossessor(m_pLow->GetSlot(6));
    EXPECT_FALSE(pReferee->CheckAdvantage());
    EXPECT_FALSE(pReferee->IsAdvantagePending());
    EXPECT_EQ(pReferee->GetResolvedCause(), CAUSE_TACKLE_FROM_BEHIND);
}

TEST_F(RefereeTest, SignalsTheWayTheRestartGoesAndTakesUpHisPlace)
{
    struct SignalCase {
        uint8_t byCause;
        bool bAwardedHigh;
        float fFacing;
        uint8_t byAnimation;
        float fAngle;
    } cases[] = {
        {CAUSE_BALL_OFF_SIDE, true, 0.3f, CMatchReferee::SIGNAL_WHISTLE_RIGHT, 0.0f},
        {CAUSE_BALL_OFF_SIDE, false, 0.3f, CMatchReferee::SIGNAL_WHISTLE_LEFT, 0.0f},
        {CAUSE_BALL_OFF_END, true, 3.0f, CMatchReferee::SIGNAL_WHISTLE_LEFT, float(M_PI)},
        {CAUSE_BALL_OFF_END, false, -2.0f, CMatchReferee::SIGNAL_WHISTLE_RIGHT, float(M_PI)},
        // A foul: towards the place, here straight along +x.
        {CAUSE_AGGRESSIVE_PLAY, true, 0.0f, CMatchReferee::SIGNAL_WHISTLE_FORWARD, float(M_PI / 2)},
    };
    for (const SignalCase& c : cases) {
        auto pReferee = MakeReferee();
        pReferee->SetFacing(c.fFacing);
        MatchCauseRecord record = Record(c.byCause, 100, CVector(5100, 3000, 0));
        record.pClubAwarded = c.bAwardedHigh ? m_pHigh : m_pLow;
        pReferee->CheckForCause(record);
        ASSERT_EQ(pReferee->GetResolvedCause(), c.byCause);
        EXPECT_EQ(pReferee->GetSignalAnimation(), c.byAnimation) << int(c.byCause);
        EXPECT_NEAR(pReferee->GetSignalAngle(), c.fAngle, 1e-4) << int(c.byCause);
    }

    // He gives the signal once he faces its way; then he judges play again.
    GiveOfficialsModels();
    auto pReferee = MakeReferee();
    pReferee->SetupModel(m_wMesh);
    pReferee->SetFacing(2.0f);
    pReferee->CheckForCause(Record(CAUSE_BALL_OFF_SIDE, 100, CVector(5000, 3000, 0)));
    pReferee->MakeDecision();
    EXPECT_EQ(pReferee->GetDecision(), DECISION_SIGNAL);
    pReferee->SetFacingTarget();
    EXPECT_FLOAT_EQ(pReferee->GetFacingTargetAngle(), pReferee->GetSignalAngle());
    pReferee->SetFacing(pReferee->GetSignalAngle() + 0.2f);
    pReferee->MakeDecision();
    EXPECT_EQ(pReferee->GetDecision(), DECISION_JUDGING_MATCH);
    EXPECT_EQ(pReferee->GetAction(), ACTION_SIGNALLING);
    EXPECT_TRUE(pReferee->IsBusy());
    // The signal sets up the throw-in.
    EXPECT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_THROWIN);
    m_Engine.SetMatchEvent(MATCHEVENT_NONE);

    // His place by the event.
    m_pBall->SetPosition(6200, 2000, 0, false);
    pReferee = MakeReferee();
    pReferee->TakeUpPosition();
    EXPECT_EQ(pReferee->GetDecision(), DECISION_JUDGING_MATCH);
    EXPECT_FALSE(pReferee->IsRunningToTarget());
    EXPECT_EQ(pReferee->GetTarget(), CVector(6200, 2000, 0));
    m_Engine.SetMatchEvent(MATCHEVENT_KICKOFF);
    pReferee->TakeUpPosition();
    EXPECT_EQ(pReferee->GetDecision(), 0);
    EXPECT_EQ(pReferee->GetTarget(), CVector(5000, 5625, 0));
    m_Engine.SetMatchEvent(MATCHEVENT_THROWIN);
    pReferee->SetEventPosition(CVector(3000, 0, 0));
    pReferee->TakeUpPosition();
    // 2000 from the throw towards the middle of the far goal line.
    EXPECT_NEAR(pReferee->GetTarget().x, 4763, 1);
    EXPECT_NEAR(pReferee->GetTarget().y, 944, 1);
    m_Engine.SetMatchEvent(MATCHEVENT_PENALTY);
    pReferee->CheckForCause(Record(CAUSE_HAND_BALL, 100, CVector(5000, 3000, 0)));
    pReferee->SetDecision(0);
    pReferee->TakeUpPosition();
    EXPECT_EQ(pReferee->GetTarget(), CVector(8350, 4716, 0));

    // In open play he wants to be some 1500 from the ball, near the centre.
    m_Engine.SetMatchEvent(MATCHEVENT_NONE);
    pReferee = MakeReferee(CVector(5000, 3750, 0));
    pReferee->TakeUpPosition();
    EXPECT_FLOAT_EQ(pReferee->AssessPosition(CVector(6200, 3500, 0)), 1.0f);
    EXPECT_FLOAT_EQ(pReferee->AssessPosition(CVector(6200, 2000, 0)), 0.0f);
    EXPECT_LT(pReferee->AssessPosition(CVector(9800, 2000, 0)), pReferee->AssessPosition(CVector(7700, 2000, 0)));
}

}  // namespace
