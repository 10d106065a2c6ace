#include "shell/CGameDay.h"

#include "shell/CFormScript.h"
#include "shell/CGame.h"
#include "shell/CGameNavigationBar.h"
#include "shell/CScreenRegistry.h"
#include "shell/ScreenIDs.h"

#include "common/DebugLog.h"
#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CCupFixturesDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "platform/Random.h"
#include "season/CNewspaperManager.h"
#include "season/CNewspaperStoryList.h"
#include "season/CNoticeList.h"
#include "season/CSaveGame.h"

#include <algorithm>
#include <vector>

MATCHDAYFIXTURE g_aMatchDayFixtures[MATCHDAY_FIXTURE_SLOTS];
int CGameDay::s_nScenarioOutcome = CGameDay::SCENARIO_UNDECIDED;

namespace {

constexpr int kEndOfSeasonScreen = 41;
// The cup table shows cup number 0 under this parameter.
constexpr uint32_t kFirstCupParameter = 244;
constexpr int kStoryChancePercent = 85;
// The parameter slot a text reads its manager from.
constexpr int kStoryManagerSlot = 9;

CGame* Game() { return dynamic_cast<CGame*>(g_pGame); }

const char* ScriptLanguage()
{
    const CGame* pGame = Game();
    return pGame ? pGame->GetOptions().GetLanguage() : "English";
}

// Today's fixture of the club (any state) with its kind; null when none.
void* FixtureToday(const CDatabaseHandler& database, const CClubDatabase* pClub, int* pnKind,
                   CClubDatabase** ppOpponent = nullptr)
{
    if (!pClub)
        return nullptr;
    void* pFixture = nullptr;
    int nKind = 0;
    CClubDatabase* pOpponent =
        database.GetFixtureOpponent(pClub->GetID(), database.GetGameDate(), 0, 2, &pFixture, &nKind);
    if (!pOpponent || !pFixture)
        return nullptr;
    *pnKind = nKind;
    if (ppOpponent)
        *ppOpponent = pOpponent;
    return pFixture;
}

bool IsFixturePlayed(const void* pFixture, int nKind)
{
    if (nKind == 0)
        return static_cast<const CDivisionFixturesDatabase*>(pFixture)->IsPlayed();
    return static_cast<const CCupFixturesDatabase*>(pFixture)->IsPlayed();
}

CClubDatabase* HumanClub(const CDatabaseHandler& database, int nSlot)
{
    const CSaveGame* pHuman = database.GetHumanSlot(nSlot);
    return pHuman ? pHuman->GetClub() : nullptr;
}

// The table a human's fixture of today shows in: its league division, or
// its cup (by cup number and, for the countries' cups, the country).
struct RESULTTABLE {
    int nKind = -1;
    const CDivisionDatabase* pDivision = nullptr;
    uint8_t byCup = CUP_NUMBER_NONE;
    const CCountryDatabase* pCountry = nullptr;
};

RESULTTABLE ResultTableToday(const CDatabaseHandler& database, const CClubDatabase* pClub)
{
    RESULTTABLE table;
    int nKind = 0;
    const void* pFixture = FixtureToday(database, pClub, &nKind);
    if (!pFixture)
        return table;
    table.nKind = nKind;
    table.pDivision = pClub->m_pDivision;
    table.pCountry = pClub->m_pCountry;
    if (nKind == 1 || nKind == 2)
        table.byCup = static_cast<const CCupFixturesDatabase*>(pFixture)->GetCupNumber();
    return table;
}

bool IsSameTable(const RESULTTABLE& a, const RESULTTABLE& b)
{
    if (a.nKind == 0 && b.nKind == 0)
        return a.pDivision == b.pDivision;
    if ((a.nKind == 1 || a.nKind == 2) && a.nKind == b.nKind)
        return a.byCup == b.byCup && (a.nKind == 2 || a.pCountry == b.pCountry);
    return false;
}

}  // namespace

int CGameDay::ProcessDay(CDatabaseHandler& database)
{
    const CDate start = database.GetGameDate();
    if (const CGame* pGame = Game())
        database.SetContinueMode(pGame->GetOptions().m_nProcessGame);
    for (int nSlot = 0; nSlot < HUMAN_SLOTS; ++nSlot)
        if (CSaveGame* pHuman = database.GetHumanSlot(nSlot))
            pHuman->GetNotices().RemoveSeenNotices();
    if (CSaveGame* pHuman = database.GetCurrentSaveGame())
        pHuman->ClearNavigationAlerts();
    bool bNewSeason = false;
    // A continue of several days shows how far it has come.
    CGame* pGame = Game();
    const int nDays = database.ProcessDay(&bNewSeason, [pGame](int nDone, int nTotal) {
        if (pGame && nTotal > 1)
            pGame->ShowProgress(100.0 * nDone / nTotal, 0, nDone < nTotal, true);
    });
    PublishPendingStories(database);
    for (int nSlot = 0; nSlot < HUMAN_SLOTS; ++nSlot)
        if (CSaveGame* pHuman = database.GetHumanSlot(nSlot))
            pHuman->GetNotices().UpdateNotices();
    if (g_pNavigationBar)
        g_pNavigationBar->UpdateStatusLights();

    const CSaveGame* pHuman = database.GetCurrentSaveGame();
    const CCountryDatabase* pCountry = pHuman ? pHuman->GetCountry() : nullptr;
    if (pHuman && pHuman->GetClub() && pCountry) {
        const CDate& seasonEnd = pCountry->GetSeasonEndDate();
        if (start < seasonEnd && database.GetGameDate() >= seasonEnd)
            CheckScenarioObjective(database, 0);
    }
    if (bNewSeason && g_pNavigationBar)
        g_pNavigationBar->OnClientChange(kEndOfSeasonScreen, false);
    if (pHuman && !pHuman->GetClub())
        CheckScenarioObjective(database, 1);
    return nDays;
}

int CGameDay::ProcessDailyNews(CDatabaseHandler& database)
{
    CSaveGame* pHuman = database.GetCurrentSaveGame();
    if (!pHuman)
        return 0;
    CFormScript scripts[MAIL_CATEGORIES];
    bool abLoaded[MAIL_CATEGORIES] = {};
    for (int i = 0; i < MAIL_CATEGORIES; ++i)
        abLoaded[i] = scripts[i].Load(ScriptLanguage(), GetMailScriptFile(i), false);
    CNewspaperManager& news = pHuman->GetNews();
    news.RemoveExpiredNewsItems(database.GetGameDate(), MAIL_KEEP_DAYS);
    int nFiled = 0;
    LPXLISTNODE pNode = news.GetIncoming().GetHead();
    while (pNode) {
        LPXLISTNODE pNext = pNode->pNext;
        auto* pItem = static_cast<CNewsItem*>(pNode->pData);
        const int nCategory = GetMailCategory(pItem->GetType());
        // A sender whose script is missing keeps its letters for a later day.
        if (nCategory >= 0 && abLoaded[nCategory]) {
            CFormScript& script = scripts[nCategory];
            script.SetEventToken(pItem->GetType());
            const uint16_t wEntry = script.FindMatchingEntry(ITEMTEXTPARAMETERS::FromNewsItem(*pItem, &database));
            if (wEntry != 0xFFFF) {
                if (news.FileNewsItem(static_cast<uint8_t>(nCategory), pItem, wEntry))
                    ++nFiled;
            } else {
                news.DeleteIncomingNewsItem(pItem);
            }
        }
        pNode = pNext;
    }
    if (news.CountUnreadNewsItems() > 0)
        pHuman->SetNavigationAlert(MAIL_NAVIGATION_ALERT, 1);
    return nFiled;
}

int CGameDay::PublishPendingStories(CDatabaseHandler& database)
{
    CFormScript script;
    if (!script.Load(ScriptLanguage(), "PendingNews.fmc", false)) {
        DebugLog(1, "[CGameDay::PublishPendingStories] No story script: the stories stay pending");
        return 0;
    }
    int nPrinted = 0;
    for (CCountryDatabase* pCountry : database.GetCountries().Items<CCountryDatabase>()) {
        CNewspaperStoryList* pStories = pCountry->GetNewspaperStories();
        if (!pStories)
            continue;
        if (pStories->GetPendingStories().IsEmpty() && plat::rand() % 100 > kStoryChancePercent) {
            std::vector<CClubDatabase*> clubs;
            for (const CDivisionDatabase* pDivision : pCountry->GetDivisions().Items<CDivisionDatabase>())
                for (CClubDatabase* pClub : pDivision->m_lstClubsByID.Items<CClubDatabase>())
                    clubs.push_back(pClub);
            auto isLeague = [](const CClubDatabase* pClub) {
                return pClub->m_pDivision && pClub->m_pDivision->m_byKind == DIVISION_KIND_LEAGUE;
            };
            // A human's league club is never the story; a country of human
            // league clubs only has none.
            CClubDatabase* pClub = nullptr;
            for (size_t nTry = 0; !clubs.empty() && nTry < clubs.size() * 4; ++nTry) {
                CClubDatabase* pDrawn = clubs[static_cast<size_t>(plat::rand()) % clubs.size()];
                if (!(database.GetSaveGameForClub(pDrawn) && isLeague(pDrawn))) {
                    pClub = pDrawn;
                    break;
                }
            }
            if (pClub && pClub->m_wManagerId != 0 && isLeague(pClub))
                if (CNewspaperStory* pStory = pStories->AddPendingStory(0, STORY_CLUB_AND_MANAGER)) {
                    pStory->SetParameterSlot(NEWS_SLOT_CLUB_A, pClub->GetID());
                    pStory->SetParameterSlot(NEWS_SLOT_COUNTRY, pCountry->GetID());
                    pStory->SetParameterSlot(NEWS_SLOT_DIVISION, pClub->m_pDivision->m_byDivisionId);
                    pStory->SetParameterSlot(kStoryManagerSlot, pClub->m_wManagerId);
                }
        }
        while (LPXLISTNODE pHead = pStories->GetPendingStories().GetHead()) {
            auto* pStory = static_cast<CNewspaperStory*>(pHead->pData);
            script.SetEventToken(pStory->GetParameter());
            const int nEntry = script.FindEntryIndex();
            if (nEntry >= 0 && pStories->PublishStory(pStory, static_cast<uint32_t>(nEntry)))
                ++nPrinted;
            else
                pStories->DeletePendingStory(pStory);
        }
    }
    return nPrinted;
}

int CGameDay::FindMatchDayFixtures(const CDatabaseHandler& database)
{
    for (MATCHDAYFIXTURE& entry : g_aMatchDayFixtures)
        entry = MATCHDAYFIXTURE{};
    int nFound = 0;
    for (int nSlot = 0; nSlot < HUMAN_SLOTS && nSlot < MATCHDAY_FIXTURE_SLOTS; ++nSlot) {
        int nKind = 0;
        CClubDatabase* pOpponent = nullptr;
        void* pFixture = FixtureToday(database, HumanClub(database, nSlot), &nKind, &pOpponent);
        if (!pFixture || IsFixturePlayed(pFixture, nKind))
            continue;
        bool bLowerHumanPlays = false;
        for (int nLower = 0; nLower < nSlot; ++nLower)
            bLowerHumanPlays = bLowerHumanPlays || HumanClub(database, nLower) == pOpponent;
        if (bLowerHumanPlays)
            continue;
        g_aMatchDayFixtures[nSlot] = {pFixture, static_cast<uint8_t>(nKind)};
        ++nFound;
    }
    return nFound;
}

int CGameDay::QueueMatchDayScreens(CDatabaseHandler& database)
{
    const uint8_t byMatchType = database.GetMatchType();
    CGameClient* pMatchScreen = IsScreenBuilt(SCREEN_MATCH) ? GetScreenObject(SCREEN_MATCH) : nullptr;
    const bool bMatchScreen = (byMatchType == 1 || byMatchType == 2) && pMatchScreen;
    // Without a match screen to play them the humans' fixtures are played
    // with the rest.
    if (!bMatchScreen)
        database.SetMatchType(0);
    const int nPlayed = database.DoMatchDay(database.GetGameDate());
    database.SetMatchType(byMatchType);
    for (MATCHDAYFIXTURE& entry : g_aMatchDayFixtures)
        entry = MATCHDAYFIXTURE{};
    if (bMatchScreen && FindMatchDayFixtures(database) > 0)
        for (const MATCHDAYFIXTURE& entry : g_aMatchDayFixtures)
            if (entry.pFixture)
                CXClient::AddClientToList(pMatchScreen, 0, nullptr);

    RESULTTABLE aTables[HUMAN_SLOTS];
    for (int nSlot = 0; nSlot < HUMAN_SLOTS; ++nSlot) {
        const CClubDatabase* pClub = HumanClub(database, nSlot);
        aTables[nSlot] = ResultTableToday(database, pClub);
        const RESULTTABLE& table = aTables[nSlot];
        if (table.nKind < 0)
            continue;
        bool bShown = false;
        for (int nLower = 0; nLower < nSlot; ++nLower)
            bShown = bShown || IsSameTable(aTables[nLower], table);
        if (bShown)
            continue;
        if ((table.nKind == 0 || table.nKind == 3) && table.pDivision) {
            CXClient::AddClientToList(GetScreenObject(SCREEN_TABLES_FIXTURES), table.pDivision->m_byDivisionId,
                                      nullptr);
        } else if ((table.nKind == 1 || table.nKind == 2) && table.byCup != CUP_NUMBER_NONE) {
            const uint32_t dwParameter = table.byCup == 0 ? kFirstCupParameter : table.byCup;
            CXClient::AddClientToList(GetScreenObject(SCREEN_TABLES_CUP), dwParameter, nullptr);
        }
    }
    CXClient::AddClientToList(GetScreenObject(SCREEN_FOOTBALL_TODAY), 0, nullptr);
    return nPlayed;
}

CDate CGameDay::GetRunStartDate(const CDatabaseHandler& database, const CDate& target)
{
    // A month back; January goes back to December of the year before, and a
    // day the earlier month lacks to its 28th.
    const int nMonth = target.GetMonth() == 1 ? 12 : target.GetMonth() - 1;
    const int nYear = target.GetMonth() == 1 ? target.GetYear() - 1 : target.GetYear();
    CDate start(nYear, nMonth, std::min(target.GetDay(), 28));
    for (const CCountryDatabase* pCountry : database.GetCountries().Items<CCountryDatabase>()) {
        const CDate& seasonStart = pCountry->GetSeasonStartDate();
        if (seasonStart < target && pCountry->GetSeasonEndDate() > target && seasonStart < start) {
            const int nStartMonth = seasonStart.GetMonth() == 1 ? 12 : seasonStart.GetMonth() - 1;
            const int nStartYear = seasonStart.GetMonth() == 1 ? seasonStart.GetYear() - 1 : seasonStart.GetYear();
            start = CDate(nStartYear, nStartMonth, std::min(seasonStart.GetDay(), 28));
        }
    }
    return start;
}

void CGameDay::ProcessDaysToDate(CDatabaseHandler& database, const CDate& target)
{
    database.SetGameDate(GetRunStartDate(database, target));
    database.ProcessDaysToDate(target);
    for (int nSlot = 0; nSlot < HUMAN_SLOTS; ++nSlot) {
        CSaveGame* pHuman = database.GetHumanSlot(nSlot);
        if (!pHuman)
            continue;
        pHuman->GetNews().RemoveAllIncomingNewsItems();
        if (pHuman->GetClub())
            pHuman->PostNews(NEWS_WELCOME_TO_CLUB, pHuman->GetClub());
        pHuman->GetNotices().UpdateNotices();
    }
    ProcessDailyNews(database);
}

int CGameDay::GetContinueLookForDay(const CDatabaseHandler& database)
{
    bool bFixtureToday = false;
    for (int nSlot = 0; nSlot < HUMAN_SLOTS && !bFixtureToday; ++nSlot) {
        int nKind = 0;
        bFixtureToday = FixtureToday(database, HumanClub(database, nSlot), &nKind) != nullptr;
    }
    if (!bFixtureToday)
        return CGameNavigationBar::LOOK_GO_ON;
    const uint8_t byMatchType = database.GetMatchType();
    return byMatchType == 1 || byMatchType == 2 ? CGameNavigationBar::LOOK_MATCH
                                                : CGameNavigationBar::LOOK_MATCH_GOES_ON;
}

int CGameDay::CheckScenarioObjective(CDatabaseHandler& database, int nMode)
{
    CSaveGame* pHuman = database.GetCurrentSaveGame();
    if (!pHuman || pHuman->GetObjectiveType() == BOARD_OBJECTIVE_NONE)
        return SCENARIO_UNDECIDED;
    int nOutcome = SCENARIO_UNDECIDED;
    if (nMode == 0) {
        const int nResult = pHuman->CheckBoardObjective();
        nOutcome = nResult == 1 ? SCENARIO_ACHIEVED : nResult == 0 ? SCENARIO_FAILED : SCENARIO_UNDECIDED;
    } else {
        nOutcome = SCENARIO_FAILED;
    }
    if (nOutcome != SCENARIO_UNDECIDED) {
        DebugLog(2, "[CGameDay::CheckScenarioObjective] Objective %d %s", pHuman->GetObjectiveType(),
                 nOutcome == SCENARIO_ACHIEVED ? "achieved" : "failed");
        s_nScenarioOutcome = nOutcome;
    }
    return nOutcome;
}

int CGameDay::TakeScenarioOutcome()
{
    const int nOutcome = s_nScenarioOutcome;
    s_nScenarioOutcome = SCENARIO_UNDECIDED;
    return nOutcome;
}
