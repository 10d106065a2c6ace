// The day advance: the start of a new game's world, one game day with its
// week, month, quarter and season work in their fixed order, the continue
// command and the pre-start run. Work that belongs to records not in the game
// yet (markets, pools, club finance, awards, promotion, human managers) keeps
// its place in the order as a named step that logs and changes nothing.
#include "database/CDatabaseHandler.h"

#include <algorithm>

#include "common/DebugLog.h"
#include "common/ShellServices.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDivisionDatabase.h"
#include "platform/Random.h"
#include "season/CEuropeanCupDatabase.h"
#include "season/CGroundDatabase.h"
#include "season/CNewspaperStoryList.h"
#include "season/CRefereeDatabase.h"
#include "season/CSaveGame.h"

namespace {

constexpr int kNewGameYear = 1999;
constexpr int kNewGameMonth = 7;
constexpr int kNewGameDay = 1;
constexpr int kMonday = 1;
constexpr int kSeasonMonth = 7;
constexpr int kPriceRises = 17;
// Progress stage of making the season's league fixtures.
constexpr int kFixturesProgressStage = 13;
constexpr uint16_t kNewsNewSeasonFixtures = 265;

CDate FirstMondayOfJuly(int nYear)
{
    CDate date;
    date.SetNthWeekday(kSeasonMonth, nYear, kMonday, 1);
    return date;
}

}  // namespace

CDate CDatabaseHandler::GetSeasonStartDate() const
{
    return m_pEuropeanCups ? m_pEuropeanCups->GetSeasonDate() : CDate();
}

// ---- a new game ----

bool CDatabaseHandler::SetUpNewGameRecords()
{
    if (!IsDatabaseLoaded() || m_lstCountries.IsEmpty()) {
        DebugLog(0, "[CDatabaseHandler::SetUpNewGameRecords] No world is loaded");
        return false;
    }
    const CDate start(kNewGameYear, kNewGameMonth, kNewGameDay);
    SetGameDate(start);
    SetUpHumansForNewGame();

    // Referees are numbered over the whole world, so that one number names
    // one referee wherever he is looked up.
    uint16_t wNextReferee = 1;
    for (const CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        for (const CRefereeDatabase* pReferee : pCountry->GetReferees().Items<CRefereeDatabase>())
            wNextReferee = std::max<uint16_t>(wNextReferee, static_cast<uint16_t>(pReferee->GetID() + 1));
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        if (pCountry->GetReferees().IsEmpty())
            pCountry->GenerateReferees(wNextReferee);

    // The start data holds the grounds' capacities only; their stands and
    // pitch items are built here, from the game's own random draws.
    for (CGroundDatabase* pGround : m_lstGrounds.Items<CGroundDatabase>())
        if (pGround->GetComponentCount() == 0) {
            pGround->GenerateGroundStadiums();
            pGround->GenerateGroundFacilities();
        }
    // The humans' clubs were taken over before their stands stood: their
    // ticket prices and match-day stock follow the grounds now built.
    for (CSaveGame* pHuman : m_pHumanSlots)
        if (pHuman && pHuman->GetClub())
            pHuman->SetUpTicketTables();

    // A club the start data left without a standing gets its start ratings.
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                if (pClub->m_byReputation == 0 || pClub->m_bySupportLevel == 0)
                    pClub->GenerateMissingRatings();

    // The pools start full, so that clubs can hire from the first day.
    TopUpManagerPool();
    TopUpStaffPool();
    TopUpYouthPool();

    // Twice the players of the start data, so that the players and youths
    // made later still find room in the weekly history file.
    m_nHistorySlots = 2 * m_nPlayerCount;
    RebuildClubIDTable();
    if (m_pEuropeanCups)
        m_pEuropeanCups->SetSeasonDate(FirstMondayOfJuly(kNewGameYear));
    DeleteTempHistoryFiles();
    if (!CreatePlayerHistoryFile())
        return false;

    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>()) {
        pCountry->SetSeasonDates(kNewGameYear);
        pCountry->CalculateSeasonDates();
    }
    DoCountriesNewSeason();
    bool bFiles = true;
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>()) {
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            bFiles = pDivision->CreateDivisionHistory() && bFiles;
        pCountry->CalculateSeasonEndDate();
        pCountry->ApplyCountryLevel();
    }
    InstallNewGameCups();
    // The game starts on the 1st, a month whose clubs' monthly choice of
    // transfer targets would otherwise never run.
    DoClubsTransferPlanning(false, true);
    SaveProjectedFinance();
    return bFiles;
}

void CDatabaseHandler::TellHumansOfNewSeason(const CCountryDatabase& country) const
{
    for (const CSaveGame* pHuman : m_pHumanSlots)
        if (pHuman && pHuman->GetClub() && pHuman->GetClub()->m_pCountry == &country)
            pHuman->GetClub()->AddNewsItem(kNewsNewSeasonFixtures);
}

void CDatabaseHandler::DoCountriesNewSeason()
{
    const int nCount = m_lstCountries.GetCount();
    int nDone = 0;
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>()) {
        pCountry->StartRefereesNewSeason();
        TellHumansOfNewSeason(*pCountry);
        pCountry->GenerateLeagueFixtures();
        ++nDone;
        ProgressCallback(nDone * (100.0 / nCount), kFixturesProgressStage, 1, 0);
    }
}

void CDatabaseHandler::RebuildClubIDTable()
{
    int nClubs = 0;
    int nHighest = 0;
    for (const CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (const CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
                ++nClubs;
                nHighest = std::max<int>(nHighest, pClub->m_wClubId);
            }
    ResetClubTable(std::max(nClubs, nHighest));
    for (const CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                SetClubInTable(pClub->m_wClubId, pClub);
}

// ---- one day ----

void CDatabaseHandler::DoNextDay(CDate& date, uint8_t& byNewWeek, uint8_t& byNewMonth, uint8_t& byNewSeason,
                                 uint8_t bySeasonChange)
{
    const CDate previous = m_GameDate;
    const CDate today(previous.GetValue(), 1);
    SetGameDate(today);
    byNewSeason = 0;

    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>()) {
        if (today == pCountry->GetSeasonEndDate())
            pCountry->DoSeasonEndSteps();
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>()) {
            pDivision->WriteDivisionHistory();
            if (pDivision->m_byPlayOffPlaces > 0 && today == CDate(pDivision->m_SeasonEnd.GetValue(), 1))
                pDivision->MakePlayOffs();
        }
    }

    if (today.GetDayOfWeek() == kMonday) {
        DoNewWeek();
        byNewWeek = 1;
    }
    else
        byNewWeek = 0;

    if (today.GetDay() == 1) {
        DoNewMonth(bySeasonChange);
        byNewMonth = 1;
        if (today.GetMonth() % 3 == 0)
            DoQuarterUpdate(bySeasonChange);
    }

    const CDate seasonStart = GetSeasonStartDate();
    CDate anniversary = seasonStart;
    anniversary.SetYear(seasonStart.GetYear() + 1);
    if (seasonStart.IsValid() && today.GetMonth() >= kSeasonMonth && previous.GetMonth() <= kSeasonMonth &&
        bySeasonChange && previous < anniversary && today >= anniversary) {
        DoNewSeason();
        RebuildClubIDTable();
        if (m_pEuropeanCups)
            m_pEuropeanCups->SetSeasonDate(FirstMondayOfJuly(seasonStart.GetYear() + 1));
        if (m_pEuropeanCups)
            m_pEuropeanCups->StartSeason();
        byNewSeason = 1;
    }

    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        pCountry->DoSpecialEvent(today);
    date = today;

    DoTransferBuyEventsUpdate(previous);
    DoTransferLoanEventsUpdate(previous);
    DoHumanScoutingDay(1);
    DoHumansDailyUpdate();
    UpdateHumanNextFixtures();
}

void CDatabaseHandler::DoDayEnd(CDate& date, uint8_t& byNewWeek, uint8_t& byNewMonth)
{
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>()) {
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            pDivision->WriteDivisionHistory();
        pCountry->DoSpecialEvent(m_GameDate);
    }
    const CDate tomorrow(m_GameDate.GetValue(), 1);
    byNewWeek = m_GameDate.GetDayOfWeek() == kMonday ? 1 : 0;
    if (tomorrow.GetDay() == 1)
        byNewMonth = 1;
    date = tomorrow;
    UpdateHumanNextFixtures();
}

// ---- the periodic steps ----

void CDatabaseHandler::DoNewWeek()
{
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        pCountry->ProcessDivisions(1);
    for (CGroundDatabase* pGround : m_lstGrounds.Items<CGroundDatabase>())
        pGround->ProcessComponentSchedules();
    WritePlayerHistory();
    DoClubsTransferPlanning(true, false);
}

void CDatabaseHandler::DoWeeklyUpdate()
{
    for (CGroundDatabase* pGround : m_lstGrounds.Items<CGroundDatabase>())
        pGround->ProcessComponentSchedules();
    WritePlayerHistory();
}

void CDatabaseHandler::DoNewMonth(uint8_t byFlag)
{
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        pCountry->ProcessAwards(byFlag);
    // The humans' review runs with the awards run that asks for it.
    if (byFlag)
        DoHumansPeriodicReview();
    // The monthly hook of the people of the pools does nothing; each is still
    // looked up (a retired one is reloaded) so that the order of work stays.
    for (const void* pId : m_lstStaffPool.Items<void>())
        GetStaffFromID(static_cast<ID_STAFF>(reinterpret_cast<uintptr_t>(pId)));
    for (const void* pId : m_lstUnemployedManagers.Items<void>())
        GetManagerFromID(static_cast<ID_MANAGER>(reinterpret_cast<uintptr_t>(pId)));
    DoClubsTransferPlanning(false, true);
    ReviewManagers();
    CloseHumansFinanceMonth();
    SaveProjectedFinance();
}

void CDatabaseHandler::DoQuarterUpdate(uint8_t byFlag)
{
    DebugLog(8, "[CDatabaseHandler::DoQuarterUpdate] Quarter of %d/%d (flag %d)", m_GameDate.GetMonth(),
             m_GameDate.GetYear(), byFlag);
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                pClub->ClubQuarterlyStep(byFlag != 0);
    DoHumansQuarterlyUpdate(byFlag != 0);
    RetireOldManagers();
    TopUpManagerPool();
    TopUpStaffPool();
    // A quarter's moves, loans and promotions scatter the squads over the
    // player pool, a little more every week: they are laid out again.
    const int nMoved = RelayPlayerRecords();
    DebugLog(2, "[CDatabaseHandler::DoQuarterUpdate] %d player records laid out again", nMoved);
}

void CDatabaseHandler::DoNewSeason()
{
    // Each club's verdict on the season and its records, while the season's
    // tables and figures still stand: the close-out below clears them.
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>()) {
                pClub->CheckSeasonTarget();
                pClub->CloseSeasonClubRecords();
            }
    std::vector<std::vector<ID_CLUB>> finishedTables;
    for (const CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        finishedTables.push_back(pCountry->GetFirstDivisionTable());
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>()) {
        // The old season is archived and its clubs moved before the dates
        // move on; the new season's tables and fixtures follow them.
        pCountry->DoSeasonClose();
        pCountry->SetSeasonDates(pCountry->GetSeasonYear() + 1);
        pCountry->CalculateSeasonDates();
        pCountry->CalculateSeasonEndDate();
        pCountry->DoSeasonOpen();
    }
    // The players marked retiring leave with the old season; a computer club
    // fills the gaps they leave before the new season's first match.
    int nRetired = 0;
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                if (pClub->ReleaseRetired() > 0) {
                    ++nRetired;
                    pClub->MaintainSquad();
                }
    DebugLog(2, "[CDatabaseHandler::DoNewSeason] players retire from %d clubs", nRetired);
    const int nFreeGone = StartFreePlayersSeason();
    DebugLog(2, "[CDatabaseHandler::DoNewSeason] %d free players leave the game", nFreeGone);
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                pClub->StartNewSeason();
    // The cups start again once every country has its new season's dates.
    StartCupSeason(finishedTables);
    m_nYouthReleaseCounter = 0;
    SaveEuroCupSchedule();
    DeleteTempHistoryFiles();
    DeleteCupMatchHistory();
    TopUpManagerPool();
    TopUpStaffPool();
    // Each ground's stands cost more to keep up every season.
    for (CGroundDatabase* pGround : m_lstGrounds.Items<CGroundDatabase>())
        pGround->ApplyYearlyCostRise();
    // The price rises of the humans' match-day rows are drawn whether or not
    // a human is there to take them, so that the world's draws stay in step.
    int anPercentages[kPriceRises];
    for (int& nPercentage : anPercentages)
        nPercentage = plat::rand() % 9 + 2;
    // Each country's season record was made with its season's close, while
    // the finals and the clubs' season fees were still there to read.
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        if (CNewspaperStoryList* pStories = pCountry->GetNewspaperStories())
            pStories->RemoveAll();
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
            for (CClubDatabase* pClub : pDivision->m_lstClubsByTable.Items<CClubDatabase>())
                pClub->TellOfBalanceRaise();
    TopUpYouthPool();
    for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
        pCountry->DoDeleteRedundantEvents();
    DoHumansNewSeason();
    // Suppliers charge more each season: a human's match-day rows rise, cost
    // and price alike, so that his margin stays.
    for (CSaveGame* pHuman : m_pHumanSlots)
        if (pHuman)
            for (int r = 0; r < kPriceRises; ++r)
                for (int nField : {TICKET_FIELD_COST, TICKET_FIELD_PRICE}) {
                    const int32_t nOld = pHuman->GetTicketField(r, nField);
                    pHuman->SetTicketField(r, nField, nOld + static_cast<int32_t>(anPercentages[r] * 0.01 * nOld));
                }
}

// ---- the humans ----

void CDatabaseHandler::UpdateHumanNextFixtures()
{
    for (CSaveGame* pHuman : m_pHumanSlots)
        if (pHuman)
            pHuman->UpdateNextFixture();
}

void CDatabaseHandler::SaveProjectedFinance()
{
    StartTiming();
    for (const CSaveGame* pHuman : m_pHumanSlots)
        if (pHuman && pHuman->GetClub())
            pHuman->WriteProjectedFinance();
    LogElapsedTime("Save Projected Finance");
}

// ---- the continue command ----

CDate CDatabaseHandler::GetContinueStopForClub(const CClubDatabase* pClub, bool bHasClub) const
{
    const CDate today = m_GameDate;
    CDate candidate;
    if (!pClub || !GetNextMatchDate(pClub, today, candidate))
        candidate = CDate(today.GetValue(), 7);
    // No division of the world plays on a fixed weekday, so every human stops
    // by the next Sunday at the latest.
    const CDate stop(today.GetValue(), 7 - today.GetDayOfWeek());
    return bHasClub ? std::min(candidate, stop) : stop;
}

void CDatabaseHandler::GetContinueDate(CDate& date) const
{
    const CDate tomorrow(m_GameDate.GetValue(), 1);
    date = tomorrow;
    if (m_byContinueMode == 0)
        return;
    // Each human's stop counts from today; with no human the day is tomorrow.
    // The earliest stop of the humans, never before tomorrow.
    bool bFirst = true;
    for (const CSaveGame* pHuman : m_pHumanSlots)
        if (pHuman) {
            const CDate stop = GetContinueStopForClub(pHuman->GetClub(), pHuman->GetClub() != nullptr);
            date = bFirst ? stop : std::min(date, stop);
            bFirst = false;
        }
    date = std::max(date, tomorrow);
}

int CDatabaseHandler::ProcessDay(bool* pbNewSeason, const std::function<void(int, int)>& onDay)
{
    CDate target;
    GetContinueDate(target);
    const int nTotal = std::max(1, target.DaysBetween(m_GameDate));
    int nDays = 0;
    if (pbNewSeason)
        *pbNewSeason = false;
    auto enterDay = [this, &nDays, pbNewSeason, &onDay, nTotal] {
        CDate date;
        uint8_t byWeek = 0, byMonth = 0, bySeason = 0;
        DoNextDay(date, byWeek, byMonth, bySeason, 1);
        if (bySeason && pbNewSeason)
            *pbNewSeason = true;
        for (const CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
            for (CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
                pDivision->UpdateSeasonStarted(m_GameDate);
        ++nDays;
        if (onDay)
            onDay(nDays, nTotal);
    };
    enterDay();
    while (m_GameDate < target) {
        DoMatchDay(m_GameDate);
        enterDay();
    }
    SaveProjectedFinance();
    return nDays;
}

void CDatabaseHandler::ProcessDaysToDate(const CDate& target)
{
    // The run shows its progress week by week (progress message 21).
    constexpr int kPreStartStage = 21;
    const double dStep = 100.0 / (std::max(0, target.DaysBetween(m_GameDate)) / 7 + 1);
    double dDone = 0.0;
    ProgressCallback(dDone, kPreStartStage, 1, 0);
    uint8_t byNewMonth = 0;
    while (m_GameDate < target) {
        CDate tomorrow;
        uint8_t byNewWeek = 0;
        DoDayEnd(tomorrow, byNewWeek, byNewMonth);
        for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>())
            pCountry->ProcessMatchDay(m_GameDate);
        if (byNewWeek || byNewMonth)
            for (CCountryDatabase* pCountry : m_lstCountries.Items<CCountryDatabase>()) {
                pCountry->ProcessDivisions(0);
                pCountry->ProcessAwards(0);
            }
        if (byNewWeek) {
            DoWeeklyUpdate();
            dDone += dStep;
            ProgressCallback(dDone, kPreStartStage, 1, 0);
        }
        if (byNewMonth)
            SaveProjectedFinance();
        byNewMonth = 0;
        const CDate previous = m_GameDate;
        SetGameDate(tomorrow);
        DoTransferBuyEventsUpdate(previous);
        DoTransferLoanEventsUpdate(previous);
    }
    WritePlayerHistory();
}
