#pragma once
// A private runtime folder for the editor: everything links to the generated
// tree except the files the editor writes (Data/Data.bin and the two name
// dictionaries), which are copies the test may change.
#include "../database/GameTree.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace editor_test {

namespace fs = std::filesystem;

inline std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class EditorFolder {
public:
    EditorFolder()
    {
        char szTemplate[] = "/tmp/brellox_editor_XXXXXX";
        m_path = mkdtemp(szTemplate);
        const fs::path game = BRELLOX_GAME_DIR;
        for (const auto& entry : fs::directory_iterator(game))
            if (entry.path().filename() != "Data")
                fs::create_symlink(entry.path(), m_path / entry.path().filename());
        fs::create_directories(m_path / "Data" / "Names");
        for (const auto& entry : fs::directory_iterator(game / "Data"))
            if (entry.path().filename() != "Names" && entry.path().filename() != "Data.bin")
                fs::create_symlink(entry.path(), m_path / "Data" / entry.path().filename());
        for (const auto& entry : fs::directory_iterator(game / "Data" / "Names")) {
            const fs::path target = m_path / "Data" / "Names" / entry.path().filename();
            if (IsEdited(entry.path().filename().string()))
                fs::copy_file(entry.path(), target);
            else
                fs::create_symlink(entry.path(), target);
        }
        fs::copy_file(game / "Data" / "Data.bin", m_path / "Data" / "Data.bin");
    }
    ~EditorFolder() { fs::remove_all(m_path); }
    EditorFolder(const EditorFolder&) = delete;
    EditorFolder& operator=(const EditorFolder&) = delete;

    const fs::path& Path() const { return m_path; }
    fs::path Database() const { return m_path / "Data" / "Data.bin"; }
    fs::path FirstNames() const { return m_path / "Data" / "Names" / "FirstNames.dat"; }
    fs::path LastNames() const { return m_path / "Data" / "Names" / "LastNames.dat"; }
    static fs::path Generated(const char* pszPath) { return fs::path(BRELLOX_GAME_DIR) / pszPath; }

private:
    static bool IsEdited(const std::string& name) { return name == "FirstNames.dat" || name == "LastNames.dat"; }

    fs::path m_path;
};

}  // namespace editor_test
