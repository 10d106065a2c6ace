// The small pictures the radar and the plan draw people and tackles with,
// tinted in the colours of the match, the replay mark, and the options and
// textures of the alert icons over the players' heads.
#include "common/DebugLog.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchPlayer.h"
#include "shell/CGame.h"
#include "shell/WinMain.h"
#include "xframework/CXSurface.h"

namespace {

// The one colour of a marker picture that takes the colour of its owner.
constexpr plat::COLORREF kTintColour = plat::RGB(255, 0, 0);
// The selection ring of the plan.
constexpr uint32_t kSelectionColour = 0xF0C040;
constexpr uint32_t kBallColour = 0xFFFFFF;

std::unique_ptr<CXSurface> LoadPicture(const char* pszName)
{
    std::unique_ptr<CXSurface> pSurface(LoadMainArchiveBitmap(pszName, true));
    if (!pSurface || !pSurface->GetSurface()) {
        DebugLog(6, "[CMatchEngine::MakeMarkerBitmaps] No %s", pszName);
        return nullptr;
    }
    return pSurface;
}

uint32_t KeeperColour(const CMatchClub* pClub)
{
    if (pClub && pClub->GetOnPitchCount() > 0)
        if (const CMatchPlayer* p = pClub->GetSlot(0))
            return p->GetColour();
    return 0;
}

uint32_t PlayerColour(const CMatchClub* pClub)
{
    if (pClub)
        for (int i = 1; i < pClub->GetOnPitchCount(); ++i)
            if (const CMatchPlayer* p = pClub->GetSlot(i))
                return p->GetColour();
    return 0;
}

}  // namespace

std::unique_ptr<CXSurface> CMatchEngine::MakeTintedMarker(const CXSurface& picture, const CXSurface* pMask,
                                                          uint32_t dwRGB)
{
    const plat::Surface* pSource = picture.GetSurface();
    if (!pSource)
        return nullptr;
    // The mask, when there is one, gives the marker its size.
    const plat::Surface* pMaskSurface = pMask ? pMask->GetSurface() : nullptr;
    const int nWidth = pMaskSurface ? pMaskSurface->width() : pSource->width();
    const int nHeight = pMaskSurface ? pMaskSurface->height() : pSource->height();
    auto pMarker = std::make_unique<CXSurface>();
    plat::Surface* pTarget = pMarker->Create(nWidth, nHeight, true, true);
    if (!pTarget)
        return nullptr;
    const plat::PixelFormat format = pTarget->format();
    const uint16_t wRed = plat::colorToPixel(kTintColour, pSource->format());
    const uint16_t wTint =
        plat::colorToPixel(plat::RGB((dwRGB >> 16) & 0xFF, (dwRGB >> 8) & 0xFF, dwRGB & 0xFF), format);
    const uint16_t wKey = pTarget->colorKey();
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x) {
            uint16_t wPixel = wKey;
            if (x < pSource->width() && y < pSource->height()) {
                const uint16_t wSource = pSource->pixel(x, y);
                if (wSource == wRed)
                    wPixel = wTint;
                else
                    wPixel = plat::colorToPixel(plat::pixelToColor(wSource, pSource->format()), format);
                // A tint that happens to fall on the key would vanish: one
                // step off it keeps the pixel.
                if (wSource == wRed && wPixel == wKey)
                    wPixel ^= 1;
            }
            pTarget->setPixel(x, y, wPixel);
        }
    if (pMaskSurface)
        pTarget->bltFast(0, 0, *pMaskSurface, nullptr, plat::BLTFAST_SRCCOLORKEY | plat::BLTFAST_WAIT);
    return pMarker;
}

void CMatchEngine::MakeMarkerBitmaps()
{
    FreeMarkerBitmaps();
    const std::unique_ptr<CXSurface> pPlayer = LoadPicture("MVPCntr.bmp"), pPlayerMask = LoadPicture("MVPCntrM.bmp");
    const std::unique_ptr<CXSurface> pOfficial = LoadPicture("MVRCntr.bmp"),
                                     pOfficialMask = LoadPicture("MVRCntrM.bmp");
    const CMatchClub* pHome = m_pHomeClub.get();
    const CMatchClub* pAway = m_pAwayClub.get();
    if (pPlayer) {
        const uint32_t adwColours[4] = {PlayerColour(pHome), KeeperColour(pHome), PlayerColour(pAway),
                                        KeeperColour(pAway)};
        for (int i = 0; i < 4; ++i)
            m_apRadarMarkers[RADARMARK_HOME + i] = MakeTintedMarker(*pPlayer, pPlayerMask.get(), adwColours[i]);
    }
    if (pOfficial) {
        m_apRadarMarkers[RADARMARK_REFEREE] =
            MakeTintedMarker(*pOfficial, pOfficialMask.get(), m_pReferee ? m_pReferee->GetColour() : 0);
        m_apRadarMarkers[RADARMARK_PHYSIO] =
            MakeTintedMarker(*pOfficial, pOfficialMask.get(), m_pPhysio ? m_pPhysio->GetColour() : 0);
    }
    if (const std::unique_ptr<CXSurface> pBall = LoadPicture("MVBall.bmp"))
        m_apRadarMarkers[RADARMARK_BALL] = MakeTintedMarker(*pBall, nullptr, kBallColour);
    // The tackle marks in each side's colour: won, lost, won in his own area.
    static const char* const kTackleNames[3] = {"MVTC.bmp", "MVTM.bmp", "MVTK.bmp"};
    for (int k = 0; k < 3; ++k)
        if (const std::unique_ptr<CXSurface> pMark = LoadPicture(kTackleNames[k])) {
            m_apPlanMarkers[PLANMARK_HOME_TACKLE + k] = MakeTintedMarker(*pMark, nullptr, PlayerColour(pHome));
            m_apPlanMarkers[PLANMARK_AWAY_TACKLE + k] = MakeTintedMarker(*pMark, nullptr, PlayerColour(pAway));
        }
    if (const std::unique_ptr<CXSurface> pRing = LoadPicture("MVTU.bmp"))
        m_apPlanMarkers[PLANMARK_SELECTION] = MakeTintedMarker(*pRing, nullptr, kSelectionColour);
    m_pReplayMark = LoadPicture("aReplay.bmp");
}

void CMatchEngine::FreeMarkerBitmaps()
{
    for (auto& p : m_apRadarMarkers)
        p.reset();
    for (auto& p : m_apPlanMarkers)
        p.reset();
    m_pReplayMark.reset();
}

CXSurface* CMatchEngine::GetRadarMarker(int n) const
{
    return n >= 0 && n < RADARMARK_COUNT ? m_apRadarMarkers[n].get() : nullptr;
}

CXSurface* CMatchEngine::GetPlanMarker(int n) const
{
    return n >= 0 && n < PLANMARK_COUNT ? m_apPlanMarkers[n].get() : nullptr;
}

CXSurface* CMatchEngine::GetPersonMarker(const CMatchPerson& person) const
{
    if (person.GetPersonType() != PERSONTYPE_FOOTBALLER)
        return GetRadarMarker(&person == m_pPhysio ? RADARMARK_PHYSIO : RADARMARK_REFEREE);
    const auto& player = static_cast<const CMatchPlayer&>(person);
    const bool bHome = player.GetClub() == m_pHomeClub.get();
    const bool bKeeper = player.GetClub() && player.GetClub()->GetSlot(0) == &player;
    return GetRadarMarker((bHome ? RADARMARK_HOME : RADARMARK_AWAY) + (bKeeper ? 1 : 0));
}

void CMatchEngine::SetAlertOptions(bool bFitness, bool bAnger, bool bMorale)
{
    m_abAlertOptions[ALERT_FITNESS] = bFitness;
    m_abAlertOptions[ALERT_ANGER] = bAnger;
    m_abAlertOptions[ALERT_MORALE] = bMorale;
}

void CMatchEngine::ReadAlertOptions()
{
    const CGame* pGame = dynamic_cast<const CGame*>(g_pGame);
    if (!pGame)
        return;
    // The match display options: names, numbers, line-ups, then fitness,
    // anger and morale.
    const uint8_t* pFlags = pGame->GetOptions().m_MatchDisplayFlags;
    SetAlertOptions(pFlags[3] != 0, pFlags[4] != 0, pFlags[5] != 0);
}

uint16_t CMatchEngine::GetAlertTexture(int nAlert) const
{
    return nAlert >= 0 && nAlert < ALERT_KINDS ? m_ausAlertTextures[nAlert] : uint16_t(65000);
}
