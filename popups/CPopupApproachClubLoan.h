#pragma once
// The human asks another club to lend him a player: for how many weeks and
// how much of the player's weekly wage his club pays. It shows the player's
// wage, the weekly surcharges that go with him, the loan's total cost and
// whether he may still play in the domestic and the European cups. OK stores
// the loan offer; the other club answers later through the day processing.
// An offer the database refuses is told with a message.
#include "shell/CGamePopup.h"

#include <cstdint>

class CPlayerDatabase;
class CXEdit;

class CPopupApproachClubLoan : public CGamePopup {
public:
    enum : uint32_t {
        ID_WEEKS = 474,
        ID_CONTRIBUTION = 475,
        ID_CUPS = 476,
        ID_SURCHARGES = 1088,
        ID_WAGE = 1089,
        ID_TOTAL = 1090,
    };
    enum : int { MESSAGE_LOAN_REFUSED = 115 };
    static constexpr int kMinimumWeeks = 4;
    static constexpr int kMaximumWeeks = 12;
    // Yearly surcharges in per cent of the player's value, by his surcharge bits 0-3.
    static constexpr double kSurchargeRates[4] = {0.25, 0.24, 0.26, 0.23};

    CPopupApproachClubLoan();
    bool Show(CPlayerDatabase* pPlayer);
    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void OnEditChange(CXControl* pControl) override;
    void ConstructScreen() override;

    // The player's weekly surcharges and weekly wage (halves rounded up).
    static int32_t WeeklySurcharges(const CPlayerDatabase& player);
    static int32_t WeeklyWage(const CPlayerDatabase& player);

private:
    CXEdit* Edit(uint32_t dwID) const;
    void ShowTotal();
    void Send();

    CPlayerDatabase* m_pPlayer = nullptr;
    int32_t m_nSurcharges = 0;
};
