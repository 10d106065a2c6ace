// Tackles and loose balls: how readily a footballer goes in and whether he
// wins by the ratings, a standing tackle that resolves once he reaches his
// man and is reported to the officials, the tackle resolved where he meets
// the ball, a loose ball taken by the player it comes to first, and a ball
// played to somebody else won by whoever gets there first.
#include "FootballerFixture.h"
#include "OfficialsFixture.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

class TacklesTest : public FootballerFixture {
protected:
    // A match whose officials keep every record the rules hand them.
    void StartJudged(uint32_t dwSeed)
    {
        Start(dwSeed);
        m_Engine.SetOfficials(&m_Judge, &m_Line0, &m_Line1, nullptr);
        m_Engine.SetMatchEvent(MATCHEVENT_NONE);
    }
    // How often in n draws the roll holds.
    template <typename F> static double Rate(int n, F roll)
    {
        int nHits = 0;
        for (int i = 0; i < n; ++i)
            nHits += roll() ? 1 : 0;
        return double(nHits) / n;
    }
    // The player of that record on the pitch of the match now set up: a
    // changed skill may move him in the club's selection.
    CMatchPlayer* OnPitch(bool bHome, const CPlayerDatabase* pRecord) const
    {
        return Club(bHome)->GetPlayerByRecord(pRecord, true);
    }
    // The match set up again with a home forward given the tackling and an
    // away defender the dribbling; false when either has left the pitch.
    bool StartDuel(uint32_t dwSeed, bool bJudged, uint16_t wTackling, uint16_t wDribbling)
    {
        Start(dwSeed);
        CPlayerDatabase* pTackler = Player(true, 10)->GetRecord();
        CPlayerDatabase* pDribbler = Player(false, 2)->GetRecord();
        SetAttributes(pTackler, {{PLAYER_ATTRIBUTE_TACKLING, wTackling}});
        SetAttributes(pDribbler, {{PLAYER_ATTRIBUTE_DRIBBLING, wDribbling}});
        m_Engine.EndGame();
        if (bJudged)
            StartJudged(dwSeed);
        else
            Start(dwSeed);
        m_pTackler = OnPitch(true, pTackler);
        m_pDribbler = OnPitch(false, pDribbler);
        return m_pTackler && m_pDribbler && m_pTackler->GetRating(RATING_TACKLING) == std::max(1, wTackling / 100) &&
               m_pDribbler->GetRating(RATING_DRIBBLING) == wDribbling / 100;
    }
    int Count(uint8_t byCause) const
    {
        return int(std::count_if(m_Judge.records.begin(), m_Judge.records.end(),
                                 [&](const MatchCauseRecord& r) { return r.byCause == byCause; }));
    }
    // The partner faces the way given, the tackler stands 60 from him on
    // the side given (in front: where the partner looks).
    void FaceOff(CMatchPlayer& tackler, CMatchPlayer& partner, bool bInFront)
    {
        partner.SetFacing(float(kPi / 2));  // towards +x
        const CVector& at = partner.GetPosition();
        tackler.SetPosition(CVector(at.x + (bInFront ? 60 : -60), at.y, 0));
        tackler.SetFacing(float(bInFront ? -kPi / 2 : kPi / 2));
        tackler.SetDecisionPartner(&partner);
    }

    CMatchAssistantReferee m_Line0{m_Engine, 0};
    CMatchAssistantReferee m_Line1{m_Engine, 1};
    RecordingOfficial m_Judge{m_Engine, m_Line0, m_Line1};
    CMatchPlayer* m_pTackler = nullptr;
    CMatchPlayer* m_pDribbler = nullptr;
};

TEST_F(TacklesTest, GoingInFollowsTemperOrderAndDepthAndNeverOnTheGoalkeeper)
{
    // A tackler without temper: only the tackling order and his distance
    // from his own goal line move his readiness.
    Start(3);
    SetAttributes(Player(true, 4)->GetRecord(), {{PLAYER_ATTRIBUTE_AGGRESSION, 0}});
    m_Engine.EndGame();
    Start(3);
    CMatchPlayer& tackler = *Player(true, 4);
    CMatchPlayer& holder = *Player(false, 9);
    ASSERT_EQ(tackler.GetTemper(), 1);
    struct Case {
        const char* name;
        uint8_t byOrder;
        int32_t nFromOwnGoal;
        double fRate;  // chance in percent + 1 of the 100 draws, over 100
    } cases[] = {
        {"calm, on his own goal line", 0, 0, 0.71},
        {"calm, 7000 out", 0, 7000, 0.01},
        {"order 100, 3500 out", 100, 3500, 0.56},
        {"the hardest order, deep in their half", 200, 9500, 0.31},
        {"the hardest order on his own line", 200, 500, 1.0},
    };
    plat::srand(17);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tackler.SetTeamOrder(ORDER_TACKLING_STRENGTH, c.byOrder);
        Arrange({{false, 9, c.nFromOwnGoal + 200, 3000}, {true, 4, c.nFromOwnGoal, 3000}});
        const double fRate = Rate(4000, [&] {
            bool bGoesIn = false;
            tackler.RollTackle(holder, &bGoesIn);
            return bGoesIn;
        });
        EXPECT_NEAR(fRate, c.fRate, 0.03);
    }
    // Whatever his readiness, nobody goes in on the goalkeeper.
    tackler.SetTeamOrder(ORDER_TACKLING_STRENGTH, 200);
    Arrange({{false, 0, 500, 3750}, {true, 4, 500, 3600}});
    for (int i = 0; i < 200; ++i) {
        bool bGoesIn = true;
        EXPECT_FALSE(tackler.RollTackle(*Player(false, 0), &bGoesIn));
        EXPECT_FALSE(bGoesIn);
    }
}

TEST_F(TacklesTest, WinningATackleFollowsTheRatingsAndThePlace)
{
    // Of the tackles he goes into, the share he would win.
    struct Case {
        const char* name;
        uint16_t wTackling, wDribbling;
        int32_t nFromOwnGoal;
        double fLow, fHigh;
    } cases[] = {
        {"a fine tackler against a poor dribbler", 9000, 1000, 5000, 0.93, 1.0},
        {"a poor tackler against a fine dribbler", 1000, 9000, 5000, 0.05, 0.12},
        {"his reach of 80 against a dribbling of 80, in midfield", 5000, 8000, 5000, 0.45, 0.54},
        {"the same in his own area, his reach 100", 5000, 8000, 800, 0.56, 0.64},
        {"a poor tackler in their area cannot win", 1000, 1000, 9500, 0.0, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(StartDuel(5, false, c.wTackling, c.wDribbling));
        CMatchPlayer* pT = m_pTackler;
        CMatchPlayer* pD = m_pDribbler;
        CMatchPlayer& tackler = *pT;
        tackler.SetTeamOrder(ORDER_TACKLING_STRENGTH, 200);
        Arrange({{false, pD->GetLineIndex(), c.nFromOwnGoal + 100, 3750},
                 {true, pT->GetLineIndex(), c.nFromOwnGoal, 3750}});
        int nIn = 0, nWon = 0;
        for (int i = 0; i < 4000; ++i) {
            bool bGoesIn = false;
            const bool bWins = tackler.RollTackle(*pD, &bGoesIn);
            EXPECT_TRUE(bGoesIn || !bWins) << "a win without going in";
            nIn += bGoesIn, nWon += bWins;
        }
        ASSERT_GT(nIn, 500);
        const double fRate = double(nWon) / nIn;
        EXPECT_GE(fRate, c.fLow);
        EXPECT_LE(fRate, c.fHigh);
        m_Engine.EndGame();
    }
}

TEST_F(TacklesTest, AGoalkeepersTackleRollsHisTacklingAndHandlingAgainstTheDribbler)
{
    Start(6);
    CPlayerDatabase* pPoor = Player(true, 9)->GetRecord();
    CPlayerDatabase* pFine = Player(true, 8)->GetRecord();
    SetAttributes(Player(false, 0)->GetRecord(),
                  {{PLAYER_ATTRIBUTE_TACKLING, 9000}, {PLAYER_ATTRIBUTE_HANDLING, 9000}});
    SetAttributes(pPoor, {{PLAYER_ATTRIBUTE_DRIBBLING, 3000}});
    SetAttributes(pFine, {{PLAYER_ATTRIBUTE_DRIBBLING, 9900}});
    m_Engine.EndGame();
    Start(6);
    CMatchPlayer& keeper = *Player(false, 0);
    ASSERT_EQ(keeper.GetRating(RATING_TACKLING) + keeper.GetRating(RATING_HANDLING), 180);
    ASSERT_TRUE(OnPitch(true, pPoor) && OnPitch(true, pFine));
    const double fPoor = Rate(3000, [&] { return keeper.RollKeeperTackle(*OnPitch(true, pPoor)); });
    const double fFine = Rate(3000, [&] { return keeper.RollKeeperTackle(*OnPitch(true, pFine)); });
    // His 180 against a dribbling of 30, then of 99.
    EXPECT_NEAR(fPoor, 0.91, 0.03);
    EXPECT_NEAR(fFine, 0.72, 0.04);
}

TEST_F(TacklesTest, AStandingTackleResolvesWithinReachAndIsWonByTheRatings)
{
    struct Case {
        const char* name;
        uint16_t wTackling, wDribbling;
        double fLow, fHigh;
    } cases[] = {
        {"a fine tackler on a poor dribbler", 9000, 1000, 1.0, 1.0},
        {"a poor tackler on a fine dribbler", 100, 9900, 0.0, 0.04},
        {"a fair tackler on a good dribbler", 2000, 7000, 0.4, 0.58},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(StartDuel(8, true, c.wTackling, c.wDribbling));
        CMatchPlayer& tackler = *m_pTackler;
        CMatchPlayer& holder = *m_pDribbler;
        Arrange({{false, holder.GetLineIndex(), 5000, 3750}, {true, tackler.GetLineIndex(), 4800, 3750}});
        tackler.SetDecisionPartner(&holder);
        tackler.SetTackleForce(0);

        // Out of reach nothing happens; the tackle keeps running.
        tackler.SetAction(ACTION_TACKLING);
        tackler.UpdateWhileBusy();
        EXPECT_EQ(tackler.GetAction(), ACTION_TACKLING);
        EXPECT_EQ(m_pBall->GetHolder(), &holder);

        int nWon = 0;
        const int n = 600;
        for (int i = 0; i < n; ++i) {
            tackler.SetPosition(holder.GetPosition() + CVector(-70, 0, 0));
            m_pBall->SetPossessor(&holder);
            tackler.SetAction(ACTION_TACKLING);
            tackler.UpdateWhileBusy();
            ASSERT_EQ(tackler.GetAction(), ACTION_MOVING);
            const TACKLERECORD& record = tackler.GetLastTackle();
            EXPECT_EQ(record.vStart, tackler.GetPosition());
            if (record.byResult == 0) {
                ++nWon;
                // He comes away with it, or it is knocked loose at 500 cm/s.
                if (m_pBall->GetHolder() != &tackler) {
                    EXPECT_EQ(m_pBall->GetHolder(), nullptr);
                    EXPECT_NEAR(IntegerRoot(m_pBall->GetVelocity().SquaredLength()), 500, 2);
                }
            } else {
                EXPECT_EQ(record.byResult, 1);
                EXPECT_EQ(m_pBall->GetHolder(), &holder);
            }
        }
        const double fRate = double(nWon) / n;
        EXPECT_GE(fRate, c.fLow);
        EXPECT_LE(fRate, c.fHigh);
        EXPECT_EQ(Count(CAUSE_TACKLE_FROM_BEHIND), 0) << "no intent to foul, nothing from behind";
        m_Engine.EndGame();
    }
}

TEST_F(TacklesTest, ATackleFromBehindIsReportedToTheOfficials)
{
    StartJudged(12);
    CMatchPlayer& tackler = *Player(true, 4);
    CMatchPlayer& holder = *Player(false, 9);
    struct Case {
        const char* name;
        bool bInFront, bIntent;
        bool bAllowed, bFromBehind;
    } cases[] = {
        {"from in front", true, false, true, false},
        {"from in front, meaning to foul", true, true, true, false},
        {"from behind, meaning to foul", false, true, true, true},
        {"from behind without meaning to foul", false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Arrange({{false, 9, 5000, 3750}, {true, 4, 4800, 3750}});
        FaceOff(tackler, holder, c.bInFront);
        EXPECT_EQ(tackler.IsInFrontOfPartner(), c.bInFront);
        tackler.SetFoulIntent(c.bIntent);
        m_Judge.records.clear();
        ASSERT_EQ(tackler.CanTackle(), c.bAllowed);
        if (!c.bAllowed)
            continue;
        EXPECT_EQ(tackler.IsFoulTackle(), c.bFromBehind);
        tackler.SetAction(ACTION_TACKLING);
        tackler.UpdateTackle();
        EXPECT_EQ(Count(CAUSE_TACKLE_FROM_BEHIND), c.bFromBehind ? 1 : 0);
        for (const MatchCauseRecord& r : m_Judge.records) {
            EXPECT_EQ(r.pPlayer, &tackler);
            EXPECT_EQ(r.pClubAwarded, holder.GetClub());
            if (r.byCause == CAUSE_TACKLE_FROM_BEHIND) {
                EXPECT_EQ(r.pSecondPlayer, &holder);
            }
        }
        // Aggressive play by a third of the force, when there is any.
        EXPECT_EQ(Count(CAUSE_AGGRESSIVE_PLAY), tackler.GetTackleForce() / 3 > 0 ? 1 : 0);
    }
}

TEST_F(TacklesTest, ABookedPlayerGoesInWithHalfTheForce)
{
    StartJudged(12);
    CMatchPlayer& tackler = *Player(true, 4);
    CMatchPlayer& holder = *Player(false, 9);
    Arrange({{false, 9, 5000, 3750}, {true, 4, 4800, 3750}});
    FaceOff(tackler, holder, true);
    tackler.SetFoulIntent(false);
    // Furious, he goes in with up to the most force his tackling allows.
    tackler.SetCondition(100, 100, 500, 999, 50);
    const auto hardest = [&] {
        int32_t nMost = 0;
        for (int i = 0; i < 400; ++i) {
            EXPECT_TRUE(tackler.CanTackle());
            nMost = std::max(nMost, tackler.GetTackleForce());
        }
        return nMost;
    };
    const int32_t nUnbooked = hardest();
    tackler.ReceiveBooking();
    ASSERT_EQ(tackler.GetYellowCards(), 1);
    const int32_t nBooked = hardest();
    EXPECT_GT(nUnbooked, 60);
    EXPECT_LT(nBooked, (nUnbooked + 1) / 2 + 1);
    EXPECT_GT(nBooked, nUnbooked / 4);
}

TEST_F(TacklesTest, ATackleAtTheBallIsRecordedByWhereItWasWon)
{
    StartJudged(14);
    CMatchPlayer& tackler = *Player(true, 4);
    CMatchPlayer& keeper = *Player(true, 0);
    CMatchPlayer& attacker = *Player(false, 9);
    struct Case {
        const char* name;
        CMatchPlayer* pTackler;
        int32_t nFromOwnGoal;
        bool bAttackerKicking;
        bool bResult;
        uint8_t byRecord;
    } cases[] = {
        {"in midfield", &tackler, 4000, false, true, 0},
        {"in his own area", &tackler, 800, false, true, 2},
        {"the attacker got his kick away", &tackler, 4000, true, false, 1},
        {"the goalkeeper in his area", &keeper, 600, false, true, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMatchPlayer& p = *c.pTackler;
        Arrange({{false, 9, c.nFromOwnGoal + 80, 3750}, {true, int(p.GetSquadPosition() == 0 ? 0 : 4), c.nFromOwnGoal, 3750}});
        FaceOff(p, attacker, true);
        attacker.SetAction(c.bAttackerKicking ? uint8_t(ACTION_KICKING) : uint8_t(ACTION_MOVING));
        p.SetInterceptPoint(attacker.GetPosition(), 0.2f);
        p.SetFoulIntent(false);
        p.CanTackle();
        for (bool bFlag : {false, true}) {
            m_pBall->SetPossessor(&attacker);
            EXPECT_EQ(p.ResolveTackle(bFlag), c.bResult) << bFlag;
            EXPECT_EQ(p.GetLastTackle().byResult, c.byRecord);
            EXPECT_EQ(p.GetLastTackle().vStart, attacker.GetPosition());
            if (!c.bResult) {
                EXPECT_EQ(p.GetAction(), ACTION_HAS_TACKLED);
            } else if (&p == &keeper) {
                EXPECT_EQ(p.GetAction(), ACTION_HAS_TACKLED);
                EXPECT_EQ(p.GetBallReleaseState(), 1) << "the goalkeeper always keeps it";
            } else if (p.GetAction() == ACTION_PARRYING) {
                EXPECT_EQ(m_pBall->GetHolder(), nullptr) << "it came off him";
                EXPECT_GT(IntegerRoot(m_pBall->GetVelocity().SquaredLength()), 700);
            } else {
                EXPECT_EQ(p.GetAction(), ACTION_HAS_TACKLED) << "he kept it cleanly";
                EXPECT_EQ(p.GetBallReleaseState(), 1);
            }
        }
    }
}

TEST_F(TacklesTest, ALooseBallGoesToThePlayerItReachesFirst)
{
    Start(21);
    SetAttributes(Player(true, 4)->GetRecord(), {{PLAYER_ATTRIBUTE_DRIBBLING, 9900}});
    SetAttributes(Player(false, 6)->GetRecord(), {{PLAYER_ATTRIBUTE_DRIBBLING, 9900}});
    m_Engine.EndGame();
    Start(21);
    CMatchPlayer& home = *Player(true, 4);
    CMatchPlayer& away = *Player(false, 6);
    CMatchPlayer& kicker = *Player(true, 8);
    struct Case {
        const char* name;
        int32_t nHomeX, nHomeOff;  // along the ball's way and across it
        int32_t nAwayX, nAwayOff;
        int32_t z;
        CMatchPlayer* pTaker;
    } cases[] = {
        {"home first along the way", 5020, 40, 5060, 20, 0, &home},
        {"away first along the way", 5060, 10, 5030, 60, 0, &away},
        {"away is beyond reach", 5060, 50, 5020, 80, 0, &home},
        {"over their heads", 5020, 10, 5040, 10, 250, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Arrange({{true, 8, 3000, 3000}});
        // Played by the home kicker long enough ago that the away player may
        // try to control it.
        m_pBall->SetPossessor(nullptr);
        m_pBall->SetPosition(5000, 3750, c.z, false);
        m_pBall->StartBallInfo(BALLCAUSE_PASS, &kicker);
        for (int i = 0; i < 10; ++i)
            m_Engine.PostTick();
        m_Engine.SetMatchEvent(MATCHEVENT_NONE);
        ASSERT_EQ(m_pBall->GetHolder(), nullptr);
        for (CMatchPlayer* p : {&home, &away}) {
            p->SetAction(ACTION_MOVING);
            p->SetFacing(p->GetRestFacing());
        }
        home.SetPosition(CVector(c.nHomeX, 3750 + c.nHomeOff, 0));
        away.SetPosition(CVector(c.nAwayX, 3750 - c.nAwayOff, 0));
        m_pBall->SetPosition(5000, 3750, c.z, false);
        m_pBall->SetVelocity(CVector(1000, 0, 0));
        m_pBall->Update(70, m_Engine.GetEngineClock());
        m_Engine.CheckLooseBallTouch();
        EXPECT_EQ(m_pBall->GetHolder(), c.pTaker);
    }
    // A player in a tackle does not take it.
    Arrange({{true, 8, 3000, 3000}});
    home.SetPosition(CVector(5020, 3760, 0));
    home.SetAction(ACTION_TACKLING);
    away.SetPosition(CVector(1000, 1000, 0));
    m_pBall->SetPossessor(nullptr);
    m_pBall->SetPosition(5000, 3750, 0, false);
    m_pBall->SetVelocity(CVector(1000, 0, 0));
    m_pBall->Update(70, m_Engine.GetEngineClock());
    m_Engine.CheckLooseBallTouch();
    EXPECT_EQ(m_pBall->GetHolder(), nullptr);
}

TEST_F(TacklesTest, AFreshlyPlayedBallGlancesOffAnOpponentButATeamMateTakesIt)
{
    Start(22);
    CMatchPlayer& kicker = *Player(true, 8);
    for (const bool bTeamMate : {true, false}) {
        SCOPED_TRACE(bTeamMate ? "a team-mate" : "an opponent");
        CMatchPlayer& p = *Player(bTeamMate, 6);
        Arrange({{true, 8, 3000, 3000}});
        p.SetAction(ACTION_MOVING);
        p.SetPosition(CVector(5030, 3760, 0));
        m_pBall->SetPossessor(nullptr);
        m_pBall->SetPosition(5000, 3750, 0, false);
        m_pBall->StartBallInfo(BALLCAUSE_PASS, &kicker);  // just now
        m_pBall->SetVelocity(CVector(1000, 0, 0));
        m_pBall->Update(70, m_Engine.GetEngineClock());
        m_Engine.CheckLooseBallTouch();
        if (bTeamMate) {
            EXPECT_EQ(m_pBall->GetHolder(), &p);
        } else {
            EXPECT_EQ(m_pBall->GetHolder(), nullptr);
            EXPECT_TRUE(m_pBall->IsDeflected());
            EXPECT_EQ(m_pBall->GetLastToucher(), &p);
        }
    }
}

TEST_F(TacklesTest, ABallPlayedToSomebodyElseIsWonByWhoeverGetsThereFirst)
{
    Start(30);
    CMatchPlayer& kicker = *Player(true, 8);
    CMatchPlayer& receiver = *Player(true, 9);
    CMatchPlayer& keeper = *Player(false, 0);
    CMatchPlayer& ownKeeper = *Player(true, 0);
    CMatchPlayer& defender = *Player(false, 4);
    struct Case {
        const char* name;
        CMatchPlayer* pContender;
        CMatchPlayer* pReceiver;
        int32_t nMeAlong;   // his intercept point along the ball's way
        int32_t nMeMs;      // when he gets there
        bool bWins;
    } cases[] = {
        {"he gets there well before the ball reaches its man", &defender, &receiver, 1000, 300, true},
        {"the ball reaches its man long before him", &defender, &receiver, 3000, 1900, false},
        {"a goalkeeper beats an outfield man in a close contest", &keeper, &receiver, 2000, 1000, true},
        {"nobody beats the goalkeeper it was played to", &defender, &ownKeeper, 2000, 1000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Arrange({{true, 8, 3000, 3750}});
        m_pBall->SetPossessor(nullptr);
        m_pBall->SetPosition(3000, 3750, 0, false);
        m_pBall->StartBallInfo(BALLCAUSE_PASS, &kicker);
        // Played 2000 along x in one second.
        m_pBall->PlayTo(CVector(5000, 3750, 0), 1.0f, c.pReceiver);
        c.pContender->SetInterceptPoint(CVector(3000 + c.nMeAlong, 3750, 0), c.nMeMs * 0.001f);
        EXPECT_EQ(c.pContender->ContestBall(false), c.bWins);
        if (c.bWins) {
            EXPECT_EQ(c.pReceiver->GetBallReleaseState(), 0) << "the man it was meant for lost it";
            EXPECT_EQ(c.pContender->GetBallReleaseState(), 1) << "he plays it";
        }
    }
}

}  // namespace
