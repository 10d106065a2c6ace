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
#include "database/CDatabaseHandler.h"
#include "database/CPlayerDatabase.h"
#include "platform/Files.h"
#include "season/CNewspaperManager.h"
#include "season/CNewspaperStoryList.h"

namespace {

// Printed stories are kept four weeks.
constexpr int kStoryDays = 28;
constexpr uint16_t kStoryPlayerLate = 284;
constexpr uint16_t kStoryPlayerEarly = 285;

}  // namespace

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
    DebugLog(8, "[CCountryDatabase::ProcessAwards] %s (finance %d)", m_szName, byFlag);
    UpdateEconomyIndex();
    if (m_pStories)
        m_pStories->RemoveOldStories(kStoryDays);
    bool bFirst = true;
    for (CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>()) {
        if (bFirst)
            pDivision->PickTelevisedMatches();
        bFirst = false;
        pDivision->ProcessAwards(byFlag);
    }
    if (m_pStories) {
        m_pStories->AddPlayerAwards(*this);
        m_pStories->AddManagerAwards(*this);
    }
    AddStoryPlayerStory();
}

void CCountryDatabase::AddStoryPlayerStory()
{
    const int32_t nFigure = GetStoredValue(0);
    const ID_PLAYER idPlayer = static_cast<ID_PLAYER>(GetStoredValue(1));
    const ID_CLUB idStoryClub = static_cast<ID_CLUB>(GetStoredValue(2) & 0xFFFF);
    if (idPlayer == 0 || !m_pDatabaseHandler)
        return;
    // Early in the season the paper writes of a promise, later of a season.
    const CDate today = m_pDatabaseHandler->GetGameDate();
    const int nSeasonDays = m_SeasonEnd.DaysBetween(m_SeasonStart);
    const double dShare = nSeasonDays > 0 ? m_SeasonEnd.DaysBetween(today) * 100.0 / nSeasonDays : 0.0;
    const uint16_t wStory = dShare > 33 ? kStoryPlayerEarly : kStoryPlayerLate;
    const CPlayerDatabase* pPlayer = m_pDatabaseHandler->GetPlayerFromID(idPlayer);
    const CClubDatabase* pStoryClub = m_pDatabaseHandler->GetClubFromID(idStoryClub);
    CNewspaperStory* pStory = pPlayer && pPlayer->m_pClub ? pPlayer->m_pClub->AddNewspaperStory(2, wStory) : nullptr;
    if (!pStory && pStoryClub)
        pStory = pStoryClub->AddNewspaperStory(2, wStory);
    if (!pStory)
        return;
    pStory->SetParameterSlot(NEWS_SLOT_PERSON, idPlayer);
    pStory->SetParameterSlot(NEWS_SLOT_CLUB_A, pPlayer && pPlayer->m_pClub ? pPlayer->m_pClub->GetID() : 0u);
    pStory->SetParameterSlot(NEWS_SLOT_CLUB_B, pStoryClub ? pStoryClub->GetID() : 0u);
    pStory->SetParameterSlot(NEWS_SLOT_SUBTYPE, static_cast<uint32_t>(nFigure));
}

void CCountryDatabase::DoSeasonEndSteps()
{
    PayLeaguePrizeMoney();
    for (CDivisionDatabase* pDivision : m_lstDivisions.Items<CDivisionDatabase>())
        pDivision->AnnounceTableZones();
}
