// The screens' printf text functions: centred by the measured extent, the
// shadow under the text, and texts cut at 159 characters.
#include "xframework/ClientText.h"

#include "platform/Font.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

bool SamePixels(const plat::Surface& a, const plat::Surface& b)
{
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}

int Inked(const plat::Surface& s)
{
    int n = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            n += s.pixel(x, y) != 0;
    return n;
}

class ClientText : public ::testing::Test {
protected:
    void SetUp() override { m_pFont.reset(plat::Font::create(15, 400, "Arial")); }
    // Runs the drawing on a fresh surface with the font and a transparent background.
    template <typename Draw>
    std::unique_ptr<plat::Surface> Paint(int nWidth, Draw draw)
    {
        auto pSurface = std::make_unique<plat::Surface>(nWidth, 40);
        pSurface->fill(nullptr, 0);
        plat::DeviceContext* pDC = pSurface->getDC();
        pDC->selectFont(m_pFont.get());
        pDC->setBkMode(plat::TRANSPARENT);
        draw(pDC);
        pSurface->releaseDC(pDC);
        return pSurface;
    }
    std::unique_ptr<plat::Font> m_pFont;
};

TEST_F(ClientText, ACentredShadowTextStandsAtTheMeasuredCentreOverItsShadow)
{
    const auto pDrawn = Paint(200, [](HDC hDC) {
        DrawShadowTextCentredF(hDC, 10, 0, 190, 40, 2, plat::RGB(255, 255, 0), plat::RGB(0, 0, 255), "%s %d", "Goals",
                               12);
    });
    const auto pExpected = Paint(200, [](HDC hDC) {
        plat::Size size;
        hDC->getTextExtentPoint("Goals 12", -1, &size);
        const int x = 10 + 90 - size.cx / 2, y = 20 - size.cy / 2;
        hDC->setTextColor(plat::RGB(0, 0, 255));
        hDC->textOut(x + 2, y + 2, "Goals 12");
        hDC->setTextColor(plat::RGB(255, 255, 0));
        hDC->textOut(x, y, "Goals 12");
    });
    EXPECT_GT(Inked(*pDrawn), 20);
    EXPECT_TRUE(SamePixels(*pDrawn, *pExpected));
}

// The outline closes the text in on every side: no pixel of the text touches
// the background, and the text keeps its measured centre.
TEST_F(ClientText, AnOutlinedTextTouchesOnlyItsOutline)
{
    const COLORREF crText = plat::RGB(255, 255, 255), crOutline = plat::RGB(0, 0, 255);
    const auto pDrawn = Paint(120, [&](HDC hDC) { DrawOutlinedTextCentredF(hDC, 0, 0, 120, 40, crText, crOutline, "%d", 51); });
    const auto pPlain = Paint(120, [&](HDC hDC) { DrawTextCentredF(hDC, 0, 0, 120, 40, crText, "%d", 51); });
    const plat::Surface& s = *pDrawn;
    int nText = 0;
    for (int y = 1; y + 1 < s.height(); ++y)
        for (int x = 1; x + 1 < s.width(); ++x) {
            if (pPlain->pixel(x, y) == 0)
                continue;
            ++nText;
            EXPECT_EQ(s.pixel(x, y), pPlain->pixel(x, y)) << x << "," << y;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    EXPECT_NE(s.pixel(x + dx, y + dy), 0) << "bare edge at " << x + dx << "," << y + dy;
        }
    EXPECT_GT(nText, 10);
}

TEST_F(ClientText, APrintedTextIsCutAt159Characters)
{
    const std::string longText(300, 'm');
    const auto pDrawn = Paint(4000, [&](HDC hDC) { DrawTextF(hDC, 0, 0, plat::RGB(255, 255, 255), "%s", longText.c_str()); });
    const auto pExpected = Paint(4000, [&](HDC hDC) {
        hDC->setTextColor(plat::RGB(255, 255, 255));
        hDC->textOut(0, 0, longText.c_str(), 159);
    });
    EXPECT_TRUE(SamePixels(*pDrawn, *pExpected));
}

}  // namespace
