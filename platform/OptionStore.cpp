#include "platform/OptionStore.h"

#include "platform/Files.h"
#include "platform/SafeFile.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace plat {

std::string OptionStore::configFolder()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == '/')
        return std::string(config) + "/brellox";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.config/brellox";
}

OptionStore::OptionStore(const std::string& key)
{
    std::string relative;
    for (char c : key)
        relative += (c == '\\') ? '/' : c;
    m_path = configFolder() + "/" + relative + ".cfg";
    load();
}

void OptionStore::load()
{
    std::ifstream in(m_path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t eq = line.find('=');
        if (eq == std::string::npos || eq == 0)
            continue;
        m_values.emplace(line.substr(0, eq), line.substr(eq + 1));
    }
}

bool OptionStore::save() const
{
    const size_t slash = m_path.rfind('/');
    if (!makeDirectories(m_path.substr(0, slash)))
        return false;
    // Replaced whole, so that a failed write never loses the old options.
    return writeFileSafely(m_path, [this](FILE* pFile) {
        for (const auto& [name, value] : m_values)
            if (std::fprintf(pFile, "%s=%s\n", name.c_str(), value.c_str()) < 0)
                return false;
        return true;
    });
}

bool OptionStore::getString(const std::string& name, std::string& value) const
{
    const auto it = m_values.find(name);
    if (it == m_values.end())
        return false;
    value = it->second;
    return true;
}

bool OptionStore::setString(const std::string& name, const std::string& value)
{
    // Names and values are single lines; a line break would split the entry.
    if (name.empty() || name.find_first_of("=\r\n") != std::string::npos ||
        value.find_first_of("\r\n") != std::string::npos)
        return false;
    m_values[name] = value;
    return save();
}

}  // namespace plat
