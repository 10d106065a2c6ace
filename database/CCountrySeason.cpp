// The country's work across its divisions: season dates and blocked periods,
// referees, the scenario club, the league fixtures and level payments, cup
// winners and the season records.
#include "database/CCountryDatabase.h"

#include <algorithm>

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CountryCalendars.h"
#include "database/SeasonArchiveRecords.h"
#include "platform/Random.h"
#include "season/CDomesticCupsDatabase.h"
#include "season/CEuropeanCupDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CRefereeDatabase.h"

namespace {

// Offset of the key byte of a 232-byte season record.

CClubDatabase* RandomClubOf(const CDivisionDatabase* pDivision)
{
    const int nClubs = pDivision ? pDivision->m_lstClubsByTable.GetCount() : 0;
    if (nClubs == 0)
        return nullptr;
    return static_cast<CClubDatabase*>(pDivision->m_lstClubsByTable.GetAt(plat::rand() % nClubs)->pData);
}

int WeekOrFirst(int nWeek)
{
    return nWeek > 0 ? nWeek : 1;
}

}  // namespace

// ---- blocked periods and the transfer window ----

bool CCountryDatabase::IsDateBlocked(const CDate& date) const
{
    for (int i = 0; i < m_nCalendarPeriods; ++i)
        if (date >= m_pCalendarStart[i] && date <= m_pCalendarEnd[i])
            return true;
    return false;
}

bool CCountryDatabase::IsTransferWindowOpenToday() const
{
    const CDate today = GameDate();
    for (int i = 0; i < m_nCalendarPeriods; ++i)
        if (m_pCalendarKinds[i] == CALENDAR_PERIOD_TRANSFERS_CLOSED && today >= m_pCalendarStart[i] &&
            today <= m_pCalendarEnd[i])
            return false;
    return true;
}

bool CCountryDatabase::GetTransferWindowState(CDate* pEndDate) const
{
    const CDate today = GameDate();
    for (int i = 0; i < m_nCalendarPeriods; ++i) {
        if (today < m_pCalendarStart[i] || today > m_pCalendarEnd[i])
            continue;
        if (m_pCalendarKinds[i] == CALENDAR_PERIOD_TRANSFERS_OPEN)
            return true;
        if (m_pCalendarKinds[i] == CALENDAR_PERIOD_TRANSFERS_CLOSED) {
            if (pEndDate)
                *pEndDate = m_pCalendarEnd[i];
            return false;
        }
    }
    return true;
}

// ---- referees ----

int CCountryDatabase::GenerateReferees(uint16_t& wNextRefereeID)
{
    const NATIONALITYROW* pRow = m_pDatabaseHandler ? m_pDatabaseHandler->GetNationalityRow(m_byID) : nullptr;
    if (!pRow) {
        DebugLog(0, "[CCountryDatabase::GenerateReferees] %s has no name pools: no referees", m_szName);
        return 0;
    }
    const int nReferees = GetClubCount() / 2;
    for (int i = 0; i < nReferees; ++i) {
        const char* pszFirst = m_pDatabaseHandler->DrawFirstName(*pRow);
        const char* pszLast = m_pDatabaseHandler->DrawLastName(*pRow);
        uint32_t dwLast = 0;
        if (!pszLast || !m_pDatabaseHandler->FindName(NAMEDICTIONARY_LAST, pszLast, dwLast))
            DebugLog(1, "Last Name %s not found in CCountryDatabase::GenerateReferees!", pszLast ? pszLast : "");
        auto* pReferee = new CRefereeDatabase;
        pReferee->Set(wNextRefereeID++, pszFirst && *pszFirst ? *pszFirst : 0, dwLast);
        pReferee->SetAttributes(pRow->byNationality, m_byID, 0, 0);
        AddReferee(pReferee);
    }
    return nReferees;
}

void CCountryDatabase::StartRefereesNewSeason()
{
    for (CRefereeDatabase* pReferee : m_lstReferees.Items<CRefereeDatabase>())
        pReferee->StartNewSeason();
}

void CCountryDatabase::ClearEuropeanRefereeAssignments()
{
    for (CRefereeDatabase* pReferee : m_lstReferees.Items<CRefereeDatabase>())
        pReferee->RemoveEuropeanAssignments();
}

// ---- scenario club ----

CClubDatabase* CCountryDatabase::GetScenarioClub(int nScenario) const
{
    auto divisionNumbered = [this](int nNumber) -> CDivisionDatabase* {
        for (CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>())
            if (pDivision->m_byDivisionNumber == nNumber)
                return pDivision;
        return nullptr;
    };
    if (nScenario < 0 || nScenario > 7) {
        DebugLog(1, "[CCountryDatabase::GetScenarioClub] Unhandled SCENARIO_?");
        return nullptr;
    }
    CDivisionDatabase* pDivision = nullptr;
    if (nScenario == 2) {
        // The lowest league division: the last, or the one above a pool.
        LPXLISTNODE pNode = m_lstDivisions.GetTail();
        if (pNode && static_cast<CDivisionDatabase*>(pNode->pData)->m_byKind != DIVISION_KIND_LEAGUE)
            pNode = pNode->pPrev;
        pDivision = pNode ? static_cast<CDivisionDatabase*>(pNode->pData) : nullptr;
    }
    else
        pDivision = divisionNumbered(nScenario == 6 ? 2 : 1);
    const int nClubs = pDivision ? pDivision->m_lstClubsByTable.GetCount() : 0;
    if (nClubs == 0) {
        DebugLog(1, "[CCountryDatabase::GetScenarioClub] %s has no clubs in the start division", m_szName);
        return nullptr;
    }
    if (nScenario == 1) {
        const int nIndex = nClubs - 1 - (nClubs > 1 ? plat::rand() % 2 : 0);
        return static_cast<CClubDatabase*>(pDivision->m_lstClubsByTable.GetAt(nIndex)->pData);
    }
    if (nScenario != 7)
        return RandomClubOf(pDivision);

    // A club of this country waiting to enter the second European cup.
    const CEuropeanCupDatabase* pEuropean = m_pDatabaseHandler ? m_pDatabaseHandler->GetEuropeanCups() : nullptr;
    const CXList* pPending = pEuropean ? pEuropean->GetPendingList(CUP_KIND_0) : nullptr;
    std::vector<CClubDatabase*> entrants;
    if (pPending)
        for (const CUPENTRY* pEntry : pPending->Items<CUPENTRY>())
            if (CClubDatabase* pClub = IsClubOfCountry(static_cast<ID_CLUB>(pEntry->dwClub)))
                entrants.push_back(pClub);
    if (entrants.empty()) {
        DebugLog(1, "[CCountryDatabase::GetScenarioClub] %s has no club waiting for the European cup", m_szName);
        return nullptr;
    }
    const int nPlaces = GetCupByes(COUNTRY_BYES_KAVOCUP2) + GetCupByes(COUNTRY_BYES_KAVOCUP1);
    const int nStep = nPlaces > 0 ? plat::rand() % nPlaces : 0;
    return entrants[static_cast<size_t>(nStep) % entrants.size()];
}

// ---- fixtures ----

int CCountryDatabase::GetNextFixtureForClub(const CDivisionDatabase* pDivision, ID_CLUB idClub, uint8_t* pbyHome,
                                            uint8_t* pbyCompetition, CDate* pDate) const
{
    uint8_t byLeagueHome = 0, byLeagueCompetition = 0;
    CDate leagueDate;
    const int nLeague =
        pDivision ? pDivision->GetNextLeagueFixture(idClub, &byLeagueHome, &byLeagueCompetition, &leagueDate) : -1;

    const CDate today = GameDate();
    const CCupFixturesDatabase* pCup = nullptr;
    for (const CCupFixturesDatabase* p : m_lstCupFixtures.Items<CCupFixturesDatabase>())
        if (p->GetDate() >= today && p->IsClubInvolved(idClub)) {
            pCup = p;
            break;
        }
    if (pCup && (nLeague < 0 || pCup->GetDate() < leagueDate)) {
        const bool bHome = pCup->GetHomeClubID() == idClub;
        if (pbyHome)
            *pbyHome = bHome ? 1 : 0;
        if (pbyCompetition)
            *pbyCompetition = pCup->GetCup() ? pCup->GetCup()->byKind
                                             : static_cast<uint8_t>(CDomesticCupsDatabase::GetKindFromCupNumber(
                                                   pCup->GetCupNumber()));
        if (pDate)
            *pDate = pCup->GetDate();
        return bHome ? pCup->GetAwayClubID() : pCup->GetHomeClubID();
    }
    if (nLeague < 0)
        return -1;
    if (pbyHome)
        *pbyHome = byLeagueHome;
    if (pbyCompetition)
        *pbyCompetition = byLeagueCompetition;
    if (pDate)
        *pDate = leagueDate;
    return nLeague;
}

bool CCountryDatabase::IsClubFreeOfCupFixture(const CDate& date, ID_CLUB idClub) const
{
    for (const CCupFixturesDatabase* p : m_lstCupFixtures.Items<CCupFixturesDatabase>()) {
        if (p->GetDate() > date)
            break;
        if (p->GetDate() == date && p->IsClubInvolved(idClub))
            return false;
    }
    return true;
}

void CCountryDatabase::GenerateLeagueFixtures()
{
    BuildCalendarDates();
    ScheduleBlockedPeriodEvents();
    for (CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>())
        pDivision->GenerateLeagueFixtures();
}

void CCountryDatabase::SetClubTargetBands()
{
    for (CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>())
        pDivision->SetClubTargetBands();
}

// ---- season dates and level ----

void CCountryDatabase::CalculateSeasonDates()
{
    CDate start, end;
    for (const CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>()) {
        if (pDivision->m_byKind == DIVISION_KIND_BOTTOM_OTHER)
            continue;
        if (pDivision->m_SeasonStart.IsValid() && (start.GetValue() == 0 || pDivision->m_SeasonStart < start))
            start = pDivision->m_SeasonStart;
        if (pDivision->m_SeasonEnd.IsValid() && pDivision->m_SeasonEnd > end)
            end = pDivision->m_SeasonEnd;
    }
    const CCountryDatabase* pFirst = m_pDatabaseHandler ? m_pDatabaseHandler->GetFirstCountry() : nullptr;
    if (!start.IsValid() || !end.IsValid() || end < start) {
        if (pFirst && pFirst != this && pFirst->GetSeasonStartDate().IsValid()) {
            start = pFirst->GetSeasonStartDate();
            end = pFirst->GetLeagueEndDate();
        }
        else {
            DebugLog(1, "[CCountryDatabase::CalculateSeasonDates] %s has no season dates", m_szName);
            return;
        }
    }
    m_SeasonStart = start;
    m_LeagueEnd = end;
}

void CCountryDatabase::SetSeasonDates(int nYear)
{
    const LPXLISTNODE pHead = m_lstDivisions.GetHead();
    if (!pHead) {
        DebugLog(1, "[CCountryDatabase::SetSeasonDates] %s has no divisions", m_szName);
        return;
    }
    const auto* pFirst = static_cast<const CDivisionDatabase*>(pHead->pData);
    const int nStartMonth = pFirst->GetStartMonth();
    const int nEndMonth = pFirst->GetEndMonth();
    const int nStartYear = nYear + (nEndMonth > nStartMonth ? 1 : 0);
    const int nEndYear = nStartYear + (nStartMonth > nEndMonth ? 1 : 0);
    m_SeasonStart.SetNthWeekday(nStartMonth, nStartYear, pFirst->m_bySeasonWeekday, WeekOrFirst(GetSetting(1)));
    m_LeagueEnd.SetNthWeekday(nEndMonth, nEndYear, pFirst->m_bySeasonWeekday, WeekOrFirst(GetSetting(2)));
    for (CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>()) {
        pDivision->m_SeasonStart.SetNthWeekday(pDivision->GetStartMonth(), nStartYear, pDivision->m_bySeasonWeekday,
                                               WeekOrFirst(pDivision->m_byStartWeek));
        pDivision->m_SeasonEnd.SetNthWeekday(pDivision->GetEndMonth(), nEndYear, pDivision->m_bySeasonWeekday,
                                             WeekOrFirst(pDivision->m_byEndWeek));
    }
    BuildCalendarDates();
}

void CCountryDatabase::ApplyCountryLevel()
{
    const int nLevel = GetCountryLevel();
    m_nBudgetFigure = nLevel * 33 * 625 * 80;
    for (CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>())
        pDivision->ApplyLevelPayments(nLevel);
}

// ---- cups and records ----

CClubDatabase* CCountryDatabase::GetCupWinner(int nKind) const
{
    const CUP* pCup = m_pDomesticCups->GetCup(nKind);
    if (!pCup || pCup->byRound < pCup->byRounds)
        return nullptr;
    const CUPTIE* pFinal = pCup->GetTie(0);
    if (!pFinal)
        return nullptr;
    const uint32_t dwDeciding = pFinal->dwSecondMatch != 0 ? pFinal->dwSecondMatch : pFinal->dwFirstMatch;
    const CCupFixturesDatabase* pFixture = FindCupFixture(dwDeciding);
    if (!pFixture || pFixture->GetHomeGoals() == CCupFixturesDatabase::GOALS_UNPLAYED)
        return nullptr;
    return IsClubOfCountry(pFinal->byWinner == 0 ? pFinal->wHomeClub : pFinal->wAwayClub);
}

void CCountryDatabase::DoDomesticByesFromEuropeanPending()
{
    const CEuropeanCupDatabase* pEuropean = m_pDatabaseHandler ? m_pDatabaseHandler->GetEuropeanCups() : nullptr;
    if (!pEuropean)
        return;
    // The two clubs of the super cup play their own fixtures.
    auto isSuperCupClub = [pEuropean](ID_CLUB idClub) {
        if (pEuropean->IsClubPending(CUP_KIND_SUPER, idClub))
            return true;
        const CUP* pSuper = pEuropean->GetCup(CUP_KIND_SUPER);
        const CUPTIE* pTie = pSuper ? pSuper->GetTie(0) : nullptr;
        return pTie && (pTie->wHomeClub == idClub || pTie->wAwayClub == idClub);
    };
    for (int nKind : {CUP_KIND_0, CUP_KIND_1}) {
        const ITEMCUPSTRUCTUREINFORMATION* pDefinition = m_pDomesticCups->GetDefinition(nKind);
        const ITEMCUPENTRYRULE* pRules = m_pDomesticCups->GetCupStructure(nKind);
        if (!pDefinition || !pRules)
            continue;
        for (int nRow = 0; nRow < pDefinition->byRounds; ++nRow) {
            const ITEMCUPENTRYRULE& rule = pRules[nRow];
            if (rule.byEntryCode5 != 1)
                continue;
            const int nNeeded = rule.byEntryCount;
            int nAdded = 0;
            for (const CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>())
                for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
                    const ID_CLUB idClub = pClub->m_wClubId;
                    if (!(pEuropean->IsClubPending(CUP_KIND_0, idClub) || pEuropean->IsClubPending(CUP_KIND_1, idClub)) ||
                        isSuperCupClub(idClub))
                        continue;
                    if (nAdded >= nNeeded) {
                        DebugLog(2, "DoDomesticByesFromEuropeanPending Added %d Needed %d, but trying to add another",
                                 nAdded, nNeeded);
                        break;
                    }
                    m_pDomesticCups->AddPending(nKind, idClub, nRow + 2, REASON_DOMESTIC_CUP);
                    ++nAdded;
                    DebugLog(2, "+++++ Domestic bye from European Cup - %s %d", pClub->GetName(),
                             pDivision->m_byDivisionNumber);
                }
        }
    }
}

const uint8_t* CCountryDatabase::FindSeasonRecord(uint8_t byKey) const
{
    for (const uint8_t* pRecord : m_lstLargeRecords.Items<uint8_t>())
        if (pRecord[country_archive::kKey] == byKey)
            return pRecord;
    return nullptr;
}

void CCountryDatabase::UnpackCalendarCode(uint32_t dwCode, int& nLow, int& nMiddle, int& nFlag)
{
    nLow = static_cast<int>(dwCode & 0x0F);
    nMiddle = static_cast<int>((dwCode >> 5) & 0x1F);
    nFlag = static_cast<int>((dwCode >> 16) & 1);
}

ID_GROUND CCountryDatabase::ChooseGroundForClubs(ID_CLUB idHome, ID_CLUB idAway) const
{
    const CClubDatabase* pHome = IsClubOfCountry(idHome);
    const CClubDatabase* pAway = IsClubOfCountry(idAway);
    const CGroundDatabase* pBest = nullptr;
    for (const CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>())
        for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
            const CGroundDatabase* pGround = pClub->m_pGround;
            if (!pGround || (pHome && pGround->GetID() == pHome->m_wHomeGroundId) ||
                (pAway && pGround->GetID() == pAway->m_wHomeGroundId))
                continue;
            if (!pBest || pGround->GetCapacity() > pBest->GetCapacity())
                pBest = pGround;
        }
    if (pBest)
        return pBest->GetID();
    return pHome ? pHome->m_wHomeGroundId : 0;
}
