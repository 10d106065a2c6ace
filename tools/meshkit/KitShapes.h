#pragma once
// Simple solids added to an .x mesh: quads, boxes, prisms round an upright
// axis, spheres and hemispheres, each with outward normals, texture
// coordinates inside a rectangle of the texture and one material number.
// Faces are wound as the renderer draws their front: (b - a) x (c - a)
// points into the solid.
#include "render3d/XFileData.h"

namespace tools {

// Left, top, right, bottom texture coordinates.
struct UvRect {
    float u0 = 0, v0 = 0, u1 = 1, v1 = 1;
};

class KitShapes {
public:
    explicit KitShapes(XMeshData& mesh) : m_Mesh(mesh) {}

    void SetMaterial(uint16_t wMaterial) { m_wMaterial = wMaterial; }
    void SetUv(const UvRect& uv) { m_Uv = uv; }

    // Corners in turning order, seen from the side the normal points to;
    // texture corners (u0, v1), (u1, v1), (u1, v0), (u0, v0) of the rectangle
    // scaled by the repeats.
    void Quad(const D3DVECTOR corners[4], D3DVECTOR normal, float fURepeat = 1, float fVRepeat = 1);
    // Both sides.
    void TwoSidedQuad(const D3DVECTOR corners[4], D3DVECTOR normal, float fURepeat = 1, float fVRepeat = 1);
    void Box(D3DVECTOR lo, D3DVECTOR hi);
    // A flat polygon (convex, or star-shaped round its first corner) fanned
    // from its first corner; texture coordinates from two of its axes scaled
    // by fUvScale.
    void Fan(const std::vector<D3DVECTOR>& corners, D3DVECTOR normal, float fUvScale);
    // An upright prism of n sides from y0 to y1 round (cx, cz), elliptic radii
    // rx and rz at the bottom and scaled by fTopScale at the top; capped.
    void Prism(float cx, float cz, float y0, float y1, float rx, float rz, int nSides, float fTopScale = 1);
    // A sphere of rings x segments; an inward one is seen from inside; a dome
    // keeps the upper half only.
    void Sphere(D3DVECTOR centre, float fRadius, int nRings, int nSegments, bool bInward = false, bool bDome = false);

private:
    uint16_t Vertex(const D3DVECTOR& p, const D3DVECTOR& n, float u, float v);
    void Face(uint16_t a, uint16_t b, uint16_t c, const D3DVECTOR& outward);

    XMeshData& m_Mesh;
    uint16_t m_wMaterial = 0;
    UvRect m_Uv;
};

}  // namespace tools
