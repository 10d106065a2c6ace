#pragma once
// A match between two clubs of the starting world run by its own referee,
// with a recorder of what the match screen hears and a stand-in for what
// the footballers cannot do yet: nobody has a model to walk with, so the
// officials and every footballer running to his target are put on it each
// tick, and nobody strikes or meets the ball through an animation, so once
// the taker has chosen the kick his restart allows, the ball is put on the
// spot, he strikes it and the player it was meant for has it.
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
#include <functional>
#include <set>
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

// One restart as its taker played it: his kick and how long the restart
// waited from its award (engine clock, ms).
struct TAKENRESTART {
    uint8_t byEvent;
    uint8_t byPeriod;
    CMatchPlayer* pTaker;
    CVector position;
    uint8_t byDecision;
    CMatchPlayer* pPartner;
    uint32_t dwWaited;
};

// The fixture's engine: the ticks it runs itself (a skip runs them) bring in
// the stand-in when one is set, and the waiting messages are the test's.
class StandInEngine : public CMatchEngine {
public:
    void Tick(uint16_t wStep, uint32_t dwTime) override
    {
        CMatchEngine::Tick(wStep, dwTime);
        if (afterTick && wStep)
            afterTick();
    }
    std::function<void()> afterTick;
    std::vector<plat::Message> messages;

private:
    bool TakeWaitingMessage(plat::Message& message) override
    {
        if (messages.empty())
            return false;
        message = messages.front();
        messages.erase(messages.begin());
        return true;
    }
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

    // A match under the rules byte (extra time, aggregate, shoot-out bits),
    // the players in their places at once or walking out to them.
    bool Start(uint8_t byRules, uint32_t dwSeed = 5, bool bLineUps = false)
    {
        if (!s_pWorld)
            return false;
        ITEMMATCHRULESINFORMATION rules;
        rules.abyRules[0] = byRules;
        rules.abyRules[2] = 5;
        m_Engine.SetShowLineUps(bLineUps);
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

    static bool IsKick(uint8_t byDecision)
    {
        return byDecision == DECISION_PASS || byDecision == DECISION_CROSS || byDecision == DECISION_SHOOT ||
               byDecision == DECISION_CLEAR || byDecision == DECISION_LONG_BALL;
    }

    // What walking, striking the ball and meeting it will do.
    void StandIn()
    {
        m_pReferee->SetPosition(m_pReferee->GetTarget());
        for (CMatchClub* pClub : {m_pHome, m_pAway})
            for (int i = 0; i < pClub->GetSquadCount(); ++i)
                if (CMatchPlayer* p = pClub->GetSlot(i); p && p->IsRunningToTarget())
                    p->SetPosition(p->GetTarget());
        const uint8_t byEvent = m_Engine.GetMatchEvent();
        if (byEvent == MATCHEVENT_NONE) {
            m_bEventOpen = false;
            return;
        }
        if (!m_bEventOpen) {
            m_bEventOpen = true;
            m_dwEventSince = m_Engine.GetEngineClock();
        }
        // The taker strikes once the kick he chose is safe enough for the
        // referee's patience.
        CMatchPlayer* pTaker = m_pReferee->GetEventPlayer();
        if (!m_pReferee->IsSetupComplete() || !pTaker || !IsKick(pTaker->GetDecision()) ||
            pTaker->GetKickSafety() < m_pReferee->GetRestartPatience())
            return;
        const CVector spot = m_pReferee->GetEventPosition();
        CMatchPlayer* pPartner = pTaker->GetDecisionPartner();
        m_Taken.push_back({byEvent, m_Engine.GetMatchPeriod(), pTaker, spot, pTaker->GetDecision(), pPartner,
                           m_Engine.GetEngineClock() - m_dwEventSince});
        m_pBall->SetPossessor(nullptr);
        m_pBall->SetPosition(spot.x, spot.y, 0, false);
        m_pBall->SetVelocity(CVector());
        pTaker->KickBall();
        if (m_Engine.GetMatchPeriod() == MATCHPERIOD_SHOOTOUT)
            return;  // the kick's fate is the test's
        // A pass reaches its man; a shot is the goalkeeper's.
        CMatchPlayer* pReceiver = pPartner ? pPartner : pTaker->GetClub()->GetOpponent()->GetSlot(0);
        if (pReceiver) {
            const CVector at = ClampToPitch(pReceiver->GetPosition());
            m_pBall->SetPosition(at.x, at.y, 0, false);
            m_pBall->SetPossessor(pReceiver);
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

    // A restart for the club from a cause at a point.
    void Award(CMatchClub* pClub, uint8_t byCause, const CVector& at)
    {
        m_Engine.SetMatchEvent(MATCHEVENT_NONE);
        m_pReferee->SetRestartClub(pClub);
        m_pReferee->SetCause(byCause, pClub->GetOpponent()->GetSlot(6), at);
        m_pReferee->SetEventFromCause();
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
    StandInEngine m_Engine;
    MatchRecorder m_Recorder;
    CMatchReferee* m_pReferee = nullptr;
    CMatchBall* m_pBall = nullptr;
    CMatchClub* m_pHome = nullptr;
    CMatchClub* m_pAway = nullptr;
    std::vector<TAKENRESTART> m_Taken;
    bool m_bEventOpen = false;
    uint32_t m_dwEventSince = 0;
};

inline CurrentFolder* RestartsFixture::s_pFolder = nullptr;
inline CDatabaseHandler* RestartsFixture::s_pWorld = nullptr;
