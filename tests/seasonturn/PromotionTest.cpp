// Promotion and relegation at the season's close: who moves, the parent and
// reserve club rule, the bottom pool, the archive records, the country's
// season record and the referees' new season.
#include "SeasonTurnSupport.h"
#include "season/CRefereeDatabase.h"

#include <utility>

namespace seasonturn_test {
namespace {

class Promotion : public SmallCountry {};

using IdList = std::vector<ID_CLUB>;

TEST_F(Promotion, TopClubsGoUpBottomClubsGoDownAndSizesStay)
{
    m_pCountry->DoSeasonClose();
    EXPECT_EQ(Ids(Division(0)), (IdList{1, 2, 3, 4, 7, 8}));
    EXPECT_EQ(Ids(Division(1)), (IdList{5, 6, 9, 10, 13, 14}));
    EXPECT_EQ(Ids(Division(2)), (IdList{11, 12, 15, 16, 17, 18}));
    for (CDivisionDatabase* pDivision : Divisions()) {
        EXPECT_EQ(pDivision->GetClubCount(), 6);
        EXPECT_EQ(pDivision->m_nClubCount, 6);
        for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
            EXPECT_EQ(pClub->m_pDivision, pDivision);
            EXPECT_EQ(pClub->m_byDivisionId, pDivision->m_byDivisionId);
        }
    }

    // The archive: the champion heads the top division's promoted list; the
    // others name who went up and who went down, bottom club first.
    const DIVISIONARCHIVERECORD* pTop = Division(0)->GetNewestArchiveRecord();
    const DIVISIONARCHIVERECORD* pMiddle = Division(1)->GetNewestArchiveRecord();
    ASSERT_NE(pTop, nullptr);
    ASSERT_NE(pMiddle, nullptr);
    EXPECT_EQ(pTop->abyData[0], 21);
    EXPECT_EQ(ArchiveWord(pTop, 388), 1);
    EXPECT_EQ(ArchiveWord(pTop, 396), 6);
    EXPECT_EQ(ArchiveWord(pTop, 398), 5);
    EXPECT_EQ(ArchiveWord(pMiddle, 388), 7);
    EXPECT_EQ(ArchiveWord(pMiddle, 390), 8);
    EXPECT_EQ(ArchiveWord(pMiddle, 396), 12);
    EXPECT_EQ(ArchiveWord(pMiddle, 398), 11);
    EXPECT_EQ(pMiddle->GetKey(), static_cast<uint8_t>(m_pCountry->GetSeasonYear() + 49));

    // The country's season record of the year, found by its key.
    EXPECT_EQ(m_pCountry->GetSeasonRecordCount(), 1);
    EXPECT_NE(m_pCountry->FindSeasonRecord(static_cast<uint8_t>(m_pCountry->GetSeasonYear() + 49)), nullptr);
}

TEST_F(Promotion, TheSeasonRecordListsTheFiveLargestFeesPaidAndTheOneReceived)
{
    // Fees paid this season by clubs of all three divisions; a club that paid
    // nothing and the sixth largest stay out.
    const std::pair<ID_CLUB, int32_t> paid[] = {{1, 0}, {2, 500}, {3, 300}, {8, 900}, {9, 100}, {14, 700}, {15, 200}};
    for (const auto& [id, nAmount] : paid)
        Club(id)->m_aFeeRecords[0] = CLUBFEERECORD{static_cast<int32_t>(100 + id), id, nAmount};
    Club(10)->m_aFeeRecords[1] = CLUBFEERECORD{110, 10, 50};
    m_pCountry->DoSeasonClose();

    const uint8_t* pRecord = m_pCountry->FindSeasonRecord(static_cast<uint8_t>(m_pCountry->GetSeasonYear() + 49));
    ASSERT_NE(pRecord, nullptr);
    auto entry = [pRecord](int nList, int nPlace, int nField) {
        const uint8_t* p = pRecord + nList + 12 * nPlace + 4 * nField;
        return static_cast<int32_t>(p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24));
    };
    const std::pair<ID_CLUB, int32_t> expected[] = {{8, 900}, {14, 700}, {2, 500}, {3, 300}, {15, 200}};
    for (int n = 0; n < 5; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(entry(64, n, 0), 100 + expected[n].first);
        EXPECT_EQ(entry(64, n, 1), expected[n].first);
        EXPECT_EQ(entry(64, n, 2), expected[n].second);
    }
    EXPECT_EQ(entry(124, 0, 1), 10);
    EXPECT_EQ(entry(124, 0, 2), 50);
    EXPECT_EQ(entry(124, 1, 2), 0);
}

TEST_F(Promotion, RefereesStartTheNewSeasonWithoutTheOldSeasonsStatistics)
{
    auto* pReferee = new CRefereeDatabase;
    pReferee->Set(1, 'K', 0);
    m_pCountry->AddReferee(pReferee);
    const uint8_t abyStats[4] = {3, 1, 12, 1};
    for (int nCompetition = 0; nCompetition < CRefereeDatabase::COMPETITIONS; ++nCompetition)
        pReferee->AddMatchStatistics(nCompetition, abyStats);
    m_pCountry->DoSeasonClose();
    for (int nCompetition = 0; nCompetition < CRefereeDatabase::COMPETITIONS; ++nCompetition) {
        const REFEREESTATISTICS& stats = pReferee->GetStatistics(nCompetition);
        EXPECT_EQ(stats.byMatches, 0);
        EXPECT_EQ(stats.wBookings, 0);
        EXPECT_EQ(stats.wFouls, 0);
        EXPECT_EQ(stats.bySendingsOff, 0);
        EXPECT_EQ(stats.byPenalties, 0);
    }
}

TEST_F(Promotion, AReserveClubIsNotPromotedIntoItsParentsDivision)
{
    // Club 7 tops division 2 but is the reserve of club 3: clubs 8 and 9 go up.
    MakeReserve(3, 7);
    m_pCountry->DoSeasonClose();
    EXPECT_EQ(Ids(Division(0)), (IdList{1, 2, 3, 4, 8, 9}));
    EXPECT_EQ(Ids(Division(1)), (IdList{5, 6, 7, 10, 13, 14}));
    EXPECT_TRUE(Logged("AddClub() Cant Add Club Club 7, because parent team Club 3 is in the division"));
}

TEST_F(Promotion, AParentPromotedIntoItsReservesDivisionSendsTheReserveDown)
{
    // Club 7 goes up into division 1, where its reserve club 2 plays: club 2
    // goes down, and one more club of division 2 goes up in its place.
    MakeReserve(7, 2);
    m_pCountry->DoSeasonClose();
    EXPECT_EQ(Ids(Division(0)), (IdList{1, 3, 4, 7, 8, 9}));
    EXPECT_EQ(Ids(Division(1)), (IdList{2, 5, 6, 10, 13, 14}));
    for (CDivisionDatabase* pDivision : Divisions())
        EXPECT_EQ(pDivision->GetClubCount(), 6) << pDivision->GetName();
    EXPECT_TRUE(Logged("relegated child team Club 2 because of division clash"));
    // The reserve club came down during the turnover and is not moved again.
    EXPECT_EQ(Club(2)->m_pDivision, Division(1));
}

TEST_F(Promotion, APoolWhereNobodyCanGoUpStops)
{
    // Every club of the bottom pool is the reserve of a club above: the
    // random draw ends instead of drawing for ever.
    Division(2)->m_byKind = DIVISION_KIND_BOTTOM_OTHER;
    for (ID_CLUB id = 13; id <= 18; ++id)
        MakeReserve(static_cast<ID_CLUB>(id - 12), id);
    m_pCountry->DoSeasonClose();
    EXPECT_EQ(Division(2)->GetClubCount(), 8);
    EXPECT_EQ(Division(1)->GetClubCount(), 4);
    EXPECT_TRUE(Logged("could promote only 0 of 2 clubs"));
}

TEST_F(Promotion, AnyPoolClubWithoutAParentCanBeDrawn)
{
    Division(2)->m_byKind = DIVISION_KIND_BOTTOM_OTHER;
    m_pCountry->DoSeasonClose();
    for (CDivisionDatabase* pDivision : Divisions())
        EXPECT_EQ(pDivision->GetClubCount(), 6);
    int nFromPool = 0;
    for (const CClubDatabase* pClub : Division(1)->m_lstClubsByTable.Items<CClubDatabase>())
        nFromPool += pClub->m_wClubId >= 13 ? 1 : 0;
    EXPECT_EQ(nFromPool, 2);
}

TEST_F(Promotion, MissingNeighboursAreLoggedAndMoveNobody)
{
    Division(0)->m_byPromotionZone = 1;
    Division(2)->m_byRelegationZone = 1;
    m_pCountry->DoSeasonClose();
    EXPECT_TRUE(Logged("Promotion has been specified but is not possible from this division!  Division ID is 21"));
    EXPECT_TRUE(Logged("Relegation has been specified but is not possible from this division!  Division ID is 23"));
    for (CDivisionDatabase* pDivision : Divisions())
        EXPECT_EQ(pDivision->GetClubCount(), 6);
}

}  // namespace
}  // namespace seasonturn_test

namespace seasonturn_test {
namespace {

class Rescale : public SmallCountry {};

TEST_F(Rescale, SeasonPerformanceBecomesRatingsFromLowestToHighest)
{
    std::vector<std::unique_ptr<CManagerDatabase>> managers;
    const uint32_t adwValues[] = {10, 30, 50, 0};
    for (int i = 0; i < 4; ++i) {
        auto pManager = std::make_unique<CManagerDatabase>();
        pManager->m_idManager = static_cast<ID_MANAGER>(40 + i);
        pManager->m_dwSeasonValueA = adwValues[i];
        pManager->m_byAbility = 33;
        pManager->m_byRating = 60;
        pManager->m_pClub = Club(static_cast<ID_CLUB>(i + 1));
        m_handler->AddManagerToIDTable(pManager->m_idManager, pManager.get(), MANAGERSTATE_EMPLOYED);
        Club(static_cast<ID_CLUB>(i + 1))->m_wManagerId = pManager->m_idManager;
        managers.push_back(std::move(pManager));
    }
    Club(7)->m_nSeasonCounter1 = 200;
    Club(8)->m_nSeasonCounter1 = 100;
    Club(8)->m_bySupportLevel = 80;
    Club(9)->m_byReputation = 44;
    m_pCountry->RescaleRatings();

    EXPECT_EQ(managers[0]->m_byAbility, 0);
    EXPECT_EQ(managers[1]->m_byAbility, 50);
    EXPECT_EQ(managers[2]->m_byAbility, 100);
    EXPECT_EQ(managers[1]->m_byRating, 55);
    // No value this season: the ratings stay.
    EXPECT_EQ(managers[3]->m_byAbility, 33);
    EXPECT_EQ(Club(7)->m_byReputation, 100);
    EXPECT_EQ(Club(8)->m_byReputation, 0);
    EXPECT_EQ(Club(8)->m_bySupportLevel, 40);
    EXPECT_EQ(Club(9)->m_byReputation, 44);
    EXPECT_TRUE(Logged("COUNTRY HIGHEST MANAGER PERFORMANCE >>> Teston"));

    // The clubs do not own these managers: take them off before the clubs go.
    for (int i = 0; i < 4; ++i) {
        Club(static_cast<ID_CLUB>(i + 1))->m_wManagerId = 0;
        m_handler->AddManagerToIDTable(managers[static_cast<size_t>(i)]->m_idManager, nullptr, 0);
    }
}

}  // namespace
}  // namespace seasonturn_test
