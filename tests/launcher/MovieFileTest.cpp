// The movie file: what is written comes back frame by frame the right way
// up, rows padded to four bytes included; other files are refused.
#include "launcher/CMovieFile.h"

#include "platform/Surface.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <stdlib.h>

namespace {

namespace fs = std::filesystem;

TEST(MovieFile, FramesComeBackAsWritten)
{
    char szTemplate[] = "/tmp/brellox_movie_XXXXXX";
    const fs::path dir = mkdtemp(szTemplate);
    const std::string path = (dir / "clip.avi").string();
    // Three pixels wide, so that each stored row carries padding.
    const std::vector<std::vector<uint16_t>> frames = {
        {0x7C00, 0x03E0, 0x001F, 0x0001, 0x0002, 0x0003},
        {0x1111, 0x2222, 0x3333, 0x4444, 0x5555, 0x6666},
    };
    ASSERT_TRUE(CMovieFile::Write(path, 3, 2, 40000, frames));

    CMovieFile movie;
    std::string error;
    ASSERT_TRUE(movie.Load(path, error)) << error;
    EXPECT_EQ(movie.GetWidth(), 3);
    EXPECT_EQ(movie.GetHeight(), 2);
    EXPECT_EQ(movie.GetMicrosecondsPerFrame(), 40000u);
    ASSERT_EQ(movie.GetFrameCount(), 2);
    plat::Surface surface(3, 2, plat::PixelFormat::Rgb555);
    for (int f = 0; f < 2; ++f) {
        ASSERT_TRUE(movie.DrawFrame(f, surface));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(surface.pixel(x, y), frames[f][y * 3 + x]) << f << " " << x << "," << y;
    }
    EXPECT_FALSE(movie.DrawFrame(2, surface));

    // The 5-5-5 colours widen to 5-6-5 on such a surface.
    plat::Surface wide(3, 2, plat::PixelFormat::Rgb565);
    ASSERT_TRUE(movie.DrawFrame(0, wide));
    EXPECT_EQ(wide.pixel(0, 0), 0xF800);
    EXPECT_EQ(wide.pixel(1, 0), 0x07C0);
    EXPECT_EQ(wide.pixel(2, 0), 0x001F);

    std::ifstream in(path, std::ios::binary);
    const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::vector<std::pair<const char*, std::string>> refused = {
        {"cut short", whole.substr(0, whole.size() - 60)},
        {"not a RIFF file", "RIFX" + whole.substr(4)},
        {"empty", ""},
    };
    for (const auto& [pszCase, bytes] : refused) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        EXPECT_FALSE(movie.Load(path, error)) << pszCase;
        EXPECT_EQ(movie.GetFrameCount(), 0) << pszCase;
    }
    fs::remove_all(dir);
}

}  // namespace
