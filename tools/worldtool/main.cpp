// worldtool: builds the runtime data tree from the sources in data/, and
// checks the whole-database file.
//   worldtool generate DIR [--data SOURCE_DIR]
//   worldtool resave IN.bin OUT.bin   (run where Data/Names and Data/Tables are)
//   worldtool run --data DIR --days N --seed S --out OUT.bin
#include "database/CDatabaseHandler.h"
#include "tools/worldtool/NamesGenerator.h"
#include "tools/worldtool/TablesGenerator.h"
#include "tools/worldtool/TacticsGenerator.h"
#include "tools/worldtool/WorldGenerator.h"
#include "tools/worldtool/WorldRun.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#ifndef BRELLOX_DATA_DIR
#define BRELLOX_DATA_DIR "data"
#endif

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: worldtool generate DIR [--data SOURCE_DIR]\n"
                 "       worldtool resave IN.bin OUT.bin\n"
                 "       worldtool run --data DIR --days N --seed S --out OUT.bin\n");
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
    for (const auto& generator : generators) {
        if (!generator->generate(context)) {
            std::fprintf(stderr, "worldtool: generating %s failed\n", generator->name());
            return 1;
        }
    }
    return 0;
}

// Loads a world file with its pointer pass and saves it again.
int resave(const char* pszIn, const char* pszOut)
{
    CDatabaseHandler handler;
    if (!handler.AreFixedTablesLoaded()) {
        std::fprintf(stderr, "worldtool: Data/Names and Data/Tables are not in the current folder\n");
        return 1;
    }
    FILE* in = std::fopen(pszIn, "rb");
    if (!in) {
        std::fprintf(stderr, "worldtool: cannot open %s\n", pszIn);
        return 1;
    }
    const bool loaded = handler.Load(in);
    std::fclose(in);
    if (!loaded) {
        std::fprintf(stderr, "worldtool: %s is refused (BRELLOX_LOG=1 shows why)\n", pszIn);
        return 1;
    }
    handler.SetupPointers();
    FILE* out = std::fopen(pszOut, "wb");
    bool saved = out && handler.Save(out);
    if (out && std::fclose(out) != 0)
        saved = false;
    if (!saved) {
        std::fprintf(stderr, "worldtool: cannot write %s\n", pszOut);
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
        else
            return usage();
    }
    for (bool bGiven : abGiven)
        if (!bGiven)
            return usage();
    tools::RunResult result;
    if (!tools::runWorld(options, result))
        return 1;
    std::printf("days %d fixtures %ld goals %ld\n", result.days, result.fixtures, result.goals);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "generate") == 0)
        return generate(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "resave") == 0)
        return resave(argv[2], argv[3]);
    if (argc >= 2 && std::strcmp(argv[1], "run") == 0)
        return run(argc, argv);
    return usage();
}
