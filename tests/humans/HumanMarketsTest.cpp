// The human manager's side of the markets: his ended offers and their
// reports, the answers he gave carried out, his offers that lapse when he
// leaves them unanswered, and staff offers closed when another human hires.
#include "HumanWorld.h"

#include "database/CBuyOfferDatabase.h"
#include "database/CEventsDatabase.h"
#include "database/CLoanOfferDatabase.h"
#include "database/CStaffDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CNoticeList.h"

namespace humans_test {
namespace {

class HumanMarkets : public HumanWorld {
protected:
    // A computer club of the human's division and one of its players.
    CClubDatabase* OtherClub()
    {
        for (CClubDatabase* pClub : m_pClub->m_pDivision->m_lstClubsByID.Items<CClubDatabase>())
            if (pClub != m_pClub)
                return pClub;
        return nullptr;
    }
    static CPlayerDatabase* FirstPlayer(CClubDatabase* pClub)
    {
        return static_cast<CPlayerDatabase*>(pClub->m_lstPlayers.GetHead()->pData);
    }
    void RunEvent(CCountryDatabase* pCountry, uint8_t byType, uint32_t dwID)
    {
        CEventsDatabase* pEvent = pCountry ? pCountry->FindEvent(byType, dwID) : nullptr;
        ASSERT_NE(pEvent, nullptr) << "event " << int(byType) << " for " << dwID;
        pCountry->RemoveEvent(pEvent);
        EXPECT_TRUE(H().RunMarketEvent(pEvent));
        delete pEvent;
    }
    // The human's bid of nTotal for the player.
    CBuyOfferDatabase* Bid(CPlayerDatabase* pPlayer, int32_t nTotal)
    {
        m_pClub->m_nBankBalance = 50000000;
        uint32_t adwTerms[CBuyOfferDatabase::TERMS] = {};
        adwTerms[6] = static_cast<uint32_t>(nTotal);
        adwTerms[8] = 1 | (1 << 8);
        if (H().MakeBuyOfferToClub(pPlayer, m_pClub, nTotal, adwTerms, 0, 0) != 0)
            return nullptr;
        return H().GetBuyOffer(pPlayer->m_idPerson, m_pClub->GetID());
    }
    int CountNews(uint16_t wType, ID_PLAYER idPlayer) const
    {
        int n = 0;
        for (const CNewsItem* p : m_pHuman->GetNews().GetIncoming().Items<CNewsItem>())
            n += p->GetType() == wType && p->GetSlot(NEWS_SLOT_PERSON) == idPlayer;
        return n;
    }
};

TEST_F(HumanMarkets, AnEndedBidIsKeptWithAReportThatAgesOutAfterTwoWeeks)
{
    CPlayerDatabase* pPlayer = FirstPlayer(OtherClub());
    CBuyOfferDatabase* pOffer = Bid(pPlayer, 1);
    ASSERT_NE(pOffer, nullptr);
    const uint32_t dwOfferID = pOffer->GetOfferID();
    RunEvent(pPlayer->m_pCountry, 5, pPlayer->m_idPerson);  // a bid of 1 is refused
    const CDate today = H().GetGameDate();
    H().DoTransferBuyEventsUpdate(today);

    EXPECT_EQ(H().FindBuyOfferByID(dwOfferID), nullptr) << "the ended bid leaves the market";
    ASSERT_EQ(m_pHuman->GetEndedBuyOffers().GetCount(), 1);
    EXPECT_EQ(static_cast<CBuyOfferDatabase*>(m_pHuman->GetEndedBuyOffers().GetHead()->pData)->GetOfferID(),
              dwOfferID);
    ASSERT_EQ(m_pHuman->GetTransferOfferReports().GetCount(), 1);
    const auto* pReport = static_cast<const uint8_t*>(m_pHuman->GetTransferOfferReports().GetHead()->pData);
    EXPECT_EQ(CSaveGame::GetTransferReportAge(pReport), 0);

    H().DoTransferBuyEventsUpdate(CDate(today.GetValue(), -14));
    ASSERT_EQ(m_pHuman->GetTransferOfferReports().GetCount(), 1);
    EXPECT_EQ(CSaveGame::GetTransferReportAge(pReport), 14);
    H().DoTransferBuyEventsUpdate(CDate(today.GetValue(), -1));
    EXPECT_TRUE(m_pHuman->GetTransferOfferReports().IsEmpty()) << "older than two weeks";
    EXPECT_TRUE(m_pHuman->GetEndedBuyOffers().IsEmpty());

    // An ended loan offer of his club goes the same way.
    CClubDatabase* pLender = nullptr;
    for (CDivisionDatabase* pDivision : m_pClub->m_pCountry->GetDivisions().Items<CDivisionDatabase>())
        if (!pLender && pDivision != m_pClub->m_pDivision && pDivision->GetClubCount() > 0)
            pLender = static_cast<CClubDatabase*>(pDivision->m_lstClubsByID.GetHead()->pData);
    ASSERT_NE(pLender, nullptr);
    CPlayerDatabase* pLoaned = FirstPlayer(pLender);
    ASSERT_EQ(H().MakeLoanOffer(pLoaned, 0, m_pClub->GetID(), 28, 1), 0);
    CLoanOfferDatabase* pLoanOffer = H().GetLoanOffer(pLoaned->m_idPerson, m_pClub->GetID());
    ASSERT_NE(pLoanOffer, nullptr);
    pLoanOffer->SetByte(0, 0);  // ended
    H().DoTransferBuyEventsUpdate(today);
    EXPECT_EQ(H().GetLoanOffer(pLoaned->m_idPerson, m_pClub->GetID()), nullptr);
    EXPECT_EQ(m_pHuman->GetEndedLoanOffers().GetCount(), 1);
    ASSERT_EQ(m_pHuman->GetLoanOfferReports().GetCount(), 1);
    H().DoTransferLoanEventsUpdate(CDate(today.GetValue(), -15));
    EXPECT_TRUE(m_pHuman->GetLoanOfferReports().IsEmpty());
    EXPECT_TRUE(m_pHuman->GetEndedLoanOffers().IsEmpty());
}

TEST_F(HumanMarkets, TheAnswersHeGaveToBidsForHisListedPlayerAreCarriedOut)
{
    CPlayerDatabase* pPlayer = FirstPlayer(m_pClub);
    CClubDatabase* pAccepted = OtherClub();
    CClubDatabase* pRefused = nullptr;
    for (CClubDatabase* pClub : m_pClub->m_pDivision->m_lstClubsByID.Items<CClubDatabase>())
        if (pClub != m_pClub && pClub != pAccepted && !pRefused)
            pRefused = pClub;
    ASSERT_NE(pRefused, nullptr);
    ASSERT_EQ(H().AddPlayerToListMarket(pPlayer, 100000, PLAYER_TRANSFER_LISTED, 30), 0);
    uint32_t adwTerms[CBuyOfferDatabase::TERMS] = {};
    for (CClubDatabase* pBidder : {pAccepted, pRefused}) {
        pBidder->m_nBankBalance = 50000000;
        ASSERT_EQ(H().MakeBuyOfferToClub(pPlayer, pBidder, 100000, adwTerms, 0, 0), 0);
    }
    CBuyOfferDatabase* pYes = H().GetBuyOffer(pPlayer->m_idPerson, pAccepted->GetID());
    CBuyOfferDatabase* pNo = H().GetBuyOffer(pPlayer->m_idPerson, pRefused->GetID());
    // The club's answer falls due, but the computer does not answer for him.
    RunEvent(pPlayer->m_pCountry, 5, pPlayer->m_idPerson);
    for (const CBuyOfferDatabase* pOffer : {pYes, pNo})
        EXPECT_EQ(pOffer->GetFlags() & 0x02, 0) << "a bid for his player waits for his answer";
    // What his transfer screens leave: answered, with no refusal or one.
    pYes->SetFlags(static_cast<uint16_t>(pYes->GetFlags() | 0x02));
    pNo->SetFlags(static_cast<uint16_t>(pNo->GetFlags() | 0x02));
    pNo->SetByte(0, 1);
    RunEvent(pPlayer->m_pCountry, 4, pPlayer->m_idPerson);
    EXPECT_NE(pYes->GetFlags() & 0x04, 0) << "the buyer puts a contract to the player";
    EXPECT_NE(pPlayer->m_pCountry->FindEvent(8, pPlayer->m_idPerson), nullptr);
    EXPECT_EQ(pNo->GetCountdown(), 0) << "the refused bid ends";
    EXPECT_EQ(pPlayer->m_pClub, m_pClub) << "nothing moves before the player agrees";
}

// The player's own answer is kept on the offer, and a move both sides have
// agreed to waits for the human's word (notice 14) on either side.
TEST_F(HumanMarkets, ThePlayersAnswerIsKeptAndAnAgreedMoveAsksForTheHumansWord)
{
    CNoticeList& notices = m_pHuman->GetNotices();
    auto isActive = [&](uint8_t byCode) {
        notices.RecheckNotices();
        const NOTICE* p = notices.FindNotice(byCode);
        return p && !p->byResolved;
    };
    auto refresh = [&]() {
        notices.RemoveSeenNotices();
        notices.UpdateNotices();
    };

    // He sells: he said yes to the fee, the buyer proposes, the player weighs.
    CPlayerDatabase* pSold = FirstPlayer(m_pClub);
    CClubDatabase* pBuyer = OtherClub();
    pBuyer->m_nBankBalance = 50000000;
    ASSERT_EQ(H().AddPlayerToListMarket(pSold, 100000, PLAYER_TRANSFER_LISTED, 30), 0);
    uint32_t adwTerms[CBuyOfferDatabase::TERMS] = {};
    ASSERT_EQ(H().MakeBuyOfferToClub(pSold, pBuyer, 100000, adwTerms, 0, 0), 0);
    CBuyOfferDatabase* pSale = H().GetBuyOffer(pSold->m_idPerson, pBuyer->GetID());
    pSale->SetFlags(static_cast<uint16_t>(pSale->GetFlags() | BUYOFFER_ANSWERED));
    RunEvent(pSold->m_pCountry, 4, pSold->m_idPerson);
    ASSERT_NE(pSale->GetFlags() & BUYOFFER_CONTRACT_PROPOSED, 0);
    refresh();
    EXPECT_FALSE(isActive(14)) << "the player has not answered yet";
    RunEvent(pSold->m_pCountry, 8, pSold->m_idPerson);
    EXPECT_NE(pSale->GetFlags() & BUYOFFER_PLAYER_ANSWERED, 0);
    EXPECT_EQ(pSale->GetPlayerAnswer(), 0);
    refresh();
    EXPECT_TRUE(isActive(14)) << "an agreed sale of his player";
    // The answer travels with the record.
    std::vector<uint8_t> bytes;
    CBinaryWriter writer(bytes);
    ASSERT_TRUE(pSale->Save(writer));
    CBuyOfferDatabase copy;
    CBinaryReader reader(bytes);
    ASSERT_TRUE(copy.Load(reader));
    EXPECT_TRUE(copy.IsAgreed());
    pSale->SetFlags(static_cast<uint16_t>(pSale->GetFlags() | BUYOFFER_SELLER_CONFIRMED));
    EXPECT_FALSE(isActive(14)) << "confirmed as the seller";
    H().WithdrawBuyOffer(pSold->m_idPerson, pBuyer->GetID(), false);
    refresh();

    // He buys: the seller said yes; the player refuses a poor contract and
    // takes a good one.
    CPlayerDatabase* pWanted = FirstPlayer(OtherClub());
    CBuyOfferDatabase* pBid = Bid(pWanted, static_cast<int32_t>(pWanted->m_dwValue));
    ASSERT_NE(pBid, nullptr);
    pBid->SetFlags(static_cast<uint16_t>(pBid->GetFlags() | BUYOFFER_ANSWERED));
    PLAYERCONTRACT poor;
    poor.dwStartDate = H().GetGameDate().GetValue();
    poor.dwEndDate = CDate(H().GetGameDate().GetValue(), 364).GetValue();
    ASSERT_EQ(H().MakeOfferToPlayer(pWanted->m_idPerson, m_pClub->GetID(), poor), 0);
    RunEvent(m_pClub->m_pCountry, 7, pBid->GetOfferID());
    EXPECT_NE(pBid->GetFlags() & BUYOFFER_PLAYER_ANSWERED, 0);
    EXPECT_EQ(pBid->GetPlayerAnswer(), 1) << "one refusal";
    EXPECT_EQ(pBid->GetFlags() & BUYOFFER_CONTRACT_PROPOSED, 0);
    refresh();
    EXPECT_FALSE(isActive(14)) << "a refused contract asks nothing of him";

    PLAYERCONTRACT good;
    pWanted->GenerateContract(good, m_pClub->m_pDivision, m_pClub, false);
    good.dwYearlyWage *= 3;
    good.dwSigningOnFee *= 3;
    ASSERT_EQ(H().MakeOfferToPlayer(pWanted->m_idPerson, m_pClub->GetID(), good), 0);
    EXPECT_EQ(pBid->GetFlags() & BUYOFFER_PLAYER_ANSWERED, 0) << "a new contract awaits a new answer";
    RunEvent(m_pClub->m_pCountry, 7, pBid->GetOfferID());
    EXPECT_EQ(pBid->GetPlayerAnswer(), 0);
    refresh();
    EXPECT_TRUE(isActive(14)) << "his own agreed bid";
    pBid->SetFlags(static_cast<uint16_t>(pBid->GetFlags() | BUYOFFER_BIDDER_CONFIRMED));
    EXPECT_FALSE(isActive(14));
}

// Events that end a human's offer left unanswered, unless the flag says
// the answer came.
TEST_F(HumanMarkets, HisUnansweredOffersLapse)
{
    struct Case {
        uint8_t byType;
        uint16_t wAnsweredFlag;
        bool bLoan;
    };
    for (const Case& c : {Case{10, 0x02, false}, Case{11, 0x20, false}, Case{22, 0x02, true}, Case{23, 0x20, true}}) {
        SCOPED_TRACE(int(c.byType));
        for (bool bAnswered : {true, false}) {
            CClubDatabase* pOther = OtherClub();
            CPlayerDatabase* pPlayer = FirstPlayer(pOther);
            uint32_t dwID = 0;
            if (c.bLoan) {
                ASSERT_EQ(H().MakeLoanOffer(pPlayer, 0, m_pClub->GetID(), 28, 1000), 0);
                CLoanOfferDatabase* pOffer = H().GetLoanOffer(pPlayer->m_idPerson, m_pClub->GetID());
                ASSERT_NE(pOffer, nullptr);
                if (bAnswered)
                    pOffer->SetHalf(1, static_cast<uint16_t>(pOffer->GetHalf(1) | c.wAnsweredFlag));
                dwID = pOffer->GetOfferID();
            } else {
                CBuyOfferDatabase* pOffer = Bid(pPlayer, 1000);
                ASSERT_NE(pOffer, nullptr);
                if (bAnswered)
                    pOffer->SetFlags(static_cast<uint16_t>(pOffer->GetFlags() | c.wAnsweredFlag));
                dwID = pOffer->GetOfferID();
            }
            const int nNewsBefore = CountNews(c.bLoan ? 201 : 200, pPlayer->m_idPerson);
            H().RunHumanNegotiationEvent(c.byType, dwID);
            const bool bGone = c.bLoan ? H().FindLoanOfferByID(dwID) == nullptr : H().FindBuyOfferByID(dwID) == nullptr;
            EXPECT_EQ(bGone, !bAnswered);
            if (c.bLoan)
                EXPECT_EQ(CountNews(201, pPlayer->m_idPerson), nNewsBefore + (bAnswered ? 0 : 1));
            if (c.bLoan)
                H().WithdrawLoanOffer(pPlayer->m_idPerson, m_pClub->GetID(), false);
            else
                H().WithdrawBuyOffer(pPlayer->m_idPerson, m_pClub->GetID(), false);
        }
    }
}

TEST_F(HumanMarkets, AStaffMemberHiredByOneHumanClosesTheOthersOffers)
{
    CClubDatabase* pSecondClub = OtherClub();
    CSaveGame* pSecond = CSaveGame::CreateNewHuman(H(), 1, "Bea Marsh", 3, 1);
    ASSERT_NE(pSecond, nullptr);
    pSecond->TakeOverClub(pSecondClub);
    int nCursor = 0;
    CStaffDatabase* pStaff = H().FindNextStaffByType(0, nCursor);
    ASSERT_NE(pStaff, nullptr);
    const ID_STAFF id = pStaff->GetId();
    ASSERT_NE(m_pHuman->AddStaffNegotiation(id, 1000), nullptr);
    STAFFNEGOTIATION* pLosing = pSecond->AddStaffNegotiation(id, 900);
    ASSERT_NE(pLosing, nullptr);
    pLosing->byStatus = 1;

    ASSERT_EQ(H().HireStaff(id, m_pClub), 0);
    EXPECT_EQ(pLosing->byStatus, 2);
    int nNews = 0;
    for (const CNewsItem* p : pSecond->GetNews().GetIncoming().Items<CNewsItem>())
        nNews += p->GetType() == 8 && p->GetSlot(NEWS_SLOT_STAFF) == id;
    EXPECT_EQ(nNews, 1);
    for (const CNewsItem* p : m_pHuman->GetNews().GetIncoming().Items<CNewsItem>())
        EXPECT_FALSE(p->GetType() == 8 && p->GetSlot(NEWS_SLOT_STAFF) == id) << "the winner is not told he lost";
}

}  // namespace
}  // namespace humans_test
