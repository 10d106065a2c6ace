#pragma once
// The current human manager's orders for his side's matches: eight sliders
// of 0-100 (urgency, passing distance and direction, tackling, clearance,
// marking, shooting, advance) and two options ticked in a list. The popup
// works on copies; OK writes them into his record, which the next match
// reads, and Cancel leaves the record as it was (a Reset included).
#include "shell/CGamePopup.h"

#include "season/CSaveGame.h"

#include <array>
#include <cstdint>

class CXListBox;
class CXSlider;

class CPopupTeamMatchOrders : public CGamePopup {
public:
    static constexpr uint16_t kScreenID = 78;
    enum : uint32_t {
        ID_RESET = 1172,
        ID_FIRST_SLIDER = 780,  // 780-787, one per order
        ID_OPTIONS = 788,
        ID_OPTION_NAME_COLUMN = 1008,
        ID_OPTION_TICK_COLUMN = 1004,
    };
    static constexpr int kSliderLeft = 90;
    static constexpr int kFirstSliderTop = 40;
    static constexpr int kSliderStep = 40;

    CPopupTeamMatchOrders();
    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void ConstructScreen() override;

    CXSlider* GetSlider(int nOrder) const;
    bool GetWorkingOption(int nOption) const
    {
        return nOption >= 0 && nOption < SAVEGAME_TEAM_OPTIONS && m_abOptions[static_cast<size_t>(nOption)];
    }

private:
    CXListBox* OptionList() const;
    void FillOptionList();
    void ShowOptionTick(int nOption);
    void ToggleOption(int nOption);
    void Reset();
    void Store();

    CSaveGame* m_pHuman = nullptr;
    std::array<bool, SAVEGAME_TEAM_OPTIONS> m_abOptions{};
};
