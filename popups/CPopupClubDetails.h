#pragma once
// One club as a manager choosing his club at the start of a game sees it:
// a details page (manager, division, the board's expectation, ground and
// capacity, the squad's, youths' and ground's values, the home and away
// kits) and a squad page with the first-team squad and the youths, each
// list narrowed by its own filter. The arrows step to the previous or next
// club of the list behind without closing.
#include "shell/CGamePopup.h"
#include "shell/PlayerRowIcons.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class CClubDatabase;
class CXListBox;
class CXSurface;

class CPopupClubDetails : public CGamePopup {
public:
    static constexpr uint16_t kScreenID = 48;
    enum : uint32_t {
        ID_PAGE_SQUAD = 491,
        ID_PAGE_DETAILS = 494,
        ID_PREVIOUS = 492,
        ID_NEXT = 493,
        ID_TITLE = 1056,
        ID_MANAGER = 939,
        ID_DIVISION = 940,
        ID_EXPECTATION = 941,
        ID_GROUND = 942,
        ID_CAPACITY = 943,
        ID_SQUAD_VALUE = 944,
        ID_YOUTH_VALUE = 945,
        ID_FIRST_GROUND_VALUE = 946,  // 946-948
        ID_SQUAD_LIST = 489,
        ID_YOUTH_LIST = 490,
        ID_SQUAD_FILTER = 981,
        ID_YOUTH_FILTER = 1055,
    };
    // Filter bits: the human's nationality or not, then the four positions.
    enum : uint32_t {
        FILTER_OWN_NATIONALITY = 1,
        FILTER_OTHER_NATIONALITY = 2,
        FILTER_FIRST_POSITION = 4,
        FILTER_ALL = 63,
    };
    // The club before or after the one shown in the opener's list (bNext),
    // or null at either end.
    using BrowseFunction = std::function<CClubDatabase*(bool bNext)>;

    CPopupClubDetails();
    ~CPopupClubDetails() override;

    void SetBrowse(BrowseFunction browse) { m_Browse = std::move(browse); }
    // Opens the popup on the club at the details page; false without a club
    // or when it is open already.
    bool Show(CClubDatabase* pClub);
    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnClicked(uint32_t dwID) override;
    void OnEndPopup(CXPopup* pPopup) override;
    void ConstructScreen() override;

    void SelectPage(uint32_t dwPage);
    uint32_t GetPage() const { return m_dwPage; }
    const CClubDatabase* GetClub() const { return m_pClub; }
    CXListBox* List(uint32_t dwID) const;
    uint32_t GetFilter(uint32_t dwList) const { return m_adwFilter[dwList == ID_YOUTH_LIST ? 1 : 0]; }
    // Narrows a list as its filter popup would, and fills it again.
    void SetFilter(uint32_t dwList, uint32_t dwMask);

private:
    void AddControls();
    void BeginPage();
    void EndPage(const uint32_t* pIDs, size_t nCount);
    void ShowDetailsPage();
    void ShowSquadPage();
    void FillList(uint32_t dwList);
    bool Passes(uint8_t byNationality, uint8_t byPosition, uint32_t dwMask) const;

    CClubDatabase* m_pClub = nullptr;
    uint32_t m_dwPage = ID_PAGE_DETAILS;
    std::array<uint32_t, 2> m_adwFilter{FILTER_ALL, FILTER_ALL};
    uint32_t m_dwFilterList = 0;
    BrowseFunction m_Browse;
    PlayerRowIcons m_RowIcons;
    std::unique_ptr<CXSurface> m_pSmallFaces;
    // One face per filter button: each button keeps its own.
    std::array<std::unique_ptr<CXSurface>, 2> m_apFilterFaces;
};
