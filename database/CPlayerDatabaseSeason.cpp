// A player's season beyond the week's training: the points his matches earn
// and where they are posted (his club's period counters, the division's
// eleven of the period), work permits for players from outside the game's
// countries, the cups he is tied to, and the season's turn: his place in
// the season's awards and the reset that opens the next season.
#include "database/CPlayerDatabase.h"

#include <algorithm>

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CEventsDatabase.h"
#include "database/PersonOwners.h"
#include "database/SeasonArchiveRecords.h"
#include "season/CDomesticCupsDatabase.h"
#include "season/CEuropeanCupDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CSaveGame.h"
#include "season/CupRecords.h"

namespace {

constexpr uint8_t kEventWorkPermit = 28;
constexpr uint16_t kNewsPermitGranted = 90;
constexpr int kPermitAfterDays = 65;
constexpr int kPermitPlayedPercentage = 75;

constexpr uint16_t kNewsSeasonAward = 252;
constexpr uint16_t kNewsSeasonEleven = 254;
constexpr int kTopListPlaces = 5;
constexpr int kDefaultSeasonsKept = 5;

}  // namespace

// ---- season points ----

void CPlayerDatabase::PostSeasonPoints()
{
    if (m_dwSeasonPoints <= m_dwSeasonPointsCounted) {
        m_dwSeasonPointsCounted = m_dwSeasonPoints;
        return;
    }
    const uint32_t dwGained = m_dwSeasonPoints - m_dwSeasonPointsCounted;
    m_dwSeasonPointsCounted = m_dwSeasonPoints;
    if (!m_pClub)
        return;
    const int nGained = static_cast<int>(std::min<uint32_t>(dwGained, 0xFFFF));
    m_pClub->m_wSeasonCounter2 = static_cast<uint16_t>(std::min(m_pClub->m_wSeasonCounter2 + nGained, 0xFFFF));
    if (nGained > m_pClub->m_wSeasonCounter3) {
        m_pClub->m_wSeasonCounter3 = static_cast<uint16_t>(nGained);
        m_pClub->m_nSeasonCounter4 = static_cast<int32_t>(m_idPerson);
    }

    CDivisionDatabase* pDivision = m_pClub->m_pDivision;
    if (!pDivision || m_byPosition > 3)
        return;
    DIVISIONPERIODENTRY* pGroup = &pDivision->m_aEleven[division_archive::kElevenFirst[m_byPosition]];
    const int nPlaces = division_archive::kElevenGroupPlaces[m_byPosition];
    // A player already in keeps his better week; the group stays in
    // descending points.
    int nPlace = nPlaces;
    for (int i = 0; i < nPlaces; ++i)
        if (pGroup[i].idPlayer == static_cast<int32_t>(m_idPerson)) {
            if (pGroup[i].nPoints >= nGained)
                return;
            nPlace = i;
            break;
        }
    if (nPlace == nPlaces) {
        if (pGroup[nPlaces - 1].nPoints >= nGained)
            return;
        nPlace = nPlaces - 1;
    }
    pGroup[nPlace] = DIVISIONPERIODENTRY{m_pClub->m_wClubId, static_cast<int32_t>(m_idPerson), nGained};
    for (int i = nPlace; i > 0 && pGroup[i].nPoints > pGroup[i - 1].nPoints; --i)
        std::swap(pGroup[i], pGroup[i - 1]);
}

void CPlayerDatabase::RecordSeasonEvent()
{
    if (m_bySeasonCounter < 255)
        ++m_bySeasonCounter;
}

CClubDatabase* CPlayerDatabase::GetCurrentClub() const
{
    if (m_pClub)
        return m_pClub;
    if (m_Career.GetCount() < 2 || !m_pDatabaseHandler)
        return nullptr;
    const auto* pLast = static_cast<const PLAYERCAREERENTRY*>(m_Career.GetTail()->pData);
    return pLast->wClubId ? m_pDatabaseHandler->GetClubFromID(pLast->wClubId) : nullptr;
}

// ---- work permits ----

void CPlayerDatabase::DoWorkPermitTest()
{
    m_dwFlags &= ~(PLAYER_FLAG_NEEDS_WORK_PERMIT | PLAYER_FLAG_WORK_PERMIT_GRANTED);
    if (!m_pClub || !m_pCountry || !m_pDatabaseHandler)
        return;
    // The game's countries admit each other's players freely; a player of
    // any other nationality needs a permit.
    if (m_byNationality == GetCountryNationality(m_pCountry) ||
        m_pDatabaseHandler->GetCountryFromID(static_cast<ID_COUNTRY>(m_byNationality)))
        return;
    m_dwFlags |= PLAYER_FLAG_NEEDS_WORK_PERMIT;
    m_dwFlags &= ~(PLAYER_FLAG_WORK_PERMIT_GRANTED | PLAYER_FLAG_WORK_PERMIT_SETTLED);
    // One review a year: an earlier one for him is replaced.
    if (CEventsDatabase* pOld = m_pCountry->FindEvent(kEventWorkPermit, m_idPerson, nullptr))
        if (m_pCountry->RemoveEvent(pOld))
            delete pOld;
    CDate review = m_pDatabaseHandler->GetGameDate();
    review.SetYear(review.GetYear() + 1);
    m_pCountry->AddEvent(kEventWorkPermit, review, m_idPerson);
}

void CPlayerDatabase::WeeklyWorkPermitCheck()
{
    if (!(m_dwFlags & PLAYER_FLAG_NEEDS_WORK_PERMIT) || (m_dwFlags & PLAYER_FLAG_WORK_PERMIT_GRANTED) || !m_pCountry ||
        !m_pDivision || !m_pDatabaseHandler)
        return;
    const CDate today = m_pDatabaseHandler->GetGameDate();
    const CDate start = m_pCountry->GetSeasonStartDate();
    if (!start.IsValid() || today.DaysBetween(start) <= kPermitAfterDays || GetPlayedPercentage() >= kPermitPlayedPercentage)
        return;
    const int nSeasonMatches = 2 * (m_pDivision->GetClubCount() - 1);
    if (nSeasonMatches <= 0)
        return;
    const int nClubMatches = m_pClub ? m_pClub->m_HomeRow.byPlayed + m_pClub->m_AwayRow.byPlayed : 0;
    const int nMissed = std::max(0, nClubMatches - GetMatchesAvailable());
    const int nCounted = GetSeasonStarts() + GetSeasonSubstituteAppearances() + nMissed;
    if (nCounted * 100 / nSeasonMatches <= kPermitPlayedPercentage)
        return;
    m_dwFlags |= PLAYER_FLAG_WORK_PERMIT_GRANTED;
    if (CSaveGame* pHuman = m_pDatabaseHandler->GetSaveGameForClub(m_pClub))
        pHuman->PostNews(kNewsPermitGranted, m_pClub)->SetSlot(NEWS_SLOT_PERSON, m_idPerson);
}

// ---- cup ties ----

bool CPlayerDatabase::IsCupTiedForCup(int nCupType, const CCountryDatabase* pCountry) const
{
    const CUP* pCup = nullptr;
    if (pCountry)
        pCup = pCountry->GetDomesticCups() ? pCountry->GetDomesticCups()->GetCup(nCupType) : nullptr;
    else if (m_pDatabaseHandler && m_pDatabaseHandler->GetEuropeanCups())
        pCup = m_pDatabaseHandler->GetEuropeanCups()->GetCup(nCupType);
    return pCup && (m_dwCupTiedMask & GetCupTiedBit(pCup->byKind, pCup->byCountry));
}

bool CPlayerDatabase::IsCupTied(const CUP* pCup) const
{
    if (!pCup || !m_pDatabaseHandler || !m_pDatabaseHandler->AppliesCupTiedRule(pCup))
        return false;
    return (m_dwRuleCupTiedMask & GetCupTiedBit(pCup->byKind, pCup->byCountry)) != 0;
}

// ---- loans ----

void CPlayerDatabase::DoImmediateReturnFromLoan()
{
    constexpr uint8_t kEventLoanReturn = 26;
    if (m_byTransferState != PLAYER_TRANSFER_ON_LOAN || !m_pDatabaseHandler)
        return;
    const CClubDatabase* pLoanClub = m_pDatabaseHandler->GetClubFromID(m_wLoanClubId);
    if (!pLoanClub) {
        DebugLog(1, "[CPlayerDatabase::DoImmediateReturnFromLoan] Could not find the return club!");
        return;
    }
    // The return is kept by the country of the club he is lent to, or of
    // his own club, which scheduled it.
    const bool bScheduled =
        (pLoanClub->m_pCountry && pLoanClub->m_pCountry->FindEvent(kEventLoanReturn, m_idPerson, nullptr)) ||
        (m_pCountry && m_pCountry->FindEvent(kEventLoanReturn, m_idPerson, nullptr));
    if (!bScheduled) {
        DebugLog(1, "[CPlayerDatabase::DoImmediateReturnFromLoan] Could not find the return event!");
        return;
    }
    // The return as its day would bring it; the scheduled one goes with it.
    m_pDatabaseHandler->TransferPlayerLoan(this, 0, false, 0);
}

// ---- the season's turn ----

PERSONREFERENCE CPlayerDatabase::FillReference(int32_t nValue, const CClubDatabase* pClub) const
{
    const CClubDatabase* pNamed = pClub ? pClub : m_pClub;
    return PERSONREFERENCE{pNamed ? pNamed->m_wClubId : 0u, m_idPerson, nValue};
}

void CPlayerDatabase::AnnounceToClub(int nKind) const
{
    if (!m_pClub)
        return;
    if (CNewsItem* pNews = m_pClub->AddNewsItem(nKind == 0 ? kNewsSeasonAward : kNewsSeasonEleven))
        pNews->SetSlot(NEWS_SLOT_PERSON, m_idPerson);
}

void CPlayerDatabase::UpdateSeasonAwards(uint8_t* pTopList, DIVISIONARCHIVERECORD& archive) const
{
    // The season's scorers are counted in competitive matches only.
    const int nGoals = GetSeasonCompetitiveTotal(MATCH_INFORMATION_GOALS);
    if (pTopList)
        InsertRecordReference(pTopList, kTopListPlaces, FillReference(nGoals));
    InsertRecordReference(archive.abyData + division_archive::kTopScorer, 1, FillReference(nGoals));
    if (m_byPosition > 3)
        return;
    const auto nPoints = static_cast<int32_t>(std::min<uint32_t>(m_dwSeasonPoints, INT32_MAX));
    InsertRecordReference(archive.abyData + division_archive::kEleven + division_archive::kElevenFirst[m_byPosition] * PERSONREFERENCE::BYTES,
                          division_archive::kElevenGroupPlaces[m_byPosition], FillReference(nPoints));
}

namespace {

// Frees the entries of a list for which bDrop holds.
template <typename T, typename Drop>
void FreeEntriesWhere(CXList& list, Drop bDrop)
{
    LPXLISTNODE pNode = list.GetHead();
    while (pNode) {
        LPXLISTNODE pNext = pNode->pNext;
        auto* pEntry = static_cast<T*>(pNode->pData);
        if (bDrop(*pEntry)) {
            list.Remove(pNode);
            delete pEntry;
        }
        pNode = pNext;
    }
}

}  // namespace

void CPlayerDatabase::NewSeasonReset()
{
    // The finished season stays in its career entry; a player who is
    // leaving the game opens no new one.
    if (!(m_dwFlags & PLAYER_FLAG_RETIRING)) {
        RemoveAllMatchInformation();
        AddCareerEntry(m_pClub, false);
    }
    m_dwSeasonPoints = 0;
    m_dwSeasonPointsCounted = 0;
    m_bySeasonCounter = 0;
    m_wInjuryDays = 0;
    m_byMatchByte = 0;
    m_wSeasonCleanSheets = 0;
    // Cup ties last one season.
    m_dwCupTiedMask = 0;
    m_dwRuleCupTiedMask = 0;
    if (!m_pDatabaseHandler)
        return;

    const int nSetting = m_pDatabaseHandler->GetGameSetting(0);
    const int nSeasons = nSetting > 0 ? nSetting : kDefaultSeasonsKept;
    const CDate today = m_pDatabaseHandler->GetGameDate();
    CDate oldest = today;
    oldest.SetYear(today.GetYear() - nSeasons);
    FreeEntriesWhere<INJURYENTRY>(m_InjuryHistory, [&](const INJURYENTRY& entry) {
        const CDate begun(entry.Date.wYear, entry.Date.byMonth, entry.Date.byDay);
        return begun < oldest && CDate(begun.GetValue(), entry.wDays) < today;
    });
    const bool bEuropeanBan = (m_bySuspensionFlags & PLAYER_SUSPENDED_EUROPEAN) && m_byEuropeanBanMatches > 0;
    FreeEntriesWhere<DISCIPLINARYENTRY>(m_DisciplinaryHistory, [&](const DISCIPLINARYENTRY& entry) {
        const bool bEuropean = (entry.abyData[DISCIPLINARYENTRY::MARKS] & PLAYER_SUSPENDED_EUROPEAN) != 0;
        return entry.GetDate() < oldest && !(bEuropean && bEuropeanBan);
    });
    // Seasons at earlier clubs are kept as long as the archives keep theirs.
    const int nSeason = (GetClubSeasonYear(m_pClub) - 1999) & 0xFF;
    const ID_CLUB idClub = GetClubIdOf(m_pClub);
    const PLAYERCAREERENTRY* pCurrent = GetCurrentCareerEntry();
    FreeEntriesWhere<PLAYERCAREERENTRY>(m_Career, [&](const PLAYERCAREERENTRY& entry) {
        const int nAge = (nSeason - entry.bySeason) & 0xFF;
        return &entry != pCurrent && entry.wClubId != idClub && nAge > nSeasons;
    });
    m_byCareerCount = static_cast<uint8_t>(m_Career.GetCount());
}
