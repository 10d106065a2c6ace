// The launcher run as a program: a copy of it beside a stand-in game that
// leaves a mark in the folder it was started in.
#include "launcher/CLauncher.h"

#include "platform/InstanceLock.h"
#include "platform/Window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <atomic>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char szTemplate[] = "/tmp/brellox_launcher_XXXXXX";
        m_root = mkdtemp(szTemplate);
        fs::create_directories(m_root / "bin");
        fs::create_directories(m_root / "game");
        fs::copy_file(fs::path(BRELLOX_BIN_DIR) / "launcher", m_root / "bin" / "launcher");
        std::ofstream(m_root / "bin" / "Brellox") << "#!/bin/sh\ntouch started\n";
        fs::permissions(m_root / "bin" / "Brellox", fs::perms::owner_all);
        m_previousRuntime = std::getenv("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR") : "";
        setenv("XDG_RUNTIME_DIR", m_root.c_str(), 1);
    }
    void TearDown() override
    {
        if (m_previousRuntime.empty())
            unsetenv("XDG_RUNTIME_DIR");
        else
            setenv("XDG_RUNTIME_DIR", m_previousRuntime.c_str(), 1);
        fs::remove_all(m_root);
    }

    // The launcher's exit code; -1 when it did not end.
    int RunLauncher() const
    {
        const pid_t pid = fork();
        if (pid == 0) {
            if (chdir((m_root / "game").c_str()) != 0)
                _exit(90);
            const std::string program = (m_root / "bin" / "launcher").string();
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            _exit(91);
        }
        int status = 0;
        if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
            return -1;
        return WEXITSTATUS(status);
    }
    // The stand-in game runs apart from the launcher: its mark is awaited.
    bool GameStarted() const
    {
        for (int i = 0; i < 500 && !fs::exists(m_root / "game" / "started"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return fs::exists(m_root / "game" / "started");
    }
    std::string Log() const { return ReadText(m_root / "game" / "LOGS" / "Framework.txt"); }

    fs::path m_root;
    std::string m_previousRuntime;
};

TEST_F(LauncherTest, TheGameStartsAfterTheMovieOrAtOnceWithoutOne)
{
    const std::string movie = ReadText(fs::path(BRELLOX_GAME_DIR) / "Movies" / "intro.avi");
    ASSERT_FALSE(movie.empty()) << "the intro movie was not generated";
    const struct {
        const char* pszCase;
        std::string file;  // empty: no movie
        const char* pszLogged;
    } cases[] = {
        {"the generated movie", movie, "Played 30 of 30 frames"},
        {"no movie", "", "There is no Movies\\intro.avi"},
        {"not a movie", "not a movie", "Movies\\intro.avi cannot be played"},
        {"a movie cut short", movie.substr(0, movie.size() / 2), "Movies\\intro.avi cannot be played"},
    };
    for (const auto& test : cases) {
        fs::remove_all(m_root / "game");
        fs::create_directories(m_root / "game");
        if (!test.file.empty()) {
            fs::create_directories(m_root / "game" / "Movies");
            std::ofstream(m_root / "game" / "Movies" / "intro.avi", std::ios::binary) << test.file;
        }
        EXPECT_EQ(RunLauncher(), 0) << test.pszCase;
        EXPECT_TRUE(GameStarted()) << test.pszCase;
        EXPECT_NE(Log().find(test.pszLogged), std::string::npos) << test.pszCase << ": " << Log();
    }
}

TEST_F(LauncherTest, EscapeEndsTheMovieAndTheGameStarts)
{
    fs::create_directories(m_root / "game" / "Movies");
    fs::copy_file(fs::path(BRELLOX_GAME_DIR) / "Movies" / "intro.avi", m_root / "game" / "Movies" / "intro.avi");
    const fs::path previous = fs::current_path();
    fs::current_path(m_root / "game");
    // Escape released as soon as the movie's window takes input.
    std::atomic<bool> bRunning{true};
    std::thread keys([&bRunning] {
        const plat::LPARAM lUp = 1 | (plat::LPARAM{1} << 30) | (plat::LPARAM{1} << 31);
        while (bRunning && !plat::postMessage(plat::WM_KEYUP, plat::VK_ESCAPE, lUp))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    const int nResult = CLauncher((m_root / "bin" / "Brellox").string()).Run();
    bRunning = false;
    keys.join();
    fs::current_path(previous);

    EXPECT_EQ(nResult, 0);
    EXPECT_TRUE(GameStarted());
    const std::string log = Log();
    EXPECT_NE(log.find("Played "), std::string::npos) << log;
    EXPECT_EQ(log.find("Played 30 of 30 frames"), std::string::npos) << log;
}

TEST_F(LauncherTest, WithTheGameRunningNoSecondGameStartsAndTheRunningOneIsCalledForward)
{
    bool bOtherCopy = false;
    std::unique_ptr<plat::InstanceLock> pGame(plat::InstanceLock::acquire("Corravin", bOtherCopy));
    ASSERT_NE(pGame, nullptr);
    ASSERT_FALSE(bOtherCopy);
    plat::InstanceLock::takeFrontRequest();

    EXPECT_EQ(RunLauncher(), 0);
    const std::string log = Log();
    EXPECT_NE(log.find("Another instance of this app is already running."), std::string::npos) << log;
    EXPECT_EQ(log.find("starting the game"), std::string::npos) << log;
    bool bCalled = false;
    for (int i = 0; i < 500 && !bCalled; ++i) {
        bCalled = plat::InstanceLock::takeFrontRequest();
        if (!bCalled)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(bCalled);
    EXPECT_FALSE(fs::exists(m_root / "game" / "started"));
}

}  // namespace
