#include "tools/meshkit/KitShapes.h"

#include <cmath>

namespace tools {

namespace {

constexpr float kPi = 3.14159265f;

D3DVECTOR Minus(const D3DVECTOR& a, const D3DVECTOR& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

D3DVECTOR Cross(const D3DVECTOR& a, const D3DVECTOR& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

float Dot(const D3DVECTOR& a, const D3DVECTOR& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

}  // namespace

uint16_t KitShapes::Vertex(const D3DVECTOR& p, const D3DVECTOR& n, float u, float v)
{
    m_Mesh.positions.push_back(p);
    m_Mesh.normals.push_back(n);
    m_Mesh.textureCoords.push_back({m_Uv.u0 + u * (m_Uv.u1 - m_Uv.u0), m_Uv.v0 + v * (m_Uv.v1 - m_Uv.v0)});
    return static_cast<uint16_t>(m_Mesh.positions.size() - 1);
}

void KitShapes::Face(uint16_t a, uint16_t b, uint16_t c, const D3DVECTOR& outward)
{
    const D3DVECTOR& pa = m_Mesh.positions[a];
    const D3DVECTOR turn = Cross(Minus(m_Mesh.positions[b], pa), Minus(m_Mesh.positions[c], pa));
    if (Dot(turn, outward) > 0)
        m_Mesh.faces.push_back({a, c, b});
    else
        m_Mesh.faces.push_back({a, b, c});
    m_Mesh.hasMaterialList = true;
    m_Mesh.faceMaterials.push_back(m_wMaterial);
}

void KitShapes::Quad(const D3DVECTOR corners[4], D3DVECTOR normal, float fURepeat, float fVRepeat)
{
    const float uv[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    uint16_t v[4];
    for (int k = 0; k < 4; ++k)
        v[k] = Vertex(corners[k], normal, uv[k][0] * fURepeat, uv[k][1] * fVRepeat);
    Face(v[0], v[1], v[2], normal);
    Face(v[0], v[2], v[3], normal);
}

void KitShapes::TwoSidedQuad(const D3DVECTOR corners[4], D3DVECTOR normal, float fURepeat, float fVRepeat)
{
    Quad(corners, normal, fURepeat, fVRepeat);
    Quad(corners, D3DVECTOR{-normal.x, -normal.y, -normal.z}, fURepeat, fVRepeat);
}

void KitShapes::Box(D3DVECTOR lo, D3DVECTOR hi)
{
    const float x0 = lo.x, y0 = lo.y, z0 = lo.z, x1 = hi.x, y1 = hi.y, z1 = hi.z;
    const D3DVECTOR faces[6][4] = {
        {{x1, y0, z0}, {x1, y0, z1}, {x1, y1, z1}, {x1, y1, z0}}, {{x0, y0, z1}, {x0, y0, z0}, {x0, y1, z0}, {x0, y1, z1}},
        {{x0, y1, z0}, {x1, y1, z0}, {x1, y1, z1}, {x0, y1, z1}}, {{x0, y0, z1}, {x1, y0, z1}, {x1, y0, z0}, {x0, y0, z0}},
        {{x1, y0, z1}, {x0, y0, z1}, {x0, y1, z1}, {x1, y1, z1}}, {{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0}}};
    const D3DVECTOR normals[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (int f = 0; f < 6; ++f)
        Quad(faces[f], normals[f]);
}

void KitShapes::Fan(const std::vector<D3DVECTOR>& corners, D3DVECTOR normal, float fUvScale)
{
    // Texture axes: the two world axes the normal leans on least.
    const bool bAlongX = std::fabs(normal.x) > std::fabs(normal.z);
    std::vector<uint16_t> v;
    for (const D3DVECTOR& p : corners)
        v.push_back(Vertex(p, normal, (bAlongX ? p.z : p.x) * fUvScale, -p.y * fUvScale));
    for (size_t k = 2; k < v.size(); ++k)
        Face(v[0], v[k - 1], v[k], normal);
}

void KitShapes::Prism(float cx, float cz, float y0, float y1, float rx, float rz, int nSides, float fTopScale)
{
    // Each side its own four corners, so that the sides shade flat.
    for (int i = 0; i < nSides; ++i) {
        const float a0 = 2 * kPi * i / nSides, a1 = 2 * kPi * (i + 1) / nSides, am = (a0 + a1) / 2;
        const D3DVECTOR corners[4] = {{cx + rx * std::cos(a0), y0, cz + rz * std::sin(a0)},
                                      {cx + rx * std::cos(a1), y0, cz + rz * std::sin(a1)},
                                      {cx + rx * fTopScale * std::cos(a1), y1, cz + rz * fTopScale * std::sin(a1)},
                                      {cx + rx * fTopScale * std::cos(a0), y1, cz + rz * fTopScale * std::sin(a0)}};
        const D3DVECTOR n{std::cos(am), 0, std::sin(am)};
        const uint16_t v0 = Vertex(corners[0], n, static_cast<float>(i) / nSides, 1);
        const uint16_t v1 = Vertex(corners[1], n, static_cast<float>(i + 1) / nSides, 1);
        const uint16_t v2 = Vertex(corners[2], n, static_cast<float>(i + 1) / nSides, 0);
        const uint16_t v3 = Vertex(corners[3], n, static_cast<float>(i) / nSides, 0);
        Face(v0, v1, v2, n);
        Face(v0, v2, v3, n);
    }
    for (int cap = 0; cap < 2; ++cap) {
        const float y = cap ? y1 : y0, scale = cap ? fTopScale : 1;
        const D3DVECTOR n{0, cap ? 1.0f : -1.0f, 0};
        const uint16_t centre = Vertex({cx, y, cz}, n, 0.5f, 0.5f);
        std::vector<uint16_t> rim;
        for (int i = 0; i < nSides; ++i) {
            const float a = 2 * kPi * i / nSides;
            rim.push_back(Vertex({cx + rx * scale * std::cos(a), y, cz + rz * scale * std::sin(a)}, n,
                                 0.5f + 0.5f * std::cos(a), 0.5f + 0.5f * std::sin(a)));
        }
        for (int i = 0; i < nSides; ++i)
            Face(centre, rim[static_cast<size_t>(i)], rim[static_cast<size_t>((i + 1) % nSides)], n);
    }
}

void KitShapes::Sphere(D3DVECTOR c, float r, int nRings, int nSegments, bool bInward, bool bDome)
{
    const int firstRing = bDome ? nRings / 2 : 0;
    std::vector<uint16_t> grid;
    for (int ring = firstRing; ring <= nRings; ++ring) {
        const float polar = kPi * ring / nRings;  // 0 at the bottom, pi at the top
        for (int seg = 0; seg <= nSegments; ++seg) {
            const float azimuth = 2 * kPi * seg / nSegments;
            const D3DVECTOR n{std::sin(polar) * std::cos(azimuth), -std::cos(polar), std::sin(polar) * std::sin(azimuth)};
            const D3DVECTOR p{c.x + r * n.x, c.y + r * n.y, c.z + r * n.z};
            const float v = bDome ? 1 - static_cast<float>(ring - firstRing) / (nRings - firstRing)
                                  : 1 - static_cast<float>(ring) / nRings;
            grid.push_back(Vertex(p, bInward ? D3DVECTOR{-n.x, -n.y, -n.z} : n,
                                  static_cast<float>(seg) / nSegments, v));
        }
    }
    const int rows = nRings - firstRing, stride = nSegments + 1;
    for (int ring = 0; ring < rows; ++ring) {
        for (int seg = 0; seg < nSegments; ++seg) {
            const uint16_t a = grid[static_cast<size_t>(ring * stride + seg)];
            const uint16_t b = grid[static_cast<size_t>(ring * stride + seg + 1)];
            const uint16_t d = grid[static_cast<size_t>((ring + 1) * stride + seg)];
            const uint16_t e = grid[static_cast<size_t>((ring + 1) * stride + seg + 1)];
            const D3DVECTOR& pa = m_Mesh.positions[a];
            D3DVECTOR out{pa.x - c.x, pa.y - c.y, pa.z - c.z};
            const D3DVECTOR& pe = m_Mesh.positions[e];
            out = {out.x + pe.x - c.x, out.y + pe.y - c.y, out.z + pe.z - c.z};
            if (bInward)
                out = {-out.x, -out.y, -out.z};
            // Triangles that have collapsed at a pole are left out.
            if (Dot(Cross(Minus(m_Mesh.positions[b], pa), Minus(pe, pa)), Cross(Minus(m_Mesh.positions[b], pa), Minus(pe, pa))) > 1e-6f)
                Face(a, b, e, out);
            if (Dot(Cross(Minus(pe, pa), Minus(m_Mesh.positions[d], pa)), Cross(Minus(pe, pa), Minus(m_Mesh.positions[d], pa))) > 1e-6f)
                Face(a, e, d, out);
        }
    }
}

}  // namespace tools
