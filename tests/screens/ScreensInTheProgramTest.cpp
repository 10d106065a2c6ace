// The screens as a person reaches them in the running program: a saved game
// continued from the start-up menu, then the function keys of team
// selection (F3) and of the tables (F4).
#include "../shell/GameInPlay.h"
#include "../shell/ScriptedProgram.h"

#include "shell/CGame.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(ScreensInTheProgram, FunctionKeysOpenTeamSelectionAndTheLeagueTable)
{
    shell_test::GameFolder folder;
    const std::string dir = folder.Path().string();
    setenv("XDG_DATA_HOME", dir.c_str(), 1);
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    {
        CGame game;
        auto world = shell_test::StartGameInPlay(20);
        ASSERT_NE(world, nullptr) << "the generated starting world did not load";
        game.SetDatabase(std::move(world));
        ASSERT_TRUE(game.SaveGame("Season")) << game.GetFileError();
    }
    const char* pszShots = std::getenv("BRELLOX_SHOTS");
    const std::string shots = pszShots ? pszShots : dir;
    const std::string script = "wait 100\nclick 81 320\nkey F3\nwait 10\nshot " + shots +
                               "/program_teamsel.png\nkey F4\nwait 10\nshot " + shots + "/program_league.png\nquit\n";
    setenv("BRELLOX_LOG", "1", 1);
    const ScriptedRun run = RunScriptedProgram("Brellox", dir, script, false, 600, (folder.Path() / "play").string());
    unsetenv("BRELLOX_LOG");
    ASSERT_EQ(run.nExitCode, 0) << run.output;
    const size_t nTeam = run.output.find("Entering Client Teammanagement Teamselection");
    const size_t nLeague = run.output.find("Entering Client Tablesstatistics League");
    ASSERT_NE(nTeam, std::string::npos) << run.output;
    ASSERT_NE(nLeague, std::string::npos) << run.output;
    EXPECT_LT(nTeam, nLeague);
    // The screens' own bitmaps are all there.
    for (const char* pszBitmap : {"icnPos.bmp", "Role.bmp", "TSPitch.bmp", "TSCntr.bmp", "icnUp.bmp", "icnSame.bmp"})
        EXPECT_EQ(run.output.find(std::string("'") + pszBitmap + "' could not be loaded"), std::string::npos)
            << pszBitmap;
}

}  // namespace
