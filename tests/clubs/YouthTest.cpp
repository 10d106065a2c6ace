// Youth records on file and youth generation.
#include "ClubTestSupport.h"

#include <map>

namespace clubs_test {
namespace {

class Youth : public PeopleWorld {
protected:
    Bytes Generate(unsigned seed, CClubDatabase* club, int position, ID_PLAYER* id = nullptr)
    {
        plat::srand(seed);
        CYouthDatabase youth(club, position);
        if (id)
            *id = youth.m_idPerson;
        return SaveToBytes(youth, &CYouthDatabase::Save);
    }
};

TEST_F(Youth, RecordReadsAndWritesTheSameBytes)
{
    const Bytes image = MakeYouthImage(kYouthId);
    ByteStream stream(image);
    {
        CYouthDatabase youth(stream.reader(), nullptr, nullptr, nullptr);
        ASSERT_TRUE(youth.IsLoaded());
        EXPECT_EQ(youth.m_dwValue, 41000u);
        EXPECT_EQ(youth.m_byRating, 33);
        EXPECT_EQ(youth.m_byCareerCount, 1);
        EXPECT_EQ(m_handler->GetYouthFromID(kYouthId), &youth);
        EXPECT_EQ(m_handler->GetPlayerFromID(kYouthId), nullptr);
        EXPECT_EQ(m_handler->GetYouthsInTable(), 1);
        EXPECT_EQ(SaveToBytes(youth, &CYouthDatabase::Save), image);
    }
    EXPECT_EQ(m_handler->GetYouthFromID(kYouthId), nullptr);
    EXPECT_EQ(m_handler->GetYouthsInTable(), 0);
}

TEST_F(Youth, CutOrDamagedRecordsAreRefused)
{
    const Bytes image = MakeYouthImage(kYouthId);
    for (size_t cut = 0; cut < image.size(); ++cut) {
        ByteStream stream(Bytes(image.begin(), image.begin() + static_cast<long>(cut)));
        CYouthDatabase youth(stream.reader(), nullptr, nullptr, nullptr);
        EXPECT_FALSE(youth.IsLoaded()) << "cut at " << cut;
        ASSERT_EQ(m_handler->GetYouthFromID(kYouthId), nullptr) << "cut at " << cut;
    }
    Bytes damaged = image;
    Put8(damaged, 116 + 8, 101);  // rating
    ByteStream stream(damaged);
    CYouthDatabase youth(stream.reader(), nullptr, nullptr, nullptr);
    EXPECT_FALSE(youth.IsLoaded());
    EXPECT_EQ(m_handler->GetYouthFromID(kYouthId), nullptr);
}

TEST_F(Youth, GenerationIsReproducibleFromTheSeed)
{
    // Each run in a fresh root, so that identifiers and statistics start alike.
    ID_PLAYER firstId = 0, secondId = 0;
    const Bytes first = Generate(77, nullptr, PLAYER_POSITION_MIDFIELDER, &firstId);
    m_handler.reset();
    m_handler = std::make_unique<CDatabaseHandler>();
    m_handler->SetGameDate(CDate(2001, 8, 1));
    const Bytes second = Generate(77, nullptr, PLAYER_POSITION_MIDFIELDER, &secondId);
    EXPECT_EQ(firstId, 1u);
    EXPECT_EQ(secondId, 1u);
    EXPECT_EQ(first, second);
    EXPECT_NE(Generate(78, nullptr, PLAYER_POSITION_MIDFIELDER), first);
}

TEST_F(Youth, GeneratedYouthIsRegisteredAndPlausible)
{
    CClubDatabase club;
    club.m_wClubId = 5;
    club.m_byReputation = 70;
    club.m_bySupportLevel = 60;
    plat::srand(5);
    for (int position = 0; position < PLAYER_POSITION_COUNT; ++position) {
        auto* youth = new CYouthDatabase(&club, position);
        EXPECT_EQ(m_handler->GetYouthFromID(youth->m_idPerson), youth);
        EXPECT_EQ(youth->m_wClubId, 5);
        EXPECT_EQ(youth->m_byPosition, position);
        EXPECT_EQ(CPersonDatabase::GetPositionFromRole(youth->m_byRole), position);
        EXPECT_EQ(youth->m_dwFlags, YOUTH_FLAGS_NEW);
        EXPECT_GE(youth->GetAge(), 14);
        EXPECT_LE(youth->GetAge(), 18);
        EXPECT_GE(youth->m_awAttributes[PLAYER_ATTRIBUTE_POTENTIAL], 2000);
        EXPECT_LE(youth->m_awAttributes[PLAYER_ATTRIBUTE_POTENTIAL], 10000);
        EXPECT_GT(youth->m_dwValue, 0u);
        EXPECT_EQ(youth->m_dwYearlyWage % 52, 0u);
        for (uint16_t value : youth->m_awAttributes)
            EXPECT_LE(value, PLAYER_ATTRIBUTE_MAX);
        if (position != PLAYER_POSITION_GOALKEEPER) {
            // Handling is his weakest playing skill.
            int weakest = 0;
            for (int i = 1; i < PLAYER_SKILL_COUNT; ++i)
                if (youth->m_awAttributes[i] != 0 && (weakest == 0 || youth->m_awAttributes[i] < weakest))
                    weakest = youth->m_awAttributes[i];
            EXPECT_EQ(youth->m_awAttributes[PLAYER_ATTRIBUTE_HANDLING], weakest);
        }
        club.AddYouthPlayer(youth);
    }
    EXPECT_EQ(club.m_nYouthCount, 4);
    EXPECT_EQ(club.m_abyYouthByGroup[0], 1);
    // A round trip of a generated youth keeps every byte.
    const auto* youth = static_cast<CYouthDatabase*>(club.m_lstYouths.GetTail()->pData);
    const Bytes image = SaveToBytes(*youth, &CYouthDatabase::Save);
    const ID_PLAYER id = youth->m_idPerson;
    ASSERT_TRUE(club.RemoveYouth(const_cast<CYouthDatabase*>(youth)));
    delete youth;
    ByteStream stream(image);
    CYouthDatabase again(stream.reader(), nullptr, nullptr, nullptr);
    ASSERT_TRUE(again.IsLoaded());
    EXPECT_EQ(m_handler->GetYouthFromID(id), &again);
    EXPECT_EQ(SaveToBytes(again, &CYouthDatabase::Save), image);
}

TEST_F(Youth, BirthYearsFollowTheirChances)
{
    m_handler->SetGameDate(CDate(2000, 8, 1));
    plat::srand(11);
    std::map<int, int> years;
    const int runs = 1600;
    for (int i = 0; i < runs; ++i) {
        CYouthDatabase youth(nullptr, PLAYER_POSITION_DEFENDER);
        ++years[youth.m_DateOfBirth.wYear];
        if (youth.m_DateOfBirth.wYear == 1986) {
            EXPECT_LE(youth.m_DateOfBirth.byMonth, 6);
        }
        EXPECT_GE(youth.m_DateOfBirth.byDay, 1);
        EXPECT_LE(youth.m_DateOfBirth.byDay, CDate(1999, youth.m_DateOfBirth.byMonth, 1).GetDaysInMonth());
    }
    EXPECT_EQ(years.size(), 4u);
    EXPECT_EQ(years.begin()->first, 1983);
    // 13 in 16 are born in 1984, 1 in 16 in each other year.
    EXPECT_NEAR(years[1984], runs * 13 / 16, runs / 20);
    for (int year : {1983, 1985, 1986})
        EXPECT_NEAR(years[year], runs / 16, runs / 25) << year;
}

TEST_F(Youth, EmptyStatisticsAreSeededOnce)
{
    uint32_t sum = 0, count = 0;
    ASSERT_TRUE(m_handler->GetLeagueStatistic(4, PLAYER_ATTRIBUTE_AGILITY, 2, sum, count));
    EXPECT_EQ(count, 0u);
    plat::srand(3);
    CClubDatabase club;
    club.m_wClubId = 1;
    club.m_byReputation = 50;
    CDivisionDatabase division;
    division.m_byDivisionNumber = 9;  // level 4 and below share the last block
    club.m_pDivision = &division;
    CYouthDatabase youth(&club, PLAYER_POSITION_MIDFIELDER);
    const int group = CYouthDatabase::GetRoleGroup(youth.m_byRole);
    ASSERT_TRUE(m_handler->GetLeagueStatistic(4, PLAYER_ATTRIBUTE_AGILITY, group, sum, count));
    EXPECT_EQ(count, 1u);
    EXPECT_GE(sum, 30u);
    EXPECT_LT(sum, 40u);
    // Drawn within a tenth of the cell's mean.
    const int agility = youth.m_awAttributes[PLAYER_ATTRIBUTE_AGILITY] / 100;
    EXPECT_GE(agility, static_cast<int>(sum) - static_cast<int>(sum) / 10);
    EXPECT_LE(agility, static_cast<int>(sum) + static_cast<int>(sum) / 10);
    EXPECT_FALSE(m_handler->GetLeagueStatistic(5, 0, 0, sum, count));
    EXPECT_FALSE(m_handler->GetLeagueStatistic(0, 0, 8, sum, count));
}

TEST_F(Youth, PotentialTableCoversEveryDraw)
{
    int low = 0, high = 0;
    for (int r = 0; r < 100; ++r)
        EXPECT_TRUE(CYouthDatabase::GetPotentialRange(r, low, high)) << r;
    ASSERT_TRUE(CYouthDatabase::GetPotentialRange(97, low, high));
    EXPECT_EQ(low, 91);
    EXPECT_EQ(high, 94);
    EXPECT_EQ(CYouthDatabase::GetRoleGroup(3), 1);
    EXPECT_EQ(CYouthDatabase::GetRoleGroup(6), 2);
    EXPECT_EQ(CYouthDatabase::GetRoleGroup(13), 6);
    EXPECT_EQ(CYouthDatabase::GetRoleGroup(16), -1);
}

}  // namespace
}  // namespace clubs_test
