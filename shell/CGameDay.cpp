#include "shell/CGameDay.h"

#include "shell/CScreenRegistry.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "season/CSaveGame.h"

#include <algorithm>

namespace {

constexpr uint8_t kLeagueCompetition = 255;

}  // namespace

int CGameDay::ProcessDay(CDatabaseHandler& database) { return database.ProcessDay(); }

int CGameDay::QueueMatchDayScreens(CDatabaseHandler& database)
{
    const CDate today = database.GetGameDate();
    const CSaveGame* pHuman = database.GetCurrentSaveGame();
    const CClubDatabase* pClub = pHuman ? pHuman->GetClub() : nullptr;
    uint8_t byCompetition = kLeagueCompetition;
    CDate fixtureDate;
    const bool bHumanPlays =
        pClub && database.GetNextFixture(pClub, nullptr, &byCompetition, &fixtureDate) >= 0 && fixtureDate == today;
    // No match screen plays a human's match yet: the quick result engine
    // plays it with the others, whatever the match type holds it for.
    const uint8_t byMatchType = database.GetMatchType();
    database.SetMatchType(0);
    const int nPlayed = database.DoMatchDay(today);
    database.SetMatchType(byMatchType);
    if (bHumanPlays) {
        if (byCompetition == kLeagueCompetition && pClub->m_pDivision)
            CXClient::AddClientToList(GetScreenObject(SCREEN_TABLES_FIXTURES), pClub->m_pDivision->m_byDivisionId,
                                      nullptr);
        else
            CXClient::AddClientToList(GetScreenObject(SCREEN_TABLES_CUP), byCompetition, nullptr);
    }
    CXClient::AddClientToList(GetScreenObject(SCREEN_FOOTBALL_TODAY), 0, nullptr);
    return nPlayed;
}

CDate CGameDay::GetRunStartDate(const CDatabaseHandler& database, const CDate& target)
{
    // A month back; January goes back to December of the year before, and a
    // day the earlier month lacks to its 28th.
    const int nMonth = target.GetMonth() == 1 ? 12 : target.GetMonth() - 1;
    const int nYear = target.GetMonth() == 1 ? target.GetYear() - 1 : target.GetYear();
    CDate start(nYear, nMonth, std::min(target.GetDay(), 28));
    for (const CCountryDatabase* pCountry : database.GetCountries().Items<CCountryDatabase>()) {
        const CDate& seasonStart = pCountry->GetSeasonStartDate();
        if (seasonStart < target && pCountry->GetSeasonEndDate() > target && seasonStart < start) {
            const int nStartMonth = seasonStart.GetMonth() == 1 ? 12 : seasonStart.GetMonth() - 1;
            const int nStartYear = seasonStart.GetMonth() == 1 ? seasonStart.GetYear() - 1 : seasonStart.GetYear();
            start = CDate(nStartYear, nStartMonth, std::min(seasonStart.GetDay(), 28));
        }
    }
    return start;
}

void CGameDay::ProcessDaysToDate(CDatabaseHandler& database, const CDate& target)
{
    database.SetGameDate(GetRunStartDate(database, target));
    database.ProcessDaysToDate(target);
}
