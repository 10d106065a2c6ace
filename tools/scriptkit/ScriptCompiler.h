#pragma once
// The form script compiler of the data kit: turns the readable sources of
// data/scripts/<language>/*.txt into the compiled form scripts
// (Scripts/<language>/<name>.fmc) that the game's CFormScript reads. A
// source, one statement a line, '#' starting a comment line:
//
//   script PendingMailChairman.fmc     the file it compiles to (first line)
//   headlines                          the variants carry headlines
//   pictures                           the entries carry picture numbers
//   entry 160 [token ...]              a new entry and its condition tokens
//   pictures 1 0 0 0 0 0               the entry's six picture numbers
//   target 16                          what a letter of the entry leads to
//   text WORDS                         a new variant with its body
//   headline WORDS                     the headline of the last variant
//
// Words insert values by name in braces, such as {club} or {player} (the
// names are listed in ScriptCompiler.cpp); an unknown name, a bare at sign,
// a brace left open or a statement out of place is refused with
// "file:line: reason". Sources are UTF-8, written in the game's single-byte
// character set.
#include <cstdint>
#include <string>
#include <vector>

namespace tools {

// The bytes of one compiled script; false with "file:line: reason".
bool compileFormScript(const std::string& sourcePath, std::string& outputName, std::vector<uint8_t>& bytes,
                       std::string& error);

// Compiles every source of one language folder into GAME/Scripts/<language>/.
bool compileFormScripts(const std::string& sourceFolder, const std::string& gameFolder, const std::string& language,
                        std::string& error);

}  // namespace tools
