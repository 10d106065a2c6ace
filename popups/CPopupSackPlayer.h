#pragma once
// Shows what sacking one of the human club's players would cost (the weeks
// left on his contract and his wage for them) and takes the pay-off the
// manager would offer; it changes nothing itself: its owner reads the offer
// after it closed with 884.
#include "popups/CDecisionPopup.h"

class CPopupSackPlayer : public CDecisionPopup {
public:
    enum : uint32_t { ID_WEEKS_LEFT = 1094, ID_PAY_OFF = 1085, ID_OFFERED = 1091 };
    CPopupSackPlayer();
    int32_t GetOfferedPayOff() const { return m_nOffered; }

protected:
    void AddControls() override;
    bool Confirm() override;

private:
    int32_t m_nOffered = 0;
};
