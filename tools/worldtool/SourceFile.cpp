#include "tools/worldtool/SourceFile.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tools {
namespace {

std::string trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return "";
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

bool SourceFile::load(const std::string& path)
{
    path_ = path;
    sections_.clear();
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "worldtool: cannot read %s\n", path.c_str());
        return false;
    }
    std::string section;
    std::string line;
    while (std::getline(in, line)) {
        const size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        line = trim(line);
        if (line.empty())
            continue;
        if (line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            sections_[section];
            continue;
        }
        sections_[section].push_back(line);
    }
    return true;
}

const std::vector<std::string>& SourceFile::lines(const std::string& section) const
{
    static const std::vector<std::string> empty;
    const auto it = sections_.find(section);
    return it == sections_.end() ? empty : it->second;
}

bool SourceFile::integerRows(const std::string& section, size_t columns,
                             std::vector<std::vector<int64_t>>& rows) const
{
    rows.clear();
    for (const std::string& line : lines(section)) {
        std::vector<int64_t> row;
        std::stringstream stream(line);
        std::string cell;
        while (std::getline(stream, cell, ',')) {
            cell = trim(cell);
            char* end = nullptr;
            const long long value = std::strtoll(cell.c_str(), &end, 10);
            if (cell.empty() || *end != '\0') {
                std::fprintf(stderr, "worldtool: %s [%s]: \"%s\" is not a number\n", path_.c_str(), section.c_str(),
                             cell.c_str());
                return false;
            }
            row.push_back(value);
        }
        if (row.size() != columns) {
            std::fprintf(stderr, "worldtool: %s [%s]: \"%s\" has %zu values, %zu expected\n", path_.c_str(),
                         section.c_str(), line.c_str(), row.size(), columns);
            return false;
        }
        rows.push_back(std::move(row));
    }
    return true;
}

}  // namespace tools
