#pragma once
// Runs one of the game's programs from the runtime tree with a script of
// input commands, as a person would use it, and gathers what it printed.
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

struct ScriptedRun {
    int nExitCode = -1;  // -1: still running at the deadline (then killed)
    std::string output;
};

// The program (a name in BRELLOX_BIN_DIR) plays the script from the working
// folder (BRELLOX_GAME_DIR unless named); its files, settings, saves and log go
// to dir. bDisplayless takes every way to a display away, the dummy driver
// included.
inline ScriptedRun RunScriptedProgram(const char* pszProgram, const std::string& dir, const std::string& script,
                                      bool bDisplayless, int nSeconds,
                                      const std::string& workingFolder = BRELLOX_GAME_DIR)
{
    const std::string scriptPath = dir + "/script.txt", logPath = dir + "/out.log";
    std::ofstream(scriptPath) << script;
    // The help that opens by itself on each first visit to a screen stays
    // shut unless the run's own options (the game's options key under the
    // run's configuration folder) say otherwise.
    const std::string options = dir + "/brellox/Software/TolvaneSystems/KAVO/Options.cfg";
    std::stringstream stored;
    stored << std::ifstream(options).rdbuf();
    if (("\n" + stored.str()).find("\nAutoHelp=") == std::string::npos) {
        std::filesystem::create_directories(dir + "/brellox/Software/TolvaneSystems/KAVO");
        std::ofstream(options, std::ios::app) << "AutoHelp=0\n";
    }
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
        setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
        setenv("XDG_DATA_HOME", dir.c_str(), 1);
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
        if (chdir(workingFolder.c_str()) != 0)
            _exit(90);
        const std::string program = std::string(BRELLOX_BIN_DIR) + "/" + pszProgram;
        execl(program.c_str(), program.c_str(), "--script", scriptPath.c_str(), static_cast<char*>(nullptr));
        _exit(91);
    }
    ScriptedRun result;
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
