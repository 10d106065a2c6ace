// worldtool generate: a full tree from the real sources, and a clear refusal
// of damaged sources.
#include "database/CNameDictionary.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <stdlib.h>

namespace fs = std::filesystem;

namespace {

class TempFolder {
public:
    TempFolder()
    {
        char szTemplate[] = "/tmp/brellox_tool_XXXXXX";
        m_path = mkdtemp(szTemplate);
    }
    ~TempFolder() { fs::remove_all(m_path); }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

int RunWorldTool(const fs::path& output, const fs::path& sources)
{
    const std::string command = std::string(WORLDTOOL) + " generate '" + output.string() + "' --data '" +
                                sources.string() + "' 2>/dev/null";
    return std::system(command.c_str());
}

void Replace(const fs::path& file, const std::string& from, const std::string& to)
{
    std::ifstream in(file);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
    std::ofstream(file, std::ios::trunc) << text;
}

TEST(WorldToolTest, GeneratesEveryNameAndTableFile)
{
    TempFolder out;
    // An earlier game's working files in the folder are not read into the new world.
    std::ofstream(out.Path() / "temp.rtm") << "an earlier game's retired managers";
    ASSERT_EQ(RunWorldTool(out.Path(), BRELLOX_DATA_SOURCE), 0);
    EXPECT_FALSE(fs::exists(out.Path() / "temp.rtm"));
    int nPools = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(out.Path() / "Data" / "Names")) {
        CNameDictionary names;
        const std::string file = entry.path().filename().string();
        const bool bDictionary = file == "FirstNames.dat" || file == "LastNames.dat";
        EXPECT_TRUE(names.Load(entry.path().string().c_str(), bDictionary)) << file;
        nPools += !bDictionary;
    }
    EXPECT_EQ(nPools, 66);
    for (const char* pszTable : {"Stadiums.txt", "Roofing.txt", "StaExtra.txt", "Facilities.txt", "Features.txt",
                                 "StadAlloc.txt", "M&C.txt", "MatchDay.txt", "OtherRestrictions.txt", "PlayOffs.txt"})
        EXPECT_TRUE(fs::exists(out.Path() / "Data" / "Tables" / pszTable)) << pszTable;
}

TEST(WorldToolTest, RefusesDamagedSources)
{
    const struct {
        const char* pszName;
        std::function<void(const fs::path&)> damage;
    } cases[] = {
        {"missing pool", [](const fs::path& d) { fs::remove(d / "names" / "55-hungarian.txt"); }},
        {"pool without surnames", [](const fs::path& d) { Replace(d / "names" / "50-icelandic.txt", "[last]", "[other]"); }},
        {"name twice", [](const fs::path& d) { Replace(d / "names" / "01-english.txt", "John\n", "James\n"); }},
        {"name too long", [](const fs::path& d) { Replace(d / "names" / "01-english.txt", "John\n", std::string(27, 'j') + "\n"); }},
        {"facility missing", [](const fs::path& d) { Replace(d / "tables" / "facilities.txt", "4,0,60000,4,6000\n", ""); }},
        {"price of nothing", [](const fs::path& d) { Replace(d / "tables" / "matchday.txt", "60,1800,4200,", "60,1800,0,"); }},
        {"double tier without sections", [](const fs::path& d) { Replace(d / "tables" / "stands.txt", "2,4,7500", "2,3,7500"); }},
        {"stand kinds shrink", [](const fs::path& d) { Replace(d / "tables" / "stands.txt", "0,2,3000,2000,600,12,3", "0,2,300,200,60,12,3"); }},
        {"play-off promoting more than it holds", [](const fs::path& d) { Replace(d / "world" / "01-england.txt", "First Division,2,3,4,1", "First Division,2,3,1,2"); }},
        {"play-off places without promotions", [](const fs::path& d) { Replace(d / "world" / "01-england.txt", "First Division,2,3,4,1", "First Division,2,3,4,0"); }},
        {"play-off without a final", [](const fs::path& d) { Replace(d / "tables" / "playoffs.txt", "1,1,1,0,1,6,4,5,1,255,0,0,0,17,3,5,5,2\n", ""); }},
    };
    for (const auto& c : cases) {
        TempFolder sources;
        fs::copy(BRELLOX_DATA_SOURCE, sources.Path(), fs::copy_options::recursive);
        c.damage(sources.Path());
        TempFolder out;
        EXPECT_NE(RunWorldTool(out.Path(), sources.Path()), 0) << c.pszName;
    }
}

}  // namespace
