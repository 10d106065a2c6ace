#include "render3d/C3DEngine.h"

#include "common/DebugLog.h"
#include "platform/Clock.h"
#include "platform/Device3D.h"
#include "render3d/CCamera.h"
#include "render3d/CFaceManager.h"
#include "render3d/CMaterialManager.h"
#include "render3d/CMeshBuilder.h"
#include "render3d/CMeshManager.h"
#include "render3d/CObjectData.h"
#include "render3d/CTextureManager.h"
#include "render3d/RendererModules.h"

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

plat::Device3D* g_pD3DDevice = nullptr;
C3DEngine* g_p3DEngine = nullptr;
CTextureManager* g_pTextureManager = nullptr;
CMaterialManager* g_pMaterialManager = nullptr;

bool C3DEngine::s_b3DAvailable = false;
uint8_t C3DEngine::s_ucRenderType = 0;
uint32_t C3DEngine::s_dwCapabilities = 0;
plat::Surface* C3DEngine::s_pTarget = nullptr;
int32_t C3DEngine::s_nTargetWidth = 0;
int32_t C3DEngine::s_nTargetHeight = 0;
float C3DEngine::s_fAspect = 0.75f;
bool C3DEngine::s_bBlendModesEnabled = false;
uint32_t C3DEngine::s_dwClearColour = 0xFF0000FF;

namespace {

std::unique_ptr<plat::Device3D> s_Device;

struct LightRecord {
    D3DLIGHT2* pDescription;
    bool bLive;
};

plat::Matrix4 IdentityOr(const D3DMATRIX* pMatrix)
{
    return pMatrix ? *pMatrix : IdentityMatrix();
}

int32_t Truncate(float v)
{
    if (!(v > -1.0e9f))
        return -1000000000;
    if (v > 1.0e9f)
        return 1000000000;
    return static_cast<int32_t>(v);
}

plat::LightSettings ToSettings(const D3DLIGHT2& d)
{
    plat::LightSettings s;
    s.type = static_cast<int>(d.dltType);
    s.color = {d.dcvColor.r, d.dcvColor.g, d.dcvColor.b, d.dcvColor.a};
    s.position[0] = d.dvPosition.x;
    s.position[1] = d.dvPosition.y;
    s.position[2] = d.dvPosition.z;
    s.direction[0] = d.dvDirection.x;
    s.direction[1] = d.dvDirection.y;
    s.direction[2] = d.dvDirection.z;
    s.range = d.dvRange;
    s.attenuation[0] = d.dvAttenuation0;
    s.attenuation[1] = d.dvAttenuation1;
    s.attenuation[2] = d.dvAttenuation2;
    s.theta = d.dvTheta;
    s.phi = d.dvPhi;
    return s;
}

}  // namespace

// ---- device layer ----

bool C3DEngine::SetupStatics(plat::Surface* pTarget, uint32_t dwFlags)
{
    if (s_b3DAvailable)
        DestroyStatics();
    if (!pTarget) {
        DebugLog(6, "3-D not available: no render target");
        return false;
    }
    std::string why;
    s_Device = plat::Device3D::create(pTarget->width(), pTarget->height(), (dwFlags & DEVICE_ZBUFFER) != 0,
                                      !(dwFlags & DEVICE_NO_HARDWARE), !(dwFlags & DEVICE_NO_SOFTWARE), &why);
    if (!s_Device) {
        DebugLog(6, "3-D not available: %s", why.c_str());
        DestroyStatics();
        return false;
    }
    s_pTarget = pTarget;
    s_nTargetWidth = pTarget->width();
    s_nTargetHeight = pTarget->height();
    s_fAspect = static_cast<float>(s_nTargetHeight) / static_cast<float>(s_nTargetWidth);
    if (s_Device->kind() == plat::DeviceKind::Hardware) {
        s_ucRenderType = RENDER_HARDWARE;
        DebugLog(6, "[C3DEngine::SetupD3DDevice] : Hardware successfully created");
    } else {
        s_ucRenderType = RENDER_SOFTWARE;
        DebugLog(6, "[C3DEngine::SetupD3DDevice] : RGB successfully created");
    }
    // Every capability is part of OpenGL 2.1; filtering and sub-pixel accuracy
    // are used on hardware only, where they cost nothing.
    s_dwCapabilities = CAPS_TRANSPARENCY | CAPS_BLEND_INVSRCCOLOR | CAPS_BLEND_SRCCOLOR | CAPS_BLEND_ZERO |
                       CAPS_BORDER_ADDRESS | CAPS_FOG_TABLE | CAPS_W_FOG | CAPS_PERSPECTIVE | CAPS_DITHER;
    if (s_ucRenderType == RENDER_HARDWARE)
        s_dwCapabilities |= CAPS_LINEAR_FILTER | CAPS_SUBPIXEL;
    g_pD3DDevice = s_Device.get();
    s_b3DAvailable = true;
    DebugLog(6, "[C3DEngine::SetupStatics] renderer %s, %d x %d", s_Device->rendererName().c_str(), s_nTargetWidth,
             s_nTargetHeight);
    return true;
}

bool C3DEngine::CanSetupStatics(plat::Surface* pTarget, uint32_t dwFlags)
{
    if (s_b3DAvailable)
        return true;
    if (!SetupStatics(pTarget, dwFlags))
        return false;
    DestroyStatics();
    return true;
}

void C3DEngine::DestroyStatics()
{
    DebugLog(6, "[C3DEngine::DestroyStatics] : Started");
    g_pD3DDevice = nullptr;
    s_Device.reset();
    s_pTarget = nullptr;
    s_b3DAvailable = false;
    s_ucRenderType = 0;
    s_dwCapabilities = 0;
    DebugLog(6, "[C3DEngine::DestroyStatics] : Ended");
}

bool C3DEngine::SetRenderTarget(plat::Surface* pTarget)
{
    if (!s_pTarget || !s_Device) {
        s_pTarget = pTarget;
        return true;
    }
    if (!pTarget || pTarget->width() != s_Device->width() || pTarget->height() != s_Device->height()) {
        DebugLog(6, "[C3DEngine::SetRenderTarget] a target of another size needs a new device");
        return false;
    }
    s_pTarget = pTarget;
    return true;
}

bool C3DEngine::HasZBuffer()
{
    return s_Device && s_Device->hasDepthBuffer();
}

// ---- engine object ----

C3DEngine::C3DEngine()
    : m_WorldMatrix(IdentityMatrix()), m_ViewMatrix(IdentityMatrix()), m_ProjectionMatrix(IdentityMatrix()),
      m_CameraMatrix(IdentityMatrix())
{
    m_Lights.SetSize(0, 1);
    m_MeshManagers.SetSize(0, 10);
    m_dwClearFlags = HasZBuffer() ? 3 : 1;
    if (s_b3DAvailable) {
        m_pMaterialManager = new CMaterialManager(30);
        m_pTextureManager = new CTextureManager();
        m_pMeshBuilder = new CMeshBuilder();
        g_pTextureManager = m_pTextureManager;
        g_pMaterialManager = m_pMaterialManager;
        CreateViewport(0, 0, s_nTargetWidth, s_nTargetHeight);
        m_ucZEnable = 2;
        SetDefaultRenderStates();
        m_dwAmbient = 0xFFFFFFFF;
        g_pD3DDevice->setAmbient(m_dwAmbient);
        m_dwMipFilter = 3;
        m_dwLastCameraUpdate = plat::milliseconds();
        m_bFogSet = false;
    }
    g_p3DEngine = this;
    m_pObjectData = new CObjectData(10);
}

C3DEngine::~C3DEngine()
{
    delete m_pObjectData;
    delete m_pMaterialManager;
    delete m_pTextureManager;
    delete m_pMeshBuilder;
    for (int i = 0; i < m_ucMeshManagerCount; ++i)
        delete static_cast<CMeshManager*>(m_MeshManagers.GetAt(i));
    m_ucMeshManagerCount = 0;
    delete[] m_pCameras;
    m_pCameras = nullptr;
    m_ucCameraCount = 0;
    SetNumberOfFaceManagers(0);
    for (int i = 0; i < m_ucLightCount; ++i) {
        auto* pLight = static_cast<LightRecord*>(m_Lights.GetAt(i));
        if (g_pD3DDevice && i < plat::Device3D::kMaxLights)
            g_pD3DDevice->enableLight(i, false);
        delete pLight->pDescription;
        delete pLight;
    }
    m_ucLightCount = 0;
    if (s_b3DAvailable && HasZBuffer())
        g_pD3DDevice->setDepthTest(false);
    DeleteViewport();
    if (g_p3DEngine == this) {
        g_p3DEngine = nullptr;
        g_pTextureManager = nullptr;
        g_pMaterialManager = nullptr;
    }
}

void C3DEngine::SetDefaultRenderStates()
{
    m_bPerspective = false;
    m_ucViewMode = 0;
    m_ucBlendMode = 0;
    g_pD3DDevice->setBlend(plat::BlendFactor::One, plat::BlendFactor::Zero);
    SetViewMode(1);
    m_dwZFunc = D3DCMP_LESS;
    m_bFogEnabled = false;
    g_pD3DDevice->setFog(false, 0, 0, 0);
}

bool C3DEngine::CreateViewport(int32_t x, int32_t y, int32_t nWidth, int32_t nHeight)
{
    if (!s_b3DAvailable)
        return false;
    if (x < 0 || y < 0 || nWidth <= 0 || nHeight <= 0 || x + nWidth > s_nTargetWidth ||
        y + nHeight > s_nTargetHeight) {
        DebugLog(6, "[C3DEngine::CreateViewport] %d, %d, %d x %d is outside the target", x, y, nWidth, nHeight);
        return false;
    }
    m_ViewportRect = plat::Rect{x, y, x + nWidth, y + nHeight};
    m_bViewport = true;
    g_pD3DDevice->setViewport(m_ViewportRect, s_fAspect);
    return true;
}

void C3DEngine::DeleteViewport()
{
    m_bViewport = false;
}

void C3DEngine::SetNumberOfCameras(uint8_t ucCount)
{
    delete[] m_pCameras;
    m_pCameras = ucCount ? new CCamera[ucCount] : nullptr;
    m_ucCameraCount = ucCount;
}

CCamera* C3DEngine::GetCamera(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_ucCameraCount ? &m_pCameras[nIndex] : nullptr;
}

void C3DEngine::UpdateCamera()
{
    const uint32_t dwNow = plat::milliseconds();
    const float fElapsed = static_cast<float>(dwNow - m_dwLastCameraUpdate) * 0.001f;
    m_dwLastCameraUpdate = dwNow;
    UpdateCamera(fElapsed);
}

void C3DEngine::UpdateCamera(float fElapsed)
{
    // An index written past the array selects no camera.
    CCamera* pCamera = GetCamera(m_ucCurrentCamera);
    if (!pCamera || pCamera->m_ucMode > CCamera::MODE_TRACK)
        return;
    switch (pCamera->m_ucMode) {
    case CCamera::MODE_ORBIT:
        if (pCamera->m_pTracked)
            pCamera->m_Target = D3DVECTOR{pCamera->m_pTracked[0], pCamera->m_pTracked[1], pCamera->m_pTracked[2]};
        if (pCamera->m_pYawSource)
            pCamera->m_fYaw = *pCamera->m_pYawSource;
        pCamera->EaseDistance(fElapsed);
        pCamera->UpdateOrbitPosition();
        pCamera->BuildViewMatrix();
        break;
    case CCamera::MODE_FOLLOW:
        pCamera->UpdateTargetFromTracked();
        if (pCamera->m_pYawSource)
            pCamera->m_fPreferredYaw = *pCamera->m_pYawSource;
        pCamera->EaseDistance(fElapsed);
        pCamera->UpdateYaw(fElapsed);
        pCamera->UpdateOrbitPosition();
        pCamera->BuildViewMatrix();
        break;
    case CCamera::MODE_TURNING: {
        pCamera->UpdateTargetFromTracked();
        float fYaw = pCamera->m_fYaw + 0.8f * fElapsed;
        if (fYaw < -3.14159265f)
            fYaw += 6.2831853f;
        else if (fYaw >= 3.14159265f)
            fYaw -= 6.2831853f;
        pCamera->m_fYaw = fYaw;
        pCamera->EaseDistance(fElapsed);
        pCamera->UpdateOrbitPosition();
        pCamera->BuildViewMatrix();
        break;
    }
    default:
        pCamera->UpdateTargetFromTracked();
        pCamera->UpdateDirectionAndZoom(fElapsed);
        pCamera->BuildViewMatrix();
        break;
    }
}

void C3DEngine::ConvertScreenToWorld(float* pX, float* pY, float* pZ, int32_t nScreenX, int32_t nScreenY)
{
    const CCamera* pCamera = GetCamera(m_ucCurrentCamera);
    const int32_t nHalfWidth = m_ViewportRect.width() / 2;
    const int32_t nHalfHeight = m_ViewportRect.height() / 2;
    if (!pCamera || nHalfWidth == 0 || nHalfHeight == 0)
        return;
    const float fX = static_cast<float>(nScreenX - nHalfWidth) / static_cast<float>(nHalfWidth);
    const float fY = static_cast<float>(nScreenY - nHalfHeight) / static_cast<float>(-nHalfHeight);
    D3DVECTOR origin, direction;
    pCamera->GetPickRay(fX, fY, &origin, &direction);
    // A ray parallel to the ground never meets it; it stays at the camera.
    const float t = direction.z != 0.0f ? -origin.z / direction.z : 0.0f;
    if (pX)
        *pX = origin.x + direction.x * t;
    if (pY)
        *pY = origin.y + direction.y * t;
    if (pZ)
        *pZ = origin.z + direction.z * t;
}

void C3DEngine::SetNumberOfFaceManagers(uint8_t ucCount)
{
    delete[] m_pFaceManagers;
    m_pFaceManagers = ucCount ? new CFaceManager[ucCount] : nullptr;
    m_ucFaceManagerCount = ucCount;
}

CFaceManager* C3DEngine::GetFaceManager(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_ucFaceManagerCount ? &m_pFaceManagers[nIndex] : nullptr;
}

void C3DEngine::AddMeshManager()
{
    m_MeshManagers.SetAtGrow(m_ucMeshManagerCount, new CMeshManager());
    ++m_ucMeshManagerCount;
}

CMeshManager* C3DEngine::GetMeshManager(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_ucMeshManagerCount ? static_cast<CMeshManager*>(m_MeshManagers.GetAt(nIndex))
                                                         : nullptr;
}

void C3DEngine::ApplyLight(int nIndex)
{
    auto* pLight = static_cast<LightRecord*>(m_Lights.GetAt(nIndex));
    if (nIndex >= plat::Device3D::kMaxLights) {
        DebugLog(6, "[C3DEngine::AddLight] the device lights at most %d lights", plat::Device3D::kMaxLights);
        return;
    }
    g_pD3DDevice->setLight(nIndex, ToSettings(*pLight->pDescription));
    g_pD3DDevice->enableLight(nIndex, true);
    pLight->bLive = true;
}

void C3DEngine::AddLight(const D3DLIGHT2* pLight)
{
    if (!s_b3DAvailable || !pLight)
        return;
    m_Lights.SetAtGrow(m_ucLightCount, new LightRecord{new D3DLIGHT2(*pLight), false});
    ApplyLight(m_ucLightCount);
    ++m_ucLightCount;
}

void C3DEngine::SetAmbientLight(uint32_t dwColour)
{
    if (!s_b3DAvailable || dwColour == m_dwAmbient)
        return;
    m_dwAmbient = dwColour;
    g_pD3DDevice->setAmbient(dwColour);
}

uint16_t C3DEngine::AddMaterial(const D3DMATERIAL* pMaterial)
{
    if (!m_pMaterialManager || !pMaterial)
        return NO_MATERIAL;
    return m_pMaterialManager->AddMaterial(pMaterial);
}

void C3DEngine::SetFog(float fStart, float fEnd, uint32_t dwColour)
{
    if (!s_b3DAvailable)
        return;
    m_fFogStart = fStart;
    m_fFogEnd = fEnd;
    m_dwFogColour = dwColour;
    m_bFogSet = true;
    m_bFogEnabled = true;
    g_pD3DDevice->setFog(true, fStart, fEnd, dwColour);
}

void C3DEngine::SetFogEnable(bool bOn)
{
    if (!s_b3DAvailable || !m_bFogSet || bOn == m_bFogEnabled)
        return;
    m_bFogEnabled = bOn;
    g_pD3DDevice->setFog(bOn, m_fFogStart, m_fFogEnd, m_dwFogColour);
}

void C3DEngine::SetViewMode(uint8_t ucMode)
{
    if (!s_b3DAvailable || ucMode == m_ucViewMode)
        return;
    m_ucViewMode = ucMode;
    if (ucMode == 1) {
        g_pD3DDevice->setView(m_ViewMatrix);
        g_pD3DDevice->setModulate(true);
    } else {
        g_pD3DDevice->setView(IdentityMatrix());
        g_pD3DDevice->setModulate(false);
    }
}

void C3DEngine::SetPerspectiveCorrection(bool bOn)
{
    // GL always corrects for perspective; the state is only kept.
    if ((s_dwCapabilities & CAPS_PERSPECTIVE) && bOn != m_bPerspective)
        m_bPerspective = bOn;
}

void C3DEngine::SetWorldMatrix(const D3DMATRIX* pMatrix)
{
    const D3DMATRIX m = IdentityOr(pMatrix);
    if (!s_b3DAvailable || std::memcmp(&m, &m_WorldMatrix, sizeof m) == 0)
        return;
    m_WorldMatrix = m;
    g_pD3DDevice->setWorld(m);
}

void C3DEngine::SetViewMatrix(const D3DMATRIX* pMatrix)
{
    const D3DMATRIX m = IdentityOr(pMatrix);
    if (!s_b3DAvailable || std::memcmp(&m, &m_ViewMatrix, sizeof m) == 0)
        return;
    m_ViewMatrix = m;
    if (m_ucViewMode == 1)
        g_pD3DDevice->setView(m);
}

void C3DEngine::SetProjectionMatrix(const D3DMATRIX* pMatrix)
{
    const D3DMATRIX m = IdentityOr(pMatrix);
    if (!s_b3DAvailable || std::memcmp(&m, &m_ProjectionMatrix, sizeof m) == 0)
        return;
    m_ProjectionMatrix = m;
    g_pD3DDevice->setProjection(m);
}

void C3DEngine::SetCameraMatrix(const D3DMATRIX* pMatrix)
{
    if (pMatrix)
        m_CameraMatrix = *pMatrix;
}

void C3DEngine::SetBlendMode(uint8_t ucMode)
{
    if (!s_b3DAvailable || !s_bBlendModesEnabled || ucMode == m_ucBlendMode)
        return;
    using plat::BlendFactor;
    static const BlendFactor factors[5][2] = {{BlendFactor::One, BlendFactor::Zero},
                                              {BlendFactor::SrcColor, BlendFactor::DestColor},
                                              {BlendFactor::Zero, BlendFactor::SrcColor},
                                              {BlendFactor::DestColor, BlendFactor::SrcColor},
                                              {BlendFactor::SrcAlpha, BlendFactor::SrcColor}};
    m_ucBlendMode = ucMode;
    if (ucMode < 5)
        g_pD3DDevice->setBlend(factors[ucMode][0], factors[ucMode][1]);
}

void C3DEngine::SetZEnable(uint8_t ucMode)
{
    if (!s_b3DAvailable)
        return;
    if (ucMode != m_ucZEnable && ucMode <= 1)
        g_pD3DDevice->setDepthTest(ucMode == 1);
    m_ucZEnable = ucMode;
}

void C3DEngine::SetZFunc(uint32_t dwFunc)
{
    if (!s_b3DAvailable || dwFunc == m_dwZFunc)
        return;
    m_dwZFunc = dwFunc;
    g_pD3DDevice->setDepthFunc(static_cast<plat::CompareFunc>(dwFunc));
}

void C3DEngine::DrawMesh(const ITEMMESHINFORMATION* pMesh)
{
    if (!s_b3DAvailable || !pMesh)
        return;
    if (pMesh->indexCount == 0 || pMesh->vertexCount == 0) {
        DebugLog(6, "[C3DEngine::DrawMesh] Invalid Mesh: Index Num: %u, Vertex Num: %u", pMesh->indexCount,
                 pMesh->vertexCount);
        return;
    }
    if (m_pMaterialManager)
        m_pMaterialManager->SetCurrentMaterial(pMesh->materialIndex);
    if (m_pTextureManager)
        m_pTextureManager->SetCurrentTexture(pMesh->textureIndex);
    SetBlendMode(pMesh->blendMode);
    SetViewMode((pMesh->flags & MESH_SCENE_VIEW) ? 1 : 0);
    SetWorldMatrix(pMesh->pMatrix);
    SetFogEnable(!(pMesh->flags & MESH_NO_FOG));
    SetPerspectiveCorrection(!(pMesh->flags & MESH_NO_PERSPECTIVE));
    SetZFunc(pMesh->zCompare);
    SetZEnable((pMesh->flags & MESH_NO_ZENABLE) ? 0 : 1);
    if (!g_pD3DDevice->drawIndexed(static_cast<plat::Primitive>(pMesh->primitiveType), pMesh->vertexFormat,
                                   pMesh->pVertices, pMesh->vertexCount, pMesh->pIndices, pMesh->indexCount,
                                   !(pMesh->drawFlags & D3DDP_DONOTLIGHT)))
        DebugLog(6, "[C3DEngine::DrawMesh] Draw Failed: hRes: %d", -1);
}

bool C3DEngine::DrawFan(const void* pVertices, uint32_t dwCount, uint32_t dwFlags)
{
    if (!s_b3DAvailable)
        return false;
    if (m_ucViewMode == 0 || m_ucBlendMode == 2)
        dwFlags |= D3DDP_DONOTLIGHT;
    return g_pD3DDevice->draw(plat::Primitive::TriangleFan, D3DFVF_VERTEX, pVertices, dwCount,
                       !(dwFlags & D3DDP_DONOTLIGHT));
}

void C3DEngine::Render()
{
    if (!s_b3DAvailable)
        return;
    m_dwBillboardsDrawn = 0;
    const uint32_t dwStart = plat::milliseconds();
    UpdateCamera();
    if (const CCamera* pCamera = GetCamera(m_ucCurrentCamera)) {
        SetProjectionMatrix(&pCamera->m_ProjectionMatrix);
        SetViewMatrix(&pCamera->m_ViewMatrix);
        SetCameraMatrix(&pCamera->m_ViewProjectionMatrix);
    }
    if (m_dwClearFlags && m_bViewport)
        g_pD3DDevice->clear(s_dwClearColour, (m_dwClearFlags & 2) != 0);
    for (int i = 0; i < m_ucMeshManagerCount; ++i)
        GetMeshManager(i)->Draw();
    // Only the last face list is depth-tested against what is drawn; the
    // others lie over it in list order. The cache follows, so that the next
    // mesh sets its own compare again.
    for (int i = 0; i < m_ucFaceManagerCount; ++i) {
        if (HasZBuffer())
            SetZFunc(i == m_ucFaceManagerCount - 1 ? D3DCMP_LESSEQUAL : D3DCMP_ALWAYS);
        m_pFaceManagers[i].Draw();
    }
    if (s_pTarget && !g_pD3DDevice->readBack(*s_pTarget))
        DebugLog(6, "[C3DEngine::Render] the frame could not be read back");
    m_dwLastFrameTime = plat::milliseconds() - dwStart;
}

void C3DEngine::ReleaseDevice()
{
    if (!s_b3DAvailable)
        return;
    for (int i = 0; i < m_ucLightCount; ++i) {
        static_cast<LightRecord*>(m_Lights.GetAt(i))->bLive = false;
        if (i < plat::Device3D::kMaxLights)
            g_pD3DDevice->enableLight(i, false);
    }
    DeleteViewport();
    if (m_pTextureManager)
        m_pTextureManager->ReleaseTextures();
    if (m_pMaterialManager)
        m_pMaterialManager->ReleaseMaterials();
}

void C3DEngine::RestoreDevice()
{
    if (!s_b3DAvailable)
        return;
    CreateViewport(0, 0, s_nTargetWidth, s_nTargetHeight);
    for (int i = 0; i < m_ucLightCount; ++i)
        if (!static_cast<LightRecord*>(m_Lights.GetAt(i))->bLive)
            ApplyLight(i);
    g_pD3DDevice->setAmbient(m_dwAmbient);
    SetDefaultRenderStates();
    if (m_pTextureManager) {
        m_pTextureManager->ResetCurrent();
        m_pTextureManager->RestoreTextures();
    }
    if (m_pMaterialManager) {
        m_pMaterialManager->ResetCurrent();
        m_pMaterialManager->RestoreMaterials();
    }
    g_pD3DDevice->setWorld(m_WorldMatrix);
    g_pD3DDevice->setView(m_ucViewMode == 1 ? m_ViewMatrix : IdentityMatrix());
    g_pD3DDevice->setProjection(m_ProjectionMatrix);
    if (m_bFogSet)
        SetFog(m_fFogStart, m_fFogEnd, m_dwFogColour);
}

// ---- transforms on the processor ----

ViewportTransform C3DEngine::CurrentViewport() const
{
    ViewportTransform vp;
    vp.left = m_ViewportRect.left;
    vp.top = m_ViewportRect.top;
    vp.width = m_ViewportRect.width();
    vp.height = m_ViewportRect.height();
    vp.clipX = -1.0f;
    vp.clipWidth = 2.0f;
    vp.clipY = s_fAspect;
    vp.clipHeight = 2.0f * s_fAspect;
    return vp;
}

D3DMATRIX C3DEngine::CurrentCombined() const
{
    const D3DMATRIX view = m_ucViewMode == 1 ? m_ViewMatrix : IdentityMatrix();
    return MultiplyMatrices(MultiplyMatrices(m_WorldMatrix, view), m_ProjectionMatrix);
}

uint32_t C3DEngine::TransformScratch(const float* pPoints, size_t nStride, size_t nCount, bool bClipped,
                                     D3DRECT* pExtent)
{
    const uint8_t* pBytes = reinterpret_cast<const uint8_t*>(pPoints);
    for (size_t i = 0; i < nCount; ++i) {
        std::memcpy(m_ScratchIn[i], pBytes + i * nStride, 3 * sizeof(float));
        m_ScratchIn[i][3] = 0.0f;
        if (!bClipped) {
            m_ScratchOut[i] = D3DTLVERTEX{};
            m_ScratchClip[i] = D3DHVERTEX{0, 1.0f, 1.0f, 1.0f};
        }
    }
    return TransformVertices(CurrentCombined(), CurrentViewport(), m_ScratchIn, sizeof m_ScratchIn[0], nCount,
                             m_ScratchOut, m_ScratchClip, pExtent);
}

void C3DEngine::TransformToScreen(const float* pWorld, int32_t* pX, int32_t* pY)
{
    if (!s_b3DAvailable || !pWorld)
        return;
    SetViewMode(1);
    SetWorldMatrix(nullptr);
    TransformScratch(pWorld, 3 * sizeof(float), 1, false, nullptr);
    if (pX)
        *pX = Truncate(m_ScratchOut[0].sx);
    if (pY)
        *pY = Truncate(m_ScratchOut[0].sy);
}

uint32_t C3DEngine::ConvertWorldToScreen(const ITEMMESHINFORMATION* pMesh, D3DTLVERTEX** ppOut, int32_t* pExtent)
{
    if (!s_b3DAvailable || !pMesh || !pMesh->pVertices)
        return 0;
    const size_t nCount = pMesh->vertexCount < kScratchVertices ? pMesh->vertexCount : kScratchVertices;
    if (pMesh->vertexFormat != D3DFVF_VERTEX)
        DebugLog(6, "[C3DEngine::ConvertWorldToScreen] Invalid vertex type: %u", pMesh->vertexFormat);
    const int nStride = plat::vertexStride(pMesh->vertexFormat);
    if (nStride == 0)
        return 0;
    SetViewMode((pMesh->flags & MESH_SCENE_VIEW) ? 1 : 0);
    SetWorldMatrix(pMesh->pMatrix);
    D3DRECT extent{};
    const uint32_t dwFlags =
        TransformScratch(static_cast<const float*>(pMesh->pVertices), static_cast<size_t>(nStride), nCount, true,
                         &extent);
    if (ppOut)
        *ppOut = m_ScratchOut;
    if (pExtent) {
        pExtent[0] = extent.x1;
        pExtent[1] = extent.y1;
        pExtent[2] = extent.x2;
        pExtent[3] = extent.y2;
    }
    return dwFlags;
}

uint32_t C3DEngine::TransformPoints(const float* pPoints, uint16_t wCount, const D3DMATRIX* pWorld,
                                    D3DTLVERTEX** ppOut)
{
    if (ppOut)
        *ppOut = nullptr;
    if (!s_b3DAvailable || !pPoints)
        return 0;
    SetViewMode(1);
    SetWorldMatrix(pWorld);
    uint32_t dwShared = 0xFFFFFFFFu;
    for (size_t nDone = 0; nDone < wCount; nDone += kScratchVertices) {
        const size_t nBatch = wCount - nDone < kScratchVertices ? wCount - nDone : kScratchVertices;
        dwShared &= TransformScratch(pPoints + nDone * 3, 3 * sizeof(float), nBatch, false, nullptr);
    }
    if (ppOut && wCount <= kScratchVertices)
        *ppOut = m_ScratchOut;
    return wCount ? dwShared : 0;
}

uint32_t C3DEngine::TransformPointsClipped(const float* pPoints, uint32_t dwCount, const D3DMATRIX* pWorld)
{
    if (!s_b3DAvailable || !pPoints)
        return 0;
    SetViewMode(1);
    SetWorldMatrix(pWorld);
    uint32_t dwShared = 0xFFFFFFFFu;
    for (size_t nDone = 0; nDone < dwCount; nDone += kScratchVertices) {
        const size_t nBatch = dwCount - nDone < kScratchVertices ? dwCount - nDone : kScratchVertices;
        dwShared &= TransformScratch(pPoints + nDone * 3, 3 * sizeof(float), nBatch, true, nullptr);
    }
    return dwCount ? dwShared : 0;
}
