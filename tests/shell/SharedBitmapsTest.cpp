// The shared bitmaps, sprites and pointers load from the painted main
// archive at the sizes their users cut them by, and the pointer is drawn at
// the mouse less its hot spot.
#include "LogCapture.h"

#include "shell/CSharedBitmaps.h"
#include "xframework/CXManager.h"

#include "platform/PngWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

class SharedBitmapsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_dwGBitMask = 0x07E0;
        g_dwRBBitMask = 0xF81F;
        BuildColourTables();
        ASSERT_TRUE(m_archive.Open((std::string(BRELLOX_GAME_DIR) + "/GFX/Main.BFS").c_str()));
    }
    CFileManager m_archive;
};

TEST_F(SharedBitmapsTest, LoadsEveryPaintedBitmapAtItsSize)
{
    CSharedBitmaps bitmaps;
    LogCapture log;
    bitmaps.LoadBitmaps(m_archive);
    const struct {
        const char* pszName;
        int nWidth;
        int nHeight;
    } shared[] = {{"btnTree.bmp", 32, 16},   {"btnPTab.bmp", 64, 16},  {"btnTog.bmp", 168, 26},
                  {"btnTog2.bmp", 168, 26},  {"btnYesNo.bmp", 88, 52}, {"btnSort.bmp", 64, 16},
                  {"btnASort.bmp", 64, 16},  {"bgPopup.bmp", 596, 444}, {"SBButton.bmp", 32, 32},
                  {"SBHouse2.bmp", 16, 17},  {"SBThumb.bmp", 24, 9},   {"SBAThmb.bmp", 24, 9},
                  {"btnNP2.bmp", 64, 96}};
    for (const auto& b : shared) {
        const CXSurface* pSurface = bitmaps.GetBitmap(b.pszName);
        ASSERT_TRUE(pSurface) << b.pszName;
        EXPECT_EQ(pSurface->GetWidth(), b.nWidth) << b.pszName;
        EXPECT_EQ(pSurface->GetHeight(), b.nHeight) << b.pszName;
        EXPECT_EQ(pSurface->GetSurface()->hasColorKey(), std::string(b.pszName) != "bgPopup.bmp") << b.pszName;
        EXPECT_FALSE(log.Contains(b.pszName)) << b.pszName;
    }
    EXPECT_EQ(bitmaps.GetShadingSurface()->GetWidth(), 640);
    EXPECT_EQ(bitmaps.GetSprite("sldTrain.bmp")->m_nFrameCount, 2);
    for (const char* pszIcon : {"icnRtrd.bmp", "icnTick.bmp", "icnCross.bmp", "icnInj.bmp", "icnPend.bmp"}) {
        const CXAnimation* pIcon = bitmaps.GetSprite(pszIcon);
        ASSERT_TRUE(pIcon) << pszIcon;
        EXPECT_EQ(pIcon->m_nFrameWidth, 12);
        EXPECT_EQ(pIcon->m_nFrameCount, 1);
    }
    const int frames[CSharedBitmaps::kCursorKinds] = {1, 4, 16, 1, 4, 1};
    for (int nKind = 0; nKind < CSharedBitmaps::kCursorKinds; ++nKind) {
        bitmaps.SetMousePointer(nKind, 0, 0);
        ASSERT_TRUE(bitmaps.GetMousePointer()) << nKind;
        EXPECT_EQ(bitmaps.GetMousePointer()->m_nFrameCount, frames[nKind]);
    }
    EXPECT_EQ(bitmaps.GetCaret()->m_nFrameCount, 2);
    // What the archive lacks is named, not hidden.
    EXPECT_TRUE(log.Contains("'bgGraph.bmp' could not be loaded"));
    EXPECT_EQ(bitmaps.GetBitmap("bgGraph.bmp"), nullptr);
}

TEST_F(SharedBitmapsTest, PointerDrawsAtTheMouseLessTheHotSpot)
{
    CSharedBitmaps bitmaps;
    bitmaps.LoadBitmaps(m_archive);
    CXSurface screen;
    ASSERT_TRUE(screen.Create(320, 120, true, false));
    const uint32_t dwBackground = screen.ColorMatch(plat::RGB(24, 56, 80));
    screen.Fill(plat::RGB(24, 56, 80));

    LogCapture log;
    bitmaps.SetMousePointer(3, 12, 4);
    bitmaps.SetMousePointer(6, 0, 0);
    EXPECT_TRUE(log.Contains("[CGame::SetMousePointer] Unknown Stock Mouse Object!"));
    EXPECT_EQ(bitmaps.GetMousePointerKind(), 3);
    bitmaps.DrawMousePointer(&screen, 40, 40);
    // The open hand's 24 x 29 frame lands at (28, 36); nothing outside it.
    bool bInside = false;
    bool bOutside = false;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 320; ++x)
            if (screen.GetSurface()->pixel(x, y) != dwBackground)
                (x >= 28 && x < 52 && y >= 36 && y < 65 ? bInside : bOutside) = true;
    EXPECT_TRUE(bInside);
    EXPECT_FALSE(bOutside);

    // A sheet of the set beside each other, to be looked at.
    int x = 70;
    for (const char* pszName : {"btnTog.bmp", "btnYesNo.bmp", "btnPTab.bmp", "SBButton.bmp"}) {
        CXSurface* pFace = bitmaps.GetBitmap(pszName);
        CXSurface::BlitKeyed(&screen, pFace, x, 4);
        x += pFace->GetWidth() + 6;
    }
    x = 70;
    for (const char* pszIcon : {"icnTick.bmp", "icnCross.bmp", "icnCupS.bmp", "icnCupG.bmp", "icnFrien.bmp",
                                "icnPOff.bmp", "icnFAid.bmp", "icnInj.bmp", "icnYelow.bmp", "icnRed.bmp",
                                "icnStar.bmp", "icnEC.bmp", "icnPermt.bmp", "icnScout.bmp", "icnFax.bmp",
                                "icnTranb.bmp", "icnTranL.bmp", "icnLoanI.bmp", "icnLoanO.bmp", "icnFree.bmp",
                                "icnPend.bmp", "icnRtrd.bmp"}) {
        bitmaps.GetSprite(pszIcon)->DrawFrame(&screen, x, 70, 0, true);
        x += 14;
    }
    for (int nKind = 0; nKind < CSharedBitmaps::kCursorKinds; ++nKind) {
        bitmaps.SetMousePointer(nKind, 0, 0);
        bitmaps.GetMousePointer()->DrawFrame(&screen, 70 + nKind * 36, 84, 1 % bitmaps.GetMousePointer()->m_nFrameCount,
                                             true);
    }
    const std::string shots = std::string(BRELLOX_GAME_DIR) + "/../shots";
    std::filesystem::create_directories(shots);
    EXPECT_TRUE(plat::writePng(*screen.GetSurface(), shots + "/shared_bitmaps.png"));
}

}  // namespace
