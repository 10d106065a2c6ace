#include "xframework/CXManager.h"

#include "common/DebugLog.h"
#include "platform/Clock.h"
#include "platform/DeviceContext.h"
#include "platform/InstanceLock.h"

#include <cstdio>
#include <memory>

uint8_t g_bFullScreen = 1;
uint8_t g_bProgramActive = 0;
HWND g_pDisplay = nullptr;
uint32_t g_dwGBitMask = 0x07E0;
uint32_t g_dwRBBitMask = 0xF81F;
int32_t g_nMouseX = 0;
int32_t g_nMouseY = 0;

namespace {
// Held for the program's life; its release at exit lets the next start run.
std::unique_ptr<plat::InstanceLock> s_pInstanceLock;
}  // namespace

CXManager::CXManager()
{
    g_bFullScreen = 1;
    g_bProgramActive = 0;
    g_pDisplay = nullptr;
}

CXManager::~CXManager()
{
    delete m_hFPSFont;
    m_hFPSFont = nullptr;
    delete m_pBackSurface;
    delete m_pFrontSurface;
}

bool CXManager::SetUp(uint32_t dwWidth, uint32_t dwHeight, uint32_t dwBitDepth, uint32_t dwFlags)
{
    if (dwWidth)
        m_dwWidth = dwWidth;
    if (dwHeight)
        m_dwHeight = dwHeight;
    if (dwBitDepth)
        m_dwBitDepth = dwBitDepth;
    if (dwFlags)
        m_dwModeFlags = dwFlags;
    if (!CreateDirectDraw(nullptr, m_dwModeFlags))
        return false;
    if (!CreateBuffers(m_dwModeFlags))
        return false;
    if (!m_hFPSFont)
        m_hFPSFont = plat::Font::create(14, 400, "Arial");
    // The game draws its own pointer in full screen.
    m_hWnd->showCursor(!(g_bFullScreen && (m_dwModeFlags & XMODE_FULLSCREEN)));
    m_dwFPSTime = plat::milliseconds();
    return true;
}

bool CXManager::CreateDirectDraw(const void* /*pGuid*/, uint32_t /*dwFlags*/)
{
    if (!m_hWnd) {
        DebugLog(0, "[CXManager::CreateDirectDraw] Could not create DirectDraw");
        return false;
    }
    g_pDisplay = m_hWnd;
    return true;
}

bool CXManager::CreateBuffers(uint32_t dwFlags)
{
    m_dwSurfaceMode = 0;
    if (!g_pDisplay || m_dwWidth == 0 || m_dwHeight == 0)
        return false;
    const int w = static_cast<int>(m_dwWidth), h = static_cast<int>(m_dwHeight);
    const bool bFull = g_bFullScreen && (dwFlags & XMODE_FULLSCREEN);
    // Without a back buffer there is nothing for the screens to draw into.
    if (!(dwFlags & XMODE_BACKBUFFER)) {
        DebugLog(0, "Couldn't create the backbuffer");
        return false;
    }
    if (!g_pDisplay->setDisplayMode(w, h, bFull)) {
        DebugLog(0, "Can't set display mode");
        return false;
    }
    m_rcClient = {0, 0, w, h};
    m_rcDestination = m_rcClient;
    m_rcScreen = m_rcClient;
    m_dwSurfaceMode = bFull ? 2 : 1;

    const plat::PixelFormat format = m_dwBitDepth == 15 ? plat::PixelFormat::Rgb555 : plat::PixelFormat::Rgb565;
    const plat::PixelMasks masks = plat::pixelMasks(format);
    // The layout globals decide the format of every surface made from now on.
    g_dwGBitMask = masks.green;
    g_dwRBBitMask = masks.red | masks.blue;

    delete m_pBackSurface;
    delete m_pFrontSurface;
    m_pFrontSurface = new CXSurface;
    m_pBackSurface = new CXSurface;
    if (!m_pFrontSurface->Create(w, h, false, false)) {
        DebugLog(0, "Can't create primary surface");
        return false;
    }
    if (!m_pBackSurface->Create(w, h, false, false)) {
        DebugLog(0, "Can't get/create the backbuffer");
        return false;
    }
    return true;
}

void CXManager::Present()
{
    DrawFPS();
    if (g_bFullScreen && m_bPageFlipping == 1 && m_dwSurfaceMode != 1) {
        Flip();
        return;
    }
    if (!m_pFrontSurface || !m_pBackSurface || !m_pFrontSurface->m_pSurface || !m_pBackSurface->m_pSurface)
        return;
    m_pFrontSurface->m_pSurface->blt(nullptr, m_pBackSurface->m_pSurface, nullptr, plat::BLT_WAIT);
    if (g_pDisplay)
        g_pDisplay->present(*m_pFrontSurface->m_pSurface);
}

void CXManager::Flip()
{
    bool bShown = false;
    if (g_pDisplay && m_pBackSurface && m_pFrontSurface && m_pBackSurface->m_pSurface &&
        m_pFrontSurface->m_pSurface) {
        // The front surface keeps the frame that is on the screen.
        m_pFrontSurface->m_pSurface->bltFast(0, 0, *m_pBackSurface->m_pSurface, nullptr, plat::BLTFAST_WAIT);
        bShown = g_pDisplay->present(*m_pFrontSurface->m_pSurface);
    }
    if (!bShown)
        DebugLog(0, "[CXManager::Flip] Flip Failed!");
}

void CXManager::DrawFPS()
{
    if (!m_bShowFPS)
        return;
    ++m_dwFPSFrames;
    const uint32_t dwNow = plat::milliseconds();
    const uint32_t dwElapsed = dwNow - m_dwFPSTime;
    if (dwElapsed > 1000) {
        m_dwFPS = m_dwFPSFrames * 1000 / dwElapsed;
        m_dwFPSTime = dwNow;
        m_dwFPSFrames = 0;
    }
    if (!m_pBackSurface || !m_pBackSurface->m_pSurface)
        return;
    plat::DeviceContext* pDC = m_pBackSurface->m_pSurface->getDC();
    if (!pDC)
        return;
    pDC->selectFont(m_hFPSFont);
    pDC->setTextColor(m_crFPSColour);
    pDC->setBkMode(plat::TRANSPARENT);
    pDC->setTextAlign(plat::TA_RIGHT);
    char szText[64];
    std::snprintf(szText, sizeof szText, "FPS %02u %03d:%03d", m_dwFPS, g_nMouseX, g_nMouseY);
    pDC->textOut(static_cast<int>(m_dwWidth) - 5, 0, szText);
    m_pBackSurface->m_pSurface->releaseDC(pDC);
}

void CXManager::OnActivate(bool bActive)
{
    if (!bActive)
        return;
    if (m_pFrontSurface && m_pFrontSurface->m_pSurface)
        m_pFrontSurface->m_pSurface->restore();
    if (m_pBackSurface && m_pBackSurface->m_pSurface)
        m_pBackSurface->m_pSurface->restore();
}

void CXManager::ReleaseDirectDraw()
{
    delete m_pBackSurface;
    m_pBackSurface = nullptr;
    delete m_pFrontSurface;
    m_pFrontSurface = nullptr;
    g_pDisplay = nullptr;
}

bool CXManager::CheckForAnotherInstance()
{
    if (s_pInstanceLock)
        return true;
    bool bOtherCopy = false;
    s_pInstanceLock.reset(plat::InstanceLock::acquire("Corravin", bOtherCopy));
    if (bOtherCopy) {
        DebugLog(0, "[CXManager::CheckForAnotherInstance] Another instance of this app is already running.");
        return false;
    }
    // Without a runtime folder to lock in, the check cannot be made: start.
    if (!s_pInstanceLock)
        DebugLog(0, "[CXManager::CheckForAnotherInstance] No lock could be made; starting without the check.");
    return true;
}

void CXManager::ReleaseInstanceCheck() { s_pInstanceLock.reset(); }
