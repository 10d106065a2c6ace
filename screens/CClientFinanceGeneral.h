#pragma once
// The club's bank page (screen 28): the overdraft on the left, the loan on
// the right, and below them a graph of the season's monthly income,
// expenditure and balance with the projected balance to the season's end;
// a pending bank application can be withdrawn here, and the title bar's
// season list chooses the season the graph shows.
#include "popups/CPopupLoanApplication.h"
#include "popups/CPopupOverdraftApplication.h"
#include "shell/CGameClient.h"

#include <cstdint>

class CClubDatabase;
class CXButton;
class CXGraph;
class CXStatic;

class CClientFinanceGeneral : public CGameClient {
public:
    enum : uint32_t {
        ID_APPLY_OVERDRAFT = 311,
        ID_WITHDRAW_OVERDRAFT = 312,
        ID_LOAN_NOTICE = 313,
        ID_APPLY_LOAN = 314,
        ID_WITHDRAW_LOAN = 315,
        ID_GRAPH = 316,
        ID_INCOME_LINE = 317,
        ID_EXPENSE_LINE = 318,
        ID_BALANCE_LINE = 319,
        ID_PROJECTION_LINE = 320,
        ID_OVERDRAFT_STATUS = 982,
        ID_OVERDRAFT_EXCESS_RATE = 983,
        ID_OVERDRAFT_RATE = 984,
        ID_OVERDRAFT_AVAILABLE = 985,
        ID_OVERDRAFT_AMOUNT = 986,
        ID_OVERDRAFT_PERIODS = 987,
        ID_LOAN_STATUS = 988,
        ID_LOAN_AVAILABLE = 989,
        ID_LOAN_RATE = 990,
        ID_LOAN_AMOUNT = 991,
        ID_LOAN_PAYMENTS = 992,
        ID_LOAN_OWED = 993,
        ID_LOAN_INSTALMENT = 994,
        ID_SEASON_LIST = 1141,
    };
    // Message-box questions and the notice.
    enum : int { ASK_WITHDRAW_LOAN = 17, ASK_WITHDRAW_OVERDRAFT = 18, LOAN_NOTICE = 19 };
    // Graph lines.
    enum : int { LINE_INCOME = 0, LINE_EXPENSE = 1, LINE_PROJECTION = 2, LINE_BALANCE = 4 };

    CClientFinanceGeneral();

    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void ConstructScreen() override;
    void OnPrint() override;
    void OnEndMessageBoxPopup() override;
    void OnEndPopup(CXPopup* pPopup) override;

    void EnableCorrectBankButtons();
    void UpdateLoanPanel();
    void UpdateOverdraftPanel();
    void UpdateGraph();
    void FillSeasonSelector();

    // What the club still has to pay back on its loan.
    static int64_t GetLoanStillOwed(const CClubDatabase& club);

    int GetCurrentSeason() const { return m_nCurrentSeason; }
    int GetSelectedSeason() const { return m_nSelectedSeason; }
    CXGraph* GetGraph() const { return m_pGraph; }

    CPopupLoanApplication& GetLoanPopup() { return m_LoanPopup; }
    CPopupOverdraftApplication& GetOverdraftPopup() { return m_OverdraftPopup; }

private:
    CPopupLoanApplication m_LoanPopup;
    CPopupOverdraftApplication m_OverdraftPopup;
    CXStatic* AddValueLabel(uint32_t dwID, int x, int y, int nWidth);
    CXStatic* Label(uint32_t dwID) const;
    void ShowButton(uint32_t dwID, bool bShow);

    int m_nCurrentSeason = 0;
    int m_nSelectedSeason = 0;
    CXGraph* m_pGraph = nullptr;
};

// The one finance general screen object.
CClientFinanceGeneral& GetFinanceGeneralScreen();
