#pragma once
// Writes the subset of the text .x format that CXFileReader reads, so that
// files made by the tools read back to the same data.
#include "render3d/XFileData.h"

#include <string>

class CXFileWriter {
public:
    static std::string ToText(const XFileData& data);
    // Written whole through a safe file write; false when it cannot be written.
    static bool WriteFile(const std::string& gamePath, const XFileData& data);
};
