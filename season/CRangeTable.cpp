#include "season/CRangeTable.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/DebugLog.h"
#include "database/CGameTables.h"
#include "platform/Files.h"
#include "platform/Random.h"

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
    int nLine = 0;
    const char* pszReason = ReadTableLines(pFile, nLines, kLineBuffer, [&](const char* pszLine, int) -> const char* {
        const char* p = pszLine;
        for (int c = 0; c < COLUMNS; ++c) {
            RANGE range;
            if (c > 0 && *p++ != ',')
                return "fewer than five ranges";
            if (!ReadValue(p, nLowest, nHighest, range.nMin) || *p++ != '-' ||
                !ReadValue(p, nLowest, nHighest, range.nMax))
                return "a range that is not two whole numbers within the table's bounds";
            if (range.nMin > range.nMax)
                return "a range whose minimum is above its maximum";
            ranges.push_back(range);
        }
        return *p != '\0' ? "more than five ranges" : nullptr;
    }, nLine);
    std::fclose(pFile);
    if (pszReason) {
        DebugLog(0, "[CRangeTable::Read] '%s' line %d: %s; the table is refused", pszPath, nLine, pszReason);
        return false;
    }
    m_Ranges = std::move(ranges);
    m_nRows = nRows;
    m_nLinesPerRow = nLinesPerRow;
    return true;
}

int CRangeTable::RatingBand(int nClubRating)
{
    return std::clamp(nClubRating / 10, 0, 9);
}

int32_t CRangeTable::Draw(const RANGE& range)
{
    if (range.nMax <= range.nMin)
        return range.nMin;
    return plat::rand() % (range.nMax - range.nMin) + range.nMin;
}

RANGE CRangeTable::Get(int nRow, int nLine, int nColumn) const
{
    if (nRow < 0 || nRow >= m_nRows || nLine < 0 || nLine >= m_nLinesPerRow || nColumn < 0 || nColumn >= COLUMNS)
        return RANGE();
    return m_Ranges[static_cast<size_t>((nRow * m_nLinesPerRow + nLine) * COLUMNS + nColumn)];
}
