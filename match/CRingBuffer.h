#pragma once
// The time-stamped history of the match: a fixed ring of slots, each holding
// an engine-clock time and one record of the owner's kind. Writers add one
// slot per change of state; the replay seeks to a time and reads the slots in
// order as the clock passes them. With capacity n at most n - 1 slots are held.
// The ring owns its records, linked to the slots once and never relinked.
#include <cstdint>
#include <cstddef>
#include <vector>

template <typename RECORD>
class CRingBuffer {
public:
    struct SLOT {
        uint32_t dwTime = 0;
        RECORD* pRecord = nullptr;
    };

    explicit CRingBuffer(uint32_t nCapacity)
        : m_aSlots(nCapacity < 2 ? 2 : nCapacity), m_aRecords(m_aSlots.size())
    {
        for (size_t i = 0; i < m_aSlots.size(); ++i)
            m_aSlots[i].pRecord = &m_aRecords[i];
        m_pReadCursor = &m_aSlots[0];
    }
    CRingBuffer(const CRingBuffer&) = delete;
    CRingBuffer& operator=(const CRingBuffer&) = delete;

    uint32_t GetCapacity() const { return uint32_t(m_aSlots.size()); }
    bool IsReading() const { return m_bReading; }
    bool IsEmpty() const { return m_nWriteIndex == m_nOldestIndex; }
    // How many slots are held.
    uint32_t GetCount() const { return (m_nWriteIndex + GetCapacity() - m_nOldestIndex) % GetCapacity(); }

    // Moves the write index on, dropping the oldest slot when the ring is full;
    // returns the slot at the new write index.
    SLOT* Push()
    {
        m_nWriteIndex = (m_nWriteIndex + 1) % GetCapacity();
        if (m_nWriteIndex == m_nOldestIndex)
            m_nOldestIndex = (m_nOldestIndex + 1) % GetCapacity();
        return &m_aSlots[m_nWriteIndex];
    }

    // Stamps the slot at the write index with the time, pushes, and returns
    // its record for the caller to fill: the newest state always lies just
    // behind the write index. Writing never disturbs a reader's place.
    RECORD* Write(uint32_t dwTime)
    {
        SLOT& slot = m_aSlots[m_nWriteIndex];
        slot.dwTime = dwTime;
        Push();
        if (m_pReadCursor == &m_aSlots[m_nWriteIndex]) {
            // The reader's next slot was the one just dropped.
            m_nReadIndex = m_nOldestIndex;
            m_pReadCursor = &m_aSlots[m_nOldestIndex];
        }
        return slot.pRecord;
    }

    // Places the reader on the last slot at or before dwTime (the oldest slot
    // when even that is later) and returns it; null when nothing is held.
    // Reading then continues after the returned slot.
    SLOT* Seek(uint32_t dwTime)
    {
        m_bReading = true;
        if (IsEmpty()) {
            m_pReadCursor = nullptr;
            return nullptr;
        }
        m_nReadIndex = m_nOldestIndex;
        m_pReadCursor = &m_aSlots[m_nReadIndex];
        SLOT* pFound = m_pReadCursor;
        while (m_pReadCursor && m_pReadCursor->dwTime <= dwTime) {
            pFound = m_pReadCursor;
            m_pReadCursor = ReadAdvance();
        }
        return pFound;
    }

    // Ends reading; returns the newest slot (the last of the array while the
    // write index is 0).
    SLOT* GetLatest()
    {
        m_bReading = false;
        return &m_aSlots[m_nWriteIndex == 0 ? GetCapacity() - 1 : m_nWriteIndex - 1];
    }

    // The next slot's record once the clock has reached its time, else null
    // without moving; its time goes to pdwTime when given.
    RECORD* ReadNext(uint32_t dwTime, uint32_t* pdwTime = nullptr)
    {
        if (!m_pReadCursor || m_pReadCursor->dwTime > dwTime)
            return nullptr;
        SLOT* pSlot = m_pReadCursor;
        if (pdwTime)
            *pdwTime = pSlot->dwTime;
        m_pReadCursor = ReadAdvance();
        return pSlot->pRecord;
    }

private:
    SLOT* ReadAdvance()
    {
        m_nReadIndex = (m_nReadIndex + 1) % GetCapacity();
        return m_nReadIndex == m_nWriteIndex ? nullptr : &m_aSlots[m_nReadIndex];
    }

    std::vector<SLOT> m_aSlots;
    std::vector<RECORD> m_aRecords;
    SLOT* m_pReadCursor = nullptr;
    uint32_t m_nWriteIndex = 0;
    uint32_t m_nReadIndex = 0;
    uint32_t m_nOldestIndex = 0;
    bool m_bReading = false;
};
