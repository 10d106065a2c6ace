#pragma once
// The base of every control a screen adds: owner, id, rectangle, optional
// bitmap, visibility, mouse capture, an optional sprite animation and the
// tooltip that shows when the pointer rests on the control. The owner routes
// input to it through the virtual operations below.
#include "xframework/CXSurface.h"

#include "platform/Font.h"

#include <cstdint>

class CXClient;
class CXAnimation;

// Stopped tooltip counter.
constexpr uint16_t TOOLTIP_STOPPED = 0xFFFF;
// The default delay; the ToolTipsDelay option replaces it.
constexpr uint16_t TOOLTIP_DEFAULT_DELAY = 35;
constexpr int TOOLTIP_TEXT_SIZE = 200;

// The one tooltip surface of the program, drawn by the frame at the mouse.
extern CXSurface* g_pToolTip;
// The ToolTipsDelay option: 0 never, 1 at once, 3 long; others keep the delay.
extern uint32_t g_dwToolTipsDelayOption;
// The font tooltips are measured and drawn with.
extern plat::Font* g_hToolTipFont;
// Loads a control's bitmap by name from the main archive; null when missing.
using ControlBitmapLoader = CXSurface* (*)(const char* pszName);
extern ControlBitmapLoader g_pfnLoadControlBitmap;
// The tooltip text of a control id from the control-text table, or null.
using ControlToolTipLookup = const char* (*)(uint32_t dwID);
extern ControlToolTipLookup g_pfnControlToolTipText;
// Plays the game's button-click sound; null while the game has none.
using ButtonClickSound = void (*)();
extern ButtonClickSound g_pfnPlayButtonClick;

// The caption of a control id from the control-text table, or null.
using ControlCaptionLookup = const char* (*)(uint32_t dwID);
extern ControlCaptionLookup g_pfnControlCaptionText;
// A shared interface bitmap by its member name ("SBButton.bmp"), or null.
using SharedBitmapLookup = CXSurface* (*)(const char* pszName);
extern SharedBitmapLookup g_pfnSharedBitmap;
// Sets the game's mouse pointer: stock kind and hot spot.
using MousePointerSetter = void (*)(int nKind, int nHotX, int nHotY);
extern MousePointerSetter g_pfnSetMousePointer;
// The millisecond clock of hold-to-repeat; tests replace it.
using ControlClock = uint32_t (*)();
extern ControlClock g_pfnControlClock;
// The caption font of buttons, made at game start.
extern plat::Font* g_hButtonFont;

// Frees the tooltip surface when one exists.
void FreeToolTip();

class CXControl {
public:
    CXControl();
    virtual ~CXControl();
    CXControl(const CXControl&) = delete;
    CXControl& operator=(const CXControl&) = delete;

    virtual void OnLButtonUp(uint32_t /*flags*/, int /*x*/, int /*y*/) {}
    virtual void OnLButtonDblClk(uint32_t /*flags*/, int /*x*/, int /*y*/) {}
    virtual void OnRButtonDown(uint32_t /*flags*/, int /*x*/, int /*y*/) {}
    virtual void OnRButtonUp(uint32_t /*flags*/, int /*x*/, int /*y*/) {}
    virtual void OnKeyDown(uint32_t /*key*/, uint32_t /*repeat*/, uint32_t) {}
    virtual void OnKeyUp(uint32_t /*key*/, uint32_t /*repeat*/, uint32_t) {}
    virtual void OnSetFocus() {}
    virtual void OnKillFocus() {}
    virtual void OnMouseWheel(int /*delta*/) {}
    virtual bool Create(uint32_t dwID, int nLeft, int nTop, int nRight, int nBottom, CXClient* pOwner,
                        const char* pszBitmapName, CXSurface* pDrawingSurface);
    virtual void Show(bool bVisible, bool bRedraw);
    virtual void Paint();
    virtual void DrawAnimations() {}
    virtual void OnLButtonDown(uint32_t flags, int x, int y);
    virtual void OnMouseMove(uint32_t flags, int x, int y);
    virtual void OnMouseLeave();
    virtual void OnChar(uint32_t key, uint32_t repeat, uint32_t);
    virtual int Reserved18(uint32_t, uint32_t, uint32_t) { return 0; }
    virtual void Move(int x, int y, int nWidth, int nHeight, bool bRedraw);
    virtual void GetToolTipText(char* /*pszText*/) {}
    // A click of a button linked to this control (a list's column header,
    // a drop-down's arrow), with the button's id.
    virtual void OnLinkedButtonClicked(uint32_t /*dwID*/) {}

    // Client coordinates.
    bool HitTest(int x, int y) const { return x >= m_nLeft && x < m_nRight && y >= m_nTop && y < m_nBottom; }
    void Capture();
    void Release();
    void SetToolTipStyle(uint16_t wDelay, COLORREF crText, COLORREF crBackground, COLORREF crFrame);
    void StartToolTip();
    // Draws the control's animation: at (x, y), -1 meaning the animation's
    // own position; on the display at the owner's offset every frame, or on
    // the owner's drawing surface only when a redraw is pending. bAdvance
    // moves it on in time.
    void DrawAnimation(int x, int y, bool bAdvance);
    // Stops the counter and takes the tooltip down.
    void StopToolTip();

    uint32_t GetID() const { return m_dwID; }
    int Width() const { return m_nRight - m_nLeft; }
    int Height() const { return m_nBottom - m_nTop; }

    CXClient* m_pOwner = nullptr;
    uint32_t m_dwID = 0;
    uint32_t m_dwTabTargetID = 0;
    int32_t m_nLeft = 0;
    int32_t m_nTop = 0;
    int32_t m_nRight = 0;
    int32_t m_nBottom = 0;
    CXSurface* m_pBitmap = nullptr;
    CXSurface* m_pDrawingSurface = nullptr;
    uint32_t m_dwType = 0;
    uint8_t m_bVisible = 1;
    uint8_t m_bNotifyMoves = 0;
    uint8_t m_bNotifyPresses = 0;
    uint8_t m_bCaptured = 0;
    CXAnimation* m_pAnimation = nullptr;
    int32_t m_nAnimationX = 0;
    int32_t m_nAnimationY = 0;
    uint8_t m_bAnimationOnDrawingSurface = 0;
    uint8_t m_bAnimationRedrawPending = 0;
    uint16_t m_wToolTipCounter = TOOLTIP_STOPPED;
    uint16_t m_wToolTipDelay = TOOLTIP_DEFAULT_DELAY;
    COLORREF m_crToolTipText = 0x00000000;
    COLORREF m_crToolTipBackground = 0x00ADFDFF;
    COLORREF m_crToolTipFrame = 0x00000000;
    char m_szToolTipText[TOOLTIP_TEXT_SIZE] = {};

protected:
    // What a type draws when shown; the base draws nothing of its own.
    virtual void Draw() {}

private:
    void BuildToolTip(const char* pszText);
};
