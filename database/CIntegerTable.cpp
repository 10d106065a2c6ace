#include "database/CIntegerTable.h"

#include "common/DebugLog.h"
#include "platform/Files.h"

#include <string>

namespace {

// Parses one line into values; false with a reason when it does not match.
bool ParseLine(const std::string& line, const std::vector<CIntegerTable::COLUMNRANGE>& ranges,
               std::vector<int64_t>& out, const char*& pszReason)
{
    size_t nPos = 0;
    for (size_t nColumn = 0; nColumn < ranges.size(); ++nColumn) {
        if (nColumn > 0) {
            if (nPos >= line.size() || line[nPos] != ',') {
                pszReason = "too few values";
                return false;
            }
            ++nPos;
        }
        bool bNegative = false;
        if (nPos < line.size() && line[nPos] == '-') {
            bNegative = true;
            ++nPos;
        }
        const size_t nDigitsStart = nPos;
        int64_t nValue = 0;
        while (nPos < line.size() && line[nPos] >= '0' && line[nPos] <= '9') {
            nValue = nValue * 10 + (line[nPos] - '0');
            if (nValue > 0xFFFFFFFFLL) {
                pszReason = "value too large";
                return false;
            }
            ++nPos;
        }
        if (nPos == nDigitsStart) {
            pszReason = nPos >= line.size() ? "too few values" : "not a number";
            return false;
        }
        if (bNegative)
            nValue = -nValue;
        if (nValue < ranges[nColumn].nMin || nValue > ranges[nColumn].nMax) {
            pszReason = "value out of range";
            return false;
        }
        out.push_back(nValue);
    }
    if (nPos != line.size()) {
        pszReason = line[nPos] == ',' ? "too many values" : "unexpected character";
        return false;
    }
    return true;
}

}  // namespace

bool CIntegerTable::Read(const char* pszPath, int nRows, const std::vector<COLUMNRANGE>& ranges,
                         const char* pszCaller)
{
    return ReadRows(pszPath, nRows, nRows, ranges, pszCaller);
}

bool CIntegerTable::ReadUpTo(const char* pszPath, int nMaxRows, const std::vector<COLUMNRANGE>& ranges,
                             const char* pszCaller)
{
    return ReadRows(pszPath, 1, nMaxRows, ranges, pszCaller);
}

bool CIntegerTable::ReadRows(const char* pszPath, int nMinRows, int nMaxRows, const std::vector<COLUMNRANGE>& ranges,
                             const char* pszCaller)
{
    m_values.clear();
    m_nRows = 0;
    m_nColumns = 0;
    std::vector<uint8_t> bytes;
    if (!plat::readWholeFile(pszPath, bytes)) {
        DebugLog(0, "[%s] Cannot open %s", pszCaller, pszPath);
        return false;
    }

    std::vector<std::string> lines;
    std::string current;
    for (uint8_t byte : bytes) {
        if (byte == '\n') {
            lines.push_back(current);
            current.clear();
        } else {
            current.push_back(static_cast<char>(byte));
        }
    }
    if (!current.empty())
        lines.push_back(current);
    for (std::string& line : lines)
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();

    std::vector<int64_t> values;
    values.reserve(lines.size() * ranges.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        const char* pszReason = nullptr;
        if (static_cast<int>(i) >= nMaxRows)
            pszReason = "more lines than the table holds";
        else if (lines[i].size() > static_cast<size_t>(kMaxLineLength))
            pszReason = "line too long";
        else
            ParseLine(lines[i], ranges, values, pszReason);
        if (pszReason) {
            DebugLog(0, "[%s] %s: %s (line %d)", pszCaller, pszPath, pszReason, static_cast<int>(i + 1));
            return false;
        }
    }
    if (static_cast<int>(lines.size()) < nMinRows) {
        DebugLog(0, "[%s] %s: %d lines where %d are needed (line %d)", pszCaller, pszPath,
                 static_cast<int>(lines.size()), nMinRows, static_cast<int>(lines.size() + 1));
        return false;
    }
    m_values = std::move(values);
    m_nRows = static_cast<int>(lines.size());
    m_nColumns = static_cast<int>(ranges.size());
    return true;
}
