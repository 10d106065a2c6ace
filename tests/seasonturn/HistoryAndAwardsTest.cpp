// The season's history files read back, the monthly awards and the
// season-end prize money.
#include "SeasonTurnSupport.h"

#include "database/CHistoryEntries.h"
#include "platform/Files.h"
#include "platform/SafeFile.h"

namespace seasonturn_test {
namespace {

class SeasonFiles : public SmallCountry {
protected:
    static int64_t Size(const std::string& name) { return plat::fileSize(name); }
};

TEST_F(SeasonFiles, ScheduleArchiveKeepsTheGameLengthInSeasons)
{
    CDivisionDatabase* pDivision = Division(1);
    pDivision->m_lstFixtures.AddTail(new CDivisionFixturesDatabase(41, CDate(2001, 8, 11), 7, 8, 0, 0, 0));
    pDivision->m_lstFixtures.AddTail(new CDivisionFixturesDatabase(42, CDate(2001, 8, 18), 8, 7, 0, 0, 0));
    Club(7)->m_byLeaguePosition = 3;
    Club(7)->m_byBestPosition = 1;
    Club(7)->m_byWorstPosition = 6;
    Club(7)->m_byPreviousPosition = 2;
    for (int nSeason = 1; nSeason <= 5; ++nSeason)
        ASSERT_TRUE(pDivision->WriteScheduleHistory(nSeason, 5));
    EXPECT_EQ(Size("TempDivision22.shs"), 5 * 2 * 28);

    // The sixth season pushes out the first; what is left reads back.
    static_cast<CDivisionFixturesDatabase*>(pDivision->m_lstFixtures.GetHead()->pData)->SetGoals(3, 1);
    ASSERT_TRUE(pDivision->WriteScheduleHistory(6, 5));
    EXPECT_EQ(Size("TempDivision22.shs"), 5 * 2 * 28);
    FILE* pFile = plat::openFile("TempDivision22.shs", "rb");
    ASSERT_NE(pFile, nullptr);
    CBinaryReader reader(pFile);
    std::vector<CDivisionFixturesDatabase> fixtures(10);
    for (CDivisionFixturesDatabase& fixture : fixtures)
        EXPECT_TRUE(fixture.Load(reader));
    std::fclose(pFile);
    EXPECT_EQ(fixtures[0].GetFixtureID(), 41u);
    EXPECT_EQ(fixtures[1].GetHomeClubID(), 8);
    EXPECT_FALSE(fixtures[0].IsPlayed());
    EXPECT_EQ(fixtures[8].GetHomeGoals(), 3);

    // Beside it, one 364-byte summary per club and season, in table order.
    EXPECT_EQ(Size("TempClubDivision22.shs"), 5 * 6 * 364);
    std::vector<uint8_t> summaries;
    ASSERT_TRUE(plat::readWholeFile("TempClubDivision22.shs", summaries));
    EXPECT_EQ(summaries[344] | (summaries[345] << 8), 7);
    EXPECT_EQ(summaries[354], Club(7)->m_byPoints);
    // Final, best, worst and previous place.
    EXPECT_EQ(std::vector<uint8_t>(summaries.begin() + 355, summaries.begin() + 359), (std::vector<uint8_t>{3, 1, 6, 2}));
    EXPECT_EQ(summaries[360], 22);
    EXPECT_EQ(summaries[364 + 344], 8);
}

TEST_F(SeasonFiles, AFinishedSeasonsFixturesReadBackByTheirDates)
{
    CDivisionDatabase* pDivision = Division(1);
    auto* pFirst = new CDivisionFixturesDatabase(41, CDate(2001, 8, 11), 7, 8, 0, 0, 0);
    auto* pSecond = new CDivisionFixturesDatabase(42, CDate(2002, 5, 18), 8, 7, 0, 0, 0);
    pDivision->m_lstFixtures.AddTail(pFirst);
    pDivision->m_lstFixtures.AddTail(pSecond);
    ASSERT_TRUE(pDivision->WriteScheduleHistory(1, 5));
    pFirst->SetDate(CDate(2002, 8, 10));
    pSecond->SetDate(CDate(2003, 5, 17));
    pFirst->SetGoals(2, 2);
    ASSERT_TRUE(pDivision->WriteScheduleHistory(2, 5));

    const std::vector<CDivisionFixturesDatabase> first =
        pDivision->ReadScheduleHistory(CDate(2001, 7, 1), CDate(2002, 7, 1));
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].GetFixtureID(), 41u);
    EXPECT_FALSE(first[0].IsPlayed());
    const std::vector<CDivisionFixturesDatabase> second =
        pDivision->ReadScheduleHistory(CDate(2002, 7, 1), CDate(2003, 7, 1));
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(second[0].GetHomeGoals(), 2);
    EXPECT_TRUE(pDivision->ReadScheduleHistory(CDate(2003, 7, 1), CDate(2004, 7, 1)).empty());

    // A file cut inside a record keeps the whole records before the cut.
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(plat::readWholeFile("TempDivision22.shs", bytes));
    bytes.resize(3 * 28 + 10);
    FILE* pFile = plat::openFile("TempDivision22.shs", "wb");
    ASSERT_NE(pFile, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), pFile);
    std::fclose(pFile);
    EXPECT_EQ(pDivision->ReadScheduleHistory(CDate(2002, 7, 1), CDate(2003, 7, 1)).size(), 1u);
}

TEST_F(SeasonFiles, TransfersAndLoansAreArchivedInCountedBlocks)
{
    CDivisionDatabase* pDivision = Division(0);
    auto addSeason = [pDivision](uint32_t dwValue) {
        auto* pTransfer = new CTransferHistoryEntry;
        TRANSFERHISTORYVALUES values;
        values.dwValue0 = dwValue;
        pTransfer->Set(values);
        pDivision->m_lstSeasonTransfers.AddTail(pTransfer);
        pDivision->m_lstSeasonTransfers.AddTail(new CTransferHistoryEntry);
        pDivision->m_lstSeasonLoans.AddTail(new CLoanHistoryEntry);
        pDivision->m_nTransferCount = 2;
        pDivision->m_nLoanCount = 1;
    };
    addSeason(1000);
    ASSERT_TRUE(pDivision->ArchiveTransfers(1, 2));
    EXPECT_TRUE(pDivision->m_lstSeasonTransfers.IsEmpty());
    EXPECT_TRUE(pDivision->m_lstSeasonLoans.IsEmpty());
    EXPECT_EQ(pDivision->m_nTransferCount, 0);
    pDivision->ArchiveTransfers(2, 2);
    EXPECT_EQ(Size("temp21.ths"), (4 + 2 * 20) + 4);
    EXPECT_EQ(Size("temp21.lhs"), (4 + 16) + 4);

    // The third season drops the first: the empty block comes first now.
    addSeason(2000);
    pDivision->ArchiveTransfers(3, 2);
    FILE* pFile = plat::openFile("temp21.ths", "rb");
    ASSERT_NE(pFile, nullptr);
    CBinaryReader reader(pFile);
    uint32_t dwFirst = 99, dwSecond = 0;
    reader.ReadU32(dwFirst);
    reader.ReadU32(dwSecond);
    CTransferHistoryEntry entry;
    EXPECT_TRUE(entry.Load(reader));
    std::fclose(pFile);
    EXPECT_EQ(dwFirst, 0u);
    EXPECT_EQ(dwSecond, 2u);
    EXPECT_EQ(entry.Get().dwValue0, 2000u);

    // A damaged archive is started again, never read past its end.
    FILE* pDamaged = plat::openFile("temp21.ths", "wb");
    const uint8_t abyHuge[4] = {0xFF, 0xFF, 0xFF, 0x7F};
    std::fwrite(abyHuge, 1, sizeof(abyHuge), pDamaged);
    std::fclose(pDamaged);
    pDivision->ArchiveTransfers(4, 2);
    EXPECT_EQ(Size("temp21.ths"), 4);
    EXPECT_TRUE(Logged("temp21.ths is damaged"));
}

TEST_F(SeasonFiles, AnySeasonsTransfersAndLoansReadBack)
{
    CDivisionDatabase* pDivision = Division(0);
    auto playSeason = [&](int nYear) {
        m_pCountry->SetSeasonDates(nYear);
        TRANSFERHISTORYVALUES transfer;
        transfer.dwValue0 = static_cast<uint32_t>(nYear);
        pDivision->AddTransferRecord(transfer);
        LOANHISTORYVALUES loan;
        loan.dwValue = static_cast<uint32_t>(nYear);
        pDivision->AddLoanRecord(loan);
        pDivision->AddLoanRecord(loan);
    };
    auto years = [](const auto& records) {
        std::vector<uint32_t> values;
        for (const auto& record : records) {
            if constexpr (requires { record.dwValue0; })
                values.push_back(record.dwValue0);
            else
                values.push_back(record.dwValue);
        }
        return values;
    };
    // Three seasons played with two kept: 1999 is gone, 2000 and 2001 are
    // archived and 2002 runs.
    m_handler->SetGameSetting(0, 2);
    for (int nYear = 1999; nYear <= 2001; ++nYear) {
        playSeason(nYear);
        ASSERT_TRUE(pDivision->ArchiveTransfers(m_pCountry->GetSeasonIndex(), 2));
    }
    playSeason(2002);
    using Values = std::vector<uint32_t>;
    EXPECT_EQ(years(pDivision->GetSeasonTransfers(2002)), Values{2002});
    EXPECT_EQ(years(pDivision->GetSeasonTransfers(2001)), Values{2001});
    EXPECT_EQ(years(pDivision->GetSeasonTransfers(2000)), Values{2000});
    EXPECT_TRUE(pDivision->GetSeasonTransfers(1999).empty());
    EXPECT_EQ(years(pDivision->GetSeasonLoans(2000)), (Values{2000, 2000}));
    EXPECT_TRUE(Division(1)->GetSeasonLoans(2000).empty()) << "a division without an archive";

    // A block cut short ends the reading; the whole blocks before it stay.
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(plat::readWholeFile("temp21.ths", bytes));
    bytes.resize(bytes.size() - 5);
    ASSERT_TRUE(plat::writeWholeFile("temp21.ths", bytes.data(), bytes.size()));
    EXPECT_EQ(years(pDivision->GetSeasonTransfers(2000)), Values{2000});
    EXPECT_TRUE(pDivision->GetSeasonTransfers(2001).empty());
    EXPECT_TRUE(Logged("temp21.ths is damaged"));
}

TEST_F(SeasonFiles, ClubRatingHistoryKeepsAYearOfWeeks)
{
    CDivisionDatabase* pDivision = Division(2);
    Club(13)->m_byReputation = 77;
    for (int nWeek = 0; nWeek < 53; ++nWeek)
        ASSERT_TRUE(pDivision->WriteClubHistory());
    ASSERT_TRUE(pDivision->FlushHistoryFiles());
    EXPECT_EQ(Size("TempDivision23.chs"), 52 * 6 * 10);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(plat::readWholeFile("TempDivision23.chs", bytes));
    EXPECT_EQ(bytes[1], 77);

    // Read back for one club: its own record of each week, the signed
    // ratings negative again.
    Club(13)->m_nFanConfidence = -12;
    Club(13)->m_byReputation = 78;
    ASSERT_TRUE(pDivision->WriteClubHistory());
    const std::vector<CLUBRATINGS> weeks = pDivision->ReadClubHistory(*Club(13));
    ASSERT_EQ(weeks.size(), 52u);
    EXPECT_EQ(weeks.front().anRating[1], 77);
    EXPECT_EQ(weeks.back().anRating[1], 78);
    EXPECT_EQ(weeks.back().anRating[9], -12);
    EXPECT_EQ(weeks.back().anRating[9], CDivisionDatabase::GetClubRatings(*Club(13)).anRating[9]);
    EXPECT_TRUE(Division(1)->ReadClubHistory(*Club(13)).empty());
}

TEST_F(SeasonFiles, ClubRatingHistoryWrittenForYearsUnreadKeepsTheNewestYear)
{
    // Two years and more of weeks with no read or flush between them: what
    // is read and written then is the last 52 weeks, oldest first.
    CDivisionDatabase* pDivision = Division(2);
    constexpr int kWeeks = 110;
    for (int nWeek = 0; nWeek < kWeeks; ++nWeek) {
        Club(13)->m_byReputation = static_cast<uint8_t>(nWeek);
        ASSERT_TRUE(pDivision->WriteClubHistory());
    }
    const std::vector<CLUBRATINGS> weeks = pDivision->ReadClubHistory(*Club(13));
    ASSERT_EQ(weeks.size(), 52u);
    for (size_t i = 0; i < weeks.size(); ++i)
        EXPECT_EQ(weeks[i].anRating[1], static_cast<int>(kWeeks - 52 + i)) << i;
    Club(13)->m_byReputation = 7;
    ASSERT_TRUE(pDivision->WriteClubHistory());
    ASSERT_TRUE(pDivision->FlushHistoryFiles());
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(plat::readWholeFile("TempDivision23.chs", bytes));
    ASSERT_EQ(bytes.size(), 52u * 6 * 10);
    EXPECT_EQ(bytes[1], kWeeks - 51);
    EXPECT_EQ(bytes[51 * 6 * 10 + 1], 7);
}

TEST_F(SeasonFiles, CupArchiveAndNewSeasonFiles)
{
    ASSERT_TRUE(m_pCountry->WriteCupHistory(1, 5));
    ASSERT_TRUE(m_pCountry->WriteCupHistory(2, 5));
    EXPECT_EQ(Size("TempDomCup3.shs"), 8);

    // The new season: a clean table and an empty division history grid.
    Club(7)->m_HomeRow.byPlayed = 9;
    ASSERT_TRUE(Division(1)->StartDivisionSeason());
    EXPECT_EQ(Club(7)->m_HomeRow.byPlayed, 0);
    EXPECT_EQ(Club(7)->m_byPoints, 0);
    ASSERT_TRUE(Division(1)->FlushHistoryFiles());
    EXPECT_EQ(Size("TempDivision22.dhs"), 6 * 10 * 24);
}

class Awards : public SmallCountry {
protected:
    // The manager's season value is what the quick match engine adds to
    // after each match; it is set here as play would leave it.
    CManagerDatabase* AddManager(ID_CLUB idClub, ID_MANAGER idManager, uint32_t dwValue)
    {
        auto* pManager = new CManagerDatabase;
        pManager->m_idManager = idManager;
        pManager->m_dwSeasonValueA = dwValue;
        pManager->m_pClub = Club(idClub);
        m_handler->AddManagerToIDTable(idManager, pManager, MANAGERSTATE_EMPLOYED);
        Club(idClub)->m_wManagerId = idManager;
        return pManager;
    }
    CPlayerDatabase* AddPlayer(ID_CLUB idClub, ID_PLAYER idPlayer)
    {
        ByteStream stream(MakePlayerImage(idPlayer));
        auto* pPlayer = new CPlayerDatabase(stream.reader(), m_pCountry, Club(idClub)->m_pDivision, Club(idClub), false);
        Club(idClub)->AddPlayer(pPlayer, false);
        return pPlayer;
    }
};

TEST_F(Awards, ManagerOfTheMonthTiesGoToTheHigherClub)
{
    CDivisionDatabase* pDivision = Division(0);
    AddManager(1, 31, 0);
    AddManager(3, 33, 50);
    AddManager(2, 32, 50);

    // Before the league season is under way nobody is chosen.
    pDivision->m_bySeasonStarted = 0;
    pDivision->ProcessAwards(0);
    EXPECT_EQ(pDivision->m_nManagerOfPeriod, 0);

    pDivision->m_bySeasonStarted = 1;
    pDivision->ProcessAwards(0);
    EXPECT_EQ(pDivision->m_nManagerOfPeriod, 32);
}

// Nothing in play fills the clubs' counters of the period's best player, so
// no player and no eleven of the period is chosen yet: the month only clears
// what an older world may hold.
TEST_F(Awards, NoPlayerOrElevenOfThePeriodIsChosenYet)
{
    CDivisionDatabase* pDivision = Division(0);
    AddPlayer(4, 904);
    ASSERT_EQ(m_handler->GetPlayerFromID(904)->m_idPerson, 904u);
    pDivision->m_nPlayerOfPeriod = 904;
    pDivision->m_aEleven[0] = {Club(4)->m_wClubId, 904, 10};
    pDivision->m_bySeasonStarted = 1;
    pDivision->ProcessAwards(0);
    EXPECT_EQ(pDivision->m_nPlayerOfPeriod, 0);
    for (const DIVISIONPERIODENTRY& entry : pDivision->m_aEleven) {
        EXPECT_EQ(entry.idPlayer, 0);
        EXPECT_EQ(entry.nPoints, -32000);
    }
}

TEST_F(Awards, RaceStoriesTwoMonthsBeforeTheLeaguesEnd)
{
    struct Case {
        int nEndMonth;
        int nMonth;
        bool bDue;
    };
    for (const Case& c : {Case{5, 3, true}, Case{5, 4, false}, Case{2, 12, false}, Case{1, 11, false}}) {
        Division(1)->m_byEndMonth = static_cast<uint8_t>(c.nEndMonth);
        m_handler->SetGameDate(CDate(2002, c.nMonth, 1));
        EXPECT_EQ(Division(1)->IsStoryDue(320), c.bDue) << c.nEndMonth << "/" << c.nMonth;
    }
    EXPECT_TRUE(Division(1)->IsStoryDue(0));
    EXPECT_FALSE(Division(1)->IsStoryDue(7));

    Division(1)->m_byEndMonth = 5;
    m_handler->SetGameDate(CDate(2002, 3, 1));
    m_pCountry->ProcessAwards(0);
    // Division 1 has no promotion race; division 2 (number = division count
    // - 1) no relegation race story; division 3 has no league below.
    std::vector<std::pair<uint16_t, uint32_t>> stories;
    for (const CNewspaperStory* pStory : m_pCountry->GetNewspaperStories()->GetPendingStories().Items<CNewspaperStory>())
        if (pStory->GetParameter() == 320 || pStory->GetParameter() == 321)
            stories.push_back({pStory->GetParameter(), pStory->GetParameterSlot(5)});
    EXPECT_EQ(stories, (std::vector<std::pair<uint16_t, uint32_t>>{{321, 21}, {320, 22}, {320, 23}}));
}

TEST_F(Awards, PrizeMoneyFallsByOneUnitDownTheTopDivision)
{
    m_pCountry->SetLevel(65);  // tier 3: units of 100,000
    CManagerDatabase* pManager = AddManager(1, 31, 10);
    pManager->m_Contract.dwWage = 20000;
    pManager->m_Contract.abyBonus[2] = 15;
    m_pCountry->PayLeaguePrizeMoney();
    const int nGroup = CClubDatabase::FindFinanceCategory(55);
    EXPECT_EQ(Club(2)->m_anFinanceAccumulators[nGroup], 600000);
    EXPECT_EQ(Club(6)->m_anFinanceAccumulators[nGroup], 200000);
    EXPECT_EQ(Club(7)->m_anFinanceAccumulators[nGroup], 0);
    // The champion's manager takes his bonus: 200 x 15.
    const int nBonusGroup = CClubDatabase::FindFinanceCategory(69);
    const int nExpected = nBonusGroup == nGroup ? 700000 - 3000 : -3000;
    EXPECT_EQ(Club(1)->m_anFinanceAccumulators[nBonusGroup], nExpected);
}

}  // namespace
}  // namespace seasonturn_test
