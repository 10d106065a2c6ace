// The starting world through a whole season and its turn: play-offs in one
// division, promotion and relegation everywhere, the archives and the new
// season's fixtures.
#include "../dayloop/DayLoopSupport.h"

#include "platform/Files.h"
#include "season/CEuropeanCupDatabase.h"
#include "season/CupStructureTable.h"

#include <algorithm>
#include <map>

namespace seasonturn_test {
namespace {

using dayloop_test::DayLoopWorld;

class WorldSeason : public DayLoopWorld {
protected:
    CCountryDatabase* England()
    {
        for (CCountryDatabase* pCountry : H().GetCountries().Items<CCountryDatabase>())
            if (std::string(pCountry->GetName()) == "England")
                return pCountry;
        return nullptr;
    }
    static std::vector<ID_CLUB> TableIds(const CDivisionDatabase* pDivision)
    {
        std::vector<ID_CLUB> ids;
        for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
            ids.push_back(pClub->m_wClubId);
        return ids;
    }
};

TEST_F(WorldSeason, ASeasonEndsInPromotionPlayOffsAndANewSeason)
{
    CCountryDatabase* pEngland = England();
    ASSERT_NE(pEngland, nullptr);
    CDivisionDatabase* pFirst = pEngland->FindDivision(1);
    CDivisionDatabase* pSecond = pEngland->FindDivision(2);
    ASSERT_NE(pFirst, nullptr);
    ASSERT_NE(pSecond, nullptr);
    // The second division sends two clubs up directly and plays off for a third.
    pSecond->m_byPromotionZone = 2;
    pSecond->m_byPlayOffPlaces = 4;
    pSecond->m_byPlayOffPromotions = 1;

    std::map<CDivisionDatabase*, int> sizes;
    for (CDivisionDatabase* pDivision : Divisions())
        sizes[pDivision] = pDivision->GetClubCount();

    // To the eve of the turn: 4 July 2000.
    while (H().GetGameDate() < CDate(2000, 7, 4))
        RunDays(1);
    ASSERT_TRUE(pSecond->HasPlayOff());
    ASSERT_EQ(pSecond->m_pPlayOff->Entries.size(), 1u) << "the play-off has one winner";
    const ID_CLUB idPlayOffWinner = static_cast<ID_CLUB>(pSecond->m_pPlayOff->Entries[0].idClub);
    const std::vector<ID_CLUB> first = TableIds(pFirst);
    const std::vector<ID_CLUB> second = TableIds(pSecond);
    EXPECT_NE(std::find(second.begin() + 2, second.begin() + 6, idPlayOffWinner), second.begin() + 6);
    for (const CDivisionFixturesDatabase* p : pFirst->m_lstFixtures.Items<CDivisionFixturesDatabase>())
        EXPECT_TRUE(p->IsPlayed());

    // The finals of the season, for the countries' season records.
    const uint8_t bySeasonKey = static_cast<uint8_t>(pEngland->GetSeasonYear() + 49);
    const CClubDatabase* pCupWinner = pEngland->GetCupWinner(CUP_KIND_0);
    ASSERT_NE(pCupWinner, nullptr) << "the cup final has been played";
    const ID_CLUB idEuropeanWinner = static_cast<ID_CLUB>(H().GetEuropeanCups()->GetCupWinner(CUP_KIND_1));
    ASSERT_NE(idEuropeanWinner, 0) << "the first European cup's final has been played";

    RunDays(2);
    EXPECT_EQ(H().GetGameDate(), CDate(2000, 7, 6));
    for (const auto& [pDivision, nSize] : sizes)
        EXPECT_EQ(pDivision->GetClubCount(), nSize) << pDivision->GetName();
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(H().GetClubFromID(second[static_cast<size_t>(i)])->m_pDivision, pFirst);
    EXPECT_EQ(H().GetClubFromID(idPlayOffWinner)->m_pDivision, pFirst);
    for (size_t i = first.size() - 3; i < first.size(); ++i)
        EXPECT_EQ(H().GetClubFromID(first[i])->m_pDivision, pSecond);
    EXPECT_EQ(H().GetClubFromID(first[0])->m_pDivision, pFirst);
    // The first European cup's places go to the top of the table the season
    // ended with (the new tables all stand at nil).
    const CEuropeanCupDatabase& european = *H().GetEuropeanCups();
    // The holders enter as holders, wherever they finished.
    std::vector<ID_CLUB> table = first;
    table.erase(std::remove(table.begin(), table.end(), static_cast<ID_CLUB>(idEuropeanWinner)), table.end());
    std::vector<size_t> entrantPlaces;
    for (size_t i = 0; i < table.size(); ++i)
        if (european.IsClubPending(CUP_KIND_1, table[i]) || european.IsClubDrawn(CUP_KIND_1, table[i]))
            entrantPlaces.push_back(i);
    ASSERT_FALSE(entrantPlaces.empty());
    EXPECT_EQ(entrantPlaces.front(), 0u) << "the best placed are entered";
    EXPECT_EQ(entrantPlaces.back(), entrantPlaces.size() - 1) << "no club passed over for one below it";

    // The new season: fresh tables and fixtures of 2000-01, the archives of the old.
    ASSERT_TRUE(H().FlushWorkingFiles());
    for (CDivisionDatabase* pDivision : Divisions()) {
        if (pDivision->m_byKind != DIVISION_KIND_LEAGUE)
            continue;
        ASSERT_FALSE(pDivision->m_lstFixtures.IsEmpty()) << pDivision->GetName();
        const auto* pFixture = static_cast<CDivisionFixturesDatabase*>(pDivision->m_lstFixtures.GetHead()->pData);
        EXPECT_GE(pFixture->GetDate(), CDate(2000, 7, 1));
        EXPECT_FALSE(pFixture->IsPlayed());
        for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
            EXPECT_EQ(pClub->m_byPoints, 0);
        const std::string id = std::to_string(pDivision->m_byDivisionId);
        EXPECT_GT(plat::fileSize("TempDivision" + id + ".shs"), 0) << id;
        EXPECT_TRUE(plat::fileExists("temp" + id + ".ths")) << id;
        EXPECT_EQ(plat::fileSize("TempDivision" + id + ".dhs"), pDivision->GetHistoryFileBytes()) << id;
    }
    EXPECT_EQ(pEngland->GetSeasonRecordCount(), 1);
    // Each record names its own country's finalists only: the cup's winner
    // and runner-up, and the European winner in his country's record alone.
    auto word = [](const uint8_t* p, int nOffset) { return static_cast<ID_CLUB>(p[nOffset] | (p[nOffset + 1] << 8)); };
    const uint8_t* pRecord = pEngland->FindSeasonRecord(bySeasonKey);
    ASSERT_NE(pRecord, nullptr);
    EXPECT_EQ(word(pRecord, 184), pCupWinner->m_wClubId);
    const ID_CLUB idRunnerUp = word(pRecord, 198);
    EXPECT_NE(idRunnerUp, pCupWinner->m_wClubId);
    EXPECT_NE(pEngland->IsClubOfCountry(idRunnerUp), nullptr);
    int nNamingEuropeanWinner = 0;
    for (const CCountryDatabase* pCountry : H().GetCountries().Items<CCountryDatabase>()) {
        const uint8_t* p = pCountry->FindSeasonRecord(bySeasonKey);
        ASSERT_NE(p, nullptr) << pCountry->GetName();
        if (word(p, 184 + 2 * 5) != 0) {
            ++nNamingEuropeanWinner;
            EXPECT_EQ(word(p, 184 + 2 * 5), idEuropeanWinner);
            EXPECT_NE(pCountry->IsClubOfCountry(idEuropeanWinner), nullptr);
        }
    }
    EXPECT_EQ(nNamingEuropeanWinner, 1);
    EXPECT_TRUE(plat::fileExists("TempDomCup" + std::to_string(pEngland->GetID()) + ".shs"));
    EXPECT_GT(pEngland->GetSeasonEndDate(), CDate(2001, 1, 1));

    // The turned world saves and loads again, archives and play-off included.
    FILE* pOut = std::fopen("turned.bin", "wb");
    ASSERT_NE(pOut, nullptr);
    const bool bSaved = H().Save(pOut);
    std::fclose(pOut);
    ASSERT_TRUE(bSaved);
    // One root at a time: the records reach theirs through a class-wide pointer.
    m_handler.reset();
    m_handler = std::make_unique<CDatabaseHandler>();
    FILE* pIn = std::fopen("turned.bin", "rb");
    ASSERT_NE(pIn, nullptr);
    const bool bLoaded = m_handler->Load(pIn);
    std::fclose(pIn);
    EXPECT_TRUE(bLoaded);
}

}  // namespace
}  // namespace seasonturn_test
