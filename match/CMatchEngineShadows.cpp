// Shadows under the ball and every person, who is hidden beyond the near
// touch line, and the debug view's markers (offside lines, where each
// footballer is going, the ball's course).
#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchPhysio.h"
#include "match/actors/CMatchPlayer.h"
#include "match/actors/CMatchReferee.h"
#include "render3d/C3DEngine.h"
#include "render3d/CMeshBuilder.h"
#include "render3d/CMeshManager.h"
#include "render3d/CModel.h"

namespace {

constexpr uint8_t kSceneLayer = 0;
// Shadows and markers multiply the grass beneath them (the renderer's blend 2).
constexpr uint8_t kShadowShade = 2;
constexpr uint8_t kMarkerShade = 3;
constexpr uint16_t kShadowDrawOrder = 4;
constexpr uint16_t kMarkerDrawOrder = 5;
constexpr uint32_t kShadowDrawFlags = 16;
// A person this far beyond the near touch line (the physio waiting at -1500)
// stands where the stand hides him.
constexpr int32_t kHiddenBeyondY = -1450;

void Translate(ITEMMESHINFORMATION& mesh, float x, float y, float z)
{
    if (!mesh.pMatrix)
        return;
    mesh.pMatrix->m[3][0] = x;
    mesh.pMatrix->m[3][1] = y;
    mesh.pMatrix->m[3][2] = z;
}

void Show(ITEMMESHINFORMATION& mesh, bool bShown)
{
    mesh.flags = uint8_t(bShown ? (mesh.flags | MESH_VISIBLE) : (mesh.flags & ~MESH_VISIBLE));
}

}  // namespace

float CMatchEngine::GetShadowTilt() const
{
    return (float(m_byRandomTenth) - 3.0f) * 0.1f;
}

std::vector<CMatchPerson*> CMatchEngine::ShadowedPersons() const
{
    std::vector<CMatchPerson*> persons;
    if (m_pMatchReferee) {
        persons.push_back(m_pMatchReferee.get());
        persons.push_back(&m_pMatchReferee->GetAssistant(0));
        persons.push_back(&m_pMatchReferee->GetAssistant(1));
    }
    if (m_pMatchPhysio)
        persons.push_back(m_pMatchPhysio.get());
    for (const CMatchClub* pClub : {m_pHomeClub.get(), m_pAwayClub.get()})
        for (int i = 0; pClub && i < pClub->GetSquadCount(); ++i)
            if (CMatchPlayer* p = pClub->GetSlot(i))
                persons.push_back(p);
    return persons;
}

void CMatchEngine::BuildShadowMeshes()
{
    m_PersonShadows.clear();
    if (!m_p3DEngine || !C3DEngine::Is3DAvailable())
        return;
    CMeshBuilder* b = m_p3DEngine->GetMeshBuilder();
    CMeshManager* pLayer = m_p3DEngine->GetMeshManager(kSceneLayer);
    if (!b || !pLayer)
        return;
    const uint16_t wFirst = b->GetMeshCount();
    const float f = GetShadowTilt();
    const bool bEvening = m_Weather.bEvening;
    auto start = [&](uint16_t wTexture, uint8_t byShade, uint16_t wDrawOrder, uint16_t wMaterial) {
        b->AddMesh();
        b->SetTexture(wTexture);
        b->SetMaterial(wMaterial);
        b->SetShadeByte(byShade);
        b->SetDrawFlags(kShadowDrawFlags);
        auto* pMesh = const_cast<ITEMMESHINFORMATION*>(b->GetMesh(b->GetCurrentMeshNumber()));
        pMesh->flags |= MESH_NO_ZENABLE | MESH_NO_FOG;
        pMesh->drawOrderKey = wDrawOrder;
        return b->GetCurrentMeshNumber();
    };
    // The ball's: round at night under the lights, drawn out along the sun by day.
    m_wBallShadowMesh = start(m_usBallShadowTexture, kShadowShade, kShadowDrawOrder, m_usMaterials[1]);
    const float w = bEvening ? 13.0f : 13.0f + 13.0f * f;
    b->AddTexturedRectangle(-13, -w, 0, 13, w, 0, 1, 1, 0);
    // Every person's: square and centred at night, cast to one side by day.
    for (CMatchPerson* p : ShadowedPersons()) {
        const uint16_t wMesh = start(m_usPersonShadowTexture, kShadowShade, kShadowDrawOrder, m_usMaterials[1]);
        if (bEvening)
            b->AddTexturedRectangle(-170, -170, 2, 170, 170, 2, 1, 1, 0);
        else
            b->AddTexturedRectangle(-205, -195, 2, 35, 45, 2, 1, 1, 0);
        m_PersonShadows.push_back({p, wMesh});
    }
    // The debug view's markers, hidden until it is on: home, away, ball.
    for (int i = 0; i < 3; ++i) {
        m_awMarkerMeshes[i] = start(NO_TEXTURE, kMarkerShade, kMarkerDrawOrder, m_usMaterials[2 + i]);
        Show(*const_cast<ITEMMESHINFORMATION*>(b->GetMesh(m_awMarkerMeshes[i])), false);
    }
    // Only the meshes made here join the draw list: the pitch's are in it already.
    for (uint16_t w = wFirst; w < b->GetMeshCount(); ++w)
        pLayer->Add(const_cast<ITEMMESHINFORMATION*>(b->GetMesh(w)), MESH_ENTRY_RECORD);
    m_bShadowsBuilt = true;
    UpdateShadowsAndMarkers();
}

void CMatchEngine::UpdateSceneVisibility()
{
    for (CMatchPerson* p : ShadowedPersons())
        if (CModel* pModel = p->GetModel())
            pModel->SetVisible(p->GetPosition().y > kHiddenBeyondY);
    UpdateSky();
}

const ITEMMESHINFORMATION* CMatchEngine::GetShadowMesh(const CMatchPerson* pPerson) const
{
    if (!m_p3DEngine)
        return nullptr;
    for (const PERSONSHADOW& shadow : m_PersonShadows)
        if (shadow.pPerson == pPerson)
            return m_p3DEngine->GetMeshBuilder()->GetMesh(shadow.wMesh);
    return nullptr;
}

void CMatchEngine::PrepareScene()
{
    UpdateSceneVisibility();
    UpdateShadowsAndMarkers();
}

void CMatchEngine::UpdateShadowsAndMarkers()
{
    if (!m_bShadowsBuilt || !m_p3DEngine)
        return;
    CMeshBuilder* b = m_p3DEngine->GetMeshBuilder();
    auto mesh = [&](uint16_t w) -> ITEMMESHINFORMATION* {
        return const_cast<ITEMMESHINFORMATION*>(b->GetMesh(w));
    };
    if (ITEMMESHINFORMATION* pBall = mesh(m_wBallShadowMesh); pBall && m_pBall) {
        const CVector& ball = m_pBall->GetPosition();
        const float fShift = m_Weather.bEvening ? 0.0f : float(ball.z) * GetShadowTilt();
        Translate(*pBall, float(ball.x), float(ball.y) + fShift, 2);
    }
    for (const auto& [pPerson, wMesh] : m_PersonShadows)
        if (ITEMMESHINFORMATION* pShadow = mesh(wMesh)) {
            const CVector& at = pPerson->GetPosition();
            Translate(*pShadow, float(at.x), float(at.y), 0);
            const CModel* pModel = pPerson->GetModel();
            Show(*pShadow, pModel && pModel->IsVisible());
        }
    for (uint16_t w : m_awMarkerMeshes) {
        b->SelectMesh(w);
        b->ClearCurrentMesh();
        if (ITEMMESHINFORMATION* pMarker = mesh(w))
            Show(*pMarker, m_bDebugMode);
    }
    if (!m_bDebugMode)
        return;
    const CMatchPerson* pSelected = m_bDebugSelection ? GetSelectedPerson() : nullptr;
    const CMatchClub* apClubs[2] = {m_pHomeClub.get(), m_pAwayClub.get()};
    for (int side = 0; side < 2; ++side) {
        const CMatchClub* pClub = apClubs[side];
        if (!pClub)
            continue;
        b->SelectMesh(m_awMarkerMeshes[side]);
        const float fLine = float(pClub->GetOffsideLine());
        b->AddStrip(fLine, 0, 3, fLine, 7500, 3, 30, 10);
        bool bSelectedHere = !pSelected;
        for (int i = 0; !bSelectedHere && i < pClub->GetSquadCount(); ++i)
            bSelectedHere = pClub->GetSlot(i) == pSelected;
        if (!bSelectedHere)
            continue;
        // Where each footballer on the pitch is going.
        for (int i = 0; i < pClub->GetOnPitchCount(); ++i)
            if (const CMatchPlayer* p = pClub->GetSlot(i)) {
                const CVector& at = p->GetPosition();
                const CVector& to = p->GetTarget();
                if (at.x != to.x || at.y != to.y)
                    b->AddStrip(float(at.x), float(at.y), 3, float(to.x), float(to.y), 3, 12, 10);
                b->AddDisc(float(to.x), float(to.y), 3, 25);
            }
    }
    if (!m_pBall)
        return;
    b->SelectMesh(m_awMarkerMeshes[2]);
    const CVector& ball = m_pBall->GetPosition();
    b->AddDisc(float(ball.x), float(ball.y), 3, 50);
    const CVector& landing = m_pBall->GetLandingPoint();
    b->AddDisc(float(landing.x), float(landing.y), 3, 50);
    const CVector& target = m_pBall->GetTarget();
    if (target.x != ball.x || target.y != ball.y)
        b->AddStrip(float(ball.x), float(ball.y), 3, float(target.x), float(target.y), 3, 20, 10);
}
