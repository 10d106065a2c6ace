// The fixed 3-D scene of a match: textures, materials, lights, cameras, the
// pitch with its markings, the ring of eight stands and walls chosen from the
// venue's stands and their building work, the board rows round the pitch
// with their adverts, the nets, flags, dugouts, sky and skyline.
#include "match/CMatchEngine.h"

#include "common/DebugLog.h"
#include "match/CGroundStadium.h"
#include "match/CMatchBall.h"
#include "platform/Random.h"
#include "render3d/C3DEngine.h"
#include "render3d/CCamera.h"
#include "render3d/CMeshManager.h"
#include "render3d/CMeshBuilder.h"
#include "render3d/CModel.h"
#include "render3d/CObjectData.h"
#include "render3d/CTextureManager.h"
#include "render3d/VertexTransform.h"
#include "season/CComponentDatabase.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CHoardingsManager.h"
#include "shell/CFileManager.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr float kPi = 3.14159265f;
constexpr uint8_t kSceneLayer = 0;
constexpr uint8_t kModelFlagShared = 0x20;
constexpr uint8_t kMeshFlagsSky = 0x50;

D3DMATRIX SceneMatrix(float fScale, float fTurnX, float fTurnZ, float x, float y, float z)
{
    D3DMATRIX scale, turnX = IdentityMatrix(), turnZ, place, m;
    MatrixScaling(&scale, fScale);
    // Rx: the files are modelled with y up.
    const float c = std::cos(fTurnX), s = std::sin(fTurnX);
    turnX.m[1][1] = c, turnX.m[1][2] = -s, turnX.m[2][1] = s, turnX.m[2][2] = c;
    MatrixRotationZ(&turnZ, fTurnZ);
    MatrixTranslation(&place, {x, y, z});
    MatrixMultiply(&m, &scale, &turnX);
    MatrixMultiply(&m, &m, &turnZ);
    MatrixMultiply(&m, &m, &place);
    return m;
}

}  // namespace

uint8_t CMatchEngine::GetCrowdDensityCode(uint16_t wSeats, uint16_t wSpectators)
{
    if (wSeats == 0)
        return 1;  // a stand without seats holds no crowd to speak of
    const auto byPercent = uint8_t(TruncateToInt(100.0 / wSeats * wSpectators));
    const int nCode = byPercent / 34 + 1;
    return uint8_t(nCode >= 4 ? 3 : nCode);
}

int CMatchEngine::GetStandCompletion(const CGroundDatabase& ground, const CComponentDatabase& stand,
                                     const CDate& today)
{
    for (const CComponentScheduleDatabase* p : ground.GetSchedules().Items<CComponentScheduleDatabase>()) {
        if (p->GetComponent() != &stand || p->HasDurationElapsed(today))
            continue;
        if (!(p->GetStartDate() < today))
            return p->GetKind() == SCHEDULE_BUILD ? -1 : 100;
        int nComplete = p->GetPercentComplete(today);
        if (p->GetKind() == SCHEDULE_DEMOLISH) {
            nComplete = 100 - nComplete;
        } else if (p->GetKind() == SCHEDULE_IMPROVE) {
            const bool bSameKind = stand.GetSubType() == p->GetScheduleData()[SCHEDULE_DATA_MAIN_TYPE];
            nComplete = bSameKind && stand.GetStandSize() == p->GetComponentData()[STAND_SIZE] ? 100 : 51;
        }
        return nComplete;
    }
    return 100;
}

void CMatchEngine::LoadTextures()
{
    CTextureManager* pTextures = m_p3DEngine ? m_p3DEngine->GetTextureManager() : nullptr;
    if (!pTextures)
        return;
    m_pMatchTextures = std::make_unique<CFileManager>();
    if (m_pMatchTextures->Open("MatchMeshes\\Textures.BFS"))
        pTextures->SetArchive(m_pMatchTextures.get());
    else
        DebugLog(6, "[CMatchEngine::LoadTextures] MatchMeshes\\Textures.BFS cannot be read");
    m_usBallShadowTexture = pTextures->LoadTexture("shadow.bmp", 0, nullptr);
    m_usPersonShadowTexture =
        pTextures->LoadTexture(m_Weather.bEvening ? "Player_Shadow.bmp" : "Player_Shadow_Day.bmp", 0, nullptr);
    static const char* const kGrass[4] = {"NewGrass.bmp", "GrassSnowLight.bmp", "GrassSnowMedium.bmp",
                                          "GrassSnowHeavy.bmp"};
    const int nSnow = m_Weather.bySnowLevel < 4 ? m_Weather.bySnowLevel : 0;
    m_usGrassTexture = pTextures->LoadTexture(kGrass[nSnow], 0, nullptr);
    m_usMarkingsTexture = pTextures->LoadTexture(nSnow ? "MarkingsSnow.bmp" : "MarkingsNormal.bmp", 0, nullptr);
    m_usBoardTexture = pTextures->AddBlankTexture();
    // The alert icons over the players' heads, each on its own colour key.
    m_ausAlertTextures[ALERT_MORALE] = pTextures->LoadTexture("Icon_Low_Morale%K049,156,214.x", 0, nullptr);
    m_ausAlertTextures[ALERT_FITNESS] = pTextures->LoadTexture("Icon_Low_Fitness%K140,189,074.x", 0, nullptr);
    m_ausAlertTextures[ALERT_ANGER] = pTextures->LoadTexture("Icon_High_Anger%K206,000,000.x", 0, nullptr);
}

void CMatchEngine::SetupMaterials()
{
    static const D3DCOLORVALUE kDiffuse[10] = {{1, 1, 1, 1},       {0.3f, 0.3f, 0.8f, 1}, {0.8f, 0.3f, 0.3f, 1},
                                               {0.8f, 0.2f, 0.8f, 1}, {1, 1, 1, 0.5f},    {0, 0.5f, 0, 1},
                                               {1, 0.5f, 0.5f, 1},  {0.7f, 0.7f, 0.7f, 1}, {1, 0, 0, 1},
                                               {1, 1, 0, 1}};
    for (int i = 0; i < 10; ++i) {
        D3DMATERIAL material{};
        material.dwSize = sizeof material;
        material.diffuse = kDiffuse[i];
        material.ambient = i == 4 ? D3DCOLORVALUE{1, 1, 1, 0} : kDiffuse[i];
        material.specular = {1, 1, 1, 1};
        m_usMaterials[i] = m_p3DEngine->AddMaterial(&material);
    }
}

void CMatchEngine::SetupLights()
{
    // By weather category, by day and in the evening. The categories beyond
    // the table (6 and 7) light as an overcast day.
    static const float kColours[2][6][3] = {
        {{0.8f, 0.8f, 0.7f}, {0.7f, 0.7f, 0.7f}, {0.7f, 0.7f, 0.7f}, {0.7f, 0.7f, 0.7f}, {0.7f, 0.7f, 0.7f},
         {0.7f, 0.7f, 0.7f}},
        {{0.5f, 0.4f, 0.5f}, {0.4f, 0.4f, 0.4f}, {0.4f, 0.4f, 0.4f}, {0.5f, 0.5f, 0.5f}, {0.4f, 0.4f, 0.4f},
         {0.4f, 0.4f, 0.4f}}};
    const int nCategory = m_Weather.byCategory < 6 ? m_Weather.byCategory : 1;
    const float* pColour = kColours[m_Weather.bEvening ? 1 : 0][nCategory];
    const D3DVECTOR directions[2] = {{1, 1, -1}, {-1, -1, -1}};
    for (const D3DVECTOR& direction : directions) {
        D3DLIGHT2 light{};
        light.dwSize = sizeof light;
        light.dltType = D3DLIGHT_DIRECTIONAL;
        light.dcvColor = {pColour[0], pColour[1], pColour[2], 0};
        light.dvDirection = direction;
        light.dwFlags = 3;  // active, without specular
        m_p3DEngine->AddLight(&light);
    }
    m_p3DEngine->SetAmbientLight(0xFF666666);
}

void CMatchEngine::BuildPitchMesh()
{
    m_p3DEngine->AddMeshManager();
    CGroundStadium::BuildPitch(*m_p3DEngine, m_usGrassTexture, m_usMarkingsTexture, m_usMaterials[0], 0, 0,
                               kSceneLayer);
}

void CMatchEngine::LoadStadiumSegment()
{
    m_ucNumStadiumModels = 0;
    m_bLowStands = false;
    const bool b3D = C3DEngine::Is3DAvailable() && m_p3DEngine && m_p3DEngine->GetObjectData();
    if (b3D)
        m_p3DEngine->GetTextureManager()->SetNameCode('D', m_Weather.bEvening ? '1' : '0');
    const CDate today(m_dwMatchDate);
    for (int s = 0; s < kStadiumSegments; ++s) {
        STADIUMSEGMENT& segment = m_aSegments[s];
        if (CGroundStadium::ChooseSegment(m_pGround, s, today, segment))
            m_bLowStands = true;
        if (!b3D) {
            ++m_ucNumStadiumModels;
            continue;
        }
        std::unique_ptr<CModel> pModel = CGroundStadium::LoadSegmentModel(
            *m_p3DEngine, "MatchMeshes\\", s, segment, 0, 0, "CMatchEngine::LoadStadiumSegment: Couldn't load %s");
        if (!pModel)
            continue;
        segment.pModel = pModel.get();
        m_pStadiumModels[m_ucNumStadiumModels++] = std::move(pModel);
    }
}

uint16_t CMatchEngine::LoadSceneObject(const char* pszFile, const char* pszFailure)
{
    const uint16_t wObject = m_p3DEngine->GetObjectData()->Load(pszFile, 1);
    if (wObject == OBJECT_NOT_FOUND)
        DebugLog(6, "%s", pszFailure);
    return wObject;
}

std::unique_ptr<CModel> CMatchEngine::MakeSceneModel(uint16_t wObject, const D3DMATRIX& world)
{
    if (wObject == OBJECT_NOT_FOUND)
        return nullptr;
    auto pModel = std::make_unique<CModel>(*m_p3DEngine->GetObjectData(), wObject, 0);
    pModel->SetWorldMatrix(world);
    return pModel;
}

void CMatchEngine::SetupObjects()
{
    const bool b3D = C3DEngine::Is3DAvailable() && m_p3DEngine && m_p3DEngine->GetObjectData();
    // Without 3-D only the segment flags come of it, which the board rows need.
    LoadStadiumSegment();
    SetupZones();
    for (int r = 0; r < kBoardRows; ++r) {
        m_pBoardRows[r] = CGroundStadium::MakeBoardRow(r, m_usBoardTexture, b3D, 0, 0);
        m_pBoardRows[r]->SetFullHeight(IsSideOpen(CGroundStadium::GetBoardRowSegment(r)));
    }
    if (!b3D)
        return;
    const uint16_t wNet = LoadSceneObject("MatchMeshes\\Net.x", "CMatchEngine::SetupObjects: Couldn't load Net.x");
    m_pNetModels[0] = MakeSceneModel(wNet, SceneMatrix(100, -kPi / 2, kPi / 2, 0, 3750, 0));
    m_pNetModels[1] = MakeSceneModel(wNet, SceneMatrix(100, -kPi / 2, -kPi / 2, 10000, 3750, 0));
    const uint16_t wFlag = LoadSceneObject("MatchMeshes\\Flag.x", "CMatchEngine::SetupObjects: Couldn't load Flag.x");
    static const float kCorners[4][2] = {{0, 0}, {0, 7500}, {10000, 7500}, {10000, 0}};
    for (int i = 0; i < 4; ++i)
        m_pFlagModels[i] = MakeSceneModel(wFlag, SceneMatrix(40, -kPi / 2, 0, kCorners[i][0], kCorners[i][1], 0));
    CTextureManager* pTextures = m_p3DEngine->GetTextureManager();
    pTextures->SetNameCode('D', char('0' + (m_Weather.bySkySetting % 10)));
    m_pDomeModel = MakeSceneModel(
        LoadSceneObject("MatchMeshes\\Dome.x", "CMatchEngine::SetupObjects: Couldn't load skydome"),
        SceneMatrix(60, -kPi / 2, 0, 5000, 3750, -1000));
    if (m_pDomeModel) {
        ITEMMESHINFORMATION* pMesh = nullptr;
        if (m_pDomeModel->GetMesh(0, &pMesh)) {
            pMesh->drawFlags = D3DDP_DONOTLIGHT;
            pMesh->flags |= kMeshFlagsSky;
            pMesh->drawOrderKey = 0;
        }
    }
    if (m_bLowStands) {
        m_pSkylineModel = MakeSceneModel(
            LoadSceneObject(m_Weather.bEvening ? "MatchMeshes\\Cityscape_Night.x" : "MatchMeshes\\Cityscape_Day.x",
                            "CMatchEngine::SetupObjects: Couldn't load cityscape"),
            SceneMatrix(80, -kPi / 2, 0, 5000, 3750, 0));
        if (m_pSkylineModel) {
            m_pSkylineModel->ClearFlags(kModelFlagShared);
            for (uint8_t m = 0; m < m_pSkylineModel->GetMeshCount(); ++m) {
                ITEMMESHINFORMATION* pMesh = nullptr;
                if (!m_pSkylineModel->GetMesh(m, &pMesh))
                    continue;
                pMesh->drawFlags = D3DDP_DONOTLIGHT;
                pMesh->flags |= m_Weather.bFog ? MESH_NO_ZENABLE : kMeshFlagsSky;
                pMesh->drawOrderKey = 1;
            }
        }
    }
    const uint16_t wDugout =
        LoadSceneObject("MatchMeshes\\DUGOUT.x", "CMatchEngine::SetupObjects: Couldn't load dugout");
    m_pDugoutModels[0] = MakeSceneModel(wDugout, SceneMatrix(100, -kPi / 2, 0, 3500, -280, 2));
    m_pDugoutModels[1] = MakeSceneModel(wDugout, SceneMatrix(100, -kPi / 2, 0, 7200, -280, 2));
    AddSceneToMeshManager();
}

void CMatchEngine::AddSceneToMeshManager()
{
    for (std::unique_ptr<CModel>* pp : {&m_pDomeModel, &m_pSkylineModel})
        if (*pp)
            (*pp)->AddToMeshManager(kSceneLayer);
    for (auto& p : m_pNetModels)
        if (p)
            p->AddToMeshManager(kSceneLayer);
    for (auto& p : m_pFlagModels)
        if (p)
            p->AddToMeshManager(kSceneLayer);
    for (auto& p : m_pDugoutModels)
        if (p)
            p->AddToMeshManager(kSceneLayer);
    for (uint8_t i = 0; i < m_ucNumStadiumModels; ++i)
        if (m_pStadiumModels[i])
            m_pStadiumModels[i]->AddToMeshManager(kSceneLayer);
    for (auto& pRow : m_pBoardRows)
        if (pRow)
            pRow->AddToFrame(m_p3DEngine->GetMeshManager(kSceneLayer));
}

void CMatchEngine::ApplyHoardingTextures()
{
    CGroundStadium::MakeAdvertRects(m_afAdvertRects);
    if (m_p3DEngine && m_p3DEngine->GetTextureManager() && m_usBoardTexture != NO_TEXTURE)
        m_p3DEngine->GetTextureManager()->ReplaceTexture(m_usBoardTexture, "Adverts.bmp", nullptr);
    CGroundStadium::FillBoardRows(m_pBoardRows, m_pHomeHoardings, m_afAdvertRects);
}

void CMatchEngine::UpdateSky()
{
    // One radian of turn every divisor's milliseconds of match time.
    if (!m_pDomeModel || m_Weather.fSkyTurnDivisor == 0.0f)
        return;
    m_pDomeModel->SetWorldMatrix(
        SceneMatrix(60, -kPi / 2, float(m_dwMatchTime) / m_Weather.fSkyTurnDivisor, 5000, 3750, 0));
}

void CMatchEngine::DestroyObjects()
{
    for (auto& pRow : m_pBoardRows) {
        if (pRow && m_p3DEngine && m_p3DEngine->GetMeshManager(kSceneLayer))
            for (uint32_t i = 0; i < pRow->GetQuadCount(); ++i)
                if (const ITEMMESHINFORMATION* pQuad = pRow->GetQuad(i))
                    m_p3DEngine->GetMeshManager(kSceneLayer)->Remove(const_cast<ITEMMESHINFORMATION*>(pQuad));
        pRow.reset();
    }
    m_pSkylineModel.reset();
    m_pDomeModel.reset();
    for (auto& p : m_pDugoutModels)
        p.reset();
    for (auto& p : m_pNetModels)
        p.reset();
    for (auto& p : m_pFlagModels)
        p.reset();
    for (auto& p : m_pStadiumModels)
        p.reset();
    for (STADIUMSEGMENT& segment : m_aSegments)
        segment.pModel = nullptr;
    m_ucNumStadiumModels = 0;
    m_pMatchTextures.reset();
}
