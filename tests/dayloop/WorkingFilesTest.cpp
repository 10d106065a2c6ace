// The working files of a running game: the match history file read back
// record by record, the weekly player history, the division history grid for
// every meetings rule, and working files that are missing, short or cannot
// be opened.
#include "DayLoopSupport.h"

#include "database/CCupFixturesDatabase.h"
#include "database/MatchHistory.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>

using namespace dayloop_test;

namespace {

class WorkingFiles : public DayLoopWorld {
protected:
    static void Truncate(const std::string& name, uintmax_t nBytes) { fs::resize_file(name, nBytes); }
    static uint32_t Get(const std::string& bytes, size_t at, int nWidth)
    {
        uint32_t v = 0;
        for (int i = nWidth - 1; i >= 0; --i)
            v = (v << 8) | static_cast<uint8_t>(bytes.at(at + static_cast<size_t>(i)));
        return v;
    }
};

int GoalsOf(const std::vector<MATCHEVENT>& own, const std::vector<MATCHEVENT>& other)
{
    int nGoals = 0;
    for (const MATCHEVENT& e : own)
        nGoals += e.byKind == MATCHEVENT_GOAL || e.byKind == MATCHEVENT_PENALTY_SCORED;
    for (const MATCHEVENT& e : other)
        nGoals += e.byKind == MATCHEVENT_OWN_GOAL;
    return nGoals;
}

TEST_F(WorkingFiles, MatchHistoryReadsBackRecordByRecord)
{
    RunDays(40);
    ASSERT_TRUE(H().FlushWorkingFiles());
    CCountryDatabase* pEngland = H().GetCountryFromID(1);
    std::map<uint32_t, const CDivisionFixturesDatabase*> played;
    for (const CDivisionDatabase* pDivision : pEngland->GetDivisions().Items<CDivisionDatabase>())
        for (const CDivisionFixturesDatabase* p : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
            if (p->IsPlayed())
                played[p->GetFixtureID()] = p;
    ASSERT_GT(played.size(), 24u);

    FILE* pFile = std::fopen(pEngland->GetMatchHistoryFileName().c_str(), "rb");
    ASSERT_NE(pFile, nullptr);
    MATCHHISTORYHEADER header;
    MATCHRECORDBODY body;
    size_t nRecords = 0;
    size_t nCupRecords = 0;
    std::vector<long> starts;
    for (;;) {
        starts.push_back(std::ftell(pFile));
        if (!CDatabaseHandler::ReadNextMatchRecord(pFile, header, &body))
            break;
        ++nRecords;
        SCOPED_TRACE("match " + std::to_string(header.dwMatchID));
        // The country's cup matches share the file.
        if (const CCupFixturesDatabase* pCup = pEngland->FindCupFixture(header.dwMatchID)) {
            EXPECT_TRUE(pCup->IsPlayed());
            EXPECT_EQ(header.wHomeClub, pCup->GetHomeClubID());
            EXPECT_EQ(header.byHomeGoals, pCup->GetHomeGoals());
            EXPECT_EQ(header.byAwayGoals, pCup->GetAwayGoals());
            ++nCupRecords;
            continue;
        }
        ASSERT_EQ(played.count(header.dwMatchID), 1u);
        const CDivisionFixturesDatabase* p = played[header.dwMatchID];
        EXPECT_EQ(header.wHomeClub, p->GetHomeClubID());
        EXPECT_EQ(header.wAwayClub, p->GetAwayClubID());
        EXPECT_EQ(header.wRefereeID, p->GetRefereeID());
        EXPECT_EQ(header.byMatchKind, MATCHKIND_LEAGUE);
        EXPECT_EQ(header.byHomeGoals, p->GetHomeGoals());
        EXPECT_EQ(header.byAwayGoals, p->GetAwayGoals());
        EXPECT_EQ(header.bySubstitutesNamed, 5);
        EXPECT_EQ(body.HomeLineUp.size(), 16u);
        EXPECT_EQ(body.AwayLineUp.size(), 16u);
        EXPECT_EQ(body.HomeEvents.size(), header.byHomeEvents);
        EXPECT_EQ(GoalsOf(body.HomeEvents, body.AwayEvents), header.byHomeGoals);
        EXPECT_EQ(GoalsOf(body.AwayEvents, body.HomeEvents), header.byAwayGoals);
        for (int i = 0; i < 11; ++i) {
            const CPlayerDatabase* pPlayer = H().GetPlayerFromID(body.HomeLineUp[static_cast<size_t>(i)].idPlayer);
            ASSERT_NE(pPlayer, nullptr);
            EXPECT_EQ(pPlayer->m_pClub, H().GetClubFromID(header.wHomeClub));
        }
    }
    std::fclose(pFile);
    size_t nCupPlayed = 0;
    for (const CCupFixturesDatabase* p : pEngland->GetCupFixtures().Items<CCupFixturesDatabase>())
        nCupPlayed += p->IsPlayed();
    EXPECT_EQ(nCupRecords, nCupPlayed);
    EXPECT_EQ(nRecords, played.size() + nCupRecords) << "one record per played fixture, nothing after the last";

    // Found by match id among the files.
    const CDivisionFixturesDatabase* pLast = played.rbegin()->second;
    ASSERT_TRUE(H().FindMatchRecord(header, &body, pLast->GetFixtureID()));
    EXPECT_EQ(header.byHomeGoals, pLast->GetHomeGoals());
    EXPECT_FALSE(H().FindMatchRecord(header, nullptr, 0xFFFFFFF0u));

    // A file cut inside its last record gives every whole record and then
    // stops with a log line, never reading past its end.
    const std::string bytes = ReadFile(pEngland->GetMatchHistoryFileName());
    for (long nCut : {starts[nRecords - 1] + 30, starts[nRecords - 1] + 60, static_cast<long>(bytes.size()) - 1}) {
        std::ofstream("cut.mhs", std::ios::binary | std::ios::trunc) << bytes.substr(0, static_cast<size_t>(nCut));
        LogCapture log;
        FILE* pCut = std::fopen("cut.mhs", "rb");
        ASSERT_NE(pCut, nullptr);
        size_t nWhole = 0;
        while (CDatabaseHandler::ReadNextMatchRecord(pCut, header, &body))
            ++nWhole;
        std::fclose(pCut);
        EXPECT_EQ(nWhole, nRecords - 1) << nCut;
        EXPECT_TRUE(log.Contains("[CDatabaseHandler::ReadNextMatchRecord]"));
    }
}

TEST_F(WorkingFiles, EveryMatchRecordIsVisitedOnceUntilTheVisitStops)
{
    RunDays(40);
    std::map<uint32_t, int> visits;
    H().ForEachMatchRecord([&visits](const MATCHHISTORYHEADER& header, const MATCHRECORDBODY& body) {
        ++visits[header.dwMatchID];
        EXPECT_EQ(body.HomeEvents.size(), header.byHomeEvents);
        return true;
    });
    ASSERT_GT(visits.size(), 24u);
    for (const auto& [dwMatchID, nVisits] : visits) {
        EXPECT_EQ(nVisits, 1) << "match " << dwMatchID;
        MATCHHISTORYHEADER header;
        EXPECT_TRUE(H().FindMatchRecord(header, nullptr, dwMatchID));
    }
    int nSeen = 0;
    H().ForEachMatchRecord([&nSeen](const MATCHHISTORYHEADER&, const MATCHRECORDBODY&) { return ++nSeen < 3; });
    EXPECT_EQ(nSeen, 3);
}

TEST_F(WorkingFiles, WeeklyPlayerHistoryIsWrittenOnMondays)
{
    const int nSlots = H().GetHistorySlotCount();
    RunDays(11);  // Mondays 5 and 12 July
    ASSERT_EQ(H().GetGameDate(), CDate(1999, 7, 12));
    ASSERT_TRUE(H().FlushWorkingFiles());
    const std::string file = ReadFile("temp.phs");
    ASSERT_EQ(static_cast<int64_t>(file.size()), CDatabaseHandler::GetPlayerHistoryFileBytes(nSlots));
    const int nFirstWeek = CDatabaseHandler::GetWeekNumber(CDate(1999, 7, 5));
    const int nWeek = CDatabaseHandler::GetWeekNumber(H().GetGameDate());
    EXPECT_EQ(nWeek, nFirstWeek + 1);
    int nChecked = 0;
    for (int id = 1; id <= H().GetPlayerTableSize() && nChecked < 50; id += 97) {
        const CPlayerDatabase* pPlayer = H().GetPlayerFromID(static_cast<ID_PLAYER>(id));
        if (!pPlayer || pPlayer->m_nHistorySlot == 0)
            continue;
        ++nChecked;
        EXPECT_EQ(Get(file, static_cast<size_t>(pPlayer->GetHistoryHeaderOffset()), 2),
                  static_cast<uint32_t>(nFirstWeek))
            << "the first week stays";
        const size_t at = static_cast<size_t>(pPlayer->GetHistoryRecordOffset(nWeek));
        const size_t first = static_cast<size_t>(pPlayer->GetHistoryRecordOffset(nFirstWeek));
        const int order[10] = {0, 1, 2, 3, 4, 5, 7, 6, 8, 9};
        int nChange = 0;
        for (int j = 0; j < 10; ++j) {
            EXPECT_EQ(Get(file, at + static_cast<size_t>(j), 1), pPlayer->m_awAttributes[order[j]] / 100u);
            nChange += static_cast<int>(Get(file, at + static_cast<size_t>(j), 1)) -
                       static_cast<int>(Get(file, first + static_cast<size_t>(j), 1));
        }
        // The skill graphs read the history the game is writing, as the file holds it.
        EXPECT_EQ(pPlayer->GetSkillChangeBetweenWeeks(nFirstWeek, nWeek + 1), nChange);
    }
    EXPECT_GT(nChecked, 20);
    // Week 53 shares the block of week 1.
    EXPECT_EQ(CDatabaseHandler::GetWeekNumber(CDatabaseHandler::GetDateFromWeekNumber(53)), 53);
    const CPlayerDatabase* pAny = H().GetPlayerFromID(1);
    ASSERT_NE(pAny, nullptr);
    EXPECT_EQ(pAny->GetHistoryRecordOffset(53), pAny->GetHistoryRecordOffset(1));
}

// A record holds each skill in whole numbers kept to their low byte, over
// the whole 16-bit range: both sides of each hundred, of 256 whole numbers
// and the top.
TEST_F(WorkingFiles, AWeeklyRecordKeepsTheLowByteOfEachWholeSkill)
{
    CPlayerDatabase* pPlayer = nullptr;
    for (int id = 1; id <= H().GetPlayerTableSize() && !pPlayer; ++id)
        if (CPlayerDatabase* p = H().GetPlayerFromID(static_cast<ID_PLAYER>(id)); p && p->m_nHistorySlot > 0)
            pPlayer = p;
    ASSERT_NE(pPlayer, nullptr);
    const uint16_t awValues[][10] = {
        {0, 99, 100, 199, 200, 9999, 10000, 25599, 25600, 65535},
        {65535, 25600, 25599, 10000, 9999, 200, 199, 100, 99, 0},
        {32767, 32768, 51199, 51200, 12345, 54321, 777, 60000, 4999, 5000},
    };
    const int order[10] = {0, 1, 2, 3, 4, 5, 7, 6, 8, 9};
    const int nWeek = CDatabaseHandler::GetWeekNumber(H().GetGameDate());
    for (const auto& values : awValues) {
        std::copy(std::begin(values), std::end(values), pPlayer->m_awAttributes);
        ASSERT_TRUE(H().WritePlayerHistory());
        ASSERT_TRUE(H().FlushWorkingFiles());
        const std::string file = ReadFile("temp.phs");
        const size_t at = static_cast<size_t>(pPlayer->GetHistoryRecordOffset(nWeek));
        for (int j = 0; j < 10; ++j)
            EXPECT_EQ(Get(file, at + static_cast<size_t>(j), 1), (values[order[j]] / 100u) & 0xFFu)
                << "byte " << j << " of " << values[order[j]];
    }
}

// Youths made in play take slots beyond the history's count: the history is
// laid out again for the larger count, in memory and from the file alike,
// and no player's earlier weeks are lost.
TEST_F(WorkingFiles, MoreHistorySlotsKeepEveryRecord)
{
    RunDays(4);  // Monday 5 July
    const int nWeek = CDatabaseHandler::GetWeekNumber(CDate(1999, 7, 5));
    struct Kept {
        const CPlayerDatabase* pPlayer;
        uint8_t abyRecord[10];
    };
    std::vector<Kept> kept;
    for (int id = 1; id <= H().GetPlayerTableSize() && kept.size() < 40; id += 53) {
        const CPlayerDatabase* pPlayer = H().GetPlayerFromID(static_cast<ID_PLAYER>(id));
        if (!pPlayer || pPlayer->m_nHistorySlot == 0)
            continue;
        Kept k{pPlayer, {}};
        ASSERT_TRUE(H().ReadPlayerHistory(pPlayer->GetHistoryRecordOffset(nWeek), k.abyRecord, 10));
        kept.push_back(k);
    }
    ASSERT_GT(kept.size(), 20u);
    auto expectKept = [&](const char* pszWhen) {
        for (const Kept& k : kept) {
            uint8_t abyNow[10] = {};
            ASSERT_TRUE(H().ReadPlayerHistory(k.pPlayer->GetHistoryRecordOffset(nWeek), abyNow, 10)) << pszWhen;
            EXPECT_EQ(std::memcmp(abyNow, k.abyRecord, 10), 0) << pszWhen << ": slot " << k.pPlayer->m_nHistorySlot;
            uint8_t abyHeader[2] = {};
            ASSERT_TRUE(H().ReadPlayerHistory(k.pPlayer->GetHistoryHeaderOffset(), abyHeader, 2));
            EXPECT_EQ(abyHeader[0] | abyHeader[1] << 8, nWeek) << pszWhen;
        }
    };
    // Every byte of the smaller history stands where the larger count puts
    // it, and the new slots of the directory and of every week are zero.
    auto expectLaidOut = [](const std::string& before, int nBefore, const std::string& after, int nAfter) {
        constexpr size_t kRecord = 10, kWeeks = 52;
        const size_t nOld = static_cast<size_t>(nBefore), nNew = static_cast<size_t>(nAfter);
        ASSERT_EQ(before.size(), static_cast<size_t>(CDatabaseHandler::GetPlayerHistoryFileBytes(nBefore)));
        ASSERT_EQ(after.size(), static_cast<size_t>(CDatabaseHandler::GetPlayerHistoryFileBytes(nAfter)));
        EXPECT_EQ(after.compare(0, 2 * nOld, before, 0, 2 * nOld), 0) << "directory";
        EXPECT_GE(after.find_first_not_of('\0', 2 * nOld), 2 * nNew) << "new directory slots";
        for (size_t nBlock = 0; nBlock < kWeeks; ++nBlock) {
            const size_t nFrom = 2 * nOld + kRecord * nOld * nBlock, nTo = 2 * nNew + kRecord * nNew * nBlock;
            EXPECT_EQ(after.compare(nTo, kRecord * nOld, before, nFrom, kRecord * nOld), 0) << "week " << nBlock;
            const size_t nGap = nTo + kRecord * nOld, nGapEnd = nTo + kRecord * nNew;
            const size_t nFirstSet = after.find_first_not_of('\0', nGap);
            EXPECT_TRUE(nFirstSet == std::string::npos || nFirstSet >= nGapEnd) << "new slots of week " << nBlock;
        }
    };
    ASSERT_TRUE(H().FlushWorkingFiles());
    std::string before = ReadFile("temp.phs");
    int nBefore = H().GetHistorySlotCount();
    H().RaiseHistorySlotCount(nBefore + 7);
    expectKept("grown in memory");
    ASSERT_TRUE(H().FlushWorkingFiles());
    std::string after = ReadFile("temp.phs");
    expectLaidOut(before, nBefore, after, H().GetHistorySlotCount());
    H().CloseWorkingFiles();
    before = after;
    nBefore = H().GetHistorySlotCount();
    H().RaiseHistorySlotCount(nBefore + 30);
    expectKept("grown from the file");
    ASSERT_TRUE(H().FlushWorkingFiles());
    after = ReadFile("temp.phs");
    expectLaidOut(before, nBefore, after, H().GetHistorySlotCount());
    // Grown again in the room the last growth left.
    before = after;
    nBefore = H().GetHistorySlotCount();
    H().RaiseHistorySlotCount(nBefore + 3);
    expectKept("grown in place");
    ASSERT_TRUE(H().FlushWorkingFiles());
    expectLaidOut(before, nBefore, ReadFile("temp.phs"), H().GetHistorySlotCount());
}

TEST_F(WorkingFiles, MissingOrShortFilesAreLoggedAndMadeAgain)
{
    const int nSlots = H().GetHistorySlotCount();
    const int64_t nPhs = CDatabaseHandler::GetPlayerHistoryFileBytes(nSlots);
    ASSERT_TRUE(H().FlushWorkingFiles());
    {
        // Missing and short player history, found when the files are read
        // again (as after a saved game's set is unpacked): made again whole,
        // then written.
        for (bool bRemove : {true, false}) {
            if (bRemove)
                fs::remove("temp.phs");
            else
                Truncate("temp.phs", 1000);
            H().CloseWorkingFiles();
            LogCapture log;
            EXPECT_TRUE(H().WritePlayerHistory());
            EXPECT_TRUE(log.Contains("temp.phs is missing or short: made again"));
            ASSERT_TRUE(H().FlushWorkingFiles());
            EXPECT_EQ(static_cast<int64_t>(fs::file_size("temp.phs")), nPhs);
        }
        // Given a short file directly, the writer refuses it untouched.
        Truncate("temp.phs", 4000);
        LogCapture log;
        FILE* pFile = std::fopen("temp.phs", "r+b");
        ASSERT_NE(pFile, nullptr);
        EXPECT_FALSE(H().SavePlayerHistory(pFile));
        std::fclose(pFile);
        EXPECT_TRUE(log.Contains("[CDatabaseHandler::SavePlayerHistory]"));
        EXPECT_EQ(fs::file_size("temp.phs"), 4000u);
        ASSERT_TRUE(H().CreatePlayerHistoryFile());
    }
    {
        // A player whose slot lies beyond the file is skipped with the log line.
        CPlayerDatabase* pPlayer = H().GetPlayerFromID(1);
        ASSERT_NE(pPlayer, nullptr);
        pPlayer->m_nHistorySlot = nSlots + 5;
        LogCapture log;
        EXPECT_TRUE(H().WritePlayerHistory());
        EXPECT_TRUE(log.Contains("has gone over the safety net in the file!"));
        ASSERT_TRUE(H().FlushWorkingFiles());
        EXPECT_EQ(static_cast<int64_t>(fs::file_size("temp.phs")), nPhs);
    }
    {
        // A short division history file is made again before it is written.
        CDivisionDatabase* pDivision = Divisions().front();
        Truncate(pDivision->GetHistoryFileName(), 100);
        H().CloseWorkingFiles();
        pDivision->m_byTableChanged = 1;
        LogCapture log;
        EXPECT_TRUE(pDivision->WriteDivisionHistory());
        EXPECT_TRUE(log.Contains("is missing or short: made again"));
        ASSERT_TRUE(H().FlushWorkingFiles());
        EXPECT_EQ(static_cast<int64_t>(fs::file_size(pDivision->GetHistoryFileName())),
                  pDivision->GetHistoryFileBytes());
    }
    {
        // A match history file that cannot be opened keeps the matches, and
        // the records wait for a flush that can write them.
        const std::string name = H().GetCountryFromID(1)->GetMatchHistoryFileName();
        fs::create_directory(name);
        LogCapture log;
        RunDays(37);  // to Saturday 7 August
        EXPECT_FALSE(H().FlushWorkingFiles());
        EXPECT_TRUE(log.Contains("Could not open Temp1.mhs: no match records written"));
        fs::remove(name);
        ASSERT_TRUE(H().FlushWorkingFiles());
        MATCHHISTORYHEADER header;
        FILE* pFile = std::fopen(name.c_str(), "rb");
        ASSERT_NE(pFile, nullptr);
        int nRecords = 0;
        while (CDatabaseHandler::ReadNextMatchRecord(pFile, header, nullptr))
            ++nRecords;
        std::fclose(pFile);
        int nPlayed = 0;
        for (const CDivisionDatabase* pDivision : H().GetCountryFromID(1)->GetDivisions().Items<CDivisionDatabase>())
            for (const CDivisionFixturesDatabase* p : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
                nPlayed += p->IsPlayed();
        EXPECT_GT(nPlayed, 0);
        for (const CCupFixturesDatabase* p : H().GetCountryFromID(1)->GetCupFixtures().Items<CCupFixturesDatabase>())
            nPlayed += p->IsPlayed();
        EXPECT_EQ(nRecords, nPlayed) << "every record kept for the flush that could write it";
    }
}

struct MeetingsCase {
    uint8_t byRule;
    int nMeetings;
};

TEST_F(WorkingFiles, DivisionHistoryStaysInItsBlockForEveryMeetingsRule)
{
    CDivisionDatabase* pDivision = H().GetDivisionFromID(5);  // ten clubs
    ASSERT_NE(pDivision, nullptr);
    ASSERT_EQ(pDivision->GetClubCount(), 10);
    for (const MeetingsCase& c : {MeetingsCase{3, 1}, MeetingsCase{2, 3}, MeetingsCase{0, 2}, MeetingsCase{1, 4}}) {
        SCOPED_TRACE("rule " + std::to_string(c.byRule));
        for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
            pClub->m_HomeRow = pClub->m_AwayRow = CLUBLEAGUEROW();
        pDivision->m_byMeetingsRule = c.byRule;
        H().SetGameDate(CDate(1999, 7, 1));
        pDivision->GenerateLeagueFixtures();
        ASSERT_TRUE(pDivision->CreateDivisionHistory());
        const int nGames = pDivision->m_nGamesPerClub;
        ASSERT_EQ(nGames, 9 * c.nMeetings);
        std::vector<CDate> dates;
        for (const CDivisionFixturesDatabase* p : pDivision->m_lstFixtures.Items<CDivisionFixturesDatabase>())
            if (dates.empty() || dates.back() != p->GetDate())
                dates.push_back(p->GetDate());
        ASSERT_EQ(static_cast<int>(dates.size()), nGames);
        for (const CDate& date : dates) {
            H().SetGameDate(date);
            pDivision->PostLeagueResults(date, nullptr);
            H().SetGameDate(CDate(date.GetValue(), 1));
            ASSERT_TRUE(pDivision->WriteDivisionHistory());
        }
        ASSERT_TRUE(pDivision->FlushHistoryFiles());
        const std::string file = ReadFile(pDivision->GetHistoryFileName());
        ASSERT_EQ(static_cast<int64_t>(file.size()), pDivision->GetHistoryFileBytes());
        ASSERT_EQ(file.size(), static_cast<size_t>(10 * nGames * 24));
        int nClub = 0;
        for (const CClubDatabase* pClub : pDivision->m_lstClubsByID.Items<CClubDatabase>()) {
            for (int k = 0; k < nGames; ++k) {
                const size_t at = static_cast<size_t>((nGames * nClub + k) * 24);
                EXPECT_NE(Get(file, at, 4), 0u) << "club " << pClub->m_wClubId << " match day " << k + 1;
                EXPECT_EQ(Get(file, at + 8, 1) + Get(file, at + 9, 1), static_cast<uint32_t>(k + 1));
            }
            EXPECT_EQ(Get(file, static_cast<size_t>((nGames * nClub + nGames - 1) * 24) + 20, 1), pClub->m_byPoints);
            ++nClub;
        }
    }
}

}  // namespace
