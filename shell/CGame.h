#pragma once
// The one game object: it owns the database, the fonts, the options, the
// language texts, the archives, the shared bitmaps with the mouse pointers,
// the screen history and the match-day tables, starts and ends the game at a
// display size, runs one frame (a queued display change, restart or screen
// change first, else the current screen and the popups over it, the pointer
// and the tooltip), hands window messages to the current screen and follows
// activation.
#include "shell/CControlText.h"
#include "shell/CFileManager.h"
#include "shell/CGameSounds.h"
#include "database/CGameTables.h"
#include "shell/COptions.h"
#include "shell/CScreenHistory.h"
#include "shell/CSharedBitmaps.h"
#include "shell/CTableText.h"
#include "shell/CTextDescription.h"
#include "shell/WinMain.h"

#include "xframework/CXClient.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CDatabaseHandler;
class CGameNavigationBar;
class CGameTitlebar;

// The eight shared fonts, made at every start.
extern HFONT g_hSmallFont;
extern HFONT g_hSmallBoldFont;
extern HFONT g_hTinyFont;
extern HFONT g_hMediumFont;
extern HFONT g_hLargeFont;
extern HFONT g_hLargeBoldFont;
extern HFONT g_hNormalFont;
extern HFONT g_hTitleFont;

// The three archives: "GFX\Main.BFS", "GFX\Anim.BFS", "GFX\MatchTextures.BFS".
extern CFileManager* g_pMainArchive;
extern CFileManager* g_pAnimArchive;
extern CFileManager* g_pMatchTexturesArchive;

// The start screen (screen id 1); the program sets it before the game starts.
extern CXClient* g_pStartScreen;

class CGame : public CGameHost {
public:
    CGame();
    ~CGame() override;

    bool OnGameStart(bool bRestart, uint32_t dwWidth, uint32_t dwHeight) override;
    void OnGameEnd(bool bRestart) override;
    void Update() override;
    void UpdateFullView();
    void DispatchMessage(uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam) override;
    void OnActivateApp(bool bActive) override { OnActivate(bActive); }
    const char* StartFailure() const override { return m_pszStartFailure; }
    void OnActivate(bool bActive);
    void DeleteDatabase() override;

    // The interface sounds and the music (nothing without installed sounds).
    void StartMusic();
    void StopMusic();
    void GameSoundPlay(uint16_t wSoundId);
    // Channel 0 effects, 1 music, 2 ambience, 3 commentary; others nothing.
    void SetVolume(uint32_t dwVolume, uint32_t dwChannel);
    const UISOUNDIDS& GetSoundIds() const { return m_SoundIds; }

    CDatabaseHandler* GetDatabase() const { return m_pDatabase.get(); }
    // A world handler made by the caller (tests and tools) in place of the one
    // the start made.
    void SetDatabase(std::unique_ptr<CDatabaseHandler> pDatabase);

    // Saved games, by their bare names, in the saves folder (UserFolders.h).
    // SaveGame writes the whole set and, only when it is whole, the
    // "LastSaveGame" option; a refused save keeps the earlier set as it was.
    // LoadGame checks the set, keeps the running game aside, and on any
    // refusal puts the running game and its working files back. Both answer
    // false with the reason in GetFileError().
    bool SaveGame(const char* pszName);
    bool LoadGame(const char* pszName, bool bScenario);
    void DeleteSaveGame(const char* pszName);
    // The new-game step: no working file of an earlier game reaches the new one.
    bool SetUpNewGame();
    // The starting world ("Data/Data.bin") in place of any game, without
    // human managers, with the default game settings; false with the reason
    // in GetFileError().
    bool LoadStartingWorld();
    // A scenario's world of its own, a whole set under "Data/ScenarioData"
    // (its path from the runtime folder), already played to the scenario's
    // start, in place of any game and with the default game settings; its
    // working files are the game's from then on. Marks the game a scenario
    // game. False with the reason in GetFileError().
    bool LoadScenarioWorld(const char* pszWorldPath);
    // Once the human managers (and their clubs) are chosen: the new game's
    // records, then the world's run to the start date with its progress on
    // the navigation bar; false with the reason in GetFileError().
    bool BeginNewGame();
    static void DeleteTempFiles();
    // At least 100 MiB free where the saves go.
    static bool CheckDiskSpace();
    // The saves folder's path of a game name, without extension; empty for a
    // name that is empty, too long or holds a folder separator.
    static std::string GetSavePath(const char* pszName);
    // A saved game that a person named: its name (without the set's "!"
    // and extension) and when its set was last written.
    struct SavedGameEntry {
        std::string name;
        int64_t nWrittenTime;
    };
    // The saved games of the saves folder (sets named "!" and the game's
    // name, found by their ".sav"), in no order.
    static std::vector<SavedGameEntry> ListSavedGames();
    // The set name of a saved game's name ("!" before it).
    static std::string GetSavedGameSet(const std::string& name) { return "!" + name; }
    // The "LastSaveGame" option when it names a set whose .sav opens and
    // carries a human's descriptor; empty otherwise.
    static std::string GetUsableLastSaveGame();
    const std::string& GetFileError() const { return m_FileError; }
    // The progress of a long step on the navigation bar, with item (index &
    // 255) of table-text set 140 as its text; a change shows at once, also
    // while no frame loop runs (inside a load or save). With bRedrawScreen
    // the current screen is shown again too.
    void ShowProgress(double dDone, int nIndex, bool bShow, bool bRedrawScreen);
    void ShowProgressNow(double dDone, const char* pszText, bool bShow, bool bRedrawScreen);
    bool IsScenario() const { return m_bScenario; }
    const COptions& GetOptions() const { return m_Options; }
    // The live AutoHelp option, changed without storing it.
    void SetAutoHelp(bool bOn) { m_Options.m_nAutoHelp = bOn ? 1 : 0; }
    // Confirmed option values: kept, written to the option store, and put in
    // force (money and date texts, tooltips, match type, volumes); false
    // when the store refused a value.
    bool ApplyOptions(const OptionValues& values);
    const CControlText& GetControlText() const { return m_ControlText; }
    CSharedBitmaps& GetSharedBitmaps() { return m_SharedBitmaps; }
    CScreenHistory<CXClient>& GetScreenHistory() { return m_ScreenHistory; }
    // The database root's match-day tables; empty ones before it exists.
    const CGameTables& GetGameTables() const;
    // Frames composed and frames actually shown (a frame equal to the one on
    // the screen is not shown again).
    uint32_t GetFramesComposed() const { return m_dwFramesComposed; }
    uint32_t GetFramesShown() const { return m_dwFramesShown; }

    uint8_t m_bInactiveOnce = 0;
    uint8_t m_bRestartRequest = 0;
    uint8_t m_bDisplayChangeRequest = 0;
    uint8_t m_bFullView = 0;
    CXClient* m_pFullViewScreen = nullptr;
    CXClient* m_pReturnScreen = nullptr;
    // The full view: the next frame restarts the display at 640 x 480 with
    // the screen alone; ending it returns to 800 x 600 and the return screen.
    void RequestFullView(CXClient* pScreen, CXClient* pReturn);
    void EndFullView();
    // Whether a 3-D device can be made, asked when the game first starts
    // (without an answer the options keep 3-D off); the screens, which link
    // the renderer, set it.
    static bool (*s_pfnCan3D)();
    // The editor tells a damaged or missing fixed data file in its own
    // message box: its game object starts anyway and leaves that to it.
    bool m_bStartScreenReportsDataFailure = false;

private:
    bool LoadWorldSet(const std::string& worldPath, bool bScenario);
    void CreateFonts();
    void DeleteFonts();
    void OpenArchives();
    void CloseArchives();
    bool LoadTexts();
    void FreeTexts();
    void DrawCursorAndToolTip(CXSurface* pBack);
    void PresentIfChanged();

    std::unique_ptr<CDatabaseHandler> m_pDatabase;
    const char* m_pszStartFailure = nullptr;
    // The two bars, made at the first start and kept to the end.
    std::unique_ptr<CGameNavigationBar> m_pNavigationBar;
    std::unique_ptr<CGameTitlebar> m_pTitlebar;
    COptions m_Options;
    CControlText m_ControlText;
    CTableText m_TableText;
    CTextDescription m_TextDescription;
    CSharedBitmaps m_SharedBitmaps;
    CScreenHistory<CXClient> m_ScreenHistory;
    UISOUNDIDS m_SoundIds;
    uint32_t m_dwFramesComposed = 0;
    uint32_t m_dwFramesShown = 0;
    std::string m_FileError;
    bool m_bScenario = false;
    static constexpr std::chrono::milliseconds kProgressShowInterval{40};
    std::chrono::steady_clock::time_point m_LastProgressShown{};
};

// The game's world while one is loaded; null before that or without a game
// object (the screens' and bars' way to it).
CDatabaseHandler* GetLoadedDatabase();

// Loads a bitmap of the main archive onto a new surface; null when the
// archive or the member is missing or the bitmap is unreadable.
CXSurface* LoadMainArchiveBitmap(const char* pszName, bool bColorKey);
