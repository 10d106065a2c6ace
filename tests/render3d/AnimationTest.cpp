// The .pa reader and writer, the animation manager and the models that play
// animations: stepped keys, frame timing, root motion, the held object's
// track and skinning.
#include "RenderTestSupport.h"

#include "render3d/CAnimationManager.h"
#include "render3d/CMeshManager.h"
#include "render3d/CModel.h"
#include "render3d/CObjectData.h"
#include "render3d/CPaFile.h"
#include "render3d/CXBoneFrame.h"
#include "render3d/CXFileWriter.h"
#include "render3d/VertexTransform.h"

#include "platform/SafeFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <random>

namespace {

constexpr float kPi = 3.14159265f;

class TempFolder {
public:
    TempFolder() : m_path(std::filesystem::temp_directory_path() / ("render3d_animation_" + std::to_string(getpid())))
    {
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() { std::filesystem::remove_all(m_path); }
    std::string Path(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// A chain of bones "b0" > "b1" > ..., each carrying one triangle at its joint.
XFileData Chain(int nBones)
{
    std::vector<XFrameData> frames(static_cast<size_t>(nBones));
    for (int b = 0; b < nBones; ++b) {
        XFrameData& frame = frames[static_cast<size_t>(b)];
        frame.name = "b" + std::to_string(b);
        frame.hasTransform = true;
        frame.transform = IdentityMatrix();
        frame.transform.m[3][1] = b ? 10.0f : 0.0f;
        const float y = 10.0f * b;
        XMeshData mesh;
        mesh.positions = {{0, y, 0}, {5, y, 0}, {0, y, 5}};
        mesh.faces = {{0, 1, 2}};
        frame.meshes = {mesh};
    }
    for (int b = nBones - 1; b > 0; --b)
        frames[static_cast<size_t>(b - 1)].frames = {frames[static_cast<size_t>(b)]};
    XFileData data;
    data.frames = {frames[0]};
    return data;
}

D3DMATRIX Translation(float x, float y, float z)
{
    D3DMATRIX m = IdentityMatrix();
    m.m[3][0] = x;
    m.m[3][1] = y;
    m.m[3][2] = z;
    return m;
}

PaKey Key(uint16_t frame, const D3DMATRIX& m)
{
    PaKey key;
    key.frame = frame;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c)
            key.rows[r][c] = m.m[r][c];
    return key;
}

// One key per listed frame on every bone (bone b's key k moved by (k, b, 0)),
// root keys at the same frames moving forward (-z) 10 a frame.
PaFileData Animation(int nBones, const std::vector<uint16_t>& frames)
{
    PaFileData file;
    file.header = 7;
    for (int b = 0; b < nBones; ++b) {
        PaBoneBlock block;
        block.nameId = static_cast<uint16_t>(b + 1);
        block.slot = static_cast<uint8_t>(b);
        for (size_t k = 0; k < frames.size(); ++k)
            block.keys.push_back(Key(frames[k], Translation(static_cast<float>(k), static_cast<float>(b), 0)));
        if (b == 0)
            for (uint16_t f : frames)
                block.rootKeys.push_back({f, 0, 0, -10.0f * f});
        else
            block.translation[1] = 10;
        file.bones.push_back(block);
    }
    return file;
}

CPaFile::SlotOfName Slots(int nBones)
{
    return [nBones](uint16_t id, uint8_t* pSlot) {
        if (id < 1 || id > nBones)
            return false;
        *pSlot = static_cast<uint8_t>(id - 1);
        return true;
    };
}

void ExpectSameFile(const PaFileData& a, const PaFileData& b)
{
    EXPECT_EQ(CPaFile::Write(a), CPaFile::Write(b));
}

TEST(PaFile, WritesAndReadsBackWithAndWithoutAHeldObject)
{
    PaFileData plain = Animation(3, {0, 4, 9});
    PaFileData held = plain;
    held.propPositions = {{0, 1, 2, 3}, {5, 4, 5, 6}};
    held.propKeys = {Key(0, Translation(1, 2, 3)), Key(5, Translation(4, 5, 6))};
    for (const PaFileData* pFile : {&plain, &held}) {
        const std::vector<uint8_t> bytes = CPaFile::Write(*pFile);
        PaFileData read;
        std::string error;
        ASSERT_TRUE(CPaFile::Read(bytes.data(), bytes.size(), 3, Slots(3), &read, &error)) << error;
        EXPECT_EQ(read.header, 7);
        ASSERT_EQ(read.bones.size(), 3u);
        EXPECT_EQ(read.bones[2].keys[1].rows[3][0], 1.0f);
        EXPECT_EQ(read.bones[0].rootKeys.back().z, -90.0f);
        ExpectSameFile(read, *pFile);
    }
    // Without a held object the file ends at its count: 4 + 3 blocks + 4.
    const size_t blocks = (6 + 3 * 50 + 4 + 3 * 14) + 2 * (6 + 3 * 50 + 16);
    EXPECT_EQ(CPaFile::Write(plain).size(), 4 + blocks + 4);
}

TEST(PaFile, ReadsExactlyTheObjectsBlocksWhateverFollows)
{
    std::vector<uint8_t> bytes;
    PaFileData read;
    std::string error;
    PaFileData two = Animation(2, {0, 2});
    bytes = CPaFile::Write(two);
    bytes.insert(bytes.end(), 40, 0xAB);
    ASSERT_TRUE(CPaFile::Read(bytes.data(), bytes.size(), 2, Slots(2), &read, &error)) << error;
    ExpectSameFile(read, two);
}

TEST(PaFile, RefusesUnknownBonesRepeatedSlotsEmptyTracksAndEveryShortFile)
{
    struct Case {
        const char* what;
        void (*damage)(PaFileData&);
        const char* message;
    };
    const Case cases[] = {
        {"unknown id", [](PaFileData& f) { f.bones[1].nameId = 12; }, "unknown bone id 12"},
        {"id 0", [](PaFileData& f) { f.bones[1].nameId = 0; }, "unknown bone id 0"},
        {"slot twice", [](PaFileData& f) { f.bones[2].nameId = 2; }, "given twice"},
        {"no keys", [](PaFileData& f) { f.bones[1].keys.clear(); }, "has no keys"},
    };
    for (const Case& c : cases) {
        PaFileData file = Animation(3, {0, 3});
        c.damage(file);
        const std::vector<uint8_t> bytes = CPaFile::Write(file);
        PaFileData read;
        std::string error;
        EXPECT_FALSE(CPaFile::Read(bytes.data(), bytes.size(), 3, Slots(3), &read, &error)) << c.what;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
    }
    PaFileData held = Animation(3, {0, 3});
    held.propPositions = {{0, 1, 2, 3}, {3, 1, 2, 3}};
    held.propKeys = {Key(0, IdentityMatrix())};
    const std::vector<uint8_t> bytes = CPaFile::Write(held);
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        // Each cut copy lives in its own allocation, so a read past its end is seen.
        const std::vector<uint8_t> shorter(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        PaFileData read;
        std::string error;
        EXPECT_FALSE(CPaFile::Read(shorter.data(), shorter.size(), 3, Slots(3), &read, &error)) << "cut at " << cut;
        EXPECT_FALSE(error.empty());
    }
}

TEST(PaFile, FuzzedFilesAreReadConsistentlyOrRefused)
{
    PaFileData file = Animation(4, {0, 3, 8});
    file.propPositions = {{0, 1, 2, 3}, {4, 1, 2, 3}, {8, 1, 2, 3}};
    file.propKeys = {Key(0, IdentityMatrix()), Key(4, IdentityMatrix())};
    const std::vector<uint8_t> original = CPaFile::Write(file);
    std::mt19937 random(11);
    int taken = 0;
    for (int trial = 0; trial < 4000; ++trial) {
        std::vector<uint8_t> bytes = original;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int c = 0; c < changes; ++c) {
            const size_t at = random() % bytes.size();
            // Counts and ids are where damage matters most: small words.
            bytes[at] = static_cast<uint8_t>(random() % 3 == 0 ? random() % 8 : random() % 256);
        }
        if (random() % 5 == 0)
            bytes.resize(random() % bytes.size());
        PaFileData read;
        std::string error;
        if (!CPaFile::Read(bytes.data(), bytes.size(), 4, Slots(4), &read, &error)) {
            EXPECT_FALSE(error.empty());
            continue;
        }
        ++taken;
        ASSERT_EQ(read.bones.size(), 4u);
        std::vector<bool> seen(4, false);
        size_t keys = read.propKeys.size() + read.propPositions.size();
        for (const PaBoneBlock& block : read.bones) {
            ASSERT_LT(block.slot, 4);
            EXPECT_FALSE(seen[block.slot]);
            seen[block.slot] = true;
            EXPECT_FALSE(block.keys.empty());
            keys += block.keys.size() + block.rootKeys.size();
        }
        // Every key read came from bytes of the file.
        EXPECT_LE(keys * 14, bytes.size());
    }
    EXPECT_GT(taken, 0) << "some damage (to values, not counts) leaves a readable file";
}

// An object data with a chain skeleton and its animations.
class Animated : public ::testing::Test {
protected:
    void Load(int nBones, int nSlots)
    {
        ASSERT_TRUE(CXFileWriter::WriteFile(m_folder.Path("chain.x"), Chain(nBones)));
        m_object = m_objects.LoadSkinned(m_folder.Path("chain.x").c_str(), static_cast<uint16_t>(nSlots));
        ASSERT_NE(m_object, OBJECT_NOT_FOUND);
    }
    uint16_t Import(const PaFileData& file)
    {
        const std::vector<uint8_t> bytes = CPaFile::Write(file);
        return m_objects.GetAnimationManager().ImportPrecalculatedAnimation(bytes.data(), bytes.size(), "test",
                                                                            m_object);
    }
    CAnimationManager& Manager() { return m_objects.GetAnimationManager(); }

    TempFolder m_folder;
    CObjectData m_objects{10};
    uint16_t m_object = OBJECT_NOT_FOUND;
};

TEST_F(Animated, ImportGivesConsecutiveIndicesAndTheFrameRange)
{
    Load(3, 3);
    PaFileData file = Animation(3, {3, 10, 20});
    file.bones[2].keys.push_back(Key(24, IdentityMatrix()));
    file.bones[0].rootKeys.front().frame = 5;
    EXPECT_EQ(Import(file), 0);
    EXPECT_EQ(Import(file), 1);
    const ANIMATION* pAnimation = Manager().GetAnimation(1);
    ASSERT_NE(pAnimation, nullptr);
    EXPECT_EQ(pAnimation->firstFrame, 3);
    EXPECT_EQ(pAnimation->lastFrame, 24);
    EXPECT_EQ(pAnimation->header, 7);
    EXPECT_EQ(pAnimation->bones[1].matrix.m[3][1], 10.0f);
    EXPECT_EQ(pAnimation->bones[1].nameId, 2);
    EXPECT_EQ(pAnimation->bones[1].keys[0].matrix.m[0][3], 0.0f);
    EXPECT_EQ(pAnimation->bones[1].keys[0].matrix.m[3][3], 1.0f);
    EXPECT_EQ(Manager().GetAnimation(2), nullptr);

    // A bad object, a missing file and an unknown bone leave the count as it was.
    const std::vector<uint8_t> bytes = CPaFile::Write(file);
    EXPECT_EQ(Manager().ImportPrecalculatedAnimation(bytes.data(), bytes.size(), "x", 5), ANIMATION_IMPORT_FAILED);
    EXPECT_EQ(Manager().ImportPrecalculatedAnimation(m_folder.Path("none.pa").c_str(), m_object),
              ANIMATION_IMPORT_FAILED);
    file.bones[1].nameId = 40;
    EXPECT_EQ(Import(file), ANIMATION_IMPORT_FAILED);
    EXPECT_EQ(Manager().GetAnimationCount(), 2);
}

TEST_F(Animated, ImportReadsFromFilesAndNamesAreMatchedWithoutCase)
{
    Load(2, 2);
    const std::vector<uint8_t> bytes = CPaFile::Write(Animation(2, {0, 6}));
    ASSERT_TRUE(plat::writeWholeFile(m_folder.Path("walk.pa"), bytes.data(), bytes.size()));
    EXPECT_EQ(Manager().ImportPrecalculatedAnimation(m_folder.Path("walk.pa").c_str(), m_object), 0);
    EXPECT_EQ(Manager().FindBoneName("B1"), 2);
    uint8_t slot = 0;
    EXPECT_TRUE(Manager().GetBoneSlot(2, &slot));
    EXPECT_EQ(slot, 1);
}

TEST_F(Animated, DisplacementIsTheLastRootKeyAndTheHeadingTheRootBonesLastTurn)
{
    Load(2, 2);
    PaFileData file = Animation(2, {0, 8});
    // The root bone ends turned by a quarter about y (row-vector matrix).
    D3DMATRIX turned = IdentityMatrix();
    turned.m[0][0] = turned.m[2][2] = 0;
    turned.m[0][2] = -1;
    turned.m[2][0] = 1;
    file.bones[0].keys.back() = Key(8, turned);
    const uint16_t animation = Import(file);
    float d[3], heading;
    ASSERT_TRUE(Manager().GetAnimationDisplacement(animation, d, &heading));
    EXPECT_EQ(d[2], -80.0f);
    EXPECT_NEAR(heading, -kPi / 2, 1e-5f);
    file.bones[0].rootKeys.clear();
    EXPECT_FALSE(Manager().GetAnimationDisplacement(Import(file), d, &heading));
}

TEST_F(Animated, ModelAdvancesWholeFramesAndKeepsTheRemainder)
{
    Load(2, 2);
    CModel model(m_objects, m_object, 0);
    ANIMATIONREQUEST request;
    request.animation = Import(Animation(2, {0, 5, 9, 40}));
    ASSERT_TRUE(model.SetAnimation(&request));
    uint32_t elapsed = 100;
    EXPECT_FALSE(model.Update(nullptr, &elapsed));
    EXPECT_EQ(model.GetCurrentFrame(), 2);
    EXPECT_EQ(model.GetRemainder(), 16);
    elapsed = 26;
    model.Update(nullptr, &elapsed);
    EXPECT_EQ(model.GetCurrentFrame(), 3);
    EXPECT_EQ(model.GetRemainder(), 0);
    EXPECT_EQ(model.GetFramesLeft(), 37u);
    EXPECT_EQ(model.GetAnimationTimeLeft(), 37u * 42);

    // Stepped keys: frames 5 to 8 show key 1, frame 9 key 2.
    const int expected[] = {0, 0, 1, 1, 1, 1, 2};
    for (int frame = 3; frame <= 9; ++frame) {
        EXPECT_EQ(model.GetBoneMatrix(1)->m[3][0], static_cast<float>(expected[frame - 3])) << "frame " << frame;
        elapsed = 42;
        model.Update(nullptr, &elapsed);
    }
}

TEST_F(Animated, OneLongUpdateAdvancesByTheWholeFrameCount)
{
    Load(2, 2);
    CModel model(m_objects, m_object, 0);
    ANIMATIONREQUEST request;
    request.animation = Import(Animation(2, {0, 100, 299, 400}));
    ASSERT_TRUE(model.SetAnimation(&request));
    uint32_t elapsed = 300 * 42 + 5;
    EXPECT_FALSE(model.Update(nullptr, &elapsed));
    EXPECT_EQ(model.GetCurrentFrame(), 300);
    EXPECT_EQ(model.GetBoneMatrix(0)->m[3][0], 2.0f);
}

TEST_F(Animated, EndingMidUpdatePutsTheModelAtThePredictedEnd)
{
    Load(2, 2);
    PaFileData file = Animation(2, {0, 4, 8});
    D3DMATRIX turned = IdentityMatrix();
    turned.m[0][0] = turned.m[2][2] = 0;
    turned.m[0][2] = -1;
    turned.m[2][0] = 1;
    file.bones[0].keys.back() = Key(8, turned);
    CModel model(m_objects, m_object, 0);
    model.SetPositionAndHeading(1000, 2000, kPi / 2);
    ANIMATIONREQUEST request;
    request.animation = Import(file);
    ASSERT_TRUE(model.SetAnimation(&request));
    // Facing +x, the 80 forward lead to x + 80; the turn of the root bone turns left.
    EXPECT_NEAR(request.x, 1080, 1e-3f);
    EXPECT_NEAR(request.y, 2000, 1e-3f);
    EXPECT_NEAR(request.heading, 0, 1e-5f);

    ANIMATIONREQUEST out;
    uint32_t elapsed = 4 * 42;
    EXPECT_FALSE(model.Update(&out, &elapsed));
    EXPECT_NEAR(out.x, 1040, 1e-3f);
    EXPECT_NEAR(out.y, 2000, 1e-3f);
    elapsed = 5 * 42 + 11;
    EXPECT_TRUE(model.Update(&out, &elapsed));
    EXPECT_NEAR(out.x, 1080, 1e-3f);
    EXPECT_NEAR(out.heading, 0, 1e-5f);
    EXPECT_EQ(out.remainder, 11);
    EXPECT_NEAR(model.GetX(), 1080, 1e-3f);
    EXPECT_NEAR(model.GetWorldMatrix().m[3][0], 1080, 1e-3f);
    EXPECT_EQ(model.GetFramesLeft(), 0u);
    // Idle now: an update reports the end at once and gives the time back.
    elapsed = 30;
    EXPECT_TRUE(model.Update(&out, &elapsed));
    EXPECT_EQ(out.remainder, 30);
}

TEST_F(Animated, HeldObjectTrackShowsFromItsSecondKeyAndReportsTheLast)
{
    Load(2, 2);
    PaFileData file = Animation(2, {0, 10});
    file.propPositions = {{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}};
    file.propKeys = {Key(0, IdentityMatrix()), Key(4, IdentityMatrix()), Key(8, IdentityMatrix())};
    const uint16_t held = Import(file);
    file.propPositions.resize(1);
    file.propKeys.resize(1);
    const uint16_t single = Import(file);

    CModel model(m_objects, m_object, 0);
    float x, y, z;
    uint16_t frame = 0;
    ASSERT_TRUE(model.GetAnimationFirstKey(held, &x, &y, &z, &frame));
    EXPECT_EQ(x, 5.0f);
    EXPECT_EQ(y, -7.0f);
    EXPECT_EQ(z, 6.0f);
    EXPECT_EQ(frame, 4);
    ASSERT_TRUE(model.GetAnimationLastKey(held, &x, &y, &z, nullptr));
    EXPECT_EQ(x, 9.0f);
    EXPECT_FALSE(model.GetAnimationFirstKey(single, &x, &y, &z, &frame));

    ANIMATIONREQUEST request;
    request.animation = held;
    request.handledObjectMode = 2;
    ASSERT_TRUE(model.SetAnimation(&request));
    D3DMATRIX matrix;
    EXPECT_EQ(model.GetCurrentFrameMatrix(&matrix), 1);
    uint32_t elapsed = 2 * 42;
    model.Update(nullptr, &elapsed);
    EXPECT_EQ(model.GetCurrentFrameMatrix(&matrix), 2);
    // At the origin with heading 0 the file's (1, 2, 3) lies at (1, -3, 2).
    EXPECT_NEAR(matrix.m[3][0], 1, 1e-4f);
    EXPECT_NEAR(matrix.m[3][1], -3, 1e-4f);
    EXPECT_NEAR(matrix.m[3][2], 2, 1e-4f);
    // Past frame 4 the last entry is the next one: mode 2 reports it.
    elapsed = 3 * 42;
    model.Update(nullptr, &elapsed);
    EXPECT_EQ(model.GetCurrentFrameMatrix(&matrix), 3);
    EXPECT_NEAR(matrix.m[3][0], 5, 1e-4f);
}

TEST_F(Animated, DrawnVerticesAreTheRestPoseThroughEachBonesKey)
{
    Load(3, 3);
    CModel model(m_objects, m_object, 0);
    PaFileData file = Animation(3, {0, 2, 4});
    // Bone 2 turns a quarter about y round the origin at frame 2.
    D3DMATRIX turned = IdentityMatrix();
    turned.m[0][0] = turned.m[2][2] = 0;
    turned.m[0][2] = -1;
    turned.m[2][0] = 1;
    file.bones[2].keys[1] = Key(2, turned);
    ANIMATIONREQUEST request;
    request.animation = Import(file);
    ASSERT_TRUE(model.SetAnimation(&request));
    uint32_t elapsed = 2 * 42;
    model.Update(nullptr, &elapsed);
    ITEMMESHINFORMATION* pMesh = nullptr;
    ASSERT_TRUE(model.GetMesh(0, &pMesh));
    EXPECT_EQ(pMesh->pMatrix, &model.GetWorldMatrix());
    const auto* pDrawn = static_cast<const D3DVERTEX*>(pMesh->pVertices);
    const D3DVERTEX* pRest = m_objects.GetMeshFrame(m_object)->GetVertices();
    for (const CXBoneFrame* pBone : *m_objects.GetBoneTable(m_object, 0)) {
        const D3DMATRIX& key = *model.GetBoneMatrix(pBone->m_wSlot);
        for (uint16_t v : pBone->GetVertices()) {
            const D3DVERTEX want = TransformVertex(pRest[v], key, true);
            EXPECT_NEAR(pDrawn[v].x, want.x, 1e-4f);
            EXPECT_NEAR(pDrawn[v].y, want.y, 1e-4f);
            EXPECT_NEAR(pDrawn[v].z, want.z, 1e-4f);
        }
    }
    // Bone 2's corner (5, 20, 0) turned: x goes to -z.
    const uint16_t corner = m_objects.GetBoneTable(m_object, 0)->at(2)->GetVertices()[1];
    EXPECT_NEAR(pDrawn[corner].z, -5, 1e-4f);
    EXPECT_NEAR(pDrawn[corner].y, 20, 1e-4f);
}

TEST_F(Animated, AnimationsBeyondTheCountOrWithoutASkeletonDoNotStart)
{
    Load(2, 2);
    CModel model(m_objects, m_object, 0);
    ANIMATIONREQUEST request;
    request.animation = 3;
    EXPECT_FALSE(model.SetAnimation(&request));
    EXPECT_EQ(model.GetFramesLeft(), 0u);
    uint32_t elapsed = 42;
    EXPECT_TRUE(model.Update(nullptr, &elapsed));
}

TEST(StaticModel, OwnsItsRecordsTakesFlatNormalsAndMergesOtherObjects)
{
    TempFolder folder;
    XMeshData square;
    square.positions = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    square.faces = {{0, 1, 2, 3}};
    XFrameData frame;
    frame.name = "square";
    frame.meshes = {square};
    XFileData data;
    data.frames = {frame};
    ASSERT_TRUE(CXFileWriter::WriteFile(folder.Path("square.x"), data));
    frame.meshes[0].positions = {{0, 0, 5}, {0, 20, 5}, {0, 20, 25}};
    frame.meshes[0].faces = {{0, 1, 2}};
    data.frames = {frame};
    ASSERT_TRUE(CXFileWriter::WriteFile(folder.Path("wall.x"), data));
    CObjectData objects(10);
    const uint16_t squareObject = objects.Load(folder.Path("square.x").c_str(), 0);
    const uint16_t wall = objects.Load(folder.Path("wall.x").c_str(), 0);
    ASSERT_NE(wall, OBJECT_NOT_FOUND);

    CModel model(objects, squareObject, CModel::CREATE_TRIANGLE_PLANES);
    ASSERT_EQ(model.GetMeshCount(), 1);
    ITEMMESHINFORMATION* pMesh = nullptr;
    ASSERT_TRUE(model.GetMesh(0, &pMesh));
    EXPECT_NE(pMesh->pVertices, objects.GetMeshRecord(squareObject, 0)->pVertices) << "the model's own copy";
    model.ComputeFlatNormals();
    for (uint32_t v = 0; v < pMesh->vertexCount; ++v)
        EXPECT_EQ(std::fabs(static_cast<const D3DVERTEX*>(pMesh->pVertices)[v].nz), 1.0f);
    // Two triangles, each a plane through z = 0.
    ASSERT_EQ(model.GetTrianglePlanes().size(), 8u);
    EXPECT_EQ(std::fabs(model.GetTrianglePlanes()[2]), 1.0f);
    EXPECT_EQ(model.GetTrianglePlanes()[3], 0.0f);

    model.Merge(wall);
    ASSERT_EQ(model.GetMeshCount(), 2);
    model.SetMeshTexture(7);
    model.ComputeFlatNormals();
    ASSERT_TRUE(model.GetMesh(1, &pMesh));
    EXPECT_EQ(pMesh->textureIndex, 7);
    EXPECT_EQ(std::fabs(static_cast<const D3DVERTEX*>(pMesh->pVertices)[0].nx), 1.0f);
}

class ModelInDrawList : public render3d_test::EngineTest {};

TEST_F(ModelInDrawList, AModelJoinsOnlyALayerThatExists)
{
    StartEngine(64, 48);
    TempFolder folder;
    ASSERT_TRUE(CXFileWriter::WriteFile(folder.Path("chain.x"), Chain(2)));
    CObjectData& objects = *m_engine->GetObjectData();
    const uint16_t object = objects.LoadSkinned(folder.Path("chain.x").c_str(), 2);
    ASSERT_NE(object, OBJECT_NOT_FOUND);
    m_engine->AddMeshManager();
    {
        CModel model(objects, object, 0);
        EXPECT_EQ(model.AddToMeshManager(3), 3u);
        EXPECT_FALSE(model.GetFlags() & CModel::FLAG_IN_MESH_MANAGER);
        EXPECT_EQ(m_engine->GetMeshManager(0)->GetEntryCount(), 0u);
        EXPECT_EQ(model.AddToMeshManager(0), 1u);
        EXPECT_TRUE(model.GetFlags() & CModel::FLAG_IN_MESH_MANAGER);
        EXPECT_EQ(m_engine->GetMeshManager(0)->GetMeshCount(), model.GetMeshCount());
        m_engine->Render();
    }
    // A model leaves its list when it goes.
    EXPECT_EQ(m_engine->GetMeshManager(0)->GetEntryCount(), 0u);
    EXPECT_EQ(m_engine->GetMeshManager(0)->GetMeshCount(), 0u);
}

}  // namespace
