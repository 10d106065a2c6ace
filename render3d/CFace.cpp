#include "render3d/CFace.h"

#include "common/DebugLog.h"
#include "render3d/C3DEngine.h"
#include "render3d/CMaterialManager.h"
#include "render3d/CTextureManager.h"
#include "render3d/RendererModules.h"
#include "render3d/VertexTransform.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr uint32_t kDrawNoClip = 0x4;  // every vertex is inside: no clipping needed

}  // namespace

CFace::CFace(const CFace& other)
    : m_dwEnabled(other.m_dwEnabled), m_pMatrix(other.m_pMatrix), m_WorldPosition(other.m_WorldPosition),
      m_ucViewMode(other.m_ucViewMode), m_wMaterial(other.m_wMaterial), m_wTexture(other.m_wTexture),
      m_ucBlendMode(other.m_ucBlendMode), m_Vertices(other.m_Vertices),
      m_Transformed(other.m_Vertices.size(), D3DVECTOR{0, 0, 0}), m_EyeMatrix(other.m_EyeMatrix)
{
}

void CFace::SetSize(uint8_t ucCount)
{
    m_Vertices.assign(ucCount, D3DVERTEX{});
    m_Transformed.assign(ucCount, D3DVECTOR{0, 0, 0});
}

const D3DMATRIX* CFace::WorldMatrix() const
{
    return m_ucViewMode == VIEW_EYE_SPACE ? &m_EyeMatrix : m_pMatrix;
}

bool CFace::Update()
{
    m_bVisible = false;
    // A fan needs three corners, and the plane comes from the first three.
    if (!m_dwEnabled || !g_p3DEngine || m_Vertices.size() < 3)
        return false;
    if (m_ucViewMode == VIEW_EYE_SPACE) {
        const auto& v = g_p3DEngine->GetViewMatrix().m;
        const D3DVECTOR& p = m_WorldPosition;
        float e[4];
        for (int c = 0; c < 4; ++c)
            e[c] = p.x * v[0][c] + p.y * v[1][c] + p.z * v[2][c] + v[3][c];
        const float w = std::fabs(e[3]) > 0 ? std::fabs(e[3]) : 1.0f;
        m_EyeMatrix = IdentityMatrix();
        m_EyeMatrix.m[3][0] = e[0] / w;
        m_EyeMatrix.m[3][1] = e[1] / w;
        m_EyeMatrix.m[3][2] = e[2] / w;
    }
    const D3DMATRIX& engineMatrix = m_ucViewMode == VIEW_CAMERA ? g_p3DEngine->GetCameraMatrix()
                                                                : g_p3DEngine->GetProjectionMatrix();
    const D3DMATRIX* pWorld = WorldMatrix();
    const D3DMATRIX combined = pWorld ? MultiplyMatrices(*pWorld, engineMatrix) : engineMatrix;
    const float fHalfHeight = C3DEngine::GetClipHalfHeight();
    const auto& m = combined.m;
    uint8_t ucAny = 0, ucShared = 0xFF;
    for (size_t i = 0; i < m_Vertices.size(); ++i) {
        const D3DVERTEX& s = m_Vertices[i];
        float h[4];
        for (int c = 0; c < 4; ++c)
            h[c] = s.x * m[0][c] + s.y * m[1][c] + s.z * m[2][c] + m[3][c];
        uint8_t ucCode = 0;
        const float w = std::fabs(h[3]);
        D3DVECTOR& t = m_Transformed[i];
        if (w > 0) {
            t = D3DVECTOR{h[0] / w, h[1] / w, h[2] / w};
        } else {
            // On the eye's own plane: nowhere on screen.
            t = D3DVECTOR{h[0], h[1], h[2]};
            ucCode |= OUT_NEAR;
        }
        if (t.x < -1.0f)
            ucCode |= OUT_LEFT;
        else if (t.x > 1.0f)
            ucCode |= OUT_RIGHT;
        if (t.y < -fHalfHeight)
            ucCode |= OUT_BOTTOM;
        else if (t.y > fHalfHeight)
            ucCode |= OUT_TOP;
        if (t.z < 0.0f)
            ucCode |= OUT_NEAR;
        else if (t.z > 1.0f)
            ucCode |= OUT_FAR;
        ucAny |= ucCode;
        ucShared &= ucCode;
    }
    m_bInside = ucAny == 0;
    if (ucShared != 0)
        return false;
    m_BoxMin = m_BoxMax = m_Transformed[0];
    for (const D3DVECTOR& t : m_Transformed) {
        m_BoxMin = D3DVECTOR{std::min(m_BoxMin.x, t.x), std::min(m_BoxMin.y, t.y), std::min(m_BoxMin.z, t.z)};
        m_BoxMax = D3DVECTOR{std::max(m_BoxMax.x, t.x), std::max(m_BoxMax.y, t.y), std::max(m_BoxMax.z, t.z)};
    }
    const D3DVECTOR& p0 = m_Transformed[0];
    const D3DVECTOR& p1 = m_Transformed[1];
    const D3DVECTOR& p2 = m_Transformed[2];
    const float a[3] = {p1.x - p0.x, p1.y - p0.y, p1.z - p0.z};
    const float b[3] = {p2.x - p0.x, p2.y - p0.y, p2.z - p0.z};
    D3DVECTOR n{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    const float fLength = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    // Corners in a line on screen leave no plane: the normal stays zero.
    if (fLength > 0)
        n = D3DVECTOR{n.x / fLength, n.y / fLength, n.z / fLength};
    m_PlaneNormal = n;
    m_fPlaneConstant = -(p0.x * n.x + p0.y * n.y + p0.z * n.z);
    m_bVisible = true;
    return true;
}

bool CFace::Draw()
{
    if (!g_p3DEngine || !C3DEngine::Is3DAvailable())
        return false;
    if (g_pMaterialManager)
        g_pMaterialManager->SetCurrentMaterial(m_wMaterial);
    if (g_pTextureManager)
        g_pTextureManager->SetCurrentTexture(m_wTexture);
    g_p3DEngine->SetBlendMode(m_ucBlendMode);
    g_p3DEngine->SetViewMode(m_ucViewMode);
    g_p3DEngine->SetWorldMatrix(WorldMatrix());
    if (!g_p3DEngine->DrawFan(m_Vertices.data(), static_cast<uint32_t>(m_Vertices.size()),
                              m_bInside ? kDrawNoClip : 0)) {
        DebugLog(0, "[CFace::Draw]: Error %d", -1);
        return false;
    }
    return true;
}
