// The ground development popup's preview: the stand, facility or feature
// chosen, as a turning 3-D model in the club's colours when the game runs
// with 3-D, else as a picture, in the panel at the top right of the page.
#include "popups/CPopupGroundDevelopment.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/StadiumTables.h"
#include "render3d/C3DEngine.h"
#include "render3d/CCamera.h"
#include "render3d/CModel.h"
#include "render3d/CObjectData.h"
#include "render3d/CTextureManager.h"
#include "render3d/VertexTransform.h"
#include "shell/CFileManager.h"
#include "shell/CGame.h"
#include "shell/CGameTitlebar.h"
#include "xframework/CXEdit.h"
#include "xframework/CXSurface.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr float kPi = 3.14159265f;
constexpr const char* k3DArchive = "GFX\\3DGroundPopup.BFS";
constexpr const char* k2DArchive = "GFX\\2DGroundPopup.BFS";
// The stands of the preview are the match's own stand meshes and textures.
constexpr const char* kMeshFolder = "MatchMeshes\\";
constexpr const char* kTextureArchive = "MatchMeshes\\Textures.BFS";
constexpr uint8_t kPreviewLayer = 0;
constexpr uint32_t kPanelColour = 0xFF0C1D30;
// The panel is wider than high: a little more room keeps the whole part in view as it turns.
constexpr float kFrameMargin = 1.3f;
constexpr int kNo3DSetting = 2;
constexpr const char* kStandKindCodes[4] = {"ST", "ST", "DT", "TT"};
constexpr const char* kPositionCodes[3] = {"NN", "EE", "NE"};
constexpr const char* kFacilityCodes[8] = {"FA", "SP", "TO", "RT", "CP", "FF", "TG", "GM"};
// The reference colour the stand textures are painted in (hue, saturation,
// lightness in 1/255), and the palette ranges that take the club's colour.
constexpr int kReferenceHSL[3] = {76, 165, 85};
constexpr uint16_t kColourRanges[7][2] = {{105, 5}, {113, 69}, {184, 0}, {191, 0}, {195, 0}, {197, 0}, {202, 0}};

void FeatureNames(int nKind, int nOption, const char*& psz2D, const char*& psz3D)
{
    switch (nKind) {
    case 12: psz2D = "USoilH.bmp", psz3D = "UndersoilHeating"; break;
    case 13:
        psz2D = nOption == 0 ? "SLight.bmp" : "FLight.bmp";
        psz3D = nOption == 0 ? "SpotLight" : "FloodLight";
        break;
    case 14:
        psz2D = nOption == 1 ? "VWall.bmp" : "SBoard.bmp";
        psz3D = nOption == 1 ? "VideoWall" : "Scoreboard";
        break;
    case 15: psz2D = "USoilD.bmp", psz3D = "UndersoilDrainage"; break;
    default: psz2D = "Sprink.bmp", psz3D = "Sprinkler"; break;
    }
}

bool Wants3D()
{
    const auto* pGame = dynamic_cast<const CGame*>(g_pGame);
    return !pGame || pGame->GetOptions().Values().m_n3DSettings != kNo3DSetting;
}

}  // namespace

void CPopupGroundDevelopment::SetUpPreview()
{
    ReleasePreview();
    m_p3DSurface = std::make_unique<CXSurface>();
    const bool bSurface = m_p3DSurface->Create(kPreviewWidth, kPreviewHeight, true, true) != nullptr;
    if (bSurface)
        m_p3DSurface->Fill(0xFF00FF);
    // The game's 3-D device draws into the preview's surface while the popup is up.
    bool b3D = false;
    if (bSurface && Wants3D()) {
        if (C3DEngine::Is3DAvailable()) {
            b3D = C3DEngine::SetRenderTarget(m_p3DSurface->m_pSurface);
        } else {
            b3D = C3DEngine::SetupStatics(m_p3DSurface->m_pSurface, C3DEngine::DEVICE_ZBUFFER);
            m_bOwnDevice = b3D;
        }
    }
    m_pPreviewArchive = std::make_unique<CFileManager>();
    if (!m_pPreviewArchive->Open(b3D ? k3DArchive : k2DArchive))
        m_pPreviewArchive.reset();
    if (!b3D)
        return;
    m_p3DEngine = std::make_unique<C3DEngine>();
    m_p3DEngine->CreateViewport(0, 0, kPreviewWidth, kPreviewHeight);
    m_pTextureArchive = std::make_unique<CFileManager>();
    if (m_pTextureArchive->Open(kTextureArchive))
        m_p3DEngine->GetTextureManager()->SetArchive(m_pTextureArchive.get());
    else
        m_pTextureArchive.reset();
    D3DMATERIAL white{};
    white.dwSize = sizeof white;
    white.diffuse = white.ambient = white.specular = white.emissive = {1, 1, 1, 1};
    m_p3DEngine->AddMaterial(&white);
    m_p3DEngine->AddMeshManager();
    m_afTarget[0] = m_afTarget[1] = m_afTarget[2] = 0.0f;
    m_fYaw = kPi / 4;
    m_p3DEngine->SetNumberOfCameras(1);
    if (CCamera* pCamera = m_p3DEngine->GetCamera(0)) {
        pCamera->SetupOrbit(3000, kPi / 4, kPi / 8, m_afTarget, 7, 100.0f, 50000.0f);
        pCamera->m_ucMode = CCamera::MODE_TURNING;
        pCamera->m_pTracked = m_afTarget;
        pCamera->m_pYawSource = &m_fYaw;
        pCamera->m_fFieldOfView = pCamera->m_fWantedFieldOfView = kPi / 5;
        pCamera->m_Up = {0, 0, 1};
        pCamera->BuildProjectionMatrix();
    }
    m_p3DEngine->m_ucCurrentCamera = 0;
    for (const D3DVECTOR& direction : {D3DVECTOR{-1, -1, -1}, D3DVECTOR{1, 1, 1}}) {
        D3DLIGHT2 light{};
        light.dwSize = sizeof light;
        light.dltType = D3DLIGHT_DIRECTIONAL;
        light.dcvColor = {0.7f, 0.7f, 0.7f, 0};
        light.dvDirection = direction;
        light.dwFlags = 3;
        m_p3DEngine->AddLight(&light);
    }
    m_p3DEngine->SetAmbientLight(0xFF666666);
}

void CPopupGroundDevelopment::ReleasePreview()
{
    if (m_pModel && m_p3DEngine)
        m_pModel->RemoveFromMeshManager(kPreviewLayer);
    m_pModel.reset();
    m_p3DEngine.reset();
    m_pTextureArchive.reset();
    m_pPreviewArchive.reset();
    m_pPicture.reset();
    if (m_bOwnDevice)
        C3DEngine::DestroyStatics();
    m_bOwnDevice = false;
    m_p3DSurface.reset();
}

void CPopupGroundDevelopment::RebuildPreview()
{
    char sz2D[32] = {}, sz3D[32] = {}, szRoof[32] = {};
    bool bStand = false;
    if (m_nPage == PAGE_STAND) {
        if (!m_pStandRow)
            return;
        const char* pszKind = kStandKindCodes[m_pStandRow->byKind & 3];
        const int nSize = m_pStandRow->bySize % 3 + 1;
        const char* pszPosition = kPositionCodes[m_pStandRow->byPositionKind % 3];
        std::snprintf(sz2D, sizeof sz2D, "%s%d%s%s%s.bmp", pszKind, nSize, pszPosition,
                      m_pStandRow->byKind != 0 ? "S" : "", m_pRoofRow ? "R" : "");
        const CXEdit* pPart0 = Edit(ID_PART0);
        const bool bBoxes = pPart0 && pPart0->ReadNumber() > 0;
        std::snprintf(sz3D, sizeof sz3D, "%s%d%s%s.x", pszKind, nSize, pszPosition, bBoxes ? "B" : "");
        if (m_pRoofRow)
            std::snprintf(szRoof, sizeof szRoof, "%s%d%sR.x", pszKind, nSize, pszPosition);
        bStand = true;
    } else if (m_nPage == PAGE_FACILITY) {
        if (!m_pFacilityRow)
            return;
        const int nCode = (m_pFacilityRow->byType - 4) & 7;
        std::snprintf(sz2D, sizeof sz2D, "%s%d.bmp", kFacilityCodes[nCode], m_pFacilityRow->bySize + 1);
        std::snprintf(sz3D, sizeof sz3D, "%s%d.x", kFacilityCodes[nCode], m_pFacilityRow->bySize + 1);
    } else if (m_nPage == PAGE_FEATURE) {
        if (!m_pFacilityRow)
            return;
        const char *psz2D = nullptr, *psz3D = nullptr;
        FeatureNames(m_pFacilityRow->byType, m_pFacilityRow->bySize, psz2D, psz3D);
        std::snprintf(sz2D, sizeof sz2D, "%s", psz2D);
        std::snprintf(sz3D, sizeof sz3D, "%s.x", psz3D);
    } else {
        return;
    }
    if (!m_p3DEngine) {
        m_PreviewName = sz2D;
        m_PreviewRoofName.clear();
        m_pPicture.reset();
        long nSize = 0;
        bool bFound = false;
        FILE* pFile = m_pPreviewArchive ? m_pPreviewArchive->Get(sz2D, &nSize, &bFound) : nullptr;
        if (pFile && bFound) {
            m_pPicture = std::make_unique<CXSurface>();
            if (!m_pPicture->CreateFromBitmap(pFile, true, true, nSize))
                m_pPicture.reset();
        }
        return;
    }
    if (bStand) {
        CTextureManager* pTextures = m_p3DEngine->GetTextureManager();
        pTextures->SetNameCode('A', '0');
        pTextures->SetNameCode('C', '0');
        pTextures->SetNameCode('S', m_pStandRow->byKind != 0 ? '1' : '0');
        ColourRecord colours{};
        if (m_pStandRow->byKind != 0 && m_pClub) {
            const COLORREF cr = CGameTitlebar::GetKitColour(m_pClub->m_abyAttributes[0]);
            const uint8_t abyBGR[3] = {static_cast<uint8_t>((cr >> 16) & 0xFF), static_cast<uint8_t>((cr >> 8) & 0xFF),
                                       static_cast<uint8_t>(cr & 0xFF)};
            float h = 0, s = 0, l = 0;
            RGBToHSL(abyBGR, &h, &s, &l);
            const int16_t shift[3] = {static_cast<int16_t>(h * 255 - kReferenceHSL[0]),
                                      static_cast<int16_t>(s * 255 - kReferenceHSL[1]),
                                      static_cast<int16_t>(l * 255 - kReferenceHSL[2])};
            colours.count = 7;
            for (int i = 0; i < 7; ++i) {
                colours.first[i] = kColourRanges[i][0];
                colours.span[i] = kColourRanges[i][1];
                std::memcpy(colours.shift[i], shift, sizeof shift);
            }
        }
        for (uint8_t ucSlot = 0; ucSlot < 3; ++ucSlot)
            pTextures->SetColourSlot(&colours, ucSlot);
    }
    SetNew3DComponent(sz3D, szRoof[0] ? szRoof : nullptr, bStand);
}

void CPopupGroundDevelopment::SetNew3DComponent(const char* pszMesh, const char* pszRoof, bool /*bClubColours*/)
{
    CObjectData* pObjects = m_p3DEngine ? m_p3DEngine->GetObjectData() : nullptr;
    if (!pObjects)
        return;
    char szFile[64];
    std::snprintf(szFile, sizeof szFile, "%s%s", kMeshFolder, pszMesh);
    const uint16_t wObject = pObjects->Load(szFile, 1);
    if (wObject == OBJECT_NOT_FOUND) {
        DebugLog(1, "CPopupGroundDevelopment::SetNew3DComponent: Couldn't load %s", szFile);
        return;
    }
    if (m_pModel)
        m_pModel->RemoveFromMeshManager(kPreviewLayer);
    m_pModel = std::make_unique<CModel>(*pObjects, wObject, 0);
    m_PreviewName = pszMesh;
    m_PreviewRoofName.clear();
    if (pszRoof) {
        std::snprintf(szFile, sizeof szFile, "%s%s", kMeshFolder, pszRoof);
        const uint16_t wRoof = pObjects->Load(szFile, 1);
        if (wRoof == OBJECT_NOT_FOUND) {
            DebugLog(1, "CPopupGroundDevelopment::SetNew3DComponent: Couldn't merge %s", szFile);
        } else {
            m_pModel->Merge(wRoof);
            m_PreviewRoofName = pszRoof;
        }
    }
    // Stood upright (the files are modelled y up) and centred on the turning
    // point, standing on the ground: the files are modelled from a corner.
    const float* pMin = m_pModel->GetBoundsMin();
    const float* pMax = m_pModel->GetBoundsMax();
    m_pModel->SetPositionAndHeading(0.0f, 0.0f, 0.0f);
    D3DMATRIX world = m_pModel->GetWorldMatrix();
    float afLow[3] = {1e30f, 1e30f, 1e30f}, afHigh[3] = {-1e30f, -1e30f, -1e30f};
    for (int nCorner = 0; nCorner < 8; ++nCorner) {
        const float p[3] = {(nCorner & 1) ? pMax[0] : pMin[0], (nCorner & 2) ? pMax[1] : pMin[1],
                            (nCorner & 4) ? pMax[2] : pMin[2]};
        for (int j = 0; j < 3; ++j) {
            const float v = p[0] * world.m[0][j] + p[1] * world.m[1][j] + p[2] * world.m[2][j] + world.m[3][j];
            afLow[j] = std::min(afLow[j], v);
            afHigh[j] = std::max(afHigh[j], v);
        }
    }
    world.m[3][0] -= (afLow[0] + afHigh[0]) / 2;
    world.m[3][1] -= (afLow[1] + afHigh[1]) / 2;
    world.m[3][2] -= afLow[2];
    m_pModel->SetWorldMatrix(world);
    m_pModel->AddToMeshManager(kPreviewLayer);
    if (CCamera* pCamera = m_p3DEngine->GetCamera(0)) {
        const float dx = afHigh[0] - afLow[0], dy = afHigh[1] - afLow[1], dz = afHigh[2] - afLow[2];
        const float fWidth = std::sqrt(dx * dx + dy * dy + dz * dz);
        const float fHeight = dz;
        pCamera->m_fFrameWidth = fWidth;
        pCamera->m_nWantedDistance = pCamera->m_nDistance =
            static_cast<int32_t>(kFrameMargin * fWidth / std::tan(pCamera->m_fFieldOfView));
        m_afTarget[2] = fHeight / 3;
        pCamera->UpdateTargetFromTracked();
        pCamera->UpdateOrbitPosition();
        pCamera->BuildViewMatrix();
    }
}

void CPopupGroundDevelopment::DrawPreview()
{
    CXSurface* pScreen = GetScreenSurface();
    if (!pScreen)
        return;
    const int x = m_nLeft + kPreviewX, y = m_nTop + kPreviewY;
    if (m_p3DEngine) {
        if (!m_pModel)
            return;
        m_p3DEngine->UpdateCamera();
        // The panel's own colour behind the model; other views keep theirs.
        const uint32_t dwClear = C3DEngine::GetClearColour();
        C3DEngine::SetClearColour(kPanelColour);
        m_p3DEngine->Render();
        C3DEngine::SetClearColour(dwClear);
        CXSurface::Blit(pScreen, m_p3DSurface.get(), x, y);
        return;
    }
    if (m_pPicture)
        CXSurface::BlitKeyed(pScreen, m_pPicture.get(), x, y);
}
