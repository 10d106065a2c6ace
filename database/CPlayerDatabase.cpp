#include "database/CPlayerDatabase.h"

#include "common/CBinaryFile.h"
#include "common/CRecordPool.h"
#include "common/DebugLog.h"
#include "database/CDatabaseHandler.h"
#include "database/PersonOwners.h"

#include <cstring>
#include <new>

namespace {

constexpr int kMatchInformationBytes = 14;
// The career entry's block of the friendlies.
constexpr int kCompetitionFriendly = 3;
constexpr int kPlayerBlockBytes = 144;

bool ReadMatchInformation(CBinaryReader& reader, MATCHINFORMATION& info)
{
    reader.ReadU8(info.byCompetition);
    reader.ReadBytes(info.abyFields, sizeof(info.abyFields));
    reader.ReadU8(info.byZero);
    return !reader.Failed();
}

void WriteMatchInformation(CBinaryWriter& writer, const MATCHINFORMATION& info)
{
    writer.WriteU8(info.byCompetition);
    writer.WriteBytes(info.abyFields, sizeof(info.abyFields));
    writer.WriteU8(info.byZero);
}

void ReadContract(CBinaryReader& reader, PLAYERCONTRACT& contract)
{
    reader.ReadU32(contract.dwSigningOnFee);
    reader.ReadU32(contract.dwYearlyWage);
    reader.ReadU32(contract.dwStartDate);
    reader.ReadU32(contract.dwEndDate);
    for (uint32_t& dw : contract.adwBonus)
        reader.ReadU32(dw);
    reader.ReadU16(contract.wClauses);
    reader.ReadU8(contract.byClauseLevelA);
    reader.ReadU8(contract.byClauseLevelB);
    reader.ReadU8(contract.byGoalsTarget);
    reader.ReadU8(contract.byBonusTarget);
    reader.ReadU8(contract.byAppearancesTarget);
    reader.ReadU8(contract.byZero);
}

void WriteContract(CBinaryWriter& writer, const PLAYERCONTRACT& contract)
{
    writer.WriteU32(contract.dwSigningOnFee);
    writer.WriteU32(contract.dwYearlyWage);
    writer.WriteU32(contract.dwStartDate);
    writer.WriteU32(contract.dwEndDate);
    for (uint32_t dw : contract.adwBonus)
        writer.WriteU32(dw);
    writer.WriteU16(contract.wClauses);
    writer.WriteU8(contract.byClauseLevelA);
    writer.WriteU8(contract.byClauseLevelB);
    writer.WriteU8(contract.byGoalsTarget);
    writer.WriteU8(contract.byBonusTarget);
    writer.WriteU8(contract.byAppearancesTarget);
    writer.WriteU8(contract.byZero);
}

}  // namespace

CPlayerDatabase::CPlayerDatabase(CBinaryReader& reader, CCountryDatabase* pCountry, CDivisionDatabase* pDivision,
                                 CClubDatabase* pClub, bool bShortForm)
{
    if (bShortForm) {
        m_bLoaded = LoadShort(reader);
        return;
    }
    m_bLoaded = Load(reader, pCountry, pDivision, pClub);
    if (!m_bLoaded)
        return;
    if (m_pDatabaseHandler) {
        m_pDatabaseHandler->RegisterPlayer(this);
        m_byRegistered = 1;
    }
}

void* PLAYERCAREERENTRY::operator new(size_t nBytes) { return NewPooledRecord<PLAYERCAREERENTRY>(nBytes); }

void PLAYERCAREERENTRY::operator delete(void* pEntry, size_t nBytes)
{
    DeletePooledRecord<PLAYERCAREERENTRY>(pEntry, nBytes);
}

void* CPlayerDatabase::operator new(size_t nBytes) { return NewPooledRecord<CPlayerDatabase>(nBytes); }

void CPlayerDatabase::operator delete(void* pPlayer, size_t nBytes)
{
    DeletePooledRecord<CPlayerDatabase>(pPlayer, nBytes);
}

CPlayerDatabase::~CPlayerDatabase()
{
    FreePlayerLists();
    if (m_byRegistered && m_pDatabaseHandler)
        m_pDatabaseHandler->UnregisterPlayer(this);
}

void CPlayerDatabase::FreePlayerLists()
{
    for (PLAYERCAREERENTRY* pEntry : m_Career.Items<PLAYERCAREERENTRY>())
        delete pEntry;
    m_Career.RemoveAll();
    m_byCareerCount = 0;
    RemoveAllMatchInformation();
}

bool CPlayerDatabase::Load(CBinaryReader& reader, CCountryDatabase* pCountry, CDivisionDatabase* pDivision,
                           CClubDatabase* pClub)
{
    if (!CPersonDatabase::Load(reader, pCountry, pDivision, pClub))
        return false;

    if (!reader.CheckCount(1, kPlayerBlockBytes)) {
        DebugLog(0, "[CPlayerDatabase::Load] Player %u is cut short", m_idPerson);
        return false;
    }
    for (uint32_t& dw : m_adwTransferBlock)
        reader.ReadU32(dw);
    ReadContract(reader, m_Contract);
    reader.ReadU32(m_dwValue);
    reader.ReadU32(m_dwAskingPrice);
    reader.ReadU32(m_dwSeasonPoints);
    reader.ReadU32(m_dwSeasonPointsCounted);
    reader.ReadU32(m_dwCupTiedMask);
    reader.ReadU32(m_dwRuleCupTiedMask);
    reader.ReadU16(m_wLoanClubId);
    reader.ReadU16(m_wDaysListed);
    reader.ReadU16(m_wSeasonCleanSheets);
    reader.ReadU8(m_byPeriodGoals);
    uint8_t byRoleCopyOnFile = 0;
    reader.ReadU8(byRoleCopyOnFile);
    reader.ReadU8(m_byDomesticBanMatches);
    reader.ReadU8(m_byEuropeanBanMatches);
    reader.ReadU8(m_bySuspensionFlags);
    reader.ReadU8(m_byPeriodCleanSheets);
    reader.ReadU8(m_byContractClauses);
    reader.ReadU8(m_bySeasonCounter);
    reader.ReadU8(m_byRating);
    reader.ReadU8(m_byMatchByte);
    reader.ReadU8(m_bySquadNumber);
    reader.ReadU8(m_byTransferState);
    uint8_t byCareerCount = 0;
    reader.ReadU8(byCareerCount);
    reader.ReadU8(m_abySpare[0]);
    reader.ReadU8(m_abySpare[1]);
    reader.Skip(3);
    if (reader.Failed())
        return false;

    if (m_bySquadNumber >= PLAYER_SQUAD_NUMBER_LIMIT)
        m_bySquadNumber = 0;
    m_byRoleCopy = m_byRole;
    if (m_byRating > 100) {
        DebugLog(0, "[CPlayerDatabase::Load] Player %u has an invalid rating %u", m_idPerson, m_byRating);
        reader.Fail();
        return false;
    }

    if (!reader.CheckCount(byCareerCount, PLAYERCAREERENTRY::kFileBytes)) {
        DebugLog(0, "[CPlayerDatabase::Load] Player %u has more career entries than the file holds", m_idPerson);
        return false;
    }
    const bool bCareerRead = PLAYERCAREERENTRY::ReadList(reader, byCareerCount, m_Career);
    m_byCareerCount = static_cast<uint8_t>(m_Career.GetCount());
    if (!bCareerRead)
        return false;

    uint8_t byBlocks = 0;
    if (!reader.ReadU8(byBlocks) || !reader.CheckCount(byBlocks, kMatchInformationBytes)) {
        DebugLog(0, "[CPlayerDatabase::Load] Player %u has more match information than the file holds", m_idPerson);
        return false;
    }
    for (int i = 0; i < byBlocks; ++i) {
        MATCHINFORMATION info;
        if (!ReadMatchInformation(reader, info))
            return false;
        m_MatchInformation.AddTail(new MATCHINFORMATION(info));
    }
    return true;
}

bool CPlayerDatabase::Save(CBinaryWriter& writer) const
{
    CPersonDatabase::Save(writer);
    for (uint32_t dw : m_adwTransferBlock)
        writer.WriteU32(dw);
    WriteContract(writer, m_Contract);
    writer.WriteU32(m_dwValue);
    writer.WriteU32(m_dwAskingPrice);
    writer.WriteU32(m_dwSeasonPoints);
    writer.WriteU32(m_dwSeasonPointsCounted);
    writer.WriteU32(m_dwCupTiedMask);
    writer.WriteU32(m_dwRuleCupTiedMask);
    writer.WriteU16(m_wLoanClubId);
    writer.WriteU16(m_wDaysListed);
    writer.WriteU16(m_wSeasonCleanSheets);
    writer.WriteU8(m_byPeriodGoals);
    writer.WriteU8(m_byRoleCopy);
    writer.WriteU8(m_byDomesticBanMatches);
    writer.WriteU8(m_byEuropeanBanMatches);
    writer.WriteU8(m_bySuspensionFlags);
    writer.WriteU8(m_byPeriodCleanSheets);
    writer.WriteU8(m_byContractClauses);
    writer.WriteU8(m_bySeasonCounter);
    writer.WriteU8(m_byRating);
    writer.WriteU8(m_byMatchByte);
    writer.WriteU8(m_bySquadNumber);
    writer.WriteU8(m_byTransferState);
    // The count follows the list, which is what is written after it.
    writer.WriteU8(static_cast<uint8_t>(m_Career.GetCount()));
    writer.WriteU8(m_abySpare[0]);
    writer.WriteU8(m_abySpare[1]);
    writer.WriteZeros(3);
    for (const PLAYERCAREERENTRY* pEntry : m_Career.Items<PLAYERCAREERENTRY>())
        pEntry->Write(writer);
    writer.WriteU8(static_cast<uint8_t>(m_MatchInformation.GetCount()));
    for (const MATCHINFORMATION* pInfo : m_MatchInformation.Items<MATCHINFORMATION>())
        WriteMatchInformation(writer, *pInfo);
    return !writer.Failed();
}

bool CPlayerDatabase::LoadShort(CBinaryReader& reader)
{
    uint32_t dwFirstNameOffset = 0, dwLastNameOffset = 0, dwPersonId = 0, dwFlags = 0;
    DATERECORD dateOfBirth;
    uint8_t byNationality = 0, byPosition = 0, byRole = 0;
    reader.ReadU32(dwFirstNameOffset);
    reader.ReadU32(dwLastNameOffset);
    ReadDate(reader, dateOfBirth);
    reader.ReadU32(dwPersonId);
    reader.ReadU32(dwFlags);
    reader.ReadU8(byNationality);
    reader.ReadU8(byPosition);
    reader.ReadU8(byRole);
    reader.Skip(1);
    if (reader.Failed()) {
        DebugLog(0, "[CPlayerDatabase::LoadShort] The retired player is cut short");
        return false;
    }
    if (dwPersonId == 0 || dwPersonId > PERSON_ID_LIMIT || byPosition >= PLAYER_POSITION_COUNT ||
        byRole >= PLAYER_ROLE_COUNT || byNationality > NATIONALITY_COUNT) {
        DebugLog(0, "[CPlayerDatabase::LoadShort] Retired player %u is damaged", dwPersonId);
        reader.Fail();
        return false;
    }
    m_idPerson = dwPersonId;
    m_dwFlags = dwFlags;
    m_DateOfBirth = dateOfBirth;
    m_byNationality = byNationality;
    m_byPosition = byPosition;
    m_byRole = byRole;
    m_byRoleCopy = byRole;
    SetNameOffsets(dwFirstNameOffset, dwLastNameOffset);
    return true;
}

bool CPlayerDatabase::SaveShort(CBinaryWriter& writer) const
{
    writer.WriteU32(m_dwFirstNameOffset);
    writer.WriteU32(m_dwLastNameOffset);
    WriteDate(writer, m_DateOfBirth);
    writer.WriteU32(m_idPerson);
    writer.WriteU32(m_dwFlags);
    writer.WriteU8(m_byNationality);
    writer.WriteU8(m_byPosition);
    writer.WriteU8(m_byRole);
    writer.WriteZeros(1);
    return !writer.Failed();
}

bool CPlayerDatabase::IsRetired() const
{
    if (!m_pDatabaseHandler)
        return false;
    const LPITEMPLAYERINFORMATION pEntry = m_pDatabaseHandler->GetPlayerInformation(m_idPerson);
    return pEntry && (pEntry->dwFlags & PLAYERINFO_RETIRED);
}

void CPlayerDatabase::AddCareerEntry(CClubDatabase* pClub, bool bContinue)
{
    const int nSeason = (GetClubSeasonYear(pClub) - 1999) & 0xFF;
    const ID_CLUB idClub = GetClubIdOf(pClub);
    if (bContinue && !m_Career.IsEmpty()) {
        const PLAYERCAREERENTRY* pLast = static_cast<PLAYERCAREERENTRY*>(m_Career.GetTail()->pData);
        if (pLast->wClubId == idClub && pLast->bySeason == nSeason) {
            // Back at the same club within the season: the earlier entry
            // becomes the current one again.
            if (m_Career.GetCount() >= 2)
                m_Career.Swap(m_Career.GetCount() - 2, m_Career.GetCount() - 1);
            return;
        }
    }
    PLAYERCAREERENTRY* pEntry = new PLAYERCAREERENTRY;
    pEntry->bySeason = static_cast<uint8_t>(nSeason);
    pEntry->wClubId = idClub;
    for (int i = 0; i < PLAYER_CAREER_COMPETITIONS; ++i)
        pEntry->aMatchInformation[i].byCompetition = static_cast<uint8_t>(i);
    pEntry->dwValue = m_dwValue;
    pEntry->byRating = m_byRating;
    m_Career.AddTail(pEntry);
    ++m_byCareerCount;
}

PLAYERCAREERENTRY* CPlayerDatabase::GetCurrentCareerEntry() const
{
    return m_Career.IsEmpty() ? nullptr : static_cast<PLAYERCAREERENTRY*>(m_Career.GetTail()->pData);
}

MATCHINFORMATION* CPlayerDatabase::GetMatchInformation(int nCompetition) const
{
    if (nCompetition >= 0 && nCompetition < PLAYER_CAREER_COMPETITIONS) {
        PLAYERCAREERENTRY* pEntry = GetCurrentCareerEntry();
        return pEntry ? &pEntry->aMatchInformation[nCompetition] : nullptr;
    }
    for (MATCHINFORMATION* pInfo : m_MatchInformation.Items<MATCHINFORMATION>()) {
        if (pInfo->byCompetition == static_cast<uint8_t>(nCompetition))
            return pInfo;
    }
    return nullptr;
}

int CPlayerDatabase::GetMatchInformationField(int nCompetition, int nField) const
{
    if (nField < 0 || nField >= MATCH_INFORMATION_FIELD_COUNT) {
        DebugLog(0, "[CPlayerDatabase::GetMatchInformationField] Unknown field to get - %d!", nField);
        return 0;
    }
    const MATCHINFORMATION* pInfo = GetMatchInformation(nCompetition);
    return pInfo ? pInfo->abyFields[nField] : 0;
}

void CPlayerDatabase::IncrementMatchInformationField(int nCompetition, int nField, int nAmount)
{
    if (nField < 0 || nField >= MATCH_INFORMATION_FIELD_COUNT) {
        DebugLog(0, "[CPlayerDatabase::IncrementMatchInformationField] Unknown field to increment - %d!", nField);
        return;
    }
    MATCHINFORMATION* pInfo = GetMatchInformation(nCompetition);
    if (!pInfo) {
        if (nCompetition >= 0 && nCompetition < PLAYER_CAREER_COMPETITIONS)
            return;  // no career entry to count in
        pInfo = new MATCHINFORMATION;
        pInfo->byCompetition = static_cast<uint8_t>(nCompetition);
        m_MatchInformation.AddTail(pInfo);
    }
    pInfo->abyFields[nField] = static_cast<uint8_t>(pInfo->abyFields[nField] + nAmount);
}

void CPlayerDatabase::RemoveAllMatchInformation()
{
    for (MATCHINFORMATION* pInfo : m_MatchInformation.Items<MATCHINFORMATION>())
        delete pInfo;
    m_MatchInformation.RemoveAll();
}

int CPlayerDatabase::GetSeasonTotal(int nField) const
{
    const PLAYERCAREERENTRY* pEntry = GetCurrentCareerEntry();
    if (!pEntry || nField < 0 || nField >= MATCH_INFORMATION_FIELD_COUNT)
        return 0;
    int nTotal = 0;
    for (const MATCHINFORMATION& info : pEntry->aMatchInformation)
        nTotal += info.abyFields[nField];
    return nTotal;
}

int CPlayerDatabase::GetSeasonCompetitiveTotal(int nField) const
{
    const int nFriendlies = GetMatchInformationField(kCompetitionFriendly, nField);
    return GetSeasonTotal(nField) - nFriendlies;
}

int CPlayerDatabase::GetMatchesAvailable() const
{
    const PLAYERCAREERENTRY* pEntry = GetCurrentCareerEntry();
    return pEntry ? pEntry->byMatchesAvailable : 0;
}

void CPlayerDatabase::AddMatchAvailable()
{
    if (PLAYERCAREERENTRY* pEntry = GetCurrentCareerEntry())
        ++pEntry->byMatchesAvailable;
}

void CPlayerDatabase::CountMatchAvailable(int nKind)
{
    if (!IsSuspended(nKind) && !IsInjured())
        AddMatchAvailable();
}

int CPlayerDatabase::GetStartPercentage() const
{
    const int nAvailable = GetMatchesAvailable();
    if (nAvailable == 0)
        return m_byRating / 34;
    return GetSeasonStarts() * 100 / nAvailable;
}

int CPlayerDatabase::GetPlayedPercentage() const
{
    const int nAvailable = GetMatchesAvailable();
    if (nAvailable == 0)
        return m_byRating / 34;
    return (GetSeasonStarts() + GetSeasonSubstituteAppearances()) * 100 / nAvailable;
}

void CPlayerDatabase::RecordAppearance(int nSheetSlot, int nCompetition, bool bCameOn)
{
    if (nSheetSlot < 11)
        IncrementMatchInformationField(nCompetition, MATCH_INFORMATION_STARTS, 1);
    else if (bCameOn)
        IncrementMatchInformationField(nCompetition, MATCH_INFORMATION_SUBSTITUTE, 1);
}

bool CPlayerDatabase::IsSuspended(int nKind) const
{
    if (nKind < 0)
        return false;
    if (nKind <= 1)
        return (m_bySuspensionFlags & PLAYER_SUSPENDED_DOMESTIC) != 0;
    if (nKind == 2)
        return (m_bySuspensionFlags & PLAYER_SUSPENDED_EUROPEAN) != 0;
    return false;
}

void CPlayerDatabase::ServeSuspension(int nKind)
{
    if (m_byDomesticBanMatches == 0 && m_byEuropeanBanMatches == 0) {
        m_bySuspensionFlags = 0;
        return;
    }
    if ((nKind == 0 || nKind == 1) && (m_bySuspensionFlags & PLAYER_SUSPENDED_DOMESTIC)) {
        if (m_byDomesticBanMatches > 0)
            --m_byDomesticBanMatches;
        if (m_byDomesticBanMatches == 0)
            m_bySuspensionFlags &= static_cast<uint8_t>(~(PLAYER_SUSPENDED_DOMESTIC | PLAYER_SUSPENDED_DOMESTIC_MARK));
    } else if (nKind == 2 && (m_bySuspensionFlags & PLAYER_SUSPENDED_EUROPEAN)) {
        if (m_byEuropeanBanMatches > 0)
            --m_byEuropeanBanMatches;
        if (m_byEuropeanBanMatches == 0)
            m_bySuspensionFlags &= static_cast<uint8_t>(~PLAYER_SUSPENDED_EUROPEAN);
    }
}

ID_CLUB CPlayerDatabase::GetPreviousClubId() const
{
    for (LPXLISTNODE pNode = m_Career.GetTail(); pNode; pNode = pNode->pPrev) {
        const PLAYERCAREERENTRY* pEntry = static_cast<PLAYERCAREERENTRY*>(pNode->pData);
        if (pEntry->wClubId != m_wClubId)
            return pEntry->wClubId;
    }
    return 0;
}

bool PLAYERCAREERENTRY::Read(CBinaryReader& reader)
{
    reader.ReadU8(bySeason);
    reader.ReadU8(byZero);
    reader.ReadU16(wClubId);
    for (MATCHINFORMATION& info : aMatchInformation)
        ReadMatchInformation(reader, info);
    reader.ReadU8(byMatchesAvailable);
    reader.Skip(3);
    reader.ReadU32(dwValue);
    reader.ReadU8(byRating);
    reader.Skip(3);
    return !reader.Failed();
}

void PLAYERCAREERENTRY::Write(CBinaryWriter& writer) const
{
    writer.WriteU8(bySeason);
    writer.WriteU8(byZero);
    writer.WriteU16(wClubId);
    for (const MATCHINFORMATION& info : aMatchInformation)
        WriteMatchInformation(writer, info);
    writer.WriteU8(byMatchesAvailable);
    writer.WriteZeros(3);
    writer.WriteU32(dwValue);
    writer.WriteU8(byRating);
    writer.WriteZeros(3);
}

bool PLAYERCAREERENTRY::ReadList(CBinaryReader& reader, int nCount, CXList& career)
{
    for (int i = 0; i < nCount; ++i) {
        PLAYERCAREERENTRY entry;
        if (!entry.Read(reader))
            return false;
        career.AddTail(new PLAYERCAREERENTRY(entry));
    }
    return true;
}
