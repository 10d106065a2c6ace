#pragma once
// Lists one of the human club's players for sale at an asking price.
#include "popups/CDecisionPopup.h"

class CPopupSellPlayer : public CDecisionPopup {
public:
    enum : uint32_t { ID_ASKING_PRICE = 1091 };
    CPopupSellPlayer();

protected:
    void AddControls() override;
    bool Confirm() override;
};
