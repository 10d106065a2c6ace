#pragma once
// The drop-downs: a list box one row high showing the chosen row, with an
// arrow button. CXComboBox (type 4) opens a popup holding a full list of its
// rows; CXComboList (type 5), whose rows carry packed dates as item data,
// opens a popup holding a calendar with the days of its rows marked. A
// choice in a popup selects the row in the box and reaches the box's owner
// as a selection change. Each popup kind is one shared object.
#include "xframework/CXCalendar.h"
#include "xframework/CXListBox.h"
#include "xframework/CXPopup.h"

#include <cstdint>

constexpr uint32_t COMBO_ARROW_ID = 1000000;
constexpr uint16_t COMBO_POPUP_SCREEN_ID = 82;
constexpr uint32_t COMBO_CALENDAR_ID = 8;
// The display's height: a drop-down reaching it opens upwards.
constexpr int COMBO_SCREEN_BOTTOM = 600;
// What the date drop-down adds to the width for its calendar.
constexpr int COMBO_CALENDAR_EXTRA_WIDTH = 80;

class CXButton;
class CXComboBox;

// The common part of both popups: the box that opened it, a close asked for
// during input and carried out at the next paint, and closing when the
// pointer leaves the area round the popup. Escape closes the popup alone,
// choosing nothing: the screen or popup beneath never sees the key.
class CXComboPopupBase : public CXPopup {
public:
    CXComboPopupBase();
    void OnDestroy() override;
    void OnPaint() override;
    void OnMouseMove(uint32_t flags, int x, int y) override;
    void OnKeyUp(uint32_t key, uint32_t repeat, uint32_t flags) override;

    CXComboBox* m_pBox = nullptr;
    uint8_t m_bCloseRequested = 0;
    uint8_t m_bOpensUpwards = 0;

protected:
    // The panel behind the inner control; false (and a log line) without a box.
    bool BuildFace();
};

class CXComboPopup : public CXComboPopupBase {
public:
    bool OnInitDialog() override;
    void OnLButtonDown(uint32_t flags, int x, int y) override;
    void OnClicked(uint32_t dwID) override;

    CXListBox* m_pList = nullptr;
    CXScrollBar* m_pScrollBar = nullptr;

private:
    // Where the click that reaches OnClicked went down.
    int32_t m_nPressX = -1;
    int32_t m_nPressY = -1;
};

class CXComboListPopup : public CXComboPopupBase {
public:
    bool OnInitDialog() override;
    void OnSelChange(uint32_t dwID) override;

    CXCalendar* m_pCalendar = nullptr;
};

// The shared popups.
CXComboPopup& ComboPopup();
CXComboListPopup& ComboListPopup();

class CXComboBox : public CXListBox {
public:
    // As the list box's, then: one row high at the top of the control, not
    // selectable, with the arrow at the right; the drop-down area is the
    // control's rectangle.
    void SetUp(int nRowHeight, int nTextIndent, plat::Font* hFont, uint8_t byStyle, bool bSelectable,
               CXScrollBar* pScrollBar, bool bColumnsWithHeaders, CXSurface* pSelectionImage, bool bHeaderStrip,
               uint8_t byBackgroundStyle, bool bAutoScroll, bool bAlwaysShowSelection, bool bWholeRowHover);
    // The closed box at the top of the area, which becomes the drop-down area.
    void SetUpColumns(int nLeft, int nTop, int nRight, int nBottom, const LISTCOLUMN* pColumns, bool bCentreX,
                      bool bCentreY, int nVisibleHeight, bool bHeaderOption);
    // Selects and shows the row and tells the owner.
    void SetCurSel(int nRow);
    // Selects the row and brings it onto the box's face, without telling the
    // owner: a box filled again starts at its first row.
    void ShowSelection(int nRow);
    // Opens the popup under the box (over it near the display's bottom);
    // false when there is nothing to choose from.
    virtual bool OpenDropDown();
    // Whether a row's text shows whole on the closed box, and in the opened
    // list's bolder face.
    bool FitsClosed(const char* pszText) const;
    bool FitsOpened(const char* pszText) const;

    void Show(bool bVisible, bool bRedraw) override;
    void OnLButtonDown(uint32_t flags, int x, int y) override;
    void Move(int x, int y, int nWidth, int nHeight, bool bRedraw) override;
    void OnLinkedButtonClicked(uint32_t dwID) override;

    CXButton* ArrowButton() const { return m_pArrow; }
    CXScrollBar* LinkedScrollBar() const { return m_pBoxScrollBar; }

    plat::Rect m_rcDropDown{};
    uint8_t m_bNoDropDown = 0;

protected:
    // Places the popup for a size and opens it.
    bool OpenPopup(CXComboPopupBase& popup, int nWidth, int nHeight);

private:
    CXButton* m_pArrow = nullptr;
    CXScrollBar* m_pBoxScrollBar = nullptr;
};

class CXComboList : public CXComboBox {
public:
    bool OpenDropDown() override;
};
