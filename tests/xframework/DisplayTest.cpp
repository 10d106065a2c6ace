#include "PixelLayout.h"
#include "PngPicture.h"

#include "shell/CFileManager.h"
#include "xframework/CXManager.h"

#include "platform/DeviceContext.h"
#include "platform/PngWriter.h"
#include "platform/Window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

class Display : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pWindow = plat::Window::create("Corravin", 800, 600);
        ASSERT_NE(m_pWindow, nullptr) << plat::Window::lastError();
        m_manager.m_hWnd = m_pWindow;
    }
    void TearDown() override
    {
        m_manager.ReleaseDirectDraw();
        delete m_pWindow;
        UseLayout(false);
    }
    plat::Window* m_pWindow = nullptr;
    CXManager m_manager;
};

TEST_F(Display, DrawsAKeyedArchiveBitmapTextAndShapesIntoAFrameOnDisk)
{
    ASSERT_TRUE(m_manager.SetUp(800, 600, 16, XMODE_FULLSCREEN | XMODE_BACKBUFFER | XMODE_GAME));
    BuildColourTables();
    CXSurface* pBack = m_manager.GetBackSurface();
    ASSERT_NE(pBack, nullptr);
    EXPECT_EQ(pBack->m_nWidth, 800);
    EXPECT_EQ(g_dwGBitMask, 0x07E0u);
    EXPECT_EQ(m_manager.m_dwSurfaceMode, 2u);

    CFileManager archive;
    ASSERT_TRUE(archive.Open((std::string(BRELLOX_GAME_DIR) + "/GFX/Main.BFS").c_str()));
    bool bFound = false;
    long nSize = 0;
    FILE* pFile = archive.Get("CURX1.BMP", &nSize, &bFound);
    ASSERT_TRUE(bFound);
    CXSurface cursor;
    ASSERT_TRUE(cursor.CreateFromBitmap(pFile, true, true, nSize));
    EXPECT_EQ(cursor.m_nWidth, 12);
    EXPECT_EQ(cursor.m_nHeight, 20);
    // The painted pointer: transparent at its top-right, white inside, black edge.
    EXPECT_EQ(cursor.m_pSurface->pixel(11, 0), 0xF81F);
    EXPECT_EQ(cursor.m_pSurface->pixel(2, 8), 0xFFFF);
    EXPECT_EQ(cursor.m_pSurface->pixel(0, 8), 0x0000);

    ASSERT_EQ(pBack->Fill(plat::RGB(0, 0, 128)), plat::kOk);
    ASSERT_EQ(CXSurface::BlitKeyed(pBack, &cursor, 100, 100), plat::kOk);

    plat::DeviceContext* pDC = pBack->m_pSurface->getDC();
    std::unique_ptr<plat::Font> font(plat::Font::create(24, 900, "Arial"));
    ASSERT_NE(font, nullptr);
    pDC->selectFont(font.get());
    pDC->setBkMode(plat::TRANSPARENT);
    pDC->setTextColor(plat::RGB(255, 255, 255));
    const char* pszText = "Corravin";
    plat::Size extent;
    ASSERT_TRUE(pDC->getTextExtentPoint(pszText, -1, &extent));
    EXPECT_EQ(extent.cy, 24);
    pDC->textOut(200, 40, pszText);
    std::unique_ptr<plat::Brush> red(plat::Brush::createSolid(plat::RGB(255, 0, 0)));
    plat::Pen yellow(plat::PS_SOLID, 1, plat::RGB(255, 255, 0));
    pDC->selectBrush(red.get());
    pDC->selectPen(&yellow);
    pDC->rectangle(300, 300, 340, 330);
    pDC->ellipse(400, 300, 440, 340);
    pBack->m_pSurface->releaseDC(pDC);
    m_manager.Present();

    char szFolder[] = "/tmp/brellox-display-XXXXXX";
    ASSERT_NE(mkdtemp(szFolder), nullptr);
    const std::string path = std::string(szFolder) + "/frame.png";
    ASSERT_TRUE(plat::writePng(*pBack->m_pSurface, path));
    // What was presented is the same frame.
    EXPECT_EQ(m_manager.GetFrontSurface()->m_pSurface->pixel(320, 315), pBack->m_pSurface->pixel(320, 315));

    Picture picture;
    ASSERT_TRUE(ReadPng(path, picture));
    std::system(("rm -rf '" + std::string(szFolder) + "'").c_str());
    ASSERT_EQ(picture.width, 800);
    ASSERT_EQ(picture.height, 600);
    const plat::COLORREF navy = plat::RGB(0, 0, 132);  // 128 in 5 bits, widened again
    EXPECT_EQ(picture.At(5, 5), navy);
    EXPECT_EQ(picture.At(111, 100), navy);  // the pointer's transparent corner
    EXPECT_EQ(picture.At(102, 108), plat::RGB(255, 255, 255));
    EXPECT_EQ(picture.At(100, 108), plat::RGB(0, 0, 0));
    // The rectangle: pen on left..right-1 and top..bottom-1, brush inside.
    EXPECT_EQ(picture.At(300, 300), plat::RGB(255, 255, 0));
    EXPECT_EQ(picture.At(339, 329), plat::RGB(255, 255, 0));
    EXPECT_EQ(picture.At(320, 315), plat::RGB(255, 0, 0));
    EXPECT_EQ(picture.At(340, 315), navy);
    EXPECT_EQ(picture.At(320, 330), navy);
    // The ellipse touches its box's edges at their middles, not its corners.
    EXPECT_EQ(picture.At(420, 320), plat::RGB(255, 0, 0));
    EXPECT_EQ(picture.At(400, 320), plat::RGB(255, 255, 0));
    EXPECT_EQ(picture.At(400, 300), navy);
    // The text: only white or background inside its cell (no blended fringe),
    // a fair number of white pixels, and nothing outside the cell.
    int nWhite = 0;
    for (int y = 30; y < 80; ++y)
        for (int x = 190; x < 220 + extent.cx; ++x) {
            const plat::COLORREF c = picture.At(x, y);
            const bool inCell = x >= 200 && x < 200 + extent.cx && y >= 40 && y < 40 + extent.cy;
            if (c == plat::RGB(255, 255, 255)) {
                ++nWhite;
                EXPECT_TRUE(inCell) << x << "," << y;
            } else {
                EXPECT_EQ(c, navy) << x << "," << y;
            }
        }
    EXPECT_GT(nWhite, 100);
}

TEST_F(Display, RunsInTheOtherLayoutWhenAsked)
{
    ASSERT_TRUE(m_manager.SetUp(640, 480, 15, XMODE_FULLSCREEN | XMODE_BACKBUFFER));
    EXPECT_EQ(g_dwGBitMask, 0x03E0u);
    EXPECT_EQ(g_dwRBBitMask, 0x7C1Fu);
    CXSurface* pBack = m_manager.GetBackSurface();
    ASSERT_NE(pBack, nullptr);
    EXPECT_EQ(pBack->m_nWidth, 640);
    EXPECT_EQ(pBack->m_pSurface->format(), plat::PixelFormat::Rgb555);
    EXPECT_EQ(pBack->ColorMatch(plat::RGB(255, 0, 255)), 0x7C1Fu);
    m_manager.m_bShowFPS = 1;
    pBack->Fill(0);
    m_manager.Present();  // draws the read-out at the top right
    bool bDrawn = false;
    for (int x = 560; x < 640 && !bDrawn; ++x)
        for (int y = 0; y < 14 && !bDrawn; ++y)
            bDrawn = pBack->m_pSurface->pixel(x, y) != 0;
    EXPECT_TRUE(bDrawn);
}

TEST_F(Display, RefusesASetUpWithoutABackBuffer)
{
    EXPECT_FALSE(m_manager.SetUp(800, 600, 16, XMODE_FULLSCREEN));
    CXManager unbound;
    EXPECT_FALSE(unbound.SetUp(800, 600, 16, XMODE_FULLSCREEN | XMODE_BACKBUFFER));
}

}  // namespace
