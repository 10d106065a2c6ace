#pragma once
// The choice of a saved game: one popup for loading (screen id 58) and for
// saving (73). It lists the saved games with the dates they were written,
// shows the summary of the game under the name typed or picked (one row per
// human manager in its drop-down), deletes a saved game after asking, asks
// before a save replaces a game of the same name, and hands the chosen set
// to the screen below, which loads or saves it.
#include "shell/CGamePopup.h"

#include "season/SaveGameSummary.h"

#include <vector>

class CXComboBox;
class CXEdit;
class CXListBox;

class CPopupLoadSaveGame : public CGameSavesPopup {
public:
    static constexpr int kWidth = 470;
    static constexpr int kHeight = 330;
    static constexpr int kMaxNameLength = 10;
    enum : uint32_t {
        ID_DELETE = 588,
        ID_LIST = 590,
        ID_NAME = 591,
        ID_MANAGERS = 592,
        ID_SCROLL_BAR = 901,
        ID_CLUB = 1099,
        ID_COUNTRY = 1100,
        ID_DIVISION = 940,
        ID_POSITION = 959,
        ID_PLAYED = 952,
        ID_POINTS = 958,
        ID_BALANCE = 1101,
        ID_GAME_DATE = 1102,
        ID_SAVED_DATE = 1103,
    };
    // Messages of the questions it asks.
    static constexpr int kOverwriteQuestion = 39;
    static constexpr int kDeleteQuestion = 40;

    CPopupLoadSaveGame();

    bool Show(bool bLoad) override;
    bool OnInitDialog() override;
    void OnDestroy() override;
    void ConstructScreen() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnDoubleClicked(uint32_t dwID) override;
    void OnEditChange(CXControl* pControl) override;
    void OnEndMessageBoxPopup() override;

    // Fills the list with the saved games, sorted by name, the first
    // selected; the number of saved games.
    int FillSaveList();
    // The name in the edit, cut at its first ".".
    std::string GetTypedName() const;
    const std::vector<SAVEGAMESUMMARY>& GetSummaries() const { return m_Summaries; }

private:
    void ShowSummary(int nManager);
    void ShowEmptySummary();
    void ReadSummaries();
    void EnableOk(bool bEnable);
    void EnableDelete(bool bEnable);
    void TakeListSelection();

    std::vector<SAVEGAMESUMMARY> m_Summaries;
    CXListBox* m_pList = nullptr;
    CXComboBox* m_pManagers = nullptr;
    CXEdit* m_pName = nullptr;
};
