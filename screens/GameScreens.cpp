#include "screens/GameScreens.h"

#include "popups/GamePopups.h"
#include "screens/CClientArchivesMail.h"
#include "screens/CClientFootballToday.h"
#include "shell/CScreenRegistry.h"
#include "shell/ScreenIDs.h"

void RegisterGameScreens()
{
    CreateGamePopups();
    RegisterScreen(SCREEN_FOOTBALL_TODAY, &GetFootballTodayScreen());
    RegisterScreen(SCREEN_ARCHIVES_MAIL, &GetArchivesMailScreen());
}
