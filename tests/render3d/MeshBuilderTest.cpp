#include "RenderTestSupport.h"

#include "platform/PngWriter.h"
#include "render3d/CCamera.h"
#include "render3d/CMeshBuilder.h"
#include "render3d/CMeshManager.h"
#include "render3d/CTextureManager.h"

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <functional>

using render3d_test::EngineTest;

namespace {

const D3DVERTEX* Vertices(const ITEMMESHINFORMATION* mesh)
{
    return static_cast<const D3DVERTEX*>(mesh->pVertices);
}

// Every triangle faces up: seen from above, (b - a) x (c - a) points down.
void ExpectAllFaceUp(const ITEMMESHINFORMATION* mesh)
{
    const D3DVERTEX* v = Vertices(mesh);
    for (uint32_t i = 0; i + 2 < mesh->indexCount; i += 3) {
        ASSERT_LT(mesh->pIndices[i + 2], mesh->vertexCount);
        const D3DVERTEX &a = v[mesh->pIndices[i]], &b = v[mesh->pIndices[i + 1]], &c = v[mesh->pIndices[i + 2]];
        const float z = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        EXPECT_LT(z, 0.0f) << "triangle " << i / 3;
    }
}

TEST(MeshBuilder, ShapesGiveTheirCountsAndFaceUp)
{
    struct {
        const char* what;
        std::function<void(CMeshBuilder&)> add;
        uint32_t vertices, indices;
    } cases[] = {
        {"full ring", [](CMeshBuilder& b) { b.AddRingQuadrants(0, 0, 1, 100, 118, 15); }, 96, 144},
        {"one corner arc", [](CMeshBuilder& b) { b.AddRingQuadrants(0, 0, 1, 100, 118, 1); }, 24, 36},
        {"disc", [](CMeshBuilder& b) { b.AddDisc(5, 5, 0, 100); }, 9, 24},
        {"grid 6 x 4", [](CMeshBuilder& b) { b.AddGrid(-700, -550, 0, 10700, 8050, 0, 6, 4, 0); }, 35, 144},
        {"two rectangles", [](CMeshBuilder& b) {
             b.AddRectangle(0, 0, 1, 10, 20, 1, 0);
             b.AddRectangle(30, 0, 1, 20, -20, 1, 0);
         }, 8, 12},
        {"strip", [](CMeshBuilder& b) { b.AddStrip(0, 0, 1, 300, 400, 1, 30, 1); }, 4, 6},
        {"textured rectangle", [](CMeshBuilder& b) { b.AddTexturedRectangle(-10, -10, 0, 10, 10, 0, 6, 4, 0); }, 4, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CMeshBuilder builder;
        builder.AddMesh();
        c.add(builder);
        const ITEMMESHINFORMATION* mesh = builder.GetMesh(0);
        EXPECT_EQ(mesh->vertexCount, c.vertices);
        EXPECT_EQ(mesh->indexCount, c.indices);
        ExpectAllFaceUp(mesh);
        for (uint32_t i = 0; i < mesh->vertexCount; ++i)
            EXPECT_EQ(Vertices(mesh)[i].nz, 1.0f);
    }
}

TEST(MeshBuilder, NewMeshesAndSelection)
{
    CMeshBuilder builder;
    builder.AddRectangle(0, 0, 0, 1, 1, 0, 0);  // no mesh yet: nothing happens
    builder.AddMesh();
    builder.AddMesh();
    const ITEMMESHINFORMATION* mesh = builder.GetMesh(1);
    EXPECT_EQ(mesh->primitiveType, D3DPT_TRIANGLELIST);
    EXPECT_EQ(mesh->vertexFormat, 0x112u);
    EXPECT_EQ(mesh->zCompare, D3DCMP_LESS);
    EXPECT_EQ(mesh->materialIndex, 0);
    EXPECT_EQ(mesh->textureIndex, NO_TEXTURE);
    EXPECT_EQ(mesh->flags, 5);
    EXPECT_EQ(mesh->drawOrderKey, 6500);
    ASSERT_NE(mesh->pMatrix, nullptr);
    const D3DMATRIX identity = IdentityMatrix();
    EXPECT_EQ(std::memcmp(mesh->pMatrix, &identity, sizeof(D3DMATRIX)), 0);

    builder.SelectMesh(0);
    builder.AddDisc(0, 0, 0, 10);
    builder.SelectMesh(2);  // the count: ignored
    EXPECT_EQ(builder.GetCurrentMeshNumber(), 0);
    builder.AddDisc(0, 0, 0, 10);
    EXPECT_EQ(builder.GetMesh(0)->vertexCount, 18u);
    EXPECT_EQ(builder.GetMesh(0)->pIndices[23 + 1], 9) << "the second disc's indices start after the first's vertices";
    EXPECT_EQ(builder.GetMesh(1)->vertexCount, 0u);
    builder.ClearCurrentMesh();
    EXPECT_EQ(builder.GetMesh(0)->vertexCount, 0u);
    EXPECT_EQ(builder.GetMesh(0)->indexCount, 0u);
}

TEST(MeshBuilder, TilingRepeatsAlongTheNamedSide)
{
    CMeshBuilder builder;
    builder.AddMesh();
    builder.SetTextureTiling(1, nullptr, 100);
    builder.AddRectangle(0, 0, 0, 200, 18, 0, 1);
    const float lines[4] = {0, 0, 1, 0.21875f};
    builder.SetTextureTiling(1, lines, 100);
    builder.AddRectangle(4991, 0, 1, 5009, 7500, 1, 2);
    const D3DVERTEX* v = Vertices(builder.GetMesh(0));
    float uMax = 0;
    for (int i = 0; i < 4; ++i)
        uMax = std::fmax(uMax, v[i].tu);
    EXPECT_FLOAT_EQ(uMax, 2.0f) << "200 units over a tile of 100 repeat twice";
    // The halfway line: u runs along y, 75 repeats; v stays inside the line's strip.
    for (int i = 4; i < 8; ++i) {
        EXPECT_FLOAT_EQ(v[i].tu, v[i].y == 0 ? 0.0f : 75.0f);
        EXPECT_FLOAT_EQ(v[i].tv, v[i].x == 4991 ? 0.0f : 0.21875f);
    }
}

TEST(MeshBuilder, GridTextureCoordinatesAreCellNumbers)
{
    CMeshBuilder builder;
    builder.AddMesh();
    builder.AddGrid(0, 0, 0, 60, 40, 0, 3, 2, 1);
    const D3DVERTEX* v = Vertices(builder.GetMesh(0));
    // Vertex of column 2, row 1 (swapped: u is the row).
    const D3DVERTEX& p = v[1 * 4 + 2];
    EXPECT_FLOAT_EQ(p.x, 40);
    EXPECT_FLOAT_EQ(p.y, 20);
    EXPECT_FLOAT_EQ(p.tu, 1);
    EXPECT_FLOAT_EQ(p.tv, 2);
}

TEST(MeshBuilder, ClippedRingStaysBeyondTheLineAndEndsOnIt)
{
    for (const float cut : {1668.0f, 532.0f}) {
        SCOPED_TRACE(cut);
        CMeshBuilder builder;
        builder.AddMesh();
        builder.AddClippedRing(1100, 3750, 1, 915, 933, cut);
        const ITEMMESHINFORMATION* mesh = builder.GetMesh(0);
        ASSERT_GT(mesh->vertexCount, 0u);
        ExpectAllFaceUp(mesh);
        const float side = cut > 1100 ? 1.0f : -1.0f;
        bool outerEnd = false, innerEnd = false;
        for (uint32_t i = 0; i < mesh->vertexCount; ++i) {
            const D3DVERTEX& p = Vertices(mesh)[i];
            EXPECT_GE(side * (p.x - cut), -0.05f);
            const float r = std::hypot(p.x - 1100, p.y - 3750);
            EXPECT_TRUE(std::fabs(r - 915) < 0.1f || std::fabs(r - 933) < 0.1f) << r;
            if (std::fabs(p.x - cut) < 0.05f) {
                outerEnd = outerEnd || std::fabs(std::fabs(p.y - 3750) - std::sqrt(933.0f * 933 - 568.0f * 568)) < 0.1f;
                innerEnd = innerEnd || std::fabs(std::fabs(p.y - 3750) - std::sqrt(915.0f * 915 - 568.0f * 568)) < 0.1f;
            }
        }
        EXPECT_TRUE(outerEnd && innerEnd) << "the ring ends on the line at the half chords";
    }
    CMeshBuilder builder;
    builder.AddMesh();
    builder.AddClippedRing(0, 0, 0, 10, 20, 25);
    EXPECT_EQ(builder.GetMesh(0)->vertexCount, 0u) << "a line beyond the ring leaves nothing";
}

TEST(MeshBuilder, RefusesShapesPast16BitIndices)
{
    CMeshBuilder builder;
    builder.AddMesh();
    builder.AddGrid(0, 0, 0, 100, 100, 0, 255, 255, 0);  // 65536 vertices: every one reachable
    EXPECT_EQ(builder.GetMesh(0)->vertexCount, 65536u);
    builder.AddDisc(0, 0, 0, 1);
    EXPECT_EQ(builder.GetMesh(0)->vertexCount, 65536u);
    EXPECT_EQ(builder.GetMesh(0)->indexCount, 255u * 255u * 6u);
}

// The match's pitch as the match builds it, drawn from above a corner.
class PitchScene : public EngineTest {};

TEST_F(PitchScene, MarkingsOnTheGrass)
{
    StartEngine(640, 480);
    const auto folder = std::filesystem::temp_directory_path() / ("render3d_pitch_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::vector<uint8_t> grass(32 * 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            grass[static_cast<size_t>(y * 32 + x)] = static_cast<uint8_t>((x < 16 ? 1 : 0) + ((x * 7 + y * 13) % 5 == 0 ? 2 : 0));
    render3d_test::WriteFile(folder / "grass.bmp",
                             render3d_test::MakeBmp8(32, 32, {0x002F8F3C, 0x00287E33, 0x00338F41, 0x002C8537}, grass));
    // Markings: the top 7 of 32 rows white (the line strip), a spot patch, the rest the key.
    std::vector<uint8_t> marks(32 * 32, 1);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (y < 7 || (x >= 25 && x < 28 && y >= 6 && y < 10))
                marks[static_cast<size_t>(y * 32 + x)] = 0;
    render3d_test::WriteFile(folder / "marks%K.bmp", render3d_test::MakeBmp8(32, 32, {0x00F4F4F4, 0x00FF00FF}, marks));

    CTextureManager* textures = m_engine->GetTextureManager();
    CMeshBuilder* builder = m_engine->GetMeshBuilder();
    D3DMATERIAL matte{};
    matte.dwSize = sizeof matte;
    matte.diffuse = matte.ambient = {1, 1, 1, 1};
    const uint16_t material = m_engine->AddMaterial(&matte);
    m_engine->SetAmbientLight(0xFF999999);
    D3DLIGHT2 sun{};
    sun.dwSize = sizeof sun;
    sun.dltType = D3DLIGHT_DIRECTIONAL;
    sun.dcvColor = {0.5f, 0.5f, 0.5f, 1};
    sun.dvDirection = {0.3f, 0.2f, -1.0f};
    m_engine->AddLight(&sun);

    builder->AddMesh();
    builder->SetMaterial(material);
    builder->SetTexture(textures->LoadTexture((folder / "grass.bmp").c_str(), 0, nullptr));
    builder->AddGrid(-700, -550, 0, 10700, 8050, 0, 6, 4, 0);
    builder->AddMesh();
    builder->SetMaterial(material);
    builder->SetTexture(textures->LoadTexture((folder / "marks%K.bmp").c_str(), 0, nullptr));
    const float lineStrip[4] = {0, 0, 1, 0.21875f};
    builder->SetTextureTiling(1, lineStrip, 100);
    builder->AddRectangle(4991, 0, 1, 5009, 7500, 1, 2);
    builder->AddRectangle(-18, -18, 1, 10018, 0, 1, 1);
    builder->AddRectangle(-18, 7500, 1, 10018, 7518, 1, 1);
    builder->AddRectangle(-18, 0, 1, 0, 7500, 1, 2);
    builder->AddRectangle(10000, 0, 1, 10018, 7500, 1, 2);
    const float boxes[][4] = {{0, 2766, 550, 2784},       {550, 2766, 568, 4734},     {0, 4716, 550, 4734},
                              {9450, 2766, 10000, 2784},  {9432, 2766, 9450, 4734},   {9450, 4716, 10000, 4734},
                              {0, 1666, 1650, 1684},      {1650, 1666, 1668, 5834},   {0, 5816, 1650, 5834},
                              {8350, 1666, 10000, 1684},  {8332, 1666, 8350, 5834},   {8350, 5816, 10000, 5834}};
    for (const auto& b : boxes)
        builder->AddRectangle(b[0], b[1], 1, b[2], b[3], 1, (b[2] - b[0]) > (b[3] - b[1]) ? 1 : 2);
    builder->AddRingQuadrants(0, 0, 1, 100, 118, 1);
    builder->AddRingQuadrants(10000, 0, 1, 100, 118, 8);
    builder->AddRingQuadrants(0, 7500, 1, 100, 118, 2);
    builder->AddRingQuadrants(10000, 7500, 1, 100, 118, 4);
    builder->AddRingQuadrants(5000, 3750, 1, 915, 933, 15);
    builder->AddClippedRing(1100, 3750, 1, 915, 933, 1668);
    builder->AddClippedRing(8900, 3750, 1, 915, 933, 8332);
    const float spot[4] = {0.78125f, 0.1875f, 0.875f, 0.3125f};
    builder->SetTextureTiling(1, spot, 100);
    for (const float x : {5000.0f, 1100.0f, 8900.0f})
        builder->AddRectangle(x - 15, 3735, 1, x + 15, 3765, 1, 0);
    m_engine->AddMeshManager();
    builder->AddToMeshManager(0);
    builder->AddToMeshManager(5);  // no such layer: nothing
    EXPECT_EQ(m_engine->GetMeshManager(0)->GetEntryCount(), 2u);

    C3DEngine::SetClearColour(0xFF7FA6D6);
    m_engine->SetNumberOfCameras(1);
    const float centre[3] = {5000, 3750, 0};
    m_engine->GetCamera(0)->SetupOrbit(4000, 2.6f, 0.6f, centre, 7, 100, 40000);
    m_engine->GetCamera(0)->m_ucMode = 200;
    m_engine->Render();
    ASSERT_TRUE(plat::writePng(*m_target, "render3d_pitch.png"));
    std::filesystem::remove_all(folder);

    // The brightest pixel next to where a ground point shows (thin lines
    // cover whole pixels only here and there).
    auto at = [this](float x, float y, float z) {
        const float p[3] = {x, y, z};
        int32_t sx = 0, sy = 0;
        m_engine->TransformToScreen(p, &sx, &sy);
        plat::COLORREF best = 0;
        if (sx <= 0 || sx >= 639 || sy <= 0 || sy >= 479) {
            ADD_FAILURE() << x << ", " << y << " shows off the picture at " << sx << ", " << sy;
            return best;
        }
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const plat::COLORREF c = plat::pixelToColor(m_target->pixel(sx + dx, sy + dy), plat::PixelFormat::Rgb565);
                if (plat::GetRValue(c) + plat::GetGValue(c) + plat::GetBValue(c) >
                    plat::GetRValue(best) + plat::GetGValue(best) + plat::GetBValue(best))
                    best = c;
            }
        return best;
    };
    const plat::COLORREF line = at(5000, 2500, 1), circle = at(5924, 3750, 1), grassColour = at(5600, 3000, 0);
    for (const plat::COLORREF white : {line, circle})
        EXPECT_TRUE(plat::GetRValue(white) > 180 && plat::GetGValue(white) > 180 && plat::GetBValue(white) > 180)
            << std::hex << white;
    EXPECT_GT(plat::GetGValue(grassColour), plat::GetRValue(grassColour) + 50);
}

}  // namespace
