// The stadium a match builds: the ring of stands and walls from the venue's
// stands and their building work, the board rows round the pitch with the
// adverts the home club sold, and a set-up and tear-down that leave nothing
// behind.
#include "../humans/HumanWorld.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "match/CHordings.h"
#include "match/CMatchEngine.h"
#include "platform/Surface.h"
#include "render3d/C3DEngine.h"
#include "render3d/CMeshManager.h"
#include "render3d/CModel.h"
#include "season/CComponentDatabase.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CHoardingsManager.h"
#include "season/CSaveGame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

const CDate kToday(2026, 8, 1);

struct STAND {
    int nSide, nKind, nSize, nRoof;
};
// Work on the stand of the given side: kind, days since it began (negative:
// not begun), weeks, and for an upgrade the new kind and size.
struct WORK {
    int nSide = -1;
    uint8_t byKind = SCHEDULE_BUILD;
    int nDaysDone = 0;
    uint16_t wWeeks = 10;
    uint8_t byNewKind = 0, byNewSize = 0;
};

CGroundDatabase* MakeGround(const std::vector<STAND>& stands, const WORK& work)
{
    auto* pGround = new CGroundDatabase;
    uint32_t dwID = 1;
    for (const STAND& s : stands) {
        auto* p = new CComponentDatabase;
        p->SetID(dwID++);
        p->SetMainType(COMPONENT_STAND);
        p->SetSubType(uint8_t(s.nKind));
        uint8_t data[COMPONENT_STAND_DATA] = {};
        data[STAND_SIDE] = uint8_t(s.nSide);
        data[STAND_SIZE] = uint8_t(s.nSize);
        data[STAND_ROOF] = uint8_t(s.nRoof);
        p->SetSpecificData(data);
        pGround->AddComponent(p);
        if (s.nSide != work.nSide)
            continue;
        auto* pWork = new CComponentScheduleDatabase;
        pWork->SetID(dwID++);
        pWork->SetKind(work.byKind);
        pWork->SetStartDate(CDate(kToday.GetValue(), -work.nDaysDone));
        pWork->SetDuration(work.wWeeks);
        pWork->SetComponent(p);
        pWork->GetScheduleData()[SCHEDULE_DATA_MAIN_TYPE] = work.byNewKind;
        pWork->GetComponentData()[STAND_SIZE] = work.byNewSize;
        pGround->AddComponentSchedule(pWork);
    }
    return pGround;
}

// Two clubs of a bare database, the home club playing at a ground of the test's.
class StadiumTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_Database.ResetClubTable(3);
        for (ID_CLUB id = 1; id <= 2; ++id) {
            m_Clubs[id - 1] = std::make_unique<CClubDatabase>();
            m_Clubs[id - 1]->m_wClubId = id;
            m_Database.SetClubInTable(id, m_Clubs[id - 1].get());
        }
        m_Database.SetGameDate(kToday);
    }
    void TearDown() override
    {
        m_Engine.EndGame();
        for (ID_CLUB id = 1; id <= 2; ++id)
            m_Database.SetClubInTable(id, nullptr);
    }
    bool Start(CGroundDatabase* pGround)
    {
        m_pGround.reset(pGround);
        m_Clubs[0]->m_pGround = pGround;
        ITEMMATCHRULESINFORMATION rules;
        const uint32_t dwSeed = 3;
        return m_Engine.StartGame(m_Database, 1, 2, 1, rules, 0, &dwSeed);
    }

    CDatabaseHandler m_Database;
    std::unique_ptr<CClubDatabase> m_Clubs[2];
    std::unique_ptr<CGroundDatabase> m_pGround;
    CMatchEngine m_Engine;
};

TEST_F(StadiumTest, EachSegmentShowsTheStandOrWallTheGroundHasThere)
{
    const std::vector<STAND> four = {{0, 2, 1, 1}, {2, 3, 1, 1}, {4, 0, 0, 1}, {6, 1, 2, 0}};
    std::vector<STAND> ring;
    for (int s = 0; s < 8; ++s)
        ring.push_back({s, 3, s % 2 ? 4 : 2, 1});
    struct Case {
        const char* pszName;
        std::vector<STAND> stands;
        WORK work;
        const char* apszMeshes[8];
        const char* apszRoofs[8];
        bool bLowStands;
    } cases[] = {
        {"no stands at all", {}, {},
         {"WallNN.x", "WallNE.x", "WallEE.x", "WallNE.x", "WallNN.x", "WallNE.x", "WallEE.x", "WallNE.x"},
         {"", "", "", "", "", "", "", ""}, true},
        {"four sides of every kind, walls in the corners", four, {},
         {"DT2NN.x", "WallNE.x", "TT2EE.x", "WallNE.x", "ST1SS.x", "WallNE.x", "ST3EE.x", "WallNE.x"},
         {"DT2NNR.x", "", "TT2EER.x", "", "ST1NNR.x", "", "", ""}, true},
        {"a ring of tall stands", ring, {},
         {"TT3NN.x", "TT2NE.x", "TT3EE.x", "TT2NE.x", "TT3SS.x", "TT2NE.x", "TT3EE.x", "TT2NE.x"},
         {"TT3NNR.x", "TT2NER.x", "TT3EER.x", "TT2NER.x", "TT3NNR.x", "TT2NER.x", "TT3EER.x", "TT2NER.x"}, false},
        {"a new stand not begun yet is a wall", ring, {4, SCHEDULE_BUILD, -7},
         {"TT3NN.x", "TT2NE.x", "TT3EE.x", "TT2NE.x", "WallNN.x", "TT2NE.x", "TT3EE.x", "TT2NE.x"},
         {"TT3NNR.x", "TT2NER.x", "TT3EER.x", "TT2NER.x", "", "TT2NER.x", "TT3EER.x", "TT2NER.x"}, true},
        {"an upgrade not begun shows the stand as it is", ring, {2, SCHEDULE_IMPROVE, -7, 10, 2, 1},
         {"TT3NN.x", "TT2NE.x", "TT3EE.x", "TT2NE.x", "TT3SS.x", "TT2NE.x", "TT3EE.x", "TT2NE.x"},
         {"TT3NNR.x", "TT2NER.x", "TT3EER.x", "TT2NER.x", "TT3NNR.x", "TT2NER.x", "TT3EER.x", "TT2NER.x"}, false},
        {"a demolition 30% done", ring, {2, SCHEDULE_DEMOLISH, 21},
         {"TT3NN.x", "TT2NE.x", "TT3EEUC2.x", "TT2NE.x", "TT3SS.x", "TT2NE.x", "TT3EE.x", "TT2NE.x"},
         {"TT3NNR.x", "TT2NER.x", "", "TT2NER.x", "TT3NNR.x", "TT2NER.x", "TT3EER.x", "TT2NER.x"}, false},
        {"a demolition 60% done lowers the ring", ring, {0, SCHEDULE_DEMOLISH, 42},
         {"TT3NNUC.x", "TT2NE.x", "TT3EE.x", "TT2NE.x", "TT3SS.x", "TT2NE.x", "TT3EE.x", "TT2NE.x"},
         {"", "TT2NER.x", "TT3EER.x", "TT2NER.x", "TT3NNR.x", "TT2NER.x", "TT3EER.x", "TT2NER.x"}, true},
        {"an upgrade under way keeping kind and size", ring, {4, SCHEDULE_IMPROVE, 14, 10, 3, 2},
         {"TT3NN.x", "TT2NE.x", "TT3EE.x", "TT2NE.x", "TT3SS.x", "TT2NE.x", "TT3EE.x", "TT2NE.x"},
         {"TT3NNR.x", "TT2NER.x", "TT3EER.x", "TT2NER.x", "TT3NNR.x", "TT2NER.x", "TT3EER.x", "TT2NER.x"}, false},
        {"an upgrade under way to another size", ring, {4, SCHEDULE_IMPROVE, 14, 10, 3, 5},
         {"TT3NN.x", "TT2NE.x", "TT3EE.x", "TT2NE.x", "TT3NNUC2.x", "TT2NE.x", "TT3EE.x", "TT2NE.x"},
         {"TT3NNR.x", "TT2NER.x", "TT3EER.x", "TT2NER.x", "", "TT2NER.x", "TT3EER.x", "TT2NER.x"}, false},
        {"finished work counts no longer", ring, {1, SCHEDULE_DEMOLISH, 70},
         {"TT3NN.x", "TT2NE.x", "TT3EE.x", "TT2NE.x", "TT3SS.x", "TT2NE.x", "TT3EE.x", "TT2NE.x"},
         {"TT3NNR.x", "TT2NER.x", "TT3EER.x", "TT2NER.x", "TT3NNR.x", "TT2NER.x", "TT3EER.x", "TT2NER.x"}, false},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(Start(MakeGround(c.stands, c.work))) << c.pszName;
        for (int s = 0; s < CMatchEngine::kStadiumSegments; ++s) {
            const CMatchEngine::STADIUMSEGMENT& segment = m_Engine.GetStadiumSegment(s);
            EXPECT_STREQ(segment.szMesh, c.apszMeshes[s]) << c.pszName << ", segment " << s;
            EXPECT_STREQ(segment.szRoof, c.apszRoofs[s]) << c.pszName << ", segment " << s;
            EXPECT_EQ(m_Engine.IsSideOpen(s), std::strncmp(c.apszMeshes[s], "Wall", 4) == 0)
                << c.pszName << ", segment " << s;
        }
        EXPECT_EQ(m_Engine.HasLowStands(), c.bLowStands) << c.pszName;
        EXPECT_EQ(m_Engine.GetStadiumModelCount(), 8) << c.pszName;  // counted even without 3-D
        m_Engine.EndGame();
    }
}

TEST(StadiumCrowdTest, DensityCodeByThirdsOfTheSeats)
{
    const struct {
        uint16_t wSeats, wSpectators;
        uint8_t byCode;
    } cases[] = {{3000, 0, 1}, {100, 33, 1}, {100, 34, 2}, {100, 67, 2}, {100, 68, 3}, {5000, 5000, 3}, {0, 10, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(CMatchEngine::GetCrowdDensityCode(c.wSeats, c.wSpectators), c.byCode)
            << c.wSpectators << " of " << c.wSeats;
}

TEST(BoardTest, ABoardLeansItsTopEdgeTowardsItsFace)
{
    const struct {
        const char* pszName;
        int32_t hx, hy, nOffset;
        uint8_t byFacing;
        uint32_t dwOrientation;
        CVector top, bottom;
    } cases[] = {
        {"upright along x", 500, 0, 0, 1, CHordings::ALONG_X, {1500, 2000, 105}, {500, 2000, 0}},
        {"leaning along x, face clear", 500, 0, 20, 0, CHordings::ALONG_X, {1500, 2020, 105}, {500, 2000, 0}},
        {"leaning along x, face set", 500, 0, 20, 1, CHordings::ALONG_X, {1500, 1980, 105}, {500, 2000, 0}},
        {"leaning along y, face clear", 0, 500, 30, 0, CHordings::ALONG_Y, {970, 2500, 105}, {1000, 1500, 0}},
        {"leaning along y, face set", 0, 500, 30, 1, CHordings::ALONG_Y, {1030, 2500, 105}, {1000, 1500, 0}},
    };
    for (const auto& c : cases) {
        CHordings board(1000, 2000, 0, c.hx, c.hy, 105, 4, c.nOffset, 0.2f, NO_TEXTURE, c.byFacing, false);
        EXPECT_EQ(board.GetOrientation(), c.dwOrientation) << c.pszName;
        EXPECT_EQ(board.GetTop(), c.top) << c.pszName;
        EXPECT_EQ(board.GetBottom(), c.bottom) << c.pszName;
        EXPECT_EQ(board.GetQuad(0), nullptr) << c.pszName;  // built without meshes
    }
}

TEST(BoardTest, QuadsCutTheBoardAndShowTheirCellTurnedByTheFace)
{
    for (uint8_t byFacing : {0, 1}) {
        CHordings board(0, 500, 0, 0, 450, 100, 9, 0, 0.2f, 7, byFacing, true);
        ASSERT_EQ(board.GetQuadCount(), 9);
        // Nine quads of 100 along y, each with four corners on the board's plane.
        for (uint32_t i = 0; i < 9; ++i) {
            const ITEMMESHINFORMATION* q = board.GetQuad(i);
            ASSERT_NE(q, nullptr);
            EXPECT_EQ(q->vertexCount, 4u);
            EXPECT_EQ(q->indexCount, 6u);
            EXPECT_EQ(q->textureIndex, 7);
            const auto* v = static_cast<const D3DVERTEX*>(q->pVertices);
            EXPECT_FLOAT_EQ(v[0].y, 50.0f + 100.0f * float(i));
            EXPECT_FLOAT_EQ(v[2].y, 150.0f + 100.0f * float(i));
            EXPECT_FLOAT_EQ(v[0].z, 100.0f);
            EXPECT_FLOAT_EQ(v[3].z, 0.0f);
            EXPECT_FLOAT_EQ(v[0].nx, byFacing ? -1.0f : 1.0f);
        }
        const float cell[4] = {0.5f, 1.0f, 0.25f, 0.375f};
        board.SetTextureRect(3, cell);
        const auto* v = static_cast<const D3DVERTEX*>(board.GetQuad(3)->pVertices);
        const float fStart = byFacing ? 0.5f : 1.0f, fEnd = byFacing ? 1.0f : 0.5f;
        EXPECT_FLOAT_EQ(v[0].tu, fStart);
        EXPECT_FLOAT_EQ(v[1].tu, fEnd);
        EXPECT_FLOAT_EQ(v[2].tu, fEnd);
        EXPECT_FLOAT_EQ(v[3].tu, fStart);
        EXPECT_FLOAT_EQ(v[0].tv, 0.25f);
        EXPECT_FLOAT_EQ(v[2].tv, 0.375f);
    }
}

TEST(BoardTest, OnlyAMoveTowardsTheFaceIsBlocked)
{
    // A board along y at x = 1000 facing +x (set), and one along x at y = 0 facing -y (clear).
    CHordings facingPlusX(1000, 500, 0, 0, 500, 105, 4, 0, 0.2f, NO_TEXTURE, 1, false);
    CHordings facingMinusY(500, 0, 0, 500, 0, 105, 4, 0, 0.2f, NO_TEXTURE, 0, false);
    const struct {
        const char* pszName;
        const CHordings* pBoard;
        CVector from, delta;
        bool bBlocked;
        float fFraction;
    } cases[] = {
        {"towards +x into a board facing +x", &facingPlusX, {500, 500, 0}, {1000, 0, 0}, true, 0.45f},
        {"away from it", &facingPlusX, {1500, 500, 0}, {-1000, 0, 0}, false, 0},
        {"short of it", &facingPlusX, {500, 500, 0}, {300, 0, 0}, false, 0},
        {"past its end", &facingPlusX, {500, 1400, 0}, {1000, 0, 0}, false, 0},
        {"towards +y into a board facing -y", &facingMinusY, {500, -500, 0}, {0, 1000, 0}, true, 0.45f},
        {"towards -y", &facingMinusY, {500, 500, 0}, {0, -1000, 0}, false, 0},
    };
    for (const auto& c : cases) {
        float fFraction = -1;
        EXPECT_EQ(c.pBoard->IsSegmentBlocked(c.from, c.delta, 50, &fFraction), c.bBlocked) << c.pszName;
        if (c.bBlocked) {
            EXPECT_NEAR(fFraction, c.fFraction, 1e-4f) << c.pszName;
        }
    }
}

TEST(BoardTest, ABallHittingTheFaceBouncesBackUnlessItFliesOver)
{
    // The near-side board: along x at y = -500, facing the pitch (+y).
    const struct {
        const char* pszName;
        CVector start, velocity;
        bool bFullHeight, bHit;
    } cases[] = {
        {"low ball out over the touchline", {3000, -480, 50}, {0, -1000, 0}, false, true},
        {"ball coming back in", {3000, -520, 50}, {0, 1000, 0}, false, false},
        {"high ball over the board", {3000, -480, 300}, {0, -1000, 0}, false, false},
        {"high ball into a wall behind an open side", {3000, -480, 300}, {0, -1000, 0}, true, true},
    };
    for (const auto& c : cases) {
        CHordings board(2125, -500, 0, 2775, 0, 105, 6, 0, 0.5f, NO_TEXTURE, 1, false);
        board.SetFullHeight(c.bFullHeight);
        CVector position = c.start + CVector(c.velocity.x * 7 / 100, c.velocity.y * 7 / 100, 0), velocity = c.velocity;
        BALLCOLLISIONQUERY query;
        query.pStart = &c.start;
        query.pPosition = &position;
        query.pVelocity = &velocity;
        query.fFactor = 0.8f;
        query.fImpactTime = 0.07f;
        EXPECT_EQ(board.TestBallCollision(query), c.bHit) << c.pszName;
        if (!c.bHit)
            continue;
        // Turned back at 0.8 x 0.5 of its pace, and on for the rest of the tick from the crossing.
        EXPECT_EQ(velocity, CVector(0, 400, 0)) << c.pszName;
        EXPECT_EQ(position.y, -487 + 25) << c.pszName;
    }
}

TEST_F(StadiumTest, BoardRowsStandRoundThePitchFacingIt)
{
    ASSERT_TRUE(Start(MakeGround({{4, 3, 1, 1}}, {})));
    int nQuads = 0;
    for (int r = 0; r < CMatchEngine::kBoardRows; ++r) {
        const CHordings* pRow = m_Engine.GetBoardRow(r);
        ASSERT_NE(pRow, nullptr);
        nQuads += pRow->GetQuadCount();
        const CVector& a = pRow->GetBottom();
        const CVector& b = pRow->GetTop();
        // On the play bounds, outside the touchlines and goal lines.
        const bool bOutside = a.y <= -500 || a.y >= 8000 || a.x <= -650 || a.x >= 10650;
        EXPECT_TRUE(bOutside) << "row " << r;
        EXPECT_EQ(b.z, 105) << "row " << r;
        // A ball from the centre of the pitch towards the board is stopped.
        const CVector centre((a.x + b.x) / 2, (a.y + b.y) / 2, 0);
        const CVector from(centre.x + (centre.x < 0 ? 300 : centre.x > 10000 ? -300 : 0),
                           centre.y + (centre.y < 0 ? 300 : centre.y > 7500 ? -300 : 0), 0);
        EXPECT_TRUE(pRow->IsSegmentBlocked(from, (centre - from) + (centre - from), 0, nullptr)) << "row " << r;
        EXPECT_FALSE(pRow->IsSegmentBlocked(centre + (centre - from), (from - centre) + (from - centre), 0, nullptr))
            << "row " << r;
    }
    EXPECT_EQ(nQuads, CHoardingsManager::BOARDS);
    // The near side leaves the tunnel free.
    EXPECT_EQ(m_Engine.GetBoardRow(0)->GetTop().x, 4900);
    EXPECT_EQ(m_Engine.GetBoardRow(1)->GetBottom().x, 5100);
    // Only the far side has a stand: a ball flies over its boards, the walls stop a high one.
    EXPECT_FALSE(m_Engine.GetBoardRow(2)->IsFullHeight());
    for (int r : {0, 1, 3, 4})
        EXPECT_TRUE(m_Engine.GetBoardRow(r)->IsFullHeight()) << "row " << r;
}

TEST_F(StadiumTest, TheEngineStopsTheBallAndPathsAtTheBoardsFromThePitchOnly)
{
    ASSERT_TRUE(Start(MakeGround({}, {})));
    float fHit = -1;
    EXPECT_TRUE(m_Engine.IsPathBlocked({2000, 100, 0}, {2000, -900, 0}, 0, false, &fHit));
    EXPECT_NEAR(fHit, 0.6f, 1e-4f);
    EXPECT_FALSE(m_Engine.IsPathBlocked({2000, -900, 0}, {2000, 100, 0}, 0, false));
    EXPECT_TRUE(m_Engine.IsPathBlocked({9000, 3000, 0}, {11000, 3000, 0}, 0, false));
    // A ball rolled out over the touchline comes back off the boards.
    const CVector start(2000, -480, 20);
    CVector position(2000, -550, 20), velocity(0, -1000, 0);
    BALLCOLLISIONQUERY query;
    query.pStart = &start;
    query.pPosition = &position;
    query.pVelocity = &velocity;
    query.fImpactTime = 0.07f;
    EXPECT_TRUE(m_Engine.TestBallCollision(query, 0.07f));
    EXPECT_GT(velocity.y, 0);
    EXPECT_GT(position.y, -500);
}

// A 3-D match at the ground of the starting world's first club, taken over
// by a human who has sold some of his boards.
class StadiumSceneTest : public humans_test::HumanWorld {
protected:
    void SetUp() override
    {
        HumanWorld::SetUp();
        std::filesystem::create_directory_symlink(std::filesystem::path(BRELLOX_GAME_DIR) / "MatchMeshes",
                                                  std::filesystem::current_path() / "MatchMeshes");
        m_pTarget = std::make_unique<plat::Surface>(64, 48, plat::PixelFormat::Rgb565);
        m_b3D = C3DEngine::SetupStatics(m_pTarget.get(), C3DEngine::DEVICE_ZBUFFER);
    }
    void TearDown() override
    {
        m_Engine.EndGame();
        C3DEngine::DestroyStatics();
        HumanWorld::TearDown();
    }
    bool Start()
    {
        ITEMMATCHRULESINFORMATION rules;
        const uint32_t dwSeed = 17;
        if (!m_Engine.StartGame(H(), 1, 2, 1, rules, 0, &dwSeed))
            return false;
        m_Engine.Enable3DDevice();
        return true;
    }
    // Whether the quad shows the cell of the rectangle (either way round).
    static bool Shows(const CHordings* pRow, uint32_t nQuad, const float* pRect)
    {
        const auto* v = static_cast<const D3DVERTEX*>(pRow->GetQuad(nQuad)->pVertices);
        const bool bU = (v[0].tu == pRect[0] && v[1].tu == pRect[1]) || (v[0].tu == pRect[1] && v[1].tu == pRect[0]);
        return bU && v[0].tv == pRect[2] && v[2].tv == pRect[3];
    }

    std::unique_ptr<plat::Surface> m_pTarget;
    bool m_b3D = false;
    CMatchEngine m_Engine;
};

TEST_F(StadiumSceneTest, TheRingTheBoardsAndTheirAdvertsAreBuiltAndTakenDownWhole)
{
    if (!m_b3D)
        GTEST_SKIP() << "3-D not available";
    CHoardingsManager& hoardings = m_pHuman->GetHoardings();
    hoardings.Reset();  // every place unsold
    hoardings.GetHoardings(HOARDINGS_2, 7)->byAdvertiser = 12;  // row 2, quad 1
    hoardings.GetHoardings(HOARDINGS_0, 0)->byAdvertiser = 49;  // row 4, quad 0
    hoardings.GetHoardings(HOARDINGS_3, 11)->byAdvertiser = 3;  // row 3, quad 11
    uint32_t dwEntries = 0;
    for (int nRun = 0; nRun < 2; ++nRun) {
        ASSERT_TRUE(Start()) << "run " << nRun;
        C3DEngine* p3D = m_Engine.Get3DEngine();
        ASSERT_NE(p3D, nullptr);
        // Every segment loaded, placed on its corner of the play bounds.
        EXPECT_EQ(m_Engine.GetStadiumModelCount(), 8);
        const float corners[8][2] = {{-650, -500}, {10650, -500}, {10650, -500}, {10650, 8000},
                                     {10650, 8000}, {-650, 8000}, {-650, 8000}, {-650, -500}};
        for (int s = 0; s < 8; ++s) {
            const CModel* pModel = m_Engine.GetStadiumSegment(s).pModel;
            ASSERT_NE(pModel, nullptr) << "segment " << s;
            EXPECT_FLOAT_EQ(pModel->GetWorldMatrix().m[3][0], corners[s][0]) << "segment " << s;
            EXPECT_FLOAT_EQ(pModel->GetWorldMatrix().m[3][1], corners[s][1]) << "segment " << s;
        }
        // Sold places show their advertiser, unsold ones the empty board.
        const float* pEmpty = m_Engine.GetAdvertRect(CMatchEngine::kNoAdvertRect);
        EXPECT_TRUE(Shows(m_Engine.GetBoardRow(1), 1, m_Engine.GetAdvertRect(12)));
        EXPECT_TRUE(Shows(m_Engine.GetBoardRow(3), 0, m_Engine.GetAdvertRect(49)));
        EXPECT_TRUE(Shows(m_Engine.GetBoardRow(2), 11, m_Engine.GetAdvertRect(3)));
        EXPECT_TRUE(Shows(m_Engine.GetBoardRow(0), 1, pEmpty));
        EXPECT_TRUE(Shows(m_Engine.GetBoardRow(4), 8, pEmpty));
        // Every advert has a cell of its own.
        EXPECT_FALSE(Shows(m_Engine.GetBoardRow(1), 1, m_Engine.GetAdvertRect(3)));
        EXPECT_FALSE(Shows(m_Engine.GetBoardRow(3), 0, pEmpty));
        // The second match's draw list holds what the first one's did: nothing left over.
        const uint32_t dwNow = p3D->GetMeshManager(0)->GetEntryCount();
        if (nRun == 0)
            dwEntries = dwNow;
        EXPECT_EQ(dwNow, dwEntries) << "run " << nRun;
        EXPECT_GE(dwNow, 8u + 42u);  // the ring and every board quad at least
        m_Engine.EndGame();
        EXPECT_EQ(m_Engine.GetStadiumModelCount(), 0);
        EXPECT_EQ(m_Engine.GetBoardRow(0), nullptr);
        EXPECT_EQ(m_Engine.GetDomeModel(), nullptr);
        EXPECT_EQ(m_Engine.Get3DEngine(), nullptr);
    }
}

TEST_F(StadiumSceneTest, WithoutSoldBoardsTheEndsAndTheNearSideMatchQuadForQuad)
{
    if (!m_b3D)
        GTEST_SKIP() << "3-D not available";
    // A computer-run club's ground: the visitors' one.
    ITEMMATCHRULESINFORMATION rules;
    const uint32_t dwSeed = 23;
    ASSERT_TRUE(m_Engine.StartGame(H(), 2, 1, 1, rules, 0, &dwSeed));
    m_Engine.Enable3DDevice();
    // Each quad shows one of the first sixteen advertisers.
    auto advertiser = [&](const CHordings* pRow, uint32_t nQuad) {
        for (int k = 1; k <= 16; ++k)
            if (Shows(pRow, nQuad, m_Engine.GetAdvertRect(k)))
                return k;
        return 0;
    };
    for (uint32_t i = 0; i < 6; ++i) {
        EXPECT_NE(advertiser(m_Engine.GetBoardRow(0), i), 0) << "quad " << i;
        EXPECT_EQ(advertiser(m_Engine.GetBoardRow(0), i), advertiser(m_Engine.GetBoardRow(1), i)) << "quad " << i;
    }
    for (uint32_t i = 0; i < 12; ++i)
        EXPECT_NE(advertiser(m_Engine.GetBoardRow(2), i), 0) << "quad " << i;
    for (uint32_t i = 0; i < 9; ++i) {
        EXPECT_NE(advertiser(m_Engine.GetBoardRow(3), i), 0) << "quad " << i;
        EXPECT_EQ(advertiser(m_Engine.GetBoardRow(3), i), advertiser(m_Engine.GetBoardRow(4), i)) << "quad " << i;
    }
}

TEST_F(StadiumSceneTest, TheSkyTurnsOneRadianInTheDivisorsTimeAndOnlyWhereTheWeatherTurnsIt)
{
    if (!m_b3D)
        GTEST_SKIP() << "3-D not available";
    CDate saturday = H().GetGameDate();
    while (saturday.GetDayOfWeek() != 6)
        ++saturday;
    H().SetGameDate(saturday);
    for (uint8_t byTurn : {0, 2}) {
        m_pHuman->GetCountry()->SetWeather(uint8_t(byTurn << 5));
        ASSERT_TRUE(Start());
        const CModel* pDome = m_Engine.GetDomeModel();
        ASSERT_NE(pDome, nullptr);
        EXPECT_FLOAT_EQ(pDome->GetWorldMatrix().m[3][2], -1000.0f);
        m_Engine.SetMatchTime(75000);
        m_Engine.UpdateSky();
        if (byTurn == 0) {
            EXPECT_FLOAT_EQ(pDome->GetWorldMatrix().m[3][2], -1000.0f);  // a still sky stays as it was set up
        } else {
            EXPECT_FLOAT_EQ(pDome->GetWorldMatrix().m[3][2], 0.0f);
            EXPECT_NEAR(pDome->GetWorldMatrix().m[0][0], 60.0f * std::cos(1.0f), 1e-3f);
            EXPECT_NEAR(pDome->GetWorldMatrix().m[0][1], -60.0f * std::sin(1.0f), 1e-3f);
        }
        m_Engine.EndGame();
    }
}

}  // namespace
