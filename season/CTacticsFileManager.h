#pragma once
// The lists of the tactics files the line-up screens offer: formations
// (shipped and the player's own), free-kick sets and corner sets. The lists
// are built once per run and shared by every human manager.
#include <cstdint>

#include "common/CXList.h"
#include "season/CSaveGame.h"

// Formation records are those of the human manager: eleven preset places
// (the role is a place's byOrder), the file name and whether it is shipped.
constexpr int TACTICS_NAME_SIZE = FORMATION_NAME_BYTES;
constexpr int TACTICS_BUILT_IN_FORMATIONS = 6;

struct SETPIECERECORD {
    char szName[TACTICS_NAME_SIZE] = {};
    uint8_t byBuiltIn = 0;
};

class CTacticsFileManager {
public:
    // The first manager of the run builds the lists.
    CTacticsFileManager();
    // Frees the lists; the next manager built reads the folders again.
    static void Shutdown();
    static bool AreListsBuilt() { return s_bBuilt; }

    static void ListFormations();
    static void ListFreeKickSets();
    static void ListCornerSets();
    // Reads the eleven preset places of the record's file; a file that cannot
    // be opened, or of another version, changes nothing.
    static void GetPresetRoles(FORMATIONRECORD* pRecord);
    static void GetFormationPath(const FORMATIONRECORD* pRecord, char* pszPath, int nSize);
    static bool FormationFileExists(const FORMATIONRECORD* pRecord);
    static void GetName(const FORMATIONRECORD* pRecord, char* pszName, int nSize);

    static FORMATIONRECORD* FindFormation(const char* pszName);
    static SETPIECERECORD* FindFreeKickSet(const char* pszName);
    static SETPIECERECORD* FindCornerSet(const char* pszName);
    static FORMATIONRECORD* GetOrAddFormation(const char* pszName);
    static SETPIECERECORD* GetOrAddFreeKickSet(const char* pszName);
    static SETPIECERECORD* GetOrAddCornerSet(const char* pszName);
    static void RemoveFormation(const char* pszName);
    static void RemoveFreeKickSet(const char* pszName);
    static void RemoveCornerSet(const char* pszName);
    // The first formation whose eleven role bytes equal the given places'.
    static FORMATIONRECORD* FindFormationByRoles(const FORMATIONENTRY* pPlaces);

    static const CXList* GetFormations() { return s_pFormations; }
    static const CXList* GetFreeKickSets() { return s_pFreeKickSets; }
    static const CXList* GetCornerSets() { return s_pCornerSets; }
    static int GetBuiltInFormationCount() { return s_nBuiltInFormations; }
    // The name of a standard formation (index 0-5, as the clubs keep it).
    static const char* GetBuiltInName(int nIndex);

private:
    static void ReadPresetRoles(FORMATIONRECORD* pRecord, const char* pszPath);

    static bool s_bBuilt;
    static CXList* s_pFormations;    // FORMATIONRECORD
    static CXList* s_pFreeKickSets;  // SETPIECERECORD
    static CXList* s_pCornerSets;    // SETPIECERECORD
    static int s_nBuiltInFormations;
};
