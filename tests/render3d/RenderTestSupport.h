#pragma once
// Helpers of the renderer's tests: 8-bit bitmap files made in memory (so that
// damaged variants are easy to make) and an engine over a small target.
#include "platform/Surface.h"
#include "render3d/C3DEngine.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace render3d_test {

// An 8-bit bitmap: palette 0x00RRGGBB, indices top-down.
inline std::vector<uint8_t> MakeBmp8(int width, int height, const std::vector<uint32_t>& palette,
                                     const std::vector<uint8_t>& indices)
{
    const int stride = (width + 3) & ~3;
    const uint32_t offBits = 14 + 40 + static_cast<uint32_t>(palette.size()) * 4;
    const uint32_t fileSize = offBits + static_cast<uint32_t>(stride * height);
    std::vector<uint8_t> b;
    auto u16 = [&b](uint32_t v) { b.push_back(v & 0xFF); b.push_back((v >> 8) & 0xFF); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    u16(0x4D42);
    u32(fileSize);
    u32(0);
    u32(offBits);
    u32(40);
    u32(static_cast<uint32_t>(width));
    u32(static_cast<uint32_t>(height));
    u16(1);
    u16(8);
    u32(0);
    u32(0);
    u32(0);
    u32(0);
    u32(static_cast<uint32_t>(palette.size()));
    u32(0);
    for (uint32_t c : palette) {
        b.push_back(c & 0xFF);
        b.push_back((c >> 8) & 0xFF);
        b.push_back((c >> 16) & 0xFF);
        b.push_back(0);
    }
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < stride; ++x)
            b.push_back(x < width ? indices[static_cast<size_t>(y * width + x)] : 0);
    return b;
}

// The six indices of a quad's two triangles (corners in turning order), wound
// so that the side its normal points to is the front: with the renderer's
// cameras front triangles have (b - a) x (c - a) pointing away from the viewer.
inline void FrontFacingQuad(const D3DVECTOR corners[4], D3DVECTOR normal, uint16_t base, uint16_t* out)
{
    const D3DVECTOR& a = corners[0];
    const D3DVECTOR& b = corners[1];
    const D3DVECTOR& c = corners[2];
    const float ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
    const float vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
    const float towardNormal = (uy * vz - uz * vy) * normal.x + (uz * vx - ux * vz) * normal.y +
                               (ux * vy - uy * vx) * normal.z;
    const uint16_t keep[6] = {0, 1, 2, 0, 2, 3}, reverse[6] = {0, 2, 1, 0, 3, 2};
    for (int i = 0; i < 6; ++i)
        out[i] = static_cast<uint16_t>(base + (towardNormal > 0 ? reverse[i] : keep[i]));
}

// A 90-degree view with near 1 and far 101: eye (x, y, z) goes to
// (x / z, y / z, 1.01 (z - 1) / z).
inline D3DMATRIX Projection()
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

// A material that shows its own colour, lit or not.
inline D3DMATERIAL Glowing(float r, float g, float b)
{
    D3DMATERIAL m{};
    m.dwSize = sizeof m;
    m.diffuse = {0, 0, 0, 1};
    m.emissive = {r, g, b, 1};
    return m;
}

inline void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// The device layer over a 5-6-5 target and one engine; the tests run on
// Mesa's surfaceless platform, so a missing device is a failure.
class EngineTest : public ::testing::Test {
protected:
    void StartEngine(int width, int height, uint32_t flags = C3DEngine::DEVICE_ZBUFFER,
                     plat::PixelFormat format = plat::PixelFormat::Rgb565)
    {
        m_target = std::make_unique<plat::Surface>(width, height, format);
        ASSERT_TRUE(C3DEngine::SetupStatics(m_target.get(), flags)) << "no OpenGL device through EGL";
        m_engine = std::make_unique<C3DEngine>();
    }
    void TearDown() override
    {
        m_engine.reset();
        C3DEngine::DestroyStatics();
        C3DEngine::EnableBlendModes(false);
        C3DEngine::SetClearColour(0xFF0000FF);
    }

    std::unique_ptr<plat::Surface> m_target;
    std::unique_ptr<C3DEngine> m_engine;
};

}  // namespace render3d_test
