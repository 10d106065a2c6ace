#pragma once
// Releases one of the human club's players on a free transfer: he goes on
// the list as free to leave, and the club's next finance run pays him the
// weeks left on his contract.
#include "popups/CDecisionPopup.h"

class CPopupFreeTransfer : public CDecisionPopup {
public:
    enum : uint32_t { ID_WEEKS_LEFT = 1094, ID_PAY_OFF = 1085 };
    CPopupFreeTransfer();

protected:
    void AddControls() override;
    bool Confirm() override;
    const CClubDatabase* ColourClub() const override;
};
