#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Random.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>

namespace {

// A scratch folder under the system temporary folder, removed afterwards.
class ScratchFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/brellox-platform-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_root = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + m_root + "'").c_str()); }
    void Write(const std::string& relative, const std::string& text)
    {
        std::ofstream(m_root + "/" + relative) << text;
    }
    std::string m_root;
};

TEST_F(ScratchFolder, ResolvesBackslashesAndCaseOfEveryComponent)
{
    ASSERT_TRUE(plat::makeDirectories(m_root + "/data/tables"));
    Write("data/tables/hoard.txt", "x");
    const std::string found = plat::resolvePath(m_root + "\\Data\\Tables\\Hoard.TXT");
    EXPECT_EQ(found, m_root + "/data/tables/hoard.txt");
    EXPECT_TRUE(plat::fileExists(m_root + "\\DATA\\TABLES\\HOARD.TXT"));
    // A new file keeps the spelling given, inside the folders as they exist.
    EXPECT_EQ(plat::resolvePath(m_root + "\\Data\\Tables\\New.bin"), m_root + "/data/tables/New.bin");
    EXPECT_FALSE(plat::fileExists(m_root + "\\Data\\Missing\\x.txt"));
}

TEST_F(ScratchFolder, ListsAndRemovesByWildcardWithoutCase)
{
    Write("temp1.ths", "a");
    Write("Temp2.THS", "b");
    Write("temp.mhs", "c");
    ASSERT_TRUE(plat::makeDirectories(m_root + "/temp9.ths"));  // folders are not listed
    const auto names = plat::listFiles(m_root, "Temp*.ths");
    EXPECT_EQ(names, (std::vector<std::string>{"Temp2.THS", "temp1.ths"}));
    EXPECT_EQ(plat::removeFiles(m_root, "TEMP*.THS"), 2);
    EXPECT_EQ(plat::listFiles(m_root, "*"), (std::vector<std::string>{"temp.mhs"}));
}

TEST_F(ScratchFolder, ListsSubFoldersOnly)
{
    Write("notes.txt", "a");
    ASSERT_TRUE(plat::makeDirectories(m_root + "/Saves/inner"));
    ASSERT_TRUE(plat::makeDirectories(m_root + "/data"));
    EXPECT_EQ(plat::listFolders(m_root), (std::vector<std::string>{"Saves", "data"}));
    EXPECT_TRUE(plat::listFolders(m_root + "/missing").empty());
}

TEST(WildcardTest, Patterns)
{
    struct Case {
        const char* pattern;
        const char* name;
        bool match;
    } cases[] = {
        {"*.mp3", "Track1.MP3", true}, {"*.mp3", "track.mp3.bak", false}, {"Temp?.fty", "temp3.fty", true},
        {"Temp?.fty", "temp12.fty", false}, {"*", "", true}, {"a*b*c", "aXXbYYc", true}, {"a*b*c", "aXXbYY", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(plat::wildcardMatch(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}

TEST_F(ScratchFolder, CopyReadAndSize)
{
    Write("a.bin", "hello");
    EXPECT_EQ(plat::fileSize(m_root + "\\A.BIN"), 5);
    EXPECT_TRUE(plat::copyFile(m_root + "/a.bin", m_root + "/b.bin"));
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(plat::readWholeFile(m_root + "/b.bin", bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "hello");
    EXPECT_FALSE(plat::copyFile(m_root + "/missing", m_root + "/c.bin"));
    EXPECT_FALSE(plat::fileExists(m_root + "/c.bin"));
    EXPECT_EQ(plat::fileSize(m_root + "/missing"), -1);
    EXPECT_GT(plat::freeDiskBytes(m_root), 0);
}

TEST(RandomTest, SameSeedSameSequenceWithinRange)
{
    plat::srand(42);
    std::vector<int> first;
    for (int i = 0; i < 1000; ++i)
        first.push_back(plat::rand());
    plat::srand(42);
    std::set<int> distinct;
    for (int i = 0; i < 1000; ++i) {
        const int v = plat::rand();
        EXPECT_EQ(v, first[i]);
        EXPECT_GE(v, 0);
        EXPECT_LE(v, plat::kRandMax);
        distinct.insert(v);
    }
    EXPECT_GT(distinct.size(), 900u);
    plat::srand(43);
    EXPECT_NE(plat::rand(), first[0]);
}

// The game's saved worlds depend on the exact sequence: the first draws of
// seed 1 are pinned, and the state that srand sets, rand moves and randState
// reports is one and the same.
TEST(RandomTest, KnownSequenceAndStateAgree)
{
    plat::srand(1);
    EXPECT_EQ(plat::randState(), 1u);
    for (const int nExpected : {41, 18467, 6334, 26500})
        EXPECT_EQ(plat::rand(), nExpected);
    const unsigned nState = plat::randState();
    const int nNext = plat::rand();
    plat::srand(nState);
    EXPECT_EQ(plat::rand(), nNext);
}

TEST(ClockTest, MillisecondsDoNotGoBackwards)
{
    const uint32_t a = plat::milliseconds();
    const uint32_t b = plat::milliseconds();
    EXPECT_GE(b - a, 0u);
    EXPECT_LT(b - a, 1000u);
}

}  // namespace
