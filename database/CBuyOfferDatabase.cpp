#include "database/CBuyOfferDatabase.h"

#include "common/CBinaryFile.h"
#include "common/CDate.h"
#include "common/DebugLog.h"

CBuyOfferDatabase::CBuyOfferDatabase()
{
    m_adwContract[CONTRACT_START] = CDate(1970, 1, 1).GetValue();
    m_adwContract[CONTRACT_END] = CDate(1972, 1, 1).GetValue();
}

bool CBuyOfferDatabase::Load(CBinaryReader& reader)
{
    for (uint32_t& dw : m_adwTerms)
        reader.ReadU32(dw);
    for (uint32_t& dw : m_adwContract)
        reader.ReadU32(dw);
    reader.ReadU32(m_dwOfferID);
    reader.ReadU32(m_dwValue100);
    reader.ReadU32(m_dwPlayer);
    reader.ReadU32(m_dwValue108);
    reader.ReadU32(m_dwSecondParty);
    reader.ReadU32(m_dwValue116);
    reader.ReadU16(m_wBiddingClub);
    reader.ReadU16(m_wValue122);
    reader.ReadU16(m_wDaysWaited);
    reader.ReadU16(m_wFlags);
    for (uint8_t& by : m_abyValues)
        reader.ReadU8(by);
    reader.ReadU8(m_byCountdown);
    m_byFinished = 0;
    if (reader.Failed()) {
        DebugLog(1, "[CBuyOfferDatabase::Load] The buy offer record is cut short");
        return false;
    }
    if (m_dwPlayer == 0) {
        DebugLog(1, "[CBuyOfferDatabase::Load] Buy offer %u names no player", m_dwOfferID);
        reader.Fail();
        return false;
    }
    return true;
}

bool CBuyOfferDatabase::Save(CBinaryWriter& writer) const
{
    for (uint32_t dw : m_adwTerms)
        writer.WriteU32(dw);
    for (uint32_t dw : m_adwContract)
        writer.WriteU32(dw);
    writer.WriteU32(m_dwOfferID);
    writer.WriteU32(m_dwValue100);
    writer.WriteU32(m_dwPlayer);
    writer.WriteU32(m_dwValue108);
    writer.WriteU32(m_dwSecondParty);
    writer.WriteU32(m_dwValue116);
    writer.WriteU16(m_wBiddingClub);
    writer.WriteU16(m_wValue122);
    writer.WriteU16(m_wDaysWaited);
    writer.WriteU16(m_wFlags);
    for (uint8_t by : m_abyValues)
        writer.WriteU8(by);
    writer.WriteU8(m_byCountdown);
    return !writer.Failed();
}
