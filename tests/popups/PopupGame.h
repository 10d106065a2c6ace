#pragma once
// A started game object for the popups' tests: its start screen records the
// message box answers and the popups that closed over it, and the composed
// frame can be written as a PNG for a person to look at.
#include "../shell/StartedGame.h"

#include "shell/CGameClient.h"
#include "shell/CGamePopup.h"

#include "platform/PngWriter.h"
#include "xframework/CXPopup.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace popups_test {

struct Answer {
    uint32_t dwResult;
    int nTextItem;
};

class RecordingScreen : public CGameClient {
public:
    RecordingScreen() { m_wScreenID = 0; }
    void OnEndMessageBoxPopup() override
    {
        const CGameMessageBox* pBox = GetGameMessageBox();
        answers.push_back({pBox ? pBox->m_dwResultID : 0xFFFFFFFF, pBox ? pBox->GetTextItem() : -1});
    }
    void OnEndPopup(CXPopup* pPopup) override
    {
        ended.push_back(pPopup);
        CGameClient::OnEndPopup(pPopup);
    }
    std::vector<Answer> answers;
    std::vector<CXPopup*> ended;
};

// A test's own message box takes the game's place while it lives; the
// game's own is put back afterwards for the tests that follow.
struct MessageBoxKeeper {
    CXPopup* pKept = g_pMessageBoxPopup;
    ~MessageBoxKeeper() { g_pMessageBoxPopup = pKept; }
};

class PopupGame : public StartedGame {
protected:
    PopupGame() : StartedGame(m_screen) {}
    void TearDown() override
    {
        while (CXPopup* pTop = CXPopup::TopPopup())
            pTop->Close();
        StartedGame::TearDown();
    }
    // Composes a frame and, when BRELLOX_SHOTS names a folder, writes it there.
    void Shoot(const std::string& name)
    {
        m_game.Update();
        const char* pszFolder = std::getenv("BRELLOX_SHOTS");
        // A shot is for looking at, not a check: a test running as another
        // user (the read-only folder tests) may not reach the shots folder.
        if (pszFolder && g_pScreenSurface && g_pScreenSurface->m_pSurface &&
            !plat::writePng(*g_pScreenSurface->m_pSurface, std::string(pszFolder) + "/" + name))
            std::fprintf(stderr, "shot %s not written\n", name.c_str());
    }

    MessageBoxKeeper m_messageBoxKeeper;
    RecordingScreen m_screen;
};

}  // namespace popups_test
