#pragma once
// The 3-D renderer. The device layer (the static functions) makes the one
// offscreen device over a 16-bit target surface; each frame is read back into
// that surface so that the 2-D layer draws over it. One engine object per 3-D
// view holds the textures, materials, lights, fog and draw lists, keeps every
// device state cached, and transforms points on the processor with the same
// matrices the device uses. Without a device every call does nothing.
#include "common/CPointerArray.h"
#include "platform/Surface.h"
#include "render3d/RenderTypes.h"
#include "render3d/VertexTransform.h"

class CTextureManager;
class CMaterialManager;
class CMeshManager;
class CFaceManager;
class CCamera;
class CMeshBuilder;
class CObjectData;

class C3DEngine {
public:
    // Device flags.
    static constexpr uint32_t DEVICE_NO_HARDWARE = 0x1;
    static constexpr uint32_t DEVICE_NO_SOFTWARE = 0x2;
    static constexpr uint32_t DEVICE_ZBUFFER = 0x4;
    // Render types.
    static constexpr uint8_t RENDER_SOFTWARE = 1;
    static constexpr uint8_t RENDER_HARDWARE = 3;
    // Capability bits.
    static constexpr uint32_t CAPS_TRANSPARENCY = 0x1;
    static constexpr uint32_t CAPS_LINEAR_FILTER = 0x2;
    static constexpr uint32_t CAPS_SUBPIXEL = 0x4;
    static constexpr uint32_t CAPS_BLEND_INVSRCCOLOR = 0x8;
    static constexpr uint32_t CAPS_BLEND_SRCCOLOR = 0x10;
    static constexpr uint32_t CAPS_BLEND_ZERO = 0x20;
    static constexpr uint32_t CAPS_BORDER_ADDRESS = 0x40;
    static constexpr uint32_t CAPS_FOG_TABLE = 0x80;
    static constexpr uint32_t CAPS_W_FOG = 0x100;
    static constexpr uint32_t CAPS_PERSPECTIVE = 0x200;
    static constexpr uint32_t CAPS_DITHER = 0x800;
    static constexpr int kScratchVertices = 50;

    static bool SetupStatics(plat::Surface* pTarget, uint32_t dwFlags);
    static bool CanSetupStatics(plat::Surface* pTarget, uint32_t dwFlags);
    static void DestroyStatics();
    // A target of another size than the device's is refused (false).
    static bool SetRenderTarget(plat::Surface* pTarget);
    static bool Is3DAvailable() { return s_b3DAvailable; }
    static uint8_t GetRenderType() { return s_ucRenderType; }
    static uint32_t GetCapabilities() { return s_dwCapabilities; }
    static bool HasZBuffer();
    static int32_t GetTargetWidth() { return s_nTargetWidth; }
    static int32_t GetTargetHeight() { return s_nTargetHeight; }
    static void EnableBlendModes(bool bOn) { s_bBlendModesEnabled = bOn; }
    static void SetClearColour(uint32_t dwColour) { s_dwClearColour = dwColour; }
    static uint32_t GetClearColour() { return s_dwClearColour; }

    C3DEngine();
    ~C3DEngine();
    C3DEngine(const C3DEngine&) = delete;
    C3DEngine& operator=(const C3DEngine&) = delete;

    bool CreateViewport(int32_t x, int32_t y, int32_t nWidth, int32_t nHeight);
    void DeleteViewport();
    void SetNumberOfCameras(uint8_t ucCount);
    CCamera* GetCamera(int nIndex) const;
    uint8_t GetCameraCount() const { return m_ucCameraCount; }
    void UpdateCamera();
    // The same step for a given frame time in seconds.
    void UpdateCamera(float fElapsed);
    // The ground point (z = 0) under a screen point of the viewport.
    void ConvertScreenToWorld(float* pX, float* pY, float* pZ, int32_t nScreenX, int32_t nScreenY);
    // Frees the face managers and makes count new empty static ones.
    void SetNumberOfFaceManagers(uint8_t ucCount);
    CFaceManager* GetFaceManager(int nIndex) const;
    uint8_t GetFaceManagerCount() const { return m_ucFaceManagerCount; }
    void AddMeshManager();
    CMeshManager* GetMeshManager(int nIndex) const;
    uint8_t GetMeshManagerCount() const { return m_ucMeshManagerCount; }
    void AddLight(const D3DLIGHT2* pLight);
    void SetAmbientLight(uint32_t dwColour);
    uint16_t AddMaterial(const D3DMATERIAL* pMaterial);
    void SetFog(float fStart, float fEnd, uint32_t dwColour);
    void SetFogEnable(bool bOn);
    void SetViewMode(uint8_t ucMode);
    void SetPerspectiveCorrection(bool bOn);
    void SetWorldMatrix(const D3DMATRIX* pMatrix);
    void SetViewMatrix(const D3DMATRIX* pMatrix);
    void SetProjectionMatrix(const D3DMATRIX* pMatrix);
    void SetCameraMatrix(const D3DMATRIX* pMatrix);
    void SetBlendMode(uint8_t ucMode);
    void SetZEnable(uint8_t ucMode);
    void SetZFunc(uint32_t dwFunc);
    void DrawMesh(const ITEMMESHINFORMATION* pMesh);
    bool DrawFan(const void* pVertices, uint32_t dwCount, uint32_t dwFlags);
    void Render();
    void ReleaseDevice();
    void RestoreDevice();

    void TransformToScreen(const float* pWorld, int32_t* pX, int32_t* pY);
    uint32_t ConvertWorldToScreen(const ITEMMESHINFORMATION* pMesh, D3DTLVERTEX** ppOut, int32_t* pExtent);
    // Any number of points, in batches of the scratch area's 50; the flags are
    // those every point shares. *ppOut gets the transformed points only when
    // they all fitted in one batch, else null.
    uint32_t TransformPoints(const float* pPoints, uint16_t wCount, const D3DMATRIX* pWorld, D3DTLVERTEX** ppOut);
    uint32_t TransformPointsClipped(const float* pPoints, uint32_t dwCount, const D3DMATRIX* pWorld);

    CTextureManager* GetTextureManager() const { return m_pTextureManager; }
    CMaterialManager* GetMaterialManager() const { return m_pMaterialManager; }
    CMeshBuilder* GetMeshBuilder() const { return m_pMeshBuilder; }
    // The objects read from .x files; exists with or without a device.
    CObjectData* GetObjectData() const { return m_pObjectData; }
    const D3DMATRIX& GetCameraMatrix() const { return m_CameraMatrix; }
    const D3DMATRIX& GetViewMatrix() const { return m_ViewMatrix; }
    const D3DMATRIX& GetProjectionMatrix() const { return m_ProjectionMatrix; }
    // The clip volume's y runs over -this..this (x over -1..1).
    static float GetClipHalfHeight() { return s_fAspect; }
    // The billboards counted since the frame began.
    void CountBillboardDrawn() { ++m_dwBillboardsDrawn; }
    uint32_t GetBillboardsDrawn() const { return m_dwBillboardsDrawn; }
    uint32_t GetClearFlags() const { return m_dwClearFlags; }
    uint32_t GetLastFrameTime() const { return m_dwLastFrameTime; }
    uint8_t GetLightCount() const { return m_ucLightCount; }
    const plat::Rect& GetViewportRect() const { return m_ViewportRect; }

    // The minification filter of filtered textures: 1 nearest, 2 linear, 3 mip-mapped nearest.
    uint32_t GetTextureFilter() const { return m_dwMipFilter; }
    void SetTextureFilter(uint32_t dwFilter) { m_dwMipFilter = dwFilter; }

    // The users switch cameras by writing the index.
    uint8_t m_ucCurrentCamera = 0;

private:
    void SetDefaultRenderStates();
    void ApplyLight(int nIndex);
    ViewportTransform CurrentViewport() const;
    D3DMATRIX CurrentCombined() const;
    uint32_t TransformScratch(const float* pPoints, size_t nStride, size_t nCount, bool bClipped,
                              D3DRECT* pExtent);

    CTextureManager* m_pTextureManager = nullptr;
    CMaterialManager* m_pMaterialManager = nullptr;
    CMeshBuilder* m_pMeshBuilder = nullptr;
    CObjectData* m_pObjectData = nullptr;
    bool m_bViewport = false;
    plat::Rect m_ViewportRect;
    uint8_t m_ucViewMode = 0;
    uint8_t m_ucBlendMode = 0;
    bool m_bPerspective = false;
    bool m_bFogSet = false;
    bool m_bFogEnabled = false;
    float m_fFogStart = 0;
    float m_fFogEnd = 0;
    uint32_t m_dwFogColour = 0;
    uint8_t m_ucZEnable = 2;
    uint32_t m_dwZFunc = D3DCMP_LESS;
    D3DMATRIX m_WorldMatrix;
    D3DMATRIX m_ViewMatrix;
    D3DMATRIX m_ProjectionMatrix;
    D3DMATRIX m_CameraMatrix;
    CCamera* m_pCameras = nullptr;
    uint8_t m_ucCameraCount = 0;
    uint32_t m_dwLastCameraUpdate = 0;
    CPointerArray m_Lights;
    uint8_t m_ucLightCount = 0;
    uint32_t m_dwAmbient = 0xFFFFFFFF;
    CPointerArray m_MeshManagers;
    uint8_t m_ucMeshManagerCount = 0;
    CFaceManager* m_pFaceManagers = nullptr;
    uint8_t m_ucFaceManagerCount = 0;
    uint32_t m_dwBillboardsDrawn = 0;
    uint32_t m_dwLastFrameTime = 0;
    uint32_t m_dwClearFlags = 1;
    uint32_t m_dwMipFilter = 3;

    float m_ScratchIn[kScratchVertices][8] = {};
    D3DTLVERTEX m_ScratchOut[kScratchVertices] = {};
    D3DHVERTEX m_ScratchClip[kScratchVertices] = {};

    static bool s_b3DAvailable;
    static uint8_t s_ucRenderType;
    static uint32_t s_dwCapabilities;
    static plat::Surface* s_pTarget;
    static int32_t s_nTargetWidth;
    static int32_t s_nTargetHeight;
    static float s_fAspect;
    static bool s_bBlendModesEnabled;
    static uint32_t s_dwClearColour;
};
