// The sponsor and hoardings money tables: the strict reader, and the
// generated tables' money rising with the club's rating band.
#include "season/CHoardingsManager.h"
#include "season/CRangeTable.h"
#include "season/CSponsorManager.h"

#include "../database/GameTree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

std::string Fixture(const char* pszName)
{
    return (std::filesystem::path(BRELLOX_TEST_FIXTURES) / "money" / pszName).string();
}

TEST(RangeTable, ReadsRowsOfFiveRangesAndRefusesDamagedFiles)
{
    CRangeTable table;
    ASSERT_TRUE(table.Read(Fixture("ranges_good.txt").c_str(), 2, 1, 0, 100));
    EXPECT_EQ(table.Get(1, 0, 2).nMin, 50);
    EXPECT_EQ(table.Get(1, 0, 2).nMax, 60);
    EXPECT_EQ(table.Get(0, 0, 4).nMax, 10);
    EXPECT_EQ(table.Get(2, 0, 0).nMax, 0) << "a place outside the table is an empty range";

    const struct {
        const char* pszFile;
        const char* pszWhy;
    } aDamaged[] = {
        {"ranges_min_above_max.txt", "a minimum above its maximum"},
        {"ranges_four_ranges.txt", "a line of four ranges"},
        {"ranges_cut.txt", "a file cut before its last row"},
        {"ranges_out_of_bounds.txt", "a value beyond the table's bounds"},
        {"no_such_file.txt", "a missing file"},
    };
    for (const auto& damaged : aDamaged) {
        CRangeTable refused;
        ASSERT_TRUE(refused.Read(Fixture("ranges_good.txt").c_str(), 2, 1, 0, 100));
        EXPECT_FALSE(refused.Read(Fixture(damaged.pszFile).c_str(), 2, 1, 0, 100)) << damaged.pszWhy;
        EXPECT_FALSE(refused.IsLoaded()) << damaged.pszWhy << " leaves no half-read table";
    }
}

TEST(RangeTable, GeneratedTablesPayMoreToBiggerClubsAndBiggerFirms)
{
    CurrentFolder here(BRELLOX_GAME_DIR);
    ASSERT_TRUE(CSponsorManager::LoadTables());
    ASSERT_TRUE(CHoardingsManager::LoadTable());
    const CRangeTable* apTables[] = {&CSponsorManager::GetTable(SPONSORFOR_KIT),
                                     &CSponsorManager::GetTable(SPONSORFOR_SHIRT),
                                     &CSponsorManager::GetTable(SPONSORFOR_BOARD), &CHoardingsManager::GetTable()};
    for (const CRangeTable* pTable : apTables) {
        ASSERT_EQ(pTable->GetRows(), 10);
        for (int band = 0; band < 10; ++band)
            for (int column = 0; column < CRangeTable::COLUMNS; ++column) {
                const RANGE money = pTable->Get(band, 0, column);
                EXPECT_GT(money.nMin, 0);
                EXPECT_GE(pTable->Get(band, 1, column).nMin, 1) << "a contract runs at least once";
                if (band > 0)
                    EXPECT_GT(money.nMax, pTable->Get(band - 1, 0, column).nMax) << "band " << band;
                if (column > 0)
                    EXPECT_GT(money.nMax, pTable->Get(band, 0, column - 1).nMax) << "column " << column;
            }
    }
    // A top club's shirt deal is worth far more than a small club's.
    EXPECT_GT(CSponsorManager::GetTable(SPONSORFOR_SHIRT).Get(9, 0, 4).nMax,
              20 * CSponsorManager::GetTable(SPONSORFOR_SHIRT).Get(0, 0, 4).nMax);
}

}  // namespace
