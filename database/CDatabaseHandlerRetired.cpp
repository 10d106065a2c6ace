// Retired players, managers and staff leave memory for three files of the
// game in play; their identifier entries keep the file position, and a lookup
// reloads the record into a ring of ten per kind.
#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CDatabaseHandler.h"
#include "database/CManagerDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CStaffDatabase.h"
#include "platform/Files.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

const char kRetiredPlayerFile[] = "temp.rtp";
const char kRetiredManagerFile[] = "temp.rtm";
const char kRetiredStaffFile[] = "temp.rts";

// Opens a retired file for appending; the position where the next record
// will start, or -1.
FILE* OpenForAppend(const char* pszPath, long& nPosition)
{
    FILE* pFile = plat::openFile(pszPath, "ab");
    if (!pFile)
        return nullptr;
    if (std::fseek(pFile, 0, SEEK_END) != 0 || (nPosition = std::ftell(pFile)) < 0) {
        std::fclose(pFile);
        return nullptr;
    }
    return pFile;
}

FILE* OpenAt(const char* pszPath, uint32_t dwPosition)
{
    FILE* pFile = plat::openFile(pszPath, "rb");
    if (pFile && std::fseek(pFile, static_cast<long>(dwPosition), SEEK_SET) != 0) {
        std::fclose(pFile);
        return nullptr;
    }
    return pFile;
}

// Puts a record in the next slot of a ring, destroying the one it replaces.
template <typename T>
void PutInRing(T* (&apRing)[RETIRED_CACHE_SLOTS], int32_t& nRing, T* pRecord)
{
    nRing = (nRing + 1) % RETIRED_CACHE_SLOTS;
    delete apRing[nRing];
    apRing[nRing] = pRecord;
}

// Walks a retired-record file from its start; every record read is handed,
// with its position in the file, to onRecord, which takes it or refuses it.
// A damaged or refused record stops the walk and the result is false. No file
// means nobody of that kind has retired yet.
template <typename TRecord, typename TMake, typename TOnRecord>
bool ReadRetiredFile(const char* pszFile, const char* pszCaller, TMake makeRecord, TOnRecord onRecord)
{
    if (!plat::fileExists(pszFile))
        return true;
    // Read in one piece and parsed from memory.
    std::vector<uint8_t> bytes;
    if (!plat::readWholeFile(pszFile, bytes)) {
        DebugLog(0, "[CDatabaseHandler::%s] %s cannot be read", pszCaller, pszFile);
        return false;
    }
    CBinaryReader reader(bytes);
    while (reader.Remaining() > 0) {
        const int64_t nPosition = reader.Consumed();
        TRecord* pRecord = makeRecord(reader);
        if (!pRecord->IsLoaded()) {
            DebugLog(0, "[CDatabaseHandler::%s] %s is damaged at %lld", pszCaller, pszFile,
                     static_cast<long long>(nPosition));
            delete pRecord;
            return false;
        }
        if (!onRecord(pRecord, static_cast<uint32_t>(nPosition))) {
            DebugLog(0, "[CDatabaseHandler::%s] The record at %lld of %s is not one of this world's retired",
                     pszCaller, static_cast<long long>(nPosition), pszFile);
            delete pRecord;
            return false;
        }
    }
    return true;
}

}  // namespace

bool CDatabaseHandler::SavePlayerRetired(LPITEMPLAYERINFORMATION pPlayerInfo)
{
    if (!pPlayerInfo)
        return false;
    if (pPlayerInfo->dwFlags & PLAYERINFO_YOUTH) {
        DebugLog(0, "SavePlayerRetired(LPITEMPLAYERINFORMATION pPlayerInfo) - Trying to save a retired youhtplayer");
        return false;
    }
    CPlayerDatabase* pPlayer = pPlayerInfo->pPlayer;
    if (!pPlayer || (pPlayerInfo->dwFlags & PLAYERINFO_RETIRED))
        return false;
    long nPosition = 0;
    FILE* pFile = OpenForAppend(kRetiredPlayerFile, nPosition);
    if (!pFile)
        return false;
    CBinaryWriter writer(pFile);
    const bool bWritten = pPlayer->SaveShort(writer);
    const bool bClosed = std::fclose(pFile) == 0;
    if (!bWritten || !bClosed) {
        // He stays in memory: nothing is lost.
        DebugLog(0, "[CDatabaseHandler::SavePlayerRetired] Could not write player %u", pPlayer->m_idPerson);
        return false;
    }
    const uint32_t dwFlags = pPlayerInfo->dwFlags;
    delete pPlayer;
    pPlayerInfo->dwFlags = dwFlags | PLAYERINFO_RETIRED;
    pPlayerInfo->pPlayer = nullptr;
    pPlayerInfo->dwRetiredPosition = static_cast<uint32_t>(nPosition);
    ++m_nRetiredPlayers;
    return true;
}

bool CDatabaseHandler::RetireManager(ID_MANAGER idManager)
{
    LPITEMMANAGERINFORMATION pEntry = GetManagerInformation(idManager);
    if (!pEntry || !pEntry->pManager || pEntry->byState == MANAGERSTATE_RETIRED)
        return false;
    CManagerDatabase* pManager = pEntry->pManager;
    long nPosition = 0;
    FILE* pFile = OpenForAppend(kRetiredManagerFile, nPosition);
    if (!pFile)
        return false;
    pManager->MarkRetired();
    CBinaryWriter writer(pFile);
    const bool bWritten = pManager->Save(writer);
    const bool bClosed = std::fclose(pFile) == 0;
    if (!bWritten || !bClosed) {
        DebugLog(0, "[CDatabaseHandler::RetireManager] Could not write manager %u", idManager);
        return false;
    }
    delete pManager;
    pEntry->byState = MANAGERSTATE_RETIRED;
    pEntry->pManager = nullptr;
    pEntry->dwRetiredPosition = static_cast<uint32_t>(nPosition);
    ++m_wRetiredManagers;
    return true;
}

bool CDatabaseHandler::RetireStaff(ID_STAFF idStaff)
{
    LPITEMSTAFFINFORMATION pEntry = GetStaffInformation(idStaff);
    if (!pEntry || !pEntry->pStaff || (pEntry->dwFlags & STAFFINFO_RETIRED))
        return false;
    CStaffDatabase* pStaff = pEntry->pStaff;
    long nPosition = 0;
    FILE* pFile = OpenForAppend(kRetiredStaffFile, nPosition);
    if (!pFile)
        return false;
    CBinaryWriter writer(pFile);
    const bool bWritten = pStaff->Save(writer);
    const bool bClosed = std::fclose(pFile) == 0;
    if (!bWritten || !bClosed) {
        DebugLog(0, "[CDatabaseHandler::RetireStaff] Could not write staff member %u", idStaff);
        return false;
    }
    delete pStaff;
    pEntry->dwFlags = STAFFINFO_RETIRED;
    pEntry->pStaff = nullptr;
    pEntry->dwRetiredPosition = static_cast<uint32_t>(nPosition);
    ++m_wRetiredStaff;
    return true;
}

CPlayerDatabase* CDatabaseHandler::LoadPlayerRetired(LPITEMPLAYERINFORMATION pPlayerInfo)
{
    DebugLog(8, "CPlayerDatabase *CDatabaseHandler::LoadPlayerRetired(LPITEMPLAYERINFORMATION pPlayerInfo)");
    if (!pPlayerInfo || !(pPlayerInfo->dwFlags & PLAYERINFO_RETIRED) || (pPlayerInfo->dwFlags & PLAYERINFO_YOUTH))
        return nullptr;
    FILE* pFile = OpenAt(kRetiredPlayerFile, pPlayerInfo->dwRetiredPosition);
    if (!pFile)
        return nullptr;
    CBinaryReader reader(pFile);
    CPlayerDatabase* pPlayer = new CPlayerDatabase(reader, nullptr, nullptr, nullptr, true);
    std::fclose(pFile);
    if (!pPlayer->IsLoaded()) {
        delete pPlayer;
        return nullptr;
    }
    PutInRing(m_pRetiredPlayers, m_nRetiredPlayerRing, pPlayer);
    return pPlayer;
}

CManagerDatabase* CDatabaseHandler::LoadRetiredManager(ID_MANAGER idManager)
{
    DebugLog(8, "CManagerDatabase *CDatabaseHandler::LoadRetiredManager(ID_MANAGER idManager)");
    const LPITEMMANAGERINFORMATION pEntry = GetManagerInformation(idManager);
    if (!pEntry || pEntry->byState != MANAGERSTATE_RETIRED)
        return nullptr;
    FILE* pFile = OpenAt(kRetiredManagerFile, pEntry->dwRetiredPosition);
    if (!pFile)
        return nullptr;
    CBinaryReader reader(pFile);
    CManagerDatabase* pManager = new CManagerDatabase(reader, nullptr, true);
    std::fclose(pFile);
    if (!pManager->IsLoaded()) {
        delete pManager;
        return nullptr;
    }
    PutInRing(m_pRetiredManagers, m_nRetiredManagerRing, pManager);
    return pManager;
}

CStaffDatabase* CDatabaseHandler::LoadRetiredStaff(ID_STAFF idStaff)
{
    DebugLog(8, "CStaffDatabase *CDatabaseHandler::LoadRetiredStaff(ID_STAFF idStaff)");
    const LPITEMSTAFFINFORMATION pEntry = GetStaffInformation(idStaff);
    if (!pEntry || !(pEntry->dwFlags & STAFFINFO_RETIRED))
        return nullptr;
    FILE* pFile = OpenAt(kRetiredStaffFile, pEntry->dwRetiredPosition);
    if (!pFile)
        return nullptr;
    CBinaryReader reader(pFile);
    CStaffDatabase* pStaff = new CStaffDatabase(reader, nullptr, true);
    std::fclose(pFile);
    if (!pStaff->IsLoaded()) {
        delete pStaff;
        return nullptr;
    }
    PutInRing(m_pRetiredStaff, m_nRetiredStaffRing, pStaff);
    return pStaff;
}

bool CDatabaseHandler::LoadRetiredPlayers()
{
    return ReadRetiredFile<CPlayerDatabase>(
        kRetiredPlayerFile, "LoadRetiredPlayers",
        [](CBinaryReader& reader) { return new CPlayerDatabase(reader, nullptr, nullptr, nullptr, true); },
        [this](CPlayerDatabase* pPlayer, uint32_t dwPosition) {
            const ID_PLAYER idPlayer = pPlayer->m_idPerson;
            // A file of another game names people of this one: never merged.
            if (idPlayer == 0 || idPlayer > PERSON_ID_LIMIT || GetPlayerInformation(idPlayer)) {
                DebugLog(0, "[CDatabaseHandler::LoadRetiredPlayers] Player %u is in the world already", idPlayer);
                return false;
            }
            ++m_nPlayerCount;
            ++m_nRetiredPlayers;
            PutInRing(m_pRetiredPlayers, m_nRetiredPlayerRing, pPlayer);
            LPITEMPLAYERINFORMATION pEntry = new ITEMPLAYERINFORMATION;
            pEntry->dwFlags = PLAYERINFO_RETIRED;
            pEntry->dwRetiredPosition = dwPosition;
            m_PlayerTable.SetAtGrow(static_cast<int>(idPlayer - 1), pEntry);
            return true;
        });
}

bool CDatabaseHandler::LoadRetiredManagers()
{
    return ReadRetiredFile<CManagerDatabase>(
        kRetiredManagerFile, "LoadRetiredManagers",
        [](CBinaryReader& reader) { return new CManagerDatabase(reader, nullptr, true); },
        [this](CManagerDatabase* pManager, uint32_t dwPosition) {
            const ID_MANAGER idManager = pManager->GetId();
            if (idManager == 0 || GetManagerInformation(idManager)) {
                DebugLog(0, "[CDatabaseHandler::LoadRetiredManagers] Manager %u is in the world already", idManager);
                return false;
            }
            ++m_wNextManagerID;
            ++m_wRetiredManagers;
            PutInRing(m_pRetiredManagers, m_nRetiredManagerRing, pManager);
            LPITEMMANAGERINFORMATION pEntry = new ITEMMANAGERINFORMATION;
            pEntry->byState = MANAGERSTATE_RETIRED;
            pEntry->dwRetiredPosition = dwPosition;
            m_ManagerTable.SetAtGrow(idManager, pEntry);
            return true;
        });
}

bool CDatabaseHandler::LoadRetiredStaff()
{
    return ReadRetiredFile<CStaffDatabase>(
        kRetiredStaffFile, "LoadRetiredStaff",
        [](CBinaryReader& reader) { return new CStaffDatabase(reader, nullptr, true); },
        [this](CStaffDatabase* pStaff, uint32_t dwPosition) {
            const ID_STAFF idStaff = pStaff->GetId();
            if (idStaff == 0 || GetStaffInformation(idStaff)) {
                DebugLog(0, "[CDatabaseHandler::LoadRetiredStaff] Staff member %u is in the world already", idStaff);
                return false;
            }
            ++m_wNextStaffID;
            ++m_wRetiredStaff;
            PutInRing(m_pRetiredStaff, m_nRetiredStaffRing, pStaff);
            LPITEMSTAFFINFORMATION pEntry = new ITEMSTAFFINFORMATION;
            pEntry->dwFlags = STAFFINFO_RETIRED;
            pEntry->dwRetiredPosition = dwPosition;
            m_StaffTable.SetAtGrow(idStaff, pEntry);
            return true;
        });
}

void CDatabaseHandler::FreeRetiredCaches()
{
    for (CPlayerDatabase*& pPlayer : m_pRetiredPlayers) {
        delete pPlayer;
        pPlayer = nullptr;
    }
    for (CManagerDatabase*& pManager : m_pRetiredManagers) {
        delete pManager;
        pManager = nullptr;
    }
    for (CStaffDatabase*& pStaff : m_pRetiredStaff) {
        delete pStaff;
        pStaff = nullptr;
    }
    m_nRetiredPlayerRing = m_nRetiredManagerRing = m_nRetiredStaffRing = 0;
}
