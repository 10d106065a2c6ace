#pragma once
// A client that opens over the current screen or over another popup: a modal
// panel with a title strip by which it is dragged. Open popups form a stack of
// at most four; input goes to the top one, and the client directly below a
// popup is told when it opens and when it closes.
#include "xframework/CXClient.h"

constexpr int POPUP_STACK_SIZE = 4;
// Ids of the two title buttons.
constexpr uint32_t POPUP_HELP_BUTTON_ID = 1057;
constexpr uint32_t POPUP_CLOSE_BUTTON_ID = 1058;

class CXPopup : public CXClient {
public:
    CXPopup();

    void OnLButtonDown(uint32_t flags, int x, int y) override;
    void OnLButtonUp(uint32_t flags, int x, int y) override;
    void OnMouseMove(uint32_t flags, int x, int y) override;
    void OnClicked(uint32_t dwID) override;

    // False (and a log line) when four popups are open already or this one is.
    bool Open();
    // False (and a log line) when this popup is not on the stack.
    bool Close();
    // Called at the end of Close, when the popup has left the stack.
    virtual void OnClosed() {}
    void SetPosition(int x, int y);
    // The two 16 x 16 title buttons at the top right, help (1057) and close
    // (1058). A disabled one is drawn pressed once and then takes no clicks.
    void AddCloseButton(bool bEnableClose, bool bEnableHelp);
    bool IsOnStack() const;

    // The stack, bottom first.
    static CXPopup* TopPopup();
    static CXPopup* StackEntry(int nIndex);
    static int StackTop();
    // Takes the top entry off without telling anyone (the surfaces were lost).
    static void PopTop();
    static void ResetStack();

    RECT m_rcTitle;
    int32_t m_nDragAnchorX = 0;
    int32_t m_nDragAnchorY = 0;
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    uint32_t m_dwResultID = 0;
    CXClient* m_pParent = nullptr;
    // The frame leaves a tabbed popup's colour-keyed title strip out of the
    // area it excludes beneath.
    uint8_t m_bTabbed = 0;
};

// The message-box popup: its closing calls OnEndMessageBoxPopup below it.
extern CXPopup* g_pMessageBoxPopup;
// The help popup that the help title button opens.
extern CXPopup* g_pHelpPopup;
