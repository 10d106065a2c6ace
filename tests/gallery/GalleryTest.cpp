// The control gallery drawn by the program itself, played through its script
// driver, and compared pixel for pixel with the reviewed pictures in golden/.
// When a drawing change is meant, the pictures are renewed in the same commit:
// a failing run keeps its shots and names them.
#include "../xframework/PngPicture.h"

#include <gtest/gtest.h>

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

// Runs the gallery with a script in the runtime tree; the exit code, or -1
// when it had to be stopped at the deadline.
int RunGallery(const std::string& dir, const std::string& script, std::string& rOutput)
{
    const std::string scriptPath = dir + "/script.txt", logPath = dir + "/out.log";
    std::ofstream(scriptPath) << script;
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
        setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(log, 1);
        dup2(log, 2);
        if (chdir(BRELLOX_GAME_DIR) != 0)
            _exit(90);
        const std::string program = std::string(BRELLOX_BIN_DIR) + "/ControlGallery";
        execl(program.c_str(), program.c_str(), "--script", scriptPath.c_str(), static_cast<char*>(nullptr));
        _exit(91);
    }
    int nExit = -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            nExit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (nExit == -1) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    std::stringstream text;
    text << std::ifstream(logPath).rdbuf();
    rOutput = text.str();
    return nExit;
}

// Pixels that differ, and the first of them.
std::string CompareWithGolden(const std::string& shotPath, const std::string& name)
{
    Picture shot, golden;
    if (!ReadPng(shotPath, shot))
        return "no shot at " + shotPath;
    if (!ReadPng(std::string(GALLERY_GOLDEN_DIR) + "/" + name, golden))
        return "no reviewed picture " + name + "; the new shot is " + shotPath;
    if (shot.width != golden.width || shot.height != golden.height)
        return name + ": the shot has another size; it is " + shotPath;
    int nDiffering = 0, nFirstX = -1, nFirstY = -1;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (shot.At(x, y) != golden.At(x, y) && nDiffering++ == 0) {
                nFirstX = x;
                nFirstY = y;
            }
    if (nDiffering == 0)
        return "";
    return name + ": " + std::to_string(nDiffering) + " pixels differ, the first at " + std::to_string(nFirstX) +
           "," + std::to_string(nFirstY) + "; the shot is " + shotPath;
}

TEST(ControlGallery, DrawsEveryControlAsReviewedBeforeAndAfterUse)
{
    char pattern[] = "/tmp/brellox-gallery-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string dir = pattern;
    // The plain toggle on; two radio buttons in turn; the swap
    // button; the repeat button once; the disabled button; the list's down
    // arrow three times; its thumb dragged down; the slider dragged right;
    // the list's name header twice (sorted down), a row picked; the
    // clickable label; New Game, which opens a popup with its title buttons.
    const std::string script = "shot " + dir + "/before.png\n"
                               "click 62 109\nclick 262 109\nclick 362 109\nclick 482 109\n"
                               "click 262 49\nclick 532 49\n"
                               "click 284 488\nclick 284 488\nclick 284 488\n"
                               "drag 284 360 284 420\n"
                               "drag 350 369 450 369\n"
                               "click 60 328\nclick 60 328\nclick 60 392\n"
                               "click 180 265\nclick 62 49\n"
                               "shot " + dir + "/after.png\nquit\n";
    std::string output;
    ASSERT_EQ(RunGallery(dir, script, output), 0) << output;
    const std::string before = CompareWithGolden(dir + "/before.png", "before.png");
    const std::string after = CompareWithGolden(dir + "/after.png", "after.png");
    EXPECT_EQ(before, "");
    EXPECT_EQ(after, "");
    if (before.empty() && after.empty())
        std::system(("rm -rf '" + dir + "'").c_str());
}

}  // namespace
