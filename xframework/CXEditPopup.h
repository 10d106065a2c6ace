#pragma once
// A popup whose whole face is one edit, opened over a list cell to change its
// number in place. Return, a button or a click outside it accepts the typed
// text and tells the opener; there is no cancel. The opener owns the popup
// and may free it once it is closed.
#include "xframework/CXEdit.h"
#include "xframework/CXPopup.h"

#include <cstdint>

constexpr uint16_t EDIT_POPUP_SCREEN_ID = 83;
constexpr uint32_t EDIT_POPUP_EDIT_ID = 1162;
constexpr int EDIT_POPUP_TEXT_SIZE = 80;
// Typing room when the opener sets none.
constexpr int EDIT_POPUP_DEFAULT_LENGTH = 80;

// The font of the popup's edit; null keeps the surface's font.
extern plat::Font* g_hEditPopupFont;
// Reads a money edit back as an amount, given the popup's money kind; null
// reads the typed number as it stands.
using EditMoneyReader = double (*)(CXEdit* pEdit, uint8_t byMoneyKind);
extern EditMoneyReader g_pfnEditMoneyValue;

class CXEditPopup : public CXPopup {
public:
    CXEditPopup();

    bool OnInitDialog() override;
    void OnClicked(uint32_t dwID) override;
    void OnLButtonDown(uint32_t flags, int x, int y) override;

    // The cell text the edit starts with, cut to the popup's text.
    void SetInitialText(const char* pszText);
    // Places the popup over a cell of a control: the cell's rectangle is in
    // the control's coordinates, and the control's owner may sit anywhere on
    // the display (a screen or a popup).
    void PlaceOverCell(const CXControl& control, int nCellLeft, int nCellTop, int nWidth, int nHeight);

    const char* Text() const { return m_szText; }
    CXEdit* Edit() const { return m_pEdit; }

    // The client told when the edit is accepted (OnListNotify with the
    // popup's screen id), and the list it edits.
    CXClient* m_pOpener = nullptr;
    CXControl* m_pListBox = nullptr;
    double m_dValue = 0.0;
    int32_t m_nRow = -1;
    int32_t m_nColumn = -1;
    int32_t m_nMaxLength = 0;
    int32_t m_nMinimum = 0;
    int32_t m_nMaximum = 0;
    int32_t m_nAlignment = 0;
    uint8_t m_bMoney = 1;
    uint8_t m_byMoneyKind = 0;

private:
    void Accept();

    CXEdit* m_pEdit = nullptr;
    char m_szText[EDIT_POPUP_TEXT_SIZE] = {};
};
