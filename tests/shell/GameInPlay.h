#pragma once
// A game in play for the shell's tests: a private working folder whose Data
// links to the generated tree, private user folders (XDG) for options and
// saves, and the starting world with one human manager at club 1, a few days
// into the game.
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "platform/Random.h"
#include "season/CSaveGame.h"
#include "shell/COptions.h"
#include "platform/OptionStore.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include <stdlib.h>
#include <unistd.h>

namespace shell_test {

namespace fs = std::filesystem;

// The help that opens by itself on each first visit to a screen stays shut
// in the options of the user folders set, unless a test turns it on.
inline void WithoutAutomaticHelp() { GetRegistryKey(COptions::kOptionsKey)->setString("AutoHelp", "0"); }

class GameFolder {
public:
    GameFolder() : m_previous(fs::current_path())
    {
        char szTemplate[] = "/tmp/brellox_shell_XXXXXX";
        m_path = mkdtemp(szTemplate);
        // Everything of the runtime tree but the working files and the saves.
        const fs::path game = BRELLOX_GAME_DIR;
        fs::create_directories(m_path / "play" / "Data");
        auto linkable = [](const fs::path& entry) {
            const std::string name = entry.filename().string();
            return name.rfind("Temp", 0) != 0 && name.rfind("temp", 0) != 0 && name != "Saves";
        };
        for (const auto& entry : fs::directory_iterator(game))
            if (entry.path().filename() != "Data" && linkable(entry.path()))
                fs::create_symlink(entry.path(), m_path / "play" / entry.path().filename());
        for (const auto& entry : fs::directory_iterator(game / "Data"))
            if (linkable(entry.path()))
                fs::create_symlink(entry.path(), m_path / "play" / "Data" / entry.path().filename());
        setenv("XDG_DATA_HOME", (m_path / "data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (m_path / "config").c_str(), 1);
        WithoutAutomaticHelp();
        fs::current_path(m_path / "play");
    }
    ~GameFolder()
    {
        fs::current_path(m_previous);
        std::error_code ec;
        fs::permissions(Saves(), fs::perms::owner_all, ec);
        if (!std::getenv("BRELLOX_KEEP_TEST_FOLDER"))
            fs::remove_all(m_path, ec);
    }
    const fs::path& Path() const { return m_path; }
    fs::path Saves() const { return m_path / "data" / "brellox" / "saves"; }

private:
    fs::path m_previous;
    fs::path m_path;
};

inline std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Every file of a folder (no sub-folders) by name, with its bytes.
inline std::map<std::string, std::string> FolderFiles(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file())
            files[entry.path().filename().string()] = ReadBytes(entry.path());
    return files;
}

// A folder the game may not write into. Root writes anywhere, so under root
// the test gives the tree to an unprivileged user and acts as that user.
class ReadOnlyFolder {
public:
    ReadOnlyFolder(const fs::path& tree, const fs::path& folder) : m_folder(folder)
    {
        if (geteuid() == 0) {
            for (const auto& entry : fs::recursive_directory_iterator(tree))
                if (!entry.is_symlink()) {
                    EXPECT_EQ(chown(entry.path().c_str(), kNobody, kNobody), 0);
                }
            EXPECT_EQ(chown(tree.c_str(), kNobody, kNobody), 0);
            EXPECT_EQ(seteuid(kNobody), 0);
        }
        fs::permissions(m_folder, fs::perms::owner_read | fs::perms::owner_exec);
    }
    ~ReadOnlyFolder()
    {
        fs::permissions(m_folder, fs::perms::owner_all);
        if (getuid() == 0) {
            EXPECT_EQ(seteuid(0), 0);
        }
    }

private:
    static constexpr uid_t kNobody = 65534;
    fs::path m_folder;
};

inline std::unique_ptr<CDatabaseHandler> StartGameInPlay(int nDays)
{
    auto handler = std::make_unique<CDatabaseHandler>();
    if (!handler->AreFixedTablesLoaded())
        return nullptr;
    CDatabaseHandler::BuildAttendanceCurve();
    CPlayerDatabase::InitialisePlayerValueTables();
    if (!handler->LoadFile("Data/Data.bin"))
        return nullptr;
    handler->SetupPointers();
    plat::srand(1999);
    CSaveGame* pHuman = CSaveGame::CreateNewHuman(*handler, 0, "Ada Lovell", 7, 1);
    CClubDatabase* pClub = handler->GetClubFromID(1);
    if (!pHuman || !pClub)
        return nullptr;
    pHuman->TakeOverClub(pClub);
    if (!handler->SetUpNewGameRecords())
        return nullptr;
    for (int i = 0; i < nDays; ++i) {
        handler->ProcessDay();
        handler->DoMatchDay(handler->GetGameDate());
    }
    return handler;
}

}  // namespace shell_test
