// The root built from the generated data tree: fixed tables, identifiers,
// names and teardown.
#include "GameTree.h"

#include "database/CDatabaseHandler.h"
#include "platform/Random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

namespace {

class DatabaseRootTest : public testing::Test {
protected:
    DatabaseRootTest() : m_folder(BRELLOX_GAME_DIR), m_pRoot(std::make_unique<CDatabaseHandler>()) {}
    CurrentFolder m_folder;
    std::unique_ptr<CDatabaseHandler> m_pRoot;

    // Records are never touched by the identifier tables, so any distinct
    // addresses serve as stand-ins.
    template <typename T>
    T* Fake(int n)
    {
        return reinterpret_cast<T*>(&m_fakes[n]);
    }
    int m_fakes[16] = {};
};

TEST_F(DatabaseRootTest, LoadsEveryFixedTableFromTheGeneratedTree)
{
    ASSERT_TRUE(m_pRoot->AreFixedTablesLoaded());
    EXPECT_GT(m_pRoot->GetNameDictionary(NAMEDICTIONARY_FIRST).GetCount(), 100);
    EXPECT_GT(m_pRoot->GetNameDictionary(NAMEDICTIONARY_LAST).GetCount(), 100);
    for (int n = 1; n <= NATIONALITY_COUNT; ++n) {
        const NATIONALITYROW* pRow = m_pRoot->GetNationalityRow(n);
        ASSERT_NE(pRow, nullptr);
        EXPECT_EQ(pRow->byNationality, n);
        ASSERT_GT(pRow->FirstNames.GetCount(), 0);
        ASSERT_GT(pRow->LastNames.GetCount(), 0);
        // Generation looks every drawn name up in its dictionary.
        uint32_t dwOffset = 0;
        for (int i = 0; i < pRow->FirstNames.GetCount(); ++i)
            EXPECT_TRUE(m_pRoot->FindName(NAMEDICTIONARY_FIRST, pRow->FirstNames.GetName(i), dwOffset));
        for (int i = 0; i < pRow->LastNames.GetCount(); ++i)
            EXPECT_TRUE(m_pRoot->FindName(NAMEDICTIONARY_LAST, pRow->LastNames.GetName(i), dwOffset));
    }
    // Stadium generation asks for quality 0-2 of key 1 with rising bounds, and
    // for the stand, roof and part rows of whatever kind and size it gets.
    for (int q = 0; q < 3; ++q) {
        uint32_t dwPrevious = 0;
        for (uint32_t dwCapacity : {1000u, 9000u, 17800u, 30000u, 60000u, 90000u}) {
            const STADIUMSIZETABLERECORD* pSize = m_pRoot->GetStadiumSizeTableRecord(1, q, dwCapacity);
            ASSERT_NE(pSize, nullptr);
            EXPECT_GE(pSize->dwBound, dwPrevious);
            dwPrevious = pSize->dwBound;
            for (int nPosition = 0; nPosition < 8; ++nPosition) {
                const STANDTABLERECORD* pStand = m_pRoot->GetStandTableRecord(nPosition, pSize->byKind, pSize->bySize, q);
                ASSERT_NE(pStand, nullptr);
                EXPECT_GT(pStand->dwCapacity, 0u);
                EXPECT_GT(pStand->dwCost, 0u);
                EXPECT_NE(m_pRoot->GetStandAdjustmentTableRecord(nPosition, pSize->byKind, pSize->bySize, q), nullptr);
                for (int nPart = 0; nPart < 3; ++nPart) {
                    const STANDPARTTABLERECORD* pPart =
                        m_pRoot->GetStandPartTableRecord(nPosition, pSize->byKind, pSize->bySize, nPart);
                    ASSERT_NE(pPart, nullptr);
                    EXPECT_LE(pPart->byMinimumCount, pPart->byMaximumCount);
                }
            }
        }
    }
    // Every facility the ground plan knows has its row, and so does every feature.
    for (int nType = 4; nType <= 11; ++nType)
        for (int nSize = 0; nSize <= 2; ++nSize)
            if (CDatabaseHandler::GetFacilityComponentTableRecordFromTypeAndSize(nType, nSize)) {
                EXPECT_NE(m_pRoot->GetFacilityTableRecord(nType, nSize), nullptr) << nType << "," << nSize;
            }
    for (auto [nType, nOption] : {std::pair{12, 0}, {13, 0}, {13, 1}, {14, 0}, {14, 1}, {15, 0}, {16, 0}})
        EXPECT_NE(m_pRoot->GetExtraFacilityTableRecord(nType, nOption), nullptr);
    EXPECT_EQ(m_pRoot->GetFacilityTableRecord(4, 2), nullptr);
}

TEST_F(DatabaseRootTest, StandLookupsUseThePositionClass)
{
    const STANDTABLERECORD* pSide = m_pRoot->GetStandTableRecord(0, 1, 2, 1);
    ASSERT_NE(pSide, nullptr);
    EXPECT_EQ(pSide->byPositionKind, 0);
    EXPECT_EQ(m_pRoot->GetStandTableRecord(4, 1, 2, 1), pSide);
    const STANDTABLERECORD* pEnd = m_pRoot->GetStandTableRecord(6, 1, 2, 1);
    const STANDTABLERECORD* pCorner = m_pRoot->GetStandTableRecord(3, 1, 2, 1);
    ASSERT_NE(pEnd, nullptr);
    ASSERT_NE(pCorner, nullptr);
    EXPECT_EQ(pEnd->byPositionKind, 1);
    EXPECT_EQ(pCorner->byPositionKind, 2);
    EXPECT_GT(pSide->dwCapacity, pEnd->dwCapacity);
    EXPECT_GT(pEnd->dwCapacity, pCorner->dwCapacity);
    EXPECT_EQ(m_pRoot->GetStandTableRecord(8, 1, 2, 1), nullptr);
    EXPECT_EQ(m_pRoot->GetStandTableRecord(0, 1, 2, 3), nullptr);
}

TEST_F(DatabaseRootTest, DeleteDatabaseFreesOnceAndKeepsTheFixedTables)
{
    m_pRoot->AddPlayerToIDTable(1, Fake<CPlayerDatabase>(0), false);
    m_pRoot->AddManagerToIDTable(3, Fake<CManagerDatabase>(1), MANAGERSTATE_EMPLOYED);
    m_pRoot->AddStaffToIDTable(2, Fake<CStaffDatabase>(2), STAFFINFO_EMPLOYED);
    m_pRoot->ResetClubTable(2);
    m_pRoot->AddFreeIdentifier(9);

    m_pRoot->DeleteDatabase();  // no world loaded: nothing happens
    EXPECT_NE(m_pRoot->GetPlayerFromID(1), nullptr);

    m_pRoot->SetDatabaseLoaded(true);
    m_pRoot->DeleteDatabase();
    EXPECT_FALSE(m_pRoot->IsDatabaseLoaded());
    EXPECT_EQ(m_pRoot->GetPlayerTableSize(), 0);
    EXPECT_EQ(m_pRoot->GetManagerTableSize(), 0);
    EXPECT_EQ(m_pRoot->GetStaffTableSize(), 0);
    EXPECT_EQ(m_pRoot->GetClubTotal(), 0);
    EXPECT_EQ(m_pRoot->GetFreeIdentifierCount(), 0);
    m_pRoot->DeleteDatabase();

    uint32_t dwOffset = 0;
    EXPECT_TRUE(m_pRoot->FindName(NAMEDICTIONARY_LAST, m_pRoot->GetNameDictionary(NAMEDICTIONARY_LAST).GetName(0),
                                  dwOffset));
    EXPECT_NE(m_pRoot->GetStandTableRecord(0, 0, 0, 0), nullptr);
}

// What the destructor frees can only be seen by the leak sanitizer: without
// it the test says so and is skipped.
TEST_F(DatabaseRootTest, TeardownFreesEntriesOfAWorldNeverMarkedLoaded)
{
#ifndef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "only a build with the leak sanitizer (BRELLOX_SANITIZE=ON) sees entries left behind";
#endif
    m_pRoot->AddPlayerToIDTable(5, Fake<CYouthDatabase>(0));
    m_pRoot->AddPlayerToIDTable(5, Fake<CPlayerDatabase>(1), false);  // replaces the entry
    m_pRoot->AddManagerToIDTable(7, Fake<CManagerDatabase>(2), MANAGERSTATE_EMPLOYED);
    m_pRoot->AddManagerToIDTable(7, Fake<CManagerDatabase>(3), MANAGERSTATE_EMPLOYED);
    m_pRoot->AddFreeIdentifier(4);
    // The entries are there for the teardown to free.
    ASSERT_EQ(m_pRoot->GetPlayerFromID(5), Fake<CPlayerDatabase>(1));
    ASSERT_EQ(m_pRoot->GetManagerFromID(7), Fake<CManagerDatabase>(3));
    ASSERT_EQ(m_pRoot->GetFreeIdentifierCount(), 1);
    m_pRoot.reset();
}

TEST_F(DatabaseRootTest, FreeIdentifiersAreReusedBeforeNewOnes)
{
    EXPECT_EQ(m_pRoot->GetFreeIdentifier(), 1u);
    EXPECT_EQ(m_pRoot->GetFreeIdentifier(), 2u);
    EXPECT_EQ(m_pRoot->GetFreeIdentifier(), 3u);
    m_pRoot->AddFreeIdentifier(7);
    m_pRoot->AddFreeIdentifier(2);
    EXPECT_EQ(m_pRoot->GetFreeIdentifier(), 7u);
    EXPECT_EQ(m_pRoot->GetFreeIdentifier(), 2u);
    EXPECT_EQ(m_pRoot->GetFreeIdentifier(), 4u);
    EXPECT_EQ(m_pRoot->GetFreeIdentifierCount(), 0);
}

TEST_F(DatabaseRootTest, PlayerAndYouthLookups)
{
    m_pRoot->AddPlayerToIDTable(1, Fake<CPlayerDatabase>(0), false);
    m_pRoot->AddPlayerToIDTable(3, Fake<CYouthDatabase>(1));
    EXPECT_EQ(m_pRoot->GetPlayersInTable(), 1);
    EXPECT_EQ(m_pRoot->GetYouthsInTable(), 1);
    EXPECT_EQ(m_pRoot->GetPlayerFromID(1), Fake<CPlayerDatabase>(0));
    EXPECT_EQ(m_pRoot->GetYouthFromID(1), nullptr);
    EXPECT_EQ(m_pRoot->GetPlayerFromID(3), nullptr);
    EXPECT_EQ(m_pRoot->GetYouthFromID(3), Fake<CYouthDatabase>(1));
    EXPECT_EQ(m_pRoot->GetPlayerFromID(0), nullptr);
    EXPECT_EQ(m_pRoot->GetPlayerFromID(2), nullptr);  // a gap in the table
    EXPECT_EQ(m_pRoot->GetPlayerFromID(4), nullptr);  // beyond it
    EXPECT_EQ(m_pRoot->GetPlayerFromID(0xFFFFFFFF), nullptr);

    // A removed player keeps his entry; the reuse flag gives it to a newcomer.
    m_pRoot->RemovePlayerFromIDTable(false, 1, true);
    EXPECT_EQ(m_pRoot->GetPlayersInTable(), 0);
    LPITEMPLAYERINFORMATION pEntry = m_pRoot->GetPlayerInformation(1);
    ASSERT_NE(pEntry, nullptr);
    m_pRoot->AddPlayerToIDTable(1, Fake<CPlayerDatabase>(2), true);
    EXPECT_EQ(m_pRoot->GetPlayerInformation(1), pEntry);
    EXPECT_EQ(m_pRoot->GetPlayerFromID(1), Fake<CPlayerDatabase>(2));
    EXPECT_EQ(m_pRoot->GetPlayersInTable(), 1);
    // Reuse of an identifier without an entry makes one.
    m_pRoot->AddPlayerToIDTable(6, Fake<CPlayerDatabase>(3), true);
    EXPECT_EQ(m_pRoot->GetPlayerFromID(6), Fake<CPlayerDatabase>(3));
}

TEST_F(DatabaseRootTest, ManagerStaffAndClubLookups)
{
    m_pRoot->AddManagerToIDTable(5, Fake<CManagerDatabase>(0), MANAGERSTATE_EMPLOYED);
    m_pRoot->AddManagerToIDTable(6, Fake<CManagerDatabase>(1), MANAGERSTATE_POOL);
    m_pRoot->AddManagerToIDTable(8, Fake<CManagerDatabase>(2), 3);
    EXPECT_EQ(m_pRoot->GetManagerFromID(5), Fake<CManagerDatabase>(0));
    EXPECT_EQ(m_pRoot->GetManagerFromID(static_cast<ID_MANAGER>(65541)), Fake<CManagerDatabase>(0));
    EXPECT_EQ(m_pRoot->GetEmployedManager(5), Fake<CManagerDatabase>(0));
    EXPECT_EQ(m_pRoot->GetPoolManager(5), nullptr);
    EXPECT_EQ(m_pRoot->GetPoolManager(6), Fake<CManagerDatabase>(1));
    EXPECT_EQ(m_pRoot->GetManagerFromID(8), nullptr);
    EXPECT_EQ(m_pRoot->GetManagerState(8), 3);
    EXPECT_EQ(m_pRoot->GetManagerState(7), 0);
    EXPECT_EQ(m_pRoot->GetManagerFromID(0), nullptr);

    m_pRoot->AddStaffToIDTable(2, Fake<CStaffDatabase>(3), STAFFINFO_EMPLOYED);
    EXPECT_EQ(m_pRoot->GetStaffFromID(2), Fake<CStaffDatabase>(3));
    EXPECT_EQ(m_pRoot->GetStaffFromID(1), nullptr);
    EXPECT_EQ(m_pRoot->GetStaffFromID(0), nullptr);

    m_pRoot->ResetClubTable(3);
    m_pRoot->SetClubInTable(1, Fake<CClubDatabase>(4));
    m_pRoot->SetClubInTable(3, Fake<CClubDatabase>(5));
    m_pRoot->SetClubInTable(4, Fake<CClubDatabase>(6));  // refused: beyond the total
    EXPECT_EQ(m_pRoot->GetClubFromID(0), nullptr);
    EXPECT_EQ(m_pRoot->GetClubFromID(1), Fake<CClubDatabase>(4));
    EXPECT_EQ(m_pRoot->GetClubFromID(3), Fake<CClubDatabase>(5));
    EXPECT_EQ(m_pRoot->GetClubFromID(4), nullptr);
}

TEST_F(DatabaseRootTest, SettingsHumanSlotAndPendingFixture)
{
    m_pRoot->SetDefaultGameSettings();
    EXPECT_EQ(m_pRoot->GetGameSetting(0), 5);
    EXPECT_EQ(m_pRoot->GetGameSetting(1), 0);
    EXPECT_EQ(m_pRoot->GetGameSetting(2), 6);
    EXPECT_EQ(m_pRoot->GetCurrentSaveGame(), nullptr);

    CCupFixturesDatabase* pFixture = Fake<CCupFixturesDatabase>(0);
    m_pRoot->SetPendingCupFixture(pFixture);
    EXPECT_TRUE(m_pRoot->HasPendingCupFixture());
    EXPECT_EQ(m_pRoot->GetPendingCupFixture(), pFixture);
    m_pRoot->SetPendingCupFixture(nullptr);
    EXPECT_FALSE(m_pRoot->HasPendingCupFixture());
    EXPECT_EQ(m_pRoot->GetPendingCupFixture(), nullptr);
}

TEST_F(DatabaseRootTest, FindNameReachesBothEndsAndBoundsItsSearch)
{
    const CNameDictionary& names = m_pRoot->GetNameDictionary(NAMEDICTIONARY_LAST);
    const int n = names.GetCount();
    const int nBound = static_cast<int>(std::ceil(std::log2(n))) + 1;
    uint32_t dwOffset = 99;
    const char* pszFound = nullptr;
    ASSERT_TRUE(names.FindName(names.GetName(0), dwOffset, &pszFound));
    EXPECT_EQ(dwOffset, 0u);
    EXPECT_STREQ(pszFound, names.GetName(0));
    ASSERT_TRUE(names.FindName(names.GetName(n - 1), dwOffset));
    EXPECT_STREQ(names.GetNameAtOffset(dwOffset), names.GetName(n - 1));

    for (int i = 0; i + 1 < n; ++i) {
        // Every name is found at its own offset, and one sorting just after it is not.
        ASSERT_TRUE(names.FindName(names.GetName(i), dwOffset));
        EXPECT_EQ(names.GetText() + dwOffset, names.GetName(i));
        EXPECT_LE(names.GetLastSearchSteps(), nBound);
        const std::string between = std::string(names.GetName(i)) + "\x01";
        EXPECT_FALSE(names.FindName(between.c_str(), dwOffset));
        EXPECT_LE(names.GetLastSearchSteps(), nBound);
    }
    EXPECT_FALSE(names.FindName("", dwOffset));
    EXPECT_FALSE(names.FindName("\xff\xff", dwOffset));
    // Offsets from a file are checked: the middle of a name or past the end is nobody.
    EXPECT_EQ(names.GetNameAtOffset(1), nullptr);
    EXPECT_EQ(names.GetNameAtOffset(names.GetTextSize()), nullptr);
    EXPECT_EQ(names.GetNameAtOffset(0xFFFFFFFF), nullptr);
}

TEST_F(DatabaseRootTest, GeneratedNamesComeFromTheNationalityPool)
{
    plat::srand(1234);
    for (int nNationality : {1, 5, 16, 17, 40, 101}) {
        const NATIONALITYROW* pRow = m_pRoot->GetNationalityRow(nNationality);
        ASSERT_NE(pRow, nullptr);
        for (int i = 0; i < 50; ++i) {
            uint32_t dwFirst = 0;
            uint32_t dwLast = 0;
            ASSERT_TRUE(m_pRoot->GenerateName(*pRow, dwFirst, dwLast));
            const char* pszFirst = m_pRoot->GetFirstNameFromOffset(dwFirst);
            const char* pszLast = m_pRoot->GetLastNameFromOffset(dwLast);
            ASSERT_NE(pszFirst, nullptr);
            ASSERT_NE(pszLast, nullptr);
            bool bInPool = false;
            for (int k = 0; k < pRow->LastNames.GetCount(); ++k)
                bInPool = bInPool || std::strcmp(pRow->LastNames.GetName(k), pszLast) == 0;
            EXPECT_TRUE(bInPool) << pszLast << " is not a name of nationality " << nNationality;
        }
    }
    // Nationalities without pools of their own share a neighbour's.
    EXPECT_STREQ(m_pRoot->GetNationalityRow(17)->szLastNamePool, "Data\\Names\\16LN.dat");
    EXPECT_STREQ(m_pRoot->GetNationalityRow(99)->szFirstNamePool, "Data\\Names\\1FN.dat");
    EXPECT_EQ(m_pRoot->GetNationalityRow(0), nullptr);
    EXPECT_EQ(m_pRoot->GetNationalityRow(102), nullptr);
}

TEST_F(DatabaseRootTest, PickNationalityFavoursTheCountry)
{
    plat::srand(99);
    int nSame = 0;
    for (int i = 0; i < 10000; ++i) {
        const NATIONALITYROW* pRow = m_pRoot->PickNationality(5);
        ASSERT_NE(pRow, nullptr);
        nSame += pRow->byNationality == 5;
    }
    EXPECT_GT(nSame, 9700);
    EXPECT_LT(nSame, 9900);
    int nFive = 0;
    for (int i = 0; i < 10000; ++i)
        nFive += m_pRoot->PickNationality(0)->byNationality == 5;
    EXPECT_LT(nFive, 300);
}

TEST_F(DatabaseRootTest, AppearanceFollowsTheNationalityThresholds)
{
    plat::srand(7);
    int nCounts[5] = {};
    for (int i = 0; i < 2000; ++i) {
        uint8_t byType = 9;
        uint8_t byVariant = 9;
        m_pRoot->DrawAppearance(2, byType, byVariant);  // 100/0: always type 0
        EXPECT_EQ(byType, 0);
        EXPECT_LT(byVariant, 6);
        m_pRoot->DrawAppearance(56, byType, byVariant);  // 0/60: types 3 and 4 only
        ASSERT_TRUE(byType == 3 || byType == 4);
        EXPECT_EQ(byVariant, 3);
        ++nCounts[byType];
    }
    EXPECT_NEAR(nCounts[3], 1200, 120);
}

}  // namespace
