// Domestic cups installed for the countries by name, the new-game
// installation with its events, the fixed calendars and the cup-number lookup.
#include <gtest/gtest.h>

#include <set>

#include "CountryTestSupport.h"
#include "database/CDatabaseHandler.h"
#include "database/CountryCalendars.h"

using namespace countries_test;

namespace {

class CupInstallation : public PeopleWorld {};

std::set<int> InstalledKinds(const CDomesticCupsDatabase& cups)
{
    std::set<int> kinds;
    for (int nKind = 0; nKind < CDomesticCupsDatabase::KIND_COUNT; ++nKind)
        if (cups.GetDefinition(nKind))
            kinds.insert(nKind);
    return kinds;
}

}  // namespace

TEST_F(CupInstallation, EachCountryGetsTheCupsOfItsName)
{
    struct Case {
        const char* name;
        std::set<int> kinds;
    };
    const Case cases[] = {
        {"England", {0, 1, 3, 5}}, {"Scotland", {0, 1}}, {"France", {0, 1}},  {"Italy", {0, 3}},
        {"Germany", {0}},          {"Spain", {0}},       {"Holland", {0, 3}}, {"Belgium", {0}},
        {"Portugal", {0}},         {"Atlantis", {}},     {"england", {}},
    };
    for (const Case& test : cases) {
        CCountryDatabase country;
        country.SetName(test.name);
        country.SetID(2);
        country.InstallDomesticCups();
        CDomesticCupsDatabase& cups = *country.GetDomesticCups();
        EXPECT_EQ(InstalledKinds(cups), test.kinds) << test.name;
        for (int nKind : {CUP_KIND_0, CUP_KIND_1, CUP_KIND_SUPER, CUP_KIND_5}) {
            const ITEMCUPSTRUCTUREINFORMATION* pDefinition = cups.GetDefinition(nKind);
            EXPECT_EQ(cups.InstallCup(nKind), pDefinition != nullptr) << test.name << " kind " << nKind;
            const CUP* pCup = cups.GetCup(nKind);
            ASSERT_EQ(pCup != nullptr, pDefinition != nullptr);
            if (!pCup)
                continue;
            EXPECT_EQ(pCup->byKind, nKind);
            EXPECT_EQ(pCup->byCountry, 2);
            EXPECT_EQ(pCup->byRound, 1);
            EXPECT_EQ(pCup->wTieSlots, pDefinition->wTieSlots);
            EXPECT_EQ(pCup->byRounds, pDefinition->byRounds);
            EXPECT_EQ(pCup->byEntryCount, pDefinition->pEntryRules[0].byEntryCount);
            EXPECT_EQ(pCup->byLegs, pDefinition->pRounds[0].byLegs);
        }
        // A calendar for each of the nine names, none for the others.
        EXPECT_EQ(country.AttachCupCalendars(), !test.kinds.empty()) << test.name;
    }
    // Kinds 2 and 4 have no cup.
    CCountryDatabase country;
    EXPECT_FALSE(country.GetDomesticCups()->InstallCup(2));
    EXPECT_FALSE(country.GetDomesticCups()->AddPending(4, 1, 1, REASON_LEAGUE));
}

TEST_F(CupInstallation, NewGameSchedulesDrawsAndMatchDates)
{
    CCountryDatabase country;
    country.SetName("Scotland");
    country.SetID(2);
    country.SetSeasonStartDate(CDate(2001, 7, 28));
    country.InstallDomesticCups();
    country.GetDomesticCups()->InstallCups();
    // Each of the two cups: a draw before its first round and five one-match rounds.
    ASSERT_EQ(country.GetEvents().GetCount(), 2 + 5 + 5);
    CDate previous;
    int nDraws = 0;
    for (const CEventsDatabase* pEvent : country.GetEvents().Items<CEventsDatabase>()) {
        EXPECT_GE(pEvent->GetDate(), previous);
        previous = pEvent->GetDate();
        EXPECT_EQ(pEvent->GetCountryID(), 2);
        if (pEvent->GetType() == EVENT_CUP_ROUND)
            ++nDraws;
    }
    EXPECT_EQ(nDraws, 2);
    // Kind 0 round 1 is the 4th Saturday of July 2001 (the 28th); its draw is 21 days before.
    const auto* pFirst = static_cast<const CEventsDatabase*>(country.GetEvents().GetHead()->pData);
    EXPECT_EQ(pFirst->GetType(), EVENT_CUP_ROUND);
    EXPECT_EQ(pFirst->GetDataID(), 1536u + CUP_KIND_0);
    EXPECT_EQ(pFirst->GetDate(), CDate(2001, 7, 7));
}

TEST_F(CupInstallation, CupNumbersNameDomesticAndEuropeanCups)
{
    auto* pCountry = new CCountryDatabase;
    pCountry->SetName("Italy");
    pCountry->SetID(3);
    pCountry->InstallDomesticCups();
    pCountry->GetDomesticCups()->InstallCup(CUP_KIND_0);
    pCountry->GetDomesticCups()->InstallCup(CUP_KIND_SUPER);
    m_handler->AddCountry(pCountry);
    m_handler->GetEuropeanCups()->InstallCup(CUP_KIND_1);

    EXPECT_EQ(m_handler->GetCountryFromID(3), pCountry);
    EXPECT_EQ(m_handler->GetCountryFromID(4), nullptr);
    EXPECT_EQ(m_handler->GetCupFromCupNumber(3), pCountry->GetDomesticCups()->GetCup(CUP_KIND_0));
    EXPECT_EQ(m_handler->GetCupFromCupNumber(63), pCountry->GetDomesticCups()->GetCup(CUP_KIND_SUPER));
    EXPECT_EQ(m_handler->GetCupFromCupNumber(23), nullptr);  // Italy has no kind-1 cup
    EXPECT_EQ(m_handler->GetCupFromCupNumber(5), nullptr);   // no country 5
    EXPECT_EQ(m_handler->GetCupFromCupNumber(20), m_handler->GetEuropeanCups()->GetCup(CUP_KIND_1));
    EXPECT_EQ(m_handler->GetCupFromCupNumber(CUP_NUMBER_NONE), nullptr);
}

TEST_F(CupInstallation, CalendarPeriodsFallInTheSeason)
{
    CCountryDatabase country;
    country.SetName("England");
    country.SetSeasonStartDate(CDate(2001, 8, 4));
    ASSERT_TRUE(country.AttachCupCalendars());
    ASSERT_NE(country.GetCupCalendar(), nullptr);
    EXPECT_STREQ(country.GetCupCalendar()->pszOwnerName, "England");
    ASSERT_EQ(country.GetCalendarPeriodCount(), 3);
    uint8_t byKind = 0;
    CDate start, end;
    ASSERT_TRUE(country.GetCalendarPeriod(0, byKind, start, end));
    EXPECT_EQ(byKind, CALENDAR_PERIOD_SINGLE_DAY);
    EXPECT_EQ(start, CDate(2001, 12, 25));
    EXPECT_EQ(end, start);
    for (int i = 1; i < 3; ++i) {
        ASSERT_TRUE(country.GetCalendarPeriod(i, byKind, start, end));
        EXPECT_EQ(start.GetDayOfWeek(), 1);
        EXPECT_EQ(end.GetDayOfWeek(), 0);
        EXPECT_LT(start, end);
        EXPECT_GT(start, country.GetSeasonStartDate());
    }
    EXPECT_FALSE(country.GetCalendarPeriod(3, byKind, start, end));
}
