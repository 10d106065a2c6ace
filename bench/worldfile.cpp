// Loading and saving the starting database. Runs in the runtime data tree,
// whose Data/Data.bin, names and tables it reads.
#include "database/CDatabaseHandler.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace {

const std::string& StartingDatabase()
{
    static const std::string bytes = [] {
        std::ifstream in("Data/Data.bin", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }();
    return bytes;
}

bool LoadFromMemory(CDatabaseHandler& handler, const std::string& bytes)
{
    FILE* pFile = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
    if (!pFile)
        return false;
    const bool bLoaded = handler.Load(pFile);
    std::fclose(pFile);
    return bLoaded;
}

void LoadStartingDatabase(benchmark::State& state)
{
    const std::string& bytes = StartingDatabase();
    CDatabaseHandler handler;
    for (auto _ : state) {
        if (!LoadFromMemory(handler, bytes)) {
            state.SkipWithError("Data/Data.bin does not load");
            break;
        }
        handler.SetupPointers();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
}

void SaveStartingDatabase(benchmark::State& state)
{
    const std::string& bytes = StartingDatabase();
    CDatabaseHandler handler;
    if (!LoadFromMemory(handler, bytes)) {
        state.SkipWithError("Data/Data.bin does not load");
        return;
    }
    handler.SetupPointers();
    std::string buffer(bytes.size() + 4096, '\0');
    for (auto _ : state) {
        FILE* pFile = fmemopen(buffer.data(), buffer.size(), "wb");
        const bool bSaved = pFile && handler.Save(pFile);
        if (pFile)
            std::fclose(pFile);
        if (!bSaved) {
            state.SkipWithError("saving failed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

}  // namespace

BENCHMARK(LoadStartingDatabase)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveStartingDatabase)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
