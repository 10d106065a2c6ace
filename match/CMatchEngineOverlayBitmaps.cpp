// The 2-D pictures drawn over the match view, kept while the device is on.
#include "common/DebugLog.h"
#include "match/CMatchEngine.h"
#include "shell/CGame.h"
#include "xframework/CXSurface.h"

namespace {

// Two surfaces share the radar's pitch: one to draw on, one to restore from.
constexpr const char* kOverlayNames[CMatchEngine::OVERLAY_COUNT] = {"MVPitch.bmp",  "MVPitch.bmp",
                                                                    "MVFPitch.bmp", "ScoreBar.bmp",
                                                                    "EventBox.bmp", "icnPens.bmp"};

std::unique_ptr<CXSurface> LoadOverlay(const char* pszName)
{
    std::unique_ptr<CXSurface> pSurface(LoadMainArchiveBitmap(pszName, true));
    if (!pSurface) {
        DebugLog(6, "[CMatchEngine::LoadOverlayBitmaps] No %s", pszName);
        pSurface = std::make_unique<CXSurface>();
    }
    return pSurface;
}

}  // namespace

void CMatchEngine::LoadOverlayBitmaps()
{
    for (int i = 0; i < OVERLAY_COUNT; ++i)
        m_apOverlay[i] = LoadOverlay(kOverlayNames[i]);
    MakeMarkerBitmaps();
    const uint8_t byCategory = GetWeatherCategory();
    const char* pszIcon = byCategory == 1 || byCategory == 2 ? "rain.bmp" : byCategory == 4 ? "snow.bmp" : nullptr;
    m_pWeatherIcon = pszIcon ? LoadOverlay(pszIcon) : nullptr;
}

void CMatchEngine::FreeOverlayBitmaps()
{
    for (auto& pSurface : m_apOverlay)
        pSurface.reset();
    FreeMarkerBitmaps();
    m_pWeatherIcon.reset();
}

CXSurface* CMatchEngine::GetOverlayBitmap(int nWhich) const
{
    return nWhich >= 0 && nWhich < OVERLAY_COUNT ? m_apOverlay[nWhich].get() : nullptr;
}
