#pragma once
// The title bar along the top of every game screen (screen id 84): by its
// display mode the manager's name, or the next fixture with both managers,
// the bank balance, the next match date and today's date, or the four
// information blocks; screens clear its per-screen state on entry. A row of
// drop-down selectors that the current screen chooses stands under it: a
// choice refills the selectors that follow from it and reaches the screen's
// OnSelChange.
#include "xframework/CXClient.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class CClubDatabase;
class CDivisionDatabase;
class CXComboBox;
class CXAnimation;
class CXStatic;
class CXSurface;

class CGameTitlebar : public CXClient {
public:
    static constexpr int kLabelCount = 13;
    // Selectors 1 to 27; the first five are filled from the world.
    enum : int {
        SELECTOR_COUNTRY = 1,
        SELECTOR_DIVISION = 2,
        SELECTOR_CLUB = 3,
        SELECTOR_MATCH_DAY = 4,
        SELECTOR_DATE = 5,
        SELECTOR_TEXT = 8,
        SELECTOR_LAST = 27,
    };
    // A choice of the "all" row of the country or division selector.
    static constexpr uint32_t kAllRowData = 0;

    CGameTitlebar();
    ~CGameTitlebar() override;

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnPaint() override;
    void ConstructScreen() override;
    void OnSelChange(uint32_t dwID) override;

    // Hides every label; a new mode loads its background ("Toolbar0.bmp" for
    // 0, "Toolbar1.bmp" for 1 to 6, "Toolbar2.bmp" for 7); shows the mode's
    // labels and redraws the blocks.
    void SetMode(int nMode);
    int GetMode() const { return m_nMode; }
    // Redraws the blocks of the mode; nothing without a current human
    // manager or outside modes 1 to 6.
    void Update();
    // 0 date, 1 and 2 bank, 3 fixture, 4 manager; any other kind nothing.
    void SetBlock(int nKind);
    // The match in progress, shown in the match modes: both clubs with their
    // kits and managers, and the score line. Club id 0 on either side: no
    // match runs and the match labels stand empty.
    void SetMatch(uint16_t wHomeClub, uint16_t wAwayClub, const char* pszScore);
    // The per-screen state that every game screen clears on entry.
    void ClearScreenState()
    {
        m_bDivisionAddAll = 0;
        m_bCountryAddAll = 0;
    }
    CXStatic* GetLabel(uint32_t dwID) const;
    // One kit from the kit strip: the cell's white in the first colour, its
    // red in the second, shaded by the kit mask, copied to (x, y) of the
    // target (keyed or plain). A cell beyond the strip draws cell 0.
    static void DrawIcon(CXSurface* pTarget, int nCell, int x, int y, COLORREF crFirst, COLORREF crSecond,
                         bool bKeyed);
    // The colour of a kit colour index, as the world gives its clubs.
    static COLORREF GetKitColour(int nIndex);

    // Shows the listed selectors (1 to 27) right to left from x 512, the
    // first listed leftmost, 24 pixels apart, each with its label strip
    // above it, and fills the country, division and club selectors shown;
    // every other selector is hidden. An unknown id is logged and skipped.
    void SetSelectors(std::initializer_list<int> selectors);
    // Selects the club's country, division and club (the shown selectors
    // refilled on the way) without telling the screen.
    void SetSelectorItems(const CClubDatabase* pClub);
    // Selects the division and its country, refilling what follows from
    // them; null selects the "all" row.
    void SelectDivision(const CDivisionDatabase* pDivision);
    // The selector box of an id 1 to 27; null for any other.
    CXComboBox* GetSelector(int nSelector) const;
    static uint32_t GetSelectorControlID(int nSelector);
    // The world records the country, division and club selectors point at;
    // null for none or the "all" row.
    const CDivisionDatabase* GetSelectedDivision() const;
    const CClubDatabase* GetSelectedClub() const;

    void FillCountrySelector(bool bAddAll);
    void FillDivisionSelector(bool bAddAll);
    void FillClubSelector();
    // The division's match dates, today's in the accent colour.
    void FillMatchDaySelector();
    // The division's match dates; those from today on cannot be chosen.
    void FillDateSelector();
    void FillTextSelector();

    uint8_t m_bDivisionAddAll = 0;
    uint8_t m_bCountryAddAll = 0;

private:
    void DrawManagerLabel();
    void DrawFixtureBlock();
    void DrawKits(const CClubDatabase* pHome, const CClubDatabase* pAway);
    void DrawNextMatchDate();
    void DrawMatchTeams();
    void DrawBank();
    void DrawDate();
    void DrawWeather();
    void ShowLabels(const uint32_t* pIDs);
    void DrawSelectorLabel(const CXComboBox* pBox, const char* pszText);
    bool IsSelectorShown(int nSelector) const;
    // Refills the shown selectors that follow from this one.
    void RefillAfter(int nSelector);
    // Selects the row of that data without telling anyone.
    void SelectQuietly(int nSelector, uint32_t dwData);
    // The match dates of the selected division, one each, in order.
    std::vector<uint32_t> SelectedDivisionDates() const;

    int m_nMode = -1;
    uint16_t m_wMatchHome = 0;
    uint16_t m_wMatchAway = 0;
    std::string m_sMatchScore;
    // The weather icons: three skies, six kinds of rain or snow, three winds.
    CXSurface* m_pWeatherStrip = nullptr;
    std::vector<std::unique_ptr<CXAnimation>> m_WeatherIcons;
    CXComboBox* m_apSelectors[SELECTOR_LAST + 1] = {};
};

extern CGameTitlebar* g_pTitlebar;
