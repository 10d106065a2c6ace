// What the recording reads of the 3-D engine's running match.
#include "match/CMatchClub.h"
#include "match/CMatchEngine.h"
#include "match/actors/CMatchPlayer.h"
#include "matchday/MatchIncidents.h"

#include <algorithm>

namespace {

void DescribeSide(const CMatchClub* pClub, SHOWNMATCHSIDE& side)
{
    if (!pClub)
        return;
    side.pClub = pClub->GetRecord();
    side.byGoals = pClub->GetGoals();
    side.nSquad = std::clamp(pClub->GetSquadCount(), 0, SHOWNMATCH_SQUAD_MAX);
    for (int i = 0; i < side.nSquad; ++i)
        if (const CMatchPlayer* pPlayer = pClub->GetPlayerBySquadIndex(i))
            side.aPlayers[i] = {pPlayer->GetRecord(), pPlayer->GetSelectedPosition(), pPlayer->GetStoredMatchRating()};
}

}  // namespace

SHOWNMATCH DescribeShownMatch(const CMatchEngine& engine)
{
    SHOWNMATCH match;
    DescribeSide(engine.GetHomeClub(), match.aSides[0]);
    DescribeSide(engine.GetAwayClub(), match.aSides[1]);
    match.nPossessionPercent = engine.GetPossessionPercent();
    match.nTerritoryPercent = engine.GetTerritoryPercent();
    uint8_t abyFouls[2];
    engine.GetFouls(abyFouls[0], abyFouls[1]);
    match.nFouls = abyFouls[0] + abyFouls[1];
    engine.GetShootoutScore(match.abyShootOutGoals[0], match.abyShootOutGoals[1]);
    return match;
}
