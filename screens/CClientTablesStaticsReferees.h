#pragma once
// The referees statistics (screen 14): every referee who took charge of a
// match of a club of one division, with his matches, bookings, sendings-off,
// fouls and penalties over the season's match history, counting the
// competition kinds the filter mask names (bits 0-3: kinds 0-3; the league
// alone at each opening). The change parameter holds the division.
#include "screens/CClientTablesStaticsList.h"

#include <cstdint>
#include <vector>

struct MATCHHISTORYHEADER;

class CClientTablesStaticsReferees : public CClientTablesStaticsList {
public:
    static constexpr uint32_t kInitialFilter = 1;
    // The list is as high as its rows, at most this many; an empty one is
    // half as high.
    static constexpr int kMostRows = 24;
    static constexpr int kEmptyRows = 12;

    // One referee's totals over the matches counted.
    struct REFEREETOTALS {
        uint16_t wRefereeID = 0;
        int nMatches = 0;
        int nBookings = 0;
        int nSendingsOff = 0;
        int nFouls = 0;
        int nPenalties = 0;
    };

    CClientTablesStaticsReferees();

    bool OnInitDialog() override;
    void FillTable() override;

    // Adds a match's figures to its referee's totals, a new entry at the end
    // for a referee not met before.
    static void AddRefereeMatch(std::vector<REFEREETOTALS>& totals, const MATCHHISTORYHEADER& header);
    // The rows the list is laid out for with a number of referees.
    static int ListRows(int nReferees)
    {
        return nReferees == 0 ? kEmptyRows : nReferees < kMostRows ? nReferees : kMostRows;
    }
    // The totals of the last filling, in the order first met.
    const std::vector<REFEREETOTALS>& GetTotals() const { return m_Totals; }

protected:
    const LISTCOLUMN* Columns() const override;
    int ListBottom() const override;
    // The competition kinds counted.
    int FilterTextSet() const override { return 107; }

private:
    std::vector<REFEREETOTALS> m_Totals;
    int m_nListRows = 1;
};
