// The markets on the starting world: a fee transfer from bid to completion,
// a loan from start to return, offers and listings refused where they must
// be, empty markets, the people pools, and a month of the world's own
// transfers kept saveable and loadable.
#include "../database/ClubBooks.h"
#include "../dayloop/DayLoopSupport.h"

#include "common/DebugLog.h"
#include "database/CBuyOfferDatabase.h"
#include "database/CEventsDatabase.h"
#include "database/CLoanOfferDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CMarketEntries.h"
#include "database/CStaffDatabase.h"
#include "database/CYouthDatabase.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

using namespace dayloop_test;

namespace {

class Markets : public DayLoopWorld {
protected:
    std::vector<CClubDatabase*> Clubs()
    {
        std::vector<CClubDatabase*> clubs;
        for (CDivisionDatabase* pDivision : Divisions())
            for (CClubDatabase* pClub : pDivision->m_lstClubsByID.Items<CClubDatabase>())
                clubs.push_back(pClub);
        return clubs;
    }
    // Two clubs of the first division of the first country.
    std::pair<CClubDatabase*, CClubDatabase*> TwoClubs()
    {
        CDivisionDatabase* pDivision = Divisions().front();
        auto* pA = static_cast<CClubDatabase*>(pDivision->m_lstClubsByID.GetAt(0)->pData);
        auto* pB = static_cast<CClubDatabase*>(pDivision->m_lstClubsByID.GetAt(1)->pData);
        return {pA, pB};
    }
    // A club of another division of the same country.
    CClubDatabase* ClubElsewhere(const CClubDatabase* pClub)
    {
        for (CDivisionDatabase* pDivision : Divisions())
            if (pDivision != pClub->m_pDivision && pDivision->m_pCountry == pClub->m_pCountry &&
                pDivision->GetClubCount() > 0)
                return static_cast<CClubDatabase*>(pDivision->m_lstClubsByID.GetHead()->pData);
        return nullptr;
    }
    static CPlayerDatabase* FirstPlayer(CClubDatabase* pClub)
    {
        return static_cast<CPlayerDatabase*>(pClub->m_lstPlayers.GetHead()->pData);
    }
    // Runs and frees one pending event the way the country's queue does.
    void RunEvent(CCountryDatabase* pCountry, uint8_t byType, uint32_t dwID)
    {
        CEventsDatabase* pEvent = pCountry ? pCountry->FindEvent(byType, dwID) : nullptr;
        ASSERT_NE(pEvent, nullptr) << "event " << int(byType) << " for " << dwID;
        pCountry->RemoveEvent(pEvent);
        EXPECT_TRUE(H().RunMarketEvent(pEvent));
        delete pEvent;
    }
    // Every player, loan and pool entry found again through the identifier tables.
    static void ExpectIdentifiersResolve(CDatabaseHandler& handler)
    {
        std::set<ID_PLAYER> seen;
        for (CCountryDatabase* pCountry : handler.GetCountries().Items<CCountryDatabase>())
            for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
                for (CClubDatabase* pClub : pDivision->m_lstClubsByID.Items<CClubDatabase>()) {
                    ASSERT_EQ(handler.GetClubFromID(pClub->GetID()), pClub);
                    EXPECT_EQ(pClub->m_nPlayerCount, pClub->m_lstPlayers.GetCount());
                    for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>()) {
                        EXPECT_TRUE(seen.insert(p->m_idPerson).second) << "player " << p->m_idPerson << " twice";
                        EXPECT_EQ(handler.GetPlayerFromID(p->m_idPerson), p);
                        EXPECT_EQ(p->m_pClub, pClub);
                    }
                    for (CPlayerDatabase* p : pClub->m_lstLoanIns.Items<CPlayerDatabase>()) {
                        EXPECT_EQ(handler.GetPlayerFromID(p->m_idPerson), p);
                        EXPECT_EQ(p->m_byTransferState, PLAYER_TRANSFER_ON_LOAN);
                        EXPECT_EQ(p->m_wLoanClubId, pClub->GetID());
                    }
                    if (pClub->m_wManagerId) {
                        EXPECT_NE(pClub->GetManager(), nullptr) << pClub->GetName();
                    }
                }
        for (const void* pId : handler.GetUnemployedManagers().Items<void>())
            EXPECT_NE(handler.GetPoolManager(static_cast<ID_MANAGER>(reinterpret_cast<uintptr_t>(pId))), nullptr);
        for (const CListMarketEntry* p : handler.GetListMarket().Items<CListMarketEntry>())
            EXPECT_NE(handler.GetPlayerFromID(p->GetPlayerID()), nullptr);
        for (const CBuyOfferDatabase* p : handler.GetBuyOffers().Items<CBuyOfferDatabase>()) {
            EXPECT_NE(handler.GetPlayerFromID(p->GetPlayerID()), nullptr);
            EXPECT_NE(handler.GetClubFromID(p->GetBiddingClubID()), nullptr);
        }
    }
};

TEST_F(Markets, FeeTransferFromBidToCompletionMovesPlayerContractAndMoney)
{
    auto [pBuyer, pSeller] = TwoClubs();
    CPlayerDatabase* pPlayer = FirstPlayer(pSeller);
    const ID_PLAYER id = pPlayer->m_idPerson;
    pBuyer->m_nBankBalance = 50000000;
    std::fill(std::begin(pBuyer->m_anFinanceAccumulators), std::end(pBuyer->m_anFinanceAccumulators), 0);
    const int64_t nSellerBefore = BookedBalance(*pSeller);
    const CXList& records = pSeller->m_pDivision->m_lstSeasonTransfers;
    const int nRecordsBefore = records.GetCount();
    const int nBuyerSquad = pBuyer->m_nPlayerCount, nSellerSquad = pSeller->m_nPlayerCount;

    uint32_t adwTerms[CBuyOfferDatabase::TERMS];
    pSeller->BuildAskingTerms(adwTerms, pPlayer);
    const int32_t nFee = CClubDatabase::GetTermsTotal(adwTerms) * 2;
    ASSERT_GT(nFee, 0);
    ASSERT_EQ(H().MakeBuyOfferToClub(pPlayer, pBuyer, nFee, adwTerms, 0, 0), 0);
    EXPECT_EQ(H().CountOpenBuyOffers(id), 1);
    EXPECT_EQ(H().MakeBuyOfferToClub(pPlayer, pBuyer, nFee, adwTerms, 0, 0), 2) << "one offer per club";

    // His club answers, the bidder proposes a contract, he takes it, the move completes.
    RunEvent(pPlayer->m_pCountry, 5, id);
    CBuyOfferDatabase* pOffer = H().GetBuyOffer(id, pBuyer->GetID());
    ASSERT_NE(pOffer, nullptr);
    EXPECT_NE(pOffer->GetFlags() & 0x04, 0) << "accepted at twice the asking terms: contract proposed";
    RunEvent(pPlayer->m_pCountry, 8, id);
    RunEvent(pBuyer->m_pCountry, 14, pOffer->GetOfferID());

    EXPECT_EQ(pPlayer->m_pClub, pBuyer);
    EXPECT_EQ(H().GetPlayerFromID(id), pPlayer);
    EXPECT_EQ(pBuyer->m_nPlayerCount, nBuyerSquad + 1);
    EXPECT_EQ(pSeller->m_nPlayerCount, nSellerSquad - 1);
    // The fee goes through both clubs' books: the first instalment now, the
    // rest owed on the player's terms to his old club.
    const uint32_t* pTerms = pPlayer->m_adwTransferBlock;
    const int64_t nLater = static_cast<int64_t>(pTerms[PLAYER_TERMS_COUNTS] & 0xFF) * pTerms[PLAYER_TERMS_INSTALMENT];
    EXPECT_EQ(pTerms[PLAYER_TERMS_FORMER_CLUB], pSeller->GetID());
    EXPECT_EQ(BookedBalance(*pBuyer), 50000000 - (nFee - nLater));
    EXPECT_EQ(BookedBalance(*pSeller), nSellerBefore + nFee - nLater);
    pBuyer->PayOutstandingInstalments(*pPlayer);
    EXPECT_EQ(BookedBalance(*pBuyer), 50000000 - nFee) << "the instalments make up the whole fee";
    EXPECT_EQ(BookedBalance(*pSeller), nSellerBefore + nFee);
    EXPECT_EQ(pPlayer->m_Contract.dwStartDate, H().GetGameDate().GetValue());
    EXPECT_GE(pPlayer->GetContractTimeLeft(0), 3 * 52) << "three years or more";
    EXPECT_GT(pPlayer->m_Contract.dwYearlyWage, 0u);
    EXPECT_EQ(H().CountOpenBuyOffers(id), 0);
    EXPECT_EQ(H().GetBuyOffers().GetCount(), 0);
    ExpectIdentifiersResolve(H());

    // The move is in the season's records once: both clubs share a division.
    ASSERT_EQ(records.GetCount(), nRecordsBefore + 1);
    const TRANSFERHISTORYVALUES& record = static_cast<CTransferHistoryEntry*>(records.GetTail()->pData)->Get();
    EXPECT_EQ(record.dwValue0, id);
    EXPECT_EQ(record.dwValue1, static_cast<uint32_t>(nFee));
    EXPECT_EQ(record.wValue0, pSeller->GetID());
    EXPECT_EQ(record.wValue1, pBuyer->GetID());
    EXPECT_EQ(record.date, H().GetGameDate());
}

TEST_F(Markets, RefusedBidEndsAndIsSettledByTheDailyStep)
{
    auto [pBuyer, pSeller] = TwoClubs();
    CPlayerDatabase* pPlayer = FirstPlayer(pSeller);
    pBuyer->m_nBankBalance = 50000000;
    uint32_t adwTerms[CBuyOfferDatabase::TERMS] = {};
    adwTerms[6] = 1;
    adwTerms[8] = 1 | (1 << 8);
    ASSERT_EQ(H().MakeBuyOfferToClub(pPlayer, pBuyer, 1, adwTerms, 0, 0), 0);
    RunEvent(pPlayer->m_pCountry, 5, pPlayer->m_idPerson);
    EXPECT_EQ(H().CountOpenBuyOffers(pPlayer->m_idPerson), 0) << "a bid of 1 is refused and ends";
    RunDays(1);
    EXPECT_EQ(H().GetBuyOffers().GetCount(), 0);
    EXPECT_EQ(pPlayer->m_pClub, pSeller);

    // A club that cannot pay does not bid at all.
    pBuyer->m_nBankBalance = 0;
    EXPECT_EQ(H().MakeBuyOfferToClub(pPlayer, pBuyer, 1000, adwTerms, 0, 0), 2);
}

TEST_F(Markets, NegotiationRefusesAnOfferForAnotherClubsPlayer)
{
    auto [pA, pB] = TwoClubs();
    std::vector<std::string> lines;
    SetDebugLogSink([&](int, const std::string& line) { lines.push_back(line); });
    CBuyOfferDatabase offer;
    offer.SetPlayerID(FirstPlayer(pB)->m_idPerson);
    offer.SetBiddingClubID(pB->GetID());
    offer.SetValue100(100000000);
    EXPECT_EQ(pA->NegotiateBuyTransfer(&offer), 0);
    SetDebugLogSink(nullptr);
    bool bLogged = false;
    for (const std::string& line : lines)
        bLogged |= line.find("[CClubDatabase::NegotiateBuyTransfer] Could not find the player") != std::string::npos;
    EXPECT_TRUE(bLogged);
}

TEST_F(Markets, ListingsAreExclusiveAndExpireExceptFreeTransfers)
{
    auto [pA, pB] = TwoClubs();
    CPlayerDatabase* pListed = FirstPlayer(pA);
    CPlayerDatabase* pFree = FirstPlayer(pB);
    ASSERT_EQ(H().AddPlayerToListMarket(pListed, 123456, PLAYER_TRANSFER_LISTED, 3), 0);
    EXPECT_EQ(H().AddPlayerToListMarket(pListed, 1, PLAYER_TRANSFER_LISTED, 3), 2);
    EXPECT_EQ(H().AddPlayerToLoanMarket(pListed, 10), 2) << "never on both markets";
    ASSERT_EQ(H().AddPlayerToListMarket(pFree, 999, PLAYER_TRANSFER_LEAVING, 3), 0);
    EXPECT_EQ(pFree->m_dwAskingPrice, 0u) << "a released player costs nothing";
    RunDays(4);
    EXPECT_EQ(pListed->m_byTransferState, 0) << "expired after three days";
    EXPECT_EQ(H().FindListMarketEntry(pListed->m_idPerson), nullptr);
    EXPECT_EQ(pFree->m_byTransferState, PLAYER_TRANSFER_LEAVING) << "a free transfer never expires";
    EXPECT_NE(H().FindListMarketEntry(pFree->m_idPerson), nullptr);
    EXPECT_TRUE(H().RemovePlayerFromListMarket(pFree, 0, 2, 3));
    EXPECT_FALSE(H().RemovePlayerFromListMarket(pFree, 0, 2, 3));
}

TEST_F(Markets, LoanStartsAndEndsOnItsReturnDay)
{
    auto [pParent, pOther] = TwoClubs();
    CClubDatabase* pBorrower = ClubElsewhere(pParent);
    ASSERT_NE(pBorrower, nullptr);
    // A squad player, not one the club would never lend.
    CPlayerDatabase* pPlayer = nullptr;
    for (CPlayerDatabase* p : pParent->m_lstPlayers.Items<CPlayerDatabase>())
        if (!pPlayer && p->m_byRating <= pParent->m_byAverageRating)
            pPlayer = p;
    ASSERT_NE(pPlayer, nullptr);
    const int nLoansBefore = pBorrower->m_nLoanInCount;
    const CXList& parentRecords = pParent->m_pDivision->m_lstSeasonLoans;
    const CXList& borrowerRecords = pBorrower->m_pDivision->m_lstSeasonLoans;
    const int nParentRecords = parentRecords.GetCount(), nBorrowerRecords = borrowerRecords.GetCount();

    // A loan offer accepted by his club, taken up by the player.
    ASSERT_EQ(H().MakeLoanOffer(pPlayer, 0, pBorrower->GetID(), 14, pPlayer->m_Contract.dwYearlyWage * 5), 0);
    CLoanOfferDatabase* pOffer = H().GetLoanOffer(pPlayer->m_idPerson, pBorrower->GetID());
    ASSERT_NE(pOffer, nullptr);
    const uint32_t dwOfferID = pOffer->GetOfferID();
    ASSERT_EQ(H().MakeLoanOffer(pPlayer, 0, pBorrower->GetID(), 14, pPlayer->m_Contract.dwYearlyWage * 5), 0);
    EXPECT_EQ(H().GetLoanOffer(pPlayer->m_idPerson, pBorrower->GetID())->GetOfferID(), dwOfferID)
        << "renewing keeps the offer id";
    EXPECT_EQ(H().CountOpenLoanOffers(pPlayer->m_idPerson), 1);
    RunEvent(pPlayer->m_pCountry, 17, pPlayer->m_idPerson);
    RunEvent(pPlayer->m_pCountry, 18, pPlayer->m_idPerson);

    EXPECT_EQ(pPlayer->m_byTransferState, PLAYER_TRANSFER_ON_LOAN);
    EXPECT_EQ(pPlayer->m_wLoanClubId, pBorrower->GetID());
    EXPECT_EQ(pBorrower->m_nLoanInCount, nLoansBefore + 1);
    EXPECT_FALSE(CClubDatabase::IsAvailable(pPlayer, 0)) << "a loaned-out player does not play for his club";
    EXPECT_EQ(H().TransferPlayerLoan(pPlayer, pOther->GetID(), true, 7), 2) << "already out on loan";
    ExpectIdentifiersResolve(H());
    // Each of the two divisions records the loan once, from its start.
    ASSERT_EQ(parentRecords.GetCount(), nParentRecords + 1);
    ASSERT_EQ(borrowerRecords.GetCount(), nBorrowerRecords + 1);
    for (const CXList* pRecords : {&parentRecords, &borrowerRecords}) {
        const LOANHISTORYVALUES& record = static_cast<CLoanHistoryEntry*>(pRecords->GetTail()->pData)->Get();
        EXPECT_EQ(record.dwValue, pPlayer->m_idPerson);
        EXPECT_EQ(record.awValues[0], pParent->GetID());
        EXPECT_EQ(record.awValues[1], pBorrower->GetID());
        EXPECT_EQ(record.awValues[2], 14);
        EXPECT_EQ(CDate(record.awValues[3], record.abyValues[1], record.abyValues[0]), H().GetGameDate());
    }

    RunDays(15);
    EXPECT_EQ(pPlayer->m_byTransferState, 0) << "back at his club";
    EXPECT_EQ(pPlayer->m_wLoanClubId, 0);
    EXPECT_EQ(pBorrower->m_nLoanInCount, nLoansBefore);
    EXPECT_EQ(pPlayer->m_pClub, pParent);
    EXPECT_EQ(parentRecords.GetCount(), nParentRecords + 1) << "the return is no new loan";
}

TEST_F(Markets, ARetiringPlayerLeavesTheMarketsHisOffersHisLoanAndHisClub)
{
    auto [pClub, pBidder] = TwoClubs();
    CClubDatabase* pBorrower = ClubElsewhere(pClub);
    ASSERT_NE(pBorrower, nullptr);
    auto it = pClub->m_lstPlayers.Items<CPlayerDatabase>().begin();
    CPlayerDatabase* pListed = *it;
    CPlayerDatabase* pLoaned = *++it;
    CPlayerDatabase* pStaying = *++it;
    const ID_PLAYER idListed = pListed->m_idPerson, idLoaned = pLoaned->m_idPerson;
    const int nSquad = pClub->m_nPlayerCount, nLoansIn = pBorrower->m_nLoanInCount;

    // Listed, with a bid and a loan offer on him.
    pBidder->m_nBankBalance = 50000000;
    uint32_t adwTerms[CBuyOfferDatabase::TERMS];
    pClub->BuildAskingTerms(adwTerms, pListed);
    ASSERT_EQ(H().AddPlayerToListMarket(pListed, pListed->m_dwValue, PLAYER_TRANSFER_LISTED, 65535), 0);
    ASSERT_EQ(H().MakeBuyOfferToClub(pListed, pBidder, CClubDatabase::GetTermsTotal(adwTerms), adwTerms, 0, 0), 0);
    ASSERT_EQ(H().MakeLoanOffer(pListed, 0, pBorrower->GetID(), 14, 1000), 0);
    // Out on loan, with a move held back for him.
    ASSERT_EQ(H().TransferPlayerLoan(pLoaned, pBorrower->GetID(), true, 30), 0);
    auto* pHeld = new CBuyOfferDatabase;
    pHeld->SetPlayerID(idLoaned);
    pHeld->SetBiddingClubID(pBidder->GetID());
    H().AddPendingTransfer(CDate(H().GetGameDate().GetValue(), 60).GetValue(), pHeld);

    EXPECT_FALSE(H().RetirePlayer(pStaying)) << "not marked retiring";
    for (CPlayerDatabase* p : {pListed, pLoaned}) {
        p->m_dwFlags |= PLAYER_FLAG_RETIRING;
        EXPECT_TRUE(H().RetirePlayer(p));
    }

    for (ID_PLAYER id : {idListed, idLoaned})
        EXPECT_TRUE(H().GetPlayerInformation(id)->dwFlags & PLAYERINFO_RETIRED) << id;
    EXPECT_EQ(H().FindListMarketEntry(idListed), nullptr);
    EXPECT_EQ(H().CountOpenBuyOffers(idListed), 0);
    EXPECT_EQ(H().GetLoanOffer(idListed, pBorrower->GetID()), nullptr);
    EXPECT_EQ(pBorrower->m_nLoanInCount, nLoansIn) << "the borrower let him go";
    EXPECT_NE(pClub->m_lstPlayers.Find(pStaying), nullptr);
    EXPECT_EQ(pClub->m_nPlayerCount, nSquad - 2);
    for (const PENDINGTRANSFER* p : H().GetPendingTransfers().Items<PENDINGTRANSFER>())
        EXPECT_NE(p->pOffer->GetPlayerID(), idLoaned) << "the held-back move went with him";
    EXPECT_EQ(pClub->m_pCountry->FindEvent(26, idLoaned), nullptr) << "no loan return is due";
    ExpectIdentifiersResolve(H());
}

TEST_F(Markets, ComputerClubCannotMakeASixthLoanOfferForAPlayerWithMoreThanFive)
{
    CClubDatabase* pParent = TwoClubs().first;
    CPlayerDatabase* pPlayer = FirstPlayer(pParent);
    std::vector<CClubDatabase*> others;
    for (CClubDatabase* pClub : Clubs())
        if (pClub != pParent && others.size() < 7)
            others.push_back(pClub);
    for (int i = 0; i < 6; ++i)
        ASSERT_EQ(H().MakeLoanOffer(pPlayer, 0, others[i]->GetID(), 28, 1000), 0) << i;
    EXPECT_EQ(H().MakeLoanOffer(pPlayer, 0, others[6]->GetID(), 28, 1000), 2);
    EXPECT_EQ(H().MakeLoanOffer(pPlayer, 0, pParent->GetID(), 28, 1000), 2) << "his own club";
}

TEST_F(Markets, EmptyMarketsDrawNothingAndTheDailyStepsAreQuiet)
{
    ASSERT_EQ(H().GetListMarket().GetCount(), 0);
    ASSERT_EQ(H().GetLoanMarket().GetCount(), 0);
    CClubDatabase* pClub = TwoClubs().first;
    int anMeans[CLUB_POSITION_SLOTS];
    std::fill(anMeans, anMeans + CLUB_POSITION_SLOTS, 0);
    pClub->m_byAverageRating = 60;
    ASSERT_NE(pClub->ChooseWeakestArea(60, anMeans), 16);
    pClub->SearchTransferTargets();
    EXPECT_LE(pClub->GetTransferTargetCount(), 1) << "only the one club drawn at random can give a target";
    H().DoTransferBuyEventsUpdate(H().GetGameDate());
    H().DoTransferLoanEventsUpdate(H().GetGameDate());
    EXPECT_EQ(H().GetBuyOffers().GetCount(), 0);
}

TEST_F(Markets, AClubLookingAbroadDrawsFromEveryCountry)
{
    // A top club of a strong country searches every country; with empty
    // markets its one target comes from the club drawn at random.
    CClubDatabase* pClub = TwoClubs().first;
    ASSERT_GT(pClub->m_pCountry->GetLevel(), 70);
    ASSERT_LE(pClub->m_pDivision->m_byDivisionNumber, 2);
    std::set<const CCountryDatabase*> found;
    for (int nDraw = 0; nDraw < 600; ++nDraw) {
        pClub->m_bySearchArea = static_cast<uint8_t>(nDraw % CLUB_POSITION_SLOTS);
        pClub->m_bySearchMinRating = 0;
        pClub->m_nFundsMark = INT32_MAX;
        pClub->ClearTransferTargets();
        pClub->SearchTransferTargets();
        if (pClub->GetTransferTargetCount() > 0) {
            int32_t nPlayer = 0;  // the target record begins with the player
            std::memcpy(&nPlayer, pClub->GetTransferTarget(0)->abyData, sizeof(nPlayer));
            const CPlayerDatabase* pTarget = H().GetPlayerFromID(static_cast<ID_PLAYER>(nPlayer));
            ASSERT_NE(pTarget, nullptr);
            found.insert(pTarget->m_pClub->m_pCountry);
        }
    }
    EXPECT_EQ(static_cast<int>(found.size()), H().GetCountries().GetCount());
}

TEST_F(Markets, TheMonthsSearchesNoteTheSameTargetsThroughTheListsDigest)
{
    // Full lists: every third player of every club for a fee (some of them
    // beyond most clubs' means) and every fifth on loan.
    H().SetGameDate(CDate(TwoClubs().first->m_pCountry->GetSeasonStartDate().GetValue(), 7));
    int n = 0;
    for (CClubDatabase* pClub : Clubs())
        for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>()) {
            if (n % 3 == 0)
                H().AddPlayerToListMarket(p, (n % 4 == 0 ? 20000u : 900u) * static_cast<uint32_t>(n % 97 + 1),
                                          PLAYER_TRANSFER_LISTED, 30);
            else if (n % 5 == 0)
                H().AddPlayerToLoanMarket(p, 30);
            ++n;
        }
    ASSERT_GT(H().GetListMarket().GetCount(), 100);
    ASSERT_GT(H().GetLoanMarket().GetCount(), 50);
    // Every club's targets after the month's round of searches: through the
    // root's planning (with the digest) and club by club (without it), from
    // the same draws.
    const auto targets = [&](bool bDigest) {
        for (CClubDatabase* pClub : Clubs())
            pClub->ClearTransferTargets();
        plat::srand(4242);
        if (bDigest)
            H().DoClubsTransferPlanning(false, true);
        else
            for (CCountryDatabase* pCountry : H().GetCountries().Items<CCountryDatabase>())
                for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
                    for (CClubDatabase* pClub : pDivision->m_lstClubsByID.Items<CClubDatabase>())
                        pClub->ChooseTransferTargets();
        std::vector<std::vector<uint8_t>> noted;
        for (CClubDatabase* pClub : Clubs())
            for (int i = 0; i < pClub->GetTransferTargetCount(); ++i) {
                const CLUBTRANSFERTARGET* p = pClub->GetTransferTarget(i);
                noted.emplace_back(p->abyData, p->abyData + sizeof(p->abyData));
                noted.back().push_back(static_cast<uint8_t>(pClub->GetID()));
            }
        return noted;
    };
    const std::vector<std::vector<uint8_t>> withDigest = targets(true);
    EXPECT_GT(withDigest.size(), Clubs().size()) << "the lists gave targets";
    EXPECT_EQ(targets(false), withDigest);
    EXPECT_EQ(H().GetMarketDigest(), nullptr) << "the digest lasts for the round of searches only";
}

TEST_F(Markets, WeakestAreaPrefersAShortAreaAndSkipsAStrongSquad)
{
    CClubDatabase* pClub = TwoClubs().first;
    pClub->m_byAverageRating = 70;
    int anMeans[CLUB_POSITION_SLOTS];
    std::fill(anMeans, anMeans + CLUB_POSITION_SLOTS, 70);
    EXPECT_EQ(pClub->ChooseWeakestArea(70, anMeans), 16) << "every area above 80 % of the average";

    std::fill(pClub->m_abyPlayersByPosition, pClub->m_abyPlayersByPosition + CLUB_POSITION_SLOTS, 2);
    anMeans[14] = anMeans[15] = 40;  // area 7 rated lowest
    EXPECT_EQ(pClub->ChooseWeakestArea(70, anMeans), 0) << "two goalkeepers are below their minimum of three";
    pClub->m_abyPlayersByPosition[0] = 4;
    EXPECT_EQ(pClub->ChooseWeakestArea(70, anMeans), 14);
}

TEST_F(Markets, PoolsStartFullAndAreRefilled)
{
    EXPECT_EQ(H().GetUnemployedManagers().GetCount(), CDatabaseHandler::kManagerPoolSize);
    EXPECT_EQ(H().GetPoolManagerCount(), CDatabaseHandler::kManagerPoolSize);
    const int anExpected[6] = {20, 20, 10, 20, 20, 20};
    for (int nKind = 0; nKind < 6; ++nKind)
        EXPECT_EQ(H().GetStaffPoolCount(nKind), anExpected[nKind]) << "kind " << nKind;
    for (int nPosition = 0; nPosition < PLAYER_POSITION_COUNT; ++nPosition)
        EXPECT_EQ(H().GetYouthPoolCount(nPosition), CDatabaseHandler::kYouthPoolPerPosition);

    // Hiring the tenth of kind 2 leaves nine: refilled to ten. Kind 0 at 19 is left alone.
    CClubDatabase* pClub = TwoClubs().first;
    auto hireOne = [&](int nKind) {
        for (const void* pId : H().GetStaffPool().Items<void>()) {
            const auto id = static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(pId));
            if (H().GetStaffFromID(id)->m_byKind == nKind) {
                EXPECT_EQ(H().HireStaff(id, pClub), 0);
                EXPECT_TRUE(pClub->HasStaff(id));
                return;
            }
        }
        FAIL() << "no staff of kind " << nKind;
    };
    hireOne(2);
    EXPECT_EQ(H().GetStaffPoolCount(2), 10);
    hireOne(0);
    EXPECT_EQ(H().GetStaffPoolCount(0), 19);
    EXPECT_EQ(H().HireStaff(60000, pClub), 2);

    // A youth not in the pool is not hired and no count moves.
    CYouthDatabase* pYouth = H().GetFirstPoolYouth();
    ASSERT_NE(pYouth, nullptr);
    const int nPosition = pYouth->m_byPosition;
    EXPECT_TRUE(H().HireYouth(pYouth, pClub));
    EXPECT_EQ(H().GetYouthPoolCount(nPosition), CDatabaseHandler::kYouthPoolPerPosition - 1);
    EXPECT_FALSE(H().HireYouth(pYouth, pClub));
    EXPECT_EQ(H().GetYouthPoolCount(nPosition), CDatabaseHandler::kYouthPoolPerPosition - 1);
    H().TopUpYouthPool();
    EXPECT_EQ(H().GetYouthPoolCount(nPosition), CDatabaseHandler::kYouthPoolPerPosition);
}

TEST_F(Markets, StaffOfAKindAreWalkedOnceAndAHiredYouthIsReplacedInThePool)
{
    for (uint8_t byKind : {0, 2, 5}) {
        std::set<ID_STAFF> seen;
        int nCursor = 0;
        while (CStaffDatabase* pStaff = H().FindNextStaffByType(byKind, nCursor)) {
            EXPECT_EQ(pStaff->m_byKind, byKind);
            EXPECT_TRUE(seen.insert(pStaff->GetId()).second) << "each once";
            ASSERT_LE(static_cast<int>(seen.size()), H().GetStaffPool().GetCount());
        }
        EXPECT_EQ(static_cast<int>(seen.size()), H().GetStaffPoolCount(byKind)) << "kind " << int(byKind);
        EXPECT_EQ(H().FindNextStaffByType(byKind, nCursor), nullptr) << "the end stays the end";
    }

    CClubDatabase* pClub = TwoClubs().first;
    CYouthDatabase* pYouth = H().GetFirstPoolYouth();
    ASSERT_NE(pYouth, nullptr);
    const int nPosition = pYouth->m_byPosition;
    const int nYouths = pClub->m_lstYouths.GetCount();
    EXPECT_TRUE(H().HireYouthAndRegenerate(pYouth, pClub));
    EXPECT_EQ(pClub->m_lstYouths.GetCount(), nYouths + 1);
    EXPECT_EQ(H().GetYouthPoolCount(nPosition), CDatabaseHandler::kYouthPoolPerPosition) << "a new one in his place";
    EXPECT_FALSE(H().HireYouthAndRegenerate(pYouth, pClub)) << "no longer in the pool";
    EXPECT_EQ(H().GetYouthPoolCount(nPosition), CDatabaseHandler::kYouthPoolPerPosition);
}

TEST_F(Markets, AppointingAManagerSacksThePresentOneIntoThePool)
{
    CClubDatabase* pClub = TwoClubs().first;
    const ID_MANAGER idOld = pClub->m_wManagerId;
    ASSERT_NE(idOld, 0);
    CManagerDatabase* pNew = H().PickPoolManager();
    ASSERT_NE(pNew, nullptr);
    const ID_MANAGER idNew = pNew->GetId();
    H().DoJoinManagerToClub(idNew, pClub);
    EXPECT_EQ(pClub->m_wManagerId, idNew);
    EXPECT_EQ(H().GetManagerState(idNew), MANAGERSTATE_EMPLOYED);
    EXPECT_EQ(H().GetManagerState(idOld), MANAGERSTATE_POOL);
    EXPECT_EQ(pClub->GetManager()->m_pClub, pClub);
    EXPECT_EQ(H().GetUnemployedManagers().GetCount(), CDatabaseHandler::kManagerPoolSize);

    // Sacking him again changes nothing.
    H().SackManager(idOld, true);
    EXPECT_EQ(H().GetUnemployedManagers().GetCount(), CDatabaseHandler::kManagerPoolSize);

    // A club left without a manager is given one at the month's turn.
    H().SackManager(idNew, true);
    EXPECT_EQ(pClub->m_wManagerId, 0);
    H().FillManagerVacancies();
    EXPECT_NE(pClub->m_wManagerId, 0);
    ExpectIdentifiersResolve(H());
}

TEST_F(Markets, ABoardThatLostPatienceSacksAManagerWhoIsNotNewInTheJob)
{
    auto [pAngry, pPatient] = TwoClubs();
    const ID_MANAGER idAngry = pAngry->m_wManagerId;
    const ID_MANAGER idPatient = pPatient->m_wManagerId;
    pAngry->m_nBoardConfidence = 20;
    pPatient->m_nBoardConfidence = 60;
    H().SetGameDate(CDate(1999, 12, 1));  // both managers some months in the job
    H().ReviewManagers();
    EXPECT_EQ(H().GetManagerState(idAngry), MANAGERSTATE_POOL);
    EXPECT_EQ(pAngry->m_wManagerId, 0) << "the club searches first";
    ASSERT_NE(pAngry->m_pCountry->FindClubReview(pAngry, nullptr), nullptr);
    // Each search's end appoints a man of the pool who wants the job, or
    // searches again.
    for (int i = 0; i < 20 && pAngry->m_wManagerId == 0; ++i)
        pAngry->OnManagerSearchEvent();
    ASSERT_NE(pAngry->m_wManagerId, 0);
    EXPECT_NE(pAngry->m_wManagerId, idAngry);
    EXPECT_EQ(pPatient->m_wManagerId, idPatient);
    EXPECT_TRUE(pAngry->GetManager()->IsNewInJob());

    // The new man is given time even by an angry board.
    const ID_MANAGER idNew = pAngry->m_wManagerId;
    H().ReviewManagers();
    EXPECT_EQ(pAngry->m_wManagerId, idNew);
    ExpectIdentifiersResolve(H());
}

TEST_F(Markets, ContractsFollowPositionAndDivision)
{
    CClubDatabase* pTop = TwoClubs().first;
    CClubDatabase* pSecond = ClubElsewhere(pTop);
    ASSERT_NE(pSecond, nullptr);
    ASSERT_EQ(pTop->m_pDivision->m_byDivisionNumber, 1);
    ASSERT_EQ(pSecond->m_pDivision->m_byDivisionNumber, 2);
    CPlayerDatabase* pPlayer = FirstPlayer(pTop);
    const CDate today = H().GetGameDate();
    for (int nPosition = 0; nPosition < 4; ++nPosition) {
        pPlayer->m_byPosition = static_cast<uint8_t>(nPosition);
        for (int i = 0; i < 200; ++i) {
            PLAYERCONTRACT top, second;
            pPlayer->GenerateContract(top, pTop->m_pDivision, pTop, i % 2 == 0);
            pPlayer->GenerateContract(second, pSecond->m_pDivision, pSecond, false);
            if (nPosition == 0) {
                EXPECT_EQ(top.wClauses & 0x60, 0) << "a goalkeeper has no goal bonuses";
            }
            if (nPosition == 3) {
                EXPECT_EQ(top.wClauses & 0x180, 0) << "an attacker has no clean-sheet bonuses";
            }
            EXPECT_EQ(second.wClauses & 0x10, 0) << "top division only";
            if (second.wClauses & 0x08) {
                EXPECT_TRUE(second.adwBonus[0] % 1000 == 0 && second.adwBonus[0] <= 5000) << "halved amounts";
            }
            const CDate start(top.dwStartDate);
            EXPECT_EQ(start.GetDayOfWeek(), today.GetDayOfWeek());
            EXPECT_LE(today.DaysBetween(start), 48 * 7);
            const int nYears = CDate(top.dwEndDate).DaysBetween(today) / 364;
            EXPECT_TRUE(nYears >= 3 && nYears <= 6) << nYears;
        }
    }
}

TEST_F(Markets, TermsAreWorthLessPaidInManyInstalments)
{
    CClubDatabase* pClub = TwoClubs().first;
    CPlayerDatabase* pPlayer = FirstPlayer(pClub);
    pPlayer->m_dwValue = 100000;
    // instalments, amount, further amount, percentage -> worth
    struct Case {
        uint32_t n, dwInstalment, dwFurther, dwPercentage;
        int64_t nWorth;
    };
    const Case cases[] = {
        {1, 100000, 0, 0, 98000},             // one payment, nearly all of it
        {25, 4000, 0, 0, 50000},              // spread thin, half
        {10, 10000, 0, 0, 80000},
        {1, 100000, 100000, 100, 98000},      // a share counts only above his value in thousands
        {1, 100000, 200000, 101, 98000 + 202000},
    };
    for (const Case& c : cases) {
        uint32_t adwTerms[CBuyOfferDatabase::TERMS] = {};
        adwTerms[6] = c.dwInstalment;
        adwTerms[7] = c.dwFurther;
        adwTerms[8] = c.n | (c.n << 8) | (c.dwPercentage << 16);
        int64_t anParts[5] = {-1, -1, -1, -1, -1};
        EXPECT_EQ(pClub->EvaluateTransferTerms(pPlayer, adwTerms, anParts), c.nWorth) << c.n << " x " << c.dwInstalment;
        EXPECT_EQ(anParts[0] + anParts[1] + anParts[2] + anParts[3] + anParts[4], c.nWorth);
    }
    // A term pair against the division's payment figure, never negative and
    // nothing without a figure.
    EXPECT_EQ(CClubDatabase::ScaleTermFigure(75, 1000, 100, 100, 200), 340);
    EXPECT_EQ(CClubDatabase::ScaleTermFigure(75, 1000, 100, 25, 200), 85);
    EXPECT_EQ(CClubDatabase::ScaleTermFigure(75, 1000, 100, 100, 100), 0);
    EXPECT_EQ(CClubDatabase::ScaleTermFigure(75, 1000, 100, 100, 0), 0);
}

TEST_F(Markets, ABidInFewerInstalmentsBeatsTheSameSumSpreadThin)
{
    auto [pBuyer, pSeller] = TwoClubs();
    CPlayerDatabase* pPlayer = FirstPlayer(pSeller);
    pBuyer->m_nBankBalance = 50000000;
    uint32_t adwAsking[CBuyOfferDatabase::TERMS];
    pSeller->BuildAskingTerms(adwAsking, pPlayer);
    const int64_t nFigure = pSeller->EvaluateTransferTerms(pPlayer, adwAsking, nullptr) *
                            pSeller->GetBuyAcceptancePercent(pPlayer, nullptr) / 100;
    ASSERT_GT(nFigure, 0);
    // The same sum, once in one payment and once in 25.
    const int64_t nSum = nFigure * 100 / 98 + 100;  // just over the figure when paid at once
    auto answer = [&](uint32_t n) {
        CBuyOfferDatabase offer;
        offer.SetPlayerID(pPlayer->m_idPerson);
        offer.SetBiddingClubID(pBuyer->GetID());
        offer.SetValue100(static_cast<uint32_t>(nSum));
        offer.SetTerm(6, static_cast<uint32_t>(nSum / n));
        offer.SetTerm(8, n | (n << 8));
        return pSeller->NegotiateBuyTransfer(&offer);
    };
    EXPECT_GT(answer(1), 0) << "accepted paid at once";
    EXPECT_EQ(answer(25), 0) << "refused spread over 25 instalments";
}

TEST_F(Markets, ExpiringContractsAreRenewedUnlessThePlayerIsMoving)
{
    auto [pClub, pBidder] = TwoClubs();
    std::vector<CPlayerDatabase*> players;
    for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>())
        if (p->m_byTransferState == 0 && players.size() < 4)
            players.push_back(p);
    ASSERT_EQ(players.size(), 4u);
    CPlayerDatabase* pOld = players[0];      // past his best, contract run out
    CPlayerDatabase* pEnding = players[1];   // ten weeks left
    CPlayerDatabase* pLater = players[2];    // eleven weeks left: not yet
    CPlayerDatabase* pWanted = players[3];   // ending, but bid for
    pOld->m_DateOfBirth.wYear = 1960;
    const CDate today = H().GetGameDate();
    pOld->m_Contract.dwEndDate = CDate(today.GetValue(), -1).GetValue();
    pEnding->m_Contract.dwEndDate = CDate(today.GetValue(), 70).GetValue();
    pLater->m_Contract.dwEndDate = CDate(today.GetValue(), 77).GetValue();
    pWanted->m_Contract.dwEndDate = CDate(today.GetValue(), 14).GetValue();
    pBidder->m_nBankBalance = 50000000;
    uint32_t adwTerms[CBuyOfferDatabase::TERMS];
    pClub->BuildAskingTerms(adwTerms, pWanted);
    ASSERT_EQ(H().MakeBuyOfferToClub(pWanted, pBidder, CClubDatabase::GetTermsTotal(adwTerms), adwTerms, 0, 0), 0);

    pClub->RenewExpiringContracts();
    EXPECT_GE(pOld->GetContractTimeLeft(0), 52) << "an old player is kept, not let go";
    EXPECT_EQ(pOld->m_byTransferState, 0);
    EXPECT_GE(pEnding->GetContractTimeLeft(0), 52);
    EXPECT_EQ(pLater->GetContractTimeLeft(0), 11) << "renewed only in the last ten weeks";
    EXPECT_EQ(pWanted->GetContractTimeLeft(0), 2) << "not renewed while another club bids for him";
}

TEST_F(Markets, AReleasedPlayerIsBidForAndJoinsForNothing)
{
    auto [pBuyer, pSeller] = TwoClubs();
    CPlayerDatabase* pPlayer = FirstPlayer(pSeller);
    const ID_PLAYER id = pPlayer->m_idPerson;
    pBuyer->m_nBankBalance = 5000000;
    const int32_t nSellerBefore = pSeller->m_nBankBalance;
    ASSERT_EQ(H().AddPlayerToListMarket(pPlayer, 0, PLAYER_TRANSFER_LEAVING, 0), 0);
    ASSERT_TRUE(pBuyer->NoteTransferTarget(pPlayer, pPlayer->m_byRole, pSeller->GetID(), false));

    // His club asks nothing, so the bid is one of nothing.
    pBuyer->MakeTargetBids();
    CBuyOfferDatabase* pOffer = H().GetBuyOffer(id, pBuyer->GetID());
    ASSERT_NE(pOffer, nullptr) << "a free player is bid for";
    EXPECT_EQ(pOffer->GetValue100(), 0u);
    RunEvent(pPlayer->m_pCountry, 5, id);
    RunEvent(pPlayer->m_pCountry, 8, id);
    RunEvent(pBuyer->m_pCountry, 14, pOffer->GetOfferID());

    EXPECT_EQ(pPlayer->m_pClub, pBuyer);
    EXPECT_EQ(pPlayer->m_byTransferState, 0);
    EXPECT_EQ(pBuyer->m_nBankBalance, 5000000);
    EXPECT_EQ(pSeller->m_nBankBalance, nSellerBefore);
    const CXList& records = pSeller->m_pDivision->m_lstSeasonTransfers;
    ASSERT_FALSE(records.IsEmpty());
    const TRANSFERHISTORYVALUES& record = static_cast<CTransferHistoryEntry*>(records.GetTail()->pData)->Get();
    EXPECT_EQ(record.dwValue0, id);
    EXPECT_EQ(record.dwValue1, 0u);
}

TEST_F(Markets, APlayerGivenInExchangeMovesWithoutAFeeIntoBothDivisionsRecords)
{
    CClubDatabase* pOffering = TwoClubs().first;
    CClubDatabase* pReceiver = ClubElsewhere(pOffering);
    ASSERT_NE(pReceiver, nullptr);
    CPlayerDatabase* pPlayer = FirstPlayer(pOffering);
    ASSERT_EQ(H().AddPlayerToListMarket(pPlayer, 1000, PLAYER_TRANSFER_LISTED, 30), 0);
    const int nOffering = pOffering->m_nPlayerCount, nReceiving = pReceiver->m_nPlayerCount;
    const int32_t nBalances = pOffering->m_nBankBalance + pReceiver->m_nBankBalance;

    // Not his club's to give: nothing moves.
    std::vector<std::string> lines;
    SetDebugLogSink([&](int, const std::string& line) { lines.push_back(line); });
    EXPECT_FALSE(H().TransferPlayerExchange(pPlayer, pReceiver, pOffering));
    SetDebugLogSink(nullptr);
    EXPECT_EQ(pPlayer->m_pClub, pOffering);
    EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                           [](const std::string& l) {
                               return l.find("does not belong to the club that made the offer") != std::string::npos;
                           }),
              lines.end());

    ASSERT_TRUE(H().TransferPlayerExchange(pPlayer, pOffering, pReceiver));
    EXPECT_EQ(pPlayer->m_pClub, pReceiver);
    EXPECT_EQ(pPlayer->m_byTransferState, 0);
    EXPECT_EQ(H().FindListMarketEntry(pPlayer->m_idPerson), nullptr);
    EXPECT_EQ(pOffering->m_nPlayerCount, nOffering - 1);
    EXPECT_EQ(pReceiver->m_nPlayerCount, nReceiving + 1);
    EXPECT_EQ(pOffering->m_nBankBalance + pReceiver->m_nBankBalance, nBalances);
    for (const CDivisionDatabase* pDivision : {pOffering->m_pDivision, pReceiver->m_pDivision}) {
        ASSERT_FALSE(pDivision->m_lstSeasonTransfers.IsEmpty());
        const TRANSFERHISTORYVALUES& record =
            static_cast<CTransferHistoryEntry*>(pDivision->m_lstSeasonTransfers.GetTail()->pData)->Get();
        EXPECT_EQ(record.dwValue0, pPlayer->m_idPerson);
        EXPECT_EQ(record.dwValue1, 0u);
        EXPECT_EQ(record.wValue0, pOffering->GetID());
        EXPECT_EQ(record.wValue1, pReceiver->GetID());
        EXPECT_EQ(record.byValue, 4);
    }
    ExpectIdentifiersResolve(H());
}

TEST_F(Markets, AClubsOwnPlayerIsOfferedANewContractWithoutAFeeAndSignsItWhenHeTakesIt)
{
    CClubDatabase* pClub = TwoClubs().first;
    CPlayerDatabase* pPlayer = FirstPlayer(pClub);
    const ID_PLAYER id = pPlayer->m_idPerson;
    uint32_t adwTerms[CBuyOfferDatabase::TERMS];
    std::fill(std::begin(adwTerms), std::end(adwTerms), 7u);
    ASSERT_EQ(H().MakeBuyOfferToClub(pPlayer, pClub, 5000000, adwTerms, 0, 0), 0);
    EXPECT_EQ(H().MakeBuyOfferToClub(pPlayer, pClub, 0, nullptr, 0, 0), 2) << "one offer at a time";
    CBuyOfferDatabase* pOffer = H().GetBuyOffer(id, pClub->GetID());
    ASSERT_NE(pOffer, nullptr);
    EXPECT_EQ(pOffer->GetValue100(), 0u) << "no fee between a club and itself";
    for (int i = 0; i < CBuyOfferDatabase::TERMS; ++i)
        EXPECT_EQ(pOffer->GetTerm(i), 0u) << "term " << i;
    EXPECT_EQ(pOffer->GetFlags() & (BUYOFFER_ANSWERED | BUYOFFER_CONTRACT_PROPOSED), BUYOFFER_ANSWERED);
    EXPECT_EQ(pOffer->GetClubAnswer(), 0);
    EXPECT_EQ(pPlayer->m_pCountry->FindEvent(5, id), nullptr) << "no club to ask";

    PLAYERCONTRACT contract = pPlayer->m_Contract;
    contract.dwYearlyWage = pPlayer->m_Contract.dwYearlyWage * 2 + 52000;
    contract.dwEndDate = CDate(H().GetGameDate().GetValue(), 4 * 365).GetValue();
    ASSERT_EQ(H().MakeOfferToPlayer(id, pClub->GetID(), contract), 0);
    RunEvent(pPlayer->m_pCountry, 8, id);
    RunEvent(pClub->m_pCountry, 14, pOffer->GetOfferID());
    EXPECT_EQ(pPlayer->m_pClub, pClub);
    EXPECT_EQ(pPlayer->m_Contract.dwYearlyWage, contract.dwYearlyWage);
    EXPECT_EQ(pPlayer->m_Contract.dwEndDate, contract.dwEndDate);
    EXPECT_EQ(H().GetBuyOffer(id, pClub->GetID()), nullptr);
    EXPECT_EQ(H().CountOpenBuyOffers(id), 0);
    ExpectIdentifiersResolve(H());
}

TEST_F(Markets, APlayerNotForSaleOrJustBoughtIsBidForOnlyAtHisAskingPrice)
{
    auto [pBuyer, pSeller] = TwoClubs();
    CPlayerDatabase* pPlayer = FirstPlayer(pSeller);
    pBuyer->m_nBankBalance = 50000000;
    pPlayer->m_dwAskingPrice = 200000;
    for (const uint32_t dwFlag : {PLAYER_FLAG_NOT_FOR_SALE, PLAYER_FLAG_NEWLY_SIGNED}) {
        SCOPED_TRACE(dwFlag);
        pPlayer->m_dwFlags |= dwFlag;
        EXPECT_EQ(H().MakeBuyOfferToClub(pPlayer, pBuyer, 199999, nullptr, 0, 0), 2);
        ASSERT_EQ(H().MakeBuyOfferToClub(pPlayer, pBuyer, 200000, nullptr, 0, 0), 0);
        ASSERT_EQ(H().WithdrawBuyOffer(pPlayer->m_idPerson, pBuyer->GetID(), false), 0);
        pPlayer->m_dwFlags &= ~dwFlag;
    }
    EXPECT_EQ(H().MakeBuyOfferToClub(pPlayer, pBuyer, 199999, nullptr, 0, 0), 0) << "a player for sale";
}

TEST_F(Markets, ThePlayerOfferedInExchangeGoesToTheSellerWhenTheMoveCompletes)
{
    auto [pBuyer, pSeller] = TwoClubs();
    CPlayerDatabase* pPlayer = FirstPlayer(pSeller);
    CPlayerDatabase* pExchange = FirstPlayer(pBuyer);
    pBuyer->m_nBankBalance = 50000000;
    uint32_t adwTerms[CBuyOfferDatabase::TERMS];
    pSeller->BuildAskingTerms(adwTerms, pPlayer);
    const int32_t nFee = CClubDatabase::GetTermsTotal(adwTerms) * 2;
    ASSERT_EQ(H().MakeBuyOfferToClub(pPlayer, pBuyer, nFee, adwTerms, pExchange->m_idPerson, 0), 0);
    CBuyOfferDatabase* pOffer = H().GetBuyOffer(pPlayer->m_idPerson, pBuyer->GetID());
    ASSERT_NE(pOffer, nullptr);
    EXPECT_EQ(pOffer->GetExchangePlayerID(), pExchange->m_idPerson);
    RunEvent(pPlayer->m_pCountry, 5, pPlayer->m_idPerson);
    RunEvent(pPlayer->m_pCountry, 8, pPlayer->m_idPerson);
    RunEvent(pBuyer->m_pCountry, 14, pOffer->GetOfferID());
    EXPECT_EQ(pPlayer->m_pClub, pBuyer);
    EXPECT_EQ(pExchange->m_pClub, pSeller);
    ExpectIdentifiersResolve(H());
}

TEST_F(Markets, AContractPutToThePlayerIsAnsweredWithinAWeek)
{
    auto [pBuyer, pSeller] = TwoClubs();
    CPlayerDatabase* pPlayer = FirstPlayer(pSeller);
    const ID_PLAYER id = pPlayer->m_idPerson;
    PLAYERCONTRACT contract;
    pPlayer->GenerateContract(contract, pBuyer->m_pDivision, pBuyer, false);
    contract.dwYearlyWage = 123456;
    EXPECT_EQ(H().MakeOfferToPlayer(id, pBuyer->GetID(), contract), 2) << "no bid, nothing to put";

    pBuyer->m_nBankBalance = 50000000;
    uint32_t adwTerms[CBuyOfferDatabase::TERMS];
    pSeller->BuildAskingTerms(adwTerms, pPlayer);
    ASSERT_EQ(H().MakeBuyOfferToClub(pPlayer, pBuyer, CClubDatabase::GetTermsTotal(adwTerms), adwTerms, 0, 0), 0);
    CBuyOfferDatabase* pOffer = H().GetBuyOffer(id, pBuyer->GetID());
    ASSERT_NE(pOffer, nullptr);
    pOffer->SetFlags(static_cast<uint16_t>(pOffer->GetFlags() | 0x08 | 0x100));
    ASSERT_EQ(H().MakeOfferToPlayer(id, pBuyer->GetID(), contract), 0);
    ASSERT_EQ(H().MakeOfferToPlayer(id, pBuyer->GetID(), contract), 0);
    EXPECT_EQ(pOffer->GetFlags() & (0x04 | 0x08 | 0x100), 0x04);
    uint32_t adwWords[CBuyOfferDatabase::CONTRACT_WORDS];
    for (int i = 0; i < CBuyOfferDatabase::CONTRACT_WORDS; ++i)
        adwWords[i] = pOffer->GetContractWord(i);
    PLAYERCONTRACT kept;
    CPlayerDatabase::UnpackContract(adwWords, kept);
    EXPECT_EQ(kept.dwYearlyWage, 123456u);
    // One answer, a week on, however often the contract is put.
    int nEvents = 0;
    for (const CEventsDatabase* p : pPlayer->m_pCountry->GetEvents().Items<CEventsDatabase>())
        if (p->GetType() == 8 && p->GetDataID() == id) {
            ++nEvents;
            EXPECT_EQ(p->GetDate(), CDate(H().GetGameDate().GetValue(), 7));
        }
    EXPECT_EQ(nEvents, 1);
}

TEST_F(Markets, SquadAndMoneyRulesRefuseTheMovesAClubCannotMake)
{
    auto [pA, pB] = TwoClubs();
    CClubDatabase* pElsewhere = ClubElsewhere(pA);
    ASSERT_NE(pElsewhere, nullptr);
    CPlayerDatabase* pOfA = FirstPlayer(pA);
    CPlayerDatabase* pOfB = FirstPlayer(pB);
    pA->m_nBankBalance = 1000;
    ASSERT_TRUE(pA->NoteTransferTarget(pOfB, pOfB->m_byRole, pB->GetID(), false));
    EXPECT_TRUE(pA->MustRefusePurchase(pOfB, 1001, nullptr)) << "more than the club has";
    EXPECT_FALSE(pA->HasTransferTarget(pOfB->m_idPerson)) << "a target it cannot buy is dropped";
    EXPECT_FALSE(pA->MustRefusePurchase(pOfB, 1000, nullptr));

    const int nSquad = pA->m_nPlayerCount;
    ASSERT_GE(nSquad, 19);
    EXPECT_FALSE(pA->MustRefuseSale(pOfA, 1, nullptr, false));
    EXPECT_FALSE(pA->MustRefuseLoanOut(pOfA, nullptr));
    pA->m_nPlayerCount = 18;  // a squad too short to let anybody go
    EXPECT_TRUE(pA->MustRefuseSale(pOfA, 1, nullptr, false));
    EXPECT_TRUE(pA->MustRefuseLoanOut(pOfA, nullptr));
    EXPECT_EQ(H().TransferPlayerLoan(pOfA, pElsewhere->GetID(), true, 28), 2);
    EXPECT_EQ(pOfA->m_byTransferState, 0);
    pA->m_nPlayerCount = nSquad;

    const int nLoansIn = pElsewhere->m_nLoanInCount;
    pElsewhere->m_nLoanInCount = CLUB_SQUAD_LIMIT - pElsewhere->m_nPlayerCount;
    EXPECT_TRUE(pElsewhere->MustRefuseLoanIn(pOfA, nullptr)) << "a full squad borrows nobody";
    pElsewhere->m_nLoanInCount = nLoansIn;
    EXPECT_FALSE(pElsewhere->MustRefuseLoanIn(pOfA, nullptr));
    pElsewhere->m_bySeasonLoans = 4;  // more than a season allows
    EXPECT_TRUE(pElsewhere->MustRefuseLoanIn(pOfA, nullptr)) << "a club that has taken its season's loans";
    EXPECT_EQ(H().TransferPlayerLoan(pOfA, pElsewhere->GetID(), true, 28), 2);
    pElsewhere->m_bySeasonLoans = 3;
    EXPECT_FALSE(pElsewhere->MustRefuseLoanIn(pOfA, nullptr));
}

TEST_F(Markets, AMoveAgreedWhileTheSquadHadRoomIsNotCompletedIntoAFullSquad)
{
    auto [pBuyer, pSeller] = TwoClubs();
    CPlayerDatabase* pPlayer = FirstPlayer(pSeller);
    const ID_PLAYER id = pPlayer->m_idPerson;
    pBuyer->m_nBankBalance = 50000000;
    uint32_t adwTerms[CBuyOfferDatabase::TERMS];
    pSeller->BuildAskingTerms(adwTerms, pPlayer);
    ASSERT_EQ(H().MakeBuyOfferToClub(pPlayer, pBuyer, CClubDatabase::GetTermsTotal(adwTerms) * 2, adwTerms, 0, 0), 0);
    RunEvent(pPlayer->m_pCountry, 5, id);
    RunEvent(pPlayer->m_pCountry, 8, id);
    CBuyOfferDatabase* pOffer = H().GetBuyOffer(id, pBuyer->GetID());
    ASSERT_NE(pOffer, nullptr);
    // Other players of the same day's market fill the squad before this move completes.
    pBuyer->m_nLoanInCount = CLUB_SQUAD_LIMIT - pBuyer->m_nPlayerCount;
    const int nSquad = pBuyer->m_nPlayerCount;
    RunEvent(pBuyer->m_pCountry, 14, pOffer->GetOfferID());
    EXPECT_EQ(pPlayer->m_pClub, pSeller);
    EXPECT_EQ(pBuyer->m_nPlayerCount, nSquad);
    ExpectIdentifiersResolve(H());
}

TEST_F(Markets, ABidThatEndsWithoutTheMoveIsMadeAgainHigherUntilTheClubGivesUp)
{
    auto [pBuyer, pSeller] = TwoClubs();
    CPlayerDatabase* pPlayer = FirstPlayer(pSeller);
    const ID_PLAYER id = pPlayer->m_idPerson;
    pBuyer->m_nBankBalance = 50000000;
    ASSERT_TRUE(pBuyer->NoteTransferTarget(pPlayer, pPlayer->m_byRole, pSeller->GetID(), false));
    int64_t nLastBid = 0;
    for (int nAttempt = 1; nAttempt <= 4; ++nAttempt) {
        pBuyer->MakeTargetBids();
        CBuyOfferDatabase* pOffer = H().GetBuyOffer(id, pBuyer->GetID());
        ASSERT_NE(pOffer, nullptr) << "bid " << nAttempt;
        EXPECT_GT(static_cast<int64_t>(pOffer->GetValue100()), nLastBid) << "each bid higher than the last";
        nLastBid = pOffer->GetValue100();
        pBuyer->MakeTargetBids();
        EXPECT_EQ(H().GetBuyOffer(id, pBuyer->GetID()), pOffer) << "no second bid while one is open";
        ASSERT_EQ(H().WithdrawBuyOffer(id, pBuyer->GetID(), false), 0);
        pBuyer->CheckTransferTargets();
        if (nAttempt < 4)
            EXPECT_TRUE(pBuyer->HasTransferTarget(id)) << "still wanted after bid " << nAttempt;
    }
    EXPECT_FALSE(pBuyer->HasTransferTarget(id)) << "dropped after four bids";
}

TEST_F(Markets, ALoanOfferThatEndsWithoutTheLoanIsMadeAgain)
{
    CClubDatabase* pClub = TwoClubs().first;
    CClubDatabase* pLender = ClubElsewhere(pClub);
    ASSERT_NE(pLender, nullptr);
    CPlayerDatabase* pPlayer = FirstPlayer(pLender);
    const ID_PLAYER id = pPlayer->m_idPerson;
    // Eight weeks into the season, so that a loan has a span to run.
    H().SetGameDate(CDate(pClub->m_pCountry->GetSeasonStartDate().GetValue(), 56));
    ASSERT_TRUE(pClub->NoteTransferTarget(pPlayer, pPlayer->m_byRole, pLender->GetID(), true));
    pClub->MakeTargetOffers();
    ASSERT_NE(H().GetLoanOffer(id, pClub->GetID()), nullptr);
    ASSERT_EQ(H().WithdrawLoanOffer(id, pClub->GetID(), false), 0);
    pClub->MakeTargetOffers();
    EXPECT_EQ(H().GetLoanOffer(id, pClub->GetID()), nullptr) << "not before the week's check";
    pClub->CheckTransferTargets();
    pClub->MakeTargetOffers();
    EXPECT_NE(H().GetLoanOffer(id, pClub->GetID()), nullptr) << "offered again";
}

TEST_F(Markets, AMonthOfTheWorldMakesTransfersAndStaysSaveable)
{
    std::map<ID_PLAYER, ID_CLUB> before;
    for (CClubDatabase* pClub : Clubs())
        for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>())
            before[p->m_idPerson] = pClub->GetID();
    RunDays(31);

    int nMoved = 0, nLoans = 0;
    for (CClubDatabase* pClub : Clubs()) {
        nLoans += pClub->m_nLoanInCount;
        for (CPlayerDatabase* p : pClub->m_lstPlayers.Items<CPlayerDatabase>())
            nMoved += before.count(p->m_idPerson) && before[p->m_idPerson] != pClub->GetID();
    }
    EXPECT_GT(nMoved, 0) << "computer clubs bought players";
    int nFeeListed = 0;
    for (const CListMarketEntry* p : H().GetListMarket().Items<CListMarketEntry>())
        nFeeListed += H().GetPlayerFromID(p->GetPlayerID())->m_byTransferState == PLAYER_TRANSFER_LISTED;
    EXPECT_GT(nFeeListed, 0) << "clubs put surplus players on the list";
    ExpectIdentifiersResolve(H());
    RecordProperty("moved", nMoved);
    RecordProperty("loans", nLoans);
    RecordProperty("listed", H().GetListMarket().GetCount() + H().GetLoanMarket().GetCount());

    FILE* pOut = std::fopen("month.bin", "wb");
    ASSERT_NE(pOut, nullptr);
    ASSERT_TRUE(H().Save(pOut));
    std::fclose(pOut);
    const std::string saved = ReadFile("month.bin");
    m_handler.reset();

    CDatabaseHandler again;
    FILE* pIn = std::fopen("month.bin", "rb");
    ASSERT_NE(pIn, nullptr);
    ASSERT_TRUE(again.Load(pIn));
    std::fclose(pIn);
    again.SetupPointers();
    ExpectIdentifiersResolve(again);
    EXPECT_EQ(again.GetUnemployedManagers().GetCount(), again.GetPoolManagerCount());
    FILE* pResave = std::fopen("month2.bin", "wb");
    ASSERT_NE(pResave, nullptr);
    ASSERT_TRUE(again.Save(pResave));
    std::fclose(pResave);
    EXPECT_EQ(ReadFile("month2.bin"), saved) << "saving the reloaded world gives the same bytes";
}

}  // namespace
