#pragma once
// The base of every game screen: entry and exit in the log, the interface
// work of every entry (the title bar's per-screen state, the back and forward
// buttons), the function keys F2 to F10, the results of the load and save
// choice, the row of bottom buttons, screen changes through the navigation
// bar (which keeps the history), and the browse hooks that detail popups
// call on the screen behind them.
#include "xframework/CXClient.h"

#include <cstdint>

class CSaveGame;
class CXButton;
class CXPopup;

class CGameClient : public CXClient {
public:
    static constexpr int kFirstBottomButtonX = 548;
    static constexpr int kBottomButtonY = 484;
    static constexpr int kBottomButtonStep = 90;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnPaint() override;
    void OnKeyUp(uint32_t key, uint32_t repeat, uint32_t) override;
    void OnEndPopup(CXPopup* pPopup) override;
    // Acts on a message box answered with 884, by its message: 1 quits the
    // program, 2 prints this screen, 38 goes back to the start, 67 to 72
    // (the reasons the day cannot go on) open team selection.
    void OnEndMessageBoxPopup() override;
    void UpdateBars() override;
    void OnRestoreBackground(int x, int y, int nWidth, int nHeight) override;
    void OnPrintError(int) override {}
    void SetNextClient(CXClient* pClient, uint32_t dwParameter) override;

    // The load and save choice ended with OK: a save writes the set and,
    // only when whole, the continue mark; a load that succeeds starts again
    // from the home screen with an empty history, one that fails leaves this
    // screen and its history as they were. Answers the game's result.
    bool OnLoadSaveChosen(bool bLoad, const char* pszName);
    // The record of the human manager whose turn it is; null without a game
    // or a world.
    static CSaveGame* GetCurrentHuman();

    // Browse hooks: the record before or after the one shown; 0 (or -1 for
    // fixtures) when the screen lists none.
    virtual uint32_t GetPreviousPlayer() { return 0; }
    virtual uint32_t GetNextPlayer() { return 0; }
    virtual uint32_t GetPreviousListPlayer() { return 0; }
    virtual uint32_t GetNextListPlayer() { return 0; }
    virtual uint32_t GetCurrentListPlayer() { return 0; }
    virtual uint32_t GetPreviousStaff() { return 0; }
    virtual uint32_t GetNextStaff() { return 0; }
    virtual uint32_t GetCurrentStaff() { return 0; }
    virtual uint32_t GetPreviousManager() { return 0; }
    virtual uint32_t GetNextManager() { return 0; }
    // A screen that sacks the staff member it has chosen itself, for the
    // staff details popup over it: what the club pays him (negative when the
    // screen leaves sacking to the popup), and the sacking, answering
    // whether staff members are still listed.
    virtual int32_t GetCurrentStaffSackCost() { return -1; }
    virtual bool SackCurrentStaff() { return false; }
    virtual int32_t GetPreviousFixture() { return -1; }
    virtual int32_t GetNextFixture() { return -1; }

    // The navigation bar's start command on this screen: the new-game
    // screen takes the current human's club; true once every human has one
    // and the game can begin. Other screens answer false.
    virtual bool ConfirmClub() { return false; }

    // A caption button along the bottom, right to left from x 548 in steps of
    // 90; an eighth starts again at 548.
    CXButton* AddBottomButton(uint32_t dwTextID);
    // Gives the screen a background surface of its own, a copy of the shared
    // background to draw on; false when the surface cannot be made.
    bool MakeOwnBackground();
    // Copies the shared background over the screen's own again, wiping what
    // was drawn into it (a scroll bar's track where the list stood before).
    void ResetOwnBackground();

    int32_t m_nNextBottomButtonX = kFirstBottomButtonX;
};

// The game's screen id of a function key (F2 to F10), -1 for any other key.
int GetFunctionKeyScreen(uint32_t key);
