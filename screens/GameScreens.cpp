#include "screens/GameScreens.h"

#include "popups/GamePopups.h"
#include "screens/CClientTeamSelection.h"
#include "shell/CScreenRegistry.h"
#include "shell/ScreenIDs.h"

void RegisterGameScreens()
{
    CreateGamePopups();
    static CClientTeamSelection s_TeamSelection;
    RegisterScreen(SCREEN_TEAM_SELECTION, &s_TeamSelection);
}
