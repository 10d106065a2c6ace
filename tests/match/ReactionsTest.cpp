// The footballers' reactions: the scorer's celebration with the team-mates
// who join him, frustration at a miss, and arguing with whoever provoked him.
#include "RestartsFixture.h"

#include "render3d/CObjectData.h"

#include <string>

namespace {

class ReactionsTest : public RestartsFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Start(0));
        m_pReferee->OnRestartTaken();  // the first kick-off: open play
    }
    // The home side scores through its slot 6; the away side kicks off.
    CMatchPlayer* HomeGoal()
    {
        Award(m_pAway, CAUSE_GOAL, CVector(m_pHome->AttacksHighEnd() ? 10100 : -100, 3750, 0));
        EXPECT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_KICKOFF);
        EXPECT_EQ(m_pReferee->GetResolvedCause(), CAUSE_GOAL);
        CMatchPlayer* pScorer = m_pReferee->GetOffender();
        EXPECT_EQ(pScorer, m_pHome->GetSlot(6));
        pScorer->SetPosition(CVector(6000, 3000, 0));
        return pScorer;
    }
    void SetAnger(CMatchPlayer* p, int nAnger) { p->AdjustAnger(int16_t(nAnger - p->GetAnger())); }
};

TEST_F(ReactionsTest, TheScorerCelebratesForAsLongAsHisMoraleGives)
{
    struct Case {
        int nMorale;
        bool bCelebrates;
        uint32_t dwTime;
    } cases[] = {{860, true, 5000}, {850, false, 0}, {999, true, 5500}, {500, false, 0}, {851, false, 0}};
    CMatchPlayer* pScorer = HomeGoal();
    for (const Case& c : cases) {
        pScorer->SetDecision(DECISION_POSITION_BASE);
        pScorer->SetMorale(c.nMorale);
        EXPECT_EQ(pScorer->MakeReactionDecision(), c.bCelebrates) << c.nMorale;
        EXPECT_EQ(pScorer->GetDecision() == DECISION_CELEBRATE, c.bCelebrates) << c.nMorale;
        if (c.bCelebrates) {
            EXPECT_EQ(pScorer->GetCelebrationTime(), c.dwTime) << c.nMorale;
            EXPECT_EQ(pScorer->GetTarget(), pScorer->GetPosition()) << c.nMorale;
        }
    }
}

TEST_F(ReactionsTest, TeamMatesNearTheCelebratingScorerGatherRoundHim)
{
    CMatchPlayer* pScorer = HomeGoal();
    pScorer->SetMorale(900);
    const CVector at = pScorer->GetPosition();  // y below the centre: the gathering y turns over
    struct Case {
        const char* pszName;
        CMatchPlayer* pPlayer;
        CVector offset;
        int nMorale;
        bool bScorerFirst;
        bool bJoins;
    } cases[] = {
        {"team-mate close by", m_pHome->GetSlot(3), {1000, 0, 0}, 900, true, true},
        {"team-mate just inside 5000", m_pHome->GetSlot(4), {4999, 0, 0}, 900, true, true},
        {"team-mate 5000 away", m_pHome->GetSlot(5), {5000, 0, 0}, 900, true, false},
        {"team-mate without the morale", m_pHome->GetSlot(7), {500, 0, 0}, 850, true, false},
        {"before the scorer started", m_pHome->GetSlot(8), {500, 0, 0}, 900, false, false},
        {"opponent", m_pAway->GetSlot(3), {500, 0, 0}, 900, true, false},
    };
    for (const Case& c : cases) {
        pScorer->SetDecision(DECISION_POSITION_BASE);
        if (c.bScorerFirst)
            ASSERT_TRUE(pScorer->MakeReactionDecision()) << c.pszName;
        c.pPlayer->SetPosition(at + c.offset);
        c.pPlayer->SetMorale(c.nMorale);
        c.pPlayer->SetDecision(DECISION_POSITION_BASE);
        EXPECT_EQ(c.pPlayer->MakeReactionDecision(), c.bJoins) << c.pszName;
        EXPECT_EQ(c.pPlayer->GetDecision() == DECISION_CELEBRATE, c.bJoins) << c.pszName;
        if (!c.bJoins)
            continue;
        CVector gathering = CMatchPlayer::GetGatheringOffset(c.pPlayer->GetSquadPosition());
        gathering.y = -gathering.y;
        EXPECT_EQ(c.pPlayer->GetTarget(), at + gathering) << c.pszName;
        // While the celebration lasts he follows the scorer.
        pScorer->SetPosition(at + CVector(300, 0, 0));
        EXPECT_TRUE(c.pPlayer->MakeReactionDecision()) << c.pszName;
        EXPECT_EQ(c.pPlayer->GetTarget(), at + CVector(300, 0, 0) + gathering) << c.pszName;
        pScorer->SetPosition(at);
    }
}

TEST_F(ReactionsTest, TheCelebrationEndsOnTimeAndDoesNotStartAgainAtTheSameKickOff)
{
    CMatchPlayer* pScorer = HomeGoal();
    pScorer->SetMorale(860);  // 5000 ms
    CMatchPlayer* pMate = m_pHome->GetSlot(3);
    pMate->SetPosition(pScorer->GetPosition() + CVector(400, 0, 0));
    pMate->SetMorale(990);
    // The decision step runs every tick; nobody walks, so the kick-off waits.
    const uint32_t dwStart = m_Engine.GetEngineClock();
    bool bMateJoined = false;
    while (m_Engine.GetEngineClock() - dwStart < 4900) {
        m_Engine.PostTick();
        ASSERT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_KICKOFF);
        if (m_Engine.GetEngineClock() - dwStart > 200)
            EXPECT_EQ(pScorer->GetDecision(), DECISION_CELEBRATE) << m_Engine.GetEngineClock() - dwStart;
        bMateJoined = bMateJoined || pMate->GetDecision() == DECISION_CELEBRATE;
    }
    EXPECT_TRUE(bMateJoined);
    while (m_Engine.GetEngineClock() - dwStart < 7000)
        m_Engine.PostTick();
    ASSERT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_KICKOFF);
    EXPECT_NE(pScorer->GetDecision(), DECISION_CELEBRATE);
    EXPECT_LT(pScorer->GetMorale(), 850) << "below the mark a celebration needs (849 when it ends, drifting since)";
    EXPECT_FALSE(pScorer->MakeReactionDecision() && pScorer->GetDecision() == DECISION_CELEBRATE);
}

TEST_F(ReactionsTest, AFrustratedPlayerShowsItOnceTheMomentHasPassed)
{
    CMatchPlayer* p = m_pHome->GetSlot(9);
    p->SetPosition(CVector(7000, 2000, 0));
    struct Case {
        const char* pszName;
        CMatchPerson* pHolder;
        uint8_t byCause;
        bool bShows;
    } cases[] = {
        {"ball loose in play", nullptr, CAUSE_NONE, false},
        {"somebody has the ball", m_pAway->GetSlot(0), CAUSE_NONE, true},
        {"the referee gave something", nullptr, CAUSE_BALL_OFF_END, true},
    };
    for (const Case& c : cases) {
        m_pBall->SetPossessor(nullptr);
        m_pBall->SetPosition(5000, 3750, 0, false);
        if (c.pHolder)
            m_pBall->SetPossessor(c.pHolder);
        m_pReferee->SetCause(c.byCause, nullptr, CVector());
        p->SetDecision(DECISION_EMOTION_FRUSTRATION);
        p->SetTarget(CVector(9000, 3000, 0), CMatchPerson::kNoFacing);
        EXPECT_EQ(p->MakeReactionDecision(), c.bShows) << c.pszName;
        if (c.bShows)
            EXPECT_EQ(p->GetTarget(), p->GetPosition()) << c.pszName << ": he stops where he is";
    }
}

TEST_F(ReactionsTest, AProvokedPlayerArguesOnlyWhenAngryEnough)
{
    m_Engine.SetMatchEvent(MATCHEVENT_FREEKICK);
    CMatchPlayer* p = m_pHome->GetSlot(4);
    p->SetPosition(CVector(4000, 2000, 0));
    CMatchPerson* apProvokers[] = {m_pAway->GetSlot(8), m_pReferee};
    struct Case {
        int nAnger;
        bool bArgues;
    } cases[] = {{905, false}, {910, true}, {999, true}, {300, false}};
    for (CMatchPerson* pProvoker : apProvokers) {
        pProvoker->SetPosition(CVector(4500, 2500, 0));
        for (const Case& c : cases) {
            m_Recorder.events.clear();
            SetAnger(p, c.nAnger);
            p->SetProvoker(pProvoker);
            pProvoker->SetArguedBy(nullptr);
            p->SetDecision(DECISION_POSITION_BASE);
            EXPECT_EQ(p->MakeReactionDecision(), c.bArgues) << c.nAnger;
            if (!c.bArgues) {
                EXPECT_EQ(p->GetProvoker(), nullptr) << c.nAnger << ": the link is dropped";
                EXPECT_EQ(pProvoker->GetArguedBy(), nullptr) << c.nAnger;
                EXPECT_EQ(m_Recorder.Count(18), 0) << c.nAnger;
                continue;
            }
            EXPECT_EQ(p->GetDecision(), DECISION_ARGUE) << c.nAnger;
            EXPECT_EQ(pProvoker->GetArguedBy(), p) << c.nAnger;
            CVector offset = CMatchPlayer::GetGatheringOffset(p->GetSquadPosition());
            if (m_pHome->AttacksHighEnd())
                offset.y = -offset.y;
            EXPECT_EQ(p->GetTarget(), pProvoker->GetPosition() + offset) << c.nAnger;
            // The referee hears it every time the player goes at him.
            EXPECT_TRUE(p->MakeReactionDecision());
            const int nHeard = pProvoker == m_pReferee ? 2 : 0;
            EXPECT_EQ(m_Recorder.Count(18, 1), nHeard) << c.nAnger;
            if (nHeard)
                EXPECT_EQ(m_Recorder.events.back().pPerson, m_pReferee);
        }
    }
    // In open play a provoked player gets on with the game.
    m_Engine.SetMatchEvent(MATCHEVENT_NONE);
    SetAnger(p, 999);
    p->SetProvoker(m_pAway->GetSlot(8));
    m_pAway->GetSlot(8)->SetArguedBy(nullptr);
    EXPECT_FALSE(p->MakeReactionDecision());
}

TEST_F(ReactionsTest, UpCloseHeArguesWithHisHandsAndCools)
{
    CObjectData objects{10};
    const std::string meshes = std::string(BRELLOX_GAME_DIR) + "/MatchMeshes/";
    const uint16_t wMesh = objects.LoadSkinned((meshes + "PlayerX1.x").c_str(), 15);
    ASSERT_NE(wMesh, OBJECT_NOT_FOUND);
    CMatchPerson::LoadAnimations(objects, wMesh, meshes);
    const ACTIONENTRY* pArguing = CMatchPerson::GetAnimationLibrary().GetAction(42);
    ASSERT_TRUE(pArguing && !pArguing->records.empty());

    m_Engine.SetMatchEvent(MATCHEVENT_FREEKICK);
    CMatchPlayer* p = m_pHome->GetSlot(4);
    CMatchPlayer* pProvoker = m_pAway->GetSlot(8);
    p->SetPosition(CVector(4000, 2000, 0));
    pProvoker->SetPosition(CVector(4500, 2500, 0));
    SetAnger(p, 950);
    p->SetProvoker(pProvoker);
    // Still on his way: no gesture yet.
    ASSERT_TRUE(p->MakeReactionDecision());
    EXPECT_FALSE(p->IsRequestPending());
    EXPECT_EQ(p->GetAnger(), 950);
    // There: the arguing gesture, and it takes 100 off his anger.
    p->SetPosition(p->GetTarget());
    p->SetTarget(p->GetPosition(), CMatchPerson::kNoFacing);
    ASSERT_TRUE(p->MakeReactionDecision());
    EXPECT_TRUE(p->IsRequestPending());
    EXPECT_EQ(p->GetRequest().animation, pArguing->records[0].wAnimation);
    EXPECT_EQ(p->GetAnger(), 850);
    // Cooled below the mark he lets it go.
    EXPECT_FALSE(p->MakeReactionDecision());
    EXPECT_EQ(p->GetProvoker(), nullptr);
}

TEST_F(ReactionsTest, TheOneArguedWithArguesBackWhenHisOwnAngerIsHigh)
{
    CMatchPlayer* pArguer = m_pHome->GetSlot(4);
    CMatchPlayer* p = m_pAway->GetSlot(8);
    pArguer->SetPosition(CVector(4000, 2000, 0));
    p->SetArguedBy(pArguer);
    SetAnger(p, 909);
    EXPECT_FALSE(p->MakeReactionDecision());
    SetAnger(p, 910);
    EXPECT_TRUE(p->MakeReactionDecision());
    EXPECT_EQ(p->GetDecision(), DECISION_ARGUE);
    // Anger moves within 0..999.
    SetAnger(p, 990);
    p->AdjustAnger(100);
    EXPECT_EQ(p->GetAnger(), 999);
    p->AdjustAnger(-2000);
    EXPECT_EQ(p->GetAnger(), 0);
}

}  // namespace
