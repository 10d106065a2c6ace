// The footballers at a stoppage: each restart played by its taker with the
// kick it calls for, the second player, the wall, marking, the bench and the
// walk off at half time, special roles that are not theirs to play, the
// formation places, and a human manager's routine passed along its steps.
#include "RestartsFixture.h"

#include "common/DebugLog.h"

#include <algorithm>
#include <string>

namespace {

class FootballerSetPiecesTest : public RestartsFixture {
protected:
    void SetUp() override { ASSERT_TRUE(Start(0)); }
    void TearDown() override
    {
        SetDebugLogSink({});
        RestartsFixture::TearDown();
    }

    // Ticks until the taker has played the restart; false when he never did.
    bool PlayRestart()
    {
        const size_t n = m_Taken.size();
        return RunUntil([&] { return m_Taken.size() > n; }, 1500);
    }
};

TEST_F(FootballerSetPiecesTest, EachRestartIsPlayedByItsTakerWithTheKickItCallsFor)
{
    // The first kick-off goes to the second player beside the taker; the
    // referee's patience runs out though the match clock waits for it.
    CMatchPlayer* pKickOffSecond = m_pReferee->GetSecondEventPlayer();
    ASSERT_NE(pKickOffSecond, nullptr);
    EXPECT_FALSE(m_Engine.IsMatchClockRunning());
    ASSERT_TRUE(PlayRestart());
    EXPECT_EQ(m_Taken[0].byEvent, MATCHEVENT_KICKOFF);
    EXPECT_EQ(m_Taken[0].byDecision, DECISION_PASS);
    EXPECT_EQ(m_Taken[0].pPartner, pKickOffSecond);
    EXPECT_EQ(m_Engine.GetMatchPeriod(), MATCHPERIOD_FIRSTHALF);

    CMatchClub* pHigh = m_Engine.GetClubAttackingHighEnd();
    const std::set<uint8_t> anyKick = {DECISION_PASS, DECISION_CROSS, DECISION_LONG_BALL};
    struct Case {
        const char* pszName;
        uint8_t byCause;
        CVector at;
        uint8_t byEvent;
        std::set<uint8_t> decisions;
        int nSecond;  // -1 sent away, 1 named, 0 as the referee chose
    } cases[] = {
        {"throw-in", CAUSE_BALL_OFF_SIDE, {4000, -100, 0}, MATCHEVENT_THROWIN, {DECISION_PASS}, 0},
        {"goal kick", CAUSE_BALL_OFF_END, {-100, 3000, 0}, MATCHEVENT_GOALKICK, {DECISION_LONG_BALL, DECISION_PASS},
         0},
        {"short corner", CAUSE_BALL_OFF_END, {10100, 1000, 0}, MATCHEVENT_CORNER, {DECISION_PASS}, 1},
        {"corner without a second player", CAUSE_BALL_OFF_END, {10100, 6500, 0}, MATCHEVENT_CORNER,
         {DECISION_CROSS}, -1},
        {"free kick in midfield", CAUSE_OFFSIDE, {5000, 3000, 0}, MATCHEVENT_FREEKICK, anyKick, 0},
        {"free kick in defence", CAUSE_OFFSIDE, {1500, 6000, 0}, MATCHEVENT_FREEKICK, anyKick, 0},
        {"penalty", CAUSE_HAND_BALL, {9000, 3750, 0}, MATCHEVENT_PENALTY, {DECISION_SHOOT}, 0},
    };
    for (const Case& c : cases) {
        Award(pHigh, c.byCause, c.at);
        ASSERT_EQ(m_Engine.GetMatchEvent(), c.byEvent) << c.pszName;
        CMatchPlayer* pTaker = m_pReferee->GetEventPlayer();
        CMatchPlayer* pSecond = m_pReferee->GetSecondEventPlayer();
        ASSERT_NE(pTaker, nullptr) << c.pszName;
        if (c.nSecond < 0 && pSecond) {
            pSecond->SetSpecialRole(ROLE_NONE);
            m_pReferee->ReplaceSecondEventPlayer(nullptr);
            pSecond = nullptr;
        } else if (c.nSecond > 0 && !pSecond) {
            pSecond = pHigh->GetNearestToTargetExcept(m_pReferee->GetSecondEventPosition(), pTaker, nullptr);
            pSecond->SetSpecialRole(ROLE_SECOND_EVENT_PLAYER);
            m_pReferee->ReplaceSecondEventPlayer(pSecond);
        }
        ASSERT_TRUE(PlayRestart()) << c.pszName;
        const TAKENRESTART& r = m_Taken.back();
        EXPECT_EQ(r.byEvent, c.byEvent) << c.pszName;
        EXPECT_EQ(r.pTaker, pTaker) << c.pszName;
        EXPECT_EQ(r.position, m_pReferee->GetEventPosition()) << c.pszName;
        EXPECT_TRUE(c.decisions.count(r.byDecision)) << c.pszName << ": " << int(r.byDecision);
        EXPECT_LT(r.dwWaited, 40000u) << c.pszName;
        // A corner with a second player near the flag is played short to him.
        if (c.byEvent == MATCHEVENT_CORNER && pSecond) {
            EXPECT_EQ(r.pPartner, pSecond) << c.pszName;
        }
        if (r.byDecision != DECISION_SHOOT) {
            ASSERT_NE(r.pPartner, nullptr) << c.pszName;
            EXPECT_EQ(r.pPartner->GetClub(), pHigh) << c.pszName;
            EXPECT_NE(r.pPartner, pTaker) << c.pszName;
        }
        if (c.byEvent == MATCHEVENT_GOALKICK) {
            EXPECT_EQ(pTaker, pHigh->GetSlot(0));
        }
        // His kick put the ball back in play.
        EXPECT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_NONE) << c.pszName;
        EXPECT_EQ(m_pReferee->GetLastTaker(), pTaker) << c.pszName;
        EXPECT_EQ(pTaker->GetSpecialRole(), ROLE_NONE) << c.pszName;
    }
}

TEST_F(FootballerSetPiecesTest, ADirectFreeKickInFrontOfGoalIsShotAndOneInMidfieldNever)
{
    m_pReferee->OnRestartTaken();
    CMatchClub* pHigh = m_Engine.GetClubAttackingHighEnd();
    auto decisions = [&](const CVector& at) {
        std::set<uint8_t> seen;
        for (int i = 0; i < 8; ++i) {
            Award(pHigh, CAUSE_HAND_BALL, at);
            EXPECT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_DIRECTFREEKICK);
            EXPECT_TRUE(PlayRestart());
            seen.insert(m_Taken.back().byDecision);
        }
        return seen;
    };
    ASSERT_EQ(pHigh->GetZone(7800, 3750), 5);
    ASSERT_EQ(pHigh->GetZone(5000, 3000), 2);
    EXPECT_TRUE(decisions(CVector(7800, 3750, 0)).count(DECISION_SHOOT));
    EXPECT_FALSE(decisions(CVector(5000, 3000, 0)).count(DECISION_SHOOT));
}

TEST_F(FootballerSetPiecesTest, ASecondPlayerTakesHisPlaceAndTheWallStands)
{
    m_pReferee->OnRestartTaken();
    CMatchClub* pHigh = m_Engine.GetClubAttackingHighEnd();
    CMatchClub* pLow = m_Engine.GetClubAttackingLowEnd();

    // The goalkeeper facing a penalty waits crouched on his line.
    Award(pHigh, CAUSE_HAND_BALL, CVector(9000, 3750, 0));
    CMatchPlayer* pKeeper = m_pReferee->GetSecondEventPlayer();
    ASSERT_EQ(pKeeper, pLow->GetSlot(0));
    ASSERT_EQ(pKeeper->GetSpecialRole(), ROLE_SECOND_EVENT_PLAYER);
    pKeeper->MakeDecision();
    EXPECT_EQ(pKeeper->GetTarget(), m_pReferee->GetSecondEventPosition());
    EXPECT_EQ(pKeeper->GetDecision(), DECISION_POSITION_BASE);
    EXPECT_EQ(pKeeper->GetIntendedMoveType(), MOVETYPE_CROUCH);
    ASSERT_TRUE(PlayRestart());

    // A direct free kick in front of the high club's goal: its wall walks
    // to its places across the kick, stands there and stays until the kick.
    Award(pLow, CAUSE_AGGRESSIVE_PLAY, CVector(2000, 3750, 0));
    m_pReferee->SetCardLevel(0);
    ASSERT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_DIRECTFREEKICK);
    std::vector<CMatchPlayer*> wall;
    for (int i = 0; i < pHigh->GetOnPitchCount(); ++i)
        if (pHigh->GetSlot(i)->GetSpecialRole() == ROLE_FETCHER)
            wall.push_back(pHigh->GetSlot(i));
    ASSERT_EQ(wall.size(), 5u);
    for (CMatchPlayer* p : wall) {
        p->MakeDecision();
        EXPECT_EQ(p->GetTarget(), p->GetBasePosition());
        EXPECT_EQ(p->GetDecision(), DECISION_POSITION_BASE);
        EXPECT_EQ(p->GetIntendedMoveType(), MOVETYPE_COVER);
    }
    RunUntil([&] { return m_pReferee->IsSetupComplete(); }, 200);
    ASSERT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_DIRECTFREEKICK);
    for (CMatchPlayer* p : wall) {
        EXPECT_EQ(p->GetPosition().x, 2000 - 1015);
        EXPECT_EQ(p->GetPosition(), p->GetBasePosition());
    }

    // Sent for the loose ball, a wall player fetches it and the restart waits for him.
    CMatchPlayer* pFetcher = wall.front();
    m_pBall->SetPossessor(nullptr);
    pFetcher->SetBallChaser(true);
    pFetcher->MakeDecision();
    EXPECT_TRUE(pFetcher->IsGoingForBall());
    EXPECT_TRUE(pFetcher->IsNotInPlace());
    EXPECT_FALSE(pHigh->IsReadyForRestart());
    pFetcher->SetBallChaser(false);
    pFetcher->SetNotInPlace(false);
}

TEST_F(FootballerSetPiecesTest, WhoeverHoldsTheBallAtAStoppageGivesItToTheTaker)
{
    m_pReferee->OnRestartTaken();
    Award(m_pHome, CAUSE_BALL_OFF_SIDE, CVector(4000, -100, 0));
    CMatchPlayer* pTaker = m_pReferee->GetEventPlayer();
    ASSERT_NE(pTaker, nullptr);
    CMatchPlayer* pHolder = m_pHome->GetNearestPlayerExcept(pTaker->GetPosition(), pTaker, nullptr);
    ASSERT_EQ(pHolder->GetSpecialRole(), ROLE_NONE);
    struct Case {
        const char* pszName;
        bool bOnTheTaker;  // nowhere to pass: he stands where the pass would go
    } cases[] = {{"passed to the taker", false}, {"let go where he stands", true}};
    for (const Case& c : cases) {
        pTaker->SetPosition(CVector(4000, -100, 0));
        // A pass to the taker off the pitch goes to the nearest point on it.
        pHolder->SetPosition(c.bOnTheTaker ? CVector(4000, 200, 0) : CVector(4500, 1500, 0));
        m_pBall->SetPossessor(pHolder);
        pHolder->MakeDecision();
        if (c.bOnTheTaker) {
            EXPECT_EQ(m_pBall->GetHolder(), nullptr) << c.pszName;
            EXPECT_EQ(pHolder->GetDecision(), DECISION_POSITION_BASE) << c.pszName;
            EXPECT_EQ(pHolder->GetTarget(), pHolder->GetBasePosition()) << c.pszName;
        } else {
            EXPECT_EQ(m_pBall->GetHolder(), pHolder) << c.pszName;
            EXPECT_EQ(pHolder->GetDecision(), DECISION_PASS) << c.pszName;
            EXPECT_EQ(pHolder->GetDecisionPartner(), pTaker) << c.pszName;
        }
    }
}

TEST_F(FootballerSetPiecesTest, AtAThrowInThePlayersComeTowardsTheBallByTheirReach)
{
    m_pReferee->OnRestartTaken();
    Award(m_pAway, CAUSE_BALL_OFF_SIDE, CVector(4000, -100, 0));
    CMatchPlayer* p = m_pHome->GetSlot(6);
    ASSERT_EQ(p->GetSpecialRole(), ROLE_NONE);
    p->SetMarkedOpponent(nullptr);
    struct Case {
        CVector base;
        int32_t nReach;
        CVector target;
    } cases[] = {
        {{4000, 4900, 0}, 1500, {4000, 3400, 0}},  // as far as his reach
        {{4000, 2900, 0}, 5000, {4000, 900, 0}},   // no nearer than 1000 from the ball
        {{4000, 600, 0}, 5000, {4000, 600, 0}},    // already that near: he keeps his place
        {{7000, 3900, 0}, 0, {7000, 3900, 0}},     // no reach: his place
    };
    for (const Case& c : cases) {
        p->SetBasePosition(c.base);
        p->SetRoamingRadius(c.nReach);
        p->PositionForThrowIn();
        EXPECT_EQ(p->GetTarget(), c.target) << c.base.y << " " << c.nReach;
        EXPECT_EQ(p->GetDecision(), DECISION_POSITION_BASE);
    }
}

TEST_F(FootballerSetPiecesTest, AMarkerStandsGoalSideOfHisManByTheThreatAndHisOrders)
{
    m_pReferee->OnRestartTaken();
    CMatchClub* pHigh = m_Engine.GetClubAttackingHighEnd();
    CMatchClub* pLow = m_Engine.GetClubAttackingLowEnd();
    Award(pLow, CAUSE_OFFSIDE, CVector(6000, 1000, 0));
    CMatchPlayer* pMarker = pHigh->GetSlot(3);
    CMatchPlayer* pMan = pLow->GetSlot(9);
    ASSERT_NE(pMan, m_pReferee->GetEventPlayer());
    // His own goal lies straight behind the man, his place straight aside.
    pMan->SetPosition(CVector(3000, 3750, 0));
    pMarker->SetBasePosition(CVector(3000, 5750, 0));
    pMarker->SetMarkedOpponent(pMan);
    struct Case {
        uint8_t byThreat, byMarking;
        CVector target;
    } cases[] = {{100, 100, {2900, 3750, 0}}, {0, 0, {2900, 4750, 0}}, {60, 40, {2900, 4250, 0}}};
    for (const Case& c : cases) {
        pLow->SetThreatRating(pMan->GetSquadPosition(), c.byThreat);
        pMarker->SetTeamOrder(ORDER_MARKING, c.byMarking);
        pMarker->PositionForEvent();
        EXPECT_EQ(pMarker->GetTarget(), c.target) << int(c.byThreat) << "/" << int(c.byMarking);
        EXPECT_EQ(pMarker->GetDecision(), DECISION_POSITION_MARK);
    }
    // Nobody marks at his own side's restart, nor the taker of theirs.
    m_pReferee->SetRestartClub(pHigh);
    pMarker->PositionForEvent();
    EXPECT_NE(pMarker->GetDecision(), DECISION_POSITION_MARK);
    m_pReferee->SetRestartClub(pLow);
    pMarker->SetMarkedOpponent(m_pReferee->GetEventPlayer());
    pMarker->PositionForEvent();
    EXPECT_NE(pMarker->GetDecision(), DECISION_POSITION_MARK);
}

TEST_F(FootballerSetPiecesTest, TheBenchStaysSeatedAndEveryoneWalksOffAtHalfTime)
{
    // Through a minute of restarts the substitutes keep their seats.
    m_pReferee->OnRestartTaken();
    CMatchClub* pHigh = m_Engine.GetClubAttackingHighEnd();
    Award(pHigh, CAUSE_BALL_OFF_SIDE, CVector(4000, 7600, 0));
    ASSERT_TRUE(PlayRestart());
    Award(pHigh->GetOpponent(), CAUSE_BALL_OFF_END, CVector(10100, 3000, 0));
    ASSERT_TRUE(PlayRestart());
    for (CMatchClub* pClub : {m_pHome, m_pAway})
        for (int i = pClub->GetOnPitchCount(); i < pClub->GetSquadCount(); ++i) {
            CMatchPlayer* p = pClub->GetSlot(i);
            ASSERT_EQ(p->GetSpecialRole(), ROLE_BENCH) << i;
            EXPECT_EQ(p->GetTarget(), pClub->GetBenchSeat(i)) << i;
            EXPECT_EQ(p->GetPosition(), pClub->GetBenchSeat(i)) << i;
            EXPECT_EQ(p->GetIntendedMoveType(), MOVETYPE_SEATED) << i;
        }

    // At half time the bench gathers by the physio and the players go to
    // their places; each leaves the update once he stands there.
    m_Engine.SetMatchEvent(MATCHEVENT_HALFTIME);
    CMatchPlayer* pSub = m_pHome->GetSlot(m_pHome->GetOnPitchCount());
    CMatchPlayer* pPlayer = m_pHome->GetSlot(5);
    CMatchPlayer* pKeeper = m_pHome->GetSlot(0);
    pPlayer->SetBasePosition(CVector(5000, 1000, 0));
    pKeeper->SetBasePosition(CVector(5200, 1000, 0));
    pPlayer->SetPosition(CVector(3000, 3000, 0));
    pKeeper->SetPosition(CVector(500, 3750, 0));
    for (CMatchPlayer* p : {pSub, pPlayer, pKeeper}) {
        p->MakeDecision();
        EXPECT_TRUE(p->IsActive());
    }
    // The substitute heads off the pitch for the physio's place, by way of
    // the tunnel mouth.
    EXPECT_LT(pSub->GetTarget().y, 0);
    EXPECT_EQ(pPlayer->GetTarget(), CVector(5000, 1000, 0));
    EXPECT_EQ(pKeeper->GetTarget(), CVector(5200, 1000, 0));
    EXPECT_TRUE(pPlayer->IsNotInPlace());
    EXPECT_FALSE(pKeeper->IsNotInPlace());  // a goalkeeper never holds it up
    for (CMatchPlayer* p : {pSub, pPlayer, pKeeper}) {
        for (int nStep = 0; nStep < 5 && p->IsActive(); ++nStep) {
            p->SetPosition(p->GetTarget());
            p->MakeDecision();
        }
        EXPECT_FALSE(p->IsActive()) << int(p->GetSquadPosition());
    }
    EXPECT_LT(pSub->GetPosition().SquaredDistance2D(CMatchEngine::kPhysioPoint), 70 * 70);
}

TEST_F(FootballerSetPiecesTest, RolesThatAreNotHisToPlayAreLoggedAndDecideNothing)
{
    std::vector<std::string> log;
    SetDebugLogSink([&log](int, const std::string& line) { log.push_back(line); });
    CMatchPlayer* p = m_pHome->GetSlot(6);
    p->SetDecision(DECISION_POSITION_SPACE);
    struct Case {
        uint8_t byRole;
        const char* pszLine;
    } cases[] = {{ROLE_OFFSIDE_TRAP, "Match Error : CMatchPlayer::MakeSpecialRoleDecision - Default error"},
                 {9, "Match Error : CMatchPlayer::MakeSpecialRoleDecision - Default error"},
                 {ROLE_NONE, "Match Error : CMatchPlayer::MakeSpecialRoleDecision - Special role = NONE ???"}};
    for (const Case& c : cases) {
        log.clear();
        p->SetSpecialRole(c.byRole);
        p->MakeSpecialRoleDecision();
        EXPECT_NE(std::find(log.begin(), log.end(), c.pszLine), log.end()) << int(c.byRole);
        EXPECT_EQ(p->GetDecision(), DECISION_POSITION_SPACE) << int(c.byRole);
    }
    // Nobody is sent for a ball no restart needs.
    m_pReferee->OnRestartTaken();
    log.clear();
    p->SetBallChaser(true);
    EXPECT_FALSE(p->GetBallForEventPlayer());
    EXPECT_NE(std::find(log.begin(), log.end(), "Match Error : GetBallForEventPlayer - No event player"), log.end());
    EXPECT_FALSE(p->IsGoingForBall());
}

TEST_F(FootballerSetPiecesTest, FormationPlacesAreTurnedForTheEndHisClubAttacks)
{
    MATCHLAYOUTENTRY table;
    table.anSecond[3][0] = 2000, table.anSecond[3][1] = 1000;  // without the ball
    table.anFirst[3][0] = 2650, table.anFirst[3][1] = 1300;    // with it
    CMatchPlayer* p = m_pHome->GetSlot(4);
    const bool bHigh = m_pHome->AttacksHighEnd();
    struct Case {
        bool bHigh;
        CVector start, second, delta, half;
    } cases[] = {{true, {2000, 1000, 0}, {2650, 1300, 0}, {6, 3, 0}, {2300, 1150, 0}},
                 {false, {8000, 6500, 0}, {7350, 6200, 0}, {-6, -3, 0}, {7700, 6350, 0}}};
    for (const Case& c : cases) {
        m_pHome->SetAttacksHighEnd(c.bHigh);
        p->SetFormationPosition(table, 3);
        EXPECT_TRUE(p->IsFormationInterpolated());
        EXPECT_EQ(p->GetFormationStart(), c.start) << c.bHigh;
        EXPECT_EQ(p->GetFormationSecond(), c.second) << c.bHigh;
        EXPECT_EQ(p->GetFormationDelta(), c.delta) << c.bHigh;
        EXPECT_EQ(p->GetFormationPlace(50), c.half) << c.bHigh;
    }
    m_pHome->SetAttacksHighEnd(bHigh);
    // Placed for a ball zone, a player's base is his formation place for it.
    m_pHome->PlaceForZone(12);
    CMatchPlayer* q = m_pHome->GetSlot(7);
    EXPECT_EQ(q->GetBasePosition(), m_pHome->HasBall() ? q->GetFormationSecond() : q->GetFormationStart());
    EXPECT_EQ(q->GetBasePosition(), m_pHome->GetFormationPoint(q->GetSquadPosition(), 12, m_pHome->HasBall()));
}

}  // namespace

namespace {

// A human's corner routine: a pass to line-up number 7, then his shot.
class RoutineTest : public humans_test::HumanWorld {
protected:
    void StartWithRoutine()
    {
        for (int nSide = 0; nSide < 2; ++nSide) {
            SETPIECEROUTINE& routine = m_pHuman->CornerRoutine(nSide, 1, 0);
            routine = SETPIECEROUTINE();
            routine.byTaker = 4;
            routine.byTargetCount = 2;
            routine.awTargetX[0] = 0xFFFF;
            routine.awTargetY[0] = 7;
            // In front of the goal: (9900 + 2500) / 25, (3750 + 100) / 25 in drawing units.
            routine.awTargetX[1] = 496;
            routine.awTargetY[1] = 154;
        }
        ITEMMATCHRULESINFORMATION rules;
        rules.abyRules[2] = 5;
        const uint32_t dwSeed = 5;
        m_Engine.SetShowLineUps(false);
        ASSERT_TRUE(m_Engine.StartGame(H(), m_pClub->GetID(), 2, 1, rules, 0, &dwSeed));
        m_pMatchClub = m_Engine.GetHomeClub();
        m_pReferee = m_Engine.GetReferee();
        m_pReferee->OnRestartTaken();
    }
    void TearDown() override
    {
        m_Engine.EndGame();
        HumanWorld::TearDown();
    }
    // The corner awarded from one flag or the other and set up; its taker.
    CMatchPlayer* Corner(bool bFarFlag)
    {
        const int32_t y = bFarFlag ? 7400 : 100;
        const CVector flag = m_pMatchClub->AttacksHighEnd() ? CVector(10100, y, 0) : CVector(-100, y, 0);
        m_Engine.SetMatchEvent(MATCHEVENT_NONE);
        m_pReferee->SetRestartClub(m_pMatchClub);
        m_pReferee->SetCause(CAUSE_BALL_OFF_END, m_pMatchClub->GetOpponent()->GetSlot(6), flag);
        m_pReferee->SetEventFromCause();
        m_pReferee->SetPosition(m_pReferee->GetTarget());
        m_pReferee->CheckEventState();
        return m_pReferee->GetEventPlayer();
    }

    CMatchEngine m_Engine;
    CMatchClub* m_pMatchClub = nullptr;
    CMatchReferee* m_pReferee = nullptr;
};

TEST_F(RoutineTest, TheRoutinePassesToItsManWhoShootsAndAnyoneElseOnTheBallEndsIt)
{
    StartWithRoutine();
    CMatchBall* pBall = m_Engine.GetBall();
    // Played towards either end: the second time the sides have changed ends.
    for (bool bFarFlag : {true, false}) {
        if (!bFarFlag)
            m_Engine.SwapEnds();
        CMatchPlayer* pTaker = Corner(bFarFlag);
        ASSERT_TRUE(m_pReferee->IsSetupComplete());
        ASSERT_EQ(pTaker, m_pMatchClub->GetPlayer(4, true));
        ASSERT_TRUE(m_pMatchClub->IsRoutineLive());
        CMatchPlayer* pReceiver = m_pMatchClub->GetPlayer(7, true);

        // The taker plays the first step to number 7, and the routine moves on.
        pTaker->MakeDecision();
        EXPECT_EQ(pTaker->GetDecisionPartner(), pReceiver);
        EXPECT_TRUE(pTaker->GetDecision() == DECISION_PASS || pTaker->GetDecision() == DECISION_CROSS);
        pTaker->KickBall();
        EXPECT_EQ(m_Engine.GetMatchEvent(), MATCHEVENT_NONE);
        EXPECT_EQ(m_pMatchClub->GetRoutineStep(), 1);
        pBall->SetPossessor(pReceiver);
        EXPECT_TRUE(m_pMatchClub->IsRoutineLive());
        // Number 7 shoots from the point in front of the goal his side
        // attacks, and the routine is done.
        pReceiver->SetKickTarget(pReceiver->GetPosition());
        pReceiver->TakeSetPieceRoutine();
        EXPECT_EQ(pReceiver->GetDecision(), DECISION_SHOOT) << m_pMatchClub->AttacksHighEnd();
        pReceiver->KickBall();
        EXPECT_FALSE(m_pMatchClub->IsRoutineLive());
    }

    // Another corner, whose pass goes astray.
    CMatchPlayer* pTaker = Corner(true);
    ASSERT_TRUE(m_pMatchClub->IsRoutineLive());
    pTaker->MakeDecision();
    pTaker->KickBall();
    ASSERT_TRUE(m_pMatchClub->IsRoutineLive());
    // A team-mate other than number 7 gains the ball: the routine ends.
    pBall->SetPossessor(m_pMatchClub->GetPlayer(2, true));
    EXPECT_FALSE(m_pMatchClub->IsRoutineLive());
}

}  // namespace
