#pragma once
// The names a cup shows under: its competition name from the options'
// display names, and the name of one of its rounds from table-text sets 143
// and 144.
#include <cstddef>

class CDatabaseHandler;
struct CUP;
struct ITEMCUPSTRUCTUREINFORMATION;

// The definition row a running cup was made from: its owner ("European" for
// country 0, else the country's name, compared without case) and its kind.
// Null when no row fits.
const ITEMCUPSTRUCTUREINFORMATION* FindCupDefinition(const CUP* pCup, const CDatabaseHandler* pDatabase);

// The cup's display name; an empty text for no cup or no fitting row.
void FormatCompetitionName(const CUP* pCup, const CDatabaseHandler* pDatabase, char* pszOutput, size_t nSize);

// The name of round nRound (1-based): the last three rounds are final,
// semi-final and quarter-final, earlier ones numbered; a group round is
// group stage 1 (eight groups) or 2 (the later, smaller one); rounds past the last are
// the replay and then the second replay; no cup is a friendly.
void FormatCupRoundName(const CUP* pCup, const CDatabaseHandler* pDatabase, int nRound, char* pszOutput,
                        size_t nSize);
