#pragma once
// The game's options in three pages: game (the settings of the running game
// and the money, date and contract options shown but not changed here, and
// the match type, ratings, continue, tooltip delay, 3-D view and automatic
// help), sound (the four volumes, heard at once, with test buttons) and
// display (what the match highlights, the match view and the tactics view
// show). It edits a copy of the options: OK puts the copy in force and in
// the option store, cancel throws it away and puts the volumes back.
#include "shell/CGamePopup.h"
#include "shell/COptions.h"

#include <cstdint>

class CXComboBox;
class CXListBox;
class CXSlider;

class CPopupOptions : public CGamePopup {
public:
    enum : uint32_t {
        ID_TACTICS_LIST = 628,
        ID_MATCH_TYPE = 631,
        ID_RATINGS = 633,
        ID_PROCESS_GAME = 634,
        ID_TOOLTIPS = 635,
        ID_3D = 636,
        ID_MUSIC = 637,
        ID_EFFECTS = 638,
        ID_COMMENTARY = 639,
        ID_CROWD = 640,
        ID_TEST_EFFECTS = 642,
        ID_TEST_COMMENTARY = 643,
        ID_TEST_CROWD = 644,
        ID_HIGHLIGHTS_LIST = 645,
        ID_MATCH_VIEW_LIST = 646,
        ID_GAME_PAGE = 647,
        ID_SOUND_PAGE = 648,
        ID_DISPLAY_PAGE = 649,
        ID_AUTO_HELP = 650,
    };
    enum : int { PAGE_GAME = 0, PAGE_SOUND = 1, PAGE_DISPLAY = 2 };

    CPopupOptions();
    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnEndScroll(uint32_t dwID) override;
    void ConstructScreen() override;

    void ShowPage(int nPage);
    int GetPage() const { return m_nPage; }
    // The help's pages of the options: 569 game, 570 sound, 571 display.
    int GetHelpPageID() const override { return kFirstHelpPage + m_nPage; }
    static constexpr int kFirstHelpPage = 569;
    // The copy being edited.
    const OptionValues& GetCopy() const { return m_Copy; }

private:
    CXComboBox* Box(uint32_t dwID);
    CXListBox* List(uint32_t dwID);
    CXSlider* Slider(uint32_t dwID);
    void FillFlagList(uint32_t dwID, int nTable, const uint8_t* pFlags, int nCount);
    void ToggleFlag(uint32_t dwID, uint8_t* pFlags, int nCount);
    void UpdateTestButtons();
    void RestoreVolumes();

    OptionValues m_Copy;
    int m_nPage = PAGE_GAME;
};
