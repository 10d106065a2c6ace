// scriptkit GAME_FOLDER SCRIPT_SOURCES_FOLDER
// Compiles the form script sources of every language folder
// (data/scripts/<language>) into the runtime tree's Scripts/<language>.
#include "tools/scriptkit/ScriptCompiler.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: scriptkit GAME_FOLDER SCRIPT_SOURCES_FOLDER\n");
        return 2;
    }
    std::error_code code;
    int languages = 0;
    for (const auto& entry : std::filesystem::directory_iterator(argv[2], code)) {
        if (!entry.is_directory())
            continue;
        const std::string language = entry.path().filename().string();
        std::string error;
        if (!tools::compileFormScripts(entry.path().string(), argv[1], language, error)) {
            std::fprintf(stderr, "scriptkit: %s\n", error.c_str());
            return 1;
        }
        std::printf("scriptkit: %s form scripts compiled\n", language.c_str());
        ++languages;
    }
    if (code || languages == 0) {
        std::fprintf(stderr, "scriptkit: no language folder in %s\n", argv[2]);
        return 1;
    }
    return 0;
}
