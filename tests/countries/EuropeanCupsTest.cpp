// The European competitions: their record in the whole-database file with
// the mini-league groups, refusal of cut records, pending clubs and the
// "temp.eml" snapshots.
#include <gtest/gtest.h>

#include <filesystem>

#include "CountryTestSupport.h"
#include "database/CDatabaseHandler.h"

using namespace countries_test;

namespace {

class EuropeanCups : public PeopleWorld {
protected:
    // Kind 1 on its first group match day (8 groups of 4, each group's first
    // match day made), kind 0 in a two-legged first round, kind 3 with a
    // club waiting.
    void SetUpCompetitions()
    {
        CEuropeanCupDatabase& europe = *m_handler->GetEuropeanCups();
        europe.SetSeasonDate(CDate(2001, 7, 2));
        ASSERT_TRUE(europe.InstallCup(CUP_KIND_1));
        ASSERT_TRUE(europe.InstallCup(CUP_KIND_0));
        ASSERT_TRUE(europe.InstallCup(CUP_KIND_SUPER));

        CUP& champions = *europe.GetCup(CUP_KIND_1);
        champions.byRound = 4;
        champions.byLegs = CUP_LEGS_GROUP;
        champions.wClubsDrawn = 32;
        uint32_t match = 900;
        for (int g = 0; g < 8; ++g) {
            MINILEAGUEGROUP* pGroup = europe.AddGroup(4);
            pGroup->byFilled = 4;
            for (int r = 0; r < 4; ++r) {
                MINILEAGUEROW& row = pGroup->pRows[r];
                row.dwClub = static_cast<uint32_t>(100 + 4 * g + r);
                row.byWon = static_cast<uint8_t>(r);
                row.byGoalsFor = static_cast<uint8_t>(2 * r);
                row.dwDayField = static_cast<uint32_t>(g * 10 + r);
                champions.GetTie((4 * g + r) / 2)->wHomeClub = static_cast<ID_CLUB>(row.dwClub);
            }
            // Match day 0: row 0 v row 1, row 3 v row 2.
            const int pairs[2][2] = {{0, 1}, {3, 2}};
            for (const auto& pair : pairs) {
                MINILEAGUEROW& home = pGroup->pRows[pair[0]];
                const MINILEAGUEROW& away = pGroup->pRows[pair[1]];
                m_handler->AddCupFixture(MakeFixture(match, CDate(2001, 9, 12), static_cast<ID_CLUB>(home.dwClub),
                                                     static_cast<ID_CLUB>(away.dwClub), 0, 20, 2, 1));
                home.pHomeMatches[0] = match++;
            }
        }

        CUP& cup = *europe.GetCup(CUP_KIND_0);
        cup.wClubsDrawn = 2;
        *cup.GetTie(0) = CUPTIE{0, 1, 2, 0, 140, 141, 990, 991};
        m_handler->AddCupFixture(MakeFixture(990, CDate(2001, 8, 9), 140, 141, 0, 0, 2, 1));
        m_handler->AddCupFixture(MakeFixture(991, CDate(2001, 9, 6), 141, 140, 990, 0, 2, 1));
        europe.AddPending(CUP_KIND_0, 142, 2, REASON_LEAGUE);
        europe.AddPending(CUP_KIND_0, 0, 2, REASON_NOT_ENOUGH_CLUBS);
        europe.AddPending(CUP_KIND_SUPER, 143, 1, REASON_EUROPEAN_CUP);
    }

    Bytes SaveCompetitions() const
    {
        FILE* file = std::tmpfile();
        CBinaryWriter writer(file);
        for (int nKind : {CUP_KIND_0, CUP_KIND_1, CUP_KIND_SUPER, CUP_KIND_5})
            EXPECT_TRUE(m_handler->GetEuropeanCups()->Save(writer, nKind));
        const Bytes bytes = ReadFileBytesOf(file);
        std::fclose(file);
        return bytes;
    }

    bool LoadCompetitions(const Bytes& bytes)
    {
        CEuropeanCupDatabase& europe = *m_handler->GetEuropeanCups();
        europe.RemoveAll();
        ByteStream stream(bytes);
        for (int nKind : {CUP_KIND_0, CUP_KIND_1, CUP_KIND_SUPER, CUP_KIND_5})
            if (!europe.Load(stream.reader(), nKind))
                return false;
        return true;
    }
};

}  // namespace

TEST_F(EuropeanCups, WrittenAndReadBackGivesTheSameBytes)
{
    SetUpCompetitions();
    const Bytes bytes = SaveCompetitions();
    // Kind 5 has no European cup: an empty header with only its kind byte.
    const Bytes tail(bytes.end() - 10, bytes.end());
    EXPECT_EQ(tail, (Bytes{0, 0, 0, 0, 0, 5, 0, 0, 0, 0}));

    ASSERT_TRUE(LoadCompetitions(bytes));
    EXPECT_EQ(SaveCompetitions(), bytes);

    const CEuropeanCupDatabase& europe = *m_handler->GetEuropeanCups();
    const CUP* pChampions = europe.GetCup(CUP_KIND_1);
    ASSERT_NE(pChampions, nullptr);
    EXPECT_EQ(pChampions->byRound, 4);
    EXPECT_EQ(pChampions->byLegs, CUP_LEGS_GROUP);
    EXPECT_EQ(pChampions->byCountry, 0);
    ASSERT_EQ(europe.GetGroups().GetCount(), 8);
    // Each group match is in the lists of both its clubs.
    const auto* pGroup = static_cast<const MINILEAGUEGROUP*>(europe.GetGroups().GetHead()->pData);
    EXPECT_EQ(pGroup->byFilled, 4);
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(pGroup->pRows[r].lstFixtures.GetCount(), 1) << "row " << r;
    EXPECT_EQ(pGroup->pRows[2].dwDayField, 2u);

    CCupFixturesDatabase* pFirst = m_handler->FindCupFixtureByMatchId(990);
    ASSERT_NE(pFirst, nullptr);
    EXPECT_EQ(pFirst->GetCup(), europe.GetCup(CUP_KIND_0));
    EXPECT_EQ(pFirst->GetOtherLeg(), m_handler->FindCupFixtureByMatchId(991));
    EXPECT_TRUE(europe.IsClubPending(CUP_KIND_0, 142));
    EXPECT_TRUE(europe.IsClubPending(CUP_KIND_SUPER, 143));
    EXPECT_EQ(m_handler->GetCupFromCupNumber(20), europe.GetCup(CUP_KIND_1));
    EXPECT_EQ(m_handler->GetCupFromCupNumber(0), europe.GetCup(CUP_KIND_0));
    EXPECT_EQ(m_handler->GetCupFromCupNumber(100), nullptr);
}

TEST_F(EuropeanCups, CutAndDamagedRecordsAreRefused)
{
    SetUpCompetitions();
    const Bytes bytes = SaveCompetitions();
    for (size_t nCut = 0; nCut < bytes.size(); ++nCut)
        EXPECT_FALSE(LoadCompetitions(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(nCut))))
            << "cut at " << nCut;

    // The kind-0 record comes first: header, one tie, two pending clubs.
    Bytes damaged = bytes;
    damaged[4] = 9;  // round 9 of an 8-round cup
    EXPECT_FALSE(LoadCompetitions(damaged));
    damaged = bytes;
    damaged[2] = 250;  // more clubs drawn than the cup has ties
    EXPECT_FALSE(LoadCompetitions(damaged));
    damaged = bytes;
    damaged[10 + 16 + 4] = 0;  // a pending club waiting for round 0
    EXPECT_FALSE(LoadCompetitions(damaged));
    damaged = bytes;
    damaged[bytes.size() - 10 + 4] = 1;  // a running kind-5 European cup
    EXPECT_FALSE(LoadCompetitions(damaged));
    ASSERT_TRUE(LoadCompetitions(bytes));
}

TEST_F(EuropeanCups, PendingClubsOfBothCupsAreReportedAndKept)
{
    CEuropeanCupDatabase& europe = *m_handler->GetEuropeanCups();
    europe.AddPending(CUP_KIND_1, 7, 1, REASON_LEAGUE);
    europe.AddPending(CUP_KIND_0, 7, 2, REASON_LEAGUE);
    europe.AddPending(CUP_KIND_0, 7, 2, REASON_LEAGUE);
    EXPECT_TRUE(Logged("Club in KAVO Champ League trying to add to the KAVO Cup - Round 2, Club - 7"));
    EXPECT_TRUE(Logged("Club Already in cup !!!!!!!!!!! - Round 2, Club - 7"));
    EXPECT_TRUE(europe.IsClubPending(CUP_KIND_1, 7));
    EXPECT_EQ(europe.GetPendingList(CUP_KIND_0)->GetCount(), 2);
    EXPECT_FALSE(europe.AddPending(CUP_KIND_5, 7, 1, REASON_LEAGUE));
    EXPECT_EQ(europe.RemovePending(CUP_KIND_1, 7), 1);
    EXPECT_EQ(europe.RemovePending(CUP_KIND_1, 7), 0);
    // The earliest cup date starts far ahead and only comes down.
    EXPECT_EQ(europe.GetEarliestCupDate(), CDate(2030, 12, 22));
    m_handler->AddCupFixture(MakeFixture(5, CDate(2001, 8, 1), 1, 2, 0, CUP_NUMBER_NONE, 3, 1));
    EXPECT_EQ(europe.GetEarliestCupDate(), CDate(2001, 8, 1));
    europe.LowerEarliestCupDate(CDate(2001, 9, 1));
    EXPECT_EQ(europe.GetEarliestCupDate(), CDate(2001, 8, 1));
}

TEST_F(EuropeanCups, GroupTablesAreAppendedOneSnapshotPerWrite)
{
    CEuropeanCupDatabase& europe = *m_handler->GetEuropeanCups();
    std::filesystem::remove("temp.eml");
    EXPECT_FALSE(europe.AppendGroupTables());  // no groups, no file
    EXPECT_FALSE(std::filesystem::exists("temp.eml"));
    for (int g = 0; g < 2; ++g) {
        MINILEAGUEGROUP* pGroup = europe.AddGroup(4);
        for (int r = 0; r < 4; ++r)
            pGroup->pRows[r].dwClub = static_cast<uint32_t>(10 * g + r + 1);
    }
    const size_t nSnapshot = 2 + 2 * 4 * 16;
    ASSERT_TRUE(europe.AppendGroupTables());
    EXPECT_EQ(std::filesystem::file_size("temp.eml"), nSnapshot);
    ASSERT_TRUE(europe.AppendGroupTables());
    const Bytes bytes = ReadFileBytes("temp.eml");
    ASSERT_EQ(bytes.size(), 2 * nSnapshot);
    EXPECT_EQ(bytes[nSnapshot], 2);      // groups
    EXPECT_EQ(bytes[nSnapshot + 1], 4);  // rows of the first group
    // Rows from the last to the first: the first written is row 4 of group 1.
    EXPECT_EQ(bytes[2 + 5], 4);          // its position
    EXPECT_EQ(bytes[2 + 8], 4);          // its club
}
