#include "popups/GamePopups.h"

#include "popups/CPopupCredits.h"
#include "popups/CPopupHelp.h"
#include "popups/CPopupListFilter.h"
#include "popups/CPopupLoadSaveGame.h"
#include "popups/CPopupMessageBox.h"
#include "popups/CPopupOptions.h"
#include "popups/CPopupPlayerComparison.h"
#include "popups/CPopupScenario.h"
#include "popups/CPopupSelectPlayer.h"
#include "shell/CScreenRegistry.h"
#include "shell/ScreenIDs.h"

void CreateGamePopups()
{
    static bool s_bCreated = false;
    if (s_bCreated)
        return;
    s_bCreated = true;
    // They live to the end of the program.
    static CPopupMessageBox s_MessageBox;
    static CPopupLoadSaveGame s_LoadSaveGame;
    RegisterPopup(s_MessageBox.m_wScreenID, &s_MessageBox);
    RegisterPopup(SCREEN_LOAD_GAME_POPUP, &s_LoadSaveGame);
    RegisterPopup(SCREEN_SAVE_GAME_POPUP, &s_LoadSaveGame);
    static CPopupSelectPlayer s_SelectPlayer;
    RegisterPopup(SCREEN_SELECT_PLAYER_POPUP, &s_SelectPlayer);
    static CPopupOptions s_Options;
    RegisterPopup(SCREEN_OPTIONS_POPUP, &s_Options);
    RegisterPopup(CPopupListFilter::kScreenID, &GetListFilterPopup());
    static CPopupPlayerComparison s_PlayerComparison;
    RegisterPopup(SCREEN_PLAYER_COMPARISON_POPUP, &s_PlayerComparison);
    static CPopupScenario s_Scenario;
    RegisterPopup(SCREEN_SCENARIO_POPUP, &s_Scenario);
    static CPopupHelp s_Help;
    RegisterPopup(SCREEN_HELP_POPUP, &s_Help);
    g_pHelpPopup = &s_Help;
    static CPopupCredits s_Credits;
    RegisterPopup(SCREEN_CREDITS_POPUP, &s_Credits);
}
