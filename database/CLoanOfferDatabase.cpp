#include "database/CLoanOfferDatabase.h"

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"

bool CLoanOfferDatabase::Load(CBinaryReader& reader)
{
    reader.ReadU32(m_dwOfferID);
    reader.ReadU32(m_adwWords[0]);
    reader.ReadU32(m_dwPlayer);
    reader.ReadU32(m_adwWords[1]);
    reader.ReadU32(m_adwWords[2]);
    reader.ReadU16(m_awHalves[0]);
    reader.ReadU16(m_wClub);
    reader.ReadU16(m_awHalves[1]);
    reader.ReadU16(m_awHalves[2]);
    reader.ReadU8(m_byKind);
    reader.ReadU8(m_abyBytes[0]);
    reader.ReadU8(m_abyBytes[1]);
    reader.Skip(1);
    reader.ReadU8(m_abyBytes[2]);
    reader.Skip(3);
    if (reader.Failed()) {
        DebugLog(1, "[CLoanOfferDatabase::Load] The loan offer record is cut short");
        return false;
    }
    if (m_dwPlayer == 0) {
        DebugLog(1, "[CLoanOfferDatabase::Load] Loan offer %u names no player", m_dwOfferID);
        reader.Fail();
        return false;
    }
    return true;
}

bool CLoanOfferDatabase::Save(CBinaryWriter& writer) const
{
    writer.WriteU32(m_dwOfferID);
    writer.WriteU32(m_adwWords[0]);
    writer.WriteU32(m_dwPlayer);
    writer.WriteU32(m_adwWords[1]);
    writer.WriteU32(m_adwWords[2]);
    writer.WriteU16(m_awHalves[0]);
    writer.WriteU16(m_wClub);
    writer.WriteU16(m_awHalves[1]);
    writer.WriteU16(m_awHalves[2]);
    writer.WriteU8(m_byKind);
    writer.WriteU8(m_abyBytes[0]);
    writer.WriteU8(m_abyBytes[1]);
    writer.WriteZeros(1);
    writer.WriteU8(m_abyBytes[2]);
    writer.WriteZeros(3);
    return !writer.Failed();
}
