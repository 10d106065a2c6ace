// The name tables: sorted place of new names, case, refusals, and the
// dictionary file and offsets they save.
#include "EditorFolder.h"

#include "editor/CNameTable.h"

#include "database/CNameDictionary.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using editor_test::ReadBytes;
namespace fs = std::filesystem;

class NameTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char szTemplate[] = "/tmp/brellox_names_XXXXXX";
        m_dir = mkdtemp(szTemplate);
        const std::string path = (m_dir / "names.dat").string();
        ASSERT_TRUE(CNameDictionary::Write(path.c_str(), {"Abel", "Bram", "Dirk", "Joost", "Wim"}));
        ASSERT_TRUE(m_Dictionary.Load(path.c_str(), true));
        ASSERT_TRUE(m_Table.LoadFromDictionary(m_Dictionary));
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (int i = 0; i < m_Table.GetCount(); ++i)
            names.emplace_back(m_Table.GetName(i));
        return names;
    }

    fs::path m_dir;
    CNameDictionary m_Dictionary;
    CNameTable m_Table{CNameTable::KIND_LAST};
};

TEST_F(NameTableTest, AKnownNameAddsNothingAndNewOnesTakeTheirSortedPlace)
{
    const char* pszKnown = nullptr;
    ASSERT_TRUE(m_Table.FindOrInsert("Dirk", &pszKnown));
    EXPECT_EQ(pszKnown, m_Table.Find("Dirk"));
    EXPECT_EQ(m_Table.GetCount(), 5);

    // Before the first, between two, after the last, and a name that differs
    // only in case (upper case sorts first by byte).
    const char* pszPointer = nullptr;
    for (const char* pszName : {"Aart", "Cees", "Zeger", "bram"})
        ASSERT_TRUE(m_Table.FindOrInsert(pszName, &pszPointer)) << pszName;
    EXPECT_EQ(Names(), (std::vector<std::string>{"Aart", "Abel", "Bram", "Cees", "Dirk", "Joost", "Wim", "Zeger",
                                                 "bram"}));
    EXPECT_STREQ(pszPointer, "bram");
    // A record's pointer stays good while the table grows around it.
    EXPECT_STREQ(pszKnown, "Dirk");
    EXPECT_EQ(pszKnown, m_Table.Find("Dirk"));
    EXPECT_EQ(m_Table.GetTotalSize(), std::strlen("AartAbelBramCeesDirkJoostWimZegerbram") + 9);
}

TEST_F(NameTableTest, NamesADictionaryCannotHoldAreRefusedAndNothingChanges)
{
    const char* pszName = m_Table.Find("Bram");
    for (const std::string& bad : {std::string(), std::string(CNameDictionary::kMaxNameLength + 1, 'x')}) {
        EXPECT_FALSE(m_Table.FindOrInsert(bad.c_str(), &pszName));
        EXPECT_STREQ(pszName, "Bram");
    }
    EXPECT_EQ(m_Table.GetCount(), 5);
}

TEST_F(NameTableTest, TheSavedFileListsTheNamesInOrderAndOffsetsPointAtThem)
{
    const char* pszName = nullptr;
    ASSERT_TRUE(m_Table.FindOrInsert("Karel", &pszName));
    const fs::path saved = m_dir / "saved.dat";
    FILE* pFile = std::fopen(saved.c_str(), "wb");
    ASSERT_NE(pFile, nullptr);
    ASSERT_TRUE(m_Table.Write(pFile));
    std::fclose(pFile);

    CNameDictionary reread;
    ASSERT_TRUE(reread.Load(saved.c_str(), true));
    ASSERT_EQ(reread.GetCount(), 6);
    for (int i = 0; i < reread.GetCount(); ++i)
        EXPECT_STREQ(reread.GetName(i), m_Table.GetName(i));
    for (const char* pszLookup : {"Abel", "Karel", "Wim"}) {
        uint32_t dwOffset = 0;
        ASSERT_TRUE(m_Table.GetOffset(pszLookup, dwOffset));
        EXPECT_STREQ(reread.GetNameAtOffset(dwOffset), pszLookup);
    }
    uint32_t dwOffset = 0;
    EXPECT_FALSE(m_Table.GetOffset("Nobody", dwOffset));

    // Unchanged, the table saves the very file it was read from.
    CNameTable unchanged{CNameTable::KIND_LAST};
    ASSERT_TRUE(unchanged.LoadFromDictionary(m_Dictionary));
    pFile = std::fopen(saved.c_str(), "wb");
    ASSERT_TRUE(unchanged.Write(pFile));
    std::fclose(pFile);
    EXPECT_EQ(ReadBytes(saved), ReadBytes(m_dir / "names.dat"));
}

}  // namespace
