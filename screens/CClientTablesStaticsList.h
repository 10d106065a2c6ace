#pragma once
// The frame the players and referees statistics share: the title bar's
// country and division choices (and what a screen adds to them), one list
// of a division's (or a country's) people under a caption tab with its
// scroll bar, narrowed by a filter mask whose button stands at the list's
// top right corner, printed whole.
#include "shell/CGameClient.h"

#include <cstdint>
#include <initializer_list>
#include <memory>

class CCountryDatabase;
class CDivisionDatabase;
class CXListBox;
struct LISTCOLUMN;
class CXSurface;

class CClientTablesStaticsList : public CGameClient {
public:
    CClientTablesStaticsList();
    ~CClientTablesStaticsList() override;
    enum : uint32_t {
        ID_LIST = 1036,
        ID_SCROLLBAR = 901,
        ID_FILTER = 981,
        ID_COUNTRY_CHOICE = 1138,
        ID_DIVISION_CHOICE = 1139,
    };

    void OnDestroy() override;
    void OnSelChange(uint32_t dwID) override;
    void OnClicked(uint32_t dwID) override;
    void OnEndPopup(CXPopup* pPopup) override;
    void OnPrint() override;
    void ConstructScreen() override;

    // Lays the list out afresh and fills it.
    void Refresh();
    virtual void FillTable() = 0;
    // A new filter mask; the list is filled again when it changed.
    void SetFilter(uint32_t dwMask);
    uint32_t GetFilter() const { return m_nFilter; }
    // The division shown, null for all the league divisions of the country.
    const CDivisionDatabase* GetDivision() const { return m_pDivision; }
    const CCountryDatabase* GetCountry() const { return m_pCountry; }
    CXListBox* GetList() const;

protected:
    // The division the change parameter's low byte names, else the human's,
    // else his country's first.
    CDivisionDatabase* ParameterDivision() const;
    // The screen's opening around CGameClient's: the bars' modes, the
    // background, the title bar's selectors with the division selected
    // (null: the country's all-divisions row), the list with its scroll bar
    // and filter button, the first filling. Answers the base's result.
    bool OpenList(std::initializer_list<int> selectors, CDivisionDatabase* pDivision, bool bAllDivisionsRow,
                  uint32_t dwFilter);
    // Fills the screen's own title-bar choices before the first filling.
    virtual void FillOwnSelectors() {}
    // The columns and the list's area by the screen's state.
    virtual const LISTCOLUMN* Columns() const = 0;
    virtual int ListBottom() const = 0;
    // The table-text set of the filter panel's choices, in filter-bit order.
    virtual int FilterTextSet() const = 0;
    // Reads the choices from the title bar; true when a choice of this
    // screen's changed.
    virtual bool TakeSelectors(uint32_t dwID);
    // Empties the list with its cell pictures, without redrawing.
    void ClearList(CXListBox& list);
    // Ends a filling: sorted by column 0 in name order (the surname after
    // the initial), the first row chosen, the scroll bar, the caption tab.
    void EndFill(CXListBox& list, int nCaptionSet);
    // Puts the filter button at the list's top right corner.
    void PlaceFilterButton();
    // The division the title bar's division selector names (null for the
    // all-divisions row); the country follows from it or from the country
    // selector.
    void TakeDivision();

    CCountryDatabase* m_pCountry = nullptr;
    CDivisionDatabase* m_pDivision = nullptr;
    uint32_t m_nFilter = 0;
    bool m_bFilling = false;

private:
    std::unique_ptr<CXSurface> m_pFilterFace;
};
