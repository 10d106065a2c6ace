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
    COLUMN(422, 464, CENTRE, 970, LISTSORT_NUMBER),
    COLUMN(464, 494, CENTRE, 971, LISTSORT_NUMBER),
    COLUMN(494, 530, CENTRE, 293, LISTSORT_NUMBER),
    COLUMN(530, 554, CENTRE, 974, LISTSORT_NUMBER),
    COLUMN(554, 578, CENTRE, 977, LISTSORT_NUMBER),
    COLUMN(578, 616, RATING, 973, LISTSORT_NUMBER),
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

bool CClientTablesStaticsPlayers::OnInitDialog()
{
    m_nKind = static_cast<int>(m_dwChangeParameter >> 9);
    if (m_nKind != KIND_CONTRACTS)
        m_nKind = KIND_STATISTICS;
    m_nLaidOutKind = m_nKind;
    m_RowIcons.Load();
    // The division list offers all the country's leagues at once.
    return OpenList({CGameTitlebar::SELECTOR_COUNTRY, CGameTitlebar::SELECTOR_DIVISION, 14}, ParameterDivision(), true,
                    kInitialFilter);
}

void CClientTablesStaticsPlayers::OnDestroy()
{
    CClientTablesStaticsList::OnDestroy();
    m_RowIcons.Clear();
}

void CClientTablesStaticsPlayers::FillOwnSelectors()
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
    if (nRow >= 0) {
        pKinds->SetSelection(nRow);
        pKinds->Scroll(LISTSCROLL_TO_ROW, nRow);
    }
    pKinds->Redraw();
}

bool CClientTablesStaticsPlayers::TakeSelectors(uint32_t dwID)
{
    if (dwID != ID_KIND_CHOICE)
        return CClientTablesStaticsList::TakeSelectors(dwID);
    const CXComboBox* pKinds = g_pTitlebar ? g_pTitlebar->GetSelector(14) : nullptr;
    const int nKindRow = pKinds ? pKinds->GetSelection() : -1;
    if (nKindRow >= 0)
        m_nKind = static_cast<int>(pKinds->GetItemData(nKindRow));
    // Another kind keeps the last layout.
    if (m_nKind == KIND_STATISTICS || m_nKind == KIND_CONTRACTS)
        m_nLaidOutKind = m_nKind;
    return true;
}

const LISTCOLUMN* CClientTablesStaticsPlayers::Columns() const
{
    return m_nLaidOutKind == KIND_CONTRACTS ? kContractColumns : kStatisticsColumns;
}

void CClientTablesStaticsPlayers::FillTable()
{
    CXListBox* pList = GetList();
    CDatabaseHandler* pDatabase = Database();
    if (!pList || !pDatabase)
        return;
    ClearList(*pList);
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
    EndFill(*pList, kCaptionSet);
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

void CClientTablesStaticsPlayers::UpdateBars()
{
    CGameClient::UpdateBars();
    if (CXListBox* pList = GetList())
        ApplyRatingsOption(pList);
}

void CClientTablesStaticsPlayers::OnDoubleClicked(uint32_t dwID)
{
    CGameClient::OnDoubleClicked(dwID);
    const CXListBox* pList = GetList();
    if (dwID != ID_LIST || !pList || pList->GetSelection() < 0)
        return;
    // The competitions the table counts are the filter's.
    if (!CClientClubPlayers::OpenPlayerMatches(*pList, m_nFilter))
        ShowPlayerDetails(static_cast<uint32_t>(pList->GetItemData(pList->GetSelection())));
}
