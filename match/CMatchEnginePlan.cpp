// The 2-D pitch plan of the view without 3-D, lines and markers on the radar
// and the plan, and the debug overlays that show what the selected person
// is doing.
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchAssistantReferee.h"
#include "match/actors/CMatchPlayer.h"
#include "match/actors/CMatchReferee.h"
#include "platform/DeviceContext.h"
#include "xframework/CXSurface.h"

#include <algorithm>
#include <cstdio>

namespace {

// The room round the pitch that the plan's pictures show.
constexpr int32_t kPlanPictureMargin = 200;

plat::COLORREF FromPacked(uint32_t dwRGB)
{
    return plat::RGB((dwRGB >> 16) & 0xFF, (dwRGB >> 8) & 0xFF, dwRGB & 0xFF);
}

// Whole pixels of a distance at a scale, taken away from zero.
int32_t PixelsAwayFromZero(int32_t nDistance, int32_t nScale)
{
    if (nScale <= 0)
        return 0;
    return nDistance >= 0 ? (nDistance + nScale - 1) / nScale : -((-nDistance + nScale - 1) / nScale);
}

// Copies the picture centred on (x, y) on its colour key, clipped to the target.
void BlitCentred(plat::Surface& target, const CXSurface* pBitmap, int32_t x, int32_t y)
{
    const plat::Surface* pSource = pBitmap ? pBitmap->GetSurface() : nullptr;
    if (!pSource)
        return;
    int32_t nLeft = x - pSource->width() / 2, nTop = y - pSource->height() / 2;
    plat::Rect src{0, 0, pSource->width(), pSource->height()};
    if (nLeft < 0)
        src.left = -nLeft, nLeft = 0;
    if (nTop < 0)
        src.top = -nTop, nTop = 0;
    src.right = std::min(src.right, src.left + target.width() - nLeft);
    src.bottom = std::min(src.bottom, src.top + target.height() - nTop);
    if (src.right <= src.left || src.bottom <= src.top)
        return;
    target.bltFast(nLeft, nTop, *pSource, &src, plat::BLTFAST_SRCCOLORKEY | plat::BLTFAST_WAIT);
}

void Line(plat::Surface& target, int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t dwRGB, int nStyle)
{
    plat::DeviceContext dc(&target);
    plat::Pen pen(nStyle, 1, FromPacked(dwRGB));
    dc.selectPen(&pen);
    dc.moveTo(x0, y0);
    dc.lineTo(x1, y1);
    // The end pixel too, as a one-pixel line from A to B covers both.
    dc.setPixel(x1, y1, FromPacked(dwRGB));
    dc.selectPen(nullptr);
}

// Debug texts: light on a dark edge so that they read on grass and stands.
class DebugWriter {
public:
    DebugWriter(plat::Surface& target, int32_t x, int32_t y) : m_dc(&target), m_x(x), m_y(y)
    {
        m_dc.setBkMode(plat::TRANSPARENT);
        m_dc.setTextAlign(plat::TA_LEFT | plat::TA_TOP);
    }
    template <typename... Args> void Write(const char* pszFormat, Args... args)
    {
        char szLine[96];
        std::snprintf(szLine, sizeof szLine, pszFormat, args...);
        m_dc.setTextColor(plat::RGB(16, 20, 40));
        m_dc.textOut(m_x + 1, m_y + 1, szLine);
        m_dc.setTextColor(plat::RGB(244, 242, 230));
        m_dc.textOut(m_x, m_y, szLine);
        m_y += 13;
    }

private:
    plat::DeviceContext m_dc;
    int32_t m_x, m_y;
};

}  // namespace

std::vector<const CMatchPerson*> CMatchEngine::PlanPersons() const
{
    std::vector<const CMatchPerson*> persons(m_apHome.begin(), m_apHome.end());
    persons.insert(persons.end(), m_apAway.begin(), m_apAway.end());
    for (const CMatchPerson* p : {m_pPhysio, m_pReferee, m_apAssistants[0], m_apAssistants[1]})
        if (p)
            persons.push_back(p);
    return persons;
}

void CMatchEngine::PitchToPlan(int32_t& x, int32_t& y, const CVector& point) const
{
    x = (m_wPitchMapScaleX ? point.x / m_wPitchMapScaleX : 0) + m_nPlanOriginX + m_PitchMapRect.nLeft;
    y = (m_wPitchMapScaleY ? point.y / m_wPitchMapScaleY : 0) + m_nPlanOriginY + m_PitchMapRect.nTop;
}

void CMatchEngine::DrawReplayMark(plat::Surface* pView) const
{
    if (!pView || m_bFullView || !m_bReplaying || !m_pReplayMark || !m_pReplayMark->GetSurface())
        return;
    const plat::Surface& mark = *m_pReplayMark->GetSurface();
    if (mark.width() <= pView->width() && mark.height() <= pView->height())
        pView->bltFast(0, 0, mark, nullptr, plat::BLTFAST_SRCCOLORKEY | plat::BLTFAST_WAIT);
}

void CMatchEngine::DrawRadarLine(plat::Surface* pSurface, const CVector& a, const CVector& b, uint32_t dwRGB,
                                 int nStyle) const
{
    if (!pSurface)
        return;
    int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    RadarPoint(a, x0, y0);
    RadarPoint(b, x1, y1);
    Line(*pSurface, x0, y0, x1, y1, dwRGB, nStyle);
}

void CMatchEngine::DrawPlanMarker(plat::Surface* pSurface, const CXSurface* pBitmap, const CVector& point) const
{
    if (!pSurface)
        return;
    int32_t x = 0, y = 0;
    if (IsPlanView())
        PitchToPlan(x, y, point);
    else
        RadarPoint(point, x, y);
    BlitCentred(*pSurface, pBitmap, x, y);
}

void CMatchEngine::DrawLongPassMarker(plat::Surface* pSurface, bool bHomeSide, const TACKLERECORD& record) const
{
    if (record.byResult > 2)
        return;
    const int nFirst = bHomeSide ? PLANMARK_HOME_TACKLE : PLANMARK_AWAY_TACKLE;
    DrawPlanMarker(pSurface, GetPlanMarker(nFirst + record.byResult), record.vEnd);
}

void CMatchEngine::DrawPitchLine(plat::Surface* pSurface, const CVector& a, const CVector& b, uint32_t dwRGB) const
{
    if (!pSurface)
        return;
    int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    PitchToPlan(x0, y0, a);
    PitchToPlan(x1, y1, b);
    Line(*pSurface, x0, y0, x1, y1, dwRGB, plat::PS_SOLID);
}

void CMatchEngine::DrawPlanEllipse(plat::Surface* pSurface, const CVector& centre, int32_t nRadius,
                                   uint32_t dwRGB) const
{
    if (!pSurface)
        return;
    int32_t x = 0, y = 0;
    PitchToPlan(x, y, centre);
    const int32_t rx = PixelsAwayFromZero(nRadius, m_wPitchMapScaleX);
    const int32_t ry = PixelsAwayFromZero(nRadius, m_wPitchMapScaleY);
    plat::DeviceContext dc(pSurface);
    plat::Pen pen(plat::PS_SOLID, 1, FromPacked(dwRGB));
    dc.selectPen(&pen);
    dc.selectBrush(plat::Brush::hollow());
    dc.ellipse(x - rx, y - ry, x + rx + 1, y + ry + 1);
    dc.selectBrush(nullptr);
    dc.selectPen(nullptr);
}

void CMatchEngine::DrawPlanBitmap(plat::Surface* pSurface, const CXSurface* pBitmap, const CVector& point) const
{
    if (!pSurface)
        return;
    int32_t x = 0, y = 0;
    PitchToPlan(x, y, point);
    BlitCentred(*pSurface, pBitmap, x, y);
}

void CMatchEngine::DrawPlanPerson(plat::Surface* pSurface, const CXSurface* pBitmap, const CMatchPerson& person) const
{
    DrawPlanBitmap(pSurface, pBitmap, person.GetPosition());
}

void CMatchEngine::DrawPlanBackground(plat::Surface* pSurface) const
{
    if (!pSurface)
        return;
    // The pictures show the pitch with 200 to spare round it; stretched so
    // that their lines fall where the plan maps the pitch. The small one
    // serves a plan no wider than itself outside the full view.
    int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    PitchToPlan(x0, y0, CVector(-kPlanPictureMargin, -kPlanPictureMargin, 0));
    PitchToPlan(x1, y1, CVector(PITCH_LENGTH + kPlanPictureMargin, PITCH_WIDTH + kPlanPictureMargin, 0));
    const CXSurface* pSmall = GetOverlayBitmap(OVERLAY_RADAR_PITCH);
    const bool bSmall = !m_bFullView && pSmall && pSmall->GetSurface() && x1 - x0 < pSmall->GetSurface()->width();
    const CXSurface* pPicture = bSmall ? pSmall : GetOverlayBitmap(OVERLAY_FULL_PITCH);
    if (!pPicture || !pPicture->GetSurface())
        return;
    const plat::Rect dest{x0, y0, x1 + 1, y1 + 1};
    pSurface->blt(&dest, pPicture->GetSurface(), nullptr, plat::BLT_KEYSRC | plat::BLT_WAIT);
}

void CMatchEngine::DrawPlanView(plat::Surface* pSurface) const
{
    if (!pSurface)
        return;
    if (m_bDebugMode)
        DrawPlanDebug(pSurface);
    else {
        DrawPlanBackground(pSurface);
        for (const CMatchPerson* p : PlanPersons())
            if (p->IsActive())
                DrawPlanPerson(pSurface, GetPersonMarker(*p), *p);
        if (m_pBall)
            DrawPlanBitmap(pSurface, GetRadarMarker(RADARMARK_BALL), m_pBall->GetPosition());
    }
    if (m_bDebugMode)
        DrawPersonDebug(pSurface);
}

void CMatchEngine::DrawPlanDebug(plat::Surface* pSurface) const
{
    if (!pSurface)
        return;
    DrawPlanBackground(pSurface);
    // Every person, the benches and the waiting physio too.
    for (const CMatchPerson* p : PlanPersons())
        DrawPlanPerson(pSurface, GetPersonMarker(*p), *p);
    // Where the referee's restart is taken, and the second player's spot.
    if (m_pMatchReferee && m_byMatchEvent != MATCHEVENT_NONE) {
        DrawPlanEllipse(pSurface, m_pMatchReferee->GetEventPosition(), 150, 0xFFFFFF);
        DrawPlanEllipse(pSurface, m_pMatchReferee->GetSecondEventPosition(), 100, 0xC0C0C0);
    }
    if (m_pBall) {
        DrawPlanBitmap(pSurface, GetRadarMarker(RADARMARK_BALL), m_pBall->GetPosition());
        // Where a ball played to a point is going.
        if (m_pBall->IsPlayTo())
            DrawPitchLine(pSurface, m_pBall->GetPosition(), m_pBall->GetTarget(), 0xFFFFFF);
    }
    const CMatchPerson* pSelected = GetSelectedPerson();
    if (!pSelected)
        return;
    DrawPlanPerson(pSurface, GetPlanMarker(PLANMARK_SELECTION), *pSelected);
    DrawPitchLine(pSurface, pSelected->GetPosition(), pSelected->GetTarget(), 0xF0C040);
    if (pSelected->GetPersonType() != PERSONTYPE_FOOTBALLER)
        return;
    const auto& player = static_cast<const CMatchPlayer&>(*pSelected);
    if (const CMatchClub* pOpponents = player.GetOpponentClub()) {
        const int32_t nSpeed = std::max<int32_t>(player.GetSpeed(), 1);
        const float fSafety = CMatchPlayer::GetPathSafety(*pOpponents, player.GetPosition(), player.GetTarget(), nSpeed);
        DebugWriter text(*pSurface, m_PitchMapRect.nLeft, m_PitchMapRect.nBottom + 6);
        text.Write("Path Assessment: Speed: %d Rating: %d", int(nSpeed), int(fSafety * 100.0f));
    }
}

void CMatchEngine::DrawPersonDebug(plat::Surface* pSurface) const
{
    const CMatchPerson* pSelected = GetSelectedPerson();
    if (!pSurface || !pSelected)
        return;
    DebugWriter text(*pSurface, 4, 4);
    if (pSelected->HasBall())
        text.Write("HAS POSSESSION");
    if (pSelected->GetPersonType() == PERSONTYPE_FOOTBALLER) {
        const auto& player = static_cast<const CMatchPlayer&>(*pSelected);
        if (player.IsIllegalPosition())
            text.Write("Illegal Pos");
        if (player.IsGoingForBall())
            text.Write("Getting Ball");
        if (player.IsBallChaser())
            text.Write("Chasing");
    }
    text.Write("Frame Speed: %d", int(pSelected->GetRequest().frameTime));
    text.Write("Move Type: %d", int(pSelected->GetMoveType()));
    text.Write("%d.%d", int(pSelected->GetDecision()), int(pSelected->GetAction()));
}
