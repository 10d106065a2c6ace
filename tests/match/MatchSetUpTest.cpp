#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(MatchWeatherTest, SkyLightSnowAndPrecipitation)
{
    struct Case {
        const char* pszName;
        uint8_t byWeather;
        bool bEvening, bProtected, bFullView;
        uint8_t bySky, bySnow;
        bool bPrecipitation;
        uint32_t dwInterval;
        int32_t nParticles;
        float fSkyTurn;
    } cases[] = {
        {"clear midweek", 0x00, true, false, false, 9, 0, false, 100, 0, 0.0f},
        {"clear weekend", 0x00, false, false, false, 3, 0, false, 100, 0, 0.0f},
        {"fog by day", 0x80, false, false, false, 5, 0, false, 100, 0, 0.0f},
        {"fog in the evening", 0x80, true, false, false, 8, 0, false, 100, 0, 0.0f},
        {"rain, full view", 1 << 2, false, false, true, 6, 0, true, 100, 200, 0.0f},
        {"heavy rain", 2 << 2, false, false, false, 2, 0, true, 100, 75, 0.0f},
        {"snow on a bare pitch", 3 << 2, false, false, false, 4, 2, false, 100, 0, 0.0f},
        {"snow on a protected pitch", 3 << 2, false, true, false, 4, 1, false, 100, 0, 0.0f},
        {"falling snow, evening", 4 << 2, true, false, false, 0, 2, true, 200, 50, 0.0f},
        {"turning sky", 2 << 5, false, false, false, 3, 0, false, 100, 0, 75000.0f},
        {"turning sky stops in the evening", 3 << 5, true, false, false, 9, 0, false, 100, 0, 0.0f},
    };
    for (const Case& c : cases) {
        const MATCHWEATHER w = CMatchEngine::MakeWeather(c.byWeather, c.bEvening, c.bProtected, c.bFullView);
        EXPECT_EQ(w.bySkySetting, c.bySky) << c.pszName;
        EXPECT_EQ(w.bySnowLevel, c.bySnow) << c.pszName;
        EXPECT_EQ(w.bPrecipitation, c.bPrecipitation) << c.pszName;
        EXPECT_EQ(w.dwPrecipitationInterval, c.dwInterval) << c.pszName;
        EXPECT_EQ(w.nParticleCount, c.nParticles) << c.pszName;
        EXPECT_FLOAT_EQ(w.fSkyTurnDivisor, c.fSkyTurn) << c.pszName;
    }
}

TEST(MatchWeatherTest, FogFollowsTheCameraAndTheWeather)
{
    struct Case {
        const char* pszName;
        uint8_t byCamera, byWeather;
        bool bEvening, bFogged;
        float fStart, fEnd;
        uint32_t dwColour;
    } cases[] = {
        {"orbit, clear evening", CMatchEngine::CAMERA_ORBIT, 0x00, true, true, 2000.0f, 17000.0f, 0xFF190019},
        {"orbit, clear day", CMatchEngine::CAMERA_ORBIT, 0x00, false, true, 2000.0f, 22000.0f, 0xFF190019},
        {"other view, fog", 1, 0x80, false, true, 0.0f, 11000.0f, 0xFF7F7F7F},
        {"no 3-D view", CMatchEngine::CAMERA_NO_3D, 0x80, false, false, 0.0f, 0.0f, 0},
    };
    for (const Case& c : cases) {
        CMatchEngine::FOG fog;
        const MATCHWEATHER weather = CMatchEngine::MakeWeather(c.byWeather, c.bEvening, false, false);
        EXPECT_EQ(CMatchEngine::MakeFog(c.byCamera, weather, fog), c.bFogged) << c.pszName;
        EXPECT_FLOAT_EQ(fog.fStart, c.fStart) << c.pszName;
        EXPECT_FLOAT_EQ(fog.fEnd, c.fEnd) << c.pszName;
        EXPECT_EQ(fog.dwColour, c.dwColour) << c.pszName;
    }
}

TEST(MatchViewTest, ViewRadarAndPlanRectangles)
{
    CMatchEngine engine;
    engine.SetViewport(0, 0, 320, 240);
    EXPECT_FLOAT_EQ(engine.GetAspectRatio(), 0.75f);
    EXPECT_EQ(engine.GetViewRect().nRight, 320);
    EXPECT_EQ(engine.GetViewRect().nBottom, 240);
    engine.SetViewport(0, 0, 0, 240);  // refused: the last view stays
    EXPECT_FLOAT_EQ(engine.GetAspectRatio(), 0.75f);
    // The plan lays the pitch's length across, rounded up so that it fits.
    engine.SetPitchMapRect({10, 20, 210, 170});
    EXPECT_EQ(engine.GetPitchMapScaleX(), 50);
    EXPECT_EQ(engine.GetPitchMapScaleY(), 50);
    engine.SetPitchMapRect({10, 20, 160, 220});
    EXPECT_EQ(engine.GetPitchMapScaleX(), 67);
    EXPECT_EQ(engine.GetPitchMapScaleY(), 38);
    engine.SetPitchMapRect({0, 0, 0, 0});
    EXPECT_EQ(engine.GetPitchMapScaleX(), 0);
    // The radar shows the pitch with its margins.
    engine.SetRadarRect({0, 0, 113, 85});
    EXPECT_FLOAT_EQ(engine.GetRadarScaleX(), 100.0f);
    EXPECT_FLOAT_EQ(engine.GetRadarScaleY(), 100.0f);
    EXPECT_EQ(engine.GetRadarMarkerWidth(), 6);
    EXPECT_EQ(engine.GetRadarMarkerHeight(), 5);
}

class MatchSetUpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Database.ResetClubTable(3);
        for (ID_CLUB id = 1; id <= 2; ++id) {
            m_Clubs[id - 1] = std::make_unique<CClubDatabase>();
            m_Clubs[id - 1]->m_wClubId = id;
            m_Database.SetClubInTable(id, m_Clubs[id - 1].get());
        }
    }
    void TearDown() override
    {
        for (ID_CLUB id = 1; id <= 2; ++id)
            m_Database.SetClubInTable(id, nullptr);
    }

    CDatabaseHandler m_Database;
    std::unique_ptr<CClubDatabase> m_Clubs[2];
    CMatchEngine m_Engine;
};

TEST_F(MatchSetUpTest, TwoClubsOfTheDatabaseMakeAMatch)
{
    ITEMMATCHRULESINFORMATION rules;
    rules.abyRules[2] = 5;
    const uint32_t dwSeed = 99;
    ASSERT_TRUE(m_Engine.StartGame(m_Database, 1, 2, 1, rules, 0, &dwSeed));
    EXPECT_EQ(m_Engine.GetHomeClubRecord(), m_Clubs[0].get());
    EXPECT_EQ(m_Engine.GetAwayClubRecord(), m_Clubs[1].get());
    EXPECT_EQ(m_Engine.GetPeoplePerSide(), 16);
    EXPECT_EQ(m_Engine.GetSeed(), dwSeed);
    EXPECT_NE(m_Engine.GetBall(), nullptr);
    EXPECT_FLOAT_EQ(m_Engine.GetSpeedFactor(), 1.2f);
    EXPECT_NE(m_Engine.Get3DEngine(), nullptr);
    // Clubs without players field nobody, and the match still runs.
    ASSERT_NE(m_Engine.GetHomeClub(), nullptr);
    EXPECT_EQ(m_Engine.GetHomeClub()->GetSlot(0), nullptr);
    EXPECT_EQ(m_Engine.GetAwayClub()->GetNearestPlayer({5000, 3750, 0}, nullptr), nullptr);
    EXPECT_EQ(m_Engine.GetAwayClub()->GetLowestBallDistance(-1), 999999999);
    m_Engine.Tick(70, 70);
    m_Engine.PostTick();
    m_Engine.EndGame();
}

TEST_F(MatchSetUpTest, AnUnknownClubBuildsNothing)
{
    ITEMMATCHRULESINFORMATION rules;
    EXPECT_FALSE(m_Engine.StartGame(m_Database, 1, 3, 1, rules, 0, nullptr));   // an empty slot
    EXPECT_FALSE(m_Engine.StartGame(m_Database, 1, 900, 1, rules, 0, nullptr));  // beyond the table
    EXPECT_FALSE(m_Engine.StartGame(m_Database, 2, 2, 1, rules, 0, nullptr));    // against itself
    EXPECT_EQ(m_Engine.GetBall(), nullptr);
}

}  // namespace
