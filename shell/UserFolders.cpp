#include "shell/UserFolders.h"

#include <cstdlib>
#include <fstream>

namespace {

std::string HomeFolder()
{
    const char* pszHome = std::getenv("HOME");
    return pszHome && *pszHome ? pszHome : "/tmp";
}

std::string EnvironmentFolder(const char* pszName)
{
    // Relative values are invalid under the base-directory rules and ignored.
    const char* pszValue = std::getenv(pszName);
    return pszValue && pszValue[0] == '/' ? pszValue : "";
}

// The DOCUMENTS line of user-dirs.dirs: XDG_DOCUMENTS_DIR="$HOME/Documents".
std::string UserDirsDocuments()
{
    std::string config = EnvironmentFolder("XDG_CONFIG_HOME");
    if (config.empty())
        config = HomeFolder() + "/.config";
    std::ifstream in(config + "/user-dirs.dirs");
    const std::string key = "XDG_DOCUMENTS_DIR=";
    for (std::string line; std::getline(in, line);) {
        if (line.compare(0, key.size(), key) != 0)
            continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.compare(0, 5, "$HOME") == 0)
            value = HomeFolder() + value.substr(5);
        return value.empty() || value[0] != '/' ? "" : value;
    }
    return "";
}

}  // namespace

std::string GetSavesFolder()
{
    std::string data = EnvironmentFolder("XDG_DATA_HOME");
    if (data.empty())
        data = HomeFolder() + "/.local/share";
    return data + "/brellox/saves";
}

std::string GetDocumentsFolder()
{
    std::string documents = EnvironmentFolder("XDG_DOCUMENTS_DIR");
    if (documents.empty())
        documents = UserDirsDocuments();
    return documents.empty() ? HomeFolder() + "/Documents" : documents;
}
