#pragma once
// Readers of the human's closed-month books: "Temp%d.fty" (this season) and
// "Temp%d.fhs" (earlier seasons, twelve records a season) hold one record a
// closed month, {u32 body length, body}; "Temp%d.pfn" one 888-byte record a
// projected month. Everything read is checked: a record cut short or whose
// lengths disagree ends the reading, with a log line, and what came before
// it stands.
#include "season/CSaveGame.h"

#include <cstdint>
#include <vector>

struct FINANCEMONTH {
    int32_t nBalanceBefore = 0;
    int32_t nBalanceAfter = 0;
    int32_t nSavings = 0;
    int32_t anGroupTotals[FINANCE_GROUPS] = {};
    FINANCEENTRY aMonth[FINANCE_CATEGORIES];
    FINANCEENTRY aSeason[FINANCE_CATEGORIES];
    std::vector<FINANCETRANSACTION> Transactions;
};

// One month of the projection: its opening balance, each category's income
// and expense, and each group's net.
struct PROJECTEDMONTH {
    int32_t nBalance = 0;
    FINANCEENTRY aMonth[FINANCE_CATEGORIES];
    int32_t anGroupTotals[FINANCE_GROUPS] = {};
};

class CFinanceMonthFile {
public:
    // Every whole record, oldest first; none for a missing file.
    static std::vector<FINANCEMONTH> ReadMonths(const char* pszName);
    // The projected balance of each month of a projection file.
    static std::vector<int32_t> ReadProjectedBalances(const char* pszName);
    // Every whole month of a projection file.
    static std::vector<PROJECTEDMONTH> ReadProjectedMonths(const char* pszName);
};
