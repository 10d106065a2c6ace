#pragma once
// The small text functions screens call on a device context: text printed
// with printf rules (at most 159 characters; longer texts are cut), plain, with
// a shadow, with a one-pixel outline, or centred in a rectangle by its measured extent. The font and the
// background mode are the caller's.
#include "platform/DeviceContext.h"

#include "common/DebugLog.h"

using COLORREF = plat::COLORREF;
using HDC = plat::DeviceContext*;

void DrawTextF(HDC hDC, int x, int y, COLORREF crColour, const char* pszFormat, ...) BRELLOX_PRINTF(5, 6);
void DrawShadowTextF(HDC hDC, int x, int y, int nOffset, COLORREF crColour, COLORREF crShadow, const char* pszFormat,
                     ...) BRELLOX_PRINTF(7, 8);
void DrawTextCentredF(HDC hDC, int nLeft, int nTop, int nRight, int nBottom, COLORREF crColour, const char* pszFormat,
                      ...) BRELLOX_PRINTF(7, 8);
void DrawShadowTextCentredF(HDC hDC, int nLeft, int nTop, int nRight, int nBottom, int nOffset, COLORREF crColour,
                            COLORREF crShadow, const char* pszFormat, ...) BRELLOX_PRINTF(9, 10);
// Outlined on all eight sides, so that it reads over light and dark alike.
void DrawOutlinedTextCentredF(HDC hDC, int nLeft, int nTop, int nRight, int nBottom, COLORREF crColour,
                              COLORREF crOutline, const char* pszFormat, ...) BRELLOX_PRINTF(8, 9);
