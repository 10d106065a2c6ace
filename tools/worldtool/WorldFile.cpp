#include "tools/worldtool/WorldFile.h"

#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "season/CSavedGameSet.h"

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
        std::fprintf(stderr,
                     "worldtool: the start-up data files under %s are missing or damaged "
                     "(--data names the folder that holds Data/Names and Data/Tables)\n",
                     dataDir.c_str());
        return nullptr;
    }
    CDatabaseHandler::BuildAttendanceCurve();
    CPlayerDatabase::InitialisePlayerValueTables();
    std::string reason;
    if (!CSavedGameSet(world.string()).Load(*handler, reason)) {
        std::fprintf(stderr, "worldtool: %s\n", reason.c_str());
        return nullptr;
    }
    return handler;
}

bool saveWorld(CDatabaseHandler& handler, const std::string& worldFile)
{
    std::string reason;
    if (!CSavedGameSet(worldFile).Save(handler, reason)) {
        std::fprintf(stderr, "worldtool: %s\n", reason.c_str());
        return false;
    }
    return true;
}

bool OpenWorld::load(const std::string& dataDir, const std::string& worldFile)
{
    std::error_code error;
    const fs::path data = fs::absolute(dataDir, error);
    const fs::path world = fs::absolute(worldFile, error);
    if (!m_folder.enter(data)) {
        std::fprintf(stderr, "worldtool: cannot make a working folder\n");
        return false;
    }
    m_pHandler = loadWorld(data.string(), world.string());
    return m_pHandler != nullptr;
}

}  // namespace tools
