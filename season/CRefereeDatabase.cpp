#include "season/CRefereeDatabase.h"

#include <algorithm>
#include <cstdio>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionFixturesDatabase.h"

CDatabaseHandler* CRefereeDatabase::m_pDatabaseHandler = nullptr;
std::vector<uint32_t> CRefereeDatabase::s_adwMovedFixtureReferees;
uint32_t CRefereeDatabase::s_dwMovedLogRound = 0;

CRefereeDatabase::~CRefereeDatabase()
{
    RemoveAllAssignments();
}

void CRefereeDatabase::Set(uint16_t wID, char chInitial, uint32_t dwSurnameOffset)
{
    m_wID = wID;
    m_chInitial = chInitial;
    m_dwSurnameOffset = dwSurnameOffset;
    ResolveSurname();
}

void CRefereeDatabase::SetAttributes(uint8_t byA, uint8_t byB, uint16_t wC, uint8_t byD)
{
    m_byAttributeA = byA;
    m_byAttributeB = byB;
    m_wAttributeC = wC;
    m_byAttributeD = byD;
}

void CRefereeDatabase::ResolveSurname()
{
    const char* pszName = m_pDatabaseHandler ? m_pDatabaseHandler->GetLastNameFromOffset(m_dwSurnameOffset) : nullptr;
    m_pszSurname = pszName ? pszName : "";
}

bool CRefereeDatabase::Load(CBinaryReader& reader, CCountryDatabase* pCountry)
{
    reader.ReadU32(m_dwSurnameOffset);
    for (REFEREESTATISTICS& stats : m_Statistics) {
        reader.ReadU16(stats.wBookings);
        reader.ReadU16(stats.wFouls);
        reader.ReadU8(stats.bySendingsOff);
        reader.ReadU8(stats.byMatches);
        reader.ReadU8(stats.byPenalties);
        reader.Skip(1);
    }
    reader.ReadU16(m_wID);
    reader.Skip(2);
    reader.ReadU16(m_wAttributeC);
    reader.ReadU8(m_byAttributeA);
    reader.ReadU8(m_byAttributeB);
    reader.ReadU8(m_byAttributeD);
    uint8_t byInitial = 0;
    reader.ReadU8(byInitial);
    reader.Skip(2);
    if (reader.Failed()) {
        DebugLog(1, "[CRefereeDatabase::Load] The referee record is cut short");
        return false;
    }
    m_chInitial = static_cast<char>(byInitial);
    m_pCountry = pCountry;
    ResolveSurname();
    if (!*m_pszSurname)
        DebugLog(1, "[CRefereeDatabase::Load] Referee %u has no surname at offset %u", m_wID, m_dwSurnameOffset);
    return true;
}

bool CRefereeDatabase::Save(CBinaryWriter& writer) const
{
    writer.WriteU32(m_dwSurnameOffset);
    for (const REFEREESTATISTICS& stats : m_Statistics) {
        writer.WriteU16(stats.wBookings);
        writer.WriteU16(stats.wFouls);
        writer.WriteU8(stats.bySendingsOff);
        writer.WriteU8(stats.byMatches);
        writer.WriteU8(stats.byPenalties);
        writer.WriteZeros(1);
    }
    writer.WriteU16(m_wID);
    writer.WriteZeros(2);
    writer.WriteU16(m_wAttributeC);
    writer.WriteU8(m_byAttributeA);
    writer.WriteU8(m_byAttributeB);
    writer.WriteU8(m_byAttributeD);
    writer.WriteU8(static_cast<uint8_t>(m_chInitial));
    writer.WriteZeros(2);
    return !writer.Failed();
}

const char* CRefereeDatabase::GetName() const
{
    static char s_szName[64];
    if (m_chInitial)
        std::snprintf(s_szName, sizeof s_szName, "%c. %s", m_chInitial, m_pszSurname);
    else
        std::snprintf(s_szName, sizeof s_szName, "%s", m_pszSurname);
    return s_szName;
}

namespace {

// The date an assignment keeps the referee busy on, or none for the kinds
// that do not count.
const CDate* BusyDate(const REFEREEASSIGNMENT* p)
{
    if (p->dwKind > REFEREE_ASSIGNMENT_CUP)
        return nullptr;
    return p->pLeagueFixture ? &p->pLeagueFixture->GetDate() : p->pCupFixture ? &p->pCupFixture->GetDate() : nullptr;
}

}  // namespace

void CRefereeDatabase::NoteFixtureDateChanged(uint32_t dwRefereeID)
{
    // Kept short: a few seasons of moves, then a new round.
    constexpr size_t kLogLimit = 4096;
    if (s_adwMovedFixtureReferees.size() >= kLogLimit) {
        s_adwMovedFixtureReferees.clear();
        ++s_dwMovedLogRound;
    }
    s_adwMovedFixtureReferees.push_back(dwRefereeID);
}

void CRefereeDatabase::RefreshBusyDates() const
{
    const std::vector<uint32_t>& log = s_adwMovedFixtureReferees;
    if (m_bBusyDatesKnown && m_dwSeenLogRound == s_dwMovedLogRound &&
        std::find(log.begin() + static_cast<long>(m_nSeenMoves), log.end(), m_wID) == log.end()) {
        m_nSeenMoves = log.size();
        return;
    }
    m_adwBusyDates.clear();
    for (const REFEREEASSIGNMENT* p : m_lstAssignments.Items<REFEREEASSIGNMENT>())
        if (const CDate* pDate = BusyDate(p))
            m_adwBusyDates.push_back(pDate->GetValue());
    std::sort(m_adwBusyDates.begin(), m_adwBusyDates.end());
    m_bBusyDatesKnown = true;
    m_dwSeenLogRound = s_dwMovedLogRound;
    m_nSeenMoves = log.size();
}

void CRefereeDatabase::AddAssignment(CDivisionFixturesDatabase* pFixture, uint32_t dwKind)
{
    auto* p = new REFEREEASSIGNMENT;
    p->pLeagueFixture = pFixture;
    p->dwKind = dwKind;
    AddAssignment(p);
}

void CRefereeDatabase::AddAssignment(CCupFixturesDatabase* pFixture, uint32_t dwKind)
{
    auto* p = new REFEREEASSIGNMENT;
    p->pCupFixture = pFixture;
    p->dwKind = dwKind;
    AddAssignment(p);
}

void CRefereeDatabase::AddAssignment(REFEREEASSIGNMENT* p)
{
    m_lstAssignments.AddTail(p);
    const CDate* pDate = BusyDate(p);
    if (pDate && m_bBusyDatesKnown) {
        const uint32_t dwDate = pDate->GetValue();
        m_adwBusyDates.insert(std::upper_bound(m_adwBusyDates.begin(), m_adwBusyDates.end(), dwDate), dwDate);
    }
}

void CRefereeDatabase::RemoveAssignment(const void* pFixture)
{
    LPXLISTNODE pNode = m_lstAssignments.GetHead();
    while (pNode) {
        LPXLISTNODE pNext = pNode->pNext;
        auto* p = static_cast<REFEREEASSIGNMENT*>(pNode->pData);
        if (p->pLeagueFixture == pFixture || p->pCupFixture == pFixture) {
            m_lstAssignments.Remove(pNode);
            delete p;
            m_bBusyDatesKnown = false;
        }
        pNode = pNext;
    }
}

void CRefereeDatabase::RemoveAllAssignments()
{
    while (!m_lstAssignments.IsEmpty())
        delete static_cast<REFEREEASSIGNMENT*>(m_lstAssignments.RemoveHead());
    m_bBusyDatesKnown = false;
}

void CRefereeDatabase::RemoveEuropeanAssignments()
{
    LPXLISTNODE pNode = m_lstAssignments.GetHead();
    while (pNode) {
        LPXLISTNODE pNext = pNode->pNext;
        auto* p = static_cast<REFEREEASSIGNMENT*>(pNode->pData);
        if (p->dwKind == REFEREE_ASSIGNMENT_CUP) {
            m_lstAssignments.Remove(pNode);
            delete p;
            m_bBusyDatesKnown = false;
        }
        pNode = pNext;
    }
}

void CRefereeDatabase::StartNewSeason()
{
    for (REFEREESTATISTICS& stats : m_Statistics)
        stats = REFEREESTATISTICS();
}

void CRefereeDatabase::AddMatchStatistics(int nCompetition, const uint8_t abyStats[4])
{
    if (nCompetition < 0 || nCompetition >= COMPETITIONS)
        return;
    REFEREESTATISTICS& stats = m_Statistics[nCompetition];
    stats.wBookings = static_cast<uint16_t>(stats.wBookings + abyStats[0]);
    stats.bySendingsOff = static_cast<uint8_t>(stats.bySendingsOff + abyStats[1]);
    stats.wFouls = static_cast<uint16_t>(stats.wFouls + abyStats[2]);
    stats.byPenalties = static_cast<uint8_t>(stats.byPenalties + abyStats[3]);
    stats.byMatches = static_cast<uint8_t>(stats.byMatches + 1);
}

const REFEREESTATISTICS& CRefereeDatabase::GetStatistics(int nCompetition) const
{
    static const REFEREESTATISTICS s_None;
    if (nCompetition < 0 || nCompetition >= COMPETITIONS)
        return s_None;
    return m_Statistics[nCompetition];
}
