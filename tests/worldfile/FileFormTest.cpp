// The framing of the world file: empty lists, the root's own lists of
// fixtures, offers and markets, the next cup date and the current human.
#include "WorldFileSupport.h"

#include "database/CBuyOfferDatabase.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CLoanOfferDatabase.h"
#include "database/CMarketEntries.h"
#include "database/CYouthDatabase.h"
#include "season/CEuropeanCupDatabase.h"

using namespace worldfile_test;

namespace {

class FileFormTest : public WorldFileTest {
protected:
    CDivisionDatabase* FirstDivision() const
    {
        const CCountryDatabase* pCountry = m_handler->GetCountryFromID(1);
        return pCountry ? static_cast<CDivisionDatabase*>(pCountry->GetDivisions().GetHead()->pData) : nullptr;
    }
    CCupFixturesDatabase* NewFriendly(uint32_t dwID, const CDate& date, ID_CLUB wHome, ID_CLUB wAway) const
    {
        auto* pFixture = new CCupFixturesDatabase;
        pFixture->Set(CCupFixturesDatabase::KIND_FRIENDLY, date, wHome, wAway, dwID, 0, 0, CUP_NUMBER_NONE, 1);
        return pFixture;
    }
};

// A world without records: every list is a count of 0.
TEST_F(FileFormTest, EmptyListsAreFourZeroBytes)
{
    m_handler->SetGameDate(CDate(1999, 7, 1));
    m_handler->GetEuropeanCups()->SetSeasonDate(CDate(1999, 7, 5));
    m_handler->SetDefaultGameSettings();
    bool bSaved = false;
    const Bytes bytes = SaveBytes(*m_handler, &bSaved);
    ASSERT_TRUE(bSaved);
    // Date, world block, then countries, grounds and youths.
    ASSERT_GT(bytes.size(), 7056u);
    EXPECT_EQ(Get32(bytes, 0), CDate(1999, 7, 1).GetValue());
    for (size_t at : {7044u, 7048u, 7052u})
        EXPECT_EQ(Get32(bytes, at), 0u) << at;
    // Player count, European date and no cup fixtures.
    EXPECT_EQ(Get32(bytes, 7060), CDate(1999, 7, 5).GetValue());
    EXPECT_EQ(Get32(bytes, 7064), 0u);
    // From the end: current human, 3 settings, 6 counters, no free
    // identifiers, no unemployed managers or pool staff, then the five
    // lists of markets, offers and pending transfers.
    const size_t nEnd = bytes.size();
    EXPECT_EQ(bytes.substr(nEnd - 4, 4), Bytes("\x05\x00\x06\x00", 4));
    EXPECT_EQ(Get32(bytes, nEnd - 32), 0u);
    EXPECT_EQ(Get32(bytes, nEnd - 36), 0u);
    EXPECT_EQ(bytes.substr(nEnd - 56, 20), Bytes(20, '\0'));

    ASSERT_TRUE(LoadBytes(*m_handler, bytes));
    EXPECT_EQ(m_handler->GetEuropeanCups()->GetSeasonDate(), CDate(1999, 7, 5));
    EXPECT_TRUE(SaveBytes(*m_handler) == bytes);
}

// Fixtures, offers, markets, deals and free identifiers survive the round trip.
TEST_F(FileFormTest, RootListsRoundTrip)
{
    ASSERT_TRUE(LoadBytes(*m_handler, StartingDatabase()));
    CDivisionDatabase* pDivision = FirstDivision();
    ASSERT_NE(pDivision, nullptr);
    const CDate today = m_handler->GetGameDate();
    pDivision->m_lstFixtures.AddTail(new CDivisionFixturesDatabase(41, CDate(1999, 8, 7), 1, 2, 0, 1, 1));
    m_handler->AddCupFixture(NewFriendly(42, CDate(1999, 7, 20), 3, 4));

    auto* pOffer = new CBuyOfferDatabase;
    pOffer->SetOfferID(5);
    pOffer->SetPlayerID(1);
    pOffer->SetBiddingClubID(3);
    m_handler->AddBuyOffer(pOffer);
    auto* pLoan = new CLoanOfferDatabase;
    pLoan->SetOfferID(6);
    pLoan->SetPlayerID(2);
    pLoan->SetClubID(4);
    m_handler->AddLoanOffer(pLoan);
    m_handler->AddListMarketEntry(new CListMarketEntry(250000, 1, 12, 1));
    m_handler->AddLoanMarketEntry(new CLoanMarketEntry(2, 9));
    auto* pDeal = new CBuyOfferDatabase;
    pDeal->SetOfferID(7);
    pDeal->SetPlayerID(3);
    m_handler->AddPendingTransfer(CDate(1999, 7, 9).GetValue(), pDeal);
    m_handler->AddFreeIdentifier(77);
    m_handler->SetIdentifierCounter(0, 8);

    bool bSaved = false;
    const Bytes bytes = SaveBytes(*m_handler, &bSaved);
    ASSERT_TRUE(bSaved);
    ASSERT_TRUE(LoadBytes(*m_handler, bytes));
    m_handler->SetupPointers();

    pDivision = FirstDivision();
    ASSERT_EQ(pDivision->m_lstFixtures.GetCount(), 1);
    const auto* pLeague = static_cast<CDivisionFixturesDatabase*>(pDivision->m_lstFixtures.GetHead()->pData);
    EXPECT_EQ(pLeague->GetFixtureID(), 41u);
    EXPECT_NE(m_handler->GetClubFromID(pLeague->GetAwayClubID()), nullptr);
    ASSERT_EQ(m_handler->GetCupFixtures().GetCount(), 1);
    EXPECT_EQ(m_handler->FindCupFixtureByMatchId(42)->GetHomeClubID(), 3);
    EXPECT_EQ(m_handler->GetEuropeanCups()->GetEarliestCupDate(), CDate(1999, 7, 20));
    ASSERT_EQ(m_handler->GetBuyOffers().GetCount(), 1);
    EXPECT_EQ(static_cast<CBuyOfferDatabase*>(m_handler->GetBuyOffers().GetHead()->pData)->GetBiddingClubID(), 3);
    ASSERT_EQ(m_handler->GetLoanOffers().GetCount(), 1);
    EXPECT_EQ(static_cast<CLoanOfferDatabase*>(m_handler->GetLoanOffers().GetHead()->pData)->GetClubID(), 4);
    ASSERT_EQ(m_handler->GetListMarket().GetCount(), 1);
    EXPECT_EQ(static_cast<CListMarketEntry*>(m_handler->GetListMarket().GetHead()->pData)->GetAskingPrice(), 250000u);
    ASSERT_EQ(m_handler->GetLoanMarket().GetCount(), 1);
    ASSERT_EQ(m_handler->GetPendingTransfers().GetCount(), 1);
    const auto* pPending = static_cast<PENDINGTRANSFER*>(m_handler->GetPendingTransfers().GetHead()->pData);
    EXPECT_EQ(pPending->dwDate, CDate(1999, 7, 9).GetValue());
    EXPECT_EQ(pPending->pOffer->GetPlayerID(), 3u);
    EXPECT_EQ(m_handler->GetFreeIdentifier(), 77u);
    m_handler->AddFreeIdentifier(77);
    EXPECT_EQ(m_handler->GetIdentifierCounter(0), 8u);
    EXPECT_EQ(m_handler->GetGameDate(), today);
    EXPECT_TRUE(SaveBytes(*m_handler) == bytes);
}

TEST_F(FileFormTest, FixturesMustNameClubsThatExist)
{
    ASSERT_TRUE(LoadBytes(*m_handler, StartingDatabase()));
    const ID_CLUB wMissing = static_cast<ID_CLUB>(m_handler->GetClubTotal() + 1);
    FirstDivision()->m_lstFixtures.AddTail(new CDivisionFixturesDatabase(41, CDate(1999, 8, 7), 1, wMissing, 0, 1, 1));
    Bytes bytes = SaveBytes(*m_handler);
    LogCapture log;
    EXPECT_FALSE(LoadBytes(*m_handler, bytes));
    EXPECT_TRUE(log.Contains("League fixture 41 names club"));
    ExpectEmptyWorld(*m_handler);

    ASSERT_TRUE(LoadBytes(*m_handler, StartingDatabase()));
    m_handler->AddCupFixture(NewFriendly(43, CDate(1999, 7, 20), wMissing, 1));
    bytes = SaveBytes(*m_handler);
    EXPECT_FALSE(LoadBytes(*m_handler, bytes));
    ExpectEmptyWorld(*m_handler);
}

// Only fixtures still to be played bring the next cup date forward.
TEST_F(FileFormTest, PastFixturesLeaveTheNextCupDate)
{
    ASSERT_TRUE(LoadBytes(*m_handler, StartingDatabase()));
    const CDate unset = m_handler->GetEuropeanCups()->GetEarliestCupDate();
    m_handler->AddCupFixture(NewFriendly(44, CDate(1999, 6, 12), 1, 2));
    m_handler->AddCupFixture(NewFriendly(45, CDate(1999, 6, 30), 3, 4));
    const Bytes bytes = SaveBytes(*m_handler);
    ASSERT_TRUE(LoadBytes(*m_handler, bytes));
    EXPECT_EQ(m_handler->GetEuropeanCups()->GetEarliestCupDate(), unset);
    EXPECT_EQ(m_handler->GetCupFixtures().GetCount(), 2);
}

// Youths and players may not hold identifiers beyond the count issued:
// the next new person would be given one of them again.
TEST_F(FileFormTest, PeopleAboveTheIdentifiersIssuedAreRefused)
{
    m_handler->SetGameDate(CDate(1999, 7, 1));
    m_handler->AddYouth(new CYouthDatabase(nullptr, PLAYER_POSITION_DEFENDER));
    ASSERT_EQ(m_handler->GetPlayerCount(), 1);
    const Bytes good = SaveBytes(*m_handler);
    EXPECT_TRUE(LoadBytes(*m_handler, good));
    EXPECT_EQ(m_handler->GetYouthCount(), 1);

    m_handler->SetPlayerCount(0);
    const Bytes bad = SaveBytes(*m_handler);
    LogCapture log;
    EXPECT_FALSE(LoadBytes(*m_handler, bad));
    EXPECT_TRUE(log.Contains("lies above the 0 identifiers issued"));
    ExpectEmptyWorld(*m_handler);
}

// The current human is written as his place among the occupied slots,
// where loading the humans puts him.
TEST(PackHumanIndexTest, CountsOccupiedSlotsBeforeTheCurrent)
{
    struct CASE {
        bool abOccupied[HUMAN_SLOTS];
        uint8_t byCurrent;
        uint8_t byPacked;
    };
    const CASE cases[] = {
        {{true, false, true, true}, 2, 1}, {{false, false, false, true}, 3, 0}, {{true, true, true, true}, 3, 3},
        {{true, false, true, false}, 1, 0}, {{false, false, false, false}, 0, 0}, {{true, true, true, true}, 9, 0},
    };
    for (const CASE& c : cases)
        EXPECT_EQ(CDatabaseHandler::PackHumanIndex(c.abOccupied, c.byCurrent), c.byPacked)
            << "current " << static_cast<int>(c.byCurrent);
}

}  // namespace
