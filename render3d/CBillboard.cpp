#include "render3d/CBillboard.h"

#include "render3d/C3DEngine.h"
#include "render3d/CCamera.h"
#include "render3d/RendererModules.h"

#include <cmath>

CBillboard::CBillboard()
    : m_Orientation(IdentityMatrix()), m_WorldMatrix(IdentityMatrix())
{
    for (D3DVERTEX& v : m_Vertices)
        v.nz = -1.0f;
    m_Mesh.primitiveType = D3DPT_TRIANGLELIST;
    m_Mesh.vertexFormat = D3DFVF_VERTEX;
    m_Mesh.pVertices = m_Vertices;
    m_Mesh.vertexCount = 4;
    m_Mesh.pIndices = m_Indices;
    m_Mesh.indexCount = 6;
    m_Mesh.drawFlags = D3DDP_DONOTLIGHT;
    m_Mesh.zCompare = D3DCMP_LESS;
    m_Mesh.materialIndex = 0;
    m_Mesh.textureIndex = 0;
    m_Mesh.blendMode = 0;
    m_Mesh.flags = MESH_NO_PERSPECTIVE;  // drawn in eye space
    m_Mesh.drawOrderKey = DEFAULT_DRAW_ORDER;
    m_Mesh.pMatrix = &m_WorldMatrix;
    SetTextureCoordinates();
}

void CBillboard::SetTextureRect(uint8_t ucFramesPerDirection, uint8_t ucDirections, const BillboardTextureRect* pRects)
{
    m_ucFramesPerDirection = ucFramesPerDirection;
    m_ucDirections = ucDirections;
    m_pRects = pRects;
}

void CBillboard::SetHalfSize(float fHalfHeight, float fHalfWidth)
{
    const float corners[4][2] = {{-fHalfWidth, fHalfHeight},
                                 {fHalfWidth, fHalfHeight},
                                 {fHalfWidth, -fHalfHeight},
                                 {-fHalfWidth, -fHalfHeight}};
    for (int i = 0; i < 4; ++i) {
        m_Vertices[i].x = corners[i][0];
        m_Vertices[i].y = corners[i][1];
        m_Vertices[i].z = 0.0f;
    }
}

void CBillboard::SetCorners(float x0, float y0, float x1, float y1)
{
    const float corners[4][3] = {{x0, y1, -y1 / 2}, {x1, y1, -y1 / 2}, {x1, y0, 0.0f}, {x0, y0, 0.0f}};
    for (int i = 0; i < 4; ++i) {
        m_Vertices[i].x = corners[i][0];
        m_Vertices[i].y = corners[i][1];
        m_Vertices[i].z = corners[i][2];
    }
}

int CBillboard::DirectionIndex() const
{
    if (m_ucDirections <= 1 || !g_p3DEngine)
        return 0;
    const CCamera* pCamera = g_p3DEngine->GetCamera(g_p3DEngine->m_ucCurrentCamera);
    if (!pCamera)
        return 0;
    float d[3] = {pCamera->m_Position.x - m_WorldPosition.x, pCamera->m_Position.y - m_WorldPosition.y,
                  pCamera->m_Position.z - m_WorldPosition.z};
    const float fLength = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (fLength > 0)
        for (float& c : d)
            c /= fLength;
    const auto& m = m_Orientation.m;
    const float x = d[0] * m[0][0] + d[1] * m[1][0] + d[2] * m[2][0] + m[3][0];
    const float y = d[0] * m[0][1] + d[1] * m[1][1] + d[2] * m[2][1] + m[3][1];
    const double kPi = 3.14159265358979323846;
    const int nIndex = static_cast<int>((std::atan2(double{x}, double{y}) + kPi) * m_ucDirections / (2 * kPi));
    return nIndex % m_ucDirections;
}

void CBillboard::SetTextureCoordinates()
{
    BillboardTextureRect rect{0, 0, 1, 1};
    if (m_pRects)
        rect = m_pRects[DirectionIndex() * m_ucFramesPerDirection];
    const float uv[4][2] = {{rect.left, rect.top}, {rect.right, rect.top}, {rect.right, rect.bottom},
                            {rect.left, rect.bottom}};
    for (int i = 0; i < 4; ++i) {
        m_Vertices[i].tu = uv[i][0];
        m_Vertices[i].tv = uv[i][1];
    }
}

bool CBillboard::Update(ITEMMESHINFORMATION** ppMesh)
{
    if (ppMesh)
        *ppMesh = &m_Mesh;
    if (!m_bEnabled || !g_p3DEngine || !C3DEngine::Is3DAvailable())
        return false;
    const auto& v = g_p3DEngine->GetViewMatrix().m;
    const D3DVECTOR& p = m_WorldPosition;
    m_EyePosition = D3DVECTOR{p.x * v[0][0] + p.y * v[1][0] + p.z * v[2][0] + v[3][0],
                              p.x * v[0][1] + p.y * v[1][1] + p.z * v[2][1] + v[3][1],
                              p.x * v[0][2] + p.y * v[1][2] + p.z * v[2][2] + v[3][2]};
    m_WorldMatrix = IdentityMatrix();
    m_WorldMatrix.m[3][0] = m_EyePosition.x;
    m_WorldMatrix.m[3][1] = m_EyePosition.y;
    m_WorldMatrix.m[3][2] = m_EyePosition.z;
    if (g_p3DEngine->ConvertWorldToScreen(&m_Mesh, nullptr, nullptr) != 0)
        return false;
    SetTextureCoordinates();
    g_p3DEngine->CountBillboardDrawn();
    return true;
}
