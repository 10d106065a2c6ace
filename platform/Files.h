#pragma once
// File access for game code that names its files Windows-style
// ("Data\Tables\Hoard.TXT"): backslashes become slashes and every component of
// an existing path is found without regard to case, as on Windows.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace plat {

// The path on disk for a game path. Each component that exists in some
// spelling is replaced by that spelling; components that do not exist yet keep
// the spelling given, so a new file is created exactly as the game names it.
std::string resolvePath(const std::string& gamePath);

// fopen on a resolved game path; null when it cannot be opened.
FILE* openFile(const std::string& gamePath, const char* mode);

bool fileExists(const std::string& gamePath);
bool directoryExists(const std::string& gamePath);
// Size in bytes, or -1 when the file cannot be examined.
int64_t fileSize(const std::string& gamePath);
bool removeFile(const std::string& gamePath);
bool renameFile(const std::string& fromGamePath, const std::string& toGamePath);
// Copies a file byte for byte through a safe write; false, with the target
// as it was, on failure.
bool copyFile(const std::string& fromGamePath, const std::string& toGamePath);
// Creates the folder and any missing parents.
bool makeDirectories(const std::string& gamePath);

// Names (not paths) of the plain files of a folder that match a wildcard
// pattern with * and ?, compared without regard to case; sorted by name.
std::vector<std::string> listFiles(const std::string& gameFolder, const std::string& pattern);
// Names of the sub-folders of a folder (no "." or ".."), sorted by name.
std::vector<std::string> listFolders(const std::string& gameFolder);
// Removes every plain file of the folder that matches the pattern; the count removed.
int removeFiles(const std::string& gameFolder, const std::string& pattern);

// Wildcard match without regard to case (* any run, ? any one character).
bool wildcardMatch(const std::string& pattern, const std::string& name);

// Bytes free to this user on the file system that holds the path; -1 on failure.
int64_t freeDiskBytes(const std::string& gamePath);

// Whole file into memory; false when it cannot be opened or read completely.
bool readWholeFile(const std::string& gamePath, std::vector<uint8_t>& bytes);

}  // namespace plat
