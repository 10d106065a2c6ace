#include "shell/WinMain.h"

#include "shell/CGameSounds.h"
#include "shell/CScriptDriver.h"
#include "shell/SoundEndMessages.h"

#include "xframework/CXPopup.h"

#include "common/DebugLog.h"
#include "platform/Clock.h"
#include "platform/Window.h"

#include <cstdio>
#include <string>

CGameHost* g_pGame = nullptr;

bool CreateMainWindow(const char* pszCaption)
{
    plat::Window* pWindow = plat::Window::create(pszCaption, 800, 600);
    if (!pWindow) {
        DebugLog(0, "[CreateMainWindow] Could not create the window: %s", plat::Window::lastError());
        return false;
    }
    g_pGame->m_hWnd = pWindow;
    g_pGame->m_rcWindowOuter = pWindow->clientRect();
    return true;
}

intptr_t MainWndProc(uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam)
{
    // Every message reaches the screens first, the closing ones included: the
    // top popup when one is open, else the game's current screen.
    if (CXPopup* pTop = CXPopup::TopPopup())
        pTop->WindowProc(message, wParam, lParam);
    else if (g_pGame)
        g_pGame->DispatchMessage(message, wParam, lParam);
    plat::Window* pWindow = g_pGame ? g_pGame->m_hWnd : nullptr;
    switch (message) {
    case plat::WM_CLOSE:
        // Closing the window destroys it.
        return MainWndProc(plat::WM_DESTROY, 0, 0);
    case plat::WM_DESTROY:
        plat::postQuitMessage(0);
        return 0;
    case plat::WM_MOVE:
    case plat::WM_SIZE: {
        if (g_pGame && pWindow) {
            // The game's coordinates are the frame's, in full screen too,
            // where the frame is shown scaled on the desktop.
            g_pGame->m_rcScreen = pWindow->clientRect();
            g_pGame->m_bPresentNeeded = 1;
            const RECT& rc = g_pGame->m_rcScreen;
            DebugLog(4, "WINDOW RECT: [%d,%d,%d,%d]", rc.left, rc.top, rc.right, rc.bottom);
        }
        return 0;
    }
    case plat::WM_PAINT:
        if (g_pGame)
            g_pGame->m_bPresentNeeded = 1;
        return 1;
    case plat::WM_ACTIVATEAPP: {
        // Active only in the foreground and not minimised.
        const bool bActive = wParam != 0 && pWindow && pWindow->isForeground() && !pWindow->isMinimized();
        g_bProgramActive = bActive ? 1 : 0;
        if (g_pGame)
            g_pGame->OnActivateApp(bActive);
        return 0;
    }
    case plat::WM_SETCURSOR:
        if (g_bFullScreen && g_bProgramActive && pWindow)
            pWindow->showCursor(false);
        return 1;
    case plat::WM_SYSKEYUP:
        // F10 reaches the screens as an ordinary key.
        if (wParam == plat::VK_F10)
            MainWndProc(plat::WM_KEYUP, plat::VK_F10, lParam);
        return 0;
    case plat::WM_SYSCOMMAND:
        // Screen saver and monitor power-off requests are refused; the window
        // has no other system commands.
        return 0;
    case WM_UNINITIALISE_SOUND:
        OnUninitialiseSound(wParam, lParam);
        return 0;
    case WM_UNINITIALISE_STREAM:
        OnUninitialiseStream(lParam);
        return 0;
    default:
        return 0;
    }
}

void ChangeScreenMode()
{
    if (!g_pGame)
        return;
    g_pGame->DeleteDatabase();
    g_pGame->OnGameEnd(false);
    if (!g_pGame->OnGameStart(false, 0, 0)) {
        plat::postQuitMessage(0);
        DebugLog(0, "Program failed changing between screen modes!");
    }
}

int WinMain(CGameHost* pGame, CScriptDriver* pScript, const PROGRAMIDENTITY& identity)
{
    g_pGame = pGame;
    if (identity.bOneCopy && !CXManager::CheckForAnotherInstance())
        return 0;
    if (!CreateMainWindow(identity.pszCaption)) {
        std::fprintf(stderr,
                     "%s: no display to open (%s); to run without one, set SDL_VIDEODRIVER=dummy or use "
                     "xvfb-run.\n",
                     identity.pszName, plat::Window::lastError());
        g_pGame = nullptr;
        return 1;
    }
    // Without an audio device the game runs silent.
    if (g_pGameSounds)
        g_pGameSounds->StartSoundSystem();
    pGame->m_bStartStop = 1;
    if (!pGame->OnGameStart(false, 800, 600)) {
        const char* pszWhy = pGame->StartFailure();
        const std::string message = std::string(identity.pszName) + " could not start. " +
                                    (pszWhy ? std::string(pszWhy) + " " : std::string()) +
                                    "Install the game again, or run it with BRELLOX_LOG=1 set to see which file.";
        std::fprintf(stderr, "%s\n", message.c_str());
        if (!pScript)
            plat::showErrorBox(identity.pszCaption, message.c_str());
        pGame->OnGameEnd(false);
        if (g_pGameSounds)
            g_pGameSounds->StopSoundSystem();
        delete pGame->m_hWnd;
        pGame->m_hWnd = nullptr;
        g_pGame = nullptr;
        return 1;
    }
    pGame->m_bStartStop = 0;

    int nExitCode = 0;
    uint32_t dwNextFrame = plat::milliseconds();
    for (;;) {
        if (plat::peekMessage()) {
            plat::Message msg;
            if (!plat::getMessage(msg)) {
                nExitCode = static_cast<int>(msg.wParam);
                break;
            }
            MainWndProc(msg.message, msg.wParam, msg.lParam);
            continue;
        }
        if (!g_bProgramActive) {
            plat::waitMessage();
            continue;
        }
        const uint32_t dwNow = plat::milliseconds();
        if (static_cast<int32_t>(dwNow - dwNextFrame) >= 0) {
            pGame->Update();
            dwNextFrame = dwNow + FRAME_INTERVAL_MS;
            if (pScript)
                pScript->OnFrame(dwNow, pGame->GetFrontSurface());
            continue;
        }
        plat::waitMessageFor(dwNextFrame - dwNow);
    }

    pGame->m_bStartStop = 1;
    // The world goes before the program's static objects do: its records
    // reach class-wide lists that live no longer than the program.
    pGame->DeleteDatabase();
    pGame->OnGameEnd(false);
    if (g_pGameSounds)
        g_pGameSounds->StopSoundSystem();
    delete pGame->m_hWnd;
    pGame->m_hWnd = nullptr;
    g_pGame = nullptr;
    return nExitCode;
}
