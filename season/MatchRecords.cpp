#include "season/MatchRecords.h"

#include "common/CBinaryFile.h"
#include "common/CRecordPool.h"

#include <new>

namespace {

CRecordPool& EventPool()
{
    // Made on first use and kept to the end of the program: events may be
    // freed by objects that outlive any other owner.
    static CRecordPool* s_pPool = new CRecordPool(sizeof(MATCHEVENT), 4096);
    return *s_pPool;
}

// An event and a line-up entry are both a player's identifier and four
// bytes: a match writes dozens of them, each as one piece.
bool WritePlayerAndFourBytes(CBinaryWriter& writer, uint32_t idPlayer, uint8_t by0, uint8_t by1, uint8_t by2,
                             uint8_t by3)
{
    const uint8_t aby[8] = {static_cast<uint8_t>(idPlayer),       static_cast<uint8_t>(idPlayer >> 8),
                            static_cast<uint8_t>(idPlayer >> 16), static_cast<uint8_t>(idPlayer >> 24),
                            by0, by1, by2, by3};
    writer.WriteBytes(aby, sizeof aby);
    return !writer.Failed();
}

}  // namespace

void* MATCHEVENT::operator new(size_t nBytes)
{
    if (nBytes != sizeof(MATCHEVENT))
        return ::operator new(nBytes);
    return EventPool().Allocate();
}

void MATCHEVENT::operator delete(void* pEvent, size_t nBytes)
{
    if (nBytes != sizeof(MATCHEVENT))
        ::operator delete(pEvent);
    else
        EventPool().Free(pEvent);
}

bool MATCHEVENT::Write(CBinaryWriter& writer) const
{
    return WritePlayerAndFourBytes(writer, idPlayer, byKind, byMinute, byCompetition, 0);
}

bool MATCHEVENT::Read(CBinaryReader& reader)
{
    reader.ReadU32(idPlayer);
    reader.ReadU8(byKind);
    reader.ReadU8(byMinute);
    reader.ReadU8(byCompetition);
    reader.Skip(1);
    return !reader.Failed();
}

bool MATCHPLAYERENTRY::Write(CBinaryWriter& writer) const
{
    return WritePlayerAndFourBytes(writer, idPlayer, bySlotCode, byRating, 0, 0);
}

bool MATCHPLAYERENTRY::Read(CBinaryReader& reader)
{
    reader.ReadU32(idPlayer);
    reader.ReadU8(bySlotCode);
    reader.ReadU8(byRating);
    reader.Skip(2);
    return !reader.Failed();
}

bool MATCHHISTORYHEADER::Write(CBinaryWriter& writer) const
{
    writer.WriteU32(dwAttendance);
    writer.WriteU32(dwMatchID);
    writer.WriteU32(Result.idManOfTheMatch);
    writer.WriteU16(wRefereeID);
    writer.WriteU16(wHomeClub);
    writer.WriteU16(wAwayClub);
    writer.WriteU8(byMatchKind);
    writer.WriteU8(byRulesByte1);
    writer.WriteU8(bySubstitutesNamed);
    writer.WriteU8(byAttendancePercentage);
    writer.WriteU8(byHomeGoals);
    writer.WriteU8(Result.byHomePossession);
    writer.WriteU8(Result.byWinnerPercentage);
    writer.WriteBytes(Result.abyRefereeStatistics, 4);
    writer.WriteBytes(Result.abyHomeClub, 2);
    writer.WriteU8(Result.byResult);
    writer.WriteU8(byAwayGoals);
    writer.WriteBytes(Result.abyShootOutGoals, 2);
    writer.WriteZeros(8);
    writer.WriteU8(byHomeEvents);
    writer.WriteU8(byAwayEvents);
    writer.WriteZeros(3);
    writer.WriteU8(byOptionalParts);
    writer.WriteZeros(3);
    return !writer.Failed();
}

bool MATCHHISTORYHEADER::Read(CBinaryReader& reader)
{
    reader.ReadU32(dwAttendance);
    reader.ReadU32(dwMatchID);
    reader.ReadU32(Result.idManOfTheMatch);
    reader.ReadU16(wRefereeID);
    reader.ReadU16(wHomeClub);
    reader.ReadU16(wAwayClub);
    reader.ReadU8(byMatchKind);
    reader.ReadU8(byRulesByte1);
    reader.ReadU8(bySubstitutesNamed);
    reader.ReadU8(byAttendancePercentage);
    reader.ReadU8(byHomeGoals);
    reader.ReadU8(Result.byHomePossession);
    reader.ReadU8(Result.byWinnerPercentage);
    reader.ReadBytes(Result.abyRefereeStatistics, 4);
    reader.ReadBytes(Result.abyHomeClub, 2);
    reader.ReadU8(Result.byResult);
    reader.ReadU8(byAwayGoals);
    reader.ReadBytes(Result.abyShootOutGoals, 2);
    reader.Skip(8);
    reader.ReadU8(byHomeEvents);
    reader.ReadU8(byAwayEvents);
    reader.Skip(3);
    reader.ReadU8(byOptionalParts);
    reader.Skip(3);
    return !reader.Failed();
}

uint32_t MATCHHISTORYHEADER::GetBodyBytes() const
{
    uint32_t dwBytes = 8u * (2u * bySubstitutesNamed + 22u + byHomeEvents + byAwayEvents);
    if (byOptionalParts & MATCHPART_CLUB_MATCH)
        dwBytes += 204;
    if (byOptionalParts & MATCHPART_CLUB_SEVEN)
        dwBytes += 28;
    if (byOptionalParts & MATCHPART_VALUE)
        dwBytes += 4;
    if (byOptionalParts & MATCHPART_ATTENDANCE)
        dwBytes += 256;
    return dwBytes;
}

void FreeMatchEvents(CXList& list)
{
    while (!list.IsEmpty())
        delete static_cast<MATCHEVENT*>(list.RemoveHead());
}
