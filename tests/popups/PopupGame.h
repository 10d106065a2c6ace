#pragma once
// A started game object for the popups' tests: its start screen records the
// message box answers and the popups that closed over it, and the composed
// frame can be written as a PNG for a person to look at.
#include "../shell/StartedGame.h"

#include "shell/CGameClient.h"
#include "shell/CGamePopup.h"

#include "platform/PngWriter.h"
#include "xframework/CXPopup.h"

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
        if (pszFolder && g_pScreenSurface && g_pScreenSurface->m_pSurface) {
            EXPECT_TRUE(plat::writePng(*g_pScreenSurface->m_pSurface, std::string(pszFolder) + "/" + name));
        }
    }

    RecordingScreen m_screen;
};

}  // namespace popups_test
