// The root's working files beside the match history: the weekly player
// history "temp.phs", the archive of the seasons' cup schedules and the
// clearing of the other working files.
#include "database/CDatabaseHandler.h"
#include "database/CWorkingFileImage.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "common/Prefetch.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDivisionDatabase.h"
#include "database/CPersonDatabase.h"
#include "database/CPlayerDatabase.h"
#include "database/CYouthDatabase.h"
#include "platform/Files.h"
#include "platform/SafeFile.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// One person's weekly record: each skill in whole numbers, kept to its low
// byte.
inline void FillHistoryRecord(const CPersonDatabase& person, uint8_t* pRecord)
{
#if defined(__SSE2__)
    // The first eight are the record's first eight attributes with the
    // seventh and eighth exchanged; x / 100 is ((x >> 2) * 5243 >> 16) >> 1
    // for every 16-bit x.
    static_assert(kHistorySkills[0] == 0 && kHistorySkills[1] == 1 && kHistorySkills[2] == 2 &&
                  kHistorySkills[3] == 3 && kHistorySkills[4] == 4 && kHistorySkills[5] == 5 &&
                  kHistorySkills[6] == 7 && kHistorySkills[7] == 6);
    const __m128i skills = _mm_shufflehi_epi16(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(person.m_awAttributes)), _MM_SHUFFLE(2, 3, 1, 0));
    const __m128i whole =
        _mm_srli_epi16(_mm_mulhi_epu16(_mm_srli_epi16(skills, 2), _mm_set1_epi16(5243)), 1);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(pRecord),
                     _mm_packus_epi16(_mm_and_si128(whole, _mm_set1_epi16(0xFF)), _mm_setzero_si128()));
    for (int j = 8; j < kHistoryRecordBytes; ++j)
        pRecord[j] = static_cast<uint8_t>(person.m_awAttributes[kHistorySkills[j]] / 100);
#else
    for (int j = 0; j < kHistoryRecordBytes; ++j)
        pRecord[j] = static_cast<uint8_t>(person.m_awAttributes[kHistorySkills[j]] / 100);
#endif
}

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

// Where the ring block of the week starts.
size_t WeekBlockOffset(int nSlots, int nWeek)
{
    return 2 * static_cast<size_t>(nSlots) +
           static_cast<size_t>(kHistoryRecordBytes) * static_cast<size_t>(nSlots) *
               static_cast<size_t>(((nWeek % kHistoryWeeks) + kHistoryWeeks) % kHistoryWeeks);
}

// The person whose weekly record an identifier entry asks for: a player or
// youth in memory, none for a retired one.
const CPersonDatabase* HistoryPerson(const ITEMPLAYERINFORMATION* pEntry)
{
    if (!pEntry || (pEntry->dwFlags & PLAYERINFO_RETIRED))
        return nullptr;
    if (pEntry->pPlayer)
        return pEntry->pPlayer;
    return pEntry->pYouth;
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

size_t CDatabaseHandler::PlayerHistoryRoom(size_t nBytes)
{
    return nBytes + nBytes / 4;
}

bool CDatabaseHandler::CreatePlayerHistoryFile()
{
    // The youths of the first days take new slots at once (about a sixth
    // more): with room kept now, the first week's growth copies nothing.
    // Room not yet used costs no memory.
    const size_t nBytes = static_cast<size_t>(GetPlayerHistoryFileBytes(m_nHistorySlots));
    m_PlayerHistoryFile.Reset(kPlayerHistoryFile, nBytes, PlayerHistoryRoom(nBytes));
    return true;
}

void CDatabaseHandler::FillPlayerHistoryWeek(uint8_t* pDirectory, uint8_t* pBlock, int nSlots, int nWeek) const
{
    // The records of the players a few places on start loading now: in
    // identifier order they lie scattered once players have moved. Each
    // entry is read once, as it is looked ahead at; the ring keeps the
    // person it holds until his turn.
    constexpr int kAhead = 16;
    const int nEntries = m_PlayerTable.GetSize();
    void* const* ppEntries = m_PlayerTable.GetData();
    const CPersonDatabase* apAhead[kAhead] = {};
    const auto lookAhead = [&](int i) {
        const CPersonDatabase* pPerson = HistoryPerson(static_cast<const ITEMPLAYERINFORMATION*>(ppEntries[i]));
        // Only the lines the week's record is made from: the rest of the
        // record would cost memory traffic for nothing.
        if (pPerson) {
            PrefetchBytes(&pPerson->m_nHistorySlot, sizeof(pPerson->m_nHistorySlot));
            PrefetchBytes(pPerson->m_awAttributes, sizeof(pPerson->m_awAttributes));
        }
        apAhead[i % kAhead] = pPerson;
    };
    for (int i = 0; i < std::min(kAhead, nEntries); ++i)
        lookAhead(i);
    // A record's place is the week's block start plus ten bytes a slot before
    // it: past the directory for every slot once the block's is (a week of
    // the ring from 0 on), so the check is made for each only otherwise.
    const bool bWeekPastDirectory = ((nWeek % 52) + 1) * 10 - 8 >= 2;
    for (int i = 0; i < nEntries; ++i) {
        const CPersonDatabase* pPerson = apAhead[i % kAhead];
        if (i + kAhead < nEntries)
            lookAhead(i + kAhead);
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
        if (!bWeekPastDirectory && pPerson->GetHistoryRecordOffset(nWeek) < 2L * nSlots) {
            DebugLog(1, "[CDatabaseHandler::SavePlayerHistory] Invalid player file position!");
            continue;
        }
        uint8_t* pEntryWeek = &pDirectory[static_cast<size_t>(2 * (nSlot - 1))];
        if (pEntryWeek[0] == 0 && pEntryWeek[1] == 0) {
            pEntryWeek[0] = static_cast<uint8_t>(nWeek & 0xFF);
            pEntryWeek[1] = static_cast<uint8_t>((nWeek >> 8) & 0xFF);
        }
        FillHistoryRecord(*pPerson, &pBlock[static_cast<size_t>(kHistoryRecordBytes * (nSlot - 1))]);
    }
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
    const long nBlock = static_cast<long>(WeekBlockOffset(nSlots, nWeek));

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
    FillPlayerHistoryWeek(directory.data(), block.data(), nSlots, nWeek);
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

bool CDatabaseHandler::OpenPlayerHistory(int nSlots)
{
    const size_t nBytes = static_cast<size_t>(GetPlayerHistoryFileBytes(nSlots));
    const size_t nSlotBytes = static_cast<size_t>(GetPlayerHistoryFileBytes(1));
    // A file of fewer slots on disk is read as it stands, to be laid out again.
    size_t nHeld = nBytes;
    if (!m_PlayerHistoryFile.IsOpen()) {
        const int64_t nOnDisk = plat::fileSize(kPlayerHistoryFile);
        if (nOnDisk > 0 && static_cast<size_t>(nOnDisk) < nBytes && nOnDisk % static_cast<int64_t>(nSlotBytes) == 0)
            nHeld = static_cast<size_t>(nOnDisk);
    }
    else if (m_PlayerHistoryFile.GetSize() < nBytes && m_PlayerHistoryFile.GetSize() % nSlotBytes == 0) {
        nHeld = m_PlayerHistoryFile.GetSize();
    }
    if (!m_PlayerHistoryFile.Open(kPlayerHistoryFile, nHeld))
        return false;
    if (nHeld >= nBytes)
        return true;

    // Laid out again in place: each week's block moves up to where nSlots
    // slots put it, the last block first, and the new slots of every block
    // and of the directory are zeroed. Room is kept for growth, so that a few
    // new slots do not copy the whole history into a new buffer.
    const size_t nOldSlots = nHeld / nSlotBytes;
    const size_t nNewSlots = static_cast<size_t>(nSlots);
    std::vector<uint8_t>& bytes = m_PlayerHistoryFile.GetBytes();
    if (bytes.capacity() < nBytes)
        bytes.reserve(PlayerHistoryRoom(nBytes));
    bytes.resize(nBytes);
    uint8_t* pBytes = bytes.data();
    const size_t nOldBlockBytes = kHistoryRecordBytes * nOldSlots;
    const size_t nNewBlockBytes = kHistoryRecordBytes * nNewSlots;
    for (size_t nBlock = kHistoryWeeks; nBlock-- > 0;) {
        uint8_t* pTo = pBytes + 2 * nNewSlots + nNewBlockBytes * nBlock;
        std::memmove(pTo, pBytes + 2 * nOldSlots + nOldBlockBytes * nBlock, nOldBlockBytes);
        std::fill(pTo + nOldBlockBytes, pTo + nNewBlockBytes, uint8_t{0});
    }
    std::fill(pBytes + 2 * nOldSlots, pBytes + 2 * nNewSlots, uint8_t{0});
    m_PlayerHistoryFile.MarkChanged();
    return true;
}

bool CDatabaseHandler::WritePlayerHistory()
{
    const int nSlots = m_nHistorySlots;
    if (nSlots <= 0)
        return false;
    if (!OpenPlayerHistory(nSlots))
        DebugLog(1, "[CDatabaseHandler::WritePlayerHistory] %s is missing or short: made again", kPlayerHistoryFile);
    const int nWeek = GetWeekNumber(m_GameDate);
    uint8_t* pHistory = m_PlayerHistoryFile.GetData();
    FillPlayerHistoryWeek(pHistory, pHistory + WeekBlockOffset(nSlots, nWeek), nSlots, nWeek);
    m_PlayerHistoryFile.MarkChanged();
    return true;
}

bool CDatabaseHandler::ReadPlayerHistory(int64_t nOffset, uint8_t* pDest, size_t nBytes)
{
    const int nSlots = m_nHistorySlots;
    if (nSlots <= 0 || nOffset < 0)
        return false;
    if (!OpenPlayerHistory(nSlots))
        DebugLog(1, "[CDatabaseHandler::ReadPlayerHistory] %s is missing or short: made again", kPlayerHistoryFile);
    if (static_cast<uint64_t>(nOffset) + nBytes > m_PlayerHistoryFile.GetSize())
        return false;
    std::copy_n(m_PlayerHistoryFile.GetData() + nOffset, nBytes, pDest);
    return true;
}

bool CDatabaseHandler::FlushWorkingFiles()
{
    bool bFlushed = true;
    if (!m_PlayerHistoryFile.Flush()) {
        DebugLog(0, "[CDatabaseHandler::WritePlayerHistory] Could not write %s", kPlayerHistoryFile);
        bFlushed = false;
    }
    bFlushed = FlushCupMatchHistory() && bFlushed;
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>()) {
        bFlushed = pCountry->FlushMatchHistory() && bFlushed;
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            bFlushed = pDivision->FlushHistoryFiles() && bFlushed;
    }
    return bFlushed;
}

void CDatabaseHandler::CloseWorkingFiles()
{
    m_PlayerHistoryFile.Close();
    m_CupMatchHistory.Discard();
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>()) {
        pCountry->DiscardMatchHistory();
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            pDivision->CloseHistoryFiles();
    }
}

bool CDatabaseHandler::SaveEuroCupSchedule()
{
    if (!AppendCountedRecords<CCupFixturesDatabase>(kCupScheduleFile, m_lstCupFixtures, CCupFixturesDatabase::FILE_SIZE)) {
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
