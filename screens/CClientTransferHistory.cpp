#include "screens/CClientTransferHistory.h"

#include "popups/CPopupPlayerDetails.h"

#include "screens/CClientTransferMarket.h"
#include "shell/FilterButton.h"
#include "screens/ClubScreenLink.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "popups/CPopupListFilter.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/PersonOwners.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"

#include <algorithm>
#include <string>
#include <tuple>

namespace {

constexpr int kRowHeight = 16;
constexpr int kListLeft = 0, kListTop = 60, kListRight = 640, kListBottom = 476;
constexpr COLORREF kText = 0xFFFFFF;
constexpr int kKindSet = 150;
constexpr int kTransferCaptionSet = 173;
constexpr int kLoanCaptionSet = 174;
constexpr int kWordsSet = 114;
constexpr int kNoClubItem = 13;
constexpr int kSelectorKind = 21;
constexpr int kSelectorSeason = 6;
constexpr uint32_t kNotCountedTransferBits = 0x300;
constexpr uint32_t kNotCountedLoanBits = 0xC0;
constexpr int kBuyerColumn = 2, kSellerColumn = 3;

// Date, player, the club he joined, the club he left, position, fee or days.
#define COLUMN(l, r, align, header, sort) {l, r, 4, 0, align, 0, header, sort, 1}
const LISTCOLUMN kTransferColumns[] = {
    COLUMN(0, 58, 0, 204, LISTSORT_DATE),         COLUMN(58, 194, 0, 963, LISTSORT_AFTER_BLANK),
    COLUMN(194, 346, 0, 200, LISTSORT_TEXT),      COLUMN(346, 498, 0, 201, LISTSORT_TEXT),
    COLUMN(498, 528, 'x', 937, LISTSORT_NUMBER),  COLUMN(528, 608, 2, 202, LISTSORT_CURRENCY),
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kLoanColumns[] = {
    COLUMN(0, 58, 0, 204, LISTSORT_DATE),         COLUMN(58, 194, 0, 963, LISTSORT_AFTER_BLANK),
    COLUMN(194, 346, 0, 200, LISTSORT_TEXT),      COLUMN(346, 498, 0, 201, LISTSORT_TEXT),
    COLUMN(498, 528, 'x', 937, LISTSORT_NUMBER),  COLUMN(528, 578, 2, 999, LISTSORT_NUMBER),
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
#undef COLUMN

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CDatabaseHandler* Database() { return GetLoadedDatabase(); }

const char* Text(int nSet, int nItem) { return GetTableTextOrEmpty(nSet, nItem); }

COLORREF ClubColour(CDatabaseHandler& database, const CClubDatabase* pClub)
{
    const CSaveGame* pOwner = pClub ? database.GetSaveGameForClub(pClub) : nullptr;
    return pOwner ? pOwner->GetColourForClub() : kText;
}

const char* ClubName(const CClubDatabase* pClub) { return pClub ? pClub->GetName() : Text(kWordsSet, kNoClubItem); }

// A move between two divisions of the country is in both divisions' records.
template <typename V, typename Key>
void AddOnce(std::vector<V>& into, const std::vector<V>& records, Key key)
{
    for (const V& record : records)
        if (std::none_of(into.begin(), into.end(), [&](const V& kept) { return key(kept) == key(record); }))
            into.push_back(record);
}

}  // namespace

CClientTransferHistory::CClientTransferHistory() { m_wScreenID = SCREEN_TRANSFER_HISTORY; }

CClientTransferHistory::~CClientTransferHistory() = default;

bool CClientTransferHistory::PassesTransferMask(uint32_t dwMask, uint8_t byListingType, bool bHomeNationality,
                                                int nPosition)
{
    const uint8_t byGroup = byListingType == PLAYER_TRANSFER_LEAVING ? PLAYER_TRANSFER_LEAVING : PLAYER_TRANSFER_LISTED;
    return CClientTransferMarket::PassesTransferFilter(dwMask | kNotCountedTransferBits, byGroup, bHomeNationality,
                                                       nPosition, false);
}

bool CClientTransferHistory::PassesLoanMask(uint32_t dwMask, bool bHomeNationality, int nPosition)
{
    return CClientTransferMarket::PassesLoanFilter(dwMask | kNotCountedLoanBits, bHomeNationality, nPosition, false);
}

CXListBox* CClientTransferHistory::GetList() const { return dynamic_cast<CXListBox*>(FindControl(ID_LIST)); }

void CClientTransferHistory::ConstructScreen()
{
    if (!MakeOwnBackground())
        return;
}

int CClientTransferHistory::SeasonsKept() const { return m_pCountry ? m_pCountry->GetSeasonsKept() : 0; }

bool CClientTransferHistory::OnInitDialog()
{
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    // The division's country, else the human's, else the first.
    const CDivisionDatabase* pDivision =
        pDatabase ? pDatabase->GetDivisionFromID(static_cast<uint8_t>(m_dwChangeParameter & 0xFF)) : nullptr;
    m_pCountry = pDivision ? pDivision->m_pCountry : nullptr;
    if (!m_pCountry && pHuman)
        m_pCountry = pHuman->GetCountry();
    if (!m_pCountry && pDatabase)
        m_pCountry = pDatabase->GetFirstCountry();
    m_nKind = (m_dwChangeParameter >> 8 & 0xFF) == KIND_LOANS ? KIND_LOANS : KIND_TRANSFERS;
    m_nTransferFilter = CClientTransferMarket::kAllTransferFilters;
    m_nLoanFilter = CClientTransferMarket::kAllLoanFilters;
    m_nCurrentSeason = m_pCountry ? m_pCountry->GetSeasonYear() - kFirstSeasonYear : 0;
    const int nAsked = static_cast<int>(m_dwChangeParameter >> 16) - 1;
    m_nSeason = nAsked >= FirstSeason(m_nCurrentSeason, SeasonsKept()) && nAsked <= m_nCurrentSeason
                    ? nAsked
                    : m_nCurrentSeason;

    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    SetBackgroundBitmap("bgMain.bmp");
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();
    m_RowIcons.Load();

    m_bFilling = true;
    if (g_pTitlebar) {
        g_pTitlebar->SetSelectors({CGameTitlebar::SELECTOR_COUNTRY, kSelectorKind, kSelectorSeason});
        if (m_pCountry)
            ShowChoice(CGameTitlebar::SELECTOR_COUNTRY, m_pCountry->GetID());
    }
    FillKindSelector();
    FillSeasonSelector();
    m_bFilling = false;

    auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 10, 20, 24, 320, ID_SCROLLBAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, 16, false, 0);
    auto* pList = static_cast<CXListBox*>(
        AddControl(XCONTROL_LISTBOX, kListLeft, kListTop, kListRight, kListBottom, ID_LIST, nullptr));
    if (pList) {
        pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION | LISTSTYLE_NOTIFY_DOUBLE_CLICK, true,
                     pBar, true, nullptr, true, 0, false, false, false);
        if (const CGame* pGame = Game())
            pList->SetDateOrder(pGame->GetOptions().m_nDate);
    }
    AddFilterButton(*this, ID_FILTER, kListRight - 16, kListTop - 16, m_pFilterFace);
    DrawPanel();
    if (pList)
        SetFocus(pList);
    UpdateBars();
    return bResult;
}

void CClientTransferHistory::OnDestroy()
{
    CGameClient::OnDestroy();
    FreeRecords();
    m_nKind = KIND_TRANSFERS;
    m_RowIcons.Clear();
    m_pFilterFace.reset();
}

void CClientTransferHistory::FreeRecords()
{
    m_Transfers.clear();
    m_Loans.clear();
}

// ---- the title bar's choices ----

void CClientTransferHistory::FillKindSelector()
{
    CXComboBox* pKinds = g_pTitlebar ? g_pTitlebar->GetSelector(kSelectorKind) : nullptr;
    if (!pKinds)
        return;
    pKinds->SetAutoRedraw(false);
    pKinds->ResetContent();
    for (int i = KIND_TRANSFERS; i <= KIND_LOANS; ++i)
        pKinds->SetItemData(pKinds->AddString(kText, "%s", Text(kKindSet, i)), static_cast<uint32_t>(i));
    pKinds->SetAutoRedraw(true);
    ShowChoice(kSelectorKind, static_cast<uint32_t>(m_nKind));
}

void CClientTransferHistory::FillSeasonSelector()
{
    CXComboBox* pSeasons = g_pTitlebar ? g_pTitlebar->GetSelector(kSelectorSeason) : nullptr;
    if (!pSeasons)
        return;
    pSeasons->SetAutoRedraw(false);
    pSeasons->ResetContent();
    for (int i = FirstSeason(m_nCurrentSeason, SeasonsKept()); i <= m_nCurrentSeason; ++i)
        pSeasons->SetItemData(
            pSeasons->AddString(kText, "%d / %d", kFirstSeasonYear + i, kFirstSeasonYear + i + 1),
            static_cast<uint32_t>(i));
    pSeasons->SetAutoRedraw(true);
    ShowChoice(kSelectorSeason, static_cast<uint32_t>(m_nSeason));
}

void CClientTransferHistory::ShowChoice(int nSelector, uint32_t dwData)
{
    CXComboBox* pBox = g_pTitlebar ? g_pTitlebar->GetSelector(nSelector) : nullptr;
    const int nRow = pBox ? pBox->FindItemData(dwData) : -1;
    if (nRow < 0)
        return;
    pBox->ShowSelection(nRow);
}

void CClientTransferHistory::OnSelChange(uint32_t dwID)
{
    if (m_bFilling || !g_pTitlebar)
        return;
    auto chosen = [](int nSelector) -> int64_t {
        const CXComboBox* pBox = g_pTitlebar->GetSelector(nSelector);
        const int nRow = pBox ? pBox->GetSelection() : -1;
        return nRow >= 0 ? pBox->GetItemData(nRow) : -1;
    };
    if (dwID == ID_COUNTRY_CHOICE) {
        CDatabaseHandler* pDatabase = Database();
        const int64_t nCountry = chosen(CGameTitlebar::SELECTOR_COUNTRY);
        if (CCountryDatabase* pCountry =
                pDatabase && nCountry > 0 ? pDatabase->GetCountryFromID(static_cast<ID_COUNTRY>(nCountry)) : nullptr)
            ShowCountry(pCountry);
    } else if (dwID == ID_KIND_CHOICE) {
        if (const int64_t nKind = chosen(kSelectorKind); nKind >= 0)
            ShowKind(static_cast<int>(nKind));
    } else if (dwID == ID_SEASON_CHOICE) {
        if (const int64_t nSeason = chosen(kSelectorSeason); nSeason >= 0)
            ShowSeason(static_cast<int>(nSeason));
    }
}

void CClientTransferHistory::ShowCountry(CCountryDatabase* pCountry)
{
    if (!pCountry)
        return;
    m_pCountry = pCountry;
    // Countries turn their seasons on their own dates.
    m_nCurrentSeason = pCountry->GetSeasonYear() - kFirstSeasonYear;
    m_nSeason = std::clamp(m_nSeason, FirstSeason(m_nCurrentSeason, SeasonsKept()), m_nCurrentSeason);
    m_bFilling = true;
    FillSeasonSelector();
    m_bFilling = false;
    DrawPanel();
}

void CClientTransferHistory::ShowKind(int nKind)
{
    if (nKind != KIND_TRANSFERS && nKind != KIND_LOANS)
        return;
    m_nKind = nKind;
    ShowChoice(kSelectorKind, static_cast<uint32_t>(nKind));
    DrawPanel();
}

void CClientTransferHistory::ShowSeason(int nSeasonIndex)
{
    if (nSeasonIndex < FirstSeason(m_nCurrentSeason, SeasonsKept()) || nSeasonIndex > m_nCurrentSeason)
        return;
    m_nSeason = nSeasonIndex;
    ShowChoice(kSelectorSeason, static_cast<uint32_t>(nSeasonIndex));
    DrawPanel();
}

std::vector<std::string> CClientTransferHistory::FilterEntries(int nKind)
{
    std::vector<std::string> entries = CPopupListFilter::TableEntries(
        nKind == KIND_LOANS ? CClientTransferMarket::kLoanFilterTextSet : CClientTransferMarket::kTransferFilterTextSet);
    // The listing group is the last: its heading and criteria go.
    for (size_t n = entries.size(); n-- > 0;)
        if (!entries[n].empty() && entries[n][0] == '"') {
            entries.resize(n);
            break;
        }
    return entries;
}

void CClientTransferHistory::OnClicked(uint32_t dwID)
{
    CGameClient::OnClicked(dwID);
    if (dwID == ID_FILTER)
        GetListFilterPopup().ShowBesideControl(FilterEntries(m_nKind), FindControl(ID_FILTER), GetFilter());
}

void CClientTransferHistory::OnEndPopup(CXPopup* pPopup)
{
    CGameClient::OnEndPopup(pPopup);
    if (pPopup == &GetListFilterPopup())
        SetFilter(GetListFilterPopup().GetMask() | (m_nKind == KIND_LOANS ? kNotCountedLoanBits : kNotCountedTransferBits));
}

void CClientTransferHistory::SetFilter(uint32_t dwMask)
{
    uint32_t& dwCurrent = m_nKind == KIND_LOANS ? m_nLoanFilter : m_nTransferFilter;
    dwMask &= m_nKind == KIND_LOANS ? CClientTransferMarket::kAllLoanFilters
                                    : CClientTransferMarket::kAllTransferFilters;
    if (dwMask == dwCurrent)
        return;
    dwCurrent = dwMask;
    DrawPanel();
}

// ---- the list ----

void CClientTransferHistory::DrawPanel()
{
    CXListBox* pList = GetList();
    if (!pList)
        return;
    ShowAllControls(false);
    ResetOwnBackground();
    RestoreBackground(0, 0, Width(), Height());
    const bool bLoans = m_nKind == KIND_LOANS;
    pList->SetUpColumns(kListLeft, kListTop, kListRight, kListBottom, bLoans ? kLoanColumns : kTransferColumns, false,
                        false, kListBottom - kListTop, false);
    if (bLoans)
        LoadLoans();
    else
        LoadTransfers();
    CGame* pGame = Game();
    if (CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr) {
        const CAPTIONTAB tabs[] = {{2, 0, 0, kListLeft, kListTop - pList->m_nHeaderHeight - 17, 300},
                                   {0, 0, 0, 0, 0, 0}};
        DrawCaptionTabs(this, m_pDrawingSurface, pTabs, g_hSmallFont, bLoans ? kLoanCaptionSet : kTransferCaptionSet,
                        tabs);
    }
    ShowAllControls(true);
}

void CClientTransferHistory::LoadTransfers()
{
    CXListBox* pList = GetList();
    CDatabaseHandler* pDatabase = Database();
    if (!pList || !pDatabase || !m_pCountry)
        return;
    FreeRecords();
    const int nYear = kFirstSeasonYear + m_nSeason;
    for (const CDivisionDatabase* pDivision : m_pCountry->GetDivisions().Items<CDivisionDatabase>())
        AddOnce(m_Transfers, pDivision->GetSeasonTransfers(nYear), [](const TRANSFERHISTORYVALUES& v) {
            return std::make_tuple(v.dwValue0, v.wValue0, v.wValue1, v.date.GetValue());
        });
    const CSaveGame* pHuman = pDatabase->GetCurrentSaveGame();
    const int nHomeNationality = pHuman ? GetCountryNationality(pHuman->GetCountry()) : -1;
    pList->SetAutoRedraw(false);
    for (int nRow = 0; nRow < pList->GetCount(); ++nRow)
        pList->RemoveRowGraphics(nRow);
    pList->ResetContent();
    for (size_t i = 0; i < m_Transfers.size(); ++i) {
        const TRANSFERHISTORYVALUES& record = m_Transfers[i];
        const CPlayerDatabase* pPlayer = pDatabase->GetPlayerFromID(static_cast<ID_PLAYER>(record.dwValue0));
        if (!pPlayer || !PassesTransferMask(m_nTransferFilter, record.byValue,
                                            pPlayer->m_byNationality == nHomeNationality, pPlayer->m_byPosition))
            continue;
        const CClubDatabase* pSeller = pDatabase->GetClubFromID(record.wValue0);
        const CClubDatabase* pBuyer = pDatabase->GetClubFromID(record.wValue1);
        const std::string fee = FormatMoney(static_cast<double>(record.dwValue1), 0, 0, MONEY_AS_STORED, 0, 1);
        const int nRow = pList->AddString(kText, "%s\t%s\t%s\t%s\t%d\t%s", FormatPackedDate(record.date.GetValue()),
                                          pPlayer->GetShortName(), ClubName(pBuyer), ClubName(pSeller),
                                          pPlayer->m_byPosition, fee.c_str());
        if (nRow < 0)
            continue;
        pList->AddColumnColour(nRow, kBuyerColumn, ClubColour(*pDatabase, pBuyer));
        pList->AddColumnColour(nRow, kSellerColumn, ClubColour(*pDatabase, pSeller));
        m_RowIcons.AddPosition(*pList, nRow, pPlayer->m_byPosition, 4);
        pList->SetItemData(nRow, static_cast<int64_t>(i));
    }
    pList->Sort(0, true, LISTSORT_DATE, 0);
    pList->SetSelection(pList->GetCount() > 0 ? 0 : -1);
    pList->UpdateScrollBar();
    pList->SetAutoRedraw(true);
    pList->Redraw();
}

void CClientTransferHistory::LoadLoans()
{
    CXListBox* pList = GetList();
    CDatabaseHandler* pDatabase = Database();
    if (!pList || !pDatabase || !m_pCountry)
        return;
    FreeRecords();
    const int nYear = kFirstSeasonYear + m_nSeason;
    for (const CDivisionDatabase* pDivision : m_pCountry->GetDivisions().Items<CDivisionDatabase>())
        AddOnce(m_Loans, pDivision->GetSeasonLoans(nYear), [](const LOANHISTORYVALUES& v) {
            return std::make_tuple(v.dwValue, v.awValues[0], v.awValues[1], v.awValues[3], v.abyValues[0],
                                   v.abyValues[1]);
        });
    const CSaveGame* pHuman = pDatabase->GetCurrentSaveGame();
    const int nHomeNationality = pHuman ? GetCountryNationality(pHuman->GetCountry()) : -1;
    pList->SetAutoRedraw(false);
    for (int nRow = 0; nRow < pList->GetCount(); ++nRow)
        pList->RemoveRowGraphics(nRow);
    pList->ResetContent();
    for (size_t i = 0; i < m_Loans.size(); ++i) {
        const LOANHISTORYVALUES& record = m_Loans[i];
        const CPlayerDatabase* pPlayer = pDatabase->GetPlayerFromID(static_cast<ID_PLAYER>(record.dwValue));
        if (!pPlayer ||
            !PassesLoanMask(m_nLoanFilter, pPlayer->m_byNationality == nHomeNationality, pPlayer->m_byPosition))
            continue;
        const CClubDatabase* pLender = pDatabase->GetClubFromID(record.awValues[0]);
        const CClubDatabase* pBorrower = pDatabase->GetClubFromID(record.awValues[1]);
        const CDate date(record.awValues[3], record.abyValues[1], record.abyValues[0]);
        const int nRow =
            pList->AddString(kText, "%s\t%s\t%s\t%s\t%d\t%d", FormatPackedDate(date.GetValue()),
                             pPlayer->GetShortName(), ClubName(pBorrower), ClubName(pLender), pPlayer->m_byPosition,
                             record.awValues[2]);
        if (nRow < 0)
            continue;
        pList->AddColumnColour(nRow, kBuyerColumn, ClubColour(*pDatabase, pBorrower));
        pList->AddColumnColour(nRow, kSellerColumn, ClubColour(*pDatabase, pLender));
        m_RowIcons.AddPosition(*pList, nRow, pPlayer->m_byPosition, 4);
        pList->SetItemData(nRow, static_cast<int64_t>(i));
    }
    pList->Sort(0, true, LISTSORT_DATE, 0);
    pList->SetSelection(pList->GetCount() > 0 ? 0 : -1);
    pList->UpdateScrollBar();
    pList->SetAutoRedraw(true);
    pList->Redraw();
}

// ---- rows opened ----

void CClientTransferHistory::OnDoubleClicked(uint32_t dwID)
{
    CXListBox* pList = GetList();
    CDatabaseHandler* pDatabase = Database();
    const int nRow = pList && dwID == ID_LIST ? pList->GetSelection() : -1;
    if (nRow < 0 || !pDatabase)
        return;
    const auto nRecord = static_cast<size_t>(pList->GetItemData(nRow));
    const int nColumn = pList->HoverColumn();
    if (nColumn != kBuyerColumn && nColumn != kSellerColumn) {
        if (const uint32_t idPlayer = PlayerOfRecord(nRecord))
            ShowPlayerDetails(idPlayer);
        return;
    }
    ID_CLUB idClub = 0;
    if (m_nKind == KIND_LOANS && nRecord < m_Loans.size())
        idClub = m_Loans[nRecord].awValues[nColumn == kBuyerColumn ? 1 : 0];
    else if (m_nKind == KIND_TRANSFERS && nRecord < m_Transfers.size())
        idClub = nColumn == kBuyerColumn ? m_Transfers[nRecord].wValue1 : m_Transfers[nRecord].wValue0;
    OpenClubScreenOrSay(pDatabase->GetClubFromID(idClub));
}

uint32_t CClientTransferHistory::MoveSelection(int nStep)
{
    CXListBox* pList = GetList();
    if (!pList || pList->GetCount() == 0)
        return 0;
    const int nRow = std::clamp(std::max(pList->GetSelection(), 0) + nStep, 0, pList->GetCount() - 1);
    pList->SetSelection(nRow);
    pList->Scroll(LISTSCROLL_TO_ROW_TOO, nRow);
    return PlayerOfRecord(static_cast<size_t>(pList->GetItemData(nRow)));
}

uint32_t CClientTransferHistory::PlayerOfRecord(size_t nRecord) const
{
    if (m_nKind == KIND_LOANS)
        return nRecord < m_Loans.size() ? m_Loans[nRecord].dwValue : 0;
    return nRecord < m_Transfers.size() ? m_Transfers[nRecord].dwValue0 : 0;
}

void CClientTransferHistory::OnPrint() { PrintControl(ID_LIST); }

void CClientTransferHistory::UpdateBars()
{
    CGameClient::UpdateBars();
    if (CXListBox* pList = GetList())
        pList->Redraw();
}
