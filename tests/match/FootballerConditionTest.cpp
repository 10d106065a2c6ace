// The footballer's condition through a match: fitness and stamina by how
// fast he runs, morale moved by goals and drifting back to the middle,
// anger and temper, the team orders turned into tactics values, and the
// knock a hard tackle gives the tackled player, who may be injured.
#include "FootballerFixture.h"

#include "match/CMatchEventReceiver.h"
#include "match/actors/CMatchAssistantReferee.h"
#include "match/actors/CMatchReferee.h"

#include <vector>

namespace {

class EventList : public CMatchEventReceiver {
public:
    void OnMatchEvent(const ITEMMATCHEVENTINFORMATION& event) override { events.push_back(event); }
    void AddPendingEvent(const ITEMMATCHEVENTINFORMATION& event) override { incidents.push_back(event); }
    void OnMatchResult(uint8_t) override {}
    int Count(uint8_t byCode, int nDetail) const
    {
        int n = 0;
        for (const auto& e : events)
            n += e.byEvent == byCode && e.byDetail == nDetail;
        return n;
    }
    std::vector<ITEMMATCHEVENTINFORMATION> events, incidents;
};

class FootballerConditionTest : public FootballerFixture {
protected:
    void TearDown() override
    {
        m_Engine.SetEventReceiver(nullptr);
        for (const INJURYSTATE& s : m_Injuries) {
            s.pRecord->m_byInjuryType = s.byType;
            s.pRecord->m_dwFlags = s.dwFlags;
            s.pRecord->m_wInjuryDays = s.wDays;
        }
        FootballerFixture::TearDown();
    }
    // Keeps a record's injury to put back: the world is shared by the suite.
    void KeepInjury(CPlayerDatabase* p) { m_Injuries.push_back({p, p->m_byInjuryType, p->m_dwFlags, p->m_wInjuryDays}); }
    // Moving at a speed grade (0: standing still).
    static void Run(CMatchPlayer& p, uint8_t byGrade)
    {
        p.SetSpeedGrade(byGrade);
        p.SetVelocity(byGrade ? CVector(300, 200, 0) : CVector());
    }

    struct INJURYSTATE {
        CPlayerDatabase* pRecord;
        uint8_t byType;
        uint32_t dwFlags;
        uint16_t wDays;
    };
    std::vector<INJURYSTATE> m_Injuries;
    EventList m_Events;
};

TEST_F(FootballerConditionTest, FitnessAndStaminaFollowHowFastHeRuns)
{
    Start(21);
    CMatchPlayer& p = *Player(true, 4);
    struct Case {
        const char* name;
        int32_t nFitness, nStamina, nCap;
        uint8_t byGrade;
        int32_t nFitnessAfter, nStaminaAfter;
    } cases[] = {
        {"standing still with full stamina recovers 10", 5000, 9999, 9999, 0, 5010, 9999},
        {"standing still with low stamina recovers 2", 5000, 1500, 9999, 0, 5002, 1500},
        {"sprinting with low stamina loses 50", 5000, 1500, 9999, 9, 4950, 1500},
        {"sprinting with full stamina loses 30 and 3 stamina", 5000, 9999, 9999, 9, 4970, 9996},
        {"jogging at grade 4 with stamina 3500", 5000, 3500, 9999, 4, 4995, 3499},
        {"walking at grade 2 gains though he moves", 5000, 6000, 9999, 2, 5008, 6000},
        {"fitness never drops below 150", 160, 1500, 9999, 9, 150, 1500},
        {"fitness never rises above 9999", 9995, 9999, 9999, 0, 9999, 9999},
        {"a stamina cap below 1500 still leaves 1500", 5000, 1200, 1200, 9, 4950, 1500},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        p.SetCondition(c.nFitness, c.nStamina, p.GetTemper(), p.GetAnger(), p.GetMatchMorale());
        p.SetStaminaCap(c.nCap);
        Run(p, c.byGrade);
        p.UpdateFitness();
        EXPECT_EQ(p.GetFitness(), c.nFitnessAfter);
        EXPECT_EQ(p.GetStamina(), c.nStaminaAfter);
    }
}

TEST_F(FootballerConditionTest, OverAMatchALowStaminaPlayerTiresFaster)
{
    Start(22);
    CMatchPlayer& fresh = *Player(true, 5);
    CMatchPlayer& weak = *Player(true, 6);
    CMatchPlayer& resting = *Player(true, 7);
    fresh.SetStaminaCap(9000);
    fresh.SetCondition(9999, 9000, fresh.GetTemper(), 0, fresh.GetMatchMorale());
    weak.SetStaminaCap(2500);
    weak.SetCondition(9999, 2500, weak.GetTemper(), 0, weak.GetMatchMorale());
    resting.SetCondition(9000, 5000, resting.GetTemper(), 0, resting.GetMatchMorale());
    // Five minutes of the club's once-a-second work, both running at grade 7.
    for (int s = 0; s < 300; ++s) {
        Run(fresh, 7);
        Run(weak, 7);
        Run(resting, 0);
        m_pHome->UpdatePerSecond();
    }
    EXPECT_LT(fresh.GetFitness(), 9999);
    EXPECT_LT(weak.GetFitness(), fresh.GetFitness() - 2000);
    EXPECT_LT(fresh.GetStamina(), 9000);
    EXPECT_EQ(resting.GetFitness(), 9999) << "a resting player recovers";
}

TEST_F(FootballerConditionTest, MoraleRisesWhenHisSideScoresAndFallsWhenItConcedes)
{
    Start(23);
    m_Engine.SetMatchEvent(MATCHEVENT_NONE);
    CMatchReferee* pReferee = m_Engine.GetReferee();
    ASSERT_NE(pReferee, nullptr);
    for (CMatchClub* pClub : {m_pHome, m_pAway})
        for (int i = 0; i < pClub->GetSquadCount(); ++i)
            if (CMatchPlayer* p = pClub->GetSlot(i))
                p->SetMorale(CMatchPlayer::kStartMorale);
    CMatchPlayer& scorer = *Player(true, 9);
    MatchCauseRecord goal;
    goal.byCause = CAUSE_GOAL;
    goal.byLikelihood = 100;
    goal.pPlayer = &scorer;
    goal.pPlayerClub = m_pHome;
    goal.pClubAwarded = m_pAway;
    goal.vPosition = CVector(m_pHome->AttacksHighEnd() ? PITCH_LENGTH : 0, GOAL_CENTRE_Y, 0);
    goal.dwMatchTime = m_Engine.GetMatchTime();
    pReferee->CheckForCause(goal);
    ASSERT_TRUE(pReferee->IsCausePending()) << "the referee did not see the goal";
    for (int i = 0; i < m_pHome->GetSquadCount(); ++i)
        if (const CMatchPlayer* p = m_pHome->GetSlot(i))
            EXPECT_GT(p->GetMorale(), CMatchPlayer::kStartMorale) << "home squad place " << i;
    for (int i = 0; i < m_pAway->GetSquadCount(); ++i)
        if (const CMatchPlayer* p = m_pAway->GetSlot(i))
            EXPECT_LT(p->GetMorale(), CMatchPlayer::kStartMorale) << "away squad place " << i;
    EXPECT_EQ(scorer.GetOwnGoals(), 0);
}

TEST_F(FootballerConditionTest, MoraleDriftsBackToTheMiddleAndMovesByMoments)
{
    Start(24);
    CMatchPlayer& p = *Player(false, 3);
    struct Case {
        const char* name;
        int32_t nMorale, nMatchMorale;
        int nPositive, nNegative;  // the moment's kind, -1 none
        int32_t nMoraleAfter, nMatchMoraleAfter;
    } cases[] = {
        {"499 with match morale 0 rises by 1", 499, 0, -1, -1, 500, 0},
        {"500 with match morale 0 falls by 10", 500, 0, -1, -1, 490, 0},
        {"200 with match morale 950 rises by 10", 200, 950, -1, -1, 210, 950},
        {"800 with match morale 950 falls by 1", 800, 950, -1, -1, 799, 950},
        {"0 rises by 1", 0, 0, -1, -1, 1, 0},
        {"a big let-down stops at 0", 100, 0, -1, 9, 0, 0},
        {"a goal of his side at match morale 300", 500, 300, 6, -1, 750, 311},
        {"a completed pass at match morale 0", 400, 0, 1, -1, 430, 2},
        {"a lost pass at match morale 0 hurts most", 400, 0, -1, 2, 50, 0},
        {"a lost pass at match morale 900 hurts little", 400, 900, -1, 2, 350, 897},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        p.SetCondition(p.GetFitness(), p.GetStamina(), p.GetTemper(), p.GetAnger(), c.nMatchMorale);
        p.SetMorale(c.nMorale);
        if (c.nPositive >= 0)
            p.ApplyPositiveEvent(c.nPositive);
        else if (c.nNegative >= 0)
            p.ApplyNegativeEvent(c.nNegative);
        else
            p.UpdateMorale();
        EXPECT_EQ(p.GetMorale(), c.nMoraleAfter);
        EXPECT_EQ(p.GetMatchMorale(), c.nMatchMoraleAfter);
    }
}

TEST_F(FootballerConditionTest, ProvocationRaisesAngerAndWearsTemperAndTimeCoolsIt)
{
    Start(25);
    CMatchPlayer& p = *Player(true, 2);
    CMatchPlayer& other = *Player(false, 2);
    struct Case {
        const char* name;
        uint16_t wTemper;
        int32_t nAnger;
        int nKind;       // a provocation of this kind, or
        int nAdjust;     // (kind -1) this change of anger, or (both 0 and kind -1) a second of cooling
        int32_t nAngerAfter;
        uint16_t wTemperAfter;
    } cases[] = {
        {"kind 9 at temper 950", 950, 0, 9, 0, 600, 943},
        {"kind 9 on top of anger 500 is capped", 950, 500, 9, 0, 999, 943},
        {"kind 0 at temper 50 leaves him calm", 50, 0, 0, 0, 0, 50},
        {"calming down wears a calm temper", 200, 800, -1, -300, 500, 197},
        {"a flare-up wears a small temper", 3, 0, -1, 900, 900, 1},
        {"anger never below 0", 500, 100, -1, -300, 0, 499},
        {"a second cools a calm temper by 15", 50, 100, -1, 0, 85, 50},
        {"and a fiery one by 6", 950, 100, -1, 0, 94, 950},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        p.SetCondition(p.GetFitness(), p.GetStamina(), c.wTemper, c.nAnger, p.GetMatchMorale());
        if (c.nKind >= 0)
            p.Provoke(c.nKind, &other);
        else if (c.nAdjust != 0)
            p.AdjustAnger(int16_t(c.nAdjust));
        else
            p.CoolAnger();
        EXPECT_EQ(p.GetAnger(), c.nAngerAfter);
        EXPECT_EQ(p.GetTemper(), c.wTemperAfter);
    }
    EXPECT_EQ(p.GetProvoker(), &other);
    p.SetCondition(p.GetFitness(), p.GetStamina(), 3, 0, p.GetMatchMorale());
    p.AddTemper(-5);
    EXPECT_EQ(p.GetTemper(), 0);
}

TEST_F(FootballerConditionTest, TeamOrdersBecomeTheTacticsValuesAndInstructionWeights)
{
    Start(26);
    CMatchPlayer& p = *Player(true, 6);
    struct Case {
        TEAMORDER byOrder;
        uint8_t byValue;
        int (CMatchPlayer::*get)() const;
        int nStored;
    } cases[] = {
        {ORDER_MATCH_URGENCY, 73, &CMatchPlayer::GetTacticsMatchUrgency, 73},
        {ORDER_PASSING_DISTANCE, 99, &CMatchPlayer::GetTacticsPassingDistance, 24},
        {ORDER_PASSING_DIRECTION, 0, &CMatchPlayer::GetTacticsPassingDirection, 88},
        {ORDER_PASSING_DIRECTION, 49, &CMatchPlayer::GetTacticsPassingDirection, 100},
        {ORDER_PASSING_DIRECTION, 100, &CMatchPlayer::GetTacticsPassingDirection, 112},
        {ORDER_TACKLING_STRENGTH, 0, &CMatchPlayer::GetTacticsTacklingStrength, 75},
        {ORDER_TACKLING_STRENGTH, 100, &CMatchPlayer::GetTacticsTacklingStrength, 125},
        {ORDER_CLEARANCE, 10, &CMatchPlayer::GetTacticsClearance, 80},
        {ORDER_MARKING, 255, &CMatchPlayer::GetTacticsMarking, 255},
        {ORDER_SHOOTING, 100, &CMatchPlayer::GetTacticsShooting, 25},
        {ORDER_ADVANCE, 51, &CMatchPlayer::GetTacticsAdvance, 25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.byOrder) * 1000 + c.byValue);
        p.SetTeamOrder(c.byOrder, c.byValue);
        EXPECT_EQ((p.*c.get)(), c.nStored);
        EXPECT_EQ(p.GetTeamOrder(c.byOrder), c.byValue) << "the raw order is kept beside it";
    }
    // The weights follow clearance and passing direction.
    p.SetTeamOrder(ORDER_CLEARANCE, 100);
    p.SetTeamOrder(ORDER_PASSING_DIRECTION, 0);
    const float afWant[INSTRUCTION_WEIGHTS] = {12, 8, 10, 125 * 3 / 100, 8 * 88 / 100, 400 / 88};
    for (int w = 0; w < INSTRUCTION_WEIGHTS; ++w)
        EXPECT_EQ(p.GetInstructionWeight(w), afWant[w]) << "weight " << w;
    // A club's orders reach every player on the pitch through the setters.
    m_pHome->ApplyTeamOrders();
    EXPECT_EQ(Player(true, 3)->GetTacticsTacklingStrength(),
              (Player(true, 3)->GetTeamOrder(ORDER_TACKLING_STRENGTH) - 50) / 2 + 100);
}

TEST_F(FootballerConditionTest, ASubstituteWhoDidNotWarmUpComesOnMoreInjuryProne)
{
    // A match with five substitutes on each bench.
    ITEMMATCHRULESINFORMATION rules;
    rules.abyRules[2] = 5;
    const uint32_t dwSeed = 29;
    ASSERT_TRUE(m_Engine.StartGame(*s_pWorld, 1, 2, 1, rules, 0, &dwSeed));
    m_pHome = m_Engine.GetHomeClub();
    const int nOn = m_pHome->GetOnPitchCount();
    CMatchPlayer* pSub = Player(true, nOn);
    ASSERT_NE(pSub, nullptr) << "nobody on the bench";
    const uint8_t byBefore = pSub->GetRating(RATING_INJURY_PRONENESS);
    EXPECT_EQ(pSub->GetWarmUpTime(), 0u);
    m_pHome->SubstitutePlayer(7, nOn);
    ASSERT_TRUE(pSub->TookPart());
    EXPECT_EQ(pSub->GetRating(RATING_INJURY_PRONENESS), uint8_t(byBefore + 18));
}

TEST_F(FootballerConditionTest, AChallengeKnocksAPlayerByItsForceAgainstHisStrength)
{
    Start(27);
    m_Engine.SetEventReceiver(&m_Events);
    CMatchPlayer& p = *Player(false, 4);
    KeepInjury(p.GetRecord());
    const int nHalfStrength = p.GetRating(RATING_STRENGTH) / 2;
    struct Case {
        const char* name;
        int32_t nExcess, nStamina;
        bool bKnocked;
    } cases[] = {
        {"no harder than half his strength", 0, 9000, false},
        {"a little harder", 10, 9000, true},
        {"hard", 80, 9000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        p.SetStaminaCap(9000);
        p.SetCondition(8000, c.nStamina, p.GetTemper(), 0, p.GetMatchMorale());
        // An injury needs prone and tired: he is neither.
        const bool bKnocked = p.TakeChallenge(nHalfStrength + c.nExcess, 1000);
        EXPECT_EQ(bKnocked, c.bKnocked);
        EXPECT_EQ(p.GetFitness(), 8000 - c.nExcess);
        EXPECT_EQ(p.GetStamina(), c.nStamina - c.nExcess / 10);
        EXPECT_FALSE(p.IsInjured());
    }
    EXPECT_EQ(m_Events.Count(31, 1) + m_Events.Count(31, 2), 0);
}

TEST_F(FootballerConditionTest, AHardTackleCanInjureTheTackledPlayer)
{
    Start(28);
    CMatchPlayer* pVictim = Player(false, 5);
    SetAttributes(pVictim->GetRecord(), {{PLAYER_ATTRIBUTE_INJURYPRONE, 9900}, {PLAYER_ATTRIBUTE_AGILITY, 100}});
    KeepInjury(pVictim->GetRecord());
    CPlayerDatabase* pVictimRecord = pVictim->GetRecord();
    m_Engine.EndGame();
    Start(28);
    m_Engine.SetEventReceiver(&m_Events);
    pVictim = m_pAway->GetPlayerByRecord(pVictimRecord, true);
    ASSERT_NE(pVictim, nullptr);
    CMatchPlayer& tackler = *Player(true, 9);
    Arrange({{false, pVictim->GetLineIndex(), 5000, 3750}, {true, tackler.GetLineIndex(), 4930, 3750}});
    // Tired and injury-prone: the chance is far above 50.
    pVictim->SetStaminaCap(9000);
    pVictim->SetCondition(9999, 1500, pVictim->GetTemper(), 0, pVictim->GetMatchMorale());
    tackler.SetDecisionPartner(pVictim);
    tackler.SetTackleForce(150);
    tackler.SetAction(ACTION_TACKLING);
    tackler.UpdateWhileBusy();
    ASSERT_EQ(tackler.GetAction(), ACTION_MOVING) << "the tackle did not resolve";
    EXPECT_LT(pVictim->GetFitness(), 9999) << "not knocked";
    ASSERT_TRUE(pVictimRecord->IsInjured()) << "not injured";
    if (CPlayerDatabase::GetInjuryStatus(pVictimRecord->m_byInjuryType) == 2) {
        // He cannot go on: play stops for him and a substitute is asked for.
        EXPECT_TRUE(pVictim->IsInjured());
        EXPECT_TRUE(pVictim->IsHeldForReferee());
        EXPECT_EQ(m_Engine.GetReferee()->GetInjuredPlayer(), pVictim);
        EXPECT_EQ(m_pAway->GetReviewFlags() & CMatchClub::REVIEW_INJURY, 0) << "the review ran at once";
    } else {
        EXPECT_EQ(m_Events.Count(31, 1), 1) << "an injury he plays on with is announced";
        EXPECT_FALSE(pVictim->IsHeldForReferee());
    }

    // A side down to seven loses nobody more to injury.
    while (m_pAway->GetOnPitchCount() > 7)
        m_pAway->GetSlot(m_pAway->GetOnPitchCount() - 1)->SendOff();
    CMatchPlayer* pStill = m_pAway->GetSlot(1) != pVictim ? m_pAway->GetSlot(1) : m_pAway->GetSlot(2);
    ASSERT_NE(pStill, nullptr);
    KeepInjury(pStill->GetRecord());
    pStill->SetStaminaCap(9000);
    pStill->SetCondition(9999, 1500, pStill->GetTemper(), 0, pStill->GetMatchMorale());
    const bool bWasInjured = pStill->GetRecord()->IsInjured();
    EXPECT_TRUE(pStill->TakeChallenge(300, 1000));
    EXPECT_EQ(pStill->GetRecord()->IsInjured(), bWasInjured);
    EXPECT_FALSE(pStill->IsInjured());
}

}  // namespace
