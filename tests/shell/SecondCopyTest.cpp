// The program started twice in one user's session: the second start gives up
// at once and the first runs on.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

class SecondCopy : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/brellox-copies-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_runtime = pattern;
    }
    void TearDown() override
    {
        if (m_first > 0) {
            kill(m_first, SIGKILL);
            waitpid(m_first, nullptr, 0);
        }
        std::system(("rm -rf '" + m_runtime + "'").c_str());
    }
    // Starts the program in the runtime tree with its log on a file.
    pid_t Start(const std::string& logName)
    {
        const pid_t pid = fork();
        if (pid == 0) {
            setenv("XDG_RUNTIME_DIR", m_runtime.c_str(), 1);
            setenv("XDG_CONFIG_HOME", m_runtime.c_str(), 1);
            setenv("SDL_VIDEODRIVER", "dummy", 1);
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            setenv("BRELLOX_LOG", "1", 1);
            const int log = open((m_runtime + "/" + logName).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(log, 2);
            dup2(log, 1);
            if (chdir(BRELLOX_GAME_DIR) != 0)
                _exit(90);
            const std::string program = std::string(BRELLOX_BIN_DIR) + "/Brellox";
            execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
            _exit(91);
        }
        return pid;
    }
    // Waits for the child's end; -1 when it is still running at the deadline.
    static int WaitExit(pid_t pid, int seconds)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid)
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return -1;
    }
    std::string Log(const std::string& name) const
    {
        std::ifstream in(m_runtime + "/" + name);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    std::string m_runtime;
    pid_t m_first = -1;
};

TEST_F(SecondCopy, TheSecondStartRefusesAndTheFirstRunsOn)
{
    m_first = Start("first.log");
    ASSERT_GT(m_first, 0);
    // The first copy is up once its socket listens.
    const std::string socketPath = m_runtime + "/brellox/Corravin.sock";
    struct stat st {};
    for (int i = 0; i < 500 && stat(socketPath.c_str(), &st) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(stat(socketPath.c_str(), &st), 0) << Log("first.log");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));

    const pid_t second = Start("second.log");
    ASSERT_GT(second, 0);
    EXPECT_EQ(WaitExit(second, 30), 0);
    EXPECT_NE(Log("second.log").find("Another instance of this app is already running."), std::string::npos)
        << Log("second.log");
    // The first copy was not disturbed: still running, and it ends cleanly when told.
    EXPECT_EQ(WaitExit(m_first, 0), -1);
    kill(m_first, SIGTERM);
    EXPECT_EQ(WaitExit(m_first, 30), 0) << Log("first.log");
    m_first = -1;

    // With the first copy gone a new start runs.
    m_first = Start("third.log");
    EXPECT_EQ(WaitExit(m_first, 2), -1) << Log("third.log");
}

}  // namespace
