#pragma once
// Checks made before a record read from a file is built: the identifier it
// will register under is looked at first, so that a damaged or repeated
// identifier never replaces the table entry of a record that exists.
#include "common/CBinaryFile.h"
#include "database/CDatabaseHandler.h"
#include "database/CPersonDatabase.h"

#include <cstdint>
#include <cstdio>

// Reads nBytes (1, 2 or 4) little-endian at nOffset ahead of the stream's
// position without moving it. False when the stream holds fewer bytes.
inline bool PeekRecordValue(CBinaryReader& reader, long nOffset, int nBytes, uint32_t& dwValue)
{
    dwValue = 0;
    uint8_t aby[4] = {};
    if (nOffset < 0 || nBytes < 1 || nBytes > 4 ||
        !reader.Peek(static_cast<size_t>(nOffset), aby, static_cast<size_t>(nBytes)))
        return false;
    for (int i = nBytes - 1; i >= 0; --i)
        dwValue = (dwValue << 8) | aby[i];
    return true;
}

// An identifier that no player, youth or retired player holds.
inline bool IsFreePersonIdentifier(const CDatabaseHandler* pHandler, uint32_t dwId)
{
    if (dwId == 0 || dwId > PERSON_ID_LIMIT)
        return false;
    const LPITEMPLAYERINFORMATION pEntry = pHandler ? pHandler->GetPlayerInformation(dwId) : nullptr;
    return !pEntry || (!pEntry->pPlayer && !pEntry->pYouth && !(pEntry->dwFlags & PLAYERINFO_RETIRED));
}

inline bool IsFreeStaffIdentifier(const CDatabaseHandler* pHandler, uint32_t dwId)
{
    if (dwId == 0 || dwId > 0xFFFF)
        return false;
    const LPITEMSTAFFINFORMATION pEntry = pHandler ? pHandler->GetStaffInformation(static_cast<ID_STAFF>(dwId)) : nullptr;
    return !pEntry || (!pEntry->pStaff && !(pEntry->dwFlags & STAFFINFO_RETIRED));
}

inline bool IsFreeManagerIdentifier(const CDatabaseHandler* pHandler, uint32_t dwId)
{
    if (dwId == 0 || dwId > 0xFFFF)
        return false;
    const LPITEMMANAGERINFORMATION pEntry =
        pHandler ? pHandler->GetManagerInformation(static_cast<ID_MANAGER>(dwId)) : nullptr;
    return !pEntry || (!pEntry->pManager && pEntry->byState != MANAGERSTATE_RETIRED);
}
