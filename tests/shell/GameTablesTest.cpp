// The match-day rule tables: rows become facility entries in column order,
// and a damaged file is refused with its line while the table keeps what it had.
#include "LogCapture.h"

#include "database/CGameTables.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class GameTablesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder = fs::temp_directory_path() / ("tables_" + std::to_string(::getpid()));
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }
    std::string File(const std::string& text)
    {
        const std::string path = (m_folder / "table.txt").string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    static std::string Rows(int nRows, const std::string& row)
    {
        std::string text;
        for (int i = 0; i < nRows; ++i)
            text += row + "\r\n";
        return text;
    }
    fs::path m_folder;
};

TEST_F(GameTablesTest, RowsBecomeEntriesInColumnOrder)
{
    CGameTables tables;
    // Seven positive values: the first six are kept; the fourth column has no facility.
    ASSERT_TRUE(tables.LoadOtherRestrictions(
        File("0,0,0,7,1,2,3,4,5,6,0,0,0,0,0\n" + Rows(2, "0,0,0,0,0,0,0,0,0,0,0,0,0,0,0"))
            .c_str()));
    ASSERT_EQ(tables.GetRestrictions().size(), 3u);
    const auto& entries = tables.GetRestrictions()[0].Entries;
    ASSERT_EQ(entries.size(), 6u);
    EXPECT_EQ(entries[0].nKind, 0xFF);
    EXPECT_EQ(entries[0].nLevel, 0xFF);
    EXPECT_EQ(entries[0].nValue, 7);
    EXPECT_EQ(entries[1].nKind, 7);
    EXPECT_EQ(entries[1].nLevel, 1);
    EXPECT_EQ(entries[5].nKind, 5);
    EXPECT_EQ(entries[5].nLevel, 2);
    EXPECT_EQ(entries[5].nValue, 5);
    EXPECT_TRUE(tables.GetRestrictions()[1].Entries.empty());

    ASSERT_TRUE(tables.LoadMerchandise(File(Rows(17, "60,1800,4200,0,0,0,0,0,0,40,120,300,0,0,0,0,0,9")).c_str()));
    const MERCHANDISEROW& row = tables.GetMerchandise()[16];
    EXPECT_EQ(row.nStandardPrice, 4200);
    ASSERT_EQ(row.Entries.size(), 4u);
    EXPECT_EQ(row.Entries[0].nKind, 5);
    EXPECT_EQ(row.Entries[3].nKind, 4);
    EXPECT_EQ(row.Entries[3].nLevel, 1);
}

TEST_F(GameTablesTest, RefusesDamagedFilesAndKeepsTheTable)
{
    CGameTables tables;
    const std::string good = Rows(7, "150,1,2,3,0,2,4,1,2,3,1,2,1,2");
    ASSERT_TRUE(tables.LoadMatchDayCosts(File(good).c_str()));
    const struct {
        std::string text;
        const char* pszReason;
    } cases[] = {
        {Rows(6, "150,1,2,3,0,2,4,1,2,3,1,2,1,2"), "fewer lines"},
        {good + "1,2\n", "more lines"},
        {"150,1,2,3,0,2,4,1,2,3,1,2,1\n" + good, "too few values"},
        {"150,1,2,3,0,2,4,1,2,3,1,2,1,2,5\n" + good, "more values"},
        {"150,1,2,x,0,2,4,1,2,3,1,2,1,2\n" + good, "not a whole number"},
        {"150,256,2,3,0,2,4,1,2,3,1,2,1,2\n" + good, "cannot take"},
        {"150,99999999999,2,3,0,2,4,1,2,3,1,2,1,2\n" + good, "out of range"},
        {std::string(90, '1') + "\n" + good, "longer than 80"},
    };
    for (const auto& c : cases) {
        LogCapture log;
        EXPECT_FALSE(tables.LoadMatchDayCosts(File(c.text).c_str())) << c.pszReason;
        EXPECT_TRUE(log.Contains(c.pszReason)) << c.pszReason;
        EXPECT_TRUE(log.Contains("line ")) << c.pszReason;
        ASSERT_EQ(tables.GetMatchDayCosts().size(), 7u);
        EXPECT_EQ(tables.GetMatchDayCosts()[0].nUnitAmount, 150);
    }
    LogCapture log;
    EXPECT_FALSE(tables.LoadMerchandise((m_folder / "none.txt").c_str()));
    EXPECT_TRUE(log.Contains("[OnGameStart]:: The handle for the file is NULL could not open"));
}

TEST_F(GameTablesTest, TheShippedTablesLoad)
{
    const fs::path previous = fs::current_path();
    fs::current_path(BRELLOX_GAME_DIR);
    CGameTables tables;
    const bool bLoaded = tables.LoadTables();
    fs::current_path(previous);
    EXPECT_TRUE(bLoaded);
    EXPECT_EQ(tables.GetMerchandise().size(), 17u);
    EXPECT_EQ(tables.GetRestrictions().size(), 3u);
    EXPECT_EQ(tables.GetMatchDayCosts().size(), 7u);
}

}  // namespace
