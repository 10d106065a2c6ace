#pragma once
// The new-game screen (screen id 2): each human manager in turn chooses the
// club he will manage. It lists the clubs of one division (country and
// division chosen in the two drop-downs above the list) with kit, manager,
// target and bank balance; a club another human has taken is grey and
// cannot be chosen. The navigation bar's start command confirms the choice;
// when the last human has chosen, the game begins.
#include "shell/CGameClient.h"

#include <cstdint>
#include <memory>
#include <vector>

class CClubDatabase;
class CPopupClubDetails;
class CCountryDatabase;
class CDivisionDatabase;
class CXAnimation;
class CXComboBox;
class CXListBox;
class CXSurface;

class CClientNewGame : public CGameClient {
public:
    enum : uint32_t { ID_CLUB_LIST = 36, ID_COUNTRY_BOX = 1138, ID_DIVISION_BOX = 1139, ID_SCROLL_BAR = 901 };
    static constexpr uint8_t kAllChosen = 4;
    static constexpr int kRowHeight = 28;
    static constexpr int kMaxRows = 16;

    CClientNewGame();
    ~CClientNewGame() override;
    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnSelChange(uint32_t dwID) override;
    void OnSort(uint32_t dwID) override;
    void OnDoubleClicked(uint32_t dwID) override;
    bool ConfirmClub() override;

    // The choosing starts again with the first filled human slot.
    void Restart();
    // True when a human slot after the given one is filled.
    bool HasFurtherHuman(int nSlot) const;
    // Rebuilds the list for the division shown; the first club without a
    // human manager becomes the selected one.
    void FillClubList();
    // The division shown; the country follows it.
    void ShowDivision(CDivisionDatabase* pDivision);
    uint8_t GetHumanIndex() const { return m_ucHumanIndex; }
    CClubDatabase* GetSelectedClub() const { return m_pSelectedClub; }
    CDivisionDatabase* GetDivision() const { return m_pDivision; }
    // Selects a club's row (false for a club not in the list or taken).
    bool SelectClub(const CClubDatabase* pClub);
    // The club details popup's arrows: the selection moves as the list's
    // own keys move it, and its club becomes the selected one.
    CClubDatabase* SelectPreviousClub();
    CClubDatabase* SelectNextClub();
    CPopupClubDetails* GetClubDetailsPopup() const { return m_pClubDetails.get(); }

private:
    void FreeKitIcons();
    void UpdateStartButton();
    void FillDivisionBox();

    CXListBox* m_pClubList = nullptr;
    CXComboBox* m_pCountryBox = nullptr;
    CXComboBox* m_pDivisionBox = nullptr;
    int32_t m_nSelectedRow = 0;
    CClubDatabase* m_pSelectedClub = nullptr;
    CXSurface* m_pKitSurface = nullptr;
    // The bar under the selected row.
    std::unique_ptr<CXSurface> m_pSelectionBar;
    std::vector<std::unique_ptr<CXAnimation>> m_KitIcons;
    CClubDatabase* StepSelection(uint32_t dwKey);

    std::unique_ptr<CPopupClubDetails> m_pClubDetails;
    uint8_t m_ucHumanIndex = 0;
    CCountryDatabase* m_pCountry = nullptr;
    CDivisionDatabase* m_pDivision = nullptr;
};

// The one object of the screen.
CClientNewGame& NewGameScreen();
