#include "platform/PngWriter.h"
#include "platform/Surface.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

namespace {

TEST(Surface, ColoursTruncateToEachLayoutAndMagentaIsTheKey)
{
    struct Case {
        plat::COLORREF color;
        uint16_t rgb565;
        uint16_t rgb555;
    };
    const Case cases[] = {
        {plat::RGB(255, 0, 255), 0xF81F, 0x7C1F},
        {plat::RGB(255, 255, 255), 0xFFFF, 0x7FFF},
        {plat::RGB(7, 3, 7), 0x0000, 0x0000},
        {plat::RGB(8, 4, 8), 0x0821, 0x0401},
        {plat::RGB(0, 252, 0), 0x07E0, 0x03E0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(plat::colorToPixel(c.color, plat::PixelFormat::Rgb565), c.rgb565);
        EXPECT_EQ(plat::colorToPixel(c.color, plat::PixelFormat::Rgb555), c.rgb555);
        // A pixel read back as a colour gives the same pixel again.
        for (auto format : {plat::PixelFormat::Rgb565, plat::PixelFormat::Rgb555}) {
            const uint16_t p = plat::colorToPixel(c.color, format);
            EXPECT_EQ(plat::colorToPixel(plat::pixelToColor(p, format), format), p);
        }
    }
    EXPECT_EQ(plat::formatFromGreenMask(0x03E0), plat::PixelFormat::Rgb555);
    EXPECT_EQ(plat::formatFromGreenMask(0x07E0), plat::PixelFormat::Rgb565);
}

TEST(Surface, LockGivesRowsOfThePitch)
{
    plat::Surface s(13, 3);
    int pitch = 0;
    uint16_t* p = s.lock(&pitch);
    EXPECT_GE(pitch, 26);
    p[pitch / 2 * 2 + 12] = 0xABCD;  // row 2, last column
    s.unlock();
    EXPECT_EQ(s.pixel(12, 2), 0xABCD);
    EXPECT_FALSE(s.isLocked());
}

TEST(Surface, OverlappingCopyWithinOneSurfaceActsLikeMemmove)
{
    plat::Surface s(6, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            s.setPixel(x, y, static_cast<uint16_t>(y * 10 + x));
    // Rows 0-1 down by one and columns 0-4 right by one, as a list scroll does.
    const plat::Rect rc{0, 0, 5, 2};
    ASSERT_EQ(s.bltFast(1, 1, s, &rc, plat::BLTFAST_WAIT), plat::kOk);
    for (int y = 1; y < 3; ++y)
        for (int x = 1; x < 6; ++x)
            EXPECT_EQ(s.pixel(x, y), (y - 1) * 10 + (x - 1)) << x << "," << y;
    EXPECT_EQ(s.pixel(0, 2), 20);
    // And the other way.
    const plat::Rect back{1, 1, 6, 3};
    ASSERT_EQ(s.bltFast(0, 0, s, &back, plat::BLTFAST_WAIT), plat::kOk);
    EXPECT_EQ(s.pixel(0, 0), 0);
    EXPECT_EQ(s.pixel(4, 1), 14);
}

TEST(Surface, ARectangleOutsideEitherSurfaceFailsTheWholeBlit)
{
    plat::Surface src(4, 4), dest(4, 4);
    src.fill(nullptr, 0x1111);
    dest.fill(nullptr, 0x2222);
    const plat::Rect whole{0, 0, 4, 4};
    const plat::Rect tooWide{0, 0, 5, 4};
    EXPECT_EQ(dest.bltFast(1, 0, src, &whole, plat::BLTFAST_WAIT), plat::kErrInvalidRect);
    EXPECT_EQ(dest.bltFast(0, -1, src, &whole, plat::BLTFAST_WAIT), plat::kErrInvalidRect);
    EXPECT_EQ(dest.bltFast(0, 0, src, &tooWide, plat::BLTFAST_WAIT), plat::kErrInvalidRect);
    const plat::Rect outside{2, 2, 6, 3};
    EXPECT_EQ(dest.fill(&outside, 0), plat::kErrInvalidRect);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(dest.pixel(x, y), 0x2222);
    // A locked surface refuses blits until it is unlocked.
    src.lock();
    EXPECT_EQ(dest.bltFast(0, 0, src, nullptr, plat::BLTFAST_WAIT), plat::kErrSurfaceBusy);
    src.unlock();
    EXPECT_EQ(dest.bltFast(0, 0, src, nullptr, plat::BLTFAST_WAIT), plat::kOk);
}

TEST(Surface, KeyedCopiesSkipTheSourceKeyAndStretchingPicksNearestPixels)
{
    plat::Surface src(2, 1), dest(4, 2);
    src.setPixel(0, 0, 0xF81F);
    src.setPixel(1, 0, 0x1234);
    src.setColorKey(0xF81F);
    dest.fill(nullptr, 0x5555);
    ASSERT_EQ(dest.bltFast(0, 0, src, nullptr, plat::BLTFAST_SRCCOLORKEY | plat::BLTFAST_WAIT), plat::kOk);
    EXPECT_EQ(dest.pixel(0, 0), 0x5555);
    EXPECT_EQ(dest.pixel(1, 0), 0x1234);
    ASSERT_EQ(dest.blt(nullptr, &src, nullptr, plat::BLT_WAIT), plat::kOk);
    EXPECT_EQ(dest.pixel(1, 1), 0xF81F);
    EXPECT_EQ(dest.pixel(2, 1), 0x1234);
    ASSERT_EQ(dest.blt(nullptr, nullptr, nullptr, plat::BLT_COLORFILL | plat::BLT_WAIT, 0x0F0F), plat::kOk);
    EXPECT_EQ(dest.pixel(3, 1), 0x0F0F);
}

TEST(Surface, WritesAPngOrReportsWhyNot)
{
    plat::Surface s(3, 2, plat::PixelFormat::Rgb555);
    s.fill(nullptr, 0x7C1F);
    char path[] = "/tmp/brellox-png-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    EXPECT_TRUE(plat::writePng(s, path));
    FILE* f = std::fopen(path, "rb");
    ASSERT_NE(f, nullptr);
    unsigned char signature[8] = {};
    EXPECT_EQ(std::fread(signature, 1, 8, f), 8u);
    std::fclose(f);
    std::remove(path);
    EXPECT_EQ(signature[1], 'P');
    EXPECT_EQ(signature[2], 'N');
    EXPECT_FALSE(plat::writePng(s, "/nonexistent-folder/frame.png"));
}

}  // namespace
