// The game program: the game object on the program's spine, starting at the
// start-up screen. "--script FILE" (or BRELLOX_SCRIPT=FILE) plays a file of input
// commands as a person would (see CScriptDriver.h).
#include "shell/CGame.h"
#include "shell/CScriptDriver.h"
#include "screens/CClientStartup.h"
#include "screens/GameScreens.h"
#include "sound/CGameSoundManagers.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Static objects, as the screens are: they live as long as the program.
CClientStartup s_StartScreen;
CGame s_Game;
CGameSoundManagers s_GameSounds;

}  // namespace

int main(int argc, char** argv)
{
    std::string scriptPath;
    if (const char* pszScript = std::getenv("BRELLOX_SCRIPT"); pszScript && *pszScript)
        scriptPath = pszScript;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--script") == 0 && i + 1 < argc) {
            scriptPath = argv[++i];
        } else {
            std::fprintf(stderr, "Brellox: unknown argument '%s'; usage: Brellox [--script FILE]\n", argv[i]);
            return 2;
        }
    }
    CScriptDriver script;
    if (!scriptPath.empty()) {
        std::string error;
        if (!script.Load(scriptPath, error)) {
            std::fprintf(stderr, "Brellox: script %s\n", error.c_str());
            return 2;
        }
    }
    RegisterGameScreens();
    g_pStartScreen = &s_StartScreen;
    g_pGameSounds = &s_GameSounds;
    return WinMain(&s_Game, scriptPath.empty() ? nullptr : &script);
}
