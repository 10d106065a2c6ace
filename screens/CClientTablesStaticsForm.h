#pragma once
// The form table (screen 10): a division ranked as the league table ranks
// it on a match date, with each club's last six home and last six away
// results, its reputation and its league bookings and substitutions.
#include "screens/CClientTablesStaticsLeague.h"

#include <string>

class CClientTablesStaticsForm : public CClientTablesStaticsLeague {
public:
    static constexpr int kFormCount = 6;

    CClientTablesStaticsForm();

    void FillTable() override;

    // The club's last results (most recent first, one letter and a space
    // each) at home and away in the division's league fixtures played up to
    // the date (before it when bBeforeDate), at most nCount of each.
    static void BuildFormStrings(const CDivisionDatabase& division, ID_CLUB idClub, const CDate& date,
                                 bool bBeforeDate, int nCount, std::string& home, std::string& away);
    // The club's league bookings and substitutes sent on this season, over
    // its squad's records.
    static int CountLeagueBookings(const CClubDatabase& club);
    static int CountLeagueSubstitutions(const CClubDatabase& club);
};
