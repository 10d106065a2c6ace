// CPU seconds of each of five seasons of a new game, every fixture played by
// the quick result engine, with the kernel's part of them (the working
// files): of the starting world and, when it has been built (target
// `world4x`), of the world four times its size. A season runs from the day
// after one season turn to the day of the next, so that each holds one turn,
// the close of its own season (the first from the new game's first day).
// Run on one core (`taskset -c 0`) in the runtime data tree; each repetition
// plays a new game from the same seed, and the median of every season is
// reported, with its days and the players at clubs at its end. The game's
// working files go to a temporary folder.
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "platform/Random.h"
#include "tools/worldtool/WorkFolder.h"
#include "tools/worldtool/WorldCounts.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kSeasons = 5;
// A season that never turns is a fault of the game, not a long season.
constexpr int kMostSeasonDays = 400;
constexpr unsigned kSeed = 7;

double ThreadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The part of the thread's CPU time spent in the kernel (file work, and
// memory touched for the first time), and the page faults behind the latter.
double ThreadSystemSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return static_cast<double>(usage.ru_stime.tv_sec) + static_cast<double>(usage.ru_stime.tv_usec) * 1e-6;
}

long ThreadPageFaults()
{
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

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
    plat::srand(kSeed);
    if (!pHandler->SetUpNewGameRecords())
        return nullptr;
    pHandler->SetContinueMode(0);
    return pHandler;
}

void FiveSeasons(benchmark::State& state, const fs::path& data)
{
    tools::WorkFolder folder;
    if (!folder.enter(data.parent_path())) {
        state.SkipWithError("no working folder");
        return;
    }
    CDatabaseHandler::BuildAttendanceCurve();
    CPlayerDatabase::InitialisePlayerValueTables();
    // Under `perf record --switch-output=signal`, a signal to the parent at
    // each season turn leaves one profile per season, to compare the seasons
    // function by function.
    const bool bSignalTurns = std::getenv("BRELLOX_BENCH_SIGNAL_TURNS") != nullptr;
    double adSeconds[kSeasons] = {};
    double adSystemSeconds[kSeasons] = {};
    long anFaults[kSeasons] = {};
    int anDays[kSeasons] = {};
    int anPlayers[kSeasons] = {};
    int nListed = 0;
    for (auto _ : state) {
        std::unique_ptr<CDatabaseHandler> pHandler = NewGame();
        if (!pHandler) {
            state.SkipWithError(("no world loads from " + data.string()).c_str());
            return;
        }
        double dTotal = 0;
        // A day's matches follow its step, the turn's day's in the next season.
        bool bMatchDayDue = false;
        for (int nSeason = 0; nSeason < kSeasons; ++nSeason) {
            const double dStart = ThreadSeconds();
            const double dSystemStart = ThreadSystemSeconds();
            const long nFaultsStart = ThreadPageFaults();
            int nDays = 0;
            bool bTurned = false;
            do {
                if (bMatchDayDue)
                    pHandler->DoMatchDay(pHandler->GetGameDate());
                nDays += pHandler->ProcessDay(&bTurned);
                bMatchDayDue = true;
            } while (!bTurned && nDays < kMostSeasonDays);
            adSeconds[nSeason] = ThreadSeconds() - dStart;
            adSystemSeconds[nSeason] = ThreadSystemSeconds() - dSystemStart;
            anFaults[nSeason] = ThreadPageFaults() - nFaultsStart;
            anDays[nSeason] = nDays;
            if (bSignalTurns)
                kill(getppid(), SIGUSR2);
            anPlayers[nSeason] = static_cast<int>(tools::countPlayersAtClubs(*pHandler));
            dTotal += adSeconds[nSeason];
            if (!bTurned) {
                state.SkipWithError("a season did not turn");
                return;
            }
        }
        state.SetIterationTime(dTotal);
        // What the later seasons carry: the transfer list after the last.
        nListed = pHandler->GetListMarket().GetCount();
    }
    for (int i = 0; i < kSeasons; ++i) {
        state.counters["season" + std::to_string(i + 1)] = adSeconds[i];
        state.counters["kernel" + std::to_string(i + 1)] = adSystemSeconds[i];
        state.counters["faults" + std::to_string(i + 1)] = static_cast<double>(anFaults[i]);
        state.counters["days" + std::to_string(i + 1)] = anDays[i];
        state.counters["players" + std::to_string(i + 1)] = anPlayers[i];
    }
    state.counters["listed_end"] = nListed;
    state.counters["last_over_first"] = adSeconds[0] > 0 ? adSeconds[kSeasons - 1] / adSeconds[0] : 0;
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    // The larger world is looked for beside the runtime tree unless named.
    const char* pszLarge = std::getenv("BRELLOX_WORLD4X");
    const fs::path large = pszLarge ? fs::path(pszLarge) : fs::absolute("../world4x/game/Data");
    const fs::path start = fs::absolute("Data");
    auto add = [](const char* pszName, const fs::path& data) {
        benchmark::RegisterBenchmark(pszName, [data](benchmark::State& state) { FiveSeasons(state, data); })
            ->Unit(benchmark::kSecond)
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(3)
            ->ReportAggregatesOnly(true);
    };
    add("Seasons/start", start);
    if (fs::is_regular_file(large / "Data.bin"))
        add("Seasons/world4x", large);
    else
        std::fprintf(stderr, "bench_seasons: no larger world at %s (build the target world4x)\n", large.c_str());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
