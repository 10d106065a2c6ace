#include "xframework/ClientText.h"

#include <cstdarg>
#include <cstdio>

namespace {

constexpr size_t kTextBuffer = 160;

// Prints the variable arguments of the calling function into szText.
#define PRINT_ARGUMENTS(szText, pszFormat)                     \
    va_list args;                                              \
    va_start(args, pszFormat);                                 \
    std::vsnprintf(szText, sizeof szText, pszFormat, args);    \
    va_end(args)

void Out(HDC hDC, int x, int y, COLORREF crColour, const char* pszText)
{
    hDC->setTextColor(crColour);
    hDC->textOut(x, y, pszText);
}

// Where a text stands centred in the rectangle (integer halves).
plat::Point Centred(HDC hDC, int nLeft, int nTop, int nRight, int nBottom, const char* pszText)
{
    plat::Size size;
    hDC->getTextExtentPoint(pszText, -1, &size);
    return {nLeft + (nRight - nLeft) / 2 - size.cx / 2, nTop + (nBottom - nTop) / 2 - size.cy / 2};
}

}  // namespace

void DrawTextF(HDC hDC, int x, int y, COLORREF crColour, const char* pszFormat, ...)
{
    char szText[kTextBuffer];
    PRINT_ARGUMENTS(szText, pszFormat);
    Out(hDC, x, y, crColour, szText);
}

void DrawShadowTextF(HDC hDC, int x, int y, int nOffset, COLORREF crColour, COLORREF crShadow, const char* pszFormat,
                     ...)
{
    char szText[kTextBuffer];
    PRINT_ARGUMENTS(szText, pszFormat);
    Out(hDC, x + nOffset, y + nOffset, crShadow, szText);
    Out(hDC, x, y, crColour, szText);
}

void DrawTextCentredF(HDC hDC, int nLeft, int nTop, int nRight, int nBottom, COLORREF crColour, const char* pszFormat,
                      ...)
{
    char szText[kTextBuffer];
    PRINT_ARGUMENTS(szText, pszFormat);
    const plat::Point at = Centred(hDC, nLeft, nTop, nRight, nBottom, szText);
    Out(hDC, at.x, at.y, crColour, szText);
}

void DrawShadowTextCentredF(HDC hDC, int nLeft, int nTop, int nRight, int nBottom, int nOffset, COLORREF crColour,
                            COLORREF crShadow, const char* pszFormat, ...)
{
    char szText[kTextBuffer];
    PRINT_ARGUMENTS(szText, pszFormat);
    const plat::Point at = Centred(hDC, nLeft, nTop, nRight, nBottom, szText);
    Out(hDC, at.x + nOffset, at.y + nOffset, crShadow, szText);
    Out(hDC, at.x, at.y, crColour, szText);
}

void DrawOutlinedTextCentredF(HDC hDC, int nLeft, int nTop, int nRight, int nBottom, COLORREF crColour,
                              COLORREF crOutline, const char* pszFormat, ...)
{
    char szText[kTextBuffer];
    PRINT_ARGUMENTS(szText, pszFormat);
    const plat::Point at = Centred(hDC, nLeft, nTop, nRight, nBottom, szText);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (dx || dy)
                Out(hDC, at.x + dx, at.y + dy, crOutline, szText);
    Out(hDC, at.x, at.y, crColour, szText);
}
