#include "database/CDivisionDatabase.h"

#include "common/TextField.h"
#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/CHistoryEntries.h"
#include "database/CPersonDatabase.h"

#include <algorithm>
#include <cstring>
#include <vector>

CDatabaseHandler* CDivisionDatabase::m_pDatabaseHandler = nullptr;

namespace {

// The smallest a club can take on file: its fixed record.
constexpr uint64_t kClubMinBytes = CLUB_RECORD_BYTES;

template <typename T>
std::vector<T*> ListToVector(const CXList& list)
{
    std::vector<T*> items;
    items.reserve(static_cast<size_t>(list.GetCount()));
    for (T* p : list.Items<T>())
        items.push_back(p);
    return items;
}

template <typename T>
void VectorToList(const std::vector<T*>& items, CXList& list)
{
    size_t i = 0;
    for (LPXLISTNODE pNode = list.GetHead(); pNode && i < items.size(); pNode = pNode->pNext)
        pNode->pData = items[i++];
}

bool ReadDateRecord(CBinaryReader& reader, CDate& date, bool& bUnset)
{
    DATERECORD ymd;
    CPersonDatabase::ReadDate(reader, ymd);
    bUnset = ymd.byDay == 0;
    date = bUnset ? CDate() : CDate(ymd.wYear, ymd.byMonth, ymd.byDay);
    return bUnset || date.IsValid();
}

void WriteDateRecord(CBinaryWriter& writer, const CDate& date)
{
    DATERECORD ymd;
    date.GetYMD(ymd);
    CPersonDatabase::WriteDate(writer, ymd);
}

}  // namespace

CDivisionDatabase::CDivisionDatabase() = default;

CDivisionDatabase::~CDivisionDatabase()
{
    FreeAll();
}

void CDivisionDatabase::FreeAll()
{
    for (CClubDatabase* pClub : m_lstClubsByTable.Items<CClubDatabase>())
        delete pClub;
    m_lstClubsByTable.RemoveAll();
    m_lstClubsByID.RemoveAll();
    for (CDivisionFixturesDatabase* p : m_lstFixtures.Items<CDivisionFixturesDatabase>())
        delete p;
    m_lstFixtures.RemoveAll();
    ForgetPostedFixtures();
    for (CTransferHistoryEntry* p : m_lstSeasonTransfers.Items<CTransferHistoryEntry>())
        delete p;
    m_lstSeasonTransfers.RemoveAll();
    for (CLoanHistoryEntry* p : m_lstSeasonLoans.Items<CLoanHistoryEntry>())
        delete p;
    m_lstSeasonLoans.RemoveAll();
    for (DIVISIONARCHIVERECORD* p : m_lstSeasonArchive.Items<DIVISIONARCHIVERECORD>())
        delete p;
    m_lstSeasonArchive.RemoveAll();
    if (m_pPlayOff) {
        DebugLog(8, "Entered Teams Deleted");
        DebugLog(8, "Play Off Entries Deleted");
        DebugLog(8, "Play Off Round Deleted");
        delete m_pPlayOff;
        m_pPlayOff = nullptr;
        DebugLog(8, "Play Off Deleted");
    }
    m_nClubCount = m_nTransferCount = m_nLoanCount = 0;
}

void CDivisionDatabase::SetName(const char* pszName)
{
    CopyTextField(m_szName, sizeof(m_szName), pszName);
}

// ---- file form ----

bool CDivisionDatabase::Load(CBinaryReader& reader, CCountryDatabase* pCountry)
{
    m_pCountry = pCountry;
    uint16_t wFixtureCount = 0;
    uint8_t byClubCount = 0, byArchiveCount = 0;
    bool bStartUnset = false, bEndUnset = false;
    char szName[DIVISION_NAME_BYTES] = {};

    reader.ReadI32(m_MatchRules.nRules);
    reader.ReadU8(m_MatchRules.byLast);
    reader.Skip(3);
    for (DIVISIONPERIODENTRY& entry : m_aEleven) {
        reader.ReadI32(entry.idClub);
        reader.ReadI32(entry.idPlayer);
        reader.ReadI32(entry.nPoints);
    }
    const bool bStartValid = ReadDateRecord(reader, m_SeasonStart, bStartUnset);
    const bool bEndValid = ReadDateRecord(reader, m_SeasonEnd, bEndUnset);
    int32_t nTransfers = 0, nLoans = 0;
    reader.ReadI32(nTransfers);
    reader.ReadI32(nLoans);
    reader.ReadI32(m_nManagerOfPeriod);
    reader.ReadI32(m_nPlayerOfPeriod);
    for (int32_t& n : m_anFigures)
        reader.ReadI32(n);
    reader.ReadU16(wFixtureCount);
    reader.ReadU8(m_bySeasonStarted);
    reader.ReadBytes(szName, sizeof(szName));
    reader.ReadU8(m_byDivisionId);
    reader.ReadU8(m_bySpare1);
    reader.ReadU8(m_byKind);
    reader.ReadU8(m_byDivisionNumber);
    reader.ReadU8(m_bySeasonWeekday);
    reader.ReadU8(m_byMidweekWeekday);
    reader.ReadU8(m_byStartMonth);
    reader.ReadU8(m_byStartWeek);
    reader.ReadU8(m_byEndMonth);
    reader.ReadU8(m_byEndWeek);
    reader.ReadU8(m_byPromotionZone);
    reader.ReadU8(m_byRelegationZone);
    reader.ReadU8(m_bySpare2);
    reader.ReadU8(m_byLowerPlayOffPlaces);
    reader.ReadU8(m_byPlayOffPromotions);
    reader.ReadU8(m_byPlayOffRelegations);
    reader.ReadU8(m_byPlayOffPlaces);
    reader.ReadU8(m_byMeetingsRule);
    reader.ReadU8(m_byGoalValueRule);
    reader.ReadU8(m_bySquadNumbers);
    reader.ReadU8(byClubCount);
    reader.ReadU8(byArchiveCount);
    reader.Skip(2);
    if (reader.Failed()) {
        DebugLog(0, "[CDivisionDatabase::Load] The division record is cut short");
        return false;
    }
    szName[DIVISION_NAME_BYTES - 1] = '\0';
    SetName(szName);

    const char* pszProblem = nullptr;
    if (m_byKind != DIVISION_KIND_LEAGUE && m_byKind != DIVISION_KIND_BOTTOM_OTHER)
        pszProblem = "kind";
    else if (!bStartValid || !bEndValid)
        pszProblem = "season date";
    else if (m_bySeasonWeekday > 6 || m_byMidweekWeekday > 6)
        pszProblem = "weekday";
    else if (m_byStartMonth > 12 || m_byEndMonth > 12 || m_byStartWeek > 5 || m_byEndWeek > 5)
        pszProblem = "season pattern";
    else if (nTransfers < 0 || nLoans < 0)
        pszProblem = "record count";
    if (pszProblem) {
        DebugLog(0, "[CDivisionDatabase::Load] Division %u (%s) has an invalid %s", m_byDivisionId, m_szName,
                 pszProblem);
        reader.Fail();
        return false;
    }
    const uint64_t nFollowing = byClubCount * kClubMinBytes +
                                static_cast<uint64_t>(wFixtureCount) * CDivisionFixturesDatabase::FILE_SIZE +
                                static_cast<uint64_t>(nTransfers) * CTransferHistoryEntry::FILE_SIZE +
                                static_cast<uint64_t>(nLoans) * CLoanHistoryEntry::FILE_SIZE +
                                static_cast<uint64_t>(byArchiveCount) * DIVISION_ARCHIVE_BYTES + 1;
    if (!reader.CheckCount(1, nFollowing)) {
        DebugLog(0, "[CDivisionDatabase::Load] Division %u (%s) counts more records than the file holds",
                 m_byDivisionId, m_szName);
        return false;
    }

    // Unset season dates follow from the weekday rules.
    if (bStartUnset) {
        m_SeasonStart.SetNthWeekday(GetStartMonth(), 1999, m_bySeasonWeekday, m_byStartWeek);
        m_SeasonEnd.SetNthWeekday(GetEndMonth(), GetStartMonth() <= GetEndMonth() ? 1999 : 2000, m_bySeasonWeekday,
                                  m_byEndWeek);
    }

    for (int i = 0; i < byClubCount; ++i) {
        auto* pClub = new CClubDatabase;
        if (!pClub->Load(reader, pCountry, this)) {
            delete pClub;
            DebugLog(0, "[CDivisionDatabase::Load] Division %u (%s): club %d of %d is damaged", m_byDivisionId,
                     m_szName, i + 1, byClubCount);
            return false;
        }
        AppendClub(pClub);
    }

    const CDate today = m_pDatabaseHandler ? m_pDatabaseHandler->GetGameDate() : CDate();
    for (int i = 0; i < wFixtureCount; ++i) {
        auto* pFixture = new CDivisionFixturesDatabase;
        if (!pFixture->Load(reader)) {
            delete pFixture;
            DebugLog(0, "[CDivisionDatabase::Load] Division %u (%s): fixture %d is damaged", m_byDivisionId,
                     m_szName, i + 1);
            return false;
        }
        m_lstFixtures.AddTail(pFixture);
        ForgetPostedFixtures();
    }
    for (int32_t i = 0; i < nTransfers; ++i) {
        auto* pEntry = new CTransferHistoryEntry;
        m_lstSeasonTransfers.AddTail(pEntry);
        if (!pEntry->Load(reader))
            return false;
        ++m_nTransferCount;
    }
    for (int32_t i = 0; i < nLoans; ++i) {
        auto* pEntry = new CLoanHistoryEntry;
        m_lstSeasonLoans.AddTail(pEntry);
        if (!pEntry->Load(reader))
            return false;
        ++m_nLoanCount;
    }
    for (int i = 0; i < byArchiveCount; ++i) {
        auto* pRecord = new DIVISIONARCHIVERECORD;
        m_lstSeasonArchive.AddTail(pRecord);
        if (!reader.ReadBytes(pRecord->abyData, sizeof(pRecord->abyData)))
            return false;
    }

    uint8_t byPlayOff = 0;
    if (!reader.ReadU8(byPlayOff) || byPlayOff > 1) {
        DebugLog(0, "[CDivisionDatabase::Load] Division %u (%s) has a damaged play-off mark", m_byDivisionId,
                 m_szName);
        reader.Fail();
        return false;
    }
    if (byPlayOff) {
        m_pPlayOff = new PLAYOFFRECORD;
        reader.ReadU8(m_pPlayOff->byCurrentRound);
        reader.ReadU8(m_pPlayOff->byEntrantsLeft);
        if (!reader.CheckCount(m_pPlayOff->byEntrantsLeft, 8)) {
            DebugLog(0, "[CDivisionDatabase::Load] Division %u (%s) has a play-off cut short", m_byDivisionId,
                     m_szName);
            return false;
        }
        m_pPlayOff->Entries.resize(m_pPlayOff->byEntrantsLeft);
        for (PLAYOFFENTRY& entry : m_pPlayOff->Entries) {
            reader.ReadU32(entry.idClub);
            reader.ReadI32(entry.nTieGoals);
        }
        if (reader.Failed())
            return false;
    }

    SortFixturesByDate();
    SortClubsByID();
    m_NextMatchDate = FindNextMatchDate(today);
    UpdateGameCounts();
    return true;
}

bool CDivisionDatabase::Save(CBinaryWriter& writer) const
{
    if (m_lstClubsByTable.GetCount() > 0xFF || m_lstFixtures.GetCount() > 0xFFFF ||
        m_lstSeasonArchive.GetCount() > 0xFF) {
        DebugLog(0, "[CDivisionDatabase::Save] Division %u (%s) holds more records than its file form counts",
                 m_byDivisionId, m_szName);
        return false;
    }
    char szName[DIVISION_NAME_BYTES];
    CopyTextField(szName, sizeof(szName), m_szName);

    writer.WriteI32(m_MatchRules.nRules);
    writer.WriteU8(m_MatchRules.byLast);
    writer.WriteZeros(3);
    for (const DIVISIONPERIODENTRY& entry : m_aEleven) {
        writer.WriteI32(entry.idClub);
        writer.WriteI32(entry.idPlayer);
        writer.WriteI32(entry.nPoints);
    }
    WriteDateRecord(writer, m_SeasonStart);
    WriteDateRecord(writer, m_SeasonEnd);
    writer.WriteI32(m_lstSeasonTransfers.GetCount());
    writer.WriteI32(m_lstSeasonLoans.GetCount());
    writer.WriteI32(m_nManagerOfPeriod);
    writer.WriteI32(m_nPlayerOfPeriod);
    for (int32_t n : m_anFigures)
        writer.WriteI32(n);
    writer.WriteU16(static_cast<uint16_t>(m_lstFixtures.GetCount()));
    writer.WriteU8(m_bySeasonStarted);
    writer.WriteBytes(szName, sizeof(szName));
    writer.WriteU8(m_byDivisionId);
    writer.WriteU8(m_bySpare1);
    writer.WriteU8(m_byKind);
    writer.WriteU8(m_byDivisionNumber);
    writer.WriteU8(m_bySeasonWeekday);
    writer.WriteU8(m_byMidweekWeekday);
    writer.WriteU8(m_byStartMonth);
    writer.WriteU8(m_byStartWeek);
    writer.WriteU8(m_byEndMonth);
    writer.WriteU8(m_byEndWeek);
    writer.WriteU8(m_byPromotionZone);
    writer.WriteU8(m_byRelegationZone);
    writer.WriteU8(m_bySpare2);
    writer.WriteU8(m_byLowerPlayOffPlaces);
    writer.WriteU8(m_byPlayOffPromotions);
    writer.WriteU8(m_byPlayOffRelegations);
    writer.WriteU8(m_byPlayOffPlaces);
    writer.WriteU8(m_byMeetingsRule);
    writer.WriteU8(m_byGoalValueRule);
    writer.WriteU8(m_bySquadNumbers);
    writer.WriteU8(static_cast<uint8_t>(m_lstClubsByTable.GetCount()));
    writer.WriteU8(static_cast<uint8_t>(m_lstSeasonArchive.GetCount()));
    writer.WriteZeros(2);

    bool bSaved = true;
    for (const CClubDatabase* pClub : m_lstClubsByTable.Items<CClubDatabase>())
        bSaved = pClub->Save(writer) && bSaved;
    for (const CDivisionFixturesDatabase* p : m_lstFixtures.Items<CDivisionFixturesDatabase>())
        p->Save(writer);
    for (const CTransferHistoryEntry* p : m_lstSeasonTransfers.Items<CTransferHistoryEntry>())
        p->Save(writer);
    for (const CLoanHistoryEntry* p : m_lstSeasonLoans.Items<CLoanHistoryEntry>())
        p->Save(writer);
    for (const DIVISIONARCHIVERECORD* p : m_lstSeasonArchive.Items<DIVISIONARCHIVERECORD>())
        writer.WriteBytes(p->abyData, sizeof(p->abyData));
    writer.WriteU8(m_pPlayOff ? 1 : 0);
    if (m_pPlayOff) {
        writer.WriteU8(m_pPlayOff->byCurrentRound);
        writer.WriteU8(static_cast<uint8_t>(m_pPlayOff->Entries.size()));
        for (const PLAYOFFENTRY& entry : m_pPlayOff->Entries) {
            writer.WriteU32(entry.idClub);
            writer.WriteI32(entry.nTieGoals);
        }
    }
    return bSaved && !writer.Failed();
}

void CDivisionDatabase::SetupPointers()
{
    for (CClubDatabase* pClub : m_lstClubsByTable.Items<CClubDatabase>())
        pClub->SetupPointers();
    for (CDivisionFixturesDatabase* pFixture : m_lstFixtures.Items<CDivisionFixturesDatabase>())
        pFixture->SetupPointers();
}

// ---- clubs and the table ----

void CDivisionDatabase::AppendClub(CClubDatabase* pClub)
{
    if (!pClub)
        return;
    pClub->m_pDivision = this;
    pClub->m_pCountry = m_pCountry;
    pClub->m_byDivisionId = m_byDivisionId;
    m_lstClubsByTable.AddTail(pClub);
    m_lstClubsByID.AddTail(pClub);
    m_nClubCount = m_lstClubsByTable.GetCount();
}

CClubDatabase* CDivisionDatabase::GetClubFromID(ID_CLUB idClub) const
{
    for (CClubDatabase* pClub : m_lstClubsByID.Items<CClubDatabase>())
        if (pClub->m_wClubId == idClub)
            return pClub;
    return nullptr;
}

bool CDivisionDatabase::CompareLeagueRows(const CClubDatabase* pA, const CClubDatabase* pB) const
{
    if (pA->m_byPoints != pB->m_byPoints)
        return pA->m_byPoints > pB->m_byPoints;
    const auto nGoalsA = static_cast<int8_t>(pA->GetGoalValue());
    const auto nGoalsB = static_cast<int8_t>(pB->GetGoalValue());
    if (nGoalsA != nGoalsB)
        return nGoalsA > nGoalsB;
    return std::strcmp(pA->m_szName, pB->m_szName) < 0;
}

void CDivisionDatabase::SortLeagueTable(bool bUpdatePositions)
{
    // A stable sort, so that clubs of equal rank keep their order.
    std::vector<CClubDatabase*> clubs = ListToVector<CClubDatabase>(m_lstClubsByTable);
    std::stable_sort(clubs.begin(), clubs.end(),
                     [this](const CClubDatabase* a, const CClubDatabase* b) { return CompareLeagueRows(a, b); });
    VectorToList(clubs, m_lstClubsByTable);
    if (!bUpdatePositions)
        return;
    uint8_t byPosition = 0;
    for (CClubDatabase* pClub : clubs) {
        ++byPosition;
        pClub->m_byLeaguePosition = byPosition;
        if (pClub->m_byBestPosition == 0 || byPosition < pClub->m_byBestPosition)
            pClub->m_byBestPosition = byPosition;
        if (pClub->m_byWorstPosition == 0 || byPosition > pClub->m_byWorstPosition)
            pClub->m_byWorstPosition = byPosition;
    }
}

void CDivisionDatabase::SortClubsByID()
{
    std::vector<CClubDatabase*> clubs = ListToVector<CClubDatabase>(m_lstClubsByID);
    std::stable_sort(clubs.begin(), clubs.end(),
                     [](const CClubDatabase* a, const CClubDatabase* b) { return a->m_wClubId < b->m_wClubId; });
    VectorToList(clubs, m_lstClubsByID);
}

void CDivisionDatabase::SortFixturesByDate()
{
    std::vector<CDivisionFixturesDatabase*> fixtures = ListToVector<CDivisionFixturesDatabase>(m_lstFixtures);
    std::stable_sort(fixtures.begin(), fixtures.end(),
                     [](const CDivisionFixturesDatabase* a, const CDivisionFixturesDatabase* b) {
                         return a->GetDate() < b->GetDate();
                     });
    VectorToList(fixtures, m_lstFixtures);
    ForgetPostedFixtures();
}

void CDivisionDatabase::UpdateLeagueTableForResult(CClubDatabase* pHome, CClubDatabase* pAway, int nHomeGoals,
                                                   int nAwayGoals)
{
    if (!pHome || !pAway)
        return;
    CLUBLEAGUEROW& home = pHome->m_HomeRow;
    CLUBLEAGUEROW& away = pAway->m_AwayRow;
    ++home.byPlayed;
    ++away.byPlayed;
    if (nHomeGoals > nAwayGoals) {
        ++home.byWon;
        ++away.byLost;
        pHome->m_byPoints = static_cast<uint8_t>(pHome->m_byPoints + 3);
    } else if (nHomeGoals == nAwayGoals) {
        ++home.byDrawn;
        ++away.byDrawn;
        ++pHome->m_byPoints;
        ++pAway->m_byPoints;
    } else {
        ++home.byLost;
        ++away.byWon;
        pAway->m_byPoints = static_cast<uint8_t>(pAway->m_byPoints + 3);
    }
    home.byGoalsFor = static_cast<uint8_t>(home.byGoalsFor + nHomeGoals);
    home.byGoalsAgainst = static_cast<uint8_t>(home.byGoalsAgainst + nAwayGoals);
    away.byGoalsFor = static_cast<uint8_t>(away.byGoalsFor + nAwayGoals);
    away.byGoalsAgainst = static_cast<uint8_t>(away.byGoalsAgainst + nHomeGoals);
}

// ---- rules and questions ----

int CDivisionDatabase::GetMeetings() const
{
    switch (m_byMeetingsRule) {
    case 0:
        return 2;
    case 1:
        return 4;
    case 2:
        return 3;
    default:
        return 1;
    }
}

void CDivisionDatabase::UpdateGameCounts()
{
    const int nClubs = m_lstClubsByTable.GetCount();
    m_nClubCount = nClubs;
    m_nGamesPerClub = nClubs > 0 ? (nClubs - 1) * GetMeetings() : 0;
    m_nClubAppearances = nClubs * m_nGamesPerClub;
}

int CDivisionDatabase::GetLeagueMatchDayCount() const
{
    return m_byKind == DIVISION_KIND_LEAGUE ? m_nGamesPerClub : 38;
}

DIVISIONARCHIVERECORD* CDivisionDatabase::GetSeasonArchiveRecord(uint8_t byKey, LPXLISTNODE* ppNode) const
{
    return m_lstSeasonArchive.FindItem<DIVISIONARCHIVERECORD>(
        [&](const DIVISIONARCHIVERECORD* p) { return p->GetKey() == byKey; }, ppNode);
}

bool CDivisionDatabase::IsMidSeasonDate(const CDate& date) const
{
    if (m_byKind != DIVISION_KIND_LEAGUE)
        return false;
    return date.DaysBetween(m_SeasonStart) >= 28 && m_SeasonEnd.DaysBetween(date) >= 28;
}

CDate CDivisionDatabase::FindNextMatchDate(const CDate& today) const
{
    CDate next;
    for (const CDivisionFixturesDatabase* p : m_lstFixtures.Items<CDivisionFixturesDatabase>())
        if (p->GetDate() >= today && (next.GetValue() == 0 || p->GetDate() < next))
            next = p->GetDate();
    return next;
}
