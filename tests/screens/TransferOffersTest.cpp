// The transfer offers screen: where an offer stands read from its flags and
// answers, and the screen on a game in play listing the bids made for the
// human's players and his own, opening his own bid in the popup that takes
// it further.
#include "ScreenInPlay.h"

#include "screens/CClientTransferOffers.h"
#include "shell/CTableText.h"
#include "shell/ScreenIDs.h"

#include "database/CBuyOfferDatabase.h"
#include "database/CClubDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CLoanOfferDatabase.h"
#include "database/CPlayerDatabase.h"
#include "popups/CPopupApproachClubBuy.h"
#include "popups/CPopupApproachClubLoan.h"
#include "popups/CPopupPlayerNegotiation.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXListBox.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Offers = CClientTransferOffers;

TEST(TransferOfferStatus, FlagsAndAnswersPickTheText)
{
    const struct {
        uint16_t wFlags;
        uint32_t dwClub, dwPlayer;
        bool bTransfer;
        int nItem;
    } cases[] = {
        {0, 0, 0, true, 0},
        {0x01, 0, 0, true, 1},
        // Answered without the presented flag: past the first step.
        {0x02, 0, 0, true, 4},
        {0x03, 2, 0, true, 2},
        {0x43, 2, 0, true, 8},
        {0x07, 0, 0, true, 3},
        {0x0F, 0, 1, true, 5},
        {0x8F, 0, 1, true, 9},
        {0x8F, 0, 1, false, 5},
        {0x1F, 0, 0, true, 6},
        {0x3F, 0, 0, true, 7},
        {0x2F, 0, 0, false, 6},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Offers::StatusItem(c.wFlags, c.dwClub, c.dwPlayer, c.bTransfer), c.nItem)
            << "flags " << c.wFlags << " club " << c.dwClub << " player " << c.dwPlayer << " transfer " << c.bTransfer;
}

class TransferOffers : public ScreenInPlay {
protected:
    void SetUp() override
    {
        ScreenInPlay::SetUp();
        if (HasFatalFailure())
            return;
        m_pOwnPlayer = static_cast<CPlayerDatabase*>(m_pClub->m_lstPlayers.GetHead()->pData);
        for (CClubDatabase* pClub : m_pClub->m_pDivision->m_lstClubsByID.Items<CClubDatabase>())
            if (pClub != m_pClub && !m_pOtherClub)
                m_pOtherClub = pClub;
        ASSERT_NE(m_pOtherClub, nullptr);
        m_pOtherPlayer = static_cast<CPlayerDatabase*>(m_pOtherClub->m_lstPlayers.GetHead()->pData);
    }
    CBuyOfferDatabase* AddBid(const CPlayerDatabase* pPlayer, const CClubDatabase* pBidder, uint32_t dwFee,
                              uint16_t wFlags, uint8_t byClubAnswer = 0)
    {
        auto* pOffer = new CBuyOfferDatabase;
        pOffer->SetOfferID(m_dwNextID++);
        pOffer->SetPlayerID(pPlayer->m_idPerson);
        pOffer->SetBiddingClubID(pBidder->GetID());
        pOffer->SetValue100(dwFee);
        pOffer->SetFlags(wFlags);
        pOffer->SetClubAnswer(byClubAnswer);
        Database()->AddBuyOffer(pOffer);
        return pOffer;
    }
    Offers* Open(int nKind)
    {
        g_pNavigationBar->SetNextClient(GetScreenObject(SCREEN_TRANSFER_OFFERS), static_cast<uint32_t>(nKind));
        m_game.Update();
        m_game.Update();
        auto* pScreen = dynamic_cast<Offers*>(g_pCurrentClient);
        EXPECT_NE(pScreen, nullptr);
        return pScreen;
    }
    static std::string Cell(const CXListBox* pList, int nRow, int nColumn)
    {
        char sz[LISTBOX_ROW_TEXT_SIZE] = "";
        pList->GetColumnText(nRow, nColumn, sz);
        return sz;
    }
    static int RowOf(const CXListBox* pList, const CPlayerDatabase* pPlayer)
    {
        for (int i = 0; i < pList->GetCount(); ++i)
            if (Cell(pList, i, 1) == pPlayer->GetShortName())
                return i;
        return -1;
    }
    static constexpr int kStatusColumn = 6;

    uint32_t m_dwNextID = 900000;
    CPlayerDatabase* m_pOwnPlayer = nullptr;
    CClubDatabase* m_pOtherClub = nullptr;
    CPlayerDatabase* m_pOtherPlayer = nullptr;
};

TEST_F(TransferOffers, BidsForHisPlayersAboveAndHisOwnBelowWithWhereTheyStand)
{
    AddBid(m_pOwnPlayer, m_pOtherClub, 250000, 0x01);
    // A contract offer of his club to its own player is no bid for him.
    AddBid(m_pOwnPlayer, m_pClub, 0, 0x02);
    CBuyOfferDatabase* pOwnBid = AddBid(m_pOtherPlayer, m_pClub, 400000, 0x03, 2);
    Offers* pScreen = Open(Offers::KIND_TRANSFER);
    ASSERT_NE(pScreen, nullptr);
    Shoot("transfer-offers.png");

    const CXListBox* pReceived = pScreen->GetReceivedList();
    ASSERT_EQ(pReceived->GetCount(), 1);
    EXPECT_EQ(Cell(pReceived, 0, 1), m_pOwnPlayer->GetShortName());
    EXPECT_EQ(Cell(pReceived, 0, 2), m_pOtherClub->GetName());
    EXPECT_EQ(Cell(pReceived, 0, kStatusColumn), GetTableTextOrEmpty(142, 1));

    const CXListBox* pOwn = pScreen->GetOwnList();
    const int nRow = RowOf(pOwn, m_pOtherPlayer);
    ASSERT_GE(nRow, 0);
    EXPECT_EQ(Cell(pOwn, nRow, 2), m_pOtherClub->GetName());
    EXPECT_EQ(Cell(pOwn, nRow, kStatusColumn), GetTableTextOrEmpty(142, 2));
    // Showing the refusal is seeing it.
    EXPECT_TRUE(pOwnBid->GetFlags() & Offers::OFFER_ANSWER_SEEN);
}

TEST_F(TransferOffers, EndedBidsStayInRedWithTheirOutcomeForTwoWeeks)
{
    auto* pEnded = new CBuyOfferDatabase;
    pEnded->SetOfferID(m_dwNextID++);
    pEnded->SetPlayerID(m_pOtherPlayer->m_idPerson);
    pEnded->SetBiddingClubID(m_pClub->GetID());
    pEnded->SetValue100(123000);
    pEnded->SetFlags(0x43);
    pEnded->SetClubAnswer(3);
    m_pHuman->TakeEndedBuyOffer(pEnded);
    m_pHuman->AgeTransferOfferReports(14);
    Offers* pScreen = Open(Offers::KIND_TRANSFER);
    ASSERT_NE(pScreen, nullptr);
    const CXListBox* pOwn = pScreen->GetOwnList();
    const int nRow = RowOf(pOwn, m_pOtherPlayer);
    ASSERT_GE(nRow, 0);
    EXPECT_EQ(pOwn->GetRow(nRow)->crColour, plat::RGB(255, 0, 0));
    // The report's age lies over the copied flags: the outcome must still
    // read as the club's last word.
    EXPECT_EQ(Cell(pOwn, nRow, kStatusColumn), GetTableTextOrEmpty(142, 8));
    EXPECT_EQ(Cell(pOwn, nRow, 5), "123,000");

    m_pHuman->AgeTransferOfferReports(1);
    pScreen = Open(Offers::KIND_TRANSFER);
    ASSERT_NE(pScreen, nullptr);
    EXPECT_LT(RowOf(pScreen->GetOwnList(), m_pOtherPlayer), 0);
}

TEST_F(TransferOffers, OpeningHisBidBringsUpTheBidOrTheContractTalks)
{
    CBuyOfferDatabase* pOwnBid = AddBid(m_pOtherPlayer, m_pClub, 400000, 0x03, 1);
    Offers* pScreen = Open(Offers::KIND_TRANSFER);
    ASSERT_NE(pScreen, nullptr);
    CXListBox* pOwn = pScreen->GetOwnList();
    const int nRow = RowOf(pOwn, m_pOtherPlayer);
    ASSERT_GE(nRow, 0);

    struct {
        uint8_t byClubAnswer;
        bool bTalks;
    } const cases[] = {{1, false}, {0, true}};
    for (const auto& c : cases) {
        pOwnBid->SetClubAnswer(c.byClubAnswer);
        pOwn->SetSelection(nRow);
        pScreen->OnDoubleClicked(Offers::ID_OWN_LIST);
        CXPopup* pPopup = pScreen->GetOpenedPopup();
        ASSERT_NE(pPopup, nullptr) << "club answer " << int(c.byClubAnswer);
        EXPECT_TRUE(pPopup->IsOnStack());
        EXPECT_EQ(dynamic_cast<CPopupPlayerNegotiation*>(pPopup) != nullptr, c.bTalks);
        EXPECT_EQ(dynamic_cast<CPopupApproachClubBuy*>(pPopup) != nullptr, !c.bTalks);
        if (c.bTalks)
            Shoot("transfer-offers-talks.png");
        pPopup->Close();
        m_game.Update();
    }
    // Closing the popup shows the list afresh: the fee is agreed now.
    EXPECT_EQ(Cell(pOwn, nRow, kStatusColumn), GetTableTextOrEmpty(142, 4));
}

TEST_F(TransferOffers, LoanRequestsBothWaysOnTheLoanList)
{
    auto addLoan = [&](const CPlayerDatabase* pPlayer, const CClubDatabase* pBorrower, uint16_t wDays) {
        auto* pOffer = new CLoanOfferDatabase;
        pOffer->SetOfferID(m_dwNextID++);
        pOffer->SetPlayerID(pPlayer->m_idPerson);
        pOffer->SetClubID(pBorrower->GetID());
        pOffer->SetWord(0, Database()->GetGameDate().GetValue());
        pOffer->SetHalf(0, wDays);
        pOffer->SetFlags(0x0F);
        pOffer->SetPlayerAnswer(1);
        Database()->AddLoanOffer(pOffer);
    };
    addLoan(m_pOwnPlayer, m_pOtherClub, 70);
    addLoan(m_pOtherPlayer, m_pClub, 91);
    Offers* pScreen = Open(Offers::KIND_LOAN);
    ASSERT_NE(pScreen, nullptr);
    Shoot("transfer-offers-loans.png");
    const CXListBox* pReceived = pScreen->GetReceivedList();
    ASSERT_EQ(pReceived->GetCount(), 1);
    EXPECT_EQ(Cell(pReceived, 0, 5), "70");
    EXPECT_EQ(Cell(pReceived, 0, kStatusColumn), GetTableTextOrEmpty(142, 5));
    CXListBox* pOwn = pScreen->GetOwnList();
    const int nRow = RowOf(pOwn, m_pOtherPlayer);
    ASSERT_GE(nRow, 0);
    EXPECT_EQ(Cell(pOwn, nRow, 5), "91");
    pOwn->SetSelection(nRow);
    pScreen->OnDoubleClicked(Offers::ID_OWN_LIST);
    EXPECT_NE(dynamic_cast<CPopupApproachClubLoan*>(pScreen->GetOpenedPopup()), nullptr);
}

}  // namespace
