// worldtool run: the real program from the generated tree, the same seed
// giving the same world byte for byte and another seed another one.
#include "DayLoopSupport.h"
#include "database/CCupFixturesDatabase.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <regex>

using namespace dayloop_test;

namespace {

// The tool's command (run or resave) in the generated tree, with its output.
std::string RunCommand(const std::string& command, const std::string& arguments, int& nStatus)
{
    const std::string line =
        "cd '" + std::string(BRELLOX_GAME_DIR) + "' && " + std::string(WORLDTOOL) + " " + command + " " + arguments + " 2>&1";
    std::string output;
    FILE* pPipe = popen(line.c_str(), "r");
    if (!pPipe) {
        nStatus = -1;
        return output;
    }
    std::array<char, 256> buffer{};
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pPipe))
        output += buffer.data();
    nStatus = pclose(pPipe);
    return output;
}

std::string RunTool(const std::string& arguments, int& nStatus) { return RunCommand("run", arguments, nStatus); }

class WorldRun : public ::testing::Test {
protected:
    std::string Run(int nDays, unsigned nSeed, const std::string& out, int& nStatus, const std::string& extra = "")
    {
        return RunTool("--data '" + std::string(BRELLOX_GAME_DIR) + "' --days " + std::to_string(nDays) +
                           " --seed " + std::to_string(nSeed) + " --out '" + (m_folder.Path() / out).string() + "'" +
                           extra,
                       nStatus);
    }
    static std::string Read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    WorkFolder m_folder;
};

TEST_F(WorldRun, SameSeedSameBytesOtherSeedOtherResults)
{
    int nStatus = 0;
    const std::string seasons = (m_folder.Path() / "seasons.txt").string();
    const std::string first = Run(45, 11, "a.bin", nStatus, " --seasons '" + seasons + "'");
    ASSERT_EQ(nStatus, 0) << first;
    const std::string again = Run(45, 11, "b.bin", nStatus);
    ASSERT_EQ(nStatus, 0) << again;
    const std::string other = Run(45, 12, "c.bin", nStatus);
    ASSERT_EQ(nStatus, 0) << other;

    const std::regex line(R"(days 45 fixtures (\d+) goals (\d+) players (\d+)\n)");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(first, match, line)) << first;
    EXPECT_GT(std::stoi(match[1]), 100) << "the leagues began on 7 August";
    EXPECT_EQ(first, again);
    const std::string a = Read(m_folder.Path() / "a.bin");
    ASSERT_GT(a.size(), 1000000u);
    EXPECT_EQ(a, Read(m_folder.Path() / "b.bin"));
    EXPECT_NE(a, Read(m_folder.Path() / "c.bin"));
    EXPECT_FALSE(fs::exists(m_folder.Path() / "temp.phs")) << "working files stay in the tool's own folder";

    // The saved world loads again, with the run's results in it.
    CDatabaseHandler handler;
    FILE* pFile = std::fopen((m_folder.Path() / "a.bin").c_str(), "rb");
    ASSERT_NE(pFile, nullptr);
    ASSERT_TRUE(handler.Load(pFile));
    std::fclose(pFile);
    EXPECT_EQ(handler.GetGameDate(), CDate(1999, 8, 15));
    int nPlayed = 0;
    for (const CCountryDatabase* pCountry : handler.GetCountries().Items<CCountryDatabase>())
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (const CDivisionFixturesDatabase* p : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
                nPlayed += p->IsPlayed();
    // The cups' matches count too.
    for (const CCountryDatabase* pCountry : handler.GetCountries().Items<CCountryDatabase>())
        for (const CCupFixturesDatabase* p : pCountry->GetCupFixtures().Items<CCupFixturesDatabase>())
            nPlayed += p->IsPlayed();
    for (const CCupFixturesDatabase* p : handler.GetCupFixtures().Items<CCupFixturesDatabase>())
        nPlayed += p->IsPlayed();
    EXPECT_EQ(nPlayed, std::stoi(match[1]));
    int nPlayers = 0;
    for (const CCountryDatabase* pCountry : handler.GetCountries().Items<CCountryDatabase>())
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                nPlayers += pClub->m_lstPlayers.GetCount();
    EXPECT_EQ(nPlayers, std::stoi(match[3]));
    // No season turned in 45 days: the head counts file holds the end's line only.
    const std::string counts = Read(seasons);
    EXPECT_EQ(counts.rfind("end date 1999-08-15 players " + match[3].str() + " ", 0), 0u) << counts;
    EXPECT_EQ(std::count(counts.begin(), counts.end(), '\n'), 1) << counts;
}

TEST_F(WorldRun, WritesTheWholeSetThatResaveLoadsAndWritesAgain)
{
    int nStatus = 0;
    const std::string output = Run(60, 42, "a.bin", nStatus);
    ASSERT_EQ(nStatus, 0) << output;
    const std::string a = (m_folder.Path() / "a").string(), b = (m_folder.Path() / "b").string();
    const std::string resaved = RunCommand("resave", "'" + a + ".bin' '" + b + ".bin'", nStatus);
    ASSERT_EQ(nStatus, 0) << resaved;
    for (const char* pszMember : {".bin", ".sav", ".chs", ".dhs", ".phs", ".mhs", ".fty", ".fhs", ".pfn", ".shs",
                                  ".ths", ".lhs", ".eml", ".rtp", ".rtm", ".rts", ".wmh", ".hhs"}) {
        ASSERT_TRUE(fs::exists(a + pszMember)) << pszMember;
        EXPECT_TRUE(Read(a + pszMember) == Read(b + pszMember)) << pszMember << " is written again byte for byte";
    }

    fs::remove(b + ".rtm");
    const std::string refused = RunCommand("resave", "'" + b + ".bin' '" + a + ".bin'", nStatus);
    EXPECT_NE(nStatus, 0);
    EXPECT_NE(refused.find("lacks b.rtm"), std::string::npos) << refused;
}

TEST_F(WorldRun, RefusesBadArgumentsWithAMessage)
{
    int nStatus = 0;
    EXPECT_NE(Run(-1, 1, "x.bin", nStatus).find("--days wants a whole number"), std::string::npos);
    EXPECT_NE(nStatus, 0);
    const std::string missing = RunTool("--data /nonexistent --days 1 --seed 1 --out x.bin", nStatus);
    EXPECT_NE(missing.find("holds no Data/Data.bin"), std::string::npos) << missing;
    EXPECT_NE(nStatus, 0);
    EXPECT_NE(RunTool("--days 1", nStatus).find("usage"), std::string::npos);
    EXPECT_FALSE(fs::exists(m_folder.Path() / "x.bin"));
}

}  // namespace
