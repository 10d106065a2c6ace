// The run-wide lists of formation and set-piece files.
#include "../database/GameTree.h"
#include "season/CSaveGame.h"
#include "season/CTacticsFileManager.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <stdlib.h>

namespace {

namespace fs = std::filesystem;

// A working folder whose Data\Tactics is the shipped one and whose
// Data\Saves is its own.
class TacticsFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        char szTemplate[] = "/tmp/brellox_tactics_XXXXXX";
        m_path = mkdtemp(szTemplate);
        fs::create_directories(m_path / "Data" / "Saves");
        fs::create_directory_symlink(fs::path(BRELLOX_GAME_DIR) / "Data" / "Tactics", m_path / "Data" / "Tactics");
        m_pCurrent = std::make_unique<CurrentFolder>(m_path);
        CTacticsFileManager::Shutdown();
    }
    void TearDown() override
    {
        CTacticsFileManager::Shutdown();
        m_pCurrent.reset();
        fs::remove_all(m_path);
    }
    // A club formation file whose places have the given roles.
    static void WriteFormation(const std::string& name, uint16_t wMagic, uint16_t wVersion, uint8_t byRoleBase)
    {
        std::ofstream out("Data/Saves/" + name, std::ios::binary);
        auto u16 = [&](uint16_t w) { out.put(static_cast<char>(w & 0xFF)).put(static_cast<char>(w >> 8)); };
        u16(wMagic);
        u16(wVersion);
        for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
            u16(static_cast<uint16_t>(100 + i));
            u16(static_cast<uint16_t>(200 + i));
            out.put(static_cast<char>(byRoleBase + i)).put(0);
        }
    }
    static int Count(const CXList* pList) { return pList ? pList->GetCount() : -1; }

    fs::path m_path;
    std::unique_ptr<CurrentFolder> m_pCurrent;
};

TEST_F(TacticsFolder, ListsShippedAndClubFormationsWithTheirRoles)
{
    WriteFormation("my.tactic.ct", FORMATION_FILE_MAGIC, FORMATION_FILE_VERSION, 20);
    WriteFormation("oddmagic.ct", 1234, FORMATION_FILE_VERSION, 40);
    WriteFormation("newer.ct", FORMATION_FILE_MAGIC, 262, 60);
    LogCapture log;
    CTacticsFileManager manager;
    ASSERT_TRUE(CTacticsFileManager::AreListsBuilt());
    const CXList* pList = CTacticsFileManager::GetFormations();
    ASSERT_EQ(Count(pList), 6 + 3);
    EXPECT_EQ(CTacticsFileManager::GetBuiltInFormationCount(), 6);
    const char* const apszOrder[] = {"4-4-2", "4-2-4", "5-3-2", "4-3-3", "3-5-2", "3-4-3"};
    for (int i = 0; i < 6; ++i) {
        const auto* p = static_cast<const FORMATIONRECORD*>(pList->GetAt(i)->pData);
        EXPECT_STREQ(p->szName, apszOrder[i]);
        EXPECT_EQ(p->byShipped, 1);
    }

    // A shipped formation's roles are those of its file.
    FORMATIONDATA shipped;
    ASSERT_TRUE(CSaveGame::ReadFormationFile("Data\\Tactics\\4-4-2.pdt", shipped));
    const FORMATIONRECORD* p442 = CTacticsFileManager::FindFormation("4-4-2");
    ASSERT_NE(p442, nullptr);
    for (int i = 0; i < SAVEGAME_LINEUP; ++i)
        EXPECT_EQ(p442->aEntries[i].byOrder, shipped.aEntries[i].byOrder) << "place " << i;
    EXPECT_EQ(CTacticsFileManager::FindFormationByRoles(shipped.aEntries), p442);

    // Named up to the first dot; a wrong magic still reads, a wrong version does not.
    const FORMATIONRECORD* pMy = CTacticsFileManager::FindFormation("MY");
    ASSERT_NE(pMy, nullptr);
    EXPECT_STREQ(pMy->szName, "my");
    EXPECT_EQ(pMy->byShipped, 0);
    EXPECT_EQ(pMy->aEntries[3].byOrder, 23);
    EXPECT_EQ(pMy->aEntries[3].wX, 103);
    const FORMATIONRECORD* pOdd = CTacticsFileManager::FindFormation("oddmagic");
    ASSERT_NE(pOdd, nullptr);
    EXPECT_EQ(pOdd->aEntries[0].byOrder, 40);
    const FORMATIONRECORD* pNewer = CTacticsFileManager::FindFormation("newer");
    ASSERT_NE(pNewer, nullptr);
    EXPECT_EQ(pNewer->aEntries[0].byOrder, 0);
    EXPECT_TRUE(log.Contains("[CSaveGame::GetPresetRoles] This is not a valid Formation Data file!"));
    EXPECT_TRUE(log.Contains("[CSaveGame::GetPresetRoles] Unsupported File Format!"));

    char szPath[80];
    CTacticsFileManager::GetFormationPath(pMy, szPath, sizeof szPath);
    EXPECT_STREQ(szPath, "Data\\Saves\\my.ct");
    CTacticsFileManager::GetFormationPath(p442, szPath, sizeof szPath);
    EXPECT_STREQ(szPath, "Data\\Tactics\\4-4-2.pdt");
    // my.tactic.ct is not my.ct; a shipped record always counts as present.
    EXPECT_FALSE(CTacticsFileManager::FormationFileExists(pMy));
    EXPECT_TRUE(CTacticsFileManager::FormationFileExists(CTacticsFileManager::FindFormation("3-4-3")));
    EXPECT_TRUE(CTacticsFileManager::FormationFileExists(pOdd));
}

TEST_F(TacticsFolder, SetListsStartWithNoneAndFindAddRemoveByName)
{
    std::ofstream("Data/Saves/Attack.frk") << "x";
    std::ofstream("Data/Saves/near.post.Crn") << "x";
    std::ofstream("Data/Saves/ignored.txt") << "x";
    CTacticsFileManager manager;
    ASSERT_EQ(Count(CTacticsFileManager::GetFreeKickSets()), 2);
    ASSERT_EQ(Count(CTacticsFileManager::GetCornerSets()), 2);
    const auto* pNone = static_cast<const SETPIECERECORD*>(CTacticsFileManager::GetFreeKickSets()->GetHead()->pData);
    EXPECT_STREQ(pNone->szName, "None");
    EXPECT_EQ(pNone->byBuiltIn, 1);
    ASSERT_NE(CTacticsFileManager::FindFreeKickSet("attack"), nullptr);
    ASSERT_NE(CTacticsFileManager::FindCornerSet("NEAR"), nullptr);
    EXPECT_EQ(CTacticsFileManager::FindCornerSet("near.post"), nullptr);

    // Get-or-add finds before it adds; remove takes the first match only.
    SETPIECERECORD* pAttack = CTacticsFileManager::FindFreeKickSet("Attack");
    EXPECT_EQ(CTacticsFileManager::GetOrAddFreeKickSet("ATTACK"), pAttack);
    SETPIECERECORD* pNew = CTacticsFileManager::GetOrAddCornerSet("Short");
    ASSERT_NE(pNew, nullptr);
    EXPECT_EQ(pNew->byBuiltIn, 0);
    EXPECT_EQ(Count(CTacticsFileManager::GetCornerSets()), 3);
    CTacticsFileManager::RemoveCornerSet("short");
    CTacticsFileManager::RemoveCornerSet("nothing");
    EXPECT_EQ(Count(CTacticsFileManager::GetCornerSets()), 2);
    CTacticsFileManager::RemoveFreeKickSet("attack");
    EXPECT_EQ(CTacticsFileManager::FindFreeKickSet("Attack"), nullptr);

    // A removed shipped formation stays gone for the run, even for a second manager.
    CTacticsFileManager::RemoveFormation("4-2-4");
    CTacticsFileManager second;
    EXPECT_EQ(CTacticsFileManager::FindFormation("4-2-4"), nullptr);
    EXPECT_EQ(Count(CTacticsFileManager::GetFormations()), 5);
    FORMATIONRECORD* pAdded = CTacticsFileManager::GetOrAddFormation("Diamond");
    ASSERT_NE(pAdded, nullptr);
    EXPECT_EQ(pAdded->byShipped, 0);
    EXPECT_EQ(CTacticsFileManager::GetOrAddFormation("diamond"), pAdded);
    // A fresh run reads the folders again.
    CTacticsFileManager::Shutdown();
    EXPECT_FALSE(CTacticsFileManager::AreListsBuilt());
    EXPECT_EQ(CTacticsFileManager::GetFormations(), nullptr);
    CTacticsFileManager third;
    EXPECT_NE(CTacticsFileManager::FindFormation("4-2-4"), nullptr);
    EXPECT_EQ(CTacticsFileManager::FindFormation("Diamond"), nullptr);
}

}  // namespace
