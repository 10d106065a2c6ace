#include "season/CScoutManager.h"

#include <algorithm>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CEventsDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CStaffDatabase.h"
#include "database/CYouthDatabase.h"
#include "platform/Random.h"
#include "season/CNewspaperManager.h"
#include "season/CNoticeList.h"
#include "season/CSaveGame.h"

namespace {

// The staff kind of scouts, and the ability that is their judging.
constexpr int kScoutStaffKind = 2;
constexpr int kJudgingAbility = 1;
constexpr uint16_t kNewsScoutReport = 2;
constexpr int kAlertScoutReport = 1;
constexpr uint8_t kNoticeScoutReport = 12;

struct JUDGINGBAND {
    int nHighest;
    int nMinimum;
    int nMaximum;
};
constexpr JUDGINGBAND kJudgingBands[] = {{40, 21, 24}, {50, 17, 20}, {60, 13, 16}, {70, 9, 12},
                                         {80, 5, 8},   {90, 1, 4},   {100, 0, 0}};

CDatabaseHandler* Root() { return CSaveGame::m_pDatabaseHandler; }

}  // namespace

CScoutPlayerQuery::~CScoutPlayerQuery()
{
    for (SCOUTQUERYENTRY* pEntry : m_lstEntries.Items<SCOUTQUERYENTRY>())
        delete pEntry;
    m_lstEntries.RemoveAll();
}

CPersonDatabase* SCOUTQUERYENTRY::GetPerson() const
{
    CDatabaseHandler* pRoot = Root();
    if (!pRoot || dwPersonId == 0)
        return nullptr;
    return IsYouth() ? static_cast<CPersonDatabase*>(pRoot->GetYouthFromID(dwPersonId))
                     : static_cast<CPersonDatabase*>(pRoot->GetPlayerFromID(dwPersonId));
}

void CScoutPlayerQuery::AddPlayer(const CPersonDatabase* pPerson, bool bYouth)
{
    if (!pPerson)
        return;
    auto* pEntry = new SCOUTQUERYENTRY;
    pEntry->dwFlags = bYouth ? 1 : 0;
    pEntry->dwPersonId = pPerson->m_idPerson;
    m_lstEntries.AddTail(pEntry);
}

void CScoutPlayerQuery::SetScout(const CStaffDatabase* pScout)
{
    m_idScout = pScout ? pScout->GetId() : 0;
}

CStaffDatabase* CScoutPlayerQuery::GetScout() const
{
    return m_idScout && Root() ? Root()->GetStaffFromID(m_idScout) : nullptr;
}

CScoutManager::~CScoutManager()
{
    RemoveAll();
}

// ---- slots ----

void CScoutManager::ResetScouts()
{
    std::fill(std::begin(m_aSlots), std::end(m_aSlots), SCOUTSLOT());
    const CClubDatabase* pClub = m_pOwner ? m_pOwner->GetClub() : nullptr;
    CDatabaseHandler* pRoot = Root();
    if (!pClub || !pRoot)
        return;
    for (int nPlace = 0; nPlace < g_anClubStaffPlaces[kScoutStaffKind] && nPlace < SCOUT_SLOTS; ++nPlace) {
        const ID_STAFF idStaff = pClub->m_awStaffSlots[kScoutStaffKind][nPlace];
        if (idStaff == 0 || !pRoot->GetStaffFromID(idStaff))
            continue;
        if (SCOUTSLOT* pSlot = GetFreeScoutSlot())
            pSlot->wStaffId = idStaff;
    }
}

SCOUTSLOT* CScoutManager::FindScoutSlot(uint16_t wStaffId)
{
    for (SCOUTSLOT& slot : m_aSlots)
        if (slot.wStaffId == wStaffId)
            return &slot;
    return nullptr;
}

// ---- queries ----

bool CScoutManager::AddScoutPlayerQuery(CScoutPlayerQuery* pQuery)
{
    if (!pQuery || pQuery->m_idScout == 0)
        return false;
    if (FindQueryByScout(pQuery->m_idScout)) {
        DebugLog(1, "[CSaveGame::AddScoutPlayerQuery] There is already a player query active for this scout\n");
        return false;
    }
    m_lstQueries.AddTail(pQuery);
    ++m_byQueryCount;
    return true;
}

bool CScoutManager::SendScout(CScoutPlayerQuery* pQuery, int nDays)
{
    CCountryDatabase* pCountry = m_pOwner ? m_pOwner->GetCountry() : nullptr;
    if (!pQuery || !pCountry || !Root())
        return false;
    if (pQuery->m_dwID == 0 || FindScoutPlayerQuery(pQuery->m_dwID)) {
        uint32_t dwHighest = 0;
        for (const CScoutPlayerQuery* p : m_lstQueries.Items<CScoutPlayerQuery>())
            dwHighest = std::max(dwHighest, p->m_dwID);
        // Each human numbers his queries in his own range, so that one
        // identifier names one query over every human.
        const uint32_t dwBase = static_cast<uint32_t>(m_pOwner->GetPlayerNumber()) << 24;
        pQuery->m_dwID = std::max(dwHighest, dwBase) + 1;
    }
    if (!AddScoutPlayerQuery(pQuery))
        return false;
    pCountry->AddEvent(EVENT_SCOUT_COMPLETE, CDate(Root()->GetGameDate().GetValue(), nDays), pQuery->m_dwID);
    return true;
}

void CScoutManager::RemoveQuery(CScoutPlayerQuery* pQuery)
{
    if (LPXLISTNODE pNode = m_lstQueries.Find(pQuery)) {
        m_lstQueries.Remove(pNode);
        delete pQuery;
        if (m_byQueryCount > 0)
            --m_byQueryCount;
    }
}

CScoutPlayerQuery* CScoutManager::FindScoutPlayerQuery(uint32_t dwId, LPXLISTNODE* ppNode) const
{
    return m_lstQueries.FindItem<CScoutPlayerQuery>([dwId](const CScoutPlayerQuery* p) { return p->m_dwID == dwId; },
                                                    ppNode);
}

CScoutPlayerQuery* CScoutManager::FindQueryByScout(uint16_t wStaffId) const
{
    return m_lstQueries.FindItem<CScoutPlayerQuery>(
        [wStaffId](const CScoutPlayerQuery* p) { return wStaffId != 0 && p->m_idScout == wStaffId; });
}

namespace {

bool QueryWatches(const CScoutPlayerQuery& query, const CPersonDatabase* pPerson, bool bYouth)
{
    for (const SCOUTQUERYENTRY* pEntry : query.GetEntries().Items<SCOUTQUERYENTRY>())
        if (pEntry->dwPersonId == pPerson->m_idPerson && pEntry->IsYouth() == bYouth)
            return true;
    return false;
}

}  // namespace

bool CScoutManager::IsScoutWatchingPlayer(const CStaffDatabase* pScout, const CPersonDatabase* pPlayer) const
{
    const CScoutPlayerQuery* pQuery = pScout ? FindQueryByScout(pScout->GetId()) : nullptr;
    return pQuery && pPlayer && QueryWatches(*pQuery, pPlayer, false);
}

bool CScoutManager::IsScoutWatchingYouth(const CStaffDatabase* pScout, const CPersonDatabase* pYouth) const
{
    const CScoutPlayerQuery* pQuery = pScout ? FindQueryByScout(pScout->GetId()) : nullptr;
    return pQuery && pYouth && QueryWatches(*pQuery, pYouth, true);
}

bool CScoutManager::IsPersonBeingScouted(const CPersonDatabase* pPerson) const
{
    if (!pPerson)
        return false;
    for (const CScoutPlayerQuery* pQuery : m_lstQueries.Items<CScoutPlayerQuery>())
        if (QueryWatches(*pQuery, pPerson, false))
            return true;
    return false;
}

void CScoutManager::AddDaysToQueries(int nDays)
{
    for (CScoutPlayerQuery* pQuery : m_lstQueries.Items<CScoutPlayerQuery>())
        pQuery->m_wDaysElapsed = static_cast<uint16_t>(pQuery->m_wDaysElapsed + nDays);
}

// ---- reports ----

const SCOUTREPORT* CScoutManager::FindReport(uint32_t dwPersonId, LPXLISTNODE* ppNode) const
{
    return m_lstReports.FindItem<SCOUTREPORT>([dwPersonId](const SCOUTREPORT* p) { return p->dwPersonId == dwPersonId; },
                                              ppNode);
}

void CScoutManager::GetJudgingBand(int nAbility, int& nMinimum, int& nMaximum)
{
    for (const JUDGINGBAND& band : kJudgingBands)
        if (nAbility <= band.nHighest) {
            nMinimum = band.nMinimum;
            nMaximum = band.nMaximum;
            return;
        }
    // Above every band: the best judge's.
    nMinimum = nMaximum = 0;
}

int CScoutManager::GetJudgingAbility(const CStaffDatabase& scout)
{
    return scout.m_abyAbilities[kJudgingAbility];
}

void CScoutManager::CompleteScoutQuery(CScoutPlayerQuery* pQuery)
{
    if (!pQuery || !m_lstQueries.Find(pQuery))
        return;
    // A scout who has left since reports with the least judgement.
    const CStaffDatabase* pScout = pQuery->GetScout();
    int nMinimum = 0, nMaximum = 0;
    GetJudgingBand(pScout ? GetJudgingAbility(*pScout) : 0, nMinimum, nMaximum);
    const int nSpan = nMaximum - nMinimum + 1;
    const uint32_t dwScout = pQuery->m_idScout;
    const CDate today = Root() ? Root()->GetGameDate() : CDate();
    uint8_t byLastYouth = 0;
    for (const SCOUTQUERYENTRY* pEntry : pQuery->GetEntries().Items<SCOUTQUERYENTRY>()) {
        // Someone who has left the world since leaves nothing to report.
        if (!pEntry->GetPerson()) {
            DebugLog(2, "[CScoutManager::CompleteScoutQuery] Person %u is no longer in the world", pEntry->dwPersonId);
            continue;
        }
        LPXLISTNODE pOld = nullptr;
        if (const SCOUTREPORT* pReport = FindReport(pEntry->dwPersonId, &pOld)) {
            m_lstReports.Remove(pOld);
            delete pReport;
        }
        auto* pReport = new SCOUTREPORT;
        pReport->dwPersonId = pEntry->dwPersonId;
        pReport->dwScoutId = dwScout;
        pReport->Date = today;
        pReport->byYouth = pEntry->IsYouth() ? 1 : 0;
        for (int8_t& nError : pReport->anErrors) {
            nError = static_cast<int8_t>(plat::rand() % nSpan + nMinimum);
            if (plat::rand() & 1)
                nError = static_cast<int8_t>(-nError);
        }
        m_lstReports.AddTail(pReport);
        if (m_lstReports.GetCount() > SCOUT_MAX_REPORTS)
            delete static_cast<SCOUTREPORT*>(m_lstReports.RemoveHead());
        byLastYouth = pReport->byYouth;
    }
    if (m_pOwner) {
        if (CNewsItem* pItem = m_pOwner->PostNews(kNewsScoutReport, m_pOwner->GetClub()))
            pItem->SetSlot(NEWS_SLOT_STAFF, dwScout);
        m_pOwner->SetNavigationAlert(kAlertScoutReport, 1);
        m_pOwner->SetScoutReport(static_cast<uint16_t>(dwScout), byLastYouth);
        m_pOwner->GetNotices().AddNotice(kNoticeScoutReport);
    }
    RemoveQuery(pQuery);
}

void CScoutManager::RemoveCompletionEvent(const CScoutPlayerQuery& query)
{
    CCountryDatabase* pCountry = m_pOwner ? m_pOwner->GetCountry() : nullptr;
    CEventsDatabase* pEvent = pCountry ? pCountry->FindEvent(EVENT_SCOUT_COMPLETE, query.m_dwID) : nullptr;
    if (pEvent && pCountry->RemoveEvent(pEvent))
        delete pEvent;
    else
        DebugLog(1, "[CScoutManager::RemoveCompletionEvent] Could not find the scout complete event of query %u to "
                    "delete!", query.m_dwID);
}

void CScoutManager::DeleteQuery(CScoutPlayerQuery* pQuery)
{
    if (!pQuery || !m_lstQueries.Find(pQuery))
        return;
    RemoveCompletionEvent(*pQuery);
    RemoveQuery(pQuery);
}

void CScoutManager::DoDeleteScoutPlayerQueries(bool bDeleteEvents)
{
    while (!m_lstQueries.IsEmpty()) {
        auto* pQuery = static_cast<CScoutPlayerQuery*>(m_lstQueries.RemoveHead());
        if (bDeleteEvents)
            RemoveCompletionEvent(*pQuery);
        delete pQuery;
    }
    m_byQueryCount = 0;
}

void CScoutManager::RemoveAll()
{
    DoDeleteScoutPlayerQueries(false);
    for (SCOUTREPORT* pReport : m_lstReports.Items<SCOUTREPORT>())
        delete pReport;
    m_lstReports.RemoveAll();
}

// ---- the .sav body ----

bool CScoutManager::Save(CBinaryWriter& writer) const
{
    for (const SCOUTSLOT& slot : m_aSlots) {
        writer.WriteU32(slot.dwMoneyLimitA);
        writer.WriteU32(slot.dwMoneyLimitB);
        writer.WriteU16(slot.wStaffId);
        writer.WriteBytes(slot.abyCriteria, sizeof slot.abyCriteria);
        writer.WriteBytes(slot.abyRanges, sizeof slot.abyRanges);
        writer.WriteU8(slot.byRangeMinimum);
        writer.WriteU8(slot.byRangeMaximum);
        writer.WriteZeros(2);
    }
    writer.WriteU8(static_cast<uint8_t>(m_lstQueries.GetCount()));
    for (const CScoutPlayerQuery* pQuery : m_lstQueries.Items<CScoutPlayerQuery>()) {
        writer.WriteU32(pQuery->m_dwID);
        writer.WriteU32(pQuery->m_dwSecond);
        writer.WriteI32(pQuery->GetEntryCount());
        writer.WriteU32(pQuery->m_idScout);
        writer.WriteU16(pQuery->m_wValue);
        writer.WriteU16(pQuery->m_wDaysElapsed);
        for (const SCOUTQUERYENTRY* pEntry : pQuery->GetEntries().Items<SCOUTQUERYENTRY>()) {
            writer.WriteU32(pEntry->dwFlags);
            writer.WriteU32(pEntry->dwPersonId);
        }
    }
    writer.WriteU32(static_cast<uint32_t>(m_lstReports.GetCount()));
    for (const SCOUTREPORT* pReport : m_lstReports.Items<SCOUTREPORT>()) {
        writer.WriteU32(pReport->dwPersonId);
        writer.WriteU32(pReport->dwScoutId);
        writer.WriteU32(pReport->Date.GetValue());
        for (int8_t nError : pReport->anErrors)
            writer.WriteI8(nError);
        writer.WriteU8(pReport->byYouth);
        writer.WriteU8(0);
    }
    return !writer.Failed();
}

bool CScoutManager::Load(CBinaryReader& reader)
{
    RemoveAll();
    for (SCOUTSLOT& slot : m_aSlots) {
        reader.ReadU32(slot.dwMoneyLimitA);
        reader.ReadU32(slot.dwMoneyLimitB);
        reader.ReadU16(slot.wStaffId);
        reader.ReadBytes(slot.abyCriteria, sizeof slot.abyCriteria);
        reader.ReadBytes(slot.abyRanges, sizeof slot.abyRanges);
        reader.ReadU8(slot.byRangeMinimum);
        reader.ReadU8(slot.byRangeMaximum);
        reader.Skip(2);
    }
    uint8_t byQueries = 0;
    reader.ReadU8(byQueries);
    if (reader.Failed() || !reader.CheckCount(byQueries, SCOUT_QUERY_HEADER_BYTES)) {
        DebugLog(0, "[CScoutManager::Load] The scouting section is cut short");
        return false;
    }
    for (int q = 0; q < byQueries; ++q) {
        auto* pQuery = new CScoutPlayerQuery;
        m_lstQueries.AddTail(pQuery);
        ++m_byQueryCount;
        int32_t nEntries = 0;
        uint32_t dwScout = 0;
        reader.ReadU32(pQuery->m_dwID);
        reader.ReadU32(pQuery->m_dwSecond);
        reader.ReadI32(nEntries);
        reader.ReadU32(dwScout);
        reader.ReadU16(pQuery->m_wValue);
        reader.ReadU16(pQuery->m_wDaysElapsed);
        if (reader.Failed() || nEntries < 0 || !reader.CheckCount(static_cast<uint64_t>(nEntries), SCOUT_QUERY_ENTRY_BYTES)) {
            DebugLog(0, "[CScoutManager::Load] Scout query %u is cut short", pQuery->m_dwID);
            return false;
        }
        // The scout and the people are found when the query comes due: one
        // who has left the world since the save leaves his part undone.
        if (dwScout > 0xFFFF) {
            DebugLog(0, "[CScoutManager::Load] Scout query %u names staff %u, outside the staff numbers",
                     pQuery->m_dwID, dwScout);
            return false;
        }
        pQuery->m_idScout = static_cast<ID_STAFF>(dwScout);
        for (int32_t i = 0; i < nEntries; ++i) {
            auto* pEntry = new SCOUTQUERYENTRY;
            pQuery->m_lstEntries.AddTail(pEntry);
            reader.ReadU32(pEntry->dwFlags);
            reader.ReadU32(pEntry->dwPersonId);
        }
    }
    uint32_t dwReports = 0;
    reader.ReadU32(dwReports);
    if (reader.Failed() || !reader.CheckCount(dwReports, SCOUT_REPORT_BYTES)) {
        DebugLog(0, "[CScoutManager::Load] The scout reports are cut short");
        return false;
    }
    for (uint32_t i = 0; i < dwReports; ++i) {
        auto* pReport = new SCOUTREPORT;
        m_lstReports.AddTail(pReport);
        uint32_t dwDate = 0;
        reader.ReadU32(pReport->dwPersonId);
        reader.ReadU32(pReport->dwScoutId);
        reader.ReadU32(dwDate);
        pReport->Date = CDate(dwDate);
        for (int8_t& nError : pReport->anErrors)
            reader.ReadI8(nError);
        reader.ReadU8(pReport->byYouth);
        reader.Skip(1);
    }
    return !reader.Failed();
}
