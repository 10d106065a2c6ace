#pragma once
// A match between two clubs of the starting world with the two assistant
// referees on their lines and, in the referee's place, an official who keeps
// every cause record the rules hand him and lets both assistants judge it.
// The test places the persons and the ball itself.
#include "../humans/HumanWorld.h"
#include "database/CDatabaseHandler.h"
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchAssistantReferee.h"
#include "match/actors/CMatchPlayer.h"
#include "render3d/CObjectData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class RecordingOfficial : public CMatchAssistantReferee {
public:
    RecordingOfficial(CMatchEngine& engine, CMatchAssistantReferee& line0, CMatchAssistantReferee& line1)
        : CMatchAssistantReferee(engine, 0), m_Line0(line0), m_Line1(line1)
    {
    }
    void CheckForCause(const MatchCauseRecord& record) override
    {
        records.push_back(record);
        m_Line0.CheckForCause(record);
        m_Line1.CheckForCause(record);
    }
    std::vector<MatchCauseRecord> records;

private:
    CMatchAssistantReferee& m_Line0;
    CMatchAssistantReferee& m_Line1;
};

class OfficialsFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_pFolder = new CurrentFolder(BRELLOX_GAME_DIR);
        s_pWorld = humans_test::LoadStartingWorld().release();
    }
    static void TearDownTestSuite()
    {
        delete s_pWorld;
        s_pWorld = nullptr;
        delete s_pFolder;
        s_pFolder = nullptr;
    }
    void SetUp() override
    {
        ASSERT_NE(s_pWorld, nullptr) << "the generated starting world did not load";
        ITEMMATCHRULESINFORMATION rules;
        rules.abyRules[2] = 5;
        m_Engine.SetShowLineUps(false);
        const uint32_t dwSeed = 5;
        ASSERT_TRUE(m_Engine.StartGame(*s_pWorld, 1, 2, 1, rules, 0, &dwSeed));
        m_pBall = m_Engine.GetBall();
        m_pHigh = m_Engine.GetClubAttackingHighEnd();
        m_pLow = m_Engine.GetClubAttackingLowEnd();
        ASSERT_TRUE(m_pHigh && m_pLow && m_pHigh != m_pLow);
        m_Engine.SetOfficials(&m_Judge, &m_Line0, &m_Line1, nullptr);
        m_Engine.SetMatchEvent(MATCHEVENT_NONE);
        m_Engine.SetMatchPeriod(MATCHPERIOD_FIRSTHALF);
    }
    void TearDown() override { m_Engine.EndGame(); }

    // Models for the officials, so that they can raise their flags.
    void GiveOfficialsModels()
    {
        const std::string meshes = std::string(BRELLOX_GAME_DIR) + "/MatchMeshes/";
        m_wMesh = m_Objects.LoadSkinned((meshes + "PlayerX1.x").c_str(), 15);
        ASSERT_NE(m_wMesh, OBJECT_NOT_FOUND);
        CMatchPerson::LoadAnimations(m_Objects, m_wMesh, meshes);
        for (CMatchPerson* p : {static_cast<CMatchPerson*>(&m_Judge), static_cast<CMatchPerson*>(&m_Line0),
                                static_cast<CMatchPerson*>(&m_Line1)})
            p->SetupModel(m_wMesh);
    }
    // Every outfield player of the club at that x, spread across the pitch.
    static void LineUpOutfield(CMatchClub& club, int32_t x)
    {
        for (int i = 1; i < club.GetOnPitchCount(); ++i)
            club.GetSlot(i)->SetPosition(CVector(x, 500 + i * 600, 0));
    }
    // The ball at a point with the player as its last toucher, as the ball's
    // post-step sees it after it was inside the play area one tick before.
    void MoveBallFromInside(CMatchPlayer* pToucher, const CVector& to)
    {
        m_pBall->SetPosition(5000, 3750, 0, false);
        m_pBall->StartBallInfo(BALLCAUSE_PASS, pToucher);
        m_pBall->UpdatePrediction();
        m_pBall->SetPosition(to.x, to.y, to.z, false);
        m_pBall->UpdatePrediction();
    }

    static CurrentFolder* s_pFolder;
    static CDatabaseHandler* s_pWorld;
    CMatchEngine m_Engine;
    CObjectData m_Objects{10};
    uint16_t m_wMesh = 0;
    CMatchAssistantReferee m_Line0{m_Engine, 0};
    CMatchAssistantReferee m_Line1{m_Engine, 1};
    RecordingOfficial m_Judge{m_Engine, m_Line0, m_Line1};
    CMatchBall* m_pBall = nullptr;
    CMatchClub* m_pHigh = nullptr;  // plays towards x = 10000
    CMatchClub* m_pLow = nullptr;
};

inline CurrentFolder* OfficialsFixture::s_pFolder = nullptr;
inline CDatabaseHandler* OfficialsFixture::s_pWorld = nullptr;
