// The crowd sounds of a match: the generated list and archive load every
// category, and list files with faults are refused or read as they say.
#include "match/CCrowdSounds.h"
#include "sound/CSoundManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace {

const std::string kGame = BRELLOX_GAME_DIR;
const std::string kArchive = kGame + "/Sounds/CrowdSounds.bfs";

// The file names a category's draws give.
std::set<std::string> NamesDrawn(const CCrowdSounds& crowd, int nCategory)
{
    std::set<std::string> names;
    for (int i = 0; i < 300; ++i) {
        const char* pszName = nullptr;
        if (crowd.GetRandomSample(nCategory, &pszName) != CCrowdSounds::kNoSample)
            names.insert(pszName);
    }
    return names;
}

class CrowdSoundsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_Manager.Create()); }
    // A list file of the text, read against the generated archive.
    bool LoadList(const std::string& text)
    {
        const std::string path = (std::filesystem::temp_directory_path() / "brellox_crowd_list.frm").string();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        const bool bLoaded = m_Crowd.Load(path.c_str(), kArchive.c_str(), m_Manager);
        std::filesystem::remove(path);
        return bLoaded;
    }

    CSoundManager m_Manager{4, true, true, nullptr};
    CCrowdSounds m_Crowd;
};

TEST_F(CrowdSoundsTest, TheGeneratedListLoadsEveryCategoryAndTheLoop)
{
    const std::string list = kGame + "/Data/Tables/CrowdSounds.frm";
    ASSERT_TRUE(m_Crowd.Load(list.c_str(), kArchive.c_str(), m_Manager));
    ASSERT_NE(m_Crowd.GetLoopID(), CCrowdSounds::kNoSample);
    EXPECT_STREQ(m_Manager.GetSound(m_Crowd.GetLoopID())->GetName(), "Loop1.wav");
    for (int c = 0; c < CCrowdSounds::kCategoryCount; ++c) {
        ASSERT_GT(m_Crowd.GetSampleCount(c), 0) << "category " << c;
        // Every sample of the category is drawn, and its id is its sound's.
        EXPECT_EQ(int(NamesDrawn(m_Crowd, c).size()), m_Crowd.GetSampleCount(c)) << "category " << c;
        const char* pszName = nullptr;
        const uint16_t wID = m_Crowd.GetRandomSample(c, &pszName);
        EXPECT_STREQ(m_Manager.GetSound(wID)->GetName(), pszName) << "category " << c;
    }
    EXPECT_EQ(m_Crowd.GetRandomSample(CCrowdSounds::kCategoryCount), CCrowdSounds::kNoSample);
    EXPECT_EQ(m_Crowd.GetRandomSample(-1), CCrowdSounds::kNoSample);
}

TEST_F(CrowdSoundsTest, ListsAreReadAsTheyStandOrRefused)
{
    struct Case {
        const char* pszName;
        std::string list;
        bool bLoads;
        int nCategory;
        std::set<std::string> names;  // what the category then draws
    } cases[] = {
        {"one sample always", "1\nGOAL 1\nRoar1\n", true, CROWDSOUND_GOAL, {"Roar1.wav"}},
        {"names on one line", "1\nMISS 2\nOoh1 Groan1\n", true, CROWDSOUND_MISS, {"Ooh1.wav", "Groan1.wav"}},
        {"a category listed twice keeps the later", "2\nFOUL 1\nFoul1\nFOUL 1\nFoul2\n", true, CROWDSOUND_FOUL,
         {"Foul2.wav"}},
        {"a category not listed draws nothing", "1\nGOAL 1\nRoar1\n", true, CROWDSOUND_CHANTS, {}},
        {"a name in lower case", "1\ngoal 1\nRoar1\n", false, CROWDSOUND_GOAL, {}},
        {"a sample the archive lacks", "1\nGOAL 2\nRoar1\nNoSuchRoar\n", false, CROWDSOUND_GOAL, {}},
        {"fewer names than the count", "1\nGOAL 3\nRoar1\nRoar2\n", false, CROWDSOUND_GOAL, {}},
        {"a name too long for its field", "1\nGOAL 1\n" + std::string(46, 'R') + "\n", false,
         CROWDSOUND_GOAL, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LoadList(c.list), c.bLoads) << c.pszName;
        EXPECT_EQ(NamesDrawn(m_Crowd, c.nCategory), c.names) << c.pszName;
    }
}

TEST_F(CrowdSoundsTest, AMissingListOrArchiveLoadsNothing)
{
    const std::string list = kGame + "/Data/Tables/CrowdSounds.frm";
    EXPECT_FALSE(m_Crowd.Load("Data/Tables/NoCrowd.frm", kArchive.c_str(), m_Manager));
    EXPECT_FALSE(m_Crowd.Load(list.c_str(), "Sounds/NoCrowd.bfs", m_Manager));
    EXPECT_EQ(m_Crowd.GetLoopID(), CCrowdSounds::kNoSample);
    EXPECT_EQ(m_Crowd.GetSampleCount(CROWDSOUND_GOAL), 0);
}

}  // namespace
