// Scheduled events, referees, fixture grounds and the country's season work.
#include "../database/ClubBooks.h"
#include "SeasonTestSupport.h"

#include "season/CComponentScheduleDatabase.h"
#include "season/CEuropeanCupDatabase.h"
#include "season/CupRecords.h"

using namespace season_test;

namespace {

class CountrySeason : public SeasonWorld {
protected:
    // The order in which the club-review events of the log ran.
    std::vector<std::string> ReviewRuns() const
    {
        std::vector<std::string> runs;
        for (const std::string& line : m_log) {
            const auto at = line.find("RunClubReviewEvent] Event 45 for club ");
            if (at != std::string::npos)
                runs.push_back(line.substr(at + 38, line.find(':', at + 38) - at - 38));
        }
        return runs;
    }
};

}  // namespace

TEST_F(CountrySeason, EventsRunInDateOrderOnTheirDay)
{
    CCountryDatabase* pCountry = AddCountry("Nowhere", 12);
    pCountry->AddEvent(45, CDate(2001, 9, 3), 3);
    pCountry->AddEvent(45, CDate(2001, 9, 2), 1);
    pCountry->AddEvent(45, CDate(2001, 9, 3), 4);
    pCountry->AddEvent(45, CDate(2001, 9, 2), 2);
    pCountry->AddEvent(99, CDate(2001, 9, 2), 0);
    pCountry->AddEvent(45, CDate(2001, 9, 5), 5);
    ASSERT_EQ(pCountry->GetEvents().GetCount(), 6);

    pCountry->DoSpecialEvent(CDate(2001, 9, 1));
    EXPECT_EQ(pCountry->GetEvents().GetCount(), 6);
    EXPECT_TRUE(ReviewRuns().empty());

    pCountry->DoSpecialEvent(CDate(2001, 9, 2));
    EXPECT_EQ(ReviewRuns(), (std::vector<std::string>{"1", "2"}));
    EXPECT_TRUE(Logged("[CCountryDatabase::DoSpecialEvent] Unknown special event!"));
    EXPECT_EQ(pCountry->GetEvents().GetCount(), 3);

    // An event added late, dated before today, runs with the next day's.
    pCountry->AddEvent(45, CDate(2001, 9, 1), 9);
    pCountry->DoSpecialEvent(CDate(2001, 9, 3));
    EXPECT_EQ(ReviewRuns(), (std::vector<std::string>{"1", "2", "9", "3", "4"}));
    EXPECT_EQ(pCountry->GetEvents().GetCount(), 1);
    EXPECT_EQ(CCountryDatabase::GetCurrentEvent(), nullptr);
}

TEST_F(CountrySeason, FindRemoveAndSortEvents)
{
    CCountryDatabase* pCountry = AddCountry("Nowhere", 12);
    CEventsDatabase* pFirst = pCountry->AddEvent(43, CDate(2001, 10, 1), 7);
    pCountry->AddEvent(44, CDate(2001, 10, 2), 7);
    EXPECT_EQ(pCountry->FindEvent(44, 7)->GetDate(), CDate(2001, 10, 2));
    EXPECT_EQ(pCountry->FindEvent(44, 8), nullptr);

    CEventsDatabase stranger(43, CDate(2001, 10, 1), 7, pCountry);
    EXPECT_FALSE(pCountry->RemoveEvent(&stranger));
    EXPECT_TRUE(Logged("[CCountryDatabase::RemoveEvent] Could not find the event to remove!"));
    EXPECT_EQ(pCountry->GetEvents().GetCount(), 2);

    pFirst->SetDate(CDate(2001, 10, 9));
    pCountry->SortEvents();
    EXPECT_EQ(static_cast<CEventsDatabase*>(pCountry->GetEvents().GetTail()->pData), pFirst);
    ASSERT_TRUE(pCountry->RemoveEvent(pFirst));
    delete pFirst;
    EXPECT_EQ(pCountry->GetEvents().GetCount(), 1);

    // Two events of one type and identifier: the earlier is found first, and
    // once it is removed the other still is; once run, neither is.
    CEventsDatabase* pLater = pCountry->AddEvent(44, CDate(2001, 10, 5), 7);
    CEventsDatabase* pEarlier = pCountry->FindEvent(44, 7);
    ASSERT_NE(pEarlier, pLater);
    ASSERT_TRUE(pCountry->RemoveEvent(pEarlier));
    delete pEarlier;
    EXPECT_EQ(pCountry->FindEvent(44, 7), pLater);
    LPXLISTNODE pNode = pCountry->GetEvents().GetHead();
    pCountry->DoSpecialEvent(CDate(2001, 10, 5));
    EXPECT_EQ(pCountry->FindEvent(44, 7, &pNode), nullptr);
    EXPECT_EQ(pNode, nullptr);
    EXPECT_TRUE(pCountry->GetEvents().IsEmpty());
}

TEST_F(CountrySeason, BuildingCompletionAndPaymentEvents)
{
    CCountryDatabase* pCountry = AddCountry("Nowhere", 12);
    CDivisionDatabase* pDivision = AddDivision(pCountry, 2);
    auto* pClub = static_cast<CClubDatabase*>(pDivision->m_lstClubsByTable.GetHead()->pData);
    CGroundDatabase* pGround = pClub->m_pGround;
    auto* pSchedule = new CComponentScheduleDatabase;
    pSchedule->SetID(77);
    pSchedule->SetExtraCost(1200);
    pGround->AddComponentSchedule(pSchedule);
    ASSERT_EQ(m_handler->FindComponentSchedule(77), pSchedule);

    const int64_t nBalance = BookedBalance(*pClub);
    pCountry->AddEvent(32, CDate(2001, 9, 1), 77);
    pCountry->AddEvent(33, CDate(2001, 9, 1), 78);  // no such schedule
    pCountry->DoSpecialEvent(CDate(2001, 9, 1));
    EXPECT_EQ(BookedBalance(*pClub), nBalance - 1200);
    EXPECT_TRUE(Logged("[CCountryDatabase::ProcessGroundScheduleComplete] Could not find the schedule!"));

    CEventsDatabase completion(33, CDate(2001, 9, 1), 77, pCountry);
    EXPECT_TRUE(completion.IsClubEvent(pClub));
    CEventsDatabase ownEvent(43, CDate(2001, 9, 1), pClub->m_wClubId, pCountry);
    EXPECT_TRUE(ownEvent.IsClubEvent(pClub));
    CEventsDatabase notice(EVENT_BLOCKED_PERIOD_START_NOTICE, CDate(2001, 9, 1), 12, pCountry);
    EXPECT_FALSE(notice.IsClubEvent(pClub));
    EXPECT_TRUE(Logged("[CEventsDatabase::IsClubEvent] Unknown Identifier - 39"));
}

TEST_F(CountrySeason, RefereesGeneratedFromTheCountryPools)
{
    CCountryDatabase* pCountry = AddCountry("Nowhere", 12);
    AddDivision(pCountry, 9);
    AddDivision(pCountry, 6, 2);
    uint16_t wNext = 40;
    EXPECT_EQ(pCountry->GenerateReferees(wNext), 7);
    EXPECT_EQ(wNext, 47);
    ASSERT_EQ(pCountry->GetReferees().GetCount(), 7);
    uint16_t wExpected = 40;
    for (const CRefereeDatabase* pReferee : pCountry->GetReferees().Items<CRefereeDatabase>()) {
        EXPECT_EQ(pReferee->GetID(), wExpected++);
        EXPECT_EQ(pReferee->GetCountry(), pCountry);
        EXPECT_TRUE(pReferee->GetInitial() == 'E' || pReferee->GetInitial() == 'A' || pReferee->GetInitial() == 'C');
        EXPECT_NE(std::string(pReferee->GetSurname()), "");
        EXPECT_EQ(pReferee->GetAttributeB(), 12);
    }
    EXPECT_EQ(m_handler->FindReferee(46)->GetCountry(), pCountry);

    // The fixtures of both divisions get referees of their own country.
    pCountry->GenerateLeagueFixtures();
    for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
        for (const CDivisionFixturesDatabase* p : Fixtures(*pDivision))
            EXPECT_NE(pCountry->GetRefereeFromID(p->GetRefereeID()), nullptr);
}

TEST_F(CountrySeason, FixtureGroundsByVenue)
{
    CCountryDatabase* pHomeland = AddCountry("Homeland", 2);
    CCountryDatabase* pAwayland = AddCountry("Awayland", 3);
    CDivisionDatabase* pHome = AddDivision(pHomeland, 3);
    CDivisionDatabase* pAway = AddDivision(pAwayland, 3);
    const auto clubAt = [](const CDivisionDatabase* p, int i) {
        return static_cast<CClubDatabase*>(p->m_lstClubsByTable.GetAt(i)->pData);
    };
    const ID_CLUB idHome = clubAt(pHome, 0)->m_wClubId;
    const ID_CLUB idAway = clubAt(pAway, 0)->m_wClubId;
    const ID_CLUB idNeighbour = clubAt(pHome, 1)->m_wClubId;

    EXPECT_EQ(m_handler->GenerateFixtureGround(0, idHome, idAway), 100 + idHome);
    // The home country picks its largest ground that is neither club's.
    EXPECT_EQ(m_handler->GenerateFixtureGround(1, idHome, idNeighbour), 100 + clubAt(pHome, 2)->m_wClubId);
    // Without a national ground venue 2 is placed as venue 1.
    EXPECT_EQ(m_handler->GenerateFixtureGround(2, idHome, idNeighbour), 100 + clubAt(pHome, 2)->m_wClubId);
    pHomeland->SetNationalGroundID(900);
    EXPECT_EQ(m_handler->GenerateFixtureGround(2, idHome, idNeighbour), 900);
    EXPECT_EQ(m_handler->GenerateFixtureGround(7, idHome, idAway), 0);
    EXPECT_TRUE(Logged("[GenerateFixtureGround] :: Unknown rules venue"));

    // Two countries and the clubs of both: no third country, and no endless draw.
    const ID_GROUND wFallback = m_handler->GenerateFixtureGround(3, idHome, idAway);
    EXPECT_EQ(wFallback, pHomeland->ChooseGroundForClubs(idHome, idAway));
    EXPECT_TRUE(Logged("[CDatabaseHandler::GetNeutralCountryGround] No third country"));
    // A third country: the match always goes there.
    CCountryDatabase* pThird = AddCountry("Thirdland", 4);
    AddDivision(pThird, 2);
    pThird->SetNationalGroundID(950);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(m_handler->GenerateFixtureGround(3, idHome, idAway), 950);
    // Two clubs of one country: the other two countries share the draws.
    std::set<ID_GROUND> grounds;
    for (int i = 0; i < 40; ++i)
        grounds.insert(m_handler->GenerateFixtureGround(3, idHome, idNeighbour));
    EXPECT_EQ(grounds.count(900), 0u);
    EXPECT_EQ(grounds.count(950), 1u);
    EXPECT_EQ(grounds.size(), 2u);
}

TEST_F(CountrySeason, GroundsAndClubsFreeOnADate)
{
    CCountryDatabase* pCountry = AddCountry("Nowhere", 12);
    CDivisionDatabase* pDivision = AddDivision(pCountry, 2);
    auto* pA = static_cast<CClubDatabase*>(pDivision->m_lstClubsByTable.GetAt(0)->pData);
    auto* pB = static_cast<CClubDatabase*>(pDivision->m_lstClubsByTable.GetAt(1)->pData);
    // B at home to A on 6 October: A may host the day before, B may not.
    pDivision->m_lstFixtures.AddTail(new CDivisionFixturesDatabase(1, CDate(2001, 10, 6), pB->m_wClubId,
                                                                   pA->m_wClubId, 0, DIVISION_FIXTURE_LEAGUE,
                                                                   pB->m_wHomeGroundId));
    EXPECT_TRUE(m_handler->CanClubHostOnDate(CDate(2001, 10, 5), pA));
    EXPECT_FALSE(m_handler->CanClubHostOnDate(CDate(2001, 10, 5), pB));
    EXPECT_TRUE(m_handler->CanClubHostOnDate(CDate(2001, 10, 4), pB));

    auto* pFriendly = new CCupFixturesDatabase;
    pFriendly->Set(CCupFixturesDatabase::KIND_FRIENDLY, CDate(2001, 10, 13), pA->m_wClubId, pB->m_wClubId, 2, 0, 0,
                   CUP_NUMBER_NONE, pA->m_wHomeGroundId);
    m_handler->AddCupFixture(pFriendly);
    EXPECT_FALSE(m_handler->IsGroundFreeOnDate(CDate(2001, 10, 13), pA->m_wHomeGroundId));
    EXPECT_TRUE(m_handler->IsGroundFreeOnDate(CDate(2001, 10, 14), pA->m_wHomeGroundId));
    EXPECT_FALSE(m_handler->CanClubHostOnDate(CDate(2001, 10, 13), pA));

    // The fixture questions see both kinds.
    void* pFound = nullptr;
    int nKind = -1;
    EXPECT_EQ(m_handler->GetFixtureOpponent(pA->m_wClubId, CDate(2001, 10, 5), 1, 1, &pFound, &nKind), pB);
    EXPECT_EQ(nKind, 0);
    EXPECT_EQ(m_handler->GetFixtureOpponent(pA->m_wClubId, CDate(2001, 10, 12), 1, 1, &pFound, &nKind), pB);
    EXPECT_EQ(nKind, 3);
    EXPECT_EQ(pFound, pFriendly);
    EXPECT_EQ(m_handler->GetFixtureOpponent(pA->m_wClubId, CDate(2001, 10, 12), 1, 0), nullptr);
    CDate next;
    ASSERT_TRUE(pDivision->GetNextMatchDate(CDate(2001, 10, 6), next));
    EXPECT_EQ(next, CDate(2001, 10, 13));
}

TEST_F(CountrySeason, ExtraFixtureMovesToAFreeDate)
{
    CCountryDatabase* pCountry = AddCountry("Nowhere", 12);
    AddReferees(pCountry, 4);
    CDivisionDatabase* pDivision = AddDivision(pCountry, 8);
    pDivision->GenerateLeagueFixtures();
    m_handler->SetGameDate(CDate(2001, 9, 1));
    auto* pFixture = static_cast<CDivisionFixturesDatabase*>(pDivision->m_lstFixtures.GetHead()->pData);
    CXList referees;
    pDivision->ScheduleExtraFixture(pFixture, &referees);
    EXPECT_EQ(referees.GetCount(), 1);
    EXPECT_GT(pFixture->GetDate(), CDate(2001, 9, 1));
    // Neither club has another fixture within two days of the new date.
    for (ID_CLUB idClub : {pFixture->GetHomeClubID(), pFixture->GetAwayClubID()}) {
        for (const CDivisionFixturesDatabase* p : Fixtures(*pDivision)) {
            if (p != pFixture && p->IsClubInvolved(idClub)) {
                EXPECT_GT(std::abs(p->GetDate().DaysBetween(pFixture->GetDate())), 2);
            }
        }
    }
    referees.RemoveAll();
}

TEST_F(CountrySeason, SeasonEndAndSeasonDates)
{
    CDate end;
    m_handler->SetGameDate(CDate(1999, 7, 1));
    m_handler->GetSeasonEndDate(end);
    EXPECT_EQ(end, CDate(2000, 7, 2));
    m_handler->SetGameDate(CDate(2001, 7, 1));
    m_handler->GetSeasonEndDate(end);
    EXPECT_EQ(end, CDate(2001, 7, 1));
    m_handler->SetGameDate(CDate(2001, 7, 3));
    m_handler->GetSeasonEndDate(end);
    EXPECT_EQ(end, CDate(2002, 6, 30));

    CCountryDatabase* pCountry = AddCountry("England", 1);
    pCountry->SetSetting(1, 2);
    pCountry->SetSetting(2, 3);
    CDivisionDatabase* pDivision = AddDivision(pCountry, 4);
    pCountry->SetSeasonDates(2002);
    EXPECT_EQ(pCountry->GetSeasonStartDate(), CDate(2002, 8, 10));
    EXPECT_EQ(pDivision->m_SeasonStart, CDate(2002, 8, 10));
    EXPECT_EQ(pDivision->m_SeasonEnd, CDate(2003, 5, 17));
    // The breaks move with the season.
    EXPECT_TRUE(pCountry->IsDateBlocked(CDate(2002, 12, 25)));
    EXPECT_FALSE(pCountry->IsDateBlocked(CDate(2001, 12, 25)));
    pCountry->CalculateSeasonDates();
    EXPECT_EQ(pCountry->GetSeasonStartDate(), CDate(2002, 8, 10));
    EXPECT_EQ(pCountry->GetLeagueEndDate(), CDate(2003, 5, 17));
}

TEST_F(CountrySeason, ScenarioClubsTargetsAndPayments)
{
    CCountryDatabase* pCountry = AddCountry("Nowhere", 12);
    CDivisionDatabase* pTop = AddDivision(pCountry, 8, 1);
    CDivisionDatabase* pLow = AddDivision(pCountry, 4, 2);
    EXPECT_EQ(pCountry->GetScenarioClub(0)->m_pDivision, pTop);
    EXPECT_EQ(pCountry->GetScenarioClub(6)->m_pDivision, pLow);
    EXPECT_EQ(pCountry->GetScenarioClub(2)->m_pDivision, pLow);
    const CClubDatabase* pBottom = pCountry->GetScenarioClub(1);
    const int nPlace = pTop->m_lstClubsByTable.IndexOf(pBottom);
    EXPECT_GE(nPlace, 6);
    EXPECT_EQ(pCountry->GetScenarioClub(8), nullptr);
    EXPECT_TRUE(Logged("[CCountryDatabase::GetScenarioClub] Unhandled SCENARIO_?"));

    int nRating = 0;
    for (CClubDatabase* pClub : pTop->m_lstClubsByTable.Items<CClubDatabase>()) {
        pClub->m_byReputation = static_cast<uint8_t>(10 + 10 * nRating);
        pClub->m_bySupportLevel = static_cast<uint8_t>(10 * nRating++);
    }
    pCountry->SetClubTargetBands();
    const uint8_t expected[8] = {4, 4, 3, 3, 3, 3, 0, 0};
    int i = 0;
    for (const CClubDatabase* pClub : pTop->m_lstClubsByTable.Items<CClubDatabase>())
        EXPECT_EQ(pClub->m_byTargetKind, expected[i++]);
    EXPECT_EQ(static_cast<const CClubDatabase*>(pLow->m_lstClubsByTable.GetTail()->pData)->m_byTargetKind, 5);

    // Level 80 gives (8 + 5) x 10 = 130 a club of the top division 130 x 30402.
    const CClubDatabase* pClub = static_cast<const CClubDatabase*>(pTop->m_lstClubsByTable.GetHead()->pData);
    const int64_t nBefore = BookedBalance(*pClub);
    pCountry->ApplyCountryLevel();
    EXPECT_EQ(pCountry->GetCountryLevel(), 130);
    EXPECT_EQ(BookedBalance(*pClub) - nBefore, 130 * 30402);
    EXPECT_EQ(pCountry->GetBudgetFigure(), 130 * 33 * 625 * 80);
    EXPECT_EQ(CDivisionDatabase::GetPaymentPerClub(5, 130), 0);
}

TEST_F(CountrySeason, EuropeanEntrantsGetDomesticByes)
{
    CCountryDatabase* pCountry = AddCountry("England", 1);
    CDivisionDatabase* pTop = AddDivision(pCountry, 10, 1);
    CEuropeanCupDatabase* pEuropean = m_handler->GetEuropeanCups();
    ASSERT_NE(pEuropean, nullptr);
    // Eight clubs wait for a European cup, one of them for the super cup too.
    int i = 0;
    for (const CClubDatabase* pClub : pTop->m_lstClubsByTable.Items<CClubDatabase>()) {
        if (i < 8)
            pEuropean->AddPending(i < 4 ? CUP_KIND_1 : CUP_KIND_0, pClub->m_wClubId, 1, 2);
        if (i == 0)
            pEuropean->AddPending(CUP_KIND_SUPER, pClub->m_wClubId, 1, 2);
        ++i;
    }
    pCountry->DoDomesticByesFromEuropeanPending();
    // The national cup's second round gives six byes: round 3 for clubs 2-7.
    const CXList* pPending = pCountry->GetDomesticCups()->GetPendingList(CUP_KIND_0);
    ASSERT_NE(pPending, nullptr);
    ASSERT_EQ(pPending->GetCount(), 6);
    const ID_CLUB idFirst = static_cast<const CClubDatabase*>(pTop->m_lstClubsByTable.GetHead()->pData)->m_wClubId;
    for (const CUPENTRY* pEntry : pPending->Items<CUPENTRY>()) {
        EXPECT_EQ(pEntry->byRound, 3);
        EXPECT_NE(pEntry->dwClub, idFirst);
    }
    EXPECT_TRUE(Logged("DoDomesticByesFromEuropeanPending Added 6 Needed 6, but trying to add another"));
}

TEST_F(CountrySeason, TelevisedMatchesMoveAndPay)
{
    CCountryDatabase* pCountry = AddCountry("Nowhere", 12);
    AddReferees(pCountry, 5);
    CDivisionDatabase* pDivision = AddDivision(pCountry, 10);
    pDivision->GenerateLeagueFixtures();
    m_handler->SetGameDate(CDate(2001, 9, 20));
    std::map<uint32_t, uint32_t> before;
    for (const CDivisionFixturesDatabase* p : Fixtures(*pDivision))
        before[p->GetFixtureID()] = p->GetDate().GetValue();
    pDivision->PickTelevisedMatches();
    // Saturday fixtures of October move to the Sunday, one per match day.
    int nMoved = 0;
    std::set<uint32_t> movedDays;
    int64_t nMoney = 0;
    for (const CDivisionFixturesDatabase* p : Fixtures(*pDivision)) {
        const CDate old(before[p->GetFixtureID()]);
        if (p->GetDate() == old)
            continue;
        ++nMoved;
        EXPECT_EQ(old.GetMonth(), 10);
        EXPECT_EQ(p->GetDate(), CDate(old.GetValue(), 1));
        EXPECT_TRUE(movedDays.insert(p->GetDate().GetValue()).second);
        EXPECT_EQ(pDivision->GetTelevisedCount(p->GetHomeClubID()), 1);
    }
    for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
        nMoney += BookedBalance(*pClub);
    EXPECT_GE(nMoved, 3);
    EXPECT_EQ(nMoney, nMoved * 130 * (450 + 250));
    // The list stays in date order.
    CDate last;
    for (const CDivisionFixturesDatabase* p : Fixtures(*pDivision)) {
        EXPECT_GE(p->GetDate(), last);
        last = p->GetDate();
    }
}

TEST_F(CountrySeason, FixtureQuestionsOfAClub)
{
    CCountryDatabase* pCountry = AddCountry("Nowhere", 12);
    AddReferees(pCountry, 3);
    CDivisionDatabase* pDivision = AddDivision(pCountry, 6, 1, 3);
    pDivision->GenerateLeagueFixtures();
    const ID_CLUB idClub = static_cast<const CClubDatabase*>(pDivision->m_lstClubsByTable.GetHead()->pData)->m_wClubId;
    std::vector<CDate> dates;
    for (const CDivisionFixturesDatabase* p : Fixtures(*pDivision))
        if (p->IsClubInvolved(idClub))
            dates.push_back(p->GetDate());
    ASSERT_EQ(dates.size(), 5u);
    // Before a match day (direction 1) and up to it (direction 0).
    EXPECT_EQ(pDivision->CountClubMatchDays(dates[2], idClub, 1, false), 2);
    EXPECT_EQ(pDivision->CountClubMatchDays(dates[2], idClub, 0, false), 3);
    LPXLISTNODE pCursor = nullptr;
    EXPECT_EQ(pDivision->AdvanceFixtureCursor(dates[2], idClub, pCursor, 0, false), 2);
    ASSERT_NE(pCursor, nullptr);
    EXPECT_GT(static_cast<CDivisionFixturesDatabase*>(pCursor->pData)->GetDate(), dates[2]);
    CDate found;
    ASSERT_TRUE(pDivision->GetNextFixtureDateForClub(idClub, dates[1], found));
    EXPECT_EQ(found, dates[2]);
    ASSERT_TRUE(pDivision->GetPreviousFixtureForClub(idClub, dates[1], found));
    EXPECT_EQ(found, dates[0]);
    ASSERT_TRUE(pDivision->GetLastFixtureDate(found));
    EXPECT_GE(found, dates[4]);

    m_handler->SetGameDate(dates[3]);
    uint8_t byHome = 9, byCompetition = 0;
    CDate next;
    const int nOpponent = pCountry->GetNextFixtureForClub(pDivision, idClub, &byHome, &byCompetition, &next);
    EXPECT_GT(nOpponent, 0);
    EXPECT_EQ(next, dates[3]);
    EXPECT_EQ(byCompetition, CUP_NUMBER_NONE);
    // A cup match before it comes first.
    pCountry->AddCupFixture(new CCupFixturesDatabase);
    static_cast<CCupFixturesDatabase*>(pCountry->GetCupFixtures().GetHead()->pData)
        ->Set(1, CDate(dates[3].GetValue(), -1), 99, idClub, 5, 0, 0, 21, 0);
    m_handler->SetGameDate(CDate(dates[3].GetValue(), -2));
    EXPECT_EQ(pCountry->GetNextFixtureForClub(pDivision, idClub, &byHome, &byCompetition, &next), 99);
    EXPECT_EQ(byHome, 0);
    EXPECT_EQ(byCompetition, 1);
    EXPECT_FALSE(pCountry->IsClubFreeOfCupFixture(CDate(dates[3].GetValue(), -1), idClub));
    EXPECT_TRUE(pCountry->IsClubFreeOfCupFixture(dates[3], idClub));

    // Nothing played yet; then the first meeting is.
    auto* pFirst = static_cast<CDivisionFixturesDatabase*>(pDivision->m_lstFixtures.GetHead()->pData);
    EXPECT_EQ(pDivision->FindPlayedFixtureBetween(pFirst->GetHomeClubID(), pFirst->GetAwayClubID(), found), -1);
    pFirst->SetGoals(2, 1);
    EXPECT_EQ(pDivision->FindPlayedFixtureBetween(pFirst->GetAwayClubID(), pFirst->GetHomeClubID(), found),
              pFirst->GetFixtureID());
    EXPECT_EQ(pDivision->FindFixtureByMatchNumber(pFirst->GetFixtureID()), pFirst);
}
