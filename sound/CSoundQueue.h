#pragma once
// Queues that play a manager's sounds at given moments of game time, one
// sound at a time: the standard queue (crowd sounds, first in first out) and
// the priority queue (commentary, highest priority first). Entries are made
// once and circulate between a queue list and a free list, so queueing never
// allocates once the queue is made. The queues never delete sounds.
#include "common/CXList.h"

#include <cstdint>

class CSound;

class CQueue {
public:
    CQueue() = default;
    ~CQueue();
    CQueue(const CQueue&) = delete;
    CQueue& operator=(const CQueue&) = delete;

    bool Create(uint16_t wCapacity);
    int GetWaitingCount() const { return m_pQueue ? m_pQueue->GetCount() : 0; }
    int GetFreeCount() const { return m_pFree ? m_pFree->GetCount() : 0; }

protected:
    CXList* m_pQueue = nullptr;
    CXList* m_pFree = nullptr;
    uint16_t m_wCapacity = 0;
    uint32_t m_dwEntriesMade = 0;
};

struct SOUNDQUEUEENTRY {
    CSound* pSound = nullptr;
    uint32_t dwDueTime = 0;
};

class CSoundQueue : public CQueue {
public:
    ~CSoundQueue();
    bool Create(uint16_t wCapacity);
    // False when the queue is full or the next free entry's sound still plays.
    bool Add(CSound* pSound, uint32_t dwDueTime, uint8_t bFlush);
    // Starts the head when it is due and nothing of this queue is playing.
    void Trigger(uint32_t dwGameTime);
    // Uninitialises every waiting sound; the playing one goes on.
    void Clean();

    uint32_t m_dwGameTime = 0;
    CSound* m_pCurrentSound = nullptr;
};

struct PRIORITYQUEUEENTRY {
    CSound* pSound = nullptr;
    uint32_t dwDueTime = 0;
    uint16_t wPriority = 0;
};

class CPrioritySoundQueue : public CQueue {
public:
    ~CPrioritySoundQueue();
    bool Create(uint16_t wCapacity);
    bool Add(CSound* pSound, uint16_t wPriority, uint32_t dwDueTime);
    void Trigger(uint32_t dwGameTime);
    void Clean();

    uint32_t m_dwGameTime = 0;
    CSound* m_pCurrentSound = nullptr;
    uint16_t m_wMinimumPriority = 0;
};
