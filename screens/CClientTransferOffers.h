#pragma once
// The transfer offers screen (screen 17): for the transfer or the loan
// market, the offers other clubs have made for the human club's players
// (upper list) and the human club's own offers followed by the reports of
// its ended ones in red (lower list), each with where it stands. Opening an
// own offer opens the popup that takes it further: the contract talks once
// the selling club has agreed a fee, else the bid or the loan request again.
#include "shell/CGameClient.h"
#include "shell/PlayerRowIcons.h"

#include <cstdint>
#include <memory>
#include <vector>

class CBuyOfferDatabase;
class CClubDatabase;
class CLoanOfferDatabase;
class CPlayerDatabase;
class CPopupApproachClubBuy;
class CPopupApproachClubLoan;
class CPopupPlayerNegotiation;
class CSaveGame;
class CXAnimation;
class CXListBox;

class CClientTransferOffers : public CGameClient {
public:
    enum : uint32_t {
        ID_RECEIVED_LIST = 197,
        ID_OWN_LIST = 198,
        ID_RECEIVED_BAR = 901,
        ID_OWN_BAR = 902,
        ID_KIND_CHOICE = 802,
    };
    enum : int { KIND_TRANSFER = 0, KIND_LOAN = 1 };
    // Offer status flags shared by buy and loan offers.
    enum : uint16_t {
        OFFER_PRESENTED = 0x01,
        OFFER_CLUB_ANSWERED = 0x02,
        OFFER_AGREED_WITH_CLUB = 0x04,
        OFFER_PLAYER_ANSWERED = 0x08,
        OFFER_BIDDER_CONFIRMED = 0x10,
        OFFER_SELLER_CONFIRMED = 0x20,
        OFFER_CLUB_LAST_WORD = 0x40,
        OFFER_PLAYER_LAST_WORD = 0x80,
        OFFER_ANSWER_SEEN = 0x100,
    };

    CClientTransferOffers();
    ~CClientTransferOffers() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnSelChange(uint32_t dwID) override;
    void OnDoubleClicked(uint32_t dwID) override;
    void OnEndPopup(CXPopup* pPopup) override;
    void UpdateBars() override;
    void ConstructScreen() override;
    uint32_t GetPreviousListPlayer() override { return StepLastList(-1); }
    uint32_t GetNextListPlayer() override { return StepLastList(1); }
    uint32_t GetCurrentListPlayer() override { return StepLastList(0); }

    // The item of the status texts for an offer's flags and its club's and
    // player's answers; the player's last word has its own text only for
    // transfers.
    static int StatusItem(uint16_t wFlags, uint32_t dwClubAnswer, uint32_t dwPlayerAnswer, bool bTransfer);

    int GetKind() const { return m_nKind; }
    CXListBox* GetReceivedList() const;
    CXListBox* GetOwnList() const;
    // The popup the last opened offer brought up (null when none did).
    CXPopup* GetOpenedPopup() const { return m_pOpened; }

private:
    void DrawPanel();
    void FillReceivedOffers();
    void FillOwnOffers();
    // One row of either list: received offers keep the offer's identifier as
    // row data, own offers and reports the player's.
    void AddOfferRow(CXListBox* pList, COLORREF crRow, const CPlayerDatabase& player, const CClubDatabase* pClub,
                     uint32_t dwDate, uint32_t dwAmount, int nStatus, uint32_t dwRowData);
    // The row's player and the club its club column shows.
    void RowPlayerAndClub(const CXListBox* pList, int nRow, CPlayerDatabase*& pPlayer,
                          const CClubDatabase*& pClub) const;
    void AddBuyOfferRow(CXListBox* pList, COLORREF crRow, const CBuyOfferDatabase& offer, const CClubDatabase* pClub,
                        int nDaysOld);
    void AddLoanOfferRow(CXListBox* pList, COLORREF crRow, const CLoanOfferDatabase& offer,
                         const CClubDatabase* pClub);
    void OpenOwnOffer(CPlayerDatabase* pPlayer);
    uint32_t StepLastList(int nStep);
    CSaveGame* Human() const;

    int m_nKind = KIND_TRANSFER;
    CXListBox* m_pLastList = nullptr;
    int m_nUpperSel = -1;
    int m_nLowerSel = -1;
    bool m_bFilling = false;
    CXPopup* m_pOpened = nullptr;
    PlayerRowIcons m_RowIcons;
    std::unique_ptr<CPopupApproachClubBuy> m_pBidPopup;
    std::unique_ptr<CPopupApproachClubLoan> m_pLoanPopup;
    std::unique_ptr<CPopupPlayerNegotiation> m_pNegotiationPopup;
};
