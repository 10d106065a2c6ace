// The full-screen 3-D ground view over a running game: the ground
// development screen's button opens it at 640 x 480, the left button steers
// the camera within the plan, the right button zooms within its bounds,
// Space hides the facility signs and Escape goes back; the surroundings
// leave out every taken cell, keep their trees when something is built
// elsewhere, and two grounds drawn headless show their pitch and stands.
#include "ScreenGame.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "match/CHordings.h"
#include "platform/Messages.h"
#include "render3d/C3DEngine.h"
#include "screens/CClientGroundDevelopment.h"
#include "screens/CClientGroundView.h"
#include "season/CComponentDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CSaveGame.h"
#include "shell/WinMain.h"
#include "xframework/CXButton.h"
#include "xframework/CXSurface.h"

#include <chrono>
#include <cmath>
#include <thread>
#include <map>
#include <utility>

namespace {

using View = CClientGroundView;
constexpr float kPi = 3.14159265f;

class GroundView : public ScreenGame {
protected:
    static void Send(uint32_t message, int x, int y) { MainWndProc(message, 0, plat::makeLParam(x, y)); }
    void Key(uint32_t key)
    {
        MainWndProc(plat::WM_KEYDOWN, key, 0);
        m_game.Update();
    }
    CClubDatabase& Club() { return *Human().GetClub(); }
    // The development screen of the club, then a click on its 3-D button.
    View& Open(const CClubDatabase& club)
    {
        g_pNavigationBar->SetNextClient(&GetGroundDevelopmentScreen(), club.GetID());
        m_game.Update();
        m_game.Update();
        EXPECT_EQ(g_pCurrentClient, &GetGroundDevelopmentScreen());
        auto* pButton =
            dynamic_cast<CXButton*>(GetGroundDevelopmentScreen().FindControl(CClientGroundDevelopment::ID_GROUND_VIEW));
        EXPECT_TRUE(pButton && pButton->m_bVisible);
        if (pButton) {
            pButton->OnLButtonDown(0, 2, 2);
            pButton->OnLButtonUp(0, 2, 2);
        }
        m_game.Update();
        return GetGroundViewScreen();
    }
    void Close()
    {
        Key(plat::VK_ESCAPE);
        m_game.Update();
    }
    // Trees, lamps and beacons of every free cell.
    static std::map<std::pair<int, int>, int> Billboards(const View& view)
    {
        std::map<std::pair<int, int>, int> counts;
        for (int c = 0; c < View::kColumns; ++c)
            for (int r = 0; r < View::kRows; ++r)
                counts[{c, r}] = view.CountBillboardsOnCell(c, r);
        return counts;
    }
    static bool Has3D() { return C3DEngine::Is3DAvailable(); }
};

TEST_F(GroundView, TheButtonOpensTheViewTheMouseSteersAndZoomsAndEscapeReturns)
{
    View& view = Open(Club());
    ASSERT_EQ(g_pCurrentClient, &view);
    EXPECT_TRUE(m_game.m_bFullView);
    ASSERT_NE(m_game.GetBackSurface(), nullptr);
    EXPECT_EQ(m_game.GetBackSurface()->m_nWidth, 640);
    EXPECT_EQ(m_game.GetBackSurface()->m_nHeight, 480);
    EXPECT_EQ(view.GetClub(), &Club());
    if (!Has3D())
        GTEST_SKIP() << "no 3-D device";
    ASSERT_NE(view.GetEngine(), nullptr);
    EXPECT_FLOAT_EQ(view.GetTarget()[0], 31500);
    EXPECT_FLOAT_EQ(view.GetTarget()[1], 22000);
    EXPECT_FLOAT_EQ(view.GetYaw(), kPi / 4);

    // Held below the centre: forward along the yaw, 100 units a second for
    // every pixel of the offset.
    Send(plat::WM_LBUTTONDOWN, 320, 340);
    ASSERT_TRUE(view.IsLeftHeld());
    const float x0 = view.GetTarget()[0], y0 = view.GetTarget()[1];
    view.Steer(500);
    EXPECT_NEAR(view.GetTarget()[0] - x0, std::sin(kPi / 4) * 5000, 1);
    EXPECT_NEAR(view.GetTarget()[1] - y0, std::cos(kPi / 4) * 5000, 1);
    // Moving the held mouse to the centre stops it.
    Send(plat::WM_MOUSEMOVE, 320, 240);
    const float x1 = view.GetTarget()[0], y1 = view.GetTarget()[1];
    view.Steer(1000);
    EXPECT_FLOAT_EQ(view.GetTarget()[0], x1);
    EXPECT_FLOAT_EQ(view.GetTarget()[1], y1);
    Send(plat::WM_LBUTTONUP, 320, 240);
    EXPECT_FALSE(view.IsLeftHeld());

    // The right button dragged down zooms out to 3.0, up in to 0.75; the
    // distance keeps its proportion to the zoom.
    ASSERT_FLOAT_EQ(view.GetZoom(), 2.0f);
    ASSERT_EQ(view.GetDistance(), 12000);
    Send(plat::WM_RBUTTONDOWN, 320, 0);
    Send(plat::WM_MOUSEMOVE, 320, 50);
    EXPECT_NEAR(view.GetZoom(), 2.5f, 1e-4);
    EXPECT_EQ(view.GetDistance(), 15000);
    Send(plat::WM_MOUSEMOVE, 320, 479);
    EXPECT_FLOAT_EQ(view.GetZoom(), 3.0f);
    EXPECT_EQ(view.GetDistance(), 18000);
    Send(plat::WM_MOUSEMOVE, 320, 0);
    EXPECT_FLOAT_EQ(view.GetZoom(), 0.75f);
    EXPECT_EQ(view.GetDistance(), 4500);
    Send(plat::WM_RBUTTONUP, 320, 0);
    Send(plat::WM_MOUSEMOVE, 320, 479);
    EXPECT_FLOAT_EQ(view.GetZoom(), 0.75f);

    // Space hides the facility signs and shows them again.
    ASSERT_TRUE(view.AreSignsShown());
    Key(plat::VK_SPACE);
    EXPECT_FALSE(view.AreSignsShown());
    Key(plat::VK_SPACE);
    EXPECT_TRUE(view.AreSignsShown());

    Close();
    EXPECT_FALSE(m_game.m_bFullView);
    EXPECT_EQ(g_pCurrentClient, &GetGroundDevelopmentScreen());
    EXPECT_EQ(m_game.GetBackSurface()->m_nWidth, 800);
    EXPECT_EQ(view.GetEngine(), nullptr) << "the scene is freed on leaving";
}

TEST_F(GroundView, SteeringKeepsTheTargetOnThePlanAndTheYawWithinAHalfTurn)
{
    View& view = Open(Club());
    if (!Has3D())
        GTEST_SKIP() << "no 3-D device";
    // At the bottom edge the target drives 23,900 units a second until the
    // plan's bounds stop it.
    Send(plat::WM_LBUTTONDOWN, 320, 479);
    view.Steer(5000);
    EXPECT_FLOAT_EQ(view.GetTarget()[0], View::kMaxTargetX);
    EXPECT_FLOAT_EQ(view.GetTarget()[1], View::kMaxTargetY);
    // Backwards to the other corner.
    Send(plat::WM_MOUSEMOVE, 320, 0);
    view.Steer(5000);
    EXPECT_FLOAT_EQ(view.GetTarget()[0], View::kMinTargetX);
    EXPECT_FLOAT_EQ(view.GetTarget()[1], View::kMinTargetY);
    // Far left turns 320 / 70 radians a second: from pi/4 past pi it wraps
    // round to just above -pi.
    Send(plat::WM_MOUSEMOVE, 0, 240);
    view.Steer(520);
    EXPECT_GT(view.GetYaw(), -kPi);
    EXPECT_LT(view.GetYaw(), -kPi + 0.05f);
    Send(plat::WM_LBUTTONUP, 0, 240);
    Close();
}

TEST_F(GroundView, TakenCellsHaveNoTilesAndTheTreesElsewhereStayWhenOneIsFreed)
{
    CGroundDatabase& ground = *Club().GetGround();
    CComponentDatabase* pFacility = nullptr;
    for (CComponentDatabase* p : ground.GetComponents().Items<CComponentDatabase>())
        if (p->GetMainType() == COMPONENT_FACILITY && p->IsFinished())
            pFacility = p;
    ASSERT_NE(pFacility, nullptr) << "a new game's ground has facilities";
    int fx = 0, fy = 0, fw = 0, fh = 0;
    ASSERT_TRUE(CGroundDatabase::GetComponentRect(COMPONENT_FACILITY, pFacility->GetSubType(),
                                                  pFacility->GetSpecificData(), fx, fy, fw, fh));

    View& view = Open(Club());
    if (!Has3D())
        GTEST_SKIP() << "no 3-D device";
    for (int c = 20; c <= 42; ++c)
        for (int r = 12; r <= 31; ++r)
            ASSERT_EQ(view.GetTileModel(c, r), nullptr) << "the stadium plot at " << c << ", " << r;
    for (int c = fx; c < fx + fw; ++c)
        for (int r = fy; r < fy + fh; ++r) {
            EXPECT_EQ(view.GetTileModel(c, r), nullptr) << c << ", " << r;
            EXPECT_EQ(view.CountBillboardsOnCell(c, r), 0) << c << ", " << r;
        }
    // The road across the top, where nothing may be built, and the plot's
    // own stands and boards.
    EXPECT_NE(view.GetTileModel(0, 3), nullptr);
    EXPECT_EQ(view.GetStandModelCount() >= 8, true);
    for (int r = 0; r < View::kBoardRows; ++r)
        EXPECT_NE(view.GetBoardRow(r), nullptr);
    int nTrees = 0;
    const auto before = Billboards(view);
    for (const auto& cell : before)
        nTrees += cell.second;
    EXPECT_GT(nTrees, 20) << "trees and lamps stand round the ground";
    Close();

    // The facility pulled down: its cells get their tiles, and every other
    // cell keeps its trees.
    pFacility->SetDemolished(true);
    View& again = Open(Club());
    const auto after = Billboards(again);
    for (const auto& cell : before) {
        const auto [c, r] = cell.first;
        const bool bFreed = c >= fx && c < fx + fw && r >= fy && r < fy + fh;
        if (!bFreed)
            EXPECT_EQ(after.at(cell.first), cell.second) << c << ", " << r;
        else if (CGroundDatabase::GetPlanTerrain(c, r) >= 0)
            EXPECT_NE(again.GetTileModel(c, r), nullptr) << c << ", " << r;
    }
    Close();
}

// The share of the block's pixels in which green leads red and blue.
double GreenShare(const plat::Surface& frame, int x0, int y0, int x1, int y1)
{
    int nGreen = 0, nAll = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint16_t p = reinterpret_cast<const uint16_t*>(frame.bytes() + y * frame.pitch())[x];
            const int r = (p >> 11) << 3, g = ((p >> 5) & 63) << 2, b = (p & 31) << 3;
            nGreen += g > r + 16 && g > b + 16;
            ++nAll;
        }
    return nAll ? double(nGreen) / nAll : 0;
}

TEST_F(GroundView, TwoGroundsAreDrawnWithTheirPitchAndStands)
{
    // The human's club and a bigger ground of another club.
    const CClubDatabase* pOther = nullptr;
    for (ID_CLUB id = 1; id < 2000; ++id) {
        const CClubDatabase* p = m_pWorld->GetClubFromID(id);
        if (p && p != &Club() && p->GetGround() &&
            (!pOther || p->GetGround()->GetCapacity() > pOther->GetGround()->GetCapacity()))
            pOther = p;
    }
    ASSERT_NE(pOther, nullptr);
    int nStands[2] = {};
    int k = 0;
    for (const CClubDatabase* pClub : {static_cast<const CClubDatabase*>(&Club()), pOther}) {
        View& view = Open(*pClub);
        if (!Has3D())
            GTEST_SKIP() << "no 3-D device";
        // Let the name panel slide up.
        for (int i = 0; i < 100 && view.GetPanelState() != 2; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            m_game.Update();
        }
        EXPECT_EQ(view.GetPanelState(), 2);
        Shoot(k == 0 ? "groundview-own" : "groundview-other");
        const plat::Surface& frame = *m_game.GetFrontSurface()->m_pSurface;
        // The camera looks at the pitch's centre.
        EXPECT_GT(GreenShare(frame, 280, 200, 360, 260), 0.6) << pClub->GetName();
        // Zoomed out over the surroundings.
        Send(plat::WM_RBUTTONDOWN, 320, 0);
        Send(plat::WM_MOUSEMOVE, 320, 479);
        Send(plat::WM_RBUTTONUP, 320, 479);
        Shoot(k == 0 ? "groundview-own-far" : "groundview-other-far");
        nStands[k++] = static_cast<int>(view.GetStandModelCount());
        Close();
    }
    EXPECT_GE(nStands[0], 8);
    EXPECT_GE(nStands[1], 8);
}

}  // namespace
