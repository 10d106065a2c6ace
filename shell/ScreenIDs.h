#pragma once
// The one identifier space of screens, bars and popups (0 to 99) and the
// names the log gives them.
#include <cstdint>

constexpr int MAX_SCREENID = 100;

enum : uint16_t {
    SCREEN_FOOTBALL_TODAY = 0,
    SCREEN_STARTUP = 1,
    SCREEN_NEW_GAME = 2,
    SCREEN_MATCH = 3,
    SCREEN_TEAM_SELECTION = 4,
    SCREEN_TABLES_LEAGUE = 8,
    SCREEN_TABLES_HOME_AND_AWAY = 9,
    SCREEN_TABLES_FIXTURES = 11,
    SCREEN_TABLES_CUP = 15,
    SCREEN_TRANSFER_MARKET = 16,
    SCREEN_STAFF_MARKET = 21,
    SCREEN_CLUB_GENERAL = 24,
    SCREEN_FINANCE_GENERAL = 28,
    SCREEN_GROUND_GENERAL = 34,
    SCREEN_ARCHIVES_MAIL = 38,
    SCREEN_LAST_MAIN = 41,
    SCREEN_GAME_SETTINGS_POPUP = 53,
    SCREEN_HELP_POPUP = 56,
    SCREEN_LOAD_GAME_POPUP = 58,
    SCREEN_OPTIONS_POPUP = 65,
    SCREEN_SAVE_GAME_POPUP = 73,
    SCREEN_SCENARIO_POPUP = 75,
    SCREEN_TITLEBAR = 84,
    SCREEN_NAVIGATIONBAR = 85,
    SCREEN_SELECT_PLAYER_POPUP = 86,
    SCREEN_END_OF_CAREER = 93,
};

// The name of an id; ids outside 0 to 99 read "Error - MAX_SCREENID".
const char* GetScreenName(int nScreenID);
