// The generated starting database: it loads, every identifier in it
// resolves, and it saves back to the same bytes.
#include "WorldFileSupport.h"

#include "common/ShellServices.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CStaffDatabase.h"
#include "database/CYouthDatabase.h"
#include "season/CGroundDatabase.h"

#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <utility>
#include <vector>

using namespace worldfile_test;

namespace {

class StartingDatabaseTest : public WorldFileTest {};

TEST_F(StartingDatabaseTest, LoadsWithEveryIdentifierResolved)
{
    const Bytes bytes = StartingDatabase();
    ASSERT_FALSE(bytes.empty()) << "Data/Data.bin was not generated";
    ASSERT_TRUE(LoadBytes(*m_handler, bytes));
    m_handler->SetupPointers();
    CDatabaseHandler& h = *m_handler;

    EXPECT_TRUE(h.IsDatabaseLoaded());
    EXPECT_EQ(h.GetCountryCount(), 9);
    ASSERT_NE(h.GetCountryFromID(1), nullptr);
    EXPECT_STREQ(h.GetCountryFromID(1)->GetName(), "England");

    std::set<ID_CLUB> clubIds;
    std::set<uint8_t> divisionIds;
    int nPlayers = 0;
    for (CCountryDatabase* pCountry : h.GetCountries().Items<CCountryDatabase>()) {
        EXPECT_GE(pCountry->GetLevel(), 45) << pCountry->GetName();
        EXPECT_NE(pCountry->GetNationalGround(), nullptr) << pCountry->GetName();
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>()) {
            EXPECT_TRUE(divisionIds.insert(pDivision->m_byDivisionId).second);
            EXPECT_EQ(pDivision->m_pCountry, pCountry);
            for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
                SCOPED_TRACE(pClub->GetName());
                EXPECT_TRUE(clubIds.insert(pClub->m_wClubId).second);
                EXPECT_EQ(h.GetClubFromID(pClub->m_wClubId), pClub);
                EXPECT_EQ(pClub->m_pDivision, pDivision);
                EXPECT_EQ(pDivision->GetClubFromID(pClub->m_wClubId), pClub);
                EXPECT_LE(std::strlen(pClub->GetName()), 30u);
                EXPECT_LE(std::strlen(pClub->GetShortName()), 21u);

                // Ground.
                ASSERT_NE(pClub->m_pGround, nullptr);
                EXPECT_EQ(pClub->m_pGround, h.GetGroundFromID(pClub->m_wHomeGroundId));
                EXPECT_GE(pClub->m_pGround->GetCapacity(), 50);
                EXPECT_EQ(pClub->m_pGround->GetComponentCount(), 0);

                // Squad: 18-40 with a goalkeeper and three of each outfield group.
                int anGroups[PLAYER_POSITION_COUNT] = {};
                for (CPlayerDatabase* pPlayer : pClub->m_lstPlayers.Items<CPlayerDatabase>()) {
                    EXPECT_EQ(h.GetPlayerFromID(pPlayer->m_idPerson), pPlayer);
                    EXPECT_EQ(pPlayer->m_pClub, pClub);
                    EXPECT_NE(pPlayer->GetCurrentCareerEntry(), nullptr);
                    EXPECT_NE(*pPlayer->GetLastName(), '\0');
                    EXPECT_GE(pPlayer->GetAge(), 17);
                    EXPECT_LE(pPlayer->GetAge(), 40);
                    ++anGroups[pPlayer->m_byPosition];
                    ++nPlayers;
                }
                EXPECT_GE(pClub->m_lstPlayers.GetCount(), 18);
                EXPECT_LE(pClub->m_lstPlayers.GetCount(), 40);
                EXPECT_GE(anGroups[PLAYER_POSITION_GOALKEEPER], 1);
                for (int nGroup = PLAYER_POSITION_DEFENDER; nGroup < PLAYER_POSITION_COUNT; ++nGroup)
                    EXPECT_GE(anGroups[nGroup], 3);
                for (CYouthDatabase* pYouth : pClub->m_lstYouths.Items<CYouthDatabase>())
                    EXPECT_EQ(h.GetYouthFromID(pYouth->m_idPerson), pYouth);

                // Manager and staff.
                CManagerDatabase* pManager = pClub->GetManager();
                ASSERT_NE(pManager, nullptr);
                EXPECT_EQ(pManager->m_pClub, pClub);
                EXPECT_EQ(h.GetManagerState(pManager->GetId()), MANAGERSTATE_EMPLOYED);
                EXPECT_GE(pClub->m_lstStaff.GetCount(), CLUB_STAFF_KINDS);
                for (const void* pValue : pClub->m_lstStaff.Items<void>()) {
                    const auto idStaff = static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(pValue));
                    const CStaffDatabase* pStaff = h.GetStaffFromID(idStaff);
                    ASSERT_NE(pStaff, nullptr);
                    EXPECT_EQ(pStaff->m_pClub, pClub);
                    EXPECT_GE(pStaff->m_byRating, 1);
                }
                for (int nKind = 0; nKind < CLUB_STAFF_KINDS; ++nKind)
                    EXPECT_NE(pClub->m_awStaffSlots[nKind][0], 0) << "staff kind " << nKind;
            }
            for (CDivisionFixturesDatabase* pFixture : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>()) {
                EXPECT_NE(h.GetClubFromID(pFixture->GetHomeClubID()), nullptr);
                EXPECT_NE(h.GetClubFromID(pFixture->GetAwayClubID()), nullptr);
            }
        }
    }
    EXPECT_EQ(static_cast<int>(clubIds.size()), h.GetClubTotal());
    EXPECT_EQ(*clubIds.begin(), 1);
    EXPECT_EQ(*clubIds.rbegin(), h.GetClubTotal());
    EXPECT_EQ(h.GetPlayersInTable(), nPlayers);
    EXPECT_LE(nPlayers, h.GetPlayerCount());
    EXPECT_EQ(h.GetPlayerLimit(), h.GetPlayerCount() * 2);
    EXPECT_FALSE(h.GetYouths().IsEmpty());
    EXPECT_FALSE(h.GetStaffPool().IsEmpty());
    for (const void* pValue : h.GetUnemployedManagers().Items<void>()) {
        const auto idManager = static_cast<ID_MANAGER>(reinterpret_cast<uintptr_t>(pValue));
        EXPECT_NE(h.GetPoolManager(idManager), nullptr);
    }
    EXPECT_EQ(h.GetGameSetting(0), 5);
    EXPECT_EQ(h.GetGameSetting(2), 6);
}

// Division sizes give the domestic cups their first-round clubs.
TEST_F(StartingDatabaseTest, DivisionsAreSizedForTheCups)
{
    ASSERT_TRUE(LoadBytes(*m_handler, StartingDatabase()));
    const std::map<std::string, std::vector<int>> expected = {
        {"England", {24, 24, 24, 24}}, {"Scotland", {10, 10, 10}}, {"France", {20, 20}},
        {"Italy", {18, 20}},           {"Belgium", {18, 18}},
    };
    std::set<std::string> names;
    for (const CCountryDatabase* pCountry : m_handler->GetCountries().Items<CCountryDatabase>()) {
        names.insert(pCountry->GetName());
        std::vector<int> sizes;
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>()) {
            sizes.push_back(pDivision->GetClubCount());
            EXPECT_EQ(pDivision->GetClubCount() % 2, 0);
            EXPECT_GE(pDivision->GetClubCount(), 8);
            EXPECT_LE(pDivision->GetClubCount(), 24);
        }
        if (auto it = expected.find(pCountry->GetName()); it != expected.end()) {
            EXPECT_EQ(sizes, it->second) << pCountry->GetName();
        }
    }
    EXPECT_EQ(names, (std::set<std::string>{"England", "Scotland", "France", "Italy", "Germany", "Spain", "Holland",
                                            "Belgium", "Portugal"}));
}

// A club's squad follows its standing: the better reputation has the better
// players within a top division, and each division down is weaker on average.
TEST_F(StartingDatabaseTest, SquadsFollowReputationAndDivision)
{
    ASSERT_TRUE(LoadBytes(*m_handler, StartingDatabase()));
    auto meanRating = [](const CClubDatabase* pClub) {
        double dSum = 0.0;
        for (const CPlayerDatabase* pPlayer : pClub->m_lstPlayers.Items<CPlayerDatabase>())
            dSum += pPlayer->m_byRating;
        return pClub->m_lstPlayers.GetCount() ? dSum / pClub->m_lstPlayers.GetCount() : 0.0;
    };
    for (const CCountryDatabase* pCountry : m_handler->GetCountries().Items<CCountryDatabase>()) {
        double dAbove = 101.0;
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>()) {
            std::vector<std::pair<double, double>> clubs;  // reputation, mean rating
            for (const CClubDatabase* pClub : pDivision->m_lstClubsByID.Items<CClubDatabase>())
                clubs.emplace_back(pClub->m_byReputation, meanRating(pClub));
            ASSERT_FALSE(clubs.empty());
            double dRep = 0.0, dRating = 0.0;
            for (const auto& [rep, rating] : clubs) {
                dRep += rep;
                dRating += rating;
            }
            dRep /= clubs.size();
            dRating /= clubs.size();
            EXPECT_LT(dRating, dAbove) << pCountry->GetName() << " division " << int(pDivision->m_byDivisionNumber);
            dAbove = dRating;
            if (pDivision->m_byDivisionNumber != 1)
                continue;
            double dCov = 0.0, dVarRep = 0.0, dVarRating = 0.0;
            for (const auto& [rep, rating] : clubs) {
                dCov += (rep - dRep) * (rating - dRating);
                dVarRep += (rep - dRep) * (rep - dRep);
                dVarRating += (rating - dRating) * (rating - dRating);
            }
            EXPECT_GT(dCov / std::sqrt(dVarRep * dVarRating), 0.8) << pCountry->GetName();
        }
    }
}

// Every club has a following of its own: none is empty, the figures differ
// from club to club, and a country's followings thin division by division.
TEST_F(StartingDatabaseTest, EveryClubHasAFollowingByItsStanding)
{
    ASSERT_TRUE(LoadBytes(*m_handler, StartingDatabase()));
    m_handler->SetupPointers();
    std::set<int> figures;
    for (const CCountryDatabase* pCountry : m_handler->GetCountries().Items<CCountryDatabase>()) {
        double dAbove = 101.0;
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>()) {
            double dSum = 0.0;
            for (const CClubDatabase* pClub : pDivision->m_lstClubsByID.Items<CClubDatabase>()) {
                EXPECT_GE(pClub->m_bySupportExtra, 1) << pClub->GetName();
                EXPECT_LE(pClub->m_bySupportExtra, 99) << pClub->GetName();
                figures.insert(pClub->m_bySupportExtra);
                dSum += pClub->m_bySupportExtra;
            }
            ASSERT_GT(pDivision->GetClubCount(), 0);
            const double dMean = dSum / pDivision->GetClubCount();
            EXPECT_LT(dMean, dAbove) << pCountry->GetName() << " division " << int(pDivision->m_byDivisionNumber);
            dAbove = dMean;
        }
    }
    EXPECT_GT(figures.size(), 30u);
}

TEST_F(StartingDatabaseTest, SavesBackToTheSameBytes)
{
    const Bytes bytes = StartingDatabase();
    ASSERT_TRUE(LoadBytes(*m_handler, bytes));
    m_handler->SetupPointers();
    bool bSaved = false;
    const Bytes first = SaveBytes(*m_handler, &bSaved);
    EXPECT_TRUE(bSaved);
    EXPECT_TRUE(first == bytes) << "sizes " << first.size() << " and " << bytes.size();
    EXPECT_TRUE(SaveBytes(*m_handler) == first);
}

// Every counted list reports its progress; only the countries carry the flag.
TEST_F(StartingDatabaseTest, ReportsProgressByStage)
{
    std::map<int, std::set<int>> flagsByStage;
    std::vector<double> countryPercent;
    SetProgressHandler([&](double dPercent, int nStage, int nValue, int nFlag) {
        EXPECT_EQ(nValue, 1);
        flagsByStage[nStage].insert(nFlag);
        if (nStage == 1)
            countryPercent.push_back(dPercent);
    });
    const bool bLoaded = LoadBytes(*m_handler, StartingDatabase());
    SaveBytes(*m_handler);
    SetProgressHandler(nullptr);
    ASSERT_TRUE(bLoaded);

    EXPECT_EQ(flagsByStage[1], std::set<int>{1});
    for (int nStage : {2, 3, 11, 12})
        EXPECT_EQ(flagsByStage[nStage], std::set<int>{0}) << "stage " << nStage;
    EXPECT_EQ(flagsByStage.count(9), 0u);
    // Loading and saving each count up to 100 over the nine countries.
    ASSERT_EQ(countryPercent.size(), 18u);
    EXPECT_NEAR(countryPercent[0], 100.0 / 9, 1e-9);
    EXPECT_DOUBLE_EQ(countryPercent[8], 100.0);
}

}  // namespace
