// The division's league fixtures: match dates clear of the country's breaks
// and cup rounds, the all-play-all template, referees, the fixture questions,
// televised matches, season targets and division payments.
#include "database/CDivisionDatabase.h"

#include <algorithm>
#include <cstdlib>

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionFixturesDatabase.h"
#include "database/ClubPayments.h"
#include "platform/Random.h"
#include "season/CDomesticCupsDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CRefereeDatabase.h"
#include "season/CSaveGame.h"

namespace {

// Cup kinds whose rounds keep league dates away.
constexpr int kDomesticCupKinds[] = {CUP_KIND_0, CUP_KIND_1, CUP_KIND_SUPER, CUP_KIND_5};
// A division range byte of this value opens the round to every division.
constexpr uint8_t kEveryDivision = 6;
// League dates keep this many days clear of a cup match.
constexpr int kCupClearDays = 2;
// News of the final table and of fixtures added to the calendar.
constexpr uint16_t kNewsChampions = 160;
constexpr uint16_t kNewsPromoted = 161;
constexpr uint16_t kNewsRelegated = 162;
constexpr uint16_t kLeaveRelegatedOut = 134;
constexpr uint16_t kNewsLevelPayment = 242;
constexpr uint16_t kNewsExtraFixture = 266;

CDate Today()
{
    return CDivisionDatabase::m_pDatabaseHandler ? CDivisionDatabase::m_pDatabaseHandler->GetGameDate() : CDate();
}

bool Contains(const std::vector<CDate>& dates, const CDate& date)
{
    return std::find(dates.begin(), dates.end(), date) != dates.end();
}

bool NearAny(const std::vector<CDate>& dates, const CDate& date, int nDays)
{
    for (const CDate& taken : dates)
        if (std::abs(taken.DaysBetween(date)) <= nDays)
            return true;
    return false;
}

// Whether a division (1-based number) may play in a cup round whose entry
// rule names the 0-based range first..last.
bool IsNumberInRange(int nNumber, const ITEMCUPENTRYRULE* pRule)
{
    if (!pRule || pRule->byEntryCode0 == kEveryDivision)
        return true;
    const int nIndex = nNumber - 1;
    return nIndex >= pRule->byEntryCode0 && (pRule->byEntryCode1 == kEveryDivision || nIndex <= pRule->byEntryCode1);
}

}  // namespace

// ---- the all-play-all template ----

int CDivisionDatabase::GetRoundsPerCycle() const
{
    const int nClubs = GetClubCount();
    if (nClubs < 2)
        return 0;
    return nClubs % 2 == 0 ? nClubs - 1 : nClubs;
}

int CDivisionDatabase::GetLeagueDateCount() const
{
    return GetRoundsPerCycle() * GetMeetings();
}

bool CDivisionDatabase::GetTemplatePair(int nClubs, int nDay, int nMatch, int& nHome, int& nAway)
{
    if (nClubs < 2 || nDay < 0 || nMatch < 0)
        return false;
    const int nPlaces = nClubs + (nClubs % 2);  // an odd count rests its last place
    const int nRounds = nPlaces - 1;
    if (nMatch >= nPlaces / 2)
        return false;
    const int nTemplateDay = nDay % (2 * nRounds);
    const bool bReturn = nTemplateDay >= nRounds;
    const int nDayNumber = nTemplateDay % nRounds + 1;  // 1-based
    const bool bOdd = nDayNumber % 2 == 1;
    const int c = nDayNumber + 1;
    // Places 2 .. nPlaces counted round.
    auto cyclic = [nRounds](int nPlace) { return ((nPlace - 2) % nRounds + nRounds) % nRounds + 2; };
    if (nMatch == 0) {
        nHome = bOdd ? 1 : c;
        nAway = bOdd ? c : 1;
    }
    else {
        const int nUp = cyclic(c + nMatch);
        const int nDown = cyclic(c - nMatch);
        nHome = bOdd ? nUp : nDown;
        nAway = bOdd ? nDown : nUp;
    }
    if (bReturn)
        std::swap(nHome, nAway);
    return nHome <= nClubs && nAway <= nClubs;
}

// ---- making the fixtures ----

void CDivisionDatabase::FreeFixtures()
{
    ForgetPostedFixtures();
    while (!m_lstFixtures.IsEmpty()) {
        auto* pFixture = static_cast<CDivisionFixturesDatabase*>(m_lstFixtures.RemoveHead());
        if (m_pCountry)
            if (CRefereeDatabase* pReferee = m_pCountry->GetRefereeFromID(pFixture->GetRefereeID()))
                pReferee->RemoveAssignment(pFixture);
        delete pFixture;
    }
}

void CDivisionDatabase::GenerateLeagueFixtures()
{
    if (m_byKind != DIVISION_KIND_LEAGUE)
        return;
    FreeFixtures();
    m_TelevisedCounts.clear();
    m_byTelevisedAverage = 0;
    m_LastTelevisionMove = CDate();
    UpdateGameCounts();
    const int nClubs = GetClubCount();
    if (nClubs < 2) {
        DebugLog(1, "[CDivisionDatabase::GenerateLeagueFixtures] %s has %d clubs: no fixtures", m_szName, nClubs);
        m_NextMatchDate = CDate();
        return;
    }

    std::vector<CDate> dates;
    MakeLeagueDates(dates, GetLeagueDateCount());
    std::vector<CClubDatabase*> clubs;
    for (CClubDatabase* pClub : m_lstClubsByTable.Items<CClubDatabase>())
        clubs.push_back(pClub);
    const int nMatchesPerDay = (nClubs + 1) / 2;
    uint32_t dwLocalNumber = 1;

    for (size_t nDay = 0; nDay < dates.size(); ++nDay) {
        const CDate& date = dates[nDay];
        std::vector<CRefereeDatabase*> free;
        if (m_pCountry)
            for (CRefereeDatabase* pReferee : m_pCountry->GetReferees().Items<CRefereeDatabase>())
                if (pReferee->IsAvailable(date.GetValue()))
                    free.push_back(pReferee);
        for (int nMatch = 0; nMatch < nMatchesPerDay; ++nMatch) {
            int nHome = 0, nAway = 0;
            if (!GetTemplatePair(nClubs, static_cast<int>(nDay), nMatch, nHome, nAway))
                continue;  // the resting club of an odd division
            CRefereeDatabase* pReferee = nullptr;
            if (!free.empty()) {
                const size_t nPick = static_cast<size_t>(plat::rand()) % free.size();
                pReferee = free[nPick];
                free.erase(free.begin() + static_cast<long>(nPick));
            }
            else {
                DebugLog(1, "[CDivisionDatabase::GenerateLeagueFixtures] Out of referees!");
                if (m_pCountry && m_pCountry->GetReferees().GetHead())
                    pReferee = static_cast<CRefereeDatabase*>(m_pCountry->GetReferees().GetHead()->pData);
                else
                    DebugLog(0, "[CDivisionDatabase::GenerateLeagueFixtures] %s has no referees: referee 0",
                             m_pCountry ? m_pCountry->GetName() : "No country");
            }
            CClubDatabase* pHome = clubs[static_cast<size_t>(nHome - 1)];
            CClubDatabase* pAway = clubs[static_cast<size_t>(nAway - 1)];
            const uint32_t dwNumber = m_pDatabaseHandler ? m_pDatabaseHandler->TakeNextFixtureID() : dwLocalNumber++;
            auto* pFixture = new CDivisionFixturesDatabase(dwNumber, date, pHome->m_wClubId, pAway->m_wClubId,
                                                           pReferee ? pReferee->GetID() : 0, DIVISION_FIXTURE_LEAGUE,
                                                           pHome->m_wHomeGroundId);
            m_lstFixtures.AddTail(pFixture);
            ForgetPostedFixtures();
            if (pReferee)
                pReferee->AddAssignment(pFixture, REFEREE_ASSIGNMENT_LEAGUE);
        }
    }
    m_NextMatchDate = dates.empty() ? CDate() : dates.front();
}

int CDivisionDatabase::MakeLeagueDates(std::vector<CDate>& dates, int nCount) const
{
    dates.clear();
    if (nCount <= 0)
        return 0;
    if (!m_SeasonStart.IsValid() || !m_SeasonEnd.IsValid() || m_SeasonEnd < m_SeasonStart) {
        DebugLog(0, "[CDivisionDatabase::MakeLeagueDates] %s has no season window", m_szName);
        return 0;
    }
    const auto size = [&dates] { return static_cast<int>(dates.size()); };

    // The season weekday, week by week.
    for (CDate date = m_SeasonStart; date <= m_SeasonEnd && size() < nCount; date += 7)
        if (IsDateFreeForDivision(date))
            dates.push_back(date);

    // Midweek dates spread over the season for the rest.
    const int nMissing = nCount - size();
    if (nMissing > 0) {
        const int nSpacing = std::max(1, m_SeasonEnd.DaysBetween(m_SeasonStart) / 7 / nMissing);
        CDate date(m_SeasonStart.GetValue(), 4);
        for (int i = 0; i < nMissing && date <= m_SeasonEnd; ++i) {
            while (date <= m_SeasonEnd && (!IsDateFreeForDivision(date) || Contains(dates, date)))
                date += 7;
            if (date > m_SeasonEnd)
                break;
            dates.push_back(date);
            date += nSpacing * 7;
        }
    }

    // A crowded season: any free day, first with a day's rest either side.
    for (int nRest : {1, 0})
        for (CDate date = m_SeasonStart; date <= m_SeasonEnd && size() < nCount; ++date)
            if (!Contains(dates, date) && IsDateFreeForDivision(date) && (nRest == 0 || !NearAny(dates, date, nRest)))
                dates.push_back(date);

    // Never fewer dates than the clubs need: the rest follow the season end.
    if (size() < nCount) {
        DebugLog(1, "[CDivisionDatabase::MakeLeagueDates] %s cannot fit %d match days into its season", m_szName,
                 nCount);
        CDate date = m_SeasonEnd;
        while (size() < nCount) {
            date += 3;
            dates.push_back(date);
        }
    }
    std::sort(dates.begin(), dates.end());
    return size();
}

// ---- free dates ----

bool CDivisionDatabase::IsNearCupDate(const CDate& date, int nNumberA, int nNumberB) const
{
    if (!m_pCountry)
        return false;
    const CDomesticCupsDatabase* pCups = m_pCountry->GetDomesticCups();
    for (int nKind : kDomesticCupKinds) {
        const ITEMCUPSTRUCTUREINFORMATION* pDefinition = pCups->GetDefinition(nKind);
        if (!pDefinition)
            continue;
        const ITEMCUPENTRYRULE* pRules = pCups->GetCupStructure(nKind);
        for (int nRound = 0; nRound < pDefinition->byRounds; ++nRound) {
            const ITEMCUPENTRYRULE* pRule = pRules ? &pRules[nRound] : nullptr;
            if (!IsNumberInRange(nNumberA, pRule) && !IsNumberInRange(nNumberB, pRule))
                continue;
            const ITEMCUPROUNDINFORMATION* pRound = pCups->GetRound(nKind, nRound);
            if (!pRound)
                continue;
            for (bool bSecond : {false, true}) {
                if (bSecond && pRound->byLegs != CUP_LEGS_TWO)
                    continue;
                CDate leg;
                if (pCups->GetRoundDate(pRound, bSecond, leg, nKind) && std::abs(leg.DaysBetween(date)) <= kCupClearDays)
                    return true;
            }
        }
    }
    return false;
}

bool CDivisionDatabase::IsDateFreeForDivision(const CDate& date) const
{
    if (date > m_SeasonEnd)
        return false;
    if (m_pCountry && m_pCountry->IsDateBlocked(date))
        return false;
    return !IsNearCupDate(date, m_byDivisionNumber, m_byDivisionNumber);
}

bool CDivisionDatabase::IsDateFreeForClubs(const CDate& date, ID_CLUB idHome, ID_CLUB idAway) const
{
    if (date > m_SeasonEnd)
        return false;
    if (m_pCountry && m_pCountry->IsDateBlocked(date))
        return false;
    auto numberOf = [this](ID_CLUB idClub) {
        const CClubDatabase* pClub = m_pCountry ? m_pCountry->IsClubOfCountry(idClub) : GetClubFromID(idClub);
        if (!pClub && m_pDatabaseHandler)
            pClub = m_pDatabaseHandler->GetClubFromID(idClub);
        return pClub && pClub->m_pDivision ? pClub->m_pDivision->m_byDivisionNumber : m_byDivisionNumber;
    };
    return !IsNearCupDate(date, numberOf(idHome), numberOf(idAway));
}

bool CDivisionDatabase::HasFixtureNear(ID_CLUB idClub, const CDate& date, int nDays) const
{
    if (m_pDatabaseHandler)
        return m_pDatabaseHandler->GetFixtureOpponent(idClub, date, nDays, 2) != nullptr;
    return GetFixtureOpponent(idClub, date, nDays, 2) >= 0;
}

void CDivisionDatabase::GetNextFreeDateForTeamsBetweenDates(CDate& date, const CDate& dateFrom, const CDate& dateTo,
                                                            ID_CLUB idHome, ID_CLUB idAway) const
{
    const int nWeeks = dateTo.DaysBetween(dateFrom) / 7;
    CDate candidate = dateFrom;
    auto clubsFree = [&](const CDate& day) {
        return !HasFixtureNear(idHome, day, kCupClearDays) && !HasFixtureNear(idAway, day, kCupClearDays);
    };
    for (int nWeek = 0; nWeek < nWeeks; ++nWeek) {
        do
            ++candidate;
        while (candidate.GetDayOfWeek() != m_bySeasonWeekday);
        if (IsDateFreeForClubs(candidate, idHome, idAway) && clubsFree(candidate)) {
            date = candidate;
            return;
        }
        do
            ++candidate;
        while (candidate.GetDayOfWeek() != m_byMidweekWeekday);
        if (IsDateFreeForDivision(candidate) && clubsFree(candidate)) {
            date = candidate;
            return;
        }
    }
    // No match day of the division is free: any day on which neither club
    // plays, first with a day's rest either side, then without.
    for (int nRest : {1, 0})
        for (CDate day(dateFrom.GetValue(), 1); day <= dateTo; ++day)
            if (!HasFixtureNear(idHome, day, nRest) && !HasFixtureNear(idAway, day, nRest)) {
                date = day;
                return;
            }
    date = CDate(dateTo.GetValue(), -3);
    DebugLog(1, "WARNING - CDivisionDatabase::GetNextFreeDateForTeamsBetweenDates : - Failed to find free data");
}

void CDivisionDatabase::TellClubsOfExtraFixture(const CDivisionFixturesDatabase& fixture) const
{
    if (!m_pDatabaseHandler)
        return;
    const CClubDatabase* pHome = m_pDatabaseHandler->GetClubFromID(fixture.GetHomeClubID());
    const CClubDatabase* pAway = m_pDatabaseHandler->GetClubFromID(fixture.GetAwayClubID());
    if (!pHome || !pAway)
        return;
    if (CNewsItem* pItem = pHome->AddNewsItem(kNewsExtraFixture))
        pItem->SetSlot(NEWS_SLOT_CLUB_B, pAway->GetID());
    if (CNewsItem* pItem = pAway->AddNewsItem(kNewsExtraFixture))
        pItem->SetSlot(NEWS_SLOT_CLUB_B, pHome->GetID());
}

void CDivisionDatabase::ScheduleExtraFixture(CDivisionFixturesDatabase* pFixture, CXList* plstReferees)
{
    if (!pFixture)
        return;
    const CDate today = Today();
    const CDate from = today > m_SeasonStart ? today : m_SeasonStart;
    CDate date;
    GetNextFreeDateForTeamsBetweenDates(date, from, m_SeasonEnd, pFixture->GetHomeClubID(), pFixture->GetAwayClubID());
    pFixture->SetDate(date);
    TellClubsOfExtraFixture(*pFixture);
    if (plstReferees && m_pDatabaseHandler)
        if (CRefereeDatabase* pReferee = m_pDatabaseHandler->FindReferee(pFixture->GetRefereeID()))
            plstReferees->AddTail(pReferee);
    SortFixturesByDate();
    m_NextMatchDate = FindNextMatchDate(today);
}

// ---- fixture questions ----

int CDivisionDatabase::CountClubMatchDays(const CDate& date, ID_CLUB idClub, int nDirection,
                                          bool bIncludePlayOffs) const
{
    LPXLISTNODE pCursor = nullptr;
    int nDays = 0;
    CDate last;
    for (pCursor = m_lstFixtures.GetHead(); pCursor; pCursor = pCursor->pNext) {
        const auto* pFixture = static_cast<const CDivisionFixturesDatabase*>(pCursor->pData);
        const CDate& day = pFixture->GetDate();
        if ((nDirection == 0 && day > date) || (nDirection != 0 && day >= date))
            break;
        if (pFixture->GetRound() == DIVISION_FIXTURE_PLAYOFF && !bIncludePlayOffs)
            break;
        if (pFixture->IsClubInvolved(idClub) && day != last) {
            ++nDays;
            last = day;
        }
    }
    return nDays;
}

int CDivisionDatabase::AdvanceFixtureCursor(const CDate& date, ID_CLUB idClub, LPXLISTNODE& pCursor, int nDirection,
                                            bool bIncludePlayOffs) const
{
    int nPassed = 0;
    if (!pCursor)
        pCursor = m_lstFixtures.GetHead();
    for (; pCursor; pCursor = pCursor->pNext) {
        const auto* pFixture = static_cast<const CDivisionFixturesDatabase*>(pCursor->pData);
        const CDate& day = pFixture->GetDate();
        if ((nDirection == 0 && day > date) || (nDirection != 0 && day >= date))
            break;
        if (pFixture->GetRound() == DIVISION_FIXTURE_PLAYOFF && !bIncludePlayOffs)
            break;
        if (pFixture->IsClubInvolved(idClub))
            ++nPassed;
    }
    return nPassed - 1;
}

bool CDivisionDatabase::GetNextFixtureDateForClub(ID_CLUB idClub, const CDate& date, CDate& next) const
{
    for (const CDivisionFixturesDatabase* p : m_lstFixtures.Items<CDivisionFixturesDatabase>())
        if (p->GetDate() > date && p->IsClubInvolved(idClub)) {
            next = p->GetDate();
            return true;
        }
    return false;
}

bool CDivisionDatabase::GetPreviousFixtureForClub(ID_CLUB idClub, const CDate& date, CDate& previous, int* pnKind,
                                                  CDivisionFixturesDatabase** ppFixture) const
{
    for (LPXLISTNODE pNode = m_lstFixtures.GetTail(); pNode; pNode = pNode->pPrev) {
        auto* p = static_cast<CDivisionFixturesDatabase*>(pNode->pData);
        if (p->GetDate() < date && p->IsClubInvolved(idClub)) {
            previous = p->GetDate();
            if (pnKind)
                *pnKind = p->GetRound();
            if (ppFixture)
                *ppFixture = p;
            return true;
        }
    }
    return false;
}

bool CDivisionDatabase::GetNextMatchDate(const CDate& date, CDate& next) const
{
    CDate best;
    for (const CDivisionFixturesDatabase* p : m_lstFixtures.Items<CDivisionFixturesDatabase>())
        if (p->GetDate() > date) {
            best = p->GetDate();
            break;
        }
    if (m_pDatabaseHandler)
        for (const CCupFixturesDatabase* p : m_pDatabaseHandler->GetCupFixtures().Items<CCupFixturesDatabase>()) {
            if (p->GetDate() <= date || p->GetKind() != CCupFixturesDatabase::KIND_FRIENDLY)
                continue;
            if (GetClubFromID(p->GetHomeClubID()) || GetClubFromID(p->GetAwayClubID())) {
                if (best.GetValue() == 0 || p->GetDate() < best)
                    best = p->GetDate();
                break;
            }
        }
    if (best.GetValue() == 0)
        return false;
    next = best;
    return true;
}

int CDivisionDatabase::GetFixtureOpponent(ID_CLUB idClub, const CDate& date, int nDays, int nWindow,
                                          CDivisionFixturesDatabase** ppFixture) const
{
    const CDate from(date.GetValue(), nWindow == 1 ? 0 : -nDays);
    const CDate to(date.GetValue(), nWindow == 0 ? 0 : nDays);
    for (CDivisionFixturesDatabase* p : m_lstFixtures.Items<CDivisionFixturesDatabase>()) {
        if (p->GetDate() > to)
            break;
        if (p->GetDate() < from || !p->IsClubInvolved(idClub))
            continue;
        if (ppFixture)
            *ppFixture = p;
        return p->GetHomeClubID() == idClub ? p->GetAwayClubID() : p->GetHomeClubID();
    }
    return -1;
}

bool CDivisionDatabase::GetLastFixtureDate(CDate& date) const
{
    LPXLISTNODE pTail = m_lstFixtures.GetTail();
    if (!pTail)
        return false;
    date = static_cast<const CDivisionFixturesDatabase*>(pTail->pData)->GetDate();
    return true;
}

CDivisionFixturesDatabase* CDivisionDatabase::GetReverseFixture(const CDivisionFixturesDatabase* pFixture) const
{
    if (!pFixture)
        return nullptr;
    for (LPXLISTNODE pNode = m_lstFixtures.GetTail(); pNode; pNode = pNode->pPrev) {
        auto* p = static_cast<CDivisionFixturesDatabase*>(pNode->pData);
        if (p != pFixture && p->GetRound() == DIVISION_FIXTURE_PLAYOFF &&
            p->GetHomeClubID() == pFixture->GetAwayClubID() && p->GetAwayClubID() == pFixture->GetHomeClubID())
            return p;
    }
    return nullptr;
}

CDivisionFixturesDatabase* CDivisionDatabase::FindFixtureByMatchNumber(uint32_t dwNumber) const
{
    for (CDivisionFixturesDatabase* p : m_lstFixtures.Items<CDivisionFixturesDatabase>())
        if (p->GetFixtureID() == dwNumber)
            return p;
    return nullptr;
}

int CDivisionDatabase::GetTotalFixtureCount() const
{
    if (m_lstFixtures.IsEmpty())
        return 0;
    const int nClubs = GetClubCount();
    int nTotal = nClubs * (nClubs - 1) / 2 * GetMeetings();
    for (const CDivisionFixturesDatabase* p : m_lstFixtures.Items<CDivisionFixturesDatabase>())
        if (p->GetRound() == DIVISION_FIXTURE_PLAYOFF)
            ++nTotal;
    return nTotal;
}

int64_t CDivisionDatabase::FindPlayedFixtureBetween(ID_CLUB idClub1, ID_CLUB idClub2, CDate& date) const
{
    for (const CDivisionFixturesDatabase* p : m_lstFixtures.Items<CDivisionFixturesDatabase>())
        if (p->IsClubInvolved(idClub1) && p->IsClubInvolved(idClub2) && idClub1 != idClub2 &&
            p->GetHomeGoals() < CDivisionFixturesDatabase::GOALS_UNPLAYED) {
            date = p->GetDate();
            return p->GetFixtureID();
        }
    return -1;
}

int CDivisionDatabase::GetNextLeagueFixture(ID_CLUB idClub, uint8_t* pbyHome, uint8_t* pbyCompetition,
                                            CDate* pDate) const
{
    const CDate today = Today();
    for (const CDivisionFixturesDatabase* p : m_lstFixtures.Items<CDivisionFixturesDatabase>()) {
        if (p->GetDate() < today || !p->IsClubInvolved(idClub))
            continue;
        const bool bHome = p->GetHomeClubID() == idClub;
        if (pbyHome)
            *pbyHome = bHome ? 1 : 0;
        if (pbyCompetition)
            *pbyCompetition = CUP_NUMBER_NONE;
        if (pDate)
            *pDate = p->GetDate();
        return bHome ? p->GetAwayClubID() : p->GetHomeClubID();
    }
    return -1;
}

CDivisionDatabase* CDivisionDatabase::GetNeighbourDivision(int nOffset) const
{
    if (!m_pCountry)
        return nullptr;
    for (CDivisionDatabase* pDivision : m_pCountry->GetDivisions().Items<CDivisionDatabase>())
        if (pDivision->m_byDivisionNumber == m_byDivisionNumber + nOffset)
            return pDivision;
    return nullptr;
}

// ---- television ----

int CDivisionDatabase::GetTelevisedCount(ID_CLUB idClub) const
{
    for (const auto& entry : m_TelevisedCounts)
        if (entry.first == idClub)
            return entry.second;
    return 0;
}

void CDivisionDatabase::PayTelevisionMoney(CClubDatabase* pHome, CClubDatabase* pAway)
{
    const int nLevel = m_pCountry ? m_pCountry->GetCountryLevel() : 50;
    BookClubMoney(pHome, nLevel * 450, FINANCE_TELEVISION_AND_LEVEL);
    BookClubMoney(pAway, nLevel * 250, FINANCE_TELEVISION_AND_LEVEL);
}

bool CDivisionDatabase::MoveFixtureForTelevision(CDivisionFixturesDatabase* pFixture)
{
    if (!pFixture)
        return false;
    const CDate moved(pFixture->GetDate().GetValue(), m_bySeasonWeekday == 6 ? 1 : -1);
    if (moved <= Today())
        return false;
    pFixture->SetDate(moved);
    m_LastTelevisionMove = moved;
    const ID_CLUB idHome = pFixture->GetHomeClubID();
    auto it = std::find_if(m_TelevisedCounts.begin(), m_TelevisedCounts.end(),
                           [idHome](const auto& entry) { return entry.first == idHome; });
    if (it == m_TelevisedCounts.end())
        m_TelevisedCounts.emplace_back(idHome, 1);
    else
        it->second = static_cast<uint8_t>(it->second + 1);
    // The running mean over the clubs, in table order, in bytes.
    bool bFirst = true;
    for (const CClubDatabase* pClub : m_lstClubsByTable.Items<CClubDatabase>()) {
        const int nCount = GetTelevisedCount(pClub->m_wClubId);
        m_byTelevisedAverage = static_cast<uint8_t>(bFirst ? nCount : (m_byTelevisedAverage + nCount) / 2);
        bFirst = false;
    }
    if (m_NextMatchDate.GetValue() == 0 || moved < m_NextMatchDate)
        m_NextMatchDate = moved;
    if (moved < m_SeasonStart)
        m_SeasonStart = moved;
    return true;
}

void CDivisionDatabase::PickTelevisedMatches()
{
    const CDate today = Today();
    int nMonth = today.GetMonth() + 1;
    int nYear = today.GetYear();
    if (nMonth > 12) {
        nMonth = 1;
        ++nYear;
    }
    const uint32_t dwMonthKey = CDate::Pack(nYear, nMonth, 0);
    std::vector<CDivisionFixturesDatabase*> fixtures;
    for (CDivisionFixturesDatabase* p : m_lstFixtures.Items<CDivisionFixturesDatabase>())
        fixtures.push_back(p);
    CDate lastTaken;
    for (CDivisionFixturesDatabase* pFixture : fixtures) {
        const CDate date = pFixture->GetDate();
        const uint32_t dwKey = CDate::Pack(date.GetYear(), date.GetMonth(), 0);
        if (dwKey > dwMonthKey)
            break;
        if (dwKey < dwMonthKey || pFixture->IsPlayed() || date.GetDayOfWeek() != m_bySeasonWeekday)
            continue;
        if (date == lastTaken || date == m_LastTelevisionMove)
            continue;
        CClubDatabase* pHome = GetClubFromID(pFixture->GetHomeClubID());
        if (!pHome || GetTelevisedCount(pHome->m_wClubId) > m_byTelevisedAverage)
            continue;
        PayTelevisionMoney(pHome, GetClubFromID(pFixture->GetAwayClubID()));
        lastTaken = date;
        MoveFixtureForTelevision(pFixture);
    }
    SortFixturesByDate();
}

// ---- targets and payments ----

void CDivisionDatabase::SetClubTargetBands()
{
    if (m_byKind != DIVISION_KIND_LEAGUE)
        return;
    std::vector<CClubDatabase*> clubs;
    for (CClubDatabase* pClub : m_lstClubsByTable.Items<CClubDatabase>())
        clubs.push_back(pClub);
    std::stable_sort(clubs.begin(), clubs.end(), [](const CClubDatabase* a, const CClubDatabase* b) {
        return a->m_byReputation + a->m_bySupportLevel < b->m_byReputation + b->m_bySupportLevel;
    });
    const size_t nQuarter = clubs.size() / 4;
    const size_t nMiddle = clubs.size() / 2;
    for (size_t i = 0; i < clubs.size(); ++i) {
        if (i < nQuarter)
            clubs[i]->m_byTargetKind = 4;
        else if (i < nQuarter + nMiddle)
            clubs[i]->m_byTargetKind = 3;
        else
            clubs[i]->m_byTargetKind = m_byDivisionNumber == 1 ? 0 : 5;
    }
}

void CDivisionDatabase::AnnounceTableZones()
{
    // Only human managers hear of the zones; a manager relegated into the
    // pool below the leagues loses his job.
    SortLeagueTable(false);
    const CDivisionDatabase* pAbove = GetNeighbourDivision(-1);
    const CDivisionDatabase* pBelow = GetNeighbourDivision(1);
    int nPlace = 0;
    const int nClubs = GetClubCount();
    for (CClubDatabase* pClub : m_lstClubsByTable.Items<CClubDatabase>()) {
        ++nPlace;
        if (nPlace == 1)
            pClub->AddNewsItem(kNewsChampions);
        else if (nPlace <= m_byPromotionZone) {
            if (!GetLinkedClub(pClub, 1))
                if (CNewsItem* pItem = pClub->AddNewsItem(kNewsPromoted))
                    pItem->SetSlot(NEWS_SLOT_DIVISION, pAbove ? pAbove->m_byDivisionId : m_byDivisionId);
        }
        else if (nPlace > nClubs - m_byRelegationZone && pBelow) {
            if (pBelow->m_byKind == DIVISION_KIND_LEAGUE) {
                if (CNewsItem* pItem = pClub->AddNewsItem(kNewsRelegated))
                    pItem->SetSlot(NEWS_SLOT_DIVISION, pBelow->m_byDivisionId);
            }
            else if (pBelow->m_byKind == DIVISION_KIND_BOTTOM_OTHER && pClub->m_wManagerId != 0 &&
                     m_pDatabaseHandler) {
                CSaveGame* pHuman = m_pDatabaseHandler->GetSaveGameForClub(pClub);
                if (pHuman)
                    pHuman->m_wLeaveReason = kLeaveRelegatedOut;
                m_pDatabaseHandler->SackManager(pClub->m_wManagerId, true);
                // A human leaves his record's club too, so that he does not
                // go on running a club that has sacked him.
                if (pHuman)
                    pHuman->LeaveClub();
            }
        }
    }
}

int32_t CDivisionDatabase::GetPaymentPerClub(int nDivisionNumber, int nCount)
{
    switch (nDivisionNumber) {
    case 1:
        return nCount * 30402;
    case 2:
        return nCount * 7250;
    case 3:
        return nCount * 5000;
    case 4:
        return nCount * 3350;
    default:
        return 0;
    }
}

void CDivisionDatabase::ApplyLevelPayments(int nCount)
{
    const int32_t nAmount = GetPaymentPerClub(nCount);
    if (nAmount == 0)
        return;
    for (CClubDatabase* pClub : m_lstClubsByTable.Items<CClubDatabase>()) {
        BookClubMoney(pClub, nAmount, FINANCE_TELEVISION_AND_LEVEL);
        // The human hears of it from the first of his staff.
        if (!pClub->m_lstStaff.IsEmpty())
            if (CNewsItem* pItem = pClub->AddNewsItem(kNewsLevelPayment))
                pItem->SetSlot(NEWS_SLOT_STAFF,
                              static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pClub->m_lstStaff.GetHead()->pData)));
    }
}
