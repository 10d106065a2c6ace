#include "launcher/CLauncher.h"

#include "common/DebugLog.h"
#include "platform/Files.h"
#include "xframework/CXManager.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <spawn.h>
#include <unistd.h>

extern char** environ;

void CLauncher::FrameworkLog(const char* pszFormat, ...)
{
    char szText[256];
    va_list args;
    va_start(args, pszFormat);
    std::vsnprintf(szText, sizeof szText, pszFormat, args);
    va_end(args);
    DebugLog(0, "%s", szText);
    plat::makeDirectories("LOGS");
    if (FILE* pFile = plat::openFile("LOGS\\Framework.txt", "a")) {
        std::fprintf(pFile, "Debug : %s\n", szText);
        std::fclose(pFile);
    }
}

int CLauncher::Run()
{
    // The game's own check: a running game holds its lock and is asked to
    // come to the front.
    if (!CXManager::CheckForAnotherInstance()) {
        FrameworkLog("[CXManager::CheckForAnotherInstance] Another instance of this app is already running.");
        return 0;
    }
    // The lock is the game's to take.
    CXManager::ReleaseInstanceCheck();
    if (!PlayMovie())
        FrameworkLog("[CLauncher::Run] No intro movie played; starting the game");
    return StartGame() ? 0 : 1;
}

bool CLauncher::PlayMovie()
{
    if (!plat::fileExists(kMoviePath)) {
        FrameworkLog("[CLauncher::PlayMovie] There is no %s", kMoviePath);
        return false;
    }
    // No decoder for the movie is built yet: the file is left unplayed.
    FrameworkLog("[CLauncher::PlayMovie] %s cannot be played", kMoviePath);
    return false;
}

bool CLauncher::StartGame()
{
    char* const argv[] = {const_cast<char*>(m_GameProgram.c_str()), nullptr};
    pid_t pid = 0;
    const int nError = posix_spawn(&pid, m_GameProgram.c_str(), nullptr, nullptr, argv, environ);
    if (nError != 0) {
        FrameworkLog("[CLauncher::StartGame] Cannot start %s: %s", m_GameProgram.c_str(), std::strerror(nError));
        std::fprintf(stderr, "launcher: cannot start the game %s: %s\n", m_GameProgram.c_str(),
                     std::strerror(nError));
        return false;
    }
    return true;
}
