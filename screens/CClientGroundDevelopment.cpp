#include "screens/CClientGroundDevelopment.h"
#include "screens/CClientGroundView.h"

#include "shell/CFileManager.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "season/CComponentDatabase.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXStatic.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kFeatureNameSet = 103;
constexpr int kStandKindSet = 104;
constexpr int kQualityNameSet = 105;
constexpr int kSizeNameSet = 106;
constexpr int kFacilityNameSet = 108;
constexpr int kCaptionSet = 201;
constexpr int kCaptionItem = 2;
constexpr int kGroundAlert = 8;
constexpr const char* kPlanArchive = "GFX\\PlanGrnd.BFS";
constexpr COLORREF kFrameColour = 0xffffff;
constexpr COLORREF kMissingStandColour = 0xff0000;
constexpr COLORREF kStandEdgeColour = 0x141010;
constexpr COLORREF kDefaultClubColour = 0x9d37;
constexpr float kFillBlend = 0.4f;
constexpr int kPitchX = CClientGroundDevelopment::kPlanLeft + CDatabaseHandler::kPitchCellX * 10;
constexpr int kPitchY = CClientGroundDevelopment::kPlanTop + CDatabaseHandler::kPitchCellY * 10;

// The colour of a facility whose bitmap the archive lacks, by sub type.
COLORREF FacilityColour(int nSubType)
{
    switch (nSubType) {
    case 4: return 0x00ffff;
    case 5: return 0xff0000;
    case 6: return 0xffffff;
    case 7: return 0x009d37;
    case 8: return 0x838383;
    case 9: return 0x0000ff;
    case 10: return 0x00ff00;
    default: return 0xffa45b;
    }
}

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

// Main type, sub type and specific data of a component or of the component
// a schedule builds, improves or takes down.
struct RECORDVIEW {
    int nMainType = -1;
    int nSubType = 0;
    const uint8_t* pData = nullptr;
};

RECORDVIEW ViewOf(int nKind, const void* pRecord)
{
    RECORDVIEW view;
    if (!pRecord)
        return view;
    if (nKind == CClientGroundDevelopment::RECORD_COMPONENT) {
        const auto* p = static_cast<const CComponentDatabase*>(pRecord);
        view = {p->GetMainType(), p->GetSubType(), p->GetSpecificData()};
    } else if (nKind == CClientGroundDevelopment::RECORD_SCHEDULE) {
        const auto* p = static_cast<const CComponentScheduleDatabase*>(pRecord);
        view = {p->GetComponentMainType(), p->GetComponentSubType(), p->GetAssociatedComponentSpecificData()};
    }
    return view;
}

// Repeats the picture over the rectangle, the last row and column cut to it.
void TileKeyed(CXSurface* pTarget, CXSurface* pTile, const plat::Rect& rc)
{
    if (!pTarget || !pTarget->m_pSurface || !pTile || !pTile->m_pSurface || pTile->m_nWidth <= 0 ||
        pTile->m_nHeight <= 0)
        return;
    for (int y = rc.top; y < rc.bottom; y += pTile->m_nHeight)
        for (int x = rc.left; x < rc.right; x += pTile->m_nWidth) {
            const plat::Rect part{0, 0, std::min(pTile->m_nWidth, rc.right - x), std::min(pTile->m_nHeight, rc.bottom - y)};
            pTarget->m_pSurface->bltFast(x, y, *pTile->m_pSurface, &part, plat::BLTFAST_SRCCOLORKEY | plat::BLTFAST_WAIT);
        }
}

bool Inside(const plat::Rect& rc, int x, int y) { return x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom; }

}  // namespace

CClientGroundDevelopment& GetGroundDevelopmentScreen()
{
    static CClientGroundDevelopment s_Screen;
    return s_Screen;
}

CClientGroundDevelopment::CClientGroundDevelopment() { m_wScreenID = SCREEN_GROUND_DEVELOPMENT; }

CClientGroundDevelopment::~CClientGroundDevelopment() = default;

CGroundDatabase* CClientGroundDevelopment::Ground() const { return m_pClub ? m_pClub->m_pGround : nullptr; }

void CClientGroundDevelopment::CellOfPoint(int x, int y, int& nColumn, int& nRow)
{
    nColumn = static_cast<int8_t>((x - kPlanLeft) / kCell);
    nRow = static_cast<int8_t>((y - kPlanTop) / kCell);
}

plat::Rect CClientGroundDevelopment::GetRecordRect(int nKind, const void* pRecord)
{
    const RECORDVIEW view = ViewOf(nKind, pRecord);
    if (!view.pData)
        return {};
    int x = 0, y = 0, nWidth = 0, nHeight = 0;
    if (view.nMainType == COMPONENT_STAND) {
        if (!CDatabaseHandler::GetStadiumComponentScreenRect(view.pData[STAND_SIZE], view.pData[STAND_SIDE], x, y,
                                                             nWidth, nHeight))
            return {};
        return {x, y, x + nWidth, y + nHeight};
    }
    if (view.nMainType == COMPONENT_FACILITY &&
        CGroundDatabase::GetFacilityFootprint(view.pData[FACILITY_FOOTPRINT], nWidth, nHeight)) {
        x = kPlanLeft + static_cast<int8_t>(view.pData[FACILITY_X]) * kCell;
        y = kPlanTop + static_cast<int8_t>(view.pData[FACILITY_Y]) * kCell;
        return {x, y, x + nWidth * kCell, y + nHeight * kCell};
    }
    return {};
}

void CClientGroundDevelopment::ConstructScreen()
{
    SetBackgroundBitmap("bgMain.bmp");
    MakeOwnBackground();
    CGame* pGame = Game();
    if (CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr) {
        static const CAPTIONTAB kTabs[] = {{2, kCaptionItem, 0, 70, 8, 200}, {0, 0, 0, 0, 0, 0}};
        DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallBoldFont, kCaptionSet, kTabs);
    }
}

bool CClientGroundDevelopment::OnInitDialog()
{
    m_ComponentControls.clear();
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    m_pClub = pDatabase ? pDatabase->GetClubFromID(static_cast<ID_CLUB>(m_dwChangeParameter & 0xFFFF)) : nullptr;
    CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    if (!m_pClub && pHuman)
        m_pClub = pHuman->GetClub();
    if (CSaveGame* pOwner = m_pClub && pDatabase ? pDatabase->GetSaveGameForClub(m_pClub) : nullptr)
        pOwner->SetNavigationAlert(kGroundAlert, 0);
    // Only the current human's own club, on a ground it owns, is built on.
    m_bEditable = m_pClub && pHuman && pHuman->GetClub() == m_pClub &&
                  m_pClub->m_byGroundOwnership != CLUB_GROUND_RENTED && Ground();

    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    ConstructScreen();
    if (m_pClub)
        DrawColourBoxes(m_pBackground, CGameTitlebar::GetKitColour(m_pClub->m_abyAttributes[0]),
                        CGameTitlebar::GetKitColour(m_pClub->m_abyAttributes[1]));
    else
        DrawColourBoxes(m_pBackground, kDefaultClubColour, 0xffffff);
    const bool bResult = CGameClient::OnInitDialog();

    m_pPlanArchive = std::make_unique<CFileManager>();
    if (!m_pPlanArchive->Open(kPlanArchive)) {
        DebugLog(0, "[CClientGroundDevelopment::OnInitDialog] '%s' could not be opened", kPlanArchive);
        m_pPlanArchive.reset();
    }
    m_pPitchSurface.reset(LoadPlanBitmap("Pitch.bmp"));
    const CCountryDatabase* pCountry = m_pClub ? m_pClub->GetCountry() : nullptr;
    char szFloor[16];
    std::snprintf(szFloor, sizeof szFloor, "Floor%d.bmp", pCountry ? pCountry->GetWeather() & 3 : 0);
    m_pFloorSurface.reset(LoadPlanBitmap(szFloor));

    if (g_pTitlebar) {
        g_pTitlebar->SetSelectors(
            {CGameTitlebar::SELECTOR_COUNTRY, CGameTitlebar::SELECTOR_DIVISION, CGameTitlebar::SELECTOR_CLUB});
        if (m_pClub)
            g_pTitlebar->SetSelectorItems(m_pClub);
    }
    if (auto* pLabel = static_cast<CXStatic*>(AddControlXYWH(XCONTROL_STATIC, 280, 8, 349, 16, ID_CAPACITY, nullptr))) {
        pLabel->m_hFont = g_hSmallFont;
        pLabel->m_byAlignment = 2;
        pLabel->m_bFrame = 0;
        pLabel->m_crText = 0xffffff;
    }
    if (m_pFloorSurface)
        CXSurface::Blit(m_pBackground, m_pFloorSurface.get(), kPlanLeft, kPlanTop);
    else
        m_pBackground->FillGradient(kPlanLeft, kPlanTop, kPlanRight - kPlanLeft, kPlanBottom - kPlanTop, 0x20582e,
                                    0x20582e);
    if (m_pPitchSurface)
        CXSurface::Blit(m_pBackground, m_pPitchSurface.get(), kPitchX, kPitchY);
    m_pBareBackground = std::make_unique<CXSurface>();
    if (m_pBareBackground->Create(Width(), Height(), false, false))
        CXSurface::Blit(m_pBareBackground.get(), m_pBackground, 0, 0);
    RestoreBackground(0, 0, Width(), Height());
    m_bRedraw = true;
    m_nDragMode = DRAG_NONE;
    m_pDragSchedule = nullptr;
    m_DevelopmentPopup.SetClub(m_pClub);
    if (m_bEditable)
        AddBottomButton(ID_DEVELOP);
    ShowAllControls(true);
    // The 3-D view of the ground, unless the options turned 3-D off.
    if (CXButton* pView = AddBottomButton(ID_GROUND_VIEW)) {
        const CGame* pGame = Game();
        const bool b3D = !pGame || pGame->GetOptions().m_n3DSettings != 2;
        pView->Enable(!b3D);  // the flag disables
        pView->Show(b3D, false);
    }
    if (g_pNavigationBar)
        if (auto* pPrint = dynamic_cast<CXButton*>(g_pNavigationBar->FindControl(1058))) {
            pPrint->Enable(false);
            pPrint->Show(false, true);
        }
    ShowCapacity();
    return bResult;
}

void CClientGroundDevelopment::ShowCapacity()
{
    auto* pLabel = dynamic_cast<CXStatic*>(FindControl(ID_CAPACITY));
    const CGroundDatabase* pGround = Ground();
    if (pLabel && pGround)
        pLabel->SetText("%s (%s)", pGround->GetName(), FormatThousands(pGround->GetCapacity()));
}

CXSurface* CClientGroundDevelopment::LoadPlanBitmap(const char* pszName)
{
    if (!m_pPlanArchive)
        return nullptr;
    bool bFound = false;
    long nSize = 0;
    FILE* pFile = m_pPlanArchive->Get(pszName, &nSize, &bFound);
    if (!bFound || !pFile)
        return nullptr;
    auto* pSurface = new CXSurface;
    if (!pSurface->CreateFromBitmap(pFile, true, true, nSize)) {
        delete pSurface;
        return nullptr;
    }
    return pSurface;
}

void CClientGroundDevelopment::OnDestroy()
{
    m_nDragMode = DRAG_NONE;
    m_pDragSchedule = nullptr;
    RemoveComponentControls();
    m_pPlanArchive.reset();
    m_pPitchSurface.reset();
    m_pFloorSurface.reset();
    m_pBareBackground.reset();
    CGameClient::OnDestroy();
}

void CClientGroundDevelopment::RemoveComponentControls()
{
    for (const COMPONENTCONTROL& entry : m_ComponentControls)
        if (entry.pButton)
            RemoveControlByID(entry.pButton->GetID());
    m_ComponentControls.clear();
}

void CClientGroundDevelopment::DrawGridRect(CXSurface* pSurface, int x, int y, int nWidth, int nHeight,
                                            COLORREF crFill, COLORREF crFrame, bool bFilled)
{
    if (!pSurface || !pSurface->m_pSurface || nWidth <= 0 || nHeight <= 0)
        return;
    if (bFilled)
        pSurface->BlendRect(x, y, nWidth, nHeight, crFill, crFill, kFillBlend);
    plat::DeviceContext* pDC = pSurface->m_pSurface->getDC();
    DrawRectOutline(pDC, x, y, x + nWidth, y + nHeight, crFrame, 1);
    pSurface->m_pSurface->releaseDC(pDC);
}

void CClientGroundDevelopment::DrawComponentOnGrid(CXSurface* pSurface, int nKind, const void* pRecord,
                                                   uint32_t* pdwNextID, plat::Rect* pRect, bool bAtGivenPlace, int x,
                                                   int y)
{
    if (nKind != RECORD_COMPONENT && nKind != RECORD_SCHEDULE) {
        DebugLog(0, "[CClientGroundDevelopment::DrawComponentOnGrid] Unknown record type!");
        return;
    }
    plat::Rect rc{};
    switch (ViewOf(nKind, pRecord).nMainType) {
    case COMPONENT_STAND:
        DrawStadiumComponentOnGrid(pSurface, nKind, pRecord, &rc, bAtGivenPlace, x, y);
        break;
    case COMPONENT_FACILITY:
        DrawFacilityComponentOnGrid(pSurface, nKind, pRecord, &rc, bAtGivenPlace, x, y);
        break;
    case COMPONENT_PITCH_ITEM:
        DrawFeatureComponentOnGrid(nKind, pRecord, &rc);
        break;
    default:
        DebugLog(0, "[CClientGroundDevelopment::DrawComponentOnGrid] Unknown main component type!");
        return;
    }
    if (pRect)
        *pRect = rc;
    if (!pdwNextID || rc.width() <= 0 || rc.height() <= 0)
        return;
    // An invisible button over the part, there for its tooltip.
    auto* pButton = static_cast<CXButton*>(AddControl(XCONTROL_BUTTON, rc.left, rc.top, rc.right, rc.bottom,
                                                      *pdwNextID, nullptr));
    if (pButton) {
        pButton->Show(true, false);
        m_ComponentControls.push_back({pButton, nKind, pRecord});
    }
    ++*pdwNextID;
}

void CClientGroundDevelopment::DrawStadiumComponentOnGrid(CXSurface* pSurface, int nKind, const void* pRecord,
                                                          plat::Rect* pRect, bool bAtGivenPlace, int x, int y)
{
    if (nKind != RECORD_COMPONENT && nKind != RECORD_SCHEDULE) {
        DebugLog(0, "[CClientGroundDevelopment::DrawStadiumComponentOnGrid] Unknown record type!");
        return;
    }
    const RECORDVIEW view = ViewOf(nKind, pRecord);
    if (view.nMainType != COMPONENT_STAND || !view.pData) {
        DebugLog(0, "[CClientGroundDevelopment::DrawStadiumComponentOnGrid] Component is not a stadium!");
        return;
    }
    char szBase[16] = {}, szOverlay[16] = {};
    if (!GetStand2DFilenames(view.nSubType, view.pData, szBase, szOverlay))
        return;
    plat::Rect rc = GetRecordRect(nKind, pRecord);
    if (bAtGivenPlace)
        rc = {x, y, x + rc.width(), y + rc.height()};
    if (pRect)
        *pRect = rc;
    std::unique_ptr<CXSurface> pBase(LoadPlanBitmap(szBase));
    if (!pBase) {
        DrawGridRect(pSurface, rc.left, rc.top, rc.width(), rc.height(), kMissingStandColour, kFrameColour, true);
        return;
    }
    // One picture serves a stand of every depth: it is laid over the stand
    // from its top-left corner as often as the stand is wide and deep.
    TileKeyed(pSurface, pBase.get(), rc);
    if (view.pData[STAND_ROOF] != 0)
        if (std::unique_ptr<CXSurface> pOverlay{LoadPlanBitmap(szOverlay)})
            TileKeyed(pSurface, pOverlay.get(), rc);
    DrawGridRect(pSurface, rc.left, rc.top, rc.width(), rc.height(), 0, kStandEdgeColour, false);
}

void CClientGroundDevelopment::DrawFacilityComponentOnGrid(CXSurface* pSurface, int nKind, const void* pRecord,
                                                           plat::Rect* pRect, bool bAtGivenPlace, int x, int y)
{
    if (nKind != RECORD_COMPONENT && nKind != RECORD_SCHEDULE) {
        DebugLog(0, "[CClientGroundDevelopment::DrawFacilityComponentOnGrid] Unknown record type!");
        return;
    }
    const RECORDVIEW view = ViewOf(nKind, pRecord);
    if (view.nMainType != COMPONENT_FACILITY || !view.pData) {
        DebugLog(0, "[CClientGroundDevelopment::DrawFacilityComponentOnGrid] Component is not a facility!");
        return;
    }
    plat::Rect rc = GetRecordRect(nKind, pRecord);
    if (bAtGivenPlace)
        rc = {x, y, x + rc.width(), y + rc.height()};
    if (pRect)
        *pRect = rc;
    const FACILITYCOMPONENTTABLERECORD* pRow =
        CDatabaseHandler::GetFacilityComponentTableRecordFromTypeAndSize(view.nSubType, view.pData[0]);
    if (!pRow) {
        DebugLog(0, "[CClientGroundDevelopment::DrawFacilityComponentOnGrid] Could not find the required facility "
                    "record");
        DrawGridRect(pSurface, rc.left, rc.top, rc.width(), rc.height(), FacilityColour(view.nSubType), kFrameColour,
                     true);
        return;
    }
    std::unique_ptr<CXSurface> pBitmap(LoadPlanBitmap(pRow->pszBitmap));
    if (!pBitmap) {
        DrawGridRect(pSurface, rc.left, rc.top, rc.width(), rc.height(), FacilityColour(view.nSubType), kFrameColour,
                     true);
        return;
    }
    if (pBitmap->m_nWidth % 4 != 0)
        DebugLog(0, "[CClientGroundDevelopment::DrawFacilityComponentOnGrid] Component width is not a multiple of 4!");
    CXSurface::BlitKeyed(pSurface, pBitmap.get(), rc.left, rc.top);
}

void CClientGroundDevelopment::DrawFeatureComponentOnGrid(int nKind, const void* pRecord, plat::Rect* pRect)
{
    if (nKind != RECORD_COMPONENT && nKind != RECORD_SCHEDULE) {
        DebugLog(0, "[CClientGroundDevelopment::DrawFeatureComponentOnGrid] Unknown record type!");
        return;
    }
    if (ViewOf(nKind, pRecord).nMainType != COMPONENT_PITCH_ITEM)
        DebugLog(0, "[CClientGroundDevelopment::DrawFeatureComponentOnGrid] Component is not a feature!");
    // A pitch feature has no place of its own on the plan.
    *pRect = {};
}

void CClientGroundDevelopment::DrawScheduledComponentOnGrid(CComponentScheduleDatabase* pSchedule, bool bStarted)
{
    COLORREF crStarted = kBuildStarted;
    uint32_t dwNextID = 0;
    switch (pSchedule->GetKind()) {
    case SCHEDULE_BUILD:
        crStarted = kBuildStarted;
        break;
    case SCHEDULE_IMPROVE:
        crStarted = kImproveStarted;
        break;
    case SCHEDULE_DEMOLISH:
        crStarted = kDemolishStarted;
        break;
    default:
        return;
    }
    // Only planned buildings take a button of their own: what they improve
    // or take down has one already.
    uint32_t* pdwID = nullptr;
    if (pSchedule->GetKind() == SCHEDULE_BUILD) {
        dwNextID = ID_FIRST_COMPONENT + static_cast<uint32_t>(m_ComponentControls.size());
        pdwID = &dwNextID;
    }
    plat::Rect rc{};
    DrawComponentOnGrid(m_pBackground, RECORD_SCHEDULE, pSchedule, pdwID, &rc, false, 0, 0);
    if (rc.width() > 0 && rc.height() > 0)
        DrawGridRect(m_pBackground, rc.left, rc.top, rc.width(), rc.height(), 0, bStarted ? crStarted : kNotStarted,
                     false);
}

void CClientGroundDevelopment::RebuildPlan()
{
    m_bRedraw = false;
    RemoveComponentControls();
    CGroundDatabase* pGround = Ground();
    CDatabaseHandler* pHandler = GetLoadedDatabase();
    m_dwPlanDate = pHandler ? pHandler->GetGameDate().GetValue() : 0;
    m_nPlanComponents = pGround ? pGround->GetComponentCount() : 0;
    m_nPlanSchedules = pGround ? pGround->GetScheduleCount() : 0;
    if (!m_pBackground || !m_pBackground->m_pSurface)
        return;
    if (m_pBareBackground && m_pBareBackground->m_pSurface) {
        const plat::Rect rcPlan{kPlanLeft, kPlanTop, kPlanRight, kPlanBottom};
        m_pBackground->m_pSurface->bltFast(kPlanLeft, kPlanTop, *m_pBareBackground->m_pSurface, &rcPlan,
                                           plat::BLTFAST_WAIT);
    }
    if (pGround) {
        uint32_t dwNextID = ID_FIRST_COMPONENT;
        for (const CComponentDatabase* p : pGround->GetComponents().Items<CComponentDatabase>())
            if (p->IsFinished())
                DrawComponentOnGrid(m_pBackground, RECORD_COMPONENT, p, &dwNextID, nullptr, false, 0, 0);
        CDatabaseHandler* pDatabase = GetLoadedDatabase();
        const CDate today = pDatabase ? pDatabase->GetGameDate() : CDate();
        for (CComponentScheduleDatabase* p : pGround->GetSchedules().Items<CComponentScheduleDatabase>())
            if (!p->HasDurationElapsed(today))
                DrawScheduledComponentOnGrid(p, p->IsDue(today));
    }
    RestoreBackground(kPlanLeft, kPlanTop, kPlanRight - kPlanLeft, kPlanBottom - kPlanTop);
    ShowCapacity();
}

bool CClientGroundDevelopment::IsRecordOnGround(int nKind, const void* pRecord) const
{
    const CGroundDatabase* pGround = Ground();
    if (!pGround || !pRecord)
        return false;
    const CXList& list = nKind == RECORD_COMPONENT ? pGround->GetComponents() : pGround->GetSchedules();
    return list.Find(pRecord) != nullptr;
}

void CClientGroundDevelopment::OnPaint()
{
    // Work the day brought (begun, finished or called off) shows at once.
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CGroundDatabase* pGround = Ground();
    const uint32_t dwDate = pDatabase ? pDatabase->GetGameDate().GetValue() : 0;
    if (pGround && (dwDate != m_dwPlanDate || pGround->GetComponentCount() != m_nPlanComponents ||
                    pGround->GetScheduleCount() != m_nPlanSchedules))
        m_bRedraw = true;
    if (m_bRedraw)
        RebuildPlan();
    CGameClient::OnPaint();
    if (m_nDragMode == DRAG_NONE || !m_pDragSchedule)
        return;
    // The dragged building follows the pointer on the display itself.
    const int x = m_nMouseX - m_nGrabX + kClientX, y = m_nMouseY - m_nGrabY + kClientY;
    if (m_nDragMode == DRAG_STAND)
        DrawStadiumComponentOnGrid(GetScreenSurface(), RECORD_SCHEDULE, m_pDragSchedule, nullptr, true, x, y);
    else if (m_nDragMode == DRAG_FACILITY)
        DrawFacilityComponentOnGrid(GetScreenSurface(), RECORD_SCHEDULE, m_pDragSchedule, nullptr, true, x, y);
}

void CClientGroundDevelopment::OnLButtonDown(uint32_t flags, int x, int y)
{
    CGameClient::OnLButtonDown(flags, x, y);
    CGroundDatabase* pGround = Ground();
    if (!m_bEditable || !pGround)
        return;
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CDate today = pDatabase ? pDatabase->GetGameDate() : CDate();
    for (CComponentScheduleDatabase* p : pGround->GetSchedules().Items<CComponentScheduleDatabase>()) {
        // Work on what stands, and work begun, stay where they are.
        if (p->GetKind() != SCHEDULE_BUILD || p->IsDue(today) || p->HasDurationElapsed(today))
            continue;
        const int nMainType = p->GetComponentMainType();
        if (nMainType == COMPONENT_PITCH_ITEM)
            continue;
        const plat::Rect rc = GetRecordRect(RECORD_SCHEDULE, p);
        if (!Inside(rc, x, y))
            continue;
        m_nDragMode = nMainType == COMPONENT_STAND ? DRAG_STAND : DRAG_FACILITY;
        m_pDragSchedule = p;
        m_nGrabX = x - rc.left;
        m_nGrabY = y - rc.top;
        m_nMouseX = x;
        m_nMouseY = y;
        return;
    }
}

void CClientGroundDevelopment::OnMouseMove(uint32_t flags, int x, int y)
{
    CGameClient::OnMouseMove(flags, x, y);
    m_nMouseX = x;
    m_nMouseY = y;
}

bool CClientGroundDevelopment::CanPlaceFacility(const CComponentScheduleDatabase& schedule, int nColumn,
                                                int nRow) const
{
    const CGroundDatabase* pGround = Ground();
    const uint8_t* pData = schedule.GetAssociatedComponentSpecificData();
    int nWidth = 0, nHeight = 0;
    if (!pGround || !pData || !CGroundDatabase::GetFacilityFootprint(pData[FACILITY_FOOTPRINT], nWidth, nHeight))
        return false;
    if (nColumn < 0 || nRow < 0 || nColumn + nWidth > kColumns || nRow + nHeight > kRows)
        return false;
    CXList found;
    pGround->GetComponentsInArea(nColumn, nRow, nWidth, nHeight, true, found);
    bool bFree = found.IsEmpty();
    if (found.GetCount() == 1) {
        const auto* pOnly = static_cast<const CGroundDatabase::AREACLASH*>(found.GetHead()->pData);
        bFree = pOnly->nKind == CGroundDatabase::CLASH_SCHEDULE && pOnly->pItem == &schedule;
    }
    while (!found.IsEmpty())
        delete static_cast<CGroundDatabase::AREACLASH*>(found.RemoveHead());
    return bFree;
}

void CClientGroundDevelopment::OnLButtonUp(uint32_t flags, int x, int y)
{
    CGameClient::OnLButtonUp(flags, x, y);
    const int nMode = m_nDragMode;
    CComponentScheduleDatabase* pSchedule = m_pDragSchedule;
    m_nDragMode = DRAG_NONE;
    m_pDragSchedule = nullptr;
    CGroundDatabase* pGround = Ground();
    if (!pSchedule || !pGround || (nMode != DRAG_STAND && nMode != DRAG_FACILITY) ||
        !IsRecordOnGround(RECORD_SCHEDULE, pSchedule))
        return;
    const bool bOnPlan = x >= kPlanLeft && x < kPlanRight && y >= kPlanTop && y < kPlanBottom;
    if (!bOnPlan) {
        // Dropped off the plan: the building is not wanted after all. The
        // buttons that name it go with it before anyone can ask them.
        RemoveComponentControls();
        pGround->RemoveComponentSchedule(pSchedule);
        m_bRedraw = true;
        return;
    }
    if (nMode != DRAG_FACILITY)
        return;
    int nColumn = 0, nRow = 0;
    CellOfPoint(x - m_nGrabX, y - m_nGrabY, nColumn, nRow);
    if (!CanPlaceFacility(*pSchedule, nColumn, nRow))
        return;
    for (uint8_t* pData : {pSchedule->GetComponentData(),
                           pSchedule->GetComponent() ? pSchedule->GetComponent()->GetSpecificData() : nullptr})
        if (pData) {
            pData[FACILITY_X] = static_cast<uint8_t>(nColumn);
            pData[FACILITY_Y] = static_cast<uint8_t>(nRow);
        }
    m_bRedraw = true;
}

void CClientGroundDevelopment::OnSelChange(uint32_t dwID)
{
    const bool bSelector = dwID == CGameTitlebar::GetSelectorControlID(CGameTitlebar::SELECTOR_COUNTRY) ||
                           dwID == CGameTitlebar::GetSelectorControlID(CGameTitlebar::SELECTOR_DIVISION) ||
                           dwID == CGameTitlebar::GetSelectorControlID(CGameTitlebar::SELECTOR_CLUB);
    const CClubDatabase* pChosen = bSelector && g_pTitlebar ? g_pTitlebar->GetSelectedClub() : nullptr;
    if (pChosen && pChosen != m_pClub && g_pNavigationBar) {
        g_pNavigationBar->SetNextClient(this, pChosen->GetID());
        return;
    }
    CGameClient::OnSelChange(dwID);
}

void CClientGroundDevelopment::OnLButtonDblClk(uint32_t flags, int x, int y)
{
    CGameClient::OnLButtonDblClk(flags, x, y);
    int nColumn = 0, nRow = 0;
    CellOfPoint(x, y, nColumn, nRow);
    if (!m_pClub || x < kPlanLeft || y < kPlanTop || x >= kPlanRight || y >= kPlanBottom)
        return;
    m_DevelopmentPopup.SetClub(m_pClub);
    if (m_DevelopmentPopup.GetComponentAt(nColumn, nRow))
        m_DevelopmentPopup.Open();
}

void CClientGroundDevelopment::OnClicked(uint32_t dwID)
{
    if (dwID == ID_DEVELOP && m_bEditable) {
        m_DevelopmentPopup.SetClub(m_pClub);
        m_DevelopmentPopup.GetComponentAt(-1, -1);
        m_DevelopmentPopup.Open();
    }
    if (dwID == ID_GROUND_VIEW && m_pClub)
        if (CGame* pGame = Game()) {
            GetGroundViewScreen().SetClub(m_pClub);
            pGame->RequestFullView(&GetGroundViewScreen(), this);
        }
    CGameClient::OnClicked(dwID);
}

void CClientGroundDevelopment::OnEndPopup(CXPopup* pPopup)
{
    CGameClient::OnEndPopup(pPopup);
    if (pPopup == &m_DevelopmentPopup)
        m_bRedraw = true;
}

void CClientGroundDevelopment::OnGetToolTipText(uint32_t dwID, char* pszText)
{
    const auto it = std::find_if(m_ComponentControls.begin(), m_ComponentControls.end(),
                                 [dwID](const COMPONENTCONTROL& e) { return e.pButton && e.pButton->GetID() == dwID; });
    if (it == m_ComponentControls.end() || !IsRecordOnGround(it->nKind, it->pRecord))
        return;
    const RECORDVIEW view = ViewOf(it->nKind, it->pRecord);
    if (!view.pData)
        return;
    switch (view.nMainType) {
    case COMPONENT_STAND:
        std::snprintf(pszText, TOOLTIP_TEXT_SIZE, "%s %s", GetTableTextOrEmpty(kQualityNameSet, view.pData[0]),
                      GetTableTextOrEmpty(kStandKindSet, view.nSubType));
        break;
    case COMPONENT_FACILITY:
        std::snprintf(pszText, TOOLTIP_TEXT_SIZE, "%s %s", GetTableTextOrEmpty(kSizeNameSet, view.pData[0]),
                      GetTableTextOrEmpty(kFacilityNameSet, view.nSubType - 4));
        break;
    case COMPONENT_PITCH_ITEM:
        std::snprintf(pszText, TOOLTIP_TEXT_SIZE, "%s", GetTableTextOrEmpty(kFeatureNameSet, view.nSubType - 12));
        break;
    default:
        break;
    }
}
