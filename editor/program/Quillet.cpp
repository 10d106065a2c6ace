// Quillet, the editor of the starting database: the game object run at the
// editor's screen. It runs in the game's folder and edits Data\Data.bin
// there; "--script FILE" plays input as the game does.
#include "editor/CEditorDlg.h"

#include "shell/CGame.h"
#include "shell/CScriptDriver.h"
#include "shell/WinMain.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {
CEditorDlg s_EditorDlg("Data\\Data.bin");
CGame s_Game;
}  // namespace

int main(int argc, char** argv)
{
    std::string scriptPath;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--script") == 0 && i + 1 < argc) {
            scriptPath = argv[++i];
        } else {
            std::fprintf(stderr, "Quillet: unknown argument '%s'; usage: Quillet [--script FILE]\n", argv[i]);
            return 2;
        }
    }
    CScriptDriver script;
    if (!scriptPath.empty()) {
        std::string error;
        if (!script.Load(scriptPath, error)) {
            std::fprintf(stderr, "Quillet: script %s\n", error.c_str());
            return 2;
        }
    }
    g_pStartScreen = &s_EditorDlg;
    s_Game.m_bStartScreenReportsDataFailure = true;
    PROGRAMIDENTITY identity;
    identity.pszName = "Quillet";
    identity.pszCaption = "Quillet";
    identity.bOneCopy = false;
    return WinMain(&s_Game, scriptPath.empty() ? nullptr : &script, identity);
}
