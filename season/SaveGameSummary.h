#pragma once
// The summaries at the head of a saved game's humans file (".sav"): the
// number of human managers, then one 100-byte summary each (manager, club,
// division, league place, game date, date of saving, country, nationality
// and bank balance), which lists of saved games show before a load.
#include <cstdint>
#include <string>
#include <vector>

constexpr size_t SAVEGAME_SUMMARY_MANAGER_BYTES = 30;
constexpr size_t SAVEGAME_SUMMARY_CLUB_BYTES = 22;
constexpr size_t SAVEGAME_SUMMARY_DIVISION_BYTES = 21;

struct SAVEGAMESUMMARY {
    uint8_t byGameType = 0;
    std::string manager;
    std::string club;
    std::string division;
    uint8_t byLeaguePosition = 0;
    uint8_t byPlayed = 0;
    uint8_t byPoints = 0;
    // Day, month and year.
    int anGameDate[3] = {};
    int anSavedDate[3] = {};
    uint32_t dwCountry = 0;
    uint32_t dwNationality = 0;
    int32_t nBankBalance = 0;
};

// The summaries of the humans file at path, one per human manager. False
// (and none) when the file does not open, names no manager or more than the
// game holds, is cut short, or a summary lacks its marks.
bool ReadSaveGameSummaries(const std::string& path, std::vector<SAVEGAMESUMMARY>& summaries);
