#include "tools/worldtool/WorldRun.h"

#include "database/CDatabaseHandler.h"
#include "platform/Random.h"
#include "tools/worldtool/ResultsLog.h"
#include "tools/worldtool/WorkFolder.h"
#include "tools/worldtool/WorldFile.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace fs = std::filesystem;

namespace tools {

bool runWorld(const RunOptions& options, RunResult& result)
{
    std::error_code error;
    const fs::path dataDir = fs::absolute(options.dataDir, error);
    const fs::path out = fs::absolute(options.outFile, error);
    const fs::path resultsFile = options.resultsFile.empty() ? fs::path() : fs::absolute(options.resultsFile, error);
    if (!fs::is_regular_file(dataDir / "Data" / "Data.bin")) {
        std::fprintf(stderr, "worldtool: %s holds no Data/Data.bin\n", dataDir.c_str());
        return false;
    }
    WorkFolder work;
    if (!work.enter(dataDir)) {
        std::fprintf(stderr, "worldtool: cannot make a working folder\n");
        return false;
    }

    ResultsLog results;
    if (!options.resultsFile.empty() && !results.open(resultsFile)) {
        std::fprintf(stderr, "worldtool: cannot write %s\n", options.resultsFile.c_str());
        return false;
    }
    const std::unique_ptr<CDatabaseHandler> pHandler =
        loadWorld(dataDir.string(), (dataDir / "Data" / "Data.bin").string());
    if (!pHandler)
        return false;
    CDatabaseHandler& handler = *pHandler;

    // One seed for the whole game: every later draw follows from it.
    plat::srand(options.seed);
    if (!handler.SetUpNewGameRecords()) {
        std::fprintf(stderr, "worldtool: the new game could not be set up (BRELLOX_LOG=1 shows why)\n");
        return false;
    }
    handler.SetContinueMode(0);
    while (result.days < options.days) {
        result.days += handler.ProcessDay();
        // The match-day screens' part: the day's own fixtures.
        handler.DoMatchDay(handler.GetGameDate());
        results.addPlayedUpTo(handler, handler.GetGameDate());
    }
    result.fixtures = results.matches();
    result.goals = results.goals();
    if (!saveWorld(handler, out.string()))
        return false;
    if (results.isOpen() && !results.close()) {
        std::fprintf(stderr, "worldtool: cannot write %s\n", options.resultsFile.c_str());
        return false;
    }
    return true;
}

}  // namespace tools
