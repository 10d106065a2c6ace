#pragma once
// The display manager: the window's display mode, the back surface every
// screen draws into and the front surface that is shown, presenting a frame,
// the optional frames-per-second read-out and the one-running-copy check. The
// game object derives from it.
#include "xframework/CXSurface.h"

#include "platform/Font.h"
#include "platform/Window.h"

#include <cstdint>

using HWND = plat::Window*;
using HFONT = plat::Font*;
using RECT = plat::Rect;

// Mode flags of SetUp.
constexpr uint32_t XMODE_ALLOWREBOOT = 0x01;
constexpr uint32_t XMODE_FPUSETUP = 0x02;
constexpr uint32_t XMODE_GAME = 0x08;
constexpr uint32_t XMODE_FULLSCREEN = 0x10;
constexpr uint32_t XMODE_BACKBUFFER = 0x20;

// Globals of the display manager.
extern uint8_t g_bFullScreen;      // 1 from construction: the game runs full screen
extern uint8_t g_bProgramActive;   // maintained by the main window procedure
extern HWND g_pDisplay;            // the window whose display is set up; null when released
extern uint32_t g_dwGBitMask;      // green mask of the back surface: tells 5-6-5 from 5-5-5
extern uint32_t g_dwRBBitMask;     // red mask | blue mask: the colour key
// The last mouse position in display coordinates, written on every mouse move.
extern int32_t g_nMouseX;
extern int32_t g_nMouseY;

class CXManager {
public:
    CXManager();
    virtual ~CXManager();
    CXManager(const CXManager&) = delete;
    CXManager& operator=(const CXManager&) = delete;

    // Non-zero arguments replace the stored ones. A bit depth of 15 asks for the
    // 5-5-5 layout, anything else gives 5-6-5.
    bool SetUp(uint32_t dwWidth, uint32_t dwHeight, uint32_t dwBitDepth, uint32_t dwFlags);
    bool CreateDirectDraw(const void* pGuid, uint32_t dwFlags);
    bool CreateBuffers(uint32_t dwFlags);
    void Present();
    void Flip();
    void DrawFPS();
    void OnActivate(bool bActive);
    void ReleaseDirectDraw();
    // False (and the running copy asked to come to the front) when another
    // copy runs; the first call of the program.
    static bool CheckForAnotherInstance();
    // Gives up this copy's claim (at exit; tests also use it).
    static void ReleaseInstanceCheck();

    CXSurface* GetBackSurface() const { return m_pBackSurface; }
    CXSurface* GetFrontSurface() const { return m_pFrontSurface; }

    uint32_t m_dwSurfaceMode = 0;
    CXSurface* m_pBackSurface = nullptr;
    CXSurface* m_pFrontSurface = nullptr;
    uint32_t m_bShowFPS = 0;
    RECT m_rcScreen;
    uint32_t m_dwFPS = 0;
    uint32_t m_dwFPSTime = 0;
    uint32_t m_dwFPSFrames = 0;
    COLORREF m_crFPSColour = 0x0000FFFF;
    HFONT m_hFPSFont = nullptr;
    HWND m_hWnd = nullptr;
    uint32_t m_dwModeFlags = 0;
    uint8_t m_bPageFlipping = 1;
    uint32_t m_dwWidth = 0;
    uint32_t m_dwHeight = 0;
    uint32_t m_dwBitDepth = 0;
    RECT m_rcClient;
    RECT m_rcDestination;
    RECT m_rcWindow;
};
