#pragma once
// The application for an overdraft, from the finance general screen: the
// limit asked for and its term in finance periods, with the bank's rates and
// its fixed arrangement fee. OK stores the application in the manager's save
// game for the bank to decide; it moves no money.
#include "shell/CGamePopup.h"

#include <cstdint>

class CXEdit;

class CPopupOverdraftApplication : public CGamePopup {
public:
    enum : uint32_t {
        ID_EXCESS_RATE = 983,
        ID_RATE = 984,
        ID_AVAILABLE = 985,
        ID_FEE = 995,
        ID_RUNNING_AMOUNT = 996,
        ID_RUNNING_TERM = 997,
        ID_AMOUNT = 651,
        ID_TERM = 652,
        ID_AMOUNT_UP = 909,
        ID_AMOUNT_DOWN = 910,
        ID_TERM_UP = 911,
        ID_TERM_DOWN = 912,
    };
    enum : uint8_t { STATUS_NONE = 0, STATUS_NEW = 1, STATUS_CHANGE = 2 };
    static constexpr int32_t kArrangementFee = 500;

    CPopupOverdraftApplication();
    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void ConstructScreen() override;

    // What an application of the limit and term asks of the bank, for a club
    // whose running overdraft limit and periods are given.
    static uint8_t ApplicationStatus(int32_t nAmount, int nTerm, int32_t nRunningAmount, int nRunningTerm);

private:
    CXEdit* Edit(uint32_t dwID) const;
};
