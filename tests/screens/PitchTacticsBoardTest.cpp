// The tactics board's arithmetic: role and free-kick areas, where a marker
// may stand, the teams placed for a ball between zone centres, set-piece
// layouts and the substitutes' cells; the round trip through the human's
// working formation is driven on the screen (PitchTacticsTest).
#include "screens/CPitchTacticsBoard.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using B = CPitchTacticsBoard;

TEST(PitchTacticsBoard, AreaEdgesLandOnePixelShortOfWholeNumbers)
{
    const struct {
        int nRole, l, t, r, b;
    } roles[] = {{0, 100, 103, 133, 203}, {2, 100, 4, 233, 103}, {5, 233, 4, 266, 103},
                 {9, 266, 103, 332, 203}, {13, 332, 203, 499, 303}, {14, 366, 103, 419, 203}};
    for (const auto& c : roles) {
        const plat::Rect rc = B::GetRoleArea(c.nRole);
        EXPECT_EQ((std::vector<int>{rc.left, rc.top, rc.right, rc.bottom}), (std::vector<int>{c.l, c.t, c.r, c.b}))
            << "role " << c.nRole;
    }
    const struct {
        int nArea, l, t, r, b;
    } areas[] = {{0, 100, 4, 179, 63}, {16, 339, 103, 399, 203}, {18, 399, 4, 499, 33}, {26, 469, 33, 499, 63},
                 {27, 439, 243, 469, 273}};
    for (const auto& c : areas) {
        const plat::Rect rc = B::GetFreeKickAreaRect(c.nArea);
        EXPECT_EQ((std::vector<int>{rc.left, rc.top, rc.right, rc.bottom}), (std::vector<int>{c.l, c.t, c.r, c.b}))
            << "area " << c.nArea;
    }
}

TEST(PitchTacticsBoard, PointsFindTheirRoleAndFreeKickArea)
{
    const struct {
        int x, y, nRole;
    } roles[] = {
        {110, 150, 0}, {140, 150, 1}, {200, 150, 3},
        // Right edges are exclusive: x = 233 is the wing back's, not the full back's.
        {232, 50, 2},  {233, 50, 5},  {300, 250, 10}, {340, 150, 11}, {400, 150, 14}, {419, 150, 15},
        // On the pitch's last pixel no area holds the point: the keeper's role.
        {499, 303, 0},
    };
    for (const auto& c : roles)
        EXPECT_EQ(B::GetRoleFromPitchPosition(c.x, c.y), c.nRole) << c.x << "," << c.y;
    const struct {
        int x, y, nArea;
    } kicks[] = {{110, 10, 0}, {179, 33, 5}, {300, 280, 14}, {420, 20, 18}, {450, 40, 25},
                 {480, 280, 24}, {420, 150, 21},
                 // The penalty area and off the pitch hold no free kick.
                 {470, 150, -1}, {450, 100, -1}, {50, 50, -1}};
    for (const auto& c : kicks)
        EXPECT_EQ(B::GetFreeKickArea(c.x, c.y), c.nArea) << c.x << "," << c.y;
}

TEST(PitchTacticsBoard, CornerSpotsAndZones)
{
    EXPECT_EQ(B::GetCornerSpot(1, 480, 290), 1);
    EXPECT_EQ(B::GetCornerSpot(1, 460, 44), 0);
    EXPECT_FALSE(B::IsCornerSpotHit(1, 0, 300, 150));
    EXPECT_EQ(B::GetCornerSpot(1, 300, 150), 0) << "neither spot: side 0";
    EXPECT_TRUE(B::IsCornerSpotHit(0, 1, 120, 280)) << "the own end's corners in set 0";
    EXPECT_EQ(B::GetZoneAt(100, 4), 0);
    EXPECT_EQ(B::GetZoneAt(499, 303), 24);
    EXPECT_EQ(B::GetZoneAt(500, 100), -1);
    EXPECT_EQ(B::MirrorZone(6), 8);
    EXPECT_EQ(B::MirrorZone(12), 12);
    EXPECT_EQ(B::MirrorZone(20), 24);
}

TEST(PitchTacticsBoard, MarkersAreClampedByEntryAndSet)
{
    const struct {
        int nPlayer, x, y, nEntry, nSet, cx, cy;
    } cases[] = {
        {0, 10, 500, 5, 1, 10, 500},          // the keeper stands anywhere
        {12, 90, 200, 5, 1, 100, 313},        // a substitute stays on the bench band
        {12, 600, 330, 5, 1, 491, 327},
        {3, 50, 0, 5, 1, 100, 13},            // a zone entry: on the pitch
        {3, 600, 400, 12, 0, 491, 295},
        {3, 299, 154, 27, 1, 291, 154},       // kick-off: own half
        {3, 299, 154, 27, 0, 260, 154},       // defending: outside the centre circle
        {3, 291, 184, 27, 0, 274, 184},       // d = 30: r = 26
        {3, 291, 200, 27, 0, 291, 200},       // d = 46: clear of the circle
        {3, 120, 150, 28, 0, 172, 150},       // goal kick: out of the own penalty area
        {3, 120, 40, 28, 0, 120, 40},         // beside it
        {3, 480, 150, 29, 1, 419, 150},       // penalty at the far end
        {3, 480, 150, 29, 0, 480, 150},
        {3, 480, 240, 29, 1, 480, 240},
    };
    for (const auto& c : cases) {
        const BOARDPOINT p = B::ClampMarker(c.nPlayer, BOARDPOINT{int16_t(c.x), int16_t(c.y)}, c.nEntry, c.nSet);
        EXPECT_EQ(p.x, c.cx) << "player " << c.nPlayer << " at " << c.x << "," << c.y << " entry " << c.nEntry;
        EXPECT_EQ(p.y, c.cy) << "player " << c.nPlayer << " at " << c.x << "," << c.y << " entry " << c.nEntry;
    }
}

// A board whose zone z puts player i at (100 + 10z, 20 + i) in set 1 and
// (110 + 10z, 30 + i) in set 0, the opposition likewise from 300.
B MakeBoard()
{
    B board;
    for (int z = 0; z < B::kEntries; ++z)
        for (int i = 0; i < B::kPlayers; ++i) {
            board.m_aZone[z][1][i] = BOARDPOINT{int16_t(100 + 10 * z), int16_t(20 + i)};
            board.m_aZone[z][0][i] = BOARDPOINT{int16_t(110 + 10 * z), int16_t(30 + i)};
            board.m_aOpposition[z][1][i] = BOARDPOINT{int16_t(300 + z), int16_t(20 + i)};
            board.m_aOpposition[z][0][i] = BOARDPOINT{int16_t(300 + z), int16_t(40 + i)};
        }
    return board;
}

TEST(PitchTacticsBoard, TheBallBetweenZoneCentresPlacesBothTeams)
{
    const B board = MakeBoard();
    BOARDPOINT own[B::kPlayers], opposition[B::kPlayers];
    // At a zone centre all the weight is on that zone; the opposition reads
    // the zone seen from its own goal.
    for (int z : {0, 6, 12, 18}) {
        const BOARDPOINT centre = B::GetZoneCentre(z);
        ASSERT_TRUE(board.PlaceForBall(centre.x, centre.y, 1, 0, own, opposition)) << "zone " << z;
        EXPECT_EQ(own[4], board.m_aZone[z][1][4]) << "zone " << z;
        EXPECT_EQ(opposition[4], board.m_aOpposition[B::MirrorZone(z)][0][4]) << "zone " << z;
    }
    // Halfway between the centres of zones 6 and 7: 40/79 of the 10 pixels
    // between them, cut toward zero.
    ASSERT_TRUE(board.PlaceForBall(260, 94, 1, 1, own, opposition));
    EXPECT_EQ(own[0].x, 160 + 5);
    EXPECT_EQ(own[0].y, 20);
    // The opposition's zones 7 and 8 (their view of 7 and 6): 307 plus
    // 39/79 of one pixel, cut to nothing.
    EXPECT_EQ(opposition[0].x, 307);
    // A quarter down between zones 6 and 11 (15 of 59 pixels): 50 x 15/59.
    ASSERT_TRUE(board.PlaceForBall(220, 109, 0, 1, own, nullptr));
    EXPECT_EQ(own[2].x, 170 + static_cast<int>(15.0f * (1.0f / 59.0f) * 50.0f));
    // Past the last centre the clamp holds the ball on the last zone.
    ASSERT_TRUE(board.PlaceForBall(500, 304, 1, 1, own, nullptr));
    EXPECT_EQ(own[7], board.m_aZone[24][1][7]);
    // Off the pitch nothing is placed.
    own[0] = BOARDPOINT{1, 1};
    EXPECT_FALSE(board.PlaceForBall(99, 150, 1, 1, own, opposition));
    EXPECT_FALSE(board.PlaceForBall(300, 305, 1, 1, own, opposition));
    EXPECT_EQ(own[0], (BOARDPOINT{1, 1}));
}

TEST(PitchTacticsBoard, ASetPieceKeepsPositionsOnlyWhenTheyDifferFromTheLayout)
{
    B board = MakeBoard();
    const BOARDPOINT spot = B::GetZoneCentre(13);
    SETPIECEROUTINE routine;
    board.LoadSetPiece(routine, spot, 1);
    EXPECT_EQ(board.m_aSetPiece[5], board.m_aZone[13][1][5]) << "laid out at the spot";
    board.StoreSetPiece(routine, spot, 1);
    EXPECT_FALSE(routine.bHasPoints) << "an unchanged layout is not kept";
    board.m_aSetPiece[5] = BOARDPOINT{400, 200};
    board.StoreSetPiece(routine, spot, 1);
    ASSERT_TRUE(routine.bHasPoints);
    EXPECT_EQ(routine.awPoints[5][0], 400);
    EXPECT_EQ(routine.awPoints[5][1], 200);
    // Kept positions come back whatever the spot.
    B other = MakeBoard();
    other.LoadSetPiece(routine, B::GetZoneCentre(2), 0);
    EXPECT_EQ(other.m_aSetPiece[5], (BOARDPOINT{400, 200}));
    EXPECT_EQ(other.m_aSetPiece[4], board.m_aZone[13][1][4]);
}

TEST(PitchTacticsBoard, ResettingTheGridEmptiesEveryCellAndBenchesTheSubstitutes)
{
    B board;
    board.m_aGrid[1][3] = SUBSTITUTIONCELL{1, 1, 7};
    board.m_aBench[1][3] = BOARDPOINT{400, 320};
    board.ResetGrid();
    for (int nSide = 0; nSide < 2; ++nSide)
        for (int k = 0; k < B::kSubstitutes; ++k) {
            EXPECT_EQ(board.m_aGrid[nSide][k].byStrip, 0);
            EXPECT_EQ(board.m_aGrid[nSide][k].byDone, 0);
            EXPECT_EQ(board.m_aGrid[nSide][k].byReplaced, 255);
            EXPECT_EQ(board.m_aBench[nSide][k], (BOARDPOINT{int16_t(118 + 28 * k), 313}));
        }
}

}  // namespace
