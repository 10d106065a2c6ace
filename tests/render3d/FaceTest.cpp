#include "RenderTestSupport.h"

#include "render3d/CFace.h"
#include "render3d/CFaceManager.h"
#include "platform/PngWriter.h"
#include "render3d/CMeshManager.h"

#include <array>
#include <cmath>
#include <memory>
#include <vector>

using render3d_test::EngineTest;
using render3d_test::Glowing;
using render3d_test::Projection;

namespace {

// Faces seen with no view and the 90-degree projection: eye (x, y, z) lands
// at (x / z, y / z, 1.01 (z - 1) / z) on a 4:3 target, whose volume runs over
// x -1..1 and y -0.75..0.75.
class FaceGeometry : public EngineTest {
protected:
    void SetUp() override
    {
        StartEngine(320, 240);
        const D3DMATRIX identity = IdentityMatrix(), projection = Projection();
        m_engine->SetViewMatrix(&identity);
        m_engine->SetProjectionMatrix(&projection);
        m_engine->SetCameraMatrix(&projection);
    }
};

std::unique_ptr<CFace> MakeFace(const std::vector<D3DVECTOR>& corners)
{
    auto face = std::make_unique<CFace>();
    face->SetSize(static_cast<uint8_t>(corners.size()));
    for (size_t i = 0; i < corners.size(); ++i)
        face->GetVertices()[i] = D3DVERTEX{corners[i].x, corners[i].y, corners[i].z, 0, 0, -1, 0, 0};
    return face;
}

void ExpectNear(const D3DVECTOR& got, const D3DVECTOR& want, const char* what)
{
    EXPECT_NEAR(got.x, want.x, 1e-4f) << what;
    EXPECT_NEAR(got.y, want.y, 1e-4f) << what;
    EXPECT_NEAR(got.z, want.z, 1e-4f) << what;
}

TEST_F(FaceGeometry, VolumeTestAgainstCasesWorkedByHand)
{
    struct Case {
        const char* name;
        std::vector<D3DVECTOR> corners;
        bool visible;
        bool inside;
    };
    const std::vector<Case> cases = {
        {"in the middle", {{0, 0, 2}, {1, 0, 2}, {0, 1, 2}}, true, true},
        {"across the right edge", {{0, 0, 2}, {4, 0, 2}, {0, 1, 2}}, true, false},
        {"above the top of a 4:3 view (y 0.8)", {{0, 0, 2}, {1, 0, 2}, {0, 1.6f, 2}}, true, false},
        {"through the eye's plane", {{0, 0, 2}, {1, 0, 0}, {0, 1, 2}}, true, false},
        {"wholly behind the eye", {{0, 0, -2}, {1, 0, -2}, {0, 1, -2}}, false, false},
        {"wholly beyond the far plane", {{0, 0, 200}, {1, 0, 200}, {0, 1, 200}}, false, false},
        {"wholly left", {{-10, 0, 2}, {-12, 0, 2}, {-10, 1, 2}}, false, false},
        {"two corners only", {{0, 0, 2}, {1, 0, 2}}, false, false},
    };
    for (const Case& c : cases) {
        auto face = MakeFace(c.corners);
        EXPECT_EQ(face->Update(), c.visible) << c.name;
        EXPECT_EQ(face->WasVisible(), c.visible) << c.name;
        if (c.visible) {
            EXPECT_EQ(face->IsInside(), c.inside) << c.name;
        }
    }
    auto off = MakeFace({{0, 0, 2}, {1, 0, 2}, {0, 1, 2}});
    off->m_dwEnabled = 0;
    EXPECT_FALSE(off->Update()) << "a disabled face";
}

TEST_F(FaceGeometry, PositionsBoxAndPlane)
{
    auto face = MakeFace({{0, 0, 2}, {1, 0, 2}, {0, 1, 4}});
    ASSERT_TRUE(face->Update());
    ExpectNear(face->GetTransformed()[0], {0, 0, 0.505f}, "corner 0");
    ExpectNear(face->GetTransformed()[1], {0.5f, 0, 0.505f}, "corner 1");
    ExpectNear(face->GetTransformed()[2], {0, 0.25f, 0.7575f}, "corner 2");
    ExpectNear(face->GetBoxMin(), {0, 0, 0.505f}, "box minimum");
    ExpectNear(face->GetBoxMax(), {0.5f, 0.25f, 0.7575f}, "box maximum (far z is the depth key)");
    // (0.5, 0, 0) x (0, 0.25, 0.2525) = (0, -0.12625, 0.125), normalised.
    const float length = std::sqrt(0.12625f * 0.12625f + 0.125f * 0.125f);
    ExpectNear(face->GetPlaneNormal(), {0, -0.12625f / length, 0.125f / length}, "plane normal");
    EXPECT_NEAR(face->GetPlaneConstant(), -0.505f * 0.125f / length, 1e-4f);

    // The face's own matrix comes before the camera's: moved 2 to the right
    // at depth 2, corner 0 lands at x = 1.
    D3DMATRIX moved = IdentityMatrix();
    moved.m[3][0] = 2;
    face->m_pMatrix = &moved;
    ASSERT_TRUE(face->Update());
    ExpectNear(face->GetTransformed()[0], {1, 0, 0.505f}, "moved corner 0");

    // A copy has the same corners and gives the same result, without the link.
    CFace other;
    face->m_pNext = &other;
    CFace copy(*face);
    EXPECT_EQ(copy.m_pNext, nullptr);
    ASSERT_TRUE(copy.Update());
    ExpectNear(copy.GetTransformed()[0], {1, 0, 0.505f}, "copied corner 0");
}

TEST_F(FaceGeometry, EyeSpaceFaceSitsAtItsPointAndIgnoresTheCamera)
{
    D3DMATRIX view = IdentityMatrix();
    view.m[3][2] = 5;  // the world moves 5 away from the eye
    m_engine->SetViewMatrix(&view);
    D3DMATRIX camera = IdentityMatrix();
    m_engine->SetCameraMatrix(&camera);
    auto face = MakeFace({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    face->m_ucViewMode = CFace::VIEW_EYE_SPACE;
    face->m_WorldPosition = D3DVECTOR{1, 0, 0};
    ASSERT_TRUE(face->Update());
    // Eye (1, 0, 5), (2, 0, 5), (1, 1, 5).
    ExpectNear(face->GetTransformed()[0], {0.2f, 0, 0.808f}, "corner 0");
    ExpectNear(face->GetTransformed()[1], {0.4f, 0, 0.808f}, "corner 1");
    ExpectNear(face->GetTransformed()[2], {0.2f, 0.2f, 0.808f}, "corner 2");
}

// Faces owned by a static list, at depth z, with a texture number.
CFace* AddFaceAt(CFaceManager& list, float z, uint16_t texture)
{
    CFace* face = MakeFace({{0, 0, z}, {0.1f, 0, z}, {0, 0.1f, z}}).release();
    face->m_wTexture = texture;
    list.AddFace(face);
    return face;
}

std::vector<CFace*> Order(const CFaceManager& list)
{
    std::vector<CFace*> order;
    for (int i = 0; i < list.GetFaceCount(); ++i)
        order.push_back(list.GetFace(i));
    return order;
}

TEST_F(FaceGeometry, SortsByTextureThenDepthDecides)
{
    CFaceManager list;
    CFace* nearA = AddFaceAt(list, 2, 7);
    CFace* farB = AddFaceAt(list, 50, 3);
    CFace* middleC = AddFaceAt(list, 10, 9);
    list.m_ucFlags = CFaceManager::SORT_BY_TEXTURE;
    list.Draw();
    // With a depth buffer, highest texture first.
    EXPECT_EQ(Order(list), (std::vector<CFace*>{middleC, nearA, farB}));
    list.m_ucFlags = CFaceManager::SORT_BY_TEXTURE | CFaceManager::SORT_BACK_TO_FRONT;
    list.Draw();
    EXPECT_EQ(Order(list), (std::vector<CFace*>{farB, middleC, nearA}));
    // Depth keys are this frame's: the near face moves far away.
    nearA->GetVertices()[0].z = nearA->GetVertices()[1].z = nearA->GetVertices()[2].z = 90;
    list.m_ucFlags = CFaceManager::SORT_BACK_TO_FRONT;
    list.Draw();
    EXPECT_EQ(Order(list), (std::vector<CFace*>{nearA, farB, middleC}));
}

TEST_F(FaceGeometry, DynamicListTakesTheChainInOrderSkippingFacesOutOfView)
{
    std::vector<std::unique_ptr<CFace>> owned;
    owned.push_back(MakeFace({{0, 0, 2}, {1, 0, 2}, {0, 1, 2}}));
    owned.push_back(MakeFace({{0, 0, -2}, {1, 0, -2}, {0, 1, -2}}));
    owned.push_back(MakeFace({{0, 0, 3}, {1, 0, 3}, {0, 1, 3}}));
    for (size_t i = 0; i + 1 < owned.size(); ++i)
        owned[i]->m_pNext = owned[i + 1].get();
    {
        CFaceManager list;
        list.m_ucKind = CFaceManager::KIND_DYNAMIC;
        list.m_pFirstDynamic = owned[0].get();
        list.UpdateDynamicFaces();
        EXPECT_EQ(Order(list), (std::vector<CFace*>{owned[0].get(), owned[1].get(), owned[2].get()}));
        list.m_ucFlags = CFaceManager::TEST_VISIBILITY;
        list.UpdateDynamicFaces();
        EXPECT_EQ(Order(list), (std::vector<CFace*>{owned[0].get(), owned[2].get()})) << "the face behind is skipped";
        list.FreeFaces();
    }
    // The list let go of the faces without deleting them (the sanitizer build
    // reports a double free otherwise).
    EXPECT_TRUE(owned[2]->Update());

    CFaceManager fixed;
    CFace* kept = AddFaceAt(fixed, 2, 0);
    fixed.UpdateDynamicFaces();
    EXPECT_EQ(Order(fixed), std::vector<CFace*>{kept}) << "a static list is left alone";
}

// Pictures: faces drawn after the meshes, only the last list depth-tested.
class FacePicture : public FaceGeometry {};

TEST_F(FacePicture, LastFaceListIsHiddenBehindMeshesOthersLieOver)
{
    const D3DMATERIAL redGlow = Glowing(1, 0, 0), greenGlow = Glowing(0, 1, 0), blueGlow = Glowing(0, 0, 1);
    const uint16_t red = m_engine->AddMaterial(&redGlow);
    const uint16_t green = m_engine->AddMaterial(&greenGlow);
    const uint16_t blue = m_engine->AddMaterial(&blueGlow);
    // A red wall at depth 10 over the right half of the view.
    std::array<D3DVERTEX, 4> wall{{{0, -10, 10, 0, 0, -1, 0, 0},
                                   {10, -10, 10, 0, 0, -1, 0, 0},
                                   {10, 10, 10, 0, 0, -1, 0, 0},
                                   {0, 10, 10, 0, 0, -1, 0, 0}}};
    std::array<uint16_t, 6> wallIndices{0, 1, 2, 0, 2, 3};
    ITEMMESHINFORMATION wallMesh;
    wallMesh.pVertices = wall.data();
    wallMesh.vertexCount = 4;
    wallMesh.pIndices = wallIndices.data();
    wallMesh.indexCount = 6;
    wallMesh.flags = MESH_VISIBLE | MESH_SCENE_VIEW;
    wallMesh.materialIndex = red;
    m_engine->AddMeshManager();
    m_engine->GetMeshManager(0)->Add(&wallMesh, MESH_ENTRY_RECORD);

    // Behind the wall at depth 20: a green square in the upper half (first
    // list) and a blue one in the lower half (last list), both across the
    // whole width.
    auto square = [](float y0, float y1) {
        return MakeFace({{-20, y0, 20}, {20, y0, 20}, {20, y1, 20}, {-20, y1, 20}});
    };
    m_engine->SetNumberOfFaceManagers(2);
    auto upper = square(0.5f, 10);
    upper->m_wMaterial = green;
    m_engine->GetFaceManager(0)->AddFace(upper.release());
    auto lower = square(-10, -0.5f);
    lower->m_wMaterial = blue;
    CFaceManager* last = m_engine->GetFaceManager(1);
    last->AddFace(lower.release());
    C3DEngine::SetClearColour(0xFF404040);
    m_engine->Render();
    ASSERT_TRUE(plat::writePng(*m_target, "render3d_faces.png"));

    auto is = [this](int x, int y, plat::COLORREF colour) {
        return m_target->pixel(x, y) == plat::colorToPixel(colour, plat::PixelFormat::Rgb565);
    };
    EXPECT_TRUE(is(80, 60, plat::RGB(0, 255, 0))) << "first list, left of the wall";
    EXPECT_TRUE(is(240, 60, plat::RGB(0, 255, 0))) << "first list drawn over the wall";
    EXPECT_TRUE(is(80, 180, plat::RGB(0, 0, 255))) << "last list, left of the wall";
    EXPECT_TRUE(is(240, 180, plat::RGB(255, 0, 0))) << "last list hidden behind the wall";
    EXPECT_TRUE(is(80, 220, plat::RGB(0x40, 0x40, 0x40))) << "below the squares";
}

}  // namespace
