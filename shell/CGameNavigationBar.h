#pragma once
// The navigation bar down the left of every game screen (screen id 85): the
// tree of the main screens, the start-up menu, the command buttons, the
// home and continue buttons and a text line; by its mode (0 start-up, 1 new
// game, 2 management, 3 and 6 match, 4 tactics in a match, 5 fixtures when a
// match is next, 7 end of career) it shows and puts in use the controls of
// that mode. It is the one place that turns a screen id into a screen
// change, keeps the screen history, and runs the continue command that
// takes the game from day to day.
#include "xframework/CXClient.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CXAnimation;
class CXSurface;
class CXTreeView;

class CGameNavigationBar : public CXClient {
public:
    enum : uint32_t {
        ID_NEW_GAME = 809,
        ID_UNEMPLOYED_START = 811,
        ID_SCENARIO = 812,
        ID_LOAD_GAME = 814,
        ID_CONTINUE_LAST_SAVE = 816,
        ID_CREDITS = 813,
        ID_QUIT = 819,
        ID_SAVE = 815,
        ID_COMPARE = 854,
        ID_OPTIONS = 820,
        ID_PRINT = 1058,
        ID_HELP = 1057,
        ID_SECOND_QUESTION = 818,
        ID_BACK = 850,
        ID_FORWARD = 852,
        ID_HOME = 851,
        ID_CONTINUE = 817,
        ID_START_NEW_GAME = 810,
        ID_CONTINUE_MATCH = 831,
        ID_BACK_TO_MATCH = 832,
        ID_TREE = 855,
        ID_PROGRESS_TEXT = 1166,
    };
    static constexpr int kStatusLights = 10;
    // The status lights, in the order of the human's navigation alerts.
    static const uint32_t kStatusLightIDs[kStatusLights];
    // The looks of the continue button in navCont.bmp.
    enum : int { LOOK_GO_ON = 44, LOOK_MATCH = 66, LOOK_NEXT_MANAGER = 88, LOOK_MATCH_GOES_ON = 110 };

    CGameNavigationBar();
    ~CGameNavigationBar() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnPaint() override;
    void ConstructScreen() override;
    void OnSelChange(uint32_t dwID) override;
    void OnClicked(uint32_t dwID) override;
    void OnGetToolTipText(uint32_t dwID, char* pszText) override;
    // Queues the change, writes it into the screen history and selects the
    // screen's row of the tree without the tree telling anyone.
    void SetNextClient(CXClient* pClient, uint32_t dwParameter) override;

    // The screen of an id with the parameter it needs; the same screen again
    // only when forced. Ids without a main screen are logged and ignored.
    void OnClientChange(int nScreenID, bool bForce);
    // The scout screen on the report that came in last, when the human has
    // a club and the screen can be shown.
    void OpenScoutReport();
    void SetMode(int nMode);
    int GetMode() const { return m_nMode; }
    // Shows a line of text (a refused save or load says why here).
    void ShowMessage(const char* pszText);
    const std::string& GetMessage() const { return m_Message; }
    // The progress read-out: the progress block, a shaded bar of the share
    // done (0-100) with its percentage, and the text under the lights. Draws
    // only when shown and the rounded percentage or the text changed; true
    // when it drew.
    bool ShowProgress(const char* pszText, double dPercent, bool bShow);
    int GetLastProgress() const { return m_nLastProgress; }
    // The long step is over: the progress block gives way to the bar's own
    // picture and the text goes.
    void EndProgress();
    // 0 the tree block, 1 the icon block, 2 the progress block, drawn onto
    // the bar; any other kind nothing.
    void SetBlock(int nKind);
    void UpdateStatusLights();
    void UpdateHistoryButtons();
    void UpdateButtons();
    void SetManagementButtons(bool bEnable);
    int FindItemByData(int nScreenID) const;
    bool IsButtonEnabled(int nScreenID) const;
    void EnableButton(int nScreenID, bool bEnable);
    // Mode 0: continue the last save only when it can be loaded, load only
    // when a saved game exists.
    void CheckLastSaveGame();

    void SetContinueButton(int nLook);
    // The look of the new-game mode's start command: the next manager
    // chooses (LOOK_NEXT_MANAGER) or the game begins (LOOK_MATCH_GOES_ON).
    void SetStartContinueButton(int nLook);
    void UpdateContinueButton();
    int GetContinueLook() const { return m_nContinueLook; }
    // How the new game being set up begins (the start-up menu sets it
    // before the select player popup opens).
    enum : uint8_t { START_QUICK = 0, START_CHOOSE_CLUBS = 1, START_SCENARIO = 2 };
    uint8_t GetStartKind() const { return m_byStartKind; }
    void SetStartKind(uint8_t byKind) { m_byStartKind = byKind; }
    // The new game's records and the run to its start date, then the home
    // screen with an empty history; a refusal stays here and says why.
    bool BeginNewGame();

    // The continue command: the next queued screen, the day's work when the
    // queue runs dry, or the day's screens queued when it is empty.
    void ContinueGame();
    // With more than one human manager, the message box names the manager
    // whose turn it is.
    void TellNextManager();

    uint8_t m_bRecordHistory = 1;

private:
    // In the small font unless another is given (the command buttons are narrow).
    void CreateButton(uint32_t dwID, int x, int y, int nWidth, int nHeight, CXSurface* pFace, int nSourceY,
                      plat::Font* pFont = nullptr);
    void BuildTree();
    void SetInUse(const uint32_t* pIDs, bool bInUse);
    void GoThroughHistory(bool bForward);
    void OnStatusLight(uint32_t dwID);
    uint32_t ScreenParameter(int nScreenID) const;
    // The registered saved-games popup, for loading or saving.
    void OpenSavesPopup(bool bLoad);
    // Too little room for saved games: says so and answers true.
    bool IsDiskSpaceShort();

    void OpenGlobalPopup(int nScreenID);

    int m_nMode = -1;
    uint8_t m_byStartKind = START_CHOOSE_CLUBS;
    int m_nContinueLook = LOOK_GO_ON;
    CXTreeView* m_pTree = nullptr;
    CXSurface* m_pTools = nullptr;
    CXSurface* m_pContinueLooks = nullptr;
    CXSurface* m_pKeyIcons = nullptr;
    CXSurface* m_pStatusLights = nullptr;
    // The function keys' icons F2 to F12, cut from m_pKeyIcons.
    std::vector<std::unique_ptr<CXAnimation>> m_KeyIcons;
    int m_nLastProgress = -1;
    std::vector<std::pair<int, int>> m_TreeScreens;  // tree item id, screen id
    std::string m_Message;
};

extern CGameNavigationBar* g_pNavigationBar;
