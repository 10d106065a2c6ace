#pragma once
// The money tables of Data\Tables that give a range per club rating band and
// id group: rows of lines, each line five "min-max" ranges separated by
// commas (column 0 first). Read strictly: a file that does not open, a line
// that is not five ranges, a value outside the table's bounds, a range whose
// minimum is above its maximum, or a file cut before its last row is logged
// with its line and refused, leaving the table empty.
#include <cstdint>
#include <string>
#include <vector>

struct RANGE {
    int32_t nMin = 0;
    int32_t nMax = 0;
};

class CRangeTable {
public:
    static constexpr int COLUMNS = 5;

    // nRows rows of nLinesPerRow lines; every value within [nLowest, nHighest].
    bool Read(const char* pszPath, int nRows, int nLinesPerRow, int32_t nLowest, int32_t nHighest);
    bool IsLoaded() const { return !m_Ranges.empty(); }
    // Range of one line of one row (line 0 is the row's first), column 0-4;
    // an empty range when the table is not loaded or the place is outside it.
    RANGE Get(int nRow, int nLine, int nColumn) const;
    int GetRows() const { return m_nRows; }
    // The row of a club rating: rating / 10, 9 for 90 and above.
    static int RatingBand(int nClubRating);
    // rand() % (max - min) + min; the minimum when the two agree.
    static int32_t Draw(const RANGE& range);

private:
    int m_nRows = 0;
    int m_nLinesPerRow = 0;
    std::vector<RANGE> m_Ranges;  // row-major, then line, then column
};
