#include "RenderTestSupport.h"

#include "common/DebugLog.h"
#include "render3d/CMaterialManager.h"
#include "render3d/CMeshManager.h"
#include "render3d/CTextureManager.h"

#include <unistd.h>

#include <array>
#include <cstring>

using render3d_test::EngineTest;
using render3d_test::Glowing;
using render3d_test::Projection;

namespace {

// A quad of two triangles whose front faces the side the normal points to.
struct Quad {
    std::array<D3DVERTEX, 4> vertices{};
    std::array<uint16_t, 6> indices{};
    ITEMMESHINFORMATION mesh;

    Quad(const std::array<D3DVECTOR, 4>& corners, D3DVECTOR normal, float uvScale = 1.0f)
    {
        const float uv[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        for (int i = 0; i < 4; ++i)
            vertices[i] = D3DVERTEX{corners[i].x, corners[i].y, corners[i].z, normal.x, normal.y, normal.z,
                                    uv[i][0] * uvScale, uv[i][1] * uvScale};
        render3d_test::FrontFacingQuad(corners.data(), normal, 0, indices.data());
        mesh.pVertices = vertices.data();
        mesh.vertexCount = 4;
        mesh.pIndices = indices.data();
        mesh.indexCount = 6;
        mesh.flags = MESH_VISIBLE | MESH_SCENE_VIEW;
    }
};

// A quad filling the view at depth z, facing the eye.
Quad ScreenQuad(float z)
{
    return Quad({D3DVECTOR{-20, -20, z}, D3DVECTOR{20, -20, z}, D3DVECTOR{20, 20, z}, D3DVECTOR{-20, 20, z}},
                D3DVECTOR{0, 0, -1});
}

std::filesystem::path TempFolder()
{
    auto path = std::filesystem::temp_directory_path() / ("render3d_test_" + std::to_string(getpid()));
    std::filesystem::create_directories(path);
    return path;
}

class EngineFrame : public EngineTest {};

TEST_F(EngineFrame, KeyColourClearReadsBackExactly)
{
    StartEngine(64, 48);
    C3DEngine::SetClearColour(0xFFFF00FF);
    m_target->fill(nullptr, 0x1234);
    m_engine->Render();
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(m_target->pixel(x, y), 0xF81F) << x << ", " << y;
    C3DEngine::SetClearColour(0xFF808080);
    m_engine->Render();
    EXPECT_EQ(m_target->pixel(10, 10), 0x8410);
}

TEST_F(EngineFrame, KeyColourOnFiveFiveFiveTarget)
{
    StartEngine(32, 16, C3DEngine::DEVICE_ZBUFFER, plat::PixelFormat::Rgb555);
    C3DEngine::SetClearColour(0xFFFF00FF);
    m_engine->Render();
    EXPECT_EQ(m_target->pixel(0, 0), 0x7C1F);
    EXPECT_EQ(m_target->pixel(31, 15), 0x7C1F);
}

TEST_F(EngineFrame, PicturesAreUprightAndOnlyTheViewportIsDrawn)
{
    StartEngine(80, 60, 0);
    ASSERT_TRUE(m_engine->CreateViewport(40, 0, 40, 60));
    C3DEngine::SetClearColour(0xFF000000);
    m_target->fill(nullptr, 0x07E0);
    D3DMATRIX projection = Projection();
    m_engine->SetProjectionMatrix(&projection);
    // Only the upper half of the view (y > 0, which is up) is covered in red.
    Quad upper({D3DVECTOR{-20, 0, 10}, D3DVECTOR{20, 0, 10}, D3DVECTOR{20, 20, 10}, D3DVECTOR{-20, 20, 10}},
               D3DVECTOR{0, 0, -1});
    D3DMATERIAL red = Glowing(1, 0, 0);
    upper.mesh.materialIndex = m_engine->AddMaterial(&red);
    m_engine->AddMeshManager();
    m_engine->GetMeshManager(0)->Add(&upper.mesh, MESH_ENTRY_RECORD);
    m_engine->Render();
    EXPECT_EQ(m_target->pixel(60, 5), 0xF800);
    EXPECT_EQ(m_target->pixel(60, 55), 0x0000);
    EXPECT_EQ(m_target->pixel(10, 30), 0x07E0) << "outside the viewport the 2-D picture stays";
}

TEST_F(EngineFrame, DrawOrderKeysAndSeeThroughDeferral)
{
    StartEngine(32, 32, 0);
    const auto folder = TempFolder();
    // A plain green picture, colour-keyed by its name.
    render3d_test::WriteFile(folder / "green%K.bmp",
                             render3d_test::MakeBmp8(4, 4, {0x0000FF00, 0x00FF00FF}, std::vector<uint8_t>(16, 0)));
    D3DMATRIX projection = Projection();
    m_engine->SetProjectionMatrix(&projection);
    D3DMATERIAL red = Glowing(1, 0, 0), blue = Glowing(0, 0, 1), white = Glowing(1, 1, 1);
    m_engine->AddMeshManager();
    CMeshManager* list = m_engine->GetMeshManager(0);

    Quad late = ScreenQuad(10), early = ScreenQuad(10);
    late.mesh.materialIndex = m_engine->AddMaterial(&red);
    late.mesh.drawOrderKey = 7;
    early.mesh.materialIndex = m_engine->AddMaterial(&blue);
    early.mesh.drawOrderKey = 3;
    list->Add(&late.mesh, MESH_ENTRY_RECORD);
    list->Add(&early.mesh, MESH_ENTRY_RECORD);
    m_engine->Render();
    EXPECT_EQ(m_target->pixel(16, 16), 0xF800) << "the higher key is drawn last";
    list->Remove(&late.mesh);
    list->Remove(&early.mesh);

    Quad seeThrough = ScreenQuad(10), opaque = ScreenQuad(10);
    seeThrough.mesh.textureIndex =
        m_engine->GetTextureManager()->LoadTexture((folder / "green%K.bmp").c_str(), 0, nullptr);
    ASSERT_NE(seeThrough.mesh.textureIndex, NO_TEXTURE);
    seeThrough.mesh.materialIndex = m_engine->AddMaterial(&white);
    opaque.mesh.materialIndex = m_engine->AddMaterial(&red);
    list->Add(&seeThrough.mesh, MESH_ENTRY_RECORD);
    list->Add(&opaque.mesh, MESH_ENTRY_RECORD);
    m_engine->Render();
    EXPECT_EQ(m_target->pixel(16, 16), 0x07E0) << "a see-through mesh of the default key waits for the rest";

    seeThrough.mesh.drawOrderKey = 5;
    list->ClearSort();
    m_engine->Render();
    EXPECT_EQ(m_target->pixel(16, 16), 0xF800) << "with its own key it keeps its sorted place";
    std::filesystem::remove_all(folder);
}

TEST_F(EngineFrame, ColourKeyedPixelsLeaveWhatIsBehind)
{
    StartEngine(32, 32);
    const auto folder = TempFolder();
    // Left half magenta (the key), right half white.
    std::vector<uint8_t> indices(16);
    for (int i = 0; i < 16; ++i)
        indices[static_cast<size_t>(i)] = (i % 4) < 2 ? 1 : 0;
    render3d_test::WriteFile(folder / "half%K.bmp", render3d_test::MakeBmp8(4, 4, {0x00FFFFFF, 0x00FF00FF}, indices));
    D3DMATRIX projection = Projection();
    m_engine->SetProjectionMatrix(&projection);
    D3DMATERIAL blue = Glowing(0, 0, 1), white = Glowing(1, 1, 1);
    Quad back = ScreenQuad(20), front = ScreenQuad(10);
    back.mesh.materialIndex = m_engine->AddMaterial(&blue);
    front.mesh.materialIndex = m_engine->AddMaterial(&white);
    front.mesh.textureIndex = m_engine->GetTextureManager()->LoadTexture((folder / "half%K.bmp").c_str(), 0, nullptr);
    // The quad spans 40 units at depth 10: the picture covers the middle half of the view.
    for (D3DVERTEX& v : front.vertices) {
        v.x *= 0.25f;
        v.y *= 0.25f;
    }
    m_engine->AddMeshManager();
    m_engine->GetMeshManager(0)->Add(&back.mesh, MESH_ENTRY_RECORD);
    m_engine->GetMeshManager(0)->Add(&front.mesh, MESH_ENTRY_RECORD);
    m_engine->Render();
    // The quad's u runs with x; the left of the view is -x.
    const uint16_t left = m_target->pixel(12, 16), right = m_target->pixel(19, 16);
    EXPECT_TRUE((left == 0x001F && right == 0xFFFF) || (left == 0xFFFF && right == 0x001F))
        << std::hex << left << " " << right;
    std::filesystem::remove_all(folder);
}

TEST_F(EngineFrame, TransformPointsTakesAnyCountInBatches)
{
    StartEngine(640, 480, 0);
    D3DMATRIX projection = Projection();
    m_engine->SetProjectionMatrix(&projection);
    // 130 points all left of the view, then one of them moved onto the screen.
    std::vector<float> points(130 * 3);
    for (size_t i = 0; i < 130; ++i) {
        points[i * 3] = -50.0f - static_cast<float>(i);
        points[i * 3 + 2] = 10.0f;
    }
    D3DTLVERTEX sentinel{};
    D3DTLVERTEX* out = &sentinel;
    EXPECT_EQ(m_engine->TransformPoints(points.data(), 130, nullptr, &out), D3DCLIP_LEFT);
    EXPECT_EQ(out, nullptr) << "more points than one batch give no vertex pointer";
    points[120 * 3] = 0.0f;
    EXPECT_EQ(m_engine->TransformPoints(points.data(), 130, nullptr, nullptr), 0u);
    EXPECT_EQ(m_engine->TransformPointsClipped(points.data(), 130, nullptr), 0u);

    const float one[3] = {10, 7.5f, 10};
    EXPECT_EQ(m_engine->TransformPoints(one, 1, nullptr, &out), 0u);
    ASSERT_NE(out, nullptr);
    EXPECT_NEAR(out[0].sx, 640, 0.01f);
    EXPECT_NEAR(out[0].sy, 0, 0.01f);
    int32_t x = 0, y = 0;
    const float centre[3] = {0, 0, 10};
    m_engine->TransformToScreen(centre, &x, &y);
    EXPECT_EQ(x, 320);
    EXPECT_EQ(y, 240);
}

TEST_F(EngineFrame, ConvertWorldToScreenTakesTheFirstFiftyVertices)
{
    StartEngine(640, 480, 0);
    D3DMATRIX projection = Projection();
    m_engine->SetProjectionMatrix(&projection);
    std::vector<D3DVERTEX> vertices(60, D3DVERTEX{-50, 0, 10, 0, 0, -1, 0, 0});
    vertices[55].x = 0;  // on screen, but beyond the first fifty
    ITEMMESHINFORMATION mesh;
    mesh.pVertices = vertices.data();
    mesh.vertexCount = 60;
    mesh.flags = MESH_VISIBLE | MESH_SCENE_VIEW;
    int32_t extent[4] = {};
    D3DTLVERTEX* out = nullptr;
    EXPECT_EQ(m_engine->ConvertWorldToScreen(&mesh, &out, extent), D3DCLIP_LEFT);
    EXPECT_NE(out, nullptr);
    EXPECT_EQ(extent[0], -1280);
}

TEST(EngineWithoutDevice, SaysSoAndDoesNothing)
{
    std::vector<std::string> lines;
    SetDebugLogSink([&lines](int, const std::string& line) { lines.push_back(line); });
    EXPECT_FALSE(C3DEngine::SetupStatics(nullptr, C3DEngine::DEVICE_ZBUFFER));
    SetDebugLogSink({});
    bool said = false;
    for (const std::string& line : lines)
        said = said || line.find("3-D not available") != std::string::npos;
    EXPECT_TRUE(said);
    EXPECT_FALSE(C3DEngine::Is3DAvailable());

    C3DEngine engine;
    EXPECT_EQ(engine.GetTextureManager(), nullptr);
    EXPECT_FALSE(engine.CreateViewport(0, 0, 10, 10));
    D3DMATERIAL m{};
    EXPECT_EQ(engine.AddMaterial(&m), NO_MATERIAL);
    const float p[3] = {0, 0, 10};
    EXPECT_EQ(engine.TransformPoints(p, 1, nullptr, nullptr), 0u);
    engine.SetFog(1, 2, 3);
    engine.Render();
}

TEST(EngineDeviceChoice, SoftwareOnlyMachineRefusesAHardwareOnlyRequest)
{
    plat::Surface target(16, 16);
    ASSERT_TRUE(C3DEngine::SetupStatics(&target, 0));
    const bool software = C3DEngine::GetRenderType() == C3DEngine::RENDER_SOFTWARE;
    EXPECT_EQ((C3DEngine::GetCapabilities() & C3DEngine::CAPS_LINEAR_FILTER) == 0, software);
    C3DEngine::DestroyStatics();
    EXPECT_FALSE(C3DEngine::CanSetupStatics(&target, C3DEngine::DEVICE_NO_HARDWARE | C3DEngine::DEVICE_NO_SOFTWARE));
    if (software) {
        EXPECT_FALSE(C3DEngine::CanSetupStatics(&target, C3DEngine::DEVICE_NO_SOFTWARE));
    }
    EXPECT_FALSE(C3DEngine::Is3DAvailable());
}

}  // namespace
