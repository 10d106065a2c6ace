#include "database/SeasonArchiveRecords.h"

#include "database/CCountryDatabase.h"
#include "database/CDivisionDatabase.h"

namespace {

void ReadReferences(const uint8_t* pList, int nPlaces, PERSONREFERENCE* pOut)
{
    for (int i = 0; i < nPlaces; ++i)
        pOut[i] = PERSONREFERENCE::Load(pList + i * PERSONREFERENCE::BYTES);
}

void ReadClubIds(const uint8_t* pList, int nSlots, uint16_t* pOut)
{
    for (int i = 0; i < nSlots; ++i)
        pOut[i] = LoadRecordU16(pList + 2 * i);
}

}  // namespace

static_assert(division_archive::kBytes == DIVISION_ARCHIVE_BYTES);
static_assert(country_archive::kBytes == CCountryDatabase::RAW_RECORD_LARGE);
static_assert(division_archive::kRecords + division_archive::kRecordSlots * PERSONREFERENCE::BYTES ==
              division_archive::kPromoted);
static_assert(country_archive::kFeesReceived + country_archive::kListPlaces * PERSONREFERENCE::BYTES ==
              country_archive::kWinners);
static_assert(country_archive::kSecondCupEntrants + 2 * country_archive::kSecondCupSlots <= country_archive::kKey);
static_assert(SeasonArchiveKey(1999) == 0);

DIVISIONSEASONARCHIVE DIVISIONSEASONARCHIVE::Read(const DIVISIONARCHIVERECORD& record)
{
    namespace layout = division_archive;
    const uint8_t* p = record.abyData;
    DIVISIONSEASONARCHIVE archive;
    ReadReferences(p + layout::kEleven, layout::kElevenPlaces, archive.aEleven);
    archive.TopScorer = PERSONREFERENCE::Load(p + layout::kTopScorer);
    archive.FeePaid = PERSONREFERENCE::Load(p + layout::kFeePaid);
    archive.FeeReceived = PERSONREFERENCE::Load(p + layout::kFeeReceived);
    archive.Manager = PERSONREFERENCE::Load(p + layout::kManager);
    ReadReferences(p + layout::kRecords, layout::kRecordSlots, archive.aRecords);
    ReadClubIds(p + layout::kPromoted, layout::kClubSlots, archive.awPromoted);
    ReadClubIds(p + layout::kRelegated, layout::kClubSlots, archive.awRelegated);
    archive.byDivision = p[layout::kDivision];
    archive.byKey = p[layout::kKey];
    return archive;
}

COUNTRYSEASONARCHIVE COUNTRYSEASONARCHIVE::Read(const uint8_t* pRecord)
{
    namespace layout = country_archive;
    COUNTRYSEASONARCHIVE archive;
    if (!pRecord)
        return archive;
    ReadReferences(pRecord + layout::kTopScorers, layout::kListPlaces, archive.aTopScorers);
    ReadReferences(pRecord + layout::kFeesPaid, layout::kListPlaces, archive.aFeesPaid);
    ReadReferences(pRecord + layout::kFeesReceived, layout::kListPlaces, archive.aFeesReceived);
    ReadClubIds(pRecord + layout::kWinners, layout::kCompetitions, archive.awWinners);
    ReadClubIds(pRecord + layout::kRunnersUp, layout::kCompetitions, archive.awRunnersUp);
    ReadClubIds(pRecord + layout::kFirstCupEntrants, layout::kFirstCupSlots, archive.awFirstCupEntrants);
    ReadClubIds(pRecord + layout::kSecondCupEntrants, layout::kSecondCupSlots, archive.awSecondCupEntrants);
    archive.byCountry = pRecord[layout::kCountry];
    archive.byKey = pRecord[layout::kKey];
    return archive;
}

bool AppendArchiveClub(uint8_t* pList, int nSlots, uint16_t wClub)
{
    for (int i = 0; i < nSlots; ++i)
        if (LoadRecordU16(pList + 2 * i) == 0) {
            StoreRecordU16(pList + 2 * i, wClub);
            return true;
        }
    return false;
}
