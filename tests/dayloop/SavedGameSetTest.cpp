// Saved-game sets: a world played from the starting database is saved and
// loaded on the way through a season, each load writing the same set again
// byte for byte and playing on; sets that lack or damage a member, or carry
// files of another game, are refused whole.
#include "DayLoopSupport.h"
#include "database/CManagerDatabase.h"
#include "platform/Files.h"
#include "season/CSavedGameSet.h"

#include <algorithm>
#include <map>

using namespace dayloop_test;

namespace {

const char* const kMembers[] = {".bin", ".sav", ".chs", ".dhs", ".phs", ".mhs", ".fty", ".fhs", ".pfn",
                                ".shs", ".ths", ".lhs", ".eml", ".rtp", ".rtm", ".rts", ".wmh", ".hhs", ".sum"};

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Every member of a set by extension; a missing one reads as "missing".
std::map<std::string, std::string> ReadSet(const std::string& stem)
{
    std::map<std::string, std::string> set;
    for (const char* pszExtension : kMembers) {
        const fs::path path = stem + pszExtension;
        set[pszExtension] = fs::exists(path) ? ReadBytes(path) : "missing";
    }
    return set;
}

// The members in which two sets differ.
std::vector<std::string> Differences(const std::map<std::string, std::string>& a,
                                     const std::map<std::string, std::string>& b)
{
    std::vector<std::string> differences;
    for (const auto& [extension, bytes] : a)
        if (b.at(extension) != bytes)
            differences.push_back(extension);
    return differences;
}

bool SaveSet(CDatabaseHandler& handler, const std::string& path, std::string& error)
{
    return CSavedGameSet(path).Save(handler, error);
}

bool LoadSet(CDatabaseHandler& handler, const std::string& path, std::string& error)
{
    return CSavedGameSet(path).Load(handler, error);
}

class SavedGameSet : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(MakeRoot(m_handler));
        fs::create_directory("Saves");
    }
    // A new game from the starting database, which loads without a set.
    void NewGame(unsigned nSeed)
    {
        std::string error;
        ASSERT_TRUE(LoadSet(H(), "Data/Data.bin", error)) << error;
        plat::srand(nSeed);
        ASSERT_TRUE(H().SetUpNewGameRecords());
    }
    void PlayUntil(int nDay)
    {
        for (; m_nDay < nDay; ++m_nDay) {
            ASSERT_EQ(H().ProcessDay(), 1);
            H().DoMatchDay(H().GetGameDate());
        }
    }
    CDatabaseHandler& H() { return *m_handler; }

    WorkFolder m_folder;
    std::unique_ptr<CDatabaseHandler> m_handler;
    int m_nDay = 0;
};

TEST_F(SavedGameSet, ASeasonSavedAndLoadedOnTheWayWritesTheSameSetAgainAndPlaysOn)
{
    // Seeds whose season retires managers, whose records live only in the set.
    for (unsigned nSeed : {3u, 42u}) {
        SCOPED_TRACE(nSeed);
        m_nDay = 0;
        NewGame(nSeed);
        for (int nDay : {40, 200, 365}) {
            SCOPED_TRACE(nDay);
            PlayUntil(nDay);
            const std::string first = "Saves/s" + std::to_string(nSeed) + "d" + std::to_string(nDay);
            std::string error;
            ASSERT_TRUE(SaveSet(H(), first + ".bin", error)) << error;
            const CDate date = H().GetGameDate();

            // The game goes on from the world loaded back, as after a load screen.
            ASSERT_TRUE(LoadSet(H(), first + ".bin", error)) << error;
            EXPECT_EQ(H().GetGameDate(), date);
            ASSERT_TRUE(SaveSet(H(), "Saves/again.bin", error)) << error;
            const auto saved = ReadSet(first);
            EXPECT_EQ(Differences(ReadSet("Saves/again"), saved), std::vector<std::string>{})
                << "the loaded set is written again byte for byte";
            for (const char* pszMember : {".bin", ".sav", ".chs", ".dhs", ".phs", ".mhs"})
                EXPECT_GT(saved.at(pszMember).size(), pszMember == std::string(".sav") ? 0u : 1000u) << pszMember;
            if (nDay == 365) {
                EXPECT_GT(saved.at(".rtm").size(), 0u) << "managers retired during the season";
            }
        }
        PlayUntil(365 + 21);
        std::string error;
        const CDate later = H().GetGameDate();
        ASSERT_TRUE(SaveSet(H(), "Saves/later.bin", error)) << error;
        ASSERT_TRUE(LoadSet(H(), "Saves/later.bin", error)) << error;
        EXPECT_EQ(H().GetGameDate(), later);
    }
}

TEST_F(SavedGameSet, AnIncompleteDamagedOrForeignSetIsRefusedWholeAndNamed)
{
    NewGame(5);
    PlayUntil(10);
    std::string error;
    ASSERT_TRUE(SaveSet(H(), "Saves/w.bin", error)) << error;
    const auto saved = ReadSet("Saves/w");
    // A living manager's record, as a retired-record file of another game would hold it.
    ASSERT_NE(H().GetManagerState(1), MANAGERSTATE_RETIRED);
    std::string living;
    {
        FILE* pFile = std::tmpfile();
        CBinaryWriter writer(pFile);
        ASSERT_TRUE(H().GetManagerFromID(1)->Save(writer));
        std::rewind(pFile);
        int c;
        while ((c = std::fgetc(pFile)) != EOF)
            living += static_cast<char>(c);
        std::fclose(pFile);
    }

    struct Case {
        const char* pszWhat;
        const char* pszMember;  // changed or removed
        std::string bytes;      // "" removes the member
        const char* pszNamed;   // what the message must name
        bool bSummed = false;   // the checksums made again, so the checks behind them are reached
    };
    for (const char* pszMember : {".mhs", ".phs", ".sav", ".sum"})
        ASSERT_GT(saved.at(pszMember).size(), 0u) << pszMember;
    auto flipped = [&saved](const char* pszMember, size_t nAt) {
        std::string bytes = saved.at(pszMember);
        bytes[nAt % bytes.size()] ^= 0x10;
        return bytes;
    };
    auto overwritten = [&saved](const char* pszMember) {
        std::string bytes = saved.at(pszMember);
        std::fill_n(bytes.begin() + bytes.size() / 3, std::min<size_t>(512, bytes.size() / 3), '\xA5');
        return bytes;
    };
    const Case cases[] = {
        {"a missing member", ".dhs", "", "v.dhs"},
        {"a missing retired-record file", ".rtm", "", "v.rtm"},
        {"missing checksums", ".sum", "", "v.sum"},
        {"a member one byte too long", ".chs", saved.at(".chs") + '\0', "v.chs"},
        {"a member cut short", ".mhs", saved.at(".mhs").substr(0, saved.at(".mhs").size() - 1), "v.mhs"},
        {"a member copied whole, cut short", ".phs", saved.at(".phs").substr(0, saved.at(".phs").size() / 2), "v.phs"},
        {"a flipped bit in the world file", ".bin", flipped(".bin", 1234567), "v.bin"},
        {"a flipped bit in the humans", ".sav", flipped(".sav", 333), "v.sav"},
        {"a block overwritten in the match history", ".mhs", overwritten(".mhs"), "v.mhs"},
        {"a block overwritten in the player history", ".phs", overwritten(".phs"), "v.phs"},
        {"damaged checksums", ".sum", flipped(".sum", 20), "v.sum"},
        {"a retired record of a living manager", ".rtm", living, "v.bin", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        for (const auto& [extension, bytes] : saved)
            WriteBytes("Saves/v" + extension, bytes);
        if (c.bytes.empty())
            fs::remove(std::string("Saves/v") + c.pszMember);
        else
            WriteBytes(std::string("Saves/v") + c.pszMember, c.bytes);
        if (c.bSummed)
            ASSERT_TRUE(CSavedGameSet("Saves/v.bin").WriteChecksums(error)) << error;
        EXPECT_FALSE(LoadSet(H(), "Saves/v.bin", error));
        EXPECT_NE(error.find(c.pszNamed), std::string::npos) << error;
        EXPECT_FALSE(H().IsDatabaseLoaded()) << "nothing of a refused set stays in memory";
        EXPECT_TRUE(plat::listFiles(".", "Temp*").empty()) << "nor in the working files";
    }

    // A game in play saved without its set, as worldtool once wrote it.
    fs::copy_file("Saves/w.bin", "Saves/alone.bin");
    EXPECT_FALSE(LoadSet(H(), "Saves/alone.bin", error));
    EXPECT_NE(error.find("alone.rtm"), std::string::npos) << error;
    EXPECT_FALSE(H().IsDatabaseLoaded());

    // Working files left by another game never reach the loaded one.
    WriteBytes("temp.rtm", living);
    WriteBytes("TempDivision1.chs", std::string(50, '\x7F'));
    WriteBytes("temp.mhs", std::string(64, '\x01'));
    ASSERT_TRUE(LoadSet(H(), "Saves/w.bin", error)) << error;
    ASSERT_TRUE(SaveSet(H(), "Saves/x.bin", error)) << error;
    EXPECT_EQ(Differences(ReadSet("Saves/x"), saved), std::vector<std::string>{});

    // A save that fails midway keeps the set that was there, and no temporary.
    const CCountryDatabase* pCountry = H().GetFirstCountry();
    ASSERT_NE(pCountry, nullptr);
    const std::string history =
        static_cast<const CDivisionDatabase*>(pCountry->GetDivisions().GetHead()->pData)->GetClubHistoryFileName();
    WriteBytes(history, "abc");
    EXPECT_FALSE(SaveSet(H(), "Saves/x.bin", error));
    EXPECT_NE(error.find(history), std::string::npos) << error;
    EXPECT_EQ(Differences(ReadSet("Saves/x"), saved), std::vector<std::string>{});
    EXPECT_EQ(plat::listFiles("Saves", "x.*").size(), std::size(kMembers));
}

TEST_F(SavedGameSet, TheStartingDatabaseLoadsAndSavesAlone)
{
    // A new game begins from a clean working folder, whatever an earlier game left.
    for (const char* pszStale : {"temp.rtm", "TempDivision3.chs", "temp4.ths", "TempDomCup2.shs", "Temp0.fty"})
        WriteBytes(pszStale, "stale");
    std::string error;
    ASSERT_TRUE(LoadSet(H(), "Data/Data.bin", error)) << error;
    EXPECT_EQ(plat::listFiles(".", "Temp*"), std::vector<std::string>{});
    // A world that stands alone leaves no members of an earlier set beside it.
    WriteBytes("Saves/start.rtm", "stale");
    ASSERT_TRUE(SaveSet(H(), "Saves/start.bin", error)) << error;
    EXPECT_EQ(ReadBytes("Saves/start.bin"), ReadBytes("Data/Data.bin"));
    EXPECT_EQ(plat::listFiles("Saves", "start.*"), std::vector<std::string>{"start.bin"});
}

}  // namespace
