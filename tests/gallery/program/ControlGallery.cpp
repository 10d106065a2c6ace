// The control gallery program: the game object started at the gallery screen
// instead of the start screen; "--script FILE" plays input as Brellox does.
#include "CControlGallery.h"

#include "shell/CGame.h"
#include "shell/CScriptDriver.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {
CControlGallery s_Gallery;
CGame s_Game;
}  // namespace

int main(int argc, char** argv)
{
    std::string scriptPath;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--script") == 0 && i + 1 < argc) {
            scriptPath = argv[++i];
        } else {
            std::fprintf(stderr, "ControlGallery: unknown argument '%s'; usage: ControlGallery [--script FILE]\n",
                         argv[i]);
            return 2;
        }
    }
    CScriptDriver script;
    if (!scriptPath.empty()) {
        std::string error;
        if (!script.Load(scriptPath, error)) {
            std::fprintf(stderr, "ControlGallery: script %s\n", error.c_str());
            return 2;
        }
    }
    g_pStartScreen = &s_Gallery;
    return WinMain(&s_Game, scriptPath.empty() ? nullptr : &script);
}
