// The root's side of the fixtures: where a cup, play-off or friendly match is
// played, whether a club or a ground is free on a date, a club's fixture
// round a date, and the end of the present season.
#include "database/CDatabaseHandler.h"

#include <vector>

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "platform/Random.h"
#include "season/CComponentScheduleDatabase.h"
#include "season/CGroundDatabase.h"

namespace {

// Countries considered for a match in a third country.
constexpr int kNeutralCountries = 9;

// The club by identifier: the club table, else a walk over the countries
// (the table is rebuilt only after a load).
CClubDatabase* FindClub(const CDatabaseHandler& handler, ID_CLUB idClub)
{
    if (idClub == 0)
        return nullptr;
    if (CClubDatabase* pClub = handler.GetClubFromID(idClub))
        return pClub;
    for (const CCountryDatabase* pCountry : handler.GetCountries().Items<CCountryDatabase>())
        if (CClubDatabase* pClub = pCountry->IsClubOfCountry(idClub))
            return pClub;
    return nullptr;
}

bool InWindow(const CDate& day, const CDate& date, int nDays, int nWindow)
{
    const CDate from(date.GetValue(), nWindow == 1 ? 0 : -nDays);
    const CDate to(date.GetValue(), nWindow == 0 ? 0 : nDays);
    return day >= from && day <= to;
}

}  // namespace

ID_GROUND CDatabaseHandler::GenerateFixtureGround(uint8_t byVenue, ID_CLUB idHome, ID_CLUB idAway) const
{
    const CClubDatabase* pHome = FindClub(*this, idHome);
    const CCountryDatabase* pCountry = pHome ? pHome->m_pCountry : nullptr;
    switch (byVenue) {
    case 0:
        return pHome ? pHome->m_wHomeGroundId : 0;
    case 2:
        if (pCountry && pCountry->GetNationalGroundID() != 0)
            return pCountry->GetNationalGroundID();
        [[fallthrough]];
    case 1:
        return pCountry ? pCountry->ChooseGroundForClubs(idHome, idAway) : 0;
    case 3:
        return GetNeutralCountryGround(idHome, idAway);
    default:
        DebugLog(1, "[GenerateFixtureGround] :: Unknown rules venue");
        return 0;
    }
}

ID_GROUND CDatabaseHandler::GetNeutralCountryGround(ID_CLUB idHome, ID_CLUB idAway) const
{
    const CClubDatabase* pHome = FindClub(*this, idHome);
    const CClubDatabase* pAway = FindClub(*this, idAway);
    // Drawn once from the countries that qualify, so that the choice ends
    // however few there are.
    std::vector<const CCountryDatabase*> eligible;
    int nSeen = 0;
    for (const CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>()) {
        if (nSeen++ == kNeutralCountries)
            break;
        if ((pHome && pHome->m_pCountry == pCountry) || (pAway && pAway->m_pCountry == pCountry))
            continue;
        eligible.push_back(pCountry);
    }
    if (eligible.empty()) {
        DebugLog(1, "[CDatabaseHandler::GetNeutralCountryGround] No third country for clubs %u and %u", idHome,
                 idAway);
        return pHome && pHome->m_pCountry ? pHome->m_pCountry->ChooseGroundForClubs(idHome, idAway) : 0;
    }
    const CCountryDatabase* pCountry = eligible[static_cast<size_t>(plat::rand()) % eligible.size()];
    if (pCountry->GetNationalGroundID() != 0)
        return pCountry->GetNationalGroundID();
    return pCountry->ChooseGroundForClubs(idHome, idAway);
}

bool CDatabaseHandler::IsGroundFreeOnDate(const CDate& date, ID_GROUND idGround) const
{
    for (const CCupFixturesDatabase* p : m_lstCupFixtures.Items<CCupFixturesDatabase>()) {
        if (p->GetDate() > date)
            break;
        if (p->GetDate() == date && p->GetGroundID() == idGround)
            return false;
    }
    return true;
}

bool CDatabaseHandler::CanClubHostOnDate(const CDate& date, const CClubDatabase* pClub) const
{
    if (!pClub)
        return false;
    CDivisionFixturesDatabase* pLeague = nullptr;
    if (pClub->m_pDivision && pClub->m_pDivision->GetFixtureOpponent(pClub->m_wClubId, date, 1, 2, &pLeague) >= 0 &&
        pLeague && pLeague->GetHomeClubID() == pClub->m_wClubId)
        return false;
    if (pClub->m_pCountry)
        for (const CCupFixturesDatabase* p : pClub->m_pCountry->GetCupFixtures().Items<CCupFixturesDatabase>()) {
            if (p->GetDate() > date)
                break;
            if (p->GetDate() == date && p->GetGroundID() == pClub->m_wHomeGroundId)
                return false;
        }
    return IsGroundFreeOnDate(date, pClub->m_wHomeGroundId);
}

CClubDatabase* CDatabaseHandler::GetFixtureOpponent(ID_CLUB idClub, const CDate& date, int nDays, int nWindow,
                                                    void** ppFixture, int* pnKind) const
{
    const CClubDatabase* pClub = FindClub(*this, idClub);
    int nOpponent = -1;
    void* pFound = nullptr;
    int nKind = 0;
    if (pClub && pClub->m_pDivision) {
        CDivisionFixturesDatabase* pLeague = nullptr;
        nOpponent = pClub->m_pDivision->GetFixtureOpponent(idClub, date, nDays, nWindow, &pLeague);
        pFound = pLeague;
    }
    auto search = [&](const CXList& fixtures, int nListKind) {
        for (CCupFixturesDatabase* p : fixtures.Items<CCupFixturesDatabase>())
            if (p->IsClubInvolved(idClub) && InWindow(p->GetDate(), date, nDays, nWindow)) {
                nOpponent = p->GetHomeClubID() == idClub ? p->GetAwayClubID() : p->GetHomeClubID();
                pFound = p;
                nKind = nListKind == 2 && p->GetKind() == CCupFixturesDatabase::KIND_FRIENDLY ? 3 : nListKind;
                return;
            }
    };
    if (nOpponent < 0 && pClub && pClub->m_pCountry)
        search(pClub->m_pCountry->GetCupFixtures(), 1);
    if (nOpponent < 0)
        search(m_lstCupFixtures, 2);
    if (nOpponent < 0)
        return nullptr;
    if (ppFixture)
        *ppFixture = pFound;
    if (pnKind)
        *pnKind = nKind;
    return FindClub(*this, static_cast<ID_CLUB>(nOpponent));
}

CCupFixturesDatabase* CDatabaseHandler::FindCupFixtureOnDate(ID_CLUB idClub, const CDate& date) const
{
    const CClubDatabase* pClub = FindClub(*this, idClub);
    auto search = [&](const CXList& fixtures) -> CCupFixturesDatabase* {
        for (CCupFixturesDatabase* p : fixtures.Items<CCupFixturesDatabase>())
            if (p->GetDate() == date && p->IsClubInvolved(idClub))
                return p;
        return nullptr;
    };
    CCupFixturesDatabase* pFound = pClub && pClub->m_pCountry ? search(pClub->m_pCountry->GetCupFixtures()) : nullptr;
    return pFound ? pFound : search(m_lstCupFixtures);
}

void CDatabaseHandler::GetSeasonEndDate(CDate& date) const
{
    int nYear = m_GameDate.GetYear();
    if (nYear == 1999)
        nYear = 2000;
    CDate monday;
    monday.SetNthWeekday(7, nYear, 1, 1);
    if (m_GameDate > monday)
        monday.SetNthWeekday(7, nYear + 1, 1, 1);
    date = CDate(monday.GetValue(), -1);
}

CComponentScheduleDatabase* CDatabaseHandler::FindComponentSchedule(uint32_t dwScheduleID) const
{
    auto search = [dwScheduleID](const CGroundDatabase* pGround) -> CComponentScheduleDatabase* {
        if (pGround)
            for (CComponentScheduleDatabase* p : pGround->GetSchedules().Items<CComponentScheduleDatabase>())
                if (p->GetID() == dwScheduleID)
                    return p;
        return nullptr;
    };
    for (const CGroundDatabase* pGround : m_lstGrounds.Items<CGroundDatabase>())
        if (CComponentScheduleDatabase* p = search(pGround))
            return p;
    // Grounds not (yet) in the root's list are still reached through their clubs.
    for (const CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                if (CComponentScheduleDatabase* p = search(pClub->m_pGround))
                    return p;
    return nullptr;
}
