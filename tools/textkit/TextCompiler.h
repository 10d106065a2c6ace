#pragma once
// The text compiler of the data kit: turns the readable English (and later
// other) sources of data/text/<language>/ into the three compiled text
// scripts the game loads. Each source holds one entry a line, fields split
// by '|', '#' starts a comment line:
//
//   ControlScript.txt          id | caption | tooltip        (tooltip optional)
//   TableTextScript.txt        set.item | text
//   TextDescriptionScript.txt  id | x | y | text    or    id | left|center|right
//
// In a text, "\t" is a TAB (a caption's line break), "\\" a backslash and
// "\|" a bar. Sources are UTF-8 and are written in the game's single-byte
// character set. A malformed source is refused with "file:line: reason".
#include <string>

namespace tools {

constexpr int kControlTextCount = 1175;
constexpr int kTableTextSetCount = 231;

bool compileControlScript(const std::string& sourcePath, const std::string& outputPath, std::string& error);
bool compileTableTextScript(const std::string& sourcePath, const std::string& outputPath, std::string& error);
bool compileTextDescriptionScript(const std::string& sourcePath, const std::string& outputPath, std::string& error);

// Compiles the three sources of one language folder into the runtime tree:
// ControlsScripts/<language>/ControlScript.csc, TableTextScript/<language>/
// TableTextScript.ttc and TextDescriptionScript/<language>/TextDescriptionScript.tdc.
bool compileLanguage(const std::string& sourceFolder, const std::string& gameFolder, const std::string& language,
                     std::string& error);

}  // namespace tools
