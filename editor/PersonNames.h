#pragma once
// Every person of a loaded world that holds dictionary names: players, youth
// players, managers and staff (staff have a last name only), reached through
// the identifier tables so that none is missed, squad or pool alike. Records
// kept only in retirement files are not in memory and are not reached; the
// editor refuses a world in play for that reason.
#include "database/CDatabaseHandler.h"
#include "database/CManagerDatabase.h"
#include "database/CPersonDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CStaffDatabase.h"
#include "database/CYouthDatabase.h"

// visit(const char*& pszName, uint32_t& dwOffset) for the names of one kind
// (NAMEDICTIONARY_FIRST or NAMEDICTIONARY_LAST). Names without an offset (a
// manager with none) are left out.
template <typename Visit>
void ForEachPersonName(CDatabaseHandler& handler, int nDictionary, Visit visit)
{
    const bool bFirst = nDictionary == NAMEDICTIONARY_FIRST;
    auto person = [&](CPersonDatabase* pPerson) {
        if (pPerson)
            visit(bFirst ? pPerson->m_pszFirstName : pPerson->m_pszLastName,
                  bFirst ? pPerson->m_dwFirstNameOffset : pPerson->m_dwLastNameOffset);
    };
    for (int i = 1; i <= handler.GetPlayerTableSize(); ++i) {
        const LPITEMPLAYERINFORMATION pEntry = handler.GetPlayerInformation(static_cast<ID_PLAYER>(i));
        if (!pEntry || (pEntry->dwFlags & PLAYERINFO_RETIRED))
            continue;
        if (pEntry->dwFlags & PLAYERINFO_YOUTH)
            person(pEntry->pYouth);
        else
            person(pEntry->pPlayer);
    }
    for (int i = 1; i < handler.GetManagerTableSize(); ++i) {
        const LPITEMMANAGERINFORMATION pEntry = handler.GetManagerInformation(static_cast<ID_MANAGER>(i));
        if (!pEntry || !pEntry->pManager || !(pEntry->byState & (MANAGERSTATE_EMPLOYED | MANAGERSTATE_POOL)))
            continue;
        CManagerDatabase* pManager = pEntry->pManager;
        uint32_t& dwOffset = bFirst ? pManager->m_dwFirstNameOffset : pManager->m_dwLastNameOffset;
        if (dwOffset != MANAGER_NO_NAME)
            visit(bFirst ? pManager->m_pszFirstName : pManager->m_pszLastName, dwOffset);
    }
    if (bFirst)
        return;
    for (int i = 1; i < handler.GetStaffTableSize(); ++i) {
        const LPITEMSTAFFINFORMATION pEntry = handler.GetStaffInformation(static_cast<ID_STAFF>(i));
        if (pEntry && pEntry->pStaff && !(pEntry->dwFlags & STAFFINFO_RETIRED))
            visit(pEntry->pStaff->m_pszLastName, pEntry->pStaff->m_dwLastNameOffset);
    }
}
