#include "season/CHoardingsManager.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "platform/Files.h"
#include "platform/Random.h"
#include "season/CNewspaperManager.h"
#include "season/CRangeTable.h"
#include "season/CSaveGame.h"

namespace {

constexpr int kBands = 10;
constexpr int kTopColumn = 4;
// Amounts are kept in tens in a 16-bit field of the table.
constexpr int kAmountScale = 10;
constexpr int kHighestTableValue = 65535 / kAmountScale;
constexpr int kNewsAllEmpty = 234;
constexpr int kNewsManyEmpty = 233;
constexpr int kAutoFillMasks[] = {3, 1, 2};

CRangeTable s_Table;

int BandOf(const CClubDatabase* pClub)
{
    return pClub ? CRangeTable::RatingBand(pClub->GetClubRating()) : 0;
}

void FreeList(CXList& list)
{
    while (!list.IsEmpty())
        delete static_cast<ADVERTISER*>(list.RemoveHead());
}

void WriteAdvertiser(CBinaryWriter& writer, const ADVERTISER& a)
{
    writer.WriteU8(a.byId);
    writer.WriteU8(a.byPayments);
    writer.WriteU8(a.byBoardsWanted);
    writer.WriteU8(a.byBoardsPlaced);
    writer.WriteU8(static_cast<uint8_t>(a.nMinimumBoards));
    writer.WriteZeros(3);
    writer.WriteU32(a.dwAmount);
    writer.WriteU8(a.byShortRows);
    writer.WriteU8(a.byLongRows);
    writer.WriteU16(a.wEndYear);
    writer.WriteU8(a.byEndMonth);
    writer.WriteU8(a.byEndDay);
    writer.WriteZeros(2);
}

bool ReadAdvertiserList(CBinaryReader& reader, CXList& list)
{
    uint32_t dwCount = 0;
    if (!reader.ReadU32(dwCount) || dwCount > CHoardingsManager::HIGHEST_ID)
        return false;
    for (uint32_t i = 0; i < dwCount; ++i) {
        ADVERTISER a;
        uint8_t byMinimum = 0;
        if (!reader.ReadU8(a.byId) || !reader.ReadU8(a.byPayments) || !reader.ReadU8(a.byBoardsWanted) ||
            !reader.ReadU8(a.byBoardsPlaced) || !reader.ReadU8(byMinimum) || !reader.Skip(3) ||
            !reader.ReadU32(a.dwAmount) || !reader.ReadU8(a.byShortRows) || !reader.ReadU8(a.byLongRows) ||
            !reader.ReadU16(a.wEndYear) || !reader.ReadU8(a.byEndMonth) || !reader.ReadU8(a.byEndDay) ||
            !reader.Skip(2))
            return false;
        a.nMinimumBoards = static_cast<int8_t>(byMinimum);
        if (a.byId < 1 || a.byId > CHoardingsManager::HIGHEST_ID || a.byShortRows > 1 || a.byLongRows > 1 ||
            a.byEndMonth > 12 || a.byEndDay > 31)
            return false;
        list.AddTail(new ADVERTISER(a));
    }
    return true;
}

}  // namespace

CHoardingsManager::CHoardingsManager(CSaveGame* pSaveGame) : m_pSaveGame(pSaveGame)
{
    if (!s_Table.IsLoaded())
        LoadTable();
}

bool CHoardingsManager::LoadTable()
{
    return s_Table.Read("Data\\Tables\\Hoard.TXT", kBands, 3, 0, kHighestTableValue);
}

const CRangeTable& CHoardingsManager::GetTable()
{
    return s_Table;
}

void CHoardingsManager::RemoveAll()
{
    FreeList(m_lstOffers);
    FreeList(m_lstContracts);
}

void CHoardingsManager::Reset()
{
    for (int d = 0; d < 4; ++d)
        for (int i = 0; i < (d < 2 ? SHORT_ROW : LONG_ROW); ++i)
            *Board(d, i) = HOARDING();
}

HOARDING* CHoardingsManager::Board(int nDirection, int nIndex)
{
    return const_cast<HOARDING*>(static_cast<const CHoardingsManager*>(this)->Board(nDirection, nIndex));
}

const HOARDING* CHoardingsManager::Board(int nDirection, int nIndex) const
{
    const int nCount = nDirection < 2 ? SHORT_ROW : LONG_ROW;
    if (nIndex < 0 || nIndex >= nCount)
        return nullptr;
    switch (nDirection) {
    case HOARDINGS_0:
        return &m_aDirection0[nIndex];
    case HOARDINGS_1:
        return &m_aDirection1[nIndex];
    case HOARDINGS_2:
        return &m_aDirection2[nIndex];
    case HOARDINGS_3:
        return &m_aDirection3[nIndex];
    default:
        return nullptr;
    }
}

HOARDING* CHoardingsManager::GetHoardings(int nDirection, int nIndex)
{
    if (nDirection < HOARDINGS_0 || nDirection > HOARDINGS_3) {
        DebugLog(1, "[CHoardingsManager::GetHoardings] : Unknown HOARDINGS_%d !", nDirection);
        return nullptr;
    }
    return Board(nDirection, nIndex);
}

bool CHoardingsManager::Save(CBinaryWriter& writer) const
{
    for (const CXList* pList : {&m_lstOffers, &m_lstContracts}) {
        writer.WriteU32(static_cast<uint32_t>(pList->GetCount()));
        for (const ADVERTISER* p : pList->Items<ADVERTISER>())
            WriteAdvertiser(writer, *p);
    }
    for (const auto& row : {std::make_pair(m_aDirection0, SHORT_ROW), std::make_pair(m_aDirection1, SHORT_ROW),
                            std::make_pair(m_aDirection3, LONG_ROW), std::make_pair(m_aDirection2, LONG_ROW)})
        for (int i = 0; i < row.second; ++i) {
            const HOARDING& board = row.first[i];
            writer.WriteU32(board.dwAmount);
            writer.WriteU8(board.byAdvertiser);
            writer.WriteU8(board.byPaymentsLeft);
            writer.WriteU8(board.byStarted);
            writer.WriteU8(0);
        }
    return !writer.Failed();
}

bool CHoardingsManager::Load(CBinaryReader& reader)
{
    RemoveAll();
    Reset();
    bool bOk = ReadAdvertiserList(reader, m_lstOffers) && ReadAdvertiserList(reader, m_lstContracts);
    for (HOARDING* pRow : {m_aDirection0, m_aDirection1, m_aDirection3, m_aDirection2}) {
        const int nCount = pRow == m_aDirection0 || pRow == m_aDirection1 ? SHORT_ROW : LONG_ROW;
        for (int i = 0; i < nCount && bOk; ++i) {
            HOARDING& board = pRow[i];
            uint8_t byZero = 0;
            bOk = reader.ReadU32(board.dwAmount) && reader.ReadU8(board.byAdvertiser) &&
                  reader.ReadU8(board.byPaymentsLeft) && reader.ReadU8(board.byStarted) && reader.ReadU8(byZero) &&
                  (board.byAdvertiser == EMPTY || (board.byAdvertiser >= 1 && board.byAdvertiser <= HIGHEST_ID)) &&
                  board.byStarted <= 1;
        }
    }
    if (!bOk) {
        DebugLog(0, "[CHoardingsManager::Load] The hoardings are cut short or damaged");
        RemoveAll();
        Reset();
    }
    return bOk;
}

int CHoardingsManager::CountEmptyBoards(int nMask) const
{
    int nEmpty = 0;
    for (int d = 0; d < 4; ++d) {
        if (!(nMask & (d < 2 ? 1 : 2)))
            continue;
        for (int i = 0; i < (d < 2 ? SHORT_ROW : LONG_ROW); ++i)
            nEmpty += Board(d, i)->byAdvertiser == EMPTY;
    }
    return nEmpty;
}

int32_t CHoardingsManager::GetTotalIncome() const
{
    int64_t nTotal = 0;
    for (int d = 0; d < 4; ++d)
        for (int i = 0; i < (d < 2 ? SHORT_ROW : LONG_ROW); ++i)
            if (Board(d, i)->byAdvertiser != EMPTY)
                nTotal += Board(d, i)->dwAmount;
    return static_cast<int32_t>(std::min<int64_t>(nTotal, INT32_MAX));
}

bool CHoardingsManager::IsAdvertiserPlaced(uint8_t byId) const
{
    for (int d = 0; d < 4; ++d)
        for (int i = 0; i < (d < 2 ? SHORT_ROW : LONG_ROW); ++i)
            if (Board(d, i)->byAdvertiser == byId && byId != EMPTY)
                return true;
    return false;
}

ADVERTISER* CHoardingsManager::FindOffer(uint8_t byId) const
{
    if (byId == EMPTY)
        return nullptr;
    return m_lstOffers.FindItem<ADVERTISER>([byId](const ADVERTISER* p) { return p->byId == byId; });
}

ADVERTISER* CHoardingsManager::FindContract(uint8_t byId) const
{
    if (byId == EMPTY)
        return nullptr;
    return m_lstContracts.FindItem<ADVERTISER>([byId](const ADVERTISER* p) { return p->byId == byId; });
}

ADVERTISER* CHoardingsManager::FindBestOffer(int nFree, int nMask) const
{
    ADVERTISER* pBest = nullptr;
    for (ADVERTISER* p : m_lstOffers.Items<ADVERTISER>()) {
        if (p->nMinimumBoards > nFree || p->byBoardsPlaced != 0)
            continue;
        if (((nMask & 1) && !p->byShortRows) || ((nMask & 2) && !p->byLongRows))
            continue;
        if (!pBest || p->dwAmount > pBest->dwAmount)
            pBest = p;
    }
    return pBest;
}

bool CHoardingsManager::PlaceAdvertiser(ADVERTISER* pOffer, int nMask)
{
    if (!pOffer)
        return false;
    auto place = [pOffer](HOARDING* pBoard) {
        if (!pBoard || pBoard->byAdvertiser != EMPTY)
            return false;
        pBoard->byAdvertiser = pOffer->byId;
        pBoard->dwAmount = pOffer->dwAmount;
        pBoard->byPaymentsLeft = pOffer->byPayments;
        pBoard->byStarted = 0;
        return true;
    };
    if (nMask & 1)
        for (int i = 0; i < SHORT_ROW; ++i)
            if (place(Board(HOARDINGS_0, i)) || place(Board(HOARDINGS_1, i)))
                return true;
    if (nMask & 2)
        for (int i = 0; i < LONG_ROW; ++i)
            if (place(Board(HOARDINGS_2, i)) || place(Board(HOARDINGS_3, i)))
                return true;
    return false;
}

void CHoardingsManager::AutoFill()
{
    for (int nMask : kAutoFillMasks) {
        int nFree = CountEmptyBoards(nMask);
        while (ADVERTISER* pOffer = FindBestOffer(nFree, nMask)) {
            const int nBoards = std::min<int>(pOffer->byBoardsWanted, nFree);
            int nPlaced = 0;
            for (int k = 0; k < nBoards && PlaceAdvertiser(pOffer, nMask); ++k)
                ++nPlaced;
            nFree -= nPlaced;
            pOffer->byBoardsPlaced = static_cast<uint8_t>(pOffer->byBoardsPlaced + nPlaced);
            if (nPlaced == 0)
                break;  // nothing fits: the same offer would be found again
        }
    }
}

void CHoardingsManager::StartContracts()
{
    const CDatabaseHandler* pHandler = CClubDatabase::m_pDatabaseHandler;
    for (int d = 0; d < 4; ++d)
        for (int i = 0; i < (d < 2 ? SHORT_ROW : LONG_ROW); ++i) {
            HOARDING* pBoard = Board(d, i);
            if (pBoard->byStarted || pBoard->byAdvertiser == EMPTY)
                continue;
            pBoard->byStarted = 1;
            LPXLISTNODE pNode = nullptr;
            ADVERTISER* pOffer = m_lstOffers.FindItem<ADVERTISER>(
                [pBoard](const ADVERTISER* p) { return p->byId == pBoard->byAdvertiser; }, &pNode);
            if (!pOffer || !pNode)
                continue;  // its other boards already moved it
            m_lstOffers.Remove(pNode);
            const CDate today = pHandler ? pHandler->GetGameDate() : CDate();
            const CDate end(today.GetValue(), pOffer->byPayments * 7 - 7);
            pOffer->wEndYear = static_cast<uint16_t>(end.GetYear());
            pOffer->byEndMonth = static_cast<uint8_t>(end.GetMonth());
            pOffer->byEndDay = static_cast<uint8_t>(end.GetDay());
            m_lstContracts.AddTail(pOffer);
        }
}

int32_t CHoardingsManager::CollectIncome(int* pnBoardsPaid)
{
    int64_t nTotal = 0;
    int nPaid = 0;
    for (int d = 0; d < 4; ++d)
        for (int i = 0; i < (d < 2 ? SHORT_ROW : LONG_ROW); ++i) {
            HOARDING* pBoard = Board(d, i);
            if (pBoard->byAdvertiser == EMPTY)
                continue;
            nTotal += pBoard->dwAmount;
            ++nPaid;
            if (pBoard->byPaymentsLeft > 0)
                --pBoard->byPaymentsLeft;
            if (pBoard->byPaymentsLeft == 0)
                *pBoard = HOARDING();
        }
    const auto nIncome = static_cast<int32_t>(std::min<int64_t>(nTotal, INT32_MAX));
    if (pnBoardsPaid)
        *pnBoardsPaid = nPaid;
    CClubDatabase* pClub = GetClub();
    if (!pClub)
        return nIncome;
    pClub->AddFinanceTransaction(CATEGORY, nIncome, 0);
    const ID_STAFF idStaff = pClub->m_awStaffSlots[3][0];
    if (m_pSaveGame->GetDelegation(5) != 1 && pClub->m_byGroundOwnership != 0 && idStaff != 0) {
        const int nEmpty = CountEmptyBoards(3);
        const int nNews = nEmpty == BOARDS ? kNewsAllEmpty : nEmpty > 6 ? kNewsManyEmpty : 0;
        if (nNews)
            if (CNewsItem* pItem = m_pSaveGame->PostNews(static_cast<uint16_t>(nNews)))
                pItem->SetSlot(NEWS_SLOT_STAFF, idStaff);
    }
    return nIncome;
}

void CHoardingsManager::RemoveExpiredContracts()
{
    const CDatabaseHandler* pHandler = CClubDatabase::m_pDatabaseHandler;
    if (!pHandler)
        return;
    const CDate today = pHandler->GetGameDate();
    for (LPXLISTNODE pNode = m_lstContracts.GetHead(); pNode;) {
        LPXLISTNODE pCurrent = pNode;
        pNode = pNode->pNext;
        auto* p = static_cast<ADVERTISER*>(pCurrent->pData);
        if (CDate(p->wEndYear, p->byEndMonth, p->byEndDay) < today) {
            m_lstContracts.Remove(pCurrent);
            delete p;
        }
    }
}

void CHoardingsManager::GenerateOffers()
{
    const int nBand = BandOf(GetClub());
    int nCount = nBand * 5 + plat::rand() % 5;
    if (nCount == 50)
        nCount = 49;
    FreeList(m_lstOffers);
    std::vector<uint8_t> pool;
    for (int id = 1; id <= HIGHEST_ID; ++id)
        if (!FindContract(static_cast<uint8_t>(id)))
            pool.push_back(static_cast<uint8_t>(id));
    int nToDraw = std::max(0, nCount - m_lstContracts.GetCount());
    pool.resize(std::min(pool.size(), static_cast<size_t>(nToDraw)));
    for (; nToDraw > 0 && !pool.empty(); --nToDraw) {
        const size_t k = static_cast<size_t>(plat::rand()) % pool.size();
        ADVERTISER a;
        a.byId = pool[k];
        pool.erase(pool.begin() + static_cast<std::ptrdiff_t>(k));
        const int nColumn = a.byId / 10;
        a.byPayments = static_cast<uint8_t>(std::clamp(CRangeTable::Draw(s_Table.Get(nBand, 2, nColumn)), 0, 255));
        a.byBoardsWanted = static_cast<uint8_t>(std::clamp(CRangeTable::Draw(s_Table.Get(nBand, 1, nColumn)), 0, 255));
        a.dwAmount = static_cast<uint32_t>(CRangeTable::Draw(s_Table.Get(nBand, 0, nColumn)) * kAmountScale);
        const int nRows = a.byId % 10;
        a.byShortRows = nRows <= 1 || nRows >= 4;
        a.byLongRows = nRows >= 2;
        a.nMinimumBoards = static_cast<int8_t>(std::max(1, a.byId / 10 + a.byBoardsWanted - 5));
        m_lstOffers.AddTail(new ADVERTISER(a));
    }
}

const char* CHoardingsManager::GetHistoryFileName() const
{
    static char s_sz[24];  // room for any club id the format can print
    const CClubDatabase* pClub = GetClub();
    std::snprintf(s_sz, sizeof(s_sz), "Temp%d.hhs", pClub ? pClub->GetID() : 0);
    return s_sz;
}

void CHoardingsManager::DailyStep()
{
    if (m_pSaveGame->GetDelegation(5) == 1)
        AutoFill();
    StartContracts();
    int nPaid = 0;
    const int32_t nIncome = CollectIncome(&nPaid);
    if (GetClub()) {
        if (FILE* pFile = plat::openFile(GetHistoryFileName(), "ab")) {
            CBinaryWriter writer(pFile);
            writer.WriteU8(static_cast<uint8_t>(nPaid));
            writer.WriteZeros(3);
            writer.WriteI32(nIncome);
            if (writer.Failed())
                DebugLog(0, "[CHoardingsManager::DailyStep] %s is not complete", GetHistoryFileName());
            std::fclose(pFile);
        }
        else
            DebugLog(0, "[CHoardingsManager::DailyStep] Cannot write %s", GetHistoryFileName());
    }
    RemoveExpiredContracts();
    if (m_lstOffers.GetCount() <= 5)
        GenerateOffers();
}

CClubDatabase* CHoardingsManager::GetClub() const
{
    return m_pSaveGame ? m_pSaveGame->GetClub() : nullptr;
}

void CHoardingsManager::AddComputerClubHoardingsIncome(CClubDatabase* pClub)
{
    if (!pClub)
        return;
    if (!s_Table.IsLoaded())
        LoadTable();
    const int nAmount = s_Table.Get(BandOf(pClub), 0, kTopColumn).nMax * kAmountScale;
    pClub->AddFinanceTransaction(CATEGORY, static_cast<int32_t>(static_cast<int64_t>(nAmount) * BOARDS), 0);
}
