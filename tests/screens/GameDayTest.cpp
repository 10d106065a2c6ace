// The game day behind the home screen: a continue, the day's mail and
// stories, the match day's screens, the run to a new game's start and the
// scenario objective at the season's end, over the starting world with one
// human manager.
#include "../shell/GameInPlay.h"

#include "database/CClubDatabase.h"
#include "database/CCountryDatabase.h"
#include "database/CDatabaseHandler.h"
#include "database/CDivisionDatabase.h"
#include "database/CDivisionFixturesDatabase.h"
#include "season/CNewspaperManager.h"
#include "season/CNewspaperStoryList.h"
#include "season/CSaveGame.h"
#include "shell/CFormScript.h"
#include "shell/CGameDay.h"
#include "shell/CScreenRegistry.h"
#include "shell/ScreenIDs.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace shell_test;
namespace fs = std::filesystem;

constexpr uint16_t kSquadTooThin = 131;    // a chairman's letter with a script entry
constexpr uint16_t kChairmanUnwritten = 100;  // a chairman's type without one
constexpr uint16_t kNoSender = 3;             // a type no letter carries

bool Holds(const CXList& list, const void* p)
{
    for (const void* pItem : list.Items<void>())
        if (pItem == p)
            return true;
    return false;
}

// Days entered until the human's club plays today (its fixture unplayed).
bool RunToHumanMatchDay(CDatabaseHandler& world)
{
    const CClubDatabase* pClub = world.GetCurrentSaveGame()->GetClub();
    CDate match;
    if (world.GetNextFixture(pClub, nullptr, nullptr, &match) < 0)
        return false;
    world.SetContinueMode(0);
    while (world.GetGameDate() < match)
        CGameDay::ProcessDay(world);
    return world.GetGameDate() == match;
}

TEST(GameDay, AContinueEntersOneDayAndFilesThatDaysMailBySender)
{
    GameFolder folder;
    auto world = StartGameInPlay(1);
    ASSERT_NE(world, nullptr) << "the generated starting world did not load";
    world->SetContinueMode(0);
    CSaveGame& human = *world->GetCurrentSaveGame();
    const CDate yesterday = world->GetGameDate();
    CNewsItem* pLetter = human.PostNews(kSquadTooThin, human.GetClub());
    CNewsItem* pUnwritten = human.PostNews(kChairmanUnwritten, human.GetClub());
    CNewsItem* pStranger = human.PostNews(kNoSender, human.GetClub());
    ASSERT_TRUE(pLetter && pUnwritten && pStranger);

    EXPECT_EQ(CGameDay::ProcessDay(*world), 1);
    EXPECT_EQ(world->GetGameDate(), CDate(yesterday.GetValue(), 1));
    EXPECT_GE(CGameDay::ProcessDailyNews(*world), 1);

    const CNewspaperManager& news = human.GetNews();
    ASSERT_TRUE(Holds(news.GetArchive(), pLetter));
    EXPECT_EQ(pLetter->GetFiledCategory(), 0) << "the chairman's letters go to the chairman's folder";
    CFormScript script;
    ASSERT_TRUE(script.Load("English", "PendingMailChairman.fmc", false));
    script.SetEventToken(kSquadTooThin);
    EXPECT_EQ(pLetter->GetFiledValue(), script.FindEntryIndex());
    EXPECT_TRUE(Holds(news.GetIncoming(), pStranger)) << "no sender writes this type: it waits";
    EXPECT_FALSE(Holds(news.GetIncoming(), pUnwritten)) << "a letter no entry fits is dropped";
    EXPECT_FALSE(Holds(news.GetArchive(), pUnwritten));
    EXPECT_GT(news.CountFolderItems(0, true), news.CountFolderItems(0, false)) << "the letter is counted unread";
    EXPECT_EQ(human.GetNavigationAlert(MAIL_NAVIGATION_ALERT), 1) << "unread mail raises its light";
}

TEST(GameDay, ASenderWhoseScriptIsMissingKeepsHisLetters)
{
    GameFolder folder;
    // The scripts of the runtime tree, but the chairman's.
    const fs::path scripts = fs::read_symlink("Scripts");
    fs::remove("Scripts");
    fs::create_directories("Scripts/English");
    for (const auto& entry : fs::directory_iterator(scripts / "English"))
        if (entry.path().filename() != "PendingMailChairman.fmc")
            fs::create_symlink(entry.path(), fs::path("Scripts/English") / entry.path().filename());
    auto world = StartGameInPlay(1);
    ASSERT_NE(world, nullptr);
    CSaveGame& human = *world->GetCurrentSaveGame();
    CNewsItem* pLetter = human.PostNews(kSquadTooThin, human.GetClub());
    CGameDay::ProcessDailyNews(*world);
    EXPECT_TRUE(Holds(human.GetNews().GetIncoming(), pLetter));
}

TEST(GameDay, PendingStoriesArePrintedByTheirScriptEntryOrDropped)
{
    GameFolder folder;
    auto world = StartGameInPlay(1);
    ASSERT_NE(world, nullptr);
    CNewspaperStoryList& stories = *world->GetCurrentSaveGame()->GetCountry()->GetNewspaperStories();
    constexpr uint16_t kEconomyRise = 316, kUnwritten = 999;
    CNewspaperStory* pWritten = stories.AddPendingStory(0, kEconomyRise);
    CNewspaperStory* pUnwritten = stories.AddPendingStory(0, kUnwritten);
    ASSERT_TRUE(pWritten && pUnwritten);

    EXPECT_GE(CGameDay::PublishPendingStories(*world), 1);
    EXPECT_TRUE(stories.GetPendingStories().IsEmpty());
    ASSERT_TRUE(Holds(stories.GetPrintedStories(), pWritten));
    CFormScript script;
    ASSERT_TRUE(script.Load("English", "PendingNews.fmc", false));
    script.SetEventToken(kEconomyRise);
    EXPECT_EQ(pWritten->GetFirstField(), static_cast<uint32_t>(script.FindEntryIndex()));
    EXPECT_FALSE(Holds(stories.GetPrintedStories(), pUnwritten));
}

TEST(GameDay, AContinueRunsToTheContinueDateAndLeavesThatDaysMatchesToTheMatchDay)
{
    GameFolder folder;
    auto world = StartGameInPlay(1);
    ASSERT_NE(world, nullptr);
    world->SetContinueMode(1);
    const CClubDatabase* pClub = world->GetCurrentSaveGame()->GetClub();
    bool bLongContinue = false, bMatchDay = false;
    for (int i = 0; i < 30 && !bMatchDay; ++i) {
        CDate stop;
        world->GetContinueDate(stop);
        const int nDays = CGameDay::ProcessDay(*world);
        ASSERT_EQ(world->GetGameDate(), stop);
        bLongContinue = bLongContinue || nDays > 1;
        void* pFixture = nullptr;
        int nKind = -1;
        if (world->GetFixtureOpponent(pClub->GetID(), stop, 0, 2, &pFixture, &nKind) && nKind == 0) {
            bMatchDay = true;
            EXPECT_FALSE(static_cast<CDivisionFixturesDatabase*>(pFixture)->IsPlayed())
                << "the stop day's fixtures wait for the match day";
            g_ClientList.clear();
            EXPECT_GT(CGameDay::QueueMatchDayScreens(*world), 0);
            EXPECT_TRUE(static_cast<CDivisionFixturesDatabase*>(pFixture)->IsPlayed());
        } else {
            g_ClientList.clear();
            CGameDay::QueueMatchDayScreens(*world);
        }
    }
    g_ClientList.clear();
    EXPECT_TRUE(bLongContinue) << "a continue passes several days at once";
    EXPECT_TRUE(bMatchDay) << "no continue stopped on the club's league match";
}

TEST(GameDay, TwoHumansWhoMeetGetOneMatchScreenAndOneTable)
{
    GameFolder folder;
    auto world = StartGameInPlay(1);
    ASSERT_NE(world, nullptr);
    ASSERT_TRUE(RunToHumanMatchDay(*world));
    CClubDatabase* pClub = world->GetCurrentSaveGame()->GetClub();
    void* pFixture = nullptr;
    int nKind = -1;
    CClubDatabase* pOpponent = world->GetFixtureOpponent(pClub->GetID(), world->GetGameDate(), 0, 2, &pFixture, &nKind);
    ASSERT_NE(pOpponent, nullptr);
    ASSERT_EQ(nKind, 0) << "the first match of the season is a league match";
    CSaveGame* pSecond = CSaveGame::CreateNewHuman(*world, 1, "Bo Ferris", 7, 1);
    ASSERT_NE(pSecond, nullptr);
    pSecond->TakeOverClub(pOpponent);

    EXPECT_EQ(CGameDay::FindMatchDayFixtures(*world), 1);
    EXPECT_EQ(g_aMatchDayFixtures[0].pFixture, pFixture) << "the lower slot plays the match";
    EXPECT_EQ(g_aMatchDayFixtures[0].byKind, 0);
    EXPECT_EQ(g_aMatchDayFixtures[1].pFixture, nullptr);

    g_ClientList.clear();
    EXPECT_GT(CGameDay::QueueMatchDayScreens(*world), 0);
    // No match screen is built: both humans' match is played with the rest,
    // and the one table both play in is shown once, then the home screen.
    EXPECT_TRUE(static_cast<CDivisionFixturesDatabase*>(pFixture)->IsPlayed());
    ASSERT_EQ(g_ClientList.size(), 2u);
    EXPECT_EQ(g_ClientList[0].pClient, GetScreenObject(SCREEN_TABLES_FIXTURES));
    EXPECT_EQ(g_ClientList[0].dwParameter, pClub->m_pDivision->m_byDivisionId);
    EXPECT_EQ(g_ClientList[1].pClient, GetScreenObject(SCREEN_FOOTBALL_TODAY));
    g_ClientList.clear();
}

TEST(GameDay, TheSeasonEndDecidesTheObjectiveOnce)
{
    GameFolder folder;
    auto world = StartGameInPlay(1);
    ASSERT_NE(world, nullptr);
    world->SetContinueMode(0);
    CSaveGame& human = *world->GetCurrentSaveGame();
    CCountryDatabase& country = *human.GetCountry();
    country.SetSeasonEndDate(CDate(world->GetGameDate().GetValue(), 2));
    // Type 3 is decided at the last count: first place, or failure.
    human.SetBoardObjective(3, 1);
    CGameDay::TakeScenarioOutcome();
    CGameDay::ProcessDay(*world);
    EXPECT_EQ(CGameDay::TakeScenarioOutcome(), CGameDay::SCENARIO_UNDECIDED) << "the season has not ended";
    CGameDay::ProcessDay(*world);
    ASSERT_EQ(world->GetGameDate(), country.GetSeasonEndDate());
    const int nOutcome = CGameDay::TakeScenarioOutcome();
    EXPECT_EQ(nOutcome, human.GetClub()->m_byLeaguePosition == 1 ? CGameDay::SCENARIO_ACHIEVED
                                                                  : CGameDay::SCENARIO_FAILED);
    // Due again, but the season's end has passed: no further check.
    human.SetBoardObjective(3, 1);
    CGameDay::ProcessDay(*world);
    EXPECT_EQ(CGameDay::TakeScenarioOutcome(), CGameDay::SCENARIO_UNDECIDED) << "decided once, at the end";
}

TEST(GameDay, AHumanWithoutAClubFailsHisObjectiveOnEveryContinue)
{
    GameFolder folder;
    auto world = std::make_unique<CDatabaseHandler>();
    ASSERT_TRUE(world->AreFixedTablesLoaded());
    CDatabaseHandler::BuildAttendanceCurve();
    CPlayerDatabase::InitialisePlayerValueTables();
    ASSERT_TRUE(world->LoadFile("Data/Data.bin"));
    world->SetupPointers();
    CSaveGame* pHuman = CSaveGame::CreateNewHuman(*world, 0, "Ada Lovell", 7, 1);
    ASSERT_NE(pHuman, nullptr);
    ASSERT_TRUE(world->SetUpNewGameRecords());
    world->SetContinueMode(0);
    CGameDay::TakeScenarioOutcome();
    CGameDay::ProcessDay(*world);
    EXPECT_EQ(CGameDay::TakeScenarioOutcome(), CGameDay::SCENARIO_UNDECIDED) << "no objective is set";
    pHuman->SetBoardObjective(0, 5);
    for (int i = 0; i < 2; ++i) {
        CGameDay::ProcessDay(*world);
        EXPECT_EQ(CGameDay::TakeScenarioOutcome(), CGameDay::SCENARIO_FAILED);
    }
}

TEST(GameDay, ANewGameRunsToItsStartAndWelcomesItsManager)
{
    GameFolder folder;
    auto world = StartGameInPlay(0);
    ASSERT_NE(world, nullptr);
    const CDate start(1999, 8, 2);
    CGameDay::ProcessDaysToDate(*world, start);
    EXPECT_EQ(world->GetGameDate(), start);
    const CSaveGame& human = *world->GetCurrentSaveGame();
    EXPECT_TRUE(human.GetNews().GetIncoming().IsEmpty()) << "the run's own news is not the manager's";
    // A filed letter keeps its sender and the script entry that wrote it.
    CFormScript script;
    ASSERT_TRUE(script.Load("English", "PendingMailChairman.fmc", false));
    script.SetEventToken(NEWS_WELCOME_TO_CLUB);
    ASSERT_GE(script.FindEntryIndex(), 0);
    bool bWelcome = false;
    for (const CNewsItem* pItem : human.GetNews().GetArchive().Items<CNewsItem>())
        bWelcome = bWelcome || (pItem->GetFiledCategory() == 0 && pItem->GetFiledValue() == script.FindEntryIndex());
    EXPECT_TRUE(bWelcome) << "the chairman's welcome is in the mail";
}

TEST(GameDay, TheRunToAStartBeginsAMonthEarlier)
{
    GameFolder folder;
    auto world = StartGameInPlay(0);
    ASSERT_NE(world, nullptr);
    struct Case {
        CDate target;
        CDate start;
    };
    const Case cases[] = {
        {CDate(2001, 1, 15), CDate(2000, 12, 15)},  // January: the December before
        {CDate(2001, 3, 31), CDate(2001, 2, 28)},   // a day the earlier month lacks
    };
    for (const Case& c : cases)
        EXPECT_EQ(CGameDay::GetRunStartDate(*world, c.target), c.start) << c.target.GetValue();
}

}  // namespace
