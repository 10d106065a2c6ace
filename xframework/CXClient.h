#pragma once
// The base of every screen and, through CXPopup, of every popup: a rectangle
// of the 800 x 600 display with a background and a drawing surface, an
// ordered list of controls, and the virtual operations through which window
// messages, control notifications and screen changes reach it. It routes the
// mouse and keys to its controls (hit test, focus, capture, hover), queues
// screen changes and composes itself onto the display.
#include "xframework/CXControl.h"
#include "xframework/CXSurface.h"

#include "platform/Messages.h"

#include <cstdint>
#include <vector>

class CXPopup;

using RECT = plat::Rect;

constexpr uint16_t SCREEN_ID_NONE = 0xFFFF;

// Control type codes of AddControl.
enum : uint8_t {
    XCONTROL_BUTTON = 1,
    XCONTROL_LISTBOX = 2,
    XCONTROL_LISTBOXEX = 3,
    XCONTROL_COMBOBOX = 4,
    XCONTROL_COMBOLIST = 5,
    XCONTROL_SLIDER = 6,
    XCONTROL_SCROLLBAR = 7,
    XCONTROL_GRAPH = 8,
    XCONTROL_STATIC = 9,
    XCONTROL_EDIT = 10,
    XCONTROL_TREEVIEW = 11,
    XCONTROL_CALENDAR = 12,
};

class CXClient {
public:
    CXClient();
    virtual ~CXClient();
    CXClient(const CXClient&) = delete;
    CXClient& operator=(const CXClient&) = delete;

    virtual intptr_t WindowProc(uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam);
    virtual bool OnInitDialog();
    virtual void OnDestroy();
    virtual void OnPaint();
    virtual void DrawControlAnimations();
    virtual void OnLButtonDown(uint32_t flags, int x, int y);
    virtual void OnLButtonUp(uint32_t flags, int x, int y);
    virtual void OnLButtonDblClk(uint32_t flags, int x, int y);
    virtual void OnRButtonDown(uint32_t flags, int x, int y);
    virtual void OnRButtonUp(uint32_t flags, int x, int y);
    virtual void OnMouseMove(uint32_t flags, int x, int y);
    virtual void OnKeyDown(uint32_t key, uint32_t repeat, uint32_t);
    virtual void OnKeyUp(uint32_t key, uint32_t repeat, uint32_t);
    virtual void OnClicked(uint32_t dwID);
    virtual void OnMouseWheel(int delta);
    virtual void OnChar(uint32_t key, uint32_t repeat, uint32_t);
    virtual void OnSelChange(uint32_t) {}
    // The id of the page the client shows, by which the help finds its
    // topic; -1 for a client without pages.
    virtual int GetHelpPageID() const { return -1; }
    virtual void OnDoubleClicked(uint32_t) {}
    virtual void OnBeginScroll(uint32_t) {}
    virtual void OnScroll(uint32_t) {}
    virtual void OnEndScroll(uint32_t) {}
    virtual void OnDragInternally(uint32_t, int, uint32_t) {}
    virtual void OnDragExternally(uint32_t, int, int) {}
    virtual void OnDragNotify(uint32_t, uint32_t, uint32_t, uint32_t) {}
    virtual void UserSlot24(uint32_t, uint32_t, uint32_t) {}
    virtual void OnControlLButtonDown(uint32_t, int, int) {}
    virtual void OnControlMouseMove(uint32_t, int, int) {}
    virtual void OnEditChange(CXControl*) {}
    virtual void OnSort(uint32_t) {}
    virtual void OnGetToolTipText(uint32_t, char*) {}
    virtual void OnEditEnd(uint32_t) {}
    virtual void UserSlot31(uint32_t) {}
    virtual void RestoreSurfaces();
    virtual void ConstructScreen() {}
    virtual void UserSlot34() {}
    virtual void OnPrint() {}
    virtual void UpdateBars() {}
    virtual void SetFocus(CXControl* pControl);
    virtual void OnPopupOpened(CXPopup* pPopup);
    virtual void OnEndPopup(CXPopup* pPopup);
    virtual void OnListNotify(uint32_t) {}
    virtual void OnEndMessageBoxPopup() {}
    virtual void UserSlot42(uint32_t) {}
    virtual void OnRestoreBackground(int, int, int, int) {}
    virtual void OnPrintError(int) {}
    virtual bool CanReturnTo() { return true; }
    virtual void SetNextClient(CXClient* pClient, uint32_t dwParameter);

    // Adds a control of a type code; null (and a log line) when the type has
    // no control class.
    CXControl* AddControl(uint8_t byType, int nLeft, int nTop, int nRight, int nBottom, uint32_t dwID,
                          const char* pszBitmapName);
    CXControl* AddControlXYWH(uint8_t byType, int x, int y, int nWidth, int nHeight, uint32_t dwID,
                              const char* pszBitmapName);
    // Adds a control the caller made (the client owns it from now on); null,
    // and the control freed, when its Create fails.
    CXControl* AddControl(CXControl* pControl, uint8_t byType, int nLeft, int nTop, int nRight, int nBottom,
                          uint32_t dwID, const char* pszBitmapName);
    void RemoveControl(int nIndex);
    void RemoveControlByID(uint32_t dwID);
    CXControl* FindControl(uint32_t dwID) const;
    uint8_t ControlType(const CXControl* pControl) const;
    CXControl* ControlFromPoint(int x, int y) const;
    int GetControlCount() const { return static_cast<int>(m_Controls.size()); }
    CXControl* GetControl(int nIndex) const { return m_Controls[static_cast<size_t>(nIndex)].pControl; }

    void SetCapture(CXControl* pControl);
    void ReleaseCapture(CXControl* pControl);
    void BeginMouseHold();
    void EndMouseHold();
    void SetHoverListBox(CXControl* pListBox);
    void RestoreBackground(int x, int y, int nWidth, int nHeight);
    void ShadeRect(int x, int y, int nWidth, int nHeight);
    void EnableBatch(const uint32_t* pIDs, bool bVisible);
    void ShowAllControls(bool bVisible);
    void KillToolTip();
    void SetClientRect(int x, int y, int nWidth, int nHeight);
    // Composes the drawing surface onto the display surface, leaving out the
    // part under pExcluded (display coordinates) when given.
    void BlitToScreen(const RECT* pExcluded);
    void ChangeNextClient();

    static void AddClientToList(CXClient* pClient, uint32_t dwParameter, CXClient* pBefore);

    // Prints the visible list box, tree view or graph of that id as pages of
    // a PDF file (CPrintJob.h); false when the screen has no such control or
    // the file cannot be written (OnPrintError hears of it).
    bool PrintControl(uint32_t dwID);
    // Every visible list box, tree view and graph, in control order, with one
    // page count for the whole printing; false when nothing was printed.
    bool PrintAllControls();

    int Width() const { return m_nRight - m_nLeft; }
    int Height() const { return m_nBottom - m_nTop; }
    bool IsPopup() const { return m_dwPopup != 0; }

    int32_t m_nLeft = 160;
    int32_t m_nTop = 85;
    int32_t m_nRight = 800;
    int32_t m_nBottom = 600;
    uint16_t m_wScreenID = SCREEN_ID_NONE;
    uint32_t m_dwCurrentTabID = 0;
    uint32_t m_dwPopup = 0;
    // The parameter a screen change handed to this client.
    uint32_t m_dwChangeParameter = 0;
    CXSurface* m_pBackground = nullptr;
    CXSurface* m_pDrawingSurface = nullptr;
    CXSurface* m_pThirdSurface = nullptr;
    uint8_t m_bInputHandled = 0;
    uint8_t m_bLeftButtonDown = 0;
    CXControl* m_pFocused = nullptr;
    CXControl* m_pUnfocusedListBox = nullptr;
    CXControl* m_pHot = nullptr;
    CXControl* m_pHoverListBox = nullptr;
    CXControl* m_pCaptured = nullptr;
    uint8_t m_bDragging = 0;
    uint8_t m_bKeyedTitleStrip = 0;
    uint8_t m_bMouseHeld = 0;
    uint8_t m_bOpenPopup = 0;
    uint8_t m_bInputEnabled = 1;

protected:
    // Called when a list box loses the focus, and when another list box takes
    // it: the last list that had the focus keeps showing its selection.
    virtual void MarkListBoxUnfocused(CXControl* pListBox, bool bUnfocused);

private:
    // The release and right-button routing: the captured control, else the
    // one under the point unless the mouse is held.
    void RouteToControl(void (CXControl::*pfnSlot)(uint32_t, int, int), uint32_t flags, int x, int y);
    struct ControlEntry {
        uint8_t byType;
        CXControl* pControl;
    };
    std::vector<ControlEntry> m_Controls;
    bool IsListBox(const CXControl* pControl) const;
};

// Framework globals.
extern CXClient* g_pCurrentClient;
extern CXClient* g_pNextClient;
extern CXClient* g_pPreviousClient;
extern uint32_t g_dwChangeParameter;
// The display surface every client is composed onto.
extern CXSurface* g_pScreenSurface;
// A part of the current screen the frame leaves out while it is valid.
extern RECT g_rcReserved;
extern uint8_t g_bReservedValid;
// Clients waiting to become the next client, in order.
struct CLIENTLISTENTRY {
    CXClient* pClient;
    uint32_t dwParameter;
};
extern std::vector<CLIENTLISTENTRY> g_ClientList;

CXSurface* GetScreenSurface();
// Resets the mouse pointer to pointer 0; the game sets it.
using MousePointerReset = void (*)();
extern MousePointerReset g_pfnResetMousePointer;
