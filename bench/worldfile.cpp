// Loading and saving the starting database, from and to real files, beside a
// plain copy of the same bytes. Runs in the runtime data tree, whose
// Data/Data.bin, names and tables it reads.
#include "database/CDatabaseHandler.h"
#include "platform/Files.h"
#include "platform/SafeFile.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

const char kStartingDatabase[] = "Data/Data.bin";

// A file name of this process in the temporary folder, removed at exit.
class ScratchFile {
public:
    explicit ScratchFile(const char* pszWhat)
        : m_path("/tmp/bench_worldfile_" + std::to_string(::getpid()) + "_" + pszWhat + ".bin")
    {
    }
    ~ScratchFile() { std::remove(m_path.c_str()); }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

int64_t StartingDatabaseBytes() { return plat::fileSize(kStartingDatabase); }

// As a saved game writes its world: under a temporary name, renamed when whole.
bool SaveWorld(CDatabaseHandler& handler, const std::string& path)
{
    return plat::writeFileSafely(path, [&handler](FILE* pFile) { return handler.Save(pFile); });
}

void CopyWorldFile(benchmark::State& state)
{
    ScratchFile copy("copy");
    for (auto _ : state) {
        if (!plat::copyFile(kStartingDatabase, copy.Path())) {
            state.SkipWithError("Data/Data.bin cannot be copied");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * StartingDatabaseBytes());
}

void LoadWorldFile(benchmark::State& state)
{
    CDatabaseHandler handler;
    for (auto _ : state) {
        if (!handler.LoadFile(kStartingDatabase)) {
            state.SkipWithError("Data/Data.bin does not load");
            break;
        }
        handler.SetupPointers();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * StartingDatabaseBytes());
}

void SaveWorldFile(benchmark::State& state)
{
    CDatabaseHandler handler;
    if (!handler.LoadFile(kStartingDatabase)) {
        state.SkipWithError("Data/Data.bin does not load");
        return;
    }
    handler.SetupPointers();
    ScratchFile saved("save");
    for (auto _ : state) {
        if (!SaveWorld(handler, saved.Path())) {
            state.SkipWithError("saving failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * StartingDatabaseBytes());
}

// One load and one save of the same world, to set beside one copy.
void LoadAndSaveWorldFile(benchmark::State& state)
{
    CDatabaseHandler handler;
    ScratchFile saved("loadsave");
    for (auto _ : state) {
        if (!handler.LoadFile(kStartingDatabase)) {
            state.SkipWithError("Data/Data.bin does not load");
            break;
        }
        handler.SetupPointers();
        if (!SaveWorld(handler, saved.Path())) {
            state.SkipWithError("saving failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * StartingDatabaseBytes());
    state.counters["file_bytes"] = static_cast<double>(StartingDatabaseBytes());
}

}  // namespace

BENCHMARK(CopyWorldFile)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadWorldFile)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveWorldFile)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadAndSaveWorldFile)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
