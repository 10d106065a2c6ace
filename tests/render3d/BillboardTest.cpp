#include "RenderTestSupport.h"

#include "platform/PngWriter.h"
#include "render3d/CBillboard.h"
#include "render3d/CCamera.h"
#include "render3d/CMeshManager.h"
#include "render3d/CTextureManager.h"

#include <unistd.h>

#include <vector>

using render3d_test::EngineTest;

namespace {

// One still camera with a 90-degree view (near 10, far 10010) on a 320 x 240
// target. From (0, -1000, 0) looking along +y, world (x, y, z) is eye
// (-x, z, y + 1000).
class Billboards : public EngineTest {
protected:
    void SetUp() override
    {
        StartEngine(320, 240);
        m_engine->SetNumberOfCameras(1);
        Look(D3DVECTOR{0, -1000, 0}, D3DVECTOR{0, 1, 0});
    }
    void Look(D3DVECTOR from, D3DVECTOR direction)
    {
        CCamera* camera = m_engine->GetCamera(0);
        camera->m_ucMode = 200;  // still
        camera->m_Position = from;
        camera->m_Direction = direction;
        camera->m_fFieldOfView = 1.5707964f;
        camera->m_fNear = 10;
        camera->m_fFar = 10010;
        camera->BuildProjectionMatrix();
        camera->BuildViewMatrix();
        m_engine->Render();  // takes the camera's matrices
    }
};

TEST_F(Billboards, PlacedAtTheEyeSpacePointAndDroppedOffScreen)
{
    struct Case {
        const char* name;
        D3DVECTOR world;
        bool drawn;
        D3DVECTOR eye;
    };
    const std::vector<Case> cases = {
        {"ahead", {100, 500, 50}, true, {-100, 50, 1500}},
        {"across the left edge", {1050, 0, 0}, true, {-1050, 0, 1000}},
        {"behind the camera", {0, -2000, 0}, false, {0, 0, -1000}},
        {"wholly left", {5000, 0, 0}, false, {-5000, 0, 1000}},
        {"beyond the far plane", {0, 20000, 0}, false, {0, 0, 21000}},
    };
    for (const Case& c : cases) {
        CBillboard board;
        board.SetHalfSize(100, 100);
        board.m_WorldPosition = c.world;
        ITEMMESHINFORMATION* mesh = nullptr;
        EXPECT_EQ(board.Update(&mesh), c.drawn) << c.name;
        EXPECT_EQ(mesh, &board.GetMesh()) << c.name;
        const D3DVECTOR& eye = board.GetEyePosition();
        EXPECT_NEAR(eye.x, c.eye.x, 0.01f) << c.name;
        EXPECT_NEAR(eye.y, c.eye.y, 0.01f) << c.name;
        EXPECT_NEAR(eye.z, c.eye.z, 0.01f) << c.name;
        EXPECT_FLOAT_EQ(board.GetMesh().pMatrix->m[3][0], c.eye.x) << c.name;
        EXPECT_FLOAT_EQ(board.GetMesh().pMatrix->m[3][2], c.eye.z) << c.name;
    }
    CBillboard off;
    off.SetHalfSize(100, 100);
    off.m_bEnabled = false;
    EXPECT_FALSE(off.Update(nullptr));
}

TEST_F(Billboards, CornersOnScreen)
{
    // Eye (0, 0, 1000): a corner (x, y, z) lands at x / (1000 + z) of the
    // half width right of the middle and y / (1000 + z) of the half width up.
    CBillboard board;
    board.m_WorldPosition = D3DVECTOR{0, 0, 0};
    board.SetHalfSize(100, 200);
    ASSERT_TRUE(board.Update(nullptr));
    D3DTLVERTEX* screen = nullptr;
    m_engine->ConvertWorldToScreen(&board.GetMesh(), &screen, nullptr);
    ASSERT_NE(screen, nullptr);
    const float halfSize[4][2] = {{128, 104}, {192, 104}, {192, 136}, {128, 136}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(screen[i].sx, halfSize[i][0], 0.01f) << "corner " << i;
        EXPECT_NEAR(screen[i].sy, halfSize[i][1], 0.01f) << "corner " << i;
    }
    // The top edge leans 100 nearer: its corners at depth 900.
    board.SetCorners(-100, 0, 100, 200);
    ASSERT_TRUE(board.Update(nullptr));
    m_engine->ConvertWorldToScreen(&board.GetMesh(), &screen, nullptr);
    const float leaning[4][2] = {{160 - 160.0f / 9, 120 - 320.0f / 9},
                                 {160 + 160.0f / 9, 120 - 320.0f / 9},
                                 {176, 120},
                                 {144, 120}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(screen[i].sx, leaning[i][0], 0.01f) << "leaning corner " << i;
        EXPECT_NEAR(screen[i].sy, leaning[i][1], 0.01f) << "leaning corner " << i;
    }
}

TEST_F(Billboards, TextureRectangleByTheSideTheCameraSeesFrom)
{
    // Eight directions of two frames each; rectangle i covers u i/16..(i+1)/16.
    std::vector<BillboardTextureRect> rects;
    for (int i = 0; i < 16; ++i)
        rects.push_back(BillboardTextureRect{i / 16.0f, 0.25f, (i + 1) / 16.0f, 0.75f});
    D3DMATRIX quarterTurn{};  // (x, y) -> (-y, x)
    quarterTurn.m[0][1] = 1;
    quarterTurn.m[1][0] = -1;
    quarterTurn.m[2][2] = 1;
    quarterTurn.m[3][3] = 1;
    struct Case {
        const char* name;
        D3DVECTOR from, direction;
        bool turned;
        int rect;
    };
    const std::vector<Case> cases = {
        {"from +y", {0, 1000, 0}, {0, -1, 0}, false, 8},
        {"from -y", {0, -1000, 0}, {0, 1, 0}, false, 0},
        {"from +x", {1000, 0, 0}, {-1, 0, 0}, false, 12},
        {"from -x", {-1000, 0, 0}, {1, 0, 0}, false, 4},
        {"from +x, the sprite turned a quarter", {1000, 0, 0}, {-1, 0, 0}, true, 8},
    };
    for (const Case& c : cases) {
        Look(c.from, c.direction);
        CBillboard board;
        board.SetHalfSize(50, 50);
        board.SetTextureRect(2, 8, rects.data());
        if (c.turned)
            board.m_Orientation = quarterTurn;
        ASSERT_TRUE(board.Update(nullptr)) << c.name;
        const auto* v = static_cast<const D3DVERTEX*>(board.GetMesh().pVertices);
        EXPECT_FLOAT_EQ(v[0].tu, c.rect / 16.0f) << c.name;
        EXPECT_FLOAT_EQ(v[0].tv, 0.25f) << c.name;
        EXPECT_FLOAT_EQ(v[2].tu, (c.rect + 1) / 16.0f) << c.name;
        EXPECT_FLOAT_EQ(v[2].tv, 0.75f) << c.name;
    }
    // One rectangle is used as it is, whatever the side; none: the whole texture.
    CBillboard single;
    single.SetHalfSize(50, 50);
    single.SetTextureRect(1, 1, &rects[5]);
    ASSERT_TRUE(single.Update(nullptr));
    const auto* v = static_cast<const D3DVERTEX*>(single.GetMesh().pVertices);
    EXPECT_FLOAT_EQ(v[1].tu, 6 / 16.0f);
    EXPECT_FLOAT_EQ(v[3].tv, 0.75f);
    single.SetTextureRect(0, 0, nullptr);
    ASSERT_TRUE(single.Update(nullptr));
    EXPECT_FLOAT_EQ(v[1].tu, 1);
    EXPECT_FLOAT_EQ(v[3].tv, 1);
}

TEST_F(Billboards, DrawListDrawsThoseInViewAndCountsThem)
{
    const auto folder = std::filesystem::temp_directory_path() / ("render3d_billboards_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    // A sprite whose left half is red and right half yellow.
    std::vector<uint8_t> indices(16 * 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            indices[static_cast<size_t>(y * 16 + x)] = x < 8 ? 0 : 1;
    render3d_test::WriteFile(folder / "sprite.bmp", render3d_test::MakeBmp8(16, 16, {0xFF0000, 0xFFFF00}, indices));
    const uint16_t texture =
        m_engine->GetTextureManager()->LoadTexture((folder / "sprite.bmp").c_str(), 0, nullptr);
    std::filesystem::remove_all(folder);
    ASSERT_NE(texture, NO_TEXTURE);

    CBillboard ahead, behind, switchedOff, leaning;
    for (CBillboard* board : {&ahead, &behind, &switchedOff, &leaning})
        board->SetTextureIndex(texture);
    ahead.SetHalfSize(100, 200);  // eye (0, 0, 1000): screen 128..192 x 104..136
    behind.SetHalfSize(100, 100);
    behind.m_WorldPosition = D3DVECTOR{0, -1500, 0};
    switchedOff.SetHalfSize(100, 100);
    switchedOff.m_WorldPosition = D3DVECTOR{-500, 0, 0};
    switchedOff.m_bEnabled = false;
    leaning.SetCorners(-100, 0, 100, 200);  // eye (-600, -300, 1000)
    leaning.m_WorldPosition = D3DVECTOR{600, 0, -300};
    m_engine->AddMeshManager();
    CMeshManager* list = m_engine->GetMeshManager(0);
    for (CBillboard* board : {&ahead, &behind, &switchedOff, &leaning})
        ASSERT_NE(list->Add(board, MESH_ENTRY_BILLBOARD), MESH_ADD_REFUSED);
    EXPECT_EQ(list->GetMeshCount(), 4u);
    C3DEngine::SetClearColour(0xFF000000);
    m_engine->Render();
    m_engine->Render();
    ASSERT_TRUE(plat::writePng(*m_target, "render3d_billboards.png"));
    EXPECT_EQ(m_engine->GetBillboardsDrawn(), 2u) << "counted afresh each frame";

    auto is = [this](int x, int y, plat::COLORREF colour) {
        return m_target->pixel(x, y) == plat::colorToPixel(colour, plat::PixelFormat::Rgb565);
    };
    EXPECT_TRUE(is(140, 120, plat::RGB(255, 0, 0))) << "left of the sprite, upright and unmirrored";
    EXPECT_TRUE(is(180, 120, plat::RGB(255, 255, 0))) << "right of the sprite";
    EXPECT_TRUE(is(120, 120, plat::RGB(0, 0, 0))) << "left of the sprite's edge";
    EXPECT_TRUE(is(160, 100, plat::RGB(0, 0, 0))) << "above the sprite's edge";
    EXPECT_TRUE(is(80, 120, plat::RGB(0, 0, 0))) << "where the switched-off one would be";
    // The leaning one: foot at screen y 120 + 300/1000 x 160 = 168, x 64 from
    // the middle's left at 160 - 600/1000 x 160 = 64.
    EXPECT_TRUE(is(60, 160, plat::RGB(255, 0, 0))) << "the leaning one's left";
    EXPECT_TRUE(is(68, 160, plat::RGB(255, 255, 0))) << "the leaning one's right";

    list->Remove(&behind);
    EXPECT_EQ(list->GetMeshCount(), 3u);
    EXPECT_EQ(list->Add(&behind, 3), MESH_ADD_REFUSED);
}

}  // namespace
