#pragma once
// One player's match orders against his team's: for each of the eight team
// orders the team's value stands as a marker on the left track and the
// player's own offset (-20 to +20, 0 as the team) as a slider on the right
// track. The opener passes the eight values to edit; OK writes the sliders
// back into them, Cancel leaves them as they were (a Reset included).
#include "shell/CGamePopup.h"

#include "season/CSaveGame.h"

#include <cstdint>

class CXSlider;

class CPopupPlayerMatchOrders : public CGamePopup {
public:
    static constexpr uint16_t kScreenID = 68;
    enum : uint32_t {
        ID_RESET = 1172,
        ID_FIRST_SLIDER = 656,  // 656-663, one per order
    };
    static constexpr int kTeamTrackLeft = 90;
    static constexpr int kPlayerTrackLeft = 290;
    static constexpr int kFirstRowTop = 60;
    static constexpr int kRowStep = 40;

    CPopupPlayerMatchOrders();
    // Opens the popup over the top popup or the screen on the caller's
    // eight values; false (nothing opened) without them.
    bool Show(int8_t* pValues);
    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void ConstructScreen() override;

    CXSlider* GetSlider(int nOrder) const;

    // A player's offset to its slider place and back. Stored offsets keep
    // to -20..+20; the way back rounds to the nearest offset, so that a
    // value survives OK without the slider being moved.
    static int OffsetToSlider(int nOffset);
    static int SliderToOffset(int nPosition);
    // The left x of the team marker of a team value (0-100) on the left
    // track, for a marker of the given width centred on the value.
    static int TeamMarkerX(int nTeamValue, int nMarkerWidth);

private:
    void DrawTeamMarkers();

    int8_t* m_pValues = nullptr;
};
