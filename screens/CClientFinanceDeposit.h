#pragma once
// The club's deposit account (screen 30): its statement (opening line, money
// paid in and taken out, interest with its rate), a graph of the deposit at
// each month close of the season and now, and a button that takes money out
// into the current account through the move money form. Money is paid in on
// the current account screen.
#include "popups/CPopupTransferMoney.h"
#include "shell/CGameClient.h"

#include <cstdint>
#include <string>

class CXGraph;
class CXListBox;
struct BALANCERECORD;

class CClientFinanceDeposit : public CGameClient {
public:
    enum : uint32_t {
        ID_STATEMENT = 332,
        ID_GRAPH = 335,
        ID_WITHDRAW = 336,
        ID_GRAPH_LINE = 337,
        ID_SCROLLBAR = 901,
    };
    enum : int { LINE_DEPOSIT = 4 };

    CClientFinanceDeposit();

    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void OnEndPopup(CXPopup* pPopup) override;
    void ConstructScreen() override;
    void OnPrint() override;

    void FillStatement();
    void UpdateGraph();
    // The statement row of one line: kind, date, paid in, taken out, balance.
    static std::string StatementRow(const BALANCERECORD& line);

    CPopupTransferMoney& GetTransferPopup() { return m_TransferPopup; }
    CXListBox* GetStatement() const { return m_pStatement; }
    CXGraph* GetGraph() const { return m_pGraph; }

private:
    CPopupTransferMoney m_TransferPopup;
    CXListBox* m_pStatement = nullptr;
    CXGraph* m_pGraph = nullptr;
};

CClientFinanceDeposit& GetFinanceDepositScreen();
