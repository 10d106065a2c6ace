#include "xframework/CXStatic.h"

#include "xframework/CXAnimation.h"
#include "xframework/CXClient.h"
#include "xframework/DrawingFunctions.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {
constexpr COLORREF kFrameColour = 0x00735A2A;
constexpr int kImageMargin = 5;
}  // namespace

CXStatic::~CXStatic() { RemoveAllImages(); }

void CXStatic::SetText(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    std::vsnprintf(m_szText, sizeof m_szText, pszFormat, args);
    va_end(args);
    Draw();
}

void CXStatic::AddImage(CXAnimation* pImage, int x, int y)
{
    if (!pImage)
        return;
    const uint8_t bStill = pImage->m_nFrameCount == 1 ? 1 : 0;
    m_Images.push_back({pImage, m_nLeft + x, m_nTop + y, bStill, bStill});
}

void CXStatic::AddAlignedImage(CXAnimation* pImage, int nAlignment)
{
    if (!pImage)
        return;
    switch (nAlignment) {
    case 0:
        AddImage(pImage, kImageMargin, kImageMargin);
        break;
    case 2:
        AddImage(pImage, Width() - pImage->m_nFrameWidth - kImageMargin, kImageMargin);
        break;
    case 6:
        AddImage(pImage, Width() / 2 - pImage->m_nFrameWidth / 2, kImageMargin);
        break;
    default:
        break;
    }
}

void CXStatic::RemoveAllImages() { m_Images.clear(); }

void CXStatic::SetImage(CXAnimation* pImage, int x, int y)
{
    RemoveAllImages();
    AddImage(pImage, x, y);
}

void CXStatic::SetAlignedImage(CXAnimation* pImage, int nAlignment)
{
    RemoveAllImages();
    AddAlignedImage(pImage, nAlignment);
}

void CXStatic::DrawImages(bool bForce)
{
    if (!m_bVisible)
        return;
    for (Image& image : m_Images) {
        if (image.bOverlay) {
            if (!image.bNeedsDrawing || !m_pDrawingSurface)
                continue;
            image.bNeedsDrawing = 0;
            image.pImage->DrawFrame(m_pDrawingSurface, image.x, image.y, -1, true);
            continue;
        }
        CXSurface* pScreen = GetScreenSurface();
        if (!pScreen)
            continue;
        const int x = image.x + (m_pOwner ? m_pOwner->m_nLeft : 0), y = image.y + (m_pOwner ? m_pOwner->m_nTop : 0);
        if (bForce)
            image.pImage->DrawFrame(pScreen, x, y, -1, true);
        else
            image.pImage->Draw(pScreen, x, y, true);
    }
}

void CXStatic::Draw()
{
    if (!m_bVisible || !m_pDrawingSurface || !m_pDrawingSurface->m_pSurface)
        return;
    if (m_bClearBackground && m_pOwner)
        m_pOwner->RestoreBackground(m_nLeft, m_nTop, Width(), Height());
    plat::DeviceContext* pDC = m_pDrawingSurface->m_pSurface->getDC();
    pDC->setBkMode(plat::TRANSPARENT);
    if (m_hFont)
        pDC->selectFont(m_hFont);
    // Whole characters while they fit within the label less its margin.
    const int nRoom = Width() - m_nLeftMargin;
    const int nLength = static_cast<int>(std::strlen(m_szText));
    int nShown = 0, nTextWidth = 0;
    for (; nShown < nLength; ++nShown) {
        plat::Size size{0, 0};
        pDC->getTextExtentPoint(m_szText, nShown + 1, &size);
        if (size.cx > nRoom)
            break;
        nTextWidth = size.cx;
    }
    m_bCut = nShown < nLength ? 1 : 0;
    int x = m_nLeft + m_nLeftMargin;
    if (m_byAlignment == 2)
        x = m_nRight - m_nLeftMargin - nTextWidth;
    else if (m_byAlignment == 6)
        x = m_nLeft + (Width() / 2 - nTextWidth / 2);
    const int y = m_nTop + m_nTopMargin;
    if (m_bShadow) {
        pDC->setTextColor(0x00000000);
        pDC->textOut(x + 1, y + 1, m_szText, nShown);
    }
    pDC->setTextColor(m_bHover ? m_crHover : m_crText);
    pDC->textOut(x, y, m_szText, nShown);
    m_pDrawingSurface->m_pSurface->releaseDC(pDC);
    for (Image& image : m_Images)
        image.bNeedsDrawing = 1;
    DrawImages(true);
    m_bAnimationRedrawPending = 1;
}

void CXStatic::OnLButtonUp(uint32_t /*flags*/, int /*x*/, int /*y*/)
{
    if (!m_bClickable || !m_bPressed)
        return;
    m_bPressed = 0;
    if (m_pOwner)
        m_pOwner->OnClicked(m_dwID);
}

void CXStatic::OnLButtonDblClk(uint32_t /*flags*/, int /*x*/, int /*y*/)
{
    if (m_bClickable && m_bVisible && m_pOwner)
        m_pOwner->OnDoubleClicked(m_dwID);
}

void CXStatic::Show(bool bVisible, bool bRedraw)
{
    if (bVisible && m_bFrame && m_pDrawingSurface && m_pDrawingSurface->m_pSurface) {
        plat::DeviceContext* pDC = m_pDrawingSurface->m_pSurface->getDC();
        DrawRectOutline(pDC, m_nLeft - 1, m_nTop - 1, m_nRight + 1, m_nBottom + 1, kFrameColour, 1);
        m_pDrawingSurface->m_pSurface->releaseDC(pDC);
    }
    CXControl::Show(bVisible, bRedraw);
}

void CXStatic::Paint()
{
    DrawImages(true);
    CXControl::Paint();
}

void CXStatic::DrawAnimations() { DrawImages(false); }

void CXStatic::OnLButtonDown(uint32_t flags, int x, int y)
{
    if (m_bPassClicks && m_pOwner) {
        // The owner sees the press as its own, with no control under it.
        const uint8_t bHeld = m_pOwner->m_bMouseHeld;
        m_pOwner->m_bMouseHeld = 1;
        m_pOwner->OnLButtonDown(flags, x + m_nLeft, y + m_nTop);
        m_pOwner->m_bMouseHeld = bHeld;
    }
    CXControl::OnLButtonDown(flags, x, y);
    if (m_bClickable && m_bVisible)
        m_bPressed = 1;
}

void CXStatic::OnMouseMove(uint32_t flags, int x, int y)
{
    if (m_bClickable) {
        m_bHover = 1;
        Draw();
        if (m_bPointer && g_pfnSetMousePointer)
            g_pfnSetMousePointer(1, 7, 7);
    }
    CXControl::OnMouseMove(flags, x, y);
}

void CXStatic::OnMouseLeave()
{
    if (m_bClickable) {
        m_bHover = 0;
        Draw();
        if (m_bPointer && g_pfnSetMousePointer)
            g_pfnSetMousePointer(0, 0, 0);
    }
    CXControl::OnMouseLeave();
}

void CXStatic::GetToolTipText(char* pszText)
{
    if (m_bCut)
        std::snprintf(pszText, TOOLTIP_TEXT_SIZE, "%s", m_szText);
}
