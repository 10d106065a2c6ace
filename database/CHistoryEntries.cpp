#include "database/CHistoryEntries.h"

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"

bool CTransferHistoryEntry::Load(CBinaryReader& reader)
{
    uint32_t dwDate = 0;
    reader.ReadU32(m_Values.dwValue0);
    reader.ReadU32(m_Values.dwValue1);
    reader.ReadU16(m_Values.wValue0);
    reader.ReadU16(m_Values.wValue1);
    reader.ReadU32(dwDate);
    reader.ReadU8(m_Values.byValue);
    reader.Skip(3);
    if (reader.Failed()) {
        DebugLog(1, "[CTransferHistoryEntry::Load] The transfer history entry is cut short");
        return false;
    }
    m_Values.date.Set(dwDate);
    if (dwDate != 0 && !m_Values.date.IsValid()) {
        DebugLog(1, "[CTransferHistoryEntry::Load] A transfer history entry has an invalid date %08x", dwDate);
        reader.Fail();
        return false;
    }
    return true;
}

bool CTransferHistoryEntry::Save(CBinaryWriter& writer) const
{
    writer.WriteU32(m_Values.dwValue0);
    writer.WriteU32(m_Values.dwValue1);
    writer.WriteU16(m_Values.wValue0);
    writer.WriteU16(m_Values.wValue1);
    writer.WriteU32(m_Values.date.GetValue());
    writer.WriteU8(m_Values.byValue);
    writer.WriteZeros(3);
    return !writer.Failed();
}

bool CLoanHistoryEntry::Load(CBinaryReader& reader)
{
    reader.ReadU32(m_Values.dwValue);
    for (uint16_t& w : m_Values.awValues)
        reader.ReadU16(w);
    reader.ReadU8(m_Values.abyValues[0]);
    reader.ReadU8(m_Values.abyValues[1]);
    reader.Skip(2);
    if (reader.Failed()) {
        DebugLog(1, "[CLoanHistoryEntry::Load] The loan history entry is cut short");
        return false;
    }
    return true;
}

bool CLoanHistoryEntry::Save(CBinaryWriter& writer) const
{
    writer.WriteU32(m_Values.dwValue);
    for (uint16_t w : m_Values.awValues)
        writer.WriteU16(w);
    writer.WriteU8(m_Values.abyValues[0]);
    writer.WriteU8(m_Values.abyValues[1]);
    writer.WriteZeros(2);
    return !writer.Failed();
}
