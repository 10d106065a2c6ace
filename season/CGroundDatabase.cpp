#include "season/CGroundDatabase.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/TextField.h"
#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CEventsDatabase.h"
#include "platform/Random.h"
#include "season/CComponentDatabase.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CSaveGame.h"

CDatabaseHandler* CGroundDatabase::m_pDatabaseHandler = nullptr;

CGroundDatabase::~CGroundDatabase()
{
    FreeAll();
}

void CGroundDatabase::FreeAll()
{
    while (!m_lstSchedules.IsEmpty())
        delete static_cast<CComponentScheduleDatabase*>(m_lstSchedules.RemoveHead());
    while (!m_lstComponents.IsEmpty())
        delete static_cast<CComponentDatabase*>(m_lstComponents.RemoveHead());
}

void CGroundDatabase::SetName(const char* pszName)
{
    CopyTextField(m_szName, sizeof m_szName, pszName);
}

bool CGroundDatabase::Load(CBinaryReader& reader)
{
    FreeAll();
    uint32_t dwCapacity = 0, dwComponents = 0, dwSchedules = 0;
    reader.ReadU32(dwCapacity);
    reader.ReadU32(dwComponents);
    reader.ReadU32(dwSchedules);
    reader.ReadBytes(m_szName, NAME_SIZE);
    reader.ReadU32(m_dwStandLayout);
    reader.ReadU16(m_wID);
    reader.ReadU8(m_byRoofLayout);
    reader.Skip(1);
    if (reader.Failed()) {
        DebugLog(1, "[CGroundDatabase::Load] The ground record is cut short");
        return false;
    }
    // Whatever followed the terminator is not kept, so that the name saves the same each time.
    m_szName[NAME_SIZE - 1] = '\0';
    const size_t nLength = std::strlen(m_szName);
    std::memset(m_szName + nLength, 0, NAME_SIZE - nLength);
    m_nCapacity = static_cast<int32_t>(dwCapacity);
    if (m_nCapacity < 0) {
        DebugLog(1, "[CGroundDatabase::Load] Ground %u has a capacity of %d", m_wID, m_nCapacity);
        reader.Fail();
        return false;
    }
    // Every component is at least its record and one data byte; so is every schedule.
    if (!reader.CheckCount(static_cast<uint64_t>(dwComponents) + dwSchedules,
                           CComponentDatabase::FILE_SIZE + COMPONENT_PITCH_ITEM_DATA)) {
        DebugLog(1, "[CGroundDatabase::Load] Ground %u counts %u components and %u schedules, more than the file holds",
                 m_wID, dwComponents, dwSchedules);
        return false;
    }
    for (uint32_t i = 0; i < dwComponents; ++i) {
        auto* pComponent = new CComponentDatabase;
        if (!pComponent->Load(reader)) {
            delete pComponent;
            DebugLog(1, "[CGroundDatabase::Load] Component %u of ground %u is refused", i, m_wID);
            return false;
        }
        if (FindComponent(pComponent->GetID())) {
            DebugLog(1, "[CGroundDatabase::Load] Ground %u holds component %u twice", m_wID, pComponent->GetID());
            delete pComponent;
            reader.Fail();
            return false;
        }
        AddComponent(pComponent);
    }
    SortComponents();
    RecalculateTotals();
    for (uint32_t i = 0; i < dwSchedules; ++i) {
        auto* pSchedule = new CComponentScheduleDatabase;
        if (!pSchedule->Load(reader, this)) {
            delete pSchedule;
            DebugLog(1, "[CGroundDatabase::Load] Schedule %u of ground %u is refused", i, m_wID);
            return false;
        }
        AddComponentSchedule(pSchedule);
    }
    return true;
}

bool CGroundDatabase::Save(CBinaryWriter& writer) const
{
    writer.WriteU32(static_cast<uint32_t>(m_nCapacity));
    writer.WriteU32(static_cast<uint32_t>(m_lstComponents.GetCount()));
    writer.WriteU32(static_cast<uint32_t>(m_lstSchedules.GetCount()));
    writer.WriteBytes(m_szName, NAME_SIZE);
    writer.WriteU32(m_dwStandLayout);
    writer.WriteU16(m_wID);
    writer.WriteU8(m_byRoofLayout);
    writer.WriteZeros(1);
    for (const CComponentDatabase* p : m_lstComponents.Items<CComponentDatabase>())
        p->Save(writer);
    for (const CComponentScheduleDatabase* p : m_lstSchedules.Items<CComponentScheduleDatabase>())
        p->Save(writer);
    return !writer.Failed();
}

CComponentDatabase* CGroundDatabase::FindComponent(uint32_t dwID, LPXLISTNODE* ppNode) const
{
    return m_lstComponents.FindItem<CComponentDatabase>(
        [&](const CComponentDatabase* p) { return p->GetID() == dwID; }, ppNode);
}

CComponentScheduleDatabase* CGroundDatabase::FindComponentSchedule(uint32_t dwID, LPXLISTNODE* ppNode) const
{
    return m_lstSchedules.FindItem<CComponentScheduleDatabase>(
        [&](const CComponentScheduleDatabase* p) { return p->GetID() == dwID; }, ppNode);
}

int CGroundDatabase::AddComponent(CComponentDatabase* pComponent)
{
    pComponent->SetGround(this);
    m_lstComponents.AddTail(pComponent);
    return m_lstComponents.GetCount();
}

namespace {

constexpr uint8_t kEventBuildingStart = 30;
constexpr uint8_t kEventBuildingMonth = 31;
constexpr uint8_t kEventBuildingExtra = 32;
constexpr uint8_t kEventBuildingComplete = 33;
constexpr int kCancelledWorkNews = 165;
constexpr int kProtectedSubType = 6;
constexpr int kScheduleLookAheadDays = 14;
constexpr uint8_t kBoardDemolishStand = 15;

}  // namespace

int CGroundDatabase::AddComponentSchedule(CComponentScheduleDatabase* pSchedule, bool bAnnounce)
{
    pSchedule->SetGround(this);
    m_lstSchedules.AddTail(pSchedule);
    CCountryDatabase* pCountry = m_pOwner ? m_pOwner->m_pCountry : nullptr;
    if (bAnnounce && pCountry) {
        const uint32_t dwId = pSchedule->GetID();
        const int nWeeks = pSchedule->GetDuration();
        const CDate start = pSchedule->GetStartDate();
        pCountry->AddEvent(kEventBuildingStart, start, dwId);
        pCountry->AddEvent(kEventBuildingExtra, pSchedule->GetEndDate(), dwId);
        for (int m = nWeeks; m >= 1; --m)
            if (m % 4 == 0)
                pCountry->AddEvent(kEventBuildingMonth, CDate(start.GetValue(), 7 * (nWeeks - m)), dwId);
        pCountry->AddEvent(kEventBuildingComplete, pSchedule->GetEndDate(), dwId);
        const CComponentDatabase* pComponent = pSchedule->GetComponent();
        if (pSchedule->GetKind() == SCHEDULE_DEMOLISH && pComponent && pComponent->IsStand())
            m_pOwner->UpdateBoardConfidence(kBoardDemolishStand, 0);
    }
    return m_lstSchedules.GetCount();
}

int64_t CGroundDatabase::GetScheduleCost(const CComponentScheduleDatabase& schedule)
{
    if (schedule.GetKind() == SCHEDULE_DEMOLISH)
        return schedule.GetExtraCost();
    return static_cast<int64_t>(schedule.GetComponentMonthlyCost()) * (schedule.GetDuration() / 4) +
           schedule.GetComponentInitialCost() + schedule.GetExtraCost();
}

void CGroundDatabase::ProcessComponentSchedules()
{
    CSaveGame* pHuman = m_pOwner && m_pDatabaseHandler ? m_pDatabaseHandler->GetSaveGameForClub(m_pOwner) : nullptr;
    if (!pHuman)
        return;
    const CDate today = m_pDatabaseHandler->GetGameDate();
    const CDate horizon(today.GetValue(), kScheduleLookAheadDays);
    // The bank balance stands for the total funds: the reserve figures of a
    // human record are not in the game.
    int64_t nFunds = m_pOwner->m_nBankBalance;
    // The list changes as work is called off: walk a copy.
    std::vector<CComponentScheduleDatabase*> schedules;
    for (CComponentScheduleDatabase* p : m_lstSchedules.Items<CComponentScheduleDatabase>())
        schedules.push_back(p);
    for (CComponentScheduleDatabase* pSchedule : schedules) {
        const CDate start = pSchedule->GetStartDate();
        if (start < today || horizon < start)
            continue;
        const int nSubType = pSchedule->GetComponentSubType();
        auto cancel = [&](bool bSide) {
            if (CNewsItem* pItem = pHuman->PostNews(kCancelledWorkNews, m_pOwner)) {
                pItem->SetSlot(NEWS_SLOT_SUBTYPE, static_cast<uint32_t>(nSubType));
                const CComponentDatabase* pComponent = pSchedule->GetComponent();
                if (bSide && pComponent && pComponent->IsStand())
                    pItem->SetSlot(NEWS_SLOT_RECORD_A, static_cast<uint32_t>(pComponent->GetStandSide()));
            }
            RemoveComponentSchedule(pSchedule);
        };
        if (pSchedule->GetKind() == SCHEDULE_DEMOLISH && nSubType == kProtectedSubType) {
            if (CountComponentsOfSubType(kProtectedSubType) -
                    CountRunningSchedules(kProtectedSubType, SCHEDULE_DEMOLISH) < 2) {
                cancel(false);
                continue;
            }
        }
        const int64_t nCost = GetScheduleCost(*pSchedule);
        if (nCost >= nFunds) {
            cancel(true);
            continue;
        }
        nFunds -= nCost;
    }
}

void CGroundDatabase::RemoveComponentSchedule(CComponentScheduleDatabase* pSchedule)
{
    LPXLISTNODE pNode = m_lstSchedules.Find(pSchedule);
    if (!pNode)
        return;
    m_lstSchedules.Remove(pNode);
    if (CCountryDatabase* pCountry = m_pOwner ? m_pOwner->m_pCountry : nullptr) {
        for (uint8_t byType = kEventBuildingStart; byType <= kEventBuildingComplete; ++byType) {
            while (CEventsDatabase* pEvent = pCountry->FindEvent(byType, pSchedule->GetID())) {
                if (!pCountry->RemoveEvent(pEvent))
                    break;
                delete pEvent;
            }
        }
    }
    if (pSchedule->GetKind() == SCHEDULE_BUILD && pSchedule->GetComponent()) {
        LPXLISTNODE pComponentNode = m_lstComponents.Find(pSchedule->GetComponent());
        if (pComponentNode) {
            m_lstComponents.Remove(pComponentNode);
            delete pSchedule->GetComponent();
        }
    }
    delete pSchedule;
    RecalculateTotals();
}

CComponentDatabase* CGroundDatabase::GetStandOnSide(int nSide) const
{
    for (CComponentDatabase* p : m_lstComponents.Items<CComponentDatabase>()) {
        if (p->IsStand() && p->IsFinished() && p->GetStandSide() == nSide)
            return p;
    }
    return nullptr;
}

CComponentScheduleDatabase* CGroundDatabase::GetScheduledStandOnSide(int nSide) const
{
    for (CComponentScheduleDatabase* p : m_lstSchedules.Items<CComponentScheduleDatabase>()) {
        const CComponentDatabase* pComponent = p->GetComponent();
        if (pComponent && pComponent->IsStand() && !pComponent->IsDemolished() && pComponent->GetStandSide() == nSide)
            return p;
    }
    return nullptr;
}

int CGroundDatabase::GetSideState(int nSide) const
{
    const CComponentScheduleDatabase* pSchedule = GetScheduledStandOnSide(nSide);
    if (pSchedule) {
        if (pSchedule->IsDue())
            return 1;
        if (pSchedule->GetKind() == SCHEDULE_BUILD)
            return 2;
    }
    return GetStandOnSide(nSide) ? 0 : 2;
}

int CGroundDatabase::CountComponentsOfMainType(int nMainType) const
{
    int n = 0;
    for (const CComponentDatabase* p : m_lstComponents.Items<CComponentDatabase>())
        if (p->IsFinished() && p->GetMainType() == nMainType)
            ++n;
    return n;
}

int CGroundDatabase::CountComponentsOfSubType(int nSubType) const
{
    int n = 0;
    for (const CComponentDatabase* p : m_lstComponents.Items<CComponentDatabase>())
        if (p->IsFinished() && p->GetSubType() == nSubType)
            ++n;
    return n;
}

int CGroundDatabase::CountRunningSchedules(int nSubType, int nKind) const
{
    int n = 0;
    for (const CComponentScheduleDatabase* p : m_lstSchedules.Items<CComponentScheduleDatabase>())
        if (!p->HasDurationElapsed() && p->GetKind() == nKind && p->GetComponentSubType() == nSubType)
            ++n;
    return n;
}

void CGroundDatabase::PrepareScheduledComponent(CComponentScheduleDatabase* pSchedule) const
{
    CComponentDatabase* pComponent = pSchedule->GetComponent();
    if (!pComponent)
        return;
    const uint8_t* pData = pSchedule->GetScheduleData();
    pComponent->SetGroundID(m_wID);
    pComponent->SetMainType(pData[SCHEDULE_DATA_MAIN_TYPE]);
    pComponent->SetSubType(pData[SCHEDULE_DATA_SUB_TYPE]);
    pComponent->SetValue(pSchedule->GetComponentValue());
    pComponent->SetMaintenanceCost(pSchedule->GetComponentMaintenanceCost());
    pComponent->SetDemolished(false);
    pComponent->SetSpecificData(pSchedule->GetComponentData());
}

bool CGroundDatabase::ProcessBuildComponentSchedule(CComponentScheduleDatabase* pSchedule)
{
    if (!pSchedule || pSchedule->GetKind() != SCHEDULE_BUILD || !pSchedule->GetComponent()) {
        DebugLog(1, "[CGroundDatabase::ProcessBuildComponentSchedule] The schedule passed is not a build schedule!");
        return false;
    }
    CComponentDatabase* pComponent = pSchedule->GetComponent();
    pComponent->SetUnderConstruction(false);
    if (pComponent->IsStand())
        m_nCapacity += pComponent->GetStandSeats();
    RecalculateTotals();
    return true;
}

bool CGroundDatabase::ProcessImproveComponentSchedule(CComponentScheduleDatabase* pSchedule)
{
    if (!pSchedule || pSchedule->GetKind() != SCHEDULE_IMPROVE || !pSchedule->GetComponent()) {
        DebugLog(1,
                 "[CGroundDatabase::ProcessImproveComponentSchedule] The schedule passed is not an improve schedule!");
        return false;
    }
    CComponentDatabase* pComponent = pSchedule->GetComponent();
    const int nOldSeats = pComponent->IsStand() ? pComponent->GetStandSeats() : 0;
    pComponent->SetSubType(pSchedule->GetComponentSubType());
    pComponent->SetValue(pSchedule->GetComponentValue());
    pComponent->SetMaintenanceCost(pSchedule->GetComponentMaintenanceCost());
    pComponent->SetSpecificData(pSchedule->GetComponentData());
    if (pComponent->IsStand())
        m_nCapacity += pComponent->GetStandSeats() - nOldSeats;
    RecalculateTotals();
    return true;
}

bool CGroundDatabase::ProcessDemolishComponentSchedule(CComponentScheduleDatabase* pSchedule)
{
    if (!pSchedule || pSchedule->GetKind() != SCHEDULE_DEMOLISH || !pSchedule->GetComponent()) {
        DebugLog(1,
                 "[CGroundDatabase::ProcessDemolishComponentSchedule] The schedule passed is not a demolish schedule!");
        return false;
    }
    CComponentDatabase* pComponent = pSchedule->GetComponent();
    // A second completion must not take the seats off twice.
    if (!pComponent->IsDemolished()) {
        pComponent->SetDemolished(true);
        if (pComponent->IsStand())
            m_nCapacity -= pComponent->GetStandSeats();
    }
    RecalculateTotals();
    return true;
}

bool CGroundDatabase::GetPitchConditionComponent(int nKind) const
{
    int nSubType;
    switch (nKind) {
    case 1:
        nSubType = 12;
        break;
    case 2:
        nSubType = 15;
        break;
    case 3:
        nSubType = 16;
        break;
    default:
        DebugLog(1, "[CGroundDatabase::GetPitchConditionComponent] Unknown pitch condition component!");
        return false;
    }
    for (const CComponentDatabase* p : m_lstComponents.Items<CComponentDatabase>())
        if (p->GetMainType() == COMPONENT_PITCH_ITEM && p->GetSubType() == nSubType)
            return true;
    return false;
}

int CGroundDatabase::CalculateAttendance(float fFactor) const
{
    float fCapacity = static_cast<float>(m_nCapacity);
    if (m_nCapacity < 1) {
        DebugLog(1, "[CGroundDatabase::GetMatchAttendance] Has no Seating Capacity assuming 10000");
        fCapacity = static_cast<float>(DEFAULT_CAPACITY);
    }
    const int nSpread = static_cast<int>(0.02f * fCapacity);
    // A spread of 0 (a ground of under 50 seats) gives no random part.
    const int nRandom = nSpread > 0 ? plat::rand() % nSpread - nSpread / 2 : 0;
    const float fAttendance = static_cast<float>(nRandom) + fFactor * fCapacity;
    if (fAttendance <= 0.0f)
        return 0;
    return static_cast<int>(fAttendance <= fCapacity ? fAttendance : fCapacity);
}

int CGroundDatabase::GetAttendancePercentage(int nAttendance) const
{
    const float fCapacity = static_cast<float>(m_nCapacity >= 1 ? m_nCapacity : DEFAULT_CAPACITY);
    return static_cast<int>(static_cast<float>(nAttendance) / fCapacity * 100.0f);
}

void CGroundDatabase::ApplyYearlyCostRise()
{
    if (!m_pDatabaseHandler)
        return;
    for (CComponentDatabase* p : m_lstComponents.Items<CComponentDatabase>()) {
        if (!p->IsStand() || !p->IsFinished())
            continue;
        const STANDTABLERECORD* pRow = m_pDatabaseHandler->GetStandTableRecord(
            p->GetStandSide(), p->GetSubType(), p->GetStandSize(), p->GetStandQuality());
        if (!pRow)
            continue;
        const double dRise = pRow->byYearlyCostRise * 0.01 + 1.0;
        p->SetMaintenanceCost(static_cast<uint32_t>(dRise * p->GetMaintenanceCost()));
    }
}

void CGroundDatabase::RecalculateTotals()
{
    m_anTotals[0] = m_anTotals[1] = m_anTotals[2] = 0;
    for (const CComponentDatabase* p : m_lstComponents.Items<CComponentDatabase>()) {
        if (p->IsFinished() && p->GetMainType() < 3)
            m_anTotals[p->GetMainType()] += static_cast<int32_t>(p->GetValue());
    }
}

void CGroundDatabase::SortComponents()
{
    std::vector<CComponentDatabase*> components;
    for (CComponentDatabase* p : m_lstComponents.Items<CComponentDatabase>())
        components.push_back(p);
    std::stable_sort(components.begin(), components.end(),
                     [](const CComponentDatabase* a, const CComponentDatabase* b) {
                         return a->GetStandSide() < b->GetStandSide();
                     });
    int i = 0;
    for (LPXLISTNODE pNode = m_lstComponents.GetHead(); pNode; pNode = pNode->pNext)
        pNode->pData = components[static_cast<size_t>(i++)];
}
