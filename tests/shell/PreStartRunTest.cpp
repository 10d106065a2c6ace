// Where a new game's pre-start run begins: a month before the target, or a
// month before the season start of a country whose season is under way.
#include "GameInPlay.h"

#include "database/CCountryDatabase.h"
#include "shell/CGameDay.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace shell_test;

TEST(PreStartRun, BeginsAMonthBeforeItsTargetOrBeforeASeasonUnderWay)
{
    GameFolder folder;
    auto world = StartGameInPlay(0);
    ASSERT_NE(world, nullptr) << "the generated starting world did not load";
    // Before every season: a month back, the day kept where the month has it.
    EXPECT_EQ(CGameDay::GetRunStartDate(*world, CDate(1999, 7, 1)), CDate(1999, 6, 1));
    EXPECT_EQ(CGameDay::GetRunStartDate(*world, CDate(1999, 3, 31)), CDate(1999, 2, 28));
    EXPECT_EQ(CGameDay::GetRunStartDate(*world, CDate(1999, 1, 15)), CDate(1998, 12, 15));

    // In mid-season the run covers the season so far, from a month before
    // the earliest season start.
    const CDate target(2000, 1, 31);
    const CDate start = CGameDay::GetRunStartDate(*world, target);
    int nUnderWay = 0, nEarliestGap = 1000;
    for (const CCountryDatabase* pCountry : world->GetCountries().Items<CCountryDatabase>()) {
        const CDate& seasonStart = pCountry->GetSeasonStartDate();
        if (seasonStart < target && pCountry->GetSeasonEndDate() > target) {
            ++nUnderWay;
            EXPECT_GE(seasonStart.DaysBetween(start), 28) << pCountry->GetName();
            nEarliestGap = std::min(nEarliestGap, seasonStart.DaysBetween(start));
        }
    }
    ASSERT_GT(nUnderWay, 0);
    EXPECT_LE(nEarliestGap, 31) << "a month before the earliest season start, no earlier";

    // The run ends on its target.
    CGameDay::ProcessDaysToDate(*world, CDate(1999, 7, 1));
    EXPECT_EQ(world->GetGameDate(), CDate(1999, 7, 1));
}

}  // namespace
