#include "season/CRangeTable.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/DebugLog.h"
#include "platform/Files.h"

namespace {

// Longer lines than any table needs are refused rather than split.
constexpr size_t kLineBuffer = 200;

// One whole number at p, within bounds; p moves past it.
bool ReadValue(const char*& p, int32_t nLowest, int32_t nHighest, int32_t& nValue)
{
    char* pEnd = nullptr;
    errno = 0;
    const long n = std::strtol(p, &pEnd, 10);
    if (pEnd == p || errno != 0 || n < nLowest || n > nHighest)
        return false;
    nValue = static_cast<int32_t>(n);
    p = pEnd;
    return true;
}

}  // namespace

bool CRangeTable::Read(const char* pszPath, int nRows, int nLinesPerRow, int32_t nLowest, int32_t nHighest)
{
    m_Ranges.clear();
    m_nRows = m_nLinesPerRow = 0;
    FILE* pFile = plat::openFile(pszPath, "r");
    if (!pFile) {
        DebugLog(0, "[CRangeTable::Read] Cannot open '%s'", pszPath);
        return false;
    }
    const int nLines = nRows * nLinesPerRow;
    std::vector<RANGE> ranges;
    ranges.reserve(static_cast<size_t>(nLines) * COLUMNS);
    char szLine[kLineBuffer + 2];
    int nLine = 0;
    const char* pszReason = nullptr;
    while (!pszReason && std::fgets(szLine, sizeof(szLine), pFile)) {
        ++nLine;
        size_t nLength = std::strlen(szLine);
        if (nLength > 0 && szLine[nLength - 1] != '\n' && !std::feof(pFile)) {
            pszReason = "a line too long";
            break;
        }
        while (nLength > 0 && (szLine[nLength - 1] == '\n' || szLine[nLength - 1] == '\r'))
            szLine[--nLength] = '\0';
        if (nLine > nLines) {
            if (nLength == 0)
                continue;  // blank lines after the table
            pszReason = "more lines than the table has";
            break;
        }
        const char* p = szLine;
        for (int c = 0; c < COLUMNS && !pszReason; ++c) {
            RANGE range;
            if (c > 0 && *p++ != ',')
                pszReason = "fewer than five ranges";
            else if (!ReadValue(p, nLowest, nHighest, range.nMin) || *p++ != '-' ||
                     !ReadValue(p, nLowest, nHighest, range.nMax))
                pszReason = "a range that is not two whole numbers within the table's bounds";
            else if (range.nMin > range.nMax)
                pszReason = "a range whose minimum is above its maximum";
            else
                ranges.push_back(range);
        }
        if (!pszReason && *p != '\0')
            pszReason = "more than five ranges";
    }
    std::fclose(pFile);
    if (!pszReason && nLine < nLines)
        pszReason = "the file ends before its last row";
    if (pszReason) {
        DebugLog(0, "[CRangeTable::Read] '%s' line %d: %s; the table is refused", pszPath, nLine, pszReason);
        return false;
    }
    m_Ranges = std::move(ranges);
    m_nRows = nRows;
    m_nLinesPerRow = nLinesPerRow;
    return true;
}

RANGE CRangeTable::Get(int nRow, int nLine, int nColumn) const
{
    if (nRow < 0 || nRow >= m_nRows || nLine < 0 || nLine >= m_nLinesPerRow || nColumn < 0 || nColumn >= COLUMNS)
        return RANGE();
    return m_Ranges[static_cast<size_t>((nRow * m_nLinesPerRow + nLine) * COLUMNS + nColumn)];
}
