#pragma once
// An engine with a built match (ball, zones, replay buffers) and a way to run
// its ball tick by tick.
#include "match/CMatchBall.h"
#include "match/CMatchEngine.h"

#include <gtest/gtest.h>

class MatchFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        const uint32_t dwSeed = 11;
        m_Engine.StartGame(&dwSeed, 0);
        m_pBall = m_Engine.GetBall();
    }
    void TearDown() override { m_Engine.EndGame(); }

    // Whole 70 ms ticks of the ball alone: the physics step and the post-step.
    void RunBallTicks(int nTicks)
    {
        for (int i = 0; i < nTicks; ++i) {
            m_dwClock += 70;
            m_pBall->Update(70, m_dwClock);
            m_pBall->UpdatePrediction();
        }
    }

    CMatchEngine m_Engine;
    CMatchBall* m_pBall = nullptr;
    uint32_t m_dwClock = 0;
};
