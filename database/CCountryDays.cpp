// The country's part of the day advance: its match day, which plays the
// league fixtures of every division into the country's match history file,
// and the periodic division steps.
#include "database/CCountryDatabase.h"

#include <string>

#include "common/CBinaryFile.h"
#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDivisionDatabase.h"
#include "platform/Files.h"

std::string CCountryDatabase::GetMatchHistoryFileName() const
{
    return "Temp" + std::to_string(m_byID) + ".mhs";
}

bool CCountryDatabase::FlushMatchHistory()
{
    // The matches are played whether or not the file can be written; the
    // records wait for the next flush, and the log says so.
    if (m_MatchHistory.Flush(GetMatchHistoryFileName()))
        return true;
    DebugLog(0, "[CCountryDatabase::ProcessMatchDay] Could not open %s: no match records written",
             GetMatchHistoryFileName().c_str());
    return false;
}

void CCountryDatabase::DeleteMatchHistory()
{
    m_MatchHistory.Discard();
    plat::removeFiles(".", GetMatchHistoryFileName());
}

int CCountryDatabase::ProcessMatchDay(const CDate& date)
{
    bool bAnyToday = false;
    for (const CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>())
        if (pDivision->m_NextMatchDate.GetValue() == 0 || pDivision->m_NextMatchDate <= date)
            bAnyToday = true;
    for (const CCupFixturesDatabase* pFixture : m_lstCupFixtures.Items<CCupFixturesDatabase>())
        if (pFixture->GetDate() == date)
            bAnyToday = true;
    int nPlayed = 0;
    if (bAnyToday) {
        m_MatchHistory.Touch();
        CBinaryWriter history(m_MatchHistory.GetBytes());
        for (CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>())
            nPlayed += pDivision->PostLeagueResults(date, &history);
        nPlayed += PlayCupFixtures(date, &history);
    }
    UpdateWeather();
    return nPlayed;
}

void CCountryDatabase::ProcessDivisions(uint8_t byWeekly)
{
    DebugLog(8, "[CCountryDatabase::ProcessDivisions] %s (weekly %d)", m_szName, byWeekly);
    for (CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>()) {
        for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
            pClub->ClubPeriodicStep(byWeekly != 0);
        if (byWeekly)
            pDivision->WriteClubHistory();
    }
}

void CCountryDatabase::ProcessAwards(uint8_t byFlag)
{
    UpdateEconomyIndex();
    bool bFirst = true;
    for (CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>()) {
        if (bFirst)
            pDivision->PickTelevisedMatches();
        bFirst = false;
        pDivision->ProcessAwards(byFlag);
    }
    DebugLog(8, "[CCountryDatabase::ProcessAwards] %s: the award stories wait for the newspaper manager", m_szName);
}

void CCountryDatabase::DoSeasonEndSteps()
{
    PayLeaguePrizeMoney();
    for (CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>())
        pDivision->AnnounceTableZones();
}
