// The closed-month books read back as they were written, and a damaged
// record ending the reading without taking the good ones with it.
#include "season/CFinanceMonthFile.h"

#include "common/CBinaryFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

// One month record: {length, balances, savings, groups, two tables, the
// transactions}; nExtra bytes of room follow the transactions.
void WriteMonth(std::vector<uint8_t>& bytes, int32_t nBefore, int32_t nAfter,
                const std::vector<FINANCETRANSACTION>& transactions, uint32_t nExtra = 0)
{
    CBinaryWriter writer(bytes);
    writer.WriteU32(static_cast<uint32_t>(12 + 4 * FINANCE_GROUPS + 16 * FINANCE_CATEGORIES + 4 +
                                          16 * transactions.size() + nExtra));
    writer.WriteI32(nBefore);
    writer.WriteI32(nAfter);
    writer.WriteI32(0);
    for (int g = 0; g < FINANCE_GROUPS; ++g)
        writer.WriteI32(g * 10);
    for (int table = 0; table < 2; ++table)
        for (int c = 0; c < FINANCE_CATEGORIES; ++c) {
            writer.WriteI32(c == 5 ? 700 * (table + 1) : 0);
            writer.WriteI32(c == 9 ? 300 : 0);
        }
    writer.WriteU32(static_cast<uint32_t>(transactions.size()));
    for (const FINANCETRANSACTION& t : transactions) {
        writer.WriteI32(t.nIncome);
        writer.WriteI32(t.nExpense);
        writer.WriteU32(t.dwCategory);
        writer.WriteU32(t.dwParameter);
    }
    for (uint32_t i = 0; i < nExtra; ++i)
        writer.WriteU8(0);
}

class FinanceMonthFile : public ::testing::Test {
protected:
    void Write(const std::vector<uint8_t>& bytes)
    {
        std::ofstream(m_path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                      static_cast<std::streamsize>(bytes.size()));
    }
    void TearDown() override { std::filesystem::remove(m_path); }
    std::string m_path = (std::filesystem::temp_directory_path() /
                          ("finance_months_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".fty"))
                             .string();
};

TEST_F(FinanceMonthFile, RecordsReadBackAndADamagedOneEndsTheReading)
{
    std::vector<uint8_t> bytes;
    WriteMonth(bytes, 1000, 1400, {{0, 300, 9, 17}, {0, 150, 9, 18}});
    WriteMonth(bytes, 1400, 1800, {}, 8);  // room after the transactions is passed over
    const size_t nGood = bytes.size();
    // A count of transactions (a thousand million) the record's length has
    // no room for: trusted, it would ask for gigabytes.
    WriteMonth(bytes, 1800, 2000, {{1, 2, 3, 4}});
    bytes[nGood + 4 + 12 + 4 * FINANCE_GROUPS + 16 * FINANCE_CATEGORIES + 3] = 0x40;
    // And a record cut short.
    WriteMonth(bytes, 2000, 2100, {});
    bytes.resize(bytes.size() - 40);
    Write(bytes);

    const std::vector<FINANCEMONTH> months = CFinanceMonthFile::ReadMonths(m_path.c_str());
    ASSERT_EQ(months.size(), 2u);
    EXPECT_EQ(months[0].nBalanceBefore, 1000);
    EXPECT_EQ(months[0].nBalanceAfter, 1400);
    EXPECT_EQ(months[0].anGroupTotals[14], 140);
    EXPECT_EQ(months[0].aMonth[5].nIncome, 700);
    EXPECT_EQ(months[0].aSeason[5].nIncome, 1400);
    EXPECT_EQ(months[0].aMonth[9].nExpense, 300);
    ASSERT_EQ(months[0].Transactions.size(), 2u);
    EXPECT_EQ(months[0].Transactions[1].nExpense, 150);
    EXPECT_EQ(months[0].Transactions[1].dwParameter, 18u);
    EXPECT_EQ(months[1].nBalanceAfter, 1800);
    EXPECT_TRUE(months[1].Transactions.empty());
}

TEST_F(FinanceMonthFile, AMissingFileHasNoMonthsAndAProjectionReadsItsBalances)
{
    EXPECT_TRUE(CFinanceMonthFile::ReadMonths(m_path.c_str()).empty());
    std::vector<uint8_t> bytes;
    CBinaryWriter writer(bytes);
    for (int32_t nBalance : {-5000, 12000}) {
        writer.WriteI32(nBalance);
        for (int i = 0; i < 884; ++i)
            writer.WriteU8(0xAB);
    }
    writer.WriteI32(777);  // a record cut short is not a month
    Write(bytes);
    EXPECT_EQ(CFinanceMonthFile::ReadProjectedBalances(m_path.c_str()), (std::vector<int32_t>{-5000, 12000}));
}

}  // namespace
