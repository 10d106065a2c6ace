// The shape and description drawing functions and the number separators.
#include "PixelLayout.h"

#include "common/ShellServices.h"
#include "xframework/DrawingFunctions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

constexpr COLORREF kGold = plat::RGB(255, 200, 0);

class DrawingFunctionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UseLayout(false);
        ASSERT_TRUE(m_surface.Create(200, 120, true, false));
        m_surface.Fill(plat::RGB(255, 255, 255));
    }
    void TearDown() override
    {
        SetTextDescriptionHandler(nullptr);
        SetNumberSeparatorOption(0);
    }
    bool Is(int x, int y, COLORREF cr) { return m_surface.GetSurface()->pixel(x, y) == m_surface.ColorMatch(cr); }
    // Rows [top, bottom) of the surface that hold a pixel of the colour.
    std::pair<int, int> RowsOf(COLORREF cr)
    {
        int nTop = -1;
        int nBottom = -1;
        for (int y = 0; y < m_surface.GetHeight(); ++y)
            for (int x = 0; x < m_surface.GetWidth(); ++x)
                if (Is(x, y, cr)) {
                    nTop = nTop < 0 ? y : nTop;
                    nBottom = y + 1;
                }
        return {nTop, nBottom};
    }

    CXSurface m_surface;
};

TEST_F(DrawingFunctionsTest, ShapesDrawAndPutTheContextBack)
{
    std::unique_ptr<plat::DeviceContext> dc(m_surface.GetSurface()->getDC());
    plat::Pen pen(plat::PS_SOLID, 3, plat::RGB(1, 2, 3));
    dc->selectPen(&pen);
    dc->setBkMode(plat::OPAQUE);

    DrawColourBox(dc.get(), 10, 10, 20, 20, kGold, true);
    EXPECT_TRUE(Is(10, 10, kGold));
    EXPECT_TRUE(Is(19, 19, kGold));
    EXPECT_TRUE(Is(9, 9, plat::RGB(0, 0, 0)));
    EXPECT_TRUE(Is(20, 20, plat::RGB(0, 0, 0)));
    EXPECT_TRUE(Is(21, 21, plat::RGB(255, 255, 255)));
    EXPECT_EQ(dc->selectPen(&pen), &pen);
    EXPECT_EQ(dc->setBkMode(plat::OPAQUE), plat::TRANSPARENT);

    // The framed-rect form for a RECT leaves the background mode alone.
    DrawFilledRectFramedRect(dc.get(), plat::Rect{30, 10, 40, 20}, kGold, plat::RGB(0, 0, 255));
    EXPECT_TRUE(Is(30, 10, plat::RGB(0, 0, 255)));
    EXPECT_TRUE(Is(35, 15, kGold));
    EXPECT_EQ(dc->setBkMode(plat::OPAQUE), plat::OPAQUE);

    DrawFilledCircle(dc.get(), 100, 60, 10, plat::RGB(0, 0, 255), kGold);
    EXPECT_TRUE(Is(100, 60, kGold));
    EXPECT_TRUE(Is(100, 50, plat::RGB(0, 0, 255)));
    EXPECT_TRUE(Is(100, 45, plat::RGB(255, 255, 255)));
    DrawLine(dc.get(), 10, 100, 50, 100, plat::RGB(255, 0, 0), 1, plat::PS_SOLID);
    EXPECT_TRUE(Is(10, 100, plat::RGB(255, 0, 0)));
    EXPECT_TRUE(Is(49, 100, plat::RGB(255, 0, 0)));
    EXPECT_EQ(dc->selectPen(&pen), &pen);
    m_surface.GetSurface()->releaseDC(dc.release());
}

TEST_F(DrawingFunctionsTest, DescriptionTextsSplitIntoLinesUnderTheirAlignment)
{
    static const TEXTDESCRIPTIONRECORD records[] = {
        {9997, 0, nullptr}, {150, 20, "HH\tHH"}, {9999, 0, nullptr}, {-1, -1, nullptr}};
    SetTextDescriptionHandler([](int nIndex) { return nIndex == 7 ? records : nullptr; });
    std::unique_ptr<plat::Font> font(plat::Font::create(14, 400, "Arial"));
    ASSERT_TRUE(font);
    DrawSurfaceText(font.get(), &m_surface, 7, kGold);

    const auto [nTop, nBottom] = RowsOf(kGold);
    ASSERT_GE(nTop, 20);
    // Two equal lines 14 pixels apart: the second's rows are the first's moved down 14.
    for (int y = nTop; y < nTop + 14 && y < nBottom; ++y)
        for (int x = 0; x < 200; ++x)
            EXPECT_EQ(Is(x, y, kGold), Is(x, y + 14, kGold)) << x << "," << y;
    EXPECT_GT(nBottom, nTop + 14);
    // Right-aligned at x 150, with a black shadow one pixel down and right.
    int nRight = 0;
    for (int x = 0; x < 200; ++x)
        for (int y = nTop; y < nBottom; ++y)
            if (Is(x, y, kGold))
                nRight = std::max(nRight, x);
    EXPECT_LT(nRight, 150);
    EXPECT_GE(nRight, 140);
    EXPECT_TRUE(Is(nRight + 1, nBottom, plat::RGB(0, 0, 0)) || Is(nRight + 1, nBottom - 13, plat::RGB(0, 0, 0)));

    // An index without a description draws nothing.
    m_surface.Fill(plat::RGB(255, 255, 255));
    DrawSurfaceText(font.get(), &m_surface, 8, kGold);
    EXPECT_EQ(RowsOf(kGold).first, -1);
}

TEST(NumberSeparatorsTest, FollowTheCurrencyOption)
{
    const struct {
        int nCurrency;
        char cThousands;
        char cDecimal;
        const char* pszTyped;
    } cases[] = {{0, ',', '.', "1,234.5"}, {1, '.', ',', "1.234,5"}, {2, ' ', ',', "1 234,5"},
                 {3, '.', ',', "1.234,5"}, {4, '.', ',', "1.234,5"}, {5, ',', '.', "1,234.5"}};
    for (const auto& c : cases) {
        SetNumberSeparatorOption(c.nCurrency);
        char cThousands = 'x';
        char cDecimal = 'y';
        GetNumberSeparators(&cThousands, &cDecimal);
        EXPECT_EQ(cThousands, c.cThousands) << c.nCurrency;
        EXPECT_EQ(cDecimal, c.cDecimal) << c.nCurrency;
        char szText[32];
        std::strcpy(szText, c.pszTyped);
        NormaliseNumberText(szText);
        EXPECT_STREQ(szText, "1234.5") << c.nCurrency;
    }
    SetNumberSeparatorOption(9);
    char cThousands = 'x';
    char cDecimal = 'y';
    GetNumberSeparators(&cThousands, &cDecimal);
    EXPECT_EQ(cThousands, 'x');
    EXPECT_EQ(cDecimal, 'y');
    SetNumberSeparatorOption(0);

    char szText[] = "a,b,,c";
    EXPECT_EQ(RemoveChar(szText, ','), 3);
    EXPECT_STREQ(szText, "abc");
}

}  // namespace
