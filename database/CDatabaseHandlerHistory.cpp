// The root's working files beside the match history: the weekly player
// history "temp.phs", the archive of the seasons' cup schedules and the
// clearing of the other working files.
#include "database/CDatabaseHandler.h"

#include <cstdio>
#include <vector>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CPersonDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CYouthDatabase.h"
#include "platform/Files.h"
#include "platform/SafeFile.h"

namespace {

const char kPlayerHistoryFile[] = "temp.phs";
const char kCupScheduleFile[] = "TempEuroCup.shs";
constexpr int kHistoryRecordBytes = 10;
constexpr int kHistoryWeeks = 52;
// The skills of a weekly record, in file order: the seventh and eighth
// change places.
constexpr int kHistorySkills[kHistoryRecordBytes] = {
    PLAYER_ATTRIBUTE_HANDLING, PLAYER_ATTRIBUTE_TACKLING, PLAYER_ATTRIBUTE_PASSING, PLAYER_ATTRIBUTE_DRIBBLING,
    PLAYER_ATTRIBUTE_HEADING,  PLAYER_ATTRIBUTE_SHOOTING, PLAYER_ATTRIBUTE_PACE,    PLAYER_ATTRIBUTE_STRENGTH,
    PLAYER_ATTRIBUTE_FITNESS,  PLAYER_ATTRIBUTE_MORALE};

const CDate& FirstHistoryDay()
{
    static const CDate first(1999, 1, 1);
    return first;
}

int64_t StreamSize(FILE* pFile)
{
    const long nHere = std::ftell(pFile);
    if (nHere < 0 || std::fseek(pFile, 0, SEEK_END) != 0)
        return -1;
    const long nSize = std::ftell(pFile);
    std::fseek(pFile, nHere, SEEK_SET);
    return nSize;
}

}  // namespace

int CDatabaseHandler::GetWeekNumber(const CDate& date)
{
    return date.DaysBetween(FirstHistoryDay()) / 7 + 1;
}

CDate CDatabaseHandler::GetDateFromWeekNumber(int nWeek)
{
    return CDate(FirstHistoryDay().GetValue(), nWeek * 7 - 1);
}

bool CDatabaseHandler::CreatePlayerHistoryFile()
{
    const int64_t nBytes = GetPlayerHistoryFileBytes(m_nHistorySlots);
    if (!plat::writeFileSafely(kPlayerHistoryFile, [nBytes](FILE* pFile) {
            return CBinaryWriter(pFile).WriteZeros(static_cast<size_t>(nBytes));
        })) {
        DebugLog(0, "[CDatabaseHandler::CreatePlayerHistoryFile] Could not write %s", kPlayerHistoryFile);
        return false;
    }
    return true;
}

bool CDatabaseHandler::SavePlayerHistory(FILE* pFile)
{
    const int nSlots = m_nHistorySlots;
    if (!pFile || nSlots <= 0)
        return false;
    if (StreamSize(pFile) < GetPlayerHistoryFileBytes(nSlots)) {
        DebugLog(0, "[CDatabaseHandler::SavePlayerHistory] The history file is shorter than its %d slots", nSlots);
        return false;
    }
    const int nWeek = GetWeekNumber(m_GameDate);
    const long nBlock = 2L * nSlots + 10L * nSlots * (((nWeek % kHistoryWeeks) + kHistoryWeeks) % kHistoryWeeks);

    // The directory and this week's block are read whole, changed in memory
    // and written back, so that slots without a record keep what they hold.
    std::vector<uint8_t> directory(static_cast<size_t>(2 * nSlots));
    std::vector<uint8_t> block(static_cast<size_t>(kHistoryRecordBytes) * nSlots);
    bool bRead = std::fseek(pFile, 0, SEEK_SET) == 0 &&
                 std::fread(directory.data(), 1, directory.size(), pFile) == directory.size() &&
                 std::fseek(pFile, nBlock, SEEK_SET) == 0 &&
                 std::fread(block.data(), 1, block.size(), pFile) == block.size();
    if (!bRead) {
        DebugLog(0, "[CDatabaseHandler::SavePlayerHistory] Could not read the history file");
        return false;
    }
    for (int i = 0; i < m_PlayerTable.GetSize(); ++i) {
        const auto* pEntry = static_cast<const ITEMPLAYERINFORMATION*>(m_PlayerTable.GetAt(i));
        if (!pEntry || (pEntry->dwFlags & PLAYERINFO_RETIRED))
            continue;
        const CPersonDatabase* pPerson = pEntry->pPlayer;
        if (!pPerson)
            pPerson = pEntry->pYouth;
        if (!pPerson || pPerson->m_nHistorySlot <= 0)
            continue;
        const int nSlot = pPerson->m_nHistorySlot;
        if (nSlot > nSlots) {
            DebugLog(1,
                     "[CDatabaseHandler::SavePlayerHistory] The player to save has gone over the safety net in the "
                     "file!  Player ID is %d however there is only room for up to graph ID %d.",
                     nSlot, nSlots);
            continue;
        }
        if (pPerson->GetHistoryRecordOffset(nWeek) < 2L * nSlots) {
            DebugLog(1, "[CDatabaseHandler::SavePlayerHistory] Invalid player file position!");
            continue;
        }
        uint8_t* pDirectory = &directory[static_cast<size_t>(2 * (nSlot - 1))];
        if (pDirectory[0] == 0 && pDirectory[1] == 0) {
            pDirectory[0] = static_cast<uint8_t>(nWeek & 0xFF);
            pDirectory[1] = static_cast<uint8_t>((nWeek >> 8) & 0xFF);
        }
        uint8_t* pRecord = &block[static_cast<size_t>(kHistoryRecordBytes * (nSlot - 1))];
        for (int j = 0; j < kHistoryRecordBytes; ++j)
            pRecord[j] = static_cast<uint8_t>(pPerson->m_awAttributes[kHistorySkills[j]] / 100);
    }
    CBinaryWriter writer(pFile);
    if (std::fseek(pFile, 0, SEEK_SET) == 0)
        writer.WriteBytes(directory.data(), directory.size());
    if (std::fseek(pFile, nBlock, SEEK_SET) == 0)
        writer.WriteBytes(block.data(), block.size());
    if (writer.Failed() || std::fflush(pFile) != 0) {
        DebugLog(0, "[CDatabaseHandler::SavePlayerHistory] Could not write the history file");
        return false;
    }
    return true;
}

bool CDatabaseHandler::WritePlayerHistory()
{
    if (plat::fileSize(kPlayerHistoryFile) < GetPlayerHistoryFileBytes(m_nHistorySlots)) {
        DebugLog(1, "[CDatabaseHandler::WritePlayerHistory] %s is missing or short: made again", kPlayerHistoryFile);
        if (!CreatePlayerHistoryFile())
            return false;
    }
    FILE* pFile = plat::openFile(kPlayerHistoryFile, "r+b");
    if (!pFile) {
        DebugLog(0, "[CDatabaseHandler::WritePlayerHistory] Could not open %s", kPlayerHistoryFile);
        return false;
    }
    const bool bSaved = SavePlayerHistory(pFile);
    return std::fclose(pFile) == 0 && bSaved;
}

bool CDatabaseHandler::SaveEuroCupSchedule()
{
    FILE* pFile = plat::openFile(kCupScheduleFile, "ab");
    if (!pFile) {
        DebugLog(0, "[CDatabaseHandler::SaveEuroCupSchedule] Could not open %s", kCupScheduleFile);
        return false;
    }
    CBinaryWriter writer(pFile);
    writer.WriteU32(static_cast<uint32_t>(m_lstCupFixtures.GetCount()));
    for (const CCupFixturesDatabase* pFixture : m_lstCupFixtures.Items<CCupFixturesDatabase>())
        pFixture->Save(writer);
    const bool bClosed = std::fclose(pFile) == 0;
    if (writer.Failed() || !bClosed) {
        DebugLog(0, "[CDatabaseHandler::SaveEuroCupSchedule] Could not write %s", kCupScheduleFile);
        return false;
    }
    return true;
}

int CDatabaseHandler::DeleteMatchingFiles(const char* pszPattern, const char* pszFolder)
{
    return pszPattern ? plat::removeFiles(pszFolder ? pszFolder : ".", pszPattern) : 0;
}

void CDatabaseHandler::DeleteTempHistoryFiles()
{
    DeleteMatchingFiles("Temp*.wmh", nullptr);
    DeleteMatchingFiles("Temp*.hhs", nullptr);
    DeleteMatchingFiles("Temp.eml", nullptr);
}
