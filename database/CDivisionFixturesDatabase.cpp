#include "database/CDivisionFixturesDatabase.h"

#include "common/CBinaryFile.h"
#include "common/CRecordPool.h"
#include "common/DebugLog.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "season/CRefereeDatabase.h"

namespace {

// Made on first use and kept to the end of the program, so that no fixture
// outlives the pool it came from.
CRecordPool& FixturePool()
{
    static CRecordPool* s_pPool = new CRecordPool(sizeof(CDivisionFixturesDatabase), 4096);
    return *s_pPool;
}

}  // namespace

void* CDivisionFixturesDatabase::operator new(size_t nBytes)
{
    if (nBytes > FixturePool().GetRecordBytes())
        return ::operator new(nBytes);
    return FixturePool().Allocate();
}

void CDivisionFixturesDatabase::operator delete(void* pFixture, size_t nBytes)
{
    if (nBytes > FixturePool().GetRecordBytes())
        ::operator delete(pFixture);
    else
        FixturePool().Free(pFixture);
}

CDivisionFixturesDatabase::CDivisionFixturesDatabase(uint32_t dwIdentifier, const CDate& date, ID_CLUB wHome,
                                                     ID_CLUB wAway, uint32_t dwReferee, uint8_t byRound,
                                                     ID_GROUND wGround)
    : m_Date(date), m_wHomeClub(wHome), m_wAwayClub(wAway), m_wGround(wGround), m_dwReferee(dwReferee),
      m_dwFixtureID(dwIdentifier), m_byRound(byRound)
{
}

void CDivisionFixturesDatabase::SetDate(const CDate& date)
{
    if (date == m_Date)
        return;
    m_Date = date;
    CRefereeDatabase::NoteFixtureDateChanged(GetRefereeID());
}

bool CDivisionFixturesDatabase::Load(CBinaryReader& reader)
{
    uint32_t dwDate = 0;
    reader.ReadU32(dwDate);
    reader.ReadU32(m_dwResult);
    reader.ReadU32(m_dwReferee);
    reader.ReadU32(m_dwFixtureID);
    reader.ReadU16(m_wHomeClub);
    reader.ReadU16(m_wAwayClub);
    reader.ReadU16(m_wGround);
    reader.ReadU8(m_byHomeGoals);
    reader.ReadU8(m_byAwayGoals);
    reader.ReadU8(m_byRound);
    reader.ReadU8(m_byState);
    reader.Skip(2);
    if (reader.Failed()) {
        DebugLog(1, "[CDivisionFixturesDatabase::Load] The fixture record is cut short");
        return false;
    }
    m_Date.Set(dwDate);
    if (dwDate != 0 && !m_Date.IsValid()) {
        DebugLog(1, "[CDivisionFixturesDatabase::Load] Fixture %u has an invalid date %08x", m_dwFixtureID, dwDate);
        reader.Fail();
        return false;
    }
    if (m_wHomeClub == 0 || m_wAwayClub == 0) {
        DebugLog(1, "[CDivisionFixturesDatabase::Load] Fixture %u names no club", m_dwFixtureID);
        reader.Fail();
        return false;
    }
    return true;
}

bool CDivisionFixturesDatabase::Save(CBinaryWriter& writer) const
{
    writer.WriteU32(m_Date.GetValue());
    writer.WriteU32(m_dwResult);
    writer.WriteU32(m_dwReferee);
    writer.WriteU32(m_dwFixtureID);
    writer.WriteU16(m_wHomeClub);
    writer.WriteU16(m_wAwayClub);
    writer.WriteU16(m_wGround);
    writer.WriteU8(m_byHomeGoals);
    writer.WriteU8(m_byAwayGoals);
    writer.WriteU8(m_byRound);
    writer.WriteU8(m_byState);
    writer.WriteZeros(2);
    return !writer.Failed();
}

void CDivisionFixturesDatabase::SetupPointers()
{
    CDatabaseHandler* pHandler = CDivisionDatabase::m_pDatabaseHandler;
    AttachToReferee(pHandler ? pHandler->FindReferee(GetRefereeID()) : nullptr);
}

void CDivisionFixturesDatabase::AttachToReferee(CRefereeDatabase* pReferee)
{
    if (!pReferee) {
        DebugLog(1, "[CDivisionFixturesDatabase::SetupPointers] Could not find the referee!");
        return;
    }
    pReferee->AddAssignment(this, REFEREE_ASSIGNMENT_LEAGUE);
}
