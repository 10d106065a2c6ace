#pragma once
// The player's options in place of a registry key: a key=value text file in
// the user's configuration folder ($XDG_CONFIG_HOME/brellox, else
// ~/.config/brellox). Values are strings (the game keeps decimal numbers in
// them). Every failure is silent: a value that cannot be read is missing, a
// value that cannot be written is lost, and the game goes on with defaults.
#include <map>
#include <string>

namespace plat {

class OptionStore {
public:
    // Opens (or starts) the store of one key, e.g. "KAVO\\Options"; the key
    // names the file, "KAVO\\Options" -> "KAVO/Options.cfg".
    explicit OptionStore(const std::string& key);

    bool getString(const std::string& name, std::string& value) const;
    // Writes the whole file again at once; false when it could not be written.
    bool setString(const std::string& name, const std::string& value);

    const std::string& path() const { return m_path; }
    static std::string configFolder();

private:
    void load();
    bool save() const;

    std::string m_path;
    std::map<std::string, std::string> m_values;
};

}  // namespace plat
