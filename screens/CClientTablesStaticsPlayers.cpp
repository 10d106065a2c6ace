#include "screens/CClientTablesStaticsPlayers.h"

#include "popups/CPopupPlayerDetails.h"
#include "screens/CClientClubPlayers.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/PersonOwners.h"
#include "season/CSaveGame.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"
#include "xframework/CXScrollBar.h"

#include <algorithm>
#include <string>

namespace {

constexpr int kRowHeight = 16;
constexpr int kListLeft = 0, kListTop = 60, kListRight = 640, kListBottom = 476;
constexpr int kKindSet = 18;
constexpr int kCaptionSet = 165;
constexpr COLORREF kText = 0xFFFFFF;

enum : uint8_t { CENTRE = 6, RATING = 'y', HIDDEN = 'x' };
#define COLUMN(l, r, align, header, sort) {l, r, 4, 0, align, 0, header, sort, 1}
#define END_COLUMNS {LISTCOLUMN_END, 0, 0, 0, 0, 0, 0, 0, 0}
#define PLAYER_FRONT                                                                                       \
    COLUMN(0, 170, 0, 963, LISTSORT_AFTER_BLANK), COLUMN(170, 322, 0, 938, LISTSORT_TEXT),                  \
        COLUMN(322, 352, HIDDEN, 937, LISTSORT_NUMBER), COLUMN(352, 386, HIDDEN, 964, LISTSORT_NUMBER)

const LISTCOLUMN kStatisticsColumns[] = {
    PLAYER_FRONT,
    COLUMN(386, 422, RATING, 972, LISTSORT_NUMBER),
    COLUMN(422, 466, CENTRE, 970, LISTSORT_NUMBER),
    COLUMN(466, 496, CENTRE, 971, LISTSORT_NUMBER),
    COLUMN(496, 532, CENTRE, 293, LISTSORT_NUMBER),
    COLUMN(532, 556, CENTRE, 974, LISTSORT_NUMBER),
    COLUMN(556, 580, CENTRE, 977, LISTSORT_NUMBER),
    COLUMN(580, 616, RATING, 973, LISTSORT_NUMBER),
    END_COLUMNS,
};
const LISTCOLUMN kContractColumns[] = {
    PLAYER_FRONT,
    COLUMN(386, 416, RATING, 968, LISTSORT_NUMBER),
    COLUMN(416, 476, CENTRE, 291, LISTSORT_NUMBER),
    COLUMN(476, 546, 2, 292, LISTSORT_CURRENCY),
    END_COLUMNS,
};

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

CDatabaseHandler* Database()
{
    const CGame* pGame = Game();
    return pGame ? pGame->GetDatabase() : nullptr;
}

// The ContractsSalaries option: 1 months, 2 years, otherwise weeks.
int ContractUnit()
{
    const CGame* pGame = Game();
    return pGame ? pGame->GetOptions().m_nContractsSalaries : 1;
}

uint8_t WagePeriod()
{
    const int nUnit = ContractUnit();
    return nUnit == 1 ? MONEY_PER_MONTH : nUnit == 2 ? MONEY_AS_STORED : MONEY_PER_WEEK;
}

}  // namespace

CClientTablesStaticsPlayers::CClientTablesStaticsPlayers() { m_wScreenID = SCREEN_TABLES_PLAYERS; }

CXListBox* CClientTablesStaticsPlayers::GetList() const { return dynamic_cast<CXListBox*>(FindControl(ID_LIST)); }

void CClientTablesStaticsPlayers::ConstructScreen()
{
    if (!MakeOwnBackground())
        return;
}

bool CClientTablesStaticsPlayers::OnInitDialog()
{
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
    // The division asked for, else the human's, else his country's first.
    m_pDivision = pDatabase ? pDatabase->GetDivisionFromID(static_cast<uint8_t>(m_dwChangeParameter & 0xFF)) : nullptr;
    if (!m_pDivision && pHuman && pHuman->GetClub())
        m_pDivision = pHuman->GetClub()->m_pDivision;
    if (!m_pDivision && pHuman && pHuman->GetCountry() && pHuman->GetCountry()->GetDivisions().GetHead())
        m_pDivision = static_cast<CDivisionDatabase*>(pHuman->GetCountry()->GetDivisions().GetHead()->pData);
    m_pCountry = m_pDivision ? m_pDivision->m_pCountry : nullptr;
    m_nKind = static_cast<int>(m_dwChangeParameter >> 9);
    if (m_nKind != KIND_CONTRACTS)
        m_nKind = KIND_STATISTICS;
    m_nFilter = kInitialFilter;

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
        // The division list offers all the country's leagues at once.
        g_pTitlebar->m_bDivisionAddAll = 1;
        g_pTitlebar->SetSelectors({CGameTitlebar::SELECTOR_COUNTRY, CGameTitlebar::SELECTOR_DIVISION, 14});
        g_pTitlebar->SelectDivision(m_pDivision);
    }
    FillKindSelector();
    m_bFilling = false;

    auto* pBar = static_cast<CXScrollBar*>(AddControl(XCONTROL_SCROLLBAR, 10, 20, 24, 320, ID_SCROLLBAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, 16, false, 0);
    auto* pList = static_cast<CXListBox*>(
        AddControl(XCONTROL_LISTBOX, kListLeft, kListTop, kListRight, kListBottom, ID_LIST, nullptr));
    if (pList)
        pList->SetUp(kRowHeight, 6, g_hSmallFont, LISTSTYLE_NOTIFY_SELECTION | LISTSTYLE_NOTIFY_DOUBLE_CLICK, true,
                     pBar, true, nullptr, true, 0, false, false, false);
    Refresh();
    if (pList)
        SetFocus(pList);
    UpdateBars();
    return bResult;
}

void CClientTablesStaticsPlayers::OnDestroy()
{
    CGameClient::OnDestroy();
    m_RowIcons.Clear();
}

void CClientTablesStaticsPlayers::FillKindSelector()
{
    CXComboBox* pKinds = g_pTitlebar ? g_pTitlebar->GetSelector(14) : nullptr;
    if (!pKinds)
        return;
    pKinds->SetAutoRedraw(false);
    pKinds->ResetContent();
    int nCount = 0;
    const char* const* ppszKinds = GetTableTextSet(kKindSet, &nCount);
    for (int i = 0; ppszKinds && i < nCount && ppszKinds[i]; ++i)
        pKinds->SetItemData(pKinds->AddString(kText, "%s", ppszKinds[i]), static_cast<uint32_t>(i));
    pKinds->SetAutoRedraw(true);
    const int nRow = pKinds->FindItemData(static_cast<uint32_t>(m_nKind));
    if (nRow >= 0)
        pKinds->SetSelection(nRow);
    pKinds->Redraw();
}

void CClientTablesStaticsPlayers::TakeSelectors()
{
    CDatabaseHandler* pDatabase = Database();
    if (!pDatabase || !g_pTitlebar)
        return;
    const CXComboBox* pCountries = g_pTitlebar->GetSelector(CGameTitlebar::SELECTOR_COUNTRY);
    const int nCountryRow = pCountries ? pCountries->GetSelection() : -1;
    if (nCountryRow >= 0)
        m_pCountry = pDatabase->GetCountryFromID(static_cast<ID_COUNTRY>(pCountries->GetItemData(nCountryRow)));
    const CDivisionDatabase* pSelected = g_pTitlebar->GetSelectedDivision();
    m_pDivision = pSelected ? pDatabase->GetDivisionFromID(pSelected->m_byDivisionId) : nullptr;
    if (m_pDivision)
        m_pCountry = m_pDivision->m_pCountry;
    const CXComboBox* pKinds = g_pTitlebar->GetSelector(14);
    const int nKindRow = pKinds ? pKinds->GetSelection() : -1;
    if (nKindRow >= 0)
        m_nKind = static_cast<int>(pKinds->GetItemData(nKindRow));
}

void CClientTablesStaticsPlayers::OnSelChange(uint32_t dwID)
{
    if (m_bFilling)
        return;
    if (dwID == ID_COUNTRY_CHOICE || dwID == ID_DIVISION_CHOICE || dwID == ID_KIND_CHOICE) {
        TakeSelectors();
        Refresh();
    }
}

void CClientTablesStaticsPlayers::Refresh()
{
    CXListBox* pList = GetList();
    if (!pList)
        return;
    ShowAllControls(false);
    ResetOwnBackground();
    RestoreBackground(0, 0, Width(), Height());
    // Another kind keeps the last layout.
    if (m_nKind == KIND_STATISTICS || m_nKind == KIND_CONTRACTS)
        m_nLaidOutKind = m_nKind;
    pList->SetUpColumns(kListLeft, kListTop, kListRight, kListBottom,
                        m_nLaidOutKind == KIND_CONTRACTS ? kContractColumns : kStatisticsColumns, true, false,
                        kListBottom - kListTop, false);
    FillTable();
    ShowAllControls(true);
}

void CClientTablesStaticsPlayers::SetFilter(uint32_t dwMask)
{
    if (dwMask == m_nFilter)
        return;
    m_nFilter = dwMask;
    FillTable();
}

void CClientTablesStaticsPlayers::FillTable()
{
    CXListBox* pList = GetList();
    CDatabaseHandler* pDatabase = Database();
    if (!pList || !pDatabase)
        return;
    pList->SetAutoRedraw(false);
    for (int nRow = 0; nRow < pList->GetCount(); ++nRow)
        pList->RemoveRowGraphics(nRow);
    pList->ResetContent();
    const CSaveGame* pHuman = pDatabase->GetCurrentSaveGame();
    const int nHumanNationality = pHuman ? GetCountryNationality(pHuman->GetCountry()) : -1;
    auto addDivision = [&](const CDivisionDatabase& division) {
        for (const CClubDatabase* pClub : division.m_lstClubsByTable.Items<CClubDatabase>()) {
            const CSaveGame* pOwner = pDatabase->GetSaveGameForClub(pClub);
            const COLORREF crClub = pOwner ? pOwner->GetColourForClub() : kText;
            for (const CPlayerDatabase* pPlayer : pClub->m_lstPlayers.Items<CPlayerDatabase>())
                AddPlayerRow(*pList, crClub, *pPlayer, nHumanNationality);
        }
    };
    if (m_pDivision)
        addDivision(*m_pDivision);
    else if (m_pCountry)
        for (const CDivisionDatabase* pDivision : m_pCountry->GetDivisions().Items<CDivisionDatabase>())
            if (pDivision->m_byKind == DIVISION_KIND_LEAGUE)
                addDivision(*pDivision);
    ApplyRatingsOption(pList);
    pList->Sort(0, true, LISTSORT_AFTER_BLANK, 0);
    pList->SetSelection(pList->GetCount() > 0 ? 0 : -1);
    pList->UpdateScrollBar();
    pList->SetAutoRedraw(true);
    pList->Redraw();
    CGame* pGame = Game();
    CXSurface* pTabs = pGame ? pGame->GetSharedBitmaps().GetBitmap("btnPTab.bmp") : nullptr;
    const CAPTIONTAB tabs[] = {{2, 0, 0, pList->m_nLeft, pList->m_nTop - pList->m_nHeaderHeight - 17, pList->Width()},
                               {0, 0, 0, 0, 0, 0}};
    RestoreBackground(0, 20, Width(), pList->m_nTop - pList->m_nHeaderHeight - 20);
    DrawCaptionTabs(this, m_pDrawingSurface, pTabs, g_hSmallFont, kCaptionSet, tabs);
}

void CClientTablesStaticsPlayers::AddPlayerRow(CXListBox& list, COLORREF crClub, const CPlayerDatabase& player,
                                               int nHumanNationality)
{
    // The club screen's squad filter has the same bits: one rule for both.
    if (!CClientClubPlayers::PassesSquadFilter(player, m_nFilter, static_cast<uint8_t>(nHumanNationality)))
        return;
    const char* pszClub = player.m_pClub ? player.m_pClub->GetName() : "";
    const int nRating = player.GetRatingForPosition(-1);
    int nRow;
    if (m_nLaidOutKind == KIND_CONTRACTS) {
        const int nUnit = ContractUnit();
        const std::string wage = FormatMoney(player.m_Contract.dwYearlyWage, 0, 0, WagePeriod(), 0, 1);
        nRow = list.AddString(crClub, "%s\t%s\t%d\t%d\t%2d\t%d (%d)\t%s", player.GetShortName(), pszClub,
                              player.m_byPosition, player.m_byRole, nRating, player.GetContractTimeLeft(nUnit),
                              player.GetContractLength(nUnit), wage.c_str());
    } else {
        const CClientClubPlayers::STATISTICS s = CClientClubPlayers::CountStatistics(player, m_nFilter);
        nRow = list.AddString(crClub, "%s\t%s\t%d\t%d\t%2d\t%d (%d)\t%2d\t%2d\t%2d\t%2d\t%2d", player.GetShortName(),
                              pszClub, player.m_byPosition, player.m_byRole, nRating, s.nStarts, s.nSubstitute,
                              s.nGoals, s.nAwards, s.nBookings, s.nSecondCards, player.m_byRating);
    }
    if (nRow < 0)
        return;
    list.SetItemData(nRow, player.m_idPerson);
    m_RowIcons.Add(list, nRow, player, &player, 0, 2);
}

uint32_t CClientTablesStaticsPlayers::MoveSelection(int nStep)
{
    CXListBox* pList = GetList();
    if (!pList || pList->GetCount() == 0)
        return 0;
    const int nRow = std::clamp(pList->GetSelection() + nStep, 0, pList->GetCount() - 1);
    pList->SetSelection(nRow);
    pList->Scroll(LISTSCROLL_TO_ROW_TOO, nRow);
    return static_cast<uint32_t>(pList->GetItemData(nRow));
}

uint32_t CClientTablesStaticsPlayers::GetCurrentListPlayer()
{
    CXListBox* pList = GetList();
    const int nRow = pList ? pList->GetSelection() : -1;
    if (nRow < 0)
        return 0;
    pList->RedrawRow(nRow, true);
    return static_cast<uint32_t>(pList->GetItemData(nRow));
}

void CClientTablesStaticsPlayers::OnDoubleClicked(uint32_t dwID)
{
    const CXListBox* pList = GetList();
    const int nRow = pList ? pList->GetSelection() : -1;
    if (dwID == ID_LIST && nRow >= 0)
        ShowPlayerDetails(static_cast<uint32_t>(pList->GetItemData(nRow)));
}

void CClientTablesStaticsPlayers::OnPrint() { PrintControl(ID_LIST); }

void CClientTablesStaticsPlayers::UpdateBars()
{
    CGameClient::UpdateBars();
    if (CXListBox* pList = GetList())
        ApplyRatingsOption(pList);
}
