#include "season/CSponsorManager.h"

#include <algorithm>
#include <vector>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CEventsDatabase.h"
#include "platform/Random.h"
#include "season/CNewspaperManager.h"
#include "season/CRangeTable.h"
#include "season/CSaveGame.h"

namespace {

constexpr int kBands = 10;
constexpr int kTopColumn = 4;
constexpr int32_t kHighestMoney = 100000000;
constexpr int kNewsPlaceEmpty = 235;

// (minimum, maximum) offers by rating band, per sponsor type.
constexpr int kOfferCounts[CSponsorManager::TYPES][kBands][2] = {
    {{0, 1}, {0, 2}, {0, 3}, {1, 4}, {1, 5}, {2, 6}, {2, 7}, {2, 8}, {3, 9}, {4, 10}},
    {{0, 2}, {0, 4}, {2, 6}, {2, 8}, {2, 10}, {2, 12}, {4, 14}, {4, 16}, {6, 18}, {8, 20}},
    {{0, 4}, {0, 8}, {2, 12}, {2, 16}, {4, 20}, {4, 24}, {8, 28}, {8, 32}, {12, 36}, {16, 40}},
};

const char* const kTableFiles[CSponsorManager::TYPES] = {"Data\\Tables\\Kit.TXT", "Data\\Tables\\Shirt.TXT",
                                                         "Data\\Tables\\Advert.TXT"};

CRangeTable s_aTables[CSponsorManager::TYPES];

int BandOf(const CClubDatabase* pClub)
{
    return pClub ? CRangeTable::RatingBand(pClub->GetClubRating()) : 0;
}

void FreeList(CXList& list)
{
    while (!list.IsEmpty())
        delete static_cast<SPONSOR*>(list.RemoveHead());
}

void WriteSponsor(CBinaryWriter& writer, const SPONSOR& sponsor)
{
    writer.WriteU8(sponsor.byId);
    writer.WriteU8(static_cast<uint8_t>(sponsor.nTerm));
    writer.WriteZeros(2);
    writer.WriteU32(sponsor.dwAmount);
}

SPONSOR* ReadSponsor(CBinaryReader& reader)
{
    SPONSOR sponsor;
    uint8_t byTerm = 0;
    if (!reader.ReadU8(sponsor.byId) || !reader.ReadU8(byTerm) || !reader.Skip(2) || !reader.ReadU32(sponsor.dwAmount))
        return nullptr;
    sponsor.nTerm = static_cast<int8_t>(byTerm);
    if (sponsor.byId < 1 || sponsor.byId > CSponsorManager::HIGHEST_ID)
        return nullptr;
    return new SPONSOR(sponsor);
}

void WriteList(CBinaryWriter& writer, const CXList& list)
{
    writer.WriteU32(static_cast<uint32_t>(list.GetCount()));
    for (const SPONSOR* p : list.Items<SPONSOR>())
        WriteSponsor(writer, *p);
}

bool ReadList(CBinaryReader& reader, CXList& list)
{
    uint32_t dwCount = 0;
    if (!reader.ReadU32(dwCount) || dwCount > CSponsorManager::HIGHEST_ID)
        return false;
    for (uint32_t i = 0; i < dwCount; ++i) {
        SPONSOR* p = ReadSponsor(reader);
        if (!p)
            return false;
        list.AddTail(p);
    }
    return true;
}

void WritePlace(CBinaryWriter& writer, const SPONSOR* p)
{
    writer.WriteU8(p ? 1 : 0);
    if (p)
        WriteSponsor(writer, *p);
}

bool ReadPlace(CBinaryReader& reader, SPONSOR*& p)
{
    uint8_t byPresent = 0;
    if (!reader.ReadU8(byPresent) || byPresent > 1)
        return false;
    if (byPresent)
        p = ReadSponsor(reader);
    return byPresent == 0 || p != nullptr;
}

bool TakeOut(CXList& list, SPONSOR* p)
{
    if (LPXLISTNODE pNode = list.Find(p)) {
        list.Remove(pNode);
        return true;
    }
    return false;
}

// The next yearly event of the type for the club in its country, or none.
const CEventsDatabase* NextContractEvent(const CClubDatabase* pClub, uint8_t byType)
{
    const CCountryDatabase* pCountry = pClub ? pClub->GetCountry() : nullptr;
    return pCountry ? pCountry->FindEvent(byType, pClub->GetID()) : nullptr;
}

bool FallsIn(const CDate& date, int nMonth, int nYear)
{
    return date.GetMonth() == nMonth && date.GetYear() == nYear;
}

}  // namespace

CSponsorManager::CSponsorManager(CSaveGame* pSaveGame) : m_pSaveGame(pSaveGame)
{
    LoadTables();
}

bool CSponsorManager::LoadTables()
{
    bool bAll = true;
    for (int t = 0; t < TYPES; ++t)
        bAll = s_aTables[t].Read(kTableFiles[t], kBands, 2, 0, kHighestMoney) && bAll;
    return bAll;
}

const CRangeTable& CSponsorManager::GetTable(int nType)
{
    return s_aTables[std::clamp(nType, 0, TYPES - 1)];
}

void CSponsorManager::RemoveAll()
{
    for (CXList& list : m_alstOffers)
        FreeList(list);
    for (CXList& list : m_alstBoardQueues)
        FreeList(list);
    for (SPONSOR** pp : {&m_pAcceptedKit, &m_pAcceptedShirt, &m_pCurrentShirt, &m_pCurrentKit}) {
        delete *pp;
        *pp = nullptr;
    }
    for (SPONSOR*& p : m_apCurrentBoards) {
        delete p;
        p = nullptr;
    }
}

bool CSponsorManager::Save(CBinaryWriter& writer) const
{
    for (const CXList& list : m_alstOffers)
        WriteList(writer, list);
    WritePlace(writer, m_pAcceptedKit);
    WritePlace(writer, m_pAcceptedShirt);
    for (const CXList& list : m_alstBoardQueues)
        WriteList(writer, list);
    WritePlace(writer, m_pCurrentKit);
    WritePlace(writer, m_pCurrentShirt);
    for (const SPONSOR* p : m_apCurrentBoards)
        WritePlace(writer, p);
    return !writer.Failed();
}

bool CSponsorManager::Load(CBinaryReader& reader)
{
    RemoveAll();
    bool bOk = true;
    for (CXList& list : m_alstOffers)
        bOk = bOk && ReadList(reader, list);
    bOk = bOk && ReadPlace(reader, m_pAcceptedKit) && ReadPlace(reader, m_pAcceptedShirt);
    for (CXList& list : m_alstBoardQueues)
        bOk = bOk && ReadList(reader, list);
    bOk = bOk && ReadPlace(reader, m_pCurrentKit) && ReadPlace(reader, m_pCurrentShirt);
    for (SPONSOR*& p : m_apCurrentBoards)
        bOk = bOk && ReadPlace(reader, p);
    if (!bOk) {
        DebugLog(0, "[CSponsorManager::Load] The sponsors are cut short or damaged");
        RemoveAll();
    }
    return bOk;
}

CClubDatabase* CSponsorManager::GetClub() const
{
    return m_pSaveGame ? m_pSaveGame->GetClub() : nullptr;
}

int CSponsorManager::GetRatingBand() const
{
    return BandOf(GetClub());
}

int CSponsorManager::GetNewSponsorsAvailable(int nType) const
{
    if (nType < 0 || nType >= TYPES) {
        DebugLog(1, "[CSponsorManager::GetNewSponsorsAvailable] Unhandled SPONSORFOR_?");
        return 0;
    }
    const int* pCounts = kOfferCounts[nType][GetRatingBand()];
    if (pCounts[0] == pCounts[1])
        return pCounts[0];
    return plat::rand() % (pCounts[1] - pCounts[0]) + pCounts[0];
}

void CSponsorManager::GenerateOffers(int nType)
{
    if (nType < 0 || nType >= TYPES)
        return;
    const int nBand = GetRatingBand();
    int nWanted = std::min(GetNewSponsorsAvailable(nType), HIGHEST_ID);
    std::vector<uint8_t> pool;
    for (int id = 1; id <= HIGHEST_ID; ++id)
        pool.push_back(static_cast<uint8_t>(id));
    // An id already on offer is never offered twice.
    for (const SPONSOR* p : m_alstOffers[nType].Items<SPONSOR>()) {
        const auto it = std::find(pool.begin(), pool.end(), p->byId);
        if (it != pool.end())
            pool.erase(it);
        --nWanted;
    }
    const CRangeTable& table = GetTable(nType);
    for (; nWanted > 0 && !pool.empty(); --nWanted) {
        const size_t k = static_cast<size_t>(plat::rand()) % pool.size();
        auto* p = new SPONSOR;
        p->byId = pool[k];
        pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(k));
        const int nColumn = p->byId / 10;
        p->nTerm = static_cast<int8_t>(std::clamp(CRangeTable::Draw(table.Get(nBand, 1, nColumn)), 0, 127));
        p->dwAmount = static_cast<uint32_t>(CDatabaseHandler::RoundMoneyValue(CRangeTable::Draw(table.Get(nBand, 0, nColumn))));
        m_alstOffers[nType].AddTail(p);
    }
}

void CSponsorManager::ResetOffers()
{
    RemoveAll();
    for (int t = 0; t < TYPES; ++t)
        GenerateOffers(t);
}

void CSponsorManager::AcceptSponsorOffer(SPONSOR* pSponsor, int nType, int nSlot)
{
    if (nType < 0 || nType >= TYPES || m_alstOffers[nType].IsEmpty() || !TakeOut(m_alstOffers[nType], pSponsor))
        return;
    if (nType == SPONSORFOR_KIT) {
        delete m_pAcceptedKit;
        m_pAcceptedKit = pSponsor;
    }
    else if (nType == SPONSORFOR_SHIRT) {
        delete m_pAcceptedShirt;
        m_pAcceptedShirt = pSponsor;
    }
    else if (nSlot >= 0 && nSlot < BOARD_SLOTS)
        m_alstBoardQueues[nSlot].AddTail(pSponsor);
    else
        m_alstOffers[nType].AddTail(pSponsor);  // no slot to put it in: it stays on offer
}

void CSponsorManager::CancelSponsor(SPONSOR* pSponsor, int nType, int nSlot)
{
    if (!pSponsor || nType < 0 || nType >= TYPES)
        return;
    bool bTaken = false;
    if (nType == SPONSORFOR_KIT && m_pAcceptedKit == pSponsor) {
        m_pAcceptedKit = nullptr;
        bTaken = true;
    }
    else if (nType == SPONSORFOR_SHIRT && m_pAcceptedShirt == pSponsor) {
        m_pAcceptedShirt = nullptr;
        bTaken = true;
    }
    else if (nType == SPONSORFOR_BOARD && nSlot >= 0 && nSlot < BOARD_SLOTS)
        bTaken = TakeOut(m_alstBoardQueues[nSlot], pSponsor);
    if (bTaken)
        m_alstOffers[nType].AddTail(pSponsor);
}

void CSponsorManager::ReplaceSponsor(int nType, int nSlot, SPONSOR* pA, SPONSOR* pB)
{
    if (nType < 0 || nType >= TYPES || !pA || !pB)
        return;
    CXList& offers = m_alstOffers[nType];
    SPONSOR* pIncoming = offers.Find(pA) ? pA : offers.Find(pB) ? pB : nullptr;
    if (!pIncoming)
        return;
    SPONSOR* pOutgoing = pIncoming == pA ? pB : pA;
    SPONSOR** ppPlace = nType == SPONSORFOR_KIT ? &m_pAcceptedKit : nType == SPONSORFOR_SHIRT ? &m_pAcceptedShirt : nullptr;
    if (ppPlace) {
        if (*ppPlace != pOutgoing)
            return;
        *ppPlace = pIncoming;
    }
    else {
        if (nSlot < 0 || nSlot >= BOARD_SLOTS)
            return;
        LPXLISTNODE pNode = m_alstBoardQueues[nSlot].Find(pOutgoing);
        if (!pNode)
            return;
        pNode->pData = pIncoming;
    }
    offers.Find(pIncoming)->pData = pOutgoing;
}

void CSponsorManager::FillEmptySponsorPlaces()
{
    auto takeHead = [this](int nType) {
        return m_alstOffers[nType].IsEmpty() ? nullptr : static_cast<SPONSOR*>(m_alstOffers[nType].RemoveHead());
    };
    if (!m_pAcceptedKit)
        m_pAcceptedKit = takeHead(SPONSORFOR_KIT);
    if (!m_pAcceptedShirt)
        m_pAcceptedShirt = takeHead(SPONSORFOR_SHIRT);
    for (CXList& queue : m_alstBoardQueues)
        while (queue.GetCount() < QUEUE_PLACES && !m_alstOffers[SPONSORFOR_BOARD].IsEmpty())
            queue.AddTail(takeHead(SPONSORFOR_BOARD));
}

int CSponsorManager::GetBoardState() const
{
    for (const SPONSOR* p : m_apCurrentBoards)
        if (!p)
            return 2;
    return 3;
}

bool CSponsorManager::CanFillEmptyPlace() const
{
    if (!m_pCurrentKit && !m_pAcceptedKit && !m_alstOffers[SPONSORFOR_KIT].IsEmpty())
        return true;
    if (!m_pCurrentShirt && !m_pAcceptedShirt && !m_alstOffers[SPONSORFOR_SHIRT].IsEmpty())
        return true;
    if (m_alstOffers[SPONSORFOR_BOARD].IsEmpty())
        return false;
    for (int s = 0; s < BOARD_SLOTS; ++s)
        if (!m_apCurrentBoards[s] && m_alstBoardQueues[s].IsEmpty())
            return true;
    return false;
}

int32_t CSponsorManager::GetProjectedIncoming(int nType, int nMonth, int nYear) const
{
    if (nType == SPONSORFOR_BOARD) {
        int64_t nSum = 0;
        for (const SPONSOR* p : m_apCurrentBoards)
            if (p)
                nSum += p->dwAmount;
        return static_cast<int32_t>(std::min<int64_t>(nSum, INT32_MAX));
    }
    if (nType != SPONSORFOR_KIT && nType != SPONSORFOR_SHIRT) {
        DebugLog(1, "[CSponsorManager::GetProjectedIncoming] Unknown Type!");
        return 0;
    }
    const SPONSOR* pCurrent = nType == SPONSORFOR_KIT ? m_pCurrentKit : m_pCurrentShirt;
    const SPONSOR* pAccepted = nType == SPONSORFOR_KIT ? m_pAcceptedKit : m_pAcceptedShirt;
    const CClubDatabase* pClub = GetClub();
    if (!pCurrent) {
        const CDatabaseHandler* pHandler = CClubDatabase::m_pDatabaseHandler;
        return pAccepted && pHandler && FallsIn(pHandler->GetGameDate(), nMonth, nYear)
                   ? static_cast<int32_t>(pAccepted->dwAmount)
                   : 0;
    }
    // The sponsor that pays at the contract's next anniversary: the current
    // one while years are left, else the one signed to follow it.
    const SPONSOR* pPaying = pCurrent->nTerm > 1 ? pCurrent : pAccepted;
    const CEventsDatabase* pEvent =
        NextContractEvent(pClub, nType == SPONSORFOR_KIT ? EVENT_KIT_YEAR : EVENT_SHIRT_YEAR);
    if (!pPaying || !pEvent || !FallsIn(pEvent->GetDate(), nMonth, nYear))
        return 0;
    return static_cast<int32_t>(pPaying->dwAmount);
}

void CSponsorManager::ContractYearElapsed(uint32_t dwParameter)
{
    SPONSOR*& pCurrent = dwParameter == 1 ? m_pCurrentShirt : m_pCurrentKit;
    if ((dwParameter != 1 && dwParameter != 2) || !pCurrent)
        return;
    if (--pCurrent->nTerm > 0) {
        CClubDatabase* pClub = GetClub();
        CDatabaseHandler* pHandler = CClubDatabase::m_pDatabaseHandler;
        if (pClub && pClub->GetCountry() && pHandler) {
            CDate next = pHandler->GetGameDate();
            next.SetYear(next.GetYear() + 1);
            pClub->GetCountry()->AddEvent(static_cast<uint8_t>(dwParameter), next, pClub->GetID());
        }
        return;
    }
    delete pCurrent;
    pCurrent = nullptr;
}

void CSponsorManager::StartContract(SPONSOR*& pCurrent, SPONSOR*& pAccepted, int nCategory, uint8_t byEvent)
{
    if (pCurrent || !pAccepted)
        return;
    pCurrent = pAccepted;
    pAccepted = nullptr;
    CClubDatabase* pClub = GetClub();
    if (!pClub)
        return;
    pClub->AddFinanceTransaction(nCategory, static_cast<int32_t>(pCurrent->dwAmount), 0);
    CDatabaseHandler* pHandler = CClubDatabase::m_pDatabaseHandler;
    if (pClub->GetCountry() && pHandler) {
        CDate next = pHandler->GetGameDate();
        next.SetYear(next.GetYear() + 1);
        pClub->GetCountry()->AddEvent(byEvent, next, pClub->GetID());
    }
}

void CSponsorManager::DailyStep()
{
    CClubDatabase* pClub = GetClub();
    if (!pClub)
        return;
    if (m_pSaveGame->GetDelegation(4) != 0)
        FillEmptySponsorPlaces();
    for (SPONSOR*& p : m_apCurrentBoards) {
        if (!p)
            continue;
        --p->nTerm;
        pClub->AddFinanceTransaction(CATEGORY_BOARDS, static_cast<int32_t>(p->dwAmount), 0);
        if (p->nTerm < 1) {
            delete p;
            p = nullptr;
        }
    }
    for (int s = 0; s < BOARD_SLOTS; ++s)
        if (!m_apCurrentBoards[s] && !m_alstBoardQueues[s].IsEmpty())
            m_apCurrentBoards[s] = static_cast<SPONSOR*>(m_alstBoardQueues[s].RemoveHead());
    StartContract(m_pCurrentKit, m_pAcceptedKit, CATEGORY_KIT, EVENT_KIT_YEAR);
    StartContract(m_pCurrentShirt, m_pAcceptedShirt, CATEGORY_SHIRT, EVENT_SHIRT_YEAR);
}

void CSponsorManager::RenewOffers()
{
    const CClubDatabase* pClub = GetClub();
    const ID_STAFF idStaff = pClub ? pClub->m_awStaffSlots[3][0] : 0;
    if (m_pSaveGame && m_pSaveGame->GetDelegation(4) != 1 && idStaff != 0) {
        const bool abEmpty[TYPES] = {m_pCurrentKit == nullptr, m_pCurrentShirt == nullptr, GetBoardState() == 2};
        for (int t = 0; t < TYPES; ++t)
            if (abEmpty[t])
                if (CNewsItem* pItem = m_pSaveGame->PostNews(kNewsPlaceEmpty)) {
                    pItem->SetSlot(NEWS_SLOT_SUBTYPE, static_cast<uint32_t>(t));
                    pItem->SetSlot(NEWS_SLOT_STAFF, idStaff);
                }
    }
    for (int t = 0; t < TYPES; ++t)
        GenerateOffers(t);
}

void CSponsorManager::AddComputerClubSponsorIncome(CClubDatabase* pClub)
{
    if (!pClub)
        return;
    if (!s_aTables[0].IsLoaded())
        LoadTables();
    const int nBand = BandOf(pClub);
    pClub->AddFinanceTransaction(CATEGORY_KIT, GetTable(SPONSORFOR_KIT).Get(nBand, 0, kTopColumn).nMax / 12, 0);
    pClub->AddFinanceTransaction(CATEGORY_SHIRT, GetTable(SPONSORFOR_SHIRT).Get(nBand, 0, kTopColumn).nMax / 12, 0);
    pClub->AddFinanceTransaction(CATEGORY_BOARDS,
                                 static_cast<int32_t>(GetTable(SPONSORFOR_BOARD).Get(nBand, 0, kTopColumn).nMax * 6LL / 12),
                                 0);
}
