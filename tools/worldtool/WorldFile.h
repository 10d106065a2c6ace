#pragma once
// How worldtool's commands read and write a saved world: every command goes
// through these two, so that they all treat a world alike.
#include <memory>
#include <string>

class CDatabaseHandler;

namespace tools {

// Reads the name and table files from dataDir (which holds Data/Names and
// Data/Tables), then the world file with its pointer pass. The current
// folder is left as it was. Null with a message on standard error when a
// file is missing or refused.
std::unique_ptr<CDatabaseHandler> loadWorld(const std::string& dataDir, const std::string& worldFile);

// Saves the world under a temporary name beside the file and renames it into
// place, so that a failed save never leaves half a file under the name asked
// for. False with a message on standard error.
bool saveWorld(CDatabaseHandler& handler, const std::string& worldFile);

}  // namespace tools
