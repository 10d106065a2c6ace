// The match scene drawn headless: compared with its reviewed picture within a
// tolerance (the rasteriser may round a few edge pixels otherwise), and the
// program's options and timing line.
#include "../xframework/PngPicture.h"

#include "platform/PngWriter.h"
#include "tools/sceneview/SceneView.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

namespace {

class SceneViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(BRELLOX_GAME_DIR);
    }
    void TearDown() override { std::filesystem::current_path(m_previous); }
    static std::string Temp(const std::string& name)
    {
        return (std::filesystem::temp_directory_path() / (std::to_string(getpid()) + name)).string();
    }

    std::filesystem::path m_previous;
};

TEST_F(SceneViewTest, TheGroundMatchesItsReviewedPicture)
{
    tools::SceneView view;
    tools::SceneOptions options;
    ASSERT_TRUE(view.Setup(options)) << view.GetError();
    for (int frame = 0; frame < 12; ++frame)
        view.Frame(42);
    const std::string shot = Temp("scene.png");
    ASSERT_TRUE(plat::writePng(view.GetTarget(), shot));
    const std::string golden = std::string(SCENE_GOLDEN_DIR) + "/scene.png";
    if (std::getenv("BRELLOX_UPDATE_GOLDEN"))
        std::filesystem::copy_file(shot, golden, std::filesystem::copy_options::overwrite_existing);
    Picture now, reviewed;
    ASSERT_TRUE(ReadPng(shot, now));
    ASSERT_TRUE(ReadPng(golden, reviewed)) << golden;
    std::filesystem::remove(shot);
    ASSERT_EQ(now.width, reviewed.width);
    ASSERT_EQ(now.height, reviewed.height);
    // Pixels that differ visibly, and the mean difference over all channels.
    int nDiffering = 0;
    double total = 0;
    for (size_t i = 0; i < now.rgb.size(); i += 3) {
        int worst = 0;
        for (size_t c = 0; c < 3; ++c) {
            const int d = std::abs(now.rgb[i + c] - reviewed.rgb[i + c]);
            worst = std::max(worst, d);
            total += d;
        }
        nDiffering += worst > 48;
    }
    const int pixels = now.width * now.height;
    EXPECT_LE(nDiffering, pixels / 100) << "pixels that differ visibly from the reviewed picture";
    EXPECT_LE(total / (pixels * 3.0), 2.0) << "mean difference per channel";
}

TEST_F(SceneViewTest, UnknownAnimationsAndSizesAreRefusedWithAReason)
{
    tools::SceneOptions options;
    options.animation = "NoSuchDance";
    tools::SceneView view;
    EXPECT_FALSE(view.Setup(options));
    EXPECT_NE(view.GetError().find("NoSuchDance.pa"), std::string::npos) << view.GetError();
    options.animation = "C2Walk";
    options.players = 23;
    tools::SceneView other;
    EXPECT_FALSE(other.Setup(options));
    EXPECT_FALSE(other.GetError().empty());
}

TEST_F(SceneViewTest, TwoClubsAreDressedAndBadClubsRefused)
{
    struct Case {
        int home, away;
        const char* pszReason;  // null when the clubs take the field
    } cases[] = {{3, 6, nullptr}, {1, 99999, "no club 99999"}, {4, 4, "two different clubs"}, {0, 2, "no club 0"}};
    for (const Case& c : cases) {
        tools::SceneOptions options;
        options.width = options.height = 64;
        options.stands = options.sky = false;
        options.club = c.home;
        options.away = c.away;
        tools::SceneView view;
        EXPECT_EQ(view.Setup(options), c.pszReason == nullptr) << c.home << " " << c.away << ": " << view.GetError();
        if (c.pszReason)
            EXPECT_NE(view.GetError().find(c.pszReason), std::string::npos) << view.GetError();
    }
}

TEST_F(SceneViewTest, TheProgramDrawsFramesAndEndsWithTheirRate)
{
    const std::string png = Temp("small.png"), out = Temp("out.txt");
    const std::string command = std::string(SCENEVIEW) + " --out " + png +
                                " --width 96 --height 64 --players 4 --animation C2Walk --frames 5 > " + out;
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream in(out);
    std::string line, last;
    while (std::getline(in, line))
        last = line;
    EXPECT_TRUE(std::regex_match(last, std::regex(R"(fps [0-9]+\.[0-9])"))) << last;
    Picture picture;
    ASSERT_TRUE(ReadPng(png, picture));
    EXPECT_EQ(picture.width, 96);
    EXPECT_EQ(picture.height, 64);
    const std::string bad = std::string(SCENEVIEW) + " --out " + png + " --players 40 2> " + out;
    EXPECT_NE(std::system(bad.c_str()), 0);
    std::filesystem::remove(png);
    std::filesystem::remove(out);
}

}  // namespace
