#include "screens/CClientFinanceCurrent.h"

#include "screens/FinanceScreenLook.h"
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
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CStaffDatabase.h"
#include "database/CYouthDatabase.h"
#include "database/MatchHistory.h"
#include "season/CComponentDatabase.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXGraph.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXTreeView.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

// One row of the category tree: a heading (category 0) with its children,
// or a category.
namespace {


constexpr int kCategoryTextSet = 91;
// Paid out of the current account into the deposit account.
constexpr int kDepositPaymentCategory = 86;
constexpr int kFirstMatchdaySales = 28;
constexpr int kLastMatchdaySales = 44;
constexpr int kFirstMatchdayService = 96;
constexpr int kLastMatchdayService = 102;
constexpr int kComponentTypeSet = 101;
constexpr int kCaptionSet = 190;
constexpr int kMonthNameSet = 128;
constexpr int kRowHeight = 16;
constexpr int kMonthsShown = 12;
constexpr int kGroupLine = 4;

// Object kinds of a category's payments.
enum : uint8_t { OBJECT_NONE, OBJECT_CLUB, OBJECT_PLAYER, OBJECT_YOUTH, OBJECT_STAFF, OBJECT_MANAGER,
                 OBJECT_COMPONENT, OBJECT_SCHEDULE };

constexpr COLORREF kHeadingColour = 0xffffff;
constexpr COLORREF kSubheadingColour = 0x8282ff;
constexpr COLORREF kRowColour = 0xffffff;

#define END_ROWS {nullptr, -1, -1, -1}
#define CATEGORY(text, category) {nullptr, text, category, 0}
#define HEADING(children, text, group) {children, text, 0, group}

const CClientFinanceCurrent::TREEROW kCupPrizes[] = {CATEGORY(15, 55), CATEGORY(14, 56), END_ROWS};
const CClientFinanceCurrent::TREEROW kPrizes[] = {HEADING(kCupPrizes, 43, 9), CATEGORY(44, 57), END_ROWS};
const CClientFinanceCurrent::TREEROW kAdvertising[] = {CATEGORY(25, 45), CATEGORY(26, 46), END_ROWS};
const CClientFinanceCurrent::TREEROW kBuilding[] = {CATEGORY(27, 50), CATEGORY(28, 51), CATEGORY(29, 52), END_ROWS};
const CClientFinanceCurrent::TREEROW kOutlets[] = {CATEGORY(68, 38), CATEGORY(69, 39), CATEGORY(70, 40),
                                                   CATEGORY(71, 41), END_ROWS};
const CClientFinanceCurrent::TREEROW kOtherFacilities[] = {CATEGORY(73, 42), CATEGORY(72, 43), CATEGORY(74, 44),
                                                           END_ROWS};
const CClientFinanceCurrent::TREEROW kFacilities[] = {HEADING(kOutlets, 23, 4), HEADING(kOtherFacilities, 24, 4),
                                                      END_ROWS};
const CClientFinanceCurrent::TREEROW kCompensation[] = {CATEGORY(19, 77), CATEGORY(18, 78), CATEGORY(91, 79),
                                                        END_ROWS};
const CClientFinanceCurrent::TREEROW kBonuses[] = {
    CATEGORY(75, 58), CATEGORY(76, 59), CATEGORY(77, 60), CATEGORY(78, 61), CATEGORY(80, 62),
    CATEGORY(81, 63), CATEGORY(82, 64), CATEGORY(83, 65), CATEGORY(84, 66), END_ROWS};
const CClientFinanceCurrent::TREEROW kInsurance[] = {CATEGORY(85, 70), CATEGORY(86, 71), CATEGORY(87, 72),
                                                     CATEGORY(88, 73), END_ROWS};
const CClientFinanceCurrent::TREEROW kManagerBonuses[] = {CATEGORY(77, 67), CATEGORY(78, 68), CATEGORY(79, 69),
                                                          END_ROWS};
const CClientFinanceCurrent::TREEROW kPlayerCosts[] = {HEADING(kBonuses, 32, 10), HEADING(kInsurance, 33, 10),
                                                       CATEGORY(34, 74), HEADING(kManagerBonuses, 35, 10), END_ROWS};
const CClientFinanceCurrent::TREEROW kCurrentAccount[] = {CATEGORY(92, 80), CATEGORY(93, 81), CATEGORY(94, 82),
                                                          CATEGORY(95, 83), CATEGORY(96, 84), END_ROWS};
const CClientFinanceCurrent::TREEROW kDepositAccount[] = {CATEGORY(92, 85), CATEGORY(12, 86), END_ROWS};
const CClientFinanceCurrent::TREEROW kBank[] = {HEADING(kCurrentAccount, 37, 12), HEADING(kDepositAccount, 38, 12),
                                                END_ROWS};
const CClientFinanceCurrent::TREEROW kUpkeep[] = {CATEGORY(27, 47), CATEGORY(28, 48), CATEGORY(29, 49), END_ROWS};
const CClientFinanceCurrent::TREEROW kServices[] = {CATEGORY(105, 96), CATEGORY(106, 97), CATEGORY(107, 98),
                                                    END_ROWS};
const CClientFinanceCurrent::TREEROW kMatchStaff[] = {CATEGORY(108, 99), CATEGORY(3, 100), CATEGORY(109, 101),
                                                      CATEGORY(110, 102), END_ROWS};
const CClientFinanceCurrent::TREEROW kMatchCosts[] = {HEADING(kServices, 42, 14), HEADING(kMatchStaff, 18, 14),
                                                      END_ROWS};
const CClientFinanceCurrent::TREEROW kFoodSales[] = {CATEGORY(59, 18), CATEGORY(60, 19), CATEGORY(61, 20),
                                                     CATEGORY(62, 21), CATEGORY(63, 22), END_ROWS};
const CClientFinanceCurrent::TREEROW kProgrammeSales[] = {CATEGORY(64, 23), CATEGORY(65, 24), END_ROWS};
const CClientFinanceCurrent::TREEROW kShopSales[] = {CATEGORY(66, 25), CATEGORY(67, 26), CATEGORY(26, 27), END_ROWS};
const CClientFinanceCurrent::TREEROW kFoodFacilities[] = {CATEGORY(59, 28), CATEGORY(60, 29), CATEGORY(61, 30),
                                                          CATEGORY(62, 31), CATEGORY(63, 32), END_ROWS};
const CClientFinanceCurrent::TREEROW kProgrammeFacilities[] = {CATEGORY(64, 33), CATEGORY(65, 34), END_ROWS};
const CClientFinanceCurrent::TREEROW kShopFacilities[] = {CATEGORY(66, 35), CATEGORY(67, 36), CATEGORY(26, 37),
                                                          END_ROWS};
const CClientFinanceCurrent::TREEROW kSales[] = {HEADING(kFoodSales, 20, 3), HEADING(kProgrammeSales, 21, 3),
                                                 HEADING(kShopSales, 22, 3), END_ROWS};
const CClientFinanceCurrent::TREEROW kFacilitySales[] = {HEADING(kFoodFacilities, 20, 3),
                                                         HEADING(kProgrammeFacilities, 21, 3),
                                                         HEADING(kShopFacilities, 22, 3), END_ROWS};
const CClientFinanceCurrent::TREEROW kMatchday[] = {HEADING(kSales, 45, 3), HEADING(kFacilitySales, 46, 3), END_ROWS};
const CClientFinanceCurrent::TREEROW kPlayerWages[] = {CATEGORY(51, 9), CATEGORY(52, 10), END_ROWS};
const CClientFinanceCurrent::TREEROW kStaffWages[] = {CATEGORY(53, 11), CATEGORY(55, 12), CATEGORY(56, 13),
                                                      CATEGORY(54, 14), CATEGORY(57, 15), CATEGORY(58, 16),
                                                      END_ROWS};
const CClientFinanceCurrent::TREEROW kWages[] = {HEADING(kPlayerWages, 17, 2), HEADING(kStaffWages, 18, 2),
                                                 CATEGORY(19, 17), END_ROWS};
const CClientFinanceCurrent::TREEROW kSponsors[] = {CATEGORY(30, 53), CATEGORY(31, 54), END_ROWS};
const CClientFinanceCurrent::TREEROW kCupGates[] = {CATEGORY(47, 1), CATEGORY(48, 2), CATEGORY(49, 3), END_ROWS};
const CClientFinanceCurrent::TREEROW kLeagueGates[] = {CATEGORY(50, 4), CATEGORY(47, 5), CATEGORY(49, 6), END_ROWS};
const CClientFinanceCurrent::TREEROW kFriendlyGates[] = {CATEGORY(47, 7), CATEGORY(48, 8), END_ROWS};
const CClientFinanceCurrent::TREEROW kGates[] = {HEADING(kCupGates, 14, 1), HEADING(kLeagueGates, 15, 1),
                                                 HEADING(kFriendlyGates, 16, 1), END_ROWS};
const CClientFinanceCurrent::TREEROW kFees[] = {CATEGORY(97, 87), CATEGORY(100, 88), CATEGORY(99, 89),
                                                CATEGORY(98, 90), END_ROWS};
const CClientFinanceCurrent::TREEROW kConditions[] = {CATEGORY(101, 91), CATEGORY(84, 92), CATEGORY(102, 93),
                                                      CATEGORY(103, 94), END_ROWS};
const CClientFinanceCurrent::TREEROW kScouting[] = {CATEGORY(104, 95), END_ROWS};
const CClientFinanceCurrent::TREEROW kTransfers[] = {HEADING(kFees, 90, 13), HEADING(kConditions, 39, 13),
                                                     HEADING(kScouting, 40, 13), END_ROWS};

const CClientFinanceCurrent::TREEROW kTop[] = {
    HEADING(kPrizes, 8, 9),       HEADING(kAdvertising, 4, 5),   HEADING(kBuilding, 6, 7),
    HEADING(kFacilities, 3, 4),   HEADING(kCompensation, 36, 11), HEADING(kPlayerCosts, 9, 10),
    HEADING(kBank, 11, 12),       HEADING(kUpkeep, 5, 6),        HEADING(kMatchCosts, 13, 14),
    HEADING(kMatchday, 2, 3),     HEADING(kWages, 1, 2),         HEADING(kSponsors, 7, 8),
    HEADING(kGates, 0, 1),        HEADING(kTransfers, 12, 13),   END_ROWS};

#undef END_ROWS
#undef CATEGORY
#undef HEADING

// Tree columns: the name, the month's income and expenditure, the season.
const TREECOLUMN kColumns[] = {
    {0, 260, 321, 0}, {260, 370, 323, 1}, {370, 480, 324, 1}, {480, 600, 325, 1}, {TREECOLUMN_END, 0, 0, 0}};

CDatabaseHandler* Database() { return GetLoadedDatabase(); }

CSaveGame* Human()
{
    CDatabaseHandler* pDatabase = Database();
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

const char* Text(int nSet, int nItem) { return GetTableTextOrEmpty(nSet, nItem); }

std::string Money(int64_t nAmount) { return FormatMoney(static_cast<double>(nAmount), 0, 0, MONEY_AS_STORED, 0, 1); }

// A money cell: empty for nothing.
std::string Cell(int64_t nAmount) { return nAmount ? Money(nAmount) : std::string(); }

}  // namespace

const CClientFinanceCurrent::TREEROW* CClientFinanceCurrent::GetCategoryTree() { return kTop; }

CClientFinanceCurrent& GetFinanceCurrentScreen()
{
    static CClientFinanceCurrent s_Screen;
    return s_Screen;
}

CClientFinanceCurrent::CClientFinanceCurrent() { m_wScreenID = SCREEN_FINANCE_CURRENT; }

void CClientFinanceCurrent::ConstructScreen() { finance_look::DrawBackground(*this, kCaptionSet, 20); }

bool CClientFinanceCurrent::OnInitDialog()
{
    // The controls of an earlier opening went with it.
    m_pTree = nullptr;
    m_pGraph = nullptr;
    const bool bResult = finance_look::OpenScreen(*this, {7});
    m_bRunningMonth = true;

    AddBottomButton(ID_TRANSFER);
    auto* pBar = static_cast<CXScrollBar*>(AddControlXYWH(XCONTROL_SCROLLBAR, 10, 20, 14, 300, ID_SCROLLBAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, 16, false, 0);
    m_pTree = static_cast<CXTreeView*>(AddControl(XCONTROL_TREEVIEW, 0, 40, 640, 296, ID_TREE, nullptr));
    if (m_pTree) {
        m_pTree->SetUp(kRowHeight, 6, g_hSmallFont, TREESTYLE_NOTIFY_SELECTION | TREESTYLE_NOTIFY_DOUBLE_CLICK, 1,
                       pBar, 1, 0, nullptr);
        m_pTree->CreateColumnHeader({0, 40, 640, 296}, kColumns, true, 296 - 40 - TREE_HEADER_HEIGHT);
    }
    m_pGraph = finance_look::AddGraph(*this, ID_GRAPH, ID_GRAPH_LINE, kGroupLine);
    // The graph is set up before it is first drawn.
    UpdateGraph();
    ShowAllControls(true);
    FillMonthSelector();
    if (CSaveGame* pHuman = Human())
        pHuman->SetNavigationAlert(4, 0);
    return bResult;
}

void CClientFinanceCurrent::OnClicked(uint32_t dwID)
{
    if (dwID == ID_TRANSFER)
        m_TransferPopup.Open();
    CGameClient::OnClicked(dwID);
}

void CClientFinanceCurrent::OnEndPopup(CXPopup* pPopup)
{
    CGameClient::OnEndPopup(pPopup);
    if (pPopup != &m_TransferPopup || pPopup->m_dwResultID != CGamePopup::kOkButtonID)
        return;
    // The money moves only when the current account holds it.
    CSaveGame* pHuman = Human();
    CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    const int32_t nAmount = m_TransferPopup.GetAmount();
    if (!pClub || nAmount <= 0 || pClub->m_nBankBalance < nAmount)
        return;
    pClub->AddFinanceTransaction(kDepositPaymentCategory, 0, nAmount, 0, 0);
    LoadMonth(-1);
    UpdateBars();
}

void CClientFinanceCurrent::OnDoubleClicked(uint32_t dwID)
{
    CGameClient::OnDoubleClicked(dwID);
    if (dwID != ID_TREE || !m_pTree)
        return;
    uint32_t dwMatchID = 0;
    if (FindMatchOfItem(m_pTree->GetCurrentID(), dwMatchID))
        m_MatchdayPopup.Show(dwMatchID);
}

bool CClientFinanceCurrent::IsMatchdayCategory(int nCategory)
{
    return (nCategory >= kFirstMatchdaySales && nCategory <= kLastMatchdaySales) ||
           (nCategory >= kFirstMatchdayService && nCategory <= kLastMatchdayService);
}

bool CClientFinanceCurrent::FindMatchOfItem(int nItem, uint32_t& dwMatchID) const
{
    const auto it = m_MatchOfItem.find(nItem);
    if (it == m_MatchOfItem.end())
        return false;
    dwMatchID = it->second;
    return true;
}

std::string CClientFinanceCurrent::MatchName(uint32_t dwMatchID)
{
    if (const auto it = m_MatchNames.find(dwMatchID); it != m_MatchNames.end())
        return it->second;
    CDatabaseHandler* pDatabase = Database();
    const CSaveGame* pHuman = Human();
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    MATCHHISTORYHEADER header;
    std::string name;
    if (pDatabase && pClub && pDatabase->FindMatchRecord(header, nullptr, dwMatchID)) {
        const ID_CLUB idOther = header.wHomeClub == pClub->m_wClubId ? header.wAwayClub : header.wHomeClub;
        if (const CClubDatabase* pOther = pDatabase->GetClubFromID(idOther))
            name = pOther->GetName();
    } else {
        DebugLog(1, "[CClientFinanceCurrent::AddDataToItemsInTree] No record of match %u for its payment", dwMatchID);
    }
    m_MatchNames[dwMatchID] = name;
    return name;
}

void CClientFinanceCurrent::FillMonthSelector()
{
    CXComboBox* pBox = g_pTitlebar ? g_pTitlebar->GetSelector(7) : nullptr;
    CSaveGame* pHuman = Human();
    CDatabaseHandler* pDatabase = Database();
    if (!pHuman || !pDatabase) {
        LoadMonth(-1);
        return;
    }
    const int nClosed = pHuman->CountFinanceMonths();
    int nFirstMonth = pDatabase->GetGameDate().GetMonth() - nClosed;
    while (nFirstMonth <= 0)
        nFirstMonth += 12;
    if (!pBox) {
        LoadMonth(nClosed);
        return;
    }
    pBox->ResetContent();
    int nRow = -1;
    for (int i = 0; i <= nClosed; ++i) {
        nRow = pBox->AddString(0xffffff, "%s", Text(kMonthNameSet, (nFirstMonth - 1 + i) % 12 + 1));
        pBox->SetItemData(nRow, static_cast<uint32_t>(i));
    }
    pBox->SetCurSel(nRow);
}

void CClientFinanceCurrent::OnSelChange(uint32_t dwID)
{
    if (dwID == ID_MONTH_LIST) {
        const CXComboBox* pBox = g_pTitlebar ? g_pTitlebar->GetSelector(7) : nullptr;
        if (pBox && pBox->GetSelection() >= 0)
            LoadMonth(pBox->GetSelection() == pBox->GetCount() - 1
                          ? -1
                          : static_cast<int>(pBox->GetItemData(pBox->GetSelection())));
    } else if (dwID == ID_TREE) {
        UpdateGraph();
    }
    CGameClient::OnSelChange(dwID);
}

void CClientFinanceCurrent::LoadMonth(int nRow)
{
    m_Month = FINANCEMONTH();
    CSaveGame* pHuman = Human();
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    m_bRunningMonth = nRow < 0;
    if (m_bRunningMonth) {
        if (pClub) {
            m_nRunningBalance = pClub->m_nPreviousBalance;
            std::copy(std::begin(pClub->m_anFinanceAccumulators), std::end(pClub->m_anFinanceAccumulators),
                      m_Month.anGroupTotals);
            for (int c = 0; c < FINANCE_CATEGORIES; ++c) {
                m_Month.aMonth[c] = pHuman->GetMonthEntry(c);
                m_Month.aSeason[c] = pHuman->GetSeasonEntry(c);
            }
            for (const FINANCETRANSACTION* p : pHuman->GetTransactions().Items<FINANCETRANSACTION>())
                m_Month.Transactions.push_back(*p);
        }
    } else if (pHuman) {
        std::vector<FINANCEMONTH> months = CFinanceMonthFile::ReadMonths(pHuman->GetHistoryFileName());
        // A month the file no longer holds leaves the view empty.
        if (static_cast<size_t>(nRow) < months.size())
            m_Month = std::move(months[static_cast<size_t>(nRow)]);
        m_nRunningBalance = m_Month.nBalanceBefore;
    }
    if (!m_pTree)
        return;
    m_pTree->DeleteAllItems();
    m_MatchOfItem.clear();
    m_MatchNames.clear();
    AddCategoriesToTree(kTop, -1, 0);
    AddDataToItemsInTree();
    m_pTree->Redraw();
    UpdateGraph();
}

bool CClientFinanceCurrent::IsShown(int nCategory) const
{
    return !m_bRunningMonth || CSaveGame::GetFinanceCategory(nCategory).byBalance == 1;
}

int32_t CClientFinanceCurrent::GetIncome(int nTable, int nCategory) const
{
    if (nCategory < 0 || nCategory >= FINANCE_CATEGORIES || (nTable != 0 && nTable != 1))
        return 0;
    return (nTable == 0 ? m_Month.aMonth : m_Month.aSeason)[nCategory].nIncome;
}

int32_t CClientFinanceCurrent::GetExpense(int nTable, int nCategory) const
{
    if (nCategory < 0 || nCategory >= FINANCE_CATEGORIES || (nTable != 0 && nTable != 1))
        return 0;
    return (nTable == 0 ? m_Month.aMonth : m_Month.aSeason)[nCategory].nExpense;
}

int32_t CClientFinanceCurrent::GetNet(int nTable, int nCategory) const
{
    const int64_t nNet = static_cast<int64_t>(GetIncome(nTable, nCategory)) - GetExpense(nTable, nCategory);
    return static_cast<int32_t>(std::clamp<int64_t>(nNet, INT32_MIN, INT32_MAX));
}

void CClientFinanceCurrent::AddCategoriesToTree(const TREEROW* pTable, int nParent, int nDepth)
{
    static const COLORREF kDepthColours[] = {kHeadingColour, kSubheadingColour, kRowColour};
    const COLORREF crColour = kDepthColours[std::min(nDepth, 2)];
    plat::Font* hFont = nDepth == 0 ? g_hSmallBoldFont : g_hSmallFont;
    for (const TREEROW* pRow = pTable; pRow->nText >= 0; ++pRow) {
        const char* pszName = Text(kCategoryTextSet, pRow->nText);
        int nItem = -1;
        if (pRow->nCategory == 0) {
            if (nDepth == 0) {
                int64_t nNet = 0;
                for (int c = 1; c < FINANCE_CATEGORIES; ++c)
                    if (CClubDatabase::FindFinanceCategory(c) == pRow->nGroup && IsShown(c))
                        nNet += GetNet(0, c);
                m_nRunningBalance = static_cast<int32_t>(
                    std::clamp<int64_t>(m_nRunningBalance + nNet, INT32_MIN, INT32_MAX));
                nItem = m_pTree->AddItem(nParent, crColour, hFont, "%s\t\t\t%s", pszName,
                                         Money(m_nRunningBalance).c_str());
            } else {
                nItem = m_pTree->AddItem(nParent, crColour, hFont, "%s", pszName);
            }
        } else {
            const FINANCECATEGORY& category = CSaveGame::GetFinanceCategory(pRow->nCategory);
            const int32_t nIncome = GetIncome(0, pRow->nCategory);
            const int32_t nExpense = GetExpense(0, pRow->nCategory);
            int64_t nSeason = GetNet(1, pRow->nCategory);
            // Payments by object go in rows of their own under the category.
            const bool bAmounts = category.byParameterKind == OBJECT_NONE || (nIncome < 1 && nExpense < 1);
            std::string income = bAmounts ? Cell(nIncome) : std::string();
            std::string expense = bAmounts ? Cell(nExpense) : std::string();
            if (!IsShown(pRow->nCategory)) {
                // Settled at the month's close: the running month shows the
                // season as it stood before it.
                nSeason -= static_cast<int64_t>(nIncome) - nExpense;
                income = expense = std::string();
            }
            // The third byte of a category tells its columns.
            switch (category.byGroup) {
            case 1:
                nItem = m_pTree->AddItem(nParent, crColour, hFont, "%s\t%s\t\t%s", pszName, income.c_str(),
                                         Money(nSeason).c_str());
                break;
            case 2:
                nItem = m_pTree->AddItem(nParent, crColour, hFont, "%s\t\t%s\t%s", pszName, expense.c_str(),
                                         Money(nSeason).c_str());
                break;
            default:
                nItem = m_pTree->AddItem(nParent, crColour, hFont, "%s\t%s\t%s\t%s", pszName, income.c_str(),
                                         expense.c_str(), Money(nSeason).c_str());
                break;
            }
        }
        if (nItem < 0)
            continue;
        m_pTree->SetItemData(nItem, pRow->nCategory, DATA_CATEGORY);
        m_pTree->SetItemData(nItem, pRow->nGroup ? pRow->nGroup : CClubDatabase::FindFinanceCategory(pRow->nCategory),
                             DATA_TREE_ROW);
        if (pRow->pChildren)
            AddCategoriesToTree(pRow->pChildren, nItem, nDepth + 1);
    }
}

std::string CClientFinanceCurrent::PaymentName(const FINANCETRANSACTION& transaction) const
{
    CDatabaseHandler* pDatabase = Database();
    if (!pDatabase)
        return {};
    const int nCategory = static_cast<int>(transaction.dwCategory);
    const uint32_t dwID = transaction.dwParameter;
    switch (CSaveGame::GetFinanceCategory(nCategory).byParameterKind) {
    case OBJECT_CLUB:
        if (const CClubDatabase* p = pDatabase->GetClubFromID(static_cast<ID_CLUB>(dwID)))
            return p->GetName();
        DebugLog(1, "[CClientFinanceCurrent::AddDataToItemsInTree] Unable to find club for data type club!");
        break;
    case OBJECT_PLAYER:
        if (const CPlayerDatabase* p = pDatabase->GetPlayerFromID(static_cast<ID_PLAYER>(dwID)))
            return p->GetShortName();
        DebugLog(1, "[CClientFinanceCurrent::AddDataToItemsInTree] Unable to find player for data type player!");
        break;
    case OBJECT_YOUTH:
        if (const CYouthDatabase* p = pDatabase->GetYouthFromID(static_cast<ID_PLAYER>(dwID)))
            return p->GetShortName();
        if (const CPlayerDatabase* p = pDatabase->GetPlayerFromID(static_cast<ID_PLAYER>(dwID)))
            return p->GetShortName();
        DebugLog(1, "[CClientFinanceCurrent::AddDataToItemsInTree] Unable to find youth for data type youth!");
        break;
    case OBJECT_STAFF:
        if (const CStaffDatabase* p = pDatabase->GetStaffFromID(static_cast<ID_STAFF>(dwID)))
            return p->GetShortName();
        DebugLog(1, "[CClientFinanceCurrent::AddDataToItemsInTree] Unable to find staff for data type staff!");
        break;
    case OBJECT_MANAGER:
        if (const CManagerDatabase* p = pDatabase->GetManagerFromID(static_cast<ID_MANAGER>(dwID)))
            return p->GetShortName();
        DebugLog(1, "[CClientFinanceCurrent::AddDataToItemsInTree] Unable to find manager for data type manager!");
        break;
    case OBJECT_COMPONENT: {
        const CSaveGame* pHuman = Human();
        const CGroundDatabase* pGround = pHuman && pHuman->GetClub() ? pHuman->GetClub()->m_pGround : nullptr;
        if (const CComponentDatabase* p = pGround ? pGround->FindComponent(dwID) : nullptr)
            return std::string(Text(kComponentTypeSet, p->GetMainType())) + " " + std::to_string(p->GetID());
        DebugLog(1, "[CClientFinanceCurrent::AddDataToItemsInTree] Unable to find component for data type component!");
        break;
    }
    case OBJECT_SCHEDULE:
        if (const CComponentScheduleDatabase* p = pDatabase->FindComponentSchedule(dwID))
            return std::string(Text(kComponentTypeSet, p->GetComponentMainType())) + " " + std::to_string(p->GetID());
        DebugLog(1, "[CClientFinanceCurrent::AddDataToItemsInTree] Unable to find component schedule for data type "
                    "component schedule!");
        break;
    default:
        break;
    }
    return {};
}

void CClientFinanceCurrent::AddDataToItemsInTree()
{
    for (const FINANCETRANSACTION& transaction : m_Month.Transactions) {
        const int nCategory = static_cast<int>(transaction.dwCategory);
        if (nCategory <= 0 || nCategory >= FINANCE_CATEGORIES || !IsShown(nCategory) ||
            CSaveGame::GetFinanceCategory(nCategory).byParameterKind == OBJECT_NONE)
            continue;
        const int nParent = m_pTree->FindItemByData(nCategory, DATA_CATEGORY);
        if (nParent < 0)
            continue;
        const bool bMatchday = IsMatchdayCategory(nCategory);
        const std::string name = bMatchday ? MatchName(transaction.dwParameter) : PaymentName(transaction);
        if (name.empty())
            continue;
        const int nItem = m_pTree->AddItem(nParent, kRowColour, g_hSmallFont, "%s\t%s\t%s", name.c_str(),
                                           Cell(transaction.nIncome).c_str(), Cell(transaction.nExpense).c_str());
        if (nItem >= 0 && bMatchday)
            m_MatchOfItem[nItem] = transaction.dwParameter;
        if (nItem >= 0) {
            m_pTree->SetItemData(nItem, kPaymentRow | nCategory, DATA_CATEGORY);
            m_pTree->SetItemData(nItem, CClubDatabase::FindFinanceCategory(nCategory), DATA_TREE_ROW);
        }
    }
}

void CClientFinanceCurrent::UpdateGraph()
{
    CSaveGame* pHuman = Human();
    CDatabaseHandler* pDatabase = Database();
    if (!m_pGraph || !pHuman || !pDatabase)
        return;
    finance_look::StartMonthGraph(*this, *m_pGraph, kMonthsShown, 2, kGroupLine, 2);
    const std::vector<FINANCEMONTH> months = CFinanceMonthFile::ReadMonths(pHuman->GetHistoryFileName());
    finance_look::LabelMonths(
        *m_pGraph, finance_look::MonthsBack(pDatabase->GetGameDate().GetMonth(), static_cast<int>(months.size())),
        kMonthsShown, 2);
    double dHighest = 1.0;
    const int nCurrent = m_pTree ? m_pTree->GetCurrentID() : -1;
    const int nGroup = nCurrent >= 0 ? m_pTree->GetItemData(nCurrent, DATA_TREE_ROW) : -1;
    if (nGroup >= 0 && nGroup < FINANCE_GROUPS)
        for (const FINANCEMONTH& month : months) {
            const double dValue = std::abs(static_cast<double>(month.anGroupTotals[nGroup]));
            m_pGraph->AddValue(kGroupLine, dValue);
            dHighest = std::max(dHighest, dValue);
        }
    m_pGraph->SetYRange(0, static_cast<int>(std::min(dHighest, 2.0e9)), 0, 100, false, true, false);
    finance_look::ShowGraph(*this, *m_pGraph, ID_GRAPH_LINE, kGroupLine);
}

void CClientFinanceCurrent::OnPrint() { PrintControl(ID_TREE); }
