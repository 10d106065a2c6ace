// Formation files (".pdt" shipped, ".ct" the player's), free-kick (".frk")
// and corner (".crn") sets, their conversion into match units and the
// human's line-up operations.
#include "season/CSaveGame.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "season/CTacticsFileManager.h"
#include "season/CupStructureTable.h"
#include "platform/Files.h"
#include "platform/SafeFile.h"

namespace {

constexpr int kMatchUnits = 25;
constexpr int kOrders = 16;
// The pitch in grid units; a block's value is no larger than its length.
constexpr int32_t kPitchLength = 400;
constexpr int32_t kPitchWidth = 300;

bool IsOnPitch(const int32_t (&an)[2])
{
    return an[0] >= 0 && an[0] <= kPitchLength && an[1] >= 0 && an[1] <= kPitchWidth;
}

std::string TacticsPath(const char* pszName, bool bShipped, const char* pszExtension)
{
    return std::string(bShipped ? "Data\\Tactics\\" : "Data\\Saves\\") + pszName + pszExtension;
}

void WriteRoutine(CBinaryWriter& writer, const SETPIECEROUTINE& routine)
{
    writer.WriteU32(routine.bHasPoints ? 1 : 0);
    for (uint16_t w : routine.awTargetX)
        writer.WriteU16(w);
    for (uint16_t w : routine.awTargetY)
        writer.WriteU16(w);
    writer.WriteU8(routine.byTaker);
    writer.WriteU8(routine.byTargetCount);
    writer.WriteBytes(routine.abyExtra, 2);
    if (routine.bHasPoints)
        for (const auto& aw : routine.awPoints) {
            writer.WriteU16(aw[0]);
            writer.WriteU16(aw[1]);
        }
}

bool ReadRoutine(CBinaryReader& reader, SETPIECEROUTINE& routine)
{
    uint32_t dwHasPoints = 0;
    reader.ReadU32(dwHasPoints);
    for (uint16_t& w : routine.awTargetX)
        reader.ReadU16(w);
    for (uint16_t& w : routine.awTargetY)
        reader.ReadU16(w);
    reader.ReadU8(routine.byTaker);
    reader.ReadU8(routine.byTargetCount);
    reader.ReadBytes(routine.abyExtra, 2);
    routine.bHasPoints = dwHasPoints != 0;
    if (routine.bHasPoints)
        for (auto& aw : routine.awPoints) {
            reader.ReadU16(aw[0]);
            reader.ReadU16(aw[1]);
        }
    // Seven targets is all a routine has room for.
    if (routine.byTargetCount > SETPIECE_TARGETS) {
        DebugLog(0, "[CSaveGame::LoadFreeKicks] A routine names %u targets", routine.byTargetCount);
        return false;
    }
    return !reader.Failed();
}

void ConvertRoutine(MATCHSETPIECE& out, const SETPIECEROUTINE& routine)
{
    out = MATCHSETPIECE();
    out.byTaker = routine.byTaker;
    out.byTargetCount = routine.byTargetCount;
    out.byHasPoints = routine.bHasPoints ? 1 : 0;
    if (routine.bHasPoints)
        for (int i = 0; i < SETPIECE_POINTS; ++i) {
            out.anPoints[i][0] = static_cast<int16_t>((routine.awPoints[i][0] - 100) * kMatchUnits);
            out.anPoints[i][1] = static_cast<int16_t>((routine.awPoints[i][1] - 4) * kMatchUnits);
        }
    for (int i = 0; i < routine.byTargetCount && i < SETPIECE_TARGETS; ++i) {
        if (routine.awTargetX[i] == 65535) {
            out.awTargetX[i] = 65535;
            out.awTargetY[i] = routine.awTargetY[i];
        }
        else {
            out.awTargetX[i] = static_cast<uint16_t>(routine.awTargetX[i] * kMatchUnits - 2500);
            out.awTargetY[i] = static_cast<uint16_t>(routine.awTargetY[i] * kMatchUnits - 100);
        }
    }
}

void ConvertBlocks(MATCHLAYOUTENTRY* pLayout, const POSITIONBLOCK* pBlocks)
{
    for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
        MATCHLAYOUTENTRY& entry = pLayout[i];
        for (int z = 0; z < FORMATION_ZONES; ++z)
            for (int c = 0; c < 2; ++c) {
                entry.anFirst[z][c] = pBlocks[i].anFirst[z][c] * kMatchUnits;
                entry.anSecond[z][c] = pBlocks[i].anSecond[z][c] * kMatchUnits;
            }
        entry.nValue = pBlocks[i].nValue * kMatchUnits;
        entry.wSlot = 255;
    }
}

}  // namespace

// ---- file forms ----

void CSaveGame::WritePositionBlock(CBinaryWriter& writer, const POSITIONBLOCK& block)
{
    for (const auto& an : block.anFirst) {
        writer.WriteI32(an[0]);
        writer.WriteI32(an[1]);
    }
    for (const auto& an : block.anSecond) {
        writer.WriteI32(an[0]);
        writer.WriteI32(an[1]);
    }
    writer.WriteI32(block.nValue);
    writer.WriteI32(block.nExtra);
}

bool CSaveGame::ReadPositionBlock(CBinaryReader& reader, POSITIONBLOCK& block)
{
    bool bOnPitch = true;
    for (auto& an : block.anFirst) {
        reader.ReadI32(an[0]);
        reader.ReadI32(an[1]);
        bOnPitch = bOnPitch && IsOnPitch(an);
    }
    for (auto& an : block.anSecond) {
        reader.ReadI32(an[0]);
        reader.ReadI32(an[1]);
        bOnPitch = bOnPitch && IsOnPitch(an);
    }
    reader.ReadI32(block.nValue);
    reader.ReadI32(block.nExtra);
    if (reader.Failed())
        return false;
    if (!bOnPitch || block.nValue < 0 || block.nValue > kPitchLength) {
        DebugLog(0, "[CSaveGame::ReadPositionBlock] A formation position or value lies off the pitch");
        reader.Fail();
        return false;
    }
    return true;
}

bool CSaveGame::WriteFormationFile(const std::string& path, const FORMATIONDATA& data)
{
    const bool bOk = plat::writeFileSafely(path, [&data](FILE* pFile) {
        CBinaryWriter writer(pFile);
        writer.WriteU16(FORMATION_FILE_MAGIC);
        writer.WriteU16(FORMATION_FILE_VERSION);
        // Places go out by position order, slot order within one order.
        for (int nOrder = 0; nOrder < kOrders; ++nOrder)
            for (const FORMATIONENTRY& entry : data.aEntries)
                if (entry.byOrder == nOrder) {
                    writer.WriteU16(entry.wX);
                    writer.WriteU16(entry.wY);
                    writer.WriteU8(entry.byOrder);
                    writer.WriteU8(entry.byExtra);
                }
        for (int nOrder = 0; nOrder < kOrders; ++nOrder)
            for (int i = 0; i < SAVEGAME_LINEUP; ++i)
                if (data.aEntries[i].byOrder == nOrder)
                    WritePositionBlock(writer, data.aBlocks[i]);
        return !writer.Failed();
    });
    if (!bOk)
        DebugLog(0, "[CSaveGame::SaveTactics] Cannot write %s", path.c_str());
    return bOk;
}

bool CSaveGame::ReadFormationFile(const std::string& path, FORMATIONDATA& data)
{
    FILE* pFile = plat::openFile(path, "rb");
    if (!pFile)
        return false;
    CBinaryReader reader(pFile);
    uint16_t wMagic = 0, wVersion = 0;
    reader.ReadU16(wMagic);
    reader.ReadU16(wVersion);
    bool bOk = !reader.Failed();
    if (bOk && wMagic != FORMATION_FILE_MAGIC) {
        DebugLog(0, "[CSaveGame::LoadTactics] This is not a valid Formation Data file!");
        bOk = false;
    }
    else if (bOk && wVersion != FORMATION_FILE_VERSION) {
        DebugLog(0, "[CSaveGame::LoadTactics] Unsupported File Version!");
        bOk = false;
    }
    FORMATIONDATA read;
    if (bOk) {
        for (FORMATIONENTRY& entry : read.aEntries) {
            reader.ReadU16(entry.wX);
            reader.ReadU16(entry.wY);
            reader.ReadU8(entry.byOrder);
            reader.ReadU8(entry.byExtra);
        }
        for (POSITIONBLOCK& block : read.aBlocks)
            if (!ReadPositionBlock(reader, block))
                break;
        if (reader.Failed()) {
            DebugLog(0, "[CSaveGame::LoadTactics] %s is cut short or off the pitch", path.c_str());
            bOk = false;
        }
    }
    std::fclose(pFile);
    // A bad file changes nothing.
    if (bOk)
        data = read;
    return bOk;
}

bool CSaveGame::WriteSetPieceFile(const std::string& path, const SETPIECEROUTINE* pRoutines, int nCount)
{
    const bool bOk = plat::writeFileSafely(path, [pRoutines, nCount](FILE* pFile) {
        CBinaryWriter writer(pFile);
        writer.WriteU16(SETPIECE_FILE_MAGIC);
        writer.WriteU16(SETPIECE_FILE_VERSION);
        for (int i = 0; i < nCount; ++i)
            WriteRoutine(writer, pRoutines[i]);
        return !writer.Failed();
    });
    if (!bOk)
        DebugLog(0, "[CSaveGame::SaveFreeKicks] Cannot write %s", path.c_str());
    return bOk;
}

bool CSaveGame::ReadSetPieceFile(const std::string& path, SETPIECEROUTINE* pRoutines, int nCount)
{
    FILE* pFile = plat::openFile(path, "rb");
    if (!pFile)
        return false;
    CBinaryReader reader(pFile);
    reader.Skip(4);
    std::vector<SETPIECEROUTINE> read(nCount);
    bool bOk = !reader.Failed();
    for (int i = 0; bOk && i < nCount; ++i)
        bOk = ReadRoutine(reader, read[i]);
    std::fclose(pFile);
    if (!bOk) {
        DebugLog(0, "[CSaveGame::LoadFreeKicks] %s is cut short or damaged", path.c_str());
        return false;
    }
    std::copy(read.begin(), read.end(), pRoutines);
    return true;
}

// ---- the human's formation ----

bool CSaveGame::SaveTactics(const char* pszName)
{
    if (!IsValidFileName(pszName)) {
        DebugLog(0, "[CSaveGame::SaveTactics] A formation name without path marks, at most %d characters",
                 SAVEGAME_MAX_TYPED_NAME);
        return false;
    }
    FORMATIONDATA data;
    std::copy(std::begin(m_aWorkingEntries), std::end(m_aWorkingEntries), data.aEntries);
    std::copy(std::begin(m_aWorkingBlocks), std::end(m_aWorkingBlocks), data.aBlocks);
    if (!WriteFormationFile(TacticsPath(pszName, false, ".ct"), data))
        return false;
    std::snprintf(m_szFormationName, sizeof(m_szFormationName), "%s", std::string(pszName).c_str());
    m_byModified = 0;
    return true;
}

void CSaveGame::ApplyFormation(const FORMATIONDATA& data)
{
    std::copy(std::begin(data.aEntries), std::end(data.aEntries), m_aWorkingEntries);
    std::copy(std::begin(data.aBlocks), std::end(data.aBlocks), m_aWorkingBlocks);
}

bool CSaveGame::LoadTactics(const char* pszName, bool bShipped)
{
    bool bOk = false;
    if (pszName && IsValidFileName(pszName)) {
        const std::string name(pszName);  // the name may be this record's own
        FORMATIONDATA data;
        bOk = ReadFormationFile(TacticsPath(name.c_str(), bShipped, bShipped ? ".pdt" : ".ct"), data);
        if (bOk) {
            ApplyFormation(data);
            std::snprintf(m_szFormationName, sizeof(m_szFormationName), "%s", name.c_str());
            m_abyFormationBytes[0] = 0;
        }
    }
    return bOk;
}

bool CSaveGame::LoadTactics(const char* pszName, MATCHLAYOUTENTRY* pLayout)
{
    FORMATIONDATA data;
    const bool bOk = pszName && IsValidFileName(pszName) && ReadFormationFile(TacticsPath(pszName, true, ".pdt"), data);
    if (!bOk)
        data = FORMATIONDATA();
    ConvertBlocks(pLayout, data.aBlocks);
    return bOk;
}

void CSaveGame::GetMatchFormation(MATCHLAYOUTENTRY* pLayout) const
{
    ConvertBlocks(pLayout, m_aWorkingBlocks);
}

// ---- set pieces ----

bool CSaveGame::SaveFreeKicks(const char* pszName)
{
    if (!IsValidFileName(pszName))
        return false;
    if (!WriteSetPieceFile(TacticsPath(pszName, false, ".frk"), m_aFreeKicks, FREEKICK_ROUTINE_TOTAL))
        return false;
    std::snprintf(m_szFreeKickSet, sizeof(m_szFreeKickSet), "%s", std::string(pszName).c_str());
    return true;
}

bool CSaveGame::LoadFreeKicks(const char* pszName, bool bShipped)
{
    if (!IsValidFileName(pszName) ||
        !ReadSetPieceFile(TacticsPath(pszName, bShipped, ".frk"), m_aFreeKicks, FREEKICK_ROUTINE_TOTAL))
        return false;
    std::snprintf(m_szFreeKickSet, sizeof(m_szFreeKickSet), "%s", std::string(pszName).c_str());
    return true;
}

bool CSaveGame::SaveCorners(const char* pszName)
{
    return IsValidFileName(pszName) &&
           WriteSetPieceFile(TacticsPath(pszName, false, ".crn"), m_aCorners, CORNER_ROUTINE_TOTAL);
}

bool CSaveGame::LoadCorners(const char* pszName, bool bShipped)
{
    return IsValidFileName(pszName) &&
           ReadSetPieceFile(TacticsPath(pszName, bShipped, ".crn"), m_aCorners, CORNER_ROUTINE_TOTAL);
}

int CSaveGame::GetFreeKickRoutineCount(int nZone) const
{
    if (nZone < 0 || nZone >= FREEKICK_ZONES)
        return 0;
    int nCount = 0;
    for (int r = 0; r < SETPIECE_ROUTINES; ++r)
        nCount += m_aFreeKicks[nZone * 3 + r].IsSet();
    return nCount;
}

int CSaveGame::GetCornerRoutineCount(int nSide, int nVariant) const
{
    if (nSide < 0 || nSide > 1 || nVariant < 0 || nVariant > 1)
        return 0;
    int nCount = 0;
    for (int r = 0; r < SETPIECE_ROUTINES; ++r)
        nCount += m_aCorners[(nSide * 3 + r) * 2 + nVariant].IsSet();
    return nCount;
}

bool CSaveGame::GetFreeKickRoutine(MATCHSETPIECE& out, int nZone, int nRoutine) const
{
    if (nZone < 0 || nZone >= FREEKICK_ZONES || nRoutine < 0 || nRoutine >= SETPIECE_ROUTINES)
        return false;
    ConvertRoutine(out, m_aFreeKicks[nZone * 3 + nRoutine]);
    return true;
}

bool CSaveGame::GetCornerRoutine(MATCHSETPIECE& out, int nSide, int nVariant, int nRoutine) const
{
    if (nSide < 0 || nSide > 1 || nVariant < 0 || nVariant > 1 || nRoutine < 0 || nRoutine >= SETPIECE_ROUTINES)
        return false;
    ConvertRoutine(out, m_aCorners[(nSide * 3 + nRoutine) * 2 + nVariant]);
    return true;
}

// ---- line-up ----

void CSaveGame::PickTeam(const FORMATIONRECORD* pFormation)
{
    if (!pFormation) {
        // The three assistants' formations: the second, the first and the
        // third of the list.
        static const int kPreferenceItems[] = {1, 0, 2};
        const uint8_t byPreference = GetDelegation(1);
        if (byPreference != 0 && !CTacticsFileManager::AreListsBuilt())
            CTacticsFileManager lists;
        const CXList* pList = CTacticsFileManager::GetFormations();
        if (byPreference >= 1 && byPreference <= 3 && pList)
            if (LPXLISTNODE pNode = pList->GetAt(kPreferenceItems[byPreference - 1]))
                pFormation = static_cast<const FORMATIONRECORD*>(pNode->pData);
    }
    if (pFormation)
        SelectFormation(pFormation);
    ClearTeamSheet();
    if (!m_pClub)
        return;
    // The eleven places in the current formation's roles, and the
    // substitutes and match kind of the next match.
    uint8_t abyRoles[SAVEGAME_LINEUP];
    for (int i = 0; i < SAVEGAME_LINEUP; ++i)
        abyRoles[i] = m_aWorkingEntries[i].byOrder;
    ITEMCUPMATCHRULES rules{};
    int nMatchKind = 0;
    int nSubstitutes = 7;
    if (m_pDatabaseHandler) {
        m_pDatabaseHandler->GetNextMatchRules(m_pClub, rules, &nMatchKind);
        nSubstitutes = std::min<int>(rules.bySubstitutesNamed, SAVEGAME_SHEET_PLACES - SAVEGAME_LINEUP);
    }
    std::vector<CPlayerDatabase*> picked(static_cast<size_t>(SAVEGAME_LINEUP + nSubstitutes), nullptr);
    m_pClub->SelectTeam(abyRoles, picked.data(), nMatchKind, nSubstitutes);
    // The pick's marks are for one match only.
    m_pClub->ClearSelection();
    int nPlace = 0;
    auto isOnSheet = [this, &nPlace](const CPlayerDatabase* p) {
        return std::find(m_apTeamSheet, m_apTeamSheet + nPlace, p) != m_apTeamSheet + nPlace;
    };
    for (CPlayerDatabase* pPlayer : picked)
        if (nPlace < SAVEGAME_SHEET_PLACES)
            m_apTeamSheet[nPlace++] = pPlayer && !isOnSheet(pPlayer) ? pPlayer : nullptr;
    for (CPlayerDatabase* pPlayer : m_pClub->m_lstPlayers.Items<CPlayerDatabase>())
        if (nPlace < SAVEGAME_SHEET_PLACES && !isOnSheet(pPlayer))
            m_apTeamSheet[nPlace++] = pPlayer;
    for (int i = 0; i < SAVEGAME_SETPIECE_PLACES; ++i)
        m_apSetPieces[i] = m_apTeamSheet[SAVEGAME_LINEUP - 1 - i % SAVEGAME_LINEUP];
}

const FORMATIONRECORD* CSaveGame::GetCurrentFormation() const
{
    return IsCustomFormationInUse() ? &m_OwnFormation : CTacticsFileManager::FindFormation(m_szFormationName);
}

bool CSaveGame::SelectFormation(const FORMATIONRECORD* pFormation)
{
    if (!pFormation)
        return false;
    if (pFormation == &m_OwnFormation) {
        std::copy(std::begin(m_aWorkingEntries), std::end(m_aWorkingEntries), m_OwnFormation.aEntries);
        std::copy(std::begin(m_aWorkingBlocks), std::end(m_aWorkingBlocks), m_aOwnBlocks);
        std::snprintf(m_szFormationName, sizeof(m_szFormationName), "%s", m_OwnFormation.szName);
        m_abyFormationBytes[0] = 1;
        return true;
    }
    return LoadTactics(pFormation->szName, pFormation->byShipped != 0);
}

void CSaveGame::SetWorkingEntryPoint(int nPlace, int nX, int nY)
{
    if (nPlace < 0 || nPlace >= SAVEGAME_LINEUP)
        return;
    FORMATIONENTRY& entry = m_aWorkingEntries[nPlace];
    entry.wX = static_cast<uint16_t>(std::clamp(nX, 100, 100 + kPitchLength));
    entry.wY = static_cast<uint16_t>(std::clamp(nY, 4, 4 + kPitchWidth));
    if (IsCustomFormationInUse())
        m_OwnFormation.aEntries[nPlace] = entry;
}

bool CSaveGame::GetMatchSheet(CPlayerDatabase** apPlayers, int nMatchKind, int nSubstitutes) const
{
    if (!m_pClub)
        return false;
    for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
        const CPlayerDatabase* pPlayer = m_apTeamSheet[i];
        if (!pPlayer || pPlayer->m_pClub != m_pClub || !CClubDatabase::IsAvailable(pPlayer, nMatchKind))
            return false;
    }
    int nPlace = 0;
    for (int i = 0; i < SAVEGAME_LINEUP; ++i)
        apPlayers[nPlace++] = m_apTeamSheet[i];
    for (int i = SAVEGAME_LINEUP; i < SAVEGAME_SHEET_PLACES && nPlace < SAVEGAME_LINEUP + nSubstitutes; ++i) {
        CPlayerDatabase* pPlayer = m_apTeamSheet[i];
        if (pPlayer && pPlayer->m_pClub == m_pClub && CClubDatabase::IsAvailable(pPlayer, nMatchKind))
            apPlayers[nPlace++] = pPlayer;
    }
    return true;
}

void CSaveGame::ResetFormationPositions()
{
    for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
        POSITIONBLOCK& block = m_aWorkingBlocks[i];
        const int nX = m_aWorkingEntries[i].wX - 100;
        const int nY = m_aWorkingEntries[i].wY - 4;
        for (int z = 0; z < FORMATION_ZONES; ++z) {
            block.anFirst[z][0] = block.anSecond[z][0] = nX;
            block.anFirst[z][1] = block.anSecond[z][1] = nY;
        }
    }
    std::copy(std::begin(m_aWorkingBlocks), std::end(m_aWorkingBlocks), m_aOwnBlocks);
}

int CSaveGame::SetLineupRole(int nPlace, int nRole)
{
    if (nPlace < 0 || nPlace >= SAVEGAME_LINEUP || nRole < 0 || nRole >= kOrders)
        return -1;
    m_aWorkingEntries[nPlace].byOrder = static_cast<uint8_t>(nRole);
    int anOrder[SAVEGAME_LINEUP];
    for (int i = 0; i < SAVEGAME_LINEUP; ++i)
        anOrder[i] = i;
    std::stable_sort(std::begin(anOrder), std::end(anOrder), [this](int a, int b) {
        return m_aWorkingEntries[a].byOrder < m_aWorkingEntries[b].byOrder;
    });
    FORMATIONDATA data;
    CPlayerDatabase* apPlayers[SAVEGAME_LINEUP];
    int nNewPlace = -1;
    for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
        data.aEntries[i] = m_aWorkingEntries[anOrder[i]];
        data.aBlocks[i] = m_aWorkingBlocks[anOrder[i]];
        apPlayers[i] = m_apTeamSheet[anOrder[i]];
        if (anOrder[i] == nPlace)
            nNewPlace = i;
    }
    ApplyFormation(data);
    std::copy(std::begin(apPlayers), std::end(apPlayers), m_apTeamSheet);
    return nNewPlace;
}

void CSaveGame::SetWorkingFormation(const FORMATIONDATA& data)
{
    int anOrder[SAVEGAME_LINEUP];
    for (int i = 0; i < SAVEGAME_LINEUP; ++i)
        anOrder[i] = i;
    std::stable_sort(std::begin(anOrder), std::end(anOrder), [&data](int a, int b) {
        return data.aEntries[a].byOrder < data.aEntries[b].byOrder;
    });
    FORMATIONDATA sorted;
    CPlayerDatabase* apPlayers[SAVEGAME_LINEUP];
    for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
        sorted.aEntries[i] = data.aEntries[anOrder[i]];
        sorted.aBlocks[i] = data.aBlocks[anOrder[i]];
        apPlayers[i] = m_apTeamSheet[anOrder[i]];
    }
    ApplyFormation(sorted);
    std::copy(std::begin(apPlayers), std::end(apPlayers), m_apTeamSheet);
    if (IsCustomFormationInUse()) {
        std::copy(std::begin(m_aWorkingEntries), std::end(m_aWorkingEntries), m_OwnFormation.aEntries);
        std::copy(std::begin(m_aWorkingBlocks), std::end(m_aWorkingBlocks), m_aOwnBlocks);
    }
}

void CSaveGame::InsertPlayerIntoLineup(CPlayerDatabase* pPlayer)
{
    if (!pPlayer)
        return;
    CPlayerDatabase** pLineup = m_apTeamSheet;
    CPlayerDatabase** pEnd = pLineup + SAVEGAME_LINEUP;
    if (CPlayerDatabase** p = std::find(pLineup, pEnd, pPlayer); p != pEnd) {
        std::move(p + 1, pEnd, p);
        pLineup[SAVEGAME_LINEUP - 1] = nullptr;
    }
    int nAt = SAVEGAME_LINEUP - 1;
    for (int i = 0; i < SAVEGAME_LINEUP; ++i)
        if (pLineup[i] && pLineup[i]->m_byRole > pPlayer->m_byRole) {
            nAt = i;
            break;
        }
    std::move_backward(pLineup + nAt, pEnd - 1, pEnd);
    pLineup[nAt] = pPlayer;
    for (int i = 0; i < SAVEGAME_LINEUP; ++i)
        if (pLineup[i])
            m_aWorkingEntries[i].byOrder = pLineup[i]->m_byRole;
    // Entries and blocks sorted by position order, slot order kept within one.
    FORMATIONDATA data;
    int n = 0;
    for (int nOrder = 0; nOrder < kOrders; ++nOrder)
        for (int i = 0; i < SAVEGAME_LINEUP; ++i)
            if (m_aWorkingEntries[i].byOrder == nOrder) {
                data.aEntries[n] = m_aWorkingEntries[i];
                data.aBlocks[n++] = m_aWorkingBlocks[i];
            }
    if (n == SAVEGAME_LINEUP)
        ApplyFormation(data);
}

void CSaveGame::CompactTeamSheet()
{
    int nTo = 0;
    for (CPlayerDatabase* pPlayer : m_apTeamSheet)
        if (pPlayer && m_pClub && pPlayer->m_pClub == m_pClub)
            m_apTeamSheet[nTo++] = pPlayer;
    std::fill(m_apTeamSheet + nTo, std::end(m_apTeamSheet), nullptr);
    for (int i = 0; i < SAVEGAME_SETPIECE_PLACES; ++i)
        if (!m_apSetPieces[i] || m_apSetPieces[i]->m_pClub != m_pClub)
            m_apSetPieces[i] = m_apTeamSheet[i + 2];
}

void CSaveGame::GetPenaltyOrder(uint8_t abyPlaces[SAVEGAME_LINEUP]) const
{
    bool abTaken[SAVEGAME_LINEUP] = {};
    int nCount = 0;
    auto add = [&](int nPlace) {
        if (nPlace >= 0 && nPlace < SAVEGAME_LINEUP && !abTaken[nPlace]) {
            abTaken[nPlace] = true;
            abyPlaces[nCount++] = static_cast<uint8_t>(nPlace);
        }
    };
    // The taker named on the team sheet kicks first, wherever he stands.
    if (const CPlayerDatabase* pTaker = GetSetPiecePlayer(SAVEGAME_PENALTY_TAKER))
        for (int nPlace = 0; nPlace < SAVEGAME_LINEUP; ++nPlace)
            if (m_apTeamSheet[nPlace] == pTaker)
                add(nPlace);
    // A damaged or repeated entry is passed over, never trusted.
    for (uint8_t byEntry : m_abyPenaltyOrder)
        add(static_cast<int>(byEntry) - 1);
    for (int nPlace = 0; nPlace < SAVEGAME_LINEUP; ++nPlace)
        add(nPlace);
}

bool CSaveGame::SetPenaltyOrder(const uint8_t abyPlaces[SAVEGAME_LINEUP])
{
    bool abSeen[SAVEGAME_LINEUP] = {};
    for (int i = 0; i < SAVEGAME_LINEUP; ++i) {
        if (abyPlaces[i] >= SAVEGAME_LINEUP || abSeen[abyPlaces[i]])
            return false;
        abSeen[abyPlaces[i]] = true;
    }
    CPlayerDatabase* pFirst = m_apTeamSheet[abyPlaces[0]];
    if (!pFirst)
        return false;
    for (int i = 0; i < SAVEGAME_LINEUP; ++i)
        m_abyPenaltyOrder[i] = static_cast<uint8_t>(abyPlaces[i] + 1);
    m_apSetPieces[SAVEGAME_PENALTY_TAKER] = pFirst;
    return true;
}
