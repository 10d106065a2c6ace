#pragma once
// Control type 1: every clickable button, and the building block of other
// controls (list headers, drop-down arrows, scroll bar arrows). It draws its
// looks from one face bitmap that holds them side by side, and reports a
// click when the left button is released over the button it went down on.
// Held down with a repeat delay, it reports again and again, faster each time.
#include "xframework/CXControl.h"

#include <cstdint>

class CXEdit;
class CXGraph;
class CXScrollBar;

constexpr int BUTTON_CAPTION_SIZE = 112;

class CXButton : public CXControl {
public:
    enum : uint8_t { MODE_PLAIN = 0, MODE_BITMAP = 1, MODE_TEXT = 2, MODE_TOGGLE = 3, MODE_LINKED = 4 };

    bool Create(uint32_t dwID, int nLeft, int nTop, int nRight, int nBottom, CXClient* pOwner,
                const char* pszBitmapName, CXSurface* pDrawingSurface) override;
    void OnLButtonUp(uint32_t flags, int x, int y) override;
    void OnLButtonDblClk(uint32_t flags, int x, int y) override;
    void Paint() override;
    void DrawAnimations() override;
    void OnLButtonDown(uint32_t flags, int x, int y) override;
    void OnMouseMove(uint32_t flags, int x, int y) override;
    void OnMouseLeave() override;

    // Caption from the control texts of the button's own id.
    void SetTextID(CXSurface* pFace, int nSourceY);
    void SetToggleTextID(CXSurface* pFace, int nSourceY, uint8_t byRadioGroup);
    // A toggle that shows (checked) or hides a series of a graph.
    void SetToggleTextID(CXSurface* pFace, int nSourceY, CXGraph* pGraph, int nGraphLine, uint8_t byRadioGroup);
    // A caption of the button's own, formatted by printf rules, in place of
    // its control text.
    void SetText(const char* pszFormat, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    void SetBitmap(CXSurface* pFace, int nSourceX, int nSourceY, bool bHasHighlight, bool bHasPressed);
    // Looks at (header source x, 0) released and (header source x, source y)
    // pressed; a click goes to the linked control first.
    void SetLinkedButton(CXControl* pLinked, CXSurface* pFace, int nHeaderSourceX, int nSourceY);
    void SetPressed(uint8_t bPressed);
    void SetHighlighted(uint8_t bHighlighted);
    void SetChecked(uint8_t bChecked);
    // A disabled button shows its pressed look but takes no input and stays
    // hidden for ShowAllControls; enabling shows it again.
    void Enable(bool bDisable);
    void DrawCaption(CXSurface* pSurface, const plat::Rect& rc, COLORREF crColour);
    void Draw() override;

    uint8_t Mode() const { return m_byMode; }
    const char* Caption() const { return m_szCaption; }
    const char* SecondLine() const { return m_pszSecondLine; }

    CXScrollBar* m_pLinkedScrollBar = nullptr;
    CXControl* m_pLinkedControl = nullptr;
    CXGraph* m_pLinkedGraph = nullptr;
    int32_t m_nGraphLine = 0;
    // A spin button's edit, told of every click and repeat.
    CXEdit* m_pLinkedEdit = nullptr;
    uint8_t m_bPressed = 0;
    uint8_t m_bHighlighted = 0;
    uint8_t m_bHasHighlightFrame = 0;
    uint8_t m_bHasPressedFrame = 0;
    uint8_t m_bHeld = 0;
    uint8_t m_bChecked = 0;
    uint8_t m_bHasCaption = 0;
    uint8_t m_bTwoLineCaption = 0;
    uint8_t m_bHeldHidden = 0;
    uint8_t m_bDisabled = 0;
    uint8_t m_byRadioGroup = 0;
    uint32_t m_dwSwapID = 0;
    CXSurface* m_pFace = nullptr;
    CXSurface* m_pIcon = nullptr;
    uint8_t m_bClickSound = 1;
    int32_t m_nSourceX = 0;
    int32_t m_nSourceY = 0;
    plat::Rect m_rcIconSource{0, 0, 0, 0};  // x, y, width, height
    int32_t m_nIconX = 0;
    int32_t m_nIconY = 0;
    int32_t m_nHeaderSourceX = 0;
    uint8_t m_byPressedShiftX = 2;
    uint8_t m_byPressedShiftY = 2;
    plat::Font* m_hFont = nullptr;
    uint32_t m_dwRepeatDelay = 0;
    uint32_t m_dwLastFireTime = 0;
    uint32_t m_dwCurrentDelay = 0;
    uint32_t m_dwRepeatStep = 0;
    uint32_t m_dwCurrentStep = 0;

private:
    void TakeCaption();
    void BlitLook(int nSourceX, int nSourceY, uint32_t dwFlags);
    void DrawIcon();
    // Tells the linked scroll bar and the owner; the owner may remove this
    // button, so nothing of it is touched afterwards.
    void Report(uint32_t dwID);

    uint8_t m_byMode = MODE_PLAIN;
    char m_szCaption[BUTTON_CAPTION_SIZE] = {};
    const char* m_pszSecondLine = nullptr;
};
