#include "database/CCupFixturesDatabase.h"

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "season/CRefereeDatabase.h"

namespace {

// A cup number names a cup only through the kinds that owners hold.
bool IsCupNumberValid(CUP_NUMBER byCup)
{
    if (byCup == CUP_NUMBER_NONE)
        return true;
    const int nSlot = byCup / 20;
    return nSlot == 0 || nSlot == 1 || nSlot == 3 || nSlot == 5;
}

} // namespace

void CCupFixturesDatabase::Set(uint8_t byKind, const CDate& date, ID_CLUB wHome, ID_CLUB wAway, uint32_t dwFixtureID,
                               uint32_t dwRoundValue, uint32_t dwClubPair, CUP_NUMBER byCup, ID_GROUND wGround)
{
    // A fixture given its first date has no referee yet.
    if (m_Date.GetValue() != 0)
        SetDate(date);
    else
        m_Date = date;
    m_byKind = byKind;
    m_wHomeClub = wHome;
    m_wAwayClub = wAway;
    m_byHomeGoals = GOALS_UNPLAYED;
    m_byAwayGoals = GOALS_UNPLAYED;
    m_dwFixtureID = dwFixtureID;
    m_dwRoundValue = dwRoundValue;
    m_dwClubPair = dwClubPair;
    m_byCup = byCup;
    m_wGround = wGround;
    m_pCup = nullptr;
    m_pOtherLeg = nullptr;
}

void CCupFixturesDatabase::SetDate(const CDate& date)
{
    if (date == m_Date)
        return;
    m_Date = date;
    CRefereeDatabase::NoteFixtureDateChanged(GetRefereeID());
}

bool CCupFixturesDatabase::Load(CBinaryReader& reader)
{
    uint32_t dwDate = 0;
    reader.ReadU32(dwDate);
    reader.ReadU32(m_dwReferee);
    reader.ReadU32(m_dwFixtureID);
    reader.ReadU32(m_dwRoundValue);
    reader.ReadU32(m_dwClubPair);
    reader.ReadU16(m_wHomeClub);
    reader.ReadU16(m_wAwayClub);
    reader.ReadU16(m_wGround);
    reader.ReadU8(m_byHomeGoals);
    reader.ReadU8(m_byAwayGoals);
    reader.ReadU8(m_byKind);
    reader.ReadU8(m_byCup);
    reader.ReadU8(m_byLeg);
    reader.Skip(1);
    m_pCup = nullptr;
    m_pOtherLeg = nullptr;
    if (reader.Failed()) {
        DebugLog(1, "[CCupFixturesDatabase::Load] The fixture record is cut short");
        return false;
    }
    m_Date.Set(dwDate);
    if (dwDate != 0 && !m_Date.IsValid()) {
        DebugLog(1, "[CCupFixturesDatabase::Load] Fixture %u has an invalid date %08x", m_dwFixtureID, dwDate);
        reader.Fail();
        return false;
    }
    if (m_wHomeClub == 0 || m_wAwayClub == 0) {
        DebugLog(1, "[CCupFixturesDatabase::Load] Fixture %u names no club", m_dwFixtureID);
        reader.Fail();
        return false;
    }
    if (!IsCupNumberValid(m_byCup)) {
        DebugLog(1, "[CCupFixturesDatabase::Load] Fixture %u has an unknown cup number %u", m_dwFixtureID, m_byCup);
        reader.Fail();
        return false;
    }
    return true;
}

bool CCupFixturesDatabase::Save(CBinaryWriter& writer) const
{
    writer.WriteU32(m_Date.GetValue());
    writer.WriteU32(m_dwReferee);
    writer.WriteU32(m_dwFixtureID);
    writer.WriteU32(m_dwRoundValue);
    writer.WriteU32(m_dwClubPair);
    writer.WriteU16(m_wHomeClub);
    writer.WriteU16(m_wAwayClub);
    writer.WriteU16(m_wGround);
    writer.WriteU8(m_byHomeGoals);
    writer.WriteU8(m_byAwayGoals);
    writer.WriteU8(m_byKind);
    writer.WriteU8(m_byCup);
    writer.WriteU8(m_byLeg);
    writer.WriteZeros(1);
    return !writer.Failed();
}

void CCupFixturesDatabase::AttachToReferee(CRefereeDatabase* pReferee, uint32_t dwKind)
{
    if (!pReferee) {
        DebugLog(1, "[CCupFixturesDatabase::SetupPointers] Could not find the referee!");
        return;
    }
    pReferee->AddAssignment(this, dwKind);
}
