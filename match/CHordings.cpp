#include "match/CHordings.h"

#include "common/DebugLog.h"
#include "platform/Random.h"
#include "render3d/CMeshManager.h"

namespace {

// Drawn, through the view of the scene.
constexpr uint8_t kBoardDrawState = MESH_VISIBLE | MESH_SCENE_VIEW;
// Each quad turns its front, the side the renderer draws, to the side its
// normal points to.
constexpr uint16_t kFacingIndices[6] = {2, 1, 0, 0, 3, 2};
constexpr uint16_t kClearIndices[6] = {0, 1, 2, 2, 3, 0};

// The coordinate of the axis a board of the orientation runs along.
int32_t AlongAxis(const CVector& v, uint32_t dwOrientation)
{
    return dwOrientation == CHordings::ALONG_Y ? v.y : v.x;
}

}  // namespace

CHordings::CHordings(int32_t cx, int32_t cy, int32_t cz, int32_t hx, int32_t hy, int32_t hz, uint32_t nQuads,
                     int32_t nOffset, float fFactor, uint16_t wTexture, uint8_t byFacing, bool bWithMeshes)
    : m_fFactor(fFactor), m_byFacing(byFacing)
{
    Build(cx, cy, cz, hx, hy, hz, nQuads, nOffset, wTexture, bWithMeshes);
    m_abyFlags[0] = m_abyFlags[1] = 0;
    m_byFullHeight = 0;
}

CHordings::~CHordings()
{
    for (ITEMMESHINFORMATION& quad : m_aQuads) {
        delete[] static_cast<D3DVERTEX*>(quad.pVertices);
        delete[] quad.pIndices;
    }
}

void CHordings::Build(int32_t cx, int32_t cy, int32_t cz, int32_t hx, int32_t hy, int32_t hz, uint32_t nQuads,
                      int32_t nOffset, uint16_t wTexture, bool bWithMeshes)
{
    const CVector centre(cx, cy, cz), half(hx, hy, hz);
    m_vTop = centre + half;
    m_vBottom = centre - half;
    m_vBottom.z = cz;
    const bool bFacing = m_byFacing != 0;
    if (m_vTop.x == m_vBottom.x) {
        m_dwOrientation = ALONG_Y;
        m_vTop.x += bFacing ? nOffset : -nOffset;
        m_Normal = {bFacing ? -1.0f : 1.0f, 0, 0};
    } else if (m_vTop.y == m_vBottom.y) {
        m_dwOrientation = ALONG_X;
        m_vTop.y += bFacing ? -nOffset : nOffset;
        m_Normal = {0, bFacing ? 1.0f : -1.0f, 0};
    } else {
        m_dwOrientation = FLAT;
        m_vTop.z += bFacing ? -nOffset : nOffset;
        m_Normal = {0, 0, bFacing ? 1.0f : -1.0f};
    }
    if (nQuads == 0 || nQuads > 255) {
        DebugLog(6, "[CHordings::Build] A board of %u quads cannot be built", nQuads);
        return;
    }
    m_byQuads = uint8_t(nQuads);
    if (!bWithMeshes)
        return;
    const float fFrom = float(AlongAxis(m_vBottom, m_dwOrientation));
    const float fStep = float(AlongAxis(m_vTop, m_dwOrientation) - AlongAxis(m_vBottom, m_dwOrientation)) / float(nQuads);
    // A point of the top or bottom edge at a distance along the board.
    auto edge = [&](const CVector& corner, float fAlong) {
        D3DVERTEX v{float(corner.x), float(corner.y), float(corner.z), m_Normal.x, m_Normal.y, m_Normal.z, 0, 0};
        (m_dwOrientation == ALONG_Y ? v.y : v.x) = fFrom + fAlong;
        return v;
    };
    m_aQuads.resize(nQuads);
    for (uint32_t i = 0; i < nQuads; ++i) {
        ITEMMESHINFORMATION& quad = m_aQuads[i];
        quad.primitiveType = D3DPT_TRIANGLELIST;
        quad.vertexFormat = D3DFVF_VERTEX;
        auto* pVertices = new D3DVERTEX[4];
        pVertices[0] = edge(m_vTop, float(i) * fStep);
        pVertices[1] = edge(m_vTop, float(i + 1) * fStep);
        pVertices[2] = edge(m_vBottom, float(i + 1) * fStep);
        pVertices[3] = edge(m_vBottom, float(i) * fStep);
        quad.pVertices = pVertices;
        quad.vertexCount = 4;
        quad.pIndices = new uint16_t[6];
        const uint16_t* pOrder = bFacing ? kFacingIndices : kClearIndices;
        for (int k = 0; k < 6; ++k)
            quad.pIndices[k] = pOrder[k];
        quad.indexCount = 6;
        quad.textureIndex = wTexture;
        quad.flags = kBoardDrawState;
        quad.materialIndex = NO_MATERIAL;
        // A cell of the 2 x 8 advert picture until the adverts are put on.
        const float left = float(plat::rand() % 2) * 0.5f, top = float(plat::rand() % 8) * 0.125f;
        const float cell[4] = {left, left + 0.5f, top, top + 0.125f};
        const float uv[4][2] = {{cell[0], cell[2]}, {cell[1], cell[2]}, {cell[1], cell[3]}, {cell[0], cell[3]}};
        for (int k = 0; k < 4; ++k) {
            pVertices[k].tu = uv[k][0];
            pVertices[k].tv = uv[k][1];
        }
    }
}

D3DVERTEX* CHordings::Vertices(uint32_t nQuad) const
{
    return nQuad < m_aQuads.size() ? static_cast<D3DVERTEX*>(m_aQuads[nQuad].pVertices) : nullptr;
}

const ITEMMESHINFORMATION* CHordings::GetQuad(uint32_t nQuad) const
{
    return nQuad < m_aQuads.size() ? &m_aQuads[nQuad] : nullptr;
}

void CHordings::AddToFrame(CMeshManager* pMeshManager)
{
    if (!pMeshManager)
        return;
    for (ITEMMESHINFORMATION& quad : m_aQuads)
        pMeshManager->Add(&quad, MESH_ENTRY_RECORD);
}

void CHordings::SetTextureRect(uint32_t nQuad, const float* pRect)
{
    D3DVERTEX* v = Vertices(nQuad);
    if (!v || !pRect)
        return;
    const float left = pRect[0], right = pRect[1], top = pRect[2], bottom = pRect[3];
    const float fStart = m_byFacing ? left : right, fEnd = m_byFacing ? right : left;
    v[0].tu = fStart, v[0].tv = top;
    v[1].tu = fEnd, v[1].tv = top;
    v[2].tu = fEnd, v[2].tv = bottom;
    v[3].tu = fStart, v[3].tv = bottom;
}

bool CHordings::IsSegmentBlocked(const CVector& from, const CVector& delta, int32_t nMargin, float* pfFraction) const
{
    float t = 0.0f;
    CVector crossing = from;
    if (m_dwOrientation == ALONG_Y) {
        if (m_byFacing ? delta.x < 1 : delta.x >= 0)
            return false;
        const int32_t nPlane = m_byFacing ? m_vBottom.x - nMargin : m_vBottom.x + nMargin;
        t = float(nPlane - from.x) / float(delta.x);
        crossing.y = from.y + TruncateToInt(double(delta.y) * t);
        crossing.x = nPlane;
    } else if (m_dwOrientation == ALONG_X) {
        if (m_byFacing ? delta.y >= 0 : delta.y < 1)
            return false;
        const int32_t nPlane = m_byFacing ? m_vBottom.y + nMargin : m_vBottom.y - nMargin;
        t = float(nPlane - from.y) / float(delta.y);
        crossing.x = from.x + TruncateToInt(double(delta.x) * t);
        crossing.y = nPlane;
    } else {
        return false;  // a flat board is walked over
    }
    if (t < 0.0f || t > 1.0f)
        return false;
    if (crossing.x < m_vBottom.x - nMargin || crossing.x > m_vTop.x + nMargin || crossing.y < m_vBottom.y - nMargin ||
        crossing.y > m_vTop.y + nMargin)
        return false;
    if (pfFraction)
        *pfFraction = t;
    return true;
}

bool CHordings::TestBallCollision(BALLCOLLISIONQUERY& query) const
{
    if (!query.pStart || !query.pPosition || !query.pVelocity)
        return false;
    const CVector& old = *query.pStart;
    CVector& v = *query.pVelocity;
    const int32_t r = query.nRadius;
    int nAxis = 0;
    int32_t nPlane = 0;
    if (m_dwOrientation == ALONG_Y) {
        if (m_byFacing ? v.x <= 0 : v.x >= 0)
            return false;
        nAxis = 0;
        nPlane = m_byFacing ? m_vBottom.x - r : m_vBottom.x + r;
    } else if (m_dwOrientation == ALONG_X) {
        if (m_byFacing ? v.y >= 0 : v.y <= 0)
            return false;
        nAxis = 1;
        nPlane = m_byFacing ? m_vBottom.y + r : m_vBottom.y - r;
    } else {
        if (m_byFacing ? v.z <= 0 : v.z >= 0)
            return false;
        nAxis = 2;
        nPlane = m_byFacing ? m_vBottom.z - 2 * r : m_vBottom.z;
    }
    const int32_t aOld[3] = {old.x, old.y, old.z}, aV[3] = {v.x, v.y, v.z};
    const float t = float(nPlane - aOld[nAxis]) / float(aV[nAxis]);
    if (t < 0.0f || t > query.fImpactTime)
        return false;
    int32_t aCross[3];
    for (int k = 0; k < 3; ++k)
        aCross[k] = k == nAxis ? nPlane : aOld[k] + TruncateToInt(double(aV[k]) * t);
    if (aCross[0] < m_vBottom.x - r || aCross[0] > m_vTop.x + r || aCross[1] < m_vBottom.y - r ||
        aCross[1] > m_vTop.y + r)
        return false;
    if (!m_byFullHeight && (aCross[2] < m_vBottom.z - 2 * r || aCross[2] > m_vTop.z))
        return false;
    v.ScaleBy(query.fFactor * m_fFactor, v);
    (nAxis == 0 ? v.x : nAxis == 1 ? v.y : v.z) *= -1;
    CVector travel;
    v.Scale(0.07f - t, travel);
    *query.pPosition = CVector(aCross[0], aCross[1], aCross[2]) + travel;
    return true;
}
