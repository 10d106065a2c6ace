// The footballer's alert icons (low morale, low fitness, high anger) on the
// marker over his head, and the drawing of his passes, shots and tackles on
// the radar or the plan.
#include "common/DebugLog.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchPlayer.h"
#include "render3d/C3DEngine.h"
#include "render3d/CMeshManager.h"

#include <iterator>

namespace {

// The layer of the scene the markers are drawn with.
constexpr int kMarkerLayer = 0;

template <typename T> const T* NthRecord(const std::list<T>& list, uint16_t n)
{
    if (n == 0 || n > list.size())
        return nullptr;
    return &*std::next(list.begin(), n - 1);
}

// A pass or a shot as a line from where it began to where it ended.
void DrawTouch(const CMatchEngine& engine, plat::Surface* pSurface, const PLAYERTOUCH& touch, uint32_t dwColour)
{
    if (engine.IsPlanView())
        engine.DrawPitchLine(pSurface, touch.vStart, touch.vEnd, dwColour);
    else
        engine.DrawRadarLine(pSurface, touch.vStart, touch.vEnd, dwColour, 0);
}

}  // namespace

CMatchPlayer::~CMatchPlayer()
{
    DestroyMarker();
}

uint8_t CMatchPlayer::UpdateAlertIcons()
{
    uint8_t byBits = 0;
    int nIcon = -1;
    if (m_Engine.IsAlertOptionOn(CMatchEngine::ALERT_MORALE) && m_nMorale / 10 < 30)
        byBits |= ALERTBIT_MORALE, nIcon = CMatchEngine::ALERT_MORALE;
    if (m_Engine.IsAlertOptionOn(CMatchEngine::ALERT_FITNESS) && m_nFitness / 100 < 50)
        byBits |= ALERTBIT_FITNESS, nIcon = CMatchEngine::ALERT_FITNESS;
    if (m_Engine.IsAlertOptionOn(CMatchEngine::ALERT_ANGER) && m_nAnger / 10 > 40)
        byBits |= ALERTBIT_ANGER, nIcon = CMatchEngine::ALERT_ANGER;
    m_byAlertBits = byBits;
    if (m_pMarker) {
        if (nIcon >= 0)
            m_pMarker->SetTextureIndex(m_Engine.GetAlertTexture(nIcon));
        m_pMarker->m_bEnabled = byBits != 0;
    }
    return byBits;
}

void CMatchPlayer::ClearAlertIcons()
{
    m_byAlertBits = 0;
    if (m_pMarker)
        m_pMarker->m_bEnabled = false;
}

void CMatchPlayer::CreateMarker()
{
    C3DEngine* p3D = m_Engine.Get3DEngine();
    CMeshManager* pLayer = p3D && C3DEngine::Is3DAvailable() ? p3D->GetMeshManager(kMarkerLayer) : nullptr;
    if (!pLayer || m_pMarker)
        return;
    m_pMarker = std::make_unique<CBillboard>();
    m_pMarker->SetHalfSize(kMarkerHalfSize, kMarkerHalfSize);
    // Hidden until an alert shows; the fitness icon until then.
    m_pMarker->SetTextureIndex(m_Engine.GetAlertTexture(CMatchEngine::ALERT_FITNESS));
    m_pMarker->m_bEnabled = false;
    MoveMarker(GetPosition());
    m_bMarkerInScene = pLayer->Add(m_pMarker.get(), MESH_ENTRY_BILLBOARD) != MESH_ADD_REFUSED;
}

void CMatchPlayer::MoveMarker(const CVector& point)
{
    if (m_pMarker)
        m_pMarker->m_WorldPosition = D3DVECTOR{float(point.x), float(point.y), kMarkerHeight};
}

void CMatchPlayer::DestroyMarker()
{
    if (!m_pMarker)
        return;
    C3DEngine* p3D = m_Engine.Get3DEngine();
    if (m_bMarkerInScene && p3D)
        if (CMeshManager* pLayer = p3D->GetMeshManager(kMarkerLayer))
            pLayer->Remove(m_pMarker.get());
    m_bMarkerInScene = false;
    m_pMarker.reset();
}

void CMatchPlayer::OnMoved()
{
    MoveMarker(GetPosition());
}

void CMatchPlayer::DrawPass(plat::Surface* pSurface, uint16_t n) const
{
    const PLAYERTOUCH* pPass = NthRecord(m_Passes, n);
    if (!pPass) {
        DebugLog(6, "CMatchPlayer::DrawPass - Error nPass greater than in link list");
        return;
    }
    DrawTouch(m_Engine, pSurface, *pPass, GetColour());
}

void CMatchPlayer::DrawShot(plat::Surface* pSurface, uint16_t n) const
{
    const PLAYERTOUCH* pShot = NthRecord(m_Shots, n);
    if (!pShot) {
        DebugLog(6, "CMatchPlayer::DrawShot - Error nShot greater than in link list");
        return;
    }
    DrawTouch(m_Engine, pSurface, *pShot, GetColour());
}

void CMatchPlayer::DrawLongPass(plat::Surface* pSurface, uint16_t n) const
{
    const TACKLERECORD* pTackle = NthRecord(m_Tackles, n);
    if (!pTackle) {
        DebugLog(6, "CMatchPlayer::DrawLongPass - Error nTackle greater than in link list");
        return;
    }
    m_Engine.DrawLongPassMarker(pSurface, m_pClub && m_pClub->IsHome(), *pTackle);
}
