#pragma once
// A run of advertising boards: one flat board, upright or leaning, cut into
// equal quads, each a small textured mesh showing one cell of the advert
// picture. The match puts its rows round the pitch and treats each as a wall
// for the ball and for paths; only its front stops anything.
#include "match/CMatchBoundingZone.h"
#include "match/CVector.h"
#include "render3d/RenderTypes.h"

#include <cstdint>
#include <vector>

class CMeshManager;

class CHordings {
public:
    // How the board lies: along y (both corners share x), along x, or flat.
    enum : uint32_t { ALONG_Y = 0, ALONG_X = 1, FLAT = 2 };

    // A board centred on the ground line (cx, cy, cz) with half sizes; the
    // lean offset moves only the top edge, towards the side the facing flag
    // gives. The quad count must not be 0 (the board then has no quads).
    CHordings(int32_t cx, int32_t cy, int32_t cz, int32_t hx, int32_t hy, int32_t hz, uint32_t nQuads,
              int32_t nOffset, float fFactor, uint16_t wTexture, uint8_t byFacing, bool bWithMeshes);
    ~CHordings();
    CHordings(const CHordings&) = delete;
    CHordings& operator=(const CHordings&) = delete;

    // Every quad as a mesh record of the list.
    void AddToFrame(CMeshManager* pMeshManager);
    // The quad's cell of the advert picture: left u, right u, top v, bottom
    // v; a board facing its clear side shows it mirrored.
    void SetTextureRect(uint32_t nQuad, const float* pRect);
    // Whether the horizontal move from -> from + delta meets the board's
    // front within the margin; the fraction of the move at the crossing.
    bool IsSegmentBlocked(const CVector& from, const CVector& delta, int32_t nMargin, float* pfFraction) const;
    // Whether the ball's move of this tick meets the board's front; a hit
    // bounces it off and sends it on for the rest of the tick.
    bool TestBallCollision(BALLCOLLISIONQUERY& query) const;

    void SetFullHeight(bool bFull) { m_byFullHeight = bFull ? 1 : 0; }
    bool IsFullHeight() const { return m_byFullHeight != 0; }
    const CVector& GetTop() const { return m_vTop; }
    const CVector& GetBottom() const { return m_vBottom; }
    uint32_t GetOrientation() const { return m_dwOrientation; }
    uint8_t GetFacing() const { return m_byFacing; }
    uint8_t GetQuadCount() const { return m_byQuads; }
    float GetFactor() const { return m_fFactor; }
    // The quad's mesh record; null for a board without meshes or a bad index.
    const ITEMMESHINFORMATION* GetQuad(uint32_t nQuad) const;

private:
    void Build(int32_t cx, int32_t cy, int32_t cz, int32_t hx, int32_t hy, int32_t hz, uint32_t nQuads,
               int32_t nOffset, uint16_t wTexture, bool bWithMeshes);
    D3DVERTEX* Vertices(uint32_t nQuad) const;

    CVector m_vTop;
    CVector m_vBottom;
    float m_fFactor = 0.0f;
    uint32_t m_dwOrientation = ALONG_Y;
    uint8_t m_byFacing = 0;
    uint8_t m_byQuads = 0;
    uint8_t m_abyFlags[2] = {};
    uint8_t m_byFullHeight = 0;
    D3DVECTOR m_Normal{0, 0, 0};
    std::vector<ITEMMESHINFORMATION> m_aQuads;
};
