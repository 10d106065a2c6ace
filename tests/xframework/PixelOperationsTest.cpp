#include "PixelLayout.h"

#include "platform/Random.h"
#include "xframework/CXSurface.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Every case runs in both 16-bit layouts; the green channel has 6 bits in
// 5-6-5 and 5 in 5-5-5.
class PixelOperations : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { UseLayout(b555); }
    void TearDown() override { UseLayout(false); }
    std::unique_ptr<CXSurface> Make(int w, int h, uint16_t fill, bool bKey = false)
    {
        auto p = std::make_unique<CXSurface>();
        EXPECT_NE(p->Create(w, h, true, bKey), nullptr);
        p->m_pSurface->fill(nullptr, fill);
        return p;
    }
    uint16_t Px(int r, int g, int b) const { return Pixel(b555, r, g, b); }
    int GreenMax() const { return b555 ? 31 : 63; }
    uint16_t Key() const { return b555 ? 0x7C1F : 0xF81F; }
    const bool b555 = GetParam();
};

TEST_P(PixelOperations, ShadingScalesEachChannelToTwoThirdsTruncated)
{
    // 31 -> 20, 63 -> 42, 3 -> 2, 6 -> 4, 9 -> 6, 1 -> 0.
    EXPECT_EQ(ShadePixel(Px(31, GreenMax(), 31)), Px(20, b555 ? 20 : 42, 20));
    EXPECT_EQ(ShadePixel(Px(3, 6, 9)), Px(2, 4, 6));
    EXPECT_EQ(ShadePixel(Px(1, 1, 1)), 0);
    auto s = Make(5, 4, Px(31, GreenMax(), 31));
    s->ShadeRect(1, 1, 2, 2, 2);
    EXPECT_EQ(s->m_pSurface->pixel(1, 1), Px(20, b555 ? 20 : 42, 20));
    EXPECT_EQ(s->m_pSurface->pixel(2, 2), Px(20, b555 ? 20 : 42, 20));
    EXPECT_EQ(s->m_pSurface->pixel(3, 2), Px(31, GreenMax(), 31));
    EXPECT_EQ(s->m_pSurface->pixel(0, 0), Px(31, GreenMax(), 31));
    // A rectangle running off the surface shades only what lies on it.
    s->ShadeRect(4, 3, 10, 10, 2);
    EXPECT_EQ(s->m_pSurface->pixel(4, 3), Px(20, b555 ? 20 : 42, 20));
}

TEST_P(PixelOperations, BlendBltMovesEachChannelByTheTruncatedFactor)
{
    auto a = Make(4, 2, Px(10, 20, 30));
    auto b = Make(4, 2, Px(20, 28, 0));
    auto dest = Make(4, 2, Px(1, 1, 1));
    b->m_pSurface->setPixel(3, 1, Px(10, 20, 30));  // identical to A there
    dest->BlendBlt(a.get(), b.get(), 0, 0, 0, 0, 0, 0, 4, 2, 0.25f);
    // 10 + 2.5 -> 12, 20 + 2 -> 22, 30 - 7.5 -> 23 (towards zero).
    EXPECT_EQ(dest->m_pSurface->pixel(0, 0), Px(12, 22, 23));
    // Identical A and B leave even a third surface untouched.
    EXPECT_EQ(dest->m_pSurface->pixel(3, 1), Px(1, 1, 1));

    // Factor 0 gives A, 1 gives B; offsets select the parts.
    auto c = Make(4, 2, 0);
    c->BlendBlt(a.get(), b.get(), 0, 0, 1, 0, 2, 1, 2, 1, 1.0f);
    EXPECT_EQ(c->m_pSurface->pixel(2, 1), Px(20, 28, 0));
    EXPECT_EQ(c->m_pSurface->pixel(1, 1), 0);
    c->BlendBlt(a.get(), b.get(), 0, 0, 0, 0, 0, 0, 1, 1, 0.0f);
    EXPECT_EQ(c->m_pSurface->pixel(0, 0), Px(10, 20, 30));
}

TEST_P(PixelOperations, BlendBltKeyedKeepsTheDestinationUnderKeyPixels)
{
    auto a = Make(2, 1, Px(0, 0, 0));
    auto b = Make(2, 1, Px(31, GreenMax(), 31));
    b->m_pSurface->setPixel(1, 0, Key());
    auto dest = Make(2, 1, Px(5, 5, 5));
    dest->BlendBltKeyed(a.get(), b.get(), 0, 0, 0, 0, 0, 0, 2, 1, 0.5f);
    EXPECT_EQ(dest->m_pSurface->pixel(0, 0), Px(15, b555 ? 15 : 31, 15));
    EXPECT_EQ(dest->m_pSurface->pixel(1, 0), Px(5, 5, 5));
}

TEST_P(PixelOperations, BltModulatedDarkensByTheSourceBlueAndSkipsTheKey)
{
    auto dest = Make(6, 4, Px(31, GreenMax(), 31));
    auto mask = Make(3, 2, Px(0, 0, 16));  // blue 16: half the light
    mask->m_pSurface->setPixel(1, 0, Key());
    mask->m_pSurface->setPixel(2, 0, Px(31, 0, 8));  // only blue counts: a quarter
    dest->BltModulated(mask.get(), 2, 1);
    EXPECT_EQ(dest->m_pSurface->pixel(2, 1), Px(15, b555 ? 15 : 31, 15));
    EXPECT_EQ(dest->m_pSurface->pixel(3, 1), Px(31, GreenMax(), 31));
    EXPECT_EQ(dest->m_pSurface->pixel(4, 1), Px(7, b555 ? 7 : 15, 7));
    EXPECT_EQ(dest->m_pSurface->pixel(1, 1), Px(31, GreenMax(), 31));
    EXPECT_EQ(dest->m_pSurface->pixel(2, 3), Px(31, GreenMax(), 31));
    // Placed partly off the surface: clipped, no write outside.
    dest->BltModulated(mask.get(), -2, 3);
    EXPECT_EQ(dest->m_pSurface->pixel(0, 3), Px(7, b555 ? 7 : 15, 7));
}

TEST_P(PixelOperations, ColorMatchGivesTheKeyForMagentaAndRestoresPixelZero)
{
    auto s = Make(3, 3, Px(3, 4, 5));
    EXPECT_EQ(s->ColorMatch(plat::RGB(255, 0, 255)), Key());
    EXPECT_EQ(s->ColorMatch(plat::RGB(8, 4, 8)), b555 ? Px(1, 0, 1) : Px(1, 1, 1));
    EXPECT_EQ(s->ColorMatch(plat::RGB(255, 255, 255)), Px(31, GreenMax(), 31));
    EXPECT_EQ(s->m_pSurface->pixel(0, 0), Px(3, 4, 5));
    ASSERT_EQ(s->Fill(plat::RGB(255, 0, 255)), plat::kOk);
    EXPECT_EQ(s->m_pSurface->pixel(2, 2), Key());
    CXSurface empty;
    EXPECT_EQ(empty.ColorMatch(0), 0xFFFFFFFFu);
}

TEST_P(PixelOperations, BlitsAtNegativePositionsDrawOnlyTheVisiblePart)
{
    auto src = Make(4, 3, 0, true);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            src->m_pSurface->setPixel(x, y, static_cast<uint16_t>(0x100 + y * 4 + x));
    src->m_pSurface->setPixel(2, 2, Key());
    auto dest = Make(5, 5, 0x7777);
    ASSERT_EQ(CXSurface::Blit(dest.get(), src.get(), -1, -1), plat::kOk);
    EXPECT_EQ(dest->m_pSurface->pixel(0, 0), 0x100 + 1 * 4 + 1);
    EXPECT_EQ(dest->m_pSurface->pixel(2, 1), 0x100 + 2 * 4 + 3);
    EXPECT_EQ(dest->m_pSurface->pixel(1, 1), Key());
    EXPECT_EQ(dest->m_pSurface->pixel(3, 0), 0x7777);
    EXPECT_EQ(dest->m_pSurface->pixel(0, 2), 0x7777);

    auto keyed = Make(5, 5, 0x7777);
    ASSERT_EQ(CXSurface::BlitKeyed(keyed.get(), src.get(), -1, -1), plat::kOk);
    EXPECT_EQ(keyed->m_pSurface->pixel(1, 1), 0x7777);  // the key pixel was skipped
    EXPECT_EQ(keyed->m_pSurface->pixel(0, 1), 0x100 + 2 * 4 + 1);

    // Past the right and bottom edges the source is cut, not refused.
    auto edge = Make(5, 5, 0x7777);
    ASSERT_EQ(CXSurface::Blit(edge.get(), src.get(), 3, 4), plat::kOk);
    EXPECT_EQ(edge->m_pSurface->pixel(4, 4), 0x101);
    // Wholly outside: nothing is written anywhere.
    auto outside = Make(5, 5, 0x7777);
    CXSurface::Blit(outside.get(), src.get(), -4, 0);
    CXSurface::Blit(outside.get(), src.get(), 5, 0);
    CXSurface::Blit(outside.get(), src.get(), 0, -30);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(outside->m_pSurface->pixel(x, y), 0x7777);
}

TEST_P(PixelOperations, DrawPanelShadowLaysPartialTilesWithoutGaps)
{
    // Tiles told apart by their blue: the light each leaves on white.
    auto sheet = Make(60, 13, 0, true);
    const int kBlue[5] = {8, 16, 24, 4, 12};  // top-right, right, bottom-right, bottom, bottom-left
    for (int t = 0; t < 5; ++t) {
        plat::Rect rc{t * 12, 0, t * 12 + 12, 13};
        sheet->m_pSurface->fill(&rc, Px(0, 0, kBlue[t]));
    }
    auto dest = Make(64, 64, Px(31, GreenMax(), 31));
    // 30 = 2 x 12 + 6 wide, 29 = 2 x 13 + 3 high.
    dest->DrawPanelShadow(sheet.get(), 10, 10, 30, 29);
    auto lit = [&](int blue) { return Px(31 * blue / 32, GreenMax() * blue / 32, 31 * blue / 32); };
    const uint16_t white = Px(31, GreenMax(), 31);
    EXPECT_EQ(dest->m_pSurface->pixel(10, 39), lit(12));  // bottom-left corner at y + height
    EXPECT_EQ(dest->m_pSurface->pixel(21, 51), lit(12));
    EXPECT_EQ(dest->m_pSurface->pixel(22, 39), lit(4));   // bottom edge, k = 1
    EXPECT_EQ(dest->m_pSurface->pixel(34, 45), lit(4));   // the partial tile's 6 columns
    EXPECT_EQ(dest->m_pSurface->pixel(39, 45), lit(4));
    EXPECT_EQ(dest->m_pSurface->pixel(40, 39), lit(24));  // bottom-right corner at x + width
    EXPECT_EQ(dest->m_pSurface->pixel(51, 51), lit(24));
    EXPECT_EQ(dest->m_pSurface->pixel(40, 10), lit(8));   // top-right corner
    EXPECT_EQ(dest->m_pSurface->pixel(45, 23), lit(16));  // right edge, k = 1
    EXPECT_EQ(dest->m_pSurface->pixel(45, 36), lit(16));  // the partial tile's 3 rows
    EXPECT_EQ(dest->m_pSurface->pixel(45, 38), lit(16));
    EXPECT_EQ(dest->m_pSurface->pixel(9, 45), white);
    EXPECT_EQ(dest->m_pSurface->pixel(39, 38), white);    // the panel itself is not shaded
    EXPECT_EQ(dest->m_pSurface->pixel(52, 30), white);
}

TEST_P(PixelOperations, DottedLinesAndOutlinesWriteWhiteEverySecondPixel)
{
    auto s = Make(8, 6, 0);
    s->DrawDottedLine(1, 1, 5, true);  // 5 / 2 = 2 dots
    EXPECT_EQ(s->m_pSurface->pixel(1, 1), 0xFFFF);
    EXPECT_EQ(s->m_pSurface->pixel(2, 1), 0);
    EXPECT_EQ(s->m_pSurface->pixel(3, 1), 0xFFFF);
    EXPECT_EQ(s->m_pSurface->pixel(5, 1), 0);
    // An outline on the surface's own edges leaves out the dots that fall off.
    auto o = Make(8, 6, 0);
    o->DrawRectOutline(plat::Rect{0, 0, 8, 6});
    EXPECT_EQ(o->m_pSurface->pixel(0, 0), 0xFFFF);
    EXPECT_EQ(o->m_pSurface->pixel(6, 0), 0xFFFF);
    EXPECT_EQ(o->m_pSurface->pixel(0, 4), 0xFFFF);
}

TEST_P(PixelOperations, GradientRunsFromTheLeftColourTowardsTheRight)
{
    auto s = Make(40, 2, 0);
    const unsigned gameState = plat::randState();
    s->FillGradient(0, 0, 40, 2, plat::RGB(0, 0, 0), plat::RGB(255, 255, 255));
    // Painting never moves the game's own random sequence.
    EXPECT_EQ(plat::randState(), gameState);
    const uint16_t left = s->m_pSurface->pixel(0, 1);
    const uint16_t right = s->m_pSurface->pixel(39, 1);
    EXPECT_LT(left & 31, 4);  // jitter of at most 3 steps of 6.4
    EXPECT_GE(right & 31, 29);
    EXPECT_LE(right & 31, 31);
    // BlendRect at factor 1 replaces the area with the gradient.
    auto b = Make(40, 3, Px(0, 0, 31));
    b->BlendRect(0, 1, 40, 1, plat::RGB(255, 0, 0), plat::RGB(255, 0, 0), 1.0f);
    EXPECT_EQ(b->m_pSurface->pixel(20, 1), Px(31, 0, 0));
    EXPECT_EQ(b->m_pSurface->pixel(20, 0), Px(0, 0, 31));
}

INSTANTIATE_TEST_SUITE_P(Layouts, PixelOperations, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Rgb555" : "Rgb565"; });

}  // namespace
