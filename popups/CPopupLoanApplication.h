#pragma once
// The application for a bank loan, from the finance general screen: an amount
// to borrow and a number of payments, with what the loan would cost worked
// out as they are typed. OK stores the application in the manager's save
// game for the bank to decide; it moves no money.
#include "shell/CGamePopup.h"

#include <cstdint>

class CXEdit;

class CPopupLoanApplication : public CGamePopup {
public:
    enum : uint32_t {
        ID_AVAILABLE = 989,
        ID_RATE = 990,
        ID_CHARGE = 1104,
        ID_RUNNING_AMOUNT = 1105,
        ID_RUNNING_PAYMENTS = 1106,
        ID_AMOUNT = 593,
        ID_PAYMENTS = 594,
        ID_PRINCIPAL = 1107,
        ID_PRINCIPAL_PAYMENTS = 1108,
        ID_INTEREST = 1109,
        ID_TOTAL = 993,
        ID_INSTALMENT = 994,
        ID_AMOUNT_UP = 909,
        ID_AMOUNT_DOWN = 910,
        ID_PAYMENTS_UP = 911,
        ID_PAYMENTS_DOWN = 912,
    };
    // The status the application is stored with.
    enum : uint8_t { STATUS_NONE = 0, STATUS_NEW = 1, STATUS_PAYMENTS = 2, STATUS_FURTHER = 3 };

    CPopupLoanApplication();
    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void OnEditChange(CXControl* pControl) override;
    void ConstructScreen() override;

    // What an application of the amount and payments asks of the bank, for
    // a club whose running loan and payments are given.
    static uint8_t ApplicationStatus(int32_t nAmount, int nPayments, int32_t nRunningLoan, int nRunningPayments);
    int32_t GetInstalment() const { return m_nInstalment; }

private:
    CXEdit* Edit(uint32_t dwID) const;
    int32_t m_nAvailable = 0;
    double m_dRate = 0.0;
    int32_t m_nCharge = 0;
    int32_t m_nInstalment = 0;
};
