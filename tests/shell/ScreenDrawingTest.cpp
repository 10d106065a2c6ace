// The shared background, shading, kit colour boxes and hoardings, over a
// small archive painted here.
#include "LogCapture.h"
#include "shell/CGame.h"
#include "shell/ScreenDrawing.h"
#include "tools/gfxkit/BfsWriter.h"
#include "tools/gfxkit/BmpWriter.h"
#include "xframework/CXClient.h"
#include "xframework/CXManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

COLORREF ColourAt(const CXSurface& surface, int x, int y)
{
    return plat::pixelToColor(surface.GetSurface()->pixel(x, y), surface.GetSurface()->format());
}

// A colour as a 5-6-5 pixel holds it.
COLORREF AsStored(COLORREF crColour)
{
    return plat::pixelToColor(plat::colorToPixel(crColour, plat::PixelFormat::Rgb565), plat::PixelFormat::Rgb565);
}

class ScreenDrawingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_dwGBitMask = 0x07E0;
        g_dwRBBitMask = 0xF81F;
        BuildColourTables();
        m_path = fs::temp_directory_path() / ("screendrawing_" + std::to_string(::getpid()) + ".BFS");
        std::vector<tools::BfsMember> members = {{"bgRed.bmp", Painted(8, 6, plat::RGB(255, 0, 0))},
                                                 {"bgBlue.bmp", Painted(8, 6, plat::RGB(0, 0, 255))},
                                                 {"EHord.bmp", Painted(16, 4, plat::RGB(0, 255, 0))},
                                                 {"bgBroken.bmp", {'B', 'M', 1, 2, 3}}};
        std::string error;
        ASSERT_TRUE(tools::writeBfs(members, m_path.string(), error)) << error;
        ASSERT_TRUE(m_archive.Open(m_path.c_str()));
        m_pPreviousArchive = g_pMainArchive;
        g_pMainArchive = &m_archive;
    }
    void TearDown() override
    {
        FreeBackgroundBitmap();
        g_pMainArchive = m_pPreviousArchive;
        m_archive.Close();
        fs::remove(m_path);
    }
    static std::vector<uint8_t> Painted(int nWidth, int nHeight, COLORREF crColour)
    {
        plat::BitmapInfoHeader header;
        header.width = nWidth;
        header.height = nHeight;
        std::unique_ptr<plat::Bitmap> pBitmap(plat::Bitmap::create(header));
        for (int y = 0; y < nHeight; ++y)
            for (int x = 0; x < nWidth; ++x)
                pBitmap->setColorAt(x, y, crColour);
        return tools::encodeBmp(*pBitmap);
    }

    fs::path m_path;
    CFileManager m_archive;
    CFileManager* m_pPreviousArchive = nullptr;
};

TEST_F(ScreenDrawingTest, BackgroundLoadsOnceAndKeepsTheLastGoodOne)
{
    ASSERT_TRUE(SetBackgroundBitmap("bgRed.bmp"));
    CXSurface* pRed = GetBackgroundSurface();
    ASSERT_TRUE(pRed);
    EXPECT_EQ(ColourAt(*pRed, 3, 3), plat::RGB(248, 0, 0));
    // The same name again keeps the very surface.
    EXPECT_TRUE(SetBackgroundBitmap("bgRed.bmp"));
    EXPECT_EQ(GetBackgroundSurface(), pRed);

    EXPECT_TRUE(SetBackgroundBitmap("bgBlue.bmp"));
    EXPECT_EQ(ColourAt(*GetBackgroundSurface(), 3, 3), plat::RGB(0, 0, 248));
    EXPECT_STREQ(GetBackgroundName(), "bgBlue.bmp");

    // A missing or damaged member leaves the blue background and its name,
    // so asking for blue again does not reload anything.
    LogCapture log;
    CXSurface* pBlue = GetBackgroundSurface();
    EXPECT_FALSE(SetBackgroundBitmap("bgNone.bmp"));
    EXPECT_FALSE(SetBackgroundBitmap("bgBroken.bmp"));
    EXPECT_TRUE(log.Contains("bgBroken.bmp"));
    EXPECT_EQ(GetBackgroundSurface(), pBlue);
    EXPECT_STREQ(GetBackgroundName(), "bgBlue.bmp");
}

TEST_F(ScreenDrawingTest, ShadingDarkensOnlyTheRectangleEvenBeyondTheStrip)
{
    CXSurface screen;
    ASSERT_TRUE(screen.Create(50, 40, true, false));
    screen.Fill(plat::RGB(200, 200, 200));
    // A strip smaller than the rectangle, as black as the shared one.
    CXSurface strip;
    ASSERT_TRUE(strip.Create(16, 8, true, false));
    strip.Fill(plat::RGB(0, 0, 0));

    ShadeRectangle(&screen, &strip, 5, 4, 45, 30);
    const COLORREF crPlain = ColourAt(screen, 0, 0);
    const COLORREF crShaded = ColourAt(screen, 44, 29);
    // 0.8 of 200 in each channel, as far as 5-6-5 pixels hold it.
    EXPECT_NEAR(plat::GetRValue(crShaded), 160, 8);
    EXPECT_NEAR(plat::GetGValue(crShaded), 160, 4);
    for (const auto& [x, y] : {std::pair{5, 4}, {20, 12}, {44, 4}, {5, 29}, {30, 20}})
        EXPECT_EQ(ColourAt(screen, x, y), crShaded) << x << "," << y;
    for (const auto& [x, y] : {std::pair{4, 4}, {45, 29}, {5, 3}, {44, 30}})
        EXPECT_EQ(ColourAt(screen, x, y), crPlain) << x << "," << y;

    // Rectangles partly or wholly off the screen are cut, not written past it.
    ShadeRectangle(&screen, &strip, -20, -20, 10, 10);
    ShadeRectangle(&screen, &strip, 100, 100, 200, 200);
    ShadeRectangle(&screen, nullptr, 0, 0, 10, 10);
    EXPECT_EQ(ColourAt(screen, 49, 39), crPlain);
}

TEST_F(ScreenDrawingTest, ColourBoxesFrameLightColoursInBlack)
{
    CXSurface target;
    ASSERT_TRUE(target.Create(64, 17, true, false));
    target.Fill(plat::RGB(255, 0, 255));
    const COLORREF crLight = plat::RGB(0, 200, 248);  // (200 + 248) / 3 > 127
    const COLORREF crDark = plat::RGB(248, 120, 128);  // (120 + 128) / 3 is not
    DrawColourBoxes(&target, crLight, crDark);

    const COLORREF crBlack = plat::RGB(0, 0, 0);
    const COLORREF crWhite = AsStored(plat::RGB(255, 255, 255));
    EXPECT_EQ(ColourAt(target, 1, 1), crBlack);
    EXPECT_EQ(ColourAt(target, 31, 15), crBlack);
    EXPECT_EQ(ColourAt(target, 3, 3), ColourAt(target, 29, 13));
    EXPECT_EQ(ColourAt(target, 3, 3), AsStored(crLight));
    EXPECT_EQ(ColourAt(target, 2, 2), crBlack);
    EXPECT_EQ(ColourAt(target, 30, 14), crBlack);

    EXPECT_EQ(ColourAt(target, 33, 1), crWhite);
    EXPECT_EQ(ColourAt(target, 63, 15), crWhite);
    EXPECT_EQ(ColourAt(target, 35, 3), AsStored(crDark));
    EXPECT_EQ(ColourAt(target, 61, 13), ColourAt(target, 35, 3));
    // The gap between the boxes and the row above them are not drawn.
    EXPECT_EQ(ColourAt(target, 32, 8), plat::RGB(248, 0, 248));
    EXPECT_EQ(ColourAt(target, 10, 0), plat::RGB(248, 0, 248));
}

TEST_F(ScreenDrawingTest, HoardingOfTheLanguage)
{
    EXPECT_STREQ(GetHoardingBitmapName("english"), "EHord.bmp");
    EXPECT_STREQ(GetHoardingBitmapName("French"), "FHord.bmp");
    EXPECT_STREQ(GetHoardingBitmapName("GERMAN"), "GHord.bmp");
    EXPECT_STREQ(GetHoardingBitmapName("Italian"), "IHord.bmp");
    EXPECT_STREQ(GetHoardingBitmapName("spanish"), "SHord.bmp");
    EXPECT_EQ(GetHoardingBitmapName("Dutch"), nullptr);
    EXPECT_EQ(GetHoardingBitmapName(nullptr), nullptr);

    std::unique_ptr<CXSurface> pHoarding(GetHoardingBitmap("English"));
    ASSERT_TRUE(pHoarding);
    EXPECT_EQ(pHoarding->GetWidth(), 16);
    LogCapture log;
    EXPECT_EQ(GetHoardingBitmap("French"), nullptr);  // not in this archive
    EXPECT_EQ(GetHoardingBitmap("Dutch"), nullptr);
    EXPECT_TRUE(log.Contains("Dutch"));
}

// A tab bitmap whose column c is green c * 4 (exact in 5-6-5 pixels), so
// every pixel of a drawn tab tells which column it came from.
class CaptionTabTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_dwGBitMask = 0x07E0;
        g_dwRBBitMask = 0xF81F;
        BuildColourTables();
        ASSERT_TRUE(m_tab.Create(64, 16, true, false));
        for (int c = 0; c < 64; ++c) {
            const plat::Rect column{c, 0, c + 1, 16};
            m_tab.GetSurface()->fill(&column, plat::colorToPixel(plat::RGB(0, c * 4, 0), plat::PixelFormat::Rgb565));
        }
        ASSERT_TRUE(m_target.Create(120, 60, true, false));
        m_target.Fill(plat::RGB(255, 255, 255));
    }
    // The tab column a target pixel was copied from; -1 when untouched.
    int ColumnAt(int x, int y) const
    {
        const COLORREF crColour = ColourAt(m_target, x, y);
        return plat::GetRValue(crColour) == 0 ? plat::GetGValue(crColour) / 4 : -1;
    }
    // The columns of one row of the target, left to right.
    std::vector<int> Row(int x1, int x2, int y) const
    {
        std::vector<int> columns;
        for (int x = x1; x < x2; ++x)
            columns.push_back(ColumnAt(x, y));
        return columns;
    }
    static std::vector<int> Expected(int nUntouchedBefore, int nLeft, int nMiddle, int nUntouchedAfter)
    {
        std::vector<int> columns(static_cast<size_t>(nUntouchedBefore), -1);
        for (int i = 0; i < nLeft; ++i)
            columns.push_back(32 + i);
        columns.insert(columns.end(), static_cast<size_t>(nMiddle), 59);
        for (int c = 60; c < 64; ++c)
            columns.push_back(c);
        columns.insert(columns.end(), static_cast<size_t>(nUntouchedAfter), -1);
        return columns;
    }

    CXSurface m_tab;
    CXSurface m_target;
};

TEST_F(CaptionTabTest, TabIsCutFromItsThreePieces)
{
    DrawCaptionTab(&m_target, &m_tab, nullptr, 10, 5, 50, nullptr);
    EXPECT_EQ(Row(8, 62, 5), Expected(2, 27, 19, 2));
    EXPECT_EQ(Row(8, 62, 20), Expected(2, 27, 19, 2));
    EXPECT_EQ(ColumnAt(10, 4), -1);
    EXPECT_EQ(ColumnAt(10, 21), -1);

    // Narrow tabs shorten the left piece and have no middle.
    m_target.Fill(plat::RGB(255, 255, 255));
    DrawCaptionTab(&m_target, &m_tab, nullptr, 10, 30, 20, nullptr);
    EXPECT_EQ(Row(9, 31, 30), Expected(1, 16, 0, 1));
    m_target.Fill(plat::RGB(255, 255, 255));
    DrawCaptionTab(&m_target, &m_tab, nullptr, 10, 30, 31, nullptr);
    EXPECT_EQ(Row(10, 41, 30), Expected(0, 27, 0, 0));
}

TEST_F(CaptionTabTest, TabsAtTheEdgesAreCut)
{
    DrawCaptionTab(&m_target, &m_tab, nullptr, -5, -3, 40, nullptr);
    // Columns 37-63 of the drawn tab remain: the left piece from its sixth column.
    EXPECT_EQ(ColumnAt(0, 0), 37);
    EXPECT_EQ(ColumnAt(34, 12), 63);
    EXPECT_EQ(ColumnAt(0, 13), -1);
    DrawCaptionTab(&m_target, &m_tab, nullptr, 100, 50, 40, nullptr);
    EXPECT_EQ(ColumnAt(119, 59), 51);
    DrawCaptionTab(&m_target, &m_tab, nullptr, 500, 500, 40, nullptr);
    DrawCaptionTab(&m_target, &m_tab, nullptr, 10, 40, 3, nullptr);
    EXPECT_EQ(ColumnAt(10, 40), -1);
}

class TabbedScreen : public CXClient {
public:
    TabbedScreen() { SetClientRect(0, 0, 120, 60); }
};

TEST_F(CaptionTabTest, CaptionListPlacesTabsOverControlsAndAtPlaces)
{
    TabbedScreen screen;
    screen.OnInitDialog();
    ASSERT_TRUE(screen.AddControlXYWH(XCONTROL_STATIC, 30, 40, 40, 12, 7, nullptr));
    const CAPTIONTAB tabs[] = {
        {1, 0, 7, 0, 0, 0},    // over control 7: x 30, y 40 - 17, width 40
        {1, 0, 99, 0, 0, 0},   // no such control: skipped
        {2, 0, 0, 80, 2, 20},  // explicit
        {0, 0, 0, 0, 0, 0},
        {2, 0, 0, 0, 40, 20},  // after the end: never drawn
    };
    DrawCaptionTabs(&screen, &m_target, &m_tab, nullptr, 114, tabs);
    EXPECT_EQ(Row(29, 71, 23), Expected(1, 27, 9, 1));
    EXPECT_EQ(ColumnAt(30, 22), -1);
    EXPECT_EQ(Row(80, 100, 2), Expected(0, 16, 0, 0));
    EXPECT_EQ(ColumnAt(0, 45), -1);
    screen.OnDestroy();
}

TEST_F(CaptionTabTest, TextStartsFiveAcrossAndOneDownOverTheTab)
{
    std::unique_ptr<plat::Font> pFont(plat::Font::create(14, 400, "Arial"));
    ASSERT_TRUE(pFont);
    CXSurface plain;
    ASSERT_TRUE(plain.Create(120, 60, true, false));
    plain.Fill(plat::RGB(255, 255, 255));
    DrawCaptionTab(&plain, &m_tab, pFont.get(), 20, 10, 60, nullptr);
    DrawCaptionTab(&m_target, &m_tab, pFont.get(), 20, 10, 60, "Hal");
    int nChanged = 0;
    int nLeftMost = 120;
    int nTopMost = 60;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 120; ++x)
            if (ColourAt(plain, x, y) != ColourAt(m_target, x, y)) {
                ++nChanged;
                nLeftMost = std::min(nLeftMost, x);
                nTopMost = std::min(nTopMost, y);
            }
    EXPECT_GT(nChanged, 0);
    EXPECT_GE(nLeftMost, 25);
    EXPECT_LE(nLeftMost, 27);
    EXPECT_GE(nTopMost, 11);
    // Only glyph pixels are written: the tab shows between them.
    EXPECT_LT(nChanged, 20 * 14);
}

}  // namespace
