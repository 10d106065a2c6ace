#pragma once
// The end of the career (screen 93), the last screen of a game: the closing
// words over the ground after the last match, and one button for each human
// manager's slot that is taken, each opening that manager's details (his
// career). The screen history is cleared on entry and the navigation bar's
// end-of-career mode offers no way back into the season.
#include "shell/CGameClient.h"

#include <cstdint>

class CClientEndOfCareer : public CGameClient {
public:
    // One button per human slot, at x 278 + 90 x slot; a free slot keeps its place.
    static constexpr uint32_t kFirstButton = 879;
    static constexpr int kButtonX = 278, kButtonY = 484, kButtonStep = 90;
    static constexpr int kButtonWidth = 84, kButtonHeight = 26;

    CClientEndOfCareer();
    ~CClientEndOfCareer() override;

    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void ConstructScreen() override;
};

CClientEndOfCareer& GetEndOfCareerScreen();
