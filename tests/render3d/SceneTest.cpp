#include "RenderTestSupport.h"

#include "platform/PngWriter.h"
#include "render3d/CCamera.h"
#include "render3d/CMeshManager.h"
#include "render3d/CTextureManager.h"

#include <unistd.h>

#include <array>

using render3d_test::EngineTest;

namespace {

// A box of six faces, each facing outwards.
struct Box {
    std::array<D3DVERTEX, 24> vertices{};
    std::array<uint16_t, 36> indices{};
    ITEMMESHINFORMATION mesh;

    Box(D3DVECTOR lo, D3DVECTOR hi)
    {
        const D3DVECTOR normals[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
        for (int f = 0; f < 6; ++f) {
            const D3DVECTOR n = normals[f];
            // Corners of the face in a turning order.
            D3DVECTOR c[4];
            for (int k = 0; k < 4; ++k) {
                const bool a = k == 1 || k == 2, b = k >= 2;
                float v[3];
                const float nn[3] = {n.x, n.y, n.z};
                const float l[3] = {lo.x, lo.y, lo.z}, h[3] = {hi.x, hi.y, hi.z};
                int axis = 0;
                while (nn[axis] == 0)
                    ++axis;
                const int u = (axis + 1) % 3, w = (axis + 2) % 3;
                v[axis] = nn[axis] > 0 ? h[axis] : l[axis];
                v[u] = a ? h[u] : l[u];
                v[w] = b ? h[w] : l[w];
                c[k] = D3DVECTOR{v[0], v[1], v[2]};
                vertices[f * 4 + k] = D3DVERTEX{v[0], v[1], v[2], n.x, n.y, n.z, 0, 0};
            }
            render3d_test::FrontFacingQuad(c, n, static_cast<uint16_t>(f * 4), &indices[static_cast<size_t>(f * 6)]);
        }
        mesh.pVertices = vertices.data();
        mesh.vertexCount = 24;
        mesh.pIndices = indices.data();
        mesh.indexCount = 36;
        mesh.flags = MESH_VISIBLE | MESH_SCENE_VIEW;
    }
};

class Scene : public EngineTest {};

TEST_F(Scene, PitchAndLitBoxUnderAnOrbitingCamera)
{
    StartEngine(320, 240);
    const auto folder = std::filesystem::temp_directory_path() / ("render3d_scene_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    // Grass in two shades of stripes with a white line down the middle.
    std::vector<uint8_t> grass(64 * 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            grass[static_cast<size_t>(y * 64 + x)] = (x == 31 || x == 32) ? 2 : ((y / 16) % 2);
    render3d_test::WriteFile(folder / "grass.bmp",
                             render3d_test::MakeBmp8(64, 64, {0x002E8B3A, 0x00267A31, 0x00F0F0F0}, grass));

    C3DEngine::SetClearColour(0xFF87A9D8);
    D3DLIGHT2 sun{};
    sun.dwSize = sizeof sun;
    sun.dltType = D3DLIGHT_DIRECTIONAL;
    sun.dcvColor = {0.8f, 0.8f, 0.8f, 1};
    sun.dvDirection = {0.4f, 0.6f, -1.0f};
    m_engine->AddLight(&sun);
    m_engine->SetAmbientLight(0xFF555555);
    m_engine->SetFog(4000, 9000, 0xFF87A9D8);

    D3DMATERIAL grassMaterial{};
    grassMaterial.dwSize = sizeof grassMaterial;
    grassMaterial.diffuse = {1, 1, 1, 1};
    grassMaterial.ambient = {1, 1, 1, 1};
    D3DMATERIAL shirt = grassMaterial;
    shirt.diffuse = {0.9f, 0.1f, 0.1f, 1};
    shirt.ambient = {0.9f, 0.1f, 0.1f, 1};

    // The pitch: 105 x 68 metres in centimetres, the texture repeated.
    std::array<D3DVERTEX, 4> pitchVertices{{{-5250, -3400, 0, 0, 0, 1, 0, 0},
                                            {5250, -3400, 0, 0, 0, 1, 4, 0},
                                            {5250, 3400, 0, 0, 0, 1, 4, 3},
                                            {-5250, 3400, 0, 0, 0, 1, 0, 3}}};
    std::array<uint16_t, 6> pitchIndices{0, 2, 1, 0, 3, 2};
    ITEMMESHINFORMATION pitch;
    pitch.pVertices = pitchVertices.data();
    pitch.vertexCount = 4;
    pitch.pIndices = pitchIndices.data();
    pitch.indexCount = 6;
    pitch.flags = MESH_VISIBLE | MESH_SCENE_VIEW;
    pitch.materialIndex = m_engine->AddMaterial(&grassMaterial);
    pitch.textureIndex = m_engine->GetTextureManager()->LoadTexture((folder / "grass.bmp").c_str(), 0, nullptr);
    ASSERT_NE(pitch.textureIndex, NO_TEXTURE);

    Box player(D3DVECTOR{-60, -60, 0}, D3DVECTOR{60, 60, 360});
    player.mesh.materialIndex = m_engine->AddMaterial(&shirt);

    m_engine->AddMeshManager();
    m_engine->GetMeshManager(0)->Add(&pitch, MESH_ENTRY_RECORD);
    m_engine->GetMeshManager(0)->Add(&player.mesh, MESH_ENTRY_RECORD);
    m_engine->SetNumberOfCameras(1);
    const float target[3] = {0, 0, 150};
    m_engine->GetCamera(0)->SetupOrbit(2500, -0.6f, 0.3f, target, 7, 50, 20000);
    m_engine->GetCamera(0)->m_ucMode = 200;  // a still picture
    m_engine->Render();
    ASSERT_TRUE(plat::writePng(*m_target, "render3d_scene.png"));
    std::filesystem::remove_all(folder);

    auto colour = [this](int x, int y) { return plat::pixelToColor(m_target->pixel(x, y), plat::PixelFormat::Rgb565); };
    EXPECT_EQ(m_target->pixel(160, 2), plat::colorToPixel(plat::RGB(0x87, 0xA9, 0xD8), plat::PixelFormat::Rgb565))
        << "sky above the far touch line";
    const plat::COLORREF grassNear = colour(100, 200);
    EXPECT_GT(plat::GetGValue(grassNear), plat::GetRValue(grassNear) + 40);
    EXPECT_GT(plat::GetGValue(grassNear), plat::GetBValue(grassNear) + 40);
    const plat::COLORREF body = colour(160, 120);
    EXPECT_GT(plat::GetRValue(body), 40) << "the box stands at the centre of the view";
    EXPECT_GT(plat::GetRValue(body), 3 * plat::GetGValue(body));
    EXPECT_GT(plat::GetRValue(body), 3 * plat::GetBValue(body));
    // Its sunlit side is brighter than its shaded side.
    EXPECT_GT(plat::GetRValue(colour(155, 120)), plat::GetRValue(colour(165, 120)) + 30);
}

}  // namespace
