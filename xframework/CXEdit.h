#pragma once
// Control type 10: a one-line text entry box the game draws itself. It takes
// typed characters by kind (letters, digits, others), moves a caret with the
// keys, and for a numeric entry keeps thousands separators while typing. Two
// optional spin buttons step a numeric value within a range.
#include "xframework/CXControl.h"

#include "common/DebugLog.h"

#include <cstdint>
#include <memory>

class CXButton;

// The shared text caret, drawn while an edit has the focus; null when none.
using EditCaretLookup = CXAnimation* (*)();
extern EditCaretLookup g_pfnEditCaret;
// Turns an amount into the Currency option's money; null leaves it as it is.
using CurrencyConverter = double (*)(double dAmount);
extern CurrencyConverter g_pfnConvertCurrency;

// The room a text has beyond the most characters typing may reach.
constexpr int EDIT_TEXT_SLACK = 10;
// Spin buttons step whole numbers read through a work area of this size.
constexpr int EDIT_NUMBER_SIZE = 80;

class CXEdit : public CXControl {
public:
    CXEdit();
    ~CXEdit() override;

    void OnKeyDown(uint32_t key, uint32_t repeat, uint32_t) override;
    void OnSetFocus() override;
    void OnKillFocus() override;
    void Show(bool bVisible, bool bRedraw) override;
    void Paint() override;
    void OnMouseMove(uint32_t flags, int x, int y) override;
    void OnMouseLeave() override;
    void OnChar(uint32_t key, uint32_t repeat, uint32_t) override;
    void Move(int x, int y, int nWidth, int nHeight, bool bRedraw) override;

    // Makes the text empty with room for n typed characters (one more for
    // money under the Currency option 2).
    void SetMaxLength(int n);
    // The result is cut to the text's room; the caret goes to the end.
    void SetText(const char* pszFormat, ...) BRELLOX_PRINTF(2, 3);
    // Chooses the whole text, as a name offered for the user to keep or
    // overwrite: the next character typed replaces it, Backspace or Delete
    // empties it, a caret key only lets it go. SetText lets it go too.
    void ChooseAll();
    bool IsAllChosen() const { return m_bAllChosen != 0; }
    void SetNumericRange(bool bRangeCheck, int nMinimum, int nMaximum);
    void AddSpinButtons(uint32_t dwUpID, uint32_t dwDownID, int nStep);
    // A spin button's click.
    void OnClicked(uint32_t dwButtonID);
    // Redraws the text over the owner's background.
    void Draw() override;

    bool IsNumeric() const { return !m_bAllowLetters && m_bAllowDigits && !m_bAllowOthers; }
    const char* Text() const { return m_pText.get(); }
    int Capacity() const { return m_nCapacity; }
    int MaxLength() const { return m_nMaxLength; }
    uint32_t Caret() const { return m_nCaret; }
    int CaretX() const { return m_nCaretX; }
    // The text as a whole number, separators left out.
    int ReadNumber() const;

    int32_t m_nAlignment = 0;
    plat::Font* m_hFont = nullptr;
    uint8_t m_bEditing = 0;
    uint8_t m_bAllowLetters = 1;
    uint8_t m_bAllowDigits = 1;
    uint8_t m_bAllowOthers = 1;
    COLORREF m_crFocus = 0x0000FFFF;
    COLORREF m_crText = 0x00FFFFFF;
    uint32_t m_dwUpID = 0;
    uint32_t m_dwDownID = 0;
    CXButton* m_pUpButton = nullptr;
    CXButton* m_pDownButton = nullptr;
    int32_t m_nStep = 0;
    int32_t m_nMinimum = 0;
    int32_t m_nMaximum = 0;
    uint8_t m_bRangeCheck = 0;
    uint8_t m_bNotify = 1;
    uint8_t m_bMoney = 0;
    uint8_t m_bReadOnly = 0;
    // A numeric entry shows thousands separators; off for numbers that are
    // not amounts (a year, a code).
    uint8_t m_bGrouped = 1;

private:
    // The spin buttons the owner still holds.
    CXButton* SpinButton(CXButton* pButton) const;
    void Changed();
    void UpdateCaretX();
    // Width of the first n characters in the edit's font.
    int TextWidth(const char* pszText, int n) const;
    // Puts the thousands separators of a numeric entry back in place; the
    // number inserted less the number removed.
    int RebuildSeparators();
    char Separator() const;
    void CheckRange();
    void SetNumber(int nValue);
    // Empties a chosen text; false when nothing was chosen.
    bool DropChosenText();

    uint32_t m_nCaret = 0;
    std::unique_ptr<char[]> m_pText;
    int32_t m_nCapacity = 0;
    int32_t m_nMaxLength = 0;
    int32_t m_nCaretX = 0;
    uint8_t m_bAllChosen = 0;
};
