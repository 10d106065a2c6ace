#pragma once
// Footballers of two clubs of the starting world in a match whose players
// the test places itself: records given skill values for the next match
// set up (put back afterwards), everyone not named kept out of play, the
// ball with the first named player, and models for those who must animate.
#include "../humans/HumanWorld.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchPlayer.h"
#include "platform/Random.h"
#include "render3d/CObjectData.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

// Where a player stands, x measured from the goal the home side defends.
struct PLACE {
    bool bHome;
    int nSlot;
    int32_t nForward;
    int32_t y;
};

class FootballerFixture : public ::testing::Test {
protected:
    static constexpr double kPi = 3.14159265358979323846;
    static inline const std::string kMeshes = std::string(BRELLOX_GAME_DIR) + "/MatchMeshes/";

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
    void SetUp() override { ASSERT_NE(s_pWorld, nullptr) << "the generated starting world did not load"; }
    void TearDown() override
    {
        m_Engine.EndGame();
        for (auto& [pPlayer, attributes] : m_Saved)
            std::copy(std::begin(attributes), std::end(attributes), pPlayer->m_awAttributes);
    }

    void Start(uint32_t dwSeed)
    {
        ITEMMATCHRULESINFORMATION rules;
        ASSERT_TRUE(m_Engine.StartGame(*s_pWorld, 1, 2, 1, rules, 0, &dwSeed));
        m_pHome = m_Engine.GetHomeClub();
        m_pAway = m_Engine.GetAwayClub();
        m_pBall = m_Engine.GetBall();
        ASSERT_TRUE(m_pHome && m_pAway && m_pBall);
        m_Engine.SetMatchEvent(MATCHEVENT_NONE);  // open play
    }
    // Gives a record new skill values for the next match set up; they are
    // put back afterwards.
    void SetAttributes(CPlayerDatabase* p, std::initializer_list<std::pair<PLAYER_ATTRIBUTE, uint16_t>> values)
    {
        std::array<uint16_t, PLAYER_ATTRIBUTE_COUNT> kept;
        std::copy(std::begin(p->m_awAttributes), std::end(p->m_awAttributes), kept.begin());
        m_Saved.emplace_back(p, kept);
        for (const auto& [attribute, value] : values)
            p->m_awAttributes[attribute] = value;
    }
    CMatchClub* Club(bool bHome) const { return bHome ? m_pHome : m_pAway; }
    CVector At(int32_t nForward, int32_t y) const
    {
        return CVector(m_pHome->AttacksHighEnd() ? nForward : PITCH_LENGTH - nForward, y, 0);
    }
    // Everybody not named stands in a row at halfway far beyond a touch
    // line, out of play; the named players stand where given, the first of
    // them with the ball.
    void Arrange(const std::vector<PLACE>& places)
    {
        for (bool bHome : {true, false})
            for (int i = 0; i < Club(bHome)->GetOnPitchCount(); ++i)
                Club(bHome)->GetSlot(i)->SetPosition(CVector(4500 + 100 * i, bHome ? -3000 : -3500, 0));
        for (const PLACE& place : places)
            Player(place.bHome, place.nSlot)->SetPosition(At(place.nForward, place.y));
        CMatchPlayer* pHolder = Player(places[0].bHome, places[0].nSlot);
        m_pBall->SetPosition(pHolder->GetPosition().x, pHolder->GetPosition().y, 0, false);
        m_pBall->SetPossessor(pHolder);
        m_Engine.PostTick();  // the distance tables
    }
    CMatchPlayer* Player(bool bHome, int nSlot) const { return Club(bHome)->GetSlot(nSlot); }
    // The kick candidates that open play offers the player on the ball in
    // his zone, competing on one rating: the pass first, then clearing in
    // defence, crossing on the wings, shooting in the centre up front.
    static uint8_t Decide(CMatchPlayer& p)
    {
        p.UpdatePressure();
        p.SetKickTarget(p.GetPosition());
        p.TryPassToTeamMates();
        switch (p.GetClub()->GetZone(p.GetPosition().x, p.GetPosition().y)) {
        case 1: p.TryClear(), p.TryLongBall(); break;
        case 2: p.TryLongBall(), p.TryClear(), p.TryMakeRun(); break;
        case 4: p.TryCross(); break;
        case 5: p.ChooseShotTarget(); break;
        default: ADD_FAILURE() << "no zone"; break;
        }
        return p.GetBestKickRating() > -1.0f ? p.GetDecision() : 255;
    }
    void GiveModels()
    {
        m_wPlayerMesh = m_Objects.LoadSkinned((kMeshes + "PlayerX1.x").c_str(), 15);
        ASSERT_NE(m_wPlayerMesh, OBJECT_NOT_FOUND);
        CMatchPerson::LoadAnimations(m_Objects, m_wPlayerMesh, kMeshes);
        for (CMatchClub* pClub : {m_pHome, m_pAway})
            for (int i = 0; i < pClub->GetSquadCount(); ++i)
                if (CMatchPlayer* p = pClub->GetSlot(i))
                    p->SetupModel(m_wPlayerMesh);
    }

    static CurrentFolder* s_pFolder;
    static CDatabaseHandler* s_pWorld;
    CMatchEngine m_Engine;
    CMatchClub* m_pHome = nullptr;
    CMatchClub* m_pAway = nullptr;
    CMatchBall* m_pBall = nullptr;
    CObjectData m_Objects{10};
    uint16_t m_wPlayerMesh = 0;
    std::vector<std::pair<CPlayerDatabase*, std::array<uint16_t, PLAYER_ATTRIBUTE_COUNT>>> m_Saved;
};

inline CurrentFolder* FootballerFixture::s_pFolder = nullptr;
inline CDatabaseHandler* FootballerFixture::s_pWorld = nullptr;
