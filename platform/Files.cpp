#include "platform/Files.h"

#include "platform/SafeFile.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace plat {
namespace {

bool isDirectory(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isRegularFile(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool exists(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::string join(const std::string& base, const std::string& name)
{
    if (base.empty())
        return name;
    if (base == "/")
        return "/" + name;
    return base + "/" + name;
}

// The entry of folder whose name equals component without regard to case.
bool findWithoutCase(const std::string& folder, const std::string& component, std::string& found)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return false;
    bool ok = false;
    while (dirent* entry = ::readdir(dir)) {
        if (::strcasecmp(entry->d_name, component.c_str()) == 0) {
            found = entry->d_name;
            ok = true;
            break;
        }
    }
    ::closedir(dir);
    return ok;
}

}  // namespace

std::string resolvePath(const std::string& gamePath)
{
    std::string path = gamePath;
    std::replace(path.begin(), path.end(), '\\', '/');

    std::string result = (!path.empty() && path[0] == '/') ? "/" : "";
    bool resolving = true;
    size_t pos = 0;
    while (pos <= path.size()) {
        size_t next = path.find('/', pos);
        if (next == std::string::npos)
            next = path.size();
        std::string component = path.substr(pos, next - pos);
        pos = next + 1;
        if (component.empty() || component == ".")
            continue;
        if (component == "..") {
            result = join(result, component);
            continue;
        }
        std::string spelled = component;
        if (resolving && !exists(join(result, component))) {
            std::string found;
            if (findWithoutCase(result, component, found))
                spelled = found;
            else
                resolving = false;  // nothing below a missing folder can exist
        }
        result = join(result, spelled);
    }
    return result.empty() ? std::string(".") : result;
}

FILE* openFile(const std::string& gamePath, const char* mode)
{
    return std::fopen(resolvePath(gamePath).c_str(), mode);
}

bool fileExists(const std::string& gamePath) { return isRegularFile(resolvePath(gamePath)); }

bool directoryExists(const std::string& gamePath) { return isDirectory(resolvePath(gamePath)); }

int64_t fileSize(const std::string& gamePath)
{
    struct stat st {};
    if (::stat(resolvePath(gamePath).c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return -1;
    return static_cast<int64_t>(st.st_size);
}

bool removeFile(const std::string& gamePath) { return ::unlink(resolvePath(gamePath).c_str()) == 0; }

bool renameFile(const std::string& fromGamePath, const std::string& toGamePath)
{
    return ::rename(resolvePath(fromGamePath).c_str(), resolvePath(toGamePath).c_str()) == 0;
}

bool copyFile(const std::string& fromGamePath, const std::string& toGamePath)
{
    FILE* in = openFile(fromGamePath, "rb");
    if (!in)
        return false;
    const bool ok = writeFileSafely(toGamePath, [in](FILE* out) {
        char buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
            if (std::fwrite(buffer, 1, n, out) != n)
                return false;
        return !std::ferror(in);
    });
    std::fclose(in);
    return ok;
}

bool makeDirectories(const std::string& gamePath)
{
    const std::string path = resolvePath(gamePath);
    std::string partial;
    size_t pos = 0;
    while (pos <= path.size()) {
        size_t next = path.find('/', pos);
        if (next == std::string::npos)
            next = path.size();
        partial = path.substr(0, next);
        pos = next + 1;
        if (partial.empty() || partial == "." || partial == "..")
            continue;
        if (::mkdir(partial.c_str(), 0755) != 0 && errno != EEXIST)
            return false;
    }
    return isDirectory(path);
}

bool wildcardMatch(const std::string& pattern, const std::string& name)
{
    // Iterative matcher with one back-track point for the last '*'.
    size_t p = 0, n = 0, starP = std::string::npos, starN = 0;
    auto lower = [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); };
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

namespace {

// The names in a folder that pass the test, sorted.
template <typename Keep>
std::vector<std::string> listEntries(const std::string& gameFolder, Keep keep)
{
    std::vector<std::string> names;
    const std::string folder = resolvePath(gameFolder);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return names;
    while (dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (keep(folder, name))
            names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

std::vector<std::string> listFiles(const std::string& gameFolder, const std::string& pattern)
{
    return listEntries(gameFolder, [&](const std::string& folder, const std::string& name) {
        return wildcardMatch(pattern, name) && isRegularFile(join(folder, name));
    });
}

std::vector<std::string> listFolders(const std::string& gameFolder)
{
    return listEntries(gameFolder, [](const std::string& folder, const std::string& name) {
        return name != "." && name != ".." && isDirectory(join(folder, name));
    });
}

int removeFiles(const std::string& gameFolder, const std::string& pattern)
{
    const std::string folder = resolvePath(gameFolder);
    int removed = 0;
    for (const std::string& name : listFiles(gameFolder, pattern))
        if (::unlink(join(folder, name).c_str()) == 0)
            ++removed;
    return removed;
}

int64_t freeDiskBytes(const std::string& gamePath)
{
    struct statvfs vfs {};
    if (::statvfs(resolvePath(gamePath).c_str(), &vfs) != 0)
        return -1;
    return static_cast<int64_t>(vfs.f_bavail) * static_cast<int64_t>(vfs.f_frsize);
}

bool readWholeFile(const std::string& gamePath, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    FILE* file = openFile(gamePath, "rb");
    if (!file)
        return false;
    bool ok = true;
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + n);
    if (std::ferror(file))
        ok = false;
    std::fclose(file);
    return ok;
}

}  // namespace plat
