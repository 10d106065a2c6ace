#pragma once
// What a club's bank holds once the money it has booked since its last
// finance run is banked: computer clubs bank their books once a month.
#include "database/CClubDatabase.h"

#include <cstdint>

inline int64_t BookedBalance(const CClubDatabase& club)
{
    int64_t n = club.m_nBankBalance;
    for (int32_t nAccumulator : club.m_anFinanceAccumulators)
        n += nAccumulator;
    return n;
}
