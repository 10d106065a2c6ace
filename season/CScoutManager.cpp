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

void CScoutPlayerQuery::AddPlayer(CPersonDatabase* pPerson, bool bYouth)
{
    if (!pPerson)
        return;
    auto* pEntry = new SCOUTQUERYENTRY;
    pEntry->dwFlags = bYouth ? 1 : 0;
    pEntry->pPerson = pPerson;
    m_lstEntries.AddTail(pEntry);
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
    if (!pQuery || !pQuery->m_pScout)
        return false;
    if (FindQueryByScout(pQuery->m_pScout->GetId())) {
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
        [wStaffId](const CScoutPlayerQuery* p) { return p->m_pScout && p->m_pScout->GetId() == wStaffId; });
}

namespace {

bool QueryWatches(const CScoutPlayerQuery& query, const CPersonDatabase* pPerson, bool bYouth)
{
    for (const SCOUTQUERYENTRY* pEntry : query.GetEntries().Items<SCOUTQUERYENTRY>())
        if (pEntry->pPerson == pPerson && pEntry->IsYouth() == bYouth)
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
    int nMinimum = 0, nMaximum = 0;
    GetJudgingBand(pQuery->m_pScout ? GetJudgingAbility(*pQuery->m_pScout) : 0, nMinimum, nMaximum);
    const int nSpan = nMaximum - nMinimum + 1;
    const uint32_t dwScout = pQuery->m_pScout ? pQuery->m_pScout->GetId() : 0;
    const CDate today = Root() ? Root()->GetGameDate() : CDate();
    uint8_t byLastYouth = 0;
    for (const SCOUTQUERYENTRY* pEntry : pQuery->GetEntries().Items<SCOUTQUERYENTRY>()) {
        if (!pEntry->pPerson)
            continue;
        LPXLISTNODE pOld = nullptr;
        if (const SCOUTREPORT* pReport = FindReport(pEntry->pPerson->m_idPerson, &pOld)) {
            m_lstReports.Remove(pOld);
            delete pReport;
        }
        auto* pReport = new SCOUTREPORT;
        pReport->dwPersonId = pEntry->pPerson->m_idPerson;
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

void CScoutManager::DoDeleteScoutPlayerQueries(bool bDeleteEvents)
{
    CCountryDatabase* pCountry = m_pOwner ? m_pOwner->GetCountry() : nullptr;
    while (!m_lstQueries.IsEmpty()) {
        auto* pQuery = static_cast<CScoutPlayerQuery*>(m_lstQueries.RemoveHead());
        if (bDeleteEvents) {
            CEventsDatabase* pEvent = pCountry ? pCountry->FindEvent(EVENT_SCOUT_COMPLETE, pQuery->m_dwID) : nullptr;
            if (pEvent && pCountry->RemoveEvent(pEvent))
                delete pEvent;
            else
                DebugLog(1, "[CScoutManager::DoDeleteScoutPlayerQueries] Could not find the scout complete event to "
                            "delete!");
        }
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
        writer.WriteU32(pQuery->m_pScout ? pQuery->m_pScout->GetId() : 0);
        writer.WriteU16(pQuery->m_wValue);
        writer.WriteU16(pQuery->m_wDaysElapsed);
        for (const SCOUTQUERYENTRY* pEntry : pQuery->GetEntries().Items<SCOUTQUERYENTRY>()) {
            writer.WriteU32(pEntry->dwFlags);
            writer.WriteU32(pEntry->pPerson ? pEntry->pPerson->m_idPerson : 0);
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
    CDatabaseHandler* pRoot = Root();
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
        pQuery->m_pScout = pRoot && dwScout <= 0xFFFF ? pRoot->GetStaffFromID(static_cast<ID_STAFF>(dwScout)) : nullptr;
        if (!pQuery->m_pScout) {
            DebugLog(0, "[CScoutManager::Load] Scout query %u names scout %u, who is not in the world", pQuery->m_dwID,
                     dwScout);
            return false;
        }
        for (int32_t i = 0; i < nEntries; ++i) {
            uint32_t dwFlags = 0, dwPerson = 0;
            reader.ReadU32(dwFlags);
            reader.ReadU32(dwPerson);
            CPersonDatabase* pPerson = nullptr;
            if (pRoot)
                pPerson = (dwFlags & 1) ? static_cast<CPersonDatabase*>(pRoot->GetYouthFromID(dwPerson))
                                        : static_cast<CPersonDatabase*>(pRoot->GetPlayerFromID(dwPerson));
            if (!pPerson) {
                DebugLog(0, "[CScoutManager::Load] Scout query %u watches person %u, who is not in the world",
                         pQuery->m_dwID, dwPerson);
                return false;
            }
            pQuery->AddPlayer(pPerson, (dwFlags & 1) != 0);
            static_cast<SCOUTQUERYENTRY*>(pQuery->m_lstEntries.GetTail()->pData)->dwFlags = dwFlags;
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
