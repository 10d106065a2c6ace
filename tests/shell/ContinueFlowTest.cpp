// The continue command as a person uses it: the last saved game continued
// from the start-up menu, then the continue button pressed again and again
// over the placeholder screens, read from the game's log.
#include "GameInPlay.h"
#include "ScriptedProgram.h"

#include "database/CDivisionDatabase.h"
#include "shell/CGame.h"
#include "shell/CGameDay.h"
#include "shell/CScreenRegistry.h"
#include "shell/ScreenIDs.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

namespace {

using namespace shell_test;

// The start-up menu's "Continue Last Game" and the bar's continue button.
constexpr const char* kContinueLastGame = "click 81 320\n";
constexpr const char* kContinue = "click 120 580\n";

TEST(ContinueFlow, ContinueRunsTheDayLoopAndStopsOnTheMatchDayScreens)
{
    GameFolder folder;
    const std::string dir = folder.Path().string();
    setenv("XDG_DATA_HOME", dir.c_str(), 1);
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    {
        CGame game;
        auto handler = StartGameInPlay(1);
        ASSERT_NE(handler, nullptr) << "the generated starting world did not load";
        // Saved a few days before the human's first match.
        CDate match;
        ASSERT_GE(handler->GetNextFixture(handler->GetCurrentSaveGame()->GetClub(), nullptr, nullptr, &match), 0);
        match -= 4;
        while (handler->GetGameDate().GetValue() < match.GetValue()) {
            handler->ProcessDay();
            handler->DoMatchDay(handler->GetGameDate());
        }
        game.SetDatabase(std::move(handler));
        ASSERT_TRUE(game.SaveGame("Season")) << game.GetFileError();
    }
    std::string script = std::string("wait 100\n") + kContinueLastGame + "shot " + dir + "/home.png\n";
    constexpr int kPresses = 12;
    for (int i = 0; i < kPresses; ++i)
        script += std::string(kContinue) + "shot " + dir + "/continue" + std::to_string(i) + ".png\n";
    script += "quit\n";

    setenv("BRELLOX_LOG", "1", 1);
    const ScriptedRun run = RunScriptedProgram("Brellox", dir, script, false, 600, (folder.Path() / "play").string());
    unsetenv("BRELLOX_LOG");
    ASSERT_EQ(run.nExitCode, 0) << run.output;

    // The screens entered and the days reached, in order.
    const std::regex entering("Entering (Client [A-Za-z ]+)");
    const std::regex day(R"(day\(s\) on to (\d{4}-\d{2}-\d{2}))");
    std::vector<std::string> events;
    std::istringstream lines(run.output);
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (std::regex_search(line, match, entering))
            events.push_back(match[1]);
        else if (std::regex_search(line, match, day))
            events.push_back("day " + match[1].str());
    }
    ASSERT_FALSE(events.empty()) << run.output;
    EXPECT_EQ(events[0], "Client Startup");
    ASSERT_GT(events.size(), 1u);
    EXPECT_EQ(events[1], "Client Footballtoday") << "the last saved game did not load";

    std::string lastDay, trail;
    for (const std::string& event : events)
        trail += event + "\n";
    int nDays = 0, nTables = 0, nMatches = 0;
    for (size_t i = 2; i < events.size(); ++i) {
        const std::string& event = events[i];
        const std::string next = i + 1 < events.size() ? events[i + 1] : "";
        if (event.rfind("day ", 0) == 0) {
            // Every day's work moves the date on and ends on the home screen.
            EXPECT_GT(event, lastDay) << trail;
            EXPECT_EQ(next, "Client Footballtoday") << trail;
            lastDay = event;
            ++nDays;
        } else if (event == "Client Match") {
            // The human's match is played on the match screen; the press
            // there plays it out and shows the day's results.
            ++nMatches;
            EXPECT_EQ(events[i - 1], "Client Footballtoday") << trail;
            EXPECT_TRUE(next.empty() || next.rfind("Client Tablesstatistics", 0) == 0) << trail;
        } else if (event == "Client Tablesstatistics Fixtures" || event == "Client Tablesstatistics Cup") {
            // The human's match day stops on its results; the next press
            // runs the next day.
            ++nTables;
            EXPECT_EQ(events[i - 1], "Client Match") << trail;
            EXPECT_TRUE(next.empty() || next.rfind("day ", 0) == 0) << trail;
        } else {
            EXPECT_EQ(event, "Client Footballtoday") << trail;
        }
    }
    EXPECT_GE(nDays, 5) << run.output;
    EXPECT_GE(nMatches, 1) << run.output;
    EXPECT_GE(nTables, 1) << run.output;
}

}  // namespace

namespace {

TEST(ContinueFlow, TheHumansMatchIsPlayedOnItsDayAndItsResultsAreQueued)
{
    GameFolder folder;
    auto world = StartGameInPlay(1);
    ASSERT_NE(world, nullptr) << "the generated starting world did not load";
    // Matches held for the match screen, as the options have it by default.
    world->SetMatchType(1);
    const CClubDatabase* pClub = world->GetCurrentSaveGame()->GetClub();
    CDate match;
    ASSERT_GE(world->GetNextFixture(pClub, nullptr, nullptr, &match), 0);
    while (world->GetGameDate().GetValue() < match.GetValue())
        ASSERT_GT(CGameDay::ProcessDay(*world), 0);
    ASSERT_EQ(world->GetGameDate().GetValue(), match.GetValue());
    const int nPlayedBefore = pClub->m_HomeRow.byPlayed + pClub->m_AwayRow.byPlayed;
    g_ClientList.clear();
    EXPECT_GT(CGameDay::QueueMatchDayScreens(*world), 0);
    EXPECT_EQ(pClub->m_HomeRow.byPlayed + pClub->m_AwayRow.byPlayed, nPlayedBefore + 1);
    EXPECT_EQ(world->GetMatchType(), 1);
    ASSERT_EQ(g_ClientList.size(), 2u);
    EXPECT_EQ(g_ClientList[0].pClient, GetScreenObject(SCREEN_TABLES_FIXTURES));
    EXPECT_EQ(g_ClientList[0].dwParameter, pClub->m_pDivision->m_byDivisionId);
    EXPECT_EQ(g_ClientList[1].pClient, GetScreenObject(SCREEN_FOOTBALL_TODAY));
    g_ClientList.clear();
}

}  // namespace
