#pragma once
// The reminders the main screen shows one human manager: codes 0-19, each
// raised once and kept with a resolved flag until the seen ones are dropped.
#include <cstdint>

#include "common/CXList.h"

class CBinaryReader;
class CBinaryWriter;
class CSaveGame;

struct NOTICE {
    uint8_t byCode = 0;
    uint8_t byResolved = 0;
};

class CNoticeList {
public:
    static constexpr int FILE_SIZE = 2;

    explicit CNoticeList(const CSaveGame* pSaveGame) : m_pSaveGame(pSaveGame) {}
    ~CNoticeList() { RemoveAll(); }
    CNoticeList(const CNoticeList&) = delete;
    CNoticeList& operator=(const CNoticeList&) = delete;

    NOTICE* FindNotice(uint8_t byCode) const;
    // A code already present stays as it is, resolved or not.
    void AddNotice(uint8_t byCode);
    bool RemoveNotice(NOTICE* pNotice);
    void RemoveSeenNotices();
    void RemoveAll();
    // Drops the notices of every task the human has delegated.
    void ClearResolvedNotices();
    // Raises the notices whose reasons hold now (without a club only the
    // job hunt); the main screen's continue drops the seen ones first.
    void UpdateNotices();
    // Marks resolved every notice whose reason has gone.
    void RecheckNotices();
    int GetCount() const { return m_nCount; }
    const CXList& GetNotices() const { return m_lstNotices; }

    bool Save(CBinaryWriter& writer) const;
    // Replaces the list with the one read; false (logged, list empty) when
    // it is cut short or a notice is damaged.
    bool Load(CBinaryReader& reader);

private:
    void RemoveCode(uint8_t byCode);
    // 1 when the reason of the code holds, 0 when it has gone, -1 when it
    // cannot be told here (the code is then left as it is).
    int IsStillDue(uint8_t byCode, bool bRaising) const;

    int32_t m_nCount = 0;
    CXList m_lstNotices;  // NOTICE, in order of raising
    const CSaveGame* m_pSaveGame;
};
