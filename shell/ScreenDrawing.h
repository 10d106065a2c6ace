#pragma once
// Drawing steps many screens share: the one background bitmap they have in
// common, shading a part of the screen, the two colour boxes of a kit, and
// the advertising hoarding of the language, and the look of a list's ratings.
#include "platform/Font.h"
#include "xframework/CXSurface.h"

class CXListBox;

// A list's rating bars follow the Ratings option: bars (0), numbers (1) or
// both (2); the list is drawn again when that changes.
void ApplyRatingsOption(CXListBox* pList);

// Makes the named bitmap of the main archive the shared screen background.
// The same name again keeps the loaded surface. False (with a log line) when
// the bitmap cannot be had; the previous background then stays.
bool SetBackgroundBitmap(const char* pszName);
CXSurface* GetBackgroundSurface();
const char* GetBackgroundName();
void FreeBackgroundBitmap();

// Blends the shading surface over the screen's rectangle x1..x2-1, y1..y2-1,
// keeping 0.8 of each screen pixel against the shade; a rectangle larger than
// the shading surface is covered in pieces of its size.
void ShadeRectangle(CXSurface* pScreen, CXSurface* pShading, int x1, int y1, int x2, int y2);

// Two framed boxes of a kit's colours, 31 x 15 pixels at (1, 1) and (33, 1),
// with inner fields 3-29 and 35-61 by 3-13. A light colour gets a black
// frame, a dark one a white frame.
void DrawColourBoxes(CXSurface* pTarget, COLORREF crColour, COLORREF crSecond);

// A kit picture: cell nCell (nWidth x nHeight, side by side; a cell beyond
// the strip reads as cell 0) of the strip, its pure white taking the first
// colour and its pure red the second, shaded by the mask, drawn at (x, y)
// of the target (keyed when asked).
void DrawKitPicture(CXSurface* pTarget, CXSurface* pStrip, CXSurface* pMask, int nCell, int nWidth, int nHeight, int x,
                    int y, COLORREF crFirst, COLORREF crSecond, bool bKeyed);

// The hoarding bitmap's name for a language (any case); null for a language
// without one.
const char* GetHoardingBitmapName(const char* pszLanguage);
// The language's hoarding bitmap from the main archive; the caller owns it.
// Null (with a log line) when the language has none or it cannot be read.
CXSurface* GetHoardingBitmap(const char* pszLanguage);

class CXClient;

// One caption tab, 16 pixels high, cut from the shared tab bitmap (a left
// piece from column 32, column 59 stretched, columns 60-63 as the right
// end), with its text in the font at x + 5, y + 1 over a transparent
// background. Parts outside the target are cut off.
void DrawCaptionTab(CXSurface* pTarget, CXSurface* pTabBitmap, plat::Font* pFont, int x, int y, int nWidth,
                    const char* pszText);

// An entry of a caption list: kind 1 puts a tab over the client's control
// with the given id (at its left and width, 17 pixels above it, more for a
// tree view or calendar whose header stands above their top); kind 2 at an
// explicit place; kind 0 ends the list. The text is item nItem of the
// list's table-text set.
struct CAPTIONTAB {
    int nKind;
    int nItem;
    uint32_t dwControlID;
    int x;
    int y;
    int nWidth;
};
void DrawCaptionTabs(CXClient* pClient, CXSurface* pTarget, CXSurface* pTabBitmap, plat::Font* pFont, int nTableSet,
                     const CAPTIONTAB* pEntries);
