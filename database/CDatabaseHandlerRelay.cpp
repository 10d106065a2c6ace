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

#include <unordered_set>
#include <vector>

int CDatabaseHandler::RelayPlayerRecords()
{
    // Each club's squad, then the players it has on loan, the clubs in the
    // order of the weekly steps; a player met twice keeps his first place.
    std::vector<CPlayerDatabase*> order;
    order.reserve(static_cast<size_t>(m_PlayerTable.GetSize()));
    std::unordered_set<const CPlayerDatabase*> seen;
    seen.reserve(static_cast<size_t>(m_PlayerTable.GetSize()));
    const auto take = [&](const CXList& list) {
        for (CPlayerDatabase* pPlayer : list.Items<CPlayerDatabase>())
            if (pPlayer && seen.insert(pPlayer).second)
                order.push_back(pPlayer);
    };
    for (const CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
                take(pClub->m_lstPlayers);
                take(pClub->m_lstLoanIns);
            }
    const CPlayerRelocation relocation(order);
    if (relocation.GetMovedCount() == 0)
        return 0;

    for (int i = 0; i < m_PlayerTable.GetSize(); ++i)
        if (auto* pEntry = static_cast<LPITEMPLAYERINFORMATION>(m_PlayerTable.GetAt(i)))
            pEntry->pPlayer = relocation.NewPlace(pEntry->pPlayer);
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
