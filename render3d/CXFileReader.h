#pragma once
// Reads text .x files: the frames, transforms, meshes, normals, texture
// coordinates, material lists, materials and texture names the renderer uses.
// Template declarations and other data objects are passed over. A file that
// is not well formed is refused as a whole with "file:line: what is wrong";
// every count is checked against the data that follows it and every index
// against what it indexes.
#include "render3d/XFileData.h"

#include <cstddef>
#include <string>

class CXFileReader {
public:
    // Loose file by its game path.
    bool ReadFile(const std::string& gamePath, XFileData& out);
    // The file's bytes; sourceName only names it in messages.
    bool ReadText(const char* pText, size_t nLength, const std::string& sourceName, XFileData& out);
    // Why the last read failed.
    const std::string& GetError() const { return m_error; }

private:
    std::string m_error;
};
