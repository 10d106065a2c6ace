// The division on file and its league table.
#include "ClubTestSupport.h"

#include "database/CDivisionFixturesDatabase.h"
#include "database/CHistoryEntries.h"

namespace clubs_test {
namespace {

class Division : public PeopleWorld {
protected:
    static CClubDatabase* AddClub(CDivisionDatabase& division, ID_CLUB id, const char* name)
    {
        auto* club = new CClubDatabase;
        club->m_wClubId = id;
        club->SetName(name);
        club->SetShortName(name);
        division.AppendClub(club);
        return club;
    }

    // A division with four clubs, fixtures out of date order, a transfer and
    // a loan record, an archive record and a play-off.
    static void Fill(CDivisionDatabase& d)
    {
        d.SetName("Premier Circle");
        d.m_byDivisionId = 3;
        d.m_byDivisionNumber = 1;
        d.m_bySeasonWeekday = 6;
        d.m_byMidweekWeekday = 3;
        d.m_byStartMonth = 8;
        d.m_byStartWeek = 2;
        d.m_byEndMonth = 5;
        d.m_byEndWeek = 3;
        d.m_byPromotionZone = 1;
        d.m_byRelegationZone = 3;
        d.m_byMeetingsRule = 0;
        d.m_byGoalValueRule = 1;
        d.m_bySquadNumbers = 1;
        d.m_MatchRules = {0x01020304, 5};
        d.m_SeasonStart = CDate(2001, 8, 11);
        d.m_SeasonEnd = CDate(2002, 5, 18);
        d.m_anFigures[2] = -7;
        d.m_aEleven[4] = {2, 101, 9};
        d.m_nManagerOfPeriod = 9;
        AddClub(d, 4, "Quarry Lane");
        AddClub(d, 2, "Eastholm");
        AddClub(d, 3, "Marlow Vale");
        AddClub(d, 1, "Castlebridge");
        d.m_lstFixtures.AddTail(new CDivisionFixturesDatabase(12, CDate(2001, 9, 1), 1, 2, 5, 3, 40));
        d.m_lstFixtures.AddTail(new CDivisionFixturesDatabase(11, CDate(2001, 8, 25), 3, 4, 6, 2, 41));
        auto* transfer = new CTransferHistoryEntry;
        transfer->Set({101, 250000, 2, 3, CDate(2001, 8, 2), 1});
        d.m_lstSeasonTransfers.AddTail(transfer);
        auto* loan = new CLoanHistoryEntry;
        loan->Set({102, {1, 2, 3, 4}, {5, 6}});
        d.m_lstSeasonLoans.AddTail(loan);
        auto* archive = new DIVISIONARCHIVERECORD;
        archive->abyData[0] = 3;
        archive->abyData[388] = 1;
        archive->abyData[404] = 50;
        d.m_lstSeasonArchive.AddTail(archive);
        d.m_pPlayOff = new PLAYOFFRECORD;
        d.m_pPlayOff->byCurrentRound = 1;
        d.m_pPlayOff->Entries = {{3, -1}, {2, 4}};
    }
};

TEST_F(Division, ReadsAndWritesTheSameBytes)
{
    CDivisionDatabase division;
    Fill(division);
    const Bytes image = SaveToBytes(division, &CDivisionDatabase::Save);
    ASSERT_EQ(image.size(), DIVISION_RECORD_BYTES + 4 * CLUB_RECORD_BYTES + 2 * 28 + 20 + 16 + 408 + 1 + 2 + 16u);
    // A few fields at their offsets.
    EXPECT_EQ(image[228], 4);  // clubs
    EXPECT_EQ(image[184], 2);  // fixtures
    EXPECT_EQ(image[148], 1);  // transfer records
    EXPECT_EQ(image[229], 1);  // archive records
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&image[187])), "Premier Circle");
    EXPECT_EQ(image[140] | image[141] << 8, 2001);
    EXPECT_EQ(image[142], 8);
    EXPECT_EQ(image[143], 11);
    EXPECT_EQ(image[DIVISION_RECORD_BYTES + 810], 4);  // the first club in table order

    m_handler->SetGameDate(CDate(2001, 8, 20));
    ByteStream stream(image);
    CDivisionDatabase again;
    ASSERT_TRUE(again.Load(stream.reader(), nullptr));
    EXPECT_EQ(again.GetClubCount(), 4);
    EXPECT_EQ(again.m_nGamesPerClub, 6);
    EXPECT_EQ(again.m_nClubAppearances, 24);
    EXPECT_EQ(again.m_NextMatchDate, CDate(2001, 8, 25));
    // Fixtures come back in date order, the id list in id order, the table as saved.
    EXPECT_EQ(static_cast<CDivisionFixturesDatabase*>(again.m_lstFixtures.GetHead()->pData)->GetFixtureID(), 11u);
    EXPECT_EQ(static_cast<CClubDatabase*>(again.m_lstClubsByID.GetHead()->pData)->m_wClubId, 1);
    EXPECT_EQ(static_cast<CClubDatabase*>(again.m_lstClubsByTable.GetHead()->pData)->m_wClubId, 4);
    EXPECT_EQ(again.GetClubFromID(3)->m_pDivision, &again);
    EXPECT_EQ(again.GetClubFromID(9), nullptr);
    ASSERT_NE(again.GetSeasonArchiveRecord(50), nullptr);
    EXPECT_EQ(again.GetSeasonArchiveRecord(51), nullptr);
    ASSERT_TRUE(again.HasPlayOff());
    EXPECT_EQ(again.m_pPlayOff->Entries[1].nTieGoals, 4);

    // Saved again in fixture date order: the same records, sorted.
    CDivisionDatabase sorted;
    Fill(sorted);
    sorted.SortFixturesByDate();
    EXPECT_EQ(SaveToBytes(again, &CDivisionDatabase::Save), SaveToBytes(sorted, &CDivisionDatabase::Save));
}

TEST_F(Division, EveryCutIsRefused)
{
    CDivisionDatabase division;
    Fill(division);
    const Bytes image = SaveToBytes(division, &CDivisionDatabase::Save);
    for (size_t cut = 0; cut < image.size(); ++cut) {
        const Bytes part(image.begin(), image.begin() + static_cast<long>(cut));
        ByteStream stream(part);
        CDivisionDatabase again;
        EXPECT_FALSE(again.Load(stream.reader(), nullptr)) << "cut at " << cut;
    }
}

TEST_F(Division, DamagedDivisionsAreRefused)
{
    CDivisionDatabase division;
    Fill(division);
    const Bytes good = SaveToBytes(division, &CDivisionDatabase::Save);
    struct Case {
        const char* what;
        size_t at;
        uint8_t value;
    };
    const Case cases[] = {
        {"kind 3", 210, 3},
        {"club count beyond the file", 228, 200},
        {"fixture count beyond the file", 185, 0xFF},
        {"season start on 31 February", 142, 2},
        {"weekday 7", 212, 7},
        {"play-off mark 2", good.size() - 19, 2},
        {"negative transfer count", 151, 0x80},
    };
    for (const Case& c : cases) {
        Bytes image = good;
        if (c.what == std::string("season start on 31 February"))
            image[143] = 31;
        image.at(c.at) = c.value;
        ByteStream stream(image);
        CDivisionDatabase again;
        EXPECT_FALSE(again.Load(stream.reader(), nullptr)) << c.what;
    }
}

TEST_F(Division, UnsetSeasonDatesComeFromTheWeekdayRules)
{
    CDivisionDatabase division;
    Fill(division);
    division.m_SeasonStart = CDate();
    division.m_SeasonEnd = CDate();
    division.m_byStartMonth = 0;  // August
    division.m_byEndMonth = 0;    // May
    const Bytes image = SaveToBytes(division, &CDivisionDatabase::Save);
    ByteStream stream(image);
    CDivisionDatabase again;
    ASSERT_TRUE(again.Load(stream.reader(), nullptr));
    // The second Saturday of August 1999 and the third of May 2000.
    EXPECT_EQ(again.m_SeasonStart, CDate(1999, 8, 14));
    EXPECT_EQ(again.m_SeasonEnd, CDate(2000, 5, 20));
}

class LeagueTable : public Division {
protected:
    void SetUp() override
    {
        Division::SetUp();
        division.m_byGoalValueRule = 1;
        for (const char* name : {"Wexley", "Ardmore", "Corrin", "Bellfield"})
            clubs.push_back(AddClub(division, static_cast<ID_CLUB>(clubs.size() + 1), name));
    }
    std::vector<std::string> Order() const
    {
        std::vector<std::string> names;
        for (const CClubDatabase* club : division.m_lstClubsByTable.Items<CClubDatabase>())
            names.push_back(club->GetName());
        return names;
    }
    CClubDatabase* Club(const char* name) const
    {
        for (CClubDatabase* club : clubs)
            if (std::string(club->GetName()) == name)
                return club;
        return nullptr;
    }
    void Result(const char* home, const char* away, int hg, int ag)
    {
        division.UpdateLeagueTableForResult(Club(home), Club(away), hg, ag);
    }
    CDivisionDatabase division;
    std::vector<CClubDatabase*> clubs;
};

TEST_F(LeagueTable, OrdersByPointsThenGoalValueThenName)
{
    struct Case {
        int goalRule;
        std::vector<std::tuple<const char*, const char*, int, int>> results;
        std::vector<std::string> order;
    };
    const Case cases[] = {
        // Nothing played: by name.
        {1, {}, {"Ardmore", "Bellfield", "Corrin", "Wexley"}},
        // Points first.
        {1, {{"Wexley", "Ardmore", 1, 0}}, {"Wexley", "Bellfield", "Corrin", "Ardmore"}},
        // Level on points: goal difference; -3 ranks below 0 whatever the names.
        {1, {{"Corrin", "Ardmore", 3, 0}}, {"Corrin", "Bellfield", "Wexley", "Ardmore"}},
        // Goals scored: more goals rank higher despite a worse difference...
        {0,
         {{"Ardmore", "Bellfield", 4, 4}, {"Corrin", "Ardmore", 2, 0}, {"Wexley", "Corrin", 0, 0}},
         {"Corrin", "Ardmore", "Bellfield", "Wexley"}},
        // ...which the goal difference rule puts last.
        {1,
         {{"Ardmore", "Bellfield", 4, 4}, {"Corrin", "Ardmore", 2, 0}, {"Wexley", "Corrin", 0, 0}},
         {"Corrin", "Bellfield", "Wexley", "Ardmore"}},
        // Level on points and goal value: by name.
        {1,
         {{"Wexley", "Corrin", 2, 1}, {"Bellfield", "Ardmore", 2, 1}},
         {"Bellfield", "Wexley", "Ardmore", "Corrin"}},
    };
    for (const Case& c : cases) {
        for (CClubDatabase* club : clubs) {
            club->m_HomeRow = CLUBLEAGUEROW();
            club->m_AwayRow = CLUBLEAGUEROW();
            club->m_byPoints = 0;
        }
        division.m_byGoalValueRule = static_cast<uint8_t>(c.goalRule);
        for (const auto& [home, away, hg, ag] : c.results)
            Result(home, away, hg, ag);
        division.SortLeagueTable(true);
        EXPECT_EQ(Order(), c.order);
    }
}

TEST_F(LeagueTable, DrawTouchesOnlyTheSidesPlayed)
{
    Result("Wexley", "Ardmore", 2, 2);
    const CClubDatabase* home = Club("Wexley");
    const CClubDatabase* away = Club("Ardmore");
    EXPECT_EQ(home->m_byPoints, 1);
    EXPECT_EQ(away->m_byPoints, 1);
    EXPECT_EQ(home->m_HomeRow.byDrawn, 1);
    EXPECT_EQ(home->m_HomeRow.byPlayed, 1);
    EXPECT_EQ(home->m_HomeRow.byGoalsFor, 2);
    EXPECT_EQ(home->m_HomeRow.byGoalsAgainst, 2);
    EXPECT_EQ(away->m_AwayRow.byDrawn, 1);
    EXPECT_EQ(away->m_AwayRow.byPlayed, 1);
    EXPECT_EQ(home->m_AwayRow.byPlayed, 0);
    EXPECT_EQ(away->m_HomeRow.byPlayed, 0);
    EXPECT_EQ(home->m_AwayRow.byDrawn, 0);
}

TEST_F(LeagueTable, PositionsMoveBestAndWorst)
{
    division.SortLeagueTable(true);  // Ardmore 1st, Wexley 4th
    EXPECT_EQ(Club("Wexley")->m_byLeaguePosition, 4);
    Result("Wexley", "Ardmore", 3, 0);
    division.SortLeagueTable(true);
    const CClubDatabase* wexley = Club("Wexley");
    const CClubDatabase* ardmore = Club("Ardmore");
    EXPECT_EQ(wexley->m_byLeaguePosition, 1);
    EXPECT_EQ(wexley->m_byBestPosition, 1);
    EXPECT_EQ(wexley->m_byWorstPosition, 4);
    EXPECT_EQ(ardmore->m_byLeaguePosition, 4);
    EXPECT_EQ(ardmore->m_byBestPosition, 1);
    EXPECT_EQ(ardmore->m_byWorstPosition, 4);
    // Without the update the places stay.
    Result("Ardmore", "Wexley", 5, 0);
    division.SortLeagueTable(false);
    EXPECT_EQ(Order().front(), "Ardmore");
    EXPECT_EQ(ardmore->m_byLeaguePosition, 4);
}

TEST_F(LeagueTable, UnknownGoalRuleCountsNothingAndIsLogged)
{
    division.m_byGoalValueRule = 2;
    Result("Wexley", "Ardmore", 3, 0);
    Result("Corrin", "Bellfield", 1, 0);
    division.SortLeagueTable(true);
    EXPECT_EQ(Order(), (std::vector<std::string>{"Corrin", "Wexley", "Ardmore", "Bellfield"}));
    EXPECT_TRUE(Logged("Undefined value for m_nGoalDiff in CClubDatabase::GetGoalValue"));
}

TEST_F(LeagueTable, GamesPerClubFollowTheMeetingsRule)
{
    const std::pair<int, int> rules[] = {{0, 2}, {1, 4}, {2, 3}, {7, 1}};
    for (auto [rule, meetings] : rules) {
        division.m_byMeetingsRule = static_cast<uint8_t>(rule);
        division.UpdateGameCounts();
        EXPECT_EQ(division.m_nGamesPerClub, 3 * meetings) << rule;
    }
    for (int i = 0; i < 16; ++i)
        AddClub(division, static_cast<ID_CLUB>(10 + i), "Extra");
    division.m_byMeetingsRule = 1;
    division.UpdateGameCounts();
    EXPECT_EQ(division.m_nGamesPerClub, 76);
    EXPECT_EQ(division.m_nClubAppearances, 1520);
    EXPECT_EQ(division.GetLeagueMatchDayCount(), 76);
    division.m_byKind = DIVISION_KIND_BOTTOM_OTHER;
    EXPECT_EQ(division.GetLeagueMatchDayCount(), 38);
}

// Played match days of several clubs from one walk: an unplayed fixture does
// not count, two on one date count once, the walk stops at the first fixture
// after the date or in the play-off, and a club listed twice gets its count
// at both places.
TEST_F(Division, PlayedMatchDaysAreCountedForEveryClubInOneWalk)
{
    CDivisionDatabase division;
    auto add = [&](const CDate& date, ID_CLUB home, ID_CLUB away, bool bPlayed, uint8_t byRound = 0) {
        auto* p = new CDivisionFixturesDatabase(0, date, home, away, 0, byRound, 0);
        if (bPlayed)
            p->SetGoals(1, 0);
        division.m_lstFixtures.AddTail(p);
    };
    add(CDate(2001, 8, 4), 1, 2, true);
    add(CDate(2001, 8, 4), 1, 3, true);   // club 1 again on the same date
    add(CDate(2001, 8, 11), 2, 3, false); // not played
    add(CDate(2001, 8, 11), 4, 1, true);
    add(CDate(2001, 8, 18), 3, 4, true, DIVISION_FIXTURE_PLAYOFF);
    add(CDate(2001, 8, 25), 2, 4, true);  // past the play-off
    const std::vector<ID_CLUB> clubs = {1, 2, 3, 4, 5, 0, 1};
    EXPECT_EQ(division.CountPlayedMatchDays(CDate(2001, 12, 1), clubs), (std::vector<int>{2, 1, 1, 1, 0, 0, 2}));
    EXPECT_EQ(division.CountPlayedMatchDays(CDate(2001, 8, 10), clubs), (std::vector<int>{1, 1, 1, 0, 0, 0, 1}));
    EXPECT_EQ(division.CountPlayedMatchDays(CDate(2001, 8, 3), clubs), (std::vector<int>(7, 0)));

    // Opponents left out of the list, with identifiers below, between and
    // above the listed ones, are passed over.
    CDivisionDatabase sparse;
    const struct {
        CDate date;
        ID_CLUB home, away;
    } played[] = {{CDate(2001, 8, 4), 10, 20}, {CDate(2001, 8, 11), 25, 30}, {CDate(2001, 8, 18), 20, 40}};
    for (const auto& f : played) {
        auto* p = new CDivisionFixturesDatabase(0, f.date, f.home, f.away, 0, 0, 0);
        p->SetGoals(2, 2);
        sparse.m_lstFixtures.AddTail(p);
    }
    EXPECT_EQ(sparse.CountPlayedMatchDays(CDate(2001, 12, 1), {30, 20}), (std::vector<int>{1, 2}));
}

}  // namespace
}  // namespace clubs_test
