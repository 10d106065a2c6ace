// worldtool: builds the runtime data tree from the sources in data/, checks
// the whole-database file, plays worlds and reports on them.
//   worldtool generate DIR [--data SOURCE_DIR]
//   worldtool resave IN.bin OUT.bin [--data DIR]
//   worldtool run --data DIR --days N --seed S --out OUT.bin [--results FILE.csv] [--seasons FILE]
//                 [--books FILE]
//   worldtool tables|scorers|moves W.bin [--data DIR]
// DIR is a runtime tree (it holds Data/Names and Data/Tables); the current
// folder when not given.
#include "database/CDatabaseHandler.h"
#include "tools/worldtool/NamesGenerator.h"
#include "tools/worldtool/TablesGenerator.h"
#include "tools/worldtool/TacticsGenerator.h"
#include "tools/worldtool/TrainingGenerator.h"
#include "tools/worldtool/WorldFile.h"
#include "tools/worldtool/WorldGenerator.h"
#include "tools/worldtool/WorldReports.h"
#include "tools/worldtool/WorldRun.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#ifndef BRELLOX_DATA_DIR
#define BRELLOX_DATA_DIR "data"
#endif

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: worldtool generate DIR [--data SOURCE_DIR]\n"
                 "       worldtool resave IN.bin OUT.bin [--data DIR]\n"
                 "       worldtool run --data DIR --days N --seed S --out OUT.bin [--results FILE.csv]\n"
                 "                  [--seasons FILE] [--books FILE]\n"
                 "       worldtool tables|scorers|moves W.bin [--data DIR]\n");
    return 2;
}

int generate(int argc, char** argv)
{
    tools::GeneratorContext context{BRELLOX_DATA_DIR, argv[2]};
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--data") == 0 && i + 1 < argc)
            context.sourceDir = argv[++i];
        else
            return usage();
    }

    // The world is built from the names and tables written before it.
    std::vector<std::unique_ptr<tools::Generator>> generators;
    generators.push_back(std::make_unique<tools::NamesGenerator>());
    generators.push_back(std::make_unique<tools::TablesGenerator>());
    generators.push_back(std::make_unique<tools::WorldGenerator>());
    generators.push_back(std::make_unique<tools::TacticsGenerator>());
    generators.push_back(std::make_unique<tools::TrainingGenerator>());
    for (const auto& generator : generators) {
        if (!generator->generate(context)) {
            std::fprintf(stderr, "worldtool: generating %s failed\n", generator->name());
            return 1;
        }
    }
    return 0;
}

// The files named before the options, and the runtime tree of "--data DIR"
// (the current folder by default); false for anything else.
bool parseWorldArguments(int argc, char** argv, int nFiles, std::vector<const char*>& files, std::string& dataDir)
{
    dataDir = ".";
    int i = 2;
    for (; i < argc && files.size() < static_cast<size_t>(nFiles); ++i) {
        if (std::strncmp(argv[i], "--", 2) == 0)
            return false;
        files.push_back(argv[i]);
    }
    if (files.size() != static_cast<size_t>(nFiles))
        return false;
    for (; i < argc; i += 2) {
        if (std::strcmp(argv[i], "--data") != 0 || i + 1 >= argc)
            return false;
        dataDir = argv[i + 1];
    }
    return true;
}

// Loads a world file with its set and saves them again.
int resave(int argc, char** argv)
{
    std::vector<const char*> files;
    std::string dataDir;
    if (!parseWorldArguments(argc, argv, 2, files, dataDir))
        return usage();
    std::error_code error;
    const std::string out = std::filesystem::absolute(files[1], error).string();
    tools::OpenWorld world;
    return world.load(dataDir, files[0]) && tools::saveWorld(world.handler(), out) ? 0 : 1;
}

// tables, scorers or moves of a world file, on standard output.
int report(int argc, char** argv, void (*print)(CDatabaseHandler&, std::FILE*))
{
    std::vector<const char*> files;
    std::string dataDir;
    if (!parseWorldArguments(argc, argv, 1, files, dataDir))
        return usage();
    tools::OpenWorld world;
    if (!world.load(dataDir, files[0]))
        return 1;
    print(world.handler(), stdout);
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "worldtool: the report could not be written\n");
        return 1;
    }
    return 0;
}

// A whole decimal number within [nMin, nMax].
bool parseNumber(const char* pszText, long long nMin, long long nMax, long long& nValue)
{
    errno = 0;
    char* pszEnd = nullptr;
    nValue = std::strtoll(pszText, &pszEnd, 10);
    return errno == 0 && pszEnd != pszText && *pszEnd == '\0' && nValue >= nMin && nValue <= nMax;
}

int run(int argc, char** argv)
{
    tools::RunOptions options;
    bool abGiven[4] = {};
    for (int i = 2; i < argc; i += 2) {
        if (i + 1 >= argc)
            return usage();
        const char* pszValue = argv[i + 1];
        long long nValue = 0;
        if (std::strcmp(argv[i], "--data") == 0) {
            options.dataDir = pszValue;
            abGiven[0] = true;
        }
        else if (std::strcmp(argv[i], "--days") == 0) {
            if (!parseNumber(pszValue, 0, 100000, nValue)) {
                std::fprintf(stderr, "worldtool: --days wants a whole number from 0 to 100000, not \"%s\"\n", pszValue);
                return 2;
            }
            options.days = static_cast<int>(nValue);
            abGiven[1] = true;
        }
        else if (std::strcmp(argv[i], "--seed") == 0) {
            if (!parseNumber(pszValue, 0, 4294967295LL, nValue)) {
                std::fprintf(stderr, "worldtool: --seed wants a whole number from 0 to 4294967295, not \"%s\"\n",
                             pszValue);
                return 2;
            }
            options.seed = static_cast<unsigned>(nValue);
            abGiven[2] = true;
        }
        else if (std::strcmp(argv[i], "--out") == 0) {
            options.outFile = pszValue;
            abGiven[3] = true;
        }
        else if (std::strcmp(argv[i], "--results") == 0)
            options.resultsFile = pszValue;
        else if (std::strcmp(argv[i], "--seasons") == 0)
            options.seasonsFile = pszValue;
        else if (std::strcmp(argv[i], "--books") == 0)
            options.booksFile = pszValue;
        else
            return usage();
    }
    for (bool bGiven : abGiven)
        if (!bGiven)
            return usage();
    tools::RunResult result;
    if (!tools::runWorld(options, result))
        return 1;
    std::printf("days %d fixtures %ld goals %ld players %ld\n", result.days, result.fixtures, result.goals,
                result.players);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "generate") == 0)
        return generate(argc, argv);
    if (argc < 2)
        return usage();
    const std::string command = argv[1];
    if (command == "resave")
        return resave(argc, argv);
    if (command == "run")
        return run(argc, argv);
    if (command == "tables")
        return report(argc, argv, tools::printTables);
    if (command == "scorers")
        return report(argc, argv,
                      [](CDatabaseHandler& handler, std::FILE* pOut) { tools::printScorers(handler, pOut); });
    if (command == "moves")
        return report(argc, argv, tools::printMoves);
    return usage();
}
