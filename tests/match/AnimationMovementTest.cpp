// Match persons driven by the shared animation library of the mesh kit's
// files: the tables and their speed data, the model a person gets, and
// movement worked by hand: walking to a target at the grade's speed, gait
// changes through their transitions, standing turns.
#include "MatchFixture.h"
#include "match/actors/CAnimationLibrary.h"
#include "match/actors/CMatchPerson.h"
#include "render3d/CAnimationManager.h"
#include "render3d/CObjectData.h"

#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr float kPi = 3.14159265f;
const std::string kMeshes = std::string(BRELLOX_GAME_DIR) + "/MatchMeshes/";

double Distance(const CVector& a, const CVector& b)
{
    return std::sqrt(double(a.SquaredDistance2D(b)));
}

// A person who heads for a fixed point (or holds where he stands) at a speed
// grade the test sets, with a pace the test may set.
class WalkingPerson : public CMatchPerson {
public:
    WalkingPerson(CMatchEngine& engine, int32_t nPace = 50) : CMatchPerson(engine, PERSONTYPE_PERSON), m_nPace(nPace) {}
    void MakeDecision() override
    {
        SetDecision(m_bHold || m_bKeepRestFacing ? 0 : 1);
        if (m_bHold)
            SetHoldTarget(m_vGoal);
        else
            SetTarget(m_vGoal, kNoFacing);
    }
    void ChooseSpeedGrade() override { SetSpeedGrade(m_byGrade); }
    void GetPaceAttributes(int32_t* pnFirst, int32_t* pnMean) const override { *pnFirst = *pnMean = m_nPace; }

    CVector m_vGoal;
    bool m_bHold = false;
    bool m_bKeepRestFacing = false;  // face the rest facing on the way
    uint8_t m_byGrade = 0;
    int32_t m_nPace;
};

class AnimationMovementTest : public MatchFixture {
protected:
    void SetUp() override
    {
        MatchFixture::SetUp();
        m_wPlayer = m_Objects.LoadSkinned((kMeshes + "PlayerX1.x").c_str(), 15);
        ASSERT_NE(m_wPlayer, OBJECT_NOT_FOUND);
        CMatchPerson::LoadAnimations(m_Objects, m_wPlayer, kMeshes);
        m_Engine.SetMatchClockRunning(true);
    }
    void TearDown() override
    {
        CMatchPerson::FreeAnimations();
        MatchFixture::TearDown();
    }

    const CAnimationLibrary& Library() const { return CMatchPerson::GetAnimationLibrary(); }

    // One engine tick: the animations, then the decisions.
    void RunTick()
    {
        m_dwClock += 70;
        m_Engine.Tick(70, m_dwClock);
        m_Engine.PostTick();
    }

    WalkingPerson& AddPerson(const CVector& at, float fFacing, int32_t nPace = 50)
    {
        m_People.push_back(std::make_unique<WalkingPerson>(m_Engine, nPace));
        WalkingPerson& person = *m_People.back();
        person.SetFacing(fFacing);
        person.SetPosition(at);
        person.m_vGoal = at;
        person.SetupModel(m_wPlayer);
        m_Engine.AddHomePerson(&person);
        return person;
    }

    CObjectData m_Objects{10};
    uint16_t m_wPlayer = 0;
    std::vector<std::unique_ptr<WalkingPerson>> m_People;
};

TEST_F(AnimationMovementTest, TablesNameEveryKitAnimationAndMeasureTheCycles)
{
    const std::vector<std::string> names = CAnimationLibrary::GetFileNames();
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 228u);
    // Every file imported: no slot keeps the failure index.
    for (uint8_t m = 0; m < MOVETYPE_COUNT; ++m)
        for (const MOVETYPEITEM& item : Library().GetMoveType(m)->items)
            EXPECT_NE(item.wAnimation, ANIMATION_IMPORT_FAILED) << int(m);
    for (uint8_t a = 0; a < ACTION_COUNT; ++a)
        for (const ACTIONRECORD& record : Library().GetAction(a)->records)
            EXPECT_NE(record.wAnimation, ANIMATION_IMPORT_FAILED) << int(a);

    // Walk, jog and run cover more ground per frame in that order; the
    // standing poses have no speed data.
    const MOVETYPEENTRY& walk = *Library().GetMoveType(MOVETYPE_WALK);
    const MOVETYPEENTRY& jog = *Library().GetMoveType(MOVETYPE_JOG);
    const MOVETYPEENTRY& run = *Library().GetMoveType(MOVETYPE_RUN);
    EXPECT_GT(walk.fDistancePerFrame, 0.0f);
    EXPECT_LT(walk.fDistancePerFrame, jog.fDistancePerFrame);
    EXPECT_LT(jog.fDistancePerFrame, run.fDistancePerFrame);
    EXPECT_GT(walk.nStartDistance, 0);
    EXPECT_EQ(walk.nStartPlusStride, walk.nStartDistance + walk.nStride);
    for (uint8_t m : {MOVETYPE_CROUCH, MOVETYPE_COVER, MOVETYPE_SEATED, MOVETYPE_POORLY}) {
        EXPECT_EQ(Library().GetMoveType(m)->nStride, 0) << int(m);
        EXPECT_EQ(Library().GetMoveType(m)->fDistancePerFrame, 0.0f) << int(m);
    }
    EXPECT_GT(Library().GetTransition(MOVETYPE_WALK, MOVETYPE_STAND)->nDistance, 0);
    // The dribbling turns end standing without the ball, the holding turns with it.
    for (const MOVETYPEITEM& item : Library().GetMoveType(MOVETYPE_DRIBBLE_STAND)->items)
        EXPECT_EQ(item.byEndMoveType, MOVETYPE_STAND);
    for (const MOVETYPEITEM& item : Library().GetMoveType(MOVETYPE_HOLD_STAND)->items)
        EXPECT_EQ(item.byEndMoveType, MOVETYPE_HOLD_STAND);
    // The count of an entry may exceed its filled records.
    EXPECT_EQ(Library().GetAction(12)->records.size(), 5u);
    EXPECT_EQ(Library().GetAction(12)->records[4].wAnimation, 0);
}

TEST_F(AnimationMovementTest, StandingTypesAndMoveClasses)
{
    struct Case {
        uint8_t byMoveType;
        bool bStanding;
        uint8_t byStandingType;
        uint8_t byClass;
    };
    const Case cases[] = {{0, true, 0, 0},   {3, false, 0, 0},  {4, true, 0, 1},   {7, false, 0, 1},
                          {9, false, 8, 2},  {10, true, 10, 0}, {12, true, 0, 0},  {14, false, 13, 3},
                          {15, false, 0, 0}, {16, false, 16, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(CAnimationLibrary::IsStandingMoveType(c.byMoveType), c.bStanding) << int(c.byMoveType);
        EXPECT_EQ(CAnimationLibrary::GetStandingMoveType(c.byMoveType), c.byStandingType) << int(c.byMoveType);
        EXPECT_EQ(CAnimationLibrary::GetMoveClass(c.byMoveType), c.byClass) << int(c.byMoveType);
    }
}

TEST_F(AnimationMovementTest, SpeedGradesFollowThePace)
{
    WalkingPerson& fast = AddPerson({2000, 2000, 0}, 0.0f, 100);
    EXPECT_EQ(fast.GetPace(CMatchPerson::GRADES_NO_BALL), 800);
    EXPECT_EQ(fast.GetSpeedGrade(CMatchPerson::GRADES_NO_BALL, 9).nSpeed, 800);
    EXPECT_EQ(fast.GetSpeedGrade(CMatchPerson::GRADES_NO_BALL, 9).byMoveType, MOVETYPE_RUN);
    EXPECT_EQ(fast.GetSpeedGrade(CMatchPerson::GRADES_NO_BALL, 0).nSpeed, 240);
    EXPECT_EQ(fast.GetSpeedGrade(CMatchPerson::GRADES_NO_BALL, 0).byMoveType, MOVETYPE_WALK);
    // With the ball the pace is 700 and the jog lasts up to 600.
    EXPECT_EQ(fast.GetSpeedGrade(CMatchPerson::GRADES_BALL, 2).nSpeed, 350);
    EXPECT_EQ(fast.GetSpeedGrade(CMatchPerson::GRADES_BALL, 2).byMoveType, MOVETYPE_DRIBBLE_JOG);
    for (int g = 0; g < CMatchPerson::kGrades; ++g) {
        EXPECT_EQ(fast.GetSpeedGrade(CMatchPerson::GRADES_INJURED, g).byMoveType, MOVETYPE_LIMP) << g;
        EXPECT_LE(fast.GetSpeedGrade(CMatchPerson::GRADES_INJURED, g).nSpeed, 250) << g;
        EXPECT_GE(fast.GetSpeedGrade(CMatchPerson::GRADES_INJURED, g).nSpeed, 75) << g;
    }
    WalkingPerson& plain = AddPerson({3000, 2000, 0}, 0.0f);
    EXPECT_EQ(plain.GetSpeedGrade(CMatchPerson::GRADES_NO_BALL, 0).nSpeed, 195);
}

TEST_F(AnimationMovementTest, AModelStandsAtThePersonAndAFailedOneIsLeftOut)
{
    WalkingPerson& person = AddPerson({4000, 3000, 0}, 1.0f);
    ASSERT_NE(person.GetModel(), nullptr);
    EXPECT_FLOAT_EQ(person.GetModel()->GetX(), 4000.0f);
    EXPECT_FLOAT_EQ(person.GetModel()->GetY(), 3000.0f);
    EXPECT_EQ(person.GetMoveType(), MOVETYPE_STAND);
    EXPECT_GT(person.GetModel()->GetAnimationTimeLeft(), 0u);
    // Standing idle where he is, he plays the stand again and again.
    person.m_bHold = true;
    person.SetRestFacing(1.0f);
    for (int i = 0; i < 60; ++i)
        RunTick();
    EXPECT_EQ(person.GetPosition(), CVector(4000, 3000, 0));
    EXPECT_EQ(person.GetMoveType(), MOVETYPE_STAND);
    EXPECT_EQ(person.GetAction(), ACTION_NOTHING);

    WalkingPerson broken(m_Engine);
    broken.SetupModel(999);
    EXPECT_EQ(broken.GetModel(), nullptr);
    broken.UpdateAnimation(70);  // logged, nothing moves
    EXPECT_EQ(broken.GetPosition(), CVector(0, 0, 0));
}

TEST_F(AnimationMovementTest, AWalkerArrivesAtTheGradeSpeedThroughTheTransitions)
{
    WalkingPerson& person = AddPerson({2000, 1000, 0}, 0.0f);
    person.m_vGoal = CVector(2000, 4000, 0);
    const uint16_t wStart = Library().GetTransition(MOVETYPE_STAND, MOVETYPE_WALK)->animations[0];
    const uint16_t wStop = Library().GetTransition(MOVETYPE_WALK, MOVETYPE_STAND)->animations[0];
    std::vector<uint16_t> installed;
    uint32_t dwWalkStart = 0, dwLastWalk = 0;
    CVector walkFrom, walkTo;
    for (int i = 0; i < 600 && !(installed.size() > 2 && person.GetMoveType() == MOVETYPE_STAND); ++i) {
        const bool bPending = person.IsRequestPending();
        const uint16_t wRequested = person.GetRequest().animation;
        RunTick();
        if (bPending && !person.IsRequestPending())
            installed.push_back(wRequested);
        if (person.GetMoveType() == MOVETYPE_WALK) {
            if (dwWalkStart == 0) {
                dwWalkStart = m_dwClock;
                walkFrom = person.GetPosition();
            }
            dwLastWalk = m_dwClock;
            walkTo = person.GetPosition();
        }
    }
    // Stand, the start of the walk, cycles of it, the stop.
    ASSERT_GE(installed.size(), 3u);
    EXPECT_EQ(installed.front(), wStart);
    EXPECT_EQ(installed.back(), wStop);
    EXPECT_EQ(person.GetMoveType(), MOVETYPE_STAND);
    EXPECT_LT(Distance(person.GetPosition(), person.m_vGoal), 100);
    // Along the way the walk covers the grade's 195 cm a second.
    const double fSeconds = (dwLastWalk - dwWalkStart) / 1000.0;
    ASSERT_GT(fSeconds, 5.0);
    const double fSpeed = Distance(walkFrom, walkTo) / fSeconds;
    EXPECT_NEAR(fSpeed, 195.0, 195.0 * 0.1);
}

TEST_F(AnimationMovementTest, AFasterGradeChangesGaitThroughTheTransition)
{
    WalkingPerson& person = AddPerson({2000, 500, 0}, 0.0f);
    person.m_vGoal = CVector(2000, 7000, 0);
    const uint16_t wWalkToRun = Library().GetTransition(MOVETYPE_WALK, MOVETYPE_RUN)->animations[0];
    std::vector<uint8_t> gaits;
    bool bTransitionBeforeRun = false;
    for (int i = 0; i < 400 && person.GetMoveType() != MOVETYPE_RUN; ++i) {
        if (person.GetMoveType() == MOVETYPE_WALK && m_dwClock > 4000)
            person.m_byGrade = 9;
        const bool bPending = person.IsRequestPending();
        const uint16_t wRequested = person.GetRequest().animation;
        RunTick();
        if (bPending && !person.IsRequestPending() && person.GetMoveType() == MOVETYPE_RUN)
            bTransitionBeforeRun = wRequested == wWalkToRun;
        if (gaits.empty() || gaits.back() != person.GetMoveType())
            gaits.push_back(person.GetMoveType());
    }
    EXPECT_EQ(gaits, (std::vector<uint8_t>{MOVETYPE_STAND, MOVETYPE_WALK, MOVETYPE_RUN}));
    EXPECT_TRUE(bTransitionBeforeRun);
}

TEST_F(AnimationMovementTest, AQuarterTurnPicksTheNinetyDegreeTurnAndEndsOnTheFacingTarget)
{
    struct Case {
        float fTurn;
        int nTurnItem;  // -1: no turn
    };
    const Case cases[] = {{kPi / 2, TURN_90_RIGHT}, {-kPi / 2, TURN_90_LEFT}, {kPi / 4, TURN_45_RIGHT},
                          {-1.0f, TURN_45_LEFT},   {3.0f, TURN_180},       {0.3f, -1}};
    for (const Case& c : cases) {
        WalkingPerson& person = AddPerson({1000 + 1000 * int(m_People.size()), 3000, 0}, 0.5f);
        person.m_bHold = true;
        person.SetRestFacing(0.5f + c.fTurn);
        bool bTurned = false;
        for (int i = 0; i < 80; ++i) {
            RunTick();
            bTurned = bTurned || person.GetAction() == ACTION_TURNING;
            if (person.GetAction() == ACTION_TURNING && c.nTurnItem >= 0) {
                EXPECT_EQ(person.GetRequest().animation,
                          Library().GetMoveType(MOVETYPE_STAND)->items[size_t(c.nTurnItem)].wAnimation)
                    << c.fTurn;
            }
        }
        EXPECT_EQ(bTurned, c.nTurnItem >= 0) << c.fTurn;
        // Within the dead zone the idle pose takes the facing target at once.
        EXPECT_NEAR(WrapAngle(person.GetFacing() - (0.5f + c.fTurn)), 0.0, 0.05) << c.fTurn;
        EXPECT_EQ(person.GetMoveType(), MOVETYPE_STAND) << c.fTurn;
    }
}

TEST_F(AnimationMovementTest, ANearTargetIsReachedByStepsWithoutTurning)
{
    struct Case {
        CVector offset;  // from the person, who faces +y
        uint8_t byStep;
    };
    const Case cases[] = {{{0, -150, 0}, CMatchPerson::STEP_BACKWARD},
                          {{0, 150, 0}, CMatchPerson::STEP_FORWARD},
                          {{150, 0, 0}, CMatchPerson::STEP_RIGHT},
                          {{-150, 0, 0}, CMatchPerson::STEP_LEFT}};
    for (const Case& c : cases) {
        const CVector at(1500 + 1000 * int(m_People.size()), 3000, 0);
        WalkingPerson& person = AddPerson(at, 0.0f);
        person.m_bKeepRestFacing = true;
        person.SetRestFacing(0.0f);
        person.m_vGoal = CVector(at.x + c.offset.x, at.y + c.offset.y, 0);
        bool bStepped = false;
        for (int i = 0; i < 100; ++i) {
            RunTick();
            if (person.GetAction() == ACTION_STEPPING && !bStepped) {
                bStepped = true;
                EXPECT_EQ(person.GetRequest().animation,
                          Library().GetAction(1)->records[c.byStep].wAnimation) << int(c.byStep);
            }
        }
        EXPECT_TRUE(bStepped) << int(c.byStep);
        EXPECT_LT(Distance(person.GetPosition(), person.m_vGoal), 70) << int(c.byStep);
        EXPECT_NEAR(WrapAngle(person.GetFacing()), 0.0, 0.05) << int(c.byStep);
        EXPECT_EQ(person.GetMoveType(), MOVETYPE_STAND) << int(c.byStep);
    }
}

TEST_F(AnimationMovementTest, TheLookPointIsTheBestRatedDirection)
{
    WalkingPerson& person = AddPerson({3000, 3000, 0}, 0.0f);
    // The target 300 away to the right rates best: the look point lies on it.
    person.SetTarget({3300, 3000, 0}, CMatchPerson::kNoFacing);
    // (Points are truncated towards the person: a centimetre short.)
    EXPECT_NEAR(person.UpdateFacing(), 1.0f, 0.001f);
    EXPECT_LE(Distance(person.GetLookPoint(), {3300, 3000, 0}), 1.0);
    // A target far behind: 500 towards it, the reach's limit.
    person.SetTarget({3000, 1000, 0}, CMatchPerson::kNoFacing);
    EXPECT_NEAR(person.UpdateFacing(), 1.0f - 1500 / 6000.0f, 0.001f);
    EXPECT_LE(Distance(person.GetLookPoint(), {3000, 2500, 0}), 1.0);
}

TEST_F(AnimationMovementTest, SeekingTheReplayPutsThePersonWhereHeWas)
{
    WalkingPerson& person = AddPerson({2000, 1000, 0}, 0.0f);
    person.m_vGoal = CVector(2600, 4000, 0);
    std::vector<std::pair<uint32_t, CVector>> track;
    for (int i = 0; i < 150; ++i) {
        RunTick();
        track.emplace_back(m_Engine.GetEngineClock(), person.GetPosition());
    }
    ASSERT_GT(Distance(track.front().second, track.back().second), 1000.0);
    // Within one frame of the walk: live play drops the whole frames that
    // overshoot an animation's end, the replay starts each one on time.
    const double fFrame = Library().GetMoveType(MOVETYPE_WALK)->fDistancePerFrame + 1.0;
    for (size_t i : {size_t(0), size_t(10), size_t(37), size_t(90), size_t(149)}) {
        ASSERT_TRUE(person.SeekReplay(track[i].first)) << i;
        EXPECT_LE(Distance(person.GetPosition(), track[i].second), fFrame) << i;
    }
    EXPECT_TRUE(person.IsReplaying());
    EXPECT_NE(person.EndReplay(), nullptr);
    EXPECT_FALSE(person.IsReplaying());

    // Without replays (the MatchType option 0) there is nothing to seek.
    m_Engine.SetMatchType(0);
    WalkingPerson& unrecorded = AddPerson({5000, 1000, 0}, 0.0f);
    EXPECT_FALSE(unrecorded.SeekReplay(m_Engine.GetEngineClock()));
    EXPECT_EQ(unrecorded.EndReplay(), nullptr);
}

TEST_F(AnimationMovementTest, FittingToATimeKeepsTheFrameTimeWithinItsLimits)
{
    WalkingPerson& person = AddPerson({2000, 2000, 0}, 0.0f);
    const uint32_t dwFrames = person.GetModel()->GetFramesLeft();
    ASSERT_GT(dwFrames, 0u);
    struct Case {
        uint32_t dwMs;
        float fFrameTime;
    };
    for (const Case& c : {Case{1, 20.0f}, Case{dwFrames * 30, 30.0f}, Case{dwFrames * 1000, 45.0f}}) {
        person.FitAnimationToTime(c.dwMs);
        EXPECT_FLOAT_EQ(person.GetModel()->GetFrameTime(), c.fFrameTime) << c.dwMs;
    }
}

}  // namespace
