#pragma once
// The money of one played match day at the human club's ground, as its
// match record keeps it: what each match-day product made after its cost,
// what each match-day service cost, the gate the day started from and what
// it came to. The advanced match details and the current account open it
// with the match.
#include "shell/CGamePopup.h"

#include "database/MatchHistory.h"

#include <cstdint>

class CXListBox;

class CPopupMatchdayFinance : public CGamePopup {
public:
    static constexpr uint16_t kScreenID = 92;
    enum : uint32_t {
        ID_INCOME_LIST = 876,
        ID_EXPENSE_LIST = 875,
        ID_INCOME_SCROLLBAR = 901,
        ID_EXPENSE_SCROLLBAR = 902,
        ID_GATE = 10001,
        ID_INCOME_TOTAL = 10002,
        ID_EXPENSE_TOTAL = 10003,
        ID_RESULT = 10004,
    };

    CPopupMatchdayFinance();
    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void ConstructScreen() override;

    // Opens the popup over the top popup or the screen for the match.
    bool Show(uint32_t dwMatchID);
    uint32_t GetMatchID() const { return m_dwMatchID; }
    // The figures shown; zeros for a match without a record or its parts.
    const MATCHDAYFINANCE& GetFinance() const { return m_Finance; }
    int64_t GetIncomeTotal() const { return m_nIncomeTotal; }
    int64_t GetExpenseTotal() const { return m_nExpenseTotal; }

    // Hundredths to whole units, halves rounded up.
    static int64_t RoundHundredths(int64_t nHundredths);

private:
    void Fill();
    CXListBox* AddMoneyList(uint32_t dwListID, uint32_t dwBarID, int nTop, int nBottom, const struct LISTCOLUMN* pColumns);

    uint32_t m_dwMatchID = 0;
    MATCHDAYFINANCE m_Finance;
    int64_t m_nIncomeTotal = 0;
    int64_t m_nExpenseTotal = 0;
    CXListBox* m_pIncome = nullptr;
    CXListBox* m_pExpenses = nullptr;
};
