// A whole match run by its referee: restarts after every stoppage, both
// halves with their added time, the result; a cup tie through extra time to
// a penalty shoot-out; the result codes; where each restart is set up.
#include "RestartsFixture.h"

#include <set>

namespace {

class MatchFlowTest : public RestartsFixture {
protected:
    // Open play is stopped once a minute of match time by an incident of
    // the script: a throw-in, the ball over an end line, a goal when one is
    // due, a foul, or nothing.
    void PlayScript(const std::vector<bool>& goalsByHome, int nTickLimit)
    {
        uint32_t dwNext = 60000;
        int k = 0;
        size_t nGoal = 0;
        for (int i = 0; i < nTickLimit && m_Engine.GetMatchEvent() != MATCHEVENT_FULLTIME &&
                        m_Engine.GetMatchPeriod() != MATCHPERIOD_SHOOTOUT;
             ++i) {
            const bool bOpen = m_Engine.GetMatchEvent() == MATCHEVENT_NONE && !m_pReferee->IsCausePending() &&
                               m_pReferee->GetCardLevel() == 0;
            if (bOpen && m_Engine.GetMatchTime() >= dwNext) {
                Incident(k++, goalsByHome, nGoal);
                dwNext = m_Engine.GetMatchTime() + 60000;
            }
            Tick();
        }
    }

    // Each kick of the shoot-out scores or is caught by the goalkeeper.
    void ShootOut(const std::vector<bool>& kicks)
    {
        for (bool bScores : kicks) {
            const size_t nTaken = m_Taken.size();
            ASSERT_TRUE(RunUntil([&] { return m_Taken.size() > nTaken; }, 2000));
            CMatchPlayer* pTaker = m_Taken.back().pTaker;
            if (bScores)
                PlayBallTo(pTaker, CVector(-100, 3750, 50));
            else
                m_pBall->SetPossessor(pTaker->GetClub()->GetOpponent()->GetSlot(0));
            ASSERT_TRUE(RunUntil(
                [&] {
                    return m_Engine.GetMatchEvent() == MATCHEVENT_PENALTY ||
                           m_Engine.GetMatchPeriod() == MATCHPERIOD_ENDOFNORMALTIME;
                },
                2000));
        }
    }

    void Incident(int k, const std::vector<bool>& goalsByHome, size_t& nGoal)
    {
        CMatchClub* pClub = k % 2 ? m_pAway : m_pHome;
        CMatchPlayer* pPlayer = pClub->GetSlot(1 + k % (pClub->GetOnPitchCount() - 1));
        const int32_t nHighGoalLine = pClub->AttacksHighEnd() ? 10100 : -100;
        switch (k % 5) {
        case 0:
            PlayBallTo(pPlayer, CVector(1000 + (k * 700) % 8000, k % 3 ? -200 : 7700, 0));
            break;
        case 1:
            PlayBallTo(pPlayer, CVector(k % 3 ? nHighGoalLine : 10000 - nHighGoalLine, 1200, 0));
            break;
        case 2:
            if (nGoal < goalsByHome.size()) {
                CMatchClub* pScorers = goalsByHome[nGoal++] ? m_pHome : m_pAway;
                CMatchPlayer* pScorer = pScorers->GetSlot(9);
                PlayBallTo(pScorer, CVector(pScorers->AttacksHighEnd() ? 10100 : -100, 3750, 50));
            }
            break;
        case 3:
            m_Engine.ReportAggressivePlay(pPlayer, CVector(3000 + k * 50, 2000 + k * 20, 0), 165);
            break;
        default:
            break;
        }
    }
};

TEST_F(MatchFlowTest, AWholeMatchRunsThroughBothHalvesWithEveryRestartTakenAndEndsWithItsResult)
{
    ASSERT_TRUE(Start(0));
    const bool bHomeStartedHigh = m_pHome->AttacksHighEnd();
    // The kick-off is prepared before anyone plays.
    EXPECT_EQ(m_Engine.GetMatchPeriod(), MATCHPERIOD_BEFOREKICKOFF);
    EXPECT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_KICKOFF);
    ASSERT_NE(m_pReferee->GetEventPlayer(), nullptr);
    EXPECT_EQ(m_pReferee->GetEventPlayer()->GetSpecialRole(), ROLE_EVENT_PLAYER);
    EXPECT_EQ(m_pReferee->GetEventPlayer()->GetClub(), m_pReferee->GetFirstKickOffClub());

    // Three goals: home, away, home.
    PlayScript({true, false, true}, 200000);

    ASSERT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_FULLTIME);
    EXPECT_EQ(m_Engine.GetMatchPeriod(), MATCHPERIOD_ENDOFNORMALTIME);
    EXPECT_FALSE(m_Engine.IsMatchClockRunning());
    EXPECT_GE(m_Engine.GetMatchTime(), 5400000u);
    uint8_t byHome = 0, byAway = 0;
    m_Engine.GetScore(byHome, byAway);
    EXPECT_EQ(byHome, 2);
    EXPECT_EQ(byAway, 1);
    EXPECT_EQ(m_Engine.GetResultCode(), 0);  // the home club won
    EXPECT_EQ(m_Recorder.results, std::vector<uint8_t>{0});
    EXPECT_EQ(m_Recorder.Count(20), 3);

    // Half time, the added time of both halves and full time, each once.
    for (int nDetail : {0, 1, 2, 3})
        EXPECT_EQ(m_Recorder.Count(15, nDetail), 1) << nDetail;
    EXPECT_EQ(m_Recorder.Count(19), 1);
    EXPECT_NE(m_pHome->AttacksHighEnd(), bHomeStartedHigh);  // ends changed once

    // The second half was kicked off by the other club, and every goal by
    // the club that conceded it.
    std::vector<const TAKENRESTART*> kickOffs;
    for (const TAKENRESTART& r : m_Taken)
        if (r.byEvent == MATCHEVENT_KICKOFF)
            kickOffs.push_back(&r);
    ASSERT_EQ(kickOffs.size(), 5u);
    EXPECT_EQ(kickOffs[0]->byPeriod, MATCHPERIOD_BEFOREKICKOFF);
    EXPECT_EQ(kickOffs[0]->pTaker->GetClub(), m_pReferee->GetFirstKickOffClub());
    int nSecondHalf = 0;
    for (const TAKENRESTART* r : kickOffs)
        if (r->byPeriod == MATCHPERIOD_SECONDHALF && r->pTaker->GetClub() != m_pReferee->GetFirstKickOffClub())
            ++nSecondHalf;
    EXPECT_GE(nSecondHalf, 1);

    // Every kind of stoppage of the script became a restart that was taken.
    std::set<uint8_t> kinds;
    for (const TAKENRESTART& r : m_Taken)
        kinds.insert(r.byEvent);
    for (uint8_t byEvent : {MATCHEVENT_KICKOFF, MATCHEVENT_THROWIN, MATCHEVENT_DIRECTFREEKICK})
        EXPECT_TRUE(kinds.count(byEvent)) << GetMatchEventName(byEvent);
    EXPECT_TRUE(kinds.count(MATCHEVENT_GOALKICK) || kinds.count(MATCHEVENT_CORNER));
    const int nThrowIns = m_pHome->GetCounters().byThrowIns + m_pAway->GetCounters().byThrowIns;
    EXPECT_EQ(nThrowIns, int(std::count_if(m_Taken.begin(), m_Taken.end(), [](const TAKENRESTART& r) {
                  return r.byEvent == MATCHEVENT_THROWIN;
              })));
    // Every restart was played from its spot by a player on the pitch, with
    // a kick of his own choosing, before its time limit ran out.
    for (const TAKENRESTART& r : m_Taken) {
        EXPECT_LT(r.pTaker->GetLineIndex(), 16);
        EXPECT_TRUE(IsKick(r.byDecision)) << GetMatchEventName(r.byEvent);
        EXPECT_LT(r.dwWaited, r.byEvent == MATCHEVENT_KICKOFF ? 50000u : 40000u) << GetMatchEventName(r.byEvent);
        if (r.byEvent == MATCHEVENT_THROWIN)
            EXPECT_TRUE(r.position.y == -100 || r.position.y == 7600);
    }
    // Nothing is left pending once the match is over.
    EXPECT_EQ(m_pReferee->GetEventPlayer(), nullptr);
}

TEST_F(MatchFlowTest, AGoallessCupTieGoesThroughExtraTimeToAShootOut)
{
    ASSERT_TRUE(Start(CMatchReferee::RULE_EXTRA_TIME | CMatchReferee::RULE_SHOOTOUT));
    PlayScript({}, 300000);
    ASSERT_EQ(m_Engine.GetMatchPeriod(), MATCHPERIOD_SHOOTOUT);
    EXPECT_GE(m_Engine.GetMatchTime(), 7200000u);
    EXPECT_EQ(m_Recorder.Count(15, 4), 1);  // extra time begins
    EXPECT_EQ(m_Recorder.Count(32, 0), 1);  // its first half ends
    EXPECT_EQ(m_Recorder.Count(32, 1), 1);  // and its second
    EXPECT_EQ(m_Recorder.Count(32, 2), 1);  // the shoot-out begins
    EXPECT_EQ(m_Recorder.Count(19), 0);     // no full time yet
    EXPECT_TRUE(m_Recorder.results.empty());
    // Extra time had its two kick-offs.
    int nExtraKickOffs = 0;
    for (const TAKENRESTART& r : m_Taken)
        if (r.byEvent == MATCHEVENT_KICKOFF &&
            (r.byPeriod == MATCHPERIOD_EXTRATIMEFIRSTHALF || r.byPeriod == MATCHPERIOD_EXTRATIMESECONDHALF))
            ++nExtraKickOffs;
    EXPECT_EQ(nExtraKickOffs, 2);

    // Home scores three, away misses three: decided after the sixth kick.
    const size_t nBefore = m_Taken.size();
    ShootOut({true, false, true, false, true, false});
    EXPECT_EQ(m_Engine.GetMatchPeriod(), MATCHPERIOD_ENDOFNORMALTIME);
    EXPECT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_FULLTIME);
    EXPECT_EQ(m_Engine.GetResultCode(), 1);
    EXPECT_EQ(m_pHome->GetCounters().byShootOutGoals, 3);
    EXPECT_EQ(m_pAway->GetCounters().byShootOutGoals, 0);
    const uint8_t abyExpected[12] = {1, 2, 1, 2, 1, 2, 0, 0, 0, 0, 0, 0};
    for (int n = 0; n < CMatchEngine::kShootOutSlots; ++n)
        EXPECT_EQ(m_Engine.GetShootOutSlot(n), abyExpected[n]) << n;
    EXPECT_EQ(m_Recorder.CountIncidents(11), 3);  // the misses
    // Home kicks first, then they alternate; every kick at the x = 0 end.
    ASSERT_EQ(m_Taken.size() - nBefore, 6u);
    for (size_t i = nBefore; i < m_Taken.size(); ++i) {
        EXPECT_EQ(m_Taken[i].byEvent, MATCHEVENT_PENALTY);
        EXPECT_EQ(m_Taken[i].position, CVector(1140, 3750, 0));
        EXPECT_EQ(m_Taken[i].pTaker->GetClub(), (i - nBefore) % 2 ? m_pAway : m_pHome) << i;
    }
}

TEST_F(MatchFlowTest, SuddenDeathReusesItsTwoSlotsAndEveryoneKicksBeforeAnyoneKicksTwice)
{
    ASSERT_TRUE(Start(CMatchReferee::RULE_SHOOTOUT));
    m_pReferee->SetPeriod(MATCHPERIOD_SHOOTOUT);
    // 24 goals: ten kicks and seven pairs of sudden death; then home misses
    // and away scores.
    std::vector<bool> kicks(24, true);
    kicks.push_back(false);
    kicks.push_back(true);
    ShootOut(kicks);
    EXPECT_EQ(m_Engine.GetMatchPeriod(), MATCHPERIOD_ENDOFNORMALTIME);
    EXPECT_EQ(m_Engine.GetResultCode(), 7);  // the away club won the shoot-out
    EXPECT_EQ(m_Engine.GetShootOutSlot(10), 2);
    EXPECT_EQ(m_Engine.GetShootOutSlot(11), 1);
    for (int n = 0; n < 10; ++n)
        EXPECT_EQ(m_Engine.GetShootOutSlot(n), 1) << n;
    // Home took 13 kicks: eleven different players, then the round again.
    std::vector<CMatchPlayer*> homeTakers;
    for (const TAKENRESTART& r : m_Taken)
        if (r.pTaker->GetClub() == m_pHome)
            homeTakers.push_back(r.pTaker);
    ASSERT_EQ(homeTakers.size(), 13u);
    EXPECT_EQ(std::set<CMatchPlayer*>(homeTakers.begin(), homeTakers.begin() + 11).size(), 11u);
    EXPECT_TRUE(std::count(homeTakers.begin(), homeTakers.begin() + 11, homeTakers[11]));
}

TEST_F(MatchFlowTest, TheResultCodeByRulesScoreFirstLegAndShootOut)
{
    ASSERT_TRUE(Start(0));
    struct Case {
        const char* pszName;
        uint8_t byRules, byReason, byHome, byAway, byFirstHome, byFirstAway, byShootHome, byShootAway;
        int nCode;  // -1: no result yet
        uint8_t byPeriod;
    } cases[] = {
        {"home win", 0, 0, 2, 1, 0, 0, 0, 0, 0, MATCHPERIOD_ENDOFNORMALTIME},
        {"away win", 0, 0, 0, 1, 0, 0, 0, 0, 6, MATCHPERIOD_ENDOFNORMALTIME},
        {"draw", 0, 0, 1, 1, 0, 0, 0, 0, 6, MATCHPERIOD_ENDOFNORMALTIME},
        {"first-leg goals ignored without the aggregate", 0, 0, 1, 0, 0, 3, 0, 0, 0, MATCHPERIOD_ENDOFNORMALTIME},
        {"aggregate home", 0x04, 0, 2, 0, 1, 2, 0, 0, 5, MATCHPERIOD_ENDOFNORMALTIME},
        {"aggregate away", 0x04, 0, 1, 0, 0, 2, 0, 0, 11, MATCHPERIOD_ENDOFNORMALTIME},
        {"away goals: the away club scored more here", 0x0C, 0, 2, 2, 1, 1, 0, 0, 9, MATCHPERIOD_ENDOFNORMALTIME},
        {"away goals: the home club scored more away", 0x0C, 0, 1, 1, 2, 2, 0, 0, 3, MATCHPERIOD_ENDOFNORMALTIME},
        {"level aggregate goes to extra time", 0x0D, 0, 1, 1, 1, 1, 0, 0, -1, MATCHPERIOD_EXTRATIMEFIRSTHALF},
        {"level goes to extra time", 0x11, 0, 0, 0, 0, 0, 0, 0, -1, MATCHPERIOD_EXTRATIMEFIRSTHALF},
        {"level after extra time goes to penalties", 0x10, 0, 1, 1, 0, 0, 0, 0, -1, MATCHPERIOD_SHOOTOUT},
        {"golden goal home", 0x20, 0x20, 1, 0, 0, 0, 0, 0, 4, MATCHPERIOD_ENDOFNORMALTIME},
        {"golden goal away", 0x20, 0x20, 0, 1, 0, 0, 0, 0, 10, MATCHPERIOD_ENDOFNORMALTIME},
        {"shoot-out home", 0, 0x10, 1, 1, 0, 0, 5, 4, 1, MATCHPERIOD_ENDOFNORMALTIME},
        {"shoot-out away", 0, 0x10, 1, 1, 0, 0, 3, 4, 7, MATCHPERIOD_ENDOFNORMALTIME},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Start(c.byRules));
        m_Recorder = MatchRecorder();
        m_pHome->SetGoals(c.byHome);
        m_pAway->SetGoals(c.byAway);
        m_Engine.SetFirstLegGoals(c.byFirstHome, c.byFirstAway);
        m_pHome->GetCounters().byShootOutGoals = c.byShootHome;
        m_pAway->GetCounters().byShootOutGoals = c.byShootAway;
        m_pReferee->DecideResult(c.byReason);
        EXPECT_EQ(int(m_Engine.GetResultCode()), c.nCode < 0 ? int(CMatchEngine::kNoResult) : c.nCode) << c.pszName;
        EXPECT_EQ(m_Engine.GetMatchPeriod(), c.byPeriod) << c.pszName;
        EXPECT_EQ(m_Recorder.Count(19), c.nCode < 0 ? 0 : 1) << c.pszName;
    }
}

TEST_F(MatchFlowTest, EachRestartIsSetUpOnItsSpot)
{
    ASSERT_TRUE(Start(0));
    m_pReferee->OnRestartTaken();  // the first kick-off
    ASSERT_EQ(m_Engine.GetMatchPeriod(), MATCHPERIOD_FIRSTHALF);
    CMatchClub* pHigh = m_Engine.GetClubAttackingHighEnd();
    CMatchClub* pLow = m_Engine.GetClubAttackingLowEnd();
    struct Case {
        const char* pszName;
        uint8_t byCause;
        bool bAwardedHigh;
        CVector cause;
        uint8_t byEvent;
        CVector spot;
    } cases[] = {
        {"free kick short of the goal area", CAUSE_OFFSIDE, true, {8400, 3750, 0}, MATCHEVENT_FREEKICK, {8400, 3750, 0}},
        {"free kick in the far goal area", CAUSE_OFFSIDE, true, {9800, 3750, 0}, MATCHEVENT_FREEKICK, {9450, 3750, 0}},
        {"free kick in the near goal area", CAUSE_OFFSIDE, true, {300, 3000, 0}, MATCHEVENT_FREEKICK, {550, 3000, 0}},
        {"free kick off the pitch", CAUSE_SIX_SECOND_RULE, false, {-50, 8000, 0}, MATCHEVENT_FREEKICK, {0, 7500, 0}},
        {"goal kick", CAUSE_BALL_OFF_END, true, {-100, 3000, 0}, MATCHEVENT_GOALKICK, {450, 2884, 0}},
        {"goal kick far side", CAUSE_BALL_OFF_END, false, {10100, 5000, 0}, MATCHEVENT_GOALKICK, {9550, 4616, 0}},
        {"corner", CAUSE_BALL_OFF_END, true, {10100, 1000, 0}, MATCHEVENT_CORNER, {9980, 20, 0}},
        {"corner at the low end", CAUSE_BALL_OFF_END, false, {-100, 7000, 0}, MATCHEVENT_CORNER, {20, 7480, 0}},
        {"throw-in near side", CAUSE_BALL_OFF_SIDE, true, {4000, -100, 0}, MATCHEVENT_THROWIN, {4000, -100, 0}},
        {"throw-in far side", CAUSE_BALL_OFF_SIDE, false, {6000, 7600, 0}, MATCHEVENT_THROWIN, {6000, 7600, 0}},
        {"handball in the box", CAUSE_HAND_BALL, true, {9000, 3000, 0}, MATCHEVENT_PENALTY, {8860, 3750, 0}},
        {"handball outside it", CAUSE_HAND_BALL, false, {1700, 3000, 0}, MATCHEVENT_DIRECTFREEKICK, {1700, 3000, 0}},
        {"penalty at the low end", CAUSE_HAND_BALL, false, {1000, 5816, 0}, MATCHEVENT_PENALTY, {1140, 3750, 0}},
        {"goal", CAUSE_GOAL, false, {10100, 3750, 0}, MATCHEVENT_KICKOFF, {5028, 3722, 0}},
    };
    for (const Case& c : cases) {
        CMatchClub* pAwarded = c.bAwardedHigh ? pHigh : pLow;
        CMatchPlayer* pOffender = pAwarded->GetOpponent()->GetSlot(5);
        const MATCHCLUBCOUNTERS before = pAwarded->GetCounters();
        const MATCHCLUBCOUNTERS offenderBefore = pAwarded->GetOpponent()->GetCounters();
        m_Engine.SetMatchEvent(MATCHEVENT_NONE);
        m_pReferee->SetRestartClub(pAwarded);
        m_pReferee->SetCause(c.byCause, pOffender, c.cause);
        m_pReferee->SetEventFromCause();
        EXPECT_EQ(m_Engine.GetMatchEvent(), c.byEvent) << c.pszName;
        EXPECT_EQ(m_pReferee->GetEventPosition(), c.spot) << c.pszName;
        CMatchPlayer* pTaker = m_pReferee->GetEventPlayer();
        ASSERT_NE(pTaker, nullptr) << c.pszName;
        EXPECT_EQ(pTaker->GetClub(), pAwarded) << c.pszName;
        EXPECT_EQ(pTaker->GetSpecialRole(), ROLE_EVENT_PLAYER) << c.pszName;
        EXPECT_EQ(pTaker->GetBasePosition(), c.spot) << c.pszName;
        EXPECT_TRUE(pTaker->IsChosenForRestart()) << c.pszName;
        EXPECT_FALSE(pAwarded->IsEventPlayerUnassigned()) << c.pszName;
        const MATCHCLUBCOUNTERS& after = pAwarded->GetCounters();
        switch (c.byEvent) {
        case MATCHEVENT_FREEKICK: EXPECT_EQ(after.byFreeKicks, before.byFreeKicks + 1) << c.pszName; break;
        case MATCHEVENT_CORNER: EXPECT_EQ(after.byCorners, before.byCorners + 1) << c.pszName; break;
        case MATCHEVENT_THROWIN: EXPECT_EQ(after.byThrowIns, before.byThrowIns + 1) << c.pszName; break;
        case MATCHEVENT_PENALTY:
            EXPECT_EQ(after.byPenaltiesAwarded, before.byPenaltiesAwarded + 1) << c.pszName;
            // The defending goalkeeper is the second player, on his line.
            EXPECT_EQ(m_pReferee->GetSecondEventPlayer(), pAwarded->GetOpponent()->GetSlot(0)) << c.pszName;
            break;
        case MATCHEVENT_GOALKICK: EXPECT_EQ(pTaker, pAwarded->GetSlot(0)) << c.pszName; break;
        default: break;
        }
        if (c.byCause == CAUSE_HAND_BALL || c.byCause == CAUSE_SIX_SECOND_RULE)
            EXPECT_EQ(pAwarded->GetOpponent()->GetCounters().byFouls, offenderBefore.byFouls + 1) << c.pszName;
        // The previous taker let go of his role.
        m_pReferee->OnRestartTaken();
        EXPECT_EQ(pTaker->GetSpecialRole(), ROLE_NONE) << c.pszName;
        EXPECT_TRUE(pAwarded->IsEventPlayerUnassigned()) << c.pszName;
        EXPECT_EQ(m_pReferee->GetLastRestart(), c.byEvent) << c.pszName;
    }
}

}  // namespace
