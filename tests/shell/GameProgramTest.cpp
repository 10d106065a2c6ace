// The game program run as a person would use it, through its script driver
// and without a display: the start screen, a popup over it that takes the
// clicks and closes on Escape, and a clear refusal when there is no display.
#include "../xframework/PngPicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

struct RunResult {
    int nExitCode = -1;  // -1: still running at the deadline (then killed)
    std::string output;
};

class GameProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/brellox-program-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + m_dir + "'").c_str()); }

    // Runs the program in the runtime tree; bDisplayless takes every way to
    // a display away, the dummy driver included.
    RunResult Run(const std::string& script, bool bDisplayless, int nSeconds)
    {
        const std::string scriptPath = m_dir + "/script.txt", logPath = m_dir + "/out.log";
        std::ofstream(scriptPath) << script;
        const pid_t pid = fork();
        if (pid == 0) {
            setenv("XDG_RUNTIME_DIR", m_dir.c_str(), 1);
            setenv("XDG_CONFIG_HOME", m_dir.c_str(), 1);
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            if (bDisplayless) {
                unsetenv("SDL_VIDEODRIVER");
                unsetenv("DISPLAY");
                unsetenv("WAYLAND_DISPLAY");
            } else {
                setenv("SDL_VIDEODRIVER", "dummy", 1);
            }
            const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(log, 1);
            dup2(log, 2);
            if (chdir(BRELLOX_GAME_DIR) != 0)
                _exit(90);
            const std::string program = std::string(BRELLOX_BIN_DIR) + "/Brellox";
            execl(program.c_str(), program.c_str(), "--script", scriptPath.c_str(), static_cast<char*>(nullptr));
            _exit(91);
        }
        RunResult result;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(nSeconds);
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                result.nExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (result.nExitCode == -1) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        std::stringstream text;
        text << std::ifstream(logPath).rdbuf();
        result.output = text.str();
        return result;
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
    // The start screen's control lies at (360, 400)-(520, 440); the popup's
    // close control over it at (325, 390)-(475, 420).
    const std::string script = "click 400 410\nshot " + m_dir + "/screen.png\n" + "click 400 410\nshot " + m_dir +
                               "/closed.png\n" + "click 400 410\nshot " + m_dir + "/reopened.png\n" +
                               "key Escape\nshot " + m_dir + "/escaped.png\nquit\n";
    // The first click opened the popup; the screen is shot with it open.
    const RunResult run = Run(script, false, 60);
    ASSERT_EQ(run.nExitCode, 0) << run.output;
    const Picture open = Shot("screen.png");
    const Picture closed = Shot("closed.png");
    const Picture reopened = Shot("reopened.png");
    const Picture escaped = Shot("escaped.png");
    ASSERT_EQ(open.width, 800);
    ASSERT_EQ(open.height, 600);
    // The popup area: open, then closed by the click that reached the popup's
    // control, open again from the screen's control, closed by Escape.
    const int l = 250, t = 250, r = 550, b = 440;
    EXPECT_GT(Differences(open, closed, l, t, r, b, 400, 410), 10000);
    EXPECT_EQ(Differences(open, reopened, l, t, r, b, 400, 410), 0);
    EXPECT_EQ(Differences(closed, escaped, l, t, r, b, 400, 410), 0);
    // The whole frame shows the painted background outside the popup.
    EXPECT_EQ(Differences(open, closed, 0, 0, 800, 250, 400, 410), 0);
    EXPECT_TRUE(Far(closed.At(300, 260), open.At(300, 260)));
}

TEST_F(GameProgram, WithoutADisplayItSaysSoAndEndsAtOnce)
{
    // A run that waited for a display would be cut off (-1) at the deadline.
    const RunResult run = Run("quit\n", true, 10);
    EXPECT_EQ(run.nExitCode, 1) << run.output;
    EXPECT_NE(run.output.find("no display to open"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("SDL_VIDEODRIVER=dummy"), std::string::npos) << run.output;
    // One line.
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
}

TEST_F(GameProgram, AScriptItCannotPlayIsRefusedBeforeTheGameStarts)
{
    const RunResult run = Run("click 10 10\nclick 900 10\n", false, 30);
    EXPECT_EQ(run.nExitCode, 2);
    EXPECT_NE(run.output.find("line 2: the point 900,10 lies outside the 800 x 600 frame"), std::string::npos)
        << run.output;
}

}  // namespace
