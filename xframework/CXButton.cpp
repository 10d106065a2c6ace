#include "xframework/CXButton.h"

#include "xframework/CXClient.h"
#include "xframework/CXEdit.h"
#include "xframework/CXGraph.h"
#include "xframework/CXScrollBar.h"
#include "xframework/ClientText.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {
constexpr COLORREF kCaptionColour = 0x00FFFFFF;
constexpr COLORREF kPressedCaptionColour = 0x00A0A0A0;
// Room the icon takes at the caption's left.
constexpr int kIconIndent = 16;
}  // namespace

bool CXButton::Create(uint32_t dwID, int nLeft, int nTop, int nRight, int nBottom, CXClient* pOwner,
                      const char* pszBitmapName, CXSurface* pDrawingSurface)
{
    if (!CXControl::Create(dwID, nLeft, nTop, nRight, nBottom, pOwner, pszBitmapName, pDrawingSurface))
        return false;
    m_hFont = g_hButtonFont;
    m_byMode = pszBitmapName ? MODE_BITMAP : MODE_PLAIN;
    return true;
}

void CXButton::TakeCaption()
{
    m_szCaption[0] = '\0';
    m_pszSecondLine = nullptr;
    m_bHasCaption = 0;
    m_bTwoLineCaption = 0;
    const char* pszText = g_pfnControlCaptionText ? g_pfnControlCaptionText(m_dwID) : nullptr;
    if (!pszText || !*pszText)
        return;
    // A longer text is cut to fit the buffer.
    std::snprintf(m_szCaption, sizeof m_szCaption, "%s", pszText);
    m_bHasCaption = 1;
    if (char* pTab = std::strchr(m_szCaption, '\t')) {
        *pTab = '\0';
        m_pszSecondLine = pTab + 1;
        m_bTwoLineCaption = 1;
    }
}

void CXButton::SetTextID(CXSurface* pFace, int nSourceY)
{
    m_byMode = MODE_TEXT;
    m_pFace = pFace;
    m_nSourceY = nSourceY;
    TakeCaption();
    Draw();
}

void CXButton::SetToggleTextID(CXSurface* pFace, int nSourceY, uint8_t byRadioGroup)
{
    m_byMode = MODE_TOGGLE;
    m_pFace = pFace;
    m_nSourceY = nSourceY;
    m_byRadioGroup = byRadioGroup;
    TakeCaption();
    Draw();
}

void CXButton::SetToggleTextID(CXSurface* pFace, int nSourceY, CXGraph* pGraph, int nGraphLine,
                               uint8_t byRadioGroup)
{
    m_pLinkedGraph = pGraph;
    m_nGraphLine = nGraphLine;
    SetToggleTextID(pFace, nSourceY, byRadioGroup);
}

void CXButton::SetText(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    std::vsnprintf(m_szCaption, sizeof m_szCaption, pszFormat, args);
    va_end(args);
    m_pszSecondLine = nullptr;
    m_bTwoLineCaption = 0;
    m_bHasCaption = m_szCaption[0] != '\0' ? 1 : 0;
    Draw();
}

void CXButton::SetBitmap(CXSurface* pFace, int nSourceX, int nSourceY, bool bHasHighlight, bool bHasPressed)
{
    m_byMode = MODE_BITMAP;
    m_pFace = pFace;
    m_nSourceX = nSourceX;
    m_nSourceY = nSourceY;
    m_bHasHighlightFrame = bHasHighlight ? 1 : 0;
    m_bHasPressedFrame = bHasPressed ? 1 : 0;
    Draw();
}

void CXButton::SetLinkedButton(CXControl* pLinked, CXSurface* pFace, int nHeaderSourceX, int nSourceY)
{
    m_byMode = MODE_LINKED;
    m_pLinkedControl = pLinked;
    m_pFace = pFace;
    m_nHeaderSourceX = nHeaderSourceX;
    m_nSourceY = nSourceY;
    Draw();
}

void CXButton::SetPressed(uint8_t bPressed)
{
    if (bPressed == m_bPressed)
        return;
    m_bPressed = bPressed;
    Draw();
}

void CXButton::SetHighlighted(uint8_t bHighlighted)
{
    if (bHighlighted == m_bHighlighted)
        return;
    m_bHighlighted = bHighlighted;
    Draw();
}

void CXButton::SetChecked(uint8_t bChecked)
{
    if (bChecked == m_bChecked)
        return;
    m_bChecked = bChecked;
    Draw();
}

void CXButton::Enable(bool bDisable)
{
    const uint8_t byFlag = bDisable ? 1 : 0;
    m_bDisabled = byFlag;
    m_bPressed = byFlag;
    m_bHeldHidden = byFlag;
    Draw();
    // Hidden without a redraw: the pressed picture stays on the surface.
    Show(!bDisable, false);
}

void CXButton::BlitLook(int nSourceX, int nSourceY, uint32_t dwFlags)
{
    const plat::Rect rc{nSourceX, nSourceY, nSourceX + Width(), nSourceY + Height()};
    m_pDrawingSurface->m_pSurface->bltFast(m_nLeft, m_nTop, *m_pFace->m_pSurface, &rc, dwFlags | plat::BLTFAST_WAIT);
}

void CXButton::DrawIcon()
{
    if (!m_pIcon || !m_pIcon->m_pSurface)
        return;
    const plat::Rect& r = m_rcIconSource;
    const plat::Rect rc{r.left, r.top, r.left + r.right, r.top + r.bottom};
    m_pDrawingSurface->m_pSurface->bltFast(m_nLeft + m_nIconX, m_nTop + m_nIconY, *m_pIcon->m_pSurface, &rc,
                                           plat::BLTFAST_SRCCOLORKEY | plat::BLTFAST_WAIT);
}

void CXButton::Draw()
{
    if (!m_bVisible || !m_pDrawingSurface || !m_pDrawingSurface->m_pSurface)
        return;
    if (m_byMode == MODE_PLAIN) {
        DrawIcon();
        m_bAnimationRedrawPending = 1;
        return;
    }
    // A button whose face was never given draws nothing.
    if (!m_pFace || !m_pFace->m_pSurface)
        return;
    const int nWidth = Width();
    switch (m_byMode) {
    case MODE_BITMAP: {
        if (m_pOwner)
            m_pOwner->RestoreBackground(m_nLeft, m_nTop, nWidth, Height());
        int nLookX = m_nSourceX;
        if (m_bPressed && m_bHasPressedFrame)
            nLookX += nWidth;
        else if (m_bHighlighted && m_bHasHighlightFrame)
            nLookX += m_bHasPressedFrame ? 2 * nWidth : nWidth;
        BlitLook(nLookX, m_nSourceY, plat::BLTFAST_SRCCOLORKEY);
        break;
    }
    case MODE_TEXT:
    case MODE_TOGGLE: {
        if (m_pOwner) {
            // The toggle look sits one pixel lower and further right when
            // released, so the background goes two pixels further.
            const int nGrow = m_byMode == MODE_TOGGLE && !m_bPressed ? 2 : 0;
            m_pOwner->RestoreBackground(m_nLeft, m_nTop, nWidth + nGrow, Height() + nGrow);
        }
        BlitLook(m_bPressed ? nWidth : 0, m_nSourceY, plat::BLTFAST_SRCCOLORKEY);
        DrawIcon();
        if (m_bHasCaption)
            DrawCaption(m_pDrawingSurface, {m_nLeft, m_nTop, m_nRight, m_nBottom},
                        m_bPressed ? kPressedCaptionColour : kCaptionColour);
        break;
    }
    case MODE_LINKED:
        BlitLook(m_nHeaderSourceX, m_bPressed ? m_nSourceY : 0, plat::BLTFAST_NOCOLORKEY);
        break;
    default:
        break;
    }
    m_bAnimationRedrawPending = 1;
}

void CXButton::DrawCaption(CXSurface* pSurface, const plat::Rect& rc, COLORREF crColour)
{
    if (!pSurface || !pSurface->m_pSurface)
        return;
    plat::DeviceContext* pDC = pSurface->m_pSurface->getDC();
    pDC->setBkMode(plat::TRANSPARENT);
    if (m_hFont)
        pDC->selectFont(m_hFont);
    const int nShift = m_bPressed ? 1 : 0;
    const int nIndent = m_pIcon ? kIconIndent : 0;
    plat::Size size{0, 0};
    pDC->getTextExtentPoint(m_szCaption, static_cast<int>(std::strlen(m_szCaption)), &size);
    const int nHeight = rc.bottom - rc.top;
    const int nTextTop = m_bTwoLineCaption ? ((nHeight / 2) - size.cy) / 2 + rc.top : (nHeight - size.cy) / 2 + rc.top - 1;
    DrawTextCentredF(pDC, rc.left + nShift + nIndent, nTextTop + nShift, rc.right + nShift, nTextTop + size.cy + nShift,
                     crColour, "%s", m_szCaption);
    // The second line in the lower half as the first is in the upper one,
    // so that the two do not run into each other.
    if (m_bTwoLineCaption && m_pszSecondLine)
        DrawTextCentredF(pDC, rc.left + nShift + nIndent, nTextTop + nHeight / 2 + nShift, rc.right + nShift,
                         nTextTop + nHeight / 2 + size.cy + nShift, crColour, "%s", m_pszSecondLine);
    pSurface->m_pSurface->releaseDC(pDC);
}

void CXButton::Report(uint32_t dwID)
{
    if (m_pLinkedScrollBar)
        m_pLinkedScrollBar->OnScrollButton(dwID);
    if (m_pLinkedEdit)
        m_pLinkedEdit->OnClicked(dwID);
    if (m_pOwner)
        m_pOwner->OnClicked(dwID);
}

void CXButton::OnLButtonUp(uint32_t /*flags*/, int x, int y)
{
    if (m_bDisabled)
        return;
    // The click sounds on every release, inside or outside.
    if (m_bClickSound && g_pfnPlayButtonClick)
        g_pfnPlayButtonClick();
    const bool bClick = m_bHeld && x >= 0 && y >= 0 && x < Width() && y < Height();
    if (bClick) {
        if (m_byMode == MODE_TOGGLE)
            m_bChecked = m_byRadioGroup ? 1 : (m_bChecked ? 0 : 1);
        if (m_pLinkedControl) {
            m_pLinkedControl->OnLinkedButtonClicked(m_dwID);
            if (m_pOwner)
                m_pOwner->SetFocus(m_pLinkedControl);
        }
        if (m_pLinkedGraph) {
            m_pLinkedGraph->SetSeriesHidden(m_nGraphLine, !m_bChecked);
            m_pLinkedGraph->Draw();
        }
    }
    m_bPressed = m_byMode == MODE_TOGGLE ? m_bChecked : 0;
    Draw();
    if (m_bHeld) {
        m_bHeld = 0;
        Release();
    }
    if (!bClick)
        return;
    uint32_t dwReportID = m_dwID;
    if (m_dwSwapID && m_pOwner) {
        if (CXControl* pSibling = m_pOwner->FindControl(m_dwSwapID)) {
            Show(false, true);
            pSibling->Show(true, true);
            m_pOwner->m_pHot = pSibling;
            dwReportID = m_dwSwapID;
        }
    }
    Report(dwReportID);
}

void CXButton::OnLButtonDblClk(uint32_t /*flags*/, int /*x*/, int /*y*/)
{
    if (m_pOwner)
        m_pOwner->OnDoubleClicked(m_dwID);
}

void CXButton::Paint()
{
    if (m_bVisible)
        DrawAnimation(m_nAnimationX + (m_bPressed ? m_byPressedShiftX : 0),
                      m_nAnimationY + (m_bPressed ? m_byPressedShiftY : 0), false);
    CXControl::Paint();
    // Repeats last: the owner may remove the button when told.
    if (!m_bVisible || !m_bPressed || m_bDisabled || m_dwRepeatDelay == 0)
        return;
    const uint32_t dwNow = g_pfnControlClock();
    if (dwNow - m_dwLastFireTime <= m_dwCurrentDelay)
        return;
    m_dwCurrentDelay = m_dwCurrentDelay > m_dwCurrentStep ? m_dwCurrentDelay - m_dwCurrentStep : 0;
    m_dwCurrentStep = m_dwCurrentStep > 0 ? m_dwCurrentStep - 1 : 0;
    m_dwLastFireTime = dwNow;
    Report(m_dwID);
}

void CXButton::DrawAnimations()
{
    DrawAnimation(m_nAnimationX + (m_bPressed ? m_byPressedShiftX : 0),
                  m_nAnimationY + (m_bPressed ? m_byPressedShiftY : 0), true);
}

void CXButton::OnLButtonDown(uint32_t flags, int x, int y)
{
    CXControl::OnLButtonDown(flags, x, y);
    if (m_bDisabled)
        return;
    m_bHeld = 1;
    Capture();
    SetPressed(1);
    m_dwLastFireTime = g_pfnControlClock();
    m_dwCurrentDelay = m_dwRepeatDelay;
    m_dwCurrentStep = m_dwRepeatStep;
}

void CXButton::OnMouseMove(uint32_t flags, int x, int y)
{
    SetHighlighted(1);
    if (m_bHeld && m_byMode != MODE_TOGGLE)
        SetPressed(x >= 0 && y >= 0 && x < Width() && y < Height() ? 1 : 0);
    CXControl::OnMouseMove(flags, x, y);
}

void CXButton::OnMouseLeave()
{
    // The highlight look ends with the pointer's visit.
    SetHighlighted(0);
    CXControl::OnMouseLeave();
}
