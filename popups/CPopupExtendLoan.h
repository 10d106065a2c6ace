#pragma once
// Asks the club a player is on loan from to keep him longer: the extension
// in weeks (4 up to 12, never past the end of the human's season) with the
// present and the new return dates. OK sends the request as a loan offer
// that the club answers later.
#include "popups/CDecisionPopup.h"

class CPopupExtendLoan : public CDecisionPopup {
public:
    enum : uint32_t { ID_BEGAN = 1087, ID_RETURN = 1092, ID_WEEKS = 526, ID_NEW_RETURN = 1093 };
    static constexpr int kFewestWeeks = 4;
    static constexpr int kMostWeeks = 12;
    // The offer kind of a loan extension.
    static constexpr uint8_t kExtensionOffer = 1;
    CPopupExtendLoan();
    void OnEditChange(CXControl* pControl) override;
    // The most weeks the loan can be extended by today; below kFewestWeeks
    // none can be.
    static int MostWeeks();

protected:
    void AddControls() override;
    bool Confirm() override;
    const CClubDatabase* ColourClub() const override;

private:
    int Weeks() const;
    void DisplayDetails();
};
