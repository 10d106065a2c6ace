#pragma once
// The match-day rule tables read at game start from Data\Tables: the 17
// merchandise rows (M&C.txt), the 3 restriction rows (OtherRestrictions.txt)
// and the 7 match-day cost rows (MatchDay.txt). Each row keeps the facility
// kinds of its positive values as entries, at most six. A file that does not
// open, or holds a line that is not exactly its row of integers in range, is
// logged with its line and leaves that table as it was.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

struct FACILITYENTRY {
    uint8_t nKind;
    uint8_t nLevel;
    int32_t nValue;
};

struct MERCHANDISEROW {
    int32_t nBuyersPerHundred;
    int32_t nStandardCost;
    int32_t nStandardPrice;
    std::vector<FACILITYENTRY> Entries;
};

struct RESTRICTIONROW {
    std::vector<FACILITYENTRY> Entries;
};

struct MATCHDAYCOSTROW {
    int32_t nUnitAmount;
    std::vector<FACILITYENTRY> Entries;  // values 1-255
};

// Reads the nLines lines of an open table file, each without its line end
// handed to parse with its index (0 first); blank lines may follow them. The
// reason of the first fault (a line longer than nLongest characters, more or
// fewer lines, what parse answers) or null, with nLine the line it was met on.
const char* ReadTableLines(FILE* pFile, int nLines, size_t nLongest,
                           const std::function<const char*(const char* pszLine, int nIndex)>& parse, int& nLine);

class CGameTables {
public:
    static constexpr int kMerchandiseRows = 17;
    static constexpr int kRestrictionRows = 3;
    static constexpr int kMatchDayCostRows = 7;
    static constexpr int kMaxEntries = 6;

    // The three files in this order; false when any was not taken.
    bool LoadTables();
    bool LoadMerchandise(const char* pszPath);
    bool LoadOtherRestrictions(const char* pszPath);
    bool LoadMatchDayCosts(const char* pszPath);

    const std::vector<MERCHANDISEROW>& GetMerchandise() const { return m_Merchandise; }
    const std::vector<RESTRICTIONROW>& GetRestrictions() const { return m_Restrictions; }
    const std::vector<MATCHDAYCOSTROW>& GetMatchDayCosts() const { return m_MatchDayCosts; }

private:
    std::vector<MERCHANDISEROW> m_Merchandise;
    std::vector<RESTRICTIONROW> m_Restrictions;
    std::vector<MATCHDAYCOSTROW> m_MatchDayCosts;
};
