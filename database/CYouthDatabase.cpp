#include "database/CYouthDatabase.h"

#include "common/CBinaryFile.h"
#include "common/CRecordPool.h"
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CCountryDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/PersonOwners.h"
#include "platform/Random.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kLevels = 5;


struct POTENTIALROW {
    int nLow, nHigh, nPotentialLow, nPotentialHigh;
};
const POTENTIALROW kPotentialRows[] = {
    {0, 25, 20, 40}, {26, 60, 41, 60}, {61, 75, 61, 70}, {76, 85, 71, 79},
    {86, 96, 80, 90}, {97, 98, 91, 94}, {99, 100, 95, 100},
};


// a + rand() % span, a span of 0 counting as 1.
int DrawFrom(int nLow, int nSpan)
{
    return nLow + plat::rand() % (nSpan > 0 ? nSpan : 1);
}

}  // namespace

CYouthDatabase::CYouthDatabase(CBinaryReader& reader, CCountryDatabase* pCountry, CDivisionDatabase* pDivision,
                               CClubDatabase* pClub)
{
    m_bLoaded = Load(reader, pCountry, pDivision, pClub);
    if (!m_bLoaded || !m_pDatabaseHandler)
        return;
    m_pDatabaseHandler->SetPlayerCount(m_pDatabaseHandler->GetPlayerCount() + 1);
    m_pDatabaseHandler->AddPlayerToIDTable(m_idPerson, this);
    m_bRegistered = true;
}

CYouthDatabase::CYouthDatabase(CClubDatabase* pClub, int nPosition)
{
    m_dwFlags = 0;
    if (pClub) {
        m_pCountry = pClub->m_pCountry;
        m_pDivision = pClub->m_pDivision;
        m_pClub = pClub;
        m_wClubId = pClub->m_wClubId;
    }
    GenerateYouthRecord(nPosition, true);
    m_bLoaded = true;
}

void* CYouthDatabase::operator new(size_t nBytes) { return NewPooledRecord<CYouthDatabase>(nBytes); }

void CYouthDatabase::operator delete(void* pYouth, size_t nBytes)
{
    DeletePooledRecord<CYouthDatabase>(pYouth, nBytes);
}

CYouthDatabase::~CYouthDatabase()
{
    FreeCareer();
    if (m_bRegistered && m_pDatabaseHandler) {
        LPITEMPLAYERINFORMATION pEntry = m_pDatabaseHandler->GetPlayerInformation(m_idPerson);
        if (pEntry && pEntry->pYouth == this) {
            m_pDatabaseHandler->RemovePlayerFromIDTable(true, m_idPerson, true);
            pEntry->pYouth = nullptr;
        }
    }
}

void CYouthDatabase::FreeCareer()
{
    for (PLAYERCAREERENTRY* pEntry : m_Career.Items<PLAYERCAREERENTRY>())
        delete pEntry;
    m_Career.RemoveAll();
    m_byCareerCount = 0;
}

void CYouthDatabase::EmptyCareerWithoutFreeing()
{
    m_Career.RemoveAll();
    m_byCareerCount = 0;
}

bool CYouthDatabase::Load(CBinaryReader& reader, CCountryDatabase* pCountry, CDivisionDatabase* pDivision,
                          CClubDatabase* pClub)
{
    if (!CPersonDatabase::Load(reader, pCountry, pDivision, pClub))
        return false;
    uint8_t byCareerCount = 0;
    reader.ReadU32(m_dwValue);
    reader.ReadU32(m_dwYearlyWage);
    reader.ReadU8(m_byRating);
    reader.ReadU8(byCareerCount);
    reader.Skip(2);
    if (reader.Failed()) {
        DebugLog(0, "[CYouthDatabase::Load] Youth %u is cut short", m_idPerson);
        return false;
    }
    if (m_byRating > 100) {
        DebugLog(0, "[CYouthDatabase::Load] Youth %u has an invalid rating %u", m_idPerson, m_byRating);
        reader.Fail();
        return false;
    }
    if (!reader.CheckCount(byCareerCount, PLAYERCAREERENTRY::kFileBytes)) {
        DebugLog(0, "[CYouthDatabase::Load] Youth %u has more career entries than the file holds", m_idPerson);
        return false;
    }
    const bool bCareerRead = PLAYERCAREERENTRY::ReadList(reader, byCareerCount, m_Career);
    m_byCareerCount = static_cast<uint8_t>(m_Career.GetCount());
    if (!bCareerRead)
        return false;
    return true;
}

bool CYouthDatabase::Save(CBinaryWriter& writer) const
{
    CPersonDatabase::Save(writer);
    writer.WriteU32(m_dwValue);
    writer.WriteU32(m_dwYearlyWage);
    writer.WriteU8(m_byRating);
    writer.WriteU8(static_cast<uint8_t>(m_Career.GetCount()));
    writer.WriteZeros(2);
    for (const PLAYERCAREERENTRY* pEntry : m_Career.Items<PLAYERCAREERENTRY>())
        pEntry->Write(writer);
    return !writer.Failed();
}

void CYouthDatabase::UpdateValueAndWage()
{
    m_byRating = static_cast<uint8_t>(GetRatingForPosition(-1));
    const int nRating = m_byRating > 99 ? 99 : m_byRating;
    m_dwValue = static_cast<uint32_t>(CDatabaseHandler::RoundMoneyValue(
        static_cast<int32_t>(std::lround(CPlayerDatabase::GetValueCurveEntry(0, nRating)))));
    const int32_t nWeekly = CDatabaseHandler::RoundMoneyValue(static_cast<int32_t>(m_dwValue * 0.003));
    m_dwYearlyWage = static_cast<uint32_t>(nWeekly) * 52;
}

void CYouthDatabase::WeeklyUpdate()
{
    const int nRating = m_byRating > 99 ? 99 : m_byRating;
    m_dwValue = static_cast<uint32_t>(CDatabaseHandler::RoundMoneyValue(
        static_cast<int32_t>(std::lround(CPlayerDatabase::GetValueCurveEntry(0, nRating)))));
    if (m_pClub)
        m_pClub->m_nYouthValue += static_cast<int32_t>(m_dwValue);
    m_byRating = static_cast<uint8_t>(GetRatingForPosition(-1));
}

int CYouthDatabase::GetRoleGroup(int nRole)
{
    static const int8_t kGroups[PLAYER_ROLE_COUNT] = {0, 1, 2, 1, 2, 2, 2, 3, 4, 4, 4, 5, 6, 6, 7, 7};
    return nRole >= 0 && nRole < PLAYER_ROLE_COUNT ? kGroups[nRole] : -1;
}

bool CYouthDatabase::GetPotentialRange(int nDraw, int& nLow, int& nHigh)
{
    for (const POTENTIALROW& row : kPotentialRows) {
        if (row.nLow <= nDraw && nDraw <= row.nHigh) {
            nLow = row.nPotentialLow;
            nHigh = row.nPotentialHigh;
            return true;
        }
    }
    return false;
}

void CYouthDatabase::GenerateYouthRecord(int nPosition, bool bNew)
{
    CDatabaseHandler* pHandler = m_pDatabaseHandler;
    FreeCareer();

    // Born 14 to 17 years before the year of his country (or of a leading one).
    CCountryDatabase* pCountry = m_pCountry;
    if (!pCountry && pHandler)
        pCountry = pHandler->GetRandomLeadingCountry();
    const int nYear = GetCountryCurrentYear(pCountry);
    const int k = plat::rand() % 4 != 0 ? 1 : plat::rand() % 4;
    m_DateOfBirth.wYear = static_cast<uint16_t>(nYear - 17 + k);
    m_DateOfBirth.byMonth = static_cast<uint8_t>(m_DateOfBirth.wYear == nYear - 14 ? plat::rand() % 6 + 1
                                                                                    : plat::rand() % 12 + 1);
    const int nDays = CDate(1999, m_DateOfBirth.byMonth, 1).GetDaysInMonth();
    m_DateOfBirth.byDay = static_cast<uint8_t>(plat::rand() % nDays + 1);

    // Nationality: mostly his club's country.
    const NATIONALITYROW* pRow = nullptr;
    if (pHandler) {
        if (m_pClub && plat::rand() % 100 <= 97)
            pRow = pHandler->GetNationalityRow(GetCountryNationality(m_pClub->m_pCountry));
        if (!pRow)
            pRow = pHandler->GetNationalityRow(plat::rand() % NATIONALITY_COUNT + 1);
    }
    if (pRow) {
        const char* pszFirst = pHandler->DrawFirstName(*pRow);
        const char* pszLast = pHandler->DrawLastName(*pRow);
        uint32_t dwFirst = m_dwFirstNameOffset, dwLast = m_dwLastNameOffset;
        if (pszFirst && !pHandler->FindName(NAMEDICTIONARY_FIRST, pszFirst, dwFirst))
            DebugLog(0, "[CYouthDatabase::GenerateYouthRecord] First Name %s not found!", pszFirst);
        if (pszLast && !pHandler->FindName(NAMEDICTIONARY_LAST, pszLast, dwLast))
            DebugLog(0, "[CYouthDatabase::GenerateYouthRecord] Last Name %s not found!", pszLast);
        SetNameOffsets(dwFirst, dwLast);
    }

    m_wRoleMask = 0;
    m_byPosition = static_cast<uint8_t>(nPosition >= 0 && nPosition < PLAYER_POSITION_COUNT ? nPosition : 0);
    m_byAppearanceType = m_byAppearanceVariant = 0;
    m_dwReserved = 0;
    if (pRow)
        DrawAppearance(pRow->byNationality);

    // Provisional potential; it also decides how many roles he can play.
    int nPotLow = 20, nPotHigh = 40;
    GetPotentialRange(plat::rand() % 100, nPotLow, nPotHigh);
    const int nProvisional = nPotLow + plat::rand() % (nPotHigh - nPotLow + 1);
    m_awAttributes[PLAYER_ATTRIBUTE_REPUTATION] = 0;
    m_awAttributes[PLAYER_ATTRIBUTE_POTENTIAL] = static_cast<uint16_t>(nProvisional * 100);
    GenerateRoles(true);

    int nGroup = GetRoleGroup(m_byRole);
    if (nGroup < 0) {
        DebugLog(0, "[CYouthDatabase::GenerateYouthRecord] WARNING: Player role not found!");
        nGroup = 1;
    }
    int nLevel = 0;
    if (m_pDivision) {
        nLevel = m_pDivision->m_byDivisionNumber - 1;
        nLevel = nLevel < 0 ? 0 : (nLevel >= kLevels ? kLevels - 1 : nLevel);
    } else {
        nLevel = plat::rand() % kLevels;
    }

    // How strong his club is shapes what he becomes.
    int u = 0;
    if (!m_pClub) {
        u = 50 + plat::rand() % 30;
    } else if (m_pClub->m_byReputation != 0 || m_pClub->m_bySupportLevel != 0) {
        u = m_pClub->GetClubRating();
    } else if (pHandler) {
        uint32_t dwSum = 0, dwCount = 0;
        pHandler->GetLeagueStatistic(nLevel, PLAYER_ATTRIBUTE_REPUTATION, nGroup, dwSum, dwCount);
        u = dwCount ? static_cast<int>(dwSum / dwCount) : 0;
    }
    int v = u > 0 ? u + plat::rand() % u : u;
    if (v > 100)
        v = 100;
    int nPotential = static_cast<int>(nProvisional * v * 0.01);
    if (nPotential < 20)
        nPotential = 20;

    // Playing skills from the age curve at his potential.
    const int nAgeIndex = GetAge() - PERSON_AGE_CURVE_FIRST_AGE;
    int nSmallestSkill = 0;
    uint16_t awValues[PLAYER_ATTRIBUTE_COUNT] = {};
    for (int i = 0; i < PLAYER_SKILL_COUNT; ++i) {
        if (s_abyRoleTargets[m_byRole][i] == 0)
            continue;
        const int m = GetAttributeForAge(i, nAgeIndex, nPotential);
        const int nLow = static_cast<int>(0.75 * m);
        const int nValue = DrawFrom(nLow, m - nLow);
        awValues[i] = static_cast<uint16_t>(nValue > 100 ? 100 : (nValue < 0 ? 0 : nValue));
        if (awValues[i] != 0 && (nSmallestSkill == 0 || awValues[i] < nSmallestSkill))
            nSmallestSkill = awValues[i];
    }
    // The other attributes from what the league's players of his group have.
    for (int i = PLAYER_SKILL_COUNT; i < PLAYER_ATTRIBUTE_COUNT; ++i) {
        if (i == PLAYER_ATTRIBUTE_POTENTIAL)
            continue;
        uint32_t dwSum = 0, dwCount = 0;
        if (!pHandler || !pHandler->GetLeagueStatistic(nLevel, i, nGroup, dwSum, dwCount)) {
            DebugLog(0, "[CYouthDatabase::GenerateYouthRecord] WARNING: Individual statistic not found!");
            continue;
        }
        if (dwCount == 0) {
            dwCount = 1;
            dwSum = static_cast<uint32_t>(30 + plat::rand() % 10);
            pHandler->SetLeagueStatistic(nLevel, i, nGroup, dwSum, dwCount);
        }
        const int c = static_cast<int>(dwSum / dwCount);
        const int d = static_cast<int>(0.1 * c);
        const int nValue = c - d + plat::rand() % (2 * d + 1);
        awValues[i] = static_cast<uint16_t>(nValue > 100 ? 100 : (nValue < 0 ? 0 : nValue));
    }
    if (bNew)
        awValues[PLAYER_ATTRIBUTE_HANDLING] = static_cast<uint16_t>(nSmallestSkill);

    m_byRecordStatus = 1;
    for (int i = 0; i < PLAYER_ATTRIBUTE_COUNT; ++i)
        m_awAttributes[i] = static_cast<uint16_t>(awValues[i] * 100);
    m_awAttributes[PLAYER_ATTRIBUTE_POTENTIAL] = static_cast<uint16_t>(nPotential * 100);
    m_wInjuryDays = 0;
    m_byInjuryType = 0;
    m_byNationality = pRow ? pRow->byNationality : 0;
    UpdateValueAndWage();

    if (bNew && pHandler) {
        m_idPerson = static_cast<ID_PLAYER>(pHandler->GetPlayerCount() + 1);
        pHandler->SetPlayerCount(static_cast<int>(m_idPerson));
        m_nHistorySlot = pHandler->GetHistorySlotCount() + 1;
        pHandler->RaiseHistorySlotCount(m_nHistorySlot);
        pHandler->AddPlayerToIDTable(m_idPerson, this);
        m_bRegistered = true;
    }
    m_dwFlags = YOUTH_FLAGS_NEW;
    m_byValueBand = 0;
}

// ---- injuries and readiness ----

int CYouthDatabase::DoYouthInjury(int nGroup)
{
    constexpr uint8_t kEventRecovery = 27;
    uint8_t byType = 0;
    const int nDays = CPlayerDatabase::DrawInjury(nGroup, m_byRole == PLAYER_ROLE_GOALKEEPER, byType);
    m_byInjuryType = byType;
    m_dwFlags |= PLAYER_FLAG_INJURED;
    m_wInjuryDays = static_cast<uint16_t>(std::min(m_wInjuryDays + nDays, 0xFFFF));
    const CDate today = m_pDatabaseHandler ? m_pDatabaseHandler->GetGameDate() : CDate();
    auto* pEntry = new INJURYENTRY;
    today.GetYMD(pEntry->Date);
    pEntry->dwPersonId = m_idPerson;
    pEntry->wDays = static_cast<uint16_t>(nDays);
    pEntry->byType = byType;
    m_InjuryHistory.AddTail(pEntry);
    const int nSeasonDays = m_pDivision ? m_pDivision->m_SeasonEnd.DaysBetween(m_pDivision->m_SeasonStart) : 0;
    if (m_pClub && m_pDatabaseHandler && !IsClubHumanManaged(m_pClub) && nSeasonDays > 0 &&
        m_wInjuryDays > nSeasonDays / 2) {
        m_pDatabaseHandler->ReleaseYouth(this);
        return 1;
    }
    if (m_pCountry)
        m_pCountry->AddEvent(kEventRecovery, CDate(today.GetValue(), nDays), m_idPerson);
    return 0;
}

void CYouthDatabase::OnEvent(int nEvent)
{
    if (nEvent != 27) {
        DebugLog(2, "[CYouthDatabase::OnEvent] Event %d for %s is not the youth's", nEvent, GetShortName());
        return;
    }
    m_byInjuryType = 0;
    m_dwFlags &= ~PLAYER_FLAG_INJURED;
}

bool CYouthDatabase::IsReadyForFirstTeam() const
{
    return m_pClub && m_awAttributes[PLAYER_ATTRIBUTE_POTENTIAL] / 100 >= m_pClub->m_byAverageRating;
}
