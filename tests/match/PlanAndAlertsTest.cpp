// The pitch plan's mapping and drawing, the radar's lines, the tinted
// markers and the replay mark, and the players' alert icons over a match.
#include "RestartsFixture.h"

#include "platform/Surface.h"
#include "shell/CFileManager.h"
#include "shell/CGame.h"
#include "xframework/CXSurface.h"

namespace {

uint16_t PixelOf(uint32_t dwRGB)
{
    return plat::colorToPixel(plat::RGB((dwRGB >> 16) & 0xFF, (dwRGB >> 8) & 0xFF, dwRGB & 0xFF),
                              plat::PixelFormat::Rgb565);
}

TEST(PitchPlan, EveryPitchPointLandsInsideThePlanWithTheLengthAcross)
{
    struct CASE {
        MATCHRECT rect;
    } const cases[] = {{{10, 20, 160, 220}}, {{0, 0, 200, 146}}, {{60, 43, 260, 189}}, {{5, 5, 639, 479}},
                       {{0, 0, 101, 99}}};
    for (const CASE& c : cases) {
        CMatchEngine engine;
        engine.SetPitchMapRect(c.rect);
        const std::string what = std::to_string(c.rect.nRight - c.rect.nLeft) + " x " +
                                 std::to_string(c.rect.nBottom - c.rect.nTop);
        int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        engine.PitchToPlan(x0, y0, CVector(0, 0, 0));
        engine.PitchToPlan(x1, y1, CVector(PITCH_LENGTH, PITCH_WIDTH, 0));
        EXPECT_GE(x0, c.rect.nLeft) << what;
        EXPECT_GE(y0, c.rect.nTop) << what;
        EXPECT_LE(x1, c.rect.nRight) << what;
        EXPECT_LE(y1, c.rect.nBottom) << what;
        // Centred: the room left over differs by at most a pixel each side.
        EXPECT_LE(std::abs((x0 - c.rect.nLeft) - (c.rect.nRight - x1)), 1) << what;
        EXPECT_LE(std::abs((y0 - c.rect.nTop) - (c.rect.nBottom - y1)), 1) << what;
        // The length runs across, the breadth down.
        int32_t xc = 0, yc = 0;
        engine.PitchToPlan(xc, yc, CVector(PITCH_LENGTH, 0, 0));
        EXPECT_EQ(xc, x1) << what;
        EXPECT_EQ(yc, y0) << what;
        int32_t xm = 0, ym = 0;
        engine.PitchToPlan(xm, ym, CVector(PITCH_LENGTH / 2, PITCH_WIDTH / 2, 0));
        EXPECT_NEAR(xm, (x0 + x1) / 2, 1) << what;
        EXPECT_NEAR(ym, (y0 + y1) / 2, 1) << what;
    }
}

TEST(PitchPlan, LinesAndEllipsesAreDrawnWhereTheirPointsMap)
{
    CMatchEngine engine;
    engine.SetPitchMapRect({0, 0, 200, 150});
    engine.SetRadarRect({210, 10, 210 + 113, 10 + 85});
    plat::Surface surface(340, 160, plat::PixelFormat::Rgb565);
    surface.fill(nullptr, 0);
    const CVector a(1000, 500, 0), b(9000, 7000, 0);
    engine.DrawPitchLine(&surface, a, b, 0xFF0000);
    engine.DrawRadarLine(&surface, a, b, 0x00FF00, 0);
    int32_t x = 0, y = 0;
    for (const CVector& p : {a, b}) {
        engine.PitchToPlan(x, y, p);
        EXPECT_EQ(surface.pixel(x, y), PixelOf(0xFF0000)) << p.x;
        engine.RadarPoint(p, x, y);
        EXPECT_EQ(surface.pixel(x, y), PixelOf(0x00FF00)) << p.x;
    }
    // A radius of 1000 is 20 pixels across at a scale of 50 and 20 down at 50;
    // 1001 goes to the next whole pixel.
    surface.fill(nullptr, 0);
    engine.DrawPlanEllipse(&surface, CVector(5000, 3750, 0), 1001, 0xFFFFFF);
    engine.PitchToPlan(x, y, CVector(5000, 3750, 0));
    EXPECT_EQ(surface.pixel(x + 21, y), PixelOf(0xFFFFFF));
    EXPECT_EQ(surface.pixel(x, y - 21), PixelOf(0xFFFFFF));
    EXPECT_EQ(surface.pixel(x + 22, y), 0);
    EXPECT_EQ(surface.pixel(x, y), 0);
}

TEST(PitchPlan, AMarkerTakesItsOwnersColourOnlyWhereThePictureIsPureRed)
{
    CXSurface picture, mask;
    plat::Surface* pPicture = picture.Create(5, 5, true, true);
    plat::Surface* pMask = mask.Create(5, 5, true, true);
    ASSERT_TRUE(pPicture && pMask);
    const uint16_t wKey = pPicture->colorKey();
    pPicture->fill(nullptr, wKey);
    pMask->fill(nullptr, wKey);
    for (int i = 1; i < 4; ++i)
        pPicture->setPixel(i, 2, PixelOf(0xFF0000));
    pPicture->setPixel(2, 1, PixelOf(0x102030));
    pMask->setPixel(1, 2, PixelOf(0x000000));
    const std::unique_ptr<CXSurface> pMarker = CMatchEngine::MakeTintedMarker(picture, &mask, 0x3060C0);
    ASSERT_TRUE(pMarker && pMarker->GetSurface());
    const plat::Surface& m = *pMarker->GetSurface();
    EXPECT_EQ(m.pixel(2, 2), PixelOf(0x3060C0));
    EXPECT_EQ(m.pixel(3, 2), PixelOf(0x3060C0));
    EXPECT_EQ(m.pixel(1, 2), PixelOf(0x000000)) << "the mask's outline lies over the tint";
    EXPECT_EQ(m.pixel(2, 1), PixelOf(0x102030)) << "other colours stay";
    EXPECT_EQ(m.pixel(0, 0), m.colorKey());
}

class PlanMatchTest : public RestartsFixture {
protected:
    void TearDown() override
    {
        m_Engine.FreeOverlayBitmaps();
        g_pMainArchive = nullptr;
        RestartsFixture::TearDown();
    }
    // The pictures from the game's archive, as the device's start makes them.
    bool LoadPictures()
    {
        if (!m_Archive.Open("GFX\\Main.BFS"))
            return false;
        g_pMainArchive = &m_Archive;
        m_Engine.LoadOverlayBitmaps();
        return true;
    }
    CFileManager m_Archive;
};

TEST_F(PlanMatchTest, TheReplayMarkShowsOnlyWhileAReplayRunsAndNeverInTheFullView)
{
    ASSERT_TRUE(Start(0, 41));
    ASSERT_TRUE(LoadPictures());
    ASSERT_NE(m_Engine.GetReplayMark(), nullptr);
    const plat::Surface& mark = *m_Engine.GetReplayMark()->GetSurface();
    // The first opaque pixel of the mark.
    int mx = -1, my = -1;
    for (int y = 0; y < mark.height() && mx < 0; ++y)
        for (int x = 0; x < mark.width() && mx < 0; ++x)
            if (mark.pixel(x, y) != mark.colorKey())
                mx = x, my = y;
    ASSERT_GE(mx, 0);
    plat::Surface view(320, 240, plat::PixelFormat::Rgb565);
    auto drawn = [&] {
        view.fill(nullptr, 0);
        m_Engine.DrawReplayMark(&view);
        return view.pixel(mx, my) == mark.pixel(mx, my);
    };
    for (int i = 0; i < 200; ++i)
        Tick();
    EXPECT_FALSE(drawn()) << "live play shows no replay mark";
    m_Engine.SeekReplay(5000);
    ASSERT_TRUE(m_Engine.IsReplaying());
    EXPECT_TRUE(drawn());
    m_Engine.SetFullView(true);
    EXPECT_FALSE(drawn()) << "the full view draws its own";
}

TEST_F(PlanMatchTest, ThePlanViewShowsEveryoneWithHisMarkerAndTheTacklesInTheirSidesColours)
{
    ASSERT_TRUE(Start(0, 43));
    ASSERT_TRUE(LoadPictures());
    for (int i = 0; i < 300; ++i)
        Tick();
    m_Engine.SetCameraMode(CMatchEngine::CAMERA_NO_3D);
    m_Engine.SetPitchMapRect({60, 47, 260, 193});
    plat::Surface view(320, 240, plat::PixelFormat::Rgb565);
    view.fill(nullptr, 0);
    m_Engine.DrawOverlay(&view);
    // Each footballer on the pitch, where nobody else nor the ball is drawn
    // over him, in the centre of his side's marker.
    auto clearOfOthers = [&](const CMatchPerson* pWho, int32_t x, int32_t y) {
        std::vector<CVector> others{m_pBall->GetPosition()};
        for (const CMatchPerson* q : m_Engine.PlanPersons())
            if (q != pWho)
                others.push_back(q->GetPosition());
        for (const CVector& o : others) {
            int32_t ox = 0, oy = 0;
            m_Engine.PitchToPlan(ox, oy, o);
            if (std::abs(ox - x) <= 6 && std::abs(oy - y) <= 6)
                return false;
        }
        return true;
    };
    int nChecked = 0;
    for (CMatchClub* pClub : {m_pHome, m_pAway})
        for (int i = 1; i < pClub->GetOnPitchCount(); ++i) {
            const CMatchPlayer* p = pClub->GetSlot(i);
            int32_t x = 0, y = 0;
            m_Engine.PitchToPlan(x, y, p->GetPosition());
            if (!clearOfOthers(p, x, y))
                continue;
            ++nChecked;
            EXPECT_EQ(view.pixel(x, y), PixelOf(p->GetColour())) << (pClub == m_pHome ? "home " : "away ") << i;
        }
    EXPECT_GT(nChecked, 10);
    // A tackle the home side won and one the away side lost: each mark in
    // its side's colour where the tackle ended.
    const TACKLERECORD won{CVector(2000, 2000, 0), CVector(2500, 2000, 0), 0};
    const TACKLERECORD lost{CVector(7000, 5000, 0), CVector(7500, 5200, 0), 1};
    view.fill(nullptr, 0);
    m_Engine.DrawLongPassMarker(&view, true, won);
    m_Engine.DrawLongPassMarker(&view, false, lost);
    int32_t x = 0, y = 0;
    m_Engine.PitchToPlan(x, y, won.vEnd);
    EXPECT_EQ(view.pixel(x, y), PixelOf(m_pHome->GetSlot(1)->GetColour()));
    m_Engine.PitchToPlan(x, y, lost.vEnd);
    EXPECT_EQ(view.pixel(x, y), PixelOf(m_pAway->GetSlot(1)->GetColour()));
}

// Low morale, low fitness and high anger raise the alerts, each only while
// its option is on, and the club records who raised it.
TEST_F(PlanMatchTest, AlertsRiseAndClearOverAMatchOnlyWithTheirOptionsOn)
{
    struct CASE {
        bool bOptions;
    } const cases[] = {{true}, {false}};
    for (const CASE& c : cases) {
        ASSERT_TRUE(Start(0, 47));
        m_Engine.SetAlertOptions(c.bOptions, c.bOptions, c.bOptions);
        CMatchPlayer* pTired = m_pHome->GetSlot(4);
        CMatchPlayer* pAngry = m_pAway->GetSlot(6);
        CMatchPlayer* pLow = m_pHome->GetSlot(8);
        uint8_t bySeen[2] = {};
        bool bCleared = false;
        for (int i = 0; i < 20000 && m_Engine.GetMatchEvent() != MATCHEVENT_FULLTIME; ++i) {
            // A stretch of the first half when three players are spent,
            // furious and downcast; after it they recover.
            if (i == 2000) {
                pTired->SetCondition(3000, 0, 1, 0, 1);
                pAngry->AdjustAnger(900);
                for (int n = 0; n < 10; ++n)
                    pLow->ApplyNegativeEvent(9);
            }
            if (i == 6000) {
                pTired->SetCondition(CMatchPlayer::kMaxFitness, 0, 1, 0, 1);
            }
            Tick();
            bySeen[0] |= m_pHome->GetAlertBits();
            bySeen[1] |= m_pAway->GetAlertBits();
            if (i > 2100 && i < 2200 && c.bOptions) {
                EXPECT_EQ(m_pHome->GetAlertPlayer(CMatchEngine::ALERT_FITNESS, 600000), pTired);
                EXPECT_EQ(m_pAway->GetAlertPlayer(CMatchEngine::ALERT_ANGER, 600000), pAngry);
            }
            if (i > 8000 && !(m_pHome->GetAlertBits() & CMatchPlayer::ALERTBIT_FITNESS))
                bCleared = true;
        }
        if (c.bOptions) {
            EXPECT_TRUE(bySeen[0] & CMatchPlayer::ALERTBIT_FITNESS);
            EXPECT_TRUE(bySeen[1] & CMatchPlayer::ALERTBIT_ANGER);
            EXPECT_TRUE(bySeen[0] & CMatchPlayer::ALERTBIT_MORALE);
            EXPECT_TRUE(bCleared) << "the fitness alert stayed once he recovered";
        } else {
            EXPECT_EQ(bySeen[0], 0);
            EXPECT_EQ(bySeen[1], 0);
        }
        m_Engine.EndGame();
    }
}

}  // namespace
