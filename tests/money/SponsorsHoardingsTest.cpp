// A human club's sponsors and hoardings: contracts that pay and end, offers
// that never repeat an id, boards that take only their rows, and their
// sections of the .sav body read back byte for byte or refused.
#include "../humans/HumanWorld.h"

#include "common/CBinaryFile.h"
#include "database/CEventsDatabase.h"
#include "season/CHoardingsManager.h"
#include "season/CNewspaperManager.h"
#include "season/CNoticeList.h"
#include "season/CRangeTable.h"
#include "season/CSponsorManager.h"

#include <set>
#include <vector>

namespace {

using humans_test::HumanWorld;

SPONSOR* FirstOffer(CSponsorManager& sponsors, int nType)
{
    const CXList& offers = sponsors.GetOffers(nType);
    return offers.IsEmpty() ? nullptr : static_cast<SPONSOR*>(offers.GetHead()->pData);
}

int32_t MonthIncome(const CSaveGame& human, int nCategory)
{
    return human.GetMonthEntry(nCategory).nIncome;
}

TEST_F(HumanWorld, ABoardSponsorWithOnePaymentLeftPaysOnceMoreAndGoes)
{
    CSponsorManager& sponsors = m_pHuman->GetSponsors();
    m_pClub->m_bySupportLevel = m_pClub->m_byReputation = 95;  // band 9: always board offers
    sponsors.ResetOffers();
    SPONSOR* pBoard = FirstOffer(sponsors, SPONSORFOR_BOARD);
    ASSERT_NE(pBoard, nullptr);
    pBoard->nTerm = 1;
    const int32_t nAmount = static_cast<int32_t>(pBoard->dwAmount);
    sponsors.AcceptSponsorOffer(pBoard, SPONSORFOR_BOARD, 0);
    ASSERT_EQ(sponsors.GetBoardQueue(0).GetCount(), 1);

    const int32_t nBefore = MonthIncome(*m_pHuman, CSponsorManager::CATEGORY_BOARDS);
    sponsors.DailyStep();  // the queue's head takes the slot
    EXPECT_EQ(sponsors.GetCurrentBoard(0), pBoard);
    EXPECT_EQ(MonthIncome(*m_pHuman, CSponsorManager::CATEGORY_BOARDS), nBefore);
    sponsors.DailyStep();  // its last payment
    EXPECT_EQ(MonthIncome(*m_pHuman, CSponsorManager::CATEGORY_BOARDS), nBefore + nAmount);
    EXPECT_EQ(sponsors.GetCurrentBoard(0), nullptr);
    sponsors.DailyStep();
    EXPECT_EQ(MonthIncome(*m_pHuman, CSponsorManager::CATEGORY_BOARDS), nBefore + nAmount);
}

TEST_F(HumanWorld, NewOffersNeverRepeatAnIdOnOffer)
{
    CSponsorManager& sponsors = m_pHuman->GetSponsors();
    m_pClub->m_bySupportLevel = m_pClub->m_byReputation = 120;  // a rating of 100 or more is band 9
    sponsors.ResetOffers();
    for (int nRound = 0; nRound < 6; ++nRound)
        sponsors.RenewOffers();
    for (int nType = 0; nType < CSponsorManager::TYPES; ++nType) {
        std::set<int> ids;
        for (const SPONSOR* p : sponsors.GetOffers(nType).Items<SPONSOR>()) {
            EXPECT_TRUE(ids.insert(p->byId).second) << "type " << nType << " offers id " << int(p->byId) << " twice";
            EXPECT_GE(p->byId, 1);
            EXPECT_LE(p->byId, CSponsorManager::HIGHEST_ID);
            // The money is the table's, for band 9 and the id's column, rounded.
            const RANGE range = CSponsorManager::GetTable(nType).Get(9, 0, p->byId / 10);
            EXPECT_GE(p->dwAmount, static_cast<uint32_t>(CDatabaseHandler::RoundMoneyValue(range.nMin)));
            EXPECT_LE(p->dwAmount, static_cast<uint32_t>(range.nMax));
        }
        EXPECT_FALSE(ids.empty()) << "a band-9 club has offers of type " << nType;
    }
}

TEST_F(HumanWorld, AKitDealInItsLastYearProjectsItsSuccessor)
{
    CSponsorManager& sponsors = m_pHuman->GetSponsors();
    m_pClub->m_bySupportLevel = m_pClub->m_byReputation = 95;
    sponsors.ResetOffers();
    while (sponsors.GetOffers(SPONSORFOR_KIT).GetCount() < 2)
        sponsors.GenerateOffers(SPONSORFOR_KIT);
    SPONSOR* pFirst = FirstOffer(sponsors, SPONSORFOR_KIT);
    sponsors.AcceptSponsorOffer(pFirst, SPONSORFOR_KIT, 0);
    const int32_t nBefore = MonthIncome(*m_pHuman, CSponsorManager::CATEGORY_KIT);
    sponsors.DailyStep();  // the signed sponsor starts and pays its first year
    ASSERT_EQ(sponsors.GetCurrentKit(), pFirst);
    EXPECT_EQ(MonthIncome(*m_pHuman, CSponsorManager::CATEGORY_KIT), nBefore + static_cast<int32_t>(pFirst->dwAmount));
    const CEventsDatabase* pYear = m_pClub->GetCountry()->FindEvent(CSponsorManager::EVENT_KIT_YEAR, m_pClub->GetID());
    ASSERT_NE(pYear, nullptr) << "the contract's anniversary is booked";
    const int nMonth = pYear->GetDate().GetMonth();
    const int nYear = pYear->GetDate().GetYear();

    SPONSOR* pNext = FirstOffer(sponsors, SPONSORFOR_KIT);
    sponsors.AcceptSponsorOffer(pNext, SPONSORFOR_KIT, 0);
    pFirst->nTerm = 2;
    EXPECT_EQ(sponsors.GetProjectedIncoming(SPONSORFOR_KIT, nMonth, nYear), static_cast<int32_t>(pFirst->dwAmount));
    pFirst->nTerm = 1;
    EXPECT_EQ(sponsors.GetProjectedIncoming(SPONSORFOR_KIT, nMonth, nYear), static_cast<int32_t>(pNext->dwAmount));
    EXPECT_EQ(sponsors.GetProjectedIncoming(SPONSORFOR_KIT, nMonth % 12 + 1, nYear), 0) << "other months get nothing";

    // The last year runs out: the place empties and the successor starts.
    sponsors.ContractYearElapsed(2);
    EXPECT_EQ(sponsors.GetCurrentKit(), nullptr);
    sponsors.DailyStep();
    EXPECT_EQ(sponsors.GetCurrentKit(), pNext);
}

TEST_F(HumanWorld, SponsorAndHoardingSectionsReadBackByteForByteAndRefuseDamage)
{
    m_pHuman->SetDelegation(4, 1);
    m_pHuman->SetDelegation(5, 1);
    m_pClub->m_bySupportLevel = m_pClub->m_byReputation = 80;
    m_pHuman->GetSponsors().ResetOffers();
    m_pHuman->GetHoardings().GenerateOffers();
    for (int i = 0; i < 3; ++i) {
        m_pHuman->GetSponsors().DailyStep();
        m_pHuman->GetHoardings().DailyStep();
    }
    ASSERT_NE(m_pHuman->GetSponsors().GetCurrentShirt(), nullptr);
    ASSERT_GT(m_pHuman->GetHoardings().GetTotalIncome(), 0);

    std::vector<uint8_t> bytes;
    CBinaryWriter writer(bytes);
    ASSERT_TRUE(m_pHuman->GetSponsors().Save(writer));
    const size_t nSponsorBytes = bytes.size();
    ASSERT_TRUE(m_pHuman->GetHoardings().Save(writer));

    CSponsorManager sponsors(m_pHuman);
    CHoardingsManager hoardings(m_pHuman);
    CBinaryReader reader(bytes);
    ASSERT_TRUE(sponsors.Load(reader));
    ASSERT_TRUE(hoardings.Load(reader));
    EXPECT_EQ(reader.Remaining(), 0);
    std::vector<uint8_t> again;
    CBinaryWriter second(again);
    sponsors.Save(second);
    hoardings.Save(second);
    EXPECT_EQ(again, bytes);

    // A kit offer list of one sponsor whose id is 0, a board whose
    // advertiser id is 60, a cut section.
    std::vector<uint8_t> badSponsor = bytes;
    badSponsor[0] = 1;
    badSponsor[1] = badSponsor[2] = badSponsor[3] = 0;
    badSponsor[4] = 0;
    CBinaryReader badReader(badSponsor);
    EXPECT_FALSE(sponsors.Load(badReader));
    EXPECT_TRUE(sponsors.GetOffers(SPONSORFOR_KIT).IsEmpty()) << "a refused section leaves nothing behind";
    EXPECT_EQ(sponsors.GetCurrentShirt(), nullptr);

    const std::vector<uint8_t> hoardBytes(bytes.begin() + static_cast<std::ptrdiff_t>(nSponsorBytes), bytes.end());
    std::vector<uint8_t> badBoard = hoardBytes;
    badBoard[badBoard.size() - 8 + 4] = 60;  // the last board's advertiser id
    CBinaryReader boardReader(badBoard);
    EXPECT_FALSE(hoardings.Load(boardReader));
    EXPECT_EQ(hoardings.GetTotalIncome(), 0);
    const std::vector<uint8_t> cut(hoardBytes.begin(), hoardBytes.end() - 3);
    CBinaryReader cutReader(cut);
    EXPECT_FALSE(hoardings.Load(cutReader));
}

TEST_F(HumanWorld, BoardsPayTheirLastPaymentKeepToTheirRowsAndEmptyBoardsRaiseNews)
{
    CHoardingsManager& hoardings = m_pHuman->GetHoardings();
    m_pClub->m_byGroundOwnership = 1;
    if (m_pClub->m_awStaffSlots[3][0] == 0)
        m_pClub->m_awStaffSlots[3][0] = 1;
    m_pHuman->SetDelegation(5, 0);
    hoardings.RemoveAll();
    hoardings.Reset();

    // All 42 empty: news 234, never 233.
    int nPaid = -1;
    EXPECT_EQ(hoardings.CollectIncome(&nPaid), 0);
    EXPECT_EQ(nPaid, 0);
    EXPECT_NE(m_pHuman->GetNews().FindIncoming(234), nullptr);
    EXPECT_EQ(m_pHuman->GetNews().FindIncoming(233), nullptr);

    // Id 12 takes only the long rows (directions 2 and 3), even when asked for both.
    ADVERTISER offer;
    offer.byId = 12;
    offer.byPayments = 1;
    offer.byBoardsWanted = 30;
    offer.dwAmount = 700;
    offer.byShortRows = 0;
    offer.byLongRows = 1;
    hoardings.AddOffer(offer);
    ADVERTISER* pOffer = hoardings.FindOffer(12);
    ASSERT_NE(pOffer, nullptr);
    EXPECT_EQ(hoardings.FindBestOffer(42, 3), nullptr) << "it does not accept the short rows";
    EXPECT_EQ(hoardings.FindBestOffer(42, 1), nullptr);
    ASSERT_EQ(hoardings.FindBestOffer(24, 2), pOffer);
    m_pHuman->SetDelegation(5, 1);
    hoardings.AutoFill();
    for (int d = 0; d < 2; ++d)
        for (int i = 0; i < CHoardingsManager::SHORT_ROW; ++i)
            EXPECT_EQ(hoardings.GetHoardings(d, i)->byAdvertiser, CHoardingsManager::EMPTY);
    EXPECT_EQ(hoardings.CountEmptyBoards(2), 0) << "the 24 long-row boards are taken";
    EXPECT_EQ(hoardings.GetHoardings(4, 0), nullptr) << "no fifth row";

    // One payment left: it pays once more, then the boards are empty.
    hoardings.StartContracts();
    EXPECT_NE(hoardings.FindContract(12), nullptr);
    const int32_t nBefore = MonthIncome(*m_pHuman, CHoardingsManager::CATEGORY);
    EXPECT_EQ(hoardings.CollectIncome(&nPaid), 24 * 700);
    EXPECT_EQ(nPaid, 24);
    EXPECT_EQ(MonthIncome(*m_pHuman, CHoardingsManager::CATEGORY), nBefore + 24 * 700);
    EXPECT_EQ(hoardings.CountEmptyBoards(3), CHoardingsManager::BOARDS);
    EXPECT_EQ(hoardings.CollectIncome(&nPaid), 0);
}

}  // namespace

namespace {

TEST_F(HumanWorld, EmptyBoardsRaiseTheHoardingsNoticeBeyondEightAndResolveAtSix)
{
    CHoardingsManager& hoardings = m_pHuman->GetHoardings();
    CNoticeList& notices = m_pHuman->GetNotices();
    m_pClub->m_byGroundOwnership = 1;
    m_pHuman->SetDelegation(5, 0);
    hoardings.RemoveAll();
    hoardings.Reset();
    ADVERTISER offer;
    offer.byId = 44;
    offer.byPayments = 5;
    offer.dwAmount = 100;
    offer.byShortRows = offer.byLongRows = 1;
    hoardings.AddOffer(offer);
    auto fillTo = [&](int nEmpty) {
        while (hoardings.CountEmptyBoards(3) > nEmpty)
            ASSERT_TRUE(hoardings.PlaceAdvertiser(hoardings.FindOffer(44), 3));
    };
    auto noticeState = [&]() {
        const NOTICE* pNotice = notices.FindNotice(4);
        return pNotice ? (pNotice->byResolved ? 'r' : 'a') : '-';
    };
    fillTo(8);
    notices.UpdateNotices();
    EXPECT_EQ(noticeState(), '-') << "8 empty boards";
    hoardings.Reset();
    fillTo(9);
    notices.UpdateNotices();
    EXPECT_EQ(noticeState(), 'a') << "9 empty boards";
    fillTo(7);
    notices.RecheckNotices();
    EXPECT_EQ(noticeState(), 'a') << "still active with 7";
    fillTo(6);
    notices.RecheckNotices();
    EXPECT_EQ(noticeState(), 'r') << "resolved at 6";
}

}  // namespace

namespace {

TEST_F(HumanWorld, TheBankLendsWithinTheClubsLimitsAndTheLoanIsRepaid)
{
    m_pClub->m_byFinancialStability = 60;
    const int32_t nAvailable = m_pClub->GetAvailableLoan(nullptr, nullptr);
    ASSERT_GT(nAvailable, 0) << "a club that owns a ground can borrow";

    // More than the bank would lend: refused, nothing moves.
    m_pHuman->m_nLoanRequest = nAvailable + 1;
    m_pHuman->m_byLoanTerm = 12;
    m_pHuman->m_byLoanKind = 1;
    m_pHuman->DoBankUpdate();
    EXPECT_NE(m_pHuman->GetNews().FindIncoming(230), nullptr);
    EXPECT_EQ(m_pClub->m_nLoan, 0);
    EXPECT_EQ(m_pHuman->m_nLoanRequest, 0) << "the request is cleared";

    // A club under 24 in financial stability is refused what it could have.
    m_pClub->m_byFinancialStability = 23;
    m_pHuman->m_nLoanRequest = 1000;
    m_pHuman->m_byLoanTerm = 6;
    m_pHuman->m_byLoanKind = 3;
    m_pHuman->DoBankUpdate();
    EXPECT_NE(m_pHuman->GetNews().FindIncoming(228), nullptr);
    EXPECT_EQ(m_pClub->m_nLoan, 0);
    m_pClub->m_byFinancialStability = 60;

    // Within it: lent, and repaid month by month over the term.
    const int32_t nBalance = m_pClub->m_nBankBalance;
    m_pHuman->m_nLoanRequest = nAvailable / 2;
    m_pHuman->m_nLoanRequest2 = nAvailable / 20;
    m_pHuman->m_nLoanFee = 1000;
    m_pHuman->m_byLoanTerm = 12;
    m_pHuman->m_byLoanKind = 2;
    m_pHuman->DoBankUpdate();
    EXPECT_NE(m_pHuman->GetNews().FindIncoming(225), nullptr);
    EXPECT_EQ(m_pClub->m_nLoan, nAvailable / 2);
    EXPECT_EQ(m_pClub->m_nBankBalance, nBalance + nAvailable / 2) << "the loan is banked at once, the fee with the month";
    EXPECT_EQ(m_pClub->m_byInstalmentsLeft, 12);
    EXPECT_EQ(m_pClub->m_nLoanInstalment, nAvailable / 20);
    const int32_t nRepaidBefore = m_pHuman->GetMonthEntry(82).nExpense;
    m_pClub->DoFinance();
    EXPECT_EQ(m_pHuman->GetMonthEntry(82).nExpense - nRepaidBefore, nAvailable / 20);
    EXPECT_EQ(m_pClub->m_byInstalmentsLeft, 11);

    // An overdraft above the band's limit is cut to it.
    const int32_t nLimit = m_pClub->GetAvailableOverdraft(nullptr, nullptr);
    m_pHuman->m_byOverdraftKind = 1;
    m_pHuman->m_nOverdraftRequest = nLimit * 2;
    m_pHuman->m_byOverdraftTerm = 6;
    m_pHuman->DoBankUpdate();
    EXPECT_NE(m_pHuman->GetNews().FindIncoming(222), nullptr);
    EXPECT_EQ(m_pClub->m_nOverdraft, -nLimit);
    EXPECT_EQ(m_pClub->GetAvailableOverdraft(nullptr, nullptr), 0);

}

}  // namespace
