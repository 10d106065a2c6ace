#pragma once
// The readable sources of the mesh kit: lines of words, the first word the
// command, the others positional values or name=value pairs; '#' starts a
// comment line. Values are read with the line's position for messages.
#include <map>
#include <string>
#include <vector>

namespace tools {

struct KitLine {
    std::string file;
    int number = 0;
    std::string command;
    std::vector<std::string> words;  // positional values after the command
    std::map<std::string, std::string> named;

    // "file:line: what" for messages.
    std::string Where(const std::string& what) const;
    bool Has(const std::string& name) const { return named.count(name) != 0; }
    // A named number; the fallback when absent. Throws KitError when it is not a number.
    float Number(const std::string& name, float fallback) const;
    // A named value; the fallback when absent.
    std::string Text(const std::string& name, const std::string& fallback) const;
    // Comma-separated numbers of a named value (empty when absent).
    std::vector<float> Numbers(const std::string& name) const;
    // Positional word n as a number. Throws KitError when missing or not a number.
    float Word(size_t n) const;
};

struct KitError {
    std::string message;
};

// False with "file:line: reason" when the file cannot be read.
bool readKitSource(const std::string& path, std::vector<KitLine>& lines, std::string& error);
float parseKitNumber(const KitLine& line, const std::string& text);

}  // namespace tools
