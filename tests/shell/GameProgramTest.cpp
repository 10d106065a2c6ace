// The game program run as a person would use it, through its script driver
// and without a display: the start-up screen, a popup over it that takes
// the clicks and closes on Escape, and a clear refusal when there is no display.
#include "GameInPlay.h"
#include "ScriptedProgram.h"
#include "../xframework/PngPicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

class GameProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/brellox-program-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + m_dir + "'").c_str()); }

    ScriptedRun Run(const std::string& script, bool bDisplayless, int nSeconds)
    {
        return RunScriptedProgram("Brellox", m_dir, script, bDisplayless, nSeconds);
    }
    Picture Shot(const std::string& name) const
    {
        Picture picture;
        EXPECT_TRUE(ReadPng(m_dir + "/" + name, picture)) << name;
        return picture;
    }
    // Pixels that differ visibly inside a rectangle, leaving out the pointer's
    // box; gradients are painted with a little jitter, so that two paintings
    // of one gradient differ in their lowest bits.
    static int Differences(const Picture& a, const Picture& b, int l, int t, int r, int bottom, int nCursorX,
                           int nCursorY)
    {
        int n = 0;
        for (int y = t; y < bottom; ++y)
            for (int x = l; x < r; ++x) {
                const bool bUnderCursor = x >= nCursorX && x < nCursorX + 12 && y >= nCursorY && y < nCursorY + 20;
                if (!bUnderCursor && Far(a.At(x, y), b.At(x, y)))
                    ++n;
            }
        return n;
    }
    static bool Far(plat::COLORREF a, plat::COLORREF b)
    {
        const int kTolerance = 24;
        return std::abs(plat::GetRValue(a) - plat::GetRValue(b)) > kTolerance ||
               std::abs(plat::GetGValue(a) - plat::GetGValue(b)) > kTolerance ||
               std::abs(plat::GetBValue(a) - plat::GetBValue(b)) > kTolerance;
    }
    std::string m_dir;
};

TEST_F(GameProgram, APopupOverTheStartScreenTakesTheClicksAndClosesOnEscape)
{
    // The start menu's "New Game" at (6, 152)-(154, 171) opens the popup of
    // the managers' names at (215, 215)-(745, 435); its cancel button lies at
    // (695, 403)-(739, 429).
    const std::string script = "click 80 161\nshot " + m_dir + "/screen.png\n" + "click 717 416\nshot " + m_dir +
                               "/closed.png\n" + "click 80 161\nshot " + m_dir + "/reopened.png\n" +
                               "key Escape\nshot " + m_dir + "/escaped.png\nquit\n";
    // Opening the popup loads the starting world afresh, which clears the
    // working files of the folder it plays in: a folder of its own.
    shell_test::GameFolder folder;
    const ScriptedRun run = RunScriptedProgram("Brellox", m_dir, script, false, 60, (folder.Path() / "play").string());
    ASSERT_EQ(run.nExitCode, 0) << run.output;
    const Picture open = Shot("screen.png");
    const Picture closed = Shot("closed.png");
    const Picture reopened = Shot("reopened.png");
    const Picture escaped = Shot("escaped.png");
    ASSERT_EQ(open.width, 800);
    ASSERT_EQ(open.height, 600);
    // The popup area: open, then closed by the click on its cancel button,
    // open again from the menu, closed by Escape.
    const int l = 215, t = 215, r = 745, b = 435;
    EXPECT_GT(Differences(open, closed, l, t, r, b, 717, 416), 10000);
    // The caret blinks in the first name (y 255 to 273); the rest is as it was.
    EXPECT_EQ(Differences(open, reopened, l, t, r, 254, 80, 161) + Differences(open, reopened, l, 274, r, b, 80, 161),
              0);
    EXPECT_EQ(Differences(closed, escaped, l, t, r, b, 717, 416), 0);
    // The title picture above the popup is left as it was.
    EXPECT_EQ(Differences(open, closed, 160, 0, 800, 215, 717, 416), 0);
}

TEST_F(GameProgram, WithoutADisplayItSaysSoAndEndsAtOnce)
{
    // A run that waited for a display would be cut off (-1) at the deadline.
    const ScriptedRun run = Run("quit\n", true, 10);
    EXPECT_EQ(run.nExitCode, 1) << run.output;
    EXPECT_NE(run.output.find("no display to open"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("SDL_VIDEODRIVER=dummy"), std::string::npos) << run.output;
    // One line.
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
}

TEST_F(GameProgram, AScriptItCannotPlayIsRefusedBeforeTheGameStarts)
{
    const ScriptedRun run = Run("click 10 10\nclick 900 10\n", false, 30);
    EXPECT_EQ(run.nExitCode, 2);
    EXPECT_NE(run.output.find("line 2: the point 900,10 lies outside the 800 x 600 frame"), std::string::npos)
        << run.output;
}

// A game folder with one file cut short: the rest of the runtime tree is
// linked in, the damaged file's own folder copied.
TEST_F(GameProgram, DamagedDataIsRefusedWithTheReasonInWords)
{
    namespace fs = std::filesystem;
    struct Case {
        const char* pszFolder;
        const char* pszFile;
        const char* pszReason;
    };
    const Case cases[] = {
        {"ControlsScripts", "ControlsScripts/English/ControlScript.csc", "The game's texts are missing or damaged."},
        {"Data", "Data/Tables/StaExtra.txt", "The game's data files are missing or damaged."},
    };
    for (const Case& c : cases) {
        const fs::path play = fs::path(m_dir) / "play";
        fs::remove_all(play);
        fs::create_directories(play);
        for (const auto& entry : fs::directory_iterator(BRELLOX_GAME_DIR))
            if (entry.path().filename() != c.pszFolder)
                fs::create_symlink(entry.path(), play / entry.path().filename());
        fs::copy(fs::path(BRELLOX_GAME_DIR) / c.pszFolder, play / c.pszFolder, fs::copy_options::recursive);
        const fs::path damaged = play / c.pszFile;
        ASSERT_TRUE(fs::exists(damaged)) << damaged;
        fs::resize_file(damaged, fs::file_size(damaged) / 2);

        const ScriptedRun run = RunScriptedProgram("Brellox", m_dir, "quit\n", false, 60, play.string());
        EXPECT_EQ(run.nExitCode, 1) << c.pszFile << "\n" << run.output;
        EXPECT_NE(run.output.find(std::string("Brellox could not start. ") + c.pszReason), std::string::npos)
            << c.pszFile << "\n" << run.output;
    }
}

}  // namespace
