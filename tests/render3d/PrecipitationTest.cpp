// Rain and snow over a view: redrawn at its own pace (or at once while the
// view turns), blended over the view at half opacity, never outside it.
#include "render3d/CPrecipitation.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Pixels of the target that are not black, and the brightest channel seen.
int Lit(const plat::Surface& target, int* pnBrightest = nullptr)
{
    int nLit = 0, nBrightest = 0;
    for (int y = 0; y < target.height(); ++y)
        for (int x = 0; x < target.width(); ++x) {
            const plat::COLORREF c = plat::pixelToColor(target.pixel(x, y), target.format());
            const int n = std::max({plat::GetRValue(c), plat::GetGValue(c), plat::GetBValue(c)});
            nLit += n > 0;
            nBrightest = std::max(nBrightest, n);
        }
    if (pnBrightest)
        *pnBrightest = nBrightest;
    return nLit;
}

TEST(PrecipitationTest, FallsAtHalfOpacityWithinTheView)
{
    for (CPrecipitation::KIND eKind : {CPrecipitation::RAIN, CPrecipitation::SNOW}) {
        CPrecipitation fall;
        fall.Setup(eKind, 100, 40);
        fall.Resize(60, 40);
        plat::Surface target(100, 80);
        target.fill(nullptr, 0);
        fall.Draw(target, plat::Rect{20, 30, 80, 70}, 0, false);
        EXPECT_EQ(fall.GetParticlesDrawn(), 40) << eKind;
        int nBrightest = 0;
        EXPECT_GT(Lit(target, &nBrightest), 40) << eKind;
        EXPECT_LE(nBrightest, 128) << eKind;  // half of white at most
        // Nothing falls outside the view's rectangle.
        for (int y = 0; y < target.height(); ++y)
            for (int x = 0; x < target.width(); ++x)
                if (x < 20 || x >= 80 || y < 30 || y >= 70) {
                    ASSERT_EQ(target.pixel(x, y), 0) << eKind << " at " << x << "," << y;
                }
    }
}

TEST(PrecipitationTest, RedrawsAtItsIntervalOrWhileTheViewTurns)
{
    CPrecipitation fall;
    fall.Setup(CPrecipitation::SNOW, 200, 10);
    fall.Resize(32, 32);
    plat::Surface target(32, 32);
    struct Step {
        uint32_t dwClock;
        bool bTurning;
        uint32_t dwNextRedraw;
    } steps[] = {{0, false, 200}, {150, false, 200}, {199, false, 200}, {200, false, 400},
                 {250, true, 450}, {449, false, 450}, {450, false, 650}};
    for (const Step& s : steps) {
        fall.Draw(target, plat::Rect{0, 0, 32, 32}, s.dwClock, s.bTurning);
        EXPECT_EQ(fall.GetNextRedraw(), s.dwNextRedraw) << s.dwClock;
    }
}

TEST(PrecipitationTest, DryWeatherOrNoViewDrawsNothing)
{
    plat::Surface target(32, 32);
    target.fill(nullptr, 0);
    CPrecipitation dry;
    dry.Setup(CPrecipitation::NONE, 100, 50);
    dry.Resize(32, 32);
    dry.Draw(target, plat::Rect{0, 0, 32, 32}, 0, false);
    CPrecipitation unsized;
    unsized.Setup(CPrecipitation::RAIN, 100, 50);
    unsized.Draw(target, plat::Rect{0, 0, 32, 32}, 0, false);
    EXPECT_EQ(Lit(target), 0);
    EXPECT_FALSE(dry.IsOn());
    EXPECT_TRUE(unsized.IsOn());
}

}  // namespace
