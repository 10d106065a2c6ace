#pragma once
// The club's current account (screen 29), month by month: every finance
// category under its headings with the month's income and expenditure and
// the season's figure, each heading with the balance after it, and under a
// category the single payments by player, staff member, manager, club or
// ground component. The title bar's month list chooses a closed month (read
// from the month history) or the running month (the human's live books);
// the graph shows the chosen heading's monthly figure over the months kept.
#include "popups/CPopupMatchdayFinance.h"
#include "popups/CPopupTransferMoney.h"
#include "shell/CGameClient.h"

#include "season/CFinanceMonthFile.h"

#include <cstdint>
#include <map>
#include <string>

class CXGraph;
class CXTreeView;

class CClientFinanceCurrent : public CGameClient {
public:
    enum : uint32_t {
        ID_TREE = 322,
        ID_GRAPH = 327,
        ID_TRANSFER = 328,
        ID_GRAPH_LINE = 329,
        ID_SCROLLBAR = 901,
        ID_MONTH_LIST = 795,
    };
    // The data columns of a tree row.
    enum : int { DATA_CATEGORY = 0, DATA_TREE_ROW = 1 };
    // A payment row's category column holds this above its category.
    static constexpr int32_t kPaymentRow = 0x10000;

    CClientFinanceCurrent();

    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void OnEndPopup(CXPopup* pPopup) override;
    void OnSelChange(uint32_t dwID) override;
    // A match day's payment opens that match day's money.
    void OnDoubleClicked(uint32_t dwID) override;
    void ConstructScreen() override;
    void OnPrint() override;

    void FillMonthSelector();
    // Reads the month of the chosen row (the last row is the running month)
    // and rebuilds the tree.
    void LoadMonth(int nRow);
    void UpdateGraph();

    // The tables of the month shown: 0 the month, 1 the season.
    int32_t GetNet(int nTable, int nCategory) const;
    int32_t GetIncome(int nTable, int nCategory) const;
    int32_t GetExpense(int nTable, int nCategory) const;

    bool IsRunningMonth() const { return m_bRunningMonth; }
    CXTreeView* GetTree() const { return m_pTree; }
    CXGraph* GetGraph() const { return m_pGraph; }

    // One row of the constant category tree: a heading (its children and
    // finance group) or a category, named by an item of the category texts.
    struct TREEROW {
        const TREEROW* pChildren;
        int nText;
        int nCategory;
        int nGroup;
    };
    // The top of the category tree, which the projection screen shares.
    static const TREEROW* GetCategoryTree();

    // The form that asks how much to move to the deposit account.
    CPopupTransferMoney& GetTransferPopup() { return m_TransferPopup; }
    CPopupMatchdayFinance& GetMatchdayPopup() { return m_MatchdayPopup; }
    // The match of a match day's payment row; false for any other row.
    bool FindMatchOfItem(int nItem, uint32_t& dwMatchID) const;
    // Match-day sales and services are paid per match: their payments name
    // the match by its id.
    static bool IsMatchdayCategory(int nCategory);

private:
    CPopupTransferMoney m_TransferPopup;
    CPopupMatchdayFinance m_MatchdayPopup;
    // Payment rows of match days and their matches.
    std::map<int, uint32_t> m_MatchOfItem;
    // Who the human club played in a match, by its record.
    std::string MatchName(uint32_t dwMatchID);
    std::map<uint32_t, std::string> m_MatchNames;
    void AddCategoriesToTree(const TREEROW* pTable, int nParent, int nDepth);
    void AddDataToItemsInTree();
    bool IsShown(int nCategory) const;
    std::string PaymentName(const FINANCETRANSACTION& transaction) const;

    bool m_bRunningMonth = true;
    int32_t m_nRunningBalance = 0;
    // The month shown: the human's live books copied, or a closed month.
    FINANCEMONTH m_Month;
    CXTreeView* m_pTree = nullptr;
    CXGraph* m_pGraph = nullptr;
};

// The one finance current screen object.
CClientFinanceCurrent& GetFinanceCurrentScreen();
