#include "RenderTestSupport.h"

#include "common/DebugLog.h"
#include "platform/PngWriter.h"
#include "render3d/CCamera.h"
#include "render3d/CMeshManager.h"
#include "render3d/CObjectData.h"
#include "render3d/CXFileWriter.h"
#include "render3d/CXFrame.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>

using render3d_test::EngineTest;

namespace {

class TempFolder {
public:
    TempFolder()
        : m_path(std::filesystem::temp_directory_path() / ("render3d_objects_" + std::to_string(getpid())))
    {
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() { std::filesystem::remove_all(m_path); }
    std::string Write(const std::string& name, const XFileData& data) const
    {
        const std::string path = (m_path / name).string();
        EXPECT_TRUE(CXFileWriter::WriteFile(path, data));
        return path;
    }
    std::string Path(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

D3DMATRIX Translation(float x, float y, float z)
{
    return {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {x, y, z, 1}}};
}

XMaterialData Colour(float r, float g, float b, const std::string& texture = "")
{
    XMaterialData m;
    m.faceColour = {r, g, b, 1};
    m.textureFilename = texture;
    return m;
}

// A frame holding one mesh: a quad and a pentagon, the quad in the first
// material, the pentagon in the second.
XFrameData QuadAndPentagon(const std::string& name, float size)
{
    XMeshData mesh;
    mesh.positions = {{0, 0, 0}, {size, 0, 0}, {size, size, 0}, {0, size, 0},
                      {0, 0, 1}, {size, 0, 1}, {size, size, 1}, {size / 2, size * 1.5f, 1}, {0, size, 1}};
    mesh.faces = {{0, 1, 2, 3}, {4, 5, 6, 7, 8}};
    mesh.hasMaterialList = true;
    mesh.faceMaterials = {0, 1};
    mesh.materials = {Colour(1, 0, 0), Colour(0, 0, 1)};
    XFrameData frame;
    frame.name = name;
    frame.meshes = {mesh};
    return frame;
}

TEST(XFrameNodes, FacesAreFannedAndFrameTransformsPlaceTheMeshes)
{
    TempFolder folder;
    XFileData data;
    XFrameData root = QuadAndPentagon("Root", 2);
    root.hasTransform = true;
    root.transform = Translation(10, 0, 0);
    XFrameData child = QuadAndPentagon("Child", 1);
    child.hasTransform = true;
    child.transform = Translation(0, 5, 0);
    child.meshes[0].hasMaterialList = false;
    root.frames = {child};
    data.frames = {root};
    CXMeshFrame frame;
    ASSERT_TRUE(frame.Load(folder.Write("Nodes.x", data))) << frame.GetError();

    ASSERT_EQ(frame.GetVertexCount(), 18u);
    EXPECT_EQ(frame.GetFaceCount(), 4);
    // Quad: (0,1,2)(0,2,3); pentagon: (4,5,6)(4,6,7)(4,7,8); the child's follow at base 9.
    const std::vector<uint16_t> expected = {0, 1, 2, 0, 2, 3, 4, 5, 6, 4, 6, 7, 4, 7, 8,
                                            9, 10, 11, 9, 11, 12, 13, 14, 15, 13, 15, 16, 13, 16, 17};
    EXPECT_EQ(frame.GetIndices(), expected);
    // The child sits in its parent's frame: moved by both transforms.
    EXPECT_EQ(frame.GetVertices()[1].x, 12.0f);
    EXPECT_EQ(frame.GetVertices()[10].x, 11.0f);
    EXPECT_EQ(frame.GetVertices()[10].y, 5.0f);
    EXPECT_EQ(frame.GetVertices()[10].nz, 0.0f) << "no normals in the file: zero normals";
    EXPECT_EQ(frame.GetBounds().max[0], 12.0f);
    EXPECT_EQ(frame.GetBounds().min[1], 0.0f);
    EXPECT_EQ(frame.GetBounds().max[1], 6.5f);
    // The child's faces have no material list: no material and no texture.
    EXPECT_EQ(frame.GetFaceMaterials()[1], 0) << "no material manager: material index 0";
    EXPECT_EQ(frame.GetFaceMaterials()[3], NO_MATERIAL);
    EXPECT_EQ(frame.GetFaceTextures()[3], NO_TEXTURE);
    // One polygon per face, with its placed corners and its material.
    ASSERT_EQ(frame.GetFaces().size(), 4u);
    CFace pentagon(frame.GetFaces()[3]);
    ASSERT_EQ(pentagon.GetVertexCount(), 5);
    EXPECT_EQ(pentagon.GetVertices()[1].x, 11.0f);
    EXPECT_EQ(pentagon.GetVertices()[3].y, 6.5f);
    EXPECT_EQ(pentagon.m_wMaterial, NO_MATERIAL);
    EXPECT_EQ(frame.GetFaces()[1].m_wMaterial, 0);
    EXPECT_EQ(frame.GetFaces()[0].m_wTexture, NO_TEXTURE);
}

TEST(XFrameNodes, FurtherTopLevelFramesAreFurtherLevels)
{
    TempFolder folder;
    XFileData data;
    data.frames = {QuadAndPentagon("Near", 4), QuadAndPentagon("Middle", 2), QuadAndPentagon("Far", 1)};
    data.frames[2].meshes[0].faces.pop_back();
    data.frames[2].meshes[0].faceMaterials.pop_back();
    CXMeshFrame frame;
    ASSERT_TRUE(frame.Load(folder.Write("Levels.x", data))) << frame.GetError();
    EXPECT_EQ(frame.GetLevelsBelow(), 2);
    EXPECT_EQ(frame.GetVertexCount(), 9u);
    EXPECT_EQ(frame.GetVertices()[1].x, 4.0f);
    const CXMeshFrame* pMiddle = frame.GetNextLevel();
    ASSERT_NE(pMiddle, nullptr);
    EXPECT_EQ(pMiddle->GetLevelsBelow(), 1);
    EXPECT_EQ(pMiddle->GetVertices()[1].x, 2.0f);
    const CXMeshFrame* pFar = pMiddle->GetNextLevel();
    ASSERT_NE(pFar, nullptr);
    EXPECT_EQ(pFar->GetNextLevel(), nullptr);
    EXPECT_EQ(pFar->GetIndices().size(), 6u);

    EXPECT_EQ(frame.AppendLevel(new CXMeshFrame), 3) << "depth of a level appended after two";
    EXPECT_EQ(frame.GetLevelsBelow(), 3);
}

TEST(XFrameNodes, UnreadableFilesSayWhy)
{
    TempFolder folder;
    CXMeshFrame missing;
    EXPECT_FALSE(missing.Load(folder.Path("None.x")));
    EXPECT_NE(missing.GetError().find("None.x"), std::string::npos) << missing.GetError();

    XFileData data;
    data.frames = {QuadAndPentagon("Root", 1)};
    std::string text = CXFileWriter::ToText(data);
    text.replace(text.find("4;0,1,2,3;"), 10, "4;0,1,2,9;");
    std::FILE* f = std::fopen(folder.Path("Bad.x").c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    CXMeshFrame bad;
    EXPECT_FALSE(bad.Load(folder.Path("Bad.x")));
    EXPECT_NE(bad.GetError().find("Bad.x:"), std::string::npos) << bad.GetError();
}

TEST(XFrameNodes, MergedMeshesBeyondSixteenBitIndicesAreRefused)
{
    TempFolder folder;
    XMeshData big;
    big.positions.assign(40000, D3DVECTOR{1, 2, 3});
    big.faces = {{0, 1, 39999}};
    XFrameData frame;
    frame.meshes = {big, big};
    XFileData data;
    data.frames = {frame};
    CXMeshFrame tooBig;
    EXPECT_FALSE(tooBig.Load(folder.Write("Big.x", data)));
    EXPECT_NE(tooBig.GetError().find("65535"), std::string::npos) << tooBig.GetError();
    CObjectData objects(10);
    EXPECT_EQ(objects.Load(folder.Write("Big.x", data).c_str(), 0), OBJECT_NOT_FOUND);
}

class LogLines {
public:
    LogLines() { SetDebugLogSink([this](int, const std::string& line) { lines.push_back(line); }); }
    ~LogLines() { SetDebugLogSink(nullptr); }
    std::vector<std::string> lines;
};

class ObjectScene : public EngineTest {};

// With the engine's material manager the two materials are two indices.
TEST_F(ObjectScene, LoadsReusesAndGroupsFacesByMaterial)
{
    StartEngine(64, 64);
    TempFolder folder;
    XFileData data;
    XFrameData frame = QuadAndPentagon("Root", 2);
    frame.meshes[0].faces.push_back({0, 2, 3});  // the quad's material again
    frame.meshes[0].faceMaterials.push_back(0);
    data.frames = {frame};
    const std::string path = folder.Write("Ball.x", data);

    CObjectData objects(10);
    const uint16_t first = objects.Load(path.c_str(), 0);
    ASSERT_EQ(first, 0);
    EXPECT_EQ(objects.Load(path.c_str(), 1), first) << "reuse gives the loaded object";
    EXPECT_EQ(objects.Load(path.c_str(), 0), 1) << "without reuse a second entry";
    EXPECT_EQ(objects.FindObject(path.c_str()), first);
    std::string otherCase = path;
    otherCase.replace(otherCase.find("Ball"), 4, "BALL");
    EXPECT_EQ(objects.FindObject(otherCase.c_str()), OBJECT_NOT_FOUND) << "names compare with case";

    // Two records in order of first appearance: the quad with the extra triangle, then the pentagon.
    ASSERT_EQ(objects.GetMeshRecordCount(first), 2);
    const ITEMMESHINFORMATION* pQuads = objects.GetMeshRecord(first, 0);
    EXPECT_EQ(pQuads->vertexCount, 4u);
    EXPECT_EQ(pQuads->indexCount, 9u);
    const std::vector<uint16_t> quadIndices(pQuads->pIndices, pQuads->pIndices + 9);
    EXPECT_EQ(quadIndices, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3, 0, 2, 3}));
    const ITEMMESHINFORMATION* pPentagon = objects.GetMeshRecord(first, 1);
    EXPECT_EQ(pPentagon->vertexCount, 5u);
    EXPECT_EQ(pPentagon->indexCount, 9u);
    EXPECT_EQ(static_cast<const D3DVERTEX*>(pPentagon->pVertices)[3].y, 3.0f) << "the pentagon's apex";
    EXPECT_EQ(pPentagon->primitiveType, D3DPT_TRIANGLELIST);
    EXPECT_EQ(pPentagon->vertexFormat, D3DFVF_VERTEX);
    EXPECT_EQ(objects.GetMeshRecord(first, 2), nullptr);
    EXPECT_EQ(objects.GetMeshRecord(7, 0), nullptr);

    LogLines log;
    EXPECT_EQ(objects.Load(folder.Path("Missing.x").c_str(), 0), OBJECT_NOT_FOUND);
    XFileData empty;
    empty.frames = {XFrameData{}};
    EXPECT_EQ(objects.Load(folder.Write("Empty.x", empty).c_str(), 0), OBJECT_NOT_FOUND) << "no faces";
    EXPECT_EQ(objects.GetObjectCount(), 2);
    const auto said = [&log](const std::string& text) {
        return std::any_of(log.lines.begin(), log.lines.end(),
                           [&text](const std::string& line) { return line.find(text) != std::string::npos; });
    };
    EXPECT_TRUE(said("Missing.x: cannot be read"));
    EXPECT_TRUE(said("Empty.x gave no faces"));
}

TEST(ObjectData, LevelOfDetailThresholds)
{
    TempFolder folder;
    XFileData data;
    for (int level = 0; level < 5; ++level)
        data.frames.push_back(QuadAndPentagon("Level" + std::to_string(level), 5.0f - level));
    CObjectData objects(10);
    const uint16_t person = objects.Load(folder.Write("Person.x", data).c_str(), 0);
    ASSERT_NE(person, OBJECT_NOT_FOUND);
    EXPECT_EQ(objects.GetLevelCount(person), 4);
    EXPECT_EQ(objects.GetLevelCount(9), 0);
    EXPECT_EQ(objects.SelectLevel(person, 10), 0) << "no list: the first level";

    LogLines log;
    const uint16_t three[3] = {300, 200, 100};
    objects.SetLevelOfDetailList(person, 3, three);
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0], "[CObjectData::SetLevelOfDetailList] Setting wrong number of levels. Actual levels: 5, "
                            "Desired levels: 3");
    const struct {
        uint16_t value, level;
    } cases[] = {{500, 0}, {300, 0}, {299, 1}, {200, 1}, {150, 2}, {100, 2}, {5, 2}};
    for (const auto& c : cases)
        EXPECT_EQ(objects.SelectLevel(person, c.value), c.level) << c.value;

    const uint16_t seven[7] = {700, 600, 500, 400, 300, 200, 100};
    objects.SetLevelOfDetailList(person, 7, seven);
    EXPECT_EQ(objects.SelectLevel(person, 50), 4) << "only as many thresholds as levels are kept";
}

// A goal-like object: a textured ground plate and a red post and crossbar,
// read from an .x file and drawn through a draw list.
TEST_F(ObjectScene, ObjectReadFromAnXFileIsDrawn)
{
    StartEngine(320, 240);
    TempFolder folder;
    std::vector<uint8_t> grass(16 * 16);
    for (size_t i = 0; i < grass.size(); ++i)
        grass[i] = ((i / 16 / 4) + (i % 16 / 4)) % 2;
    render3d_test::WriteFile(folder.Path("turf.bmp"), render3d_test::MakeBmp8(16, 16, {0x002E8B3A, 0x00267A31}, grass));

    // Boxes as six quads each, wound so that their outsides are the fronts.
    auto addBox = [](XMeshData& mesh, D3DVECTOR lo, D3DVECTOR hi, uint16_t material) {
        const D3DVECTOR normals[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
        for (const D3DVECTOR& n : normals) {
            const float nn[3] = {n.x, n.y, n.z}, l[3] = {lo.x, lo.y, lo.z}, h[3] = {hi.x, hi.y, hi.z};
            int axis = 0;
            while (nn[axis] == 0)
                ++axis;
            const int u = (axis + 1) % 3, w = (axis + 2) % 3;
            D3DVECTOR c[4];
            const auto base = static_cast<uint16_t>(mesh.positions.size());
            for (int k = 0; k < 4; ++k) {
                float v[3];
                v[axis] = nn[axis] > 0 ? h[axis] : l[axis];
                v[u] = (k == 1 || k == 2) ? h[u] : l[u];
                v[w] = k >= 2 ? h[w] : l[w];
                c[k] = {v[0], v[1], v[2]};
                mesh.positions.push_back(c[k]);
                mesh.normals.push_back(n);
                mesh.textureCoords.push_back({{0, 0}});
            }
            uint16_t six[6];
            render3d_test::FrontFacingQuad(c, n, 0, six);
            // The corners in the turning order whose fan gives those two triangles.
            const bool reversed = six[1] == 2;
            const uint16_t order[4] = {0, static_cast<uint16_t>(reversed ? 3 : 1), 2,
                                       static_cast<uint16_t>(reversed ? 1 : 3)};
            mesh.faces.push_back({static_cast<uint16_t>(base + order[0]), static_cast<uint16_t>(base + order[1]),
                                  static_cast<uint16_t>(base + order[2]), static_cast<uint16_t>(base + order[3])});
            mesh.faceMaterials.push_back(material);
        }
    };
    XMeshData goal;
    goal.hasMaterialList = true;
    goal.materials = {Colour(1, 1, 1, folder.Path("turf.bmp")), Colour(0.9f, 0.1f, 0.1f)};
    addBox(goal, {-400, -300, -10}, {400, 300, 0}, 0);
    for (size_t i = 0; i < goal.positions.size(); ++i)
        goal.textureCoords[i] = {{goal.positions[i].x / 200, goal.positions[i].y / 200}};
    addBox(goal, {-210, -10, 0}, {-190, 10, 240}, 1);
    addBox(goal, {190, -10, 0}, {210, 10, 240}, 1);
    addBox(goal, {-210, -10, 240}, {210, 10, 260}, 1);
    XFrameData root;
    root.name = "Goal";
    root.meshes = {goal};
    XFileData data;
    data.frames = {root};

    C3DEngine::SetClearColour(0xFF87A9D8);
    D3DLIGHT2 sun{};
    sun.dwSize = sizeof sun;
    sun.dltType = D3DLIGHT_DIRECTIONAL;
    sun.dcvColor = {0.8f, 0.8f, 0.8f, 1};
    sun.dvDirection = {0.4f, 0.6f, -1.0f};
    m_engine->AddLight(&sun);
    m_engine->SetAmbientLight(0xFF555555);

    CObjectData& objects = *m_engine->GetObjectData();
    const uint16_t object = objects.Load(folder.Write("Goal.x", data).c_str(), 1);
    ASSERT_NE(object, OBJECT_NOT_FOUND);
    ASSERT_EQ(objects.GetMeshRecordCount(object), 2);
    EXPECT_NE(objects.GetMeshRecord(object, 0)->textureIndex, NO_TEXTURE);
    EXPECT_EQ(objects.GetMeshRecord(object, 1)->textureIndex, NO_TEXTURE);
    m_engine->AddMeshManager();
    for (uint8_t r = 0; r < objects.GetMeshRecordCount(object); ++r)
        m_engine->GetMeshManager(0)->Add(objects.GetMeshRecord(object, r), MESH_ENTRY_RECORD);
    m_engine->SetNumberOfCameras(1);
    const float target[3] = {0, 0, 120};
    m_engine->GetCamera(0)->SetupOrbit(900, -0.5f, 0.3f, target, 7, 50, 20000);
    m_engine->GetCamera(0)->m_ucMode = 200;
    m_engine->Render();
    ASSERT_TRUE(plat::writePng(*m_target, "render3d_xobject.png"));

    auto colour = [this](int x, int y) { return plat::pixelToColor(m_target->pixel(x, y), plat::PixelFormat::Rgb565); };
    EXPECT_EQ(m_target->pixel(160, 2), plat::colorToPixel(plat::RGB(0x87, 0xA9, 0xD8), plat::PixelFormat::Rgb565))
        << "sky at the top";
    // Turf all over the plate's near part, both of its triangles.
    for (const auto& [x, y] : {std::pair{160, 190}, std::pair{60, 190}, std::pair{280, 170}, std::pair{160, 150}}) {
        const plat::COLORREF ground = colour(x, y);
        EXPECT_GT(plat::GetGValue(ground), plat::GetRValue(ground) + 30) << "turf at " << x << ", " << y;
        EXPECT_GT(plat::GetGValue(ground), plat::GetBValue(ground) + 30) << "turf at " << x << ", " << y;
    }
    int redColumns = 0;
    for (int x = 0; x < 320; ++x) {
        const plat::COLORREF c = colour(x, 120);
        redColumns += plat::GetRValue(c) > 60 && plat::GetRValue(c) > 3 * plat::GetGValue(c);
    }
    EXPECT_GT(redColumns, 4) << "the posts cross the middle row";
    EXPECT_LT(redColumns, 80) << "only the posts, not the whole row";
}

}  // namespace
