#include "popups/CPopupGroundDevelopment.h"

#include "popups/PopupLook.h"
#include "shell/CGame.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/StadiumTables.h"
#include "render3d/C3DEngine.h"
#include "render3d/CModel.h"
#include "season/CComponentDatabase.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CFinanceMonthFile.h"
#include "season/CSaveGame.h"
#include "shell/CFileManager.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXEdit.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXStatic.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kCaptionItem = 44;
constexpr int kPositionSet = 102;
constexpr int kFeatureSet = 103;
constexpr int kStandKindSet = 104;
constexpr int kStandardSet = 105;
constexpr int kSizeSet = 106;
constexpr int kFacilitySet = 108;
constexpr int kActionSet = 141;
constexpr int kRoofSet = 4;
constexpr int kMarkSet = 6;
// The labels of the stand, facility and feature pages.
constexpr int kPageLabels[3] = {100, 101, 102};
// The options of each feature kind (12-16).
constexpr int kFeatureOptionSets[5] = {35, 36, 37, 35, 35};
constexpr int kFirstFacility = 4, kLastFacility = 11, kFirstFeature = 12, kLastFeature = 16;
constexpr int kStandKinds = 4, kPositions = 8, kRoofs = 4, kStandSizes = 6, kSizeNames = 3;
constexpr int kTabStrip = 24;
constexpr int kTabWidth = 84, kTabStep = 87;
constexpr int kRowHeight = 16;
constexpr COLORREF kRowColour = 0xFFFFFF;
constexpr COLORREF kPanelColour = plat::RGB(12, 29, 48);

const LISTCOLUMN kScheduleColumns[] = {
    {0, 125, 4, 0, 0, 0, 1015, LISTSORT_NONE, 0},   {125, 200, 0, 0, 6, 0, 1017, LISTSORT_NONE, 0},
    {200, 255, 0, 0, 6, 0, 533, LISTSORT_NONE, 0},  {255, 280, 0, 0, 6, 0, 534, LISTSORT_NONE, 0},
    {280, 335, 0, 0, 2, 0, 535, LISTSORT_NONE, 0},  {335, 390, 0, 0, 2, 0, 536, LISTSORT_NONE, 0},
    {390, 445, 0, 0, 2, 0, 537, LISTSORT_NONE, 0},  {445, 505, 0, 0, 2, 0, 538, LISTSORT_NONE, 0},
    {505, 560, 0, 0, 2, 0, 532, LISTSORT_NONE, 0},  {560, 598, 0, 0, 6, 0, 539, LISTSORT_NONE, 1},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
constexpr int kConfirmedColumn = 9;
// The schedule page: the list over the graph's panel.
constexpr int kScheduleListTop = 126, kScheduleListBottom = 260;
constexpr int kGraphPanelTop = 266, kGraphPanelBottom = 398;
constexpr int kShortMonthSet = 130;
constexpr int kGraphMonths = 6;
constexpr COLORREF kBalanceColour = 0x5A8CFF, kWorkColour = 0xFF294A, kAxisColour = 0xFFFFFF;
enum { LINE_BALANCE = 0, LINE_WORK = 1 };
constexpr int kScheduleLabels = 103;

// The controls each page shows.
const uint32_t kStandBatch[] = {CGamePopup::kOkButtonID,              CGamePopup::kPrintButtonID,
                                CPopupGroundDevelopment::ID_TITLE,    CPopupGroundDevelopment::ID_SCHEDULES,
                                CPopupGroundDevelopment::ID_CHOICE,   CPopupGroundDevelopment::ID_STAND_KIND,
                                CPopupGroundDevelopment::ID_SIZE,     CPopupGroundDevelopment::ID_OPTION,
                                CPopupGroundDevelopment::ID_ROOF,     CPopupGroundDevelopment::ID_PART0,
                                CPopupGroundDevelopment::ID_PART1,    CPopupGroundDevelopment::ID_PART2,
                                CPopupGroundDevelopment::ID_COST,     CPopupGroundDevelopment::ID_WEEKS,
                                CPopupGroundDevelopment::ID_MAINTENANCE, CPopupGroundDevelopment::ID_OLD_CAPACITY,
                                CPopupGroundDevelopment::ID_NEW_CAPACITY, 0};
const uint32_t kFacilityBatch[] = {CGamePopup::kOkButtonID,           CGamePopup::kPrintButtonID,
                                   CPopupGroundDevelopment::ID_TITLE, CPopupGroundDevelopment::ID_SCHEDULES,
                                   CPopupGroundDevelopment::ID_CHOICE, CPopupGroundDevelopment::ID_SIZE,
                                   CPopupGroundDevelopment::ID_COST,  CPopupGroundDevelopment::ID_WEEKS,
                                   CPopupGroundDevelopment::ID_MAINTENANCE, 0};
const uint32_t kFeatureBatch[] = {CGamePopup::kOkButtonID,            CGamePopup::kPrintButtonID,
                                  CPopupGroundDevelopment::ID_TITLE,  CPopupGroundDevelopment::ID_SCHEDULES,
                                  CPopupGroundDevelopment::ID_CHOICE, CPopupGroundDevelopment::ID_OPTION,
                                  CPopupGroundDevelopment::ID_COST,   CPopupGroundDevelopment::ID_WEEKS,
                                  CPopupGroundDevelopment::ID_MAINTENANCE, 0};
const uint32_t kScheduleBatch[] = {CGamePopup::kOkButtonID,           CGamePopup::kPrintButtonID,
                                   CPopupGroundDevelopment::ID_TITLE, CPopupGroundDevelopment::ID_SCHEDULES,
                                   CPopupGroundDevelopment::ID_GRAPH, CPopupGroundDevelopment::ID_BALANCE_LINE,
                                   CPopupGroundDevelopment::ID_WORK_LINE, 0};
const uint32_t* const kBatches[4] = {kStandBatch, kFacilityBatch, kFeatureBatch, kScheduleBatch};

// The three part edits in the order of the stand's parts.
constexpr uint32_t kPartEdits[3] = {CPopupGroundDevelopment::ID_PART0, CPopupGroundDevelopment::ID_PART1,
                                    CPopupGroundDevelopment::ID_PART2};

CDatabaseHandler* Database() { return GetLoadedDatabase(); }

int64_t StandRowCost(const STANDTABLERECORD* p) { return p ? static_cast<int64_t>(p->dwCost) : 0; }
int PartUnitCost(const STANDPARTTABLERECORD* p) { return p ? p->byUnitCost * 1000 : 0; }

// The main type and sub type a component or schedule record stands for.
int MainTypeOf(const CGroundDatabase::AREACLASH& r)
{
    if (r.nKind == CGroundDatabase::CLASH_COMPONENT)
        return static_cast<const CComponentDatabase*>(r.pItem)->GetMainType();
    if (r.nKind == CGroundDatabase::CLASH_SCHEDULE)
        return static_cast<const CComponentScheduleDatabase*>(r.pItem)->GetComponentMainType();
    return -1;
}

}  // namespace

CPopupGroundDevelopment::CPopupGroundDevelopment()
{
    m_wScreenID = kScreenID;
    SetTabbedPopupRect(170, 105, 620, 440, kTabStrip);
}

CPopupGroundDevelopment::~CPopupGroundDevelopment()
{
    FreeArea();
    ReleasePreview();
}

// ---- figures ----

CPopupGroundDevelopment::FIGURES CPopupGroundDevelopment::RowFigures(const FACILITYTABLERECORD* pRow)
{
    FIGURES f;
    if (pRow) {
        f.nCost = pRow->dwCost;
        f.nWeeks = static_cast<int>(pRow->dwBuildWeeks);
        f.nMonthlyMaintenance = pRow->dwMonthlyMaintenance;
    }
    return f;
}

CPopupGroundDevelopment::FIGURES CPopupGroundDevelopment::NewStandFigures(const CDatabaseHandler& database,
                                                                          const STANDCHOICE& c)
{
    FIGURES f;
    const STANDTABLERECORD* pRow = database.GetStandTableRecord(c.nPosition, c.nKind, c.nSize, c.nOption);
    const STANDADJUSTMENTTABLERECORD* pRoof =
        c.nRoof != 0 ? database.GetStandAdjustmentTableRecord(c.nPosition, c.nKind, c.nSize, c.nRoof - 1) : nullptr;
    f.nCost = StandRowCost(pRow) + (pRoof ? pRoof->dwCost : 0);
    f.nWeeks = std::max(kMinimumWeeks, (pRow ? pRow->byBuildWeeks : 0) + (pRoof ? pRoof->byBuildWeeks : 0));
    int64_t nMaintenance = pRow ? pRow->dwMonthlyMaintenance : 0;
    if (pRoof)
        nMaintenance -= nMaintenance * std::abs(static_cast<int>(pRoof->chMaintenancePercent)) / 100;
    f.nCapacity = pRow ? static_cast<int>(pRow->dwCapacity) : 0;
    for (int nPart = 0; nPart < 3; ++nPart) {
        const STANDPARTTABLERECORD* pPart = database.GetStandPartTableRecord(c.nPosition, c.nKind, c.nSize, nPart);
        if (!pPart)
            continue;
        const int nCount = c.anParts[nPart];
        f.nCost += static_cast<int64_t>(PartUnitCost(pPart)) * nCount;
        nMaintenance += static_cast<int64_t>(pPart->dwMonthlyMaintenancePerUnit) * nCount;
        const int nSeats = static_cast<int>(pPart->dwCapacityPerUnit) * nCount;
        f.nCapacity += nPart == 0 ? nSeats : -nSeats;
    }
    f.nMonthlyMaintenance = nMaintenance;
    return f;
}

CPopupGroundDevelopment::FIGURES CPopupGroundDevelopment::StandImprovementFigures(const CDatabaseHandler& database,
                                                                                  const STANDCHOICE& from,
                                                                                  const STANDCHOICE& to)
{
    const FIGURES oldFigures = NewStandFigures(database, from);
    FIGURES f = NewStandFigures(database, to);
    const auto weeks = [&](const STANDCHOICE& c) {
        const STANDTABLERECORD* pRow = database.GetStandTableRecord(c.nPosition, c.nKind, c.nSize, c.nOption);
        const STANDADJUSTMENTTABLERECORD* pRoof =
            c.nRoof != 0 ? database.GetStandAdjustmentTableRecord(c.nPosition, c.nKind, c.nSize, c.nRoof - 1)
                         : nullptr;
        return (pRow ? pRow->byBuildWeeks : 0) + (pRoof ? pRoof->byBuildWeeks : 0);
    };
    f.nCost -= oldFigures.nCost;
    f.nWeeks = std::abs(weeks(to) - weeks(from));
    if (f.nCost <= 0) {
        f.nCost = 0;
        f.nWeeks = 0;
    } else {
        f.nWeeks = std::max(kMinimumWeeks, f.nWeeks);
    }
    return f;
}

CPopupGroundDevelopment::PAYMENTS CPopupGroundDevelopment::Payments(int64_t nCost, int nWeeks)
{
    PAYMENTS p;
    if (nCost <= 0)
        return p;
    const int64_t nQuarter = static_cast<int64_t>(static_cast<double>(nCost) * 0.25);
    p.dwInitial = p.dwFinal = static_cast<uint32_t>(std::min<int64_t>(nQuarter, UINT32_MAX));
    const int nMonths = std::max(1, nWeeks / 4);
    p.dwMonthly = static_cast<uint32_t>(std::min<int64_t>((nCost - 2 * nQuarter) / nMonths, UINT32_MAX));
    return p;
}

bool CPopupGroundDevelopment::FindFacilityPlace(const CGroundDatabase& ground, int nKind, int nSize, int& nX, int& nY)
{
    const FACILITYCOMPONENTTABLERECORD* pLayout =
        CDatabaseHandler::GetFacilityComponentTableRecordFromTypeAndSize(nKind, nSize);
    int nWidth = 0, nHeight = 0;
    if (!pLayout || !CGroundDatabase::GetFacilityFootprint(pLayout->byFootprint, nWidth, nHeight))
        return false;
    for (int x = 0; x < CGroundDatabase::PLAN_WIDTH - nWidth; ++x)
        for (int y = 0; y < CGroundDatabase::PLAN_HEIGHT - nHeight; ++y) {
            if (ground.IsAreaOccupied(x, y, nWidth, nHeight,
                                      CGroundDatabase::AREA_PITCH_SURROUND | CGroundDatabase::AREA_INSIDE_PLAN,
                                      nullptr, nullptr))
                continue;
            if (!CGroundDatabase::CheckIfFacilityComponentNearRoad(x, y, x + nWidth, y + nHeight, nullptr))
                continue;
            nX = x;
            nY = y;
            return true;
        }
    return false;
}

CPopupGroundDevelopment::STANDCHOICE CPopupGroundDevelopment::StandChoiceOf(int nKind, const uint8_t* pData)
{
    STANDCHOICE c;
    c.nKind = nKind;
    if (!pData)
        return c;
    c.nOption = pData[STAND_QUALITY];
    c.nPosition = pData[STAND_SIDE];
    c.nSize = pData[STAND_SIZE];
    c.nRoof = pData[STAND_ROOF];
    for (int i = 0; i < 3; ++i)
        c.anParts[i] = pData[STAND_PARTS + i];
    return c;
}

// ---- the choice in hand ----

CGroundDatabase* CPopupGroundDevelopment::Ground() const { return m_pClub ? m_pClub->m_pGround : nullptr; }

CDate CPopupGroundDevelopment::Today() const
{
    const CDatabaseHandler* pDatabase = Database();
    return pDatabase ? pDatabase->GetGameDate() : CDate();
}

bool CPopupGroundDevelopment::IsOwnGround() const
{
    const CSaveGame* pHuman = popup_look::CurrentHuman();
    return m_pClub && pHuman && pHuman->GetClub() == m_pClub && m_pClub->m_byGroundOwnership != CLUB_GROUND_RENTED &&
           Ground();
}

bool CPopupGroundDevelopment::IsEditable() const { return IsOwnGround(); }

void CPopupGroundDevelopment::FreeArea()
{
    while (!m_lstArea.IsEmpty())
        delete static_cast<CGroundDatabase::AREACLASH*>(m_lstArea.RemoveHead());
}

bool CPopupGroundDevelopment::GetComponentAt(int nX, int nY)
{
    FreeArea();
    const CGroundDatabase* pGround = Ground();
    if (!pGround || nX < 0 || nY < 0)
        return false;
    pGround->GetComponentsInArea(nX, nY, 1, 1, false, m_lstArea);
    if (!m_lstArea.IsEmpty()) {
        const auto* pFirst = static_cast<const CGroundDatabase::AREACLASH*>(m_lstArea.GetHead()->pData);
        if (pFirst->nKind != CGroundDatabase::CLASH_PITCH && pFirst->nKind != CGroundDatabase::CLASH_ROAD)
            return true;
    }
    FreeArea();
    return false;
}

void CPopupGroundDevelopment::ScanArea(bool bSwitchPage, bool bFirstTime)
{
    m_nAreaFlags = 0;
    if (bFirstTime)
        m_nPages = 7;
    bool bComponent = false;
    for (LPXLISTNODE pNode = m_lstArea.GetHead(); pNode; pNode = pNode->pNext) {
        const auto* pRecord = static_cast<const CGroundDatabase::AREACLASH*>(pNode->pData);
        int nMainType = -1;
        if (pRecord->nKind == CGroundDatabase::CLASH_COMPONENT) {
            if (bComponent)
                DebugLog(1, "[CPopupGroundDevelopment::OnInitDialog] There seem to be two components at the same "
                            "position!");
            bComponent = true;
            m_nAreaFlags |= AREA_COMPONENT;
            nMainType = MainTypeOf(*pRecord);
        } else if (pRecord->nKind == CGroundDatabase::CLASH_SCHEDULE) {
            const auto* pSchedule = static_cast<const CComponentScheduleDatabase*>(pRecord->pItem);
            m_nAreaFlags |= AREA_SCHEDULE;
            switch (pSchedule->GetKind()) {
            case SCHEDULE_BUILD:
                m_nAreaFlags |= AREA_BUILD;
                nMainType = MainTypeOf(*pRecord);
                break;
            case SCHEDULE_IMPROVE: m_nAreaFlags |= AREA_IMPROVE; break;
            case SCHEDULE_DEMOLISH: m_nAreaFlags |= AREA_DEMOLISH; break;
            default: break;
            }
        }
        if (bFirstTime && nMainType >= 0 && nMainType < COMPONENT_MAIN_TYPES)
            m_nPages = static_cast<uint8_t>(1 << nMainType);
    }
    m_nPages &= 7;
    if (IsOwnGround())
        m_nPages |= 8;
    if (bSwitchPage)
        for (int nPage = PAGE_STAND; nPage <= PAGE_FEATURE; ++nPage)
            if (m_nPages & (1 << nPage)) {
                m_nPage = nPage;
                break;
            }
}

CComponentDatabase* CPopupGroundDevelopment::FindComponentInLinkedList() const
{
    if (!(m_nAreaFlags & AREA_COMPONENT))
        return nullptr;
    for (LPXLISTNODE pNode = m_lstArea.GetHead(); pNode; pNode = pNode->pNext) {
        const auto* pRecord = static_cast<const CGroundDatabase::AREACLASH*>(pNode->pData);
        if (pRecord->nKind == CGroundDatabase::CLASH_COMPONENT)
            return static_cast<CComponentDatabase*>(const_cast<void*>(pRecord->pItem));
    }
    DebugLog(1, "[CPopupGroundDevelopment::FindComponentInLinkedList] Could not find a component in the linked list, "
                "flags are corrupt!");
    return nullptr;
}

CComponentScheduleDatabase* CPopupGroundDevelopment::FindScheduleInList(int nKindMask) const
{
    for (LPXLISTNODE pNode = m_lstArea.GetHead(); pNode; pNode = pNode->pNext) {
        const auto* pRecord = static_cast<const CGroundDatabase::AREACLASH*>(pNode->pData);
        if (pRecord->nKind != CGroundDatabase::CLASH_SCHEDULE)
            continue;
        auto* pSchedule = static_cast<CComponentScheduleDatabase*>(const_cast<void*>(pRecord->pItem));
        if (nKindMask & (1 << pSchedule->GetKind()))
            return pSchedule;
    }
    return nullptr;
}

// ---- the window ----

CXComboBox* CPopupGroundDevelopment::Box(uint32_t dwID) const { return dynamic_cast<CXComboBox*>(FindControl(dwID)); }
CXEdit* CPopupGroundDevelopment::Edit(uint32_t dwID) const { return dynamic_cast<CXEdit*>(FindControl(dwID)); }
CXListBox* CPopupGroundDevelopment::ScheduleList() const
{
    return dynamic_cast<CXListBox*>(FindControl(ID_SCHEDULES));
}

void CPopupGroundDevelopment::ConstructScreen()
{
    popup_look::DrawFrameBelowTabs(*this, kTabStrip);
    popup_look::DrawClubColourBoxes(*this, m_pClub);
    if (m_nPage == PAGE_SCHEDULE) {
        popup_look::DrawLabels(m_pBackground, kScheduleLabels);
        m_pBackground->DrawRectOutline(plat::Rect{10, kGraphPanelTop, Width() - 10, kGraphPanelBottom});
        return;
    }
    popup_look::DrawLabels(m_pBackground, kPageLabels[m_nPage]);
    m_pBackground->FillGradient(kPreviewX, kPreviewY, kPreviewWidth, kPreviewHeight, kPanelColour, kPanelColour);
    m_pBackground->DrawRectOutline(
        plat::Rect{kPreviewX - 1, kPreviewY - 1, kPreviewX + kPreviewWidth + 1, kPreviewY + kPreviewHeight + 1});
}

void CPopupGroundDevelopment::OnPrint()
{
    PrintControl(ID_SCHEDULES);
    if (m_nPage == PAGE_SCHEDULE)
        PrintControl(ID_GRAPH);
}

bool CPopupGroundDevelopment::OnInitDialog()
{
    m_wScreenID = kScreenID;
    m_bFilling = true;
    ConstructScreen();
    CGamePopup::OnInitDialog();
    AddConfirmButton(kOkButtonID, CancelX());
    AddCloseButton(true, false);
    popup_look::LoadSmallFacesWithPrint(*this, m_pSmallFaces);
    // The page buttons stand right-aligned along the top as tabs.
    for (uint32_t i = 0; i < 4; ++i)
        if (auto* pButton = static_cast<CXButton*>(AddControlXYWH(
                XCONTROL_BUTTON, Width() - static_cast<int>(4 - i) * kTabStep, 0, kTabWidth, 26, ID_STAND_PAGE + i,
                nullptr))) {
            pButton->m_hFont = g_hSmallFont;
            pButton->SetTextID(g_pfnSharedBitmap ? g_pfnSharedBitmap("btnTog2.bmp") : nullptr, 0);
        }
    for (uint32_t dwID : {ID_BUILD, ID_CANCEL_WORK, ID_DEMOLISH})
        AddButton(dwID);
    if (auto* pTitle = static_cast<CXStatic*>(
            AddControlXYWH(XCONTROL_STATIC, 8, kTabStrip + 6, Width() - 54, 18, ID_TITLE, nullptr))) {
        pTitle->m_hFont = g_hSmallBoldFont;
        pTitle->m_crText = 0xFFFFFF;
        pTitle->m_bFrame = 0;
        pTitle->SetText("%s", GetTableTextOrEmpty(113, kCaptionItem));
    }
    auto* pListBar = static_cast<CXScrollBar*>(AddControlXYWH(XCONTROL_SCROLLBAR, 10, 20, 14, 30, 901, nullptr));
    if (pListBar)
        pListBar->Create(885, 886, kRowHeight, false, 0);
    if (auto* pList = static_cast<CXListBox*>(
            AddControl(XCONTROL_LISTBOX, 8, 310, Width() - 8, 396, ID_SCHEDULES, nullptr))) {
        pList->SetUp(kRowHeight, 4, g_hSmallFont, 3, true, pListBar, true, nullptr, true, 0, false, true, false);
        pList->SetUpColumns(8, 310, Width() - 8, 396, kScheduleColumns, false, false, 86, false);
        pList->SetAutoRedraw(true);
    }
    using popup_look::AddDropDown;
    using popup_look::TextColumn;
    auto* pDateBar = static_cast<CXScrollBar*>(AddControlXYWH(XCONTROL_SCROLLBAR, 10, 20, 14, 30, 902, nullptr));
    if (pDateBar)
        pDateBar->Create(887, 888, kRowHeight, false, 0);
    auto* pChoiceBar = static_cast<CXScrollBar*>(AddControlXYWH(XCONTROL_SCROLLBAR, 10, 20, 14, 30, 903, nullptr));
    if (pChoiceBar)
        pChoiceBar->Create(889, 890, kRowHeight, false, 0);
    AddDropDown(*this, ID_CHOICE, 90, kTabStrip + 64, 190, kTabStrip + 192, TextColumn(100), pChoiceBar);
    AddDropDown(*this, ID_STAND_KIND, 90, kTabStrip + 98, 190, kTabStrip + 162);
    AddDropDown(*this, ID_SIZE, 280, kTabStrip + 64, 340, kTabStrip + 128);
    AddDropDown(*this, ID_OPTION, 90, kTabStrip + 132, 190, kTabStrip + 180);
    AddDropDown(*this, ID_ROOF, 90, kTabStrip + 166, 190, kTabStrip + 230);
    AddDropDown(*this, ID_START_DATE, 90, kTabStrip + 58, 170, kTabStrip + 250, TextColumn(80), pDateBar);
    const int anEditY[3] = {98, 132, 166};
    for (int i = 0; i < 3; ++i)
        popup_look::AddNumberEdit(*this, kPartEdits[i], 280, kTabStrip + anEditY[i], 30, false, 2,
                                  909 + 2 * static_cast<uint32_t>(i), 910 + 2 * static_cast<uint32_t>(i), 1, 0, 100);
    popup_look::AddValueLabel(*this, ID_COST, 90, kTabStrip + 234, 70);
    popup_look::AddValueLabel(*this, ID_WEEKS, 470, kTabStrip + 234, 50);
    popup_look::AddValueLabel(*this, ID_MAINTENANCE, 280, kTabStrip + 234, 70);
    popup_look::AddValueLabel(*this, ID_OLD_CAPACITY, 90, kTabStrip + 200, 70);
    popup_look::AddValueLabel(*this, ID_NEW_CAPACITY, 280, kTabStrip + 200, 70);
    if (auto* pGraph = static_cast<CXGraph*>(AddControl(XCONTROL_GRAPH, 45, kGraphPanelTop + 10, Width() - 45,
                                                         kGraphPanelBottom - 20, ID_GRAPH, nullptr))) {
        CXSurface* pToggleFace = g_pfnSharedBitmap ? g_pfnSharedBitmap("btnTog2.bmp") : nullptr;
        const struct {
            uint32_t dwID;
            int x, nLine;
        } toggles[] = {{ID_BALANCE_LINE, 8, LINE_BALANCE}, {ID_WORK_LINE, 98, LINE_WORK}};
        for (const auto& toggle : toggles)
            if (auto* pButton = static_cast<CXButton*>(
                    AddControlXYWH(XCONTROL_BUTTON, toggle.x, Height() - 32, 84, 26, toggle.dwID, nullptr))) {
                pButton->m_hFont = g_hSmallFont;
                pButton->SetToggleTextID(pToggleFace, 0, pGraph, toggle.nLine, 0);
                pButton->SetChecked(1);
            }
    }
    SetUpPreview();
    ScanArea(true, true);
    m_bFilling = false;
    ShowPage(m_nPage);
    return true;
}

void CPopupGroundDevelopment::OnDestroy()
{
    // However the popup closes (Escape too), no unwanted work stays behind:
    // the wanted mark is not kept in a saved game.
    DropUnconfirmed();
    ReleasePreview();
    FreeArea();
    CGamePopup::OnDestroy();
}

void CPopupGroundDevelopment::OnPaint()
{
    CGamePopup::OnPaint();
    if (m_nPage != PAGE_SCHEDULE)
        DrawPreview();
}

void CPopupGroundDevelopment::ShowPage(int nPage)
{
    m_nPage = nPage;
    ShowAllControls(false);
    ConstructScreen();
    RestoreBackground(0, 0, Width(), Height());
    m_bFilling = true;
    if (CXListBox* pList = ScheduleList()) {
        // The list sits lower on the building pages, higher on the schedule page.
        const int nTop = nPage == PAGE_SCHEDULE ? kScheduleListTop : 310;
        const int nBottom = nPage == PAGE_SCHEDULE ? kScheduleListBottom : 396;
        pList->SetUpColumns(8, nTop, Width() - 8, nBottom, kScheduleColumns, false, false, nBottom - nTop, false);
        pList->SetAutoRedraw(true);
    }
    // The size and option boxes stand elsewhere on the facility and feature pages.
    const auto place = [](CXComboBox* pBox, int x, int y, int nWidth, int nDropHeight) {
        if (!pBox)
            return;
        pBox->Move(x, y, nWidth, pBox->Height(), false);
        pBox->m_rcDropDown = {x, y, x + nWidth, y + nDropHeight};
    };
    if (nPage == PAGE_FACILITY)
        place(Box(ID_SIZE), 90, kTabStrip + 98, 60, 64);
    else
        place(Box(ID_SIZE), 280, kTabStrip + 64, 60, 64);
    if (nPage == PAGE_FEATURE)
        place(Box(ID_OPTION), 90, kTabStrip + 98, 100, 48);
    else
        place(Box(ID_OPTION), 90, kTabStrip + 132, 100, 48);
    switch (nPage) {
    case PAGE_STAND: FillStandPage(); break;
    case PAGE_FACILITY: FillFacilityPage(); break;
    case PAGE_FEATURE: FillFeaturePage(); break;
    default: break;
    }
    FillScheduleList();
    EnableBatch(kBatches[nPage], true);
    for (uint32_t i = 0; i < 4; ++i)
        if (auto* pButton = dynamic_cast<CXButton*>(FindControl(ID_STAND_PAGE + i))) {
            pButton->Show(true, false);
            pButton->Enable(!(m_nPages & (1u << i)) || static_cast<int>(i) == nPage);
        }
    if (nPage == PAGE_SCHEDULE) {
        FillStartDates();
        UpdateGraph();
    }
    // Only the owner's own ground takes changes: elsewhere the choices only show.
    const bool bEditable = IsOwnGround();
    for (uint32_t dwID : {ID_CHOICE, ID_STAND_KIND, ID_SIZE, ID_OPTION, ID_ROOF})
        if (CXComboBox* pBox = Box(dwID); pBox && pBox->m_bVisible) {
            pBox->m_bNoDropDown = bEditable ? 0 : 1;
            if (CXButton* pArrow = pBox->ArrowButton())
                pArrow->Enable(!bEditable);
        }
    for (uint32_t dwID : kPartEdits)
        if (CXEdit* pEdit = Edit(dwID))
            pEdit->m_bNotify = 1;
    m_bFilling = false;
    if (nPage == PAGE_STAND)
        UpdatePartRanges(!(m_nAreaFlags & (AREA_COMPONENT | AREA_SCHEDULE)));
    UpdateCost();
    UpdateButtons();
}

void CPopupGroundDevelopment::FillStandPage()
{
    CXComboBox* pPosition = Box(ID_CHOICE);
    CXComboBox* pKind = Box(ID_STAND_KIND);
    CXComboBox* pOption = Box(ID_OPTION);
    CXComboBox* pRoof = Box(ID_ROOF);
    if (!pPosition || !pKind || !pOption || !pRoof)
        return;
    for (CXComboBox* pBox : {pPosition, pKind, pOption, pRoof})
        pBox->ResetContent();
    for (int i = 0; i < kPositions; ++i)
        popup_look::AddRow(pPosition, kPositionSet, i, static_cast<uint32_t>(i));
    for (int i = 0; i < kStandKinds; ++i)
        popup_look::AddRow(pKind, kStandKindSet, i, static_cast<uint32_t>(i));
    for (int i = 0; i < 3; ++i)
        popup_look::AddRow(pOption, kStandardSet, i, static_cast<uint32_t>(i));
    for (int i = 0; i < kRoofs; ++i)
        popup_look::AddRow(pRoof, kRoofSet, i, static_cast<uint32_t>(i));
    // The place of the stand or planned stand in hand, else the first.
    int nPosition = 0;
    const CComponentScheduleDatabase* pBuild = FindScheduleInList(1);
    const CComponentDatabase* pComponent = FindComponentInLinkedList();
    const uint8_t* pData = pBuild ? pBuild->GetComponentData() : pComponent ? pComponent->GetSpecificData() : nullptr;
    if (pData && ((pBuild && pBuild->GetComponentMainType() == COMPONENT_STAND) ||
                  (pComponent && pComponent->IsStand())))
        nPosition = pData[STAND_SIDE] % kPositions;
    for (CXComboBox* pBox : {pKind, pOption, pRoof})
        pBox->SetCurSel(0);
    pPosition->SetCurSel(nPosition);
    FillSizes();
    DoUpdateStadiumDisplay();
}

void CPopupGroundDevelopment::FillSizes()
{
    CXComboBox* pSize = Box(ID_SIZE);
    if (!pSize)
        return;
    const uint32_t dwKept = popup_look::SelectedValue(pSize, 0);
    pSize->ResetContent();
    if (m_nPage == PAGE_STAND) {
        // The sizes the tables hold for the kind, named from the largest
        // down: the two- and three-tier stands come in the larger two only.
        const int nKind = static_cast<int>(popup_look::SelectedValue(Box(ID_STAND_KIND), 0));
        const int nPosition = static_cast<int>(popup_look::SelectedValue(Box(ID_CHOICE), 0));
        std::vector<int> sizes;
        if (const CDatabaseHandler* pDatabase = Database())
            for (int nSize = 0; nSize < kStandSizes; ++nSize)
                if (pDatabase->GetStandTableRecord(nPosition, nKind, nSize, 0))
                    sizes.push_back(nSize);
        const int nFirstItem = std::max(0, kSizeNames - static_cast<int>(sizes.size()));
        for (size_t i = 0; i < sizes.size(); ++i)
            popup_look::AddRow(pSize, kSizeSet, std::min(kSizeNames - 1, nFirstItem + static_cast<int>(i)),
                               static_cast<uint32_t>(sizes[i]));
    } else {
        const int nKind = static_cast<int>(popup_look::SelectedValue(Box(ID_CHOICE), kFirstFacility));
        const CComponentScheduleDatabase* pBuild = FindScheduleInList(1);
        const CComponentDatabase* pComponent = FindComponentInLinkedList();
        const uint8_t* pData = pBuild ? pBuild->GetComponentData() : pComponent ? pComponent->GetSpecificData()
                                                                                : nullptr;
        for (int nSize = 0; nSize < 3; ++nSize) {
            if (!CDatabaseHandler::GetFacilityComponentTableRecordFromTypeAndSize(nKind, nSize))
                continue;
            if (pData && pData[FACILITY_KIND] != nSize)
                continue;
            popup_look::AddRow(pSize, kSizeSet, nSize, static_cast<uint32_t>(nSize));
        }
    }
    if (!popup_look::SelectValue(pSize, dwKept) && pSize->GetCount() > 0)
        pSize->SetCurSel(0);
    pSize->Redraw();
}

void CPopupGroundDevelopment::FillFacilityPage()
{
    CXComboBox* pKind = Box(ID_CHOICE);
    if (!pKind)
        return;
    pKind->ResetContent();
    const CComponentScheduleDatabase* pBuild = FindScheduleInList(1);
    const CComponentDatabase* pComponent = FindComponentInLinkedList();
    const int nInHand = pBuild ? pBuild->GetComponentSubType() : pComponent ? pComponent->GetSubType() : -1;
    for (int nKind = kFirstFacility; nKind <= kLastFacility; ++nKind)
        if (nInHand < 0 || nInHand == nKind)
            popup_look::AddRow(pKind, kFacilitySet, nKind - kFirstFacility, static_cast<uint32_t>(nKind));
    if (pKind->GetCount() > 0)
        pKind->SetCurSel(0);
    FillSizes();
}

void CPopupGroundDevelopment::FillFeaturePage()
{
    CXComboBox* pKind = Box(ID_CHOICE);
    if (!pKind)
        return;
    pKind->ResetContent();
    for (int nKind = kFirstFeature; nKind <= kLastFeature; ++nKind)
        popup_look::AddRow(pKind, kFeatureSet, nKind - kFirstFeature, static_cast<uint32_t>(nKind));
    int nRow = 0;
    const CComponentScheduleDatabase* pBuild = FindScheduleInList(1);
    const CComponentDatabase* pComponent = FindComponentInLinkedList();
    if (pBuild && pBuild->GetComponentMainType() == COMPONENT_PITCH_ITEM)
        nRow = pBuild->GetComponentSubType() - kFirstFeature;
    else if (pComponent && pComponent->GetMainType() == COMPONENT_PITCH_ITEM)
        nRow = pComponent->GetSubType() - kFirstFeature;
    pKind->SetCurSel(std::clamp(nRow, 0, kLastFeature - kFirstFeature));
    SelectFeature();
    FillFeatureOptions();
}

void CPopupGroundDevelopment::FillFeatureOptions()
{
    CXComboBox* pOption = Box(ID_OPTION);
    const CDatabaseHandler* pDatabase = Database();
    if (!pOption || !pDatabase)
        return;
    const int nKind = static_cast<int>(popup_look::SelectedValue(Box(ID_CHOICE), kFirstFeature));
    pOption->ResetContent();
    for (int nOption = 0; nOption < 4; ++nOption)
        if (pDatabase->GetExtraFacilityTableRecord(nKind, nOption))
            popup_look::AddRow(pOption, kFeatureOptionSets[nKind - kFirstFeature], nOption,
                               static_cast<uint32_t>(nOption));
    // The option built or planned, else the first one.
    int nOption = 0;
    if (const CComponentScheduleDatabase* pSchedule = FindScheduleInList(3))
        nOption = pSchedule->GetComponentData()[0];
    else if (const CComponentDatabase* pComponent = FindComponentInLinkedList())
        nOption = pComponent->GetSpecificData()[0];
    if (!popup_look::SelectValue(pOption, static_cast<uint32_t>(nOption)) && pOption->GetCount() > 0)
        pOption->SetCurSel(0);
    pOption->Redraw();
}

void CPopupGroundDevelopment::SelectFeature()
{
    FreeArea();
    const CGroundDatabase* pGround = Ground();
    const int nKind = static_cast<int>(popup_look::SelectedValue(Box(ID_CHOICE), kFirstFeature));
    if (pGround) {
        for (const CComponentDatabase* p : pGround->GetComponents().Items<CComponentDatabase>())
            if (p->IsFinished() && p->GetMainType() == COMPONENT_PITCH_ITEM && p->GetSubType() == nKind) {
                m_lstArea.AddTail(new CGroundDatabase::AREACLASH{CGroundDatabase::CLASH_COMPONENT, p});
                break;
            }
        const CDate today = Today();
        for (const CComponentScheduleDatabase* p : pGround->GetSchedules().Items<CComponentScheduleDatabase>())
            if (!p->HasDurationElapsed(today) && p->GetComponentMainType() == COMPONENT_PITCH_ITEM &&
                p->GetComponentSubType() == nKind) {
                m_lstArea.AddTail(new CGroundDatabase::AREACLASH{CGroundDatabase::CLASH_SCHEDULE, p});
                break;
            }
    }
    ScanArea(false, false);
}

void CPopupGroundDevelopment::DoUpdateStadiumDisplay()
{
    FreeArea();
    const int nPosition = static_cast<int>(popup_look::SelectedValue(Box(ID_CHOICE), 0));
    int nX = 0, nY = 0;
    if (CDatabaseHandler::GetStadiumPositionCell(nPosition, nX, nY))
        GetComponentAt(nX, nY);
    ScanArea(false, false);
    const CComponentDatabase* pStand = nullptr;
    const CComponentScheduleDatabase* pLast = nullptr;
    for (LPXLISTNODE pNode = m_lstArea.GetHead(); pNode; pNode = pNode->pNext) {
        const auto* pRecord = static_cast<const CGroundDatabase::AREACLASH*>(pNode->pData);
        if (pRecord->nKind == CGroundDatabase::CLASH_COMPONENT) {
            if (pStand)
                DebugLog(1, "[CPopupGroundDevelopment::DoUpdateStadiumDisplay] Found two stadiums at the same "
                            "position!");
            pStand = static_cast<const CComponentDatabase*>(pRecord->pItem);
        } else if (pRecord->nKind == CGroundDatabase::CLASH_SCHEDULE) {
            pLast = static_cast<const CComponentScheduleDatabase*>(pRecord->pItem);
            if (pLast->GetKind() == SCHEDULE_BUILD && !pStand)
                pStand = pLast->GetComponent();
        }
    }
    if (!pStand && !pLast)
        return;
    int nKind = pStand ? pStand->GetSubType() : 0;
    const uint8_t* pData = pStand ? pStand->GetSpecificData() : nullptr;
    if (pLast && (pLast->GetKind() == SCHEDULE_BUILD || pLast->GetKind() == SCHEDULE_IMPROVE)) {
        pData = pLast->GetComponentData();
        nKind = pLast->GetComponentSubType();
    }
    if (!pData)
        return;
    const STANDCHOICE c = StandChoiceOf(nKind, pData);
    const bool bFilling = m_bFilling;
    m_bFilling = true;
    popup_look::SelectValue(Box(ID_STAND_KIND), static_cast<uint32_t>(c.nKind));
    popup_look::SelectValue(Box(ID_OPTION), static_cast<uint32_t>(c.nOption));
    FillSizes();
    popup_look::SelectValue(Box(ID_SIZE), static_cast<uint32_t>(c.nSize));
    popup_look::SelectValue(Box(ID_ROOF), static_cast<uint32_t>(c.nRoof));
    for (int i = 0; i < 3; ++i)
        if (CXEdit* pEdit = Edit(kPartEdits[i]))
            pEdit->SetText("%d", c.anParts[i]);
    m_bFilling = bFilling;
}

CPopupGroundDevelopment::STANDCHOICE CPopupGroundDevelopment::CurrentStandChoice() const
{
    STANDCHOICE c;
    c.nPosition = static_cast<int>(popup_look::SelectedValue(Box(ID_CHOICE), 0));
    c.nKind = static_cast<int>(popup_look::SelectedValue(Box(ID_STAND_KIND), 0));
    c.nSize = static_cast<int>(popup_look::SelectedValue(Box(ID_SIZE), 0));
    c.nOption = static_cast<int>(popup_look::SelectedValue(Box(ID_OPTION), 0));
    c.nRoof = static_cast<int>(popup_look::SelectedValue(Box(ID_ROOF), 0));
    for (int i = 0; i < 3; ++i) {
        const CXEdit* pEdit = Edit(kPartEdits[i]);
        c.anParts[i] = pEdit ? std::clamp(pEdit->ReadNumber(), 0, 100) : 0;
    }
    return c;
}

// ---- figures shown ----

void CPopupGroundDevelopment::ShowFigures(const FIGURES& f, bool bCapacity, int nOldCapacity)
{
    SetMoneyText(dynamic_cast<CXStatic*>(FindControl(ID_COST)), static_cast<double>(f.nCost), MONEY_AS_STORED);
    if (auto* pWeeks = dynamic_cast<CXStatic*>(FindControl(ID_WEEKS)))
        pWeeks->SetText("%d", f.nWeeks);
    SetMoneyText(dynamic_cast<CXStatic*>(FindControl(ID_MAINTENANCE)), static_cast<double>(f.nMonthlyMaintenance * 12),
                 MONEY_AS_STORED);
    if (!bCapacity)
        return;
    if (auto* pOld = dynamic_cast<CXStatic*>(FindControl(ID_OLD_CAPACITY)))
        pOld->SetText("%s", FormatThousands(nOldCapacity));
    if (auto* pNew = dynamic_cast<CXStatic*>(FindControl(ID_NEW_CAPACITY)))
        pNew->SetText("%s", FormatThousands(f.nCapacity));
}

void CPopupGroundDevelopment::UpdateCost()
{
    m_pStandRow = nullptr;
    m_pRoofRow = nullptr;
    m_pFacilityRow = nullptr;
    switch (m_nPage) {
    case PAGE_STAND: UpdateStandCost(); break;
    case PAGE_FACILITY: UpdateFacilityCost(); break;
    case PAGE_FEATURE: UpdateFeatureCost(); break;
    default: return;
    }
    RebuildPreview();
}

void CPopupGroundDevelopment::UpdateStandCost()
{
    const CDatabaseHandler* pDatabase = Database();
    if (!pDatabase)
        return;
    const STANDCHOICE c = CurrentStandChoice();
    m_pStandRow = pDatabase->GetStandTableRecord(c.nPosition, c.nKind, c.nSize, c.nOption);
    m_pRoofRow = c.nRoof ? pDatabase->GetStandAdjustmentTableRecord(c.nPosition, c.nKind, c.nSize, c.nRoof - 1)
                         : nullptr;
    const CComponentDatabase* pStand = FindComponentInLinkedList();
    if (pStand && pStand->IsStand()) {
        const STANDCHOICE from = StandChoiceOf(pStand->GetSubType(), pStand->GetSpecificData());
        ShowFigures(StandImprovementFigures(*pDatabase, from, c), true, pStand->GetStandSeats());
    } else {
        ShowFigures(NewStandFigures(*pDatabase, c), true, 0);
    }
}

void CPopupGroundDevelopment::UpdatePartRanges(bool bFresh)
{
    const CDatabaseHandler* pDatabase = Database();
    if (!pDatabase)
        return;
    const STANDCHOICE c = CurrentStandChoice();
    const bool bFilling = m_bFilling;
    m_bFilling = true;
    for (int nPart = 0; nPart < 3; ++nPart) {
        CXEdit* pEdit = Edit(kPartEdits[nPart]);
        if (!pEdit)
            continue;
        const STANDPARTTABLERECORD* pRow = pDatabase->GetStandPartTableRecord(c.nPosition, c.nKind, c.nSize, nPart);
        const int nMinimum = pRow ? pRow->byMinimumCount : 0, nMaximum = pRow ? pRow->byMaximumCount : 0;
        pEdit->SetNumericRange(true, nMinimum, nMaximum);
        const int nValue = bFresh ? nMinimum : std::clamp(c.anParts[nPart], nMinimum, nMaximum);
        if (bFresh || nValue != c.anParts[nPart])
            pEdit->SetText("%d", nValue);
    }
    m_bFilling = bFilling;
}

void CPopupGroundDevelopment::UpdateFacilityCost()
{
    const CDatabaseHandler* pDatabase = Database();
    if (!pDatabase)
        return;
    const int nKind = static_cast<int>(popup_look::SelectedValue(Box(ID_CHOICE), kFirstFacility));
    const int nSize = static_cast<int>(popup_look::SelectedValue(Box(ID_SIZE), 0));
    m_pFacilityRow = pDatabase->GetFacilityTableRecord(nKind, nSize);
    ShowFigures(RowFigures(m_pFacilityRow), false, 0);
}

void CPopupGroundDevelopment::UpdateFeatureCost()
{
    const CDatabaseHandler* pDatabase = Database();
    if (!pDatabase)
        return;
    const int nKind = static_cast<int>(popup_look::SelectedValue(Box(ID_CHOICE), kFirstFeature));
    const int nOption = static_cast<int>(popup_look::SelectedValue(Box(ID_OPTION), 0));
    m_pFacilityRow = pDatabase->GetExtraFacilityTableRecord(nKind, nOption);
    FIGURES f = RowFigures(m_pFacilityRow);
    if (const CComponentDatabase* pBuilt = FindComponentInLinkedList()) {
        if (const FACILITYTABLERECORD* pOld =
                pDatabase->GetExtraFacilityTableRecord(pBuilt->GetSubType(), pBuilt->GetSpecificData()[0])) {
            f.nCost -= pOld->dwCost;
            f.nWeeks -= static_cast<int>(pOld->dwBuildWeeks);
        }
        if (f.nCost <= 0) {
            f.nCost = 0;
            f.nWeeks = 0;
        } else {
            f.nWeeks = std::max(kMinimumWeeks, f.nWeeks);
        }
    }
    ShowFigures(f, false, 0);
}

void CPopupGroundDevelopment::UpdateButtons()
{
    const bool bEditable = IsOwnGround();
    const CDate today = Today();
    bool bBuild = false, bDemolish = false;
    if (bEditable && m_nPage != PAGE_SCHEDULE) {
        const bool bComponent = m_nAreaFlags & AREA_COMPONENT;
        const bool bSchedule = m_nAreaFlags & AREA_SCHEDULE;
        if (m_nPage == PAGE_FACILITY) {
            const CComponentScheduleDatabase* pBuild = FindScheduleInList(1);
            bBuild = !bComponent && !bSchedule;
            bDemolish = (pBuild && pBuild->IsDue(today) && !(m_nAreaFlags & AREA_DEMOLISH)) ||
                        (bComponent && !bSchedule);
        } else {
            const CComponentScheduleDatabase* pWork = FindScheduleInList(3);
            bBuild = !bSchedule || (pWork && !pWork->IsDue(today));
            bDemolish = bComponent && !(m_nAreaFlags & AREA_DEMOLISH);
        }
    }
    const CComponentScheduleDatabase* pSelected = SelectedSchedule();
    const bool bCancel =
        bEditable && m_nPage != PAGE_SCHEDULE && pSelected && !(pSelected->GetStartDate() < today);
    const struct {
        uint32_t dwID;
        bool bShow;
    } buttons[] = {{ID_BUILD, bBuild}, {ID_CANCEL_WORK, bCancel}, {ID_DEMOLISH, bDemolish}};
    for (const auto& b : buttons)
        if (CXControl* pButton = FindControl(b.dwID))
            pButton->Show(b.bShow, true);
    if (CXComboBox* pDate = Box(ID_START_DATE)) {
        const bool bMovable = bEditable && m_nPage == PAGE_SCHEDULE && pSelected &&
                              pSelected->GetComponentMainType() != COMPONENT_PITCH_ITEM &&
                              !(pSelected->GetStartDate() < today);
        pDate->Show(bMovable, true);
    }
}

// ---- the schedule list ----

void CPopupGroundDevelopment::FillScheduleList()
{
    CXListBox* pList = ScheduleList();
    const CGroundDatabase* pGround = Ground();
    if (!pList)
        return;
    pList->ResetContent();
    if (!pGround)
        return;
    const CDate today = Today();
    int nIndex = -1;
    for (const CComponentScheduleDatabase* p : pGround->GetSchedules().Items<CComponentScheduleDatabase>()) {
        ++nIndex;
        if (p->HasDurationElapsed(today))
            continue;
        const uint8_t* pData = p->GetAssociatedComponentSpecificData();
        char szName[96] = {};
        const int nMainType = p->GetComponentMainType();
        if (nMainType == COMPONENT_STAND && pData)
            std::snprintf(szName, sizeof szName, "%s %s", GetTableTextOrEmpty(kPositionSet, pData[STAND_SIDE]),
                          GetTableTextOrEmpty(kStandKindSet, p->GetComponentSubType()));
        else if (nMainType == COMPONENT_FACILITY)
            std::snprintf(szName, sizeof szName, "%s",
                          GetTableTextOrEmpty(kFacilitySet, p->GetComponentSubType() - kFirstFacility));
        else
            std::snprintf(szName, sizeof szName, "%s",
                          GetTableTextOrEmpty(kFeatureSet, p->GetComponentSubType() - kFirstFeature));
        int nAction = 4;
        if (p->GetKind() == SCHEDULE_BUILD)
            nAction = p->IsDue(today) ? 1 : 2;
        else if (p->GetKind() == SCHEDULE_IMPROVE)
            nAction = 3;
        const int nDays = std::max(0, today.DaysBetween(p->GetStartDate()));
        const int nSpan = p->GetDuration() * 7;
        const int nPercent = nSpan > 0 ? std::min(100, nDays * 100 / nSpan) : 100;
        const std::string start = FormatPackedDate(p->GetStartDate().GetValue());
        const std::string initial = FormatMoney(p->GetComponentInitialCost(), 0, 0, MONEY_AS_STORED, 0, 1);
        const std::string monthly = FormatMoney(p->GetComponentMonthlyCost(), 0, 0, MONEY_AS_STORED, 0, 1);
        const std::string final = FormatMoney(p->GetExtraCost(), 0, 0, MONEY_AS_STORED, 0, 1);
        const std::string total =
            FormatMoney(static_cast<double>(CGroundDatabase::GetScheduleCost(*p)), 0, 0, MONEY_AS_STORED, 0, 1);
        const std::string upkeep =
            FormatMoney(static_cast<double>(p->GetComponentMaintenanceCost()) * 12, 0, 0, MONEY_AS_STORED, 0, 1);
        const int nRow = pList->AddString(kRowColour, "%s\t%s\t%s\t%d\t%s\t%s\t%s\t%s\t%s\t%s", szName,
                                          GetTableTextOrEmpty(kActionSet, nAction), start.c_str(), nPercent,
                                          initial.c_str(), monthly.c_str(), final.c_str(), total.c_str(),
                                          upkeep.c_str(), GetTableTextOrEmpty(kMarkSet, p->IsActive() ? 0 : 1));
        pList->SetItemData(nRow, static_cast<uint32_t>(nIndex));
    }
    pList->Redraw();
}

CComponentScheduleDatabase* CPopupGroundDevelopment::SelectedSchedule() const
{
    const CXListBox* pList = ScheduleList();
    const CGroundDatabase* pGround = Ground();
    const int nRow = pList ? pList->GetSelection() : -1;
    if (!pGround || nRow < 0 || nRow >= pList->GetCount())
        return nullptr;
    const int64_t nIndex = pList->GetItemData(nRow);
    LPXLISTNODE pNode = pGround->GetSchedules().GetHead();
    for (int64_t i = 0; pNode && i < nIndex; ++i)
        pNode = pNode->pNext;
    return pNode ? static_cast<CComponentScheduleDatabase*>(pNode->pData) : nullptr;
}

void CPopupGroundDevelopment::FillStartDates()
{
    CXComboBox* pDate = Box(ID_START_DATE);
    if (!pDate)
        return;
    pDate->ResetContent();
    const CDate first(Today().GetValue(), kNoticeDays);
    for (int i = 0; i < kStartDates; ++i) {
        const CDate day(first.GetValue(), 7 * i);
        popup_look::AddTextRow(pDate, FormatPackedDate(day.GetValue()), day.GetValue());
    }
    if (const CComponentScheduleDatabase* pSelected = SelectedSchedule())
        popup_look::SelectValue(pDate, pSelected->GetStartDate().GetValue());
}

void CPopupGroundDevelopment::ToggleConfirmed(int nRow)
{
    CComponentScheduleDatabase* pSchedule = SelectedSchedule();
    if (!pSchedule || !IsOwnGround() || pSchedule->GetStartDate() < Today())
        return;
    pSchedule->SetActive(!pSchedule->IsActive());
    if (CXListBox* pList = ScheduleList()) {
        pList->SetColumnText(nRow, kConfirmedColumn, GetTableTextOrEmpty(kMarkSet, pSchedule->IsActive() ? 0 : 1));
        pList->RedrawRow(nRow, true);
    }
    UpdateGraph();
}

std::vector<int64_t> CPopupGroundDevelopment::BalancesAfterWork(const std::vector<int32_t>& balances,
                                                                const CGroundDatabase& ground, const CDate& today)
{
    std::vector<int64_t> line;
    if (balances.empty())
        return line;
    const auto monthIndex = [](const CDate& d) { return d.GetYear() * 12 + d.GetMonth() - 1; };
    const int nFirst = monthIndex(today);
    line.push_back(balances[0]);
    for (size_t i = 1; i < balances.size(); ++i) {
        const int nMonth = nFirst + static_cast<int>(i);
        int64_t nPaid = 0;
        for (const CComponentScheduleDatabase* p : ground.GetSchedules().Items<CComponentScheduleDatabase>()) {
            if (!p->IsActive() || p->HasDurationElapsed(today))
                continue;
            const int nStart = monthIndex(p->GetStartDate()), nEnd = monthIndex(p->GetEndDate());
            if (nMonth == nStart)
                nPaid += p->GetKind() == SCHEDULE_DEMOLISH ? 0 : p->GetComponentInitialCost();
            if (nMonth >= nStart && nMonth <= nEnd && p->GetKind() != SCHEDULE_DEMOLISH)
                nPaid += p->GetComponentMonthlyCost();
            if (nMonth == nEnd)
                nPaid += p->GetExtraCost();
            if (nMonth > nEnd && p->GetKind() != SCHEDULE_DEMOLISH)
                nPaid += p->GetComponentMaintenanceCost();
        }
        line.push_back(line.back() + balances[i] - balances[i - 1] - nPaid);
    }
    return line;
}

void CPopupGroundDevelopment::UpdateGraph()
{
    auto* pGraph = dynamic_cast<CXGraph*>(FindControl(ID_GRAPH));
    const CSaveGame* pHuman = popup_look::CurrentHuman();
    const CGroundDatabase* pGround = Ground();
    if (!pGraph || !pHuman || !pGround || m_nPage != PAGE_SCHEDULE)
        return;
    RestoreBackground(pGraph->m_nLeft, pGraph->m_nTop, pGraph->Width(), pGraph->Height());
    pGraph->Clear();
    pGraph->SetUp(GRAPH_ITEM_LABELS | GRAPH_ITEM_LABELS_BY_DIVISION | GRAPH_LEFT_CURRENCY | GRAPH_LEFT_ZERO_LINE,
                  kAxisColour, kAxisColour, 0.0, kAxisColour, 0);
    const std::vector<int32_t> balances =
        CFinanceMonthFile::ReadProjectedBalances(pHuman->GetProjectedFinanceFileName());
    const CDate today = Today();
    const std::vector<int64_t> work = BalancesAfterWork(balances, *pGround, today);
    const int nPoints = std::max(2, static_cast<int>(balances.size()));
    pGraph->SetXAxis(nPoints, 1, 0, nPoints);
    pGraph->SetUpLine(GRAPH_SERIES_BY_DIVISION, LINE_BALANCE, 2, kBalanceColour, GRAPH_LINE, true, false, 0.0, 0);
    pGraph->SetUpLine(GRAPH_SERIES_BY_DIVISION, LINE_WORK, 2, kWorkColour, GRAPH_LINE, true, false, 0.0, 0);
    for (int i = 0; i < kGraphMonths && i < nPoints; ++i)
        pGraph->SetItemLabel(i, GetTableTextOrEmpty(kShortMonthSet, (today.GetMonth() - 1 + i) % 12));
    double dLowest = 0.0, dHighest = 0.0;
    bool bFirst = true;
    auto add = [&](int nLine, double dValue) {
        pGraph->AddValue(nLine, dValue);
        dLowest = bFirst ? dValue : std::min(dLowest, dValue);
        dHighest = bFirst ? dValue : std::max(dHighest, dValue);
        bFirst = false;
    };
    for (size_t i = 0; i < balances.size(); ++i) {
        add(LINE_BALANCE, balances[i]);
        add(LINE_WORK, static_cast<double>(work[i]));
    }
    pGraph->SetYRange(static_cast<int>(dLowest), static_cast<int>(std::max(dHighest, dLowest + 1.0)), 0, 100, false,
                      true, false);
    for (const auto& [dwToggle, nLine] : {std::pair{ID_BALANCE_LINE, LINE_BALANCE}, {ID_WORK_LINE, LINE_WORK}}) {
        const auto* pToggle = dynamic_cast<CXButton*>(FindControl(dwToggle));
        pGraph->SetSeriesHidden(nLine, pToggle && !pToggle->m_bChecked);
    }
    pGraph->Draw();
    pGraph->Show(true, true);
}

void CPopupGroundDevelopment::DropUnconfirmed()
{
    CGroundDatabase* pGround = Ground();
    if (!pGround)
        return;
    FreeArea();
    std::vector<CComponentScheduleDatabase*> unwanted;
    for (CComponentScheduleDatabase* p : pGround->GetSchedules().Items<CComponentScheduleDatabase>())
        if (!p->IsActive())
            unwanted.push_back(p);
    for (CComponentScheduleDatabase* p : unwanted)
        pGround->RemoveComponentSchedule(p);
}

// ---- building ----

CComponentScheduleDatabase* CPopupGroundDevelopment::Rebook(CComponentScheduleDatabase* pSchedule)
{
    CGroundDatabase* pGround = Ground();
    if (!pGround || !pSchedule)
        return pSchedule;
    // The booked payment and completion events follow the work's new dates
    // and length: the schedule is taken out with them and put back anew.
    CComponentDatabase* pComponent = pSchedule->GetComponent();
    const bool bActive = pSchedule->IsActive();
    auto* pNew = new CComponentScheduleDatabase(*pSchedule);
    if (pSchedule->GetKind() == SCHEDULE_BUILD)
        pSchedule->SetComponent(nullptr);  // the planned component stays for the new record
    pGround->RemoveComponentSchedule(pSchedule);
    pNew->SetComponent(pComponent);
    pNew->SetActive(bActive);
    pGround->AddComponentSchedule(pNew, true);
    for (LPXLISTNODE pNode = m_lstArea.GetHead(); pNode; pNode = pNode->pNext) {
        auto* pRecord = static_cast<CGroundDatabase::AREACLASH*>(pNode->pData);
        if (pRecord->pItem == pSchedule)
            pRecord->pItem = pNew;
    }
    return pNew;
}

CComponentScheduleDatabase* CPopupGroundDevelopment::NewSchedule(uint8_t byKind, const CDate& start) const
{
    auto* pSchedule = new CComponentScheduleDatabase;
    if (CDatabaseHandler* pDatabase = Database())
        pSchedule->SetID(pDatabase->TakeNextComponentID());
    pSchedule->SetKind(byKind);
    pSchedule->SetStartDate(start);
    pSchedule->SetActive(true);
    return pSchedule;
}

CComponentScheduleDatabase* CPopupGroundDevelopment::NewBuild(uint8_t byMainType, const CDate& start) const
{
    CComponentScheduleDatabase* pSchedule = NewSchedule(SCHEDULE_BUILD, start);
    CGroundDatabase* pGround = Ground();
    auto* pComponent = new CComponentDatabase(byMainType, pGround ? pGround->GetID() : 0);
    pComponent->SetUnderConstruction(true);
    if (pGround)
        pGround->AddComponent(pComponent);
    pSchedule->SetComponent(pComponent);
    return pSchedule;
}

CComponentScheduleDatabase* CPopupGroundDevelopment::StoreWork(CComponentScheduleDatabase* pSchedule, bool bNew,
                                                               int64_t nCost, int nWeeks, uint8_t byType,
                                                               uint8_t bySubType, uint32_t dwMaintenance,
                                                               uint32_t dwValue)
{
    const PAYMENTS p = Payments(nCost, nWeeks);
    pSchedule->SetDuration(static_cast<uint16_t>(nWeeks));
    pSchedule->SetScheduleData(byType, bySubType, p.dwInitial, p.dwMonthly, dwMaintenance, dwValue);
    pSchedule->SetExtraCost(p.dwFinal);
    if (!bNew)
        return Rebook(pSchedule);
    if (CGroundDatabase* pGround = Ground())
        pGround->AddComponentSchedule(pSchedule, true);
    return pSchedule;
}

void CPopupGroundDevelopment::BuildOrApply()
{
    if (!IsOwnGround())
        return;
    switch (m_nPage) {
    case PAGE_STAND: BuildStand(); break;
    case PAGE_FACILITY: BuildFacility(); break;
    case PAGE_FEATURE: BuildFeature(); break;
    default: return;
    }
    ShowPage(m_nPage);
}

void CPopupGroundDevelopment::BuildStand()
{
    CGroundDatabase* pGround = Ground();
    const CDatabaseHandler* pDatabase = Database();
    if (!pGround || !pDatabase)
        return;
    const STANDCHOICE c = CurrentStandChoice();
    uint8_t abyData[COMPONENT_STAND_DATA] = {};
    abyData[STAND_QUALITY] = static_cast<uint8_t>(c.nOption);
    abyData[STAND_SIDE] = static_cast<uint8_t>(c.nPosition);
    abyData[STAND_SIZE] = static_cast<uint8_t>(c.nSize);
    abyData[STAND_ROOF] = static_cast<uint8_t>(c.nRoof);
    for (int i = 0; i < 3; ++i)
        abyData[STAND_PARTS + i] = static_cast<uint8_t>(c.anParts[i]);
    const CDate start(Today().GetValue(), kNoticeDays);
    CComponentDatabase* pStand = FindComponentInLinkedList();
    if (pStand && pStand->IsStand()) {
        // An improvement of the stand that stands here.
        const FIGURES f =
            StandImprovementFigures(*pDatabase, StandChoiceOf(pStand->GetSubType(), pStand->GetSpecificData()), c);
        CComponentScheduleDatabase* pSchedule = FindScheduleInList(2);
        if (f.nCost <= 0)
            return;
        const bool bNew = !pSchedule;
        if (bNew) {
            pSchedule = NewSchedule(SCHEDULE_IMPROVE, start);
            pSchedule->SetComponent(pStand);
        }
        const STANDTABLERECORD* pRow = pDatabase->GetStandTableRecord(c.nPosition, c.nKind, c.nSize, c.nOption);
        abyData[STAND_SEATS] = static_cast<uint8_t>(f.nCapacity & 0xFF);
        abyData[STAND_SEATS + 1] = static_cast<uint8_t>((f.nCapacity >> 8) & 0xFF);
        std::copy(std::begin(abyData), std::end(abyData), pSchedule->GetComponentData());
        StoreWork(pSchedule, bNew, f.nCost, f.nWeeks, static_cast<uint8_t>(c.nKind), 0,
                  static_cast<uint32_t>(f.nMonthlyMaintenance), pRow ? pRow->dwCost : 0);
        DoUpdateStadiumDisplay();
        return;
    }
    const FIGURES f = NewStandFigures(*pDatabase, c);
    const int nSeats = std::clamp(f.nCapacity, 0, 0xFFFF);
    abyData[STAND_SEATS] = static_cast<uint8_t>(nSeats & 0xFF);
    abyData[STAND_SEATS + 1] = static_cast<uint8_t>((nSeats >> 8) & 0xFF);
    CComponentScheduleDatabase* pSchedule = (m_nAreaFlags & AREA_BUILD) ? FindScheduleInList(1) : nullptr;
    const bool bNew = !pSchedule;
    if (bNew)
        pSchedule = NewBuild(COMPONENT_STAND, start);
    std::copy(std::begin(abyData), std::end(abyData), pSchedule->GetComponentData());
    pSchedule = StoreWork(pSchedule, bNew, f.nCost, f.nWeeks, COMPONENT_STAND, static_cast<uint8_t>(c.nKind),
                          static_cast<uint32_t>(f.nMonthlyMaintenance), static_cast<uint32_t>(f.nCost));
    pGround->PrepareScheduledComponent(pSchedule);
    DoUpdateStadiumDisplay();
}

void CPopupGroundDevelopment::BuildFacility()
{
    CGroundDatabase* pGround = Ground();
    const CDatabaseHandler* pDatabase = Database();
    if (!pGround || !pDatabase)
        return;
    const int nKind = static_cast<int>(popup_look::SelectedValue(Box(ID_CHOICE), kFirstFacility));
    const int nSize = static_cast<int>(popup_look::SelectedValue(Box(ID_SIZE), 0));
    const FACILITYTABLERECORD* pRow = pDatabase->GetFacilityTableRecord(nKind, nSize);
    const FACILITYCOMPONENTTABLERECORD* pLayout =
        CDatabaseHandler::GetFacilityComponentTableRecordFromTypeAndSize(nKind, nSize);
    int nX = 0, nY = 0;
    if (!pRow || !pLayout || !FindFacilityPlace(*pGround, nKind, nSize, nX, nY))
        return;
    const int nWeeks = std::max(kMinimumWeeks, static_cast<int>(pRow->dwBuildWeeks));
    CComponentScheduleDatabase* pSchedule = NewBuild(COMPONENT_FACILITY, CDate(Today().GetValue(), kNoticeDays));
    uint8_t* pData = pSchedule->GetComponentData();
    pData[FACILITY_KIND] = static_cast<uint8_t>(nSize);
    pData[FACILITY_FOOTPRINT] = pLayout->byFootprint;
    pData[FACILITY_X] = static_cast<uint8_t>(nX);
    pData[FACILITY_Y] = static_cast<uint8_t>(nY);
    StoreWork(pSchedule, true, pRow->dwCost, nWeeks, COMPONENT_FACILITY, static_cast<uint8_t>(nKind),
              pRow->dwMonthlyMaintenance, pRow->dwCost);
    pGround->PrepareScheduledComponent(pSchedule);
    // The new work is what is in hand now.
    FreeArea();
    m_lstArea.AddTail(new CGroundDatabase::AREACLASH{CGroundDatabase::CLASH_SCHEDULE, pSchedule});
    ScanArea(false, false);
}

void CPopupGroundDevelopment::BuildFeature()
{
    CGroundDatabase* pGround = Ground();
    const CDatabaseHandler* pDatabase = Database();
    if (!pGround || !pDatabase)
        return;
    const int nKind = static_cast<int>(popup_look::SelectedValue(Box(ID_CHOICE), kFirstFeature));
    const int nOption = static_cast<int>(popup_look::SelectedValue(Box(ID_OPTION), 0));
    const FACILITYTABLERECORD* pRow = pDatabase->GetExtraFacilityTableRecord(nKind, nOption);
    if (!pRow)
        return;
    const CDate start(Today().GetValue(), kNoticeDays);
    CComponentDatabase* pBuilt = FindComponentInLinkedList();
    if (pBuilt) {
        const FACILITYTABLERECORD* pOld =
            pDatabase->GetExtraFacilityTableRecord(pBuilt->GetSubType(), pBuilt->GetSpecificData()[0]);
        const int64_t nCost = static_cast<int64_t>(pRow->dwCost) - (pOld ? pOld->dwCost : 0);
        if (nCost <= 0)
            return;
        const int nWeeks = std::max(kMinimumWeeks, static_cast<int>(pRow->dwBuildWeeks) -
                                                       static_cast<int>(pOld ? pOld->dwBuildWeeks : 0));
        CComponentScheduleDatabase* pSchedule = FindScheduleInList(2);
        const bool bNew = !pSchedule;
        if (bNew) {
            pSchedule = NewSchedule(SCHEDULE_IMPROVE, start);
            pSchedule->SetComponent(pBuilt);
        }
        pSchedule->GetComponentData()[0] = static_cast<uint8_t>(nOption);
        StoreWork(pSchedule, bNew, nCost, nWeeks, static_cast<uint8_t>(nKind), 0, pRow->dwMonthlyMaintenance,
                  pRow->dwCost);
    } else {
        const int nWeeks = std::max(kMinimumWeeks, static_cast<int>(pRow->dwBuildWeeks));
        CComponentScheduleDatabase* pSchedule = (m_nAreaFlags & AREA_BUILD) ? FindScheduleInList(1) : nullptr;
        const bool bNew = !pSchedule;
        if (bNew)
            pSchedule = NewBuild(COMPONENT_PITCH_ITEM, start);
        pSchedule->GetComponentData()[0] = static_cast<uint8_t>(nOption);
        pSchedule = StoreWork(pSchedule, bNew, pRow->dwCost, nWeeks, COMPONENT_PITCH_ITEM, static_cast<uint8_t>(nKind),
                              pRow->dwMonthlyMaintenance, pRow->dwCost);
        pGround->PrepareScheduledComponent(pSchedule);
    }
    SelectFeature();
}

void CPopupGroundDevelopment::Demolish()
{
    CGroundDatabase* pGround = Ground();
    CComponentDatabase* pComponent = FindComponentInLinkedList();
    if (!IsOwnGround() || !pGround || !pComponent || (m_nAreaFlags & AREA_DEMOLISH))
        return;
    CComponentScheduleDatabase* pSchedule = NewSchedule(SCHEDULE_DEMOLISH, CDate(Today().GetValue(), kNoticeDays));
    pSchedule->SetComponent(pComponent);
    pSchedule->SetDuration(1);
    if (pComponent->IsStand()) {
        const STANDTABLERECORD* pRow = Database()->GetStandTableRecord(
            pComponent->GetStandSide(), pComponent->GetSubType(), pComponent->GetStandSize(),
            pComponent->GetStandQuality());
        if (pRow) {
            pSchedule->SetDuration(pRow->byDemolitionWeeks);
            pSchedule->SetExtraCost(pRow->dwDemolitionCost);
        }
    }
    pGround->AddComponentSchedule(pSchedule, true);
    if (pComponent->IsStand()) {
        DoUpdateStadiumDisplay();
    } else {
        m_lstArea.AddTail(new CGroundDatabase::AREACLASH{CGroundDatabase::CLASH_SCHEDULE, pSchedule});
        ScanArea(false, false);
    }
    ShowPage(m_nPage);
}

void CPopupGroundDevelopment::CancelSelectedSchedule()
{
    CGroundDatabase* pGround = Ground();
    CComponentScheduleDatabase* pSchedule = SelectedSchedule();
    if (!IsOwnGround() || !pGround || !pSchedule || pSchedule->GetStartDate() < Today())
        return;
    // Its record leaves the choice in hand before the schedule goes.
    for (LPXLISTNODE pNode = m_lstArea.GetHead(); pNode;) {
        LPXLISTNODE pNext = pNode->pNext;
        auto* pRecord = static_cast<CGroundDatabase::AREACLASH*>(pNode->pData);
        const bool bGone = pRecord->pItem == pSchedule ||
                           (pSchedule->GetKind() == SCHEDULE_BUILD && pRecord->pItem == pSchedule->GetComponent());
        if (bGone) {
            m_lstArea.Remove(pNode);
            delete pRecord;
        }
        pNode = pNext;
    }
    pGround->RemoveComponentSchedule(pSchedule);
    ScanArea(false, false);
    ShowPage(m_nPage);
}

// ---- notifications ----

void CPopupGroundDevelopment::OnClicked(uint32_t dwID)
{
    CGamePopup::OnClicked(dwID);
    if (dwID >= ID_STAND_PAGE && dwID <= ID_SCHEDULE_PAGE) {
        const int nPage = static_cast<int>(dwID - ID_STAND_PAGE);
        if (!(m_nPages & (1 << nPage)) || nPage == m_nPage)
            return;
        // Leaving one kind of part for another empties the choice.
        if (m_nPage == PAGE_FEATURE || m_nPage == PAGE_STAND) {
            FreeArea();
            ScanArea(false, false);
        }
        ShowPage(nPage);
        return;
    }
    switch (dwID) {
    case ID_BUILD: BuildOrApply(); break;
    case ID_CANCEL_WORK: CancelSelectedSchedule(); break;
    case ID_DEMOLISH: Demolish(); break;
    case kOkButtonID:
        if (!IsOnStack())
            return;
        m_dwResultID = kOkButtonID;
        Close();
        break;
    default:
        if (dwID >= 909 && dwID <= 914)
            OnEditChange(nullptr);
        break;
    }
}

void CPopupGroundDevelopment::OnSelChange(uint32_t dwID)
{
    if (m_bFilling)
        return;
    m_bFilling = true;
    switch (dwID) {
    case ID_CHOICE:
        if (m_nPage == PAGE_STAND) {
            DoUpdateStadiumDisplay();
            UpdatePartRanges(!(m_nAreaFlags & (AREA_COMPONENT | AREA_SCHEDULE)));
        } else if (m_nPage == PAGE_FACILITY) {
            FillSizes();
        } else if (m_nPage == PAGE_FEATURE) {
            SelectFeature();
            FillFeatureOptions();
        }
        break;
    case ID_STAND_KIND:
        FillSizes();
        UpdatePartRanges(!(m_nAreaFlags & (AREA_COMPONENT | AREA_SCHEDULE)));
        break;
    case ID_SIZE:
        if (m_nPage == PAGE_STAND)
            UpdatePartRanges(false);
        break;
    case ID_SCHEDULES: {
        CXListBox* pList = ScheduleList();
        const int nRow = pList ? pList->GetSelection() : -1;
        if (m_nPage == PAGE_SCHEDULE) {
            if (pList && pList->m_nClickedColumn == kConfirmedColumn)
                ToggleConfirmed(nRow);
            if (const CComponentScheduleDatabase* pSchedule = SelectedSchedule())
                popup_look::SelectValue(Box(ID_START_DATE), pSchedule->GetStartDate().GetValue());
        }
        m_bFilling = false;
        UpdateButtons();
        return;
    }
    case ID_START_DATE:
        if (CComponentScheduleDatabase* pSchedule = SelectedSchedule();
            pSchedule && IsOwnGround() && !(pSchedule->GetStartDate() < Today())) {
            const CDate start(popup_look::SelectedValue(Box(ID_START_DATE), pSchedule->GetStartDate().GetValue()));
            pSchedule->SetStartDate(start);
            Rebook(pSchedule);
            FreeArea();
            ScanArea(false, false);
            m_bFilling = false;
            ShowPage(m_nPage);
            return;
        }
        break;
    default:
        CGamePopup::OnSelChange(dwID);
        m_bFilling = false;
        return;
    }
    m_bFilling = false;
    UpdateCost();
    UpdateButtons();
}

void CPopupGroundDevelopment::OnEditChange(CXControl* /*pControl*/)
{
    if (m_bFilling || m_nPage != PAGE_STAND)
        return;
    UpdateCost();
}
