#pragma once
// Money that the league, television and building work pay to or take from a
// club, under its finance category.
#include <cstdint>

class CClubDatabase;

// A positive amount is paid to the club, a negative one taken from it,
// through the club's books. A null club is logged and ignored.
void BookClubMoney(CClubDatabase* pClub, int32_t nAmount, int nCategory);
