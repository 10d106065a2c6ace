// The pools of unemployed managers, unattached staff and club-less youths,
// the moves of people between the pools and the clubs, and the refills that
// keep every pool from running dry.
#include "database/CDatabaseHandler.h"

#include <algorithm>

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CManagerDatabase.h"
#include "database/CStaffDatabase.h"
#include "database/CYouthDatabase.h"
#include "database/PersonOwners.h"
#include "platform/Random.h"
#include "season/CNewspaperManager.h"
#include "season/CNewspaperStoryList.h"
#include "season/CSaveGame.h"

namespace {

constexpr int kStaffRefillBelow = 10;
constexpr int kStaffRefillTo[CLUB_STAFF_KINDS] = {20, 20, 10, 20, 20, 20};
constexpr int kManagerRetirementAge = 66;
constexpr uint8_t kStaffWasInPool = 0x02;
// A human's staff negotiation closed, or taken back by him.
constexpr uint8_t kNegotiationRefused = 2;
constexpr uint8_t kNegotiationWithdrawn = 5;
constexpr uint16_t kNewsStaffTakenElsewhere = 8;
// The board confidence below which the board has lost patience with its
// manager (the club's weekly step warns at the same mark).
constexpr int kBoardSacksBelow = 30;
constexpr uint16_t kStoryManagerRetires = 298;
constexpr uint16_t kStoryManagerSacked = 303;
// A human manager who resigned or put his job to the board leaves in this story.
constexpr uint16_t kStoryManagerLeaves = 305;

ID_MANAGER ManagerFromValue(const void* p) { return static_cast<ID_MANAGER>(reinterpret_cast<uintptr_t>(p)); }
ID_STAFF StaffFromValue(const void* p) { return static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(p)); }

}  // namespace

// ---- managers ----

void CDatabaseHandler::SackManager(ID_MANAGER idManager, bool bRecord)
{
    CManagerDatabase* pManager = GetManagerFromID(idManager);
    if (!pManager) {
        DebugLog(0, "[CClubDatabase::SackManager] Could not find the manager to sack!");
        return;
    }
    if (!pManager->m_pClub) {
        DebugLog(0, "[CDatabaseHandler::SackManager] Manager to sack has no club!");
    } else {
        CClubDatabase* pClub = pManager->m_pClub;
        if (bRecord) {
            DebugLog(2, "[CDatabaseHandler::SackManager] %s sacks %s", pClub->GetName(), pManager->GetShortName());
            const CSaveGame* pHuman = GetSaveGameForClub(pClub);
            const bool bHisOwnMove = pHuman && (pHuman->m_byResign || pHuman->m_byBoardRequest);
            if (CNewspaperStory* pStory =
                    pClub->AddNewspaperStory(0, bHisOwnMove ? kStoryManagerLeaves : kStoryManagerSacked))
                pStory->SetParameterSlot(NEWS_SLOT_PERSON, idManager);
        }
        if (pClub->m_wManagerId == idManager)
            pClub->SetManager(0, true);
        pManager->m_pClub = nullptr;
        pManager->m_pCountry = nullptr;
        pManager->m_pDivision = nullptr;
    }
    if (GetManagerState(idManager) == MANAGERSTATE_POOL) {
        DebugLog(0, "[CDatabaseHandler::SackPlayer] Manager is already sacked!");
        return;
    }
    AddManagerToFreePool(idManager);
}

void CDatabaseHandler::DoJoinManagerToClub(ID_MANAGER idManager, CClubDatabase* pClub)
{
    if (!pClub || !GetPoolManager(idManager))
        return;
    if (pClub->m_wManagerId != 0) {
        DebugLog(0, "[CDatabaseHandler::DoJoinManagerToClub] The club already has a manager, automatically sacking "
                    "the existing one!");
        SackManager(pClub->m_wManagerId, true);
    }
    RemoveManagerFromFreePool(idManager);
    pClub->SetManager(idManager, true);
    if (CManagerDatabase* pManager = GetEmployedManager(idManager)) {
        pManager->TakeClub(pClub);
        pManager->AddCareerEntry((GetClubSeasonYear(pClub) - 1999) & 0xFF, pClub->GetID());
        // A contract on the division's terms that runs from today.
        pManager->GenerateManagerContract(CManagerDatabase::GetContractTermsForClub(pClub));
        m_GameDate.GetYMD(pManager->m_Contract.StartDate);
    }
    DebugLog(2, "[CDatabaseHandler::DoJoinManagerToClub] Manager %u takes charge of %s", idManager, pClub->GetName());
}

CManagerDatabase* CDatabaseHandler::PickPoolManager() const
{
    CManagerDatabase* pBest = nullptr;
    for (const void* pValue : m_lstUnemployedManagers.Items<void>()) {
        CManagerDatabase* pManager = GetPoolManager(ManagerFromValue(pValue));
        if (pManager && (!pBest || pManager->m_byRating > pBest->m_byRating))
            pBest = pManager;
    }
    return pBest;
}

CManagerDatabase* CDatabaseHandler::PickPoolManager(const CClubDatabase* pClub) const
{
    CManagerDatabase* pBest = nullptr;
    for (const void* pValue : m_lstUnemployedManagers.Items<void>()) {
        CManagerDatabase* pManager = GetPoolManager(ManagerFromValue(pValue));
        if (pManager && (!pBest || pManager->m_byRating > pBest->m_byRating) && pClub &&
            pClub->WouldManagerAcceptJob(pManager->GetId()) == 2)
            pBest = pManager;
    }
    return pBest;
}

void CDatabaseHandler::FillManagerVacancies()
{
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (CClubDatabase* pClub : pDivision->m_lstClubsByID.Items<CClubDatabase>()) {
                // A club whose search is under way waits for its end.
                if (pClub->m_wManagerId != 0 || IsClubHumanManaged(pClub) || pCountry->FindClubReview(pClub, nullptr))
                    continue;
                if (m_lstUnemployedManagers.IsEmpty())
                    TopUpManagerPool();
                if (CManagerDatabase* pManager = PickPoolManager())
                    DoJoinManagerToClub(pManager->GetId(), pClub);
            }
}

void CDatabaseHandler::ReviewManagers()
{
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (CClubDatabase* pClub : pDivision->m_lstClubsByID.Items<CClubDatabase>()) {
                const CManagerDatabase* pManager = pClub->GetManager();
                if (pManager && !IsClubHumanManaged(pClub) && pClub->m_nBoardConfidence < kBoardSacksBelow &&
                    !pManager->IsNewInJob()) {
                    SackManager(pManager->GetId(), true);
                    pClub->StartManagerSearch();
                }
            }
    FillManagerVacancies();
}

void CDatabaseHandler::TopUpManagerPool()
{
    while (m_lstUnemployedManagers.GetCount() < kManagerPoolSize) {
        auto* pManager = new CManagerDatabase;
        pManager->GenerateRecord();
        // A new manager is counted in the pool but not yet listed there.
        RemoveManagerFromFreePool(pManager->GetId());
        AddManagerToFreePool(pManager->GetId());
    }
}

void CDatabaseHandler::RetireOldManagers()
{
    // A computer club's manager who is old enough steps down into the pool,
    // from where he retires below with the unemployed ones.
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
                const CManagerDatabase* pManager = pClub->m_wManagerId ? GetManagerFromID(pClub->m_wManagerId) : nullptr;
                if (!pManager || pManager->GetAge() < kManagerRetirementAge || GetSaveGameForClub(pClub) ||
                    GetManagerState(pManager->GetId()) != MANAGERSTATE_EMPLOYED)
                    continue;
                DebugLog(2, "[CDatabaseHandler::RetireOldManagers] %s of %s retires", pManager->GetShortName(),
                         pClub->GetName());
                if (CNewspaperStory* pStory = pClub->AddNewspaperStory(0, kStoryManagerRetires))
                    pStory->SetParameterSlot(NEWS_SLOT_PERSON, pManager->GetId());
                SackManager(pManager->GetId(), false);
            }
    LPXLISTNODE pNode = m_lstUnemployedManagers.GetHead();
    while (pNode) {
        LPXLISTNODE pNext = pNode->pNext;
        const ID_MANAGER idManager = ManagerFromValue(pNode->pData);
        const CManagerDatabase* pManager = GetPoolManager(idManager);
        // A human without a club keeps his manager record whatever his age.
        const bool bHuman = std::any_of(std::begin(m_pHumanSlots), std::end(m_pHumanSlots),
                                        [idManager](const CSaveGame* p) { return p && p->GetManagerID() == idManager; });
        if (pManager && !bHuman && pManager->GetAge() >= kManagerRetirementAge) {
            RemoveManagerFromFreePool(idManager);
            if (!RetireManager(idManager))
                AddManagerToFreePool(idManager);
        }
        pNode = pNext;
    }
}

// ---- staff ----

int CDatabaseHandler::GetStaffPoolCount(int nKind) const
{
    int n = 0;
    for (const void* pValue : m_lstStaffPool.Items<void>()) {
        LPITEMSTAFFINFORMATION pEntry = GetStaffInformation(StaffFromValue(pValue));
        n += pEntry && pEntry->pStaff && pEntry->pStaff->m_byKind == nKind;
    }
    return n;
}

void CDatabaseHandler::AddStaffToPool(ID_STAFF idStaff)
{
    LPITEMSTAFFINFORMATION pEntry = GetStaffInformation(idStaff);
    if (!pEntry || !pEntry->pStaff || m_lstStaffPool.Find(reinterpret_cast<void*>(static_cast<uintptr_t>(idStaff))))
        return;
    pEntry->dwFlags = STAFFINFO_POOL;
    m_lstStaffPool.AddTail(reinterpret_cast<void*>(static_cast<uintptr_t>(idStaff)));
    ++m_wPoolStaff;
    pEntry->pStaff->m_byStateFlags |= kStaffWasInPool;
}

bool CDatabaseHandler::RemoveStaffFromPool(ID_STAFF idStaff)
{
    if (!TakeStaffFromPool(idStaff))
        return false;
    if (CStaffDatabase* pStaff = GetStaffFromID(idStaff))
        pStaff->m_byStateFlags |= kStaffWasInPool;
    TopUpStaffPool();
    return true;
}

int CDatabaseHandler::HireStaff(ID_STAFF idStaff, CClubDatabase* pClub)
{
    CStaffDatabase* pStaff = GetStaffFromID(idStaff);
    if (!pClub || !pStaff || !m_lstStaffPool.Find(reinterpret_cast<void*>(static_cast<uintptr_t>(idStaff)))) {
        DebugLog(0, "[CDatabaseHandler::HireStaff] Could not find the staff to hire on the staff pool.");
        return 2;
    }
    RemoveStaffFromPool(idStaff);
    if (const CSaveGame* pHuman = GetSaveGameForClub(pClub))
        CancelOtherHumanStaffOffers(idStaff, pHuman);
    pStaff->m_pCountry = pClub->m_pCountry;
    pStaff->m_pDivision = pClub->m_pDivision;
    pStaff->SetClub(pClub);
    pStaff->m_byMorale = static_cast<uint8_t>(70 + plat::rand() % 20);
    pClub->AddStaff(idStaff);
    return 0;
}

CStaffDatabase* CDatabaseHandler::FindNextStaffByType(uint8_t byKind, int& nCursor) const
{
    int nIndex = 0;
    for (const void* pValue : m_lstStaffPool.Items<void>()) {
        if (nIndex++ < nCursor)
            continue;
        LPITEMSTAFFINFORMATION pEntry = GetStaffInformation(StaffFromValue(pValue));
        CStaffDatabase* pStaff = pEntry ? pEntry->pStaff : nullptr;
        if (pStaff && pStaff->m_byKind == byKind) {
            nCursor = nIndex;
            return pStaff;
        }
    }
    nCursor = nIndex;
    return nullptr;
}

void CDatabaseHandler::CancelOtherHumanStaffOffers(ID_STAFF idStaff, const CSaveGame* pWinner)
{
    for (CSaveGame* pHuman : m_pHumanSlots) {
        if (!pHuman || pHuman == pWinner)
            continue;
        STAFFNEGOTIATION* pNegotiation = pHuman->FindStaffNegotiation(idStaff);
        if (!pNegotiation || pNegotiation->byStatus == kNegotiationRefused || pNegotiation->byStatus == kNegotiationWithdrawn)
            continue;
        pNegotiation->byStatus = kNegotiationRefused;
        if (CNewsItem* pItem = pHuman->PostNews(kNewsStaffTakenElsewhere))
            pItem->SetSlot(NEWS_SLOT_STAFF, idStaff);
    }
}

void CDatabaseHandler::SackStaff(ID_STAFF idStaff)
{
    CStaffDatabase* pStaff = GetStaffFromID(idStaff);
    if (!pStaff || !pStaff->m_pClub)
        return;
    CClubDatabase* pClub = pStaff->m_pClub;
    pClub->RemoveStaff(idStaff);
    pStaff->m_wFormerClubId = pClub->GetID();
    pStaff->SetClub(nullptr);
    pStaff->m_pCountry = nullptr;
    pStaff->m_pDivision = nullptr;
    pStaff->m_DateJoined = {static_cast<uint16_t>(m_GameDate.GetYear()), static_cast<uint8_t>(m_GameDate.GetMonth()),
                            static_cast<uint8_t>(m_GameDate.GetDay())};
    AddStaffToPool(idStaff);
}

void CDatabaseHandler::TopUpStaffPool()
{
    // Every hire asks: one walk over the pool counts each kind. A kind's new
    // staff leave the other kinds' counts as they were.
    int anCounts[CLUB_STAFF_KINDS] = {};
    for (const void* pValue : m_lstStaffPool.Items<void>()) {
        const LPITEMSTAFFINFORMATION pEntry = GetStaffInformation(StaffFromValue(pValue));
        if (pEntry && pEntry->pStaff && pEntry->pStaff->m_byKind < CLUB_STAFF_KINDS)
            ++anCounts[pEntry->pStaff->m_byKind];
    }
    for (int nKind = 0; nKind < CLUB_STAFF_KINDS; ++nKind) {
        int n = anCounts[nKind];
        if (n >= kStaffRefillBelow)
            continue;
        for (; n < kStaffRefillTo[nKind]; ++n) {
            auto* pStaff = new CStaffDatabase;
            pStaff->GenerateRecord(nKind);
            // The wage scale has no entry 0.
            if (pStaff->m_byRating == 0)
                pStaff->m_byRating = pStaff->m_byPreviousRating = 1;
        }
    }
}

// ---- youths ----

void CDatabaseHandler::AddYouthToPool(CYouthDatabase* pYouth)
{
    if (pYouth && !m_lstYouths.Find(pYouth))
        AddYouth(pYouth);
}

void CDatabaseHandler::ReleaseYouth(CYouthDatabase* pYouth)
{
    if (!pYouth)
        return;
    ++m_nYouthReleaseCounter;
    if (pYouth->m_pClub)
        pYouth->m_pClub->RemoveYouth(pYouth);
    // A full pool takes no more of his position: he leaves the game.
    if (!m_lstYouths.Find(pYouth) && GetYouthPoolCount(pYouth->m_byPosition) >= kYouthPoolPerPosition) {
        DebugLog(7, "[CDatabaseHandler::ReleaseYouth] %s leaves the game", pYouth->GetShortName());
        delete pYouth;
        return;
    }
    AddYouthToPool(pYouth);
}

bool CDatabaseHandler::HireYouth(CYouthDatabase* pYouth, CClubDatabase* pClub)
{
    LPXLISTNODE pNode = pYouth ? m_lstYouths.Find(pYouth) : nullptr;
    if (!pNode || !pClub) {
        DebugLog(0, "[CDatabaseHandler::HireYouth] Could not find the youth to hire on the youth pool.");
        return false;
    }
    m_lstYouths.Remove(pNode);
    --m_nYouthCount;
    pClub->AddYouthPlayer(pYouth);
    return true;
}

bool CDatabaseHandler::HireYouthAndRegenerate(CYouthDatabase* pYouth, CClubDatabase* pClub)
{
    if (!pYouth || !pClub || !m_lstYouths.Find(pYouth)) {
        DebugLog(0, "[CDatabaseHandler::HireYouthAndRegenerate] Could not find the youth to hire on the youth pool.");
        return false;
    }
    const int nPosition = pYouth->m_byPosition;
    if (!HireYouth(pYouth, pClub))
        return false;
    AddYouth(new CYouthDatabase(nullptr, nPosition));
    return true;
}

CYouthDatabase* CDatabaseHandler::GetFirstPoolYouth() const
{
    return m_lstYouths.IsEmpty() ? nullptr : static_cast<CYouthDatabase*>(m_lstYouths.GetHead()->pData);
}

int CDatabaseHandler::GetYouthPoolCount(int nPosition) const
{
    int n = 0;
    for (const CYouthDatabase* p : m_lstYouths.Items<CYouthDatabase>())
        n += p->m_byPosition == nPosition;
    return n;
}

void CDatabaseHandler::TopUpYouthPool()
{
    for (int nPosition = 0; nPosition < PLAYER_POSITION_COUNT; ++nPosition)
        for (int n = GetYouthPoolCount(nPosition); n < kYouthPoolPerPosition; ++n)
            AddYouth(new CYouthDatabase(nullptr, nPosition));
}
