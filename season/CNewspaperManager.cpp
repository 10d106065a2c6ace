#include "season/CNewspaperManager.h"

#include <iterator>

#include <cstring>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CDatabaseHandler.h"
#include "platform/Random.h"

const CDatabaseHandler* CNewspaperManager::m_pHandler = nullptr;

void SetNewsParameterDefaults(uint32_t* pdwSlots)
{
    const float fMinusOne = -1.0f;
    uint32_t dwMinusOne = 0;
    std::memcpy(&dwMinusOne, &fMinusOne, sizeof dwMinusOne);
    for (int i = 0; i <= 10; ++i)
        pdwSlots[i] = 0;
    for (int i = 11; i <= 14; ++i)
        pdwSlots[i] = 0xFFFFFFFFu;
    pdwSlots[15] = 0;
    pdwSlots[16] = pdwSlots[17] = dwMinusOne;
    pdwSlots[18] = 0xFFFFFFFFu;
    pdwSlots[19] = 0xFF0000FFu;  // bytes 255, 0, 0, 255
    pdwSlots[20] = 0x000000FFu;  // byte 255, then zeros
}

CNewsItem::CNewsItem(uint16_t wType, const CDate& date) : m_wType(wType), m_Date(date)
{
    m_dwExtra = static_cast<uint32_t>(plat::rand() % 255);
    SetNewsParameterDefaults(m_adwParameters);
}

void CNewsItem::File(uint16_t wCategory, uint16_t wValue)
{
    m_wType = 0;
    m_wFiledCategory = wCategory;
    m_wFiledValue = wValue;
    if (wCategory == FILED_CATEGORY_KEEPS_PERSON)
        m_dwExtra = m_adwParameters[NEWS_SLOT_PERSON];
}

void CNewsItem::Save(CBinaryWriter& writer) const
{
    writer.WriteU16(m_wType);
    writer.WriteU16(m_wFiledCategory);
    writer.WriteU16(m_wFiledValue);
    writer.WriteU32(m_dwExtra);
    writer.WriteU32(m_Date.GetValue());
    for (uint32_t dw : m_adwParameters)
        writer.WriteU32(dw);
}

CNewsItem* CNewsItem::Load(CBinaryReader& reader, const CDatabaseHandler* pHandler)
{
    auto* pItem = new CNewsItem;
    uint32_t dwDate = 0;
    reader.ReadU16(pItem->m_wType);
    reader.ReadU16(pItem->m_wFiledCategory);
    reader.ReadU16(pItem->m_wFiledValue);
    reader.ReadU32(pItem->m_dwExtra);
    reader.ReadU32(dwDate);
    for (uint32_t& dw : pItem->m_adwParameters)
        reader.ReadU32(dw);
    pItem->m_Date.Set(dwDate);
    if (reader.Failed()) {
        DebugLog(0, "[CNewspaperManager::Load] A news item is cut short");
        delete pItem;
        return nullptr;
    }
    // Date 0 is an item raised with no game running.
    if (dwDate != 0 && !pItem->m_Date.IsValid()) {
        DebugLog(0, "[CNewspaperManager::Load] A news item has the invalid date %08x", dwDate);
        reader.Fail();
        delete pItem;
        return nullptr;
    }
    // A record that has left the world since leaves its slot empty.
    uint32_t* pSlots = pItem->m_adwParameters;
    if (pHandler) {
        for (int nSlot : {NEWS_SLOT_CLUB_A, NEWS_SLOT_CLUB_B})
            if (pSlots[nSlot] && !pHandler->GetClubFromID(static_cast<ID_CLUB>(pSlots[nSlot])))
                pSlots[nSlot] = 0;
        if (pSlots[NEWS_SLOT_COUNTRY] &&
            !pHandler->GetCountryFromID(static_cast<ID_COUNTRY>(pSlots[NEWS_SLOT_COUNTRY])))
            pSlots[NEWS_SLOT_COUNTRY] = 0;
        if (pSlots[NEWS_SLOT_DIVISION] &&
            !pHandler->GetDivisionFromID(static_cast<uint8_t>(pSlots[NEWS_SLOT_DIVISION])))
            pSlots[NEWS_SLOT_DIVISION] = 0;
    }
    return pItem;
}

CNewsItem* CNewspaperManager::AddNewsItem(uint16_t wType)
{
    auto* pItem = new CNewsItem(wType, m_pHandler ? m_pHandler->GetGameDate() : CDate());
    m_lstIncoming.AddTail(pItem);
    return pItem;
}

bool CNewspaperManager::FileNewsItem(uint8_t byCategory, CNewsItem* pItem, uint16_t wValue)
{
    LPXLISTNODE pNode = m_lstIncoming.Find(pItem);
    if (!pNode)
        return false;
    m_lstIncoming.Remove(pNode);
    pItem->File(byCategory, wValue);
    m_lstArchive.AddTail(pItem);
    return true;
}

namespace {

bool DeleteFrom(CXList& list, CNewsItem* pItem)
{
    LPXLISTNODE pNode = list.Find(pItem);
    if (!pNode)
        return false;
    list.Remove(pNode);
    delete pItem;
    return true;
}

void FreeItems(CXList& list)
{
    while (!list.IsEmpty())
        delete static_cast<CNewsItem*>(list.RemoveHead());
}

bool SaveItems(CBinaryWriter& writer, const CXList& list)
{
    writer.WriteU32(static_cast<uint32_t>(list.GetCount()));
    for (const CNewsItem* pItem : list.Items<CNewsItem>())
        pItem->Save(writer);
    return !writer.Failed();
}

bool LoadItems(CBinaryReader& reader, CXList& list, const CDatabaseHandler* pHandler)
{
    uint32_t dwCount = 0;
    if (!reader.ReadU32(dwCount) || !reader.CheckCount(dwCount, CNewsItem::FILE_SIZE)) {
        DebugLog(0, "[CNewspaperManager::Load] The news item count is cut short or larger than the file");
        reader.Fail();
        return false;
    }
    for (uint32_t i = 0; i < dwCount; ++i) {
        CNewsItem* pItem = CNewsItem::Load(reader, pHandler);
        if (!pItem)
            return false;
        list.AddTail(pItem);
    }
    return true;
}

}  // namespace

bool CNewspaperManager::DeleteNewsItem(CNewsItem* pItem)
{
    return DeleteFrom(m_lstArchive, pItem);
}

bool CNewspaperManager::DeleteIncomingNewsItem(CNewsItem* pItem)
{
    return DeleteFrom(m_lstIncoming, pItem);
}

void CNewspaperManager::RemoveAllNewsItems()
{
    FreeItems(m_lstArchive);
    FreeItems(m_lstIncoming);
}

void CNewspaperManager::RemoveAllIncomingNewsItems()
{
    FreeItems(m_lstIncoming);
}

void CNewspaperManager::RemoveExpiredNewsItems(const CDate& date, int nDays)
{
    LPXLISTNODE pNode = m_lstArchive.GetHead();
    while (pNode) {
        LPXLISTNODE pNext = pNode->pNext;
        auto* pItem = static_cast<CNewsItem*>(pNode->pData);
        if (CDate(pItem->GetDate().GetValue(), nDays) < date) {
            m_lstArchive.Remove(pNode);
            delete pItem;
        }
        pNode = pNext;
    }
}

int CNewspaperManager::CountUnreadNewsItems() const
{
    int nUnread = 0;
    for (const CNewsItem* pItem : m_lstArchive.Items<CNewsItem>())
        nUnread += pItem->IsRead() ? 0 : 1;
    return nUnread;
}

int CNewspaperManager::GetFolderOfCategory(int nCategory)
{
    static const int kFolders[] = {0, 1, 1, 1, 1, 2, 3, 4, 5, 1};
    return nCategory >= 0 && nCategory < static_cast<int>(std::size(kFolders)) ? kFolders[nCategory] : -1;
}

int CNewspaperManager::CountFolderItems(int nFolder, bool bAll) const
{
    if (nFolder < 0 || nFolder >= MAIL_FOLDERS)
        return 0;
    int nCount = 0;
    for (const CNewsItem* pItem : m_lstArchive.Items<CNewsItem>())
        if (GetFolderOfCategory(pItem->GetFiledCategory()) == nFolder && (bAll || pItem->IsRead()))
            ++nCount;
    return nCount;
}

CNewsItem* CNewspaperManager::FindIncoming(uint16_t wType) const
{
    CNewsItem* pFound = nullptr;
    for (CNewsItem* pItem : m_lstIncoming.Items<CNewsItem>())
        if (pItem->GetType() == wType)
            pFound = pItem;
    return pFound;
}

CNewsItem* CNewspaperManager::FindIncoming(uint16_t wType, const CDate& date, int nSlot, uint32_t dwValue) const
{
    CNewsItem* pFound = nullptr;
    for (CNewsItem* pItem : m_lstIncoming.Items<CNewsItem>())
        if (pItem->GetType() == wType && pItem->GetDate() == date && pItem->GetSlot(nSlot) == dwValue)
            pFound = pItem;
    return pFound;
}

bool CNewspaperManager::Save(CBinaryWriter& writer) const
{
    return SaveItems(writer, m_lstArchive) && SaveItems(writer, m_lstIncoming);
}

bool CNewspaperManager::Load(CBinaryReader& reader)
{
    RemoveAllNewsItems();
    if (LoadItems(reader, m_lstArchive, m_pHandler) && LoadItems(reader, m_lstIncoming, m_pHandler))
        return true;
    RemoveAllNewsItems();
    return false;
}
