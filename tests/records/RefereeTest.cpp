// Referees: file form, names from the surname dictionary, availability and
// match statistics.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "../database/GameTree.h"
#include "RecordBytes.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionFixturesDatabase.h"
#include "season/CRefereeDatabase.h"

namespace {

auto LoadReferee = [](CRefereeDatabase& referee, CBinaryReader& reader) { return referee.Load(reader, nullptr); };

} // namespace

TEST(Referee, FileFormAndNames)
{
    CurrentFolder folder(BRELLOX_GAME_DIR);
    CDatabaseHandler handler;
    const CNameDictionary& surnames = handler.GetNameDictionary(NAMEDICTIONARY_LAST);
    ASSERT_GE(surnames.GetCount(), 2);
    const std::string first = surnames.GetName(0);
    const uint32_t dwSecondOffset = static_cast<uint32_t>(first.size() + 1);
    const std::string second = surnames.GetName(1);

    CRefereeDatabase referee;
    referee.Set(12, 'K', dwSecondOffset);
    referee.SetAttributes(3, 4, 500, 6);
    const uint8_t stats[4] = {2, 1, 20, 1};
    referee.AddMatchStatistics(1, stats);
    const std::vector<uint8_t> bytes = SaveBytes(referee);
    ASSERT_EQ(bytes.size(), static_cast<size_t>(CRefereeDatabase::FILE_SIZE));
    // The bytes the program does not write are zeros.
    EXPECT_EQ(bytes[38], 0);
    EXPECT_EQ(bytes[39], 0);
    EXPECT_EQ(bytes[45], 'K');
    EXPECT_EQ(bytes[46], 0);
    EXPECT_EQ(bytes[47], 0);

    CRefereeDatabase copy;
    ASSERT_TRUE(LoadBytes(copy, bytes, LoadReferee));
    EXPECT_EQ(SaveBytes(copy), bytes);
    EXPECT_EQ(copy.GetID(), 12);
    EXPECT_EQ(copy.GetAttributeC(), 500);
    EXPECT_EQ(copy.GetStatistics(1).wFouls, 20);
    EXPECT_EQ(std::string(copy.GetName()), "K. " + second);
    for (size_t nCut = 0; nCut < bytes.size(); ++nCut) {
        CRefereeDatabase cut;
        EXPECT_FALSE(LoadBytes(cut, std::vector<uint8_t>(bytes.begin(), bytes.begin() + nCut), LoadReferee))
            << "cut at " << nCut;
    }

    // No initial: the surname alone. The name lives in one shared buffer.
    CRefereeDatabase plain;
    plain.Set(13, 0, 0);
    const char* pszName = plain.GetName();
    EXPECT_EQ(std::string(pszName), first);
    EXPECT_EQ(copy.GetName(), pszName);
    EXPECT_EQ(std::string(pszName), "K. " + second);

    // An offset that is no name start (inside a name, beyond the block) gives
    // an empty surname, never a pointer outside the dictionary.
    for (uint32_t dwOffset : {1u, surnames.GetTextSize() + 100, 0xFFFFFFFFu}) {
        std::vector<uint8_t> damaged = bytes;
        PutU32(damaged, 0, dwOffset);
        CRefereeDatabase bad;
        ASSERT_TRUE(LoadBytes(bad, damaged, LoadReferee)) << dwOffset;
        EXPECT_STREQ(bad.GetSurname(), "") << dwOffset;
        EXPECT_STREQ(bad.GetName(), "K. ") << dwOffset;
    }
}

TEST(Referee, Availability)
{
    CRefereeDatabase referee;
    referee.Set(5, 'K', 0);
    EXPECT_TRUE(referee.IsAvailable(CDate(2024, 9, 14).GetValue()));

    // Fixtures name the referee they are assigned to.
    CDivisionFixturesDatabase league(1, CDate(2024, 9, 14), 1, 2, 5, 1, 1);
    CCupFixturesDatabase cup;
    cup.Set(1, CDate(2024, 9, 18), 3, 4, 2, 0, 0, 3, 3);
    cup.SetReferee(5);
    CCupFixturesDatabase european;
    european.Set(2, CDate(2024, 9, 21), 5, 6, 3, 0, 0, 20, 5);
    european.SetReferee(5);
    league.AttachToReferee(&referee);
    cup.AttachToReferee(&referee, REFEREE_ASSIGNMENT_COUNTRY_CUP);
    european.AttachToReferee(&referee, REFEREE_ASSIGNMENT_CUP);
    // Assignments of other kinds are not counted.
    CCupFixturesDatabase other;
    other.Set(2, CDate(2024, 9, 25), 5, 6, 4, 0, 0, 20, 5);
    referee.AddAssignment(&other, 3);
    EXPECT_EQ(referee.GetAssignmentCount(), 4);

    struct Case {
        CDate date;
        bool bAvailable;
    } cases[] = {{CDate(2024, 9, 14), false}, {CDate(2024, 9, 18), false}, {CDate(2024, 9, 21), false},
                 {CDate(2024, 9, 25), true},  {CDate(2024, 9, 15), true}};
    for (const Case& c : cases)
        EXPECT_EQ(referee.IsAvailable(c.date.GetValue()), c.bAvailable) << c.date.GetDay();

    // A fixture moved after it was assigned takes the referee with it; a
    // move of another referee's fixture leaves him as he is.
    CDivisionFixturesDatabase elsewhere(3, CDate(2024, 9, 14), 9, 10, 6, 1, 1);
    elsewhere.SetDate(CDate(2024, 9, 16));
    EXPECT_FALSE(referee.IsAvailable(CDate(2024, 9, 14).GetValue()));
    league.SetDate(CDate(2024, 9, 15));
    EXPECT_TRUE(referee.IsAvailable(CDate(2024, 9, 14).GetValue()));
    EXPECT_FALSE(referee.IsAvailable(CDate(2024, 9, 15).GetValue()));
    cup.Set(1, CDate(2024, 9, 19), 3, 4, 2, 0, 0, 3, 3);
    EXPECT_TRUE(referee.IsAvailable(CDate(2024, 9, 18).GetValue()));
    EXPECT_FALSE(referee.IsAvailable(CDate(2024, 9, 19).GetValue()));
    league.SetDate(CDate(2024, 9, 14));
    // Two fixtures on one date: he stays busy until both are gone.
    CDivisionFixturesDatabase second(2, CDate(2024, 9, 14), 7, 8, 5, 1, 1);
    second.AttachToReferee(&referee);
    referee.RemoveAssignment(&second);
    EXPECT_FALSE(referee.IsAvailable(CDate(2024, 9, 14).GetValue()));

    referee.RemoveEuropeanAssignments();
    EXPECT_EQ(referee.GetAssignmentCount(), 3);
    EXPECT_TRUE(referee.IsAvailable(CDate(2024, 9, 21).GetValue()));
    referee.RemoveAssignment(&league);
    EXPECT_TRUE(referee.IsAvailable(CDate(2024, 9, 14).GetValue()));
    referee.RemoveAllAssignments();
    EXPECT_EQ(referee.GetAssignmentCount(), 0);

    LogCapture log;
    league.AttachToReferee(nullptr);
    EXPECT_TRUE(log.Contains("[CDivisionFixturesDatabase::SetupPointers] Could not find the referee!"));
}

TEST(Referee, MatchStatistics)
{
    CRefereeDatabase referee;
    const uint8_t stats[4] = {3, 1, 25, 2};
    referee.AddMatchStatistics(0, stats);
    referee.AddMatchStatistics(0, stats);
    const REFEREESTATISTICS& league = referee.GetStatistics(0);
    EXPECT_EQ(league.wBookings, 6);
    EXPECT_EQ(league.bySendingsOff, 2);
    EXPECT_EQ(league.wFouls, 50);
    EXPECT_EQ(league.byPenalties, 4);
    EXPECT_EQ(league.byMatches, 2);
    // Competitions outside 0-3 change nothing.
    referee.AddMatchStatistics(4, stats);
    referee.AddMatchStatistics(-1, stats);
    for (int c = 1; c < CRefereeDatabase::COMPETITIONS; ++c)
        EXPECT_EQ(referee.GetStatistics(c).byMatches, 0);
    EXPECT_EQ(referee.GetStatistics(0).byMatches, 2);
}
