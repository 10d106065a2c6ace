#include "database/CShortlistEntry.h"

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"

bool CShortlistEntry::Load(CBinaryReader& reader)
{
    uint32_t dwDate = 0;
    reader.ReadU32(m_dwPlayer);
    reader.ReadU32(dwDate);
    reader.ReadU8(m_byFlag);
    reader.Skip(3);
    if (reader.Failed()) {
        DebugLog(1, "[CShortlistEntry::Load] The shortlist entry is cut short");
        return false;
    }
    m_Date.Set(dwDate);
    if (m_dwPlayer == 0 || (dwDate != 0 && !m_Date.IsValid())) {
        DebugLog(1, "[CShortlistEntry::Load] Shortlist entry of player %u dated %08x is refused", m_dwPlayer, dwDate);
        reader.Fail();
        return false;
    }
    return true;
}

bool CShortlistEntry::Save(CBinaryWriter& writer) const
{
    writer.WriteU32(m_dwPlayer);
    writer.WriteU32(m_Date.GetValue());
    writer.WriteU8(m_byFlag);
    writer.WriteZeros(3);
    return !writer.Failed();
}
