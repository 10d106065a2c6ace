#include "database/PersonOwners.h"

#include "common/CDate.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"

// Countries, divisions and clubs are not records of this library yet: every
// person has no owner, and each query gives its "none" answer. The country
// and club records answer the rest when they join.

namespace {

CDate GameDate()
{
    const CDatabaseHandler* pHandler = CPersonDatabase::m_pDatabaseHandler;
    return pHandler ? pHandler->GetGameDate() : CDate();
}

}  // namespace

int GetCountryNationality(const CCountryDatabase*)
{
    return 0;
}

int GetCountryCurrentYear(const CCountryDatabase*)
{
    return GameDate().GetYear();
}

int GetCountrySeasonYear(const CCountryDatabase*)
{
    const CDate date = GameDate();
    return date.GetMonth() >= 7 ? date.GetYear() : date.GetYear() - 1;
}

int GetClubSeasonYear(const CClubDatabase*)
{
    const CDatabaseHandler* pHandler = CPersonDatabase::m_pDatabaseHandler;
    return GetCountrySeasonYear(pHandler ? pHandler->GetFirstCountry() : nullptr);
}

ID_CLUB GetClubIdOf(const CClubDatabase*)
{
    return 0;
}

CCountryDatabase* GetClubCountry(CClubDatabase*)
{
    return nullptr;
}

CDivisionDatabase* GetClubDivision(CClubDatabase*)
{
    return nullptr;
}

bool IsClubHumanManaged(const CClubDatabase*)
{
    return false;
}

int GetClubLevel(const CClubDatabase*)
{
    return -1;
}

void CPlayerDatabase::GetValueBandFactors(VALUEBANDFACTORS& factors) const
{
    factors = VALUEBANDFACTORS();
    factors.bHasClub = m_pClub != nullptr;
    factors.bHasCountry = m_pCountry != nullptr;
}
