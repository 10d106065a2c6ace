#include "screens/CClientStaffMarket.h"

#include "shell/FilterButton.h"
#include "popups/StaffRows.h"

#include "popups/CPopupListFilter.h"
#include "popups/CPopupStaffDetails.h"

#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CStaffDatabase.h"
#include "database/PersonOwners.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"

#include <algorithm>
#include <string>

namespace {

constexpr int kRowHeight = 16;
constexpr COLORREF kText = plat::RGB(242, 242, 234);
constexpr COLORREF kNoClubColour = 0x9D37;
constexpr int kCaptionSet = 194;
constexpr int kNegotiationStateSet = 23;
constexpr int kMarketTop = 60, kMarketBottom = 348;
constexpr int kNegotiationsTop = 388, kNegotiationsBottom = 500;
constexpr int kListLeft = 8, kListRight = 624;
// The filter bit of each staff kind.
constexpr uint8_t kKindBits[STAFF_KINDS] = {128, 8, 64, 4, 32, 16};

enum : uint8_t { LEFT = 0, RIGHT = 2, RATING = 'y' };
// Free since (or offered on), name, rating, age, rating at the last review,
// post, and qualifications (or the negotiation's state): the text columns as
// wide as the bars and the age allow. The date and the post take the next
// column's margin, so that a whole date and "Commercial Manager" fit.
const LISTCOLUMN kMarketColumns[] = {
    {0, 62, 4, 0, LEFT, 0, 1127, LISTSORT_DATE, 0},        {62, 162, 0, 0, LEFT, 0, 1121, LISTSORT_TEXT, 0},
    {162, 188, 4, 0, RATING, 0, 1122, LISTSORT_NUMBER, 0}, {188, 218, 4, 0, RIGHT, 0, 965, LISTSORT_NUMBER, 0},
    {218, 252, 4, 0, RATING, 0, 1123, LISTSORT_NUMBER, 0}, {252, 385, 4, 0, LEFT, 0, 1124, LISTSORT_TEXT, 0},
    {385, 616, 0, 0, LEFT, 0, 1125, LISTSORT_TEXT, 0},     {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kNegotiationColumns[] = {
    {0, 62, 4, 0, LEFT, 0, 1128, LISTSORT_DATE, 0},        {62, 162, 0, 0, LEFT, 0, 1121, LISTSORT_TEXT, 0},
    {162, 188, 4, 0, RATING, 0, 1122, LISTSORT_NUMBER, 0}, {188, 218, 4, 0, RIGHT, 0, 965, LISTSORT_NUMBER, 0},
    {218, 252, 4, 0, RATING, 0, 1123, LISTSORT_NUMBER, 0}, {252, 385, 4, 0, LEFT, 0, 1124, LISTSORT_TEXT, 0},
    {385, 616, 0, 0, LEFT, 0, 1129, LISTSORT_TEXT, 0},     {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CDatabaseHandler* Database()
{
    const CGame* pGame = Game();
    return pGame ? pGame->GetDatabase() : nullptr;
}

}  // namespace

CClientStaffMarket& GetStaffMarketScreen()
{
    static CClientStaffMarket s_Screen;
    return s_Screen;
}

CClientStaffMarket::CClientStaffMarket() { m_wScreenID = SCREEN_STAFF_MARKET; }

CClientStaffMarket::~CClientStaffMarket() = default;

uint8_t CClientStaffMarket::KindFilterBit(int nKind)
{
    return nKind >= 0 && nKind < STAFF_KINDS ? kKindBits[nKind] : 0;
}

bool CClientStaffMarket::PassesFilter(uint8_t byFilter, bool bHomeNationality, int nKind)
{
    const uint8_t byNationality = bHomeNationality ? FILTER_HOME : FILTER_FOREIGN;
    return (byFilter & byNationality) != 0 && (byFilter & KindFilterBit(nKind)) != 0;
}

CSaveGame* CClientStaffMarket::Human() const
{
    CDatabaseHandler* pDatabase = Database();
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

CXListBox* CClientStaffMarket::GetMarketList() const { return dynamic_cast<CXListBox*>(FindControl(ID_MARKET_LIST)); }
CXListBox* CClientStaffMarket::GetNegotiationList() const
{
    return dynamic_cast<CXListBox*>(FindControl(ID_NEGOTIATIONS));
}

// ---- entry and exit ----

bool CClientStaffMarket::OnInitDialog()
{
    m_byFilter = kWholeFilter;
    m_pLastList = nullptr;
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar) {
        g_pTitlebar->SetMode(2);
        g_pTitlebar->SetSelectors({});
    }
    SetBackgroundBitmap("bgMain.bmp");
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();

    auto addList = [this](uint32_t dwID, const LISTCOLUMN* pColumns, uint32_t dwBarID, uint32_t dwUp, uint32_t dwDown,
                          int nTop, int nBottom) {
        auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 0, 0, 16, 100, dwBarID, nullptr));
        if (pBar)
            pBar->Create(dwUp, dwDown, 16, false, 0);
        auto* pList =
            static_cast<CXListBox*>(AddControl(XCONTROL_LISTBOX, kListLeft, nTop, kListRight, nBottom, dwID, nullptr));
        if (!pList)
            return;
        pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION | LISTSTYLE_NOTIFY_DOUBLE_CLICK, true, pBar,
                     true, nullptr, true, 0, false, false, true);
        pList->SetUpColumns(kListLeft, nTop, kListRight, nBottom, pColumns, false, false, nBottom - nTop, false);
        if (const CGame* pGame = Game())
            pList->SetDateOrder(pGame->GetOptions().m_nDate);
    };
    addList(ID_MARKET_LIST, kMarketColumns, ID_MARKET_BAR, 885, 886, kMarketTop, kMarketBottom);
    addList(ID_NEGOTIATIONS, kNegotiationColumns, ID_NEGOTIATIONS_BAR, 887, 888, kNegotiationsTop,
            kNegotiationsBottom);
    AddFilterButton(*this, ID_FILTER, kListRight, kMarketTop - kRowHeight - 16, m_pFilterFace);
    AddMarketToListBox();
    FillNegotiations();
    UpdateBars();
    return bResult;
}

void CClientStaffMarket::OnDestroy()
{
    CGameClient::OnDestroy();
    m_pLastList = nullptr;
    m_pFilterFace.reset();
}

void CClientStaffMarket::ConstructScreen()
{
    if (!MakeOwnBackground())
        return;
    CGame* pGame = Game();
    if (CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr) {
        static const CAPTIONTAB kTabs[] = {{2, 0, 0, kListLeft, kMarketTop - kRowHeight - 17, 300},
                                           {2, 1, 0, kListLeft, kNegotiationsTop - kRowHeight - 17, 300},
                                           {0, 0, 0, 0, 0, 0}};
        DrawCaptionTabs(this, m_pBackground, pTabs, g_hSmallFont, kCaptionSet, kTabs);
    }
    const CSaveGame* pHuman = Human();
    if (const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr)
        DrawColourBoxes(m_pBackground, CGameTitlebar::GetKitColour(pClub->m_abyAttributes[0]),
                        CGameTitlebar::GetKitColour(pClub->m_abyAttributes[1]));
    else
        DrawColourBoxes(m_pBackground, kNoClubColour, 0xFFFFFF);
}

// ---- the lists ----

void CClientStaffMarket::AddStaffRow(CXListBox* pList, const CStaffDatabase& staff, uint32_t dwDate,
                                     const char* pszLast)
{
    const int nRow = pList->AddString(kText, "%s\t%s\t%d\t%d\t%d\t%s\t%s", FormatPackedDate(dwDate),
                                      staff.GetShortName(), staff.m_byRating, staff.GetAge(), staff.m_byPreviousRating,
                                      StaffPostName(staff.m_byKind), pszLast);
    if (nRow >= 0)
        pList->SetItemData(nRow, staff.GetId());
}

void CClientStaffMarket::AddMarketToListBox()
{
    DebugLog(1, "[CClientStaffMarket::AddMarketToListBox] Adding to Market List Box");
    CXListBox* pList = GetMarketList();
    CDatabaseHandler* pDatabase = Database();
    if (!pList || !pDatabase)
        return;
    const CSaveGame* pHuman = Human();
    const int nHomeNationality = pHuman ? GetCountryNationality(pHuman->GetCountry()) : -1;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    // The pool's own order: the market is not sorted.
    for (const void* pValue : pDatabase->GetStaffPool().Items<void>()) {
        const CStaffDatabase* pStaff =
            pDatabase->GetStaffFromID(static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(pValue)));
        if (!pStaff || !PassesFilter(m_byFilter, pStaff->m_byNationality == nHomeNationality, pStaff->m_byKind))
            continue;
        const DATERECORD& freeSince = pStaff->m_DateJoined;
        AddStaffRow(pList, *pStaff, CDate::Pack(freeSince.wYear, freeSince.byMonth, freeSince.byDay), StaffQualifications(*pStaff).c_str());
    }
    ApplyRatingsOption(pList);
    pList->SetSelection(pList->GetCount() > 0 ? 0 : -1);
    pList->UpdateScrollBar();
    pList->SetAutoRedraw(true);
    pList->Redraw();
    DebugLog(1, "[CClientStaffMarket::AddMarketToListBox] Adding to Market List Box END!");
}

void CClientStaffMarket::FillNegotiations()
{
    CXListBox* pList = GetNegotiationList();
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = Human();
    if (!pList || !pDatabase)
        return;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    if (pHuman)
        for (const STAFFNEGOTIATION* pNegotiation : pHuman->GetStaffNegotiations().Items<STAFFNEGOTIATION>())
            if (const CStaffDatabase* pStaff = pDatabase->GetStaffFromID(pNegotiation->wStaffId))
                AddStaffRow(pList, *pStaff, pNegotiation->Made.GetValue(),
                            GetTableTextOrEmpty(kNegotiationStateSet, pNegotiation->byStatus));
    ApplyRatingsOption(pList);
    pList->UpdateScrollBar();
    pList->SetAutoRedraw(true);
    pList->Redraw();
}

void CClientStaffMarket::SetFilter(uint8_t byFilter)
{
    if (byFilter == m_byFilter)
        return;
    m_byFilter = byFilter;
    AddMarketToListBox();
}

// ---- rows opened ----

void CClientStaffMarket::OnClicked(uint32_t dwID)
{
    CGameClient::OnClicked(dwID);
    if (dwID == ID_FILTER)
        GetListFilterPopup().ShowBesideControl(kFilterTextSet, FindControl(ID_FILTER), m_byFilter);
}

void CClientStaffMarket::OnEndPopup(CXPopup* pPopup)
{
    CGameClient::OnEndPopup(pPopup);
    if (pPopup == &GetListFilterPopup())
        SetFilter(static_cast<uint8_t>(GetListFilterPopup().GetMask()));
    // An offer made, withdrawn or agreed to in the details shows at once.
    if (pPopup == &GetStaffDetailsPopup())
        FillNegotiations();
}

void CClientStaffMarket::OnDoubleClicked(uint32_t dwID)
{
    CXListBox* pList = dwID == ID_MARKET_LIST ? GetMarketList() : dwID == ID_NEGOTIATIONS ? GetNegotiationList() : nullptr;
    if (!pList)
        return;
    // The list the details popup steps through.
    m_pLastList = pList;
    const int nRow = pList->GetSelection();
    if (nRow >= 0 && nRow < pList->GetCount())
        ShowStaffDetails(static_cast<ID_STAFF>(pList->GetItemData(nRow)), 1);
}

void CClientStaffMarket::OnGetToolTipText(uint32_t dwID, char* pszText)
{
    if (dwID == ID_MARKET_LIST || dwID == ID_NEGOTIATIONS)
        HoveredCellToolTip(dynamic_cast<const CXListBox*>(FindControl(dwID)), pszText);
    if (!pszText[0])
        CGameClient::OnGetToolTipText(dwID, pszText);
}

void CClientStaffMarket::UpdateBars()
{
    CGameClient::UpdateBars();
    ApplyRatingsOption(GetMarketList());
}

uint32_t CClientStaffMarket::StepLastList(int nStep)
{
    if (!m_pLastList || m_pLastList->GetCount() == 0)
        return 0;
    const int nRow = std::clamp(std::max(m_pLastList->GetSelection(), 0) + nStep, 0, m_pLastList->GetCount() - 1);
    m_pLastList->SetSelection(nRow);
    return static_cast<uint32_t>(m_pLastList->GetItemData(nRow));
}
