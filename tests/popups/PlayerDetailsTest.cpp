// The player details popup over a game in play with a human at club 1: the
// actions each situation offers and what they do, the stepping through the
// list behind, and the four pages drawn from the world.
#include "../screens/ScreenInPlay.h"

#include "popups/CPopupInsurance.h"
#include "popups/CPopupPlayerDetails.h"
#include "popups/GamePopups.h"
#include "screens/CClientClubPlayers.h"
#include "screens/CClientTablesStaticsPlayers.h"
#include "shell/CTableText.h"
#include "shell/ScreenIDs.h"

#include "database/CBuyOfferDatabase.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CCountryDatabase.h"
#include "database/CEventsDatabase.h"
#include "database/CLoanOfferDatabase.h"
#include "database/CPlayerDatabase.h"
#include "season/CSaveGame.h"
#include "xframework/CXButton.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBox.h"
#include "xframework/CXStatic.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Details = CPopupPlayerDetails;

class PlayerDetails : public ScreenInPlay {
protected:
    explicit PlayerDetails(int nDays = 1) : ScreenInPlay(nDays) {}
    void SetUp() override
    {
        CreateGamePopups();
        ScreenInPlay::SetUp();
        OpenScreen(SCREEN_CLUB_PLAYERS);
    }
    void TearDown() override
    {
        while (!m_bEndWithPopupsOpen && CXPopup::TopPopup())
            CXPopup::TopPopup()->Close();
        ScreenInPlay::TearDown();
        EXPECT_EQ(CXPopup::StackTop(), -1) << "the game's end leaves no popup on the stack";
    }
    Details& Popup() { return GetPlayerDetailsPopup(); }
    CPlayerDatabase* SquadPlayer(int n = 0)
    {
        for (CPlayerDatabase* p : m_pClub->m_lstPlayers.Items<CPlayerDatabase>())
            if (p->m_byTransferState == 0 && n-- == 0)
                return p;
        return nullptr;
    }
    CClubDatabase* OtherClub(int n = 0)
    {
        for (ID_CLUB id = 1; id < 400; ++id)
            if (CClubDatabase* pClub = Database()->GetClubFromID(id); pClub && pClub != m_pClub && n-- == 0)
                return pClub;
        return nullptr;
    }
    CPlayerDatabase* OtherPlayer()
    {
        CClubDatabase* pOther = OtherClub();
        for (CPlayerDatabase* p : pOther->m_lstPlayers.Items<CPlayerDatabase>())
            if (p->m_byTransferState == 0)
                return p;
        return nullptr;
    }
    // Answers the open message box with a button (0 for Escape); answers its
    // message number, or -1 when none was open.
    static int Answer(uint32_t dwResult)
    {
        CGameMessageBox* pBox = GetGameMessageBox();
        if (!pBox || !pBox->IsOnStack())
            return -1;
        const int nItem = pBox->GetTextItem();
        pBox->m_dwResultID = dwResult;
        pBox->Close();
        return nItem;
    }
    std::string Text(uint32_t dwID)
    {
        auto* pLabel = dynamic_cast<CXStatic*>(Popup().FindControl(dwID));
        return pLabel ? pLabel->Text() : "(none)";
    }
    bool Visible(uint32_t dwID) { return Popup().FindControl(dwID) && Popup().FindControl(dwID)->m_bVisible; }
    std::vector<std::string> Rows(uint32_t dwID)
    {
        std::vector<std::string> rows;
        CXListBox* pList = Popup().List(dwID);
        for (int i = 0; pList && i < pList->GetCount(); ++i) {
            char szRow[512] = {};
            pList->GetString(i, szRow);
            rows.emplace_back(szRow);
        }
        return rows;
    }
    CBuyOfferDatabase* AddBuyOffer(CPlayerDatabase* pPlayer, const CClubDatabase* pBidder, uint16_t wFlags)
    {
        auto* pOffer = new CBuyOfferDatabase;
        pOffer->SetOfferID(++m_dwNextOffer);
        pOffer->SetPlayerID(pPlayer->m_idPerson);
        pOffer->SetBiddingClubID(pBidder->GetID());
        pOffer->SetFlags(wFlags);
        pOffer->SetCountdown(CBuyOfferDatabase::COUNTDOWN_AWAITING_ANSWER);
        pOffer->SetValue100(500000);
        Database()->AddBuyOffer(pOffer);
        return pOffer;
    }
    void Shoot(const char* pszName)
    {
        m_game.Update();
        ScreenInPlay::Shoot(pszName);
    }
    uint32_t m_dwNextOffer = 900000;
    // The game ends (the window closed) with the test's popups still open.
    bool m_bEndWithPopupsOpen = false;
};

TEST(PlayerDetailsOfferState, FlagsAndAnswersGiveTheStateText)
{
    struct Case {
        uint16_t wFlags;
        uint32_t dwClub, dwPlayer;
        bool bBuy;
        int nItem;
    } cases[] = {
        {0, 0, 0, true, 0},          {1, 0, 0, true, 1},          {1 | 2, 1, 0, true, 2},
        {1 | 2 | 64, 1, 0, true, 8}, {1 | 2 | 8, 0, 1, true, 5},  {1 | 2 | 8 | 128, 0, 1, true, 9},
        {1 | 2 | 8 | 128, 0, 1, false, 5}, {1 | 2 | 8, 0, 0, true, 6}, {1 | 2 | 8 | 16 | 32, 0, 0, true, 7},
        {1 | 2 | 8 | 16, 0, 0, false, 6},  {1 | 2 | 4, 0, 0, true, 3}, {1 | 2, 0, 0, true, 4},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CPopupPlayerDetails::OfferStateItem(c.wFlags, c.dwClub, c.dwPlayer, c.bBuy), c.nItem)
            << "flags " << c.wFlags;
}

TEST_F(PlayerDetails, AnOwnPlayerOffersTheClubsActionsOnTwoRowsAndEveryPageDraws)
{
    CPlayerDatabase* pPlayer = SquadPlayer();
    ASSERT_NE(pPlayer, nullptr);
    pPlayer->m_dwFlags &= ~PLAYER_FLAG_NOT_FOR_SALE;
    ASSERT_TRUE(Popup().Show(pPlayer, 0, true));
    const std::vector<uint32_t> expected = {Details::ID_SELL,      Details::ID_OFFER_ON_LOAN, Details::ID_TALK,
                                            Details::ID_INSURANCE, Details::ID_NOT_FOR_SALE,  Details::ID_FREE_TRANSFER};
    EXPECT_EQ(Popup().GetActionButtons(), expected);
    // The sixth starts a second row 32 pixels above the first.
    CXControl* pFifth = Popup().FindControl(Details::ID_NOT_FOR_SALE);
    CXControl* pSixth = Popup().FindControl(Details::ID_FREE_TRANSFER);
    ASSERT_TRUE(pFifth && pSixth);
    EXPECT_EQ(pFifth->m_nTop - pSixth->m_nTop, 32);
    EXPECT_EQ(pSixth->m_nLeft, Popup().FindControl(Details::ID_SELL)->m_nLeft);
    EXPECT_TRUE(pSixth->m_bVisible);
    EXPECT_FALSE(Visible(Details::ID_APPROACH_BUY));
    EXPECT_EQ(Text(Details::ID_AGE), std::to_string(pPlayer->GetAge()));
    EXPECT_EQ(Text(Details::ID_LISTING), GetTableTextOrEmpty(75, 0));
    // Nothing in the scripts holds for him yet: the trainer's word for any
    // player stands in both lists, the same each time.
    const std::vector<std::string> scout = Rows(Details::ID_SCOUT_REPORT);
    ASSERT_FALSE(scout.empty());
    EXPECT_EQ(scout.front().rfind("* ", 0), 0u) << scout.front();
    EXPECT_EQ(Rows(Details::ID_TRAINER_REPORT), scout);
    Shoot("details-general.png");
    for (int nPage = 1; nPage < Details::PAGE_COUNT; ++nPage) {
        Popup().OnClicked(Details::ID_TAB_GENERAL + nPage);
        EXPECT_EQ(Popup().GetPage(), nPage);
        const char* names[] = {"", "details-skills.png", "details-history.png", "details-contract.png"};
        Shoot(names[nPage]);
    }
    // The print button works on the skills page only.
    auto* pPrint = dynamic_cast<CXButton*>(Popup().FindControl(CGamePopup::kPrintButtonID));
    ASSERT_NE(pPrint, nullptr);
    EXPECT_TRUE(pPrint->m_bDisabled);
    Popup().OnClicked(Details::ID_TAB_GENERAL + 1);
    EXPECT_FALSE(pPrint->m_bDisabled);

    // Own players show their true skills.
    int anValues[Details::kSkillLines];
    Popup().GetSkillValues(anValues);
    EXPECT_EQ(anValues[0], pPlayer->m_awAttributes[0] / 100);
    EXPECT_EQ(anValues[6], pPlayer->m_awAttributes[7] / 100) << "pace stands before strength";
    auto* pToggle = dynamic_cast<CXButton*>(Popup().FindControl(Details::kToggleIDs[0]));
    ASSERT_NE(pToggle, nullptr);
    EXPECT_EQ(std::string(pToggle->Caption()), std::to_string(anValues[0]) + "%");
}

TEST_F(PlayerDetails, TheShortlistQuestionActsOnlyOnOk)
{
    CPlayerDatabase* pPlayer = OtherPlayer();
    ASSERT_NE(pPlayer, nullptr);
    ASSERT_TRUE(Popup().Show(pPlayer, 0, true));
    const std::vector<uint32_t> expected = {Details::ID_SHORTLIST_ADD, Details::ID_APPROACH_BUY,
                                            Details::ID_APPROACH_LOAN};
    EXPECT_EQ(Popup().GetActionButtons(), expected);
    Shoot("details-other.png");
    Popup().OnClicked(Details::ID_SHORTLIST_ADD);
    EXPECT_EQ(Answer(0), Details::MESSAGE_ADD_TO_SHORTLIST);
    EXPECT_FALSE(m_pHuman->IsShortlisted(pPlayer->m_idPerson)) << "Escape changes nothing";
    Popup().OnClicked(Details::ID_SHORTLIST_ADD);
    EXPECT_EQ(Answer(CGamePopup::kOkButtonID), Details::MESSAGE_ADD_TO_SHORTLIST);
    EXPECT_TRUE(m_pHuman->IsShortlisted(pPlayer->m_idPerson));
    EXPECT_TRUE(Visible(Details::ID_SHORTLIST_REMOVE));
    EXPECT_FALSE(Visible(Details::ID_SHORTLIST_ADD));
    Popup().OnClicked(Details::ID_SHORTLIST_REMOVE);
    EXPECT_EQ(Answer(CGamePopup::kOkButtonID), Details::MESSAGE_REMOVE_FROM_SHORTLIST);
    EXPECT_FALSE(m_pHuman->IsShortlisted(pPlayer->m_idPerson));

    // Without a scout report his skills are unknown.
    Popup().OnClicked(Details::ID_TAB_GENERAL + 1);
    auto* pToggle = dynamic_cast<CXButton*>(Popup().FindControl(Details::kToggleIDs[3]));
    ASSERT_NE(pToggle, nullptr);
    EXPECT_EQ(std::string(pToggle->Caption()), "?%");
    ASSERT_NE(Popup().Graph(), nullptr);
    EXPECT_TRUE(Popup().Graph()->GetSeries(0).values.empty());
}

TEST_F(PlayerDetails, TheGameEndsCleanlyWithABidPopupOpenOverTheDetails)
{
    CPlayerDatabase* pPlayer = OtherPlayer();
    ASSERT_NE(pPlayer, nullptr);
    ASSERT_TRUE(Popup().Show(pPlayer, 0, true));
    Popup().OnClicked(Details::ID_APPROACH_BUY);
    ASSERT_EQ(CXPopup::StackTop(), 1) << "the bid popup stands over the details";
    EXPECT_NE(CXPopup::TopPopup(), &Popup());
    // The details free the bid popup they own: ending the game must not touch
    // it afterwards.
    m_bEndWithPopupsOpen = true;
}

TEST_F(PlayerDetails, ListingAndLoanActionsChangeTheWorldAndTheButtons)
{
    CPlayerDatabase* pPlayer = SquadPlayer();
    ASSERT_NE(pPlayer, nullptr);
    ASSERT_TRUE(Popup().Show(pPlayer, 3, true));
    Popup().OnClicked(Details::ID_OFFER_ON_LOAN);
    EXPECT_EQ(Answer(CGamePopup::kOkButtonID), Details::MESSAGE_OFFER_ON_LOAN);
    EXPECT_EQ(pPlayer->m_byTransferState, 2);
    EXPECT_NE(Database()->FindLoanMarketEntry(pPlayer->m_idPerson), nullptr);
    EXPECT_EQ(Popup().GetActionButtons().front(), Details::ID_OFF_LOAN_LIST);
    EXPECT_EQ(Text(Details::ID_CONTRACT_VALUE).empty(), false);
    Popup().OnClicked(Details::ID_OFF_LOAN_LIST);
    EXPECT_EQ(Answer(CGamePopup::kOkButtonID), Details::MESSAGE_TAKE_OFF_LIST);
    EXPECT_EQ(pPlayer->m_byTransferState, 0);
    EXPECT_EQ(Database()->FindLoanMarketEntry(pPlayer->m_idPerson), nullptr);

    // For sale again clears the mark at once.
    pPlayer->m_dwFlags |= PLAYER_FLAG_NOT_FOR_SALE;
    Popup().SetPage(Details::PAGE_GENERAL);
    ASSERT_TRUE(Visible(Details::ID_FOR_SALE_AGAIN));
    Popup().OnClicked(Details::ID_FOR_SALE_AGAIN);
    EXPECT_EQ(pPlayer->m_dwFlags & PLAYER_FLAG_NOT_FOR_SALE, 0u);
    EXPECT_TRUE(Visible(Details::ID_NOT_FOR_SALE));

    // Each child action opens its popup over this one.
    for (uint32_t dwID : {Details::ID_SELL, Details::ID_INSURANCE, Details::ID_FREE_TRANSFER, Details::ID_TALK,
                          Details::ID_NOT_FOR_SALE}) {
        Popup().OnClicked(dwID);
        CXPopup* pChild = Popup().ChildPopup(dwID);
        ASSERT_NE(pChild, nullptr) << dwID;
        EXPECT_EQ(CXPopup::TopPopup(), pChild) << dwID;
        pChild->Close();
    }
}

TEST_F(PlayerDetails, InsuranceShowsTheCoversAndTheirMonthlyPremium)
{
    CPlayerDatabase* pPlayer = SquadPlayer();
    ASSERT_NE(pPlayer, nullptr);
    pPlayer->m_dwValue = 1200000;
    pPlayer->m_byContractClauses = static_cast<uint8_t>((pPlayer->m_byContractClauses & ~0xF) | 1 | 4);
    ASSERT_TRUE(Popup().Show(pPlayer, Details::PAGE_CONTRACT, true));
    EXPECT_EQ(Popup().InsurancePremium(), 250 + 260);
    EXPECT_EQ(Text(Details::ID_INSURANCE_KINDS),
              std::string(GetTableTextOrEmpty(52, 0)) + ", " + GetTableTextOrEmpty(52, 2));
    // Taking a cover out in the insurance popup shows at once.
    Popup().OnClicked(Details::ID_INSURANCE);
    ASSERT_EQ(CXPopup::TopPopup(), Popup().Insurance());
    Popup().Insurance()->ToggleCover(1);
    Popup().Insurance()->OnClicked(CGamePopup::kOkButtonID);
    EXPECT_EQ(Popup().InsurancePremium(), 250 + 240 + 260);
    EXPECT_EQ(Text(Details::ID_INSURANCE_KINDS).find(GetTableTextOrEmpty(52, 1)) != std::string::npos, true);
}

TEST_F(PlayerDetails, AcceptingOneBidAndConfirmingTurnsTheOthersDown)
{
    CPlayerDatabase* pPlayer = SquadPlayer();
    ASSERT_NE(pPlayer, nullptr);
    CBuyOfferDatabase* pFirst = AddBuyOffer(pPlayer, OtherClub(0), 1);
    CBuyOfferDatabase* pSecond = AddBuyOffer(pPlayer, OtherClub(1), 1);
    ASSERT_TRUE(Popup().Show(pPlayer, Details::PAGE_CONTRACT, true));
    ASSERT_EQ(Rows(Details::ID_OFFERS).size(), 3u) << "his club's row and two bids";
    // Only his club's row chosen: his own contract, no answers to give.
    EXPECT_FALSE(Visible(Details::ID_ACCEPT_BUY));
    CXListBox* pOffers = Popup().List(Details::ID_OFFERS);
    pOffers->SetSelection(1);
    Popup().OnSelChange(Details::ID_OFFERS);
    EXPECT_TRUE(Visible(Details::ID_ACCEPT_BUY));
    EXPECT_TRUE(Visible(Details::ID_REJECT_BUY));
    Popup().OnClicked(Details::ID_ACCEPT_BUY);
    EXPECT_TRUE(pFirst->GetFlags() & BUYOFFER_ANSWERED);
    EXPECT_EQ(pFirst->GetClubAnswer(), 0);
    // The player agrees too: the seller confirms.
    pFirst->SetFlags(pFirst->GetFlags() | BUYOFFER_PLAYER_ANSWERED);
    pFirst->SetPlayerAnswer(0);
    pOffers->SetSelection(1);
    Popup().OnSelChange(Details::ID_OFFERS);
    ASSERT_TRUE(Visible(Details::ID_CONFIRM_TRANSFER));
    Shoot("details-offers.png");
    Popup().OnClicked(Details::ID_CONFIRM_TRANSFER);
    EXPECT_EQ(Answer(CGamePopup::kOkButtonID), Details::MESSAGE_CONFIRM_TRANSFER);
    EXPECT_TRUE(pFirst->GetFlags() & BUYOFFER_SELLER_CONFIRMED);
    EXPECT_TRUE(pSecond->GetFlags() & BUYOFFER_ANSWERED);
    EXPECT_EQ(pSecond->GetClubAnswer(), 1);
    EXPECT_EQ(pSecond->GetCountdown(), 0);
}

TEST_F(PlayerDetails, ALoanRequestAcceptedIsCarriedOutAWeekLater)
{
    CPlayerDatabase* pPlayer = SquadPlayer();
    ASSERT_NE(pPlayer, nullptr);
    auto* pLoan = new CLoanOfferDatabase;
    pLoan->SetOfferID(++m_dwNextOffer);
    pLoan->SetPlayerID(pPlayer->m_idPerson);
    pLoan->SetClubID(OtherClub()->GetID());
    pLoan->SetWord(0, Database()->GetGameDate().GetValue());
    pLoan->SetWord(1, 52000);
    pLoan->SetHalf(0, 56);
    pLoan->SetFlags(1);
    pLoan->SetByte(0, 1);
    Database()->AddLoanOffer(pLoan);
    ASSERT_TRUE(Popup().Show(pPlayer, Details::PAGE_CONTRACT, true));
    Popup().List(Details::ID_OFFERS)->SetSelection(1);
    Popup().OnSelChange(Details::ID_OFFERS);
    const std::vector<std::string> terms = Rows(Details::ID_TERMS);
    ASSERT_EQ(terms.size(), 4u) << "length, wage and the two cups";
    EXPECT_NE(terms[0].find("\t8"), std::string::npos) << terms[0];
    ASSERT_EQ(Rows(Details::ID_CONTRACT).size(), 1u) << "a loan has no contract";
    ASSERT_TRUE(Visible(Details::ID_ACCEPT_LOAN));
    Popup().OnClicked(Details::ID_ACCEPT_LOAN);
    EXPECT_TRUE(pLoan->GetFlags() & LOANOFFER_ACCEPTED);
    const CEventsDatabase* pEvent = pPlayer->m_pCountry->FindEvent(18, pPlayer->m_idPerson);
    ASSERT_NE(pEvent, nullptr);
    EXPECT_EQ(pEvent->GetDate().DaysBetween(Database()->GetGameDate()), 7);
}

TEST_F(PlayerDetails, APendingMoveOrRetirementLeavesNoActions)
{
    CPlayerDatabase* pPlayer = SquadPlayer();
    ASSERT_NE(pPlayer, nullptr);
    auto* pHeld = new CBuyOfferDatabase;
    pHeld->SetPlayerID(pPlayer->m_idPerson);
    pHeld->SetBiddingClubID(OtherClub()->GetID());
    Database()->AddPendingTransfer(CDate(Database()->GetGameDate().GetValue(), 30).GetValue(), pHeld);
    ASSERT_TRUE(Popup().Show(pPlayer, 0, true));
    EXPECT_TRUE(Popup().GetActionButtons().empty());
    EXPECT_FALSE(Visible(Details::ID_SELL));
    Popup().Close();

    // A retired player shows only his general page, whichever was asked.
    CPlayerDatabase* pRetired = SquadPlayer(1);
    ASSERT_NE(pRetired, nullptr);
    const ID_PLAYER idRetired = pRetired->m_idPerson;
    pRetired->m_dwFlags |= PLAYER_FLAG_RETIRING;
    ASSERT_TRUE(Database()->RetirePlayer(pRetired));
    // His record now comes from the retired file.
    pRetired = Database()->GetPlayerFromID(idRetired);
    ASSERT_NE(pRetired, nullptr);
    ASSERT_TRUE(pRetired->IsRetired());
    ASSERT_TRUE(Popup().Show(pRetired, Details::PAGE_HISTORY, false));
    EXPECT_TRUE(Visible(Details::ID_BIRTH));
    EXPECT_FALSE(Visible(Details::ID_CAREER));
    EXPECT_EQ(Text(Details::ID_VALUE), GetTableTextOrEmpty(114, 6));
    EXPECT_TRUE(Popup().GetActionButtons().empty());
    // Opened without browsing, the arrows stay disabled.
    auto* pNext = dynamic_cast<CXButton*>(Popup().FindControl(Details::ID_NEXT));
    ASSERT_NE(pNext, nullptr);
    EXPECT_TRUE(pNext->m_bDisabled);
}

TEST_F(PlayerDetails, TheArrowsStepThroughTheListBehind)
{
    auto* pScreen = dynamic_cast<CClientClubPlayers*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    const uint32_t idFirst = pScreen->GetCurrentListPlayer();
    ASSERT_NE(idFirst, 0u);
    // A double click on the row opens him.
    pScreen->OnDoubleClicked(CClientClubPlayers::ID_LIST);
    ASSERT_EQ(CXPopup::TopPopup(), &Popup());
    ASSERT_EQ(Popup().GetPlayer()->m_idPerson, idFirst);
    Popup().OnClicked(Details::ID_TAB_GENERAL + 2);
    Popup().OnClicked(Details::ID_NEXT);
    EXPECT_NE(Popup().GetPlayer()->m_idPerson, idFirst);
    EXPECT_EQ(Popup().GetPlayer()->m_idPerson, pScreen->GetCurrentListPlayer());
    EXPECT_EQ(Popup().GetPage(), Details::PAGE_HISTORY) << "the page stays";
    Popup().OnClicked(Details::ID_PREVIOUS);
    EXPECT_EQ(Popup().GetPlayer()->m_idPerson, idFirst);
}

TEST_F(PlayerDetails, APlayerLentOutCanOnlyBeCalledBack)
{
    CPlayerDatabase* pPlayer = nullptr;
    CClubDatabase* pBorrower = OtherClub();
    for (CPlayerDatabase* p : m_pClub->m_lstPlayers.Items<CPlayerDatabase>())
        if (p->m_byTransferState == 0 && Database()->TransferPlayerLoan(p, pBorrower->GetID(), true, 60) == 0) {
            pPlayer = p;
            break;
        }
    ASSERT_NE(pPlayer, nullptr) << "no player could go out on loan";
    ASSERT_TRUE(Popup().Show(pPlayer, 0, true));
    EXPECT_EQ(Popup().GetActionButtons(), std::vector<uint32_t>{Details::ID_RECALL});
    EXPECT_FALSE(Popup().Show(SquadPlayer(), 0, true)) << "an open popup keeps its player";
    EXPECT_EQ(Popup().GetPlayer(), pPlayer);
    Popup().OnClicked(Details::ID_RECALL);
    EXPECT_EQ(Answer(0), Details::MESSAGE_RECALL);
    EXPECT_EQ(pPlayer->m_pCountry->FindEvent(26, pPlayer->m_idPerson)->GetDate().DaysBetween(Database()->GetGameDate()),
              60) << "Escape leaves the loan as it was";
    Popup().OnClicked(Details::ID_RECALL);
    EXPECT_EQ(Answer(CGamePopup::kOkButtonID), Details::MESSAGE_RECALL);
    const CEventsDatabase* pReturn = pPlayer->m_pCountry->FindEvent(26, pPlayer->m_idPerson);
    ASSERT_NE(pReturn, nullptr);
    EXPECT_EQ(pReturn->GetDate(), Database()->GetGameDate());
    EXPECT_TRUE(Popup().GetActionButtons().empty()) << "no loan time left to call back";
    Popup().Close();
    Database()->ProcessDay();
    EXPECT_EQ(pPlayer->m_byTransferState, 0) << "the day's processing brings him back";
}

TEST_F(PlayerDetails, TheStatisticsTableOpensItsRowsPlayer)
{
    OpenScreen(SCREEN_TABLES_PLAYERS);
    auto* pScreen = dynamic_cast<CClientTablesStaticsPlayers*>(g_pCurrentClient);
    ASSERT_NE(pScreen, nullptr);
    CXListBox* pList = dynamic_cast<CXListBox*>(pScreen->FindControl(CClientTablesStaticsPlayers::ID_LIST));
    ASSERT_TRUE(pList && pList->GetCount() > 1);
    pList->SetSelection(1);
    pScreen->OnDoubleClicked(CClientTablesStaticsPlayers::ID_LIST);
    ASSERT_EQ(CXPopup::TopPopup(), &Popup());
    EXPECT_EQ(Popup().GetPlayer()->m_idPerson, pList->GetItemData(1));
    Popup().OnClicked(Details::ID_NEXT);
    EXPECT_EQ(Popup().GetPlayer()->m_idPerson, pList->GetItemData(2));
}

TEST_F(PlayerDetails, TheCareerListSumsTheFilteredCompetitions)
{
    CPlayerDatabase* pPlayer = SquadPlayer();
    ASSERT_NE(pPlayer, nullptr);
    // One season at a club that no longer exists.
    auto* pEntry = new PLAYERCAREERENTRY;
    pEntry->bySeason = 1;
    pEntry->wClubId = 60000;
    for (int k = 0; k < PLAYER_CAREER_COMPETITIONS; ++k)
        pEntry->aMatchInformation[k].abyFields[MATCH_INFORMATION_STARTS] = static_cast<uint8_t>(1 << k);
    pPlayer->m_Career.AddTail(pEntry);
    ASSERT_TRUE(Popup().Show(pPlayer, Details::PAGE_HISTORY, true));
    const std::vector<std::string> rows = Rows(Details::ID_CAREER);
    ASSERT_FALSE(rows.empty());
    const std::string expected = std::string("2000 / 2001\t") + GetTableTextOrEmpty(114, 6) + "\t 7 ( 0)";
    EXPECT_EQ(rows.back().rfind(expected, 0), 0u) << rows.back() << ": competitions 0 to 2 are summed at first";
}

// Ten weeks into the season the players have a history to draw.
class PlayerDetailsWithHistory : public PlayerDetails {
protected:
    PlayerDetailsWithHistory() : PlayerDetails(70) {}
};

TEST_F(PlayerDetailsWithHistory, TheGraphShowsTheRecordedWeeksBeforeThisOne)
{
    CPlayerDatabase* pPlayer = SquadPlayer();
    ASSERT_NE(pPlayer, nullptr);
    uint8_t abyHeader[2] = {};
    ASSERT_TRUE(Database()->ReadPlayerHistory(pPlayer->GetHistoryHeaderOffset(), abyHeader, 2));
    const int nFirstWeek = abyHeader[0] | abyHeader[1] << 8;
    ASSERT_GT(nFirstWeek, 0);
    const int nCurrentWeek = CDatabaseHandler::GetWeekNumber(Database()->GetGameDate());
    ASSERT_TRUE(Popup().Show(pPlayer, Details::PAGE_SKILLS, true));
    const CXGraph* pGraph = Popup().Graph();
    ASSERT_NE(pGraph, nullptr);
    // The weeks after the first recorded one up to the one before this.
    const size_t nWeeks = static_cast<size_t>(std::max(0, nCurrentWeek - nFirstWeek - 1));
    ASSERT_GT(nWeeks, 2u);
    for (int i = 0; i < Details::kSkillLines; ++i)
        EXPECT_EQ(pGraph->GetSeries(i).values.size(), nWeeks) << "line " << i;
    uint8_t abyRecord[10] = {};
    ASSERT_TRUE(Database()->ReadPlayerHistory(pPlayer->GetHistoryRecordOffset(nFirstWeek + 1), abyRecord, 10));
    EXPECT_EQ(pGraph->GetSeries(6).values.front(), abyRecord[6]) << "own players' weeks stand as recorded";
    // The month of the window's first week is named at its first place.
    ASSERT_FALSE(pGraph->GetItemLabels().empty());
    EXPECT_EQ(pGraph->GetItemLabels().front().nIndex, 0);
    Shoot("details-skills-history.png");

    // Another club's player without a report has no weeks at all.
    CPlayerDatabase* pOther = OtherPlayer();
    ASSERT_NE(pOther, nullptr);
    Popup().Close();
    ASSERT_TRUE(Popup().Show(pOther, Details::PAGE_SKILLS, true));
    EXPECT_TRUE(Popup().Graph()->GetSeries(0).values.empty());
    int anValues[Details::kSkillLines];
    Popup().GetSkillValues(anValues);
    EXPECT_EQ(anValues[0], 0);
}

}  // namespace
