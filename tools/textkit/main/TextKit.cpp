// textkit GAME_FOLDER TEXT_SOURCES_FOLDER
// Compiles every language folder of the text sources (data/text/<language>)
// into the runtime tree's three text scripts.
#include "tools/textkit/TextCompiler.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: textkit GAME_FOLDER TEXT_SOURCES_FOLDER\n");
        return 2;
    }
    std::error_code code;
    int languages = 0;
    for (const auto& entry : std::filesystem::directory_iterator(argv[2], code)) {
        if (!entry.is_directory())
            continue;
        const std::string language = entry.path().filename().string();
        std::string error;
        if (!tools::compileLanguage(entry.path().string(), argv[1], language, error)) {
            std::fprintf(stderr, "textkit: %s\n", error.c_str());
            return 1;
        }
        std::printf("textkit: %s texts compiled\n", language.c_str());
        ++languages;
    }
    if (code || languages == 0) {
        std::fprintf(stderr, "textkit: no language folder in %s\n", argv[2]);
        return 1;
    }
    return 0;
}
