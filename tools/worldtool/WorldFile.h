#pragma once
// How worldtool's commands read and write a saved world: every command goes
// through these, so that they all treat a world alike. A world in play is a
// set of files named from its world file's stem (`CSavedGameSet`): its
// working files are unpacked into the current folder when it is loaded and
// packed beside the world file when it is saved.
#include "tools/worldtool/WorkFolder.h"

#include <memory>
#include <string>

class CDatabaseHandler;

namespace tools {

// Reads the name and table files from dataDir (which holds Data/Names and
// Data/Tables), then the world file with its set, whose working files land in
// the current folder. Null with a message on standard error naming the file
// that is missing or refused.
std::unique_ptr<CDatabaseHandler> loadWorld(const std::string& dataDir, const std::string& worldFile);

// Saves the world and, for a game in play, its set from the working files of
// the current folder; each file is written under a temporary name and renamed
// into place when all are whole, so that a failed save never leaves half a
// set. False with a message on standard error.
bool saveWorld(CDatabaseHandler& handler, const std::string& worldFile);

// A world loaded for a command in a working folder of its own, which is the
// current folder while the world is open and goes with it.
class OpenWorld {
public:
    // False with a message on standard error; the paths may be relative to
    // the current folder.
    bool load(const std::string& dataDir, const std::string& worldFile);
    CDatabaseHandler& handler() { return *m_pHandler; }

private:
    WorkFolder m_folder;  // outlives the world
    std::unique_ptr<CDatabaseHandler> m_pHandler;
};

}  // namespace tools
