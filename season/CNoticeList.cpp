#include "season/CNoticeList.h"

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "season/CSaveGame.h"

namespace {

// Each delegation byte and the notices its task makes pointless.
struct DELEGATEDNOTICES {
    int nDelegation;
    uint8_t abyCodes[2];
    int nCodes;
};

constexpr DELEGATEDNOTICES kDelegatedNotices[] = {
    {2, {2}, 1}, {4, {3}, 1}, {5, {4}, 1}, {1, {5, 6}, 2}, {7, {8}, 1}, {3, {16}, 1},
};

constexpr uint8_t kLastCode = 19;

}  // namespace

NOTICE* CNoticeList::FindNotice(uint8_t byCode) const
{
    return m_lstNotices.FindItem<NOTICE>([byCode](const NOTICE* p) { return p->byCode == byCode; });
}

void CNoticeList::AddNotice(uint8_t byCode)
{
    if (FindNotice(byCode))
        return;
    m_lstNotices.AddTail(new NOTICE{byCode, 0});
    ++m_nCount;
}

bool CNoticeList::RemoveNotice(NOTICE* pNotice)
{
    LPXLISTNODE pNode = m_lstNotices.Find(pNotice);
    if (!pNode)
        return false;
    m_lstNotices.Remove(pNode);
    delete pNotice;
    --m_nCount;
    return true;
}

void CNoticeList::RemoveCode(uint8_t byCode)
{
    while (NOTICE* pNotice = FindNotice(byCode))
        RemoveNotice(pNotice);
}

void CNoticeList::RemoveSeenNotices()
{
    while (NOTICE* pNotice = m_lstNotices.FindItem<NOTICE>([](const NOTICE* p) { return p->byResolved != 0; }))
        RemoveNotice(pNotice);
}

void CNoticeList::RemoveAll()
{
    while (!m_lstNotices.IsEmpty())
        delete static_cast<NOTICE*>(m_lstNotices.RemoveHead());
    m_nCount = 0;
}

void CNoticeList::ClearResolvedNotices()
{
    if (!m_pSaveGame)
        return;
    for (const DELEGATEDNOTICES& entry : kDelegatedNotices)
        if (m_pSaveGame->GetDelegation(entry.nDelegation))
            for (int i = 0; i < entry.nCodes; ++i)
                RemoveCode(entry.abyCodes[i]);
}

bool CNoticeList::Save(CBinaryWriter& writer) const
{
    writer.WriteU32(static_cast<uint32_t>(m_lstNotices.GetCount()));
    for (const NOTICE* p : m_lstNotices.Items<NOTICE>()) {
        writer.WriteU8(p->byCode);
        writer.WriteU8(p->byResolved);
    }
    return !writer.Failed();
}

bool CNoticeList::Load(CBinaryReader& reader)
{
    RemoveAll();
    uint32_t dwCount = 0;
    if (!reader.ReadU32(dwCount) || !reader.CheckCount(dwCount, FILE_SIZE)) {
        DebugLog(0, "[CNoticeList::Load] The notice count is cut short or larger than the file");
        reader.Fail();
        return false;
    }
    for (uint32_t i = 0; i < dwCount; ++i) {
        NOTICE notice;
        reader.ReadU8(notice.byCode);
        reader.ReadU8(notice.byResolved);
        // Codes stay unique and known, and the flag is a flag.
        if (reader.Failed() || notice.byCode > kLastCode || notice.byResolved > 1 || FindNotice(notice.byCode)) {
            DebugLog(0, "[CNoticeList::Load] Notice %u is cut short or damaged", i);
            reader.Fail();
            RemoveAll();
            return false;
        }
        m_lstNotices.AddTail(new NOTICE(notice));
        ++m_nCount;
    }
    return true;
}
