// League fixtures: every pair meets as often as the meetings rule says, no
// club plays twice on a day, the dates keep clear of breaks and cup rounds,
// and the match days and games per club follow one rule.
#include "SeasonTestSupport.h"

#include "common/CDate.h"

#include <algorithm>
#include <cstdlib>

using namespace season_test;

namespace {

struct SizeCase {
    int nClubs;
    uint8_t byRule;
};

class LeagueFixtures : public SeasonWorld {};

}  // namespace

TEST_F(LeagueFixtures, EveryPairMeetsByTheRuleForAnySize)
{
    const int kMeetings[4] = {2, 4, 3, 1};
    const SizeCase cases[] = {{2, 0},  {3, 0},  {5, 3},  {7, 2},  {8, 0},  {9, 1},  {10, 2}, {13, 3},
                              {16, 1}, {19, 0}, {20, 0}, {20, 1}, {20, 2}, {20, 3}, {21, 2}, {24, 1},
                              {25, 0}, {30, 3}, {31, 2}};
    CCountryDatabase* pCountry = AddCountry("Nowhere", 12);
    AddReferees(pCountry, 16);
    for (const SizeCase& c : cases) {
        SCOPED_TRACE("clubs " + std::to_string(c.nClubs) + " rule " + std::to_string(c.byRule));
        CDivisionDatabase* pDivision = AddDivision(pCountry, c.nClubs, 1, c.byRule);
        pDivision->GenerateLeagueFixtures();
        const int nMeetings = kMeetings[c.byRule];
        const int nRounds = c.nClubs % 2 == 0 ? c.nClubs - 1 : c.nClubs;

        const auto fixtures = Fixtures(*pDivision);
        ASSERT_EQ(static_cast<int>(fixtures.size()), c.nClubs * (c.nClubs - 1) / 2 * nMeetings);
        EXPECT_EQ(pDivision->GetTotalFixtureCount(), static_cast<int>(fixtures.size()));

        std::map<std::pair<int, int>, int> ordered;
        std::map<int, int> games;
        std::map<uint32_t, std::set<int>> playing;
        std::set<uint32_t> dates;
        std::set<uint32_t> numbers;
        for (const CDivisionFixturesDatabase* p : fixtures) {
            ASSERT_NE(p->GetHomeClubID(), p->GetAwayClubID());
            ++ordered[{p->GetHomeClubID(), p->GetAwayClubID()}];
            ++games[p->GetHomeClubID()];
            ++games[p->GetAwayClubID()];
            EXPECT_TRUE(playing[p->GetDate().GetValue()].insert(p->GetHomeClubID()).second) << "twice on a day";
            EXPECT_TRUE(playing[p->GetDate().GetValue()].insert(p->GetAwayClubID()).second) << "twice on a day";
            EXPECT_EQ(p->GetGroundID(), 100 + p->GetHomeClubID());
            EXPECT_TRUE(p->GetDate() >= pDivision->m_SeasonStart && p->GetDate() <= pDivision->m_SeasonEnd);
            EXPECT_TRUE(numbers.insert(p->GetFixtureID()).second) << "match numbers are unique";
            dates.insert(p->GetDate().GetValue());
        }
        // Match days and games per club come from the same rule.
        EXPECT_EQ(static_cast<int>(dates.size()), nRounds * nMeetings);
        EXPECT_EQ(pDivision->GetLeagueDateCount(), nRounds * nMeetings);
        EXPECT_EQ(pDivision->m_nGamesPerClub, (c.nClubs - 1) * nMeetings);
        const CDate last(*dates.rbegin());
        for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
            EXPECT_EQ(games[pClub->m_wClubId], pDivision->m_nGamesPerClub);
            EXPECT_EQ(pDivision->CountClubMatchDays(last, pClub->m_wClubId, 0, false), pDivision->m_nGamesPerClub);
        }
        // Every pair the right number of times, the grounds shared out evenly.
        for (const CClubDatabase* a : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
            for (const CClubDatabase* b : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
                if (a->m_wClubId >= b->m_wClubId)
                    continue;
                const int nAtA = ordered[{a->m_wClubId, b->m_wClubId}];
                const int nAtB = ordered[{b->m_wClubId, a->m_wClubId}];
                EXPECT_EQ(nAtA + nAtB, nMeetings);
                EXPECT_LE(std::abs(nAtA - nAtB), 1);
            }
    }
}

TEST_F(LeagueFixtures, RefereesAreAssignedOncePerDay)
{
    CCountryDatabase* pCountry = AddCountry("Nowhere", 12);
    AddReferees(pCountry, 10);
    CDivisionDatabase* pDivision = AddDivision(pCountry, 20);
    pDivision->GenerateLeagueFixtures();
    std::map<uint32_t, std::set<uint16_t>> byDate;
    for (const CDivisionFixturesDatabase* p : Fixtures(*pDivision)) {
        ASSERT_NE(pCountry->GetRefereeFromID(p->GetRefereeID()), nullptr);
        EXPECT_TRUE(byDate[p->GetDate().GetValue()].insert(p->GetRefereeID()).second);
    }
    EXPECT_FALSE(Logged("Out of referees"));
    int nAssignments = 0;
    for (const CRefereeDatabase* pReferee : pCountry->GetReferees().Items<CRefereeDatabase>()) {
        nAssignments += pReferee->GetAssignmentCount();
        EXPECT_FALSE(pReferee->IsAvailable(pDivision->m_NextMatchDate.GetValue()));
    }
    EXPECT_EQ(nAssignments, 380);

    // Making the fixtures again takes the old ones off the referees.
    pDivision->GenerateLeagueFixtures();
    nAssignments = 0;
    for (const CRefereeDatabase* pReferee : pCountry->GetReferees().Items<CRefereeDatabase>())
        nAssignments += pReferee->GetAssignmentCount();
    EXPECT_EQ(nAssignments, 380);
}

TEST_F(LeagueFixtures, TooFewRefereesAndNoneAtAll)
{
    CCountryDatabase* pCountry = AddCountry("Nowhere", 12);
    AddReferees(pCountry, 2);
    CDivisionDatabase* pDivision = AddDivision(pCountry, 8);
    pDivision->GenerateLeagueFixtures();
    EXPECT_TRUE(Logged("[CDivisionDatabase::GenerateLeagueFixtures] Out of referees!"));
    // Beyond the two free ones the country's first referee stands in.
    for (const CDivisionFixturesDatabase* p : Fixtures(*pDivision))
        EXPECT_NE(p->GetRefereeID(), 0);

    m_log.clear();
    CCountryDatabase* pBare = AddCountry("Barren", 13);
    CDivisionDatabase* pLonely = AddDivision(pBare, 6);
    pLonely->GenerateLeagueFixtures();
    ASSERT_EQ(pLonely->m_lstFixtures.GetCount(), 30);
    for (const CDivisionFixturesDatabase* p : Fixtures(*pLonely))
        EXPECT_EQ(p->GetReferee(), 0u);
    EXPECT_TRUE(Logged("Barren has no referees: referee 0"));
}

TEST_F(LeagueFixtures, DatesKeepClearOfBreaksAndCupRounds)
{
    CCountryDatabase* pCountry = AddCountry("England", 1);
    ASSERT_GT(pCountry->GetCalendarPeriodCount(), 0);
    AddReferees(pCountry, 12);
    CDivisionDatabase* pTop = AddDivision(pCountry, 20, 1);
    CDivisionDatabase* pSecond = AddDivision(pCountry, 24, 2, 2);
    pCountry->SetSeasonStartDate(pTop->m_SeasonStart);
    pCountry->GenerateLeagueFixtures();

    const CDomesticCupsDatabase& cups = *pCountry->GetDomesticCups();
    for (CDivisionDatabase* pDivision : {pTop, pSecond}) {
        std::set<uint32_t> dates;
        for (const CDivisionFixturesDatabase* p : Fixtures(*pDivision)) {
            dates.insert(p->GetDate().GetValue());
            EXPECT_FALSE(pCountry->IsDateBlocked(p->GetDate())) << p->GetDate().GetValue();
            EXPECT_TRUE(pDivision->IsDateFreeForDivision(p->GetDate()));
        }
        EXPECT_EQ(static_cast<int>(dates.size()), pDivision->GetLeagueDateCount());
    }
    // Christmas Day is a break of its own, every season.
    EXPECT_TRUE(pCountry->IsDateBlocked(CDate(2001, 12, 25)));
    EXPECT_FALSE(pCountry->IsDateBlocked(CDate(2001, 12, 24)));
    EXPECT_FALSE(pCountry->IsDateBlocked(CDate(2001, 12, 26)));

    // The national cup's third round is open to every division: its match
    // day and the two days either side are refused, the third day is not.
    const ITEMCUPROUNDINFORMATION* pRound = cups.GetRound(CUP_KIND_0, 2);
    CDate leg;
    ASSERT_TRUE(cups.GetRoundDate(pRound, false, leg, CUP_KIND_0));
    for (int nDays : {-2, 0, 2})
        EXPECT_FALSE(pTop->IsDateFreeForDivision(CDate(leg.GetValue(), nDays))) << nDays;
    EXPECT_TRUE(pTop->IsDateFreeForDivision(CDate(leg.GetValue(), 3)));
    // Its first round is only for the divisions below the top one.
    pRound = cups.GetRound(CUP_KIND_0, 0);
    ASSERT_TRUE(cups.GetRoundDate(pRound, false, leg, CUP_KIND_0));
    EXPECT_TRUE(pTop->IsDateFreeForDivision(leg));
    EXPECT_FALSE(pSecond->IsDateFreeForDivision(leg));
    // A top club and a second-division club together meet both rules.
    const ID_CLUB idTop = static_cast<const CClubDatabase*>(pTop->m_lstClubsByTable.GetHead()->pData)->m_wClubId;
    const ID_CLUB idLow = static_cast<const CClubDatabase*>(pSecond->m_lstClubsByTable.GetHead()->pData)->m_wClubId;
    EXPECT_FALSE(pTop->IsDateFreeForClubs(leg, idTop, idLow));
    EXPECT_TRUE(pTop->IsDateFreeForClubs(leg, idTop, idTop));

    // The four events of each break were scheduled, once.
    int nStarts = 0;
    for (const CEventsDatabase* pEvent : pCountry->GetEvents().Items<CEventsDatabase>())
        nStarts += pEvent->GetType() == EVENT_BLOCKED_PERIOD_START;
    EXPECT_EQ(nStarts, pCountry->GetCalendarPeriodCount());
    pCountry->GenerateLeagueFixtures();
    nStarts = 0;
    for (const CEventsDatabase* pEvent : pCountry->GetEvents().Items<CEventsDatabase>())
        nStarts += pEvent->GetType() == EVENT_BLOCKED_PERIOD_START;
    EXPECT_EQ(nStarts, pCountry->GetCalendarPeriodCount());
}

TEST_F(LeagueFixtures, CrowdedSeasonStillGetsEveryMatchDay)
{
    CCountryDatabase* pCountry = AddCountry("Nowhere", 12);
    AddReferees(pCountry, 6);
    CDivisionDatabase* pDivision = AddDivision(pCountry, 12, 1, 1);
    pDivision->m_SeasonEnd = CDate(2001, 11, 30);  // 16 weeks for 44 match days
    pDivision->GenerateLeagueFixtures();
    std::set<uint32_t> dates;
    for (const CDivisionFixturesDatabase* p : Fixtures(*pDivision))
        dates.insert(p->GetDate().GetValue());
    EXPECT_EQ(static_cast<int>(dates.size()), 44);
    EXPECT_EQ(pDivision->m_lstFixtures.GetCount(), 12 * 11 * 2);
    EXPECT_FALSE(Logged("cannot fit"));

    // Far too short: the last match days follow the season end, with a warning.
    m_log.clear();
    pDivision->m_SeasonEnd = CDate(2001, 9, 1);
    pDivision->GenerateLeagueFixtures();
    dates.clear();
    for (const CDivisionFixturesDatabase* p : Fixtures(*pDivision))
        dates.insert(p->GetDate().GetValue());
    EXPECT_EQ(static_cast<int>(dates.size()), 44);
    EXPECT_TRUE(Logged("cannot fit 44 match days"));
}

TEST_F(LeagueFixtures, TemplateFollowsTheCircleRule)
{
    // Day 1 of 8 clubs: 1 v 2, then (3, 8), (4, 7), (5, 6); day 2 swaps the grounds.
    const int expected[4][2] = {{1, 2}, {3, 8}, {4, 7}, {5, 6}};
    for (int m = 0; m < 4; ++m) {
        int nHome = 0, nAway = 0;
        ASSERT_TRUE(CDivisionDatabase::GetTemplatePair(8, 0, m, nHome, nAway));
        EXPECT_EQ(nHome, expected[m][0]);
        EXPECT_EQ(nAway, expected[m][1]);
    }
    int nHome = 0, nAway = 0;
    ASSERT_TRUE(CDivisionDatabase::GetTemplatePair(8, 1, 0, nHome, nAway));
    EXPECT_EQ(nHome, 3);
    EXPECT_EQ(nAway, 1);
    // Day 8 repeats day 1 with the grounds swapped.
    ASSERT_TRUE(CDivisionDatabase::GetTemplatePair(8, 7, 0, nHome, nAway));
    EXPECT_EQ(nHome, 2);
    EXPECT_EQ(nAway, 1);
    // Seven clubs use the template of eight; whoever meets place 8 rests.
    EXPECT_FALSE(CDivisionDatabase::GetTemplatePair(7, 0, 1, nHome, nAway));
    EXPECT_FALSE(CDivisionDatabase::GetTemplatePair(1, 0, 0, nHome, nAway));
}
