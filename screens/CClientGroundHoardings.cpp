#include "screens/CClientGroundHoardings.h"

#include "screens/FinanceScreenLook.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/CBinaryFile.h"
#include "common/CDate.h"
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "platform/DeviceContext.h"
#include "platform/Files.h"
#include "season/CNoticeList.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBoxEx.h"
#include "xframework/CXScrollBar.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <cstdio>

namespace {

using Screen = CClientGroundHoardings;

constexpr int kCaptionSet = 55;
constexpr int kMonthSet = 130;
// Weeks between two month names on the graph, so that they never touch.
constexpr int kLabelGap = 6;
constexpr int kRowHeight = 34;
constexpr COLORREF kText = 0xFFFFFF;
constexpr COLORREF kAxisColour = 0xFFFFFF;
constexpr COLORREF kIncomeColour = 0x2121FF, kBoardsColour = 0xFF294A;
constexpr COLORREF kPlaceFrame = 0x303030;
constexpr COLORREF kChosenOutline = 0x00FFFF, kOtherOutline = 0x0000FF;
constexpr COLORREF kKey = 0xFF00FF;
constexpr float kPlanBlend = 0.7f;
constexpr int kPitchWidth = 200, kPitchHeight = 150;
constexpr int kGraphLeft = 45, kGraphTop = 250, kGraphRight = 285, kGraphBottom = 450;
constexpr int kAdvertisersLeft = 315, kAdvertisersTop = 50, kAdvertisersRight = 615, kAdvertisersBottom = 220;
constexpr int kContractsLeft = 8, kContractsTop = 50, kContractsRight = 293, kContractsBottom = 220;

// The places of each direction: where the first lies on the plan, the step
// to the next, how many, and the size of one.
struct ROW {
    int nFirst;
    int nCount;
    int x, y, dx, dy, nWidth, nHeight;
};
constexpr ROW kRows[4] = {
    {0, CHoardingsManager::SHORT_ROW, 0, 20, 0, 18, 20, 18},
    {CHoardingsManager::SHORT_ROW, CHoardingsManager::SHORT_ROW, 260, 20, 0, 18, 20, 18},
    {2 * CHoardingsManager::SHORT_ROW, CHoardingsManager::LONG_ROW, 20, 182, 20, 0, 20, 20},
    {2 * CHoardingsManager::SHORT_ROW + CHoardingsManager::LONG_ROW, CHoardingsManager::LONG_ROW, 20, 0, 20, 0, 20, 20},
};

enum : uint8_t { LEFT = 0, RIGHT = 2 };
// Logo, weeks, amount a week, boards wanted, boards placed.
const LISTCOLUMN kAdvertiserColumns[] = {
    {0, 136, 4, 0, LEFT, 0, 0, LISTSORT_NONE, 0},    {136, 164, 4, 0, RIGHT, 0, 0, LISTSORT_NONE, 0},
    {164, 236, 4, 0, RIGHT, 0, 0, LISTSORT_NONE, 0}, {236, 266, 6, 0, RIGHT, 0, 0, LISTSORT_NONE, 0},
    {266, 296, 6, 0, RIGHT, 0, 0, LISTSORT_NONE, 0}, {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
// Logo, end of the contract, amount a week, boards.
const LISTCOLUMN kContractColumns[] = {
    {0, 136, 4, 0, LEFT, 0, 0, LISTSORT_NONE, 0},    {136, 196, 2, 0, RIGHT, 0, 0, LISTSORT_NONE, 0},
    {196, 256, 4, 0, RIGHT, 0, 0, LISTSORT_NONE, 0}, {256, 285, 6, 0, RIGHT, 0, 0, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CSaveGame* CurrentHuman()
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

bool Inside(const plat::Rect& rc, int x, int y) { return x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom; }

}  // namespace

CClientGroundHoardings& GetGroundHoardingsScreen()
{
    static CClientGroundHoardings s_Screen;
    return s_Screen;
}

CClientGroundHoardings::CClientGroundHoardings() { m_wScreenID = SCREEN_GROUND_HOARDINGS; }

CClientGroundHoardings::~CClientGroundHoardings() = default;

// ---- the places on the plan ----

int CClientGroundHoardings::PlaceDirection(int nPlace)
{
    for (int d = 0; d < 4; ++d)
        if (nPlace >= kRows[d].nFirst && nPlace < kRows[d].nFirst + kRows[d].nCount)
            return d;
    return -1;
}

int CClientGroundHoardings::PlaceIndex(int nPlace)
{
    const int d = PlaceDirection(nPlace);
    return d < 0 ? -1 : nPlace - kRows[d].nFirst;
}

plat::Rect CClientGroundHoardings::PlaceRect(int nPlace)
{
    const int d = PlaceDirection(nPlace);
    if (d < 0)
        return {0, 0, 0, 0};
    const ROW& row = kRows[d];
    const int i = nPlace - row.nFirst;
    const int x = kPlanX + row.x + i * row.dx, y = kPlanY + row.y + i * row.dy;
    return {x, y, x + row.nWidth, y + row.nHeight};
}

bool CClientGroundHoardings::InRing(int x, int y)
{
    const plat::Rect rcOuter{kPlanX, kPlanY, kPlanX + kPlanWidth, kPlanY + kPlanHeight};
    const plat::Rect rcInner{kPlanX + 20, kPlanY + 20, kPlanX + kPlanWidth - 20, kPlanY + kPlanHeight - 20};
    return Inside(rcOuter, x, y) && !Inside(rcInner, x, y);
}

int CClientGroundHoardings::HitTestPlace(int x, int y)
{
    if (!InRing(x, y))
        return -1;
    // The long sides first, top before bottom, then the ends, left before right.
    for (int i = 0; i < CHoardingsManager::LONG_ROW; ++i)
        for (int d : {3, 2})
            if (Inside(PlaceRect(kRows[d].nFirst + i), x, y))
                return kRows[d].nFirst + i;
    for (int i = 0; i < CHoardingsManager::SHORT_ROW; ++i)
        for (int d : {0, 1})
            if (Inside(PlaceRect(kRows[d].nFirst + i), x, y))
                return kRows[d].nFirst + i;
    return -1;
}

COLORREF CClientGroundHoardings::StatusColour(const ADVERTISER* pAdvertiser)
{
    if (!pAdvertiser)
        return kEmpty;
    if (pAdvertiser->byBoardsPlaced < pAdvertiser->nMinimumBoards)
        return kTooFew;
    return pAdvertiser->byBoardsPlaced < pAdvertiser->byBoardsWanted ? kSome : kAll;
}

// ---- entry and exit ----

bool CClientGroundHoardings::OnInitDialog()
{
    m_pHuman = CurrentHuman();
    m_pGraph = nullptr;
    m_pSelected = nullptr;
    m_nDragMode = 0;
    m_Undo.clear();
    m_apAdvertiser.fill(nullptr);
    m_aPlaces.fill(HOARDING());
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();
    if (g_pTitlebar)
        g_pTitlebar->SetSelectors({});
    m_Logos.Load();
    m_pPitch.reset(LoadMainArchiveBitmap("PTHoard.bmp", false));

    m_pGraph = static_cast<CXGraph*>(
        AddControl(XCONTROL_GRAPH, kGraphLeft, kGraphTop, kGraphRight, kGraphBottom, ID_GRAPH, nullptr));
    finance_look::AddGraphToggles(*this, m_pGraph, {{ID_SHOW_INCOME, LINE_INCOME}, {ID_SHOW_BOARDS, LINE_BOARDS}});
    auto addBar = [this](uint32_t dwID, uint32_t dwUp, uint32_t dwDown) {
        auto* pBar = static_cast<CXScrollBar*>(AddControlXYWH(XCONTROL_SCROLLBAR, 10, 20, 14, 200, dwID, nullptr));
        if (pBar)
            pBar->Create(dwUp, dwDown, 16, false, 0);
        return pBar;
    };
    CXScrollBar* pAdvertisersBar = addBar(ID_ADVERTISERS_BAR, 885, 886);
    CXScrollBar* pContractsBar = addBar(ID_CONTRACTS_BAR, 887, 888);
    if (auto* pList = static_cast<CXListBoxEx*>(AddControl(XCONTROL_LISTBOXEX, kAdvertisersLeft, kAdvertisersTop,
                                                           kAdvertisersRight, kAdvertisersBottom, ID_ADVERTISERS,
                                                           nullptr))) {
        pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION, true, pAdvertisersBar, true, nullptr,
                     false, 0, false, true, false);
        pList->SetUpColumns(kAdvertisersLeft, kAdvertisersTop, kAdvertisersRight, kAdvertisersBottom,
                            kAdvertiserColumns, false, false, kAdvertisersBottom - kAdvertisersTop, false);
        // Rows go out onto the plan; the screen decides what a drop means.
        pList->m_bReportOnlyOutside = 1;
        pList->m_bReportOnlyInside = 1;
        pList->m_bDragWithin = 0;
        pList->m_bDropOntoLists = 0;
        pList->m_bAcceptsDrops = 0;
    }
    if (auto* pList = static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, kContractsLeft, kContractsTop,
                                                         kContractsRight, kContractsBottom, ID_CONTRACTS, nullptr))) {
        pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION, true, pContractsBar, true, nullptr,
                     false, 0, false, false, false);
        pList->SetUpColumns(kContractsLeft, kContractsTop, kContractsRight, kContractsBottom, kContractColumns, false,
                            false, kContractsBottom - kContractsTop, false);
    }
    AddBottomButton(ID_AUTOMATIC);
    AddBottomButton(ID_UNDO);
    AddBottomButton(ID_UNDO_ALL);
    // The graph is set up before it is first drawn.
    FillHistoryGraph();
    ShowAllControls(true);
    sponsor_parts::ShowButton(*this, ID_UNDO, false);
    sponsor_parts::ShowButton(*this, ID_UNDO_ALL, false);

    RefreshAdvertiserTable();
    ReadPlaces();
    FillAdvertiserList();
    FillDatedList();
    UpdateAutoButton(false);
    auto* pAdvertisers = dynamic_cast<CXListBox*>(FindControl(ID_ADVERTISERS));
    if (pAdvertisers && pAdvertisers->GetCount() > 0) {
        pAdvertisers->SetSelection(0);
        OnSelChange(ID_ADVERTISERS);
    }
    else
        RedrawPlan(nullptr);
    if (g_pNavigationBar)
        if (CXControl* pPrint = g_pNavigationBar->FindControl(1058))
            pPrint->Show(true, true);
    return bResult;
}

void CClientGroundHoardings::OnDestroy()
{
    Leave();
    m_pGraph = nullptr;
    CGameClient::OnDestroy();
    m_Undo.clear();
    m_Logos.Free();
    m_pPitch.reset();
    m_pSelected = nullptr;
    m_apAdvertiser.fill(nullptr);
    m_pHuman = nullptr;
}

void CClientGroundHoardings::Leave()
{
    // The boards of advertisers short of the least they asked for come down.
    // The manager's places are read first: a day may have gone by meanwhile.
    if (!IsShowingCurrentHuman())
        return;
    RefreshAdvertiserTable();
    ReadPlaces();
    ClearPlaces(true);
    WritePlaces();
}

void CClientGroundHoardings::ConstructScreen()
{
    SetBackgroundBitmap("bgMain.bmp");
    if (!MakeOwnBackground())
        return;
    sponsor_parts::ShadePanel(*this, m_pBackground, 10, 240, 320, 470);
    sponsor_parts::DrawClubColourBoxes(m_pBackground, m_pHuman ? m_pHuman->GetClub() : nullptr);
    CGame* pGame = Game();
    if (CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr) {
        static const CAPTIONTAB kTabs[] = {
            {2, 0, 0, kContractsLeft, 33, kContractsRight - kContractsLeft},
            {2, 1, 0, kAdvertisersLeft, 33, kAdvertisersRight - kAdvertisersLeft},
            {2, 2, 0, kPlanX, kPlanY - 17, kPlanWidth},
            {2, 3, 0, 10, 223, 310},
            {0, 0, 0, 0, 0, 0},
        };
        DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallBoldFont, kCaptionSet, kTabs);
    }
}

bool CClientGroundHoardings::IsShowingCurrentHuman() const { return m_pHuman && m_pHuman == CurrentHuman(); }

CHoardingsManager* CClientGroundHoardings::Hoardings() const
{
    return IsShowingCurrentHuman() ? &m_pHuman->GetHoardings() : nullptr;
}

// ---- the manager's records ----

void CClientGroundHoardings::ReadPlaces()
{
    CHoardingsManager* pManager = Hoardings();
    for (int k = 0; k < kPlaces; ++k) {
        const HOARDING* pPlace = pManager ? pManager->GetHoardings(PlaceDirection(k), PlaceIndex(k)) : nullptr;
        m_aPlaces[static_cast<size_t>(k)] = pPlace ? *pPlace : HOARDING();
    }
}

void CClientGroundHoardings::WritePlaces()
{
    CHoardingsManager* pManager = Hoardings();
    for (int k = 0; pManager && k < kPlaces; ++k)
        if (HOARDING* pPlace = pManager->GetHoardings(PlaceDirection(k), PlaceIndex(k)))
            *pPlace = m_aPlaces[static_cast<size_t>(k)];
}

void CClientGroundHoardings::RefreshAdvertiserTable()
{
    // The running contracts before the season's offers of the same logo.
    const CHoardingsManager* pManager = Hoardings();
    for (int i = 0; i < static_cast<int>(m_apAdvertiser.size()); ++i) {
        ADVERTISER* pAdvertiser = nullptr;
        if (pManager && i >= 1) {
            pAdvertiser = pManager->FindContract(static_cast<uint8_t>(i));
            if (!pAdvertiser)
                pAdvertiser = pManager->FindOffer(static_cast<uint8_t>(i));
        }
        m_apAdvertiser[static_cast<size_t>(i)] = pAdvertiser;
    }
    // A day gone by may have taken the chosen advertiser's record away.
    if (m_pSelected && std::find(m_apAdvertiser.begin(), m_apAdvertiser.end(), m_pSelected) == m_apAdvertiser.end())
        m_pSelected = nullptr;
}

ADVERTISER* CClientGroundHoardings::Advertiser(int nId) const
{
    return nId >= 0 && nId < static_cast<int>(m_apAdvertiser.size()) ? m_apAdvertiser[static_cast<size_t>(nId)]
                                                                      : nullptr;
}

ADVERTISER* CClientGroundHoardings::GetRowAdvertiser(uint32_t dwList, int nRow)
{
    const auto* pList = dynamic_cast<const CXListBox*>(FindControl(dwList));
    if ((dwList != ID_ADVERTISERS && dwList != ID_CONTRACTS) || !pList || nRow < 0 || nRow >= pList->GetCount())
        return nullptr;
    RefreshAdvertiserTable();
    return Advertiser(static_cast<int>(pList->GetItemData(nRow)));
}

// ---- the lists ----

void CClientGroundHoardings::FillAdvertiserList()
{
    auto* pList = dynamic_cast<CXListBox*>(FindControl(ID_ADVERTISERS));
    const CHoardingsManager* pManager = Hoardings();
    if (!pList)
        return;
    const int nSelected = pList->GetSelection();
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    static const CXList s_None;
    for (const ADVERTISER* pAdvertiser : (pManager ? pManager->GetOffers() : s_None).Items<ADVERTISER>()) {
        const int nRow = pList->AddString(kText, "%s\t%d\t%s\t%d\t%d", "", pAdvertiser->byPayments,
                                          FormatMoney(pAdvertiser->dwAmount, 0, 0, MONEY_AS_STORED, 0, 1),
                                          pAdvertiser->byBoardsWanted, pAdvertiser->byBoardsPlaced);
        if (nRow < 0)
            continue;
        pList->SetItemData(nRow, pAdvertiser->byId);
        if (pAdvertiser->byBoardsPlaced > 0)
            pList->SetRowColour(nRow, StatusColour(pAdvertiser));
        if (CXAnimation* pLogo = m_Logos.Get(pAdvertiser->byId))
            pList->AddAlignedColumnGraphic(nRow, pLogo, 6, 0, true);
    }
    pList->SetSelection(nSelected < pList->GetCount() ? nSelected : -1);
    pList->UpdateScrollBar();
    pList->SetAutoRedraw(true);
    pList->Redraw();
}

void CClientGroundHoardings::FillDatedList()
{
    auto* pList = dynamic_cast<CXListBox*>(FindControl(ID_CONTRACTS));
    const CHoardingsManager* pManager = Hoardings();
    if (!pList)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    static const CXList s_None;
    for (const ADVERTISER* pAdvertiser : (pManager ? pManager->GetContracts() : s_None).Items<ADVERTISER>()) {
        const DATERECORD end{pAdvertiser->wEndYear, pAdvertiser->byEndMonth, pAdvertiser->byEndDay};
        const std::string date = FormatDateRecord(end);
        const int nRow = pList->AddString(kText, "%s\t%s\t%s\t%d", "", date.c_str(),
                                          FormatMoney(pAdvertiser->dwAmount, 0, 0, MONEY_AS_STORED, 0, 1),
                                          pAdvertiser->byBoardsPlaced);
        if (nRow < 0)
            continue;
        pList->SetItemData(nRow, pAdvertiser->byId);
        if (CXAnimation* pLogo = m_Logos.Get(pAdvertiser->byId))
            pList->AddAlignedColumnGraphic(nRow, pLogo, 6, 0, true);
    }
    pList->SetSelection(-1);
    pList->UpdateScrollBar();
    pList->SetAutoRedraw(true);
    pList->Redraw();
}

void CClientGroundHoardings::UpdateAdvertiserRow(const ADVERTISER* pAdvertiser)
{
    auto* pList = dynamic_cast<CXListBox*>(FindControl(ID_ADVERTISERS));
    const int nRow = pList && pAdvertiser ? pList->FindItemData(pAdvertiser->byId) : -1;
    if (nRow < 0)
        return;
    char szPlaced[8];
    std::snprintf(szPlaced, sizeof szPlaced, "%d", pAdvertiser->byBoardsPlaced);
    pList->SetColumnText(nRow, 4, szPlaced);
    pList->SetRowColour(nRow, pAdvertiser->byBoardsPlaced > 0 ? StatusColour(pAdvertiser) : kText);
    pList->RedrawRow(nRow, true);
}

bool CClientGroundHoardings::SelectAdvertiserRow(const ADVERTISER* pAdvertiser)
{
    for (uint32_t dwList : {ID_ADVERTISERS, ID_CONTRACTS}) {
        auto* pList = dynamic_cast<CXListBox*>(FindControl(dwList));
        const int nRow = pList && pAdvertiser ? pList->FindItemData(pAdvertiser->byId) : -1;
        if (nRow < 0)
            continue;
        pList->SetSelection(nRow);
        SetFocus(pList);
        m_pSelected = const_cast<ADVERTISER*>(pAdvertiser);
        return true;
    }
    return false;
}

// ---- the plan ----

void CClientGroundHoardings::DrawPlan()
{
    if (!m_pBackground || !m_pBackground->m_pSurface)
        return;
    CXSurface plan;
    if (!plan.Create(kPlanWidth, kPlanHeight, true, true))
        return;
    plan.Fill(kKey);
    if (m_pPitch)
        CXSurface::Blit(&plan, m_pPitch.get(), (kPlanWidth - kPitchWidth) / 2, (kPlanHeight - kPitchHeight) / 2);
    plat::DeviceContext* pDC = plan.m_pSurface->getDC();
    for (int k = 0; k < kPlaces; ++k) {
        const HOARDING& place = m_aPlaces[static_cast<size_t>(k)];
        const ADVERTISER* pAdvertiser =
            place.byAdvertiser == CHoardingsManager::EMPTY ? nullptr : Advertiser(place.byAdvertiser);
        plat::Rect rc = PlaceRect(k);
        rc = {rc.left - kPlanX, rc.top - kPlanY, rc.right - kPlanX, rc.bottom - kPlanY};
        DrawFilledRectFramedRect(pDC, rc, StatusColour(pAdvertiser), kPlaceFrame);
        if (place.byStarted) {
            // A running contract's board: a dot says it cannot be moved.
            DrawFilledRect(pDC, rc.left + 8, rc.top + 7, rc.left + 12, rc.top + 11, kPlaceFrame);
        }
    }
    plan.m_pSurface->releaseDC(pDC);
    m_pBackground->BlendBltKeyed(m_pBackground, &plan, kPlanX, kPlanY, 0, 0, kPlanX, kPlanY, kPlanWidth, kPlanHeight,
                                 kPlanBlend);
}

void CClientGroundHoardings::RedrawPlan(const ADVERTISER* pAdvertiser)
{
    if (!m_pBackground || !m_pBackground->m_pSurface)
        return;
    // The plan is drawn afresh over the untouched background.
    const plat::Rect rcPlan{kPlanX, kPlanY, kPlanX + kPlanWidth, kPlanY + kPlanHeight};
    if (CXSurface* pShared = GetBackgroundSurface(); pShared && pShared->m_pSurface)
        m_pBackground->m_pSurface->bltFast(kPlanX, kPlanY, *pShared->m_pSurface, &rcPlan, plat::BLTFAST_WAIT);
    RefreshAdvertiserTable();
    DrawPlan();
    // The places this advertiser may take stand out: his boards in yellow,
    // the rest he may use in red.
    plat::DeviceContext* pDC = m_pBackground->m_pSurface->getDC();
    for (int k = 0; pAdvertiser && k < kPlaces; ++k) {
        const HOARDING& place = m_aPlaces[static_cast<size_t>(k)];
        const bool bEnd = PlaceDirection(k) < 2;
        const bool bHis = place.byAdvertiser == pAdvertiser->byId;
        if (!bHis && place.byAdvertiser == CHoardingsManager::EMPTY &&
            ((bEnd && !pAdvertiser->byShortRows) || (!bEnd && !pAdvertiser->byLongRows)))
            continue;
        const plat::Rect rc = PlaceRect(k);
        DrawRectOutline(pDC, rc.left, rc.top, rc.right, rc.bottom, bHis ? kChosenOutline : kOtherOutline, 1);
    }
    m_pBackground->m_pSurface->releaseDC(pDC);
    RestoreBackground(kPlanX, kPlanY, kPlanWidth, kPlanHeight);
}

// ---- changes and their undo ----

bool CClientGroundHoardings::PlaceBoard(int x, int y, ADVERTISER* pAdvertiser, bool bRecord)
{
    RefreshAdvertiserTable();
    const int k = HitTestPlace(x, y);
    if (k < 0 || !pAdvertiser || Advertiser(pAdvertiser->byId) != pAdvertiser || !Hoardings())
        return false;
    HOARDING& place = m_aPlaces[static_cast<size_t>(k)];
    const bool bEnd = PlaceDirection(k) < 2;
    if (pAdvertiser->byBoardsPlaced >= pAdvertiser->byBoardsWanted || place.byAdvertiser != CHoardingsManager::EMPTY ||
        place.byStarted || (bEnd ? !pAdvertiser->byShortRows : !pAdvertiser->byLongRows))
        return false;
    if (bRecord) {
        PushUndo(UNDO_PLACED, pAdvertiser, k);
        UpdateAutoButton(true);
    }
    place.dwAmount = pAdvertiser->dwAmount;
    place.byPaymentsLeft = pAdvertiser->byPayments;
    place.byAdvertiser = pAdvertiser->byId;
    place.byStarted = 0;
    ++pAdvertiser->byBoardsPlaced;
    // The manager holds every change at once: a day may pass with the screen up.
    WritePlaces();
    RedrawPlan(pAdvertiser);
    UpdateAdvertiserRow(pAdvertiser);
    return true;
}

bool CClientGroundHoardings::RemoveBoard(int x, int y, ADVERTISER* pAdvertiser, bool bRecord)
{
    RefreshAdvertiserTable();
    const int k = HitTestPlace(x, y);
    if (k < 0 || !pAdvertiser || Advertiser(pAdvertiser->byId) != pAdvertiser || !Hoardings())
        return false;
    HOARDING& place = m_aPlaces[static_cast<size_t>(k)];
    if (place.byStarted || place.byAdvertiser != pAdvertiser->byId)
        return false;
    if (bRecord) {
        PushUndo(UNDO_REMOVED, pAdvertiser, k);
        UpdateAutoButton(true);
    }
    place = HOARDING();
    if (pAdvertiser->byBoardsPlaced > 0)
        --pAdvertiser->byBoardsPlaced;
    WritePlaces();
    RedrawPlan(pAdvertiser);
    UpdateAdvertiserRow(pAdvertiser);
    return true;
}

void CClientGroundHoardings::PushUndo(uint8_t byKind, const ADVERTISER* pAdvertiser, int nPlace)
{
    const plat::Rect rc = PlaceRect(nPlace);
    m_Undo.push_back({byKind, pAdvertiser->byId, static_cast<int16_t>((rc.left + rc.right) / 2),
                      static_cast<int16_t>((rc.top + rc.bottom) / 2)});
    sponsor_parts::ShowButton(*this, ID_UNDO, true);
    sponsor_parts::ShowButton(*this, ID_UNDO_ALL, true);
}

void CClientGroundHoardings::ClearUndo()
{
    m_Undo.clear();
    sponsor_parts::ShowButton(*this, ID_UNDO, false);
    sponsor_parts::ShowButton(*this, ID_UNDO_ALL, false);
}

void CClientGroundHoardings::UndoLast()
{
    if (m_Undo.empty())
        return;
    const UNDOENTRY entry = m_Undo.back();
    m_Undo.pop_back();
    if (m_Undo.empty())
        ClearUndo();
    RefreshAdvertiserTable();
    ADVERTISER* pAdvertiser = Advertiser(entry.byAdvertiser);
    if (!pAdvertiser)
        return;  // his record went with a day gone by
    if (entry.byKind == UNDO_PLACED)
        RemoveBoard(entry.x, entry.y, pAdvertiser, false);
    else
        PlaceBoard(entry.x, entry.y, pAdvertiser, false);
    SelectAdvertiserRow(pAdvertiser);
}

void CClientGroundHoardings::UndoAll()
{
    while (!m_Undo.empty())
        UndoLast();
}

void CClientGroundHoardings::ClearPlaces(bool bKeepComplete)
{
    for (HOARDING& place : m_aPlaces) {
        ADVERTISER* pAdvertiser =
            place.byAdvertiser == CHoardingsManager::EMPTY ? nullptr : Advertiser(place.byAdvertiser);
        // A running contract's board stays where it was put up.
        if (!pAdvertiser || place.byStarted)
            continue;
        if (bKeepComplete && pAdvertiser->byBoardsPlaced >= pAdvertiser->nMinimumBoards)
            continue;
        place = HOARDING();
        if (pAdvertiser->byBoardsPlaced > 0)
            --pAdvertiser->byBoardsPlaced;
    }
}

void CClientGroundHoardings::UpdateAutoButton(bool bTurnOff)
{
    CHoardingsManager* pManager = Hoardings();
    if (!pManager)
        return;
    if (bTurnOff)
        m_pHuman->SetDelegation(kDelegateHoardings, 0);
    if (m_pHuman->GetDelegation(kDelegateHoardings) == 0)
        sponsor_parts::ShowButton(*this, ID_AUTOMATIC, sponsor_parts::HasCommercialManager(m_pHuman->GetClub()));
    else {
        RefreshAdvertiserTable();
        ClearPlaces(true);
        WritePlaces();
        ClearUndo();
        pManager->AutoFill();
        ReadPlaces();
        FillAdvertiserList();
        RedrawPlan(m_pSelected);
        sponsor_parts::ShowButton(*this, ID_AUTOMATIC, false);
    }
    if (m_Undo.empty())
        ClearUndo();
    m_pHuman->GetNotices().ClearResolvedNotices();
}

// ---- the mouse ----

void CClientGroundHoardings::OnSelChange(uint32_t dwID)
{
    if (dwID == ID_ADVERTISERS || dwID == ID_CONTRACTS) {
        const auto* pList = dynamic_cast<const CXListBox*>(FindControl(dwID));
        if (ADVERTISER* pAdvertiser = pList ? GetRowAdvertiser(dwID, pList->GetSelection()) : nullptr) {
            m_pSelected = pAdvertiser;
            RedrawPlan(m_pSelected);
        }
    }
    CGameClient::OnSelChange(dwID);
}

void CClientGroundHoardings::UserSlot24(uint32_t dwID, uint32_t x, uint32_t y)
{
    if (m_nDragMode == 0 && dwID == ID_ADVERTISERS) {
        const auto* pList = dynamic_cast<const CXListBoxEx*>(FindControl(dwID));
        if (ADVERTISER* pAdvertiser = pList ? GetRowAdvertiser(dwID, pList->SourceRow()) : nullptr) {
            m_pSelected = pAdvertiser;
            m_nDragMode = 2;
        }
    }
    m_nMouseX = static_cast<int>(x);
    m_nMouseY = static_cast<int>(y);
}

void CClientGroundHoardings::OnMouseMove(uint32_t flags, int x, int y)
{
    m_nMouseX = x;
    m_nMouseY = y;
    CGameClient::OnMouseMove(flags, x, y);
}

void CClientGroundHoardings::OnLButtonDown(uint32_t flags, int x, int y)
{
    CGameClient::OnLButtonDown(flags, x, y);
    const int k = HitTestPlace(x, y);
    if (k < 0 || m_nDragMode != 0 || !IsShowingCurrentHuman())
        return;
    const HOARDING& place = m_aPlaces[static_cast<size_t>(k)];
    RefreshAdvertiserTable();
    ADVERTISER* pAdvertiser =
        place.byAdvertiser == CHoardingsManager::EMPTY ? nullptr : Advertiser(place.byAdvertiser);
    if (!pAdvertiser)
        return;
    m_nPressX = x;
    m_nPressY = y;
    SelectAdvertiserRow(pAdvertiser);
    m_pSelected = pAdvertiser;
    RedrawPlan(pAdvertiser);
    m_nDragMode = 1;
}

void CClientGroundHoardings::OnLButtonUp(uint32_t flags, int x, int y)
{
    CGameClient::OnLButtonUp(flags, x, y);
    if ((m_nDragMode == 1 || m_nDragMode == 2) && m_pSelected && IsShowingCurrentHuman()) {
        if (InRing(x, y))
            PlaceBoard(x, y, m_pSelected, true);
        else if (m_nDragMode == 1)
            RemoveBoard(m_nPressX, m_nPressY, m_pSelected, true);
    }
    m_nDragMode = 0;
}

void CClientGroundHoardings::OnClicked(uint32_t dwID)
{
    sponsor_parts::OnBottomButton(dwID, {ID_AUTOMATIC, ID_UNDO, ID_UNDO_ALL, MESSAGE_AUTOMATIC, MESSAGE_UNDO_ALL},
                                  [this] { UndoLast(); });
    CGameClient::OnClicked(dwID);
}

void CClientGroundHoardings::OnEndMessageBoxPopup()
{
    CGameClient::OnEndMessageBoxPopup();
    if (IsShowingCurrentHuman())
        sponsor_parts::AnswerQuestion(*m_pHuman, kDelegateHoardings, MESSAGE_AUTOMATIC, MESSAGE_UNDO_ALL,
                                      [this] { UpdateAutoButton(false); }, [this] { UndoAll(); });
}

// ---- painting and the graph ----

void CClientGroundHoardings::OnPaint()
{
    CGameClient::OnPaint();
    if (m_nDragMode == 1 || m_nDragMode == 2) {
        if (m_pSelected && IsShowingCurrentHuman())
            m_Logos.DrawKeyed(GetScreenSurface(), m_pSelected->byId, m_nLeft + m_nMouseX + 2, m_nTop + m_nMouseY + 16);
    }
    else if (m_nDragMode != 0)
        DebugLog(1, "[CClientGroundHoardings::OnPaint] Unknown Drag Mode!");
}

void CClientGroundHoardings::FillHistoryGraph()
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    const CHoardingsManager* pManager = Hoardings();
    if (!m_pGraph)
        return;
    m_pGraph->Clear();
    const double dItemWidth = static_cast<double>(kGraphRight - kGraphLeft) / kWeeks;
    m_pGraph->SetUp(GRAPH_ITEM_LABELS | GRAPH_LEFT_CURRENCY | GRAPH_RIGHT_AXIS_DRAWN, kAxisColour, kAxisColour,
                    dItemWidth, kAxisColour, kAxisColour);
    m_pGraph->SetXAxis(kWeeks, 2, 2, kWeeks);
    m_pGraph->m_szLeftCaption[0] = m_pGraph->m_szRightCaption[0] = m_pGraph->m_szBottomCaption[0] = '\0';
    m_pGraph->SetUpLine(0, LINE_INCOME, 2, kIncomeColour, GRAPH_LINE, true, false, dItemWidth, 0);
    m_pGraph->SetUpLine(0, LINE_BOARDS, 2, kBoardsColour, GRAPH_LINE, false, false, dItemWidth, 0);
    // The weekly records of what the boards earned: the last year of them.
    std::vector<std::pair<int, int32_t>> weeks;
    if (FILE* pFile = pManager && pDatabase ? plat::openFile(pManager->GetHistoryFileName(), "rb") : nullptr) {
        CBinaryReader reader(pFile);
        uint8_t byBoards = 0;
        int32_t nIncome = 0;
        while (reader.ReadU8(byBoards) && reader.Skip(3) && reader.ReadI32(nIncome))
            weeks.emplace_back(byBoards, nIncome);
        std::fclose(pFile);
        if (weeks.size() > static_cast<size_t>(kWeeks))
            weeks.erase(weeks.begin(), weeks.end() - kWeeks);
        CDate date(pDatabase->GetGameDate().GetValue(), -7 * static_cast<int>(weeks.size()));
        // A month's name where it begins, when the last name leaves room.
        int nLastMonth = 0, nLastLabel = -kLabelGap;
        for (int w = 0; w < kWeeks; ++w) {
            if (date.GetMonth() != nLastMonth && w - nLastLabel >= kLabelGap) {
                m_pGraph->SetItemLabel(w, GetTableTextOrEmpty(kMonthSet, date.GetMonth() - 1));
                nLastLabel = w;
            }
            nLastMonth = date.GetMonth();
            date.AddDays(7);
        }
    }
    int32_t nMostIncome = 1000;
    int nMostBoards = 10;
    for (const auto& [nBoards, nIncome] : weeks) {
        m_pGraph->AddValue(LINE_INCOME, nIncome);
        m_pGraph->AddValue(LINE_BOARDS, nBoards);
        nMostIncome = std::max(nMostIncome, nIncome);
        nMostBoards = std::max(nMostBoards, nBoards);
    }
    m_pGraph->SetYRange(0, nMostIncome, 0, nMostBoards, false, true, true);
    for (const auto& [dwID, nLine] : {std::pair{ID_SHOW_INCOME, LINE_INCOME}, std::pair{ID_SHOW_BOARDS, LINE_BOARDS}})
        if (auto* pToggle = dynamic_cast<CXButton*>(FindControl(dwID))) {
            pToggle->SetChecked(1);
            m_pGraph->SetSeriesHidden(nLine, false);
        }
    m_pGraph->Show(true, false);
    m_pGraph->Draw();
}

void CClientGroundHoardings::OnPrint() { PrintControl(ID_GRAPH); }
