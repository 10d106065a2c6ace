// Sprite frames are cut from their grid, clipped to the display, and stepped
// by time and by play mode.
#include "PixelLayout.h"

#include "platform/Clock.h"
#include "xframework/CXAnimation.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class CXAnimationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseLayout(false);
        // Two rows of two 20 x 10 frames; each pixel's value names its frame and column.
        ASSERT_TRUE(m_source.Create(40, 20, true, true));
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x)
                m_source.GetSurface()->setPixel(x, y, static_cast<uint16_t>(0x100 * (1 + (y / 10) * 2 + x / 20) + x % 20));
        ASSERT_TRUE(m_target.Create(800, 600, true, false));
        m_target.GetSurface()->fill(nullptr, 0);
        m_animation.Setup(&m_source, 20, 10, 0, 0, 4, 2);
    }
    uint16_t At(int x, int y) const { return m_target.GetSurface()->pixel(x, y); }

    CXSurface m_source;
    CXSurface m_target;
    CXAnimation m_animation;
};

TEST_F(CXAnimationTest, FramesComeFromTheGridAndAreClippedToTheDisplay)
{
    m_animation.DrawFrame(&m_target, 100, 100, 3, false);
    EXPECT_EQ(At(100, 100), 0x400);
    EXPECT_EQ(At(119, 109), 0x400 + 19);
    EXPECT_EQ(At(120, 100), 0);
    EXPECT_EQ(At(100, 110), 0);

    // At x 790 only the ten left columns show.
    m_animation.DrawFrame(&m_target, 790, 590, 1, false);
    EXPECT_EQ(At(790, 590), 0x200);
    EXPECT_EQ(At(799, 599), 0x200 + 9);
    // Off the top left, the visible part lands at the corner.
    m_animation.DrawFrame(&m_target, -5, -3, 0, false);
    EXPECT_EQ(At(0, 0), 0x100 + 5);
    EXPECT_EQ(At(14, 6), 0x100 + 19);
    EXPECT_EQ(At(15, 0), 0);
    EXPECT_EQ(At(0, 7), 0);
    // Wholly off the display: nothing, and no failure.
    m_animation.DrawFrame(&m_target, -25, 50, 0, false);
    m_animation.DrawFrame(&m_target, 805, 50, 0, false);
    EXPECT_EQ(At(0, 50), 0);
}

TEST_F(CXAnimationTest, DrawCatchesUpOnEveryPeriodMissed)
{
    m_animation.Setup(&m_source, 20, 10, 0, 0, 16, 2);
    m_animation.m_dwLastTime = plat::milliseconds() - 1000;
    m_animation.Draw(&m_target, 0, 0, false);
    EXPECT_EQ(m_animation.m_nCurrentFrame, 10);
}

std::vector<int> Steps(CXAnimation& animation, int nSteps)
{
    std::vector<int> frames;
    for (int i = 0; i < nSteps; ++i) {
        animation.Advance();
        frames.push_back(animation.m_nCurrentFrame);
    }
    return frames;
}

TEST_F(CXAnimationTest, PlayModesStepAsTheyShould)
{
    m_animation.m_nLoopStart = 1;
    EXPECT_EQ(Steps(m_animation, 6), (std::vector<int>{1, 2, 3, 1, 2, 3}));

    m_animation.Setup(&m_source, 20, 10, 0, 0, 3, 2);
    m_animation.m_nPlayMode = CXAnimation::PLAY_PINGPONG;
    m_animation.m_nPingPongPause = 5;
    EXPECT_EQ(Steps(m_animation, 11), (std::vector<int>{1, 2, 2, 2, 2, 2, 2, 1, 0, 1, 2}));

    m_animation.Setup(&m_source, 20, 10, 0, 0, 3, 2);
    m_animation.m_nPlayMode = CXAnimation::PLAY_LOOP_COUNT;
    m_animation.m_nLoopsLeft = 1;
    EXPECT_EQ(Steps(m_animation, 6), (std::vector<int>{1, 2, 1, 2, 2, 2}));  // back to the loop start, 1

    m_animation.Setup(&m_source, 20, 10, 0, 0, 4, 2);
    m_animation.m_nStopFrame = 2;
    EXPECT_EQ(Steps(m_animation, 4), (std::vector<int>{1, 2, 2, 2}));
}

}  // namespace
