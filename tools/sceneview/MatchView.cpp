#include "tools/sceneview/MatchView.h"

#include "match/CMatchBall.h"
#include "match/CMatchClub.h"
#include "match/actors/CMatchPlayer.h"
#include "match/actors/CMatchReferee.h"
#include "platform/Clock.h"
#include "platform/DeviceContext.h"
#include "render3d/C3DEngine.h"
#include "shell/CGame.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace tools {

namespace {

constexpr uint32_t kFrameMs = 40;
constexpr uint32_t kF3 = 114;
constexpr uint32_t kOfficialsColour = 0x141414;
// The radar panel: the pitch's greens with lighter lines.
const plat::COLORREF kRadarGrass = plat::RGB(24, 92, 40);
const plat::COLORREF kRadarLines = plat::RGB(150, 200, 150);
const plat::COLORREF kRadarBorder = plat::RGB(10, 40, 20);
// Round the plan: the navy of the game's panels.
const plat::COLORREF kPlanBackground = plat::RGB(10, 24, 38);

}  // namespace

MatchView::MatchView(SceneView& scene) : m_Scene(scene) {}

bool MatchView::Fail(const std::string& why)
{
    m_error = why;
    return false;
}

bool MatchView::Setup(const MatchViewOptions& options)
{
    m_Options = options;
    if (options.view > 7 || options.camera > 2)
        return Fail("the camera is orbit, follow or plan and the view 0 to 7");
    m_pEngine = m_Scene.GetMatch();
    if (!m_pEngine || !m_pEngine->GetHomeClub() || !m_pEngine->GetAwayClub())
        return Fail("the scene holds no match (set it up with its match option)");
    const plat::Surface& target = m_Scene.GetTarget();
    m_pEngine->SetViewport(0, 0, target.width(), target.height());
    // The radar in the bottom-right corner, the pitch upright in it: its
    // scales put the pitch's length over the width and its breadth over
    // the height, which a square keeps in proportion to each other.
    const int32_t nSide = std::max(40, target.width() / 7), nGap = std::max(4, target.width() / 80);
    m_pEngine->SetRadarRect({target.width() - nSide - nGap, target.height() - nSide - nGap, target.width() - nGap - 1,
                           target.height() - nGap - 1});
    if (!DressPeople())
        return false;
    if (options.camera == 2) {
        // The plan with a margin round the pitch, in the middle of the view.
        const int32_t nWidth = target.width() * 5 / 8, nHeight = nWidth * 3 / 4;
        const int32_t nLeft = (target.width() - nWidth) / 2, nTop = (target.height() - nHeight) / 2;
        m_pEngine->SetPitchMapRect({nLeft, nTop, nLeft + nWidth, nTop + nHeight});
        m_pEngine->SetCameraMode(CMatchEngine::CAMERA_NO_3D);
        if (!LoadPlanPictures())
            return false;
    } else if (options.camera == 1)
        m_pEngine->HandleKey(kF3);
    else
        m_pEngine->SelectCameraView(options.view);
    if (options.alerts)
        RaiseAlerts();
    m_pEngine->SetDebugMode(options.debug);
    m_dwClock = plat::milliseconds();
    return true;
}

bool MatchView::DressPeople()
{
    // The match dressed its people in their kits; the officials show on the
    // radar in the referee's black.
    CMatchReferee* pReferee = m_pEngine->GetReferee();
    if (!pReferee || !pReferee->GetModel())
        return Fail("the match's people have no models (MatchMeshes\\ cannot be read)");
    for (CMatchPerson* p : {static_cast<CMatchPerson*>(pReferee), static_cast<CMatchPerson*>(&pReferee->GetAssistant(0)),
                            static_cast<CMatchPerson*>(&pReferee->GetAssistant(1))})
        p->SetColour(kOfficialsColour);
    return true;
}

bool MatchView::LoadPlanPictures()
{
    m_pArchive = std::make_unique<CFileManager>();
    if (!m_pArchive->Open("GFX\\Main.BFS"))
        return Fail("GFX\\Main.BFS cannot be read");
    g_pMainArchive = m_pArchive.get();
    m_pEngine->LoadOverlayBitmaps();
    g_pMainArchive = nullptr;
    return true;
}

void MatchView::RaiseAlerts()
{
    // The three home outfield players nearest the ball, where the camera looks.
    CMatchClub* pHome = m_pEngine->GetHomeClub();
    const CVector ball = m_pEngine->GetBall()->GetPosition();
    std::vector<CMatchPlayer*> players;
    for (int i = 1; i < pHome->GetOnPitchCount(); ++i)
        if (CMatchPlayer* p = pHome->GetSlot(i))
            players.push_back(p);
    std::sort(players.begin(), players.end(), [&](const CMatchPlayer* a, const CMatchPlayer* b) {
        return a->GetPosition().SquaredDistance2D(ball) < b->GetPosition().SquaredDistance2D(ball);
    });
    if (players.size() < 3)
        return;
    players[0]->SetCondition(3000, 0, 500, 0, 500);
    players[1]->AdjustAnger(900);
    for (int n = 0; n < 10; ++n)
        players[2]->ApplyNegativeEvent(9);
}

void MatchView::Run()
{
    const int nFrames = m_Options.seconds * 1000 / int(kFrameMs);
    for (int f = 0; f < nFrames; ++f) {
        m_dwClock += kFrameMs;
        m_pEngine->UpdateAt(m_dwClock);
        // The camera moves on with every frame the screen would draw.
        m_pEngine->Get3DEngine()->UpdateCamera(float(kFrameMs) / 1000.0f);
    }
}

void MatchView::DrawRadarPanel(plat::Surface& target) const
{
    const MATCHRECT& r = m_pEngine->GetRadarRect();
    plat::DeviceContext dc(&target);
    std::unique_ptr<plat::Brush> pGrass(plat::Brush::createSolid(kRadarGrass));
    dc.fillRect({r.nLeft, r.nTop, r.nRight + 1, r.nBottom + 1}, pGrass.get());
    plat::Pen border(plat::PS_SOLID, 1, kRadarBorder), lines(plat::PS_SOLID, 1, kRadarLines);
    dc.selectBrush(plat::Brush::hollow());
    dc.selectPen(&border);
    dc.rectangle(r.nLeft - 1, r.nTop - 1, r.nRight + 2, r.nBottom + 2);
    dc.selectPen(&lines);
    int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0, xm = 0, ym = 0;
    m_pEngine->RadarPoint(CVector(0, 0, 0), x0, y0);
    m_pEngine->RadarPoint(CVector(PITCH_LENGTH, PITCH_WIDTH, 0), x1, y1);
    m_pEngine->RadarPoint(CVector(PITCH_LENGTH / 2, 0, 0), xm, ym);
    dc.rectangle(x0, y1, x1 + 1, y0 + 1);
    dc.moveTo(x0, ym);
    dc.lineTo(x1 + 1, ym);
    dc.selectPen(nullptr);
    dc.selectBrush(nullptr);
}

void MatchView::Draw()
{
    if (m_Options.camera == 2) {
        plat::Surface& target = m_Scene.GetTarget();
        plat::DeviceContext dc(&target);
        std::unique_ptr<plat::Brush> pBack(plat::Brush::createSolid(kPlanBackground));
        dc.fillRect({0, 0, target.width(), target.height()}, pBack.get());
        m_pEngine->DrawOverlay(&target);
        return;
    }
    if (const CMatchBall* pBall = m_pEngine->GetBall())
        m_Scene.PlaceBall(float(pBall->GetPosition().x), float(pBall->GetPosition().y), float(pBall->GetPosition().z));
    m_Scene.Frame(0);
    plat::Surface& target = m_Scene.GetTarget();
    m_pEngine->DrawPlayerLabels(&target);
    if (m_Options.radar) {
        DrawRadarPanel(target);
        m_pEngine->DrawRadar(&target);
    }
}

}  // namespace tools
