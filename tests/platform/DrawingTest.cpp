#include "platform/DeviceContext.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>
#include <string>

namespace {

constexpr plat::COLORREF kWhite = plat::RGB(255, 255, 255);
constexpr plat::COLORREF kBlack = plat::RGB(0, 0, 0);

class Drawing : public ::testing::Test {
protected:
    Drawing() : m_surface(64, 48), m_dc(&m_surface) { m_surface.fill(nullptr, 0); }
    bool Lit(int x, int y) { return m_dc.getPixel(x, y) != kBlack; }
    plat::Surface m_surface;
    plat::DeviceContext m_dc;
};

TEST_F(Drawing, LinesLeaveOutTheirEndPixel)
{
    plat::Pen pen(plat::PS_SOLID, 1, kWhite);
    m_dc.selectPen(&pen);
    m_dc.moveTo(2, 2);
    m_dc.lineTo(6, 2);
    EXPECT_TRUE(Lit(2, 2));
    EXPECT_TRUE(Lit(5, 2));
    EXPECT_FALSE(Lit(6, 2));
    m_dc.lineTo(6, 6);  // joined lines draw the corner once
    EXPECT_TRUE(Lit(6, 2));
    EXPECT_FALSE(Lit(6, 6));
    m_dc.moveTo(10, 10);
    m_dc.lineTo(14, 14);
    EXPECT_TRUE(Lit(13, 13));
    EXPECT_FALSE(Lit(14, 14));
}

TEST_F(Drawing, StyledPensDrawTheirPatterns)
{
    struct Case {
        int style;
        int firstGap;  // the first unlit pixel along the line
    };
    for (const Case c : {Case{plat::PS_DASH, 18}, Case{plat::PS_DOT, 3}, Case{plat::PS_DASHDOT, 9}}) {
        m_surface.fill(nullptr, 0);
        plat::Pen pen(c.style, 1, kWhite);
        m_dc.selectPen(&pen);
        m_dc.setBkMode(plat::TRANSPARENT);
        m_dc.moveTo(0, 5);
        m_dc.lineTo(60, 5);
        for (int x = 0; x < c.firstGap; ++x)
            EXPECT_TRUE(Lit(x, 5)) << c.style << " at " << x;
        EXPECT_FALSE(Lit(c.firstGap, 5)) << c.style;
        m_dc.selectPen(nullptr);
    }
    // Opaque background fills the gaps with the background colour.
    plat::Pen dot(plat::PS_DOT, 1, kWhite);
    m_dc.selectPen(&dot);
    m_dc.setBkMode(plat::OPAQUE);
    m_dc.setBkColor(plat::RGB(255, 0, 0));
    m_dc.moveTo(0, 9);
    m_dc.lineTo(10, 9);
    EXPECT_EQ(m_dc.getPixel(3, 9), plat::RGB(248, 0, 0));
}

TEST_F(Drawing, RectanglesAndEllipsesStayInsideLeftToRightMinusOne)
{
    std::unique_ptr<plat::Brush> red(plat::Brush::createSolid(plat::RGB(255, 0, 0)));
    plat::Pen white(plat::PS_SOLID, 1, kWhite);
    m_dc.selectBrush(red.get());
    m_dc.selectPen(&white);
    m_dc.rectangle(2, 2, 8, 6);
    EXPECT_EQ(m_dc.getPixel(2, 2), plat::RGB(248, 252, 248));
    EXPECT_EQ(m_dc.getPixel(7, 5), plat::RGB(248, 252, 248));
    EXPECT_EQ(m_dc.getPixel(4, 4), plat::RGB(248, 0, 0));
    EXPECT_FALSE(Lit(8, 4));
    EXPECT_FALSE(Lit(4, 6));
    // Without a pen the fill stops one pixel short.
    m_dc.selectPen(plat::Pen::null());
    m_dc.rectangle(20, 2, 26, 6);
    EXPECT_TRUE(Lit(24, 4));
    EXPECT_FALSE(Lit(25, 4));
    EXPECT_FALSE(Lit(24, 5));
    // A box of 7 x 5: the ellipse reaches each edge at its middle, not the corners.
    m_dc.selectPen(&white);
    m_dc.ellipse(30, 10, 37, 15);
    EXPECT_TRUE(Lit(30, 12));
    EXPECT_TRUE(Lit(36, 12));
    EXPECT_TRUE(Lit(33, 10));
    EXPECT_TRUE(Lit(33, 14));
    EXPECT_FALSE(Lit(30, 10));
    EXPECT_FALSE(Lit(37, 12));
    EXPECT_FALSE(Lit(33, 15));
    EXPECT_EQ(m_dc.getPixel(33, 12), plat::RGB(248, 0, 0));
    // Hollow brush: only the outline.
    m_dc.selectBrush(plat::Brush::hollow());
    m_dc.rectangle(40, 20, 50, 30);
    EXPECT_FALSE(Lit(45, 25));
    EXPECT_TRUE(Lit(49, 29));
}

TEST_F(Drawing, HatchedBrushesDrawLinesAndRespectTheBackgroundMode)
{
    std::unique_ptr<plat::Brush> cross(plat::Brush::createHatch(plat::HS_CROSS, kWhite));
    m_dc.setBkMode(plat::TRANSPARENT);
    m_dc.fillRect(plat::Rect{0, 0, 16, 16}, cross.get());
    EXPECT_TRUE(Lit(0, 3));
    EXPECT_TRUE(Lit(3, 8));
    EXPECT_FALSE(Lit(3, 3));
    std::unique_ptr<plat::Brush> diagonal(plat::Brush::createHatch(plat::HS_DIAGCROSS, kWhite));
    m_dc.setBkMode(plat::OPAQUE);
    m_dc.setBkColor(plat::RGB(0, 0, 255));
    m_dc.fillRect(plat::Rect{16, 0, 32, 16}, diagonal.get());
    EXPECT_EQ(m_dc.getPixel(17, 1), plat::RGB(248, 252, 248));
    EXPECT_EQ(m_dc.getPixel(18, 1), plat::RGB(0, 0, 248));
}

TEST_F(Drawing, FontsFollowHeightAndWeightRules)
{
    std::unique_ptr<plat::Font> cell(plat::Font::create(18, 400, "Arial"));
    std::unique_ptr<plat::Font> em(plat::Font::create(-18, 400, "Arial"));
    std::unique_ptr<plat::Font> light(plat::Font::create(18, 550, "Arial"));
    std::unique_ptr<plat::Font> heavy(plat::Font::create(18, 551, "Arial"));
    ASSERT_TRUE(cell && em && light && heavy);
    EXPECT_EQ(cell->cellHeight(), 18);
    EXPECT_GT(em->cellHeight(), 18);  // the em is 18: the cell is taller
    EXPECT_FALSE(light->bold());
    EXPECT_TRUE(heavy->bold());
    const char* text = "Corravin United";
    EXPECT_GT(heavy->textWidth(text, 15), light->textWidth(text, 15));
    EXPECT_EQ(light->textWidth(text, 15), cell->textWidth(text, 15));
    EXPECT_EQ(cell->textWidth("ab", 2), cell->textWidth("a", 1) + cell->textWidth("b", 1));
}

TEST_F(Drawing, TextIsPlacedByItsCellAndDrawnWithoutBlending)
{
    std::unique_ptr<plat::Font> font(plat::Font::create(16, 700, "Arial"));
    m_dc.selectFont(font.get());
    m_dc.setTextColor(kWhite);
    m_dc.setBkMode(plat::TRANSPARENT);
    plat::Size size;
    ASSERT_TRUE(m_dc.getTextExtentPoint("Go", 2, &size));
    EXPECT_EQ(size.cy, 16);
    m_dc.setTextAlign(plat::TA_RIGHT);
    m_dc.textOut(60, 20, "Go");
    int lit = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            const plat::COLORREF c = m_dc.getPixel(x, y);
            if (c == kBlack)
                continue;
            EXPECT_EQ(c, plat::RGB(248, 252, 248)) << "blended pixel at " << x << "," << y;
            EXPECT_TRUE(x >= 60 - size.cx && x < 60 && y >= 20 && y < 36) << x << "," << y;
            ++lit;
        }
    EXPECT_GT(lit, 20);
    // Opaque text fills its cell with the background colour.
    m_surface.fill(nullptr, 0);
    m_dc.setTextAlign(plat::TA_LEFT | plat::TA_TOP);
    m_dc.setBkMode(plat::OPAQUE);
    m_dc.setBkColor(plat::RGB(0, 0, 255));
    m_dc.textOut(2, 2, "Go");
    EXPECT_EQ(m_dc.getPixel(2, 2), plat::RGB(0, 0, 248));
    EXPECT_EQ(m_dc.getPixel(2 + size.cx - 1, 2 + 15), plat::RGB(0, 0, 248));
    EXPECT_FALSE(Lit(2 + size.cx, 2));
}

TEST_F(Drawing, RotatedTextTurnsEachPixelOfTheFlatTextAboutItsPoint)
{
    std::unique_ptr<plat::Font> font(plat::Font::create(12, 300, "Arial"));
    m_dc.selectFont(font.get());
    m_dc.setTextColor(kWhite);
    m_dc.setBkMode(plat::TRANSPARENT);
    m_dc.textOut(0, 0, "Pg");
    plat::Size size;
    ASSERT_TRUE(m_dc.getTextExtentPoint("Pg", 2, &size));
    std::vector<std::pair<int, int>> flat;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            if (Lit(x, y))
                flat.emplace_back(x, y);
    ASSERT_GT(flat.size(), 10u);
    struct Case {
        int degrees;
        uint32_t align;
        // Where the flat pixel (x, y) lands.
        std::function<std::pair<int, int>(int, int)> turned;
    };
    const Case cases[] = {
        {90, plat::TA_LEFT, [](int x, int y) { return std::make_pair(20 + y, 30 - x); }},
        {90, plat::TA_RIGHT, [&](int x, int y) { return std::make_pair(20 + y, 30 + size.cx - x); }},
        {270, plat::TA_LEFT, [](int x, int y) { return std::make_pair(40 - y, 10 + x); }},
    };
    for (const Case& c : cases) {
        m_surface.fill(nullptr, 0);
        m_dc.setTextAlign(c.align);
        const bool bRightAngle = c.degrees == 270;
        ASSERT_TRUE(m_dc.textOutRotated(bRightAngle ? 40 : 20, bRightAngle ? 10 : 30, c.degrees, "Pg"));
        int lit = 0;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 64; ++x)
                lit += Lit(x, y);
        EXPECT_EQ(lit, static_cast<int>(flat.size())) << c.degrees << " " << c.align;
        for (const auto& [x, y] : flat) {
            const auto [tx, ty] = c.turned(x, y);
            EXPECT_TRUE(Lit(tx, ty)) << c.degrees << " " << c.align << ": " << x << "," << y;
        }
    }
    EXPECT_FALSE(m_dc.textOutRotated(20, 20, 45, "Pg"));
}

TEST_F(Drawing, DrawTextMeasuresWrapsAndCentres)
{
    std::unique_ptr<plat::Font> font(plat::Font::create(15, 400, "Arial"));
    m_dc.selectFont(font.get());
    const char* text = "Save the game before you quit";
    plat::Rect rc{4, 4, 100, 100};
    const int height = m_dc.drawText(text, -1, &rc, plat::DT_CALCRECT | plat::DT_WORDBREAK | plat::DT_CENTER | plat::DT_NOPREFIX);
    EXPECT_EQ(height % 15, 0);
    EXPECT_GE(height, 30);  // too wide for one line of 96 pixels
    EXPECT_EQ(rc.bottom, 4 + height);
    EXPECT_LE(rc.right, 100);
    plat::Size whole;
    m_dc.getTextExtentPoint(text, -1, &whole);
    EXPECT_GT(whole.cx, 96);
    // Without DT_NOPREFIX an ampersand is not drawn; "&&" is one ampersand.
    plat::Rect one{0, 0, 200, 20};
    m_dc.drawText("A&&B", -1, &one, plat::DT_CALCRECT | plat::DT_SINGLELINE);
    plat::Size amp;
    m_dc.getTextExtentPoint("A&B", -1, &amp);
    EXPECT_EQ(one.right, amp.cx);
    // Drawing stays inside the rectangle.
    m_dc.setTextColor(kWhite);
    m_dc.setBkMode(plat::TRANSPARENT);
    plat::Rect clip{10, 10, 30, 20};
    m_dc.drawText("Wide text that runs on", -1, &clip, plat::DT_LEFT | plat::DT_NOPREFIX);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            if (Lit(x, y)) {
                EXPECT_TRUE(x >= 10 && x < 30 && y >= 10 && y < 20) << x << "," << y;
            }
}

TEST_F(Drawing, BitmapsStretchOntoSurfacesWithTheKeyExact)
{
    plat::BitmapInfoHeader header;
    header.width = 2;
    header.height = 2;
    std::unique_ptr<plat::Bitmap> bitmap(plat::Bitmap::create(header));
    ASSERT_NE(bitmap, nullptr);
    bitmap->setColorAt(0, 0, plat::RGB(255, 0, 255));
    bitmap->setColorAt(1, 0, plat::RGB(10, 200, 30));
    bitmap->setColorAt(0, 1, kWhite);
    plat::DeviceContext memory;
    memory.selectBitmap(bitmap.get());
    ASSERT_TRUE(m_dc.stretchBlt(0, 0, 4, 4, memory, 0, 0, 2, 2));
    EXPECT_EQ(m_surface.pixel(0, 0), 0xF81F);
    EXPECT_EQ(m_surface.pixel(1, 1), 0xF81F);
    EXPECT_EQ(m_surface.pixel(3, 0), plat::colorToPixel(plat::RGB(10, 200, 30), plat::PixelFormat::Rgb565));
    EXPECT_EQ(m_surface.pixel(0, 3), 0xFFFF);
    plat::Surface s555(1, 1, plat::PixelFormat::Rgb555);
    plat::DeviceContext dc555(&s555);
    dc555.setPixel(0, 0, plat::RGB(255, 0, 255));
    EXPECT_EQ(s555.pixel(0, 0), 0x7C1F);
    // Bad headers make no bitmap.
    header.bitCount = 8;
    EXPECT_EQ(plat::Bitmap::create(header), nullptr);
    header.bitCount = 24;
    header.compression = 1;
    EXPECT_EQ(plat::Bitmap::create(header), nullptr);
}

}  // namespace
