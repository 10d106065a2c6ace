#include "LogCapture.h"

#include "shell/CFileManager.h"
#include "tools/gfxkit/BfsWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class BfsArchive : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/brellox-bfs-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_folder = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + m_folder + "'").c_str()); }

    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes)
    {
        const std::string path = m_folder + "/" + name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    std::vector<uint8_t> Encode(const std::vector<tools::BfsMember>& members)
    {
        std::vector<uint8_t> bytes;
        std::string error;
        EXPECT_TRUE(tools::encodeBfs(members, bytes, error)) << error;
        return bytes;
    }
    static tools::BfsMember Member(const std::string& name, const std::string& text)
    {
        return {name, std::vector<uint8_t>(text.begin(), text.end())};
    }
    static std::string ReadMember(CFileManager& archive, const char* name, bool& found)
    {
        long size = -1;
        FILE* f = archive.Get(name, &size, &found);
        if (!found || !f || size < 0)
            return {};
        std::string text(static_cast<size_t>(size), '\0');
        if (std::fread(text.data(), 1, text.size(), f) != text.size())
            return "<short>";
        return text;
    }
    std::string m_folder;
};

TEST_F(BfsArchive, FindsEveryMemberWithoutRegardToCase)
{
    const std::vector<tools::BfsMember> members = {
        Member("zLast.bmp", "last"),   Member("btnTog.bmp", "toggle"), Member("Alpha.bmp", "first"),
        Member("_under.wav", "under"), Member("icnRed.bmp", "red"),    Member("middle.txt", "mid"),
    };
    const std::string path = Write("Main.BFS", Encode(members));
    CFileManager archive;
    ASSERT_TRUE(archive.Open(path.c_str()));
    ASSERT_EQ(archive.GetCount(), 6);
    // The directory is in the order of a lower-case comparison: '_' sorts before letters.
    const char* expected[] = {"_under.wav", "Alpha.bmp", "btnTog.bmp", "icnRed.bmp", "middle.txt", "zLast.bmp"};
    for (int i = 0; i < 6; ++i)
        EXPECT_STREQ(archive.GetEntryName(i), expected[i]);
    for (const tools::BfsMember& m : members) {
        bool found = false;
        std::string upper = m.name;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_EQ(ReadMember(archive, upper.c_str(), found), std::string(m.bytes.begin(), m.bytes.end()));
        EXPECT_TRUE(found) << upper;
    }
}

TEST_F(BfsArchive, LongNamesUseTheLongDirectory)
{
    const std::string path = Write("Long.BFS", Encode({Member("a_rather_long_member_name.wav", "long"),
                                                        Member("short.bmp", "short")}));
    CFileManager archive;
    ASSERT_TRUE(archive.Open(path.c_str()));
    EXPECT_NE(archive.m_wNameForm, 0);
    bool found = false;
    EXPECT_EQ(ReadMember(archive, "A_Rather_Long_Member_Name.WAV", found), "long");
    EXPECT_TRUE(found);
    EXPECT_EQ(ReadMember(archive, "short.bmp", found), "short");
}

TEST_F(BfsArchive, MissingMembersAndEmptyDirectoriesFindNothing)
{
    LogCapture log;
    const std::string path = Write("Two.BFS", Encode({Member("b.bmp", "b"), Member("d.bmp", "d")}));
    CFileManager archive;
    ASSERT_TRUE(archive.Open(path.c_str()));
    for (const char* name : {"a.bmp", "c.bmp", "e.bmp", "b.bm", ""}) {
        bool found = true;
        long size = 99;
        archive.Get(name, &size, &found);
        EXPECT_FALSE(found) << name;
        EXPECT_EQ(size, 99);
    }
    EXPECT_TRUE(log.Contains("[CFileManager::Get] Could not find Filename : c.bmp"));

    const std::string emptyPath = Write("Empty.BFS", Encode({}));
    CFileManager empty;
    ASSERT_TRUE(empty.Open(emptyPath.c_str()));
    bool found = true;
    empty.Get("b.bmp", nullptr, &found);
    EXPECT_FALSE(found);
}

TEST_F(BfsArchive, OpenAndCloseReportMisuse)
{
    LogCapture log;
    const std::string first = Write("One.BFS", Encode({Member("one.bmp", "1")}));
    const std::string second = Write("Other.BFS", Encode({Member("other.bmp", "2")}));
    CFileManager archive;
    bool found = true;
    EXPECT_EQ(archive.Get("one.bmp", nullptr, &found), nullptr);
    EXPECT_FALSE(found);
    EXPECT_TRUE(log.Contains("[CFileManager::Get] Cannot get file, no file is open."));
    archive.Close();
    EXPECT_TRUE(log.Contains("[CFileManager::Close] Cannot close file, no file is open"));
    EXPECT_FALSE(archive.Open((m_folder + "/Nothing.BFS").c_str()));
    EXPECT_TRUE(log.Contains("[CFileManager::Open] Could not open : "));

    ASSERT_TRUE(archive.Open(first.c_str()));
    EXPECT_FALSE(archive.Open(second.c_str()));
    EXPECT_TRUE(log.Contains("[CFileManager::Open] There is already a file open."));
    // The first archive is still the open one.
    EXPECT_EQ(ReadMember(archive, "one.bmp", found), "1");
    archive.Close();
    ASSERT_TRUE(archive.Open(second.c_str()));
    EXPECT_EQ(ReadMember(archive, "other.bmp", found), "2");
}

TEST_F(BfsArchive, DamagedArchivesAreRefusedWithALogLine)
{
    const std::vector<uint8_t> good = Encode({Member("a.bmp", "aaaa"), Member("b.bmp", "bbbb"), Member("c.bmp", "cc")});
    struct Case {
        const char* what;
        void (*damage)(std::vector<uint8_t>&);
    };
    const Case cases[] = {
        {"header cut", [](std::vector<uint8_t>& b) { b.resize(6); }},
        {"count beyond the file", [](std::vector<uint8_t>& b) { b[4] = 0xFF; b[5] = 0x7F; }},
        {"directory cut", [](std::vector<uint8_t>& b) { b.resize(8 + 24 + 10); }},
        {"member past the end", [](std::vector<uint8_t>& b) { b[8 + 24 + 4] = 0xFF; }},
        {"offset past the end", [](std::vector<uint8_t>& b) { b[8 + 3] = 0x40; }},
        {"name not terminated", [](std::vector<uint8_t>& b) { std::memset(&b[8 + 8], 'x', 16); }},
        {"out of order", [](std::vector<uint8_t>& b) { b[8 + 8] = 'z'; }},
        {"empty name", [](std::vector<uint8_t>& b) { b[8 + 24 + 8] = 0; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = good;
        c.damage(bytes);
        const std::string path = Write("Damaged.BFS", bytes);
        LogCapture log;
        CFileManager archive;
        EXPECT_FALSE(archive.Open(path.c_str()));
        EXPECT_EQ(archive.m_pFile, nullptr);
        EXPECT_TRUE(log.Contains("[CFileManager::Open] Damaged archive")) << (log.lines.empty() ? "" : log.lines[0]);
        bool found = true;
        archive.Get("a.bmp", nullptr, &found);
        EXPECT_FALSE(found);
    }
}

TEST_F(BfsArchive, ThePackerRefusesNamesTheDirectoryCannotHold)
{
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(tools::encodeBfs({Member("Same.bmp", "1"), Member("SAME.BMP", "2")}, bytes, error));
    EXPECT_FALSE(tools::encodeBfs({Member(std::string(40, 'n'), "1")}, bytes, error));
    EXPECT_FALSE(tools::encodeBfs({Member("", "1")}, bytes, error));
}

TEST_F(BfsArchive, ThePaintedMainArchiveHoldsTheInterfaceBitmaps)
{
    CFileManager archive;
    ASSERT_TRUE(archive.Open((std::string(BRELLOX_GAME_DIR) + "/GFX/Main.BFS").c_str()));
    for (const char* name : {"bgMain.bmp", "curX1.bmp"}) {
        bool found = false;
        long size = 0;
        FILE* f = archive.Get(name, &size, &found);
        ASSERT_TRUE(found) << name;
        char signature[2] = {};
        ASSERT_EQ(std::fread(signature, 1, 2, f), 2u);
        EXPECT_EQ(signature[0], 'B');
        EXPECT_EQ(signature[1], 'M');
    }
}

}  // namespace
