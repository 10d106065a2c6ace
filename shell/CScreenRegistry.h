#pragma once
// From a screen id to the one object of that screen. Every main screen (ids
// 0 and 2 to 41) and the end-of-career screen (93) has an object from the
// start: a plain placeholder that shows the screen's name until the screen
// itself is built and registers in its place.
#include "shell/CGameClient.h"

class CXPopup;

// A screen not built yet: its name on a plain background.
class CPlaceholderScreen : public CGameClient {
public:
    CPlaceholderScreen() = default;
    void SetScreenID(uint16_t wScreenID) { m_wScreenID = wScreenID; }
    bool OnInitDialog() override;
    void ConstructScreen() override;
};

// True for the ids that have a screen object (0, 2 to 41, 93).
bool IsMainScreenID(int nScreenID);
// The screen object of an id; null for ids without one.
CGameClient* GetScreenObject(int nScreenID);
// True when the id's screen is built (registered in place of its placeholder).
bool IsScreenBuilt(int nScreenID);
// A built screen takes the place of its placeholder.
void RegisterScreen(int nScreenID, CGameClient* pScreen);
// The popups that live as one object each, by their screen ids (below
// MAX_SCREENID); null for one not built, which keeps its command out of use.
void RegisterPopup(int nScreenID, CXPopup* pPopup);
CXPopup* GetPopupObject(int nScreenID);
