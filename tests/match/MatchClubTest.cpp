// A match between two clubs of the starting world: both squads made from
// the clubs' own selections, the starters at their formation places, the
// footballers' values from their records, the clubs' queries and their
// once-a-second and five-minute work, stepping tick by tick and tear-down.
#include "../humans/HumanWorld.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/actors/CMatchReferee.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchPlayer.h"
#include "render3d/CObjectData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kMeshes = std::string(BRELLOX_GAME_DIR) + "/MatchMeshes/";

class MatchClubTest : public ::testing::Test {
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
        m_pHomeRecord = s_pWorld->GetClubFromID(1);
        m_pAwayRecord = s_pWorld->GetClubFromID(2);
        ASSERT_TRUE(m_pHomeRecord && m_pAwayRecord);
    }
    void TearDown() override
    {
        m_Engine.EndGame();
        for (auto& [pPlayer, attributes] : m_Saved)
            std::copy(std::begin(attributes), std::end(attributes), pPlayer->m_awAttributes);
    }

    bool Start(uint32_t dwSeed, uint8_t bySubstitutes = 5, bool bLineUps = false)
    {
        ITEMMATCHRULESINFORMATION rules;
        rules.abyRules[2] = bySubstitutes;
        m_Engine.SetShowLineUps(bLineUps);
        return m_Engine.StartGame(*s_pWorld, 1, 2, 1, rules, 0, &dwSeed);
    }
    // A record changed by a test gets its attributes back afterwards.
    void Keep(CPlayerDatabase* pPlayer)
    {
        std::array<uint16_t, PLAYER_ATTRIBUTE_COUNT> attributes;
        std::copy(std::begin(pPlayer->m_awAttributes), std::end(pPlayer->m_awAttributes), attributes.begin());
        m_Saved.emplace_back(pPlayer, attributes);
    }
    // Models for every squad member, from the mesh kit.
    void GiveModels()
    {
        m_wPlayerMesh = m_Objects.LoadSkinned((kMeshes + "PlayerX1.x").c_str(), 15);
        ASSERT_NE(m_wPlayerMesh, OBJECT_NOT_FOUND);
        CMatchPerson::LoadAnimations(m_Objects, m_wPlayerMesh, kMeshes);
        for (CMatchClub* pClub : {m_Engine.GetHomeClub(), m_Engine.GetAwayClub()})
            for (int i = 0; i < pClub->GetSquadCount(); ++i)
                if (CMatchPlayer* p = pClub->GetSlot(i))
                    p->SetupModel(m_wPlayerMesh);
    }
    void RunTicks(int nTicks)
    {
        for (int i = 0; i < nTicks; ++i) {
            m_dwClock += 70;
            m_Engine.Tick(70, m_dwClock);
            m_Engine.PostTick();
        }
    }

    static CurrentFolder* s_pFolder;
    static CDatabaseHandler* s_pWorld;
    CClubDatabase* m_pHomeRecord = nullptr;
    CClubDatabase* m_pAwayRecord = nullptr;
    CMatchEngine m_Engine;
    CObjectData m_Objects{10};
    uint16_t m_wPlayerMesh = 0;
    uint32_t m_dwClock = 0;
    std::vector<std::pair<CPlayerDatabase*, std::array<uint16_t, PLAYER_ATTRIBUTE_COUNT>>> m_Saved;
};

CurrentFolder* MatchClubTest::s_pFolder = nullptr;
CDatabaseHandler* MatchClubTest::s_pWorld = nullptr;

TEST_F(MatchClubTest, BothSidesFieldTheirSelectionInTheirFormation)
{
    ASSERT_TRUE(Start(7));
    CMatchClub* apClubs[2] = {m_Engine.GetHomeClub(), m_Engine.GetAwayClub()};
    ASSERT_TRUE(apClubs[0] && apClubs[1]);
    EXPECT_EQ(apClubs[0]->GetOpponent(), apClubs[1]);
    EXPECT_EQ(apClubs[1]->GetOpponent(), apClubs[0]);
    for (CMatchClub* pClub : apClubs) {
        SCOPED_TRACE(pClub->GetRecord()->GetName());
        ASSERT_EQ(pClub->GetSquadCount(), 16);
        ASSERT_EQ(pClub->GetOnPitchCount(), 11);
        // The squad is the club's own selection for its formation, in order.
        CPlayerDatabase* apExpected[16] = {};
        pClub->GetRecord()->SelectTeam(pClub->GetRecord()->GetFormation(), apExpected, 0, 5);
        std::set<const CPlayerDatabase*> seen;
        for (int i = 0; i < 16; ++i) {
            const CMatchPlayer* p = pClub->GetSlot(i);
            ASSERT_NE(p, nullptr) << i;
            EXPECT_EQ(p->GetRecord(), apExpected[i]) << i;
            EXPECT_EQ(p->GetRecord()->m_pClub, pClub->GetRecord()) << i;
            EXPECT_TRUE(seen.insert(p->GetRecord()).second) << "picked twice: " << i;
            EXPECT_EQ(p->GetOpponentClub(), pClub->GetOpponent());
            EXPECT_EQ(pClub->GetPlayer(i, false), p);
            EXPECT_EQ(p->GetColour(), i == 0 ? pClub->GetGoalkeeperColour() : pClub->GetKitColour()) << i;
            const CMatchReferee* pReferee = m_Engine.GetReferee();
            if (i < 11 && p == pReferee->GetEventPlayer()) {
                // The kick-off is prepared: its taker and partner wait on the spot.
                EXPECT_EQ(p->GetSpecialRole(), ROLE_EVENT_PLAYER);
                EXPECT_EQ(p->GetBasePosition(), pReferee->GetEventPosition());
            } else if (i < 11 && p == pReferee->GetSecondEventPlayer()) {
                EXPECT_EQ(p->GetSpecialRole(), ROLE_SECOND_EVENT_PLAYER);
                EXPECT_EQ(p->GetBasePosition(), pReferee->GetSecondEventPosition());
            } else if (i < 11) {
                EXPECT_EQ(p->GetSpecialRole(), ROLE_NONE);
                EXPECT_TRUE(p->TookPart());
                EXPECT_EQ(p->GetBasePosition(), pClub->GetFormationPoint(i, 27, pClub->HasBall())) << i;
                EXPECT_GT(p->GetRoamingRadius(), 0) << i;
            } else {
                EXPECT_EQ(p->GetSpecialRole(), ROLE_BENCH);
                EXPECT_EQ(p->GetDecision(), DECISION_SUBSTITUTE_BENCH);
                EXPECT_FALSE(p->TookPart());
                EXPECT_EQ(pClub->GetPlayer(i, true), nullptr);
                EXPECT_EQ(p->GetBasePosition(), pClub->GetBenchSeat(i));
                EXPECT_EQ(p->GetBasePosition().y, CMatchClub::kBenchY);
                EXPECT_EQ(p->GetRoamingRadius(), CMatchClub::kBenchRoamingRadius);
            }
        }
        EXPECT_EQ(pClub->GetSlot(16), nullptr);
        EXPECT_EQ(pClub->GetPlayer(17, false), nullptr);
    }
    // Each side lines up in its own half for the kick-off, the goalkeeper
    // by his own goal; the two benches do not share a seat.
    for (int i = 0; i < 11; ++i) {
        const CVector home = apClubs[0]->GetSlot(i)->GetBasePosition();
        const CVector away = apClubs[1]->GetSlot(i)->GetBasePosition();
        EXPECT_TRUE(home.x >= 0 && home.x <= 5000 && home.y >= 0 && home.y <= 7500) << i;
        EXPECT_TRUE(away.x >= 5000 && away.x <= 10000 && away.y >= 0 && away.y <= 7500) << i;
    }
    EXPECT_LT(apClubs[0]->GetSlot(0)->GetBasePosition().x, 1500);
    EXPECT_GT(apClubs[1]->GetSlot(0)->GetBasePosition().x, 8500);
    EXPECT_LT(apClubs[0]->GetBenchSeat(15).x, 5000);
    EXPECT_GT(apClubs[1]->GetBenchSeat(11).x, 5000);
}

TEST_F(MatchClubTest, BenchSeatsAndWarmUpSpotsByTheTouchLine)
{
    ASSERT_TRUE(Start(7));
    const CMatchClub* pHome = m_Engine.GetHomeClub();
    const CMatchClub* pAway = m_Engine.GetAwayClub();
    // Sixteen in the squad: seats run from the half-way line outwards.
    EXPECT_EQ(pHome->GetBenchSeat(11), CVector(3100, -390, 0));
    EXPECT_EQ(pHome->GetBenchSeat(15), CVector(3420, -390, 0));
    EXPECT_EQ(pAway->GetBenchSeat(11), CVector(6900, -390, 0));
    EXPECT_EQ(pAway->GetBenchSeat(15), CVector(6580, -390, 0));
    // A player coming off sits next to the last seat taken.
    EXPECT_EQ(pHome->GetBenchSeat(16), CVector(3020, -390, 0));
    EXPECT_EQ(pAway->GetBenchSeat(16), CVector(6980, -390, 0));
    for (int i = 0; i < 20; ++i) {
        const CVector home = pHome->GetWarmUpSpot(12), away = pAway->GetWarmUpSpot(12);
        EXPECT_EQ(home.x, 1200);
        EXPECT_EQ(away.x, 8800);
        EXPECT_TRUE(home.y >= -500 && home.y <= -302) << home.y;
        EXPECT_TRUE(away.y >= -500 && away.y <= -302) << away.y;
    }
}

TEST_F(MatchClubTest, FootballersTakeTheirValuesFromTheirRecords)
{
    ASSERT_TRUE(Start(7));
    for (CMatchClub* pClub : {m_Engine.GetHomeClub(), m_Engine.GetAwayClub()}) {
        for (int i = 0; i < pClub->GetSquadCount(); ++i) {
            const CMatchPlayer* p = pClub->GetSlot(i);
            const uint16_t* a = p->GetRecord()->m_awAttributes;
            EXPECT_EQ(p->GetRating(RATING_PACE), std::max(1, a[PLAYER_ATTRIBUTE_PACE] / 100));
            EXPECT_EQ(p->GetRating(RATING_HANDLING), std::max(1, a[PLAYER_ATTRIBUTE_HANDLING] / 100));
            EXPECT_EQ(p->GetRunningSpeed(), p->GetRating(RATING_PACE) + 300);
            EXPECT_EQ(p->GetStamina(), a[PLAYER_ATTRIBUTE_FITNESS] / 100 * 100);
            EXPECT_EQ(p->GetFitness(), CMatchPlayer::kMaxFitness);
            EXPECT_EQ(p->GetMorale(), CMatchPlayer::kStartMorale);
            EXPECT_GE(p->GetMatchMorale(), 1);
            EXPECT_EQ(p->GetKickEntry(4).nKickSpeed,
                      1800 + int32_t(p->GetRating(RATING_STRENGTH) * 0.01 * 600));
        }
    }
}

TEST_F(MatchClubTest, RatingsKickTableAndConditionOfExtremeRecords)
{
    ASSERT_TRUE(Start(7));
    CMatchClub* pClub = m_Engine.GetHomeClub();
    CPlayerDatabase* pRecord = pClub->GetSlot(3)->GetRecord();
    Keep(pRecord);

    std::fill(std::begin(pRecord->m_awAttributes), std::end(pRecord->m_awAttributes), uint16_t(0));
    CMatchPlayer blank(pRecord, 3, 0, pClub);
    for (MATCHRATING r : {RATING_INTELLIGENCE, RATING_PACE, RATING_STRENGTH, RATING_TACKLING, RATING_DEFENSIVE_READING})
        EXPECT_EQ(blank.GetRating(r), 1) << int(r);
    EXPECT_EQ(blank.GetRating(RATING_PASS_VISION), 50);
    EXPECT_EQ(blank.GetRating(RATING_SHOT_VISION), 50);
    // Confidence and agility of 1 take 10 each off the in-play ratings.
    EXPECT_EQ(blank.GetRating(RATING_PASSING_IN_PLAY), 1);
    EXPECT_EQ(blank.GetRating(RATING_PASS_VISION_IN_PLAY), 40);
    EXPECT_EQ(blank.GetTemper(), 1);
    EXPECT_EQ(blank.GetAggression(), 0);
    EXPECT_EQ(blank.GetStaminaCap(), 1);
    EXPECT_EQ(blank.GetStamina(), 0);
    EXPECT_GE(blank.GetMatchMorale(), 1);
    // Whole seconds in the air: 1104 cm/s up stays 2 s.
    EXPECT_EQ(blank.GetKickEntry(0).nMaxVerticalSpeed, 1104);
    EXPECT_EQ(blank.GetKickEntry(0).nKickSpeed, 1604);
    EXPECT_EQ(blank.GetKickEntry(0).nMaxRange, 2 * 1604 * 3 / 2);

    std::fill(std::begin(pRecord->m_awAttributes), std::end(pRecord->m_awAttributes), uint16_t(10000));
    CMatchPlayer top(pRecord, 10, 0, pClub);
    EXPECT_EQ(top.GetRating(RATING_PASSING), 100);
    EXPECT_EQ(top.GetRating(RATING_PASSING_IN_PLAY), 98);  // 120 is stored as 98
    EXPECT_EQ(top.GetRating(RATING_STRENGTH_IN_PLAY), 98);
    EXPECT_EQ(top.GetRating(RATING_PASS_VISION_IN_PLAY), 98);
    EXPECT_EQ(top.GetTemper(), 1000);
    EXPECT_EQ(top.GetStaminaCap(), 10000);
    EXPECT_EQ(top.GetKickEntry(4).nMaxVerticalSpeed, 1800);
    EXPECT_EQ(top.GetKickEntry(4).nMaxRange, 3 * 2400 * 3 / 2);
    EXPECT_EQ(top.GetSpecialRole(), ROLE_NONE);  // squad position 10 starts

    CMatchPlayer substitute(pRecord, 11, 0, pClub);
    EXPECT_EQ(substitute.GetSpecialRole(), ROLE_BENCH);
    EXPECT_EQ(substitute.GetDecision(), DECISION_SUBSTITUTE_BENCH);
    EXPECT_FALSE(substitute.TookPart());

    // Form moves the nine in-play ratings from where the set-up put them.
    top.ApplyFormToRatings(0);
    EXPECT_EQ(top.GetRating(RATING_PASSING_IN_PLAY), 88);
    top.ApplyFormToRatings(999);
    EXPECT_EQ(top.GetRating(RATING_PASSING_IN_PLAY), 98);
    blank.ApplyFormToRatings(999);
    EXPECT_EQ(blank.GetRating(RATING_PASS_VISION_IN_PLAY), 50);
}

TEST_F(MatchClubTest, ZonesNearestPlayersAndTheTwoEnds)
{
    ASSERT_TRUE(Start(7));
    CMatchClub* pHome = m_Engine.GetHomeClub();
    CMatchClub* pAway = m_Engine.GetAwayClub();
    CVector goal;
    pHome->GetGoalPosition(goal);
    EXPECT_EQ(goal, CVector(0, 3750, 0));
    pAway->GetGoalPosition(goal);
    EXPECT_EQ(goal, CVector(10000, 3750, 0));
    struct ZoneCase {
        int32_t x, y;
        int nHome, nAway;
    } zones[] = {{2999, 3750, 1, 5}, {3000, 3750, 2, 5}, {7000, 1684, 5, 2}, {7000, 1683, 4, 2}, {9000, 5817, 4, 1}};
    for (const ZoneCase& c : zones) {
        EXPECT_EQ(pHome->GetZone(c.x, c.y), c.nHome) << c.x << "," << c.y;
        EXPECT_EQ(pAway->GetZone(c.x, c.y), c.nAway) << c.x << "," << c.y;
    }

    for (int i = 0; i < pHome->GetSquadCount(); ++i)
        pHome->GetSlot(i)->ResetToBasePosition();
    for (int i = 0; i < pAway->GetSquadCount(); ++i)
        pAway->GetSlot(i)->ResetToBasePosition();
    CMatchPlayer* pKeeper = pHome->GetSlot(0);
    int32_t nDistance = -1;
    EXPECT_EQ(pHome->GetNearestPlayer(pKeeper->GetPosition(), &nDistance), pKeeper);
    EXPECT_EQ(nDistance, 0);
    CMatchPlayer* pNext = pHome->GetNearestPlayerExcept(pKeeper->GetPosition(), pKeeper, &nDistance);
    ASSERT_NE(pNext, nullptr);
    EXPECT_NE(pNext, pKeeper);
    EXPECT_EQ(nDistance, IntegerRoot(pNext->GetPosition().SquaredDistance2D(pKeeper->GetPosition())));
    EXPECT_EQ(pHome->GetNearestPlayerDistance(pKeeper->GetPosition()), 0);
    // The bench never answers for the pitch.
    EXPECT_NE(pHome->GetNearestPlayer(pHome->GetSlot(12)->GetPosition(), nullptr), pHome->GetSlot(12));
    EXPECT_EQ(pHome->GetNearestToTarget(pKeeper->GetBasePosition(), nullptr), pKeeper);

    // The most advanced and the last man, by the end each side attacks.
    CMatchPlayer* pForward = pHome->GetMostAdvancedPlayer();
    CMatchPlayer* pDefender = pHome->GetLastDefender();
    ASSERT_TRUE(pForward && pDefender);
    for (int i = 1; i < 11; ++i) {
        EXPECT_LE(pHome->GetSlot(i)->GetPosition().x, pForward->GetPosition().x);
        EXPECT_GE(pHome->GetSlot(i)->GetPosition().x, pDefender->GetPosition().x);
        EXPECT_GE(pAway->GetSlot(i)->GetPosition().x, pAway->GetMostAdvancedPlayer()->GetPosition().x);
    }
    // Off the pitch nobody counts as most advanced.
    for (int i = 1; i < 11; ++i)
        pHome->GetSlot(i)->SetPosition({-100, 3750, 0});
    EXPECT_EQ(pHome->GetMostAdvancedPlayer(), nullptr);
}

TEST_F(MatchClubTest, TeamOrdersOfAComputerClubAreEvenAndNobodyIsMarked)
{
    ASSERT_TRUE(Start(7));
    for (CMatchClub* pClub : {m_Engine.GetHomeClub(), m_Engine.GetAwayClub()}) {
        for (int n = 0; n < TEAM_ORDERS; ++n) {
            EXPECT_EQ(pClub->GetTeamOrder(TEAMORDER(n)), 50);
            EXPECT_EQ(pClub->GetSlot(4)->GetTeamOrder(TEAMORDER(n)), 50);
        }
        EXPECT_EQ(pClub->GetMarkingTarget(5), CMatchClub::kNoMarking);
        // The bench sits down on its seats.
        EXPECT_EQ(pClub->GetSlot(13)->GetTarget(), pClub->GetBenchSeat(13));
    }
}

TEST_F(MatchClubTest, TheReviewAsksForTheRightChange)
{
    ASSERT_TRUE(Start(7));
    CMatchClub* pClub = m_Engine.GetHomeClub();
    // Level, early, nothing happened: no change.
    EXPECT_EQ(pClub->FiveMinuteReview(), 0);

    // An injured goalkeeper with the reserve goalkeeper on the first bench
    // place cannot be asked for: the packed value would be 0.
    ASSERT_EQ(pClub->GetSlot(11)->GetSelectedPosition(), 0);
    pClub->GetSlot(0)->SetInjured(true);
    pClub->AddReviewFlags(CMatchClub::REVIEW_INJURY);
    EXPECT_EQ(pClub->FiveMinuteReview(), 0);
    EXPECT_EQ(pClub->GetReviewFlags(), CMatchClub::REVIEW_DONE);
    pClub->GetSlot(0)->SetInjured(false);

    // An injured defender goes off for the bench player of his group (or a
    // forward) best rated for his place.
    CMatchPlayer* pInjured = pClub->GetSlot(2);
    pInjured->SetInjured(true);
    pClub->AddReviewFlags(CMatchClub::REVIEW_INJURY);
    const uint8_t byPair = pClub->FiveMinuteReview();
    ASSERT_NE(byPair, 0);
    EXPECT_EQ(byPair / 16, 2);
    const CMatchPlayer* pIn = pClub->GetSlot(11 + byPair % 16);
    const int nPlace = pInjured->GetSelectedPosition();
    for (int i = 11; i < 16; ++i) {
        const uint8_t byNatural = pClub->GetSlot(i)->GetNaturalPosition();
        if ((byNatural >= 1 && byNatural <= 7) || byNatural >= 12) {
            EXPECT_LE(pClub->GetSlot(i)->GetRecord()->GetRatingForPosition(nPlace),
                      pIn->GetRecord()->GetRatingForPosition(nPlace)) << i;
        }
    }
    pInjured->SetInjured(false);

    // Losing after conceding again, with a player hurt but not off: the
    // weakest defender or midfielder (mask 24; a forward matches any mask)
    // makes way.
    pClub->GetOpponent()->SetGoals(1);
    pClub->AddReviewFlags(CMatchClub::REVIEW_CONCEDED | CMatchClub::REVIEW_INJURY);
    const uint8_t byLosing = pClub->FiveMinuteReview();
    ASSERT_NE(byLosing, 0);
    const CMatchPlayer* pOut = pClub->GetSlot(byLosing / 16);
    EXPECT_GE(pOut->GetSelectedPosition(), 1);
    for (int i = 1; i < 11; ++i) {
        const CMatchPlayer* p = pClub->GetSlot(i);
        EXPECT_GE(p->GetRecord()->GetRatingForPosition(p->GetSelectedPosition()),
                  pOut->GetRecord()->GetRatingForPosition(pOut->GetSelectedPosition())) << i;
    }
}

// Everybody away from the centre, so that a test places only whom it needs.
void ClearThePitch(CMatchEngine& engine)
{
    for (CMatchClub* pClub : {engine.GetHomeClub(), engine.GetAwayClub()})
        for (int i = 0; i < pClub->GetSquadCount(); ++i)
            pClub->GetSlot(i)->SetPosition({pClub->IsHome() ? 300 : 9700, 200 + i * 400, 0});
}

TEST_F(MatchClubTest, PressureComesFromTheNearestOpponent)
{
    ASSERT_TRUE(Start(7));
    ClearThePitch(m_Engine);
    CMatchClub* pHome = m_Engine.GetHomeClub();
    CMatchPlayer* pMe = pHome->GetSlot(5);
    CMatchPlayer* pThem = m_Engine.GetAwayClub()->GetSlot(3);
    pMe->SetPosition({5000, 3000, 0});
    // A dribbling rating of 50 reaches 400.
    CPlayerDatabase* pRecord = pHome->GetSlot(6)->GetRecord();
    Keep(pRecord);
    pRecord->m_awAttributes[PLAYER_ATTRIBUTE_DRIBBLING] = 5000;
    CMatchPlayer dribbler(pRecord, 5, 0, pHome);
    dribbler.SetLineIndex(5);
    struct Case {
        int32_t nDistance;
        uint8_t byLevel;
        int nKickerPressure;
    } cases[] = {{250, 3, 38}, {299, 3, 26}, {300, 2, 25}, {599, 2, 0}, {1099, 1, 0}, {1100, 0, 0}};
    for (const Case& c : cases) {
        pThem->SetPosition({5000 + c.nDistance, 3000, 0});
        m_Engine.PostTick();  // the distance tables
        pMe->UpdatePressure();
        EXPECT_EQ(pMe->GetPressureLevel(), c.byLevel) << c.nDistance;
        EXPECT_EQ(pMe->GetOnBallPressure(), 0) << c.nDistance;  // he has not got the ball
        EXPECT_EQ(dribbler.GetKickerPressure(), c.nKickerPressure) << c.nDistance;
        // The away side reads the same table from its side.
        pThem->UpdatePressure();
        EXPECT_EQ(pThem->GetPressureLevel(), c.byLevel) << c.nDistance;
    }
    EXPECT_EQ(CMatchPlayer::CountPlayersNear(*pHome, {5000, 3000, 0}, 0), 1);
    EXPECT_EQ(CMatchPlayer::CountPlayersNear(*m_Engine.GetAwayClub(), {5000, 3000, 0}, 1100), 1);
    EXPECT_EQ(CMatchPlayer::CountPlayersNear(*m_Engine.GetAwayClub(), {5000, 3000, 0}, 1099), 0);
    EXPECT_FLOAT_EQ(CMatchPlayer::GetOwnGoalCloseness(*pHome, {2500, 3750, 0}), 0.5f);
    EXPECT_FLOAT_EQ(CMatchPlayer::GetOwnGoalCloseness(*pHome, {9000, 3750, 0}), 0.0f);
}

TEST_F(MatchClubTest, APassLeadsItsReceiverAndTurnsAwayFromAnOpponent)
{
    ASSERT_TRUE(Start(7));
    ClearThePitch(m_Engine);
    m_Engine.SetMatchEvent(MATCHEVENT_NONE);  // a pass in open play
    CMatchPlayer* pPasser = m_Engine.GetHomeClub()->GetSlot(5);
    CMatchPlayer* pReceiver = m_Engine.GetHomeClub()->GetSlot(9);
    CMatchPlayer* pOpponent = m_Engine.GetAwayClub()->GetSlot(4);
    pPasser->SetPosition({5000, 3000, 0});
    pPasser->SetKickPoint({5000, 3000, 0});
    struct Case {
        const char* pszName;
        CVector receiver, opponent, lead;
    } cases[] = {
        {"nobody near the line", {5000, 5000, 0}, {9000, 7000, 0}, {5000, 5000, 0}},
        // Headings grow clockwise: an opponent to the east turns it west.
        // A 20 m pass moves 3 m aside at its end, no more (turned by a
        // whole eighth it would land 7.7 m from its receiver).
        {"an opponent east of a long pass", {5000, 5000, 0}, {5100, 4000, 0}, {5000 - 299, 3000 + 1977, 0}},
        {"an opponent west of a long pass", {5000, 5000, 0}, {4700, 4000, 0}, {5000 + 299, 3000 + 1977, 0}},
        {"an opponent 401 away", {5000, 5000, 0}, {5401, 4000, 0}, {5000, 5000, 0}},
        // A 5 m pass turns by the whole eighth: 1.9 m aside.
        {"an opponent east of a short pass", {5000, 3500, 0}, {5100, 3300, 0}, {5000 - 191, 3000 + 461, 0}},
    };
    for (const Case& c : cases) {
        pReceiver->SetPosition(c.receiver);
        pOpponent->SetPosition(c.opponent);
        const CVector lead = pPasser->GetPassLeadPoint(*pReceiver, 1.0f);
        EXPECT_NEAR(lead.x, c.lead.x, 1) << c.pszName;
        EXPECT_NEAR(lead.y, c.lead.y, 1) << c.pszName;
    }
    // Kept 200 inside the pitch.
    pOpponent->SetPosition({9000, 7000, 0});
    pReceiver->SetPosition({100, 7450, 0});
    EXPECT_EQ(pPasser->GetPassLeadPoint(*pReceiver, 1.0f), CVector(200, 7300, 0));
}

TEST_F(MatchClubTest, ChallengesAndTheCostOfReachingTheBall)
{
    ASSERT_TRUE(Start(7));
    ClearThePitch(m_Engine);
    CMatchClub* pHome = m_Engine.GetHomeClub();
    CPlayerDatabase* pRecord = pHome->GetSlot(6)->GetRecord();
    Keep(pRecord);
    pRecord->m_awAttributes[PLAYER_ATTRIBUTE_TACKLING] = 0;
    pRecord->m_awAttributes[PLAYER_ATTRIBUTE_DRIBBLING] = 0;
    CMatchPlayer weak(pRecord, 6, 0, pHome);
    weak.SetPosition({5000, 3750, 0});
    pRecord->m_awAttributes[PLAYER_ATTRIBUTE_TACKLING] = 10000;
    CMatchPlayer strong(pRecord, 6, 0, pHome);
    strong.SetPosition({5000, 3750, 0});
    int nStrongWins = 0;
    for (int i = 0; i < 200; ++i) {
        EXPECT_FALSE(weak.WinsChallenge(weak));  // one draw of nothing never beats another
        nStrongWins += strong.WinsChallenge(weak);
    }
    EXPECT_GT(nStrongWins, 195);  // loses only when his draw is 0

    // A ball at a holder's feet: twice the distance in thousandths, one more
    // for a player already ahead of him.
    CMatchPlayer* pHolder = pHome->GetSlot(9);
    CMatchPlayer* pBehind = pHome->GetSlot(4);
    CMatchPlayer* pAhead = pHome->GetSlot(10);
    pHolder->SetPosition({5000, 3750, 0});
    pBehind->SetPosition({4000, 3750, 0});
    pAhead->SetPosition({6000, 3750, 0});
    CMatchBall* pBall = m_Engine.GetBall();
    pBall->SetPossessor(pHolder);
    EXPECT_FLOAT_EQ(pBehind->GetBallInterceptCost(), 2.0f);
    EXPECT_FLOAT_EQ(pAhead->GetBallInterceptCost(), 3.0f);
    pBall->SetPossessor(nullptr);
}

TEST_F(MatchClubTest, WhoMayHandleTheBall)
{
    ASSERT_TRUE(Start(7));
    ClearThePitch(m_Engine);
    CMatchClub* pHome = m_Engine.GetHomeClub();
    CMatchPlayer* pKeeper = pHome->GetSlot(0);
    CMatchPlayer* pDefender = pHome->GetSlot(2);
    CMatchPlayer* pForward = m_Engine.GetAwayClub()->GetSlot(9);
    CMatchBall* pBall = m_Engine.GetBall();
    pKeeper->SetPosition({800, 3750, 0});
    EXPECT_TRUE(pKeeper->CanHandleBall());  // nobody touched it yet
    struct Case {
        const char* pszName;
        CMatchPlayer* pToucher;
        uint8_t byEvent;
        bool bMay;
    } cases[] = {
        {"after his own touch", pKeeper, MATCHEVENT_NONE, true},
        {"after an opponent's shot", pForward, MATCHEVENT_NONE, true},
        {"after a team-mate's pass in open play", pDefender, MATCHEVENT_NONE, false},
        {"after a team-mate's pass at a restart", pDefender, MATCHEVENT_GOALKICK, true},
    };
    for (const Case& c : cases) {
        pBall->StartBallInfo(BALLCAUSE_PASS, c.pToucher);
        m_Engine.SetMatchEvent(c.byEvent);
        EXPECT_EQ(pKeeper->CanHandleBall(), c.bMay) << c.pszName;
    }
    m_Engine.SetMatchEvent(MATCHEVENT_NONE);
    pBall->StartBallInfo(BALLCAUSE_SHOT, pForward);
    // Outside his area, and for anyone else, never.
    pKeeper->SetPosition({1800, 3750, 0});
    EXPECT_FALSE(pKeeper->CanHandleBall());
    pDefender->SetPosition({800, 3750, 0});
    EXPECT_FALSE(pDefender->CanHandleBall());
    // The thrower at a throw-in.
    pDefender->SetSpecialRole(ROLE_EVENT_PLAYER);
    EXPECT_FALSE(pDefender->CanHandleBall());
    m_Engine.SetMatchEvent(MATCHEVENT_THROWIN);
    EXPECT_TRUE(pDefender->CanHandleBall());
    m_Engine.SetMatchEvent(MATCHEVENT_NONE);
    // The away side's area is at the other end.
    EXPECT_TRUE(m_Engine.GetAwayClub()->IsInPenaltyArea({9000, 3750, 0}, true));
    EXPECT_FALSE(m_Engine.GetAwayClub()->IsInPenaltyArea({8300, 3750, 0}, true));
    EXPECT_TRUE(m_Engine.GetAwayClub()->IsInPenaltyArea({8300, 3750, 0}, false));
    EXPECT_FALSE(pHome->IsInPenaltyArea({1000, 1500, 0}, false));
}

TEST_F(MatchClubTest, GoingForTheBall)
{
    ASSERT_TRUE(Start(7));
    ClearThePitch(m_Engine);
    CMatchPlayer* p = m_Engine.GetHomeClub()->GetSlot(7);
    p->SetPosition({4000, 3000, 0});
    CMatchBall* pBall = m_Engine.GetBall();
    // A ball at rest: straight to it.
    pBall->SetPosition(4500, 3200, 0, false);
    pBall->SetVelocity({0, 0, 0});
    pBall->UpdatePrediction();
    p->GoForBall(false);
    EXPECT_TRUE(p->IsGoingForBall());
    EXPECT_EQ(p->GetDecision(), DECISION_POSITION_BASE);
    EXPECT_EQ(p->GetInterceptPoint(), CVector(4500, 3200, 0));
    EXPECT_EQ(p->GetTarget(), CVector(4500, 3200, 0));
    EXPECT_FLOAT_EQ(p->GetInterceptTimeFactor(), 0.0f);
    // A slow ball rolling away: where it will be in a second.
    pBall->SetVelocity({300, 0, 0});
    pBall->UpdatePrediction();
    p->GoForBall(false);
    EXPECT_EQ(p->GetInterceptPoint(), CVector(4800, 3200, 0));
    EXPECT_FLOAT_EQ(p->GetInterceptTimeFactor(), 1.0f);
    EXPECT_FLOAT_EQ(p->GetBallInterceptCost(), float(IntegerRoot(p->GetPosition().SquaredDistance2D(
                                                   pBall->PredictPosition(1.0f, false)))) * 0.002f);
    // A ball rolling across: the nearest point of his reach window, only
    // worked out when testing.
    p->SetPosition({4000, 4500, 0});
    pBall->SetVelocity({0, 1500, 0});
    pBall->UpdatePrediction();
    const CVector target = p->GetTarget();
    p->GoForBall(true);
    EXPECT_EQ(p->GetTarget(), target);
    EXPECT_EQ(p->GetInterceptPoint().x, 4500);
    EXPECT_GT(p->GetInterceptPoint().y, 3200);
    EXPECT_GT(p->GetInterceptTimeFactor(), 0.0f);
}

TEST_F(MatchClubTest, EveryFiveMinutesAComputerClubReviewsItsSide)
{
    ASSERT_TRUE(Start(7));
    CMatchClub* pAway = m_Engine.GetAwayClub();
    pAway->GetSlot(3)->SetInjured(true);
    pAway->AddReviewFlags(CMatchClub::REVIEW_INJURY);
    // The decision steps alone: five minutes of engine clock.
    while (m_Engine.GetEngineClock() <= CMatchEngine::kFiveMinutes)
        m_Engine.PostTick();
    EXPECT_EQ(m_Engine.GetRequestedSubstitution(1), 0);  // not yet: the mark is passed, not reached
    m_Engine.PostTick();
    EXPECT_EQ(m_Engine.GetRequestedSubstitution(1) / 16, 3);
    EXPECT_EQ(m_Engine.GetRequestedSubstitution(0), 0);
    EXPECT_EQ(pAway->GetReviewFlags(), CMatchClub::REVIEW_DONE);
    EXPECT_EQ(m_Engine.GetNextFiveMinuteMark(), 2 * CMatchEngine::kFiveMinutes);
}

TEST_F(MatchClubTest, SteppedTickByTickTheStartersWalkOutToTheirPlaces)
{
    // With line-ups shown they come out one after another from the tunnel.
    ASSERT_TRUE(Start(21, 5, true));
    GiveModels();
    m_Engine.SetMatchClockRunning(true);
    // They walk out for a kick-off that nobody takes yet; their decisions
    // send them to their places.
    m_Engine.SetMatchEvent(MATCHEVENT_KICKOFF);
    const CVector tunnel = CMatchEngine::kStartPoint;
    EXPECT_EQ(m_Engine.GetHomeClub()->GetSlot(5)->GetPosition(), tunnel);
    RunTicks(90 * 1000 / 70);
    for (CMatchClub* pClub : {m_Engine.GetHomeClub(), m_Engine.GetAwayClub()}) {
        for (int i = 0; i < 11; ++i) {
            const CMatchPlayer* p = pClub->GetSlot(i);
            EXPECT_LT(IntegerRoot(p->GetPosition().SquaredDistance2D(p->GetBasePosition())), 150)
                << pClub->GetRecord()->GetName() << " " << i;
            EXPECT_EQ(p->GetMoveType(), MOVETYPE_STAND);
        }
    }
    // A second of match time each: the form step ran, while possession and
    // territory wait for play to start.
    EXPECT_EQ(m_Engine.GetHomeClub()->GetPossessionSeconds(), 0);
    EXPECT_EQ(m_Engine.GetHomeClub()->GetTerritorySeconds() + m_Engine.GetAwayClub()->GetTerritorySeconds(), 0);
    EXPECT_LT(m_Engine.GetLastSecondMark(), m_Engine.GetEngineClock());
    // The engine's tables follow the players.
    const CMatchPlayer* pHome = m_Engine.GetHomeClub()->GetSlot(9);
    const CMatchPlayer* pAway = m_Engine.GetAwayClub()->GetSlot(4);
    RunTicks(1);
    EXPECT_EQ(m_Engine.GetPlayerDistance(9, 4),
              IntegerRoot(pHome->GetPosition().SquaredDistance2D(pAway->GetPosition())));
    EXPECT_EQ(pHome->GetBallDistance(),
              IntegerRoot(pHome->GetPosition().SquaredDistance2D(m_Engine.GetBall()->GetPosition())));
    int32_t nLowest = 999999999, nLowestWithoutKeeper = 999999999;
    for (int i = 0; i < 11; ++i) {
        nLowest = std::min(nLowest, m_Engine.GetHomeClub()->GetSlot(i)->GetBallDistance());
        if (i)
            nLowestWithoutKeeper = std::min(nLowestWithoutKeeper, m_Engine.GetHomeClub()->GetSlot(i)->GetBallDistance());
    }
    EXPECT_EQ(m_Engine.GetHomeClub()->GetLowestBallDistance(-1), nLowest);
    EXPECT_EQ(m_Engine.GetHomeClub()->GetLowestBallDistance(0), nLowestWithoutKeeper);
}

TEST_F(MatchClubTest, TheSameSeedPlaysTheSameMatch)
{
    std::vector<CVector> first;
    for (int nRun = 0; nRun < 2; ++nRun) {
        ASSERT_TRUE(Start(33, 5, true));
        GiveModels();
        m_Engine.SetMatchClockRunning(true);
        m_dwClock = 0;
        RunTicks(400);
        std::vector<CVector> positions;
        for (CMatchClub* pClub : {m_Engine.GetHomeClub(), m_Engine.GetAwayClub()})
            for (int i = 0; i < pClub->GetSquadCount(); ++i)
                positions.push_back(pClub->GetSlot(i)->GetPosition());
        if (nRun == 0)
            first = positions;
        else
            EXPECT_EQ(positions, first);
        m_Engine.EndGame();
    }
}

TEST_F(MatchClubTest, TearDownLeavesNothingAndANewMatchStartsClean)
{
    ASSERT_TRUE(Start(7));
    GiveModels();
    RunTicks(20);
    m_Engine.EndGame();
    EXPECT_EQ(m_Engine.GetHomeClub(), nullptr);
    EXPECT_EQ(m_Engine.GetAwayClub(), nullptr);
    EXPECT_EQ(m_Engine.GetBall(), nullptr);
    EXPECT_EQ(m_Engine.Get3DEngine(), nullptr);
    EXPECT_EQ(m_Engine.GetSelectedPerson(), nullptr);
    EXPECT_FALSE(CMatchPerson::GetAnimationLibrary().IsLoaded());
    // A match left built is taken down by the next start.
    ASSERT_TRUE(Start(8, 7));
    ASSERT_TRUE(Start(9, 0));
    EXPECT_EQ(m_Engine.GetHomeClub()->GetSquadCount(), 11);
    EXPECT_EQ(m_Engine.GetHomeClub()->GetSlot(11), nullptr);
}

}  // namespace

namespace {

// A club managed by a human plays his team sheet in his formation.
using HumanClubMatchTest = humans_test::HumanWorld;

// A match of the human's club at home, without the line-ups shown.
bool StartHumansMatch(CMatchEngine& engine, CDatabaseHandler& handler, ID_CLUB idClub)
{
    ITEMMATCHRULESINFORMATION rules;
    const uint32_t dwSeed = 5;
    engine.SetShowLineUps(false);
    return engine.StartGame(handler, idClub, 2, 1, rules, 0, &dwSeed);
}

TEST_F(HumanClubMatchTest, AHumanClubPlaysHisTeamSheet)
{
    CMatchEngine engine;
    ITEMMATCHRULESINFORMATION rules;
    rules.abyRules[2] = 5;
    const uint32_t dwSeed = 5;
    engine.SetShowLineUps(false);
    ASSERT_TRUE(engine.StartGame(H(), m_pClub->GetID(), 2, 1, rules, 0, &dwSeed));
    const CMatchClub* pClub = engine.GetHomeClub();
    ASSERT_EQ(pClub->GetSaveGame(), m_pHuman);
    EXPECT_EQ(engine.GetAwayClub()->GetSaveGame(), nullptr);
    MATCHLAYOUTENTRY layout[SAVEGAME_LINEUP];
    m_pHuman->GetMatchFormation(layout);
    for (int i = 0; i < 16; ++i) {
        const CMatchPlayer* p = pClub->GetSlot(i);
        ASSERT_NE(p, nullptr) << i;
        EXPECT_EQ(p->GetRecord(), m_pHuman->GetSheetPlayer(i)) << i;
        // Every goalkeeper of a human's squad, and whoever he puts in goal,
        // wears the goalkeeper's colour.
        EXPECT_EQ(p->GetColour(), i == 0 || p->GetRecord()->m_byPosition == 0 ? pClub->GetGoalkeeperColour()
                                                                               : pClub->GetKitColour())
            << i;
        const CMatchReferee* pReferee = engine.GetReferee();
        if (i < 11 && p != pReferee->GetEventPlayer() && p != pReferee->GetSecondEventPlayer()) {
            const int32_t* pPoint = pClub->HasBall() ? layout[i].anFirst[27] : layout[i].anSecond[27];
            EXPECT_EQ(p->GetBasePosition(), CVector(pPoint[0], pPoint[1], 0)) << i;
            EXPECT_EQ(p->GetTeamOrder(ORDER_ADVANCE), m_pHuman->GetTeamOrderValue(ORDER_ADVANCE));
        }
    }
    engine.EndGame();
}

// The orders a human sets, each place's own offset added and the sum kept
// within 0-100, are what his players take into the match.
TEST_F(HumanClubMatchTest, TheHumansOrdersAndEachPlacesOffsetReachHisPlayers)
{
    m_pHuman->SetTeamOrderValue(ORDER_SHOOTING, 90);
    m_pHuman->SetTeamOrderValue(ORDER_MARKING, 10);
    m_pHuman->SetTeamOrderValue(ORDER_PASSING_DISTANCE, 35);
    m_pHuman->SetTeamOrderAdjustment(4, ORDER_SHOOTING, 20);
    m_pHuman->SetTeamOrderAdjustment(2, ORDER_MARKING, -20);
    m_pHuman->SetTeamOrderAdjustment(10, ORDER_PASSING_DISTANCE, 7);
    CMatchEngine engine;
    ASSERT_TRUE(StartHumansMatch(engine, H(), m_pClub->GetID()));
    const CMatchClub* pClub = engine.GetHomeClub();
    ASSERT_EQ(pClub->GetSaveGame(), m_pHuman);
    EXPECT_EQ(pClub->GetTeamOrder(ORDER_SHOOTING), 90);
    const struct {
        int nSlot;
        TEAMORDER byOrder;
        int nValue;
    } cases[] = {
        {4, ORDER_SHOOTING, 100}, {3, ORDER_SHOOTING, 90},          {2, ORDER_MARKING, 0},
        {5, ORDER_MARKING, 10},   {10, ORDER_PASSING_DISTANCE, 42}, {9, ORDER_PASSING_DISTANCE, 35},
        {0, ORDER_ADVANCE, 50},
    };
    for (const auto& c : cases) {
        const CMatchPlayer* p = pClub->GetSlot(c.nSlot);
        ASSERT_NE(p, nullptr) << c.nSlot;
        EXPECT_EQ(p->GetTeamOrder(c.byOrder), c.nValue) << "slot " << c.nSlot << " order " << int(c.byOrder);
    }
    engine.EndGame();
}

// Man-to-man marking sends each outfield place after the opponent his
// formation names; without it nobody has a standing order.
TEST_F(HumanClubMatchTest, ManMarkingGivesEachPlaceTheOpponentHisFormationNames)
{
    FORMATIONDATA data;
    for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
        data.aEntries[i] = m_pHuman->GetWorkingEntry(i);
        data.aBlocks[i] = m_pHuman->GetWorkingBlock(i);
    }
    data.aBlocks[0].nExtra = 9;  // the goalkeeper marks nobody all the same
    data.aBlocks[3].nExtra = 10;
    data.aBlocks[6].nExtra = 7;
    data.aBlocks[8].nExtra = 11;  // no such opponent
    m_pHuman->SetWorkingFormation(data);
    ASSERT_EQ(m_pHuman->GetMarkingTarget(3), 10);
    for (const bool bOption : {false, true}) {
        m_pHuman->SetTeamOrderOption(SAVEGAME_OPTION_MAN_MARKING, bOption);
        CMatchEngine engine;
        ASSERT_TRUE(StartHumansMatch(engine, H(), m_pClub->GetID()));
        const CMatchClub* pClub = engine.GetHomeClub();
        ASSERT_EQ(pClub->GetSaveGame(), m_pHuman);
        for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
            const int nExpected = !bOption || (i != 3 && i != 6) ? CMatchClub::kNoMarking : i == 3 ? 10 : 7;
            EXPECT_EQ(pClub->GetMarkingTarget(i), nExpected) << "place " << i << " option " << bOption;
        }
        engine.EndGame();
    }
}

TEST_F(HumanClubMatchTest, TheResultGoesIntoTheClubsRecords)
{
    CMatchEngine engine;
    ITEMMATCHRULESINFORMATION rules;
    const uint32_t dwSeed = 5;
    ASSERT_TRUE(engine.StartGame(H(), m_pClub->GetID(), 2, 1, rules, 0, &dwSeed));
    CMatchClub* pHome = engine.GetHomeClub();
    CMatchClub* pAway = engine.GetAwayClub();
    pHome->SetGoals(3);
    pAway->SetGoals(1);
    const uint16_t wForBefore = m_pClub->m_awResultTotals[0], wAgainstBefore = m_pClub->m_awResultTotals[1];
    // Nobody took part: nobody is rated and the best player's identifier
    // stays as it was.
    for (int i = 0; i < pAway->GetSquadCount(); ++i)
        if (CMatchPlayer* p = pAway->GetPlayerBySquadIndex(i))
            p->SetTookPart(false);
    ID_PLAYER idBest = 12345;
    EXPECT_EQ(pAway->WriteMatchResult(0, &idBest), 0);
    EXPECT_EQ(idBest, 12345u);
    // Everyone who took part is rated 40..100, the bench 0; the first of
    // the best ratings is the player of the match.
    const uint8_t byBest = pHome->WriteMatchResult(0, &idBest);
    const CMatchPlayer* pFirstBest = nullptr;
    for (int i = 0; i < pHome->GetSquadCount(); ++i) {
        const CMatchPlayer* p = pHome->GetSlot(i);
        if (!p)
            continue;
        const uint8_t byRating = p->GetStoredMatchRating();
        if (p->TookPart()) {
            EXPECT_GE(byRating, 40);
            EXPECT_LE(byRating, 100);
        } else {
            EXPECT_EQ(byRating, 0);
        }
        if (!pFirstBest && byRating == byBest)
            pFirstBest = p;
    }
    ASSERT_NE(pFirstBest, nullptr);
    EXPECT_GE(byBest, 40);
    EXPECT_EQ(idBest, pFirstBest->GetRecord()->m_idPerson);
    EXPECT_EQ(m_pClub->m_awResultTotals[0], wForBefore + 3);
    EXPECT_EQ(m_pClub->m_awResultTotals[1], wAgainstBefore + 1);
    engine.EndGame();
}

}  // namespace
