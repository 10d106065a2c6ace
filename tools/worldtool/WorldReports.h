#pragma once
// The readable reports of a saved world: `worldtool tables`, `scorers` and
// `moves`, each written as plain text.
#include <cstdio>

class CDatabaseHandler;

namespace tools {

// Every division's table, top first: position, club, played, won, drawn,
// lost, goals for, goals against, points.
void printTables(CDatabaseHandler& handler, std::FILE* pOut);

// The players of each country's clubs with the most league goals this
// season (up to SCORERS_SHOWN each, more goals first, then by name).
constexpr int SCORERS_SHOWN = 10;
void printScorers(const CDatabaseHandler& handler, std::FILE* pOut);

// The season's completed transfers (with fees) and loans (with their length
// in days) of each country, in date order.
void printMoves(CDatabaseHandler& handler, std::FILE* pOut);

}  // namespace tools
