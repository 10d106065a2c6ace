#include "screens/CClientStaffSelection.h"

#include "popups/CPopupManagerDetails.h"
#include "popups/CPopupStaffDetails.h"
#include "popups/StaffRows.h"

#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGamePopup.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CManagerDatabase.h"
#include "database/CStaffDatabase.h"
#include "platform/DeviceContext.h"
#include "season/CNoticeList.h"
#include "season/CSaveGame.h"
#include "season/CScoutManager.h"
#include "xframework/CXButton.h"
#include "xframework/CXListBoxEx.h"
#include "xframework/CXScrollBar.h"
#include "xframework/DrawingFunctions.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr int kRowHeight = 16;
constexpr COLORREF kText = plat::RGB(242, 242, 234);
constexpr COLORREF kDragFill = plat::RGB(42, 74, 104);
constexpr COLORREF kDragFrame = plat::RGB(232, 184, 64);
constexpr COLORREF kRemovalFill = plat::RGB(16, 34, 50);
constexpr COLORREF kRemovalFrame = plat::RGB(58, 106, 144);
constexpr COLORREF kNoClubColour = 0x9D37;
constexpr int kCaptionSet = 195;
constexpr int kRemovalItem = 8;
constexpr int kSackCompensationCategory = 78;
constexpr int kSackCompensationDivisor = 6;
// The delegation the assistant and the commercial manager carry: the team
// picking and the two bytes after it, and the three after those.
constexpr int kAssistantDelegations[] = {1, 2, 3};
constexpr int kCommercialDelegations[] = {4, 5, 6};
constexpr int kScoutAlert = 1;

struct BOX {
    uint32_t dwID;
    int nKind;
    int nLeft, nTop, nRight, nBottom;
};
// The boxes by control id: the places of each kind, one row per place.
constexpr BOX kBoxes[] = {
    {246, 0, 39, 121, 205, 217}, {247, 3, 39, 270, 205, 318}, {248, 1, 235, 121, 401, 185},
    {249, 2, 432, 121, 598, 185}, {250, 4, 235, 270, 401, 318}, {251, 5, 432, 270, 598, 318},
};
constexpr int kManagerLeft = 235, kManagerTop = 36, kManagerRight = 401, kManagerBottom = 52;
constexpr int kListLeft = 8, kListTop = 360, kListRight = 624, kListBottom = 472;

const BOX* FindBox(uint32_t dwID)
{
    for (const BOX& box : kBoxes)
        if (box.dwID == dwID)
            return &box;
    return nullptr;
}

enum : uint8_t { LEFT = 0, RIGHT = 2, RATING = 'y' };
const LISTCOLUMN kBoxColumns[] = {
    {0, 126, 4, 0, LEFT, 0, 0, LISTSORT_NONE, 0},
    {126, 166, 4, 0, RATING, 0, 0, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
// Name, rating, age, rating at the last review, post, qualifications, wage:
// the text columns as wide as the bars and the age allow (the post takes the
// qualifications' margin, so that "Commercial Manager" fits), the wage clear
// of the scroll bar.
const LISTCOLUMN kStaffColumns[] = {
    {0, 104, 4, 0, LEFT, 0, 1121, LISTSORT_TEXT, 0},      {104, 130, 4, 0, RATING, 0, 1122, LISTSORT_NUMBER, 0},
    {130, 160, 4, 0, RIGHT, 0, 965, LISTSORT_NUMBER, 0},  {160, 194, 4, 0, RATING, 0, 1123, LISTSORT_NUMBER, 0},
    {194, 327, 4, 0, LEFT, 0, 1124, LISTSORT_TEXT, 0},    {327, 560, 0, 0, LEFT, 0, 1125, LISTSORT_TEXT, 0},
    {560, 605, 4, 0, RIGHT, 0, 1126, LISTSORT_NUMBER, 0}, {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kManagerColumns[] = {
    {0, 166, 4, 0, LEFT, 0, 0, LISTSORT_NONE, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CDatabaseHandler* Database()
{
    const CGame* pGame = Game();
    return pGame ? pGame->GetDatabase() : nullptr;
}

}  // namespace

CClientStaffSelection& GetStaffSelectionScreen()
{
    static CClientStaffSelection s_Screen;
    return s_Screen;
}

CClientStaffSelection::CClientStaffSelection() { m_wScreenID = SCREEN_STAFF_SELECTION; }

CClientStaffSelection::~CClientStaffSelection() = default;

int CClientStaffSelection::BoxKind(uint32_t dwID)
{
    const BOX* pBox = FindBox(dwID);
    return pBox ? pBox->nKind : -1;
}

uint32_t CClientStaffSelection::KindBox(int nKind)
{
    for (const BOX& box : kBoxes)
        if (box.nKind == nKind)
            return box.dwID;
    return 0;
}

int CClientStaffSelection::BoxPlaces(uint32_t dwID)
{
    const int nKind = BoxKind(dwID);
    return nKind >= 0 ? g_anClubStaffPlaces[nKind] : 0;
}

int CClientStaffSelection::BoxRating(const CStaffDatabase& staff, int nBoxKind)
{
    return staff.m_byKind == nBoxKind ? staff.m_byRating : staff.m_byRating / 4;
}

CXListBoxEx* CClientStaffSelection::GetList(uint32_t dwID) const
{
    return dynamic_cast<CXListBoxEx*>(FindControl(dwID));
}

CStaffDatabase* CClientStaffSelection::GetRowStaff(uint32_t dwListID, int nRow) const
{
    const CXListBoxEx* pList = GetList(dwListID);
    CDatabaseHandler* pDatabase = Database();
    if (dwListID == ID_MANAGER || !pList || !pDatabase || nRow < 0 || nRow >= pList->GetCount())
        return nullptr;
    CStaffDatabase* pStaff = pDatabase->GetStaffFromID(static_cast<ID_STAFF>(pList->GetItemData(nRow)));
    // Only the club's own staff are shown and moved.
    return pStaff && m_pClub && m_pClub->HasStaff(pStaff->GetId()) ? pStaff : nullptr;
}

CStaffDatabase* CClientStaffSelection::GetSelectedStaff() const
{
    const CXListBoxEx* pList = GetList(ID_ALL_STAFF);
    return pList ? GetRowStaff(ID_ALL_STAFF, pList->GetSelection()) : nullptr;
}

bool CClientStaffSelection::SelectStaff(ID_STAFF idStaff)
{
    CXListBoxEx* pList = GetList(ID_ALL_STAFF);
    if (!pList)
        return false;
    for (int nRow = 0; nRow < pList->GetCount(); ++nRow)
        if (static_cast<ID_STAFF>(pList->GetItemData(nRow)) == idStaff) {
            pList->SetSelection(nRow);
            return true;
        }
    return false;
}

// ---- entry and exit ----

bool CClientStaffSelection::OnInitDialog()
{
    CDatabaseHandler* pDatabase = Database();
    m_pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    m_pClub = m_pHuman ? m_pHuman->GetClub() : nullptr;
    m_bDragging = false;
    m_pDragged = nullptr;
    m_dwActiveList = ID_ALL_STAFF;
    m_idAskedToSack = 0;
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    SetBackgroundBitmap("bgStaff.bmp");
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();
    BuildControls();
    Fill();
    UpdateBars();
    return bResult;
}

bool CClientStaffSelection::IsShowingCurrentClub() const
{
    // A game loaded over the screen took the records it showed away.
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    return m_pHuman && m_pClub && pHuman == m_pHuman && pHuman->GetClub() == m_pClub;
}

void CClientStaffSelection::OnDestroy()
{
    if (!IsShowingCurrentClub()) {
        m_pHuman = nullptr;
        m_pClub = nullptr;
    }
    StoreHierarchy();
    if (m_pHuman && m_pClub) {
        // Without an assistant nobody picks the team for the manager, and
        // without a commercial manager nobody carries his business.
        if (m_pClub->m_awStaffSlots[0][0] == 0)
            for (int n : kAssistantDelegations)
                m_pHuman->SetDelegation(n, 0);
        if (m_pClub->m_awStaffSlots[3][0] == 0)
            for (int n : kCommercialDelegations)
                m_pHuman->SetDelegation(n, 0);
        m_pHuman->GetNotices().ClearResolvedNotices();
    }
    if (g_pNavigationBar)
        g_pNavigationBar->UpdateButtons();
    m_bDragging = false;
    m_pDragged = nullptr;
    m_pHuman = nullptr;
    m_pClub = nullptr;
    CGameClient::OnDestroy();
}

void CClientStaffSelection::ConstructScreen()
{
    if (!MakeOwnBackground())
        return;
    CGame* pGame = Game();
    // One caption tab over the manager, each box and the staff list.
    if (CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr) {
        CAPTIONTAB tabs[9] = {};
        int n = 0;
        tabs[n++] = {2, 0, 0, kManagerLeft, kManagerTop - 17, kManagerRight - kManagerLeft};
        for (const BOX& box : kBoxes)
            tabs[n++] = {2, 1 + box.nKind, 0, box.nLeft, box.nTop - 17, box.nRight - box.nLeft};
        tabs[n++] = {2, 7, 0, kListLeft, kListTop - kRowHeight - 17, 300};
        DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallFont, kCaptionSet, tabs);
    }
    // The removal area: a framed panel that says what a drop there does.
    if (m_pBackground && m_pBackground->m_pSurface) {
        plat::DeviceContext* pDC = m_pBackground->m_pSurface->getDC();
        DrawFilledRectFramedRect(pDC, plat::Rect{kRemovalLeft, kRemovalTop, kRemovalRight, kRemovalBottom},
                                 kRemovalFill, kRemovalFrame);
        pDC->setBkMode(plat::TRANSPARENT);
        pDC->selectFont(g_hSmallFont);
        pDC->setTextColor(kText);
        plat::Rect rc{kRemovalLeft + 4, kRemovalTop, kRemovalRight - 4, kRemovalBottom};
        pDC->drawText(GetTableTextOrEmpty(kCaptionSet, kRemovalItem), -1, &rc,
                      plat::DT_CENTER | plat::DT_VCENTER | plat::DT_SINGLELINE);
        m_pBackground->m_pSurface->releaseDC(pDC);
    }
    if (m_pClub)
        DrawColourBoxes(m_pBackground, CGameTitlebar::GetKitColour(m_pClub->m_abyAttributes[0]),
                        CGameTitlebar::GetKitColour(m_pClub->m_abyAttributes[1]));
    else
        DrawColourBoxes(m_pBackground, kNoClubColour, 0xFFFFFF);
}

void CClientStaffSelection::BuildControls()
{
    auto addList = [this](uint32_t dwID, int nLeft, int nTop, int nRight, int nBottom, const LISTCOLUMN* pColumns,
                          bool bHeaders, CXScrollBar* pBar) {
        auto* pList =
            static_cast<CXListBoxEx*>(AddControl(XCONTROL_LISTBOXEX, nLeft, nTop, nRight, nBottom, dwID, nullptr));
        if (!pList)
            return;
        pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION | LISTSTYLE_NOTIFY_DOUBLE_CLICK, true, pBar,
                     true, nullptr, bHeaders, 0, false, false, true);
        pList->SetUpColumns(nLeft, nTop, nRight, nBottom, pColumns, false, false, nBottom - nTop, false);
        // The screen decides what every drop means; rows are not reordered.
        pList->m_bReportOnlyOutside = 1;
        pList->m_bReportOnlyInside = 1;
        pList->m_bDragWithin = 0;
        pList->m_bDragOut = dwID == ID_MANAGER ? 0 : 1;
    };
    addList(ID_MANAGER, kManagerLeft, kManagerTop, kManagerRight, kManagerBottom, kManagerColumns, false, nullptr);
    for (const BOX& box : kBoxes)
        addList(box.dwID, box.nLeft, box.nTop, box.nRight, box.nBottom, kBoxColumns, false, nullptr);
    auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 0, 0, 16, 100, ID_SCROLLBAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, 16, false, 0);
    addList(ID_ALL_STAFF, kListLeft, kListTop, kListRight, kListBottom, kStaffColumns, true, pBar);
    // Made after the screen showed its controls: shown here, or a staff
    // beyond the list's rows could not be reached.
    if (pBar)
        pBar->Show(true, false);
    AddBottomButton(ID_SACK);
}

// ---- filling ----

void CClientStaffSelection::Fill()
{
    if (CXListBoxEx* pManager = GetList(ID_MANAGER)) {
        pManager->ResetContent();
        // The club's manager, or the human who runs it.
        const CManagerDatabase* pManagerRecord = m_pClub ? m_pClub->GetManager() : nullptr;
        CDatabaseHandler* pDatabase = Database();
        if (!pManagerRecord && m_pHuman && pDatabase)
            pManagerRecord = pDatabase->GetManagerFromID(m_pHuman->GetManagerID());
        if (pManagerRecord)
            pManager->AddString(kText, "%s", pManagerRecord->GetShortName());
        pManager->SetSelection(-1);
        pManager->SetAutoRedraw(true);
        pManager->Redraw();
    }
    for (const BOX& box : kBoxes)
        FillBox(box.dwID);
    FillStaffList();
}

void CClientStaffSelection::AddBoxRow(CXListBoxEx* pBox, const CStaffDatabase& staff)
{
    const int nRow = pBox->AddString(kText, "%s\t%d", staff.GetShortName(), BoxRating(staff, BoxKind(pBox->m_dwID)));
    if (nRow >= 0)
        pBox->SetItemData(nRow, staff.GetId());
}

void CClientStaffSelection::FillBox(uint32_t dwBox)
{
    CXListBoxEx* pBox = GetList(dwBox);
    CDatabaseHandler* pDatabase = Database();
    const int nKind = BoxKind(dwBox);
    if (!pBox || nKind < 0)
        return;
    pBox->SetAutoRedraw(false);
    pBox->ResetContent();
    // The places in order, up to the first empty one.
    for (int p = 0; m_pClub && pDatabase && p < g_anClubStaffPlaces[nKind]; ++p) {
        const ID_STAFF idStaff = m_pClub->m_awStaffSlots[nKind][p];
        const CStaffDatabase* pStaff = idStaff ? pDatabase->GetStaffFromID(idStaff) : nullptr;
        if (!pStaff)
            break;
        AddBoxRow(pBox, *pStaff);
    }
    pBox->SetSelection(-1);
    pBox->SetAutoRedraw(true);
    pBox->Redraw();
}

void CClientStaffSelection::FillStaffList()
{
    CXListBoxEx* pList = GetList(ID_ALL_STAFF);
    CDatabaseHandler* pDatabase = Database();
    if (!pList)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    if (m_pClub && pDatabase)
        for (const void* pValue : m_pClub->m_lstStaff.Items<void>()) {
            const auto idStaff = static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(pValue));
            const CStaffDatabase* pStaff = pDatabase->GetStaffFromID(idStaff);
            if (!pStaff)
                continue;
            const std::string qualifications = StaffQualifications(*pStaff);
            const std::string wage = FormatMoney(pStaff->m_dwWage, 0, 0, MONEY_AS_STORED, 0, 1);
            const int nRow = pList->AddString(kText, "%s\t%d\t%d\t%d\t%s\t%s\t%s", pStaff->GetShortName(),
                                              pStaff->m_byRating, pStaff->GetAge(), pStaff->m_byPreviousRating,
                                              StaffPostName(pStaff->m_byKind), qualifications.c_str(), wage.c_str());
            if (nRow >= 0)
                pList->SetItemData(nRow, idStaff);
        }
    pList->Sort(0, true, LISTSORT_TEXT, 0);
    RecolourStaffList();
    pList->SetSelection(pList->GetCount() > 0 ? 0 : -1);
    pList->UpdateScrollBar();
    pList->SetAutoRedraw(true);
    pList->Redraw();
    ApplyRatingsOption(pList);
}

void CClientStaffSelection::RecolourStaffList()
{
    CXListBoxEx* pList = GetList(ID_ALL_STAFF);
    if (!pList || !m_pClub || !m_pHuman)
        return;
    // Staff on the chart in the manager's colour.
    const COLORREF crPlaced = m_pHuman->GetColourForClub();
    for (int nRow = 0; nRow < pList->GetCount(); ++nRow)
        pList->SetRowColour(nRow, m_pClub->IsStaffPlaced(static_cast<ID_STAFF>(pList->GetItemData(nRow))) ? crPlaced
                                                                                                            : kText);
    pList->Redraw();
}

// ---- the hierarchy ----

bool CClientStaffSelection::BoxHolds(uint32_t dwBox, ID_STAFF idStaff) const
{
    const CXListBoxEx* pBox = GetList(dwBox);
    for (int nRow = 0; pBox && nRow < pBox->GetCount(); ++nRow)
        if (static_cast<ID_STAFF>(pBox->GetItemData(nRow)) == idStaff)
            return true;
    return false;
}

bool CClientStaffSelection::AddStaffToHierarchyListBox(uint32_t dwBox, CStaffDatabase* pStaff)
{
    CXListBoxEx* pBox = GetList(dwBox);
    if (!pBox || !pStaff || BoxKind(dwBox) < 0 || BoxHolds(dwBox, pStaff->GetId()) ||
        pBox->GetCount() >= BoxPlaces(dwBox))
        return false;
    AddBoxRow(pBox, *pStaff);
    if (BoxKind(dwBox) == kScoutKind)
        TakeScoutSlot(*pStaff);
    pBox->Redraw();
    return true;
}

bool CClientStaffSelection::ReplaceStaffInHierarchyListBox(uint32_t dwBox, int nRow, CStaffDatabase* pStaff)
{
    CXListBoxEx* pBox = GetList(dwBox);
    const CStaffDatabase* pLeaving = GetRowStaff(dwBox, nRow);
    if (!pBox || !pStaff || nRow < 0 || nRow >= pBox->GetCount() || BoxHolds(dwBox, pStaff->GetId()))
        return false;
    if (BoxKind(dwBox) == kScoutKind) {
        if (pLeaving)
            HandScoutSlot(*pLeaving, *pStaff);
        else
            TakeScoutSlot(*pStaff);
    }
    // The row is rebuilt in place: the box keeps its order.
    pBox->DeleteString(nRow);
    pBox->AddString(kText, "%s\t%d", pStaff->GetShortName(), BoxRating(*pStaff, BoxKind(dwBox)));
    const int nLast = pBox->GetCount() - 1;
    pBox->SetItemData(nLast, pStaff->GetId());
    for (int r = nLast; r > nRow; --r)
        pBox->ExchangeRows(r, r - 1, false);
    pBox->Redraw();
    return true;
}

bool CClientStaffSelection::RemoveStaffFromHierarchyListBox(uint32_t dwBox, int nRow)
{
    CXListBoxEx* pBox = GetList(dwBox);
    if (!pBox || BoxKind(dwBox) < 0 || nRow < 0 || nRow >= pBox->GetCount())
        return false;
    const auto idStaff = static_cast<ID_STAFF>(pBox->GetItemData(nRow));
    pBox->DeleteString(nRow);
    if (BoxKind(dwBox) == kScoutKind)
        ReleaseScoutSlot(idStaff);
    pBox->SetSelection(-1);
    pBox->Redraw();
    return true;
}

void CClientStaffSelection::StoreHierarchy()
{
    if (!m_pClub)
        return;
    for (const BOX& box : kBoxes) {
        const CXListBoxEx* pBox = GetList(box.dwID);
        if (!pBox)
            continue;
        for (int p = 0; p < g_anClubStaffPlaces[box.nKind]; ++p)
            m_pClub->m_awStaffSlots[box.nKind][p] =
                p < pBox->GetCount() ? static_cast<ID_STAFF>(pBox->GetItemData(p)) : 0;
    }
    RecolourStaffList();
}

// ---- scouting slots ----

void CClientStaffSelection::TakeScoutSlot(const CStaffDatabase& staff)
{
    if (!m_pHuman)
        return;
    CScoutManager& scouts = m_pHuman->GetScoutManager();
    if (scouts.FindScoutSlot(staff.GetId()))
        return;
    if (SCOUTSLOT* pSlot = scouts.GetFreeScoutSlot())
        pSlot->wStaffId = staff.GetId();
    else
        DebugLog(0, "[CClientStaffSelection::TakeScoutSlot] No free scout slot for staff %u", staff.GetId());
}

void CClientStaffSelection::HandScoutSlot(const CStaffDatabase& leaving, const CStaffDatabase& joining)
{
    if (!m_pHuman)
        return;
    CScoutManager& scouts = m_pHuman->GetScoutManager();
    SCOUTSLOT* pSlot = scouts.FindScoutSlot(leaving.GetId());
    // A newcomer who has a slot already keeps his: the leaving scout's is freed.
    if (!pSlot || scouts.FindScoutSlot(joining.GetId())) {
        ReleaseScoutSlot(leaving.GetId());
        TakeScoutSlot(joining);
        return;
    }
    pSlot->wStaffId = joining.GetId();
    ForgetScoutReports(leaving.GetId());
}

void CClientStaffSelection::ReleaseScoutSlot(ID_STAFF idStaff)
{
    if (!m_pHuman || idStaff == 0)
        return;
    if (SCOUTSLOT* pSlot = m_pHuman->GetScoutManager().FindScoutSlot(idStaff))
        pSlot->wStaffId = 0;
    else
        DebugLog(0, "[CClientStaffSelection::ReleaseScoutSlot] Scout %u has no slot", idStaff);
    ForgetScoutReports(idStaff);
}

void CClientStaffSelection::ForgetScoutReports(ID_STAFF idStaff)
{
    // The reports the manager follows were his: nobody's now.
    if (m_pHuman && m_pHuman->GetScoutReportStaff() == idStaff) {
        m_pHuman->SetScoutReport(0, 0);
        m_pHuman->SetNavigationAlert(kScoutAlert, 0);
        if (g_pNavigationBar)
            g_pNavigationBar->UpdateStatusLights();
    }
}

// ---- dragging ----

void CClientStaffSelection::UserSlot24(uint32_t dwID, uint32_t x, uint32_t y)
{
    // A list reports the mouse while one of its rows is dragged.
    if (!m_bDragging) {
        const CXListBoxEx* pList = GetList(dwID);
        if (dwID == ID_MANAGER || !pList)
            return;
        m_bDragging = true;
        m_pDragged = GetRowStaff(dwID, pList->SourceRow());
    }
    m_nDragX = static_cast<int32_t>(x);
    m_nDragY = static_cast<int32_t>(y);
}

void CClientStaffSelection::OnLButtonUp(uint32_t flags, int x, int y)
{
    CGameClient::OnLButtonUp(flags, x, y);
    m_bDragging = false;
    m_pDragged = nullptr;
}

void CClientStaffSelection::OnDragNotify(uint32_t dwSourceID, uint32_t dwTargetID, uint32_t dwTargetRow,
                                         uint32_t dwSourceRow)
{
    m_bDragging = false;
    m_pDragged = nullptr;
    CStaffDatabase* pStaff = GetRowStaff(dwSourceID, static_cast<int>(dwSourceRow));
    if (!pStaff || BoxKind(dwTargetID) < 0 || BoxHolds(dwTargetID, pStaff->GetId()))
        return;
    // Below the box's rows he joins it; onto a row he takes its place.
    const int nTargetRow = static_cast<int>(dwTargetRow);
    const bool bChanged = nTargetRow < 0 ? AddStaffToHierarchyListBox(dwTargetID, pStaff)
                                         : ReplaceStaffInHierarchyListBox(dwTargetID, nTargetRow, pStaff);
    if (bChanged)
        StoreHierarchy();
}

void CClientStaffSelection::OnDragExternally(uint32_t dwID, int x, int y)
{
    m_bDragging = false;
    m_pDragged = nullptr;
    const CXListBoxEx* pBox = GetList(dwID);
    // The point is on the display; the removal area is in the screen's frame.
    const int nX = x - m_nLeft, nY = y - m_nTop;
    if (!pBox || BoxKind(dwID) < 0 || nX < kRemovalLeft || nX >= kRemovalRight || nY < kRemovalTop ||
        nY >= kRemovalBottom)
        return;
    if (RemoveStaffFromHierarchyListBox(dwID, pBox->SourceRow()))
        StoreHierarchy();
}

void CClientStaffSelection::DrawDraggedRow()
{
    CXSurface* pScreen = GetScreenSurface();
    if (!m_bDragging || !m_pDragged || !pScreen || !pScreen->m_pSurface)
        return;
    // Over the staff list the row looks like one of its rows, elsewhere like
    // a box row.
    const bool bOverList =
        m_nDragX >= kListLeft && m_nDragX < kListRight && m_nDragY >= kListTop && m_nDragY < kListBottom;
    const int nWidth = bOverList ? 382 : 166;
    const int x = m_nDragX + m_nLeft + 2, y = m_nDragY + m_nTop + 16;
    char szRow[160];
    if (bOverList)
        std::snprintf(szRow, sizeof szRow, "%s   %d   %s", m_pDragged->GetShortName(), m_pDragged->m_byRating,
                      StaffPostName(m_pDragged->m_byKind));
    else
        std::snprintf(szRow, sizeof szRow, "%s   %d", m_pDragged->GetShortName(), m_pDragged->m_byRating);
    plat::DeviceContext* pDC = pScreen->m_pSurface->getDC();
    DrawFilledRectFramedRect(pDC, plat::Rect{x, y, x + nWidth, y + kRowHeight}, kDragFill, kDragFrame);
    pDC->setBkMode(plat::TRANSPARENT);
    pDC->selectFont(g_hSmallFont);
    pDC->setTextColor(kText);
    plat::Rect rc{x + 4, y, x + nWidth - 4, y + kRowHeight};
    pDC->drawText(szRow, -1, &rc, plat::DT_LEFT | plat::DT_VCENTER | plat::DT_SINGLELINE);
    pScreen->m_pSurface->releaseDC(pDC);
}

void CClientStaffSelection::OnPaint()
{
    CGameClient::OnPaint();
    if (IsShowingCurrentClub())
        DrawDraggedRow();
}

// ---- choosing, opening and sacking ----

void CClientStaffSelection::OnSelChange(uint32_t dwID)
{
    if (dwID >= ID_MANAGER && dwID <= ID_ALL_STAFF)
        m_dwActiveList = dwID;
}

void CClientStaffSelection::OnDoubleClicked(uint32_t dwID)
{
    const CXListBoxEx* pList = GetList(dwID);
    if (!pList)
        return;
    if (dwID == ID_MANAGER) {
        if (m_pHuman && IsShowingCurrentClub())
            ShowManagerDetails(m_pHuman->GetManagerID());
        return;
    }
    // The member is chosen in the staff list, which the popup steps through.
    if (const CStaffDatabase* pStaff = GetRowStaff(dwID, pList->GetSelection()))
        if (SelectStaff(pStaff->GetId()))
            ShowStaffDetails(pStaff->GetId(), 1);
}

void CClientStaffSelection::OnEndPopup(CXPopup* pPopup)
{
    CGameClient::OnEndPopup(pPopup);
    // A new wage shows in the list; a sacking has filled it again already.
    if (pPopup == &GetStaffDetailsPopup() && IsShowingCurrentClub()) {
        const CStaffDatabase* pSelected = GetSelectedStaff();
        const ID_STAFF idSelected = pSelected ? pSelected->GetId() : 0;
        Fill();
        if (idSelected)
            SelectStaff(idSelected);
    }
}

void CClientStaffSelection::OnClicked(uint32_t dwID)
{
    if (dwID == ID_SACK) {
        AskToSackSelectedStaff();
        return;
    }
    CGameClient::OnClicked(dwID);
}

bool CClientStaffSelection::AskToSackSelectedStaff()
{
    const CStaffDatabase* pStaff = GetSelectedStaff();
    CGameMessageBox* pBox = GetGameMessageBox();
    if (!pStaff || !pBox)
        return false;
    char szText[256];
    const std::string compensation =
        FormatMoney(pStaff->m_dwWage / kSackCompensationDivisor, 0, 0, MONEY_AS_STORED, 0, 1);
    std::snprintf(szText, sizeof szText, GetTableTextOrEmpty(95, MESSAGE_SACK), pStaff->GetShortName(),
                  compensation.c_str());
    pBox->SetText(szText);
    m_idAskedToSack = pStaff->GetId();
    if (!ShowGameMessageBox(CGameMessageBox::MODE_OK_CANCEL, 0)) {
        m_idAskedToSack = 0;
        return false;
    }
    return true;
}

void CClientStaffSelection::OnEndMessageBoxPopup()
{
    const CGameMessageBox* pBox = GetGameMessageBox();
    if (!m_idAskedToSack || !pBox || pBox->GetTextItem() != 0) {
        CGameClient::OnEndMessageBoxPopup();
        return;
    }
    const ID_STAFF idAsked = m_idAskedToSack;
    m_idAskedToSack = 0;
    // The answer holds for the one he was asked about, still chosen.
    const CStaffDatabase* pSelected = GetSelectedStaff();
    if (pBox->m_dwResultID == 884 && pSelected && pSelected->GetId() == idAsked)
        SackSelectedStaff();
}

int32_t CClientStaffSelection::GetCurrentStaffSackCost()
{
    const CStaffDatabase* pStaff = GetSelectedStaff();
    return pStaff ? static_cast<int32_t>(pStaff->m_dwWage / kSackCompensationDivisor) : -1;
}

bool CClientStaffSelection::SackSelectedStaff()
{
    CStaffDatabase* pStaff = GetSelectedStaff();
    CDatabaseHandler* pDatabase = Database();
    const CXListBoxEx* pList = GetList(ID_ALL_STAFF);
    if (!pStaff || !pDatabase || !m_pClub)
        return pList && pList->GetCount() > 0;
    const ID_STAFF idStaff = pStaff->GetId();
    m_pClub->AddFinanceTransaction(kSackCompensationCategory, 0,
                                   static_cast<int32_t>(pStaff->m_dwWage / kSackCompensationDivisor), idStaff);
    // His chart places are his club's to close up; a scouting slot is ours.
    if (m_pHuman && m_pHuman->GetScoutManager().FindScoutSlot(idStaff))
        ReleaseScoutSlot(idStaff);
    pDatabase->SackStaff(idStaff);
    Fill();
    // A scout moved up into the scouts' box takes a slot.
    if (const CXListBoxEx* pScouts = GetList(KindBox(kScoutKind)))
        for (int nRow = 0; nRow < pScouts->GetCount(); ++nRow)
            if (const CStaffDatabase* pScout = GetRowStaff(pScouts->m_dwID, nRow))
                TakeScoutSlot(*pScout);
    return pList && pList->GetCount() > 0;
}

void CClientStaffSelection::OnGetToolTipText(uint32_t dwID, char* pszText)
{
    if (dwID == ID_ALL_STAFF)
        HoveredCellToolTip(GetList(dwID), pszText);
    if (!pszText[0])
        CGameClient::OnGetToolTipText(dwID, pszText);
}

// ---- bars and browsing ----

void CClientStaffSelection::UpdateBars()
{
    CGameClient::UpdateBars();
    ApplyRatingsOption(GetList(ID_ALL_STAFF));
}

uint32_t CClientStaffSelection::StepStaffList(int nStep)
{
    CXListBoxEx* pList = GetList(ID_ALL_STAFF);
    if (!pList || pList->GetCount() == 0)
        return 0;
    const int nRow = std::clamp(std::max(pList->GetSelection(), 0) + nStep, 0, pList->GetCount() - 1);
    pList->SetSelection(nRow);
    return static_cast<uint32_t>(pList->GetItemData(nRow));
}
