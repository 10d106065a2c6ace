// The root's side of the people records: the class-wide root pointer,
// registration in the identifier tables and the countries they draw from.
#include "common/DebugLog.h"
#include "database/CDatabaseHandler.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CStaffDatabase.h"
#include "platform/Random.h"

#include <cstdint>

CDatabaseHandler::PEOPLELINK::PEOPLELINK(CDatabaseHandler* pHandler)
{
    CPersonDatabase::m_pDatabaseHandler = pHandler;
    CManagerDatabase::m_pDatabaseHandler = pHandler;
    CStaffDatabase::m_pDatabaseHandler = pHandler;
}

CDatabaseHandler::PEOPLELINK::~PEOPLELINK()
{
    CPersonDatabase::m_pDatabaseHandler = nullptr;
    CManagerDatabase::m_pDatabaseHandler = nullptr;
    CStaffDatabase::m_pDatabaseHandler = nullptr;
}

void CDatabaseHandler::RegisterPlayer(CPlayerDatabase* pPlayer)
{
    ++m_nPlayerCount;
    AddPlayerToIDTable(pPlayer->m_idPerson, pPlayer, false);
}

void CDatabaseHandler::UnregisterPlayer(CPlayerDatabase* pPlayer)
{
    LPITEMPLAYERINFORMATION pEntry = GetPlayerInformation(pPlayer->m_idPerson);
    if (!pEntry || pEntry->pPlayer != pPlayer)
        return;
    RemovePlayerFromIDTable(false, pPlayer->m_idPerson, true);
    pEntry->pPlayer = nullptr;
}

void CDatabaseHandler::RegisterManager(CManagerDatabase* pManager, uint8_t byState)
{
    AddManagerToIDTable(pManager->GetId(), pManager, byState);
    if (byState == MANAGERSTATE_POOL)
        ++m_wPoolManagers;
    ++m_wNextManagerID;
}

void CDatabaseHandler::RegisterStaff(CStaffDatabase* pStaff, uint32_t dwState)
{
    AddStaffToIDTable(pStaff->GetId(), pStaff, dwState);
    if (dwState == STAFFINFO_POOL) {
        // The pool list holds identifiers as values, not pointers.
        m_lstStaffPool.AddTail(reinterpret_cast<void*>(static_cast<uintptr_t>(pStaff->GetId())));
        ++m_wPoolStaff;
    }
    ++m_wNextStaffID;
}

CCountryDatabase* CDatabaseHandler::GetFirstCountry() const
{
    return m_lstCountries.IsEmpty() ? nullptr : static_cast<CCountryDatabase*>(m_lstCountries.GetHead()->pData);
}

CCountryDatabase* CDatabaseHandler::GetRandomLeadingCountry() const
{
    const int nCount = m_lstCountries.GetCount() < 9 ? m_lstCountries.GetCount() : 9;
    if (nCount == 0)
        return nullptr;
    LPXLISTNODE pNode = m_lstCountries.GetAt(plat::rand() % nCount);
    return pNode ? static_cast<CCountryDatabase*>(pNode->pData) : nullptr;
}
