// The match camera and view on the offscreen device: every camera keeps a
// moving ball in the view, the keys and the mouse turn and zoom the camera
// within its limits, the labels over the players, the radar, and the code of
// the match conditions.
#include "RestartsFixture.h"

#include "platform/Surface.h"
#include "render3d/C3DEngine.h"
#include "render3d/CCamera.h"

#include <cmath>
#include <memory>

namespace {

constexpr float kPi = 3.14159265f;
constexpr uint32_t kKeyC = 67, kKeyL = 76, kKeyO = 79, kKeyInsert = 45, kKeyDelete = 46, kKeyF2 = 113,
                   kKeyF3 = 114, kKeyF4 = 115, kKeyEnd = 35, kKeyAdd = 107, kKeySubtract = 109;

// The match view of the match screen (320 x 240) on the offscreen device.
class CameraFixture : public RestartsFixture {
protected:
    static void SetUpTestSuite()
    {
        RestartsFixture::SetUpTestSuite();
        s_pTarget = new plat::Surface(320, 240, plat::PixelFormat::Rgb565);
        C3DEngine::SetupStatics(s_pTarget, C3DEngine::DEVICE_ZBUFFER);
    }
    static void TearDownTestSuite()
    {
        C3DEngine::DestroyStatics();
        delete s_pTarget;
        s_pTarget = nullptr;
        RestartsFixture::TearDownTestSuite();
    }
    void SetUp() override
    {
        ASSERT_TRUE(C3DEngine::Is3DAvailable()) << "no OpenGL device through EGL";
        ASSERT_TRUE(Start(0));
        m_Engine.SetViewport(0, 0, 320, 240);
    }
    CCamera* Camera() const { return m_Engine.Get3DEngine()->GetCamera(m_Engine.Get3DEngine()->m_ucCurrentCamera); }
    // One frame of 40 ms: the engine aims, the camera follows.
    void Frame()
    {
        m_Engine.UpdateCameraTarget(40);
        m_Engine.Get3DEngine()->UpdateCamera(0.04f);
    }
    bool BallInView()
    {
        int32_t x = 0, y = 0;
        return m_Engine.ProjectToView(m_pBall->GetPosition(), x, y) && x >= 0 && x < 320 && y >= 0 && y < 240;
    }

    static plat::Surface* s_pTarget;
};
plat::Surface* CameraFixture::s_pTarget = nullptr;

TEST_F(CameraFixture, EveryCameraKeepsTheMovingBallInView)
{
    struct CASE {
        const char* pszWhat;
        uint8_t byMode;
        uint8_t byView;
    };
    const CASE cases[] = {{"orbit from view 0", 0, 0}, {"orbit from view 1", 0, 1}, {"orbit from view 2", 0, 2},
                          {"orbit from view 3", 0, 3}, {"orbit from view 4", 0, 4}, {"orbit from view 5", 0, 5},
                          {"orbit from view 6", 0, 6}, {"orbit from view 7", 0, 7}, {"follow view", 1, 0}};
    // Round the pitch at a running pace (7 m/s, 28 cm a frame), through
    // the corners and back across the middle.
    const CVector route[] = {{0, 0, 0}, {10000, 0, 0}, {10000, 7500, 0}, {0, 7500, 0}, {5000, 3750, 0}, {0, 0, 0}};
    m_pBall->SetPossessor(nullptr);
    for (const CASE& c : cases) {
        m_Engine.SelectCameraView(c.byView);
        if (c.byMode == 1)
            m_Engine.HandleKey(kKeyF3);
        ASSERT_EQ(m_Engine.GetCameraMode(), c.byMode) << c.pszWhat;
        for (int n = 0; n < 50; ++n)
            Frame();  // settled on the ball where it is
        int nFrames = 0, nOut = 0;
        for (size_t leg = 0; leg + 1 < std::size(route); ++leg) {
            const CVector& a = route[leg];
            const CVector& b = route[leg + 1];
            const double fLength = std::hypot(double(b.x - a.x), double(b.y - a.y));
            const int nSteps = int(fLength / 28.0);
            const CVector velocity(int32_t((b.x - a.x) * 700 / fLength), int32_t((b.y - a.y) * 700 / fLength), 0);
            for (int i = 0; i <= nSteps; ++i) {
                m_pBall->SetPosition(a.x + int32_t((b.x - a.x) * i / nSteps), a.y + int32_t((b.y - a.y) * i / nSteps), 0,
                                     false);
                m_pBall->SetVelocity(velocity);
                Frame();
                ++nFrames;
                if (!BallInView() && ++nOut < 4)
                    ADD_FAILURE() << c.pszWhat << ": the ball at " << m_pBall->GetPosition().x << ","
                                  << m_pBall->GetPosition().y << " is out of the view";
            }
        }
        EXPECT_EQ(nOut, 0) << c.pszWhat << " of " << nFrames << " frames";
        // The orbit camera's target never leaves the play area's inner box;
        // the follow view aims at the ball itself.
        m_pBall->SetPosition(0, 0, 0, false);
        m_pBall->SetVelocity(CVector());
        Frame();
        const float fCorner = c.byMode == 0 ? 500.0f : 0.0f;
        EXPECT_FLOAT_EQ(m_Engine.GetCameraTarget()[0], fCorner) << c.pszWhat;
        EXPECT_FLOAT_EQ(m_Engine.GetCameraTarget()[1], fCorner) << c.pszWhat;
    }
}

TEST_F(CameraFixture, TheKeysChangeTheCameraModeAndTheViewAndStayWithinTheirLimits)
{
    // C runs through the three modes, the current camera with them.
    EXPECT_EQ(m_Engine.GetCameraMode(), 0);
    for (const uint8_t byMode : {1, 2, 0}) {
        m_Engine.HandleKey(kKeyC);
        EXPECT_EQ(m_Engine.GetCameraMode(), byMode);
        if (byMode != 2)
            EXPECT_EQ(m_Engine.Get3DEngine()->m_ucCurrentCamera, byMode);
    }
    // F2 advances the view only in the orbit view, and wraps after 7.
    m_Engine.SelectCameraView(6);
    m_Engine.HandleKey(kKeyF2);
    EXPECT_EQ(m_Engine.GetSelectedView(), 7);
    m_Engine.HandleKey(kKeyF2);
    EXPECT_EQ(m_Engine.GetSelectedView(), 0);
    m_Engine.HandleKey(kKeyF3);
    EXPECT_EQ(m_Engine.GetCameraMode(), 1);
    m_Engine.HandleKey(kKeyF2);
    EXPECT_EQ(m_Engine.GetCameraMode(), 0);
    EXPECT_EQ(m_Engine.GetSelectedView(), 0);
    m_Engine.HandleKey(kKeyF4);
    EXPECT_EQ(m_Engine.GetCameraMode(), 2);

    // L and O tilt only the follow camera, which keeps its pitch between
    // 0.2 and a little short of straight down.
    m_Engine.HandleKey(kKeyC);  // orbit
    const float fOrbitPitch = Camera()->m_fPitch;
    m_Engine.HandleKey(kKeyO);
    EXPECT_FLOAT_EQ(Camera()->m_fPitch, fOrbitPitch);
    m_Engine.HandleKey(kKeyF3);
    for (int i = 0; i < 30; ++i)
        m_Engine.HandleKey(kKeyO);
    Frame();
    EXPECT_FLOAT_EQ(Camera()->m_fPitch, kPi / 2 - 0.1f);
    for (int i = 0; i < 30; ++i)
        m_Engine.HandleKey(kKeyL);
    Frame();
    EXPECT_FLOAT_EQ(Camera()->m_fPitch, 0.2f);

    // Zoom: the follow camera's factor stays within 0.4 (the floor of the
    // steps) and 3.0; the orbit camera's frame never falls below 600.
    for (int i = 0; i < 40; ++i)
        m_Engine.HandleKey(kKeyDelete);
    EXPECT_FLOAT_EQ(Camera()->m_fFactor, 3.0f);
    for (int i = 0; i < 40; ++i)
        m_Engine.HandleKey(kKeyInsert);
    EXPECT_NEAR(Camera()->m_fFactor, 0.4f, 1e-5f);
    m_Engine.SelectCameraView(0);
    const float fWidth = Camera()->m_fFrameWidth;
    m_Engine.HandleKey(kKeyDelete);
    EXPECT_NEAR(Camera()->m_fFrameWidth, fWidth + 150.0f, 0.01f);
    for (int i = 0; i < 60; ++i)
        m_Engine.HandleKey(kKeyInsert);
    EXPECT_NEAR(Camera()->m_fFrameWidth, 600.0f, 0.01f);
    EXPECT_GT(Camera()->m_nWantedDistance, 0);

    // End cycles the texture filter 3 -> 1 -> 2 -> 3.
    for (const uint32_t dwFilter : {1u, 2u, 3u}) {
        m_Engine.HandleKey(kKeyEnd);
        EXPECT_EQ(m_Engine.Get3DEngine()->GetTextureFilter(), dwFilter);
    }
    // The speed keys stay within 1.2 and 10.
    for (int i = 0; i < 60; ++i)
        m_Engine.HandleKey(kKeyAdd);
    EXPECT_FLOAT_EQ(m_Engine.GetSpeedFactor(), 10.0f);
    for (int i = 0; i < 60; ++i)
        m_Engine.HandleKey(kKeySubtract);
    EXPECT_FLOAT_EQ(m_Engine.GetSpeedFactor(), 1.2f);
}

TEST_F(CameraFixture, TheMouseTurnsTheCameraWhileHeldAndLetsGoOnRelease)
{
    // Ctrl and drag: a hundredth of a radian per pixel, the camera's own
    // mode held at orbit until the button is let go.
    m_Engine.HandleKey(kKeyF3);
    const uint8_t byOwnMode = Camera()->m_ucMode;
    ASSERT_EQ(byOwnMode, CCamera::MODE_TRACK);
    const float fYaw = m_Engine.GetCameraYaw();
    m_Engine.OnLButtonDown(plat::MK_LBUTTON | plat::MK_CONTROL, 100, 100);
    EXPECT_TRUE(m_Engine.IsCameraDragging());
    EXPECT_EQ(Camera()->m_ucMode, CCamera::MODE_ORBIT);
    m_Engine.OnMouseMove(plat::MK_LBUTTON, 150, 100);
    EXPECT_NEAR(m_Engine.GetCameraYaw(), fYaw - 0.5f, 1e-5f);
    m_Engine.OnMouseMove(plat::MK_LBUTTON, 100, 100);
    EXPECT_NEAR(m_Engine.GetCameraYaw(), fYaw, 1e-5f);
    m_Engine.OnLButtonUp(0, 100, 100);
    EXPECT_FALSE(m_Engine.IsCameraDragging());
    EXPECT_EQ(Camera()->m_ucMode, byOwnMode);

    // A press in the follow view turns it by the cursor's offset from the
    // view's centre: 70 pixels right turn it a radian a second.
    m_Engine.OnLButtonDown(plat::MK_LBUTTON, 160 + 70, 120);
    ASSERT_TRUE(m_Engine.IsTurning());
    m_Engine.UpdateCameraTarget(500);
    EXPECT_NEAR(m_Engine.GetCameraYaw(), fYaw + 0.5f, 1e-4f);
    // Moving outside the view keeps the last rates; moving inside takes new ones.
    m_Engine.OnMouseMove(plat::MK_LBUTTON, 400, 120);
    m_Engine.UpdateCameraTarget(500);
    EXPECT_NEAR(m_Engine.GetCameraYaw(), fYaw + 1.0f, 1e-4f);
    m_Engine.OnMouseMove(plat::MK_LBUTTON, 160 - 140, 120);
    m_Engine.UpdateCameraTarget(250);
    EXPECT_NEAR(m_Engine.GetCameraYaw(), fYaw + 0.5f, 1e-4f);
    // Turning a long way wraps the yaw and the pitch still keeps its limits.
    m_Engine.OnMouseMove(plat::MK_LBUTTON, 319, 0);
    for (int i = 0; i < 20; ++i) {
        m_Engine.UpdateCameraTarget(1000);
        EXPECT_LE(std::fabs(m_Engine.GetCameraYaw()), kPi + 1e-5f);
        EXPECT_LE(Camera()->m_fPitch, kPi / 2 - 0.1f + 1e-5f);
    }
    m_Engine.OnLButtonUp(0, 319, 0);
    EXPECT_FALSE(m_Engine.IsTurning());
    const float fStill = m_Engine.GetCameraYaw();
    m_Engine.UpdateCameraTarget(1000);
    EXPECT_FLOAT_EQ(m_Engine.GetCameraYaw(), fStill);

    // In the orbit view a plain press does not turn.
    m_Engine.SelectCameraView(1);
    m_Engine.OnLButtonDown(plat::MK_LBUTTON, 300, 120);
    EXPECT_FALSE(m_Engine.IsTurning());
}

TEST_F(CameraFixture, EveryPlayerOnThePitchInViewGetsTheLabelTheOptionsAsk)
{
    m_Engine.SetMatchEvent(MATCHEVENT_NONE);
    // From the far side, high enough to see the whole pitch.
    m_Engine.HandleKey(kKeyF3);
    Camera()->m_fFrameWidth = 12000.0f;
    m_pBall->SetPosition(5000, 3750, 0, false);
    for (int i = 0; i < 60; ++i)
        Frame();
    CMatchPlayer* pPlayer = m_pHome->GetSlot(5);
    const int nNumber = pPlayer->GetRecord()->m_bySquadNumber ? pPlayer->GetRecord()->m_bySquadNumber
                                                             : pPlayer->GetSquadPosition() + 1;
    struct CASE {
        bool bNames, bNumbers;
        std::string text;
    };
    const std::string name = pPlayer->GetRecord()->GetShortName();
    const CASE cases[] = {{true, true, "(" + std::to_string(nNumber) + ") " + name},
                          {true, false, name},
                          {false, true, std::to_string(nNumber)},
                          {false, false, ""}};
    for (const CASE& c : cases) {
        m_Engine.SetLabelOptions(c.bNames, c.bNumbers);
        const auto labels = m_Engine.GetPlayerLabels();
        if (!c.bNames && !c.bNumbers) {
            EXPECT_TRUE(labels.empty());
            continue;
        }
        EXPECT_EQ(labels.size(), size_t(m_pHome->GetOnPitchCount() + m_pAway->GetOnPitchCount()));
        const auto it = std::find_if(labels.begin(), labels.end(),
                                     [&](const CMatchEngine::PLAYERLABEL& l) { return l.pPerson == pPlayer; });
        ASSERT_NE(it, labels.end());
        EXPECT_EQ(std::string(it->szText), c.text);
        // Over his head: above the point where he stands.
        int32_t x = 0, y = 0;
        ASSERT_TRUE(m_Engine.ProjectToView(pPlayer->GetPosition(), x, y));
        EXPECT_LT(it->y, y);
        EXPECT_NEAR(it->x, x, 12);
    }
    // Without a 3-D view nothing is labelled.
    m_Engine.HandleKey(kKeyF4);
    m_Engine.SetLabelOptions(true, true);
    EXPECT_TRUE(m_Engine.GetPlayerLabels().empty());
}

TEST_F(CameraFixture, TheRadarShowsThePitchUprightWithEveryoneInHisColour)
{
    m_Engine.SetRadarRect({10, 20, 10 + 75 - 1, 20 + 100 - 1});
    struct CASE {
        CVector at;
        int32_t x, y;
    };
    const float fx = m_Engine.GetRadarScaleX(), fy = m_Engine.GetRadarScaleY();
    const CASE cases[] = {{{0, 0, 0}, 10, 20 + 99},
                          {{5000, 0, 0}, 10, 20 + 99 - int32_t(5000 / fx)},
                          {{0, 7500, 0}, 10 + int32_t(7500 / fy), 20 + 99},
                          {{10000, 7500, 0}, 10 + int32_t(7500 / fy), 20 + 99 - int32_t(10000 / fx)}};
    for (const CASE& c : cases) {
        int32_t x = 0, y = 0;
        m_Engine.RadarPoint(c.at, x, y);
        EXPECT_EQ(x, c.x) << c.at.x << "," << c.at.y;
        EXPECT_EQ(y, c.y) << c.at.x << "," << c.at.y;
    }

    plat::Surface surface(200, 200, plat::PixelFormat::Rgb565);
    surface.fill(nullptr, 0);
    CMatchPlayer* pHome = m_pHome->GetSlot(4);
    CMatchPlayer* pAway = m_pAway->GetSlot(4);
    pHome->SetPosition(CVector(2000, 2000, 0));
    pAway->SetPosition(CVector(8000, 6000, 0));
    m_pBall->SetPosition(5000, 3750, 0, false);
    // A player far beyond the touch line lies outside the radar: nothing of him is drawn.
    m_pAway->GetSlot(9)->SetPosition(CVector(5000, 20000, 0));
    m_Engine.DrawRadar(&surface);
    auto pixelOf = [](uint32_t dwRGB) {
        return plat::colorToPixel(plat::RGB((dwRGB >> 16) & 0xFF, (dwRGB >> 8) & 0xFF, dwRGB & 0xFF),
                                  plat::PixelFormat::Rgb565);
    };
    auto colourAt = [&](const CVector& at) {
        int32_t x = 0, y = 0;
        m_Engine.RadarPoint(at, x, y);
        return surface.pixel(x, y);
    };
    EXPECT_EQ(colourAt(pHome->GetPosition()), pixelOf(pHome->GetColour()));
    EXPECT_EQ(colourAt(pAway->GetPosition()), pixelOf(pAway->GetColour()));
    EXPECT_EQ(colourAt(m_pBall->GetPosition()), pixelOf(0xFFFFFF));
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            if (x < 10 || x > 84 || y < 20 || y > 119)
                ASSERT_EQ(surface.pixel(x, y), 0) << x << "," << y;
}

TEST(MatchConditions, TheCodeComesFromFogWeatherGroundAndEvening)
{
    struct CASE {
        bool bFog;
        uint8_t byCategory;
        bool bEvening, bProtected;
        uint8_t byCode;
    };
    const CASE cases[] = {{false, 0, false, false, 0}, {false, 0, true, false, 5}, {true, 3, true, false, 1},
                          {false, 1, false, false, 2}, {false, 2, true, false, 2}, {false, 3, false, false, 3},
                          {false, 4, false, true, 4},  {false, 5, false, false, 5}, {false, 7, true, true, 5}};
    for (const CASE& c : cases) {
        MATCHWEATHER weather;
        weather.bFog = c.bFog, weather.byCategory = c.byCategory, weather.bEvening = c.bEvening;
        EXPECT_EQ(CMatchEngine::MakeConditionsCode(weather, c.bProtected), c.byCode)
            << int(c.byCategory) << " fog " << c.bFog << " evening " << c.bEvening;
    }
}

}  // namespace
