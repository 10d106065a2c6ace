#include "screens/GameScreens.h"

#include "popups/GamePopups.h"
#include "shell/CScreenRegistry.h"

void RegisterGameScreens()
{
    CreateGamePopups();
}
