#pragma once
// The club's expected money for the running month and the five after it
// (screen 31): the current account's category tree filled from the season
// code's projection, the title bar's month list choosing the month, and a
// graph of the chosen heading over the six months. It only reads.
#include "screens/CClientFinanceCurrent.h"
#include "shell/CGameClient.h"

#include "season/CFinanceMonthFile.h"

#include <cstdint>
#include <vector>

class CXGraph;
class CXTreeView;

class CClientFinanceProjected : public CGameClient {
public:
    enum : uint32_t {
        ID_TREE = 338,
        ID_GRAPH = 343,
        ID_GRAPH_LINE = 344,
        ID_SCROLLBAR = 901,
        ID_MONTH_LIST = 795,
    };
    enum : int { DATA_CATEGORY = 0, DATA_TREE_ROW = 1 };
    static constexpr int kProjectedMonths = 6;
    static constexpr int kGroupLine = 4;

    CClientFinanceProjected();

    bool OnInitDialog() override;
    void OnSelChange(uint32_t dwID) override;
    void ConstructScreen() override;
    void OnPrint() override;

    void FillMonthSelector();
    // Reads the projected month (0 the running month) and rebuilds the tree;
    // a projection missing or short shows an empty tree.
    void LoadMonth(int nMonth);
    void UpdateGraph();

    CXTreeView* GetTree() const { return m_pTree; }
    CXGraph* GetGraph() const { return m_pGraph; }

private:
    void AddCategoriesToTree(const CClientFinanceCurrent::TREEROW* pTable, int nParent, int nDepth);

    CXTreeView* m_pTree = nullptr;
    CXGraph* m_pGraph = nullptr;
    std::vector<PROJECTEDMONTH> m_Months;
    PROJECTEDMONTH m_Month;
    int64_t m_nRunningBalance = 0;
};

CClientFinanceProjected& GetFinanceProjectedScreen();
