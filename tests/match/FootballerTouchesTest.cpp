// The footballer's ball-touch records: the ball closes each touch at the
// next one (or at the referee's decision) and hands it to the player who
// made it; his counters and his club's follow, his morale moves, a goal is
// credited to its scorer with the passes before it as assists, and his
// match rating is worked out from what he kept.
#include "FootballerFixture.h"

#include "match/actors/CMatchAssistantReferee.h"

#include <cmath>
#include <set>

namespace {

// A player's and his club's counters at one moment.
struct TALLY {
    int nPasses, nCompleted, nCredited, nShots, nOnTarget, nGoals;
    int nClubPasses, nClubCompleted, nClubShots, nClubOnTarget;
};

TALLY TallyOf(const CMatchPlayer& p)
{
    const MATCHCLUBCOUNTERS& c = p.GetClub()->GetCounters();
    return {p.GetPassCount(), p.GetPassesCompleted(), p.GetPassesCredited(), p.GetShotCount(), p.GetShotsOnTarget(),
            p.GetGoals(),     c.wPasses,            c.wPassesCompleted,     c.byShots,         c.byShotsOnTarget};
}

TALLY operator-(const TALLY& a, const TALLY& b)
{
    return {a.nPasses - b.nPasses,         a.nCompleted - b.nCompleted,       a.nCredited - b.nCredited,
            a.nShots - b.nShots,           a.nOnTarget - b.nOnTarget,         a.nGoals - b.nGoals,
            a.nClubPasses - b.nClubPasses, a.nClubCompleted - b.nClubCompleted, a.nClubShots - b.nClubShots,
            a.nClubOnTarget - b.nClubOnTarget};
}

void ExpectTally(const TALLY& got, const TALLY& want)
{
    EXPECT_EQ(got.nPasses, want.nPasses) << "passes";
    EXPECT_EQ(got.nCompleted, want.nCompleted) << "passes completed";
    EXPECT_EQ(got.nCredited, want.nCredited) << "assists";
    EXPECT_EQ(got.nShots, want.nShots) << "shots";
    EXPECT_EQ(got.nOnTarget, want.nOnTarget) << "shots on target";
    EXPECT_EQ(got.nGoals, want.nGoals) << "goals";
    EXPECT_EQ(got.nClubPasses, want.nClubPasses) << "club passes";
    EXPECT_EQ(got.nClubCompleted, want.nClubCompleted) << "club passes completed";
    EXPECT_EQ(got.nClubShots, want.nClubShots) << "club shots";
    EXPECT_EQ(got.nClubOnTarget, want.nClubOnTarget) << "club shots on target";
}

class FootballerTouchesTest : public FootballerFixture {
public:
    // For the cases' scripts.
    CMatchBall& Ball() const { return *m_pBall; }
    void TearDown() override
    {
        for (auto& [pRecord, byRole] : m_Roles)
            pRecord->m_byRole = byRole;
        FootballerFixture::TearDown();
    }
    // His record plays in the position code given for this test.
    void SetCode(CMatchPlayer& p, uint8_t byCode)
    {
        m_Roles.emplace_back(p.GetRecord(), p.GetRecord()->m_byRole);
        p.GetRecord()->m_byRole = byCode;
    }
    // A shot from 1000 out at the goal the player attacks, the ball on its
    // way to the goal line at y and height z.
    void ShootAt(CMatchPlayer& shooter, int32_t y, int32_t z)
    {
        CVector goal;
        shooter.GetClub()->GetOpponent()->GetGoalPosition(goal);
        const int32_t nDirection = goal.x > PITCH_LENGTH / 2 ? 1 : -1;
        shooter.SetPosition(CVector(goal.x - nDirection * 1000, y, 0));
        m_pBall->SetPossessor(nullptr);
        m_pBall->StartBallInfo(BALLCAUSE_SHOT, &shooter);
        m_pBall->SetPosition(goal.x - nDirection * 1000, y, z, false);
        m_pBall->SetVelocity(CVector(nDirection * 3000, 0, 0));
        m_pBall->UpdatePrediction();
    }
    // A place 2500 from his club's offside line on the side away from his
    // goal or towards halfway, where a won tackle is no danger tackle.
protected:
    static CVector AwayFromDanger(const CMatchPlayer& p)
    {
        const int32_t nLine = p.GetClub()->GetOffsideLine();
        return CVector(nLine > PITCH_LENGTH / 2 ? nLine - 2500 : nLine + 2500, 1000, 0);
    }
    static BALLTOUCHRECORD Touch(CMatchPlayer& p, uint8_t byCause, uint8_t byResult)
    {
        BALLTOUCHRECORD t;
        t.pPlayer = &p;
        t.byCause = byCause;
        t.byResult = byResult;
        t.vStart = p.GetPosition();
        t.vEnd = p.GetPosition() + CVector(800, 0, 0);
        return t;
    }

    std::vector<std::pair<CPlayerDatabase*, uint8_t>> m_Roles;
};

TEST_F(FootballerTouchesTest, EachTouchIsCountedOnThePlayerWhoMadeItAndOnHisClub)
{
    Start(11);
    struct Case {
        const char* name;
        // Plays the touch with the player, a team-mate, an opponent.
        void (*play)(FootballerTouchesTest&, CMatchPlayer&, CMatchPlayer&, CMatchPlayer&);
        TALLY want;
        int nMoraleSign;
        int nDecision;  // -1: not looked at
    } cases[] = {
        {"a pass a team-mate takes",
         [](FootballerTouchesTest& t, CMatchPlayer& p, CMatchPlayer& mate, CMatchPlayer&) {
             t.Ball().StartBallInfo(BALLCAUSE_PASS, &p);
             t.Ball().SetPossessor(&mate);
         },
         {1, 1, 0, 0, 0, 0, 1, 1, 0, 0}, 1, -1},
        {"a cross an opponent takes",
         [](FootballerTouchesTest& t, CMatchPlayer& p, CMatchPlayer&, CMatchPlayer& opponent) {
             t.Ball().StartBallInfo(BALLCAUSE_CROSS, &p);
             t.Ball().SetPossessor(&opponent);
         },
         {1, 0, 0, 0, 0, 0, 1, 0, 0, 0}, -1, -1},
        {"a long ball that runs out of play",
         [](FootballerTouchesTest& t, CMatchPlayer& p, CMatchPlayer&, CMatchPlayer& opponent) {
             t.Ball().StartBallInfo(BALLCAUSE_LONGBALL, &p);
             t.Ball().EndBallInfoForCause(CAUSE_BALL_OFF_SIDE, opponent.GetClub());
         },
         {1, 0, 0, 0, 0, 0, 1, 0, 0, 0}, -1, -1},
        {"a shot the goalkeeper holds is on target and still a let-down",
         [](FootballerTouchesTest& t, CMatchPlayer& p, CMatchPlayer&, CMatchPlayer& opponent) {
             t.ShootAt(p, GOAL_CENTRE_Y + 200, 100);
             t.Ball().SetPossessor(opponent.GetClub()->GetSlot(0));
         },
         {0, 0, 0, 1, 1, 0, 0, 0, 1, 1}, -1, DECISION_EMOTION_FRUSTRATION},
        {"a shot wide of the post",
         [](FootballerTouchesTest& t, CMatchPlayer& p, CMatchPlayer&, CMatchPlayer& opponent) {
             t.ShootAt(p, GOAL_CENTRE_Y + 600, 100);
             t.Ball().EndBallInfoForCause(CAUSE_BALL_OFF_END, opponent.GetClub());
         },
         {0, 0, 0, 1, 0, 0, 0, 0, 1, 0}, -1, DECISION_EMOTION_FRUSTRATION},
        {"a shot that scores",
         [](FootballerTouchesTest& t, CMatchPlayer& p, CMatchPlayer&, CMatchPlayer& opponent) {
             t.ShootAt(p, GOAL_CENTRE_Y, 100);
             t.Ball().EndBallInfoForCause(CAUSE_GOAL, opponent.GetClub());
         },
         {0, 0, 0, 1, 1, 1, 0, 0, 1, 1}, 1, DECISION_EMOTION_CELEBRATION},
        {"his pass turned in by a team-mate is an assist",
         [](FootballerTouchesTest& t, CMatchPlayer& p, CMatchPlayer& mate, CMatchPlayer& opponent) {
             t.Ball().StartBallInfo(BALLCAUSE_PASS, &p);
             t.ShootAt(mate, GOAL_CENTRE_Y, 100);
             t.Ball().EndBallInfoForCause(CAUSE_GOAL, opponent.GetClub());
         },
         {1, 0, 1, 0, 0, 0, 1, 1, 1, 1}, 1, -1},
        {"his shot turned into his own goal by a defender is his goal",
         [](FootballerTouchesTest& t, CMatchPlayer& p, CMatchPlayer&, CMatchPlayer& opponent) {
             t.ShootAt(p, GOAL_CENTRE_Y + 600, 100);
             t.Ball().StartBallInfo(BALLCAUSE_DEFLECTION, &opponent);
             t.Ball().EndBallInfoForCause(CAUSE_GOAL, opponent.GetClub());
         },
         {0, 0, 0, 1, 1, 1, 0, 0, 1, 1}, 1, DECISION_EMOTION_CELEBRATION},
        {"a clearance is not a pass",
         [](FootballerTouchesTest& t, CMatchPlayer& p, CMatchPlayer& mate, CMatchPlayer&) {
             t.Ball().StartBallInfo(BALLCAUSE_CLEARANCE, &p);
             t.Ball().SetPossessor(&mate);
         },
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, -1},
    };
    int nSlot = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMatchPlayer& p = *Player(true, nSlot);
        CMatchPlayer& mate = *Player(true, nSlot + 1);
        CMatchPlayer& opponent = *Player(false, nSlot);
        nSlot = nSlot % 8 + 1;
        m_pBall->ClearBallInfo();
        m_pBall->SetPossessor(&p);
        const TALLY before = TallyOf(p);
        p.SetMorale(CMatchPlayer::kStartMorale);
        const int32_t nMorale = p.GetMorale();
        p.SetDecision(DECISION_POSITION_BASE);
        c.play(*this, p, mate, opponent);
        ExpectTally(TallyOf(p) - before, c.want);
        const int32_t nChange = p.GetMorale() - nMorale;
        EXPECT_EQ((nChange > 0) - (nChange < 0), c.nMoraleSign) << "morale " << nMorale << " to " << p.GetMorale();
        if (c.nDecision >= 0)
            EXPECT_EQ(p.GetDecision(), c.nDecision);
        // His own lists hold what he counted.
        EXPECT_EQ(int(p.GetPasses().size()), p.GetPassCount());
        EXPECT_EQ(int(p.GetShots().size()), p.GetShotCount());
    }
}

TEST_F(FootballerTouchesTest, ATouchIsCountedOnceAndACreditTakenBackLeavesNoCount)
{
    Start(12);
    CMatchPlayer& p = *Player(true, 9);
    const TALLY start = TallyOf(p);
    BALLTOUCHRECORD shot = Touch(p, BALLCAUSE_SHOT, 2);
    p.AddBallInfo(shot);
    ASSERT_NE(shot.dwLink, 0u);
    p.AddBallInfo(shot);  // the same record again
    ExpectTally(TallyOf(p) - start, {0, 0, 0, 1, 1, 1, 0, 0, 1, 1});
    const int32_t nMorale = p.GetMorale();
    p.RemoveBallInfo(shot);
    EXPECT_EQ(shot.dwLink, 0u);
    ExpectTally(TallyOf(p) - start, {});
    EXPECT_TRUE(p.GetShots().empty());
    EXPECT_EQ(p.GetMorale(), nMorale) << "the mood it gave stays";
    p.RemoveBallInfo(shot);  // not listed any more
    ExpectTally(TallyOf(p) - start, {});

    // Of two passes only the one taken back leaves his list.
    BALLTOUCHRECORD first = Touch(p, BALLCAUSE_PASS, 0), second = Touch(p, BALLCAUSE_CROSS, 2);
    second.vEnd = CVector(1, 2, 0);
    p.AddBallInfo(first);
    p.AddBallInfo(second);
    p.RemoveBallInfo(first);
    ExpectTally(TallyOf(p) - start, {1, 0, 1, 0, 0, 0, 1, 1, 0, 0});
    ASSERT_EQ(p.GetPasses().size(), 1u);
    EXPECT_EQ(p.GetPasses().front().vEnd, CVector(1, 2, 0));
}

TEST_F(FootballerTouchesTest, ATackleIsCountedAsWonLostOrWonInDanger)
{
    Start(13);
    CMatchPlayer& p = *Player(true, 3);
    CVector ownGoal;
    p.GetClub()->GetGoalPosition(ownGoal);
    const int32_t nOut = ownGoal.x == 0 ? 1 : -1;  // towards halfway
    const int32_t nLine = p.GetClub()->GetOffsideLine();
    struct Case {
        const char* name;
        CVector at;
        uint8_t byResult;
        uint8_t byKept;
        int nWon, nDanger, nMoraleSign;
    } cases[] = {
        {"won in midfield", CVector(5000 + nOut * 2000, 1000, 0), 0, 0, 1, 0, 1},
        {"won in his own area", CVector(ownGoal.x + nOut * 800, GOAL_CENTRE_Y, 0), 0, 2, 1, 1, 1},
        {"won at his offside line", CVector(nLine, 1000, 0), 0, 2, 1, 1, 1},
        {"lost", CVector(5000 + nOut * 2000, 1000, 0), 1, 1, 0, 0, -1},
        {"won in his area when met at the ball (already marked)", CVector(ownGoal.x + nOut * 800, 3750, 0), 2, 2,
         0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (std::abs(c.at.x - nLine) <= 300 && c.byKept == 0)
            continue;  // the offside line stands where this place is
        const int nTackles = p.GetTackleCount(), nWon = p.GetTacklesWon(), nDanger = p.GetDangerTackles();
        const int32_t nMorale = p.GetMorale();
        TACKLERECORD record;
        record.vStart = record.vEnd = c.at;
        record.byResult = c.byResult;
        p.AddTackleInfo(record);
        EXPECT_EQ(p.GetTackleCount(), nTackles + 1);
        EXPECT_EQ(p.GetTacklesWon(), nWon + c.nWon);
        EXPECT_EQ(p.GetDangerTackles(), nDanger + c.nDanger);
        EXPECT_EQ(p.GetTackles().back().byResult, c.byKept);
        EXPECT_EQ(p.GetLastTackle().byResult, c.byResult) << "his last tackle is kept as he made it";
        const int32_t nChange = p.GetMorale() - nMorale;
        EXPECT_EQ((nChange > 0) - (nChange < 0), c.nMoraleSign);
    }
}

TEST_F(FootballerTouchesTest, TheMatchRatingFollowsHisTouchesGoalsAndCards)
{
    Start(14);
    struct Case {
        const char* name;
        uint8_t byCode;
        int nTacklesWon, nTacklesLost, nShotsScored, nShotsWide, nPassesCompleted, nPassesLost, nYellow;
        double fSum;  // the sum of his terms before it is weighed with his base rating
    } cases[] = {
        // Forwards weigh tackles 1, shots 3; an empty list weighs 100.
        {"a forward with one shot, a goal", 12, 0, 0, 1, 0, 0, 0, 0, (100.0 + 300.0 + 50.0) / 6 + 10},
        {"a forward with a goal and a miss", 12, 0, 0, 1, 1, 0, 0, 0, (100.0 + 300.0 + 50.0) / 6 + 10},
        {"a forward with two misses", 12, 0, 0, 0, 2, 4, 0, 0, (100.0 + 60.0 + 100.0 * 2) / 6},
        // Midfielders weigh tackles 2, shots 2.
        {"a midfielder passing well who scored", 9, 0, 0, 1, 0, 3, 0, 0, (50.0 + 200.0 + 200.0) / 6 + 10},
        {"a midfielder losing half his passes", 9, 2, 0, 0, 0, 2, 2, 0, (200.0 + 50.0 + 100.0) / 6},
        // Others weigh tackles 3, shots 1.
        {"a defender winning his tackles", 4, 2, 0, 0, 0, 2, 2, 0, (300.0 + 100.0 + 100.0) / 6},
        {"the same booked", 4, 2, 0, 0, 0, 2, 2, 1, (300.0 + 100.0 + 100.0) / 6 - 5},
        {"a defender losing one tackle of four", 4, 3, 1, 0, 0, 4, 0, 0, (225.0 + 100.0 + 200.0) / 6},
    };
    int nSlot = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMatchPlayer& p = *Player(false, nSlot++);
        SetCode(p, c.byCode);
        const CVector midfield = AwayFromDanger(p);
        for (int i = 0; i < c.nTacklesWon + c.nTacklesLost; ++i) {
            TACKLERECORD r;
            r.vStart = r.vEnd = midfield;
            r.byResult = i < c.nTacklesWon ? 0 : 1;
            p.AddTackleInfo(r);
        }
        for (int i = 0; i < c.nShotsScored + c.nShotsWide; ++i) {
            BALLTOUCHRECORD t = Touch(p, BALLCAUSE_SHOT, i < c.nShotsScored ? 2 : 1);
            p.AddBallInfo(t);
        }
        for (int i = 0; i < c.nPassesCompleted + c.nPassesLost; ++i) {
            BALLTOUCHRECORD t = Touch(p, BALLCAUSE_PASS, i < c.nPassesCompleted ? 0 : 1);
            p.AddBallInfo(t);
        }
        for (int i = 0; i < c.nYellow; ++i)
            p.ReceiveBooking();
        // Weighed with his base rating, with the chance of one point more.
        const int nBase = p.GetRecord()->GetRatingForPosition(c.byCode);
        const int nLow = int((nBase + 2 * c.fSum) / 3), nHigh = int((nBase + 2 * (c.fSum + 1)) / 3);
        std::set<int> seen;
        for (int i = 0; i < 40; ++i) {
            const int r = p.GetMatchRating();
            seen.insert(r);
            if (nLow >= 40) {
                EXPECT_TRUE(r == nLow || r == nHigh) << r << " not " << nLow << " or " << nHigh;
            } else {
                EXPECT_GE(r, 40) << "a poor match still rates 40 at least";
                EXPECT_LT(r, std::max(60, nHigh + 1));
            }
        }
        if (nLow >= 40)
            EXPECT_EQ(seen.size(), nLow == nHigh ? 1u : 2u) << "the extra point comes at random";
    }
    // No part in the match, no rating; a stored one stays as it was kept.
    CMatchPlayer& scorer = *Player(false, 1);
    const uint8_t byKept = scorer.StoreMatchResult();
    EXPECT_EQ(scorer.GetStoredMatchRating(), byKept);
    EXPECT_GE(byKept, 40);
    scorer.SetTookPart(false);
    EXPECT_EQ(scorer.GetMatchRating(), 0);
    EXPECT_EQ(scorer.GetStoredMatchRating(), byKept);
}

TEST_F(FootballerTouchesTest, APoorMatchIsNeverLiftedToTheTop)
{
    Start(15);
    CMatchPlayer& p = *Player(true, 5);
    SetCode(p, 4);
    // Every tackle lost, every pass lost, sent off and two own goals.
    for (int i = 0; i < 5; ++i) {
        TACKLERECORD r;
        r.vStart = r.vEnd = AwayFromDanger(p);
        r.byResult = 1;
        p.AddTackleInfo(r);
        BALLTOUCHRECORD t = Touch(p, BALLCAUSE_PASS, 1);
        p.AddBallInfo(t);
    }
    p.ReceiveBooking();
    p.ReceiveBooking();
    p.SendOff();
    p.AddOwnGoal();
    p.AddOwnGoal();
    for (int i = 0; i < 40; ++i) {
        const int r = p.GetMatchRating();
        EXPECT_GE(r, 40);
        EXPECT_LT(r, 60);
    }
}

}  // namespace

namespace {

TEST_F(FootballerTouchesTest, TheKickTriggerFollowsTheAimTheZoneAndThePressure)
{
    Start(13);
    CMatchPlayer& p = *Player(true, 3);
    CVector ownGoal;
    p.GetClub()->GetGoalPosition(ownGoal);
    const int32_t nOut = ownGoal.x == 0 ? 1 : -1;
    const CVector deep(ownGoal.x + nOut * 1500, 1000, 0), middle(5000, 1000, 0),
        nearGoal(ownGoal.x + nOut * 8500, GOAL_CENTRE_Y, 0);
    struct Case {
        const char* name;
        CVector at;
        uint8_t byAim;
        int anTrigger[4];
    } cases[] = {
        {"shot", nearGoal, DECISION_SHOOT, {75, 65, 55, 40}},
        {"shot from deep", deep, DECISION_SHOOT, {75, 65, 55, 40}},
        {"pass near goal", nearGoal, DECISION_PASS, {90, 80, 70, 50}},
        {"pass in midfield", middle, DECISION_PASS, {90, 80, 70, 50}},
        {"pass from deep", deep, DECISION_PASS, {80, 70, 50, 30}},
        {"cross", nearGoal, DECISION_CROSS, {80, 75, 70, 60}},
        {"long ball from deep", deep, DECISION_LONG_BALL, {80, 70, 50, 30}},
        {"clearance", deep, DECISION_CLEAR, {0, 0, 0, 0}},
        {"no kick", middle, DECISION_POSITION_SPACE, {101, 101, 101, 101}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        p.SetPosition(c.at);
        for (uint8_t byPressure = 0; byPressure < 4; ++byPressure)
            EXPECT_EQ(p.GetKickTriggerRating(c.byAim, byPressure), c.anTrigger[byPressure]) << int(byPressure);
    }
}

TEST_F(FootballerTouchesTest, ATackleStillRunningWhenHisAnimationEndsIsKeptAsLost)
{
    Start(13);
    CMatchPlayer& p = *Player(true, 3);
    p.SetPosition(AwayFromDanger(p));
    const int nTackles = p.GetTackleCount(), nWon = p.GetTacklesWon();
    p.SetAction(ACTION_TACKLING);
    p.PreUpdate();
    EXPECT_EQ(p.GetAction(), ACTION_HAS_TACKLED);
    EXPECT_EQ(p.GetTackleCount(), nTackles + 1);
    EXPECT_EQ(p.GetTacklesWon(), nWon);
    EXPECT_EQ(p.GetLastTackle().byResult, 1);
    // Any other action is left alone.
    p.SetAction(ACTION_MOVING);
    p.PreUpdate();
    EXPECT_EQ(p.GetAction(), ACTION_MOVING);
    EXPECT_EQ(p.GetTackleCount(), nTackles + 1);
}

}  // namespace
