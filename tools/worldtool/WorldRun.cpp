#include "tools/worldtool/WorldRun.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "platform/Random.h"
#include "tools/worldtool/BooksLog.h"
#include "tools/worldtool/ResultsLog.h"
#include "tools/worldtool/WorkFolder.h"
#include "tools/worldtool/WorldCounts.h"
#include "tools/worldtool/WorldFile.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace fs = std::filesystem;

namespace tools {

namespace {

// One line of head counts: players and squads at clubs, the markets, the
// pools and the retired files, for a person watching a long run drift. The
// line is marked "turn" right after a season turn and "end" at the end of
// the run.
void writeSeasonLine(const CDatabaseHandler& handler, FILE* pFile, const char* pszWhen)
{
    long nPlayers = 0, nYouths = 0;
    int nClubs = 0, nSmallest = 0, nLargest = 0;
    for (const CCountryDatabase* pCountry : handler.GetCountries().Items<CCountryDatabase>())
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
                const int nSquad = pClub->m_lstPlayers.GetCount();
                nSmallest = nClubs == 0 ? nSquad : std::min(nSmallest, nSquad);
                nLargest = std::max(nLargest, nSquad);
                nPlayers += nSquad;
                nYouths += pClub->m_lstYouths.GetCount();
                ++nClubs;
            }
    const CDate date = handler.GetGameDate();
    std::fprintf(pFile,
                 "%s date %04d-%02d-%02d players %ld squad_min %d squad_mean %.1f squad_max %d youths %ld "
                 "listed %d loan_listed %d buy_offers %d loan_offers %d youth_pool %d manager_pool %d "
                 "staff_pool %d retired_players %d retired_managers %d retired_staff %d\n",
                 pszWhen, date.GetYear(), date.GetMonth(), date.GetDay(), nPlayers, nSmallest,
                 nClubs ? static_cast<double>(nPlayers) / nClubs : 0.0, nLargest, nYouths,
                 handler.GetListMarket().GetCount(), handler.GetLoanMarket().GetCount(),
                 handler.GetBuyOffers().GetCount(), handler.GetLoanOffers().GetCount(), handler.GetYouths().GetCount(),
                 handler.GetPoolManagerCount(), handler.GetStaffPoolCount(), handler.GetRetiredPlayerCount(),
                 handler.GetRetiredManagerCount(), handler.GetRetiredStaffCount());
}

}  // namespace

bool runWorld(const RunOptions& options, RunResult& result)
{
    std::error_code error;
    const fs::path dataDir = fs::absolute(options.dataDir, error);
    const fs::path out = fs::absolute(options.outFile, error);
    const fs::path resultsFile = options.resultsFile.empty() ? fs::path() : fs::absolute(options.resultsFile, error);
    const fs::path seasonsFile = options.seasonsFile.empty() ? fs::path() : fs::absolute(options.seasonsFile, error);
    const fs::path booksFile = options.booksFile.empty() ? fs::path() : fs::absolute(options.booksFile, error);
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
    FILE* pSeasons = nullptr;
    if (!seasonsFile.empty() && !(pSeasons = std::fopen(seasonsFile.c_str(), "w"))) {
        std::fprintf(stderr, "worldtool: cannot write %s\n", options.seasonsFile.c_str());
        return false;
    }
    std::unique_ptr<BooksLog> pBooks;
    if (!booksFile.empty())
        pBooks = std::make_unique<BooksLog>();
    CDate seasonStart = handler.GetSeasonStartDate();
    while (result.days < options.days) {
        result.days += handler.ProcessDay();
        // The match-day screens' part: the day's own fixtures.
        handler.DoMatchDay(handler.GetGameDate());
        results.addPlayedUpTo(handler, handler.GetGameDate());
        if (pSeasons && handler.GetSeasonStartDate() != seasonStart) {
            seasonStart = handler.GetSeasonStartDate();
            writeSeasonLine(handler, pSeasons, "turn");
        }
    }
    if (pSeasons) {
        writeSeasonLine(handler, pSeasons, "end");
        if (std::fclose(pSeasons) != 0) {
            std::fprintf(stderr, "worldtool: cannot write %s\n", options.seasonsFile.c_str());
            return false;
        }
    }
    if (pBooks) {
        FILE* pFile = std::fopen(booksFile.c_str(), "w");
        if (pFile)
            pBooks->write(pFile);
        if (!pFile || std::fclose(pFile) != 0) {
            std::fprintf(stderr, "worldtool: cannot write %s\n", options.booksFile.c_str());
            return false;
        }
        pBooks.reset();
    }
    result.fixtures = results.matches();
    result.goals = results.goals();
    result.players = countPlayersAtClubs(handler);
    if (!saveWorld(handler, out.string()))
        return false;
    if (results.isOpen() && !results.close()) {
        std::fprintf(stderr, "worldtool: cannot write %s\n", options.resultsFile.c_str());
        return false;
    }
    return true;
}

}  // namespace tools
