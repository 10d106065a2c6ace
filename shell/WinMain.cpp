#include "shell/WinMain.h"

#include "common/DebugLog.h"
#include "platform/Window.h"

CGameHost* g_pGame = nullptr;

bool CreateMainWindow()
{
    plat::Window* pWindow = plat::Window::create("Corravin", 800, 600);
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
    // Every message reaches the screens first, the closing ones included.
    if (g_pGame)
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
            if (g_bFullScreen) {
                const plat::Size screen = plat::screenSize();
                g_pGame->m_rcScreen = {0, 0, screen.cx, screen.cy};
            } else {
                g_pGame->m_rcScreen = pWindow->clientRect();
            }
            const RECT& rc = g_pGame->m_rcScreen;
            DebugLog(4, "WINDOW RECT: [%d,%d,%d,%d]", rc.left, rc.top, rc.right, rc.bottom);
        }
        return 0;
    }
    case plat::WM_PAINT:
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
    default:
        return 0;
    }
}

int WinMain(CGameHost* pGame)
{
    g_pGame = pGame;
    if (!CXManager::CheckForAnotherInstance())
        return 0;
    if (!CreateMainWindow())
        return 0;
    pGame->m_bStartStop = 1;
    if (!pGame->OnGameStart(false, 800, 600))
        return 0;
    pGame->m_bStartStop = 0;

    int nExitCode = 0;
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
        if (g_bProgramActive)
            pGame->Update();
        else
            plat::waitMessage();
    }

    pGame->m_bStartStop = 1;
    pGame->OnGameEnd(false);
    delete pGame->m_hWnd;
    pGame->m_hWnd = nullptr;
    g_pGame = nullptr;
    return nExitCode;
}
