#pragma once
// A country with something in every list it owns, built on the people test
// world, and helpers to save and load records as bytes.
#include "../people/PeopleTestSupport.h"
#include "common/CBinaryFile.h"
#include "database/CCountryDatabase.h"
#include "database/CClubDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CEventsDatabase.h"
#include "season/CDomesticCupsDatabase.h"
#include "season/CEuropeanCupDatabase.h"
#include "season/CNewspaperStoryList.h"
#include "season/CRefereeDatabase.h"

#include <memory>

namespace countries_test {

using namespace people_test;

inline Bytes ReadFileBytesOf(FILE* file)
{
    Bytes bytes;
    std::rewind(file);
    int c;
    while ((c = std::fgetc(file)) != EOF)
        bytes.push_back(static_cast<uint8_t>(c));
    return bytes;
}

inline Bytes SaveCountry(const CCountryDatabase& country)
{
    return SaveToBytes(country, &CCountryDatabase::Save);
}

// Loads a country from bytes; null when it is refused.
inline std::unique_ptr<CCountryDatabase> LoadCountry(const Bytes& bytes)
{
    ByteStream stream(bytes);
    auto pCountry = std::make_unique<CCountryDatabase>();
    if (!pCountry->Load(stream.reader()))
        return nullptr;
    return pCountry;
}

inline CCupFixturesDatabase* MakeFixture(uint32_t id, const CDate& date, ID_CLUB home, ID_CLUB away,
                                         uint32_t otherLeg, CUP_NUMBER cup, uint8_t kind, uint16_t referee)
{
    auto* pFixture = new CCupFixturesDatabase;
    pFixture->Set(kind, date, home, away, id, otherLeg, 0, cup, 3);
    pFixture->SetReferee(referee);
    return pFixture;
}

inline CDivisionDatabase* MakeDivision(uint8_t id, uint8_t number, std::initializer_list<ID_CLUB> clubs)
{
    auto* pDivision = new CDivisionDatabase;
    pDivision->SetName(number == 1 ? "Premier Circle" : "First Ring");
    pDivision->m_byDivisionId = id;
    pDivision->m_byDivisionNumber = number;
    pDivision->m_byStartMonth = 8;
    pDivision->m_byStartWeek = 2;
    pDivision->m_byEndMonth = 5;
    pDivision->m_byEndWeek = 2;
    pDivision->m_bySeasonWeekday = 6;
    pDivision->m_SeasonStart = CDate(2001, 8, 11);
    pDivision->m_SeasonEnd = CDate(2002, 5, 11);
    for (ID_CLUB id : clubs) {
        auto* pClub = new CClubDatabase;
        pClub->m_wClubId = id;
        const std::string name = "Club " + std::to_string(id);
        pClub->SetName(name.c_str());
        pClub->SetShortName(name.c_str());
        pDivision->AppendClub(pClub);
    }
    return pDivision;
}

// England (identifier 1) with two divisions of three clubs, two referees, a two-legged cup tie and a
// single cup match, three events, a story of each form, season records, an
// unattached player and running cups of kinds 0, 1 and 5; the kind-0 cup has
// an odd number of clubs drawn.
inline std::unique_ptr<CCountryDatabase> MakeCountry()
{
    auto pCountry = std::make_unique<CCountryDatabase>();
    CCountryDatabase& c = *pCountry;
    c.SetName("England");
    c.SetID(1);
    c.SetSecondID(7);
    c.SetLevel(80);
    c.SetSetting(1, 2);
    c.SetSetting(2, 3);
    c.SetEconomyIndex(420);
    c.SetEconomyTrend(-3);
    c.SetClimate(1);
    c.SetWeather(5);
    c.SetMoreByte(2, 9);
    for (int i = 0; i < CCountryDatabase::VALUE_SLOTS; ++i)
        c.SetStoredValue(i, 1000 * i - 7);
    c.SetNationalGroundID(3);
    for (int i = 0; i < CCountryDatabase::CUP_BYES; ++i)
        c.SetCupByes(i, static_cast<uint8_t>(i + 1));
    c.SetFlag(1, 4);
    c.SetSeasonStartDate(CDate(2001, 8, 4));
    c.SetLeagueEndDate(CDate(2002, 5, 11));
    c.SetSeasonEndDate(CDate(2002, 5, 26));

    c.AddDivision(MakeDivision(3, 1, {11, 12}));
    c.AddDivision(MakeDivision(4, 2, {13}));
    // The last league match day of the season.
    auto* pDivision = static_cast<CDivisionDatabase*>(c.GetDivisions().GetHead()->pData);
    pDivision->m_lstFixtures.AddTail(new CDivisionFixturesDatabase(40, CDate(2002, 5, 25), 11, 12, 1, 1, 3));

    auto* pReferee = new CRefereeDatabase;
    pReferee->Set(1, 'A', 0);
    c.AddReferee(pReferee);
    pReferee = new CRefereeDatabase;
    pReferee->Set(2, 'B', OffsetOf(LastNames(), 1));
    c.AddReferee(pReferee);

    c.AddCupFixture(MakeFixture(500, CDate(2001, 11, 17), 11, 12, 0, 1, 1, 1));  // linked by its tie
    c.AddCupFixture(MakeFixture(501, CDate(2001, 11, 24), 12, 11, 500, 1, 1, 2));
    c.AddCupFixture(MakeFixture(502, CDate(2001, 12, 8), 13, 14, 0, 21, 1, 2));

    c.AddEvent(EVENT_CUP_ROUND, CDate(2001, 11, 3), 1536);
    c.AddEvent(EVENT_CUP_MATCH_DATE, CDate(2001, 10, 3), 33);
    c.AddEvent(EVENT_CUP_MATCH_DATE, CDate(2001, 11, 3), 65);

    CNewspaperStoryList& stories = *c.GetNewspaperStories();
    auto* pStory = new CNewspaperStory(0, 317, CDate(2001, 9, 1));
    pStory->SetFirstField(44);
    pStory->SetParameterSlot(0, 11);
    pStory->SetParameterSlot(4, 1);
    pStory->SetParameterSlot(6, 395);
    stories.AddStory(pStory);
    pStory = new CNewspaperStory(STORY_KIND_PLAYER_AWARDS, 0, CDate(2001, 10, 1));
    const STORYAWARDENTRY entries[2] = {{4, 77, 11}, {5, 78, 13}};
    pStory->SetAwardEntries(entries, 2);
    pStory->SetReadMask(5);
    stories.AddStory(pStory);
    pStory = new CNewspaperStory(STORY_KIND_BEST_ELEVEN, 4, CDate(2002, 1, 1));
    for (int i = 0; i < CNewspaperStory::BEST_ELEVEN; ++i)
        pStory->SetBestEleven(i, 11 + i, 300 + i);
    stories.AddStory(pStory);
    stories.AddPendingStory(0, 316);  // never saved

    uint8_t large[CCountryDatabase::RAW_RECORD_LARGE];
    for (int i = 0; i < CCountryDatabase::RAW_RECORD_LARGE; ++i)
        large[i] = static_cast<uint8_t>(i * 3);
    c.AddLargeRecord(large);
    const uint8_t small[CCountryDatabase::RAW_RECORD_SMALL] = {1, 2, 3, 4, 5, 6, 7, 8};
    c.AddSmallRecord(small);
    c.AddSmallRecord(small);

    ByteStream player(MakePlayerImage(77));
    c.AddCountryPlayer(new CPlayerDatabase(player.reader(), &c, nullptr, nullptr, false));

    CDomesticCupsDatabase& cups = *c.GetDomesticCups();
    c.InstallDomesticCups();
    cups.InstallCup(CUP_KIND_0);
    CUP* pCup = cups.GetCup(CUP_KIND_0);
    pCup->wClubsDrawn = 3;
    *pCup->GetTie(0) = CUPTIE{1, 4, 6, 0, 11, 12, 500, 501};
    pCup->GetTie(1)->wHomeClub = 13;
    pCup->GetTie(1)->byHomeMark = 2;
    cups.AddPending(CUP_KIND_0, 14, 2, REASON_LEAGUE);
    cups.AddPending(CUP_KIND_0, 0, 3, REASON_NOT_ENOUGH_CLUBS);
    cups.AddListed(CUP_KIND_0, 11, 1);
    cups.AddListed(CUP_KIND_0, 12, 1);
    cups.InstallCup(CUP_KIND_1);
    pCup = cups.GetCup(CUP_KIND_1);
    pCup->byRound = 2;
    pCup->wClubsDrawn = 2;
    *pCup->GetTie(0) = CUPTIE{0, 255, 255, 0, 13, 14, 502, 0};
    cups.InstallCup(CUP_KIND_5);
    cups.AddPending(CUP_KIND_5, 15, 1, REASON_LEAGUE);
    return pCountry;
}

}  // namespace countries_test
