// Where play is and who takes the restart: zones of play and the clubs'
// grid cells, possession, the focus point of a free kick, telling the clubs
// once; takers, walls, penalties, substitutions, sendings-off and cards;
// how long the referee waits for a restart.
#include "RestartsFixture.h"

#include <cmath>

namespace {

class SetPiecesTest : public RestartsFixture {
protected:
    void SetUp() override { ASSERT_TRUE(Start(0)); }
};

TEST_F(SetPiecesTest, ZonesOfPlayAndGridCells)
{
    struct Case {
        CVector point;
        int nZone;
    } zones[] = {{{9999, 7499, 0}, 24}, {{-300, 8000, 0}, 20}, {{0, 0, 0}, 0}, {{5000, 3750, 0}, 12},
                 {{1999, 1500, 0}, 5},  {{12000, -10, 0}, 4}};
    for (const Case& c : zones)
        EXPECT_EQ(CMatchEngine::GetZoneOfPoint(c.point), c.nZone) << c.point.x << "," << c.point.y;
    struct Cell {
        CVector point;
        int nCell;
    } cells[] = {{{9500, 3750, 0}, CMatchEngine::kNoGridCell}, {{7000, 1000, 0}, 15}, {{7000, 2497, 0}, 15},
                 {{7000, 2498, 0}, 16}, {{0, 0, 0}, 0}, {{9000, 1000, 0}, 25}, {{9900, 6500, 0}, 28},
                 {{8000, 7400, 0}, 24}, {{-1, 0, 0}, CMatchEngine::kNoGridCell}};
    for (const Cell& c : cells)
        EXPECT_EQ(m_Engine.GetGridCell(c.point), c.nCell) << c.point.x << "," << c.point.y;
}

TEST_F(SetPiecesTest, EachRestartSetsItsZoneAndTheClubsAreToldOnlyOfChanges)
{
    m_pReferee->OnRestartTaken();
    CMatchClub* pHigh = m_Engine.GetClubAttackingHighEnd();
    struct Case {
        const char* pszName;
        uint8_t byCause;
        CVector at;
        int nZone;
        CVector focus;
    } cases[] = {
        {"free kick: 2000 on towards the goal", CAUSE_OFFSIDE, {6000, 3750, 0}, 14, {8000, 3750, 0}},
        {"corner on the near touch-line", CAUSE_BALL_OFF_END, {10100, 100, 0}, 26, {9980, 20, 0}},
        {"corner on the far one", CAUSE_BALL_OFF_END, {10100, 7400, 0}, 25, {9980, 7480, 0}},
        {"penalty", CAUSE_HAND_BALL, {9000, 3750, 0}, 29, {8860, 3750, 0}},
        {"kick-off after a goal", CAUSE_GOAL, {-100, 3750, 0}, 27, {5028, 3722, 0}},
        {"throw-in", CAUSE_BALL_OFF_SIDE, {3100, -100, 0}, 1, {3100, -100, 0}},
    };
    for (const Case& c : cases) {
        CMatchClub* pClub = c.byCause == CAUSE_GOAL ? pHigh->GetOpponent() : pHigh;
        Award(pClub, c.byCause, c.at);
        EXPECT_EQ(m_Engine.GetLastZoneTold(), c.nZone) << c.pszName;
        EXPECT_EQ(m_Engine.GetFocusPoint(), c.focus) << c.pszName;
        // While the restart is prepared, its club is in possession.
        EXPECT_EQ(m_Engine.GetClubInPossession(), pClub) << c.pszName;
        EXPECT_TRUE(pClub->HasBall());
        EXPECT_FALSE(pClub->GetOpponent()->HasBall());
        m_pReferee->OnRestartTaken();
    }
    // A goal kick's focus is the centre.
    Award(pHigh, CAUSE_BALL_OFF_END, CVector(-100, 1000, 0));
    EXPECT_EQ(m_Engine.GetLastZoneTold(), CMatchEngine::ZONE_GOALKICK);
    EXPECT_EQ(m_Engine.GetFocusPoint(), CVector(5000, 3750, 0));
    m_pReferee->OnRestartTaken();

    // Open play: the ball's cell; two ticks in the same cell tell once.
    m_pBall->SetPossessor(pHigh->GetSlot(4));
    m_pBall->SetPosition(4500, 4000, 0, false);
    m_Engine.SetupEventPositions();
    EXPECT_EQ(m_Engine.GetLastZoneTold(), 12);
    const uint32_t dwTold = m_Engine.GetZoneTellings();
    EXPECT_FALSE(m_Engine.SetupEventPositions());
    m_pBall->SetPosition(4600, 4100, 0, false);
    EXPECT_FALSE(m_Engine.SetupEventPositions());
    EXPECT_EQ(m_Engine.GetZoneTellings(), dwTold);
    m_pBall->SetPosition(8500, 4100, 0, false);
    EXPECT_TRUE(m_Engine.SetupEventPositions());
    EXPECT_EQ(m_Engine.GetZoneTellings(), dwTold + 1);
}

TEST_F(SetPiecesTest, PossessionGoesToTheHolderElseTheFastestChaser)
{
    m_pReferee->OnRestartTaken();
    m_Engine.SetupEventPositions();
    CMatchPlayer* pHome = m_pHome->GetSlot(7);
    CMatchPlayer* pAway = m_pAway->GetSlot(7);
    CMatchPlayer* pFree = m_pAway->GetSlot(8);
    for (CMatchPlayer* p : {pHome, pAway, pFree})
        p->SetBallChaser(true);
    pHome->SetBallReachCost(2.0f);
    pAway->SetBallReachCost(1.5f);
    pFree->SetBallReachCost(0.0f);  // no cost is no reach at all
    m_pBall->SetPossessor(nullptr);
    m_Engine.SetupEventPositions();
    EXPECT_EQ(m_pBall->GetFastestHome(), pHome);
    EXPECT_EQ(m_pBall->GetFastestAway(), pAway);
    EXPECT_EQ(m_pBall->GetFastest(), pAway);
    EXPECT_EQ(m_Engine.GetClubInPossession(), m_pAway);
    // A holder's club has it, and nobody is the fastest to a held ball.
    m_pBall->SetPossessor(m_pHome->GetSlot(3));
    m_Engine.SetupEventPositions();
    EXPECT_EQ(m_Engine.GetClubInPossession(), m_pHome);
    EXPECT_EQ(m_pBall->GetFastest(), nullptr);
    // Nobody near: possession is open, and that is a change.
    m_pBall->SetPossessor(nullptr);
    for (CMatchPlayer* p : {pHome, pAway})
        p->SetBallChaser(false);
    EXPECT_TRUE(m_Engine.SetupEventPositions());
    EXPECT_EQ(m_Engine.GetClubInPossession(), nullptr);
    EXPECT_FALSE(m_pHome->HasBall() || m_pAway->HasBall());
}

TEST_F(SetPiecesTest, TakersOfAComputerRunClub)
{
    m_pReferee->OnRestartTaken();
    CMatchClub* pHigh = m_Engine.GetClubAttackingHighEnd();
    // A corner: whoever stands nearest the flag by his place.
    Award(pHigh, CAUSE_BALL_OFF_END, CVector(10100, 7400, 0));
    CMatchPlayer* pTaker = m_pReferee->GetEventPlayer();
    ASSERT_NE(pTaker, nullptr);
    const CVector flag = m_pReferee->GetEventPosition();
    m_pReferee->OnRestartTaken();
    Award(pHigh, CAUSE_BALL_OFF_END, CVector(10100, 7400, 0));
    // Placed for the corner again, the same player is the nearest.
    EXPECT_EQ(m_pReferee->GetEventPlayer(), pTaker);
    for (int i = 0; i < pHigh->GetOnPitchCount(); ++i) {
        const CMatchPlayer* p = pHigh->GetSlot(i);
        if (p != pTaker && p->GetSpecialRole() == ROLE_NONE)
            EXPECT_GT(p->GetBasePosition().SquaredDistance2D(flag), 0) << i;
    }
    m_pReferee->OnRestartTaken();
    // A free kick in the own penalty area: the goalkeeper.
    Award(pHigh, CAUSE_OFFSIDE, CVector(1200, 3000, 0));
    EXPECT_EQ(m_pReferee->GetEventPlayer(), pHigh->GetSlot(0));
    m_pReferee->OnRestartTaken();
    // A penalty: the best shooter on the pitch.
    Award(pHigh, CAUSE_HAND_BALL, CVector(9000, 3750, 0));
    int nBest = 0;
    for (int i = 0; i < pHigh->GetOnPitchCount(); ++i)
        nBest = std::max<int>(nBest, pHigh->GetSlot(i)->GetRating(RATING_SHOOTING_IN_PLAY));
    ASSERT_NE(m_pReferee->GetEventPlayer(), nullptr);
    EXPECT_EQ(m_pReferee->GetEventPlayer()->GetRating(RATING_SHOOTING_IN_PLAY), nBest);
    // The computer-run club names only two takers.
    EXPECT_EQ(pHigh->GetSetPieceTaker(0), pHigh->GetSlot(9));
    EXPECT_EQ(pHigh->GetSetPieceTaker(6), pHigh->GetSlot(2));
    EXPECT_EQ(pHigh->GetSetPieceTaker(CMatchClub::TAKER_PENALTY), nullptr);
}

TEST_F(SetPiecesTest, TheWallGrowsWithTheGoalItHides)
{
    const CVector goal(0, 3750, 0);
    struct Case {
        CVector kick;
        int nPlayers;
    } cases[] = {
        {{2000, 3750, 0}, 5}, {{3000, 3750, 0}, 4}, {{4000, 3750, 0}, 3}, {{6000, 3750, 0}, 2},
        {{300, 1000, 0}, 1},  {{9000, 3750, 0}, 2}, {{2000, 3000, 0}, 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CMatchClub::GetWallSize(c.kick, goal), c.nPlayers) << c.kick.x << "," << c.kick.y;

    // A direct free kick against the club in its defensive zone: the last
    // players of its slots line up across the kick, 1015 from the ball.
    m_pReferee->OnRestartTaken();
    CMatchClub* pLow = m_Engine.GetClubAttackingLowEnd();
    CMatchClub* pHigh = m_Engine.GetClubAttackingHighEnd();
    Award(pLow, CAUSE_AGGRESSIVE_PLAY, CVector(2000, 3750, 0));
    m_pReferee->SetCardLevel(0);
    ASSERT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_DIRECTFREEKICK);
    std::vector<int32_t> across;
    for (int i = 0; i < pHigh->GetOnPitchCount(); ++i) {
        const CMatchPlayer* p = pHigh->GetSlot(i);
        if (p->GetSpecialRole() != ROLE_FETCHER)
            continue;
        EXPECT_GE(i, pHigh->GetOnPitchCount() - 5) << i;
        EXPECT_EQ(p->GetBasePosition().x, 2000 - 1015) << i;
        across.push_back(p->GetBasePosition().y);
    }
    std::sort(across.begin(), across.end());
    EXPECT_EQ(across, (std::vector<int32_t>{3550, 3650, 3750, 3850, 3950}));
    // The kicking side builds no wall.
    for (int i = 0; i < pLow->GetOnPitchCount(); ++i)
        EXPECT_NE(pLow->GetSlot(i)->GetSpecialRole(), ROLE_FETCHER);
}

TEST_F(SetPiecesTest, ASubstituteTakesOverTheNumberAndPlaceOfThePlayerGoingOff)
{
    m_pReferee->OnRestartTaken();
    CMatchPlayer* pOff = m_pHome->GetSlot(7);
    CMatchPlayer* pOn = m_pHome->GetSlot(12);
    const uint8_t byOffNumber = pOff->GetSquadPosition();
    const uint8_t byOnNumber = pOn->GetSquadPosition();
    const uint32_t dwColour = pOff->GetColour();
    // The request waits for a stoppage.
    m_pReferee->RequestSubstitution(0, 12 - 11, 7);
    EXPECT_EQ(m_pReferee->GetSubstitutionState(), 1u);
    Award(m_pHome, CAUSE_BALL_OFF_SIDE, CVector(5000, -100, 0));
    const CVector place = pOff->GetBasePosition();
    m_pReferee->CheckEventState();
    EXPECT_EQ(m_pHome->GetSlot(7), pOn);
    EXPECT_EQ(m_pHome->GetSlot(12), pOff);
    EXPECT_EQ(pOn->GetSquadPosition(), byOffNumber);
    EXPECT_EQ(pOff->GetSquadPosition(), byOnNumber);
    EXPECT_EQ(m_pHome->GetPlayer(byOffNumber, true), pOn);
    EXPECT_EQ(pOn->GetBasePosition(), place);
    EXPECT_EQ(pOn->GetSpecialRole(), ROLE_NONE);
    EXPECT_EQ(pOn->GetColour(), dwColour);
    EXPECT_TRUE(pOn->TookPart());
    EXPECT_EQ(pOff->GetSpecialRole(), ROLE_BENCH);
    EXPECT_EQ(pOff->GetDecision(), DECISION_SUBSTITUTE_BENCH);
    EXPECT_FALSE(pOff->IsAvailableSubstitute());
    EXPECT_EQ(m_pHome->GetSubstitutions(), 1);
    EXPECT_EQ(m_pHome->GetCounters().bySubstitutions, 1);
    EXPECT_EQ(m_Recorder.Count(30), 2);
    EXPECT_EQ(m_Recorder.CountIncidents(6), 1);
    EXPECT_EQ(m_pReferee->GetAddedTime(), 3000u);
    // A player who came off never returns.
    m_pReferee->RequestSubstitution(0, 12 - 11, 3);
    m_pReferee->CheckEventState();
    EXPECT_EQ(m_pHome->GetSlot(3)->GetSpecialRole() == ROLE_BENCH, false);
    EXPECT_EQ(m_pHome->GetSlot(12), pOff);
    EXPECT_EQ(m_pHome->GetSubstitutions(), 1);
}

TEST_F(SetPiecesTest, AnEventPlayerSubstitutedHandsOnHisRestart)
{
    m_pReferee->OnRestartTaken();
    Award(m_pHome, CAUSE_OFFSIDE, CVector(5000, 2000, 0));
    CMatchPlayer* pTaker = m_pReferee->GetEventPlayer();
    ASSERT_NE(pTaker, nullptr);
    int nSlot = 0;
    for (int i = 0; i < 11; ++i)
        if (m_pHome->GetSlot(i) == pTaker)
            nSlot = i;
    CMatchPlayer* pOn = m_pHome->GetSlot(11);
    m_pHome->SubstitutePlayer(nSlot, 11);
    EXPECT_EQ(m_pReferee->GetEventPlayer(), pOn);
    EXPECT_EQ(pOn->GetSpecialRole(), ROLE_EVENT_PLAYER);
    EXPECT_EQ(pOn->GetBasePosition(), m_pReferee->GetEventPosition());
    EXPECT_EQ(pTaker->GetSpecialRole(), ROLE_BENCH);
    EXPECT_FALSE(pTaker->IsChosenForRestart());
}

TEST_F(SetPiecesTest, SendingsOffAndTheSevenPlayerFloor)
{
    m_pReferee->OnRestartTaken();
    CMatchClub* pClub = m_pAway;
    // A red card: the player leaves and the side plays with ten.
    CMatchPlayer* pOffender = pClub->GetSlot(4);
    Award(pClub->GetOpponent(), CAUSE_AGGRESSIVE_PLAY, CVector(5000, 3000, 0));
    m_pReferee->SetCause(CAUSE_AGGRESSIVE_PLAY, pOffender, CVector(5000, 3000, 0));
    m_pReferee->SetCardLevel(3);
    ASSERT_EQ(m_pReferee->GetCardLevel(), 3);
    m_pReferee->MakeDecision();  // he turns to the player
    m_pReferee->MakeDecision();  // and shows the card
    EXPECT_EQ(m_pReferee->GetCardLevel(), 0);
    EXPECT_EQ(m_Recorder.Count(7, 1), 1);
    EXPECT_EQ(m_Recorder.CountIncidents(1), 1);
    EXPECT_EQ(pClub->GetOnPitchCount(), 10);
    EXPECT_EQ(pOffender->GetSpecialRole(), ROLE_BENCH);
    EXPECT_EQ(pClub->GetSlot(pClub->GetSquadCount() - 1), pOffender);
    EXPECT_EQ(pClub->GetCounters().bySubstitutions, 1);
    for (int i = 0; i < pClub->GetOnPitchCount(); ++i)
        EXPECT_NE(pClub->GetSlot(i), pOffender);

    // A yellow for a booked player is a second yellow.
    CMatchPlayer* pBooked = pClub->GetSlot(2);
    pBooked->ReceiveBooking();
    EXPECT_EQ(pClub->GetBookings(), 1);
    m_pReferee->SetCause(CAUSE_TACKLE_FROM_BEHIND, pBooked, CVector(5000, 3000, 0));
    m_pReferee->SetCardLevel(1);
    EXPECT_EQ(m_pReferee->GetCardLevel(), 2);
    m_pReferee->SetCardLevel(0);

    // Down to seven: no card may take the side lower.
    pClub->SetOnPitchCount(7);
    struct Case {
        uint8_t byLevel;
        bool bBooked;
        uint8_t byResult;
    } cases[] = {{1, true, 0}, {3, true, 0}, {2, false, 0}, {1, false, 1}, {3, false, 3}};
    for (const Case& c : cases) {
        m_pReferee->SetCause(CAUSE_AGGRESSIVE_PLAY, c.bBooked ? pBooked : pClub->GetSlot(1),
                             CVector(5000, 3000, 0));
        m_pReferee->SetCardLevel(c.byLevel);
        EXPECT_EQ(m_pReferee->GetCardLevel(), c.byResult) << int(c.byLevel) << " " << c.bBooked;
    }
    m_pReferee->SetCardLevel(0);
}

TEST_F(SetPiecesTest, AComputerClubWhoseGoalkeeperIsSentOffBringsOnTheOneOnItsBench)
{
    m_pReferee->OnRestartTaken();
    CMatchClub* pClub = m_pAway;  // computer-run
    CMatchPlayer* pKeeper = pClub->GetSlot(0);
    CMatchPlayer* pBenchKeeper = nullptr;
    for (int i = 11; i < pClub->GetSquadCount() && !pBenchKeeper; ++i)
        if (pClub->GetSlot(i)->GetSelectedPosition() == 0)
            pBenchKeeper = pClub->GetSlot(i);
    ASSERT_NE(pBenchKeeper, nullptr);
    pKeeper->SendOff();
    EXPECT_EQ(pClub->GetOnPitchCount(), 10);
    ASSERT_EQ(m_pReferee->GetSubstitutionState(), 1u);
    // At the next stoppage the goalkeeper comes on for an outfield player.
    Award(m_pHome, CAUSE_BALL_OFF_SIDE, CVector(5000, -100, 0));
    m_pReferee->CheckEventState();
    EXPECT_EQ(pClub->GetOnPitchCount(), 10);
    EXPECT_EQ(pClub->GetSlot(0), pBenchKeeper);
    EXPECT_EQ(pBenchKeeper->GetSquadPosition(), 0);
    EXPECT_EQ(pClub->GetPlayer(0, true), pBenchKeeper);
    EXPECT_EQ(pClub->GetSubstitutions(), 1);
    int nOnBench = 0;
    for (int i = 10; i < pClub->GetSquadCount(); ++i)
        nOnBench += pClub->GetSlot(i)->GetSpecialRole() == ROLE_BENCH;
    EXPECT_EQ(nOnBench, pClub->GetSquadCount() - 10);
    // Without substitutions left an outfield player goes in goal.
    CMatchClub* pOther = m_pHome;
    while (pOther->GetSubstitutions() < CMatchClub::kSubstitutionLimit)
        pOther->SubstitutePlayer(5, pOther->GetOnPitchCount() + 2 + pOther->GetSubstitutions());
    ASSERT_EQ(pOther->GetSubstitutions(), CMatchClub::kSubstitutionLimit);
    ASSERT_EQ(pOther->GetSaveGame(), nullptr);
    CMatchPlayer* pGone = pOther->GetSlot(0);
    pGone->SendOff();
    EXPECT_NE(m_pReferee->GetSubstitutionState(), 1u);  // nobody is asked for
    ASSERT_NE(pOther->GetSlot(0), nullptr);
    EXPECT_NE(pOther->GetSlot(0), pGone);
    EXPECT_EQ(pOther->GetSlot(0)->GetSquadPosition(), 0);
    EXPECT_NE(pOther->GetSlot(0)->GetSpecialRole(), ROLE_BENCH);
}

TEST_F(SetPiecesTest, AnInjuryStopsPlayAndAFreeKickFollowsOnceHeIsDealtWith)
{
    m_pReferee->OnRestartTaken();
    CMatchPlayer* pInjured = m_pHome->GetSlot(6);
    pInjured->SetPosition(CVector(4000, 3000, 0));
    pInjured->SetInjured(true);
    m_pReferee->SetInjuredPlayer(pInjured);
    m_pReferee->UpdateMatchState();
    EXPECT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_INJURY);
    EXPECT_EQ(m_pReferee->GetSecondEventPosition(), CVector(4100, 3000, 0));
    ASSERT_NE(m_pReferee->GetSecondEventPlayer(), nullptr);
    EXPECT_NE(m_pReferee->GetSecondEventPlayer(), pInjured);
    EXPECT_EQ(m_pReferee->GetSecondEventPlayer()->GetClub(), m_pHome);
    EXPECT_EQ(m_pReferee->GetRestartClub(), m_pHome);
    // While he is down nothing happens.
    m_pReferee->UpdateMatchState();
    EXPECT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_INJURY);
    // Treated: an indirect free kick where he lay, for his side.
    m_Engine.SetMatchTime(m_Engine.GetMatchTime() + 30000);
    pInjured->SetInjured(false);
    m_pReferee->UpdateMatchState();
    EXPECT_EQ(m_pReferee->GetInjuredPlayer(), nullptr);
    EXPECT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_FREEKICK);
    EXPECT_EQ(m_pReferee->GetEventPosition(), CVector(4100, 3000, 0));
    ASSERT_NE(m_pReferee->GetEventPlayer(), nullptr);
    EXPECT_EQ(m_pReferee->GetEventPlayer()->GetClub(), m_pHome);
    // The stoppage was added to the half.
    m_pReferee->SetPosition(m_pReferee->GetTarget());
    m_pReferee->CheckEventState();
    EXPECT_TRUE(m_pReferee->IsSetupComplete());
    EXPECT_EQ(m_pReferee->GetAddedTime(), 30000u);
}

TEST_F(SetPiecesTest, TheRefereeWaitsForTheRestartWithinItsLimitsAndItsPatienceRunsOut)
{
    m_pReferee->OnRestartTaken();
    Award(m_pHome, CAUSE_BALL_OFF_SIDE, CVector(5000, -100, 0));
    // A player still on his way holds the restart back.
    m_pHome->GetSlot(5)->SetNotInPlace(true);
    m_pReferee->SetPosition(m_pReferee->GetTarget());
    m_pReferee->CheckEventState();
    EXPECT_FALSE(m_pReferee->IsSetupComplete());
    // After 40 seconds the throw-in is forced and the taker gets the ball.
    m_Engine.SetMatchTime(m_Engine.GetMatchTime() + 40001);
    EXPECT_EQ(m_pReferee->GetTimeSinceEventStart(), 40001u);
    m_pReferee->CheckEventState();
    EXPECT_TRUE(m_pReferee->IsSetupComplete());
    EXPECT_EQ(m_pBall->GetHolder(), m_pReferee->GetEventPlayer());
    EXPECT_EQ(m_pReferee->GetAction(), ACTION_SIGNALLING);
    m_pHome->GetSlot(5)->SetNotInPlace(false);

    // Patience at a throw-in: grace 500 ms, then down over 3000 ms.
    const uint32_t dwSetup = m_Engine.GetMatchTime();
    struct Case {
        uint32_t dwSince, dwPatience;
    } cases[] = {{0, 101}, {499, 101}, {500, 100}, {1100, 80}, {3499, 1}, {3500, 0}, {9000, 0}};
    for (const Case& c : cases) {
        m_Engine.SetMatchTime(dwSetup + c.dwSince);
        EXPECT_EQ(m_pReferee->GetRestartPatience(), c.dwPatience) << c.dwSince;
    }

    // The taker's kick puts the ball back in play.
    CMatchPlayer* pTaker = m_pReferee->GetEventPlayer();
    pTaker->SetTarget(CVector(5500, 1000, 0), CMatchPerson::kNoFacing);
    pTaker->KickBall();
    EXPECT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_NONE);
    EXPECT_EQ(m_pReferee->GetLastRestart(), MATCHEVENT_THROWIN);
    EXPECT_EQ(m_pReferee->GetLastTaker(), pTaker);
    EXPECT_EQ(m_Engine.GetFollowedRestart(), MATCHEVENT_THROWIN);
    // It is followed until somebody else touches it.
    m_Engine.SetMatchTime(m_Engine.GetMatchTime() + 1500);
    m_pReferee->UpdateAfterRestart();
    EXPECT_EQ(m_pReferee->GetLastRestart(), MATCHEVENT_THROWIN);
    EXPECT_STREQ(m_pReferee->GetEventName(), "Throw In");
    EXPECT_EQ(m_pReferee->GetTimeSinceRestartTaken(), 1500u);
    EXPECT_EQ(m_pReferee->GetTimeInPlay(), 0u);
    m_pBall->SetPossessor(m_pAway->GetSlot(3));
    m_pReferee->UpdateAfterRestart();
    EXPECT_EQ(m_pReferee->GetLastRestart(), MATCHEVENT_NONE);
    EXPECT_EQ(m_pReferee->GetPreviousRestart(), MATCHEVENT_THROWIN);
    EXPECT_EQ(m_pReferee->GetTimeSinceRestartTaken(), 0u);
    m_Engine.SetMatchTime(m_Engine.GetMatchTime() + 2000);
    EXPECT_EQ(m_pReferee->GetTimeInPlay(), 2000u);
    EXPECT_STREQ(m_pReferee->GetPeriodName(), "First Half");
}

TEST_F(SetPiecesTest, AGoalKickLeftTooLongIsTimeWasting)
{
    m_pReferee->OnRestartTaken();
    CMatchClub* pHigh = m_Engine.GetClubAttackingHighEnd();
    Award(pHigh, CAUSE_BALL_OFF_END, CVector(-100, 1000, 0));
    m_pReferee->SetPosition(m_pReferee->GetTarget());
    m_pReferee->CheckEventState();
    ASSERT_TRUE(m_pReferee->IsSetupComplete());
    CMatchPlayer* pKeeper = m_pReferee->GetEventPlayer();
    EXPECT_EQ(pKeeper, pHigh->GetSlot(0));
    // Within seven seconds he is never pulled up.
    for (int i = 0; i < 200; ++i)
        m_pReferee->CheckEventState();
    EXPECT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_GOALKICK);
    m_Engine.SetMatchTime(m_Engine.GetMatchTime() + 7001);
    for (int i = 0; i < 1000 && m_Engine.GetMatchEvent() == MATCHEVENT_GOALKICK; ++i)
        m_pReferee->CheckEventState();
    EXPECT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_NONE);
    EXPECT_EQ(m_pReferee->GetResolvedCause(), CAUSE_TIME_WASTING);
    EXPECT_EQ(m_pReferee->GetRestartClub(), pHigh->GetOpponent());
    EXPECT_EQ(m_pReferee->GetOffender(), pKeeper);
    EXPECT_EQ(m_pReferee->GetDecision(), DECISION_SIGNAL);
    // The signal gives the opponents an indirect free kick, a foul on the keeper's side.
    m_pReferee->GiveSignal();
    EXPECT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_FREEKICK);
    EXPECT_EQ(pHigh->GetCounters().byFouls, 1);
}

}  // namespace

namespace {

// A human's designated takers and set-piece routines.
class HumanSetPiecesTest : public humans_test::HumanWorld {
protected:
    // A match at the human's ground with five substitutes named; false
    // when it does not start.
    bool StartHumanMatch(CMatchEngine& engine)
    {
        ITEMMATCHRULESINFORMATION rules;
        rules.abyRules[2] = 5;
        const uint32_t dwSeed = 5;
        engine.SetShowLineUps(false);
        return engine.StartGame(H(), m_pClub->GetID(), 2, 1, rules, 0, &dwSeed);
    }
};

TEST_F(HumanSetPiecesTest, TheHumansTakersAndRoutinesTakeTheRestarts)
{
    // Takers by sheet place: defence, midfield, attack free kicks; the two
    // corners; penalties. Entry 0 names a substitute, who is not on the pitch.
    const int anSheet[CMatchClub::kSetPieceTakers] = {13, 3, 6, 9, 7, 8, 2, 10};
    for (int k = 0; k < CMatchClub::kSetPieceTakers; ++k)
        m_pHuman->SetSetPiecePlayer(k, m_pHuman->GetSheetPlayer(anSheet[k]));
    // One attacking corner routine for each side, taken by line-up number 4.
    for (int nSide = 0; nSide < 2; ++nSide) {
        SETPIECEROUTINE& routine = m_pHuman->CornerRoutine(nSide, 1, 0);
        routine = SETPIECEROUTINE();
        routine.bHasPoints = true;
        routine.byTaker = 4;
        for (int i = 0; i < SETPIECE_POINTS; ++i) {
            routine.awPoints[i][0] = uint16_t(300 + i * 10);
            routine.awPoints[i][1] = uint16_t(40 + i * 5);
        }
    }
    CMatchEngine engine;
    ASSERT_TRUE(StartHumanMatch(engine));
    CMatchClub* pClub = engine.GetHomeClub();
    CMatchReferee* pReferee = engine.GetReferee();
    ASSERT_EQ(pClub->GetSaveGame(), m_pHuman);
    pReferee->OnRestartTaken();
    auto sheet = [&](int n) { return pClub->GetPlayerByRecord(m_pHuman->GetSheetPlayer(n), true); };
    EXPECT_EQ(pClub->GetSetPieceTaker(0), pClub->GetSlot(10));  // the last on the pitch
    for (int k = 1; k < CMatchClub::kSetPieceTakers; ++k)
        EXPECT_EQ(pClub->GetSetPieceTaker(k), sheet(anSheet[k])) << k;

    const bool bHigh = pClub->AttacksHighEnd();
    auto award = [&](uint8_t byCause, const CVector& at) {
        engine.SetMatchEvent(MATCHEVENT_NONE);
        pReferee->SetRestartClub(pClub);
        pReferee->SetCause(byCause, pClub->GetOpponent()->GetSlot(6), at);
        pReferee->SetEventFromCause();
        CMatchPlayer* pTaker = pReferee->GetEventPlayer();
        pReferee->OnRestartTaken();
        return pTaker;
    };
    auto mirror = [bHigh](int32_t x, int32_t y) {
        return bHigh ? CVector(x, y, 0) : CVector(PITCH_LENGTH - x, PITCH_WIDTH - y, 0);
    };
    // Free kicks by the zone they are taken in; a penalty by his taker.
    const CVector defence = mirror(2500, 3000), midfield = mirror(5000, 3000), attack = mirror(8000, 1000);
    EXPECT_EQ(award(CAUSE_OFFSIDE, defence), sheet(3));
    EXPECT_EQ(award(CAUSE_OFFSIDE, midfield), sheet(6));
    EXPECT_EQ(award(CAUSE_OFFSIDE, attack), sheet(9));
    EXPECT_EQ(award(CAUSE_HAND_BALL, mirror(9000, 3750)), sheet(10));

    // A corner plays the routine: its taker, everyone else on its points.
    engine.SetMatchEvent(MATCHEVENT_NONE);
    pReferee->SetRestartClub(pClub);
    pReferee->SetCause(CAUSE_BALL_OFF_END, pClub->GetOpponent()->GetSlot(6), mirror(10100, 7400));
    pReferee->SetEventFromCause();
    ASSERT_EQ(engine.GetMatchEvent(), MATCHEVENT_CORNER);
    EXPECT_EQ(pReferee->GetEventPlayer(), pClub->GetPlayer(4, true));
    EXPECT_TRUE(pClub->IsRoutineLive());
    MATCHSETPIECE routine;
    const CVector flag = pReferee->GetEventPosition();
    const int nSide = bHigh ? flag.y > 3750 : flag.y < 3751;
    ASSERT_TRUE(m_pHuman->GetCornerRoutine(routine, nSide, 1, 0));
    for (int i = 1; i < pClub->GetOnPitchCount(); ++i) {
        const CMatchPlayer* p = pClub->GetSlot(i);
        if (p->GetSpecialRole() != ROLE_NONE)
            continue;
        const int n = p->GetSquadPosition();
        EXPECT_EQ(p->GetBasePosition(), mirror(routine.anPoints[n][0], routine.anPoints[n][1])) << i;
    }
    // Without a routine for the defending side a corner against him keeps
    // the formation, and the computer side's corner taker is the nearest.
    pReferee->OnRestartTaken();
    engine.SetMatchEvent(MATCHEVENT_NONE);
    pReferee->SetRestartClub(pClub->GetOpponent());
    pReferee->SetCause(CAUSE_BALL_OFF_END, pClub->GetSlot(6), mirror(-100, 7400));
    pReferee->SetEventFromCause();
    EXPECT_FALSE(pClub->IsRoutineLive());
    engine.EndGame();
}

TEST_F(HumanSetPiecesTest, AShootOutTakesTheHumansOrderOfKickers)
{
    // The order's first kicker is the penalty taker; a starter taken off
    // loses his turn to the next in the order.
    const uint8_t abyOrder[SAVEGAME_LINEUP] = {9, 10, 6, 2, 3, 4, 5, 1, 7, 8, 0};
    ASSERT_TRUE(m_pHuman->SetPenaltyOrder(abyOrder));
    CMatchEngine engine;
    ASSERT_TRUE(StartHumanMatch(engine));
    CMatchClub* pClub = engine.GetHomeClub();
    ASSERT_EQ(pClub->GetSaveGame(), m_pHuman);
    auto sheet = [&](int n) { return pClub->GetPlayerByRecord(m_pHuman->GetSheetPlayer(n), true); };
    ASSERT_EQ(pClub->GetSetPieceTaker(CMatchClub::TAKER_PENALTY), sheet(9));
    sheet(6)->SetSpecialRole(ROLE_BENCH);
    const int anExpected[] = {9, 10, 2, 3, 4, 5, 1, 7, 8, 0};
    for (int nPlace : anExpected) {
        CMatchPlayer* pTaker = pClub->PickPenaltyTaker(true);
        ASSERT_EQ(pTaker, sheet(nPlace)) << "place " << nPlace;
        pTaker->SetHasTakenPenalty(true);
    }
    engine.EndGame();
}

}  // namespace

// A corner at either end by either touch line: both sides' places lean
// towards the touch line of the corner flag, whichever end each attacks.
TEST_F(SetPiecesTest, AtACornerBothSidesStandTowardsTheCornerFlag)
{
    m_pReferee->OnRestartTaken();
    for (CMatchClub* pClub : {m_Engine.GetClubAttackingHighEnd(), m_Engine.GetClubAttackingLowEnd()})
        for (const int32_t y : {100, 7400}) {
            Award(pClub, CAUSE_BALL_OFF_END, CVector(pClub->AttacksHighEnd() ? 10100 : -100, y, 0));
            ASSERT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_CORNER);
            const bool bNear = m_pReferee->GetEventPosition().y < GOAL_CENTRE_Y;
            for (CMatchClub* pSide : {pClub, pClub->GetOpponent()}) {
                int32_t nSum = 0, n = 0;
                for (int i = 1; i < pSide->GetOnPitchCount(); ++i)
                    if (const CMatchPlayer* p = pSide->GetSlot(i); p->GetSpecialRole() == ROLE_NONE) {
                        nSum += p->GetBasePosition().y;
                        ++n;
                    }
                ASSERT_GT(n, 0);
                EXPECT_EQ(nSum / n < GOAL_CENTRE_Y, bNear)
                    << (pClub->AttacksHighEnd() ? "high end" : "low end") << " corner at y " << y << ", "
                    << (pSide == pClub ? "attackers" : "defenders") << " about y " << nSum / n;
            }
            m_pReferee->OnRestartTaken();
        }
}
