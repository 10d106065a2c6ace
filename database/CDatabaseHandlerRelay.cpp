// The clubs' players laid out again squad after squad (CPlayerRelocation),
// with every holder of a player pointer pointed at the new places.
#include "database/CDatabaseHandler.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CPlayerRelocation.h"
#include "database/IdentifierEntries.h"
#include "season/CSaveGame.h"

#include <vector>

int CDatabaseHandler::RelayPlayerRecords()
{
    // Each club's squad, then the players it has on loan, the clubs in the
    // order of the weekly steps; a player met twice keeps his first place
    // (marked by identifier). Only the records the identifier table holds for
    // players in memory move.
    std::vector<CPlayerDatabase*> order;
    order.reserve(static_cast<size_t>(m_PlayerTable.GetSize()));
    std::vector<bool> taken(static_cast<size_t>(m_PlayerTable.GetSize()) + 1, false);
    const auto take = [&](const CXList& list) {
        for (CPlayerDatabase* pPlayer : list.Items<CPlayerDatabase>()) {
            const LPITEMPLAYERINFORMATION pEntry = pPlayer ? GetPlayerInformation(pPlayer->m_idPerson) : nullptr;
            if (!pEntry || pEntry->pPlayer != pPlayer || (pEntry->dwFlags & (PLAYERINFO_YOUTH | PLAYERINFO_RETIRED)))
                continue;
            const size_t nId = pPlayer->m_idPerson;
            if (nId < taken.size() && !taken[nId]) {
                taken[nId] = true;
                order.push_back(pPlayer);
            }
        }
    };
    // The squad and staff lists' nodes, reused and spread over blocks as players come
    // and go, are laid in list order first: each walk over a squad then
    // reads its nodes from adjacent lines.
    for (const CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
                pClub->m_lstPlayers.Compact();
                pClub->m_lstLoanIns.Compact();
                pClub->m_lstYouths.Compact();
                pClub->m_lstStaff.Compact();
                take(pClub->m_lstPlayers);
                take(pClub->m_lstLoanIns);
            }
    const CPlayerRelocation relocation(order);
    if (relocation.GetMovedCount() == 0)
        return 0;

    // The places are those the records held between them: each now holds a
    // record whose identifier names the table entry to point at it.
    for (CPlayerDatabase* pPlace : order)
        GetPlayerInformation(pPlace->m_idPerson)->pPlayer = pPlace;
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>()) {
        pCountry->UpdatePlayerPlaces(relocation);
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
                relocation.UpdateList(pClub->m_lstPlayers);
                relocation.UpdateList(pClub->m_lstLoanIns);
                for (CLUBPENDINGPAYMENT* pPayment : pClub->m_lstPendingPayments.Items<CLUBPENDINGPAYMENT>())
                    pPayment->pPlayer = relocation.NewPlace(pPayment->pPlayer);
            }
    }
    for (CPlayerDatabase*& pPlayer : m_pRetiredPlayers)
        pPlayer = relocation.NewPlace(pPlayer);
    for (CSaveGame* pHuman : m_pHumanSlots)
        if (pHuman)
            pHuman->UpdatePlayerPlaces(relocation);
    return relocation.GetMovedCount();
}
