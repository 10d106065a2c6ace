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
    // Frees the loaded world before a full restart.
    virtual void DeleteDatabase() {}
    // Why OnGameStart failed, in words for the player; null when it did not.
    virtual const char* StartFailure() const { return nullptr; }

    RECT m_rcWindowOuter;
    // 1 while the program starts up or shuts down, 0 while it runs.
    uint8_t m_bStartStop = 0;
    // The window's content must be shown again (exposed, resized, activated)
    // even when the frame did not change.
    uint8_t m_bPresentNeeded = 1;
};

class CScriptDriver;

extern CGameHost* g_pGame;

// Frames are composed at most this often; a frame equal to the one shown is
// not shown again, so a still screen leaves the processor idle.
constexpr uint32_t FRAME_INTERVAL_MS = 16;

// Which program runs on the spine: its name for messages, its window caption
// and whether it is held to one running copy (the game is; its editor is not,
// so that it never stands in for the game).
struct PROGRAMIDENTITY {
    const char* pszName = "Brellox";
    const char* pszCaption = "Corravin";
    bool bOneCopy = true;
};

// Runs the program with this game object, playing the script's input when one
// is given. The exit code of the quit message; 0 when another copy runs (it
// was brought forward); 1 when there is no display or the game cannot start,
// with one line on standard error saying why.
int WinMain(CGameHost* pGame, CScriptDriver* pScript = nullptr, const PROGRAMIDENTITY& identity = {});
bool CreateMainWindow(const char* pszCaption = "Corravin");
// A complete end and new start of the game at the display settings it has.
void ChangeScreenMode();
intptr_t MainWndProc(uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam);
