#include "database/PersonOwners.h"

#include "common/CDate.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"

// Clubs and countries answer for themselves; a null owner gets the "none"
// answer of each query.

namespace {

CDate GameDate()
{
    const CDatabaseHandler* pHandler = CPersonDatabase::m_pDatabaseHandler;
    return pHandler ? pHandler->GetGameDate() : CDate();
}

}  // namespace

int GetCountryNationality(const CCountryDatabase* pCountry)
{
    return pCountry ? pCountry->GetID() : 0;
}

int GetCountryCurrentYear(const CCountryDatabase*)
{
    return GameDate().GetYear();
}

int GetCountrySeasonYear(const CCountryDatabase* pCountry)
{
    if (pCountry)
        return pCountry->GetSeasonYear();
    const CDate date = GameDate();
    return date.GetMonth() >= 7 ? date.GetYear() : date.GetYear() - 1;
}

int GetClubSeasonYear(const CClubDatabase*)
{
    const CDatabaseHandler* pHandler = CPersonDatabase::m_pDatabaseHandler;
    return GetCountrySeasonYear(pHandler ? pHandler->GetFirstCountry() : nullptr);
}

ID_CLUB GetClubIdOf(const CClubDatabase* pClub)
{
    return pClub ? pClub->m_wClubId : 0;
}

CCountryDatabase* GetClubCountry(CClubDatabase* pClub)
{
    return pClub ? pClub->m_pCountry : nullptr;
}

CDivisionDatabase* GetClubDivision(CClubDatabase* pClub)
{
    return pClub ? pClub->m_pDivision : nullptr;
}

bool IsClubHumanManaged(const CClubDatabase* pClub)
{
    const CDatabaseHandler* pHandler = CPersonDatabase::m_pDatabaseHandler;
    return pClub && pHandler && pHandler->GetSaveGameForClub(pClub) != nullptr;
}

int GetClubLevel(const CClubDatabase* pClub)
{
    return pClub ? pClub->m_byReputation : -1;
}

void CPlayerDatabase::GetValueBandFactors(VALUEBANDFACTORS& factors) const
{
    factors = VALUEBANDFACTORS();
    factors.bHasClub = m_pClub != nullptr;
    factors.bHasCountry = m_pCountry != nullptr;
}
