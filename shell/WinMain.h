#pragma once
// The program's spine outside the game object: the entry, the one main window
// "Corravin" and its window procedure, and the message loop that runs one frame
// whenever the queue is empty and the program is active.
#include "xframework/CXManager.h"

#include "platform/Messages.h"

#include <cstdint>

// Posted by the sound system's end callbacks (from its own thread).
constexpr uint32_t WM_UNINITIALISE_SOUND = plat::WM_USER + 1;
constexpr uint32_t WM_UNINITIALISE_STREAM = plat::WM_USER + 2;

// What the spine asks of the game object: start and end, one frame, the
// messages of the screens and activation. The game object derives from it.
class CGameHost : public CXManager {
public:
    virtual bool OnGameStart(bool bRestart, uint32_t dwWidth, uint32_t dwHeight) = 0;
    virtual void OnGameEnd(bool bRestart) = 0;
    virtual void Update() = 0;
    virtual void DispatchMessage(uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam) = 0;
    virtual void OnActivateApp(bool bActive) = 0;

    RECT m_rcWindowOuter;
    // 1 while the program starts up or shuts down, 0 while it runs.
    uint8_t m_bStartStop = 0;
};

extern CGameHost* g_pGame;

// Runs the program with this game object; the exit code of the quit message,
// or 0 when the start fails (a second copy, no window, a failed game start).
int WinMain(CGameHost* pGame);
bool CreateMainWindow();
intptr_t MainWndProc(uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam);
