#pragma once
// The personal terms the human's club offers one player: a new contract for
// one of his own players, a contract for a player listed on a free transfer,
// or the contract that goes with a fee another club has agreed. OK writes the
// terms into the club's buy offer for the player (making the offer first for
// an own or free-transfer player); the player answers later through the day
// processing. Terms that cannot be sent are refused with a message and the
// popup stays open with them.
#include "shell/CGamePopup.h"

#include "database/CPlayerDatabase.h"

#include <cstdint>

class CBuyOfferDatabase;
class CXComboBox;
class CXEdit;
class CXListBox;

class CPopupPlayerNegotiation : public CGamePopup {
public:
    enum : uint32_t {
        ID_CLAUSES = 666,
        ID_WEEKS = 668,
        ID_WAGE = 669,
        ID_PERCENTAGE = 670,
        ID_FEE_SHARE = 671,
        ID_ALLOWANCE_1 = 672,
        ID_ALLOWANCE_2 = 673,
        ID_AMOUNT_A = 674,
        ID_AMOUNT_B = 675,
        ID_AMOUNT_C = 676,
        ID_AMOUNT_D = 677,
        ID_COUNT_1 = 678,
        ID_CONDITION_1 = 679,
        ID_COUNT_2 = 680,
        ID_CONDITION_2 = 681,
        ID_COUNT_3 = 682,
        ID_CONDITION_3 = 683,
        ID_AGREED_FEE = 1130,
        ID_NO_PERCENTAGE = 10000,
    };
    // Messages of terms refused before sending.
    enum : int {
        MESSAGE_NO_AGREED_FEE = 110,
        MESSAGE_SHORT_CONTRACT = 111,
        MESSAGE_NO_WAGE = 112,
        MESSAGE_SHARE_ABOVE_FEE = 113,
        MESSAGE_OFFER_REFUSED = 114,
    };
    static constexpr int kClauses = 3;
    static constexpr int kAllowanceLevels = 6;
    static constexpr int32_t kAllowance1[kAllowanceLevels] = {0, 15000, 20000, 30000, 40000, 60000};
    static constexpr int32_t kAllowance2[kAllowanceLevels] = {0, 4800, 6400, 9000, 12000, 15000};
    static constexpr int kMinimumWeeks = 52;
    static constexpr int kMaximumWeeks = 999;

    CPopupPlayerNegotiation();
    // Opens the popup for the player over the top popup or screen.
    bool Show(CPlayerDatabase* pPlayer);
    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnEditChange(CXControl* pControl) override;
    void ConstructScreen() override;

    const PLAYERCONTRACT& GetTerms() const { return m_Terms; }
    // Whether the player is the human club's own or listed on a free transfer.
    bool IsOwnOrFreePlayer() const { return m_bOwnOrFree; }

private:
    CXEdit* Edit(uint32_t dwID) const;
    void Display();
    void FillClauses();
    void FillAllowances(CXComboBox* pBox, int nTable, const int32_t* pnAmounts, int nDivisor, uint8_t bySelected);
    // The terms of the edits; 0 when they may be sent, else the message.
    int ReadTerms();
    void Send();

    CPlayerDatabase* m_pPlayer = nullptr;
    CBuyOfferDatabase* m_pOffer = nullptr;
    PLAYERCONTRACT m_Terms;
    bool m_bOwnOrFree = false;
    bool m_bShowFeeShare = false;
    bool m_bShowAgreedFee = false;
};
