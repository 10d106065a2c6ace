#include "tools/worldtool/WorldReports.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CHistoryEntries.h"
#include "database/CPlayerDatabase.h"
#include "season/MatchRecords.h"

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace tools {

namespace {

std::string playerName(const CPlayerDatabase* pPlayer)
{
    return std::string(pPlayer->GetFirstName()) + " " + pPlayer->GetLastName();
}

std::string playerName(CDatabaseHandler& handler, uint32_t idPlayer)
{
    const CPlayerDatabase* pPlayer = handler.GetPlayerFromID(idPlayer);
    return pPlayer ? playerName(pPlayer) : "player " + std::to_string(idPlayer);
}

std::string clubName(const CDatabaseHandler& handler, uint16_t wClub)
{
    if (wClub == 0)
        return "no club";
    const CClubDatabase* pClub = handler.GetClubFromID(wClub);
    return pClub ? pClub->GetName() : "club " + std::to_string(wClub);
}

// League goals over every career entry of the player's present season (a
// player who moved during it has one entry per club).
int seasonLeagueGoals(const CPlayerDatabase& player)
{
    const PLAYERCAREERENTRY* pCurrent = player.GetCurrentCareerEntry();
    if (!pCurrent)
        return 0;
    int nGoals = 0;
    for (const PLAYERCAREERENTRY* pEntry : player.m_Career.Items<PLAYERCAREERENTRY>())
        if (pEntry->bySeason == pCurrent->bySeason)
            nGoals += pEntry->aMatchInformation[MATCHKIND_LEAGUE].abyFields[MATCH_INFORMATION_GOALS];
    return nGoals;
}

}  // namespace

void printTables(CDatabaseHandler& handler, std::FILE* pOut)
{
    for (const CCountryDatabase* pCountry : handler.GetCountries().Items<CCountryDatabase>()) {
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>()) {
            pDivision->SortLeagueTable(false);
            std::fprintf(pOut, "%s: %s\n%4s  %-30s %3s %3s %3s %3s %4s %4s %4s\n", pCountry->GetName(),
                         pDivision->GetName(), "pos", "club", "P", "W", "D", "L", "GF", "GA", "Pts");
            int nPosition = 0;
            for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
                const CLUBLEAGUEROW& home = pClub->m_HomeRow;
                const CLUBLEAGUEROW& away = pClub->m_AwayRow;
                std::fprintf(pOut, "%4d  %-30s %3d %3d %3d %3d %4d %4d %4d\n", ++nPosition, pClub->GetName(),
                             home.byPlayed + away.byPlayed, home.byWon + away.byWon, home.byDrawn + away.byDrawn,
                             home.byLost + away.byLost, pClub->GetGoalsFor(), pClub->GetGoalsAgainst(),
                             pClub->m_byPoints);
            }
            std::fputc('\n', pOut);
        }
    }
}

void printScorers(const CDatabaseHandler& handler, std::FILE* pOut)
{
    struct Scorer {
        int nGoals;
        std::string name;
        const char* pszClub;
    };
    for (const CCountryDatabase* pCountry : handler.GetCountries().Items<CCountryDatabase>()) {
        std::vector<Scorer> scorers;
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                for (const CPlayerDatabase* pPlayer : pClub->m_lstPlayers.Items<CPlayerDatabase>())
                    if (const int nGoals = seasonLeagueGoals(*pPlayer); nGoals > 0)
                        scorers.push_back({nGoals, playerName(pPlayer), pClub->GetName()});
        const size_t nShown = std::min<size_t>(scorers.size(), SCORERS_SHOWN);
        std::partial_sort(scorers.begin(), scorers.begin() + static_cast<std::ptrdiff_t>(nShown), scorers.end(),
                          [](const Scorer& a, const Scorer& b) {
                              return std::tie(b.nGoals, a.name) < std::tie(a.nGoals, b.name);
                          });
        std::fprintf(pOut, "%s\n%-30s %-30s %5s\n", pCountry->GetName(), "player", "club", "goals");
        for (size_t i = 0; i < nShown; ++i)
            std::fprintf(pOut, "%-30s %-30s %5d\n", scorers[i].name.c_str(), scorers[i].pszClub, scorers[i].nGoals);
        std::fputc('\n', pOut);
    }
}

void printMoves(CDatabaseHandler& handler, std::FILE* pOut)
{
    // A move between two divisions is kept by both: it is listed once.
    using Move = std::tuple<uint32_t, uint32_t, uint16_t, uint16_t, uint32_t>;  // date, player, from, to, fee or days
    for (const CCountryDatabase* pCountry : handler.GetCountries().Items<CCountryDatabase>()) {
        std::vector<Move> transfers, loans;
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>()) {
            for (const CTransferHistoryEntry* p : pDivision->m_lstSeasonTransfers.Items<CTransferHistoryEntry>()) {
                const TRANSFERHISTORYVALUES& v = p->Get();
                transfers.emplace_back(v.date.GetValue(), v.dwValue0, v.wValue0, v.wValue1, v.dwValue1);
            }
            for (const CLoanHistoryEntry* p : pDivision->m_lstSeasonLoans.Items<CLoanHistoryEntry>()) {
                const LOANHISTORYVALUES& v = p->Get();
                const CDate date(v.awValues[3], v.abyValues[1], v.abyValues[0]);
                loans.emplace_back(date.GetValue(), v.dwValue, v.awValues[0], v.awValues[1], v.awValues[2]);
            }
        }
        std::fprintf(pOut, "%s\n", pCountry->GetName());
        for (auto [pMoves, pszKind, pszAmount] : {std::tuple{&transfers, "transfer", "fee"},
                                                  std::tuple{&loans, "loan", "days"}}) {
            std::sort(pMoves->begin(), pMoves->end());
            pMoves->erase(std::unique(pMoves->begin(), pMoves->end()), pMoves->end());
            for (const auto& [dwDate, idPlayer, wFrom, wTo, dwAmount] : *pMoves) {
                const CDate date(dwDate);
                std::fprintf(pOut, "%04d-%02d-%02d %-8s %-30s %-30s -> %-30s %s %u\n", date.GetYear(),
                             date.GetMonth(), date.GetDay(), pszKind, playerName(handler, idPlayer).c_str(),
                             clubName(handler, wFrom).c_str(), clubName(handler, wTo).c_str(), pszAmount, dwAmount);
            }
        }
        std::fputc('\n', pOut);
    }
}

}  // namespace tools
