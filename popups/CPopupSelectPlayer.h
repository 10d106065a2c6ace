#pragma once
// The start of a new game: the names of one to four human managers, each
// with a nationality, and the game settings behind their own button. Each
// opening loads the starting world afresh with the default game settings;
// OK creates one human manager (with his manager record) per filled name,
// in the order of the filled edits, and the screen behind goes on with the
// new game.
#include "popups/CPopupGameSettings.h"
#include "shell/CGamePopup.h"

#include <cstdint>
#include <string>

class CXComboBox;
class CXEdit;

class CPopupSelectPlayer : public CGamePopup {
public:
    enum : uint32_t {
        ID_FIRST_NAME_EDIT = 859,
        ID_FIRST_NATIONALITY = 863,
        ID_SETTINGS = 867,
    };
    static constexpr int kPlayers = 4;
    static constexpr int kMaxNameLength = 18;
    static constexpr int kNations = 101;

    CPopupSelectPlayer();
    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnKeyDown(uint32_t key, uint32_t repeat, uint32_t) override;
    void OnEditChange(CXControl* pControl) override;
    void OnEndPopup(CXPopup* pPopup) override;
    void ConstructScreen() override;

    // The nationality the drop-downs start on for a language name.
    static uint8_t DefaultNationality(const char* pszLanguage);
    // A typed name without the blanks at either end; empty for a name of
    // blanks only.
    static std::string TrimName(const char* pszText);
    // The humans created by the last confirmation.
    int GetCreatedCount() const { return m_nCreated; }
    // False when the starting world could not be loaded at this opening.
    bool IsWorldLoaded() const { return m_bWorldLoaded; }

private:
    CXEdit* Edit(int nPlayer);
    CXComboBox* Nationality(int nPlayer);
    bool AnyName();
    void Confirm();

    CPopupGameSettings m_GameSettings;
    bool m_bWorldLoaded = false;
    int m_nCreated = 0;
};
