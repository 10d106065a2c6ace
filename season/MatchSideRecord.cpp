#include "season/MatchSideRecord.h"

#include <algorithm>
#include <cstdint>

#include "common/Prefetch.h"
#include "database/CClubDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"

namespace {

void RecordSide(const MATCHSIDERECORD& side, const MATCHSIDERECORD& opponent, uint8_t byCompetition)
{
    // The players' records and their season's match counts start loading
    // together, each step reading what the one before asked for.
    for (int i = 0; i < side.nEntries; ++i)
        if (side.TookPart(i))
            PrefetchBytes(side.apPlayers[i], sizeof(CPlayerDatabase));
    for (int i = 0; i < side.nEntries; ++i)
        if (side.TookPart(i))
            side.apPlayers[i]->m_Career.PrefetchTailNode();
    for (int i = 0; i < side.nEntries; ++i)
        if (side.TookPart(i))
            side.apPlayers[i]->m_Career.PrefetchTailItem(sizeof(PLAYERCAREERENTRY));
    for (int i = 0; i < side.nEntries; ++i) {
        if (!side.TookPart(i))
            continue;
        PLAYERQUICKMATCH match = side.aPlayed[i];
        match.bCleanSheet = match.bStarted && opponent.nGoals == 0;
        side.apPlayers[i]->UpdateAfterQuickMatch(byCompetition, match);
    }
}

void MoveMorale(const MATCHSIDERECORD& side, const MATCHSIDERECORD& opponent)
{
    const int nBase = (side.pClub ? side.pClub->GetMoraleValue() : 0) + side.nGoals - opponent.nGoals;
    for (int i = 0; i < side.nEntries; ++i) {
        if (!side.TookPart(i))
            continue;
        const PLAYERQUICKMATCH& match = side.aPlayed[i];
        int nValue = nBase;
        if (match.nRating < 50)
            nValue -= 2;
        else if (match.nRating > 75)
            nValue += 3;
        nValue += match.nGoals;
        if (match.bSentOff)
            nValue -= 3 + 5;
        nValue -= match.nBookings;
        uint16_t& wMorale = side.apPlayers[i]->m_awAttributes[PLAYER_ATTRIBUTE_MORALE];
        wMorale = static_cast<uint16_t>(std::clamp(wMorale + nValue / 2 * 100, 1000, PLAYER_ATTRIBUTE_MAX));
    }
}

int BestEntry(const MATCHSIDERECORD& side)
{
    int nBest = -1;
    for (int i = 0; i < side.nEntries; ++i) {
        const MATCHPLAYERENTRY& entry = side.aEntries[i];
        if (entry.idPlayer && (nBest < 0 || entry.byRating > side.aEntries[nBest].byRating))
            nBest = i;
    }
    return nBest;
}

}  // namespace

void RecordPlayersMatch(const MATCHSIDERECORD& home, const MATCHSIDERECORD& away, uint8_t byCompetition)
{
    RecordSide(home, away, byCompetition);
    RecordSide(away, home, byCompetition);
    MoveMorale(home, away);
    MoveMorale(away, home);
}

ID_PLAYER RecordManOfTheMatch(const MATCHSIDERECORD& home, const MATCHSIDERECORD& away, uint8_t byCompetition)
{
    const int nHome = BestEntry(home);
    const int nAway = BestEntry(away);
    const MATCHSIDERECORD* pSide = &home;
    int nBest = nHome;
    if (nAway >= 0 && (nHome < 0 || away.aEntries[nAway].byRating >= home.aEntries[nHome].byRating)) {
        pSide = &away;
        nBest = nAway;
    }
    if (nBest < 0)
        return 0;
    if (CPlayerDatabase* pPlayer = pSide->apPlayers[nBest])
        pPlayer->IncrementMatchInformationField(byCompetition, MATCH_INFORMATION_MAN_OF_THE_MATCH, 1);
    return pSide->aEntries[nBest].idPlayer;
}

void RecordManagerPoints(const MATCHSIDERECORD& side, const MATCHSIDERECORD& opponent, uint8_t byCompetition,
                         const CDivisionDatabase* pLeague)
{
    CClubDatabase* pClub = side.pClub;
    const CClubDatabase* pOpponentClub = opponent.pClub;
    CManagerDatabase* pManager = pClub ? pClub->GetManager() : nullptr;
    if (!pManager || !pOpponentClub)
        return;
    const int32_t* s = side.anStatistics;
    const bool bWon = side.nGoals > opponent.nGoals;
    const auto nScore = static_cast<int16_t>(
        3 * (s[QUICKSTAT_SHOTS_ON_TARGET] - s[QUICKSTAT_BOOKINGS]) +
        2 * (s[QUICKSTAT_FREE_KICKS] - side.nOffsideFreeKicks) -
        5 * (s[QUICKSTAT_SENDINGS_OFF] + opponent.nGoals) - s[QUICKSTAT_OFFSIDES] + s[QUICKSTAT_CORNERS] +
        s[QUICKSTAT_SHOTS] + s[QUICKSTAT_GOALS] + (bWon ? 3 : 0));
    const int nFactor = (100 + pOpponentClub->m_byReputation - pClub->m_byReputation) / 10;
    int nWeight = 0;
    if (byCompetition == MATCHKIND_LEAGUE)
        nWeight = pLeague ? std::max(0, 6 - pLeague->m_byDivisionNumber) : 0;
    else if (byCompetition == MATCHKIND_LEAGUE_OTHER || byCompetition == MATCHKIND_CUP)
        nWeight = 6;
    // The total is unsigned: a poor match takes it down to 0, never round.
    const int64_t nTotal =
        static_cast<int64_t>(pManager->m_dwSeasonValueA) + static_cast<int64_t>(nScore) * nFactor * nWeight;
    pManager->m_dwSeasonValueA = static_cast<uint32_t>(std::clamp<int64_t>(nTotal, 0, UINT32_MAX));
}
