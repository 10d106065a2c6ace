#include "common/DebugLog.h"
#include "render3d/CObjectData.h"
#include "render3d/CXBoneFrame.h"
#include "render3d/CXFileWriter.h"
#include "render3d/CXFrame.h"
#include "render3d/VertexTransform.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>

namespace {

class TempFolder {
public:
    TempFolder() : m_path(std::filesystem::temp_directory_path() / ("render3d_skinned_" + std::to_string(getpid())))
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

private:
    std::filesystem::path m_path;
};

// A triangle of three corners around a point.
XMeshData TriangleAt(float x, float y, float z)
{
    XMeshData mesh;
    mesh.positions = {{x, y, z}, {x + 10, y, z}, {x, y + 10, z}};
    mesh.faces = {{0, 1, 2}};
    return mesh;
}

XFrameData Bone(const std::string& name, float x, float y, float z, bool withMesh = true)
{
    XFrameData frame;
    frame.name = name;
    frame.hasTransform = true;
    // A turn in the matrix that the joint ignores.
    frame.transform = {{{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, 0}, {x, y, z, 1}}};
    if (withMesh)
        frame.meshes = {TriangleAt(x, y, z)};
    return frame;
}

// Hips with three children: a thigh (with a shin below it), a "neckband"
// whose mesh is dropped, and a head.
XFileData Skeleton()
{
    XFrameData hips = Bone("Hips", 0, 0, 100);
    XFrameData thigh = Bone("Thigh", 0, 0, 50);
    thigh.frames = {Bone("Shin", 0, 0, 20)};
    hips.frames = {thigh, Bone("neckband", 0, 0, 150), Bone("Head", 0, 0, 170)};
    XFileData data;
    data.frames = {hips};
    return data;
}

TEST(SkinnedObject, BonesAreNumberedDepthFirstAndLinked)
{
    TempFolder folder;
    CObjectData objects(10);
    const uint16_t person = objects.LoadSkinned(folder.Write("Person.x", Skeleton()).c_str(), 15);
    ASSERT_EQ(person, 0);
    const std::vector<CXBoneFrame*>& bones = *objects.GetBoneTable(person, 0);
    ASSERT_EQ(bones.size(), 15u);
    const char* names[] = {"hips", "thigh", "shin", "neckband", "head"};
    for (uint16_t slot = 0; slot < 5; ++slot) {
        ASSERT_NE(bones[slot], nullptr) << slot;
        EXPECT_EQ(bones[slot]->m_wSlot, slot);
        EXPECT_EQ(objects.GetBoneNames().GetBoneName(static_cast<uint16_t>(bones[slot]->m_wNameId - 1)), names[slot]);
    }
    EXPECT_EQ(bones[5], nullptr);

    const CXBoneFrame* hips = bones[0];
    EXPECT_EQ(hips->GetParent(), nullptr);
    EXPECT_EQ(hips->GetFirstChild(), bones[1]);
    EXPECT_EQ(hips->GetFirstChild()->GetNextSibling(), bones[3]);
    EXPECT_EQ(bones[3]->GetNextSibling(), bones[4]);
    EXPECT_EQ(bones[4]->GetNextSibling(), nullptr);
    EXPECT_EQ(bones[2]->GetParent(), bones[1]);

    // The neckband's mesh is dropped; the others' vertices follow in order.
    EXPECT_TRUE(bones[3]->m_bNoMesh);
    EXPECT_TRUE(bones[3]->GetVertices().empty());
    EXPECT_FALSE(bones[4]->m_bNoMesh);
    EXPECT_EQ(objects.GetMeshFrame(person)->GetVertexCount(), 12u);
    EXPECT_EQ(bones[4]->GetVertices(), (std::vector<uint16_t>{9, 10, 11}));
    const ITEMMESHINFORMATION* record = objects.GetMeshRecord(person, 0);
    EXPECT_EQ(record->vertexCount, 12u);
    EXPECT_EQ(record->indexCount, 12u);
    EXPECT_EQ(record->pVertices, nullptr);
    EXPECT_EQ(record->textureIndex, NO_TEXTURE);

    // The joint is the translation alone, and its inverse undoes it.
    const D3DMATRIX& offset = bones[4]->GetOffsetMatrix();
    EXPECT_EQ(offset.m[0][0], 1.0f);
    EXPECT_EQ(offset.m[0][1], 0.0f);
    EXPECT_EQ(offset.m[3][2], 170.0f);
    EXPECT_EQ(bones[4]->GetInverseOffsetMatrix().m[3][2], -170.0f);
    EXPECT_EQ(bones[4]->GetBounds().max[0], 10.0f);
    EXPECT_EQ(bones[4]->GetBounds().min[2], 170.0f);
}

TEST(SkinnedObject, SeamVerticesMoveToTheParentBone)
{
    TempFolder folder;
    XFrameData parent = Bone("Upper", 0, 0, 0);
    XFrameData child = Bone("Lower", 0, 0, 0, false);
    // Corners 0.4 from the parent's first corner on every axis, 0.6 away, and far away.
    child.meshes = {TriangleAt(0.4f, -0.4f, 0.4f)};
    child.meshes[0].positions[1] = {10.6f, 0, 0};
    child.meshes[0].positions[2] = {50, 50, 50};
    parent.frames = {child};
    XFileData data;
    data.frames = {parent};
    CObjectData objects(10);
    const uint16_t object = objects.LoadSkinned(folder.Write("Seam.x", data).c_str(), 2);
    ASSERT_NE(object, OBJECT_NOT_FOUND);
    const std::vector<CXBoneFrame*>& bones = *objects.GetBoneTable(object, 0);
    EXPECT_EQ(bones[0]->GetVertices(), (std::vector<uint16_t>{0, 1, 2, 3}));
    EXPECT_EQ(bones[1]->GetVertices(), (std::vector<uint16_t>{4, 5}));
}

TEST(SkinnedObject, FilesWithoutSkeletonGeometryOrWithTooManyFramesGiveNothing)
{
    TempFolder folder;
    CObjectData objects(10);
    XFileData noMesh;
    noMesh.frames = {Bone("Hips", 0, 0, 0, false)};
    XFileData onlyNeck;
    onlyNeck.frames = {Bone("neck", 0, 0, 0)};
    EXPECT_EQ(objects.LoadSkinned(folder.Write("Empty.x", noMesh).c_str(), 15), OBJECT_NOT_FOUND);
    EXPECT_EQ(objects.LoadSkinned(folder.Write("Neck.x", onlyNeck).c_str(), 15), OBJECT_NOT_FOUND);
    EXPECT_EQ(objects.LoadSkinned(folder.Write("Person.x", Skeleton()).c_str(), 4), OBJECT_NOT_FOUND)
        << "five frames for four slots";
    EXPECT_EQ(objects.GetObjectCount(), 0);
    EXPECT_EQ(objects.LoadSkinned(folder.Write("Person.x", Skeleton()).c_str(), 5), 0);
}

TEST(SkinnedObject, LevelsMatchTheirBonesByName)
{
    TempFolder folder;
    CObjectData objects(10);
    const uint16_t person = objects.LoadSkinned(folder.Write("Person.x", Skeleton()).c_str(), 15);
    ASSERT_NE(person, OBJECT_NOT_FOUND);
    // A coarser level: the head first, then the hips and a bone the base lacks.
    XFileData coarse;
    XFrameData hips = Bone("HIPS", 0, 0, 100);
    hips.frames = {Bone("Tail", 0, 0, 90)};
    coarse.frames = {Bone("Head", 0, 0, 170), hips};
    objects.AddLevel(person, folder.Write("PersonFar.x", coarse).c_str(), 15);
    EXPECT_EQ(objects.GetLevelCount(person), 1);
    const std::vector<CXBoneFrame*>* pLevel = objects.GetBoneTable(person, 1);
    ASSERT_NE(pLevel, nullptr);
    EXPECT_EQ((*pLevel)[0]->m_wSlot, 4) << "the head keeps the base level's slot";
    EXPECT_EQ((*pLevel)[1]->m_wSlot, 0) << "names match without regard to case";
    EXPECT_EQ((*pLevel)[2]->m_wSlot, 2) << "an unmatched name keeps its own slot";
    EXPECT_EQ(objects.GetMeshFrame(person)->GetLevelsBelow(), 1);
    EXPECT_EQ(objects.GetMeshFrame(person)->GetNextLevel()->GetVertexCount(), 9u);

    objects.AddLevel(person, "NoSuchFile.x", 15);
    EXPECT_EQ(objects.GetLevelCount(person), 1) << "a level that cannot be read changes nothing";
}

TEST(BoneFrame, SkinningMovesOnlyTheBonesVerticesAndTurnsNormals)
{
    std::vector<D3DVERTEX> source = {{1, 0, 0, 1, 0, 0, 0.25f, 0.5f}, {2, 0, 0, 0, 0, 1, 0, 0}};
    std::vector<D3DVERTEX> drawn = source;
    CXBoneFrame bone;
    bone.AddVertex(0);
    bone.Skin(source.data(), drawn.data(), true);
    EXPECT_EQ(drawn[0].x, 1.0f) << "no draw matrix: identity";
    // A quarter turn about z, then up by 5.
    const D3DMATRIX turn = {{{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 5, 1}}};
    bone.SetDrawMatrix(&turn);
    bone.Skin(source.data(), drawn.data(), true);
    EXPECT_NEAR(drawn[0].x, 0.0f, 1e-6f);
    EXPECT_NEAR(drawn[0].y, 1.0f, 1e-6f);
    EXPECT_NEAR(drawn[0].z, 5.0f, 1e-6f);
    EXPECT_NEAR(drawn[0].ny, 1.0f, 1e-6f);
    EXPECT_EQ(drawn[0].tv, 0.5f);
    EXPECT_EQ(drawn[1].x, 2.0f) << "another bone's vertex stays";
    bone.Skin(source.data(), drawn.data(), false);
    EXPECT_EQ(drawn[0].nx, 1.0f) << "normals kept when not asked to turn";
}

TEST(BoneFrame, OffsetInverseUndoesAnAffineMatrix)
{
    const float c = std::cos(0.7f), s = std::sin(0.7f);
    const D3DMATRIX offset = {{{c, s, 0, 0}, {-s, c, 0, 0}, {0, 0, 2, 0}, {3, -4, 5, 1}}};
    CXBoneFrame bone;
    bone.SetOffsetMatrix(offset);
    const D3DMATRIX product = MultiplyMatrices(offset, bone.GetInverseOffsetMatrix());
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_NEAR(product.m[i][j], i == j ? 1.0f : 0.0f, 1e-5f) << i << j;
    // A projective matrix has no such inverse: the previous one stays.
    D3DMATRIX projective = offset;
    projective.m[0][3] = 1;
    bone.SetOffsetMatrix(projective);
    EXPECT_NEAR(bone.GetInverseOffsetMatrix().m[3][2], -2.5f, 1e-5f);
}

TEST(BoneNames, OneIdPerNameWhateverItsCase)
{
    CBoneNameTable names;
    EXPECT_EQ(names.RegisterBoneName("Neck", 3), 1);
    EXPECT_EQ(names.RegisterBoneName("Head", 4), 2);
    EXPECT_EQ(names.RegisterBoneName("neck", 9), 1);
    EXPECT_EQ(names.FindBoneName("HEAD"), 2);
    EXPECT_EQ(names.FindBoneName("Foot"), BONE_NAME_NOT_FOUND);
    uint8_t slot = 0;
    ASSERT_TRUE(names.GetBoneSlot(1, &slot));
    EXPECT_EQ(slot, 3) << "the slot of the first registration";
    EXPECT_FALSE(names.GetBoneSlot(3, &slot));
    EXPECT_FALSE(names.GetBoneSlot(0, &slot));
    EXPECT_EQ(names.GetBoneName(1), "head");
    EXPECT_EQ(names.GetBoneName(2), "");
}

}  // namespace
