#include "tools/worldtool/BooksLog.h"

#include <cinttypes>

namespace tools {

BooksLog::BooksLog() : m_pPrevious(CClubDatabase::s_pFinanceObserver)
{
    CClubDatabase::s_pFinanceObserver = this;
}

BooksLog::~BooksLog()
{
    CClubDatabase::s_pFinanceObserver = m_pPrevious;
}

void BooksLog::OnTransaction(const CClubDatabase&, int nCategory, int32_t nIncome, int32_t nExpense)
{
    if (nCategory < 0 || nCategory >= CATEGORIES)
        return;
    m_anIncome[static_cast<size_t>(nCategory)] += nIncome;
    m_anExpense[static_cast<size_t>(nCategory)] += nExpense;
}

void BooksLog::write(std::FILE* pFile) const
{
    for (size_t c = 0; c < m_anIncome.size(); ++c)
        if (m_anIncome[c] != 0 || m_anExpense[c] != 0)
            std::fprintf(pFile, "category %zu income %" PRId64 " expense %" PRId64 "\n", c, m_anIncome[c],
                         m_anExpense[c]);
}

}  // namespace tools
