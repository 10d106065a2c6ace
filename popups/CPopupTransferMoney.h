#pragma once
// One amount of money with OK and Cancel: the finance screens ask with it how
// much to move between the current and the deposit account, and decide what
// the amount does when it closes with OK. It moves no money itself.
#include "shell/CGamePopup.h"

#include <cstdint>

class CPopupTransferMoney : public CGamePopup {
public:
    enum : uint32_t { ID_AMOUNT = 1091, ID_AMOUNT_UP = 909, ID_AMOUNT_DOWN = 910 };

    CPopupTransferMoney();
    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void ConstructScreen() override;

    // The amount read on OK; Cancel leaves the last one.
    int32_t GetAmount() const { return m_nAmount; }

private:
    int32_t m_nAmount = 0;
};
