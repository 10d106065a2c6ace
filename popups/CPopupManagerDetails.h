#pragma once
// Any manager on three pages: his personal details and contract, his career
// season by season (league record and cup runs), and, for the human manager
// with a club, the preferences that hand his daily tasks to his staff. The
// preferences are edited on a copy and written into his record only on OK.
// The screen behind may let the user step through its managers.
#include "shell/CGamePopup.h"

#include "common/Identifiers.h"

#include <array>
#include <cstdint>
#include <memory>

namespace plat {
class Font;
}

class CClubDatabase;
class CManagerDatabase;
class CSaveGame;
class CXComboBox;
class CXListBox;
class CXSurface;

class CPopupManagerDetails : public CGamePopup {
public:
    static constexpr uint16_t kScreenID = 62;
    enum : int { PAGE_GENERAL = 0, PAGE_CAREER = 1, PAGE_PREFERENCES = 2, PAGE_COUNT = 3 };
    enum : uint32_t {
        ID_TAB_GENERAL = 608,
        ID_TAB_PREFERENCES = 609,
        ID_TAB_CAREER = 623,
        ID_PREVIOUS = 610,
        ID_NEXT = 611,
        ID_LEAGUE_CAREER = 612,
        ID_CUP_CAREER = 613,
        ID_FIRST_CHOICE = 614,
        ID_LAST_CHOICE = 620,
        ID_PRESET = 622,
        ID_TITLE = 1056,
        ID_BIRTH = 1111,
        ID_AGE = 1112,
        ID_NATIONALITY = 1113,
        ID_RATING = 1114,
        ID_WAGE = 1115,
        ID_FIRST_BONUS = 1116,
    };
    static constexpr int kPreferenceBytes = 9;
    static constexpr int kChoices = 7;
    static constexpr uint8_t kCustomPreset = 3;
    // Byte 0 the preset, bytes 1 to 7 the choices, byte 8 carried along.
    using Preferences = std::array<uint8_t, kPreferenceBytes>;

    CPopupManagerDetails();
    ~CPopupManagerDetails() override;

    // Opens the popup on the manager at the general page; false when he is
    // none or the popup is open already.
    bool Show(CManagerDatabase* pManager);
    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void ConstructScreen() override;

    // The preferences a preset gives: its bytes, the first three choices
    // only with an assistant and the other four only with a commercial
    // manager (0 without); the custom preset keeps the choices.
    static Preferences ApplyPreset(const Preferences& current, int nPreset, bool bAssistant, bool bCommercialManager);

    CManagerDatabase* GetManager() const;
    int GetPage() const { return m_nPage; }
    // A page as 0 to 2 or as its tab id; the preferences page only for the
    // human manager with a club, anything else leaves the page as it is.
    void SetPage(uint32_t dwPage);
    const Preferences& GetPreferences() const { return m_Preferences; }
    CXListBox* List(uint32_t dwID) const;
    CXComboBox* Choice(uint32_t dwID) const;

private:
    CSaveGame* HumanShown() const;
    bool MayEditPreferences() const;
    class CGameClient* Owner() const;
    void AddControls();
    void AddList(uint32_t dwID, uint32_t dwBarID, uint32_t dwUp, int nTop, int nBottom, const struct LISTCOLUMN* pColumns,
                 plat::Font* hFont);
    void AddChoice(uint32_t dwID, int nLeft, int nTop, int nRight, int nBottom, int nTable);
    void BeginPage(int nPage);
    void EndPage(const uint32_t* pIDs, size_t nCount);
    void ShowGeneralPage();
    void ShowCareerPage();
    void ShowPreferencesPage();
    void SelectPreferences();
    void Browse(bool bNext);

    ID_MANAGER m_idManager = 0;
    int m_nPage = PAGE_GENERAL;
    // The human whose preferences the copy holds, while the popup is open.
    CSaveGame* m_pHuman = nullptr;
    Preferences m_Preferences{};
    bool m_bPreferencesChanged = false;
    bool m_bFilling = false;
    std::unique_ptr<CXSurface> m_pSmallFaces;
};

// The game's one manager details popup.
CPopupManagerDetails& GetManagerDetailsPopup();
// Opens it over the current screen or popup on the manager with this id;
// false when there is none or it cannot open.
bool ShowManagerDetails(ID_MANAGER idManager);
