#include "screens/ClubSeasonSummary.h"

#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "platform/Files.h"

#include <cstdio>
#include <string>

namespace club_season_summary {

bool Find(const CDatabaseHandler& database, uint16_t wClubId, int nSeasonsBack, std::vector<uint8_t>& record)
{
    if (nSeasonsBack <= 0)
        return false;
    for (const CCountryDatabase* pCountry : database.GetCountries().Items<CCountryDatabase>()) {
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>()) {
            const int nClubs = pDivision->GetClubCount();
            if (nClubs <= 0)
                continue;
            char szName[40];
            std::snprintf(szName, sizeof szName, "TempClubDivision%d.shs", pDivision->m_byDivisionId);
            std::vector<uint8_t> bytes;
            if (!plat::readWholeFile(szName, bytes))
                continue;
            const size_t nSeasonBytes = static_cast<size_t>(nClubs) * kBytes;
            const int nSeasons = static_cast<int>(bytes.size() / nSeasonBytes);
            const int nRecord = nSeasons - nSeasonsBack;
            if (nRecord < 0)
                continue;
            for (int c = 0; c < nClubs; ++c) {
                const size_t nAt = static_cast<size_t>(nRecord) * nSeasonBytes + static_cast<size_t>(c) * kBytes;
                // The club id stands at byte 344 of the record.
                const uint16_t wId = static_cast<uint16_t>(bytes[nAt + 344] | bytes[nAt + 345] << 8);
                if (wId == wClubId) {
                    record.assign(bytes.begin() + static_cast<std::ptrdiff_t>(nAt),
                                  bytes.begin() + static_cast<std::ptrdiff_t>(nAt + kBytes));
                    return true;
                }
            }
        }
    }
    return false;
}

}  // namespace club_season_summary
