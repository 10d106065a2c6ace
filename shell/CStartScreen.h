#pragma once
// The start screen (screen id 1) as far as the game has it today: the
// painted background with the language in use beside the bars in their
// start-up mode (whose menu continues the last saved game), and one control
// that opens the game information popup. The popup takes the input while it
// is open and closes on its own control or on Escape.
#include "shell/CGameClient.h"
#include "xframework/CXPopup.h"

#include <string>

// A framed caption that reports a click to its owner's OnClicked.
class CCaptionControl : public CXControl {
public:
    explicit CCaptionControl(const char* pszCaption) : m_Caption(pszCaption) {}
    void OnLButtonUp(uint32_t flags, int x, int y) override;
    void Draw() override;

private:
    std::string m_Caption;
};

class CStartInfoPopup : public CXPopup {
public:
    static constexpr uint16_t kScreenID = 90;
    static constexpr uint32_t kCloseID = 2;
    CStartInfoPopup();
    bool OnInitDialog() override;
    void OnKeyDown(uint32_t key, uint32_t repeat, uint32_t) override;
    void OnClicked(uint32_t dwID) override;
};

class CStartScreen : public CGameClient {
public:
    static constexpr uint16_t kScreenID = 1;
    static constexpr uint32_t kInformationID = 1;
    CStartScreen();
    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void OnGetToolTipText(uint32_t dwID, char* pszText) override;
    CStartInfoPopup m_InfoPopup;
};
