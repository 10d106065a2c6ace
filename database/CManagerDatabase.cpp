#include "database/CManagerDatabase.h"

#include <algorithm>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CPersonDatabase.h"
#include "database/RecordBytes.h"
#include "database/PersonOwners.h"
#include "platform/Random.h"
#include "season/CNewspaperManager.h"

#include <cstdio>

namespace {

constexpr int kCareerEntryBytes = 26;
constexpr uint16_t kNewsManagerAward = 251;
constexpr int kShortNameBuffers = 4;
constexpr int kShortNameLength = 40;

struct CONTRACTROW {
    int nRatingLow, nRatingHigh;  // high exclusive
    int nWageLow, nWageHigh;
    int nYearsLow, nYearsHigh;
    int nThirdLow, nThirdHigh;
    int nChance1, nFirstLow, nFirstHigh;
    int nChance2, nSecondLow, nSecondHigh;
};

const CONTRACTROW kContractRows[] = {
    {90, 100, 1200, 1500, 1, 4, 25, 50, 100, 10, 25, 100, 10, 25},
    {80, 90, 1000, 1300, 1, 4, 25, 50, 100, 10, 25, 100, 10, 25},
    {70, 80, 800, 1100, 1, 4, 25, 50, 75, 10, 15, 75, 10, 15},
    {60, 70, 500, 800, 1, 2, 10, 35, 75, 10, 15, 75, 10, 15},
    {50, 60, 200, 500, 1, 2, 10, 35, 50, 5, 10, 50, 5, 10},
    {0, 50, 200, 500, 1, 1, 10, 35, 50, 5, 10, 50, 5, 10},
};

struct COMPENSATIONROW {
    int nRatingLow, nRatingHigh;
    int nChance, nMinPercent, nMaxPercent;
};

const COMPENSATIONROW kCompensationRows[] = {
    {90, 100, 90, 90, 100}, {80, 90, 80, 80, 90}, {70, 80, 70, 70, 80}, {60, 70, 60, 70, 80},
    {50, 60, 50, 50, 60},   {40, 50, 40, 40, 50}, {0, 40, 25, 10, 40},
};

// lo + rand() % (hi - lo), or lo for an empty range.
int DrawInRange(int nLow, int nHigh)
{
    return nHigh > nLow ? nLow + plat::rand() % (nHigh - nLow) : nLow;
}

CDate GameDate()
{
    return CManagerDatabase::m_pDatabaseHandler ? CManagerDatabase::m_pDatabaseHandler->GetGameDate() : CDate();
}

int DaysInMonth(int nYear, int nMonth)
{
    return CDate(nYear, nMonth, 1).GetDaysInMonth();
}

const char* NameFromOffset(int nDictionary, uint32_t dwOffset)
{
    if (dwOffset == MANAGER_NO_NAME)
        return CPersonDatabase::GetEmptyName();
    return CPersonDatabase::GetDictionaryName(nDictionary, dwOffset);
}

}  // namespace

CDatabaseHandler* CManagerDatabase::m_pDatabaseHandler = nullptr;

CManagerDatabase::CManagerDatabase(CBinaryReader& reader, CClubDatabase* pClub, bool bKeepUnregistered)
    : m_pszFirstName(CPersonDatabase::GetEmptyName()), m_pszLastName(CPersonDatabase::GetEmptyName())
{
    m_bLoaded = Load(reader, pClub);
    if (!m_bLoaded)
        return;
    if (!m_pDatabaseHandler)
        return;
    if (pClub)
        m_pDatabaseHandler->RegisterManager(this, MANAGERSTATE_EMPLOYED);
    else if (!bKeepUnregistered)
        m_pDatabaseHandler->RegisterManager(this, MANAGERSTATE_POOL);
}

CManagerDatabase::CManagerDatabase()
    : m_pszFirstName(CPersonDatabase::GetEmptyName()), m_pszLastName(CPersonDatabase::GetEmptyName())
{
    m_DateOfBirth = {1970, 1, 1};
    m_Contract.StartDate = {1970, 1, 1};
    m_Contract.EndDate = {1972, 1, 1};
    if (m_pDatabaseHandler) {
        m_idManager = m_pDatabaseHandler->GetNextManagerID();
        m_pDatabaseHandler->RegisterManager(this, MANAGERSTATE_POOL);
    }
    m_bLoaded = true;
}

CManagerDatabase::~CManagerDatabase()
{
    FreeCareer();
}

void CManagerDatabase::FreeCareer()
{
    m_Career.clear();
}

void CManagerDatabase::SetNameOffsets(uint32_t dwFirstNameOffset, uint32_t dwLastNameOffset)
{
    m_dwFirstNameOffset = dwFirstNameOffset;
    m_dwLastNameOffset = dwLastNameOffset;
    m_pszFirstName = NameFromOffset(0, dwFirstNameOffset);
    m_pszLastName = NameFromOffset(1, dwLastNameOffset);
}

bool CManagerDatabase::Load(CBinaryReader& reader, CClubDatabase* pClub)
{
    uint16_t wId = 0;
    uint32_t dwFirstNameOffset = 0, dwLastNameOffset = 0;
    reader.ReadU16(wId);
    reader.Skip(2);
    reader.ReadU32(dwFirstNameOffset);
    reader.ReadU32(dwLastNameOffset);
    reader.ReadU32(m_dwSeasonValueA);
    reader.ReadU32(m_dwSeasonValueB);
    reader.ReadU32(m_Contract.dwWage);
    CPersonDatabase::ReadDate(reader, m_Contract.StartDate);
    CPersonDatabase::ReadDate(reader, m_Contract.EndDate);
    reader.ReadBytes(m_Contract.abyBonus, 3);
    reader.ReadU8(m_Contract.byZero);
    CPersonDatabase::ReadDate(reader, m_DateOfBirth);
    reader.ReadU8(m_byNationality);
    reader.ReadU8(m_bySeasonCounter);
    reader.ReadU8(m_byRating);
    reader.ReadU8(m_byAbility);
    reader.ReadU8(m_bySmallValue1);
    reader.ReadU8(m_bySmallValue2);
    reader.ReadU8(m_byStateFlags);
    uint8_t byCareer = 0;
    reader.ReadU8(byCareer);
    if (reader.Failed()) {
        DebugLog(0, "[CManagerDatabase::Load] The manager record is cut short");
        return false;
    }
    if (wId == 0 || m_byRating > 100 || m_byAbility > 100) {
        DebugLog(0, "[CManagerDatabase::Load] Manager %u is damaged", wId);
        reader.Fail();
        return false;
    }
    m_idManager = wId;
    if (m_byNationality > NATIONALITY_COUNT)
        m_byNationality = 0;
    SetNameOffsets(dwFirstNameOffset, dwLastNameOffset);
    if (m_DateOfBirth.wYear < 1931 || m_DateOfBirth.wYear > 2039 || !CPersonDatabase::IsValidDate(m_DateOfBirth)) {
        DebugLog(1, "[CManagerDatabase::Load] Manager %s %s has invalid DOB", m_pszFirstName, m_pszLastName);
        m_DateOfBirth = {1970, 1, 1};
    }
    if (!reader.CheckCount(byCareer, kCareerEntryBytes)) {
        DebugLog(0, "[CManagerDatabase::Load] Manager %u has more career entries than the file holds", wId);
        return false;
    }
    for (int i = 0; i < byCareer; ++i) {
        MANAGERCAREERENTRY entry;
        for (auto& slot : entry.abyCupSlots)
            reader.ReadBytes(slot, 2);
        reader.ReadU16(entry.wClubId);
        reader.ReadU8(entry.bySeason);
        reader.ReadU8(entry.byMatches);
        reader.ReadU8(entry.byWon);
        reader.ReadU8(entry.byDrawn);
        reader.ReadU8(entry.byLost);
        reader.ReadU8(entry.byGoalsFor);
        reader.ReadU8(entry.byGoalsAgainst);
        reader.ReadU8(entry.byPoints);
        reader.ReadU8(entry.byLeaguePosition);
        reader.ReadU8(entry.byZero);
        if (reader.Failed())
            return false;
        m_Career.push_back(entry);
    }
    if (pClub) {
        m_pClub = pClub;
        m_pCountry = GetClubCountry(pClub);
        m_pDivision = GetClubDivision(pClub);
        if (MANAGERCAREERENTRY* pLast = GetCareerEntry(-1))
            pLast->wClubId = GetClubIdOf(pClub);
    }
    return true;
}

bool CManagerDatabase::Save(CBinaryWriter& writer) const
{
    writer.WriteU16(static_cast<uint16_t>(m_idManager));
    writer.WriteZeros(2);
    writer.WriteU32(m_dwFirstNameOffset);
    writer.WriteU32(m_dwLastNameOffset);
    writer.WriteU32(m_dwSeasonValueA);
    writer.WriteU32(m_dwSeasonValueB);
    writer.WriteU32(m_Contract.dwWage);
    CPersonDatabase::WriteDate(writer, m_Contract.StartDate);
    CPersonDatabase::WriteDate(writer, m_Contract.EndDate);
    writer.WriteBytes(m_Contract.abyBonus, 3);
    writer.WriteU8(m_Contract.byZero);
    CPersonDatabase::WriteDate(writer, m_DateOfBirth);
    writer.WriteU8(m_byNationality);
    writer.WriteU8(m_bySeasonCounter);
    writer.WriteU8(m_byRating);
    writer.WriteU8(m_byAbility);
    writer.WriteU8(m_bySmallValue1);
    writer.WriteU8(m_bySmallValue2);
    writer.WriteU8(m_byStateFlags);
    // The count is a byte: a career longer than 255 seasons keeps its newest.
    const size_t nSkip = m_Career.size() > 255 ? m_Career.size() - 255 : 0;
    writer.WriteU8(static_cast<uint8_t>(m_Career.size() - nSkip));
    for (size_t i = nSkip; i < m_Career.size(); ++i) {
        const MANAGERCAREERENTRY* pEntry = &m_Career[i];
        for (const auto& slot : pEntry->abyCupSlots)
            writer.WriteBytes(slot, 2);
        writer.WriteU16(pEntry->wClubId);
        writer.WriteU8(pEntry->bySeason);
        writer.WriteU8(pEntry->byMatches);
        writer.WriteU8(pEntry->byWon);
        writer.WriteU8(pEntry->byDrawn);
        writer.WriteU8(pEntry->byLost);
        writer.WriteU8(pEntry->byGoalsFor);
        writer.WriteU8(pEntry->byGoalsAgainst);
        writer.WriteU8(pEntry->byPoints);
        writer.WriteU8(pEntry->byLeaguePosition);
        writer.WriteU8(pEntry->byZero);
    }
    return !writer.Failed();
}

const char* CManagerDatabase::GetShortName() const
{
    static char s_aszBuffers[kShortNameBuffers][kShortNameLength];
    static int s_nNext = 0;
    char* pszBuffer = s_aszBuffers[s_nNext];
    s_nNext = (s_nNext + 1) % kShortNameBuffers;
    if (*m_pszFirstName == '\0')
        std::snprintf(pszBuffer, kShortNameLength, "%s", m_pszLastName);
    else
        std::snprintf(pszBuffer, kShortNameLength, "%c. %s", *m_pszFirstName, m_pszLastName);
    return pszBuffer;
}

int CManagerDatabase::GetAge() const
{
    return GameDate().GetAge(m_DateOfBirth.wYear, m_DateOfBirth.byMonth, m_DateOfBirth.byDay);
}

int CManagerDatabase::GetContractWeeksLeft() const
{
    const CDate end(m_Contract.EndDate.wYear, m_Contract.EndDate.byMonth, m_Contract.EndDate.byDay);
    return end.DaysBetween(GameDate()) / 7;
}

bool CManagerDatabase::IsNewInJob() const
{
    const CDate start(m_Contract.StartDate.wYear, m_Contract.StartDate.byMonth, m_Contract.StartDate.byDay);
    return GameDate().DaysBetween(start) < 91;
}

int CManagerDatabase::GetCompensation() const
{
    double dShare = 0.0;
    for (const COMPENSATIONROW& row : kCompensationRows) {
        if (m_byRating >= row.nRatingLow && m_byRating < row.nRatingHigh) {
            if (plat::rand() % 100 > row.nChance)
                dShare = DrawInRange(row.nMinPercent, row.nMaxPercent) / 100.0;
            break;
        }
    }
    // The contract's wage is yearly; the months left are paid at a twelfth.
    return static_cast<int>((GetContractWeeksLeft() / 4) * (m_Contract.dwWage / 12.0) * dShare);
}

void CManagerDatabase::AddCareerEntry(int nSeason, ID_CLUB idClub)
{
    MANAGERCAREERENTRY& entry = m_Career.emplace_back();
    entry.bySeason = static_cast<uint8_t>(nSeason);
    entry.wClubId = idClub;
}

MANAGERCAREERENTRY* CManagerDatabase::GetCareerEntry(int nIndex)
{
    return const_cast<MANAGERCAREERENTRY*>(static_cast<const CManagerDatabase*>(this)->GetCareerEntry(nIndex));
}

const MANAGERCAREERENTRY* CManagerDatabase::GetCareerEntry(int nIndex) const
{
    if (m_Career.empty())
        return nullptr;
    if (nIndex == -1)
        return &m_Career.back();
    return nIndex >= 0 && static_cast<size_t>(nIndex) < m_Career.size() ? &m_Career[static_cast<size_t>(nIndex)] : nullptr;
}

bool CManagerDatabase::HasManagedClub(ID_CLUB idClub) const
{
    for (const MANAGERCAREERENTRY& entry : m_Career)
        if (entry.wClubId == idClub)
            return true;
    return false;
}

void CManagerDatabase::SetCupSlot(int nSlot, uint8_t byFirst, uint8_t bySecond)
{
    MANAGERCAREERENTRY* pEntry = GetCareerEntry(-1);
    if (!pEntry || nSlot < 0 || nSlot >= MANAGER_CUP_SLOTS)
        return;
    pEntry->abyCupSlots[nSlot][0] = byFirst;
    pEntry->abyCupSlots[nSlot][1] = bySecond;
}

void CManagerDatabase::DrawNames(int nRow, const char* pszCaller)
{
    const NATIONALITYROW* pRow = m_pDatabaseHandler ? m_pDatabaseHandler->GetNationalityRow(nRow + 1) : nullptr;
    if (!pRow)
        return;
    const char* pszFirst = m_pDatabaseHandler->DrawFirstName(*pRow);
    const char* pszLast = m_pDatabaseHandler->DrawLastName(*pRow);
    uint32_t dwOffset = 0;
    if (pszFirst && m_pDatabaseHandler->FindName(NAMEDICTIONARY_FIRST, pszFirst, dwOffset))
        m_dwFirstNameOffset = dwOffset;
    else
        DebugLog(1, "[CManagerDatabase::%s] First Name %s not found!", pszCaller, pszFirst ? pszFirst : "");
    if (pszLast && m_pDatabaseHandler->FindName(NAMEDICTIONARY_LAST, pszLast, dwOffset))
        m_dwLastNameOffset = dwOffset;
    else
        DebugLog(1, "[CManagerDatabase::%s] Last Name %s not found!", pszCaller, pszLast ? pszLast : "");
    SetNameOffsets(m_dwFirstNameOffset, m_dwLastNameOffset);
}

void CManagerDatabase::GenerateRecord()
{
    m_byStateFlags = MANAGER_FLAG_GENERATED;
    const int nRow = plat::rand() % NATIONALITY_COUNT;
    DrawNames(nRow, "GenerateRecord");
    m_byNationality = static_cast<uint8_t>(nRow + 1);

    // Ages 25 to 65 in the first country's current year.
    const int nYear = GetCountryCurrentYear(m_pDatabaseHandler ? m_pDatabaseHandler->GetFirstCountry() : nullptr);
    const int nBirthYear = nYear - 65 + plat::rand() % 41;
    const int nMonth = nBirthYear == nYear - 25 ? plat::rand() % 6 + 1 : plat::rand() % 12 + 1;
    const int nDays = nMonth == 2 ? 28 : DaysInMonth(nBirthYear, nMonth);
    m_DateOfBirth.wYear = static_cast<uint16_t>(nBirthYear);
    m_DateOfBirth.byMonth = static_cast<uint8_t>(nMonth);
    m_DateOfBirth.byDay = static_cast<uint8_t>(plat::rand() % nDays + 1);

    FreeCareer();
    m_bySmallValue2 = static_cast<uint8_t>(plat::rand() % 4);
    m_bySeasonCounter = 0;
    m_dwSeasonValueA = 0;
    m_dwSeasonValueB = 0;
    m_byRating = static_cast<uint8_t>(40 + plat::rand() % 50);
    m_byAbility = m_byRating;
    m_bySmallValue1 = static_cast<uint8_t>(plat::rand() % 5);
    m_pClub = nullptr;
    m_pCountry = nullptr;
    m_pDivision = nullptr;
    m_Contract = MANAGERCONTRACT();
}

void CManagerDatabase::GenerateManagerContract(const MANAGERCONTRACTTERMS& terms)
{
    int nFactor = 45;
    if (terms.bHasDivision) {
        switch (terms.nDivisionLevel) {
        case 1: nFactor = 100; break;
        case 2: nFactor = 70; break;
        case 3: nFactor = 45; break;
        case 4: nFactor = 15; break;
        default: nFactor = 2; break;
        }
    }
    const CONTRACTROW* pRow = nullptr;
    for (const CONTRACTROW& row : kContractRows) {
        if (m_byRating >= row.nRatingLow && m_byRating < row.nRatingHigh) {
            pRow = &row;
            break;
        }
    }
    if (!pRow)
        return;
    m_Contract = MANAGERCONTRACT();
    m_Contract.dwWage = static_cast<uint32_t>(DrawInRange(pRow->nWageLow, pRow->nWageHigh) * nFactor * 10);
    m_Contract.abyBonus[2] = static_cast<uint8_t>(DrawInRange(pRow->nThirdLow, pRow->nThirdHigh));
    if (plat::rand() % 101 < pRow->nChance1)
        m_Contract.abyBonus[0] = static_cast<uint8_t>(DrawInRange(pRow->nFirstLow, pRow->nFirstHigh));
    if (plat::rand() % 101 < pRow->nChance2)
        m_Contract.abyBonus[1] = static_cast<uint8_t>(DrawInRange(pRow->nSecondLow, pRow->nSecondHigh));
    const int nYears = DrawInRange(pRow->nYearsLow, pRow->nYearsHigh);
    constexpr int kSaturday = 6;
    CDate start, end;
    start.SetNthWeekday(terms.nStartMonth, terms.nSeasonStartYear, kSaturday, terms.nStartSaturday);
    end.SetNthWeekday(terms.nEndMonth, terms.nSeasonStartYear + nYears, kSaturday, terms.nEndSaturday);
    start.GetYMD(m_Contract.StartDate);
    end.GetYMD(m_Contract.EndDate);
}

void CManagerDatabase::RecordLeagueResult(int nGoalsFor, int nGoalsAgainst, int nLeaguePosition)
{
    MANAGERCAREERENTRY* pEntry = GetCareerEntry(-1);
    if (!pEntry)
        return;
    // The entry's counters are bytes: a long career at one club stops at 255.
    auto add = [](uint8_t& byCounter, int nAmount) { byCounter = static_cast<uint8_t>(std::min(byCounter + nAmount, 255)); };
    add(pEntry->byMatches, 1);
    add(pEntry->byGoalsFor, std::max(nGoalsFor, 0));
    add(pEntry->byGoalsAgainst, std::max(nGoalsAgainst, 0));
    if (nGoalsFor > nGoalsAgainst) {
        add(pEntry->byWon, 1);
        add(pEntry->byPoints, 3);
    }
    else if (nGoalsFor == nGoalsAgainst) {
        add(pEntry->byDrawn, 1);
        add(pEntry->byPoints, 1);
    }
    else
        add(pEntry->byLost, 1);
    UpdateLeaguePosition(nLeaguePosition);
}

void CManagerDatabase::UpdateLeaguePosition(int nLeaguePosition)
{
    if (MANAGERCAREERENTRY* pEntry = GetCareerEntry(-1))
        pEntry->byLeaguePosition = static_cast<uint8_t>(std::clamp(nLeaguePosition, 0, 255));
}

void CManagerDatabase::ReGenerateNationality()
{
    // Mostly a man of the club's own country; now and then one from anywhere.
    int nRow = plat::rand() % 100 > 98 ? -1 : GetCountryNationality(m_pCountry) - 1;
    if (nRow < 0 || nRow >= NATIONALITY_COUNT)
        nRow = plat::rand() % NATIONALITY_COUNT;
    DrawNames(nRow, "ReGenerateNationality");
    m_byNationality = static_cast<uint8_t>(nRow + 1);
}

void CManagerDatabase::TakeClub(CClubDatabase* pClub)
{
    const bool bFirstJob = m_Career.empty() || !m_Career.back().wClubId;
    m_pClub = pClub;
    m_pCountry = pClub ? pClub->m_pCountry : nullptr;
    m_pDivision = pClub ? pClub->m_pDivision : nullptr;
    // A man the game made up takes a name of his first club's country.
    if (pClub && (m_byStateFlags & MANAGER_FLAG_GENERATED) && bFirstJob)
        ReGenerateNationality();
}

MANAGERCONTRACTTERMS CManagerDatabase::GetContractTermsForClub(const CClubDatabase* pClub)
{
    MANAGERCONTRACTTERMS terms;
    terms.bHasDivision = pClub && pClub->m_pDivision;
    terms.nDivisionLevel = terms.bHasDivision ? pClub->m_pDivision->m_byDivisionNumber : 0;
    terms.nSeasonStartYear = GetClubSeasonYear(pClub);
    return terms;
}

void CManagerDatabase::SetupForClub()
{
    m_Contract.dwWage = 0;
    if (m_Career.empty())
        AddCareerEntry(0, 0);
    const int nRating = m_pClub ? m_pClub->GetClubRating() : m_byRating;
    m_byRating = static_cast<uint8_t>(std::clamp(nRating, 0, 100));
    // One draw near the rating, kept within the ability scale.
    m_byAbility = static_cast<uint8_t>(std::clamp(nRating - 5 + plat::rand() % 11, 0, 100));
    if (!m_pClub)
        return;
    GetCareerEntry(-1)->wClubId = m_pClub->m_wClubId;
    GenerateManagerContract(GetContractTermsForClub(m_pClub));
}

void CManagerDatabase::AnnounceToOwnManager() const
{
    if (!m_pClub)
        return;
    if (CNewsItem* pNews = m_pClub->AddNewsItem(kNewsManagerAward))
        pNews->SetSlot(NEWS_SLOT_PERSON, m_idManager);
}

PERSONREFERENCE CManagerDatabase::FillReference(int32_t nValue, const CClubDatabase* pClub) const
{
    const CClubDatabase* pNamed = pClub ? pClub : m_pClub;
    return PERSONREFERENCE{m_idManager, pNamed ? pNamed->m_wClubId : 0u, nValue};
}
