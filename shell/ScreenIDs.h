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
    SCREEN_TRAINING_INDIVIDUAL = 6,
    SCREEN_TRAINING_TEAM = 7,
    SCREEN_TABLES_LEAGUE = 8,
    SCREEN_TABLES_HOME_AND_AWAY = 9,
    SCREEN_TABLES_FIXTURES = 11,
    SCREEN_TABLES_CUP = 15,
    SCREEN_TRANSFER_MARKET = 16,
    SCREEN_TRANSFER_SCOUT = 20,
    SCREEN_STAFF_MARKET = 21,
    SCREEN_CLUB_GENERAL = 24,
    SCREEN_CLUB_PLAYERS = 26,
    SCREEN_FINANCE_GENERAL = 28,
    SCREEN_FINANCE_CURRENT = 29,
    SCREEN_FINANCE_DEPOSIT = 30,
    SCREEN_FINANCE_PROJECTED = 31,
    SCREEN_GROUND_GENERAL = 34,
    SCREEN_ARCHIVES_MAIL = 38,
    SCREEN_LAST_MAIN = 41,
    SCREEN_GAME_SETTINGS_POPUP = 53,
    SCREEN_HELP_POPUP = 56,
    SCREEN_LOAD_GAME_POPUP = 58,
    SCREEN_LOAN_APPLICATION_POPUP = 59,
    SCREEN_OPTIONS_POPUP = 65,
    SCREEN_OVERDRAFT_APPLICATION_POPUP = 66,
    SCREEN_SAVE_GAME_POPUP = 73,
    SCREEN_SCENARIO_POPUP = 75,
    SCREEN_TRANSFER_MONEY_POPUP = 79,
    SCREEN_TITLEBAR = 84,
    SCREEN_NAVIGATIONBAR = 85,
    SCREEN_SELECT_PLAYER_POPUP = 86,
    SCREEN_END_OF_CAREER = 93,
};

// The scout screen's parameter: the scout whose report has come in (0 none)
// and whether the report is on youth players.
constexpr uint32_t ScoutScreenParameter(uint16_t wReportScout, bool bYouth)
{
    return wReportScout | (bYouth ? 1u << 16 : 0u);
}

// The name of an id; ids outside 0 to 99 read "Error - MAX_SCREENID".
const char* GetScreenName(int nScreenID);
