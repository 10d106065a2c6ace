#include "tools/worldtool/WorldFile.h"

#include "database/CDatabaseHandler.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace tools {

std::unique_ptr<CDatabaseHandler> loadWorld(const std::string& dataDir, const std::string& worldFile)
{
    std::error_code error;
    const fs::path world = fs::absolute(worldFile, error);
    const fs::path previous = fs::current_path(error);
    // The handler reads its fixed files from the current folder.
    fs::current_path(dataDir, error);
    if (error) {
        std::fprintf(stderr, "worldtool: cannot enter the data folder %s\n", dataDir.c_str());
        return nullptr;
    }
    auto handler = std::make_unique<CDatabaseHandler>();
    fs::current_path(previous, error);
    if (!handler->AreFixedTablesLoaded()) {
        std::fprintf(stderr, "worldtool: %s lacks Data/Names or Data/Tables (--data names the folder that holds them)\n",
                     dataDir.c_str());
        return nullptr;
    }
    FILE* pIn = std::fopen(world.c_str(), "rb");
    if (!pIn) {
        std::fprintf(stderr, "worldtool: cannot open %s\n", worldFile.c_str());
        return nullptr;
    }
    const bool bLoaded = handler->Load(pIn);
    std::fclose(pIn);
    if (!bLoaded) {
        std::fprintf(stderr, "worldtool: %s is refused (BRELLOX_LOG=1 shows why)\n", worldFile.c_str());
        return nullptr;
    }
    handler->SetupPointers();
    return handler;
}

bool saveWorld(CDatabaseHandler& handler, const std::string& worldFile)
{
    const std::string partial = worldFile + ".partial";
    FILE* pFile = std::fopen(partial.c_str(), "wb");
    bool bSaved = pFile && handler.Save(pFile);
    if (pFile && std::fclose(pFile) != 0)
        bSaved = false;
    std::error_code error;
    if (bSaved)
        fs::rename(partial, worldFile, error);
    if (!bSaved || error) {
        fs::remove(partial, error);
        std::fprintf(stderr, "worldtool: cannot write %s\n", worldFile.c_str());
        return false;
    }
    return true;
}

}  // namespace tools
