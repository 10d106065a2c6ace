// The country's scheduled events: finding, removing and sorting them, and
// running the day's events by type.
#include "database/CCountryDatabase.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CEventsDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CYouthDatabase.h"
#include "database/ClubPayments.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CNewspaperStoryList.h"
#include "season/CSaveGame.h"
#include "season/CScoutManager.h"
#include "season/CSponsorManager.h"
#include "season/CTrainingManager.h"

CEventsDatabase* CCountryDatabase::m_pCurrentEvent = nullptr;

namespace {

// Finance categories of building payments, by the component's main type.
constexpr int kBuildingFinanceCategory[3] = {50, 51, 52};
constexpr int kTrainingCampCategory = 74;
// Notices of a blocked period come this many days ahead.
constexpr int kNoticeDays = 14;
constexpr uint16_t kStoryGroundBuilding = 296;
constexpr uint16_t kNewsGroundWorkStarts = 163;
constexpr int kComparedBuildBytes = 4;
constexpr uint16_t kNewsBlockedPeriodStarts = 262;
constexpr uint16_t kNewsBlockedPeriodEnds = 263;

// Events of a human club's record: a year of its shirt or kit sponsorship;
// any other kind, or a club no human runs, is logged and changes nothing.
void RunHumanManagerEvent(const CEventsDatabase& event)
{
    // A year of a human club's shirt (1) or kit (2) sponsorship has passed.
    if (event.GetType() == 1 || event.GetType() == 2) {
        CDatabaseHandler* pHandler = CCountryDatabase::m_pDatabaseHandler;
        CClubDatabase* pClub = pHandler ? pHandler->GetClubFromID(static_cast<ID_CLUB>(event.GetDataID())) : nullptr;
        if (CSaveGame* pHuman = pClub ? pHandler->GetSaveGameForClub(pClub) : nullptr) {
            pHuman->GetSponsors().ContractYearElapsed(event.GetType());
            return;
        }
    }
    DebugLog(2, "[CCountryDatabase::RunHumanManagerEvent] Event %d for club %u: no human manager record", event.GetType(),
             event.GetDataID());
}

// Offers, listings and loans: the database root's markets run them.
void RunMarketEvent(CEventsDatabase* pEvent)
{
    CDatabaseHandler* pHandler = CCountryDatabase::m_pDatabaseHandler;
    if (!pHandler || !pHandler->RunMarketEvent(pEvent))
        DebugLog(1, "[CCountryDatabase::RunMarketEvent] Event %d for offer or player %u was not run",
                 pEvent->GetType(), pEvent->GetDataID());
}

// Recovery, the work-permit review and the start of a ban are the player's
// own; the offers that come due wait for the transfer market.
void RunPlayerEvent(const CEventsDatabase& event)
{
    const uint8_t byType = event.GetType();
    if (byType == 27 || byType == 28 || byType == 29) {
        CDatabaseHandler* pHandler = CCountryDatabase::m_pDatabaseHandler;
        CPlayerDatabase* pPlayer = pHandler ? pHandler->GetPlayerFromID(event.GetDataID()) : nullptr;
        // A youth's injury ends by the same event.
        if (!pPlayer && pHandler)
            if (CYouthDatabase* pYouth = pHandler->GetYouthFromID(event.GetDataID())) {
                pYouth->OnEvent(byType);
                return;
            }
        if (!pPlayer) {
            DebugLog(1, "[CCountryDatabase::RunPlayerEvent] Event %d names player %u who cannot be found", byType,
                     event.GetDataID());
            return;
        }
        pPlayer->OnEvent(byType, event.GetDate());
        return;
    }
    DebugLog(2, "[CCountryDatabase::RunPlayerEvent] Event %d for player %u: no player event handling",
             event.GetType(), event.GetDataID());
}

// The end of a club's search for a manager.
void RunClubReviewEvent(const CEventsDatabase& event)
{
    DebugLog(2, "[CCountryDatabase::RunClubReviewEvent] Event 45 for club %u: the search ends", event.GetDataID());
    CDatabaseHandler* pHandler = CCountryDatabase::m_pDatabaseHandler;
    if (CClubDatabase* pClub = pHandler ? pHandler->GetClubFromID(static_cast<ID_CLUB>(event.GetDataID())) : nullptr)
        pClub->OnManagerSearchEvent();
    else
        DebugLog(1, "[CCountryDatabase::RunClubReviewEvent] Club %u of a search cannot be found", event.GetDataID());
}

// A scout's query comes due: his human's scouts report on it.
void ProcessScoutCompleteEvent(const CEventsDatabase& event)
{
    CDatabaseHandler* pHandler = CCountryDatabase::m_pDatabaseHandler;
    CSaveGame* pHuman = nullptr;
    CScoutPlayerQuery* pQuery = pHandler ? pHandler->GetScoutQueryFromID(event.GetDataID(), &pHuman) : nullptr;
    if (!pQuery || !pHuman) {
        DebugLog(1, "[CCountryDatabase::ProcessScoutCompleteEvent] Could not find the scout player query to process!");
        return;
    }
    pHuman->GetScoutManager().CompleteScoutQuery(pQuery);
}

// A booked training camp is paid on the day it begins. A camp called off
// before then took its events with it; one removed since is no longer found
// and costs nothing.
void PayTrainingCamp(const CEventsDatabase& event)
{
    CDatabaseHandler* pHandler = CCountryDatabase::m_pDatabaseHandler;
    CSaveGame* pHuman = nullptr;
    const TRAININGCAMP* pCamp = pHandler ? pHandler->GetTrainingCampFromID(event.GetDataID(), &pHuman) : nullptr;
    if (!pCamp || !pHuman || !pHuman->GetClub()) {
        DebugLog(1, "[CCountryDatabase::PayTrainingCamp] Could not find the training camp %u to pay for",
                 event.GetDataID());
        return;
    }
    const uint32_t dwPrice = pCamp->GetPrice();
    BookClubMoney(pHuman->GetClub(), -static_cast<int32_t>(std::min<uint32_t>(dwPrice, INT32_MAX)),
                  kTrainingCampCategory);
}

void RunFixtureAcceptanceEvent(const CEventsDatabase& event)
{
    if (CDatabaseHandler* pHandler = CCountryDatabase::m_pDatabaseHandler)
        pHandler->AnswerFriendlyRequest(event.GetDataID());
}

// Every human hears two weeks ahead that a blocked period starts (262) or
// ends (263), with the day it does.
void RunBlockedPeriodNotice(const CEventsDatabase& event)
{
    CDatabaseHandler* pHandler = CCountryDatabase::m_pDatabaseHandler;
    if (!pHandler)
        return;
    const uint16_t wNews = event.GetType() == EVENT_BLOCKED_PERIOD_START_NOTICE ? kNewsBlockedPeriodStarts
                                                                                : kNewsBlockedPeriodEnds;
    const CDate day(event.GetDate().GetValue(), kNoticeDays);
    int nTold = 0;
    for (int nSlot = 0; nSlot < HUMAN_SLOTS; ++nSlot)
        if (CSaveGame* pHuman = pHandler->GetHumanSlot(nSlot)) {
            CNewsItem* pNews = pHuman->PostNews(wNews, pHuman->GetClub());
            pNews->SetSlot(NEWS_SLOT_COUNTRY, event.GetDataID());
            pNews->SetSlot(NEWS_SLOT_RECORD_A, day.GetValue());
            ++nTold;
        }
    DebugLog(2, "[CCountryDatabase::RunBlockedPeriodNotice] Event %d told %d humans", event.GetType(), nTold);
}

}  // namespace

// ---- the list ----

namespace {

uint64_t EventKey(uint8_t byType, uint32_t dwDataID) { return static_cast<uint64_t>(byType) << 32 | dwDataID; }

}  // namespace

void CCountryDatabase::ListEvent(CEventsDatabase* pEvent, bool bInDateOrder)
{
    const uint32_t dwDate = pEvent->GetDate().GetValue();
    // Before the first event of a later date.
    const auto later = bInDateOrder ? m_EventNodesByDate.upper_bound(dwDate) : m_EventNodesByDate.end();
    LPXLISTNODE pNode = later != m_EventNodesByDate.end() ? m_lstEvents.InsertBefore(later->second, pEvent)
                                                          : m_lstEvents.AddTail(pEvent);
    m_EventNodesByDate.emplace(dwDate, pNode);
    EventKeyEntry& entry = m_EventsByKey[EventKey(pEvent->GetType(), pEvent->GetDataID())];
    entry.pOnly = ++entry.nCount == 1 ? pNode : nullptr;
}

void CCountryDatabase::UnlistEvent(LPXLISTNODE pNode)
{
    const auto* pEvent = static_cast<const CEventsDatabase*>(pNode->pData);
    const auto byKey = m_EventsByKey.find(EventKey(pEvent->GetType(), pEvent->GetDataID()));
    if (byKey != m_EventsByKey.end()) {
        // Of two or more, the one left is found by the next search.
        if (--byKey->second.nCount == 0)
            m_EventsByKey.erase(byKey);
        else
            byKey->second.pOnly = nullptr;
    }
    auto [first, last] = m_EventNodesByDate.equal_range(pEvent->GetDate().GetValue());
    auto entry = std::find_if(first, last, [pNode](const auto& e) { return e.second == pNode; });
    if (entry == last)  // its date was changed while listed
        entry = std::find_if(m_EventNodesByDate.begin(), m_EventNodesByDate.end(),
                             [pNode](const auto& e) { return e.second == pNode; });
    if (entry != m_EventNodesByDate.end())
        m_EventNodesByDate.erase(entry);
    m_lstEvents.Remove(pNode);
}

void CCountryDatabase::IndexEventDates()
{
    m_EventNodesByDate.clear();
    m_EventsByKey.clear();
    for (LPXLISTNODE pNode = m_lstEvents.GetHead(); pNode; pNode = pNode->pNext) {
        const auto* pEvent = static_cast<const CEventsDatabase*>(pNode->pData);
        m_EventNodesByDate.emplace(pEvent->GetDate().GetValue(), pNode);
        EventKeyEntry& entry = m_EventsByKey[EventKey(pEvent->GetType(), pEvent->GetDataID())];
        entry.pOnly = ++entry.nCount == 1 ? pNode : nullptr;
    }
}

bool CCountryDatabase::RemoveEvent(CEventsDatabase* pEvent)
{
    LPXLISTNODE pNode = nullptr;
    if (pEvent) {
        const auto byKey = m_EventsByKey.find(EventKey(pEvent->GetType(), pEvent->GetDataID()));
        if (byKey != m_EventsByKey.end() && byKey->second.pOnly && byKey->second.pOnly->pData == pEvent)
            pNode = byKey->second.pOnly;
        else
            pNode = m_lstEvents.Find(pEvent);
    }
    if (!pNode) {
        DebugLog(1, "[CCountryDatabase::RemoveEvent] Could not find the event to remove!");
        return false;
    }
    UnlistEvent(pNode);
    return true;
}

CEventsDatabase* CCountryDatabase::FindEvent(uint8_t byType, uint32_t dwDataID, LPXLISTNODE* ppNode) const
{
    const auto byKey = m_EventsByKey.find(EventKey(byType, dwDataID));
    if (byKey == m_EventsByKey.end()) {
        if (ppNode)
            *ppNode = nullptr;
        return nullptr;
    }
    EventKeyEntry& entry = byKey->second;
    if (entry.pOnly) {
        if (ppNode)
            *ppNode = entry.pOnly;
        return static_cast<CEventsDatabase*>(entry.pOnly->pData);
    }
    LPXLISTNODE pNode = nullptr;
    CEventsDatabase* pFound = m_lstEvents.FindItem<CEventsDatabase>(
        [&](const CEventsDatabase* p) { return p->GetType() == byType && p->GetDataID() == dwDataID; }, &pNode);
    if (entry.nCount == 1)
        entry.pOnly = pNode;
    if (ppNode)
        *ppNode = pNode;
    return pFound;
}

void CCountryDatabase::SortEvents()
{
    // Stable, so that events of one date keep the order they were added in.
    std::vector<CEventsDatabase*> events;
    while (!m_lstEvents.IsEmpty())
        events.push_back(static_cast<CEventsDatabase*>(m_lstEvents.RemoveHead()));
    std::stable_sort(events.begin(), events.end(),
                     [](const CEventsDatabase* a, const CEventsDatabase* b) { return a->GetDate() < b->GetDate(); });
    for (CEventsDatabase* pEvent : events)
        m_lstEvents.AddTail(pEvent);
    IndexEventDates();
}

void CCountryDatabase::ScheduleBlockedPeriodEvents()
{
    for (int i = 0; i < m_nCalendarPeriods; ++i) {
        const CDate start = m_pCalendarStart[i];
        const CDate end = m_pCalendarEnd[i];
        if (!start.IsValid() || !end.IsValid())
            continue;
        bool bScheduled = false;
        for (const CEventsDatabase* pEvent : m_lstEvents.Items<CEventsDatabase>())
            if (pEvent->GetType() == EVENT_BLOCKED_PERIOD_START && pEvent->GetDate() == start &&
                pEvent->GetDataID() == m_byID)
                bScheduled = true;
        if (bScheduled)
            continue;
        AddEvent(EVENT_BLOCKED_PERIOD_START, start, m_byID);
        AddEvent(EVENT_BLOCKED_PERIOD_START_NOTICE, CDate(start.GetValue(), -kNoticeDays), m_byID);
        AddEvent(EVENT_BLOCKED_PERIOD_END, end, m_byID);
        AddEvent(EVENT_BLOCKED_PERIOD_END_NOTICE, CDate(end.GetValue(), -kNoticeDays), m_byID);
    }
}

// ---- running the day's events ----

namespace {

// A build whose new component keeps the four leading data bytes of the
// component it works on changes nothing worth telling.
bool IsUnchangedBuild(const CComponentScheduleDatabase& schedule)
{
    const uint8_t* pNew = schedule.GetAssociatedComponentSpecificData();
    const CComponentDatabase* pOld = schedule.GetComponent();
    return schedule.GetKind() == SCHEDULE_BUILD && pNew && pOld &&
           std::equal(pNew, pNew + kComparedBuildBytes, pOld->GetSpecificData());
}

uint8_t LeadingDataByte(const CComponentScheduleDatabase& schedule)
{
    const uint8_t* pData = schedule.GetAssociatedComponentSpecificData();
    return pData ? pData[0] : 0;
}

// The paper reports the start of work on a stand of a club with a manager.
void AnnounceGroundBuilding(const CEventsDatabase& event)
{
    CDatabaseHandler* pHandler = CCountryDatabase::m_pDatabaseHandler;
    const CComponentScheduleDatabase* pSchedule =
        pHandler ? pHandler->FindComponentSchedule(event.GetDataID()) : nullptr;
    if (!pSchedule || !pSchedule->GetGround()) {
        DebugLog(1, "[CCountryDatabase::DoSpecialEvent] Unable to get ground");
        return;
    }
    const CClubDatabase* pOwner = pSchedule->GetGround()->GetOwner();
    if (!pOwner || pOwner->m_wManagerId == 0 || pSchedule->GetComponentMainType() != 0 ||
        pSchedule->GetKind() == SCHEDULE_DEMOLISH || IsUnchangedBuild(*pSchedule))
        return;
    if (CNewspaperStory* pStory = pOwner->AddNewspaperStory(0, kStoryGroundBuilding)) {
        pStory->SetParameterSlot(NEWS_SLOT_VALUE, LeadingDataByte(*pSchedule));
        pStory->SetParameterSlot(NEWS_SLOT_PERSON, pOwner->m_wManagerId);
    }
}

void ProcessGroundSchedulePayment(const CEventsDatabase& event)
{
    CDatabaseHandler* pHandler = CCountryDatabase::m_pDatabaseHandler;
    CComponentScheduleDatabase* pSchedule = pHandler ? pHandler->FindComponentSchedule(event.GetDataID()) : nullptr;
    if (!pSchedule) {
        DebugLog(1, "[CCountryDatabase::ProcessGroundSchedulePayment] Could not find the schedule!");
        return;
    }
    CClubDatabase* pOwner = pSchedule->GetGround() ? pSchedule->GetGround()->GetOwner() : nullptr;
    if (!pOwner) {
        DebugLog(1, "[CCountryDatabase::ProcessGroundSchedulePayment] Could not find the owner of the ground!");
        return;
    }
    const uint32_t dwAmount = pSchedule->GetEventPayment(event.GetType());
    if (event.GetType() == 30 && !(pSchedule->GetComponentMainType() == 0 && IsUnchangedBuild(*pSchedule)))
        if (CNewsItem* pItem = pOwner->AddNewsItem(kNewsGroundWorkStarts)) {
            pItem->SetSlot(NEWS_SLOT_SUBTYPE, pSchedule->GetComponentSubType());
            if (pSchedule->GetComponentMainType() == 0)
                pItem->SetSlot(NEWS_SLOT_VALUE, LeadingDataByte(*pSchedule));
        }
    const int nMainType = pSchedule->GetComponentMainType();
    if (dwAmount != 0 && nMainType < 3)
        BookClubMoney(pOwner, -static_cast<int32_t>(dwAmount), kBuildingFinanceCategory[nMainType]);
}

void ProcessGroundScheduleComplete(const CEventsDatabase& event)
{
    CDatabaseHandler* pHandler = CCountryDatabase::m_pDatabaseHandler;
    CComponentScheduleDatabase* pSchedule = pHandler ? pHandler->FindComponentSchedule(event.GetDataID()) : nullptr;
    if (!pSchedule || !pSchedule->GetGround()) {
        DebugLog(1, "[CCountryDatabase::ProcessGroundScheduleComplete] Could not find the schedule!");
        return;
    }
    CGroundDatabase* pGround = pSchedule->GetGround();
    switch (pSchedule->GetKind()) {
    case SCHEDULE_BUILD:
        pGround->ProcessBuildComponentSchedule(pSchedule);
        break;
    case SCHEDULE_IMPROVE:
        pGround->ProcessImproveComponentSchedule(pSchedule);
        break;
    case SCHEDULE_DEMOLISH:
        pGround->ProcessDemolishComponentSchedule(pSchedule);
        break;
    default:
        DebugLog(1, "[CCountryDatabase::ProcessGroundScheduleComplete] Unknown schedule type!");
        break;
    }
    // A human's match-day stock follows his ground's facilities.
    if (CClubDatabase* pOwner = pGround->GetOwner())
        pOwner->UpdateGroundFacilityTotals();
}

}  // namespace

void CCountryDatabase::DoSpecialEvent(const CDate& date)
{
    while (LPXLISTNODE pHead = m_lstEvents.GetHead()) {
        auto* pEvent = static_cast<CEventsDatabase*>(pHead->pData);
        if (pEvent->GetDate() > date)
            break;
        m_pCurrentEvent = pEvent;
        switch (pEvent->GetType()) {
        case 0:
        case 1:
        case 2:
            RunHumanManagerEvent(*pEvent);
            break;
        case 3:
        case 4:
        case 6:
        case 7:
        case 9:
        case 10:
        case 11:
        case 12:
        case 13:
        case 14:
        case 15:
        case 16:
        case 19:
        case 21:
        case 22:
        case 23:
        case 24:
        case 25:
        case 26:
        case 5:
        case 8:
        case 17:
        case 18:
        case 20:
            RunMarketEvent(pEvent);
            break;
        case 27:
        case 28:
        case 29:
            RunPlayerEvent(*pEvent);
            break;
        case 30:
            AnnounceGroundBuilding(*pEvent);
            ProcessGroundSchedulePayment(*pEvent);
            break;
        case 31:
        case 32:
            ProcessGroundSchedulePayment(*pEvent);
            break;
        case 33:
            ProcessGroundScheduleComplete(*pEvent);
            break;
        case 34:
            ProcessScoutCompleteEvent(*pEvent);
            break;
        case 35:
            PayTrainingCamp(*pEvent);
            break;
        case 36:
        case EVENT_BLOCKED_PERIOD_START:
        case EVENT_BLOCKED_PERIOD_END:
        case EVENT_CUP_MATCH_DATE:
        case 43:
        case 44:
            break;  // a marker on the calendar, nothing to run
        case EVENT_BLOCKED_PERIOD_START_NOTICE:
        case EVENT_BLOCKED_PERIOD_END_NOTICE:
            RunBlockedPeriodNotice(*pEvent);
            break;
        case EVENT_CUP_ROUND:
            RunCupRoundEvent(pEvent->GetDataID());
            break;
        case 45:
            RunClubReviewEvent(*pEvent);
            break;
        case 46:
            RunFixtureAcceptanceEvent(*pEvent);
            break;
        default:
            DebugLog(1, "[CCountryDatabase::DoSpecialEvent] Unknown special event!");
            break;
        }
        m_pCurrentEvent = nullptr;
        // The work run may have added events before this one: find it again.
        if (LPXLISTNODE pNode = m_lstEvents.Find(pEvent))
            UnlistEvent(pNode);
        delete pEvent;
    }
}

void CCountryDatabase::DoDeleteRedundantEvents()
{
    LPXLISTNODE pNode = m_lstEvents.GetHead();
    while (pNode) {
        LPXLISTNODE pNext = pNode->pNext;
        auto* pEvent = static_cast<CEventsDatabase*>(pNode->pData);
        bool bRedundant = false;
        switch (pEvent->GetType()) {
        case 4:
        case 5:
        case 8:
        case 16:
        case 17:
        case 18:
        case 26:
        case 27:
        case 28:
        case 29:
            if (m_pDatabaseHandler) {
                const ITEMPLAYERINFORMATION* pInfo = m_pDatabaseHandler->GetPlayerInformation(pEvent->GetDataID());
                if (pInfo && (pInfo->dwFlags & PLAYERINFO_RETIRED))
                    bRedundant = true;
                else if (pInfo && pInfo->pPlayer && (pInfo->pPlayer->m_dwFlags & PLAYER_FLAG_RETIRING))
                    bRedundant = true;
            }
            break;
        default:
            break;
        }
        if (bRedundant) {
            UnlistEvent(pNode);
            delete pEvent;
        }
        pNode = pNext;
    }
}
