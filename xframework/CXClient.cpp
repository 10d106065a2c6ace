#include "xframework/CXClient.h"

#include "xframework/CXButton.h"
#include "xframework/CXCalendar.h"
#include "xframework/CXComboBox.h"
#include "xframework/CXEdit.h"
#include "xframework/CXGraph.h"
#include "xframework/CXListBox.h"
#include "xframework/CXListBoxEx.h"
#include "xframework/CXManager.h"
#include "xframework/CXPopup.h"
#include "xframework/CXScrollBar.h"
#include "xframework/CXSlider.h"
#include "xframework/CXStatic.h"
#include "xframework/CXTreeView.h"

#include "common/DebugLog.h"

#include <algorithm>

CXClient* g_pCurrentClient = nullptr;
CXClient* g_pNextClient = nullptr;
CXClient* g_pPreviousClient = nullptr;
uint32_t g_dwChangeParameter = 0;
CXSurface* g_pScreenSurface = nullptr;
RECT g_rcReserved;
uint8_t g_bReservedValid = 0;
std::vector<CLIENTLISTENTRY> g_ClientList;
MousePointerReset g_pfnResetMousePointer = nullptr;

CXSurface* GetScreenSurface() { return g_pScreenSurface; }

namespace {
void ResetMousePointer()
{
    if (g_pfnResetMousePointer)
        g_pfnResetMousePointer();
}
}  // namespace

CXClient::CXClient() = default;

CXClient::~CXClient()
{
    for (ControlEntry& entry : m_Controls)
        delete entry.pControl;
    m_Controls.clear();
    delete m_pThirdSurface;
    delete m_pBackground;
    delete m_pDrawingSurface;
}

intptr_t CXClient::WindowProc(uint32_t message, plat::WPARAM wParam, plat::LPARAM lParam)
{
    // A queued screen change drops every message until the frame makes it.
    if (g_pNextClient)
        return 0;
    const int x = plat::loWord(static_cast<uint64_t>(lParam));
    const int y = plat::hiWord(static_cast<uint64_t>(lParam));
    const auto flags = static_cast<uint32_t>(wParam);
    const auto repeat = static_cast<uint32_t>(plat::loWord(static_cast<uint64_t>(lParam)));
    switch (message) {
    case plat::WM_INITDIALOG:
        return OnInitDialog() ? 1 : 0;
    case plat::WM_MOUSEMOVE:
        g_nMouseX = x;
        g_nMouseY = y;
        OnMouseMove(flags, x - m_nLeft, y - m_nTop);
        break;
    case plat::WM_LBUTTONDOWN:
        OnLButtonDown(flags, x - m_nLeft, y - m_nTop);
        break;
    case plat::WM_LBUTTONUP:
        OnLButtonUp(flags, x - m_nLeft, y - m_nTop);
        break;
    case plat::WM_LBUTTONDBLCLK:
        OnLButtonDblClk(flags, x - m_nLeft, y - m_nTop);
        break;
    case plat::WM_RBUTTONDOWN:
        OnRButtonDown(flags, x - m_nLeft, y - m_nTop);
        break;
    case plat::WM_RBUTTONUP:
        OnRButtonUp(flags, x - m_nLeft, y - m_nTop);
        break;
    case plat::WM_KEYDOWN:
        OnKeyDown(static_cast<uint32_t>(wParam), repeat, 0);
        break;
    case plat::WM_KEYUP:
        OnKeyUp(static_cast<uint32_t>(wParam), repeat, 0);
        break;
    case plat::WM_CHAR:
        OnChar(static_cast<uint32_t>(wParam), repeat, 0);
        break;
    case plat::WM_MOUSEWHEEL:
        OnMouseWheel(plat::wheelDelta(wParam));
        break;
    default:
        break;
    }
    return 0;
}

bool CXClient::OnInitDialog()
{
    m_bInputHandled = 0;
    m_bLeftButtonDown = 0;
    m_pFocused = nullptr;
    m_pHot = nullptr;
    m_pHoverListBox = nullptr;
    m_pUnfocusedListBox = nullptr;
    delete m_pDrawingSurface;
    m_pDrawingSurface = new CXSurface;
    if (m_pDrawingSurface->Create(Width(), Height(), false, true) && m_pBackground && m_pBackground->m_pSurface)
        m_pDrawingSurface->m_pSurface->bltFast(0, 0, *m_pBackground->m_pSurface, nullptr, plat::BLTFAST_WAIT);
    m_pThirdSurface = nullptr;
    for (ControlEntry& entry : m_Controls)
        delete entry.pControl;
    m_Controls.clear();
    m_pCaptured = nullptr;
    ResetMousePointer();
    return true;
}

void CXClient::OnDestroy()
{
    if (m_pHot)
        m_pHot->OnMouseLeave();
    while (!m_Controls.empty())
        RemoveControl(0);
    delete m_pThirdSurface;
    m_pThirdSurface = nullptr;
    delete m_pBackground;
    m_pBackground = nullptr;
    delete m_pDrawingSurface;
    m_pDrawingSurface = nullptr;
    ResetMousePointer();
}

void CXClient::OnPaint()
{
    // A control's Paint may remove controls (a tooltip text that closes the
    // screen is not expected, but the walk stays within the list).
    for (size_t i = 0; i < m_Controls.size(); ++i)
        m_Controls[i].pControl->Paint();
}

void CXClient::DrawControlAnimations()
{
    for (size_t i = 0; i < m_Controls.size(); ++i)
        m_Controls[i].pControl->DrawAnimations();
}

void CXClient::OnLButtonDown(uint32_t flags, int x, int y)
{
    m_bLeftButtonDown = 1;
    if (!m_bInputEnabled) {
        m_bInputHandled = 0;
        SetFocus(nullptr);
        return;
    }
    if (m_pCaptured) {
        m_pCaptured->OnLButtonDown(flags, x - m_pCaptured->m_nLeft, y - m_pCaptured->m_nTop);
        return;
    }
    CXControl* pControl = m_bMouseHeld ? nullptr : ControlFromPoint(x, y);
    if (!pControl) {
        m_bInputHandled = 0;
        SetFocus(nullptr);
        return;
    }
    pControl->OnLButtonDown(flags, x - pControl->m_nLeft, y - pControl->m_nTop);
    // The press may have removed controls; focus only one that is still there.
    if (pControl != m_pFocused && ControlType(pControl) != 0)
        SetFocus(pControl);
    m_bInputHandled = 1;
}

void CXClient::OnLButtonUp(uint32_t flags, int x, int y)
{
    m_bLeftButtonDown = 0;
    RouteToControl(&CXControl::OnLButtonUp, flags, x, y);
}

void CXClient::OnRButtonDown(uint32_t flags, int x, int y) { RouteToControl(&CXControl::OnRButtonDown, flags, x, y); }

void CXClient::OnRButtonUp(uint32_t flags, int x, int y) { RouteToControl(&CXControl::OnRButtonUp, flags, x, y); }

void CXClient::RouteToControl(void (CXControl::*pfnSlot)(uint32_t, int, int), uint32_t flags, int x, int y)
{
    // A captured control takes it wherever the pointer is, and input handled
    // stays as it was.
    if (m_pCaptured) {
        (m_pCaptured->*pfnSlot)(flags, x - m_pCaptured->m_nLeft, y - m_pCaptured->m_nTop);
        return;
    }
    CXControl* pControl = m_bMouseHeld ? nullptr : ControlFromPoint(x, y);
    m_bInputHandled = pControl ? 1 : 0;
    if (pControl)
        (pControl->*pfnSlot)(flags, x - pControl->m_nLeft, y - pControl->m_nTop);
}

void CXClient::OnLButtonDblClk(uint32_t flags, int x, int y)
{
    CXControl* pControl = ControlFromPoint(x, y);
    m_bInputHandled = pControl ? 1 : 0;
    if (pControl)
        pControl->OnLButtonDblClk(flags, x - pControl->m_nLeft, y - pControl->m_nTop);
}

void CXClient::OnMouseMove(uint32_t flags, int x, int y)
{
    CXControl* pControl = m_bMouseHeld ? nullptr : ControlFromPoint(x, y);
    if (m_pHoverListBox && m_pHoverListBox != pControl)
        SetHoverListBox(nullptr);
    if (m_pCaptured) {
        m_pCaptured->OnMouseMove(flags, x - m_pCaptured->m_nLeft, y - m_pCaptured->m_nTop);
        m_bInputHandled = 1;
        return;
    }
    if (pControl != m_pHot) {
        if (m_pHot && !m_bMouseHeld)
            m_pHot->OnMouseLeave();
        m_pHot = pControl;
    }
    m_bInputHandled = pControl ? 1 : 0;
    if (pControl)
        pControl->OnMouseMove(flags, x - pControl->m_nLeft, y - pControl->m_nTop);
}

void CXClient::OnKeyDown(uint32_t key, uint32_t repeat, uint32_t)
{
    if (m_pFocused)
        m_pFocused->OnKeyDown(key, repeat, 0);
}

void CXClient::OnKeyUp(uint32_t key, uint32_t repeat, uint32_t)
{
    if (m_pFocused)
        m_pFocused->OnKeyUp(key, repeat, 0);
}

void CXClient::OnChar(uint32_t key, uint32_t repeat, uint32_t)
{
    if (m_pFocused)
        m_pFocused->OnChar(key, repeat, 0);
}

void CXClient::OnMouseWheel(int delta)
{
    if (m_pFocused)
        m_pFocused->OnMouseWheel(delta);
}

void CXClient::OnClicked(uint32_t dwID)
{
    // A click in a radio group releases the group's other buttons.
    auto* pClicked = dynamic_cast<CXButton*>(FindControl(dwID));
    if (!pClicked || pClicked->m_byRadioGroup == 0)
        return;
    for (const ControlEntry& entry : m_Controls) {
        auto* pButton = dynamic_cast<CXButton*>(entry.pControl);
        if (pButton && pButton != pClicked && pButton->m_byRadioGroup == pClicked->m_byRadioGroup) {
            pButton->SetChecked(0);
            pButton->SetPressed(0);
        }
    }
}

bool CXClient::IsListBox(const CXControl* pControl) const
{
    const uint8_t byType = ControlType(pControl);
    return byType == XCONTROL_LISTBOX || byType == XCONTROL_LISTBOXEX;
}

void CXClient::SetFocus(CXControl* pControl)
{
    if (pControl == m_pFocused)
        return;
    if (CXControl* pOld = m_pFocused) {
        if (IsListBox(pOld)) {
            m_pUnfocusedListBox = pOld;
            MarkListBoxUnfocused(pOld, true);
        }
        pOld->OnKillFocus();
    }
    if (pControl) {
        if (IsListBox(pControl) && m_pUnfocusedListBox) {
            MarkListBoxUnfocused(m_pUnfocusedListBox, false);
            m_pUnfocusedListBox = nullptr;
        }
        pControl->OnSetFocus();
    }
    m_pFocused = pControl;
}

void CXClient::MarkListBoxUnfocused(CXControl* pListBox, bool bUnfocused)
{
    if (auto* pList = dynamic_cast<CXListBox*>(pListBox))
        pList->ShowSelectionUnfocused(bUnfocused);
}

void CXClient::OnPopupOpened(CXPopup* pPopup)
{
    for (ControlEntry& entry : m_Controls)
        entry.pControl->m_wToolTipCounter = TOOLTIP_STOPPED;
    FreeToolTip();
    if (pPopup)
        pPopup->m_pParent = this;
}

void CXClient::OnEndPopup(CXPopup* /*pPopup*/) { KillToolTip(); }

void CXClient::RestoreSurfaces()
{
    while (CXPopup* pTop = CXPopup::TopPopup()) {
        pTop->OnDestroy();
        CXPopup::PopTop();
    }
    if (m_pBackground && m_pBackground->m_pSurface)
        m_pBackground->m_pSurface->restore();
    OnDestroy();
    OnInitDialog();
}

void CXClient::SetNextClient(CXClient* pClient, uint32_t dwParameter)
{
    g_dwChangeParameter = dwParameter;
    g_pPreviousClient = g_pCurrentClient;
    g_pNextClient = pClient;
}

CXControl* CXClient::AddControl(uint8_t byType, int nLeft, int nTop, int nRight, int nBottom, uint32_t dwID,
                                const char* pszBitmapName)
{
    // The types without a control class yet are refused.
    CXControl* pControl = nullptr;
    switch (byType) {
    case XCONTROL_BUTTON:
        pControl = new CXButton;
        break;
    case XCONTROL_LISTBOX:
        pControl = new CXListBox;
        break;
    case XCONTROL_LISTBOXEX:
        pControl = new CXListBoxEx;
        break;
    case XCONTROL_COMBOBOX:
        pControl = new CXComboBox;
        break;
    case XCONTROL_COMBOLIST:
        pControl = new CXComboList;
        break;
    case XCONTROL_CALENDAR:
        pControl = new CXCalendar;
        break;
    case XCONTROL_SLIDER:
        pControl = new CXSlider;
        break;
    case XCONTROL_SCROLLBAR:
        pControl = new CXScrollBar;
        break;
    case XCONTROL_STATIC:
        pControl = new CXStatic;
        break;
    case XCONTROL_EDIT:
        pControl = new CXEdit;
        break;
    case XCONTROL_GRAPH:
        pControl = new CXGraph;
        break;
    case XCONTROL_TREEVIEW:
        pControl = new CXTreeView;
        break;
    default:
        break;
    }
    if (!pControl) {
        DebugLog(0, "[CXClient::AddControl] Failed to create window control!");
        return nullptr;
    }
    return AddControl(pControl, byType, nLeft, nTop, nRight, nBottom, dwID, pszBitmapName);
}

CXControl* CXClient::AddControl(CXControl* pControl, uint8_t byType, int nLeft, int nTop, int nRight, int nBottom,
                                uint32_t dwID, const char* pszBitmapName)
{
    if (!pControl) {
        DebugLog(0, "[CXClient::AddControl] Failed to create window control!");
        return nullptr;
    }
    if (!pControl->Create(dwID, nLeft, nTop, nRight, nBottom, this, pszBitmapName, m_pDrawingSurface)) {
        DebugLog(0, "[CXClient::AddControl] Failed to create window control!");
        delete pControl;
        return nullptr;
    }
    m_Controls.push_back({byType, pControl});
    return pControl;
}

CXControl* CXClient::AddControlXYWH(uint8_t byType, int x, int y, int nWidth, int nHeight, uint32_t dwID,
                                    const char* pszBitmapName)
{
    return AddControl(byType, x, y, x + nWidth, y + nHeight, dwID, pszBitmapName);
}

void CXClient::RemoveControl(int nIndex)
{
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= m_Controls.size()) {
        DebugLog(0, "[CXClient::RemoveControl] No control at index %d", nIndex);
        return;
    }
    CXControl* pControl = m_Controls[static_cast<size_t>(nIndex)].pControl;
    if (pControl == m_pHot) {
        if (!m_pCaptured && !m_bMouseHeld)
            pControl->OnMouseLeave();
        m_pHot = nullptr;
    }
    if (pControl == m_pFocused)
        SetFocus(nullptr);
    if (pControl == m_pCaptured)
        m_pCaptured = nullptr;
    if (pControl == m_pHoverListBox)
        m_pHoverListBox = nullptr;
    if (pControl == m_pUnfocusedListBox)
        m_pUnfocusedListBox = nullptr;
    m_Controls.erase(m_Controls.begin() + nIndex);
    delete pControl;
}

void CXClient::RemoveControlByID(uint32_t dwID)
{
    for (size_t i = 0; i < m_Controls.size(); ++i) {
        if (m_Controls[i].pControl->m_dwID == dwID) {
            RemoveControl(static_cast<int>(i));
            return;
        }
    }
}

CXControl* CXClient::FindControl(uint32_t dwID) const
{
    for (const ControlEntry& entry : m_Controls)
        if (entry.pControl->m_dwID == dwID)
            return entry.pControl;
    return nullptr;
}

uint8_t CXClient::ControlType(const CXControl* pControl) const
{
    for (const ControlEntry& entry : m_Controls)
        if (entry.pControl == pControl)
            return entry.byType;
    return 0;
}

CXControl* CXClient::ControlFromPoint(int x, int y) const
{
    for (const ControlEntry& entry : m_Controls)
        if (entry.pControl->m_bVisible && entry.pControl->HitTest(x, y))
            return entry.pControl;
    return nullptr;
}

void CXClient::SetCapture(CXControl* pControl)
{
    if (!m_pCaptured && !m_bMouseHeld)
        m_pCaptured = pControl;
}

void CXClient::ReleaseCapture(CXControl* pControl)
{
    if (m_pCaptured == pControl)
        m_pCaptured = nullptr;
}

void CXClient::BeginMouseHold()
{
    if (!m_pCaptured)
        m_bMouseHeld = 1;
}

void CXClient::EndMouseHold() { m_bMouseHeld = 0; }

void CXClient::SetHoverListBox(CXControl* pListBox)
{
    if (pListBox == m_pHoverListBox)
        return;
    if (auto* pOld = dynamic_cast<CXListBox*>(m_pHoverListBox))
        pOld->SetHoverHighlight(false);
    m_pHoverListBox = pListBox;
    if (auto* pNew = dynamic_cast<CXListBox*>(pListBox))
        pNew->SetHoverHighlight(true);
}

void CXClient::RestoreBackground(int x, int y, int nWidth, int nHeight)
{
    if (!m_pBackground || !m_pBackground->m_pSurface || !m_pDrawingSurface || !m_pDrawingSurface->m_pSurface)
        return;
    // Clipped to the client, so that an area reaching past an edge restores
    // what lies inside.
    const plat::Rect rc{std::max(x, 0), std::max(y, 0), std::min(x + nWidth, Width()), std::min(y + nHeight, Height())};
    if (rc.right <= rc.left || rc.bottom <= rc.top)
        return;
    m_pDrawingSurface->m_pSurface->bltFast(rc.left, rc.top, *m_pBackground->m_pSurface, &rc, plat::BLTFAST_WAIT);
}

void CXClient::ShadeRect(int x, int y, int nWidth, int nHeight)
{
    if (m_pBackground)
        m_pBackground->ShadeRect(x, y, nWidth, nHeight, 2);
}

void CXClient::EnableBatch(const uint32_t* pIDs, bool bVisible)
{
    for (; pIDs && *pIDs; ++pIDs) {
        CXControl* pControl = FindControl(*pIDs);
        if (!pControl) {
            DebugLog(0, "CXClient::EnableBatch found an Invalid Control.  ID is %d", static_cast<int>(*pIDs));
            continue;
        }
        pControl->Show(bVisible, true);
    }
}

void CXClient::ShowAllControls(bool bVisible)
{
    // Disabled buttons stay as they are; sub-controls are shown by the
    // controls that own them.
    for (size_t i = 0; i < m_Controls.size(); ++i) {
        CXControl* pControl = m_Controls[i].pControl;
        if (const auto* pButton = dynamic_cast<const CXButton*>(pControl);
            pButton && (pButton->m_bHeldHidden || pButton->m_pLinkedScrollBar || pButton->m_pLinkedControl ||
                         pButton->m_pLinkedEdit))
            continue;
        if (const auto* pBar = dynamic_cast<const CXScrollBar*>(pControl); pBar && pBar->IsLinked())
            continue;
        pControl->Show(bVisible, true);
    }
}

void CXClient::KillToolTip() { FreeToolTip(); }

void CXClient::SetClientRect(int x, int y, int nWidth, int nHeight)
{
    m_nLeft = x;
    m_nTop = y;
    m_nRight = x + nWidth;
    m_nBottom = y + nHeight;
}

namespace {

void CopyPiece(plat::Surface& dest, const plat::Surface& source, int nDestX, int nDestY, const plat::Rect& rcSource,
               uint32_t dwFlags)
{
    if (rcSource.right > rcSource.left && rcSource.bottom > rcSource.top)
        dest.bltFast(nDestX, nDestY, source, &rcSource, dwFlags | plat::BLTFAST_WAIT);
}

}  // namespace

void CXClient::BlitToScreen(const RECT* pExcluded)
{
    CXSurface* pScreen = GetScreenSurface();
    if (!pScreen || !pScreen->m_pSurface || !m_pDrawingSurface || !m_pDrawingSurface->m_pSurface)
        return;
    plat::Surface& dest = *pScreen->m_pSurface;
    const plat::Surface& source = *m_pDrawingSurface->m_pSurface;
    // The visible part of the client in display coordinates; every client is
    // cut to the display and its own surface, so no blit ever fails whole.
    const int nLeft = std::max(m_nLeft, 0), nTop = std::max(m_nTop, 0);
    const int nRight = std::min({m_nRight, dest.width(), m_nLeft + source.width()});
    const int nBottom = std::min({m_nBottom, dest.height(), m_nTop + source.height()});
    if (nRight <= nLeft || nBottom <= nTop)
        return;
    auto piece = [&](int l, int t, int r, int b, uint32_t dwFlags) {
        CopyPiece(dest, source, l, t, {l - m_nLeft, t - m_nTop, r - m_nLeft, b - m_nTop}, dwFlags);
    };
    const bool bIntersects = pExcluded && pExcluded->left < nRight && pExcluded->right > nLeft &&
                             pExcluded->top < nBottom && pExcluded->bottom > nTop;
    if (!bIntersects) {
        if (m_bKeyedTitleStrip) {
            const int nStrip = std::min(nBottom, m_nTop + 24);
            piece(nLeft, nTop, nRight, nStrip, plat::BLTFAST_SRCCOLORKEY);
            piece(nLeft, std::max(nStrip, nTop), nRight, nBottom, plat::BLTFAST_NOCOLORKEY);
        } else {
            piece(nLeft, nTop, nRight, nBottom, plat::BLTFAST_NOCOLORKEY);
        }
        return;
    }
    const int nExLeft = std::max(pExcluded->left, nLeft), nExRight = std::min(pExcluded->right, nRight);
    const int nExTop = std::max(pExcluded->top, nTop), nExBottom = std::min(pExcluded->bottom, nBottom);
    piece(nLeft, nTop, nExLeft, nBottom, plat::BLTFAST_NOCOLORKEY);
    piece(nExRight, nTop, nRight, nBottom, plat::BLTFAST_NOCOLORKEY);
    piece(nExLeft, nTop, nExRight, nExTop, plat::BLTFAST_NOCOLORKEY);
    piece(nExLeft, nExBottom, nExRight, nBottom, plat::BLTFAST_NOCOLORKEY);
}

void CXClient::AddClientToList(CXClient* pClient, uint32_t dwParameter, CXClient* pBefore)
{
    if (!pClient) {
        DebugLog(0, "[CXClient::AddClientToList] Attempting to add a NULL client!");
        return;
    }
    if (pBefore) {
        auto it = std::find_if(g_ClientList.begin(), g_ClientList.end(),
                               [pBefore](const CLIENTLISTENTRY& entry) { return entry.pClient == pBefore; });
        if (it != g_ClientList.end()) {
            g_ClientList.insert(it, {pClient, dwParameter});
            return;
        }
        DebugLog(0, "[CXClient::AddClientToList] Before screen not found!");
    }
    g_ClientList.push_back({pClient, dwParameter});
}

void CXClient::ChangeNextClient()
{
    if (g_ClientList.empty() || !g_ClientList.front().pClient) {
        DebugLog(0, "[CXClient::ChangeNextClient] No next client to change to!");
        return;
    }
    const CLIENTLISTENTRY entry = g_ClientList.front();
    g_ClientList.erase(g_ClientList.begin());
    SetNextClient(entry.pClient, entry.dwParameter);
}
