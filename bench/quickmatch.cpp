// Quick matches per second between two generated clubs of twenty players
// grown to their peak, with the goals a match they score.
// Runs in the runtime data tree, whose name pools the generators draw from.
#include "common/CBinaryFile.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "database/CYouthDatabase.h"
#include "platform/Random.h"
#include "season/CFastMatchEngine.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr int kSquad = 20;
// Age 26 on the age curves.
constexpr int kPeakAgeIndex = 12;
const int kPositions[kSquad] = {0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 0, 1, 2, 3, 2, 1, 3, 2, 1};

// A generated youth grown into a first-team player: his person block goes
// through the player's file form with an adult's skills and one career entry.
CPlayerDatabase* MakePlayer(CClubDatabase* pClub, int nPosition)
{
    FILE* pFile = std::tmpfile();
    if (!pFile)
        return nullptr;
    {
        CYouthDatabase youth(pClub, nPosition);
        // Skills of a player at his peak, as the starting world grows them:
        // a keeper's Handling too, not the youth's weakest skill.
        for (int i = 0; i < PLAYER_SKILL_COUNT; ++i) {
            if (CPersonDatabase::s_abyRoleTargets[youth.m_byRole][i] == 0)
                continue;
            const int nPeak = youth.GetAttributeForAge(i, kPeakAgeIndex, 0);
            const int nLow = nPeak * 8 / 10;
            youth.m_awAttributes[i] = static_cast<uint16_t>(std::clamp(nLow + plat::rand() % (nPeak - nLow + 1), 0, 99) * 100);
        }
        youth.m_awAttributes[PLAYER_ATTRIBUTE_FITNESS] = 8000;
        youth.m_awAttributes[PLAYER_ATTRIBUTE_MORALE] = 6000;
        CBinaryWriter writer(pFile);
        youth.CPersonDatabase::Save(writer);
        writer.WriteZeros(134);
        writer.WriteU8(60);     // rating
        writer.WriteZeros(3);
        writer.WriteU8(1);      // one career entry
        writer.WriteZeros(5);
        writer.WriteZeros(72);  // the career entry
        writer.WriteU8(0);      // no further match information
    }
    std::rewind(pFile);
    CBinaryReader reader(pFile);
    auto* pPlayer = new CPlayerDatabase(reader, nullptr, nullptr, pClub, false);
    std::fclose(pFile);
    if (!pPlayer->IsLoaded()) {
        delete pPlayer;
        return nullptr;
    }
    pPlayer->m_byRating = static_cast<uint8_t>(pPlayer->GetRatingForPosition(-1));
    pClub->AddPlayer(pPlayer, false);
    return pPlayer;
}

std::unique_ptr<CClubDatabase> MakeClub(ID_CLUB wId)
{
    auto pClub = std::make_unique<CClubDatabase>();
    pClub->m_wClubId = wId;
    pClub->m_byReputation = 60;
    pClub->m_bySupportLevel = 55;
    pClub->m_nFanConfidence = 50;
    for (int nPosition : kPositions)
        MakePlayer(pClub.get(), nPosition);
    return pClub;
}

void QuickMatch(benchmark::State& state)
{
    CDatabaseHandler handler;
    handler.SetGameDate(CDate(1999, 8, 14));
    CDatabaseHandler::BuildAttendanceCurve();
    CPlayerDatabase::InitialisePlayerValueTables();
    plat::srand(1999);
    std::unique_ptr<CClubDatabase> pHome = MakeClub(1);
    std::unique_ptr<CClubDatabase> pAway = MakeClub(2);
    if (pHome->m_lstPlayers.GetCount() < 11 || pAway->m_lstPlayers.GetCount() < 11) {
        state.SkipWithError("the generators made no squad: run from the runtime data tree");
        return;
    }
    CFastMatchEngine engine;
    int64_t nGoals = 0;
    for (auto _ : state) {
        CXList homeEvents, awayEvents;
        MATCHHISTORYHEADER header;
        MATCHPARAMETERS block;
        block.pHomeClub = pHome.get();
        block.pAwayClub = pAway.get();
        block.pHomeEvents = &homeEvents;
        block.pAwayEvents = &awayEvents;
        block.pHeader = &header;
        engine.ProcessMatch(nullptr, &block);
        nGoals += block.byHomeGoals + block.byAwayGoals;
        FreeMatchEvents(homeEvents);
        FreeMatchEvents(awayEvents);
        engine.ReleaseSides();
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["goals_per_match"] =
        benchmark::Counter(static_cast<double>(nGoals) / static_cast<double>(std::max<int64_t>(1, state.iterations())));
    pHome.reset();
    pAway.reset();
}

}  // namespace

BENCHMARK(QuickMatch)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
