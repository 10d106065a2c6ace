// The club on file: layout, round trip, refusals, squad counters, the shared
// ground and the manager term.
#include "ClubTestSupport.h"

namespace clubs_test {
namespace {

class ClubRecord : public PeopleWorld {};

TEST_F(ClubRecord, ReadsAndWritesTheSameBytes)
{
    const Bytes image = MakeClubImage();
    auto club = LoadClub(image);
    ASSERT_NE(club, nullptr);
    EXPECT_STREQ(club->GetName(), "Harrowgate Wanderers");
    EXPECT_STREQ(club->GetShortName(), "Harrowgate");
    EXPECT_EQ(club->m_wClubId, kClubId);
    EXPECT_EQ(club->m_byReputation, 64);
    EXPECT_EQ(club->m_bySupportLevel, 58);
    EXPECT_EQ(club->m_byFinancialStability, 55);
    EXPECT_EQ(club->m_byGroundOwnership, CLUB_GROUND_SHARED);
    EXPECT_EQ(club->m_nPlayerCount, 2);
    EXPECT_EQ(club->m_nYouthCount, 1);
    EXPECT_EQ(club->m_lstStaff.GetCount(), 2);
    EXPECT_EQ(club->GetPendingLoanInCount(), 1);
    EXPECT_EQ(club->m_awStaffSlots[2][0], kStaffId);
    EXPECT_EQ(club->m_abyPlayersByGroup[0], 1);
    EXPECT_EQ(club->m_abyPlayersByGroup[3], 1);
    EXPECT_EQ(club->m_abyPlayersByPosition[14], 1);
    EXPECT_EQ(club->m_abyYouthByGroup[2], 1);
    // The squad's value follows the players read.
    EXPECT_EQ(club->m_nSquadValue, 2 * 1250000);
    EXPECT_EQ(club->m_nYouthValue, 41000);

    // Everyone is found by identifier and belongs to the club.
    ASSERT_NE(m_handler->GetPlayerFromID(kPlayerIds[0]), nullptr);
    EXPECT_EQ(m_handler->GetPlayerFromID(kPlayerIds[0])->m_pClub, club.get());
    ASSERT_NE(m_handler->GetYouthFromID(kYouthId), nullptr);
    ASSERT_NE(m_handler->GetStaffFromID(kStaffId), nullptr);
    EXPECT_EQ(m_handler->GetStaffFromID(kStaffId)->m_pClub, club.get());
    ASSERT_EQ(club->GetManager(), m_handler->GetManagerFromID(kManagerId));
    ASSERT_NE(club->GetManager(), nullptr);

    const Bytes saved = SaveToBytes(*club, &CClubDatabase::Save);
    ASSERT_EQ(saved.size(), image.size());
    for (size_t i = 0; i < image.size(); ++i)
        ASSERT_EQ(saved[i], image[i]) << "byte " << i;
}

TEST_F(ClubRecord, BareClubIsTheFixedRecordAlone)
{
    CClubDatabase club;
    club.m_wClubId = 3;
    club.SetName("Oakmere Town");
    const Bytes bytes = SaveToBytes(club, &CClubDatabase::Save);
    ASSERT_EQ(bytes.size(), static_cast<size_t>(CLUB_RECORD_BYTES));
    EXPECT_EQ(bytes[0], 0xFF);  // not in any cup
    EXPECT_EQ(bytes[810], 3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[822])), "Oakmere Town");
    // Bytes behind a name are zeros, so saving twice gives the same file.
    for (size_t i = 822 + 12; i < 853; ++i)
        EXPECT_EQ(bytes[i], 0) << i;
    auto again = LoadClub(bytes);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GetManager(), nullptr);
    EXPECT_EQ(SaveToBytes(*again, &CClubDatabase::Save), bytes);
}

TEST_F(ClubRecord, EveryCutIsRefusedAndLeavesNothingInTheTables)
{
    const Bytes image = MakeClubImage();
    for (size_t cut = 0; cut < image.size(); ++cut) {
        const Bytes part(image.begin(), image.begin() + static_cast<long>(cut));
        EXPECT_EQ(LoadClub(part), nullptr) << "cut at " << cut;
        for (uint32_t id : {kPlayerIds[0], kPlayerIds[1]})
            ASSERT_EQ(m_handler->GetPlayerFromID(id), nullptr) << "cut at " << cut;
        ASSERT_EQ(m_handler->GetYouthFromID(kYouthId), nullptr) << "cut at " << cut;
        ASSERT_EQ(m_handler->GetStaffFromID(kStaffId), nullptr) << "cut at " << cut;
        ASSERT_EQ(m_handler->GetStaffFromID(kStaffId + 1), nullptr) << "cut at " << cut;
        ASSERT_EQ(m_handler->GetManagerFromID(kManagerId), nullptr) << "cut at " << cut;
    }
    // The identifiers are free again: the whole club still loads.
    EXPECT_NE(LoadClub(image), nullptr);
}

TEST_F(ClubRecord, DamagedClubsAreRefused)
{
    struct Case {
        const char* what;
        void (*damage)(Bytes&);
    };
    const Case cases[] = {
        {"no club id", [](Bytes& b) { Put16(b, 810, 0); }},
        {"unknown ownership", [](Bytes& b) { Put8(b, 930, 3); }},
        {"reputation above 100", [](Bytes& b) { Put8(b, 919, 101); }},
        {"support level above 99", [](Bytes& b) { Put8(b, 927, 100); }},
        {"player count beyond the file", [](Bytes& b) { Put32(b, 760, 0x7FFFFFFF); }},
        {"staff count beyond the file", [](Bytes& b) { Put32(b, 756, 1000); }},
        {"receipts beyond the file", [](Bytes& b) { Put32(b, 776, 0xFFFFFFFF); }},
        {"place for staff not employed", [](Bytes& b) { Put32(b, 664, 77); }},
        {"manager id not the record's", [](Bytes& b) { Put16(b, 558, kManagerId + 1); }},
        {"same player twice",
         [](Bytes& b) { Put32(b, CLUB_RECORD_BYTES + 80 + MakePlayerImage(1).size() + 16, kPlayerIds[0]); }},
        {"same staff twice", [](Bytes& b) { Put16(b, CLUB_RECORD_BYTES + 40 + 16, kStaffId); }},
        {"loan-in of id 0", [](Bytes& b) {
             const size_t at = b.size() - 68 - 48 - 2 * 26 - 4;
             Put32(b, at, 0);
         }},
    };
    for (const Case& c : cases) {
        Bytes image = MakeClubImage();
        c.damage(image);
        EXPECT_EQ(LoadClub(image), nullptr) << c.what;
        EXPECT_EQ(m_handler->GetPlayerFromID(kPlayerIds[0]), nullptr) << c.what;
        EXPECT_EQ(m_handler->GetStaffFromID(kStaffId), nullptr) << c.what;
        EXPECT_EQ(m_handler->GetManagerFromID(kManagerId), nullptr) << c.what;
    }
}

TEST_F(ClubRecord, AMemberMayHoldAPlaceOfAnotherKindAndSoSaved)
{
    // The scout put in the first place of kind 0 as well as his own.
    Bytes image = MakeClubImage();
    Put32(image, 664, kStaffId);
    auto club = LoadClub(image);
    ASSERT_NE(club, nullptr);
    EXPECT_EQ(club->m_awStaffSlots[0][0], kStaffId);
    EXPECT_EQ(club->m_awStaffSlots[2][0], kStaffId);
    EXPECT_EQ(SaveToBytes(*club, &CClubDatabase::Save), image);
}

TEST_F(ClubRecord, SecondClubCannotTakeIdentifiersInUse)
{
    auto first = LoadClub(MakeClubImage());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(LoadClub(MakeClubImage()), nullptr);
    // The first club's people are untouched.
    EXPECT_EQ(m_handler->GetStaffFromID(kStaffId)->m_pClub, first.get());
    EXPECT_EQ(m_handler->GetPlayerFromID(kPlayerIds[1])->m_pClub, first.get());
    EXPECT_EQ(first->GetManager(), m_handler->GetManagerFromID(kManagerId));
}

TEST_F(ClubRecord, CupEntriesFollowTheFlagsInOrder)
{
    CClubDatabase club;
    club.m_wCupEntryFlags = 0x0FFF;
    CLUBCUPENTRY entries[CLUB_CUP_ENTRY_KINDS];
    ASSERT_EQ(club.GetCupEntries(entries), CLUB_CUP_ENTRY_KINDS);
    const uint16_t order[] = {0x0800, 0x0400, 0x0001, 0x0002, 0x0004, 0x0008,
                              0x0200, 0x0010, 0x0020, 0x0040, 0x0080};
    for (int i = 0; i < CLUB_CUP_ENTRY_KINDS; ++i)
        EXPECT_EQ(entries[i].wFlag, order[i]) << i;
    EXPECT_FALSE(entries[1].bEuropean);
    EXPECT_EQ(entries[1].byReason, REASON_EUROPEAN_CUP);
    EXPECT_EQ(entries[9].bFurtherCounter, true);
    EXPECT_EQ(entries[6].byCounterRound, 0);

    club.m_wCupEntryFlags = 0x0100 | 0x0001;
    ASSERT_EQ(club.GetCupEntries(entries), 2);
    EXPECT_EQ(entries[1].wFlag, 0x0100);
    EXPECT_EQ(entries[1].byCupKind, 0);
    EXPECT_EQ(entries[1].byRound, 2);
}

TEST_F(ClubRecord, SquadCountersFollowTheLists)
{
    auto club = LoadClub(MakeClubImage());
    ASSERT_NE(club, nullptr);
    CPlayerDatabase* keeper = m_handler->GetPlayerFromID(kPlayerIds[0]);
    ASSERT_TRUE(club->RemovePlayer(keeper, false));
    EXPECT_EQ(club->m_nPlayerCount, 1);
    EXPECT_EQ(club->m_abyPlayersByGroup[0], 0);
    EXPECT_EQ(keeper->m_pClub, nullptr);
    EXPECT_FALSE(club->RemovePlayer(keeper, false));
    EXPECT_TRUE(Logged("[CClubDatabase::RemovePlayer] Unable to Find the Player on Club's Player list"));
    club->AddPlayer(keeper, false);
    EXPECT_EQ(club->m_nPlayerCount, 2);
    EXPECT_EQ(club->m_abyPlayersByGroup[0], 1);
    EXPECT_EQ(keeper->m_pClub, club.get());
    EXPECT_EQ(club->m_lstPlayers.GetCount(), club->m_nPlayerCount);
}

TEST_F(ClubRecord, FiftyFirstPlayerIsLoggedAndStillAdded)
{
    CClubDatabase club;
    club.SetName("Brindle Athletic");
    // The squad list only holds the pointers here; they are taken out again.
    auto source = LoadClub(MakeClubImage());
    ASSERT_NE(source, nullptr);
    CPlayerDatabase* p = m_handler->GetPlayerFromID(kPlayerIds[1]);
    ASSERT_TRUE(source->RemovePlayer(p, false));
    for (int i = 0; i < CLUB_SQUAD_LIMIT; ++i)
        club.m_lstPlayers.AddTail(p);
    club.AddPlayer(p, false);
    EXPECT_TRUE(Logged("[CClubDatabase::AddPlayer] Too many players in club - Brindle Athletic"));
    EXPECT_EQ(club.m_lstPlayers.GetCount(), CLUB_SQUAD_LIMIT + 1);
    club.m_lstPlayers.RemoveAll();
    source->AddPlayer(p, false);
}

TEST_F(ClubRecord, StaffPlacesCloseUpWhenAMemberLeaves)
{
    auto club = LoadClub(MakeClubImage());
    ASSERT_NE(club, nullptr);
    // A second kind-2 member joins the next place; the first leaves and the
    // second moves up.
    auto* extra = new CStaffDatabase;
    extra->m_byKind = 2;
    const ID_STAFF idExtra = extra->GetId();
    club->AddStaff(idExtra);
    EXPECT_EQ(club->m_awStaffSlots[2][0], kStaffId);
    EXPECT_EQ(club->m_awStaffSlots[2][1], idExtra);
    club->RemoveStaff(kStaffId);
    EXPECT_EQ(club->m_awStaffSlots[2][0], idExtra);
    EXPECT_EQ(club->m_awStaffSlots[2][1], 0);
    EXPECT_FALSE(club->HasStaff(kStaffId));
    EXPECT_EQ(m_handler->GetStaffFromID(kStaffId)->m_pClub, nullptr);
    delete m_handler->GetStaffFromID(kStaffId);
    m_handler->GetStaffInformation(kStaffId)->pStaff = nullptr;
}

TEST_F(ClubRecord, ManagerTermIsFiftyWithoutManager)
{
    CClubDatabase club;
    EXPECT_EQ(club.GetManagerTerm(), 50);
    auto managed = LoadClub(MakeClubImage());
    ASSERT_NE(managed, nullptr);
    EXPECT_EQ(managed->GetManagerTerm(), 77);
}

TEST_F(ClubRecord, LoanInsAndReferencesResolveAfterLoading)
{
    auto club = LoadClub(MakeClubImage());
    ASSERT_NE(club, nullptr);
    m_handler->ResetClubTable(kClubId);
    m_handler->SetClubInTable(kClubId, club.get());
    const Bytes before = SaveToBytes(*club, &CClubDatabase::Save);
    club->SetupPointers();
    // The loaned-in player is not in this world: dropped, with a log line.
    EXPECT_EQ(club->m_lstLoanIns.GetCount(), 0);
    EXPECT_EQ(club->m_nLoanInCount, 0);
    EXPECT_TRUE(Logged("loaned-in player 555 not found"));
    const auto* payment = static_cast<CLUBPENDINGPAYMENT*>(club->m_lstPendingPayments.GetHead()->pData);
    EXPECT_EQ(payment->pPlayer, m_handler->GetPlayerFromID(kPlayerIds[1]));
    const auto* query = static_cast<CLUBSCOUTQUERY*>(club->m_lstScoutQueries.GetHead()->pData);
    EXPECT_EQ(query->pStaff, m_handler->GetStaffFromID(kStaffId));
    EXPECT_EQ(before.size(), MakeClubImage().size());
}

TEST_F(ClubRecord, LoanInsRoundTripAsIdentifiersAfterSetup)
{
    // A loaned-in player of this world keeps his identifier on file.
    Bytes image = MakeClubImage();
    const size_t loanAt = image.size() - 68 - 48 - 2 * 26 - 4;
    Put32(image, loanAt, kPlayerIds[0]);
    auto club = LoadClub(image);
    ASSERT_NE(club, nullptr);
    m_handler->ResetClubTable(kClubId);
    m_handler->SetClubInTable(kClubId, club.get());
    club->SetupPointers();
    ASSERT_EQ(club->m_lstLoanIns.GetCount(), 1);
    EXPECT_EQ(SaveToBytes(*club, &CClubDatabase::Save), image);
}

// Three clubs of one country at one ground: the owner shares it with a
// tenant in another division; a third club owns a ground of its own.
class SharedGround : public PeopleWorld {
protected:
    void MakeClubs()
    {
        for (int i = 0; i < 3; ++i) {
            clubs[i] = std::make_unique<CClubDatabase>();
            clubs[i]->m_wClubId = static_cast<ID_CLUB>(i + 1);
            clubs[i]->m_pCountry = reinterpret_cast<CCountryDatabase*>(&countryTag);
        }
        clubs[0]->m_wHomeGroundId = 7;  // the tenant
        clubs[0]->m_byGroundOwnership = CLUB_GROUND_RENTED;
        clubs[1]->m_wHomeGroundId = 8;
        clubs[1]->m_byGroundOwnership = CLUB_GROUND_OWNED;
        clubs[2]->m_wHomeGroundId = 7;  // the owner
        clubs[2]->m_byGroundOwnership = CLUB_GROUND_SHARED;
        m_handler->ResetClubTable(3);
        for (int i = 0; i < 3; ++i)
            m_handler->SetClubInTable(static_cast<ID_CLUB>(i + 1), clubs[i].get());
    }
    int countryTag = 0;
    std::unique_ptr<CClubDatabase> clubs[3];
};

TEST_F(SharedGround, TenantLinkHoldsWhicheverClubIsSetUpFirst)
{
    const int orders[2][3] = {{0, 1, 2}, {2, 1, 0}};
    for (const auto& order : orders) {
        MakeClubs();
        clubs[2]->m_pTenant = clubs[1].get();  // a stale link is replaced
        for (int i : order)
            clubs[i]->SetupPointers();
        EXPECT_EQ(clubs[2]->m_pTenant, clubs[0].get());
        EXPECT_EQ(clubs[0]->m_pTenant, nullptr);
        EXPECT_EQ(clubs[1]->m_pTenant, nullptr);
        // Running the pass again keeps the link.
        for (int i : order)
            clubs[i]->SetupPointers();
        EXPECT_EQ(clubs[2]->m_pTenant, clubs[0].get());
    }
}

TEST_F(SharedGround, ClubsOfAnotherCountryOrWithoutSharingOwnerGetNoLink)
{
    MakeClubs();
    int otherCountry = 0;
    clubs[0]->m_pCountry = reinterpret_cast<CCountryDatabase*>(&otherCountry);
    for (auto& club : clubs)
        club->SetupPointers();
    EXPECT_EQ(clubs[2]->m_pTenant, nullptr);

    MakeClubs();
    clubs[2]->m_byGroundOwnership = CLUB_GROUND_OWNED;
    for (auto& club : clubs)
        club->SetupPointers();
    EXPECT_EQ(clubs[2]->m_pTenant, nullptr);
}

}  // namespace
}  // namespace clubs_test
