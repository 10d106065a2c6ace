#include "screens/CClientFinanceProjected.h"

#include "screens/FinanceScreenLook.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CGameTitlebar.h"
#include "shell/CTableText.h"
#include "shell/FormattingFunctions.h"
#include "shell/ScreenDrawing.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXGraph.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXTreeView.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

constexpr int kCategoryTextSet = 91;
constexpr int kCaptionSet = 192;
constexpr int kMonthNameSet = 128;
constexpr int kRowHeight = 16;
constexpr COLORREF kHeadingColour = 0xffffff;
constexpr COLORREF kSubheadingColour = 0x8282ff;
constexpr COLORREF kRowColour = 0xffffff;

const TREECOLUMN kColumns[] = {
    {0, 240, 339, 0}, {240, 330, 340, 1}, {330, 420, 341, 1}, {420, 510, 342, 1}, {TREECOLUMN_END, 0, 0, 0}};

CSaveGame* Human()
{
    CDatabaseHandler* pDatabase = GetLoadedDatabase();
    return pDatabase ? pDatabase->GetCurrentSaveGame() : nullptr;
}

std::string Money(int64_t nAmount) { return FormatMoney(static_cast<double>(nAmount), 0, 0, MONEY_AS_STORED, 0, 1); }

int CurrentMonth()
{
    const CDatabaseHandler* pDatabase = GetLoadedDatabase();
    return pDatabase ? pDatabase->GetGameDate().GetMonth() : 1;
}

}  // namespace

CClientFinanceProjected& GetFinanceProjectedScreen()
{
    static CClientFinanceProjected s_Screen;
    return s_Screen;
}

CClientFinanceProjected::CClientFinanceProjected() { m_wScreenID = SCREEN_FINANCE_PROJECTED; }

void CClientFinanceProjected::ConstructScreen() { finance_look::DrawBackground(*this, kCaptionSet, 65); }

bool CClientFinanceProjected::OnInitDialog()
{
    m_pTree = nullptr;
    m_pGraph = nullptr;
    const bool bResult = finance_look::OpenScreen(*this, {7});
    auto* pBar = static_cast<CXScrollBar*>(AddControlXYWH(XCONTROL_SCROLLBAR, 10, 20, 14, 200, ID_SCROLLBAR, nullptr));
    if (pBar)
        pBar->Create(885, 886, 16, false, 0);
    m_pTree = static_cast<CXTreeView*>(AddControl(XCONTROL_TREEVIEW, 0, 40, 640, 296, ID_TREE, nullptr));
    if (m_pTree) {
        m_pTree->SetUp(kRowHeight, 6, g_hSmallFont, TREESTYLE_NOTIFY_SELECTION, 1, pBar, 1, 0, nullptr);
        m_pTree->CreateColumnHeader({0, 40, 640, 296}, kColumns, true, 296 - 40 - TREE_HEADER_HEIGHT);
    }
    m_pGraph = finance_look::AddGraph(*this, ID_GRAPH, ID_GRAPH_LINE, kGroupLine);
    const CSaveGame* pHuman = Human();
    m_Months = pHuman ? CFinanceMonthFile::ReadProjectedMonths(pHuman->GetProjectedFinanceFileName())
                      : std::vector<PROJECTEDMONTH>();
    FillMonthSelector();
    ShowAllControls(true);
    return bResult;
}

void CClientFinanceProjected::FillMonthSelector()
{
    CXComboBox* pBox = g_pTitlebar ? g_pTitlebar->GetSelector(7) : nullptr;
    if (pBox) {
        pBox->ResetContent();
        const int nFirst = CurrentMonth();
        for (int i = 0; i < kProjectedMonths; ++i) {
            const int nRow =
                pBox->AddString(0xffffff, "%s", GetTableTextOrEmpty(kMonthNameSet, (nFirst - 1 + i) % 12 + 1));
            pBox->SetItemData(nRow, static_cast<uint32_t>(i));
        }
        pBox->SetCurSel(0);
    }
    LoadMonth(0);
}

void CClientFinanceProjected::OnSelChange(uint32_t dwID)
{
    if (dwID == ID_MONTH_LIST) {
        const CXComboBox* pBox = g_pTitlebar ? g_pTitlebar->GetSelector(7) : nullptr;
        if (pBox && pBox->GetSelection() >= 0)
            LoadMonth(static_cast<int>(pBox->GetItemData(pBox->GetSelection())));
    } else if (dwID == ID_TREE) {
        UpdateGraph();
    }
    CGameClient::OnSelChange(dwID);
}

void CClientFinanceProjected::LoadMonth(int nMonth)
{
    if (!m_pTree)
        return;
    m_pTree->DeleteAllItems();
    if (nMonth < 0 || nMonth >= static_cast<int>(m_Months.size())) {
        // No projection written yet: nothing to show rather than guesses.
        m_Month = PROJECTEDMONTH();
        m_pTree->Redraw();
        UpdateGraph();
        return;
    }
    m_Month = m_Months[static_cast<size_t>(nMonth)];
    m_nRunningBalance = m_Month.nBalance;
    AddCategoriesToTree(CClientFinanceCurrent::GetCategoryTree(), -1, 0);
    m_pTree->Redraw();
    UpdateGraph();
}

void CClientFinanceProjected::AddCategoriesToTree(const CClientFinanceCurrent::TREEROW* pTable, int nParent,
                                                  int nDepth)
{
    static const COLORREF kDepthColours[] = {kHeadingColour, kSubheadingColour, kRowColour};
    const COLORREF crColour = kDepthColours[std::min(nDepth, 2)];
    plat::Font* hFont = nDepth < 2 ? g_hSmallBoldFont : g_hSmallFont;
    for (const CClientFinanceCurrent::TREEROW* pRow = pTable; pRow->nText >= 0; ++pRow) {
        const char* pszName = GetTableTextOrEmpty(kCategoryTextSet, pRow->nText);
        int nItem = -1;
        if (pRow->nCategory == 0) {
            if (nDepth == 0) {
                if (pRow->nGroup >= 0 && pRow->nGroup < FINANCE_GROUPS)
                    m_nRunningBalance += m_Month.anGroupTotals[pRow->nGroup];
                nItem = m_pTree->AddItem(nParent, crColour, hFont, "%s\t\t\t%s", pszName,
                                         Money(m_nRunningBalance).c_str());
            } else {
                nItem = m_pTree->AddItem(nParent, crColour, hFont, "%s", pszName);
            }
        } else {
            const FINANCECATEGORY& category = CSaveGame::GetFinanceCategory(pRow->nCategory);
            const FINANCEENTRY& entry = m_Month.aMonth[pRow->nCategory];
            const std::string income = Money(entry.nIncome);
            const std::string expense = Money(entry.nExpense);
            switch (category.byGroup) {
            case 1:
                nItem = m_pTree->AddItem(nParent, crColour, hFont, "%s\t%s", pszName, income.c_str());
                break;
            case 2:
                nItem = m_pTree->AddItem(nParent, crColour, hFont, "%s\t\t%s", pszName, expense.c_str());
                break;
            default:
                nItem = m_pTree->AddItem(nParent, crColour, hFont, "%s\t%s\t%s", pszName, income.c_str(),
                                         expense.c_str());
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

void CClientFinanceProjected::UpdateGraph()
{
    if (!m_pGraph)
        return;
    // Six points over five intervals across the plot.
    finance_look::StartMonthGraph(*this, *m_pGraph, kProjectedMonths, kProjectedMonths - 1, kGroupLine, 2);
    finance_look::LabelMonths(*m_pGraph, CurrentMonth(), kProjectedMonths, 1);
    const int nCurrent = m_pTree ? m_pTree->GetCurrentID() : -1;
    const int nGroup = nCurrent >= 0 ? m_pTree->GetItemData(nCurrent, DATA_TREE_ROW) : -1;
    // An empty or flat line still gets an axis of round money figures.
    double dLowest = 0.0, dHighest = 1000.0;
    if (nGroup >= 0 && nGroup < FINANCE_GROUPS)
        for (const PROJECTEDMONTH& month : m_Months) {
            // Spending groups are plotted by their size, as income is.
            const double dValue = std::abs(static_cast<double>(month.anGroupTotals[nGroup]));
            m_pGraph->AddValue(kGroupLine, dValue);
            dLowest = std::min(dLowest, dValue);
            dHighest = std::max(dHighest, dValue);
        }
    m_pGraph->SetYRange(static_cast<int>(dLowest), static_cast<int>(std::min(dHighest, 2.0e9)), 0, 100, false, true,
                        false);
    finance_look::ShowGraph(*this, *m_pGraph, ID_GRAPH_LINE, kGroupLine);
}

void CClientFinanceProjected::OnPrint() { PrintControl(ID_TREE); }
