#include "tools/sceneview/SceneView.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchPhysio.h"
#include "match/actors/CMatchPlayer.h"
#include "match/actors/CMatchReferee.h"
#include "render3d/C3DEngine.h"
#include "render3d/CAnimationManager.h"
#include "render3d/CCamera.h"
#include "render3d/CMeshManager.h"
#include "render3d/CModel.h"
#include "render3d/CObjectData.h"
#include "render3d/CTextureManager.h"
#include "render3d/VertexTransform.h"
#include "season/CSavedGameSet.h"

#include <chrono>
#include <cmath>
#include <cstring>

namespace tools {

namespace {

constexpr float kPi = 3.14159265f;
constexpr uint32_t kSkyColour = 0xFF9DB8DE;

double Since(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The scenery's matrices: a uniform scale, y up turned to z up (file (x, y, z)
// to (x, -z, y)), a turn about z, then the place.
D3DMATRIX SceneryMatrix(float scale, float turn, float x, float y, float z)
{
    D3DMATRIX upright = IdentityMatrix();
    upright.m[1][1] = 0;
    upright.m[1][2] = 1;
    upright.m[2][1] = -1;
    upright.m[2][2] = 0;
    D3DMATRIX scaled = IdentityMatrix();
    scaled.m[0][0] = scaled.m[1][1] = scaled.m[2][2] = scale;
    D3DMATRIX turned = IdentityMatrix();
    turned.m[0][0] = std::cos(turn);
    turned.m[0][1] = -std::sin(turn);
    turned.m[1][0] = std::sin(turn);
    turned.m[1][1] = std::cos(turn);
    D3DMATRIX m = MultiplyMatrices(MultiplyMatrices(scaled, upright), turned);
    m.m[3][0] = x;
    m.m[3][1] = y;
    m.m[3][2] = z;
    return m;
}

}  // namespace

SceneView::SceneView() = default;

SceneView::~SceneView()
{
    m_Models.clear();
    if (m_pMatch)
        m_pMatch->EndGame();
    m_pMatch.reset();
    m_pWorld.reset();
    C3DEngine::DestroyStatics();
}

bool SceneView::Fail(const std::string& why)
{
    m_error = why;
    return false;
}

bool SceneView::Setup(const SceneOptions& options)
{
    m_Options = options;
    if (options.width < 16 || options.height < 16 || options.width > 4096 || options.height > 4096)
        return Fail("the picture must be 16 to 4096 pixels each way");
    if (options.players < 0 || options.players > 22)
        return Fail("there are 0 to 22 players");
    if (options.camera < 0 || options.camera >= kSceneCameras)
        return Fail("the cameras are 0 to " + std::to_string(kSceneCameras - 1));
    m_pTarget = std::make_unique<plat::Surface>(options.width, options.height, plat::PixelFormat::Rgb565);
    m_Precipitation.Setup(options.weather, options.weather == CPrecipitation::SNOW ? 200 : 100, 200);
    m_Precipitation.Resize(options.width, options.height);
    if (!C3DEngine::SetupStatics(m_pTarget.get(), C3DEngine::DEVICE_ZBUFFER))
        return Fail("3-D not available");
    C3DEngine::SetClearColour(kSkyColour);
    if (!StartMatch() || !LoadPlayers())
        return false;
    if (options.camera < 2) {
        m_pEngine->m_ucCurrentCamera = static_cast<uint8_t>(options.camera);
        return true;
    }
    // A still viewpoint in place of the orbit camera: distance, yaw, pitch, target.
    static const float kStill[4][6] = {{11000, kPi, 0.75f, 5000, 3750, 0},
                                       {6200, -kPi / 2, 0.38f, 1800, 3750, 0},
                                       {9500, -2.3f, 0.5f, 3000, 2500, 0},
                                       {900, -kPi / 2, 0.25f, 3300, 3750, 100}};
    const float* v = kStill[options.camera - 2];
    CCamera* pCamera = m_pEngine->GetCamera(0);
    pCamera->m_bLimitBox = false;
    pCamera->m_pTracked = nullptr;
    pCamera->m_pYawSource = nullptr;
    pCamera->SetupOrbit(static_cast<int32_t>(v[0]), v[1], v[2], v + 3, 7, 400, 40000);
    pCamera->m_ucMode = 200;  // a still viewpoint
    m_pEngine->m_ucCurrentCamera = 0;
    return true;
}

bool SceneView::StartMatch()
{
    m_pWorld = std::make_unique<CDatabaseHandler>();
    if (!m_pWorld->AreFixedTablesLoaded())
        return Fail("the fixed tables cannot be read (run from the runtime data tree)");
    CDatabaseHandler::BuildAttendanceCurve();
    CPlayerDatabase::InitialisePlayerValueTables();
    std::string error;
    if (!CSavedGameSet("Data/Data.bin").Load(*m_pWorld, error))
        return Fail("the starting world cannot be read: " + error);
    m_pWorld->SetDefaultGameSettings();
    // The starting world holds the grounds' capacities only: a new game builds their stands.
    if (!m_pWorld->SetUpNewGameRecords())
        return Fail("the starting world cannot begin a game");
    // A Saturday afternoon's match, in daylight.
    CDate matchDay = m_pWorld->GetGameDate();
    while (matchDay.GetDayOfWeek() != 6)
        ++matchDay;
    m_pWorld->SetGameDate(matchDay);
    if (!m_pWorld->GetClubFromID(static_cast<ID_CLUB>(m_Options.club)))
        return Fail("there is no club " + std::to_string(m_Options.club) + " in the world");
    // The visitors asked for, or any other club.
    ID_CLUB idAway = static_cast<ID_CLUB>(m_Options.away);
    if (idAway == m_Options.club)
        return Fail("the home and away clubs must be two different clubs");
    if (idAway && !m_pWorld->GetClubFromID(idAway))
        return Fail("there is no club " + std::to_string(m_Options.away) + " in the world");
    for (ID_CLUB id = 1; id < 2000 && !idAway; ++id)
        if (id != m_Options.club && m_pWorld->GetClubFromID(id))
            idAway = id;
    ITEMMATCHRULESINFORMATION rules;
    if (m_Options.match)
        rules.abyRules[2] = 5;
    const uint32_t dwSeed = m_Options.seed;
    m_pMatch = std::make_unique<CMatchEngine>();
    m_pMatch->SetShowLineUps(false);
    const uint8_t byMatchType = m_Options.match ? 1 : 0;
    if (!idAway ||
        !m_pMatch->StartGame(*m_pWorld, static_cast<ID_CLUB>(m_Options.club), idAway, byMatchType, rules, 0, &dwSeed))
        return Fail("no match can be set up at the ground of club " + std::to_string(m_Options.club));
    m_pEngine = m_pMatch->Get3DEngine();
    m_pMatch->Enable3DDevice();  // as the match screen does: the adverts go on the boards
    if (!m_Options.match)
        LeaveOutMatchPeople();
    if (!m_Options.sky) {
        LeaveOut(m_pMatch->GetDomeModel());
        LeaveOut(m_pMatch->GetSkylineModel());
    }
    if (!m_Options.stands) {
        for (int s = 0; s < CMatchEngine::kStadiumSegments; ++s)
            LeaveOut(m_pMatch->GetStadiumSegment(s).pModel);
        for (int r = 0; r < CMatchEngine::kBoardRows; ++r)
            for (uint32_t q = 0; q < m_pMatch->GetBoardRow(r)->GetQuadCount(); ++q)
                m_pEngine->GetMeshManager(kSceneLayer)
                    ->Remove(const_cast<ITEMMESHINFORMATION*>(m_pMatch->GetBoardRow(r)->GetQuad(q)));
    }
    return true;
}

void SceneView::LeaveOutMatchPeople()
{
    for (CMatchClub* pClub : {m_pMatch->GetHomeClub(), m_pMatch->GetAwayClub()})
        for (int i = 0; pClub && i < pClub->GetSquadCount(); ++i)
            if (CMatchPlayer* p = pClub->GetSlot(i))
                Hide(p);
    if (CMatchReferee* pReferee = m_pMatch->GetReferee()) {
        Hide(pReferee);
        Hide(&pReferee->GetAssistant(0));
        Hide(&pReferee->GetAssistant(1));
    }
    if (CMatchPhysio* pPhysio = m_pMatch->GetPhysio())
        Hide(pPhysio);
    m_pMatch->UpdateShadowsAndMarkers();  // their shadows go with them
}

void SceneView::Hide(CMatchPerson* pPerson)
{
    if (CModel* pModel = pPerson->GetModel())
        pModel->SetVisible(false);
}

void SceneView::LeaveOut(const CModel* pModel)
{
    if (pModel)
        const_cast<CModel*>(pModel)->RemoveFromMeshManager(kSceneLayer);
}

void SceneView::PlaceBall(float x, float y, float z)
{
    if (m_pBall)
        m_pBall->SetWorldMatrix(SceneryMatrix(1, 0, x, y, z + 13));
}

void SceneView::StartAnimation(Player& player)
{
    ANIMATIONREQUEST request;
    request.animation = m_wAnimation;
    player.pModel->SetAnimation(&request);
}

bool SceneView::LoadPlayers()
{
    CObjectData* pObjects = m_pEngine->GetObjectData();
    const uint16_t wBall = pObjects->Load("MatchMeshes\\Football.x", 1);
    if (wBall == OBJECT_NOT_FOUND)
        return Fail("MatchMeshes\\Football.x cannot be loaded");
    m_Models.push_back(std::make_unique<CModel>(*pObjects, wBall, 0));
    m_pBall = m_Models.back().get();
    m_pBall->SetWorldMatrix(SceneryMatrix(1, 0, 5000, 3750, 13));
    m_pBall->AddToMeshManager(kSceneLayer);
    if (m_Options.players == 0)
        return true;

    m_wPlayerObject = pObjects->LoadSkinned("MatchMeshes\\PlayerX1.x", 15);
    const uint16_t wKeeper = pObjects->LoadSkinned("MatchMeshes\\Goaliex1.x", 15);
    if (m_wPlayerObject == OBJECT_NOT_FOUND || wKeeper == OBJECT_NOT_FOUND)
        return Fail("the player meshes MatchMeshes\\PlayerX1.x and Goaliex1.x cannot be loaded");
    for (int level = 2; level <= 5; ++level)
        pObjects->AddLevel(m_wPlayerObject, ("MatchMeshes\\PlayerX" + std::to_string(level) + ".x").c_str(), 15);
    const uint16_t thresholds[5] = {40, 30, 22, 15, 0};
    pObjects->SetLevelOfDetailList(m_wPlayerObject, 5, thresholds);
    const std::string file = "MatchMeshes\\" + m_Options.animation + ".pa";
    m_wAnimation = pObjects->GetAnimationManager().ImportPrecalculatedAnimation(file.c_str(), m_wPlayerObject);
    if (m_wAnimation == ANIMATION_IMPORT_FAILED)
        return Fail("the animation " + file + " cannot be loaded");

    // Each wears the kit the match gave the footballer of his side and place
    // (the sides' kits without a clash, the keepers' own, the shirt numbers).
    auto kit = [&](int side, int place) {
        const CMatchClub* pClub = side ? m_pMatch->GetAwayClub() : m_pMatch->GetHomeClub();
        const CMatchPlayer* p = pClub && place < pClub->GetSquadCount() ? pClub->GetSlot(place) : nullptr;
        return p ? p->GetKitTexture() : NO_TEXTURE;
    };
    // Two sides of eleven in their halves, goalkeepers first.
    const float shape[11][2] = {{400, 3750}, {1800, 1200}, {1600, 2900}, {1600, 4600}, {1800, 6300}, {3300, 1000},
                                {3100, 3000}, {3100, 4500}, {3300, 6500}, {4400, 3000}, {4500, 4700}};
    for (int i = 0; i < m_Options.players; ++i) {
        const int side = i % 2, place = i / 2;
        const float x = side ? 10000 - shape[place][0] : shape[place][0];
        const float y = side ? 7500 - shape[place][1] : shape[place][1];
        const bool bKeeper = place == 0;
        m_Models.push_back(std::make_unique<CModel>(*pObjects, bKeeper ? wKeeper : m_wPlayerObject, 0));
        CModel* pModel = m_Models.back().get();
        // Facing the other goal, a little to either side.
        const float heading = (side ? -kPi / 2 : kPi / 2) + 0.35f * std::sin(static_cast<float>(i) * 1.7f);
        pModel->SetPositionAndHeading(x, y, heading);
        const uint16_t wKit = kit(side, place);
        if (wKit == NO_TEXTURE)
            return Fail("the kits cannot be made from MatchMeshes\\Textures.BFS");
        pModel->SetMeshTexture(wKit);
        pModel->AddToMeshManager(kSceneLayer);
        m_Players.push_back({pModel, x, y});
        StartAnimation(m_Players.back());
        // Players out of step with each other.
        const uint32_t dwOffset = static_cast<uint32_t>(i * 5) * 42;
        pModel->Update(nullptr, &dwOffset);
    }
    return true;
}

void SceneView::Frame(uint32_t dwElapsedMs)
{
    const auto start = std::chrono::steady_clock::now();
    const CCamera* pCamera = m_pEngine->GetCamera(0);
    for (Player& player : m_Players) {
        if (player.pModel->Update(nullptr, &dwElapsedMs)) {
            // The cycle ended: run on, but turn back at the touch lines and ends.
            const float x = player.pModel->GetX(), y = player.pModel->GetY();
            float heading = player.pModel->GetHeading();
            if (x < 300 || x > 9700 || y < 300 || y > 7200)
                heading = std::atan2(5000 - x, 3750 - y);
            player.pModel->SetPositionAndHeading(x, y, heading);
            StartAnimation(player);
        }
        const float dx = player.pModel->GetX() - pCamera->m_Position.x, dy = player.pModel->GetY() - pCamera->m_Position.y,
                    dz = pCamera->m_Position.z;
        const float distance = std::sqrt(dx * dx + dy * dy + dz * dz);
        player.pModel->SetLevelOfDetail(static_cast<uint16_t>(std::fmin(255.0f, 400000.0f / std::fmax(distance, 1.0f))));
    }
    m_Times.animate += Since(start);
    const auto drawStart = std::chrono::steady_clock::now();
    // As the match view does each frame; the match's own people stay hidden
    // while the scene's players take the field.
    if (m_Options.match)
        m_pMatch->PrepareScene();
    else
        m_pMatch->UpdateSky();
    m_pEngine->Render();
    m_dwClock += dwElapsedMs;
    const plat::Rect view = {0, 0, m_pTarget->width(), m_pTarget->height()};
    m_Precipitation.Draw(*m_pTarget, view, m_dwClock, false);
    m_Times.draw += Since(drawStart);
    ++m_Times.frames;
}

}  // namespace tools
