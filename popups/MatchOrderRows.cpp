#include "popups/MatchOrderRows.h"

#include "shell/CGame.h"

#include "common/DebugLog.h"
#include "xframework/CXClient.h"
#include "xframework/CXSlider.h"

#include <memory>

namespace match_orders {

namespace {

constexpr COLORREF kTrackShade = plat::RGB(10, 24, 38);

}  // namespace

void DrawTrack(CXSurface* pBackground, const char* pszBitmap, int x, int y)
{
    if (!pBackground)
        return;
    pBackground->FillGradient(x - 2, y - 1, kTrackWidth + 4, kTrackHeight + 2, kTrackShade, kTrackShade);
    std::unique_ptr<CXSurface> pTrack(LoadMainArchiveBitmap(pszBitmap, true));
    if (!pTrack) {
        DebugLog(0, "[match_orders::DrawTrack] '%s' could not be loaded", pszBitmap);
        return;
    }
    CXSurface::BlitKeyed(pBackground, pTrack.get(), x, y);
}

CXSlider* AddSlider(CXClient& popup, uint32_t dwID, int x, int y)
{
    auto* pSlider =
        static_cast<CXSlider*>(popup.AddControlXYWH(XCONTROL_SLIDER, x, y, kTrackWidth, kTrackHeight, dwID, nullptr));
    if (!pSlider)
        return nullptr;
    CGame* pGame = dynamic_cast<CGame*>(g_pGame);
    pSlider->SetUp(pGame ? pGame->GetSharedBitmaps().GetSprite("sldTrain.bmp") : nullptr);
    pSlider->SetRange(0, 100);
    return pSlider;
}

}  // namespace match_orders
