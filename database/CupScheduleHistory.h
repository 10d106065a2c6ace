#pragma once
// The reader of the cup schedule histories ("TempEuroCup.shs" and
// "TempDomCup%d.shs"): season blocks of a 4-byte count and that many cup
// fixture records, the oldest first.
#include "common/CDate.h"
#include "database/CCupFixturesDatabase.h"

#include <string>
#include <vector>

// The fixtures of the file dated from one day up to before another (a
// finished season); a damaged block is logged and it and the rest left out.
std::vector<CCupFixturesDatabase> ReadCupScheduleHistory(const std::string& name, const CDate& from,
                                                         const CDate& before);
