#include "season/SaveGameSummary.h"

#include "season/CSaveGame.h"

#include "common/CBinaryFile.h"
#include "database/CDatabaseHandler.h"
#include "platform/Files.h"

#include <cstdio>
#include <memory>

namespace {

// A text field up to its first zero; a field without one is taken whole.
bool ReadTextField(CBinaryReader& reader, size_t nBytes, std::string& text)
{
    char szField[SAVEGAME_SUMMARY_MANAGER_BYTES] = {};
    if (nBytes > sizeof(szField) || !reader.ReadBytes(szField, nBytes))
        return false;
    size_t nLength = 0;
    while (nLength < nBytes && szField[nLength])
        ++nLength;
    text.assign(szField, nLength);
    return true;
}

bool ReadDate(CBinaryReader& reader, int (&anDate)[3])
{
    uint8_t byDay = 0, byMonth = 0;
    uint16_t wYear = 0;
    if (!reader.ReadU8(byDay) || !reader.ReadU8(byMonth) || !reader.ReadU16(wYear))
        return false;
    anDate[0] = byDay;
    anDate[1] = byMonth;
    anDate[2] = wYear;
    return true;
}

bool ReadSummary(CBinaryReader& reader, SAVEGAMESUMMARY& summary)
{
    uint16_t wMagic = 0;
    uint8_t byMark = 0;
    int32_t nBalance = 0;
    const bool bRead = reader.ReadU16(wMagic) && reader.ReadU8(byMark) && reader.ReadU8(summary.byGameType) &&
                       ReadTextField(reader, SAVEGAME_SUMMARY_MANAGER_BYTES, summary.manager) &&
                       ReadTextField(reader, SAVEGAME_SUMMARY_CLUB_BYTES, summary.club) &&
                       ReadTextField(reader, SAVEGAME_SUMMARY_DIVISION_BYTES, summary.division) &&
                       reader.ReadU8(summary.byLeaguePosition) && reader.ReadU8(summary.byPlayed) &&
                       reader.ReadU8(summary.byPoints) && ReadDate(reader, summary.anGameDate) &&
                       ReadDate(reader, summary.anSavedDate) && reader.ReadU32(summary.dwCountry) &&
                       reader.ReadU32(summary.dwNationality) && reader.ReadI32(nBalance);
    summary.nBankBalance = nBalance;
    return bRead && wMagic == SAVEGAME_DESCRIPTOR_MAGIC && byMark == SAVEGAME_DESCRIPTOR_MARK;
}

}  // namespace

bool ReadSaveGameSummaries(const std::string& path, std::vector<SAVEGAMESUMMARY>& summaries)
{
    summaries.clear();
    std::unique_ptr<FILE, int (*)(FILE*)> pFile(plat::openFile(path, "rb"), &std::fclose);
    if (!pFile)
        return false;
    CBinaryReader reader(pFile.get());
    uint8_t byCount = 0;
    if (!reader.ReadU8(byCount) || byCount == 0 || byCount > HUMAN_SLOTS ||
        !reader.CheckCount(byCount, SAVEGAME_DESCRIPTOR_BYTES))
        return false;
    std::vector<SAVEGAMESUMMARY> read(byCount);
    for (SAVEGAMESUMMARY& summary : read)
        if (!ReadSummary(reader, summary))
            return false;
    summaries = std::move(read);
    return true;
}
