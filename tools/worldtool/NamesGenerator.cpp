#include "tools/worldtool/NamesGenerator.h"

#include "database/CNameDictionary.h"
#include "database/NationalityTable.h"
#include "tools/worldtool/SourceFile.h"

#include <cstdio>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace tools {
namespace {

bool checkNames(const std::string& path, const char* section, const std::vector<std::string>& names)
{
    if (names.empty()) {
        std::fprintf(stderr, "worldtool: %s has no [%s] names\n", path.c_str(), section);
        return false;
    }
    std::set<std::string> seen;
    for (const std::string& name : names) {
        if (name.size() > CNameDictionary::kMaxNameLength) {
            std::fprintf(stderr, "worldtool: %s: \"%s\" is longer than %zu characters\n", path.c_str(), name.c_str(),
                         CNameDictionary::kMaxNameLength);
            return false;
        }
        if (!seen.insert(name).second) {
            std::fprintf(stderr, "worldtool: %s: \"%s\" appears twice in [%s]\n", path.c_str(), name.c_str(), section);
            return false;
        }
    }
    return true;
}

}  // namespace

bool NamesGenerator::readPools(const std::string& sourceDir, std::map<int, Pool>& pools)
{
    pools.clear();
    const fs::path folder = fs::path(sourceDir) / "names";
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const std::string file = entry.path().filename().string();
        const size_t dash = file.find('-');
        if (entry.path().extension() != ".txt" || dash == std::string::npos || dash == 0)
            continue;
        const int number = std::atoi(file.substr(0, dash).c_str());
        SourceFile source;
        if (!source.load(entry.path().string()))
            return false;
        Pool pool{source.lines("first"), source.lines("last")};
        if (!checkNames(source.path(), "first", pool.firstNames) || !checkNames(source.path(), "last", pool.lastNames))
            return false;
        if (!pools.emplace(number, std::move(pool)).second) {
            std::fprintf(stderr, "worldtool: two sources for name pool %d\n", number);
            return false;
        }
    }
    if (error) {
        std::fprintf(stderr, "worldtool: cannot list %s\n", folder.string().c_str());
        return false;
    }
    int count = 0;
    const int* numbers = GetNamePoolNumbers(count);
    for (int i = 0; i < count; ++i) {
        if (!pools.count(numbers[i])) {
            std::fprintf(stderr, "worldtool: no source for name pool %d in %s\n", numbers[i], folder.string().c_str());
            return false;
        }
    }
    if (static_cast<int>(pools.size()) != count) {
        std::fprintf(stderr, "worldtool: %s holds pools the game does not use\n", folder.string().c_str());
        return false;
    }
    return true;
}

bool NamesGenerator::generate(const GeneratorContext& context)
{
    std::map<int, Pool> pools;
    if (!readPools(context.sourceDir, pools))
        return false;
    const fs::path outDir = fs::path(context.outputDir) / "Data" / "Names";
    std::error_code error;
    fs::create_directories(outDir, error);
    if (error) {
        std::fprintf(stderr, "worldtool: cannot create %s\n", outDir.string().c_str());
        return false;
    }

    // std::set orders std::string like memcmp, the dictionaries' byte order.
    std::set<std::string> firstNames;
    std::set<std::string> lastNames;
    for (const auto& [number, pool] : pools) {
        firstNames.insert(pool.firstNames.begin(), pool.firstNames.end());
        lastNames.insert(pool.lastNames.begin(), pool.lastNames.end());
        const std::string prefix = (outDir / std::to_string(number)).string();
        if (!CNameDictionary::Write((prefix + "FN.dat").c_str(), pool.firstNames) ||
            !CNameDictionary::Write((prefix + "LN.dat").c_str(), pool.lastNames)) {
            std::fprintf(stderr, "worldtool: cannot write name pool %d\n", number);
            return false;
        }
    }
    const std::vector<std::string> sortedFirst(firstNames.begin(), firstNames.end());
    const std::vector<std::string> sortedLast(lastNames.begin(), lastNames.end());
    if (!CNameDictionary::Write((outDir / "FirstNames.dat").string().c_str(), sortedFirst) ||
        !CNameDictionary::Write((outDir / "LastNames.dat").string().c_str(), sortedLast)) {
        std::fprintf(stderr, "worldtool: cannot write the name dictionaries\n");
        return false;
    }
    return true;
}

}  // namespace tools
