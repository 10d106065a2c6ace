#include "../database/GameTree.h"
#include "match/CMatchBall.h"
#include "match/CMatchEngine.h"
#include "sound/CSoundManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Writes every Tick as "step@time" and every whole tick as "P".
class RecordingEngine : public CMatchEngine {
public:
    std::string m_Log;

    void Tick(uint16_t wStep, uint32_t dwTime) override
    {
        m_Log += (m_Log.empty() ? "" : " ") + std::to_string(wStep) + "@" + std::to_string(dwTime);
        CMatchEngine::Tick(wStep, dwTime);
    }
    bool PostTick() override
    {
        m_Log += " P";
        return CMatchEngine::PostTick();
    }
};

constexpr uint32_t kStart = 5000;
const uint32_t kSeed = 7;

// The speed factor is 1.2 at the start: 209 ms of real time are 250 ms of
// engine time, 117 are 140, 25 are 30.
TEST(EngineClockTest, FramesBecomeWholeTicksAndPartialSteps)
{
    struct Case {
        const char* pszName;
        std::vector<uint32_t> frames;  // real ms after the start, one per frame
        const char* pszLog;            // of the last frame
        uint32_t dwClock, dwAccumulator;
    } cases[] = {
        {"three whole ticks", {209}, "70@70 P 70@140 P 70@210 P 40@250", 210, 40},
        {"exactly two ticks' worth", {117}, "70@70 P 70@140", 70, 70},
        {"the held tick's step is 0", {117, 117}, "0@140 P 0@140", 140, 0},
        {"below one tick", {25}, "30@30", 0, 30},
        {"two partial frames", {25, 50}, "30@60", 0, 60},
        {"a partial frame completes a tick", {25, 75}, "40@70 P 20@90", 70, 20},
        {"an idle frame", {0}, "0@0", 0, 0},
    };
    for (const Case& c : cases) {
        RecordingEngine engine;
        engine.StartGame(&kSeed, kStart);
        for (uint32_t dwFrame : c.frames) {
            engine.m_Log.clear();
            engine.UpdateAt(kStart + dwFrame);
        }
        EXPECT_EQ(engine.m_Log, c.pszLog) << c.pszName;
        EXPECT_EQ(engine.GetEngineClock(), c.dwClock) << c.pszName;
        EXPECT_EQ(engine.GetTickAccumulator(), c.dwAccumulator) << c.pszName;
        engine.EndGame();
    }
}

TEST(EngineClockTest, PauseAndTickStopHoldBothClocksWithoutBacklog)
{
    RecordingEngine engine;
    engine.StartGame(&kSeed, kStart);
    engine.SetMatchClockRunning(true);
    engine.SetPaused(true);
    engine.UpdateAt(kStart + 5000);
    EXPECT_EQ(engine.m_Log, "");
    EXPECT_EQ(engine.GetEngineClock(), 0u);
    EXPECT_EQ(engine.GetRealElapsed(), 5000u);
    engine.SetPaused(false);
    engine.SetTickStop(true);
    engine.UpdateAt(kStart + 6000);
    EXPECT_EQ(engine.GetEngineClock(), 0u);
    engine.SetTickStop(false);
    engine.UpdateAt(kStart + 6025);  // only the 25 ms since the last frame count
    EXPECT_EQ(engine.m_Log, "30@30");
    EXPECT_EQ(engine.GetMatchTime(), 0u);
}

TEST(EngineClockTest, MatchTimeRunsOnlyWhileTheMatchClockRuns)
{
    CMatchEngine engine;
    engine.StartGame(&kSeed, kStart);
    engine.UpdateAt(kStart + 1000);  // 1200 ms: 17 whole ticks, 10 ms left
    EXPECT_EQ(engine.GetEngineClock(), 1190u);
    EXPECT_EQ(engine.GetMatchTime(), 0u);
    engine.SetMatchClockRunning(true);
    engine.UpdateAt(kStart + 2000);  // 1210 ms: 17 more
    EXPECT_EQ(engine.GetEngineClock(), 2380u);
    EXPECT_EQ(engine.GetMatchTime(), 1190u);
    // Marks at the first whole ticks more than 1000 ms past the last mark.
    EXPECT_EQ(engine.GetLastSecondMark(), 2100u);
}

TEST(EngineClockTest, FiveMinuteMarkMovesOnOnceItIsPassed)
{
    CMatchEngine engine;
    engine.StartGame(&kSeed, kStart);
    engine.UpdateAt(kStart + 250000);  // 300000 ms of engine time
    EXPECT_EQ(engine.GetNextFiveMinuteMark(), 300000u);
    engine.UpdateAt(kStart + 250100);
    EXPECT_EQ(engine.GetNextFiveMinuteMark(), 600000u);
}

TEST(EngineClockTest, SpeedFactorStepsAndSound)
{
    CMatchEngine engine;
    engine.StartGame(&kSeed, kStart);
    engine.ChangeSpeedFactor(-0.2f);
    EXPECT_FLOAT_EQ(engine.GetSpeedFactor(), 1.2f);
    EXPECT_TRUE(engine.IsSoundOn());
    for (int i = 0; i < 4; ++i)
        engine.ChangeSpeedFactor(0.2f);
    EXPECT_FLOAT_EQ(engine.GetSpeedFactor(), 2.0f);
    EXPECT_TRUE(engine.IsSoundOn());
    engine.ChangeSpeedFactor(0.2f);  // 2.2000003 as a float: above 2.2
    EXPECT_FALSE(engine.IsSoundOn());
    for (int i = 0; i < 60; ++i)
        engine.ChangeSpeedFactor(0.2f);
    EXPECT_FLOAT_EQ(engine.GetSpeedFactor(), 10.0f);
}

TEST(EngineClockTest, StartGameBuildsTheMatchAndEndGameFreesIt)
{
    CMatchEngine engine;
    engine.SetMatchType(0);
    engine.StartGame(&kSeed, kStart);
    EXPECT_EQ(engine.GetSeed(), kSeed);
    ASSERT_NE(engine.GetBall(), nullptr);
    EXPECT_EQ(g_pMatchBall, engine.GetBall());
    EXPECT_EQ(engine.GetCameraSubjectRing(), nullptr);  // no replay without a 3-D match type
    EXPECT_EQ(engine.GetBall()->GetTrajectoryRing(), nullptr);
    EXPECT_EQ(engine.GetZoneCount(), 11u);
    engine.EndGame();
    EXPECT_EQ(engine.GetBall(), nullptr);
    EXPECT_EQ(g_pMatchBall, nullptr);

    engine.SetMatchType(2);
    engine.StartGame(&kSeed, kStart);
    ASSERT_NE(engine.GetCameraSubjectRing(), nullptr);
    EXPECT_EQ(engine.GetCameraSubjectRing()->Seek(0)->dwTime, 0u);
    EXPECT_NE(engine.GetBall()->GetTrajectoryRing(), nullptr);
    engine.EndGame();
}

TEST(EngineSoundTest, SoundManagersFollowTheMatchTypeAndVolumes)
{
    // The crowd needs its sounds from the data tree, or it has no manager.
    const CurrentFolder folder(BRELLOX_GAME_DIR);
    CMatchEngine engine;
    engine.SetMatchType(0);
    ASSERT_TRUE(engine.StartGame(&kSeed, kStart));
    EXPECT_EQ(engine.GetCrowdSoundManager(), nullptr);
    EXPECT_EQ(engine.GetCommentarySoundManager(), nullptr);
    EXPECT_FALSE(engine.AreCrowdSoundsOn());

    engine.SetMatchType(2);
    engine.SetSoundVolumes(0, 0);
    ASSERT_TRUE(engine.StartGame(&kSeed, kStart));  // the first match is taken down
    EXPECT_NE(engine.GetCrowdSoundManager(), nullptr);
    EXPECT_NE(engine.GetCommentarySoundManager(), nullptr);
    EXPECT_FALSE(engine.AreCrowdSoundsOn());
    EXPECT_FALSE(engine.IsCommentaryOn());  // its volume is 0

    engine.SetSoundVolumes(96, 73);
    ASSERT_TRUE(engine.StartGame(&kSeed, kStart));
    EXPECT_TRUE(engine.AreCrowdSoundsOn());
    // Until the sound stage reaches 2 the managers keep their own time.
    engine.UpdateAt(kStart + 100);
    EXPECT_EQ(engine.GetCrowdSoundManager()->GetGameTime(), 0u);
    engine.SetSoundStage(2);
    engine.UpdateAt(kStart + 200);  // whole ticks at 70 and 140
    EXPECT_EQ(engine.GetCrowdSoundManager()->GetGameTime(), 140u);
    EXPECT_EQ(engine.GetCommentarySoundManager()->GetGameTime(), 140u);
    engine.EndGame();
    EXPECT_EQ(engine.GetCrowdSoundManager(), nullptr);
}

}  // namespace
