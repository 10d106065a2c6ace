#include "database/CMarketEntries.h"

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"

bool CListMarketEntry::Load(CBinaryReader& reader)
{
    reader.ReadU32(m_dwAskingPrice);
    reader.ReadU32(m_dwPlayer);
    reader.ReadU16(m_wValue);
    reader.ReadU8(m_byKind);
    reader.Skip(1);
    if (reader.Failed()) {
        DebugLog(1, "[CListMarketEntry::Load] The market entry is cut short");
        return false;
    }
    if (m_dwPlayer == 0) {
        DebugLog(1, "[CListMarketEntry::Load] A market entry names no player");
        reader.Fail();
        return false;
    }
    return true;
}

bool CListMarketEntry::Save(CBinaryWriter& writer) const
{
    writer.WriteU32(m_dwAskingPrice);
    writer.WriteU32(m_dwPlayer);
    writer.WriteU16(m_wValue);
    writer.WriteU8(m_byKind);
    writer.WriteZeros(1);
    return !writer.Failed();
}

bool CLoanMarketEntry::Load(CBinaryReader& reader)
{
    reader.ReadU32(m_dwPlayer);
    reader.ReadU16(m_wValue);
    reader.Skip(2);
    if (reader.Failed()) {
        DebugLog(1, "[CLoanMarketEntry::Load] The loan market entry is cut short");
        return false;
    }
    if (m_dwPlayer == 0) {
        DebugLog(1, "[CLoanMarketEntry::Load] A loan market entry names no player");
        reader.Fail();
        return false;
    }
    return true;
}

bool CLoanMarketEntry::Save(CBinaryWriter& writer) const
{
    writer.WriteU32(m_dwPlayer);
    writer.WriteU16(m_wValue);
    writer.WriteZeros(2);
    return !writer.Failed();
}
