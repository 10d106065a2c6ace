#pragma once
// The fixed text tables of Data\Tables: one row per line, decimal integers
// separated by commas, no spaces, at most 80 characters a line. The reader is
// strict so that a damaged table is refused at start-up instead of being
// half used.
#include <cstddef>
#include <cstdint>
#include <vector>

class CIntegerTable {
public:
    // Per column: the smallest and largest value it may hold.
    struct COLUMNRANGE {
        int64_t nMin;
        int64_t nMax;
    };

    // Reads exactly nRows lines of ranges.size() values each (blank lines at
    // the end and a CR before each line end are accepted). On failure logs
    // "[<pszCaller>] <path>: <reason> (line n)" and answers false.
    bool Read(const char* pszPath, int nRows, const std::vector<COLUMNRANGE>& ranges, const char* pszCaller);
    // The same for a table of 1 to nMaxRows lines.
    bool ReadUpTo(const char* pszPath, int nMaxRows, const std::vector<COLUMNRANGE>& ranges, const char* pszCaller);

    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nColumns; }
    int64_t Get(int nRow, int nColumn) const { return m_values[static_cast<size_t>(nRow * m_nColumns + nColumn)]; }

    static constexpr int kMaxLineLength = 80;

private:
    bool ReadRows(const char* pszPath, int nMinRows, int nMaxRows, const std::vector<COLUMNRANGE>& ranges,
                  const char* pszCaller);

    std::vector<int64_t> m_values;
    int m_nRows = 0;
    int m_nColumns = 0;
};
