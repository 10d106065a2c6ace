#pragma once
// A fee bid for a player to his club, starting from his standing and age.
#include "popups/CDecisionPopup.h"

class CPopupBosman : public CDecisionPopup {
public:
    enum : uint32_t { ID_FEE = 1091 };
    CPopupBosman();
    // The fee the bid starts from.
    static int32_t StartingFee(const CPlayerDatabase& player);

protected:
    void AddControls() override;
    bool Confirm() override;
    const CClubDatabase* ColourClub() const override;
};
