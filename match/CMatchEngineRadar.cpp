// The radar beside the match view: the pitch turned upright (the low goal at
// the bottom, the first touch line on the left) with a dot for every official,
// every player on the pitch and the ball.
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchPlayer.h"
#include "platform/DeviceContext.h"

namespace {

plat::COLORREF FromPacked(uint32_t dwRGB)
{
    return plat::RGB((dwRGB >> 16) & 0xFF, (dwRGB >> 8) & 0xFF, dwRGB & 0xFF);
}

// A filled dot kept inside the radar's rectangle (inclusive edges).
void Dot(plat::DeviceContext& dc, const MATCHRECT& clip, int32_t cx, int32_t cy, int nRadius, plat::COLORREF colour)
{
    for (int dy = -nRadius; dy <= nRadius; ++dy)
        for (int dx = -nRadius; dx <= nRadius; ++dx) {
            const int32_t x = cx + dx, y = cy + dy;
            if (dx * dx + dy * dy > nRadius * nRadius + 1)
                continue;
            if (x >= clip.nLeft && x <= clip.nRight && y >= clip.nTop && y <= clip.nBottom)
                dc.setPixel(x, y, colour);
        }
}

}  // namespace

void CMatchEngine::RadarPoint(const CVector& point, int32_t& x, int32_t& y) const
{
    x = m_RadarRect.nLeft + (m_fRadarScaleY > 0.0f ? int32_t(float(point.y) / m_fRadarScaleY) : 0);
    y = m_RadarRect.nBottom - (m_fRadarScaleX > 0.0f ? int32_t(float(point.x) / m_fRadarScaleX) : 0);
}

void CMatchEngine::DrawRadar(plat::Surface* pSurface) const
{
    if (!pSurface || m_fRadarScaleX <= 0.0f || m_fRadarScaleY <= 0.0f)
        return;
    plat::DeviceContext dc(pSurface);
    int32_t x = 0, y = 0;
    for (const CMatchPerson* p : {m_apAssistants[0], m_apAssistants[1], m_pReferee}) {
        if (!p)
            continue;
        RadarPoint(p->GetPosition(), x, y);
        Dot(dc, m_RadarRect, x, y, 2, FromPacked(p->GetColour()));
    }
    for (const CMatchClub* pClub : {m_pHomeClub.get(), m_pAwayClub.get()}) {
        if (!pClub)
            continue;
        for (int i = 0; i < pClub->GetOnPitchCount(); ++i)
            if (const CMatchPlayer* p = pClub->GetSlot(i)) {
                RadarPoint(p->GetPosition(), x, y);
                Dot(dc, m_RadarRect, x, y, 2, FromPacked(p->GetColour()));
            }
    }
    if (m_pBall) {
        RadarPoint(m_pBall->GetPosition(), x, y);
        Dot(dc, m_RadarRect, x, y, 1, plat::RGB(255, 255, 255));
    }
}
