#include "PeopleTestSupport.h"

namespace people_test {
namespace {

class PlayerRecordTest : public PeopleWorld {};

TEST_F(PlayerRecordTest, FullRecordReadsEveryFieldAndWritesTheSameBytes)
{
    const Bytes image = MakePlayerImage(42);
    ByteStream stream(image);
    CPlayerDatabase player(stream.reader(), nullptr, nullptr, nullptr, false);
    ASSERT_TRUE(player.IsLoaded());
    EXPECT_EQ(stream.reader().Remaining(), 0);

    EXPECT_EQ(player.m_idPerson, 42u);
    EXPECT_STREQ(player.GetFirstName(), "Bodil");
    EXPECT_STREQ(player.GetLastName(), "Colwen");
    EXPECT_EQ(player.m_nHistorySlot, 7);
    EXPECT_EQ(player.m_DateOfBirth.wYear, 1978);
    EXPECT_EQ(player.m_dwReserved, 0xA1B2C3D4u);
    EXPECT_EQ(player.m_awAttributes[PLAYER_ATTRIBUTE_REPUTATION], 4000 + 2100);
    EXPECT_EQ(player.m_wClubId, 12);
    EXPECT_EQ(player.m_byRole, 14);
    EXPECT_EQ(player.m_wRoleMask, 0x3000);
    EXPECT_EQ(player.m_InjuryHistory.GetCount(), 1);
    EXPECT_EQ(player.m_DisciplinaryHistory.GetCount(), 1);
    EXPECT_EQ(player.m_adwTransferBlock[10], 0x0B0B0B0Bu);
    EXPECT_EQ(player.m_Contract.dwYearlyWage, 180000u);
    EXPECT_EQ(player.m_Contract.wClauses, 0x0C5);
    EXPECT_EQ(player.m_Contract.byAppearancesTarget, 25);
    EXPECT_EQ(player.m_dwValue, 1250000u);
    EXPECT_EQ(player.m_wSeasonCleanSheets, 0xBEEF);
    EXPECT_EQ(player.m_bySuspensionFlags, 0x24);
    EXPECT_EQ(player.m_byRating, 71);
    EXPECT_EQ(player.m_bySquadNumber, 10);
    EXPECT_EQ(player.m_byCareerCount, 2);
    EXPECT_EQ(player.GetCurrentCareerEntry()->wClubId, 11);
    EXPECT_EQ(player.m_MatchInformation.GetCount(), 2);
    EXPECT_EQ(m_handler->GetHistorySlotCount(), 7);

    EXPECT_EQ(SaveToBytes(player, &CPlayerDatabase::Save), image);
    // Saving twice gives the same bytes.
    EXPECT_EQ(SaveToBytes(player, &CPlayerDatabase::Save), image);
}

TEST_F(PlayerRecordTest, LoadedPlayerIsCountedAndRegisteredUntilDestroyed)
{
    const int countBefore = m_handler->GetPlayerCount();
    {
        ByteStream stream(MakePlayerImage(5));
        CPlayerDatabase player(stream.reader(), nullptr, nullptr, nullptr, false);
        EXPECT_EQ(m_handler->GetPlayerFromID(5), &player);
        EXPECT_EQ(m_handler->GetPlayersInTable(), 1);
        EXPECT_EQ(m_handler->GetPlayerCount(), countBefore + 1);
    }
    EXPECT_EQ(m_handler->GetPlayerFromID(5), nullptr);
    EXPECT_EQ(m_handler->GetPlayersInTable(), 0);
}

// Every cut of the record is refused, and nothing of it reaches the tables.
TEST_F(PlayerRecordTest, EveryShortStreamIsRefusedAndNothingIsRegistered)
{
    const Bytes image = MakePlayerImage(9);
    for (size_t cut = 0; cut < image.size(); ++cut) {
        ByteStream stream(Bytes(image.begin(), image.begin() + static_cast<long>(cut)));
        CPlayerDatabase player(stream.reader(), nullptr, nullptr, nullptr, false);
        EXPECT_FALSE(player.IsLoaded()) << "cut at " << cut;
        EXPECT_TRUE(stream.reader().Failed()) << "cut at " << cut;
        EXPECT_EQ(m_handler->GetPlayerInformation(9), nullptr) << "cut at " << cut;
        EXPECT_EQ(m_handler->GetPlayersInTable(), 0);
    }
    EXPECT_EQ(m_handler->GetPlayerCount(), 0);
}

TEST_F(PlayerRecordTest, DamagedValuesAreRefused)
{
    struct Case {
        const char* what;
        size_t offset;
        int width;
        uint32_t value;
    };
    const size_t p = 92 + 24;  // the player block
    const Case cases[] = {
        {"person id 0", 16, 4, 0},
        {"huge person id", 16, 4, 0x7FFFFFF0},
        {"position 4", 83, 1, 4},
        {"role 16", 84, 1, 16},
        {"attribute above 100.00", 36 + 2 * 5, 2, 10001},
        {"injury type 26", 85, 1, 26},
        {"appearance type 2", 87, 1, 2},
        {"birth month 13", 14, 1, 13},
        {"injury count beyond the file", 28, 2, 60000},
        {"rating 101", p + 134, 1, 101},
        {"career count beyond the file", p + 138, 1, 200},
    };
    for (const Case& c : cases) {
        Bytes image = MakePlayerImage(3);
        if (c.width == 1)
            Put8(image, c.offset, c.value);
        else if (c.width == 2)
            Put16(image, c.offset, c.value);
        else
            Put32(image, c.offset, c.value);
        ByteStream stream(image);
        CPlayerDatabase player(stream.reader(), nullptr, nullptr, nullptr, false);
        EXPECT_FALSE(player.IsLoaded()) << c.what;
        EXPECT_EQ(m_handler->GetPlayersInTable(), 0) << c.what;
    }
    // The match-information count is the last byte before its blocks.
    Bytes image = MakePlayerImage(3);
    image[image.size() - 2 * 14 - 1] = 3;
    ByteStream stream(image);
    CPlayerDatabase player(stream.reader(), nullptr, nullptr, nullptr, false);
    EXPECT_FALSE(player.IsLoaded());
}

TEST_F(PlayerRecordTest, UnsetAndOutOfRangeBytesAreRepairedOnLoad)
{
    const size_t p = 92 + 24;
    Bytes image = MakePlayerImage(4);
    Put8(image, 82, 150);     // nationality beyond the table
    Put8(image, p + 136, 50); // squad number 50
    Put8(image, p + 127, 3);  // a role copy that differs from the role
    Put8(image, 83, 0xFF);    // position not set
    Put8(image, 84, 0xFF);    // role not set
    Put8(image, p + 127, 9);
    ByteStream stream(image);
    CPlayerDatabase player(stream.reader(), nullptr, nullptr, nullptr, false);
    ASSERT_TRUE(player.IsLoaded());
    EXPECT_EQ(player.m_byNationality, 0);
    EXPECT_EQ(player.m_bySquadNumber, 0);
    EXPECT_EQ(player.m_byPosition, 0);
    EXPECT_EQ(player.m_byRole, 0);
    EXPECT_EQ(player.m_byRoleCopy, 0);
}

TEST_F(PlayerRecordTest, UnsetRoleMaskIsGeneratedWithoutForcingThePrimaryRole)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        plat::srand(seed);
        Bytes image = MakePlayerImage(8, 1, 4);
        Put16(image, 32, 0xFFFF);
        Put16(image, 36 + 2 * PLAYER_ATTRIBUTE_REPUTATION, 9000);
        Put16(image, 36 + 2 * PLAYER_ATTRIBUTE_POTENTIAL, 5000);
        ByteStream stream(image);
        CPlayerDatabase player(stream.reader(), nullptr, nullptr, nullptr, false);
        ASSERT_TRUE(player.IsLoaded());
        EXPECT_EQ(player.m_byRole, 4);
        int defence = 0, midfield = 0, other = 0;
        for (int r = 0; r < PLAYER_ROLE_COUNT; ++r) {
            if (!(player.m_wRoleMask & (1u << r)))
                continue;
            if (r >= 1 && r <= 6)
                ++defence;
            else if (r >= 7 && r <= 11)
                ++midfield;
            else
                ++other;
        }
        EXPECT_EQ(defence, 2);
        EXPECT_EQ(midfield, 2);
        EXPECT_EQ(other, 0);
    }
}

TEST_F(PlayerRecordTest, ForcedPrimaryRoleLeavesOnlySecondaryRolesInTheMask)
{
    struct Case {
        int position;
        int ability;
        int firstRole, lastRole;
        int maskCount;
        bool extraFromOwnGroup;  // a later pick may set the primary bit again
    };
    // Main picks 1 below 61, else 2; extra picks 0, 1 (61-80), 2 (81+).
    const Case cases[] = {
        {1, 50, 1, 6, 0, false}, {1, 70, 1, 6, 2, false}, {3, 90, 12, 15, 3, false}, {2, 85, 7, 11, 3, true}};
    for (const Case& c : cases) {
        for (unsigned seed = 1; seed <= 10; ++seed) {
            plat::srand(seed);
            CPlayerDatabase* player = nullptr;
            Bytes image = MakePlayerImage(11, c.position, c.firstRole);
            Put16(image, 36 + 2 * PLAYER_ATTRIBUTE_REPUTATION, c.ability * 100);
            Put16(image, 36 + 2 * PLAYER_ATTRIBUTE_POTENTIAL, 0);
            ByteStream stream(image);
            player = new CPlayerDatabase(stream.reader(), nullptr, nullptr, nullptr, false);
            ASSERT_TRUE(player->IsLoaded());
            player->GenerateRoles(true);
            EXPECT_GE(player->m_byRole, c.firstRole);
            EXPECT_LE(player->m_byRole, c.lastRole);
            if (!c.extraFromOwnGroup) {
                EXPECT_FALSE(player->m_wRoleMask & (1u << player->m_byRole));
            }
            EXPECT_EQ(__builtin_popcount(player->m_wRoleMask), c.maskCount) << c.position << "/" << c.ability;
            delete player;
        }
    }
    // A goalkeeper has role 0 and no other.
    ByteStream stream(MakePlayerImage(12, 0, 0));
    CPlayerDatabase keeper(stream.reader(), nullptr, nullptr, nullptr, false);
    keeper.GenerateRoles(true);
    EXPECT_EQ(keeper.m_byRole, 0);
    EXPECT_EQ(keeper.m_wRoleMask, 0);
}

TEST_F(PlayerRecordTest, ShortFormKeepsTheIdentityAndNothingElse)
{
    ByteStream full(MakePlayerImage(21));
    CPlayerDatabase player(full.reader(), nullptr, nullptr, nullptr, false);
    ASSERT_TRUE(player.IsLoaded());
    const Bytes shortForm = SaveToBytes(player, &CPlayerDatabase::SaveShort);
    ASSERT_EQ(shortForm.size(), 24u);

    ByteStream stream(shortForm);
    CPlayerDatabase retired(stream.reader(), nullptr, nullptr, nullptr, true);
    ASSERT_TRUE(retired.IsLoaded());
    EXPECT_EQ(retired.m_byRegistered, 0);
    EXPECT_EQ(retired.m_idPerson, 21u);
    EXPECT_EQ(retired.m_dwFlags, player.m_dwFlags);
    EXPECT_EQ(retired.m_byRole, 14);
    EXPECT_STREQ(retired.GetShortName(), "B. Colwen");
    EXPECT_EQ(retired.m_awAttributes[PLAYER_ATTRIBUTE_PACE], 0);
    EXPECT_EQ(SaveToBytes(retired, &CPlayerDatabase::SaveShort), shortForm);
    // No career entry: the season totals are 0, not a read of a missing entry.
    EXPECT_EQ(retired.GetCurrentCareerEntry(), nullptr);
    EXPECT_EQ(retired.GetSeasonStarts(), 0);
    EXPECT_EQ(retired.GetSeasonBookings(), 0);
    EXPECT_EQ(retired.GetMatchesAvailable(), 0);
    EXPECT_EQ(retired.GetMatchInformationField(2, 0), 0);
    retired.RecordAppearance(0, 1, false);  // nowhere to count: ignored
    EXPECT_EQ(retired.GetSeasonStarts(), 0);
    // Still the one in the table.
    EXPECT_EQ(m_handler->GetPlayerFromID(21), &player);

    for (size_t cut = 0; cut < shortForm.size(); ++cut) {
        ByteStream cutStream(Bytes(shortForm.begin(), shortForm.begin() + static_cast<long>(cut)));
        CPlayerDatabase cutPlayer(cutStream.reader(), nullptr, nullptr, nullptr, true);
        EXPECT_FALSE(cutPlayer.IsLoaded());
    }
}

TEST_F(PlayerRecordTest, NameOffsetsAreCheckedAgainstTheDictionaries)
{
    struct Case {
        uint32_t first, last;
        const char* firstName;
        const char* lastName;
    };
    const Case cases[] = {
        {0, 0, "Alvar", "Arnfeld"},
        {1, 0, "", "Arnfeld"},           // inside a name
        {100000, 3, "", ""},              // beyond the block; inside a name
        {0xFFFFFFFF, OffsetOf(LastNames(), 4), "", "Zyxwoldenbrackmannsteinfeldhausenberg"},
    };
    for (const Case& c : cases) {
        Bytes image = MakePlayerImage(30);
        Put32(image, 0, c.first);
        Put32(image, 4, c.last);
        ByteStream stream(image);
        CPlayerDatabase player(stream.reader(), nullptr, nullptr, nullptr, false);
        ASSERT_TRUE(player.IsLoaded());
        EXPECT_STREQ(player.GetFirstName(), c.firstName);
        EXPECT_STREQ(player.GetLastName(), c.lastName);
        // The offsets themselves are written back as read.
        EXPECT_EQ(SaveToBytes(player, &CPlayerDatabase::Save), image);
    }
}

TEST_F(PlayerRecordTest, ShortNamesAreBoundedAndRotateThroughFifteenBuffers)
{
    Bytes image = MakePlayerImage(31);
    Put32(image, 4, OffsetOf(LastNames(), 4));
    ByteStream stream(image);
    CPlayerDatabase player(stream.reader(), nullptr, nullptr, nullptr, false);
    const char* first = player.GetShortName();
    EXPECT_EQ(std::strlen(first), 39u);
    EXPECT_EQ(std::string(first), std::string("B. ") + std::string(LastNames()[4]).substr(0, 36));
    for (int i = 0; i < 14; ++i)
        EXPECT_NE(player.GetShortName(), first);
    EXPECT_EQ(player.GetShortName(), first);  // the sixteenth call

    player.SetNameOffsets(1, OffsetOf(LastNames(), 1));  // a first name that is not one
    EXPECT_STREQ(player.GetShortName(), "Brask");
}

TEST_F(PlayerRecordTest, CareerMatchInformationAndBans)
{
    ByteStream stream(MakePlayerImage(40, 0, 0));
    CPlayerDatabase player(stream.reader(), nullptr, nullptr, nullptr, false);
    ASSERT_TRUE(player.IsLoaded());

    // Competition 7 has a block in the list; competition 12 gets one.
    const int blocksBefore = player.m_MatchInformation.GetCount();
    player.IncrementMatchInformationField(12, 1, 3);
    EXPECT_EQ(player.m_MatchInformation.GetCount(), blocksBefore + 1);
    EXPECT_EQ(player.GetMatchInformationField(12, 1), 3);
    EXPECT_EQ(player.GetMatchInformation(12)->byCompetition, 12);
    player.IncrementMatchInformationField(12, 1, 255);  // a byte: wraps
    EXPECT_EQ(player.GetMatchInformationField(12, 1), 2);
    EXPECT_EQ(player.GetMatchInformationField(12, 12), 0);
    EXPECT_TRUE(Logged("[CPlayerDatabase::GetMatchInformationField] Unknown field to get - 12!"));

    // Season totals add the four blocks of the current entry: (2 * (k+1)) + f.
    EXPECT_EQ(player.GetSeasonStarts(), 2 + 4 + 6 + 8);
    EXPECT_EQ(player.GetSeasonBookings(), 20 + 4 * 11);
    player.RecordAppearance(3, 2, false);
    player.RecordAppearance(14, 2, true);
    player.RecordAppearance(15, 2, false);
    EXPECT_EQ(player.GetSeasonStarts(), 21);
    EXPECT_EQ(player.GetSeasonSubstituteAppearances(), 3 + 5 + 7 + 9 + 1);

    // With no match available the start percentage falls back on the rating.
    player.GetCurrentCareerEntry()->byMatchesAvailable = 0;
    player.m_byRating = 68;
    EXPECT_EQ(player.GetStartPercentage(), 2);
    player.GetCurrentCareerEntry()->byMatchesAvailable = 42;
    EXPECT_EQ(player.GetStartPercentage(), 21 * 100 / 42);

    // Bans: the domestic count runs out, then the European one.
    player.m_bySuspensionFlags = PLAYER_SUSPENDED_DOMESTIC | PLAYER_SUSPENDED_DOMESTIC_MARK | PLAYER_SUSPENDED_EUROPEAN;
    player.m_byDomesticBanMatches = 1;
    player.m_byEuropeanBanMatches = 2;
    EXPECT_TRUE(player.IsSuspended(1));
    EXPECT_FALSE(player.IsSuspended(-1));
    player.ServeSuspension(0);
    EXPECT_FALSE(player.IsSuspended(0));
    EXPECT_TRUE(player.IsSuspended(2));
    player.ServeSuspension(2);
    EXPECT_TRUE(player.IsSuspended(2));
    player.ServeSuspension(2);
    EXPECT_FALSE(player.IsSuspended(2));
    EXPECT_EQ(player.m_bySuspensionFlags, 0);

    // The newest entry of another club than his own (12).
    EXPECT_EQ(player.GetPreviousClubId(), 11);

    // A new career entry for the season of the game date, without club.
    player.AddCareerEntry(nullptr, false);
    EXPECT_EQ(player.m_byCareerCount, 3);
    EXPECT_EQ(player.GetCurrentCareerEntry()->bySeason, 2);  // 2001 - 1999
    EXPECT_EQ(player.GetCurrentCareerEntry()->wClubId, 0);
    EXPECT_EQ(player.GetSeasonStarts(), 0);
}

}  // namespace
}  // namespace people_test
