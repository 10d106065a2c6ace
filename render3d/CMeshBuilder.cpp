#include "render3d/CMeshBuilder.h"

#include "common/DebugLog.h"
#include "render3d/C3DEngine.h"
#include "render3d/CMeshManager.h"
#include "render3d/RendererModules.h"
#include "render3d/VertexTransform.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kStep = kPi / 12.0f;  // 15 degrees

// Sines and cosines of 0, 15, ... 90 degrees.
struct QuarterTable {
    float sine[7];
    float cosine[7];
    QuarterTable()
    {
        for (int i = 0; i < 7; ++i) {
            sine[i] = std::sin(kStep * static_cast<float>(i));
            cosine[i] = std::cos(kStep * static_cast<float>(i));
        }
        sine[6] = cosine[0] = 1.0f;
        cosine[6] = sine[0] = 0.0f;
    }
};
const QuarterTable kQuarter;

D3DVERTEX UpVertex(float x, float y, float z, float u, float v)
{
    return D3DVERTEX{x, y, z, 0.0f, 0.0f, 1.0f, u, v};
}

}  // namespace

CMeshBuilder::CMeshBuilder()
{
    m_Meshes.SetSize(0, 5);
}

CMeshBuilder::~CMeshBuilder()
{
    for (int i = 0; i < m_wMeshCount; ++i) {
        auto* pMesh = static_cast<ITEMMESHINFORMATION*>(m_Meshes.GetAt(i));
        delete[] static_cast<D3DVERTEX*>(pMesh->pVertices);
        delete[] pMesh->pIndices;
        delete pMesh->pMatrix;
        delete pMesh;
    }
}

const ITEMMESHINFORMATION* CMeshBuilder::GetMesh(uint16_t wMesh) const
{
    return wMesh < m_wMeshCount ? static_cast<const ITEMMESHINFORMATION*>(m_Meshes.GetAt(wMesh)) : nullptr;
}

void CMeshBuilder::AddMesh()
{
    m_bTiling = false;
    auto* pMesh = new ITEMMESHINFORMATION;
    pMesh->primitiveType = D3DPT_TRIANGLELIST;
    pMesh->vertexFormat = D3DFVF_VERTEX;
    pMesh->zCompare = D3DCMP_LESS;
    pMesh->materialIndex = 0;
    pMesh->textureIndex = NO_TEXTURE;
    pMesh->flags = MESH_VISIBLE | MESH_SCENE_VIEW;
    pMesh->drawOrderKey = DEFAULT_DRAW_ORDER;
    pMesh->pMatrix = new D3DMATRIX(IdentityMatrix());
    m_Meshes.SetAtGrow(m_wMeshCount, pMesh);
    m_pCurrent = pMesh;
    m_wCurrentMesh = m_wMeshCount++;
}

void CMeshBuilder::SelectMesh(uint16_t wMesh)
{
    if (wMesh < m_wMeshCount) {
        m_pCurrent = static_cast<ITEMMESHINFORMATION*>(m_Meshes.GetAt(wMesh));
        m_wCurrentMesh = wMesh;
    }
    m_bTiling = false;
}

void CMeshBuilder::ClearCurrentMesh()
{
    if (!m_pCurrent)
        return;
    delete[] static_cast<D3DVERTEX*>(m_pCurrent->pVertices);
    delete[] m_pCurrent->pIndices;
    m_pCurrent->pVertices = nullptr;
    m_pCurrent->pIndices = nullptr;
    m_pCurrent->vertexCount = 0;
    m_pCurrent->indexCount = 0;
}

void CMeshBuilder::SetDrawFlags(uint32_t dwFlags)
{
    if (m_pCurrent)
        m_pCurrent->drawFlags = dwFlags;
}

void CMeshBuilder::SetTexture(uint16_t wTexture)
{
    if (m_pCurrent)
        m_pCurrent->textureIndex = wTexture;
}

void CMeshBuilder::SetMaterial(uint16_t wMaterial)
{
    if (m_pCurrent)
        m_pCurrent->materialIndex = wMaterial;
}

void CMeshBuilder::SetShadeByte(uint8_t ucShade)
{
    if (m_pCurrent)
        m_pCurrent->blendMode = ucShade;
}

void CMeshBuilder::SetTextureTiling(uint8_t ucOn, const float* pRect, float fTileSize)
{
    m_bTiling = ucOn != 0;
    if (!m_bTiling)
        return;
    const float whole[4] = {0, 0, 1, 1};
    std::memcpy(m_TileRect, pRect ? pRect : whole, sizeof m_TileRect);
    m_fTileSize = fTileSize > 0.0f ? fTileSize : 1.0f;
}

D3DVERTEX* CMeshBuilder::Grow(uint32_t dwVertices, uint32_t dwIndices, uint16_t** ppIndices, uint16_t* pwFirstVertex)
{
    if (!m_pCurrent)
        return nullptr;
    const uint32_t dwOldVertices = m_pCurrent->vertexCount, dwOldIndices = m_pCurrent->indexCount;
    if (dwOldVertices + dwVertices > 65536u) {
        DebugLog(6, "[CMeshBuilder] mesh %u would pass 65536 vertices; shape left out", m_wCurrentMesh);
        return nullptr;
    }
    auto* pVertices = new D3DVERTEX[dwOldVertices + dwVertices];
    auto* pIndices = new uint16_t[dwOldIndices + dwIndices];
    if (dwOldVertices)
        std::memcpy(pVertices, m_pCurrent->pVertices, dwOldVertices * sizeof(D3DVERTEX));
    if (dwOldIndices)
        std::memcpy(pIndices, m_pCurrent->pIndices, dwOldIndices * sizeof(uint16_t));
    delete[] static_cast<D3DVERTEX*>(m_pCurrent->pVertices);
    delete[] m_pCurrent->pIndices;
    m_pCurrent->pVertices = pVertices;
    m_pCurrent->pIndices = pIndices;
    m_pCurrent->vertexCount = dwOldVertices + dwVertices;
    m_pCurrent->indexCount = dwOldIndices + dwIndices;
    *ppIndices = pIndices + dwOldIndices;
    *pwFirstVertex = static_cast<uint16_t>(dwOldVertices);
    return pVertices + dwOldVertices;
}

void CMeshBuilder::AddQuads(const Corner* pCorners, uint32_t dwQuads)
{
    uint16_t* pIndices = nullptr;
    uint16_t wFirst = 0;
    D3DVERTEX* pVertices = Grow(dwQuads * 4, dwQuads * 6, &pIndices, &wFirst);
    if (!pVertices)
        return;
    for (uint32_t q = 0; q < dwQuads; ++q) {
        const Corner* c = pCorners + q * 4;
        for (int k = 0; k < 4; ++k)
            pVertices[q * 4 + k] = UpVertex(c[k].x, c[k].y, c[k].z, c[k].u, c[k].v);
        // Seen from above, front triangles turn so that (b - a) x (c - a)
        // points down (the cameras' screens mirror the right-handed world).
        const float cross = (c[1].x - c[0].x) * (c[2].y - c[0].y) - (c[1].y - c[0].y) * (c[2].x - c[0].x);
        static const uint16_t keep[6] = {0, 1, 2, 0, 2, 3}, reverse[6] = {0, 2, 1, 0, 3, 2};
        const uint16_t* order = cross > 0.0f ? reverse : keep;
        for (int i = 0; i < 6; ++i)
            pIndices[q * 6 + i] = static_cast<uint16_t>(wFirst + q * 4 + order[i]);
    }
}

void CMeshBuilder::AddQuad(const Corner corners[4])
{
    AddQuads(corners, 1);
}

void CMeshBuilder::AddGrid(float x0, float y0, float z, float x1, float y1, float /*fUnused*/, uint16_t wColumns,
                           uint16_t wRows, uint8_t ucSwap)
{
    if (!m_pCurrent || wColumns == 0 || wRows == 0)
        return;
    const uint32_t dwVertices = (wColumns + 1u) * (wRows + 1u);
    uint16_t* pIndices = nullptr;
    uint16_t wFirst = 0;
    D3DVERTEX* pVertices = Grow(dwVertices, wColumns * wRows * 6u, &pIndices, &wFirst);
    if (!pVertices)
        return;
    const float dx = (x1 - x0) / wColumns, dy = (y1 - y0) / wRows;
    for (uint32_t r = 0; r <= wRows; ++r) {
        for (uint32_t c = 0; c <= wColumns; ++c) {
            const float u = static_cast<float>(ucSwap ? r : c), v = static_cast<float>(ucSwap ? c : r);
            pVertices[r * (wColumns + 1u) + c] = UpVertex(x0 + dx * c, y0 + dy * r, z, u, v);
        }
    }
    const bool bReverse = dx * dy > 0.0f;
    for (uint32_t r = 0; r < wRows; ++r) {
        for (uint32_t c = 0; c < wColumns; ++c) {
            const uint16_t a = static_cast<uint16_t>(wFirst + r * (wColumns + 1u) + c);
            const uint16_t b = static_cast<uint16_t>(a + 1), d = static_cast<uint16_t>(a + wColumns + 1u),
                           e = static_cast<uint16_t>(d + 1);
            // Corners a, b, e, d turn the same way as x then y.
            const uint16_t cell[6] = {a, bReverse ? e : b, bReverse ? b : e, a, bReverse ? d : e, bReverse ? e : d};
            std::memcpy(pIndices + (r * wColumns + c) * 6, cell, sizeof cell);
        }
    }
}

void CMeshBuilder::AddTexturedRectangle(float x0, float y0, float z0, float x1, float y1, float z1, float fURepeat,
                                        float fVRepeat, uint8_t ucFlip)
{
    Corner c[4] = {{x0, y0, z0, 0, 0}, {x1, y0, z0, fURepeat, 0}, {x1, y1, z1, fURepeat, fVRepeat},
                   {x0, y1, z1, 0, fVRepeat}};
    if (ucFlip)
        for (Corner& k : c)
            std::swap(k.u, k.v);
    AddQuad(c);
}

void CMeshBuilder::AddRectangle(float x0, float y0, float z0, float x1, float y1, float z1, uint8_t ucMapping)
{
    // Corners in turn: (x0, y0), (x1, y0), (x1, y1), (x0, y1); a rectangle
    // standing on a line of constant x or y spans that line and the heights.
    Corner c[4];
    if (x0 == x1 && y0 != y1) {
        c[0] = {x0, y0, z0, 0, 0};
        c[1] = {x0, y1, z0, 1, 0};
        c[2] = {x0, y1, z1, 1, 1};
        c[3] = {x0, y0, z1, 0, 1};
    } else if (y0 == y1 && x0 != x1) {
        c[0] = {x0, y0, z0, 0, 0};
        c[1] = {x1, y0, z0, 1, 0};
        c[2] = {x1, y0, z1, 1, 1};
        c[3] = {x0, y0, z1, 0, 1};
    } else {
        c[0] = {x0, y0, z0, 0, 0};
        c[1] = {x1, y0, z0, 1, 0};
        c[2] = {x1, y1, z1, 1, 1};
        c[3] = {x0, y1, z1, 0, 1};
    }
    if (m_bTiling && ucMapping <= 3) {
        const float l = m_TileRect[0], t = m_TileRect[1], r = m_TileRect[2], b = m_TileRect[3];
        if (ucMapping == 0 || ucMapping == 1) {
            const float repeats = ucMapping == 1 ? std::fabs(x1 - x0) / m_fTileSize : 1.0f;
            const float right = l + (r - l) * repeats;
            c[0].u = c[3].u = l;
            c[1].u = c[2].u = right;
            c[0].v = c[1].v = t;
            c[2].v = c[3].v = b;
        } else {
            // Along y the texture's u follows the line; mapping 3 runs it back.
            const float repeats = std::fabs(y1 - y0) / m_fTileSize;
            const float start = ucMapping == 2 ? l : l + (r - l) * repeats;
            const float end = ucMapping == 2 ? l + (r - l) * repeats : l;
            c[0].u = c[1].u = start;
            c[2].u = c[3].u = end;
            c[0].v = c[3].v = t;
            c[1].v = c[2].v = b;
        }
    }
    AddQuad(c);
}

void CMeshBuilder::AddStrip(float sx, float sy, float sz, float ex, float ey, float ez, float fWidth, float fUFactor)
{
    const float dx = ex - sx, dy = ey - sy;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (!m_pCurrent || length <= 0.0f)
        return;
    const float ox = -dy / length * fWidth * 0.5f, oy = dx / length * fWidth * 0.5f;
    float extent = 1.0f, u0 = 0.0f, top = 0.0f, bottom = 1.0f;
    if (m_bTiling) {
        u0 = m_TileRect[0];
        extent = u0 + (m_TileRect[2] - m_TileRect[0]) * fUFactor;
        top = m_TileRect[1];
        bottom = m_TileRect[3];
    }
    const Corner c[4] = {{sx + ox, sy + oy, sz, u0, top},
                         {ex + ox, ey + oy, ez, extent, top},
                         {ex - ox, ey - oy, ez, extent, bottom},
                         {sx - ox, sy - oy, sz, u0, bottom}};
    AddQuad(c);
}

void CMeshBuilder::AddRingQuadrants(float cx, float cy, float cz, float fInner, float fOuter, uint8_t ucQuadrants)
{
    if (!m_pCurrent)
        return;
    // Quadrant bits by their starting angle in quarter turns.
    static const uint8_t kBits[4] = {1, 8, 4, 2};
    const float uSpan = m_bTiling ? 2.0f * kPi * fOuter / (28.0f * m_fTileSize) : 1.0f;
    const float l = m_bTiling ? m_TileRect[0] : 0.0f, t = m_bTiling ? m_TileRect[1] : 0.0f,
                b = m_bTiling ? m_TileRect[3] : 1.0f;
    std::vector<Corner> corners;
    for (int q = 0; q < 4; ++q) {
        if (!(ucQuadrants & kBits[q]))
            continue;
        for (int s = 0; s < 6; ++s) {
            // Rotating a quarter table entry by q quarter turns.
            auto at = [q](int i, float r, float& x, float& y) {
                const float c = kQuarter.cosine[i], n = kQuarter.sine[i];
                const float rx[4] = {c, -n, -c, n}, ry[4] = {n, c, -n, -c};
                x = rx[q] * r;
                y = ry[q] * r;
            };
            float ax, ay, bx, by, cxo, cyo, dx, dy;
            at(s, fOuter, ax, ay);
            at(s + 1, fOuter, bx, by);
            at(s + 1, fInner, cxo, cyo);
            at(s, fInner, dx, dy);
            corners.push_back({cx + ax, cy + ay, cz, l, t});
            corners.push_back({cx + bx, cy + by, cz, l + uSpan, t});
            corners.push_back({cx + cxo, cy + cyo, cz, l + uSpan, b});
            corners.push_back({cx + dx, cy + dy, cz, l, b});
        }
    }
    if (!corners.empty())
        AddQuads(corners.data(), static_cast<uint32_t>(corners.size() / 4));
}

void CMeshBuilder::AddDisc(float cx, float cy, float cz, float fRadius)
{
    uint16_t* pIndices = nullptr;
    uint16_t wFirst = 0;
    D3DVERTEX* pVertices = Grow(9, 24, &pIndices, &wFirst);
    if (!pVertices)
        return;
    const float l = m_bTiling ? m_TileRect[0] : 0.0f, t = m_bTiling ? m_TileRect[1] : 0.0f;
    const float w = m_bTiling ? m_TileRect[2] - m_TileRect[0] : 1.0f, h = m_bTiling ? m_TileRect[3] - m_TileRect[1] : 1.0f;
    pVertices[0] = UpVertex(cx, cy, cz, l + w * 0.5f, t + h * 0.5f);
    for (int i = 0; i < 8; ++i) {
        const float a = kPi / 4.0f * static_cast<float>(i);
        const float c = std::cos(a), s = std::sin(a);
        pVertices[1 + i] = UpVertex(cx + c * fRadius, cy + s * fRadius, cz, l + w * (0.5f + 0.5f * c),
                                    t + h * (0.5f - 0.5f * s));
    }
    for (int i = 0; i < 8; ++i) {
        // Rim points run anticlockwise seen from above, so each triangle takes
        // the next rim point before this one.
        pIndices[i * 3] = wFirst;
        pIndices[i * 3 + 1] = static_cast<uint16_t>(wFirst + 1 + (i + 1) % 8);
        pIndices[i * 3 + 2] = static_cast<uint16_t>(wFirst + 1 + i);
    }
}

void CMeshBuilder::AddClippedRing(float cx, float cy, float cz, float fInner, float fOuter, float fCutX)
{
    if (!m_pCurrent || fOuter <= 0.0f || fInner < 0.0f || fInner > fOuter)
        return;
    const float side = fCutX >= cx ? 1.0f : -1.0f;
    const float d = std::fabs(fCutX - cx);
    if (d >= fOuter)
        return;
    // The kept arcs run over +-outerHalf (outer circle) and +-innerHalf
    // (inner circle) about the direction away from the centre; both end on the line.
    const float outerHalf = std::acos(d / fOuter);
    const bool innerCrosses = d < fInner;
    const float innerHalf = innerCrosses ? std::acos(d / fInner) : 0.0f;
    const int segments = static_cast<int>(std::ceil(2.0f * outerHalf / kStep));
    const float l = m_bTiling ? m_TileRect[0] : 0.0f, t = m_bTiling ? m_TileRect[1] : 0.0f,
                b = m_bTiling ? m_TileRect[3] : 1.0f;
    const float uSpan = m_bTiling ? 2.0f * kPi * fOuter / (28.0f * m_fTileSize) : 1.0f;
    std::vector<Corner> corners;
    auto outerPoint = [&](int k, float& x, float& y) {
        const float a = -outerHalf + 2.0f * outerHalf * static_cast<float>(k) / static_cast<float>(segments);
        x = cx + side * fOuter * std::cos(a);
        y = cy + fOuter * std::sin(a);
    };
    auto innerPoint = [&](int k, float& x, float& y) {
        if (innerCrosses) {
            const float a = -innerHalf + 2.0f * innerHalf * static_cast<float>(k) / static_cast<float>(segments);
            x = cx + side * fInner * std::cos(a);
            y = cy + fInner * std::sin(a);
        } else {
            // The inner circle stays on the near side: the ring's inner edge is the line.
            float ox, oy;
            outerPoint(k, ox, oy);
            x = fCutX;
            y = oy;
        }
    };
    for (int k = 0; k < segments; ++k) {
        float ax, ay, bx, by, ix, iy, jx, jy;
        outerPoint(k, ax, ay);
        outerPoint(k + 1, bx, by);
        innerPoint(k + 1, jx, jy);
        innerPoint(k, ix, iy);
        corners.push_back({ax, ay, cz, l, t});
        corners.push_back({bx, by, cz, l + uSpan, t});
        corners.push_back({jx, jy, cz, l + uSpan, b});
        corners.push_back({ix, iy, cz, l, b});
    }
    if (!corners.empty())
        AddQuads(corners.data(), static_cast<uint32_t>(corners.size() / 4));
}

void CMeshBuilder::AddToMeshManager(uint8_t ucLayer)
{
    CMeshManager* pLayer = g_p3DEngine ? g_p3DEngine->GetMeshManager(ucLayer) : nullptr;
    if (!pLayer)
        return;
    for (int i = 0; i < m_wMeshCount; ++i)
        pLayer->Add(m_Meshes.GetAt(i), MESH_ENTRY_RECORD);
}
