// The world from a new game's first day: the start steps, day after day of
// league fixtures played on their dates into the tables, the pre-start run
// to a new game's start date, scheduled events in date order, the order of
// the week, month, quarter and season work, and where the continue command
// stops.
#include "DayLoopSupport.h"

#include "database/CCupFixturesDatabase.h"
#include "database/CEventsDatabase.h"
#include "season/CRefereeDatabase.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <utility>

using namespace dayloop_test;

namespace {

class NewGame : public DayLoopWorld {};

TEST_F(NewGame, StartsOnFirstJulyWithRefereesFixturesAndWorkingFiles)
{
    EXPECT_EQ(H().GetGameDate(), CDate(1999, 7, 1));
    EXPECT_EQ(H().GetSeasonStartDate(), CDate(1999, 7, 5));
    EXPECT_EQ(CDatabaseHandler::GetWeekNumber(H().GetGameDate()), 26);

    std::set<uint16_t> referees;
    for (CCountryDatabase* pCountry : H().GetCountries().Items<CCountryDatabase>()) {
        SCOPED_TRACE(pCountry->GetName());
        EXPECT_EQ(pCountry->GetReferees().GetCount(), pCountry->GetClubCount() / 2);
        for (const CRefereeDatabase* pReferee : pCountry->GetReferees().Items<CRefereeDatabase>()) {
            EXPECT_TRUE(referees.insert(pReferee->GetID()).second) << "referee numbers are unique";
            EXPECT_EQ(H().FindReferee(pReferee->GetID()), pReferee);
        }
        EXPECT_TRUE(pCountry->GetSeasonStartDate().IsValid());
        EXPECT_TRUE(pCountry->GetSeasonEndDate() > pCountry->GetSeasonStartDate());
    }
    // The working files are held in memory until they are flushed.
    ASSERT_TRUE(H().FlushWorkingFiles());
    for (CDivisionDatabase* pDivision : Divisions()) {
        SCOPED_TRACE(pDivision->GetName());
        const int n = pDivision->GetClubCount();
        EXPECT_EQ(pDivision->m_lstFixtures.GetCount(), n * (n - 1) / 2 * pDivision->GetMeetings());
        for (const CDivisionFixturesDatabase* p : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>()) {
            EXPECT_FALSE(p->IsPlayed());
            EXPECT_NE(H().FindReferee(p->GetRefereeID()), nullptr);
            EXPECT_GE(p->GetDate(), CDate(1999, 8, 1));
        }
        EXPECT_EQ(fs::file_size(pDivision->GetHistoryFileName()),
                  static_cast<uintmax_t>(n * pDivision->m_nGamesPerClub * CDivisionDatabase::HISTORY_RECORD_BYTES));
    }
    EXPECT_EQ(H().GetHistorySlotCount(), 2 * H().GetPlayerCount());
    EXPECT_EQ(static_cast<int64_t>(fs::file_size("temp.phs")),
              CDatabaseHandler::GetPlayerHistoryFileBytes(H().GetHistorySlotCount()));
}

TEST_F(NewGame, PlaysLeagueFixturesOnTheirDatesAndTheTablesAddUp)
{
    int nMatchDays = 0;
    for (int nDay = 0; nDay < 100; ++nDay) {
        const CDate before = H().GetGameDate();
        RunDays(1);
        const CDate today = H().GetGameDate();
        ASSERT_EQ(today, CDate(before.GetValue(), 1)) << "each day moves the date by one";
        bool bAnyToday = false;
        for (CDivisionDatabase* pDivision : Divisions())
            for (const CDivisionFixturesDatabase* p : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>()) {
                ASSERT_EQ(p->IsPlayed(), p->GetDate() <= today) << pDivision->GetName() << " fixture "
                                                                 << p->GetFixtureID() << " on day " << nDay;
                bAnyToday |= p->GetDate() == today;
            }
        nMatchDays += bAnyToday;
    }
    EXPECT_GE(nMatchDays, 14) << "about two match days a week from August";

    long nGoalsSeen = 0;
    for (CDivisionDatabase* pDivision : Divisions()) {
        SCOPED_TRACE(pDivision->GetName());
        std::map<ID_CLUB, std::array<int, 5>> expected;  // played, won, drawn, lost, goals for
        int nGoalsFor = 0, nGoalsAgainst = 0;
        for (const CDivisionFixturesDatabase* p : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>()) {
            if (!p->IsPlayed())
                continue;
            const int h = p->GetHomeGoals(), a = p->GetAwayGoals();
            auto& home = expected[p->GetHomeClubID()];
            auto& away = expected[p->GetAwayClubID()];
            ++home[0];
            ++away[0];
            ++(h > a ? home[1] : h == a ? home[2] : home[3]);
            ++(a > h ? away[1] : h == a ? away[2] : away[3]);
            home[4] += h;
            away[4] += a;
            nGoalsSeen += h + a;
        }
        for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
            const auto& e = expected[pClub->m_wClubId];
            const CLUBLEAGUEROW& home = pClub->m_HomeRow;
            const CLUBLEAGUEROW& away = pClub->m_AwayRow;
            EXPECT_EQ(home.byPlayed + away.byPlayed, e[0]);
            EXPECT_EQ(home.byWon + away.byWon, e[1]);
            EXPECT_EQ(home.byDrawn + away.byDrawn, e[2]);
            EXPECT_EQ(home.byLost + away.byLost, e[3]);
            EXPECT_EQ(pClub->GetGoalsFor(), e[4]);
            EXPECT_EQ(pClub->m_byPoints, 3 * e[1] + e[2]);
            EXPECT_GE(e[0], 8) << "every club has played by October";
            nGoalsFor += pClub->GetGoalsFor();
            nGoalsAgainst += pClub->GetGoalsAgainst();
        }
        EXPECT_EQ(nGoalsFor, nGoalsAgainst);
    }
    EXPECT_GT(nGoalsSeen, 0);
}

TEST_F(NewGame, PreStartRunPlaysTheDaysBeforeItsTargetAndTheMarkets)
{
    ASSERT_TRUE(H().FlushWorkingFiles());
    const std::string historyBefore = ReadFile("temp.phs");
    // One listing that runs out on the way, one free transfer that never does.
    auto* pClub = static_cast<CClubDatabase*>(Divisions().front()->m_lstClubsByID.GetHead()->pData);
    auto* pListed = static_cast<CPlayerDatabase*>(pClub->m_lstPlayers.GetAt(0)->pData);
    auto* pFree = static_cast<CPlayerDatabase*>(pClub->m_lstPlayers.GetAt(1)->pData);
    ASSERT_EQ(H().AddPlayerToListMarket(pListed, 123456, PLAYER_TRANSFER_LISTED, 10), 0);
    ASSERT_EQ(H().AddPlayerToListMarket(pFree, 0, PLAYER_TRANSFER_LEAVING, 10), 0);
    const CDate target(1999, 9, 1);
    H().ProcessDaysToDate(target);
    EXPECT_EQ(H().GetGameDate(), target);

    for (CDivisionDatabase* pDivision : Divisions()) {
        SCOPED_TRACE(pDivision->GetName());
        int nPlayed = 0, nTablePlayed = 0;
        for (const CDivisionFixturesDatabase* p : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>()) {
            EXPECT_EQ(p->IsPlayed(), p->GetDate() < target) << "fixture " << p->GetFixtureID();
            nPlayed += p->IsPlayed();
        }
        for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
            nTablePlayed += pClub->m_HomeRow.byPlayed + pClub->m_AwayRow.byPlayed;
        EXPECT_GT(nPlayed, 0);
        EXPECT_EQ(nTablePlayed, 2 * nPlayed);
    }
    for (CCountryDatabase* pCountry : H().GetCountries().Items<CCountryDatabase>())
        for (const CCupFixturesDatabase* p : pCountry->GetCupFixtures().Items<CCupFixturesDatabase>())
            EXPECT_TRUE(!p->IsPlayed() || p->GetDate() < target) << pCountry->GetName();
    // The market step ran every day.
    EXPECT_EQ(pListed->m_byTransferState, 0) << "the ten-day listing ran out";
    EXPECT_EQ(pFree->m_byTransferState, PLAYER_TRANSFER_LEAVING);
    EXPECT_EQ(pFree->m_wDaysListed, target.DaysBetween(CDate(1999, 7, 1)));
    ASSERT_TRUE(H().FlushWorkingFiles());
    EXPECT_NE(ReadFile("temp.phs"), historyBefore) << "the player history is written";

    // A target already reached runs no day.
    auto countPlayed = [this] {
        int nPlayed = 0;
        for (CDivisionDatabase* pDivision : Divisions())
            for (const CDivisionFixturesDatabase* p : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
                nPlayed += p->IsPlayed();
        return nPlayed;
    };
    const int nPlayed = countPlayed();
    H().ProcessDaysToDate(CDate(1999, 8, 15));
    EXPECT_EQ(H().GetGameDate(), target);
    EXPECT_EQ(countPlayed(), nPlayed);
}

TEST_F(NewGame, EachDaysLeagueResultsArePostedOnceAndAfterTheFixturesChange)
{
    CDivisionDatabase* pDivision = H().GetDivisionFromID(5);  // ten clubs
    ASSERT_NE(pDivision, nullptr);
    ASSERT_EQ(pDivision->GetClubCount(), 10);
    auto matchDays = [pDivision] {
        std::vector<CDate> dates;
        for (const CDivisionFixturesDatabase* p : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
            if (dates.empty() || dates.back() != p->GetDate())
                dates.push_back(p->GetDate());
        return dates;
    };
    auto post = [&](const CDate& date) {
        H().SetGameDate(date);
        return pDivision->PostLeagueResults(date, nullptr);
    };
    std::vector<CDate> dates = matchDays();
    ASSERT_GE(dates.size(), 3u);
    EXPECT_EQ(post(dates[1]), 5) << "the first day passed over";
    EXPECT_EQ(post(dates[1]), 0) << "a day's results are posted once";

    // A fixture of the first day, never played, put off to the second and
    // the list sorted again: it is played when that day is posted again.
    auto* pMoved = static_cast<CDivisionFixturesDatabase*>(pDivision->m_lstFixtures.GetHead()->pData);
    ASSERT_FALSE(pMoved->IsPlayed());
    pMoved->SetDate(dates[1]);
    pDivision->SortFixturesByDate();
    EXPECT_EQ(post(dates[1]), 1);
    EXPECT_TRUE(pMoved->IsPlayed());

    // Fixtures made again are walked afresh.
    H().SetGameDate(CDate(1999, 7, 1));
    pDivision->GenerateLeagueFixtures();
    dates = matchDays();
    EXPECT_EQ(post(dates[0]), 5);
    EXPECT_EQ(post(dates[1]), 5);
}

TEST_F(NewGame, ScheduledEventsRunOnTheirDaysInTheOrderTheyWereAdded)
{
    LogCapture log;
    CCountryDatabase* pCountry = H().GetCountryFromID(1);
    ASSERT_NE(pCountry, nullptr);
    const CDate today = H().GetGameDate();
    // Notices log their type when they run; two share a date.
    pCountry->AddEvent(EVENT_BLOCKED_PERIOD_END_NOTICE, CDate(today.GetValue(), 3), 1);
    pCountry->AddEvent(EVENT_BLOCKED_PERIOD_START_NOTICE, CDate(today.GetValue(), 2), 1);
    pCountry->AddEvent(EVENT_BLOCKED_PERIOD_END_NOTICE, CDate(today.GetValue(), 2), 1);
    // One dated before today runs with the next day.
    pCountry->AddEvent(EVENT_BLOCKED_PERIOD_START_NOTICE, CDate(today.GetValue(), -5), 1);
    std::vector<std::pair<uint32_t, int>> scheduled;
    for (const CEventsDatabase* p : pCountry->GetEvents().Items<CEventsDatabase>())
        scheduled.emplace_back(p->GetDate().GetValue(), p->GetType());

    std::vector<int> runTypes;
    std::vector<uint32_t> runDays;
    for (int nDay = 0; nDay < 40; ++nDay) {
        const size_t nSeen = log.Lines().size();
        RunDays(1);
        for (size_t i = nSeen; i < log.Lines().size(); ++i) {
            const std::string& line = log.Lines()[i];
            const size_t at = line.find("RunBlockedPeriodNotice] Event ");
            if (at != std::string::npos) {
                runTypes.push_back(std::stoi(line.substr(at + 30)));
                runDays.push_back(H().GetGameDate().GetValue());
            }
        }
        for (const CEventsDatabase* p : pCountry->GetEvents().Items<CEventsDatabase>())
            ASSERT_GT(p->GetDate(), H().GetGameDate()) << "an event due today was left";
    }
    // Every notice due by now ran, in list order, on its day (the late one
    // on the first day entered).
    std::vector<int> expectedTypes;
    std::vector<uint32_t> expectedDays;
    for (const auto& [dwDate, nType] : scheduled)
        if ((nType == EVENT_BLOCKED_PERIOD_START_NOTICE || nType == EVENT_BLOCKED_PERIOD_END_NOTICE) &&
            CDate(dwDate) <= H().GetGameDate()) {
            expectedTypes.push_back(nType);
            expectedDays.push_back(std::max(dwDate, CDate(today.GetValue(), 1).GetValue()));
        }
    EXPECT_EQ(runTypes, expectedTypes);
    EXPECT_EQ(runDays, expectedDays);
    // The two of one date in the order they were added.
    std::vector<int> sameDate;
    for (const auto& [dwDate, nType] : scheduled)
        if (CDate(dwDate) == CDate(today.GetValue(), 2))
            sameDate.push_back(nType);
    EXPECT_EQ(sameDate, (std::vector<int>{EVENT_BLOCKED_PERIOD_START_NOTICE, EVENT_BLOCKED_PERIOD_END_NOTICE}));
    EXPECT_GE(runTypes.size(), 4u);
}

TEST_F(NewGame, WeekMonthQuarterAndSeasonWorkRunInOrder)
{
    LogCapture log;
    auto indexOf = [&log](const std::string& text, size_t nFrom) {
        for (size_t i = nFrom; i < log.Lines().size(); ++i)
            if (log.Lines()[i].find(text) != std::string::npos)
                return static_cast<int>(i);
        return -1;
    };
    CDate date;
    uint8_t byWeek = 9, byMonth = 0, bySeason = 9;
    // Monday 1 November 1999: the week before the month, no quarter.
    H().SetGameDate(CDate(1999, 10, 31));
    size_t nFrom = log.Lines().size();
    H().DoNextDay(date, byWeek, byMonth, bySeason, 1);
    EXPECT_EQ(date, CDate(1999, 11, 1));
    EXPECT_EQ(byWeek, 1);
    EXPECT_EQ(byMonth, 1);
    EXPECT_EQ(bySeason, 0);
    const int nWeek = indexOf("ProcessDivisions", nFrom);
    const int nMonth = indexOf("ProcessAwards", nFrom);
    ASSERT_GE(nWeek, 0);
    EXPECT_GT(nMonth, nWeek);
    EXPECT_EQ(indexOf("DoQuarterUpdate", nFrom), -1);

    // Wednesday 1 December: month, then quarter; the caller clears the month flag.
    H().SetGameDate(CDate(1999, 11, 30));
    byMonth = 0;
    nFrom = log.Lines().size();
    H().DoNextDay(date, byWeek, byMonth, bySeason, 1);
    EXPECT_EQ(byWeek, 0);
    EXPECT_EQ(byMonth, 1);
    EXPECT_GT(indexOf("DoQuarterUpdate", nFrom), indexOf("ProcessAwards", nFrom));
    H().DoNextDay(date, byWeek, byMonth, bySeason, 1);
    EXPECT_EQ(byMonth, 1) << "left for the caller to clear";

    // The season turns on the anniversary of 5 July 1999, only when allowed.
    H().SetGameDate(CDate(2000, 7, 4));
    H().DoNextDay(date, byWeek, byMonth, bySeason, 0);
    EXPECT_EQ(bySeason, 0);
    EXPECT_EQ(H().GetSeasonStartDate(), CDate(1999, 7, 5));
    H().SetGameDate(CDate(2000, 7, 3));
    H().DoNextDay(date, byWeek, byMonth, bySeason, 1);
    EXPECT_EQ(bySeason, 0) << "the day before the anniversary";
    H().DoNextDay(date, byWeek, byMonth, bySeason, 1);
    EXPECT_EQ(date, CDate(2000, 7, 5));
    EXPECT_EQ(bySeason, 1);
    EXPECT_EQ(H().GetSeasonStartDate(), CDate(2000, 7, 3));
    H().DoNextDay(date, byWeek, byMonth, bySeason, 1);
    EXPECT_EQ(bySeason, 0);
    EXPECT_EQ(H().GetClubFromID(1)->m_wClubId, 1) << "the club table is rebuilt";
}

TEST_F(NewGame, ContinueStopsOnTheRightDays)
{
    // Mode 0 always stops tomorrow; the stop day's fixtures are left for
    // the match-day screens.
    RunDays(36);
    ASSERT_EQ(H().GetGameDate(), CDate(1999, 8, 6));
    CDate target;
    H().GetContinueDate(target);
    EXPECT_EQ(target, CDate(1999, 8, 7));
    H().SetContinueMode(1);
    H().GetContinueDate(target);
    EXPECT_EQ(target, CDate(1999, 8, 7)) << "no human: tomorrow";
    H().SetContinueMode(0);
    EXPECT_EQ(H().ProcessDay(), 1);
    ASSERT_EQ(H().GetGameDate(), CDate(1999, 8, 7));
    int nToday = 0;
    for (CDivisionDatabase* pDivision : Divisions())
        for (const CDivisionFixturesDatabase* p : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
            if (p->GetDate() == H().GetGameDate()) {
                EXPECT_FALSE(p->IsPlayed());
                ++nToday;
            }
    ASSERT_GT(nToday, 0);
    // The cups play on league days too.
    for (const CCountryDatabase* pCountry : H().GetCountries().Items<CCountryDatabase>())
        for (const CCupFixturesDatabase* p : pCountry->GetCupFixtures().Items<CCupFixturesDatabase>())
            nToday += p->GetDate() == H().GetGameDate();
    for (const CCupFixturesDatabase* p : H().GetCupFixtures().Items<CCupFixturesDatabase>())
        nToday += p->GetDate() == H().GetGameDate();
    EXPECT_EQ(H().DoMatchDay(H().GetGameDate()), nToday);
    EXPECT_EQ(H().DoMatchDay(H().GetGameDate()), 0) << "a fixture is played once";

    // A human's stop: his club's next match, or the Sunday when sooner.
    const CClubDatabase* pClub = H().GetClubFromID(1);
    ASSERT_NE(pClub, nullptr);
    struct Case {
        CDate today;
        bool bHasClub;
    };
    for (const Case& c : {Case{CDate(1999, 8, 2), true}, Case{CDate(1999, 8, 8), true},
                          Case{CDate(1999, 8, 10), false}, Case{CDate(1999, 8, 15), false}}) {
        H().SetGameDate(c.today);
        CDate next;
        const bool bNext = H().GetNextMatchDate(pClub, c.today, next);
        const CDate sunday(c.today.GetValue(), 7 - c.today.GetDayOfWeek());
        const CDate expected = c.bHasClub && bNext ? std::min(next, sunday) : sunday;
        EXPECT_EQ(H().GetContinueStopForClub(pClub, c.bHasClub), expected) << c.today.GetValue();
        EXPECT_GT(expected, c.today);
        EXPECT_LE(expected, CDate(c.today.GetValue(), 7));
    }
}

}  // namespace
