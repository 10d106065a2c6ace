#pragma once
// The start-up screen (screen id 1), the program's first: the title picture
// beside the navigation bar's start menu. When the select player popup
// closes with OK over it, the game begins: a quick start runs the world to
// the start date and goes to the home screen with the managers out of work
// in the country of the language; a new game goes to the new-game screen,
// where each manager chooses his club; a scenario chosen in the scenario
// popup gives its one manager the scenario's club and goal and goes to the
// home screen.
#include "shell/CGameClient.h"

class CDatabaseHandler;

class CClientStartup : public CGameClient {
public:
    CClientStartup();
    bool OnInitDialog() override;
    void OnEndPopup(CXPopup* pPopup) override;

    // The index in the world's country list of a language's country: the
    // name in capitals searched for "ENGLISH" (0), "FRENCH" (3), "GERMAN"
    // (4), "ITALIAN" (2) and "SPANISH" (5) in that order, else 0.
    static int LanguageCountryIndex(const char* pszLanguage);
    // The scenario chosen for the first human manager set up in the world:
    // its club (as the country picks it) taken over, the board's confidence,
    // the club's money, the goal and the seasons it allows, a veteran squad
    // where the scenario asks for one. False when the country has no such
    // club.
    static bool SetUpScenario(CDatabaseHandler& database);

private:
    // After the scenario popup's OK: the scenario set up and the new game
    // run to its start date; a refusal stays here and says why.
    void BeginScenario();
};
