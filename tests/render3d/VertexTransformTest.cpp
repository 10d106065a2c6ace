#include "render3d/VertexTransform.h"

#include <gtest/gtest.h>

namespace {

// A 90-degree field of view (c = 1), near 1, far 101: Q = 1.01.
D3DMATRIX Projection()
{
    D3DMATRIX m{};
    const float q = 1.0f / (1.0f - 1.0f / 101.0f);
    m.m[0][0] = 1.0f;
    m.m[1][1] = 1.0f;
    m.m[2][2] = q;
    m.m[2][3] = 1.0f;
    m.m[3][2] = -q;
    return m;
}

ViewportTransform Screen640()
{
    ViewportTransform vp;
    vp.width = 640;
    vp.height = 480;
    vp.clipY = 0.75f;
    vp.clipHeight = 1.5f;
    return vp;
}

struct PointCase {
    const char* what;
    float x, y, z;
    uint32_t flags;
    float sx, sy, sz, rhw;
};

// Worked by hand: clip = (x, y, 1.01 z - 1.01, z); screen x = (x/w + 1) / 2 * 640,
// screen y = (0.75 - y/w) / 1.5 * 480.
const PointCase kPointCases[] = {
    {"centre", 0, 0, 10, 0, 320, 240, 0.909f, 0.1f},
    {"right edge is inside", 10, 0, 10, 0, 640, 240, 0.909f, 0.1f},
    {"beyond the right edge", 11, 0, 10, D3DCLIP_RIGHT, 672, 240, 0.909f, 0.1f},
    {"top edge is inside", 0, 7.5f, 10, 0, 320, 0, 0.909f, 0.1f},
    {"above the top", 0, 8, 10, D3DCLIP_TOP, 320, -16, 0.909f, 0.1f},
    {"left and below", -20, -10, 10, D3DCLIP_LEFT | D3DCLIP_BOTTOM, -320, 560, 0.909f, 0.1f},
    {"nearer than the near plane", 0, 0, 0.5f, D3DCLIP_FRONT, 320, 240, -1.01f, 2.0f},
    {"on the near plane", 0, 0, 1, 0, 320, 240, 0.0f, 1.0f},
    {"on the far plane", 0, 0, 101, 0, 320, 240, 1.0f, 1.0f / 101.0f},
    {"beyond the far plane", 0, 0, 200, D3DCLIP_BACK, 320, 240, 1.00495f, 0.005f},
};

TEST(VertexTransform, PointsAgreeWithHandWorkedTable)
{
    for (const PointCase& c : kPointCases) {
        SCOPED_TRACE(c.what);
        const float p[3] = {c.x, c.y, c.z};
        D3DTLVERTEX out{};
        D3DHVERTEX clip{};
        const uint32_t shared = TransformVertices(Projection(), Screen640(), p, sizeof p, 1, &out, &clip, nullptr);
        EXPECT_EQ(clip.dwFlags, c.flags);
        EXPECT_EQ(shared, c.flags);
        EXPECT_NEAR(out.sx, c.sx, 0.01f);
        EXPECT_NEAR(out.sy, c.sy, 0.01f);
        EXPECT_NEAR(out.sz, c.sz, 0.001f);
        EXPECT_NEAR(out.rhw, c.rhw, 1e-5f);
    }
}

TEST(VertexTransform, RowVectorMatricesApplyWorldBeforeProjection)
{
    // World: a quarter turn taking +x to +y, then 10 along +z (translation in the last row).
    D3DMATRIX world{};
    world.m[0][1] = 1.0f;
    world.m[1][0] = -1.0f;
    world.m[2][2] = 1.0f;
    world.m[3][2] = 10.0f;
    world.m[3][3] = 1.0f;
    const D3DMATRIX combined = MultiplyMatrices(world, Projection());
    const float p[3] = {7.5f, 0, 0};  // becomes (0, 7.5, 10): the middle of the top edge
    D3DTLVERTEX out{};
    EXPECT_EQ(TransformVertices(combined, Screen640(), p, sizeof p, 1, &out, nullptr, nullptr), 0u);
    EXPECT_NEAR(out.sx, 320, 0.01f);
    EXPECT_NEAR(out.sy, 0, 0.01f);
}

TEST(VertexTransform, ViewportOffsetAndSharedFlagsAndExtent)
{
    ViewportTransform vp = Screen640();
    vp.left = 100;
    vp.top = 50;
    vp.width = 200;
    vp.height = 100;
    const float centre[3] = {0, 0, 10};
    D3DTLVERTEX out{};
    TransformVertices(Projection(), vp, centre, sizeof centre, 1, &out, nullptr, nullptr);
    EXPECT_NEAR(out.sx, 200, 0.01f);
    EXPECT_NEAR(out.sy, 100, 0.01f);

    // Both beyond the right edge: they share RIGHT; the extent spans them.
    const float right[2][3] = {{11, 0, 10}, {12, 3.75f, 10}};
    D3DRECT extent{};
    EXPECT_EQ(TransformVertices(Projection(), Screen640(), right, sizeof right[0], 2, nullptr, nullptr, &extent),
              D3DCLIP_RIGHT);
    EXPECT_EQ(extent.x1, 672);
    EXPECT_EQ(extent.x2, 704);
    EXPECT_EQ(extent.y1, 120);
    EXPECT_EQ(extent.y2, 240);
    // Outside on different sides: no plane rejects them all.
    const float apart[2][3] = {{11, 0, 10}, {-20, -10, 10}};
    EXPECT_EQ(TransformVertices(Projection(), Screen640(), apart, sizeof apart[0], 2, nullptr, nullptr, nullptr), 0u);
}

TEST(VertexTransform, ScreenOutcodes)
{
    struct {
        float p[3];
        uint8_t code;
    } cases[] = {
        {{-1, 5, 1}, 1}, {{700, 5, 1}, 2}, {{5, -1, 1}, 8},  {{5, 500, 1}, 4},
        {{5, 5, -1}, 16}, {{640, 480, 0}, 0}, {{-1, -1, -1}, 1 | 8 | 16},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetScreenOutcode(c.p, 640, 480), c.code) << c.p[0] << ", " << c.p[1] << ", " << c.p[2];
}

}  // namespace
