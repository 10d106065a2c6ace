#include "screens/CClientGroundView.h"

#include "shell/CFileManager.h"
#include "shell/CGame.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "match/CGroundStadium.h"
#include "match/CHordings.h"
#include "platform/Clock.h"
#include "platform/DeviceContext.h"
#include "render3d/C3DEngine.h"
#include "render3d/CBillboard.h"
#include "render3d/CCamera.h"
#include "render3d/CMeshBuilder.h"
#include "render3d/CMeshManager.h"
#include "render3d/CModel.h"
#include "render3d/CObjectData.h"
#include "render3d/CTextureManager.h"
#include "render3d/VertexTransform.h"
#include "season/CComponentDatabase.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXSurface.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr float kPi = 3.14159265f;
constexpr uint8_t kLayer = 0;
constexpr uint32_t kGrey = 0xFF666666;
constexpr const char* kTextureArchive = "GFX\\GroundTextures.BFS";
constexpr int kEscape = 27, kSpace = 32;
// The pitch's corner on the plan: the pitch (10000 x 7500) centred in its cells.
constexpr float kPitchCornerX = CClientGroundView::kPitchCentreX - 5000;
constexpr float kPitchCornerY = CClientGroundView::kPitchCentreY - 3750;
// The name panel slides up 0.05375 pixels a millisecond.
constexpr float kPanelSpeed = 0.05375f;
constexpr int kPanelHalfWidth = 186;

const char* const kTileMeshes[CClientGroundView::kTileKinds] = {
    "Grass1",      "Grass2",        "Grass3",       "Grass1_2",
    "Grass1_3",    "Grass2_3",      "Road_T_Junction", "Road_Corner",
    "Road_Vertical", "Road_Vertical_Crossing", "Road_Cross_Road"};
constexpr int kStraightRoad = 8, kCrossingRoad = 9;
// The turn of each orientation about the vertical.
const float kOrientationTurn[4] = {0, 3 * kPi / 2, kPi, kPi / 2};

// The billboards of the surroundings: texture (0 the TREE picture, 1 the
// Tree1 picture), texture rectangle, and the corners round the foot point
// (left, bottom, right, top) at scale 1.
struct BILLBOARDKIND {
    int nTexture;
    BillboardTextureRect rect;
    float x0, y0, x1, y1;
};
const BILLBOARDKIND kBillboards[5] = {
    {0, {0.4453125f, 0, 0.875f, 1}, -150, 0, 150, 700},             // a tree
    {1, {0.421875f, 0, 0.9765625f, 1}, -180, 0, 180, 820},          // a broad tree
    {0, {0.125f, 0, 0.2734375f, 1}, -45, 0, 45, 600},               // a street lamp
    {1, {0.2265625f, 0.2890625f, 0.375f, 0.84375f}, -25, 0, 25, 220},  // a crossing beacon, lit
    {1, {0.046875f, 0.2890625f, 0.1953125f, 0.84375f}, -25, 0, 25, 220}};  // and unlit
const char* const kBillboardTextures[2] = {"TREE%K066,107,066.bmp", "Tree1%K066,090,057.bmp"};

// The facility signs: one cell of the signs picture per facility kind.
constexpr int kSignKinds = 8;
constexpr int kFirstFacilityKind = 4;

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

// A file modelled with y up turned to z up, scaled along each of its axes,
// turned about the vertical and placed.
D3DMATRIX PlacedMatrix(float sx, float sy, float sz, float fTurn, float x, float y, float z)
{
    D3DMATRIX scale = IdentityMatrix();
    scale.m[0][0] = sx, scale.m[1][1] = sy, scale.m[2][2] = sz;
    // File (x, y, z) to (x, -z, y).
    D3DMATRIX upright = IdentityMatrix();
    upright.m[1][1] = 0, upright.m[1][2] = 1, upright.m[2][1] = -1, upright.m[2][2] = 0;
    D3DMATRIX turn = IdentityMatrix();
    const float c = std::cos(fTurn), s = std::sin(fTurn);
    turn.m[0][0] = c, turn.m[0][1] = s, turn.m[1][0] = -s, turn.m[1][1] = c;
    D3DMATRIX m = MultiplyMatrices(MultiplyMatrices(scale, upright), turn);
    m.m[3][0] = x, m.m[3][1] = y, m.m[3][2] = z;
    return m;
}

float WrapYaw(float fYaw)
{
    while (fYaw > kPi)
        fYaw -= 2 * kPi;
    while (fYaw < -kPi)
        fYaw += 2 * kPi;
    return fYaw;
}

}  // namespace

CClientGroundView& GetGroundViewScreen()
{
    static CClientGroundView s_Screen;
    return s_Screen;
}

CClientGroundView::CClientGroundView() { m_wScreenID = SCREEN_GROUND_VIEW; }

CClientGroundView::~CClientGroundView() { FreeScene(); }

void CClientGroundView::ConstructScreen()
{
    delete m_pBackground;
    m_pBackground = new CXSurface;
    if (!m_pBackground->Create(kWidth, kHeight, false, false)) {
        delete m_pBackground;
        m_pBackground = nullptr;
    }
}

bool CClientGroundView::OnInitDialog()
{
    m_nLeft = 0, m_nTop = 0, m_nRight = kWidth, m_nBottom = kHeight;
    ConstructScreen();
    m_pEventBox.reset(LoadMainArchiveBitmap("GroundPanel.bmp", true));
    m_nPanelState = 0;
    m_fPanelPos = 0;
    const bool bResult = CGameClient::OnInitDialog();
    // The 3-D device draws straight into the back buffer the frame is made in.
    CXSurface* pBack = g_pGame ? g_pGame->GetBackSurface() : nullptr;
    m_b3DActive = pBack && pBack->m_pSurface &&
                  C3DEngine::SetupStatics(pBack->m_pSurface, C3DEngine::DEVICE_ZBUFFER);
    if (m_b3DActive)
        SetupComponents();
    else
        DebugLog(6, "[CClientGroundView::OnInitDialog] No 3-D device: the ground is not drawn");
    if (g_pfnSetMousePointer)
        g_pfnSetMousePointer(5, 0, 0);
    m_bLeftHeld = m_bRightHeld = 0;
    m_bShowSigns = 1;
    m_dwLastTime = plat::milliseconds();
    return bResult;
}

void CClientGroundView::OnDestroy()
{
    m_pEventBox.reset();
    FreeScene();
    if (m_b3DActive)
        C3DEngine::DestroyStatics();
    m_b3DActive = false;
    CGameClient::OnDestroy();
}

CCamera* CClientGroundView::Camera() const { return m_p3DEngine ? m_p3DEngine->GetCamera(0) : nullptr; }

void CClientGroundView::SetupComponents()
{
    m_pTextureArchive = std::make_unique<CFileManager>();
    if (!m_pTextureArchive->Open(kTextureArchive)) {
        DebugLog(6, "[CClientGroundView::SetupComponents] %s cannot be read", kTextureArchive);
        m_pTextureArchive.reset();
    }
    const CCountryDatabase* pCountry = m_pClub ? m_pClub->GetCountry() : nullptr;
    m_nWeather = static_cast<uint8_t>(pCountry ? pCountry->GetWeather() & 3 : 0);

    m_p3DEngine = std::make_unique<C3DEngine>();
    m_p3DEngine->CreateViewport(0, 0, kWidth, kHeight);
    if (m_pTextureArchive)
        m_p3DEngine->GetTextureManager()->SetArchive(m_pTextureArchive.get());
    D3DMATERIAL material{};
    material.dwSize = sizeof material;
    material.diffuse = material.ambient = material.specular = {1, 1, 1, 1};
    m_p3DEngine->AddMaterial(&material);
    C3DEngine::SetClearColour(kGrey);
    m_p3DEngine->AddMeshManager();

    SetupCamera();
    BuildPitch();
    SetupLight();

    CObjectData* pObjects = m_p3DEngine->GetObjectData();
    // The table the plan lies on: drawn first, under everything, so the
    // pitch and the tiles lie on its top.
    const uint16_t wTable = pObjects->Load("GroundMeshes\\Table.x", 1);
    if (wTable == OBJECT_NOT_FOUND) {
        DebugLog(6, "[CClientGroundView::SetupComponents] Couldn't load Table.x");
    } else {
        m_pTableModel = std::make_unique<CModel>(*pObjects, wTable, 0);
        m_pTableModel->SetWorldMatrix(
            PlacedMatrix(100, 100, 100, 0, kColumns / 2 * kCell, kRows / 2 * kCell, 0));
        m_pTableModel->SetMeshMaterial(0);
        for (uint8_t m = 0; m < m_pTableModel->GetMeshCount(); ++m) {
            ITEMMESHINFORMATION* pMesh = nullptr;
            if (m_pTableModel->GetMesh(m, &pMesh)) {
                pMesh->flags |= MESH_NO_ZENABLE;
                pMesh->drawOrderKey = 1;
            }
        }
        m_pTableModel->AddToMeshManager(kLayer);
    }
    const uint16_t wRoom = pObjects->Load("GroundMeshes\\Room.x", 1);
    if (wRoom == OBJECT_NOT_FOUND) {
        DebugLog(6, "[CClientGroundView::SetupComponents] Couldn't load Room.x");
    } else {
        m_pRoomModel = std::make_unique<CModel>(*pObjects, wRoom, 0);
        m_pRoomModel->SetWorldMatrix(PlacedMatrix(80, 80, 80, 0, kColumns / 2 * kCell, kRows / 2 * kCell, 0));
        m_pRoomModel->SetMeshMaterial(0);
        for (uint8_t m = 0; m < m_pRoomModel->GetMeshCount(); ++m) {
            ITEMMESHINFORMATION* pMesh = nullptr;
            if (m_pRoomModel->GetMesh(m, &pMesh))
                pMesh->drawOrderKey = 0;
        }
        m_pRoomModel->AddToMeshManager(kLayer);
    }
    LoadComponentMeshes();
    LoadBlankMeshes();
    SetupHoardings();
    if (CMeshManager* pManager = m_p3DEngine->GetMeshManager(kLayer))
        pManager->BuildDeferredList();
}

void CClientGroundView::SetupCamera()
{
    m_vTarget[0] = kPitchCentreX, m_vTarget[1] = kPitchCentreY, m_vTarget[2] = 0;
    m_fYaw = kPi / 4;
    m_rcTargetBounds[0] = kMinTargetX, m_rcTargetBounds[1] = kMinTargetY;
    m_rcTargetBounds[2] = kMaxTargetX, m_rcTargetBounds[3] = kMaxTargetY;
    m_p3DEngine->SetNumberOfCameras(1);
    CCamera* pCamera = Camera();
    if (!pCamera)
        return;
    pCamera->SetupOrbit(12000, m_fYaw, kPi / 4, m_vTarget, 3, 1000.0f, 200000.0f);
    pCamera->m_ucMode = CCamera::MODE_ORBIT;
    pCamera->m_pTracked = m_vTarget;
    pCamera->m_pYawSource = &m_fYaw;
    pCamera->m_nDistanceSpeed = 6000;
    pCamera->m_fScale = 2.0f;
    m_p3DEngine->m_ucCurrentCamera = 0;
}

void CClientGroundView::SetupLight()
{
    D3DLIGHT2 light{};
    light.dwSize = sizeof light;
    light.dltType = D3DLIGHT_DIRECTIONAL;
    light.dcvColor = {0.9f, 0.9f, 0.9f, 0};
    light.dvDirection = {1, 1, -1};
    light.dwFlags = 3;  // active, without specular
    m_p3DEngine->AddLight(&light);
    m_p3DEngine->SetAmbientLight(kGrey);
}

void CClientGroundView::BuildPitch()
{
    CTextureManager* pTextures = m_p3DEngine->GetTextureManager();
    const uint16_t wGrass = pTextures->LoadTexture("NewGrass.bmp", 0, nullptr);
    const uint16_t wMarkings = pTextures->LoadTexture("MarkingsNormal.bmp", 0, nullptr);
    CGroundStadium::BuildPitch(*m_p3DEngine, wGrass, wMarkings, 0, kPitchCornerX, kPitchCornerY, kLayer);
}

void CClientGroundView::LoadComponentMeshes()
{
    CGroundDatabase* pGround = m_pClub ? m_pClub->GetGround() : nullptr;
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CDate today = pDatabase ? pDatabase->GetGameDate() : CDate();
    // The stands, as a match at the ground would show them today.
    m_p3DEngine->GetTextureManager()->SetNameCode('D', '0');
    for (int s = 0; s < CGroundStadium::kSegments; ++s) {
        CGroundStadium::SEGMENT segment;
        CGroundStadium::ChooseSegment(pGround, s, today, segment);
        std::unique_ptr<CModel> pModel =
            CGroundStadium::LoadSegmentModel(*m_p3DEngine, "MatchMeshes\\", s, segment, kPitchCornerX, kPitchCornerY,
                                             "[CClientGroundView::SetupComponents] Couldn't load %s");
        if (!pModel)
            continue;
        pModel->AddToMeshManager(kLayer);
        m_StandModels.push_back(std::move(pModel));
    }
    if (!pGround)
        return;
    // The facilities, finished or under way, as blocks on their cells with a
    // sign over each.
    CObjectData* pObjects = m_p3DEngine->GetObjectData();
    const uint16_t wBlock = pObjects->Load("GroundMeshes\\Facility.x", 1);
    if (wBlock == OBJECT_NOT_FOUND)
        DebugLog(6, "[CClientGroundView::SetupComponents] Couldn't load %s", "GroundMeshes\\Facility.x");
    const uint16_t wSigns = m_p3DEngine->GetTextureManager()->LoadTexture("Signs%K.bmp", 0, nullptr);
    static BillboardTextureRect s_aSignRects[kSignKinds];
    for (int k = 0; k < kSignKinds; ++k)
        s_aSignRects[k] = {float(k) / kSignKinds, 0, float(k + 1) / kSignKinds, 1};
    auto addFacility = [&](int nSubType, const uint8_t* pData, bool bBuilding) {
        int x = 0, y = 0, w = 0, h = 0;
        if (!CGroundDatabase::GetComponentRect(COMPONENT_FACILITY, nSubType, pData, x, y, w, h) || w <= 0 || h <= 0)
            return;
        const float cx = (x + w * 0.5f) * kCell, cy = (y + h * 0.5f) * kCell;
        const float fHeight = (std::min(w, h) >= 3 ? 900.0f : 500.0f) * (bBuilding ? 0.5f : 1.0f);
        if (wBlock != OBJECT_NOT_FOUND) {
            auto pModel = std::make_unique<CModel>(*pObjects, wBlock, 0);
            pModel->SetWorldMatrix(PlacedMatrix(w * kCell * 0.9f, fHeight, h * kCell * 0.9f, 0, cx, cy, 0));
            pModel->AddToMeshManager(kLayer);
            m_StandModels.push_back(std::move(pModel));
        }
        const int nSign = nSubType - kFirstFacilityKind;
        if (nSign < 0 || nSign >= kSignKinds || bBuilding)
            return;
        auto pSign = std::make_unique<CBillboard>();
        pSign->SetTextureIndex(wSigns);
        pSign->SetTextureRect(1, 1, &s_aSignRects[nSign]);
        pSign->SetCorners(-250, 0, 250, 500);
        pSign->m_WorldPosition = {cx, cy, fHeight + 150};
        pSign->m_bEnabled = m_bShowSigns != 0;
        m_p3DEngine->GetMeshManager(kLayer)->Add(pSign.get(), MESH_ENTRY_BILLBOARD);
        m_FacilitySigns.push_back(std::move(pSign));
    };
    for (const CComponentDatabase* p : pGround->GetComponents().Items<CComponentDatabase>())
        if (p->GetMainType() == COMPONENT_FACILITY && p->IsFinished())
            addFacility(p->GetSubType(), p->GetSpecificData(), false);
    for (const CComponentScheduleDatabase* p : pGround->GetSchedules().Items<CComponentScheduleDatabase>())
        if (p->IsActive() && p->IsDue() && p->GetComponentMainType() == COMPONENT_FACILITY &&
            p->GetKind() == SCHEDULE_BUILD)
            addFacility(p->GetComponentSubType(), p->GetAssociatedComponentSpecificData(), true);
}

void CClientGroundView::AddBillboard(int nKind, float x, float y, float fScale, int nColumn, int nRow)
{
    const BILLBOARDKIND& kind = kBillboards[nKind];
    auto pBillboard = std::make_unique<CBillboard>();
    pBillboard->SetTextureIndex(m_awTreeTextures[nKind]);
    pBillboard->SetTextureRect(1, 1, &kind.rect);
    pBillboard->SetCorners(kind.x0 * fScale, kind.y0 * fScale, kind.x1 * fScale, kind.y1 * fScale);
    pBillboard->m_WorldPosition = {x, y, 0};
    m_p3DEngine->GetMeshManager(kLayer)->Add(pBillboard.get(), MESH_ENTRY_BILLBOARD);
    m_Surroundings.push_back({std::move(pBillboard), nColumn, nRow, nKind});
}

void CClientGroundView::LoadBlankMeshes()
{
    CTextureManager* pTextures = m_p3DEngine->GetTextureManager();
    pTextures->SetNameCode('Z', static_cast<char>('2' - std::min<int>(m_nWeather, 2)));
    CObjectData* pObjects = m_p3DEngine->GetObjectData();
    for (int k = 0; k < kTileKinds; ++k) {
        char szFile[64];
        std::snprintf(szFile, sizeof szFile, "GroundMeshes\\%s.x", kTileMeshes[k]);
        m_aBlankMeshes[k] = pObjects->Load(szFile, 1);
        if (m_aBlankMeshes[k] == OBJECT_NOT_FOUND)
            DebugLog(0, "[CClientGroundView::LoadBlankMeshes] Could not load: %s", szFile);
    }
    m_apBlankModels.clear();
    m_apBlankModels.resize(static_cast<size_t>(kColumns * kRows));
    const CGroundDatabase* pGround = m_pClub ? m_pClub->GetGround() : nullptr;
    // Seeded by the ground, so every visit to one ground has the same trees;
    // a generator of the view's own leaves the game's random numbers alone.
    m_Random.seed(pGround ? pGround->GetID() + 1u : 1u);
    auto roll = [this](int n) { return static_cast<int>(m_Random() % static_cast<unsigned>(n)); };
    const uint16_t awTextures[2] = {pTextures->LoadTexture(kBillboardTextures[0], 0, nullptr),
                                    pTextures->LoadTexture(kBillboardTextures[1], 0, nullptr)};
    for (int k = 0; k < 5; ++k)
        m_awTreeTextures[k] = awTextures[kBillboards[k].nTexture];
    struct PLACED {
        int nKind;
        float x, y, fScale;
    };
    std::vector<PLACED> placed;
    for (int c = 0; c < kColumns; ++c)
        for (int r = 0; r < kRows; ++r) {
            const int nKind = CGroundDatabase::GetPlanTerrain(c, r);
            const int nOrientation = CGroundDatabase::GetPlanTileOrientation(c, r);
            const float x = c * kCell, y = r * kCell;
            placed.clear();
            // The numbers are drawn for every cell, taken or not, so the trees
            // of the free cells stay when something is built elsewhere.
            if (nKind >= 0 && nKind <= 5) {
                if (roll(100) > 90) {
                    const int nTrees = roll(4);
                    for (int t = 0; t < nTrees; ++t) {
                        const int nTree = roll(2);
                        const float tx = x + 200 + roll(800), ty = y + 200 + roll(800);
                        placed.push_back({nTree, tx, ty, 1.0f + roll(70) * 0.01f});
                    }
                }
            } else if (nKind == kStraightRoad) {
                if (nOrientation == 0) {
                    if (r % 4 == 0)
                        placed.push_back({2, x + 50, y + 500, 1.0f});
                    else if (r % 4 == 2)
                        placed.push_back({2, x + 950, y + 500, 1.0f});
                } else if (c % 4 == 0) {
                    placed.push_back({2, x + 500, y + 50, 1.0f});
                } else if (c % 4 == 2) {
                    placed.push_back({2, x + 500, y + 950, 1.0f});
                }
            } else if (nKind == kCrossingRoad) {
                if (nOrientation == 0) {
                    placed.push_back({3, x + 50, y + 300, 1.0f});
                    placed.push_back({4, x + 950, y + 700, 1.0f});
                } else {
                    placed.push_back({3, x + 300, y + 50, 1.0f});
                    placed.push_back({4, x + 700, y + 950, 1.0f});
                }
            }
            if (!pGround || pGround->IsAreaOccupied(c, r, 1, 1,
                                                    CGroundDatabase::AREA_PITCH_SURROUND |
                                                        CGroundDatabase::AREA_IGNORE_UNSTARTED,
                                                    nullptr, nullptr))
                continue;
            for (const PLACED& p : placed)
                AddBillboard(p.nKind, p.x, p.y, p.fScale, c, r);
            if (nKind < 0 || m_aBlankMeshes[nKind] == OBJECT_NOT_FOUND)
                continue;
            auto pModel = std::make_unique<CModel>(*pObjects, m_aBlankMeshes[nKind], 0);
            pModel->SetWorldMatrix(PlacedMatrix(100, 100, 100, kOrientationTurn[nOrientation & 3], x + kCell / 2,
                                                y + kCell / 2, 0));
            pModel->AddToMeshManager(kLayer);
            m_apBlankModels[static_cast<size_t>(c * kRows + r)] = std::move(pModel);
        }
}

void CClientGroundView::SetupHoardings()
{
    CTextureManager* pTextures = m_p3DEngine->GetTextureManager();
    const uint16_t wBoards = pTextures->AddBlankTexture();
    pTextures->ReplaceTexture(wBoards, "Adverts.bmp", nullptr);
    for (int r = 0; r < kBoardRows; ++r) {
        m_apHoardings[r] = CGroundStadium::MakeBoardRow(r, wBoards, true, static_cast<int32_t>(kPitchCornerX),
                                                       static_cast<int32_t>(kPitchCornerY));
        m_apHoardings[r]->AddToFrame(m_p3DEngine->GetMeshManager(kLayer));
    }
    CGroundStadium::MakeAdvertRects(m_afAdvertRects);
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    CSaveGame* pHuman = pDatabase && m_pClub ? pDatabase->GetSaveGameForClub(m_pClub) : nullptr;
    CGroundStadium::FillBoardRows(m_apHoardings, pHuman ? &pHuman->GetHoardings() : nullptr, m_afAdvertRects);
}

void CClientGroundView::FreeBlankModels()
{
    for (std::unique_ptr<CModel>& p : m_apBlankModels)
        if (p)
            p->RemoveFromMeshManager(kLayer);
    m_apBlankModels.clear();
}

void CClientGroundView::FreeScene()
{
    CMeshManager* pManager = m_p3DEngine ? m_p3DEngine->GetMeshManager(kLayer) : nullptr;
    for (std::unique_ptr<CHordings>& pRow : m_apHoardings) {
        if (pRow && pManager)
            for (uint32_t i = 0; i < pRow->GetQuadCount(); ++i)
                if (const ITEMMESHINFORMATION* pQuad = pRow->GetQuad(i))
                    pManager->Remove(const_cast<ITEMMESHINFORMATION*>(pQuad));
        pRow.reset();
    }
    for (SURROUNDING& s : m_Surroundings)
        if (pManager)
            pManager->Remove(s.pBillboard.get());
    m_Surroundings.clear();
    for (std::unique_ptr<CBillboard>& p : m_FacilitySigns)
        if (pManager)
            pManager->Remove(p.get());
    m_FacilitySigns.clear();
    for (std::unique_ptr<CModel>& p : m_StandModels)
        p->RemoveFromMeshManager(kLayer);
    m_StandModels.clear();
    FreeBlankModels();
    for (std::unique_ptr<CModel>* pp : {&m_pTableModel, &m_pRoomModel})
        if (*pp) {
            (*pp)->RemoveFromMeshManager(kLayer);
            pp->reset();
        }
    m_p3DEngine.reset();
    if (m_pTextureArchive)
        m_pTextureArchive->Close();
    m_pTextureArchive.reset();
}

float CClientGroundView::GetZoom() const
{
    const CCamera* pCamera = Camera();
    return pCamera ? pCamera->m_fScale : 0.0f;
}

int32_t CClientGroundView::GetDistance() const
{
    const CCamera* pCamera = Camera();
    return pCamera ? pCamera->m_nWantedDistance : 0;
}

const CModel* CClientGroundView::GetTileModel(int nColumn, int nRow) const
{
    if (nColumn < 0 || nRow < 0 || nColumn >= kColumns || nRow >= kRows || m_apBlankModels.empty())
        return nullptr;
    return m_apBlankModels[static_cast<size_t>(nColumn * kRows + nRow)].get();
}

int CClientGroundView::CountBillboardsOnCell(int nColumn, int nRow) const
{
    return static_cast<int>(std::count_if(m_Surroundings.begin(), m_Surroundings.end(), [&](const SURROUNDING& s) {
        return s.nColumn == nColumn && s.nRow == nRow;
    }));
}

void CClientGroundView::Steer(uint32_t dwElapsedMs)
{
    if (!m_bLeftHeld)
        return;
    const float t = dwElapsedMs * 0.001f;
    m_fYaw = WrapYaw(m_fYaw + m_nSteerX * t / -70.0f);
    if (CCamera* pCamera = Camera())
        pCamera->m_fYaw = m_fYaw;
    const float d = t * (m_nSteerY * 100.0f);
    m_vTarget[0] = std::clamp(m_vTarget[0] + std::sin(m_fYaw) * d, m_rcTargetBounds[0], m_rcTargetBounds[2]);
    m_vTarget[1] = std::clamp(m_vTarget[1] + std::cos(m_fYaw) * d, m_rcTargetBounds[1], m_rcTargetBounds[3]);
}

void CClientGroundView::Zoom(int dy)
{
    CCamera* pCamera = Camera();
    if (!pCamera || pCamera->m_fScale <= 0)
        return;
    const float fOld = pCamera->m_fScale;
    const float fNew = std::clamp(fOld + dy * 0.01f, kMinZoom, kMaxZoom);
    const auto nDistance = static_cast<int32_t>(std::lround(pCamera->m_nWantedDistance / fOld * fNew));
    pCamera->m_nWantedDistance = nDistance;
    pCamera->m_nDistance = nDistance;
    pCamera->m_fScale = fNew;
}

void CClientGroundView::ShowFacilitySigns(bool bShow)
{
    if ((m_bShowSigns != 0) == bShow)
        return;
    m_bShowSigns = bShow ? 1 : 0;
    for (std::unique_ptr<CBillboard>& p : m_FacilitySigns)
        p->m_bEnabled = bShow;
}

void CClientGroundView::FlashCrossings(uint32_t dwNow)
{
    if (static_cast<int32_t>(dwNow - m_dwNextFlash) < 0)
        return;
    m_dwNextFlash = dwNow + 500;
    for (SURROUNDING& s : m_Surroundings) {
        if (s.nKind != 3 && s.nKind != 4)
            continue;
        s.nKind = 7 - s.nKind;
        s.pBillboard->SetTextureRect(1, 1, &kBillboards[s.nKind].rect);
    }
}

void CClientGroundView::OnPaint()
{
    CGameClient::OnPaint();
    const uint32_t dwNow = plat::milliseconds();
    const uint32_t dwElapsed = dwNow - m_dwLastTime;
    m_dwLastTime = dwNow;
    CXSurface* pBack = g_pGame ? g_pGame->GetBackSurface() : nullptr;
    if (m_b3DActive && m_p3DEngine) {
        FlashCrossings(dwNow);
        Steer(dwElapsed);
        m_p3DEngine->Render();
    } else if (pBack && m_pDrawingSurface) {
        CXSurface::Blit(pBack, m_pDrawingSurface, 0, 0);
    }
    DrawNamePanel(dwElapsed);
}

void CClientGroundView::DrawNamePanel(uint32_t dwElapsed)
{
    CXSurface* pBack = g_pGame ? g_pGame->GetBackSurface() : nullptr;
    if (!pBack || !pBack->m_pSurface)
        return;
    if (m_nPanelState == 0) {
        m_nPanelState = 1;
        m_fPanelPos = 0;
    } else if (m_nPanelState == 1) {
        m_fPanelPos += dwElapsed * kPanelSpeed;
        if (m_fPanelPos >= kPanelHeight) {
            m_nPanelState = 2;
            m_fPanelPos = kPanelHeight;
        }
    }
    const int nWidth = pBack->m_nWidth, nHeight = pBack->m_nHeight;
    const int nTop = nHeight - static_cast<int>(m_fPanelPos);
    if (m_pEventBox)
        CXSurface::BlitKeyed(pBack, m_pEventBox.get(), nWidth / 2 - kPanelHalfWidth, nTop);
    if (!m_pClub)
        return;
    const CGroundDatabase* pGround = m_pClub->GetGround();
    char szGround[128] = {};
    if (pGround)
        std::snprintf(szGround, sizeof szGround, "%s (%s)", pGround->GetName(),
                      FormatThousands(pGround->GetCapacity()));
    plat::DeviceContext* pDC = pBack->m_pSurface->getDC();
    pDC->setBkMode(plat::TRANSPARENT);
    pDC->setTextAlign(plat::TA_CENTER);
    plat::Font* pOld = pDC->selectFont(g_hLargeFont);
    pDC->setTextColor(0x000000);
    pDC->textOut(nWidth / 2, nTop + 3, m_pClub->GetName());
    if (szGround[0])
        pDC->textOut(nWidth / 2, nTop + 23, szGround);
    pDC->selectFont(pOld);
    pBack->m_pSurface->releaseDC(pDC);
}

void CClientGroundView::OnLButtonDown(uint32_t flags, int x, int y)
{
    CXClient::OnLButtonDown(flags, x, y);
    if (m_pCaptured)
        return;
    m_nSteerX = x - kWidth / 2;
    m_nSteerY = y - kHeight / 2;
    m_bLeftHeld = 1;
}

void CClientGroundView::OnLButtonUp(uint32_t flags, int x, int y)
{
    CXClient::OnLButtonUp(flags, x, y);
    if (!m_pCaptured)
        m_bLeftHeld = 0;
}

void CClientGroundView::OnRButtonDown(uint32_t flags, int x, int y)
{
    CXClient::OnRButtonDown(flags, x, y);
    if (m_pCaptured)
        return;
    m_bRightHeld = 1;
    m_nMouseX = x;
    m_nMouseY = y;
}

void CClientGroundView::OnRButtonUp(uint32_t flags, int x, int y)
{
    CXClient::OnRButtonUp(flags, x, y);
    if (!m_pCaptured)
        m_bRightHeld = 0;
}

void CClientGroundView::OnMouseMove(uint32_t flags, int x, int y)
{
    CXClient::OnMouseMove(flags, x, y);
    if (m_pCaptured)
        return;
    if (m_bLeftHeld) {
        m_nSteerX = x - kWidth / 2;
        m_nSteerY = y - kHeight / 2;
    } else if (m_bRightHeld) {
        Zoom(y - m_nMouseY);
    }
    m_nMouseX = x;
    m_nMouseY = y;
}

void CClientGroundView::OnKeyDown(uint32_t key, uint32_t repeat, uint32_t)
{
    CXClient::OnKeyDown(key, repeat, 0);
    if (key == kEscape) {
        if (CGame* pGame = Game())
            pGame->EndFullView();
    } else if (key == kSpace) {
        ShowFacilitySigns(!m_bShowSigns);
    }
}
