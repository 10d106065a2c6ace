#pragma once
// The screens visited, for the navigation bar's back and forward buttons: a
// growable array of {screen, change parameter} records and the current index
// (-1 when empty). Entering a screen drops every record after the current one.
// TScreen is the screen base; it answers CanReturnTo() whether it may be
// returned to now.
#include "common/CPointerArray.h"

#include <cstdint>

template <typename TScreen>
struct SCREENHISTORY {
    TScreen* pScreen;
    uint32_t dwParameter;
};

template <typename TScreen>
class CScreenHistory {
public:
    using Record = SCREENHISTORY<TScreen>;
    static constexpr int kInitialSize = 30;
    static constexpr int kGrowBy = 10;

    CScreenHistory() { CreateScreenHistory(); }
    ~CScreenHistory() { FreeRecords(0); }
    CScreenHistory(const CScreenHistory&) = delete;
    CScreenHistory& operator=(const CScreenHistory&) = delete;

    void CreateScreenHistory()
    {
        m_Records.SetSize(kInitialSize, kGrowBy);
        m_nIndex = -1;
    }

    void ClearScreenHistory()
    {
        FreeRecords(0);
        m_Records.SetSize(0);
        CreateScreenHistory();
    }

    void AddScreenHistory(TScreen* pScreen, uint32_t dwParameter)
    {
        FreeRecords(m_nIndex + 1);
        m_Records.SetAtGrow(m_nIndex + 1, new Record{pScreen, dwParameter});
        ++m_nIndex;
    }

    // The nearest earlier record whose screen may be returned to, made
    // current; null (and the index as it was) when there is none.
    const Record* ScreenHistoryBack() { return Step(-1); }
    // The same towards the later records, past empty slots.
    const Record* ScreenHistoryForward() { return Step(+1); }

    int GetIndex() const { return m_nIndex; }
    bool CanGoBack() const { return m_nIndex >= 1; }
    bool CanGoForward() const { return m_Records.GetAt(m_nIndex + 1) != nullptr; }

private:
    const Record* Step(int nDirection)
    {
        for (int i = m_nIndex + nDirection; i >= 0 && i < m_Records.GetSize(); i += nDirection) {
            Record* pRecord = static_cast<Record*>(m_Records.GetAt(i));
            if (pRecord && pRecord->pScreen && pRecord->pScreen->CanReturnTo()) {
                m_nIndex = i;
                return pRecord;
            }
        }
        return nullptr;
    }

    void FreeRecords(int nFirst)
    {
        for (int i = nFirst < 0 ? 0 : nFirst; i < m_Records.GetSize(); ++i) {
            delete static_cast<Record*>(m_Records.GetAt(i));
            m_Records.SetAt(i, nullptr);
        }
    }

    CPointerArray m_Records;
    int m_nIndex = -1;
};
