#include "season/CNewspaperStoryList.h"

#include <cstring>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CDatabaseHandler.h"
#include "platform/Random.h"
#include "season/CNewspaperManager.h"

CDatabaseHandler* CNewspaperStoryList::m_pDatabaseHandler = nullptr;

namespace {

constexpr int kParameterBlockBytes = CNewspaperStory::PARAMETERS * 4;
constexpr int kAwardEntryBytes = 12;

}  // namespace

CNewspaperStory::CNewspaperStory(uint8_t byKind, uint16_t wParameter, const CDate& date)
    : m_Date(date), m_byKind(byKind), m_wParameter(wParameter)
{
    m_byLayoutVariant = static_cast<uint8_t>(plat::rand() % 6);
    m_dwCount = static_cast<uint32_t>(plat::rand() % 255);
    // The award kinds count their entries, which they have none of yet.
    if (m_byKind == STORY_KIND_PLAYER_AWARDS || m_byKind == STORY_KIND_MANAGER_AWARDS)
        m_dwCount = 0;
    if (m_byKind == STORY_KIND_BEST_ELEVEN)
        m_pBestEleven = new uint32_t[2 * BEST_ELEVEN]();
    SetDefaultParameters();
}

CNewspaperStory::~CNewspaperStory()
{
    FreeData();
}

void CNewspaperStory::FreeData()
{
    delete[] m_pAwards;
    m_pAwards = nullptr;
    delete[] m_pBestEleven;
    m_pBestEleven = nullptr;
}

void CNewspaperStory::SetDefaultParameters()
{
    SetNewsParameterDefaults(m_adwParameters);
}

uint32_t CNewspaperStory::GetParameterSlot(int nSlot) const
{
    return nSlot >= 0 && nSlot < PARAMETERS ? m_adwParameters[nSlot] : 0;
}

void CNewspaperStory::SetParameterSlot(int nSlot, uint32_t dwValue)
{
    if (nSlot >= 0 && nSlot < PARAMETERS)
        m_adwParameters[nSlot] = dwValue;
}

const STORYAWARDENTRY* CNewspaperStory::GetAwardEntry(int nIndex) const
{
    if (!m_pAwards || nIndex < 0 || static_cast<uint32_t>(nIndex) >= m_dwCount)
        return nullptr;
    return &m_pAwards[nIndex];
}

void CNewspaperStory::SetAwardEntries(const STORYAWARDENTRY* pEntries, int nCount)
{
    if (m_byKind != STORY_KIND_PLAYER_AWARDS && m_byKind != STORY_KIND_MANAGER_AWARDS)
        return;
    delete[] m_pAwards;
    m_pAwards = nullptr;
    m_dwCount = nCount > 0 ? static_cast<uint32_t>(nCount) : 0;
    if (m_dwCount) {
        m_pAwards = new STORYAWARDENTRY[m_dwCount];
        for (uint32_t i = 0; i < m_dwCount; ++i)
            m_pAwards[i] = pEntries[i];
    }
}

uint32_t CNewspaperStory::GetBestElevenClub(int nIndex) const
{
    return m_pBestEleven && nIndex >= 0 && nIndex < BEST_ELEVEN ? m_pBestEleven[nIndex] : 0;
}

uint32_t CNewspaperStory::GetBestElevenPlayer(int nIndex) const
{
    return m_pBestEleven && nIndex >= 0 && nIndex < BEST_ELEVEN ? m_pBestEleven[BEST_ELEVEN + nIndex] : 0;
}

void CNewspaperStory::SetBestEleven(int nIndex, uint32_t dwClub, uint32_t dwPlayer)
{
    if (!m_pBestEleven || nIndex < 0 || nIndex >= BEST_ELEVEN)
        return;
    m_pBestEleven[nIndex] = dwClub;
    m_pBestEleven[BEST_ELEVEN + nIndex] = dwPlayer;
}

CNewspaperStory* CNewspaperStory::Copy() const
{
    auto* pCopy = new CNewspaperStory;
    pCopy->m_dwFirstField = m_dwFirstField;
    pCopy->m_Date = m_Date;
    pCopy->m_byKind = m_byKind;
    pCopy->m_dwCount = m_dwCount;
    pCopy->m_byReadMask = m_byReadMask;
    pCopy->m_wParameter = m_wParameter;
    pCopy->m_byLayoutVariant = m_byLayoutVariant;
    std::memcpy(pCopy->m_adwParameters, m_adwParameters, sizeof m_adwParameters);
    pCopy->m_pClubA = m_pClubA;
    pCopy->m_pClubB = m_pClubB;
    pCopy->m_pCountry = m_pCountry;
    pCopy->m_pDivision = m_pDivision;
    if (m_pAwards && m_dwCount) {
        pCopy->m_pAwards = new STORYAWARDENTRY[m_dwCount];
        for (uint32_t i = 0; i < m_dwCount; ++i)
            pCopy->m_pAwards[i] = m_pAwards[i];
    }
    if (m_pBestEleven) {
        pCopy->m_pBestEleven = new uint32_t[2 * BEST_ELEVEN];
        std::memcpy(pCopy->m_pBestEleven, m_pBestEleven, 2 * BEST_ELEVEN * sizeof(uint32_t));
    }
    return pCopy;
}

CNewspaperStory* CNewspaperStory::Load(CBinaryReader& reader)
{
    auto* pStory = new CNewspaperStory;
    uint32_t dwData = 0, dwDate = 0;
    reader.ReadU32(dwData);
    reader.ReadU32(pStory->m_dwCount);
    reader.ReadU8(pStory->m_byKind);
    reader.ReadU8(pStory->m_byReadMask);
    reader.ReadU16(pStory->m_wParameter);
    reader.ReadU8(pStory->m_byLayoutVariant);
    reader.ReadU32(dwDate);
    pStory->m_Date.Set(dwDate);
    bool bDamaged = false;
    if (!reader.Failed() && dwDate != 0 && !pStory->m_Date.IsValid()) {
        DebugLog(0, "[CNewspaperStoryList::Load] A story has an invalid date %08x", dwDate);
        bDamaged = true;
    }
    else if (!reader.Failed() && pStory->m_byKind > STORY_KIND_BEST_ELEVEN) {
        DebugLog(0, "[CNewspaperStoryList::Load] A story has the unknown kind %d", pStory->m_byKind);
        bDamaged = true;
    }
    else if (!reader.Failed()) {
        if (pStory->m_byKind <= STORY_KIND_PLAIN_LAST) {
            // The data word of a plain story is its printed value; that of
            // the award kinds is a pointer as it lay and is rebuilt here.
            pStory->m_dwFirstField = dwData;
            for (uint32_t& dw : pStory->m_adwParameters)
                reader.ReadU32(dw);
        }
        else if (pStory->m_byKind == STORY_KIND_BEST_ELEVEN) {
            pStory->m_pBestEleven = new uint32_t[2 * BEST_ELEVEN]();
            for (int i = 0; i < 2 * BEST_ELEVEN; ++i)
                reader.ReadU32(pStory->m_pBestEleven[i]);
        }
        else if (!reader.CheckCount(pStory->m_dwCount, kAwardEntryBytes)) {
            DebugLog(0, "[CNewspaperStoryList::Load] An award story counts %u entries, more than the file holds",
                     pStory->m_dwCount);
            bDamaged = true;
        }
        else if (pStory->m_dwCount) {
            pStory->m_pAwards = new STORYAWARDENTRY[pStory->m_dwCount];
            for (uint32_t i = 0; i < pStory->m_dwCount; ++i) {
                reader.ReadU32(pStory->m_pAwards[i].dwDivision);
                reader.ReadU32(pStory->m_pAwards[i].dwPerson);
                reader.ReadU32(pStory->m_pAwards[i].dwClub);
            }
        }
    }
    if (reader.Failed() && !bDamaged)
        DebugLog(0, "[CNewspaperStoryList::Load] A story is cut short");
    if (bDamaged || reader.Failed()) {
        reader.Fail();
        delete pStory;
        return nullptr;
    }
    return pStory;
}

bool CNewspaperStory::Save(CBinaryWriter& writer) const
{
    writer.WriteU32(m_byKind <= STORY_KIND_PLAIN_LAST ? m_dwFirstField : 0);
    const bool bAwards = m_byKind == STORY_KIND_PLAYER_AWARDS || m_byKind == STORY_KIND_MANAGER_AWARDS;
    writer.WriteU32(bAwards && !m_pAwards ? 0 : m_dwCount);
    writer.WriteU8(m_byKind);
    writer.WriteU8(m_byReadMask);
    writer.WriteU16(m_wParameter);
    writer.WriteU8(m_byLayoutVariant);
    writer.WriteU32(m_Date.GetValue());
    if (m_byKind <= STORY_KIND_PLAIN_LAST) {
        for (uint32_t dw : m_adwParameters)
            writer.WriteU32(dw);
    }
    else if (bAwards) {
        for (uint32_t i = 0; m_pAwards && i < m_dwCount; ++i) {
            writer.WriteU32(m_pAwards[i].dwDivision);
            writer.WriteU32(m_pAwards[i].dwPerson);
            writer.WriteU32(m_pAwards[i].dwClub);
        }
    }
    else if (m_byKind == STORY_KIND_BEST_ELEVEN) {
        for (int i = 0; i < 2 * BEST_ELEVEN; ++i)
            writer.WriteU32(m_pBestEleven ? m_pBestEleven[i] : 0);
    }
    return !writer.Failed();
}

void CNewspaperStory::SetupPointers(CDatabaseHandler* pHandler)
{
    m_pClubA = m_pClubB = nullptr;
    m_pCountry = nullptr;
    m_pDivision = nullptr;
    if (m_byKind > STORY_KIND_PLAIN_LAST || !pHandler)
        return;
    m_pClubA = pHandler->GetClubFromID(static_cast<ID_CLUB>(m_adwParameters[0]));
    m_pClubB = pHandler->GetClubFromID(static_cast<ID_CLUB>(m_adwParameters[1]));
    // The two record slots pointed into a save game's lists, which a load does not restore.
    m_adwParameters[2] = m_adwParameters[3] = 0;
    m_pCountry = pHandler->GetCountryFromID(static_cast<ID_COUNTRY>(m_adwParameters[4]));
    m_pDivision = pHandler->GetDivisionFromID(static_cast<uint8_t>(m_adwParameters[5]));
}

CNewspaperStoryList::~CNewspaperStoryList()
{
    RemoveAll();
}

CNewspaperStory* CNewspaperStoryList::AddPendingStory(uint8_t byKind, uint16_t wParameter)
{
    const CDate date = m_pDatabaseHandler ? m_pDatabaseHandler->GetGameDate() : CDate();
    auto* pStory = new CNewspaperStory(byKind, wParameter, date);
    m_lstPending.AddTail(pStory);
    return pStory;
}

namespace {

bool Unlink(CXList& list, CNewspaperStory* pStory)
{
    LPXLISTNODE pNode = list.Find(pStory);
    if (!pNode)
        return false;
    list.Remove(pNode);
    return true;
}

}  // namespace

bool CNewspaperStoryList::PublishStory(CNewspaperStory* pStory, uint32_t dwFirstField)
{
    if (!Unlink(m_lstPending, pStory))
        return false;
    pStory->SetFirstField(dwFirstField);
    m_lstPrinted.AddTail(pStory);
    return true;
}

bool CNewspaperStoryList::RemoveStory(CNewspaperStory* pStory)
{
    return Unlink(m_lstPrinted, pStory);
}

bool CNewspaperStoryList::DeleteStory(CNewspaperStory* pStory)
{
    if (!Unlink(m_lstPrinted, pStory))
        return false;
    delete pStory;
    return true;
}

bool CNewspaperStoryList::DeletePendingStory(CNewspaperStory* pStory)
{
    if (!Unlink(m_lstPending, pStory))
        return false;
    delete pStory;
    return true;
}

void CNewspaperStoryList::RemoveOldStories(int nDays)
{
    if (!m_pDatabaseHandler)
        return;
    const CDate today = m_pDatabaseHandler->GetGameDate();
    LPXLISTNODE pNode = m_lstPrinted.GetHead();
    while (pNode) {
        LPXLISTNODE pNext = pNode->pNext;
        auto* pStory = static_cast<CNewspaperStory*>(pNode->pData);
        if (CDate(pStory->GetDate().GetValue(), nDays) < today) {
            m_lstPrinted.Remove(pNode);
            delete pStory;
        }
        pNode = pNext;
    }
}

int CNewspaperStoryList::CountUnreadStories(int nSlot) const
{
    int nUnread = 0;
    for (const CNewspaperStory* pStory : m_lstPrinted.Items<CNewspaperStory>())
        nUnread += (pStory->GetReadMask() >> nSlot) & 1 ? 0 : 1;
    return nUnread;
}

void CNewspaperStoryList::RemoveAll()
{
    while (!m_lstPrinted.IsEmpty())
        delete static_cast<CNewspaperStory*>(m_lstPrinted.RemoveHead());
    while (!m_lstPending.IsEmpty())
        delete static_cast<CNewspaperStory*>(m_lstPending.RemoveHead());
}

bool CNewspaperStoryList::Save(CBinaryWriter& writer) const
{
    writer.WriteU32(static_cast<uint32_t>(m_lstPrinted.GetCount()));
    for (const CNewspaperStory* pStory : m_lstPrinted.Items<CNewspaperStory>())
        if (!pStory->Save(writer))
            return false;
    return !writer.Failed();
}

bool CNewspaperStoryList::Load(CBinaryReader& reader)
{
    while (!m_lstPrinted.IsEmpty())
        delete static_cast<CNewspaperStory*>(m_lstPrinted.RemoveHead());
    uint32_t dwCount = 0;
    reader.ReadU32(dwCount);
    if (reader.Failed() || !reader.CheckCount(dwCount, CNewspaperStory::HEADER_FILE_SIZE)) {
        DebugLog(0, "[CNewspaperStoryList::Load] The story count is cut short or larger than the file");
        return false;
    }
    for (uint32_t i = 0; i < dwCount; ++i) {
        CNewspaperStory* pStory = CNewspaperStory::Load(reader);
        if (!pStory) {
            while (!m_lstPrinted.IsEmpty())
                delete static_cast<CNewspaperStory*>(m_lstPrinted.RemoveHead());
            return false;
        }
        m_lstPrinted.AddTail(pStory);
    }
    return true;
}

void CNewspaperStoryList::SetupPointers()
{
    for (CNewspaperStory* pStory : m_lstPrinted.Items<CNewspaperStory>())
        pStory->SetupPointers(m_pDatabaseHandler);
}
