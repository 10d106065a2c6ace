#pragma once
// A match between two clubs of the starting world run by its own referee,
// with a recorder of what the match screen hears and a stand-in for what
// the footballers cannot do yet: nobody has a model to walk with, so the
// officials are put on their targets each tick, and the restart taker plays
// the ball to a team-mate once the referee has whistled.
#include "../humans/HumanWorld.h"
#include "database/CDatabaseHandler.h"
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/CMatchEventReceiver.h"
#include "match/actors/CMatchPlayer.h"
#include "match/actors/CMatchReferee.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

class MatchRecorder : public CMatchEventReceiver {
public:
    void OnMatchEvent(const ITEMMATCHEVENTINFORMATION& event) override { events.push_back(event); }
    void AddPendingEvent(const ITEMMATCHEVENTINFORMATION& event) override { incidents.push_back(event); }
    void OnMatchResult(uint8_t byCode) override { results.push_back(byCode); }
    int Count(uint8_t byCode, int nDetail = -1) const
    {
        return int(std::count_if(events.begin(), events.end(), [&](const ITEMMATCHEVENTINFORMATION& e) {
            return e.byEvent == byCode && (nDetail < 0 || e.byDetail == nDetail);
        }));
    }
    int CountIncidents(uint8_t byKind) const
    {
        return int(std::count_if(incidents.begin(), incidents.end(),
                                 [&](const ITEMMATCHEVENTINFORMATION& e) { return e.byEvent == byKind; }));
    }
    std::vector<ITEMMATCHEVENTINFORMATION> events, incidents;
    std::vector<uint8_t> results;
};

// One restart as the stand-in took it.
struct TAKENRESTART {
    uint8_t byEvent;
    uint8_t byPeriod;
    CMatchPlayer* pTaker;
    CVector position;
};

class RestartsFixture : public ::testing::Test {
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
    void TearDown() override { m_Engine.EndGame(); }

    // A match under the rules byte (extra time, aggregate, shoot-out bits).
    bool Start(uint8_t byRules, uint32_t dwSeed = 5)
    {
        if (!s_pWorld)
            return false;
        ITEMMATCHRULESINFORMATION rules;
        rules.abyRules[0] = byRules;
        rules.abyRules[2] = 5;
        m_Engine.SetShowLineUps(false);
        m_Engine.SetEventReceiver(&m_Recorder);
        if (!m_Engine.StartGame(*s_pWorld, 1, 2, 1, rules, 0, &dwSeed))
            return false;
        m_pReferee = m_Engine.GetReferee();
        m_pBall = m_Engine.GetBall();
        m_pHome = m_Engine.GetHomeClub();
        m_pAway = m_Engine.GetAwayClub();
        return m_pReferee && m_pBall && m_pHome && m_pAway;
    }

    // One whole tick: the ball's step, then the decision step.
    void Tick()
    {
        m_pBall->Update(MATCH_TICK_MS, m_Engine.GetEngineClock() + MATCH_TICK_MS);
        StandIn();
        m_Engine.PostTick();
    }

    // What walking and the footballers' set pieces will do.
    void StandIn()
    {
        m_pReferee->SetPosition(m_pReferee->GetTarget());
        const uint8_t byEvent = m_Engine.GetMatchEvent();
        CMatchPlayer* pTaker = m_pReferee->GetEventPlayer();
        if (byEvent == MATCHEVENT_NONE || !m_pReferee->IsSetupComplete() || !pTaker)
            return;
        m_Taken.push_back({byEvent, m_Engine.GetMatchPeriod(), pTaker, m_pReferee->GetEventPosition()});
        const CVector spot = m_pReferee->GetEventPosition();
        m_pBall->SetPossessor(nullptr);
        m_pBall->SetPosition(spot.x, spot.y, 0, false);
        m_pBall->SetVelocity(CVector());
        m_pBall->StartBallInfo(BALLCAUSE_PASS, pTaker);
        m_pReferee->OnRestartTaken();
        if (m_Engine.GetMatchPeriod() == MATCHPERIOD_SHOOTOUT)
            return;  // the kick's fate is the test's
        // A team-mate takes the pass.
        CMatchClub* pClub = pTaker->GetClub();
        CMatchPlayer* pMate = pClub->GetNearestPlayerExcept(pTaker->GetPosition(), pTaker, nullptr);
        if (pMate) {
            const CVector at = ClampToPitch(pMate->GetPosition());
            m_pBall->SetPosition(at.x, at.y, 0, false);
            m_pBall->SetPossessor(pMate);
        }
    }

    static CVector ClampToPitch(const CVector& p)
    {
        return CVector(std::clamp(p.x, 200, PITCH_LENGTH - 200), std::clamp(p.y, 200, PITCH_WIDTH - 200), 0);
    }

    // The ball carried from the centre to a point, with the player as its
    // last toucher, as the ball's post-step sees it.
    void PlayBallTo(CMatchPlayer* pToucher, const CVector& to)
    {
        m_pBall->SetPossessor(nullptr);
        m_pBall->SetPosition(5000, 3750, 0, false);
        m_pBall->StartBallInfo(BALLCAUSE_SHOT, pToucher);
        m_pBall->UpdatePrediction();
        m_pBall->SetPosition(to.x, to.y, to.z, false);
        m_pBall->UpdatePrediction();
    }

    // Ticks until the predicate holds or the limit of ticks passes.
    template <typename F> bool RunUntil(F done, int nLimit)
    {
        for (int i = 0; i < nLimit; ++i) {
            if (done())
                return true;
            Tick();
        }
        return done();
    }

    static CurrentFolder* s_pFolder;
    static CDatabaseHandler* s_pWorld;
    CMatchEngine m_Engine;
    MatchRecorder m_Recorder;
    CMatchReferee* m_pReferee = nullptr;
    CMatchBall* m_pBall = nullptr;
    CMatchClub* m_pHome = nullptr;
    CMatchClub* m_pAway = nullptr;
    std::vector<TAKENRESTART> m_Taken;
};

inline CurrentFolder* RestartsFixture::s_pFolder = nullptr;
inline CDatabaseHandler* RestartsFixture::s_pWorld = nullptr;
