#include "database/CGameTables.h"

#include "common/DebugLog.h"
#include "platform/Files.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace {

// The facility kind (type, size) of each of the 15 value columns; the fourth
// column names no facility.
const FACILITYENTRY kColumnCodes[15] = {{9, 0, 0}, {9, 1, 0}, {9, 2, 0}, {0xFF, 0xFF, 0}, {7, 1, 0},
                                        {7, 2, 0}, {5, 0, 0}, {5, 1, 0}, {5, 2, 0},       {6, 0, 0},
                                        {6, 1, 0}, {8, 1, 0}, {8, 2, 0}, {4, 0, 0},       {4, 1, 0}};
// The game reads each line into an 80-character buffer.
constexpr size_t kLineBuffer = 80;

using RowReader = std::function<bool(const std::vector<long>& values, int nLine)>;

// Reads exactly nRows lines of nValues comma-separated integers, each within
// [nLowest, nHighest]; false (and a log line naming the file and line) otherwise.
bool ReadRows(const char* pszPath, int nRows, int nValues, long nLowest, long nHighest, const RowReader& take)
{
    FILE* pFile = plat::openFile(pszPath, "r");
    if (!pFile) {
        DebugLog(1, "[OnGameStart]:: The handle for the file is NULL could not open");
        return false;
    }
    int nLine = 0;
    const char* pszReason = ReadTableLines(pFile, nRows, kLineBuffer, [&](const char* pszLine, int nIndex) -> const char* {
        std::vector<long> values;
        const char* p = pszLine;
        while (static_cast<int>(values.size()) < nValues) {
            char* pEnd = nullptr;
            errno = 0;
            const long nValue = std::strtol(p, &pEnd, 10);
            if (pEnd == p || errno != 0)
                return "a value that is not a whole number";
            if (nValue < nLowest || nValue > nHighest)
                return "a value out of range";
            values.push_back(nValue);
            p = pEnd;
            if (static_cast<int>(values.size()) < nValues && *p++ != ',')
                return "too few values";
        }
        if (*p != '\0')
            return "more values than a row has";
        return take(values, nIndex) ? nullptr : "a row the table cannot take";
    }, nLine);
    std::fclose(pFile);
    if (pszReason) {
        DebugLog(1, "[CGameTables] '%s' line %d: %s; the table is kept as it was", pszPath, nLine, pszReason);
        return false;
    }
    return true;
}

// Entries from the values of the columns starting at nFirst, in column order:
// each value the test accepts, the first six.
std::vector<FACILITYENTRY> EntriesOf(const std::vector<long>& values, size_t nFirst, int nColumns,
                                     const char* pszPath, int nRow)
{
    std::vector<FACILITYENTRY> entries;
    for (int c = 0; c < nColumns; ++c) {
        const long nValue = values[nFirst + c];
        if (nValue <= 0)
            continue;
        if (entries.size() == CGameTables::kMaxEntries) {
            DebugLog(1, "[CGameTables] '%s' row %d: more than six facility kinds; the first six are kept", pszPath,
                     nRow);
            break;
        }
        entries.push_back({kColumnCodes[c].nKind, kColumnCodes[c].nLevel, static_cast<int32_t>(nValue)});
    }
    return entries;
}

}  // namespace

const char* ReadTableLines(FILE* pFile, int nLines, size_t nLongest,
                           const std::function<const char*(const char* pszLine, int nIndex)>& parse, int& nLine)
{
    std::vector<char> line(nLongest + 2);
    nLine = 0;
    while (std::fgets(line.data(), static_cast<int>(line.size()), pFile)) {
        ++nLine;
        char* pszLine = line.data();
        size_t nLength = std::strlen(pszLine);
        if ((nLength == 0 || pszLine[nLength - 1] != '\n') && !std::feof(pFile)) {
            static char s_szTooLong[48];  // the game runs on one thread
            std::snprintf(s_szTooLong, sizeof(s_szTooLong), "a line longer than %zu characters", nLongest);
            return s_szTooLong;
        }
        while (nLength > 0 && (pszLine[nLength - 1] == '\n' || pszLine[nLength - 1] == '\r'))
            pszLine[--nLength] = '\0';
        if (nLine > nLines) {
            if (nLength == 0)
                continue;  // blank lines after the table
            return "more lines than the table has";
        }
        if (const char* pszReason = parse(pszLine, nLine - 1))
            return pszReason;
    }
    return nLine < nLines ? "fewer lines than the table has" : nullptr;
}

bool CGameTables::LoadTables()
{
    const bool bMerchandise = LoadMerchandise("Data\\Tables\\M&C.txt");
    const bool bRestrictions = LoadOtherRestrictions("Data\\Tables\\OtherRestrictions.txt");
    const bool bCosts = LoadMatchDayCosts("Data\\Tables\\MatchDay.txt");
    return bMerchandise && bRestrictions && bCosts;
}

bool CGameTables::LoadMerchandise(const char* pszPath)
{
    std::vector<MERCHANDISEROW> rows;
    const bool bRead = ReadRows(pszPath, kMerchandiseRows, 18, INT32_MIN, INT32_MAX,
                                [&](const std::vector<long>& v, int nRow) {
                                    rows.push_back({static_cast<int32_t>(v[0]), static_cast<int32_t>(v[1]),
                                                    static_cast<int32_t>(v[2]), EntriesOf(v, 3, 15, pszPath, nRow)});
                                    return true;
                                });
    if (bRead)
        m_Merchandise = std::move(rows);
    return bRead;
}

bool CGameTables::LoadOtherRestrictions(const char* pszPath)
{
    std::vector<RESTRICTIONROW> rows;
    const bool bRead = ReadRows(pszPath, kRestrictionRows, 15, INT32_MIN, INT32_MAX,
                                [&](const std::vector<long>& v, int nRow) {
                                    rows.push_back({EntriesOf(v, 0, 15, pszPath, nRow)});
                                    return true;
                                });
    if (bRead)
        m_Restrictions = std::move(rows);
    return bRead;
}

bool CGameTables::LoadMatchDayCosts(const char* pszPath)
{
    std::vector<MATCHDAYCOSTROW> rows;
    // Units are kept in a byte: a count past 255 would wrap, so it is refused.
    const bool bRead = ReadRows(pszPath, kMatchDayCostRows, 14, INT32_MIN, INT32_MAX,
                                [&](const std::vector<long>& v, int nRow) {
                                    for (size_t i = 1; i < v.size(); ++i)
                                        if (v[i] < 0 || v[i] > 255)
                                            return false;
                                    rows.push_back({static_cast<int32_t>(v[0]), EntriesOf(v, 1, 13, pszPath, nRow)});
                                    return true;
                                });
    if (bRead)
        m_MatchDayCosts = std::move(rows);
    return bRead;
}
