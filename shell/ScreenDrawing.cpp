#include "shell/ScreenDrawing.h"

#include "common/DebugLog.h"
#include "shell/CGame.h"
#include "shell/CTableText.h"
#include "xframework/CXClient.h"
#include "xframework/CXListBox.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>

namespace {

constexpr float kShadeFactor = 0.8f;

std::unique_ptr<CXSurface> g_pBackground;
std::string g_BackgroundName;

// A colour light enough to need a black frame.
bool IsLight(COLORREF crColour)
{
    return (plat::GetGValue(crColour) + plat::GetBValue(crColour)) / 3 > 127;
}

void DrawFramedBox(HDC hDC, int nLeft, COLORREF crColour)
{
    const COLORREF crFrame = IsLight(crColour) ? plat::RGB(0, 0, 0) : plat::RGB(255, 255, 255);
    DrawFilledRect(hDC, nLeft, 1, nLeft + 31, 16, crFrame);
    DrawFilledRect(hDC, nLeft + 2, 3, nLeft + 29, 14, crColour);
}

}  // namespace

bool SetBackgroundBitmap(const char* pszName)
{
    if (!pszName)
        return false;
    if (g_pBackground && g_BackgroundName == pszName)
        return true;
    std::unique_ptr<CXSurface> pSurface(LoadMainArchiveBitmap(pszName, false));
    if (!pSurface) {
        DebugLog(1, "[SetBackgroundBitmap] '%s' could not be loaded; the background stays '%s'", pszName,
                 g_BackgroundName.c_str());
        return false;
    }
    g_pBackground = std::move(pSurface);
    g_BackgroundName = pszName;
    return true;
}

CXSurface* GetBackgroundSurface()
{
    return g_pBackground.get();
}

const char* GetBackgroundName()
{
    return g_BackgroundName.c_str();
}

void FreeBackgroundBitmap()
{
    g_pBackground.reset();
    g_BackgroundName.clear();
}

void ShadeRectangle(CXSurface* pScreen, CXSurface* pShading, int x1, int y1, int x2, int y2)
{
    if (!pScreen || !pShading || pShading->GetWidth() <= 0 || pShading->GetHeight() <= 0)
        return;
    const int nStepX = pShading->GetWidth();
    const int nStepY = pShading->GetHeight();
    for (int y = y1; y < y2; y += nStepY)
        for (int x = x1; x < x2; x += nStepX)
            pScreen->BlendBlt(pShading, pScreen, 0, 0, x, y, x, y, std::min(nStepX, x2 - x), std::min(nStepY, y2 - y),
                              kShadeFactor);
}

void DrawColourBoxes(CXSurface* pTarget, COLORREF crColour, COLORREF crSecond)
{
    if (!pTarget || !pTarget->GetSurface())
        return;
    std::unique_ptr<plat::DeviceContext> dc(pTarget->GetSurface()->getDC());
    if (!dc)
        return;
    DrawFramedBox(dc.get(), 1, crColour);
    DrawFramedBox(dc.get(), 33, crSecond);
    pTarget->GetSurface()->releaseDC(dc.release());
}

void DrawKitPicture(CXSurface* pTarget, CXSurface* pStrip, CXSurface* pMask, int nCell, int nWidth, int nHeight, int x,
                    int y, COLORREF crFirst, COLORREF crSecond, bool bKeyed)
{
    if (!pTarget || !pStrip || !pStrip->m_pSurface || nWidth <= 0 || nHeight <= 0)
        return;
    if (nCell < 0 || (nCell + 1) * nWidth > pStrip->m_nWidth)
        nCell = 0;
    CXSurface kit;
    if (!kit.Create(nWidth, nHeight, true, true))
        return;
    const plat::Rect rcCell{nCell * nWidth, 0, (nCell + 1) * nWidth, nHeight};
    kit.m_pSurface->bltFast(0, 0, *pStrip->m_pSurface, &rcCell, plat::BLTFAST_WAIT);
    const auto wFirst = static_cast<uint16_t>(kit.ColorMatch(crFirst));
    const auto wSecond = static_cast<uint16_t>(kit.ColorMatch(crSecond));
    const auto wWhite = static_cast<uint16_t>(kit.ColorMatch(0xFFFFFF));
    const auto wRed = static_cast<uint16_t>(kit.ColorMatch(0x0000FF));
    for (int j = 0; j < nHeight; ++j)
        for (int i = 0; i < nWidth; ++i) {
            const uint16_t wPixel = kit.m_pSurface->pixel(i, j);
            if (wPixel == wWhite)
                kit.m_pSurface->setPixel(i, j, wFirst);
            else if (wPixel == wRed)
                kit.m_pSurface->setPixel(i, j, wSecond);
        }
    if (pMask)
        kit.BltModulated(pMask, 0, 0);
    if (bKeyed)
        CXSurface::BlitKeyed(pTarget, &kit, x, y);
    else
        CXSurface::Blit(pTarget, &kit, x, y);
}

const char* GetHoardingBitmapName(const char* pszLanguage)
{
    std::string upper(pszLanguage ? pszLanguage : "");
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::pair<const char*, const char*> names[] = {{"ENGLISH", "EHord.bmp"},
                                                         {"FRENCH", "FHord.bmp"},
                                                         {"GERMAN", "GHord.bmp"},
                                                         {"ITALIAN", "IHord.bmp"},
                                                         {"SPANISH", "SHord.bmp"}};
    for (const auto& [pszLanguageName, pszBitmap] : names)
        if (upper == pszLanguageName)
            return pszBitmap;
    return nullptr;
}

CXSurface* GetHoardingBitmap(const char* pszLanguage)
{
    const char* pszName = GetHoardingBitmapName(pszLanguage);
    CXSurface* pSurface = pszName ? LoadMainArchiveBitmap(pszName, false) : nullptr;
    if (!pSurface)
        DebugLog(1, "[GetHoardingBitmap] no hoarding bitmap for '%s'", pszLanguage ? pszLanguage : "");
    return pSurface;
}

namespace {

constexpr int kTabHeight = 16;
constexpr int kTabLeftColumn = 32;
constexpr int kTabLeftMost = 27;
constexpr int kTabMiddleColumn = 59;
constexpr int kTabRightColumn = 60;
constexpr int kTabRightWidth = 4;

// Copies a column range of the source onto the target, keyed, cut to both.
void CopyPiece(CXSurface* pTarget, CXSurface* pSource, int nSourceX, int nWidth, int x, int y)
{
    plat::Rect source{nSourceX, 0, nSourceX + nWidth, std::min(kTabHeight, pSource->GetHeight())};
    if (x < 0) {
        source.left -= x;
        x = 0;
    }
    if (y < 0) {
        source.top -= y;
        y = 0;
    }
    source.right = std::min(source.right, source.left + pTarget->GetWidth() - x);
    source.bottom = std::min(source.bottom, source.top + pTarget->GetHeight() - y);
    if (source.right <= source.left || source.bottom <= source.top)
        return;
    pTarget->GetSurface()->bltFast(x, y, *pSource->GetSurface(), &source, plat::BLTFAST_SRCCOLORKEY);
}

CXControl* FindControl(CXClient* pClient, uint32_t dwID)
{
    for (int i = 0; i < pClient->GetControlCount(); ++i)
        if (CXControl* pControl = pClient->GetControl(i); pControl && pControl->GetID() == dwID)
            return pControl;
    return nullptr;
}

}  // namespace

void DrawCaptionTab(CXSurface* pTarget, CXSurface* pTabBitmap, plat::Font* pFont, int x, int y, int nWidth,
                    const char* pszText)
{
    if (!pTarget || !pTarget->GetSurface() || !pTabBitmap || !pTabBitmap->GetSurface() ||
        pTabBitmap->GetWidth() < kTabRightColumn + kTabRightWidth || nWidth < kTabRightWidth)
        return;
    const int nLeftPiece = std::min(nWidth - kTabRightWidth, kTabLeftMost);
    CopyPiece(pTarget, pTabBitmap, kTabLeftColumn, nLeftPiece, x, y);
    for (int nColumn = x + nLeftPiece; nColumn < x + nWidth - kTabRightWidth; ++nColumn)
        CopyPiece(pTarget, pTabBitmap, kTabMiddleColumn, 1, nColumn, y);
    CopyPiece(pTarget, pTabBitmap, kTabRightColumn, kTabRightWidth, x + nWidth - kTabRightWidth, y);
    if (!pszText || !*pszText)
        return;
    std::unique_ptr<plat::DeviceContext> dc(pTarget->GetSurface()->getDC());
    if (!dc)
        return;
    plat::Font* pOldFont = dc->selectFont(pFont);
    const int nOldMode = dc->setBkMode(plat::TRANSPARENT);
    dc->textOut(x + 5, y + 1, pszText);
    dc->setBkMode(nOldMode);
    dc->selectFont(pOldFont);
    pTarget->GetSurface()->releaseDC(dc.release());
}

void DrawCaptionTabs(CXClient* pClient, CXSurface* pTarget, CXSurface* pTabBitmap, plat::Font* pFont, int nTableSet,
                     const CAPTIONTAB* pEntries)
{
    if (!pEntries)
        return;
    for (const CAPTIONTAB* pEntry = pEntries; pEntry->nKind != 0; ++pEntry) {
        int x = pEntry->x;
        int y = pEntry->y;
        int nWidth = pEntry->nWidth;
        if (pEntry->nKind == 1) {
            CXControl* pControl = pClient ? FindControl(pClient, pEntry->dwControlID) : nullptr;
            if (!pControl) {
                DebugLog(1, "[DrawCaptionTabs] no control %u for a caption tab", pEntry->dwControlID);
                continue;
            }
            x = pControl->m_nLeft;
            nWidth = pControl->Width();
            y = pControl->m_nTop - 17;
            if (pControl->m_dwType == XCONTROL_TREEVIEW)
                y -= 16;
            else if (pControl->m_dwType == XCONTROL_CALENDAR)
                y -= 18;
        } else if (pEntry->nKind != 2) {
            DebugLog(1, "[DrawCaptionTabs] caption tab of unknown kind %d ends the list", pEntry->nKind);
            return;
        }
        DrawCaptionTab(pTarget, pTabBitmap, pFont, x, y, nWidth, GetTableText(nTableSet, pEntry->nItem));
    }
}

void ApplyRatingsOption(CXListBox* pList)
{
    const auto* pGame = dynamic_cast<const CGame*>(g_pGame);
    if (!pList || !pGame)
        return;
    const int nRatings = pGame->GetOptions().m_nRatings;
    const uint8_t byWanted = nRatings == 0   ? VALUEBAR_DRAW_BAR
                             : nRatings == 1 ? VALUEBAR_DRAW_NUMBER
                                             : VALUEBAR_DRAW_NUMBER | VALUEBAR_DRAW_BAR;
    if (pList->m_byValueBarOptions != byWanted) {
        pList->m_byValueBarOptions = byWanted;
        pList->Redraw();
    }
}
