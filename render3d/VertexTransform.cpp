#include "render3d/VertexTransform.h"

#include <cmath>
#include <cstring>

D3DMATRIX IdentityMatrix()
{
    D3DMATRIX m{};
    for (int i = 0; i < 4; ++i)
        m.m[i][i] = 1.0f;
    return m;
}

D3DMATRIX MultiplyMatrices(const D3DMATRIX& a, const D3DMATRIX& b)
{
    D3DMATRIX r{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
    return r;
}

D3DVERTEX TransformVertex(const D3DVERTEX& s, const D3DMATRIX& matrix, bool bTurnNormal)
{
    const auto& m = matrix.m;
    D3DVERTEX d = s;
    d.x = s.x * m[0][0] + s.y * m[1][0] + s.z * m[2][0] + m[3][0];
    d.y = s.x * m[0][1] + s.y * m[1][1] + s.z * m[2][1] + m[3][1];
    d.z = s.x * m[0][2] + s.y * m[1][2] + s.z * m[2][2] + m[3][2];
    if (bTurnNormal) {
        const float n[3] = {s.nx * m[0][0] + s.ny * m[1][0] + s.nz * m[2][0],
                            s.nx * m[0][1] + s.ny * m[1][1] + s.nz * m[2][1],
                            s.nx * m[0][2] + s.ny * m[1][2] + s.nz * m[2][2]};
        const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (length > 0) {
            d.nx = n[0] / length;
            d.ny = n[1] / length;
            d.nz = n[2] / length;
        }
    }
    return d;
}

namespace {

// Screen coordinates far outside the target stay representable.
int32_t ToScreenInt(float v)
{
    if (!(v > -1.0e9f))
        return -1000000000;
    if (v > 1.0e9f)
        return 1000000000;
    return static_cast<int32_t>(v);
}

}  // namespace

uint32_t TransformVertices(const D3DMATRIX& m, const ViewportTransform& vp, const void* points, size_t stride,
                           size_t count, D3DTLVERTEX* out, D3DHVERTEX* clip, D3DRECT* extent)
{
    uint32_t shared = 0xFFFFFFFFu;
    float minX = 0, minY = 0, maxX = 0, maxY = 0;
    const uint8_t* base = static_cast<const uint8_t*>(points);
    for (size_t i = 0; i < count; ++i) {
        float p[3];
        std::memcpy(p, base + i * stride, sizeof p);
        const float x = p[0] * m.m[0][0] + p[1] * m.m[1][0] + p[2] * m.m[2][0] + m.m[3][0];
        const float y = p[0] * m.m[0][1] + p[1] * m.m[1][1] + p[2] * m.m[2][1] + m.m[3][1];
        const float z = p[0] * m.m[0][2] + p[1] * m.m[1][2] + p[2] * m.m[2][2] + m.m[3][2];
        const float w = p[0] * m.m[0][3] + p[1] * m.m[1][3] + p[2] * m.m[2][3] + m.m[3][3];
        uint32_t flags = 0;
        if (x < vp.clipX * w)
            flags |= D3DCLIP_LEFT;
        else if (x > (vp.clipX + vp.clipWidth) * w)
            flags |= D3DCLIP_RIGHT;
        if (y > vp.clipY * w)
            flags |= D3DCLIP_TOP;
        else if (y < (vp.clipY - vp.clipHeight) * w)
            flags |= D3DCLIP_BOTTOM;
        if (z < vp.minZ * w)
            flags |= D3DCLIP_FRONT;
        else if (z > vp.maxZ * w)
            flags |= D3DCLIP_BACK;
        D3DTLVERTEX t{};
        if (w != 0.0f) {
            const float rhw = 1.0f / w;
            t.sx = vp.left + (x * rhw - vp.clipX) / vp.clipWidth * static_cast<float>(vp.width);
            t.sy = vp.top + (vp.clipY - y * rhw) / vp.clipHeight * static_cast<float>(vp.height);
            t.sz = z * rhw;
            t.rhw = rhw;
        } else {
            flags |= D3DCLIP_FRONT;
        }
        t.color = 0xFFFFFFFFu;
        if (out)
            out[i] = t;
        if (clip)
            clip[i] = D3DHVERTEX{flags, x, y, z};
        shared &= flags;
        if (i == 0) {
            minX = maxX = t.sx;
            minY = maxY = t.sy;
        } else {
            minX = std::fmin(minX, t.sx);
            maxX = std::fmax(maxX, t.sx);
            minY = std::fmin(minY, t.sy);
            maxY = std::fmax(maxY, t.sy);
        }
    }
    if (extent)
        *extent = D3DRECT{ToScreenInt(minX), ToScreenInt(minY), ToScreenInt(maxX), ToScreenInt(maxY)};
    return count ? shared : 0;
}

uint8_t GetScreenOutcode(const float* point, int32_t targetWidth, int32_t targetHeight)
{
    uint8_t code = 0;
    if (point[0] < 0.0f)
        code |= 1;
    else if (point[0] > static_cast<float>(targetWidth))
        code |= 2;
    if (point[1] < 0.0f)
        code |= 8;
    else if (point[1] > static_cast<float>(targetHeight))
        code |= 4;
    if (point[2] < 0.0f)
        code |= 16;
    return code;
}
