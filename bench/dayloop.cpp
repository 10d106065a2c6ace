// Milliseconds per game day over August 1999 of the starting world, the
// first month of league fixtures (match days included): the continue
// command day by day, each day's fixtures played by the quick result engine.
// Runs in the runtime data tree; the game's working files go to a temporary
// folder of their own.
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "platform/Clock.h"
#include "platform/Random.h"
#include "tools/worldtool/WorkFolder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include <stdlib.h>

namespace fs = std::filesystem;

namespace {

constexpr int kDays = 31;

// A new game of the starting world, moved on to 31 July.
std::unique_ptr<CDatabaseHandler> NewGame()
{
    auto pHandler = std::make_unique<CDatabaseHandler>();
    FILE* pFile = std::fopen("Data/Data.bin", "rb");
    const bool bLoaded = pFile && pHandler->AreFixedTablesLoaded() && pHandler->Load(pFile);
    if (pFile)
        std::fclose(pFile);
    if (!bLoaded)
        return nullptr;
    pHandler->SetupPointers();
    plat::srand(1999);
    if (!pHandler->SetUpNewGameRecords())
        return nullptr;
    while (pHandler->GetGameDate() < CDate(1999, 7, 31)) {
        pHandler->ProcessDay();
        pHandler->DoMatchDay(pHandler->GetGameDate());
    }
    return pHandler;
}

void DayLoopAugust(benchmark::State& state)
{
    tools::WorkFolder folder;
    if (!folder.enter(fs::current_path())) {
        state.SkipWithError("no working folder");
        return;
    }
    CDatabaseHandler::BuildAttendanceCurve();
    CPlayerDatabase::InitialisePlayerValueTables();
    double dMilliseconds = 0;
    int64_t nDays = 0;
    int64_t nFixtures = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<CDatabaseHandler> pHandler = NewGame();
        if (!pHandler) {
            state.SkipWithError("the starting world does not load: run from the runtime data tree");
            return;
        }
        state.ResumeTiming();
        const uint32_t dwStart = plat::milliseconds();
        for (int i = 0; i < kDays; ++i) {
            pHandler->ProcessDay();
            nFixtures += pHandler->DoMatchDay(pHandler->GetGameDate());
        }
        dMilliseconds += plat::milliseconds() - dwStart;
        nDays += kDays;
        state.PauseTiming();
        pHandler.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(nDays);
    state.counters["ms_per_day"] = benchmark::Counter(nDays ? dMilliseconds / static_cast<double>(nDays) : 0);
    state.counters["fixtures_per_day"] =
        benchmark::Counter(nDays ? static_cast<double>(nFixtures) / static_cast<double>(nDays) : 0);
}

}  // namespace

BENCHMARK(DayLoopAugust)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_MAIN();
