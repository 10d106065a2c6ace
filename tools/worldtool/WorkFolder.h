#pragma once
// A fresh temporary working folder whose Data is a runtime tree's, entered
// as the current folder: the game's working files land in it and go with it,
// so that no command sees another's files.
#include <filesystem>

namespace tools {

class WorkFolder {
public:
    WorkFolder() = default;
    // Leaves the folder and removes it with everything in it.
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    // Makes the folder, links its Data to dataDir's and enters it.
    bool enter(const std::filesystem::path& dataDir);

private:
    std::filesystem::path m_path;
    std::filesystem::path m_previous;
};

}  // namespace tools
