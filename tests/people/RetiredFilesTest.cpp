#include "PeopleTestSupport.h"

#include <set>

namespace people_test {
namespace {

class RetiredFilesTest : public PeopleWorld {
protected:
    // A registered player; the root's tables find him until he retires.
    CPlayerDatabase* AddPlayer(uint32_t id)
    {
        ByteStream stream(MakePlayerImage(id));
        auto* player = new CPlayerDatabase(stream.reader(), nullptr, nullptr, nullptr, false);
        EXPECT_TRUE(player->IsLoaded());
        m_owned.push_back(player);
        return player;
    }
    void Retire(uint32_t id)
    {
        CPlayerDatabase* player = m_handler->GetPlayerInformation(id)->pPlayer;
        ASSERT_TRUE(m_handler->SavePlayerRetired(m_handler->GetPlayerInformation(id))) << id;
        std::erase(m_owned, player);  // destroyed by retiring
    }
    void TearDown() override
    {
        for (CPlayerDatabase* player : m_owned)
            delete player;
        PeopleWorld::TearDown();
    }
    std::vector<CPlayerDatabase*> m_owned;
};

TEST_F(RetiredFilesTest, RetiredPlayersAreReloadedThroughARingOfTen)
{
    for (uint32_t id = 1; id <= 11; ++id)
        AddPlayer(id);
    const uint32_t flags = m_handler->GetPlayerInformation(3)->dwFlags;
    for (uint32_t id = 1; id <= 11; ++id)
        Retire(id);
    EXPECT_EQ(m_handler->GetPlayersInTable(), 0);
    EXPECT_EQ(m_handler->GetRetiredPlayerCount(), 11);
    EXPECT_EQ(ReadFileBytes("temp.rtp").size(), 11u * 24);
    const LPITEMPLAYERINFORMATION entry = m_handler->GetPlayerInformation(3);
    EXPECT_EQ(entry->dwFlags, flags | PLAYERINFO_RETIRED);
    EXPECT_EQ(entry->pPlayer, nullptr);
    EXPECT_EQ(entry->dwRetiredPosition, 2u * 24);

    std::vector<CPlayerDatabase*> reloaded;
    for (uint32_t id = 1; id <= 11; ++id) {
        CPlayerDatabase* player = m_handler->GetPlayerFromID(id);
        ASSERT_NE(player, nullptr);
        EXPECT_EQ(player->m_idPerson, id);
        EXPECT_STREQ(player->GetShortName(), "B. Colwen");
        EXPECT_EQ(player->GetSeasonStarts(), 0);
        EXPECT_TRUE(player->IsRetired());
        reloaded.push_back(player);
    }
    EXPECT_TRUE(Logged("CDatabaseHandler::GetPlayerFromID - Loading retired player"));
    EXPECT_TRUE(Logged("CPlayerDatabase *CDatabaseHandler::LoadPlayerRetired(LPITEMPLAYERINFORMATION pPlayerInfo)"));
    // The eleventh reload took the slot of the first and destroyed it; the
    // second to the eleventh are the ten the ring holds.
    std::set<uint32_t> held;
    for (int slot = 0; slot < RETIRED_CACHE_SLOTS; ++slot) {
        ASSERT_NE(m_handler->GetRetiredPlayerCacheSlot(slot), nullptr);
        held.insert(m_handler->GetRetiredPlayerCacheSlot(slot)->m_idPerson);
    }
    EXPECT_EQ(held.count(1), 0u);
    EXPECT_EQ(held.size(), 10u);
    EXPECT_EQ(reloaded[9]->m_idPerson, 10u);  // the tenth is still valid
    EXPECT_EQ(m_handler->GetRetiredPlayerCacheSlot(1), reloaded[10]);
}

TEST_F(RetiredFilesTest, YouthEntriesAreNotRetired)
{
    ITEMPLAYERINFORMATION youth;
    youth.dwFlags = PLAYERINFO_YOUTH;
    EXPECT_FALSE(m_handler->SavePlayerRetired(&youth));
    EXPECT_TRUE(Logged("SavePlayerRetired(LPITEMPLAYERINFORMATION pPlayerInfo) - Trying to save a retired youhtplayer"));
    EXPECT_FALSE(std::filesystem::exists("temp.rtp"));
}

TEST_F(RetiredFilesTest, RetiredManagersAndStaffComeBackAsTheyLeft)
{
    const Bytes managerImage = MakeManagerImage(3);
    ByteStream managerStream(managerImage);
    auto* manager = new CManagerDatabase(managerStream.reader(), nullptr, false);
    ASSERT_TRUE(manager->IsLoaded());
    ASSERT_TRUE(m_handler->RetireManager(3));
    EXPECT_EQ(m_handler->GetManagerState(3), MANAGERSTATE_RETIRED);
    EXPECT_EQ(m_handler->GetRetiredManagerCount(), 1);
    EXPECT_FALSE(m_handler->RetireManager(3));  // already on file

    CManagerDatabase* first = m_handler->GetManagerFromID(3);
    CManagerDatabase* second = m_handler->GetManagerFromID(3);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);  // no search of the cache: two slots
    EXPECT_EQ(m_handler->GetRetiredManagerCacheSlot(1), first);
    EXPECT_EQ(m_handler->GetRetiredManagerCacheSlot(2), second);
    Bytes expected = managerImage;
    expected[46] |= MANAGER_FLAG_RETIRED;
    EXPECT_EQ(SaveToBytes(*first, &CManagerDatabase::Save), expected);
    EXPECT_TRUE(first->m_byStateFlags & MANAGER_FLAG_RETIRED);

    const Bytes staffImage = MakeStaffImage(5);
    ByteStream staffStream(staffImage);
    auto* staff = new CStaffDatabase(staffStream.reader(), nullptr, false);
    ASSERT_TRUE(staff->IsLoaded());
    ASSERT_TRUE(m_handler->RetireStaff(5));
    EXPECT_EQ(m_handler->GetStaffInformation(5)->dwFlags, STAFFINFO_RETIRED);
    CStaffDatabase* back = m_handler->GetStaffFromID(5);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(SaveToBytes(*back, &CStaffDatabase::Save), staffImage);

    // The weekly check retires a member older than 65 and keeps a younger one.
    ByteStream oldStream(MakeStaffImage(6));
    auto* old = new CStaffDatabase(oldStream.reader(), nullptr, false);
    old->m_DateOfBirth = {1935, 7, 31};  // 66 on the game date
    EXPECT_TRUE(old->WeeklyAgeCheck());
    EXPECT_EQ(m_handler->GetStaffInformation(6)->dwFlags, STAFFINFO_RETIRED);
    ByteStream youngStream(MakeStaffImage(7));
    auto* young = new CStaffDatabase(youngStream.reader(), nullptr, false);
    young->m_DateOfBirth = {1935, 8, 2};  // 65 on the game date
    EXPECT_FALSE(young->WeeklyAgeCheck());
    EXPECT_EQ(m_handler->GetStaffFromID(7), young);

    // Without the file nothing comes back.
    std::filesystem::remove("temp.rts");
    EXPECT_EQ(m_handler->GetStaffFromID(5), nullptr);
    EXPECT_EQ(m_handler->LoadRetiredManager(77), nullptr);
}

TEST_F(RetiredFilesTest, FilePassesEnterEveryRetiredRecordAfterALoad)
{
    for (uint32_t id = 1; id <= 4; ++id) {
        AddPlayer(id);
        Retire(id);
    }
    for (uint16_t id = 1; id <= 3; ++id) {
        ByteStream stream(MakeManagerImage(id));
        new CManagerDatabase(stream.reader(), nullptr, false);
        ASSERT_TRUE(m_handler->RetireManager(id));
        ByteStream staffStream(MakeStaffImage(id));
        new CStaffDatabase(staffStream.reader(), nullptr, false);
        ASSERT_TRUE(m_handler->RetireStaff(id));
    }

    // A fresh root in the same game folder, as after loading a saved game.
    m_handler->FreeRetiredCaches();
    m_handler.reset();
    m_handler = std::make_unique<CDatabaseHandler>();
    m_handler->SetPlayerCount(500);
    EXPECT_TRUE(m_handler->LoadRetiredPlayers());
    EXPECT_TRUE(m_handler->LoadRetiredManagers());
    EXPECT_TRUE(m_handler->LoadRetiredStaff());
    EXPECT_EQ(m_handler->GetPlayerCount(), 504);
    EXPECT_EQ(m_handler->GetRetiredPlayerCount(), 4);
    EXPECT_EQ(m_handler->GetPlayersInTable(), 0);
    EXPECT_EQ(m_handler->GetNextManagerID(), 4);
    EXPECT_EQ(m_handler->GetRetiredManagerCount(), 3);
    EXPECT_EQ(m_handler->GetNextStaffID(), 4);
    EXPECT_EQ(m_handler->GetRetiredStaffCount(), 3);
    EXPECT_EQ(m_handler->GetPlayerInformation(3)->dwRetiredPosition, 2u * 24);
    EXPECT_EQ(m_handler->GetManagerState(2), MANAGERSTATE_RETIRED);
    CPlayerDatabase* player = m_handler->GetPlayerFromID(3);
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->m_idPerson, 3u);
    CManagerDatabase* manager = m_handler->GetManagerFromID(3);
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(manager->GetId(), 3);
    CStaffDatabase* staff = m_handler->GetStaffFromID(2);
    ASSERT_NE(staff, nullptr);
    EXPECT_EQ(staff->GetId(), 2);
}

TEST_F(RetiredFilesTest, ARetiredRecordWithALivingIdentifierIsRefusedAndTheLivingStay)
{
    // One game retires player 1, manager 2 and staff member 3 ...
    AddPlayer(1);
    Retire(1);
    ByteStream oldManager(MakeManagerImage(2));
    new CManagerDatabase(oldManager.reader(), nullptr, false);
    ASSERT_TRUE(m_handler->RetireManager(2));
    ByteStream oldStaff(MakeStaffImage(3));
    new CStaffDatabase(oldStaff.reader(), nullptr, false);
    ASSERT_TRUE(m_handler->RetireStaff(3));

    // ... and another, whose living people carry the same identifiers, finds its files.
    m_handler->FreeRetiredCaches();
    m_handler.reset();
    m_handler = std::make_unique<CDatabaseHandler>();
    CPlayerDatabase* player = AddPlayer(1);
    ByteStream managerStream(MakeManagerImage(2));
    auto* manager = new CManagerDatabase(managerStream.reader(), nullptr, false);
    ByteStream staffStream(MakeStaffImage(3));
    auto* staff = new CStaffDatabase(staffStream.reader(), nullptr, false);

    EXPECT_FALSE(m_handler->LoadRetiredPlayers());
    EXPECT_FALSE(m_handler->LoadRetiredManagers());
    EXPECT_FALSE(m_handler->LoadRetiredStaff());
    EXPECT_EQ(m_handler->GetPlayerFromID(1), player);
    EXPECT_EQ(m_handler->GetManagerFromID(2), manager);
    EXPECT_EQ(m_handler->GetStaffFromID(3), staff);
    EXPECT_EQ(m_handler->GetRetiredPlayerCount(), 0);
    EXPECT_EQ(m_handler->GetRetiredManagerCount(), 0);
    EXPECT_EQ(m_handler->GetRetiredStaffCount(), 0);
    delete manager;  // a manager outside club and pool is nobody's to free
}

TEST_F(RetiredFilesTest, ADamagedRetiredFileStopsThePassAtTheDamage)
{
    for (uint32_t id = 1; id <= 2; ++id) {
        AddPlayer(id);
        Retire(id);
    }
    struct Case {
        const char* what;
        Bytes tail;
    };
    Bytes badPosition(24, 0);
    Put32(badPosition, 12, 9);  // player 9 ...
    Put8(badPosition, 21, 7);   // ... in position 7
    const Case cases[] = {{"a record cut short", Bytes(10, 0)}, {"a damaged record", badPosition}};
    const Bytes good = ReadFileBytes("temp.rtp");
    for (const Case& c : cases) {
        Bytes file = good;
        file.insert(file.end(), c.tail.begin(), c.tail.end());
        FILE* out = std::fopen("temp.rtp", "wb");
        std::fwrite(file.data(), 1, file.size(), out);
        std::fclose(out);

        m_handler->FreeRetiredCaches();
        m_handler.reset();
        m_handler = std::make_unique<CDatabaseHandler>();
        EXPECT_FALSE(m_handler->LoadRetiredPlayers()) << c.what;
        EXPECT_EQ(m_handler->GetPlayerCount(), 2) << c.what;
        EXPECT_NE(m_handler->GetPlayerInformation(2), nullptr) << c.what;
        EXPECT_EQ(m_handler->GetPlayerInformation(9), nullptr) << c.what;
    }
}

}  // namespace
}  // namespace people_test
