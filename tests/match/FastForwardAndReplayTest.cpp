// Fast-forward and replay: skipping to the next period plays the same match
// as ticking through it, a skip to a highlight stops there and shows it
// again, Escape breaks a skip off, and a replay puts everyone where he was
// and hands back to live play.
#include "MatchFixture.h"
#include "RestartsFixture.h"

#include "match/actors/CMatchPerson.h"
#include "render3d/CObjectData.h"

#include <cmath>
#include <map>

namespace {

class FastForwardTest : public RestartsFixture {
protected:
    // The match of the fixture with the stand-in in every tick the engine
    // runs, and a goal for the home side once the match clock passes two
    // minutes.
    bool StartScripted()
    {
        if (!Start(0))
            return false;
        m_Engine.afterTick = [this] {
            StandIn();
            const bool bOpen = m_Engine.GetMatchEvent() == MATCHEVENT_NONE && !m_pReferee->IsCausePending();
            if (!m_bScored && bOpen && m_Engine.GetMatchTime() >= 120000) {
                m_bScored = true;
                CMatchPlayer* pScorer = m_pHome->GetSlot(9);
                PlayBallTo(pScorer, CVector(pScorer->GetClub()->AttacksHighEnd() ? 10100 : -100, 3750, 50));
            }
            if (!m_dwGoalClock && m_pReferee->GetResolvedCause() == CAUSE_GOAL)
                m_dwGoalClock = m_Engine.GetEngineClock();
        };
        return true;
    }
    // One tick as the engine runs it between frames.
    void EngineTick()
    {
        m_Engine.Tick(MATCH_TICK_MS, m_Engine.GetEngineClock() + MATCH_TICK_MS);
        m_Engine.PostTick();
    }
    std::vector<std::pair<uint8_t, uint32_t>> Events() const
    {
        std::vector<std::pair<uint8_t, uint32_t>> events;
        for (const ITEMMATCHEVENTINFORMATION& e : m_Recorder.events)
            events.emplace_back(e.byEvent, e.dwMatchTime);
        return events;
    }

    bool m_bScored = false;
    uint32_t m_dwGoalClock = 0;
};

TEST_F(FastForwardTest, SkippingToTheNextPeriodPlaysTheSameMatchAsTickingThroughIt)
{
    // Ticked through: the first half to the kick-off of the second.
    ASSERT_TRUE(StartScripted());
    int nTicks = 0;
    while ((m_Engine.GetMatchPeriod() != MATCHPERIOD_SECONDHALF || m_Engine.GetMatchEvent() == MATCHEVENT_HALFTIME) &&
           nTicks++ < 100000)
        EngineTick();
    ASSERT_EQ(m_Engine.GetMatchPeriod(), MATCHPERIOD_SECONDHALF);
    const uint32_t dwSecondHalfClock = m_Engine.GetEngineClock();
    const auto ticked = Events();
    uint8_t byHome = 0, byAway = 0;
    m_Engine.GetScore(byHome, byAway);
    EXPECT_EQ(byHome, 1);
    m_Engine.EndGame();

    // Skipped: the same match from the kick-off to the next period, and on
    // to the end of normal time.
    m_Recorder = MatchRecorder();
    m_bScored = false;
    m_dwGoalClock = 0;
    ASSERT_TRUE(StartScripted());
    for (int i = 0; m_Engine.GetMatchPeriod() == MATCHPERIOD_BEFOREKICKOFF && i < 2000; ++i)
        EngineTick();
    ASSERT_EQ(m_Engine.GetMatchPeriod(), MATCHPERIOD_FIRSTHALF);
    m_Engine.SkipToEvent(CMatchEngine::kNextPeriod);
    EXPECT_EQ(m_Engine.GetMatchPeriod(), MATCHPERIOD_SECONDHALF);
    EXPECT_NE(m_Engine.GetMatchEvent(), MATCHEVENT_HALFTIME);
    EXPECT_EQ(m_Engine.GetEngineClock(), dwSecondHalfClock);
    EXPECT_EQ(Events(), ticked);
    EXPECT_TRUE(m_Engine.IsSkippingFinished());
    EXPECT_EQ(m_Engine.GetTickAccumulator(), 0u);
    EXPECT_TRUE(m_Engine.IsSoundOn());  // put back after the silent skip

    // The match screen's end step plays out normal time to the whistle.
    m_Engine.SkipToEvent(MATCHPERIOD_ENDOFNORMALTIME);
    EXPECT_EQ(m_Engine.GetMatchPeriod(), MATCHPERIOD_ENDOFNORMALTIME);
    EXPECT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_FULLTIME);
    EXPECT_EQ(m_Recorder.results.size(), 1u);
    EXPECT_EQ(m_Engine.GetPeriodProgress().dwPercentage, 100u);
}

TEST_F(FastForwardTest, ASkipToAHighlightShowsItAgainAndTheNextSkipPlaysOutTheGoalFirst)
{
    ASSERT_TRUE(StartScripted());
    // The kick-off is a highlight for its first five seconds of play.
    uint8_t byKind = 255;
    for (int i = 0; m_Engine.GetMatchPeriod() == MATCHPERIOD_BEFOREKICKOFF && i < 2000; ++i)
        EngineTick();
    ASSERT_TRUE(m_Engine.IsHighlightMoment(&byKind));
    EXPECT_EQ(byKind, CMatchEngine::HIGHLIGHT_KICKOFF);
    for (int i = 0; i < 100; ++i)
        EngineTick();
    EXPECT_FALSE(m_Engine.IsHighlightMoment(&byKind));

    // Open play runs on to the goal, which is shown again from 20 s before.
    m_Engine.SkipToHighlight();
    ASSERT_NE(m_dwGoalClock, 0u);
    ASSERT_TRUE(m_Engine.IsReplaying());
    const uint32_t dwFirstEnd = m_Engine.GetReplayEndTime();
    EXPECT_GE(dwFirstEnd, m_dwGoalClock);
    EXPECT_LT(dwFirstEnd, m_dwGoalClock + 6000);
    EXPECT_EQ(m_Engine.GetEngineClock(), dwFirstEnd - 20000);
    EXPECT_TRUE(m_Engine.IsSkippingFinished());

    ASSERT_TRUE(m_Engine.IsHighlightMoment(&byKind));
    EXPECT_EQ(byKind, CMatchEngine::HIGHLIGHT_GOAL);

    // The next skip ends the replay, plays the goal out, and replays the
    // moment that follows it (the kick-off).
    m_Engine.SkipToHighlight();
    ASSERT_TRUE(m_Engine.IsReplaying());
    EXPECT_GT(m_Engine.GetReplayEndTime(), dwFirstEnd);
    EXPECT_EQ(m_Engine.GetEngineClock(), m_Engine.GetReplayEndTime() - 20000);
    ASSERT_TRUE(m_Engine.IsHighlightMoment(&byKind));
    EXPECT_EQ(byKind, CMatchEngine::HIGHLIGHT_KICKOFF);

    // At half time nothing is skipped.
    while (m_Engine.IsReplaying())
        EngineTick();
    m_Engine.SkipToEvent(MATCHPERIOD_SECONDHALF);
    ASSERT_FALSE(m_Engine.IsReplaying());
    ASSERT_TRUE(m_Engine.IsHighlightMoment(&byKind) || m_Engine.GetMatchEvent() == MATCHEVENT_KICKOFF);
    m_Engine.SetMatchEvent(MATCHEVENT_HALFTIME);
    const uint32_t dwClock = m_Engine.GetEngineClock();
    m_Engine.SkipToHighlight();
    EXPECT_EQ(m_Engine.GetEngineClock(), dwClock);
    EXPECT_FALSE(m_Engine.IsReplaying());
}

TEST_F(FastForwardTest, EscapeBreaksASkipOffAndPausesInHighlightsMode)
{
    struct CASE {
        uint8_t byMatchType;
        bool bPaused;
    };
    for (const CASE& c : {CASE{1, true}, CASE{2, false}}) {
        m_Engine.SetMatchType(c.byMatchType);
        ASSERT_TRUE(StartScripted());
        for (int i = 0; i < 300; ++i)
            EngineTick();
        ASSERT_FALSE(m_Engine.IsHighlightMoment(nullptr));
        // A key press is dropped; its release is the abort.
        m_Engine.messages = {{plat::WM_KEYDOWN, plat::VK_ESCAPE, 0}, {plat::WM_KEYUP, plat::VK_ESCAPE, 0}};
        const uint32_t dwClock = m_Engine.GetEngineClock();
        m_Engine.SkipToHighlight();
        EXPECT_EQ(m_Engine.GetEngineClock(), dwClock + 2 * MATCH_TICK_MS) << int(c.byMatchType);
        EXPECT_EQ(m_Engine.IsPaused(), c.bPaused) << int(c.byMatchType);
        EXPECT_FALSE(m_Engine.IsReplaying());
        EXPECT_TRUE(m_Engine.IsSkippingFinished());
        m_Engine.EndGame();
        m_Recorder = MatchRecorder();
        m_bScored = false;
    }
}

// The replay's start and end on a match of the ball alone.
class ReplayWindowTest : public MatchFixture {};

TEST_F(ReplayWindowTest, AReplayStartsAtZeroAtMostAndLastsAMinuteAtMost)
{
    struct CASE {
        const char* pszWhat;
        uint32_t dwLive;
        uint32_t dwFirstRewind;
        uint32_t dwPlayed;  // of the first replay before the second request
        uint32_t dwSecondRewind;
        uint32_t dwStart, dwEnd;
    };
    const CASE cases[] = {
        {"20 s back at 14 s starts at 0", 14000, 20000, 0, 0, 0, 14000},
        {"a second long", 150010, 1000, 0, 0, 149010, 150010},
        {"90 s back 10 s into a replay keeps a minute before the first end", 150010, 20000, 10010, 90000, 90010,
         150010},
    };
    for (const CASE& c : cases) {
        m_Engine.EndGame();
        const uint32_t dwSeed = 11;
        m_Engine.StartGame(&dwSeed, 0);
        while (m_Engine.GetEngineClock() < c.dwLive)
            m_Engine.PostTick();
        ASSERT_EQ(m_Engine.GetEngineClock(), c.dwLive) << c.pszWhat;
        m_Engine.SeekReplay(c.dwFirstRewind);
        for (uint32_t dwPlayed = 0; dwPlayed < c.dwPlayed; dwPlayed += MATCH_TICK_MS)
            m_Engine.PostTick();
        if (c.dwSecondRewind)
            m_Engine.SeekReplay(c.dwSecondRewind);
        EXPECT_TRUE(m_Engine.IsReplaying()) << c.pszWhat;
        EXPECT_EQ(m_Engine.GetEngineClock(), c.dwStart) << c.pszWhat;
        EXPECT_EQ(m_Engine.GetReplayEndTime(), c.dwEnd) << c.pszWhat;
        // The replay ends by itself at the live time.
        for (int i = 0; m_Engine.IsReplaying() && i < 2000; ++i)
            m_Engine.PostTick();
        EXPECT_FALSE(m_Engine.IsReplaying()) << c.pszWhat;
        EXPECT_EQ(m_Engine.GetEngineClock(), c.dwEnd + MATCH_TICK_MS) << c.pszWhat;
    }
    // Without the rings (MatchType 0) there is nothing to replay.
    m_Engine.EndGame();
    m_Engine.SetMatchType(0);
    const uint32_t dwSeed = 11;
    m_Engine.StartGame(&dwSeed, 0);
    for (int i = 0; i < 100; ++i)
        m_Engine.PostTick();
    m_Engine.SeekReplay(1000);
    EXPECT_FALSE(m_Engine.IsReplaying());
    EXPECT_EQ(m_Engine.GetEngineClock(), 7000u);
    m_Engine.SetMatchType(1);
}

TEST_F(ReplayWindowTest, ThePeriodReadOutIsTheShareOfThePeriodPlayed)
{
    struct CASE {
        uint8_t byPeriod;
        uint32_t dwMatchTime;
        uint32_t dwPercentage;
    };
    const CASE cases[] = {{MATCHPERIOD_FIRSTHALF, 1350000, 50},      {MATCHPERIOD_FIRSTHALF, 2900000, 100},
                          {MATCHPERIOD_SECONDHALF, 2970000, 10},     {MATCHPERIOD_ENDOFNORMALTIME, 5400000, 100},
                          {MATCHPERIOD_EXTRATIMESECONDHALF, 6390000, 10}, {MATCHPERIOD_BEFOREKICKOFF, 0, 0},
                          {MATCHPERIOD_SHOOTOUT, 7300000, 0}};
    for (const CASE& c : cases) {
        m_Engine.SetMatchPeriod(c.byPeriod);
        m_Engine.SetMatchTime(c.dwMatchTime);
        m_Engine.ShowPeriodProgress(0, 0);
        EXPECT_EQ(m_Engine.GetPeriodProgress().dwPercentage, c.dwPercentage) << int(c.byPeriod);
        EXPECT_TRUE(m_Engine.GetPeriodProgress().bChanged) << int(c.byPeriod);
        m_Engine.ShowPeriodProgress(0, 0);
        EXPECT_FALSE(m_Engine.GetPeriodProgress().bChanged) << int(c.byPeriod);
    }
}

// Everybody animated by his own model, so that the rings record him.
class ReplayTest : public FastForwardTest {
protected:
    void GiveModels()
    {
        const std::string meshes = std::string(BRELLOX_GAME_DIR) + "/MatchMeshes/";
        m_wMesh = m_Objects.LoadSkinned((meshes + "PlayerX1.x").c_str(), 15);
        ASSERT_NE(m_wMesh, OBJECT_NOT_FOUND);
        CMatchPerson::LoadAnimations(m_Objects, m_wMesh, meshes);
        for (CMatchPerson* p : People())
            p->SetupModel(m_wMesh);
    }
    std::vector<CMatchPerson*> People() const
    {
        std::vector<CMatchPerson*> people;
        for (CMatchClub* pClub : {m_pHome, m_pAway})
            for (int i = 0; i < pClub->GetSquadCount(); ++i)
                if (CMatchPlayer* p = pClub->GetSlot(i))
                    people.push_back(p);
        people.push_back(m_pReferee);
        people.push_back(&m_pReferee->GetAssistant(0));
        people.push_back(&m_pReferee->GetAssistant(1));
        return people;
    }
    std::map<const CMatchPerson*, CVector> Positions() const
    {
        std::map<const CMatchPerson*, CVector> at;
        for (CMatchPerson* p : People())
            at[p] = p->GetPosition();
        return at;
    }
    // What was seen at the last tick at or before the time.
    template <typename T> static T Before(const std::map<uint32_t, T>& seen, uint32_t dwTime)
    {
        auto it = seen.upper_bound(dwTime);
        return it == seen.begin() ? T() : std::prev(it)->second;
    }
    static double Distance(const CVector& a, const CVector& b)
    {
        return std::hypot(double(a.x - b.x), double(a.y - b.y));
    }

    CObjectData m_Objects{10};
    uint16_t m_wMesh = 0;
};

TEST_F(ReplayTest, AReplayOfTheLastMinutePutsEveryoneWhereHeWasAndReturnsToLivePlay)
{
    ASSERT_TRUE(Start(0));
    GiveModels();
    // Everybody walks out from the tunnel to his place.
    for (CMatchPerson* p : People())
        p->SetPosition(CMatchEngine::kStartPoint);
    std::map<uint32_t, std::map<const CMatchPerson*, CVector>> seen;
    std::map<uint32_t, CVector> ball;
    for (int i = 0; i < 860; ++i) {
        EngineTick();
        seen[m_Engine.GetEngineClock()] = Positions();
        ball[m_Engine.GetEngineClock()] = m_pBall->GetPosition();
    }
    const uint32_t dwLive = m_Engine.GetEngineClock();
    const uint32_t dwMatchTime = m_Engine.GetMatchTime();
    const auto live = Positions();
    int nMoved = 0;
    for (CMatchPerson* p : People())
        nMoved += Distance(Before(seen, dwLive - 60000)[p], live.at(p)) > 300;
    ASSERT_GT(nMoved, 5) << "nobody moved in the last minute";

    // Within a tick's run and a frame of where he was at the tick before:
    // live play drops the frames that overshoot an animation's end, the
    // replay starts each one on time.
    constexpr double kFrame = 100.0;
    m_Engine.SeekReplay(60000);
    ASSERT_TRUE(m_Engine.IsReplaying());
    ASSERT_EQ(m_Engine.GetEngineClock(), dwLive - 60000);
    for (CMatchPerson* p : People())
        EXPECT_LE(Distance(p->GetPosition(), Before(seen, dwLive - 60000)[p]), kFrame) << "at the start";
    EXPECT_LE(Distance(m_pBall->GetPosition(), Before(ball, dwLive - 60000)), kFrame);
    // On the way out and later on everyone is where he was then.
    for (const int nTicks : {60, 80, 300}) {
        for (int i = 0; i < nTicks; ++i)
            EngineTick();
        const uint32_t dwNow = m_Engine.GetEngineClock();
        ASSERT_TRUE(m_Engine.IsReplaying());
        for (CMatchPerson* p : People())
            EXPECT_LE(Distance(p->GetPosition(), Before(seen, dwNow)[p]), kFrame) << dwNow;
    }
    EXPECT_EQ(m_Engine.GetMatchTime(), dwMatchTime);  // the match clock stands

    // The replay ends by itself at the live time; live play goes on from
    // where it stood.
    for (int i = 0; m_Engine.IsReplaying() && i < 1000; ++i)
        EngineTick();
    ASSERT_FALSE(m_Engine.IsReplaying());
    EXPECT_EQ(m_Engine.GetEngineClock(), dwLive + MATCH_TICK_MS);
    for (CMatchPerson* p : People()) {
        EXPECT_FALSE(p->IsReplaying());
        EXPECT_LE(Distance(p->GetPosition(), live.at(p)), kFrame) << "back live";
    }
    for (int i = 0; i < 100; ++i)
        EngineTick();
    EXPECT_EQ(m_Engine.GetEngineClock(), dwLive + 101 * MATCH_TICK_MS);
    EXPECT_FALSE(m_Engine.GetCameraSubjectRing()->IsReading());
}

}  // namespace
