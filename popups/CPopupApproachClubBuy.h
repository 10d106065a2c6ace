#pragma once
// The human's bid for another club's player: the total fee and the number
// of instalments it is paid in, a percentage of a later sale with its
// further amount, three count-and-amount conditions and, if he likes, one
// of his own players in exchange. OK stores the bid as the club's buy offer;
// the selling club answers later through the day processing. A bid the
// database refuses is told with a message and the popup stays open.
#include "shell/CGamePopup.h"

#include "database/CBuyOfferDatabase.h"

#include <cstdint>

class CPlayerDatabase;
class CXEdit;

class CPopupApproachClubBuy : public CGamePopup {
public:
    enum : uint32_t {
        ID_FEE = 459,
        ID_INSTALMENTS = 460,
        ID_PERCENTAGE = 461,
        ID_FURTHER = 462,
        ID_COUNT_1 = 465,
        ID_AMOUNT_1 = 466,
        ID_COUNT_2 = 467,
        ID_AMOUNT_2 = 468,
        ID_COUNT_3 = 469,
        ID_AMOUNT_3 = 470,
        ID_EXCHANGE = 471,
        ID_INSTALMENT = 1085,
        ID_FEE_AND_EXCHANGE = 1086,
    };
    enum : int { MESSAGE_BID_REFUSED = 114 };

    CPopupApproachClubBuy();
    bool Show(CPlayerDatabase* pPlayer);
    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnEditChange(CXControl* pControl) override;
    void ConstructScreen() override;

private:
    CXEdit* Edit(uint32_t dwID) const;
    void FillExchangePlayers();
    // The instalment and fee-with-exchange labels, and the further amount
    // set to the fee.
    void Recompute();
    CPlayerDatabase* ExchangePlayer() const;
    void Send();

    CPlayerDatabase* m_pPlayer = nullptr;
    uint32_t m_adwTerms[CBuyOfferDatabase::TERMS] = {};
};
