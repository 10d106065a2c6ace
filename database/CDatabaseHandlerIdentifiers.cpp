// Identifier tables of the database root and the free-identifier pool.
#include "database/CDatabaseHandler.h"

#include "common/DebugLog.h"

LPITEMPLAYERINFORMATION CDatabaseHandler::GetPlayerInformation(ID_PLAYER idPlayer) const
{
    if (idPlayer == 0 || idPlayer > static_cast<ID_PLAYER>(m_PlayerTable.GetSize()))
        return nullptr;
    return static_cast<LPITEMPLAYERINFORMATION>(m_PlayerTable.GetAt(static_cast<int>(idPlayer - 1)));
}

LPITEMMANAGERINFORMATION CDatabaseHandler::GetManagerInformation(ID_MANAGER idManager) const
{
    if (idManager == 0)
        return nullptr;
    return static_cast<LPITEMMANAGERINFORMATION>(m_ManagerTable.GetAt(idManager));
}

CPlayerDatabase* CDatabaseHandler::GetPlayerFromID(ID_PLAYER idPlayer)
{
    const LPITEMPLAYERINFORMATION pEntry = GetPlayerInformation(idPlayer);
    if (!pEntry || (pEntry->dwFlags & PLAYERINFO_YOUTH))
        return nullptr;
    if (pEntry->dwFlags & PLAYERINFO_RETIRED) {
        DebugLog(8, "CDatabaseHandler::GetPlayerFromID - Loading retired player");
        return LoadPlayerRetired(pEntry);
    }
    return pEntry->pPlayer;
}

CYouthDatabase* CDatabaseHandler::GetYouthFromID(ID_PLAYER idPlayer)
{
    const LPITEMPLAYERINFORMATION pEntry = GetPlayerInformation(idPlayer);
    if (!pEntry || !(pEntry->dwFlags & PLAYERINFO_YOUTH))
        return nullptr;
    return pEntry->pYouth;
}

CManagerDatabase* CDatabaseHandler::GetManagerFromID(ID_MANAGER idManager)
{
    const LPITEMMANAGERINFORMATION pEntry = GetManagerInformation(idManager);
    if (!pEntry)
        return nullptr;
    switch (pEntry->byState) {
    case MANAGERSTATE_RETIRED:
        return LoadRetiredManager(idManager);
    case MANAGERSTATE_EMPLOYED:
    case MANAGERSTATE_POOL:
        return pEntry->pManager;
    default:
        return nullptr;
    }
}

uint8_t CDatabaseHandler::GetManagerState(ID_MANAGER idManager) const
{
    const LPITEMMANAGERINFORMATION pEntry = GetManagerInformation(idManager);
    return pEntry ? pEntry->byState : 0;
}

CManagerDatabase* CDatabaseHandler::GetPoolManager(ID_MANAGER idManager) const
{
    const LPITEMMANAGERINFORMATION pEntry = GetManagerInformation(idManager);
    return pEntry && (pEntry->byState & MANAGERSTATE_POOL) ? pEntry->pManager : nullptr;
}

CManagerDatabase* CDatabaseHandler::GetEmployedManager(ID_MANAGER idManager) const
{
    const LPITEMMANAGERINFORMATION pEntry = GetManagerInformation(idManager);
    return pEntry && (pEntry->byState & MANAGERSTATE_EMPLOYED) ? pEntry->pManager : nullptr;
}

CStaffDatabase* CDatabaseHandler::ReloadRetiredStaff(ID_STAFF idStaff)
{
    DebugLog(8, "CDatabaseHandler::GetStaffFromID - Loading retired staff");
    return LoadRetiredStaff(idStaff);
}

CClubDatabase* CDatabaseHandler::GetClubFromID(ID_CLUB idClub) const
{
    if (idClub < 1 || idClub > m_nClubTotal)
        return nullptr;
    return static_cast<CClubDatabase*>(m_ClubTable.GetAt(idClub - 1));
}

void CDatabaseHandler::ResetClubTable(int nClubTotal)
{
    m_ClubTable.SetSize(0);
    m_nClubTotal = nClubTotal > 0 && nClubTotal <= 0xFFFF ? nClubTotal : 0;
    m_ClubTable.SetSize(m_nClubTotal);
}

void CDatabaseHandler::SetClubInTable(ID_CLUB idClub, CClubDatabase* pClub)
{
    if (idClub < 1 || idClub > m_nClubTotal) {
        DebugLog(0, "[CDatabaseHandler::SetClubInTable] Club identifier %d outside 1..%d", idClub, m_nClubTotal);
        return;
    }
    m_ClubTable.SetAt(idClub - 1, pClub);
}

void CDatabaseHandler::AddManagerToIDTable(ID_MANAGER idManager, CManagerDatabase* pManager, uint8_t byState)
{
    if (idManager == 0) {
        DebugLog(0, "[CDatabaseHandler::AddManagerToIDTable] Manager without identifier");
        return;
    }
    // An entry already at this identifier is replaced, not leaked.
    delete GetManagerInformation(idManager);
    LPITEMMANAGERINFORMATION pEntry = new ITEMMANAGERINFORMATION;
    pEntry->byState = byState;
    pEntry->pManager = pManager;
    m_ManagerTable.SetAtGrow(idManager, pEntry);
}

void CDatabaseHandler::AddStaffToIDTable(ID_STAFF idStaff, CStaffDatabase* pStaff, uint32_t dwFlags)
{
    if (idStaff == 0) {
        DebugLog(0, "[CDatabaseHandler::AddStaffToIDTable] Staff member without identifier");
        return;
    }
    delete GetStaffInformation(idStaff);
    LPITEMSTAFFINFORMATION pEntry = new ITEMSTAFFINFORMATION;
    pEntry->dwFlags = dwFlags;
    pEntry->pStaff = pStaff;
    m_StaffTable.SetAtGrow(idStaff, pEntry);
}

void CDatabaseHandler::AddPlayerToIDTable(ID_PLAYER idPlayer, CPlayerDatabase* pPlayer, bool bReuse)
{
    if (idPlayer == 0 || idPlayer > 0x7FFFFFFF) {
        DebugLog(0, "[CDatabaseHandler::AddPlayerToIDTable] Bad player identifier %u", idPlayer);
        return;
    }
    LPITEMPLAYERINFORMATION pEntry = GetPlayerInformation(idPlayer);
    if (!bReuse || !pEntry) {
        delete pEntry;
        pEntry = new ITEMPLAYERINFORMATION;
        m_PlayerTable.SetAtGrow(static_cast<int>(idPlayer - 1), pEntry);
    }
    *pEntry = ITEMPLAYERINFORMATION{};
    pEntry->pPlayer = pPlayer;
    ++m_nPlayersInTable;
}

void CDatabaseHandler::AddPlayerToIDTable(ID_PLAYER idPlayer, CYouthDatabase* pYouth)
{
    if (idPlayer == 0 || idPlayer > 0x7FFFFFFF) {
        DebugLog(0, "[CDatabaseHandler::AddPlayerToIDTable] Bad youth identifier %u", idPlayer);
        return;
    }
    delete GetPlayerInformation(idPlayer);
    LPITEMPLAYERINFORMATION pEntry = new ITEMPLAYERINFORMATION;
    pEntry->dwFlags = PLAYERINFO_YOUTH;
    pEntry->pYouth = pYouth;
    m_PlayerTable.SetAtGrow(static_cast<int>(idPlayer - 1), pEntry);
    ++m_nYouthsInTable;
}

void CDatabaseHandler::RemovePlayerFromIDTable(bool bYouth, ID_PLAYER idPlayer, bool bClear)
{
    const LPITEMPLAYERINFORMATION pEntry = GetPlayerInformation(idPlayer);
    if (!pEntry) {
        DebugLog(0, "[CDatabaseHandler::RemovePlayerFromIDTable] No entry for player %u", idPlayer);
        return;
    }
    if (bYouth)
        --m_nYouthsInTable;
    else
        --m_nPlayersInTable;
    if (bClear)
        pEntry->dwFlags = 0;
}

void CDatabaseHandler::AddFreeIdentifier(uint32_t dwIdentifier)
{
    m_lstFreeIdentifiers.AddTail(new uint32_t(dwIdentifier));
}

uint32_t CDatabaseHandler::GetFreeIdentifier()
{
    if (m_lstFreeIdentifiers.IsEmpty())
        return ++m_dwLastFreeIdentifier;
    uint32_t* pCell = static_cast<uint32_t*>(m_lstFreeIdentifiers.RemoveHead());
    const uint32_t dwIdentifier = *pCell;
    delete pCell;
    return dwIdentifier;
}
