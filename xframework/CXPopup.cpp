#include "xframework/CXPopup.h"

#include "xframework/CXButton.h"

#include "common/DebugLog.h"

CXPopup* g_pMessageBoxPopup = nullptr;
CXPopup* g_pHelpPopup = nullptr;

namespace {
CXPopup* s_Stack[POPUP_STACK_SIZE] = {};
int s_nTop = -1;
}  // namespace

CXPopup::CXPopup() { m_dwPopup = 1; }

CXPopup* CXPopup::TopPopup() { return s_nTop >= 0 ? s_Stack[s_nTop] : nullptr; }

CXPopup* CXPopup::StackEntry(int nIndex) { return nIndex >= 0 && nIndex <= s_nTop ? s_Stack[nIndex] : nullptr; }

int CXPopup::StackTop() { return s_nTop; }

void CXPopup::PopTop()
{
    if (s_nTop < 0)
        return;
    s_Stack[s_nTop] = nullptr;
    --s_nTop;
}

void CXPopup::ResetStack()
{
    for (CXPopup*& pEntry : s_Stack)
        pEntry = nullptr;
    s_nTop = -1;
}

bool CXPopup::IsOnStack() const
{
    for (int i = 0; i <= s_nTop; ++i)
        if (s_Stack[i] == this)
            return true;
    return false;
}

bool CXPopup::Open()
{
    if (IsOnStack()) {
        DebugLog(0, "[CXPopup::Open] Screen %d is open already", m_wScreenID);
        return false;
    }
    if (s_nTop >= POPUP_STACK_SIZE - 1) {
        DebugLog(0, "[CXPopup::Open] The popup stack is full; screen %d not opened", m_wScreenID);
        return false;
    }
    CXClient* pBelow = s_nTop >= 0 ? s_Stack[s_nTop] : g_pCurrentClient;
    if (pBelow)
        pBelow->OnPopupOpened(this);
    m_dwResultID = 0;
    m_bOpenPopup = 1;
    m_nWidth = m_nRight - m_nLeft;
    m_nHeight = m_nBottom - m_nTop;
    s_Stack[++s_nTop] = this;
    OnInitDialog();
    OnPaint();
    return true;
}

bool CXPopup::Close()
{
    int nIndex = -1;
    for (int i = 0; i <= s_nTop; ++i) {
        if (s_Stack[i] == this) {
            nIndex = i;
            break;
        }
    }
    if (nIndex < 0) {
        DebugLog(0, "[CXPopup::Close] Screen %d is not open", m_wScreenID);
        return false;
    }
    CXClient* pBelow = nIndex > 0 ? s_Stack[nIndex - 1] : g_pCurrentClient;
    if (pBelow) {
        if (this == g_pMessageBoxPopup)
            pBelow->OnEndMessageBoxPopup();
        else
            pBelow->OnEndPopup(this);
    }
    OnDestroy();
    // The caller below may have opened or closed popups; find this one again.
    for (int i = 0; i <= s_nTop; ++i) {
        if (s_Stack[i] == this) {
            for (int j = i; j < s_nTop; ++j)
                s_Stack[j] = s_Stack[j + 1];
            s_Stack[s_nTop--] = nullptr;
            break;
        }
    }
    m_bOpenPopup = 0;
    OnClosed();
    return true;
}

void CXPopup::SetPosition(int x, int y)
{
    m_nLeft = x;
    m_nTop = y;
    m_nRight = x + m_nWidth;
    m_nBottom = y + m_nHeight;
}

void CXPopup::AddCloseButton(bool bEnableClose, bool bEnableHelp)
{
    // The title buttons' looks in the shared title bitmap.
    constexpr int kSize = 16, kHelpSourceX = 32, kCloseSourceX = 48;
    CXSurface* pFace = g_pfnSharedBitmap ? g_pfnSharedBitmap("btnNP2.bmp") : nullptr;
    const int y = m_bKeyedTitleStrip ? 34 : 9;
    const struct {
        uint32_t dwID;
        int x;
        int nSourceX;
        bool bEnable;
    } buttons[] = {{POPUP_HELP_BUTTON_ID, Width() - 26, kHelpSourceX, bEnableHelp},
                   {POPUP_CLOSE_BUTTON_ID, Width() - 44, kCloseSourceX, bEnableClose}};
    for (const auto& button : buttons) {
        auto* pButton =
            static_cast<CXButton*>(AddControlXYWH(XCONTROL_BUTTON, button.x, y, kSize, kSize, button.dwID, nullptr));
        if (!pButton)
            continue;
        pButton->SetBitmap(pFace, button.nSourceX, 0, false, false);
        if (!button.bEnable)
            pButton->Enable(true);
    }
}

void CXPopup::OnLButtonDown(uint32_t flags, int x, int y)
{
    CXClient::OnLButtonDown(flags, x, y);
    if (m_bInputHandled || !IsOnStack())
        return;
    if (x >= m_rcTitle.left && x < m_rcTitle.right && y >= m_rcTitle.top && y < m_rcTitle.bottom) {
        m_bDragging = 1;
        BeginMouseHold();
        m_nDragAnchorX = x + m_nLeft;
        m_nDragAnchorY = y + m_nTop;
    }
}

void CXPopup::OnMouseMove(uint32_t flags, int x, int y)
{
    CXClient::OnMouseMove(flags, x, y);
    if (m_bInputHandled || !m_bDragging)
        return;
    const int nPointerX = x + m_nLeft, nPointerY = y + m_nTop;
    const int dx = nPointerX - m_nDragAnchorX, dy = nPointerY - m_nDragAnchorY;
    m_nLeft += dx;
    m_nRight += dx;
    m_nTop += dy;
    m_nBottom += dy;
    m_nDragAnchorX = nPointerX;
    m_nDragAnchorY = nPointerY;
}

void CXPopup::OnLButtonUp(uint32_t flags, int x, int y)
{
    CXClient::OnLButtonUp(flags, x, y);
    if (m_bInputHandled || !m_bDragging)
        return;
    m_bDragging = 0;
    EndMouseHold();
}

void CXPopup::OnClicked(uint32_t dwID)
{
    CXClient::OnClicked(dwID);
    m_dwResultID = dwID;
    if (dwID == POPUP_HELP_BUTTON_ID && g_pHelpPopup)
        g_pHelpPopup->Open();
}
