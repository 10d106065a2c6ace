// The shell's saved games: a game saved and loaded again is the same game;
// a refused save keeps the earlier set and the continue mark; a refused load
// keeps the running game and its working files.
#include "GameInPlay.h"

#include "database/CDatabaseHandler.h"
#include "shell/CGame.h"
#include "shell/UserFolders.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

using namespace shell_test;

// The working files of the game: everything in the working folder but Data.
std::map<std::string, std::string> WorkingFiles() { return FolderFiles(fs::current_path()); }

class SavedGames : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto handler = StartGameInPlay(9);
        ASSERT_NE(handler, nullptr) << "the generated starting world did not load";
        m_game.SetDatabase(std::move(handler));
    }
    CDatabaseHandler& World() { return *m_game.GetDatabase(); }

    GameFolder m_folder;
    CGame m_game;
};

TEST_F(SavedGames, SavesLiveInTheUsersDataFolder)
{
    EXPECT_EQ(GetSavesFolder(), (m_folder.Path() / "data" / "brellox" / "saves").string());
    ASSERT_TRUE(m_game.SaveGame("Spring")) << m_game.GetFileError();
    EXPECT_TRUE(fs::exists(m_folder.Saves() / "Spring.bin"));
    EXPECT_TRUE(fs::exists(m_folder.Saves() / "Spring.sav"));
    EXPECT_FALSE(fs::exists(fs::current_path() / "Spring.bin"));
}

TEST_F(SavedGames, SaveAndLoadGiveTheSameWorldBytesAndWorkingFiles)
{
    ASSERT_TRUE(m_game.SaveGame("First")) << m_game.GetFileError();
    const auto workingBefore = WorkingFiles();
    ASSERT_FALSE(workingBefore.empty());
    const CDate dateBefore = World().GetGameDate();

    ASSERT_TRUE(m_game.LoadGame("First", false)) << m_game.GetFileError();
    EXPECT_EQ(World().GetGameDate().GetValue(), dateBefore.GetValue());
    EXPECT_EQ(WorkingFiles(), workingBefore);

    ASSERT_TRUE(m_game.SaveGame("Second")) << m_game.GetFileError();
    const auto saves = FolderFiles(m_folder.Saves());
    for (const auto& [name, bytes] : saves) {
        if (name.rfind("First", 0) != 0)
            continue;
        const std::string second = "Second" + name.substr(5);
        ASSERT_TRUE(saves.count(second)) << second;
        EXPECT_TRUE(saves.at(second) == bytes) << name << " and " << second << " differ";
    }
    EXPECT_EQ(CGame::GetUsableLastSaveGame(), "Second");
}

TEST_F(SavedGames, RefusedSaveKeepsTheEarlierSetAndTheContinueMark)
{
    ASSERT_TRUE(m_game.SaveGame("Kept")) << m_game.GetFileError();
    const auto setBefore = FolderFiles(m_folder.Saves());
    for (int i = 0; i < 3; ++i) {
        World().ProcessDay();
        World().DoMatchDay(World().GetGameDate());
    }
    {
        ReadOnlyFolder readOnly(m_folder.Path(), m_folder.Saves());
        EXPECT_FALSE(m_game.SaveGame("Kept"));
        EXPECT_FALSE(m_game.GetFileError().empty());
        EXPECT_FALSE(m_game.SaveGame("Other"));
    }
    EXPECT_EQ(FolderFiles(m_folder.Saves()), setBefore);
    EXPECT_EQ(CGame::GetUsableLastSaveGame(), "Kept");
}

TEST_F(SavedGames, RefusedLoadKeepsTheRunningGameAndItsWorkingFiles)
{
    ASSERT_TRUE(m_game.SaveGame("Good")) << m_game.GetFileError();
    const auto good = FolderFiles(m_folder.Saves());
    // Damaged copies of the good set, one fault each.
    struct Damage {
        const char* pszName;
        const char* pszMember;  // the member changed; null for none
        int nKeepBytes;         // bytes kept of it; -1 removes it
        int nFirstByte;         // the first byte written over, -1 for none
    };
    const Damage damages[] = {
        {"Cut", ".shs", 9, -1},         {"Crowded", ".sav", -1, 5}, {"Lacking", ".eml", -2, -1},
        {"NoWorld", ".bin", -2, -1},    {"Short", ".bin", 64, -1},
    };
    for (const Damage& damage : damages) {
        for (const auto& [name, bytes] : good) {
            const std::string extension = name.substr(name.rfind('.'));
            std::string copy = bytes;
            if (extension == damage.pszMember) {
                if (damage.nKeepBytes == -2)
                    continue;
                if (damage.nKeepBytes >= 0)
                    copy.resize(static_cast<size_t>(damage.nKeepBytes));
                if (damage.nFirstByte >= 0)
                    copy[0] = static_cast<char>(damage.nFirstByte);
            }
            std::ofstream(m_folder.Saves() / (std::string(damage.pszName) + extension), std::ios::binary) << copy;
        }
    }
    // The running game moves on from the saved one.
    for (int i = 0; i < 4; ++i) {
        World().ProcessDay();
        World().DoMatchDay(World().GetGameDate());
    }
    ASSERT_TRUE(m_game.SaveGame("Before")) << m_game.GetFileError();
    const auto workingBefore = WorkingFiles();
    const CDate dateBefore = World().GetGameDate();

    for (const Damage& damage : damages) {
        EXPECT_FALSE(m_game.LoadGame(damage.pszName, false)) << damage.pszName;
        EXPECT_FALSE(m_game.GetFileError().empty()) << damage.pszName;
        EXPECT_EQ(World().GetGameDate().GetValue(), dateBefore.GetValue()) << damage.pszName;
        EXPECT_TRUE(WorkingFiles() == workingBefore) << damage.pszName;
    }
    ASSERT_TRUE(m_game.SaveGame("After")) << m_game.GetFileError();
    const auto saves = FolderFiles(m_folder.Saves());
    for (const char* pszExtension : {".bin", ".sav", ".shs", ".mhs", ".fty"})
        EXPECT_TRUE(saves.at(std::string("Before") + pszExtension) == saves.at(std::string("After") + pszExtension))
            << pszExtension;
}

TEST_F(SavedGames, NamesThatLeaveTheSavesFolderAreRefused)
{
    for (const char* pszName : {"", "../Escape", "a/b", "..", "Name\\Other", "A name far longer than thirty-nine letters"}) {
        EXPECT_FALSE(m_game.SaveGame(pszName)) << pszName;
        EXPECT_FALSE(m_game.LoadGame(pszName, false)) << pszName;
    }
    EXPECT_FALSE(fs::exists(m_folder.Path() / "data" / "brellox" / "Escape.bin"));
}

TEST_F(SavedGames, DeletingASetRemovesEveryMemberAndTheScenarioFile)
{
    ASSERT_TRUE(m_game.SaveGame("Gone")) << m_game.GetFileError();
    std::ofstream(m_folder.Saves() / "Gone.sc") << "scenario";
    ASSERT_TRUE(m_game.SaveGame("Stays")) << m_game.GetFileError();
    m_game.DeleteSaveGame("Gone");
    for (const auto& [name, bytes] : FolderFiles(m_folder.Saves()))
        EXPECT_EQ(name.rfind("Stays", 0), 0u) << name;
    EXPECT_FALSE(m_game.LoadGame("Gone", false));
}

TEST_F(SavedGames, TheContinueMarkNeedsASetWithAHuman)
{
    EXPECT_EQ(CGame::GetUsableLastSaveGame(), "");
    ASSERT_TRUE(m_game.SaveGame("Marked")) << m_game.GetFileError();
    EXPECT_EQ(CGame::GetUsableLastSaveGame(), "Marked");
    std::string sav = ReadBytes(m_folder.Saves() / "Marked.sav");
    sav[3] = 0;
    std::ofstream(m_folder.Saves() / "Marked.sav", std::ios::binary) << sav;
    EXPECT_EQ(CGame::GetUsableLastSaveGame(), "");
}

}  // namespace

namespace {

TEST(NewGame, StartsWithoutTheWorkingFilesOfAnEarlierGame)
{
    shell_test::GameFolder folder;
    // An earlier game's histories lie in the working folder.
    const std::string stale = "left over from an earlier game";
    for (const char* pszName : {"TempDivision1.chs", "temp.phs", "TempEuroCup.shs", "Temp7.fty"})
        std::ofstream(shell_test::fs::current_path() / pszName) << stale;
    auto handler = std::make_unique<CDatabaseHandler>();
    ASSERT_TRUE(handler->AreFixedTablesLoaded());
    ASSERT_TRUE(handler->LoadFile("Data/Data.bin"));
    handler->SetupPointers();
    CGame game;
    game.SetDatabase(std::move(handler));
    ASSERT_TRUE(game.SetUpNewGame());
    for (const auto& [name, bytes] : shell_test::FolderFiles(shell_test::fs::current_path()))
        EXPECT_NE(bytes, stale) << name;
}

}  // namespace
