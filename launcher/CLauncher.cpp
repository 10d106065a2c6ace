#include "launcher/CLauncher.h"

#include "launcher/CMovieFile.h"

#include "common/DebugLog.h"
#include "platform/Clock.h"
#include "platform/Messages.h"
#include "platform/Surface.h"
#include "platform/Window.h"
#include "platform/Files.h"
#include "xframework/CXManager.h"

#include <algorithm>
#include <memory>
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
    CMovieFile movie;
    std::string error;
    if (!movie.Load(kMoviePath, error)) {
        FrameworkLog("[CLauncher::PlayMovie] %s cannot be played: %s", kMoviePath, error.c_str());
        return false;
    }
    std::unique_ptr<plat::Window> pWindow(plat::Window::create("Movie Player", kWidth, kHeight));
    if (!pWindow || !pWindow->setDisplayMode(kWidth, kHeight, true)) {
        FrameworkLog("[CXApplication::CreateBuffers] Can't set display mode");
        return false;
    }
    pWindow->showCursor(false);
    plat::Surface frame(kWidth, kHeight);
    bool bActive = true;
    int nFrame = 0;
    uint32_t dwNextFrame = plat::milliseconds();
    // One frame at each frame time until the last, Escape or the window
    // closing; no frames while the window is not active.
    while (nFrame < movie.GetFrameCount()) {
        if (plat::peekMessage()) {
            plat::Message msg;
            if (!plat::getMessage(msg) || msg.message == plat::WM_CLOSE)
                break;
            if (msg.message == plat::WM_KEYUP && msg.wParam == plat::VK_ESCAPE)
                break;
            if (msg.message == plat::WM_ACTIVATEAPP) {
                bActive = msg.wParam != 0 && !pWindow->isMinimized();
                FrameworkLog(bActive ? "Program is active" : "Program is not active");
            }
            continue;
        }
        if (!bActive) {
            plat::waitMessage();
            dwNextFrame = plat::milliseconds();
            continue;
        }
        const uint32_t dwNow = plat::milliseconds();
        if (static_cast<int32_t>(dwNow - dwNextFrame) < 0) {
            plat::waitMessageFor(dwNextFrame - dwNow);
            continue;
        }
        movie.DrawFrame(nFrame++, frame);
        pWindow->present(frame);
        dwNextFrame += std::max<uint32_t>(1, movie.GetMicrosecondsPerFrame() / 1000);
    }
    FrameworkLog("[CLauncher::PlayMovie] Played %d of %d frames", nFrame, movie.GetFrameCount());
    return true;
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
