#pragma once
// Free drawing functions for screens, controls and popups: simple shapes on a
// device context (each makes its pens and brushes, draws, and puts back what
// was selected before), positioned text descriptions on a surface, and the
// number separators of the Currency option.
#include "platform/DeviceContext.h"
#include "platform/Font.h"

#include <cstddef>

class CXSurface;

using COLORREF = plat::COLORREF;

using HDC = plat::DeviceContext*;

void DrawRectOutline(HDC hDC, int nLeft, int nTop, int nRight, int nBottom, COLORREF crColour, int nPenWidth);
// The sixth argument is not read; it stands where callers pass it.
void DrawFilledRectFramed(HDC hDC, int nLeft, int nTop, int nRight, int nBottom, COLORREF crFill, COLORREF crUnused,
                          COLORREF crFrame);
// Leaves the background mode as it was.
void DrawFilledRectFramedRect(HDC hDC, const plat::Rect& rc, COLORREF crFill, COLORREF crFrame);
void DrawFilledRect(HDC hDC, int nLeft, int nTop, int nRight, int nBottom, COLORREF crColour);
// With bFrame a black one-pixel frame one pixel outside the box.
void DrawColourBox(HDC hDC, int nLeft, int nTop, int nRight, int nBottom, COLORREF crColour, bool bFrame);
// A column header cell nWidth wide at (x, y) of pDest from a 32-pixel-wide
// look of a header bitmap at nSourceX: its first 27 columns, its column 27
// repeated, then its last 4.
void DrawHeaderCell(plat::Surface& dest, int x, int y, int nWidth, plat::Surface& source, int nSourceX);
void DrawLine(HDC hDC, int x1, int y1, int x2, int y2, COLORREF crColour, int nPenWidth, int nPenStyle);
void DrawFilledCircle(HDC hDC, int x, int y, int nRadius, COLORREF crFrame, COLORREF crFill);
void DrawCircleOutline(HDC hDC, int x, int y, int nRadius, COLORREF crColour, int nPenWidth);
void DrawCircle(HDC hDC, int x, int y, int nRadius, COLORREF crColour);
void DrawEllipse(HDC hDC, int x, int y, int nRadiusX, int nRadiusY, COLORREF crColour);

// Draws text description nIndex (the shell's current language) on the
// surface: alignment commands and texts whose TABs start new lines 14 pixels
// apart (at most 6), each with a black shadow one pixel down and right.
// Nothing when the description does not exist.
void DrawSurfaceText(plat::Font* pFont, CXSurface* pSurface, int nIndex, COLORREF crColour);

// The Currency option the separators follow; the options set it when loaded
// or changed.
void SetNumberSeparatorOption(int nCurrency);
int GetNumberSeparatorOption();
// Thousands and decimal separators of the option; left as they were for an
// option outside the table.
void GetNumberSeparators(char* pcThousands, char* pcDecimal);
// Removes every occurrence of the character in place; the count removed.
int RemoveChar(char* pszText, char c);
// Field nField (from 0) of a TAB-separated text into a buffer of nOutSize,
// cut to fit; empty when the text has fewer fields.
void CopyTabField(const char* pszText, int nField, char* pszOut, size_t nOutSize);
// Makes a number typed with the option's separators readable by strtod.
void NormaliseNumberText(char* pszText);
// How many whole characters of the text fit in nRoom pixels; their width
// goes to pnWidth when it is given.
int FittingLength(HDC pDC, const char* pszText, int nRoom, int* pnWidth = nullptr);
