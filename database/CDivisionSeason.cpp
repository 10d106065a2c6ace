// The division's part of the season turnover: final places, promotion and
// relegation with the parent and reserve club rule, the archive records, the
// season's history files and the monthly awards.
#include "database/CDivisionDatabase.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CHistoryEntries.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/SeasonArchiveRecords.h"
#include "platform/Files.h"
#include "platform/SafeFile.h"
#include "platform/Random.h"
#include "season/CGroundDatabase.h"
#include "season/CNewspaperStoryList.h"

namespace {

constexpr int kClubHistoryBytes = CLUB_RATING_COUNT;
constexpr int kClubHistorySets = 52;
constexpr int kPeriodNoPoints = -32000;
constexpr int kStoryPromotionRace = 320;
constexpr int kStoryRelegationRace = 321;

// Appends a club id to the first free slot of a list of the archive record;
// a full list keeps its four.
void AppendArchiveClub(DIVISIONARCHIVERECORD* pRecord, int nOffset, ID_CLUB idClub)
{
    if (pRecord && !::AppendArchiveClub(pRecord->abyData + nOffset, division_archive::kClubSlots, idClub))
        DebugLog(1, "[CDivisionDatabase] Archive list at %d is full: club %u not recorded", nOffset, idClub);
}

// Drops the first nBytes of the file and keeps the rest; a file shorter
// than that is emptied.
bool DropFileHead(const std::string& name, int64_t nBytes)
{
    std::vector<uint8_t> bytes;
    if (!plat::readWholeFile(name, bytes))
        bytes.clear();
    size_t nSkip = nBytes < 0 ? 0 : static_cast<size_t>(nBytes);
    if (nSkip > bytes.size())
        nSkip = bytes.size();
    return plat::writeWholeFile(name, bytes.data() + nSkip, bytes.size() - nSkip);
}

// The size of the first block of a file of u32-counted blocks of records of
// nRecordBytes; -1 when the file holds no whole first block.
int64_t FirstCountedBlockBytes(const std::string& name, int nRecordBytes)
{
    FILE* pFile = plat::openFile(name, "rb");
    if (!pFile)
        return -1;
    CBinaryReader reader(pFile);
    uint32_t dwCount = 0;
    int64_t nBytes = -1;
    if (reader.ReadU32(dwCount) && reader.CheckCount(dwCount, static_cast<uint64_t>(nRecordBytes)))
        nBytes = 4 + static_cast<int64_t>(dwCount) * nRecordBytes;
    std::fclose(pFile);
    return nBytes;
}

// Writes one u32-counted block of records to the end of the file, dropping
// the oldest block first when bDropOldest. A damaged archive is started
// again rather than read past its end.
template <typename T>
bool AppendCountedBlock(const std::string& name, int nRecordBytes, bool bDropOldest, const CXList& records)
{
    if (plat::fileExists(name) && bDropOldest) {
        const int64_t nFirst = FirstCountedBlockBytes(name, nRecordBytes);
        if (nFirst < 0)
            DebugLog(1, "[CDivisionDatabase] %s is damaged: started again", name.c_str());
        if (!DropFileHead(name, nFirst < 0 ? INT64_MAX : nFirst))
            return false;
    }
    if (!AppendCountedRecords<T>(name, records, static_cast<size_t>(nRecordBytes))) {
        DebugLog(0, "[CDivisionDatabase] Could not write %s", name.c_str());
        return false;
    }
    return true;
}

constexpr int kClubSummaryBytes = 364;

// A club's season summary: cup runs, records, fees, form, statistics, gate,
// money and its league row, as the club screens read it back.
void WriteClubSeasonSummary(CBinaryWriter& writer, const CClubDatabase& club)
{
    for (const CLUBCUPSTATUS& status : club.m_aCupStatus) {
        writer.WriteU8(status.byStage);
        writer.WriteU8(status.byRound);
    }
    writer.WriteZeros(2);
    for (const CLUBRECORDENTRY& entry : club.m_aSeasonClubRecords) {
        writer.WriteI32(entry.nData1);
        writer.WriteI32(entry.nData2);
        writer.WriteI32(entry.nMeasure);
    }
    for (const CLUBFEERECORD& fee : club.m_aFeeRecords) {
        writer.WriteI32(fee.idPlayer);
        writer.WriteI32(fee.idClub);
        writer.WriteI32(fee.nAmount);
    }
    for (const auto& runs : club.m_abyResultRuns)
        writer.WriteBytes(runs, sizeof(runs));
    writer.WriteBytes(club.m_abySeasonStatistics, sizeof(club.m_abySeasonStatistics));
    writer.WriteI32(club.m_nSeasonResult);
    writer.WriteU16(club.m_wSeasonResult);
    writer.WriteI32(club.m_SeasonAttendance.nAverage);
    writer.WriteI32(club.m_SeasonAttendance.nHighest);
    writer.WriteI32(club.m_SeasonAttendance.nLowest);
    writer.WriteU16(club.m_SeasonAttendance.wHighestOpponent);
    writer.WriteU16(club.m_SeasonAttendance.wLowestOpponent);
    writer.WriteI32(club.m_nSquadValue);
    writer.WriteI32(club.m_nYouthValue);
    for (int i = 0; i < 3; ++i)
        writer.WriteI32(club.m_pGround ? club.m_pGround->GetTotal(i) : 0);
    writer.WriteI32(club.m_nBankBalance);
    writer.WriteI32(club.m_pGround ? club.m_pGround->GetCapacity() : 0);
    writer.WriteU16(club.m_wClubId);
    writer.WriteU16(club.m_wManagerId);
    const CLUBLEAGUEROW& home = club.m_HomeRow;
    const CLUBLEAGUEROW& away = club.m_AwayRow;
    const int anRow[6] = {home.byPlayed + away.byPlayed, home.byWon + away.byWon,
                          home.byDrawn + away.byDrawn,   home.byLost + away.byLost,
                          home.byGoalsFor + away.byGoalsFor, home.byGoalsAgainst + away.byGoalsAgainst};
    for (int nValue : anRow)
        writer.WriteU8(static_cast<uint8_t>(nValue > 255 ? 255 : nValue));
    writer.WriteU8(club.m_byPoints);
    writer.WriteU8(club.m_byLeaguePosition);
    // The season's best and worst places and the place before the last match
    // day, which the club screen shows beside the final one.
    writer.WriteU8(club.m_byBestPosition);
    writer.WriteU8(club.m_byWorstPosition);
    writer.WriteU8(club.m_byPreviousPosition);
    writer.WriteU8(club.m_byTargetKind);
    writer.WriteU8(club.m_byDivisionId);
    writer.WriteZeros(3);
}

template <typename T>
void FreeRecords(CXList& list)
{
    while (!list.IsEmpty())
        delete static_cast<T*>(list.RemoveHead());
}

}  // namespace

// ---- links, archive records and final places ----

CClubDatabase* CDivisionDatabase::GetLinkedClub(const CClubDatabase* pClub, int nLinkType)
{
    if (!pClub)
        return nullptr;
    switch (nLinkType) {
    case 1: {
        // A club renting its ground plays as the reserve of the owner that shares it.
        if (pClub->m_byGroundOwnership != CLUB_GROUND_RENTED || !m_pDatabaseHandler)
            return nullptr;
        const CGroundDatabase* pGround = pClub->m_pGround;
        CClubDatabase* pOwner = pGround ? pGround->GetOwner() : nullptr;
        return pOwner && pOwner != pClub && pOwner->m_byGroundOwnership == CLUB_GROUND_SHARED ? pOwner : nullptr;
    }
    case 2:
        return pClub->m_pTenant != pClub ? pClub->m_pTenant : nullptr;
    default:
        DebugLog(1, "[CClubDatabase::GetLinkedClubs] Unknown linked club type!");
        return nullptr;
    }
}

void CDivisionDatabase::RecordSeasonEndPlaces()
{
    int nIndex = 0;
    for (CClubDatabase* pClub : m_lstClubsByTable.Items<CClubDatabase>()) {
        pClub->m_byTargetDivision = m_byDivisionId;
        pClub->m_byTargetPosition = static_cast<uint8_t>(nIndex++);
    }
}

DIVISIONARCHIVERECORD* CDivisionDatabase::AddSeasonArchiveRecord(uint8_t byKey, int nKeep)
{
    auto* pRecord = new DIVISIONARCHIVERECORD;
    pRecord->abyData[division_archive::kDivision] = m_byDivisionId;
    pRecord->abyData[division_archive::kKey] = byKey;
    m_lstSeasonArchive.AddTail(pRecord);
    while (nKeep > 0 && m_lstSeasonArchive.GetCount() > nKeep)
        delete static_cast<DIVISIONARCHIVERECORD*>(m_lstSeasonArchive.RemoveHead());
    return pRecord;
}

void CDivisionDatabase::FillSeasonArchive(DIVISIONARCHIVERECORD& archive, uint8_t* pTopList) const
{
    namespace layout = division_archive;
    for (const CClubDatabase* pClub : m_lstClubsByTable.Items<CClubDatabase>())
        pClub->AddToSeasonArchive(pTopList, archive);
    if (!m_pDatabaseHandler)
        return;
    auto player = [this](const uint8_t* pEntry) {
        return m_pDatabaseHandler->GetPlayerFromID(PERSONREFERENCE::Load(pEntry).dwSecond);
    };
    for (int i = 0; i < layout::kElevenPlaces; ++i)
        if (const CPlayerDatabase* pPlayer = player(archive.abyData + layout::kEleven + i * PERSONREFERENCE::BYTES))
            pPlayer->AnnounceToClub(1);
    if (const CPlayerDatabase* pPlayer = player(archive.abyData + layout::kTopScorer))
        pPlayer->AnnounceToClub(0);
    const uint32_t idManager = PERSONREFERENCE::Load(archive.abyData + layout::kManager).dwFirst;
    if (const CManagerDatabase* pManager =
            idManager ? m_pDatabaseHandler->GetManagerFromID(static_cast<ID_MANAGER>(idManager)) : nullptr)
        pManager->AnnounceToOwnManager();
}

DIVISIONARCHIVERECORD* CDivisionDatabase::GetNewestArchiveRecord() const
{
    const LPXLISTNODE pTail = m_lstSeasonArchive.GetTail();
    return pTail ? static_cast<DIVISIONARCHIVERECORD*>(pTail->pData) : nullptr;
}

// ---- moving clubs ----

bool CDivisionDatabase::RemoveClub(CClubDatabase* pClub)
{
    const LPXLISTNODE pTable = m_lstClubsByTable.Find(pClub);
    const LPXLISTNODE pByID = m_lstClubsByID.Find(pClub);
    if (!pTable || !pByID) {
        DebugLog(1, "[CDivisionDatabase::RemoveClub] %s is not in %s", pClub ? pClub->GetName() : "No club",
                 m_szName);
        return false;
    }
    m_lstClubsByTable.Remove(pTable);
    m_lstClubsByID.Remove(pByID);
    m_nClubCount = m_lstClubsByTable.GetCount();
    return true;
}

int CDivisionDatabase::AddClub(CClubDatabase* pClub)
{
    if (!pClub)
        return 1;
    int nResult = 0;
    // Walk a copy: a reserve club sent down leaves the list.
    std::vector<CClubDatabase*> members;
    for (CClubDatabase* pMember : m_lstClubsByTable.Items<CClubDatabase>())
        members.push_back(pMember);
    for (CClubDatabase* pMember : members) {
        if (GetLinkedClub(pMember, 2) == pClub) {
            DebugLog(2, "AddClub() Cant Add Club %s, because parent team %s is in the division %s", pClub->GetName(),
                     pMember->GetName(), m_szName);
            return 1;
        }
        if (GetLinkedClub(pMember, 1) != pClub)
            continue;
        CDivisionDatabase* pBelow = GetNeighbourDivision(1);
        if (pBelow) {
            RemoveClub(pMember);
            pBelow->AppendClub(pMember);
            ++pBelow->m_byAutomaticPromotions;
            AppendArchiveClub(GetNewestArchiveRecord(), division_archive::kRelegated, pMember->m_wClubId);
            // The reserve club's human manager (news, and the sack in the
            // pool) is told by the human manager record.
        }
        else
            DebugLog(2, "AddClub - A and B team are in the 'bottom other' division");
        DebugLog(2, "AddClub() Added Club %s, relegated child team %s because of division clash %s", pClub->GetName(),
                 pMember->GetName(), m_szName);
        nResult = 2;
    }
    AppendClub(pClub);
    return nResult;
}

void CDivisionDatabase::PromoteClubs(DIVISIONARCHIVERECORD* pRecord)
{
    CDivisionDatabase* pAbove = GetNeighbourDivision(-1);
    if (!pAbove) {
        if (const LPXLISTNODE pHead = m_lstClubsByTable.GetHead())
            AppendArchiveClub(pRecord, division_archive::kPromoted, static_cast<CClubDatabase*>(pHead->pData)->m_wClubId);
        if (m_byPromotionZone + m_byPlayOffPromotions > 0)
            DebugLog(1, "Promotion has been specified but is not possible from this division!  Division ID is %d",
                     m_byDivisionId);
        return;
    }
    int nPromoted = 0;
    auto offerUp = [&](CClubDatabase* pClub) {
        RemoveClub(pClub);
        if (pAbove->AddClub(pClub) == 1) {
            AppendClub(pClub);
            return false;
        }
        AppendArchiveClub(pRecord, division_archive::kPromoted, pClub->m_wClubId);
        ++nPromoted;
        return true;
    };

    if (m_byKind != DIVISION_KIND_BOTTOM_OTHER) {
        std::vector<CClubDatabase*> table;
        for (CClubDatabase* pClub : m_lstClubsByTable.Items<CClubDatabase>())
            table.push_back(pClub);
        for (CClubDatabase* pClub : table) {
            if (nPromoted >= m_byAutomaticPromotions)
                break;
            // A club that came in during this turnover stays put.
            if (pClub->m_byTargetDivision == m_byDivisionId)
                offerUp(pClub);
        }
        if (m_pPlayOff)
            for (int k = 0; k < m_byPlayOffPromotions && k < static_cast<int>(m_pPlayOff->Entries.size()); ++k) {
                CClubDatabase* pClub = GetClubFromID(static_cast<ID_CLUB>(m_pPlayOff->Entries[k].idClub));
                if (pClub && pClub->m_byTargetDivision == m_byDivisionId)
                    offerUp(pClub);
            }
    }
    else {
        // Random draws from the clubs that can go up; each club is offered
        // once, so the loop ends when nobody can be promoted.
        std::vector<CClubDatabase*> candidates;
        for (CClubDatabase* pClub : m_lstClubsByTable.Items<CClubDatabase>())
            if (!GetLinkedClub(pClub, 1) && pClub->m_byTargetDivision == m_byDivisionId)
                candidates.push_back(pClub);
        while (nPromoted < m_byAutomaticPromotions && !candidates.empty()) {
            const size_t nPick = static_cast<size_t>(plat::rand()) % candidates.size();
            CClubDatabase* pClub = candidates[nPick];
            candidates.erase(candidates.begin() + static_cast<long>(nPick));
            offerUp(pClub);
        }
        if (nPromoted < m_byAutomaticPromotions)
            DebugLog(1, "[CDivisionDatabase::PromoteClubs] %s could promote only %d of %d clubs", m_szName, nPromoted,
                     m_byAutomaticPromotions);
    }
    pAbove->SortLeagueTable(false);
    pAbove->SortClubsByID();
}

void CDivisionDatabase::RelegateClubs(DIVISIONARCHIVERECORD* pRecord)
{
    CDivisionDatabase* pBelow = GetNeighbourDivision(1);
    if (!pBelow) {
        if (m_byRelegationZone + m_byPlayOffRelegations > 0)
            DebugLog(1, "Relegation has been specified but is not possible from this division!  Division ID is %d",
                     m_byDivisionId);
        return;
    }
    std::vector<CClubDatabase*> table;
    for (CClubDatabase* pClub : m_lstClubsByTable.Items<CClubDatabase>())
        table.insert(table.begin(), pClub);
    int nRelegated = 0;
    for (CClubDatabase* pClub : table) {
        if (nRelegated >= m_byAutomaticRelegations)
            break;
        if (pClub->m_byTargetDivision != m_byDivisionId)
            continue;
        RemoveClub(pClub);
        pBelow->AddClub(pClub);
        AppendArchiveClub(pRecord, division_archive::kRelegated, pClub->m_wClubId);
        ++nRelegated;
    }
}

void CDivisionDatabase::DoPromotionAndRelegation()
{
    DIVISIONARCHIVERECORD* pRecord = GetNewestArchiveRecord();
    PromoteClubs(pRecord);
    // A club refused above went back at the foot of the list; the walk from
    // the bottom must find it at its real place, not relegate it.
    SortLeagueTable(false);
    RelegateClubs(pRecord);
    SortLeagueTable(false);
    SortClubsByID();
    if (m_pPlayOff)
        ResetPlayOff();
}

// ---- the new season ----

bool CDivisionDatabase::StartDivisionSeason()
{
    for (CClubDatabase* pClub : m_lstClubsByTable.Items<CClubDatabase>()) {
        pClub->m_HomeRow = CLUBLEAGUEROW();
        pClub->m_AwayRow = CLUBLEAGUEROW();
        pClub->m_byLeaguePosition = 0;
        pClub->m_byPoints = 0;
        pClub->m_byBestPosition = 0;
        pClub->m_byWorstPosition = 0;
        pClub->m_byPreviousPosition = 0;
        pClub->m_awResultTotals[0] = pClub->m_awResultTotals[1] = 0;
        pClub->m_byTargetPosition = 0;
        pClub->m_byTargetDivision = 0;
        pClub->m_wSeasonCounter2 = 0;
        pClub->m_wSeasonCounter3 = 0;
    }
    FreeFixtures();
    m_NextMatchDate = CDate();
    m_byTableChanged = 0;
    SortLeagueTable(true);
    return CreateDivisionHistory();
}

// ---- history files ----

std::string CDivisionDatabase::GetClubHistoryFileName() const
{
    return "TempDivision" + std::to_string(m_byDivisionId) + ".chs";
}

bool CDivisionDatabase::WriteClubHistory()
{
    SortLeagueTable(true);
    const std::string name = GetClubHistoryFileName();
    const int64_t nSet = static_cast<int64_t>(GetClubCount()) * kClubHistoryBytes;
    if (nSet == 0)
        return true;
    // Kept in memory and written whole when the working files are flushed; a
    // missing file starts empty.
    if (!m_ClubHistoryFile.IsOpen() || m_ClubHistoryFile.GetName() != name)
        m_nClubHistoryPushedOut = 0;
    m_ClubHistoryFile.Open(name, 0);
    std::vector<uint8_t>& bytes = m_ClubHistoryFile.GetBytes();
    // A full year of sets pushes out the oldest.
    if (static_cast<int64_t>(bytes.size() - m_nClubHistoryPushedOut) >= nSet * kClubHistorySets)
        m_nClubHistoryPushedOut += static_cast<size_t>(nSet);
    if (static_cast<int64_t>(m_nClubHistoryPushedOut) >= nSet * kClubHistorySets)
        DropPushedOutClubHistory();
    m_ClubHistoryFile.MarkChanged();
    CBinaryWriter writer(bytes);
    for (const CClubDatabase* pClub : m_lstClubsByID.Items<CClubDatabase>()) {
        const CLUBRATINGS ratings = GetClubRatings(*pClub);
        for (int nRating : ratings.anRating)
            writer.WriteU8(static_cast<uint8_t>(nRating));
    }
    return true;
}

void CDivisionDatabase::DropPushedOutClubHistory()
{
    if (m_nClubHistoryPushedOut == 0)
        return;
    std::vector<uint8_t>& bytes = m_ClubHistoryFile.GetBytes();
    bytes.erase(bytes.begin(),
                bytes.begin() + static_cast<std::ptrdiff_t>(std::min(m_nClubHistoryPushedOut, bytes.size())));
    m_nClubHistoryPushedOut = 0;
}

CLUBRATINGS CDivisionDatabase::GetClubRatings(const CClubDatabase& club)
{
    const CManagerDatabase* pManager = club.m_wManagerId ? club.GetManager() : nullptr;
    return CLUBRATINGS{{static_cast<int8_t>(club.m_byFinancialStability), club.m_byReputation, club.m_bySupportLevel,
                        club.m_bySupportExtra, club.m_byAverageRating, club.m_byAveragePotential,
                        club.m_byAverageMorale, pManager ? pManager->m_byAbility : 0, club.m_nBoardConfidence,
                        club.m_nFanConfidence}};
}

std::vector<CLUBRATINGS> CDivisionDatabase::ReadClubHistory(const CClubDatabase& club)
{
    std::vector<CLUBRATINGS> weeks;
    // The sets list the clubs in id order.
    int nSlot = 0;
    for (const CClubDatabase* pClub : m_lstClubsByID.Items<CClubDatabase>()) {
        if (pClub == &club)
            break;
        ++nSlot;
    }
    const int nClubs = m_lstClubsByID.GetCount();
    if (nSlot >= nClubs)
        return weeks;
    const std::string name = GetClubHistoryFileName();
    if (!m_ClubHistoryFile.IsOpen() || m_ClubHistoryFile.GetName() != name)
        m_nClubHistoryPushedOut = 0;
    m_ClubHistoryFile.Open(name, 0);
    DropPushedOutClubHistory();
    const std::vector<uint8_t>& bytes = m_ClubHistoryFile.GetBytes();
    const size_t nSet = static_cast<size_t>(nClubs) * kClubHistoryBytes;
    for (size_t nAt = 0; nAt + nSet <= bytes.size(); nAt += nSet) {
        const uint8_t* pRecord = bytes.data() + nAt + static_cast<size_t>(nSlot) * kClubHistoryBytes;
        CLUBRATINGS week;
        for (int i = 0; i < kClubHistoryBytes; ++i)
            week.anRating[i] = pRecord[i];
        for (int i : {0, 8, 9})
            week.anRating[i] = static_cast<int8_t>(pRecord[i]);
        weeks.push_back(week);
    }
    return weeks;
}

bool CDivisionDatabase::WriteScheduleHistory(int nSeasonIndex, int nSeasons)
{
    // The clubs' season summaries in table order, then the fixtures.
    const std::string clubs = "TempClubDivision" + std::to_string(m_byDivisionId) + ".shs";
    if (nSeasonIndex > nSeasons && plat::fileExists(clubs) &&
        !DropFileHead(clubs, static_cast<int64_t>(GetClubCount()) * kClubSummaryBytes))
        DebugLog(0, "[CDivisionDatabase::WriteScheduleHistory] Could not rewrite %s", clubs.c_str());
    // Each file's records are gathered in memory and appended in one write,
    // not one small write a field.
    CWorkingFileAppends summaries;
    summaries.Touch();
    {
        CBinaryWriter writer(summaries.GetBytes(), CBinaryWriter::Staged::Yes);
        for (const CClubDatabase* pClub : m_lstClubsByTable.Items<CClubDatabase>())
            WriteClubSeasonSummary(writer, *pClub);
    }
    if (!summaries.Flush(clubs))
        DebugLog(0, "[CDivisionDatabase::WriteScheduleHistory] Could not write %s", clubs.c_str());

    const std::string name = "TempDivision" + std::to_string(m_byDivisionId) + ".shs";
    if (nSeasonIndex > nSeasons && plat::fileExists(name) &&
        !DropFileHead(name, static_cast<int64_t>(m_lstFixtures.GetCount()) * CDivisionFixturesDatabase::FILE_SIZE)) {
        DebugLog(0, "[CDivisionDatabase::WriteScheduleHistory] Could not rewrite %s", name.c_str());
        return false;
    }
    CWorkingFileAppends fixtures;
    fixtures.Touch();
    {
        CBinaryWriter writer(fixtures.GetBytes(), CBinaryWriter::Staged::Yes);
        for (const CDivisionFixturesDatabase* pFixture : m_lstFixtures.Items<CDivisionFixturesDatabase>())
            pFixture->Save(writer);
    }
    if (!fixtures.Flush(name)) {
        DebugLog(0, "[CDivisionDatabase::WriteScheduleHistory] Could not write %s", name.c_str());
        return false;
    }
    return true;
}

std::vector<CDivisionFixturesDatabase> CDivisionDatabase::ReadScheduleHistory(const CDate& from,
                                                                             const CDate& before) const
{
    std::vector<CDivisionFixturesDatabase> fixtures;
    std::vector<uint8_t> bytes;
    const std::string name = "TempDivision" + std::to_string(m_byDivisionId) + ".shs";
    if (!plat::readWholeFile(name, bytes))
        return fixtures;
    if (bytes.size() % CDivisionFixturesDatabase::FILE_SIZE != 0)
        DebugLog(1, "[CDivisionDatabase::ReadScheduleHistory] %s ends in a part record", name.c_str());
    CBinaryReader reader(bytes);
    for (size_t n = bytes.size() / CDivisionFixturesDatabase::FILE_SIZE; n > 0; --n) {
        CDivisionFixturesDatabase fixture;
        if (!fixture.Load(reader)) {
            DebugLog(1, "[CDivisionDatabase::ReadScheduleHistory] %s is damaged: the rest is left out", name.c_str());
            break;
        }
        if (!(fixture.GetDate() < from) && fixture.GetDate() < before)
            fixtures.push_back(fixture);
    }
    return fixtures;
}

void CDivisionDatabase::AddTransferRecord(const TRANSFERHISTORYVALUES& values)
{
    auto* pEntry = new CTransferHistoryEntry;
    pEntry->Set(values);
    m_lstSeasonTransfers.AddTail(pEntry);
    ++m_nTransferCount;
}

void CDivisionDatabase::AddLoanRecord(const LOANHISTORYVALUES& values)
{
    auto* pEntry = new CLoanHistoryEntry;
    pEntry->Set(values);
    m_lstSeasonLoans.AddTail(pEntry);
    ++m_nLoanCount;
}

const LOANHISTORYVALUES* CDivisionDatabase::FindSeasonLoan(uint32_t idPlayer, ID_CLUB idBorrower) const
{
    const LOANHISTORYVALUES* pLatest = nullptr;
    for (const CLoanHistoryEntry* p : m_lstSeasonLoans.Items<CLoanHistoryEntry>())
        if (p->Get().dwValue == idPlayer && p->Get().awValues[1] == idBorrower)
            pLatest = &p->Get();
    return pLatest;
}

bool CDivisionDatabase::ArchiveTransfers(int nSeasonIndex, int nSeasons)
{
    const bool bDrop = nSeasonIndex > nSeasons;
    const std::string id = std::to_string(m_byDivisionId);
    bool bOk = AppendCountedBlock<CTransferHistoryEntry>("temp" + id + ".ths", CTransferHistoryEntry::FILE_SIZE, bDrop,
                                                         m_lstSeasonTransfers);
    bOk = AppendCountedBlock<CLoanHistoryEntry>("temp" + id + ".lhs", CLoanHistoryEntry::FILE_SIZE, bDrop,
                                                m_lstSeasonLoans) &&
          bOk;
    if (!bOk)
        DebugLog(0, "[CDivisionDatabase::ArchiveTransfers] %s: the season's transfers were not all archived",
                 m_szName);
    FreeRecords<CTransferHistoryEntry>(m_lstSeasonTransfers);
    FreeRecords<CLoanHistoryEntry>(m_lstSeasonLoans);
    m_nTransferCount = 0;
    m_nLoanCount = 0;
    return bOk;
}

namespace {

// The blocks of a file of u32-counted blocks of records, oldest first; a
// block cut short or with an impossible count ends the reading (logged).
template <typename T, typename V>
std::vector<std::vector<V>> ReadCountedBlocks(const std::string& name, int nRecordBytes)
{
    std::vector<std::vector<V>> blocks;
    FILE* pFile = plat::openFile(name, "rb");
    if (!pFile)
        return blocks;
    CBinaryReader reader(pFile);
    while (reader.Remaining() > 0) {
        uint32_t dwCount = 0;
        if (!reader.ReadU32(dwCount) || !reader.CheckCount(dwCount, static_cast<uint64_t>(nRecordBytes))) {
            DebugLog(1, "[CDivisionDatabase] %s is damaged after %zu seasons", name.c_str(), blocks.size());
            break;
        }
        std::vector<V> records;
        records.reserve(dwCount);
        T entry;
        for (uint32_t i = 0; i < dwCount && entry.Load(reader); ++i)
            records.push_back(entry.Get());
        if (records.size() != dwCount) {
            DebugLog(1, "[CDivisionDatabase] %s is cut short after %zu seasons", name.c_str(), blocks.size());
            break;
        }
        blocks.push_back(std::move(records));
    }
    std::fclose(pFile);
    return blocks;
}

// The records of one season: the running season's from the list, a closed
// one's from the archive, which holds one block for each closed season it
// keeps, oldest first.
template <typename T, typename V>
std::vector<V> SeasonRecords(const CDivisionDatabase& division, const CXList& running, const char* pszExtension,
                             int nRecordBytes, int nSeasonYear)
{
    std::vector<V> records;
    const CCountryDatabase* pCountry = division.m_pCountry;
    const int nRunningYear = pCountry ? pCountry->GetSeasonYear() : nSeasonYear;
    if (nSeasonYear >= nRunningYear) {
        for (const T* pEntry : running.Items<T>())
            records.push_back(pEntry->Get());
        return records;
    }
    const int nClosed = pCountry->GetSeasonIndex() - 1;
    const int nFirstKept = nRunningYear - std::min(nClosed, pCountry->GetSeasonsKept());
    if (nSeasonYear < nFirstKept)
        return records;
    const std::string name = "temp" + std::to_string(division.m_byDivisionId) + pszExtension;
    std::vector<std::vector<V>> blocks = ReadCountedBlocks<T, V>(name, nRecordBytes);
    const size_t nBlock = static_cast<size_t>(nSeasonYear - nFirstKept);
    if (nBlock < blocks.size())
        records = std::move(blocks[nBlock]);
    return records;
}

}  // namespace

std::vector<TRANSFERHISTORYVALUES> CDivisionDatabase::GetSeasonTransfers(int nSeasonYear) const
{
    return SeasonRecords<CTransferHistoryEntry, TRANSFERHISTORYVALUES>(*this, m_lstSeasonTransfers, ".ths",
                                                                       CTransferHistoryEntry::FILE_SIZE, nSeasonYear);
}

std::vector<LOANHISTORYVALUES> CDivisionDatabase::GetSeasonLoans(int nSeasonYear) const
{
    return SeasonRecords<CLoanHistoryEntry, LOANHISTORYVALUES>(*this, m_lstSeasonLoans, ".lhs",
                                                               CLoanHistoryEntry::FILE_SIZE, nSeasonYear);
}

// ---- monthly awards ----

bool CDivisionDatabase::IsStoryDue(int nStoryCode) const
{
    if (nStoryCode == 0)
        return true;
    if (nStoryCode != kStoryPromotionRace && nStoryCode != kStoryRelegationRace)
        return false;
    const int nEndMonth = GetEndMonth();
    if (m_byKind != DIVISION_KIND_LEAGUE || nEndMonth <= 2 || !m_pDatabaseHandler)
        return false;
    return m_pDatabaseHandler->GetGameDate().GetMonth() == nEndMonth - 2;
}

void CDivisionDatabase::ProcessAwards(uint8_t byFinance)
{
    int64_t nBestManager = 0;
    int nBestPlayer = 0;
    CManagerDatabase* pChosenManager = nullptr;
    CPlayerDatabase* pChosenPlayer = nullptr;
    for (CClubDatabase* pClub : m_lstClubsByTable.Items<CClubDatabase>()) {
        CManagerDatabase* pManager = pClub->m_wManagerId ? pClub->GetManager() : nullptr;
        if (pManager && static_cast<int64_t>(pManager->m_dwSeasonValueA) > nBestManager) {
            nBestManager = pManager->m_dwSeasonValueA;
            pChosenManager = pManager;
        }
        if (pClub->m_wSeasonCounter3 > nBestPlayer && m_pDatabaseHandler) {
            if (CPlayerDatabase* pPlayer =
                    m_pDatabaseHandler->GetPlayerFromID(static_cast<ID_PLAYER>(pClub->m_nSeasonCounter4))) {
                pChosenPlayer = pPlayer;
                nBestPlayer = pClub->m_wSeasonCounter3;
            }
        }
        // The club's monthly step starts the next period's counters, so the
        // month's points are read before it.
        pClub->ClubMonthlyStep(byFinance != 0);
    }
    if (m_bySeasonStarted) {
        if (pChosenPlayer)
            pChosenPlayer->RecordSeasonEvent();
        m_nPlayerOfPeriod = pChosenPlayer ? static_cast<int32_t>(pChosenPlayer->m_idPerson) : 0;
        m_nManagerOfPeriod = pChosenManager ? pChosenManager->GetId() : 0;
        if (pChosenPlayer)
            DebugLog(8, "[CDivisionDatabase::ProcessAwards] %s: player of the period %u", m_szName,
                     static_cast<unsigned>(pChosenPlayer->m_idPerson));
    }
    CNewspaperStoryList* pStories = m_pCountry ? m_pCountry->GetNewspaperStories() : nullptr;
    if (pStories)
        pStories->AddBestElevenStory(*this);
    // The eleven was filled by the weeks' postings and is now told; the
    // next period starts from nobody.
    for (DIVISIONPERIODENTRY& entry : m_aEleven) {
        entry.idClub = 0;
        entry.idPlayer = 0;
        entry.nPoints = kPeriodNoPoints;
    }
    if (!pStories || !IsStoryDue(kStoryPromotionRace))
        return;
    const LPXLISTNODE pTop = m_lstClubsByTable.GetHead();
    const LPXLISTNODE pBottom = m_lstClubsByTable.GetTail();
    auto addRace = [&](uint8_t byKind, uint16_t wParameter, const CClubDatabase* pClub, uint8_t byOther) {
        CNewspaperStory* pStory = pStories->AddPendingStory(byKind, wParameter);
        if (!pStory)
            return;
        pStory->SetParameterSlot(4, m_pCountry->GetID());
        pStory->SetParameterSlot(0, pClub->m_wClubId);
        pStory->SetParameterSlot(5, m_byDivisionId);
        pStory->SetParameterSlot(11, byOther);
    };
    if (m_byDivisionNumber != 1 && pTop) {
        const CDivisionDatabase* pAbove = GetNeighbourDivision(-1);
        addRace(4, kStoryPromotionRace, static_cast<CClubDatabase*>(pTop->pData),
                pAbove ? pAbove->m_byDivisionId : m_byDivisionId);
    }
    const int nDivisions = m_pCountry->GetDivisions().GetCount();
    const CDivisionDatabase* pBelow = GetNeighbourDivision(1);
    if (m_byDivisionNumber != nDivisions - 1 && pBelow && pBelow->m_byKind == DIVISION_KIND_LEAGUE && pBottom)
        addRace(5, kStoryRelegationRace, static_cast<CClubDatabase*>(pBottom->pData), pBelow->m_byDivisionId);
}
