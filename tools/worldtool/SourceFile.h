#pragma once
// A readable source of the data kit: lines grouped under [section] headers,
// '#' starting a comment, blank lines ignored.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tools {

class SourceFile {
public:
    // False (with a message on standard error) when the file cannot be read.
    bool load(const std::string& path);

    const std::string& path() const { return path_; }
    // The lines of a section (trimmed), empty when it is absent.
    const std::vector<std::string>& lines(const std::string& section) const;
    // The section's lines as rows of comma-separated integers, each with
    // exactly `columns` values; false with a message otherwise.
    bool integerRows(const std::string& section, size_t columns, std::vector<std::vector<int64_t>>& rows) const;

private:
    std::string path_;
    std::map<std::string, std::vector<std::string>> sections_;
};

}  // namespace tools
