#include "RenderTestSupport.h"

#include "render3d/CCamera.h"

#include <cmath>

using render3d_test::EngineTest;

namespace {

constexpr float kPi = 3.14159265f;

TEST(Camera, OrbitPositionsAgreeWithHandWorkedTable)
{
    struct {
        const char* what;
        int32_t distance;
        float yaw, pitch;
        D3DVECTOR position;
    } cases[] = {
        {"level, yaw 0 lies along +y", 100, 0, 0, {0, 100, 0}},
        {"level, yaw pi/2 lies along +x", 100, kPi / 2, 0, {100, 0, 0}},
        {"pitch pi/6: height 50, ground distance 86.6 cut to 86", 100, 0, kPi / 6, {0, 86, 50}},
        {"around a raised target", 10, kPi, 0, {5, -10, 3}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CCamera camera;
        const float target[3] = {c.position.x == 5 ? 5.0f : 0.0f, 0, c.position.z == 3 ? 3.0f : 0.0f};
        camera.SetupOrbit(c.distance, c.yaw, c.pitch, target, 7, 1, 1000);
        EXPECT_NEAR(camera.m_Position.x, c.position.x, 1e-3f);
        EXPECT_NEAR(camera.m_Position.y, c.position.y, 1e-3f);
        EXPECT_NEAR(camera.m_Position.z, c.position.z, 1e-3f);
        // Looking from the camera to the target.
        const float dx = target[0] - camera.m_Position.x, dy = target[1] - camera.m_Position.y,
                    dz = target[2] - camera.m_Position.z;
        const float len = std::sqrt(dx * dx + dy * dy + dz * dz);
        EXPECT_NEAR(camera.m_Direction.x, dx / len, 1e-4f);
        EXPECT_NEAR(camera.m_Direction.y, dy / len, 1e-4f);
        EXPECT_NEAR(camera.m_Direction.z, dz / len, 1e-4f);
    }
}

TEST(Camera, ViewAndProjectionMatrices)
{
    CCamera camera;
    const float target[3] = {0, 0, 0};
    camera.SetupOrbit(100, 0, 0, target, 7, 10, 1000);
    // From (0, 100, 0) looking along -y with z up: the camera's right is
    // u' x d = (0, 0, 1) x (0, -1, 0) = (1, 0, 0).
    const float expectedView[4][4] = {{1, 0, 0, 0}, {0, 0, -1, 0}, {0, 1, 0, 0}, {0, 0, 100, 1}};
    const float c = 1.7320508f, q = 1.0f / 0.99f;
    const float expectedProjection[4][4] = {{c, 0, 0, 0}, {0, c, 0, 0}, {0, 0, q, 1}, {0, 0, -q * 10, 0}};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            EXPECT_NEAR(camera.m_ViewMatrix.m[i][j], expectedView[i][j], 1e-4f) << i << ", " << j;
            EXPECT_NEAR(camera.m_ProjectionMatrix.m[i][j], expectedProjection[i][j], 1e-4f) << i << ", " << j;
        }
    }
}

TEST(Camera, StraightDownStillHasAnUpDirection)
{
    for (int32_t distance : {50, 100, 3000}) {
        SCOPED_TRACE(distance);
        CCamera camera;
        const float target[3] = {0, 0, 0};
        camera.SetupOrbit(distance, 0.3f, kPi / 2, target, 7, 1, 10000);
        EXPECT_LE(camera.m_fPitch, CCamera::kMaxPitch);
        float upLength = 0;
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(std::isfinite(camera.m_ViewMatrix.m[i][1]));
            upLength += camera.m_ViewMatrix.m[i][1] * camera.m_ViewMatrix.m[i][1];
        }
        EXPECT_NEAR(upLength, 1.0f, 1e-3f);
        // A point ahead of the camera's heading shows above the centre, as it
        // does at a slightly lower pitch.
        const D3DVECTOR ahead{-std::sin(0.3f) * 10, -std::cos(0.3f) * 10, 0};
        const float viewY = ahead.x * camera.m_ViewMatrix.m[0][1] + ahead.y * camera.m_ViewMatrix.m[1][1] +
                            ahead.z * camera.m_ViewMatrix.m[2][1] + camera.m_ViewMatrix.m[3][1];
        EXPECT_GT(viewY, 0.0f);
    }
}

TEST(Camera, FollowTurnsTowardsThePreferredYaw)
{
    struct {
        const char* what;
        float yaw, preferred, elapsed;
        bool limitBox;
        float targetX;
        float expected;
    } cases[] = {
        {"one step towards", 0, 2, 1, false, 0, 0.8f},
        {"reached when nearer than a step", 0, 0.5f, 1, false, 0, 0.5f},
        {"exactly pi turns the positive way", 0, kPi, 1, false, 0, 0.8f},
        {"the short way across pi", 3, -3, 0.1f, false, 0, 3.08f},
        {"target left of the box, heading back", 1.0f, -2, 0.5f, true, -10, 1.4f},
        {"target left of the box, heading across", -0.2f, -1, 1, true, -10, 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CCamera camera;
        const float box[4] = {0, 0, 100, 100};
        camera.m_fYaw = c.yaw;
        camera.m_fPreferredYaw = c.preferred;
        camera.m_bLimitBox = c.limitBox;
        camera.m_pLimitBox = box;
        camera.m_Target = D3DVECTOR{c.targetX, 50, 0};
        camera.UpdateYaw(c.elapsed);
        EXPECT_NEAR(camera.m_fYaw, c.expected, 1e-4f);
    }
}

TEST(Camera, TrackingSnapsAfterALongStepAndZoomsTowardsTheFrame)
{
    CCamera camera;
    const float position[3] = {0, 0, 10};
    float tracked[3] = {100, 0, 0};
    camera.SetTrackingTarget(position, tracked, 20, 7, 1, 1000);
    const float fov = camera.m_fFieldOfView;
    EXPECT_NEAR(fov, std::atan2(20.0f, std::sqrt(100.0f * 100 + 100)), 1e-5f);
    tracked[1] = 100;
    camera.UpdateTargetFromTracked();
    camera.UpdateDirectionAndZoom(0.2f);
    EXPECT_NEAR(camera.m_Direction.x, 100 / std::sqrt(20100.0f), 1e-4f);
    EXPECT_NEAR(camera.m_Direction.y, 100 / std::sqrt(20100.0f), 1e-4f);
    // Only the frame width is stored; the zoom then moves by 0.5 rad a second.
    const float before = camera.m_fFieldOfView;
    camera.SetFieldOfView(200);
    EXPECT_EQ(camera.m_fFieldOfView, before);
    camera.UpdateDirectionAndZoom(0.1f);
    EXPECT_NEAR(camera.m_fFieldOfView, before + 0.05f, 1e-4f);
}

class CameraInEngine : public EngineTest {};

TEST_F(CameraInEngine, ScreenPointsPickTheGroundTheyShow)
{
    StartEngine(640, 480);
    m_engine->SetNumberOfCameras(1);
    CCamera* camera = m_engine->GetCamera(0);
    const float target[3] = {100, 200, 0};
    camera->SetupOrbit(3000, 0.7f, 0.5f, target, 7, 10, 20000);
    camera->m_ucMode = 200;  // not moved by the frame
    m_engine->Render();
    float x = 0, y = 0, z = 1;
    m_engine->ConvertScreenToWorld(&x, &y, &z, 320, 240);
    EXPECT_NEAR(x, 100, 8);
    EXPECT_NEAR(y, 200, 8);
    EXPECT_NEAR(z, 0, 1e-3f);
    for (const D3DVECTOR ground : {D3DVECTOR{-800, 900, 0}, D3DVECTOR{900, -300, 0}, D3DVECTOR{400, 700, 0}}) {
        const float p[3] = {ground.x, ground.y, ground.z};
        int32_t sx = 0, sy = 0;
        m_engine->TransformToScreen(p, &sx, &sy);
        ASSERT_TRUE(sx > 0 && sx < 640 && sy > 0 && sy < 480) << sx << ", " << sy;
        m_engine->ConvertScreenToWorld(&x, &y, &z, sx, sy);
        // One pixel covers several units this far away.
        EXPECT_NEAR(x, ground.x, 20) << sx << ", " << sy;
        EXPECT_NEAR(y, ground.y, 20) << sx << ", " << sy;
    }
}

}  // namespace
