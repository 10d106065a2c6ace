// The progress box over a started game, followed through a real save: the
// overall bar reaches its last step with the share the title line gives for
// a range that 100 does not divide, the name bar moves, and the box goes
// when the work is over.
#include "EditorFolder.h"

#include "../shell/StartedGame.h"

#include "editor/CEditorDocument.h"
#include "editor/CProgressDlg.h"

#include "shell/CGameClient.h"

#include "platform/PngWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using editor_test::EditorFolder;

class ProgressBoxTest : public StartedGame {
protected:
    ProgressBoxTest() : StartedGame(m_screen) {}
    void Shoot(const std::string& name)
    {
        m_game.Update();
        const char* pszFolder = std::getenv("BRELLOX_SHOTS");
        if (pszFolder && g_pScreenSurface && g_pScreenSurface->m_pSurface)
            plat::writePng(*g_pScreenSurface->m_pSurface, std::string(pszFolder) + "/" + name);
    }

    CGameClient m_screen;
};

TEST_F(ProgressBoxTest, FollowsASaveToItsLastStep)
{
    EditorFolder folder;
    ASSERT_NE(m_game.GetDatabase(), nullptr);
    CEditorDocument document(*m_game.GetDatabase());
    std::string message;
    ASSERT_TRUE(document.Load("Data\\Data.bin", message)) << message;

    CProgressDlg progress;
    ASSERT_TRUE(progress.Begin(0, 8, 1, 166));
    ASSERT_TRUE(document.Save(folder.FirstNames().string(), folder.LastNames().string(), folder.Database().string(),
                              message, &progress))
        << message;
    EXPECT_EQ(progress.GetPosition(), 8);
    // 100 div 8 is 12 a step: eight steps show 96, not 100.
    EXPECT_EQ(progress.GetTitleLine(), "Sauvegarde de l'\xe9" "diteur KAVO (96 %)");
    EXPECT_EQ(progress.GetStepText(), "Termin\xe9");
    EXPECT_GT(progress.GetNamePosition(), 0);
    Shoot("editor-progress.png");
    progress.End();
    EXPECT_FALSE(progress.IsOnStack());
}

}  // namespace
