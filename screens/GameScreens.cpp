#include "screens/GameScreens.h"

#include "popups/GamePopups.h"
#include "screens/CClientNewGame.h"
#include "shell/CScreenRegistry.h"
#include "shell/ScreenIDs.h"

void RegisterGameScreens()
{
    CreateGamePopups();
    RegisterScreen(SCREEN_NEW_GAME, &NewGameScreen());
}
