#include "shell/CGameDay.h"

#include "shell/CScreenRegistry.h"
#include "shell/ScreenIDs.h"

#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "season/CSaveGame.h"

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
