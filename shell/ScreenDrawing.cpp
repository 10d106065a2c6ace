#include "shell/ScreenDrawing.h"

#include "common/DebugLog.h"
#include "shell/CGame.h"
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
