#include "season/CTacticsFileManager.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <cstring>
#include <string>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "platform/Files.h"
#include "season/CSaveGame.h"

bool CTacticsFileManager::s_bBuilt = false;
CXList* CTacticsFileManager::s_pFormations = nullptr;
CXList* CTacticsFileManager::s_pFreeKickSets = nullptr;
CXList* CTacticsFileManager::s_pCornerSets = nullptr;
int CTacticsFileManager::s_nBuiltInFormations = 0;

namespace {

const char* const s_apszBuiltIn[TACTICS_BUILT_IN_FORMATIONS] = {"4-4-2", "4-2-4", "5-3-2",
                                                                "4-3-3", "3-5-2", "3-4-3"};

void CopyName(char* pszTarget, const char* pszSource)
{
    std::snprintf(pszTarget, TACTICS_NAME_SIZE, "%s", pszSource ? pszSource : "");
}

// Names compare with A to Z folded, nothing else.
bool SameName(const char* pszA, const char* pszB)
{
    for (;; ++pszA, ++pszB) {
        char a = *pszA, b = *pszB;
        if (a >= 'A' && a <= 'Z')
            a = static_cast<char>(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z')
            b = static_cast<char>(b - 'A' + 'a');
        if (a != b)
            return false;
        if (!a)
            return true;
    }
}

// A file name without everything from its first dot.
std::string StemOf(const std::string& name)
{
    const size_t nDot = name.find('.');
    return nDot == std::string::npos ? name : name.substr(0, nDot);
}

template <typename T, typename GetNameFn>
LPXLISTNODE FindNode(CXList* pList, const char* pszName, GetNameFn getName)
{
    if (!pList || !pszName)
        return nullptr;
    for (LPXLISTNODE pNode = pList->GetHead(); pNode; pNode = pNode->pNext)
        if (SameName(getName(static_cast<T*>(pNode->pData)), pszName))
            return pNode;
    return nullptr;
}

const char* FormationName(const FORMATIONRECORD* p) { return p->szName; }
const char* SetName(const SETPIECERECORD* p) { return p->szName; }

template <typename T>
void FreeList(CXList*& pList)
{
    if (!pList)
        return;
    while (!pList->IsEmpty())
        delete static_cast<T*>(pList->RemoveHead());
    delete pList;
    pList = nullptr;
}

void ListSetFiles(CXList* pList, const char* pszPattern)
{
    auto* pNone = new SETPIECERECORD;
    CopyName(pNone->szName, "None");
    pNone->byBuiltIn = 1;
    pList->AddTail(pNone);
    for (const std::string& file : plat::listFiles("Data\\Saves", pszPattern)) {
        auto* pSet = new SETPIECERECORD;
        CopyName(pSet->szName, StemOf(file).c_str());
        pList->AddTail(pSet);
    }
}

SETPIECERECORD* GetOrAddSet(CXList* pList, const char* pszName)
{
    if (!pList || !pszName)
        return nullptr;
    if (LPXLISTNODE pNode = FindNode<SETPIECERECORD>(pList, pszName, SetName))
        return static_cast<SETPIECERECORD*>(pNode->pData);
    auto* pSet = new SETPIECERECORD;
    CopyName(pSet->szName, pszName);
    pList->AddTail(pSet);
    return pSet;
}

template <typename T, typename GetNameFn>
void RemoveNamed(CXList* pList, const char* pszName, GetNameFn getName)
{
    if (LPXLISTNODE pNode = FindNode<T>(pList, pszName, getName)) {
        delete static_cast<T*>(pNode->pData);
        pList->Remove(pNode);
    }
}

}  // namespace

const char* CTacticsFileManager::GetBuiltInName(int nIndex)
{
    return s_apszBuiltIn[nIndex >= 0 && nIndex < TACTICS_BUILT_IN_FORMATIONS ? nIndex : 0];
}

CTacticsFileManager::CTacticsFileManager()
{
    if (s_bBuilt)
        return;
    s_pFormations = new CXList;
    s_pFreeKickSets = new CXList;
    s_pCornerSets = new CXList;
    ListFormations();
    ListFreeKickSets();
    ListCornerSets();
    s_bBuilt = true;
}

void CTacticsFileManager::Shutdown()
{
    if (!s_bBuilt)
        return;
    FreeList<FORMATIONRECORD>(s_pFormations);
    FreeList<SETPIECERECORD>(s_pFreeKickSets);
    FreeList<SETPIECERECORD>(s_pCornerSets);
    s_nBuiltInFormations = 0;
    s_bBuilt = false;
}

void CTacticsFileManager::ListFormations()
{
    if (!s_pFormations)
        return;
    s_nBuiltInFormations = 0;
    for (const char* pszName : s_apszBuiltIn) {
        auto* pRecord = new FORMATIONRECORD;
        CopyName(pRecord->szName, pszName);
        pRecord->byShipped = 1;
        GetPresetRoles(pRecord);
        s_pFormations->AddTail(pRecord);
        ++s_nBuiltInFormations;
    }
    for (const std::string& file : plat::listFiles("Data\\Saves", "*.ct")) {
        auto* pRecord = new FORMATIONRECORD;
        CopyName(pRecord->szName, StemOf(file).c_str());
        // Roles come from the file found, also when a dot in its name makes
        // the listed name differ from it.
        ReadPresetRoles(pRecord, ("Data\\Saves\\" + file).c_str());
        s_pFormations->AddTail(pRecord);
    }
}

void CTacticsFileManager::ListFreeKickSets()
{
    if (s_pFreeKickSets)
        ListSetFiles(s_pFreeKickSets, "*.frk");
}

void CTacticsFileManager::ListCornerSets()
{
    if (s_pCornerSets)
        ListSetFiles(s_pCornerSets, "*.Crn");
}

void CTacticsFileManager::GetPresetRoles(FORMATIONRECORD* pRecord)
{
    if (!pRecord)
        return;
    char szPath[TACTICS_NAME_SIZE + 32];
    GetFormationPath(pRecord, szPath, sizeof szPath);
    ReadPresetRoles(pRecord, szPath);
}

void CTacticsFileManager::ReadPresetRoles(FORMATIONRECORD* pRecord, const char* pszPath)
{
    FILE* pFile = plat::openFile(pszPath, "rb");
    if (!pFile)
        return;
    CBinaryReader reader(pFile);
    uint16_t wMagic = 0, wVersion = 0;
    reader.ReadU16(wMagic);
    reader.ReadU16(wVersion);
    if (!reader.Failed()) {
        if (wMagic != FORMATION_FILE_MAGIC)
            DebugLog(0, "[CSaveGame::GetPresetRoles] This is not a valid Formation Data file!");
        if (wVersion != FORMATION_FILE_VERSION) {
            DebugLog(0, "[CSaveGame::GetPresetRoles] Unsupported File Format!");
        } else {
            FORMATIONENTRY aPlaces[SAVEGAME_LINEUP];
            for (FORMATIONENTRY& place : aPlaces) {
                reader.ReadU16(place.wX);
                reader.ReadU16(place.wY);
                reader.ReadU8(place.byOrder);
                reader.ReadU8(place.byExtra);
            }
            // A file cut short keeps the roles it had.
            if (!reader.Failed())
                std::copy(std::begin(aPlaces), std::end(aPlaces), pRecord->aEntries);
            else
                DebugLog(0, "[CSaveGame::GetPresetRoles] %s is cut short", pszPath);
        }
    }
    std::fclose(pFile);
}

void CTacticsFileManager::GetFormationPath(const FORMATIONRECORD* pRecord, char* pszPath, int nSize)
{
    if (!pRecord || !pszPath || nSize <= 0)
        return;
    const char* pszForm = pRecord->byShipped ? "Data\\Tactics\\%s.pdt" : "Data\\Saves\\%s.ct";
    std::snprintf(pszPath, static_cast<size_t>(nSize), pszForm, pRecord->szName);
}

bool CTacticsFileManager::FormationFileExists(const FORMATIONRECORD* pRecord)
{
    if (!pRecord)
        return false;
    if (pRecord->byShipped)
        return true;
    char szPath[TACTICS_NAME_SIZE + 32];
    GetFormationPath(pRecord, szPath, sizeof szPath);
    FILE* pFile = plat::openFile(szPath, "rb");
    if (!pFile)
        return false;
    std::fclose(pFile);
    return true;
}

void CTacticsFileManager::GetName(const FORMATIONRECORD* pRecord, char* pszName, int nSize)
{
    if (pRecord && pszName && nSize > 0)
        std::snprintf(pszName, static_cast<size_t>(nSize), "%s", pRecord->szName);
}

FORMATIONRECORD* CTacticsFileManager::FindFormation(const char* pszName)
{
    LPXLISTNODE pNode = FindNode<FORMATIONRECORD>(s_pFormations, pszName, FormationName);
    return pNode ? static_cast<FORMATIONRECORD*>(pNode->pData) : nullptr;
}

SETPIECERECORD* CTacticsFileManager::FindFreeKickSet(const char* pszName)
{
    LPXLISTNODE pNode = FindNode<SETPIECERECORD>(s_pFreeKickSets, pszName, SetName);
    return pNode ? static_cast<SETPIECERECORD*>(pNode->pData) : nullptr;
}

SETPIECERECORD* CTacticsFileManager::FindCornerSet(const char* pszName)
{
    LPXLISTNODE pNode = FindNode<SETPIECERECORD>(s_pCornerSets, pszName, SetName);
    return pNode ? static_cast<SETPIECERECORD*>(pNode->pData) : nullptr;
}

FORMATIONRECORD* CTacticsFileManager::GetOrAddFormation(const char* pszName)
{
    if (!s_pFormations || !pszName)
        return nullptr;
    if (FORMATIONRECORD* pFound = FindFormation(pszName))
        return pFound;
    auto* pRecord = new FORMATIONRECORD;
    CopyName(pRecord->szName, pszName);
    s_pFormations->AddTail(pRecord);
    return pRecord;
}

SETPIECERECORD* CTacticsFileManager::GetOrAddFreeKickSet(const char* pszName)
{
    return GetOrAddSet(s_pFreeKickSets, pszName);
}

SETPIECERECORD* CTacticsFileManager::GetOrAddCornerSet(const char* pszName)
{
    return GetOrAddSet(s_pCornerSets, pszName);
}

void CTacticsFileManager::RemoveFormation(const char* pszName)
{
    RemoveNamed<FORMATIONRECORD>(s_pFormations, pszName, FormationName);
}

void CTacticsFileManager::RemoveFreeKickSet(const char* pszName)
{
    RemoveNamed<SETPIECERECORD>(s_pFreeKickSets, pszName, SetName);
}

void CTacticsFileManager::RemoveCornerSet(const char* pszName)
{
    RemoveNamed<SETPIECERECORD>(s_pCornerSets, pszName, SetName);
}

FORMATIONRECORD* CTacticsFileManager::FindFormationByRoles(const FORMATIONENTRY* pPlaces)
{
    if (!s_pFormations || !pPlaces)
        return nullptr;
    for (FORMATIONRECORD* pRecord : s_pFormations->Items<FORMATIONRECORD>()) {
        bool bSame = true;
        for (int i = 0; i < SAVEGAME_LINEUP && bSame; ++i)
            bSame = pRecord->aEntries[i].byOrder == pPlaces[i].byOrder;
        if (bSame)
            return pRecord;
    }
    return nullptr;
}
