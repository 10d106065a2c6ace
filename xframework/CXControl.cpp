#include "xframework/CXControl.h"

#include "xframework/CXAnimation.h"
#include "xframework/CXClient.h"

#include "common/DebugLog.h"
#include "platform/Clock.h"
#include "platform/DeviceContext.h"

#include <cstring>

CXSurface* g_pToolTip = nullptr;
uint32_t g_dwToolTipsDelayOption = 2;
plat::Font* g_hToolTipFont = nullptr;
ControlBitmapLoader g_pfnLoadControlBitmap = nullptr;
ControlToolTipLookup g_pfnControlToolTipText = nullptr;
ButtonClickSound g_pfnPlayButtonClick = nullptr;
ControlCaptionLookup g_pfnControlCaptionText = nullptr;
SharedBitmapLookup g_pfnSharedBitmap = nullptr;
MousePointerSetter g_pfnSetMousePointer = nullptr;
ControlClock g_pfnControlClock = &plat::milliseconds;
plat::Font* g_hButtonFont = nullptr;

void FreeToolTip()
{
    delete g_pToolTip;
    g_pToolTip = nullptr;
}

CXControl::CXControl() { SetToolTipStyle(TOOLTIP_DEFAULT_DELAY, 0x00000000, 0x00ADFDFF, 0x00000000); }

CXControl::~CXControl()
{
    delete m_pBitmap;
    m_pBitmap = nullptr;
    FreeToolTip();
}

bool CXControl::Create(uint32_t dwID, int nLeft, int nTop, int nRight, int nBottom, CXClient* pOwner,
                       const char* pszBitmapName, CXSurface* pDrawingSurface)
{
    m_dwID = dwID;
    m_nLeft = nLeft;
    m_nTop = nTop;
    m_nRight = nRight;
    m_nBottom = nBottom;
    m_pOwner = pOwner;
    m_pDrawingSurface = pDrawingSurface;
    if (pszBitmapName && g_pfnLoadControlBitmap)
        m_pBitmap = g_pfnLoadControlBitmap(pszBitmapName);
    return true;
}

void CXControl::Show(bool bVisible, bool bRedraw)
{
    if (!bVisible && !m_bVisible)
        return;
    m_bVisible = bVisible ? 1 : 0;
    if (bVisible)
        Draw();
    else if (bRedraw && m_pOwner)
        m_pOwner->RestoreBackground(m_nLeft, m_nTop, Width(), Height());
}

void CXControl::Move(int x, int y, int nWidth, int nHeight, bool /*bRedraw*/)
{
    m_nLeft = x;
    m_nTop = y;
    m_nRight = x + nWidth;
    m_nBottom = y + nHeight;
}

void CXControl::Capture()
{
    m_bCaptured = 1;
    m_wToolTipCounter = TOOLTIP_STOPPED;
    if (m_pOwner)
        m_pOwner->SetCapture(this);
}

void CXControl::Release()
{
    m_bCaptured = 0;
    if (m_pOwner)
        m_pOwner->ReleaseCapture(this);
}

void CXControl::SetToolTipStyle(uint16_t wDelay, COLORREF crText, COLORREF crBackground, COLORREF crFrame)
{
    if (wDelay == TOOLTIP_DEFAULT_DELAY) {
        if (g_dwToolTipsDelayOption == 1)
            wDelay = 0;
        else if (g_dwToolTipsDelayOption == 3)
            wDelay = 350;
    }
    m_wToolTipDelay = wDelay;
    m_crToolTipText = crText;
    m_crToolTipBackground = crBackground;
    m_crToolTipFrame = crFrame;
}

void CXControl::StartToolTip()
{
    if (g_dwToolTipsDelayOption == 0)
        return;
    m_wToolTipCounter = 0;
    if (!m_pOwner || m_pOwner->m_pHot == this)
        return;
    if (m_pOwner->m_pHot && !m_pOwner->m_pCaptured && !m_pOwner->m_bMouseHeld)
        m_pOwner->m_pHot->OnMouseLeave();
    m_pOwner->m_pHot = this;
}

void CXControl::DrawAnimation(int x, int y, bool bAdvance)
{
    if (!m_pAnimation || !m_bVisible)
        return;
    if (x == -1)
        x = m_nAnimationX;
    if (y == -1)
        y = m_nAnimationY;
    CXSurface* pTarget = nullptr;
    if (!m_bAnimationOnDrawingSurface) {
        pTarget = GetScreenSurface();
        if (m_pOwner) {
            x += m_pOwner->m_nLeft;
            y += m_pOwner->m_nTop;
        }
    } else {
        if (!m_bAnimationRedrawPending)
            return;
        m_bAnimationRedrawPending = 0;
        pTarget = m_pDrawingSurface;
    }
    if (!pTarget)
        return;
    if (bAdvance)
        m_pAnimation->Draw(pTarget, x, y, true);
    else
        m_pAnimation->DrawFrame(pTarget, x, y, -1, true);
}

void CXControl::StopToolTip()
{
    FreeToolTip();
    m_wToolTipCounter = TOOLTIP_STOPPED;
    m_szToolTipText[0] = '\0';
}

void CXControl::Paint()
{
    if (m_wToolTipCounter == TOOLTIP_STOPPED || !m_pOwner || m_pOwner->m_pCaptured)
        return;
    // The counter runs on while the tip shows; it stops short of the stop mark.
    if (m_wToolTipCounter < TOOLTIP_STOPPED - 1)
        ++m_wToolTipCounter;
    if (m_wToolTipCounter <= m_wToolTipDelay)
        return;
    char szText[TOOLTIP_TEXT_SIZE] = {};
    GetToolTipText(szText);
    if (!szText[0])
        m_pOwner->OnGetToolTipText(m_dwID, szText);
    if (!szText[0] && m_dwID < 10000 && g_pfnControlToolTipText) {
        if (const char* pszTable = g_pfnControlToolTipText(m_dwID)) {
            std::strncpy(szText, pszTable, sizeof szText - 1);
        }
    }
    szText[sizeof szText - 1] = '\0';
    if (!szText[0]) {
        FreeToolTip();
        m_szToolTipText[0] = '\0';
        return;
    }
    if (std::strcmp(szText, m_szToolTipText) == 0 && g_pToolTip)
        return;
    std::memcpy(m_szToolTipText, szText, sizeof m_szToolTipText);
    BuildToolTip(m_szToolTipText);
}

void CXControl::BuildToolTip(const char* pszText)
{
    FreeToolTip();
    // Measured on a scratch surface: lines wrap at 96 pixels.
    plat::Rect rcText{4, 4, 100, 100};
    {
        plat::Surface scratch(1, 1);
        plat::DeviceContext* pDC = scratch.getDC();
        pDC->selectFont(g_hToolTipFont);
        pDC->drawText(pszText, -1, &rcText,
                      plat::DT_CALCRECT | plat::DT_WORDBREAK | plat::DT_CENTER | plat::DT_NOPREFIX);
        scratch.releaseDC(pDC);
    }
    auto* pTip = new CXSurface;
    if (!pTip->Create(rcText.right + 4, rcText.bottom + 4, false, false)) {
        delete pTip;
        return;
    }
    plat::DeviceContext* pDC = pTip->m_pSurface->getDC();
    pDC->selectFont(g_hToolTipFont);
    plat::Brush* pBrush = plat::Brush::createSolid(m_crToolTipBackground);
    plat::Pen pen(plat::PS_SOLID, 1, m_crToolTipFrame);
    pDC->selectBrush(pBrush);
    pDC->selectPen(&pen);
    pDC->rectangle(0, 0, pTip->m_nWidth, pTip->m_nHeight);
    pDC->setTextColor(m_crToolTipText);
    pDC->setBkColor(m_crToolTipBackground);
    pDC->drawText(pszText, -1, &rcText, plat::DT_WORDBREAK | plat::DT_CENTER | plat::DT_NOPREFIX);
    pTip->m_pSurface->releaseDC(pDC);
    delete pBrush;
    g_pToolTip = pTip;
}

void CXControl::OnMouseMove(uint32_t /*flags*/, int x, int y)
{
    const int nClientX = x + m_nLeft, nClientY = y + m_nTop;
    if (!HitTest(nClientX, nClientY)) {
        StopToolTip();
        return;
    }
    if (m_bNotifyMoves && m_pOwner)
        m_pOwner->OnControlMouseMove(m_dwID, nClientX, nClientY);
    if (!g_pToolTip && m_pOwner && !m_pOwner->m_pCaptured && g_dwToolTipsDelayOption != 0)
        m_wToolTipCounter = 0;
}

void CXControl::OnLButtonDown(uint32_t /*flags*/, int x, int y)
{
    if (g_pToolTip) {
        FreeToolTip();
        m_wToolTipCounter = TOOLTIP_STOPPED;
        m_szToolTipText[0] = '\0';
    }
    if (m_bNotifyPresses && m_pOwner)
        m_pOwner->OnControlLButtonDown(m_dwID, m_nLeft + x, m_nTop + y);
}

void CXControl::OnMouseLeave()
{
    FreeToolTip();
    m_szToolTipText[0] = '\0';
    m_wToolTipCounter = TOOLTIP_STOPPED;
}

void CXControl::OnChar(uint32_t key, uint32_t /*repeat*/, uint32_t)
{
    if (key != plat::VK_TAB || m_dwTabTargetID == 0 || !m_pOwner)
        return;
    CXControl* pTarget = m_pOwner->FindControl(m_dwTabTargetID);
    if (!pTarget) {
        DebugLog(0, "CXControl::OnChar could not find control %d", static_cast<int>(m_dwTabTargetID));
        return;
    }
    m_pOwner->SetFocus(pTarget);
}
