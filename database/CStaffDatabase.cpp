#include "database/CStaffDatabase.h"

#include "common/CBinaryFile.h"
#include "common/CRecordPool.h"
#include "common/DebugLog.h"
#include "database/CDatabaseHandler.h"
#include "database/CPersonDatabase.h"
#include "database/PersonOwners.h"
#include "platform/Random.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kShortNameBuffers = 4;
constexpr int kShortNameLength = 40;

// Qualification bits each kind can hold.
const int kQualificationCounts[STAFF_KINDS] = {8, 2, 4, 3, 2, 2};

struct ABILITYROW {
    int nDrawLow, nDrawHigh, nValueLow, nValueHigh;
};
const ABILITYROW kAbilityRows[] = {{0, 24, 30, 50}, {25, 74, 51, 75}, {75, 97, 76, 95}, {98, 99, 96, 100}};

int DaysInMonth(int nYear, int nMonth)
{
    return nMonth == 2 ? 28 : CDate(nYear, nMonth, 1).GetDaysInMonth();
}

// Above 80, 50-80, below 50.
int Band(int nValue)
{
    return nValue > 80 ? 0 : (nValue >= 50 ? 1 : 2);
}

CDate GameDate()
{
    return CStaffDatabase::m_pDatabaseHandler ? CStaffDatabase::m_pDatabaseHandler->GetGameDate() : CDate();
}

}  // namespace

CDatabaseHandler* CStaffDatabase::m_pDatabaseHandler = nullptr;

CStaffDatabase::CStaffDatabase(CBinaryReader& reader, CClubDatabase* pClub, bool bKeepUnregistered)
    : m_pszLastName(CPersonDatabase::GetEmptyName())
{
    m_bLoaded = Load(reader);
    if (!m_bLoaded)
        return;
    if (pClub) {
        SetClub(pClub);
        m_pCountry = GetClubCountry(pClub);
        m_pDivision = GetClubDivision(pClub);
        if (m_pDatabaseHandler)
            m_pDatabaseHandler->RegisterStaff(this, STAFFINFO_EMPLOYED);
    } else if (!bKeepUnregistered && m_pDatabaseHandler) {
        m_pDatabaseHandler->RegisterStaff(this, STAFFINFO_POOL);
    }
}

void* CStaffDatabase::operator new(size_t nBytes) { return NewPooledRecord<CStaffDatabase>(nBytes); }

void CStaffDatabase::operator delete(void* pStaff, size_t nBytes)
{
    DeletePooledRecord<CStaffDatabase>(pStaff, nBytes);
}

CStaffDatabase::CStaffDatabase() : m_pszLastName(CPersonDatabase::GetEmptyName())
{
    if (m_pDatabaseHandler) {
        m_idStaff = m_pDatabaseHandler->GetNextStaffID();
        m_pDatabaseHandler->RegisterStaff(this, STAFFINFO_POOL);
    }
    m_bLoaded = true;
}

void CStaffDatabase::SetLastNameOffset(uint32_t dwOffset)
{
    m_dwLastNameOffset = dwOffset;
    m_pszLastName = CPersonDatabase::GetDictionaryName(1, dwOffset);
}

bool CStaffDatabase::Load(CBinaryReader& reader)
{
    uint32_t dwLastNameOffset = 0;
    uint16_t wId = 0;
    uint8_t byZero = 0;
    reader.ReadU32(dwLastNameOffset);
    CPersonDatabase::ReadDate(reader, m_DateJoined);
    CPersonDatabase::ReadDate(reader, m_DateOfBirth);
    reader.ReadU32(m_dwWage);
    reader.ReadU16(wId);
    reader.ReadU16(m_wStoredWord);
    reader.ReadU16(m_wFormerClubId);
    reader.ReadBytes(m_szInitial, 2);
    reader.ReadU8(byZero);
    reader.ReadU8(m_byKind);
    reader.ReadU8(m_byQualifications);
    reader.ReadU8(m_byRating);
    reader.ReadU8(m_byPreviousRating);
    reader.ReadU8(m_byMorale);
    reader.ReadBytes(m_abyAbilities, sizeof(m_abyAbilities));
    reader.ReadU8(m_byNationality);
    reader.Skip(2);
    if (reader.Failed()) {
        DebugLog(0, "[CStaffDatabase::Load] The staff record is cut short");
        return false;
    }
    bool bAbilitiesValid = true;
    for (uint8_t by : m_abyAbilities)
        bAbilitiesValid = bAbilitiesValid && by <= 100;
    if (wId == 0 || m_byKind >= STAFF_KINDS || m_byRating > 100 || m_byPreviousRating > 100 || m_byMorale > 100 ||
        !bAbilitiesValid || m_byNationality > NATIONALITY_COUNT) {
        DebugLog(0, "[CStaffDatabase::Load] Staff member %u is damaged", wId);
        reader.Fail();
        return false;
    }
    m_idStaff = wId;
    m_szInitial[1] = '\0';
    SetLastNameOffset(dwLastNameOffset);
    m_byStateFlags = 0;
    return true;
}

bool CStaffDatabase::Save(CBinaryWriter& writer) const
{
    writer.WriteU32(m_dwLastNameOffset);
    CPersonDatabase::WriteDate(writer, m_DateJoined);
    CPersonDatabase::WriteDate(writer, m_DateOfBirth);
    writer.WriteU32(m_dwWage);
    writer.WriteU16(m_idStaff);
    writer.WriteU16(m_wStoredWord);
    writer.WriteU16(m_wFormerClubId);
    writer.WriteU8(static_cast<uint8_t>(m_szInitial[0]));
    writer.WriteU8(0);
    writer.WriteU8(0);
    writer.WriteU8(m_byKind);
    writer.WriteU8(m_byQualifications);
    writer.WriteU8(m_byRating);
    writer.WriteU8(m_byPreviousRating);
    writer.WriteU8(m_byMorale);
    writer.WriteBytes(m_abyAbilities, sizeof(m_abyAbilities));
    writer.WriteU8(m_byNationality);
    writer.WriteZeros(2);
    return !writer.Failed();
}

const char* CStaffDatabase::GetShortName() const
{
    static char s_aszBuffers[kShortNameBuffers][kShortNameLength];
    static int s_nNext = 0;
    char* pszBuffer = s_aszBuffers[s_nNext];
    s_nNext = (s_nNext + 1) % kShortNameBuffers;
    if (m_szInitial[0] == '\0')
        std::snprintf(pszBuffer, kShortNameLength, "%s", m_pszLastName);
    else
        std::snprintf(pszBuffer, kShortNameLength, "%c. %s", m_szInitial[0], m_pszLastName);
    return pszBuffer;
}

int CStaffDatabase::GetAge() const
{
    return GameDate().GetAge(m_DateOfBirth.wYear, m_DateOfBirth.byMonth, m_DateOfBirth.byDay);
}

void CStaffDatabase::GetQualificationsText(const char* const* apszNames, int nNames, char* pszOut,
                                          size_t nOutSize) const
{
    if (!pszOut || nOutSize == 0)
        return;
    pszOut[0] = '\0';
    if (!apszNames || nNames <= 0)
        return;
    if (m_byQualifications == 0) {
        std::snprintf(pszOut, nOutSize, "%s", apszNames[0] ? apszNames[0] : "");
        return;
    }
    // Whole names only: a name that does not fit ends the text before it.
    size_t nLength = 0;
    for (int b = 0; b < 8; ++b) {
        if (!(m_byQualifications & (1u << b)))
            continue;
        const char* pszName = b + 1 < nNames && apszNames[b + 1] ? apszNames[b + 1] : "";
        const size_t nNeeded = (nLength > 0 ? 2 : 0) + std::strlen(pszName);
        if (nLength + nNeeded >= nOutSize)
            break;
        std::snprintf(pszOut + nLength, nOutSize - nLength, "%s%s", nLength > 0 ? ", " : "", pszName);
        nLength += nNeeded;
    }
}

int CStaffDatabase::GetWageScaleEntry(int nIndex)
{
    if (nIndex < 1)
        nIndex = 1;
    if (nIndex > 100)
        nIndex = 100;
    return static_cast<int>(CDatabaseHandler::GetAttendanceCurveEntry(nIndex - 1));
}

int CStaffDatabase::GetAcceptedWage(int nOffer) const
{
    if (nOffer == -1)
        nOffer = static_cast<int>(m_dwWage);
    const int w = GetWageScaleEntry(((m_byRating + 20) * 5 - m_byMorale) / 6);
    return w > nOffer ? 0 : w;
}

void CStaffDatabase::ChangeWage(uint32_t dwNewWage)
{
    if (dwNewWage == m_dwWage)
        return;
    // From no wage at all any wage is a rise.
    const double p = m_dwWage == 0 ? 1000.0 : 100.0 / m_dwWage * dwNewWage;
    if (p > 110.0)
        ApplyReaction(STAFF_REACTION_WAGE_RISE);
    else if (p < 95.0)
        ApplyReaction(STAFF_REACTION_WAGE_CUT);
    m_dwWage = dwNewWage;
}

void CStaffDatabase::ApplyReaction(int nCode)
{
    int nMorale = m_byMorale;
    switch (nCode) {
    case 0:
    case 5: nMorale += 1; break;
    case 1:
    case 2:
    case 3:
    case 4: nMorale -= 1; break;
    case 6: nMorale += 5; break;
    case 7: nMorale -= 5; break;
    default: DebugLog(1, "[CStaffDatabase::ApplyReaction] Unknown reaction %d", nCode); break;
    }
    m_byMorale = static_cast<uint8_t>(nMorale < 0 ? 0 : (nMorale > 100 ? 100 : nMorale));
}

void CStaffDatabase::SetClub(CClubDatabase* pClub)
{
    m_pClub = pClub;
}

bool CStaffDatabase::WeeklyAgeCheck()
{
    if (GetAge() <= 65 || IsClubHumanManaged(m_pClub))
        return false;
    return RetireStaff();
}

bool CStaffDatabase::RetireStaff()
{
    m_byStateFlags |= STAFF_FLAG_RETIRING;
    // The human managers' staff lists let go of him with their save games.
    return m_pDatabaseHandler && m_pDatabaseHandler->RetireStaff(m_idStaff);
}

bool CStaffDatabase::TestTextCondition(int nCode) const
{
    if (nCode >= 415 && nCode <= 432) {
        const int nAbility = (nCode - 415) / 3 + 1;
        return Band(m_abyAbilities[nAbility]) == (nCode - 415) % 3;
    }
    const int nAge = GetAge();
    switch (nCode) {
    case 407: return m_byMorale > 80;
    case 408: return m_byMorale < 50;
    case 409: return m_byRating > 80;
    case 410: return m_byRating >= 50 && m_byRating <= 80;
    case 411: return m_byRating < 50;
    case 412: return nAge > 50;
    case 413: return nAge >= 28 && nAge <= 50;
    case 414: return nAge < 28;
    case 433: return m_byKind == 0;
    case 434: return m_byKind == 3;
    case 435: return m_byKind == 1;
    case 436: return m_byKind == 4;
    case 437: return m_byKind == 2;
    case 438: return true;
    default: break;
    }
    DebugLog(1, "[CStaffDatabase::TestTextCondition] Unknown condition %d", nCode);
    return false;
}

void CStaffDatabase::GenerateRecord(int nKind)
{
    if (nKind < 0 || nKind >= STAFF_KINDS) {
        DebugLog(0, "[CStaffPoolDatabase::GenerateRecord] Unknown staff kind %d", nKind);
        return;
    }
    const int nQualifications = plat::rand() % 3;
    const int r = plat::rand() % 100;

    CCountryDatabase* pCountry = m_pCountry;
    if (!pCountry)
        pCountry = m_pDatabaseHandler ? m_pDatabaseHandler->GetRandomLeadingCountry() : nullptr;
    const int nCountryNationality = GetCountryNationality(pCountry);
    int nRow = r < 98 && nCountryNationality > 0 ? nCountryNationality - 1 : plat::rand() % 9;

    const NATIONALITYROW* pRow = m_pDatabaseHandler ? m_pDatabaseHandler->GetNationalityRow(nRow + 1) : nullptr;
    const char* pszFirst = pRow ? m_pDatabaseHandler->DrawFirstName(*pRow) : nullptr;
    m_szInitial[0] = pszFirst ? pszFirst[0] : '\0';
    m_szInitial[1] = '\0';
    const char* pszLast = pRow ? m_pDatabaseHandler->DrawLastName(*pRow) : nullptr;
    uint32_t dwOffset = 0;
    if (pszLast && m_pDatabaseHandler->FindName(NAMEDICTIONARY_LAST, pszLast, dwOffset))
        SetLastNameOffset(dwOffset);
    else
        DebugLog(1, "Last Name %s not found in CStaffPoolDatabase::GenerateRecord!", pszLast ? pszLast : "");

    m_byKind = static_cast<uint8_t>(nKind);

    m_byQualifications = 0;
    const int nOptions = kQualificationCounts[nKind];
    for (int i = 0; i < nQualifications && i < nOptions; ++i) {
        int nBit;
        do {
            nBit = plat::rand() % nOptions;
        } while (m_byQualifications & (1u << nBit));
        m_byQualifications |= static_cast<uint8_t>(1u << nBit);
    }

    m_byNationality = static_cast<uint8_t>(nRow + 1);
    m_wFormerClubId = 0;
    if (plat::rand() % 100 > 40) {
        const int nClubs = m_pDatabaseHandler ? m_pDatabaseHandler->GetClubTotal() : 0;
        if (nClubs > 0)
            m_wFormerClubId = static_cast<ID_CLUB>(plat::rand() % nClubs + 1);
    }
    GameDate().GetYMD(m_DateJoined);

    // Ages 30 to 40.
    const int nYear = GetCountryCurrentYear(pCountry);
    const int nBirthYear = nYear - 40 + plat::rand() % 11;
    const int nMonth = nBirthYear == nYear - 30 ? plat::rand() % 6 + 1 : plat::rand() % 12 + 1;
    m_DateOfBirth.wYear = static_cast<uint16_t>(nBirthYear);
    m_DateOfBirth.byMonth = static_cast<uint8_t>(nMonth);
    m_DateOfBirth.byDay = static_cast<uint8_t>(plat::rand() % DaysInMonth(nBirthYear, nMonth) + 1);

    int nAbilitySum = 0;
    for (int i = 1; i < STAFF_ABILITIES; ++i) {
        const int nDraw = plat::rand() % 100;
        for (const ABILITYROW& row : kAbilityRows) {
            if (nDraw >= row.nDrawLow && nDraw <= row.nDrawHigh) {
                m_abyAbilities[i] = static_cast<uint8_t>(row.nValueLow + plat::rand() % (row.nValueHigh - row.nValueLow + 1));
                break;
            }
        }
        nAbilitySum += m_abyAbilities[i];
    }

    // A club's level sets the rating; pool staff are rated by their abilities.
    const int nLevel = m_pClub ? GetClubLevel(m_pClub) : nAbilitySum / (STAFF_ABILITIES - 1);
    int nLow = (nLevel >= 10 && nLevel < 20) ? 10 : nLevel - 10;
    int nHigh = nLevel >= 96 ? 100 : nLevel + 5;
    nLow = nLow < 0 ? 0 : nLow;
    nHigh = nHigh > 100 ? 100 : nHigh;
    m_byRating = static_cast<uint8_t>(nLow + plat::rand() % (nHigh - nLow + 1));

    m_byMorale = static_cast<uint8_t>(50 + plat::rand() % 20);
    m_dwWage = static_cast<uint32_t>(GetWageScaleEntry(m_byRating));
    m_byPreviousRating = m_byRating;
}
