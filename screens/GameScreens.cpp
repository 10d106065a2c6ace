#include "screens/GameScreens.h"

#include "popups/GamePopups.h"
#include "screens/CClientTablesStaticsLeague.h"
#include "screens/CClientTeamSelection.h"
#include "screens/CClientTrainingIndividual.h"
#include "screens/CClientNewGame.h"
#include "screens/CClientArchivesMail.h"
#include "screens/CClientFootballToday.h"
#include "shell/CScreenRegistry.h"
#include "shell/ScreenIDs.h"

void RegisterGameScreens()
{
    CreateGamePopups();
    static CClientTeamSelection s_TeamSelection;
    RegisterScreen(SCREEN_TEAM_SELECTION, &s_TeamSelection);
    static CClientTablesStaticsLeague s_League;
    RegisterScreen(SCREEN_TABLES_LEAGUE, &s_League);
    static CClientTablesStaticsHomeAndAway s_HomeAndAway;
    RegisterScreen(SCREEN_TABLES_HOME_AND_AWAY, &s_HomeAndAway);
    RegisterScreen(SCREEN_NEW_GAME, &NewGameScreen());
    RegisterScreen(SCREEN_FOOTBALL_TODAY, &GetFootballTodayScreen());
    RegisterScreen(SCREEN_ARCHIVES_MAIL, &GetArchivesMailScreen());
    RegisterScreen(SCREEN_TRAINING_INDIVIDUAL, &GetTrainingIndividualScreen());
}
