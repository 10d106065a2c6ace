#include "tools/meshkit/KitSource.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tools {

std::string KitLine::Where(const std::string& what) const
{
    return file + ":" + std::to_string(number) + ": " + what;
}

float parseKitNumber(const KitLine& line, const std::string& text)
{
    char* pEnd = nullptr;
    const float value = std::strtof(text.c_str(), &pEnd);
    if (text.empty() || *pEnd != '\0')
        throw KitError{line.Where("\"" + text + "\" is not a number")};
    return value;
}

float KitLine::Number(const std::string& name, float fallback) const
{
    const auto it = named.find(name);
    return it == named.end() ? fallback : parseKitNumber(*this, it->second);
}

std::string KitLine::Text(const std::string& name, const std::string& fallback) const
{
    const auto it = named.find(name);
    return it == named.end() ? fallback : it->second;
}

std::vector<float> KitLine::Numbers(const std::string& name) const
{
    std::vector<float> values;
    const auto it = named.find(name);
    if (it == named.end())
        return values;
    std::stringstream parts(it->second);
    std::string part;
    while (std::getline(parts, part, ','))
        values.push_back(parseKitNumber(*this, part));
    return values;
}

float KitLine::Word(size_t n) const
{
    if (n >= words.size())
        throw KitError{Where(command + " needs at least " + std::to_string(n + 1) + " values")};
    return parseKitNumber(*this, words[n]);
}

bool readKitSource(const std::string& path, std::vector<KitLine>& lines, std::string& error)
{
    std::ifstream in(path);
    if (!in) {
        error = path + ": cannot be read";
        return false;
    }
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        std::istringstream words(text);
        KitLine line;
        line.file = path;
        line.number = number;
        if (!(words >> line.command) || line.command[0] == '#')
            continue;
        std::string word;
        while (words >> word) {
            const size_t equals = word.find('=');
            if (equals == std::string::npos)
                line.words.push_back(word);
            else
                line.named[word.substr(0, equals)] = word.substr(equals + 1);
        }
        lines.push_back(std::move(line));
    }
    return true;
}

}  // namespace tools
