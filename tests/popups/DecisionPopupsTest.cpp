// The transfer and contract decisions, the insurance covers and the player
// diagnostics, over a game in play: each confirmation changes the world as
// the decision says, each refusal is told in the message box and changes
// nothing.
#include "../screens/ScreenInPlay.h"

#include "popups/CPopupBosman.h"
#include "popups/CPopupDebugPlayer.h"
#include "popups/CPopupExtendLoan.h"
#include "popups/CPopupFreeTransfer.h"
#include "popups/CPopupInsurance.h"
#include "popups/CPopupNotForSale.h"
#include "popups/CPopupSackPlayer.h"
#include "popups/CPopupSellPlayer.h"
#include "popups/CPopupStaffNegotiation.h"
#include "popups/GamePopups.h"
#include "popups/PopupLook.h"
#include "shell/FormattingFunctions.h"

#include "database/CBuyOfferDatabase.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CEventsDatabase.h"
#include "database/CLoanOfferDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CStaffDatabase.h"
#include "xframework/CXEdit.h"
#include "xframework/CXListBox.h"
#include "xframework/CXStatic.h"

#include <cstdint>
#include <string>

namespace {

class DecisionPopups : public ScreenInPlay {
protected:
    void SetUp() override
    {
        CreateGamePopups();
        ScreenInPlay::SetUp();
    }
    void TearDown() override
    {
        while (CXPopup* pTop = CXPopup::TopPopup())
            pTop->Close();
        ScreenInPlay::TearDown();
    }

    // The nth of the human club's players on no list.
    CPlayerDatabase* SquadPlayer(int n = 0)
    {
        for (CPlayerDatabase* p : m_pClub->m_lstPlayers.Items<CPlayerDatabase>())
            if (p->m_byTransferState == 0 && n-- == 0)
                return p;
        return nullptr;
    }
    CClubDatabase* OtherClub()
    {
        for (ID_CLUB id = 1; id < 200; ++id)
            if (CClubDatabase* pClub = Database()->GetClubFromID(id); pClub && pClub != m_pClub)
                return pClub;
        return nullptr;
    }
    static CXEdit* Edit(CXPopup& popup, uint32_t dwID) { return dynamic_cast<CXEdit*>(popup.FindControl(dwID)); }
    static std::string Text(CXPopup& popup, uint32_t dwID)
    {
        auto* pStatic = dynamic_cast<CXStatic*>(popup.FindControl(dwID));
        return pStatic ? pStatic->Text() : "(none)";
    }
    // Types an amount into an edit as the player would and lets the popup
    // hear of it.
    static void Type(CXPopup& popup, uint32_t dwID, const char* pszText)
    {
        CXEdit* pEdit = Edit(popup, dwID);
        ASSERT_NE(pEdit, nullptr);
        pEdit->SetText("%s", pszText);
    }
    // The message the box shows after a refusal; -1 when it is not open.
    static int RefusalShown()
    {
        CGameMessageBox* pBox = GetGameMessageBox();
        if (!pBox || CXPopup::TopPopup() != pBox)
            return -1;
        const int nItem = pBox->GetTextItem();
        pBox->Close();
        return nItem;
    }
    void Shoot(CXPopup& popup, const char* pszName)
    {
        ScreenInPlay::Shoot(pszName);
        EXPECT_TRUE(popup.IsOnStack());
    }
    void ProcessDays(int nDays) { Database()->ProcessDaysToDate(CDate(Database()->GetGameDate().GetValue(), nDays)); }

    // Members, so that a popup a test leaves open outlives the closing of
    // the stack.
    CPopupSellPlayer m_sell;
    CPopupFreeTransfer m_freeTransfer;
    CPopupNotForSale m_notForSale;
    CPopupExtendLoan m_extendLoan;
    CPopupStaffNegotiation m_staffNegotiation;
    CPopupBosman m_bosman;
    CPopupSackPlayer m_sack;
    CPopupInsurance m_insurance;
    CPopupDebugPlayer m_debug;
};

TEST_F(DecisionPopups, SellingListsThePlayerUntilTheManagerTakesHimOff)
{
    CPlayerDatabase* pPlayer = SquadPlayer();
    ASSERT_NE(pPlayer, nullptr);
    CPopupSellPlayer& popup = m_sell;
    popup.SetPlayer(pPlayer);
    ASSERT_TRUE(popup.Open());
    Type(popup, CPopupSellPlayer::ID_ASKING_PRICE, "750,000");
    Shoot(popup, "sell_player.png");
    popup.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_FALSE(popup.IsOnStack());
    EXPECT_EQ(pPlayer->m_byTransferState, PLAYER_TRANSFER_LISTED);
    EXPECT_EQ(pPlayer->m_dwAskingPrice, 750000u);
    ProcessDays(30);
    EXPECT_NE(Database()->FindListMarketEntry(pPlayer->m_idPerson), nullptr) << "the listing does not run out";

    // Listed already: told so, and the price stays.
    ASSERT_TRUE(popup.Open());
    Type(popup, CPopupSellPlayer::ID_ASKING_PRICE, "900,000");
    popup.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_EQ(RefusalShown(), CDecisionPopup::MESSAGE_ALREADY_LISTED);
    EXPECT_TRUE(popup.IsOnStack());
    EXPECT_EQ(pPlayer->m_dwAskingPrice, 750000u);
}

TEST_F(DecisionPopups, AFreeTransferListsThePlayerAndPaysOffTheWeeksLeft)
{
    CPlayerDatabase* pPlayer = SquadPlayer();
    ASSERT_NE(pPlayer, nullptr);
    pPlayer->m_Contract.dwYearlyWage = 26000;
    pPlayer->m_Contract.dwEndDate = CDate(Database()->GetGameDate().GetValue(), 10 * 7 + 3).GetValue();
    const int nPaymentsBefore = m_pClub->GetPendingPayments().GetCount();
    CPopupFreeTransfer& popup = m_freeTransfer;
    popup.SetPlayer(pPlayer);
    ASSERT_TRUE(popup.Open());
    EXPECT_EQ(Text(popup, CPopupFreeTransfer::ID_WEEKS_LEFT), "10");
    Shoot(popup, "free_transfer.png");
    popup.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_FALSE(popup.IsOnStack());
    EXPECT_EQ(pPlayer->m_byTransferState, PLAYER_TRANSFER_LEAVING);
    ASSERT_NE(Database()->FindListMarketEntry(pPlayer->m_idPerson), nullptr);
    ASSERT_EQ(m_pClub->GetPendingPayments().GetCount(), nPaymentsBefore + 1);
    const auto* pPayment = static_cast<const CLUBPENDINGPAYMENT*>(m_pClub->GetPendingPayments().GetTail()->pData);
    EXPECT_EQ(pPayment->idPlayer, pPlayer->m_idPerson);
    EXPECT_EQ(static_cast<int32_t>(pPayment->adwFields[0]), 5000);
    EXPECT_EQ(pPayment->adwFields[1], 0u);

    // Released already: told so, and he is not paid twice.
    ASSERT_TRUE(popup.Open());
    popup.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_EQ(RefusalShown(), CDecisionPopup::MESSAGE_ALREADY_LISTED);
    EXPECT_EQ(m_pClub->GetPendingPayments().GetCount(), nPaymentsBefore + 1);
}

TEST_F(DecisionPopups, NotForSaleKeepsTheAskingPriceAtLeastTheLeastBid)
{
    CPlayerDatabase* pPlayer = SquadPlayer();
    ASSERT_NE(pPlayer, nullptr);
    const struct {
        uint32_t dwEdit;
        const char* pszTyped;
        int32_t nPrice, nLeast;
    } cases[] = {
        {CPopupNotForSale::ID_ASKING_PRICE, "300,000", 300000, 300000},
        {CPopupNotForSale::ID_LEAST_BID, "450,000", 500000, 450000},
        {CPopupNotForSale::ID_LEAST_BID, "600,000", 600000, 600000},
        {CPopupNotForSale::ID_ASKING_PRICE, "700,000", 700000, 400000},
    };
    CPopupNotForSale& popup = m_notForSale;
    popup.SetPlayer(pPlayer);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszTyped);
        ASSERT_TRUE(popup.Open());
        Type(popup, CPopupNotForSale::ID_ASKING_PRICE, "500,000");
        Type(popup, CPopupNotForSale::ID_LEAST_BID, "400,000");
        Type(popup, c.dwEdit, c.pszTyped);
        EXPECT_EQ(popup_look::ReadMoney(Edit(popup, CPopupNotForSale::ID_ASKING_PRICE)), c.nPrice);
        EXPECT_EQ(popup_look::ReadMoney(Edit(popup, CPopupNotForSale::ID_LEAST_BID)), c.nLeast);
        popup.OnClicked(CGamePopup::kCancelButtonID);
    }
    EXPECT_EQ(pPlayer->m_dwFlags & CPopupNotForSale::kNotForSaleFlag, 0u) << "cancel changes nothing";

    ASSERT_TRUE(popup.Open());
    Type(popup, CPopupNotForSale::ID_ASKING_PRICE, "800,000");
    Type(popup, CPopupNotForSale::ID_LEAST_BID, "650,000");
    Shoot(popup, "not_for_sale.png");
    popup.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_NE(pPlayer->m_dwFlags & CPopupNotForSale::kNotForSaleFlag, 0u);
    EXPECT_EQ(pPlayer->m_dwAskingPrice, 800000u);
    const SQUADENTRY* pEntry = m_pHuman->FindSquadEntry(pPlayer->m_idPerson);
    ASSERT_NE(pEntry, nullptr);
    EXPECT_EQ(pEntry->nValue1, 650000);
    EXPECT_EQ(static_cast<uint32_t>(pEntry->nValue2), Database()->GetGameDate().GetValue());
}

TEST_F(DecisionPopups, AnExtendedLoanReturnsLater)
{
    CClubDatabase* pOther = OtherClub();
    ASSERT_NE(pOther, nullptr);
    CPlayerDatabase* pPlayer = nullptr;
    for (CPlayerDatabase* p : pOther->m_lstPlayers.Items<CPlayerDatabase>())
        if (p->m_byTransferState == 0 &&
            Database()->TransferPlayerLoan(p, m_pClub->m_wClubId, true, 60) == 0) {
            pPlayer = p;
            break;
        }
    ASSERT_NE(pPlayer, nullptr) << "no player of another club could come on loan";
    const CEventsDatabase* pReturn = pPlayer->m_pCountry->FindEvent(26, pPlayer->m_idPerson);
    ASSERT_NE(pReturn, nullptr);
    const CDate returnDate = pReturn->GetDate();

    CPopupExtendLoan& popup = m_extendLoan;
    popup.SetPlayer(pPlayer);
    ASSERT_TRUE(popup.Open());
    ASSERT_GE(CPopupExtendLoan::MostWeeks(), 6);
    Type(popup, CPopupExtendLoan::ID_WEEKS, "6");
    const CDate newReturn(returnDate.GetValue(), 42);
    EXPECT_EQ(Text(popup, CPopupExtendLoan::ID_NEW_RETURN),
              FormatDate(newReturn.GetDay(), newReturn.GetMonth(), newReturn.GetYear()));
    Shoot(popup, "extend_loan.png");
    popup.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_FALSE(popup.IsOnStack());
    const CLoanOfferDatabase* pOffer = Database()->GetLoanOffer(pPlayer->m_idPerson, m_pClub->m_wClubId);
    ASSERT_NE(pOffer, nullptr);
    EXPECT_EQ(pOffer->GetKind(), CPopupExtendLoan::kExtensionOffer);

    ProcessDays(20);
    pReturn = pPlayer->m_pCountry->FindEvent(26, pPlayer->m_idPerson);
    ASSERT_NE(pReturn, nullptr);
    EXPECT_EQ(pReturn->GetDate().DaysBetween(returnDate), 42) << "the loan runs six weeks longer";

    // Three weeks before the season ends no extension fits.
    CCountryDatabase* pCountry = m_pHuman->GetCountry();
    ASSERT_NE(pCountry, nullptr);
    const CDate seasonEnd = pCountry->GetSeasonEndDate();
    pCountry->SetSeasonEndDate(CDate(Database()->GetGameDate().GetValue(), 21));
    const int nOffersBefore = Database()->CountOpenLoanOffers(pPlayer->m_idPerson);
    ASSERT_TRUE(popup.Open());
    popup.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_EQ(RefusalShown(), CDecisionPopup::MESSAGE_TOO_LATE_TO_EXTEND);
    EXPECT_EQ(Database()->CountOpenLoanOffers(pPlayer->m_idPerson), nOffersBefore);
    popup.OnClicked(CGamePopup::kCancelButtonID);
    pCountry->SetSeasonEndDate(seasonEnd);

    // A player of the club's own is not on loan: nothing to extend.
    CPlayerDatabase* pOwn = SquadPlayer();
    ASSERT_NE(pOwn, nullptr);
    popup.SetPlayer(pOwn);
    ASSERT_TRUE(popup.Open());
    popup.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_EQ(RefusalShown(), CDecisionPopup::MESSAGE_EXTENSION_REFUSED);
    EXPECT_EQ(Database()->GetLoanOffer(pOwn->m_idPerson, m_pClub->m_wClubId), nullptr);
}

TEST_F(DecisionPopups, AWageOfferChangesTheWageOfTheClubsStaffAndIsRecordedForOthers)
{
    CStaffDatabase* pOwn = nullptr;
    CStaffDatabase* pOther = nullptr;
    for (ID_STAFF id = 1; id < 2000 && !(pOwn && pOther); ++id)
        if (CStaffDatabase* p = Database()->GetStaffFromID(id); p && p->m_pClub) {
            if (!pOwn && p->m_pClub == m_pClub)
                pOwn = p;
            else if (!pOther && p->m_pClub != m_pClub)
                pOther = p;
        }
    ASSERT_NE(pOwn, nullptr);
    ASSERT_NE(pOther, nullptr);
    CPopupStaffNegotiation& popup = m_staffNegotiation;
    popup.SetStaff(pOwn);
    ASSERT_TRUE(popup.Open());
    Type(popup, CPopupStaffNegotiation::ID_WEEKLY_WAGE, "1,000");
    Shoot(popup, "staff_negotiation.png");
    popup.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_EQ(pOwn->m_dwWage, 52000u);
    EXPECT_EQ(m_pHuman->FindStaffNegotiation(pOwn->GetId()), nullptr);

    const uint32_t dwTheirWage = pOther->m_dwWage;
    popup.SetStaff(pOther);
    for (const char* pszOffer : {"1,000", "1,500"}) {
        ASSERT_TRUE(popup.Open());
        Type(popup, CPopupStaffNegotiation::ID_WEEKLY_WAGE, pszOffer);
        popup.OnClicked(CGamePopup::kOkButtonID);
    }
    EXPECT_EQ(pOther->m_dwWage, dwTheirWage) << "his club pays him until he accepts";
    const STAFFNEGOTIATION* pOffer = m_pHuman->FindStaffNegotiation(pOther->GetId());
    ASSERT_NE(pOffer, nullptr);
    EXPECT_EQ(pOffer->nOffer, 78000) << "the second offer replaces the first";
    m_pHuman->RemoveStaffNegotiation(const_cast<STAFFNEGOTIATION*>(pOffer));
    EXPECT_EQ(m_pHuman->FindStaffNegotiation(pOther->GetId()), nullptr) << "one offer stood, not two";
}

TEST_F(DecisionPopups, ABidStartsFromStandingAndAgeAndGoesToTheClub)
{
    CClubDatabase* pOther = OtherClub();
    ASSERT_NE(pOther, nullptr);
    CPlayerDatabase* pPlayer = nullptr;
    for (CPlayerDatabase* p : pOther->m_lstPlayers.Items<CPlayerDatabase>())
        if (p->m_byTransferState == 0) {
            pPlayer = p;
            break;
        }
    ASSERT_NE(pPlayer, nullptr);
    pPlayer->m_DateOfBirth = {static_cast<uint16_t>(Database()->GetGameDate().GetYear() - 25), 1, 1};
    ASSERT_EQ(pPlayer->GetAge(), 25);
    pPlayer->m_awAttributes[PLAYER_ATTRIBUTE_REPUTATION] = 8450;
    pPlayer->m_dwValue = 1000000;  // a human club may bid up to twice the value

    CPopupBosman& popup = m_bosman;
    popup.SetPlayer(pPlayer);
    ASSERT_TRUE(popup.Open());
    EXPECT_EQ(popup_look::ReadMoney(Edit(popup, CPopupBosman::ID_FEE)), 100000)
        << "84,000 at 25 makes 104,999, rounded down";
    Shoot(popup, "bosman.png");
    popup.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_EQ(RefusalShown(), -1);
    EXPECT_FALSE(popup.IsOnStack());
    const CBuyOfferDatabase* pOffer = Database()->GetBuyOffer(pPlayer->m_idPerson, m_pClub->m_wClubId);
    ASSERT_NE(pOffer, nullptr);

    // A bid the club cannot take (above twice the player's value) is
    // refused and told, and the popup stays.
    CPlayerDatabase* pCheap = nullptr;
    for (CPlayerDatabase* p : pOther->m_lstPlayers.Items<CPlayerDatabase>())
        if (p != pPlayer && p->m_byTransferState == 0) {
            pCheap = p;
            break;
        }
    ASSERT_NE(pCheap, nullptr);
    pCheap->m_DateOfBirth = pPlayer->m_DateOfBirth;
    pCheap->m_awAttributes[PLAYER_ATTRIBUTE_REPUTATION] = 8450;
    pCheap->m_dwValue = 10000;
    popup.SetPlayer(pCheap);
    ASSERT_TRUE(popup.Open());
    popup.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_EQ(RefusalShown(), CDecisionPopup::MESSAGE_BID_REFUSED);
    EXPECT_TRUE(popup.IsOnStack());
    EXPECT_EQ(Database()->GetBuyOffer(pCheap->m_idPerson, m_pClub->m_wClubId), nullptr);
}

TEST_F(DecisionPopups, SackingOnlyTakesThePayOffOffered)
{
    CPlayerDatabase* pPlayer = SquadPlayer();
    ASSERT_NE(pPlayer, nullptr);
    pPlayer->m_Contract.dwYearlyWage = 52000;
    pPlayer->m_Contract.dwEndDate = CDate(Database()->GetGameDate().GetValue(), 20 * 7).GetValue();
    CPopupSackPlayer& popup = m_sack;
    popup.SetPlayer(pPlayer);
    ASSERT_TRUE(popup.Open());
    EXPECT_EQ(Text(popup, CPopupSackPlayer::ID_WEEKS_LEFT), "20");
    EXPECT_EQ(popup_look::ReadMoney(Edit(popup, CPopupSackPlayer::ID_OFFERED)), 20000);
    Type(popup, CPopupSackPlayer::ID_OFFERED, "12,000");
    Shoot(popup, "sack_player.png");
    popup.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_FALSE(popup.IsOnStack());
    EXPECT_EQ(popup.GetOfferedPayOff(), 12000);
    EXPECT_EQ(pPlayer->m_pClub, m_pClub);
    EXPECT_EQ(pPlayer->m_byTransferState, 0);
}

TEST_F(DecisionPopups, InsuranceCoversCostTheirShareOfTheValueAndReachTheMonthsBooks)
{
    CPlayerDatabase* pPlayer = SquadPlayer();
    ASSERT_NE(pPlayer, nullptr);
    const struct {
        uint32_t dwValue;
        int32_t anPremiums[4];
    } cases[] = {
        {1200000, {250, 240, 260, 230}},
        {0, {0, 0, 0, 0}},
        {100000, {20, 20, 21, 19}},
        {4000000000u, {833333, 800000, 866666, 766666}},
    };
    for (const auto& c : cases) {
        pPlayer->m_dwValue = c.dwValue;
        for (int n = 0; n < CPopupInsurance::kCovers; ++n)
            EXPECT_EQ(pPlayer->GetInsurancePremium(n), c.anPremiums[n]) << c.dwValue << " cover " << n;
    }

    pPlayer->m_dwValue = 1200000;
    pPlayer->m_byContractClauses = 0x30;  // other clauses, no cover
    CPopupInsurance& popup = m_insurance;
    popup.SetPlayer(pPlayer);
    ASSERT_TRUE(popup.Open());
    for (int n = 0; n < CPopupInsurance::kCovers; ++n)
        popup.ToggleCover(n);
    EXPECT_EQ(popup.GetTotal(), 980);
    popup.OnClicked(CGamePopup::kCancelButtonID);
    EXPECT_EQ(pPlayer->m_byContractClauses, 0x30) << "cancel keeps his covers";

    ASSERT_TRUE(popup.Open());
    EXPECT_EQ(popup.GetTotal(), 0);
    // A click on a row's tick or cross changes that cover; elsewhere on the
    // row it only selects.
    const int nRowY = 70 + 16 + 8;
    for (int x : {250, 100, 250, 250}) {
        popup.OnLButtonDown(0, x, nRowY);
        popup.OnLButtonUp(0, x, nRowY);
    }
    EXPECT_EQ(popup.GetCovers(), 2u);
    EXPECT_EQ(popup.GetTotal(), 240);
    popup.ToggleCover(1);
    popup.ToggleCover(0);
    popup.ToggleCover(2);
    popup.ToggleCover(3);
    popup.ToggleCover(3);
    EXPECT_EQ(popup.GetTotal(), 510);
    Shoot(popup, "insurance.png");
    popup.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_EQ(pPlayer->m_byContractClauses, 0x35);

    const int nBefore = m_pHuman->GetTransactions().GetCount();
    m_pClub->PayContractClauses(*pPlayer);
    int32_t anBooked[4] = {};
    int n = 0;
    for (const FINANCETRANSACTION* p : m_pHuman->GetTransactions().Items<FINANCETRANSACTION>())
        if (n++ >= nBefore && p->dwCategory >= 70 && p->dwCategory <= 73 && p->dwParameter == pPlayer->m_idPerson)
            anBooked[p->dwCategory - 70] += p->nExpense;
    EXPECT_EQ(anBooked[0], 250);
    EXPECT_EQ(anBooked[1], 0);
    EXPECT_EQ(anBooked[2], 260);
    EXPECT_EQ(anBooked[3], 0);
}

TEST_F(DecisionPopups, TheDiagnosticsListEveryAttributeAgainstTheRuleForHisAge)
{
    CPlayerDatabase* pPlayer = SquadPlayer();
    ASSERT_NE(pPlayer, nullptr);
    const CDate today = Database()->GetGameDate();
    CPopupDebugPlayer& popup = m_debug;
    popup.SetPlayer(pPlayer);
    for (int nAge : {14, 27}) {
        SCOPED_TRACE(nAge);
        pPlayer->m_DateOfBirth = {static_cast<uint16_t>(today.GetYear() - nAge), 1, 1};
        ASSERT_EQ(pPlayer->GetAge(), nAge);
        ASSERT_TRUE(popup.Open());
        auto* pList = dynamic_cast<CXListBox*>(popup.FindControl(CPopupDebugPlayer::ID_LIST));
        ASSERT_NE(pList, nullptr);
        ASSERT_EQ(pList->GetCount(), PLAYER_ATTRIBUTE_COUNT);
        for (int i = 0; i < PLAYER_ATTRIBUTE_COUNT; ++i) {
            char szText[LISTBOX_ROW_TEXT_SIZE];
            pList->GetString(i, szText);
            const std::string expected = std::string(CPopupDebugPlayer::kAttributeNames[i]) + "\t" +
                                         std::to_string(pPlayer->m_awAttributes[i] / 100) + "\t" +
                                         std::to_string(pPlayer->GetAttributeForAge(i, nAge - 14, 0));
            EXPECT_EQ(szText, expected);
        }
        if (nAge == 27)
            Shoot(popup, "debug_player.png");
        popup.OnClicked(CGamePopup::kOkButtonID);
        EXPECT_FALSE(popup.IsOnStack());
    }
}

}  // namespace
