#pragma once
// Whole files written safely: the bytes go to a temporary name in the
// target's folder, and only a file that was written, flushed and closed
// without error is renamed over the target. On any failure the temporary is
// removed and the target keeps what it held before.
#include <cstdio>
#include <functional>
#include <string>

namespace plat {

class SafeFile {
public:
    // Opens the temporary beside the game path's target; file() is null when
    // that cannot be done.
    explicit SafeFile(const std::string& gamePath);
    // A file neither committed nor abandoned is abandoned.
    ~SafeFile();
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    FILE* file() const { return m_pFile; }
    // Flushes and closes the temporary and renames it over the target; false,
    // with the target untouched and the temporary gone, when any step fails
    // or a write to the file failed before.
    bool commit();
    // Closes and removes the temporary; the target is untouched.
    void abandon();

private:
    std::string m_target;
    std::string m_temporary;
    FILE* m_pFile = nullptr;
};

// Writes the whole file through writeContents, which is handed the open
// temporary; true only when writeContents returned true and the file is in
// place whole.
bool writeFileSafely(const std::string& gamePath, const std::function<bool(FILE*)>& writeContents);

// Writes nBytes from pData as the whole file, safely.
bool writeWholeFile(const std::string& gamePath, const void* pData, size_t nBytes);

}  // namespace plat
