#include "season/CFinanceMonthFile.h"

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "platform/Files.h"

namespace {

// Balances, savings, group totals, the two tables and the transaction count.
constexpr uint32_t kFixedBody = 12 + 4 * FINANCE_GROUPS + 16 * FINANCE_CATEGORIES + 4;
constexpr uint32_t kTransactionBytes = 16;
constexpr size_t kProjectedRecordBytes = 888;

bool ReadTable(CBinaryReader& reader, FINANCEENTRY* pTable)
{
    for (int c = 0; c < FINANCE_CATEGORIES; ++c)
        if (!reader.ReadI32(pTable[c].nIncome) || !reader.ReadI32(pTable[c].nExpense))
            return false;
    return true;
}

bool ReadBody(CBinaryReader& reader, uint32_t dwLength, FINANCEMONTH& month)
{
    if (dwLength < kFixedBody)
        return false;
    if (!reader.ReadI32(month.nBalanceBefore) || !reader.ReadI32(month.nBalanceAfter) ||
        !reader.ReadI32(month.nSavings))
        return false;
    for (int32_t& nTotal : month.anGroupTotals)
        if (!reader.ReadI32(nTotal))
            return false;
    uint32_t dwCount = 0;
    if (!ReadTable(reader, month.aMonth) || !ReadTable(reader, month.aSeason) || !reader.ReadU32(dwCount))
        return false;
    if (dwCount > (dwLength - kFixedBody) / kTransactionBytes)
        return false;
    month.Transactions.resize(dwCount);
    for (FINANCETRANSACTION& t : month.Transactions)
        if (!reader.ReadI32(t.nIncome) || !reader.ReadI32(t.nExpense) || !reader.ReadU32(t.dwCategory) ||
            !reader.ReadU32(t.dwParameter))
            return false;
    // Room a later writer may add after the transactions is passed over.
    return reader.Skip(dwLength - kFixedBody - dwCount * kTransactionBytes);
}

}  // namespace

std::vector<FINANCEMONTH> CFinanceMonthFile::ReadMonths(const char* pszName)
{
    std::vector<FINANCEMONTH> months;
    FILE* pFile = pszName ? plat::openFile(pszName, "rb") : nullptr;
    if (!pFile)
        return months;
    CBinaryReader reader(pFile);
    uint32_t dwLength = 0;
    while (reader.ReadU32(dwLength)) {
        FINANCEMONTH month;
        if (!ReadBody(reader, dwLength, month)) {
            DebugLog(0, "[CFinanceMonthFile::ReadMonths] %s: record %zu is damaged; the rest is not read", pszName,
                     months.size() + 1);
            break;
        }
        months.push_back(std::move(month));
    }
    std::fclose(pFile);
    return months;
}

std::vector<int32_t> CFinanceMonthFile::ReadProjectedBalances(const char* pszName)
{
    std::vector<int32_t> balances;
    FILE* pFile = pszName ? plat::openFile(pszName, "rb") : nullptr;
    if (!pFile)
        return balances;
    CBinaryReader reader(pFile);
    int32_t nBalance = 0;
    while (reader.ReadI32(nBalance) && reader.Skip(kProjectedRecordBytes - 4))
        balances.push_back(nBalance);
    std::fclose(pFile);
    return balances;
}

std::vector<PROJECTEDMONTH> CFinanceMonthFile::ReadProjectedMonths(const char* pszName)
{
    std::vector<PROJECTEDMONTH> months;
    FILE* pFile = pszName ? plat::openFile(pszName, "rb") : nullptr;
    if (!pFile)
        return months;
    CBinaryReader reader(pFile);
    for (;;) {
        PROJECTEDMONTH month;
        bool bWhole = reader.ReadI32(month.nBalance);
        for (FINANCEENTRY& entry : month.aMonth)
            bWhole = bWhole && reader.ReadI32(entry.nIncome) && reader.ReadI32(entry.nExpense);
        for (int32_t& nTotal : month.anGroupTotals)
            bWhole = bWhole && reader.ReadI32(nTotal);
        if (!bWhole)
            break;
        months.push_back(month);
    }
    std::fclose(pFile);
    return months;
}
