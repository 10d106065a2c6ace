#pragma once
// The club's merchandise and catering (screen 32): the 17 match-day products
// of one family (10 merchandise, 7 catering, chosen on the title bar) with
// cost, selling price, margin, outlets and what they sold at the last home
// match and over the season. A price typed into the list is the human's
// price from then on; the commercial manager can keep the prices instead.
// Changes are undone step by step while the screen is up. The graph shows
// the chosen product's weekly sales between matches over the last year.
#include "shell/CGameClient.h"

#include <cstdint>
#include <vector>

class CClubDatabase;
class CSaveGame;
class CXGraph;
class CXListBox;

class CClientFinanceMerchandiseCatering : public CGameClient {
public:
    enum : uint32_t {
        ID_LIST = 346,
        ID_GRAPH = 355,
        ID_PRICE_LINE = 356,
        ID_PROFIT_LINE = 357,
        ID_SOLD_LINE = 358,
        ID_PRICING = 359,
        ID_FAMILY_LIST = 796,
        ID_SCROLLBAR = 901,
        ID_CONFIRM = 884,
        ID_PRICING_STANDARD = 1167,
        ID_PRICING_RATIO = 1168,
        ID_PRICING_COST_RATIO = 1169,
        ID_UNDO = 1170,
        ID_UNDO_ALL = 1171,
    };
    enum { MESSAGE_UNDO_ALL = 5, MESSAGE_PRICING = 64 };
    enum : int { FAMILY_MERCHANDISE = 0, FAMILY_CATERING = 1 };
    enum : uint8_t { UNDO_ROW = 0, UNDO_PRICE = 1, UNDO_FAMILY = 2 };
    // List columns.
    enum : int { COLUMN_NAME = 0, COLUMN_COST, COLUMN_PRICE, COLUMN_MARGIN, COLUMN_OUTLETS };
    // Graph lines.
    enum : int { LINE_SOLD = 0, LINE_PRICE = 1, LINE_PROFIT = 2 };
    static constexpr int kFamilySelector = 17;
    static constexpr int kMerchandiseRows = 10;
    static constexpr int kWeeks = 52;
    // The dearest price a product may be given, in hundredths.
    static constexpr int32_t kHighestPrice = 99999999;

    struct UNDORECORD {
        uint8_t byKind;
        int32_t nValue;
    };
    // One week of the graph: units sold, profit and price (both hundredths).
    struct WEEKSALES {
        int64_t nUnits = 0;
        int64_t nProfit = 0;
        int64_t nPrice = 0;
    };

    CClientFinanceMerchandiseCatering();

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void ConstructScreen() override;
    void OnPrint() override;
    void OnListNotify(uint32_t dwScreenID) override;
    void OnEndMessageBoxPopup() override;

    void FillFamilySelector();
    void Redraw();
    void SetFamily(int nFamily, bool bWithUndo);
    // A typed price for the product of a list row; refused (false, the row
    // unchanged) when it is not a price.
    bool SetTypedPrice(int nRow, const char* pszText);
    // Pricing by the human's choice (with bReset by hand from now on).
    void ApplyPricing(bool bReset);
    void Undo();
    void UndoAll();
    void UpdateGraph();

    int GetFamily() const { return m_nFamily; }
    int GetSelectedProduct() const;
    size_t GetUndoCount() const { return m_Undo.size(); }
    CXListBox* GetList() const { return m_pList; }
    CXGraph* GetGraph() const { return m_pGraph; }
    // The last year of the product's weekly sales from the club's file of
    // weekly sales, oldest first, the week just ended last.
    static std::vector<WEEKSALES> ReadWeeklySales(const char* pszFile, int nProduct);

private:
    // The screen's background with the shaded graph area, the family's
    // caption and the club's colours.
    void BuildBackground();
    void FillList();
    void UpdateRow(int nRow);
    void PushUndo(uint8_t byKind, int32_t nValue);
    void ClearUndo();
    void UpdateButtons();
    void SelectRow(int nRow);

    CSaveGame* m_pHuman = nullptr;
    CClubDatabase* m_pClub = nullptr;
    CXListBox* m_pList = nullptr;
    CXGraph* m_pGraph = nullptr;
    int m_nFamily = FAMILY_MERCHANDISE;
    int m_nSelectedRow = 0;
    bool m_bQuiet = false;
    std::vector<UNDORECORD> m_Undo;
};

CClientFinanceMerchandiseCatering& GetFinanceMerchandiseCateringScreen();
