#include "xframework/DrawingFunctions.h"

#include "common/ShellServices.h"
#include "xframework/CXSurface.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

constexpr int kCentreCommand = 9993;
constexpr int kRightCommand = 9997;
constexpr int kLeftCommand = 9999;
constexpr int kLineHeight = 14;
constexpr int kMaxLines = 6;

int g_nCurrencyOption = 0;

// Selects a pen and a brush for one drawing and puts the previous ones back.
class ScopedTools {
public:
    ScopedTools(HDC hDC, plat::Pen* pPen, plat::Brush* pBrush, bool bTransparent)
        : m_hDC(hDC), m_pPen(pPen), m_pBrush(pBrush)
    {
        if (bTransparent)
            m_hDC->setBkMode(plat::TRANSPARENT);
        m_pOldPen = m_hDC->selectPen(m_pPen);
        m_pOldBrush = m_hDC->selectBrush(m_pBrush ? m_pBrush : plat::Brush::hollow());
    }
    ~ScopedTools()
    {
        m_hDC->selectPen(m_pOldPen);
        m_hDC->selectBrush(m_pOldBrush);
        delete m_pPen;
        delete m_pBrush;
    }
    ScopedTools(const ScopedTools&) = delete;
    ScopedTools& operator=(const ScopedTools&) = delete;

private:
    HDC m_hDC;
    plat::Pen* m_pPen;
    plat::Brush* m_pBrush;
    plat::Pen* m_pOldPen = nullptr;
    plat::Brush* m_pOldBrush = nullptr;
};

plat::Pen* SolidPen(int nWidth, COLORREF crColour)
{
    return new plat::Pen(plat::PS_SOLID, nWidth, crColour);
}

}  // namespace

void DrawRectOutline(HDC hDC, int nLeft, int nTop, int nRight, int nBottom, COLORREF crColour, int nPenWidth)
{
    ScopedTools tools(hDC, SolidPen(nPenWidth, crColour), nullptr, true);
    hDC->rectangle(nLeft, nTop, nRight, nBottom);
}

void DrawFilledRectFramed(HDC hDC, int nLeft, int nTop, int nRight, int nBottom, COLORREF crFill, COLORREF,
                          COLORREF crFrame)
{
    ScopedTools tools(hDC, SolidPen(1, crFrame), plat::Brush::createSolid(crFill), true);
    hDC->rectangle(nLeft, nTop, nRight, nBottom);
}

void DrawFilledRectFramedRect(HDC hDC, const plat::Rect& rc, COLORREF crFill, COLORREF crFrame)
{
    ScopedTools tools(hDC, SolidPen(1, crFrame), plat::Brush::createSolid(crFill), false);
    hDC->rectangle(rc.left, rc.top, rc.right, rc.bottom);
}

void DrawFilledRect(HDC hDC, int nLeft, int nTop, int nRight, int nBottom, COLORREF crColour)
{
    ScopedTools tools(hDC, SolidPen(1, crColour), plat::Brush::createSolid(crColour), true);
    hDC->rectangle(nLeft, nTop, nRight, nBottom);
}

void DrawColourBox(HDC hDC, int nLeft, int nTop, int nRight, int nBottom, COLORREF crColour, bool bFrame)
{
    {
        ScopedTools tools(hDC, SolidPen(1, crColour), plat::Brush::createSolid(crColour), true);
        hDC->rectangle(nLeft, nTop, nRight, nBottom);
    }
    if (bFrame) {
        ScopedTools tools(hDC, SolidPen(1, plat::RGB(0, 0, 0)), nullptr, true);
        hDC->rectangle(nLeft - 1, nTop - 1, nRight + 1, nBottom + 1);
    }
}

void CopyTabField(const char* pszText, int nField, char* pszOut, size_t nOutSize)
{
    const char* p = pszText;
    for (int i = 0; i < nField && p; ++i) {
        p = std::strchr(p, '\t');
        if (p)
            ++p;
    }
    if (!p) {
        pszOut[0] = '\0';
        return;
    }
    const char* pEnd = std::strchr(p, '\t');
    size_t nLength = pEnd ? static_cast<size_t>(pEnd - p) : std::strlen(p);
    nLength = std::min(nLength, nOutSize - 1);
    std::memcpy(pszOut, p, nLength);
    pszOut[nLength] = '\0';
}

void DrawHeaderCell(plat::Surface& dest, int x, int y, int nWidth, plat::Surface& source, int nSourceX)
{
    if (nWidth < 4)
        return;
    const int nLeftPart = std::min(nWidth - 4, 27);
    const plat::Rect rcLeft{nSourceX, 0, nSourceX + nLeftPart, 16};
    dest.bltFast(x, y, source, &rcLeft, plat::BLTFAST_WAIT);
    const plat::Rect rcMiddle{nSourceX + 27, 0, nSourceX + 28, 16};
    for (int i = nLeftPart; i < nWidth - 4; ++i)
        dest.bltFast(x + i, y, source, &rcMiddle, plat::BLTFAST_WAIT);
    const plat::Rect rcEnd{nSourceX + 28, 0, nSourceX + 32, 16};
    dest.bltFast(x + nWidth - 4, y, source, &rcEnd, plat::BLTFAST_WAIT);
}

void DrawLine(HDC hDC, int x1, int y1, int x2, int y2, COLORREF crColour, int nPenWidth, int nPenStyle)
{
    ScopedTools tools(hDC, new plat::Pen(nPenStyle, nPenWidth, crColour), nullptr, true);
    hDC->moveTo(x1, y1);
    hDC->lineTo(x2, y2);
}

void DrawFilledCircle(HDC hDC, int x, int y, int nRadius, COLORREF crFrame, COLORREF crFill)
{
    ScopedTools tools(hDC, SolidPen(1, crFrame), plat::Brush::createSolid(crFill), true);
    hDC->ellipse(x - nRadius, y - nRadius, x + nRadius, y + nRadius);
}

void DrawCircleOutline(HDC hDC, int x, int y, int nRadius, COLORREF crColour, int nPenWidth)
{
    ScopedTools tools(hDC, SolidPen(nPenWidth, crColour), nullptr, true);
    hDC->ellipse(x - nRadius, y - nRadius, x + nRadius, y + nRadius);
}

void DrawCircle(HDC hDC, int x, int y, int nRadius, COLORREF crColour)
{
    DrawCircleOutline(hDC, x, y, nRadius, crColour, 1);
}

void DrawEllipse(HDC hDC, int x, int y, int nRadiusX, int nRadiusY, COLORREF crColour)
{
    ScopedTools tools(hDC, SolidPen(1, crColour), nullptr, true);
    hDC->ellipse(x - nRadiusX, y - nRadiusY, x + nRadiusX, y + nRadiusY);
}

void DrawSurfaceText(plat::Font* pFont, CXSurface* pSurface, int nIndex, COLORREF crColour)
{
    const TEXTDESCRIPTIONRECORD* pRecord = GetTextDescription(nIndex);
    if (!pRecord || !pSurface || !pSurface->GetSurface())
        return;
    plat::Surface* pTarget = pSurface->GetSurface();
    std::unique_ptr<plat::DeviceContext> dc(pTarget->getDC());
    if (pFont)
        dc->selectFont(pFont);
    dc->setBkMode(plat::TRANSPARENT);
    for (; pRecord->x != -1; ++pRecord) {
        if (pRecord->x == kCentreCommand || pRecord->x == kRightCommand || pRecord->x == kLeftCommand) {
            dc->setTextAlign(pRecord->x == kCentreCommand ? plat::TA_CENTER
                             : pRecord->x == kRightCommand ? plat::TA_RIGHT
                                                           : plat::TA_LEFT);
            continue;
        }
        const char* pszLine = pRecord->pszText;
        for (int nLine = 0; pszLine && nLine < kMaxLines; ++nLine) {
            const char* pszTab = std::strchr(pszLine, '\t');
            const int nLength = pszTab ? static_cast<int>(pszTab - pszLine) : static_cast<int>(std::strlen(pszLine));
            const int y = pRecord->y + nLine * kLineHeight;
            dc->setTextColor(plat::RGB(0, 0, 0));
            dc->textOut(pRecord->x + 1, y + 1, pszLine, nLength);
            dc->setTextColor(crColour);
            dc->textOut(pRecord->x, y, pszLine, nLength);
            pszLine = pszTab ? pszTab + 1 : nullptr;
        }
    }
    dc->selectFont(nullptr);
    pTarget->releaseDC(dc.release());
}

void SetNumberSeparatorOption(int nCurrency)
{
    g_nCurrencyOption = nCurrency;
}

int GetNumberSeparatorOption() { return g_nCurrencyOption; }

void GetNumberSeparators(char* pcThousands, char* pcDecimal)
{
    switch (g_nCurrencyOption) {
    case 0:
    case 5:
        *pcThousands = ',';
        *pcDecimal = '.';
        break;
    case 1:
    case 3:
    case 4:
        *pcThousands = '.';
        *pcDecimal = ',';
        break;
    case 2:
        *pcThousands = ' ';
        *pcDecimal = ',';
        break;
    default:
        break;
    }
}

int RemoveChar(char* pszText, char c)
{
    char* pszOut = pszText;
    int nRemoved = 0;
    for (const char* pszIn = pszText; *pszIn; ++pszIn) {
        if (*pszIn == c)
            ++nRemoved;
        else
            *pszOut++ = *pszIn;
    }
    *pszOut = '\0';
    return nRemoved;
}

void NormaliseNumberText(char* pszText)
{
    char cThousands = ',';
    char cDecimal = '.';
    GetNumberSeparators(&cThousands, &cDecimal);
    RemoveChar(pszText, cThousands);
    if (cDecimal != '.')
        for (char* p = pszText; *p; ++p)
            if (*p == cDecimal)
                *p = '.';
}

int FittingLength(HDC pDC, const char* pszText, int nRoom, int* pnWidth)
{
    const int nLength = static_cast<int>(std::strlen(pszText));
    int nShown = 0;
    int nWidth = 0;
    for (; nShown < nLength; ++nShown) {
        plat::Size size{0, 0};
        pDC->getTextExtentPoint(pszText, nShown + 1, &size);
        if (size.cx > nRoom)
            break;
        nWidth = size.cx;
    }
    if (pnWidth)
        *pnWidth = nWidth;
    return nShown;
}
