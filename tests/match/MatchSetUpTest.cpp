#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "match/CMatchBall.h"
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
