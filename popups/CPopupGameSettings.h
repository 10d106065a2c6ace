#pragma once
// The settings of a new game before it starts: the game length in seasons,
// the two further game settings, and the money, date and contract display
// options. It edits copies; OK writes the three game settings into the
// world and the display options into the live options and the option store,
// cancel changes nothing.
#include "shell/CGamePopup.h"
#include "shell/COptions.h"

#include <cstdint>

class CXComboBox;

class CPopupGameSettings : public CGamePopup {
public:
    enum : uint32_t {
        ID_LENGTH = 528,
        ID_SECOND_SETTING = 529,
        ID_THIRD_SETTING = 530,
        ID_CURRENCY = 629,
        ID_DATE = 630,
        ID_CONTRACTS = 632,
    };
    // The game lengths offered, in seasons.
    static constexpr uint8_t kLengths[5] = {5, 10, 15, 20, 25};

    CPopupGameSettings();
    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void ConstructScreen() override;

    // The three drop-downs every settings popup of the game shows alike:
    // length, second and third setting (their rectangles and rows).
    static void AddGameSettingDropDowns(CXClient& popup);
    // The three display-option drop-downs (currency, date, contracts).
    static void AddDisplayDropDowns(CXClient& popup);

private:
    CXComboBox* Box(uint32_t dwID);
    OptionValues m_Options;
    uint8_t m_abySettings[3] = {};
};
