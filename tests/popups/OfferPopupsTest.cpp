// The popups that put offers to players and clubs, over a game in play with
// a human at club 1: the terms and bids they store, the terms and bids they
// refuse with a message, and the day processing answering what they stored.
#include "../screens/ScreenInPlay.h"

#include "popups/CPopupApproachClubBuy.h"
#include "popups/CPopupApproachClubLoan.h"
#include "popups/CPopupPlayerNegotiation.h"
#include "shell/FormattingFunctions.h"

#include "database/CBuyOfferDatabase.h"
#include "database/CClubDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CLoanOfferDatabase.h"
#include "database/CPlayerDatabase.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXEdit.h"
#include "xframework/CXListBox.h"
#include "xframework/CXStatic.h"

#include <string>

namespace {

class OfferPopups : public ScreenInPlay {
protected:
    void SetUp() override
    {
        ScreenInPlay::SetUp();
        m_pClub->m_nBankBalance = 60000000;
        m_pOwnPlayer = static_cast<CPlayerDatabase*>(m_pClub->m_lstPlayers.GetHead()->pData);
        // A player of another club of the human's division.
        for (CClubDatabase* pClub : m_pClub->m_pDivision->m_lstClubsByID.Items<CClubDatabase>())
            if (pClub != m_pClub && !m_pOtherClub)
                m_pOtherClub = pClub;
        ASSERT_NE(m_pOtherClub, nullptr);
        m_pOtherPlayer = static_cast<CPlayerDatabase*>(m_pOtherClub->m_lstPlayers.GetHead()->pData);
    }
    static void Type(CXPopup& popup, uint32_t dwID, const std::string& text)
    {
        auto* pEdit = dynamic_cast<CXEdit*>(popup.FindControl(dwID));
        ASSERT_NE(pEdit, nullptr) << dwID;
        pEdit->SetText("%s", text.c_str());
        popup.OnEditChange(pEdit);
    }
    static std::string Text(CXPopup& popup, uint32_t dwID)
    {
        if (auto* pEdit = dynamic_cast<CXEdit*>(popup.FindControl(dwID)))
            return pEdit->Text();
        auto* pLabel = dynamic_cast<CXStatic*>(popup.FindControl(dwID));
        return pLabel ? pLabel->Text() : "(missing)";
    }
    static void Choose(CXPopup& popup, uint32_t dwBox, uint32_t dwValue)
    {
        auto* pBox = dynamic_cast<CXComboBox*>(popup.FindControl(dwBox));
        ASSERT_NE(pBox, nullptr);
        ASSERT_GE(pBox->FindItemData(dwValue), 0);
        pBox->SetCurSel(pBox->FindItemData(dwValue));
        popup.OnSelChange(dwBox);
    }
    // The message the popup answered with, closed again; 0 when none opened.
    static int TakeMessage()
    {
        CGameMessageBox* pBox = GetGameMessageBox();
        if (!pBox || !pBox->IsOnStack())
            return 0;
        const int nItem = pBox->GetTextItem();
        pBox->Close();
        return nItem;
    }
    // Plays the world on day by day as the continue command does.
    void PlayDays(int nDays)
    {
        const CDate target(Database()->GetGameDate().GetValue(), nDays);
        while (Database()->GetGameDate() < target) {
            Database()->ProcessDay();
            Database()->DoMatchDay(Database()->GetGameDate());
        }
    }
    CBuyOfferDatabase* Offer(const CPlayerDatabase* pPlayer)
    {
        return Database()->GetBuyOffer(pPlayer->m_idPerson, m_pClub->GetID());
    }

    CPlayerDatabase* m_pOwnPlayer = nullptr;
    CClubDatabase* m_pOtherClub = nullptr;
    CPlayerDatabase* m_pOtherPlayer = nullptr;
};

TEST_F(OfferPopups, NewTermsForAnOwnPlayerAreStoredOnHisOfferAndSignedWhenHeTakesThem)
{
    CPopupPlayerNegotiation popup;
    PLAYERCONTRACT& current = m_pOwnPlayer->m_Contract;
    current.dwStartDate = Database()->GetGameDate().GetValue();
    current.dwEndDate = CDate(current.dwStartDate, 3 * 365 + 1).GetValue();
    ASSERT_TRUE(popup.Show(m_pOwnPlayer));
    EXPECT_TRUE(popup.IsOwnOrFreePlayer());
    EXPECT_EQ(Text(popup, CPopupPlayerNegotiation::ID_WEEKS), "156") << "whole days / 7 of three years";
    EXPECT_EQ(popup.FindControl(CPopupPlayerNegotiation::ID_PERCENTAGE), nullptr);
    EXPECT_EQ(Text(popup, CPopupPlayerNegotiation::ID_AGREED_FEE), "-");
    EXPECT_EQ(Text(popup, CPopupPlayerNegotiation::ID_NO_PERCENTAGE), "-");
    // Tab skips the percentage an own player has none of, and wraps round.
    EXPECT_EQ(popup.FindControl(CPopupPlayerNegotiation::ID_FEE_SHARE)->m_dwTabTargetID,
              CPopupPlayerNegotiation::ID_AMOUNT_A);
    EXPECT_EQ(popup.FindControl(CPopupPlayerNegotiation::ID_CONDITION_3)->m_dwTabTargetID,
              CPopupPlayerNegotiation::ID_WEEKS);
    Shoot("negotiation-own.png");

    // A clause ticked twice is as it was; once sets its bit.
    auto* pClauses = dynamic_cast<CXListBox*>(popup.FindControl(CPopupPlayerNegotiation::ID_CLAUSES));
    ASSERT_NE(pClauses, nullptr);
    const uint16_t wBefore = popup.GetTerms().wClauses;
    pClauses->SetSelection(1);
    pClauses->m_nClickedColumn = 1;
    popup.OnClicked(CPopupPlayerNegotiation::ID_CLAUSES);
    EXPECT_EQ(popup.GetTerms().wClauses, wBefore ^ 2);
    popup.OnClicked(CPopupPlayerNegotiation::ID_CLAUSES);
    EXPECT_EQ(popup.GetTerms().wClauses, wBefore);
    pClauses->m_nClickedColumn = 0;
    popup.OnClicked(CPopupPlayerNegotiation::ID_CLAUSES);
    EXPECT_EQ(popup.GetTerms().wClauses, wBefore) << "a click on the clause's name ticks nothing";
    pClauses->m_nClickedColumn = 1;
    popup.OnClicked(CPopupPlayerNegotiation::ID_CLAUSES);

    const uint32_t dwWeekly = current.dwYearlyWage / 52 * 2 + 1000;
    Type(popup, CPopupPlayerNegotiation::ID_WEEKS, "200");
    Type(popup, CPopupPlayerNegotiation::ID_WAGE, std::to_string(dwWeekly));
    Type(popup, CPopupPlayerNegotiation::ID_AMOUNT_A, "5000");
    Type(popup, CPopupPlayerNegotiation::ID_AMOUNT_C, "0");
    Type(popup, CPopupPlayerNegotiation::ID_COUNT_2, "12");
    Choose(popup, CPopupPlayerNegotiation::ID_ALLOWANCE_1, 2);
    Choose(popup, CPopupPlayerNegotiation::ID_ALLOWANCE_2, 5);
    popup.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_EQ(TakeMessage(), 0);
    EXPECT_FALSE(popup.IsOnStack());

    CBuyOfferDatabase* pOffer = Offer(m_pOwnPlayer);
    ASSERT_NE(pOffer, nullptr) << "the offer is made for his own club";
    EXPECT_EQ(pOffer->GetValue100(), 0u);
    EXPECT_NE(pOffer->GetFlags() & BUYOFFER_CONTRACT_PROPOSED, 0);
    uint32_t adwWords[CBuyOfferDatabase::CONTRACT_WORDS];
    for (int i = 0; i < CBuyOfferDatabase::CONTRACT_WORDS; ++i)
        adwWords[i] = pOffer->GetContractWord(i);
    PLAYERCONTRACT sent;
    CPlayerDatabase::UnpackContract(adwWords, sent);
    const CDate today = Database()->GetGameDate();
    EXPECT_EQ(sent.dwYearlyWage, dwWeekly * 52);
    EXPECT_EQ(sent.dwStartDate, today.GetValue());
    EXPECT_EQ(sent.dwEndDate, CDate(today.GetValue(), 200 * 7).GetValue());
    EXPECT_EQ(sent.adwBonus[0], 5000u);
    EXPECT_EQ(sent.adwBonus[2], 0u);
    EXPECT_EQ(sent.wClauses & 0x7, (wBefore ^ 2) & 0x7);
    EXPECT_NE(sent.wClauses & 0x08, 0) << "a bonus offered counts with its bit";
    EXPECT_EQ(sent.wClauses & 0x20, 0) << "a bonus of 0 has none";
    EXPECT_EQ(sent.byGoalsTarget, 12);
    EXPECT_EQ(sent.byClauseLevelA, 2);
    EXPECT_EQ(sent.byClauseLevelB, 5);

    // Re-opened, the popup shows what was sent: the wage per week again.
    ASSERT_TRUE(popup.Show(m_pOwnPlayer));
    EXPECT_EQ(Text(popup, CPopupPlayerNegotiation::ID_WAGE), FormatThousands(static_cast<int32_t>(dwWeekly)));
    EXPECT_EQ(Text(popup, CPopupPlayerNegotiation::ID_WEEKS), "200");
    popup.OnClicked(CGamePopup::kCancelButtonID);

    // A better contract than his own: he takes it within the week and signs.
    PlayDays(9);
    EXPECT_EQ(Offer(m_pOwnPlayer), nullptr);
    EXPECT_EQ(m_pOwnPlayer->m_pClub, m_pClub);
    EXPECT_EQ(m_pOwnPlayer->m_Contract.dwYearlyWage, dwWeekly * 52);
    EXPECT_EQ(m_pOwnPlayer->m_Contract.dwEndDate, sent.dwEndDate);
}

TEST_F(OfferPopups, TermsThatCannotBeSentAreRefusedWithAMessageAndKept)
{
    CPopupPlayerNegotiation popup;
    const struct {
        const char* name;
        bool bOwn;
        const char* weeks;
        const char* wage;
        int nMessage;
    } cases[] = {
        {"a contract under a year", true, "51", "1000", CPopupPlayerNegotiation::MESSAGE_SHORT_CONTRACT},
        {"no wage", true, "100", "0", CPopupPlayerNegotiation::MESSAGE_NO_WAGE},
        {"another club's player without a bid", false, "100", "1000", CPopupPlayerNegotiation::MESSAGE_NO_AGREED_FEE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CPlayerDatabase* pPlayer = c.bOwn ? m_pOwnPlayer : m_pOtherPlayer;
        ASSERT_TRUE(popup.Show(pPlayer));
        Type(popup, CPopupPlayerNegotiation::ID_WEEKS, c.weeks);
        Type(popup, CPopupPlayerNegotiation::ID_WAGE, c.wage);
        popup.OnClicked(CGamePopup::kOkButtonID);
        EXPECT_EQ(TakeMessage(), c.nMessage);
        EXPECT_TRUE(popup.IsOnStack()) << "the terms stay to be mended";
        EXPECT_EQ(Text(popup, CPopupPlayerNegotiation::ID_WAGE), c.wage);
        EXPECT_EQ(Offer(pPlayer), nullptr);
        popup.Close();
    }

    // A bid the club has not answered yet, then one it turned down: no terms
    // go to the player.
    ASSERT_EQ(Database()->MakeBuyOfferToClub(m_pOtherPlayer, m_pClub, 1000, nullptr, 0, 0), 0);
    CBuyOfferDatabase* pOffer = Offer(m_pOtherPlayer);
    ASSERT_NE(pOffer, nullptr);
    for (const bool bAnswered : {false, true}) {
        if (bAnswered) {
            pOffer->SetFlags(BUYOFFER_ANSWERED);
            pOffer->SetClubAnswer(1);
        }
        ASSERT_TRUE(popup.Show(m_pOtherPlayer));
        popup.OnClicked(CGamePopup::kOkButtonID);
        EXPECT_EQ(TakeMessage(), CPopupPlayerNegotiation::MESSAGE_NO_AGREED_FEE);
        EXPECT_EQ(pOffer->GetFlags() & BUYOFFER_CONTRACT_PROPOSED, 0);
        popup.Close();
    }
}

TEST_F(OfferPopups, ABidWithInstalmentsConditionsAndAnExchangePlayerIsStoredAnsweredAndFollowedByTerms)
{
    CPopupApproachClubBuy bid;
    ASSERT_TRUE(bid.Show(m_pOtherPlayer));
    EXPECT_EQ(Text(bid, CPopupApproachClubBuy::ID_FEE), FormatThousands(static_cast<int32_t>(m_pOtherPlayer->m_dwValue)));
    EXPECT_EQ(Text(bid, CPopupApproachClubBuy::ID_FEE_AND_EXCHANGE),
              std::string(FormatMoney(m_pOtherPlayer->m_dwValue, 0, 0, MONEY_AS_STORED, 0, 1)))
        << "no exchange player: the fee alone";
    // A human may bid up to twice a player's value.
    const int32_t nFee = static_cast<int32_t>(m_pOtherPlayer->m_dwValue) * 2 - 1;
    ASSERT_GT(nFee, 3);
    // More than twice his value is not a bid a human may make: told, kept.
    Type(bid, CPopupApproachClubBuy::ID_FEE, std::to_string(nFee + 2));
    bid.OnClicked(CGamePopup::kOkButtonID);
    Shoot("bid-refused.png");
    EXPECT_EQ(TakeMessage(), CPopupApproachClubBuy::MESSAGE_BID_REFUSED);
    EXPECT_TRUE(bid.IsOnStack());
    EXPECT_EQ(Offer(m_pOtherPlayer), nullptr);
    Type(bid, CPopupApproachClubBuy::ID_FURTHER, "77");
    Type(bid, CPopupApproachClubBuy::ID_FEE, std::to_string(nFee));
    EXPECT_EQ(Text(bid, CPopupApproachClubBuy::ID_FURTHER), FormatThousands(nFee)) << "a new fee resets it";
    Type(bid, CPopupApproachClubBuy::ID_INSTALMENTS, "3");
    EXPECT_EQ(Text(bid, CPopupApproachClubBuy::ID_INSTALMENT),
              std::string(FormatMoney(nFee / 3, 0, 0, MONEY_AS_STORED, 0, 1)));
    Type(bid, CPopupApproachClubBuy::ID_PERCENTAGE, "15");
    Type(bid, CPopupApproachClubBuy::ID_COUNT_1, "20");
    Type(bid, CPopupApproachClubBuy::ID_AMOUNT_1, "40000");
    Type(bid, CPopupApproachClubBuy::ID_COUNT_3, "5");
    Type(bid, CPopupApproachClubBuy::ID_AMOUNT_3, "25000");
    CPlayerDatabase* pExchange = static_cast<CPlayerDatabase*>(m_pClub->m_lstPlayers.GetTail()->pData);
    Choose(bid, CPopupApproachClubBuy::ID_EXCHANGE, pExchange->m_idPerson);
    EXPECT_EQ(Text(bid, CPopupApproachClubBuy::ID_FEE_AND_EXCHANGE),
              std::string(FormatMoney(static_cast<double>(nFee) + pExchange->m_dwValue, 0, 0, MONEY_AS_STORED, 0, 1)));
    Shoot("bid.png");
    bid.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_EQ(TakeMessage(), 0);
    EXPECT_FALSE(bid.IsOnStack());

    CBuyOfferDatabase* pOffer = Offer(m_pOtherPlayer);
    ASSERT_NE(pOffer, nullptr);
    EXPECT_EQ(pOffer->GetValue100(), static_cast<uint32_t>(nFee));
    EXPECT_EQ(pOffer->GetTerm(PLAYER_TERMS_INSTALMENT), static_cast<uint32_t>(nFee / 3));
    EXPECT_EQ(pOffer->GetTerm(PLAYER_TERMS_COUNTS) & 0xFFFFFF, 3u | 3u << 8 | 15u << 16);
    EXPECT_EQ(pOffer->GetTerm(PLAYER_TERMS_FURTHER), static_cast<uint32_t>(nFee));
    EXPECT_EQ(pOffer->GetTerm(0), 40000u);
    EXPECT_EQ(pOffer->GetTerm(1), 20u);
    EXPECT_EQ(pOffer->GetTerm(2), 0u);
    EXPECT_EQ(pOffer->GetTerm(4), 25000u);
    EXPECT_EQ(pOffer->GetTerm(5), 5u);
    EXPECT_EQ(pOffer->GetExchangePlayerID(), pExchange->m_idPerson);

    // Re-opened: the fee in whole instalments.
    ASSERT_TRUE(bid.Show(m_pOtherPlayer));
    EXPECT_EQ(Text(bid, CPopupApproachClubBuy::ID_FEE), FormatThousands(nFee / 3 * 3));
    EXPECT_EQ(Text(bid, CPopupApproachClubBuy::ID_INSTALMENTS), "3");
    EXPECT_EQ(Text(bid, CPopupApproachClubBuy::ID_PERCENTAGE), "15");
    EXPECT_EQ(Text(bid, CPopupApproachClubBuy::ID_COUNT_3), "5");
    bid.OnClicked(CGamePopup::kCancelButtonID);

    // Made again, the bid replaces the standing one, its exchange player kept.
    const uint32_t dwOfferID = pOffer->GetOfferID();
    ASSERT_TRUE(bid.Show(m_pOtherPlayer));
    Type(bid, CPopupApproachClubBuy::ID_FEE, std::to_string(nFee));
    Type(bid, CPopupApproachClubBuy::ID_INSTALMENTS, "2");
    bid.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_EQ(TakeMessage(), 0);
    pOffer = Offer(m_pOtherPlayer);
    ASSERT_NE(pOffer, nullptr);
    EXPECT_EQ(pOffer->GetOfferID(), dwOfferID);
    EXPECT_EQ(Database()->CountOpenBuyOffers(m_pOtherPlayer->m_idPerson), 1);
    EXPECT_EQ(pOffer->GetTerm(PLAYER_TERMS_INSTALMENT), static_cast<uint32_t>(nFee / 2));
    EXPECT_EQ(pOffer->GetExchangePlayerID(), pExchange->m_idPerson);

    // His club answers the next day.
    PlayDays(2);
    pOffer = Offer(m_pOtherPlayer);
    ASSERT_NE(pOffer, nullptr);
    ASSERT_NE(pOffer->GetFlags() & BUYOFFER_ANSWERED, 0);
    ASSERT_EQ(pOffer->GetClubAnswer(), 0) << "twice his value is accepted";

    // The terms that go with the agreed fee: the share linked to the fee.
    CPopupPlayerNegotiation terms;
    ASSERT_TRUE(terms.Show(m_pOtherPlayer));
    EXPECT_FALSE(terms.IsOwnOrFreePlayer());
    EXPECT_EQ(Text(terms, CPopupPlayerNegotiation::ID_AGREED_FEE),
              std::string(FormatMoney(nFee, 0, 0, MONEY_AS_STORED, 0, 1)));
    Type(terms, CPopupPlayerNegotiation::ID_PERCENTAGE, "100");
    EXPECT_EQ(Text(terms, CPopupPlayerNegotiation::ID_FEE_SHARE), FormatThousands(nFee));
    Type(terms, CPopupPlayerNegotiation::ID_FEE_SHARE, std::to_string(nFee / 2));
    EXPECT_EQ(Text(terms, CPopupPlayerNegotiation::ID_PERCENTAGE), "49") << "truncated";
    Type(terms, CPopupPlayerNegotiation::ID_FEE_SHARE, std::to_string(nFee + 1));
    terms.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_EQ(TakeMessage(), CPopupPlayerNegotiation::MESSAGE_SHARE_ABOVE_FEE);
    Type(terms, CPopupPlayerNegotiation::ID_FEE_SHARE, "1000");
    Type(terms, CPopupPlayerNegotiation::ID_WAGE, std::to_string(m_pOtherPlayer->m_Contract.dwYearlyWage / 52 * 3 + 500));
    Shoot("negotiation-transfer.png");
    terms.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_EQ(TakeMessage(), 0);
    EXPECT_NE(pOffer->GetFlags() & BUYOFFER_CONTRACT_PROPOSED, 0);
    EXPECT_EQ(pOffer->GetContractWord(0), 1000u);

    // He answers within the week, and the move and the exchange follow.
    PlayDays(9);
    EXPECT_EQ(m_pOtherPlayer->m_pClub, m_pClub);
    EXPECT_EQ(pExchange->m_pClub, m_pOtherClub);
}

TEST_F(OfferPopups, ALoanOfferCostsTheContributionAndSurchargesForItsWeeks)
{
    // The weekly wage: halves go up.
    const struct {
        uint32_t dwYearly;
        int32_t nWeekly;
    } wages[] = {{52026, 1001}, {51974, 1000}, {52000, 1000}, {0, 0}};
    for (const auto& w : wages) {
        m_pOtherPlayer->m_Contract.dwYearlyWage = w.dwYearly;
        EXPECT_EQ(CPopupApproachClubLoan::WeeklyWage(*m_pOtherPlayer), w.nWeekly) << w.dwYearly;
    }
    m_pOtherPlayer->m_dwValue = 5200000;
    m_pOtherPlayer->m_byContractClauses = 0x5;
    EXPECT_EQ(CPopupApproachClubLoan::WeeklySurcharges(*m_pOtherPlayer), 250 + 260);

    m_pOtherPlayer->m_byContractClauses = 0;
    m_pOtherPlayer->m_Contract.dwYearlyWage = 104000;
    CPopupApproachClubLoan loan;
    ASSERT_TRUE(loan.Show(m_pOtherPlayer));
    EXPECT_EQ(Text(loan, CPopupApproachClubLoan::ID_WEEKS), "4");
    EXPECT_EQ(Text(loan, CPopupApproachClubLoan::ID_CONTRIBUTION), "2,000");
    Type(loan, CPopupApproachClubLoan::ID_WEEKS, "10");
    Type(loan, CPopupApproachClubLoan::ID_CONTRIBUTION, "1500");
    EXPECT_EQ(Text(loan, CPopupApproachClubLoan::ID_TOTAL), std::string(FormatMoney(15000, 0, 0, MONEY_AS_STORED, 0, 1)))
        << "no surcharges: contribution x weeks";
    Shoot("loan.png");
    loan.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_EQ(TakeMessage(), 0);
    const CLoanOfferDatabase* pOffer = Database()->GetLoanOffer(m_pOtherPlayer->m_idPerson, m_pClub->GetID());
    ASSERT_NE(pOffer, nullptr);
    EXPECT_EQ(pOffer->GetHalf(0), 70);
    EXPECT_EQ(pOffer->GetWord(1), 1500u * 52);

    // His own player cannot be lent to him.
    ASSERT_TRUE(loan.Show(m_pOwnPlayer));
    loan.OnClicked(CGamePopup::kOkButtonID);
    EXPECT_EQ(TakeMessage(), CPopupApproachClubLoan::MESSAGE_LOAN_REFUSED);
    EXPECT_TRUE(loan.IsOnStack());
    loan.Close();
}

}  // namespace
