#include "tools/sceneview/SceneView.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "match/MatchKits.h"
#include "render3d/C3DEngine.h"
#include "render3d/CAnimationManager.h"
#include "render3d/CCamera.h"
#include "render3d/CMeshBuilder.h"
#include "render3d/CMeshManager.h"
#include "render3d/CModel.h"
#include "render3d/CObjectData.h"
#include "render3d/CTextureManager.h"
#include "render3d/VertexTransform.h"

#include <chrono>
#include <cmath>
#include <cstring>

namespace tools {

namespace {

constexpr float kPi = 3.14159265f;
constexpr uint8_t kSkyLayer = 0;
constexpr uint8_t kSceneLayer = 1;
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
    m_pEngine.reset();
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
    m_pTarget = std::make_unique<plat::Surface>(options.width, options.height, plat::PixelFormat::Rgb565);
    if (!C3DEngine::SetupStatics(m_pTarget.get(), C3DEngine::DEVICE_ZBUFFER))
        return Fail("3-D not available");
    C3DEngine::SetClearColour(kSkyColour);
    m_pEngine = std::make_unique<C3DEngine>();
    if (!m_Textures.Open("MatchMeshes\\Textures.BFS"))
        return Fail("MatchMeshes\\Textures.BFS cannot be read (run from the runtime data tree)");
    m_pEngine->GetTextureManager()->SetArchive(&m_Textures);
    m_pEngine->GetTextureManager()->SetNameCode('D', '1');

    D3DLIGHT2 sun{};
    sun.dwSize = sizeof sun;
    sun.dltType = D3DLIGHT_DIRECTIONAL;
    sun.dcvColor = {0.75f, 0.75f, 0.72f, 1};
    sun.dvDirection = {0.35f, 0.55f, -0.75f};
    m_pEngine->AddLight(&sun);
    m_pEngine->SetAmbientLight(0xFF6A6A6A);
    m_pEngine->AddMeshManager();
    m_pEngine->AddMeshManager();

    if (!LoadClubs() || !BuildPitch() || !LoadScenery() || !LoadPlayers())
        return false;

    m_pEngine->SetNumberOfCameras(1);
    CCamera* pCamera = m_pEngine->GetCamera(0);
    if (options.close) {
        const float target[3] = {3300, 3750, 100};
        pCamera->SetupOrbit(900, -kPi / 2, 0.25f, target, 7, 50, 40000);
    } else {
        const float target[3] = {5000, 3300, 0};
        pCamera->SetupOrbit(7600, kPi, 0.44f, target, 7, 400, 40000);
    }
    pCamera->m_ucMode = 200;  // a still viewpoint
    return true;
}

bool SceneView::BuildPitch()
{
    CTextureManager* pTextures = m_pEngine->GetTextureManager();
    const uint16_t wGrass = pTextures->LoadTexture("NewGrass.bmp", 0, nullptr);
    const uint16_t wMarkings = pTextures->LoadTexture("MarkingsNormal.bmp", 0, nullptr);
    if (wGrass == NO_TEXTURE || wMarkings == NO_TEXTURE)
        return Fail("the pitch textures NewGrass.bmp and MarkingsNormal.bmp cannot be read");
    D3DMATERIAL ground{};
    ground.dwSize = sizeof ground;
    ground.diffuse = {1, 1, 1, 1};
    ground.ambient = {1, 1, 1, 1};
    const uint16_t wMaterial = m_pEngine->AddMaterial(&ground);
    CMeshBuilder* pBuilder = m_pEngine->GetMeshBuilder();
    pBuilder->AddMesh();
    pBuilder->SetTexture(wGrass);
    pBuilder->SetMaterial(wMaterial);
    // Stripes across the pitch, one light and one dark every 10 metres.
    pBuilder->AddTexturedRectangle(-650, -500, 0, 10650, 8000, 0, 11.3f, 8.5f, 1);
    pBuilder->AddMesh();
    pBuilder->SetTexture(wMarkings);
    pBuilder->SetMaterial(wMaterial);
    // The markings lie a little above the grass, clear of the depth buffer's steps.
    const float z = 8, w = 18;
    pBuilder->AddStrip(0, 0, z, 10000, 0, z, w, 1);
    pBuilder->AddStrip(0, 7500, z, 10000, 7500, z, w, 1);
    pBuilder->AddStrip(0, 0, z, 0, 7500, z, w, 1);
    pBuilder->AddStrip(10000, 0, z, 10000, 7500, z, w, 1);
    pBuilder->AddStrip(5000, 0, z, 5000, 7500, z, w, 1);
    pBuilder->AddRingQuadrants(5000, 3750, z, 864, 876, 15);
    pBuilder->AddDisc(5000, 3750, z, 20);
    for (int end = 0; end < 2; ++end) {
        const float line = end ? 10000.0f : 0.0f, inward = end ? -1.0f : 1.0f;
        const float box = line + inward * 1570, six = line + inward * 525, spot = line + inward * 1045;
        pBuilder->AddStrip(line, 1830, z, box, 1830, z, w, 1);
        pBuilder->AddStrip(line, 5670, z, box, 5670, z, w, 1);
        pBuilder->AddStrip(box, 1830, z, box, 5670, z, w, 1);
        pBuilder->AddStrip(line, 2880, z, six, 2880, z, w, 1);
        pBuilder->AddStrip(line, 4620, z, six, 4620, z, w, 1);
        pBuilder->AddStrip(six, 2880, z, six, 4620, z, w, 1);
        pBuilder->AddDisc(spot, 3750, z, 18);
        pBuilder->AddClippedRing(spot, 3750, z, 864, 876, box);
    }
    pBuilder->AddToMeshManager(kSceneLayer);
    return true;
}

CModel* SceneView::AddModel(const std::string& name, float x, float y, float heading)
{
    const uint16_t wObject = m_pEngine->GetObjectData()->Load(("MatchMeshes\\" + name).c_str(), 1);
    if (wObject == OBJECT_NOT_FOUND) {
        Fail("MatchMeshes\\" + name + " cannot be loaded");
        return nullptr;
    }
    m_Models.push_back(std::make_unique<CModel>(*m_pEngine->GetObjectData(), wObject, 0));
    CModel* pModel = m_Models.back().get();
    pModel->SetPositionAndHeading(x, y, heading);
    pModel->AddToMeshManager(kSceneLayer);
    return pModel;
}

CModel* SceneView::AddPlacedModel(const std::string& name, float scale, float turn, float x, float y, float z)
{
    CModel* pModel = AddModel(name, x, y, 0);
    if (pModel)
        pModel->SetWorldMatrix(SceneryMatrix(scale, turn, x, y, z));
    return pModel;
}

bool SceneView::LoadScenery()
{
    if (m_Options.sky) {
        CModel* pDome = AddPlacedModel("Dome.x", 60, 0, 5000, 3750, -1000);
        CModel* pSkyline = AddPlacedModel("Cityscape_Day.x", 80, 0, 5000, 3750, 0);
        if (!pDome || !pSkyline)
            return false;
        // Drawn first, behind everything, without fog.
        for (CModel* pModel : {pDome, pSkyline}) {
            pModel->RemoveFromMeshManager(kSceneLayer);
            for (uint8_t m = 0; m < pModel->GetMeshCount(); ++m) {
                ITEMMESHINFORMATION* pMesh = nullptr;
                pModel->GetMesh(m, &pMesh);
                pMesh->drawFlags |= D3DDP_DONOTLIGHT;
                pMesh->flags |= MESH_NO_ZENABLE | MESH_NO_FOG;
                pMesh->drawOrderKey = pModel == pDome ? 0 : 1;
            }
            pModel->AddToMeshManager(kSkyLayer);
        }
    }
    if (!m_Options.stands)
        return true;
    // Sides and ends with their stands (the near side without a roof, which
    // would hide the pitch from this viewpoint), walls in the corners.
    struct Stand {
        const char* name;
        const char* roof;
        float x, y, heading;
    };
    const Stand stands[4] = {{"DT2NN.x", nullptr, -650, -500, 0},
                             {"TT2SS.x", "TT2NNR.x", 10650, 8000, kPi},
                             {"ST3EE.x", "ST3EER.x", 10650, -500, -kPi / 2},
                             {"DT1EE.x", "DT1EER.x", -650, 8000, kPi / 2}};
    for (const Stand& stand : stands) {
        CModel* pModel = AddModel(stand.name, stand.x, stand.y, stand.heading);
        if (!pModel)
            return false;
        if (stand.roof) {
            pModel->RemoveFromMeshManager(kSceneLayer);
            const uint16_t wRoof = m_pEngine->GetObjectData()->Load((std::string("MatchMeshes\\") + stand.roof).c_str(), 1);
            if (wRoof == OBJECT_NOT_FOUND)
                return Fail(std::string("MatchMeshes\\") + stand.roof + " cannot be loaded");
            pModel->Merge(wRoof);
            pModel->AddToMeshManager(kSceneLayer);
        }
    }
    const float corners[4][3] = {{10650, -500, 0}, {10650, 8000, -kPi / 2}, {-650, 8000, kPi}, {-650, -500, kPi / 2}};
    for (const auto& c : corners)
        if (!AddModel("WallNE.x", c[0], c[1], c[2]))
            return false;
    if (!AddPlacedModel("Net.x", 100, kPi / 2, 0, 3750, 0) || !AddPlacedModel("Net.x", 100, -kPi / 2, 10000, 3750, 0))
        return false;
    const float flags[4][2] = {{0, 0}, {0, 7500}, {10000, 7500}, {10000, 0}};
    for (const auto& f : flags)
        if (!AddPlacedModel("Flag.x", 40, 0, f[0], f[1], 0))
            return false;
    return AddPlacedModel("DUGOUT.x", 100, 0, 3500, -280, 2) && AddPlacedModel("DUGOUT.x", 100, 0, 7200, -280, 2);
}

bool SceneView::LoadClubs()
{
    if (m_Options.home == 0 && m_Options.away == 0)
        return true;
    if (m_Options.home == m_Options.away)
        return Fail("the home and away clubs must be two different clubs");
    m_pWorld = std::make_unique<CDatabaseHandler>();
    if (!m_pWorld->AreFixedTablesLoaded())
        return Fail("the game's fixed tables cannot be read (run from the runtime data tree)");
    CDatabaseHandler::BuildAttendanceCurve();
    CPlayerDatabase::InitialisePlayerValueTables();
    FILE* pFile = std::fopen("Data/Data.bin", "rb");
    if (!pFile)
        return Fail("Data/Data.bin cannot be read (run from the runtime data tree)");
    const bool bLoaded = m_pWorld->Load(pFile);
    std::fclose(pFile);
    if (!bLoaded)
        return Fail("Data/Data.bin is not a world the game can load");
    m_pWorld->SetupPointers();
    const int ids[2] = {m_Options.home, m_Options.away};
    for (int side = 0; side < 2; ++side) {
        m_apClubs[side] = ids[side] > 0 ? m_pWorld->GetClubFromID(static_cast<ID_CLUB>(ids[side])) : nullptr;
        if (!m_apClubs[side])
            return Fail("there is no club " + std::to_string(ids[side]));
        CPlayerDatabase* apPicked[18] = {};
        m_apClubs[side]->SelectTeam(m_apClubs[side]->GetFormation(), apPicked, 0, 0);
        for (int i = 0; i < 11; ++i)
            if (!(m_apSquads[side][i] = apPicked[i]))
                return Fail(std::string(m_apClubs[side]->GetName()) + " cannot field eleven players");
    }
    return true;
}

bool SceneView::DressPlayers(std::vector<uint16_t>& kits)
{
    CTextureManager& textures = *m_pEngine->GetTextureManager();
    ColourRecord colours{};
    if (!m_apClubs[0]) {
        // The scene's own sides: red with white, and blue and white stripes.
        MATCHKIT home{0xC81E1E, 0xFFFFFF, 1, 0xF5F5F5, 0xC81E1E, 0xFFFFFF};
        MATCHKIT away{0x1E46B4, 0xF0F0F0, 3, 0x1E2850, 0x1E46B4, 0xF0F0F0};
        const MATCHKIT* apKits[2] = {&home, &away};
        for (int side = 0; side < 2; ++side)
            for (int place = 0; place < 11; ++place) {
                colours = ColourRecord{};
                const char* pszMask = place == 0 ? MakeGoalkeeperKit(side ? 4 : 0, apKits[side]->dwSixth, 0, 0, colours)
                                                 : MakeOutfieldKit(*apKits[side], 0, 0, colours);
                kits.push_back(DrawShirtNumber(textures, LoadKitTexture(textures, pszMask, colours), place + 1));
            }
    } else {
        const MATCHKITCHOICE choice = ChooseMatchKits(*m_apClubs[0], *m_apClubs[1]);
        for (int side = 0; side < 2; ++side) {
            const MATCHKIT worn = GetClubKit(*m_apClubs[side], side == 1 && choice.bAwayChanges);
            const uint32_t dwSixth = GetClubKit(*m_apClubs[side], false).dwSixth;
            for (int place = 0; place < 11; ++place) {
                const CPlayerDatabase& player = *m_apSquads[side][place];
                colours = ColourRecord{};
                const char* pszMask =
                    place == 0 ? MakeGoalkeeperKit(choice.anGoalkeeper[side], dwSixth, player.m_byAppearanceVariant,
                                                   player.m_byAppearanceType, colours)
                               : MakeOutfieldKit(worn, player.m_byAppearanceVariant, player.m_byAppearanceType, colours);
                kits.push_back(DrawShirtNumber(textures, LoadKitTexture(textures, pszMask, colours),
                                               GetShirtNumber(player, place)));
            }
        }
    }
    // The referee, then his two assistants.
    MakeRefereeKit(colours);
    AddSkinColourEntry(colours.count, 0, colours, false);
    kits.push_back(LoadKitTexture(textures, "Master_Mask.bmp", colours));
    kits.push_back(kits.back());
    MakeSecondAssistantKit(colours);
    AddSkinColourEntry(colours.count, 0, colours, false);
    kits.push_back(LoadKitTexture(textures, "Master_Mask.bmp", colours));
    for (uint16_t wKit : kits)
        if (wKit == NO_TEXTURE)
            return Fail("the kit masks or shirt digits cannot be read from MatchMeshes\\Textures.BFS");
    return true;
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

    std::vector<uint16_t> kits;
    if (!DressPlayers(kits))
        return false;
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
        pModel->SetMeshTexture(kits[static_cast<size_t>(side * 11 + place)]);
        pModel->AddToMeshManager(kSceneLayer);
        m_Players.push_back({pModel, x, y});
        StartAnimation(m_Players.back());
        // Players out of step with each other.
        const uint32_t dwOffset = static_cast<uint32_t>(i * 5) * 42;
        pModel->Update(nullptr, &dwOffset);
    }
    if (!m_apClubs[0])
        return true;
    // The referee near the centre circle, the assistants on the touch lines.
    const uint16_t wAssistant = pObjects->LoadSkinned("MatchMeshes\\Linesmanx1.x", 15);
    if (wAssistant == OBJECT_NOT_FOUND)
        return Fail("the assistant referee's mesh MatchMeshes\\Linesmanx1.x cannot be loaded");
    const float officials[3][3] = {{5700, 3200, kPi / 2}, {3500, 60, kPi / 2}, {6500, 7440, -kPi / 2}};
    for (int k = 0; k < 3; ++k) {
        m_Models.push_back(std::make_unique<CModel>(*pObjects, k == 0 ? m_wPlayerObject : wAssistant, 0));
        CModel* pModel = m_Models.back().get();
        pModel->SetPositionAndHeading(officials[k][0], officials[k][1], officials[k][2]);
        pModel->SetMeshTexture(kits[static_cast<size_t>(22 + k)]);
        pModel->AddToMeshManager(kSceneLayer);
        m_Players.push_back({pModel, officials[k][0], officials[k][1]});
        StartAnimation(m_Players.back());
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
    m_pEngine->Render();
    m_Times.draw += Since(drawStart);
    ++m_Times.frames;
}

}  // namespace tools
