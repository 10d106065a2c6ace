#pragma once
// Entries of the identifier tables of the database root. A retired person's
// record lives in a retired-record file and the entry keeps its file position
// in a field of its own, never in a pointer field.
#include <cstddef>
#include <cstdint>

class CPlayerDatabase;
class CYouthDatabase;
class CManagerDatabase;
class CStaffDatabase;

constexpr uint32_t PLAYERINFO_YOUTH = 1;
constexpr uint32_t PLAYERINFO_RETIRED = 2;

struct ITEMPLAYERINFORMATION {
    uint32_t dwFlags = 0;
    CPlayerDatabase* pPlayer = nullptr;  // a player in memory
    CYouthDatabase* pYouth = nullptr;    // a youth player
    uint32_t dwRetiredPosition = 0;      // with PLAYERINFO_RETIRED

    // Entries come from a pool of their own: made in identifier order, they
    // lie side by side for the walks over the whole table and the look-ups.
    static void* operator new(size_t nBytes);
    static void operator delete(void* pEntry, size_t nBytes);
};
using LPITEMPLAYERINFORMATION = ITEMPLAYERINFORMATION*;

constexpr uint8_t MANAGERSTATE_RETIRED = 1;
constexpr uint8_t MANAGERSTATE_EMPLOYED = 2;
constexpr uint8_t MANAGERSTATE_POOL = 4;

struct ITEMMANAGERINFORMATION {
    uint8_t byState = 0;
    CManagerDatabase* pManager = nullptr;
    uint32_t dwRetiredPosition = 0;

    // From a pool of their own, as the players' entries.
    static void* operator new(size_t nBytes);
    static void operator delete(void* pEntry, size_t nBytes);
};
using LPITEMMANAGERINFORMATION = ITEMMANAGERINFORMATION*;

constexpr uint32_t STAFFINFO_RETIRED = 1;
constexpr uint32_t STAFFINFO_EMPLOYED = 2;
constexpr uint32_t STAFFINFO_POOL = 4;

struct ITEMSTAFFINFORMATION {
    uint32_t dwFlags = 0;
    CStaffDatabase* pStaff = nullptr;
    uint32_t dwRetiredPosition = 0;

    // From a pool of their own: a club's staff are looked up by identifier
    // at every weekly step.
    static void* operator new(size_t nBytes);
    static void operator delete(void* pEntry, size_t nBytes);
};
using LPITEMSTAFFINFORMATION = ITEMSTAFFINFORMATION*;
