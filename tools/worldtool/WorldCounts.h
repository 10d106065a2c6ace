#pragma once

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"

namespace tools {

// The players under contract at the clubs of every division: what a
// season's work grows with (the player table also holds every identifier
// ever issued).
inline long countPlayersAtClubs(const CDatabaseHandler& handler)
{
    long nPlayers = 0;
    for (const CCountryDatabase* pCountry : handler.GetCountries().Items<CCountryDatabase>())
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                nPlayers += pClub->m_lstPlayers.GetCount();
    return nPlayers;
}

}  // namespace tools
