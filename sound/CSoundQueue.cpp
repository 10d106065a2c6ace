#include "sound/CSoundQueue.h"

#include "sound/CSound.h"

#include "common/DebugLog.h"

#include <new>

namespace {

// Takes the head of the queue list when it is due: its entry goes back to the
// free list, cleared. Null when nothing is due.
template <typename Entry>
Entry* TakeDueHead(CXList& queue, CXList& freeList, uint32_t dwGameTime, Entry& taken)
{
    if (queue.IsEmpty())
        return nullptr;
    auto* pHead = static_cast<Entry*>(queue.GetHead()->pData);
    if (pHead->dwDueTime > dwGameTime)
        return nullptr;
    queue.RemoveHead();
    taken = *pHead;
    *pHead = Entry{};
    freeList.AddTail(pHead);
    return &taken;
}

// Starts a sound taken from a queue; the log names the queue.
void StartQueuedSound(CSound* pSound, const char* pszQueue, uint32_t dwGameTime, uint32_t dwDueTime)
{
    if (pSound->Create()) {
        DebugLog(0, "[%s::Trigger] playing sound \"%s.\" (game time : %ld, sound time : %ld)", pszQueue,
                 pSound->GetName(), static_cast<long>(dwGameTime), static_cast<long>(dwDueTime));
        pSound->Play();
    } else {
        DebugLog(0, "[%s::Trigger] Couldn't play sound \"%s\", create failed. (game time : %ld, sound time : %ld)",
                 pszQueue, pSound->GetName(), static_cast<long>(dwGameTime), static_cast<long>(dwDueTime));
    }
}

// Nothing new starts while the queue's last sound still plays.
bool CurrentStillPlays(CSound*& pCurrent)
{
    if (!pCurrent)
        return false;
    if (pCurrent->IsPlaying())
        return true;
    pCurrent = nullptr;
    return false;
}

template <typename Entry>
void CleanQueue(CXList& queue, CXList& freeList)
{
    while (!queue.IsEmpty()) {
        auto* pEntry = static_cast<Entry*>(queue.RemoveHead());
        if (pEntry->pSound) {
            DebugLog(0, "--> [CPrioritySoundQueue::Clean] Uninitialising sound %s", pEntry->pSound->GetName());
            pEntry->pSound->Uninitialise();
        }
        *pEntry = Entry{};
        freeList.AddTail(pEntry);
    }
}

template <typename Entry>
bool MakeEntries(CXList& freeList, uint16_t wCapacity, uint32_t& dwMade)
{
    for (uint16_t i = 0; i < wCapacity; ++i) {
        auto* pEntry = new (std::nothrow) Entry;
        if (!pEntry) {
            while (!freeList.IsEmpty())
                delete static_cast<Entry*>(freeList.RemoveHead());
            dwMade = 0;
            return false;
        }
        freeList.AddTail(pEntry);
        ++dwMade;
    }
    return true;
}

}  // namespace

CQueue::~CQueue()
{
    DebugLog(0, "[CQueue::~CQueue] Deleting queue.");
    delete m_pQueue;
    DebugLog(0, "[CQueue::~CQueue] Deleting free list.");
    delete m_pFree;
}

bool CQueue::Create(uint16_t wCapacity)
{
    m_wCapacity = wCapacity;
    m_pQueue = new (std::nothrow) CXList;
    m_pFree = new (std::nothrow) CXList;
    return m_pQueue && m_pFree;
}

// ---- standard queue ----

CSoundQueue::~CSoundQueue()
{
    for (CXList* pList : {m_pQueue, m_pFree}) {
        while (pList && !pList->IsEmpty()) {
            auto* pEntry = static_cast<SOUNDQUEUEENTRY*>(pList->RemoveHead());
            DebugLog(0, "Removing from Queue - pQSound : 0x%lx", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(pEntry)));
            delete pEntry;
        }
    }
}

bool CSoundQueue::Create(uint16_t wCapacity)
{
    return CQueue::Create(wCapacity) && MakeEntries<SOUNDQUEUEENTRY>(*m_pFree, wCapacity, m_dwEntriesMade);
}

bool CSoundQueue::Add(CSound* pSound, uint32_t dwDueTime, uint8_t bFlush)
{
    if (!m_pFree)
        return false;
    if (bFlush == 1)
        Clean();
    if (m_pFree->IsEmpty())
        return false;
    auto* pEntry = static_cast<SOUNDQUEUEENTRY*>(m_pFree->GetHead()->pData);
    if (pEntry->pSound && pEntry->pSound->IsPlaying())
        return false;
    m_pFree->RemoveHead();
    pEntry->pSound = pSound;
    pEntry->dwDueTime = dwDueTime;
    m_pQueue->AddTail(pEntry);
    return true;
}

void CSoundQueue::Trigger(uint32_t dwGameTime)
{
    if (!m_pQueue || CurrentStillPlays(m_pCurrentSound))
        return;
    SOUNDQUEUEENTRY taken;
    if (!TakeDueHead(*m_pQueue, *m_pFree, dwGameTime, taken) || !taken.pSound)
        return;
    m_pCurrentSound = taken.pSound;
    StartQueuedSound(taken.pSound, "CSoundQueue", dwGameTime, taken.dwDueTime);
}

void CSoundQueue::Clean()
{
    DebugLog(0, "[CSoundQueue::Clean] Cleaning, get the hoover out!");
    if (m_pQueue)
        CleanQueue<SOUNDQUEUEENTRY>(*m_pQueue, *m_pFree);
}

// ---- priority queue ----

CPrioritySoundQueue::~CPrioritySoundQueue()
{
    const char* const pszWhat[] = {"[CPrioritySoundQueue::~CPrioritySoundQueue] Deleting queue entry %s.",
                                   "[CPrioritySoundQueue::~CPrioritySoundQueue] Deleting free list entry %s."};
    CXList* const lists[] = {m_pQueue, m_pFree};
    for (int i = 0; i < 2; ++i) {
        while (lists[i] && !lists[i]->IsEmpty()) {
            auto* pEntry = static_cast<PRIORITYQUEUEENTRY*>(lists[i]->RemoveHead());
            DebugLog(0, pszWhat[i], pEntry->pSound ? pEntry->pSound->GetName() : "NULL");
            delete pEntry;
        }
    }
}

bool CPrioritySoundQueue::Create(uint16_t wCapacity)
{
    return CQueue::Create(wCapacity) && MakeEntries<PRIORITYQUEUEENTRY>(*m_pFree, wCapacity, m_dwEntriesMade);
}

bool CPrioritySoundQueue::Add(CSound* pSound, uint16_t wPriority, uint32_t dwDueTime)
{
    if (!m_pFree)
        return false;
    PRIORITYQUEUEENTRY* pEntry = nullptr;
    if (m_dwEntriesMade < m_wCapacity) {
        pEntry = new (std::nothrow) PRIORITYQUEUEENTRY;
        if (!pEntry)
            return false;
        ++m_dwEntriesMade;
    } else {
        // An entry that still names a sound is not free: it is dropped.
        while (!m_pFree->IsEmpty()) {
            auto* pCandidate = static_cast<PRIORITYQUEUEENTRY*>(m_pFree->RemoveHead());
            if (!pCandidate->pSound) {
                pEntry = pCandidate;
                break;
            }
            delete pCandidate;
            --m_dwEntriesMade;
        }
        if (!pEntry)
            return false;
    }
    pEntry->pSound = pSound;
    pEntry->dwDueTime = dwDueTime;
    pEntry->wPriority = wPriority;
    for (LPXLISTNODE pNode = m_pQueue->GetHead(); pNode; pNode = pNode->pNext) {
        auto* pOther = static_cast<PRIORITYQUEUEENTRY*>(pNode->pData);
        if (pOther->wPriority <= wPriority) {
            if (dwDueTime < pOther->dwDueTime)
                m_pQueue->InsertBefore(pNode, pEntry);
            else
                m_pQueue->InsertAfter(pNode, pEntry);
            return true;
        }
    }
    m_pQueue->AddTail(pEntry);
    return true;
}

void CPrioritySoundQueue::Trigger(uint32_t dwGameTime)
{
    if (!m_pQueue || CurrentStillPlays(m_pCurrentSound))
        return;
    PRIORITYQUEUEENTRY taken;
    if (!TakeDueHead(*m_pQueue, *m_pFree, dwGameTime, taken) || !taken.pSound)
        return;
    if (taken.wPriority < m_wMinimumPriority)
        return;
    m_pCurrentSound = taken.pSound;
    StartQueuedSound(taken.pSound, "PrioritySoundQueue", dwGameTime, taken.dwDueTime);
}

void CPrioritySoundQueue::Clean()
{
    DebugLog(0, "[CPrioritySoundQueue::Clean] Cleaning, get the hoover out!");
    if (m_pQueue)
        CleanQueue<PRIORITYQUEUEENTRY>(*m_pQueue, *m_pFree);
}
