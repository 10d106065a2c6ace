#pragma once
// Marks one of the human club's players as not for sale, with the price
// asked for him and the least bid the manager would still hear; the first
// is never below the second.
#include "popups/CDecisionPopup.h"

class CPopupNotForSale : public CDecisionPopup {
public:
    enum : uint32_t { ID_ASKING_PRICE = 625, ID_LEAST_BID = 626 };
    static constexpr uint32_t kNotForSaleFlag = 0x1000;
    CPopupNotForSale();
    void OnEditChange(CXControl* pControl) override;

protected:
    void AddControls() override;
    bool Confirm() override;

private:
    CXEdit* Edit(uint32_t dwID);
    bool m_bAdjusting = false;
};
