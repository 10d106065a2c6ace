#include "screens/CClientTransferMarket.h"
#include "screens/ClubScreenLink.h"
#include "screens/TransferScreenLists.h"
#include "shell/FilterButton.h"

#include "popups/CPopupListFilter.h"

#include "popups/CPopupPlayerDetails.h"
#include "shell/CGame.h"
#include "shell/PlayerRowIcons.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/CGamePopup.h"
#include "shell/CScreenRegistry.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CMarketEntries.h"
#include "database/CPlayerDatabase.h"
#include "database/CShortlistEntry.h"
#include "database/PersonOwners.h"
#include "season/CSaveGame.h"
#include "xframework/CXAnimation.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr COLORREF kText = plat::RGB(242, 242, 234);
constexpr int kTransferCaptionSet = 169;
constexpr int kLoanCaptionSet = 170;
constexpr int kWordsSet = 114;
constexpr int kNoClubItem = 13;
constexpr int kAllItem = 15;
constexpr int kMarketTop = 60, kMarketBottom = 348;
constexpr int kShortlistTop = 388, kShortlistBottom = 480;
// Both lists span the same columns, the scroll bars to their right.
constexpr int kListLeft = 8, kListRight = 624;

// Date, player, club, position, age, fitness, rating, contract, price.
const LISTCOLUMN kTransferColumns[] = {
    {0, 58, 4, 0, 0, 0, 980, LISTSORT_DATE, 0},       {58, 186, 4, 0, 0, 0, 963, LISTSORT_TEXT, 0},
    {186, 338, 4, 0, 0, 0, 938, LISTSORT_TEXT, 1},    {338, 368, 0, 0, 'x', 0, 937, LISTSORT_NUMBER, 0},
    {368, 402, 4, 0, 2, 0, 965, LISTSORT_NUMBER, 0},  {402, 432, 4, 0, 2, 0, 966, LISTSORT_NUMBER, 0},
    {432, 462, 4, 0, 2, 0, 968, LISTSORT_NUMBER, 0},  {462, 522, 4, 0, 2, 0, 193, LISTSORT_NUMBER, 0},
    {522, 592, 4, 0, 2, 0, 969, LISTSORT_NUMBER, 0},  {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kLoanColumns[] = {
    {0, 58, 4, 0, 0, 0, 980, LISTSORT_DATE, 0},       {58, 186, 4, 0, 0, 0, 963, LISTSORT_TEXT, 0},
    {186, 338, 4, 0, 0, 0, 938, LISTSORT_TEXT, 1},    {338, 368, 0, 0, 'x', 0, 937, LISTSORT_NUMBER, 0},
    {368, 402, 4, 0, 2, 0, 965, LISTSORT_NUMBER, 0},  {402, 432, 4, 0, 2, 0, 966, LISTSORT_NUMBER, 0},
    {432, 462, 4, 0, 2, 0, 968, LISTSORT_NUMBER, 0},  {462, 522, 4, 0, 2, 0, 193, LISTSORT_NUMBER, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
const LISTCOLUMN kShortlistColumns[] = {
    {0, 58, 4, 0, 0, 0, 980, LISTSORT_DATE, 0},       {58, 186, 4, 0, 0, 0, 963, LISTSORT_TEXT, 0},
    {186, 338, 4, 0, 0, 0, 938, LISTSORT_TEXT, 1},    {338, 368, 0, 0, 'x', 0, 937, LISTSORT_NUMBER, 0},
    {368, 402, 4, 0, 2, 0, 965, LISTSORT_NUMBER, 0},  {402, 432, 4, 0, 2, 0, 966, LISTSORT_NUMBER, 0},
    {432, 462, 4, 0, 2, 0, 968, LISTSORT_NUMBER, 0},  {462, 532, 4, 0, 2, 0, 969, LISTSORT_NUMBER, 0},
    {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0},
};
constexpr int kClubColumn = 2;

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CDatabaseHandler* Database()
{
    const CGame* pGame = Game();
    return pGame ? pGame->GetDatabase() : nullptr;
}

CXComboBox* Choice(const CXClient* pClient, uint32_t dwID) { return dynamic_cast<CXComboBox*>(pClient->FindControl(dwID)); }

// Any set bit of the group's bits [nFirst, nFirst + nCount) at the index.
bool GroupAllows(uint32_t dwMask, int nFirst, int nIndex) { return (dwMask >> (nFirst + nIndex) & 1u) != 0; }

int ClampedPosition(const CPlayerDatabase& player)
{
    return std::min<int>(player.m_byPosition, PLAYER_POSITION_COUNT - 1);
}

// A language text, empty where the language has none.
const char* Text(int nSet, int nItem) { return GetTableTextOrEmpty(nSet, nItem); }

const char* ClubName(const CPlayerDatabase& player)
{
    return player.m_pClub ? player.m_pClub->GetName() : Text(kWordsSet, kNoClubItem);
}

}  // namespace

CClientTransferMarket::CClientTransferMarket() { m_wScreenID = SCREEN_TRANSFER_MARKET; }

CClientTransferMarket::~CClientTransferMarket() = default;

bool CClientTransferMarket::PassesTransferFilter(uint32_t dwMask, uint8_t byListingType, bool bHomeNationality,
                                                 int nPosition, bool bNewSinceVisit)
{
    if (byListingType != PLAYER_TRANSFER_LISTED && byListingType != PLAYER_TRANSFER_LEAVING)
        return false;
    return GroupAllows(dwMask, 0, byListingType == PLAYER_TRANSFER_LISTED ? 0 : 1) &&
           GroupAllows(dwMask, 2, bHomeNationality ? 0 : 1) && nPosition >= 0 && nPosition < PLAYER_POSITION_COUNT &&
           GroupAllows(dwMask, 4, nPosition) && GroupAllows(dwMask, 8, bNewSinceVisit ? 1 : 0);
}

bool CClientTransferMarket::PassesLoanFilter(uint32_t dwMask, bool bHomeCountry, int nPosition, bool bNewSinceVisit)
{
    return GroupAllows(dwMask, 0, bHomeCountry ? 0 : 1) && nPosition >= 0 && nPosition < PLAYER_POSITION_COUNT &&
           GroupAllows(dwMask, 2, nPosition) && GroupAllows(dwMask, 6, bNewSinceVisit ? 1 : 0);
}

CDate CClientTransferMarket::ListingDate(const CDate& today, const CPlayerDatabase& player)
{
    return CDate(today.GetValue(), -static_cast<int>(player.m_wDaysListed));
}

CSaveGame* CClientTransferMarket::Human() const
{
    CDatabaseHandler* pDatabase = Database();
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

CXListBox* CClientTransferMarket::GetMarketList() const { return dynamic_cast<CXListBox*>(FindControl(ID_MARKET_LIST)); }
CXListBox* CClientTransferMarket::GetShortlist() const { return dynamic_cast<CXListBox*>(FindControl(ID_SHORTLIST)); }

// ---- entry and exit ----

bool CClientTransferMarket::OnInitDialog()
{
    CDatabaseHandler* pDatabase = Database();
    const int nCountry = static_cast<int>(m_dwChangeParameter & 0xFFFF);
    m_pCountry = pDatabase && nCountry ? pDatabase->GetCountryFromID(static_cast<ID_COUNTRY>(nCountry)) : nullptr;
    m_nListKind = (m_dwChangeParameter >> 16) == LIST_LOAN ? LIST_LOAN : LIST_TRANSFER;
    m_nShortlistSel = -1;
    m_dwTransferFilter = kAllTransferFilters;
    m_dwLoanFilter = kAllLoanFilters;
    m_pLastList = nullptr;
    if (g_pNavigationBar)
        g_pNavigationBar->SetMode(2);
    if (g_pTitlebar)
        g_pTitlebar->SetMode(2);
    SetBackgroundBitmap("bgMain.bmp");
    ConstructScreen();
    const bool bResult = CGameClient::OnInitDialog();

    m_RowIcons.Load();
    transfer_lists::AddList(*this, ID_MARKET_LIST, ID_MARKET_BAR, 885, 886, kListLeft, kMarketTop, kListRight,
                            kMarketBottom);
    transfer_lists::AddList(*this, ID_SHORTLIST, ID_SHORTLIST_BAR, 887, 888, kListLeft, kShortlistTop, kListRight,
                            kShortlistBottom);
    AddFilterButton(*this, ID_FILTER, kListRight - 16, kMarketTop - 16, m_pFilterFace);
    int x = 16;
    for (uint32_t dwID : {ID_COUNTRY_CHOICE, ID_KIND_CHOICE}) {
        transfer_lists::AddChoice(*this, dwID, x);
        x += transfer_lists::kChoiceWidth + 10;
    }
    FillChoices();
    DrawPanel();
    UpdateBars();
    return bResult;
}

void CClientTransferMarket::OnDestroy()
{
    CGameClient::OnDestroy();
    if (CSaveGame* pHuman = Human()) {
        const CDate today = Database()->GetGameDate();
        pHuman->SetLastMarketVisit(LIST_TRANSFER, today);
        pHuman->SetLastMarketVisit(LIST_LOAN, today);
    }
    m_nListKind = LIST_TRANSFER;
    m_pLastList = nullptr;
    m_RowIcons.Clear();
    m_pFilterFace.reset();
}

void CClientTransferMarket::ConstructScreen()
{
    if (!MakeOwnBackground())
        return;
}

// ---- the choices ----

void CClientTransferMarket::FillChoices()
{
    m_bFilling = true;
    const CDatabaseHandler* pDatabase = Database();
    if (CXComboBox* pCountries = Choice(this, ID_COUNTRY_CHOICE); pCountries && pDatabase) {
        pCountries->SetAutoRedraw(false);
        pCountries->ResetContent();
        pCountries->AddString(kText, "%s", Text(kWordsSet, kAllItem));
        pCountries->SetItemData(0, 0);
        int nRow = 1, nCurrent = 0;
        for (const CCountryDatabase* pCountry : pDatabase->GetCountries().Items<CCountryDatabase>()) {
            pCountries->AddString(kText, "%s", pCountry->GetName());
            pCountries->SetItemData(nRow, pCountry->GetID());
            if (pCountry == m_pCountry)
                nCurrent = nRow;
            ++nRow;
        }
        pCountries->SetAutoRedraw(true);
        pCountries->SetCurSel(nCurrent);
    }
    if (CXComboBox* pKinds = Choice(this, ID_KIND_CHOICE)) {
        transfer_lists::FillKindChoice(pKinds);
        pKinds->SetCurSel(m_nListKind);
    }
    m_bFilling = false;
}

void CClientTransferMarket::OnSelChange(uint32_t dwID)
{
    if (m_bFilling)
        return;
    if (dwID == ID_COUNTRY_CHOICE) {
        const CXComboBox* pCountries = Choice(this, ID_COUNTRY_CHOICE);
        const int nRow = pCountries ? pCountries->GetSelection() : -1;
        const CDatabaseHandler* pDatabase = Database();
        if (nRow < 0 || !pDatabase)
            return;
        const auto idCountry = static_cast<ID_COUNTRY>(pCountries->GetItemData(nRow));
        ShowCountry(idCountry ? pDatabase->GetCountryFromID(idCountry) : nullptr);
    } else if (dwID == ID_KIND_CHOICE) {
        const CXComboBox* pKinds = Choice(this, ID_KIND_CHOICE);
        const int nRow = pKinds ? pKinds->GetSelection() : -1;
        if (nRow >= 0)
            ShowList(static_cast<int>(pKinds->GetItemData(nRow)));
    }
}

void CClientTransferMarket::ShowList(int nListKind)
{
    if (nListKind != LIST_TRANSFER && nListKind != LIST_LOAN)
        return;
    m_nListKind = nListKind;
    if (CXComboBox* pKinds = Choice(this, ID_KIND_CHOICE); pKinds && pKinds->GetSelection() != nListKind) {
        m_bFilling = true;
        pKinds->SetCurSel(nListKind);
        m_bFilling = false;
    }
    DrawPanel();
}

void CClientTransferMarket::ShowCountry(CCountryDatabase* pCountry)
{
    m_pCountry = pCountry;
    if (m_nListKind == LIST_LOAN)
        FillLoanList();
    else
        FillTransferList();
}

void CClientTransferMarket::SetFilter(uint32_t dwMask)
{
    uint32_t& dwCurrent = m_nListKind == LIST_LOAN ? m_dwLoanFilter : m_dwTransferFilter;
    dwMask &= m_nListKind == LIST_LOAN ? kAllLoanFilters : kAllTransferFilters;
    if (dwMask == dwCurrent)
        return;
    dwCurrent = dwMask;
    if (m_nListKind == LIST_LOAN)
        FillLoanList();
    else
        FillTransferList();
}

// ---- the lists ----

void CClientTransferMarket::DrawPanel()
{
    CXListBox* pMarket = GetMarketList();
    CXListBox* pShortlist = GetShortlist();
    if (!pMarket || !pShortlist)
        return;
    ShowAllControls(false);
    RestoreBackground(0, 0, Width(), Height());
    pShortlist->SetUpColumns(kListLeft, kShortlistTop, kListRight, kShortlistBottom, kShortlistColumns, false, false,
                             kShortlistBottom - kShortlistTop, false);
    FillShortlist();
    const bool bLoan = m_nListKind == LIST_LOAN;
    pMarket->SetUpColumns(kListLeft, kMarketTop, kListRight, kMarketBottom, bLoan ? kLoanColumns : kTransferColumns, false, false,
                          kMarketBottom - kMarketTop, false);
    if (bLoan)
        FillLoanList();
    else
        FillTransferList();
    transfer_lists::DrawCaptions(*this, bLoan ? kLoanCaptionSet : kTransferCaptionSet, kListLeft, *pMarket,
                                 *pShortlist);
    ShowAllControls(true);
}

void CClientTransferMarket::AddPlayerRow(CXListBox* pList, COLORREF crRow, const CPlayerDatabase& player,
                                         const CDate& date, bool bContract, const char* pszPrice)
{
    const CGame* pGame = Game();
    const int nUnit = pGame ? pGame->GetOptions().m_nContractsSalaries : 1;
    const int nFitness = player.m_awAttributes[PLAYER_ATTRIBUTE_FITNESS] / 100;
    const int nRating = player.GetRatingForPosition(-1);
    char szContract[24] = "";
    if (bContract)
        std::snprintf(szContract, sizeof szContract, "%d (%d)", player.GetContractTimeLeft(nUnit),
                      player.GetContractLength(nUnit));
    // Contract and price where the list shows them.
    const int nRow = pList->AddString(crRow, "%s\t%s\t%s\t%d\t%d\t%d\t%d%s%s%s%s", FormatPackedDate(date.GetValue()),
                                      player.GetShortName(), ClubName(player), player.m_byPosition, player.GetAge(),
                                      nFitness, nRating, bContract ? "\t" : "", szContract, pszPrice ? "\t" : "",
                                      pszPrice ? pszPrice : "");
    if (nRow < 0)
        return;
    pList->SetItemData(nRow, player.m_idPerson);
    PlayerRowIcons::AddForeignFlag(*pList, nRow, player.m_byNationality, 1);
    m_RowIcons.AddPosition(*pList, nRow, player.m_byPosition, 3);
}

void CClientTransferMarket::FillTransferList()
{
    CXListBox* pList = GetMarketList();
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = Human();
    if (!pList || !pDatabase)
        return;
    const CDate today = pDatabase->GetGameDate();
    const CDate lastVisit = pHuman ? pHuman->GetLastMarketVisit(LIST_TRANSFER) : CDate();
    const int nHomeNationality = pHuman ? GetCountryNationality(pHuman->GetCountry()) : -1;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    for (const CListMarketEntry* pEntry : pDatabase->GetListMarket().Items<CListMarketEntry>()) {
        const CPlayerDatabase* pPlayer = pDatabase->GetPlayerFromID(pEntry->GetPlayerID());
        if (!pPlayer || (pPlayer->m_dwFlags & PLAYER_FLAG_RETIRING) || (m_pCountry && pPlayer->m_pCountry != m_pCountry))
            continue;
        const CDate listed = ListingDate(today, *pPlayer);
        if (!PassesTransferFilter(m_dwTransferFilter, pEntry->GetKind(), pPlayer->m_byNationality == nHomeNationality,
                                  ClampedPosition(*pPlayer), listed >= lastVisit))
            continue;
        const CSaveGame* pOwner = pDatabase->GetSaveGameForClub(pPlayer->m_pClub);
        AddPlayerRow(pList, pOwner ? pOwner->GetColourForClub() : kText, *pPlayer, listed, true,
                     FormatMoney(static_cast<double>(pEntry->GetAskingPrice()), 0, 0, MONEY_AS_STORED, 0, 1));
    }
    pList->Sort(0, true, LISTSORT_DATE, 0);
    pList->SetSelection(pList->GetCount() > 0 ? 0 : -1);
    pList->UpdateScrollBar();
    pList->SetAutoRedraw(true);
    pList->Redraw();
}

void CClientTransferMarket::FillLoanList()
{
    CXListBox* pList = GetMarketList();
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = Human();
    if (!pList || !pDatabase)
        return;
    const CDate today = pDatabase->GetGameDate();
    const CDate lastVisit = pHuman ? pHuman->GetLastMarketVisit(LIST_LOAN) : CDate();
    const CCountryDatabase* pHomeCountry = pHuman ? pHuman->GetCountry() : nullptr;
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    for (const CLoanMarketEntry* pEntry : pDatabase->GetLoanMarket().Items<CLoanMarketEntry>()) {
        const CPlayerDatabase* pPlayer = pDatabase->GetPlayerFromID(pEntry->GetPlayerID());
        if (!pPlayer || (pPlayer->m_dwFlags & PLAYER_FLAG_RETIRING) || (m_pCountry && pPlayer->m_pCountry != m_pCountry))
            continue;
        const CDate listed = ListingDate(today, *pPlayer);
        if (!PassesLoanFilter(m_dwLoanFilter, pPlayer->m_pCountry == pHomeCountry, ClampedPosition(*pPlayer),
                              listed >= lastVisit))
            continue;
        const CSaveGame* pOwner = pDatabase->GetSaveGameForClub(pPlayer->m_pClub);
        AddPlayerRow(pList, pOwner ? pOwner->GetColourForClub() : kText, *pPlayer, listed, true, nullptr);
    }
    pList->Sort(0, true, LISTSORT_DATE, 0);
    pList->SetSelection(pList->GetCount() > 0 ? 0 : -1);
    pList->UpdateScrollBar();
    pList->SetAutoRedraw(true);
    pList->Redraw();
}

void CClientTransferMarket::FillShortlist()
{
    CXListBox* pList = GetShortlist();
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = Human();
    if (!pList || !pDatabase)
        return;
    // The sort the list had stays.
    const transfer_lists::KeptSort sort = transfer_lists::KeepSort(*pList);
    pList->SetAutoRedraw(false);
    pList->ResetContent();
    if (pHuman)
        for (const CShortlistEntry* pEntry : pHuman->GetShortlist().Items<CShortlistEntry>()) {
            ID_PLAYER idPlayer = 0;
            CDate added;
            uint8_t byFlag = 0;
            pEntry->Get(idPlayer, added, byFlag);
            const CPlayerDatabase* pPlayer = pDatabase->GetPlayerFromID(idPlayer);
            if (!pPlayer)
                continue;
            AddPlayerRow(pList, byFlag ? pHuman->GetColourForClub() : kText, *pPlayer, added, false,
                         FormatMoney(static_cast<double>(pPlayer->m_dwAskingPrice), 0, 0, MONEY_AS_STORED, 0, 1));
        }
    transfer_lists::FinishList(*pList, sort, m_nShortlistSel);
}

// ---- rows opened ----

void CClientTransferMarket::OnClicked(uint32_t dwID)
{
    CGameClient::OnClicked(dwID);
    if (dwID == ID_FILTER)
        GetListFilterPopup().ShowBesideControl(
            m_nListKind == LIST_LOAN ? kLoanFilterTextSet : kTransferFilterTextSet, FindControl(ID_FILTER), GetFilter());
}

void CClientTransferMarket::OnDoubleClicked(uint32_t dwID)
{
    if (dwID != ID_MARKET_LIST && dwID != ID_SHORTLIST)
        return;
    CXListBox* pList = dwID == ID_MARKET_LIST ? GetMarketList() : GetShortlist();
    CDatabaseHandler* pDatabase = Database();
    const int nRow = pList ? pList->GetSelection() : -1;
    if (nRow < 0 || !pDatabase)
        return;
    m_pLastList = pList;
    const CPlayerDatabase* pPlayer = pDatabase->GetPlayerFromID(static_cast<ID_PLAYER>(pList->GetItemData(nRow)));
    if (!pPlayer)
        return;
    if (pList->HoverColumn() == kClubColumn) {
        OpenClubScreenOrSay(pPlayer->m_pClub);
        return;
    }
    // The player's details: where he is bid for, borrowed or shortlisted.
    if (dwID == ID_SHORTLIST)
        m_nShortlistSel = nRow;
    ShowPlayerDetails(pPlayer->m_idPerson);
}

void CClientTransferMarket::OnEndPopup(CXPopup* pPopup)
{
    CGameClient::OnEndPopup(pPopup);
    if (pPopup == &GetListFilterPopup())
        SetFilter(GetListFilterPopup().GetMask());
    else if (pPopup == &GetPlayerDetailsPopup())
        DrawPanel();
}

uint32_t CClientTransferMarket::StepLastList(int nStep)
{
    const int nRow = transfer_lists::StepSelection(m_pLastList, nStep);
    return nRow < 0 ? 0 : static_cast<uint32_t>(m_pLastList->GetItemData(nRow));
}
