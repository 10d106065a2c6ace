#pragma once
// Flat meshes made in code: the pitch's grass and markings, spots, strips,
// rings and discs. A caller starts a mesh, sets its texture, material and
// flags, appends shapes (triangle lists lying in a plane of constant height,
// facing up) and hands every mesh to one layer of the engine's draw lists.
// The builder owns the meshes; the lists only refer to them.
#include "common/CPointerArray.h"
#include "render3d/RenderTypes.h"

class CMeshBuilder {
public:
    CMeshBuilder();
    ~CMeshBuilder();
    CMeshBuilder(const CMeshBuilder&) = delete;
    CMeshBuilder& operator=(const CMeshBuilder&) = delete;

    void AddMesh();
    void SelectMesh(uint16_t wMesh);
    void ClearCurrentMesh();
    void SetDrawFlags(uint32_t dwFlags);
    void SetTexture(uint16_t wTexture);
    void SetMaterial(uint16_t wMaterial);
    void SetShadeByte(uint8_t ucShade);
    // pRect: left u, top v, right u, bottom v; null means 0, 0 to 1, 1.
    void SetTextureTiling(uint8_t ucOn, const float* pRect, float fTileSize);

    void AddGrid(float x0, float y0, float z, float x1, float y1, float fUnused, uint16_t wColumns, uint16_t wRows,
                 uint8_t ucSwap);
    void AddTexturedRectangle(float x0, float y0, float z0, float x1, float y1, float z1, float fURepeat,
                              float fVRepeat, uint8_t ucFlip);
    // Mapping with tiling: 0 the tiling rectangle once, 1 repeated along x,
    // 2 along y, 3 along y the other way.
    void AddRectangle(float x0, float y0, float z0, float x1, float y1, float z1, uint8_t ucMapping);
    void AddStrip(float sx, float sy, float sz, float ex, float ey, float ez, float fWidth, float fUFactor);
    // Bits 1 (0 to 90 degrees from +x towards +y), 8 (90 to 180), 4 (180 to 270), 2 (270 to 360).
    void AddRingQuadrants(float cx, float cy, float cz, float fInner, float fOuter, uint8_t ucQuadrants);
    void AddDisc(float cx, float cy, float cz, float fRadius);
    // The part of the ring beyond the line x = cut, seen from the centre.
    void AddClippedRing(float cx, float cy, float cz, float fInner, float fOuter, float fCutX);
    void AddToMeshManager(uint8_t ucLayer);

    uint16_t GetMeshCount() const { return m_wMeshCount; }
    const ITEMMESHINFORMATION* GetMesh(uint16_t wMesh) const;
    uint16_t GetCurrentMeshNumber() const { return m_wCurrentMesh; }

private:
    struct Corner {
        float x, y, z, u, v;
    };
    // Room for the shape's vertices and indices after the current ones; null
    // (and a log line) when there is no current mesh or 16-bit indices cannot
    // reach the new vertices.
    D3DVERTEX* Grow(uint32_t dwVertices, uint32_t dwIndices, uint16_t** ppIndices, uint16_t* pwFirstVertex);
    void AddQuad(const Corner corners[4]);
    void AddQuads(const Corner* pCorners, uint32_t dwQuads);

    CPointerArray m_Meshes;
    uint16_t m_wMeshCount = 0;
    ITEMMESHINFORMATION* m_pCurrent = nullptr;
    uint16_t m_wCurrentMesh = 0;
    float m_TileRect[4] = {0, 0, 1, 1};
    float m_fTileSize = 1.0f;
    bool m_bTiling = false;
};
